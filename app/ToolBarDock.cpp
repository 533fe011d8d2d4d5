#include "app/ToolBarDock.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

DockSide DockSideForDrop(const ScreenRect& frame, ScreenPoint drop, int reach) {
    if (frame.right <= frame.left || frame.bottom <= frame.top)
        return DockSide::Floating;
    // Beyond the reach around the frame nothing docks.
    if (drop.x < frame.left - reach || drop.x >= frame.right + reach ||
        drop.y < frame.top - reach || drop.y >= frame.bottom + reach)
        return DockSide::Floating;
    struct Edge {
        DockSide side;
        int distance;
    };
    const Edge edges[] = {{DockSide::Top, std::abs(drop.y - frame.top)},
                          {DockSide::Bottom, std::abs(drop.y - (frame.bottom - 1))},
                          {DockSide::Left, std::abs(drop.x - frame.left)},
                          {DockSide::Right, std::abs(drop.x - (frame.right - 1))}};
    DockSide best = DockSide::Floating;
    int nearest = INT_MAX;
    for (const Edge& edge : edges) {
        if (edge.distance <= reach && edge.distance < nearest) {
            best = edge.side;
            nearest = edge.distance;
        }
    }
    return best;
}

FrameLayout LayOutFrame(const ScreenRect& client, DockSide side, int thickness, int statusHeight) {
    const int width = std::max(0, client.right - client.left);
    const int height = std::max(0, client.bottom - client.top);
    FrameLayout layout;
    const int status = std::clamp(statusHeight, 0, height);
    layout.status = {client.left, client.top + height - status, client.left + width,
                     client.top + height};
    ScreenRect rest{client.left, client.top, client.left + width, layout.status.top};
    const int across = IsVerticalDock(side) ? width : rest.bottom - rest.top;
    const int bar = side == DockSide::Floating ? 0 : std::clamp(thickness, 0, across);
    switch (side) {
    case DockSide::Top:
        layout.bar = {rest.left, rest.top, rest.right, rest.top + bar};
        rest.top += bar;
        break;
    case DockSide::Bottom:
        layout.bar = {rest.left, rest.bottom - bar, rest.right, rest.bottom};
        rest.bottom -= bar;
        break;
    case DockSide::Left:
        layout.bar = {rest.left, rest.top, rest.left + bar, rest.bottom};
        rest.left += bar;
        break;
    case DockSide::Right:
        layout.bar = {rest.right - bar, rest.top, rest.right, rest.bottom};
        rest.right -= bar;
        break;
    case DockSide::Floating:
        layout.bar = {};
        break;
    }
    layout.panes = rest;
    return layout;
}
