#include "tests/support/SelfCreatorFixtures.h"

#include "model/RegistrationServices.h"
#include "package/AffiliateInfoFile.h"
#include "package/SfxPackage.h"
#include "platform/EmbeddedImage.h"
#include "selfkit/SelfKit.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

std::string Endpoint(int index) {
    return std::string(ServiceTable()[index].endpoint);
}

// A self creator for the list, extracted into its own temporary folder.
class SelfKitFixture : public ::testing::Test {
protected:
    SelfKitStatus StartWith(const std::string& list, const std::string& setup = "#!SETUP") {
        if (!MakeSelfCreator(work, work / "VelkSMNG.exe", ProductInfoBytes(kTestUuid, list), setup))
            return SelfKitStatus::BuildFailed;
        kit = std::make_unique<CSelfKit>(work / "VelkSMNG.exe", temp.Path());
        return kit->Start();
    }

    CCustomBuildRequest Request(const std::string& service, const std::string& output) {
        return {service, "A", "https://affiliate.example/", output};
    }

    ScratchFolder work;
    ScratchFolder temp;
    ScratchFolder out;
    std::unique_ptr<CSelfKit> kit;
};

TEST_F(SelfKitFixture, StartExtractsAndOffersTheListedServices) {
    ASSERT_EQ(StartWith("RegNow;1234;Other;99;ShareIt;5678;"), SelfKitStatus::Ok);
    EXPECT_EQ(kit->Services().names, (std::vector<std::string>{"RegNow", "ShareIt"}));
    EXPECT_EQ(kit->DefaultService(), "RegNow");
    EXPECT_EQ(kit->ProgramUuid(), kTestUuid);
    EXPECT_EQ(kit->SetupFilePath(), temp / "setup.exe");
    EXPECT_EQ(ReadBytes(kit->SetupFilePath()), "#!SETUP");
    EXPECT_EQ(kit->InfoFilePath(), temp / "afflreg.dat");
}

TEST_F(SelfKitFixture, StartRefusesWhatIsNotAWrittenSelfCreator) {
    // The bare program: no trailer at all.
    WriteBytes(work / "bare", std::string(5000, 'B'));
    EXPECT_EQ(CSelfKit(work / "bare", temp.Path()).Start(), SelfKitStatus::Corrupted);
    EXPECT_EQ(CSelfKit(work / "missing", temp.Path()).Start(), SelfKitStatus::Corrupted);
    EXPECT_EQ(CSelfKit("", temp.Path()).Start(), SelfKitStatus::Corrupted);

    // A package with the product information only.
    WriteBytes(work / "only.ino", ProductInfoBytes(kTestUuid, "RegNow;1;"));
    CSfxPackage one;
    ASSERT_TRUE(one.AddFile(work / "only.ino"));
    ASSERT_EQ(one.BuildWithImage("IMG", 3, work / "one"), SFX_OK);
    EXPECT_EQ(CSelfKit(work / "one", temp.Path()).Start(), SelfKitStatus::Corrupted);

    // No temporary folder: nothing may land in the root folder instead.
    ASSERT_TRUE(MakeSelfCreator(work, work / "ok", ProductInfoBytes(kTestUuid, "RegNow;1;"), "S"));
    EXPECT_EQ(CSelfKit(work / "ok", "").Start(), SelfKitStatus::Corrupted);
}

TEST_F(SelfKitFixture, StartRefusesABadProductInformationFile) {
    ASSERT_TRUE(MakeSelfCreator(work, work / "big",
                                ProductInfoBytes(kTestUuid, std::string(4000, ';')), "S"));
    EXPECT_EQ(CSelfKit(work / "big", temp.Path()).Start(), SelfKitStatus::Corrupted);
    ASSERT_TRUE(MakeSelfCreator(work, work / "short", LengthPrefixed(kTestUuid), "S"));
    EXPECT_EQ(CSelfKit(work / "short", temp.Path()).Start(), SelfKitStatus::Corrupted);
    EXPECT_EQ(SelfKitMessage(SelfKitStatus::Corrupted, ""),
              "File corrupted, please download it again!");
}

