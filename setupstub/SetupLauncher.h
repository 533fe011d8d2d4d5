#pragma once

#include "platform/MachineStore.h"
#include "platform/PrivateFolder.h"
#include "setupstub/AffiliateLinkStore.h"

#include <string>

// What the launcher found in its package before starting the setup.
struct PreparedSetup {
    // Package result code of the first failure, SFX_OK, or kUnpackStopped
    // (setupstub/PackageUnpack.h) when a request to end came meanwhile.
    int result = 0;
    // True once the trailer and the information file were accepted: a later
    // failure is one of unpacking, not of the package.
    bool packageRead = false;
    LinkStoreOutcome stored = LinkStoreOutcome::NotStored;
    std::string setupName;  // entry 1's name in folder; empty unless result is SFX_OK
    std::string productKey; // the product's UUID from the information read
};

// Everything the launcher does before the start: reads the affiliate
// information from the stamp in the package's signature, or else from entry 0
// of the package at packagePath (package/LaunchAffiliateInfo.h), unpacks the
// whole package into folder and stores the link; the link is written while
// the package is unpacked and is put in place only when every entry was
// unpacked. A package with fewer than two entries is not an affiliate setup:
// nothing is unpacked, written or started (SFX_ERR_EMPTY). An unreadable or
// malformed information file, or a failed or stopped unpacking, stores
// nothing and starts nothing.
PreparedSetup PrepareSetup(const std::string& packagePath, platform::PrivateFolder& folder,
                           const platform::MachineStore& machineWide,
                           const platform::MachineStore& perUser);

// Unpacks the package at packagePath into folder again, for a second try at
// starting its setup elsewhere; setupName receives entry 1's name. Nothing is
// stored. A package result code or kUnpackStopped.
int UnpackSetupAgain(const std::string& packagePath, platform::PrivateFolder& folder,
                     std::string& setupName);
