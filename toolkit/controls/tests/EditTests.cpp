// The toolkit's edit control: its commands, their enabled states, the
// context menu and its painting.
#include "DialogTestSupport.h"
#include "PaintTestSupport.h"

#include <qx/edit.h>
#include <qx/toolkitres.h>

#include <algorithm>

using namespace dlgtest;
using namespace painttest;

namespace {

struct EditTest : ::testing::Test {
    FixedColors colors;
    CWnd parent;
    CQXEdit edit;

    void SetUp() override
    {
        LPCSTR cls = AfxRegisterWndClass(0, NULL, (HBRUSH)(COLOR_BTNFACE + 1));
        ASSERT_TRUE(parent.CreateEx(0, cls, "Edit", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 300, 120, NULL, NULL));
        ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 10, 250, 34), &parent, 77));
        PumpMessages();
    }
    void TearDown() override
    {
        edit.DestroyWindow();
        parent.DestroyWindow();
        PumpMessages();
    }
    CString Text()
    {
        CString s;
        edit.GetWindowText(s);
        return s;
    }
    void Command(UINT nID) { edit.SendMessage(WM_COMMAND, nID, 0); }
};

TEST_F(EditTest, CommandsAndTheirEnabledStates)
{
    edit.SetWindowText("hello world");
    EXPECT_TRUE(edit.IsCommandEnabled(QX_ID_EDIT_SELECT_ALL));
    edit.SetSel(0, 0);
    EXPECT_FALSE(edit.IsCommandEnabled(QX_ID_EDIT_COPY)) << "nothing selected";
    EXPECT_FALSE(edit.IsCommandEnabled(QX_ID_EDIT_CUT));
    Command(QX_ID_EDIT_SELECT_ALL);
    DWORD dwStart = 1, dwEnd = 0;
    edit.SendMessage(EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
    EXPECT_EQ(0u, dwStart);
    EXPECT_EQ(11u, dwEnd);
    EXPECT_TRUE(edit.IsCommandEnabled(QX_ID_EDIT_COPY));
    EXPECT_TRUE(edit.IsCommandEnabled(QX_ID_EDIT_CUT));
    edit.SetSel(0, 6);
    Command(QX_ID_EDIT_CLEAR);
    EXPECT_STREQ("world", Text().GetString());
    EXPECT_TRUE(edit.IsCommandEnabled(QX_ID_EDIT_UNDO));
    Command(QX_ID_EDIT_UNDO);
    EXPECT_STREQ("hello world", Text().GetString());
    // Cut and paste go through the clipboard.
    edit.SetSel(0, 5);
    Command(QX_ID_EDIT_CUT);
    EXPECT_STREQ(" world", Text().GetString());
    EXPECT_TRUE(edit.IsCommandEnabled(QX_ID_EDIT_PASTE));
    edit.SetSel(6, 6);
    Command(QX_ID_EDIT_PASTE);
    EXPECT_STREQ(" worldhello", Text().GetString());
    edit.SetSel(1, 6);
    Command(QX_ID_EDIT_COPY);
    edit.SetSel(0, 0);
    Command(QX_ID_EDIT_PASTE);
    EXPECT_STREQ("world worldhello", Text().GetString());
    // Read-only edits offer Copy and Select All, and Undo while they keep
    // something to undo; nothing that changes the text.
    edit.SetReadOnly(TRUE);
    edit.SetSel(0, 3);
    EXPECT_TRUE(edit.IsCommandEnabled(QX_ID_EDIT_COPY));
    EXPECT_FALSE(edit.IsCommandEnabled(QX_ID_EDIT_CUT));
    EXPECT_FALSE(edit.IsCommandEnabled(QX_ID_EDIT_CLEAR));
    EXPECT_FALSE(edit.IsCommandEnabled(QX_ID_EDIT_PASTE));
    EXPECT_TRUE(edit.IsCommandEnabled(QX_ID_EDIT_UNDO));
}

TEST_F(EditTest, UndoFollowsTheUndoBufferReadOnlyOrNot)
{
    // Each row: whether the edit keeps an edit to undo, whether it is
    // read-only; Undo is offered exactly when the edit can undo.
    struct Row {
        bool bEdited;
        BOOL bReadOnly;
    } rows[] = {{false, FALSE}, {false, TRUE}, {true, FALSE}, {true, TRUE}};
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << "edited " << r.bEdited << ", read-only " << r.bReadOnly);
        edit.SetReadOnly(FALSE);
        edit.SetWindowText("some text");
        edit.EmptyUndoBuffer();
        if (r.bEdited) {
            edit.SetSel(0, 4);
            edit.ReplaceSel("other", TRUE);
        }
        edit.SetReadOnly(r.bReadOnly);
        ASSERT_EQ(r.bEdited, edit.SendMessage(EM_CANUNDO, 0, 0) != 0);
        EXPECT_EQ(r.bEdited, edit.IsCommandEnabled(QX_ID_EDIT_UNDO) != FALSE);
        // The menu the control shows, updated as it is before it opens.
        HMENU hMenu = edit.CreateContextMenu();
        ASSERT_NE(nullptr, hMenu);
        edit.SendMessage(WM_INITMENUPOPUP, (WPARAM)hMenu, MAKELPARAM(0, FALSE));
        const bool bGrey = (::GetMenuState(hMenu, QX_ID_EDIT_UNDO, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) != 0;
        EXPECT_EQ(!r.bEdited, bGrey);
        ::DestroyMenu(hMenu);
    }
    edit.SetReadOnly(FALSE);
}

