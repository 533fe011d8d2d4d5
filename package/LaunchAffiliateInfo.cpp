#include "package/LaunchAffiliateInfo.h"

#include "package/SetupStamp.h"
#include "package/SfxPackage.h"

namespace {

int ReadEntryZero(const CSfxPackage& package, CAffiliateInfo& info) {
    std::string bytes;
    // Bytes past the three longest possible fields are never looked at.
    const int result = package.ReadEntryBytes(0, 3 * (4 + kAffiliateInfoMaxField), bytes);
    if (result != SFX_OK)
        return result;
    return DecodeAffiliateInfo(bytes, info);
}

} // namespace

int ReadLaunchAffiliateInfo(const std::string& packagePath, const CSfxPackage& package,
                            CAffiliateInfo& info) {
    SetupStamp stamp = ReadSetupStampOfFile(packagePath);
    switch (stamp.state) {
    case SetupStamp::State::Stamped:
        info = std::move(stamp.info);
        return SFX_OK;
    case SetupStamp::State::Malformed:
        return SFX_ERR_OPEN;
    case SetupStamp::State::NotSigned:
    case SetupStamp::State::Unstamped:
        break;
    }
    return ReadEntryZero(package, info);
}
