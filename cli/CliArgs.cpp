#include "cli/CliArgs.h"

namespace {

const CliOption* FindOption(const std::vector<CliOption>& options, std::string_view name) {
    for (const auto& option : options)
        if (option.name == name)
            return &option;
    return nullptr;
}

} // namespace

bool CliArgs::Parse(const std::vector<std::string>& words, const std::vector<CliOption>& options,
                    size_t minPositionals, size_t maxPositionals, std::string& error) {
    m_positionals.clear();
    m_options.clear();
    bool optionsEnded = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || word.compare(0, 2, "--") != 0) {
            m_positionals.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        const size_t eq = word.find('=');
        const std::string name =
            word.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
        const CliOption* option = FindOption(options, name);
        if (!option) {
            error = "Unknown option --" + name + ".";
            return false;
        }
        if (m_options.count(name)) {
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
        m_options[name] = value;
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
    const auto it = m_options.find(std::string(name));
    return it == m_options.end() ? std::string() : it->second;
}
