// selfkit.exe: the self creator an affiliate of a Windows product runs. With
// arguments it builds without a window and reports on the console it was
// started from; without, it shows its dialog.
#include "platform/ExecutablePath.h"
#include "platform/PathText.h"
#include "platform/PrivateFolder.h"
#include "platform/ProgramArguments.h"
#include "platform/TempFile.h"
#include "selfkit/ScriptedBuild.h"
#include "selfkit/SelfKit.h"
#include "selfkit/win32/ParentConsole.h"
#include "selfkit/win32/SelfKitWindow.h"

#include <commctrl.h>
#include <cstdlib>
#include <string>
#include <vector>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The wide command line's words as UTF-8, whatever the system's code page.
    const std::vector<std::string> args = platform::ProgramArguments(__argc, __argv);
    // A new private folder per run, removed when the program ends: nothing
    // of one run is left for the next, and no other user can prepare it.
    const platform::PrivateFolder temp = platform::PrivateFolder::Create(
        platform::TempFolder(), platform::FolderTrust::SharedTemporary);
    CSelfKit kit(platform::OwnExecutablePath(), temp.Path());

    CScriptedArguments parsed = ParseScriptedArguments(args);
    // Affiliates receive the program renamed; its messages use that name.
    if (const std::string self = platform::OwnExecutablePath(); !self.empty())
        parsed.strProgram = std::string(platform::FileNameOf(self));
    if (parsed.mode != ScriptedMode::Dialog) {
        CParentConsole console;
        return RunScriptedCommand(parsed, kit, console.Out(), console.Err());
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    CSelfKitWindow window(instance, kit);
    return window.Run();
}
