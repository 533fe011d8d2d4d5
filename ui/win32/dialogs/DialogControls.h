#pragma once

#include "app/AppPrompts.h"

#include <windows.h>

#include <string>
#include <vector>

// The dialogs' reading and writing of controls, with the program's UTF-8 texts
// converted to the system's wide texts here and nowhere else in the dialogs.
namespace dialogs {

std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string& text);
// A composed link is read from its start (the service's address).
void ShowTextFromStart(HWND dialog, int id, const std::string& text);

// A combo box's entries in the given order, with selected chosen (-1: none).
void FillCombo(HWND dialog, int id, const std::vector<std::string>& names, int selected);
int ComboSelection(HWND dialog, int id);
// The registration services' names, in the service table's order.
void FillServiceCombo(HWND dialog, int id, int selected);

// Message boxes owned by owner, asked as the desktop program's prompts ask.
void ShowMessage(HWND owner, const std::string& text, PromptIcon icon = PromptIcon::Warning);
bool AskYesNo(HWND owner, const std::string& text);

// The dialog templates of these dialogs live in the program's own image.
HINSTANCE ResourceModule();

} // namespace dialogs
