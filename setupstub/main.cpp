// The launcher at the front of every affiliate's custom setup. It shows and
// prints nothing: it unpacks its own package into the user's private
// temporary folder, stores the affiliate's link and starts the vendor's setup
// with its own arguments.
#include "package/SfxResult.h"
#include "platform/ExecutablePath.h"
#include "platform/MachineStore.h"
#include "platform/UserTempFolder.h"
#include "setupstub/SetupLauncher.h"
#include "setupstub/SetupStart.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::string self = platform::OwnExecutablePath();
    std::string folder = platform::UserTempFolder();
    if (self.empty() || folder.empty())
        return 1;
    PreparedSetup prepared = PrepareSetup(self, folder, platform::MachineStore::MachineWide(),
                                          platform::MachineStore::PerUser());
    if (prepared.result == SFX_ERR_MARKER)
        return 0; // a bare launcher without a package: nothing to do
    if (prepared.result != SFX_OK)
        return 1;
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    // The setup's own exit status, so that scripts can rely on it.
    const int status = StartSetup(prepared.setupPath, args);
    return status < 0 ? 1 : status;
}
