#pragma once

#include "platform/Clock.h"
#include "ui/UserPrompts.h"

#include <QDialog>
#include <QEvent>
#include <QPointer>

#include <cstdint>
#include <utility>

class CAffProject;
struct AffiliateFields;
class CReseller;
class QComboBox;
class QLineEdit;
class QPushButton;

// Posted (queued) to the owner of the affiliate dialog after an affiliate was
// changed by it: the owner redraws that affiliate's row and marks the project
// modified. Type number 3025.
class CAffiliateChangedEvent : public QEvent {
public:
    static constexpr QEvent::Type kType = static_cast<QEvent::Type>(3025);
    CAffiliateChangedEvent(uint32_t id, CReseller* affiliate)
        : QEvent(kType), m_nId(id), m_pAffiliate(affiliate) {}
    uint32_t Id() const { return m_nId; }                 // the affiliate's m_nId
    CReseller* Affiliate() const { return m_pAffiliate; } // borrowed

private:
    uint32_t m_nId;
    CReseller* m_pAffiliate;
};

// "Affiliate Property": creates (modal) or edits (modeless) one affiliate.
//
// New:  CAffiliateDialog dlg(parent); dlg.SetProject(&project);
//       if (dlg.exec() == QDialog::Accepted) { CReseller r; dlg.StoreInto(r); ... }
// Edit: one instance owned by the affiliate list (its parent, also the owner
//       that receives CAffiliateChangedEvent); ShowForEdit(&affiliate) when
//       exactly one row is selected, Reload(&affiliate) after a click,
//       hide() otherwise. On OK the dialog updates the affiliate itself and
//       hides.
class CAffiliateDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAffiliateDialog(QWidget* parent = nullptr, IUserPrompts* prompts = nullptr);

    // Borrowed; the service list is refilled and the default service selected.
    void SetProject(CAffProject* project);
    // Where the affiliate-changed notification goes; the parent by default.
    void SetOwner(QObject* owner) { m_owner = owner; }
    // "Now" for the change stamp of an edited affiliate: the document's clock.
    void SetClock(platform::Clock clock) { m_clock = std::move(clock); }

    // Copies the seven fields of affiliate into the controls and remembers it
    // as the one being edited. OK state and visibility are left alone.
    void LoadAffiliate(CReseller* affiliate);
    // LoadAffiliate, OK disabled, window shown (restored when minimised).
    void ShowForEdit(CReseller* affiliate);
    // After a click in the list: reloads a visible or hidden dialog in place.
    void Reload(CReseller* affiliate) { LoadAffiliate(affiliate); }
    // The affiliate being edited, or nullptr (new affiliate).
    CReseller* Affiliate() const { return m_pAffiliate; }

    // Copies the accepted fields into record (m_nId, m_bChanged and m_tModified
    // are left to the caller).
    void StoreInto(CReseller& record) const;

    void accept() override;

signals:
    // A registration record was added to the project through the product ID
    // dialog. The project has changed even if this dialog is then cancelled,
    // so the owner marks it modified.
    void registrationInfoAdded(uint16_t service);

private:
    QLineEdit* AddEdit(const char* id);
    void ShowComposedLink(const QString& link);
    void FillServices();
    void OnAnyChange();
    void OnNameChanged();
    void OnAffiliateIdChanged();
    void OnServiceChanged();
    void OnBrowse();
    AffiliateFields Fields() const;
    int ServiceIndex() const;

    IUserPrompts& m_prompts;
    CAffProject* m_pProject = nullptr;
    CReseller* m_pAffiliate = nullptr;
    QPointer<QObject> m_owner;
    platform::Clock m_clock = platform::SystemNow;
    int m_nLoading = 0;

    QLineEdit* m_pName;
    QComboBox* m_pService;
    QLineEdit* m_pAffiliateId;
    QLineEdit* m_pPurchaseLink;
    QLineEdit* m_pWebSite;
    QLineEdit* m_pEmail;
    QLineEdit* m_pSetupPath;
    QPushButton* m_pOk;
};
