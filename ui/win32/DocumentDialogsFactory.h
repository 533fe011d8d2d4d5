#pragma once

#include "app/DocumentDialogs.h"

#include <windows.h>

#include <memory>

// The document's dialogs of velkora.exe, owned by owner (the main window).
std::unique_ptr<IDocumentDialogs> CreateDocumentDialogs(HWND owner);
