#include "cli/ProductOptions.h"

#include "model/AffProject.h"

#include <string>
#include <utility>

namespace {

using ProductText = std::pair<std::string_view, std::string CAffProject::*>;

constexpr ProductText kProductTexts[] = {
    {"title", &CAffProject::m_strTitle},
    {"version", &CAffProject::m_strVersion},
    {"website", &CAffProject::m_strWebSite},
    {"setup-file", &CAffProject::m_strSetupFile},
    {"output-dir", &CAffProject::m_strOutputDir},
    {"self-creator-path", &CAffProject::m_strSelfCreatorPath},
};

} // namespace

std::vector<CliOption> ProductTextOptions(std::vector<CliOption> extra) {
    std::vector<CliOption> options;
    for (const auto& [name, field] : kProductTexts)
        options.push_back({name, true});
    options.insert(options.end(), extra.begin(), extra.end());
    return options;
}

void CopyProductTexts(const CliArgs& args, CAffProject& project) {
    for (const auto& [name, field] : kProductTexts)
        if (args.Has(name))
            project.*field = args.Value(name);
}
