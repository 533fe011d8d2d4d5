#pragma once

class CRecentFileList;
class CVelkoraDoc;
class IUserPrompts;
class QString;

// What the main window asks of the application: its document, prompts and
// recent files, and the commands the application carries out. The window
// knows the application only through this, so neither includes the other.
class IAppCommands {
public:
    virtual ~IAppCommands() = default;
    virtual CVelkoraDoc& Doc() = 0;
    virtual IUserPrompts& Prompts() = 0;
    virtual CRecentFileList& RecentFiles() = 0;
    virtual void OnFileNew() = 0;
    virtual void OnFileOpen() = 0;
    virtual void OnOpenRecentFile(const QString& path) = 0;
    virtual void OnAppAbout() = 0;
    virtual void OnHelpIndex() = 0;
};
