#include "selfkit/DialogEntry.h"

#include "selfkit/fltk/SelfKitWindow.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdio>
#include <cstdlib>

namespace {

// The step pause can be stretched for tests that press Cancel while a build
// runs: VELKORA_SELFKIT_STEP_MS, in milliseconds.
int StepPauseMs() {
    const char* value = std::getenv("VELKORA_SELFKIT_STEP_MS");
    if (!value || !*value)
        return 200;
    char* end = nullptr;
    const long ms = std::strtol(value, &end, 10);
    return *end == '\0' && ms >= 0 && ms <= 60000 ? static_cast<int>(ms) : 200;
}

} // namespace

int RunSelfKitDialog(CSelfKit& kit) {
    // The toolkit ends the program when it cannot reach the display; ask
    // first, so that the affiliate reads why.
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        const char* name = std::getenv("DISPLAY");
        std::fprintf(stderr,
                     "selfkit: cannot open the display%s%s%s; the dialog needs a desktop. "
                     "Without one, build with --service, --affiliate-id, --homepage and "
                     "--output (see --help).\n",
                     name && *name ? " \"" : "", name && *name ? name : "",
                     name && *name ? "\"" : "");
        return 1;
    }
    fl_open_display(display);
    Fl::scheme("gtk+");

    CSelfKitWindow window(kit);
    window.SetStepPause(StepPauseMs());
    if (!window.Initialize())
        return 1;
    window.show();
    Fl::run();
    return 0;
}
