#pragma once

#include <ctime>

class CAffProject;
class IUserPrompts;
class QWidget;

// The New Project wizard for an empty project. On Finish the project gets a
// new program UUID, the wizard's product texts and folders, and one
// registration-info record that becomes the default service; returns true.
// Cancel leaves the project as it is and returns false.
bool RunNewProjectWizard(CAffProject& project, IUserPrompts& prompts, QWidget* parent,
                         std::time_t now);

// The Product Settings dialog; on OK its values are stored in the project and
// true is returned. Cancel changes nothing.
bool RunProductSettings(CAffProject& project, IUserPrompts& prompts, QWidget* parent);
