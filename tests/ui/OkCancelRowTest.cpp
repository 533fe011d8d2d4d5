#include "UiTestHelpers.h"

#include "ui/OkCancelRow.h"

#include <QDialog>
#include <QHBoxLayout>

namespace {

// Counts its own accept, and may refuse to close, as the editing dialogs do
// when a field is wrong.
class CountingDialog : public QDialog {
public:
    int accepts = 0;
    bool refuse = false;
    void accept() override {
        ++accepts;
        if (!refuse)
            QDialog::accept();
    }
};

} // namespace

TEST(OkCancelRow, ButtonsSitRightAlignedOkFirst) {
    CountingDialog dialog;
    const OkCancelRow row = MakeOkCancelRow(&dialog);
    ASSERT_NE(row.layout, nullptr);
    ASSERT_EQ(row.layout->count(), 3);
    EXPECT_NE(row.layout->itemAt(0)->spacerItem(), nullptr);
    EXPECT_EQ(row.layout->itemAt(1)->widget(), row.ok);
    EXPECT_EQ(row.layout->itemAt(2)->widget(), row.cancel);
    EXPECT_EQ(row.ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(row.cancel->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(row.ok->objectName(), QStringLiteral("1"));
    EXPECT_EQ(row.cancel->objectName(), QStringLiteral("2"));
    EXPECT_TRUE(row.ok->isDefault());
    EXPECT_FALSE(row.cancel->isDefault());
    EXPECT_EQ(row.ok->parentWidget(), &dialog);
    EXPECT_EQ(row.cancel->parentWidget(), &dialog);
    delete row.layout; // never installed: the test owns it
}

TEST(OkCancelRow, OkRunsTheDialogsOwnAcceptAndCancelRejects) {
    CountingDialog dialog;
    const OkCancelRow row = MakeOkCancelRow(&dialog);
    dialog.setLayout(row.layout);
    dialog.show();

    dialog.refuse = true;
    row.ok->click();
    EXPECT_EQ(dialog.accepts, 1);
    EXPECT_TRUE(dialog.isVisible()); // the override kept it open

    dialog.refuse = false;
    row.ok->click();
    EXPECT_EQ(dialog.accepts, 2);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());

    dialog.show();
    row.cancel->click();
    EXPECT_EQ(dialog.accepts, 2);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}
