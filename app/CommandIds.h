#pragma once

// Command identifiers shared by the menus, the toolbar, the keys, the context
// menus and the status-bar prompts. Plain definitions, so that a resource
// script (velkora.exe's menus and prompts) reads the same numbers.
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_SAVE_AS 57604
#define ID_FILE_MRU_FILE1 57616
#define ID_APP_EXIT 57665
#define ID_APP_ABOUT 57664
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393
#define ID_PRODUCT_SETTINGS 32771
#define ID_ADD_AFFILIATE 32772
#define ID_RUN_SETUP 32775
#define ID_DELETE_AFFILIATE 32777
#define ID_AFFILIATE_PROPERTY 32779
#define ID_LOG_CLEAR 32780
#define ID_SELECT_ALL 32781
#define ID_BUILD_ALL 32782
#define ID_BUILD_SELECTED 32783
#define ID_PROGRAM_UUID 32792
#define ID_HELP_INDEX 32794
#define ID_HELP_WEBPAGE 32795
#define ID_EXPLORE_OUTPUT 32796
#define ID_BUILD_SELF_CREATOR 32797
#define ID_BROWSE_WEBSITE 32800
#define ID_BROWSE_PURCHASE 32801
#define ID_EMAIL 32802
#define ID_IMPORT_AFFILIATES 32810
#define ID_EXPORT_AFFILIATES 32811
#define ID_STAMP_FROM_TEMPLATE 32812
#define ID_BUILD_STOP 32813

#ifndef RC_INVOKED
// The notification an editor posts after changing an affiliate.
constexpr int WM_AFFILIATE_CHANGED = 3025;
#endif
