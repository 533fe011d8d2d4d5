#pragma once

#include "package/AffiliateInfoFile.h"

#include <optional>

class CSfxPackage;

// Entry 0 of the package last read by package.ReadDirectory, decoded as the
// launcher takes it (bytes after the third field are ignored); the results
// of ReadEntryBytes and DecodeAffiliateInfo.
SfxResult ReadPackageAffiliateInfo(const CSfxPackage& package, CAffiliateInfo& info);

// Entry 0 of an affiliate's custom setup, when it is a well-formed affiliate
// information file that fills the entry exactly; read in place from the
// package last read by package.ReadDirectory, nothing is extracted.
std::optional<CAffiliateInfo> AffiliateInfoOfPackage(const CSfxPackage& package);
