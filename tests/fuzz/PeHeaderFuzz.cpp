// Any bytes as a Windows program: the header reader never reads outside them,
// stops with a fault or reads the format, and every reader that calls it
// (the launcher choice, the launcher facts, the signature table) agrees with
// what it read.
#include "FuzzCheck.h"

#include "package/LauncherChoice.h"
#include "package/LauncherKind.h"
#include "package/PeHeader.h"
#include "package/SignatureTable.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string_view file = FuzzBytes(data, size);
    const auto readAt = FuzzReaderOf(file);
    const int64_t fileSize = static_cast<int64_t>(size);
    const PeHeader header = ReadPeHeader(readAt, fileSize);
    const bool formatRead = header.format != PeFormat::None;
    FUZZ_CHECK(formatRead ==
                   (header.fault == PeFault::None || header.fault == PeFault::DirectoriesOutside),
               "the format and the fault disagree");
    FUZZ_CHECK(!header.security || header.fault == PeFault::None,
               "a security directory beside a fault");

    const ProgramKind kind = ProgramKindOfBytes(data, size);
    if (kind != ProgramKind::Installer && kind != ProgramKind::Installer64 &&
        kind != ProgramKind::Elf) {
        FUZZ_CHECK((kind == ProgramKind::Windows32) == (header.format == PeFormat::Pe32) &&
                       (kind == ProgramKind::Windows64) == (header.format == PeFormat::Pe32Plus),
                   "the launcher choice reads another format");
    }

    const std::optional<int64_t> table = CertificateTableOffset(readAt, fileSize);
    FUZZ_CHECK(!table || (header.security && *table + header.security->size == fileSize),
               "a certificate table that does not end the file");
    if (const std::optional<int64_t> end = SignedPackageEnd(readAt, fileSize)) {
        FUZZ_CHECK(table && *end <= *table && *end >= *table - 7, "padding longer than 7 bytes");
    }

    (void)ReadLauncherFacts(readAt, fileSize);
    return 0;
}
