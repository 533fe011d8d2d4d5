#include "app/ToolBarDock.h"

#include <gtest/gtest.h>

namespace {

struct Drop {
    ScreenPoint at;
    DockSide side;
};

TEST(ToolBarDock, DropPointChoosesTheNearestEdgeWithinReach) {
    // A frame's client area at (100, 50), 800 x 600, on the screen.
    const ScreenRect frame{100, 50, 900, 650};
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
    DockSide side;
    int thickness;
    int status;
    ScreenRect bar;
    ScreenRect panes;
    ScreenRect statusBar;
};

class LayOutFrameTest : public testing::TestWithParam<Layout> {};

TEST_P(LayOutFrameTest, BarAndStatusBarTakeTheirEdgesAndThePanesTheRest) {
    const Layout& c = GetParam();
    const FrameLayout layout = LayOutFrame({0, 0, 800, 600}, c.side, c.thickness, c.status);
    EXPECT_EQ(layout.bar, c.bar);
    EXPECT_EQ(layout.panes, c.panes);
    EXPECT_EQ(layout.status, c.statusBar);
}

constexpr DockSide kTop = DockSide::Top, kBottom = DockSide::Bottom, kLeft = DockSide::Left,
                   kRight = DockSide::Right, kFloating = DockSide::Floating;

// In order: each side (the bottom bar above the status bar), floating, both
// bars hidden, a bar wider than the window, a status bar taller than the
// window, a negative thickness.
INSTANTIATE_TEST_SUITE_P(
    Sides, LayOutFrameTest,
    testing::Values(
        Layout{kTop, 34, 20, {0, 0, 800, 34}, {0, 34, 800, 580}, {0, 580, 800, 600}},
        Layout{kBottom, 34, 20, {0, 546, 800, 580}, {0, 0, 800, 546}, {0, 580, 800, 600}},
        Layout{kLeft, 36, 20, {0, 0, 36, 580}, {36, 0, 800, 580}, {0, 580, 800, 600}},
        Layout{kRight, 36, 20, {764, 0, 800, 580}, {0, 0, 764, 580}, {0, 580, 800, 600}},
        Layout{kFloating, 34, 20, {}, {0, 0, 800, 580}, {0, 580, 800, 600}},
        Layout{kTop, 0, 0, {0, 0, 800, 0}, {0, 0, 800, 600}, {0, 600, 800, 600}},
        Layout{kLeft, 900, 20, {0, 0, 800, 580}, {800, 0, 800, 580}, {0, 580, 800, 600}},
        Layout{kTop, 34, 700, {0, 0, 800, 0}, {0, 0, 800, 0}, {0, 0, 800, 600}},
        Layout{kBottom, -5, 20, {0, 580, 800, 580}, {0, 0, 800, 580}, {0, 580, 800, 600}}));

TEST(ToolBarDock, AShrunkenWindowGivesNoNegativeSizes) {
    const FrameLayout layout = LayOutFrame({10, 10, 5, 5}, DockSide::Right, 30, 20);
    EXPECT_EQ(layout.panes, (ScreenRect{10, 10, 10, 10}));
    EXPECT_EQ(layout.bar, (ScreenRect{10, 10, 10, 10}));
}

} // namespace
