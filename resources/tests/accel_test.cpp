// The main accelerator table: the shortcuts the program documents, the
// agreement with the shortcut texts shown in the menus, and no key that
// two commands fight over.
#include "restest.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

const BYTE kModifiers = FCONTROL | FSHIFT | FALT;

struct ShortcutCase {
    UINT command;
    WORD key;
    BYTE modifiers;
};

// Shortcuts the program's texts name.
const ShortcutCase kNamedShortcuts[] = {
    {ID_FILE_SAVE_ALL, 'S', FCONTROL | FSHIFT},
    {ID_FILE_NEW_FROM_TEMPLATE, 'N', FCONTROL | FSHIFT},
    {ID_FILE_OPEN, 'O', FCONTROL},
    {ID_FILE_OPEN_HEX, 'O', FCONTROL | FSHIFT},
    {ID_FILE_PREVIEW_BROWSER, 'P', FCONTROL | FSHIFT},
    {ID_EDIT_FIND, 'F', FCONTROL},
    {ID_EDIT_REPLACE, 'H', FCONTROL},
    {ID_SEARCH_FIND_NEXT, VK_F3, 0},
    {ID_SEARCH_GOTO, 'G', FCONTROL},
    {ID_TOOLS_SPELLING, VK_F7, 0},
};

std::string Describe(const ACCEL& a)
{
    std::ostringstream out;
    out << "fVirt 0x" << std::hex << int(a.fVirt) << " key 0x" << a.key << std::dec << " -> " << a.cmd;
    return out.str();
}

TEST(Accelerators, NamedShortcutsAreInTheTable)
{
    std::vector<ACCEL> table = restest::LoadAccelTable(IDR_MAINFRAME);
    ASSERT_FALSE(table.empty());
    for (const ShortcutCase& c : kNamedShortcuts) {
        bool found = false;
        for (const ACCEL& a : table)
            found |= a.cmd == c.command && a.key == c.key && (a.fVirt & kModifiers) == c.modifiers;
        EXPECT_TRUE(found) << "command " << c.command;
    }
}

// Entries are virtual keys, and a key with its modifiers belongs to one
// command. The only exception is F3: Find Next first, then the hex find
// dialog's Find button, whose entry that dialog copies for itself.
TEST(Accelerators, EachKeyBelongsToOneCommand)
{
    std::vector<ACCEL> table = restest::LoadAccelTable(IDR_MAINFRAME);
    std::map<std::pair<WORD, BYTE>, std::vector<size_t>> byKey;
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_TRUE(table[i].fVirt & FVIRTKEY) << Describe(table[i]);
        byKey[{table[i].key, BYTE(table[i].fVirt & kModifiers)}].push_back(i);
    }
    for (const auto& entry : byKey) {
        const std::vector<size_t>& uses = entry.second;
        if (uses.size() == 1)
            continue;
        ASSERT_EQ(uses.size(), 2u) << Describe(table[uses[0]]);
        EXPECT_EQ(entry.first, std::make_pair(WORD(VK_F3), BYTE(0))) << Describe(table[uses[0]]);
        EXPECT_EQ(table[uses[0]].cmd, ID_SEARCH_FIND_NEXT);
        EXPECT_EQ(table[uses[1]].cmd, ID_HEX_FIND);
    }
}

// "Ctrl+Shift+F2" -> (VK_F2, FCONTROL | FSHIFT). Returns false for a name
// the parser does not know, so a typo in a menu fails the test.
bool ParseShortcut(const std::string& text, WORD* key, BYTE* modifiers)
{
    *key = 0;
    *modifiers = 0;
    std::string rest = text;
    for (;;) {
        size_t plus = rest.find('+');
        if (plus == std::string::npos || plus == 0)
            break;
        std::string part = rest.substr(0, plus);
        if (part == "Ctrl")
            *modifiers |= FCONTROL;
        else if (part == "Shift")
            *modifiers |= FSHIFT;
        else if (part == "Alt")
            *modifiers |= FALT;
        else
            return false;
        rest = rest.substr(plus + 1);
    }
    if (rest.size() == 1 && ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= '0' && rest[0] <= '9')))
        *key = WORD(rest[0]);
    else if (rest.size() >= 2 && rest[0] == 'F' && atoi(rest.c_str() + 1) >= 1 && atoi(rest.c_str() + 1) <= 12)
        *key = WORD(VK_F1 + atoi(rest.c_str() + 1) - 1);
    else if (rest == "Left Arrow")
        *key = VK_LEFT;
    else if (rest == "Right Arrow")
        *key = VK_RIGHT;
    else if (rest == "Del")
        *key = VK_DELETE;
    else if (rest == "Ins")
        *key = VK_INSERT;
    else
        return false;
    return true;
}

// A shortcut written after a tab in any menu item exists in the table for
// that item's command.
TEST(Accelerators, MenuShortcutTextsMatchTheTable)
{
    std::vector<ACCEL> table = restest::LoadAccelTable(IDR_MAINFRAME);
    const UINT menus[] = {IDR_MAINFRAME, IDR_TEXTTYPE, IDR_HEXTYPE, IDR_COMPARETYPE, IDR_PREVIEWTYPE};
    int checked = 0;
    for (UINT menuId : menus) {
        HMENU menu = LoadMenuW(restest::Module(), MAKEINTRESOURCEW(menuId));
        ASSERT_NE(menu, nullptr);
        for (const restest::MenuEntry& e : restest::FlattenMenu(menu)) {
            std::string shortcut = restest::ShortcutText(e.text);
            if (shortcut.empty())
                continue;
            WORD key;
            BYTE modifiers;
            ASSERT_TRUE(ParseShortcut(shortcut, &key, &modifiers)) << "menu " << menuId << ": " << e.text;
            bool found = false;
            for (const ACCEL& a : table)
                found |= a.cmd == e.id && a.key == key && (a.fVirt & kModifiers) == modifiers;
            EXPECT_TRUE(found) << "menu " << menuId << " shows \"" << shortcut << "\" for command " << e.id
                               << " but the accelerator table has no such entry";
            ++checked;
        }
        DestroyMenu(menu);
    }
    EXPECT_GT(checked, 0);
}

} // namespace
