// Helpers of the resource tests: the resources are linked into the test
// program itself, so everything is read back from the program's own module
// unless a module is given (Qmate.exe loaded as a data file, for one).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "resource.h"

namespace restest {

HINSTANCE Module();

// A string of the string table, "" when there is none.
std::string LoadText(UINT id, HINSTANCE module = Module());
// True when the string table holds a non-empty string of that id.
bool HasString(UINT id);

// Menu text without the mnemonic marks ("&&" stays as one "&"), without the
// shortcut after a tab and without a trailing "...".
std::string PlainText(const std::string& menuText);
// The shortcut after a tab, "" without one.
std::string ShortcutText(const std::string& menuText);

struct MenuEntry {
    std::string path; // popup captions above the item, joined by "/"
    UINT id = 0;      // command id (0 for separators and popups)
    std::string text; // raw item text
    bool separator = false;
    bool popup = false;
    bool grayed = false;
};

// Every item of a menu, depth first, popups included.
std::vector<MenuEntry> FlattenMenu(HMENU menu, const std::string& path = std::string());
// The direct items of one popup.
std::vector<MenuEntry> PopupItems(HMENU popup);

// The entries of an accelerator resource; empty when it does not load.
std::vector<ACCEL> LoadAccelTable(UINT id);

// A parsed toolbar resource.
struct Toolbar {
    WORD version = 0;
    WORD width = 0;
    WORD height = 0;
    WORD count = 0;
    std::vector<WORD> items;
    DWORD bytes = 0; // size of the resource
};
bool LoadToolbar(UINT id, Toolbar* out, HINSTANCE module = Module());
std::vector<WORD> NonSeparators(const Toolbar& bar);

// A bitmap resource as a DIB section.
struct Bitmap {
    HBITMAP handle = nullptr;
    BITMAP info = {};
    Bitmap() = default;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    ~Bitmap();
    bool Load(UINT id, HINSTANCE module = Module());
    COLORREF Pixel(int x, int y) const;
    COLORREF TopLeft() const { return Pixel(0, 0); }
};

// Command ids found in all menus, toolbars and the accelerator table.
std::vector<UINT> AllMenuCommands();

} // namespace restest
