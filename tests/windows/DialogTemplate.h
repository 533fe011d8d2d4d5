#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A dialog template of the extended kind (DIALOGEX) as the dialog manager
// reads it from a program's resources: the window and its controls in
// creation order, which is also their tab order. Texts are narrowed to ASCII
// ('?' for anything else); a control class given as an ordinal is named
// ("Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox").
struct DialogControl {
    std::string className;
    std::string text; // "#<n>" for a text given as an ordinal (an icon)
    int32_t id = 0;
    uint32_t style = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplate {
    uint32_t style = 0;
    std::string caption;
    std::string font;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::vector<DialogControl> controls;
};

// Nothing when bytes are not a whole DIALOGEX template.
std::optional<DialogTemplate> ParseDialogTemplate(const std::string& bytes);
