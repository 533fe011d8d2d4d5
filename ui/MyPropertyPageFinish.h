#pragma once

#include <QWizardPage>

// Last page of the New Project wizard: Back and Finish, no header.
class CMyPropertyPageFinish : public QWizardPage {
    Q_OBJECT
public:
    explicit CMyPropertyPageFinish(QWidget* parent = nullptr);
};
