#pragma once

#include "model/AffiliateEditor.h"
#include "model/Reseller.h"

#include <cstdint>
#include <optional>
#include <string>

class CAffProject;

// What the user gives for a new affiliate; absent fields take the affiliate
// dialog's defaults.
struct AffiliateInput {
    std::string name;
    std::string affiliateId;
    std::optional<int32_t> service; // default: the project's default service
    std::string webSite;
    std::string email;
    std::optional<std::string> setupPath;    // default: derived from the output folder
    std::optional<std::string> purchaseLink; // default: composed from "http://"
};

// A new affiliate record, or the message that refuses it.
struct AffiliateDraft {
    bool ok = false;
    std::string message;
    CReseller record;
};

// The setup pathname the affiliate dialog proposes for a name: the output
// folder joined with AffiliateSetupFileName.
std::string DeriveAffiliateSetupPath(const CAffProject& project, const std::string& name);

// Builds the record the affiliate dialog's OK would accept (the checks of
// CAffiliateEditor), with the setup path stored project-relative and
// m_tModified = now; refuses with the dialog's messages (and a clear one when
// no purchase link can be composed).
AffiliateDraft DraftNewAffiliate(const AffiliateInput& input, const CAffProject& project,
                                 int32_t now);
