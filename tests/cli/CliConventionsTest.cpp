// What users of command-line tools expect: help from every door, one message
// format, errors on standard error, quiet meaning quiet, safe terminal text.
#include "CliTestSupport.h"

#include "cli/CliProject.h"
#include "cli/CommandTable.h"
#include "cli/TerminalText.h"
#include "model/ModifiedTimeText.h"
#include "package/SfxPackage.h"
#include "platform/Clock.h"
#include "platform/Environment.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> CommandNames() {
    std::vector<std::string> names;
    for (const CliCommandFactory make : CommandTable())
        names.emplace_back(make()->Name());
    return names;
}

class EveryCommand : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryCommand, HelpIsTheSameFromEveryDoor) {
    const std::string& name = GetParam();
    const CliRun viaHelp = RunCliWords({"help", name});
    ASSERT_EQ(viaHelp.code, 0);
    const auto command = FindCommand(name);
    EXPECT_EQ(viaHelp.out.rfind("Usage: velkora-cli " + name + " " + command->Usage() + "\n", 0),
              0u);
    // After the file name too, and before "--" only.
    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {name, "--help"}, {name, "-h"}, {name, "some.vkp", "-h"}}) {
        const CliRun run = RunCliWords(words);
        EXPECT_EQ(run.code, 0) << words.back();
        EXPECT_EQ(run.out, viaHelp.out);
        EXPECT_EQ(run.err, "");
    }
    const CliRun literal = RunCliWords({name, "--", "-h"});
    EXPECT_NE(literal.out, viaHelp.out);
}

TEST_P(EveryCommand, EveryDeclaredOptionIsListedAndAccepted) {
    const auto command = FindCommand(GetParam());
    const CliRun help = RunCliWords({"help", GetParam()});
    for (const CliOption& option : command->Syntax().options) {
        const std::string flag = "--" + std::string(option.name);
        EXPECT_NE(help.out.find("\n  " + flag), std::string::npos) << flag;
        EXPECT_NE(command->Usage().find(flag), std::string::npos) << flag;
        EXPECT_FALSE(option.help.empty()) << flag;
        // The parser takes what the help shows.
        std::vector<std::string> words(command->Syntax().arguments.size(), "x");
        words.push_back(flag);
        if (option.takesValue)
            words.push_back("v");
        CliArgs args;
        std::string error;
        EXPECT_TRUE(args.Parse(words, command->Syntax(), error)) << flag << ": " << error;
    }
}

