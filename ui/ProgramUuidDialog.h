#pragma once

#include <QDialog>

#include <string>

class IUserPrompts;
class QLineEdit;
class QPushButton;

// Shows the program UUID, copies it to the clipboard and lets the vendor
// replace it. The text's form is not checked.
class CProgramUuidDialog : public QDialog {
    Q_OBJECT
public:
    CProgramUuidDialog(const std::string& uuid, IUserPrompts& prompts, QWidget* parent = nullptr);

    // The edit text as bytes (after Apply).
    std::string Text() const;

    QLineEdit* Edit() const { return m_edit; }
    QPushButton* CopyButton() const { return m_copy; }
    QPushButton* ApplyButton() const { return m_apply; }
    QPushButton* CancelButton() const { return m_cancel; }

private:
    void OnCopy();

    IUserPrompts& m_prompts;
    QLineEdit* m_edit;
    QPushButton* m_copy;
    QPushButton* m_apply;
    QPushButton* m_cancel;
};

// Runs the dialog for uuid; on Apply with a text that differs byte for byte,
// stores it in uuid and returns true (the caller marks the project modified).
bool EditProgramUuid(std::string& uuid, IUserPrompts& prompts, QWidget* parent);
