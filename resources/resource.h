// resource.h - numbers of the editor's resources: menus, accelerators, dialogs
// and their controls, strings, icons, bitmaps, toolbars, and the command ids
// that menus, toolbars and accelerators send.
//
// Usable from C++ and from the resource scripts (windres defines RC_INVOKED):
// outside the C++-only block at the end this file holds #define lines only.
//
// Framework-standard numbers (ID_FILE_*, ID_EDIT_*, AFX_IDS_* ...) are defined
// only when nobody defined them before, and with the very same spelling as the
// framework's own header <fx/uidefs.h>, so the two headers can be included in
// either order without a redefinition warning.
#ifndef QUILLMATE_RESOURCE_H
#define QUILLMATE_RESOURCE_H

// ===========================================================================
// Toolbar resources (resource type 241).
//
// A toolbar resource is a block of 16-bit little-endian words:
//     WORD version      always 1
//     WORD width        width of one button image in pixels
//     WORD height       height of one button image in pixels
//     WORD count        number of items that follow
//     WORD items[count] command id of each button in order; 0 is a separator
// The bitmap resource with the same id holds the button images side by side,
// one image per non-zero item, in item order: its width is
// (number of non-zero items) x width and its height is height.
// Images are 24-bit; the colour of the top-left pixel is transparent.
#define QM_RT_TOOLBAR_ID 241
#define QM_TOOLBAR_VERSION 1

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// ===========================================================================
// Shared resource ids: one number names the menu, accelerator table, icon and
// document string of a frame or document type.
#define IDR_MAINFRAME 128   // main menu, accelerators, program icon
#define IDR_TEXTTYPE 129    // text documents: menu, icon, document string
#define IDR_HEXTYPE 500     // hex documents
#define IDR_COMPARETYPE 501 // compare documents
#define IDR_PREVIEWTYPE 520 // HTML preview documents

// Context menus (the first popup of each is shown).
#define IDR_CONTEXT_HEX 117             // hex view: Undo, Redo, Cut, Copy, Paste
#define IDR_CONTEXT_PROJECT 133         // workspace tree, file entries
#define IDR_CONTEXT_TEMPLATE_FILE 138   // template tree, files
#define IDR_CONTEXT_TEMPLATE_FOLDER 139 // template tree, folders
#define IDR_CONTEXT_EDITOR 141          // text editor
#define IDR_CONTEXT_TABS 142            // document tabs
#define IDR_CONTEXT_COMPARE 143         // compare view
#define IDR_CONTEXT_FILETREE 180        // file-system tree

// Icons (the program icon and the document icons use the IDR_ ids above).
#define IDI_FIND 900
#define IDI_REPLACE 901
#define IDI_GOTO 902
#define IDI_MACRO 6020

// Bitmaps (besides the toolbar strips, which share their toolbar's id).
#define IDB_PANE_ICONS 150    // 16x16 icons of the docking panes, mask RGB(192,192,192)
#define IDB_TEMPLATE_TREE 155 // template tree images, mask RGB(192,192,192)
#define IDB_PROJECT_TREE 300  // workspace tree images, mask RGB(192,192,192)

// Toolbars (each with a bitmap of the same id).
#define IDR_TOOLBAR_FILETREE 260    // File Explorer pane: refresh
#define IDR_TOOLBAR_PREVIEW 280     // print preview toolbar of the preview view
#define IDR_TOOLBAR_PREVIEW_BAR 281 // preview bar handed to the print preview (also a dialog bar)
#define IDR_TOOLBAR_LARGE 303       // 24x24 images of the main toolbar's commands
#define IDR_TOOLBAR_MAIN 311        // the main toolbar
#define IDR_TOOLBAR_MENU_ICONS 316  // 16x16 images of menu commands not on the main toolbar
#define IDR_TOOLBAR_PROJECT 6004    // Project Explorer pane: folder commands

