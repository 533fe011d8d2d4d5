#include "platform/shared/FileLockSystem.h"
#include "platform/win32/Handle.h"

#include <aclapi.h>
#include <vector>

namespace platform::lock_system {
namespace {

// UTF-8 text as the wide functions take it; empty when the text is not UTF-8.
std::wstring WideFromUtf8(const std::string& text) {
    if (text.empty())
        return {};
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        wide.data(), length);
    return wide;
}

// One SID of the calling process's token (its user, or the default owner of
// the objects it creates, which for an administrator may be the
// Administrators group).
bool TokenHasOwner(HANDLE token, TOKEN_INFORMATION_CLASS kind, PSID owner) {
    DWORD size = 0;
    GetTokenInformation(token, kind, nullptr, 0, &size);
    if (size == 0)
        return false;
    std::vector<unsigned char> buffer(size);
    if (!GetTokenInformation(token, kind, buffer.data(), size, &size))
        return false;
    const PSID sid = kind == TokenUser ? reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid
                                       : reinterpret_cast<TOKEN_OWNER*>(buffer.data())->Owner;
    return EqualSid(sid, owner) != FALSE;
}

// True when the file's owner is the caller. A file system without owners
// (FAT) has nobody else to fear either.
bool OwnedByCaller(HANDLE file) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD result = GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                         nullptr, nullptr, nullptr, &descriptor);
    if (result == ERROR_NOT_SUPPORTED)
        return true;
    if (result != ERROR_SUCCESS || !owner)
        return false;
    bool owned = false;
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        owned = TokenHasOwner(token, TokenUser, owner) || TokenHasOwner(token, TokenOwner, owner);
        CloseHandle(token);
    }
    LocalFree(descriptor);
    return owned;
}

// Opens the lock file, creating it hidden when missing; a link or junction
// of that name is opened as itself, never followed, and then refused.
HANDLE OpenLockHandle(const std::string& lockPath, FileLockOutcome& outcome, FileStatus& status) {
    const std::wstring wide = WideFromUtf8(lockPath);
    if (wide.empty()) {
        outcome = FileLockOutcome::Failed;
        status = FileStatus{FileError::BadPath, ERROR_INVALID_NAME};
        return INVALID_HANDLE_VALUE;
    }
    win32::Handle file(CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.Valid()) {
        status = LastFileStatus();
        // A folder or a link to one in the lock file's place is not ours to use.
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        const bool inTheWay =
            attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0;
        outcome = inTheWay ? FileLockOutcome::NotOwned : FileLockOutcome::Failed;
        return INVALID_HANDLE_VALUE;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file.Get()) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(file.Get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
        !OwnedByCaller(file.Get())) {
        outcome = FileLockOutcome::NotOwned;
        return INVALID_HANDLE_VALUE;
    }
    return file.Release();
}

} // namespace

intptr_t OpenLockFile(const std::string& lockPath, FileLockOutcome& outcome, FileStatus& status) {
    return reinterpret_cast<intptr_t>(OpenLockHandle(lockPath, outcome, status));
}

TryResult TryLock(intptr_t file) {
    OVERLAPPED at{};
    if (LockFileEx(reinterpret_cast<HANDLE>(file),
                   LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
        return TryResult::Locked;
    const DWORD code = GetLastError();
    return code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING ? TryResult::Busy
                                                                    : TryResult::Failed;
}

void CloseLockFile(intptr_t file) {
    CloseHandle(reinterpret_cast<HANDLE>(file)); // closing the handle drops its lock
}

} // namespace platform::lock_system
