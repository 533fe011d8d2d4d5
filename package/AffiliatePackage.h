#pragma once

#include "package/AffiliateInfoFile.h"

#include <cstdint>
#include <string>

class CAffProject;
class CReseller;
class CSfxPackage;

// Entry 0 of an affiliate's custom setup, shared by the builder and the
// server so that both make the same bytes.

// The information the affiliate's custom setup carries: the product's key,
// the affiliate's purchase link and web site.
CAffiliateInfo AffiliateInfoFor(const CAffProject& product, const CReseller& affiliate);

// Entry 0's name: "_aff" + the affiliate's key + ".ino".
std::string AffiliateInfoEntryName(uint16_t key);

// Adds the affiliate's information file, made in memory, as the next entry
// of pkg. False when the information cannot be encoded or the table is full.
bool AddAffiliateInfoEntry(CSfxPackage& pkg, const CAffProject& product,
                           const CReseller& affiliate);
