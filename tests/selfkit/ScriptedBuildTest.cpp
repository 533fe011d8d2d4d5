#include "tests/support/SelfCreatorFixtures.h"

#include "package/PackageAffiliateInfo.h"
#include "package/SfxPackage.h"
#include "selfkit/ScriptedBuild.h"
#include "selfkit/SelfKitTexts.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Entry 0 of the package at path, read in place.
std::optional<CAffiliateInfo> InfoOf(const std::string& path) {
    CSfxPackage package;
    if (package.ReadDirectory(path) != SFX_OK)
        return std::nullopt;
    return AffiliateInfoOfPackage(package);
}

struct ParseCase {
    std::string name;
    std::vector<std::string> args;
    ScriptedMode mode;
    CCustomBuildRequest request; // compared when mode is Build
    std::string error;           // compared when mode is Bad
};

class ScriptedArgumentsTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ScriptedArgumentsTable, ReadsTheCommandLine) {
    const ParseCase& c = GetParam();
    const CScriptedArguments parsed = ParseScriptedArguments(c.args);
    ASSERT_EQ(parsed.mode, c.mode) << parsed.strError;
    if (c.mode == ScriptedMode::Build) {
        EXPECT_EQ(parsed.request.strService, c.request.strService);
        EXPECT_EQ(parsed.request.strAffiliateId, c.request.strAffiliateId);
        EXPECT_EQ(parsed.request.strHomePage, c.request.strHomePage);
        EXPECT_EQ(parsed.request.strOutputPath, c.request.strOutputPath);
    }
    EXPECT_EQ(parsed.strError, c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScriptedArgumentsTable,
    ::testing::Values(
        ParseCase{"NoArguments", {}, ScriptedMode::Dialog, {}, ""},
        ParseCase{"AllOptions",
                  {"--service", "ShareIt", "--affiliate-id", "A 1", "--homepage", "h", "--output",
                   "o.exe"},
                  ScriptedMode::Build,
                  {"ShareIt", "A 1", "h", "o.exe"},
                  ""},
        ParseCase{"EqualsForm",
                  {"--output=x y.exe", "--affiliate-id=", "--homepage=a=b"},
                  ScriptedMode::Build,
                  {"", "", "a=b", "x y.exe"},
                  ""},
        // A value that looks like an option is still the value.
        ParseCase{"ValueLikeAnOption",
                  {"--affiliate-id", "--output", "--output", "o"},
                  ScriptedMode::Build,
                  {"", "--output", "", "o"},
                  ""},
        ParseCase{"Help", {"--help"}, ScriptedMode::Help, {}, ""},
        ParseCase{"HelpAmongOthers",
                  {"--affiliate-id", "A", "--output", "o", "-h"},
                  ScriptedMode::Help,
                  {},
                  ""},
        ParseCase{"MissingOutput",
                  {"--affiliate-id", "A"},
                  ScriptedMode::Bad,
                  {},
                  "missing option: --output"},
        ParseCase{"MissingAffiliateId",
                  {"--output", "o"},
                  ScriptedMode::Bad,
                  {},
                  "missing option: --affiliate-id"},
        ParseCase{"ValueMissingAtTheEnd",
                  {"--affiliate-id", "A", "--output"},
                  ScriptedMode::Bad,
                  {},
                  "option needs a value: --output"},
        ParseCase{"EmptyOutput",
                  {"--affiliate-id", "A", "--output="},
                  ScriptedMode::Bad,
                  {},
                  "--output needs a file name"},
        ParseCase{"Repeated",
                  {"--affiliate-id", "A", "--affiliate-id=B", "--output", "o"},
                  ScriptedMode::Bad,
                  {},
                  "option given twice: --affiliate-id"},
        ParseCase{
            "UnknownOption", {"-psn_0_1"}, ScriptedMode::Bad, {}, "unknown argument: -psn_0_1"},
        ParseCase{
            "StrayWord", {"setup.exe"}, ScriptedMode::Bad, {}, "unknown argument: setup.exe"}));

class ScriptedBuildFixture : public ::testing::Test {
protected:
    int Run(const std::string& list, const std::vector<std::string>& args) {
        if (!MakeSelfCreator(work, work / "VelkSMNG.exe", ProductInfoBytes(kTestUuid, list),
                             "#!SETUP"))
            return -1;
        CSelfKit kit(work / "VelkSMNG.exe", temp.Path());
        return RunScriptedCommand(ParseScriptedArguments(args), kit, out, err);
    }

