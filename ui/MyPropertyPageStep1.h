#pragma once

#include <QWizardPage>

class QLineEdit;

// "Product information": product name, version and web site. Next needs all
// three non-empty (blanks count as text).
class CMyPropertyPageStep1 : public QWizardPage {
    Q_OBJECT
public:
    explicit CMyPropertyPageStep1(QWidget* parent = nullptr);

    QString ProductName() const;
    QString Version() const;
    QString WebSite() const;

    bool isComplete() const override;

private:
    QLineEdit* m_pName;
    QLineEdit* m_pVersion;
    QLineEdit* m_pWebSite;
};
