#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

// How often an option may appear on a command line.
enum class CliOccurs { Optional, Required, Repeated };

// An option a command accepts: "--name VALUE" (or "--name=VALUE") when it takes
// a value, a plain "--name" flag otherwise. The same entry drives parsing,
// the usage line, `help COMMAND` and the manual page.
struct CliOption {
    std::string_view name; // without the leading "--"
    bool takesValue = false;
    std::string_view valueName = {}; // placeholder shown in usage ("T")
    std::string_view help = {};      // one line for the option list
    CliOccurs occurs = CliOccurs::Optional;
};

// The declared command line of one command: its positional arguments, all
// required and in this order, and its options.
struct CliSyntax {
    std::vector<std::string_view> arguments; // placeholders ("FILE.vkp", "KEY")
    std::vector<CliOption> options;
    // When set ("ARGS"), the words after "--" are handed on as they are
    // (CliArgs::Rest) instead of being read as positionals.
    std::string_view rest = {};
};

// The usage text after the command name: "FILE.vkp --title T [--json]".
std::string UsageText(const CliSyntax& syntax);

// True when words ask for help ("--help" or "-h" before any "--").
bool AsksForHelp(const std::vector<std::string>& words);

// The words of one command line split into positionals and options.
class CliArgs {
public:
    // Fails with a one-line message on an unknown or repeated option, a
    // missing value, or a positional count outside [minPositionals, maxPositionals].
    bool Parse(const std::vector<std::string>& words, const std::vector<CliOption>& options,
               size_t minPositionals, size_t maxPositionals, std::string& error);

    // Parses against a declared syntax: exactly its arguments, and the words
    // after "--" as the rest when the syntax takes one. Option values must be
    // valid UTF-8.
    bool Parse(const std::vector<std::string>& words, const CliSyntax& syntax, std::string& error);

    // The words after "--" of a syntax with a rest; empty otherwise.
    const std::vector<std::string>& Rest() const { return m_rest; }

    const std::vector<std::string>& Positionals() const { return m_positionals; }
    bool Has(std::string_view name) const { return m_options.count(std::string(name)) != 0; }
    // The option's value; empty when it was not given. For a repeated option, the last.
    std::string Value(std::string_view name) const;
    // Every value of the option in command-line order.
    std::vector<std::string> Values(std::string_view name) const;
    bool AnyOption() const { return !m_options.empty(); }

private:
    bool OptionsAreUtf8(std::string& error) const;

    std::vector<std::string> m_positionals;
    std::multimap<std::string, std::string> m_options;
    std::vector<std::string> m_rest;
};
