// The self creator's output, like every package's: never one of the build's
// inputs, never written through a link, and the previous file kept on failure.
#include "BuilderTestSupport.h"

#include "package/SelfCreatorBuilder.h"
#include "platform/Beep.h"

#include <gtest/gtest.h>

using namespace buildertest;

namespace {

class SelfCreatorOutputTest : public ::testing::Test, public BuilderFixture {
protected:
    void SetUp() override {
        platform::SetBeepHandler([this] { ++beeps; });
    }
    void TearDown() override { platform::SetBeepHandler({}); }

    SelfCreatorResult Build(CAffProject& project) {
        CSelfCreatorBuilder builder(sink, [] { return kStartTime; });
        builder.SetTempFolder(tempFolder.string());
        return builder.Build(project);
    }
};

struct RefusedCase {
    const char* name;
    const char* output; // relative to the project's folder
    const char* reason;
};

class SelfCreatorRefusal : public SelfCreatorOutputTest,
                           public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(SelfCreatorRefusal, OutputThatNamesAnInputIsRefusedWithOneLine) {
    CAffProject project = Product();
    WriteFile(root / "proj" / "demo.vkp", "PROJECT FILE");
    fs::create_directories(root / "out");
    WriteFile(root / "out" / "alpha.exe", "ALPHA PACKAGE");
    project.AddReseller(Affiliate("alpha", "../out/alpha.exe"));
    project.m_strSelfCreatorPath = GetParam().output;
    const std::string setupBefore = ReadFile(setupPath);

    EXPECT_EQ(Build(project), SelfCreatorResult::OutputRefused);
    const auto lines = sink.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Error! Output file '" + std::string(GetParam().output) + "' is " +
                                GetParam().reason);
    EXPECT_EQ(lines[lines.size() - 2], "Creating setup file...");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(ReadFile(root / "proj" / "demo.vkp"), "PROJECT FILE");
    EXPECT_EQ(ReadFile(setupPath), setupBefore);
    EXPECT_EQ(ReadFile(root / "out" / "alpha.exe"), "ALPHA PACKAGE");
    EXPECT_TRUE(TempFolderEntries().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, SelfCreatorRefusal,
    ::testing::Values(RefusedCase{"ProjectFile", "demo.vkp", "the project file."},
                      RefusedCase{"SetupFile", "../setup.exe", "the program setup file."},
                      RefusedCase{"AffiliateOutput", "../out/./alpha.exe",
                                  "another affiliate's output."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelfCreatorOutputTest, LinkAtTheOutputIsReplacedAndItsTargetLeftAlone) {
    CAffProject project = Product();
    WriteFile(root / "victim", "precious");
    fs::create_symlink(root / "victim", root / "proj" / "VelkSMNG.exe");
    project.m_strSelfCreatorPath = (root / "proj" / "VelkSMNG.exe").string();

    EXPECT_EQ(Build(project), SelfCreatorResult::Built);
    EXPECT_EQ(ReadFile(root / "victim"), "precious");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(root / "proj" / "VelkSMNG.exe")));
    EXPECT_NE(fs::status(root / "proj" / "VelkSMNG.exe").permissions() & fs::perms::owner_exec,
              fs::perms::none);
}

} // namespace
