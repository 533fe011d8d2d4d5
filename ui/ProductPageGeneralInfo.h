#pragma once

#include <QWidget>

class CAffProject;
struct ProductSettingsForm;
class QLineEdit;

// "General Info": title, version and web site of the product, edited as copies.
class CProductPageGeneralInfo : public QWidget {
    Q_OBJECT
public:
    explicit CProductPageGeneralInfo(QWidget* parent = nullptr);

    void Load(const CAffProject& project);
    // Writes the copies into the project.
    void Store(ProductSettingsForm& form) const;

private:
    QLineEdit* m_pTitle;
    QLineEdit* m_pVersion;
    QLineEdit* m_pWebSite;
};
