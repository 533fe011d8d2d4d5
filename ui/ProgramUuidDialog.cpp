#include "ui/ProgramUuidDialog.h"

#include "app/ProgramUuidEdit.h"
#include "ui/ProjectText.h"
#include "ui/UserPrompts.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CProgramUuidDialog::CProgramUuidDialog(const std::string& uuid, IUserPrompts& prompts,
                                       QWidget* parent)
    : QDialog(parent), m_prompts(prompts) {
    setWindowTitle(tr("Program UUID"));
    setObjectName("programUuidDialog");
    auto* label = new QLabel(tr("Use the following program UUID (Universal Unique Identifier) in "
                                "your application to call API functions."),
                             this);
    label->setWordWrap(true);
    m_edit = new QLineEdit(FromProjectText(uuid), this);
    m_edit->setMinimumWidth(m_edit->fontMetrics().horizontalAdvance(QString(40, QChar('W'))));
    m_copy = new QPushButton(tr("Copy to Clipboard"), this);
    m_apply = new QPushButton(tr("Apply"), this);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_apply->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_copy);
    buttons->addStretch();
    buttons->addWidget(m_apply);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addLayout(buttons);

    connect(m_copy, &QPushButton::clicked, this, &CProgramUuidDialog::OnCopy);
    connect(m_apply, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::string CProgramUuidDialog::Text() const {
    return ToProjectText(m_edit->text());
}

void CProgramUuidDialog::OnCopy() {
    m_edit->selectAll();
    QApplication::clipboard()->setText(m_edit->text());
    m_prompts.Message(this, tr("Copied to clipboard successfully!"), PromptIcon::Information);
}

bool EditProgramUuid(std::string& uuid, IUserPrompts& prompts, QWidget* parent) {
    CProgramUuidDialog dialog(uuid, prompts, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return ApplyProgramUuid(uuid, dialog.Text());
}