// ===========================================================================
// Strings.
#define IDS_OLE_INIT_FAILED 100    // deliberately has no entry in the string table
#define IDS_INDICATOR_LINECOL 130  // status pane 1: line and column / position
#define IDS_INDICATOR_PROGRESS 131 // status pane 6: progress bar
#define IDS_WORKSPACE_FILTER 132   // filter of the workspace file dialogs
#define IDS_UPDATE_URL 134         // the maker's web address (Check for Updates)
#define IDS_SAVE_CREATE_FAILED 10500
#define IDS_SEARCH_NOT_FOUND 10501
#define IDS_NO_OTHER_BOOKMARK 10502
#define IDS_FILTER_SAVE_FAILED 10503
#define IDS_FILTER_SELECT_FIRST 10504
#define IDS_SEARCH_VALUE_MISSING 10505
#define IDS_PROJECT_FOLDER_KEEP 10506
#define IDS_TEMPLATE_FOLDER_KEEP 10507
#define IDS_FIND_NOTHING_TO_DO 10508

// Status-bar indicators (ids whose strings size the panes).
#define ID_INDICATOR_LINECOL 130
#define ID_INDICATOR_PROGRESS 131
#define ID_INDICATOR_INS 59598
#ifndef ID_INDICATOR_CAPS
#define ID_INDICATOR_CAPS 0xE701
#endif
#ifndef ID_INDICATOR_NUM
#define ID_INDICATOR_NUM 0xE702
#endif
#ifndef ID_INDICATOR_SCRL
#define ID_INDICATOR_SCRL 0xE703
#endif

// Framework-standard strings.
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 0xE000
#endif
#ifndef AFX_IDS_IDLEMESSAGE
#define AFX_IDS_IDLEMESSAGE 0xE001
#endif
#ifndef AFX_IDS_HELPMODEMESSAGE
#define AFX_IDS_HELPMODEMESSAGE 0xE002
#endif
#ifndef AFX_IDS_SCFIRST
#define AFX_IDS_SCFIRST 0xEF00
#endif
#ifndef AFX_IDS_SCSIZE
#define AFX_IDS_SCSIZE 0xEF00
#endif
#ifndef AFX_IDS_SCMOVE
#define AFX_IDS_SCMOVE 0xEF01
#endif
#ifndef AFX_IDS_SCMINIMIZE
#define AFX_IDS_SCMINIMIZE 0xEF02
#endif
#ifndef AFX_IDS_SCMAXIMIZE
#define AFX_IDS_SCMAXIMIZE 0xEF03
#endif
#ifndef AFX_IDS_SCNEXTWINDOW
#define AFX_IDS_SCNEXTWINDOW 0xEF04
#endif
#ifndef AFX_IDS_SCPREVWINDOW
#define AFX_IDS_SCPREVWINDOW 0xEF05
#endif
#ifndef AFX_IDS_SCCLOSE
#define AFX_IDS_SCCLOSE 0xEF06
#endif
#ifndef AFX_IDS_SCRESTORE
#define AFX_IDS_SCRESTORE 0xEF12
#endif
#ifndef AFX_IDS_SCTASKLIST
#define AFX_IDS_SCTASKLIST 0xEF13
#endif
#ifndef AFX_IDS_MDICHILD
#define AFX_IDS_MDICHILD 0xEF1F
#endif
#ifndef AFX_IDS_HIDE
#define AFX_IDS_HIDE 0xF011
#endif
#ifndef AFX_IDP_COMMAND_FAILURE
#define AFX_IDP_COMMAND_FAILURE 0xF109
#endif

