#pragma once

#include "app/FileChangeCheck.h"
#include "model/AffProject.h"
#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <optional>
#include <string>

struct AffiliateFields;
class IAppPrompts;
class IBuildLogSink;
class IDocumentDialogs;
class IDocumentEvents;
class RecentFiles;

// The one open project and its file: new (the wizard's answers made a new
// product), open, save, save as, the "Save changes" decision before the
// project is given up, the modified flag, the title, the offer to reload a
// file another program changed, and the commands that change the product
// through a dialog. Paths and texts are UTF-8. It asks through the prompts and
// dialogs and reports through the events; it never waits on a toolkit.
class Document {
public:
    Document(IAppPrompts& prompts, IDocumentDialogs& dialogs, RecentFiles& recentFiles,
             IDocumentEvents& events);

    CAffProject& Project() { return m_project; }
    const CAffProject& Project() const { return m_project; }
    // The project file's absolute path; empty for a project never saved.
    const std::string& PathName() const { return m_pathName; }
    // The file's name, or "Untitled".
    const std::string& Title() const { return m_title; }
    // The window's caption: "<title> - Velkora".
    std::string Caption() const;
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true);

    // Where the notice about a file read as Windows-1252 goes; may stay unset.
    void SetLog(IBuildLogSink* log) { m_log = log; }

    // "Save changes to %1?" for a modified project. True when the caller may go
    // on (saved, not modified, or answered No); discarded tells whether unsaved
    // changes were given up.
    bool SaveModified(bool* discarded = nullptr);

    // File > Open: the chooser, then OpenDocument.
    bool OnFileOpen();
    // Open with the save question first. False when the file was not opened.
    bool OpenDocument(const std::string& path);
    // An entry of the recent-file list: OpenDocument; a file that could not
    // be opened leaves the list (a cancelled save question keeps it).
    bool OpenRecentFile(const std::string& path);
    // Open without the question. discarded: the user gave up unsaved changes,
    // so even an unreadable file replaces the project by a new one.
    bool OpenFile(const std::string& path, bool discarded);
    // File > New: the save question, then NewDocument.
    void OnFileNew();
    // A new project without the save question: an empty "Untitled" project,
    // then the New Project wizard; its answers make a new product, and the
    // person is offered to add an affiliate right away.
    void NewDocument();
    // An empty, unmodified "Untitled" project.
    void Reset();
    bool OnFileSave();
    bool OnFileSaveAs();
    // The window came to the front: when another program changed the file
    // meanwhile, offer to reload it (once for each change it made). Nothing
    // while a dialog of the front end is open (dialogOpen).
    void OfferReloadIfChanged(bool dialogOpen = false);

    // Affiliates > Add Affiliate: the dialog, then the record stamped with
    // Now() and added.
    void OnAddAffiliate();
    void OnProductSettings();
    // The list's in-place editor ended on column (0 to 4: name, affiliate ID,
    // web site, e-mail, purchase link) of affiliate with text: the editor's
    // rules judge it, a refusal is shown, a change is stamped with Now().
    // True when the record changed (the front end refreshes its row).
    bool EditAffiliateCell(CReseller& affiliate, int column, const std::string& text);
    // The affiliate dialog was accepted for an existing affiliate: its fields
    // are stored through the editor's rules and stamped with Now(); the
    // project is modified (the front end refreshes the row).
    void StoreEditedAffiliate(CReseller& affiliate, const AffiliateFields& fields);
    // Affiliates were added by a command of its own (the CSV import): the
    // project is modified and the views refresh every row.
    void AffiliatesAdded();
    void OnProgramUuid();

    // How long Save waits for another program that is changing the file.
    std::chrono::milliseconds saveLockWait{5000};
    // "Now" for change stamps; settable by tests.
    platform::Clock clock = platform::SystemNow;
    std::time_t Now() const { return clock ? clock() : platform::SystemNow(); }

private:
    void SetPathName(const std::string& path);
    void SetTitle(const std::string& title);
    bool DoSave(const std::string& path);
    bool MayReplaceFileOnDisk(const std::string& path);
    void TakeLoaded(CAffProject&& loaded, const std::string& path, const std::string& bytes);
    std::string ProposedFileName() const;
    std::string ShownName() const;

    IAppPrompts& m_prompts;
    IDocumentDialogs& m_dialogs;
    RecentFiles& m_recentFiles;
    IDocumentEvents& m_events;
    IBuildLogSink* m_log = nullptr;
    CAffProject m_project;
    std::string m_pathName;
    std::string m_title;
    bool m_bModified = false;
    // The file as this window last loaded or saved it, and a change on disk
    // the user chose not to reload (not offered again).
    FileChangeCheck m_fileCheck;
    std::optional<FileIdentity> m_declinedReload;
    bool m_bOfferingReload = false;
};
