#include "tests/support/SelfCreatorFixtures.h"

#include "package/SfxPackage.h"
#include "selfkit/BuildProgressDialog.h"
#include "selfkit/SelfKitDialog.h"
#include "selfkit/SelfKitPrompts.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// Answers every question without a modal box and records what was shown.
class CRecordingPrompts : public ISelfKitPrompts {
public:
    void ShowMessage(QWidget*, const QString& text) override { messages.push_back(text); }
    void ShowWarning(QWidget*, const QString& text) override { messages.push_back(text); }
    bool AskYesNo(QWidget*, const QString& text) override {
        questions.push_back(text);
        return answerYes;
    }
    std::optional<QString> ChooseSavePath(QWidget*, const QString& preset) override {
        presets.push_back(preset);
        return chosen;
    }
    bool StartPackage(const std::string& path) override {
        started.push_back(path);
        return true;
    }

    QStringList messages;
    QStringList questions;
    QStringList presets;
    std::vector<std::string> started;
    bool answerYes = false;
    std::optional<QString> chosen;
};

class SelfKitDialogFixture : public ::testing::Test {
protected:
    void Open(const std::string& list) {
        ASSERT_TRUE(MakeSelfCreator(work, work / "VelkSMNG.exe", ProductInfoBytes(kTestUuid, list),
                                    "SETUP"));
        kit = std::make_unique<CSelfKit>(work / "VelkSMNG.exe", temp.Path());
        dialog = std::make_unique<CSelfKitDialog>(*kit, prompts);
        dialog->SetStepPause(0);
        ASSERT_TRUE(dialog->Initialize());
    }

    void Fill(const QString& affiliate, const std::string& output) {
        dialog->AffiliateEdit()->setText(affiliate);
        dialog->HomepageEdit()->setText(QStringLiteral("https://home.example/"));
        dialog->PathEdit()->setText(QString::fromStdString(output));
    }

    ScratchFolder work;
    ScratchFolder temp;
    CRecordingPrompts prompts;
    std::unique_ptr<CSelfKit> kit;
    std::unique_ptr<CSelfKitDialog> dialog;
};

TEST(SelfKitDialogStart, ABareProgramSaysTheFileIsCorrupted) {
    ScratchFolder work;
    WriteBytes(work / "selfkit", std::string(3000, '\x7f'));
    CSelfKit kit(work / "selfkit", work.Path());
    CRecordingPrompts prompts;
    CSelfKitDialog dialog(kit, prompts);
    EXPECT_FALSE(dialog.Initialize());
    EXPECT_EQ(prompts.messages, QStringList{"File corrupted, please download it again!"});
}

TEST(SelfKitProgress, StartsAtZeroAndOnlyRaisesAFlagOnCancel) {
    CBuildProgressDialog progress;
    EXPECT_EQ(progress.windowTitle(), "Building");
    EXPECT_EQ(progress.PercentText(), " 0 %");
    EXPECT_EQ(progress.Position(), 0);
    EXPECT_FALSE(progress.TakeCancel());
    progress.CancelButton()->click();
    EXPECT_TRUE(progress.TakeCancel());
    EXPECT_FALSE(progress.TakeCancel()); // read and cleared
    progress.SetPosition(7);
    EXPECT_EQ(progress.PercentText(), "70%");
}

TEST_F(SelfKitDialogFixture, ShowsTheFormWithItsLabelsAndIdentifiers) {
    Open("RegNow;1234;Other;99;ShareIt;5678;");
    EXPECT_EQ(dialog->windowTitle(), "Create Your Custom Build Now!");
    QComboBox* combo = dialog->ServiceCombo();
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), "RegNow");
    EXPECT_EQ(combo->itemText(1), "ShareIt");
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_FALSE(combo->isEditable());
    EXPECT_TRUE(dialog->AffiliateEdit()->text().isEmpty());
    EXPECT_TRUE(dialog->PathEdit()->text().isEmpty());
    EXPECT_TRUE(dialog->BuildButton()->isDefault());

    QStringList labels;
    for (QLabel* label : dialog->findChildren<QLabel*>())
        labels << label->text();
    for (const char* text :
         {"Registration Service:  ", "Affiliate ID:  ", "Homepage:  ", "Custom Build Pathname:  "})
        EXPECT_TRUE(labels.contains(QString::fromLatin1(text))) << text;

    std::map<int, QString> ids;
    for (QWidget* w : dialog->findChildren<QWidget*>())
        if (w->property("controlId").isValid())
            ids[w->property("controlId").toInt()] = w->metaObject()->className();
    EXPECT_EQ(ids, (std::map<int, QString>{{1, "QPushButton"},
                                           {2, "QPushButton"},
                                           {1000, "QLineEdit"},
                                           {1002, "QComboBox"},
                                           {1003, "QLineEdit"},
                                           {1004, "QPushButton"},
                                           {1005, "QLineEdit"}}));
}

