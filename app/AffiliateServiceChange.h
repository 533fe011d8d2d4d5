#pragma once

#include "app/ProductIdForm.h"

#include <cstdint>
#include <functional>
#include <string>

class CAffProject;
class CReseller;
struct AffiliateFields;

// How the affiliate dialog asks a person while the service changes: a Yes/No
// question, and the New Product ID dialog run on a form (true on OK, the form
// then holding the accepted answer).
struct ServiceChangeQuestions {
    std::function<bool(const std::string& question)> confirm;
    std::function<bool(CProductIdForm& form)> askProductId;
};

struct ServiceChange {
    bool linkChanged = false;       // fields.purchaseLink was recomposed
    bool registrationAdded = false; // the project gained a registration record
    int32_t addedService = -1;      // its service (the person may pick another one)
};

// The affiliate dialog's service was changed to fields.service. For a service
// without a product ID it offers to add one (a record added stays in the
// project even when the dialog is cancelled later); then the link is
// recomposed in reset mode. Other changes nothing.
ServiceChange ChangeAffiliateService(CAffProject& project, const CReseller* edited,
                                     AffiliateFields& fields, const ServiceChangeQuestions& ask);
