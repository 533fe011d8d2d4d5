#pragma once

#include <cstdint>

// A colour as the front ends draw it: red, green and blue, 0 to 255.
struct RgbColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    friend bool operator==(const RgbColour&, const RgbColour&) = default;
};
