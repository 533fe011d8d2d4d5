#include "cli/CliProject.h"

#include "model/AffProject.h"
#include "model/ModifiedTimeText.h"
#include "model/ProjectFile.h"
#include "model/ProjectSnapshot.h"

#include "platform/Clock.h"
#include "platform/FileSystem.h"

#include <memory>
#include <ostream>

namespace {

// True when result is a success; otherwise its message goes to err. A file
// read as Windows-1252 is said once there too.
bool Reported(const ProjectFileResult& result, const std::string& path, std::ostream& err) {
    if (!result.Ok())
        err << result.message << "\n";
    else if (result.readAsWindows1252)
        err << LegacyTextNotice(path) << "\n";
    return result.Ok();
}

} // namespace

bool LoadCliProject(const std::string& path, CAffProject& project, std::ostream& err) {
    if (!Reported(LoadProjectFile(path, project), path, err))
        return false;
    project.SetProjectPath(platform::AbsolutePath(path));
    return true;
}

bool LoadCliSnapshot(const std::string& path, CProjectSnapshot& snapshot, std::ostream& err) {
    if (!Reported(LoadProjectSnapshot(path, snapshot), path, err))
        return false;
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
    return Reported(SaveProjectFile(path, project), path, err);
}

bool SaveCliSnapshot(const std::string& path, const CProjectSnapshot& snapshot, std::ostream& err) {
    return Reported(SaveProjectSnapshot(path, snapshot), path, err);
}

std::string FormatModifiedTime(int32_t seconds) {
    std::string text;
    ModifiedTimeText().Append(text, seconds);
    return text;
}
