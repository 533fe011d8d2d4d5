#include "model/AffiliateEditor.h"

#include "model/AffProject.h"
#include "model/DerivedFileName.h"
#include "model/FieldExcerpt.h"
#include "model/PortableFileName.h"
#include "model/ProjectPaths.h"
#include "model/TextCase.h"

#include "platform/HostPath.h"
#include "platform/PathIdentity.h"

namespace {

std::string WithPath(const char* format, const std::string& path) {
    std::string text = format;
    text.replace(text.find("%s"), 2, FieldExcerpt(path));
    return text;
}

// The host's file system decides whether two spellings name one file; a file
// reached through a link or another spelling is the same file as well.
bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty())
        return false;
    return platform::SameHostPath(a, b) || platform::SameExistingFile(a.c_str(), b.c_str());
}

std::string LimitMessage(const char* field) {
    return std::string(field) + " is too long, please use at most " +
           std::to_string(kInfoFieldMax) + " bytes.";
}

std::string* FieldOf(CReseller& record, AffiliateField field) {
    switch (field) {
    case AffiliateField::Name:
        return &record.m_strName;
    case AffiliateField::AffiliateId:
        return &record.m_strAffiliateId;
    case AffiliateField::WebSite:
        return &record.m_strWebSite;
    case AffiliateField::Email:
        return &record.m_strEmail;
    case AffiliateField::PurchaseLink:
        return &record.m_strPurchaseLink;
    }
    return nullptr;
}

} // namespace

std::string AffiliateSetupFileName(const std::string& productSetupFile, const std::string& name,
                                   ProgramStart setupStart) {
    return PortableFileName(DerivedSetupFileName(productSetupFile, name, setupStart));
}

std::string CAffiliateEditor::DeriveSetupPath(const std::string& current,
                                              const std::string& name) const {
    const std::string& setup = m_project.m_strSetupFile;
    const ProgramStart start = setup.empty()
                                   ? ProgramStart::Unknown
                                   : ProgramStartOfFile(m_project.ResolveProjectPath(setup));
    const std::string file = AffiliateSetupFileName(setup, name, start);
    if (current.empty())
        return projectpaths::JoinPath(m_project.m_strOutputDir, file, platform::HostPathStyle());
    return std::string(projectpaths::FolderPartOf(current)) + file;
}

bool CAffiliateEditor::ComposeLink(AffiliateFields& draft, ComposeMode mode) const {
    return ComposeAffiliateLink(draft.service, draft.purchaseLink, draft.affiliateId, m_project,
                                mode);
}

std::string CAffiliateEditor::Check(const AffiliateFields& draft) const {
    // The last failing check decides the message.
    std::string message;
    if (draft.affiliateId.empty())
        message = "Please provide an ID for this affiliate!";
    if (draft.name.empty())
        message = "Please input a name for this affiliate.";
    if (draft.purchaseLink.empty())
        message = "Please fill out purchase link.";
    if (message.empty())
        message = CheckLengths(draft.purchaseLink, draft.webSite);
    if (message.empty())
        message = CheckNulBytes(draft);
    if (message.empty())
        message = CheckSetupPath(draft.setupPath);
    return message;
}

std::string CAffiliateEditor::CheckLengths(const std::string& link,
                                           const std::string& webSite) const {
    if (link.size() > kInfoFieldMax)
        return LimitMessage("The purchase link");
    if (webSite.size() > kInfoFieldMax)
        return LimitMessage("The affiliate website");
    return {};
}

std::string CAffiliateEditor::CheckNulBytes(const AffiliateFields& draft) {
    // A NUL ends the text for the launcher and the file system, so the file
    // or link really used would not be the one checked here.
    const std::pair<const std::string*, const char*> fields[] = {
        {&draft.name, "affiliate name"},        {&draft.affiliateId, "affiliate ID"},
        {&draft.purchaseLink, "purchase link"}, {&draft.webSite, "affiliate website"},
        {&draft.email, "contact e-mail"},       {&draft.setupPath, "setup path"}};
    for (const auto& [text, label] : fields)
        if (text->find('\0') != std::string::npos)
            return std::string("The ") + label +
                   " holds a NUL byte, which no file or link may carry.";
    return {};
}

std::string CAffiliateEditor::CheckSetupPath(const std::string& typed) const {
    const std::string full = m_project.ResolveProjectPath(typed);
    if (full.empty())
        return WithPath("The pathname '%s' is too long.", typed);
    if (IsProductSetupFile(full))
        return WithPath(
            "File '%s' is the product setup file, please choose another one for affiliate.", typed);
    if (IsProjectFile(full))
        return WithPath("File '%s' is the project file, please choose another one for affiliate.",
                        typed);
    if (IsUsedByOtherAffiliate(typed, full))
        return WithPath("File '%s' is used for another affiliate, please select other name.",
                        typed);
    return {};
}

