#include "platform/win32/Handle.h"
#include "platform/win32/WideText.h"

#include <fcntl.h>
#include <io.h>

namespace platform::win32 {

int DescriptorFor(HANDLE handle) {
    if (handle == INVALID_HANDLE_VALUE)
        return -1;
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    if (fd < 0)
        CloseHandle(handle);
    return fd;
}

HANDLE HandleOf(int fd) {
    return fd < 0 ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

FileStatus OpenFailureStatus(const std::string& path) {
    const DWORD code = GetLastError();
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    if (code == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return FileStatus{FileError::IsFolder, static_cast<int>(code)};
    return FileStatusFromCode(static_cast<int>(code));
}

} // namespace platform::win32
