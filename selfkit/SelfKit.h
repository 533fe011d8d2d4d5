#pragma once

#include "package/RegistrationList.h"

#include <functional>
#include <memory>
#include <string>

class CStampTemplate;

// What the affiliate typed into the self creator's dialog.
struct CCustomBuildRequest {
    std::string strService;     // name of the selected service as listed; empty when none
    std::string strAffiliateId; // as typed, not validated
    std::string strHomePage;    // as typed
    std::string strOutputPath;  // as typed
};

// How a start-up or a custom build ended.
enum class SelfKitStatus {
    Ok,
    Corrupted,        // own package unreadable, or its product information bad
    Cancelled,        // the affiliate pressed Cancel; nothing is shown
    NoService,        // refused: no service is offered or selected
    OutputIsWorkFile, // refused: the output path names a file the build reads
    FieldTooLong,     // refused: link or homepage longer than a reader can hold
    InfoCreateFailed, // no longer reported: the information file is made in memory
    InfoAddFailed,    // the affiliate information file cannot be written or added
    SetupAddFailed,   // the extracted setup file cannot be added
    BuildFailed,      // the package cannot be written
};

// The message shown for status (with outputPath where the text names it);
// empty for Ok and Cancelled.
std::string SelfKitMessage(SelfKitStatus status, const std::string& outputPath);

// The logic of the self creator: a package whose entry 0 is the product
// information file and entry 1 the product's setup file. It extracts its own
// entries into a temporary folder, offers the product's registration services
// and writes affiliate packages made from the embedded launcher image. When
// entry 1 is the product's signed template instead, each affiliate's custom
// setup is a copy of it with the affiliate's information stamped into the
// signature, which stays valid.
class CSelfKit {
public:
    // Called after each build step with the progress position (2..10); returns
    // false to stop the build there (Cancel). The caller may pause inside.
    using StepCallback = std::function<bool(int position)>;

    // ownPath: the self creator's own file. tempFolder: where entries and the
    // affiliate information file go.
    CSelfKit(std::string ownPath, std::string tempFolder);
    ~CSelfKit();
    CSelfKit(const CSelfKit&) = delete;
    CSelfKit& operator=(const CSelfKit&) = delete;

    // Extracts the own entries and reads the product information. Ok or
    // Corrupted (also for a carried template that cannot be stamped).
    SelfKitStatus Start();
    // Whether builds stamp the carried signed template (known after Start).
    bool StampsSignedTemplate() const { return m_stampTemplate != nullptr; }

    const COfferedServices& Services() const { return m_services; }
    // The name selected at start-up (first listed), or empty.
    std::string DefaultService() const;
    const std::string& ProgramUuid() const { return m_strUuid; }
    const std::string& SetupFilePath() const { return m_strSetupFile; }
    const std::string& TempFolder() const { return m_strTempFolder; }
    std::string InfoFilePath() const;

    // The affiliate's purchase link for service, always composed from the
    // service's endpoint; empty when service is not offered.
    std::string ComposeLink(const std::string& service, const std::string& affiliateId) const;

    // The refusals that come before a build starts (Ok when it may start).
    SelfKitStatus CheckRequest(const CCustomBuildRequest& request) const;

    // Makes the affiliate information file (entry "afflreg.dat") in memory
    // and writes the affiliate package at the request's output path, or the
    // stamped copy of the signed template, reporting each of the eight steps
    // to step.
    SelfKitStatus Build(const CCustomBuildRequest& request, const StepCallback& step);

private:
    // Steps 7 to 10 of a build from the signed template.
    SelfKitStatus BuildStamped(const std::string& info, const std::string& outputPath,
                               const std::function<bool(int)>& next) const;

    std::unique_ptr<CStampTemplate> m_stampTemplate;
    std::string m_strOwnPath;
    std::string m_strTempFolder; // ends with a separator
    std::string m_strUuid;
    std::string m_strSetupFile;
    COfferedServices m_services;
};
