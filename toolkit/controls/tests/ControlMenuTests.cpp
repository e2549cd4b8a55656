// The standard controls' popup menus in a program that has the command
// bars: command-bar popups with the pictures the control names, from the
// program's start, before (and without) any command bars manager. No test
// of this program makes a manager.
#include <qx/edit.h>
#include <qx/images.h>
#include <qx/listbox.h>
#include <qx/paintmanager.h>
#include <qx/popup.h>

#include <gtest/gtest.h>

#include <qmtest/qmatedriver.h>
#include <qmtest/pump.h>
#include <qmtest/screenshot.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// What a timer probe saw of the thread's visible popup: its class, its
// items (id, has a picture) when it is a command-bar popup; it then
// chooses the item pick (closes the popup when there is none).
struct PopupProbe {
    int pick = 0;
    bool bSeen = false;
    std::string cls;
    std::vector<std::pair<int, bool>> items;
    std::string shot; // screenshot file name, "" for none
};
PopupProbe g_probe;

BOOL CALLBACK FindShownPopup(HWND hWnd, LPARAM lParam)
{
    const std::string cls = qmtest::WindowClassOf(hWnd);
    if (::IsWindowVisible(hWnd) && (cls == "QXPPopupBar" || cls == "#32768")) {
        *(HWND*)lParam = hWnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ProbePopup(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_probe.bSeen)
        return;
    HWND hPopup = NULL;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindShownPopup, (LPARAM)&hPopup);
    if (!hPopup)
        return;
    g_probe.bSeen = true;
    g_probe.cls = qmtest::WindowClassOf(hPopup);
    CQXPPopupBar* pPopup = dynamic_cast<CQXPPopupBar*>(CWnd::FromHandlePermanent(hPopup));
    if (!pPopup) {
        ::PostMessageA(hPopup, WM_KEYDOWN, VK_ESCAPE, 0);
        return;
    }
    if (!g_probe.shot.empty())
        qmtest::SaveWindowShot(hPopup, QM_BIN_DIR, g_probe.shot);
    CQXPControl* pPick = NULL;
    for (int i = 0; i < pPopup->GetControlCount(); i++) {
        CQXPControl* pControl = pPopup->GetControl(i);
        g_probe.items.push_back(
            {pControl->GetID(), pPopup->GetImageManager()->GetImage((UINT)pControl->GetID(), 16) != NULL});
        if (pControl->GetID() == g_probe.pick)
            pPick = pControl;
    }
    if (!pPick) {
        ::PostMessageA(hPopup, WM_KEYDOWN, VK_ESCAPE, 0);
        return;
    }
    // Chosen as a click would.
    CPoint pt = pPick->GetRect().CenterPoint();
    ::PostMessageA(hPopup, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    ::PostMessageA(hPopup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    ::PostMessageA(hPopup, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
}

struct ControlMenuTest : ::testing::Test {
    CWnd top;
    UINT_PTR nTimer = 0;

    void SetUp() override
    {
        g_probe = PopupProbe();
        LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
        ASSERT_TRUE(top.CreateEx(0, cls, "No command bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80, 320, 140, NULL,
                                 NULL));
        qmtest::PumpMessages();
        nTimer = ::SetTimer(NULL, 0, 50, ProbePopup);
    }
    void TearDown() override
    {
        ::KillTimer(NULL, nTimer);
        if (top.GetSafeHwnd())
            top.DestroyWindow();
        qmtest::PumpMessages();
    }
};

TEST_F(ControlMenuTest, AnEditsContextMenuIsACommandBarPopupWithItsPictures)
{
    CQXEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 10, 280, 34), &top, 101));
    edit.SetWindowText("some text");
    edit.SetSel(0, 0);
    ASSERT_TRUE(qmtest::BringToForeground(top.GetSafeHwnd()));
    g_probe.pick = QX_ID_EDIT_SELECT_ALL;
    g_probe.shot = "edit-menu-without-command-bars.png";
    CRect rc;
    edit.GetWindowRect(&rc);
    qmtest::RightClickAt(CPoint(rc.left + 20, rc.top + 8));
    int nStart = -1, nEnd = -1;
    EXPECT_TRUE(qmtest::PumpUntil([&] {
        edit.GetSel(nStart, nEnd);
        return g_probe.bSeen && nEnd == 9;
    })) << "the popup opened and Select All reached the edit";
    EXPECT_EQ("QXPPopupBar", g_probe.cls) << "a command-bar popup, not a system menu";
    const std::vector<std::pair<int, bool>> expected = {{QX_ID_EDIT_UNDO, true}, {QX_ID_EDIT_CUT, true}, {QX_ID_EDIT_COPY, true}, {QX_ID_EDIT_PASTE, true}, {QX_ID_EDIT_CLEAR, true}, {QX_ID_EDIT_SELECT_ALL, false}};
    EXPECT_EQ(expected, g_probe.items) << "the edit menu with the pictures of its toolbar";
    EXPECT_EQ(0, nStart);
    EXPECT_TRUE(HasGlobalPaintManager()) << "the popup is drawn by the global paint manager";
    edit.DestroyWindow();
}

TEST_F(ControlMenuTest, AMenuWithoutAPictureToolbarShowsNoPictures)
{
    // The edit menu's own commands, which do have pictures in the toolkit's
    // edit toolbar, but none is named here. An edit with a selection owns
    // the menu, so that both commands are enabled.
    CQXEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 10, 280, 34), &top, 101));
    edit.SetWindowText("some text");
    edit.SetSel(0, 4);
    CMenu menu;
    menu.Attach(::CreatePopupMenu());
    ::AppendMenuA(menu.GetSafeHmenu(), MF_STRING, QX_ID_EDIT_CUT, "Cu&t");
    ::AppendMenuA(menu.GetSafeHmenu(), MF_STRING, QX_ID_EDIT_COPY, "&Copy");
    g_probe.pick = QX_ID_EDIT_COPY;
    CRect rc;
    top.GetWindowRect(&rc);
    UINT nCmd = TrackPopupMenuEx(&menu, TPM_RETURNCMD, rc.left + 30, rc.top + 40, &edit, 0);
    EXPECT_EQ((UINT)QX_ID_EDIT_COPY, nCmd) << "the chosen command comes back";
    EXPECT_EQ("QXPPopupBar", g_probe.cls);
    EXPECT_EQ((std::vector<std::pair<int, bool>>{{QX_ID_EDIT_CUT, false}, {QX_ID_EDIT_COPY, false}}), g_probe.items);
    menu.DestroyMenu();
    edit.DestroyWindow();
}

} // namespace
