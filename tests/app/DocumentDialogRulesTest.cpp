#include "app/AffiliateServiceChange.h"
#include "app/ProductIdForm.h"
#include "app/ProductSettingsForm.h"
#include "app/ProgramUuidEdit.h"
#include "app/WizardPages.h"
#include "model/AffProject.h"
#include "model/AffiliateEditor.h"
#include "model/NewProduct.h"
#include "model/RegistrationServices.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string kRegNow = "https://www.regnow.com/softsell/nph-softsell.cgi";
const std::string kShareIt = "https://secure.shareit.com/shareit/checkout.html";

CAffProject ProjectWith(std::initializer_list<int32_t> services) {
    CAffProject project;
    for (int32_t s : services)
        StoreRegistration(project, s, {}, "P" + std::to_string(s),
                          "http://link/" + std::to_string(s));
    return project;
}

std::vector<std::string> ServicesOf(const CAffProject& project) {
    std::vector<std::string> names;
    project.m_mapRegInfo.ForEach([&names](uint16_t, const CProductRegInfo& info) {
        names.push_back(info.m_strServiceName + "=" + info.m_strProductId);
    });
    return names;
}

// --- the registration list of Product Settings --------------------------------

TEST(RegInfoRows, AddOffersOnlyTheUnlistedPaidServices) {
    struct Case {
        std::vector<std::string> listed;
        std::vector<std::string> offered;
    };
    const Case cases[] = {
        {{}, {"RegNow", "ShareIt", "RegSoft"}},         {{"ShareIt"}, {"RegNow", "RegSoft"}},
        {{"Other", "RegNow"}, {"ShareIt", "RegSoft"}},  {{"RegNow", "ShareIt", "RegSoft"}, {}},
        {{"RegNow (old)"}, {"ShareIt", "RegSoft"}}, // a row matches when it begins with the name
        {{"regnow"}, {"RegNow", "ShareIt", "RegSoft"}},
    };
    for (const Case& c : cases) {
        CRegInfoRows rows;
        for (const std::string& s : c.listed)
            rows.Append({s, "id", "link"});
        EXPECT_EQ(rows.UnlistedServices(), c.offered) << testing::PrintToString(c.listed);
    }
}

TEST(RegInfoRows, ProductIdEditsRecomposeTheLinkOtherEditsDoNot) {
    struct Case {
        std::string service;
        RegInfoColumn column;
        std::string text;
        bool changed;
        std::string productId, link;
    };
    const Case cases[] = {
        {"RegNow", kRegColProductId, "77", true, "77", kRegNow + "?item=77&x=1"},
        {"Other", kRegColProductId, "77", true, "77", kRegNow + "?x=1"},
        {"RegNow", kRegColPurchaseLink, "http://mine", true, "5", "http://mine"},
        {"RegNow", kRegColService, "ShareIt", false, "5", kRegNow + "?x=1"},
    };
    for (const Case& c : cases) {
        CRegInfoRows rows;
        rows.Append({c.service, "5", kRegNow + "?x=1"});
        EXPECT_EQ(rows.EditCell(0, c.column, c.text), c.changed) << c.service << c.column;
        EXPECT_EQ(rows.Rows()[0].service, c.service);
        EXPECT_EQ(rows.Rows()[0].productId, c.productId);
        EXPECT_EQ(rows.Rows()[0].purchaseLink, c.link);
    }
    CRegInfoRows rows;
    EXPECT_FALSE(rows.EditCell(0, kRegColProductId, "1")); // no row: nothing, no crash
    EXPECT_FALSE(rows.EditCell(-1, kRegColProductId, "1"));
}

TEST(RegInfoRows, CommitReplacesTheRecordsSkippingDotsLaterRowsWin) {
    CAffProject project = ProjectWith({kServiceRegNow, kServiceShareIt});
    CRegInfoRows rows = CRegInfoRows::Of(project);
    ASSERT_EQ(rows.Rows().size(), 2u);
    rows.Delete(rows.Rows()[0].service == "RegNow" ? 0 : 1);
    rows.Delete(7); // out of range: nothing
    rows.Append({"...", "x", "y"});
    rows.Append({"RegSoft", "A", "a"});
    rows.Append({"Mine", "M", "m"}); // not in the table: stored as Other under its own name
    rows.Append({"RegSoft", "B", "b"});
    rows.CommitTo(project);
    std::vector<std::string> stored = ServicesOf(project);
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(stored, (std::vector<std::string>{"Mine=M", "RegSoft=B", "ShareIt=P1"}));
    EXPECT_EQ(project.LookupRegInfo(kServiceOther)->m_strServiceName, "Mine");
}

// --- Product Settings -----------------------------------------------------

