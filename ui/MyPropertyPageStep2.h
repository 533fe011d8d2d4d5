#pragma once

#include "ui/UserPrompts.h"

#include <QWizardPage>

class QLineEdit;

// "Setup Files": the product's setup file, the output folder for affiliate
// setups and the path of the self-managed creator, each with a chooser.
// Next needs the first two non-empty; nothing here touches the disk.
class CMyPropertyPageStep2 : public QWizardPage {
    Q_OBJECT
public:
    explicit CMyPropertyPageStep2(QWidget* parent = nullptr, IUserPrompts* prompts = nullptr);

    QString SetupFile() const;
    QString OutputDir() const;
    QString SelfCreatorPath() const;

    bool isComplete() const override;

private:
    void OnBrowseSetupFile();
    void OnBrowseOutputDir();
    void OnBrowseSelfCreator();

    IUserPrompts& m_prompts;
    QLineEdit* m_pSetupFile;
    QLineEdit* m_pOutputDir;
    QLineEdit* m_pSelfCreator;
};
