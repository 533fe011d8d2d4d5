#include "ui/WizardProductProperty.h"

#include "ui/MyPropertyPageStep1.h"
#include "ui/MyPropertyPageStep2.h"
#include "ui/MyPropertyPageStep3.h"

#include "UiTestHelpers.h"
#include "tests/support/FakePrompts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>

namespace {

struct WizardFixture : ::testing::Test {
    FakePrompts prompts;
    CWizardProductProperty wizard{nullptr, &prompts};

    void SetUp() override { wizard.show(); }
    QAbstractButton* Button(QWizard::WizardButton b) { return wizard.button(b); }
    bool Enabled(QWizard::WizardButton b) {
        return Button(b)->isVisible() && Button(b)->isEnabled();
    }
    void Next() {
        ASSERT_TRUE(Enabled(QWizard::NextButton));
        QTest::mouseClick(Button(QWizard::NextButton), Qt::LeftButton);
    }
    void FillStep1() {
        Type(&wizard, "1005", QStringLiteral("Prod"));
        Type(&wizard, "1007", QStringLiteral("1.0"));
        Type(&wizard, "1002", QStringLiteral("http://p"));
    }
    void GoToStep3() {
        Next();
        FillStep1();
        Next();
        Type(&wizard, "1008", QStringLiteral("setup.exe"));
        Type(&wizard, "1009", QStringLiteral("/out"));
        Next();
    }
    void SelectService(int index) { Choose(Control<QComboBox>(&wizard, "1004"), index); }
};

} // namespace

TEST_F(WizardFixture, PagesCarryTheirCaptionsHeadersAndButtons) {
    EXPECT_EQ(wizard.currentId(), CWizardProductProperty::kWelcome);
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Velkora Wizard"));
    EXPECT_TRUE(Enabled(QWizard::NextButton));
    EXPECT_FALSE(Enabled(QWizard::BackButton));
    EXPECT_FALSE(Enabled(QWizard::FinishButton));
    EXPECT_TRUE(Enabled(QWizard::CancelButton));
    EXPECT_TRUE(wizard.currentPage()->title().isEmpty()); // no header
    EXPECT_FALSE(wizard.currentPage()->pixmap(QWizard::WatermarkPixmap).isNull());

    Next();
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Velkora Wizard -Step1"));
    EXPECT_EQ(wizard.currentPage()->title(), QStringLiteral("Product information"));
    EXPECT_EQ(wizard.currentPage()->subTitle(),
              QStringLiteral("Please specify some basic information about your product."));
    EXPECT_TRUE(Enabled(QWizard::BackButton));
    EXPECT_FALSE(Enabled(QWizard::NextButton));
    FillStep1();
    Next();
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Velkora Wizard -Step2"));
    EXPECT_EQ(wizard.currentPage()->title(), QStringLiteral("Setup Files"));
    EXPECT_EQ(wizard.currentPage()->subTitle(),
              QStringLiteral("Please specify program setup file and output directory."));
    Type(&wizard, "1008", QStringLiteral("a"));
    Type(&wizard, "1009", QStringLiteral("b"));
    Next();
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Velkora Wizard -Step3"));
    EXPECT_EQ(wizard.currentPage()->title(), QStringLiteral("Registration Service"));
    EXPECT_EQ(wizard.currentPage()->subTitle(),
              QStringLiteral("Information about the primary registration service for your "
                             "product."));
    Type(&wizard, "1000", QStringLiteral("1"));
    Next();
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Velkora Wizard"));
    EXPECT_TRUE(Enabled(QWizard::FinishButton));
    EXPECT_TRUE(Enabled(QWizard::BackButton));
    EXPECT_FALSE(Enabled(QWizard::NextButton));

    // Going back keeps what was typed.
    QTest::mouseClick(Button(QWizard::BackButton), Qt::LeftButton);
    QTest::mouseClick(Button(QWizard::BackButton), Qt::LeftButton);
    EXPECT_EQ(Text(&wizard, "1008"), QStringLiteral("a"));
}

