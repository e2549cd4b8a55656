// qxresource.h - numbers of the toolkit's own resources: the cursors,
// pictures, toolbars, menus and strings that the foundation, the controls,
// the command bars and the docking panes load from the program's module.
// toolkit.rc holds the resources; README.md says how to add one.
//
// Usable from C++ and from resource scripts (windres defines RC_INVOKED):
// outside the C++ block at the end this file holds #define lines only. Each
// number is defined here once, and the toolkit's code names it instead of
// writing the number. Prefixes: QX_IDC_ cursor, QX_IDB_ bitmap, QX_IDR_ menu,
// or toolbar with its bitmap strip, QX_IDS_ string; QX_ID_ are the command
// ids the resources send.
//
// Ranges (the same in every program that carries the toolkit): 9100-9299
// command bars and the MDI tab client, 9300-9399 foundation and standard
// controls, 9450-9499 docking panes, 9500-9599 property grid, 9600-9699
// ribbon, 9800-9899 tab manager, 9970-9979 cursors shared by the libraries.
#ifndef QX_RESOURCE_H
#define QX_RESOURCE_H

// The toolbar resource type (RT_TOOLBAR): WORD version (1), WORD width, WORD
// height, WORD count, then count WORD command ids, 0 for a separator. The
// bitmap of the same id holds one picture per non-zero id, side by side.
#define QX_RT_TOOLBAR_ID 241

// Command ids of the edit menu (the framework's standard edit commands).
#define QX_ID_EDIT_CLEAR 57632
#define QX_ID_EDIT_COPY 57634
#define QX_ID_EDIT_CUT 57635
#define QX_ID_EDIT_PASTE 57637
#define QX_ID_EDIT_SELECT_ALL 57642
#define QX_ID_EDIT_UNDO 57643

// ===========================================================================
// Command bars and the MDI tab client (9100-9299).

// Cursors of a document tab dragged out of its strip: over the MDI client
// (it may go to another group), and outside it (no place to drop).
#define QX_IDC_TAB_DRAG 9108
#define QX_IDC_TAB_NODROP 9109

// The question asked when the program's toolbar changed since the user
// customized it; %s is the toolbar's title.
#define QX_IDS_TOOLBAR_CHANGED 9177
// Tooltip of the tab strip's button that lists the open documents.
#define QX_IDS_ACTIVE_FILES 9185
// The tab-group commands of the MDI tab client, and the popup's item that
// drops a dragged tab nowhere; their captions (strings of the same id).
#define QX_ID_WORKSPACE_MOVEPREVIOUS 9155
#define QX_ID_WORKSPACE_MOVENEXT 9156
#define QX_ID_WORKSPACE_NEWHORIZONTAL 9157
#define QX_ID_WORKSPACE_NEWVERTICAL 9158
#define QX_ID_WORKSPACE_CANCEL 9159
#define QX_IDS_WORKSPACE_MOVEPREVIOUS 9155
#define QX_IDS_WORKSPACE_MOVENEXT 9156
#define QX_IDS_WORKSPACE_NEWHORIZONTAL 9157
#define QX_IDS_WORKSPACE_NEWVERTICAL 9158
#define QX_IDS_WORKSPACE_CANCEL 9159

