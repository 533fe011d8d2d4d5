#include "cli/CliProject.h"

#include "model/AffProject.h"
#include "model/ProjectFile.h"
#include "model/RegistrationServices.h"
#include "model/TextCase.h"

#include "platform/Clock.h"
#include "platform/FileSystem.h"

#include <cctype>
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

bool SaveCliProject(const std::string& path, const CAffProject& project, std::ostream& err) {
    const ProjectFileResult result = SaveProjectFile(path, project);
    if (!result.Ok()) {
        err << result.message << "\n";
        return false;
    }
    return true;
}

int32_t ParseServiceName(const std::string& name) {
    // Unlike ServiceIndexFromName, a typo must not quietly become "Other".
    for (const auto& service : ServiceTable())
        if (EqualsIgnoringCase(service.name, name))
            return service.nIndex;
    return -1;
}

std::string UnknownServiceMessage(const std::string& name) {
    std::string message = "Unknown registration service '" + name + "'. Use one of:";
    for (const auto& service : ServiceTable())
        message += " " + std::string(service.name);
    return message + ".";
}

std::string ServiceLabel(int32_t index) {
    const std::string_view name = ServiceNameFromIndex(index);
    return name.empty() ? "#" + std::to_string(index) : std::string(name);
}

std::string FormatModifiedTime(int32_t seconds) {
    return platform::FormatLocalTime(seconds, "%Y-%m-%d %H:%M");
}
