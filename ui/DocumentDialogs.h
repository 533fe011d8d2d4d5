#pragma once

#include "app/DocumentDialogs.h"

#include <functional>

class IUserPrompts;
class QWidget;

// The document's dialogs as the Qt program shows them: the New Project
// wizard, the affiliate dialog for a new affiliate, Product Settings and
// Program Unique ID, each centred on the window of the moment.
class CQtDocumentDialogs : public IDocumentDialogs {
public:
    CQtDocumentDialogs(IUserPrompts& prompts, std::function<QWidget*()> parent)
        : m_prompts(prompts), m_parent(std::move(parent)) {}

    bool RunNewProjectWizard(NewProjectAnswers& answers) override;
    bool EditNewAffiliate(CAffProject& project, CReseller& affiliate) override;
    bool EditProductSettings(CAffProject& project) override;
    bool EditProgramUuid(std::string& uuid) override;

private:
    IUserPrompts& m_prompts;
    std::function<QWidget*()> m_parent;
};