// Customize mode: the bitmaps of the button editor's tools (24-bit on the
// mask colour #C0C0C0, and the same with alpha) and the strip of stock
// button pictures (16x16 on magenta, as many as its width holds).
#define QX_IDB_EDITOR_TOOLS 9100
#define QX_IDB_EDITOR_TOOLS_ALPHA 9101
#define QX_IDB_STOCK_PICTURES 9103
// The caption buttons of a maximised document on the menu bar: Restore,
// Minimize, Maximize and Close, 16x16 on magenta.
#define QX_IDB_MDI_BUTTONS 9102
// The pictures of New Horizontal Tab Group and New Vertical Tab Group,
// 16x16 on green (#00FF00).
#define QX_IDB_TAB_GROUPS 9104
// Cursors of a customize drag: copy, move, no bar takes it.
#define QX_IDC_CUSTOMIZE_COPY 9105
#define QX_IDC_CUSTOMIZE_MOVE 9106
#define QX_IDC_CUSTOMIZE_NODROP 9107
// Cursors of the button editor: line and shapes, pick colour, fill, pencil.
#define QX_IDC_EDITOR_LINE 9110
#define QX_IDC_EDITOR_PICK 9111
#define QX_IDC_EDITOR_FILL 9112
#define QX_IDC_EDITOR_PENCIL 9113
// The button editor dialog and its controls.
#define QX_IDD_BUTTON_EDITOR 9115
#define QX_CID_EDITOR_CANVAS 100
#define QX_CID_EDITOR_PREVIEW 101
#define QX_CID_EDITOR_COLORS 102
#define QX_CID_EDITOR_TOOLS 103
#define QX_CID_EDITOR_MOVE 104
#define QX_CID_EDITOR_TRANSPARENT 105
#define QX_CID_EDITOR_CUSTOMCOLOR 106
#define QX_ID_EDITOR_MOVE_LEFT 107
#define QX_ID_EDITOR_MOVE_DOWN 108
#define QX_ID_EDITOR_MOVE_UP 109
#define QX_ID_EDITOR_MOVE_RIGHT 110
// The context menu of a control while customizing (its first popup) and
// its commands.
#define QX_IDR_CUSTOMIZE_MENU 9121
#define QX_ID_CUSTOMIZE_RESET 9123
#define QX_ID_CUSTOMIZE_DELETE 9124
#define QX_ID_CUSTOMIZE_NAME 9125
#define QX_ID_CUSTOMIZE_COPYIMAGE 9126
#define QX_ID_CUSTOMIZE_PASTEIMAGE 9127
#define QX_ID_CUSTOMIZE_RESETIMAGE 9128
#define QX_ID_CUSTOMIZE_EDITIMAGE 9129
#define QX_ID_CUSTOMIZE_CHANGEIMAGE 9130
#define QX_ID_CUSTOMIZE_DEFAULTSTYLE 9131
#define QX_ID_CUSTOMIZE_IMAGEANDTEXT 9132
#define QX_ID_CUSTOMIZE_TEXTONLY 9133
#define QX_ID_CUSTOMIZE_BEGINGROUP 9134
// The customize sheet ("Customize", also the ribbon's customize command),
// its pages and the name dialog of a new or renamed toolbar.
#define QX_IDD_CUSTOMIZE_MENUS 9114    // "&Menus" page
#define QX_IDD_CUSTOMIZE_KEYBOARD 9116 // "&Keyboard" page
#define QX_IDD_CUSTOMIZE_TOOLBARS 9117 // "Tool&bars" page
#define QX_IDD_CUSTOMIZE_OPTIONS 9118  // "&Options" page
#define QX_IDD_CUSTOMIZE_COMMANDS 9119 // "&Commands" page
#define QX_IDD_NEW_TOOLBAR 9120        // "New Toolbar"
// Controls of the pages and of the name dialog (page-local ids).
#define QX_CID_TOOLBARS_LIST 100 // check list of the bars
#define QX_CID_TOOLBARS_NEW 101
#define QX_CID_TOOLBARS_RENAME 102
#define QX_CID_TOOLBARS_DELETE 103
#define QX_CID_TOOLBARS_RESET 104
#define QX_CID_COMMANDS_CATEGORIES 100
#define QX_CID_COMMANDS_LIST 101 // owner-drawn: one control per item
#define QX_CID_MENUS_APP_TITLE 100
#define QX_CID_MENUS_CONTEXT_TITLE 101
#define QX_CID_MENUS_SHOW 102
#define QX_CID_MENUS_RESET 103
#define QX_CID_MENUS_CONTEXT 104
#define QX_CID_MENUS_CONTEXT_RESET 105
#define QX_CID_MENUS_DESCRIPTION 106 // "name\ndescription" of the default menu
#define QX_CID_MENUS_ICON 107
#define QX_CID_OPTIONS_FULL_MENUS 100
#define QX_CID_OPTIONS_FULL_AFTER_DELAY 101
#define QX_CID_OPTIONS_RESET_USAGE 102
#define QX_CID_OPTIONS_LARGE_ICONS 103
#define QX_CID_OPTIONS_SCREENTIPS 104
#define QX_CID_OPTIONS_SHORTCUT_TIPS 105
#define QX_CID_OPTIONS_ANIMATION 106
#define QX_CID_OPTIONS_OTHER_TITLE 107
#define QX_CID_OPTIONS_PERSONAL_TITLE 108
#define QX_CID_KEYBOARD_CATEGORY 100
#define QX_CID_KEYBOARD_COMMANDS 102
#define QX_CID_KEYBOARD_KEYS 104
#define QX_CID_KEYBOARD_SHORTCUT 106
#define QX_CID_KEYBOARD_ASSIGN 107
#define QX_CID_KEYBOARD_REMOVE 108
#define QX_CID_KEYBOARD_RESET_ALL 109
#define QX_CID_KEYBOARD_DESCRIPTION 111
#define QX_CID_NEW_TOOLBAR_NAME 100
// Tooltips of the button editor's commands: the string of a command's id
// holds its tooltip after the newline. The tools are 9135 + the tool's number.
#define QX_IDS_EDITOR_PENCIL 9135
#define QX_IDS_EDITOR_FILL 9136
#define QX_IDS_EDITOR_PICK 9137
#define QX_IDS_EDITOR_LINE 9138
#define QX_IDS_EDITOR_RECTANGLE 9139
#define QX_IDS_EDITOR_ELLIPSE 9140
#define QX_IDS_EDITOR_COPY 9141
#define QX_IDS_EDITOR_PASTE 9142
#define QX_IDS_EDITOR_CLEAR 9143
#define QX_IDS_EDITOR_UNDO 9144
#define QX_IDS_EDITOR_REDO 9145
#define QX_IDS_EDITOR_IMPORT 9146
// The picture filter of the editor's Import from File.
#define QX_IDS_PICTURE_FILTER 9178
// Import from File refused a file (%1: its path).
#define QX_IDS_PICTURE_UNREADABLE 9171

