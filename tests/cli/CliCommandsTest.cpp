#include "CliTestSupport.h"
#include "MiniJson.h"

#include "model/AffProject.h"
#include "model/ProjectFile.h"
#include "model/RegistrationServices.h"

#include <regex>

namespace {

std::string Endpoint(int32_t service) {
    return std::string(ServiceTable()[static_cast<size_t>(service)].endpoint);
}

CAffProject Load(const std::string& path) {
    CAffProject project;
    const ProjectFileResult result = LoadProjectFile(path, project);
    EXPECT_TRUE(result.Ok()) << result.message;
    return project;
}

JsonValue ShowJson(const std::string& path) {
    const CliRun run = RunCliWords({"show", path, "--json"});
    EXPECT_EQ(run.code, 0) << run.err;
    JsonValue value;
    JsonReader reader(run.out);
    EXPECT_TRUE(reader.Read(value)) << reader.Error() << "\n" << run.out;
    return value;
}

} // namespace

TEST_F(CliTest, NewStoresWhatTheWizardFinishStores) {
    MakeProject({"--self-creator-path", "kit/Maker.exe"});
    const CAffProject p = Load(m_file);
    EXPECT_EQ(p.m_strTitle, "Demo \"Pro\"");
    EXPECT_EQ(p.m_strVersion, "2.1");
    EXPECT_EQ(p.m_strWebSite, "https://demo.example");
    EXPECT_EQ(p.m_strSetupFile, "Setup.exe");
    EXPECT_EQ(p.m_strOutputDir, "out");
    EXPECT_EQ(p.m_strSelfCreatorPath, "kit/Maker.exe");
    EXPECT_TRUE(
        std::regex_match(p.m_strUuid, std::regex("[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}")))
        << p.m_strUuid;
    EXPECT_EQ(p.m_wDefaultService, kServiceRegNow);
    EXPECT_EQ(p.m_mapResellers.GetCount(), 0u);
    ASSERT_EQ(p.m_mapRegInfo.GetCount(), 1u);
    const CProductRegInfo* info = p.LookupRegInfo(kServiceRegNow);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->m_strProductId, "P-1");
    EXPECT_EQ(info->m_strPurchaseLink, Endpoint(kServiceRegNow) + "?item=P-1");
}

TEST_F(CliTest, NewComposesPerServiceOrKeepsTheGivenLink) {
    MakeProject({});
    ASSERT_EQ(RunCliWords({"new", m_file, "--title", "T", "--version", "1", "--website", "w",
                           "--setup-file", "s.exe", "--output-dir", "o", "--service", "shareit",
                           "--product-id", "77", "--force"})
                  .code,
              0);
    CAffProject p = Load(m_file);
    EXPECT_EQ(p.m_wDefaultService, kServiceShareIt);
    ASSERT_NE(p.LookupRegInfo(kServiceShareIt), nullptr);
    EXPECT_EQ(p.LookupRegInfo(kServiceShareIt)->m_strPurchaseLink,
              Endpoint(kServiceShareIt) + "?productid=77");
    EXPECT_EQ(p.LookupRegInfo(kServiceRegNow), nullptr);

    ASSERT_EQ(
        RunCliWords({"new", m_file, "--title", "T", "--version", "1", "--website", "w",
                     "--setup-file", "s.exe", "--output-dir", "o", "--service", "Other",
                     "--product-id", "x", "--purchase-link", "https://own/buy?id=x", "--force"})
            .code,
        0);
    p = Load(m_file);
    EXPECT_EQ(p.m_wDefaultService, kServiceOther);
    ASSERT_NE(p.LookupRegInfo(kServiceOther), nullptr);
    EXPECT_EQ(p.LookupRegInfo(kServiceOther)->m_strPurchaseLink, "https://own/buy?id=x");
}

