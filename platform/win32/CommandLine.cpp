#include "platform/win32/CommandLine.h"
#include "platform/win32/WideText.h"

namespace platform::win32 {

std::string QuoteArgument(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos)
        return arg;
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there they are doubled, and
        // the quote itself is escaped.
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\'); // before the closing quote
    out += '"';
    return out;
}

bool CreateProgramProcess(const std::string& program, const std::vector<std::string>& args,
                          PROCESS_INFORMATION& started) {
    std::string line = QuoteArgument(program);
    for (const std::string& arg : args)
        line += ' ' + QuoteArgument(arg);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring wideLine = Widen(line);
    return CreateProcessW(nullptr, wideLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &started) != 0;
}

} // namespace platform::win32
