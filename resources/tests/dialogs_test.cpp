// Dialog templates, created as real windows: each one loads, carries the
// controls it must have with their classes, texts and kinds, keeps every
// control inside its client area without two controls on top of each other,
// and has one default button when it is a dialog of its own.
#include "restest.h"
#include <qxresource.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <qmtest/pump.h>

namespace {

enum Form {
    POPUP,     // modal or modeless dialog of its own
    RESIZABLE, // the same with a sizing frame
    PAGE,      // property page: child window with the tab text as caption
    CHILD,     // child template without caption
};

enum Kind {
    ANY,
    PUSH,    // push button, default or not
    DEFPUSH, // the default push button
    CHECK,   // automatic check box
    RADIO,   // automatic radio button
    GROUP,   // group box
};

struct Ctl {
    int id;
    const char* cls;  // window class
    const char* text; // exact window text, or null
    Kind kind;
    DWORD style; // style bits that must be set
};

struct DialogCase {
    UINT id;
    const char* caption; // null: the caption is ours to choose
    Form form;
    std::vector<Ctl> controls;
    std::vector<const char*> labels; // texts of static labels without ids of their own
};

const char* const BUTTON = "Button";
const char* const EDIT = "Edit";
const char* const STATIC = "Static";
const char* const COMBO = "ComboBox";
const char* const LIST = "ListBox";

const DialogCase kDialogs[] = {
    {IDD_COMPARE, nullptr, RESIZABLE, {{IDC_COMPARE_FIRST, EDIT, nullptr, ANY, 0}, {IDC_COMPARE_SECOND, EDIT, nullptr, ANY, 0}, {IDC_COMPARE_BROWSE_FIRST, BUTTON, nullptr, PUSH, 0}, {IDC_COMPARE_BROWSE_SECOND, BUTTON, nullptr, PUSH, 0}, {IDOK, BUTTON, nullptr, PUSH, 0}, {IDCANCEL, BUTTON, nullptr, PUSH, 0}}, {}},
    {IDD_HEX_FIND, "Hex Find", RESIZABLE, {{IDC_HEX_FIND_TEXT, COMBO, nullptr, ANY, CBS_DROPDOWN}, {IDC_HEX_FIND_BUTTON, BUTTON, "Find", DEFPUSH, 0}, {IDC_HEX_MATCH_CASE, BUTTON, "Match Case", CHECK, 0}, {IDC_HEX_SEARCH_ASCII, BUTTON, "Search Ascii", CHECK, 0}, {IDC_HEX_UP, BUTTON, "Up", RADIO, 0}, {IDC_HEX_DOWN, BUTTON, "Down", RADIO, 0}, {IDCANCEL, BUTTON, "Close", PUSH, 0}}, {"Find What:", "Search Direction"}},
    {IDD_GOTO, nullptr, POPUP, {{IDC_GOTO_LABEL, STATIC, nullptr, ANY, 0}, {IDC_GOTO_LINE, EDIT, nullptr, ANY, ES_NUMBER}, {IDOK, BUTTON, nullptr, DEFPUSH, 0}}, {}},
    {IDD_FILE_INFO, "File Properties", POPUP, {{IDC_INFO_ICON, STATIC, nullptr, ANY, SS_ICON}, {IDC_INFO_NAME, STATIC, "Unknown", ANY, 0}, {IDC_INFO_FOLDER, STATIC, "Unknown", ANY, 0}, {IDC_INFO_SIZE, STATIC, "Unknown", ANY, 0}, {IDC_INFO_CREATED, STATIC, "Unknown", ANY, 0}, {IDC_INFO_MODIFIED, STATIC, "Unknown", ANY, 0}, {IDC_INFO_ACCESSED, STATIC, "Unknown", ANY, 0}, {IDC_INFO_TYPE, STATIC, "Unknown", ANY, 0}, {IDC_INFO_READONLY, BUTTON, nullptr, CHECK, 0}, {IDC_INFO_HIDDEN, BUTTON, nullptr, CHECK, 0}, {IDOK, BUTTON, nullptr, DEFPUSH, 0}}, {}},
    {IDD_TEMPLATE_MANAGER, "Template Manager", POPUP, {{IDC_TEMPLATE_NAME, EDIT, nullptr, ANY, 0}, {IDC_TEMPLATE_TEXT, EDIT, nullptr, ANY, ES_MULTILINE | ES_WANTRETURN}, {IDOK, BUTTON, nullptr, DEFPUSH, 0}, {IDCANCEL, BUTTON, nullptr, PUSH, 0}}, {"Name :", "Code : "}},
    {IDD_BACKUP_HISTORY, "Document Backups", POPUP, {{IDC_BACKUP_LIST, LIST, nullptr, ANY, LBS_EXTENDEDSEL}, {IDOK, BUTTON, "Compare", DEFPUSH, 0}, {IDCANCEL, BUTTON, "Close", PUSH, 0}}, {}},
    {IDD_FIND_IN_FILES, "Find in Files", RESIZABLE, {{IDC_FIF_TEXT, COMBO, nullptr, ANY, 0}, {IDC_FIF_TYPES, COMBO, nullptr, ANY, 0}, {IDC_FIF_FOLDER, COMBO, nullptr, ANY, 0}, {IDC_FIF_OPTIONS, BUTTON, "Search Options:", GROUP, 0}, {IDC_FIF_MATCH_CASE, BUTTON, "Match &case", CHECK, 0}, {IDC_FIF_WHOLE_WORD, BUTTON, "Match &whole word", CHECK, 0}, {IDC_FIF_REGEX, BUTTON, "Use regular expressions", CHECK, 0}, {IDC_FIF_SUBFOLDERS, BUTTON, "&Search subfolders", CHECK, 0}, {IDC_FIF_FIND, BUTTON, "&Find", DEFPUSH, 0}, {IDC_FIF_BROWSE, BUTTON, "Browse", PUSH, 0}, {IDC_FIF_STOP, BUTTON, "Stop", PUSH, 0}, {IDC_FIF_HELP, BUTTON, "Help", PUSH, 0}, {IDCANCEL, BUTTON, "Close", PUSH, 0}}, {"Find what:", "File Types:", "Directory:"}},
    {IDD_ABOUTBOX, "About Fernbright Quillmate", POPUP, {{IDC_ABOUT_CREDIT, STATIC, nullptr, ANY, 0}, {IDOK, BUTTON, "OK", DEFPUSH, 0}}, {"Fernbright Quillmate", "Version 3.9"}},
    {IDD_HEX_GOTO, "Hex Goto", POPUP, {{IDC_HEX_GOTO_OFFSET, EDIT, nullptr, ANY, 0}, {IDC_HEX_GOTO_LENGTH, STATIC, nullptr, ANY, 0}, {IDC_HEX_GOTO_HEX, BUTTON, "Hex", RADIO, 0}, {IDC_HEX_GOTO_DECIMAL, BUTTON, "Decimal", RADIO, 0}, {IDOK, BUTTON, "OK", DEFPUSH, 0}, {IDCANCEL, BUTTON, "Cancel", PUSH, 0}}, {}},
    {IDD_NEW_FROM_TEMPLATE, "New File From Template", POPUP, {{IDC_NEW_TEMPLATE_TREE, WC_TREEVIEWA, nullptr, ANY, 0}, {IDOK, BUTTON, nullptr, DEFPUSH, 0}, {IDCANCEL, BUTTON, nullptr, PUSH, 0}}, {"Select a template you wish to begin editing with, and Quillmate will create it for you."}},
    {IDD_FIND, "Find", RESIZABLE, {{IDC_FIND_TEXT, COMBO, nullptr, ANY, CBS_DROPDOWN}, {IDC_FIND_MATCH_CASE, BUTTON, "Match &case", CHECK, 0}, {IDC_FIND_WHOLE_WORD, BUTTON, "Match &whole word", CHECK, 0}, {IDC_FIND_REGEX, BUTTON, "Use regular expressions", CHECK, 0}, {IDC_FIND_WRAP, BUTTON, "&Wrap around", CHECK, 0}, {IDC_FIND_UP, BUTTON, "&Up", RADIO, 0}, {IDC_FIND_DOWN, BUTTON, "&Down", RADIO, 0}, {IDC_FIND_NEXT, BUTTON, "&Find Next", DEFPUSH, 0}, {IDC_FIND_MARK_ALL, BUTTON, "&Mark All", PUSH, 0}, {IDCANCEL, BUTTON, "Close", PUSH, 0}}, {"Find what:", "Search Direction"}},
    {IDD_REPLACE, "Replace", RESIZABLE, {{IDC_REPLACE_FIND, COMBO, nullptr, ANY, CBS_DROPDOWN}, {IDC_REPLACE_WITH, COMBO, nullptr, ANY, CBS_DROPDOWN}, {IDC_REPLACE_MATCH_CASE, BUTTON, "&Match case", CHECK, 0}, {IDC_REPLACE_WHOLE_WORD, BUTTON, "Match &whole words only", CHECK, 0}, {IDC_REPLACE_REGEX, BUTTON, "Use Regular Expressions", CHECK, 0}, {IDC_REPLACE_SCOPE, BUTTON, "Scope", GROUP, 0}, {IDC_REPLACE_SCOPE_DOCUMENT, BUTTON, "Active document", RADIO, 0}, {IDC_REPLACE_SCOPE_SELECTION, BUTTON, "Selected text", RADIO, 0}, {IDC_REPLACE_FIND_NEXT, BUTTON, "&Find Next", DEFPUSH, 0}, {IDC_REPLACE_ONE, BUTTON, "&Replace", PUSH, 0}, {IDC_REPLACE_ALL, BUTTON, "Replace &All", PUSH, 0}, {IDCANCEL, BUTTON, "&Close", PUSH, 0}}, {"Fi&nd what:", "Re&place with:"}},
    {IDD_VIEW_AS, "View As ...", POPUP, {{IDC_VIEW_AS_LIST, LIST, nullptr, ANY, LBS_NOTIFY}, {IDOK, BUTTON, nullptr, DEFPUSH, 0}, {IDCANCEL, BUTTON, nullptr, PUSH, 0}}, {"Select View As Parser"}},
    {IDD_OPEN_EXTRA, nullptr, CHILD, {{IDC_FILE_VIEW_AS, COMBO, nullptr, ANY, CBS_DROPDOWNLIST}, {IDC_FILE_ENCODING, COMBO, nullptr, ANY, CBS_DROPDOWNLIST}}, {}},
    {IDD_SAVE_EXTRA, nullptr, CHILD, {{IDC_FILE_ENCODING, COMBO, nullptr, ANY, CBS_DROPDOWNLIST}, {IDC_FILE_LINE_ENDING, COMBO, nullptr, ANY, CBS_DROPDOWNLIST}}, {}},
    {IDD_CUSTOMIZE_TOOLS, nullptr, PAGE, {{IDC_TOOLS_LIST, LIST, nullptr, ANY, LBS_NOTIFY}, {IDC_TOOLS_COMMAND, EDIT, nullptr, ANY, 0}, {IDC_TOOLS_ARGS, EDIT, nullptr, ANY, 0}, {IDC_TOOLS_FOLDER, EDIT, nullptr, ANY, 0}, {IDC_TOOLS_OUTPUT, COMBO, nullptr, ANY, CBS_DROPDOWNLIST}, {IDC_TOOLS_COMMAND_LABEL, STATIC, nullptr, ANY, 0}, {IDC_TOOLS_ARGS_LABEL, STATIC, nullptr, ANY, 0}, {IDC_TOOLS_FOLDER_LABEL, STATIC, nullptr, ANY, 0}, {IDC_TOOLS_OUTPUT_LABEL, STATIC, nullptr, ANY, 0}}, {}},
    {IDD_TIDY_PAGE, "HTML Tidy", PAGE, {{IDC_TIDY_PLACEHOLDER, STATIC, nullptr, ANY, 0}}, {}},
    {IDD_SPELL_CHECK, "Spell Checker", RESIZABLE, {{IDC_SPELL_WORD, EDIT, nullptr, ANY, 0}, {IDC_SPELL_SUGGESTIONS_LABEL, STATIC, "Suggestions:", ANY, 0}, {IDC_SPELL_SUGGESTIONS, LIST, nullptr, ANY, LBS_SORT | LBS_NOTIFY}, {IDC_SPELL_IGNORE, BUTTON, "Ignore", PUSH, 0}, {IDC_SPELL_IGNORE_ALL, BUTTON, "Ignore All", PUSH, 0}, {IDC_SPELL_ADD, BUTTON, "Add to Dictionary", PUSH, 0}, {IDC_SPELL_CHANGE, BUTTON, "Change", PUSH, 0}, {IDCANCEL, BUTTON, "Close", PUSH, 0}}, {"Not in Dictionary:"}},
    {IDD_PAGE_FILE_FILTER, "File Dialog Filters", PAGE, {{IDC_FILTER_LIST, WC_LISTVIEWA, nullptr, ANY, LVS_REPORT}, {IDC_FILTER_LABEL, EDIT, nullptr, ANY, 0}, {IDC_FILTER_EXTENSION, EDIT, nullptr, ANY, 0}, {IDC_FILTER_ADD, BUTTON, "&Add", PUSH, 0}, {IDC_FILTER_DELETE, BUTTON, "&Delete", PUSH, 0}, {IDC_FILTER_TEST, BUTTON, "&Test", PUSH, 0}}, {"Extensions: (E.g. *.txt)"}},
    {IDD_PAGE_BACKUP, "Backup Manager", PAGE, {{IDC_BACKUP_ENABLE, BUTTON, "&Enable Backup", CHECK, 0}, {IDC_BACKUP_GROUP, BUTTON, "Backup Properties", GROUP, 0}, {IDC_BACKUP_FOLDER_LABEL, STATIC, nullptr, ANY, 0}, {IDC_BACKUP_FOLDER, EDIT, nullptr, ANY, 0}, {IDC_BACKUP_VERSIONS_LABEL, STATIC, nullptr, ANY, 0}, {IDC_BACKUP_VERSIONS_HINT, STATIC, nullptr, ANY, 0}, {IDC_BACKUP_VERSIONS_SPIN, UPDOWN_CLASSA, nullptr, ANY, 0}, {IDC_BACKUP_VERSIONS, EDIT, nullptr, ANY, 0}, {IDC_BACKUP_DELETE_ON_EXIT, BUTTON, nullptr, CHECK, 0}, {IDC_BACKUP_DELETE_LABEL, STATIC, nullptr, ANY, 0}, {IDC_BACKUP_DELETE_FILES, BUTTON, "Delete Files...", PUSH, 0}}, {}},
    {IDD_PAGE_SYNTAX, "Syntax Coloring", PAGE, {{IDC_SYNTAX_TYPE_LABEL, STATIC, "File Type:", ANY, 0}, {IDC_SYNTAX_STYLES_LABEL, STATIC, "Styles:", ANY, 0}, {IDC_SYNTAX_FORE_LABEL, STATIC, "Fore Color:", ANY, 0}, {IDC_SYNTAX_BACK_LABEL, STATIC, "Back Color:", ANY, 0}, {IDC_SYNTAX_TYPE, COMBO, nullptr, ANY, CBS_DROPDOWNLIST}, {IDC_SYNTAX_DEFAULT, BUTTON, "&Use as the Quillmate default text coloring format", CHECK, 0}, {IDC_SYNTAX_STYLES, LIST, nullptr, ANY, LBS_NOTIFY}, {IDC_SYNTAX_SAMPLE, nullptr, nullptr, ANY, 0}, {IDC_SYNTAX_FORE, BUTTON, nullptr, PUSH, 0}, {IDC_SYNTAX_BACK, BUTTON, nullptr, PUSH, 0}}, {}},
    {IDD_PAGE_GENERAL, "General Settings", PAGE, {{IDC_GENERAL_TABS_AS_SPACES, BUTTON, "Tabs As Spaces", CHECK, 0}, {IDC_GENERAL_TAB_GUIDES, BUTTON, "Tab Guides", CHECK, 0}, {IDC_GENERAL_TAB_WIDTH, EDIT, nullptr, ANY, 0}, {IDC_GENERAL_TAB_WIDTH_SPIN, UPDOWN_CLASSA, nullptr, ANY, 0}, {IDC_GENERAL_PRINT_HEADER, BUTTON, "Print Header", CHECK, 0}, {IDC_GENERAL_PRINT_FOOTER, BUTTON, "Print Footer", CHECK, 0}, {IDC_GENERAL_PRINT_LINES, BUTTON, "Print Line Numbers", CHECK, 0}, {IDC_GENERAL_CARET_COLOUR, BUTTON, nullptr, PUSH, 0}, {IDC_GENERAL_CARET_ALPHA, TRACKBAR_CLASSA, nullptr, ANY, 0}, {IDC_GENERAL_REMEMBER_FILES, BUTTON, "Remember open files and auto-open the next time Quillmate starts.", CHECK, 0}}, {}},
    {IDD_PAGE_GENERAL_MORE, "General Settings More", PAGE, {{IDC_MORE_SHELL_MENU, BUTTON, nullptr, CHECK, 0}, {IDC_MORE_RESET_UNDO, BUTTON, "Reset undo history after saving a document.", CHECK, 0}, {IDC_MORE_LARGE_ICONS, BUTTON, "Large icons", RADIO, 0}, {IDC_MORE_SMALL_ICONS, BUTTON, "Small icons", RADIO, 0}, {IDC_MORE_THEME, COMBO, nullptr, ANY, CBS_DROPDOWNLIST}}, {"Look && Feel:"}},
    {IDD_PAGE_DICTIONARY, "Spell Checker", PAGE, {{IDC_DICT_FOLDER, EDIT, nullptr, ANY, 0}, {IDC_DICT_FOLDER_LABEL, STATIC, nullptr, ANY, 0}, {IDC_DICT_NAME, COMBO, nullptr, ANY, 0}, {IDC_DICT_NAME_LABEL, STATIC, nullptr, ANY, 0}}, {}},
    {IDD_MACROS, "Macros", RESIZABLE, {{IDC_MACRO_LIST, LIST, nullptr, ANY, LBS_NOTIFY}, {IDC_MACRO_RUN, BUTTON, "&Run", PUSH, 0}, {IDC_MACRO_DELETE, BUTTON, "&Delete", PUSH, 0}, {IDC_MACRO_RENAME, BUTTON, "R&ename", PUSH, 0}, {IDCANCEL, BUTTON, "&Close", PUSH, 0}}, {}},
    {IDD_NEW_MACRO, "New Macro", RESIZABLE, {{IDC_NEW_MACRO_NAME, EDIT, nullptr, ANY, 0}, {IDOK, BUTTON, nullptr, DEFPUSH, 0}, {IDCANCEL, BUTTON, nullptr, PUSH, 0}}, {"Macro name:"}},
    {IDD_PREVIEW_BAR, nullptr, CHILD, {{AFX_ID_PREVIEW_PRINT, BUTTON, nullptr, PUSH, 0}, {AFX_ID_PREVIEW_NEXT, BUTTON, nullptr, PUSH, 0}, {AFX_ID_PREVIEW_PREV, BUTTON, nullptr, PUSH, 0}, {AFX_ID_PREVIEW_NUMPAGE, BUTTON, nullptr, PUSH, 0}, {AFX_ID_PREVIEW_ZOOMIN, BUTTON, nullptr, PUSH, 0}, {AFX_ID_PREVIEW_ZOOMOUT, BUTTON, nullptr, PUSH, 0}, {AFX_ID_PREVIEW_CLOSE, BUTTON, nullptr, PUSH, 0}}, {}},
    {QX_IDD_CUSTOMIZE_TOOLBARS, "Tool&bars", PAGE, {{QX_CID_TOOLBARS_LIST, LIST, nullptr, ANY, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY}, {QX_CID_TOOLBARS_NEW, BUTTON, "&New...", PUSH, 0}, {QX_CID_TOOLBARS_RENAME, BUTTON, "&Rename...", PUSH, 0}, {QX_CID_TOOLBARS_DELETE, BUTTON, "&Delete", PUSH, 0}, {QX_CID_TOOLBARS_RESET, BUTTON, "R&eset...", PUSH, 0}}, {"Toolb&ars:"}},
    {QX_IDD_CUSTOMIZE_COMMANDS, "&Commands", PAGE, {{QX_CID_COMMANDS_CATEGORIES, LIST, nullptr, ANY, LBS_NOTIFY}, {QX_CID_COMMANDS_LIST, LIST, nullptr, ANY, LBS_OWNERDRAWFIXED | LBS_NOTIFY}}, {"To add a command to a toolbar: select a category and drag the command out of this dialog box to a toolbar.", "Cate&gories:", "Comman&ds:"}},
    {QX_IDD_CUSTOMIZE_KEYBOARD, "&Keyboard", PAGE, {{QX_CID_KEYBOARD_CATEGORY, COMBO, nullptr, ANY, CBS_DROPDOWNLIST}, {QX_CID_KEYBOARD_COMMANDS, LIST, nullptr, ANY, LBS_NOTIFY}, {QX_CID_KEYBOARD_KEYS, LIST, nullptr, ANY, LBS_NOTIFY}, {QX_CID_KEYBOARD_SHORTCUT, EDIT, nullptr, ANY, 0}, {QX_CID_KEYBOARD_ASSIGN, BUTTON, "&Assign", PUSH, 0}, {QX_CID_KEYBOARD_REMOVE, BUTTON, "&Remove", PUSH, 0}, {QX_CID_KEYBOARD_RESET_ALL, BUTTON, "Re&set All", PUSH, 0}, {QX_CID_KEYBOARD_DESCRIPTION, STATIC, nullptr, ANY, 0}}, {"Cate&gory:", "Co&mmands:", "K&ey assignments:", "Press &new shortcut key:", "Description:"}},
    {QX_IDD_CUSTOMIZE_MENUS, "&Menus", PAGE, {{QX_CID_MENUS_APP_TITLE, STATIC, "Application Menus", ANY, 0}, {QX_CID_MENUS_CONTEXT_TITLE, STATIC, "Context Menus", ANY, 0}, {QX_CID_MENUS_SHOW, COMBO, nullptr, ANY, CBS_DROPDOWNLIST}, {QX_CID_MENUS_RESET, BUTTON, "Reset", PUSH, 0}, {QX_CID_MENUS_CONTEXT, COMBO, nullptr, ANY, CBS_DROPDOWNLIST}, {QX_CID_MENUS_CONTEXT_RESET, BUTTON, "Reset", PUSH, 0}, {QX_CID_MENUS_DESCRIPTION, STATIC, "Default menu\nDefault application menu", ANY, 0}, {QX_CID_MENUS_ICON, STATIC, nullptr, ANY, SS_ICON}}, {"&Show Menu:", "Select &context menu:"}},
    {QX_IDD_CUSTOMIZE_OPTIONS, "&Options", PAGE, {{QX_CID_OPTIONS_PERSONAL_TITLE, STATIC, "Personalized Menus and Toolbars", ANY, 0}, {QX_CID_OPTIONS_FULL_MENUS, BUTTON, "Always show full me&nus", CHECK, 0}, {QX_CID_OPTIONS_FULL_AFTER_DELAY, BUTTON, "Show full menus after a short &delay", CHECK, 0}, {QX_CID_OPTIONS_RESET_USAGE, BUTTON, "&Reset menu and toolbar usage data", PUSH, 0}, {QX_CID_OPTIONS_OTHER_TITLE, STATIC, "Other", ANY, 0}, {QX_CID_OPTIONS_LARGE_ICONS, BUTTON, "&Large icons", CHECK, 0}, {QX_CID_OPTIONS_SCREENTIPS, BUTTON, "Show Screen&Tips on toolbars", CHECK, 0}, {QX_CID_OPTIONS_SHORTCUT_TIPS, BUTTON, "Show s&hortcut keys in ScreenTips", CHECK, 0}, {QX_CID_OPTIONS_ANIMATION, COMBO, nullptr, ANY, CBS_DROPDOWNLIST}}, {"&Menu animations:"}},
    {QX_IDD_NEW_TOOLBAR, "New Toolbar", POPUP, {{QX_CID_NEW_TOOLBAR_NAME, EDIT, nullptr, ANY, 0}, {IDOK, BUTTON, "OK", DEFPUSH, 0}, {IDCANCEL, BUTTON, "Cancel", PUSH, 0}}, {"&Toolbar name:"}},
};

// Lists whose item data or order carries meaning must not sort.
const std::pair<UINT, int> kUnsortedLists[] = {
    {IDD_BACKUP_HISTORY, IDC_BACKUP_LIST},
    {IDD_VIEW_AS, IDC_VIEW_AS_LIST},
    {IDD_MACROS, IDC_MACRO_LIST},
    {IDD_PAGE_SYNTAX, IDC_SYNTAX_STYLES},
    {IDD_CUSTOMIZE_TOOLS, IDC_TOOLS_LIST},
    {QX_IDD_CUSTOMIZE_TOOLBARS, QX_CID_TOOLBARS_LIST},
    {QX_IDD_CUSTOMIZE_COMMANDS, QX_CID_COMMANDS_CATEGORIES},
    {QX_IDD_CUSTOMIZE_COMMANDS, QX_CID_COMMANDS_LIST},
    {QX_IDD_CUSTOMIZE_KEYBOARD, QX_CID_KEYBOARD_COMMANDS},
    {QX_IDD_CUSTOMIZE_KEYBOARD, QX_CID_KEYBOARD_KEYS},
};

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::string ClassOf(HWND window)
{
    char name[128] = {};
    GetClassNameA(window, name, sizeof(name));
    std::string text = name;
    // Classes of a versioned common-controls library may carry a prefix.
    size_t bang = text.rfind('!');
    return bang == std::string::npos ? text : text.substr(bang + 1);
}

std::string TextOf(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

bool SameClass(const std::string& a, const char* b)
{
    if (a.size() != strlen(b))
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (tolower(static_cast<unsigned char>(a[i])) != tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool IsBuddyPair(HWND a, HWND b)
{
    for (HWND updown : {a, b}) {
        HWND other = updown == a ? b : a;
        if (SameClass(ClassOf(updown), UPDOWN_CLASSA) &&
            reinterpret_cast<HWND>(SendMessageA(updown, UDM_GETBUDDY, 0, 0)) == other)
            return true;
    }
    return false;
}

std::vector<HWND> DirectChildren(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// Saves what the screen shows of a window, for a person to look at.
void SaveScreenshot(HWND window, const std::string& name)
{
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return;
    std::string folder = std::string(QM_BIN_DIR) + "/../artifacts";
    CreateDirectoryA(folder.c_str(), nullptr);
    folder += "/resources";
    CreateDirectoryA(folder.c_str(), nullptr);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP shot = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (shot && bits) {
        HGDIOBJ old = SelectObject(memory, shot);
        BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
        SelectObject(memory, old);
        DWORD stride = ((w * 3 + 3) / 4) * 4, size = stride * h;
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
        file.bfSize = file.bfOffBits + size;
        HANDLE out = CreateFileA((folder + "/" + name + ".bmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out != INVALID_HANDLE_VALUE) {
            DWORD written;
            WriteFile(out, &file, sizeof(file), &written, nullptr);
            WriteFile(out, &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr);
            WriteFile(out, bits, size, &written, nullptr);
            CloseHandle(out);
        }
    }
    if (shot)
        DeleteObject(shot);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

void Pump()
{
    qmtest::PumpFor(50);
}

class Dialogs : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&init);
    }

    void SetUp() override
    {
        // Pages and child templates need a parent; it also owns the dialogs.
        parent_ = CreateWindowExA(0, "Static", "Dialog host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 700, 500,
                                  nullptr, nullptr, restest::Module(), nullptr);
        ASSERT_NE(parent_, nullptr);
    }

    void TearDown() override
    {
        if (parent_)
            DestroyWindow(parent_);
    }

    HWND Create(UINT id)
    {
        return CreateDialogParamA(restest::Module(), MAKEINTRESOURCEA(id), parent_, QuietProc, 0);
    }

    HWND parent_ = nullptr;
};

TEST_F(Dialogs, TemplatesCarryTheirControls)
{
    for (const DialogCase& c : kDialogs) {
        SCOPED_TRACE("dialog " + std::to_string(c.id));
        HWND dialog = Create(c.id);
        ASSERT_NE(dialog, nullptr) << "template does not load";

        LONG style = GetWindowLongA(dialog, GWL_STYLE);
        switch (c.form) {
        case POPUP:
        case RESIZABLE:
            EXPECT_TRUE(style & WS_POPUP);
            EXPECT_EQ((style & WS_CAPTION), WS_CAPTION);
            EXPECT_EQ((style & WS_THICKFRAME) != 0, c.form == RESIZABLE);
            break;
        case PAGE:
            EXPECT_TRUE(style & WS_CHILD);
            EXPECT_EQ((style & WS_CAPTION), WS_CAPTION) << "a page's caption is its tab text";
            EXPECT_FALSE(TextOf(dialog).empty());
            break;
        case CHILD:
            EXPECT_TRUE(style & WS_CHILD);
            EXPECT_NE((style & WS_CAPTION), WS_CAPTION);
            break;
        }
        if (c.caption) {
            EXPECT_EQ(TextOf(dialog), c.caption);
        }

        for (const Ctl& ctl : c.controls) {
            SCOPED_TRACE("control " + std::to_string(ctl.id));
            HWND item = GetDlgItem(dialog, ctl.id);
            ASSERT_NE(item, nullptr) << "missing";
            if (ctl.cls) {
                EXPECT_TRUE(SameClass(ClassOf(item), ctl.cls)) << ClassOf(item) << " instead of " << ctl.cls;
            }
            if (ctl.text) {
                EXPECT_EQ(TextOf(item), ctl.text);
            }
            LONG itemStyle = GetWindowLongA(item, GWL_STYLE);
            EXPECT_EQ(DWORD(itemStyle) & ctl.style, ctl.style) << "style 0x" << std::hex << itemStyle;
            LONG type = itemStyle & BS_TYPEMASK;
            switch (ctl.kind) {
            case ANY:
                break;
            case PUSH:
                EXPECT_TRUE(type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) << "button type " << type;
                break;
            case DEFPUSH:
                EXPECT_EQ(type, BS_DEFPUSHBUTTON);
                break;
            case CHECK:
                EXPECT_EQ(type, BS_AUTOCHECKBOX);
                break;
            case RADIO:
                EXPECT_EQ(type, BS_AUTORADIOBUTTON);
                break;
            case GROUP:
                EXPECT_EQ(type, BS_GROUPBOX);
                break;
            }
        }

        std::vector<HWND> children = DirectChildren(dialog);
        for (const char* label : c.labels) {
            bool found = false;
            for (HWND child : children)
                found |= TextOf(child) == label;
            EXPECT_TRUE(found) << "label \"" << label << "\" missing";
        }
        DestroyWindow(dialog);
    }
}

// No two controls of a dialog share an id (GetDlgItem would find only one),
// and every control lies inside the client area without covering another.
// Group boxes frame others by design and are left out of the overlap test.
TEST_F(Dialogs, ControlsHaveOwnIdsAndOwnPlaces)
{
    for (const DialogCase& c : kDialogs) {
        SCOPED_TRACE("dialog " + std::to_string(c.id));
        HWND dialog = Create(c.id);
        ASSERT_NE(dialog, nullptr);
        RECT client;
        GetClientRect(dialog, &client);

        struct Placed {
            HWND window;
            int id;
            RECT rect;
            bool group;
        };
        std::vector<Placed> placed;
        for (HWND child : DirectChildren(dialog)) {
            int id = GetDlgCtrlID(child);
            if (id != -1 && id != 0xFFFF) {
                for (const Placed& p : placed) {
                    EXPECT_NE(p.id, id) << "two controls with id " << id;
                }
            }
            LONG style = GetWindowLongA(child, GWL_STYLE);
            if (!(style & WS_VISIBLE))
                continue;
            RECT r;
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_TRUE(r.left >= client.left && r.top >= client.top && r.right <= client.right &&
                        r.bottom <= client.bottom)
                << "control " << id << " \"" << TextOf(child) << "\" sticks out of the dialog";
            bool group = SameClass(ClassOf(child), "Button") && (style & BS_TYPEMASK) == BS_GROUPBOX;
            placed.push_back({child, id, r, group});
        }
        for (size_t i = 0; i < placed.size(); ++i)
            for (size_t j = i + 1; j < placed.size(); ++j) {
                if (placed[i].group || placed[j].group)
                    continue;
                // An up-down control sits on the border of its buddy.
                if (IsBuddyPair(placed[i].window, placed[j].window))
                    continue;
                RECT overlap;
                EXPECT_FALSE(IntersectRect(&overlap, &placed[i].rect, &placed[j].rect))
                    << "controls " << placed[i].id << " \"" << TextOf(placed[i].window) << "\" and "
                    << placed[j].id << " \"" << TextOf(placed[j].window) << "\" overlap";
            }

        // Look at the result: shown without activation, kept as an artefact.
        if (c.form == PAGE || c.form == CHILD)
            ShowWindow(parent_, SW_SHOWNOACTIVATE);
        ShowWindow(dialog, SW_SHOWNOACTIVATE);
        if (c.form == PAGE)
            EnableWindow(dialog, TRUE);
        UpdateWindow(dialog);
        Pump();
        SaveScreenshot(dialog, "dialog-" + std::to_string(c.id));
        DestroyWindow(dialog);
        ShowWindow(parent_, SW_HIDE);
    }
}

// Every caption fits its control: single-line buttons on one line, check
// boxes and radio buttons beside their box, labels and multi-line buttons
// within their rectangle when the words wrap. A text cut off at the edge is
// a layout fault that only shows on screen.
TEST_F(Dialogs, TextsFitTheirControls)
{
    const int box = GetSystemMetrics(SM_CXMENUCHECK) + 4;
    for (const DialogCase& c : kDialogs) {
        HWND dialog = Create(c.id);
        ASSERT_NE(dialog, nullptr) << c.id;
        for (HWND child : DirectChildren(dialog)) {
            std::string text = TextOf(child);
            LONG style = GetWindowLongA(child, GWL_STYLE);
            if (text.empty() || !(style & WS_VISIBLE))
                continue;
            RECT r;
            GetClientRect(child, &r);
            int width = r.right, height = r.bottom;
            UINT format = DT_CALCRECT;
            int room = width;
            bool wraps = false;
            std::string cls = ClassOf(child);
            if (SameClass(cls, "Button")) {
                LONG type = style & BS_TYPEMASK;
                if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
                    room = width - 8;
                else if (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON || type == BS_CHECKBOX ||
                         type == BS_RADIOBUTTON)
                    room = width - box;
                else if (type == BS_GROUPBOX)
                    room = width - 16;
                else
                    continue;
                wraps = (style & BS_MULTILINE) != 0;
            } else if (SameClass(cls, "Static")) {
                LONG type = style & SS_TYPEMASK;
                if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT)
                    continue;
                wraps = true;
                if (style & SS_NOPREFIX)
                    format |= DT_NOPREFIX;
            } else {
                continue;
            }
            format |= wraps ? DT_WORDBREAK : DT_SINGLELINE;

            HDC dc = GetDC(child);
            HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)));
            RECT need = {0, 0, room, 0};
            DrawTextA(dc, text.c_str(), -1, &need, format);
            SelectObject(dc, old);
            ReleaseDC(child, dc);
            EXPECT_LE(need.right, room) << "dialog " << c.id << ": \"" << text << "\" is too wide";
            if (wraps) {
                EXPECT_LE(need.bottom, height) << "dialog " << c.id << ": \"" << text << "\" needs more lines";
            }
        }
        DestroyWindow(dialog);
    }
}

