#include "cli/AffiliateDraft.h"

#include "cli/CliProject.h"

#include "model/AffProject.h"
#include "model/PurchaseLink.h"
#include "model/RegistrationServices.h"

#include "platform/HostPath.h"

namespace {

// The dialog starts its link field with this text.
constexpr const char* kLinkPrompt = "http://";

std::string SetupMessage(const char* format, const std::string& path) {
    std::string text = format;
    text.replace(text.find("%s"), 2, path);
    return text;
}

// Where a purchase link could not be composed, the dialog would leave the
// bare prompt; a setup carrying it would credit no one, so it is refused.
std::string UncomposedLinkMessage(int32_t service) {
    if (service == kServiceOther || ServiceNameFromIndex(service).empty())
        return "Service '" + ServiceLabel(service) +
               "' has no purchase endpoint; give the affiliate's link with --purchase-link.";
    return "Product ID for '" + ServiceLabel(service) +
           "' does not exist; give the affiliate's link with --purchase-link.";
}

} // namespace

std::string AffiliateSetupFileName(const std::string& productSetupFile, const std::string& name) {
    const size_t slash = productSetupFile.find_last_of("/\\");
    const std::string file =
        slash == std::string::npos ? productSetupFile : productSetupFile.substr(slash + 1);
    const size_t dot = file.rfind('.');
    const std::string title = dot == std::string::npos ? file : file.substr(0, dot);
    const std::string ext = dot == std::string::npos ? std::string() : file.substr(dot);
    return title + "_" + name + ext;
}

std::string DeriveAffiliateSetupPath(const CAffProject& project, const std::string& name) {
    const std::string file = AffiliateSetupFileName(project.m_strSetupFile, name);
    // Without an output folder the file goes beside the project rather than
    // into the root folder.
    if (project.m_strOutputDir.empty())
        return file;
    const char separator = platform::HostPathStyle() == platform::PathStyle::Windows ? '\\' : '/';
    return project.m_strOutputDir + separator + file;
}

AffiliateDraft DraftNewAffiliate(const AffiliateInput& input, const CAffProject& project,
                                 int32_t now) {
    AffiliateDraft draft;
    CReseller& r = draft.record;
    r.m_strName = input.name;
    r.m_strAffiliateId = input.affiliateId;
    r.m_nService = input.service.value_or(project.m_wDefaultService);
    r.m_strWebSite = input.webSite;
    r.m_strEmail = input.email;
    r.m_tModified = now;

    bool composed = true;
    if (input.purchaseLink) {
        r.m_strPurchaseLink = *input.purchaseLink;
    } else {
        r.m_strPurchaseLink = kLinkPrompt;
        composed = ComposeAffiliateLink(r.m_nService, r.m_strPurchaseLink, r.m_strAffiliateId,
                                        project, ComposeMode::Keep);
    }

    // The last failing check decides the message, as in the dialog.
    if (r.m_strAffiliateId.empty())
        draft.message = "Please provide an ID for this affiliate!";
    if (r.m_strName.empty())
        draft.message = "Please input a name for this affiliate.";
    if (r.m_strPurchaseLink.empty())
        draft.message = "Please fill out purchase link.";
    if (!draft.message.empty())
        return draft;

    const std::string typed = input.setupPath && !input.setupPath->empty()
                                  ? *input.setupPath
                                  : DeriveAffiliateSetupPath(project, r.m_strName);
    const std::string resolved = project.ResolveProjectPath(typed);
    if (resolved.empty()) {
        draft.message = "The pathname '" + typed + "' is too long.";
        return draft;
    }
    const std::string relative = project.MakeProjectRelative(resolved);
    r.m_strSetupPath = relative.empty() ? resolved : relative;

    // Letter case is ignored: on a case-blind file system the build would
    // otherwise overwrite the product's own setup program.
    if (!project.m_strSetupFile.empty() &&
        EqualsNoCase(project.ResolveProjectPath(project.m_strSetupFile), resolved)) {
        draft.message = SetupMessage(
            "File '%s' is the product setup file, please choose another one for affiliate.", typed);
        return draft;
    }
    bool duplicate = false;
    project.m_mapResellers.ForEach([&](uint16_t, const CReseller& other) {
        duplicate = duplicate || EqualsNoCase(other.m_strSetupPath, typed) ||
                    EqualsNoCase(other.m_strSetupPath, r.m_strSetupPath) ||
                    EqualsNoCase(project.ResolveProjectPath(other.m_strSetupPath), resolved);
    });
    if (duplicate) {
        draft.message = SetupMessage(
            "File '%s' is used for another affiliate, please select other name.", typed);
        return draft;
    }
    if (!composed) {
        draft.message = UncomposedLinkMessage(r.m_nService);
        return draft;
    }
    draft.ok = true;
    return draft;
}
