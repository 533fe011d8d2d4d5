// Which self creator a product gets, by its setup file: the affiliates of a
// Windows product get the Windows self creator of the setup's machine type.
#include "package/SelfCreatorChoice.h"
#include "model/AffProject.h"
#include "package/SelfCreatorBuilder.h"
#include "package/SfxPackage.h"
#include "platform/Beep.h"
#include "platform/EmbeddedImage.h"
#include "tests/support/LogRecorder.h"
#include "tests/velklink/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Stand-ins for the self creator images. This program carries the one of its
// own system (129) and the 32-bit Windows one (134), not the 64-bit one (135).
const std::string kOwnImage = "OWN SELF CREATOR IMAGE";
const std::string kWindows32Image = "WINDOWS I686 SELF CREATOR";

const bool kRegistered = [] {
    const auto bytes = [](const std::string& s) {
        return reinterpret_cast<const unsigned char*>(s.data());
    };
    platform::RegisterEmbeddedImage("SFX_EXE", 129, bytes(kOwnImage),
                                    bytes(kOwnImage) + kOwnImage.size());
    platform::RegisterEmbeddedImage("SFX_EXE", 134, bytes(kWindows32Image),
                                    bytes(kWindows32Image) + kWindows32Image.size());
    return true;
}();

// The first bytes of a PE image: "MZ", the PE header's offset at 0x3C, then
// "PE\0\0", a 20-byte file header and the optional header's magic.
std::string PeImage(uint16_t magic) {
    constexpr uint32_t kPeOffset = 0x80;
    std::string bytes(kPeOffset + 4 + 20 + 2 + 64, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3C] = static_cast<char>(kPeOffset);
    bytes.replace(kPeOffset, 4, std::string("PE\0\0", 4));
    bytes[kPeOffset + 24] = static_cast<char>(magic & 0xFF);
    bytes[kPeOffset + 25] = static_cast<char>(magic >> 8);
    return bytes;
}

struct WantedCase {
    const char* name;
    ProgramKind kind;
    int wanted;
};

class WantedSelfCreator : public ::testing::TestWithParam<WantedCase> {};

TEST_P(WantedSelfCreator, FollowsTheLauncherChoice) {
    EXPECT_EQ(WantedSelfCreatorTemplate(GetParam().kind), GetParam().wanted);
}

INSTANTIATE_TEST_SUITE_P(Kinds, WantedSelfCreator,
                         ::testing::Values(WantedCase{"pe32", ProgramKind::Windows32, 134},
                                           WantedCase{"pe32plus", ProgramKind::Windows64, 135},
                                           WantedCase{"installer", ProgramKind::Installer, 134},
                                           WantedCase{"installer64", ProgramKind::Installer64, 135},
                                           WantedCase{"elf", ProgramKind::Elf, 129},
                                           WantedCase{"other", ProgramKind::Other, 129}),
                         [](const auto& info) { return std::string(info.param.name); });

struct SetupCase {
    const char* name;
    std::string bytes;
    int chosen;
};

class SelfCreatorForSetup : public ::testing::TestWithParam<SetupCase> {};

TEST_P(SelfCreatorForSetup, TakesWhatTheProgramCarries) {
    ASSERT_TRUE(kRegistered);
    ScratchFolder dir;
    WriteFileBytes(dir / "setup", GetParam().bytes);
    EXPECT_EQ(SelfCreatorTemplateForSetup(dir / "setup"), GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(
    Setups, SelfCreatorForSetup,
    ::testing::Values(SetupCase{"pe32", PeImage(0x10B), 134},
                      SetupCase{"installer",
                                std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + "msi", 134},
                      // Not carried here: the self creator of the writing program's system.
                      SetupCase{"pe32plus_not_carried", PeImage(0x20B), 129},
                      SetupCase{"elf",
                                std::string("\x7f"
                                            "ELF\x02\x01\x01",
                                            7),
                                129},
                      SetupCase{"script", "#!/bin/sh\nexit 0\n", 129},
                      SetupCase{"pe_cut_before_its_header", PeImage(0x10B).substr(0, 0x70), 129},
                      SetupCase{"empty", "", 129}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SelfCreatorForSetup, MissingSetupGetsTheOwnSelfCreator) {
    ScratchFolder dir;
    EXPECT_EQ(SelfCreatorTemplateForSetup(dir / "missing.exe"), 129);
}

// Build Self Creator writes the Windows self creator for a Windows setup, with
// the build log's lines unchanged.
class SelfCreatorBuild : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetBeepHandler([] {});
        builder.SetTempFolder(temp.Path());
        project.m_strUuid = "1B4E28BA-2FA1-11D2-883F-0016D3CCA427";
        project.m_strOutputDir = work.Path();
    }
    void TearDown() override { platform::SetBeepHandler({}); }

    // The bytes in front of the written self creator's payloads.
    std::string FrontOfOutput() {
        CSfxPackage package;
        EXPECT_EQ(package.ReadDirectory(project.m_strSelfCreatorPath), SFX_OK);
        return ReadFileBytes(project.m_strSelfCreatorPath)
            .substr(0, static_cast<size_t>(package.GetEntry(0).m_nOffset));
    }

    ScratchFolder work;
    ScratchFolder temp;
    CAffProject project;
    LogRecorder log;
    CSelfCreatorBuilder builder{log};
};

TEST_F(SelfCreatorBuild, WindowsSetupGetsTheWindowsSelfCreator) {
    ASSERT_TRUE(kRegistered);
    WriteFileBytes(work / "setup.exe", PeImage(0x10B));
    project.m_strSetupFile = work / "setup.exe";
    ASSERT_EQ(builder.Build(project), SelfCreatorResult::Built);
    EXPECT_EQ(FrontOfOutput(), kWindows32Image);
    ASSERT_FALSE(log.Lines().empty());
    EXPECT_EQ(log.Lines().back(),
              "File '" + project.m_strSelfCreatorPath + "' created successfully.");
}

TEST_F(SelfCreatorBuild, OtherSetupGetsTheOwnSelfCreator) {
    ASSERT_TRUE(kRegistered);
    WriteFileBytes(work / "setup.sh", "#!/bin/sh\nexit 0\n");
    project.m_strSetupFile = work / "setup.sh";
    ASSERT_EQ(builder.Build(project), SelfCreatorResult::Built);
    EXPECT_EQ(FrontOfOutput(), kOwnImage);
}

} // namespace
