#pragma once

#include "app/DocumentDialogs.h"

// The pages of the New Project wizard that take answers, in their order.
enum class WizardStep {
    Product,     // title, version, web site
    SetupFiles,  // setup file, output folder
    Registration // product ID and purchase link at the chosen service
};

// Whether the page's required answers are given, so that Next may be pressed.
// The self creator's path is optional.
bool WizardStepComplete(WizardStep step, const NewProjectAnswers& answers);
