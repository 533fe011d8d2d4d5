#include "cli/ProductOptions.h"

#include "model/AffProject.h"

#include <string>
#include <utility>

namespace {

struct ProductText {
    std::string_view name;
    std::string_view valueName;
    std::string_view help;
    std::string CAffProject::*field;
    bool path = false; // stored relative to the project's folder when inside it
};

constexpr ProductText kProductTexts[] = {
    {"title", "T", "The product's title.", &CAffProject::m_strTitle},
    {"version", "V", "The product's version.", &CAffProject::m_strVersion},
    {"website", "W", "The product's web site.", &CAffProject::m_strWebSite},
    {"setup-file", "F", "The product's own setup program.", &CAffProject::m_strSetupFile, true},
    {"output-dir", "D", "Folder for the custom setup files.", &CAffProject::m_strOutputDir, true},
    {"self-creator-path", "P", "Where the self creator is written.",
     &CAffProject::m_strSelfCreatorPath, true},
};

} // namespace

std::vector<CliOption> ProductTextOptions(std::vector<CliOption> extra, CliOccurs occurs) {
    std::vector<CliOption> options;
    for (const ProductText& text : kProductTexts)
        options.push_back({text.name, true, text.valueName, text.help, occurs});
    options.insert(options.end(), extra.begin(), extra.end());
    return options;
}

void CopyProductTexts(const CliArgs& args, CAffProject& project) {
    for (const ProductText& text : kProductTexts)
        if (args.Has(text.name))
            project.*text.field =
                text.path ? project.StoredPath(args.Value(text.name)) : args.Value(text.name);
}
