#pragma once

#include <cstdint>
#include <string_view>

// An affiliate as read for looking at: the same fields as CReseller, with
// texts that point into bytes kept by whoever read them (CProjectSnapshot).
struct CResellerView {
    std::string_view m_strEmail;
    std::string_view m_strAffiliateId;
    uint32_t m_nId = 0; // the low 16 bits are the key in the project's map
    std::string_view m_strName;
    std::string_view m_strWebSite;
    std::string_view m_strPurchaseLink;
    int32_t m_nService = 0;
    std::string_view m_strSetupPath;
    int32_t m_tModified = 0;

    uint16_t Key() const { return static_cast<uint16_t>(m_nId & 0xFFFF); }
};
