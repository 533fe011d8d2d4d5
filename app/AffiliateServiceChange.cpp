#include "app/AffiliateServiceChange.h"

#include "app/AppTexts.h"
#include "model/AffProject.h"
#include "model/AffiliateEditor.h"
#include "model/RegistrationServices.h"

ServiceChange ChangeAffiliateService(CAffProject& project, const CReseller* edited,
                                     AffiliateFields& fields, const ServiceChangeQuestions& ask) {
    ServiceChange change;
    const int32_t service = fields.service;
    if (service < 0 || service >= kServiceOther)
        return change;
    if (!project.LookupRegInfo(static_cast<uint16_t>(service))) {
        const std::string question =
            apptext::FormatText(apptext::kNoProductIdForService, {ServiceNameFromIndex(service)});
        if (!ask.confirm || !ask.confirm(question))
            return change;
        CProductIdForm form = MissingServicesForm(project, service);
        if (!ask.askProductId || !ask.askProductId(form) || !form.Check().empty())
            return change;
        change.addedService = AddRegistration(project, form.Answer());
        change.registrationAdded = true;
    }
    change.linkChanged = CAffiliateEditor(project, edited).ComposeLink(fields, ComposeMode::Reset);
    return change;
}
