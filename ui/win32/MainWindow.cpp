#include "ui/win32/MainWindow.h"

#include "app/AffiliateCsvCommands.h"
#include "app/CommandIds.h"
#include "app/CommandRules.h"
#include "app/Document.h"
#include "app/RecentFiles.h"
#include "app/ShellActions.h"
#include "model/AffProject.h"
#include "model/Reseller.h"
#include "platform/ExecutablePath.h"
#include "platform/HostPath.h"
#include "platform/PathText.h"
#include "platform/win32/WideText.h"
#include "ui/win32/AboutBox.h"
#include "ui/win32/AffiliateListView.h"
#include "ui/win32/DocumentDialogsFactory.h"
#include "ui/win32/ToolBarDock.h"
#include "ui/win32/VelkoraResourceIds.h"
#include "ui/win32/WelcomeDialog.h"
#include "ui/win32/Win32AppPrompts.h"
#include "ui/win32/WindowTexts.h"
#include "ui/win32/dialogs/CellEditor.h"

#include <algorithm>
#include <commctrl.h>
#include <shellapi.h>

namespace {

using platform::win32::Narrow;
using platform::win32::Widen;

constexpr wchar_t kClassName[] = L"VelkoraMainWindow";
constexpr UINT kRunTasks = WM_APP + 10;
constexpr int kListId = 0xE900;
constexpr int kLogId = 0xE901;
constexpr int kDividerHeight = 6;

// The status-bar panes: the message, then the lock keys' indicators.
constexpr int kIndicatorWidth = 44;
constexpr const wchar_t* kIndicators[] = {L"CAP", L"NUM", L"SCRL"};
constexpr int kIndicatorKeys[] = {VK_CAPITAL, VK_NUMLOCK, VK_SCROLL};

// A string of the program's string table.
std::wstring LoadText(HINSTANCE instance, UINT id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

// The prompt's first line is the status-bar text, its second the tool tip.
std::wstring PromptLine(const std::wstring& prompt, bool second) {
    const size_t cut = prompt.find(L'\n');
    if (cut == std::wstring::npos)
        return prompt;
    return second ? prompt.substr(cut + 1) : prompt.substr(0, cut);
}

} // namespace

CMainWindow::CMainWindow(HINSTANCE instance, RecentFiles& recentFiles)
    : m_instance(instance), m_recentFiles(recentFiles) {}

CMainWindow::~CMainWindow() {
    if (m_builds)
        WaitForBuilds();
    m_builds.reset();
    if (m_hwnd)
        DestroyWindow(m_hwnd);
}

bool CMainWindow::Create(int show) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = m_instance;
    windowClass.hIcon = LoadIconW(m_instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINFRAME);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
    m_keys = LoadAcceleratorsW(m_instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    m_hwnd = CreateWindowExW(0, kClassName, Widen(apptext::kAppTitle).c_str(),
                             WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, m_instance, this);
    if (!m_hwnd || !m_doc)
        return false;
    ShowWindow(m_hwnd, show == SW_SHOWDEFAULT || show == SW_SHOWNORMAL ? SW_SHOWMAXIMIZED : show);
    UpdateWindow(m_hwnd);
    SetFocus(m_list->Handle());
    return true;
}

LRESULT CALLBACK CMainWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<CMainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_hwnd = hwnd;
    }
    auto* self = reinterpret_cast<CMainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->Handle(message, wParam, lParam)
                : DefWindowProcW(hwnd, message, wParam, lParam);
}

bool CMainWindow::OnCreate() {
    m_prompts = std::make_unique<CWin32AppPrompts>(m_hwnd);
    m_dialogs = CreateDocumentDialogs(m_hwnd);
    IDocumentEvents& documentEvents = *this;
    IBuildEvents& buildEvents = *this;
    m_doc = std::make_unique<Document>(*m_prompts, *m_dialogs, m_recentFiles, documentEvents);
    m_builds = std::make_unique<BuildRunner>(
        *m_prompts, buildEvents, [this](std::function<void()> task) { Post(std::move(task)); });
    m_fileMenu = GetSubMenu(GetMenu(m_hwnd), 0);
    CreateToolBar();
    CreateStatusBar();
    m_list = std::make_unique<CAffiliateListView>(m_doc->Project());
    if (!m_list->Create(m_hwnd, kListId) || !m_log.Create(m_hwnd, kLogId))
        return false;
    m_list->selectionChanged = [this] { UpdateCommandUI(); };
    m_list->OnCellEdited([this](uint32_t key, int column, const std::string& text) {
        // Judged once the editor is gone: a refusal shows a message box.
        Post([this, key, column, text] { EditedCell(key, column, text); });
    });
    m_doc->SetLog(&m_log);
    m_builds->SetLog(&m_log);
    DragAcceptFiles(m_hwnd, TRUE);
    m_list->CreateList();
    RebuildRecentFileMenu();
    UpdateCaption();
    UpdateCommandUI();
    return true;
}

