#pragma once

#include "model/FieldLimit.h"
#include "model/ProgramStart.h"
#include "model/PurchaseLink.h"
#include "model/Reseller.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

class CAffProject;

// "<setup title>_<name><ext>" of the product's setup file: "setup.exe" and
// "Bob" give "setup_Bob.exe"; the name passes DerivedSetupFileName's rule
// (model/DerivedFileName.h), so the file stays in the folder it is joined to
// and ends in ".exe" when it is a Windows program (by setupStart), and is made
// portable (PortableFileName), so every system derives the same name.
std::string AffiliateSetupFileName(const std::string& productSetupFile, const std::string& name,
                                   ProgramStart setupStart);

// Marks a record an editor changed: changed since the last build, stamped
// with now (the caller's clock, so that tests can set it).
void StampChanged(CReseller& record, std::time_t now);

// The fields of one affiliate as an editor holds them while the user types.
struct AffiliateFields {
    std::string name;
    int32_t service = 0;
    std::string affiliateId;
    std::string purchaseLink = "http://";
    std::string webSite = "http://";
    std::string email;
    std::string setupPath; // as typed: relative to the project's folder or full
};

// Why a setup path picked in the file chooser is refused.
enum class PickedPathFault { None, ProductSetupFile, UsedByOtherAffiliate };

// A picked setup path: the form to store (project-relative where possible) or
// the fault that refuses it.
struct PickedPath {
    PickedPathFault fault = PickedPathFault::None;
    std::string stored;
};

// The fields of an affiliate that can be edited in a cell of the affiliate list.
enum class AffiliateField { Name, AffiliateId, WebSite, Email, PurchaseLink };

// Outcome of a cell edit: nothing to do, the record changed, or refused with
// a message (the record is left alone).
struct FieldEdit {
    enum class Result { Unchanged, Changed, Refused } result = Result::Unchanged;
    std::string message;
};

// The rules every editor of an affiliate follows (the affiliate dialog, the
// list's cell editor, the command line): the setup file name derived from the
// affiliate's name, the composed purchase link and the checks that refuse a
// record. Borrows the project; editing is one affiliate (or a new one when
// none is given).
class CAffiliateEditor {
public:
    explicit CAffiliateEditor(const CAffProject& project, const CReseller* edited = nullptr)
        : m_project(project), m_pEdited(edited) {}

    // The setup path after the name changed: the folder of current with the
    // new file name, or the project's output folder joined with it when
    // current is empty. The product's setup file is read for its first bytes
    // (what it is decides the extension).
    std::string DeriveSetupPath(const std::string& current, const std::string& name) const;

    // Composes draft.purchaseLink for its service and affiliate ID. False (the
    // link unchanged) for Other or when the product has no ID at the service.
    bool ComposeLink(AffiliateFields& draft, ComposeMode mode) const;

    // The message that refuses draft, or empty when it may be stored. The
    // last failing of ID, name and link decides the first message; then the
    // field lengths, then NUL bytes in any field, then the setup path.
    std::string Check(const AffiliateFields& draft) const;

    // A setup path chosen in the file chooser (a full path).
    PickedPath CheckPickedPath(const std::string& picked) const;

    // The setup path as stored: project-relative where possible, else full.
    std::string StoredSetupPath(const std::string& typed) const;

    // Stores text in field of record, composing the link anew when the
    // affiliate ID changed (keep mode). m_tModified and m_bChanged are left to
    // the caller, which sets them only on Changed.
    FieldEdit EditField(CReseller& record, AffiliateField field, const std::string& text) const;

    // Copies the draft's seven fields into record.
    static void Store(const AffiliateFields& draft, CReseller& record);
    // Store, with the setup path in its stored form: relative to the project
    // wherever it lies inside the project's folder, so that a copied or moved
    // project builds into its own folder. Every front end stores through this.
    void StoreRecord(const AffiliateFields& draft, CReseller& record) const;
    // The draft of an existing record.
    static AffiliateFields Load(const CReseller& record);

private:
    std::string CheckLengths(const std::string& link, const std::string& webSite) const;
    std::string CheckSetupPath(const std::string& typed) const;
    static std::string CheckNulBytes(const AffiliateFields& draft);
    bool IsProductSetupFile(const std::string& full) const;
    bool IsProjectFile(const std::string& full) const;
    bool IsUsedByOtherAffiliate(const std::string& typed, const std::string& full) const;

    const CAffProject& m_project;
    const CReseller* m_pEdited;
};
