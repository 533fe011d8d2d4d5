// Any bytes as a package file: the trailer reader either refuses them or
// gives entries that lie wholly inside the file before the trailer, with
// names a folder can hold, and whose encoding is the file's own tail.
#include "FuzzCheck.h"

#include "package/PackageTrailer.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string_view file = FuzzBytes(data, size);
    const auto readAt = [&](int64_t pos, void* buffer, size_t length) {
        if (pos < 0 || static_cast<uint64_t>(pos) > file.size() ||
            length > file.size() - static_cast<size_t>(pos))
            return false;
        std::memcpy(buffer, file.data() + pos, length);
        return true;
    };
    CPackageTrailer trailer;
    const SfxResult result = trailer.DecodeFrom(readAt, static_cast<int64_t>(file.size()));
    if (result != SFX_OK) {
        FUZZ_CHECK(trailer.m_entries.empty(), "a refused trailer left entries");
        return 0;
    }
    FUZZ_CHECK(!trailer.m_entries.empty(), "SFX_OK without entries");
    FUZZ_CHECK(trailer.m_entries.size() <= static_cast<size_t>(kSfxMaxEntries), "too many entries");
    const size_t length = trailer.EncodedLength();
    FUZZ_CHECK(length <= file.size(), "trailer longer than the file");
    const int64_t trailerStart = static_cast<int64_t>(file.size() - length);
    for (const CSfxEntry& entry : trailer.m_entries) {
        FUZZ_CHECK(IsValidSfxEntryName(entry.m_strName), "an entry name a folder cannot hold");
        FUZZ_CHECK(entry.m_nOffset >= 0 && entry.m_nSize >= 0, "negative offset or size");
        FUZZ_CHECK(int64_t{entry.m_nOffset} + entry.m_nSize <= trailerStart,
                   "a payload outside the file");
    }
    std::string encoded;
    trailer.EncodeTo(encoded);
    FUZZ_CHECK(encoded.size() == length, "EncodedLength differs from EncodeTo");
    FUZZ_CHECK(file.substr(file.size() - length) == encoded, "the trailer does not re-encode");
    return 0;
}
