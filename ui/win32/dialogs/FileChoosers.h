#pragma once

#include "app/AppPrompts.h"

#include <windows.h>

#include <string>

namespace dialogs {

// The system's file choosers for a request of the core; the chosen path, or
// empty when cancelled.
std::string ChooseFileToOpen(HWND owner, const FileChoice& choice);
std::string ChooseFileToSave(HWND owner, const FileChoice& choice);
// The system's folder chooser with a typed-path field, opened on the request's
// folder under the request's caption.
std::string ChooseFolder(HWND owner, const FolderChoice& choice);

} // namespace dialogs
