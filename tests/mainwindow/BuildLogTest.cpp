#include "MainWindowFixture.h"

#include "package/BuildRequest.h"
#include "package/SfxPackage.h"
#include "package/SfxResult.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>

#include <atomic>
#include <mutex>
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

// Notes, at each paint of the log's rows, how many lines the log held.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(CStatusListView& log) : m_log(log) {
        m_log.viewport()->installEventFilter(this);
    }
    ~PaintRecorder() override { m_log.viewport()->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            linesAtPaint.push_back(m_log.count());
        return QObject::eventFilter(watched, e);
    }
    std::vector<int> linesAtPaint;

private:
    CStatusListView& m_log;
};

// The six lines of an affiliate whose package was built.
QStringList BuiltLines(const CReseller& affiliate) {
    const QString output = QString::fromStdString(affiliate.m_strSetupPath);
    return {"",
            "Writing program info...",
            "Writing affiliate info...",
            "Reading setup file 'setup.bin'",
            "Creating affiliate setup file...",
            "File '" + output + "' created successfully."};
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

TEST(BuildLog, LinesAddedFasterThanAFrameArePaintedOnceTheFrameEnds) {
    CStatusListView log;
    log.resize(300, 120);
    log.show();
    QApplication::processEvents();
    PaintRecorder paints(log);
    for (int i = 0; i < 500; ++i)
        log.Append("line " + std::to_string(i));
    ASSERT_TRUE(WaitUntil([&] { return !log.RepaintHeld(); }));
    ASSERT_TRUE(WaitUntil([&] { return !paints.linesAtPaint.empty(); }));
    QApplication::processEvents();
    // The pane was painted with every line in it, the newest in view.
    EXPECT_EQ(paints.linesAtPaint.back(), 500);
    EXPECT_EQ(log.verticalScrollBar()->value(), log.verticalScrollBar()->maximum());
    EXPECT_EQ(log.Lines().back(), "line 499");
}

TEST_F(MainWindowTest, BuildAllOfManyAffiliatesLogsEveryLineInOrderAndWaitsForEach) {
    constexpr int kAffiliates = 300;
    const std::string file = WriteProject("many.vkp", kAffiliates);
    {
        QFile setup(QString::fromStdString(Path("setup.bin")));
        ASSERT_TRUE(setup.open(QIODevice::WriteOnly));
        setup.write("SETUP-PROGRAM");
    }
    Start({QString::fromStdString(file)});
    Frame().resize(800, 600);
    Frame().show();
    CStatusListView& log = *Frame().Log();
    // Lines the log held each time the worker went on to the next affiliate.
    std::mutex seenMutex;
    std::vector<int> linesBeforeAffiliate;
    Doc().adjustBuildEnvironment = [&](BuildEnvironment& env) {
        env.tempFolder = Path("");
        env.writePackage = [](CSfxPackage& pkg, const std::string& out) {
            return static_cast<int>(pkg.BuildWithImage("IMAGE", 5, out));
        };
        env.onAffiliate = [&](size_t, size_t) {
            // The worker waits for every line, so nothing is being added now.
            std::lock_guard<std::mutex> lock(seenMutex);
            linesBeforeAffiliate.push_back(log.count());
        };
    };
    PaintRecorder paints(log);
    int finished = -1;
    QObject::connect(&Doc(), &CVelkoraDoc::buildFinished, [&](int errors) { finished = errors; });
    Cmd(ID_BUILD_ALL).trigger();
    ASSERT_TRUE(WaitUntil([&] { return finished >= 0; }, 120000));
    EXPECT_EQ(finished, 0);

    QStringList expected;
    const BuildRequest request = MakeBuildAllRequest(Doc().Project());
    ASSERT_EQ(request.affiliates.size(), static_cast<size_t>(kAffiliates));
    for (const CReseller& affiliate : request.affiliates)
        expected << BuiltLines(affiliate);
    expected << ""
             << "*** Finished! - 0 error(s)";
    const QStringList lines = log.Lines();
    ASSERT_EQ(lines.size(), expected.size() + 1);
    EXPECT_TRUE(lines[0].startsWith("***Start building ["));
    EXPECT_EQ(lines.mid(1), expected);

    // The worker never ran ahead of the log: before affiliate i (from 0) the
    // log held the start line and six lines of each affiliate before it.
    std::lock_guard<std::mutex> lock(seenMutex);
    ASSERT_EQ(linesBeforeAffiliate.size(), static_cast<size_t>(kAffiliates));
    for (int i = 0; i < kAffiliates; ++i)
        ASSERT_EQ(linesBeforeAffiliate[static_cast<size_t>(i)], 1 + 6 * i) << "affiliate " << i;

    // Once the build is over the pane shows its end.
    ASSERT_TRUE(WaitUntil([&] { return !log.RepaintHeld(); }));
    ASSERT_TRUE(WaitUntil([&] {
        return !paints.linesAtPaint.empty() && paints.linesAtPaint.back() == lines.size();
    }));
    EXPECT_EQ(log.verticalScrollBar()->value(), log.verticalScrollBar()->maximum());
    for (int i = 0; i < kAffiliates; i += 37)
        EXPECT_TRUE(QFile::exists(
            QString::fromStdString(Path("out/setup_" + QString::number(i) + ".bin"))));
}
