#include "ui/MyPropertyPageWelcom.h"

#include "ui/StringTable.h"
#include "ui/WizardBitmaps.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWizard>

CMyPropertyPageWelcom::CMyPropertyPageWelcom(QWidget* parent) : QWizardPage(parent) {
    setObjectName(QStringLiteral("CMyPropertyPageWelcom"));
    setProperty("formCaption", AppText(apptext::kWizardPageCaption));
    setPixmap(QWizard::WatermarkPixmap, WizardWatermarkPixmap());

    auto* heading = new QLabel(AppText(apptext::kWizardWelcomeHeading), this);
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.5);
    heading->setFont(font);
    heading->setWordWrap(true);
    auto* body = new QLabel(AppText(apptext::kWizardWelcomeBody), this);
    body->setWordWrap(true);
    auto* next = new QLabel(AppText(apptext::kWizardWelcomeContinue), this);
    next->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addSpacing(12);
    layout->addWidget(body);
    layout->addStretch();
    layout->addWidget(next);
}
