#pragma once

#include "package/AffiliateInfoFile.h"

#include <string>

class CSfxPackage;

// What a launcher run reads of the package at packagePath before unpacking
// it: its directory (into package; fewer than two entries is SFX_ERR_EMPTY)
// and the affiliate information (into info), taken from the stamp in the
// package's signature when it carries one and from entry 0 otherwise. A
// malformed signature or stamp counts as an unreadable information file:
// SFX_ERR_OPEN, nothing is taken. That includes a certificate table that does
// not end the file, which also hides the package's trailer. Otherwise a
// package result code as reading the directory or entry 0 gives it.
int ReadLaunchPackage(const std::string& packagePath, CSfxPackage& package, CAffiliateInfo& info);
