#pragma once

// Command identifiers shared by the menus, the toolbar, the keys, the context
// menus and the status-bar prompts.
enum CommandId : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_MRU_FILE1 = 57616,
    ID_APP_EXIT = 57665,
    ID_APP_ABOUT = 57664,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_PRODUCT_SETTINGS = 32771,
    ID_ADD_AFFILIATE = 32772,
    ID_RUN_SETUP = 32775,
    ID_DELETE_AFFILIATE = 32777,
    ID_AFFILIATE_PROPERTY = 32779,
    ID_LOG_CLEAR = 32780,
    ID_SELECT_ALL = 32781,
    ID_BUILD_ALL = 32782,
    ID_BUILD_SELECTED = 32783,
    ID_PROGRAM_UUID = 32792,
    ID_HELP_INDEX = 32794,
    ID_HELP_WEBPAGE = 32795,
    ID_EXPLORE_OUTPUT = 32796,
    ID_BUILD_SELF_CREATOR = 32797,
    ID_BROWSE_WEBSITE = 32800,
    ID_BROWSE_PURCHASE = 32801,
    ID_EMAIL = 32802,
    ID_IMPORT_AFFILIATES = 32810,
    ID_EXPORT_AFFILIATES = 32811,
    ID_STAMP_FROM_TEMPLATE = 32812,
};

// The notification an editor posts after changing an affiliate.
constexpr int WM_AFFILIATE_CHANGED = 3025;
