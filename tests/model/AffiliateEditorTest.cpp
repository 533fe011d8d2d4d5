#include "model/AffiliateEditor.h"
#include "model/AffProject.h"
#include "model/DerivedFileName.h"
#include "model/ProjectPaths.h"
#include "model/RegistrationServices.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using platform::PathStyle;

// The separator the system writes between a folder and a name.
const std::string kSep = platform::HostPathStyle() == PathStyle::Windows ? "\\" : "/";

struct DeriveCase {
    std::string outputDir;
    std::string current;
    std::string name;
    std::string expected;
};

class DeriveSetupPath : public ::testing::TestWithParam<DeriveCase> {};

TEST_P(DeriveSetupPath, KeepsTheFolderAndRenamesTheFile) {
    const DeriveCase& c = GetParam();
    CAffProject project;
    project.m_strSetupFile = "C:\\Vendor\\v1.2\\setup.exe";
    project.m_strOutputDir = c.outputDir;
    EXPECT_EQ(CAffiliateEditor(project).DeriveSetupPath(c.current, c.name), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DeriveSetupPath,
    ::testing::Values(DeriveCase{"out", "", "Bob", "out" + kSep + "setup_Bob.exe"},
                      DeriveCase{"out/", "", "Bob", "out/setup_Bob.exe"},
                      DeriveCase{"C:\\out\\", "", "Bob", "C:\\out\\setup_Bob.exe"},
                      // Without an output folder the file stays beside the project.
                      DeriveCase{"", "", "Bob", "setup_Bob.exe"},
                      DeriveCase{"out", "D:\\kept\\old.exe", "Ann", "D:\\kept\\setup_Ann.exe"},
                      DeriveCase{"out", "kept/old.exe", "", "kept/setup_.exe"},
                      DeriveCase{"out", "old.exe", "Ann", "setup_Ann.exe"}));

// The name of a custom setup follows what the product's setup file is, read
// from its first bytes: a Windows launcher makes a Windows program.
struct StartCase {
    std::string setupName;
    std::string firstBytes;
    ProgramStart start;
    std::string derivedName;
};

class SetupContent : public ::testing::TestWithParam<StartCase> {};

TEST_P(SetupContent, DecidesTheExtension) {
    const StartCase& c = GetParam();
    EXPECT_EQ(ProgramStartOf(reinterpret_cast<const unsigned char*>(c.firstBytes.data()),
                             c.firstBytes.size()),
              c.start);
    TempFolder dir{"velkora-start"};
    std::ofstream(dir / c.setupName, std::ios::binary) << c.firstBytes << "rest of the file";
    CAffProject project;
    project.m_strSetupFile = dir / c.setupName;
    project.m_strOutputDir = "out";
    EXPECT_EQ(CAffiliateEditor(project).DeriveSetupPath("", "Ann"), "out" + kSep + c.derivedName);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SetupContent,
    ::testing::Values(
        StartCase{"Tidy.msi", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", ProgramStart::Installer,
                  "Tidy_Ann.exe"},
        StartCase{"Tidy.MSI", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", ProgramStart::Installer,
                  "Tidy_Ann.exe"},
        StartCase{"setup", "MZ", ProgramStart::WindowsProgram, "setup_Ann.exe"},
        StartCase{"setup.bin", "MZ\x90", ProgramStart::WindowsProgram, "setup_Ann.exe"},
        StartCase{"setup.exe",
                  "\x7F"
                  "ELF\x02",
                  ProgramStart::Elf, "setup_Ann.exe"},
        StartCase{"setup.run",
                  "\x7F"
                  "ELF\x02",
                  ProgramStart::Elf, "setup_Ann.run"},
        StartCase{"install.sh", "#!/bin/sh\n", ProgramStart::Script, "install_Ann.sh"},
        // Seven of the eight bytes of the installer header are not one.
        StartCase{"Half.msi", "\xD0\xCF\x11\xE0\xA1\xB1\x1A", ProgramStart::Unknown,
                  "Half_Ann.msi"},
        StartCase{"readme.txt", "Mz", ProgramStart::Unknown, "readme_Ann.txt"}));

// A setup file that is not there is nothing yet: its own extension stays.
TEST(SetupContent, MissingFileKeepsTheExtension) {
    EXPECT_EQ(ProgramStartOfFile("/nonexistent/velkora/Tidy.msi"), ProgramStart::Unknown);
    CAffProject project;
    project.m_strSetupFile = "/nonexistent/velkora/Tidy.msi";
    EXPECT_EQ(CAffiliateEditor(project).DeriveSetupPath("", "Ann"), "Tidy_Ann.msi");
}

TEST(SelfCreatorFileName, WindowsOnlyGetsExe) {
    EXPECT_EQ(SelfCreatorFileName(true), "VelkSMNG.exe");
    EXPECT_EQ(SelfCreatorFileName(false), "VelkSMNG");
}

TEST(ProjectPathParts, SplitAndJoin) {
    EXPECT_EQ(projectpaths::FileNameOf("a/b\\c.d.exe"), "c.d.exe");
    EXPECT_EQ(projectpaths::FileNameOf("plain"), "plain");
    EXPECT_EQ(projectpaths::FolderPartOf("C:\\a\\b.exe"), "C:\\a\\");
    EXPECT_EQ(projectpaths::FolderPartOf("b.exe"), "");
    EXPECT_EQ(projectpaths::SplitExtension("pkg.tar.gz").title, "pkg.tar");
    EXPECT_EQ(projectpaths::SplitExtension("pkg.tar.gz").extension, ".gz");
    EXPECT_EQ(projectpaths::SplitExtension("setup").extension, "");
    EXPECT_EQ(projectpaths::JoinPath("a", "b", PathStyle::Windows), "a\\b");
    EXPECT_EQ(projectpaths::JoinPath("a", "b", PathStyle::Posix), "a/b");
    EXPECT_EQ(projectpaths::JoinPath("a\\", "b", PathStyle::Posix), "a\\b");
    EXPECT_EQ(projectpaths::JoinPath("", "b", PathStyle::Posix), "b");
    EXPECT_EQ(projectpaths::JoinPath("a", "", PathStyle::Posix), "a/");
}

class AffiliateEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_dir.Path().empty());
        WriteBytes(m_dir / "setup.sh", "#!/bin/sh\n");
        std::filesystem::create_symlink(m_dir / "setup.sh", m_dir / "alias.sh");
        m_project.SetProjectPath(m_dir / "proj.vkp");
        m_project.m_strSetupFile = "setup.sh";
        auto regNow = std::make_unique<CProductRegInfo>();
        regNow->m_wService = kServiceRegNow;
        regNow->m_strProductId = "P";
        m_project.m_mapRegInfo.SetAt(kServiceRegNow, std::move(regNow));
        CReseller first;
        first.m_strName = "first";
        first.m_strAffiliateId = "1";
        first.m_strPurchaseLink = "http://l/first";
        first.m_strSetupPath = "out/first.sh";
        uint16_t key = 0;
        m_project.AddReseller(first, &key);
        m_first = m_project.LookupReseller(key);
    }

    TempFolder m_dir{"velkora-editor"};
    CAffProject m_project;
    CReseller* m_first = nullptr;
};

