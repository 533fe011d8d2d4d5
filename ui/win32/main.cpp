// velkora.exe: the vendor's desktop program for Windows. The window draws
// the desktop program's core (app/); settings live in the current user's
// registry.
#include "app/RecentFiles.h"
#include "app/UserSettingsStore.h"
#include "platform/ProgramArguments.h"
#include "ui/win32/MainWindow.h"

#include <commctrl.h>
#include <objbase.h>
#include <string>
#include <vector>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    // The wide command line's words as UTF-8, whatever the system's code page.
    const std::vector<std::string> args = platform::ProgramArguments(__argc, __argv);
    // The folder browser and the shell's openers need COM on this thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES |
                                                       ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    UserSettingsStore settings;
    RecentFiles recentFiles(settings);
    recentFiles.Load();
    int exitCode = 1;
    {
        CMainWindow window(instance, recentFiles);
        if (window.Create(show)) {
            window.Start(args);
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                if (window.TranslateKeys(msg))
                    continue;
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            exitCode = static_cast<int>(msg.wParam);
        }
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return exitCode;
}
