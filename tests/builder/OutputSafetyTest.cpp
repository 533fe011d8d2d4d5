// What a build may overwrite: only its own output, and that only whole.
#include "BuilderTestSupport.h"

#include "package/AffiliateInfoFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

using namespace buildertest;

namespace {

class OutputSafetyTest : public ::testing::Test, public BuilderFixture {
protected:
    int BuildAll(const CAffProject& project) {
        CAffiliateBuilder builder(Environment());
        return builder.BuildAll(project)->Wait();
    }

    // Names in folder that a build may have left behind: anything that is
    // not one of expected.
    std::vector<std::string> Strays(const fs::path& folder,
                                    const std::vector<std::string>& expected) {
        std::vector<std::string> strays;
        for (const auto& e : fs::directory_iterator(folder)) {
            const std::string name = e.path().filename().string();
            if (std::find(expected.begin(), expected.end(), name) == expected.end())
                strays.push_back(name);
        }
        return strays;
    }

    int Count(const std::string& line) {
        const auto lines = sink.Lines();
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }
};

TEST_F(OutputSafetyTest, LinkPlantedAtTheOutputIsReplacedAndItsTargetLeftAlone) {
    CAffProject project = Product();
    fs::create_directories(root / "out");
    WriteFile(root / "victim", "precious");
    fs::permissions(root / "victim", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(root / "victim", root / "out" / "alpha.exe");
    project.AddReseller(Affiliate("alpha", (root / "out" / "alpha.exe").string()));

    EXPECT_EQ(BuildAll(project), 0);
    EXPECT_EQ(ReadFile(root / "victim"), "precious");
    EXPECT_EQ(fs::status(root / "victim").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(root / "out" / "alpha.exe")));
    CSfxPackage pkg;
    EXPECT_EQ(pkg.ReadDirectory((root / "out" / "alpha.exe").string()), SFX_OK);
    EXPECT_TRUE(Strays(root / "out", {"alpha.exe"}).empty());
}

TEST_F(OutputSafetyTest, FailedBuildKeepsThePreviousPackageAndLeavesNoTemporaryFile) {
    CAffProject project = Product();
    const std::string out = (root / "out" / "alpha.exe").string();
    project.AddReseller(Affiliate("alpha", out));
    ASSERT_EQ(BuildAll(project), 0);
    const std::string before = ReadFile(out);

    // The setup file shrinks after it was measured: the copy runs short.
    CAffiliateBuilder builder([&] {
        BuildEnvironment env = Environment();
        env.writePackage = [this](CSfxPackage& pkg, const std::string& output) {
            WriteFile(setupPath, "short");
            return static_cast<int>(pkg.BuildWithImage(image.data(), image.size(), output));
        };
        return env;
    }());
    EXPECT_EQ(builder.BuildAll(project)->Wait(), 1);
    EXPECT_EQ(Count("Error! Can't build affiliate setup file [" + out + "]."), 1);
    EXPECT_EQ(ReadFile(out), before);
    EXPECT_TRUE(Strays(root / "out", {"alpha.exe"}).empty());
}

TEST_F(OutputSafetyTest, FolderOrPipeAtTheOutputStaysWhatItIs) {
    CAffProject project = Product();
    fs::create_directories(root / "out" / "folder.exe");
    ASSERT_EQ(::mkfifo((root / "out" / "pipe.exe").c_str(), 0600), 0);
    project.AddReseller(Affiliate("folder", (root / "out" / "folder.exe").string()));
    project.AddReseller(Affiliate("pipe", (root / "out" / "pipe.exe").string()));

    EXPECT_EQ(BuildAll(project), 2);
    EXPECT_TRUE(fs::is_directory(root / "out" / "folder.exe"));
    EXPECT_TRUE(fs::is_fifo(root / "out" / "pipe.exe"));
    EXPECT_TRUE(Strays(root / "out", {"folder.exe", "pipe.exe"}).empty());
}

// An output that names an input of the build is refused with one line and
// counted as an error; the input stays as it was and the others still build.
struct ConflictCase {
    const char* name;
    // The refused affiliate's output, given the project's folder and the setup file.
    std::string (*output)(const fs::path& projectFolder, const fs::path& setupFile);
    const char* reason;
};

class OutputConflictTest : public OutputSafetyTest,
                           public ::testing::WithParamInterface<ConflictCase> {};

TEST_P(OutputConflictTest, OutputThatNamesAnInputIsRefused) {
    CAffProject project = Product();
    WriteFile(root / "proj" / "demo.vkp", "PROJECT FILE");
    const std::string setupBefore = ReadFile(setupPath);
    const std::string refused = GetParam().output(root / "proj", setupPath);
    project.AddReseller(Affiliate("refused", refused));
    const std::string fine = (root / "out" / "fine.exe").string();
    project.AddReseller(Affiliate("fine", fine));

    EXPECT_EQ(BuildAll(project), 1);
    EXPECT_EQ(Count("Error! Output file '" + refused + "' is " + GetParam().reason), 1);
    EXPECT_EQ(ReadFile(root / "proj" / "demo.vkp"), "PROJECT FILE");
    EXPECT_EQ(ReadFile(setupPath), setupBefore);
    EXPECT_EQ(Count("File '" + fine + "' created successfully."), 1);
    EXPECT_EQ(sink.Lines().back(), "*** Finished! - 1 error(s)");
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, OutputConflictTest,
    ::testing::Values(
        ConflictCase{"ProjectFile",
                     [](const fs::path& p, const fs::path&) { return (p / "demo.vkp").string(); },
                     "the project file."},
        ConflictCase{
            "ProjectFileByRelativePath",
            [](const fs::path&, const fs::path&) { return std::string("../proj/./demo.vkp"); },
            "the project file."},
        ConflictCase{"ProjectFileThroughALink",
                     [](const fs::path& p, const fs::path&) {
                         fs::create_symlink(p / "demo.vkp", p / "link.exe");
                         return (p / "link.exe").string();
                     },
                     "the project file."},
        ConflictCase{"SetupFile", [](const fs::path&, const fs::path& s) { return s.string(); },
                     "the program setup file."},
        ConflictCase{
            "SetupFileByRelativePath",
            [](const fs::path&, const fs::path& s) { return "../" + s.filename().string(); },
            "the program setup file."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OutputSafetyTest, TwoAffiliatesWithOneOutputAreBothRefused) {
    CAffProject project = Product();
    const std::string shared = (root / "out" / "shared.exe").string();
    project.AddReseller(Affiliate("a", shared));
    project.AddReseller(Affiliate("b", "../out/shared.exe"));
    project.AddReseller(Affiliate("c", (root / "out" / "c.exe").string()));

    EXPECT_EQ(BuildAll(project), 2);
    EXPECT_EQ(Count("Error! Output file '" + shared + "' is another affiliate's output."), 1);
    EXPECT_EQ(Count("Error! Output file '../out/shared.exe' is another affiliate's output."), 1);
    EXPECT_FALSE(fs::exists(shared));
    EXPECT_TRUE(fs::exists(root / "out" / "c.exe"));

    // Building one of them alone is refused just the same: the other's
    // package would be lost.
    sink.Clear();
    CAffiliateBuilder builder(Environment());
    uint16_t keyOfA = 0;
    for (uint16_t key : project.m_mapResellers.Keys())
        if (project.LookupReseller(key)->m_strName == "a")
            keyOfA = key;
    EXPECT_EQ(builder.BuildSelected(project, {keyOfA})->Wait(), 1);
    EXPECT_FALSE(fs::exists(shared));
}

TEST_F(OutputSafetyTest, OutputsThatAreOneFileThroughLinksAreAllRefused) {
    CAffProject project = Product();
    fs::create_directories(root / "out");
    WriteFile(root / "out" / "real.exe", "EARLIER PACKAGE");
    fs::create_symlink(root / "out" / "real.exe", root / "out" / "soft.exe");
    fs::create_hard_link(root / "out" / "real.exe", root / "out" / "hard.exe");
    const std::vector<std::string> sharing = {(root / "out" / "real.exe").string(),
                                              (root / "out" / "soft.exe").string(),
                                              (root / "out" / "hard.exe").string()};
    for (size_t i = 0; i < sharing.size(); ++i)
        project.AddReseller(Affiliate("s" + std::to_string(i), sharing[i]));
    const std::string alone = (root / "out" / "alone.exe").string();
    project.AddReseller(Affiliate("alone", alone));

    EXPECT_EQ(BuildAll(project), 3);
    for (const std::string& path : sharing)
        EXPECT_EQ(Count("Error! Output file '" + path + "' is another affiliate's output."), 1)
            << path;
    EXPECT_EQ(ReadFile(root / "out" / "real.exe"), "EARLIER PACKAGE");
    EXPECT_EQ(Count("File '" + alone + "' created successfully."), 1);
}

} // namespace
