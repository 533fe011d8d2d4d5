#include "platform/ShellOpen.h"

#include "platform/ProcessStart.h"
#include "platform/posix/ArgumentVector.h"
#include "platform/shared/TrimBlanks.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {
namespace {

// Every start goes through the detached program start: the started program
// is not our child, and a failed exec is reported back.
bool SpawnDetached(const std::vector<std::string>& args) {
    if (args.empty() || args.front().empty())
        return false;
    return StartDetached(args.front(), std::vector<std::string>(args.begin() + 1, args.end()));
}

// How long the desktop's opener is given to report a failure. Openers that
// hand the target to a program already running end at once; one that starts
// a browser may wait for it, and is taken as working once this has passed.
constexpr long kOpenerWaitMs = 2000;

// Starts the opener with args and waits, for kOpenerWaitMs at most, for it to
// end. True when it ended with status 0 or is still running; false when it
// could not be started or ended with a failure status. The opener is the
// child of a short-lived intermediate process, so it never becomes a zombie
// of ours, whether it is waited for or not.
bool RunOpener(const std::vector<std::string>& args) {
    if (args.empty() || args.front().empty())
        return false;
    const std::string& program = args.front();
    const std::vector<std::string> tail(args.begin() + 1, args.end());
    std::vector<char*> argv = posix::ArgumentVector(program, tail);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        // Only async-signal-safe calls from here on.
        ::close(report[0]);
        const pid_t opener = ::fork();
        if (opener == 0) {
            ::close(report[1]);
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            if (program.find('/') != std::string::npos)
                ::execv(program.c_str(), argv.data());
            else
                ::execvp(program.c_str(), argv.data());
            ::_exit(127);
        }
        char works = 0;
        if (opener > 0) {
            int status = 0;
            const timespec tick{0, 10L * 1000 * 1000};
            long waited = 0;
            pid_t ended = 0;
            while ((ended = ::waitpid(opener, &status, WNOHANG)) == 0 && waited < kOpenerWaitMs) {
                ::nanosleep(&tick, nullptr);
                waited += 10;
            }
            const bool accepted =
                ended == 0 || (ended == opener && WIFEXITED(status) && WEXITSTATUS(status) == 0);
            works = accepted ? 1 : 0;
        }
        ssize_t ignored = ::write(report[1], &works, 1);
        (void)ignored;
        ::_exit(0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    char works = 0;
    ssize_t got;
    do {
        got = ::read(report[0], &works, 1);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    return got == 1 && works == 1;
}

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

std::vector<std::string> SplitPaths(const std::string& list) {
    std::vector<std::string> out;
    std::stringstream ss(list);
    std::string item;
    while (std::getline(ss, item, ':'))
        if (!item.empty())
            out.push_back(item);
    return out;
}

std::string Home() {
    return EnvOr("HOME", "");
}

std::vector<std::string> ConfigDirs() {
    std::vector<std::string> dirs{EnvOr("XDG_CONFIG_HOME", Home() + "/.config")};
    for (auto& d : SplitPaths(EnvOr("XDG_CONFIG_DIRS", "/etc/xdg")))
        dirs.push_back(d);
    return dirs;
}

std::vector<std::string> DataDirs() {
    std::vector<std::string> dirs{EnvOr("XDG_DATA_HOME", Home() + "/.local/share")};
    for (auto& d : SplitPaths(EnvOr("XDG_DATA_DIRS", "/usr/local/share:/usr/share")))
        dirs.push_back(d);
    return dirs;
}

// The value of key in [group] of a desktop-style ini file; nothing when absent.
std::optional<std::string> IniValue(const std::string& path, const std::string& group,
                                    const std::string& key) {
    std::ifstream in(path);
    if (!in)
        return std::nullopt;
    std::string line;
    bool inGroup = false;
    while (std::getline(in, line)) {
        line = TrimBlanks(line);
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            inGroup = line == "[" + group + "]";
            continue;
        }
        const auto eq = line.find('=');
        if (inGroup && eq != std::string::npos && TrimBlanks(line.substr(0, eq)) == key)
            return TrimBlanks(line.substr(eq + 1));
    }
    return std::nullopt;
}

std::vector<std::string> MimeAppsFiles() {
    std::vector<std::string> files;
    for (const auto& d : ConfigDirs())
        files.push_back(d + "/mimeapps.list");
    for (const auto& d : DataDirs())
        files.push_back(d + "/applications/mimeapps.list");
    return files;
}

std::optional<std::string> DesktopEntryExec(const std::string& id) {
    if (id.empty() || id.find('/') != std::string::npos)
        return std::nullopt;
    for (const auto& d : DataDirs()) {
        auto exec = IniValue(d + "/applications/" + id, "Desktop Entry", "Exec");
        if (exec && !exec->empty())
            return exec;
    }
    return std::nullopt;
}

std::optional<std::string> DefaultHandlerCommand(const std::string& mimeType) {
    for (const auto& file : MimeAppsFiles()) {
        auto ids = IniValue(file, "Default Applications", mimeType);
        if (!ids)
            continue;
        std::stringstream ss(*ids);
        std::string id;
        while (std::getline(ss, id, ';')) {
            if (auto exec = DesktopEntryExec(TrimBlanks(id)))
                return ExecLineToCommand(*exec);
        }
    }
    return std::nullopt;
}

} // namespace

bool StartProgram(const std::vector<std::string>& argv) {
    return SpawnDetached(argv);
}

bool StartCommandLine(const std::string& commandLine) {
    return SpawnDetached(SplitCommandLine(commandLine));
}

bool ShellOpen(const std::string& target) {
    if (target.empty())
        return false;
    return RunOpener({"xdg-open", target});
}

bool ShellExplore(const std::string& folder) {
    return RunOpener({"xdg-open", folder.empty() ? std::string("/") : folder});
}

std::optional<std::string> WebBrowserCommand() {
    if (auto cmd = DefaultHandlerCommand("x-scheme-handler/http"))
        return cmd;
    if (auto cmd = DefaultHandlerCommand("text/html"))
        return cmd;
    // $BROWSER may hold several commands separated by ":" and "%s" for the page.
    const std::string browser = EnvOr("BROWSER", "");
    if (browser.empty())
        return std::nullopt;
    std::string first = browser.substr(0, browser.find(':'));
    const auto s = first.find("%s");
    if (s != std::string::npos)
        first.replace(s, 2, "%1");
    return first;
}

} // namespace platform
