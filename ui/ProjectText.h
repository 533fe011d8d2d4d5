#pragma once

#include <QString>

#include <string>
#include <string_view>

// The one crossing between the project's texts (UTF-8 bytes) and the
// toolkit's strings. A byte that is not UTF-8 shows as U+FFFD, as it does on
// the terminal and in JSON; what the user types is stored as UTF-8.
QString FromProjectText(std::string_view text);
std::string ToProjectText(const QString& text);
