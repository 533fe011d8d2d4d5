#pragma once

#include "package/InfoBlocks.h"
#include "package/SfxResult.h"

#include <string>
#include <string_view>

// The affiliate information file, entry 0 of an affiliate's package: three
// length-prefixed byte strings (4-byte little-endian length, then the bytes,
// no terminator) and nothing else. Raw bytes, no newline translation.
class CAffiliateInfo {
public:
    std::string m_strKey;     // the product's program UUID text
    std::string m_strLink;    // the affiliate's purchase link
    std::string m_strWebSite; // the affiliate's web site, may be empty
};

// The launcher reads each field into 4000 bytes, so no field may exceed this.
inline constexpr size_t kAffiliateInfoMaxField = kInfoBlockMax;

// The file bytes; for K1, L and "" these are the 15 bytes
// 02 00 00 00 4B 31 01 00 00 00 4C 00 00 00 00.
std::string EncodeAffiliateInfo(const CAffiliateInfo& info);

// Parses file bytes. SFX_ERR_MARKER when a length is negative, above 3999 or
// runs past the end; bytes after the third field are ignored.
SfxResult DecodeAffiliateInfo(std::string_view bytes, CAffiliateInfo& info);

// Creates (or truncates) path and writes the encoded file. SFX_ERR_CREATE when
// it cannot be created or written, or when a field is longer than 3999 bytes
// (no file is created then).
SfxResult WriteAffiliateInfoFile(const std::string& path, const CAffiliateInfo& info);

// Reads the file at path. SFX_ERR_OPEN when it cannot be opened or read,
// otherwise as DecodeAffiliateInfo.
SfxResult ReadAffiliateInfoFile(const std::string& path, CAffiliateInfo& info);
