#include "app/ToolBarStrip.h"

#include "app/AppTexts.h"

#include <cstdlib>

int ToolBarImageCount() {
    int count = 0;
    for (const int command : apptext::kToolBarButtons)
        count += command != 0 ? 1 : 0;
    return count;
}

int ToolBarImageIndex(int command) {
    int index = 0;
    for (const int button : apptext::kToolBarButtons) {
        if (button == 0)
            continue;
        if (button == command)
            return index;
        ++index;
    }
    return -1;
}

bool IsNearKeyColour(RgbColour pixel, RgbColour key) {
    const auto near = [](uint8_t a, uint8_t b) { return std::abs(int{a} - int{b}) <= 2; };
    return near(pixel.red, key.red) && near(pixel.green, key.green) && near(pixel.blue, key.blue);
}

namespace {

bool Fits(const BgrPixels& image) {
    if (image.width <= 0 || image.height <= 0)
        return false;
    const auto width = static_cast<size_t>(image.width);
    const auto height = static_cast<size_t>(image.height);
    if (image.stride / 3 < width)
        return false;
    // The last row needs only its pixels, not its padding.
    return image.bytes.size() / image.stride >= height - 1 &&
           image.bytes.size() - (height - 1) * image.stride >= width * 3;
}

} // namespace

long ReplaceKeyColour(BgrPixels image, RgbColour face) {
    if (!Fits(image))
        return -1;
    const size_t bottomRow = image.topDown ? static_cast<size_t>(image.height - 1) : 0;
    const uint8_t* corner = image.bytes.data() + bottomRow * image.stride;
    const RgbColour key{corner[2], corner[1], corner[0]};
    long replaced = 0;
    for (size_t y = 0; y < static_cast<size_t>(image.height); ++y) {
        uint8_t* pixel = image.bytes.data() + y * image.stride;
        for (int x = 0; x < image.width; ++x, pixel += 3) {
            if (!IsNearKeyColour({pixel[2], pixel[1], pixel[0]}, key))
                continue;
            pixel[0] = face.blue;
            pixel[1] = face.green;
            pixel[2] = face.red;
            ++replaced;
        }
    }
    return replaced;
}
