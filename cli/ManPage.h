#pragma once

#include <string>

// The manual page of velkora-cli: the template's comment lines
// '.\" SYNOPSIS FROM THE COMMAND TABLE' and '.\" COMMANDS FROM THE COMMAND TABLE'
// are replaced by roff made from the command table, so the page lists the same
// commands, arguments and options that parsing and help use.
std::string ComposeManPage(const std::string& pageTemplate);

// Text as roff wants it on a line: backslashes doubled, "-" as "\-", and a
// leading "." or "'" kept from being read as a request.
std::string RoffText(const std::string& text);
