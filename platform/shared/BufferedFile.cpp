#include "platform/BufferedFile.h"

#include <algorithm>
#include <utility>

namespace platform {

BufferedReader::BufferedReader(RawFile file) : m_file(std::move(file)) {
    if (m_file.IsOpen())
        m_buffer = std::make_unique_for_overwrite<char[]>(kFileBufferSize);
}

bool BufferedReader::SeekTo(int64_t position) {
    m_next = m_end = 0;
    return m_file.SeekTo(position);
}

bool BufferedReader::Refill() {
    m_next = m_end = 0;
    const long n = m_buffer ? m_file.Read(m_buffer.get(), kFileBufferSize) : -1;
    m_failed = n < 0;
    if (n <= 0)
        return false;
    m_end = static_cast<size_t>(n);
    return true;
}

BufferedWriter::BufferedWriter(RawFile file) : m_file(std::move(file)) {
    if (!m_file.IsOpen())
        return;
    m_buffer = std::make_unique_for_overwrite<char[]>(kFileBufferSize);
    m_failed = false;
    // A file without positions (a pipe, a device) is written all the same;
    // only the alignment of the calls is lost.
    StartBufferAt(std::max<int64_t>(m_file.Position(), 0));
}

BufferedWriter::~BufferedWriter() {
    Flush();
}

void BufferedWriter::StartBufferAt(int64_t filePosition) {
    m_position = filePosition;
    m_used = 0;
    m_room = kFileBufferSize - static_cast<size_t>(filePosition % kFileBufferSize);
}

bool BufferedWriter::Fail() {
    m_failed = true;
    m_used = m_room = 0;
    return false;
}

bool BufferedWriter::WriteSlow(const void* buffer, size_t length) {
    if (m_failed)
        return false;
    const auto* p = static_cast<const char*>(buffer);
    if (length >= kFileBufferSize) {
        if (!Flush())
            return false;
        if (!m_file.WriteAll(p, length))
            return Fail();
        StartBufferAt(m_position + static_cast<int64_t>(length));
        return true;
    }
    // Fill the buffer up to the boundary, hand it over, keep the rest.
    const size_t first = m_room;
    std::memcpy(m_buffer.get() + m_used, p, first);
    m_used += first;
    m_room = 0;
    if (!Flush())
        return false;
    std::memcpy(m_buffer.get(), p + first, length - first);
    m_used = length - first;
    m_room -= m_used;
    return true;
}

bool BufferedWriter::Flush() {
    if (m_failed)
        return false;
    if (m_used > 0) {
        if (!m_file.WriteAll(m_buffer.get(), m_used))
            return Fail();
        StartBufferAt(m_position + static_cast<int64_t>(m_used));
    }
    return true;
}

bool BufferedWriter::Close() {
    const bool flushed = Flush();
    const bool closed = m_file.Close();
    // The file is gone: whatever comes later must fail.
    Fail();
    return flushed && closed;
}

} // namespace platform