// ===========================================================================
// Framework-standard command ids used by the editor.
#ifndef ID_FILE_NEW
#define ID_FILE_NEW 0xE100
#endif
#ifndef ID_FILE_OPEN
#define ID_FILE_OPEN 0xE101
#endif
#ifndef ID_FILE_CLOSE
#define ID_FILE_CLOSE 0xE102
#endif
#ifndef ID_FILE_SAVE
#define ID_FILE_SAVE 0xE103
#endif
#ifndef ID_FILE_SAVE_AS
#define ID_FILE_SAVE_AS 0xE104
#endif
#ifndef ID_FILE_PRINT
#define ID_FILE_PRINT 0xE107
#endif
#ifndef ID_FILE_PRINT_DIRECT
#define ID_FILE_PRINT_DIRECT 0xE108
#endif
#ifndef ID_FILE_PRINT_PREVIEW
#define ID_FILE_PRINT_PREVIEW 0xE109
#endif
#ifndef ID_FILE_SEND_MAIL
#define ID_FILE_SEND_MAIL 0xE10C
#endif
#ifndef ID_FILE_MRU_FILE1
#define ID_FILE_MRU_FILE1 0xE110
#endif
#ifndef ID_FILE_MRU_FILE2
#define ID_FILE_MRU_FILE2 0xE111
#endif
#ifndef ID_FILE_MRU_FILE3
#define ID_FILE_MRU_FILE3 0xE112
#endif
#ifndef ID_FILE_MRU_FILE4
#define ID_FILE_MRU_FILE4 0xE113
#endif
#ifndef ID_EDIT_CLEAR
#define ID_EDIT_CLEAR 0xE120
#endif
#ifndef ID_EDIT_COPY
#define ID_EDIT_COPY 0xE122
#endif
#ifndef ID_EDIT_CUT
#define ID_EDIT_CUT 0xE123
#endif
#ifndef ID_EDIT_FIND
#define ID_EDIT_FIND 0xE124
#endif
#ifndef ID_EDIT_PASTE
#define ID_EDIT_PASTE 0xE125
#endif
#ifndef ID_EDIT_REPLACE
#define ID_EDIT_REPLACE 0xE129
#endif
#ifndef ID_EDIT_SELECT_ALL
#define ID_EDIT_SELECT_ALL 0xE12A
#endif
#ifndef ID_EDIT_UNDO
#define ID_EDIT_UNDO 0xE12B
#endif
#ifndef ID_EDIT_REDO
#define ID_EDIT_REDO 0xE12C
#endif
#ifndef ID_WINDOW_ARRANGE
#define ID_WINDOW_ARRANGE 0xE131
#endif
#ifndef ID_WINDOW_CASCADE
#define ID_WINDOW_CASCADE 0xE132
#endif
#ifndef ID_WINDOW_TILE_HORZ
#define ID_WINDOW_TILE_HORZ 0xE133
#endif
#ifndef ID_APP_ABOUT
#define ID_APP_ABOUT 0xE140
#endif
#ifndef ID_APP_EXIT
#define ID_APP_EXIT 0xE141
#endif
#ifndef ID_HELP_INDEX
#define ID_HELP_INDEX 0xE142
#endif
#ifndef ID_HELP_FINDER
#define ID_HELP_FINDER 0xE143
#endif
#ifndef ID_CONTEXT_HELP
#define ID_CONTEXT_HELP 0xE145
#endif
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif
#ifndef ID_DEFAULT_HELP
#define ID_DEFAULT_HELP 0xE147
#endif

// Print preview bar commands and the two page-count pictures.
#ifndef AFX_ID_PREVIEW_CLOSE
#define AFX_ID_PREVIEW_CLOSE 0xE300
#endif
#ifndef AFX_ID_PREVIEW_NUMPAGE
#define AFX_ID_PREVIEW_NUMPAGE 0xE301
#endif
#ifndef AFX_ID_PREVIEW_NEXT
#define AFX_ID_PREVIEW_NEXT 0xE302
#endif
#ifndef AFX_ID_PREVIEW_PREV
#define AFX_ID_PREVIEW_PREV 0xE303
#endif
#ifndef AFX_ID_PREVIEW_PRINT
#define AFX_ID_PREVIEW_PRINT 0xE304
#endif
#ifndef AFX_ID_PREVIEW_ZOOMIN
#define AFX_ID_PREVIEW_ZOOMIN 0xE305
#endif
#ifndef AFX_ID_PREVIEW_ZOOMOUT
#define AFX_ID_PREVIEW_ZOOMOUT 0xE306
#endif
#define ID_PREVIEW_ONEPAGE 61505 // picture of the page button while two pages show
#define ID_PREVIEW_TWOPAGE 61506 // picture of the page button while one page shows

// Framework-standard child window ids the editor's windows use.
#ifndef AFX_IDW_TOOLBAR
#define AFX_IDW_TOOLBAR 0xE800
#endif
#ifndef AFX_IDW_STATUS_BAR
#define AFX_IDW_STATUS_BAR 0xE801
#endif
#ifndef AFX_IDW_PANE_FIRST
#define AFX_IDW_PANE_FIRST 0xE900
#endif

// ===========================================================================
// Editor commands.

// File.
#define ID_FILE_NEW_FROM_TEMPLATE 32774
#define ID_FILE_NEW_WORKSPACE 32775
#define ID_FILE_OPEN_HEX 32790
#define ID_FILE_COMPARE 32831
#define ID_FILE_SAVE_ALL 32806
#define ID_FILE_PAGE_SETUP_EX 32800
#define ID_FILE_PREVIEW_BROWSER 521
#define ID_FILE_DOCUMENT_HISTORY 7500
#define ID_FILE_COPY_PATH 28000
#define ID_FILE_OPEN_IN_EXPLORER 28001
#define ID_FILE_PROPERTIES 32773

