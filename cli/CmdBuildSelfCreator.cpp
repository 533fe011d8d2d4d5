#include "cli/CliArgs.h"
#include "cli/CliBuildLog.h"
#include "cli/CliCommand.h"
#include "cli/CliProject.h"
#include "cli/CliProjectLock.h"
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
        return {{"FILE.vkp"},
                {{"template", true, "SIGNED.exe",
                  "Carry the product's signed template instead of its setup file: the self "
                  "creator then stamps each affiliate's copy of it, keeping the signature."},
                 {"quiet", false, {}, "Print only errors; never ring the bell."},
                 BellOption(),
                 WaitOption()}};
    }
    std::string_view Summary() const override {
        return "Write the self creator that lets affiliates build their own custom setups.";
    }

protected:
    int Run(const CliArgs& args, std::ostream& out, std::ostream& err) override {
        const std::string& path = args.Positionals()[0];
        if (!WaitOptionValid(*this, args, err))
            return kExitUsage;
        CAffProject project;
        if (!LoadCliProject(path, project, err))
            return kExitFailed;

        const std::string before = project.m_strSelfCreatorPath;
        CliBuildLog log(out, err, args.Has("quiet"));
        const CliBellScope bell(args.Has("quiet"), args.Has("bell"));
        CSelfCreatorBuilder builder(log);
        if (args.Has("template"))
            builder.SetSignedTemplate(args.Value("template"));
        const SelfCreatorResult result = builder.Build(project);

        // The desktop program keeps a defaulted path in memory until the next
        // save; a command line has no later save, so it saves right away, but
        // only a path that now names a written self creator.
        if (result == SelfCreatorResult::Built && project.m_strSelfCreatorPath != before) {
            bool stored = false;
            const int saved =
                StoreDefaultedPath(args, path, before, project.m_strSelfCreatorPath, stored, err);
            if (saved != kExitOk)
                return saved;
            if (stored && !args.Has("quiet"))
                out << "Saved '" << path << "': self creator path set to '"
                    << project.m_strSelfCreatorPath << "'.\n";
        }
        return result == SelfCreatorResult::Built ? kExitOk : kExitFailed;
    }

private:
    // The build ran on the project as it was loaded, without the lock, so that
    // a long build never keeps other writers waiting. Storing the path is a
    // change of its own: the file is read again under the lock and only the
    // path is set, and only while nobody else has set one meanwhile.
    int StoreDefaultedPath(const CliArgs& args, const std::string& path, const std::string& before,
                           const std::string& defaulted, bool& stored, std::ostream& err) const {
        platform::FileLock lock;
        if (const int locked = LockCliProject(*this, args, path, lock, err); locked != kExitOk)
            return locked;
        CAffProject current;
        if (!LoadCliProject(path, current, err))
            return kExitFailed;
        if (current.m_strSelfCreatorPath != before)
            return kExitOk;
        current.m_strSelfCreatorPath = defaulted;
        stored = SaveCliProject(path, current, err);
        return stored ? kExitOk : kExitFailed;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdBuildSelfCreator() {
    return std::make_unique<CmdBuildSelfCreator>();
}
