// Runs a command and writes its peak resident memory, in KiB, to a file:
//   bench-peak-rss OUTFILE COMMAND [ARGUMENTS]...
// Exits with the command's exit status (127 when it cannot be started).
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTFILE COMMAND [ARGUMENTS]...\n", argv[0]);
        return 2;
    }
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
    if (std::FILE* out = std::fopen(argv[1], "w")) {
        std::fprintf(out, "%ld\n", usage.ru_maxrss);
        std::fclose(out);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
