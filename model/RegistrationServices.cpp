#include "model/RegistrationServices.h"

#include <cctype>

namespace {

// The one place where the purchase endpoints live. Scheme and path are fixed by
// the services' purchase pages; hosts are the services' public checkout hosts.
constexpr std::array<RegistrationService, kServiceCount> kServices{{
    {kServiceRegNow, "RegNow", "https://www.regnow.com/softsell/nph-softsell.cgi", "item",
     "affiliate"},
    {kServiceShareIt, "ShareIt", "https://secure.shareit.com/shareit/checkout.html", "productid",
     "resellerid"},
    {kServiceRegSoft, "RegSoft", "http://www.regsoft.net/purchase.php3", "productid",
     "affiliateid"},
    {kServiceOther, "Other", "", "", ""},
}};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (std::tolower(ca) != std::tolower(cb))
            return false;
    }
    return true;
}

} // namespace

const std::array<RegistrationService, kServiceCount>& ServiceTable() {
    return kServices;
}

int32_t ServiceIndexFromName(std::string_view name) {
    for (const auto& service : kServices)
        if (EqualsIgnoringCase(service.name, name))
            return service.nIndex;
    return kServiceOther;
}

std::string_view ServiceNameFromIndex(int32_t index) {
    if (index < 0 || index >= kServiceCount)
        return {};
    return kServices[static_cast<size_t>(index)].name;
}
