#pragma once

#include "platform/MachineStore.h"
#include "setupstub/AffiliateLinkStore.h"

#include <string>

// What the launcher found in its package before starting the setup.
struct PreparedSetup {
    int result = 0; // package result code of the first failure, or SFX_OK
    LinkStoreOutcome stored = LinkStoreOutcome::NotStored;
    std::string setupPath; // the extracted setup program; empty unless result is SFX_OK
};

// Everything the launcher does before the start: reads the affiliate
// information from the stamp in the package's signature, or else from entry 0
// of the package at packagePath (package/LaunchAffiliateInfo.h), extracts the
// package into tempFolder (its private folder, ending with '/') and stores
// the link; the link is written while the package is extracted and is in
// place when this returns. A package with fewer than two entries is not an
// affiliate setup: nothing is extracted, written or started (SFX_ERR_EMPTY).
// An unreadable or malformed information file, or a failed extraction,
// stores nothing and starts nothing.
PreparedSetup PrepareSetup(const std::string& packagePath, const std::string& tempFolder,
                           const platform::MachineStore& machineWide,
                           const platform::MachineStore& perUser);

// Extracts the package at packagePath into folder (ending with '/') again, for
// a second try at starting its setup elsewhere; setupPath receives the
// extracted setup program. Nothing is stored. A package result code.
int ExtractSetupAgain(const std::string& packagePath, const std::string& folder,
                      std::string& setupPath);
