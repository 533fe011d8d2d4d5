#pragma once

#include "ui/win32/dialogs/DialogBase.h"

#include <string>

namespace dialogs {

// "Program UUID": shows the UUID, copies it to the clipboard, and on Apply
// hands back the text as typed.
class CProgramUuidDialog : public CDialogBase {
public:
    explicit CProgramUuidDialog(std::string uuid) : m_strText(std::move(uuid)) {}
    // True on Apply; Text() is then the edit's text.
    bool Run(HWND owner);
    const std::string& Text() const { return m_strText; }

protected:
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnCopy();

    std::string m_strText;
};

} // namespace dialogs
