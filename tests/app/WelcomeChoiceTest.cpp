#include "app/WelcomeChoice.h"

#include <gtest/gtest.h>

namespace {

struct WelcomeCase {
    const char* what;
    bool create;
    int row;
    bool okEnabled;
    WelcomeChoice choice;
    std::string file;
};

void PrintTo(const WelcomeCase& c, std::ostream* os) {
    *os << c.what;
}

class WelcomeChoiceTest : public ::testing::TestWithParam<WelcomeCase> {};

TEST_P(WelcomeChoiceTest, OkAndItsAnswerFollowTheChoiceAndTheRow) {
    const WelcomeCase& c = GetParam();
    const std::vector<std::string> recent = {"/p/a.vkp", "/p/b.vkp"};
    EXPECT_EQ(WelcomeOkEnabled(c.create, c.row), c.okEnabled);
    const WelcomeAnswer answer = WelcomeAnswerFor(c.create, c.row, recent);
    EXPECT_EQ(answer.choice, c.choice);
    EXPECT_EQ(answer.file, c.file);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WelcomeChoiceTest,
    ::testing::Values(
        WelcomeCase{"create without a row", true, -1, true, WelcomeChoice::NewProject, ""},
        WelcomeCase{"create wins over a selected row", true, 2, true, WelcomeChoice::NewProject,
                    ""},
        WelcomeCase{"open without a row", false, -1, false, WelcomeChoice::Nothing, ""},
        WelcomeCase{"the first row browses", false, 0, true, WelcomeChoice::MoreFiles, ""},
        WelcomeCase{"the second row is the newest file", false, 1, true, WelcomeChoice::OpenRecent,
                    "/p/a.vkp"},
        WelcomeCase{"the last recent file", false, 2, true, WelcomeChoice::OpenRecent, "/p/b.vkp"},
        WelcomeCase{"a row past the files names none", false, 3, true, WelcomeChoice::Nothing,
                    ""}));

} // namespace
