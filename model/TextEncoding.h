#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The one reader of UTF-8 in the tree, and the conversions into the project's
// 8-bit texts, which hold UTF-8 on every system. The project file's wide
// texts, imported text files, the terminal, JSON and the windows all come
// through here, so a text reads the same whichever way it arrived and a byte
// that is not UTF-8 becomes U+FFFD everywhere.

inline constexpr uint32_t kReplacementCharacter = 0xFFFD;

// Length of the well-formed UTF-8 sequence at the start of bytes, with its
// code point in cp; 0 when there is none (an empty text, a stray or cut-short
// sequence, overlong forms, surrogates and values above U+10FFFF).
size_t DecodeUtf8(std::string_view bytes, uint32_t& cp);

// True when the whole text is well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

// Appends code point cp to out as UTF-8.
void AppendUtf8(std::string& out, uint32_t cp);

// UTF-16LE code units to UTF-8; a lone surrogate becomes U+FFFD and an odd
// last byte is dropped.
std::string Utf16LeToUtf8(std::string_view bytes);

// bytes as UTF-8 with every byte that does not start a well-formed sequence
// replaced by U+FFFD, the same stand-in a lone surrogate gets.
std::string SanitizeUtf8(std::string_view bytes);

// Windows-1252 bytes as UTF-8: the texts older Windows versions stored in
// their code page. The five bytes that code page leaves unassigned become
// U+FFFD.
std::string Windows1252ToUtf8(std::string_view bytes);
