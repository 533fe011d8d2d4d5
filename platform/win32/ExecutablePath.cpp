#include "platform/ExecutablePath.h"

#include <vector>
#include <windows.h>

namespace platform {

std::string OwnExecutablePath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), buffer.size());
        if (n == 0)
            return {};
        if (n < buffer.size())
            return std::string(buffer.data(), n);
        if (buffer.size() >= 32768)
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace platform
