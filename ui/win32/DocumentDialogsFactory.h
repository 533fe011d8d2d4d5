#pragma once

#include "app/DocumentDialogs.h"
#include "model/AffiliateEditor.h"

#include <windows.h>

#include <memory>

// The document's dialogs of velkora.exe, owned by owner (the main window).
std::unique_ptr<IDocumentDialogs> CreateDocumentDialogs(HWND owner);

// The affiliate dialog for an existing affiliate, modal to owner; true on OK,
// with the accepted values in fields (the document stores them).
bool EditAffiliateFields(HWND owner, CAffProject& project, const CReseller& affiliate,
                         AffiliateFields& fields);
