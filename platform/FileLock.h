#pragma once

#include "platform/FileError.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace platform {

// How taking a writer lock ended.
enum class FileLockOutcome {
    Locked,   // the lock is held
    Busy,     // another holder kept it for the whole wait
    NotOwned, // the lock file belongs to another user, or is not a plain file
    Failed    // the lock file could not be opened or locked; status tells why
};

// The lock file that guards path: ".<file name>.lock" in path's folder.
std::string LockFilePathFor(const std::string& path);

// An exclusive lock that every writer of one file holds from reading the file
// to replacing it, so that two writers never both start from the same old
// content. The lock lives on a separate lock file beside the guarded file
// (see LockFilePathFor), which is created once and never removed: removing it
// would let a waiting writer lock a file that a newcomer no longer sees.
//
// The lock belongs to this object, not to the process: two objects never hold
// the lock on one file at once, even in one process. The system drops it when
// the holder ends, also when it is killed, so a crashed writer never blocks
// anyone. Readers take no lock: an atomic replace already shows them the old
// or the new file whole. Moves only; released when it goes out of scope.
class FileLock {
public:
    FileLock() = default;
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    // Takes the lock guarding path, waiting up to wait for another holder to
    // let go (zero: one try). The lock file is opened without following a
    // link and must be a plain file owned by the calling user, so a file
    // planted by someone else is never used. The outcome says what happened;
    // status holds the system's error for Failed.
    static FileLock Acquire(const std::string& path, std::chrono::milliseconds wait,
                            FileLockOutcome& outcome, FileStatus& status);

    bool Held() const { return m_handle != kNone; }
    // Lets go of the lock early; nothing when none is held.
    void Release();

private:
    static constexpr intptr_t kNone = -1;
    explicit FileLock(intptr_t handle) : m_handle(handle) {}
    intptr_t m_handle = kNone; // the system's descriptor or handle
};

} // namespace platform
