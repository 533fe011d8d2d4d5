#include "ui/ProductIdDialog.h"

#include "UiTestHelpers.h"
#include "tests/support/FakePrompts.h"

#include <QComboBox>

namespace {

struct OpenProductIdDialog {
    FakePrompts prompts;
    CProductIdDialog dialog{nullptr, &prompts};
    QComboBox* combo;

    OpenProductIdDialog(const QStringList& services, int selected) {
        dialog.SetServices(services, selected);
        dialog.show();
        combo = Control<QComboBox>(&dialog, "1032");
    }
    void Select(int position) { Choose(combo, position); }
};

} // namespace

TEST(ProductIdDialog, OffersTheGivenServicesAndComposesWhileTyping) {
    OpenProductIdDialog d(
        {QStringLiteral("ShareIt"), QStringLiteral("RegSoft"), QStringLiteral("Other")}, 0);
    EXPECT_EQ(d.dialog.windowTitle(), QStringLiteral("New Product ID"));
    ASSERT_EQ(d.combo->count(), 3);
    EXPECT_EQ(d.combo->itemText(2), QStringLiteral("Other"));
    EXPECT_EQ(d.combo->currentIndex(), 0);
    Type(&d.dialog, "1041", QStringLiteral("55"));
    EXPECT_EQ(Text(&d.dialog, "1042"), Endpoint(kServiceShareIt) + QStringLiteral("?productid=55"));

    // Keep mode keeps parameters typed by hand (typed at the link's end).
    QTest::keyClick(Control<QLineEdit>(&d.dialog, "1042"), Qt::Key_End);
    Type(&d.dialog, "1042", QStringLiteral("&src=mail"));
    Type(&d.dialog, "1041", QStringLiteral("6"));
    EXPECT_EQ(Text(&d.dialog, "1042"),
              Endpoint(kServiceShareIt) + QStringLiteral("?productid=556&src=mail"));

    // Reset mode on a service change starts from the endpoint again.
    d.Select(1);
    EXPECT_EQ(Text(&d.dialog, "1042"),
              Endpoint(kServiceRegSoft) + QStringLiteral("?productid=556"));

    Click(&d.dialog, "1");
    EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(d.dialog.ServiceName(), QStringLiteral("RegSoft"));
    EXPECT_EQ(d.dialog.ProductId(), QStringLiteral("556"));
    EXPECT_TRUE(d.prompts.shown.isEmpty());
}

TEST(ProductIdDialog, OtherNeverChangesTheLink) {
    OpenProductIdDialog d(
        {QStringLiteral("ShareIt"), QStringLiteral("RegSoft"), QStringLiteral("Other")}, 0);
    Type(&d.dialog, "1042", QStringLiteral("http://mine.example/buy"));
    d.Select(2); // Other, the third entry
    EXPECT_EQ(Text(&d.dialog, "1042"), QStringLiteral("http://mine.example/buy"));
    Type(&d.dialog, "1041", QStringLiteral("77"));
    EXPECT_EQ(Text(&d.dialog, "1042"), QStringLiteral("http://mine.example/buy"));
    Click(&d.dialog, "1");
    EXPECT_EQ(d.dialog.ServiceName(), QStringLiteral("Other"));
}

TEST(ProductIdDialog, EmptyProductIdIsRefusedEvenWithALink) {
    OpenProductIdDialog d({QStringLiteral("RegNow")}, 0);
    Type(&d.dialog, "1042", QStringLiteral("http://x"));
    Click(&d.dialog, "1");
    EXPECT_EQ(d.prompts.Messages(), QStringList{QStringLiteral("Product ID can't be null!")});
    EXPECT_TRUE(d.dialog.isVisible());
    EXPECT_NE(d.dialog.result(), QDialog::Accepted);
}

TEST(ProductIdDialog, NoSelectedServiceIsRefused) {
    OpenProductIdDialog d({}, 0);
    EXPECT_EQ(d.dialog.SelectedPosition(), -1);
    Type(&d.dialog, "1041", QStringLiteral("9"));
    EXPECT_EQ(Text(&d.dialog, "1042"), QString()); // nothing to compose with
    Click(&d.dialog, "1");
    EXPECT_EQ(d.prompts.Messages(), QStringList{QStringLiteral("Invalid Registration Service!")});
    EXPECT_TRUE(d.dialog.isVisible());
}

// A composed link is shown whole, read from its start, for every service.
TEST(ProductIdDialog, ComposedLinksAreShownWholeFromTheirStart) {
    OpenProductIdDialog d({QStringLiteral("RegNow"), QStringLiteral("ShareIt"),
                           QStringLiteral("RegSoft"), QStringLiteral("Other")},
                          0);
    auto* link = Control<QLineEdit>(&d.dialog, "1042");
    for (int position : {0, 1, 2}) {
        d.Select(position);
        Retype(&d.dialog, "1041", QStringLiteral("1234567890"));
        SCOPED_TRACE(link->text().toStdString());
        EXPECT_TRUE(link->text().startsWith(QStringLiteral("http")));
        EXPECT_EQ(link->cursorPosition(), 0);
        const int textWidth = link->fontMetrics().horizontalAdvance(link->text());
        EXPECT_GE(link->contentsRect().width() - 8, textWidth);
    }
}
