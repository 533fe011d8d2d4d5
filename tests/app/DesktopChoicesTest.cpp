#include "app/FileChoices.h"
#include "app/ShellActions.h"
#include "app/WizardSteps.h"

#include "platform/HostPath.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

struct HelpCase {
    const char* what;
    bool exists;
    bool opens;
    const char* browser; // nullptr: none
    bool browserStarts;
    const char* message; // after "The help file '<path>' "; empty: opened
};

void PrintTo(const HelpCase& c, std::ostream* os) {
    *os << c.what;
}

class HelpIndexTest : public ::testing::TestWithParam<HelpCase> {};

TEST_P(HelpIndexTest, SaysWhenTheGuideCannotBeShown) {
    const HelpCase& c = GetParam();
    TempFolder dir("velkora-help");
    const std::string guide = dir / "VelkHelp.html";
    if (c.exists)
        std::ofstream(guide) << "<html></html>";
    ShellOperations ops;
    ops.open = [&](const std::string&) { return c.opens; };
    ops.browserCommand = [&]() -> std::optional<std::string> {
        return c.browser ? std::optional<std::string>(c.browser) : std::nullopt;
    };
    ops.startCommandLine = [&](const std::string&) { return c.browserStarts; };
    const std::string message = OpenHelpIndex(guide, ops);
    const std::string expected =
        *c.message ? "The help file '" + guide + "' " + c.message : std::string();
    EXPECT_EQ(message, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, HelpIndexTest,
    ::testing::Values(
        HelpCase{"opened", true, true, nullptr, false, ""},
        HelpCase{"opened by the browser", true, false, "web \"%1\"", true, ""},
        HelpCase{"no opener, no browser", true, false, nullptr, false, "could not be opened."},
        HelpCase{"the browser fails", true, false, "web", false, "could not be opened."},
        HelpCase{"missing", false, true, nullptr, false, "cannot be found."}));

TEST(HelpFile, BesideTheProgramFirstThenTheInstallationsSharedFolder) {
    TempFolder dir("velkora-help");
    const std::string bin = dir / "bin";
    const std::string shared = dir / "share/velkora/VelkHelp.html";
    std::filesystem::create_directories(dir / "share/velkora");
    std::filesystem::create_directories(bin);
    EXPECT_EQ(HelpFilePath(bin), bin + "/VelkHelp.html") << "neither: the place beside";
    std::ofstream(shared) << "<html></html>";
    EXPECT_EQ(HelpFilePath(bin), shared);
    std::ofstream(bin + "/VelkHelp.html") << "<html></html>";
    EXPECT_EQ(HelpFilePath(bin), bin + "/VelkHelp.html");
}

TEST(FileChoices, TheSetupFileChooserOpensOnAllFilesWhereSetupsAreNoExeFiles) {
    const std::vector<FileChoiceFilter> filters = SetupFileChoices();
    ASSERT_EQ(filters.size(), 5U);
    const bool windows = platform::HostPathStyle() == platform::PathStyle::Windows;
    EXPECT_EQ(filters.front().description,
              windows ? "Executable Files (*.exe)" : "All Files (*.*)");
    EXPECT_EQ(filters.front().patterns, windows ? "*.exe" : "*.*");
    EXPECT_EQ(filters[windows ? 2 : 3].patterns, "*.zip;*.z");
    EXPECT_EQ(CsvFileChoices().front().patterns, "*.csv");
}

TEST(FileChoices, FilterTextsSplitIntoPairsUpToTheEmptyDescription) {
    const std::vector<FileChoiceFilter> filters = ParseFilterChoices("A|*.a|B|*.b;*.c||C|*.x");
    ASSERT_EQ(filters.size(), 2U);
    EXPECT_EQ(filters[1].description, "B");
    EXPECT_EQ(filters[1].patterns, "*.b;*.c");
    EXPECT_TRUE(ParseFilterChoices("").empty());
    EXPECT_TRUE(ParseFilterChoices("only a description").empty());
}

} // namespace

namespace {

struct StepCase {
    WizardStep step;
    NewProjectAnswers answers;
    bool complete;
};

class WizardStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(WizardStepTest, NextNeedsEveryRequiredAnswerOfThePage) {
    EXPECT_EQ(WizardStepComplete(GetParam().step, GetParam().answers), GetParam().complete);
}

NewProjectAnswers Answers(const char* title, const char* version, const char* site,
                          const char* setup, const char* out, const char* id, const char* link) {
    NewProjectAnswers a;
    a.title = title;
    a.version = version;
    a.webSite = site;
    a.setupFile = setup;
    a.outputDir = out;
    a.productId = id;
    a.purchaseLink = link;
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    Pages, WizardStepTest,
    ::testing::Values(
        StepCase{WizardStep::Product, Answers("T", "1", "w", "", "", "", ""), true},
        StepCase{WizardStep::Product, Answers("T", "", "w", "s", "o", "i", "l"), false},
        StepCase{WizardStep::Product, Answers("", "1", "w", "", "", "", ""), false},
        StepCase{WizardStep::SetupFiles, Answers("", "", "", "s", "o", "", ""), true},
        StepCase{WizardStep::SetupFiles, Answers("T", "1", "w", "s", "", "i", "l"), false},
        StepCase{WizardStep::Registration, Answers("", "", "", "", "", "i", "l"), true},
        StepCase{WizardStep::Registration, Answers("T", "1", "w", "s", "o", "i", ""), false}));

} // namespace
