#pragma once

#include "cli/CliArgs.h"

#include <vector>

class CAffProject;

// The options that carry the product's texts (--title, --version, --website,
// --setup-file, --output-dir, --self-creator-path), each with occurs, followed
// by extra.
std::vector<CliOption> ProductTextOptions(std::vector<CliOption> extra = {},
                                          CliOccurs occurs = CliOccurs::Optional);

// Stores each product text option that was given in project, as typed, but
// a path that lies inside the project's folder relative to it; texts whose
// option was not given keep their value.
void CopyProductTexts(const CliArgs& args, CAffProject& project);
