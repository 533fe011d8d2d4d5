#include "app/ProductSettingsForm.h"

#include "app/AppTexts.h"
#include "app/FileChoices.h"
#include "model/AffProject.h"
#include "model/ProjectPaths.h"
#include "platform/HostPath.h"

ProductSettingsForm ProductSettingsForm::Load(const CAffProject& project) {
    ProductSettingsForm form;
    form.title = project.m_strTitle;
    form.version = project.m_strVersion;
    form.webSite = project.m_strWebSite;
    form.setupFile = project.m_strSetupFile;
    form.outputDir = project.m_strOutputDir;
    form.selfCreatorPath = project.m_strSelfCreatorPath;
    form.defaultService = project.m_wDefaultService;
    form.regRows = CRegInfoRows::Of(project);
    return form;
}

void ProductSettingsForm::Store(CAffProject& project) const {
    if (regPageShown)
        regRows.CommitTo(project);
    project.m_strTitle = title;
    project.m_strWebSite = webSite;
    project.m_strVersion = version;
    project.m_strSetupFile = setupFile;
    project.m_strOutputDir = outputDir;
    project.m_strSelfCreatorPath = selfCreatorPath;
    project.m_wDefaultService = defaultService;
}

std::string ProjectFieldPath(const CAffProject& project, const std::string& chosen) {
    std::string relative = project.MakeProjectRelative(chosen);
    return relative.empty() ? chosen : relative;
}

FileChoice SettingsSetupFileChoice(const std::string& typed) {
    FileChoice choice;
    choice.initialPath = typed;
    choice.filters = SetupFileChoices();
    return choice;
}

FolderChoice SettingsOutputFolderChoice(const CAffProject& project, const std::string& typed) {
    return {std::string(apptext::kFolderBrowserCaption),
            std::string(apptext::kFolderBrowserInstruction), project.ResolveProjectPath(typed)};
}

FileChoice SelfCreatorFileChoice(bool confirmOverwrite) {
    FileChoice choice;
    choice.initialPath = projectpaths::JoinPath(platform::CurrentDirectory(),
                                                std::string(apptext::kSelfCreatorFileName),
                                                platform::HostPathStyle());
    choice.filters = ParseFilterChoices(std::string(apptext::kExecutableFilter));
    choice.defaultSuffix = "exe";
    choice.confirmOverwrite = confirmOverwrite;
    return choice;
}