TEST_F(WizardFixture, BlanksCountAsTextOnTheProductPage) {
    Next();
    Type(&wizard, "1005", QStringLiteral(" "));
    Type(&wizard, "1007", QStringLiteral(" "));
    EXPECT_FALSE(Enabled(QWizard::NextButton));
    Type(&wizard, "1002", QStringLiteral("  "));
    EXPECT_TRUE(Enabled(QWizard::NextButton));
    Retype(&wizard, "1007", QString());
    EXPECT_FALSE(Enabled(QWizard::NextButton));
}

TEST_F(WizardFixture, MissingSetupFileAndFolderAreAcceptedWithoutCreatorPath) {
    Next();
    FillStep1();
    Next();
    Type(&wizard, "1008", QStringLiteral("/no/such/setup.exe"));
    EXPECT_FALSE(Enabled(QWizard::NextButton));
    Type(&wizard, "1009", QStringLiteral("/no/such/folder"));
    EXPECT_TRUE(Enabled(QWizard::NextButton));
    EXPECT_TRUE(prompts.shown.isEmpty());
    Next();
    EXPECT_EQ(wizard.currentId(), CWizardProductProperty::kStep3);
    EXPECT_FALSE(QDir(QStringLiteral("/no/such/folder")).exists());
}

TEST_F(WizardFixture, ChoosersFillTheirFieldOnlyAndKeepTheOthers) {
    Next();
    FillStep1();
    Next();
    Type(&wizard, "1010", QStringLiteral("kept"));

    prompts.paths.enqueue(QStringLiteral("/x/setup.msi"));
    Click(&wizard, "1003");
    EXPECT_EQ(Text(&wizard, "1008"), QStringLiteral("/x/setup.msi"));
    const FileRequest& open = prompts.shown.last().file;
    EXPECT_EQ(prompts.shown.last().kind, QStringLiteral("open"));
    ASSERT_EQ(open.filters.size(), 5);
    // On Linux the chooser opens on "All Files": setups there are no ".exe" files.
    EXPECT_EQ(open.filters[0].description, QStringLiteral("All Files (*.*)"));
    EXPECT_EQ(open.filters[1].description, QStringLiteral("Executable Files (*.exe)"));
    EXPECT_EQ(open.filters[2].description, QStringLiteral("Windows Installer Package (*.MSI)"));
    EXPECT_EQ(open.filters[2].patterns, QStringLiteral("*.msi"));
    EXPECT_EQ(open.filters[3].patterns, QStringLiteral("*.zip;*.z"));
    EXPECT_EQ(open.filters[4].description, QStringLiteral("Rar archive (*.rar)"));

    prompts.paths.enqueue(QStringLiteral("/chosen/out"));
    Click(&wizard, "1006");
    const FolderRequest& folder = prompts.shown.last().folder;
    EXPECT_EQ(folder.caption, QStringLiteral("Browse"));
    EXPECT_EQ(folder.instruction, QStringLiteral("Select output directory."));
    EXPECT_EQ(folder.initialFolder, QDir::currentPath()); // field still empty
    EXPECT_EQ(Text(&wizard, "1009"), QStringLiteral("/chosen/out"));
    EXPECT_TRUE(Enabled(QWizard::NextButton));

    prompts.paths.enqueue(QString()); // cancelled
    Click(&wizard, "1006");
    EXPECT_EQ(prompts.shown.last().folder.initialFolder, QStringLiteral("/chosen/out"));
    EXPECT_EQ(Text(&wizard, "1009"), QStringLiteral("/chosen/out"));

    prompts.paths.enqueue(QStringLiteral("/y/Maker.exe"));
    Click(&wizard, "1007");
    const FileRequest& save = prompts.shown.last().file;
    EXPECT_EQ(prompts.shown.last().kind, QStringLiteral("save"));
    EXPECT_EQ(save.initialPath,
              QDir::currentPath() + QDir::separator() + QStringLiteral("VelkSelfMaker.exe"));
    EXPECT_EQ(save.defaultSuffix, QStringLiteral("exe"));
    EXPECT_FALSE(save.confirmOverwrite);
    EXPECT_EQ(Text(&wizard, "1010"), QStringLiteral("/y/Maker.exe"));
    EXPECT_EQ(Text(&wizard, "1008"), QStringLiteral("/x/setup.msi"));
}

