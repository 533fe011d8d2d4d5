#include "platform/ProgramRun.h"

#include "platform/posix/ArgumentVector.h"
#include "platform/posix/ChildRun.h"
#include "platform/posix/ExecReport.h"
#include "platform/posix/ForwardedChild.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {
namespace {

// While any program runs, terminal interrupts are the program's alone; the
// caller's own handling comes back when the last one has ended.
class InterruptsIgnored {
public:
    InterruptsIgnored() {
        std::lock_guard<std::mutex> lock(Mutex());
        if (Count()++ == 0) {
            struct sigaction ignore {};
            ignore.sa_handler = SIG_IGN;
            sigemptyset(&ignore.sa_mask);
            ::sigaction(SIGINT, &ignore, &SavedInt());
            ::sigaction(SIGQUIT, &ignore, &SavedQuit());
        }
    }
    ~InterruptsIgnored() {
        std::lock_guard<std::mutex> lock(Mutex());
        if (--Count() == 0) {
            ::sigaction(SIGINT, &SavedInt(), nullptr);
            ::sigaction(SIGQUIT, &SavedQuit(), nullptr);
        }
    }
    InterruptsIgnored(const InterruptsIgnored&) = delete;
    InterruptsIgnored& operator=(const InterruptsIgnored&) = delete;

private:
    static std::mutex& Mutex() {
        static std::mutex mutex;
        return mutex;
    }
    static int& Count() {
        static int count = 0;
        return count;
    }
    static struct sigaction& SavedInt() {
        static struct sigaction saved {};
        return saved;
    }
    static struct sigaction& SavedQuit() {
        static struct sigaction saved {};
        return saved;
    }
};

// In the child: only calls that are safe between fork and exec.
[[noreturn]] void ExecChild(posix::ChildExec exec, const void* context, int report) {
    posix::ResetTerminationRequestsInChild();
    exec(context);
    posix::ReportExecFailure(report);
}

int WaitFor(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return 127;
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return 127;
}

struct PathExec {
    const char* path;
    char* const* argv;
};

void ExecPath(const void* context) {
    const auto* run = static_cast<const PathExec*>(context);
    ::execv(run->path, run->argv);
}

} // namespace

namespace posix {

ProgramRun RunChildAndWait(ChildExec exec, const void* context) {
    ProgramRun run;
    // A failed exec reports its error through this pipe; a successful one
    // closes it (close-on-exec), so the parent reads end of file.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return run;
    InterruptsIgnored ignored;
    sigset_t saved;
    BlockTerminationRequests(&saved);
    pid_t child = ::fork();
    if (child == 0)
        ExecChild(exec, context, report[1]);
    if (child > 0)
        SetForwardedChild(child);
    RestoreSignalMask(&saved);
    ::close(report[1]);
    if (child < 0) {
        ::close(report[0]);
        return run;
    }
    int error = 0;
    const ssize_t got = ReadExecReport(report[0], error);
    ::close(report[0]);
    const int code = WaitFor(child);
    SetForwardedChild(0);
    if (got == 0) {
        run.outcome = ProgramRun::Outcome::Finished;
        run.exitCode = code;
    } else if (got == sizeof error && (error == EACCES || error == EPERM)) {
        run.outcome = ProgramRun::Outcome::NotExecutable;
    }
    return run;
}

} // namespace posix

ProgramRun RunProgramAndWait(const std::string& path, const std::vector<std::string>& args) {
    if (path.empty())
        return {};
    std::vector<char*> argv = posix::ArgumentVector(path, args);
    const PathExec exec{path.c_str(), argv.data()};
    return posix::RunChildAndWait(ExecPath, &exec);
}

} // namespace platform
