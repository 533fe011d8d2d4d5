#pragma once

// Where the main window's toolbar sits, and how the window lays out around
// it. Plain rules for every front end that docks its toolbar by hand; the
// front end only drags and places.

enum class DockSide { Top, Bottom, Left, Right, Floating };

struct DockPoint {
    int x = 0;
    int y = 0;
};

// A rectangle; right and bottom lie just outside it.
struct DockRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const DockRect&) const = default;
};

// How near (in pixels, inside or outside) an edge a dropped toolbar docks.
inline constexpr int kDockReach = 24;

// Bars on the left and right stand upright.
inline bool IsVerticalDock(DockSide side) {
    return side == DockSide::Left || side == DockSide::Right;
}

// The side a toolbar dropped at `drop` docks on, given the frame's client
// area (both in screen coordinates): the nearest edge within `reach` of the
// point, top before bottom before left before right on a tie; elsewhere it
// floats. An empty frame docks nothing.
DockSide DockSideForDrop(const DockRect& frame, DockPoint drop, int reach = kDockReach);

// The frame's client area shared out: the docked bar along its side, the
// status bar (statusHeight, 0 when hidden) along the bottom below all else,
// and the panes in what remains. A floating or hidden bar takes nothing
// (pass thickness 0). Sizes never go negative.
struct FrameLayout {
    DockRect bar;
    DockRect panes;
    DockRect status;
};
FrameLayout LayOutFrame(const DockRect& client, DockSide side, int thickness, int statusHeight);
