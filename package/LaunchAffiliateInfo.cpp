#include "package/LaunchAffiliateInfo.h"

#include "package/PackageAffiliateInfo.h"
#include "package/SetupStamp.h"
#include "package/SfxPackage.h"

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
    return ReadPackageAffiliateInfo(package, info);
}
