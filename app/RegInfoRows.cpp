#include "app/RegInfoRows.h"

#include "model/AffProject.h"
#include "model/NewProduct.h"
#include "model/PurchaseLink.h"
#include "model/RegistrationServices.h"

#include <algorithm>

CRegInfoRows CRegInfoRows::Of(const CAffProject& project) {
    CRegInfoRows rows;
    project.m_mapRegInfo.ForEach([&rows](uint16_t, const CProductRegInfo& info) {
        rows.Append({info.m_strServiceName, info.m_strProductId, info.m_strPurchaseLink});
    });
    return rows;
}

void CRegInfoRows::Delete(int row) {
    if (row >= 0 && static_cast<size_t>(row) < m_rows.size())
        m_rows.erase(m_rows.begin() + row);
}

std::vector<std::string> CRegInfoRows::UnlistedServices() const {
    std::vector<std::string> offered;
    for (const RegistrationService& s : ServiceTable()) {
        if (s.nIndex >= kServiceOther)
            continue;
        const bool listed = std::any_of(m_rows.begin(), m_rows.end(), [&s](const RegInfoRow& r) {
            return r.service.compare(0, s.name.size(), s.name) == 0;
        });
        if (!listed)
            offered.emplace_back(s.name);
    }
    return offered;
}

bool CRegInfoRows::EditCell(int row, RegInfoColumn column, const std::string& text) {
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return false;
    RegInfoRow& r = m_rows[static_cast<size_t>(row)];
    switch (column) {
    case kRegColProductId:
        r.productId = text;
        ComposeProductLink(ServiceIndexFromName(r.service), r.purchaseLink, text,
                           ComposeMode::Keep);
        return true;
    case kRegColPurchaseLink:
        r.purchaseLink = text;
        return true;
    default:
        return false;
    }
}

void CRegInfoRows::CommitTo(CAffProject& project) const {
    project.m_mapRegInfo.RemoveAll();
    for (const RegInfoRow& r : m_rows) {
        if (r.service == "...")
            continue;
        StoreRegistration(project, ServiceIndexFromName(r.service), r.service, r.productId,
                          r.purchaseLink);
    }
}
