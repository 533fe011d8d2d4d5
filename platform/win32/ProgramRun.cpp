#include "platform/ProgramRun.h"

#include "platform/ProcessStart.h"
#include "platform/win32/Handle.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <shellapi.h>

namespace platform {

ProgramRun RunProgramAndWait(const std::string& path, const std::vector<std::string>&) {
    ProgramRun run;
    if (path.empty())
        return run;
    // The launcher's own wide command-line tail goes on unchanged; it is
    // split at blanks and quotes only, which UTF-8 keeps where they were.
    const std::wstring tail = win32::Widen(ArgumentTail(win32::Narrow(GetCommandLineW())));
    const std::wstring file = win32::Widen(path);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = tail.empty() ? nullptr : tail.c_str();
    info.nShow = SW_SHOWDEFAULT;
    if (!ShellExecuteExW(&info)) {
        // A policy that forbids programs in this folder refuses with access denied.
        if (GetLastError() == ERROR_ACCESS_DENIED)
            run.outcome = ProgramRun::Outcome::NotExecutable;
        return run;
    }
    run.outcome = ProgramRun::Outcome::Finished;
    // A document handed to a running program has no process of its own.
    if (!info.hProcess)
        return run;
    win32::Handle process(info.hProcess);
    WaitForSingleObject(process.Get(), INFINITE);
    DWORD status = 0;
    if (!GetExitCodeProcess(process.Get(), &status)) {
        run.outcome = ProgramRun::Outcome::NotStarted;
        return run;
    }
    run.exitCode = static_cast<int>(status);
    return run;
}

} // namespace platform
