#include "selfkit/SelfKit.h"

#include "model/FormatText.h"
#include "model/ProjectPaths.h"
#include "model/PurchaseLink.h"
#include "model/RegistrationServices.h"
#include "package/AffiliateInfoFile.h"
#include "package/LauncherImage.h"
#include "package/OutputFolders.h"
#include "package/PackageTrailer.h"
#include "package/ProductInfoFile.h"
#include "package/SfxPackage.h"
#include "platform/HostPath.h"
#include "platform/ProcessStart.h"
#include "platform/TempFile.h"
#include "platform/Utf8Path.h"
#include "selfkit/SelfKitTexts.h"

#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kInfoFileName = "afflreg.dat";

// An empty folder stays empty (start-up then fails) rather than turning into
// the root folder.
std::string WithSeparator(const std::string& folder) {
    return projectpaths::JoinPath(folder, "", platform::HostPathStyle());
}

// True when a and b name the same file, or would once a file exists there.
bool SamePath(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path pa = platform::Utf8Path(a);
    const fs::path pb = platform::Utf8Path(b);
    if (fs::equivalent(pa, pb, ec))
        return true;
    const fs::path ca = fs::weakly_canonical(fs::absolute(pa, ec), ec);
    if (ec)
        return false;
    const fs::path cb = fs::weakly_canonical(fs::absolute(pb, ec), ec);
    return !ec && ca == cb;
}

} // namespace

std::string SelfKitMessage(SelfKitStatus status, const std::string& outputPath) {
    using namespace selfkit_text;
    switch (status) {
    case SelfKitStatus::Ok:
    case SelfKitStatus::Cancelled:
        return {};
    case SelfKitStatus::Corrupted:
        return kCorrupted;
    case SelfKitStatus::NoService:
        return kNoService;
    case SelfKitStatus::OutputIsWorkFile:
        return FormatText(kOutputIsWorkFile, outputPath);
    case SelfKitStatus::FieldTooLong:
        return kFieldTooLong;
    case SelfKitStatus::InfoCreateFailed:
        return kInternalError;
    case SelfKitStatus::InfoAddFailed:
        return kInfoAddFailed;
    case SelfKitStatus::SetupAddFailed:
        return kSetupAddFailed;
    case SelfKitStatus::BuildFailed:
        return FormatText(kBuildFailed, outputPath);
    }
    return {};
}

CSelfKit::CSelfKit(std::string ownPath, std::string tempFolder)
    : m_strOwnPath(std::move(ownPath)), m_strTempFolder(WithSeparator(tempFolder)) {}

SelfKitStatus CSelfKit::Start() {
    m_strUuid.clear();
    m_strSetupFile.clear();
    m_services = {};

    CSfxPackage package;
    if (m_strOwnPath.empty() || m_strTempFolder.empty() ||
        package.ExtractFrom(m_strOwnPath, m_strTempFolder) != SFX_OK)
        return SelfKitStatus::Corrupted;
    // Entry 0 is the product information, entry 1 the product's setup file;
    // a package without both is not one this program was written into.
    if (package.GetCount() < 2)
        return SelfKitStatus::Corrupted;
    const std::string infoName = package.GetEntry(0).m_strName;
    const std::string setupName = package.GetEntry(1).m_strName;
    if (!IsValidSfxEntryName(infoName) || !IsValidSfxEntryName(setupName))
        return SelfKitStatus::Corrupted;

    CProductInfo info;
    if (ReadProductInfoFile(m_strTempFolder + infoName, info) != ProductInfoStatus::Ok)
        return SelfKitStatus::Corrupted;

    m_strUuid = std::move(info.strUuid);
    m_services = ParseRegistrationList(info.strRegistrationList);
    m_strSetupFile = m_strTempFolder + setupName;
    return SelfKitStatus::Ok;
}

std::string CSelfKit::DefaultService() const {
    return m_services.names.empty() ? std::string() : m_services.names.front();
}

std::string CSelfKit::InfoFilePath() const {
    return m_strTempFolder + kInfoFileName;
}

std::string CSelfKit::ComposeLink(const std::string& service,
                                  const std::string& affiliateId) const {
    const auto found = m_services.mapProductIds.find(service);
    if (found == m_services.mapProductIds.end())
        return {};
    std::string link;
    if (!ComposeServiceLink(ServiceIndexFromName(service), link, affiliateId, found->second,
                            ComposeMode::Reset))
        return {};
    return link;
}

SelfKitStatus CSelfKit::CheckRequest(const CCustomBuildRequest& request) const {
    if (m_services.mapProductIds.find(request.strService) == m_services.mapProductIds.end())
        return SelfKitStatus::NoService;
    if (ComposeLink(request.strService, request.strAffiliateId).size() > kInfoFieldMax ||
        request.strHomePage.size() > kInfoFieldMax)
        return SelfKitStatus::FieldTooLong;
    // Building into a file the build reads would destroy that source first.
    if (!request.strOutputPath.empty() && (SamePath(request.strOutputPath, m_strSetupFile) ||
                                           SamePath(request.strOutputPath, InfoFilePath()) ||
                                           SamePath(request.strOutputPath, m_strOwnPath)))
        return SelfKitStatus::OutputIsWorkFile;
    return SelfKitStatus::Ok;
}

SelfKitStatus CSelfKit::Build(const CCustomBuildRequest& request, const StepCallback& step) {
    const SelfKitStatus refusal = CheckRequest(request);
    if (refusal != SelfKitStatus::Ok)
        return refusal;
    const std::string link = ComposeLink(request.strService, request.strAffiliateId);
    const auto next = [&](int position) { return !step || step(position); };

    // The information file is made in memory and goes straight into the
    // package: nothing of it is left in the temporary folder.
    const CAffiliateInfo info{m_strUuid, link, request.strHomePage};
    if (!next(2))
        return SelfKitStatus::Cancelled;
    for (int field = 0; field < 3; ++field)
        if (!next(6))
            return SelfKitStatus::Cancelled;

    CSfxPackage package;
    if (!CanEncodeAffiliateInfo(info) ||
        !package.AddBytes(kInfoFileName, EncodeAffiliateInfo(info)))
        return SelfKitStatus::InfoAddFailed;
    if (!next(7))
        return SelfKitStatus::Cancelled;

    if (!package.AddFile(m_strSetupFile))
        return SelfKitStatus::SetupAddFailed;
    if (!next(8))
        return SelfKitStatus::Cancelled;

    CreateOutputFolders(request.strOutputPath);
    const SfxResult built = BuildPackageForSetup(package, m_strSetupFile, request.strOutputPath);
    if (built == SFX_OK)
        platform::MakeOwnerExecutable(request.strOutputPath); // it is a program to run
    if (!next(9))
        return SelfKitStatus::Cancelled;
    if (!next(10))
        return SelfKitStatus::Cancelled;
    return built == SFX_OK ? SelfKitStatus::Ok : SelfKitStatus::BuildFailed;
}
