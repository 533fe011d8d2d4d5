#pragma once

#include "ui/UserPrompts.h"

class QGridLayout;
class QLineEdit;
class QPushButton;
class QString;
class QWidget;

// Pieces of the setup-file pages (the wizard's step and the product settings
// tab): path fields, each a line edit with a "..." chooser button beside it.

// The narrow "..." button that opens a path field's chooser; id is its control id.
QPushButton* MakeBrowseButton(const char* id, QWidget* parent);

// Puts label on row of grid across both columns, edit and browse on the row
// below, and moves row past both.
void AddPathField(QGridLayout* grid, int& row, const QString& label, QLineEdit* edit,
                  QPushButton* browse);

// The save request for the self creator's path: "VelkSelfMaker.exe" in the
// current folder, executables only.
FileRequest SelfCreatorFileRequest(bool confirmOverwrite);
