#include "app/CommandRules.h"

#include "app/CommandIds.h"

bool IsCommandEnabled(int command, const CommandContext& c) {
    const bool one = c.selected == 1;
    const bool some = c.selected >= 1;
    switch (command) {
    case ID_FILE_SAVE:
        return c.modified;
    case ID_DELETE_AFFILIATE:
        return some;
    case ID_AFFILIATE_PROPERTY:
    case ID_RUN_SETUP:
    case ID_BROWSE_WEBSITE:
    case ID_BROWSE_PURCHASE:
    case ID_EMAIL:
        return one;
    case ID_BUILD_SELECTED:
    case ID_EXPLORE_OUTPUT:
        return some && !c.building;
    case ID_BUILD_ALL:
    case ID_STAMP_FROM_TEMPLATE:
        return !c.building && c.hasAffiliates;
    case ID_BUILD_STOP:
        return c.building;
    case ID_HELP_WEBPAGE:
        return false;
    default:
        return true;
    }
}

const std::vector<int>& RuledCommands() {
    static const std::vector<int> commands = {
        ID_FILE_SAVE,      ID_DELETE_AFFILIATE,    ID_AFFILIATE_PROPERTY, ID_BUILD_SELECTED,
        ID_BUILD_ALL,      ID_STAMP_FROM_TEMPLATE, ID_BUILD_STOP,         ID_RUN_SETUP,
        ID_EXPLORE_OUTPUT, ID_BROWSE_WEBSITE,      ID_BROWSE_PURCHASE,    ID_EMAIL,
        ID_HELP_WEBPAGE};
    return commands;
}
