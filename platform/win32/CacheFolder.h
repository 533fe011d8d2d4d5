#pragma once

#include "platform/win32/Handle.h"

#include <string>
#include <windows.h>

namespace platform::win32 {

// The security descriptor made from kInstallerCacheSddl
// (platform/InstallerCache.h), freed when it goes. Get() is null when it
// could not be made.
class CacheDescriptor {
public:
    CacheDescriptor();
    CacheDescriptor(const CacheDescriptor&) = delete;
    CacheDescriptor& operator=(const CacheDescriptor&) = delete;
    ~CacheDescriptor();
    PSECURITY_DESCRIPTOR Get() const { return m_sd; }
    // For what is made in a cache folder: created with the descriptor.
    SECURITY_ATTRIBUTES Attributes() const { return {sizeof(SECURITY_ATTRIBUTES), m_sd, FALSE}; }

private:
    PSECURITY_DESCRIPTOR m_sd = nullptr;
};

// Makes the folder at path with the descriptor, or takes an existing one
// over: it must be a folder and no link or junction, and gets the owner and
// the protected list of rights through the handle opened on it, so that a
// folder another user prepared gives them nothing. The handle (invalid on
// failure) is held without delete sharing, so the folder cannot be renamed
// while it is open.
Handle SecureFolder(const std::wstring& path, const CacheDescriptor& descriptor);

} // namespace platform::win32
