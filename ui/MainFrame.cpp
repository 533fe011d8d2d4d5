#include "ui/MainFrame.h"

#include "app/AffiliateCsvCommands.h"
#include "app/CommandIds.h"
#include "app/CommandRules.h"
#include "ui/AppCommands.h"
#include "ui/ProjectText.h"
#include "ui/RecentFileList.h"
#include "ui/StatusListView.h"
#include "ui/StringTable.h"
#include "ui/ToolbarImages.h"
#include "ui/VelkoraDoc.h"
#include "ui/VelkoraView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

const QString kReady = AppText(apptext::kReady);

QString FirstLine(const QString& prompt) {
    return prompt.section(QLatin1Char('\n'), 0, 0);
}

QString SecondLine(const QString& prompt) {
    return prompt.contains(QLatin1Char('\n')) ? prompt.section(QLatin1Char('\n'), 1) : QString();
}

} // namespace

CMainFrame::CMainFrame(IAppCommands& app) : m_app(app) {
    setObjectName("mainFrame");
    setWindowIcon(AppIcon());
    CreateActions();
    CreatePanes();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    ConnectCommands();
    setAcceptDrops(true);
    UpdateCaption();

    // Enabling rules are evaluated when the state changes and when a menu
    // opens; nothing polls.
    qApp->installEventFilter(this);
    UpdateCommandUI();
}

QAction* CMainFrame::AddCommand(int id, const QString& text, const QString& prompt) {
    auto* action = new QAction(text, this);
    action->setData(id);
    action->setObjectName(QStringLiteral("cmd%1").arg(id));
    action->setStatusTip(FirstLine(prompt));
    const QString tip = SecondLine(prompt);
    action->setToolTip(tip.isEmpty() ? FirstLine(prompt) : tip);
    m_actions[id] = action;
    addAction(action); // keys work wherever the focus is in the window
    return action;
}

QAction* CMainFrame::Action(int id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::CreateActions() {
    for (const apptext::CommandText& text : apptext::kCommandTexts)
        if (text.id != ID_FILE_MRU_FILE1 && text.id != ID_LOG_CLEAR)
            AddCommand(text.id, AppText(text.menu), AppText(text.prompt));
    Action(ID_FILE_NEW)->setShortcut(QKeySequence("Ctrl+N"));
    Action(ID_FILE_OPEN)->setShortcut(QKeySequence("Ctrl+O"));
    Action(ID_FILE_SAVE)->setShortcut(QKeySequence("Ctrl+S"));
    Action(ID_VIEW_TOOLBAR)->setCheckable(true);
    Action(ID_VIEW_STATUS_BAR)->setCheckable(true);
    QAction* del = Action(ID_DELETE_AFFILIATE);
    // Its menu item shows no key, so the keys are bound beside the command
    // rather than on it.
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Delete), QKeySequence("Shift+Del"), QKeySequence("Ctrl+X")}) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setObjectName(QStringLiteral("deleteKey"));
        connect(shortcut, &QShortcut::activated, del, [del] {
            if (del->isEnabled())
                del->trigger();
        });
    }
    Action(ID_SELECT_ALL)->setShortcut(QKeySequence("Ctrl+A"));
    Action(ID_BUILD_SELECTED)->setShortcut(QKeySequence(Qt::Key_F7));
    Action(ID_BUILD_ALL)->setShortcut(QKeySequence(Qt::Key_F8));
    Action(ID_RUN_SETUP)->setShortcut(QKeySequence(Qt::Key_F9));
    for (auto& [id, action] : m_actions)
        action->setIcon(ToolbarIcon(id));
    // Icons belong to the toolbar; menus stay plain text.
    for (auto& [id, action] : m_actions)
        action->setIconVisibleInMenu(false);
}

