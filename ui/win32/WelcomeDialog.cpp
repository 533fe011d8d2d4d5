#include "ui/win32/WelcomeDialog.h"

#include "app/RecentFiles.h"
#include "platform/win32/WideText.h"
#include "ui/win32/VelkoraResourceIds.h"
#include "ui/win32/WindowTexts.h"

#include <commctrl.h>

namespace {

struct WelcomeState {
    const std::vector<std::string>* files;
    std::string folder;
    WelcomeAnswer result;
};

HWND FileList(HWND dialog) {
    return GetDlgItem(dialog, IDC_WELCOME_FILES);
}

int SelectedRow(HWND dialog) {
    return ListView_GetNextItem(FileList(dialog), -1, LVNI_SELECTED);
}

void AddRow(HWND list, int row, const std::string& text) {
    std::wstring wide = platform::win32::Widen(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = wide.data();
    ListView_InsertItem(list, &item);
}

void FillList(HWND dialog, const WelcomeState& state) {
    HWND list = FileList(dialog);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    RECT client{};
    GetClientRect(list, &client);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = client.right - client.left;
    ListView_InsertColumn(list, 0, &column);
    AddRow(list, 0, std::string(apptext::kWelcomeMoreFiles));
    for (size_t i = 0; i < state.files->size() && i < RecentFiles::kSize; ++i)
        AddRow(list, static_cast<int>(i) + 1,
               RecentFiles::DisplayName((*state.files)[i], state.folder));
}

bool CreateChosen(HWND dialog) {
    return IsDlgButtonChecked(dialog, IDC_WELCOME_CREATE) == BST_CHECKED;
}

void UpdateOk(HWND dialog) {
    EnableWindow(GetDlgItem(dialog, IDOK),
                 WelcomeOkEnabled(CreateChosen(dialog), SelectedRow(dialog)));
}

bool Accept(HWND dialog, WelcomeState& state) {
    state.result = WelcomeAnswerFor(CreateChosen(dialog), SelectedRow(dialog), *state.files);
    return state.result.choice != WelcomeChoice::Nothing;
}

INT_PTR CALLBACK WelcomeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    auto* state = reinterpret_cast<WelcomeState*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!state)
        return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        FillList(hwnd, *state);
        CheckRadioButton(hwnd, IDC_WELCOME_CREATE, IDC_WELCOME_OPEN, IDC_WELCOME_CREATE);
        UpdateOk(hwnd);
        return TRUE;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.idFrom != IDC_WELCOME_FILES)
            return FALSE;
        if (header.code == LVN_ITEMCHANGED) {
            if (SelectedRow(hwnd) >= 0)
                CheckRadioButton(hwnd, IDC_WELCOME_CREATE, IDC_WELCOME_OPEN, IDC_WELCOME_OPEN);
            UpdateOk(hwnd);
        } else if (header.code == NM_DBLCLK && SelectedRow(hwnd) >= 0 && Accept(hwnd, *state)) {
            EndDialog(hwnd, IDOK);
        }
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_WELCOME_CREATE:
        case IDC_WELCOME_OPEN:
            UpdateOk(hwnd);
            return TRUE;
        case IDOK:
            if (Accept(hwnd, *state))
                EndDialog(hwnd, IDOK);
            return TRUE;
        case IDCANCEL:
            state->result = {};
            EndDialog(hwnd, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

} // namespace

WelcomeAnswer RunWelcomeDialog(HINSTANCE instance, HWND owner,
                               const std::vector<std::string>& recentFiles,
                               const std::string& folder) {
    WelcomeState state{&recentFiles, folder, {}};
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_WELCOME), owner, WelcomeProc,
                    reinterpret_cast<LPARAM>(&state));
    return state.result;
}
