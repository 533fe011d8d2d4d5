#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

// Exit codes of velkora-cli.
enum CliExit : int { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

// One sub-command of velkora-cli. Commands write results to out and the
// system's messages to err, so tests can run them in-process.
class CliCommand {
public:
    virtual ~CliCommand() = default;

    // The word that selects the command ("show").
    virtual std::string_view Name() const = 0;
    // Arguments after the name, as shown in help ("FILE.vkp [--json]").
    virtual std::string_view Usage() const = 0;
    // One line for the command list.
    virtual std::string_view Summary() const = 0;

    // args are the words after the command name.
    virtual int Execute(const std::vector<std::string>& args, std::ostream& out,
                        std::ostream& err) = 0;
};
