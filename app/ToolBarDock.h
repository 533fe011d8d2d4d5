#pragma once

#include "app/ScreenGeometry.h"

// Where the main window's toolbar sits, and how the window lays out around
// it. Plain rules for every front end that docks its toolbar by hand; the
// front end only drags and places.

enum class DockSide { Top, Bottom, Left, Right, Floating };

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
DockSide DockSideForDrop(const ScreenRect& frame, ScreenPoint drop, int reach = kDockReach);

// The frame's client area shared out: the docked bar along its side, the
// status bar (statusHeight, 0 when hidden) along the bottom below all else,
// and the panes in what remains. A floating or hidden bar takes nothing
// (pass thickness 0). Sizes never go negative.
struct FrameLayout {
    ScreenRect bar;
    ScreenRect panes;
    ScreenRect status;
};
FrameLayout LayOutFrame(const ScreenRect& client, DockSide side, int thickness, int statusHeight);
