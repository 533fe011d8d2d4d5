#include "model/RegistrationServices.h"

#include "model/FieldExcerpt.h"

#include "model/TextCase.h"

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

} // namespace

const std::array<RegistrationService, kServiceCount>& ServiceTable() {
    return kServices;
}

int32_t ServiceIndexFromName(std::string_view name) {
    const int32_t index = ParseServiceName(name);
    return index < 0 ? kServiceOther : index;
}

int32_t ParseServiceName(std::string_view name) {
    for (const auto& service : kServices)
        if (EqualsIgnoringCase(service.name, name))
            return service.nIndex;
    return -1;
}

std::string UnknownServiceMessage(std::string_view name) {
    std::string message = "Unknown registration service '" + FieldExcerpt(name) + "'. Use one of:";
    for (const auto& service : kServices)
        message += " " + std::string(service.name);
    return message + ".";
}

std::string ServiceLabel(int32_t index) {
    const std::string_view name = ServiceNameFromIndex(index);
    return name.empty() ? "#" + std::to_string(index) : std::string(name);
}

std::string_view ServiceNameFromIndex(int32_t index) {
    if (index < 0 || index >= kServiceCount)
        return {};
    return kServices[static_cast<size_t>(index)].name;
}
