#pragma once

#include "package/AffiliateBuilder.h"
#include "package/BuildLogSink.h"

#include <iosfwd>
#include <mutex>

// The build log of velkora-cli: every line goes to out as it is made. A
// terminal cannot take lines back, so Clear does nothing.
class CliBuildLog : public IBuildLogSink {
public:
    explicit CliBuildLog(std::ostream& out) : m_out(out) {}
    void Clear() override {}
    void Append(const std::string& line) override;

private:
    std::mutex m_mutex;
    std::ostream& m_out;
};

// The environment of a command-line build: lines to log; "affiliate n of N"
// on err when err is the process's standard error, that is a terminal, and
// quiet is not set; a package that cannot be started is reported on err.
BuildEnvironment CliBuildEnvironment(CliBuildLog& log, std::ostream& err, bool quiet);

// Parses an affiliate key (decimal, 0 to 65535).
bool ParseAffiliateKey(const std::string& text, uint16_t& key);
