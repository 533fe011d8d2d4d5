#include "cli/CliRunner.h"

#include "cli/CommandTable.h"
#include "cli/TerminalGuard.h"

#include "VelkoraVersion.h"

#include <ostream>

namespace {

void PrintCommandList(std::ostream& os) {
    os << "Usage: velkora-cli COMMAND [ARGUMENTS]\n"
          "       velkora-cli COMMAND --help\n"
          "       velkora-cli --version (also -V or version)\n\nCommands:\n";
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

bool AsksForVersion(const std::string& word) {
    return word == "--version" || word == "-V" || word == "version";
}

bool AsksForHelp(const std::string& word) {
    return word == "help" || word == "--help" || word == "-h";
}

int RunGuarded(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    if (words.empty()) {
        PrintCommandList(err);
        return kExitUsage;
    }
    const std::string& name = words[0];
    if (AsksForVersion(name)) {
        PrintVersion(out);
        return kExitOk;
    }
    if (AsksForHelp(name)) {
        // "help --help" asks for what "help" gives.
        if (words.size() < 2 || AsksForHelp(words[1])) {
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

} // namespace

int RunCli(const std::vector<std::string>& words, std::ostream& out, std::ostream& err,
           bool rawDataOut) {
    TerminalGuardStream guardedErr(err);
    if (rawDataOut && !words.empty())
        if (const auto command = FindCommand(words[0]); command && command->WritesDataToOut())
            return RunGuarded(words, out, guardedErr);
    TerminalGuardStream guardedOut(out);
    return RunGuarded(words, guardedOut, guardedErr);
}
