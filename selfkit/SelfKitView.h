#pragma once

#include <optional>
#include <string>

// The icon a message box of the self creator carries.
enum class MessageKind {
    Information, // the build succeeded
    Warning,     // a refusal, a failure, a corrupted self creator
};

// What a dialog of the self creator (one per platform) offers the road of a
// build, so that the road is written once and tests can answer without a
// window. Texts are 8-bit in the system's code page.
class ISelfKitView {
public:
    virtual ~ISelfKitView() = default;

    // A message box with an OK button, owned by the main dialog.
    virtual void ShowMessage(MessageKind kind, const std::string& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // Shows the "Building" dialog at " 0 %", owned by the main dialog (so it
    // stays above it), and disables the main dialog.
    virtual void BeginProgress() = 0;
    // Moves the progress to position (2..10 of 10) and lets the window
    // breathe; false once Cancel was pressed in the "Building" dialog.
    virtual bool StepProgress(int position) = 0;
    // Closes the "Building" dialog and enables the main dialog again.
    virtual void EndProgress() = 0;
    // Starts the written package without waiting; false when it did not start.
    virtual bool StartPackage(const std::string& path) = 0;
};
