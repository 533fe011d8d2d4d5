#include "ui/StringTable.h"
#include "ui/UserPrompts.h"
#include "ui/VelkoraApp.h"

#include "VelkoraVersion.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <string_view>

namespace {

void SetIdentity() {
    QCoreApplication::setApplicationName(AppText(apptext::kAppTitle));
    QCoreApplication::setApplicationVersion(VELKORA_VERSION);
}

// True when the command line only asks for text: the window must not open,
// and no display may be needed for it.
bool AsksOnlyForText(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--")
            return false;
        if (word == "-h" || word == "--help" || word == "--help-all" || word == "-v" ||
            word == "--version" || (word.size() > 1 && word[0] == '-'))
            return true;
    }
    return false;
}

// Prints help or the version (or refuses an unknown option) and returns the
// exit code.
int AnswerInText(int argc, char* argv[]) {
    QCoreApplication core(argc, argv);
    SetIdentity();
    QCommandLineParser parser;
    parser.setApplicationDescription(AppText(apptext::kCommandLineDescription));
    parser.addHelpOption();
    const QCommandLineOption version({"v", "version"}, AppText(apptext::kCommandLineVersionOption));
    parser.addOption(version);
    parser.addPositionalArgument(
        AppText(apptext::kCommandLineFileArgument), AppText(apptext::kCommandLineFileHelp),
        QStringLiteral("[%1]").arg(AppText(apptext::kCommandLineFileArgument)));
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "velkora: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(version)) {
        std::printf("velkora %s\n%s\n%s\n", VELKORA_VERSION, VELKORA_COPYRIGHT, VELKORA_LICENSE);
        return 0;
    }
    parser.showHelp(0); // exits
}

} // namespace

int main(int argc, char* argv[]) {
    if (AsksOnlyForText(argc, argv))
        return AnswerInText(argc, argv);
    QApplication app(argc, argv);
    // No display name: the platform would append it to every dialog's caption.
    SetIdentity();
    CVelkoraApp velkora(DefaultUserPrompts());
    velkora.InitInstance(QApplication::arguments().mid(1));
    return app.exec();
}