// Workspace.
#define ID_WORKSPACE_OPEN 32777
#define ID_WORKSPACE_CLOSE 32778
#define ID_WORKSPACE_SAVE 32807
#define ID_WORKSPACE_ADD_FOLDER 6000
#define ID_WORKSPACE_DELETE_FOLDER 6001
#define ID_WORKSPACE_RENAME_FOLDER 6002
#define ID_PROJECT_OPEN 32772
#define ID_PROJECT_REMOVE 32779

// Edit.
#define ID_EDIT_CUT_APPEND 32851
#define ID_EDIT_COPY_APPEND 32852
#define ID_EDIT_SELECT_WORD 32843
#define ID_EDIT_SELECT_LINE 32844
#define ID_EDIT_INSERT_DATE 32849
#define ID_EDIT_INSERT_TIME 32850
#define ID_EDIT_INSERT_FILENAME 32900
#define ID_EDIT_CUT_LINE 32794
#define ID_EDIT_COPY_LINE 32781
#define ID_EDIT_DELETE_WORD 32786
#define ID_EDIT_DELETE_TO_EOL 7001
#define ID_EDIT_DELETE_LINE 32785
#define ID_EDIT_SWAP_LINES 32792
#define ID_EDIT_UPPER_CASE 32846
#define ID_EDIT_LOWER_CASE 32847
#define ID_EDIT_INDENT_RIGHT 32821
#define ID_EDIT_INDENT_LEFT 32822
#define ID_EDIT_COMMENT 32825
#define ID_EDIT_UNCOMMENT 32826
#define ID_EDIT_TABS_TO_SPACES 9005
#define ID_EDIT_SPACES_TO_TABS 9006
#define ID_EDIT_TRIM_TRAILING 9007
#define ID_EDIT_TEMPLATE_FROM_SELECTION 32780

// Search and navigation.
#define ID_SEARCH_FIND_NEXT 149
#define ID_SEARCH_FIND_PREVIOUS 32841
#define ID_SEARCH_GOTO 161
#define ID_SEARCH_FIND_IN_FILES 9000
#define ID_FIND_BOX 5000 // the find box on the main toolbar
#define ID_NAVIGATE_FORWARD 9002
#define ID_NAVIGATE_BACKWARD 9003
#define ID_BOOKMARK_TOGGLE 5007
#define ID_BOOKMARK_NEXT 5009
#define ID_BOOKMARK_PREVIOUS 5010
#define ID_BOOKMARK_CLEAR 5011

// View: panes (the ids are also the pane ids).
#define ID_VIEW_LIST_EXPLORER 59510
#define ID_VIEW_FILE_EXPLORER 59585
#define ID_VIEW_PROJECT_EXPLORER 59586
#define ID_VIEW_SHOW_ALL_WINDOWS 59587
#define ID_VIEW_TEMPLATE_EXPLORER 59588
#define ID_PANE_SPARE 59589 // one more picture in the pane icon strip
#define ID_VIEW_TOOL_WINDOW 59590
#define ID_VIEW_FIND_IN_FILES 59591
#define ID_VIEW_FUNCTION_LIST 59599
#define ID_VIEW_REFRESH_FILE_TREE 6007
#define ID_VIEW_REFRESH_FUNCTION_LIST 6011

// View: text view settings.
#define ID_VIEW_WHITESPACE 31000
#define ID_VIEW_WORD_WRAP 31001
#define ID_VIEW_LINE_ENDINGS 31002
#define ID_VIEW_CARET_LINE 32787
#define ID_VIEW_LINE_NUMBERS 213
#define ID_VIEW_CODE_FOLDING 32788
#define ID_VIEW_RULER 1902
#define ID_VIEW_BLOCK_SELECT 9008
#define ID_VIEW_MATCH_BRACKET 32789
#define ID_VIEW_FONT 32820

// View As: one entry per syntax configuration, then More.
#define ID_VIEW_AS_FIRST 25102
#define ID_VIEW_AS_LAST 25127
#define ID_VIEW_AS_MORE 25128

