#pragma once

#include "model/RegistrationServices.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <ostream>

#include <gtest/gtest.h>

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// The control of a dialog with the given identifier (its object name).
template <typename T> T* Control(const QObject* dialog, const char* id) {
    T* w = dialog->findChild<T*>(QString::fromLatin1(id));
    EXPECT_NE(w, nullptr) << "no control " << id;
    return w;
}

inline void Click(const QObject* dialog, const char* id) {
    auto* button = Control<QPushButton>(dialog, id);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled()) << "button " << id << " is disabled";
    QTest::mouseClick(button, Qt::LeftButton);
}

inline void Type(const QObject* dialog, const char* id, const QString& text) {
    auto* edit = Control<QLineEdit>(dialog, id);
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    QTest::keyClicks(edit, text);
}

// Replaces the whole text of an edit as a user would: select all, delete, type.
inline void Retype(const QObject* dialog, const char* id, const QString& text) {
    auto* edit = Control<QLineEdit>(dialog, id);
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

inline QString Text(const QObject* dialog, const char* id) {
    auto* edit = Control<QLineEdit>(dialog, id);
    return edit ? edit->text() : QString();
}

inline QString Endpoint(int service) {
    const auto& e = ServiceTable()[size_t(service)].endpoint;
    return QString::fromUtf8(e.data(), qsizetype(e.size()));
}

// Runs action on the modal dialog of type T that the next step opens. The
// action must close it; a missing dialog fails the test.
template <typename T> void WhenModal(std::function<void(T*)> action) {
    QTimer::singleShot(0, [action] {
        T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "expected modal dialog did not open";
            if (QWidget* w = QApplication::activeModalWidget())
                w->close();
            return;
        }
        action(dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "modal dialog left open";
            dialog->reject();
        }
    });
}

// Chooses an entry as a user does: F4 opens the list, the arrow keys move the
// highlight, Enter takes it. Only the chosen entry becomes the selection.
inline void Choose(QComboBox* combo, int index) {
    ASSERT_NE(combo, nullptr);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_F4);
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(view->isVisible());
    int at = view->currentIndex().row();
    for (; at < index; ++at)
        QTest::keyClick(view, Qt::Key_Down);
    for (; at > index; --at)
        QTest::keyClick(view, Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_EQ(combo->currentIndex(), index);
}
