#include "ui/StatusListView.h"

#include "app/CommandIds.h"
#include "ui/BuildLogModel.h"
#include "ui/ProjectText.h"
#include "ui/StringTable.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QThread>

CStatusListView::CStatusListView(QWidget* parent)
    : QTableView(parent), m_model(new BuildLogModel(this)) {
    setObjectName("buildLog");
    setModel(m_model);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    setWordWrap(false);
    setShowGrid(false);
    setCornerButtonEnabled(false);
    // Tab moves on to the next pane, as in a list.
    setTabKeyNavigation(false);
    horizontalHeader()->hide();
    // The one column is always as wide as the pane.
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    FitRowHeight();

    m_frame.setSingleShot(true);
    m_frame.setInterval(kFrameMilliseconds);
    connect(&m_frame, &QTimer::timeout, this, &CStatusListView::ReleaseRepaint);
}

void CStatusListView::Append(const std::string& line) {
    const QString text = FromProjectText(line);
    if (QThread::currentThread() == thread()) {
        AppendHere(text);
        return;
    }
    // The worker waits here until the user-interface thread has added the line.
    QMetaObject::invokeMethod(
        this, [this, text] { AppendHere(text); }, Qt::BlockingQueuedConnection);
}

void CStatusListView::AppendHere(const QString& line) {
    HoldRepaint();
    m_model->Add(line);
    scrollToBottom();
    emit lineAppended(line);
}

void CStatusListView::HoldRepaint() {
    if (m_frame.isActive())
        return;
    setUpdatesEnabled(false);
    m_frame.start();
}

void CStatusListView::ReleaseRepaint() {
    // Repaints the whole pane once, with every line added meanwhile.
    setUpdatesEnabled(true);
}

void CStatusListView::Clear() {
    m_model->Clear();
}

int CStatusListView::count() const {
    return m_model->rowCount();
}

QStringList CStatusListView::Lines() const {
    return m_model->Lines();
}

void CStatusListView::FitRowHeight() {
    // The height of one line of text in an item, as a list's rows have.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("Xg");
    const int height =
        style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(qMax(1, height));
}

void CStatusListView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        FitRowHeight();
    QTableView::changeEvent(event);
}

void CStatusListView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* clearAction = menu.addAction(AppText(apptext::CommandTexts(ID_LOG_CLEAR).menu));
    clearAction->setData(ID_LOG_CLEAR);
    connect(clearAction, &QAction::triggered, this, &CStatusListView::Clear);
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(5, 5))
                                                                     : event->globalPos();
    menu.exec(at);
}
