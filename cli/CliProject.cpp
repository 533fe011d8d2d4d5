#include "cli/CliProject.h"

#include "cli/ModifiedTimeText.h"
#include "model/AffProject.h"
#include "model/ProjectFile.h"
#include "model/ProjectSnapshot.h"

#include "platform/Clock.h"
#include "platform/FileSystem.h"

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

bool SaveCliSnapshot(const std::string& path, const CProjectSnapshot& snapshot, std::ostream& err) {
    const ProjectFileResult result = SaveProjectSnapshot(path, snapshot);
    if (!result.Ok()) {
        err << result.message << "\n";
        return false;
    }
    return true;
}

std::string FormatModifiedTime(int32_t seconds) {
    std::string text;
    ModifiedTimeText().Append(text, seconds);
    return text;
}
