#pragma once

#include "ui/UserPrompts.h"

#include <QDialog>

class CAffProject;
class CProductPageGeneralInfo;
class CProductPageLinkInfo;
class CProductPageSetupFile;
class QTabWidget;

// "Product Settings": the product half of the project on three pages. The
// pages edit copies; OK writes them into the project and emits
// projectModified (also when nothing changed); Cancel changes nothing.
//
//   CProductSettingsDialog dlg(project, parent);
//   connect(&dlg, &CProductSettingsDialog::projectModified, doc, ...SetModified);
//   dlg.exec();
class CProductSettingsDialog : public QDialog {
    Q_OBJECT
public:
    CProductSettingsDialog(CAffProject& project, QWidget* parent = nullptr,
                           IUserPrompts* prompts = nullptr);

    QTabWidget* Sheet() const { return m_pSheet; }
    CProductPageGeneralInfo* GeneralInfoPage() const { return m_pGeneral; }
    CProductPageSetupFile* SetupFilePage() const { return m_pSetupFile; }
    CProductPageLinkInfo* LinkInfoPage() const { return m_pLinkInfo; }

    void accept() override;

signals:
    void projectModified();

private:
    CAffProject& m_project;
    QTabWidget* m_pSheet;
    CProductPageGeneralInfo* m_pGeneral;
    CProductPageSetupFile* m_pSetupFile;
    CProductPageLinkInfo* m_pLinkInfo;
};
