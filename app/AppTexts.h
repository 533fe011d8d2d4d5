#pragma once

#include "app/CommandIds.h"

#include <initializer_list>
#include <string>
#include <string_view>

// Every text the desktop program shows: captions, menus, status-bar prompts
// and tool tips, the controls of its dialogs and its messages. UTF-8; "%s"
// marks where FormatText puts an argument. Each front end takes its texts from
// here, so two front ends cannot word a thing differently. Texts of records
// and links (model/) and of the builders' log (package/) live with their rules.
namespace apptext {

// --- The application -----------------------------------------------------

inline constexpr std::string_view kAppTitle = "Velkora"; // string 57344
inline constexpr std::string_view kUntitled = "Untitled";
inline constexpr std::string_view kCaptionSeparator = " - "; // "<title> - Velkora"
inline constexpr std::string_view kMessageCaption = "Velkora";
inline constexpr std::string_view kReady = "Ready";
inline constexpr std::string_view kBuildProgress = "affiliate %s of %s";
inline constexpr std::string_view kCapsLockIndicator = "CAP";
inline constexpr std::string_view kNumLockIndicator = "NUM";
inline constexpr std::string_view kScrollLockIndicator = "SCRL";
inline constexpr std::string_view kToolBarName = "Standard";
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kCancel = "Cancel";

// Command line of the program.
inline constexpr std::string_view kCommandLineDescription =
    "Custom setup files for the affiliates of your product.";
inline constexpr std::string_view kCommandLineVersionOption = "Displays version information.";
inline constexpr std::string_view kCommandLineFileArgument = "FILE.vkp";
inline constexpr std::string_view kCommandLineFileHelp = "The project to open.";

// --- Commands ------------------------------------------------------------

// A command's menu text ("\t" separates the key shown at the right) and its
// prompt: the status-bar text, then after a line break the tool tip. A
// prompt without a line break serves as both.
struct CommandText {
    int id;
    std::string_view menu;
    std::string_view prompt;
};

inline constexpr CommandText kCommandTexts[] = {
    {ID_FILE_NEW, "&New\tCtrl+N", "Create a new document\nNew"},
    {ID_FILE_OPEN, "&Open...\tCtrl+O", "Open an existing document\nOpen"},
    {ID_FILE_SAVE, "&Save\tCtrl+S", "Save the active document\nSave"},
    {ID_FILE_SAVE_AS, "Save &As...", "Save the active document with a new name\nSave As"},
    {ID_IMPORT_AFFILIATES, "&Import Affiliates...",
     "Add affiliates from a CSV file\nImport Affiliates"},
    {ID_EXPORT_AFFILIATES, "&Export Affiliates...",
     "Save the affiliates as a CSV file\nExport Affiliates"},
    {ID_FILE_MRU_FILE1, "Recent File", "Open this document"},
    {ID_APP_EXIT, "E&xit", "Quit the application; prompts to save documents\nExit"},
    {ID_VIEW_TOOLBAR, "&Toolbar", "Show or hide the toolbar\nToggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "&Status Bar", "Show or hide the status bar\nToggle StatusBar"},
    {ID_PRODUCT_SETTINGS, "&Product Settings",
     "View or edit product information\nProduct Settings"},
    {ID_PROGRAM_UUID, "Program &Unique ID", "Program Universally Unique Identifier "},
    {ID_ADD_AFFILIATE, "&Add Affiliate", "Create a new affiliate profile\nAdd a New Affiliate"},
    {ID_DELETE_AFFILIATE, "&Delete Affiliate",
     "Delete selected affiliate profiles\nDelete Affiliate"},
    {ID_AFFILIATE_PROPERTY, "&Property", "View or Edit Affiliate Profiles\nAffiliate Property"},
    {ID_SELECT_ALL, "Select All", ""},
    {ID_BUILD_SELECTED, "Build Selected\tF7",
     "Build custom setup files for seleted affiliates\nBuild Selected"},
    {ID_BUILD_ALL, "Build All\tF8", "Build custom setup files for all affiliates\nBuild All"},
    {ID_STAMP_FROM_TEMPLATE, "Stamp from Signed Template...",
     "Write the custom setups of all affiliates as stamped copies of the signed "
     "template\nStamp from Signed Template"},
    {ID_BUILD_STOP, "S&top Build",
     "Stop the running build after the custom setup being written\nStop Build"},
    {ID_BUILD_SELF_CREATOR, "&Build Self Creator",
     "Create stand-alone application for affiliates to make custom builds by "
     "themselves.\nBuild self creator"},
    {ID_RUN_SETUP, "&Run Setup\tF9", "Run affiliate custom setup\nRun Setup"},
    {ID_EXPLORE_OUTPUT, "E&xplore Output Folder",
     "Explores the folder where the affiliate setup file is stored."},
    {ID_BROWSE_WEBSITE, "Browse Affiliate Website", "Browse affiliate website online."},
    {ID_BROWSE_PURCHASE, "Browse Purchase Link", "View affiliate purchase page online."},
    {ID_EMAIL, "&Email", "Write email to your affiliate,"},
    {ID_HELP_INDEX, "Index && Content",
     "Displays the table of indexs and contents for the online documentation."},
    {ID_HELP_WEBPAGE, "Product &Webpage", ""},
    {ID_APP_ABOUT, "&About Velkora...",
     "Display program information, version number and copyright\nAbout"},
    {ID_LOG_CLEAR, "Clear", ""},
};

// The texts of a command; a command without texts gives empty ones.
constexpr CommandText CommandTexts(int id) {
    for (const CommandText& text : kCommandTexts)
        if (text.id == id)
            return text;
    return {id, {}, {}};
}

// The status-bar line of a prompt (its first line).
constexpr std::string_view StatusText(std::string_view prompt) {
    return prompt.substr(0, prompt.find('\n'));
}

// The tool tip of a prompt (its second line, else the whole prompt).
constexpr std::string_view ToolTipText(std::string_view prompt) {
    const size_t br = prompt.find('\n');
    return br == std::string_view::npos ? prompt : prompt.substr(br + 1);
}

// One item of a menu: a command and its text, or a separator (id 0). The
// main menu's items show their commands' menu texts.
struct MenuItem {
    int id;
    std::string_view text;
};

// The main menu, row by row: a kMenuTitle row opens a menu with its title;
// a command row without text shows the command's menu text; 0 is a
// separator; ID_FILE_MRU_FILE1 stands for the recent-file entries.
inline constexpr int kMenuTitle = -1;
inline constexpr std::string_view kFileMenu = "&File";
inline constexpr std::string_view kViewMenu = "&View";
inline constexpr std::string_view kProgramMenu = "&Program";
inline constexpr std::string_view kAffiliatesMenu = "&Affiliates";
inline constexpr std::string_view kBuildMenu = "&Build";
inline constexpr std::string_view kHelpMenu = "&Help";

inline constexpr MenuItem kMainMenu[] = {
    {kMenuTitle, kFileMenu},
    {ID_FILE_NEW, {}},
    {ID_FILE_OPEN, {}},
    {ID_FILE_SAVE, {}},
    {ID_FILE_SAVE_AS, {}},
    {0, {}},
    {ID_IMPORT_AFFILIATES, {}},
    {ID_EXPORT_AFFILIATES, {}},
    {0, {}},
    {ID_FILE_MRU_FILE1, {}},
    {0, {}},
    {ID_APP_EXIT, {}},
    {kMenuTitle, kViewMenu},
    {ID_VIEW_TOOLBAR, {}},
    {ID_VIEW_STATUS_BAR, {}},
    {kMenuTitle, kProgramMenu},
    {ID_PRODUCT_SETTINGS, {}},
    {ID_PROGRAM_UUID, {}},
    {kMenuTitle, kAffiliatesMenu},
    {ID_ADD_AFFILIATE, {}},
    {ID_DELETE_AFFILIATE, {}},
    {ID_AFFILIATE_PROPERTY, {}},
    {kMenuTitle, kBuildMenu},
    {ID_BUILD_SELECTED, {}},
    {ID_BUILD_ALL, {}},
    {ID_STAMP_FROM_TEMPLATE, {}},
    {ID_BUILD_SELF_CREATOR, {}},
    {ID_BUILD_STOP, {}},
    {0, {}},
    {ID_RUN_SETUP, {}},
    {kMenuTitle, kHelpMenu},
    {ID_HELP_INDEX, {}},
    {ID_HELP_WEBPAGE, {}},
    {ID_APP_ABOUT, {}},
};

// The toolbar's buttons in order; 0 is a separator.
inline constexpr int kToolBarButtons[] = {
    ID_FILE_NEW,      ID_FILE_OPEN,          ID_FILE_SAVE,        0, ID_DELETE_AFFILIATE,
    ID_ADD_AFFILIATE, ID_AFFILIATE_PROPERTY, ID_PRODUCT_SETTINGS, 0, ID_BUILD_SELECTED,
    ID_BUILD_ALL,     ID_BUILD_SELF_CREATOR, ID_RUN_SETUP,        0, ID_APP_ABOUT};

// The recent-file entries: "&1 name" to "&4 name".
inline constexpr std::string_view kRecentFileEntry = "&%s %s";

// The affiliate list's context menu, which shows its own texts.
inline constexpr MenuItem kAffiliateContextMenu[] = {
    {ID_ADD_AFFILIATE, "&New Affiliate"},
    {ID_AFFILIATE_PROPERTY, "Affiliate &Property"},
    {ID_DELETE_AFFILIATE, "&Delete"},
    {0, {}},
    {ID_BUILD_SELECTED, "&Build"},
    {ID_RUN_SETUP, "&Run"},
    {0, {}},
    {ID_EXPLORE_OUTPUT, "E&xplore Output Folder"},
    {ID_BROWSE_WEBSITE, "Browse Affiliate Website"},
    {ID_BROWSE_PURCHASE, "Browse Purchase Link"},
    {ID_EMAIL, "&Email"},
};

// The affiliate list's column headers, left to right.
inline constexpr std::string_view kAffiliateColumnHeaders[] = {
    "Affiliate Name", "Affiliate ID", "Website", "Contact Email", "Purchase Link", "Modified"};

// --- Numbered strings ----------------------------------------------------

inline constexpr int IDS_WIZARD_CAPTION = 154;
inline constexpr int IDS_STEP1_TITLE = 155;
inline constexpr int IDS_STEP2_TITLE = 156;
inline constexpr int IDS_STEP3_TITLE = 157;
inline constexpr int IDS_STEP1_SUBTITLE = 159;
inline constexpr int IDS_STEP2_SUBTITLE = 161;
inline constexpr int IDS_STEP3_SUBTITLE = 162;
inline constexpr int IDS_IS_PRODUCT_SETUP_FILE = 173;
inline constexpr int IDS_FILE_IN_USE = 175;
inline constexpr int IDS_APP_NAME = 57344;

struct NumberedText {
    int id;
    std::string_view text;
};

// The string table. The one-line help texts of dialog controls are stored
// under the control's own identifier.
inline constexpr NumberedText kNumberedTexts[] = {
    {IDS_WIZARD_CAPTION, "Wizard"},
    {IDS_STEP1_TITLE, "Product information"},
    {IDS_STEP2_TITLE, "Setup Files"},
    {IDS_STEP3_TITLE, "Registration Service"},
    {IDS_STEP1_SUBTITLE, "Please specify some basic information about your product."},
    {IDS_STEP2_SUBTITLE, "Please specify program setup file and output directory."},
    {IDS_STEP3_SUBTITLE, "Information about the primary registration service for your product."},
    {IDS_IS_PRODUCT_SETUP_FILE, "'%s' is the product setup file, it can not be used by affiliate. "
                                "Please choose another one."},
    {IDS_FILE_IN_USE, "File '%s' is being used, please choose another one."},
    {IDS_APP_NAME, "Velkora"},
    {1023, "Provides a space for you to specify title of the product."},
    {1024, "Specifies setup file of the product . This setup file contains the program that calls "
           "API functions to retrieve affiliate puchase link."},
    {1026, "Specifies version number of the product."},
    {1029, "Specifies your product web page."},
    {1030, "Provides a place for you to specify the default directory for affiliate setup files. "
           "\nThe directory can be overided by configuring affiliate settings individually.  "},
    {1035, "The path and name of executable setup file that will be built for the affiliate."},
    {1037, "Specifies Registration services you are using to sell your product."},
};

// The numbered string; a command's identifier gives its prompt; an unknown
// number gives an empty text.
constexpr std::string_view NumberedString(int id) {
    for (const NumberedText& text : kNumberedTexts)
        if (text.id == id)
            return text.text;
    return CommandTexts(id).prompt;
}

// format with each "%s" replaced by the next argument; the arguments are not
// scanned, and a "%s" without an argument stays as it is.
inline std::string FormatText(std::string_view format,
                              std::initializer_list<std::string_view> args) {
    std::string out;
    const std::string_view* next = args.begin();
    for (size_t at = 0; at < format.size();) {
        const size_t mark = format.find("%s", at);
        if (mark == std::string_view::npos || next == args.end()) {
            out += format.substr(at);
            break;
        }
        out += format.substr(at, mark - at);
        out += *next++;
        at = mark + 2;
    }
    return out;
}

// --- Messages of the document --------------------------------------------

inline constexpr std::string_view kSaveChanges = "Save changes to %s?";
inline constexpr std::string_view kAddAffiliateNowCaption = "Hints";
inline constexpr std::string_view kAddAffiliateNow =
    "Do you want to add an affiliate to your product right now?";
inline constexpr std::string_view kNoMoreAffiliates =
    "No more affiliates can be added to this project.";
inline constexpr std::string_view kFileBeingChanged =
    "'%s' is being changed by another program. Try again in a moment.";
inline constexpr std::string_view kLockFileUnusable =
    "'%s' cannot be locked for saving: its lock file '%s' cannot be used.";
inline constexpr std::string_view kReloadChangedFile =
    "The file '%s' has been changed by another program. Reload it?";
inline constexpr std::string_view kReloadLosesChanges = "\nYour unsaved changes will be lost.";
inline constexpr std::string_view kOverwriteChangedFile =
    "The file '%s' has been changed by another program since it was opened. Overwrite it?";
inline constexpr std::string_view kStopBuildAndExit = "A build is running. Stop it and exit?";
inline constexpr std::string_view kHelpFileMissing = "The help file '%s' cannot be found.";
inline constexpr std::string_view kHelpFileNotOpened = "The help file '%s' could not be opened.";
inline constexpr std::string_view kDeleteAffiliates =
    "Do you want to delete all the selected affiliates?";
inline constexpr std::string_view kDeleteAffiliatesCaption = "Warning!";

// File choosers: a filter text is "Description|patterns|...||".
inline constexpr std::string_view kOpenTitle = "Open";
inline constexpr std::string_view kSaveAsTitle = "Save As";
inline constexpr std::string_view kProjectFileType = "Velkora Project (*.vkp)";
inline constexpr std::string_view kAllFilesType = "All Files (*.*)";
inline constexpr std::string_view kCsvFileType = "CSV Files (*.csv)";
inline constexpr std::string_view kSetupFileFilter =
    "Executable Files (*.exe)|*.exe|Windows Installer Package (*.MSI)|*.msi|Zip Files "
    "(*.zip)|*.zip;*.z|Rar archive (*.rar)|*.rar|All Files (*.*)|*.*||";
inline constexpr std::string_view kExecutableFilter = "Executable Files (*.exe)|*.exe||";
inline constexpr std::string_view kAffiliateSetupFilter = "Executable File(*.exe)|*.exe||";
inline constexpr std::string_view kTemplateFilter =
    "Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||";
inline constexpr std::string_view kReportFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
inline constexpr std::string_view kSelfCreatorFileName = "VelkSelfMaker.exe";

// --- CSV import and export -----------------------------------------------

inline constexpr std::string_view kImportAffiliatesTitle = "Import Affiliates";
inline constexpr std::string_view kImportSummary = "%s row(s) read: %s can be added, %s refused.";
inline constexpr std::string_view kImportIgnoredColumn = "\nIgnored column '%s'.";
inline constexpr std::string_view kImportRefusedLine = "\nLine %s: %s";
inline constexpr std::string_view kImportMoreRefusals = "\n... and %s more.";
inline constexpr std::string_view kImportNothingAdded = "\n\nNothing was added.";
inline constexpr std::string_view kImportAddGoodRows =
    "\n\nAdd the %s good row(s)? Choose No to add nothing.";
inline constexpr std::string_view kImportSaveReport =
    "The report lists %s of %s refused rows. Save the whole report to a file?";
inline constexpr std::string_view kImportFileError = "%s, line %s: %s.";
// The link advice of a refused row, worded for the window.
inline constexpr std::string_view kImportLinkAdvice = "in the file's \"Purchase Link\" column";
inline constexpr std::string_view kCannotRead = "Cannot read '%s'.";
inline constexpr std::string_view kCannotWrite = "Cannot write '%s'.";

// --- Welcome dialog ------------------------------------------------------

inline constexpr std::string_view kWelcomeCaption = "Welcome";
inline constexpr std::string_view kWelcomeCreate = "&Create a new %s";
inline constexpr std::string_view kWelcomeOpen = "&Open an existing %s";
inline constexpr std::string_view kDocumentTypeName = "Document";
inline constexpr std::string_view kWelcomeMoreFiles = "More files ...";

// --- About box -----------------------------------------------------------

inline constexpr std::string_view kAboutCaption = "About Velkora";
inline constexpr std::string_view kAboutVersion = "Version %s";
inline constexpr std::string_view kAboutDescription =
    "Custom setup files for the affiliates of your product.";
inline constexpr std::string_view kAboutCopyright = "Copyright (C) The Velkora developers";
inline constexpr std::string_view kAboutLicence = "Released under the MIT licence.";

// --- Program UUID dialog -------------------------------------------------

inline constexpr std::string_view kUuidCaption = "Program UUID";
inline constexpr std::string_view kUuidText = "Use the following program UUID (Universal Unique "
                                              "Identifier) in your application to call API "
                                              "functions.";
inline constexpr std::string_view kUuidCopy = "Copy to Clipboard";
inline constexpr std::string_view kUuidApply = "Apply";
inline constexpr std::string_view kUuidCopied = "Copied to clipboard successfully!";

// --- Product Settings ----------------------------------------------------

inline constexpr std::string_view kProductSettingsCaption = "Product Settings";
inline constexpr std::string_view kGeneralInfoPage = "General Info";
inline constexpr std::string_view kSetupFilesPage = "Setup Files";
inline constexpr std::string_view kRegistrationInfoPage = "Registration Info";
inline constexpr std::string_view kProgramTitleLabel = "Program Title:";
inline constexpr std::string_view kVersionLabel = "Version:";
inline constexpr std::string_view kWebSiteLabel = "Web site:";
inline constexpr std::string_view kProgramSetupFileLabel = "Program Setup File:";
inline constexpr std::string_view kOutputDirectoryLabel = "Output Directory:";
inline constexpr std::string_view kSelfMakerFileLabel = "Velkora Self Maker File:";
inline constexpr std::string_view kBrowseButton = "...";
inline constexpr std::string_view kRegInfoAdd = "Add";
inline constexpr std::string_view kRegInfoDelete = "Delete";
inline constexpr std::string_view kRegInfoSetDefault = "Set as Default";
inline constexpr std::string_view kRegInfoColumns[] = {"Service", "Product ID", "Purchase Link"};

// The folder browser of the output directory.
inline constexpr std::string_view kFolderBrowserCaption = "Browse";
inline constexpr std::string_view kFolderBrowserInstruction = "Select output directory.";
inline constexpr std::string_view kFolderInvalid =
    "The folder:\n\n%s\n\nis invalid. Please reenter.";
inline constexpr std::string_view kFolderCreate =
    "The folder:\n\n%s\n\ndoes not exist. Do you want the folder to be created?";
inline constexpr std::string_view kFolderNotCreated =
    "The folder:\n\n%s\n\ncan not be created. Please double check.";

// --- Affiliate dialog ----------------------------------------------------

inline constexpr std::string_view kAffiliateCaption = "Affiliate Property";
inline constexpr std::string_view kAffiliateNameLabel = "Affiliate Name:";
inline constexpr std::string_view kAffiliateServiceLabel = "Registration Service:";
inline constexpr std::string_view kAffiliateIdLabel = "Affiliate ID:";
inline constexpr std::string_view kAffiliateLinkLabel = "Affiliate Purchase Link:";
inline constexpr std::string_view kAffiliateWebSiteLabel = "Affiliate Website:";
inline constexpr std::string_view kAffiliateEmailLabel = "Contact Email:";
inline constexpr std::string_view kAffiliateSetupPathLabel = "Pathname for Affiliate Setup File:";
inline constexpr std::string_view kEmptyLink = "http://";
inline constexpr std::string_view kNoProductIdForService =
    "Product ID for '%s' does not exist. Add an ID for this service?";

// --- Product ID dialog ---------------------------------------------------

inline constexpr std::string_view kProductIdCaption = "New Product ID";
inline constexpr std::string_view kProductIdServiceLabel = "Registration Service";
inline constexpr std::string_view kProductIdLabel = "Product ID";
inline constexpr std::string_view kProductIdLinkLabel = "Purchase Link";
inline constexpr std::string_view kProductIdEmpty = "Product ID can't be null!";
inline constexpr std::string_view kProductIdBadService = "Invalid Registration Service!";

// --- New Project wizard --------------------------------------------------

inline constexpr std::string_view kWizardPageCaption = "Velkora Wizard";
inline constexpr std::string_view kWizardStep1Caption = "Velkora Wizard -Step1";
inline constexpr std::string_view kWizardStep2Caption = "Velkora Wizard -Step2";
inline constexpr std::string_view kWizardStep3Caption = "Velkora Wizard -Step3";
inline constexpr std::string_view kWizardBack = "< Back";
inline constexpr std::string_view kWizardNext = "Next >";
inline constexpr std::string_view kWizardFinish = "Finish";
inline constexpr std::string_view kWizardWelcomeHeading = "Welcome to the Velkora Wizard!";
inline constexpr std::string_view kWizardWelcomeBody =
    "This wizard will guide you through the process of creating a new Velkora project. The "
    "results will be used to generate custom setup files or saved on disk for later use.";
inline constexpr std::string_view kWizardWelcomeContinue =
    "Click Next to continue, or Cancel to exit this wizard.";
inline constexpr std::string_view kWizardProductName = "Product Name";
inline constexpr std::string_view kWizardProductVersion = "Product Version:";
inline constexpr std::string_view kWizardProductWebSite = "Product Web Site: ";
inline constexpr std::string_view kWizardSetupFile = "Setup file for your application:";
inline constexpr std::string_view kWizardOutputDir =
    "Output directory for affiliate custom builds:";
inline constexpr std::string_view kWizardSelfMaker = "Pathname for storing Velkora Self Maker:";
inline constexpr std::string_view kWizardService = "Product Registration Service:";
inline constexpr std::string_view kWizardProductId = "Product ID:";
inline constexpr std::string_view kWizardPurchaseLink = "Product Pruchase Link:";
inline constexpr std::string_view kWizardFinishDone =
    "You have successfully complete the Velkora Wizard.";
inline constexpr std::string_view kWizardFinishHint =
    "To close the wizard and generate the new project, click Finish.";

} // namespace apptext
