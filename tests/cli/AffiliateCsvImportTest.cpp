#include "CliTestSupport.h"
#include "MiniJson.h"

#include "model/AffiliateRowCheck.h"

#include "model/AffProject.h"
#include "model/AffiliateCsv.h"
#include "model/AffiliateImport.h"
#include "model/ProjectFile.h"
#include "model/PurchaseLink.h"
#include "model/RegistrationServices.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int32_t kNow = 1700000000;

// A product known at RegNow, ShareIt and RegSoft, whose setups go to out/.
CAffProject SampleProject(const std::string& projectPath) {
    CAffProject project;
    project.SetProjectPath(projectPath);
    project.m_strTitle = "Demo";
    project.m_strSetupFile = "Setup.exe";
    project.m_strOutputDir = "out";
    project.m_strUuid = "2957DA3C-5EE7-465C-9C17-CF586DD13EF1";
    for (uint16_t service = 0; service < 3; ++service) {
        auto info = std::make_unique<CProductRegInfo>();
        info->m_wService = service;
        info->m_strProductId = "P-" + std::to_string(service);
        ComposeProductLink(service, info->m_strPurchaseLink, info->m_strProductId,
                           ComposeMode::Reset);
        project.m_mapRegInfo.SetAt(service, std::move(info));
    }
    return project;
}

std::string Sample(const std::string& name) {
    return ReadBytes(std::filesystem::path(CSV_SAMPLES_DIR) / name);
}

struct RefusalAt {
    size_t line;
    std::string reasonPart;
};

struct CsvCase {
    std::string file;
    std::string fileError; // part of the file's refusal; empty when it reads
    size_t errorLine = 0;
    std::vector<size_t> rowLines;
    std::vector<std::string> acceptedNames;
    std::vector<RefusalAt> refused;
    std::vector<std::string> ignoredColumns;
};

std::ostream& operator<<(std::ostream& os, const CsvCase& c) {
    return os << c.file;
}

class CsvSampleTest : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvSampleTest, ReadsAndJudgesEveryRow) {
    const CsvCase& c = GetParam();
    const std::string bytes = Sample(c.file);
    const AffiliateCsvSheet sheet = ReadAffiliateCsv(bytes);
    const CAffProject project = SampleProject("/work/p/Proj.vkp");
    // Setup paths outside the output folder are judged on their own below.
    const AffiliateImportPlan plan =
        PlanAffiliateImport(bytes, project, AffiliateRowCheckAt(kNow, true));

    if (!c.fileError.empty()) {
        EXPECT_FALSE(plan.FileOk());
        EXPECT_NE(plan.fileError.find(c.fileError), std::string::npos) << plan.fileError;
        EXPECT_EQ(plan.fileErrorLine, c.errorLine);
        EXPECT_TRUE(plan.accepted.empty());
        CAffProject target = project;
        EXPECT_EQ(ApplyAffiliateImport(plan, target, true), 0u);
        return;
    }
    ASSERT_TRUE(plan.FileOk()) << plan.fileError << " at line " << plan.fileErrorLine;
    std::vector<size_t> lines;
    for (const AffiliateCsvRow& row : sheet.rows)
        lines.push_back(row.line);
    EXPECT_EQ(lines, c.rowLines);
    EXPECT_EQ(plan.rowCount, c.rowLines.size());
    std::vector<std::string> names;
    for (const CReseller& r : plan.accepted)
        names.push_back(r.m_strName);
    EXPECT_EQ(names, c.acceptedNames);
    ASSERT_EQ(plan.refused.size(), c.refused.size());
    for (size_t i = 0; i < c.refused.size(); ++i) {
        EXPECT_EQ(plan.refused[i].line, c.refused[i].line);
        EXPECT_NE(plan.refused[i].reason.find(c.refused[i].reasonPart), std::string::npos)
            << plan.refused[i].reason;
    }
    EXPECT_EQ(plan.unknownColumns, c.ignoredColumns);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, CsvSampleTest,
    ::testing::Values(
        CsvCase{"quotes.csv", "", 0, {2, 3}, {"Smith, Jones & Co", "The \"Best\" Deals"}, {}, {}},
        CsvCase{"line-breaks.csv", "", 0, {2, 4, 6}, {"Ann", "Bob", "Cid"}, {}, {}},
        CsvCase{"bom-crlf.csv", "", 0, {2, 3}, {"Zo\xC3\xAB Ltd", "\xC3\x85sa"}, {}, {}},
        CsvCase{"lf-only.csv", "", 0, {2, 3}, {"Ann", "Bob"}, {}, {}},
        CsvCase{"utf16le.csv", "", 0, {2}, {"Zo\xC3\xAB"}, {}, {}},
        CsvCase{"invalid-utf8.csv", "", 0, {2}, {"Jos\xEF\xBF\xBD"}, {}, {}},
        CsvCase{"short-forms.csv", "", 0, {2}, {"Ann"}, {}, {"Notes"}},
        CsvCase{"duplicate-setup-path.csv",
                "",
                0,
                {2, 3, 4},
                {"Ann", "Bob"},
                {{4, "File 'OUT/Shared.bin' is used for another affiliate"}},
                {}},
        CsvCase{"duplicate-derived-path.csv",
                "",
                0,
                {2, 3},
                {"Ann"},
                {{3, "is used for another affiliate"}},
                {}},
        CsvCase{"unknown-service.csv",
                "",
                0,
                {2, 3},
                {"Ann"},
                {{3, "Unknown registration service 'PayMore'"}},
                {}},
        CsvCase{"missing-fields.csv",
                "",
                0,
                {2, 3, 4},
                {"Cid"},
                {{2, "Please input a name for this affiliate."},
                 {3, "Please provide an ID for this affiliate!"}},
                {}},
        CsvCase{"other-service-no-link.csv",
                "",
                0,
                {2, 3},
                {"Bob"},
                {{2, "has no purchase endpoint"}},
                {}},
        CsvCase{"header-only.csv", "", 0, {}, {}, {}, {}},
        CsvCase{"empty.csv", "the file is empty", 1},
        CsvCase{"missing-id-column.csv", "the column \"Affiliate ID\" is missing", 1},
        CsvCase{"unclosed-quote.csv", "a quoted field is not closed", 3},
        CsvCase{"text-after-quote.csv", "text follows a closing quote", 3}));

