#pragma once

#include "package/InfoBlocks.h"
#include "package/SfxResult.h"

#include <string>
#include <string_view>

// The affiliate information file, entry 0 of an affiliate's package: three
// length-prefixed byte strings (4-byte little-endian length, then the bytes,
// no terminator) and nothing else. Raw bytes, no newline translation. This
// is its one codec: the builders, the self creator, the launcher, inspect
// and verify all encode and decode it here, in memory.
class CAffiliateInfo {
public:
    std::string m_strKey;     // the product's program UUID text
    std::string m_strLink;    // the affiliate's purchase link
    std::string m_strWebSite; // the affiliate's web site, may be empty
};

// The longest affiliate information file; readers never look further.
inline constexpr size_t kAffiliateInfoMaxBytes = InfoFileMaxBytes(3);

// Whether info can travel: every field at most kInfoFieldMax bytes and free
// of NUL bytes (the launcher stores each field as a terminated text, so a
// NUL would cut what the end user's machine keeps).
bool CanEncodeAffiliateInfo(const CAffiliateInfo& info);

// The file bytes; for K1, L and "" these are the 15 bytes
// 02 00 00 00 4B 31 01 00 00 00 4C 00 00 00 00. Only for info that
// CanEncodeAffiliateInfo accepts.
std::string EncodeAffiliateInfo(const CAffiliateInfo& info);

// Parses file bytes. SFX_ERR_MARKER when a length is negative, above 3999 or
// runs past the end, or a field holds a NUL byte; bytes after the third
// field are ignored.
SfxResult DecodeAffiliateInfo(std::string_view bytes, CAffiliateInfo& info);

// Creates (or truncates) path and writes the encoded file. SFX_ERR_CREATE when
// it cannot be created or written, or when CanEncodeAffiliateInfo refuses
// info (no file is created then).
SfxResult WriteAffiliateInfoFile(const std::string& path, const CAffiliateInfo& info);

// Reads the file at path. SFX_ERR_OPEN when it cannot be opened or read,
// otherwise as DecodeAffiliateInfo.
SfxResult ReadAffiliateInfoFile(const std::string& path, CAffiliateInfo& info);
