#pragma once

#include "model/AffiliateCsv.h"
#include "model/Reseller.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CAffProject;

// The affiliate dialog's judgement of one row: the record its OK would store,
// or the message that refuses it.
struct AffiliateRowVerdict {
    bool ok = false;
    std::string message;
    CReseller record;
};

// Judges one row against a project, exactly as the affiliate dialog judges
// its fields (service name, composed link, derived and clashing setup paths).
// Front ends pass the one shared validation here; the import adds no rule of
// its own.
using AffiliateRowCheck =
    std::function<AffiliateRowVerdict(const AffiliateCsvRow& row, const CAffProject& project)>;

// A row the import will not add, and why.
struct RefusedAffiliateRow {
    size_t line = 0;
    std::string reason;
};

// What an import of one file would do to a project.
struct AffiliateImportPlan {
    std::string fileError; // the file as a whole is unusable; nothing else is set
    size_t fileErrorLine = 0;
    size_t rowCount = 0;
    std::vector<std::string> unknownColumns;
    std::vector<RefusedAffiliateRow> refused; // in file order
    std::vector<CReseller> accepted;          // in file order
    bool FileOk() const { return fileError.empty(); }
};

// Reads bytes as an affiliates file and judges every row with check against
// project plus the rows accepted before it, so two rows that claim one setup
// path clash as two dialog entries would. Rows beyond the project's free keys
// are refused. project is not changed.
AffiliateImportPlan PlanAffiliateImport(std::string_view bytes, const CAffProject& project,
                                        const AffiliateRowCheck& check);

// All or nothing: adds the accepted rows only when none was refused, unless
// skipBad. Returns how many affiliates were added.
size_t ApplyAffiliateImport(const AffiliateImportPlan& plan, CAffProject& project, bool skipBad);
