#include "ui/MyPropertyPageWelcom.h"

#include "ui/WizardBitmaps.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWizard>

CMyPropertyPageWelcom::CMyPropertyPageWelcom(QWidget* parent) : QWizardPage(parent) {
    setObjectName(QStringLiteral("CMyPropertyPageWelcom"));
    setProperty("formCaption", QStringLiteral("Velkora Wizard"));
    setPixmap(QWizard::WatermarkPixmap, WizardWatermarkPixmap());

    auto* heading = new QLabel(QStringLiteral("Welcome to the Velkora Wizard!"), this);
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.5);
    heading->setFont(font);
    heading->setWordWrap(true);
    auto* body = new QLabel(QStringLiteral("This wizard will guide you through the process of "
                                           "creating a new Velkora project. The results will be "
                                           "used to generate custom setup files or saved on disk "
                                           "for later use."),
                            this);
    body->setWordWrap(true);
    auto* next =
        new QLabel(QStringLiteral("Click Next to continue, or Cancel to exit this wizard."), this);
    next->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addSpacing(12);
    layout->addWidget(body);
    layout->addStretch();
    layout->addWidget(next);
}
