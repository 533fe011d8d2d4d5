#include "platform/ProcessStart.h"

#include "platform/posix/ArgumentVector.h"
#include "platform/posix/ExecReport.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {
namespace {

using posix::ArgumentVector;
using posix::ReadExecReport;
using posix::ReportExecFailure;

int Exec(const std::string& program, char* const* argv) {
    if (program.find('/') != std::string::npos)
        return ::execv(program.c_str(), argv);
    return ::execvp(program.c_str(), argv);
}

} // namespace

bool ReplaceProcess(const std::string& program, const std::vector<std::string>& args) {
    if (program.empty())
        return false;
    std::vector<char*> argv = ArgumentVector(program, args);
    Exec(program, argv.data());
    return false;
}

bool StartDetached(const std::string& program, const std::vector<std::string>& args) {
    if (program.empty())
        return false;
    std::vector<char*> argv = ArgumentVector(program, args);
    // The grandchild reports a failed exec through this pipe; a successful
    // exec closes it (close-on-exec), so the parent reads end of file.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        ::close(report[0]);
        pid_t grandchild = ::fork();
        if (grandchild == 0) {
            // A caller's blocked signals are not the started program's business.
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            Exec(program, argv.data());
            ReportExecFailure(report[1]);
        }
        int error = grandchild < 0 ? errno : 0;
        if (grandchild < 0) {
            ssize_t ignored = ::write(report[1], &error, sizeof error);
            (void)ignored;
        }
        ::_exit(0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    const ssize_t got = ReadExecReport(report[0], error);
    ::close(report[0]);
    return got == 0;
}

bool OpenWithDesktop(const std::string& target) {
    return StartDetached("xdg-open", {target});
}

bool MakeOwnerExecutable(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    if ((info.st_mode & S_IXUSR) != 0)
        return true;
    return ::chmod(path.c_str(), (info.st_mode & 07777) | S_IXUSR) == 0;
}

} // namespace platform
