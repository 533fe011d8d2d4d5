#pragma once

#include "ui/UserPrompts.h"

#include <QWidget>

#include <cstdint>

class CAffProject;
struct ProductSettingsForm;
class CRegInfoList;

// "Registration Info": the product's identifiers and purchase links at the
// registration services, edited in a list and committed on OK only.
class CProductPageLinkInfo : public QWidget {
    Q_OBJECT
public:
    CProductPageLinkInfo(const CAffProject& project, IUserPrompts& prompts,
                         QWidget* parent = nullptr);

    CRegInfoList* List() const { return m_pList; }
    bool WasShown() const { return m_bShown; }
    uint16_t DefaultService() const { return m_wDefaultService; }

    // The page's rows, whether it was shown and the default service, for
    // the form's Store (a page never shown leaves the records alone).
    void Store(ProductSettingsForm& form) const;

    void OnAdd();
    void OnDelete();

protected:
    void showEvent(QShowEvent* e) override;

private:
    const CAffProject& m_project;
    IUserPrompts& m_prompts;
    CRegInfoList* m_pList;
    uint16_t m_wDefaultService;
    bool m_bShown = false;
};
