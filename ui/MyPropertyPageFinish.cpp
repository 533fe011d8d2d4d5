#include "ui/MyPropertyPageFinish.h"

#include "ui/WizardBitmaps.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWizard>

CMyPropertyPageFinish::CMyPropertyPageFinish(QWidget* parent) : QWizardPage(parent) {
    setObjectName(QStringLiteral("CMyPropertyPageFinish"));
    setProperty("formCaption", QStringLiteral("Velkora Wizard"));
    setPixmap(QWizard::WatermarkPixmap, WizardWatermarkPixmap());
    setFinalPage(true);

    auto* heading =
        new QLabel(QStringLiteral("You have successfully complete the Velkora Wizard."), this);
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.5);
    heading->setFont(font);
    heading->setWordWrap(true);
    auto* body = new QLabel(
        QStringLiteral("To close the wizard and generate the new project, click Finish."), this);
    body->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addSpacing(12);
    layout->addWidget(body);
    layout->addStretch();
}
