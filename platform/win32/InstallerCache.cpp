// The installer cache on Windows: folders made or taken over through the
// handle held on them, with an explicit protected descriptor, so that a
// folder another user prepared under the program data gives them nothing.
#include "platform/InstallerCache.h"

#include "platform/ProcessStart.h"
#include "platform/win32/Handle.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

namespace platform {
namespace {

using win32::Handle;

// The descriptor made from kInstallerCacheSddl, freed when it goes.
class CacheDescriptor {
public:
    CacheDescriptor() {
        ConvertStringSecurityDescriptorToSecurityDescriptorW(
            win32::Widen(kInstallerCacheSddl).c_str(), SDDL_REVISION_1, &m_sd, nullptr);
    }
    CacheDescriptor(const CacheDescriptor&) = delete;
    CacheDescriptor& operator=(const CacheDescriptor&) = delete;
    ~CacheDescriptor() {
        if (m_sd)
            LocalFree(m_sd);
    }
    PSECURITY_DESCRIPTOR Get() const { return m_sd; }
    SECURITY_ATTRIBUTES Attributes() const { return {sizeof(SECURITY_ATTRIBUTES), m_sd, FALSE}; }

private:
    PSECURITY_DESCRIPTOR m_sd = nullptr;
};

bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("\\/:*?\"<>|") == std::string::npos &&
           name.find('\0') == std::string::npos;
}

std::wstring ProgramDataFolder() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &path)))
        folder = path;
    CoTaskMemFree(path);
    return folder;
}

// Makes the folder at path with the descriptor, or takes an existing one
// over: it must be a folder and no link or junction, and gets the owner and
// the protected list of rights through the handle opened on it. The handle is
// held without delete sharing, so the folder cannot be renamed meanwhile.
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

// Removes every entry of the folder: one package per product.
bool EmptyFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    bool emptied = true;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring entry = folder + L"\\" + name;
        // A link is removed itself, never what it points at.
        const bool removed = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                                 ? RemoveDirectoryW(entry.c_str()) != 0
                                 : DeleteFileW(entry.c_str()) != 0;
        emptied = emptied && removed;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return emptied;
}

bool CopyInto(RawFile& source, HANDLE target) {
    char buffer[64 * 1024];
    for (;;) {
        const long got = source.Read(buffer, sizeof buffer);
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        DWORD written = 0;
        if (!WriteFile(target, buffer, static_cast<DWORD>(got), &written, nullptr) ||
            written != static_cast<DWORD>(got))
            return false;
    }
}

} // namespace

bool RunningElevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    const Handle held(token);
    TOKEN_ELEVATION elevation{};
    DWORD length = 0;
    return GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &length) &&
           elevation.TokenIsElevated != 0;
}

std::string KeepInstallerInCache(const std::string& productKey, RawFile& source,
                                 const std::string& fileName) {
    const CacheDescriptor descriptor;
    const std::wstring programData = ProgramDataFolder();
    if (!descriptor.Get() || programData.empty() || !IsPlainName(productKey) ||
        !IsPlainName(fileName))
        return {};
    const std::wstring vendor = programData + L"\\Velkora";
    const std::wstring product = vendor + L"\\" + win32::Widen(productKey);
    const Handle vendorFolder = SecureFolder(vendor, descriptor);
    if (!vendorFolder.Valid())
        return {};
    const Handle productFolder = SecureFolder(product, descriptor);
    if (!productFolder.Valid() || !EmptyFolder(product))
        return {};
    const std::wstring path = product + L"\\" + win32::Widen(fileName);
    SECURITY_ATTRIBUTES attributes = descriptor.Attributes();
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &attributes, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return {};
    if (!CopyInto(source, file.Get())) {
        file = Handle();
        DeleteFileW(path.c_str());
        return {};
    }
    return win32::Narrow(path);
}

ProgramRun RunInstallerAndWait(const std::string& path) {
    ProgramRun run;
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (path.empty() || length == 0 || length >= MAX_PATH)
        return run;
    const std::wstring program = std::wstring(system) + L"\\msiexec.exe";
    // The launcher's own wide command-line tail goes on unchanged.
    const std::wstring tail = win32::Widen(ArgumentTail(win32::Narrow(GetCommandLineW())));
    std::wstring line = L"\"" + program + L"\" /i \"" + win32::Widen(path) + L"\"";
    if (!tail.empty())
        line += L" " + tail;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return run;
    const Handle thread(process.hThread);
    const Handle child(process.hProcess);
    WaitForSingleObject(child.Get(), INFINITE);
    DWORD status = 0;
    if (!GetExitCodeProcess(child.Get(), &status))
        return run;
    run.outcome = ProgramRun::Outcome::Finished;
    run.exitCode = static_cast<int>(status);
    return run;
}

} // namespace platform
