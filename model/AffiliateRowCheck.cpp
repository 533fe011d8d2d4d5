#include "model/AffiliateRowCheck.h"

#include "model/AffProject.h"
#include "model/AffiliateDraft.h"
#include "model/FieldExcerpt.h"
#include "model/ProjectPaths.h"
#include "model/RegistrationServices.h"

#include <cctype>
#include <string_view>

namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    return true;
}

// A link from a file is opened by the end user's browser or mail program:
// only web and mail addresses, never a formula or a local program.
bool IsWebOrMailAddress(std::string_view text) {
    return StartsWithIgnoringCase(text, "http://") || StartsWithIgnoringCase(text, "https://") ||
           StartsWithIgnoringCase(text, "mailto:");
}

// What a row may not carry whatever the project: NUL bytes, and links that
// are no web or mail address. Empty when the row passes.
std::string CheckRowText(const AffiliateCsvRow& row) {
    for (const std::string* field : {&row.name, &row.affiliateId, &row.webSite, &row.email,
                                     &row.purchaseLink, &row.service, &row.setupPath})
        if (field->find('\0') != std::string::npos)
            return "A field holds a NUL byte.";
    if (!row.purchaseLink.empty() && !IsWebOrMailAddress(row.purchaseLink))
        return "The purchase link '" + FieldExcerpt(row.purchaseLink) +
               "' is not an http, https or mailto address.";
    if (!row.webSite.empty() && !IsWebOrMailAddress(row.webSite))
        return "The web site '" + FieldExcerpt(row.webSite) +
               "' is not an http, https or mailto address.";
    return {};
}

// A setup path from a file names where Build will write: inside the output
// folder (after "." and ".." are folded), or the row is refused.
bool InsideOutputFolder(const CAffProject& project, const std::string& setupPath) {
    const platform::PathStyle style = platform::HostPathStyle();
    const std::string folder = project.ResolveProjectPath(project.m_strOutputDir);
    const std::string full = project.ResolveProjectPath(setupPath);
    if (folder.empty() || full.empty())
        return false;
    const std::string relative = projectpaths::MakeRelativePath(folder, full, style);
    return !relative.empty() && relative != full && relative != ".";
}

} // namespace

AffiliateRowVerdict CheckAffiliateRow(const AffiliateCsvRow& row, const CAffProject& project,
                                      int32_t now, bool allowOutside) {
    AffiliateRowVerdict verdict;
    verdict.message = CheckRowText(row);
    if (verdict.message.empty() && !allowOutside && !row.setupPath.empty() &&
        !InsideOutputFolder(project, row.setupPath))
        verdict.message = "The setup path '" + FieldExcerpt(row.setupPath) +
                          "' lies outside the project's output folder.";
    if (!verdict.message.empty())
        return verdict;
    AffiliateInput input;
    if (!row.service.empty()) {
        const int32_t service = ParseServiceName(row.service);
        if (service < 0) {
            verdict.message = UnknownServiceMessage(row.service);
            return verdict;
        }
        input.service = service;
    }
    input.name = row.name;
    input.affiliateId = row.affiliateId;
    input.webSite = row.webSite;
    input.email = row.email;
    if (!row.setupPath.empty())
        input.setupPath = row.setupPath;
    if (!row.purchaseLink.empty())
        input.purchaseLink = row.purchaseLink;
    AffiliateDraft draft = DraftNewAffiliate(input, project, now);
    verdict.ok = draft.ok;
    verdict.message = std::move(draft.message);
    verdict.record = std::move(draft.record);
    return verdict;
}

AffiliateRowCheck AffiliateRowCheckAt(int32_t now, bool allowOutside) {
    return [now, allowOutside](const AffiliateCsvRow& row, const CAffProject& project) {
        return CheckAffiliateRow(row, project, now, allowOutside);
    };
}
