#pragma once

// Checks of a dialog template read from a program's resources, shared by the
// resource tests of the Windows programs.
#include "tests/windows/DialogTemplate.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace dialog_checks {

// Window class names are compared without regard to case.
inline std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

struct Expected {
    const char* className;
    int32_t id;
    std::string text;
};

inline void ExpectControls(const DialogTemplate& dialog, const std::vector<Expected>& expected) {
    ASSERT_EQ(dialog.controls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i));
        EXPECT_EQ(Lower(dialog.controls[i].className), Lower(expected[i].className));
        EXPECT_EQ(dialog.controls[i].id, expected[i].id);
        EXPECT_EQ(dialog.controls[i].text, expected[i].text);
    }
}

// Every control lies inside the dialog and no two overlap.
inline void ExpectLaidOut(const DialogTemplate& dialog) {
    const auto& c = dialog.controls;
    for (size_t i = 0; i < c.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i) + " \"" + c[i].text + "\"");
        EXPECT_GE(c[i].x, 0);
        EXPECT_GE(c[i].y, 0);
        EXPECT_LE(c[i].x + c[i].cx, dialog.cx);
        // A drop-down list's height is that of its opened list.
        if (c[i].className != "ComboBox") {
            EXPECT_LE(c[i].y + c[i].cy, dialog.cy);
        }
        for (size_t j = i + 1; j < c.size(); ++j) {
            const int height_i = c[i].className == "ComboBox" ? 12 : c[i].cy;
            const int height_j = c[j].className == "ComboBox" ? 12 : c[j].cy;
            const bool apart = c[i].x + c[i].cx <= c[j].x || c[j].x + c[j].cx <= c[i].x ||
                               c[i].y + height_i <= c[j].y || c[j].y + height_j <= c[i].y;
            EXPECT_TRUE(apart) << "overlaps control " << j << " \"" << c[j].text << "\"";
        }
    }
}

} // namespace dialog_checks