TEST_P(EveryCommand, RefusesUnknownOptionsInOneFormat) {
    for (const char* bad : {"--frob", "-x"}) {
        const CliRun run = RunCliWords({GetParam(), "a.vkp", "1", bad});
        EXPECT_EQ(run.code, kExitUsage);
        EXPECT_EQ(run.err.rfind("Unknown option " + std::string(bad) + ".\nUsage: velkora-cli " +
                                    GetParam() + " ",
                                0),
                  0u)
            << run.err;
        EXPECT_EQ(run.out, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Cli, EveryCommand, ::testing::ValuesIn(CommandNames()),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });

TEST(CliVersion, PrintsVersionAndLicence) {
    const CliRun run = RunCliWords({"--version"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out.rfind("velkora-cli 1.", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("The Velkora developers"), std::string::npos);
    EXPECT_NE(run.out.find("MIT"), std::string::npos);
    EXPECT_EQ(run.err, "");
}

TEST(CliArgs, RepeatedOptionKeepsEveryValueInOrder) {
    const CliSyntax syntax{{"F"}, {{"affiliate", true, "KEY", "k", CliOccurs::Repeated}}};
    CliArgs args;
    std::string error;
    ASSERT_TRUE(
        args.Parse({"f", "--affiliate", "3", "--affiliate=1", "--affiliate", "2"}, syntax, error));
    EXPECT_EQ(args.Values("affiliate"), (std::vector<std::string>{"3", "1", "2"}));
    EXPECT_EQ(UsageText(syntax), "F [--affiliate KEY]...");
}

struct SafeCase {
    const char* name;
    std::string in;
    std::string out;
};

class TerminalSafeCases : public ::testing::TestWithParam<SafeCase> {};

TEST_P(TerminalSafeCases, EscapesOnlyControls) {
    EXPECT_EQ(TerminalSafe(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, TerminalSafeCases,
    ::testing::Values(SafeCase{"plain", "Setup 1.0.exe", "Setup 1.0.exe"},
                      SafeCase{"csi", "a\x1b[31mred\x1b[0m", "a\\x1b[31mred\\x1b[0m"},
                      SafeCase{"title", "\x1b]0;owned\x07", "\\x1b]0;owned\\x07"},
                      SafeCase{"newline_tab_del", "a\nb\tc\x7f", "a\\x0ab\\x09c\\x7f"},
                      SafeCase{"nul", std::string("a\0b", 3), "a\\x00b"},
                      SafeCase{"utf8_c1",
                               "x\xC2\x9B"
                               "31m",
                               "x\\xc2\\x9b31m"},
                      SafeCase{"raw_c1",
                               "x\x9b"
                               "31m",
                               "x\xEF\xBF\xBD"
                               "31m"},
                      SafeCase{"utf8_text", "caf\xC3\xA9 \xE2\x82\xAC \xC2\xA0",
                               "caf\xC3\xA9 \xE2\x82\xAC \xC2\xA0"},
                      SafeCase{"latin1", "caf\xE9", "caf\xEF\xBF\xBD"},
                      SafeCase{"cut_utf8", "\xE2\x82", "\xEF\xBF\xBD\xEF\xBF\xBD"},
                      SafeCase{"surrogate", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
                      SafeCase{"utf8_c1_last", "\xC2\x9F\xC2\xA0", "\\xc2\\x9f\xC2\xA0"},
                      SafeCase{"windows_path", "C:\\Out\\s.exe", "C:\\Out\\s.exe"}),
    [](const auto& info) { return std::string(info.param.name); });

// The affiliate list's time is worked out from a few conversions per day; it
// must read as the general formatter writes it over the whole range a file
// can hold, in zones with odd offsets and around their changes of offset.
class ModifiedTimeZones : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        const char* old = std::getenv("TZ");
        m_hadZone = old != nullptr;
        m_oldZone = old ? old : "";
        platform::SetEnvironmentValue("TZ", GetParam());
        platform::ReloadLocalTimeZone();
    }
    void TearDown() override {
        platform::SetEnvironmentValue("TZ", m_hadZone ? m_oldZone.c_str() : nullptr);
        platform::ReloadLocalTimeZone();
    }

private:
    bool m_hadZone = false;
    std::string m_oldZone;
};

TEST_P(ModifiedTimeZones, ReadsAsTheGeneralFormatter) {
    std::vector<int32_t> times = {INT32_MIN,  INT32_MIN + 3599, -86400,   -1, 0, 59, 60, 951782400,
                                  1600000000, INT32_MAX - 3599, INT32_MAX};
    for (int64_t t = INT32_MIN; t < INT32_MAX; t += 9876543)
        times.push_back(static_cast<int32_t>(t));
    // Every 7 minutes through 2021, which holds both changes of most zones;
    // times out of order, so that hours are looked up again.
    for (int64_t t = 1609459200; t < 1640995200; t += 7 * 60 + 13)
        times.push_back(static_cast<int32_t>(t));
    for (int64_t t = 1640995200; t > 1609459200; t -= 3 * 3600 + 1)
        times.push_back(static_cast<int32_t>(t));
    ModifiedTimeText text;
    for (const int32_t t : times) {
        std::string got;
        text.Append(got, t);
        ASSERT_EQ(got, platform::FormatLocalTime(t, "%Y-%m-%d %H:%M")) << t;
    }
    EXPECT_EQ(FormatModifiedTime(1600000000),
              platform::FormatLocalTime(1600000000, "%Y-%m-%d %H:%M"));
}

INSTANTIATE_TEST_SUITE_P(Zones, ModifiedTimeZones,
                         testing::Values("UTC0", "IST-5:30", "NST3:30NDT,M3.2.0,M11.1.0",
                                         "EST5EDT,M3.2.0/2,M11.1.0/2",
                                         "AEST-10AEDT,M10.1.0,M4.1.0/3", "LMT-0:19:32", "NPT-5:45"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return "zone" + std::to_string(info.index);
                         });

// Plain texts skip the byte-by-byte path eight bytes at a time: every byte
// value, at every place of a word and of the tail, must still be caught.
TEST(TerminalSafe, EveryByteAtEveryPlaceOfAPlainText) {
    const std::string plain = "Setup-1.0 (x64)~!";
    for (int value = 0; value < 256; ++value) {
        const auto byte = static_cast<unsigned char>(value);
        const bool escaped = byte < 0x20 || byte == 0x7F;
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02x", value);
        // A lone byte above 0x7F is never UTF-8: it reads as U+FFFD.
        const std::string replaced = byte >= 0x80 ? "\xEF\xBF\xBD" : escaped ? hex : "";
        for (size_t at = 0; at < plain.size(); ++at) {
            std::string text = plain;
            text[at] = static_cast<char>(byte);
            std::string expected = text;
            if (!replaced.empty())
                expected.replace(at, 1, replaced);
            ASSERT_EQ(TerminalSafe(text), expected) << "byte " << value << " at " << at;
        }
    }
}

TEST_F(CliTest, InspectEscapesEntryNamesButJsonKeepsThem) {
    const std::string name = "evil\x1b]0;title\x07\x1b[2J.txt";
    const auto entry = m_dir / name;
    WriteBytes(entry, "payload");
    CSfxPackage package;
    ASSERT_TRUE(package.AddFile(entry.string()));
    const std::string image = "IMAGE";
    const std::string path = (m_dir / "pkg.bin").string();
    ASSERT_EQ(package.BuildWithImage(image.data(), image.size(), path), SFX_OK);

    CliRun run = RunCliWords({"inspect", path});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(run.out.find('\x07'), std::string::npos);
    EXPECT_NE(run.out.find("[0] evil\\x1b]0;title\\x07\\x1b[2J.txt\n"), std::string::npos)
        << run.out;
    run = RunCliWords({"inspect", path, "--json"});
    EXPECT_NE(run.out.find("\"evil\\u001b]0;title\\u0007\\u001b[2J.txt\""), std::string::npos)
        << run.out;
}

TEST_F(CliTest, ShowEscapesProjectTexts) {
    MakeProject();
    ASSERT_EQ(RunCliWords({"set-product", m_file, "--title", "T\x1b[8mhidden"}).code, 0);
    const CliRun run = RunCliWords({"show", m_file});
    EXPECT_NE(run.out.find("Title:             T\\x1b[8mhidden\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
}

TEST_F(CliTest, FailedBuildWritesErrorLinesToStandardErrorToo) {
    MakeProject(); // its setup file Setup.exe does not exist
    ASSERT_EQ(RunCliWords({"add-affiliate", m_file, "--name", "A", "--affiliate-id", "1"}).code, 0);
    const std::string error = "Error! Can't open program setup file[Setup.exe].\n";
    CliRun run = RunCliWords({"build", m_file});
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_EQ(run.err, error);
    EXPECT_NE(run.out.find("Reading setup file 'Setup.exe'\n" + error), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("*** Finished! - 1 error(s)"), std::string::npos);

    // Quiet: only the error, on standard error.
    run = RunCliWords({"build", m_file, "--quiet"});
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, error);

    run = RunCliWords({"build-self-creator", m_file, "--quiet"});
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, error);
}

TEST_F(CliTest, AFolderGivenAsProjectFileIsCalledAFolder) {
    const std::string folder = m_dir.string();
    for (const char* command : {"show", "build", "set-product"}) {
        const CliRun run = RunCliWords({command, folder});
        EXPECT_EQ(run.code, kExitFailed) << command;
        EXPECT_EQ(run.err, "velkora-cli: " + folder + ": cannot read: Is a directory\n") << command;
    }
}

} // namespace
