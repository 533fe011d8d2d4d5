#include "tests/support/SelfCreatorFixtures.h"

#include "model/AffProject.h"
#include "package/ProductInfoFile.h"
#include "package/SelfCreatorBuilder.h"
#include "package/SfxPackage.h"
#include "platform/Beep.h"
#include "platform/EmbeddedImage.h"
#include "tests/package/SignedSample.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/NativePath.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

constexpr std::time_t kNow = 1700000000;

std::string StartLine() {
    const std::tm tm = *std::localtime(&kNow);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &tm);
    return std::string("***Start building [") + text + "] ";
}

class SelfCreatorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetBeepHandler([this] { ++beeps; });
        builder.SetTempFolder(temp.Path());
        project.m_strUuid = kTestUuid;
        WriteBytes(work / "setup.exe", "#!VENDOR SETUP");
        project.m_strSetupFile = work / "setup.exe";
        project.m_strOutputDir = work / "Builds";
        log.Append("old line");
    }
    void TearDown() override {
        platform::SetBeepHandler({});
        // The temporary product information file never survives a build.
        EXPECT_TRUE(temp.Names().empty());
    }

    void AddService(uint16_t index, const std::string& name, const std::string& id) {
        auto info = std::make_unique<CProductRegInfo>();
        info->m_wService = index;
        info->m_strServiceName = name;
        info->m_strProductId = id;
        project.m_mapRegInfo.SetAt(index, std::move(info));
    }

    ScratchFolder work;
    ScratchFolder temp;
    CAffProject project;
    LogRecorder log;
    CSelfCreatorBuilder builder{log, [] { return kNow; }};
    int beeps = 0;
};

TEST_F(SelfCreatorFixture, WritesTheSelfCreatorAndDefaultsItsPath) {
    ASSERT_TRUE(platform::FindEmbeddedImage("SFX_EXE", 129)) << "self creator image not linked in";
    ASSERT_EQ(builder.Build(project), SelfCreatorResult::Built);

    const std::string output = work / Native("Builds/VelkSMNG");
    EXPECT_EQ(project.m_strSelfCreatorPath, output);
    EXPECT_EQ(log.Clears(), 1);
    EXPECT_EQ(log.Lines(),
              (std::vector<std::string>{StartLine(), "", "Writing program info...",
                                        "Reading setup file '" + project.m_strSetupFile + "'",
                                        "Creating setup file...",
                                        "File '" + output + "' created successfully."}));
    EXPECT_EQ(beeps, 1);

    CSfxPackage package;
    ASSERT_EQ(package.ReadDirectory(output), SFX_OK);
    ASSERT_EQ(package.GetCount(), 2);
    const std::string infoName = package.GetEntry(0).m_strName;
    EXPECT_EQ(infoName.rfind("_aff", 0), 0u) << infoName;
    EXPECT_EQ(infoName.substr(infoName.size() - 4), ".ino");
    EXPECT_EQ(package.GetEntry(1).m_strName, "setup.exe");
    EXPECT_EQ(package.GetEntry(0).m_nOffset,
              static_cast<int32_t>(platform::FindEmbeddedImage("SFX_EXE", 129).size));

    // No registration records: 4 + 36 + 4 bytes, block 2 of length 0.
    std::string info;
    ASSERT_EQ(package.ReadEntryBytes(0, 100000, info), SFX_OK);
    EXPECT_EQ(info, ProductInfoBytes(kTestUuid, ""));
    EXPECT_EQ(info.size(), 44u);
    std::string setup;
    ASSERT_EQ(package.ReadEntryBytes(1, 100000, setup), SFX_OK);
    EXPECT_EQ(setup, "#!VENDOR SETUP");
}

TEST_F(SelfCreatorFixture, CarriesTheRegistrationListAndKeepsAGivenPath) {
    AddService(0, "RegNow", "1234");
    AddService(3, "Other", "99");
    const std::string output = work / "a/b/c/mine.exe";
    project.m_strSelfCreatorPath = output;
    ASSERT_EQ(builder.Build(project), SelfCreatorResult::Built);
    EXPECT_EQ(project.m_strSelfCreatorPath, output);

    CSfxPackage package;
    ASSERT_EQ(package.ReadDirectory(output), SFX_OK);
    std::string info;
    ASSERT_EQ(package.ReadEntryBytes(0, 100000, info), SFX_OK);
    // Keys 0 and 3 share bucket 0; the record stored last comes first.
    EXPECT_EQ(info, ProductInfoBytes(kTestUuid, "Other;99;RegNow;1234;"));
}

TEST_F(SelfCreatorFixture, AMissingSetupFileStopsBeforeAnythingIsWritten) {
    project.m_strSetupFile.clear();
    EXPECT_EQ(builder.Build(project), SelfCreatorResult::SetupAddFailed);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{StartLine(), "", "Writing program info...",
                                                     "Reading setup file ''",
                                                     "Error! Can't open program setup file[]."}));
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(project.m_strSelfCreatorPath, "");
    EXPECT_FALSE(std::filesystem::exists(work / "Builds"));

    project.m_strSetupFile = work / "gone.exe";
    EXPECT_EQ(builder.Build(project), SelfCreatorResult::SetupAddFailed);
    EXPECT_EQ(log.Lines().back(),
              "Error! Can't open program setup file[" + (work / "gone.exe") + "].");
}

