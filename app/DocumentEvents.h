#pragma once

// What the document tells the front end, on the thread that changed it. Every
// notice has an empty default, so a front end overrides only what it shows.
class IDocumentEvents {
public:
    virtual ~IDocumentEvents() = default;
    // A different project is current (New, Open, Reload): views recreate their rows.
    virtual void ProjectReplaced() {}
    // Affiliates were added or changed: views refresh every row.
    virtual void RowsChanged() {}
    virtual void TitleChanged() {}
    virtual void ModifiedChanged(bool /*modified*/) {}
    // The recent-file list changed (Open, Save, Save As).
    virtual void RecentFilesChanged() {}
};
