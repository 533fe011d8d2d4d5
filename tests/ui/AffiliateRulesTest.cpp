// One table of affiliate records, refused or accepted alike by the affiliate
// dialog (OK) and by `velkora-cli add-affiliate`.
#include "ui/AffiliateDialog.h"

#include "cli/CliCommand.h"
#include "cli/CliRunner.h"
#include "model/AffProject.h"
#include "model/ProjectFile.h"
#include "model/RegistrationServices.h"
#include "platform/HostPath.h"
#include "tests/support/TempFolder.h"

#include "UiTestHelpers.h"
#include "tests/support/FakePrompts.h"

#include <filesystem>
#include <sstream>

namespace {

struct RuleCase {
    const char* label;
    std::string name = "Bob";
    std::string affiliateId = "7";
    std::string link = "http://shop/buy";
    std::string webSite = "http://bob";
    std::string setupPath = "out/setup_Bob.exe";
    std::string message; // empty: accepted
};

std::string ProductSetupMessage(const std::string& path) {
    return "File '" + path +
           "' is the product setup file, please choose another one for affiliate.";
}

bool HostIgnoresCase() {
    return platform::HostPathStyle() == platform::PathStyle::Windows;
}

std::vector<RuleCase> Cases() {
    const std::string longText(4000, 'x');
    const std::string longest = "http://" + std::string(3999 - 7, 'y');
    return {
        {"accepted", "Bob", "7", "http://shop/buy", "http://bob", "out/setup_Bob.exe", ""},
        {"no id", "Bob", "", "http://shop/buy", "http://bob", "out/a.exe",
         "Please provide an ID for this affiliate!"},
        {"no name, no id", "", "", "http://shop/buy", "http://bob", "out/a.exe",
         "Please input a name for this affiliate."},
        {"nothing", "", "", "", "http://bob", "out/a.exe", "Please fill out purchase link."},
        {"setup file", "Bob", "7", "http://shop/buy", "", "setup.sh",
         ProductSetupMessage("setup.sh")},
        {"setup file spelt another way", "Bob", "7", "http://shop/buy", "", "out/../setup.sh",
         ProductSetupMessage("out/../setup.sh")},
        {"setup file through a link", "Bob", "7", "http://shop/buy", "", "alias.sh",
         ProductSetupMessage("alias.sh")},
        {"setup file in other letter case", "Bob", "7", "http://shop/buy", "", "SETUP.sh",
         HostIgnoresCase() ? ProductSetupMessage("SETUP.sh") : std::string()},
        {"project file", "Bob", "7", "http://shop/buy", "", "proj.vkp",
         "File 'proj.vkp' is the project file, please choose another one for affiliate."},
        {"other affiliate in other case", "Bob", "7", "http://shop/buy", "", "OUT/setup_first.SH",
         "File 'OUT/setup_first.SH' is used for another affiliate, please select other name."},
        {"link at the limit", "Bob", "7", longest, "http://bob", "out/b.sh", ""},
        {"link over the limit", "Bob", "7", longText, "http://bob", "out/b.sh",
         "The purchase link is too long, please use at most 3999 bytes."},
        {"web site over the limit", "Bob", "7", "http://shop/buy", longText, "out/b.sh",
         "The affiliate website is too long, please use at most 3999 bytes."},
    };
}

class AffiliateRules : public ::testing::TestWithParam<RuleCase> {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_dir.Path().empty());
        WriteBytes(m_dir / "setup.sh", "#!/bin/sh\n");
        std::filesystem::create_symlink(m_dir / "setup.sh", m_dir / "alias.sh");
        m_project.SetProjectPath(m_dir / "proj.vkp");
        m_project.m_strSetupFile = "setup.sh";
        m_project.m_strOutputDir = "out";
        auto regNow = std::make_unique<CProductRegInfo>();
        regNow->m_wService = kServiceRegNow;
        regNow->m_strServiceName = "RegNow";
        regNow->m_strProductId = "P";
        m_project.m_mapRegInfo.SetAt(kServiceRegNow, std::move(regNow));
        CReseller first;
        first.m_strName = "first";
        first.m_strAffiliateId = "1";
        first.m_strPurchaseLink = "http://l/first";
        first.m_strSetupPath = "out/setup_first.sh";
        m_project.AddReseller(first);
        ASSERT_TRUE(SaveProjectFile(m_dir / "proj.vkp", m_project).Ok());
    }

    // The message the dialog shows on OK, or empty when it closes accepted.
    std::string ThroughDialog(const RuleCase& c) {
        FakePrompts prompts;
        CAffiliateDialog dialog(nullptr, &prompts);
        dialog.SetProject(&m_project);
        Control<QLineEdit>(&dialog, "1013")->setText(QString::fromStdString(c.affiliateId));
        Control<QLineEdit>(&dialog, "1014")->setText(QString::fromStdString(c.link));
        Control<QLineEdit>(&dialog, "1016")->setText(QString::fromStdString(c.webSite));
        Control<QLineEdit>(&dialog, "1011")->setText(QString::fromStdString(c.name));
        Control<QLineEdit>(&dialog, "1035")->setText(QString::fromStdString(c.setupPath));
        dialog.show();
        Click(&dialog, "1");
        const QStringList messages = prompts.Messages();
        EXPECT_LE(messages.size(), 1);
        EXPECT_EQ(dialog.result() == QDialog::Accepted, messages.isEmpty());
        return messages.isEmpty() ? std::string() : messages.back().toStdString();
    }

    // What add-affiliate prints on stderr (without the line end), or empty
    // when it added the affiliate.
    std::string ThroughCli(const RuleCase& c) {
        std::ostringstream out, err;
        const int code = RunCli({"add-affiliate", m_dir / "proj.vkp", "--name", c.name,
                                 "--affiliate-id", c.affiliateId, "--purchase-link", c.link,
                                 "--website", c.webSite, "--setup-path", c.setupPath},
                                out, err);
        std::string text = err.str();
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        EXPECT_EQ(code == kExitOk, text.empty()) << text;
        return text;
    }

    TempFolder m_dir{"velkora-rules"};
    CAffProject m_project;
};

TEST_P(AffiliateRules, DialogAndCommandLineGiveTheSameAnswer) {
    const RuleCase& c = GetParam();
    EXPECT_EQ(ThroughDialog(c), c.message);
    EXPECT_EQ(ThroughCli(c), c.message);
}

INSTANTIATE_TEST_SUITE_P(EditorRules, AffiliateRules, ::testing::ValuesIn(Cases()),
                         [](const auto& info) {
                             std::string name;
                             for (char ch : std::string(info.param.label))
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

} // namespace
