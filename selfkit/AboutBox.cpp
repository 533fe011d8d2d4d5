#include "selfkit/AboutBox.h"

#include "selfkit/HyperlinkOpener.h"
#include "selfkit/SelfKitPrompts.h"
#include "selfkit/SelfKitTexts.h"

#include "VelkoraVersion.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>

CAboutBox::CAboutBox(ISelfKitPrompts& prompts, const QIcon& icon, QWidget* parent)
    : QDialog(parent), m_prompts(prompts) {
    setWindowTitle(QString::fromLatin1(selfkit_text::kAboutCaption));

    setWindowIcon(icon);
    auto* picture = new QLabel(this);
    picture->setPixmap(icon.pixmap(32, 32));
    auto* text = new QLabel(QString::fromLatin1(selfkit_text::kAboutText), this);
    text->setObjectName(QStringLiteral("aboutText"));
    auto* licence =
        new QLabel(QStringLiteral(VELKORA_COPYRIGHT "\nReleased under the MIT licence."), this);
    licence->setObjectName(QStringLiteral("aboutLicence"));

    const QString address = QString::fromLatin1(selfkit_text::kVendorAddress);
    auto* link =
        new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(address.toHtmlEscaped()), this);
    link->setObjectName(QStringLiteral("aboutLink"));
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setOpenExternalLinks(false);
    connect(link, &QLabel::linkActivated, this, &CAboutBox::OpenLink);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(picture, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(text, 0, 1);
    layout->addWidget(link, 1, 1);
    layout->addWidget(licence, 2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
}

void CAboutBox::OpenLink(const QString& address) {
    const std::string failure = OpenHyperlink(address.toLocal8Bit().toStdString());
    if (!failure.empty())
        m_prompts.ShowWarning(this, QString::fromLatin1(selfkit_text::kHyperlinkFailed) +
                                        QString::fromLocal8Bit(failure.c_str()));
}
