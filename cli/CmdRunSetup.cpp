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
    std::string_view Usage() const override { return "FILE.vkp KEY"; }
    std::string_view Summary() const override {
        return "Run an affiliate's custom setup, building it first when it is out of date.";
    }

    int Execute(const std::vector<std::string>& words, std::ostream& out,
                std::ostream& err) override {
        CliArgs args;
        std::string error;
        uint16_t key = 0;
        if (!args.Parse(words, {}, 2, 2, error) || !ParseAffiliateKey(args.Positionals()[1], key)) {
            if (error.empty())
                error = "'" + args.Positionals()[1] + "' is not an affiliate key (0 to 65535).";
            return ReportUsageError(*this, error, err);
        }
        const std::string& file = args.Positionals()[0];
        CAffProject project;
        if (!LoadCliProject(file, project, err))
            return kExitFailed;
        if (!RequireAffiliate(project, key, file, err))
            return kExitFailed;

        CliBuildLog log(out);
        CAffiliateBuilder builder(CliBuildEnvironment(log, err, false));
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
