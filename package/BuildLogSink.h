#pragma once

#include <string>

// Where a build reports its steps: the build log of the desktop program, the
// standard output of the command-line program, or a recorder in tests. The
// sink owns no texts; every line is composed by the builder.
//
// Threads: Clear is called only by the thread that gives a build command (the
// user-interface thread), before the build's worker starts. Append is called by
// that thread for the start line and then by the build's worker for every other
// line, one call per line. Append may block until the line is shown; the worker
// waits for it, so lines keep their order and never overtake a Clear. A sink
// that hands lines to another thread must therefore also accept a call from that
// thread itself without waiting on it.
class IBuildLogSink {
public:
    virtual ~IBuildLogSink() = default;

    // Removes every line.
    virtual void Clear() = 0;

    // Adds line after the last one. An empty text is an empty line.
    virtual void Append(const std::string& line) = 0;

    // Adds a line that reports an error. Sinks that show errors apart (the
    // command line's standard error) override it; the others list it in turn.
    virtual void AppendError(const std::string& line) { Append(line); }
};
