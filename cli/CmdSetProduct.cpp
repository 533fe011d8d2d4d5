#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/CliProject.h"
#include "cli/CliProjectLock.h"
#include "cli/CommandArgs.h"
#include "cli/ProductOptions.h"

#include "model/AffProject.h"
#include "model/ProjectSnapshot.h"

#include <memory>
#include <ostream>

namespace {

// Changes the product's texts as Product Settings does: stored as typed.
class CmdSetProduct : public CliCommand {
public:
    std::string_view Name() const override { return "set-product"; }
    CliSyntax Syntax() const override {
        return {{"FILE.vkp"},
                ProductTextOptions(
                    {{"uuid", true, "U", "The program UUID the setups store."}, WaitOption()})};
    }
    std::string_view Summary() const override {
        return "Change product fields; without options the file is rewritten unchanged.";
    }

protected:
    int Run(const CliArgs& args, std::ostream& out, std::ostream& err) override {
        const std::string& path = args.Positionals()[0];
        // Only the product changes: the affiliates go back as they were read,
        // without texts of their own.
        platform::FileLock lock;
        if (const int locked = LockCliProject(*this, args, path, lock, err); locked != kExitOk)
            return locked;
        CProjectSnapshot snapshot;
        if (!LoadCliSnapshot(path, snapshot, err))
            return kExitFailed;

        CopyProductTexts(args, snapshot.product);
        if (args.Has("uuid"))
            snapshot.product.m_strUuid = args.Value("uuid");

        if (!SaveCliSnapshot(path, snapshot, err))
            return kExitFailed;
        out << "Saved '" << path << "'.\n";
        return kExitOk;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdSetProduct() {
    return std::make_unique<CmdSetProduct>();
}