    ScratchFolder work;
    ScratchFolder temp;
    ScratchFolder target;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(ScriptedBuildFixture, WritesThePackageOfTheNamedService) {
    const std::string output = target / "sub/custom.exe";
    ASSERT_EQ(Run("RegNow;1234;ShareIt;5678;",
                  {"--service", "ShareIt", "--affiliate-id", "77", "--homepage",
                   "https://aff.example/", "--output", output}),
              0)
        << err.str();
    EXPECT_EQ(err.str(), std::string(selfkit_text::kSuccess) + "\n");
    EXPECT_TRUE(out.str().empty());
    const auto info = InfoOf(output);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->m_strKey, kTestUuid);
    EXPECT_NE(info->m_strLink.find("5678"), std::string::npos) << info->m_strLink;
    EXPECT_NE(info->m_strLink.find("77"), std::string::npos) << info->m_strLink;
    EXPECT_EQ(info->m_strWebSite, "https://aff.example/");
}

TEST_F(ScriptedBuildFixture, WithoutServiceTakesTheOneListedFirst) {
    const std::string output = target / "custom.exe";
    ASSERT_EQ(Run("ShareIt;5678;RegNow;1234;", {"--affiliate-id", "9", "--output", output}), 0)
        << err.str();
    const auto info = InfoOf(output);
    ASSERT_TRUE(info);
    EXPECT_NE(info->m_strLink.find("1234"), std::string::npos)
        << info->m_strLink; // RegNow sorts first
}

TEST_F(ScriptedBuildFixture, RefusalsCarryTheDialogsMessages) {
    EXPECT_EQ(Run("RegNow;1234;",
                  {"--service", "ShareIt", "--affiliate-id", "9", "--output", target / "a.exe"}),
              1);
    EXPECT_NE(err.str().find("It offers: RegNow"), std::string::npos) << err.str();

    err.str("");
    EXPECT_EQ(Run("Other;1;", {"--affiliate-id", "9", "--output", target / "b.exe"}), 1);
    EXPECT_EQ(err.str(), std::string(selfkit_text::kNoService) + "\n");

    err.str("");
    EXPECT_EQ(Run("RegNow;1234;",
                  {"--affiliate-id", std::string(4000, 'x'), "--output", target / "c.exe"}),
              1);
    EXPECT_EQ(err.str(), std::string(selfkit_text::kFieldTooLong) + "\n");
    EXPECT_FALSE(std::filesystem::exists(target / "a.exe"));
}

TEST_F(ScriptedBuildFixture, ACorruptedSelfCreatorSaysSo) {
    WriteBytes(work / "VelkSMNG.exe", std::string(5000, 'B'));
    CSelfKit kit(work / "VelkSMNG.exe", temp.Path());
    CCustomBuildRequest request{"", "9", "", target / "x.exe"};
    EXPECT_EQ(RunScriptedBuild(kit, request, err), 1);
    EXPECT_EQ(err.str(), std::string(selfkit_text::kCorrupted) + "\n");
}

TEST_F(ScriptedBuildFixture, BadArgumentsPrintTheUsageAndFail) {
    EXPECT_EQ(Run("RegNow;1;", {"--bogus"}), 1);
    EXPECT_EQ(err.str(), "selfkit: unknown argument: --bogus\n" + ScriptedUsage());
    EXPECT_EQ(Run("RegNow;1;", {"--help"}), 0);
    EXPECT_EQ(out.str(), ScriptedUsage());
}

TEST_F(ScriptedBuildFixture, TheUsageNamesTheProgramsOwnFile) {
    CScriptedArguments parsed = ParseScriptedArguments({"--bogus"});
    parsed.strProgram = "VelkSMNG.exe";
    CSelfKit kit(work / "VelkSMNG.exe", temp.Path());
    EXPECT_EQ(RunScriptedCommand(parsed, kit, out, err), 1);
    EXPECT_EQ(err.str().rfind("VelkSMNG.exe: unknown argument: --bogus\n"
                              "Usage: VelkSMNG.exe --service NAME",
                              0),
              0u)
        << err.str();
}

} // namespace
