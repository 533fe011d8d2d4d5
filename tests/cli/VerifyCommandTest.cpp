#include "CliTestSupport.h"
#include "MiniJson.h"

#include "model/AffProject.h"
#include "model/ProjectFile.h"

#include <chrono>

namespace {

namespace fs = std::filesystem;

// Builds two affiliates' setups with the launcher embedded in this test
// program, as velkora-cli does, and checks them with verify.
class VerifyCommandTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        WriteBytes(m_dir / "Setup.exe", "#!" + std::string(3000, 'S') + "end");
        MakeProject();
        WriteBytes(m_dir / "a.csv", "Affiliate Name,Affiliate ID,Website\n"
                                    "Ann,a1,http://ann.example\n"
                                    "Bob,b2,\n");
        ASSERT_EQ(RunCliWords({"import-affiliates", m_file, (m_dir / "a.csv").string()}).code,
                  kExitOk);
        const CliRun build = RunCliWords({"build", m_file, "--quiet"});
        ASSERT_EQ(build.code, kExitOk) << build.out << build.err;
        // The build may fall in the second of the import; later changes must
        // be seen as later.
        AgeFile(m_dir / "out" / "Setup_Ann.exe", -100);
        AgeFile(m_dir / "out" / "Setup_Bob.exe", -100);
        AgeFile(m_dir / "Setup.exe", -200);
        CAffProject project = LoadProject();
        project.m_mapResellers.ForEach([](uint16_t, CReseller& r) { r.m_tModified -= 300; });
        ASSERT_TRUE(SaveProjectFile(m_file, project).Ok());
    }

    static void AgeFile(const fs::path& path, int seconds) {
        fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(seconds));
    }

    CAffProject LoadProject() {
        CAffProject project;
        EXPECT_TRUE(LoadProjectFile(m_file, project).Ok());
        project.SetProjectPath(m_file);
        return project;
    }

    JsonValue VerifyJson(int expectedCode, std::vector<std::string> extra = {}) {
        std::vector<std::string> words = {"verify", m_file, "--json"};
        words.insert(words.end(), extra.begin(), extra.end());
        const CliRun run = RunCliWords(words);
        EXPECT_EQ(run.code, expectedCode) << run.out << run.err;
        JsonValue value;
        JsonReader reader(run.out);
        EXPECT_TRUE(reader.Read(value)) << reader.Error() << "\n" << run.out;
        return value;
    }
};

TEST_F(VerifyCommandTest, AFreshBuildMatchesEverywhere) {
    const JsonValue report = VerifyJson(kExitOk);
    EXPECT_TRUE(report["allMatch"].boolean);
    ASSERT_EQ(report["affiliates"].items.size(), 2u);
    for (const JsonValue& a : report["affiliates"].items) {
        EXPECT_EQ(a["state"].text, "present");
        EXPECT_TRUE(a["matches"].boolean);
        EXPECT_TRUE(a["stale"].items.empty());
        EXPECT_EQ(a["launcher"].text, "Linux");
        EXPECT_FALSE(a["signed"].boolean);
        EXPECT_TRUE(a["payload"]["matches"].boolean);
        EXPECT_EQ(a["payload"]["sha256"].text, report["setupFile"]["sha256"].text);
        EXPECT_EQ(a["payload"]["size"].number, 3005);
    }
    EXPECT_EQ(report["affiliates"][0]["fields"]["webSite"]["found"].text, "http://ann.example");

    const CliRun text = RunCliWords({"verify", m_file});
    EXPECT_EQ(text.code, kExitOk);
    EXPECT_NE(text.out.find("All custom setups match."), std::string::npos) << text.out;
}

TEST_F(VerifyCommandTest, AnAffiliateEditedAfterTheBuildIsStale) {
    CAffProject project = LoadProject();
    CReseller* ann = project.LookupReseller(0);
    ASSERT_NE(ann, nullptr);
    ann->m_strWebSite = "http://new.example";
    ann->m_tModified += 1000;
    ASSERT_TRUE(SaveProjectFile(m_file, project).Ok());

    const JsonValue report = VerifyJson(kExitFailed);
    const JsonValue& a = report["affiliates"][0];
    EXPECT_FALSE(a["matches"].boolean);
    ASSERT_EQ(a["stale"].items.size(), 1u);
    EXPECT_EQ(a["stale"][0].text, "the affiliate was changed after the build");
    EXPECT_FALSE(a["fields"]["webSite"]["matches"].boolean);
    EXPECT_EQ(a["fields"]["webSite"]["found"].text, "http://ann.example");
    EXPECT_TRUE(a["fields"]["purchaseLink"]["matches"].boolean);
    EXPECT_TRUE(report["affiliates"][1]["matches"].boolean);
    // Only the affiliate asked for is checked.
    const JsonValue bobOnly = VerifyJson(kExitOk, {"--affiliate=1"});
    ASSERT_EQ(bobOnly["affiliates"].items.size(), 1u);
    EXPECT_EQ(bobOnly["affiliates"][0]["name"].text, "Bob");
}

TEST_F(VerifyCommandTest, AReplacedProductSetupDiffersFromEveryPayload) {
    // Same length, one byte changed: only the digest can tell.
    WriteBytes(m_dir / "Setup.exe", "#!" + std::string(3000, 'S') + "END");
    AgeFile(m_dir / "Setup.exe", -150);
    const JsonValue report = VerifyJson(kExitFailed);
    for (const JsonValue& a : report["affiliates"].items) {
        EXPECT_TRUE(a["stale"].items.empty());
        EXPECT_EQ(a["payload"]["size"].number, 3005);
        EXPECT_FALSE(a["payload"]["matches"].boolean);
        EXPECT_NE(a["payload"]["sha256"].text, report["setupFile"]["sha256"].text);
    }
    // Written after the build, the new setup also makes the packages stale.
    AgeFile(m_dir / "Setup.exe", 200);
    const JsonValue later = VerifyJson(kExitFailed);
    EXPECT_EQ(later["affiliates"][0]["stale"][0].text,
              "the product's setup file is newer than the build");
}

TEST_F(VerifyCommandTest, ADeletedPackageIsMissing) {
    fs::remove(m_dir / "out" / "Setup_Bob.exe");
    const JsonValue report = VerifyJson(kExitFailed);
    EXPECT_TRUE(report["affiliates"][0]["matches"].boolean);
    EXPECT_EQ(report["affiliates"][1]["state"].text, "missing");
    EXPECT_FALSE(report["affiliates"][1]["matches"].boolean);
    const CliRun text = RunCliWords({"verify", m_file, "--affiliate", "1"});
    EXPECT_EQ(text.code, kExitFailed);
    EXPECT_NE(text.out.find("State:         missing"), std::string::npos) << text.out;
}

TEST_F(VerifyCommandTest, AFileThatIsNoPackageIsReportedNotTrusted) {
    WriteBytes(m_dir / "out" / "Setup_Ann.exe", "not a package at all");
    const JsonValue report = VerifyJson(kExitFailed);
    EXPECT_EQ(report["affiliates"][0]["state"].text, "unreadable");
    EXPECT_EQ(report["affiliates"][0]["problem"].text,
              "the file does not end with a valid package trailer");
}

TEST_F(VerifyCommandTest, AnUnknownKeyIsRefused) {
    const CliRun run = RunCliWords({"verify", m_file, "--affiliate", "7"});
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_TRUE(run.out.empty());
}

} // namespace