// Themes.
#define ID_THEME_WIN2000 720
#define ID_THEME_WINXP 721
#define ID_THEME_WHIDBEY 722
#define ID_THEME_OFFICEXP 723
#define ID_THEME_OFFICE2003 724

// Document tabs and windows.
#define ID_TABS_ALIGN_LEFT 32801
#define ID_TABS_ALIGN_RIGHT 32802
#define ID_TABS_ALIGN_TOP 32803
#define ID_TABS_ALIGN_BOTTOM 32804
#define ID_TABS_HIDE 32805
#define ID_WINDOW_CLOSE_ALL_BUT 28002
#define ID_WINDOW_LIST 35000 // placeholder the command bars fill with the open windows

// Tools.
#define ID_TOOLS_LIST 1227 // placeholder of the external tools list
#define ID_TOOLS_ITEM 1229 // each external tool in that list
#define ID_TOOLS_STOP_USER_TOOL 651
#define ID_TOOLS_EXTERNAL_WIZARD 34000
#define ID_TOOLS_CREATE_TOOLBARS 34020
#define ID_TOOLS_EDIT_MENUS 34021
#define ID_TOOLS_KEYBOARD 34022
#define ID_TOOLS_PRESENTATION 34023
#define ID_TOOLS_CUSTOMIZE 35001
#define ID_TOOLS_EDITOR_PROPERTIES 38806
#define ID_TOOLS_TIDY_PROPERTIES 1302
#define ID_TOOLS_XML_TIDY_PROPERTIES 1309
#define ID_TOOLS_SPELLING 380
#define ID_TOOLS_TIDY_HTML 1305
#define ID_TOOLS_TIDY_XHTML 1306
#define ID_TOOLS_TIDY_XML 1307
#define ID_TOOLS_XML_CHECK 1308
#define ID_MACRO_RECORD 6025
#define ID_MACRO_STOP 6012
#define ID_MACRO_PLAY 6013

// Help.
#define ID_HELP_TOPICS 32827
#define ID_HELP_CONTENTS 32828
#define ID_HELP_SEARCH 32830
#define ID_HELP_CHECK_UPDATES 9500
#define ID_HELP_CHECK_UPDATES_SITE 250 // opens the installer's "CheckForUpdates" address

// Template explorer.
#define ID_TEMPLATE_ADD_TO_DOCUMENT 32600
#define ID_TEMPLATE_COPY 32601
#define ID_TEMPLATE_CREATE 32782
#define ID_TEMPLATE_EDIT 32783
#define ID_TEMPLATE_DELETE 32784
#define ID_TEMPLATE_RENAME_FOLDER 32786 // same number as ID_EDIT_DELETE_WORD
#define ID_TEMPLATE_CREATE_FOLDER 40000
#define ID_TEMPLATE_DELETE_FOLDER 40001

// Hex find dialog command (also in the main accelerator table).
#define ID_HEX_FIND 59593

// Window ids of child controls created in code.
#define IDC_SCINTILLA 32785 // the editing window of a text view
#define IDC_COMPARE_WINDOW 5005
#define IDC_BYTEGRID_WINDOW 1
#define IDC_RESULTS_LIST 1050 // List Explorer entries
#define IDC_LIST_CATEGORY 9009
#define IDC_TIDY_GRID 1304
#define IDC_STATUS_BAR 59393

// ===========================================================================
// Dialog templates and their controls.

// Go to line.
#define IDD_GOTO 131
#define IDC_GOTO_LABEL 1000
#define IDC_GOTO_LINE 1001

// File properties.
#define IDD_FILE_INFO 132
#define IDC_INFO_ICON 1004
#define IDC_INFO_NAME 1005
#define IDC_INFO_FOLDER 1006
#define IDC_INFO_SIZE 1007
#define IDC_INFO_CREATED 1008
#define IDC_INFO_MODIFIED 1009
#define IDC_INFO_ACCESSED 1010
#define IDC_INFO_READONLY 1011
#define IDC_INFO_TYPE 1012
#define IDC_INFO_HIDDEN 1013

// Document backups.
#define IDD_BACKUP_HISTORY 139
#define IDC_BACKUP_LIST 1026

