#include "cli/CliCommand.h"

#include "cli/CommandArgs.h"

#include <algorithm>
#include <ostream>

namespace {

std::string OptionLabel(const CliOption& option) {
    std::string label = "--" + std::string(option.name);
    if (option.takesValue)
        label += " " + std::string(option.valueName.empty() ? "VALUE" : option.valueName);
    return label;
}

} // namespace

std::string CliCommand::Usage() const {
    return UsageText(Syntax());
}

int CliCommand::Execute(const std::vector<std::string>& words, std::ostream& out,
                        std::ostream& err) {
    if (AsksForHelp(words)) {
        PrintCommandHelp(*this, out);
        return kExitOk;
    }
    CliArgs args;
    if (!ParseCommandArgs(*this, words, args, err))
        return kExitUsage;
    return Run(args, out, err);
}

void PrintCommandHelp(const CliCommand& command, std::ostream& out) {
    const CliSyntax syntax = command.Syntax();
    out << "Usage: velkora-cli " << command.Name() << " " << UsageText(syntax) << "\n"
        << command.Summary() << "\n\nOptions:\n";
    size_t width = std::string_view("-h, --help").size();
    for (const CliOption& option : syntax.options)
        width = std::max(width, OptionLabel(option).size());
    for (const CliOption& option : syntax.options) {
        const std::string label = OptionLabel(option);
        out << "  " << label << std::string(width - label.size() + 2, ' ') << option.help << "\n";
    }
    out << "  -h, --help" << std::string(width - 10 + 2, ' ') << "Show this help and exit.\n";
}
