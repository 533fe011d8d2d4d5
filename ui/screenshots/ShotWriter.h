#pragma once

// Header-only so that every shot program, the self creator's included, can
// use it without linking the desktop program's library.

#include <QApplication>
#include <QString>
#include <QWidget>

#include <cstdio>
#include <utility>

// Writes the PNG files of a shot program into one folder and remembers
// whether any of them could not be written, for the program's exit status.
class CShotWriter {
public:
    explicit CShotWriter(QString folder) : m_folder(std::move(folder)) {}

    // Shows w, lets it lay out and paint, and saves it as <folder>/<name>.png;
    // prints the path written, or the failure on standard error.
    bool Shoot(QWidget* w, const QString& name) {
        w->show();
        QApplication::processEvents();
        const QString path = m_folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!w->grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            m_failed = true;
            return false;
        }
        std::printf("%s\n", qPrintable(path));
        return true;
    }

    int ExitStatus() const { return m_failed ? 1 : 0; }

private:
    QString m_folder;
    bool m_failed = false;
};
