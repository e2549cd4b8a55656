// Menus and keyboard shortcuts: the command ids and texts each menu carries,
// the exact order of the context menus, and the agreement between the
// shortcut texts in the menus and the accelerator table.
#include "restest.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using restest::MenuEntry;
using restest::PlainText;

namespace {

enum : unsigned {
    M_MAIN = 1,     // IDR_MAINFRAME, no document open
    M_TEXT = 2,     // IDR_TEXTTYPE
    M_HEX = 4,      // IDR_HEXTYPE
    M_COMPARE = 8,  // IDR_COMPARETYPE
    M_PREVIEW = 16, // IDR_PREVIEWTYPE
    M_DOCS = M_TEXT | M_HEX | M_COMPARE | M_PREVIEW,
    M_ALL = M_MAIN | M_DOCS,
};

const std::pair<unsigned, UINT> kMenuBars[] = {{M_MAIN, IDR_MAINFRAME},
                                               {M_TEXT, IDR_TEXTTYPE},
                                               {M_HEX, IDR_HEXTYPE},
                                               {M_COMPARE, IDR_COMPARETYPE},
                                               {M_PREVIEW, IDR_PREVIEWTYPE}};

struct ItemCase {
    unsigned menus; // menu bars that must carry the command
    UINT id;
    const char* text;
    bool exact; // exact item text; otherwise compared without
                // mnemonics, shortcut and a trailing "..."
};

const ItemCase kItems[] = {
    // Application commands.
    {M_ALL, ID_HELP_TOPICS, "&Help Topics", true},
    {M_ALL, ID_HELP_CONTENTS, "&Contents", true},
    {M_ALL, ID_HELP_INDEX, "Index", false},
    {M_ALL, ID_HELP_SEARCH, "Search", false},
    {M_TEXT, ID_FILE_SAVE_ALL, "Save A&ll\tCtrl+Shift+S", true},
    {M_ALL, ID_FILE_NEW, "&File", true},
    {M_ALL, ID_FILE_NEW_FROM_TEMPLATE, "F&rom Template\tCtrl+Shift+N", true},
    {M_ALL, ID_APP_ABOUT, "&About Quillmate...", true},
    {M_ALL, ID_FILE_OPEN, "&Open...\tCtrl+O", true},
    {M_ALL, ID_FILE_OPEN_HEX, "Open as &Hex...\tCtrl+Shift+O", true},
    {M_ALL, ID_FILE_COMPARE, "Compare Files...", true},
    // Panes.
    {M_ALL, ID_VIEW_PROJECT_EXPLORER, "&Project Explorer", true},
    {M_ALL, ID_VIEW_FILE_EXPLORER, "&File Explorer", true},
    {M_ALL, ID_VIEW_FUNCTION_LIST, "Function List", true},
    {M_ALL, ID_VIEW_LIST_EXPLORER, "&List Explorer", true},
    {M_ALL, ID_VIEW_TEMPLATE_EXPLORER, "Code &Library", true},
    {M_ALL, ID_VIEW_TOOL_WINDOW, "&Output Window", true},
    {M_ALL, ID_VIEW_FIND_IN_FILES, "F&ind In Files", true},
    {M_ALL, ID_VIEW_SHOW_ALL_WINDOWS, "&Show All Windows", true},
    {M_ALL, ID_VIEW_REFRESH_FILE_TREE, "Refresh File System View", true},
    // Text view settings.
    {M_TEXT, ID_VIEW_WORD_WRAP, "&Word Wrap", true},
    {M_TEXT, ID_VIEW_WHITESPACE, "Wh&itespace", true},
    {M_TEXT, ID_VIEW_LINE_ENDINGS, "Line &Endings", true},
    {M_TEXT, ID_VIEW_CARET_LINE, "&Caret Line", true},
    {M_TEXT, ID_VIEW_LINE_NUMBERS, "&Line Numbers", true},
    {M_TEXT, ID_VIEW_CODE_FOLDING, "C&ode Folding", true},
    {M_TEXT, ID_VIEW_RULER, "&Ruler", true},
    {M_TEXT, ID_VIEW_BLOCK_SELECT, "Block Select Mode", true},
    {M_TEXT, ID_VIEW_MATCH_BRACKET, "&Match Bracket", true},
    // Tabs and windows (only with documents).
    {M_DOCS, ID_TABS_HIDE, "Hide Tabs", true},
    {M_DOCS, ID_TABS_ALIGN_LEFT, "Align Left", true},
    {M_DOCS, ID_TABS_ALIGN_RIGHT, "Align Right", true},
    {M_DOCS, ID_TABS_ALIGN_TOP, "Align Top", true},
    {M_DOCS, ID_TABS_ALIGN_BOTTOM, "Align Bottom", true},
    {M_DOCS, ID_WINDOW_CASCADE, "&Cascade", true},
    {M_DOCS, ID_WINDOW_TILE_HORZ, "&Tile", true},
    {M_DOCS, ID_WINDOW_ARRANGE, "&Arrange Icons", true},
    {M_DOCS, ID_WINDOW_CLOSE_ALL_BUT, "Close All But Selected...", true},
    // Workspace.
    {M_ALL, ID_FILE_NEW_WORKSPACE, "&Workspace", true},
    {M_ALL, ID_WORKSPACE_OPEN, "Op&en Workspace", true},
    {M_ALL, ID_WORKSPACE_SAVE, "Sa&ve Workspace", true},
    {M_ALL, ID_WORKSPACE_CLOSE, "Close &Workspace", true},
    {M_ALL, ID_WORKSPACE_ADD_FOLDER, "Add Folder", true},
    {M_ALL, ID_WORKSPACE_DELETE_FOLDER, "Delete Folder", true},
    {M_ALL, ID_WORKSPACE_RENAME_FOLDER, "Rename Folder", true},
    // Tools and configuration.
    {M_ALL, ID_TOOLS_LIST, nullptr, false},
    {M_ALL, ID_TOOLS_CUSTOMIZE, "&Customize...", true},
    {M_ALL, ID_TOOLS_EXTERNAL_WIZARD, "External tool wizard", true},
    {M_ALL, ID_TOOLS_CREATE_TOOLBARS, "Create Toolbars", true},
    {M_ALL, ID_TOOLS_KEYBOARD, "Keyboard Shortcuts", true},
    {M_ALL, ID_TOOLS_EDIT_MENUS, "Edit Menus", true},
    {M_ALL, ID_TOOLS_PRESENTATION, "Presentation Options", true},
    {M_ALL, ID_TOOLS_EDITOR_PROPERTIES, "Editor Properties", true},
    {M_ALL, ID_TOOLS_TIDY_PROPERTIES, "Tidy Properties", true},
    {M_ALL, ID_TOOLS_XML_TIDY_PROPERTIES, "XML Tidy Properties", true},
    {M_ALL, ID_TOOLS_STOP_USER_TOOL, "&Stop User Tool", true},
    {M_MAIN | M_TEXT, ID_SEARCH_FIND_IN_FILES, "Find in Files", false},
    {M_MAIN | M_TEXT, ID_VIEW_FONT, "Font...", true},
    {M_MAIN | M_TEXT, ID_FILE_PAGE_SETUP_EX, "Page Setup...", true},
    {M_TEXT, ID_NAVIGATE_FORWARD, "Navigate Forward", false},
    {M_TEXT, ID_NAVIGATE_BACKWARD, "Navigate Backward", false},
    {M_ALL, ID_HELP_CHECK_UPDATES, "C&heck for Updates", true},
    // Themes.
    {M_ALL, ID_THEME_WIN2000, "Windows 2000", true},
    {M_ALL, ID_THEME_WINXP, "Windows XP", true},
    {M_ALL, ID_THEME_WHIDBEY, "Whidbey", true},
    {M_ALL, ID_THEME_OFFICEXP, "Office XP", true},
    {M_ALL, ID_THEME_OFFICE2003, "Office 2003", true},
    // Text documents.
    {M_TEXT, ID_FILE_SEND_MAIL, "Email Active Document", true},
    {M_TEXT, ID_FILE_DOCUMENT_HISTORY, "View Document History", true},
    {M_TEXT, ID_FILE_PREVIEW_BROWSER, "Preview in Browser", false},
    {M_TEXT, ID_EDIT_UNDO, "Undo", false},
    {M_TEXT, ID_EDIT_REDO, "Redo", false},
    {M_TEXT, ID_EDIT_CUT, "Cut", false},
    {M_TEXT, ID_EDIT_COPY, "Copy", false},
    {M_TEXT, ID_EDIT_PASTE, "Paste", false},
    {M_TEXT, ID_EDIT_CUT_APPEND, "Cut Append", false},
    {M_TEXT, ID_EDIT_COPY_APPEND, "Copy Append", false},
    {M_TEXT, ID_EDIT_SELECT_ALL, "Select All", false},
    {M_TEXT, ID_EDIT_SELECT_WORD, "Select Word", false},
    {M_TEXT, ID_EDIT_SELECT_LINE, "Select Line", false},
    {M_TEXT, ID_EDIT_INSERT_DATE, "Date", false},
    {M_TEXT, ID_EDIT_INSERT_TIME, "Time", false},
    {M_TEXT, ID_EDIT_INSERT_FILENAME, "File Name", false},
    {M_TEXT, ID_EDIT_CUT_LINE, "Cut Line", false},
    {M_TEXT, ID_EDIT_COPY_LINE, "Copy Line", false},
    {M_TEXT, ID_EDIT_DELETE_WORD, "Delete Word", false},
    {M_TEXT, ID_EDIT_DELETE_TO_EOL, "Delete to End of Line", false},
    {M_TEXT, ID_EDIT_DELETE_LINE, "Delete Line", false},
    {M_TEXT, ID_EDIT_SWAP_LINES, "Swap Lines", false},
    {M_TEXT, ID_EDIT_UPPER_CASE, "Upper Case", false},
    {M_TEXT, ID_EDIT_LOWER_CASE, "Lower Case", false},
    {M_TEXT, ID_EDIT_INDENT_RIGHT, "Indent Right", false},
    {M_TEXT, ID_EDIT_INDENT_LEFT, "Indent Left", false},
    {M_TEXT, ID_EDIT_COMMENT, "Comment", false},
    {M_TEXT, ID_EDIT_UNCOMMENT, "UnComment", false},
    {M_TEXT, ID_EDIT_TABS_TO_SPACES, "Tabs to Spaces", false},
    {M_TEXT, ID_EDIT_SPACES_TO_TABS, "Spaces to Tabs", false},
    {M_TEXT, ID_EDIT_TRIM_TRAILING, "Trim Trailing Spaces", false},
    {M_TEXT, ID_EDIT_TEMPLATE_FROM_SELECTION, "Create template from Selection", false},
    {M_TEXT | M_HEX, ID_EDIT_FIND, "Find", false},
    {M_TEXT, ID_EDIT_REPLACE, "Replace", false},
    {M_TEXT | M_HEX, ID_SEARCH_FIND_NEXT, "Find Next", false},
    {M_TEXT, ID_SEARCH_FIND_PREVIOUS, "Find Previous", false},
    {M_TEXT | M_HEX, ID_SEARCH_GOTO, "Goto", false},
    {M_TEXT, ID_BOOKMARK_TOGGLE, "Toggle Bookmark", false},
    {M_TEXT, ID_BOOKMARK_NEXT, "Next Bookmark", false},
    {M_TEXT, ID_BOOKMARK_PREVIOUS, "Previous Bookmark", false},
    {M_TEXT, ID_BOOKMARK_CLEAR, "Clear Bookmarks", false},
    {M_TEXT, ID_FILE_COPY_PATH, "Copy Filepath", false},
    {M_TEXT | M_HEX, ID_FILE_OPEN_IN_EXPLORER, "Open in Windows Explorer", false},
    {M_TEXT, ID_VIEW_AS_FIRST, nullptr, false},
    {M_TEXT, ID_VIEW_AS_MORE, "More", false},
    {M_TEXT, ID_TOOLS_SPELLING, "Spelling", false},
    {M_TEXT, ID_TOOLS_TIDY_HTML, "HTML Clean & Repair", false},
    {M_TEXT, ID_TOOLS_TIDY_XHTML, "XHTML Clean & Repair", false},
    {M_TEXT, ID_TOOLS_TIDY_XML, "XML Pretty Print", false},
    {M_TEXT, ID_TOOLS_XML_CHECK, "XML Well Formed Check", false},
    {M_TEXT, ID_MACRO_RECORD, "Record New Macro", false},
    {M_TEXT, ID_MACRO_STOP, "Stop Recording", false},
    {M_TEXT, ID_MACRO_PLAY, "Macros", false},
    {M_TEXT, ID_FILE_PRINT, "Print", false},
    {M_TEXT, ID_FILE_PRINT_PREVIEW, "Print Preview", false},
    // Hex documents.
    {M_HEX, ID_FILE_COPY_PATH, "Copy Current Filepath to Clipboard", true},
    {M_HEX | M_TEXT, ID_FILE_SAVE, "Save", false},
    {M_HEX | M_TEXT, ID_FILE_SAVE_AS, "Save As", false},
    // Compare documents.
    {M_COMPARE, ID_EDIT_COPY, "Copy", false},
    {M_COMPARE, ID_EDIT_SELECT_ALL, "Select All", false},
};

class MenuBar {
public:
    explicit MenuBar(UINT id) : menu_(LoadMenuW(restest::Module(), MAKEINTRESOURCEW(id))) {}
    ~MenuBar()
    {
        if (menu_)
            DestroyMenu(menu_);
    }
    HMENU get() const { return menu_; }

private:
    HMENU menu_;
};

TEST(Menus, MenuBarsCarryTheirCommandsWithTheirTexts)
{
    for (const auto& bar : kMenuBars) {
        MenuBar menu(bar.second);
        ASSERT_NE(menu.get(), nullptr) << "menu " << bar.second;
        std::vector<MenuEntry> items = restest::FlattenMenu(menu.get());
        for (const ItemCase& c : kItems) {
            if (!(c.menus & bar.first))
                continue;
            const MenuEntry* found = nullptr;
            for (const MenuEntry& e : items)
                if (e.id == c.id)
                    found = &e;
            ASSERT_NE(found, nullptr) << "menu " << bar.second << " lacks command " << c.id;
            if (!c.text)
                continue;
            if (c.exact) {
                EXPECT_EQ(found->text, c.text) << "menu " << bar.second << " command " << c.id;
            } else
                EXPECT_EQ(PlainText(found->text), c.text) << "menu " << bar.second << " command " << c.id;
        }
    }
}

// Each menu bar's top-level entries are popups (the customise dialog makes a
// command category of each), no popup is empty, a command appears only once
// per menu bar, and separators never stand first, last or doubled.
TEST(Menus, MenuBarsAreWellFormed)
{
    for (const auto& bar : kMenuBars) {
        MenuBar menu(bar.second);
        ASSERT_NE(menu.get(), nullptr);
        for (const MenuEntry& top : restest::PopupItems(menu.get())) {
            EXPECT_TRUE(top.popup) << "menu " << bar.second << ": \"" << top.text << "\" is not a popup";
        }

        std::set<UINT> seen;
        for (const MenuEntry& e : restest::FlattenMenu(menu.get()))
            if (e.id != 0) {
                EXPECT_TRUE(seen.insert(e.id).second) << "menu " << bar.second << " repeats command " << e.id;
            }

        // Walk every popup for empty ones and misplaced separators.
        std::vector<HMENU> pending{menu.get()};
        while (!pending.empty()) {
            HMENU popup = pending.back();
            pending.pop_back();
            std::vector<MenuEntry> items = restest::PopupItems(popup);
            EXPECT_FALSE(items.empty()) << "menu " << bar.second << " has an empty popup";
            for (size_t i = 0; i < items.size(); ++i) {
                if (items[i].popup)
                    pending.push_back(GetSubMenu(popup, static_cast<int>(i)));
                if (items[i].separator) {
                    EXPECT_NE(i, 0u) << "menu " << bar.second << " popup starts with a separator";
                    EXPECT_NE(i + 1, items.size()) << "menu " << bar.second << " popup ends with a separator";
                    if (i > 0) {
                        EXPECT_FALSE(items[i - 1].separator) << "menu " << bar.second << " doubled separator";
                    }
                }
            }
        }
    }
}

// The window list and the recent-file list are placeholders that the
// command bars replace; the recent-file entry stays grayed when the list is
// empty.
TEST(Menus, DocumentMenusHaveTheListPlaceholders)
{
    for (const auto& bar : kMenuBars) {
        MenuBar menu(bar.second);
        bool windowList = false, recent = false;
        for (const MenuEntry& e : restest::FlattenMenu(menu.get())) {
            windowList |= e.id == ID_WINDOW_LIST;
            if (e.id == ID_FILE_MRU_FILE1) {
                recent = true;
                EXPECT_TRUE(e.grayed);
            }
        }
        EXPECT_TRUE(recent) << "menu " << bar.second;
        EXPECT_EQ(windowList, (bar.first & M_DOCS) != 0) << "menu " << bar.second;
    }
}

struct ContextCase {
    UINT menu;
    bool separatorsMatter;                           // the sequence below lists the separators too
    std::vector<std::pair<UINT, const char*>> items; // id 0 = separator
};

const ContextCase kContextMenus[] = {
    {IDR_CONTEXT_FILETREE, true, {{ID_FILE_OPEN, "Open"}, {ID_FILE_OPEN_HEX, "Open As Hex"}, {0, nullptr}, {ID_FILE_COPY_PATH, "Copy Filepath to Clipboard"}, {ID_FILE_OPEN_IN_EXPLORER, "Open in Windows Explorer"}, {0, nullptr}, {ID_FILE_PROPERTIES, "Properties"}}},
    {IDR_CONTEXT_PROJECT, true, {{ID_PROJECT_OPEN, "&Open"}, {ID_PROJECT_REMOVE, "&Remove"}}},
    {IDR_CONTEXT_TEMPLATE_FILE, false, {{ID_TEMPLATE_ADD_TO_DOCUMENT, "Add To Document"}, {ID_TEMPLATE_COPY, "Copy To Clipboard"}, {ID_TEMPLATE_CREATE, "Create Template"}, {ID_TEMPLATE_EDIT, "Edit Template"}, {ID_TEMPLATE_DELETE, "Delete Template"}}},
    {IDR_CONTEXT_TEMPLATE_FOLDER, false, {{ID_TEMPLATE_CREATE_FOLDER, "Create Folder"}, {ID_TEMPLATE_RENAME_FOLDER, "Rename Folder"}, {ID_TEMPLATE_DELETE_FOLDER, "Delete Folder"}, {ID_TEMPLATE_CREATE, "Create Template"}}},
    {IDR_CONTEXT_TABS, false, {{ID_FILE_SAVE, "Save"}, {ID_FILE_SAVE_AS, "Save As"}, {ID_FILE_CLOSE, "Close"}, {ID_WINDOW_CLOSE_ALL_BUT, "Close All But This..."}, {ID_FILE_COPY_PATH, "Copy Filepath to Clipboard"}, {ID_FILE_OPEN_IN_EXPLORER, "Open in Windows Explorer"}, {ID_FILE_SEND_MAIL, "Email Document"}, {ID_TABS_ALIGN_LEFT, "Align Left"}, {ID_TABS_ALIGN_RIGHT, "Align Right"}, {ID_TABS_ALIGN_TOP, "Align Top"}, {ID_TABS_ALIGN_BOTTOM, "Align Bottom"}, {ID_TABS_HIDE, "Hide Tabs"}}},
    {IDR_CONTEXT_COMPARE, true, {{ID_EDIT_COPY, "Copy"}, {0, nullptr}, {ID_EDIT_SELECT_ALL, "Select All"}}},
    {IDR_CONTEXT_HEX, true, {{ID_EDIT_UNDO, "Undo"}, {ID_EDIT_REDO, "Redo"}, {0, nullptr}, {ID_EDIT_CUT, "Cut"}, {ID_EDIT_COPY, "Copy"}, {ID_EDIT_PASTE, "Paste"}}},
};

TEST(Menus, ContextMenusListTheirItemsInOrder)
{
    for (const ContextCase& c : kContextMenus) {
        MenuBar menu(c.menu);
        ASSERT_NE(menu.get(), nullptr) << "menu " << c.menu;
        HMENU popup = GetSubMenu(menu.get(), 0);
        ASSERT_NE(popup, nullptr) << "menu " << c.menu << " has no first popup";
        std::vector<MenuEntry> items;
        for (const MenuEntry& e : restest::PopupItems(popup))
            if (c.separatorsMatter || !e.separator)
                items.push_back(e);
        ASSERT_EQ(items.size(), c.items.size()) << "menu " << c.menu;
        for (size_t i = 0; i < items.size(); ++i) {
            if (c.items[i].first == 0) {
                EXPECT_TRUE(items[i].separator) << "menu " << c.menu << " item " << i;
                continue;
            }
            EXPECT_EQ(items[i].id, c.items[i].first) << "menu " << c.menu << " item " << i;
            EXPECT_EQ(items[i].text, c.items[i].second) << "menu " << c.menu << " item " << i;
        }
    }
}

// The editor's context menu offers the editing commands; its entry for the
// template command must not read "Delete", since it deletes nothing.
TEST(Menus, EditorContextMenuNamesTheTemplateCommandForWhatItDoes)
{
    MenuBar menu(IDR_CONTEXT_EDITOR);
    ASSERT_NE(menu.get(), nullptr);
    HMENU popup = GetSubMenu(menu.get(), 0);
    ASSERT_NE(popup, nullptr);
    std::map<UINT, std::string> texts;
    for (const MenuEntry& e : restest::PopupItems(popup))
        if (e.id)
            texts[e.id] = PlainText(e.text);
    for (UINT id : {ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_SELECT_ALL}) {
        EXPECT_EQ(texts.count(id), 1u) << "command " << id;
    }
    ASSERT_EQ(texts.count(ID_EDIT_TEMPLATE_FROM_SELECTION), 1u);
    std::string text = texts[ID_EDIT_TEMPLATE_FROM_SELECTION];
    EXPECT_NE(text, "Delete");
    EXPECT_NE(text.find("emplate"), std::string::npos) << text;
}

} // namespace
