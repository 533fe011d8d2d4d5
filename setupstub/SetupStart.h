#pragma once

#include "platform/InstallerCache.h"
#include "platform/PrivateFolder.h"
#include "platform/RawFile.h"

#include <functional>

#include <optional>
#include <string>
#include <vector>

// How an unpacked setup file is started.
enum class SetupKind {
    Program,  // an ELF or PE executable, a "#!" script or an installer
              // database: started with the launcher's arguments
    Document, // anything else: handed to the desktop's default opener
    Missing,  // cannot be read
};

// Judged by the first bytes of the file name in folder.
SetupKind ClassifySetupFile(const platform::PrivateFolder& folder, const std::string& name);

// How the start of a setup ended.
struct SetupStartResult {
    enum class Outcome {
        Finished,      // the setup ran and ended with exitCode
        NotExecutable, // its folder does not let programs run (mounted noexec)
        HandedOn,      // a document given to the desktop's opener, not waited for
        Failed,        // missing or not startable
    };
    Outcome outcome = Outcome::Failed;
    int exitCode = 0;
};

// Starts the setup file name in folder with the launcher's own arguments. A
// program runs as the launcher's child, on its terminal, and is waited for; it
// is started from the file the launcher holds, never by its path again. A
// document is opened without waiting (arguments cannot be passed to it); its
// folder is then kept for the opener.
SetupStartResult StartSetup(platform::PrivateFolder& folder, const std::string& name,
                            const std::vector<std::string>& args);

// What the installer-cache road asks of the platform; tests replace it.
struct InstallerCacheAccess {
    std::function<bool()> elevated = platform::RunningElevated;
    std::function<platform::ProgramRun(const std::string& productKey, platform::RawFile& source,
                                       const std::string& fileName)>
        install = platform::InstallFromInstallerCache;
};

// Starts an installer database from the machine's installer cache
// (platform/InstallerCache.h) when the launcher runs elevated: the database is
// copied from folder into the product's cache folder (productKey: the
// product's UUID) and installed from there with msiexec /i, so Windows
// Installer records a source that stays. Nothing when the setup is no
// installer database, the launcher is not elevated or the cache cannot be
// written or started: the setup is then started from folder as before.
std::optional<SetupStartResult> StartFromInstallerCache(platform::PrivateFolder& folder,
                                                        const std::string& name,
                                                        const std::string& productKey);
std::optional<SetupStartResult> StartFromInstallerCacheWith(const InstallerCacheAccess& access,
                                                            platform::PrivateFolder& folder,
                                                            const std::string& name,
                                                            const std::string& productKey);
