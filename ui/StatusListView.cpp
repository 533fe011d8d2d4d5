#include "ui/StatusListView.h"

#include "ui/CommandIds.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QStyledItemDelegate>
#include <QThread>

namespace {

// Every line is exactly as wide as the pane, so a long line is shortened at
// the right edge instead of widening the list.
class PaneWidthDelegate : public QStyledItemDelegate {
public:
    explicit PaneWidthDelegate(QListView* view) : QStyledItemDelegate(view), m_view(view) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(qMax(1, m_view->viewport()->width()));
        return size;
    }

private:
    QListView* m_view;
};

} // namespace

CStatusListView::CStatusListView(QWidget* parent) : QListWidget(parent) {
    setObjectName("buildLog");
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    setWordWrap(false);
    setUniformItemSizes(true);
    setResizeMode(QListView::Adjust);
    setItemDelegate(new PaneWidthDelegate(this));
}

void CStatusListView::Append(const std::string& line) {
    const QString text = QString::fromLocal8Bit(line.data(), static_cast<qsizetype>(line.size()));
    if (QThread::currentThread() == thread()) {
        AppendHere(text);
        return;
    }
    // The worker waits here until the user-interface thread has added the line.
    QMetaObject::invokeMethod(
        this, [this, text] { AppendHere(text); }, Qt::BlockingQueuedConnection);
}

void CStatusListView::AppendHere(const QString& line) {
    addItem(line);
    scrollToBottom();
    emit lineAppended(line);
}

void CStatusListView::Clear() {
    clear();
}

QStringList CStatusListView::Lines() const {
    QStringList lines;
    for (int i = 0; i < count(); ++i)
        lines << item(i)->text();
    return lines;
}

void CStatusListView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* clearAction = menu.addAction(tr("Clear"));
    clearAction->setData(ID_LOG_CLEAR);
    connect(clearAction, &QAction::triggered, this, &CStatusListView::Clear);
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(5, 5))
                                                                     : event->globalPos();
    menu.exec(at);
}
