#include "ui/win32/dialogs/DialogControls.h"

#include "model/RegistrationServices.h"
#include "platform/win32/WideText.h"
#include "ui/win32/Win32AppPrompts.h"

using platform::win32::Narrow;
using platform::win32::Widen;

namespace dialogs {

std::string ControlText(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    const int length = GetWindowTextLengthW(control);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return Narrow(text);
}

void SetControlText(HWND dialog, int id, const std::string& text) {
    SetDlgItemTextW(dialog, id, Widen(text).c_str());
}

void ShowTextFromStart(HWND dialog, int id, const std::string& text) {
    SetControlText(dialog, id, text);
    SendDlgItemMessageW(dialog, id, EM_SETSEL, 0, 0);
    SendDlgItemMessageW(dialog, id, EM_SCROLLCARET, 0, 0);
}

void FillCombo(HWND dialog, int id, const std::vector<std::string>& names, int selected) {
    SendDlgItemMessageW(dialog, id, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : names)
        SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(Widen(name).c_str()));
    const bool inRange = selected >= 0 && static_cast<size_t>(selected) < names.size();
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL,
                        inRange ? static_cast<WPARAM>(selected) : static_cast<WPARAM>(-1), 0);
}

int ComboSelection(HWND dialog, int id) {
    const LRESULT at = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    return at == CB_ERR ? -1 : static_cast<int>(at);
}

void ShowMessage(HWND owner, const std::string& text, PromptIcon icon) {
    CWin32AppPrompts(owner).Message(text, icon, {});
}

bool AskYesNo(HWND owner, const std::string& text) {
    return CWin32AppPrompts(owner).Question(text, PromptIcon::Question, {});
}

HINSTANCE ResourceModule() {
    return GetModuleHandleW(nullptr);
}

void FillServiceCombo(HWND dialog, int id, int selected) {
    std::vector<std::string> names;
    for (const RegistrationService& s : ServiceTable())
        names.emplace_back(s.name);
    FillCombo(dialog, id, names, selected);
}

} // namespace dialogs
