#include "platform/FileReplace.h"
#include "platform/PathText.h"
#include "platform/Uuid.h"

#include <algorithm>
#include <cctype>

namespace platform {
namespace {

constexpr size_t kNameKept = 100;
constexpr size_t kUuidLength = 36;
constexpr std::string_view kSuffix = ".tmp";

bool IsUuidText(std::string_view text) {
    if (text.size() != kUuidLength)
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i])))
            return false;
    }
    return true;
}

} // namespace

std::string TemporaryPathBeside(const std::string& target) {
    const size_t cut = LastSeparator(target, HostPathStyle());
    const std::string folder = cut == std::string::npos ? std::string() : target.substr(0, cut + 1);
    const std::string name = cut == std::string::npos ? target : target.substr(cut + 1);
    // Short enough for the file system whatever the target's name.
    return folder + "." + name.substr(0, kNameKept) + "." + NewUuidText() + std::string(kSuffix);
}

bool IsTemporaryNameFor(std::string_view name, std::string_view targetName) {
    const std::string_view kept = targetName.substr(0, kNameKept);
    const size_t expected = 1 + kept.size() + 1 + kUuidLength + kSuffix.size();
    if (name.size() != expected || name.front() != '.' || name.substr(1, kept.size()) != kept ||
        name[1 + kept.size()] != '.' || name.substr(name.size() - kSuffix.size()) != kSuffix)
        return false;
    return IsUuidText(name.substr(2 + kept.size(), kUuidLength));
}

} // namespace platform
