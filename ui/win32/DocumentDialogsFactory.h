#pragma once

#include "app/DocumentDialogs.h"

#include <memory>
#include <windows.h>

// The document's dialogs (New Project wizard, Product Settings, the affiliate
// dialog, Program UUID) as Windows dialogs owned by owner.
std::unique_ptr<IDocumentDialogs> CreateDocumentDialogs(HWND owner);
