#pragma once

#include <functional>
#include <string>
#include <windows.h>

// The one-line editor over a cell of a report list: the affiliate list's
// and the registration list's. Enter keeps the text, Escape discards it, and
// leaving the editor keeps it; the end is reported once, then the editor goes
// away. At most one is open at a time. Delete and
// every Ctrl key belong to the editor while it has the focus.
class CCellEditor {
public:
    // Row, column, the text (UTF-8) and whether it was discarded.
    using Ended = std::function<void(int, int, const std::string&, bool)>;

    // Opens the editor over the cell, inset pixels in from its left edge,
    // with the cell's text and the caret at its start. False when the cell
    // is not in the list.
    static bool Open(HWND list, int row, int column, int inset, Ended ended);
    // Whether window is the open editor.
    static bool IsEditor(HWND window);

private:
    CCellEditor(HWND list, int row, int column, Ended ended);
    static LRESULT CALLBACK Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void End(bool discarded);
    void Widen();

    HWND m_list;
    HWND m_hwnd = nullptr;
    int m_row;
    int m_column;
    Ended m_ended;
    bool m_bEnded = false;
};
