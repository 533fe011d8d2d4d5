// Writers of velkora-cli in a shared sticky folder where a second user
// planted a link to a root-only file: nothing is written through it.
#include "CliTestSupport.h"

#include "tests/support/SecondUser.h"

#include <filesystem>

namespace {

class PlantedLinkCommandTest : public CliTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(PlantedLinkCommandTest, RefusesAndLeavesTheTargetAlone) {
    if (!seconduser::Available())
        GTEST_SKIP() << "needs root to act as a second user";
    MakeProject();
    const std::string shared = seconduser::StickyFolder(m_dir.string());
    const std::string victim = (m_dir / "victim").string();
    WriteBytes(victim, "root only");
    std::filesystem::permissions(victim, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_write);
    const std::string planted = shared + "/planted";
    ASSERT_TRUE(seconduser::PlantLink(victim, planted));
    const std::string command = GetParam();
    const CliRun run =
        command == "export-affiliates"
            ? RunCliWords({"export-affiliates", m_file, "--output", planted})
            : RunCliWords({"new", planted, "--title", "T", "--version", "1", "--website",
                           "https://w.example", "--setup-file", "s.exe", "--output-dir", "o",
                           "--service", "RegNow", "--product-id", "1", "--force"});
    EXPECT_EQ(run.code, kExitFailed);
    // The system's reason for refusing the link is given after the path.
    EXPECT_NE(run.err.find(planted + ": cannot "), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(victim), "root only");
    EXPECT_TRUE(std::filesystem::is_symlink(planted));
}

INSTANTIATE_TEST_SUITE_P(Writers, PlantedLinkCommandTest,
                         ::testing::Values("export-affiliates", "new"), [](const auto& info) {
                             return std::string(info.param) == "new" ? "NewForce" : "Export";
                         });

} // namespace
