#include "app/ContextHelp.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace contexthelp;

TEST(ContextHelpText, ControlsWithATextAndWithout) {
    const struct {
        int id;
        std::string text;
    } cases[] = {
        {1023, "Provides a space for you to specify title of the product."},
        {1026, "Specifies version number of the product."},
        {1029, "Specifies your product web page."},
        {1030, "Provides a place for you to specify the default directory for affiliate setup "
               "files. \nThe directory can be overided by configuring affiliate settings "
               "individually.  "},
        // Shared by the settings' self-maker button and the affiliate's setup-file field.
        {1035, "The path and name of executable setup file that will be built for the affiliate."},
        {1037, "Specifies Registration services you are using to sell your product."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HelpText(c.id), c.text) << c.id;
    // Fields without a text, OK (1), Cancel (2), the dialog itself (0), an unnamed label (-1).
    for (const int id : {1031, 1033, 1034, 1038, 1039, 1043, 1, 2, 0, -1, 65535})
        EXPECT_EQ(HelpText(id), "") << id;
}

struct PlaceCase {
    const char* what;
    ScreenPoint point;
    ScreenSize size;
    ScreenPoint placed;
};

void PrintTo(const PlaceCase& c, std::ostream* os) {
    *os << c.what;
}

class PlacePopupTest : public ::testing::TestWithParam<PlaceCase> {};

// The screen area is 100..1100 wide and 50..850 high (right and bottom outside).
TEST_P(PlacePopupTest, OpensAtThePointAndStaysOnTheArea) {
    const PlaceCase& c = GetParam();
    const ScreenPoint at = PlacePopup(c.point, c.size, {100, 50, 1100, 850});
    EXPECT_EQ(at.x, c.placed.x);
    EXPECT_EQ(at.y, c.placed.y);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlacePopupTest,
    ::testing::Values(PlaceCase{"inside", {400, 300}, {200, 40}, {400, 300}},
                      PlaceCase{"touching the right edge", {900, 300}, {200, 40}, {900, 300}},
                      PlaceCase{"one past the right edge", {901, 300}, {200, 40}, {900, 300}},
                      PlaceCase{"past the bottom", {400, 840}, {200, 40}, {400, 810}},
                      PlaceCase{"left of and above the area", {-30, 0}, {200, 40}, {100, 50}},
                      PlaceCase{"wider than the area", {600, 300}, {1500, 40}, {100, 300}},
                      PlaceCase{"taller than the area", {600, 300}, {200, 900}, {600, 50}},
                      PlaceCase{"empty", {1099, 849}, {0, 0}, {1099, 849}}));

} // namespace