TEST_F(AffiliateEditorTest, AnAffiliateKeepsItsOwnPath) {
    AffiliateFields fields = CAffiliateEditor::Load(*m_first);
    EXPECT_EQ(CAffiliateEditor(m_project, m_first).Check(fields), "");
    EXPECT_EQ(CAffiliateEditor(m_project).Check(fields),
              "File 'out/first.sh' is used for another affiliate, please select other name.");
}

TEST_F(AffiliateEditorTest, APathTooLongToResolveIsRefused) {
    AffiliateFields fields = CAffiliateEditor::Load(*m_first);
    fields.setupPath = std::string(300, 'p');
    EXPECT_EQ(CAffiliateEditor(m_project, m_first).Check(fields),
              "The pathname '" + std::string(80, 'p') + "...' is too long.");
}

TEST_F(AffiliateEditorTest, PickedPathsAreStoredRelativeOrRefused) {
    const CAffiliateEditor editor(m_project);
    const PickedPath setup = editor.CheckPickedPath(m_dir / "alias.sh");
    EXPECT_EQ(setup.fault, PickedPathFault::ProductSetupFile);
    const PickedPath taken = editor.CheckPickedPath(m_dir / "OUT/First.sh");
    EXPECT_EQ(taken.fault, PickedPathFault::UsedByOtherAffiliate);
    EXPECT_EQ(taken.stored, "OUT/First.sh");
    const PickedPath free = editor.CheckPickedPath(m_dir / "out/second.sh");
    EXPECT_EQ(free.fault, PickedPathFault::None);
    EXPECT_EQ(free.stored, "out/second.sh");
    EXPECT_EQ(editor.CheckPickedPath("/elsewhere/x.sh").stored, "/elsewhere/x.sh");
}

TEST_F(AffiliateEditorTest, CellEditsComposeAndRefuseWhatTheLauncherCannotRead) {
    const CAffiliateEditor editor(m_project, m_first);
    CReseller& r = *m_first;
    EXPECT_EQ(editor.EditField(r, AffiliateField::Name, "first").result,
              FieldEdit::Result::Unchanged);

    EXPECT_EQ(editor.EditField(r, AffiliateField::AffiliateId, "42").result,
              FieldEdit::Result::Changed);
    EXPECT_EQ(r.m_strAffiliateId, "42");
    EXPECT_NE(r.m_strPurchaseLink.find("42"), std::string::npos) << r.m_strPurchaseLink;

    const CReseller before = r;
    const FieldEdit site = editor.EditField(r, AffiliateField::WebSite, std::string(4000, 'w'));
    EXPECT_EQ(site.result, FieldEdit::Result::Refused);
    EXPECT_EQ(site.message, "The affiliate website is too long, please use at most 3999 bytes.");
    EXPECT_EQ(r.m_strWebSite, before.m_strWebSite);
    const FieldEdit link =
        editor.EditField(r, AffiliateField::PurchaseLink, std::string(4000, 'l'));
    EXPECT_EQ(link.message, "The purchase link is too long, please use at most 3999 bytes.");
    EXPECT_EQ(r.m_strPurchaseLink, before.m_strPurchaseLink);
    EXPECT_EQ(editor.EditField(r, AffiliateField::WebSite, std::string(3999, 'w')).result,
              FieldEdit::Result::Changed);

    // A link kept from an older project does not block edits of other fields.
    r.m_strPurchaseLink = std::string(5000, 'o');
    EXPECT_EQ(editor.EditField(r, AffiliateField::Email, "a@b").result, FieldEdit::Result::Changed);
}

} // namespace
