#include "cli/serve/AccessLog.h"

#include "cli/TerminalText.h"

#include <cstdio>
#include <ostream>

void CAccessLog::Write(const std::string& client, const std::string& method,
                       const std::string& path, int status, int64_t bytes,
                       std::chrono::steady_clock::duration time, const char* outcome) {
    const double ms = std::chrono::duration<double, std::milli>(time).count();
    char duration[32];
    std::snprintf(duration, sizeof duration, "%.1fms", ms);
    // Paths come from clients: control characters are shown escaped.
    std::string line = client + " \"" + TerminalSafe(method) + " " + TerminalSafe(path) + "\" " +
                       std::to_string(status) + " " + (bytes < 0 ? "-" : std::to_string(bytes)) +
                       " " + duration + " " + outcome + "\n";
    const std::lock_guard lock(m_mutex);
    m_out << line << std::flush;
}

void CAccessLog::Note(const std::string& line) {
    const std::lock_guard lock(m_mutex);
    m_out << line << "\n" << std::flush;
}
