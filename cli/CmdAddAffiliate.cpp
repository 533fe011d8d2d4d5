#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/CliProject.h"
#include "cli/CliProjectLock.h"
#include "cli/CommandArgs.h"
#include "cli/TerminalText.h"

#include "model/AffProject.h"
#include "model/AffiliateDraft.h"
#include "platform/Clock.h"

#include <memory>
#include <ostream>

namespace {

// Adds an affiliate the way the affiliate dialog and Add Affiliate do.
class CmdAddAffiliate : public CliCommand {
public:
    std::string_view Name() const override { return "add-affiliate"; }
    CliSyntax Syntax() const override {
        return {
            {"FILE.vkp"},
            {{"name", true, "N", "The affiliate's name.", CliOccurs::Required},
             {"affiliate-id", true, "A", "The affiliate's ID at the service.", CliOccurs::Required},
             ServiceOption(),
             {"website", true, "W", "The affiliate's web site."},
             {"email", true, "E", "The affiliate's e-mail address."},
             {"setup-path", true, "P", "Where the custom setup is written."},
             {"purchase-link", true, "L", "The purchase link the custom setup stores."},
             WaitOption()}};
    }
    std::string_view Summary() const override {
        return "Add an affiliate; its purchase link and setup path are derived when not given.";
    }

protected:
    int Run(const CliArgs& args, std::ostream& out, std::ostream& err) override {
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
        platform::FileLock lock;
        if (const int locked = LockCliProject(*this, args, path, lock, err); locked != kExitOk)
            return locked;
        // Read under the lock: the next key comes from the newest file.
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
        out << "Added affiliate " << key << " '" << TerminalSafe(draft.record.m_strName) << "'\n"
            << "  Purchase link: " << TerminalSafe(draft.record.m_strPurchaseLink) << "\n"
            << "  Setup path:    " << TerminalSafe(draft.record.m_strSetupPath) << "\n";
        return kExitOk;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdAddAffiliate() {
    return std::make_unique<CmdAddAffiliate>();
}
