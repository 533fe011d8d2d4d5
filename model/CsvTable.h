#pragma once

#include "model/FieldLimit.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One record of a comma-separated file and the line it starts on (from 1).
struct CsvRecord {
    size_t line = 0;
    std::vector<std::string> fields;
};

// What ReadCsv found: the records, or the first fault and its line.
struct CsvTable {
    std::vector<CsvRecord> records;
    std::string error; // empty when the whole file was read
    size_t errorLine = 0;
    bool Ok() const { return error.empty(); }
};

// Reads comma-separated text: fields in double quotes may hold commas, line
// breaks and doubled quotes; records end with CRLF, LF or CR. A UTF-8 byte
// order mark is skipped; a UTF-16LE one makes the rest read as UTF-16LE.
// Fields come back as the project's 8-bit texts (see model/TextEncoding.h).
// Blank lines hold no record. Refuses text after a closing quote, a quoted
// field that the file ends in, and a field longer than maxFieldBytes (as soon
// as the parser passes that length, so a huge field costs no more than it).
// Every field passes UnprotectCsvCell.
CsvTable ReadCsv(std::string_view bytes, size_t maxFieldBytes = kInfoFieldMax);

// Spreadsheets run a cell that starts with '=', '+', '-', '@', a tab or a
// carriage return as a formula. A writer puts a "'" before such a cell, and
// before one that starts with "'" already, so that a reader can undo it
// exactly: the reader removes one leading "'" only where one of those
// characters (or another "'") follows it. "'Tis" stays "'Tis" both ways.
std::string ProtectCsvCell(std::string_view cell);
std::string UnprotectCsvCell(std::string_view cell);

// The byte order mark that spreadsheets take as "this file is UTF-8".
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Appends fields as one record ended by CRLF, each after ProtectCsvCell; a
// field with a comma, quote, line break or leading or trailing blank is quoted.
void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields);
