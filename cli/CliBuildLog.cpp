#include "cli/CliBuildLog.h"

#include "cli/TerminalGuard.h"
#include "platform/Beep.h"
#include "platform/Terminal.h"

#include <charconv>
#include <chrono>
#include <iostream>

void CliBuildLog::Append(const std::string& line) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_quiet)
        m_out << line << '\n' << std::flush;
}

void CliBuildLog::AppendError(const std::string& line) {
    std::lock_guard<std::mutex> lock(m_mutex);
    // The whole log stays on out for whoever keeps it; err gets what went wrong.
    if (!m_quiet)
        m_out << line << '\n' << std::flush;
    m_err << line << '\n' << std::flush;
}

CliBellScope::CliBellScope(bool quiet, bool asked) {
    const bool watched =
        !quiet && platform::StandardOutputIsTerminal() && platform::StandardErrorIsTerminal();
    const auto start = std::chrono::steady_clock::now();
    platform::SetBeepHandler([watched, asked, start] {
        const auto took = std::chrono::steady_clock::now() - start;
        if (watched && (asked || took >= std::chrono::seconds(kLongBuildSeconds)))
            std::cerr << '\a' << std::flush;
    });
}

CliBellScope::~CliBellScope() {
    platform::SetBeepHandler({});
}

BuildEnvironment CliBuildEnvironment(CliBuildLog& log, std::ostream& err, bool quiet,
                                     std::vector<std::string> setupArgs) {
    BuildEnvironment env;
    env.log = &log;
    env.startProgram = [&err, args = std::move(setupArgs)](const std::string& path) {
        if (!StartBuiltPackage(path, args))
            err << "Could not start '" << path << "'.\n" << std::flush;
    };
    if (!quiet && IsStreamOf(err, std::cerr) && platform::StandardErrorIsTerminal()) {
        env.onAffiliate = [&err](size_t index, size_t count) {
            err << "affiliate " << index << " of " << count << '\n' << std::flush;
        };
    }
    return env;
}

CliOption BellOption() {
    return {"bell",
            false,
            {},
            "Ring the terminal bell when done (unasked only after a build of "
            "10 seconds or more)."};
}

bool ParseAffiliateKey(const std::string& text, uint16_t& key) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value > 0xFFFF)
        return false;
    key = static_cast<uint16_t>(value);
    return true;
}