void CMainWindow::CreateToolBar() {
    m_dock = std::make_unique<CToolBarDock>(m_instance, m_hwnd);
    if (!m_dock->Create())
        return;
    m_toolBar = m_dock->ToolBar();
    m_dock->moved = [this] {
        Layout();
        // The panes moved sideways: all of them are drawn again, not only
        // the parts the move uncovered.
        RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    };
}

void CMainWindow::CreateStatusBar() {
    m_statusBar =
        CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                        0, 0, m_hwnd, nullptr, m_instance, nullptr);
    ShowReady();
}

void CMainWindow::Layout() {
    RECT client{};
    GetClientRect(m_hwnd, &client);
    int statusHeight = 0;
    if (IsWindowVisible(m_statusBar)) {
        SendMessageW(m_statusBar, WM_SIZE, 0, 0);
        RECT bar{};
        GetWindowRect(m_statusBar, &bar);
        statusHeight = bar.bottom - bar.top;
        const int width = client.right;
        int edges[4] = {width - 3 * kIndicatorWidth - 20, width - 2 * kIndicatorWidth - 20,
                        width - kIndicatorWidth - 20, -1};
        SendMessageW(m_statusBar, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
        UpdateIndicators();
    }
    const DockSide side = m_dock ? m_dock->Side() : DockSide::Floating;
    const FrameLayout frame = LayOutFrame({client.left, client.top, client.right, client.bottom},
                                          side, m_dock ? m_dock->Thickness() : 0, statusHeight);
    if (m_dock && m_dock->IsShown())
        m_dock->Place(frame.bar);
    const ScreenRect& panes = frame.panes;
    const int top = panes.top;
    const int bottom = panes.bottom;
    const int width = panes.right - panes.left;
    const int height = std::max(0, bottom - top);
    // The list takes two thirds at first; the divider keeps both panes visible.
    if (m_split < 0)
        m_split = top + height * 2 / 3;
    m_split = std::clamp(m_split, top + 20, std::max(top + 20, bottom - kDividerHeight - 20));
    if (m_list)
        MoveWindow(m_list->Handle(), panes.left, top, width, m_split - top, TRUE);
    MoveWindow(m_log.Handle(), panes.left, m_split + kDividerHeight, width,
               std::max(0, bottom - m_split - kDividerHeight), TRUE);
}

LRESULT CMainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result))
            return result;
        break;
    }
    case WM_INITMENUPOPUP:
        UpdateMenu(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return 0;
    case WM_EXITMENULOOP:
        ShowReady();
        return 0;
    case WM_CONTEXTMENU:
        if (m_list && reinterpret_cast<HWND>(wParam) == m_list->Handle()) {
            ShowAffiliateContextMenu(lParam);
            return 0;
        }
        break;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_ACTIVATE:
        // Coming to the front: another program may have changed the file.
        // Asked once the activation is over, not inside it.
        if (LOWORD(wParam) != WA_INACTIVE && m_doc)
            Post([this] { m_doc->OfferReloadIfChanged(!IsWindowEnabled(m_hwnd)); });
        break;
    case WM_SETFOCUS:
        if (m_list)
            SetFocus(m_list->Handle());
        return 0;
    case WM_SETCURSOR:
        if (m_bBusy && LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32650))); // IDC_APPSTARTING
            return TRUE;
        }
        if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == m_hwnd) {
            SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32645))); // IDC_SIZENS
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        OnSplitterDrag(message, lParam);
        return 0;
    case kRunTasks:
        RunPostedTasks();
        return 0;
    case WM_CLOSE:
        if (OnClose())
            DestroyWindow(m_hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        m_hwnd = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

void CMainWindow::OnSplitterDrag(UINT message, LPARAM lParam) {
    // The frame's own client area is only the divider between the panes.
    const int y = static_cast<short>(HIWORD(lParam));
    if (message == WM_LBUTTONDOWN) {
        m_bDragging = true;
        SetCapture(m_hwnd);
    } else if (message == WM_LBUTTONUP && m_bDragging) {
        m_bDragging = false;
        ReleaseCapture();
    } else if (message == WM_MOUSEMOVE && m_bDragging) {
        m_split = y - kDividerHeight / 2;
        Layout();
    }
}

bool CMainWindow::OnNotify(const NMHDR& header, LRESULT& result) {
    if (m_list && m_list->OnNotify(header, result))
        return true;
    if (m_log.OnNotify(header, result))
        return true;
    if (header.code == TTN_GETDISPINFOW) {
        auto& tip = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
        m_tipText = PromptLine(LoadText(m_instance, static_cast<UINT>(header.idFrom)), true);
        tip.lpszText = m_tipText.data();
        return true;
    }
    if (header.hwndFrom == m_toolBar && header.code == TBN_HOTITEMCHANGE) {
        const auto& hot = reinterpret_cast<const NMTBHOTITEM&>(header);
        if (hot.dwFlags & HICF_LEAVING)
            ShowReady();
        else
            ShowStatus(PromptLine(LoadText(m_instance, static_cast<UINT>(hot.idNew)), false));
        result = 0;
        return true;
    }
    return false;
}

CommandContext CMainWindow::Context() const {
    CommandContext context;
    context.selected = m_list ? m_list->SelectedCount() : 0;
    context.building = m_builds && m_builds->IsBuilding();
    context.hasAffiliates = m_doc && !m_doc->Project().m_mapResellers.IsEmpty();
    context.modified = m_doc && m_doc->IsModified();
    return context;
}

void CMainWindow::UpdateCommandUI() {
    if (!m_toolBar)
        return;
    const CommandContext context = Context();
    for (int id : RuledCommands())
        SendMessageW(m_toolBar, TB_ENABLEBUTTON, static_cast<WPARAM>(id),
                     MAKELPARAM(IsCommandEnabled(id, context) ? TRUE : FALSE, 0));
}

void CMainWindow::UpdateMenu(HMENU menu) {
    const CommandContext context = Context();
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1))
            continue;
        const std::vector<int>& ruled = RuledCommands();
        if (std::find(ruled.begin(), ruled.end(), static_cast<int>(id)) != ruled.end())
            EnableMenuItem(
                menu, id,
                MF_BYCOMMAND |
                    (IsCommandEnabled(static_cast<int>(id), context) ? MF_ENABLED : MF_GRAYED));
        if (id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR) {
            const bool shown = id == ID_VIEW_TOOLBAR ? m_dock && m_dock->IsShown()
                                                     : IsWindowVisible(m_statusBar) != FALSE;
            CheckMenuItem(menu, id, MF_BYCOMMAND | (shown ? MF_CHECKED : MF_UNCHECKED));
        }
    }
}

