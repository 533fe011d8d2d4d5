#include "ui/BuildSelfCreator.h"

#include "package/BuildLogSink.h"
#include "package/SelfCreatorBuilder.h"
#include "ui/VelkoraDoc.h"

#include <QApplication>

namespace {

// Stands in for the build log before the main frame has set one.
class CDiscardLog : public IBuildLogSink {
public:
    void Clear() override {}
    void Append(const std::string&) override {}
};

} // namespace

void RunBuildSelfCreator(CVelkoraDoc& doc, QWidget* /*parent*/) {
    // The same adjustments as the affiliate builds get (tests move the
    // temporary folder and the clock).
    BuildEnvironment env;
    env.log = doc.Log();
    env.now = doc.clock;
    if (doc.adjustBuildEnvironment)
        doc.adjustBuildEnvironment(env);

    CDiscardLog discard;
    CSelfCreatorBuilder builder(env.log ? *env.log : discard, env.now);
    if (!env.tempFolder.empty())
        builder.SetTempFolder(env.tempFolder);

    // Runs to its end on this thread. A defaulted self creator path is kept
    // in the project but does not mark it modified: it is saved with the
    // next save.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    builder.Build(doc.Project());
    QApplication::restoreOverrideCursor();
}
