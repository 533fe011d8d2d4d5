// Renders the self creator's windows to PNG files in the folder given as the
// first argument: the main dialog of a written self creator, the "Building"
// window and the About box.

#include "package/SfxPackage.h"
#include "selfkit/AboutBox.h"
#include "selfkit/BuildProgressDialog.h"
#include "package/ProductInfoFile.h"
#include "selfkit/SelfKit.h"
#include "selfkit/SelfKitDialog.h"
#include "selfkit/SelfKitPrompts.h"
#include "ui/screenshots/ShotWriter.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>

namespace {

// Shows nothing: the shots never need an answer.
class CSilentPrompts : public ISelfKitPrompts {
public:
    void ShowMessage(QWidget*, const QString& text) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    void ShowWarning(QWidget*, const QString&) override {}
    bool AskYesNo(QWidget*, const QString&) override { return false; }
    std::optional<QString> ChooseSavePath(QWidget*, const QString&) override { return {}; }
    bool StartPackage(const std::string&) override { return false; }
};

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// A self creator as Build Self Creator writes it, on a stand-in image.
bool WriteSampleSelfCreator(const std::string& folder, const std::string& output) {
    const std::string info = folder + "/_aff1.ino";
    std::FILE* f = std::fopen(info.c_str(), "wb");
    if (!f)
        return false;
    bool ok = WriteLengthPrefixedBlock(f, "3F2504E0-4F89-11D3-9A0C-0305E82C3301") &&
              WriteLengthPrefixedBlock(f, "RegNow;10234-1;ShareIt;300871;");
    ok = std::fclose(f) == 0 && ok;
    WriteFile(folder + "/TidyNotesSetup.exe", "setup");
    CSfxPackage package;
    const std::string image(1024, '\0');
    return ok && package.AddFile(info) && package.AddFile(folder + "/TidyNotesSetup.exe") &&
           package.BuildWithImage(image.data(), image.size(), output) == SFX_OK;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: selfkit_shots FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir work;
    const std::string dir = work.path().toStdString();
    if (!work.isValid() || !WriteSampleSelfCreator(dir, dir + "/VelkSMNG.exe")) {
        std::fprintf(stderr, "cannot write the sample self creator\n");
        return 1;
    }

    CSilentPrompts prompts;
    CShotWriter shots(folder);
    CSelfKit kit(dir + "/VelkSMNG.exe", dir + "/extracted");
    QDir().mkpath(QString::fromStdString(dir + "/extracted"));
    CSelfKitDialog dialog(kit, prompts);
    if (!dialog.Initialize())
        return 1;
    dialog.AffiliateEdit()->setText(QStringLiteral("aff-2211"));
    dialog.HomepageEdit()->setText(QStringLiteral("http://reviews.example"));
    dialog.PathEdit()->setText(QStringLiteral("/home/affiliate/TidyNotes-aff-2211.exe"));
    shots.Shoot(&dialog, QStringLiteral("selfkit-main"));

    CBuildProgressDialog progress;
    progress.SetPosition(6);
    shots.Shoot(&progress, QStringLiteral("selfkit-building"));

    CAboutBox about(prompts, dialog.windowIcon());
    shots.Shoot(&about, QStringLiteral("selfkit-about"));
    return shots.ExitStatus();
}
