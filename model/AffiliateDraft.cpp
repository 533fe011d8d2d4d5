#include "model/AffiliateDraft.h"

#include "model/AffProject.h"
#include "model/RegistrationServices.h"

namespace {

// Where a purchase link could not be composed, the dialog would leave the
// bare prompt; a setup carrying it would credit no one, so it is refused.
std::string UncomposedLinkMessage(int32_t service) {
    if (service == kServiceOther || ServiceNameFromIndex(service).empty())
        return "Service '" + ServiceLabel(service) +
               "' has no purchase endpoint; give the affiliate's link with --purchase-link.";
    return "Product ID for '" + ServiceLabel(service) +
           "' does not exist; give the affiliate's link with --purchase-link.";
}

AffiliateFields FieldsOf(const AffiliateInput& input, const CAffProject& project) {
    AffiliateFields fields;
    fields.name = input.name;
    fields.affiliateId = input.affiliateId;
    fields.service = input.service.value_or(project.m_wDefaultService);
    fields.webSite = input.webSite;
    fields.email = input.email;
    return fields;
}

} // namespace

std::string DeriveAffiliateSetupPath(const CAffProject& project, const std::string& name) {
    return CAffiliateEditor(project).DeriveSetupPath({}, name);
}

AffiliateDraft DraftNewAffiliate(const AffiliateInput& input, const CAffProject& project,
                                 int32_t now) {
    const CAffiliateEditor editor(project);
    AffiliateFields fields = FieldsOf(input, project);
    bool composed = true;
    if (input.purchaseLink)
        fields.purchaseLink = *input.purchaseLink;
    else
        composed = editor.ComposeLink(fields, ComposeMode::Keep);
    fields.setupPath = input.setupPath && !input.setupPath->empty()
                           ? *input.setupPath
                           : editor.DeriveSetupPath({}, fields.name);

    AffiliateDraft draft;
    draft.message = editor.Check(fields);
    if (draft.message.empty() && !composed)
        draft.message = UncomposedLinkMessage(fields.service);
    if (!draft.message.empty())
        return draft;
    editor.StoreRecord(fields, draft.record);
    draft.record.m_tModified = now;
    draft.ok = true;
    return draft;
}
