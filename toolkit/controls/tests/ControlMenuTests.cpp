// The standard controls' popup menus in a program that has the command
// bars: command-bar popups with the pictures the control names, from the
// program's start, before (and without) any command bars manager. No test
// of this program makes a manager.
#include <qx/browse.h>
#include <qx/edit.h>
#include <qx/listbox.h>
#include <qx/paintmanager.h>

#include <gtest/gtest.h>

#include <qmtest/mouse.h>
#include <qmtest/popupbar.h>
#include <qmtest/pump.h>
#include <qmtest/qmatedriver.h>

#include <utility>
#include <vector>

namespace {

typedef std::vector<std::pair<int, BOOL>> MenuItems; // (id, has a picture)

// A window that handles the edit menu's commands by noting them.
class CommandNotingWnd : public CWnd {
public:
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nCode == CN_COMMAND && nID >= QX_ID_EDIT_CLEAR && nID <= QX_ID_EDIT_UNDO) {
            if (!pHandlerInfo)
                commands.push_back(nID);
            return TRUE;
        }
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    std::vector<UINT> commands; // in the order they came
};

// A window with no command bars, an edit on it, and the popup probe
// watching the thread's menus.
struct ControlMenuTest : ::testing::Test {
    CommandNotingWnd top;
    CQXEdit edit;
    qmtest::PopupMenuProbe& probe = qmtest::MenuProbe();
    UINT_PTR nTimer = 0;

    void SetUp() override
    {
        probe = qmtest::PopupMenuProbe();
        LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
        ASSERT_TRUE(top.CreateEx(0, cls, "No command bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80, 320, 140, NULL,
                                 NULL));
        ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 10, 280, 34), &top, 101));
        edit.SetWindowText("some text");
        qmtest::PumpMessages();
        nTimer = ::SetTimer(NULL, 0, 50, qmtest::ProbePopupMenu);
    }
    void TearDown() override
    {
        ::KillTimer(NULL, nTimer);
        if (edit.GetSafeHwnd())
            edit.DestroyWindow();
        if (top.GetSafeHwnd())
            top.DestroyWindow();
        qmtest::PumpMessages();
    }
};

TEST_F(ControlMenuTest, AnEditsContextMenuIsACommandBarPopupWithItsPictures)
{
    edit.SetSel(0, 0);
    ASSERT_TRUE(qmtest::BringToForeground(top.GetSafeHwnd()));
    probe.pick = QX_ID_EDIT_SELECT_ALL;
    probe.shotName = "edit-menu-without-command-bars.png";
    probe.pszBinDir = QM_BIN_DIR;
    CRect rc;
    edit.GetWindowRect(&rc);
    qmtest::RightClickAt(CPoint(rc.left + 20, rc.top + 8));
    int nStart = -1, nEnd = -1;
    EXPECT_TRUE(qmtest::PumpUntil([&] {
        edit.GetSel(nStart, nEnd);
        return probe.bSeen && nEnd == 9;
    })) << "the popup opened and Select All reached the edit";
    EXPECT_EQ("QXPPopupBar", probe.cls) << "a command-bar popup, not a system menu";
    const MenuItems expected = {{QX_ID_EDIT_UNDO, TRUE}, {QX_ID_EDIT_CUT, TRUE}, {QX_ID_EDIT_COPY, TRUE}, {QX_ID_EDIT_PASTE, TRUE}, {QX_ID_EDIT_CLEAR, TRUE}, {QX_ID_EDIT_SELECT_ALL, FALSE}};
    EXPECT_EQ(expected, probe.items) << "the edit menu with the pictures of its toolbar";
    EXPECT_EQ(0, nStart);
    EXPECT_TRUE(HasGlobalPaintManager()) << "the popup is drawn by the global paint manager";
}

