#pragma once

#include "cli/CliArgs.h"

#include <vector>

class CAffProject;

// The options that carry the product's texts (--title, --version, --website,
// --setup-file, --output-dir, --self-creator-path), followed by extra.
std::vector<CliOption> ProductTextOptions(std::vector<CliOption> extra = {});

// Stores each product text option that was given, as typed, in project;
// texts whose option was not given keep their value.
void CopyProductTexts(const CliArgs& args, CAffProject& project);
