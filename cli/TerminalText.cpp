#include "cli/TerminalText.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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

namespace {

// True when every byte is printable ASCII (0x20..0x7E). Looks at eight bytes
// at a time: a byte below 0x20 or above 0x7E sets its top bit in one of the
// two words below.
bool IsPlainAscii(std::string_view text) {
    constexpr uint64_t kOnes = 0x0101010101010101ULL;
    constexpr uint64_t kHigh = 0x8080808080808080ULL;
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t x;
        std::memcpy(&x, text.data() + i, 8);
        const uint64_t below = (x - kOnes * 0x20) & ~x & kHigh;
        const uint64_t above = ((x + kOnes * (0x7F - 0x7E)) | x) & kHigh;
        if (below | above)
            return false;
    }
    for (; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte > 0x7E)
            return false;
    }
    return true;
}

} // namespace

void AppendTerminalSafe(std::string& out, std::string_view text) {
    // Most texts are plain printable ASCII: they go as they are, in one piece.
    if (IsPlainAscii(text)) {
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
