#include "ui/CellEdit.h"

#include "UiTestHelpers.h"

#include <QAction>
#include <QDialog>

#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// A window with a list, another control and window-wide Delete and Ctrl+Z
// shortcuts, standing in for the main window around a list.
struct ListWindow {
    QWidget window;
    QTableWidget* list;
    QLineEdit* other;
    int deleteShortcut = 0;
    int undoShortcut = 0;
    QList<std::tuple<int, int, QString, bool>> ends;

    ListWindow() {
        list = new QTableWidget(3, 3, &window);
        list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                list->setItem(r, c, new QTableWidgetItem(QStringLiteral("r%1c%2").arg(r).arg(c)));
        for (int c = 0; c < 3; ++c)
            list->setColumnWidth(c, 100);
        other = new QLineEdit(&window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(list);
        layout->addWidget(other);
        auto* del = new QAction(&window);
        del->setShortcut(Qt::Key_Delete);
        window.addAction(del);
        QObject::connect(del, &QAction::triggered, [this] { ++deleteShortcut; });
        auto* undo = new QAction(&window);
        undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
        window.addAction(undo);
        QObject::connect(undo, &QAction::triggered, [this] { ++undoShortcut; });
        window.resize(260, 200);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    CCellEdit* Open(int row, int column, int inset = 0) {
        CCellEdit* e = CCellEdit::Open(list, row, column, inset);
        EXPECT_NE(e, nullptr);
        QObject::connect(e, &CCellEdit::editEnded, [this](int r, int c, const QString& t, bool d) {
            ends.append({r, c, t, d});
        });
        return e;
    }
};

} // namespace

TEST(CellEdit, CoversTheCellInsetAndClippedWithTextCentredAndCaretAtStart) {
    ListWindow w;
    CCellEdit* editor = w.Open(1, 1, 24);
    const QRect cell = w.list->visualRect(w.list->model()->index(1, 1));
    EXPECT_EQ(editor->geometry().top(), cell.top() + 3);
    EXPECT_EQ(editor->geometry().bottom(), cell.bottom() - 2);
    EXPECT_EQ(editor->geometry().left(), cell.left() + 24);
    EXPECT_LE(editor->geometry().right(), w.list->viewport()->width() - 1);
    EXPECT_EQ(editor->text(), QStringLiteral("r1c1"));
    EXPECT_EQ(editor->cursorPosition(), 0);
    EXPECT_FALSE(editor->hasSelectedText());
    EXPECT_EQ(editor->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_TRUE(editor->hasFocus());
    editor->EndEdit(false);
}

TEST(CellEdit, DeleteAndCtrlKeysActOnTheEditorNotOnTheWindow) {
    ListWindow w;
    // Without an editor the window's Delete shortcut fires: the check below can fail.
    w.list->setFocus();
    QTest::keyClick(w.list, Qt::Key_Delete);
    ASSERT_EQ(w.deleteShortcut, 1);

    CCellEdit* editor = w.Open(0, 0);
    QTest::keyClick(editor, Qt::Key_Delete); // caret at start: deletes "r"
    EXPECT_EQ(editor->text(), QStringLiteral("0c0"));
    EXPECT_EQ(w.deleteShortcut, 1);

    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(editor->text(), QString());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("0c0"));
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->text(), QStringLiteral("0c00c0"));
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->text(), QStringLiteral("0c0"));
    EXPECT_EQ(w.undoShortcut, 0);
    EXPECT_TRUE(w.ends.isEmpty());
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_EQ(w.ends.size(), 1);
    EXPECT_EQ(w.ends[0], std::make_tuple(0, 0, QStringLiteral("0c0"), false));
}

TEST(CellEdit, EscapeDiscardsOnceAndTheEditorGoes) {
    ListWindow w;
    QPointer<CCellEdit> editor = w.Open(2, 1);
    QTest::keyClicks(editor, QStringLiteral("xyz"));
    QTest::keyClick(editor, Qt::Key_Escape);
    ASSERT_EQ(w.ends.size(), 1);
    EXPECT_TRUE(std::get<3>(w.ends[0]));
    EXPECT_EQ(std::get<0>(w.ends[0]), 2);
    EXPECT_EQ(std::get<1>(w.ends[0]), 1);
    EXPECT_EQ(CCellEdit::Current(), nullptr);
    EXPECT_TRUE(w.window.isVisible()); // Escape did not travel on
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(editor.isNull());
    EXPECT_EQ(w.list->item(2, 1)->text(), QStringLiteral("r2c1"));
}

TEST(CellEdit, ClickOutsideKeepsTheTextLikeEnter) {
    ListWindow w;
    CCellEdit* editor = w.Open(1, 2);
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, QStringLiteral("!"));
    QTest::mouseClick(w.other, Qt::LeftButton);
    w.other->setFocus(Qt::MouseFocusReason);
    ASSERT_EQ(w.ends.size(), 1);
    EXPECT_EQ(w.ends[0], std::make_tuple(1, 2, QStringLiteral("r1c2!"), false));
    // A second focus change or end request sends nothing more.
    w.list->setFocus();
    editor->EndEdit(true);
    EXPECT_EQ(w.ends.size(), 1);
}

TEST(CellEdit, LongTextWidensUpToTheVisibleEdgeOnly) {
    ListWindow w;
    CCellEdit* editor = w.Open(0, 0);
    const int start = editor->width();
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, QStringLiteral("abcdefghijklmnopqrst"));
    const int grown = editor->width();
    EXPECT_GT(grown, start);
    EXPECT_GE(grown, editor->fontMetrics().horizontalAdvance(editor->text()) + 5);
    QTest::keyClicks(editor, QString(80, QLatin1Char('w')));
    const int visibleRight = w.list->viewport()->width() - 1;
    EXPECT_EQ(editor->geometry().right(), visibleRight);
    QTest::keyClicks(editor, QStringLiteral("www"));
    EXPECT_EQ(editor->geometry().right(), visibleRight);
    editor->EndEdit(false);
}

TEST(CellEdit, OpeningASecondEditorEndsTheFirstKeepingItsText) {
    ListWindow w;
    CCellEdit* first = w.Open(0, 1);
    QTest::keyClicks(first, QStringLiteral("A"));
    CCellEdit* second = w.Open(1, 1);
    ASSERT_EQ(w.ends.size(), 1);
    EXPECT_EQ(w.ends[0], std::make_tuple(0, 1, QStringLiteral("Ar0c1"), false));
    EXPECT_EQ(CCellEdit::Current(), second);
    const auto editors = w.list->viewport()->findChildren<CCellEdit*>();
    EXPECT_EQ(
        std::count_if(editors.begin(), editors.end(), [](CCellEdit* e) { return e->isVisible(); }),
        1);
    second->EndEdit(false);
}

TEST(CellEdit, EnterInsideADialogDoesNotPressItsDefaultButton) {
    QDialog dialog;
    auto* list = new QTableWidget(1, 1, &dialog);
    list->setItem(0, 0, new QTableWidgetItem(QStringLiteral("v")));
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    layout->addWidget(ok);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    CCellEdit* editor = CCellEdit::Open(list, 0, 0);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    editor = CCellEdit::Open(list, 0, 0);
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible()); // Escape closed the editor, not the dialog
    EXPECT_EQ(CCellEdit::Current(), nullptr);
}