void CMainWindow::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
    if (flags == 0xFFFF && !menu) {
        ShowReady();
        return;
    }
    if (flags & (MF_POPUP | MF_SEPARATOR)) {
        ShowStatus(L"");
        return;
    }
    if (item >= ID_FILE_MRU_FILE1 && item < ID_FILE_MRU_FILE1 + RecentFiles::kSize)
        ShowStatus(LoadText(m_instance, ID_FILE_MRU_FILE1));
    else
        ShowStatus(PromptLine(LoadText(m_instance, item), false));
}

void CMainWindow::ShowStatus(const std::wstring& text) {
    SendMessageW(m_statusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void CMainWindow::ShowReady() {
    if (m_builds && m_builds->IsBuilding())
        return; // the build's count stays
    ShowStatus(LoadText(m_instance, IDS_IDLE_MESSAGE));
}

void CMainWindow::UpdateIndicators() {
    for (int i = 0; i < 3; ++i) {
        const bool on = (GetKeyState(kIndicatorKeys[i]) & 1) != 0;
        SendMessageW(m_statusBar, SB_SETTEXTW, static_cast<WPARAM>(i + 1),
                     reinterpret_cast<LPARAM>(on ? kIndicators[i] : L""));
    }
}

void CMainWindow::UpdateCaption() {
    SetWindowTextW(m_hwnd, Widen(m_doc->Caption()).c_str());
}

void CMainWindow::RebuildRecentFileMenu() {
    // The entries sit where the menu resource puts "Recent File".
    int position = -1;
    for (int i = GetMenuItemCount(m_fileMenu) - 1; i >= 0; --i) {
        const UINT id = GetMenuItemID(m_fileMenu, i);
        if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + RecentFiles::kSize) {
            DeleteMenu(m_fileMenu, static_cast<UINT>(i), MF_BYPOSITION);
            position = i;
        }
    }
    if (position < 0)
        return;
    const std::vector<std::string>& files = m_recentFiles.Files();
    if (files.empty()) {
        InsertMenuW(m_fileMenu, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING | MF_GRAYED,
                    ID_FILE_MRU_FILE1,
                    Widen(apptext::CommandTexts(ID_FILE_MRU_FILE1).menu).c_str());
        return;
    }
    const std::string folder = platform::CurrentDirectory();
    for (size_t i = 0; i < files.size() && i < RecentFiles::kSize; ++i) {
        const std::wstring text =
            Widen(windowtexts::RecentFileEntry(i, RecentFiles::DisplayName(files[i], folder)));
        InsertMenuW(m_fileMenu, static_cast<UINT>(position) + static_cast<UINT>(i),
                    MF_BYPOSITION | MF_STRING, ID_FILE_MRU_FILE1 + i, text.c_str());
    }
}

void CMainWindow::OnCommand(int id) {
    // Keys reach commands that their menu would show disabled.
    if (!IsCommandEnabled(id, Context()))
        return;
    if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + static_cast<int>(RecentFiles::kSize)) {
        OnOpenRecentFile(static_cast<size_t>(id - ID_FILE_MRU_FILE1));
        return;
    }
    Document& doc = *m_doc;
    switch (id) {
    case ID_FILE_NEW:
        doc.OnFileNew();
        break;
    case ID_FILE_OPEN:
        doc.OnFileOpen();
        break;
    case ID_FILE_SAVE:
        doc.OnFileSave();
        break;
    case ID_FILE_SAVE_AS:
        doc.OnFileSaveAs();
        break;
    case ID_IMPORT_AFFILIATES:
        ImportAffiliates(doc, *m_prompts);
        break;
    case ID_EXPORT_AFFILIATES:
        ExportAffiliates(doc, *m_prompts);
        break;
    case ID_APP_EXIT:
        PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
        break;
    case ID_VIEW_TOOLBAR:
        // Wherever the bar sits, docked or floating.
        if (m_dock)
            m_dock->Show(!m_dock->IsShown());
        break;
    case ID_VIEW_STATUS_BAR:
        ShowWindow(m_statusBar, IsWindowVisible(m_statusBar) ? SW_HIDE : SW_SHOW);
        Layout();
        break;
    case ID_PRODUCT_SETTINGS:
        doc.OnProductSettings();
        break;
    case ID_PROGRAM_UUID:
        doc.OnProgramUuid();
        break;
    case ID_ADD_AFFILIATE:
        doc.OnAddAffiliate();
        break;
    case ID_DELETE_AFFILIATE:
        OnDeleteAffiliate();
        break;
    case ID_AFFILIATE_PROPERTY:
        OnAffiliateProperty();
        break;
    case ID_SELECT_ALL:
        m_list->SelectAll();
        break;
    case ID_BUILD_SELECTED:
        m_builds->BuildSelected(doc, m_list->SelectedKeys());
        break;
    case ID_BUILD_ALL:
        m_builds->BuildAll(doc);
        break;
    case ID_STAMP_FROM_TEMPLATE:
        m_builds->StampFromTemplate(doc);
        break;
    case ID_BUILD_STOP:
        m_builds->RequestStop();
        break;
    case ID_BUILD_SELF_CREATOR:
        // Runs to its end on this thread.
        m_bBusy = true;
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514))); // IDC_WAIT
        m_builds->BuildSelfCreator(doc);
        m_bBusy = m_builds->IsBuilding();
        break;
    case ID_RUN_SETUP: {
        const std::vector<uint16_t> keys = m_list->SelectedKeys();
        if (keys.size() == 1)
            m_builds->RunSetup(doc, keys.front());
        break;
    }
    case ID_EXPLORE_OUTPUT:
        if (const CReseller* affiliate = m_list->FirstSelectedAffiliate())
            ShellOperations::Desktop().explore(OutputFolderOf(doc.Project(), *affiliate));
        break;
    case ID_BROWSE_WEBSITE:
        if (const CReseller* affiliate = m_list->FirstSelectedAffiliate())
            OpenDocumentLink(affiliate->m_strWebSite);
        break;
    case ID_BROWSE_PURCHASE:
        if (const CReseller* affiliate = m_list->FirstSelectedAffiliate())
            OpenDocumentLink(affiliate->m_strPurchaseLink);
        break;
    case ID_EMAIL:
        if (const CReseller* affiliate = m_list->FirstSelectedAffiliate())
            OpenDocumentLink(MailtoTarget(affiliate->m_strEmail));
        break;
    case ID_HELP_INDEX:
        OnHelpIndex();
        break;
    case ID_APP_ABOUT:
        ShowAboutBox(m_instance, m_hwnd);
        break;
    case ID_NEXT_PANE:
    case ID_PREV_PANE:
        FocusNextPane();
        break;
    default:
        break;
    }
    UpdateCommandUI();
}