void CMainFrame::CreateMenus() {
    std::vector<QMenu*> menus;
    for (const apptext::MenuItem& item : apptext::kMainMenu) {
        if (item.id == apptext::kMenuTitle) {
            menus.push_back(menuBar()->addMenu(AppText(item.text)));
            if (menus.size() == 1)
                m_fileMenu = menus.front();
        } else if (item.id == ID_FILE_MRU_FILE1) {
            // The recent files go before this separator.
            m_recentSeparator = menus.back()->addSeparator();
        } else if (item.id == 0) {
            // A separator right after the recent files is the one above.
            if (menus.back()->actions().isEmpty() ||
                menus.back()->actions().back() != m_recentSeparator)
                menus.back()->addSeparator();
        } else {
            menus.back()->addAction(Action(item.id));
        }
    }
    RebuildRecentFileMenu();
    for (QMenu* menu : menus)
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
}

void CMainFrame::RebuildRecentFileMenu() {
    for (QAction* a : m_recentActions) {
        m_fileMenu->removeAction(a);
        a->deleteLater();
    }
    m_recentActions.clear();
    const QStringList files = m_app.RecentFiles().Files();
    if (files.isEmpty()) {
        auto* placeholder =
            new QAction(AppText(apptext::CommandTexts(ID_FILE_MRU_FILE1).menu), this);
        placeholder->setData(ID_FILE_MRU_FILE1);
        placeholder->setEnabled(false);
        m_recentActions << placeholder;
    }
    for (int i = 0; i < files.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        const std::string name = ToProjectText(CRecentFileList::DisplayName(files[i]));
        auto* a = new QAction(
            AppText(apptext::FormatText(apptext::kRecentFileEntry, {number, name})), this);
        a->setData(ID_FILE_MRU_FILE1 + i);
        a->setStatusTip(AppText(apptext::CommandTexts(ID_FILE_MRU_FILE1).prompt));
        const QString path = files[i];
        connect(a, &QAction::triggered, this, [this, path] { m_app.OnOpenRecentFile(path); });
        m_recentActions << a;
    }
    for (QAction* a : m_recentActions)
        m_fileMenu->insertAction(m_recentSeparator, a);
}

void CMainFrame::CreateToolBar() {
    m_toolBar = addToolBar(AppText(apptext::kToolBarName));
    m_toolBar->setObjectName("toolBar");
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : apptext::kToolBarButtons) {
        if (id == 0)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(Action(id));
    }
    Action(ID_VIEW_TOOLBAR)->setChecked(true);
}

void CMainFrame::CreateStatusBar() {
    auto makeIndicator = [this](std::string_view text) {
        auto* label = new QLabel(AppText(text), this);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(
            label->fontMetrics().horizontalAdvance(AppText(apptext::kScrollLockIndicator)) + 12);
        label->setEnabled(false);
        statusBar()->addPermanentWidget(label);
        return label;
    };
    m_capIndicator = makeIndicator(apptext::kCapsLockIndicator);
    m_numIndicator = makeIndicator(apptext::kNumLockIndicator);
    m_scrlIndicator = makeIndicator(apptext::kScrollLockIndicator);
    statusBar()->showMessage(kReady);
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& text) {
        if (text.isEmpty())
            statusBar()->showMessage(kReady);
    });
    Action(ID_VIEW_STATUS_BAR)->setChecked(true);
}

void CMainFrame::CreatePanes() {
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName("panes");
    m_view = new CVelkoraView(m_app.Doc(), m_app.Prompts(), m_splitter);
    m_log = new CStatusListView(m_splitter);
    m_splitter->addWidget(m_view);
    m_splitter->addWidget(m_log);
    m_splitter->setStretchFactor(0, 2);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setChildrenCollapsible(false);
    setCentralWidget(m_splitter);
    m_app.Doc().SetLog(m_log);
    m_app.Doc().SetFrame(this);
    m_view->setFocus();
}

