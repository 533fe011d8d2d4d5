#pragma once

#include <QLineEdit>
#include <QPointer>

class QAbstractItemView;

// The one-line editor that opens over a cell of a list. It only edits a text;
// the list that opened it decides what the text means. Enter and a move of
// the focus elsewhere keep the text, Escape discards it; editEnded is emitted
// exactly once and the editor then deletes itself. At most one editor exists.
class CCellEdit : public QLineEdit {
    Q_OBJECT
public:
    // Opens an editor over (row, column) of list with the cell's text and gives
    // it the focus. leftInset skips an icon area at the cell's left. An editor
    // still open elsewhere is ended first, keeping its text.
    static CCellEdit* Open(QAbstractItemView* list, int row, int column, int leftInset = 0);

    // The editor that is open, or nullptr.
    static CCellEdit* Current();

    int Row() const { return m_nRow; }
    int Column() const { return m_nColumn; }

    // Ends the edit: keep writes the text back through editEnded, otherwise
    // editEnded carries the discarded mark. Does nothing the second time.
    void EndEdit(bool keep);

signals:
    // text is meaningful only when discarded is false.
    void editEnded(int row, int column, const QString& text, bool discarded);

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    CCellEdit(QAbstractItemView* list, int row, int column);
    void Grow();
    int VisibleRight() const;

    QPointer<QAbstractItemView> m_list;
    int m_nRow;
    int m_nColumn;
    bool m_bEnded = false;

    static QPointer<CCellEdit> s_current;
};
