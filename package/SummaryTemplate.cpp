#include "package/SummaryTemplate.h"

#include "model/ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace {

// The format id of the summary information property set.
constexpr unsigned char kSummaryFormat[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                              0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
constexpr size_t kStreamHeader = 28; // byte order, version, system, class id, set count
constexpr size_t kSetListEntry = 20; // format id and offset
constexpr uint32_t kTemplateId = 7;
constexpr uint16_t kTypeText = 30; // an 8-bit string with its length

// A range of the stream that has been checked to lie inside it.
struct Bytes {
    const unsigned char* data;
    size_t size;
    bool Holds(size_t pos, size_t length) const { return pos <= size && length <= size - pos; }
};

// The property set whose format id is the summary's, as its own range.
std::optional<Bytes> SummarySet(Bytes stream) {
    if (!stream.Holds(0, kStreamHeader + kSetListEntry) || ReadU16LE(stream.data) != 0xFFFE ||
        ReadU32LE(stream.data + 24) == 0)
        return std::nullopt;
    const unsigned char* entry = stream.data + kStreamHeader;
    if (std::memcmp(entry, kSummaryFormat, sizeof kSummaryFormat) != 0)
        return std::nullopt;
    const size_t offset = ReadU32LE(entry + 16);
    if (!stream.Holds(offset, 8))
        return std::nullopt;
    const size_t setSize = ReadU32LE(stream.data + offset);
    if (setSize < 8 || !stream.Holds(offset, setSize))
        return std::nullopt;
    return Bytes{stream.data + offset, setSize};
}

} // namespace

std::optional<std::string> SummaryTemplate(const unsigned char* stream, size_t size) {
    const std::optional<Bytes> set = SummarySet(Bytes{stream, size});
    if (!set)
        return std::nullopt;
    const size_t count = ReadU32LE(set->data + 4);
    if (count > (set->size - 8) / 8)
        return std::nullopt;
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* pair = set->data + 8 + 8 * i;
        if (ReadU32LE(pair) != kTemplateId)
            continue;
        const size_t at = ReadU32LE(pair + 4);
        if (!set->Holds(at, 8) || ReadU16LE(set->data + at) != kTypeText)
            return std::nullopt;
        const size_t length = ReadU32LE(set->data + at + 4);
        if (!set->Holds(at + 8, length))
            return std::nullopt;
        const char* text = reinterpret_cast<const char*>(set->data + at + 8);
        return std::string(text, std::find(text, text + length, '\0'));
    }
    return std::nullopt;
}
