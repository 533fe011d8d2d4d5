#include "ui/DocumentDialogs.h"

#include "model/AffProject.h"
#include "model/RegistrationServices.h"
#include "platform/Uuid.h"
#include "ui/ProductSettingsDialog.h"
#include "ui/ProjectText.h"
#include "ui/WizardProductProperty.h"

#include <QFile>

#include <memory>

bool RunNewProjectWizard(CAffProject& project, IUserPrompts& prompts, QWidget* parent,
                         std::time_t) {
    CWizardProductProperty wizard(parent, &prompts);
    if (!wizard.Run())
        return false;
    const WizardProductValues v = wizard.Values();
    project.m_strUuid = platform::NewUuidText();
    project.m_strTitle = ToProjectText(v.productName);
    project.m_strWebSite = ToProjectText(v.webSite);
    project.m_strVersion = ToProjectText(v.version);
    project.m_strSetupFile = ToProjectText(v.setupFile);
    project.m_strOutputDir = ToProjectText(v.outputDir);
    project.m_strSelfCreatorPath = ToProjectText(v.selfCreatorPath);

    const int service = v.serviceIndex < 0 ? 0 : v.serviceIndex;
    auto info = std::make_unique<CProductRegInfo>();
    info->m_wService = static_cast<uint16_t>(service);
    info->m_strProductId = ToProjectText(v.productId);
    info->m_strPurchaseLink = ToProjectText(v.purchaseLink);
    info->m_strServiceName = std::string(ServiceNameFromIndex(service));
    // The key is taken before the record is handed over: the order in which
    // arguments are evaluated is not fixed.
    const uint16_t key = info->m_wService;
    project.m_mapRegInfo.SetAt(key, std::move(info));
    project.m_wDefaultService = key;
    return true;
}

bool RunProductSettings(CAffProject& project, IUserPrompts& prompts, QWidget* parent) {
    CProductSettingsDialog dialog(project, parent, &prompts);
    bool modified = false;
    QObject::connect(&dialog, &CProductSettingsDialog::projectModified,
                     [&modified] { modified = true; });
    dialog.exec();
    return modified;
}
