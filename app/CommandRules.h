#pragma once

#include <cstddef>
#include <vector>

// What the enabling rules look at. A front end gathers it when the state
// changes (selection, modified flag, a build starting or ending, another
// project) and applies the rules then; nothing polls.
struct CommandContext {
    size_t selected = 0;   // selected affiliates
    bool building = false; // a build runs
    bool hasAffiliates = false;
    bool modified = false;
};

// Whether the command (app/CommandIds.h) is enabled in that state. Commands
// without a rule are always enabled.
bool IsCommandEnabled(int command, const CommandContext& context);

// The commands that have a rule, for a front end to apply them all at once.
const std::vector<int>& RuledCommands();
