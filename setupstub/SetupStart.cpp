#include "setupstub/SetupStart.h"

#include "model/ProgramStart.h"

SetupKind ClassifySetupFile(const platform::PrivateFolder& folder, const std::string& name) {
    platform::RawFile file = folder.OpenFile(name);
    if (!file.IsOpen() || !file.IsRegular())
        return SetupKind::Missing;
    // A program, a script or an installer database, which the system's "open"
    // action installs.
    return ProgramStartOfOpenFile(file) == ProgramStart::Unknown ? SetupKind::Document
                                                                 : SetupKind::Program;
}

SetupStartResult StartSetup(platform::PrivateFolder& folder, const std::string& name,
                            const std::vector<std::string>& args) {
    SetupStartResult result;
    switch (ClassifySetupFile(folder, name)) {
    case SetupKind::Program: {
        const platform::ProgramRun run = folder.RunAndWait(name, args);
        if (run.outcome == platform::ProgramRun::Outcome::Finished) {
            result.outcome = SetupStartResult::Outcome::Finished;
            result.exitCode = run.exitCode;
        } else if (run.outcome == platform::ProgramRun::Outcome::NotExecutable) {
            result.outcome = SetupStartResult::Outcome::NotExecutable;
        }
        break;
    }
    case SetupKind::Document:
        if (folder.OpenDocument(name))
            result.outcome = SetupStartResult::Outcome::HandedOn;
        break;
    case SetupKind::Missing:
        break;
    }
    return result;
}

std::optional<SetupStartResult> StartFromInstallerCache(platform::PrivateFolder& folder,
                                                        const std::string& name,
                                                        const std::string& productKey) {
    return StartFromInstallerCacheWith(InstallerCacheAccess{}, folder, name, productKey);
}

std::optional<SetupStartResult> StartFromInstallerCacheWith(const InstallerCacheAccess& access,
                                                            platform::PrivateFolder& folder,
                                                            const std::string& name,
                                                            const std::string& productKey) {
    platform::RawFile source = folder.OpenFile(name);
    if (!source.IsOpen() || !source.IsRegular() ||
        ProgramStartOfOpenFile(source) != ProgramStart::Installer || !access.elevated() ||
        !source.SeekTo(0))
        return std::nullopt;
    const platform::ProgramRun run = access.install(productKey, source, name);
    if (run.outcome != platform::ProgramRun::Outcome::Finished)
        return std::nullopt;
    return SetupStartResult{SetupStartResult::Outcome::Finished, run.exitCode};
}
