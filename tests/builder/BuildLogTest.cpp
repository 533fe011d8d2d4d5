#include "BuilderTestSupport.h"

#include "package/AffiliateInfoFile.h"
#include "package/BuildRunningFlag.h"

#include <gtest/gtest.h>

#include <regex>
#include <unistd.h>

using namespace buildertest;

namespace {

class BuilderLogTest : public ::testing::Test, public BuilderFixture {
protected:
    std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
};

TEST_F(BuilderLogTest, OneAffiliateBuildsWithExactLogAndPackage) {
    CAffProject project = Product();
    const std::string out = (root / "out" / "deep" / "alpha.exe").string();
    project.AddReseller(Affiliate("alpha", out));
    sink.Append("line of an earlier build");

    CAffiliateBuilder builder(Environment());
    EXPECT_EQ(builder.BuildAll(project)->Wait(), 0);

    auto expected = Concat({kStartLine}, SuccessLines(setupPath.string(), out));
    expected.push_back("");
    expected.push_back("*** Finished! - 0 error(s)");
    EXPECT_EQ(sink.Lines(), expected);
    EXPECT_EQ(beeps, 1); // the final one only
    EXPECT_TRUE(Started().empty());
    EXPECT_TRUE(TempFolderEntries().empty());
    EXPECT_FALSE(IsBuildRunning());

    // The package: image, information file, setup file, in that order.
    CSfxPackage pkg;
    ASSERT_EQ(pkg.ReadDirectory(out), SFX_OK);
    ASSERT_EQ(pkg.GetCount(), 2);
    EXPECT_TRUE(std::regex_match(pkg.GetEntry(0).m_strName, std::regex("_aff[0-9]+\\.ino")))
        << pkg.GetEntry(0).m_strName;
    EXPECT_EQ(pkg.GetEntry(0).m_nOffset, 4096);
    EXPECT_EQ(pkg.GetEntry(1).m_strName, "setup.exe");
    EXPECT_EQ(pkg.GetEntry(1).m_nSize, 5000);
    std::string info, setup;
    ASSERT_EQ(pkg.ReadEntryBytes(0, 100000, info), SFX_OK);
    ASSERT_EQ(pkg.ReadEntryBytes(1, 100000, setup), SFX_OK);
    CAffiliateInfo expectedInfo;
    expectedInfo.m_strKey = project.m_strUuid;
    expectedInfo.m_strLink = "https://reg.example/buy?p=1&a=alpha";
    expectedInfo.m_strWebSite = "https://alpha.example";
    EXPECT_EQ(info, EncodeAffiliateInfo(expectedInfo));
    EXPECT_EQ(setup, "#!" + std::string(4998, 'S'));
    EXPECT_EQ(ReadFile(out).substr(0, 4096), image);
    EXPECT_NE(fs::status(out).permissions() & fs::perms::owner_exec, fs::perms::none);
}

TEST_F(BuilderLogTest, MissingSetupFileEndsTheWholeBuildAfterOneError) {
    CAffProject project = Product();
    project.m_strSetupFile = (root / "missing" / "setup.exe").string();
    for (const char* name : {"a", "b", "c"})
        project.AddReseller(
            Affiliate(name, (root / "out" / (std::string(name) + ".exe")).string()));

    CAffiliateBuilder builder(Environment());
    EXPECT_EQ(builder.BuildAll(project)->Wait(), 1);

    const std::vector<std::string> expected = {
        kStartLine,
        "",
        "Writing program info...",
        "Writing affiliate info...",
        "Reading setup file '" + project.m_strSetupFile + "'",
        "Error! Can't open program setup file[" + project.m_strSetupFile + "].",
        "",
        "*** Finished! - 1 error(s)"};
    EXPECT_EQ(sink.Lines(), expected);
    EXPECT_EQ(beeps, 2);
    EXPECT_FALSE(fs::exists(root / "out"));
    EXPECT_TRUE(TempFolderEntries().empty());
}

TEST_F(BuilderLogTest, UnmakeableOutputFolderCountsAndTheBuildGoesOn) {
    CAffProject project = Product();
    WriteFile(root / "blocker", "a file where a folder should be");
    const std::string bad = (root / "blocker" / "sub" / "bad.exe").string();
    const std::string good = (root / "good.exe").string();
    CReseller first = Affiliate("bad", bad);
    CReseller second = Affiliate("good", good);

    BuildRequest request;
    request.product = project;
    request.affiliates = {first, second};
    CAffiliateBuilder builder(Environment());
    EXPECT_EQ(builder.Start(request)->Wait(), 1);

    std::vector<std::string> expected = {"",
                                         "Writing program info...",
                                         "Writing affiliate info...",
                                         "Reading setup file '" + setupPath.string() + "'",
                                         "Creating affiliate setup file...",
                                         "Error! Can't build affiliate setup file [" + bad + "]."};
    expected = Concat(expected, SuccessLines(setupPath.string(), good));
    expected.push_back("");
    expected.push_back("*** Finished! - 1 error(s)");
    EXPECT_EQ(sink.Lines(), expected);
    EXPECT_EQ(beeps, 1); // a package that cannot be written does not beep
    EXPECT_TRUE(fs::exists(good));
    EXPECT_TRUE(TempFolderEntries().empty());
}

TEST_F(BuilderLogTest, EmptyRequestsLogOnlyTheEnd) {
    CAffProject project = Product();
    project.AddReseller(Affiliate("a", (root / "a.exe").string()));
    CAffiliateBuilder builder(Environment());

    EXPECT_EQ(builder.Start(BuildRequest{})->Wait(), 0);
    EXPECT_EQ(sink.Lines(), (std::vector<std::string>{"", "*** Finished! - 0 error(s)"}));

    // Build Selected with keys that name nobody: the start line, nothing built;
    // the log is not cleared.
    EXPECT_EQ(builder.BuildSelected(project, {500, 501})->Wait(), 0);
    EXPECT_EQ(sink.Lines(), (std::vector<std::string>{"", "*** Finished! - 0 error(s)", kStartLine,
                                                      "", "*** Finished! - 0 error(s)"}));
    EXPECT_FALSE(fs::exists(root / "a.exe"));
    EXPECT_EQ(beeps, 2);
}

TEST_F(BuilderLogTest, BuildSelectedFollowsTheGivenOrderAndRunsNothing) {
    CAffProject project = Product();
    uint16_t k1 = 0, k2 = 0, k3 = 0;
    project.AddReseller(Affiliate("one", (root / "one.exe").string()), &k1);
    project.AddReseller(Affiliate("two", (root / "two.exe").string()), &k2);
    project.AddReseller(Affiliate("three", (root / "three.exe").string()), &k3);

    std::vector<std::string> built;
    BuildEnvironment env = Environment();
    std::vector<std::pair<size_t, size_t>> progress;
    env.onAffiliate = [&](size_t i, size_t n) { progress.emplace_back(i, n); };
    CAffiliateBuilder builder(env);
    EXPECT_EQ(builder.BuildSelected(project, {k3, 999, k1})->Wait(), 0);

    auto lines = sink.Lines();
    for (const auto& line : lines)
        if (line.rfind("File '", 0) == 0)
            built.push_back(line);
    EXPECT_EQ(built, (std::vector<std::string>{
                         "File '" + (root / "three.exe").string() + "' created successfully.",
                         "File '" + (root / "one.exe").string() + "' created successfully."}));
    EXPECT_EQ(progress, (std::vector<std::pair<size_t, size_t>>{{1, 2}, {2, 2}}));
    EXPECT_FALSE(fs::exists(root / "two.exe"));
    EXPECT_TRUE(Started().empty());
}

TEST_F(BuilderLogTest, InformationFileProblemsSkipOnlyThatAffiliate) {
    CAffProject project = Product();
    CReseller tooLong = Affiliate("long", (root / "long.exe").string());
    tooLong.m_strPurchaseLink = std::string(4000, 'x'); // the launcher holds 3999
    CReseller fine = Affiliate("fine", (root / "fine.exe").string());
    BuildRequest request;
    request.product = project;
    request.affiliates = {tooLong, fine};

    CAffiliateBuilder builder(Environment());
    EXPECT_EQ(builder.Start(request)->Wait(), 1);
    auto lines = sink.Lines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[3], "Internal Error! Can't write affiliate information!");
    EXPECT_EQ(lines.back(), "*** Finished! - 1 error(s)");
    EXPECT_FALSE(fs::exists(root / "long.exe"));
    EXPECT_TRUE(fs::exists(root / "fine.exe"));
    EXPECT_EQ(beeps, 2);
    EXPECT_TRUE(TempFolderEntries().empty());
}

