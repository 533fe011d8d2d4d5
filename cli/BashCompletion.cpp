#include "cli/BashCompletion.h"

#include "cli/CommandTable.h"

namespace {

// The words that may follow the command name: its options and --help.
std::string OptionWords(const CliCommand& command) {
    std::string words;
    for (const CliOption& option : command.Syntax().options) {
        words += "--";
        words += option.name;
        words += ' ';
    }
    return words + "--help";
}

} // namespace

std::string ComposeBashCompletion() {
    std::string commands;
    std::string cases;
    for (const CliCommandFactory make : CommandTable()) {
        const auto command = make();
        const std::string name(command->Name());
        commands += name + ' ';
        cases += "    " + name + ") options='" + OptionWords(*command) + "' ;;\n";
    }
    return "# bash completion for velkora-cli, made from its command table.\n"
           "_velkora_cli() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} options=\n"
           "    COMPREPLY=()\n"
           "    if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
           "        COMPREPLY=($(compgen -W '" +
           commands +
           "help version --help --version -V' -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    case ${COMP_WORDS[1]} in\n"
           "    help) [ \"$COMP_CWORD\" -eq 2 ] && COMPREPLY=($(compgen -W '" +
           commands +
           "' -- \"$cur\"))\n"
           "        return ;;\n" +
           cases +
           "    esac\n"
           "    # Anything else is a file name: bash's own completion gives it.\n"
           "    case $cur in\n"
           "    -*) COMPREPLY=($(compgen -W \"$options\" -- \"$cur\")) ;;\n"
           "    esac\n"
           "}\n"
           "complete -o default -F _velkora_cli velkora-cli\n";
}
