#include "setupstub/SetupLauncher.h"

#include "package/AffiliateInfoFile.h"
#include "package/LaunchAffiliateInfo.h"
#include "package/SfxPackage.h"
#include "setupstub/SideBySide.h"

PreparedSetup PrepareSetup(const std::string& packagePath, const std::string& tempFolder,
                           const platform::MachineStore& machineWide,
                           const platform::MachineStore& perUser) {
    PreparedSetup prepared;
    CSfxPackage package;
    prepared.result = package.ReadDirectory(packagePath);
    if (prepared.result == SFX_OK && package.GetCount() < 2)
        prepared.result = SFX_ERR_EMPTY;
    CAffiliateInfo info;
    if (prepared.result == SFX_OK)
        prepared.result = ReadLaunchAffiliateInfo(packagePath, package, info);
    if (prepared.result != SFX_OK)
        return prepared;

    // Making the link durable costs about as much as extracting a setup of
    // some megabytes, so the two go side by side; the link is put in place
    // only when the setup is there, so that a failed extraction stores nothing.
    StagedAffiliateLink staged;
    RunSideBySide([&] { staged = StageAffiliateLink(info, machineWide, perUser); },
                  [&] { prepared.result = package.ExtractFrom(packagePath, tempFolder); });
    if (prepared.result != SFX_OK)
        return prepared;
    prepared.stored = CommitAffiliateLink(staged, info, perUser);
    prepared.setupPath = tempFolder + package.GetEntry(1).m_strName;
    return prepared;
}

int ExtractSetupAgain(const std::string& packagePath, const std::string& folder,
                      std::string& setupPath) {
    CSfxPackage package;
    int result = package.ExtractFrom(packagePath, folder);
    if (result == SFX_OK && package.GetCount() < 2)
        result = SFX_ERR_EMPTY;
    if (result == SFX_OK)
        setupPath = folder + package.GetEntry(1).m_strName;
    return result;
}
