// Any bytes as an affiliates file, and any cells through export and import:
// reading never fails unbounded, a field never passes the limit, and what
// export writes reads back exactly, formula cells included, with no written
// cell starting as a formula.
#include "FuzzCheck.h"

#include "model/AffiliateCsv.h"
#include "model/CsvTable.h"
#include "model/TextEncoding.h"

#include <vector>

namespace {

constexpr size_t kMaxCells = 16;

// The input cut into cells at every 0x1F byte, each made valid UTF-8 as the
// reader makes every text.
std::vector<std::string> CellsOf(std::string_view bytes) {
    std::vector<std::string> cells;
    size_t start = 0;
    while (cells.size() < kMaxCells) {
        const size_t cut = bytes.find('\x1f', start);
        const std::string_view cell = bytes.substr(
            start, cut == std::string_view::npos ? std::string_view::npos : cut - start);
        cells.push_back(SanitizeUtf8(cell));
        if (cut == std::string_view::npos)
            break;
        start = cut + 1;
    }
    return cells;
}

bool StartsAsFormula(const std::string& cell) {
    return !cell.empty() && (cell[0] == '=' || cell[0] == '+' || cell[0] == '-' || cell[0] == '@' ||
                             cell[0] == '\t' || cell[0] == '\r');
}

void CheckRoundTrip(std::string_view bytes) {
    const std::vector<std::string> cells = CellsOf(bytes);
    // One empty cell is a blank line, which holds no record.
    if (cells.size() == 1 && cells[0].empty())
        return;
    std::string csv(kUtf8Bom);
    AppendCsvRecord(csv, cells);
    const CsvTable table = ReadCsv(csv, 1u << 20);
    FUZZ_CHECK(table.Ok(), "an exported record is refused");
    FUZZ_CHECK(table.records.size() == 1, "an exported record reads as another count");
    FUZZ_CHECK(table.records[0].fields == cells, "a cell changed on its way back");
    for (const std::string& cell : cells) {
        const std::string written = ProtectCsvCell(cell);
        FUZZ_CHECK(!StartsAsFormula(written), "an exported cell starts as a formula");
        FUZZ_CHECK(UnprotectCsvCell(written) == cell, "protecting is not undone exactly");
    }
}

void CheckReader(std::string_view bytes) {
    const AffiliateCsvSheet sheet = ReadAffiliateCsv(bytes);
    if (!sheet.Ok()) {
        FUZZ_CHECK(sheet.rows.empty(), "a refused file keeps rows");
        return;
    }
    for (const AffiliateCsvRow& row : sheet.rows)
        for (const std::string* field : {&row.name, &row.affiliateId, &row.webSite, &row.email,
                                         &row.purchaseLink, &row.service, &row.setupPath})
            FUZZ_CHECK(field->size() <= kInfoFieldMax, "a field passed the limit");
    for (const std::string& column : sheet.unknownColumns)
        FUZZ_CHECK(column.size() <= 83, "a reported column is not cut short");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string_view bytes = FuzzBytes(data, size);
    CheckReader(bytes);
    CheckRoundTrip(bytes);
    return 0;
}
