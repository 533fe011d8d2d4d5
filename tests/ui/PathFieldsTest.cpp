#include "UiTestHelpers.h"

#include "ui/PathFields.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>

namespace {

QString LabelText(QGridLayout* grid, int row, int column) {
    QLayoutItem* item = grid->itemAtPosition(row, column);
    auto* label = item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
    return label ? label->text() : QString();
}

} // namespace

TEST(PathFields, EachFieldTakesALabelRowThenAnEditAndButtonRow) {
    QWidget page;
    auto* grid = new QGridLayout(&page);
    auto* first = new QLineEdit(&page);
    auto* second = new QLineEdit(&page);
    QPushButton* firstBrowse = MakeBrowseButton("1003", &page);
    QPushButton* secondBrowse = MakeBrowseButton("1006", &page);
    int row = 0;
    AddPathField(grid, row, QStringLiteral("First:"), first, firstBrowse);
    AddPathField(grid, row, QStringLiteral("Second:"), second, secondBrowse);
    EXPECT_EQ(row, 4);

    EXPECT_EQ(LabelText(grid, 0, 0), QStringLiteral("First:"));
    EXPECT_EQ(LabelText(grid, 2, 0), QStringLiteral("Second:"));
    int r = -1, c = -1, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(grid->itemAtPosition(0, 0)->widget()), &r, &c, &rowSpan,
                          &columnSpan);
    EXPECT_EQ(columnSpan, 2); // the label spans the edit and its button
    EXPECT_EQ(grid->itemAtPosition(1, 0)->widget(), first);
    EXPECT_EQ(grid->itemAtPosition(1, 1)->widget(), firstBrowse);
    EXPECT_EQ(grid->itemAtPosition(3, 0)->widget(), second);
    EXPECT_EQ(grid->itemAtPosition(3, 1)->widget(), secondBrowse);
    // Labels belong to the page, so they go with it.
    EXPECT_EQ(grid->itemAtPosition(2, 0)->widget()->parentWidget(), &page);

    EXPECT_EQ(firstBrowse->text(), QStringLiteral("..."));
    EXPECT_EQ(firstBrowse->objectName(), QStringLiteral("1003"));
    EXPECT_EQ(secondBrowse->objectName(), QStringLiteral("1006"));
    EXPECT_EQ(firstBrowse->maximumWidth(), 32);
    EXPECT_EQ(firstBrowse->parentWidget(), &page);
}

TEST(PathFields, SelfCreatorRequestProposesTheMakerInTheCurrentFolder) {
    for (bool confirm : {false, true}) {
        const FileRequest request = SelfCreatorFileRequest(confirm);
        EXPECT_EQ(request.initialPath,
                  QDir::currentPath() + QDir::separator() + QStringLiteral("VelkSelfMaker.exe"));
        ASSERT_EQ(request.filters.size(), 1);
        EXPECT_EQ(request.filters[0].description, QStringLiteral("Executable Files (*.exe)"));
        EXPECT_EQ(request.filters[0].patterns, QStringLiteral("*.exe"));
        EXPECT_EQ(request.defaultSuffix, QStringLiteral("exe"));
        EXPECT_EQ(request.confirmOverwrite, confirm);
    }
}
