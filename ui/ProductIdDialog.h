#pragma once

#include "ui/UserPrompts.h"

#include <QDialog>
#include <QStringList>

class CProductIdForm;
class QComboBox;
class QLineEdit;

// "New Product ID": asks for the product's identifier and purchase link at one
// registration service that has none yet. It only collects the values; the
// caller creates the record or row.
//
//   CProductIdDialog dlg(parent, prompts);
//   dlg.SetServices({"ShareIt", "RegSoft"}, 0);
//   if (dlg.exec() == QDialog::Accepted) use dlg.ServiceName(), ProductId(), PurchaseLink()
class CProductIdDialog : public QDialog {
    Q_OBJECT
public:
    explicit CProductIdDialog(QWidget* parent = nullptr, IUserPrompts* prompts = nullptr);

    // The offered service names, kept in the given order, and the position
    // selected at first (-1: none).
    void SetServices(const QStringList& names, int selected);

    QString ServiceName() const { return m_strServiceName; }
    QString ProductId() const;
    QString PurchaseLink() const;
    int SelectedPosition() const;
    // The dialog's fields as the core's form (its rules).
    CProductIdForm Form() const;

    void accept() override;

private:
    void OnProductIdChanged();
    void OnServiceChanged();
    void ShowComposedLink(const QString& link);

    IUserPrompts& m_prompts;
    QComboBox* m_pService;
    QLineEdit* m_pProductId;
    QLineEdit* m_pPurchaseLink;
    QString m_strServiceName;
    bool m_bFilling = false;
};
