#include "app/WizardPages.h"

#include "app/AppTexts.h"
#include "app/FileChoices.h"
#include "app/WizardSteps.h"
#include "platform/HostPath.h"

WizardButtons WizardButtonsFor(WizardPage page, const NewProjectAnswers& answers) {
    switch (page) {
    case WizardPage::Welcome:
        return {false, true, false};
    case WizardPage::Product:
        return {true, WizardStepComplete(WizardStep::Product, answers), false};
    case WizardPage::SetupFiles:
        return {true, WizardStepComplete(WizardStep::SetupFiles, answers), false};
    case WizardPage::Registration:
        return {true, WizardStepComplete(WizardStep::Registration, answers), false};
    case WizardPage::Finish:
        return {true, false, true};
    }
    return {};
}

bool ComposeWizardLink(NewProjectAnswers& answers, ComposeMode mode) {
    return ComposeProductLink(answers.service, answers.purchaseLink, answers.productId, mode);
}

FileChoice WizardSetupFileChoice() {
    FileChoice choice;
    choice.filters = SetupFileChoices();
    return choice;
}

FolderChoice WizardOutputFolderChoice(const std::string& typed) {
    return {std::string(apptext::kFolderBrowserCaption),
            std::string(apptext::kFolderBrowserInstruction),
            typed.empty() ? platform::CurrentDirectory() : typed};
}
