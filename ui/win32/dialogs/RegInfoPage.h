#pragma once

#include "app/RegInfoRows.h"
#include "ui/win32/dialogs/DialogBase.h"

namespace dialogs {

// The "Registration Info" page: the rows of the core's registration list in a
// report list, edited in place; Add asks for a new product ID, Delete removes
// the selected row. The project changes only when the rows are committed.
class CRegInfoPage : public CDialogBase {
public:
    explicit CRegInfoPage(CRegInfoRows& rows) : m_rows(rows) {}

protected:
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND List() const;
    void OnInit();
    void Refill();
    void OnAdd();
    void DeleteRow(int row);
    void OnDoubleClick(POINT at);
    bool OnNotify(const NMHDR& header);

    CRegInfoRows& m_rows;
};

} // namespace dialogs
