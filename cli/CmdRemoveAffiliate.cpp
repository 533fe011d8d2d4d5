#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/CliProject.h"
#include "cli/CliProjectLock.h"
#include "cli/CommandArgs.h"
#include "cli/TerminalText.h"

#include "model/AffProject.h"

#include <memory>
#include <ostream>

namespace {

bool ParseKey(const std::string& text, uint16_t& key) {
    if (text.empty() || text.size() > 5)
        return false;
    uint32_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    if (value > 0xFFFF)
        return false;
    key = static_cast<uint16_t>(value);
    return true;
}

// Deletes one affiliate by its key, as Delete Affiliate does.
class CmdRemoveAffiliate : public CliCommand {
public:
    std::string_view Name() const override { return "remove-affiliate"; }
    CliSyntax Syntax() const override { return {{"FILE.vkp", "KEY"}, {WaitOption()}}; }
    std::string_view Summary() const override {
        return "Delete the affiliate with key KEY (see 'show').";
    }

protected:
    int Run(const CliArgs& args, std::ostream& out, std::ostream& err) override {
        const std::string& path = args.Positionals()[0];
        uint16_t key = 0;
        if (!ParseKey(args.Positionals()[1], key)) {
            err << "'" << args.Positionals()[1]
                << "' is not an affiliate key (a number from 0 to 65535).\n";
            return kExitUsage;
        }
        platform::FileLock lock;
        if (const int locked = LockCliProject(*this, args, path, lock, err); locked != kExitOk)
            return locked;
        CAffProject project;
        if (!LoadCliProject(path, project, err))
            return kExitFailed;
        const CReseller* affiliate = project.LookupReseller(key);
        if (!affiliate) {
            err << "There is no affiliate with key " << key << " in '" << path << "'.\n";
            return kExitFailed;
        }
        const std::string name = affiliate->m_strName;
        project.RemoveReseller(key);
        if (!SaveCliProject(path, project, err))
            return kExitFailed;
        out << "Removed affiliate " << key << " '" << TerminalSafe(name) << "'.\n";
        return kExitOk;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdRemoveAffiliate() {
    return std::make_unique<CmdRemoveAffiliate>();
}
