#include "platform/win32/StoreWriterLock.h"

#include "platform/PausePoint.h"

#include <cstdint>

namespace platform::win32 {
namespace {

constexpr DWORD kLockWaitMs = 30000;
constexpr DWORD kPollMs = 10;

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// FNV-1a over the lower-cased text: a mutex name has no room for a key path
// of up to 999 bytes, and may not hold a backslash.
uint64_t NameHash(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(LowerAscii(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

std::wstring MutexName(const std::string& root, const std::string& keyPath) {
    const bool machineWide = root.rfind("HKEY_LOCAL_MACHINE", 0) == 0 || root.rfind("HKLM", 0) == 0;
    std::wstring name = machineWide ? L"Global\\" : L"Local\\";
    name += L"velkora-store-";
    // "HKLM" and "HKEY_LOCAL_MACHINE" name one hive: only what follows counts.
    const size_t cut = root.find('\\');
    const std::string below = cut == std::string::npos ? std::string() : root.substr(cut);
    const uint64_t hash = NameHash(below + "\\" + keyPath);
    static const wchar_t kHex[] = L"0123456789abcdef";
    for (int shift = 60; shift >= 0; shift -= 4)
        name += kHex[(hash >> shift) & 0x0F];
    return name;
}

} // namespace

StoreWriterLock::StoreWriterLock(const std::string& root, const std::string& keyPath)
    : m_mutex(CreateMutexW(nullptr, FALSE, MutexName(root, keyPath).c_str())) {
    if (!m_mutex.Valid())
        return;
    DWORD waited = 0;
    for (;;) {
        const DWORD result = WaitForSingleObject(m_mutex.Get(), 0);
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
            m_bHeld = true;
            return;
        }
        if (result != WAIT_TIMEOUT || waited >= kLockWaitMs)
            return;
        if (waited == 0)
            PausePoint("store-lock-busy");
        Sleep(kPollMs);
        waited += kPollMs;
    }
}

StoreWriterLock::~StoreWriterLock() {
    if (m_bHeld)
        ReleaseMutex(m_mutex.Get());
}

} // namespace platform::win32
