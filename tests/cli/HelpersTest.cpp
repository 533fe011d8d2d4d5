#include "cli/CliProject.h"
#include "cli/CommandArgs.h"
#include "cli/CommandTable.h"
#include "cli/JsonText.h"
#include "cli/ProductOptions.h"
#include "model/AffProject.h"
#include "model/AffiliateDraft.h"
#include "model/RegistrationServices.h"

#include <cctype>
#include <optional>
#include <sstream>

#include <gtest/gtest.h>

TEST(AffiliateSetupFileName, TitleNameExtension) {
    const ProgramStart linux = ProgramStart::Elf;
    EXPECT_EQ(AffiliateSetupFileName("setup.exe", "Bob", linux), "setup_Bob.exe");
    EXPECT_EQ(AffiliateSetupFileName("C:\\Prod\\v1.2\\Setup.EXE", "Bob", linux), "Setup_Bob.EXE");
    EXPECT_EQ(AffiliateSetupFileName("/srv/v1.2/setup", "Bob", linux), "setup_Bob");
    EXPECT_EQ(AffiliateSetupFileName("pkg.tar.gz", "A B", ProgramStart::Script), "pkg.tar_A B.gz");
    EXPECT_EQ(AffiliateSetupFileName("", "Bob", ProgramStart::Unknown), "_Bob");
}

// A custom setup with a Windows launcher is a Windows program, whatever the
// setup file is called.
TEST(AffiliateSetupFileName, WindowsLauncherGivesExe) {
    const ProgramStart windows = ProgramStart::WindowsProgram;
    EXPECT_EQ(AffiliateSetupFileName("Tidy.msi", "Ann", ProgramStart::Installer), "Tidy_Ann.exe");
    EXPECT_EQ(AffiliateSetupFileName("C:\\Prod\\Setup.EXE", "Bob", windows), "Setup_Bob.exe");
    EXPECT_EQ(AffiliateSetupFileName("/srv/v1.2/setup", "Bob", windows), "setup_Bob.exe");
    EXPECT_EQ(AffiliateSetupFileName("setup.sh", "con", windows), "setup_con.exe");
    EXPECT_EQ(AffiliateSetupFileName("pkg.tar.gz", "A B", windows), "pkg.tar_A B.exe");
}