TEST_F(CliTest, NewRefusals) {
    const std::vector<std::string> base = {"new",          m_file,  "--title",      "T",
                                           "--version",    "1",     "--website",    "w",
                                           "--setup-file", "s.exe", "--output-dir", "o"};
    auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> words = base;
        words.insert(words.end(), extra.begin(), extra.end());
        return RunCliWords(words);
    };
    CliRun run = with({"--service", "RegNow"});
    EXPECT_EQ(run.code, kExitUsage);
    EXPECT_EQ(run.err, "Option --product-id is required and must not be empty.\n");

    run = with({"--service", "RegNow", "--product-id", ""});
    EXPECT_EQ(run.err, "Option --product-id is required and must not be empty.\n");

    run = with({"--service", "RegNowX", "--product-id", "1"});
    EXPECT_EQ(run.code, kExitUsage);
    EXPECT_EQ(
        run.err,
        "Unknown registration service 'RegNowX'. Use one of: RegNow ShareIt RegSoft Other.\n");

    run = with({"--service", "Other", "--product-id", "1"});
    EXPECT_NE(run.code, 0);
    EXPECT_EQ(run.err, "Service 'Other' has no purchase endpoint; give the product's link with "
                       "--purchase-link.\n");
    EXPECT_FALSE(std::filesystem::exists(m_file));

    WriteBytes(m_file, "keep me");
    run = with({"--service", "RegNow", "--product-id", "1"});
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_EQ(run.err, "File '" + m_file + "' already exists; use --force to replace it.\n");
    EXPECT_EQ(ReadBytes(m_file), "keep me");
}

TEST_F(CliTest, NewShowAddRemoveRoundTrip) {
    MakeProject();
    CliRun run = RunCliWords({"add-affiliate", m_file, "--name", "Bob", "--affiliate-id", "A7",
                              "--email", "bob@example.org", "--website", "https://bob.example"});
    ASSERT_EQ(run.code, 0) << run.err;
    run = RunCliWords({"add-affiliate", m_file, "--name", "Ann", "--affiliate-id", "A8"});
    ASSERT_EQ(run.code, 0) << run.err;

    CAffProject p = Load(m_file);
    ASSERT_EQ(p.m_mapResellers.GetCount(), 2u);
    const CReseller* bob = p.LookupReseller(0);
    ASSERT_NE(bob, nullptr);
    EXPECT_EQ(bob->m_strName, "Bob");
    EXPECT_EQ(bob->m_strPurchaseLink, Endpoint(kServiceRegNow) + "?affiliate=A7&item=P-1");
    EXPECT_EQ(bob->m_strSetupPath, Native("out/Setup_Bob.exe"));
    EXPECT_EQ(bob->m_nService, kServiceRegNow);
    EXPECT_EQ(bob->m_strEmail, "bob@example.org");
    EXPECT_EQ(bob->m_strWebSite, "https://bob.example");
    EXPECT_GT(bob->m_tModified, 1600000000);

    run = RunCliWords({"show", m_file});
    ASSERT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("[0] Bob"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("[1] Ann"), std::string::npos);
    EXPECT_NE(run.out.find("Setup_Ann.exe"), std::string::npos);

    run = RunCliWords({"remove-affiliate", m_file, "0"});
    ASSERT_EQ(run.code, 0) << run.err;
    p = Load(m_file);
    EXPECT_EQ(p.LookupReseller(0), nullptr);
    ASSERT_NE(p.LookupReseller(1), nullptr);
    // Keys are not reused after a deletion.
    ASSERT_EQ(RunCliWords({"add-affiliate", m_file, "--name", "Cy", "--affiliate-id", "C"}).code,
              0);
    p = Load(m_file);
    ASSERT_NE(p.LookupReseller(2), nullptr);
    EXPECT_EQ(p.LookupReseller(2)->m_strName, "Cy");
}

TEST_F(CliTest, ShowListsAffiliatesInMapOrder) {
    MakeProject();
    // Keys 0..17: key 16 lives in bucket 1, so it is listed after 0..15 (bucket
    // 0, newest first) and before nothing else; 17 joins it in bucket 1.
    for (int i = 0; i < 18; ++i)
        ASSERT_EQ(RunCliWords({"add-affiliate", m_file, "--name", "N" + std::to_string(i),
                               "--affiliate-id", "x"})
                      .code,
                  0);
    const JsonValue json = ShowJson(m_file);
    const auto& affiliates = json["affiliates"].items;
    ASSERT_EQ(affiliates.size(), 18u);
    std::vector<int> keys;
    for (const auto& a : affiliates)
        keys.push_back(static_cast<int>(a["key"].number));
    const std::vector<int> expected = {15, 14, 13, 12, 11, 10, 9, 8,  7,
                                       6,  5,  4,  3,  2,  1,  0, 17, 16};
    EXPECT_EQ(keys, expected);
}

