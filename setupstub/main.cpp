// The launcher at the front of every affiliate's custom setup. It shows and
// prints nothing: it unpacks its own package into a new private folder of
// this run, stores the affiliate's link, runs the vendor's setup with its own
// arguments, removes the folder and ends with the setup's exit status (the
// launcher's own statuses are in setupstub/LauncherStatus.h).
#include "platform/ExecutablePath.h"
#include "platform/MachineStore.h"
#include "platform/PrivateFolder.h"
#include "platform/ProgramArguments.h"
#include "platform/TempFile.h"
#include "platform/TerminationRequest.h"
#include "setupstub/ImageLength.h"
#include "setupstub/LauncherRun.h"
#include "setupstub/LauncherStatus.h"
#ifdef VELKORA_LAUNCHER_TEST_HOOKS
#include "setupstub/TestPauseHook.h"
#endif

#include <string>
#include <vector>

int main(int argc, char** argv) {
#ifdef VELKORA_LAUNCHER_TEST_HOOKS
    InstallTestPauseHook();
#endif
    platform::CatchTerminationRequests();
    const platform::MachineStore machineWide = platform::MachineStore::MachineWide();
    const platform::MachineStore perUser = platform::MachineStore::PerUser();
    LauncherEnvironment env;
    env.packagePath = platform::OwnExecutablePath();
    if (env.packagePath.empty())
        return kLauncherFailed;
    env.tempParent = platform::TempFolder();
    env.fallbackParent = platform::UserCacheFolder;
    env.machineWide = &machineWide;
    env.perUser = &perUser;
    env.imageLength = ExecutableImageLengthOf;
    return RunLauncher(env, platform::ProgramArguments(argc, argv));
}
