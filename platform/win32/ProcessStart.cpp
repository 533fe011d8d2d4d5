#include "platform/ProcessStart.h"

#include "platform/win32/CommandLine.h"
#include "platform/win32/Handle.h"
#include "platform/win32/WideText.h"

#include <shellapi.h>

namespace platform {

bool ReplaceProcess(const std::string& program, const std::vector<std::string>& args) {
    // Windows cannot replace a process: the program is started, waited for,
    // and its exit status becomes this process's own.
    if (program.empty())
        return false;
    PROCESS_INFORMATION started{};
    if (!win32::CreateProgramProcess(program, args, started))
        return false;
    win32::Handle process(started.hProcess);
    CloseHandle(started.hThread);
    WaitForSingleObject(process.Get(), INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(process.Get(), &status);
    ExitProcess(status);
}

bool StartDetached(const std::string& program, const std::vector<std::string>& args) {
    PROCESS_INFORMATION started{};
    if (program.empty() || !win32::CreateProgramProcess(program, args, started))
        return false;
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
    return true;
}

bool OpenWithDesktop(const std::string& target) {
    return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", win32::Widen(target).c_str(),
                                                   nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

bool MakeOwnerExecutable(const std::string& path) {
    // Windows runs any file by its name; there is no execute permission to add.
    return GetFileAttributesW(win32::Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace platform
