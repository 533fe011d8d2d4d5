#pragma once

#include "package/SfxPackage.h"
#include "platform/PrivateFolder.h"

#include <string>

// Returned by UnpackPackage when a request to end the program came while it
// unpacked (platform/TerminationRequest.h); not one of the package codes.
inline constexpr int kUnpackStopped = -1;

// Writes every entry of package, whose directory was read from packagePath,
// into folder, last entry first (of two entries with one name, entry 0's
// bytes stay). Unlike CSfxPackage::ExtractFrom, an entry that cannot be
// created is a failure: the setup is only ever started from a whole package.
// SFX_OK; SFX_ERR_SOURCE: the package cannot be opened again; SFX_ERR_OPEN:
// it cannot be read or ends early; SFX_ERR_CREATE: an entry's file cannot be
// created or written; kUnpackStopped. What was written stays in folder, whose
// owner removes it.
int UnpackPackage(const CSfxPackage& package, const std::string& packagePath,
                  platform::PrivateFolder& folder);
