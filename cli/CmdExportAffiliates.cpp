#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/CliError.h"
#include "cli/CliProject.h"
#include "cli/CommandArgs.h"

#include "model/AffProject.h"
#include "model/AffiliateCsv.h"
#include "platform/AtomicFile.h"

#include <memory>
#include <ostream>

namespace {

// Writes the affiliates as a CSV file that import-affiliates and spreadsheets read.
class CmdExportAffiliates : public CliCommand {
public:
    std::string_view Name() const override { return "export-affiliates"; }
    CliSyntax Syntax() const override {
        return {{"FILE.vkp"},
                {{"output", true, "F.csv", "Write to this file instead of standard output."}}};
    }
    bool WritesDataToOut() const override { return true; }
    std::string_view Summary() const override {
        return "Write the affiliates as CSV (UTF-8 with BOM, CRLF) to F.csv or standard output.";
    }

protected:
    int Run(const CliArgs& args, std::ostream& out, std::ostream& err) override {
        CAffProject project;
        if (!LoadCliProject(args.Positionals()[0], project, err))
            return kExitFailed;
        const std::string csv = WriteAffiliateCsv(project);
        if (!args.Has("output")) {
            out << csv;
            return kExitOk;
        }
        const std::string& target = args.Value("output");
        const platform::FileStatus written = platform::WriteFileAtomically(target, csv);
        if (!written.Ok()) {
            ReportFileError(err, target, "cannot write", written);
            return kExitFailed;
        }
        return kExitOk;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdExportAffiliates() {
    return std::make_unique<CmdExportAffiliates>();
}
