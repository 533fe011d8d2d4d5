#include "platform/win32/CacheFolder.h"

#include "platform/InstallerCache.h"
#include "platform/win32/WideText.h"

#include <aclapi.h>
#include <sddl.h>

namespace platform::win32 {

CacheDescriptor::CacheDescriptor() {
    ConvertStringSecurityDescriptorToSecurityDescriptorW(Widen(kInstallerCacheSddl).c_str(),
                                                         SDDL_REVISION_1, &m_sd, nullptr);
}

CacheDescriptor::~CacheDescriptor() {
    if (m_sd)
        LocalFree(m_sd);
}

Handle SecureFolder(const std::wstring& path, const CacheDescriptor& descriptor) {
    SECURITY_ATTRIBUTES attributes = descriptor.Attributes();
    CreateDirectoryW(path.c_str(), &attributes);
    Handle folder(CreateFileW(path.c_str(),
                              READ_CONTROL | WRITE_DAC | WRITE_OWNER | FILE_LIST_DIRECTORY,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!folder.Valid() || !GetFileInformationByHandle(folder.Get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return Handle();
    PSID owner = nullptr;
    PACL dacl = nullptr;
    BOOL defaulted = FALSE;
    BOOL present = FALSE;
    if (!GetSecurityDescriptorOwner(descriptor.Get(), &owner, &defaulted) ||
        !GetSecurityDescriptorDacl(descriptor.Get(), &present, &dacl, &defaulted) || !present)
        return Handle();
    const SECURITY_INFORMATION what = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                                      PROTECTED_DACL_SECURITY_INFORMATION;
    if (SetSecurityInfo(folder.Get(), SE_FILE_OBJECT, what, owner, nullptr, dacl, nullptr) !=
        ERROR_SUCCESS)
        return Handle();
    return folder;
}

} // namespace platform::win32
