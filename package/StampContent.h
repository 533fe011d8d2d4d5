#pragma once

#include "package/AffiliateInfoFile.h"

#include <string>
#include <string_view>

// What a stamp slot holds: the affiliate information file, in the one codec
// of the information files. The only place the stamp meets that codec.

std::string StampContentOf(const CAffiliateInfo& info);

// False when bytes are not a well-formed information file.
bool AffiliateInfoOfStamp(std::string_view bytes, CAffiliateInfo& info);