// Find in files.
#define IDD_FIND_IN_FILES 140
#define IDC_FIF_TEXT 1018
#define IDC_FIF_TYPES 8001
#define IDC_FIF_FOLDER 1028
#define IDC_FIF_OPTIONS 1032
#define IDC_FIF_MATCH_CASE 1008
#define IDC_FIF_WHOLE_WORD 1009
#define IDC_FIF_REGEX 1010
#define IDC_FIF_SUBFOLDERS 1031
#define IDC_FIF_FIND 5080
#define IDC_FIF_BROWSE 1030
#define IDC_FIF_STOP 1002
#define IDC_FIF_HELP 1015

// About box.
#define IDD_ABOUTBOX 141
#define IDC_ABOUT_CREDIT 1042

// Find.
#define IDD_FIND 151
#define IDC_FIND_TEXT 1018
#define IDC_FIND_MATCH_CASE 1008
#define IDC_FIND_WHOLE_WORD 1009
#define IDC_FIND_REGEX 1010
#define IDC_FIND_WRAP 1021
#define IDC_FIND_UP 1019
#define IDC_FIND_DOWN 1020
#define IDC_FIND_NEXT 5080
#define IDC_FIND_MARK_ALL 1011

// Additions to the open and save file dialogs.
#define IDD_OPEN_EXTRA 800
#define IDD_SAVE_EXTRA 5076
#define IDC_FILE_VIEW_AS 801
#define IDC_FILE_ENCODING 802
#define IDC_FILE_LINE_ENDING 1017

// Customize: tools page.
#define IDD_CUSTOMIZE_TOOLS 1226
#define IDC_TOOLS_LIST 1228
#define IDC_TOOLS_COMMAND_LABEL 1230
#define IDC_TOOLS_ARGS_LABEL 1231
#define IDC_TOOLS_FOLDER_LABEL 1232
#define IDC_TOOLS_COMMAND 1233
#define IDC_TOOLS_ARGS 1234
#define IDC_TOOLS_FOLDER 1235
#define IDC_TOOLS_OUTPUT 1236
#define IDC_TOOLS_OUTPUT_LABEL 1237

// HTML Tidy options page.
#define IDD_TIDY_PAGE 1300
#define IDC_TIDY_PLACEHOLDER 1301

// Options pages.
#define IDD_PAGE_FILE_FILTER 3000
#define IDC_FILTER_LIST 3004
#define IDC_FILTER_ADD 3005
#define IDC_FILTER_DELETE 3006
#define IDC_FILTER_TEST 3007
#define IDC_FILTER_LABEL 3008
#define IDC_FILTER_EXTENSION 3009

#define IDD_PAGE_BACKUP 3001
#define IDC_BACKUP_DELETE_FILES 1002
#define IDC_BACKUP_FOLDER 1006
#define IDC_BACKUP_ENABLE 3010
#define IDC_BACKUP_GROUP 3011
#define IDC_BACKUP_FOLDER_LABEL 3012
#define IDC_BACKUP_VERSIONS_LABEL 3013
#define IDC_BACKUP_VERSIONS_HINT 3014
#define IDC_BACKUP_VERSIONS_SPIN 3015
#define IDC_BACKUP_VERSIONS 3016
#define IDC_BACKUP_DELETE_ON_EXIT 3017
#define IDC_BACKUP_DELETE_LABEL 3018

#define IDD_PAGE_SYNTAX 3002
#define IDC_SYNTAX_TYPE 1012
#define IDC_SYNTAX_TYPE_LABEL 1022
#define IDC_SYNTAX_STYLES_LABEL 1023
#define IDC_SYNTAX_FORE_LABEL 1024
#define IDC_SYNTAX_BACK_LABEL 1025
#define IDC_SYNTAX_STYLES 3019
#define IDC_SYNTAX_FORE 3020
#define IDC_SYNTAX_BACK 3021
#define IDC_SYNTAX_SAMPLE 3030
#define IDC_SYNTAX_DEFAULT 3041

#define IDD_PAGE_GENERAL 3003
#define IDC_GENERAL_TABS_AS_SPACES 3022
#define IDC_GENERAL_TAB_GUIDES 3023
#define IDC_GENERAL_TAB_WIDTH 3024
#define IDC_GENERAL_TAB_WIDTH_SPIN 3025
#define IDC_GENERAL_CARET_COLOUR 3026
#define IDC_GENERAL_PRINT_HEADER 3027
#define IDC_GENERAL_PRINT_FOOTER 3028
#define IDC_GENERAL_PRINT_LINES 3029
#define IDC_GENERAL_CARET_ALPHA 1033
#define IDC_GENERAL_REMEMBER_FILES 6010

