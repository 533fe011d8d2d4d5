#pragma once

#include "package/AffiliateInfoFile.h"

#include <string>

class CSfxPackage;

// The affiliate information a launcher run uses: the stamp in the signature of
// the package at packagePath when it carries one, entry 0 of package (the
// directory ReadDirectory read from packagePath) otherwise. A malformed stamp
// counts as an unreadable information file: SFX_ERR_OPEN, nothing is taken.
// Otherwise a package result code as reading entry 0 gives it.
int ReadLaunchAffiliateInfo(const std::string& packagePath, const CSfxPackage& package,
                            CAffiliateInfo& info);
