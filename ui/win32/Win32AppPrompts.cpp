#include "ui/win32/Win32AppPrompts.h"

#include "platform/win32/WideText.h"
#include "ui/win32/WindowTexts.h"

#include <commdlg.h>
#include <shlobj.h>
#include <vector>

namespace {

using platform::win32::Narrow;
using platform::win32::Widen;

// Long paths fit: the system's limit for a path given with "\\?\".
constexpr size_t kPathUnits = 32768;

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

// "Desc\0*.a;*.b\0...\0\0" as the file dialogs take it.
std::wstring FilterText(const std::vector<FileChoiceFilter>& filters) {
    std::wstring text;
    for (const FileChoiceFilter& filter : filters) {
        text += Widen(filter.description);
        text.push_back(L'\0');
        text += Widen(filter.patterns);
        text.push_back(L'\0');
    }
    text.push_back(L'\0');
    return text;
}

std::wstring WithBackslashes(std::wstring path) {
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

int CALLBACK BrowseCallback(HWND hwnd, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data)
        SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
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

std::string CWin32AppPrompts::RunFileDialog(const FileChoice& request, bool save) {
    const std::wstring filter = FilterText(request.filters);
    const std::wstring caption = Widen(request.caption);
    const std::wstring suffix = Widen(request.defaultSuffix);
    std::wstring initial = WithBackslashes(Widen(request.initialPath));
    std::wstring folder;
    // A proposed path that names a folder opens the dialog there.
    const DWORD attributes = GetFileAttributesW(initial.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        folder = initial;
        initial.clear();
    }
    std::vector<wchar_t> path(kPathUnits, L'\0');
    if (initial.size() < path.size())
        std::copy(initial.begin(), initial.end(), path.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_owner;
    dialog.lpstrFilter = request.filters.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
    dialog.lpstrDefExt = suffix.empty() ? nullptr : suffix.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (save && request.confirmOverwrite)
        dialog.Flags |= OFN_OVERWRITEPROMPT;
    if (!save)
        dialog.Flags |= OFN_FILEMUSTEXIST;
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen)
        return {};
    return Narrow(std::wstring_view(path.data(), wcsnlen(path.data(), path.size())));
}

std::string CWin32AppPrompts::OpenFile(const FileChoice& request) {
    return RunFileDialog(request, false);
}

std::string CWin32AppPrompts::SaveFile(const FileChoice& request) {
    return RunFileDialog(request, true);
}

std::string CWin32AppPrompts::ChooseFolder(const FolderChoice& request) {
    const std::wstring instruction =
        Widen(request.instruction.empty() ? request.caption : request.instruction);
    const std::wstring initial = WithBackslashes(Widen(request.initialFolder));
    BROWSEINFOW info{};
    info.hwndOwner = m_owner;
    info.lpszTitle = instruction.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = initial.empty() ? 0 : reinterpret_cast<LPARAM>(initial.c_str());
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen)
        return {};
    std::vector<wchar_t> path(kPathUnits, L'\0');
    const BOOL ok =
        SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT);
    CoTaskMemFree(chosen);
    if (!ok)
        return {};
    return Narrow(std::wstring_view(path.data(), wcsnlen(path.data(), path.size())));
}
