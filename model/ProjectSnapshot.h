#pragma once

#include "model/AffProject.h"
#include "model/BucketMap.h"
#include "model/ProjectFile.h"
#include "model/ResellerView.h"

#include <deque>
#include <string>

// A project read for looking at rather than editing: the affiliates' texts
// point into the file's bytes, which the snapshot keeps, so reading tens of
// thousands of affiliates needs no allocation per text. The product and its
// registration records are a project's own fields, so a command that changes
// only those can save the snapshot back. It is neither copied nor moved, since
// the texts point into its own buffers.
class CProjectSnapshot {
public:
    CProjectSnapshot() = default;
    CProjectSnapshot(const CProjectSnapshot&) = delete;
    CProjectSnapshot& operator=(const CProjectSnapshot&) = delete;

    CAffProject product; // its own affiliate map stays empty
    CBucketMap<CResellerView> resellers;

    // Keeps the bytes of a project file and reads them, replacing what the
    // snapshot held. On failure it holds whatever was read.
    ProjectFileResult Decode(std::string bytes);
    // The bytes of the project file, the same as a project holding these
    // affiliates would write.
    std::string Encode() const;

private:
    std::string m_bytes;
    std::deque<std::string> m_wideTexts;
};
