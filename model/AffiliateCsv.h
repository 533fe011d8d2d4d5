#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CAffProject;

// One affiliate as a row of an affiliates file gives it. An empty text means
// "not given": the affiliate dialog's default applies.
struct AffiliateCsvRow {
    size_t line = 0; // where the row starts in the file, from 1
    std::string name;
    std::string affiliateId;
    std::string webSite;
    std::string email;
    std::string purchaseLink;
    std::string service; // a service name; empty: the project's default service
    std::string setupPath;
};

// The rows of an affiliates file, or why the file as a whole cannot be used.
struct AffiliateCsvSheet {
    std::vector<AffiliateCsvRow> rows;
    std::vector<std::string> unknownColumns; // header texts that name no field; ignored
    std::string error;                       // empty when the file could be read
    size_t errorLine = 0;
    bool Ok() const { return error.empty(); }
};

// Reads an affiliates file (see model/CsvTable.h for the text rules). The
// first record names the columns, ignoring case: the affiliate list's titles
// "Affiliate Name", "Affiliate ID", "Website", "Contact Email", "Purchase
// Link", and "Service", "Setup Path", or the short forms "Name", "Web site",
// "E-mail" and "Email". Name and ID columns are required; an empty file, a
// header without them or a malformed record refuses the whole file.
AffiliateCsvSheet ReadAffiliateCsv(std::string_view bytes);

// Every affiliate of project in key order, under the titles the list shows
// plus "Service" and "Setup Path" (stored, project-relative form): UTF-8 with
// a byte order mark and CRLF line ends, so spreadsheets open it as it is.
std::string WriteAffiliateCsv(const CAffProject& project);
