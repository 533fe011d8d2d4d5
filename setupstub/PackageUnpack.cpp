#include "setupstub/PackageUnpack.h"

#include "platform/FileCopy.h"
#include "platform/PausePoint.h"
#include "platform/RawFile.h"
#include "platform/TerminationRequest.h"

#include <algorithm>

namespace {

// Large payloads go in pieces of this size, so that a request to end is
// answered within a fraction of a second.
constexpr int64_t kPiece = int64_t{8} * 1024 * 1024;

int CopyEntry(platform::RawFile& in, const CSfxEntry& entry, platform::RawFile& out) {
    for (int64_t done = 0; done < entry.m_nSize;) {
        if (platform::TerminationRequested() != 0)
            return kUnpackStopped;
        const int64_t piece = std::min<int64_t>(kPiece, entry.m_nSize - done);
        switch (platform::CopyFileBytes(in, entry.m_nOffset + done, out, piece)) {
        case platform::FileCopyResult::ReadFailed:
            return SFX_ERR_OPEN;
        case platform::FileCopyResult::WriteFailed:
            return SFX_ERR_CREATE;
        case platform::FileCopyResult::Copied:
            break;
        }
        done += piece;
    }
    return out.Close() ? SFX_OK : SFX_ERR_CREATE;
}

} // namespace

int UnpackPackage(const CSfxPackage& package, const std::string& packagePath,
                  platform::PrivateFolder& folder) {
    platform::RawFile in = platform::RawFile::OpenRead(packagePath);
    if (!in.IsOpen())
        return SFX_ERR_SOURCE;
    for (int i = package.GetCount() - 1; i >= 0; --i) {
        platform::PausePoint("unpack");
        if (platform::TerminationRequested() != 0)
            return kUnpackStopped;
        const CSfxEntry entry = package.GetEntry(i);
        platform::RawFile out = folder.NewFile(entry.m_strName);
        if (!out.IsOpen())
            return SFX_ERR_CREATE;
        if (const int result = CopyEntry(in, entry, out); result != SFX_OK)
            return result;
    }
    return SFX_OK;
}
