// Cells that a spreadsheet would run, NUL bytes, foreign links, huge fields
// and names that would leave the output folder.
#include "model/AffProject.h"
#include "model/AffiliateCsv.h"
#include "model/AffiliateDraft.h"
#include "model/AffiliateImport.h"
#include "model/AffiliateRowCheck.h"
#include "model/CsvTable.h"
#include "model/DerivedFileName.h"
#include "model/FieldExcerpt.h"
#include "model/PurchaseLink.h"
#include "platform/PathText.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace std::string_literals;

struct CellCase {
    std::string cell;
    std::string written; // the cell as export writes it, before CSV quoting
};

void PrintTo(const CellCase& c, std::ostream* os) {
    *os << testing::PrintToString(c.cell);
}

class CsvCellCases : public testing::TestWithParam<CellCase> {};

TEST_P(CsvCellCases, ExportDefusesFormulasAndImportGivesTheCellBackExactly) {
    const CellCase& c = GetParam();
    EXPECT_EQ(ProtectCsvCell(c.cell), c.written);
    std::string csv;
    AppendCsvRecord(csv, {c.cell, "end"});
    const CsvTable table = ReadCsv(csv);
    ASSERT_TRUE(table.Ok()) << table.error;
    ASSERT_EQ(table.records.size(), 1u);
    EXPECT_EQ(table.records[0].fields, (std::vector<std::string>{c.cell, "end"}));
}

INSTANTIATE_TEST_SUITE_P(Cells, CsvCellCases,
                         testing::Values(CellCase{"=HYPERLINK(\"http://x\",\"Buy\")",
                                                  "'=HYPERLINK(\"http://x\",\"Buy\")"},
                                         CellCase{"=cmd|' /C calc'!A0", "'=cmd|' /C calc'!A0"},
                                         CellCase{"+1+2", "'+1+2"}, CellCase{"-2+3", "'-2+3"},
                                         CellCase{"@SUM(A1:A9)", "'@SUM(A1:A9)"},
                                         CellCase{"\t=1", "'\t=1"}, CellCase{"\r=1", "'\r=1"},
                                         CellCase{"'Tis Shop", "''Tis Shop"}, CellCase{"''", "'''"},
                                         CellCase{"'=x", "''=x"}, CellCase{"'", "''"},
                                         CellCase{"plain", "plain"}, CellCase{"a=b", "a=b"},
                                         CellCase{"", ""}));

TEST(CsvCells, ImportRemovesOnlyTheProtectingQuote) {
    const CsvTable table = ReadCsv("'Tis Shop,'=1,''x,'x,\"'-1\"\n");
    ASSERT_TRUE(table.Ok());
    EXPECT_EQ(table.records[0].fields,
              (std::vector<std::string>{"'Tis Shop", "=1", "'x", "'x", "-1"}));
}

TEST(CsvFieldLimit, FieldsAreCappedWhileParsing) {
    const std::string limit(kInfoFieldMax, 'a');
    for (const bool quoted : {false, true}) {
        const auto cell = [&](const std::string& text) {
            return quoted ? "\"" + text + "\"" : text;
        };
        EXPECT_TRUE(ReadCsv("x\n" + cell(limit) + ",y\n").Ok());
        EXPECT_TRUE(ReadCsv("x\n" + cell("'=" + limit.substr(1)) + "\n").Ok());
        const CsvTable tooLong = ReadCsv("x\n\n" + cell(limit + "a") + ",y\n");
        EXPECT_EQ(tooLong.error, "a field is longer than 3999 bytes");
        EXPECT_EQ(tooLong.errorLine, 3u);
        EXPECT_TRUE(tooLong.records.empty());
    }
    // A huge unclosed field stops at the limit, not at the end of the file.
    const CsvTable huge = ReadCsv("x\n\"" + std::string(8u << 20, 'b'));
    EXPECT_EQ(huge.error, "a field is longer than 3999 bytes");
}

TEST(FieldExcerpt, QuotesAtMost80BytesAndNeverSplitsACharacter) {
    EXPECT_EQ(FieldExcerpt(std::string(80, 'a')), std::string(80, 'a'));
    EXPECT_EQ(FieldExcerpt(std::string(81, 'a')), std::string(80, 'a') + "...");
    const std::string accents = std::string(79, 'a') + "\xC3\xA9" + "zz";
    EXPECT_EQ(FieldExcerpt(accents), std::string(79, 'a') + "...");
}

CAffProject Product() {
    CAffProject project;
    project.SetProjectPath("/work/p/Proj.vkp");
    project.m_strSetupFile = "Setup.sh";
    project.m_strOutputDir = "out";
    auto info = std::make_unique<CProductRegInfo>();
    info->m_wService = 0;
    info->m_strProductId = "4711";
    ComposeProductLink(0, info->m_strPurchaseLink, info->m_strProductId, ComposeMode::Reset);
    project.m_mapRegInfo.SetAt(0, std::move(info));
    return project;
}

