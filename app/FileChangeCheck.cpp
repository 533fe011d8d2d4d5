#include "app/FileChangeCheck.h"

#include "platform/FileRead.h"
#include "platform/FileSystem.h"

#include <new>

namespace {

// 64-bit FNV-1a: not against forgery (whoever can write the file can do
// anything to it), only to tell one content from another.
uint64_t HashBytes(std::string_view bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace

FileIdentity IdentityOfBytes(std::string_view bytes, int64_t modified) {
    return {bytes.size(), modified, HashBytes(bytes)};
}

void FileChangeCheck::Remember(const std::string& path, std::string_view bytes) {
    m_path = path;
    m_identity = IdentityOfBytes(bytes, platform::RegularFileWriteTime(path).value_or(0));
}

void FileChangeCheck::Forget() {
    m_path.clear();
    m_identity.reset();
}

std::optional<FileIdentity> FileChangeCheck::CurrentIdentity() const {
    if (m_path.empty())
        return std::nullopt;
    try {
        std::string bytes;
        const std::optional<int64_t> modified = platform::RegularFileWriteTime(m_path);
        if (!modified || !platform::ReadFileBytes(m_path, bytes).Ok())
            return std::nullopt;
        return IdentityOfBytes(bytes, *modified);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

FileChangeCheck::State FileChangeCheck::Check() const {
    if (!m_identity)
        return State::Unknown;
    const std::optional<FileIdentity> now = CurrentIdentity();
    if (!now)
        return State::Missing;
    // The time alone cannot tell: clocks are coarse and copies keep times.
    const bool same = now->size == m_identity->size && now->contentHash == m_identity->contentHash;
    return same ? State::Same : State::Changed;
}
