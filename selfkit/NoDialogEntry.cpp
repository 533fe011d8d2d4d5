#include "selfkit/DialogEntry.h"

#include <cstdio>

// A build without the dialog (the instrumented build): only the scripted mode.
int RunSelfKitDialog(CSelfKit&) {
    std::fputs("selfkit: this build has no dialog; use the command-line options (--help).\n",
               stderr);
    return 1;
}
