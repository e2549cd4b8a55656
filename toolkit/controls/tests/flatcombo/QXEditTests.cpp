// The toolkit's edit control: initialisation, the enabling of its context
// menu's commands and where that menu opens, and its disabled paint.
#include "DialogTestSupport.h"
#include "PaintTestSupport.h"

#include <qx/edit.h>
#include <qx/fonts.h>

#include <map>

using namespace dlgtest;
using namespace painttest;

namespace {

const UINT ID_NO_HANDLER = 40000;

void PutTextOnClipboard(HWND hWnd, const char* psz)
{
    ASSERT_TRUE(::OpenClipboard(hWnd));
    ::EmptyClipboard();
    size_t n = strlen(psz) + 1;
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, n);
    memcpy(::GlobalLock(h), psz, n);
    ::GlobalUnlock(h);
    ::SetClipboardData(CF_TEXT, h);
    ::CloseClipboard();
}

struct QXEditTest : ::testing::Test {
    FixedColors colors;
    CWnd parent;
    CQXEdit edit;

    void SetUp() override
    {
        LPCSTR cls = AfxRegisterWndClass(0, NULL, (HBRUSH)(COLOR_BTNFACE + 1));
        ASSERT_TRUE(parent.CreateEx(0, cls, "Edit", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80, 300, 120, NULL, NULL));
        ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 10, 250, 34), &parent, 78));
        PumpMessages();
    }
    void TearDown() override
    {
        edit.DestroyWindow();
        parent.DestroyWindow();
        PumpMessages();
    }
    // The enabled state of each command of the context menu, as the
    // control's menu update leaves it.
    std::map<UINT, bool> MenuStates()
    {
        HMENU hMenu = edit.CreateContextMenu();
        ::AppendMenuA(hMenu, MF_STRING, ID_NO_HANDLER, "Other");
        ::AppendMenuA(hMenu, MF_STRING | MF_GRAYED, SC_CLOSE, "System");
        edit.SendMessage(WM_INITMENUPOPUP, (WPARAM)hMenu, MAKELPARAM(0, FALSE));
        std::map<UINT, bool> states;
        for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
            UINT nID = ::GetMenuItemID(hMenu, i);
            if (nID != 0 && nID != (UINT)-1)
                states[nID] = !(::GetMenuState(hMenu, i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
        }
        ::DestroyMenu(hMenu);
        return states;
    }
};

TEST_F(QXEditTest, InitializeNeedsBothWindows)
{
    HFONT hFontBefore = (HFONT)edit.SendMessage(WM_GETFONT, 0, 0);
    EXPECT_FALSE(edit.Initialize(NULL));
    EXPECT_EQ(hFontBefore, (HFONT)edit.SendMessage(WM_GETFONT, 0, 0)) << "nothing changes";
    EXPECT_EQ(nullptr, edit.GetParentWnd());
    CQXEdit unmade;
    EXPECT_FALSE(unmade.Initialize(&parent));
    EXPECT_EQ(nullptr, unmade.GetParentWnd());

    EXPECT_TRUE(edit.Initialize(&parent));
    EXPECT_EQ(GetGlobalUIFonts()->GetNormalFont(), (HFONT)edit.SendMessage(WM_GETFONT, 0, 0));
    EXPECT_EQ(&parent, edit.GetParentWnd());
}

TEST_F(QXEditTest, MenuCommandsFollowTheSelectionTheClipboardAndReadOnly)
{
    PutTextOnClipboard(parent.GetSafeHwnd(), "clip");
    struct Case {
        const char* what;
        const char* text;
        int selStart, selEnd;
        BOOL bReadOnly;
        BOOL bEnabled;
        bool cut, copy, paste, clear, selectAll;
    } cases[] = {
        {"selection", "hello", 0, 3, FALSE, TRUE, true, true, true, true, true},
        {"caret only", "hello", 2, 2, FALSE, TRUE, false, false, true, false, true},
        {"read-only with a selection", "hello", 0, 3, TRUE, TRUE, false, true, false, false, true},
        {"empty", "", 0, 0, FALSE, TRUE, false, false, true, false, false},
    };
    for (const Case& c : cases) {
        edit.SetReadOnly(c.bReadOnly);
        edit.SetWindowText(c.text);
        edit.SetSel(c.selStart, c.selEnd);
        EXPECT_EQ(c.selStart < c.selEnd, edit.HasSelection() != FALSE) << c.what;
        EXPECT_EQ(c.paste, edit.CanPaste() != FALSE) << c.what;
        std::map<UINT, bool> states = MenuStates();
        EXPECT_EQ(c.cut, states[QX_ID_EDIT_CUT]) << c.what;
        EXPECT_EQ(c.copy, states[QX_ID_EDIT_COPY]) << c.what;
        EXPECT_EQ(c.paste, states[QX_ID_EDIT_PASTE]) << c.what;
        EXPECT_EQ(c.clear, states[QX_ID_EDIT_CLEAR]) << c.what;
        EXPECT_EQ(c.selectAll, states[QX_ID_EDIT_SELECT_ALL]) << c.what;
        EXPECT_FALSE(states[ID_NO_HANDLER]) << c.what << ": items without a handler are disabled";
        EXPECT_FALSE(states[SC_CLOSE]) << c.what << ": system ids are left as they are";
    }
    // A disabled edit cannot paste, whatever the clipboard holds.
    edit.SetReadOnly(FALSE);
    edit.EnableWindow(FALSE);
    EXPECT_FALSE(edit.CanPaste());
}

TEST_F(QXEditTest, KeyboardContextMenuOpensInsideTheCorner)
{
    CPoint ptCorner(0, 0);
    edit.ClientToScreen(&ptCorner);
    CPoint pt = edit.GetContextMenuPoint(CPoint(-1, -1));
    EXPECT_EQ(ptCorner.x + 5, pt.x);
    EXPECT_EQ(ptCorner.y + 5, pt.y);
    // A mouse request opens where the mouse is.
    CPoint ptMouse(123, 45);
    EXPECT_EQ(ptMouse, edit.GetContextMenuPoint(ptMouse));
}

TEST_F(QXEditTest, DisabledEditPaintsOnTheFace)
{
    edit.SetWindowText("x");
    edit.EnableWindow(FALSE);
    edit.Invalidate();
    edit.UpdateWindow();
    HDC hdc = ::GetDC(edit.GetSafeHwnd());
    COLORREF c = ::GetPixel(hdc, 150, 10);
    ::ReleaseDC(edit.GetSafeHwnd(), hdc);
    EXPECT_EQ(ToolkitColorManager::Instance()->GetColor(COLOR_BTNFACE), c);
}

} // namespace
