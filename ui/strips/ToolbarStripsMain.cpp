// Writes the toolbar's image strips of the Windows program (24-bit BMP files)
// from the drawings the Qt program shows, so that both show the same
// pictures: toolbar.bmp (normal and hot) and toolbar-disabled.bmp.
// Usage: velkora_toolbar_strips FOLDER
#include "ui/ToolbarImages.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: velkora_toolbar_strips FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (const bool disabled : {false, true}) {
        const QString name = disabled ? "toolbar-disabled.bmp" : "toolbar.bmp";
        // An image without alpha is written with 24 bits a pixel.
        if (!ToolbarStrip(disabled).save(folder.filePath(name), "BMP")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(folder.filePath(name)));
            return 1;
        }
    }
    return 0;
}
