#include "package/TrailerStatus.h"

namespace {

std::string Entry(const TrailerStatus& status) {
    return "entry " + std::to_string(status.entry);
}

} // namespace

SfxResult SfxResultOf(const TrailerStatus& status) {
    switch (status.fault) {
    case TrailerFault::None:
        return SFX_OK;
    case TrailerFault::ReadFailed:
        return SFX_ERR_OPEN;
    case TrailerFault::NoEntries:
        return SFX_ERR_EMPTY;
    default:
        return SFX_ERR_MARKER;
    }
}

std::string DescribeTrailerStatus(const TrailerStatus& status) {
    const std::string value = std::to_string(status.value);
    switch (status.fault) {
    case TrailerFault::None:
        return "the trailer is sound";
    case TrailerFault::ReadFailed:
        return "the file cannot be read";
    case TrailerFault::ShorterThanTail:
        return "the file is shorter than a package trailer";
    case TrailerFault::BadMarker:
        return "it does not end with the package marker";
    case TrailerFault::NoEntries:
        return "the entry count is 0";
    case TrailerFault::CountOutOfRange:
        return "the entry count " + value + " is outside 1 to 256";
    case TrailerFault::CountPastStart:
        return "the entry count promises more entries than the file holds (" + Entry(status) +
               " runs past the start of the file)";
    case TrailerFault::NameLengthOutOfRange:
        return Entry(status) + " has a name length of " + value + ", outside 1 to 999";
    case TrailerFault::BadName:
        return Entry(status) + " has a name that is not a plain file name";
    case TrailerFault::NegativeField:
        return Entry(status) + " has a negative offset or size";
    case TrailerFault::EntryOutsideFile:
        return Entry(status) + " lies outside the payload part of the file";
    }
    return "unknown fault";
}