// Tooltips of a toolbar's caption buttons (strings of the buttons' ids).
#define QX_IDS_TOOLBAR_EXPAND 9148 // "\nToolbar Options"
#define QX_IDS_TOOLBAR_CLOSE 9149  // "\nClose"

// Texts and questions of the customize sheet and its pages.
#define QX_IDS_CUSTOMIZE_CLOSE 9160     // the sheet's Cancel button
#define QX_IDS_CUSTOMIZE 9161           // the sheet's caption
#define QX_IDS_NEW_MENU 9162            // the Commands page's new-menu category
#define QX_IDS_CUSTOM_TOOLBAR_NAME 9163 // "Custom %d"
#define QX_IDS_TOOLBAR_NAME_BLANK 9164
#define QX_IDS_TOOLBAR_LIMIT 9165
#define QX_IDS_TOOLBAR_NAME_EXISTS 9166    // %s: the name
#define QX_IDS_RENAME_TOOLBAR 9167         // the name dialog's caption for a rename
#define QX_IDS_CONFIRM_DELETE_TOOLBAR 9168 // %s: the bar's title
#define QX_IDS_ALL_COMMANDS 9169
#define QX_IDS_CONFIRM_RESET_USAGE 9170
#define QX_IDS_CONFIRM_RESET_TOOLBAR 9173 // %s: the bar's title
#define QX_IDS_BUILTIN_MENUS 9174
#define QX_IDS_CONFIRM_RESET_KEYS 9175
#define QX_IDS_CONFIRM_REASSIGN_KEY 9176
// The menu animations of the Options page, in the order of the setting.
#define QX_IDS_ANIMATION_SYSTEM 9179
#define QX_IDS_ANIMATION_RANDOM 9180
#define QX_IDS_ANIMATION_UNFOLD 9181
#define QX_IDS_ANIMATION_SLIDE 9182
#define QX_IDS_ANIMATION_FADE 9183
#define QX_IDS_ANIMATION_NONE 9184

// ===========================================================================
// Foundation and standard controls (9300-9399).

// The browse button's arrows: eight 11x11 images on magenta; image 4 is the
// arrow of a button that opens a menu.
#define QX_IDB_BROWSE_ARROWS 9300
// The edit list's title strip: four 14x12 images on magenta (New, Delete,
// Move Up, Move Down).
#define QX_IDB_EDITLIST_STRIP 9304

// Cursors of the global UI record: dragging that moves, that copies, and
// that cannot drop.
#define QX_IDC_DRAG_MOVE 9308
#define QX_IDC_DRAG_COPY 9309
#define QX_IDC_DRAG_NONE 9311

// The edit menu: its second popup is the toolkit edit control's context menu.
#define QX_IDR_EDIT_MENU 9316
// The toolbar whose pictures the edit menu shows (Undo, Cut, Copy, Paste,
// Delete), 16x16 on magenta.
#define QX_IDR_EDIT_MENU_ICONS 9309

// Tooltips of the edit list's strip buttons; each has its button's id.
#define QX_IDS_EDITLIST_NEW 9320
#define QX_IDS_EDITLIST_DELETE 9321
#define QX_IDS_EDITLIST_UP 9322
#define QX_IDS_EDITLIST_DOWN 9323

// Texts of the browse controls.
#define QX_IDS_SELECT_DIRECTORY 9342  // title of the folder picker
#define QX_IDS_BROWSE_CAPTION 9343    // caption of a browse button without a picture
#define QX_IDS_DEFAULT_EXTENSION 9344 // the file chooser's default extension
#define QX_IDS_ALL_FILES_FILTER 9345  // the file chooser's filter
#define QX_IDS_DIRECTORY_NAME 9346    // the browse edit's folder title
#define QX_IDS_DIRECTORIES 9354       // the edit list's default title

