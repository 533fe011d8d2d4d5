#include "model/ArchiveReader.h"

#include "model/ByteOrder.h"

#include "model/ArchiveTags.h"
#include "model/TextEncoding.h"

#include <utility>

bool CArchiveReader::ReadU16(uint16_t& value) {
    if (Remaining() < 2)
        return false;
    value = ReadU16LE(m_bytes.data() + m_pos);
    m_pos += 2;
    return true;
}

bool CArchiveReader::ReadU32(uint32_t& value) {
    if (Remaining() < 4)
        return false;
    value = ReadU32LE(m_bytes.data() + m_pos);
    m_pos += 4;
    return true;
}

bool CArchiveReader::ReadLength(uint32_t& length, bool& wide) {
    if (Remaining() < 1)
        return false;
    const auto first = static_cast<unsigned char>(m_bytes[m_pos]);
    if (first < 0xFF) {
        ++m_pos;
        length = first;
        return true;
    }
    const size_t start = m_pos;
    ++m_pos;
    uint16_t word;
    if (!ReadU16(word)) {
        m_pos = start;
        return false;
    }
    if (word == archive::kWideTextMark) {
        // The wide mark may appear once; a second one names no valid length.
        if (wide) {
            m_pos = start;
            return false;
        }
        wide = true;
        if (!ReadLength(length, wide)) {
            m_pos = start;
            return false;
        }
        return true;
    }
    if (word == archive::kLongTextMark) {
        if (!ReadU32(length)) {
            m_pos = start;
            return false;
        }
        return true;
    }
    length = word;
    return true;
}

bool CArchiveReader::ReadTextBytes(std::string_view& bytes, bool& wide) {
    const size_t start = m_pos;
    uint32_t length = 0;
    wide = false;
    if (!ReadLength(length, wide))
        return false;
    const size_t byteCount = wide ? size_t(length) * 2 : size_t(length);
    if ((wide && length > Remaining() / 2) || byteCount > Remaining()) {
        m_pos = start;
        return false;
    }
    bytes = m_bytes.substr(m_pos, byteCount);
    m_pos += byteCount;
    return true;
}

bool CArchiveReader::NarrowAsUtf8(std::string_view bytes, std::string& converted) {
    if (m_narrow == NarrowTexts::Utf8) {
        if (!m_sawInvalidUtf8 && !IsValidUtf8(bytes))
            m_sawInvalidUtf8 = true;
        return true;
    }
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            converted = Windows1252ToUtf8(bytes);
            return false;
        }
    }
    return true;
}

bool CArchiveReader::ReadText(std::string& text) {
    std::string_view bytes;
    bool wide = false;
    if (!ReadTextBytes(bytes, wide))
        return false;
    if (wide)
        text = Utf16LeToUtf8(bytes);
    else if (std::string converted; !NarrowAsUtf8(bytes, converted))
        text = std::move(converted);
    else
        text.assign(bytes);
    return true;
}

bool CArchiveReader::ReadText(std::string_view& text, std::deque<std::string>& wideTexts) {
    std::string_view bytes;
    bool wide = false;
    if (!ReadTextBytes(bytes, wide))
        return false;
    if (wide) {
        wideTexts.push_back(Utf16LeToUtf8(bytes));
        text = wideTexts.back();
    } else if (std::string converted; !NarrowAsUtf8(bytes, converted)) {
        wideTexts.push_back(std::move(converted));
        text = wideTexts.back();
    } else {
        text = bytes;
    }
    return true;
}

bool CArchiveReader::ReadCount(uint32_t& count) {
    const size_t start = m_pos;
    uint16_t word;
    if (!ReadU16(word))
        return false;
    if (word != archive::kLongCountMark) {
        count = word;
        return true;
    }
    if (!ReadU32(count)) {
        m_pos = start;
        return false;
    }
    return true;
}

bool CArchiveReader::ReadNewClass(std::string_view expectedClass, uint16_t& schema) {
    uint16_t nameLength;
    if (!ReadU16(schema) || !ReadU16(nameLength))
        return false;
    if (nameLength > archive::kMaxClassName || nameLength > Remaining())
        return false;
    const std::string_view name = m_bytes.substr(m_pos, nameLength);
    if (name != expectedClass)
        return false;
    m_pos += nameLength;
    m_classes.push_back({std::string(name), schema});
    m_indexSlots.push_back(static_cast<uint32_t>(m_classes.size() - 1));
    return true;
}

bool CArchiveReader::ClassAtIndex(uint32_t index, std::string_view expectedClass,
                                  uint16_t& schema) {
    if (index == 0 || index > m_indexSlots.size())
        return false;
    const uint32_t slot = m_indexSlots[index - 1];
    if (slot == kObjectSlot)
        return false;
    const ReadClass& cls = m_classes[slot];
    if (cls.name != expectedClass)
        return false;
    schema = cls.schema;
    return true;
}

bool CArchiveReader::ReadObjectTag(std::string_view expectedClass, uint16_t& schema) {
    const size_t start = m_pos;
    const size_t classCount = m_classes.size();
    const size_t slotCount = m_indexSlots.size();
    auto fail = [&] {
        m_pos = start;
        m_classes.resize(classCount);
        m_indexSlots.resize(slotCount);
        return false;
    };

    uint16_t tag;
    if (!ReadU16(tag))
        return false;
    bool ok = false;
    if (tag == archive::kNewClassTag) {
        ok = ReadNewClass(expectedClass, schema);
    } else if (tag == archive::kBigIndexTag) {
        uint32_t index;
        // Only class references are valid; an object is never stored twice.
        ok = ReadU32(index) && (index & archive::kBigClassBit) &&
             ClassAtIndex(index & ~archive::kBigClassBit, expectedClass, schema);
    } else if (tag & archive::kClassTagBit) {
        ok = ClassAtIndex(tag & ~archive::kClassTagBit, expectedClass, schema);
    }
    // Anything else is the null tag or a reference to an earlier object.
    if (!ok)
        return fail();
    m_indexSlots.push_back(kObjectSlot); // the object that follows
    return true;
}
