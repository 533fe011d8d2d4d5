#include "ui/MyPropertyPageFinish.h"

#include "ui/StringTable.h"
#include "ui/WizardBitmaps.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWizard>

CMyPropertyPageFinish::CMyPropertyPageFinish(QWidget* parent) : QWizardPage(parent) {
    setObjectName(QStringLiteral("CMyPropertyPageFinish"));
    setProperty("formCaption", AppText(apptext::kWizardPageCaption));
    setPixmap(QWizard::WatermarkPixmap, WizardWatermarkPixmap());
    setFinalPage(true);

    auto* heading = new QLabel(AppText(apptext::kWizardFinishDone), this);
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.5);
    heading->setFont(font);
    heading->setWordWrap(true);
    auto* body = new QLabel(AppText(apptext::kWizardFinishHint), this);
    body->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addSpacing(12);
    layout->addWidget(body);
    layout->addStretch();
}
