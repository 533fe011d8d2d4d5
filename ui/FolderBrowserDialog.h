#pragma once

#include "ui/UserPrompts.h"

#include <QDialog>
#include <QStringList>

class QFileSystemModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

// The folder browser: a folder tree with a typed-path field above it. OK
// checks the typed path as every folder chooser does (app/FolderCheck: its
// form, and the offer to create a missing folder); the dialog returns the path
// as typed.
//
//   QString folder = CFolderBrowserDialog::Browse(parent, {"Browse",
//                        "Select output directory.", initial}, prompts);
class CFolderBrowserDialog : public QDialog {
    Q_OBJECT
public:
    CFolderBrowserDialog(QWidget* parent, const FolderRequest& request, IUserPrompts& prompts);

    // Runs the browser modally; the accepted folder or an empty string.
    static QString Browse(QWidget* parent, const FolderRequest& request, IUserPrompts& prompts);

    // The path as typed (at most 259 characters).
    QString Path() const;

    void accept() override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void ScrollSelectionIntoView();
    void OnTreeSelectionChanged();
    void OnPathEdited(const QString& text);

    IUserPrompts& m_prompts;
    QFileSystemModel* m_pModel;
    QTreeView* m_pTree;
    QLineEdit* m_pPath;
    QPushButton* m_pOk;
    QString m_strTreePath;      // folder of the tree's current item
    QStringList m_initialChain; // the folders above the initial one
};
