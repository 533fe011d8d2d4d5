#include "app/AffiliateCsvCommands.h"

#include "FakePrompts.h"
#include "app/Document.h"
#include "app/RecentFiles.h"
#include "model/AffiliateImport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class ImportAffiliatesTest : public ::testing::Test {
protected:
    ImportAffiliatesTest() : recent(settings), doc(prompts, dialogs, recent, events) {
        doc.Project().m_strSetupFile = "setup.exe";
        doc.Project().m_strOutputDir = dir.Path();
    }

    // One good row, then refused rows whose service has no purchase endpoint.
    std::string Csv(int refused) {
        const std::string path = dir / "a.csv";
        std::ofstream csv(path, std::ios::binary);
        csv << "Affiliate Name,Affiliate ID,Purchase Link,Service\r\n"
            << "Ann,a1,https://shop.example/a1,Other\r\n";
        for (int i = 0; i < refused; ++i)
            csv << "N" << i << ",id" << i << ",,Other\r\n";
        return path;
    }

    TempFolder dir{"velkora-import"};
    FakePrompts prompts;
    FakeDialogs dialogs;
    MemorySettings settings;
    CountingEvents events;
    RecentFiles recent;
    Document doc;
};

TEST_F(ImportAffiliatesTest, TheWindowsReportGivesItsOwnAdviceAndOffersTheWholeReport) {
    const std::string csv = Csv(20);
    const std::string report = dir / "report.txt";
    prompts.files = {csv, report};
    prompts.yesNo = {true, true}; // add the good row; save the whole report
    EXPECT_EQ(ImportAffiliates(doc, prompts), 1U);
    EXPECT_EQ(prompts.choices.front().caption, "Import Affiliates");
    ASSERT_EQ(prompts.asked.size(), 2U);
    const std::string& shown = prompts.asked[0];
    EXPECT_EQ(Count(shown, "\nLine "), 15U);
    EXPECT_NE(shown.find("\n... and 5 more."), std::string::npos);
    EXPECT_EQ(shown.find("--purchase-link"), std::string::npos) << shown;
    EXPECT_NE(shown.find("in the file's \"Purchase Link\" column"), std::string::npos) << shown;
    EXPECT_EQ(prompts.asked[1],
              "The report lists 15 of 20 refused rows. Save the whole report to a file?");

    const std::string saved = Read(report);
    EXPECT_EQ(Count(saved, "\nLine "), 20U);
    EXPECT_EQ(saved.find("more."), std::string::npos);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ImportAffiliatesTest, AShortReportOffersNothingMoreAndNoAddsNothing) {
    prompts.files = {Csv(3)};
    prompts.yesNo = {false};
    EXPECT_EQ(ImportAffiliates(doc, prompts), 0U);
    EXPECT_EQ(prompts.asked.size(), 1U);
    EXPECT_TRUE(doc.Project().m_mapResellers.IsEmpty());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ImportAffiliatesTest, ExportProposesANameBesideTheProject) {
    prompts.files = {""};
    EXPECT_FALSE(ExportAffiliates(doc, prompts));
    EXPECT_EQ(prompts.choices.back().initialPath, "./Untitled affiliates.csv");
}

} // namespace