TEST_F(CliTest, JsonIsValidAndEscaped) {
    MakeProject();
    // A value that is not UTF-8 is refused before anything is stored.
    const CliRun latin1 = RunCliWords({"set-product", m_file, "--title", "\xE9t\xE9"});
    EXPECT_EQ(latin1.code, 2);
    EXPECT_NE(latin1.err.find("--title is not valid UTF-8"), std::string::npos) << latin1.err;
    const std::string tricky = "q\"b\\s/\n\t\x01 \xC3\xA9t\xC3\xA9";
    ASSERT_EQ(
        RunCliWords({"set-product", m_file, "--title", tricky, "--version", "caf\xC3\xA9"}).code,
        0);
    ASSERT_EQ(
        RunCliWords({"add-affiliate", m_file, "--name", "A&B <x>", "--affiliate-id", "id\"1"}).code,
        0);
    const JsonValue json = ShowJson(m_file);
    ASSERT_EQ(json.kind, JsonValue::Kind::Object);
    const JsonValue& product = json["product"];
    EXPECT_EQ(product["title"].text, tricky);
    EXPECT_EQ(product["version"].text, "caf\xC3\xA9");
    EXPECT_EQ(product["defaultServiceName"].text, "RegNow");
    EXPECT_EQ(json["registrationInfo"].items.size(), 1u);
    EXPECT_EQ(json["registrationInfo"][0]["productId"].text, "P-1");
    const JsonValue& a = json["affiliates"][0];
    EXPECT_EQ(a["name"].text, "A&B <x>");
    EXPECT_EQ(a["affiliateId"].text, "id\"1");
    EXPECT_EQ(a["purchaseLink"].text, Endpoint(kServiceRegNow) + "?affiliate=id%221&item=P-1");
    EXPECT_TRUE(std::regex_match(a["modified"].text,
                                 std::regex("[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}")));

    // An empty project still gives valid JSON with empty lists.
    WriteBytes(m_file, "");
    const JsonValue empty = ShowJson(m_file);
    EXPECT_TRUE(empty["affiliates"].items.empty());
    EXPECT_EQ(empty["affiliates"].kind, JsonValue::Kind::Array);
}

TEST_F(CliTest, SetProductChangesOnlyTheGivenFields) {
    MakeProject();
    const std::string before = ReadBytes(m_file);
    CliRun run = RunCliWords({"set-product", m_file});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ReadBytes(m_file), before);

    // Several affiliates in one bucket keep their order through load and save.
    for (const char* name : {"Bob", "Ann", "Cy"})
        ASSERT_EQ(
            RunCliWords({"add-affiliate", m_file, "--name", name, "--affiliate-id", "1"}).code, 0);
    const std::string withAffiliate = ReadBytes(m_file);
    ASSERT_EQ(RunCliWords({"set-product", m_file}).code, 0);
    EXPECT_EQ(ReadBytes(m_file), withAffiliate);

    run = RunCliWords({"set-product", m_file, "--version", "3.0", "--uuid", "not a uuid",
                       "--self-creator-path", ""});
    ASSERT_EQ(run.code, 0) << run.err;
    const CAffProject p = Load(m_file);
    EXPECT_EQ(p.m_strVersion, "3.0");
    EXPECT_EQ(p.m_strUuid, "not a uuid");
    EXPECT_EQ(p.m_strTitle, "Demo \"Pro\"");
    EXPECT_EQ(p.m_strSelfCreatorPath, "");
    EXPECT_EQ(p.m_mapResellers.GetCount(), 3u);
}

TEST_F(CliTest, AddAffiliateDialogChecksInOrder) {
    MakeProject();
    const std::string before = ReadBytes(m_file);
    auto add = [&](std::vector<std::string> extra) {
        std::vector<std::string> words = {"add-affiliate", m_file};
        words.insert(words.end(), extra.begin(), extra.end());
        return RunCliWords(words);
    };
    CliRun run = add({"--name", "Bob"});
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_EQ(run.err, "Please provide an ID for this affiliate!\n");
    // The last failing check decides.
    run = add({"--purchase-link", "https://x"});
    EXPECT_EQ(run.err, "Please input a name for this affiliate.\n");
    run = add({"--purchase-link", ""});
    EXPECT_EQ(run.err, "Please fill out purchase link.\n");
    run = add({"--name", "Bob", "--affiliate-id", "1", "--purchase-link", ""});
    EXPECT_EQ(run.err, "Please fill out purchase link.\n");
    EXPECT_EQ(ReadBytes(m_file), before);
}

