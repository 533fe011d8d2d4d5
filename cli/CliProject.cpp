#include "cli/CliProject.h"

#include "cli/CliError.h"
#include "model/AffProject.h"
#include "model/ModifiedTimeText.h"
#include "model/ProjectFile.h"
#include "model/ProjectSnapshot.h"

#include "platform/Clock.h"
#include "platform/FileSystem.h"

#include <memory>
#include <ostream>

namespace {

// True when result is a success; otherwise what failed goes to err, naming
// the file and, for a system error, the system's reason. A file read as
// Windows-1252 is said once there too.
bool Reported(const ProjectFileResult& result, const std::string& path, std::string_view what,
              std::ostream& err) {
    if (result.code == ProjectFileResult::Code::FileError && result.osCode != 0)
        ReportFileError(err, path, what, platform::FileStatusFromCode(result.osCode));
    else if (!result.Ok())
        ReportFileProblem(err, path, result.message);
    else if (result.readAsWindows1252)
        err << LegacyTextNotice(path) << "\n";
    return result.Ok();
}

} // namespace

bool LoadCliProject(const std::string& path, CAffProject& project, std::ostream& err) {
    if (!Reported(LoadProjectFile(path, project), path, "cannot read", err))
        return false;
    project.SetProjectPath(platform::AbsolutePath(path));
    return true;
}

bool LoadCliSnapshot(const std::string& path, CProjectSnapshot& snapshot, std::ostream& err) {
    if (!Reported(LoadProjectSnapshot(path, snapshot), path, "cannot read", err))
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
    return Reported(SaveProjectFile(path, project), path, "cannot save", err);
}

bool SaveCliSnapshot(const std::string& path, const CProjectSnapshot& snapshot, std::ostream& err) {
    return Reported(SaveProjectSnapshot(path, snapshot), path, "cannot save", err);
}

std::string FormatModifiedTime(int32_t seconds) {
    std::string text;
    ModifiedTimeText().Append(text, seconds);
    return text;
}
