#pragma once

#include <windows.h>

#include <string>

// The pop-up of the dialogs' context help (the rule and the look:
// app/ContextHelp.h): the help text in a window of its own, which closes on
// the next click, key or loss of activation. At most one is open; a new
// request closes the open one first. The pop-up's window name is its text.
// To be used on the dialogs' thread only.
namespace dialogs {

// Answers a help request (WM_HELP) that reached dialog: the control it names
// (the dialog's child that holds the window the request came from) shows its
// help text at the pointer, or at its centre when F1 asked. Returns the
// pop-up, or nullptr when the request names no control with a text.
HWND AnswerContextHelp(HWND dialog, const HELPINFO& request);

// Shows text (UTF-8) with its top-left corner at screenPoint, kept on the
// monitor's work area, owned by owner's top-level window. Returns the pop-up,
// or nullptr when text is empty or the window could not be made.
HWND ShowContextHelp(HWND owner, const std::string& text, POINT screenPoint);

} // namespace dialogs
