#include "package/LauncherKind.h"

#include "package/PeHeader.h"

#include <cstring>

std::string_view LauncherKindName(LauncherKind kind) {
    switch (kind) {
    case LauncherKind::Linux:
        return "Linux";
    case LauncherKind::I686:
        return "i686";
    case LauncherKind::X86_64:
        return "x86_64";
    case LauncherKind::Unknown:
        break;
    }
    return "unknown";
}

LauncherFacts ReadLauncherFacts(const std::function<bool(int64_t, void*, size_t)>& read,
                                int64_t imageSize) {
    char magic[4];
    if (imageSize >= 4 && read(0, magic, 4) && std::memcmp(magic, "\x7F" "ELF", 4) == 0)
        return {LauncherKind::Linux, false};
    const PeHeader pe = ReadPeHeader(read, imageSize);
    LauncherFacts facts;
    if (pe.format == PeFormat::Pe32)
        facts.kind = LauncherKind::I686;
    else if (pe.format == PeFormat::Pe32Plus)
        facts.kind = LauncherKind::X86_64;
    facts.signedImage = pe.security && pe.security->size != 0;
    return facts;
}