#define IDD_PAGE_GENERAL_MORE 3040
#define IDC_MORE_SHELL_MENU 1008
#define IDC_MORE_RESET_UNDO 1034
#define IDC_MORE_LARGE_ICONS 1900
#define IDC_MORE_SMALL_ICONS 1901
#define IDC_MORE_THEME 1903

#define IDD_PAGE_DICTIONARY 3042
#define IDC_DICT_FOLDER 1006
#define IDC_DICT_FOLDER_LABEL 3012
#define IDC_DICT_NAME 1408
#define IDC_DICT_NAME_LABEL 1410

// Macros.
#define IDD_MACROS 6014
#define IDC_MACRO_RUN 6015
#define IDC_MACRO_DELETE 6017
#define IDC_MACRO_LIST 6018
#define IDC_MACRO_RENAME 6022

#define IDD_NEW_MACRO 6021
#define IDC_NEW_MACRO_NAME 6019

// Compare files.
#define IDD_COMPARE 103
#define IDC_COMPARE_FIRST 1020
#define IDC_COMPARE_SECOND 1021
#define IDC_COMPARE_BROWSE_FIRST 1022
#define IDC_COMPARE_BROWSE_SECOND 1023

// Hex find and hex go to.
#define IDD_HEX_FIND 110
#define IDC_HEX_FIND_TEXT 59592
#define IDC_HEX_FIND_BUTTON 59593
#define IDC_HEX_MATCH_CASE 59594
#define IDC_HEX_SEARCH_ASCII 59595
#define IDC_HEX_UP 59596
#define IDC_HEX_DOWN 59597

#define IDD_HEX_GOTO 142
#define IDC_HEX_GOTO_OFFSET 1014
#define IDC_HEX_GOTO_DECIMAL 1037
#define IDC_HEX_GOTO_HEX 1038
#define IDC_HEX_GOTO_LENGTH 1039

// Templates and naming.
#define IDD_TEMPLATE_MANAGER 137
#define IDC_TEMPLATE_NAME 1014
#define IDC_TEMPLATE_TEXT 1016

#define IDD_NEW_FROM_TEMPLATE 150
#define IDC_NEW_TEMPLATE_TREE 1006

#define IDD_REPLACE 152
#define IDC_REPLACE_FIND 5081
#define IDC_REPLACE_WITH 5082
#define IDC_REPLACE_WHOLE_WORD 5083
#define IDC_REPLACE_MATCH_CASE 5084
#define IDC_REPLACE_REGEX 1008
#define IDC_REPLACE_SCOPE 1025
#define IDC_REPLACE_SCOPE_DOCUMENT 1018
#define IDC_REPLACE_SCOPE_SELECTION 1019
#define IDC_REPLACE_FIND_NEXT 5080
#define IDC_REPLACE_ONE 5087
#define IDC_REPLACE_ALL 5088

#define IDD_VIEW_AS 153
#define IDC_VIEW_AS_LIST 1009

// Spelling.
#define IDD_SPELL_CHECK 1400
#define IDC_SPELL_WORD 1401
#define IDC_SPELL_SUGGESTIONS 1402
#define IDC_SPELL_IGNORE 1403
#define IDC_SPELL_IGNORE_ALL 1404
#define IDC_SPELL_ADD 1405
#define IDC_SPELL_CHANGE 1406
#define IDC_SPELL_SUGGESTIONS_LABEL 1409

// Print preview bar (dialog form of IDR_TOOLBAR_PREVIEW_BAR).
#define IDD_PREVIEW_BAR 281

// ===========================================================================
#if !defined(RC_INVOKED)
// The toolbar resource type for FindResource, and the header of a toolbar
// resource as laid out above.
#ifndef RT_TOOLBAR
#define RT_TOOLBAR MAKEINTRESOURCE(QM_RT_TOOLBAR_ID)
#endif

struct QmToolbarResource {
    unsigned short version; // QM_TOOLBAR_VERSION
    unsigned short width;   // button image width in pixels
    unsigned short height;  // button image height in pixels
    unsigned short count;   // number of items following
    // unsigned short items[count]: command ids, 0 for a separator
};
#endif

#endif // QUILLMATE_RESOURCE_H
