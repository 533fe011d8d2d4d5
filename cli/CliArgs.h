#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

// An option a command accepts: "--name VALUE" (or "--name=VALUE") when it takes
// a value, a plain "--name" flag otherwise.
struct CliOption {
    std::string_view name; // without the leading "--"
    bool takesValue;
};

// The words of one command line split into positionals and options.
class CliArgs {
public:
    // Fails with a one-line message on an unknown or repeated option, a
    // missing value, or a positional count outside [minPositionals, maxPositionals].
    bool Parse(const std::vector<std::string>& words, const std::vector<CliOption>& options,
               size_t minPositionals, size_t maxPositionals, std::string& error);

    const std::vector<std::string>& Positionals() const { return m_positionals; }
    bool Has(std::string_view name) const { return m_options.count(std::string(name)) != 0; }
    // The option's value; empty when it was not given.
    std::string Value(std::string_view name) const;
    bool AnyOption() const { return !m_options.empty(); }

private:
    std::vector<std::string> m_positionals;
    std::map<std::string, std::string> m_options;
};