void CMainFrame::ConnectCommands() {
    CVelkoraDoc& doc = m_app.Doc();
    auto on = [this](int id, auto&& f) { connect(Action(id), &QAction::triggered, this, f); };
    on(ID_FILE_NEW, [this] { m_app.OnFileNew(); });
    on(ID_FILE_OPEN, [this] { m_app.OnFileOpen(); });
    on(ID_FILE_SAVE, [&doc] { doc.OnFileSave(); });
    on(ID_FILE_SAVE_AS, [&doc] { doc.OnFileSaveAs(); });
    on(ID_IMPORT_AFFILIATES, [&doc] { ImportAffiliates(doc.Core(), doc.AppPrompts()); });
    on(ID_EXPORT_AFFILIATES, [&doc] { ExportAffiliates(doc.Core(), doc.AppPrompts()); });
    on(ID_APP_EXIT, [this] { close(); });
    on(ID_VIEW_TOOLBAR, [this](bool shown) { m_toolBar->setVisible(shown); });
    on(ID_VIEW_STATUS_BAR, [this](bool shown) { statusBar()->setVisible(shown); });
    on(ID_PRODUCT_SETTINGS, [&doc] { doc.OnProductSettings(); });
    on(ID_PROGRAM_UUID, [&doc] { doc.OnProgramUuid(); });
    on(ID_ADD_AFFILIATE, [&doc] { doc.OnAddAffiliate(); });
    on(ID_DELETE_AFFILIATE, [this] { m_view->OnDeleteAffiliate(); });
    on(ID_AFFILIATE_PROPERTY, [this] { m_view->OnAffiliateProperty(); });
    on(ID_SELECT_ALL, [this] { m_view->OnSelectAll(); });
    on(ID_BUILD_SELECTED, [this, &doc] { doc.BuildSelected(m_view->SelectedKeys()); });
    on(ID_BUILD_ALL, [&doc] { doc.OnBuildAll(); });
    on(ID_STAMP_FROM_TEMPLATE, [&doc] { doc.OnStampFromTemplate(); });
    on(ID_BUILD_SELF_CREATOR, [&doc] { doc.OnBuildSelfCreator(); });
    on(ID_BUILD_STOP, [&doc] { doc.StopBuild(); });
    on(ID_RUN_SETUP, [this, &doc] {
        const std::vector<uint16_t> keys = m_view->SelectedKeys();
        if (keys.size() == 1)
            doc.RunSetup(keys.front());
    });
    on(ID_EXPLORE_OUTPUT, [this] { m_view->OnExploreOutputFolder(); });
    on(ID_BROWSE_WEBSITE, [this] { m_view->OnBrowseWebsite(); });
    on(ID_BROWSE_PURCHASE, [this] { m_view->OnBrowsePurchaseLink(); });
    on(ID_EMAIL, [this] { m_view->OnEmail(); });
    on(ID_HELP_INDEX, [this] { m_app.OnHelpIndex(); });
    on(ID_APP_ABOUT, [this] { m_app.OnAppAbout(); });

    // Any state change re-evaluates the commands at once.
    connect(&doc, &CVelkoraDoc::titleChanged, this, &CMainFrame::UpdateCaption);
    connect(&doc, &CVelkoraDoc::modifiedChanged, this, &CMainFrame::UpdateCommandUI);
    connect(&doc, &CVelkoraDoc::recentFilesChanged, this, &CMainFrame::RebuildRecentFileMenu);
    connect(&doc, &CVelkoraDoc::buildStarted, this, &CMainFrame::UpdateCommandUI);
    connect(&doc, &CVelkoraDoc::buildFinished, this, &CMainFrame::UpdateCommandUI);
    connect(&doc, &CVelkoraDoc::buildProgress, this, [this](int index, int count) {
        const std::string n = std::to_string(index), total = std::to_string(count);
        statusBar()->showMessage(AppText(apptext::FormatText(apptext::kBuildProgress, {n, total})));
    });
    connect(&doc, &CVelkoraDoc::buildFinished, this, [this] {
        if (!m_app.Doc().IsBuilding())
            statusBar()->showMessage(kReady);
    });
    connect(&doc, &CVelkoraDoc::projectReplaced, this, [this] {
        m_view->CreateList();
        UpdateCommandUI();
    });
    connect(&doc, &CVelkoraDoc::viewsUpdateRequested, this, [this] {
        m_view->RefreshAllRows();
        UpdateCommandUI();
    });
    connect(m_view, &CVelkoraView::selectionStateChanged, this, &CMainFrame::UpdateCommandUI);
    connect(m_view, &CVelkoraView::contextMenuWanted, this, &CMainFrame::ShowAffiliateContextMenu);

    auto* next = new QShortcut(QKeySequence(Qt::Key_F6), this);
    connect(next, &QShortcut::activated, this, [this] { FocusNextPane(true); });
    auto* previous = new QShortcut(QKeySequence("Shift+F6"), this);
    connect(previous, &QShortcut::activated, this, [this] { FocusNextPane(false); });
}

