#include "MainWindowFixture.h"

#include "package/AffiliateInfoFile.h"
#include "package/BuildRunningFlag.h"
#include "package/SetupStamp.h"
#include "package/SfxPackage.h"
#include "tests/package/SignedSample.h"

#include <fstream>
#include <iterator>

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Spit(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

TEST_F(MainWindowTest, StampFromTemplateFollowsBuildAllsRules) {
    Start({QString::fromStdString(WriteProject("p.vkp", 2))});
    EXPECT_TRUE(Enabled(ID_STAMP_FROM_TEMPLATE));
    {
        BuildRunningScope building;
        EXPECT_FALSE(Enabled(ID_STAMP_FROM_TEMPLATE));
    }
    ASSERT_TRUE(Enabled(ID_STAMP_FROM_TEMPLATE));
    // Cancelling the file dialog does nothing.
    m_prompts.Pick({QString()});
    Cmd(ID_STAMP_FROM_TEMPLATE).trigger();
    ASSERT_EQ(m_prompts.shown.size(), 1);
    EXPECT_EQ(m_prompts.shown[0].kind, "open");
    EXPECT_FALSE(Doc().IsBuilding());
}

TEST_F(MainWindowTest, StampFromTemplateRefusesAFileThatIsNotTheProductsTemplate) {
    Start({QString::fromStdString(WriteProject("p.vkp", 2))});
    Spit(Path("setup.bin"), "the vendor's setup");
    Spit(Path("other.exe"), signedsample::PeImage());
    m_prompts.Pick({QString::fromStdString(Path("other.exe"))});
    Cmd(ID_STAMP_FROM_TEMPLATE).trigger();
    ASSERT_EQ(m_prompts.Messages().size(), 1);
    EXPECT_EQ(m_prompts.Messages()[0].toStdString(),
              "The template '" + Path("other.exe") + "' is not a custom setup.");
    EXPECT_FALSE(Doc().IsBuilding());
}

TEST_F(MainWindowTest, StampFromTemplateWritesEveryAffiliatesStampedCopy) {
    Start({QString::fromStdString(WriteProject("p.vkp", 2))});
    Spit(Path("setup.bin"), "the vendor's setup");
    CAffiliateInfo vendor;
    vendor.m_strKey = Doc().Project().m_strUuid;
    vendor.m_strLink = "vendor-link";
    ASSERT_EQ(WriteAffiliateInfoFile(Path("afflreg.dat"), vendor), SFX_OK);
    CSfxPackage pkg;
    ASSERT_TRUE(pkg.AddFile(Path("afflreg.dat")));
    ASSERT_TRUE(pkg.AddFile(Path("setup.bin")));
    const std::string image = signedsample::PeImage();
    ASSERT_EQ(pkg.BuildWithImage(image.data(), image.size(), Path("T.exe")), SFX_OK);
    Spit(Path("T-signed.exe"), signedsample::SignSha256(Slurp(Path("T.exe"))));

    int finished = -1;
    QObject::connect(&Doc(), &CVelkoraDoc::buildFinished, [&](int errors) { finished = errors; });
    m_prompts.Pick({QString::fromStdString(Path("T-signed.exe"))});
    Cmd(ID_STAMP_FROM_TEMPLATE).trigger();
    ASSERT_TRUE(WaitUntil([&] { return finished >= 0; }));
    EXPECT_EQ(finished, 0);
    EXPECT_TRUE(m_prompts.Messages().isEmpty());
    EXPECT_TRUE(m_savePrompts.isEmpty()) << "the project file stays as it is";
    for (int i = 0; i < 2; ++i) {
        const SetupStamp stamp = ReadSetupStampOfFile(Path(QString("out/setup_%1.bin").arg(i)));
        ASSERT_EQ(stamp.state, SetupStamp::State::Stamped) << i;
        EXPECT_EQ(stamp.info.m_strWebSite, "https://site" + std::to_string(i) + ".example");
    }
}
