#include "selfkit/fltk/ControlTags.h"

#include <FL/Fl_Group.H>
#include <FL/Fl_Widget.H>

namespace selfkit_fltk {

void TagControl(Fl_Widget* widget, int id) {
    widget->argument(id);
}

int ControlId(const Fl_Widget* widget) {
    return static_cast<int>(widget->argument());
}

Fl_Widget* FindControl(Fl_Widget* root, int id) {
    if (!root)
        return nullptr;
    if (ControlId(root) == id)
        return root;
    Fl_Group* group = root->as_group();
    if (!group)
        return nullptr;
    for (int i = 0; i < group->children(); ++i)
        if (Fl_Widget* found = FindControl(group->child(i), id))
            return found;
    return nullptr;
}

} // namespace selfkit_fltk
