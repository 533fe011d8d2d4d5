#pragma once

#include "app/BuildRunner.h"
#include "app/CommandRules.h"
#include "app/DocumentEvents.h"
#include "ui/win32/BuildLogPane.h"

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>
#include <windows.h>

// After windows.h, which it needs.
#include <shellapi.h>

class CAffiliateListView;
class CToolBarDock;
class CWin32AppPrompts;
class Document;
class IDocumentDialogs;
class RecentFiles;

// The main window of velkora.exe: the affiliate list above the build log
// with a movable divider, the menus, the toolbar with its tool tips, the
// status bar with the commands' prompts and the build's count, and the
// keys. It draws the core's state and hands every command to the core
// (app/): the document, the builds, the command rules.
class CMainWindow : private IDocumentEvents, private IBuildEvents {
public:
    CMainWindow(HINSTANCE instance, RecentFiles& recentFiles);
    ~CMainWindow() override;
    CMainWindow(const CMainWindow&) = delete;
    CMainWindow& operator=(const CMainWindow&) = delete;

    // Creates the window with its panes and shows it (maximised by default).
    bool Create(int show);
    // Opens the project named on the command line, else shows the Welcome
    // dialog and carries out its choice.
    void Start(const std::vector<std::string>& args);
    // The window's keys and the lock keys' indicators; true when msg was used.
    bool TranslateKeys(MSG& msg);
    HWND Handle() const { return m_hwnd; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCreate();
    void CreateToolBar();
    void CreateStatusBar();
    void Layout();
    bool OnNotify(const NMHDR& header, LRESULT& result);
    void OnCommand(int id);
    void OnDeleteAffiliate();
    void OnOpenRecentFile(size_t index);
    void OnHelpIndex();
    void OnDropFiles(HDROP drop);
    bool OnClose();
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    void OnSplitterDrag(UINT message, LPARAM lParam);

    CommandContext Context() const;
    void UpdateCommandUI();
    void UpdateMenu(HMENU menu);
    void UpdateCaption();
    void UpdateIndicators();
    void RebuildRecentFileMenu();
    void ShowStatus(const std::wstring& text);
    void ShowReady();
    void ShowAffiliateContextMenu(LPARAM at);
    void FocusNextPane();
    void ShowWelcome();
    void OnAffiliateProperty();
    void EditedCell(uint32_t key, int column, const std::string& text);

    // Runs task on the window's thread; any thread.
    void Post(std::function<void()> task);
    void RunPostedTasks();
    // Serves the window's messages until every build has ended.
    void WaitForBuilds();

    // IDocumentEvents
    void ProjectReplaced() override;
    void RowsChanged() override;
    void TitleChanged() override;
    void ModifiedChanged(bool modified) override;
    void RecentFilesChanged() override;
    // IBuildEvents
    void BuildStarted() override;
    void BuildProgress(size_t index, size_t count) override;
    void BuildFinished(int errors) override;

    HINSTANCE m_instance;
    RecentFiles& m_recentFiles;
    HWND m_hwnd = nullptr;
    std::unique_ptr<CToolBarDock> m_dock;
    HWND m_toolBar = nullptr; // the dock's buttons
    HWND m_statusBar = nullptr;
    HACCEL m_keys = nullptr;
    HMENU m_fileMenu = nullptr;
    std::unique_ptr<CWin32AppPrompts> m_prompts;
    std::unique_ptr<IDocumentDialogs> m_dialogs;
    std::unique_ptr<Document> m_doc;
    std::unique_ptr<CAffiliateListView> m_list;
    CBuildLogPane m_log;
    std::unique_ptr<BuildRunner> m_builds;
    std::mutex m_tasksLock;
    std::deque<std::function<void()>> m_tasks;
    std::wstring m_tipText;
    int m_split = -1; // the divider's top, in client coordinates
    bool m_bDragging = false;
    bool m_bBusy = false; // a build or Build Self Creator runs: the wait cursor
};
