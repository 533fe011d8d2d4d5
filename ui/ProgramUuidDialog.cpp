#include "ui/ProgramUuidDialog.h"

#include "app/ProgramUuidEdit.h"
#include "ui/ProjectText.h"
#include "ui/StringTable.h"
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
    setWindowTitle(AppText(apptext::kUuidCaption));
    setObjectName("programUuidDialog");
    auto* label = new QLabel(AppText(apptext::kUuidText), this);
    label->setWordWrap(true);
    m_edit = new QLineEdit(FromProjectText(uuid), this);
    m_edit->setMinimumWidth(m_edit->fontMetrics().horizontalAdvance(QString(40, QChar('W'))));
    m_copy = new QPushButton(AppText(apptext::kUuidCopy), this);
    m_apply = new QPushButton(AppText(apptext::kUuidApply), this);
    m_cancel = new QPushButton(AppText(apptext::kCancel), this);
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
    m_prompts.Message(this, AppText(apptext::kUuidCopied), PromptIcon::Information);
}

bool EditProgramUuid(std::string& uuid, IUserPrompts& prompts, QWidget* parent) {
    CProgramUuidDialog dialog(uuid, prompts, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return ApplyProgramUuid(uuid, dialog.Text());
}
