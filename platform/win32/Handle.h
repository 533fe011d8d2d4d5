#pragma once

#include "platform/FileError.h"

#include <string>
#include <utility>
#include <windows.h>

namespace platform::win32 {

// A kernel handle closed when it goes out of scope. Moves only.
class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : m_h(h ? h : INVALID_HANDLE_VALUE) {}
    Handle(Handle&& other) noexcept : m_h(std::exchange(other.m_h, INVALID_HANDLE_VALUE)) {}
    Handle& operator=(Handle&& other) noexcept {
        std::swap(m_h, other.m_h);
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (Valid())
            CloseHandle(m_h);
    }
    bool Valid() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_h; }
    HANDLE Release() { return std::exchange(m_h, INVALID_HANDLE_VALUE); }

private:
    HANDLE m_h;
};

// Every file is shared for reading, writing and deleting, as programs that
// look at a file while another one works on it expect.
inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Wraps a handle in a C runtime descriptor in binary mode (no newline
// translation); -1 and the handle closed on failure.
int DescriptorFor(HANDLE handle);

// The handle behind a descriptor made by DescriptorFor.
HANDLE HandleOf(int fd);

// The status of a failed open of path: the system refuses to open a folder
// as a file with "access denied", which is told apart here.
FileStatus OpenFailureStatus(const std::string& path);

} // namespace platform::win32
