#pragma once

#include "package/SfxResult.h"

#include <cstdint>
#include <string>

// Why a package's trailer was refused. Inside the package reader every fault
// keeps its own name; at the component's edge it becomes one of the result
// codes (SfxResultOf), and diagnostics print it (DescribeTrailerStatus).
enum class TrailerFault {
    None,
    ReadFailed,           // a read of the file failed
    ShorterThanTail,      // the file is shorter than the count and the marker
    BadMarker,            // the last 10 bytes are not the marker
    NoEntries,            // the count is 0
    CountOutOfRange,      // the count is negative or above 256
    CountPastStart,       // the entries the count promises run past the start of the file
    NameLengthOutOfRange, // a name length below 1 or above 999
    BadName,              // a name with a folder part, a NUL, "." or ".."
    NegativeField,        // a negative offset or size
    EntryOutsideFile,     // a payload not wholly between the file's start and the trailer
};

// A fault with the entry it was found in (index in file order; -1 when it
// concerns the whole trailer) and the offending number where there is one.
struct TrailerStatus {
    TrailerFault fault = TrailerFault::None;
    int entry = -1;
    int64_t value = 0;

    bool Ok() const { return fault == TrailerFault::None; }
};

// The result code callers see: SFX_OK, SFX_ERR_OPEN (read failed),
// SFX_ERR_EMPTY (count 0) or SFX_ERR_MARKER (every other fault).
SfxResult SfxResultOf(const TrailerStatus& status);

// The fault in a few words, for a person: "the entry count 257 is outside 1 to 256".
std::string DescribeTrailerStatus(const TrailerStatus& status);