TEST_F(CliTest, AddAffiliateRefusesClashingSetupPaths) {
    MakeProject();
    auto add = [&](std::vector<std::string> extra) {
        std::vector<std::string> words = {"add-affiliate", m_file, "--affiliate-id", "1"};
        words.insert(words.end(), extra.begin(), extra.end());
        return RunCliWords(words);
    };
    // Letter case counts as the host's file system counts it; that rule has
    // its own table (EditorRules), so here the same name is written another way.
    CliRun run = add({"--name", "Bob", "--setup-path", "./Setup.exe"});
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_EQ(run.err, "File './Setup.exe' is the product setup file, please choose another one "
                       "for affiliate.\n");
    run = add({"--name", "Bob", "--setup-path", (m_dir / "Setup.exe").string()});
    EXPECT_EQ(run.code, kExitFailed);

    ASSERT_EQ(add({"--name", "Bob"}).code, 0);
    const std::string before = ReadBytes(m_file);
    // Derived from the name, differing only in case.
    run = add({"--name", "BOB"});
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_EQ(run.err, "File '" + Native("out/Setup_BOB.exe") +
                           "' is used for another affiliate, please select other name.\n");
    // The same file written another way.
    run = add({"--name", "Other", "--setup-path", "./out/../out/setup_bob.EXE"});
    EXPECT_EQ(run.err, "File './out/../out/setup_bob.EXE' is used for another affiliate, please "
                       "select other name.\n");
    EXPECT_EQ(ReadBytes(m_file), before);
}

TEST_F(CliTest, AddAffiliateStoresSetupPathProjectRelative) {
    MakeProject();
    ASSERT_EQ(RunCliWords({"add-affiliate", m_file, "--name", "In", "--affiliate-id", "1",
                           "--setup-path", (m_dir / "sub" / "in.exe").string()})
                  .code,
              0);
    const std::string outside = (m_dir.parent_path() / "elsewhere.exe").string();
    ASSERT_EQ(RunCliWords({"add-affiliate", m_file, "--name", "Out", "--affiliate-id", "2",
                           "--setup-path", outside})
                  .code,
              0);
    ASSERT_EQ(RunCliWords({"set-product", m_file, "--output-dir", (m_dir / "dist").string(),
                           "--setup-file", "pkg/Tool.run"})
                  .code,
              0);
    ASSERT_EQ(RunCliWords({"add-affiliate", m_file, "--name", "Z", "--affiliate-id", "3"}).code, 0);
    // Without an output folder the setup goes beside the project, not to "/".
    ASSERT_EQ(RunCliWords({"set-product", m_file, "--output-dir", ""}).code, 0);
    ASSERT_EQ(RunCliWords({"add-affiliate", m_file, "--name", "E", "--affiliate-id", "4"}).code, 0);
    const CAffProject p = Load(m_file);
    EXPECT_EQ(p.LookupReseller(0)->m_strSetupPath, Native("sub/in.exe"));
    EXPECT_EQ(p.LookupReseller(1)->m_strSetupPath, outside);
    EXPECT_EQ(p.LookupReseller(2)->m_strSetupPath, Native("dist/Tool_Z.run"));
    EXPECT_EQ(p.LookupReseller(3)->m_strSetupPath, "Tool_E.run");

    // The product's paths follow the same rule: inside the folder, relative.
    const std::string kit = (m_dir.parent_path() / "Kit.exe").string();
    ASSERT_EQ(RunCliWords({"set-product", m_file, "--output-dir", (m_dir / "dist").string(),
                           "--setup-file", (m_dir / "pkg" / "Tool.run").string(),
                           "--self-creator-path", kit})
                  .code,
              0);
    const CAffProject product = Load(m_file);
    EXPECT_EQ(product.m_strOutputDir, "dist");
    EXPECT_EQ(product.m_strSetupFile, Native("pkg/Tool.run"));
    EXPECT_EQ(product.m_strSelfCreatorPath, kit);
}

