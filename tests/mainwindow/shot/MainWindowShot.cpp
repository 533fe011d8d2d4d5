// Renders the main window with the example project after a Build All to
// velkora-main-window.png in the folder given as the first argument. The
// example is copied to a temporary folder first, so the build writes nothing
// into the source tree.

#include "ui/MainFrame.h"
#include "ui/StatusListView.h"
#include "ui/UserPrompts.h"
#include "ui/VelkoraApp.h"
#include "ui/VelkoraDoc.h"
#include "ui/VelkoraView.h"
#include "ui/screenshots/ShotWriter.h"
#include "ui/screenshots/SilentUserPrompts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

bool CopyExample(const QString& from, const QString& to) {
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files)) {
        if (!QFile::copy(source.filePath(name), QDir(to).filePath(name)))
            return false;
    }
    return QFile::exists(QDir(to).filePath("Example.vkp"));
}

} // namespace

int main(int argc, char* argv[]) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <output folder> <examples folder>\n", argv[0]);
        return 2;
    }
    QTemporaryDir work;
    // The recent-file list of the shot stays out of the user's settings.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, work.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, work.path());
    QApplication app(argc, argv);
    const QString output = QString::fromLocal8Bit(argv[1]);
    const QString project = QDir(work.path()).filePath("project");
    QDir().mkpath(project);
    if (!CopyExample(QString::fromLocal8Bit(argv[2]), project)) {
        std::fprintf(stderr, "cannot copy the example project\n");
        return 1;
    }

    CSilentUserPrompts prompts;
    CVelkoraApp velkora(prompts);
    velkora.InitInstance({QDir(project).filePath("Example.vkp")}, false);
    CMainFrame& frame = velkora.Frame();
    frame.resize(1180, 640);
    frame.show();
    QApplication::processEvents();

    bool finished = false;
    QObject::connect(&velkora.Doc(), &CVelkoraDoc::buildFinished, [&](int) { finished = true; });
    velkora.Doc().OnBuildAll();
    QElapsedTimer timer;
    timer.start();
    while (!finished && timer.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!finished) {
        std::fprintf(stderr, "the build did not finish\n");
        return 1;
    }
    CVelkoraView* view = frame.View();
    view->selectRow(0);
    frame.UpdateCommandUI();
    QApplication::processEvents();
    // The log paints its last lines at the end of its frame interval.
    while (frame.Log()->RepaintHeld())
        QApplication::processEvents(QEventLoop::AllEvents, 20);

    CShotWriter shots(output);
    shots.Shoot(&frame, QStringLiteral("velkora-main-window"));
    return shots.ExitStatus();
}
