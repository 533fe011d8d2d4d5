#pragma once

#include "platform/Clock.h"

#include <string>

class CAffProject;
class IBuildLogSink;

// How a self creator build ended; every failure has been logged with a beep.
enum class SelfCreatorResult {
    Built,
    InfoCreateFailed, // the temporary product information file cannot be created
    InfoAddFailed,    // it cannot be written or added to the package
    SetupAddFailed,   // the product's setup file cannot be read
    BuildFailed,      // the package cannot be written
    OutputRefused,    // the output is the project file, the setup file or an affiliate's
    TemplateRefused,  // the signed template is not the product's, not signed, or unreadable
};

// Writes the self creator of a product: a package made from the embedded self
// creator image that the product's affiliates can run (template 129, or the
// Windows one of the setup's machine type: package/SelfCreatorChoice.h) whose
// entry 0 is the product information file (program UUID and registration
// list) and entry 1 the product's setup file.
// With a signed template of the product, entry 1 is that template instead:
// the self creator then stamps each affiliate's copy of it, so what an
// affiliate makes keeps the vendor's signature.
// Runs to its end on the calling thread and reports every step to the log.
class CSelfCreatorBuilder {
public:
    explicit CSelfCreatorBuilder(IBuildLogSink& log, platform::Clock clock = platform::SystemNow);

    // Formerly the folder of the temporary product information file, which
    // is now made in memory; kept for callers, it changes nothing.
    void SetTempFolder(std::string folder) { m_strTempFolder = std::move(folder); }

    // The signed template to carry instead of the setup file (a path relative
    // to the project's folder, or absolute); empty: the setup file. It must be
    // the product's and signed, as stamping asks (package/SetupTemplate.h).
    void SetSignedTemplate(std::string path) { m_strSignedTemplate = std::move(path); }

    // Builds into m_strSelfCreatorPath. When that is empty it becomes the
    // output folder followed by "VelkSMNG.exe" ("VelkSMNG" when the self
    // creator is a Linux program: model/DerivedFileName.h) and stays so (the caller
    // decides whether that marks the project modified). Relative paths of the
    // project resolve against its folder once it has one.
    SelfCreatorResult Build(CAffProject& project);

private:
    IBuildLogSink& m_log;
    platform::Clock m_clock;
    std::string m_strTempFolder;
    std::string m_strSignedTemplate;
};
