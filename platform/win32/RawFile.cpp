#include "platform/RawFile.h"

#include "platform/FileFaults.h"
#include "platform/win32/Handle.h"
#include "platform/win32/WideText.h"

#include <io.h>
#include <utility>

namespace platform {

using win32::HandleOf;

RawFile RawFile::OpenRead(const std::string& path) {
    if (!FileFaults::Allow(FileOperation::Open))
        return RawFile();
    return RawFile(
        win32::DescriptorFor(CreateFileW(win32::Widen(path).c_str(), GENERIC_READ, win32::kShareAll,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
}

RawFile RawFile::CreateTruncate(const std::string& path) {
    if (!FileFaults::Allow(FileOperation::Open))
        return RawFile();
    return RawFile(win32::DescriptorFor(
        CreateFileW(win32::Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
}

RawFile RawFile::CreateReplacing(const std::string& path) {
    if (!FileFaults::Allow(FileOperation::Open))
        return RawFile();
    const DWORD attributes = GetFileAttributesW(win32::Widen(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return RawFile();
        if (!DeleteFileW(win32::Widen(path).c_str()))
            return RawFile();
    }
    // CREATE_NEW also refuses a file or link planted between the two calls.
    return RawFile(win32::DescriptorFor(CreateFileW(win32::Widen(path).c_str(), GENERIC_WRITE,
                                                    FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)));
}

RawFile RawFile::OpenOwnForRewrite(const std::string& path) {
    if (!FileFaults::Allow(FileOperation::Open))
        return RawFile();
    // A reparse point (a link) is opened as itself, never followed, and refused.
    win32::Handle file(CreateFileW(win32::Widen(path).c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.Valid())
        return RawFile();
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file.Get()) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(file.Get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0 ||
        info.nNumberOfLinks != 1)
        return RawFile();
    return RawFile(win32::DescriptorFor(file.Release()));
}

bool RawFile::Resize(int64_t length) {
    if (m_fd < 0 || length < 0 || !FileFaults::Allow(FileOperation::Write))
        return false;
    LARGE_INTEGER to{};
    to.QuadPart = length;
    return SetFilePointerEx(HandleOf(m_fd), to, nullptr, FILE_BEGIN) != 0 &&
           SetEndOfFile(HandleOf(m_fd)) != 0;
}

int64_t RawFile::Size() const {
    LARGE_INTEGER size{};
    if (m_fd < 0 || !GetFileSizeEx(HandleOf(m_fd), &size))
        return -1;
    return size.QuadPart;
}

bool RawFile::IsRegular() const {
    BY_HANDLE_FILE_INFORMATION info{};
    return m_fd >= 0 && GetFileType(HandleOf(m_fd)) == FILE_TYPE_DISK &&
           GetFileInformationByHandle(HandleOf(m_fd), &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool RawFile::SeekTo(int64_t position) {
    if (m_fd < 0 || position < 0)
        return false;
    LARGE_INTEGER to{};
    to.QuadPart = position;
    return SetFilePointerEx(HandleOf(m_fd), to, nullptr, FILE_BEGIN) != 0;
}

int64_t RawFile::Position() const {
    LARGE_INTEGER zero{}, now{};
    if (m_fd < 0 || !SetFilePointerEx(HandleOf(m_fd), zero, &now, FILE_CURRENT))
        return -1;
    return now.QuadPart;
}

long RawFile::Read(void* buffer, size_t length) {
    if (m_fd < 0)
        return -1;
    const DWORD ask = length > 0x40000000u ? 0x40000000u : static_cast<DWORD>(length);
    DWORD got = 0;
    if (!ReadFile(HandleOf(m_fd), buffer, ask, &got, nullptr))
        return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
    return static_cast<long>(got);
}

bool RawFile::WriteAll(const void* buffer, size_t length) {
    if (m_fd < 0 || !FileFaults::Allow(FileOperation::Write))
        return false;
    auto* p = static_cast<const char*>(buffer);
    while (length > 0) {
        const DWORD ask = length > 0x40000000u ? 0x40000000u : static_cast<DWORD>(length);
        DWORD done = 0;
        if (!WriteFile(HandleOf(m_fd), p, ask, &done, nullptr) || done == 0)
            return false;
        p += done;
        length -= done;
    }
    return true;
}

bool RawFile::Close() {
    if (m_fd < 0)
        return true;
    return _close(std::exchange(m_fd, -1)) == 0;
}

bool RawFile::SameFileAs(const std::string& path) const {
    if (m_fd < 0)
        return false;
    win32::Handle other(CreateFileW(win32::Widen(path).c_str(), 0, win32::kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION mine{}, theirs{};
    if (!other.Valid() || !GetFileInformationByHandle(HandleOf(m_fd), &mine) ||
        !GetFileInformationByHandle(other.Get(), &theirs))
        return false;
    return mine.dwVolumeSerialNumber == theirs.dwVolumeSerialNumber &&
           mine.nFileIndexHigh == theirs.nFileIndexHigh &&
           mine.nFileIndexLow == theirs.nFileIndexLow;
}

} // namespace platform
