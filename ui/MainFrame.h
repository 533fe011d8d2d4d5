#pragma once

#include <QMainWindow>

#include <map>

class CStatusListView;
class IAppCommands;
class CVelkoraView;
class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

// The main window: the affiliate list above the build log, the menus, the
// toolbar, the status bar and the keys, and the enabling rules of every
// command. The commands themselves are carried out by the document, the list
// and the application.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(IAppCommands& app);

    CVelkoraView* View() const { return m_view; }
    CStatusListView* Log() const { return m_log; }
    QSplitter* Splitter() const { return m_splitter; }
    QToolBar* ToolBar() const { return m_toolBar; }
    // The action of a command identifier (menus, toolbar and keys share it).
    QAction* Action(int id) const;

    // Enables, disables and ticks every command from the current state.
    void UpdateCommandUI();
    // Caption "<title> - Velkora".
    void UpdateCaption();
    void RebuildRecentFileMenu();
    // The list's context menu, its items acting like the main commands.
    QMenu* CreateAffiliateContextMenu(QWidget* parent);
    void ShowAffiliateContextMenu(const QPoint& globalPos);

    // F6 and Shift+F6.
    void FocusNextPane(bool forward);

protected:
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QAction* AddCommand(int id, const QString& text, const QString& prompt);
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreatePanes();
    void ConnectCommands();

    IAppCommands& m_app;
    std::map<int, QAction*> m_actions;
    CVelkoraView* m_view = nullptr;
    CStatusListView* m_log = nullptr;
    QSplitter* m_splitter = nullptr;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_recentMenuAnchor = nullptr;
    QAction* m_recentSeparator = nullptr;
    QList<QAction*> m_recentActions;
    QLabel* m_capIndicator = nullptr;
    QLabel* m_numIndicator = nullptr;
    QLabel* m_scrlIndicator = nullptr;
    bool m_bSplitterSized = false;
};
