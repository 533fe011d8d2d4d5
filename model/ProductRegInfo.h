#pragma once

#include <cstdint>
#include <string>

// The product's identifier and own purchase link at one registration service.
class CProductRegInfo {
public:
    uint16_t m_wService = 0; // equals its key in the project's map
    std::string m_strProductId;
    std::string m_strPurchaseLink;
    std::string m_strServiceName; // derived from m_wService when it is 0..3; not stored
};
