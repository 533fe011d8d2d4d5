#pragma once

#include <QWizardPage>

// First page of the New Project wizard: the welcome text, no header.
class CMyPropertyPageWelcom : public QWizardPage {
    Q_OBJECT
public:
    explicit CMyPropertyPageWelcom(QWidget* parent = nullptr);
};
