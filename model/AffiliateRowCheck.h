#pragma once

#include "model/AffiliateImport.h"

#include <cstdint>

// The shared validation of a new affiliate, applied to one imported row: the
// service name must be one of the table's, the rest is what the affiliate
// dialog's OK accepts (link composed in keep mode, setup path derived when
// empty, clashing setup paths refused). Before that, a row with a NUL byte in
// any field, or a purchase link or web site that is not an http, https or
// mailto address, is refused; so is a given setup path outside the project's
// output folder unless allowOutside. The record's m_tModified is now.
AffiliateRowVerdict CheckAffiliateRow(const AffiliateCsvRow& row, const CAffProject& project,
                                      int32_t now, bool allowOutside = false);

// CheckAffiliateRow with now fixed, in the form PlanAffiliateImport takes.
AffiliateRowCheck AffiliateRowCheckAt(int32_t now, bool allowOutside = false);
