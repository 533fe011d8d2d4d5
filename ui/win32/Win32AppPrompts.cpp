#include "ui/win32/Win32AppPrompts.h"

#include "platform/win32/WideText.h"
#include "ui/win32/WindowTexts.h"
#include "ui/win32/dialogs/FileChoosers.h"

namespace {

using platform::win32::Widen;

UINT IconStyle(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Information:
        return MB_ICONINFORMATION;
    case PromptIcon::Question:
        return MB_ICONQUESTION;
    case PromptIcon::Error:
        return MB_ICONERROR;
    case PromptIcon::Warning:
        break;
    }
    return MB_ICONWARNING;
}

} // namespace

int CWin32AppPrompts::Box(const std::string& text, const std::string& caption, UINT type) {
    const std::wstring title =
        Widen(caption.empty() ? std::string(apptext::kMessageCaption) : caption);
    return MessageBoxW(m_owner, Widen(text).c_str(), title.c_str(), type);
}

void CWin32AppPrompts::Message(const std::string& text, PromptIcon icon,
                               const std::string& caption) {
    Box(text, caption, MB_OK | IconStyle(icon));
}

bool CWin32AppPrompts::Question(const std::string& text, PromptIcon icon,
                                const std::string& caption) {
    return Box(text, caption, MB_YESNO | IconStyle(icon)) == IDYES;
}

SaveAnswer CWin32AppPrompts::AskSaveChanges(const std::string& text) {
    switch (Box(text, {}, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDYES:
        return SaveAnswer::Yes;
    case IDNO:
        return SaveAnswer::No;
    default:
        return SaveAnswer::Cancel;
    }
}

std::string CWin32AppPrompts::OpenFile(const FileChoice& request) {
    return dialogs::ChooseFileToOpen(m_owner, request);
}

std::string CWin32AppPrompts::SaveFile(const FileChoice& request) {
    return dialogs::ChooseFileToSave(m_owner, request);
}

std::string CWin32AppPrompts::ChooseFolder(const FolderChoice& request) {
    return dialogs::ChooseFolder(m_owner, request);
}
