// The launcher at the front of every affiliate's custom setup. It shows and
// prints nothing: it unpacks its own package into a new private folder of
// this run, stores the affiliate's link, runs the vendor's setup with its own
// arguments, removes the folder and ends with the setup's exit status.
#include "platform/ExecutablePath.h"
#include "platform/MachineStore.h"
#include "platform/PrivateFolder.h"
#include "platform/ProgramArguments.h"
#include "platform/TempFile.h"
#include "setupstub/LauncherRun.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    const platform::MachineStore machineWide = platform::MachineStore::MachineWide();
    const platform::MachineStore perUser = platform::MachineStore::PerUser();
    LauncherEnvironment env;
    env.packagePath = platform::OwnExecutablePath();
    if (env.packagePath.empty())
        return 1;
    env.tempParent = platform::TempFolder();
    env.fallbackParent = platform::UserCacheFolder;
    env.machineWide = &machineWide;
    env.perUser = &perUser;
    return RunLauncher(env, platform::ProgramArguments(argc, argv));
}