TEST(JsonQuote, EscapesAndKeepsOutputValid) {
    EXPECT_EQ(JsonQuote("plain"), "\"plain\"");
    EXPECT_EQ(JsonQuote("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonQuote("\n\r\t\b\f"), "\"\\n\\r\\t\\b\\f\"");
    EXPECT_EQ(JsonQuote(std::string("\x00\x1f\x7f", 3)), "\"\\u0000\\u001f\\u007f\"");
    // Valid UTF-8 stays; anything else is read as Latin-1, byte by byte.
    EXPECT_EQ(JsonQuote("caf\xC3\xA9"), "\"caf\xC3\xA9\"");
    // Any byte outside UTF-8 becomes U+FFFD; the rest of the text is kept.
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(JsonQuote("caf\xE9 \xC3\xA9"), "\"caf" + fffd + " \xC3\xA9\"");
    EXPECT_EQ(JsonQuote("\xC0\xAF"), "\"" + fffd + fffd + "\"");            // overlong form
    EXPECT_EQ(JsonQuote("\xED\xA0\x80"), "\"" + fffd + fffd + fffd + "\""); // surrogate
    EXPECT_EQ(JsonQuote("\xE2\x82!"), "\"" + fffd + fffd + "!\"");          // cut short
}

TEST(ParseCommandArgs, EveryCommandNamesItselfInItsUsageError) {
    for (const CliCommandFactory make : CommandTable()) {
        const auto command = make();
        std::ostringstream err;
        CliArgs args;
        const std::vector<std::string> words = {"--no-such-option", "file"};
        EXPECT_FALSE(ParseCommandArgs(*command, words, args, err));
        EXPECT_EQ(err.str(), "Unknown option --no-such-option.\nUsage: velkora-cli " +
                                 std::string(command->Name()) + " " +
                                 std::string(command->Usage()) + "\n");
        // The command itself refuses the option with the same usage line.
        const std::string usage = err.str().substr(err.str().find("\nUsage: "));
        std::ostringstream out, err2;
        EXPECT_EQ(command->Execute(words, out, err2), kExitUsage) << command->Name();
        const std::string said = err2.str();
        ASSERT_GE(said.size(), usage.size()) << command->Name();
        EXPECT_EQ(said.substr(said.size() - usage.size()), usage) << command->Name();
        EXPECT_NE(said.find("--no-such-option"), std::string::npos) << said;
        EXPECT_EQ(out.str(), "") << command->Name();
    }
}

TEST(ParseCommandArgs, AcceptsWithoutWritingAnything) {
    const auto command = FindCommand("show");
    ASSERT_TRUE(command);
    std::ostringstream err;
    CliArgs args;
    ASSERT_TRUE(ParseCommandArgs(*command, {"a.vkp", "--json"}, args, err));
    EXPECT_EQ(err.str(), "");
    EXPECT_TRUE(args.Has("json"));
    ASSERT_EQ(args.Positionals().size(), 1u);
    EXPECT_EQ(args.Positionals()[0], "a.vkp");
}

TEST(ReadServiceOption, AbsentKnownAndUnknown) {
    CliArgs args;
    std::string error;
    std::ostringstream err;
    std::optional<int32_t> service;
    ASSERT_TRUE(args.Parse({"f"}, {{"service", true}}, 1, 1, error));
    EXPECT_TRUE(ReadServiceOption(args, service, err));
    EXPECT_FALSE(service.has_value());

    const std::string name(ServiceNameFromIndex(0));
    std::string shouted = name;
    for (char& c : shouted)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ASSERT_TRUE(args.Parse({"f", "--service", shouted}, {{"service", true}}, 1, 1, error));
    EXPECT_TRUE(ReadServiceOption(args, service, err));
    EXPECT_EQ(service, std::optional<int32_t>(0));
    EXPECT_EQ(err.str(), "");

    // A refused name leaves the earlier choice alone and says what was wrong.
    ASSERT_TRUE(args.Parse({"f", "--service", "Nowhere"}, {{"service", true}}, 1, 1, error));
    EXPECT_FALSE(ReadServiceOption(args, service, err));
    EXPECT_EQ(service, std::optional<int32_t>(0));
    EXPECT_EQ(err.str(), UnknownServiceMessage("Nowhere") + "\n");
}

TEST(ProductOptions, ListsEveryProductTextThenTheExtras) {
    const std::vector<CliOption> options = ProductTextOptions({{"force", false}});
    std::vector<std::string> names;
    for (const CliOption& option : options)
        names.emplace_back(option.name);
    EXPECT_EQ(names, (std::vector<std::string>{"title", "version", "website", "setup-file",
                                               "output-dir", "self-creator-path", "force"}));
    for (size_t i = 0; i + 1 < options.size(); ++i)
        EXPECT_TRUE(options[i].takesValue) << names[i];
    EXPECT_FALSE(options.back().takesValue);
}

TEST(ProductOptions, CopiesOnlyTheTextsGivenEvenWhenEmpty) {
    CAffProject project;
    project.m_strTitle = "Old title";
    project.m_strVersion = "1.0";
    project.m_strWebSite = "http://old.example";
    project.m_strSetupFile = "old.exe";
    project.m_strOutputDir = "old-out";
    project.m_strSelfCreatorPath = "old-maker.exe";
    project.m_strUuid = "keep-me";

    CliArgs args;
    std::string error;
    ASSERT_TRUE(args.Parse({"f", "--version", "2.0", "--output-dir=", "--self-creator-path",
                            "new maker.exe", "--setup-file", "caf\xC3\xA9.exe"},
                           ProductTextOptions(), 1, 1, error))
        << error;
    CopyProductTexts(args, project);
    EXPECT_EQ(project.m_strTitle, "Old title");
    EXPECT_EQ(project.m_strVersion, "2.0");
    EXPECT_EQ(project.m_strWebSite, "http://old.example");
    EXPECT_EQ(project.m_strSetupFile, "caf\xC3\xA9.exe");
    EXPECT_EQ(project.m_strOutputDir, ""); // given empty: cleared, not skipped
    EXPECT_EQ(project.m_strSelfCreatorPath, "new maker.exe");
    EXPECT_EQ(project.m_strUuid, "keep-me");
}

TEST(RequireAffiliate, NamesTheMissingKeyAndFile) {
    CAffProject project;
    uint16_t key = 0;
    ASSERT_EQ(project.AddReseller(CReseller(), &key), CAffProject::AddResult::Added);
    std::ostringstream err;
    EXPECT_TRUE(RequireAffiliate(project, key, "p.vkp", err));
    EXPECT_EQ(err.str(), "");
    EXPECT_FALSE(RequireAffiliate(project, static_cast<uint16_t>(key + 1), "p.vkp", err));
    EXPECT_EQ(err.str(), "No affiliate with key " + std::to_string(key + 1) + " in 'p.vkp'.\n");
}
