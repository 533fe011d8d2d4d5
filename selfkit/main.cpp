#include "platform/ExecutablePath.h"
#include "platform/UserTempFolder.h"
#include "selfkit/SelfKit.h"
#include "selfkit/SelfKitDialog.h"
#include "selfkit/SelfKitPrompts.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("selfkit"));

    CSelfKit kit(platform::OwnExecutablePath(), platform::UserTempFolder());
    CDesktopPrompts prompts;
    CSelfKitDialog dialog(kit, prompts);
    if (!dialog.Initialize())
        return 1;
    dialog.exec();
    return 0;
}