// The colour dialog ("Colors"): its title and the captions of its swatch.
#define QX_IDS_COLORS 9351
#define QX_IDS_NEW_COLOR 9352
#define QX_IDS_CURRENT_COLOR 9353
// Its pages: the custom page (hue/saturation field, luminance bar, six
// numeric fields) and the standard page (the honeycomb).
#define QX_IDD_COLOR_CUSTOM 9313
#define QX_IDD_COLOR_STANDARD 9314
// Controls of the two pages (page-local ids).
#define QX_CID_COLOR_LABEL 100     // "&Colors:"
#define QX_CID_COLOR_HEX 101       // the dialog's hexadecimal text (a control of the sheet)
#define QX_CID_COLOR_HUESAT 101    // the hue/saturation field
#define QX_CID_COLOR_LUMBAR 102    // the luminance bar
#define QX_CID_COLOR_HONEYCOMB 103 // the honeycomb
#define QX_CID_COLOR_HUE_LABEL 104
#define QX_CID_COLOR_SAT_LABEL 105
#define QX_CID_COLOR_LUM_LABEL 106
#define QX_CID_COLOR_RED_LABEL 107
#define QX_CID_COLOR_GREEN_LABEL 108
#define QX_CID_COLOR_BLUE_LABEL 109
#define QX_CID_COLOR_RED 110
#define QX_CID_COLOR_GREEN 111
#define QX_CID_COLOR_HUE_SPIN 112
#define QX_CID_COLOR_LUM 113
#define QX_CID_COLOR_SAT 114
#define QX_CID_COLOR_HUE 115
#define QX_CID_COLOR_SAT_SPIN 116
#define QX_CID_COLOR_LUM_SPIN 117
#define QX_CID_COLOR_BLUE 118
#define QX_CID_COLOR_RED_SPIN 119
#define QX_CID_COLOR_GREEN_SPIN 120
#define QX_CID_COLOR_BLUE_SPIN 121

// ===========================================================================
// Colour selector (9424, 9900-9949): the caption over the standard table,
// the names of its colours (each cell's tooltip) and its buttons ("text\n
// tooltip").
#define QX_IDS_STANDARD_COLORS 9424
#define QX_IDS_CLR_BLACK 9900
#define QX_IDS_CLR_BROWN 9901
#define QX_IDS_CLR_OLIVE_GREEN 9902
#define QX_IDS_CLR_DARK_GREEN 9903
#define QX_IDS_CLR_DARK_TEAL 9904
#define QX_IDS_CLR_DARK_BLUE 9905
#define QX_IDS_CLR_INDIGO 9906
#define QX_IDS_CLR_GRAY80 9907
#define QX_IDS_CLR_DARK_RED 9908
#define QX_IDS_CLR_ORANGE 9909
#define QX_IDS_CLR_DARK_YELLOW 9910
#define QX_IDS_CLR_GREEN 9911
#define QX_IDS_CLR_TEAL 9912
#define QX_IDS_CLR_BLUE 9913
#define QX_IDS_CLR_BLUE_GRAY 9914
#define QX_IDS_CLR_GRAY50 9915
#define QX_IDS_CLR_RED 9916
#define QX_IDS_CLR_LIGHT_ORANGE 9917
#define QX_IDS_CLR_LIME 9918
#define QX_IDS_CLR_SEA_GREEN 9919
#define QX_IDS_CLR_AQUA 9920
#define QX_IDS_CLR_LIGHT_BLUE 9921
#define QX_IDS_CLR_VIOLET 9922
#define QX_IDS_CLR_GRAY40 9923
#define QX_IDS_CLR_PINK 9924
#define QX_IDS_CLR_GOLD 9925
#define QX_IDS_CLR_YELLOW 9926
#define QX_IDS_CLR_BRIGHT_GREEN 9927
#define QX_IDS_CLR_TURQUOISE 9928
#define QX_IDS_CLR_SKY_BLUE 9929
#define QX_IDS_CLR_PLUM 9930
#define QX_IDS_CLR_GRAY25 9931
#define QX_IDS_CLR_ROSE 9932
#define QX_IDS_CLR_TAN 9933
#define QX_IDS_CLR_LIGHT_YELLOW 9934
#define QX_IDS_CLR_LIGHT_GREEN 9935
#define QX_IDS_CLR_LIGHT_TURQUOISE 9936
#define QX_IDS_CLR_PALE_BLUE 9937
#define QX_IDS_CLR_LAVENDER 9938
#define QX_IDS_CLR_WHITE 9939
#define QX_IDS_CLR_GRAY 9940
#define QX_IDS_CLR_MAROON 9941
#define QX_IDS_CLR_OLIVE 9942
#define QX_IDS_CLR_NAVY 9943
#define QX_IDS_CLR_PURPLE 9944
#define QX_IDS_CLR_SILVER 9945
#define QX_IDS_CLR_FUCHSIA 9946
#define QX_IDS_NO_FILL 9947
#define QX_IDS_AUTOMATIC_COLOR 9948
#define QX_IDS_MORE_COLORS 9949

