#include "ui/AffiliateCsvCommands.h"

#include "model/AffiliateCsv.h"
#include "model/AffiliateImport.h"
#include "model/AffiliateRowCheck.h"
#include "platform/AtomicFile.h"
#include "platform/FileRead.h"
#include "ui/UserPrompts.h"
#include "ui/VelkoraDoc.h"

#include <QFileInfo>

namespace {

// A message box holds only so many lines; the rest is counted.
constexpr size_t kListedRefusals = 15;

const QList<FileFilter> kCsvFilters = {{"CSV Files (*.csv)", "*.csv"}, {"All Files (*.*)", "*.*"}};

QString Text(const std::string& bytes) {
    return QString::fromUtf8(bytes.c_str());
}

QString Summary(const AffiliateImportPlan& plan) {
    QString text = QStringLiteral("%1 row(s) read: %2 can be added, %3 refused.")
                       .arg(plan.rowCount)
                       .arg(plan.accepted.size())
                       .arg(plan.refused.size());
    for (const std::string& column : plan.unknownColumns)
        text += QStringLiteral("\nIgnored column '%1'.").arg(Text(column));
    for (size_t i = 0; i < plan.refused.size() && i < kListedRefusals; ++i)
        text += QStringLiteral("\nLine %1: %2")
                    .arg(plan.refused[i].line)
                    .arg(Text(plan.refused[i].reason));
    if (plan.refused.size() > kListedRefusals)
        text += QStringLiteral("\n... and %1 more.").arg(plan.refused.size() - kListedRefusals);
    return text;
}

// True when the good rows should be added.
bool AskOrTell(CVelkoraDoc& doc, const AffiliateImportPlan& plan, QWidget* parent) {
    if (plan.refused.empty()) {
        doc.Prompts().Message(parent, Summary(plan), PromptIcon::Information);
        return true;
    }
    if (plan.accepted.empty()) {
        doc.Prompts().Message(parent, Summary(plan) + "\n\nNothing was added.",
                              PromptIcon::Warning);
        return false;
    }
    return doc.Prompts().Question(parent,
                                  Summary(plan) +
                                      QStringLiteral("\n\nAdd the %1 good row(s)? Choose No "
                                                     "to add nothing.")
                                          .arg(plan.accepted.size()),
                                  PromptIcon::Warning);
}

} // namespace

size_t OnImportAffiliates(CVelkoraDoc& doc, QWidget* parent) {
    FileRequest request;
    request.filters = kCsvFilters;
    request.defaultSuffix = "csv";
    const QString path = doc.Prompts().OpenFile(parent, request);
    return path.isEmpty() ? 0 : ImportAffiliatesFrom(doc, path, parent);
}

size_t ImportAffiliatesFrom(CVelkoraDoc& doc, const QString& csvPath, QWidget* parent) {
    std::string bytes;
    if (!platform::ReadFileBytes(csvPath.toStdString(), bytes).Ok()) {
        doc.Prompts().Message(parent, QStringLiteral("Cannot read '%1'.").arg(csvPath));
        return 0;
    }
    const AffiliateImportPlan plan = PlanAffiliateImport(
        bytes, doc.Project(), AffiliateRowCheckAt(static_cast<int32_t>(doc.Now())));
    if (!plan.FileOk()) {
        doc.Prompts().Message(parent, QStringLiteral("%1, line %2: %3.")
                                          .arg(QFileInfo(csvPath).fileName())
                                          .arg(plan.fileErrorLine)
                                          .arg(Text(plan.fileError)));
        return 0;
    }
    if (!AskOrTell(doc, plan, parent))
        return 0;
    const size_t added = ApplyAffiliateImport(plan, doc.Project(), true);
    if (added > 0) {
        doc.SetModifiedFlag();
        emit doc.viewsUpdateRequested();
    }
    return added;
}

bool OnExportAffiliates(CVelkoraDoc& doc, QWidget* parent) {
    FileRequest request;
    request.filters = kCsvFilters;
    request.defaultSuffix = "csv";
    request.confirmOverwrite = true;
    const QString base = doc.PathName().isEmpty() ? doc.Title() : doc.PathName();
    request.initialPath =
        QFileInfo(base).path() + "/" + QFileInfo(base).completeBaseName() + " affiliates.csv";
    const QString path = doc.Prompts().SaveFile(parent, request);
    if (path.isEmpty())
        return false;
    if (!platform::WriteFileAtomically(path.toStdString(), WriteAffiliateCsv(doc.Project())).Ok()) {
        doc.Prompts().Message(parent, QStringLiteral("Cannot write '%1'.").arg(path));
        return false;
    }
    return true;
}
