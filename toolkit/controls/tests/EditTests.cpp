// The toolkit's edit control: its commands, their enabled states, the
// context menu and its painting.
#include "DialogTestSupport.h"
#include "PaintTestSupport.h"

#include <qx/edit.h>

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
    // Read-only edits offer only Copy and Select All.
    edit.SetReadOnly(TRUE);
    edit.SetSel(0, 3);
    EXPECT_TRUE(edit.IsCommandEnabled(QX_ID_EDIT_COPY));
    EXPECT_FALSE(edit.IsCommandEnabled(QX_ID_EDIT_CUT));
    EXPECT_FALSE(edit.IsCommandEnabled(QX_ID_EDIT_PASTE));
    EXPECT_FALSE(edit.IsCommandEnabled(QX_ID_EDIT_UNDO));
}

TEST_F(EditTest, TheContextMenuHoldsTheEditCommands)
{
    HMENU hMenu = edit.CreateContextMenu();
    ASSERT_NE(nullptr, hMenu);
    std::vector<UINT> ids;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        UINT n = ::GetMenuItemID(hMenu, i);
        if (n != 0 && n != (UINT)-1)
            ids.push_back(n);
    }
    for (UINT id : {QX_ID_EDIT_UNDO, QX_ID_EDIT_CUT, QX_ID_EDIT_COPY, QX_ID_EDIT_PASTE, QX_ID_EDIT_CLEAR,
                    QX_ID_EDIT_SELECT_ALL})
        EXPECT_NE(ids.end(), std::find(ids.begin(), ids.end(), id)) << id;
    ::DestroyMenu(hMenu);
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
