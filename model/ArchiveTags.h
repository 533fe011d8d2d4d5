#pragma once

#include <cstdint>

// Marker values of the object archive shared by its reader and writer.
namespace archive {

// Text length prefixes, after the byte 0xFF.
constexpr uint16_t kWideTextMark = 0xFFFE; // a prefix of UTF-16 code units follows
constexpr uint16_t kLongTextMark = 0xFFFF; // a u32 length follows

// Counts: this u16 announces a u32 count.
constexpr uint16_t kLongCountMark = 0xFFFF;

// Object tags.
constexpr uint16_t kNullTag = 0x0000;
constexpr uint16_t kNewClassTag = 0xFFFF;      // a class description follows
constexpr uint16_t kBigIndexTag = 0x7FFF;      // a u32 index follows
constexpr uint16_t kClassTagBit = 0x8000;      // in a u16 tag: the rest is a class index
constexpr uint32_t kBigClassBit = 0x80000000u; // in a u32 index: a class index

// Class names longer than this are refused.
constexpr uint16_t kMaxClassName = 63;

} // namespace archive
