#pragma once

#include "platform/RawFile.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace platform {

// Size of the one buffer a BufferedReader or BufferedWriter holds. Small
// pieces are gathered there so that the system sees one call per buffer, not
// one per piece; it is also the most any single call moves (except a write of
// a block the caller already holds in memory, see BufferedWriter::Write).
inline constexpr size_t kFileBufferSize = size_t{64} * 1024;

// Reads an open file through one fixed buffer of kFileBufferSize bytes.
// Owns the file.
class BufferedReader {
public:
    explicit BufferedReader(RawFile file);
    BufferedReader(const BufferedReader&) = delete;
    BufferedReader& operator=(const BufferedReader&) = delete;

    bool IsOpen() const { return m_file.IsOpen(); }
    // Positions the file at position and drops what was buffered.
    bool SeekTo(int64_t position);
    // Reads up to length bytes: the count read, 0 at the end of the file, -1
    // on failure. Bytes buffered before a failure are handed out first.
    long Read(void* buffer, size_t length) {
        if (m_next == m_end && !Refill())
            return m_failed ? -1 : 0;
        const size_t n = length < m_end - m_next ? length : m_end - m_next;
        std::memcpy(buffer, m_buffer.get() + m_next, n);
        m_next += n;
        return static_cast<long>(n);
    }

private:
    // One read() of at most a buffer; false at the end or on failure.
    bool Refill();

    RawFile m_file;
    std::unique_ptr<char[]> m_buffer;
    size_t m_next = 0;
    size_t m_end = 0;
    bool m_failed = false;
};

// Writes an open file through one fixed buffer of kFileBufferSize bytes.
// Owns the file. The buffer is handed to the system when it reaches the next
// multiple of kFileBufferSize in the file, so that after the first call every
// call covers whole, aligned pages, which the system stores much faster than
// pages it has to complete piecemeal. The first failure sticks: every later
// Write, Flush and Close reports it, so a failure in a flush is never lost.
// A writer on a file that is not open fails every call.
class BufferedWriter {
public:
    explicit BufferedWriter(RawFile file);
    BufferedWriter(const BufferedWriter&) = delete;
    BufferedWriter& operator=(const BufferedWriter&) = delete;
    // Writes what is buffered, ignoring failures; call Close to learn of them.
    ~BufferedWriter();

    bool IsOpen() const { return m_file.IsOpen(); }
    // Appends length bytes. A block of at least a whole buffer goes to the
    // file in one call (after what was buffered), since it is in memory
    // already. False when this or an earlier write failed.
    bool Write(const void* buffer, size_t length) {
        if (length <= m_room && !m_failed) {
            std::memcpy(m_buffer.get() + m_used, buffer, length);
            m_used += length;
            m_room -= length;
            return true;
        }
        return WriteSlow(buffer, length);
    }
    // Hands what is buffered to the system; false on any failure so far.
    bool Flush();
    // Flushes and closes; false when any write, the flush or the close failed.
    bool Close();

private:
    bool WriteSlow(const void* buffer, size_t length);
    // Makes room run up to the next buffer-size boundary of the file.
    void StartBufferAt(int64_t filePosition);
    bool Fail();

    RawFile m_file;
    std::unique_ptr<char[]> m_buffer;
    int64_t m_position = 0; // where the buffer's first byte goes in the file
    size_t m_used = 0;
    size_t m_room = 0;    // what fits before the next boundary
    bool m_failed = true; // until a file is open and the buffer exists
};

} // namespace platform