const CReseller& Accepted(const AffiliateImportPlan& plan, size_t i) {
    static const CReseller none;
    return i < plan.accepted.size() ? plan.accepted[i] : none;
}

AffiliateImportPlan PlanSample(const std::string& file) {
    return PlanAffiliateImport(Sample(file), SampleProject("/work/p/Proj.vkp"),
                               AffiliateRowCheckAt(kNow));
}

TEST(CsvFields, QuotedFieldsKeepCommasAndQuotes) {
    const AffiliateImportPlan plan = PlanSample("quotes.csv");
    EXPECT_EQ(Accepted(plan, 0).m_strWebSite, "http://sj.example/?a=1,2");
    EXPECT_EQ(Accepted(plan, 1).m_strPurchaseLink, "http://pay.example/?q=\"x\"");
    // No link given: composed from the product's link, as the dialog does.
    EXPECT_NE(Accepted(plan, 0).m_strPurchaseLink.find("sj1"), std::string::npos);
    EXPECT_EQ(Accepted(plan, 0).m_tModified, kNow);
}

TEST(CsvFields, LineBreaksInsideQuotesStayInTheField) {
    const AffiliateImportPlan plan = PlanSample("line-breaks.csv");
    EXPECT_EQ(Accepted(plan, 0).m_strEmail, "ann@example.com\r\nsecond line");
    EXPECT_EQ(Accepted(plan, 1).m_strWebSite, "http://bob.example\nnext");
    EXPECT_EQ(Accepted(plan, 2).m_strWebSite, "");
}

TEST(CsvFields, ServiceNamesIgnoreCaseAndMissingOnesTakeTheDefault) {
    AffiliateImportPlan plan = PlanSample("bom-crlf.csv");
    EXPECT_EQ(Accepted(plan, 0).m_nService, kServiceShareIt);
    EXPECT_EQ(Accepted(plan, 1).m_nService, kServiceRegSoft);
    CAffProject project = SampleProject("/work/p/Proj.vkp");
    project.m_wDefaultService = kServiceRegSoft;
    plan = PlanAffiliateImport(Sample("lf-only.csv"), project, AffiliateRowCheckAt(kNow));
    EXPECT_EQ(Accepted(plan, 0).m_nService, kServiceRegSoft);
}

TEST(CsvFields, SetupPathsAreRelativeToTheProjectFolder) {
    const AffiliateImportPlan plan = PlanSample("duplicate-setup-path.csv");
    EXPECT_EQ(Accepted(plan, 0).m_strSetupPath, Native("out/shared.bin"));
    const AffiliateImportPlan derived = PlanSample("lf-only.csv");
    EXPECT_EQ(Accepted(derived, 1).m_strSetupPath, Native("out/Setup_Bob.exe"));
}

