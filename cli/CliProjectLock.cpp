#include "cli/CliProjectLock.h"

#include "cli/CliCommand.h"
#include "cli/CliError.h"
#include "cli/CommandArgs.h"

#include "platform/FileSystem.h"

#include <charconv>
#include <cstdlib>
#include <ostream>
#include <thread>

namespace {

constexpr double kDefaultWaitSeconds = 5;
constexpr double kMaxWaitSeconds = 24 * 60 * 60;
// A test hook: a writer that holds the lock this many milliseconds after
// taking it, so that tests can race a second writer against it.
constexpr const char* kHoldVariable = "VELKORA_TEST_HOLD_LOCK_MS";
constexpr long kMaxHoldMs = 60000;

// A number of seconds: digits with an optional fraction, at most a day.
bool ParseSeconds(const std::string& text, double& seconds) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos)
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    return error == std::errc() && end == text.data() + text.size() && seconds <= kMaxWaitSeconds;
}

void HoldForTests(std::ostream& err) {
    const char* text = std::getenv(kHoldVariable);
    if (!text)
        return;
    long ms = 0;
    const std::string_view view(text);
    if (std::from_chars(view.data(), view.data() + view.size(), ms).ec != std::errc() || ms <= 0)
        return;
    ms = std::min(ms, kMaxHoldMs);
    err << "Holding the lock for " << ms << " ms (" << kHoldVariable << ").\n" << std::flush;
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string SecondsText(double seconds) {
    std::string text = std::to_string(seconds);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.')
        text.pop_back();
    return text;
}

} // namespace

CliOption WaitOption() {
    return {"wait", true, "SECONDS",
            "How long to wait for another program changing the project (default 5)."};
}

bool WaitOptionValid(const CliCommand& command, const CliArgs& args, std::ostream& err) {
    double seconds = 0;
    if (!args.Has("wait") || ParseSeconds(args.Value("wait"), seconds))
        return true;
    ReportUsageError(command,
                     "'" + args.Value("wait") + "' is not a number of seconds (0 to 86400).", err);
    return false;
}

int LockCliProject(const CliCommand& command, const CliArgs& args, const std::string& path,
                   platform::FileLock& lock, std::ostream& err, bool creating) {
    if (!WaitOptionValid(command, args, err))
        return kExitUsage;
    if (!creating && !platform::PathExists(path)) {
        ReportFileError(err, path, "cannot read", platform::LastFileStatus());
        return kExitFailed;
    }
    double seconds = kDefaultWaitSeconds;
    if (args.Has("wait"))
        ParseSeconds(args.Value("wait"), seconds);

    platform::FileLockOutcome outcome{};
    platform::FileStatus status;
    lock = platform::FileLock::Acquire(
        path, std::chrono::milliseconds(static_cast<long long>(seconds * 1000)), outcome, status);
    switch (outcome) {
    case platform::FileLockOutcome::Locked:
        HoldForTests(err);
        return kExitOk;
    case platform::FileLockOutcome::Busy:
        err << "'" << path << "' is being changed by another program; gave up after "
            << SecondsText(seconds) << " second(s). Nothing was changed.\n";
        break;
    case platform::FileLockOutcome::NotOwned:
        err << "The lock file '" << platform::LockFilePathFor(path)
            << "' is not a plain file of yours; '" << path << "' was not changed.\n";
        break;
    case platform::FileLockOutcome::Failed: {
        const std::string lockPath = platform::LockFilePathFor(path);
        const std::string reason = platform::FileErrorText(status.error, lockPath);
        err << "Cannot lock '" << path << "': "
            << (reason.empty() ? "the lock file '" + lockPath + "' cannot be used." : reason)
            << "\n";
        break;
    }
    }
    return kExitFailed;
}
