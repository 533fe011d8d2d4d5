#include "cli/CliArgs.h"
#include "cli/CliBuildLog.h"
#include "cli/CliCommand.h"
#include "cli/CliProject.h"
#include "cli/CommandArgs.h"

#include "model/AffProject.h"
#include "package/AffiliateBuilder.h"

#include <memory>
#include <ostream>

namespace {

// Starts one affiliate's custom setup, building it first when it is missing or
// older than the affiliate's last change.
class CmdRunSetup : public CliCommand {
public:
    std::string_view Name() const override { return "run-setup"; }
    CliSyntax Syntax() const override {
        return {{"FILE.vkp", "KEY"},
                {{"quiet", false, {}, "Print only errors; never ring the bell."}, BellOption()},
                "ARGS"};
    }
    std::string_view Summary() const override {
        return "Run an affiliate's custom setup (built first when out of date) with ARGS.";
    }

protected:
    int Run(const CliArgs& args, std::ostream& out, std::ostream& err) override {
        uint16_t key = 0;
        if (!ParseAffiliateKey(args.Positionals()[1], key))
            return ReportUsageError(
                *this, "'" + args.Positionals()[1] + "' is not an affiliate key (0 to 65535).",
                err);
        const std::string& file = args.Positionals()[0];
        CAffProject project;
        if (!LoadCliProjectWithAffiliates(file, {key}, project, err))
            return kExitFailed;

        const bool quiet = args.Has("quiet");
        CliBuildLog log(out, err, quiet);
        const CliBellScope bell(quiet, args.Has("bell"));
        CAffiliateBuilder builder(CliBuildEnvironment(log, err, quiet, args.Rest()));
        RunSetupOutcome outcome = builder.RunSetup(project, key);
        if (outcome.startedExisting)
            return kExitOk;
        return outcome.job->Wait() == 0 ? kExitOk : kExitFailed;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdRunSetup() {
    return std::make_unique<CmdRunSetup>();
}
