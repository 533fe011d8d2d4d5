#include "app/AffiliateCsvCommands.h"

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

// A message box holds only so many lines; the rest is counted.
constexpr size_t kListedRefusals = 15;

// The rules word their advice for the command line; in the window the link
// comes from the file's own column.
std::string ForTheWindow(std::string reason) {
    const std::string option = "with --purchase-link";
    const size_t at = reason.find(option);
    if (at != std::string::npos)
        reason.replace(at, option.size(), "in the file's \"Purchase Link\" column");
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
    if (!prompts.Question("The report lists " + std::to_string(kListedRefusals) + " of " +
                              std::to_string(plan.refused.size()) +
                              " refused rows. Save the whole report to a file?",
                          PromptIcon::Question))
        return;
    FileChoice request;
    request.initialPath = csvPath + ".report.txt";
    request.filters = ParseFilterChoices("Text Files (*.txt)|*.txt|All Files (*.*)|*.*||");
    request.defaultSuffix = "txt";
    request.confirmOverwrite = true;
    const std::string path = prompts.SaveFile(request);
    if (path.empty())
        return;
    const std::string report = ImportReport(plan, std::numeric_limits<size_t>::max()) + "\n";
    if (!platform::WriteFileAtomically(path, report).Ok())
        prompts.Message("Cannot write '" + path + "'.");
}

// True when the good rows should be added.
bool AskOrTell(const AffiliateImportPlan& plan, IAppPrompts& prompts, const std::string& csvPath) {
    const std::string report = ImportReport(plan, kListedRefusals);
    if (plan.refused.empty()) {
        prompts.Message(report, PromptIcon::Information);
        return true;
    }
    if (plan.accepted.empty()) {
        prompts.Message(report + "\n\nNothing was added.", PromptIcon::Warning);
        OfferFullReport(plan, prompts, csvPath);
        return false;
    }
    const bool add =
        prompts.Question(report + "\n\nAdd the " + std::to_string(plan.accepted.size()) +
                             " good row(s)? Choose No to add nothing.",
                         PromptIcon::Warning);
    OfferFullReport(plan, prompts, csvPath);
    return add;
}

} // namespace

std::string ImportReport(const AffiliateImportPlan& plan, size_t listed) {
    std::string text = std::to_string(plan.rowCount) +
                       " row(s) read: " + std::to_string(plan.accepted.size()) + " can be added, " +
                       std::to_string(plan.refused.size()) + " refused.";
    for (const std::string& column : plan.unknownColumns)
        text += "\nIgnored column '" + column + "'.";
    for (size_t i = 0; i < plan.refused.size() && i < listed; ++i)
        text += "\nLine " + std::to_string(plan.refused[i].line) + ": " +
                ForTheWindow(plan.refused[i].reason);
    if (plan.refused.size() > listed)
        text += "\n... and " + std::to_string(plan.refused.size() - listed) + " more.";
    return text;
}

size_t ImportAffiliates(Document& doc, IAppPrompts& prompts) {
    FileChoice request;
    request.caption = kImportAffiliatesTitle;
    request.filters = CsvFileChoices();
    request.defaultSuffix = "csv";
    const std::string path = prompts.OpenFile(request);
    return path.empty() ? 0 : ImportAffiliatesFrom(doc, prompts, path);
}

size_t ImportAffiliatesFrom(Document& doc, IAppPrompts& prompts, const std::string& csvPath) {
    std::string bytes;
    if (!platform::ReadFileBytes(csvPath, bytes).Ok()) {
        prompts.Message("Cannot read '" + csvPath + "'.");
        return 0;
    }
    const AffiliateImportPlan plan = PlanAffiliateImport(
        bytes, doc.Project(), AffiliateRowCheckAt(static_cast<int32_t>(doc.Now())));
    if (!plan.FileOk()) {
        prompts.Message(FileNameOf(csvPath) + ", line " + std::to_string(plan.fileErrorLine) +
                        ": " + plan.fileError + ".");
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
        prompts.Message("Cannot write '" + path + "'.");
        return false;
    }
    return true;
}
