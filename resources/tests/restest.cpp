#include "restest.h"

#include <algorithm>
#include <set>

namespace restest {

HINSTANCE Module()
{
    return GetModuleHandleW(nullptr);
}

std::string LoadText(UINT id, HINSTANCE module)
{
    // The wide call with a zero length hands out a pointer into the
    // resource itself, so strings of any length come back whole.
    const wchar_t* text = nullptr;
    int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return std::string();
    int bytes = WideCharToMultiByte(1252, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(1252, 0, text, length, &result[0], bytes, nullptr, nullptr);
    return result;
}

bool HasString(UINT id)
{
    return !LoadText(id).empty();
}

std::string PlainText(const std::string& menuText)
{
    std::string text = menuText.substr(0, menuText.find('\t'));
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                result += '&';
                ++i;
            }
            continue;
        }
        result += text[i];
    }
    if (result.size() >= 3 && result.compare(result.size() - 3, 3, "...") == 0)
        result.erase(result.size() - 3);
    while (!result.empty() && result.back() == ' ')
        result.pop_back();
    return result;
}

std::string ShortcutText(const std::string& menuText)
{
    size_t tab = menuText.find('\t');
    return tab == std::string::npos ? std::string() : menuText.substr(tab + 1);
}

static MenuEntry ReadItem(HMENU menu, int index)
{
    MenuEntry entry;
    char buffer[512] = {};
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = sizeof(buffer) - 1;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(index), TRUE, &info))
        return entry;
    entry.separator = (info.fType & MFT_SEPARATOR) != 0;
    entry.popup = info.hSubMenu != nullptr;
    entry.id = entry.popup || entry.separator ? 0 : info.wID;
    entry.text = buffer;
    entry.grayed = (info.fState & MFS_GRAYED) != 0;
    return entry;
}

std::vector<MenuEntry> PopupItems(HMENU popup)
{
    std::vector<MenuEntry> items;
    int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i)
        items.push_back(ReadItem(popup, i));
    return items;
}

std::vector<MenuEntry> FlattenMenu(HMENU menu, const std::string& path)
{
    std::vector<MenuEntry> items;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MenuEntry entry = ReadItem(menu, i);
        entry.path = path;
        items.push_back(entry);
        if (entry.popup) {
            std::string below = path.empty() ? PlainText(entry.text) : path + "/" + PlainText(entry.text);
            std::vector<MenuEntry> inner = FlattenMenu(GetSubMenu(menu, i), below);
            items.insert(items.end(), inner.begin(), inner.end());
        }
    }
    return items;
}

std::vector<ACCEL> LoadAccelTable(UINT id)
{
    std::vector<ACCEL> entries;
    HACCEL table = LoadAcceleratorsW(Module(), MAKEINTRESOURCEW(id));
    if (!table)
        return entries;
    int count = CopyAcceleratorTableW(table, nullptr, 0);
    entries.resize(static_cast<size_t>(count));
    if (count > 0)
        CopyAcceleratorTableW(table, entries.data(), count);
    DestroyAcceleratorTable(table);
    return entries;
}

bool LoadToolbar(UINT id, Toolbar* out, HINSTANCE module)
{
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(QM_RT_TOOLBAR_ID));
    if (!found)
        return false;
    HGLOBAL loaded = LoadResource(module, found);
    const WORD* words = loaded ? static_cast<const WORD*>(LockResource(loaded)) : nullptr;
    DWORD bytes = SizeofResource(module, found);
    if (!words || bytes < 4 * sizeof(WORD))
        return false;
    out->bytes = bytes;
    out->version = words[0];
    out->width = words[1];
    out->height = words[2];
    out->count = words[3];
    out->items.clear();
    DWORD available = bytes / sizeof(WORD) - 4;
    for (DWORD i = 0; i < out->count && i < available; ++i)
        out->items.push_back(words[4 + i]);
    return true;
}

std::vector<WORD> NonSeparators(const Toolbar& bar)
{
    std::vector<WORD> ids;
    for (WORD id : bar.items)
        if (id != 0)
            ids.push_back(id);
    return ids;
}

Bitmap::~Bitmap()
{
    if (handle)
        DeleteObject(handle);
}

bool Bitmap::Load(UINT id, HINSTANCE module)
{
    handle = static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    return handle && GetObjectW(handle, sizeof(info), &info) == sizeof(info);
}

COLORREF Bitmap::Pixel(int x, int y) const
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, handle);
    COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return colour;
}

std::vector<UINT> AllMenuCommands()
{
    static const UINT menus[] = {IDR_MAINFRAME, IDR_TEXTTYPE, IDR_HEXTYPE, IDR_COMPARETYPE,
                                 IDR_PREVIEWTYPE, IDR_CONTEXT_HEX, IDR_CONTEXT_PROJECT,
                                 IDR_CONTEXT_TEMPLATE_FILE, IDR_CONTEXT_TEMPLATE_FOLDER,
                                 IDR_CONTEXT_EDITOR, IDR_CONTEXT_TABS, IDR_CONTEXT_COMPARE,
                                 IDR_CONTEXT_FILETREE};
    std::set<UINT> ids;
    for (UINT menuId : menus) {
        HMENU menu = LoadMenuW(Module(), MAKEINTRESOURCEW(menuId));
        if (!menu)
            continue;
        for (const MenuEntry& entry : FlattenMenu(menu))
            if (entry.id != 0)
                ids.insert(entry.id);
        DestroyMenu(menu);
    }
    return std::vector<UINT>(ids.begin(), ids.end());
}

} // namespace restest
