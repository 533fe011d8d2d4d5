#include "model/AffiliateCsv.h"

#include "model/AffProject.h"
#include "model/CsvTable.h"
#include "model/FieldExcerpt.h"
#include "model/RegistrationServices.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

namespace {

enum class Column { Name, AffiliateId, WebSite, Email, PurchaseLink, Service, SetupPath };

struct ColumnTitle {
    std::string_view title;
    Column column;
};

// The first title of each column is the one an export writes.
constexpr std::array<ColumnTitle, 11> kTitles = {{
    {"Affiliate Name", Column::Name},
    {"Affiliate ID", Column::AffiliateId},
    {"Website", Column::WebSite},
    {"Contact Email", Column::Email},
    {"Purchase Link", Column::PurchaseLink},
    {"Service", Column::Service},
    {"Setup Path", Column::SetupPath},
    {"Name", Column::Name},
    {"Web site", Column::WebSite},
    {"E-mail", Column::Email},
    {"Email", Column::Email},
}};
constexpr size_t kExportedColumns = 7;

bool SameTitle(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<Column> ColumnOf(const std::string& header) {
    const std::string title = Trimmed(header);
    for (const ColumnTitle& t : kTitles)
        if (SameTitle(t.title, title))
            return t.column;
    return std::nullopt;
}

std::string* FieldOf(AffiliateCsvRow& row, Column column) {
    switch (column) {
    case Column::Name:
        return &row.name;
    case Column::AffiliateId:
        return &row.affiliateId;
    case Column::WebSite:
        return &row.webSite;
    case Column::Email:
        return &row.email;
    case Column::PurchaseLink:
        return &row.purchaseLink;
    case Column::Service:
        return &row.service;
    case Column::SetupPath:
        return &row.setupPath;
    }
    return nullptr;
}

// For each field of the header, its column, or none for an ignored one. The
// first of two columns naming the same field wins.
std::vector<std::optional<Column>> MapHeader(const CsvRecord& header, AffiliateCsvSheet& sheet) {
    std::vector<std::optional<Column>> map;
    for (const std::string& text : header.fields) {
        std::optional<Column> column = ColumnOf(text);
        const bool repeated = column && std::find(map.begin(), map.end(), column) != map.end();
        if (!column || repeated) {
            sheet.unknownColumns.push_back(FieldExcerpt(text));
            column.reset();
        }
        map.push_back(column);
    }
    return map;
}

bool Has(const std::vector<std::optional<Column>>& map, Column column) {
    return std::find(map.begin(), map.end(), column) != map.end();
}

void Refuse(AffiliateCsvSheet& sheet, std::string error, size_t line) {
    sheet.rows.clear();
    sheet.error = std::move(error);
    sheet.errorLine = line;
}

} // namespace

AffiliateCsvSheet ReadAffiliateCsv(std::string_view bytes) {
    AffiliateCsvSheet sheet;
    const CsvTable table = ReadCsv(bytes);
    if (!table.Ok()) {
        Refuse(sheet, table.error, table.errorLine);
        return sheet;
    }
    if (table.records.empty()) {
        Refuse(sheet, "the file is empty", 1);
        return sheet;
    }
    const CsvRecord& header = table.records.front();
    const std::vector<std::optional<Column>> map = MapHeader(header, sheet);
    for (const auto& [title, column] : {std::pair{"Affiliate Name", Column::Name},
                                        std::pair{"Affiliate ID", Column::AffiliateId}}) {
        if (!Has(map, column)) {
            Refuse(sheet, std::string("the column \"") + title + "\" is missing", header.line);
            return sheet;
        }
    }
    sheet.rows.reserve(table.records.size() - 1);
    for (size_t r = 1; r < table.records.size(); ++r) {
        const CsvRecord& record = table.records[r];
        AffiliateCsvRow row;
        row.line = record.line;
        // Fields past the header's last column have no title and are ignored.
        for (size_t i = 0; i < record.fields.size() && i < map.size(); ++i)
            if (map[i])
                *FieldOf(row, *map[i]) = record.fields[i];
        sheet.rows.push_back(std::move(row));
    }
    return sheet;
}

std::string WriteAffiliateCsv(const CAffProject& project) {
    std::string out(kUtf8Bom);
    std::vector<std::string> fields;
    for (size_t i = 0; i < kExportedColumns; ++i)
        fields.emplace_back(kTitles[i].title);
    AppendCsvRecord(out, fields);
    std::vector<uint16_t> keys = project.m_mapResellers.Keys();
    std::sort(keys.begin(), keys.end());
    for (const uint16_t key : keys) {
        const CReseller& r = *project.LookupReseller(key);
        fields = {r.m_strName,         r.m_strAffiliateId,
                  r.m_strWebSite,      r.m_strEmail,
                  r.m_strPurchaseLink, std::string(ServiceNameFromIndex(r.m_nService)),
                  r.m_strSetupPath};
        AppendCsvRecord(out, fields);
    }
    return out;
}
