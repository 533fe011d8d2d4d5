#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/CliProject.h"
#include "cli/CommandArgs.h"
#include "cli/ProductOptions.h"

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
        if (!ParseCommandArgs(*this, words, ProductTextOptions({{"uuid", true}}), 1, 1, args, err))
            return kExitUsage;
        const std::string& path = args.Positionals()[0];
        CAffProject project;
        if (!LoadCliProject(path, project, err))
            return kExitFailed;

        CopyProductTexts(args, project);
        if (args.Has("uuid"))
            project.m_strUuid = args.Value("uuid");

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
