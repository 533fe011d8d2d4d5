#pragma once

#include <QIcon>

// The program's own images, drawn at run time: the 24 x 24 toolbar buttons,
// each with a normal and a disabled (grey) image, and the affiliate row icon.
QIcon ToolbarIcon(int commandId);
QIcon RowIcon();
// The program icon (window and About box).
QIcon AppIcon();
