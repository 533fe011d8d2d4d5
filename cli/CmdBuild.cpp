#include "cli/CliBuildLog.h"
#include "cli/CliCommand.h"
#include "cli/CliProject.h"
#include "cli/CommandArgs.h"

#include "model/AffProject.h"
#include "package/AffiliateBuilder.h"

#include <memory>
#include <optional>
#include <ostream>

namespace {

// Build All, or Build Selected for the keys given; the project file is only
// read.
class CmdBuild : public CliCommand {
public:
    std::string_view Name() const override { return "build"; }
    CliSyntax Syntax() const override {
        return {{"FILE.vkp"},
                {AffiliateKeyOption("Build only this affiliate (see 'show'); repeatable."),
                 {"quiet", false, {}, "Print only errors; never ring the bell."},
                 BellOption()}};
    }
    std::string_view Summary() const override {
        return "Build the custom setup files of all affiliates, or of the ones given.";
    }

protected:
    int Run(const CliArgs& args, std::ostream& out, std::ostream& err) override {
        std::optional<std::vector<uint16_t>> given = ReadAffiliateKeyOptions(*this, args, err);
        if (!given)
            return kExitUsage;
        std::vector<uint16_t> keys = std::move(*given);
        const std::string& file = args.Positionals()[0];
        CAffProject project;
        if (!LoadCliProjectWithAffiliates(file, keys, project, err))
            return kExitFailed;

        const bool quiet = args.Has("quiet");
        CliBuildLog log(out, err, quiet);
        const CliBellScope bell(quiet, args.Has("bell"));
        CAffiliateBuilder builder(CliBuildEnvironment(log, err, quiet));
        auto job = keys.empty() ? builder.BuildAll(project) : builder.BuildSelected(project, keys);
        return job->Wait() == 0 ? kExitOk : kExitFailed;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdBuild() {
    return std::make_unique<CmdBuild>();
}
