#pragma once

#include "platform/MachineStore.h"
#include "platform/PrivateFolder.h"
#include "setupstub/SetupStart.h"

#include <functional>
#include <string>
#include <vector>

// What one run of the launcher takes from its surroundings. main fills it
// from the platform; tests replace parts.
struct LauncherEnvironment {
    std::string packagePath; // the launcher's own file, the package
    std::string tempParent;  // where each run makes its own folder
    // Where a run's folder goes when programs cannot run from tempParent (a
    // temporary folder mounted noexec); asked only then. Used only when it is
    // the user's own folder that nobody else may write in.
    std::function<std::string()> fallbackParent;
    const platform::MachineStore* machineWide = nullptr;
    const platform::MachineStore* perUser = nullptr;
    std::function<SetupStartResult(platform::PrivateFolder& folder, const std::string& name,
                                   const std::vector<std::string>& args)>
        startSetup = StartSetup;
    // Tried before startSetup: an installer database kept in the machine's
    // installer cache when the launcher runs elevated (setupstub/SetupStart.h).
    std::function<std::optional<SetupStartResult>(
        platform::PrivateFolder& folder, const std::string& name, const std::string& productKey)>
        startFromInstallerCache = StartFromInstallerCache;
    // How many bytes of the package file are the launcher's own image (-1:
    // unknown, the whole file); tells a bare launcher from a damaged package.
    std::function<int64_t(const std::string& path)> imageLength;
};

// One launcher run: unpacks the package into a new private folder of this
// run, stores the affiliate's link, starts the setup with args unchanged,
// waits for it, removes the folder and returns the setup's exit status.
// Concurrent runs never share a folder, so each starts its own setup. When
// the setup cannot run from the temporary folder, the package is unpacked
// again into a private folder below the fallback parent and started there.
// Other statuses (setupstub/LauncherStatus.h): kLauncherBare for a launcher
// without a package, kLauncherDamaged for bytes behind the image that are no
// affiliate package (nothing is stored or started), kLauncherFailed when the
// package cannot be unpacked or the setup not started, and 128 + n after a
// request to end by signal n (passed on to a running setup, which is waited
// for). A document handed to the desktop's opener keeps its folder: the
// opener reads it after the launcher has ended.
int RunLauncher(const LauncherEnvironment& env, const std::vector<std::string>& args);
