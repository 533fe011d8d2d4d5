#include "cli/AffiliateDraft.h"
#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/CliProject.h"
#include "cli/CommandArgs.h"

#include "model/AffProject.h"
#include "platform/Clock.h"

#include <memory>
#include <ostream>

namespace {

// Adds an affiliate the way the affiliate dialog and Add Affiliate do.
class CmdAddAffiliate : public CliCommand {
public:
    std::string_view Name() const override { return "add-affiliate"; }
    std::string_view Usage() const override {
        return "FILE.vkp --name N --affiliate-id A [--service NAME] [--website W] [--email E] "
               "[--setup-path P] [--purchase-link L]";
    }
    std::string_view Summary() const override {
        return "Add an affiliate; its purchase link and setup path are derived when not given.";
    }

    int Execute(const std::vector<std::string>& words, std::ostream& out,
                std::ostream& err) override {
        CliArgs args;
        if (!ParseCommandArgs(*this, words,
                              {{"name", true},
                               {"affiliate-id", true},
                               {"service", true},
                               {"website", true},
                               {"email", true},
                               {"setup-path", true},
                               {"purchase-link", true}},
                              1, 1, args, err))
            return kExitUsage;
        AffiliateInput input;
        input.name = args.Value("name");
        input.affiliateId = args.Value("affiliate-id");
        input.webSite = args.Value("website");
        input.email = args.Value("email");
        if (!ReadServiceOption(args, input.service, err))
            return kExitUsage;
        if (args.Has("setup-path"))
            input.setupPath = args.Value("setup-path");
        if (args.Has("purchase-link"))
            input.purchaseLink = args.Value("purchase-link");

        const std::string& path = args.Positionals()[0];
        CAffProject project;
        if (!LoadCliProject(path, project, err))
            return kExitFailed;
        const AffiliateDraft draft =
            DraftNewAffiliate(input, project, static_cast<int32_t>(platform::SystemNow()));
        if (!draft.ok) {
            err << draft.message << "\n";
            return kExitFailed;
        }
        uint16_t key = 0;
        if (project.AddReseller(draft.record, &key) != CAffProject::AddResult::Added) {
            err << "The project has no free affiliate key left.\n";
            return kExitFailed;
        }
        if (!SaveCliProject(path, project, err))
            return kExitFailed;
        out << "Added affiliate " << key << " '" << draft.record.m_strName << "'\n"
            << "  Purchase link: " << draft.record.m_strPurchaseLink << "\n"
            << "  Setup path:    " << draft.record.m_strSetupPath << "\n";
        return kExitOk;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdAddAffiliate() {
    return std::make_unique<CmdAddAffiliate>();
}
