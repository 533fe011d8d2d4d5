#include "platform/shared/StoreKeyPath.h"

namespace platform {

// Components of a backslash-separated path, empty ones dropped, joined again.
std::string NormalizeKeyPath(std::string_view keyPath) {
    std::string out;
    size_t start = 0;
    while (start <= keyPath.size()) {
        size_t end = keyPath.find('\\', start);
        if (end == std::string_view::npos)
            end = keyPath.size();
        if (end > start) {
            if (!out.empty())
                out += '\\';
            out.append(keyPath.substr(start, end - start));
        }
        start = end + 1;
    }
    return out;
}

} // namespace platform
