#pragma once

#include <cstddef>
#include <string>

class Document;
class IAppPrompts;
struct AffiliateImportPlan;

// File > Import Affiliates...: asks for a CSV file and imports it. Returns the
// number of affiliates added.
size_t ImportAffiliates(Document& doc, IAppPrompts& prompts);

// Imports csvPath into the document's project. Every row is judged as the
// affiliate dialog judges its fields; the report is shown, and when rows were
// refused the person chooses between adding the good rows and adding nothing,
// and is offered to save the whole report when the box lists only part of it.
// Added affiliates mark the project modified and refresh the views.
size_t ImportAffiliatesFrom(Document& doc, IAppPrompts& prompts, const std::string& csvPath);

// The import's report for a message box: the counts, the ignored columns and
// at most listed refused rows, their advice worded for the window.
std::string ImportReport(const AffiliateImportPlan& plan, size_t listed);

// File > Export Affiliates...: asks for a file name and writes every affiliate
// as CSV (UTF-8 with a byte order mark, CRLF). False when cancelled or failed
// (the failure is shown).
bool ExportAffiliates(Document& doc, IAppPrompts& prompts);
