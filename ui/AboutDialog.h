#pragma once

#include <QDialog>

// The About box: program name, version and copyright.
class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* parent = nullptr);
};
