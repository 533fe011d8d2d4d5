#pragma once

#include "package/AffiliateInfoFile.h"
#include "package/PeHeader.h"

#include <string>
#include <string_view>

// What a custom setup carries in its signature: nothing (not signed, or
// signed without a stamp slot or with an empty one), an affiliate's
// information, or something malformed that must not be trusted.
struct SetupStamp {
    enum class State { NotSigned, Unstamped, Stamped, Malformed };
    State state = State::NotSigned;
    std::string_view fault; // why Malformed
    CAffiliateInfo info;    // when Stamped
};

// Reads the stamp of the image of fileSize bytes: the first certificate
// entry, the SignedData in it and the slot, every length checked.
SetupStamp ReadSetupStamp(const PeReadAt& read, int64_t fileSize);
SetupStamp ReadSetupStampOfFile(const std::string& path);

// "not signed", "signed, not stamped", "stamped", "malformed stamp".
std::string_view SetupStampStateName(SetupStamp::State state);
