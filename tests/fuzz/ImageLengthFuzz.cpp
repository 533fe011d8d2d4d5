// Any bytes as the launcher's own file: the image length is read without a
// read outside the file, and when there is one it lies inside the file and
// does not change with bytes appended behind it.
#include "FuzzCheck.h"

#include "setupstub/ImageLength.h"

#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string_view file = FuzzBytes(data, size);
    const std::string longer = std::string(file) + "!KOVA_SFX!";
    const int64_t length = ExecutableImageLength(FuzzReaderOf(file), static_cast<int64_t>(size));
    FUZZ_CHECK(length >= -1 && length <= static_cast<int64_t>(size), "a length outside the file");
    if (length >= 0) {
        const int64_t again =
            ExecutableImageLength(FuzzReaderOf(longer), static_cast<int64_t>(longer.size()));
        FUZZ_CHECK(again == length, "appended bytes changed the image");
    }
    return 0;
}
