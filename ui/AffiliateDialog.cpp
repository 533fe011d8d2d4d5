#include "ui/AffiliateDialog.h"

#include "app/AffiliateServiceChange.h"
#include "model/AffProject.h"
#include "model/AffiliateEditor.h"
#include "model/PurchaseLink.h"
#include "model/RegistrationServices.h"
#include "platform/Clock.h"
#include "ui/ContextHelp.h"
#include "ui/LinkFieldWidth.h"
#include "ui/OkCancelRow.h"
#include "ui/ProductIdDialog.h"
#include "ui/ProjectText.h"
#include "ui/StringTable.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

CAffiliateDialog::CAffiliateDialog(QWidget* parent, IUserPrompts* prompts)
    : QDialog(parent), m_prompts(prompts ? *prompts : DefaultUserPrompts()), m_owner(parent) {
    setObjectName(QStringLiteral("136"));
    setWindowTitle(AppText(apptext::kAffiliateCaption));
    InstallContextHelp(this);

    m_pName = AddEdit("1011");
    m_pService = new QComboBox(this);
    m_pService->setObjectName(QStringLiteral("1010"));
    m_pAffiliateId = AddEdit("1013");
    m_pPurchaseLink = AddEdit("1014");
    m_pWebSite = AddEdit("1016");
    m_pEmail = AddEdit("1017");
    m_pSetupPath = AddEdit("1035");
    m_pPurchaseLink->setMinimumWidth(LinkFieldWidth(*m_pPurchaseLink));
    auto* browse = new QPushButton(AppText(apptext::kBrowseButton), this);
    browse->setObjectName(QStringLiteral("1036"));
    browse->setFixedWidth(32);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_pSetupPath);
    pathRow->addWidget(browse);

    auto* form = new QFormLayout;
    form->addRow(AppText(apptext::kAffiliateNameLabel), m_pName);
    form->addRow(AppText(apptext::kAffiliateServiceLabel), m_pService);
    form->addRow(AppText(apptext::kAffiliateIdLabel), m_pAffiliateId);
    form->addRow(AppText(apptext::kAffiliateLinkLabel), m_pPurchaseLink);
    form->addRow(AppText(apptext::kAffiliateWebSiteLabel), m_pWebSite);
    form->addRow(AppText(apptext::kAffiliateEmailLabel), m_pEmail);
    form->addRow(AppText(apptext::kAffiliateSetupPathLabel), pathRow);

    const OkCancelRow buttons = MakeOkCancelRow(this);
    m_pOk = buttons.ok;
    m_pOk->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons.layout);

    m_pPurchaseLink->setText(AppText(apptext::kEmptyLink));
    m_pWebSite->setText(AppText(apptext::kEmptyLink));

    connect(browse, &QPushButton::clicked, this, &CAffiliateDialog::OnBrowse);
    for (QLineEdit* edit :
         {m_pName, m_pAffiliateId, m_pPurchaseLink, m_pWebSite, m_pEmail, m_pSetupPath})
        connect(edit, &QLineEdit::textChanged, this, &CAffiliateDialog::OnAnyChange);
    connect(m_pName, &QLineEdit::textChanged, this, &CAffiliateDialog::OnNameChanged);
    connect(m_pAffiliateId, &QLineEdit::textChanged, this, &CAffiliateDialog::OnAffiliateIdChanged);
    connect(m_pService, &QComboBox::currentIndexChanged, this, &CAffiliateDialog::OnAnyChange);
    connect(m_pService, &QComboBox::currentIndexChanged, this, &CAffiliateDialog::OnServiceChanged);
}

void CAffiliateDialog::ShowComposedLink(const QString& link) {
    // A composed link is read from its start (the service's address); the
    // field would otherwise scroll to its end.
    m_pPurchaseLink->setText(link);
    m_pPurchaseLink->setCursorPosition(0);
}

QLineEdit* CAffiliateDialog::AddEdit(const char* id) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(id));
    return edit;
}

void CAffiliateDialog::SetProject(CAffProject* project) {
    m_pProject = project;
    FillServices();
}

void CAffiliateDialog::FillServices() {
    ++m_nLoading;
    m_pService->clear();
    for (const RegistrationService& s : ServiceTable())
        m_pService->addItem(QString::fromUtf8(s.name.data(), qsizetype(s.name.size())));
    const int def = m_pProject ? m_pProject->m_wDefaultService : 0;
    m_pService->setCurrentIndex(def < m_pService->count() ? def : -1);
    --m_nLoading;
}

void CAffiliateDialog::LoadAffiliate(CReseller* affiliate) {
    m_pAffiliate = affiliate;
    if (!affiliate)
        return;
    ++m_nLoading;
    m_pName->setText(FromProjectText(affiliate->m_strName));
    const int service = affiliate->m_nService;
    m_pService->setCurrentIndex(service >= 0 && service < m_pService->count() ? service : -1);
    m_pAffiliateId->setText(FromProjectText(affiliate->m_strAffiliateId));
    m_pPurchaseLink->setText(FromProjectText(affiliate->m_strPurchaseLink));
    m_pWebSite->setText(FromProjectText(affiliate->m_strWebSite));
    m_pEmail->setText(FromProjectText(affiliate->m_strEmail));
    m_pSetupPath->setText(FromProjectText(affiliate->m_strSetupPath));
    --m_nLoading;
}

