#pragma once

#include <QString>

#include <cstddef>

class CVelkoraDoc;
class QWidget;

// File > Import Affiliates...: asks for a CSV file and imports it. Returns the
// number of affiliates added.
size_t OnImportAffiliates(CVelkoraDoc& doc, QWidget* parent);

// Imports csvPath into the document's project. Every row is judged as the
// affiliate dialog judges its fields; the report is shown, and when rows were
// refused the user chooses between adding the good rows and adding nothing.
// Added affiliates mark the project modified and refresh the views.
size_t ImportAffiliatesFrom(CVelkoraDoc& doc, const QString& csvPath, QWidget* parent);

// File > Export Affiliates...: asks for a file name and writes every affiliate
// as CSV (UTF-8 with a byte order mark, CRLF). False when cancelled or failed
// (the failure is shown).
bool OnExportAffiliates(CVelkoraDoc& doc, QWidget* parent);
