#pragma once

#include "platform/FileLock.h"

#include <cstdint>
#include <string>

// What each system gives for FileLock: the shared code waits and retries.
namespace platform::lock_system {

inline constexpr intptr_t kNoFile = -1;

// Opens (creating when missing) and checks the lock file; kNoFile on failure
// with outcome NotOwned or Failed (and status) set.
intptr_t OpenLockFile(const std::string& lockPath, FileLockOutcome& outcome, FileStatus& status);

enum class TryResult { Locked, Busy, Failed };
// One attempt at the exclusive lock, without waiting.
TryResult TryLock(intptr_t file);

// Closes the lock file, which drops its lock.
void CloseLockFile(intptr_t file);

} // namespace platform::lock_system
