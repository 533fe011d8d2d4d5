#include "ui/DocumentDialogs.h"

#include "model/AffProject.h"
#include "model/RegistrationServices.h"
#include "platform/Uuid.h"
#include "ui/ProductSettingsDialog.h"
#include "ui/WizardProductProperty.h"

#include <QFile>

#include <memory>

namespace {

std::string ToBytes(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

} // namespace

bool RunNewProjectWizard(CAffProject& project, IUserPrompts& prompts, QWidget* parent,
                         std::time_t) {
    CWizardProductProperty wizard(parent, &prompts);
    if (!wizard.Run())
        return false;
    const WizardProductValues v = wizard.Values();
    project.m_strUuid = platform::NewUuidText();
    project.m_strTitle = ToBytes(v.productName);
    project.m_strWebSite = ToBytes(v.webSite);
    project.m_strVersion = ToBytes(v.version);
    project.m_strSetupFile = ToBytes(v.setupFile);
    project.m_strOutputDir = ToBytes(v.outputDir);
    project.m_strSelfCreatorPath = ToBytes(v.selfCreatorPath);

    const int service = v.serviceIndex < 0 ? 0 : v.serviceIndex;
    auto info = std::make_unique<CProductRegInfo>();
    info->m_wService = static_cast<uint16_t>(service);
    info->m_strProductId = ToBytes(v.productId);
    info->m_strPurchaseLink = ToBytes(v.purchaseLink);
    info->m_strServiceName = std::string(ServiceNameFromIndex(service));
    const uint16_t key = info->m_wService; // read before info is moved from
    project.m_mapRegInfo.SetAt(key, std::move(info));
    project.m_wDefaultService = static_cast<uint16_t>(service);
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
