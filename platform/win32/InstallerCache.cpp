// The installer cache on Windows: the product's folder under the program
// data (platform/win32/CacheFolder.h), emptied, the copy written into it and
// msiexec started on it while everything stays held.
#include "platform/InstallerCache.h"

#include "platform/ProcessStart.h"
#include "platform/win32/CacheFolder.h"
#include "platform/win32/Handle.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <shlobj.h>

namespace platform {
namespace {

using win32::CacheDescriptor;
using win32::Handle;
using win32::SecureFolder;

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

// The product's cache folder and the copy in it, held open without delete
// sharing while the installer runs.
struct KeptInstaller {
    Handle vendorFolder;
    Handle productFolder;
    Handle file;
    std::wstring path;
};

bool Keep(const std::string& productKey, RawFile& source, const std::string& fileName,
          KeptInstaller& kept) {
    const CacheDescriptor descriptor;
    const std::wstring programData = ProgramDataFolder();
    if (!descriptor.Get() || programData.empty() || !IsPlainName(productKey) ||
        !IsPlainName(fileName))
        return false;
    const std::wstring vendor = programData + L"\\Velkora";
    const std::wstring product = vendor + L"\\" + win32::Widen(productKey);
    kept.vendorFolder = SecureFolder(vendor, descriptor);
    if (!kept.vendorFolder.Valid())
        return false;
    kept.productFolder = SecureFolder(product, descriptor);
    if (!kept.productFolder.Valid() || !EmptyFolder(product))
        return false;
    kept.path = product + L"\\" + win32::Widen(fileName);
    SECURITY_ATTRIBUTES attributes = descriptor.Attributes();
    Handle written(CreateFileW(kept.path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &attributes,
                               CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!written.Valid())
        return false;
    // The installer opens the copy for reading only while no handle may write
    // it: the copy is held from here on by a reading handle of the same file.
    if (CopyInto(source, written.Get()) && FlushFileBuffers(written.Get()))
        kept.file =
            Handle(ReOpenFile(written.Get(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0));
    if (kept.file.Valid())
        return true;
    written = Handle();
    DeleteFileW(kept.path.c_str());
    return false;
}

ProgramRun RunInstaller(const std::wstring& path) {
    ProgramRun run;
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return run;
    const std::wstring program = std::wstring(system) + L"\\msiexec.exe";
    // The launcher's own wide command-line tail goes on unchanged.
    const std::wstring tail = win32::Widen(ArgumentTail(win32::Narrow(GetCommandLineW())));
    std::wstring line = L"\"" + program + L"\" /i \"" + path + L"\"";
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

ProgramRun InstallFromInstallerCache(const std::string& productKey, RawFile& source,
                                     const std::string& fileName) {
    KeptInstaller kept;
    if (!Keep(productKey, source, fileName, kept))
        return {};
    return RunInstaller(kept.path);
}

} // namespace platform
