#pragma once

#include <ostream>
#include <streambuf>
#include <string>

// A stream buffer in front of a terminal-bound stream: everything written
// reaches target through TerminalSafe, with newlines and tabs kept as the
// layout's own. Names, paths and reasons come from projects, CSV files and
// packages; guarding the streams at the edge means no command can forget
// them. Whole lines are passed on; a flush passes what is there, keeping back
// only an unfinished UTF-8 sequence.
class TerminalGuardBuf : public std::streambuf {
public:
    explicit TerminalGuardBuf(std::ostream& target) : m_target(target) {}
    ~TerminalGuardBuf() override;
    TerminalGuardBuf(const TerminalGuardBuf&) = delete;
    TerminalGuardBuf& operator=(const TerminalGuardBuf&) = delete;

protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    // Passes the first count buffered bytes on, escaped.
    void Pass(size_t count);

    std::ostream& m_target;
    std::string m_pending;
};

// An ostream over a TerminalGuardBuf.
class TerminalGuardStream : public std::ostream {
public:
    explicit TerminalGuardStream(std::ostream& target)
        : std::ostream(&m_buf), m_buf(target), m_target(target) {}

    // The stream the texts go to.
    const std::ostream& Target() const { return m_target; }

private:
    TerminalGuardBuf m_buf;
    const std::ostream& m_target;
};

// True when stream is base, or a guard in front of it.
bool IsStreamOf(const std::ostream& stream, const std::ostream& base);