TEST_F(CliTest, AddAffiliateServicesWithoutProductId) {
    MakeProject();
    CliRun run = RunCliWords(
        {"add-affiliate", m_file, "--name", "S", "--affiliate-id", "1", "--service", "shareit"});
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_EQ(run.err, "Product ID for 'ShareIt' does not exist; give the affiliate's link with "
                       "--purchase-link.\n");
    run = RunCliWords(
        {"add-affiliate", m_file, "--name", "O", "--affiliate-id", "1", "--service", "Other"});
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_EQ(run.err, "Service 'Other' has no purchase endpoint; give the affiliate's link with "
                       "--purchase-link.\n");
    run = RunCliWords({"add-affiliate", m_file, "--name", "O", "--affiliate-id", "1", "--service",
                       "Other", "--purchase-link", "https://own.example/?r=1"});
    ASSERT_EQ(run.code, 0) << run.err;
    run = RunCliWords(
        {"add-affiliate", m_file, "--name", "X", "--affiliate-id", "1", "--service", "Bogus"});
    EXPECT_EQ(run.code, kExitUsage);
    const CAffProject p = Load(m_file);
    ASSERT_EQ(p.m_mapResellers.GetCount(), 1u);
    EXPECT_EQ(p.LookupReseller(0)->m_nService, kServiceOther);
    EXPECT_EQ(p.LookupReseller(0)->m_strPurchaseLink, "https://own.example/?r=1");
}

TEST_F(CliTest, RemoveAffiliateRefusals) {
    MakeProject();
    const std::string before = ReadBytes(m_file);
    CliRun run = RunCliWords({"remove-affiliate", m_file, "3"});
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_EQ(run.err, "There is no affiliate with key 3 in '" + m_file + "'.\n");
    for (const char* bad : {"-1", "65536", "1x", ""}) {
        run = RunCliWords({"remove-affiliate", m_file, bad});
        EXPECT_EQ(run.code, kExitUsage) << bad;
    }
    EXPECT_EQ(ReadBytes(m_file), before);
}

TEST_F(CliTest, MissingOrBadFileGivesTheMessage) {
    const std::string missing = (m_dir / "none.vkp").string();
    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {"show", missing},
             {"set-product", missing, "--title", "x"},
             {"add-affiliate", missing, "--name", "a", "--affiliate-id", "b"},
             {"remove-affiliate", missing, "0"}}) {
        const CliRun run = RunCliWords(words);
        EXPECT_EQ(run.code, kExitFailed) << words[0];
        EXPECT_EQ(run.err, "velkora-cli: " + missing + ": cannot read: No such file or directory\n")
            << words[0];
        EXPECT_FALSE(std::filesystem::exists(missing)) << words[0];
    }
    WriteBytes(m_file, std::string("\x64\x00\x00\x00\x01", 5));
    for (const char* command : {"show", "set-product"}) {
        const CliRun run = RunCliWords({command, m_file});
        EXPECT_EQ(run.code, kExitFailed);
        EXPECT_EQ(run.err, "velkora-cli: " + m_file + ": Unexpected file format.\n");
        EXPECT_EQ(ReadBytes(m_file), std::string("\x64\x00\x00\x00\x01", 5));
    }
}

TEST_F(CliTest, HelpAndUnknownCommands) {
    CliRun run = RunCliWords({});
    EXPECT_EQ(run.code, kExitUsage);
    EXPECT_NE(run.err.find("remove-affiliate"), std::string::npos);
    run = RunCliWords({"help"});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("set-product"), std::string::npos);
    run = RunCliWords({"help", "show"});
    EXPECT_EQ(run.out.find("Usage: velkora-cli show FILE.vkp [--json]"), 0u);
    run = RunCliWords({"frobnicate"});
    EXPECT_EQ(run.code, kExitUsage);
    EXPECT_EQ(run.err, "Unknown command 'frobnicate'. Run 'velkora-cli help' for the list.\n");
    run = RunCliWords({"show", m_file, "--jsn"});
    EXPECT_EQ(run.code, kExitUsage);
    EXPECT_EQ(run.err.rfind("Unknown option --jsn.\n", 0), 0u);
}

TEST_F(CliTest, BuildAndRunSetupRefuseAKeyThatNamesNobody) {
    MakeProject();
    ASSERT_EQ(RunCliWords({"add-affiliate", m_file, "--name", "A", "--affiliate-id", "1"}).code, 0);
    const std::string before = ReadBytes(m_file);
    const std::string message = "No affiliate with key 9 in '" + m_file + "'.\n";
    CliRun run = RunCliWords({"build", m_file, "--affiliate", "0", "--affiliate", "9"});
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_EQ(run.err, message);
    EXPECT_EQ(run.out, ""); // nothing was built for key 0 either
    run = RunCliWords({"run-setup", m_file, "9"});
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_EQ(run.err, message);
    EXPECT_EQ(ReadBytes(m_file), before);
}
