#include "app/WizardSteps.h"

bool WizardStepComplete(WizardStep step, const NewProjectAnswers& a) {
    switch (step) {
    case WizardStep::Product:
        return !a.title.empty() && !a.version.empty() && !a.webSite.empty();
    case WizardStep::SetupFiles:
        return !a.setupFile.empty() && !a.outputDir.empty();
    case WizardStep::Registration:
        return !a.productId.empty() && !a.purchaseLink.empty();
    }
    return false;
}
