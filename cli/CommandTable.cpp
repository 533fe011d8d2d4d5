#include "cli/CommandTable.h"

// To add a command:
//   1. write cli/CmdFoo.cpp with a class derived from CliCommand and a factory
//        std::unique_ptr<CliCommand> MakeCmdFoo() { return std::make_unique<CmdFoo>(); }
//      at global scope (cli/CMakeLists.txt picks the file up by itself);
//   2. add the line  VELKORA_CLI_COMMAND(MakeCmdFoo),  to the table below.
// The macro declares the factory where it is used, so the table line is the
// only edit outside the new file.
#define VELKORA_CLI_COMMAND(Factory)                                                               \
    [] {                                                                                           \
        extern std::unique_ptr<CliCommand> Factory();                                              \
        return Factory();                                                                          \
    }

// Not in an unnamed namespace: the factories the macro declares must name the
// global functions of the command files.
static const CliCommandFactory kCommands[] = {
    VELKORA_CLI_COMMAND(MakeCmdNew),
    VELKORA_CLI_COMMAND(MakeCmdShow),
    VELKORA_CLI_COMMAND(MakeCmdSetProduct),
    VELKORA_CLI_COMMAND(MakeCmdAddAffiliate),
    VELKORA_CLI_COMMAND(MakeCmdRemoveAffiliate),
    VELKORA_CLI_COMMAND(MakeCmdImportAffiliates),
    VELKORA_CLI_COMMAND(MakeCmdExportAffiliates),
    VELKORA_CLI_COMMAND(MakeCmdBuild),
    VELKORA_CLI_COMMAND(MakeCmdRunSetup),
    VELKORA_CLI_COMMAND(MakeCmdBuildSelfCreator),
    VELKORA_CLI_COMMAND(MakeCmdTemplate),
    VELKORA_CLI_COMMAND(MakeCmdStamp),
    VELKORA_CLI_COMMAND(MakeCmdInspect),
    VELKORA_CLI_COMMAND(MakeCmdVerify),
    VELKORA_CLI_COMMAND(MakeCmdServe),
};

std::span<const CliCommandFactory> CommandTable() {
    return kCommands;
}

std::unique_ptr<CliCommand> FindCommand(std::string_view name) {
    for (const CliCommandFactory make : kCommands) {
        auto command = make();
        if (command->Name() == name)
            return command;
    }
    return nullptr;
}
