#include "ui/ProductIdDialog.h"

#include "model/PurchaseLink.h"
#include "model/RegistrationServices.h"
#include "ui/ContextHelp.h"
#include "ui/LinkFieldWidth.h"
#include "ui/OkCancelRow.h"
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

int CProductIdDialog::SelectedServiceIndex() const {
    if (m_pService->currentIndex() < 0)
        return -1;
    return ServiceIndexFromName(m_pService->currentText().toStdString());
}

void CProductIdDialog::OnProductIdChanged() {
    std::string link = m_pPurchaseLink->text().toStdString();
    if (ComposeProductLink(SelectedServiceIndex(), link, m_pProductId->text().toStdString(),
                           ComposeMode::Keep))
        ShowComposedLink(QString::fromStdString(link));
}

void CProductIdDialog::OnServiceChanged() {
    if (m_bFilling)
        return;
    std::string link = m_pPurchaseLink->text().toStdString();
    if (ComposeProductLink(SelectedServiceIndex(), link, m_pProductId->text().toStdString(),
                           ComposeMode::Reset))
        ShowComposedLink(QString::fromStdString(link));
}

void CProductIdDialog::ShowComposedLink(const QString& link) {
    // Read from its start: the service's address comes first.
    m_pPurchaseLink->setText(link);
    m_pPurchaseLink->setCursorPosition(0);
}

void CProductIdDialog::accept() {
    if (m_pProductId->text().isEmpty()) {
        m_prompts.Message(this, AppText(apptext::kProductIdEmpty));
        return;
    }
    if (m_pService->currentIndex() < 0) {
        m_prompts.Message(this, AppText(apptext::kProductIdBadService));
        return;
    }
    m_strServiceName = m_pService->currentText();
    QDialog::accept();
}
