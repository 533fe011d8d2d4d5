#pragma once

#include "app/AppPrompts.h"
#include "app/RegInfoRows.h"

#include <cstdint>
#include <string>

class CAffProject;

// The copies the Product Settings dialog edits, and the rules that load and
// store them. The project changes only in Store (on OK).
struct ProductSettingsForm {
    // General Info
    std::string title;
    std::string version;
    std::string webSite;
    // Setup Files
    std::string setupFile;
    std::string outputDir;
    std::string selfCreatorPath;
    // Registration Info: the rows reach the project only when the page was shown.
    uint16_t defaultService = 0;
    CRegInfoRows regRows;
    bool regPageShown = false;

    static ProductSettingsForm Load(const CAffProject& project);
    // Writes the copies (and the rows of a page that was shown) into project.
    // No field is checked; the caller marks the project modified on every OK.
    void Store(CAffProject& project) const;
};

// A path picked in one of the Setup Files page's choosers, as the field keeps
// it: relative to the project's folder where possible, else the full path.
std::string ProjectFieldPath(const CAffProject& project, const std::string& chosen);

// The choosers of the Setup Files page, opened on the field's current text.
FileChoice SettingsSetupFileChoice(const std::string& typed);
FolderChoice SettingsOutputFolderChoice(const CAffProject& project, const std::string& typed);
// The self creator's file: "VelkSelfMaker.exe" in the current folder.
FileChoice SelfCreatorFileChoice(bool confirmOverwrite);
