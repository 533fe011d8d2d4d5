#pragma once

#include "cli/CliArgs.h"

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
    // One line for the command list.
    virtual std::string_view Summary() const = 0;
    // The command's declared arguments and options.
    virtual CliSyntax Syntax() const = 0;

    // True when the command writes a file's bytes (not text) to out: they go
    // unchanged to a file or pipe, escaped like all text only on a terminal.
    virtual bool WritesDataToOut() const { return false; }

    // Arguments after the name, as shown in help ("FILE.vkp [--json]").
    std::string Usage() const;

    // Parses words (the words after the command name) against Syntax and runs
    // the command; "--help" or "-h" prints the command's help to out instead.
    int Execute(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

protected:
    // Runs the command with arguments that match Syntax.
    virtual int Run(const CliArgs& args, std::ostream& out, std::ostream& err) = 0;
};

// "Usage: velkora-cli NAME USAGE", the summary and the option list.
void PrintCommandHelp(const CliCommand& command, std::ostream& out);
