#include "ui/MainFrame.h"

#include "app/AffiliateCsvCommands.h"
#include "app/CommandIds.h"
#include "app/CommandRules.h"
#include "ui/AppCommands.h"
#include "ui/RecentFileList.h"
#include "ui/StatusListView.h"
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

namespace {

const QString kReady = QStringLiteral("Ready");

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
    AddCommand(ID_FILE_NEW, "&New\tCtrl+N", "Create a new document\nNew")
        ->setShortcut(QKeySequence("Ctrl+N"));
    AddCommand(ID_FILE_OPEN, "&Open...\tCtrl+O", "Open an existing document\nOpen")
        ->setShortcut(QKeySequence("Ctrl+O"));
    AddCommand(ID_FILE_SAVE, "&Save\tCtrl+S", "Save the active document\nSave")
        ->setShortcut(QKeySequence("Ctrl+S"));
    AddCommand(ID_FILE_SAVE_AS, "Save &As...", "Save the active document with a new name\nSave As");
    AddCommand(ID_IMPORT_AFFILIATES, "&Import Affiliates...",
               "Add affiliates from a CSV file\nImport Affiliates");
    AddCommand(ID_EXPORT_AFFILIATES, "&Export Affiliates...",
               "Save the affiliates as a CSV file\nExport Affiliates");
    AddCommand(ID_APP_EXIT, "E&xit", "Quit the application; prompts to save documents\nExit");
    AddCommand(ID_VIEW_TOOLBAR, "&Toolbar", "Show or hide the toolbar\nToggle ToolBar")
        ->setCheckable(true);
    AddCommand(ID_VIEW_STATUS_BAR, "&Status Bar", "Show or hide the status bar\nToggle StatusBar")
        ->setCheckable(true);
    AddCommand(ID_PRODUCT_SETTINGS, "&Product Settings",
               "View or edit product information\nProduct Settings");
    AddCommand(ID_PROGRAM_UUID, "Program &Unique ID", "Program Universally Unique Identifier ");
    AddCommand(ID_ADD_AFFILIATE, "&Add Affiliate",
               "Create a new affiliate profile\nAdd a New Affiliate");
    QAction* del = AddCommand(ID_DELETE_AFFILIATE, "&Delete Affiliate",
                              "Delete selected affiliate profiles\nDelete Affiliate");
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
    AddCommand(ID_AFFILIATE_PROPERTY, "&Property",
               "View or Edit Affiliate Profiles\nAffiliate Property");
    AddCommand(ID_SELECT_ALL, "Select All", "")->setShortcut(QKeySequence("Ctrl+A"));
    AddCommand(ID_BUILD_SELECTED, "Build Selected\tF7",
               "Build custom setup files for seleted affiliates\nBuild Selected")
        ->setShortcut(QKeySequence(Qt::Key_F7));
    AddCommand(ID_BUILD_ALL, "Build All\tF8",
               "Build custom setup files for all affiliates\nBuild All")
        ->setShortcut(QKeySequence(Qt::Key_F8));
    AddCommand(ID_STAMP_FROM_TEMPLATE, "Stamp from Signed Template...",
               "Write the custom setups of all affiliates as stamped copies of the signed "
               "template\nStamp from Signed Template");
    AddCommand(ID_BUILD_STOP, "S&top Build",
               "Stop the running build after the custom setup being written\nStop Build");
    AddCommand(ID_BUILD_SELF_CREATOR, "&Build Self Creator",
               "Create stand-alone application for affiliates to make custom builds by "
               "themselves.\nBuild self creator");
    AddCommand(ID_RUN_SETUP, "&Run Setup\tF9", "Run affiliate custom setup\nRun Setup")
        ->setShortcut(QKeySequence(Qt::Key_F9));
    AddCommand(ID_EXPLORE_OUTPUT, "E&xplore Output Folder",
               "Explores the folder where the affiliate setup file is stored.");
    AddCommand(ID_BROWSE_WEBSITE, "Browse Affiliate Website", "Browse affiliate website online.");
    AddCommand(ID_BROWSE_PURCHASE, "Browse Purchase Link", "View affiliate purchase page online.");
    AddCommand(ID_EMAIL, "&Email", "Write email to your affiliate,");
    AddCommand(ID_HELP_INDEX, "Index && Content",
               "Displays the table of indexs and contents for the online documentation.");
    AddCommand(ID_HELP_WEBPAGE, "Product &Webpage", "");
    AddCommand(ID_APP_ABOUT, "&About Velkora...",
               "Display program information, version number and copyright\nAbout");
    for (auto& [id, action] : m_actions)
        action->setIcon(ToolbarIcon(id));
    // Icons belong to the toolbar; menus stay plain text.
    for (auto& [id, action] : m_actions)
        action->setIconVisibleInMenu(false);
}

