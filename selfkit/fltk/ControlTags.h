#pragma once

class Fl_Group;
class Fl_Widget;

// The dialog identifiers of the self creator's controls (1002 service,
// 1000 affiliate ID, 1005 homepage, 1003 pathname, 1004 "...", 1 Build,
// 2 Cancel) travel with the widgets as their user data, so that tests and
// callbacks find a control by the number the dialog template gives it.
namespace selfkit_fltk {

inline constexpr int kIdBuild = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdAffiliate = 1000;
inline constexpr int kIdPath = 1003;
inline constexpr int kIdBrowse = 1004;
inline constexpr int kIdService = 1002;
inline constexpr int kIdHomepage = 1005;
// Not in the dialog template: the visible place of the About box, which the
// template puts into the window's system menu.
inline constexpr int kIdAbout = 1100;

// Marks widget with id.
void TagControl(Fl_Widget* widget, int id);

// The control's id; 0 for a widget without one.
int ControlId(const Fl_Widget* widget);

// The first widget under root (root included) that carries id, or null.
Fl_Widget* FindControl(Fl_Widget* root, int id);

} // namespace selfkit_fltk