TEST_F(BuilderLogTest, TemporaryFolderMissingDoesNotMatter) {
    // The information files are made in memory, not in that folder.
    CAffProject project = Product();
    project.AddReseller(Affiliate("a", (root / "a.exe").string()));
    project.AddReseller(Affiliate("b", (root / "b.exe").string()));
    BuildEnvironment env = Environment();
    env.tempFolder = (root / "no-such-folder").string();

    CAffiliateBuilder builder(env);
    EXPECT_EQ(builder.BuildAll(project)->Wait(), 0);
    EXPECT_EQ(sink.Lines().back(), "*** Finished! - 0 error(s)");
    EXPECT_FALSE(fs::exists(root / "no-such-folder"));
    EXPECT_EQ(beeps, 1);
}

TEST_F(BuilderLogTest, RelativePathsResolveAgainstTheProjectFolder) {
    CAffProject project = Product();
    WriteFile(root / "proj" / "vendor-setup.exe", "payload");
    project.m_strSetupFile = "vendor-setup.exe";
    project.AddReseller(Affiliate("rel", "out\\rel.exe"));
    const fs::path cwd = fs::current_path();

    BuildEnvironment env = Environment();
    fs::path cwdDuringBuild;
    env.onAffiliate = [&](size_t, size_t) { cwdDuringBuild = fs::current_path(); };
    CAffiliateBuilder builder(env);
    EXPECT_EQ(builder.BuildAll(project)->Wait(), 0);

    EXPECT_EQ(sink.Lines()[4], "Reading setup file 'vendor-setup.exe'");
    EXPECT_EQ(sink.Lines()[6], "File 'out\\rel.exe' created successfully.");
    CSfxPackage pkg;
    ASSERT_EQ(pkg.ReadDirectory((root / "proj" / "out" / "rel.exe").string()), SFX_OK);
    EXPECT_EQ(pkg.GetEntry(1).m_strName, "vendor-setup.exe");
    EXPECT_EQ(fs::current_path(), cwd);
    EXPECT_EQ(cwdDuringBuild, cwd);
}

