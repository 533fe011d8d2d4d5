#include "cli/CliArgs.h"

#include "model/TextEncoding.h"

#include <algorithm>
#include <iterator>

namespace {

const CliOption* FindOption(const std::vector<CliOption>& options, std::string_view name) {
    for (const auto& option : options)
        if (option.name == name)
            return &option;
    return nullptr;
}

bool IsOptionWord(const std::string& word) {
    return word.size() > 1 && word[0] == '-';
}

std::string OptionUsage(const CliOption& option) {
    std::string text = "--" + std::string(option.name);
    if (option.takesValue)
        text += " " + std::string(option.valueName.empty() ? "VALUE" : option.valueName);
    switch (option.occurs) {
    case CliOccurs::Required:
        return text;
    case CliOccurs::Repeated:
        return "[" + text + "]...";
    case CliOccurs::Optional:
        break;
    }
    return "[" + text + "]";
}

} // namespace

std::string UsageText(const CliSyntax& syntax) {
    std::string text;
    for (const std::string_view argument : syntax.arguments)
        text += (text.empty() ? "" : " ") + std::string(argument);
    for (const CliOption& option : syntax.options)
        text += (text.empty() ? "" : " ") + OptionUsage(option);
    if (!syntax.rest.empty())
        text += (text.empty() ? "[-- " : " [-- ") + std::string(syntax.rest) + "...]";
    return text;
}

bool AsksForHelp(const std::vector<std::string>& words) {
    for (const std::string& word : words) {
        if (word == "--")
            return false;
        if (word == "--help" || word == "-h")
            return true;
    }
    return false;
}

bool CliArgs::Parse(const std::vector<std::string>& words, const CliSyntax& syntax,
                    std::string& error) {
    if (syntax.rest.empty())
        return Parse(words, syntax.options, syntax.arguments.size(), syntax.arguments.size(),
                     error) &&
               OptionsAreUtf8(error);
    const auto dashes = std::find(words.begin(), words.end(), std::string("--"));
    const std::vector<std::string> own(words.begin(), dashes);
    std::vector<std::string> rest(dashes == words.end() ? dashes : dashes + 1, words.end());
    if (!Parse(own, syntax.options, syntax.arguments.size(), syntax.arguments.size(), error) ||
        !OptionsAreUtf8(error))
        return false;
    m_rest = std::move(rest);
    return true;
}

// Option values end up in projects, packages and the store, which keep texts
// as UTF-8: a value in another encoding would make the whole project read as
// a code-page file later, so it is refused here rather than stored.
bool CliArgs::OptionsAreUtf8(std::string& error) const {
    for (const auto& [name, value] : m_options)
        if (!IsValidUtf8(value)) {
            error = "The value of --" + name + " is not valid UTF-8; texts are kept as UTF-8.";
            return false;
        }
    return true;
}

bool CliArgs::Parse(const std::vector<std::string>& words, const std::vector<CliOption>& options,
                    size_t minPositionals, size_t maxPositionals, std::string& error) {
    m_positionals.clear();
    m_options.clear();
    m_rest.clear();
    bool optionsEnded = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || !IsOptionWord(word)) {
            m_positionals.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word[1] != '-') {
            // No command has one-letter options besides -h, which is help.
            error = "Unknown option " + word + ".";
            return false;
        }
        const size_t eq = word.find('=');
        const std::string name =
            word.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
        const CliOption* option = FindOption(options, name);
        if (!option) {
            error = "Unknown option --" + name + ".";
            return false;
        }
        if (m_options.count(name) && option->occurs != CliOccurs::Repeated) {
            error = "Option --" + name + " is given more than once.";
            return false;
        }
        std::string value;
        if (eq != std::string::npos) {
            if (!option->takesValue) {
                error = "Option --" + name + " takes no value.";
                return false;
            }
            value = word.substr(eq + 1);
        } else if (option->takesValue) {
            // A following option word is far more likely a forgotten value than
            // a value that starts with "--"; such values can use "--name=VALUE".
            if (i + 1 >= words.size() || words[i + 1].compare(0, 2, "--") == 0) {
                error = "Option --" + name + " needs a value.";
                return false;
            }
            value = words[++i];
        }
        m_options.emplace(name, value);
    }
    if (m_positionals.size() < minPositionals) {
        error = "Missing argument.";
        return false;
    }
    if (m_positionals.size() > maxPositionals) {
        error = "Unexpected argument '" + m_positionals[maxPositionals] + "'.";
        return false;
    }
    return true;
}

std::string CliArgs::Value(std::string_view name) const {
    const auto [first, last] = m_options.equal_range(std::string(name));
    return first == last ? std::string() : std::prev(last)->second;
}

std::vector<std::string> CliArgs::Values(std::string_view name) const {
    std::vector<std::string> values;
    const auto [first, last] = m_options.equal_range(std::string(name));
    for (auto it = first; it != last; ++it)
        values.push_back(it->second);
    return values;
}
