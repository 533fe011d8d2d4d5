#pragma once

// Resource and control ids of selfkit.exe, shared by selfkit.rc and the
// dialogs' code. The main dialog's control ids are the ones affiliates'
// tools and tests know; the others are free to change.

// Dialog templates.
#define IDD_SELFKIT 100  // "Create Your Custom Build Now!"
#define IDD_PROGRESS 101 // "Building"
#define IDD_ABOUT 102    // "About selfkit"

// The program's icon.
#define IDI_SELFKIT 128

// The main dialog.
#define IDC_AFFILIATE_ID 1000
#define IDC_SERVICE 1002
#define IDC_OUTPUT_PATH 1003
#define IDC_BROWSE 1004
#define IDC_HOMEPAGE 1005

// The "Building" dialog (its Cancel button is IDCANCEL).
#define IDC_PROGRESS_BAR 1010
#define IDC_PROGRESS_PERCENT 1011

// The About box (its OK button is IDOK).
#define IDC_ABOUT_ICON 1020
#define IDC_ABOUT_TEXT 1021
#define IDC_ABOUT_LINK 1022

// The system menu's About item: a multiple of 16 below 0xF000, as the system
// menu requires of its commands.
#define IDM_ABOUTBOX 0x0010
