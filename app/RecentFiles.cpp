#include "app/RecentFiles.h"

#include "app/SettingsStore.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

std::string KeyOf(size_t i) {
    return "File" + std::to_string(i + 1);
}

std::filesystem::path PathOf(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string TextOf(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::string Normalized(const std::string& path) {
    if (path.empty())
        return path;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(PathOf(path), error);
    return error ? path : TextOf(absolute.lexically_normal());
}

} // namespace

void RecentFiles::Load() {
    m_files.clear();
    for (size_t i = 0; i < kSize; ++i) {
        const std::optional<std::string> file = m_store.Read(kRecentFileSection, KeyOf(i));
        if (file && !file->empty() &&
            std::find(m_files.begin(), m_files.end(), *file) == m_files.end())
            m_files.push_back(*file);
    }
}

void RecentFiles::Add(const std::string& path) {
    const std::string file = Normalized(path);
    if (file.empty())
        return;
    std::erase(m_files, file);
    m_files.insert(m_files.begin(), file);
    if (m_files.size() > kSize)
        m_files.resize(kSize);
    Save();
}

void RecentFiles::Remove(const std::string& path) {
    const size_t removed = std::erase(m_files, path) + std::erase(m_files, Normalized(path));
    if (removed > 0)
        Save();
}

void RecentFiles::Save() {
    for (size_t i = 0; i < kSize; ++i) {
        if (i < m_files.size())
            m_store.Write(kRecentFileSection, KeyOf(i), m_files[i]);
        else
            m_store.Remove(kRecentFileSection, KeyOf(i));
    }
}

std::string RecentFiles::DisplayName(const std::string& path, const std::string& folder) {
    const std::filesystem::path relative =
        PathOf(path).lexically_normal().lexically_relative(PathOf(folder).lexically_normal());
    if (relative.empty() || relative.is_absolute() || *relative.begin() == "..")
        return TextOf(PathOf(path).make_preferred());
    return TextOf(relative);
}

int CarryOverRecentFiles(ISettingsStore& old, ISettingsStore& fresh) {
    int copied = 0;
    for (size_t i = 0; i < RecentFiles::kSize; ++i) {
        if (const std::optional<std::string> file = old.Read(kRecentFileSection, KeyOf(i))) {
            fresh.Write(kRecentFileSection, KeyOf(i), *file);
            ++copied;
        }
    }
    return copied;
}
