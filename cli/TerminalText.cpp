#include "cli/TerminalText.h"

#include "model/TextEncoding.h"

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
        } else if (uint32_t cp = 0; const size_t length = DecodeUtf8(text.substr(i), cp)) {
            // U+0080..U+009F are the C1 controls.
            if (cp < 0xA0) {
                for (size_t k = 0; k < length; ++k)
                    AppendEscaped(out, static_cast<unsigned char>(text[i + k]));
            } else {
                out.append(text.substr(i, length));
            }
            i += length;
        } else {
            // A byte outside UTF-8 shows as the stand-in every other reader uses.
            AppendUtf8(out, kReplacementCharacter);
            ++i;
        }
    }
}
