// The one UTF-8 reader of the tree, the Windows-1252 reading of older project
// files, and the file names every system derives alike.
#include "model/TextEncoding.h"
#include "model/AffProject.h"
#include "model/PortableFileName.h"
#include "model/ProjectFile.h"
#include "model/ProjectSnapshot.h"
#include "model/Reseller.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kFffd = "\xEF\xBF\xBD";

struct DecodeCase {
    const char* name;
    std::string bytes;
    size_t length; // of the sequence at the start; 0: none
    uint32_t cp;
};

class DecodeUtf8Cases : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeUtf8Cases, ReadsOneSequenceOrNone) {
    const DecodeCase& c = GetParam();
    uint32_t cp = 0xDEAD;
    EXPECT_EQ(DecodeUtf8(c.bytes, cp), c.length);
    EXPECT_EQ(cp, c.length ? c.cp : 0xDEAD) << "a refused sequence leaves cp alone";
    EXPECT_EQ(IsValidUtf8(c.bytes), c.length == c.bytes.size());
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, DecodeUtf8Cases,
    ::testing::Values(
        DecodeCase{"ascii", "A", 1, 'A'}, DecodeCase{"nul", std::string(1, '\0'), 1, 0},
        DecodeCase{"two", "\xC3\xAB", 2, 0xEB}, DecodeCase{"three", "\xE6\x97\xA5", 3, 0x65E5},
        DecodeCase{"four", "\xF0\x9F\x98\x80", 4, 0x1F600},
        DecodeCase{"largest", "\xF4\x8F\xBF\xBF", 4, 0x10FFFF},
        DecodeCase{"above_largest", "\xF4\x90\x80\x80", 0, 0},
        DecodeCase{"overlong_two", "\xC0\xAF", 0, 0},
        DecodeCase{"overlong_three", "\xE0\x80\xAF", 0, 0},
        DecodeCase{"overlong_four", "\xF0\x80\x80\xAF", 0, 0},
        DecodeCase{"surrogate", "\xED\xA0\x80", 0, 0},
        DecodeCase{"last_surrogate", "\xED\xBF\xBF", 0, 0},
        DecodeCase{"before_surrogates", "\xED\x9F\xBF", 3, 0xD7FF},
        DecodeCase{"stray_continuation", "\x80", 0, 0}, DecodeCase{"cut_short", "\xE2\x82", 0, 0},
        DecodeCase{"lead_f5", "\xF5\x80\x80\x80", 0, 0}, DecodeCase{"latin1", "\xE9t\xE9", 0, 0},
        DecodeCase{"empty", "", 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextEncoding, ValidTextsAndTheirStandIns) {
    EXPECT_TRUE(IsValidUtf8("Zo\xC3\xAB M\xC3\xBCller \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("Zo\xEB"));
    // One stand-in per byte that starts no sequence; what follows is kept.
    EXPECT_EQ(SanitizeUtf8("a\xED\xA0\x80z"), "a" + kFffd + kFffd + kFffd + "z");
    EXPECT_EQ(SanitizeUtf8("\xE2\x82\xAC\xE2\x82"), "\xE2\x82\xAC" + kFffd + kFffd);
}

TEST(TextEncoding, Windows1252ReadsEveryByte) {
    EXPECT_EQ(Windows1252ToUtf8("Zo\xEB M\xFCller"), "Zo\xC3\xAB M\xC3\xBCller");
    EXPECT_EQ(Windows1252ToUtf8("\x80\x85\x8A\x92\x9F"),
              "\xE2\x82\xAC\xE2\x80\xA6\xC5\xA0\xE2\x80\x99\xC5\xB8");
    // The five bytes the code page leaves unassigned.
    EXPECT_EQ(Windows1252ToUtf8("\x81\x8D\x8F\x90\x9D"), kFffd + kFffd + kFffd + kFffd + kFffd);
    EXPECT_EQ(Windows1252ToUtf8("\xA0\xFF"), "\xC2\xA0\xC3\xBF");
    for (int b = 0; b < 256; ++b)
        EXPECT_TRUE(IsValidUtf8(Windows1252ToUtf8(std::string(1, static_cast<char>(b))))) << b;
}

struct PortableCase {
    const char* in;
    const char* out;
};

class PortableFileNames : public ::testing::TestWithParam<PortableCase> {};

TEST_P(PortableFileNames, AreKeptByWindowsAsWritten) {
    EXPECT_EQ(PortableFileName(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PortableFileNames,
    ::testing::Values(
        PortableCase{"Setup_Bob.exe", "Setup_Bob.exe"}, PortableCase{"CON", "CON_"},
        PortableCase{"con.exe", "con_.exe"}, PortableCase{"Nul.tar.gz", "Nul_.tar.gz"},
        PortableCase{"AUX .txt", "AUX_ .txt"}, PortableCase{"prn", "prn_"},
        PortableCase{"COM1.exe", "COM1_.exe"}, PortableCase{"lpt9", "lpt9_"},
        PortableCase{"COM\xC2\xB9.exe", "COM\xC2\xB9_.exe"}, PortableCase{"COM0.exe", "COM0.exe"},
        PortableCase{"COM10", "COM10"}, PortableCase{"CONSOLE.exe", "CONSOLE.exe"},
        PortableCase{"Setup_CON.exe", "Setup_CON.exe"}, PortableCase{"Setup_name.", "Setup_name_"},
        PortableCase{"Setup_a. .", "Setup_a___"}, PortableCase{"nul.", "nul_"},
        PortableCase{"Setup_\xE6\x97\xA5.exe", "Setup_\xE6\x97\xA5.exe"}, PortableCase{"", ""}));

// A project written by an older Windows version holds its code page's bytes.
// One text that is not UTF-8 decides for the whole file.
CAffProject LegacyProject() {
    CAffProject project;
    project.m_strTitle = "Caf\xE9";
    project.m_strOutputDir = "C:\\Ausgabe\\\xDC"; // "Ü"
    CReseller affiliate;
    affiliate.m_strName = "Zo\xEB M\xFCller";
    affiliate.m_strAffiliateId = "plain";
    affiliate.m_strWebSite = "\xE2\x82\xAC"; // valid UTF-8 by chance, still read as 1252
    project.AddReseller(affiliate);
    return project;
}

void ExpectConverted(const std::string& title, const std::string& name,
                     const std::string& webSite) {
    EXPECT_EQ(title, "Caf\xC3\xA9");
    EXPECT_EQ(name, "Zo\xC3\xAB M\xC3\xBC"
                    "ller");
    EXPECT_EQ(webSite, "\xC3\xA2\xE2\x80\x9A\xC2\xAC");
}

TEST(LegacyProjectFile, IsReadAsWindows1252AndSavedAsUtf8) {
    const std::string bytes = EncodeProject(LegacyProject());
    CAffProject loaded;
    const ProjectFileResult result = DecodeProject(bytes, loaded);
    ASSERT_TRUE(result.Ok()) << result.message;
    EXPECT_TRUE(result.readAsWindows1252);
    const CReseller* affiliate = loaded.LookupReseller(0);
    ASSERT_NE(affiliate, nullptr);
    ExpectConverted(loaded.m_strTitle, affiliate->m_strName, affiliate->m_strWebSite);
    EXPECT_EQ(loaded.m_strOutputDir, "C:\\Ausgabe\\\xC3\x9C");
    EXPECT_EQ(affiliate->m_strAffiliateId, "plain");

    // Saved again, the file is UTF-8 and reads back as it is.
    CAffProject again;
    const ProjectFileResult second = DecodeProject(EncodeProject(loaded), again);
    ASSERT_TRUE(second.Ok());
    EXPECT_FALSE(second.readAsWindows1252);
    EXPECT_EQ(again.m_strTitle, loaded.m_strTitle);
    EXPECT_EQ(again.LookupReseller(0)->m_strName, affiliate->m_strName);

    CProjectSnapshot snapshot;
    const ProjectFileResult viewed = snapshot.Decode(bytes);
    ASSERT_TRUE(viewed.Ok());
    EXPECT_TRUE(viewed.readAsWindows1252);
    const CResellerView* view = snapshot.resellers.Lookup(0);
    ASSERT_NE(view, nullptr);
    ExpectConverted(snapshot.product.m_strTitle, std::string(view->m_strName),
                    std::string(view->m_strWebSite));
    EXPECT_EQ(snapshot.Encode(), EncodeProject(loaded));
}

TEST(LegacyProjectFile, Utf8FilesAreReadAsTheyAre) {
    CAffProject project;
    project.m_strTitle = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";
    CReseller affiliate;
    affiliate.m_strName = "\xF0\x9F\x98\x80 \xCE\xA9mega";
    project.AddReseller(affiliate);
    const std::string bytes = EncodeProject(project);
    CAffProject loaded;
    const ProjectFileResult result = DecodeProject(bytes, loaded);
    ASSERT_TRUE(result.Ok());
    EXPECT_FALSE(result.readAsWindows1252);
    EXPECT_EQ(loaded.m_strTitle, project.m_strTitle);
    EXPECT_EQ(loaded.LookupReseller(0)->m_strName, affiliate.m_strName);
    EXPECT_EQ(EncodeProject(loaded), bytes);
    EXPECT_NE(LegacyTextNotice("p.vkp").find("p.vkp"), std::string::npos);
}

} // namespace
