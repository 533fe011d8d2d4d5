#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/CliError.h"
#include "cli/CliProject.h"
#include "cli/CliProjectLock.h"
#include "cli/CommandArgs.h"
#include "cli/JsonText.h"
#include "cli/TerminalText.h"

#include "model/AffProject.h"
#include "model/AffiliateImport.h"
#include "model/AffiliateRowCheck.h"
#include "platform/Clock.h"
#include "platform/FileRead.h"

#include <memory>
#include <ostream>

namespace {

void ReportText(const AffiliateImportPlan& plan, size_t added, bool dryRun, std::ostream& out) {
    for (const std::string& column : plan.unknownColumns)
        out << "Ignored column '" << TerminalSafe(column) << "'.\n";
    for (const RefusedAffiliateRow& row : plan.refused)
        out << "Line " << row.line << ": " << row.reason << "\n";
    out << plan.rowCount << " row(s): " << plan.accepted.size() << " accepted, "
        << plan.refused.size() << " refused; "
        << (dryRun ? "would add " + std::to_string(added) : "added " + std::to_string(added))
        << " affiliate(s).\n";
}

void ReportJson(const AffiliateImportPlan& plan, size_t added, bool dryRun, std::ostream& out) {
    out << "{\n  \"rows\": " << plan.rowCount << ",\n  \"accepted\": " << plan.accepted.size()
        << ",\n  \"added\": " << added << ",\n  \"dryRun\": " << (dryRun ? "true" : "false")
        << ",\n  \"ignoredColumns\": [";
    for (size_t i = 0; i < plan.unknownColumns.size(); ++i)
        out << (i ? ", " : "") << JsonQuote(plan.unknownColumns[i]);
    out << "],\n  \"refused\": [";
    for (size_t i = 0; i < plan.refused.size(); ++i)
        out << (i ? ",\n" : "\n") << "    {\"line\": " << plan.refused[i].line
            << ", \"reason\": " << JsonQuote(plan.refused[i].reason) << "}";
    out << (plan.refused.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

size_t WouldAdd(const AffiliateImportPlan& plan, bool skipBad) {
    return plan.refused.empty() || skipBad ? plan.accepted.size() : 0;
}

// Adds the affiliates of a comma-separated file, each row judged as the
// affiliate dialog judges its fields; with any refused row nothing is added
// unless --skip-bad.
class CmdImportAffiliates : public CliCommand {
public:
    std::string_view Name() const override { return "import-affiliates"; }
    CliSyntax Syntax() const override {
        return {{"FILE.vkp", "AFFILIATES.csv"},
                {{"dry-run", false, {}, "Only report what would be added; change nothing."},
                 {"skip-bad", false, {}, "Add the good rows even when others are refused."},
                 {"allow-outside",
                  false,
                  {},
                  "Accept setup paths outside the project's output folder."},
                 {"json", false, {}, "Print the report as JSON."},
                 WaitOption()}};
    }
    std::string_view Summary() const override {
        return "Add the affiliates of a CSV file; all or nothing unless --skip-bad.";
    }

protected:
    int Run(const CliArgs& args, std::ostream& out, std::ostream& err) override {
        const std::string& path = args.Positionals()[0];
        const std::string& csvPath = args.Positionals()[1];
        const bool dryRun = args.Has("dry-run");
        // A dry run only reads, and readers take no lock.
        platform::FileLock lock;
        if (!dryRun) {
            if (const int locked = LockCliProject(*this, args, path, lock, err); locked != kExitOk)
                return locked;
        }
        CAffProject project;
        if (!LoadCliProject(path, project, err))
            return kExitFailed;
        std::string bytes;
        if (const platform::FileStatus read = platform::ReadFileBytes(csvPath, bytes); !read.Ok()) {
            ReportFileError(err, csvPath, "cannot read", read);
            return kExitFailed;
        }
        const AffiliateImportPlan plan =
            PlanAffiliateImport(bytes, project,
                                AffiliateRowCheckAt(static_cast<int32_t>(platform::SystemNow()),
                                                    args.Has("allow-outside")));
        if (!plan.FileOk()) {
            err << csvPath << ", line " << plan.fileErrorLine << ": " << plan.fileError << ".\n";
            return kExitFailed;
        }
        const bool skipBad = args.Has("skip-bad");
        const size_t added =
            dryRun ? WouldAdd(plan, skipBad) : ApplyAffiliateImport(plan, project, skipBad);
        if (added > 0 && !dryRun && !SaveCliProject(path, project, err))
            return kExitFailed;
        if (args.Has("json"))
            ReportJson(plan, added, dryRun, out);
        else
            ReportText(plan, added, dryRun, out);
        if (!plan.refused.empty() && !skipBad) {
            err << "Nothing was added: " << plan.refused.size()
                << " row(s) were refused (--skip-bad adds the others).\n";
            return kExitFailed;
        }
        return kExitOk;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdImportAffiliates() {
    return std::make_unique<CmdImportAffiliates>();
}
