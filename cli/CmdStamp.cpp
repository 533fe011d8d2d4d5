#include "cli/CliArgs.h"
#include "cli/CliBuildLog.h"
#include "cli/CliCommand.h"
#include "cli/CliProject.h"
#include "cli/CommandArgs.h"

#include "model/AffProject.h"
#include "model/ProjectPaths.h"
#include "package/AffiliateBuilder.h"
#include "package/SetupTemplate.h"
#include "package/StampTemplate.h"
#include "package/StampingWriter.h"
#include "platform/HostPath.h"

#include <memory>
#include <optional>
#include <ostream>

namespace {

// Every affiliate's output moved into folder, under its own file name.
void RedirectOutputs(CAffProject& project, const std::string& folder) {
    const std::string base = project.ResolveProjectPath(folder);
    for (const uint16_t key : project.m_mapResellers.Keys()) {
        CReseller* affiliate = project.LookupReseller(key);
        if (affiliate && !affiliate->m_strSetupPath.empty())
            affiliate->m_strSetupPath =
                projectpaths::JoinPath(base, projectpaths::FileNameOf(affiliate->m_strSetupPath),
                                       platform::HostPathStyle());
    }
}

// Build All (or Build Selected) from a signed template: each affiliate's
// custom setup is the template with the affiliate's information stamped into
// its signature, which stays valid. The project file is only read.
class CmdStamp : public CliCommand {
public:
    std::string_view Name() const override { return "stamp"; }
    CliSyntax Syntax() const override {
        return {{"FILE.vkp"},
                {{"template", true, "SIGNED.exe", "The product's template, signed.",
                  CliOccurs::Required},
                 AffiliateKeyOption("Stamp only this affiliate (see 'show'); repeatable."),
                 {"output-dir", true, "D",
                  "Write the copies into D under their file names instead of their paths."},
                 {"quiet", false, {}, "Print only errors; never ring the bell."},
                 BellOption()}};
    }
    std::string_view Summary() const override {
        return "Write each affiliate's custom setup as a stamped copy of the signed template.";
    }

protected:
    int Run(const CliArgs& args, std::ostream& out, std::ostream& err) override {
        std::optional<std::vector<uint16_t>> given = ReadAffiliateKeyOptions(*this, args, err);
        if (!given)
            return kExitUsage;
        const std::vector<uint16_t> keys = std::move(*given);
        CAffProject project;
        if (!LoadCliProjectWithAffiliates(args.Positionals()[0], keys, project, err))
            return kExitFailed;
        const std::string templatePath = project.ResolveProjectPath(args.Value("template"));
        auto stampTemplate = std::make_shared<CStampTemplate>();
        const std::string problem = OpenTemplateForStamping(project, templatePath, *stampTemplate);
        if (!problem.empty()) {
            err << problem << "\n";
            return kExitFailed;
        }
        if (args.Has("output-dir"))
            RedirectOutputs(project, args.Value("output-dir"));

        const bool quiet = args.Has("quiet");
        CliBuildLog log(out, err, quiet);
        const CliBellScope bell(quiet, args.Has("bell"));
        BuildEnvironment env = CliBuildEnvironment(log, err, quiet);
        env.writePackage = StampingWriter(stampTemplate);
        CAffiliateBuilder builder(std::move(env));
        auto job = keys.empty() ? builder.BuildAll(project) : builder.BuildSelected(project, keys);
        return job->Wait() == 0 ? kExitOk : kExitFailed;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdStamp() {
    return std::make_unique<CmdStamp>();
}
