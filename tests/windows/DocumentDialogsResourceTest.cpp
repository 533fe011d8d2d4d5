// The document's dialogs of the Windows desktop program as Windows creates
// them from its resources: ids, classes, captions and texts, compared with the
// texts both front ends show (app/AppTexts.h).
#include "app/AppTexts.h"
#include "tests/windows/DialogChecks.h"
#include "tests/windows/DialogTemplate.h"
#include "tests/windows/PeResources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using dialog_checks::Expected;
using namespace apptext;

std::string T(std::string_view text) {
    return std::string(text);
}

constexpr uint16_t kDialog = 5; // RT_DIALOG
constexpr uint32_t kDisabled = 0x08000000;
constexpr uint32_t kChild = 0x40000000;
constexpr uint32_t kContextHelp = 0x2000; // DS_CONTEXTHELP: the caption's "?"

struct DialogCase {
    const char* name;
    uint16_t id;
    std::string caption;
    std::vector<Expected> controls;
    bool laidOut = true; // no control overlaps another
};

void PrintTo(const DialogCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<DialogCase>& Cases() {
    static const std::vector<DialogCase> cases = {
        {"Affiliate",
         136,
         T(kAffiliateCaption),
         {{"Static", -1, T(kAffiliateNameLabel)},
          {"Edit", 1011, ""},
          {"Static", -1, T(kAffiliateServiceLabel)},
          {"ComboBox", 1010, ""},
          {"Static", -1, T(kAffiliateIdLabel)},
          {"Edit", 1013, ""},
          {"Static", -1, T(kAffiliateLinkLabel)},
          {"Edit", 1014, ""},
          {"Static", -1, T(kAffiliateWebSiteLabel)},
          {"Edit", 1016, ""},
          {"Static", -1, T(kAffiliateEmailLabel)},
          {"Edit", 1017, ""},
          {"Static", -1, T(kAffiliateSetupPathLabel)},
          {"Edit", 1035, ""},
          {"Button", 1036, T(kBrowseButton)},
          {"Button", 1, T(kOk)},
          {"Button", 2, T(kCancel)}}},
        {"ProductId",
         160,
         T(kProductIdCaption),
         {{"Static", -1, T(kProductIdServiceLabel)},
          {"ComboBox", 1032, ""},
          {"Static", -1, T(kProductIdLabel)},
          {"Edit", 1041, ""},
          {"Static", -1, T(kProductIdLinkLabel)},
          {"Edit", 1042, ""},
          {"Button", 1, T(kOk)},
          {"Button", 2, T(kCancel)}}},
        {"ProgramUuid",
         177,
         T(kUuidCaption),
         {{"Static", 1050, T(kUuidText)},
          {"Edit", 1051, ""},
          {"Button", 1052, T(kUuidCopy)},
          {"Button", 1, T(kUuidApply)},
          {"Button", 2, T(kCancel)}}},
        {"ProductSettings",
         200,
         T(kProductSettingsCaption),
         {{"Static", 1021, ""},
          {"SysTabControl32", 1053, ""},
          {"Button", 1, T(kOk)},
          {"Button", 2, T(kCancel)}},
         false}, // the invisible placeholder lies under the sheet
        {"GeneralInfo",
         201,
         "",
         {{"Static", -1, T(kProgramTitleLabel)},
          {"Edit", 1023, ""},
          {"Static", -1, T(kVersionLabel)},
          {"Edit", 1026, ""},
          {"Static", -1, T(kWebSiteLabel)},
          {"Edit", 1029, ""}}},
        {"SetupFiles",
         202,
         "",
         {{"Static", -1, T(kProgramSetupFileLabel)},
          {"Edit", 1024, ""},
          {"Button", 1033, T(kBrowseButton)},
          {"Static", -1, T(kOutputDirectoryLabel)},
          {"Edit", 1030, ""},
          {"Button", 1034, T(kBrowseButton)},
          {"Static", -1, T(kSelfMakerFileLabel)},
          {"Edit", 1031, ""},
          {"Button", 1035, T(kBrowseButton)}}},
        {"RegInfo",
         203,
         "",
         {{"SysListView32", 1037, ""},
          {"Button", 1038, T(kRegInfoAdd)},
          {"Button", 1039, T(kRegInfoDelete)},
          {"Button", 1043, T(kRegInfoSetDefault)}}},
        {"WizardWelcome",
         210,
         T(kWizardPageCaption),
         {{"Static", 1054, T(kWizardWelcomeHeading)},
          {"Static", 1055, T(kWizardWelcomeBody)},
          {"Static", 1056, T(kWizardWelcomeContinue)}}},
        {"WizardStep1",
         211,
         T(kWizardStep1Caption),
         {{"Static", -1, T(kWizardProductName)},
          {"Edit", 1005, ""},
          {"Static", -1, T(kWizardProductVersion)},
          {"Edit", 1007, ""},
          {"Static", -1, T(kWizardProductWebSite)},
          {"Edit", 1002, ""}}},
        {"WizardStep2",
         212,
         T(kWizardStep2Caption),
         {{"Static", -1, T(kWizardSetupFile)},
          {"Edit", 1008, ""},
          {"Button", 1003, T(kBrowseButton)},
          {"Static", -1, T(kWizardOutputDir)},
          {"Edit", 1009, ""},
          {"Button", 1006, T(kBrowseButton)},
          {"Static", -1, T(kWizardSelfMaker)},
          {"Edit", 1010, ""},
          {"Button", 1007, T(kBrowseButton)}}},
        {"WizardStep3",
         213,
         T(kWizardStep3Caption),
         {{"Static", -1, T(kWizardService)},
          {"ComboBox", 1004, ""},
          {"Static", -1, T(kWizardProductId)},
          {"Edit", 1000, ""},
          {"Static", -1, T(kWizardPurchaseLink)},
          {"Edit", 1001, ""}}},
        {"WizardFinish",
         214,
         T(kWizardPageCaption),
         {{"Static", 1054, T(kWizardFinishDone)}, {"Static", 1055, T(kWizardFinishHint)}}},
    };
    return cases;
}

class DocumentDialogResources : public ::testing::TestWithParam<DialogCase> {
protected:
    static void SetUpTestSuite() {
        s_pe = new std::optional<PeResources>(PeResources::Load(VELKORA_DIALOGS_IMAGE));
    }
    static void TearDownTestSuite() {
        delete s_pe;
        s_pe = nullptr;
    }

    static std::optional<PeResources>* s_pe;
};
std::optional<PeResources>* DocumentDialogResources::s_pe = nullptr;

TEST_P(DocumentDialogResources, IdsTextsAndLayoutAreTheProgramsOwn) {
    ASSERT_TRUE(*s_pe) << VELKORA_DIALOGS_IMAGE << " is not a PE image with resources";
    const DialogCase& c = GetParam();
    const auto bytes = (*s_pe)->Find(kDialog, c.id);
    ASSERT_TRUE(bytes) << "no dialog " << c.id;
    const auto dialog = ParseDialogTemplate(*bytes);
    ASSERT_TRUE(dialog) << "dialog " << c.id << " is not a whole DIALOGEX template";
    EXPECT_EQ(dialog->caption, c.caption);
    EXPECT_EQ(dialog->font, "8 MS Shell Dlg");
    dialog_checks::ExpectControls(*dialog, c.controls);
    if (c.laidOut)
        dialog_checks::ExpectLaidOut(*dialog);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DocumentDialogResources, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DocumentDialogStyles, PagesAreChildrenAndOnlyTheirOwnButtonsStartDisabled) {
    const auto pe = PeResources::Load(VELKORA_DIALOGS_IMAGE);
    ASSERT_TRUE(pe);
    for (uint16_t id : {201, 202, 203, 210, 211, 212, 213, 214}) {
        const auto dialog = ParseDialogTemplate(pe->Find(kDialog, id).value_or(""));
        ASSERT_TRUE(dialog) << id;
        EXPECT_NE(dialog->style & kChild, 0u) << "page " << id << " is a child window";
    }
    // OK of the affiliate dialog waits for a change; "Set as Default" is never enabled.
    const struct {
        uint16_t dialog;
        size_t control;
        bool disabled;
    } starts[] = {{136, 15, true}, {136, 16, false}, {203, 3, true}, {203, 1, false}};
    for (const auto& s : starts) {
        const auto dialog = ParseDialogTemplate(pe->Find(kDialog, s.dialog).value_or(""));
        ASSERT_TRUE(dialog && s.control < dialog->controls.size()) << s.dialog;
        EXPECT_EQ((dialog->controls[s.control].style & kDisabled) != 0, s.disabled)
            << "dialog " << s.dialog << " control " << s.control;
    }
}

// The dialogs whose controls have help texts, and their pages, answer help
// requests; the others show no "?".
TEST(DocumentDialogStyles, DialogsWithHelpTextsCarryTheContextHelpStyle) {
    const auto pe = PeResources::Load(VELKORA_DIALOGS_IMAGE);
    ASSERT_TRUE(pe);
    const struct {
        uint16_t dialog;
        bool help;
    } cases[] = {{136, true},  {160, true},  {200, true},  {201, true},
                 {202, true},  {203, true},  {177, false}, {210, false},
                 {211, false}, {212, false}, {213, false}, {214, false}};
    for (const auto& c : cases) {
        const auto dialog = ParseDialogTemplate(pe->Find(kDialog, c.dialog).value_or(""));
        ASSERT_TRUE(dialog) << c.dialog;
        EXPECT_EQ((dialog->style & kContextHelp) != 0, c.help) << "dialog " << c.dialog;
    }
}

} // namespace
