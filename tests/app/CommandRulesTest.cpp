#include "app/CommandRules.h"
#include "app/CommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct Rule {
    const char* what;
    CommandContext context;
    std::vector<int> enabled; // every ruled command not named is disabled
};

void PrintTo(const Rule& r, std::ostream* os) {
    *os << r.what;
}

class CommandRulesTest : public ::testing::TestWithParam<Rule> {};

TEST_P(CommandRulesTest, EnablesExactlyTheCommandsTheStateAllows) {
    const Rule& rule = GetParam();
    for (int command : RuledCommands()) {
        const bool expected =
            std::find(rule.enabled.begin(), rule.enabled.end(), command) != rule.enabled.end();
        EXPECT_EQ(IsCommandEnabled(command, rule.context), expected) << "command " << command;
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, CommandRulesTest,
    ::testing::Values(Rule{"an empty project", {0, false, false, false}, {}},
                      Rule{"affiliates, none selected, modified",
                           {0, false, true, true},
                           {ID_FILE_SAVE, ID_BUILD_ALL, ID_STAMP_FROM_TEMPLATE}},
                      Rule{"one selected",
                           {1, false, true, false},
                           {ID_DELETE_AFFILIATE, ID_AFFILIATE_PROPERTY, ID_BUILD_SELECTED,
                            ID_BUILD_ALL, ID_STAMP_FROM_TEMPLATE, ID_RUN_SETUP, ID_EXPLORE_OUTPUT,
                            ID_BROWSE_WEBSITE, ID_BROWSE_PURCHASE, ID_EMAIL}},
                      Rule{"two selected",
                           {2, false, true, false},
                           {ID_DELETE_AFFILIATE, ID_BUILD_SELECTED, ID_BUILD_ALL,
                            ID_STAMP_FROM_TEMPLATE, ID_EXPLORE_OUTPUT}},
                      Rule{"all 65535 selected while building",
                           {65535, true, true, true},
                           {ID_FILE_SAVE, ID_DELETE_AFFILIATE, ID_BUILD_STOP}},
                      Rule{"one selected while building",
                           {1, true, true, false},
                           {ID_DELETE_AFFILIATE, ID_AFFILIATE_PROPERTY, ID_RUN_SETUP,
                            ID_BROWSE_WEBSITE, ID_BROWSE_PURCHASE, ID_EMAIL, ID_BUILD_STOP}}));

TEST(CommandRules, CommandsWithoutARuleStayEnabled) {
    for (int command : {ID_FILE_NEW, ID_FILE_OPEN, ID_ADD_AFFILIATE, ID_APP_EXIT, ID_HELP_INDEX})
        EXPECT_TRUE(IsCommandEnabled(command, CommandContext{0, true, false, false}));
}

} // namespace
