#include "ui/CellEdit.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>

QPointer<CCellEdit> CCellEdit::s_current;

CCellEdit::CCellEdit(QAbstractItemView* list, int row, int column)
    : QLineEdit(list->viewport()), m_list(list), m_nRow(row), m_nColumn(column) {
    setObjectName(QStringLiteral("cellEdit"));
    setFrame(true);
    setFont(list->font());
    setAlignment(Qt::AlignCenter);
    connect(this, &QLineEdit::textChanged, this, &CCellEdit::Grow);
}

CCellEdit* CCellEdit::Current() {
    return s_current.data();
}

CCellEdit* CCellEdit::Open(QAbstractItemView* list, int row, int column, int leftInset) {
    if (s_current)
        s_current->EndEdit(true);
    if (!list || !list->model())
        return nullptr;
    const QModelIndex index = list->model()->index(row, column);
    if (!index.isValid())
        return nullptr;

    // Bring the row into view; a cell whose left edge is outside the visible
    // width is scrolled to by that offset first.
    list->scrollTo(index);
    QRect cell = list->visualRect(index);
    const int visibleWidth = list->viewport()->width();
    if (cell.left() < 0 || cell.left() >= visibleWidth) {
        QScrollBar* bar = list->horizontalScrollBar();
        bar->setValue(bar->value() + cell.left());
        cell = list->visualRect(index);
    }

    auto* editor = new CCellEdit(list, row, column);
    editor->setText(index.data(Qt::DisplayRole).toString());
    editor->setCursorPosition(0);
    editor->deselect();
    const int left = cell.left() + leftInset;
    const int right = qMin(cell.right(), visibleWidth - 1);
    const int top = cell.top() + 3;
    const int bottom = cell.bottom() - 2;
    editor->setGeometry(QRect(QPoint(left, top), QPoint(qMax(left, right), qMax(top, bottom))));
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
    s_current = editor;
    return editor;
}

int CCellEdit::VisibleRight() const {
    return m_list ? m_list->viewport()->width() - 1 : geometry().right();
}

void CCellEdit::Grow() {
    if (m_bEnded)
        return;
    // The text width plus 5 pixels, measured inside the editor's own frame
    // and text margins.
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const int chrome = width() - contents.width() + 4; // QLineEdit's inner margin of 2 per side
    const int wanted = fontMetrics().horizontalAdvance(text()) + 5 + chrome;
    if (wanted <= width())
        return;
    const int limit = VisibleRight() - x() + 1;
    const int newWidth = qMin(wanted, limit);
    if (newWidth > width())
        resize(newWidth, height());
}

bool CCellEdit::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride) {
        // Enter, Escape, Delete and every Ctrl combination belong to the editor,
        // never to the shortcuts of the windows around it.
        auto* key = static_cast<QKeyEvent*>(e);
        const int k = key->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape ||
            k == Qt::Key_Delete || (key->modifiers() & Qt::ControlModifier)) {
            e->accept();
            return true;
        }
    }
    return QLineEdit::event(e);
}

void CCellEdit::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        e->accept();
        EndEdit(true);
        return;
    case Qt::Key_Escape:
        e->accept();
        EndEdit(false);
        return;
    default:
        break;
    }
    QLineEdit::keyPressEvent(e);
    // Keys the line edit leaves unused must not reach the list or dialog.
    e->accept();
}

void CCellEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    // The editor's own context menu takes the focus for a moment only.
    if (e->reason() != Qt::PopupFocusReason)
        EndEdit(true);
}

void CCellEdit::EndEdit(bool keep) {
    if (m_bEnded)
        return;
    m_bEnded = true;
    if (s_current == this)
        s_current = nullptr;
    const bool hadFocus = hasFocus();
    const QString kept = text();
    hide();
    if (hadFocus && m_list)
        m_list->setFocus(Qt::OtherFocusReason);
    emit editEnded(m_nRow, m_nColumn, keep ? kept : QString(), !keep);
    deleteLater();
}
