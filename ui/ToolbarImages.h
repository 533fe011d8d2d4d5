#pragma once

#include <QIcon>
#include <QImage>

// The program's own images, drawn at run time: the 24 x 24 toolbar buttons,
// each with a normal and a disabled (grey) image, and the affiliate row icon.
QIcon ToolbarIcon(int commandId);
QIcon RowIcon();
// The toolbar's images side by side in the toolbar's order, normal or
// disabled, on the key colour (app/ToolBarStrip.h): the strips that the
// Windows program carries.
QImage ToolbarStrip(bool disabled);
// The program icon (window and About box).
QIcon AppIcon();
