#pragma once

#include "package/SetupComposition.h"
#include "package/SfxResult.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {
class RawFile;
}

// A signed custom setup made ready for stamping: its certificate table is read
// once and given a stamp slot (when it has none), so that each stamped copy is
// the template's bytes up to the table, the table with the slot filled, and
// the two header fields outside the signature's digest (the security
// directory's size, the checksum) set to match. The signer's digest and
// signature stay valid: the slot lies where the signer signed nothing.
class CStampTemplate {
public:
    // Reads the template at path. False, with Problem() saying why, when it
    // cannot be read, is not signed, or its signature or stamp is malformed.
    bool Open(const std::string& path);
    std::string_view Problem() const { return m_problem; }

    // Writes a copy of the template whose slot holds info (an information
    // file's bytes, at most kStampMaxInfo) to outputPath. A regular file of
    // the current user with no other name already there is written over in
    // place and keeps its permissions; after a failure it must be written
    // again. Anything else there is replaced by a new file written beside it
    // and renamed over it, so outputPath holds the previous file or the whole
    // copy; a link is replaced itself, never followed. An earlier stamp of the
    // template is replaced. SFX_ERR_SOURCE: the template cannot be read or
    // changed since Open; SFX_ERR_CREATE: the copy cannot be written or put in
    // place, or info is too long, or the output is the template itself.
    SfxResult WriteCopy(std::string_view info, const std::string& outputPath) const;

    // The bytes of the copy whose slot holds info, as pieces: ranges of the
    // template and the changed header fields and table. What WriteCopy
    // writes is exactly this. False when info is too long or the template
    // was not opened.
    bool Compose(std::string_view info, SetupComposition& composition) const;

    // The template's path and its length when opened: a reader that holds the
    // template's bytes checks that it holds these.
    const std::string& Path() const { return m_path; }
    int64_t TemplateSize() const { return m_fileSize; }

    // The length of every stamped copy.
    int64_t CopySize() const { return m_tableOffset + static_cast<int64_t>(m_table.size()); }

private:
    bool PrepareTable(const std::string& contentInfo, const std::string& restOfTable);
    bool SumPrefix();
    SfxResult WriteInto(const SetupComposition& composition, platform::RawFile& out) const;
    uint32_t Checksum(std::string_view table) const;

    std::string m_path;
    std::string m_problem;
    int64_t m_fileSize = 0;
    int64_t m_tableOffset = 0;
    std::string m_table; // the new certificate table, slot empty
    size_t m_slotAt = 0; // where the slot's bytes start in m_table
    int64_t m_securityOffset = 0;
    int64_t m_checksumOffset = 0;
    bool m_checksummed = false; // the template carries a checksum: keep it right
    uint32_t m_prefixSum = 0;   // the checksum's folded sum over the bytes before the table
};
