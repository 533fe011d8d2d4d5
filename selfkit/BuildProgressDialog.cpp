#include "selfkit/BuildProgressDialog.h"

#include "selfkit/SelfKitTexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CBuildProgressDialog::CBuildProgressDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromLatin1(selfkit_text::kProgressCaption));
    setModal(false);

    m_pBar = new QProgressBar(this);
    m_pBar->setRange(0, 10);
    m_pBar->setValue(0);
    m_pBar->setTextVisible(false);
    m_pBar->setMinimumWidth(240);

    m_pPercent = new QLabel(QString::fromLatin1(selfkit_text::kProgressInitial), this);
    m_pPercent->setObjectName(QStringLiteral("percentLabel"));
    m_pPercent->setMinimumWidth(
        m_pPercent->fontMetrics().horizontalAdvance(QStringLiteral("100%")));

    m_pCancel = new QPushButton(QString::fromLatin1(selfkit_text::kCancel), this);
    m_pCancel->setObjectName(QStringLiteral("progressCancel"));
    connect(m_pCancel, &QPushButton::clicked, this, [this] { m_bCancel = true; });

    auto* row = new QHBoxLayout;
    row->addWidget(m_pBar, 1);
    row->addWidget(m_pPercent);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_pCancel);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
}

void CBuildProgressDialog::SetPosition(int position) {
    m_pBar->setValue(position);
    const QString text = QStringLiteral("%1%").arg(position * 100 / 10);
    if (m_pPercent->text() != text)
        m_pPercent->setText(text);
}

int CBuildProgressDialog::Position() const {
    return m_pBar->value();
}

QString CBuildProgressDialog::PercentText() const {
    return m_pPercent->text();
}

bool CBuildProgressDialog::TakeCancel() {
    const bool cancel = m_bCancel;
    m_bCancel = false;
    return cancel;
}

void CBuildProgressDialog::reject() {
    m_bCancel = true;
}
