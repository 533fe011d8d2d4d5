#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The few pieces of DER (tag, length, content) that the signature of a signed
// program is made of. Only single-byte tags and definite lengths of up to four
// bytes are taken: a signature is DER, which has no other forms.

inline constexpr uint8_t kDerInteger = 0x02;
inline constexpr uint8_t kDerOctetString = 0x04;
inline constexpr uint8_t kDerOid = 0x06;
inline constexpr uint8_t kDerSequence = 0x30;
inline constexpr uint8_t kDerSet = 0x31;
inline constexpr uint8_t kDerContext0 = 0xA0; // [0], constructed
inline constexpr uint8_t kDerContext1 = 0xA1; // [1], constructed

// One element: where it starts, how long its header is, where its content
// lies. Every position counts from the start of the bytes it was read from.
struct DerElement {
    uint8_t tag = 0;
    size_t start = 0;
    size_t header = 0; // tag and length bytes
    size_t length = 0; // content bytes
    size_t Content() const { return start + header; }
    size_t End() const { return start + header + length; }
};

// Reads the element at pos, which must lie wholly before end (the end of the
// element that holds it, at most bytes.size()). False when the tag is a
// multi-byte tag, the length is indefinite, longer than four bytes or not in
// its shortest form, or the content runs past end.
bool ReadDerElement(std::string_view bytes, size_t pos, size_t end, DerElement& element);

// Reads the element at pos and checks its tag.
bool ReadDerElement(std::string_view bytes, size_t pos, size_t end, uint8_t tag,
                    DerElement& element);

// The tag and length bytes of an element with length content bytes.
std::string DerHeader(uint8_t tag, size_t length);

// A whole element.
std::string DerWrap(uint8_t tag, std::string_view content);