// A dialog of its own has exactly one default button, so Enter does one
// thing.
TEST_F(Dialogs, DialogsHaveOneDefaultButton)
{
    for (const DialogCase& c : kDialogs) {
        if (c.form != POPUP && c.form != RESIZABLE)
            continue;
        HWND dialog = Create(c.id);
        ASSERT_NE(dialog, nullptr) << c.id;
        int defaults = 0;
        for (HWND child : DirectChildren(dialog))
            if (SameClass(ClassOf(child), "Button") &&
                (GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                ++defaults;
        EXPECT_EQ(defaults, 1) << "dialog " << c.id;
        DestroyWindow(dialog);
    }
}

TEST_F(Dialogs, OrderedListsDoNotSort)
{
    for (const auto& c : kUnsortedLists) {
        HWND dialog = Create(c.first);
        ASSERT_NE(dialog, nullptr) << c.first;
        HWND list = GetDlgItem(dialog, c.second);
        ASSERT_NE(list, nullptr) << c.first;
        EXPECT_FALSE(GetWindowLongA(list, GWL_STYLE) & LBS_SORT) << "dialog " << c.first << " list " << c.second;
        DestroyWindow(dialog);
    }
}

// The Tidy page's placeholder only lends its rectangle to the grid.
TEST_F(Dialogs, TidyPlaceholderIsHidden)
{
    HWND dialog = Create(IDD_TIDY_PAGE);
    ASSERT_NE(dialog, nullptr);
    HWND placeholder = GetDlgItem(dialog, IDC_TIDY_PLACEHOLDER);
    ASSERT_NE(placeholder, nullptr);
    EXPECT_FALSE(GetWindowLongA(placeholder, GWL_STYLE) & WS_VISIBLE);
    DestroyWindow(dialog);
}

} // namespace
