#include "platform/ExecutablePath.h"
#include "platform/PathText.h"
#include "platform/PrivateFolder.h"
#include "platform/TempFile.h"
#include "selfkit/DialogEntry.h"
#include "selfkit/ScriptedBuild.h"

#include <iostream>
#include <string>
#include <vector>

// Options build without a window; without options the dialog opens.
int main(int argc, char* argv[]) {
    CScriptedArguments parsed =
        ParseScriptedArguments(std::vector<std::string>(argv + 1, argv + argc));
    const std::string self = platform::OwnExecutablePath();
    // Affiliates receive the program renamed; its messages use that name.
    if (!self.empty())
        parsed.strProgram = std::string(platform::FileNameOf(self));
    // A new private folder per run, removed when the program ends: nothing
    // of one run is left for the next, and no other user can prepare it.
    const platform::PrivateFolder temp = platform::PrivateFolder::Create(
        platform::TempFolder(), platform::FolderTrust::SharedTemporary);
    CSelfKit kit(platform::OwnExecutablePath(), temp.Path());
    if (parsed.mode != ScriptedMode::Dialog)
        return RunScriptedCommand(parsed, kit, std::cout, std::cerr);
    return RunSelfKitDialog(kit);
}
