#include "platform/ProgramRun.h"

#include <windows.h>

namespace platform {
namespace {

// One argument quoted so that the C runtime's parser gives it back unchanged:
// backslashes count only before a quote.
void AppendQuoted(std::string& line, const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos) {
        line += arg;
        return;
    }
    line += '"';
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"')
            line.append(backslashes * 2 + 1, '\\');
        else
            line.append(backslashes, '\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, '\\');
    line += '"';
}

} // namespace

ProgramRun RunProgramAndWait(const std::string& path, const std::vector<std::string>& args) {
    ProgramRun run;
    if (path.empty())
        return run;
    std::string line;
    AppendQuoted(line, path);
    for (const std::string& arg : args) {
        line += ' ';
        AppendQuoted(line, arg);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        // A policy that forbids programs in this folder refuses with access denied.
        if (::GetLastError() == ERROR_ACCESS_DENIED)
            run.outcome = ProgramRun::Outcome::NotExecutable;
        return run;
    }
    ::CloseHandle(process.hThread);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (::GetExitCodeProcess(process.hProcess, &code)) {
        run.outcome = ProgramRun::Outcome::Finished;
        run.exitCode = static_cast<int>(code);
    }
    ::CloseHandle(process.hProcess);
    return run;
}

} // namespace platform
