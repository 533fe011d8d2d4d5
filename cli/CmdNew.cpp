#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/CliProject.h"
#include "cli/CliProjectLock.h"
#include "cli/CommandArgs.h"
#include "cli/ProductOptions.h"

#include "model/AffProject.h"
#include "model/NewProduct.h"
#include "model/PurchaseLink.h"
#include "model/RegistrationServices.h"
#include "platform/FileSystem.h"
#include "platform/Uuid.h"

#include <memory>
#include <optional>
#include <ostream>

namespace {

// Creates a project the way the New Project wizard's Finish does.
class CmdNew : public CliCommand {
public:
    std::string_view Name() const override { return "new"; }
    CliSyntax Syntax() const override {
        std::vector<CliOption> options = ProductTextOptions(
            {ServiceOption(CliOccurs::Required),
             {"product-id", true, "ID", "The product's ID at the service.", CliOccurs::Required},
             {"purchase-link", true, "L",
              "The product's purchase link; composed from the service when not given."},
             {"force", false, {}, "Replace FILE.vkp when it exists."},
             WaitOption()},
            CliOccurs::Required);
        for (CliOption& option : options)
            if (option.name == "self-creator-path")
                option.occurs = CliOccurs::Optional;
        return {{"FILE.vkp"}, std::move(options)};
    }
    std::string_view Summary() const override {
        return "Create a project with a new program UUID and one registration service.";
    }

protected:
    int Run(const CliArgs& args, std::ostream& out, std::ostream& err) override {
        // The wizard keeps Next disabled until these are filled in.
        for (const CliOption& option : Syntax().options) {
            if (option.occurs == CliOccurs::Required && args.Value(option.name).empty()) {
                err << "Option --" << option.name << " is required and must not be empty.\n";
                return kExitUsage;
            }
        }
        std::optional<int32_t> chosen; // --service is among the required options above
        if (!ReadServiceOption(args, chosen, err))
            return kExitUsage;
        const int32_t service = *chosen;
        std::string link = args.Value("purchase-link");
        if (link.empty())
            ComposeProductLink(service, link, args.Value("product-id"), ComposeMode::Keep);
        if (link.empty()) {
            err << "Service '" << ServiceNameFromIndex(service)
                << "' has no purchase endpoint; give the product's link with --purchase-link.\n";
            return kExitUsage;
        }

        const std::string path = args.Positionals()[0];
        platform::FileLock lock;
        if (const int locked = LockCliProject(*this, args, path, lock, err, true);
            locked != kExitOk)
            return locked;
        // Looked at under the lock: two commands never both find no file.
        if (!args.Has("force") && platform::PathExists(path)) {
            err << "File '" << path << "' already exists; use --force to replace it.\n";
            return kExitFailed;
        }

        CAffProject project;
        AttachCliProject(path, project);
        CopyProductTexts(args, project);
        StartNewProduct(project, service, args.Value("product-id"), link);

        if (!SaveCliProject(path, project, err))
            return kExitFailed;
        out << "Created '" << path << "' with program UUID " << project.m_strUuid << ".\n";
        return kExitOk;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdNew() {
    return std::make_unique<CmdNew>();
}
