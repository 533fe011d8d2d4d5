#pragma once

// Points, sizes and rectangles in pixels, as the core's layout rules take
// and give them; each front end converts from its own types.

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// A rectangle: left and top inside, right and bottom just outside.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};
