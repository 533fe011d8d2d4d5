#pragma once

#include <cstdint>
#include <string_view>

// How a request's Range header is answered for a body of a known size. One
// range of bytes is served; a header that asks for several, or that cannot be
// read, is ignored and the whole body is sent, as HTTP allows.
struct ByteRangeAnswer {
    enum class Kind { Whole, Partial, Unsatisfiable };
    Kind kind = Kind::Whole;
    int64_t first = 0; // Partial: the first byte sent
    int64_t last = 0;  // Partial: the last byte sent (inclusive)
};

ByteRangeAnswer AnswerRange(std::string_view header, int64_t size);