bool CAffiliateEditor::IsProductSetupFile(const std::string& full) const {
    if (m_project.m_strSetupFile.empty())
        return false;
    return SameFile(m_project.ResolveProjectPath(m_project.m_strSetupFile), full);
}

bool CAffiliateEditor::IsProjectFile(const std::string& full) const {
    return SameFile(m_project.m_strProjectPath, full);
}

bool CAffiliateEditor::IsUsedByOtherAffiliate(const std::string& typed,
                                              const std::string& full) const {
    // Stored paths are compared as typed without regard to case (a package
    // may well be copied to a case-blind disk) and also as the files they
    // name, so that a full path cannot slip past another affiliate's
    // relative one and two builds never write the same file.
    bool used = false;
    m_project.m_mapResellers.ForEach([&](uint16_t, const CReseller& other) {
        if (used || &other == m_pEdited)
            return;
        const std::string otherFull = m_project.ResolveProjectPath(other.m_strSetupPath);
        used = EqualsIgnoringCase(other.m_strSetupPath, typed) ||
               EqualsIgnoringCase(otherFull, full) || SameFile(otherFull, full);
    });
    return used;
}

PickedPath CAffiliateEditor::CheckPickedPath(const std::string& picked) const {
    PickedPath result;
    if (IsProductSetupFile(picked)) {
        result.fault = PickedPathFault::ProductSetupFile;
        result.stored = picked;
        return result;
    }
    result.stored = StoredSetupPath(picked);
    if (IsUsedByOtherAffiliate(result.stored, m_project.ResolveProjectPath(result.stored)))
        result.fault = PickedPathFault::UsedByOtherAffiliate;
    return result;
}

std::string CAffiliateEditor::StoredSetupPath(const std::string& typed) const {
    const std::string relative = m_project.MakeProjectRelative(typed);
    return relative.empty() ? typed : relative;
}

FieldEdit CAffiliateEditor::EditField(CReseller& record, AffiliateField field,
                                      const std::string& text) const {
    FieldEdit edit;
    std::string* target = FieldOf(record, field);
    if (!target || *target == text)
        return edit;
    std::string link = field == AffiliateField::PurchaseLink ? text : record.m_strPurchaseLink;
    if (field == AffiliateField::AffiliateId)
        ComposeAffiliateLink(record.m_nService, link, text, m_project, ComposeMode::Keep);
    // A field loaded from an old project is not refused for an edit elsewhere.
    const bool linkEdited =
        field == AffiliateField::PurchaseLink || field == AffiliateField::AffiliateId;
    edit.message = CheckLengths(linkEdited ? link : std::string(),
                                field == AffiliateField::WebSite ? text : std::string());
    if (!edit.message.empty()) {
        edit.result = FieldEdit::Result::Refused;
        return edit;
    }
    *target = text;
    record.m_strPurchaseLink = link;
    edit.result = FieldEdit::Result::Changed;
    return edit;
}

void CAffiliateEditor::Store(const AffiliateFields& draft, CReseller& record) {
    record.m_strName = draft.name;
    record.m_nService = draft.service;
    record.m_strAffiliateId = draft.affiliateId;
    record.m_strPurchaseLink = draft.purchaseLink;
    record.m_strWebSite = draft.webSite;
    record.m_strEmail = draft.email;
    record.m_strSetupPath = draft.setupPath;
}

void CAffiliateEditor::StoreRecord(const AffiliateFields& draft, CReseller& record) const {
    Store(draft, record);
    const std::string full =
        draft.setupPath.empty() ? std::string() : m_project.ResolveProjectPath(draft.setupPath);
    if (!full.empty())
        record.m_strSetupPath = StoredSetupPath(full);
}

AffiliateFields CAffiliateEditor::Load(const CReseller& record) {
    AffiliateFields draft;
    draft.name = record.m_strName;
    draft.service = record.m_nService;
    draft.affiliateId = record.m_strAffiliateId;
    draft.purchaseLink = record.m_strPurchaseLink;
    draft.webSite = record.m_strWebSite;
    draft.email = record.m_strEmail;
    draft.setupPath = record.m_strSetupPath;
    return draft;
}

void StampChanged(CReseller& record, std::time_t now) {
    record.m_tModified = static_cast<int32_t>(now);
    record.m_bChanged = 1;
}