TEST_F(SelfKitFixture, LinksAreComposedFromTheEndpointOfEachService) {
    ASSERT_EQ(StartWith("RegNow;1234;ShareIt;5678;RegSoft;42;"), SelfKitStatus::Ok);
    EXPECT_EQ(kit->ComposeLink("RegNow", "A"), Endpoint(0) + "?affiliate=A&item=1234");
    EXPECT_EQ(kit->ComposeLink("ShareIt", "A"), Endpoint(1) + "?productid=5678&resellerid=A");
    EXPECT_EQ(kit->ComposeLink("RegSoft", "A"), Endpoint(2) + "?affiliateid=A&productid=42");
    EXPECT_EQ(kit->ComposeLink("RegNow", ""), Endpoint(0) + "?affiliate=&item=1234");
    // An ID is percent-encoded where a query value needs it: it stays one value.
    EXPECT_EQ(kit->ComposeLink("RegNow", "a&b=c"), Endpoint(0) + "?affiliate=a%26b%3Dc&item=1234");
    EXPECT_EQ(kit->ComposeLink("Other", "A"), "");
}

TEST_F(SelfKitFixture, NamesWrittenInOtherCaseStillComposeTheirLinks) {
    ASSERT_EQ(StartWith("regnow;1;"), SelfKitStatus::Ok);
    EXPECT_EQ(kit->Services().names, (std::vector<std::string>{"regnow"}));
    EXPECT_EQ(kit->ComposeLink("regnow", "X"), Endpoint(0) + "?affiliate=X&item=1");
}

TEST_F(SelfKitFixture, RequestsThatCannotBeBuiltAreRefused) {
    ASSERT_EQ(StartWith("Other;99;"), SelfKitStatus::Ok);
    EXPECT_TRUE(kit->Services().IsEmpty());
    EXPECT_EQ(kit->DefaultService(), "");
    EXPECT_EQ(kit->Build(Request("", out / "x.exe"), nullptr), SelfKitStatus::NoService);
    EXPECT_FALSE(std::filesystem::exists(out / "x.exe"));
    EXPECT_FALSE(std::filesystem::exists(kit->InfoFilePath()));

    ASSERT_EQ(StartWith("RegNow;1;"), SelfKitStatus::Ok);
    EXPECT_EQ(kit->CheckRequest(Request("ShareIt", out / "x.exe")), SelfKitStatus::NoService);
    // The preset name accepted inside the temporary folder names the setup file.
    EXPECT_EQ(kit->CheckRequest(Request("RegNow", temp / "setup.exe")),
              SelfKitStatus::OutputIsWorkFile);
    EXPECT_EQ(kit->CheckRequest(Request("RegNow", temp.Path() + "/./setup.exe")),
              SelfKitStatus::OutputIsWorkFile);
    EXPECT_EQ(kit->CheckRequest(Request("RegNow", temp / "afflreg.dat")),
              SelfKitStatus::OutputIsWorkFile);
    EXPECT_EQ(kit->Build(Request("RegNow", temp / "setup.exe"), nullptr),
              SelfKitStatus::OutputIsWorkFile);
    EXPECT_EQ(ReadBytes(temp / "setup.exe"), "#!SETUP");
    EXPECT_NE(SelfKitMessage(SelfKitStatus::OutputIsWorkFile, temp / "setup.exe")
                  .find(temp / "setup.exe"),
              std::string::npos);

    CCustomBuildRequest longHome = Request("RegNow", out / "x.exe");
    longHome.strHomePage.assign(4000, 'h');
    EXPECT_EQ(kit->CheckRequest(longHome), SelfKitStatus::FieldTooLong);
    EXPECT_EQ(kit->CheckRequest(Request("RegNow", out / "x.exe")), SelfKitStatus::Ok);
}

