#include "app/Document.h"
#include "model/AffiliateEditor.h"

#include "FakePrompts.h"
#include "app/RecentFiles.h"
#include "model/ProjectFile.h"
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

class DocumentTest : public ::testing::Test {
protected:
    DocumentTest() : recent(settings), doc(prompts, dialogs, recent, events) {
        doc.saveLockWait = std::chrono::milliseconds(0);
    }

    // A saved project "P.vkp" titled title, then modified in memory.
    std::string SavedThenModified(const std::string& title = "Tool") {
        const std::string path = dir / "P.vkp";
        doc.Project().m_strTitle = title;
        prompts.files.push_back(path);
        EXPECT_TRUE(doc.OnFileSaveAs());
        doc.Project().m_strTitle = title + " 2";
        doc.SetModifiedFlag(true);
        return path;
    }

    // Bob, stamped at time 7, added to the project; nullptr when he could not be.
    CReseller* AddBob(const std::string& affiliateId = {}) {
        CReseller bob;
        bob.m_strName = "Bob";
        bob.m_strAffiliateId = affiliateId;
        bob.m_tModified = 7;
        uint16_t key = 0;
        if (doc.Project().AddReseller(bob, &key) != CAffProject::AddResult::Added)
            return nullptr;
        return doc.Project().m_mapResellers.Lookup(key);
    }

    TempFolder dir{"velkora-doc"};
    FakePrompts prompts;
    FakeDialogs dialogs;
    MemorySettings settings;
    CountingEvents events;
    RecentFiles recent;
    Document doc;
};

struct SaveCase {
    const char* what;
    bool modified;
    bool hasFile;
    std::vector<SaveAnswer> answers;
    bool mayGoOn;
    bool discarded;
    bool savedNewTitle;
};

void PrintTo(const SaveCase& c, std::ostream* os) {
    *os << c.what;
}

class SaveChangesTest : public DocumentTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveChangesTest, DecidesWhetherTheCallerMayGoOn) {
    const SaveCase& c = GetParam();
    std::string path;
    if (c.hasFile)
        path = SavedThenModified();
    else
        doc.Project().m_strTitle = "Tool 2";
    doc.SetModifiedFlag(c.modified);
    prompts.saveAnswers.assign(c.answers.begin(), c.answers.end());
    prompts.asked.clear();

