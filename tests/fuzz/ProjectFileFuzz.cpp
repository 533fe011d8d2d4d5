// Any bytes as a project file: loading never crashes, and whatever loads is
// saved, loaded and saved again to the same bytes.
#include "FuzzCheck.h"

#include "model/AffProject.h"
#include "model/ProjectFile.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    CAffProject project;
    if (!DecodeProject(FuzzBytes(data, size), project).Ok())
        return 0;
    const std::string saved = EncodeProject(project);
    CAffProject reloaded;
    FUZZ_CHECK(DecodeProject(saved, reloaded).Ok(), "a saved project does not load");
    FUZZ_CHECK(EncodeProject(reloaded) == saved, "save, load, save changed the bytes");
    return 0;
}
