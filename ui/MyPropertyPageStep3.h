#pragma once

#include "model/PurchaseLink.h"

#include <QWizardPage>

class QComboBox;
class QLineEdit;

// "Registration Service": the primary service, the product's ID there and its
// purchase link, composed while typing. Next needs ID and link non-empty.
class CMyPropertyPageStep3 : public QWizardPage {
    Q_OBJECT
public:
    explicit CMyPropertyPageStep3(QWidget* parent = nullptr);

    int ServiceIndex() const; // 0..3, the position in the service list
    QString ProductId() const;
    QString PurchaseLink() const;

    bool isComplete() const override;

private:
    void OnProductIdEdited();
    void OnServiceChanged();
    void Compose(ComposeMode mode);

    QComboBox* m_pService;
    QLineEdit* m_pProductId;
    QLineEdit* m_pPurchaseLink;
};
