#include "selfkit/win32/SelfKitWindow.h"

#include "platform/HostPath.h"
#include "platform/ShellOpen.h"
#include "platform/win32/WideText.h"
#include "selfkit/BuildRoad.h"
#include "selfkit/SelfKitTexts.h"
#include "selfkit/win32/AboutDialog.h"
#include "selfkit/win32/SelfKitResourceIds.h"

#include <commdlg.h>
#include <vector>

namespace {

using platform::win32::Narrow;
using platform::win32::Widen;

constexpr const wchar_t* kBoxCaption = L"selfkit";
// Each build step ends with this pause, so an affiliate sees the progress.
constexpr DWORD kStepPauseMs = 200;

UINT IconOf(MessageKind kind) {
    return kind == MessageKind::Information ? MB_ICONINFORMATION : MB_ICONWARNING;
}

} // namespace

CSelfKitWindow::CSelfKitWindow(HINSTANCE instance, CSelfKit& kit)
    : m_hInstance(instance), m_kit(kit) {}

int CSelfKitWindow::Run() {
    const INT_PTR result = DialogBoxParamW(m_hInstance, MAKEINTRESOURCEW(IDD_SELFKIT), nullptr,
                                           Proc, reinterpret_cast<LPARAM>(this));
    return result == 0 ? 0 : 1;
}

INT_PTR CALLBACK CSelfKitWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        reinterpret_cast<CSelfKitWindow*>(lParam)->m_hwnd = hwnd;
    }
    auto* self = reinterpret_cast<CSelfKitWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    return self ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR CSelfKitWindow::Handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        if (!OnInit())
            EndDialog(m_hwnd, 1);
        return TRUE;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != IDM_ABOUTBOX)
            return FALSE;
        ShowAbout();
        return TRUE;
    case WM_HELP:
        ShowAbout();
        return TRUE;
    case WM_SETCURSOR:
        if (!m_bBuilding)
            return FALSE;
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514))); // IDC_WAIT
        SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            OnBuild();
            return TRUE;
        case IDC_BROWSE:
            OnBrowse();
            return TRUE;
        case IDCANCEL:
            if (!m_bBuilding)
                EndDialog(m_hwnd, 0);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

bool CSelfKitWindow::OnInit() {
    // The About item sits in the window menu, where Windows users look for it.
    if (HMENU menu = GetSystemMenu(m_hwnd, FALSE)) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, Widen(selfkit_text::kAboutMenuItem).c_str());
    }
    const auto big =
        static_cast<HICON>(LoadImageW(m_hInstance, MAKEINTRESOURCEW(IDI_SELFKIT), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    const auto small = static_cast<HICON>(LoadImageW(m_hInstance, MAKEINTRESOURCEW(IDI_SELFKIT),
                                                     IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                     GetSystemMetrics(SM_CYSMICON), 0));
    SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));

    if (!StartSelfKit(m_kit, *this))
        return false;
    HWND services = GetDlgItem(m_hwnd, IDC_SERVICE);
    // In the order the kit keeps (sorted by name), so the first item is the
    // one a scripted build takes by default.
    for (const std::string& name : m_kit.Services().names)
        SendMessageW(services, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
    SendMessageW(services, CB_SETCURSEL, 0, 0);
    return true;
}

std::string CSelfKitWindow::FieldText(int id) const {
    HWND field = GetDlgItem(m_hwnd, id);
    const int length = GetWindowTextLengthW(field);
    if (length <= 0)
        return {};
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(field, text.data(), length + 1);
    return Narrow(std::wstring_view(text.data(), static_cast<size_t>(got > 0 ? got : 0)));
}

std::string CSelfKitWindow::SelectedService() const {
    HWND services = GetDlgItem(m_hwnd, IDC_SERVICE);
    const LRESULT index = SendMessageW(services, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return {};
    const LRESULT length = SendMessageW(services, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR || length <= 0)
        return {};
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got =
        SendMessageW(services, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return got == CB_ERR ? std::string()
                         : Narrow(std::wstring_view(text.data(), static_cast<size_t>(got)));
}

void CSelfKitWindow::OnBuild() {
    if (m_bBuilding)
        return;
    CCustomBuildRequest request;
    request.strService = SelectedService();
    request.strAffiliateId = FieldText(IDC_AFFILIATE_ID);
    request.strHomePage = FieldText(IDC_HOMEPAGE);
    request.strOutputPath = FieldText(IDC_OUTPUT_PATH);
    RunBuildRoad(m_kit, request, *this);
}

void CSelfKitWindow::OnBrowse() {
    std::wstring chosen =
        Widen(platform::CurrentDirectory() + '\\' + selfkit_text::kPresetFileName);
    chosen.resize(32768, L'\0');
    const std::wstring filter = Widen(selfkit_text::kSaveFilter) + L'\0' + L"*.exe" + L'\0';
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_hwnd;
    dialog.lpstrFilter = filter.c_str(); // ends with the string's own terminator
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = static_cast<DWORD>(chosen.size());
    // No default extension and no overwrite question: the affiliate may pick
    // any name and rebuild over an earlier result.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog))
        return;
    chosen.resize(wcsnlen(chosen.c_str(), chosen.size()));
    SetDlgItemTextW(m_hwnd, IDC_OUTPUT_PATH, chosen.c_str());
}

void CSelfKitWindow::ShowAbout() {
    ShowAboutDialog(m_hInstance, m_hwnd, [this](HWND box) {
        m_hMessageOwner = box;
        FollowAboutLink(selfkit_text::kVendorAddress, *this);
        m_hMessageOwner = nullptr;
    });
}

void CSelfKitWindow::ShowMessage(MessageKind kind, const std::string& text) {
    MessageBoxW(m_hMessageOwner ? m_hMessageOwner : m_hwnd, Widen(text).c_str(), kBoxCaption,
                MB_OK | IconOf(kind));
}

bool CSelfKitWindow::AskYesNo(const std::string& text) {
    return MessageBoxW(m_hwnd, Widen(text).c_str(), kBoxCaption, MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
}

void CSelfKitWindow::BeginProgress() {
    m_bBuilding = true;
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514))); // IDC_WAIT
    m_progress = std::make_unique<CProgressDialog>(m_hInstance, m_hwnd);
    EnableWindow(m_hwnd, FALSE);
}

bool CSelfKitWindow::StepProgress(int position) {
    if (!m_progress)
        return true;
    m_progress->Breathe(kStepPauseMs);
    m_progress->SetPosition(position);
    m_progress->Breathe(0);
    return !m_progress->TakeCancel();
}

void CSelfKitWindow::EndProgress() {
    // Enabled before the owned dialog goes, so that the activation returns
    // to the main dialog rather than to another program.
    EnableWindow(m_hwnd, TRUE);
    m_progress.reset();
    m_bBuilding = false;
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512))); // IDC_ARROW
    SetForegroundWindow(m_hwnd);
}

bool CSelfKitWindow::StartPackage(const std::string& path) {
    return platform::ShellOpen(path);
}
