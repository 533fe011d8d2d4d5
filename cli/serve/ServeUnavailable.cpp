#include "cli/serve/ServeOptions.h"

#include <ostream>

// Built where the HTTP library is not available (the Windows programs).
int RunSetupServer(const ServeOptions&, std::ostream&, std::ostream& err) {
    err << "\"serve\" is a Linux command; this velkora-cli was built without it.\n";
    return 1;
}
