#include "ui/UserPrompts.h"
#include "ui/VelkoraApp.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // No display name: the platform would append it to every dialog's caption.
    QApplication::setApplicationName("Velkora");
    CVelkoraApp velkora(DefaultUserPrompts());
    velkora.InitInstance(QApplication::arguments().mid(1));
    return app.exec();
}
