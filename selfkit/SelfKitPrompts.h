#pragma once

#include <QString>

#include <optional>
#include <string>

class QWidget;

// Everything the self creator's dialogs ask of the user or hand to the desktop,
// behind one seam so that tests can answer without a modal box.
class ISelfKitPrompts {
public:
    virtual ~ISelfKitPrompts() = default;

    // A plain message box with an OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
    // A warning box with an OK button.
    virtual void ShowWarning(QWidget* parent, const QString& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;
    // The save-file chooser preset to preset; nothing when cancelled.
    virtual std::optional<QString> ChooseSavePath(QWidget* parent, const QString& preset) = 0;
    // Starts the written package without waiting; false when it did not start.
    virtual bool StartPackage(const std::string& path) = 0;
};

// The real boxes, chooser and program start.
class CDesktopPrompts : public ISelfKitPrompts {
public:
    void ShowMessage(QWidget* parent, const QString& text) override;
    void ShowWarning(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
    std::optional<QString> ChooseSavePath(QWidget* parent, const QString& preset) override;
    bool StartPackage(const std::string& path) override;
};
