#include "ui/FolderBrowserDialog.h"

#include "UiTestHelpers.h"
#include "tests/support/FakePrompts.h"

#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QScrollBar>
#include <QTreeView>

namespace {

QString Invalid(const QString& path) {
    return QStringLiteral("The folder:\n\n%1\n\nis invalid. Please reenter.").arg(path);
}

} // namespace

// The folder check itself (forms, messages, creation) is tested without a
// display in tests/app; these cases are the widget's own.
TEST(FolderBrowser, TypedPathIsValidatedAndReturnedAsTyped) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FakePrompts prompts;
    CFolderBrowserDialog browser(
        nullptr, {QStringLiteral("Browse"), QStringLiteral("Select output directory."), dir.path()},
        prompts);
    browser.show();
    EXPECT_EQ(browser.windowTitle(), QStringLiteral("Browse"));
    EXPECT_EQ(Control<QLabel>(&browser, "instruction")->text(),
              QStringLiteral("Select output directory."));
    EXPECT_EQ(Text(&browser, "pathEdit"), dir.path()); // the initial folder is selected
    auto* ok = Control<QPushButton>(&browser, "1");
    EXPECT_TRUE(ok->isEnabled());

    Retype(&browser, "pathEdit", QString());
    EXPECT_FALSE(ok->isEnabled());

    Type(&browser, "pathEdit", QStringLiteral("relative/out"));
    EXPECT_TRUE(ok->isEnabled());
    Control<QTreeView>(&browser, "folderTree")->setFocus();
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(prompts.Messages(), QStringList{Invalid(QStringLiteral("relative/out"))});
    EXPECT_TRUE(browser.isVisible());
    EXPECT_EQ(browser.focusWidget(), Control<QLineEdit>(&browser, "pathEdit"));

    const QString target = dir.path() + QStringLiteral("/made");
    Retype(&browser, "pathEdit", target);
    prompts.answers.enqueue(true);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(browser.isVisible());
    EXPECT_EQ(browser.result(), QDialog::Accepted);
    EXPECT_EQ(browser.Path(), target);
    EXPECT_TRUE(QDir(target).exists());
}

TEST(FolderBrowser, TreeSelectionFillsTheFieldAndLongTypingIsCut) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    FakePrompts prompts;
    CFolderBrowserDialog browser(nullptr, {QStringLiteral("Browse"), QString(), QString()},
                                 prompts);
    browser.show();
    EXPECT_EQ(Text(&browser, "pathEdit"), QDir::currentPath()); // no initial folder given
    auto* tree = Control<QTreeView>(&browser, "folderTree");
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    ASSERT_NE(model, nullptr);
    tree->setCurrentIndex(model->index(dir.path() + QStringLiteral("/sub")));
    EXPECT_EQ(Text(&browser, "pathEdit"), dir.path() + QStringLiteral("/sub"));

    Retype(&browser, "pathEdit", QStringLiteral("/") + QString(300, QLatin1Char('x')));
    EXPECT_EQ(browser.Path().size(), 259);
    QTest::mouseClick(Control<QPushButton>(&browser, "2"), Qt::LeftButton);
    EXPECT_EQ(browser.result(), QDialog::Rejected);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

// The initial folder sits among many siblings deep below "/": once the model
// has read the folders on the way, it is in view, and its long name fits
// (the tree scrolls sideways rather than cutting it).
TEST(FolderBrowser, InitialFolderIsScrolledIntoViewWhole) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir root(dir.path());
    for (int i = 0; i < 80; ++i)
        ASSERT_TRUE(root.mkdir(QStringLiteral("folder%1").arg(i, 2, 10, QLatin1Char('0'))));
    const QString longName = QStringLiteral("folder77_") + QString(60, QLatin1Char('n'));
    ASSERT_TRUE(root.mkdir(longName));
    const QString initial = dir.path() + QLatin1Char('/') + longName;
    FakePrompts prompts;
    CFolderBrowserDialog browser(nullptr, {QStringLiteral("Browse"), QString(), initial}, prompts);
    browser.show();
    auto* tree = Control<QTreeView>(&browser, "folderTree");
    EXPECT_GE(tree->width(), 460);
    EXPECT_GE(tree->height(), 360);
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    ASSERT_NE(model, nullptr);
    const auto inView = [&] {
        const QModelIndex current = tree->currentIndex();
        if (model->filePath(current) != initial)
            return false;
        const QRect row = tree->visualRect(current);
        return row.isValid() && row.top() >= 0 && row.bottom() <= tree->viewport()->height();
    };
    // The model reads folders on a thread of its own: wait for the rows.
    EXPECT_TRUE(QTest::qWaitFor(inView, 20000));
    const QModelIndex current = tree->currentIndex();
    EXPECT_GE(tree->columnWidth(0), tree->visualRect(current).left() +
                                        tree->horizontalScrollBar()->value() +
                                        tree->fontMetrics().horizontalAdvance(longName));
}
