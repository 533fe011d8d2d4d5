#pragma once

#include "package/BuildLogSink.h"

#include <mutex>
#include <string>
#include <vector>

// The build log of the tests: keeps every line in order and counts the
// clears. Safe to call from a build's worker thread while the test reads.
class LogRecorder : public IBuildLogSink {
public:
    void Clear() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.clear();
        ++m_clears;
    }
    void Append(const std::string& line) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.push_back(line);
    }
    std::vector<std::string> Lines() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_lines;
    }
    int Clears() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_clears;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
    int m_clears = 0;
};
