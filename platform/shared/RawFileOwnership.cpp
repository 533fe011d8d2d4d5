#include "platform/RawFile.h"

#include <utility>

// Moving and closing an open file are the same on every system; opening,
// reading and closing the descriptor are not.
namespace platform {

RawFile::RawFile(RawFile&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

RawFile& RawFile::operator=(RawFile&& other) noexcept {
    if (this != &other) {
        Close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

RawFile::~RawFile() {
    Close();
}

} // namespace platform
