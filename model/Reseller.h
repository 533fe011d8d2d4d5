#pragma once

#include <cstdint>
#include <string>

// One affiliate of the product. Plain data: the project owns it, editors change
// it in place, builders work on copies.
class CReseller {
public:
    std::string m_strEmail;
    int32_t m_bChanged = 1; // the affiliate list must redraw this row; not stored
    std::string m_strAffiliateId;
    uint32_t m_nId = 0; // the low 16 bits are the key in the project's map
    std::string m_strName;
    std::string m_strWebSite;
    std::string m_strPurchaseLink;
    int32_t m_nService = 0;     // registration service index 0..3
    std::string m_strSetupPath; // relative to the project's folder where possible
    int32_t m_nImage = 0;       // image index of the row in the affiliate list; not stored
    int32_t m_tModified = 0;    // seconds since 1970-01-01 UTC

    uint16_t Key() const { return static_cast<uint16_t>(m_nId & 0xFFFF); }
};
