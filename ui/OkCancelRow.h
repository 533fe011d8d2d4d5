#pragma once

class QDialog;
class QHBoxLayout;
class QPushButton;

// The OK and Cancel buttons of an editing dialog, right-aligned in one row.
struct OkCancelRow {
    QPushButton* ok;     // control 1, the default button
    QPushButton* cancel; // control 2
    QHBoxLayout* layout; // for the caller to add to the dialog's layout
};

// Makes the row for dialog. OK calls the dialog's accept() and Cancel its
// reject(), overrides included.
OkCancelRow MakeOkCancelRow(QDialog* dialog);
