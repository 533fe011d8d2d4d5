#include "app/ProductIdForm.h"

#include "app/AppTexts.h"
#include "model/AffProject.h"
#include "model/NewProduct.h"
#include "model/PurchaseLink.h"
#include "model/RegistrationServices.h"

CProductIdForm::CProductIdForm(std::vector<std::string> names, int selected)
    : m_names(std::move(names)),
      m_nSelected(selected >= 0 && static_cast<size_t>(selected) < m_names.size() ? selected : -1) {
}

int32_t CProductIdForm::ServiceIndex() const {
    return m_nSelected < 0 ? -1 : ServiceIndexFromName(m_names[static_cast<size_t>(m_nSelected)]);
}

bool CProductIdForm::SetProductId(std::string productId) {
    m_strProductId = std::move(productId);
    return ComposeProductLink(ServiceIndex(), m_strPurchaseLink, m_strProductId, ComposeMode::Keep);
}

bool CProductIdForm::SelectService(int position) {
    m_nSelected = position >= 0 && static_cast<size_t>(position) < m_names.size() ? position : -1;
    return ComposeProductLink(ServiceIndex(), m_strPurchaseLink, m_strProductId,
                              ComposeMode::Reset);
}

std::string CProductIdForm::Check() const {
    if (m_strProductId.empty())
        return std::string(apptext::kProductIdEmpty);
    if (m_nSelected < 0)
        return std::string(apptext::kProductIdBadService);
    return {};
}

ProductIdAnswer CProductIdForm::Answer() const {
    return {m_nSelected < 0 ? std::string() : m_names[static_cast<size_t>(m_nSelected)],
            m_strProductId, m_strPurchaseLink};
}

CProductIdForm MissingServicesForm(const CAffProject& project, int32_t current) {
    std::vector<std::string> missing;
    int selected = -1;
    for (const RegistrationService& s : ServiceTable()) {
        if (project.LookupRegInfo(static_cast<uint16_t>(s.nIndex)))
            continue;
        if (s.nIndex == current)
            selected = static_cast<int>(missing.size());
        missing.emplace_back(s.name);
    }
    return CProductIdForm(std::move(missing), selected);
}

int32_t AddRegistration(CAffProject& project, const ProductIdAnswer& answer) {
    const int32_t service = ServiceIndexFromName(answer.serviceName);
    StoreRegistration(project, service, answer.serviceName, answer.productId, answer.purchaseLink);
    return service;
}
