#pragma once

#include "platform/MachineStore.h"
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
    // temporary folder mounted noexec); asked only then.
    std::function<std::string()> fallbackParent;
    const platform::MachineStore* machineWide = nullptr;
    const platform::MachineStore* perUser = nullptr;
    std::function<SetupStartResult(const std::string& path, const std::vector<std::string>& args)>
        startSetup = StartSetup;
};

// One launcher run: extracts the package into a new private folder of this
// run, stores the affiliate's link, starts the setup with args unchanged,
// waits for it, removes the folder and returns the setup's exit status.
// Concurrent runs never share a folder, so each starts its own setup. When
// the setup cannot run from the temporary folder, the package is extracted
// again into a private folder below the fallback parent and started there.
// A bare launcher without a package returns 0 and starts nothing; any other
// failure returns 1. A document handed to the desktop's opener keeps its
// folder: the opener reads it after the launcher has ended.
int RunLauncher(const LauncherEnvironment& env, const std::vector<std::string>& args);
