#pragma once

#include "cli/CliArgs.h"
#include "package/AffiliateBuilder.h"
#include "package/BuildLogSink.h"

#include <iosfwd>
#include <mutex>

// The build log of velkora-cli: every line goes to out as it is made, and
// error lines go to err as well. Quiet keeps only the error lines (on err). A
// terminal cannot take lines back, so Clear does nothing.
class CliBuildLog : public IBuildLogSink {
public:
    CliBuildLog(std::ostream& out, std::ostream& err, bool quiet)
        : m_out(out), m_err(err), m_quiet(quiet) {}
    void Clear() override {}
    void Append(const std::string& line) override;
    void AppendError(const std::string& line) override;

private:
    std::mutex m_mutex;
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_quiet;
};

// The environment of a command-line build: lines to log; "affiliate n of N"
// on err when err is the process's standard error, that is a terminal, and
// quiet is not set; a package that cannot be started is reported on err. A
// package that is started gets setupArgs as its arguments.
BuildEnvironment CliBuildEnvironment(CliBuildLog& log, std::ostream& err, bool quiet,
                                     std::vector<std::string> setupArgs = {});

// How long a build on a terminal runs before its end rings the bell unasked:
// long enough that the person has likely turned to something else.
inline constexpr int kLongBuildSeconds = 10;

// While it lives, the builders' beep rings the terminal bell only when a person
// watches both standard output and standard error, quiet is not set, and
// either the bell was asked for or kLongBuildSeconds have passed.
class CliBellScope {
public:
    CliBellScope(bool quiet, bool asked);
    ~CliBellScope();
    CliBellScope(const CliBellScope&) = delete;
    CliBellScope& operator=(const CliBellScope&) = delete;
};

// The option that asks for the bell, shared by every command that builds.
CliOption BellOption();

// Parses an affiliate key (decimal, 0 to 65535).
bool ParseAffiliateKey(const std::string& text, uint16_t& key);
