#pragma once

#include <cstdint>
#include <string>

class CAffProject;
class CReseller;

// The answers of the New Project wizard, UTF-8.
struct NewProjectAnswers {
    std::string title;
    std::string version;
    std::string webSite;
    std::string setupFile;
    std::string outputDir;
    std::string selfCreatorPath;
    int32_t service = 0; // index of the registration service
    std::string productId;
    std::string purchaseLink;
};

// The document's dialogs that gather a record from a person: each front end
// shows its own, tests give a fake. Each returns false when cancelled, having
// changed nothing the caller sees as an answer.
class IDocumentDialogs {
public:
    virtual ~IDocumentDialogs() = default;
    virtual bool RunNewProjectWizard(NewProjectAnswers& answers) = 0;
    // The affiliate dialog for a new affiliate. It may add a registration
    // service to the project on the way (its product ID button).
    virtual bool EditNewAffiliate(CAffProject& project, CReseller& affiliate) = 0;
    // Product Settings; true when the project was changed.
    virtual bool EditProductSettings(CAffProject& project) = 0;
    // Program Unique ID; true when uuid was changed.
    virtual bool EditProgramUuid(std::string& uuid) = 0;
};
