#include "package/LaunchAffiliateInfo.h"

#include "package/PackageAffiliateInfo.h"
#include "package/SetupStamp.h"
#include "package/SfxPackage.h"

int ReadLaunchPackage(const std::string& packagePath, CSfxPackage& package, CAffiliateInfo& info) {
    const int read = package.ReadDirectory(packagePath);
    if (read != SFX_OK && read != SFX_ERR_OPEN) {
        // Bytes after a signature leave no trailer at the end; the package is
        // there all the same, and what it carries must not be trusted.
        if (ReadSetupStampOfFile(packagePath).state == SetupStamp::State::Malformed)
            return SFX_ERR_OPEN;
        return read;
    }
    if (read != SFX_OK)
        return read;
    if (package.GetCount() < 2)
        return SFX_ERR_EMPTY;
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
