#include "platform/FileReplace.h"
#include "platform/PathText.h"
#include "platform/Uuid.h"

namespace platform {

std::string TemporaryPathBeside(const std::string& target) {
    const size_t cut = LastSeparator(target, HostPathStyle());
    const std::string folder = cut == std::string::npos ? std::string() : target.substr(0, cut + 1);
    const std::string name = cut == std::string::npos ? target : target.substr(cut + 1);
    // Short enough for the file system whatever the target's name.
    return folder + "." + name.substr(0, 100) + "." + NewUuidText() + ".tmp";
}

} // namespace platform
