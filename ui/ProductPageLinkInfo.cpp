#include "ui/ProductPageLinkInfo.h"

#include "app/ProductSettingsForm.h"
#include "model/AffProject.h"
#include "ui/ProductIdDialog.h"
#include "ui/ProjectText.h"
#include "ui/RegInfoList.h"
#include "ui/StringTable.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

CProductPageLinkInfo::CProductPageLinkInfo(const CAffProject& project, IUserPrompts& prompts,
                                           QWidget* parent)
    : QWidget(parent), m_project(project), m_prompts(prompts),
      m_wDefaultService(project.m_wDefaultService) {
    setObjectName(QStringLiteral("CProductPageLinkInfo"));
    m_pList = new CRegInfoList(this);
    auto* add = new QPushButton(AppText(apptext::kRegInfoAdd), this);
    add->setObjectName(QStringLiteral("1038"));
    auto* remove = new QPushButton(AppText(apptext::kRegInfoDelete), this);
    remove->setObjectName(QStringLiteral("1039"));
    auto* setDefault = new QPushButton(AppText(apptext::kRegInfoSetDefault), this);
    setDefault->setObjectName(QStringLiteral("1043"));
    setDefault->setEnabled(false);
    for (QPushButton* b : {add, remove, setDefault})
        b->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(setDefault);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList);
    layout->addLayout(buttons);

    connect(add, &QPushButton::clicked, this, &CProductPageLinkInfo::OnAdd);
    connect(remove, &QPushButton::clicked, this, &CProductPageLinkInfo::OnDelete);
}

void CProductPageLinkInfo::showEvent(QShowEvent* e) {
    if (!m_bShown) {
        m_bShown = true;
        m_pList->Fill(m_project);
    }
    QWidget::showEvent(e);
}

void CProductPageLinkInfo::Store(ProductSettingsForm& form) const {
    form.regPageShown = m_bShown;
    form.regRows = m_pList->Rows();
    form.defaultService = m_wDefaultService;
}

void CProductPageLinkInfo::OnAdd() {
    QStringList offered;
    for (const std::string& name : m_pList->Rows().UnlistedServices())
        offered << FromProjectText(name);
    CProductIdDialog dlg(this, &m_prompts);
    dlg.SetServices(offered, 0);
    if (dlg.exec() != QDialog::Accepted)
        return;
    m_pList->AppendRow(dlg.ServiceName(), dlg.ProductId(), dlg.PurchaseLink());
}

void CProductPageLinkInfo::OnDelete() {
    m_pList->DeleteSelectedRow();
}