void CMainWindow::OnDeleteAffiliate() {
    if (!m_prompts->Question(std::string(apptext::kDeleteAffiliates), PromptIcon::Information,
                             std::string(apptext::kDeleteAffiliatesCaption)))
        return;
    if (m_list->SelectedCount() == 0)
        return;
    m_list->DeleteSelected();
    m_doc->SetModifiedFlag(true);
}

void CMainWindow::OnAffiliateProperty() {
    if (m_list->SelectedCount() != 1)
        return;
    CReseller* affiliate = m_list->FirstSelectedAffiliate();
    AffiliateFields fields;
    if (!affiliate || !EditAffiliateFields(m_hwnd, m_doc->Project(), *affiliate, fields))
        return;
    m_doc->StoreEditedAffiliate(*affiliate, fields);
    m_list->RefreshRow(affiliate->m_nId);
}

void CMainWindow::EditedCell(uint32_t key, int column, const std::string& text) {
    // The record is found again by its key: it may have been deleted meanwhile.
    CReseller* affiliate = m_doc->Project().LookupReseller(static_cast<uint16_t>(key & 0xFFFF));
    if (!affiliate || affiliate->m_nId != key)
        return;
    if (m_doc->EditAffiliateCell(*affiliate, column, text)) {
        m_list->RefreshRow(key);
        m_doc->SetModifiedFlag(true);
    }
}

