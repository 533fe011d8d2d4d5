#include "platform/TerminationRequest.h"

#include "platform/posix/ForwardedChild.h"

#include <csignal>
#include <signal.h>

namespace platform {
namespace {

constexpr int kRequests[] = {SIGINT, SIGTERM, SIGHUP};

volatile sig_atomic_t g_request = 0;
volatile sig_atomic_t g_child = 0;

// A signal sent by a process (kill, sigqueue) is passed on; one from the
// kernel (the terminal's interrupt or hang-up) reached the child already.
void OnRequest(int signal, siginfo_t* info, void*) {
    if (g_request == 0)
        g_request = signal;
    const bool fromProcess = info == nullptr || info->si_code <= 0;
    if (g_child > 0 && fromProcess)
        ::kill(static_cast<pid_t>(g_child), signal);
}

} // namespace

void CatchTerminationRequests() {
    struct sigaction action {};
    action.sa_sigaction = OnRequest;
    action.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int signal : kRequests)
        ::sigaction(signal, &action, nullptr);
}

int TerminationRequested() {
    return g_request;
}

namespace posix {

void SetForwardedChild(pid_t child) {
    g_child = child;
}

void BlockTerminationRequests(sigset_t* saved) {
    sigset_t block;
    sigemptyset(&block);
    for (int signal : kRequests)
        sigaddset(&block, signal);
    ::pthread_sigmask(SIG_BLOCK, &block, saved);
}

void RestoreSignalMask(const sigset_t* saved) {
    ::pthread_sigmask(SIG_SETMASK, saved, nullptr);
}

void ResetTerminationRequestsInChild() {
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    for (int signal : kRequests)
        ::sigaction(signal, &standard, nullptr);
    ::sigaction(SIGQUIT, &standard, nullptr);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
}

} // namespace posix
} // namespace platform
