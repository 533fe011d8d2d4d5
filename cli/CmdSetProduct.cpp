#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/CliProject.h"
#include "cli/CommandArgs.h"

#include "model/AffProject.h"

#include <memory>
#include <ostream>

namespace {

// Changes the product's texts as Product Settings does: stored as typed.
class CmdSetProduct : public CliCommand {
public:
    std::string_view Name() const override { return "set-product"; }
    std::string_view Usage() const override {
        return "FILE.vkp [--title T] [--version V] [--website W] [--setup-file F] "
               "[--output-dir D] [--self-creator-path P] [--uuid U]";
    }
    std::string_view Summary() const override {
        return "Change product fields; without options the file is rewritten unchanged.";
    }

    int Execute(const std::vector<std::string>& words, std::ostream& out,
                std::ostream& err) override {
        CliArgs args;
        if (!ParseCommandArgs(*this, words,
                              {{"title", true},
                               {"version", true},
                               {"website", true},
                               {"setup-file", true},
                               {"output-dir", true},
                               {"self-creator-path", true},
                               {"uuid", true}},
                              1, 1, args, err))
            return kExitUsage;
        const std::string& path = args.Positionals()[0];
        CAffProject project;
        if (!LoadCliProject(path, project, err))
            return kExitFailed;

        const std::pair<const char*, std::string*> fields[] = {
            {"title", &project.m_strTitle},
            {"version", &project.m_strVersion},
            {"website", &project.m_strWebSite},
            {"setup-file", &project.m_strSetupFile},
            {"output-dir", &project.m_strOutputDir},
            {"self-creator-path", &project.m_strSelfCreatorPath},
            {"uuid", &project.m_strUuid},
        };
        for (const auto& [option, field] : fields)
            if (args.Has(option))
                *field = args.Value(option);

        if (!SaveCliProject(path, project, err))
            return kExitFailed;
        out << "Saved '" << path << "'.\n";
        return kExitOk;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdSetProduct() {
    return std::make_unique<CmdSetProduct>();
}
