// PrivateFolder on Windows: the folder is held open without delete sharing,
// so it cannot be renamed or removed while held; a setup is held the same
// way while it runs, so it cannot be replaced.
#include "platform/PrivateFolder.h"

#include "platform/FileFaults.h"
#include "platform/ProcessStart.h"
#include "platform/Uuid.h"
#include "platform/win32/Handle.h"

#include <windows.h>

namespace platform {
namespace {

// Texts are bytes of the system code page, as the rest of this layer takes
// them; the calls are the wide ones.
std::wstring Wide(const std::string& text) {
    if (text.empty())
        return {};
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            length);
    return wide;
}

bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("\\/:") == std::string::npos && name.find('\0') == std::string::npos;
}

// A real folder: not a file, not a junction or other link.
bool IsPlainFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

win32::Handle HoldFolder(const std::wstring& path) {
    return win32::Handle(CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                     nullptr));
}

// Holds a file so that it can be read and run but not written, renamed or
// removed until the handle is closed.
win32::Handle HoldFile(const std::wstring& path) {
    return win32::Handle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

} // namespace

struct PrivateFolder::Held {
    win32::Handle folder;
    std::string path; // with a trailing backslash
    bool keep = false;

    Held() = default;
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held() {
        if (!keep)
            RemoveNow();
    }

    bool RemoveNow() {
        folder = win32::Handle();
        return RemoveFolderTree(path);
    }
};

PrivateFolder::PrivateFolder() = default;
PrivateFolder::PrivateFolder(PrivateFolder&& other) noexcept = default;
PrivateFolder& PrivateFolder::operator=(PrivateFolder&& other) noexcept = default;
PrivateFolder::~PrivateFolder() = default;

// The temporary and application-data folders of Windows lie in the user's
// own profile, which carries rights for the user and the system alone; what
// is checked here is that the parent is a real folder, not a link.
PrivateFolder PrivateFolder::Create(const std::string& parent, FolderTrust) {
    PrivateFolder result;
    std::string base = parent;
    while (base.size() > 3 && (base.back() == '\\' || base.back() == '/'))
        base.pop_back();
    if (base.empty() || !IsPlainFolder(Wide(base)))
        return result;
    if (base.back() != '\\' && base.back() != '/')
        base += '\\';
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string random = NewUuidText();
        if (random.size() < 36)
            return result;
        const std::string folder =
            base + "velkora-" + random.substr(0, 8) + random.substr(9, 4) + random.substr(14, 4);
        if (!CreateDirectoryW(Wide(folder).c_str(), nullptr)) {
            if (GetLastError() == ERROR_ALREADY_EXISTS)
                continue;
            return result;
        }
        auto held = std::make_unique<Held>();
        held->path = folder + "\\";
        held->folder = HoldFolder(Wide(folder));
        if (!held->folder.Valid())
            return result; // Held's end removes the folder
        result.held_ = std::move(held);
        return result;
    }
    return result;
}

const std::string& PrivateFolder::Path() const {
    static const std::string kNone;
    return held_ ? held_->path : kNone;
}

RawFile PrivateFolder::NewFile(const std::string& name) {
    if (!held_ || !IsPlainName(name) || !FileFaults::Allow(FileOperation::Open))
        return RawFile();
    const std::wstring path = Wide(held_->path + name);
    DeleteFileW(path.c_str());
    return RawFile(
        win32::DescriptorFor(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)));
}

RawFile PrivateFolder::OpenFile(const std::string& name) const {
    if (!held_ || !IsPlainName(name) || !FileFaults::Allow(FileOperation::Open))
        return RawFile();
    return RawFile(win32::DescriptorFor(HoldFile(Wide(held_->path + name)).Release()));
}

ProgramRun PrivateFolder::RunAndWait(const std::string& name,
                                     const std::vector<std::string>& args) {
    if (!held_ || !IsPlainName(name))
        return {};
    const std::string path = held_->path + name;
    const win32::Handle pinned = HoldFile(Wide(path));
    if (!pinned.Valid())
        return {};
    return RunProgramAndWait(path, args);
}

bool PrivateFolder::OpenDocument(const std::string& name) {
    if (!held_ || !IsPlainName(name))
        return false;
    const std::string path = held_->path + name;
    SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_READONLY);
    // The opener reads the file after this program has ended; the held
    // folder cannot have been renamed, and the file is checked to be there.
    if (!HoldFile(Wide(path)).Valid() || !OpenWithDesktop(path))
        return false;
    Keep();
    return true;
}

bool PrivateFolder::Remove() {
    if (!held_)
        return false;
    const bool removed = held_->RemoveNow();
    held_->keep = true;
    held_.reset();
    return removed;
}

void PrivateFolder::Keep() {
    if (held_)
        held_->keep = true;
}

} // namespace platform
