#include "package/DerCodec.h"

namespace {

constexpr uint8_t kHighTagNumber = 0x1F;
constexpr uint8_t kLongLength = 0x80;
constexpr size_t kMaxLengthBytes = 4;

} // namespace

bool ReadDerElement(std::string_view bytes, size_t pos, size_t end, DerElement& element) {
    if (end > bytes.size() || pos >= end || end - pos < 2)
        return false;
    const auto at = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
    DerElement e;
    e.tag = at(pos);
    e.start = pos;
    if ((e.tag & kHighTagNumber) == kHighTagNumber)
        return false;
    const uint8_t first = at(pos + 1);
    if ((first & kLongLength) == 0) {
        e.header = 2;
        e.length = first;
    } else {
        const size_t count = first & 0x7F;
        if (count == 0 || count > kMaxLengthBytes || end - pos - 2 < count)
            return false;
        size_t length = 0;
        for (size_t i = 0; i < count; ++i)
            length = (length << 8) | at(pos + 2 + i);
        // DER takes the shortest form: no leading zero byte, no long form
        // for what fits in one byte.
        if (at(pos + 2) == 0 || length < kLongLength)
            return false;
        e.header = 2 + count;
        e.length = length;
    }
    if (e.length > end - pos - e.header)
        return false;
    element = e;
    return true;
}

bool ReadDerElement(std::string_view bytes, size_t pos, size_t end, uint8_t tag,
                    DerElement& element) {
    DerElement e;
    if (!ReadDerElement(bytes, pos, end, e) || e.tag != tag)
        return false;
    element = e;
    return true;
}

std::string DerHeader(uint8_t tag, size_t length) {
    std::string out(1, static_cast<char>(tag));
    if (length < kLongLength) {
        out.push_back(static_cast<char>(length));
        return out;
    }
    std::string digits;
    for (size_t rest = length; rest != 0; rest >>= 8)
        digits.insert(digits.begin(), static_cast<char>(rest & 0xFF));
    out.push_back(static_cast<char>(kLongLength | digits.size()));
    return out + digits;
}

std::string DerWrap(uint8_t tag, std::string_view content) {
    return DerHeader(tag, content.size()).append(content);
}
