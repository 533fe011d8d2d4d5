#include "model/PurchaseLink.h"

#include "model/AffProject.h"
#include "model/PurchaseUrl.h"
#include "model/RegistrationServices.h"

#include <cctype>
#include <string_view>

namespace {

bool IsBareHttpPrefix(std::string_view link) {
    constexpr std::string_view kPrefix = "http://";
    if (link.size() != kPrefix.size())
        return false;
    for (size_t i = 0; i < link.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(link[i])) != kPrefix[i])
            return false;
    return true;
}

// Only the three real services have an endpoint and keys to compose with.
const RegistrationService* ComposableService(int32_t serviceIndex) {
    if (serviceIndex < 0 || serviceIndex >= kServiceOther)
        return nullptr;
    return &ServiceTable()[static_cast<size_t>(serviceIndex)];
}

std::string StartingText(const RegistrationService& service, const std::string& link,
                         ComposeMode mode) {
    if (mode == ComposeMode::Keep && !link.empty() && !IsBareHttpPrefix(link))
        return link;
    return std::string(service.endpoint);
}

} // namespace

bool ComposeProductLink(int32_t serviceIndex, std::string& link, const std::string& productId,
                        ComposeMode mode) {
    const RegistrationService* service = ComposableService(serviceIndex);
    if (!service)
        return false;
    CPurchaseUrl url = CPurchaseUrl::Parse(StartingText(*service, link, mode));
    url.SetParameter(std::string(service->productKey), CPurchaseUrl::EncodeQueryValue(productId));
    link = url.Text();
    return true;
}

bool ComposeServiceLink(int32_t serviceIndex, std::string& link, const std::string& affiliateId,
                        const std::string& productId, ComposeMode mode) {
    const RegistrationService* service = ComposableService(serviceIndex);
    if (!service)
        return false;
    CPurchaseUrl url = CPurchaseUrl::Parse(StartingText(*service, link, mode));
    url.SetParameter(std::string(service->affiliateKey),
                     CPurchaseUrl::EncodeQueryValue(affiliateId));
    url.SetParameter(std::string(service->productKey), CPurchaseUrl::EncodeQueryValue(productId));
    link = url.Text();
    return true;
}

bool ComposeAffiliateLink(int32_t serviceIndex, std::string& link, const std::string& affiliateId,
                          const CAffProject& project, ComposeMode mode) {
    if (!ComposableService(serviceIndex))
        return false;
    const CProductRegInfo* regInfo = project.LookupRegInfo(static_cast<uint16_t>(serviceIndex));
    if (!regInfo)
        return false;
    return ComposeServiceLink(serviceIndex, link, affiliateId, regInfo->m_strProductId, mode);
}
