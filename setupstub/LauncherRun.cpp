#include "setupstub/LauncherRun.h"

#include "package/SfxResult.h"
#include "platform/PausePoint.h"
#include "platform/RawFile.h"
#include "platform/TerminationRequest.h"
#include "setupstub/LauncherStatus.h"
#include "setupstub/PackageUnpack.h"
#include "setupstub/SetupLauncher.h"

namespace {

using platform::FolderTrust;
using platform::PrivateFolder;

PrivateFolder FallbackFolder(const LauncherEnvironment& env) {
    const std::string parent = env.fallbackParent ? env.fallbackParent() : std::string();
    return PrivateFolder::Create(parent, FolderTrust::OwnedByUser);
}

// A launcher image alone: the file holds no byte past what its headers
// account for (a file of unknown format is taken for an image as a whole).
bool IsBareLauncher(const LauncherEnvironment& env) {
    const int64_t image = env.imageLength ? env.imageLength(env.packagePath) : -1;
    if (image < 0)
        return true;
    const platform::RawFile file = platform::RawFile::OpenRead(env.packagePath);
    return file.IsOpen() && file.Size() <= image;
}

// The status of a run whose package was refused before anything was unpacked.
// An information file that cannot be read means a package was there, even
// where the image's length is unknown.
int RefusedPackageStatus(const LauncherEnvironment& env, const PreparedSetup& prepared) {
    if (prepared.result == SFX_ERR_OPEN)
        return platform::RawFile::OpenRead(env.packagePath).IsOpen() ? kLauncherDamaged
                                                                     : kLauncherFailed;
    return IsBareLauncher(env) ? kLauncherBare : kLauncherDamaged;
}

int StoppedStatus() {
    return platform::TerminationExitStatus(platform::TerminationRequested());
}

// Unpacks the package once more below the fallback parent and starts it there.
SetupStartResult StartFromFallback(const LauncherEnvironment& env, PrivateFolder& folder,
                                   const std::vector<std::string>& args) {
    folder = FallbackFolder(env);
    std::string setupName;
    if (!folder.IsOpen() || UnpackSetupAgain(env.packagePath, folder, setupName) != SFX_OK)
        return {};
    platform::PausePoint("start");
    return env.startSetup(folder, setupName, args);
}

} // namespace

int RunLauncher(const LauncherEnvironment& env, const std::vector<std::string>& args) {
    if (env.machineWide == nullptr || env.perUser == nullptr || !env.startSetup)
        return kLauncherFailed;
    PrivateFolder folder = PrivateFolder::Create(env.tempParent, FolderTrust::SharedTemporary);
    if (!folder.IsOpen())
        folder = FallbackFolder(env);
    if (!folder.IsOpen())
        return kLauncherFailed;

    const PreparedSetup prepared =
        PrepareSetup(env.packagePath, folder, *env.machineWide, *env.perUser);
    if (!prepared.packageRead)
        return RefusedPackageStatus(env, prepared);
    if (prepared.result == kUnpackStopped)
        return StoppedStatus();
    if (prepared.result != SFX_OK)
        return kLauncherFailed;

    platform::PausePoint("start");
    std::optional<SetupStartResult> cached;
    if (env.startFromInstallerCache)
        cached = env.startFromInstallerCache(folder, prepared.setupName, prepared.productKey);
    SetupStartResult started = cached ? *cached : env.startSetup(folder, prepared.setupName, args);
    if (started.outcome == SetupStartResult::Outcome::NotExecutable &&
        platform::TerminationRequested() == 0) {
        folder.Remove();
        started = StartFromFallback(env, folder, args);
    }
    if (platform::TerminationRequested() != 0) {
        // A document's opener runs on its own; only the launcher was asked to end.
        if (started.outcome != SetupStartResult::Outcome::HandedOn)
            folder.Remove();
        return StoppedStatus();
    }
    switch (started.outcome) {
    case SetupStartResult::Outcome::Finished:
        return started.exitCode;
    case SetupStartResult::Outcome::HandedOn:
        return 0;
    case SetupStartResult::Outcome::NotExecutable:
    case SetupStartResult::Outcome::Failed:
        break;
    }
    return kLauncherFailed;
}
