#include "ui/ProductIdDialog.h"

#include "app/ProductIdForm.h"
#include "ui/ContextHelp.h"
#include "ui/LinkFieldWidth.h"
#include "ui/OkCancelRow.h"
#include "ui/ProjectText.h"
#include "ui/StringTable.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CProductIdDialog::CProductIdDialog(QWidget* parent, IUserPrompts* prompts)
    : QDialog(parent), m_prompts(prompts ? *prompts : DefaultUserPrompts()) {
    setObjectName(QStringLiteral("160"));
    setWindowTitle(AppText(apptext::kProductIdCaption));
    InstallContextHelp(this);

    m_pService = new QComboBox(this);
    m_pService->setObjectName(QStringLiteral("1032"));
    m_pProductId = new QLineEdit(this);
    m_pProductId->setObjectName(QStringLiteral("1041"));
    m_pPurchaseLink = new QLineEdit(this);
    m_pPurchaseLink->setObjectName(QStringLiteral("1042"));
    m_pPurchaseLink->setMinimumWidth(LinkFieldWidth(*m_pPurchaseLink));

    auto* form = new QFormLayout;
    form->addRow(AppText(apptext::kProductIdServiceLabel), m_pService);
    form->addRow(AppText(apptext::kProductIdLabel), m_pProductId);
    form->addRow(AppText(apptext::kProductIdLinkLabel), m_pPurchaseLink);

    const OkCancelRow buttons = MakeOkCancelRow(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons.layout);

    connect(m_pProductId, &QLineEdit::textEdited, this, &CProductIdDialog::OnProductIdChanged);
    connect(m_pService, &QComboBox::currentIndexChanged, this, &CProductIdDialog::OnServiceChanged);
}

void CProductIdDialog::SetServices(const QStringList& names, int selected) {
    m_bFilling = true;
    m_pService->clear();
    m_pService->addItems(names);
    m_pService->setCurrentIndex(selected >= 0 && selected < names.size() ? selected : -1);
    m_bFilling = false;
}

QString CProductIdDialog::ProductId() const {
    return m_pProductId->text();
}

QString CProductIdDialog::PurchaseLink() const {
    return m_pPurchaseLink->text();
}

int CProductIdDialog::SelectedPosition() const {
    return m_pService->currentIndex();
}

CProductIdForm CProductIdDialog::Form() const {
    std::vector<std::string> names;
    for (int i = 0; i < m_pService->count(); ++i)
        names.push_back(ToProjectText(m_pService->itemText(i)));
    CProductIdForm form(std::move(names), m_pService->currentIndex());
    form.SetPurchaseLink(ToProjectText(m_pPurchaseLink->text()));
    return form;
}

void CProductIdDialog::OnProductIdChanged() {
    CProductIdForm form = Form();
    if (form.SetProductId(ToProjectText(m_pProductId->text())))
        ShowComposedLink(FromProjectText(form.PurchaseLink()));
}

void CProductIdDialog::OnServiceChanged() {
    if (m_bFilling)
        return;
    CProductIdForm form = Form();
    form.SetProductId(ToProjectText(m_pProductId->text()));
    form.SetPurchaseLink(ToProjectText(m_pPurchaseLink->text()));
    if (form.SelectService(m_pService->currentIndex()))
        ShowComposedLink(FromProjectText(form.PurchaseLink()));
}

void CProductIdDialog::ShowComposedLink(const QString& link) {
    // Read from its start: the service's address comes first.
    m_pPurchaseLink->setText(link);
    m_pPurchaseLink->setCursorPosition(0);
}

void CProductIdDialog::accept() {
    CProductIdForm form = Form();
    form.SetProductId(ToProjectText(m_pProductId->text()));
    form.SetPurchaseLink(ToProjectText(m_pPurchaseLink->text()));
    const std::string message = form.Check();
    if (!message.empty()) {
        m_prompts.Message(this, FromProjectText(message));
        return;
    }
    m_strServiceName = FromProjectText(form.Answer().serviceName);
    QDialog::accept();
}
