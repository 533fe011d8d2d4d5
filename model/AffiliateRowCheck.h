#pragma once

#include "model/AffiliateImport.h"

#include <cstdint>

// The shared validation of a new affiliate, applied to one imported row: the
// service name must be one of the table's, the rest is what the affiliate
// dialog's OK accepts (link composed in keep mode, setup path derived when
// empty, clashing setup paths refused). The record's m_tModified is now.
AffiliateRowVerdict CheckAffiliateRow(const AffiliateCsvRow& row, const CAffProject& project,
                                      int32_t now);

// CheckAffiliateRow with now fixed, in the form PlanAffiliateImport takes.
AffiliateRowCheck AffiliateRowCheckAt(int32_t now);
