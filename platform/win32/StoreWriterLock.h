#pragma once

#include "platform/win32/Handle.h"

#include <string>

namespace platform::win32 {

// The writer lock of one key of a store: a named mutex whose name is made
// from the store's root and the key path (without regard to letter case), in
// the global namespace for the machine-wide hive, so that the writers of all
// sessions meet there. Waits a bounded time for a writer that holds it; a
// mutex left by a writer that ended without releasing it is taken over.
class StoreWriterLock {
public:
    StoreWriterLock(const std::string& root, const std::string& keyPath);
    StoreWriterLock(const StoreWriterLock&) = delete;
    StoreWriterLock& operator=(const StoreWriterLock&) = delete;
    ~StoreWriterLock();

    bool Held() const { return m_bHeld; }

private:
    Handle m_mutex;
    bool m_bHeld = false;
};

} // namespace platform::win32