// ===========================================================================
// Property grid (9500-9599).

// The grid's sort toolbar: Categorized and Alphabetical, 16x15 on magenta.
#define QX_IDR_GRID_TOOLBAR 9500
// Commands of the sort toolbar, and their tooltips (strings of the same id).
#define QX_ID_GRID_CATEGORIZED 9501
#define QX_ID_GRID_ALPHABETICAL 9502
#define QX_IDS_GRID_CATEGORIZED 9501
#define QX_IDS_GRID_ALPHABETICAL 9502
// The boolean item's texts: "True\nFalse".
#define QX_IDS_GRID_TRUE_FALSE 9503

// ===========================================================================
// Tab manager (9800-9899): tooltips of the tab strip's navigate buttons.
#define QX_IDS_TAB_SCROLL_LEFT 9800
#define QX_IDS_TAB_SCROLL_RIGHT 9801
#define QX_IDS_TAB_CLOSE 9802

// ===========================================================================
// Docking panes (9456-9460): the caption buttons' command ids, whose strings
// are their tooltips.
#define QX_IDS_DOCKINGPANE_AUTOHIDE 9456
#define QX_IDS_DOCKINGPANE_CLOSE 9457
#define QX_IDS_DOCKINGPANE_MAXIMIZE 9458
#define QX_IDS_DOCKINGPANE_RESTORE 9459
#define QX_IDS_DOCKINGPANE_MENU 9460
// The docking guides' pictures, green (0x00FF00) transparent: the compass's
// backdrop and the parts of style 0 (default, olive and silver schemes), and
// every part of style 1.
#define QX_IDB_DOCKING_GUIDE_BACK 9451
#define QX_IDB_DOCKING_GUIDE 9452
#define QX_IDB_DOCKING_GUIDE_OLIVE 9453
#define QX_IDB_DOCKING_GUIDE_SILVER 9454
#define QX_IDB_DOCKING_GUIDE_VS 9455

// ===========================================================================
// Cursors shared by the libraries (9970-9979).
#define QX_IDC_SPLIT_LEFTRIGHT 9970 // a splitter dragged left or right
#define QX_IDC_SPLIT_UPDOWN 9971    // a splitter dragged up or down
#define QX_IDC_CUSTOMIZE_RESIZE 9972 // the width of a box on a bar, while customizing
#define QX_IDC_HAND 9973            // the hand, when the system has none

// ===========================================================================
// Ribbon (9600-9699).
// The quick-access toolbar's customise menu and the context menu of a
// ribbon control; each holds one popup, "Quick Access".
#define QX_IDR_RIBBON_QAT_CUSTOMIZE 9601
#define QX_IDR_RIBBON_QAT_CONTEXT 9602
// Tooltips ("\nText") of the QAT's customise and more buttons (their ids).
#define QX_IDS_RIBBON_QAT_CUSTOMIZE 9603
#define QX_IDS_RIBBON_QAT_MORE 9611
// Asked before the QAT goes back to its default commands.
#define QX_IDS_RIBBON_QAT_RESET 9615
// Commands of the two menus (9613 stands where the QAT's default commands
// are listed; 9614 is the customise menu's heading; 9616-9618 become 9607,
// 9608 and 9610 when the menu is shown).
#define QX_ID_RIBBON_QAT_REMOVE 9605
#define QX_ID_RIBBON_QAT_ADD 9606
#define QX_ID_RIBBON_QAT_CUSTOMIZE 9607
#define QX_ID_RIBBON_QAT_BELOW 9608
#define QX_ID_RIBBON_QAT_ABOVE 9610
#define QX_ID_RIBBON_MINIMIZE 9612
#define QX_ID_RIBBON_QAT_COMMANDS 9613
#define QX_ID_RIBBON_QAT_HEADING 9614
#define QX_ID_RIBBON_QAT_MORE_COMMANDS 9616
#define QX_ID_RIBBON_QAT_SHOW_BELOW 9617
#define QX_ID_RIBBON_QAT_SHOW_ABOVE 9618

