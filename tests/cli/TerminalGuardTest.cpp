// The guard every text of velkora-cli passes on its way to the terminal.
#include "cli/TerminalGuard.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct GuardCase {
    const char* what;
    std::vector<std::string> writes; // each write is followed by a flush
    std::string expected;
};

void PrintTo(const GuardCase& c, std::ostream* os) {
    *os << c.what;
}

class TerminalGuardTable : public ::testing::TestWithParam<GuardCase> {};

TEST_P(TerminalGuardTable, PassesLayoutAndEscapesTheRest) {
    std::ostringstream target;
    {
        TerminalGuardStream guard(target);
        for (const std::string& write : GetParam().writes)
            guard << write << std::flush;
    }
    EXPECT_EQ(target.str(), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TerminalGuardTable,
    ::testing::Values(
        GuardCase{"plain", {"Added affiliate 1 'Bob'\n"}, "Added affiliate 1 'Bob'\n"},
        GuardCase{"layout kept", {"a\tb\n\n  c\n"}, "a\tb\n\n  c\n"},
        GuardCase{
            "colour and title", {"\x1b[31mred\x1b]0;t\x07\n"}, "\\x1b[31mred\\x1b]0;t\\x07\n"},
        GuardCase{
            "carriage return and C0", {"a\rb\x01\x0b\x0c\x7f\n"}, "a\\x0db\\x01\\x0b\\x0c\\x7f\n"},
        GuardCase{"C1 control",
                  {"x\xc2\x9b"
                   "2J\n"},
                  "x\\xc2\\x9b2J\n"},
        GuardCase{"UTF-8 kept", {"J\xc3\xbcrgen \xe2\x82\xac\n"}, "J\xc3\xbcrgen \xe2\x82\xac\n"},
        GuardCase{"UTF-8 split over flushes",
                  {"J\xc3", "\xbc", "rgen \xe2\x82", "\xac\n"},
                  "J\xc3\xbcrgen \xe2\x82\xac\n"},
        GuardCase{"C1 split over flushes", {"x\xc2", "\x9b\n"}, "x\\xc2\\x9b\n"},
        GuardCase{"not UTF-8", {"a\xff\n"}, "a\xef\xbf\xbd\n"},
        GuardCase{"unfinished at the end", {"a\xe2\x82"}, "a\xef\xbf\xbd\xef\xbf\xbd"},
        GuardCase{"no newline at the end", {"a\x1b"}, "a\\x1b"}));

TEST(TerminalGuard, KnowsTheStreamItGuards) {
    std::ostringstream target;
    std::ostringstream other;
    TerminalGuardStream guard(target);
    EXPECT_TRUE(IsStreamOf(guard, target));
    EXPECT_TRUE(IsStreamOf(target, target));
    EXPECT_FALSE(IsStreamOf(guard, other));
}

} // namespace
