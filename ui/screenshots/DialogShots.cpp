// Renders every editing dialog and wizard page to a PNG file in the folder
// given as the first argument.

#include "model/AffProject.h"
#include "model/RegistrationServices.h"
#include "ui/AffiliateDialog.h"
#include "ui/ContextHelp.h"
#include "ui/FolderBrowserDialog.h"
#include "ui/ProductIdDialog.h"
#include "ui/ProductSettingsDialog.h"
#include "ui/WizardProductProperty.h"
#include "ui/screenshots/ShotWriter.h"
#include "ui/screenshots/SilentUserPrompts.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

namespace {

void Type(QWidget* dialog, const char* id, const QString& text) {
    if (auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(id)))
        QTest::keyClicks(edit, text);
}

void SampleProject(CAffProject& project, const QString& folder) {
    project.SetProjectPath((folder + QStringLiteral("/Sample.vkp")).toStdString());
    project.m_strTitle = "Tidy Notes";
    project.m_strVersion = "2.4";
    project.m_strWebSite = "http://tidynotes.example";
    project.m_strSetupFile = "setup/TidyNotesSetup.exe";
    project.m_strOutputDir = "affiliates";
    project.m_strSelfCreatorPath = "VelkSelfMaker.exe";
    auto add = [&](int service, const char* id) {
        auto info = std::make_unique<CProductRegInfo>();
        info->m_wService = uint16_t(service);
        info->m_strServiceName = std::string(ServiceNameFromIndex(service));
        info->m_strProductId = id;
        info->m_strPurchaseLink = std::string(ServiceTable()[size_t(service)].endpoint) + "?" +
                                  std::string(ServiceTable()[size_t(service)].productKey) + "=" +
                                  id;
        project.m_mapRegInfo.SetAt(uint16_t(service), std::move(info));
    };
    add(kServiceRegNow, "10234-1");
    add(kServiceShareIt, "300871");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);
    QTemporaryDir projectDir;
    CSilentUserPrompts prompts;
    CShotWriter shots(folder);
    CAffProject project;
    SampleProject(project, projectDir.path());

    {
        CWizardProductProperty wizard(nullptr, &prompts);
        const char* names[] = {"wizard-1-welcome", "wizard-2-product", "wizard-3-setup-files",
                               "wizard-4-registration", "wizard-5-finish"};
        wizard.show();
        for (int page = 0; page < 5; ++page) {
            QWidget* current = wizard.currentPage();
            if (page == 1) {
                Type(current, "1005", QStringLiteral("Tidy Notes"));
                Type(current, "1007", QStringLiteral("2.4"));
                Type(current, "1002", QStringLiteral("http://tidynotes.example"));
            } else if (page == 2) {
                Type(current, "1008", QStringLiteral("/home/vendor/TidyNotesSetup.exe"));
                Type(current, "1009", QStringLiteral("/home/vendor/affiliates"));
            } else if (page == 3) {
                Type(current, "1000", QStringLiteral("10234-1"));
            }
            shots.Shoot(&wizard, QString::fromLatin1(names[page]));
            wizard.next();
        }
    }
    {
        CAffiliateDialog dialog(nullptr, &prompts);
        dialog.SetProject(&project);
        Type(&dialog, "1011", QStringLiteral("Bob"));
        Type(&dialog, "1013", QStringLiteral("bob77"));
        Type(&dialog, "1017", QStringLiteral("bob@example.com"));
        shots.Shoot(&dialog, QStringLiteral("affiliate-dialog"));
    }
    {
        CProductIdDialog dialog(nullptr, &prompts);
        dialog.SetServices({QStringLiteral("ShareIt"), QStringLiteral("RegSoft")}, 0);
        Type(&dialog, "1041", QStringLiteral("300871"));
        shots.Shoot(&dialog, QStringLiteral("product-id-dialog"));
    }
    {
        CProductSettingsDialog dialog(project, nullptr, &prompts);
        const char* names[] = {"product-settings-general", "product-settings-setup-files",
                               "product-settings-registration"};
        for (int tab = 0; tab < 3; ++tab) {
            dialog.Sheet()->setCurrentIndex(tab);
            shots.Shoot(&dialog, QString::fromLatin1(names[tab]));
        }
    }
    {
        CContextHelpPopup popup(ContextHelpText(1030));
        popup.adjustSize();
        shots.Shoot(&popup, QStringLiteral("context-help-popup"));
    }
    {
        CFolderBrowserDialog browser(nullptr,
                                     {QStringLiteral("Browse"),
                                      QStringLiteral("Select output directory."),
                                      QStringLiteral("/usr/share")},
                                     prompts);
        browser.resize(420, 420);
        browser.show();
        QTest::qWait(500); // the folder tree fills in the background
        shots.Shoot(&browser, QStringLiteral("folder-browser"));
    }
    return shots.ExitStatus();
}
