#pragma once

// Resource and control ids of the document's dialogs in velkora.exe, shared by
// DocumentDialogs.rc and the dialogs' code. The affiliate, product ID and
// program UUID dialogs and every control id below 1050 are the program's own
// numbers (tools and help texts know them); the others are free to change but
// stay clear of the main window's (below 200 for its dialogs, 32768 and up
// for its commands).

// Dialog templates.
#define IDD_AFFILIATE 136
#define IDD_PRODUCT_ID 160
#define IDD_PROGRAM_UUID 177
#define IDD_PRODUCT_SETTINGS 200
#define IDD_PAGE_GENERAL_INFO 201
#define IDD_PAGE_SETUP_FILES 202
#define IDD_PAGE_REG_INFO 203
#define IDD_WIZARD_WELCOME 210
#define IDD_WIZARD_STEP1 211
#define IDD_WIZARD_STEP2 212
#define IDD_WIZARD_STEP3 213
#define IDD_WIZARD_FINISH 214

// The affiliate dialog.
#define IDC_AFF_SERVICE 1010
#define IDC_AFF_NAME 1011
#define IDC_AFF_ID 1013
#define IDC_AFF_LINK 1014
#define IDC_AFF_WEBSITE 1016
#define IDC_AFF_EMAIL 1017
#define IDC_AFF_SETUP_PATH 1035
#define IDC_AFF_BROWSE 1036

// The New Product ID dialog.
#define IDC_PID_SERVICE 1032
#define IDC_PID_ID 1041
#define IDC_PID_LINK 1042

// The Program UUID dialog ("Apply" is IDOK).
#define IDC_UUID_TEXT 1050
#define IDC_UUID_EDIT 1051
#define IDC_UUID_COPY 1052

// Product Settings: the placeholder that marks where the sheet sits, and the
// tab control of the sheet.
#define IDC_SHEET_PLACE 1021
#define IDC_SHEET_TABS 1053
#define IDC_PS_TITLE 1023
#define IDC_PS_VERSION 1026
#define IDC_PS_WEBSITE 1029
#define IDC_PS_SETUP_FILE 1024
#define IDC_PS_OUTPUT_DIR 1030
#define IDC_PS_SELF_CREATOR 1031
#define IDC_PS_BROWSE_SETUP 1033
#define IDC_PS_BROWSE_OUTPUT 1034
#define IDC_PS_BROWSE_CREATOR 1035
#define IDC_PS_REG_LIST 1037
#define IDC_PS_REG_ADD 1038
#define IDC_PS_REG_DELETE 1039
#define IDC_PS_REG_DEFAULT 1043

// The New Project wizard.
#define IDC_WIZ_PRODUCT_ID 1000
#define IDC_WIZ_LINK 1001
#define IDC_WIZ_WEBSITE 1002
#define IDC_WIZ_BROWSE_SETUP 1003
#define IDC_WIZ_SERVICE 1004
#define IDC_WIZ_NAME 1005
#define IDC_WIZ_BROWSE_OUTPUT 1006
#define IDC_WIZ_VERSION 1007
#define IDC_WIZ_BROWSE_CREATOR 1007
#define IDC_WIZ_SETUP_FILE 1008
#define IDC_WIZ_OUTPUT_DIR 1009
#define IDC_WIZ_SELF_CREATOR 1010
#define IDC_WIZ_HEADING 1054
#define IDC_WIZ_BODY 1055
#define IDC_WIZ_NEXT_HINT 1056
