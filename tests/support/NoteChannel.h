#pragma once

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>

// A named pipe at a path where a program started by a test writes a note.
// Read() waits on the pipe itself (no sleeping): it returns once the writer
// has written and closed its end. The guard only keeps a broken test from
// hanging; it is not a limit on the code under test.
class NoteChannel {
public:
    explicit NoteChannel(std::string path) : m_path(std::move(path)) {
        if (::mkfifo(m_path.c_str(), 0600) == 0)
            m_fd = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK);
    }
    ~NoteChannel() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    NoteChannel(const NoteChannel&) = delete;
    NoteChannel& operator=(const NoteChannel&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    const std::string& Path() const { return m_path; }

    // What the writer wrote, once it closed the pipe. closed tells whether a
    // writer came and went at all within the guard.
    std::string Read(bool* closed = nullptr,
                     std::chrono::seconds guard = std::chrono::seconds(60)) {
        std::string note;
        bool done = false;
        const auto until = std::chrono::steady_clock::now() + guard;
        while (m_fd >= 0 && !done) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                until - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            pollfd p{m_fd, POLLIN, 0};
            // Until a writer has opened the pipe, Linux reports nothing here.
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
                continue;
            char buffer[512];
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n > 0)
                note.append(buffer, static_cast<size_t>(n));
            else if (n == 0)
                done = true; // the writer closed its end
        }
        if (closed)
            *closed = done;
        return note;
    }

private:
    std::string m_path;
    int m_fd = -1;
};