TEST(CsvFields, RowsClashWithAffiliatesAlreadyInTheProject) {
    CAffProject project = SampleProject("/work/p/Proj.vkp");
    CReseller bob;
    bob.m_strName = "Bob";
    bob.m_strSetupPath = "out/Setup_Bob.exe";
    project.AddReseller(bob);
    const AffiliateImportPlan plan =
        PlanAffiliateImport(Sample("lf-only.csv"), project, AffiliateRowCheckAt(kNow));
    ASSERT_EQ(plan.refused.size(), 1u);
    EXPECT_EQ(plan.refused[0].line, 3u);
    EXPECT_EQ(plan.accepted.size(), 1u);
}

TEST(CsvFields, RowsBeyondTheFreeKeysAreRefused) {
    CAffProject project = SampleProject("/work/p/Proj.vkp");
    for (uint32_t i = 0; i < 65535; ++i) {
        CReseller r;
        r.m_strName = "n" + std::to_string(i);
        project.AddReseller(r);
    }
    const AffiliateImportPlan plan =
        PlanAffiliateImport(Sample("lf-only.csv"), project, AffiliateRowCheckAt(kNow));
    ASSERT_EQ(plan.accepted.size(), 1u);
    ASSERT_EQ(plan.refused.size(), 1u);
    EXPECT_EQ(plan.refused[0].line, 3u);
    EXPECT_EQ(plan.refused[0].reason, "The project has no free affiliate key left.");
}

// The command, as a user runs it.
class ImportCommandTest : public CliTest {
protected:
    void WriteCsv(const std::string& text) { WriteBytes(m_dir / "a.csv", text); }
    CliRun Import(std::vector<std::string> extra = {}) {
        std::vector<std::string> words = {"import-affiliates", m_file, (m_dir / "a.csv").string()};
        words.insert(words.end(), extra.begin(), extra.end());
        return RunCliWords(words);
    }
    CAffProject Load() {
        CAffProject project;
        EXPECT_TRUE(LoadProjectFile(m_file, project).Ok());
        return project;
    }
};

const char* const kThreeGoodOneBad = "Affiliate Name,Affiliate ID,Service\n"
                                     "Ann,a1,\n"
                                     "Bob,b2,RegNow\n"
                                     "Cid,c3,PayMore\n"
                                     "Dot,d4,\n";