void CMainWindow::OnOpenRecentFile(size_t index) {
    if (index >= m_recentFiles.Files().size())
        return;
    const std::string path = m_recentFiles.Files()[index];
    m_doc->OpenRecentFile(path);
    RebuildRecentFileMenu();
}

void CMainWindow::OnHelpIndex() {
    const std::string self = platform::OwnExecutablePath();
    const std::string problem = OpenHelpIndex(
        HelpFilePath(std::string(platform::FolderPartOf(self))), ShellOperations::Desktop());
    if (!problem.empty())
        m_prompts->Message(problem, PromptIcon::Warning, {});
}

void CMainWindow::OnDropFiles(HDROP drop) {
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    const bool got = length > 0 && DragQueryFileW(drop, 0, path.data(), length + 1) == length;
    DragFinish(drop);
    if (!got)
        return;
    path.resize(length);
    // Opened after the drop has finished, as File > Open would.
    Post([this, file = Narrow(path)] { m_doc->OpenDocument(file); });
}

bool CMainWindow::OnClose() {
    if (!m_builds->MayClose(*m_doc))
        return false;
    WaitForBuilds();
    return true;
}

void CMainWindow::ShowAffiliateContextMenu(LPARAM at) {
    POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    if (at == -1) { // from the keyboard
        point = {5, 5};
        ClientToScreen(m_list->Handle(), &point);
    }
    HMENU menu = LoadMenuW(m_instance, MAKEINTRESOURCEW(IDR_AFFILIATE_POPUP));
    if (!menu)
        return;
    HMENU popup = GetSubMenu(menu, 0);
    UpdateMenu(popup);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, point.x, point.y, 0, m_hwnd, nullptr);
    DestroyMenu(menu);
}

