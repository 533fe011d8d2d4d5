#include "package/LauncherKind.h"

#include "package/LauncherChoice.h"
#include "package/PeHeader.h"

#include <algorithm>

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
    unsigned char start[kProgramStartBytes];
    const size_t length = static_cast<size_t>(std::clamp<int64_t>(imageSize, 0, sizeof start));
    if (length > 0 && read(0, start, length) &&
        ProgramKindOfStart(start, length) == ProgramKind::Elf)
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
