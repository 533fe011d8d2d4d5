#include "BuilderTestSupport.h"
#include "tests/support/NoteChannel.h"

#include "package/AffiliateInfoFile.h"

#include <gtest/gtest.h>

#include <utime.h>

using namespace buildertest;

namespace {

class BuilderRunSetupTest : public ::testing::Test, public BuilderFixture {
protected:
    void SetModified(const fs::path& path, std::time_t t) {
        utimbuf times{t, t};
        ASSERT_EQ(utime(path.c_str(), &times), 0);
    }

    // A project with one affiliate whose package file already exists.
    CAffProject ProjectWithPackage(int32_t changed, std::time_t written) {
        CAffProject project = Product();
        output = root / "pkg" / "alpha.exe";
        fs::create_directories(output.parent_path());
        WriteFile(output, "an older package");
        SetModified(output, written);
        CReseller r = Affiliate("alpha", output.string());
        r.m_tModified = changed;
        project.AddReseller(r, &key);
        return project;
    }

    fs::path output;
    uint16_t key = 0;
};

TEST_F(BuilderRunSetupTest, UpToDatePackageIsStartedAndNothingIsWritten) {
    // Same second counts as up to date: only an earlier package is stale.
    for (std::time_t written : {std::time_t(1700000000), std::time_t(1700000500)}) {
        CAffProject project = ProjectWithPackage(1700000000, written);
        CAffiliateBuilder builder(Environment());
        RunSetupOutcome outcome = builder.RunSetup(project, key);
        EXPECT_TRUE(outcome.startedExisting);
        EXPECT_EQ(outcome.job, nullptr);
        EXPECT_EQ(Started().back(), output.string());
        EXPECT_EQ(ReadFile(output), "an older package");
        EXPECT_TRUE(sink.Lines().empty());
        EXPECT_EQ(beeps, 0);
    }
    EXPECT_EQ(Started().size(), 2u);
}

TEST_F(BuilderRunSetupTest, PackageOlderThanTheAffiliateIsRebuiltThenStarted) {
    CAffProject project = ProjectWithPackage(1700000000, 1699999999);
    // Only a custom setup of this product is ever replaced: the older
    // package is a real one.
    CSfxPackage older;
    ASSERT_TRUE(older.AddBytes("_aff0.ino", EncodeAffiliateInfo({project.m_strUuid, "old", ""})));
    ASSERT_TRUE(older.AddFile(setupPath.string()));
    ASSERT_EQ(older.BuildWithImage(image.data(), image.size(), output.string()), SFX_OK);
    SetModified(output, 1699999999);
    sink.Append("kept");
    CAffiliateBuilder builder(Environment());
    RunSetupOutcome outcome = builder.RunSetup(project, key);
    ASSERT_FALSE(outcome.startedExisting);
    ASSERT_NE(outcome.job, nullptr);
    EXPECT_EQ(outcome.job->Wait(), 0);

    std::vector<std::string> expected = {"kept"};
    for (const auto& line : SuccessLines(setupPath.string(), output.string()))
        expected.push_back(line);
    expected.push_back("");
    expected.push_back("*** Finished! - 0 error(s)");
    EXPECT_EQ(sink.Lines(), expected);
    EXPECT_EQ(Started(), (std::vector<std::string>{output.string()}));
    CSfxPackage pkg;
    EXPECT_EQ(pkg.ReadDirectory(output.string()), SFX_OK);
    EXPECT_TRUE(TempFolderEntries().empty());
}

TEST_F(BuilderRunSetupTest, MissingPackageIsBuiltThenStarted) {
    CAffProject project = Product();
    CReseller r = Affiliate("fresh", (root / "fresh.exe").string());
    project.AddReseller(r, &key);
    CAffiliateBuilder builder(Environment());
    RunSetupOutcome outcome = builder.RunSetup(project, key);
    ASSERT_NE(outcome.job, nullptr);
    EXPECT_EQ(outcome.job->Wait(), 0);
    EXPECT_EQ(Started(), (std::vector<std::string>{(root / "fresh.exe").string()}));
}

TEST_F(BuilderRunSetupTest, UnknownAffiliateGivesAnEmptyBuild) {
    CAffProject project = Product();
    CAffiliateBuilder builder(Environment());
    RunSetupOutcome outcome = builder.RunSetup(project, 42);
    ASSERT_NE(outcome.job, nullptr);
    EXPECT_EQ(outcome.job->Wait(), 0);
    EXPECT_EQ(sink.Lines(), (std::vector<std::string>{"", "*** Finished! - 0 error(s)"}));
    EXPECT_TRUE(Started().empty());
}

TEST_F(BuilderRunSetupTest, BareSetupNameStartsTheFileBuiltHereNotAProgramOnThePath) {
    // An unsaved project keeps a bare output name relative to the current
    // folder; a program of the same name on PATH must not be started instead.
    const fs::path here = root / "here";
    const fs::path onPath = root / "onpath";
    fs::create_directories(here);
    fs::create_directories(onPath);
    const std::string name = "vk-bare-setup";
    auto writeScript = [](const fs::path& script, const fs::path& marker) {
        WriteFile(script, "#!/bin/sh\n: > '" + marker.string() + "'\n");
        fs::permissions(script, fs::perms::owner_all);
    };
    writeScript(here / name, root / "ran-here");
    NoteChannel ranHere((root / "ran-here").string());
    ASSERT_TRUE(ranHere.IsOpen());
    writeScript(onPath / name, root / "ran-on-path");

    CAffProject project; // no project path: no base folder
    CReseller r = Affiliate("bare", name);
    r.m_tModified = 0; // the existing file is up to date
    project.AddReseller(r, &key);

    BuildEnvironment env = Environment();
    env.startProgram = nullptr; // the real starter
    const fs::path before = fs::current_path();
    const char* oldPath = std::getenv("PATH");
    const std::string savedPath = oldPath ? oldPath : "";
    fs::current_path(here);
    setenv("PATH", (onPath.string() + ":" + savedPath).c_str(), 1);
    RunSetupOutcome outcome = CAffiliateBuilder(env).RunSetup(project, key);
    fs::current_path(before);
    setenv("PATH", savedPath.c_str(), 1);
    ASSERT_TRUE(outcome.startedExisting);

    // The started program runs detached: wait until it has left its mark.
    bool ran = false;
    ranHere.Read(&ran);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(fs::exists(root / "ran-on-path"));
}

} // namespace