void CMainWindow::FocusNextPane() {
    // Two panes: the next and the previous one are the same.
    SetFocus(GetFocus() == m_list->Handle() ? m_log.Handle() : m_list->Handle());
}

bool CMainWindow::TranslateKeys(MSG& msg) {
    if (msg.message == WM_KEYUP || msg.message == WM_KEYDOWN) {
        if (msg.wParam == VK_CAPITAL || msg.wParam == VK_NUMLOCK || msg.wParam == VK_SCROLL)
            UpdateIndicators();
    }
    if (!m_hwnd || !m_keys)
        return false;
    // The in-place editor keeps Delete and the Ctrl keys for its text.
    if (CCellEditor::IsEditor(GetFocus()) &&
        (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) &&
        (msg.wParam == VK_DELETE || (GetKeyState(VK_CONTROL) & 0x8000)))
        return false;
    // Only for the main window and its panes, not for a dialog it owns.
    if (msg.hwnd != m_hwnd && !IsChild(m_hwnd, msg.hwnd))
        return false;
    return TranslateAcceleratorW(m_hwnd, m_keys, &msg) != 0;
}

void CMainWindow::Start(const std::vector<std::string>& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (!args[i].empty() && args[i][0] != '-' && args[i][0] != '/') {
            m_doc->OpenDocument(args[i]);
            RebuildRecentFileMenu();
            UpdateCommandUI();
            return;
        }
    }
    ShowWelcome();
    UpdateCommandUI();
}

void CMainWindow::ShowWelcome() {
    const WelcomeAnswer choice =
        RunWelcomeDialog(m_instance, m_hwnd, m_recentFiles.Files(), platform::CurrentDirectory());
    switch (choice.choice) {
    case WelcomeChoice::Nothing:
        break;
    case WelcomeChoice::NewProject:
        m_doc->OnFileNew();
        break;
    case WelcomeChoice::OpenRecent: {
        const auto& files = m_recentFiles.Files();
        const auto it = std::find(files.begin(), files.end(), choice.file);
        if (it != files.end())
            OnOpenRecentFile(static_cast<size_t>(it - files.begin()));
        break;
    }
    case WelcomeChoice::MoreFiles:
        m_doc->OnFileOpen();
        break;
    }
}

void CMainWindow::Post(std::function<void()> task) {
    {
        const std::lock_guard<std::mutex> lock(m_tasksLock);
        m_tasks.push_back(std::move(task));
    }
    PostMessageW(m_hwnd, kRunTasks, 0, 0);
}

void CMainWindow::RunPostedTasks() {
    for (;;) {
        std::function<void()> task;
        {
            const std::lock_guard<std::mutex> lock(m_tasksLock);
            if (m_tasks.empty())
                return;
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
        }
        task();
    }
}

void CMainWindow::WaitForBuilds() {
    // The workers wait for their log lines on this thread, so this thread
    // keeps serving messages instead of joining them.
    while (m_builds->HasJobs()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        RunPostedTasks();
    }
}

void CMainWindow::ProjectReplaced() {
    m_list->SetProject(m_doc->Project());
    m_list->CreateList();
    UpdateCommandUI();
}

void CMainWindow::RowsChanged() {
    m_list->RefreshAllRows();
    UpdateCommandUI();
}

void CMainWindow::TitleChanged() {
    UpdateCaption();
    RebuildRecentFileMenu();
}

void CMainWindow::ModifiedChanged(bool) {
    UpdateCommandUI();
}

void CMainWindow::RecentFilesChanged() {
    RebuildRecentFileMenu();
}

void CMainWindow::BuildStarted() {
    m_bBusy = true;
    UpdateCommandUI();
}

void CMainWindow::BuildProgress(size_t index, size_t count) {
    ShowStatus(Widen(windowtexts::BuildProgress(index, count)));
}

void CMainWindow::BuildFinished(int) {
    m_bBusy = m_builds->IsBuilding();
    if (!m_bBusy)
        ShowReady();
    UpdateCommandUI();
}
