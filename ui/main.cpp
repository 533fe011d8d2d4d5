#include "ui/UserPrompts.h"
#include "ui/VelkoraApp.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Velkora");
    QApplication::setApplicationDisplayName("Velkora");
    CVelkoraApp velkora(DefaultUserPrompts());
    velkora.InitInstance(QApplication::arguments().mid(1));
    return app.exec();
}