TEST_F(ControlMenuTest, AMenuWithoutAPictureToolbarShowsNoPictures)
{
    // The edit menu's own commands, which do have pictures in the toolkit's
    // edit toolbar, but none is named here. The edit owns the menu and has a
    // selection, so that both commands are enabled.
    edit.SetSel(0, 4);
    CMenu menu;
    menu.Attach(::CreatePopupMenu());
    ::AppendMenuA(menu.GetSafeHmenu(), MF_STRING, QX_ID_EDIT_CUT, "Cu&t");
    ::AppendMenuA(menu.GetSafeHmenu(), MF_STRING, QX_ID_EDIT_COPY, "&Copy");
    probe.pick = QX_ID_EDIT_COPY;
    CRect rc;
    top.GetWindowRect(&rc);
    UINT nCmd = TrackPopupMenuEx(&menu, TPM_RETURNCMD, rc.left + 30, rc.top + 40, &edit, 0);
    EXPECT_EQ((UINT)QX_ID_EDIT_COPY, nCmd) << "the chosen command comes back";
    EXPECT_EQ("QXPPopupBar", probe.cls);
    EXPECT_EQ((MenuItems{{QX_ID_EDIT_CUT, FALSE}, {QX_ID_EDIT_COPY, FALSE}}), probe.items);
    menu.DestroyMenu();
}

// A browse edit of the popup-menu style drops its menu from the button as a
// command-bar popup at the button's top-right corner, the button held down
// while it is open; the chosen command goes to the top-level window, not to
// the panel the edit sits on.
TEST_F(ControlMenuTest, TheBrowseEditsButtonDropsItsMenuAsACommandBarPopup)
{
    CommandNotingWnd panel;
    ASSERT_TRUE(panel.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1)),
                               "", WS_CHILD | WS_VISIBLE, 0, 40, 300, 60, top.GetSafeHwnd(), NULL));
    CQXBrowseEdit browse;
    ASSERT_TRUE(browse.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 10, 200, 34), &panel, 102));
    ASSERT_TRUE(browse.Initialize(&panel, (DWORD)qxBrowsePopupMenu, (UINT)QX_IDR_EDIT_MENU, 1));
    CQXBrowseButton* pButton = browse.GetBrowseButton();
    ASSERT_NE(nullptr, pButton);
    ASSERT_TRUE(qmtest::BringToForeground(top.GetSafeHwnd()));
    CRect rcButton;
    pButton->GetWindowRect(&rcButton);

    BOOL bPushedWhileOpen = FALSE;
    CRect rcPopup;
    probe.pick = QX_ID_EDIT_SELECT_ALL;
    probe.shotName = "browse-edit-menu.png";
    probe.pszBinDir = QM_BIN_DIR;
    probe.whileOpen = [&](HWND hPopup) {
        bPushedWhileOpen = pButton->IsPushed();
        ::GetWindowRect(hPopup, &rcPopup);
    };
    qmtest::ClickAt(rcButton.CenterPoint());
    EXPECT_TRUE(qmtest::PumpUntil([&] { return probe.bSeen && !top.commands.empty(); }))
        << "the popup opened and its command came back";
    EXPECT_EQ("QXPPopupBar", probe.cls) << "a command-bar popup, not a system menu";
    // The second popup of the menu resource, without pictures: the browse
    // edit names no toolbar.
    const MenuItems expected = {{QX_ID_EDIT_UNDO, FALSE}, {QX_ID_EDIT_CUT, FALSE}, {QX_ID_EDIT_COPY, FALSE}, {QX_ID_EDIT_PASTE, FALSE}, {QX_ID_EDIT_CLEAR, FALSE}, {QX_ID_EDIT_SELECT_ALL, FALSE}};
    EXPECT_EQ(expected, probe.items);
    EXPECT_TRUE(bPushedWhileOpen) << "the button is held down while the menu is open";
    EXPECT_FALSE(pButton->IsPushed()) << "and released after";
    EXPECT_EQ(rcButton.right, rcPopup.left);
    EXPECT_EQ(rcButton.top, rcPopup.top);
    EXPECT_EQ(std::vector<UINT>{QX_ID_EDIT_SELECT_ALL}, top.commands);
    EXPECT_TRUE(panel.commands.empty()) << "the panel is a child window: the menu belongs to the top-level one";
    // The edit has the focus and all of its text selected after the menu.
    EXPECT_EQ(browse.GetSafeHwnd(), ::GetFocus());
    browse.DestroyWindow();
    panel.DestroyWindow();
}

} // namespace
