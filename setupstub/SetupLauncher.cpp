#include "setupstub/SetupLauncher.h"

#include "package/LaunchAffiliateInfo.h"
#include "package/SfxPackage.h"
#include "setupstub/PackageUnpack.h"
#include "setupstub/SideBySide.h"

PreparedSetup PrepareSetup(const std::string& packagePath, platform::PrivateFolder& folder,
                           const platform::MachineStore& machineWide,
                           const platform::MachineStore& perUser) {
    PreparedSetup prepared;
    CSfxPackage package;
    CAffiliateInfo info;
    prepared.result = ReadLaunchPackage(packagePath, package, info);
    if (prepared.result != SFX_OK)
        return prepared;
    prepared.packageRead = true;
    prepared.productKey = info.m_strKey;

    // Making the link durable costs about as much as unpacking a setup of
    // some megabytes, so the two go side by side; the link is put in place
    // only when the whole package is there, so that a failed unpacking
    // stores nothing.
    StagedAffiliateLink staged;
    RunSideBySide([&] { staged = StageAffiliateLink(info, machineWide, perUser); },
                  [&] { prepared.result = UnpackPackage(package, packagePath, folder); });
    if (prepared.result != SFX_OK)
        return prepared;
    prepared.stored = CommitAffiliateLink(staged, info, perUser);
    prepared.setupName = package.GetEntry(1).m_strName;
    return prepared;
}

int UnpackSetupAgain(const std::string& packagePath, platform::PrivateFolder& folder,
                     std::string& setupName) {
    CSfxPackage package;
    int result = package.ReadDirectory(packagePath);
    if (result == SFX_OK && package.GetCount() < 2)
        result = SFX_ERR_EMPTY;
    if (result == SFX_OK)
        result = UnpackPackage(package, packagePath, folder);
    if (result == SFX_OK)
        setupName = package.GetEntry(1).m_strName;
    return result;
}
