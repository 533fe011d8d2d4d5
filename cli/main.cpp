#include "cli/CliRunner.h"

#include "platform/ProgramArguments.h"
#include "platform/Terminal.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace {

// A full disk or a closed pipe must not pass for success: the results went
// nowhere. Checked once at the end, as the output is buffered anyway.
int CheckStandardOutput(int code) {
    errno = 0;
    std::cout.flush();
    const bool failed = !std::cout || std::fflush(stdout) != 0 || std::ferror(stdout);
    if (!failed)
        return code;
    const int error = errno;
    std::cerr << "velkora-cli: write error on standard output"
              << (error ? std::string(": ") + std::strerror(error) : std::string()) << "\n";
    return code == 0 ? 1 : code;
}

} // namespace

int main(int argc, char** argv) {
    platform::UseUtf8Console();
    const int code = RunCli(platform::ProgramArguments(argc, argv), std::cout, std::cerr,
                            !platform::StandardOutputIsTerminal());
    return CheckStandardOutput(code);
}