TEST_F(ImportCommandTest, AnyRefusedRowAddsNothing) {
    MakeProject();
    const std::string before = ReadBytes(m_file);
    WriteCsv(kThreeGoodOneBad);
    const CliRun run = Import();
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_NE(run.out.find("Line 4: Unknown registration service 'PayMore'"), std::string::npos)
        << run.out;
    EXPECT_NE(run.err.find("Nothing was added"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(m_file), before);
}

TEST_F(ImportCommandTest, SkipBadAddsTheGoodRowsAndDryRunNothing) {
    MakeProject();
    const std::string before = ReadBytes(m_file);
    WriteCsv(kThreeGoodOneBad);
    CliRun run = Import({"--skip-bad", "--dry-run"});
    EXPECT_EQ(run.code, kExitOk) << run.err;
    EXPECT_NE(run.out.find("would add 3"), std::string::npos) << run.out;
    EXPECT_EQ(ReadBytes(m_file), before);

    run = Import({"--skip-bad", "--json"});
    EXPECT_EQ(run.code, kExitOk) << run.err;
    JsonValue report;
    JsonReader reader(run.out);
    ASSERT_TRUE(reader.Read(report)) << reader.Error() << "\n" << run.out;
    EXPECT_EQ(report["rows"].number, 4);
    EXPECT_EQ(report["added"].number, 3);
    EXPECT_EQ(report["refused"][0]["line"].number, 4);
    const CAffProject project = Load();
    EXPECT_EQ(project.m_mapResellers.GetCount(), 3u);
}

TEST_F(ImportCommandTest, AFileThatCannotBeReadChangesNothing) {
    MakeProject();
    const std::string before = ReadBytes(m_file);
    WriteCsv("Affiliate Name,Affiliate ID\n\"Ann,a1\n");
    const CliRun run = Import({"--skip-bad"});
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_NE(run.err.find("line 2: a quoted field is not closed"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(m_file), before);
}

TEST_F(ImportCommandTest, ExportThenImportIntoAnEmptyProjectGivesTheSameAffiliates) {
    MakeProject();
    CAffProject source = Load();
    source.SetProjectPath(m_file);
    const std::vector<CReseller> wanted = [] {
        auto make = [](std::string name, std::string id, int32_t service, std::string web,
                       std::string email, std::string link, std::string path) {
            CReseller r;
            r.m_strName = std::move(name), r.m_strAffiliateId = std::move(id);
            r.m_nService = service, r.m_strWebSite = std::move(web);
            r.m_strEmail = std::move(email), r.m_strPurchaseLink = std::move(link);
            r.m_strSetupPath = std::move(path);
            return r;
        };
        return std::vector<CReseller>{make("Smith, Jones", "s\"1", kServiceRegNow,
                                           "http://a.example/?x=1,2", "a@x",
                                           "http://reg.example/?aff=s1", "out/a b.exe"),
                                      make("Multi\r\nLine", "m2", kServiceOther, "", "",
                                           "http://other.example/buy", "out/m.exe"),
                                      make(" Spaced ", "z3", kServiceShareIt, "https://w.example",
                                           "e", "https://share.example/?aff=z3", "elsewhere/z.exe"),
                                      make("Zo\xC3\xAB", "z4", kServiceRegSoft, "", "",
                                           "http://soft.example/?a=z4", "out/zoe.exe")};
    }();
    for (const CReseller& r : wanted)
        source.AddReseller(r);
    ASSERT_TRUE(SaveProjectFile(m_file, source).Ok());

    const std::string csvPath = (m_dir / "out.csv").string();
    CliRun run = RunCliWords({"export-affiliates", m_file, "--output", csvPath});
    ASSERT_EQ(run.code, kExitOk) << run.err;
    const std::string csv = ReadBytes(csvPath);
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBF"
                        "Affiliate Name,Affiliate ID,Website,Contact Email,Purchase Link,"
                        "Service,Setup Path\r\n",
                        0),
              0u);

    const std::string emptyFile = (m_dir / "Empty.vkp").string();
    CAffProject empty = source;
    empty.m_mapResellers.RemoveAll();
    empty.m_nNextResellerId = 0;
    ASSERT_TRUE(SaveProjectFile(emptyFile, empty).Ok());
    run = RunCliWords({"import-affiliates", emptyFile, csvPath, "--allow-outside"});
    ASSERT_EQ(run.code, kExitOk) << run.out << run.err;

    CAffProject result;
    ASSERT_TRUE(LoadProjectFile(emptyFile, result).Ok());
    ASSERT_EQ(result.m_mapResellers.GetCount(), wanted.size());
    for (uint16_t key = 0; key < wanted.size(); ++key) {
        const CReseller* got = result.LookupReseller(key);
        ASSERT_NE(got, nullptr);
        const CReseller& want = wanted[key];
        EXPECT_EQ(got->m_strName, want.m_strName);
        EXPECT_EQ(got->m_strAffiliateId, want.m_strAffiliateId);
        EXPECT_EQ(got->m_nService, want.m_nService);
        EXPECT_EQ(got->m_strWebSite, want.m_strWebSite);
        EXPECT_EQ(got->m_strEmail, want.m_strEmail);
        EXPECT_EQ(got->m_strPurchaseLink, want.m_strPurchaseLink);
        EXPECT_EQ(got->m_strSetupPath, Native(want.m_strSetupPath));
    }
}

} // namespace

namespace {

TEST_F(ImportCommandTest, ExportDefusesFormulasAndImportRefusesThemAsLinks) {
    MakeProject();
    WriteCsv("Affiliate Name,Affiliate ID,Purchase Link\n"
             "=cmd|' /C calc'!A0,a1,\n"
             "'Tis Shop,b2,\n"
             "Eve,e5,\"=HYPERLINK(\"\"http://x\"\")\"\n");
    CliRun run = Import({"--skip-bad"});
    ASSERT_EQ(run.code, kExitOk) << run.err;
    EXPECT_NE(run.out.find("Line 4: The purchase link '=HYPERLINK(\"http://x\")' is not an http"),
              std::string::npos)
        << run.out;
    run = RunCliWords({"export-affiliates", m_file});
    ASSERT_EQ(run.code, kExitOk);
    EXPECT_NE(run.out.find("\r\n'=cmd|' /C calc'!A0,a1,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\r\n''Tis Shop,b2,"), std::string::npos) << run.out;
}

TEST_F(ImportCommandTest, AHugeFieldIsRefusedWithoutQuotingIt) {
    MakeProject();
    WriteCsv("Affiliate Name,Affiliate ID\nAnn," + std::string(10u << 20, 'x') + "\n");
    const CliRun run = Import();
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_NE(run.err.find("line 2: a field is longer than 3999 bytes"), std::string::npos)
        << run.err.substr(0, 200);
    EXPECT_LT(run.err.size() + run.out.size(), 400u);
}

} // namespace
