#include "selfkit/fltk/ProgramIcon.h"

#include <FL/Fl_Pixmap.H>
#include <FL/Fl_RGB_Image.H>

namespace {

// clang-format off
const char* const kDisk[] = {
    "16 16 5 1",
    "  c None",
    ". c #1F3F7F",
    "+ c #4F7FCF",
    "@ c #E8E8E8",
    "# c #A0A0A0",
    "................",
    ".++@@@@@@@@@@++.",
    ".++@@@@@@@@@@++.",
    ".++@@@@@@@@@@++.",
    ".++@@@@@@@@@@++.",
    ".++@@@@@@@@@@++.",
    ".++++++++++++++.",
    ".++++++++++++++.",
    ".+++########+++.",
    ".+++#..#####+++.",
    ".+++#..#####+++.",
    ".+++#..#####+++.",
    ".+++#..#####+++.",
    ".+++########+++.",
    " ++++++++++++++.",
    "  ..............",
};
// clang-format on

} // namespace

const Fl_RGB_Image* ProgramIcon(int size) {
    static Fl_Pixmap pixmap(kDisk);
    static Fl_RGB_Image base(&pixmap, FL_GRAY);
    if (size == base.w())
        return &base;
    static const Fl_RGB_Image* big = static_cast<Fl_RGB_Image*>(base.copy(32, 32));
    return big;
}
