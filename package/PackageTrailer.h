#pragma once

#include "package/SfxEntry.h"
#include "package/SfxResult.h"
#include "package/TrailerStatus.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Fixed facts of the package container.
inline constexpr std::string_view kSfxMarker = "!KOVA_SFX!"; // the last 10 bytes of every package
inline constexpr int kSfxMaxEntries = 256;
inline constexpr int kSfxMaxNameLength = 999; // a reader holds a name in 1000 bytes

// True when name may be stored as an entry name and used as a file name inside
// a target folder: 1..999 bytes, no '/', '\\' or NUL, and neither "." nor "..".
bool IsValidSfxEntryName(std::string_view name);

// The directory at the end of a package. In file order: for each entry its
// offset, size (4 bytes each, little-endian), name bytes and name length
// (4 bytes), then the count (4 bytes) and the marker. A reader walks it
// backwards from the end of the file, last entry first.
class CPackageTrailer {
public:
    // Reads length bytes at position pos of the package into buffer; false on
    // any failure or short read.
    using ReadAt = std::function<bool(int64_t pos, void* buffer, size_t length)>;

    std::vector<CSfxEntry> m_entries; // names, sizes and offsets; source paths unused

    // 14 + sum of (12 + name length).
    size_t EncodedLength() const;

    // Appends the trailer bytes to out (does not check the entries).
    void EncodeTo(std::string& out) const;

    // Replaces m_entries with the directory of a package of fileSize bytes.
    // Never trusts the trailer:
    //  SFX_ERR_MARKER  no marker, a count above 256 or negative, a name length
    //                  of 0 or 1000 and more, a name that IsValidSfxEntryName
    //                  refuses, a walk that passes the start of the file, or a
    //                  payload that is not wholly between the start of the file
    //                  and the start of the trailer;
    //  SFX_ERR_EMPTY   count 0;
    //  SFX_ERR_OPEN    read failed.
    // On any result but SFX_OK m_entries is empty.
    SfxResult DecodeFrom(const ReadAt& read, int64_t fileSize);

    // DecodeFrom with the fault named (SfxResultOf gives the code above).
    TrailerStatus Decode(const ReadAt& read, int64_t fileSize);
};
