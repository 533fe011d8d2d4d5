#include "setupstub/SetupStart.h"

#include "model/ProgramStart.h"
#include "platform/InstallerCache.h"
#include "platform/RawFile.h"

#include <cstring>

SetupKind ClassifySetupFile(const platform::PrivateFolder& folder, const std::string& name) {
    platform::RawFile file = folder.OpenFile(name);
    if (!file.IsOpen() || !file.IsRegular())
        return SetupKind::Missing;
    char head[8] = {};
    long got = 0;
    while (got < 8) {
        long n = file.Read(head + got, sizeof head - static_cast<size_t>(got));
        if (n <= 0)
            break;
        got += n;
    }
    if (got >= 4 && std::memcmp(head,
                                "\x7f"
                                "ELF",
                                4) == 0)
        return SetupKind::Program;
    if (got >= 2 && head[0] == '#' && head[1] == '!')
        return SetupKind::Program;
    // A PE program, or an installer database (the whole compound-file
    // signature), which the system's "open" action installs.
    if (got >= 2 && head[0] == 'M' && head[1] == 'Z')
        return SetupKind::Program;
    if (got >= 8 && std::memcmp(head, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) == 0)
        return SetupKind::Program;
    return SetupKind::Document;
}

SetupStartResult StartSetup(platform::PrivateFolder& folder, const std::string& name,
                            const std::vector<std::string>& args) {
    SetupStartResult result;
    switch (ClassifySetupFile(folder, name)) {
    case SetupKind::Program: {
        const platform::ProgramRun run = folder.RunAndWait(name, args);
        if (run.outcome == platform::ProgramRun::Outcome::Finished) {
            result.outcome = SetupStartResult::Outcome::Finished;
            result.exitCode = run.exitCode;
        } else if (run.outcome == platform::ProgramRun::Outcome::NotExecutable) {
            result.outcome = SetupStartResult::Outcome::NotExecutable;
        }
        break;
    }
    case SetupKind::Document:
        if (folder.OpenDocument(name))
            result.outcome = SetupStartResult::Outcome::HandedOn;
        break;
    case SetupKind::Missing:
        break;
    }
    return result;
}

std::optional<SetupStartResult> StartFromInstallerCache(platform::PrivateFolder& folder,
                                                        const std::string& name,
                                                        const std::string& productKey) {
    platform::RawFile source = folder.OpenFile(name);
    unsigned char start[kProgramStartBytes] = {};
    if (!source.IsOpen() || !source.IsRegular() || !source.ReadAll(start, sizeof start) ||
        ProgramStartOf(start, sizeof start) != ProgramStart::Installer ||
        !platform::RunningElevated() || !source.SeekTo(0))
        return std::nullopt;
    const std::string kept = platform::KeepInstallerInCache(productKey, source, name);
    if (kept.empty())
        return std::nullopt;
    const platform::ProgramRun run = platform::RunInstallerAndWait(kept);
    if (run.outcome != platform::ProgramRun::Outcome::Finished)
        return std::nullopt;
    return SetupStartResult{SetupStartResult::Outcome::Finished, run.exitCode};
}
