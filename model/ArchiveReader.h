#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

// Reads what CArchiveWriter writes, from bytes held by the caller. Every read
// checks that enough bytes remain before it uses or allocates anything; a
// failed read leaves the reader where it was and returns false.
class CArchiveReader {
public:
    // How the 8-bit texts of the file are read: as UTF-8, which every system
    // writes, or as the Windows-1252 code page of files that older Windows
    // versions wrote, converted to UTF-8.
    enum class NarrowTexts { Utf8, Windows1252 };

    explicit CArchiveReader(std::string_view bytes, NarrowTexts narrow = NarrowTexts::Utf8)
        : m_bytes(bytes), m_narrow(narrow) {}

    bool ReadU16(uint16_t& value);
    bool ReadU32(uint32_t& value);
    // Also accepts the wide form (UTF-16LE code units), converted to UTF-8.
    bool ReadText(std::string& text);
    // The same without copying: a narrow text points into the reader's bytes,
    // a wide or code-page one is converted into a new entry of wideTexts. text stays valid
    // as long as both do.
    bool ReadText(std::string_view& text, std::deque<std::string>& wideTexts);
    bool ReadCount(uint32_t& count);
    // Reads the tag before an object and succeeds only when it describes or
    // names a class called expectedClass. schema receives the class schema
    // stored with the description. Null tags and references to objects read
    // earlier are refused: this archive stores every object once.
    bool ReadObjectTag(std::string_view expectedClass, uint16_t& schema);

    size_t Remaining() const { return m_bytes.size() - m_pos; }
    // True once an 8-bit text read as UTF-8 was not well-formed UTF-8: the
    // file is then read again as Windows-1252.
    bool SawInvalidUtf8() const { return m_sawInvalidUtf8; }

private:
    struct ReadClass {
        std::string name;
        uint16_t schema;
    };
    // What an index stands for: a class description (its entry in m_classes)
    // or an object (kObjectSlot).
    static constexpr uint32_t kObjectSlot = UINT32_MAX;

    bool ReadLength(uint32_t& length, bool& wide);
    // Checks a text's length and steps over it; bytes receives the stored
    // bytes (two per unit for a wide text).
    bool ReadTextBytes(std::string_view& bytes, bool& wide);
    bool ReadNewClass(std::string_view expectedClass, uint16_t& schema);
    bool ClassAtIndex(uint32_t index, std::string_view expectedClass, uint16_t& schema);

    // The narrow text bytes as the project's UTF-8: true when they can be
    // used as they are, false when converted holds them.
    bool NarrowAsUtf8(std::string_view bytes, std::string& converted);

    std::string_view m_bytes;
    NarrowTexts m_narrow;
    bool m_sawInvalidUtf8 = false;
    size_t m_pos = 0;
    std::vector<ReadClass> m_classes;
    // Entry i describes index i + 1.
    std::vector<uint32_t> m_indexSlots;
};
