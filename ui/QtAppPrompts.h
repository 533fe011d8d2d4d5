#pragma once

#include "app/AppPrompts.h"

#include <functional>

class IUserPrompts;
class QString;
class QWidget;

// The core's questions answered by the window's prompts: texts converted at
// this edge, every box centred on the window of the moment.
class CQtAppPrompts : public IAppPrompts {
public:
    using SaveQuestion = std::function<SaveAnswer(QWidget* parent, const QString& text)>;

    // parent gives the window of the moment (it may change); askSaveChanges is
    // read at each question, so that tests may replace it later.
    CQtAppPrompts(IUserPrompts& prompts, std::function<QWidget*()> parent,
                  const SaveQuestion& askSaveChanges)
        : m_prompts(prompts), m_parent(std::move(parent)), m_askSaveChanges(askSaveChanges) {}

    void Message(const std::string& text, PromptIcon icon, const std::string& caption) override;
    bool Question(const std::string& text, PromptIcon icon, const std::string& caption) override;
    SaveAnswer AskSaveChanges(const std::string& text) override;
    std::string OpenFile(const FileChoice& request) override;
    std::string SaveFile(const FileChoice& request) override;
    std::string ChooseFolder(const FolderChoice& request) override;

    // Yes, No and Cancel in a message box.
    static SaveAnswer AskWithMessageBox(QWidget* parent, const QString& text);

private:
    IUserPrompts& m_prompts;
    std::function<QWidget*()> m_parent;
    const SaveQuestion& m_askSaveChanges;
};
