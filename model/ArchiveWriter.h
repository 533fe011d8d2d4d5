#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Builds the bytes of an object archive: little-endian integers, texts with
// a length prefix, counts, and the tags that precede stored objects. One
// writer is one file: its index counter numbers class descriptions and
// objects in the order they are written.
class CArchiveWriter {
public:
    // A writer that keeps no bytes and only counts them: a first pass with it
    // tells how much to Reserve, so that a big archive is built without the
    // copies of a growing buffer.
    static CArchiveWriter Sizing();

    void WriteU16(uint16_t value);
    void WriteU32(uint32_t value);
    // One byte below 255; 0xFF and a u16 up to 65533; 0xFF 0xFFFF and a u32 above.
    void WriteText(std::string_view text);
    // A u16 below 0xFFFF; 0xFFFF and a u32 otherwise.
    void WriteCount(uint32_t count);
    // The tag before an object of the class: its description the first time
    // the class appears, a reference to that description afterwards.
    void WriteObjectTag(std::string_view className, uint16_t schema);

    void Reserve(size_t size) { m_bytes.reserve(size); }
    // Bytes written so far (counted also by a sizing writer).
    size_t Size() const { return m_size; }
    const std::string& Bytes() const { return m_bytes; }
    std::string TakeBytes() { return std::move(m_bytes); }

private:
    struct WrittenClass {
        std::string name;
        uint32_t index;
    };

    void Put(char byte);
    void Put(std::string_view bytes);

    std::string m_bytes;
    size_t m_size = 0;
    bool m_sizeOnly = false;
    uint32_t m_nextIndex = 1;
    std::vector<WrittenClass> m_classes;
};
