#include "ui/AboutDialog.h"

#include "ui/ToolbarImages.h"

#include "VelkoraVersion.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About Velkora"));
    setObjectName("aboutDialog");
    auto* icon = new QLabel(this);
    icon->setPixmap(AppIcon().pixmap(48, 48));
    auto* text = new QLabel(tr("<b>Velkora</b> Version %1<br>"
                               "Custom setup files for the affiliates of your product.<br>"
                               "Copyright (C) The Velkora developers<br>"
                               "Released under the MIT licence.")
                                .arg(VELKORA_VERSION),
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
