// Runs a command and writes its peak resident memory in KiB, its wall time and
// its processor time (user + system) in seconds, on one line, to a file:
//   bench-measure OUTFILE COMMAND [ARGUMENTS]...
// The command's standard streams are left as they are. Exits with the
// command's exit status (127 when it cannot be started).
#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTFILE COMMAND [ARGUMENTS]...\n", argv[0]);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0)
        return 127;
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child)
        return 127;
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    if (std::FILE* out = std::fopen(argv[1], "w")) {
        const double cpu =
            static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        std::fprintf(out, "%ld %.6f %.6f\n", usage.ru_maxrss, wall.count(), cpu);
        std::fclose(out);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
