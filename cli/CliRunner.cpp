#include "cli/CliRunner.h"

#include "cli/CommandTable.h"

#include "VelkoraVersion.h"

#include <ostream>

namespace {

void PrintCommandList(std::ostream& os) {
    os << "Usage: velkora-cli COMMAND [ARGUMENTS]\n"
          "       velkora-cli COMMAND --help\n"
          "       velkora-cli --version\n\nCommands:\n";
    for (const CliCommandFactory make : CommandTable()) {
        const auto command = make();
        os << "  " << command->Name() << " " << command->Usage() << "\n      " << command->Summary()
           << "\n";
    }
    os << "\nRelative paths given to options are taken relative to the project file's folder.\n"
          "Run 'velkora-cli help COMMAND' for one command.\n";
}

void PrintVersion(std::ostream& os) {
    os << "velkora-cli " VELKORA_VERSION "\n" VELKORA_COPYRIGHT "\n" VELKORA_LICENSE "\n";
}

int ReportUnknownCommand(const std::string& name, std::ostream& err) {
    err << "Unknown command '" << name << "'. Run 'velkora-cli help' for the list.\n";
    return kExitUsage;
}

} // namespace

int RunCli(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    if (words.empty()) {
        PrintCommandList(err);
        return kExitUsage;
    }
    const std::string& name = words[0];
    if (name == "--version") {
        PrintVersion(out);
        return kExitOk;
    }
    if (name == "help" || name == "--help" || name == "-h") {
        if (words.size() < 2) {
            PrintCommandList(out);
            return kExitOk;
        }
        const auto command = FindCommand(words[1]);
        if (!command)
            return ReportUnknownCommand(words[1], err);
        PrintCommandHelp(*command, out);
        return kExitOk;
    }
    const auto command = FindCommand(name);
    if (!command)
        return ReportUnknownCommand(name, err);
    return command->Execute(std::vector<std::string>(words.begin() + 1, words.end()), out, err);
}
