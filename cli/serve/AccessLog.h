#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <mutex>
#include <string>

// One line per request on the server's standard output, written whole by one
// thread at a time:
//   127.0.0.1 "GET /setup/42" 200 8391234 12.4ms ok
// The bytes are the body's length when it was sent whole, "-" when the
// connection ended early (outcome "aborted", "timeout" or "closed").
class CAccessLog {
public:
    explicit CAccessLog(std::ostream& out) : m_out(out) {}

    void Write(const std::string& client, const std::string& method, const std::string& path,
               int status, int64_t bytes, std::chrono::steady_clock::duration time,
               const char* outcome);
    // A line of the server itself (start, reload, end).
    void Note(const std::string& line);

private:
    std::ostream& m_out;
    std::mutex m_mutex;
};
