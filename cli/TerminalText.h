#pragma once

#include <string>
#include <string_view>

// text with every control character written as "\xNN", so that texts read from
// files cannot move the cursor, retitle the window or reprogram a terminal.
// Control characters are the C0 set, DEL and the C1 set (U+0080..U+009F). A
// byte that is not part of well-formed UTF-8 is written as U+FFFD; other
// bytes pass unchanged. Backslashes stay as they are: project files hold
// Windows paths, which must read as typed.
std::string TerminalSafe(std::string_view text);
// TerminalSafe(text) appended to out.
void AppendTerminalSafe(std::string& out, std::string_view text);
