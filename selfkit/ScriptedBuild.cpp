#include "selfkit/ScriptedBuild.h"

#include "selfkit/SelfKitTexts.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

struct Option {
    std::string_view name;
    std::string CCustomBuildRequest::*field;
    bool required;
};

constexpr std::array<Option, 4> kOptions{{
    {"--service", &CCustomBuildRequest::strService, false},
    {"--affiliate-id", &CCustomBuildRequest::strAffiliateId, true},
    {"--homepage", &CCustomBuildRequest::strHomePage, false},
    {"--output", &CCustomBuildRequest::strOutputPath, true},
}};

const Option* FindOption(std::string_view name) {
    const auto found = std::find_if(kOptions.begin(), kOptions.end(),
                                    [&](const Option& o) { return o.name == name; });
    return found == kOptions.end() ? nullptr : &*found;
}

CScriptedArguments Bad(std::string error) {
    CScriptedArguments parsed;
    parsed.mode = ScriptedMode::Bad;
    parsed.strError = std::move(error);
    return parsed;
}

std::string OfferedList(const COfferedServices& services) {
    std::string list;
    for (const std::string& name : services.names)
        list += (list.empty() ? "" : ", ") + name;
    return list;
}

} // namespace

CScriptedArguments ParseScriptedArguments(const std::vector<std::string>& args) {
    CScriptedArguments parsed;
    if (args.empty())
        return parsed;
    std::array<bool, kOptions.size()> seen{};
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            parsed.mode = ScriptedMode::Help;
            return parsed;
        }
        const size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const Option* option = FindOption(name);
        if (!option)
            return Bad("unknown argument: " + arg);
        const auto index = static_cast<size_t>(option - kOptions.data());
        if (seen[index])
            return Bad("option given twice: " + name);
        seen[index] = true;
        if (equals != std::string::npos) {
            parsed.request.*(option->field) = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            parsed.request.*(option->field) = args[++i];
        } else {
            return Bad("option needs a value: " + name);
        }
    }
    for (size_t i = 0; i < kOptions.size(); ++i)
        if (kOptions[i].required && !seen[i])
            return Bad("missing option: " + std::string(kOptions[i].name));
    if (parsed.request.strOutputPath.empty())
        return Bad("--output needs a file name");
    parsed.mode = ScriptedMode::Build;
    return parsed;
}

std::string ScriptedUsage(std::string_view program) {
    return "Usage: " + std::string(program) +
           " --service NAME --affiliate-id ID [--homepage URL] --output PATH\n"
           "Writes a custom setup file without a window. Without --service the registration\n"
           "service listed first is used. Without arguments the dialog opens.\n";
}

int RunScriptedBuild(CSelfKit& kit, CCustomBuildRequest request, std::ostream& err) {
    if (kit.Start() != SelfKitStatus::Ok) {
        err << SelfKitMessage(SelfKitStatus::Corrupted, {}) << '\n';
        return 1;
    }
    if (request.strService.empty())
        request.strService = kit.DefaultService();
    const auto& offered = kit.Services();
    if (!offered.IsEmpty() && offered.mapProductIds.count(request.strService) == 0) {
        err << "This build offers no registration service named \"" << request.strService
            << "\". It offers: " << OfferedList(offered) << '\n';
        return 1;
    }
    const SelfKitStatus status = kit.Build(request, {});
    if (status != SelfKitStatus::Ok) {
        err << SelfKitMessage(status, request.strOutputPath) << '\n';
        return 1;
    }
    err << selfkit_text::kSuccess << '\n';
    return 0;
}

int RunScriptedCommand(const CScriptedArguments& parsed, CSelfKit& kit, std::ostream& out,
                       std::ostream& err) {
    switch (parsed.mode) {
    case ScriptedMode::Build:
        return RunScriptedBuild(kit, parsed.request, err);
    case ScriptedMode::Help:
        out << ScriptedUsage(parsed.strProgram);
        return 0;
    case ScriptedMode::Bad:
        err << parsed.strProgram << ": " << parsed.strError << '\n'
            << ScriptedUsage(parsed.strProgram);
        return 1;
    case ScriptedMode::Dialog:
        break;
    }
    return 1;
}
