#include "platform/ExecutablePath.h"
#include "platform/UserTempFolder.h"
#include "selfkit/DialogEntry.h"
#include "selfkit/ScriptedBuild.h"

#include <iostream>
#include <string>
#include <vector>

// Options build without a window; without options the dialog opens.
int main(int argc, char* argv[]) {
    const CScriptedArguments parsed =
        ParseScriptedArguments(std::vector<std::string>(argv + 1, argv + argc));
    CSelfKit kit(platform::OwnExecutablePath(), platform::UserTempFolder());
    if (parsed.mode != ScriptedMode::Dialog)
        return RunScriptedCommand(parsed, kit, std::cout, std::cerr);
    return RunSelfKitDialog(kit);
}
