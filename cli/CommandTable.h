#pragma once

#include "cli/CliCommand.h"

#include <memory>
#include <span>
#include <string_view>

using CliCommandFactory = std::unique_ptr<CliCommand> (*)();

// Every command of velkora-cli, in the order help lists them.
std::span<const CliCommandFactory> CommandTable();

// The command named name, or nullptr.
std::unique_ptr<CliCommand> FindCommand(std::string_view name);
