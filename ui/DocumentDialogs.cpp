#include "ui/DocumentDialogs.h"

#include "model/AffProject.h"

bool RunNewProjectWizard(CAffProject&, IUserPrompts&, QWidget*, std::time_t) { return false; }

bool RunProductSettings(CAffProject&, IUserPrompts&, QWidget*) { return false; }
