#include "cli/ManPage.h"

#include "cli/CliCommand.h"
#include "cli/CommandTable.h"

namespace {

constexpr const char* kSynopsisMarker = ".\\\" SYNOPSIS FROM THE COMMAND TABLE";
constexpr const char* kCommandsMarker = ".\\\" COMMANDS FROM THE COMMAND TABLE";

std::string Bold(const std::string& text) {
    return "\\fB" + RoffText(text) + "\\fR";
}

std::string Italic(const std::string& text) {
    return "\\fI" + RoffText(text) + "\\fR";
}

std::string OptionRoff(const CliOption& option) {
    std::string text = Bold("--" + std::string(option.name));
    if (option.takesValue)
        text += " " + Italic(std::string(option.valueName.empty() ? "VALUE" : option.valueName));
    return text;
}

std::string SynopsisLine(const CliCommand& command) {
    const CliSyntax syntax = command.Syntax();
    std::string line = ".B velkora\\-cli\n" + Bold(std::string(command.Name()));
    for (const std::string_view argument : syntax.arguments)
        line += " " + Italic(std::string(argument));
    for (const CliOption& option : syntax.options) {
        switch (option.occurs) {
        case CliOccurs::Required:
            line += " " + OptionRoff(option);
            break;
        case CliOccurs::Optional:
            line += " [" + OptionRoff(option) + "]";
            break;
        case CliOccurs::Repeated:
            line += " [" + OptionRoff(option) + "]...";
            break;
        }
    }
    if (!syntax.rest.empty())
        line += " [" + Bold("--") + " " + Italic(std::string(syntax.rest)) + "...]";
    return line + "\n.br\n";
}

std::string Synopsis() {
    std::string roff;
    for (const CliCommandFactory make : CommandTable())
        roff += SynopsisLine(*make());
    return roff + ".B velkora\\-cli\n\\fBhelp\\fR [\\fICOMMAND\\fR]\n.br\n"
                  ".B velkora\\-cli\n\\fB\\-\\-version\\fR\n";
}

std::string Commands() {
    std::string roff;
    for (const CliCommandFactory make : CommandTable()) {
        const auto command = make();
        const CliSyntax syntax = command->Syntax();
        roff += ".SS " + Bold(std::string(command->Name()));
        for (const std::string_view argument : syntax.arguments)
            roff += " " + Italic(std::string(argument));
        roff += "\n" + RoffText(std::string(command->Summary())) + "\n";
        for (const CliOption& option : syntax.options)
            roff += ".TP\n" + OptionRoff(option) + "\n" + RoffText(std::string(option.help)) + "\n";
        roff += ".TP\n\\fB\\-h\\fR, \\fB\\-\\-help\\fR\nShow the command's help and exit.\n";
    }
    return roff;
}

} // namespace

std::string RoffText(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out.insert(0, "\\&");
    return out;
}

std::string ComposeManPage(const std::string& pageTemplate) {
    std::string page;
    size_t start = 0;
    while (start < pageTemplate.size()) {
        size_t end = pageTemplate.find('\n', start);
        end = end == std::string::npos ? pageTemplate.size() : end + 1;
        const std::string line = pageTemplate.substr(start, end - start);
        if (line.rfind(kSynopsisMarker, 0) == 0)
            page += Synopsis();
        else if (line.rfind(kCommandsMarker, 0) == 0)
            page += Commands();
        else
            page += line;
        start = end;
    }
    return page;
}
