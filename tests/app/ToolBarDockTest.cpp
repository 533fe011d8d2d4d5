#include "app/ToolBarDock.h"

#include <gtest/gtest.h>

namespace {

struct Drop {
    DockPoint at;
    DockSide side;
};

TEST(ToolBarDock, DropPointChoosesTheNearestEdgeWithinReach) {
    // A frame's client area at (100, 50), 800 x 600, on the screen.
    const DockRect frame{100, 50, 900, 650};
    const Drop cases[] = {
        // Each edge's reach, inside and outside, and one pixel beyond.
        {{500, 74}, DockSide::Top},
        {{500, 26}, DockSide::Top},
        {{500, 25}, DockSide::Floating},
        {{500, 75}, DockSide::Floating},
        {{500, 673}, DockSide::Bottom},
        {{500, 674}, DockSide::Floating},
        {{76, 300}, DockSide::Left},
        {{75, 300}, DockSide::Floating},
        {{923, 300}, DockSide::Right},
        {{924, 300}, DockSide::Floating},
        {{500, 300}, DockSide::Floating},
        // Corners: the nearer edge, top and bottom first on a tie.
        {{105, 60}, DockSide::Left},
        {{100, 50}, DockSide::Top},
        {{899, 649}, DockSide::Bottom},
        {{895, 640}, DockSide::Right},
    };
    for (const Drop& c : cases)
        EXPECT_EQ(static_cast<int>(DockSideForDrop(frame, c.at)), static_cast<int>(c.side))
            << "at " << c.at.x << "," << c.at.y;
}

TEST(ToolBarDock, AnEmptyFrameDocksNothing) {
    EXPECT_EQ(DockSideForDrop({100, 50, 100, 650}, {100, 50}), DockSide::Floating);
    EXPECT_EQ(DockSideForDrop({100, 50, 900, 40}, {100, 50}), DockSide::Floating);
    EXPECT_EQ(DockSideForDrop({0, 0, 800, 600}, {0, 300}, 0), DockSide::Left);
    EXPECT_EQ(DockSideForDrop({0, 0, 800, 600}, {1, 300}, 0), DockSide::Floating);
}

struct Layout {
    const char* what;
    DockSide side;
    int thickness;
    int status;
    DockRect bar;
    DockRect panes;
    DockRect statusBar;
};

void PrintTo(const Layout& l, std::ostream* os) {
    *os << l.what;
}

class LayOutFrameTest : public testing::TestWithParam<Layout> {};

TEST_P(LayOutFrameTest, BarAndStatusBarTakeTheirEdgesAndThePanesTheRest) {
    const Layout& c = GetParam();
    const FrameLayout layout = LayOutFrame({0, 0, 800, 600}, c.side, c.thickness, c.status);
    EXPECT_EQ(layout.bar, c.bar);
    EXPECT_EQ(layout.panes, c.panes);
    EXPECT_EQ(layout.status, c.statusBar);
}

INSTANTIATE_TEST_SUITE_P(
    Sides, LayOutFrameTest,
    testing::Values(
        Layout{
            "top", DockSide::Top, 34, 20, {0, 0, 800, 34}, {0, 34, 800, 580}, {0, 580, 800, 600}},
        Layout{"bottom, above the status bar",
               DockSide::Bottom,
               34,
               20,
               {0, 546, 800, 580},
               {0, 0, 800, 546},
               {0, 580, 800, 600}},
        Layout{
            "left", DockSide::Left, 36, 20, {0, 0, 36, 580}, {36, 0, 800, 580}, {0, 580, 800, 600}},
        Layout{"right",
               DockSide::Right,
               36,
               20,
               {764, 0, 800, 580},
               {0, 0, 764, 580},
               {0, 580, 800, 600}},
        Layout{"floating", DockSide::Floating, 34, 20, {}, {0, 0, 800, 580}, {0, 580, 800, 600}},
        Layout{"hidden bars",
               DockSide::Top,
               0,
               0,
               {0, 0, 800, 0},
               {0, 0, 800, 600},
               {0, 600, 800, 600}},
        Layout{"a bar wider than the window",
               DockSide::Left,
               900,
               20,
               {0, 0, 800, 580},
               {800, 0, 800, 580},
               {0, 580, 800, 600}},
        Layout{"a status bar taller than the window",
               DockSide::Top,
               34,
               700,
               {0, 0, 800, 0},
               {0, 0, 800, 0},
               {0, 0, 800, 600}},
        Layout{"a negative thickness",
               DockSide::Bottom,
               -5,
               20,
               {0, 580, 800, 580},
               {0, 0, 800, 580},
               {0, 580, 800, 600}}),
    [](const testing::TestParamInfo<Layout>& info) { return std::to_string(info.index); });

TEST(ToolBarDock, AShrunkenWindowGivesNoNegativeSizes) {
    const FrameLayout layout = LayOutFrame({10, 10, 5, 5}, DockSide::Right, 30, 20);
    EXPECT_EQ(layout.panes, (DockRect{10, 10, 10, 10}));
    EXPECT_EQ(layout.bar, (DockRect{10, 10, 10, 10}));
}

} // namespace
