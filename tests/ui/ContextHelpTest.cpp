#include "ui/ContextHelp.h"

#include "model/AffProject.h"
#include "ui/ProductSettingsDialog.h"
#include "ui/RegInfoList.h"

#include "UiTestHelpers.h"
#include "tests/support/FakePrompts.h"

#include <QHelpEvent>
#include <QLayout>
#include <QTabWidget>
#include <QWhatsThis>

#include <algorithm>

namespace {

struct HelpFixture : ::testing::Test {
    CAffProject project;
    FakePrompts prompts;
    CProductSettingsDialog dialog{project, nullptr, &prompts};

    void SetUp() override {
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    void TearDown() override {
        if (CContextHelpPopup* p = CurrentContextHelpPopup())
            p->close();
    }
    CContextHelpPopup* ShiftF1(const char* id) {
        QWidget* w = Control<QWidget>(&dialog, id);
        w->setFocus();
        QTest::keyClick(w, Qt::Key_F1, Qt::ShiftModifier);
        return CurrentContextHelpPopup();
    }
};

} // namespace

TEST_F(HelpFixture, ShiftF1ShowsThePaleYellowPopupWithTheControlsText) {
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowContextHelpButtonHint);
    CContextHelpPopup* popup = ShiftF1("1023");
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->text(),
              QStringLiteral("Provides a space for you to specify title of the product."));
    EXPECT_EQ(popup->palette().color(QPalette::Window), QColor(255, 255, 208));
    EXPECT_EQ(popup->palette().color(QPalette::WindowText),
              QApplication::palette().color(QPalette::WindowText));
    ASSERT_NE(popup->layout(), nullptr);
    EXPECT_EQ(popup->layout()->contentsMargins(), QMargins(15, 5, 15, 10));
    // The text starts inside the frame's border plus the left and top margins.
    auto* label = popup->findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->geometry().topLeft(),
              QPoint(15 + popup->frameWidth(), 5 + popup->frameWidth()));
    EXPECT_TRUE(popup->autoFillBackground());
    EXPECT_EQ(Text(&dialog, "1023"), QString()); // the key did not type into the field
}

TEST_F(HelpFixture, ControlsWithoutTextShowNothing) {
    dialog.Sheet()->setCurrentIndex(1);
    EXPECT_EQ(ShiftF1("1031"), nullptr);
    EXPECT_EQ(ShiftF1("1033"), nullptr);
    CContextHelpPopup* popup = ShiftF1("1030");
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->text(),
              QStringLiteral("Provides a place for you to specify the default directory for "
                             "affiliate setup files. \nThe directory can be overided by "
                             "configuring affiliate settings individually.  "));
    // 1035 shares its text with the affiliate dialog's setup-file field.
    popup = ShiftF1("1035");
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->text(), QStringLiteral("The path and name of executable setup file that will "
                                            "be built for the affiliate."));
    // A popup for one control at a time.
    const QWidgetList tops = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(tops.begin(), tops.end(),
                            [](QWidget* w) {
                                return w->objectName() == QLatin1String("contextHelpPopup") &&
                                       w->isVisible();
                            }),
              1);
}

TEST_F(HelpFixture, WhatsThisRequestOnAPartOfAControlUsesTheControl) {
    dialog.Sheet()->setCurrentIndex(2);
    auto* list = Control<CRegInfoList>(&dialog, "1037");
    const QPoint local(5, 5);
    QHelpEvent help(QEvent::WhatsThis, local, list->viewport()->mapToGlobal(local));
    QApplication::sendEvent(list->viewport(), &help);
    CContextHelpPopup* popup = CurrentContextHelpPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(
        popup->text(),
        QStringLiteral("Specifies Registration services you are using to sell your product."));
    // At the point of the request (the window frame may shift it by a pixel or two).
    EXPECT_LE(
        (popup->geometry().topLeft() - list->viewport()->mapToGlobal(local)).manhattanLength(), 4);
}

TEST_F(HelpFixture, WhatsThisModeClickShowsTheHelp) {
    QWidget* site = Control<QWidget>(&dialog, "1029");
    QWhatsThis::enterWhatsThisMode();
    QTest::mouseClick(site, Qt::LeftButton, {}, QPoint(4, 4));
    QCoreApplication::processEvents();
    EXPECT_FALSE(QWhatsThis::inWhatsThisMode());
    CContextHelpPopup* popup = CurrentContextHelpPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->text(), QStringLiteral("Specifies your product web page."));
}

TEST(ContextHelpTable, TextsByIdentifier) {
    EXPECT_EQ(
        ContextHelpText(1024),
        QStringLiteral("Specifies setup file of the product . This setup file contains the "
                       "program that calls API functions to retrieve affiliate puchase link."));
    EXPECT_EQ(ContextHelpText(1026), QStringLiteral("Specifies version number of the product."));
    for (int none : {0, 1031, 1033, 1034, 1038, 1039, 1043})
        EXPECT_TRUE(ContextHelpText(none).isEmpty()) << none;
}
