#include "setupstub/SetupLauncher.h"

#include "package/AffiliateInfoFile.h"
#include "package/SfxPackage.h"

PreparedSetup PrepareSetup(const std::string& packagePath, const std::string& tempFolder,
                           const platform::MachineStore& machineWide,
                           const platform::MachineStore& perUser) {
    PreparedSetup prepared;
    CSfxPackage package;
    prepared.result = package.ReadDirectory(packagePath);
    if (prepared.result == SFX_OK && package.GetCount() < 2)
        prepared.result = SFX_ERR_EMPTY;
    if (prepared.result == SFX_OK)
        prepared.result = package.ExtractFrom(packagePath, tempFolder);
    if (prepared.result != SFX_OK)
        return prepared;

    CAffiliateInfo info;
    prepared.result = ReadAffiliateInfoFile(tempFolder + package.GetEntry(0).m_strName, info);
    if (prepared.result != SFX_OK)
        return prepared;
    prepared.stored = StoreAffiliateLink(info, machineWide, perUser);
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
