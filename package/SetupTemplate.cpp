#include "package/SetupTemplate.h"

#include "model/AffProject.h"
#include "package/AffiliateSetupCheck.h"
#include "package/FileRangeHash.h"
#include "package/LauncherImage.h"
#include "package/PackageAffiliateInfo.h"
#include "package/SfxPackage.h"
#include "package/StampTemplate.h"
#include "platform/FileReplace.h"
#include "platform/RawFile.h"

#include <algorithm>
#include <vector>

CAffiliateInfo TemplateAffiliateInfo(const CAffProject& project) {
    CAffiliateInfo info;
    info.m_strKey = project.m_strUuid;
    info.m_strWebSite = project.m_strWebSite;
    if (const CProductRegInfo* own = project.LookupRegInfo(project.m_wDefaultService);
        own && !own->m_strPurchaseLink.empty()) {
        info.m_strLink = own->m_strPurchaseLink;
        return info;
    }
    std::vector<uint16_t> services = project.m_mapRegInfo.Keys();
    std::sort(services.begin(), services.end());
    for (const uint16_t service : services) {
        const CProductRegInfo* reg = project.LookupRegInfo(service);
        if (reg && !reg->m_strPurchaseLink.empty()) {
            info.m_strLink = reg->m_strPurchaseLink;
            break;
        }
    }
    return info;
}

SfxResult BuildSetupTemplate(const CAffProject& project, const std::string& outputPath) {
    const CAffiliateInfo info = TemplateAffiliateInfo(project);
    CSfxPackage pkg;
    // The entry name of the product's own information file: key 0 is no affiliate's.
    if (!CanEncodeAffiliateInfo(info) || !pkg.AddBytes("_aff0.ino", EncodeAffiliateInfo(info)))
        return SFX_ERR_CREATE;
    const std::string setup = project.ResolveProjectPath(project.m_strSetupFile);
    if (project.m_strSetupFile.empty() || !pkg.AddFile(setup))
        return SFX_ERR_SOURCE;
    return BuildPackageForSetup(pkg, setup, outputPath);
}

std::string TemplateMismatch(const std::string& templatePath, const CAffProject& project,
                             const ProductSetupFacts& setup) {
    CSfxPackage package;
    if (package.ReadDirectory(templatePath) != SFX_OK || package.GetCount() != 2)
        return "is not a custom setup";
    const std::optional<CAffiliateInfo> info = AffiliateInfoOfPackage(package);
    if (!info)
        return "is not a custom setup";
    if (info->m_strKey != project.m_strUuid)
        return "carries another product's key '" + info->m_strKey + "'";
    const CSfxEntry payload = package.GetEntry(1);
    platform::RawFile file = platform::RawFile::OpenRead(templatePath);
    if (!setup.readable || payload.m_nSize != setup.size ||
        HashFileRange(file, payload.m_nOffset, payload.m_nSize) != setup.sha256)
        return "does not carry the product's setup file";
    return {};
}

std::string OpenTemplateForStamping(const CAffProject& project, const std::string& templatePath,
                                    CStampTemplate& stampTemplate) {
    const ProductSetupFacts setup = ReadProductSetupFacts(project);
    if (!setup.readable)
        return "Error! Can't open program setup file[" + project.m_strSetupFile + "].";
    std::string problem = TemplateMismatch(templatePath, project, setup);
    if (problem.empty() && !stampTemplate.Open(templatePath))
        problem = std::string(stampTemplate.Problem());
    return problem.empty() ? problem : "The template '" + templatePath + "' " + problem + ".";
}
