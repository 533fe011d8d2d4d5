#include "model/NewProduct.h"

#include "model/ProductRegInfo.h"
#include "model/RegistrationServices.h"
#include "platform/Uuid.h"

#include <memory>
#include <utility>

void StoreRegistration(CAffProject& project, int32_t service, std::string serviceName,
                       std::string productId, std::string purchaseLink) {
    auto info = std::make_unique<CProductRegInfo>();
    info->m_wService = static_cast<uint16_t>(service);
    info->m_strServiceName =
        serviceName.empty() ? std::string(ServiceNameFromIndex(service)) : std::move(serviceName);
    info->m_strProductId = std::move(productId);
    info->m_strPurchaseLink = std::move(purchaseLink);
    // The key is taken before the record is handed over: the order in which
    // arguments are evaluated is not fixed.
    const uint16_t key = info->m_wService;
    project.m_mapRegInfo.SetAt(key, std::move(info));
}

void StartNewProduct(CAffProject& project, int32_t service, std::string productId,
                     std::string purchaseLink) {
    project.m_strUuid = platform::NewUuidText();
    const int32_t index = service < 0 ? 0 : service;
    StoreRegistration(project, index, {}, std::move(productId), std::move(purchaseLink));
    project.m_wDefaultService = static_cast<uint16_t>(index);
}