TEST_F(SelfKitDialogFixture, BrowseReplacesOnlyThePathname) {
    Open("RegNow;1;");
    dialog->AffiliateEdit()->setText("kept");
    prompts.chosen = QStringLiteral("/somewhere/custom.exe");
    dialog->BrowseButton()->click();
    ASSERT_EQ(prompts.presets.size(), 1);
    EXPECT_TRUE(prompts.presets[0].endsWith("setup.exe"));
    EXPECT_EQ(dialog->PathEdit()->text(), "/somewhere/custom.exe");
    EXPECT_EQ(dialog->AffiliateEdit()->text(), "kept");

    prompts.chosen.reset();
    dialog->BrowseButton()->click();
    EXPECT_EQ(dialog->PathEdit()->text(), "/somewhere/custom.exe");
}

TEST_F(SelfKitDialogFixture, ABuildShowsProgressThenAsksToRun) {
    Open("RegNow;1234;");
    Fill("A", work / "out/custom.exe");
    QStringList percents;
    dialog->SetStepObserver([&](int) {
        ASSERT_NE(dialog->ProgressDialog(), nullptr);
        EXPECT_FALSE(dialog->isEnabled());
        EXPECT_EQ(dialog->ProgressDialog()->windowTitle(), "Building");
        percents << dialog->ProgressDialog()->PercentText();
    });
    prompts.answerYes = true;
    dialog->BuildButton()->click();

    EXPECT_EQ(percents, (QStringList{"20%", "60%", "60%", "60%", "70%", "80%", "90%", "100%"}));
    EXPECT_EQ(prompts.messages, QStringList{"Custom setup file has been created successfully!"});
    EXPECT_EQ(prompts.questions, QStringList{"Do you want to run the setup file now?"});
    EXPECT_EQ(prompts.started, std::vector<std::string>{work / "out/custom.exe"});
    EXPECT_TRUE(dialog->isEnabled());
    EXPECT_EQ(dialog->ProgressDialog(), nullptr);
    CSfxPackage package;
    EXPECT_EQ(package.ReadDirectory(work / "out/custom.exe"), SFX_OK);
}

TEST_F(SelfKitDialogFixture, CancelLeavesTheDialogUsable) {
    Open("RegNow;1234;");
    Fill("A", work / "c.exe");
    dialog->SetStepObserver([&](int position) {
        if (position == 7)
            dialog->ProgressDialog()->CancelButton()->click();
    });
    dialog->BuildButton()->click();
    EXPECT_EQ(dialog->LastBuildStatus(), SelfKitStatus::Cancelled);
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_TRUE(dialog->isEnabled());
    EXPECT_EQ(dialog->ProgressDialog(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(work / "c.exe"));

    // The flag was cleared: the next build runs to its end.
    dialog->SetStepObserver({});
    dialog->BuildButton()->click();
    EXPECT_EQ(dialog->LastBuildStatus(), SelfKitStatus::Ok);
    EXPECT_EQ(prompts.messages, QStringList{"Custom setup file has been created successfully!"});
    EXPECT_TRUE(std::filesystem::exists(work / "c.exe"));
    EXPECT_TRUE(prompts.started.empty());
}

TEST_F(SelfKitDialogFixture, RefusalsAndFailuresAreShownAndTheDialogStays) {
    Open("Other;1;");
    Fill("A", work / "x.exe");
    dialog->BuildButton()->click();
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(dialog->LastBuildStatus(), SelfKitStatus::NoService);
    EXPECT_TRUE(dialog->isEnabled());

    Open("RegNow;1;");
    Fill("A", "");
    dialog->BuildButton()->click();
    EXPECT_EQ(prompts.messages.back(), "Error! Can't build affiliate setup file [].");
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_TRUE(dialog->isEnabled());
}

} // namespace