    bool discarded = true;
    EXPECT_EQ(doc.SaveModified(&discarded), c.mayGoOn);
    EXPECT_EQ(discarded, c.discarded);
    EXPECT_EQ(prompts.asked.size(), c.modified ? 1U : 0U);
    if (c.modified) {
        EXPECT_EQ(prompts.asked[0],
                  c.hasFile ? "Save changes to P.vkp?" : "Save changes to Untitled?");
    }
    if (c.hasFile) {
        EXPECT_EQ(Read(path).find("Tool 2") != std::string::npos, c.savedNewTitle);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SaveChangesTest,
    ::testing::Values(SaveCase{"not modified", false, true, {}, true, false, false},
                      SaveCase{"Cancel", true, true, {SaveAnswer::Cancel}, false, false, false},
                      SaveCase{"No", true, true, {SaveAnswer::No}, true, true, false},
                      SaveCase{"Yes", true, true, {SaveAnswer::Yes}, true, false, true},
                      SaveCase{"Yes for a new project, Save As cancelled",
                               true,
                               false,
                               {SaveAnswer::Yes},
                               false,
                               false,
                               false}));

TEST_F(DocumentTest, SaveAsNamesTheWindowAndRefreshesTheRecentFiles) {
    EXPECT_EQ(doc.Caption(), "Untitled - Velkora");
    doc.Project().m_strTitle = "My Tool";
    const std::string path = SavedThenModified("My Tool");
    EXPECT_EQ(prompts.choices.back().initialPath, "Untitled.vkp");
    EXPECT_EQ(doc.Caption(), "P.vkp - Velkora");
    EXPECT_EQ(recent.Files(), std::vector<std::string>{path});
    const int before = events.recentChanges;

    const std::string other = dir / "Q.vkp";
    prompts.files.push_back(other);
    ASSERT_TRUE(doc.OnFileSaveAs());
    EXPECT_EQ(prompts.choices.back().initialPath, path);
    EXPECT_TRUE(prompts.choices.back().confirmOverwrite);
    EXPECT_EQ(events.recentChanges, before + 1);
    EXPECT_EQ(recent.Files(), (std::vector<std::string>{other, path}));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocumentTest, ARecentFileThatCannotBeOpenedLeavesTheListUnlessTheQuestionWasCancelled) {
    const std::string path = SavedThenModified();
    const std::string missing = dir / "missing.vkp";
    recent.Add(missing);
    ASSERT_EQ(recent.Files().front(), missing);
    prompts.saveAnswers.push_back(SaveAnswer::Cancel);
    EXPECT_FALSE(doc.OpenRecentFile(missing));
    EXPECT_EQ(recent.Files().front(), missing) << "cancelled: nothing was tried";
    const int before = events.recentChanges;
    prompts.saveAnswers.push_back(SaveAnswer::No);
    EXPECT_FALSE(doc.OpenRecentFile(missing));
    EXPECT_EQ(recent.Files(), std::vector<std::string>{path});
    EXPECT_EQ(events.recentChanges, before + 1);
    EXPECT_TRUE(doc.OpenRecentFile(path));
    EXPECT_EQ(doc.PathName(), path);
}

TEST_F(DocumentTest, AnUnreadableFileLeavesTheProjectUnlessItsChangesWereGivenUp) {
    const std::string path = SavedThenModified();
    const std::string missing = dir / "missing.vkp";
    doc.SetModifiedFlag(false);
    EXPECT_FALSE(doc.OpenDocument(missing));
    EXPECT_EQ(doc.PathName(), path);
    EXPECT_EQ(prompts.shown.size(), 1U);

    doc.SetModifiedFlag(true);
    prompts.saveAnswers.push_back(SaveAnswer::No);
    EXPECT_FALSE(doc.OpenDocument(missing));
    EXPECT_TRUE(doc.PathName().empty()) << "changes given up: a new project, not the old one";
    EXPECT_EQ(doc.Title(), "Untitled");
    EXPECT_FALSE(doc.IsModified());

    ASSERT_TRUE(doc.OpenFile(path, false));
    std::ofstream(dir / "broken.vkp", std::ios::binary) << "not a project";
    EXPECT_FALSE(doc.OpenFile(dir / "broken.vkp", false));
    EXPECT_TRUE(doc.PathName().empty()) << "a damaged file's half-read project is not kept";
    EXPECT_EQ(prompts.shown.size(), 3U);
}

TEST_F(DocumentTest, OffersAReloadOncePerChangeAndAsksBeforeOverwritingIt) {
    const std::string path = SavedThenModified();
    doc.SetModifiedFlag(false);
    doc.OfferReloadIfChanged();
    EXPECT_TRUE(prompts.asked.empty()) << "the file is as it was saved";

    CAffProject other;
    other.m_strTitle = "From a script";
    std::string written;
    ASSERT_TRUE(SaveProjectFile(path, other, written).Ok());
    doc.OfferReloadIfChanged(true);
    EXPECT_TRUE(prompts.asked.empty()) << "a dialog is open";

    prompts.yesNo = {false};
    doc.OfferReloadIfChanged();
    ASSERT_EQ(prompts.asked.size(), 1U);
    EXPECT_EQ(prompts.asked[0], "The file 'P.vkp' has been changed by another program. Reload it?");
    doc.OfferReloadIfChanged();
    EXPECT_EQ(prompts.asked.size(), 1U) << "declined once for this change";

    doc.SetModifiedFlag(true);
    prompts.yesNo = {false};
    EXPECT_FALSE(doc.OnFileSave());
    EXPECT_NE(prompts.asked.back().find("Overwrite it?"), std::string::npos);
    EXPECT_EQ(Read(path), written);

    ASSERT_TRUE(SaveProjectFile(path, other, written).Ok());
    std::ofstream(path, std::ios::app) << ""; // the same bytes: no new change
    doc.SetModifiedFlag(false);
    CAffProject third;
    third.m_strTitle = "Third";
    ASSERT_TRUE(SaveProjectFile(path, third, written).Ok());
    prompts.yesNo = {true};
    doc.OfferReloadIfChanged();
    EXPECT_EQ(doc.Project().m_strTitle, "Third");
    EXPECT_GE(events.replaced, 1);
}

TEST_F(DocumentTest, TheWizardsAnswersMakeANewProductAndAnAffiliateIsStampedByTheDocumentsClock) {
    doc.clock = [] { return std::time_t{1700000000}; };
    NewProjectAnswers answers;
    answers.title = "Tool";
    answers.setupFile = "setup.exe";
    answers.service = 2;
    answers.productId = "1234-1";
    answers.purchaseLink = "https://shop.example/1234-1";
    dialogs.wizard = answers;
    CReseller bob;
    bob.m_strName = "Bob";
    dialogs.affiliates.push_back(bob);
    prompts.yesNo = {true};

    doc.OnFileNew();
    const CAffProject& p = doc.Project();
    EXPECT_EQ(p.m_strTitle, "Tool");
    EXPECT_EQ(p.m_strUuid.size(), 36U);
    EXPECT_EQ(p.m_wDefaultService, 2);
    const CProductRegInfo* info = p.LookupRegInfo(2);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->m_strProductId, "1234-1");
    EXPECT_FALSE(info->m_strServiceName.empty());
    ASSERT_EQ(prompts.asked.size(), 1U);
    EXPECT_EQ(prompts.asked[0], "Do you want to add an affiliate to your product right now?");
    ASSERT_EQ(p.m_mapResellers.GetCount(), 1U);
    p.m_mapResellers.ForEach([](uint16_t, const CReseller& r) {
        EXPECT_EQ(r.m_tModified, 1700000000);
        EXPECT_EQ(r.m_bChanged, 1);
    });
    EXPECT_TRUE(doc.IsModified());

