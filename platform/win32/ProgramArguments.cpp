#include "platform/ProgramArguments.h"

#include "platform/win32/WideText.h"

#include <windows.h>

#include <shellapi.h>

namespace platform {

std::vector<std::string> ProgramArguments(int, char**) {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    if (!words)
        return args;
    for (int i = 1; i < count; ++i)
        args.push_back(win32::Narrow(words[i]));
    LocalFree(words);
    return args;
}

void UseUtf8Console() {
    SetConsoleOutputCP(CP_UTF8);
}

} // namespace platform
