#include "ui/AboutDialog.h"

#include "ui/StringTable.h"
#include "ui/ToolbarImages.h"

#include "VelkoraVersion.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(AppText(apptext::kAboutCaption));
    setObjectName("aboutDialog");
    auto* icon = new QLabel(this);
    icon->setPixmap(AppIcon().pixmap(48, 48));
    auto* text =
        new QLabel(QStringLiteral("<b>%1</b> %2<br>%3<br>%4<br>%5")
                       .arg(AppText(apptext::kAppTitle).toHtmlEscaped(),
                            VkFormat(apptext::kAboutVersion, VELKORA_VERSION),
                            AppText(apptext::kAboutDescription), AppText(apptext::kAboutCopyright),
                            AppText(apptext::kAboutLicence)),
                   this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}