TEST_F(BuilderLogTest, RunAfterBuildStartsOnlyWhatWasBuilt) {
    CAffProject project = Product();
    WriteFile(root / "blocker", "");
    BuildRequest request;
    request.product = project;
    request.affiliates = {Affiliate("bad", (root / "blocker" / "x.exe").string()),
                          Affiliate("ok", (root / "ok.exe").string())};
    request.runAfterBuild = true;

    CAffiliateBuilder builder(Environment());
    EXPECT_EQ(builder.Start(request)->Wait(), 1);
    EXPECT_EQ(Started(), (std::vector<std::string>{(root / "ok.exe").string()}));
}

// A sink that fails while a build writes to it.
class ThrowingSink : public IBuildLogSink {
public:
    void Clear() override {}
    void Append(const std::string&) override {
        sawFlag = sawFlag || IsBuildRunning();
        throw std::runtime_error("view gone");
    }
    bool sawFlag = false;
};

TEST_F(BuilderLogTest, FlagIsSetDuringABuildAndClearedAfterAnException) {
    ThrowingSink throwing;
    BuildEnvironment env = Environment();
    env.log = &throwing;
    CAffProject project = Product();
    BuildRequest request = MakeBuildAllRequest(project);
    request.affiliates.push_back(Affiliate("x", (root / "x.exe").string()));

    int finished = -1;
    env.onFinished = [&](int errors) {
        EXPECT_FALSE(IsBuildRunning());
        finished = errors;
    };
    CAffiliateBuilder builder(env);
    EXPECT_GE(builder.Start(request)->Wait(), 1);
    EXPECT_TRUE(throwing.sawFlag);
    EXPECT_FALSE(IsBuildRunning());
    EXPECT_GE(finished, 1);
    EXPECT_TRUE(TempFolderEntries().empty());

    try {
        BuildRunningScope scope;
        EXPECT_TRUE(IsBuildRunning());
        throw std::runtime_error("worker broke");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(IsBuildRunning());
}

TEST_F(BuilderLogTest, OverlappingBuildsKeepTheFlagUntilTheLastEnds) {
    std::optional<BuildRunningScope> first(std::in_place);
    { BuildRunningScope second; }
    EXPECT_TRUE(IsBuildRunning());
    first.reset();
    EXPECT_FALSE(IsBuildRunning());
}

} // namespace
