#include "ui/QtAppPrompts.h"

#include "ui/ProjectText.h"
#include "ui/StringTable.h"
#include "ui/UserPrompts.h"

#include <QMessageBox>

namespace {

FileRequest ToRequest(const FileChoice& choice) {
    FileRequest request;
    request.caption = FromProjectText(choice.caption);
    request.initialPath = FromProjectText(choice.initialPath);
    request.filters = FromFileChoices(choice.filters);
    request.defaultSuffix = FromProjectText(choice.defaultSuffix);
    request.confirmOverwrite = choice.confirmOverwrite;
    return request;
}

} // namespace

void CQtAppPrompts::Message(const std::string& text, PromptIcon icon, const std::string& caption) {
    m_prompts.Message(m_parent(), FromProjectText(text), icon, FromProjectText(caption));
}

bool CQtAppPrompts::Question(const std::string& text, PromptIcon icon, const std::string& caption) {
    return m_prompts.Question(m_parent(), FromProjectText(text), icon, FromProjectText(caption));
}

SaveAnswer CQtAppPrompts::AskSaveChanges(const std::string& text) {
    const QString shown = FromProjectText(text);
    return m_askSaveChanges ? m_askSaveChanges(m_parent(), shown)
                            : AskWithMessageBox(m_parent(), shown);
}

std::string CQtAppPrompts::OpenFile(const FileChoice& request) {
    return ToProjectText(m_prompts.OpenFile(m_parent(), ToRequest(request)));
}

std::string CQtAppPrompts::SaveFile(const FileChoice& request) {
    return ToProjectText(m_prompts.SaveFile(m_parent(), ToRequest(request)));
}

std::string CQtAppPrompts::ChooseFolder(const FolderChoice& request) {
    FolderRequest folder;
    folder.caption = FromProjectText(request.caption);
    folder.instruction = FromProjectText(request.instruction);
    folder.initialFolder = FromProjectText(request.initialFolder);
    return ToProjectText(m_prompts.ChooseFolder(m_parent(), folder));
}

SaveAnswer CQtAppPrompts::AskWithMessageBox(QWidget* parent, const QString& text) {
    const auto answer = QMessageBox::question(
        parent, AppText(apptext::kMessageCaption), text,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        return SaveAnswer::Yes;
    return answer == QMessageBox::No ? SaveAnswer::No : SaveAnswer::Cancel;
}
