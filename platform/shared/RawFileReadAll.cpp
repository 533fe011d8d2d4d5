#include "platform/RawFile.h"

namespace platform {

bool RawFile::ReadAll(void* buffer, size_t length) {
    auto* p = static_cast<char*>(buffer);
    while (length > 0) {
        const long got = Read(p, length);
        if (got <= 0)
            return false;
        p += got;
        length -= static_cast<size_t>(got);
    }
    return true;
}

} // namespace platform
