#pragma once

#include "app/AppPrompts.h"
#include "app/DocumentDialogs.h"
#include "model/PurchaseLink.h"

// The five pages of the New Project wizard, in their order.
enum class WizardPage { Welcome, Product, SetupFiles, Registration, Finish };
constexpr int kWizardPageCount = 5;

// Which of the wizard's buttons a page enables; Cancel is always there.
struct WizardButtons {
    bool back = false;
    bool next = false;
    bool finish = false;
};

// The buttons of page for the answers typed so far: Next only when the page's
// required answers are given (WizardStepComplete).
WizardButtons WizardButtonsFor(WizardPage page, const NewProjectAnswers& answers);

// The registration page's link after its product ID changed (keep mode) or its
// service changed (reset mode). True when the link was recomposed.
bool ComposeWizardLink(NewProjectAnswers& answers, ComposeMode mode);

// The choosers of the setup-files page. The output folder opens on the typed
// folder, or on the current folder when none is typed yet.
FileChoice WizardSetupFileChoice();
FolderChoice WizardOutputFolderChoice(const std::string& typed);
