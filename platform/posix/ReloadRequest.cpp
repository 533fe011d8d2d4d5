#include "platform/ReloadRequest.h"

#include <csignal>
#include <signal.h>

namespace platform {
namespace {

volatile sig_atomic_t g_pending = 0;

void OnHangUp(int) {
    g_pending = 1;
}

} // namespace

void CatchReloadRequests() {
    struct sigaction action {};
    action.sa_handler = OnHangUp;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGHUP, &action, nullptr);
}

bool TakeReloadRequest() {
    if (g_pending == 0)
        return false;
    g_pending = 0;
    return true;
}

} // namespace platform
