#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The summary information of a Windows installer database (the property set
// stream "\005SummaryInformation" of its compound file), read as far as its
// Template property: "platform;languages", as in "x64;1033". Every offset and
// count of the property set is checked against the stream's bytes.

// The Template text up to its terminator; nothing when the stream is no
// summary property set or holds no Template of text type.
std::optional<std::string> SummaryTemplate(const unsigned char* stream, size_t size);
