#pragma once

#include <cerrno>
#include <unistd.h>

// A child that fails to exec writes its errno into a pipe whose ends close on
// exec: the parent reads end of file when the exec succeeded, the error when
// it did not.
namespace platform::posix {

// In the child after a failed exec: only calls that are safe after fork.
[[noreturn]] inline void ReportExecFailure(int report) {
    const int error = errno;
    [[maybe_unused]] const ssize_t n = ::write(report, &error, sizeof error);
    ::_exit(127);
}

// In the parent: 0 when the exec succeeded (error untouched), sizeof error
// when the child reported error, anything else when the pipe failed.
inline ssize_t ReadExecReport(int report, int& error) {
    ssize_t got;
    do {
        got = ::read(report, &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    return got;
}

} // namespace platform::posix
