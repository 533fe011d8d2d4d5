#pragma once

#include "app/AppPrompts.h"

#include <QList>
#include <QString>

class QWidget;

// One file type of a file dialog: "Zip Files (*.zip)" with patterns "*.zip;*.z".
struct FileFilter {
    QString description;
    QString patterns; // ";"-separated
};

struct FileRequest {
    QString caption;     // empty: the chooser's own title
    QString initialPath; // proposed file (folder and name), may be empty
    QList<FileFilter> filters;
    QString defaultSuffix;         // without the dot; appended when the name has none
    bool confirmOverwrite = false; // save dialogs only
};

struct FolderRequest {
    QString caption;
    QString instruction;
    QString initialFolder; // empty: the current folder
};

// Every message box, question, file dialog and folder dialog of the editing
// dialogs goes through this interface, so that tests can answer them and read
// what was shown. Answers: Question gives true for Yes; the choosers give the
// chosen path, or an empty string when cancelled. An empty caption gives the
// application's name.
class IUserPrompts {
public:
    virtual ~IUserPrompts() = default;
    virtual void Message(QWidget* parent, const QString& text,
                         PromptIcon icon = PromptIcon::Warning, const QString& caption = {}) = 0;
    virtual bool Question(QWidget* parent, const QString& text,
                          PromptIcon icon = PromptIcon::Question, const QString& caption = {}) = 0;
    virtual QString OpenFile(QWidget* parent, const FileRequest& request) = 0;
    virtual QString SaveFile(QWidget* parent, const FileRequest& request) = 0;
    // The folder browser with its typed-path field and validation.
    virtual QString ChooseFolder(QWidget* parent, const FolderRequest& request) = 0;
};

// The real prompts: Qt message boxes and file dialogs, and the folder browser.
class QtUserPrompts : public IUserPrompts {
public:
    void Message(QWidget* parent, const QString& text, PromptIcon icon,
                 const QString& caption) override;
    bool Question(QWidget* parent, const QString& text, PromptIcon icon,
                  const QString& caption) override;
    QString OpenFile(QWidget* parent, const FileRequest& request) override;
    QString SaveFile(QWidget* parent, const FileRequest& request) override;
    QString ChooseFolder(QWidget* parent, const FolderRequest& request) override;
};

// The process-wide real prompts, used by dialogs that were given none.
IUserPrompts& DefaultUserPrompts();

// The core's file types (app/FileChoices.h) as the choosers take them.
QList<FileFilter> FromFileChoices(const std::vector<FileChoiceFilter>& choices);

// Parses a filter text of the form "Desc|pat;pat|Desc|pat||".
QList<FileFilter> ParseFilterText(const QString& text);