struct RowCase {
    const char* name;
    AffiliateCsvRow row;
    std::string refusal; // part of the message; empty when accepted
    bool allowOutside = false;
};

void PrintTo(const RowCase& c, std::ostream* os) {
    *os << c.name;
}

class ImportedRowCases : public testing::TestWithParam<RowCase> {};

TEST_P(ImportedRowCases, AreJudgedBeforeTheyReachTheProject) {
    const RowCase& c = GetParam();
    const AffiliateRowVerdict verdict =
        CheckAffiliateRow(c.row, Product(), 1700000000, c.allowOutside);
    if (c.refusal.empty()) {
        EXPECT_TRUE(verdict.ok) << verdict.message;
    } else {
        EXPECT_FALSE(verdict.ok);
        EXPECT_NE(verdict.message.find(c.refusal), std::string::npos) << verdict.message;
        EXPECT_LE(verdict.message.size(), 200u);
    }
}

AffiliateCsvRow Row(std::string name, std::string id, std::string link = "", std::string site = "",
                    std::string setup = "") {
    AffiliateCsvRow row;
    row.name = std::move(name);
    row.affiliateId = std::move(id);
    row.purchaseLink = std::move(link);
    row.webSite = std::move(site);
    row.setupPath = std::move(setup);
    return row;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ImportedRowCases,
    testing::Values(
        RowCase{"Plain", Row("Ann", "a1", "https://buy.example/?a=1", "http://ann.example")},
        RowCase{"MailLink", Row("Ann", "a1", "MAILTO:ann@example.com")},
        RowCase{"FormulaLink", Row("Ann", "a1", "=HYPERLINK(\"http://x\")"),
                "is not an http, https or mailto address"},
        RowCase{"ScriptSite", Row("Ann", "a1", "", "javascript:alert(1)"),
                "The web site 'javascript:alert(1)' is not"},
        RowCase{"FileLink", Row("Ann", "a1", "file:///etc/passwd"), "is not an http"},
        RowCase{"NulInId", Row("Ann", "id\0 1"s), "NUL"},
        RowCase{"NulInSetupPath", Row("Ann", "a1", "", "", "out/g.sh\0x"s), "NUL"},
        RowCase{"NulInName", Row("A\0nn"s, "a1"), "NUL"},
        RowCase{"SetupPathInOutput", Row("Ann", "a1", "", "", "out/sub/ann.sh")},
        RowCase{"SetupPathClimbsOut", Row("Ann", "a1", "", "", "out/x/../../../victimdir/c.sh"),
                "lies outside the project's output folder"},
        RowCase{"SetupPathAbsolute", Row("Ann", "a1", "", "", "/tmp/v/c.sh"), "outside"},
        RowCase{"SetupPathIsTheFolder", Row("Ann", "a1", "", "", "out"), "outside"},
        RowCase{"OutsideAllowed", Row("Ann", "a1", "", "", "/tmp/v/c.sh"), "", true},
        RowCase{"LongServiceQuotedShort",
                [] {
                    AffiliateCsvRow row = Row("Ann", "a1");
                    row.service = std::string(3999, 'S');
                    return row;
                }(),
                "Unknown registration service 'SSSS"}),
    [](const auto& info) { return std::string(info.param.name); });

// Names from a file become file names: they never leave the output folder.
struct NameCase {
    std::string name;
    std::string file;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << testing::PrintToString(c.name);
}

class DerivedNameCases : public testing::TestWithParam<NameCase> {};

TEST_P(DerivedNameCases, StayOnePlainFileName) {
    const NameCase& c = GetParam();
    EXPECT_EQ(DerivedSetupFileName("Setup.sh", c.name, ProgramStart::Script), c.file);
    CAffProject project = Product();
    const std::string derived =
        project.ResolveProjectPath(DeriveAffiliateSetupPath(project, c.name));
    // One plain name inside the output folder, in either path style.
    EXPECT_EQ(platform::FolderOf(derived, platform::HostPathStyle()),
              project.ResolveProjectPath("out"))
        << derived;
}

INSTANTIATE_TEST_SUITE_P(Names, DerivedNameCases,
                         testing::Values(NameCase{"Bob", "Setup_Bob.sh"},
                                         NameCase{"x/../../../victimdir/clobbered",
                                                  "Setup_x__________victimdir_clobbered.sh"},
                                         NameCase{"AC/DC Software", "Setup_AC_DC Software.sh"},
                                         NameCase{"a\\b", "Setup_a_b.sh"},
                                         NameCase{"..", "Setup___.sh"},
                                         NameCase{"a\nb\x1b[31m\tc\x7f", "Setup_a_b_[31m_c_.sh"},
                                         NameCase{"h\0.sh"s, "Setup_h_.sh.sh"},
                                         NameCase{"Bob.", "Setup_Bob..sh"},
                                         NameCase{"Zo\xC3\xAB", "Setup_Zo\xC3\xAB.sh"}));

} // namespace
