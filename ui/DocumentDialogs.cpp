#include "ui/DocumentDialogs.h"

#include "model/AffProject.h"
#include "ui/AffiliateDialog.h"
#include "ui/ProductSettingsDialog.h"
#include "ui/ProgramUuidDialog.h"
#include "ui/ProjectText.h"
#include "ui/WizardProductProperty.h"

bool CQtDocumentDialogs::RunNewProjectWizard(NewProjectAnswers& answers) {
    CWizardProductProperty wizard(m_parent(), &m_prompts);
    if (!wizard.Run())
        return false;
    const WizardProductValues v = wizard.Values();
    answers.title = ToProjectText(v.productName);
    answers.webSite = ToProjectText(v.webSite);
    answers.version = ToProjectText(v.version);
    answers.setupFile = ToProjectText(v.setupFile);
    answers.outputDir = ToProjectText(v.outputDir);
    answers.selfCreatorPath = ToProjectText(v.selfCreatorPath);
    answers.service = v.serviceIndex;
    answers.productId = ToProjectText(v.productId);
    answers.purchaseLink = ToProjectText(v.purchaseLink);
    return true;
}

bool CQtDocumentDialogs::EditNewAffiliate(CAffProject& project, CReseller& affiliate) {
    CAffiliateDialog dialog(m_parent(), &m_prompts);
    dialog.SetProject(&project);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.StoreInto(affiliate);
    return true;
}

bool CQtDocumentDialogs::EditProductSettings(CAffProject& project) {
    CProductSettingsDialog dialog(project, m_parent(), &m_prompts);
    bool modified = false;
    QObject::connect(&dialog, &CProductSettingsDialog::projectModified,
                     [&modified] { modified = true; });
    dialog.exec();
    return modified;
}

bool CQtDocumentDialogs::EditProgramUuid(std::string& uuid) {
    return ::EditProgramUuid(uuid, m_prompts, m_parent());
}