TEST_F(WizardFixture, RegistrationPageComposesAndGatesNext) {
    GoToStep3();
    auto* combo = Control<QComboBox>(&wizard, "1004");
    ASSERT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->currentText(), QStringLiteral("RegNow"));
    EXPECT_FALSE(Enabled(QWizard::NextButton));

    Type(&wizard, "1000", QStringLiteral("42"));
    EXPECT_EQ(Text(&wizard, "1001"), Endpoint(kServiceRegNow) + QStringLiteral("?item=42"));
    EXPECT_TRUE(Enabled(QWizard::NextButton));

    // Hand-made parameters survive a product ID change...
    Type(&wizard, "1001", QStringLiteral("&ref=7"));
    Type(&wizard, "1000", QStringLiteral("0"));
    EXPECT_EQ(Text(&wizard, "1001"), Endpoint(kServiceRegNow) + QStringLiteral("?item=420&ref=7"));
    Retype(&wizard, "1000", QStringLiteral("42"));
    // ...but a service change rebuilds the link from scratch.
    SelectService(kServiceShareIt);
    EXPECT_EQ(Text(&wizard, "1001"), Endpoint(kServiceShareIt) + QStringLiteral("?productid=42"));
    SelectService(kServiceRegSoft);
    EXPECT_EQ(Text(&wizard, "1001"), Endpoint(kServiceRegSoft) + QStringLiteral("?productid=42"));

    Retype(&wizard, "1001", QString());
    EXPECT_FALSE(Enabled(QWizard::NextButton)); // clearing the link disables Next at once
}

TEST_F(WizardFixture, OtherComposesNothingAndFinishHandsOverTheValues) {
    GoToStep3();
    SelectService(kServiceOther);
    EXPECT_EQ(Text(&wizard, "1001"), QString());
    Type(&wizard, "1000", QStringLiteral("any id"));
    EXPECT_EQ(Text(&wizard, "1001"), QString());
    EXPECT_FALSE(Enabled(QWizard::NextButton));
    Type(&wizard, "1001", QStringLiteral("whatever"));
    EXPECT_TRUE(Enabled(QWizard::NextButton));
    Next();
    QTest::mouseClick(Button(QWizard::FinishButton), Qt::LeftButton);
    EXPECT_EQ(wizard.result(), QDialog::Accepted);
    const WizardProductValues v = wizard.Values();
    EXPECT_EQ(v.productName, QStringLiteral("Prod"));
    EXPECT_EQ(v.version, QStringLiteral("1.0"));
    EXPECT_EQ(v.webSite, QStringLiteral("http://p"));
    EXPECT_EQ(v.setupFile, QStringLiteral("setup.exe"));
    EXPECT_EQ(v.outputDir, QStringLiteral("/out"));
    EXPECT_EQ(v.selfCreatorPath, QString());
    EXPECT_EQ(v.serviceIndex, kServiceOther);
    EXPECT_EQ(v.productId, QStringLiteral("any id"));
    EXPECT_EQ(v.purchaseLink, QStringLiteral("whatever"));
}

TEST_F(WizardFixture, CancelEndsWithoutResult) {
    Next();
    FillStep1();
    QTest::mouseClick(Button(QWizard::CancelButton), Qt::LeftButton);
    EXPECT_EQ(wizard.result(), QDialog::Rejected);
    EXPECT_FALSE(wizard.isVisible());
}

// Tab on the Setup Files page goes from each field to its own "..." button.
TEST_F(WizardFixture, SetupFilesTabGoesFromEachFieldToItsBrowseButton) {
    Next();
    FillStep1();
    Next();
    QWidget* w = Control<QLineEdit>(&wizard, "1008");
    ASSERT_NE(w, nullptr);
    QStringList order;
    for (int i = 0; i < 6; ++i, w = w->nextInFocusChain()) {
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible())
            w = w->nextInFocusChain();
        order << w->objectName();
    }
    EXPECT_EQ(order, (QStringList{"1008", "1003", "1009", "1006", "1010", "1007"}));
}
