#include "cli/CliArgs.h"
#include "cli/CliBuildLog.h"
#include "cli/CliCommand.h"
#include "cli/CliProject.h"
#include "cli/CommandArgs.h"

#include "model/AffProject.h"
#include "package/SelfCreatorBuilder.h"

#include <memory>
#include <ostream>

namespace {

// Writes the self creator of a project's product, as the Build menu does.
class CmdBuildSelfCreator : public CliCommand {
public:
    std::string_view Name() const override { return "build-self-creator"; }
    CliSyntax Syntax() const override {
        return {{"FILE.vkp"}, {{"quiet", false, {}, "Print only errors; never ring the bell."}}};
    }
    std::string_view Summary() const override {
        return "Write the self creator that lets affiliates build their own custom setups.";
    }

protected:
    int Run(const CliArgs& args, std::ostream& out, std::ostream& err) override {
        const std::string& path = args.Positionals()[0];
        CAffProject project;
        if (!LoadCliProject(path, project, err))
            return kExitFailed;

        const std::string before = project.m_strSelfCreatorPath;
        CliBuildLog log(out, err, args.Has("quiet"));
        const CliBellScope bell(args.Has("quiet"));
        const SelfCreatorResult result = CSelfCreatorBuilder(log).Build(project);

        // The desktop program keeps a defaulted path in memory until the next
        // save; a command line has no later save, so it saves right away, but
        // only a path that now names a written self creator.
        if (result == SelfCreatorResult::Built && project.m_strSelfCreatorPath != before) {
            if (!SaveCliProject(path, project, err))
                return kExitFailed;
            if (!args.Has("quiet"))
                out << "Saved '" << path << "': self creator path set to '"
                    << project.m_strSelfCreatorPath << "'.\n";
        }
        return result == SelfCreatorResult::Built ? kExitOk : kExitFailed;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdBuildSelfCreator() {
    return std::make_unique<CmdBuildSelfCreator>();
}
