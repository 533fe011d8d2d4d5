#pragma once

#include <QDialog>

class ISelfKitPrompts;
class QIcon;

// "About selfkit": the program's icon, name and version, and a link to the
// vendor's web page.
class CAboutBox : public QDialog {
    Q_OBJECT
public:
    CAboutBox(ISelfKitPrompts& prompts, const QIcon& icon, QWidget* parent = nullptr);

private:
    void OpenLink(const QString& address);

    ISelfKitPrompts& m_prompts;
};
