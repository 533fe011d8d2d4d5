#include "app/ToolBarStrip.h"
#include "app/AppTexts.h"
#include "app/CommandIds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ToolBarStrip, OneImagePerButtonInTheToolbarsOrder) {
    EXPECT_EQ(ToolBarImageCount(), 12);
    EXPECT_EQ(ToolBarImageIndex(ID_FILE_NEW), 0);
    EXPECT_EQ(ToolBarImageIndex(ID_FILE_SAVE), 2);
    EXPECT_EQ(ToolBarImageIndex(ID_DELETE_AFFILIATE), 3); // after the first bar
    EXPECT_EQ(ToolBarImageIndex(ID_APP_ABOUT), 11);
    EXPECT_EQ(ToolBarImageIndex(ID_FILE_SAVE_AS), -1);
    EXPECT_EQ(ToolBarImageIndex(0), -1); // a separator has no image
}

struct Near {
    RgbColour pixel;
    bool near;
};

TEST(ToolBarStrip, KeyColourAllowsTwoPerChannel) {
    const RgbColour key{100, 150, 200};
    const Near cases[] = {
        {{100, 150, 200}, true},  {{102, 148, 202}, true},  {{98, 152, 198}, true},
        {{103, 150, 200}, false}, {{100, 147, 200}, false}, {{100, 150, 203}, false},
        {{0, 0, 0}, false},       {{255, 255, 255}, false},
    };
    for (const Near& c : cases)
        EXPECT_EQ(IsNearKeyColour(c.pixel, key), c.near)
            << int{c.pixel.red} << "," << int{c.pixel.green} << "," << int{c.pixel.blue};
    EXPECT_TRUE(IsNearKeyColour({0, 1, 2}, {2, 0, 0}));
    EXPECT_TRUE(IsNearKeyColour({255, 253, 255}, {253, 255, 254}));
}

// A 3 x 2 image with padded rows of 12 bytes; rows given top first.
std::vector<uint8_t> Image(const std::vector<std::vector<RgbColour>>& rowsTopFirst, bool topDown) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < rowsTopFirst.size(); ++i) {
        const auto& row = rowsTopFirst[topDown ? i : rowsTopFirst.size() - 1 - i];
        for (const RgbColour& p : row)
            bytes.insert(bytes.end(), {p.blue, p.green, p.red});
        bytes.resize(bytes.size() + 12 - row.size() * 3, 0xEE); // padding
    }
    return bytes;
}

struct Replace {
    const char* what;
    std::vector<std::vector<RgbColour>> rows; // top first
    bool topDown;
    std::vector<std::vector<RgbColour>> expected;
    long replaced;
};

void PrintTo(const Replace& r, std::ostream* os) {
    *os << r.what;
}

constexpr RgbColour K{192, 192, 192}; // key
constexpr RgbColour F{236, 233, 216}; // face
constexpr RgbColour A{193, 190, 194}; // within 2 of K
constexpr RgbColour B{195, 192, 192}; // 3 off K
constexpr RgbColour D{40, 40, 40};    // drawing

class ReplaceKeyColourTest : public testing::TestWithParam<Replace> {};

TEST_P(ReplaceKeyColourTest, BottomLeftPixelNamesTheKey) {
    const Replace& c = GetParam();
    std::vector<uint8_t> bytes = Image(c.rows, c.topDown);
    const long replaced = ReplaceKeyColour({bytes, 3, 2, 12, c.topDown}, F);
    EXPECT_EQ(replaced, c.replaced);
    EXPECT_EQ(bytes, Image(c.expected, c.topDown)); // padding untouched
}

INSTANTIATE_TEST_SUITE_P(
    Images, ReplaceKeyColourTest,
    testing::Values(
        Replace{"bottom up", {{K, D, A}, {K, B, K}}, false, {{F, D, F}, {F, B, F}}, 4},
        Replace{"top down", {{K, D, A}, {K, B, K}}, true, {{F, D, F}, {F, B, F}}, 4},
        // The key is the bottom-left pixel's colour, whatever it is.
        Replace{"a drawn corner", {{D, K, D}, {D, K, K}}, false, {{F, K, F}, {F, K, K}}, 3},
        Replace{"top-left not the key", {{D, K, K}, {K, K, K}}, true, {{D, F, F}, {F, F, F}}, 5},
        Replace{"nothing but the key", {{A, A, A}, {K, K, K}}, false, {{F, F, F}, {F, F, F}}, 6}));

struct Misfit {
    const char* what;
    size_t size;
    int width;
    int height;
    size_t stride;
};

TEST(ToolBarStrip, ImagesThatDoNotFitTheirBytesAreLeftAlone) {
    const Misfit cases[] = {
        {"no bytes", 0, 3, 2, 12},
        {"one byte short of the last row's pixels", 12 + 8, 3, 2, 12},
        {"a stride shorter than a row", 24, 3, 2, 8},
        {"a zero stride", 24, 3, 2, 0},
        {"no width", 24, 0, 2, 12},
        {"a negative height", 24, 3, -2, 12},
        {"rows beyond the bytes", 24, 3, 3, 12},
    };
    for (const Misfit& c : cases) {
        std::vector<uint8_t> bytes(c.size, 7);
        const std::vector<uint8_t> before = bytes;
        EXPECT_EQ(ReplaceKeyColour({bytes, c.width, c.height, c.stride, false}, F), -1) << c.what;
        EXPECT_EQ(bytes, before) << c.what;
    }
    // The last row may stop after its pixels, without its padding.
    std::vector<uint8_t> tight(12 + 9, 7);
    EXPECT_EQ(ReplaceKeyColour({tight, 3, 2, 12, false}, F), 6);
}

} // namespace
