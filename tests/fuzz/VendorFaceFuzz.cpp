// Any bytes as a vendor's setup and as a launcher image: the resource reader
// never reads outside them, and a launcher the writer rewrote is a layout
// whose resources read back with the face in them, its length a whole number
// of file alignments.
#include "FuzzCheck.h"

#include "package/VendorFace.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string_view file = FuzzBytes(data, size);
    const auto readAt = FuzzReaderOf(file);
    std::vector<ResourceItem> face = ReadVendorFace(readAt, static_cast<int64_t>(size));
    if (face.empty()) {
        ResourceItem version;
        version.type = ResourceKey::Id(kResourceVersion);
        version.name = ResourceKey::Id(1);
        version.bytes = "version";
        face.push_back(version);
    }
    std::string launcher(file);
    const FaceResult result = ApplyVendorFace(launcher, face);
    if (result != FaceResult::Applied) {
        FUZZ_CHECK(launcher == file, "a launcher changed although it was not rewritten");
        return 0;
    }
    const auto* out = reinterpret_cast<const unsigned char*>(launcher.data());
    const std::optional<PeImageLayout> layout = ReadPeImageLayout(out, launcher.size());
    FUZZ_CHECK(layout.has_value(), "a rewritten launcher whose headers do not read");
    FUZZ_CHECK(launcher.size() % layout->fileAlignment == 0, "a launcher cut inside an alignment");
    const std::optional<std::vector<ResourceItem>> items = ReadResourceItems(
        [out](int64_t pos, void* buffer, size_t length) {
            std::memcpy(buffer, out + pos, length);
            return true;
        },
        static_cast<int64_t>(launcher.size()), *layout);
    FUZZ_CHECK(items.has_value(), "a rewritten resource tree that does not read");
    for (const ResourceItem& wanted : face) {
        bool found = false;
        for (const ResourceItem& item : *items)
            found = found || (item.type == wanted.type && item.name == wanted.name &&
                              item.language == wanted.language && item.bytes == wanted.bytes);
        FUZZ_CHECK(found, "a face item missing from the rewritten launcher");
    }
    return 0;
}
