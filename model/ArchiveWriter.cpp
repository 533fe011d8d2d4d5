#include "model/ArchiveWriter.h"

#include "model/ArchiveTags.h"
#include "model/ByteOrder.h"

CArchiveWriter CArchiveWriter::Sizing() {
    CArchiveWriter writer;
    writer.m_sizeOnly = true;
    return writer;
}

void CArchiveWriter::Put(char byte) {
    ++m_size;
    if (!m_sizeOnly)
        m_bytes.push_back(byte);
}

void CArchiveWriter::Put(std::string_view bytes) {
    m_size += bytes.size();
    if (!m_sizeOnly)
        m_bytes.append(bytes);
}

void CArchiveWriter::WriteU16(uint16_t value) {
    char bytes[2];
    StoreU16LE(bytes, value);
    Put(std::string_view(bytes, sizeof bytes));
}

void CArchiveWriter::WriteU32(uint32_t value) {
    char bytes[4];
    StoreU32LE(bytes, value);
    Put(std::string_view(bytes, sizeof bytes));
}

void CArchiveWriter::WriteText(std::string_view text) {
    const size_t length = text.size();
    if (length < 0xFF) {
        Put(static_cast<char>(length));
    } else {
        Put(static_cast<char>(0xFF));
        if (length < archive::kWideTextMark) {
            WriteU16(static_cast<uint16_t>(length));
        } else {
            WriteU16(archive::kLongTextMark);
            WriteU32(static_cast<uint32_t>(length));
        }
    }
    Put(text);
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
    Put(className);
    m_classes.push_back({std::string(className), m_nextIndex++});
    ++m_nextIndex; // the object
}
