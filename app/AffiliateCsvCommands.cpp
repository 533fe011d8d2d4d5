#include "app/AffiliateCsvCommands.h"

#include "app/AppTexts.h"

#include "app/AppPrompts.h"
#include "app/Document.h"
#include "app/FileChoices.h"
#include "model/AffiliateCsv.h"
#include "model/AffiliateImport.h"
#include "model/AffiliateRowCheck.h"
#include "platform/AtomicFile.h"
#include "platform/FileRead.h"

#include <filesystem>
#include <limits>

namespace {

using apptext::FormatText;

// A message box holds only so many lines; the rest is counted.
constexpr size_t kListedRefusals = 15;

// The rules word their advice for the command line; in the window the link
// comes from the file's own column.
std::string ForTheWindow(std::string reason) {
    const std::string option = "with --purchase-link";
    const size_t at = reason.find(option);
    if (at != std::string::npos)
        reason.replace(at, option.size(), apptext::kImportLinkAdvice);
    return reason;
}

std::string FileNameOf(const std::string& path) {
    const std::u8string name =
        std::filesystem::path(std::u8string(path.begin(), path.end())).filename().u8string();
    return {name.begin(), name.end()};
}

// "<folder>/<project name> affiliates.csv" beside the project file.
std::string ExportFileName(const std::string& project) {
    const std::filesystem::path path(std::u8string(project.begin(), project.end()));
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    const std::u8string stem = path.stem().u8string();
    const std::u8string name =
        (folder / (std::u8string(stem) + u8" affiliates.csv")).generic_u8string();
    return {name.begin(), name.end()};
}

// Offers to save the whole report when the box showed only part of it.
void OfferFullReport(const AffiliateImportPlan& plan, IAppPrompts& prompts,
                     const std::string& csvPath) {
    if (plan.refused.size() <= kListedRefusals)
        return;
    const std::string listed = std::to_string(kListedRefusals);
    const std::string refused = std::to_string(plan.refused.size());
    if (!prompts.Question(FormatText(apptext::kImportSaveReport, {listed, refused}),
                          PromptIcon::Question))
        return;
    FileChoice request;
    request.initialPath = csvPath + ".report.txt";
    request.filters = ParseFilterChoices(std::string(apptext::kReportFilter));
    request.defaultSuffix = "txt";
    request.confirmOverwrite = true;
    const std::string path = prompts.SaveFile(request);
    if (path.empty())
        return;
    const std::string report = ImportReport(plan, std::numeric_limits<size_t>::max()) + "\n";
    if (!platform::WriteFileAtomically(path, report).Ok())
        prompts.Message(FormatText(apptext::kCannotWrite, {path}));
}

// True when the good rows should be added.
bool AskOrTell(const AffiliateImportPlan& plan, IAppPrompts& prompts, const std::string& csvPath) {
    const std::string report = ImportReport(plan, kListedRefusals);
    if (plan.refused.empty()) {
        prompts.Message(report, PromptIcon::Information);
        return true;
    }
    if (plan.accepted.empty()) {
        prompts.Message(report + std::string(apptext::kImportNothingAdded), PromptIcon::Warning);
        OfferFullReport(plan, prompts, csvPath);
        return false;
    }
    const std::string good = std::to_string(plan.accepted.size());
    const bool add = prompts.Question(report + FormatText(apptext::kImportAddGoodRows, {good}),
                                      PromptIcon::Warning);
    OfferFullReport(plan, prompts, csvPath);
    return add;
}

} // namespace

std::string ImportReport(const AffiliateImportPlan& plan, size_t listed) {
    const std::string rows = std::to_string(plan.rowCount);
    const std::string accepted = std::to_string(plan.accepted.size());
    const std::string refused = std::to_string(plan.refused.size());
    std::string text = FormatText(apptext::kImportSummary, {rows, accepted, refused});
    for (const std::string& column : plan.unknownColumns)
        text += FormatText(apptext::kImportIgnoredColumn, {column});
    for (size_t i = 0; i < plan.refused.size() && i < listed; ++i) {
        const std::string line = std::to_string(plan.refused[i].line);
        text +=
            FormatText(apptext::kImportRefusedLine, {line, ForTheWindow(plan.refused[i].reason)});
    }
    if (plan.refused.size() > listed) {
        const std::string more = std::to_string(plan.refused.size() - listed);
        text += FormatText(apptext::kImportMoreRefusals, {more});
    }
    return text;
}

size_t ImportAffiliates(Document& doc, IAppPrompts& prompts) {
    FileChoice request;
    request.caption = apptext::kImportAffiliatesTitle;
    request.filters = CsvFileChoices();
    request.defaultSuffix = "csv";
    const std::string path = prompts.OpenFile(request);
    return path.empty() ? 0 : ImportAffiliatesFrom(doc, prompts, path);
}

size_t ImportAffiliatesFrom(Document& doc, IAppPrompts& prompts, const std::string& csvPath) {
    std::string bytes;
    if (!platform::ReadFileBytes(csvPath, bytes).Ok()) {
        prompts.Message(FormatText(apptext::kCannotRead, {csvPath}));
        return 0;
    }
    const AffiliateImportPlan plan = PlanAffiliateImport(
        bytes, doc.Project(), AffiliateRowCheckAt(static_cast<int32_t>(doc.Now())));
    if (!plan.FileOk()) {
        const std::string line = std::to_string(plan.fileErrorLine);
        prompts.Message(
            FormatText(apptext::kImportFileError, {FileNameOf(csvPath), line, plan.fileError}));
        return 0;
    }
    if (!AskOrTell(plan, prompts, csvPath))
        return 0;
    const size_t added = ApplyAffiliateImport(plan, doc.Project(), true);
    if (added > 0)
        doc.AffiliatesAdded();
    return added;
}

bool ExportAffiliates(Document& doc, IAppPrompts& prompts) {
    FileChoice request;
    request.filters = CsvFileChoices();
    request.defaultSuffix = "csv";
    request.confirmOverwrite = true;
    request.initialPath = ExportFileName(doc.PathName().empty() ? doc.Title() : doc.PathName());
    const std::string path = prompts.SaveFile(request);
    if (path.empty())
        return false;
    if (!platform::WriteFileAtomically(path, WriteAffiliateCsv(doc.Project())).Ok()) {
        prompts.Message(FormatText(apptext::kCannotWrite, {path}));
        return false;
    }
    return true;
}
