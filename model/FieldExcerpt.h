#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Messages that quote a text from a file show at most this many bytes of it,
// so that a huge field does not come back whole on the screen or in a log.
inline constexpr size_t kExcerptMax = 80;

// text itself when it is at most kExcerptMax bytes; otherwise its first bytes
// up to that many, never cutting a UTF-8 sequence, followed by "...".
std::string FieldExcerpt(std::string_view text);
