#pragma once

// Resource and control ids of velkora.exe, shared by velkora.rc and the
// window's code. The command ids are the program's own (app/CommandIds.h);
// a command's string-table entry, under its id, is its prompt: the status
// bar text, then after a line break the tool tip.

// The main menu, its keys and the icon share one number.
#define IDR_MAINFRAME 127
// The affiliate list's and the build log's context menus.
#define IDR_AFFILIATE_POPUP 128
#define IDR_LOG_POPUP 129

// The toolbar's image strips (24-bit, one 24 x 24 image a button in the
// toolbar's order): normal and hot, and disabled.
#define IDB_TOOLBAR 130
#define IDB_TOOLBAR_DISABLED 131

// Dialogs.
#define IDD_ABOUTBOX 100
#define IDD_WELCOME 175

// The Welcome dialog: the two choices and the list of files.
#define IDC_WELCOME_CREATE 1001
#define IDC_WELCOME_OPEN 1002
#define IDC_WELCOME_FILES 1003

// The About box.
#define IDC_ABOUT_ICON 1010
#define IDC_ABOUT_TEXT 1011

// Keys without a menu item: the next and the previous pane.
#define ID_NEXT_PANE 0xE150
#define ID_PREV_PANE 0xE151

// String-table texts that are not prompts.
#define IDS_APP_TITLE 57344
#define IDS_IDLE_MESSAGE 0xE001