void CMainFrame::CreateMenus() {
    m_fileMenu = menuBar()->addMenu("&File");
    m_fileMenu->addAction(Action(ID_FILE_NEW));
    m_fileMenu->addAction(Action(ID_FILE_OPEN));
    m_fileMenu->addAction(Action(ID_FILE_SAVE));
    m_fileMenu->addAction(Action(ID_FILE_SAVE_AS));
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(Action(ID_IMPORT_AFFILIATES));
    m_fileMenu->addAction(Action(ID_EXPORT_AFFILIATES));
    m_fileMenu->addSeparator();
    m_recentSeparator = m_fileMenu->addSeparator();
    m_fileMenu->addAction(Action(ID_APP_EXIT));
    RebuildRecentFileMenu();

    QMenu* view = menuBar()->addMenu("&View");
    view->addAction(Action(ID_VIEW_TOOLBAR));
    view->addAction(Action(ID_VIEW_STATUS_BAR));

    QMenu* program = menuBar()->addMenu("&Program");
    program->addAction(Action(ID_PRODUCT_SETTINGS));
    program->addAction(Action(ID_PROGRAM_UUID));

    QMenu* affiliates = menuBar()->addMenu("&Affiliates");
    affiliates->addAction(Action(ID_ADD_AFFILIATE));
    affiliates->addAction(Action(ID_DELETE_AFFILIATE));
    affiliates->addAction(Action(ID_AFFILIATE_PROPERTY));

    QMenu* build = menuBar()->addMenu("&Build");
    build->addAction(Action(ID_BUILD_SELECTED));
    build->addAction(Action(ID_BUILD_ALL));
    build->addAction(Action(ID_STAMP_FROM_TEMPLATE));
    build->addAction(Action(ID_BUILD_SELF_CREATOR));
    build->addAction(Action(ID_BUILD_STOP));
    build->addSeparator();
    build->addAction(Action(ID_RUN_SETUP));

    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction(Action(ID_HELP_INDEX));
    help->addAction(Action(ID_HELP_WEBPAGE));
    help->addAction(Action(ID_APP_ABOUT));

    for (QMenu* menu : {m_fileMenu, view, program, affiliates, build, help})
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
        auto* placeholder = new QAction("Recent File", this);
        placeholder->setData(ID_FILE_MRU_FILE1);
        placeholder->setEnabled(false);
        m_recentActions << placeholder;
    }
    for (int i = 0; i < files.size(); ++i) {
        auto* a = new QAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(CRecentFileList::DisplayName(files[i])), this);
        a->setData(ID_FILE_MRU_FILE1 + i);
        a->setStatusTip(QStringLiteral("Open this document"));
        const QString path = files[i];
        connect(a, &QAction::triggered, this, [this, path] { m_app.OnOpenRecentFile(path); });
        m_recentActions << a;
    }
    for (QAction* a : m_recentActions)
        m_fileMenu->insertAction(m_recentSeparator, a);
}

void CMainFrame::CreateToolBar() {
    m_toolBar = addToolBar("Standard");
    m_toolBar->setObjectName("toolBar");
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    const int order[] = {
        ID_FILE_NEW,      ID_FILE_OPEN,          ID_FILE_SAVE,        0, ID_DELETE_AFFILIATE,
        ID_ADD_AFFILIATE, ID_AFFILIATE_PROPERTY, ID_PRODUCT_SETTINGS, 0, ID_BUILD_SELECTED,
        ID_BUILD_ALL,     ID_BUILD_SELF_CREATOR, ID_RUN_SETUP,        0, ID_APP_ABOUT};
    for (int id : order) {
        if (id == 0)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(Action(id));
    }
    Action(ID_VIEW_TOOLBAR)->setChecked(true);
}

void CMainFrame::CreateStatusBar() {
    auto makeIndicator = [this](const char* text) {
        auto* label = new QLabel(text, this);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance("SCRL") + 12);
        label->setEnabled(false);
        statusBar()->addPermanentWidget(label);
        return label;
    };
    m_capIndicator = makeIndicator("CAP");
    m_numIndicator = makeIndicator("NUM");
    m_scrlIndicator = makeIndicator("SCRL");
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
        statusBar()->showMessage(QStringLiteral("affiliate %1 of %2").arg(index).arg(count));
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
    const std::pair<int, const char*> items[] = {
        {ID_ADD_AFFILIATE, "&New Affiliate"},
        {ID_AFFILIATE_PROPERTY, "Affiliate &Property"},
        {ID_DELETE_AFFILIATE, "&Delete"},
        {0, nullptr},
        {ID_BUILD_SELECTED, "&Build"},
        {ID_RUN_SETUP, "&Run"},
        {0, nullptr},
        {ID_EXPLORE_OUTPUT, "E&xplore Output Folder"},
        {ID_BROWSE_WEBSITE, "Browse Affiliate Website"},
        {ID_BROWSE_PURCHASE, "Browse Purchase Link"},
        {ID_EMAIL, "&Email"},
    };
    for (const auto& [id, text] : items) {
        if (id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* command = Action(id);
        QAction* item = menu->addAction(QString::fromLatin1(text));
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