void CAffiliateDialog::ShowForEdit(CReseller* affiliate) {
    LoadAffiliate(affiliate);
    m_pOk->setEnabled(false);
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

AffiliateFields CAffiliateDialog::Fields() const {
    AffiliateFields fields;
    fields.name = ToProjectText(m_pName->text());
    fields.service = ServiceIndex();
    fields.affiliateId = ToProjectText(m_pAffiliateId->text());
    fields.purchaseLink = ToProjectText(m_pPurchaseLink->text());
    fields.webSite = ToProjectText(m_pWebSite->text());
    fields.email = ToProjectText(m_pEmail->text());
    fields.setupPath = ToProjectText(m_pSetupPath->text());
    return fields;
}

void CAffiliateDialog::StoreInto(CReseller& record) const {
    if (m_pProject)
        CAffiliateEditor(*m_pProject, m_pAffiliate).StoreRecord(Fields(), record);
    else
        CAffiliateEditor::Store(Fields(), record);
}

int CAffiliateDialog::ServiceIndex() const {
    return m_pService->currentIndex();
}

void CAffiliateDialog::OnAnyChange() {
    if (m_nLoading == 0)
        m_pOk->setEnabled(true);
}

void CAffiliateDialog::OnNameChanged() {
    if (m_nLoading || !m_pProject)
        return;
    const CAffiliateEditor editor(*m_pProject, m_pAffiliate);
    m_pSetupPath->setText(FromProjectText(editor.DeriveSetupPath(
        ToProjectText(m_pSetupPath->text()), ToProjectText(m_pName->text()))));
}

void CAffiliateDialog::OnAffiliateIdChanged() {
    if (m_nLoading || !m_pProject)
        return;
    AffiliateFields fields = Fields();
    if (CAffiliateEditor(*m_pProject, m_pAffiliate).ComposeLink(fields, ComposeMode::Keep))
        ShowComposedLink(FromProjectText(fields.purchaseLink));
}

void CAffiliateDialog::OnServiceChanged() {
    if (m_nLoading || !m_pProject)
        return;
    ServiceChangeQuestions ask;
    ask.confirm = [this](const std::string& question) {
        return m_prompts.Question(this, FromProjectText(question));
    };
    ask.askProductId = [this](CProductIdForm& form) {
        QStringList names;
        for (const std::string& name : form.Names())
            names << FromProjectText(name);
        CProductIdDialog dlg(this, &m_prompts);
        dlg.SetServices(names, form.Selected());
        if (dlg.exec() != QDialog::Accepted)
            return false;
        form = dlg.Form();
        form.SetProductId(ToProjectText(dlg.ProductId()));
        form.SetPurchaseLink(ToProjectText(dlg.PurchaseLink()));
        return true;
    };
    AffiliateFields fields = Fields();
    const ServiceChange change = ChangeAffiliateService(*m_pProject, m_pAffiliate, fields, ask);
    if (change.registrationAdded)
        emit registrationInfoAdded(static_cast<uint16_t>(change.addedService));
    if (change.linkChanged)
        ShowComposedLink(FromProjectText(fields.purchaseLink));
}

void CAffiliateDialog::OnBrowse() {
    if (!m_pProject)
        return;
    FileRequest request;
    request.initialPath =
        FromProjectText(m_pProject->ResolveProjectPath(ToProjectText(m_pSetupPath->text())));
    request.filters = ParseFilterText(AppText(apptext::kAffiliateSetupFilter));
    request.defaultSuffix = QStringLiteral("exe");
    request.confirmOverwrite = true;
    const QString picked = m_prompts.SaveFile(this, request);
    if (picked.isEmpty())
        return;
    const PickedPath checked =
        CAffiliateEditor(*m_pProject, m_pAffiliate).CheckPickedPath(ToProjectText(picked));
    if (checked.fault == PickedPathFault::ProductSetupFile) {
        m_prompts.Message(
            this, VkFormat(apptext::NumberedString(apptext::IDS_IS_PRODUCT_SETUP_FILE), picked));
        return;
    }
    const QString stored = FromProjectText(checked.stored);
    if (checked.fault == PickedPathFault::UsedByOtherAffiliate) {
        m_prompts.Message(this,
                          VkFormat(apptext::NumberedString(apptext::IDS_FILE_IN_USE), stored));
        return;
    }
    m_pSetupPath->setText(stored);
    m_pOk->setEnabled(true);
}

void CAffiliateDialog::accept() {
    if (!m_pProject)
        return;
    const std::string message = CAffiliateEditor(*m_pProject, m_pAffiliate).Check(Fields());
    if (!message.empty()) {
        m_prompts.Message(this, FromProjectText(message));
        return;
    }
    if (m_pAffiliate) {
        StoreInto(*m_pAffiliate);
        StampChanged(*m_pAffiliate, m_clock ? m_clock() : platform::SystemNow());
        if (m_owner)
            QCoreApplication::postEvent(
                m_owner, new CAffiliateChangedEvent(m_pAffiliate->m_nId, m_pAffiliate));
    }
    QDialog::accept();
}
