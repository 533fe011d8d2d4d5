#include "package/InstallerPlatform.h"

#include "model/TextCase.h"
#include "package/SummaryTemplate.h"

namespace {

constexpr std::u16string_view kSummaryStream = u"\u0005SummaryInformation";
// A summary property set holds a few hundred bytes.
constexpr size_t kMaxSummaryBytes = size_t{64} * 1024;

} // namespace

InstallerPlatform InstallerPlatformOfTemplate(std::string_view text) {
    std::string_view platform = text.substr(0, text.find(';'));
    while (!platform.empty() && platform.front() == ' ')
        platform.remove_prefix(1);
    while (!platform.empty() && platform.back() == ' ')
        platform.remove_suffix(1);
    if (platform.empty() || EqualsIgnoringCase(platform, "Intel"))
        return InstallerPlatform::Intel;
    if (EqualsIgnoringCase(platform, "x64") || EqualsIgnoringCase(platform, "AMD64"))
        return InstallerPlatform::X64;
    return InstallerPlatform::Other;
}

InstallerPlatform InstallerPlatformOf(const CompoundReadAt& read, int64_t size) {
    const CompoundStream stream = ReadRootStream(read, size, kSummaryStream, kMaxSummaryBytes);
    if (stream.fault != CompoundFault::None)
        return InstallerPlatform::Unreadable;
    const std::optional<std::string> text =
        SummaryTemplate(stream.bytes.data(), stream.bytes.size());
    return text ? InstallerPlatformOfTemplate(*text) : InstallerPlatform::Unreadable;
}