TEST_F(SelfCreatorFixture, AnUnwritableOutputIsReported) {
    std::filesystem::create_directories(work / "taken.exe");
    project.m_strSelfCreatorPath = work / "taken.exe";
    EXPECT_EQ(builder.Build(project), SelfCreatorResult::BuildFailed);
    EXPECT_EQ(log.Lines().back(), "Error! Can't build selfmanaged stand-alone software.[" +
                                      (work / "taken.exe") + "].");
    EXPECT_EQ(log.Lines()[log.Lines().size() - 2], "Creating setup file...");
    EXPECT_EQ(beeps, 1);
}

TEST_F(SelfCreatorFixture, ATemporaryFolderThatCannotBeUsedDoesNotMatter) {
    // The product information file is made in memory, not in that folder.
    builder.SetTempFolder(work / "no-such-folder");
    EXPECT_EQ(builder.Build(project), SelfCreatorResult::Built);
    EXPECT_FALSE(std::filesystem::exists(work / "no-such-folder"));
    EXPECT_EQ(beeps, 1);
}

TEST_F(SelfCreatorFixture, RelativePathsResolveAgainstTheProjectFolder) {
    project.SetProjectPath(work / "product.vkp");
    project.m_strSetupFile = "setup.exe";
    project.m_strOutputDir = "out";
    ASSERT_EQ(builder.Build(project), SelfCreatorResult::Built);
    EXPECT_EQ(project.m_strSelfCreatorPath, Native("out/VelkSMNG"));
    EXPECT_TRUE(std::filesystem::exists(work / "out/VelkSMNG"));
    EXPECT_EQ(log.Lines().back(), "File '" + Native("out/VelkSMNG") + "' created successfully.");
}

} // namespace

namespace {

TEST_F(SelfCreatorFixture, TheDefaultNameJoinsTheOutputFolderOnce) {
    project.m_strOutputDir = work.Path() + "/Builds/";
    ASSERT_EQ(builder.Build(project), SelfCreatorResult::Built);
    EXPECT_EQ(project.m_strSelfCreatorPath, work.Path() + "/Builds/VelkSMNG");

    // No output folder: the project's folder, never the root of the system.
    project.SetProjectPath(work / "product.vkp");
    project.m_strOutputDir.clear();
    project.m_strSelfCreatorPath.clear();
    ASSERT_EQ(builder.Build(project), SelfCreatorResult::Built);
    EXPECT_EQ(project.m_strSelfCreatorPath, "VelkSMNG");
    EXPECT_TRUE(std::filesystem::exists(work / "VelkSMNG"));
}

} // namespace

namespace {

// With the product's signed template, the self creator carries the template
// in place of the setup file, byte for byte.
TEST_F(SelfCreatorFixture, ASignedTemplateTakesThePlaceOfTheSetupFile) {
    CAffiliateInfo credit;
    credit.m_strKey = kTestUuid;
    credit.m_strLink = "https://vendor.example/buy";
    ASSERT_TRUE(signedsample::WriteTemplate(work / "T.exe", credit, "setup.exe", "#!VENDOR SETUP"));
    project.m_strSelfCreatorPath = work / "kit.exe";
    builder.SetSignedTemplate(work / "T.exe");
    ASSERT_EQ(builder.Build(project), SelfCreatorResult::Built);
    EXPECT_EQ(log.Lines()[4], "Reading signed template '" + (work / "T.exe") + "'");

    CSfxPackage package;
    ASSERT_EQ(package.ReadDirectory(work / "kit.exe"), SFX_OK);
    ASSERT_EQ(package.GetCount(), 2);
    EXPECT_EQ(package.GetEntry(1).m_strName, "T.exe");
    std::string carried;
    ASSERT_EQ(package.ReadEntryBytes(1, 1 << 20, carried), SFX_OK);
    EXPECT_EQ(carried, ReadBytes(work / "T.exe"));
}

// A template that stamping would refuse is refused here too, before anything
// is written, with the reason.
struct TemplateRefusal {
    const char* name;
    const char* key;
    const char* setup;
    bool sign;
    const char* reason;
};

class SignedTemplateRefusalTest : public SelfCreatorFixture,
                                  public ::testing::WithParamInterface<TemplateRefusal> {};

TEST_P(SignedTemplateRefusalTest, WritesNothing) {
    const TemplateRefusal& c = GetParam();
    CAffiliateInfo credit;
    credit.m_strKey = c.key;
    ASSERT_TRUE(signedsample::WriteTemplate(work / "T.exe", credit, "setup.exe", c.setup, c.sign));
    project.m_strSelfCreatorPath = work / "kit.exe";
    builder.SetSignedTemplate(work / "T.exe");
    EXPECT_EQ(builder.Build(project), SelfCreatorResult::TemplateRefused);
    EXPECT_EQ(log.Lines().back(), "The template '" + (work / "T.exe") + "' " + c.reason + ".");
    EXPECT_EQ(beeps, 1);
    EXPECT_FALSE(std::filesystem::exists(work / "kit.exe"));
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, SignedTemplateRefusalTest,
    ::testing::Values(TemplateRefusal{"unsigned", kTestUuid, "#!VENDOR SETUP", false,
                                      "is not signed"},
                      TemplateRefusal{"another_product", "OTHER", "#!VENDOR SETUP", true,
                                      "carries another product's key 'OTHER'"},
                      TemplateRefusal{"another_setup", kTestUuid, "OLDER SETUP!", true,
                                      "does not carry the product's setup file"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
