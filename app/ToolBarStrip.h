#pragma once

#include "app/RgbColour.h"

#include <cstddef>
#include <cstdint>
#include <span>

// The toolbar's image strips: one 24 x 24 image per button (separators have
// none), side by side in the toolbar's order (apptext::kToolBarButtons).
inline constexpr int kToolBarImageSize = 24;

// How many images a strip holds: one per button of the toolbar.
int ToolBarImageCount();
// The position of a command's image in the strips; -1 for a command that has
// no toolbar button.
int ToolBarImageIndex(int command);

// The background the strips are drawn on: a light grey, far from every
// colour of the drawings (the pale disabled ones too), so that their smoothed
// edges suit the usual button faces. Any pixel near the strip's bottom-left
// pixel becomes the system's button face when the strip is loaded.
inline constexpr RgbColour kToolBarKeyColour{240, 240, 240};

// True when each of red, green and blue differs from the key by at most 2.
bool IsNearKeyColour(RgbColour pixel, RgbColour key);

// A 24-bit image as the system keeps a device-independent bitmap: rows of
// blue, green and red bytes, each row `stride` bytes long, the bottom row
// first unless `topDown`.
struct BgrPixels {
    std::span<uint8_t> bytes;
    int width = 0;
    int height = 0;
    size_t stride = 0;
    bool topDown = false;
};

// Replaces every pixel near the bottom-left pixel's colour by `face`, in
// place, and returns how many it replaced. An image whose rows do not fit
// its bytes (or a stride shorter than a row) is left alone: -1.
long ReplaceKeyColour(BgrPixels image, RgbColour face);
