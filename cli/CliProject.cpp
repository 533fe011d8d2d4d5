#include "cli/CliProject.h"

#include "model/AffProject.h"
#include "model/ProjectFile.h"
#include "model/ProjectSnapshot.h"

#include "platform/Clock.h"
#include "platform/FileSystem.h"

#include <ctime>
#include <memory>
#include <ostream>

bool LoadCliProject(const std::string& path, CAffProject& project, std::ostream& err) {
    const ProjectFileResult result = LoadProjectFile(path, project);
    if (!result.Ok()) {
        err << result.message << "\n";
        return false;
    }
    project.SetProjectPath(platform::AbsolutePath(path));
    return true;
}

bool LoadCliSnapshot(const std::string& path, CProjectSnapshot& snapshot, std::ostream& err) {
    const ProjectFileResult result = LoadProjectSnapshot(path, snapshot);
    if (!result.Ok()) {
        err << result.message << "\n";
        return false;
    }
    snapshot.product.SetProjectPath(platform::AbsolutePath(path));
    return true;
}

void AttachCliProject(const std::string& path, CAffProject& project) {
    project.SetProjectPath(platform::AbsolutePath(path));
}

bool RequireAffiliate(const CAffProject& project, uint16_t key, const std::string& path,
                      std::ostream& err) {
    if (project.LookupReseller(key))
        return true;
    err << "No affiliate with key " << key << " in '" << path << "'.\n";
    return false;
}

bool LoadCliProjectWithAffiliates(const std::string& path, const std::vector<uint16_t>& keys,
                                  CAffProject& project, std::ostream& err) {
    if (!LoadCliProject(path, project, err))
        return false;
    for (const uint16_t key : keys)
        if (!RequireAffiliate(project, key, path, err))
            return false;
    return true;
}

bool SaveCliProject(const std::string& path, const CAffProject& project, std::ostream& err) {
    const ProjectFileResult result = SaveProjectFile(path, project);
    if (!result.Ok()) {
        err << result.message << "\n";
        return false;
    }
    return true;
}

bool SaveCliSnapshot(const std::string& path, const CProjectSnapshot& snapshot,
                     std::ostream& err) {
    const ProjectFileResult result = SaveProjectSnapshot(path, snapshot);
    if (!result.Ok()) {
        err << result.message << "\n";
        return false;
    }
    return true;
}

namespace {

void AppendDigits(std::string& out, int value, int width) {
    char digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 && n < static_cast<int>(sizeof digits));
    for (int i = n; i < width; ++i)
        out += '0';
    while (n > 0)
        out += digits[--n];
}

} // namespace

void AppendModifiedTime(std::string& out, int32_t seconds) {
    // Written out by hand: at tens of thousands of affiliates the general
    // formatter costs more than the rest of a row.
    std::tm parts{};
    if (!platform::LocalTimeParts(seconds, parts) || parts.tm_year < -1900)
        return;
    AppendDigits(out, parts.tm_year + 1900, 4);
    out += '-';
    AppendDigits(out, parts.tm_mon + 1, 2);
    out += '-';
    AppendDigits(out, parts.tm_mday, 2);
    out += ' ';
    AppendDigits(out, parts.tm_hour, 2);
    out += ':';
    AppendDigits(out, parts.tm_min, 2);
}

std::string FormatModifiedTime(int32_t seconds) {
    std::string text;
    AppendModifiedTime(text, seconds);
    return text;
}
