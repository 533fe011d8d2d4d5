#pragma once

#include "cli/CliArgs.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

class CliCommand;

// Writes a usage error for command ("<error>\nUsage: velkora-cli <name> <usage>")
// to err and returns the usage exit code.
int ReportUsageError(const CliCommand& command, const std::string& error, std::ostream& err);

// Parses words against the command's declared syntax; on failure reports the
// usage error to err and returns false.
bool ParseCommandArgs(const CliCommand& command, const std::vector<std::string>& words,
                      CliArgs& args, std::ostream& err);

// Reads --service into service; a name outside the table is reported to err
// and gives false. service is left alone when the option was not given.
bool ReadServiceOption(const CliArgs& args, std::optional<int32_t>& service, std::ostream& err);

// The keys given with the repeated --affiliate option, in command-line order;
// a key that is not a number from 0 to 65535 is reported as a usage error to
// err and gives nothing.
std::optional<std::vector<uint16_t>>
ReadAffiliateKeyOptions(const CliCommand& command, const CliArgs& args, std::ostream& err);

// The repeated --affiliate KEY option that ReadAffiliateKeyOptions reads;
// help is a text that lives as long as the program (a literal).
CliOption AffiliateKeyOption(std::string_view help);

// The --service option as every command that takes one declares it.
CliOption ServiceOption(CliOccurs occurs = CliOccurs::Optional);