TEST(ProductSettingsForm, StoresTheCopiesAndTheRowsOnlyOfAShownPage) {
    CAffProject project = ProjectWith({kServiceRegNow});
    project.m_wDefaultService = kServiceShareIt;
    for (bool shown : {false, true}) {
        CAffProject target = project;
        ProductSettingsForm form = ProductSettingsForm::Load(target);
        EXPECT_EQ(form.defaultService, kServiceShareIt);
        form.title = "Ťitle";
        form.outputDir = "";
        form.regRows.Delete(0);
        form.regPageShown = shown;
        form.Store(target);
        EXPECT_EQ(target.m_strTitle, "Ťitle");
        EXPECT_EQ(target.m_wDefaultService, kServiceShareIt);
        EXPECT_EQ(target.LookupRegInfo(kServiceRegNow) == nullptr, shown);
    }
}

TEST(ProductSettingsForm, ChosenPathsAreKeptRelativeInsideTheProjectFolder) {
    TempFolder dir("velkora-settings");
    CAffProject project;
    project.SetProjectPath(dir / "p.vkp");
    EXPECT_EQ(ProjectFieldPath(project, dir / "setup.exe"), "setup.exe");
    EXPECT_EQ(ProjectFieldPath(project, "/elsewhere/setup.exe"), "/elsewhere/setup.exe");
    const FolderChoice folder = SettingsOutputFolderChoice(project, "out");
    EXPECT_EQ(folder.caption, "Browse");
    EXPECT_EQ(folder.instruction, "Select output directory.");
    EXPECT_EQ(folder.initialFolder, dir / "out");
    EXPECT_EQ(SettingsSetupFileChoice("s.exe").initialPath, "s.exe");
    const FileChoice creator = SelfCreatorFileChoice(true);
    EXPECT_EQ(creator.defaultSuffix, "exe");
    EXPECT_TRUE(creator.confirmOverwrite);
    ASSERT_EQ(creator.filters.size(), 1u);
    EXPECT_EQ(creator.filters[0].patterns, "*.exe");
}

// --- New Product ID -------------------------------------------------------

TEST(ProductIdForm, ComposesInKeepModeForIdsAndResetModeForServices) {
    CProductIdForm form({"ShareIt", "RegSoft", "Other"}, 0);
    EXPECT_TRUE(form.SetProductId("55"));
    EXPECT_EQ(form.PurchaseLink(), kShareIt + "?productid=55");
    form.SetPurchaseLink(form.PurchaseLink() + "&lang=de");
    EXPECT_TRUE(form.SetProductId("56"));
    EXPECT_EQ(form.PurchaseLink(), kShareIt + "?lang=de&productid=56");
    EXPECT_FALSE(form.SelectService(2)); // Other: the link stays
    EXPECT_EQ(form.PurchaseLink(), kShareIt + "?lang=de&productid=56");
    form.SetPurchaseLink("typed");
    EXPECT_FALSE(form.SetProductId("57"));
    EXPECT_EQ(form.PurchaseLink(), "typed");
}

TEST(ProductIdForm, OkIsRefusedWithoutIdThenWithoutService) {
    struct Case {
        int selected;
        std::string id;
        std::string message;
    };
    const Case cases[] = {
        {0, "", "Product ID can't be null!"},
        {-1, "", "Product ID can't be null!"},
        {-1, "9", "Invalid Registration Service!"},
        {5, "9", "Invalid Registration Service!"}, // out of range reads as none
        {1, "9", ""},
    };
    for (const Case& c : cases) {
        CProductIdForm form({"RegNow", "RegSoft"}, c.selected);
        form.SetPurchaseLink("http://filled");
        form.SetProductId(c.id);
        EXPECT_EQ(form.Check(), c.message) << c.selected << c.id;
    }
    CProductIdForm form({"RegNow", "RegSoft"}, 1);
    form.SetProductId("9");
    EXPECT_EQ(form.Answer().serviceName, "RegSoft");
}

TEST(ProductIdForm, MissingServicesAreOfferedWithTheCurrentOnePreselected) {
    const CAffProject project = ProjectWith({kServiceRegNow});
    const CProductIdForm form = MissingServicesForm(project, kServiceRegSoft);
    EXPECT_EQ(form.Names(), (std::vector<std::string>{"ShareIt", "RegSoft", "Other"}));
    EXPECT_EQ(form.Selected(), 1);
    EXPECT_EQ(MissingServicesForm(project, kServiceRegNow).Selected(), -1);
}

// --- the affiliate dialog's service change --------------------------------------

struct ServiceChangeCase {
    const char* what;
    int32_t service;
    bool yes;            // answer to "Product ID for ... does not exist"
    const char* typedId; // in the New Product ID dialog; nullptr: cancelled
    bool added;
    std::string link;
};

class AffiliateServiceChangeTest : public ::testing::TestWithParam<ServiceChangeCase> {};

