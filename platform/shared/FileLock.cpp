#include "platform/FileLock.h"

#include "platform/PathText.h"
#include "platform/shared/FileLockSystem.h"

#include <algorithm>
#include <thread>

namespace platform {

std::string LockFilePathFor(const std::string& path) {
    const size_t cut = LastSeparator(path, HostPathStyle());
    const std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    return folder + "." + name + ".lock";
}

FileLock FileLock::Acquire(const std::string& path, std::chrono::milliseconds wait,
                           FileLockOutcome& outcome, FileStatus& status) {
    status = {};
    const intptr_t file = lock_system::OpenLockFile(LockFilePathFor(path), outcome, status);
    if (file == lock_system::kNoFile)
        return {};
    FileLock lock(file);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    // Short pauses first: most holders let go within milliseconds.
    auto pause = std::chrono::milliseconds(2);
    for (;;) {
        switch (lock_system::TryLock(file)) {
        case lock_system::TryResult::Locked:
            outcome = FileLockOutcome::Locked;
            return lock;
        case lock_system::TryResult::Failed:
            status = LastFileStatus();
            outcome = FileLockOutcome::Failed;
            return {};
        case lock_system::TryResult::Busy:
            break;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            outcome = FileLockOutcome::Busy;
            return {};
        }
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

FileLock::FileLock(FileLock&& other) noexcept : m_handle(other.m_handle) {
    other.m_handle = kNone;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        Release();
        m_handle = other.m_handle;
        other.m_handle = kNone;
    }
    return *this;
}

FileLock::~FileLock() {
    Release();
}

void FileLock::Release() {
    if (m_handle == kNone)
        return;
    lock_system::CloseLockFile(m_handle);
    m_handle = kNone;
}

} // namespace platform
