#include "platform/ShellOpen.h"

#include "platform/ProcessStart.h"
#include "platform/win32/WideText.h"

#include <windows.h>

// After windows.h, which it needs.
#include <shellapi.h>

namespace platform {
namespace {

// True only when the shell started the action: without its own error boxes
// (no "open with" question for a target nothing is registered for), so the
// caller learns of the failure and can try another way or say why.
bool ShellAction(const wchar_t* verb, const std::string& target) {
    const std::wstring file = win32::Widen(target);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = verb;
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE && reinterpret_cast<INT_PTR>(info.hInstApp) > 32;
}

// The default value of a key under HKEY_CLASSES_ROOT; empty when missing.
std::string ClassDefault(const std::string& key) {
    wchar_t value[2048];
    LONG size = sizeof value;
    if (RegQueryValueW(HKEY_CLASSES_ROOT, win32::Widen(key).c_str(), value, &size) !=
            ERROR_SUCCESS ||
        size <= 0)
        return {};
    const size_t units = static_cast<size_t>(size) / sizeof(wchar_t);
    return win32::Narrow(std::wstring_view(value, wcsnlen(value, units)));
}

} // namespace

bool ShellOpen(const std::string& target) {
    return !target.empty() && ShellAction(L"open", target);
}

bool ShellExplore(const std::string& folder) {
    return ShellAction(L"explore", folder.empty() ? std::string("C:\\") : folder);
}

bool StartCommandLine(const std::string& commandLine) {
    std::vector<std::string> words = SplitCommandLine(commandLine);
    return StartProgram(words);
}

bool StartProgram(const std::vector<std::string>& argv) {
    if (argv.empty() || argv.front().empty())
        return false;
    return StartDetached(argv.front(), std::vector<std::string>(argv.begin() + 1, argv.end()));
}

std::optional<std::string> WebBrowserCommand() {
    // The open command of the class that ".htm" files belong to.
    const std::string htmlClass = ClassDefault(".htm");
    if (htmlClass.empty())
        return std::nullopt;
    std::string command = ClassDefault(htmlClass + "\\shell\\open\\command");
    if (command.empty())
        return std::nullopt;
    if (command.find("%1") == std::string::npos)
        command += " \"%1\"";
    return command;
}

} // namespace platform
