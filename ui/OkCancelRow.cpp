#include "ui/OkCancelRow.h"

#include "ui/StringTable.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

OkCancelRow MakeOkCancelRow(QDialog* dialog) {
    OkCancelRow row;
    row.ok = new QPushButton(AppText(apptext::kOk), dialog);
    row.ok->setObjectName(QStringLiteral("1"));
    row.ok->setDefault(true);
    row.cancel = new QPushButton(AppText(apptext::kCancel), dialog);
    row.cancel->setObjectName(QStringLiteral("2"));
    row.layout = new QHBoxLayout;
    row.layout->addStretch();
    row.layout->addWidget(row.ok);
    row.layout->addWidget(row.cancel);
    // accept and reject are virtual, so the dialog's own versions run.
    QObject::connect(row.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(row.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return row;
}
