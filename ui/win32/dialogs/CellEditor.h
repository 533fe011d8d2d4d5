#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace dialogs {

// The in-place editor over one cell of a report list: an edit with the cell's
// text, centred. Enter and losing the focus keep the text, Escape discards
// it; then done is called once (kept, text) and the editor goes away.
class CCellEditor {
public:
    using Done = std::function<void(int row, int column, bool kept, const std::string& text)>;

    // Opens over (row, column) of list; false when the cell has no rectangle.
    static bool Open(HWND list, int row, int column, Done done);

private:
    CCellEditor(int row, int column, Done done)
        : m_nRow(row), m_nColumn(column), m_done(std::move(done)) {}
    void End(HWND edit, bool kept);
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR data);

    int m_nRow;
    int m_nColumn;
    Done m_done;
    bool m_bEnded = false;
};

} // namespace dialogs