    // A cancelled wizard leaves an empty project without a UUID, not modified.
    doc.SetModifiedFlag(false);
    dialogs.wizard.reset();
    doc.OnFileNew();
    EXPECT_TRUE(doc.Project().m_strUuid.empty());
    EXPECT_TRUE(doc.Project().m_mapResellers.IsEmpty());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocumentTest, AnAcceptedAffiliateDialogStoresTheFieldsStampedByTheDocumentsClock) {
    doc.clock = [] { return std::time_t{1660000000}; };
    CReseller* record = AddBob();
    ASSERT_NE(record, nullptr);
    AffiliateFields fields = CAffiliateEditor::Load(*record);
    fields.name = "Bøb Ångström";
    fields.email = "bob@bob.example";

    doc.StoreEditedAffiliate(*record, fields);
    EXPECT_EQ(record->m_strName, "Bøb Ångström");
    EXPECT_EQ(record->m_strEmail, "bob@bob.example");
    EXPECT_EQ(record->m_tModified, 1660000000);
    EXPECT_EQ(record->m_bChanged, 1);
    EXPECT_TRUE(doc.IsModified());
}

} // namespace

namespace {

struct CellCase {
    const char* what;
    int column;
    std::string text;
    bool changed;
    bool refused;
};

void PrintTo(const CellCase& c, std::ostream* os) {
    *os << c.what;
}

class CellEditTest : public DocumentTest, public ::testing::WithParamInterface<CellCase> {};

TEST_P(CellEditTest, TheEditorsRulesDecideAndAChangeIsStampedByTheDocumentsClock) {
    const CellCase& c = GetParam();
    doc.clock = [] { return std::time_t{1650000000}; };
    CReseller* record = AddBob("42");
    ASSERT_NE(record, nullptr);
    record->m_bChanged = 0;

    EXPECT_EQ(doc.EditAffiliateCell(*record, c.column, c.text), c.changed);
    EXPECT_EQ(prompts.shown.size(), c.refused ? 1U : 0U);
    EXPECT_EQ(record->m_tModified, c.changed ? 1650000000 : 7);
    EXPECT_EQ(record->m_bChanged, c.changed ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, CellEditTest,
    ::testing::Values(
        CellCase{"a new name", 0, "Robert", true, false},
        CellCase{"the same name", 0, "Bob", false, false},
        CellCase{"an emptied name", 0, "", true, false},
        CellCase{"a web site over the limit", 2, std::string(70000, 'w'), false, true},
        CellCase{"the e-mail", 3, "bob@bob.example", true, false},
        CellCase{"the time column is not edited", 5, "2020-01-01 00:00", false, false},
        CellCase{"a column left of the first", -1, "x", false, false}));

} // namespace
