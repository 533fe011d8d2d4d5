// Any bytes as a Windows installer database: the compound-file reader never
// reads outside them, ends on loops, returns a whole stream or a fault, and the
// launcher choice reads the same platform.
#include "FuzzCheck.h"

#include "package/CompoundFile.h"
#include "package/InstallerPlatform.h"
#include "package/LauncherChoice.h"
#include "package/SummaryTemplate.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string_view file = FuzzBytes(data, size);
    const auto readAt = FuzzReaderOf(file);
    const int64_t fileSize = static_cast<int64_t>(size);
    constexpr size_t kMax = 64 * 1024;
    const CompoundStream stream =
        ReadRootStream(readAt, fileSize, u"\u0005SummaryInformation", kMax);
    FUZZ_CHECK(stream.fault == CompoundFault::None || stream.bytes.empty(), "bytes beside a fault");
    FUZZ_CHECK(stream.bytes.size() <= kMax, "a stream longer than allowed");

    const std::optional<std::string> text =
        stream.fault == CompoundFault::None
            ? SummaryTemplate(stream.bytes.data(), stream.bytes.size())
            : std::nullopt;
    FUZZ_CHECK(!text || text->size() <= stream.bytes.size(), "a template longer than its stream");
    // The stream itself as a property set, so that the set reader meets any bytes.
    (void)SummaryTemplate(data, size);

    const InstallerPlatform platform = InstallerPlatformOf(readAt, fileSize);
    FUZZ_CHECK((platform == InstallerPlatform::Unreadable) == !text,
               "the platform and the template disagree");
    const ProgramKind kind = ProgramKindOfBytes(data, size);
    FUZZ_CHECK((kind == ProgramKind::Installer64) == (platform == InstallerPlatform::X64),
               "the launcher choice reads another platform");
    return 0;
}
