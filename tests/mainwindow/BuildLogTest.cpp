#include "MainWindowFixture.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>

#include <atomic>
#include <thread>

namespace {

// Opens the log's context menu from the keyboard and chooses "Clear".
void ClearThroughContextMenu(CStatusListView& log) {
    QString itemText;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 1);
        itemText = menu->actions().front()->text();
        menu->actions().front()->trigger();
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5));
    QApplication::sendEvent(&log, &event);
    EXPECT_EQ(itemText, "Clear");
}

} // namespace

TEST(BuildLog, AfterClearTheNextLineIsTheFirst) {
    CStatusListView log;
    log.resize(300, 200);
    log.show();
    log.Append("one");
    log.Append("");
    log.Append("three");
    EXPECT_EQ(log.Lines(), (QStringList{"one", "", "three"}));
    ClearThroughContextMenu(log);
    EXPECT_EQ(log.count(), 0);
    log.Append("after");
    EXPECT_EQ(log.Lines(), QStringList{"after"});
}

TEST(BuildLog, ManyLinesKeepTheNewestInView) {
    CStatusListView log;
    log.resize(300, 120);
    log.show();
    for (int i = 0; i < 200; ++i)
        log.Append("line " + std::to_string(i));
    QApplication::processEvents();
    const QRect last = log.visualRect(log.model()->index(199, 0));
    EXPECT_TRUE(log.viewport()->rect().intersects(last));
    EXPECT_EQ(log.verticalScrollBar()->value(), log.verticalScrollBar()->maximum());
    EXPECT_EQ(log.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST(BuildLog, LinesFromAWorkerArriveInOrderAndTheWorkerWaitsForEach) {
    CStatusListView log;
    std::atomic<int> sent{0};
    std::atomic<bool> mismatch{false};
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i) {
            log.Append("w" + std::to_string(i));
            sent = i + 1;
            // The line is there when Append returns.
            if (log.count() < i + 1)
                mismatch = true;
        }
    });
    ASSERT_TRUE(WaitUntil([&] { return sent == 100; }));
    worker.join();
    EXPECT_FALSE(mismatch);
    ASSERT_EQ(log.count(), 100);
    const QStringList lines = log.Lines();
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(lines[i], QString("w%1").arg(i));
}

TEST_F(MainWindowTest, LogColumnFollowsThePaneWidth) {
    Start({QString::fromStdString(WriteProject("w.vkp", 0))});
    Frame().resize(800, 600);
    Frame().show();
    CStatusListView* log = Frame().Log();
    log->Append(std::string(2000, 'x'));
    QApplication::processEvents();
    EXPECT_LE(log->visualRect(log->model()->index(0, 0)).width(), log->viewport()->width());
    EXPECT_EQ(log->horizontalScrollBar()->maximum(), 0);
}
