#pragma once

#include <string>
#include <vector>

// Icon of a message box or question.
enum class PromptIcon { Information, Warning, Question, Error };

// The answer to "Save changes to ...?".
enum class SaveAnswer { Yes, No, Cancel };

// One file type of a file chooser: "Zip Files (*.zip)" with patterns "*.zip;*.z".
struct FileChoiceFilter {
    std::string description;
    std::string patterns; // ";"-separated
};

struct FileChoice {
    std::string caption;     // empty: the chooser's own title
    std::string initialPath; // proposed file (folder and name), may be empty
    std::vector<FileChoiceFilter> filters;
    std::string defaultSuffix;     // without the dot; appended when the name has none
    bool confirmOverwrite = false; // save choosers only
};

struct FolderChoice {
    std::string caption;
    std::string instruction;
    std::string initialFolder; // empty: the current folder
};

// Every question the desktop program asks a person: message boxes, the save
// question and the file and folder choosers. The core asks through this
// interface and never waits on a toolkit; each front end answers with its own
// dialogs, tests with a fake. Texts are UTF-8. Question gives true for Yes; the
// choosers give the chosen path, or an empty string when cancelled. An empty
// caption gives the application's name.
class IAppPrompts {
public:
    virtual ~IAppPrompts() = default;
    virtual void Message(const std::string& text, PromptIcon icon = PromptIcon::Warning,
                         const std::string& caption = {}) = 0;
    virtual bool Question(const std::string& text, PromptIcon icon = PromptIcon::Question,
                          const std::string& caption = {}) = 0;
    // Yes, No and Cancel, Yes preselected.
    virtual SaveAnswer AskSaveChanges(const std::string& text) = 0;
    virtual std::string OpenFile(const FileChoice& request) = 0;
    virtual std::string SaveFile(const FileChoice& request) = 0;
    virtual std::string ChooseFolder(const FolderChoice& request) = 0;
};

// Parses a filter text of the form "Desc|pat;pat|Desc|pat||".
std::vector<FileChoiceFilter> ParseFilterChoices(const std::string& text);
