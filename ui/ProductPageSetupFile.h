#pragma once

#include "ui/UserPrompts.h"

#include <QWidget>

class CAffProject;
struct ProductSettingsForm;
class QLineEdit;

// "Setup Files": the product's setup file, the default output folder and the
// self-managed creator's path, each with a chooser that stores paths relative
// to the project's folder where possible.
class CProductPageSetupFile : public QWidget {
    Q_OBJECT
public:
    CProductPageSetupFile(const CAffProject& project, IUserPrompts& prompts,
                          QWidget* parent = nullptr);

    void Load(const CAffProject& project);
    void Store(ProductSettingsForm& form) const;

private:
    void OnBrowseSetupFile();
    void OnBrowseOutputDir();
    void OnBrowseSelfCreator();
    QString ProjectRelative(const QString& path) const;

    const CAffProject& m_project;
    IUserPrompts& m_prompts;
    QLineEdit* m_pSetupFile;
    QLineEdit* m_pOutputDir;
    QLineEdit* m_pSelfCreator;
};
