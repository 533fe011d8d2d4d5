#include "model/AffiliateRowCheck.h"

#include "model/AffiliateDraft.h"
#include "model/RegistrationServices.h"

AffiliateRowVerdict CheckAffiliateRow(const AffiliateCsvRow& row, const CAffProject& project,
                                      int32_t now) {
    AffiliateRowVerdict verdict;
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

AffiliateRowCheck AffiliateRowCheckAt(int32_t now) {
    return [now](const AffiliateCsvRow& row, const CAffProject& project) {
        return CheckAffiliateRow(row, project, now);
    };
}
