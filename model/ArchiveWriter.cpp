#include "model/ArchiveWriter.h"

#include "model/ArchiveTags.h"
#include "model/ByteOrder.h"

void CArchiveWriter::WriteU16(uint16_t value) {
    AppendU16LE(m_bytes, value);
}

void CArchiveWriter::WriteU32(uint32_t value) {
    AppendU32LE(m_bytes, value);
}

void CArchiveWriter::WriteText(std::string_view text) {
    const size_t length = text.size();
    if (length < 0xFF) {
        m_bytes.push_back(static_cast<char>(length));
    } else {
        m_bytes.push_back(static_cast<char>(0xFF));
        if (length < archive::kWideTextMark) {
            WriteU16(static_cast<uint16_t>(length));
        } else {
            WriteU16(archive::kLongTextMark);
            WriteU32(static_cast<uint32_t>(length));
        }
    }
    m_bytes.append(text);
}

void CArchiveWriter::WriteCount(uint32_t count) {
    if (count < archive::kLongCountMark) {
        WriteU16(static_cast<uint16_t>(count));
    } else {
        WriteU16(archive::kLongCountMark);
        WriteU32(count);
    }
}

void CArchiveWriter::WriteObjectTag(std::string_view className, uint16_t schema) {
    for (const auto& cls : m_classes) {
        if (cls.name == className) {
            if (cls.index < archive::kBigIndexTag) {
                WriteU16(static_cast<uint16_t>(archive::kClassTagBit | cls.index));
            } else {
                WriteU16(archive::kBigIndexTag);
                WriteU32(archive::kBigClassBit | cls.index);
            }
            ++m_nextIndex; // the object
            return;
        }
    }
    WriteU16(archive::kNewClassTag);
    WriteU16(schema);
    WriteU16(static_cast<uint16_t>(className.size()));
    m_bytes.append(className);
    m_classes.push_back({std::string(className), m_nextIndex++});
    ++m_nextIndex; // the object
}