// The items of a menu in order: (id, text); separators as (0, "").
std::vector<std::pair<UINT, std::string>> MenuItems(HMENU hMenu)
{
    std::vector<std::pair<UINT, std::string>> items;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        char sz[64] = "";
        ::GetMenuStringA(hMenu, (UINT)i, sz, (int)sizeof(sz), MF_BYPOSITION);
        items.push_back({::GetMenuItemID(hMenu, i), sz});
    }
    return items;
}

TEST_F(EditTest, TheContextMenuIsTheToolkitsEditMenu)
{
    const std::vector<std::pair<UINT, std::string>> expected = {
        {QX_ID_EDIT_UNDO, "&Undo"}, {0, ""}, {QX_ID_EDIT_CUT, "Cu&t"}, {QX_ID_EDIT_COPY, "&Copy"}, {QX_ID_EDIT_PASTE, "&Paste"}, {QX_ID_EDIT_CLEAR, "&Delete"}, {0, ""}, {QX_ID_EDIT_SELECT_ALL, "Select &All"}};
    HMENU hMenu = edit.CreateContextMenu();
    ASSERT_NE(nullptr, hMenu);
    EXPECT_EQ(expected, MenuItems(hMenu));
    ::DestroyMenu(hMenu);

    // The menu comes from the toolkit's resources in the program, also while
    // the framework reads its resources from another module (one without
    // menus: a localised resource module, say).
    HMENU hResource = ToolkitMenu(QX_IDR_EDIT_MENU);
    ASSERT_NE(nullptr, hResource) << "the program carries the toolkit's edit menu";
    EXPECT_EQ(expected, MenuItems(::GetSubMenu(hResource, 1)));
    ::DestroyMenu(hResource);
    HINSTANCE hOld = AfxGetResourceHandle();
    AfxSetResourceHandle(::GetModuleHandleA("kernel32.dll"));
    hResource = ToolkitMenu(QX_IDR_EDIT_MENU);
    AfxSetResourceHandle(hOld);
    ASSERT_NE(nullptr, hResource);
    EXPECT_EQ(expected, MenuItems(::GetSubMenu(hResource, 1)));
    ::DestroyMenu(hResource);
    EXPECT_EQ(nullptr, ToolkitMenu(0x7FF0)) << "an id no module has";
}

TEST_F(EditTest, PaintsOnTheWindowColourEvenReadOnlyAndOnTheFaceWhenDisabled)
{
    edit.SetWindowText("x");
    auto probe = [&]() {
        edit.Invalidate();
        edit.UpdateWindow();
        HDC hdc = ::GetDC(edit.GetSafeHwnd());
        COLORREF c = ::GetPixel(hdc, 150, 10);
        ::ReleaseDC(edit.GetSafeHwnd(), hdc);
        return c;
    };
    ToolkitColorManager* m = ToolkitColorManager::Instance();
    EXPECT_EQ(m->GetColor(COLOR_WINDOW), probe());
    edit.SetReadOnly(TRUE);
    EXPECT_EQ(m->GetColor(COLOR_WINDOW), probe()) << "read-only text is not greyed";
    edit.EnableWindow(FALSE);
    EXPECT_EQ(m->GetColor(COLOR_BTNFACE), probe());
    edit.EnableWindow(TRUE);
    edit.SetReadOnly(FALSE);
}

} // namespace
