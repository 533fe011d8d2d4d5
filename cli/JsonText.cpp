#include "cli/JsonText.h"

#include "model/TextEncoding.h"

#include <cstdint>
#include <cstdio>

namespace {

void AppendEscape(std::string& out, unsigned code) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", code);
    out += buffer;
}

} // namespace

std::string JsonQuote(std::string_view text) {
    std::string out = "\"";
    out.reserve(text.size() + 2);
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<uint8_t>(text[i]);
        if (byte >= 0x80) {
            // Well-formed UTF-8 goes as it is; any other byte becomes U+FFFD,
            // so one bad byte never changes how the rest of the text reads.
            uint32_t cp = 0;
            const size_t length = DecodeUtf8(text.substr(i), cp);
            if (length == 0)
                AppendUtf8(out, kReplacementCharacter);
            else
                out.append(text.substr(i, length));
            i += length == 0 ? 1 : length;
            continue;
        }
        ++i;
        switch (byte) {
        case '"':
            out += "\\\"";
            continue;
        case '\\':
            out += "\\\\";
            continue;
        case '\n':
            out += "\\n";
            continue;
        case '\r':
            out += "\\r";
            continue;
        case '\t':
            out += "\\t";
            continue;
        case '\b':
            out += "\\b";
            continue;
        case '\f':
            out += "\\f";
            continue;
        default:
            break;
        }
        if (byte < 0x20 || byte == 0x7F)
            AppendEscape(out, byte);
        else
            out += static_cast<char>(byte);
    }
    out += '"';
    return out;
}
