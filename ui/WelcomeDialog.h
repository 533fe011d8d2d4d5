#pragma once

#include "app/WelcomeChoice.h"

#include <QDialog>
#include <QStringList>

class QListWidget;
class QRadioButton;
class QDialogButtonBox;

// The start-up choice: create a new project or open one ("More files ..." or
// one of the recent files).
class CWelcomeDialog : public QDialog {
    Q_OBJECT
public:
    using Choice = WelcomeChoice;

    CWelcomeDialog(const QStringList& recentFiles, QWidget* parent = nullptr);

    // Valid after exec(): Nothing after Cancel.
    Choice Result() const { return m_choice; }
    // The chosen recent file (OpenRecent).
    QString ChosenFile() const { return m_chosen; }

    QRadioButton* CreateButton() const { return m_create; }
    QRadioButton* OpenButton() const { return m_open; }
    QListWidget* FileList() const { return m_list; }
    bool OkEnabled() const;

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // The main window may still be taking its maximised place when the
    // dialog opens at start-up: the dialog follows it to stay centred.
    void CentreOnParent();
    void OnSelectionChanged();
    void UpdateOk();
    // -1 when no row is selected.
    int SelectedRow() const;

    QStringList m_files;
    QRadioButton* m_create;
    QRadioButton* m_open;
    QListWidget* m_list;
    QDialogButtonBox* m_buttons;
    Choice m_choice = Choice::Nothing;
    QString m_chosen;
};
