// What a build finds at an output before it writes: a file of someone else,
// a path cut by a NUL, a link a second user planted; and what a copied
// project builds.
#include "BuilderTestSupport.h"

#include "model/AffiliateEditor.h"
#include "package/PackageAffiliateInfo.h"
#include "tests/support/SecondUser.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace buildertest;

namespace {

class OutputOwnershipTest : public ::testing::Test, public BuilderFixture {
protected:
    int BuildAll(const CAffProject& project) {
        CAffiliateBuilder builder(Environment());
        return builder.BuildAll(project)->Wait();
    }
    bool Logged(const std::string& line) {
        const auto lines = sink.Lines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

struct ExistingCase {
    const char* name;
    std::string content; // "" for a package of this product built first
    bool otherProduct = false;
    bool replaced = false;
};

class ExistingOutputCases : public OutputOwnershipTest,
                            public ::testing::WithParamInterface<ExistingCase> {};

TEST_P(ExistingOutputCases, OnlyAnEarlierCustomSetupOfThisProductIsReplaced) {
    const ExistingCase& c = GetParam();
    CAffProject project = Product();
    const std::string out = (root / "out" / "a.exe").string();
    fs::create_directories(root / "out");
    if (c.content.empty()) {
        CAffProject earlier = Product();
        if (c.otherProduct)
            earlier.m_strUuid = "00000000-0000-0000-0000-000000000000";
        CReseller before = Affiliate("a", out);
        before.m_strWebSite = "https://earlier.example";
        earlier.AddReseller(before);
        ASSERT_EQ(BuildAll(earlier), 0);
    } else {
        WriteFile(out, c.content);
    }
    const std::string before = ReadFile(out);
    project.AddReseller(Affiliate("a", out));
    EXPECT_EQ(BuildAll(project), c.replaced ? 0 : 1);
    EXPECT_EQ(ReadFile(out) == before, !c.replaced);
    EXPECT_EQ(Logged("Error! Output file '" + out +
                     "' is not a custom setup of this product; it is left as it is."),
              !c.replaced);
}

INSTANTIATE_TEST_SUITE_P(Existing, ExistingOutputCases,
                         ::testing::Values(ExistingCase{"ThisProductsSetup", "", false, true},
                                           ExistingCase{"OtherProductsSetup", "", true, false},
                                           ExistingCase{"PlainFile", "victim data"},
                                           ExistingCase{"EmptyFile", std::string(1, '\0')}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OutputOwnershipTest, OutputsCutByANulAreRefusedAndNothingIsMissing) {
    using namespace std::string_literals;
    CAffProject project = Product();
    fs::create_directories(root / "out");
    const std::string g = (root / "out" / "g.sh").string();
    const std::string h = (root / "out" / "h").string();
    project.AddReseller(Affiliate("g1", g));
    project.AddReseller(Affiliate("g2", g + "\0x"s));
    project.AddReseller(Affiliate("h1", h));
    project.AddReseller(Affiliate("h2", h + "\0.sh"s));
    EXPECT_EQ(BuildAll(project), 2);
    EXPECT_TRUE(Logged("Error! Output file '" + g + "\0x"s + "' is a path with a NUL byte."));
    EXPECT_TRUE(Logged("File '" + g + "' created successfully."));
    EXPECT_TRUE(Logged("File '" + h + "' created successfully."));
    const auto lines = sink.Lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.rfind("File '", 0) == 0; }),
              2);
}

TEST_F(OutputOwnershipTest, AnAffiliateWithANulInItsLinkGetsNoPackage) {
    using namespace std::string_literals;
    CAffProject project = Product();
    CReseller r = Affiliate("n", (root / "n.exe").string());
    r.m_strPurchaseLink = "https://reg.example/?affiliate=id\0 1"s;
    project.AddReseller(r);
    EXPECT_EQ(BuildAll(project), 1);
    EXPECT_TRUE(Logged("Internal Error! Can't write affiliate information!"));
    EXPECT_FALSE(fs::exists(root / "n.exe"));
}

TEST_F(OutputOwnershipTest, ABuildLeavesNothingInTheTemporaryFolder) {
    CAffProject project = Product();
    for (const char* name : {"a", "b", "c"})
        project.AddReseller(
            Affiliate(name, (root / "out" / (std::string(name) + ".exe")).string()));
    EXPECT_EQ(BuildAll(project), 0);
    EXPECT_TRUE(TempFolderEntries().empty());
    CSfxPackage pkg;
    ASSERT_EQ(pkg.ReadDirectory((root / "out" / "b.exe").string()), SFX_OK);
    const std::optional<CAffiliateInfo> info = AffiliateInfoOfPackage(pkg);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->m_strLink, "https://reg.example/buy?p=1&a=b");
}

TEST_F(OutputOwnershipTest, ALinkASecondUserPlantedAtTheOutputIsNeitherFollowedNorReplaced) {
    if (!seconduser::Available())
        GTEST_SKIP() << "needs root to act as a second user";
    const std::string shared = seconduser::StickyFolder(root.string());
    WriteFile(root / "victim", "precious");
    const std::string out = shared + "/a.exe";
    ASSERT_TRUE(seconduser::PlantLink((root / "victim").string(), out));
    CAffProject project = Product();
    project.AddReseller(Affiliate("a", out));
    EXPECT_EQ(BuildAll(project), 1);
    EXPECT_EQ(ReadFile(root / "victim"), "precious");
    EXPECT_TRUE(fs::is_symlink(out));
    EXPECT_EQ(std::distance(fs::directory_iterator(shared), fs::directory_iterator()), 1);
}

// Setup paths typed inside the project's folder are stored relative to it,
// so a copy of the project builds into its own folder.
TEST_F(OutputOwnershipTest, ACopiedProjectBuildsIntoItsOwnFolder) {
    CAffProject project = Product();
    project.m_strOutputDir = "out";
    const CAffiliateEditor editor(project);
    for (const char* name : {"a", "b"}) {
        AffiliateFields fields;
        fields.name = name;
        fields.affiliateId = std::string(name) + "-id";
        fields.purchaseLink = "https://reg.example/?a=" + fields.affiliateId;
        fields.setupPath = (root / "proj" / "out" / (std::string(name) + ".exe")).string();
        CReseller record;
        editor.StoreRecord(fields, record);
        EXPECT_EQ(record.m_strSetupPath, "out/" + std::string(name) + ".exe");
        project.AddReseller(record);
    }
    fs::create_directories(root / "copy");
    CAffProject copy = project;
    copy.SetProjectPath((root / "copy" / "demo.vkp").string());
    EXPECT_EQ(BuildAll(copy), 0);
    EXPECT_TRUE(fs::exists(root / "copy" / "out" / "a.exe"));
    EXPECT_TRUE(fs::exists(root / "copy" / "out" / "b.exe"));
    EXPECT_FALSE(fs::exists(root / "proj" / "out"));
}

} // namespace