TEST_F(SelfKitFixture, BuildWritesTheAffiliatePackageInEightSteps) {
    ASSERT_TRUE(platform::FindEmbeddedImage("SFX_EXE", 130)) << "launcher image not linked in";
    ASSERT_EQ(StartWith("RegNow;1234;ShareIt;5678;"), SelfKitStatus::Ok);
    std::vector<int> positions;
    const std::string output = out.Path() + "/new/deeper/custom.exe";
    ASSERT_EQ(kit->Build(Request("ShareIt", output),
                         [&](int p) {
                             positions.push_back(p);
                             return true;
                         }),
              SelfKitStatus::Ok);
    EXPECT_EQ(positions, (std::vector<int>{2, 6, 6, 6, 7, 8, 9, 10}));

    CSfxPackage package;
    ASSERT_EQ(package.ReadDirectory(output), SFX_OK);
    ASSERT_EQ(package.GetCount(), 2);
    EXPECT_EQ(package.GetEntry(0).m_strName, "afflreg.dat");
    EXPECT_EQ(package.GetEntry(1).m_strName, "setup.exe");
    EXPECT_EQ(package.GetEntry(0).m_nOffset,
              static_cast<int32_t>(platform::FindEmbeddedImage("SFX_EXE", 130).size));

    // The information file is made in memory: none is left in the temporary folder.
    EXPECT_FALSE(std::filesystem::exists(kit->InfoFilePath()));
    CAffiliateInfo info;
    ASSERT_EQ(DecodeAffiliateInfo(InfoEntryOf(output), info), SFX_OK);
    EXPECT_EQ(info.m_strKey, kTestUuid);
    EXPECT_EQ(info.m_strLink, Endpoint(1) + "?productid=5678&resellerid=A");
    EXPECT_EQ(info.m_strWebSite, "https://affiliate.example/");
    std::string entry1;
    ASSERT_EQ(package.ReadEntryBytes(1, 10000, entry1), SFX_OK);
    EXPECT_EQ(entry1, "#!SETUP");

    struct stat st {};
    ASSERT_EQ(::stat(output.c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IXUSR);

    // A second build to the same path replaces the first.
    CCustomBuildRequest again = Request("RegNow", output);
    again.strAffiliateId = "B";
    ASSERT_EQ(kit->Build(again, nullptr), SelfKitStatus::Ok);
    ASSERT_EQ(package.ReadDirectory(output), SFX_OK);
    const std::string entry0 = InfoEntryOf(output);
    ASSERT_EQ(DecodeAffiliateInfo(entry0, info), SFX_OK);
    EXPECT_EQ(info.m_strLink, Endpoint(0) + "?affiliate=B&item=1234");
    EXPECT_EQ(std::filesystem::file_size(output), platform::FindEmbeddedImage("SFX_EXE", 130).size +
                                                      entry0.size() + 7 + 14 + (12 + 11) +
                                                      (12 + 9));
}

TEST_F(SelfKitFixture, CancelStopsAfterTheStepAndKeepsWhatWasWritten) {
    ASSERT_EQ(StartWith("RegNow;1234;"), SelfKitStatus::Ok);
    int calls = 0;
    const std::string output = out / "c.exe";
    EXPECT_EQ(kit->Build(Request("RegNow", output),
                         [&](int p) {
                             ++calls;
                             return p != 6; // Cancel seen after the UUID was written
                         }),
              SelfKitStatus::Cancelled);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_FALSE(std::filesystem::exists(kit->InfoFilePath()));
    EXPECT_EQ(SelfKitMessage(SelfKitStatus::Cancelled, output), "");
}

TEST_F(SelfKitFixture, FailuresReportTheirMessages) {
    ASSERT_EQ(StartWith("RegNow;1234;"), SelfKitStatus::Ok);

    // An empty output path cannot be written.
    EXPECT_EQ(kit->Build(Request("RegNow", ""), nullptr), SelfKitStatus::BuildFailed);
    EXPECT_EQ(SelfKitMessage(SelfKitStatus::BuildFailed, ""),
              "Error! Can't build affiliate setup file [].");

    // The extracted setup file went missing.
    std::filesystem::remove(kit->SetupFilePath());
    EXPECT_EQ(kit->Build(Request("RegNow", out / "y.exe"), nullptr), SelfKitStatus::SetupAddFailed);
    EXPECT_EQ(SelfKitMessage(SelfKitStatus::SetupAddFailed, ""),
              "Internal Error! Please close the program and retry! ");

    // A folder in the place of "afflreg.dat" does not matter: the
    // information file is made in memory.
    std::filesystem::remove(kit->InfoFilePath());
    std::filesystem::create_directory(kit->InfoFilePath());
    EXPECT_EQ(kit->Build(Request("RegNow", out / "y.exe"), nullptr), SelfKitStatus::SetupAddFailed);
    EXPECT_EQ(SelfKitMessage(SelfKitStatus::InfoCreateFailed, ""), "Internal Error!");
    EXPECT_FALSE(std::filesystem::exists(out / "y.exe"));
}

TEST_F(SelfKitFixture, APlantedLinkIsNotFollowedWhenWritingTheInformationFile) {
    ASSERT_EQ(StartWith("RegNow;1234;"), SelfKitStatus::Ok);
    WriteBytes(work / "victim", "precious");
    std::filesystem::remove(kit->InfoFilePath());
    std::filesystem::create_symlink(work / "victim", kit->InfoFilePath());
    EXPECT_EQ(kit->Build(Request("RegNow", out / "z.exe"), nullptr), SelfKitStatus::Ok);
    EXPECT_EQ(ReadBytes(work / "victim"), "precious");
    EXPECT_TRUE(std::filesystem::is_symlink(kit->InfoFilePath()));
}

} // namespace
