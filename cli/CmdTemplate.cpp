#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/CliProject.h"

#include "model/AffProject.h"
#include "package/SetupTemplate.h"

#include <memory>
#include <ostream>

namespace {

// Writes the product's setup template, the one file a vendor signs before
// stamping a copy per affiliate.
class CmdTemplate : public CliCommand {
public:
    std::string_view Name() const override { return "template"; }
    CliSyntax Syntax() const override {
        return {{"FILE.vkp"},
                {{"output", true, "T.exe", "Where the template goes.", CliOccurs::Required},
                 {"quiet", false, {}, "Print only errors."}}};
    }
    std::string_view Summary() const override {
        return "Write the product's custom setup that credits the vendor, to be signed once and "
               "stamped per affiliate.";
    }

protected:
    int Run(const CliArgs& args, std::ostream& out, std::ostream& err) override {
        CAffProject project;
        if (!LoadCliProject(args.Positionals()[0], project, err))
            return kExitFailed;
        const std::string output = project.ResolveProjectPath(args.Value("output"));
        switch (BuildSetupTemplate(project, output)) {
        case SFX_OK:
            if (!args.Has("quiet"))
                out << "File '" << output << "' created successfully.\n"
                    << "Sign it, then stamp it for the affiliates with 'velkora-cli stamp'.\n";
            return kExitOk;
        case SFX_ERR_SOURCE:
            err << "Error! Can't open program setup file[" << project.m_strSetupFile << "].\n";
            return kExitFailed;
        default:
            err << "Error! Can't build affiliate setup file [" << output << "].\n";
            return kExitFailed;
        }
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdTemplate() {
    return std::make_unique<CmdTemplate>();
}
