#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Conversions into the project's 8-bit texts, which hold UTF-8. The project
// file's wide texts and imported text files both come through here, so a text
// reads the same whichever way it arrived.

// Appends code point cp to out as UTF-8.
void AppendUtf8(std::string& out, uint32_t cp);

// UTF-16LE code units to UTF-8; a lone surrogate becomes U+FFFD and an odd
// last byte is dropped.
std::string Utf16LeToUtf8(std::string_view bytes);

// bytes as UTF-8 with every byte that does not start a well-formed sequence
// replaced by U+FFFD, the same stand-in a lone surrogate gets.
std::string SanitizeUtf8(std::string_view bytes);
