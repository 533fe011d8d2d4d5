#include "app/AppTexts.h"
#include "app/CommandRules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace apptext;

namespace {

struct FormatCase {
    const char* what;
    std::string_view format;
    std::vector<std::string_view> args;
    const char* expected;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.what;
}

class FormatTextTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTextTest, ReplacesEachMarkWithTheNextArgument) {
    const FormatCase& c = GetParam();
    ASSERT_LE(c.args.size(), 2U);
    const std::string_view a = c.args.empty() ? std::string_view() : c.args[0];
    const std::string got =
        c.args.size() == 2 ? FormatText(c.format, {a, c.args[1]}) : FormatText(c.format, {a});
    EXPECT_EQ(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatTextTest,
    ::testing::Values(
        FormatCase{"one argument", kSaveChanges, {"Shop.vkp"}, "Save changes to Shop.vkp?"},
        FormatCase{"two in order", kBuildProgress, {"3", "65535"}, "affiliate 3 of 65535"},
        FormatCase{"argument not scanned", "[%s|%s]", {"%s", "b"}, "[%s|b]"},
        FormatCase{"missing argument keeps the mark", "%s and %s", {"a"}, "a and %s"},
        FormatCase{"extra argument ignored", "plain", {"a"}, "plain"},
        FormatCase{"mark at the end", "x%s", {"é"}, "xé"},
        FormatCase{"lone percent kept", "100% %s", {"done"}, "100% done"}));

TEST(AppTextsTest, PromptsSplitIntoStatusTextAndToolTip) {
    const std::string_view save = CommandTexts(ID_FILE_SAVE).prompt;
    EXPECT_EQ(StatusText(save), "Save the active document");
    EXPECT_EQ(ToolTipText(save), "Save");
    const std::string_view email = CommandTexts(ID_EMAIL).prompt;
    EXPECT_EQ(StatusText(email), "Write email to your affiliate,");
    EXPECT_EQ(ToolTipText(email), email);
}

TEST(AppTextsTest, NumberedStringsAndCommandPromptsShareOneNumbering) {
    EXPECT_EQ(NumberedString(IDS_WIZARD_CAPTION), "Wizard");
    EXPECT_EQ(NumberedString(IDS_APP_NAME), kAppTitle);
    EXPECT_EQ(NumberedString(ID_FILE_NEW), "Create a new document\nNew");
    EXPECT_TRUE(NumberedString(1031).empty()); // a control without help text
    EXPECT_TRUE(NumberedString(-7).empty());
    std::set<int> ids;
    for (const NumberedText& t : kNumberedTexts)
        EXPECT_TRUE(ids.insert(t.id).second) << t.id;
    for (const CommandText& t : kCommandTexts)
        EXPECT_TRUE(ids.insert(t.id).second) << t.id;
}

TEST(AppTextsTest, EveryCommandAMenuOrToolBarShowsHasAText) {
    auto hasMenuText = [](int id) { return !CommandTexts(id).menu.empty(); };
    for (const MenuItem& item : kMainMenu) {
        if (item.id > 0) {
            EXPECT_TRUE(item.text.empty() && hasMenuText(item.id)) << item.id;
        }
    }
    for (int id : kToolBarButtons) {
        if (id != 0) {
            EXPECT_FALSE(StatusText(CommandTexts(id).prompt).empty()) << id;
        }
    }
    for (const MenuItem& item : kAffiliateContextMenu)
        EXPECT_EQ(item.id == 0, item.text.empty()) << item.id;
    for (int id : RuledCommands())
        EXPECT_TRUE(hasMenuText(id)) << id;
}

} // namespace