void CMainFrame::UpdateCommandUI() {
    const CVelkoraDoc& doc = m_app.Doc();
    CommandContext context;
    context.selected = static_cast<size_t>(std::max(0, m_view->SelectedCount()));
    context.building = doc.IsBuilding();
    context.hasAffiliates = !doc.Project().m_mapResellers.IsEmpty();
    context.modified = doc.IsModified();
    for (int id : RuledCommands())
        if (QAction* action = Action(id))
            action->setEnabled(IsCommandEnabled(id, context));
    Action(ID_VIEW_TOOLBAR)->setChecked(!m_toolBar->isHidden());
    Action(ID_VIEW_STATUS_BAR)->setChecked(!statusBar()->isHidden());
}

void CMainFrame::UpdateCaption() {
    setWindowTitle(m_app.Doc().Caption());
}

QMenu* CMainFrame::CreateAffiliateContextMenu(QWidget* parent) {
    UpdateCommandUI();
    auto* menu = new QMenu(parent);
    for (const auto& [id, text] : apptext::kAffiliateContextMenu) {
        if (id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* command = Action(id);
        QAction* item = menu->addAction(AppText(text));
        item->setData(id);
        item->setEnabled(command->isEnabled());
        item->setStatusTip(command->statusTip());
        connect(item, &QAction::triggered, command, &QAction::trigger);
    }
    return menu;
}

void CMainFrame::ShowAffiliateContextMenu(const QPoint& globalPos) {
    QMenu* menu = CreateAffiliateContextMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

void CMainFrame::FocusNextPane(bool forward) {
    Q_UNUSED(forward); // two panes: next and previous are the same pane
    if (m_view->hasFocus() || m_view->isAncestorOf(QApplication::focusWidget()))
        m_log->setFocus(Qt::ShortcutFocusReason);
    else
        m_view->setFocus(Qt::ShortcutFocusReason);
}

void CMainFrame::closeEvent(QCloseEvent* e) {
    if (!m_app.Doc().MayClose()) {
        e->ignore();
        return;
    }
    e->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* e) {
    for (const QUrl& url : e->mimeData()->urls()) {
        if (url.isLocalFile()) {
            e->acceptProposedAction();
            return;
        }
    }
}

void CMainFrame::dropEvent(QDropEvent* e) {
    for (const QUrl& url : e->mimeData()->urls()) {
        if (url.isLocalFile()) {
            e->acceptProposedAction();
            const QString path = url.toLocalFile();
            // Opened after the drop has finished, as File > Open would.
            QTimer::singleShot(0, this, [this, path] { m_app.Doc().OpenDocument(path); });
            return;
        }
    }
}

void CMainFrame::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (m_bSplitterSized)
        return;
    m_bSplitterSized = true;
    const int total = m_splitter->height();
    m_splitter->setSizes({total * 2 / 3, total - total * 2 / 3});
}

void CMainFrame::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    // Coming to the front: another program may have changed the file. Asked
    // once the activation is over, not inside it.
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        QTimer::singleShot(0, this, [this] { m_app.Doc().OfferReloadIfChanged(); });
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress && watched->isWindowType()) {
        // The lock keys' state is not readable on every desktop: each press
        // toggles its indicator.
        switch (static_cast<QKeyEvent*>(e)->key()) {
        case Qt::Key_CapsLock:
            m_capIndicator->setEnabled(!m_capIndicator->isEnabled());
            break;
        case Qt::Key_NumLock:
            m_numIndicator->setEnabled(!m_numIndicator->isEnabled());
            break;
        case Qt::Key_ScrollLock:
            m_scrlIndicator->setEnabled(!m_scrlIndicator->isEnabled());
            break;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, e);
}
