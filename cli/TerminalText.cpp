#include "cli/TerminalText.h"

#include <algorithm>

namespace {

void AppendEscaped(std::string& out, unsigned char byte) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

bool IsContinuation(std::string_view text, size_t at) {
    return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 character at text[at], 0 when there is none.
size_t Utf8Length(std::string_view text, size_t at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    for (size_t i = 1; i < length; ++i)
        if (!IsContinuation(text, at + i))
            return 0;
    return length;
}

} // namespace

std::string TerminalSafe(std::string_view text) {
    std::string out;
    AppendTerminalSafe(out, text);
    return out;
}

void AppendTerminalSafe(std::string& out, std::string_view text) {
    // Most texts are plain printable ASCII: they go as they are, in one piece.
    const auto plain = [](char c) { return c >= 0x20 && c < 0x7F; };
    if (std::all_of(text.begin(), text.end(), plain)) {
        out.append(text);
        return;
    }
    out.reserve(out.size() + text.size());
    for (size_t i = 0; i < text.size();) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) {
            AppendEscaped(out, byte);
            ++i;
        } else if (byte < 0x80) {
            out += static_cast<char>(byte);
            ++i;
        } else if (const size_t length = Utf8Length(text, i); length != 0) {
            // U+0080..U+009F are C2 80..C2 9F: the C1 controls.
            const unsigned char second = static_cast<unsigned char>(text[i + 1]);
            if (byte == 0xC2 && second < 0xA0) {
                AppendEscaped(out, byte);
                AppendEscaped(out, second);
            } else {
                out.append(text.substr(i, length));
            }
            i += length;
        } else {
            // A byte outside UTF-8: a legacy 8-bit terminal reads 0x80..0x9F as C1.
            if (byte < 0xA0)
                AppendEscaped(out, byte);
            else
                out += static_cast<char>(byte);
            ++i;
        }
    }
}
