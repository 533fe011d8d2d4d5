#include "app/ContextHelp.h"

#include "app/AppTexts.h"

#include <algorithm>

namespace contexthelp {

std::string_view HelpText(int controlId) {
    return controlId > 0 ? apptext::NumberedString(controlId) : std::string_view();
}

ScreenPoint PlacePopup(ScreenPoint point, ScreenSize size, const ScreenRect& area) {
    const int lastX = std::max(area.left, area.right - size.width);
    const int lastY = std::max(area.top, area.bottom - size.height);
    return {std::clamp(point.x, area.left, lastX), std::clamp(point.y, area.top, lastY)};
}

} // namespace contexthelp
