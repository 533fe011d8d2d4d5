#pragma once

#include <string>

// The bash completion script of velkora-cli, made from the command table: the
// first word completes to a command (or help and version words), later words
// to the command's options when they start with "-" and to file names
// otherwise.
std::string ComposeBashCompletion();