// ===========================================================================
#ifndef RC_INVOKED
// Every resource of toolkit.rc with its resource type, X(type, id): the
// program's resource tests look each one up in Qmate.exe, and check that
// every id above is listed. A toolbar has a row for its bitmap too.
#define QX_TOOLKIT_RESOURCES(X) \
    X(RT_GROUP_CURSOR, QX_IDC_TAB_DRAG) \
    X(RT_GROUP_CURSOR, QX_IDC_TAB_NODROP) \
    X(RT_STRING, QX_IDS_TOOLBAR_CHANGED) \
    X(RT_STRING, QX_IDS_ACTIVE_FILES) \
    X(RT_STRING, QX_IDS_WORKSPACE_MOVEPREVIOUS) \
    X(RT_STRING, QX_IDS_WORKSPACE_MOVENEXT) \
    X(RT_STRING, QX_IDS_WORKSPACE_NEWHORIZONTAL) \
    X(RT_STRING, QX_IDS_WORKSPACE_NEWVERTICAL) \
    X(RT_STRING, QX_IDS_WORKSPACE_CANCEL) \
    X(RT_BITMAP, QX_IDB_BROWSE_ARROWS) \
    X(RT_BITMAP, QX_IDB_EDITLIST_STRIP) \
    X(RT_GROUP_CURSOR, QX_IDC_DRAG_MOVE) \
    X(RT_GROUP_CURSOR, QX_IDC_DRAG_COPY) \
    X(RT_GROUP_CURSOR, QX_IDC_DRAG_NONE) \
    X(RT_MENU, QX_IDR_EDIT_MENU) \
    X(MAKEINTRESOURCEA(QX_RT_TOOLBAR_ID), QX_IDR_EDIT_MENU_ICONS) \
    X(RT_BITMAP, QX_IDR_EDIT_MENU_ICONS) \
    X(RT_STRING, QX_IDS_EDITLIST_NEW) \
    X(RT_STRING, QX_IDS_EDITLIST_DELETE) \
    X(RT_STRING, QX_IDS_EDITLIST_UP) \
    X(RT_STRING, QX_IDS_EDITLIST_DOWN) \
    X(RT_STRING, QX_IDS_SELECT_DIRECTORY) \
    X(RT_STRING, QX_IDS_BROWSE_CAPTION) \
    X(RT_STRING, QX_IDS_DEFAULT_EXTENSION) \
    X(RT_STRING, QX_IDS_ALL_FILES_FILTER) \
    X(RT_STRING, QX_IDS_DIRECTORY_NAME) \
    X(RT_STRING, QX_IDS_DIRECTORIES) \
    X(MAKEINTRESOURCEA(QX_RT_TOOLBAR_ID), QX_IDR_GRID_TOOLBAR) \
    X(RT_BITMAP, QX_IDR_GRID_TOOLBAR) \
    X(RT_STRING, QX_IDS_GRID_CATEGORIZED) \
    X(RT_STRING, QX_IDS_GRID_ALPHABETICAL) \
    X(RT_STRING, QX_IDS_GRID_TRUE_FALSE) \
    X(RT_STRING, QX_IDS_COLORS) \
    X(RT_STRING, QX_IDS_NEW_COLOR) \
    X(RT_STRING, QX_IDS_CURRENT_COLOR) \
    X(RT_DIALOG, QX_IDD_COLOR_CUSTOM) \
    X(RT_DIALOG, QX_IDD_COLOR_STANDARD) \
    X(RT_STRING, QX_IDS_STANDARD_COLORS) \
    X(RT_STRING, QX_IDS_CLR_BLACK) \
    X(RT_STRING, QX_IDS_CLR_BROWN) \
    X(RT_STRING, QX_IDS_CLR_OLIVE_GREEN) \
    X(RT_STRING, QX_IDS_CLR_DARK_GREEN) \
    X(RT_STRING, QX_IDS_CLR_DARK_TEAL) \
    X(RT_STRING, QX_IDS_CLR_DARK_BLUE) \
    X(RT_STRING, QX_IDS_CLR_INDIGO) \
    X(RT_STRING, QX_IDS_CLR_GRAY80) \
    X(RT_STRING, QX_IDS_CLR_DARK_RED) \
    X(RT_STRING, QX_IDS_CLR_ORANGE) \
    X(RT_STRING, QX_IDS_CLR_DARK_YELLOW) \
    X(RT_STRING, QX_IDS_CLR_GREEN) \
    X(RT_STRING, QX_IDS_CLR_TEAL) \
    X(RT_STRING, QX_IDS_CLR_BLUE) \
    X(RT_STRING, QX_IDS_CLR_BLUE_GRAY) \
    X(RT_STRING, QX_IDS_CLR_GRAY50) \
    X(RT_STRING, QX_IDS_CLR_RED) \
    X(RT_STRING, QX_IDS_CLR_LIGHT_ORANGE) \
    X(RT_STRING, QX_IDS_CLR_LIME) \
    X(RT_STRING, QX_IDS_CLR_SEA_GREEN) \
    X(RT_STRING, QX_IDS_CLR_AQUA) \
    X(RT_STRING, QX_IDS_CLR_LIGHT_BLUE) \
    X(RT_STRING, QX_IDS_CLR_VIOLET) \
    X(RT_STRING, QX_IDS_CLR_GRAY40) \
    X(RT_STRING, QX_IDS_CLR_PINK) \
    X(RT_STRING, QX_IDS_CLR_GOLD) \
    X(RT_STRING, QX_IDS_CLR_YELLOW) \
    X(RT_STRING, QX_IDS_CLR_BRIGHT_GREEN) \
    X(RT_STRING, QX_IDS_CLR_TURQUOISE) \
    X(RT_STRING, QX_IDS_CLR_SKY_BLUE) \
    X(RT_STRING, QX_IDS_CLR_PLUM) \
    X(RT_STRING, QX_IDS_CLR_GRAY25) \
    X(RT_STRING, QX_IDS_CLR_ROSE) \
    X(RT_STRING, QX_IDS_CLR_TAN) \
    X(RT_STRING, QX_IDS_CLR_LIGHT_YELLOW) \
    X(RT_STRING, QX_IDS_CLR_LIGHT_GREEN) \
    X(RT_STRING, QX_IDS_CLR_LIGHT_TURQUOISE) \
    X(RT_STRING, QX_IDS_CLR_PALE_BLUE) \
    X(RT_STRING, QX_IDS_CLR_LAVENDER) \
    X(RT_STRING, QX_IDS_CLR_WHITE) \
    X(RT_STRING, QX_IDS_CLR_GRAY) \
    X(RT_STRING, QX_IDS_CLR_MAROON) \
    X(RT_STRING, QX_IDS_CLR_OLIVE) \
    X(RT_STRING, QX_IDS_CLR_NAVY) \
    X(RT_STRING, QX_IDS_CLR_PURPLE) \
    X(RT_STRING, QX_IDS_CLR_SILVER) \
    X(RT_STRING, QX_IDS_CLR_FUCHSIA) \
    X(RT_STRING, QX_IDS_NO_FILL) \
    X(RT_STRING, QX_IDS_AUTOMATIC_COLOR) \
    X(RT_STRING, QX_IDS_MORE_COLORS) \
    X(RT_STRING, QX_IDS_TAB_SCROLL_LEFT) \
    X(RT_STRING, QX_IDS_TAB_SCROLL_RIGHT) \
    X(RT_STRING, QX_IDS_TAB_CLOSE) \
    X(RT_STRING, QX_IDS_DOCKINGPANE_AUTOHIDE) \
    X(RT_STRING, QX_IDS_DOCKINGPANE_CLOSE) \
    X(RT_STRING, QX_IDS_DOCKINGPANE_MAXIMIZE) \
    X(RT_STRING, QX_IDS_DOCKINGPANE_RESTORE) \
    X(RT_STRING, QX_IDS_DOCKINGPANE_MENU) \
    X(RT_GROUP_CURSOR, QX_IDC_SPLIT_LEFTRIGHT) \
    X(RT_GROUP_CURSOR, QX_IDC_SPLIT_UPDOWN) \
    X(RT_GROUP_CURSOR, QX_IDC_HAND) \
    X(RT_BITMAP, QX_IDB_EDITOR_TOOLS) \
    X(RT_BITMAP, QX_IDB_EDITOR_TOOLS_ALPHA) \
    X(RT_BITMAP, QX_IDB_STOCK_PICTURES) \
    X(RT_GROUP_CURSOR, QX_IDC_CUSTOMIZE_COPY) \
    X(RT_GROUP_CURSOR, QX_IDC_CUSTOMIZE_MOVE) \
    X(RT_GROUP_CURSOR, QX_IDC_CUSTOMIZE_NODROP) \
    X(RT_GROUP_CURSOR, QX_IDC_EDITOR_LINE) \
    X(RT_GROUP_CURSOR, QX_IDC_EDITOR_PICK) \
    X(RT_GROUP_CURSOR, QX_IDC_EDITOR_FILL) \
    X(RT_GROUP_CURSOR, QX_IDC_EDITOR_PENCIL) \
    X(RT_GROUP_CURSOR, QX_IDC_CUSTOMIZE_RESIZE) \
    X(RT_MENU, QX_IDR_CUSTOMIZE_MENU) \
    X(RT_DIALOG, QX_IDD_BUTTON_EDITOR) \
    X(RT_DIALOG, QX_IDD_CUSTOMIZE_MENUS) \
    X(RT_DIALOG, QX_IDD_CUSTOMIZE_KEYBOARD) \
    X(RT_DIALOG, QX_IDD_CUSTOMIZE_TOOLBARS) \
    X(RT_DIALOG, QX_IDD_CUSTOMIZE_OPTIONS) \
    X(RT_DIALOG, QX_IDD_CUSTOMIZE_COMMANDS) \
    X(RT_DIALOG, QX_IDD_NEW_TOOLBAR) \
    X(RT_STRING, QX_IDS_EDITOR_PENCIL) \
    X(RT_STRING, QX_IDS_EDITOR_FILL) \
    X(RT_STRING, QX_IDS_EDITOR_PICK) \
    X(RT_STRING, QX_IDS_EDITOR_LINE) \
    X(RT_STRING, QX_IDS_EDITOR_RECTANGLE) \
    X(RT_STRING, QX_IDS_EDITOR_ELLIPSE) \
    X(RT_STRING, QX_IDS_EDITOR_COPY) \
    X(RT_STRING, QX_IDS_EDITOR_PASTE) \
    X(RT_STRING, QX_IDS_EDITOR_CLEAR) \
    X(RT_STRING, QX_IDS_EDITOR_UNDO) \
    X(RT_STRING, QX_IDS_EDITOR_REDO) \
    X(RT_STRING, QX_IDS_EDITOR_IMPORT) \
    X(RT_STRING, QX_IDS_PICTURE_FILTER) \
    X(RT_STRING, QX_IDS_TOOLBAR_EXPAND) \
    X(RT_STRING, QX_IDS_TOOLBAR_CLOSE) \
    X(RT_STRING, QX_IDS_CUSTOMIZE_CLOSE) \
    X(RT_STRING, QX_IDS_CUSTOMIZE) \
    X(RT_STRING, QX_IDS_NEW_MENU) \
    X(RT_STRING, QX_IDS_CUSTOM_TOOLBAR_NAME) \
    X(RT_STRING, QX_IDS_TOOLBAR_NAME_BLANK) \
    X(RT_STRING, QX_IDS_TOOLBAR_LIMIT) \
    X(RT_STRING, QX_IDS_TOOLBAR_NAME_EXISTS) \
    X(RT_STRING, QX_IDS_RENAME_TOOLBAR) \
    X(RT_STRING, QX_IDS_CONFIRM_DELETE_TOOLBAR) \
    X(RT_STRING, QX_IDS_ALL_COMMANDS) \
    X(RT_STRING, QX_IDS_CONFIRM_RESET_USAGE) \
    X(RT_STRING, QX_IDS_CONFIRM_RESET_TOOLBAR) \
    X(RT_STRING, QX_IDS_BUILTIN_MENUS) \
    X(RT_STRING, QX_IDS_CONFIRM_RESET_KEYS) \
    X(RT_STRING, QX_IDS_CONFIRM_REASSIGN_KEY) \
    X(RT_STRING, QX_IDS_ANIMATION_SYSTEM) \
    X(RT_STRING, QX_IDS_ANIMATION_RANDOM) \
    X(RT_STRING, QX_IDS_ANIMATION_UNFOLD) \
    X(RT_STRING, QX_IDS_ANIMATION_SLIDE) \
    X(RT_STRING, QX_IDS_ANIMATION_FADE) \
    X(RT_STRING, QX_IDS_ANIMATION_NONE) \
    X(RT_BITMAP, QX_IDB_DOCKING_GUIDE_BACK) \
    X(RT_BITMAP, QX_IDB_DOCKING_GUIDE) \
    X(RT_BITMAP, QX_IDB_DOCKING_GUIDE_OLIVE) \
    X(RT_BITMAP, QX_IDB_DOCKING_GUIDE_SILVER) \
    X(RT_BITMAP, QX_IDB_DOCKING_GUIDE_VS) \
    X(RT_BITMAP, QX_IDB_MDI_BUTTONS) \
    X(RT_BITMAP, QX_IDB_TAB_GROUPS) \
    X(RT_STRING, QX_IDS_PICTURE_UNREADABLE) \
    X(RT_MENU, QX_IDR_RIBBON_QAT_CUSTOMIZE) \
    X(RT_MENU, QX_IDR_RIBBON_QAT_CONTEXT) \
    X(RT_STRING, QX_IDS_RIBBON_QAT_CUSTOMIZE) \
    X(RT_STRING, QX_IDS_RIBBON_QAT_MORE) \
    X(RT_STRING, QX_IDS_RIBBON_QAT_RESET)
#endif

#endif // QX_RESOURCE_H
