#include "ui/win32/dialogs/FileChoosers.h"

#include "app/FolderCheck.h"
#include "model/FolderPathForm.h"
#include "platform/FolderChain.h"
#include "platform/win32/WideText.h"
#include "ui/win32/Win32AppPrompts.h"

#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>

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

// The largest typed path the chooser takes, in characters.
constexpr int kMaxTypedPath = 259;
constexpr UINT_PTR kChooserSubclassId = 1;

// One run of the folder chooser, reached from its callback and its window.
struct FolderRun {
    std::wstring caption;
    std::wstring folder;  // selected on opening
    HWND edit = nullptr;  // the typed-path field
    std::string accepted; // the path that passed the check
    bool done = false;
};

std::wstring TypedPath(HWND edit) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
    text.resize(std::min<size_t>(wcsnlen(text.c_str(), text.size()), kMaxTypedPath));
    return text;
}

// OK takes the typed path through the desktop program's folder check, whose
// messages stand over the chooser; a refused path keeps the chooser open with
// the field focused. An accepted one closes it as Cancel would, so that the
// chooser does not interpret the text again: the run holds the answer.
LRESULT CALLBACK ChooserProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR data) {
    auto* run = reinterpret_cast<FolderRun*>(data);
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
        const std::string typed = Narrow(TypedPath(run->edit));
        CWin32AppPrompts prompts(hwnd);
        if (typed.empty() || CheckChosenFolder(typed, prompts) != FolderCheckResult::Accepted) {
            SetFocus(run->edit);
            return 0;
        }
        run->accepted = typed;
        run->done = true;
        return DefSubclassProc(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    if (message == WM_COMMAND && reinterpret_cast<HWND>(lParam) == run->edit &&
        HIWORD(wParam) == EN_CHANGE) {
        const LRESULT handled = DefSubclassProc(hwnd, message, wParam, lParam);
        SendMessageW(hwnd, BFFM_ENABLEOK, 0, GetWindowTextLengthW(run->edit) > 0);
        return handled;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, ChooserProc, kChooserSubclassId);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

void OnChooserOpened(HWND hwnd, FolderRun& run) {
    if (!run.caption.empty())
        SetWindowTextW(hwnd, run.caption.c_str());
    run.edit = FindWindowExW(hwnd, nullptr, L"Edit", nullptr);
    if (run.edit) {
        SendMessageW(run.edit, EM_LIMITTEXT, kMaxTypedPath, 0);
        SetWindowSubclass(hwnd, ChooserProc, kChooserSubclassId, reinterpret_cast<DWORD_PTR>(&run));
    }
    if (!run.folder.empty())
        SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(run.folder.c_str()));
    if (run.edit) {
        // A typed folder that does not exist yet still stands in the field.
        if (!run.folder.empty() && !platform::IsExistingFolder(Narrow(run.folder)))
            SetWindowTextW(run.edit, run.folder.substr(0, kMaxTypedPath).c_str());
        PostMessageW(hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(run.edit), TRUE);
    }
}

// A folder chosen in the tree shows in the field when it lies on a drive;
// other places (the desktop, the network) leave the field empty and OK off.
void OnSelectionChanged(HWND hwnd, const FolderRun& run, LPCITEMIDLIST list) {
    if (!run.edit)
        return;
    std::wstring path(kPathBuffer, L'\0');
    if (!list || !SHGetPathFromIDListEx(list, path.data(), kPathBuffer, GPFIDL_DEFAULT))
        path.clear();
    path.resize(wcsnlen(path.c_str(), path.size()));
    const bool drive = BeginsWithFolderRoot(Narrow(path), platform::PathStyle::Windows);
    SetWindowTextW(run.edit, drive ? path.c_str() : L"");
    SendMessageW(hwnd, BFFM_ENABLEOK, 0, drive);
}

int CALLBACK FolderCallback(HWND hwnd, UINT message, LPARAM lParam, LPARAM data) {
    auto* run = reinterpret_cast<FolderRun*>(data);
    if (message == BFFM_INITIALIZED)
        OnChooserOpened(hwnd, *run);
    else if (message == BFFM_SELCHANGED)
        OnSelectionChanged(hwnd, *run, reinterpret_cast<LPCITEMIDLIST>(lParam));
    return 0;
}

// The chooser once; true when it ended with a folder (in chosen).
bool RunFolderChooser(HWND owner, FolderRun& run, const std::wstring& instruction,
                      std::string& chosen) {
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = instruction.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    info.lpfn = FolderCallback;
    info.lParam = reinterpret_cast<LPARAM>(&run);
    PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info);
    if (run.done) {
        chosen = run.accepted;
    } else if (list) {
        std::wstring path(kPathBuffer, L'\0');
        if (SHGetPathFromIDListEx(list, path.data(), kPathBuffer, GPFIDL_DEFAULT)) {
            path.resize(wcsnlen(path.c_str(), kPathBuffer));
            chosen = Narrow(path);
        }
    }
    if (list)
        CoTaskMemFree(list);
    return run.done || !chosen.empty();
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
    const std::wstring instruction =
        Widen(choice.instruction.empty() ? choice.caption : choice.instruction);
    std::wstring start = WithBackslashes(Widen(choice.initialFolder));
    std::string folder;
    for (;;) {
        FolderRun run;
        run.caption = Widen(choice.caption);
        run.folder = start;
        std::string chosen;
        if (!RunFolderChooser(owner, run, instruction, chosen))
            break;
        // A folder the chooser returned by itself (its field out of reach)
        // passes the same check; a refused one opens the chooser again there.
        CWin32AppPrompts prompts(owner);
        if (run.done || CheckChosenFolder(chosen, prompts) == FolderCheckResult::Accepted) {
            folder = chosen;
            break;
        }
        start = Widen(chosen);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return folder;
}

} // namespace dialogs
