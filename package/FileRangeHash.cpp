#include "package/FileRangeHash.h"

#include "package/Sha256.h"

#include <algorithm>
#include <vector>

namespace {

// Hashing reads in larger pieces than a build copies: nothing is written and
// the buffer lives only for the call.
constexpr size_t kHashBufferSize = size_t{64} * 1024;

} // namespace

std::string HashFileRange(platform::RawFile& file, int64_t pos, int64_t length) {
    if (!file.SeekTo(pos))
        return {};
    CSha256 sha;
    std::vector<char> buffer(kHashBufferSize);
    while (length > 0) {
        const size_t want = static_cast<size_t>(std::min<int64_t>(length, kHashBufferSize));
        const long got = file.Read(buffer.data(), want);
        if (got <= 0)
            return {};
        sha.Update(buffer.data(), static_cast<size_t>(got));
        length -= got;
    }
    return CSha256::Hex(sha.Finish());
}