TEST_P(AffiliateServiceChangeTest, AsksForAMissingProductIdAndComposesInResetMode) {
    const ServiceChangeCase& c = GetParam();
    CAffProject project = ProjectWith({kServiceShareIt});
    AffiliateFields fields;
    fields.service = c.service;
    fields.affiliateId = "A";
    fields.purchaseLink = "http://typed";
    std::vector<std::string> questions;
    ServiceChangeQuestions ask;
    ask.confirm = [&](const std::string& q) {
        questions.push_back(q);
        return c.yes;
    };
    ask.askProductId = [&](CProductIdForm& form) {
        EXPECT_EQ(form.Names()[static_cast<size_t>(form.Selected())],
                  ServiceNameFromIndex(c.service));
        if (!c.typedId)
            return false;
        form.SetProductId(c.typedId);
        return true;
    };
    const ServiceChange change = ChangeAffiliateService(project, nullptr, fields, ask);
    EXPECT_EQ(change.registrationAdded, c.added);
    EXPECT_EQ(change.addedService, c.added ? c.service : -1);
    EXPECT_EQ(project.LookupRegInfo(static_cast<uint16_t>(c.service)) != nullptr,
              c.added || c.service == kServiceShareIt);
    EXPECT_EQ(fields.purchaseLink, c.link);
    EXPECT_EQ(change.linkChanged, c.link != "http://typed");
    const std::vector<std::string> asked = {
        "Product ID for 'RegNow' does not exist. Add an ID for this service?"};
    EXPECT_EQ(questions, c.service == kServiceRegNow ? asked : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AffiliateServiceChangeTest,
    ::testing::Values(
        ServiceChangeCase{"known", kServiceShareIt, false, nullptr, false,
                          kShareIt + "?productid=P1&resellerid=A"},
        ServiceChangeCase{"other", kServiceOther, false, nullptr, false, "http://typed"},
        ServiceChangeCase{"declined", kServiceRegNow, false, nullptr, false, "http://typed"},
        ServiceChangeCase{"cancelled", kServiceRegNow, true, nullptr, false, "http://typed"},
        ServiceChangeCase{"empty id", kServiceRegNow, true, "", false, "http://typed"},
        ServiceChangeCase{"added", kServiceRegNow, true, "P", true,
                          kRegNow + "?affiliate=A&item=P"}),
    [](const auto& info) {
        std::string name = info.param.what;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

// --- Program UUID and the wizard ----------------------------------------------

TEST(ProgramUuidEdit, OnlyADifferentTextReplacesTheUuid) {
    std::string uuid = "AAAA";
    EXPECT_FALSE(ApplyProgramUuid(uuid, "AAAA"));
    EXPECT_TRUE(ApplyProgramUuid(uuid, "aaaa")); // byte for byte, unchecked form
    EXPECT_EQ(uuid, "aaaa");
    EXPECT_TRUE(ApplyProgramUuid(uuid, ""));
    EXPECT_EQ(uuid, "");
}

TEST(WizardPages, ButtonsFollowThePagesRequiredAnswers) {
    NewProjectAnswers none;
    NewProjectAnswers blanks;
    blanks.title = blanks.version = blanks.webSite = " ";
    blanks.setupFile = blanks.outputDir = " ";
    blanks.productId = blanks.purchaseLink = " ";
    struct Case {
        WizardPage page;
        const NewProjectAnswers& answers;
        bool back, next, finish;
    };
    const Case cases[] = {
        {WizardPage::Welcome, none, false, true, false},
        {WizardPage::Product, none, true, false, false},
        {WizardPage::Product, blanks, true, true, false},
        {WizardPage::SetupFiles, none, true, false, false},
        {WizardPage::SetupFiles, blanks, true, true, false},
        {WizardPage::Registration, none, true, false, false},
        {WizardPage::Registration, blanks, true, true, false},
        {WizardPage::Finish, none, true, false, true},
    };
    for (const Case& c : cases) {
        const WizardButtons b = WizardButtonsFor(c.page, c.answers);
        EXPECT_EQ(b.back, c.back) << static_cast<int>(c.page);
        EXPECT_EQ(b.next, c.next) << static_cast<int>(c.page);
        EXPECT_EQ(b.finish, c.finish) << static_cast<int>(c.page);
    }
}

TEST(WizardPages, ServiceChangeResetsTheLinkProductIdKeepsHandMadeParameters) {
    NewProjectAnswers a;
    a.service = kServiceRegNow;
    a.productId = "42";
    EXPECT_TRUE(ComposeWizardLink(a, ComposeMode::Keep));
    EXPECT_EQ(a.purchaseLink, kRegNow + "?item=42");
    a.purchaseLink += "&lang=en";
    a.service = kServiceShareIt;
    EXPECT_TRUE(ComposeWizardLink(a, ComposeMode::Reset));
    EXPECT_EQ(a.purchaseLink, kShareIt + "?productid=42");
    a.service = kServiceOther;
    a.purchaseLink = "by hand";
    EXPECT_FALSE(ComposeWizardLink(a, ComposeMode::Reset));
    EXPECT_EQ(a.purchaseLink, "by hand");
    EXPECT_EQ(WizardOutputFolderChoice("D:\\out").initialFolder, "D:\\out");
    EXPECT_FALSE(WizardOutputFolderChoice("").initialFolder.empty());
}

} // namespace
