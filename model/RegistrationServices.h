#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The built-in table of registration services. The index is what records store.
enum : int32_t { kServiceRegNow = 0, kServiceShareIt = 1, kServiceRegSoft = 2, kServiceOther = 3 };
constexpr int kServiceCount = 4;

struct RegistrationService {
    int32_t nIndex;
    std::string_view name;         // "RegNow", "ShareIt", "RegSoft", "Other"
    std::string_view endpoint;     // scheme, "://", host, path; empty for Other
    std::string_view productKey;   // query key of the product ID; empty for Other
    std::string_view affiliateKey; // query key of the affiliate ID; empty for Other
};

// The four services in table order.
const std::array<RegistrationService, kServiceCount>& ServiceTable();

// Index of the first table name equal to name ignoring case; 3 (Other) when none.
int32_t ServiceIndexFromName(std::string_view name);

// The service index of a table name, ignoring case; -1 when name is none of
// them. Unlike ServiceIndexFromName, a typo must not quietly become Other.
int32_t ParseServiceName(std::string_view name);

// The message for a name ParseServiceName refused; it lists the table's names.
std::string UnknownServiceMessage(std::string_view name);

// Display name of a service index: the table name, or "#<index>" outside it.
std::string ServiceLabel(int32_t index);

// The service's name for index 0..3; empty for any other index.
std::string_view ServiceNameFromIndex(int32_t index);
