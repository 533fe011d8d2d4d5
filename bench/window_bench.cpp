// Times the desktop program's window on a project (offscreen):
//   bench-window load FILE   prints "<seconds to load the project alone>"
//   bench-window open FILE   prints "<seconds from making the window until the list is shown>"
//   bench-window sort FILE   prints "<seconds to sort by every column, both ways>"
//   bench-window build FILE  prints "<seconds of Build All until it finished>"
// Times are seconds. Load and open time the first of their kind in a new
// process, as a user meets them when the program starts with the project; the
// caller repeats them.
#include "model/AffProject.h"
#include "model/ProjectFile.h"
#include "ui/AffiliateListModel.h"
#include "ui/MainFrame.h"
#include "ui/VelkoraApp.h"
#include "ui/VelkoraDoc.h"
#include "ui/VelkoraView.h"
#include "ui/screenshots/SilentUserPrompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Notes the first paint of the list's rows.
class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, e);
    }
};

double Seconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

double LoadAlone(const char* file) {
    QElapsedTimer timer;
    timer.start();
    CAffProject project;
    if (!LoadProjectFile(file, project).Ok()) {
        std::fprintf(stderr, "cannot load %s\n", file);
        std::exit(1);
    }
    return Seconds(timer);
}

// From making the window to the first paint of the list with its rows.
double OpenUntilShown(const char* file, CSilentUserPrompts& prompts) {
    QElapsedTimer timer;
    timer.start();
    CVelkoraApp velkora(prompts);
    velkora.InitInstance({QString::fromLocal8Bit(file)}, false);
    CMainFrame& frame = velkora.Frame();
    PaintWatch watch;
    frame.View()->viewport()->installEventFilter(&watch);
    frame.resize(1180, 640);
    frame.show();
    while (!watch.painted || frame.View()->model()->rowCount() == 0)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    const double seconds = Seconds(timer);
    frame.View()->viewport()->removeEventFilter(&watch);
    return seconds;
}

int Load(const char* file) {
    std::printf("%.6f\n", LoadAlone(file));
    return 0;
}

int Open(const char* file, CSilentUserPrompts& prompts) {
    std::printf("%.6f\n", OpenUntilShown(file, prompts));
    return 0;
}

int Sort(const char* file, CSilentUserPrompts& prompts) {
    CVelkoraApp velkora(prompts);
    velkora.InitInstance({QString::fromLocal8Bit(file)}, false);
    velkora.Frame().resize(1180, 640);
    velkora.Frame().show();
    QApplication::processEvents();
    CVelkoraView& view = *velkora.Frame().View();
    view.selectRow(0);
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (int column = 0; column < AffiliateListModel::kColumnCount; ++column) {
            view.SortByColumn(column); // ascending
            view.SortByColumn(column); // descending
        }
        QApplication::processEvents();
        best = std::min(best, Seconds(timer));
    }
    std::printf("%.6f\n", best);
    return 0;
}

int Build(const char* file, CSilentUserPrompts& prompts) {
    CVelkoraApp velkora(prompts);
    velkora.InitInstance({QString::fromLocal8Bit(file)}, false);
    velkora.Frame().resize(1180, 640);
    velkora.Frame().show();
    QApplication::processEvents();
    bool finished = false;
    int errors = 0;
    QObject::connect(&velkora.Doc(), &CVelkoraDoc::buildFinished, [&](int e) {
        finished = true;
        errors = e;
    });
    // The window's own event loop, which sleeps until the worker hands it a
    // line: polling here would take a processor from the worker.
    QEventLoop loop;
    QObject::connect(&velkora.Doc(), &CVelkoraDoc::buildFinished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    QElapsedTimer timer;
    timer.start();
    velkora.Doc().OnBuildAll();
    if (!finished)
        loop.exec();
    const double seconds = Seconds(timer);
    if (errors != 0) {
        std::fprintf(stderr, "Build All reported %d errors\n", errors);
        return 1;
    }
    std::printf("%.6f\n", seconds);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s load|open|sort|build FILE.vkp\n", argv[0]);
        return 2;
    }
    QTemporaryDir settings;
    // The recent-file list of the bench stays out of the user's settings.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    QApplication app(argc, argv);
    CSilentUserPrompts prompts;
    const char* mode = argv[1];
    if (std::strcmp(mode, "load") == 0)
        return Load(argv[2]);
    if (std::strcmp(mode, "open") == 0)
        return Open(argv[2], prompts);
    if (std::strcmp(mode, "sort") == 0)
        return Sort(argv[2], prompts);
    if (std::strcmp(mode, "build") == 0)
        return Build(argv[2], prompts);
    std::fprintf(stderr, "unknown mode %s\n", mode);
    return 2;
}
