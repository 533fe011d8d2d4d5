#pragma once

class QWidget;

// The width, in pixels, at which a field or column shows a typical composed
// purchase link whole: the longest service address followed by both its
// affiliate and product parameters with ten-character values, plus the
// widget's own margins. Depends on the widget's font.
int LinkFieldWidth(const QWidget& widget);
