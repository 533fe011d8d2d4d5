#pragma once

#include "app/RgbColour.h"
#include "app/ScreenGeometry.h"

#include <string_view>

// Context help of dialog controls, as every front end shows it. A control's
// help text is the numbered string under the control's own identifier; a
// request on a control shows that text in a pop-up at the point of the
// request (a request from the keyboard: the control's centre). A control
// without a text shows nothing.
namespace contexthelp {

// The help text of a control identifier; empty when it has none (also for
// the identifiers of unnamed controls, which are 0 or negative).
std::string_view HelpText(int controlId);

struct Margins {
    int left, top, right, bottom;
};

// The pop-up's look: a pale yellow background behind the default text colour
// and font, and this space between its border and the text (in pixels at
// the standard 96 dots per inch).
inline constexpr RgbColour kPopupBackground{255, 255, 208};
inline constexpr Margins kPopupMargins{15, 5, 15, 10};

// Where a pop-up of size opens for a request at point: there, moved back
// inside area as far as it fits; a pop-up larger than area keeps its top-left
// corner on it.
ScreenPoint PlacePopup(ScreenPoint point, ScreenSize size, const ScreenRect& area);

} // namespace contexthelp
