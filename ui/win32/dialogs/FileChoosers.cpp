#include "ui/win32/dialogs/FileChoosers.h"

#include "platform/win32/WideText.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

using platform::win32::Narrow;
using platform::win32::Widen;

namespace dialogs {

namespace {

// Long paths fit; the chooser reports a longer one as a failure.
constexpr DWORD kPathBuffer = 32768;

// "Desc\0pat;pat\0...\0\0", as the choosers take their types.
std::wstring FilterText(const FileChoice& choice) {
    std::wstring text;
    for (const FileChoiceFilter& f : choice.filters) {
        text += Widen(f.description);
        text.push_back(L'\0');
        text += Widen(f.patterns);
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

std::string RunChooser(HWND owner, const FileChoice& choice, bool save) {
    const std::wstring filter = FilterText(choice);
    const std::wstring caption = Widen(choice.caption);
    const std::wstring suffix = Widen(choice.defaultSuffix);
    std::wstring initial = WithBackslashes(Widen(choice.initialPath));
    std::wstring folder;
    // A proposed path that names a folder opens the chooser there.
    const DWORD attributes = GetFileAttributesW(initial.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        folder = initial;
        initial.clear();
    }
    std::wstring file(kPathBuffer, L'\0');
    if (initial.size() < file.size())
        std::copy(initial.begin(), initial.end(), file.begin());

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = choice.filters.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = kPathBuffer;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
    ofn.lpstrDefExt = suffix.empty() ? nullptr : suffix.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (save && choice.confirmOverwrite)
        ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (!save)
        ofn.Flags |= OFN_FILEMUSTEXIST;
    const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!chosen)
        return {};
    file.resize(wcsnlen(file.c_str(), kPathBuffer));
    return Narrow(file);
}

struct FolderStart {
    std::wstring caption;
    std::wstring folder;
};

int CALLBACK FolderCallback(HWND hwnd, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) {
        const auto* start = reinterpret_cast<const FolderStart*>(data);
        if (!start->caption.empty())
            SetWindowTextW(hwnd, start->caption.c_str());
        if (!start->folder.empty())
            SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE,
                         reinterpret_cast<LPARAM>(start->folder.c_str()));
    }
    return 0;
}

} // namespace

std::string ChooseFileToOpen(HWND owner, const FileChoice& choice) {
    return RunChooser(owner, choice, false);
}

std::string ChooseFileToSave(HWND owner, const FileChoice& choice) {
    return RunChooser(owner, choice, true);
}

std::string ChooseFolder(HWND owner, const FolderChoice& choice) {
    // The chooser's typed-path field needs the component model on this thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    FolderStart start{Widen(choice.caption), WithBackslashes(Widen(choice.initialFolder))};
    const std::wstring instruction =
        Widen(choice.instruction.empty() ? choice.caption : choice.instruction);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = instruction.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    info.lpfn = FolderCallback;
    info.lParam = reinterpret_cast<LPARAM>(&start);
    std::string folder;
    if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info)) {
        std::wstring path(kPathBuffer, L'\0');
        if (SHGetPathFromIDListEx(list, path.data(), kPathBuffer, GPFIDL_DEFAULT)) {
            path.resize(wcsnlen(path.c_str(), kPathBuffer));
            folder = Narrow(path);
        }
        CoTaskMemFree(list);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return folder;
}

} // namespace dialogs
