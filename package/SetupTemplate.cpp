#include "package/SetupTemplate.h"

#include "model/AffProject.h"
#include "package/AffiliateSetupCheck.h"
#include "package/FileRangeHash.h"
#include "package/LauncherChoice.h"
#include "package/PackageAffiliateInfo.h"
#include "package/SfxPackage.h"
#include "package/StampTemplate.h"
#include "platform/FileReplace.h"
#include "platform/RawFile.h"
#include "platform/TempFile.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The temporary information file; removed on every path.
class TemplateInfoFile {
public:
    TemplateInfoFile() = default;
    TemplateInfoFile(const TemplateInfoFile&) = delete;
    TemplateInfoFile& operator=(const TemplateInfoFile&) = delete;
    ~TemplateInfoFile() {
        if (!m_path.empty())
            platform::RemoveFile(m_path);
    }

    bool Write(const std::string& folder, const CAffiliateInfo& info) {
        platform::FileHandle file = platform::CreateUniqueTempFile(folder, "_aff", ".ino", m_path);
        if (!file)
            return false;
        for (const std::string* field : {&info.m_strKey, &info.m_strLink, &info.m_strWebSite})
            if (field->size() > kAffiliateInfoMaxField)
                return false;
        const std::string bytes = EncodeAffiliateInfo(info);
        return std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
               std::fclose(file.release()) == 0;
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace

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

SfxResult BuildSetupTemplate(const CAffProject& project, const std::string& tempFolder,
                             const std::string& outputPath) {
    TemplateInfoFile info;
    CSfxPackage pkg;
    if (!info.Write(tempFolder, TemplateAffiliateInfo(project)) || !pkg.AddFile(info.Path()))
        return SFX_ERR_CREATE;
    const std::string setup = project.ResolveProjectPath(project.m_strSetupFile);
    if (project.m_strSetupFile.empty() || !pkg.AddFile(setup))
        return SFX_ERR_SOURCE;
    return pkg.Build(LauncherTemplateForSetup(setup), outputPath);
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
