#pragma once

#include <string>
#include <vector>

class CAffProject;

// One row of the Product Settings dialog's registration list, as shown.
struct RegInfoRow {
    std::string service; // the service's name as stored with the record
    std::string productId;
    std::string purchaseLink;
};

enum RegInfoColumn : int { kRegColService = 0, kRegColProductId = 1, kRegColPurchaseLink = 2 };

// The registration list of Product Settings: the product's records as rows that
// the person edits; the project changes only when the rows are committed.
class CRegInfoRows {
public:
    // One row per registration record, in the map's enumeration order.
    static CRegInfoRows Of(const CAffProject& project);

    const std::vector<RegInfoRow>& Rows() const { return m_rows; }
    void Append(RegInfoRow row) { m_rows.push_back(std::move(row)); }
    // Deletes row (out of range: nothing); the others keep their order.
    void Delete(int row);

    // The services Add offers, in table order: RegNow, ShareIt and RegSoft
    // unless a row's service text begins with the name. Other never.
    std::vector<std::string> UnlistedServices() const;

    // Writes a kept cell edit. The service column is not editable (false); a
    // product ID recomposes the row's link in keep mode. True when the row
    // changed in any way the list must redraw.
    bool EditCell(int row, RegInfoColumn column, const std::string& text);

    // Replaces the project's registration records by the rows: a row whose
    // service text is "..." is skipped, a later row of the same service wins.
    void CommitTo(CAffProject& project) const;

private:
    std::vector<RegInfoRow> m_rows;
};
