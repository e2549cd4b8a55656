// Message maps, command routing, reflection and CCmdUI on real windows.
#include "UiTestSupport.h"

#include <gtest/gtest.h>
#include <qmtest/anylanguage.h>
#include <qmtest/qmatedriver.h>

#include <stdexcept>
#include <tuple>

using uitest::Log;

namespace {

const UINT ID_CMD_A = 1001;
const UINT ID_CMD_C = 1003; // ON_COMMAND_EX in the derived map, ON_COMMAND in the base map
const UINT ID_CMD_D = 1004; // in both maps: the derived entry wins
const UINT ID_CMD_E = 1005; // disabled by its update handler
const UINT ID_RANGE_FIRST = 2000;
const UINT ID_RANGE_LAST = 2005;
const UINT ID_EDITOR = 32785; // a control whose id is also a menu command
const UINT ID_BUTTON = 300;
const UINT ID_LIST = 400;
const UINT WM_TEST_PLAIN = WM_APP + 1;
const UINT WM_TEST_VOID = WM_APP + 2;
UINT g_nRegisteredMsg = RegisterWindowMessageA("FxTestRegisteredMessage");

// --- windows whose handlers log what they received --------------------------

class CBaseProbe : public CWnd {
public:
    BOOL m_bExResult = FALSE;

protected:
    afx_msg void OnBaseC() { Log::Add("BaseC"); }
    afx_msg void OnBaseD() { Log::Add("BaseD"); }
    afx_msg void OnBaseVoid() { Log::Add("BaseVoid"); }
    afx_msg void OnBaseOnly() { Log::Add("BaseOnly"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseProbe, CWnd)
    ON_COMMAND(ID_CMD_C, OnBaseC)
    ON_COMMAND(ID_CMD_D, OnBaseD)
    ON_MESSAGE_VOID(WM_TEST_VOID + 10, OnBaseVoid)
    ON_MESSAGE_VOID(WM_TEST_VOID + 11, OnBaseOnly)
END_MESSAGE_MAP()

class CProbe : public CBaseProbe {
public:
    HWND m_hWndExpected = NULL; // for handlers that get window objects
    LRESULT m_lNotifyResult = 0;
    BOOL m_bEnableE = FALSE;

    afx_msg int OnCreate(LPCREATESTRUCTA lpcs)
    {
        Log::Add("Create %s", lpcs->lpszName ? lpcs->lpszName : "");
        return CWnd::OnCreate(lpcs);
    }
    afx_msg BOOL OnNcCreate(LPCREATESTRUCTA lpcs)
    {
        Log::Add("NcCreate");
        return CWnd::OnNcCreate(lpcs);
    }
    afx_msg void OnSize(UINT nType, int cx, int cy) { Log::Add("Size %u %d %d", nType, cx, cy); }
    afx_msg void OnMove(int x, int y) { Log::Add("Move %d %d", x, y); }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint pt) { Log::Add("LButtonDown %u %ld,%ld", nFlags, pt.x, pt.y); }
    afx_msg void OnRButtonUp(UINT nFlags, CPoint pt) { Log::Add("RButtonUp %u %ld,%ld", nFlags, pt.x, pt.y); }
    afx_msg void OnKeyDown(UINT nChar, UINT nRep, UINT nFlags) { Log::Add("KeyDown %u %u %u", nChar, nRep, nFlags); }
    afx_msg void OnChar(UINT nChar, UINT nRep, UINT nFlags) { Log::Add("Char %u %u %u", nChar, nRep, nFlags); }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { Log::Add("Timer %u", (unsigned)nIDEvent); }
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
    {
        Log::Add("Wheel %u %d %ld,%ld", nFlags, zDelta, pt.x, pt.y);
        return TRUE;
    }
    afx_msg LRESULT OnNcHitTest(CPoint pt)
    {
        Log::Add("NcHitTest %ld,%ld", pt.x, pt.y);
        return 100 + pt.x + pt.y;
    }
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pt)
    {
        Log::Add("ContextMenu %s %ld,%ld", pWnd->GetSafeHwnd() == m_hWndExpected ? "child" : "other", pt.x, pt.y);
    }
    afx_msg void OnSetFocus(CWnd* pOldWnd)
    {
        Log::Add("SetFocus %s", pOldWnd->GetSafeHwnd() == m_hWndExpected ? "child" : "other");
    }
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID) { Log::Add("ActivateApp %d %lu", bActive, dwThreadID); }
    afx_msg UINT OnGetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    afx_msg void OnSettingChange(UINT uFlags, LPCSTR lpszSection)
    {
        Log::Add("SettingChange %u %s", uFlags, lpszSection ? lpszSection : "(null)");
    }
    afx_msg BOOL OnEraseBkgnd(CDC* pDC)
    {
        Log::Add("EraseBkgnd %s", pDC->GetSafeHdc() == (HDC)0x1234 ? "hdc" : "other");
        return TRUE;
    }
    afx_msg LRESULT OnPlain(WPARAM wParam, LPARAM lParam)
    {
        Log::Add("Plain %d %d", (int)wParam, (int)lParam);
        return wParam + lParam;
    }
    afx_msg void OnVoid() { Log::Add("Void"); }
    afx_msg LRESULT OnRegistered(WPARAM, LPARAM)
    {
        Log::Add("Registered");
        return 42;
    }
    afx_msg void OnDerivedVoid() { Log::Add("DerivedVoid"); }

    // Commands
    afx_msg void OnCmdA() { Log::Add("CmdA"); }
    afx_msg BOOL OnCmdExC(UINT nID)
    {
        Log::Add("ExC %u", nID);
        return m_bExResult;
    }
    afx_msg void OnCmdD() { Log::Add("CmdD"); }
    afx_msg void OnCmdE() { Log::Add("CmdE"); }
    afx_msg void OnUpdateE(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bEnableE); }
    afx_msg void OnRange(UINT nID) { Log::Add("Range %u", nID); }
    afx_msg void OnDeleteLine() { Log::Add("DeleteLine"); }
    afx_msg void OnEditorChange() { Log::Add("EditorChange"); }
    afx_msg void OnButtonClicked() { Log::Add("ButtonClicked"); }
    afx_msg void OnListDblClk(UINT nID) { Log::Add("ListDblClk %u", nID); }
    afx_msg void OnClick(NMHDR* pNMHDR, LRESULT* pResult)
    {
        Log::Add("Click %u", (unsigned)pNMHDR->idFrom);
        *pResult = m_lNotifyResult;
    }
    afx_msg void OnNotifyRange(UINT nID, NMHDR*, LRESULT* pResult)
    {
        Log::Add("NotifyRange %u", nID);
        *pResult = 9;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbe, CBaseProbe)
    ON_WM_CREATE()
    ON_WM_NCCREATE()
    ON_WM_SIZE()
    ON_WM_MOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_TIMER()
    ON_WM_MOUSEWHEEL()
    ON_WM_NCHITTEST()
    ON_WM_CONTEXTMENU()
    ON_WM_SETFOCUS()
    ON_WM_ACTIVATEAPP()
    ON_WM_GETDLGCODE()
    ON_WM_SETTINGCHANGE()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_TEST_PLAIN, OnPlain)
    ON_MESSAGE_VOID(WM_TEST_VOID, OnVoid)
    ON_MESSAGE_VOID(WM_TEST_VOID + 10, OnDerivedVoid)
    ON_REGISTERED_MESSAGE(g_nRegisteredMsg, OnRegistered)
    ON_COMMAND(ID_CMD_A, OnCmdA)
    ON_COMMAND_EX(ID_CMD_C, OnCmdExC)
    ON_COMMAND(ID_CMD_D, OnCmdD)
    ON_COMMAND(ID_CMD_E, OnCmdE)
    ON_UPDATE_COMMAND_UI(ID_CMD_E, OnUpdateE)
    ON_COMMAND_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, OnRange)
    ON_COMMAND(ID_EDITOR, OnDeleteLine)
    ON_EN_CHANGE(ID_EDITOR, OnEditorChange)
    ON_BN_CLICKED(ID_BUTTON, OnButtonClicked)
    ON_CONTROL_RANGE(LBN_DBLCLK, ID_LIST, ID_LIST + 5, OnListDblClk)
    ON_NOTIFY(NM_CLICK, ID_BUTTON, OnClick)
    ON_NOTIFY_RANGE(NM_DBLCLK, ID_LIST, ID_LIST + 10, OnNotifyRange)
END_MESSAGE_MAP()

class MsgMapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Log::Clear();
        ASSERT_TRUE(m_wnd.CreateEx(0, uitest::TestClass(), "probe", WS_POPUP, 0, 0, 200, 100, NULL, NULL));
        m_hChild = CreateWindowExA(0, "STATIC", "child", WS_CHILD, 0, 0, 10, 10, m_wnd.m_hWnd, (HMENU)77, NULL, NULL);
        m_wnd.m_hWndExpected = m_hChild;
    }
    void TearDown() override
    {
        if (m_wnd.m_hWnd)
            m_wnd.DestroyWindow();
    }
    CProbe m_wnd;
    HWND m_hChild = NULL;
};

// Every window-message entry reaches its handler with the message's
// parameters cracked into the handler's arguments.
TEST_F(MsgMapTest, WindowMessagesReachHandlersWithCrackedArguments)
{
    struct Case {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        const char* log; // expected last log line ("" for none)
        LRESULT result;
    };
    const HWND hChild = m_hChild;
    const Case cases[] = {
        {WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(300, 200), "Size 2 300 200", 0},
        {WM_MOVE, 0, MAKELPARAM((WORD)-5, 7), "Move -5 7", 0},
        {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM((WORD)-3, 40), "LButtonDown 5 -3,40", 0},
        {WM_RBUTTONUP, MK_CONTROL, MAKELPARAM(12, 34), "RButtonUp 8 12,34", 0},
        {WM_KEYDOWN, VK_F5, MAKELPARAM(3, 0x3F), "KeyDown 116 3 63", 0},
        {WM_CHAR, 'a', MAKELPARAM(1, 0x1E), "Char 97 1 30", 0},
        {WM_TIMER, 77, 0, "Timer 77", 0},
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, (WORD)-120), MAKELPARAM(10, 20), "Wheel 8 -120 10,20", TRUE},
        {WM_NCHITTEST, 0, MAKELPARAM(5, 6), "NcHitTest 5,6", 111},
        {WM_CONTEXTMENU, (WPARAM)hChild, MAKELPARAM((WORD)-1, (WORD)-1), "ContextMenu child -1,-1", 0},
        {WM_SETFOCUS, (WPARAM)hChild, 0, "SetFocus child", 0},
        {WM_ACTIVATEAPP, TRUE, 1234, "ActivateApp 1 1234", 0},
        {WM_GETDLGCODE, 0, 0, "", DLGC_WANTARROWS | DLGC_WANTCHARS},
        {WM_SETTINGCHANGE, 0, (LPARAM) "intl", "SettingChange 0 intl", 0},
        {WM_ERASEBKGND, 0x1234, 0, "EraseBkgnd hdc", TRUE},
        {WM_TEST_PLAIN, 3, 4, "Plain 3 4", 7},
        {WM_TEST_VOID, 0, 0, "Void", 0},
        {g_nRegisteredMsg, 0, 0, "Registered", 42},
        // An entry of the derived map hides the base map's entry; the base
        // map's other entries still answer.
        {WM_TEST_VOID + 10, 0, 0, "DerivedVoid", 0},
        {WM_TEST_VOID + 11, 0, 0, "BaseOnly", 0},
        // No entry: the default procedure answers, no handler runs.
        {WM_USER + 77, 1, 2, "", 0},
    };
    for (const Case& c : cases) {
        Log::Clear();
        LRESULT r = m_wnd.SendMessage(c.message, c.wParam, c.lParam);
        EXPECT_EQ(c.log, Log::Last()) << "message 0x" << std::hex << c.message;
        EXPECT_EQ(c.result, r) << "message 0x" << std::hex << c.message;
    }
}

// The creation hook attaches the object before the window's first
// messages, so WM_NCCREATE and WM_CREATE reach the map.
TEST_F(MsgMapTest, CreationMessagesReachTheObject)
{
    CProbe wnd;
    Log::Clear();
    ASSERT_TRUE(wnd.CreateEx(0, uitest::TestClass(), "second", WS_POPUP, 0, 0, 50, 50, NULL, NULL));
    ASSERT_GE(Log::Lines().size(), 2u);
    EXPECT_EQ("NcCreate", Log::Lines()[0]);
    EXPECT_TRUE(Log::Contains("Create second"));
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));
    wnd.DestroyWindow();
    EXPECT_EQ(NULL, wnd.m_hWnd);
}


// Commands: menu items (code 0), accelerators (code 1), control
// notifications (their own code), ranges, _EX fall-through and map chaining.
TEST_F(MsgMapTest, CommandsAndControlNotificationsAreToldApart)
{
    HWND hEditor = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 50, 20, m_wnd.m_hWnd, (HMENU)(UINT_PTR)ID_EDITOR,
                                   NULL, NULL);
    HWND hButton = CreateWindowExA(0, "BUTTON", "b", WS_CHILD, 0, 0, 50, 20, m_wnd.m_hWnd, (HMENU)(UINT_PTR)ID_BUTTON,
                                   NULL, NULL);
    ASSERT_TRUE(hEditor && hButton);
    struct Case {
        const char* what;
        WPARAM wParam;
        HWND hCtrl;
        BOOL bExResult;
        const char* log; // the whole log, " | " between lines
    };
    const Case cases[] = {
        {"menu command", MAKEWPARAM(ID_CMD_A, 0), NULL, FALSE, "CmdA"},
        {"accelerator", MAKEWPARAM(ID_CMD_A, 1), NULL, FALSE, "CmdA"},
        {"range", MAKEWPARAM(ID_RANGE_FIRST + 3, 0), NULL, FALSE, "Range 2003"},
        {"range end", MAKEWPARAM(ID_RANGE_LAST, 0), NULL, FALSE, "Range 2005"},
        {"past the range", MAKEWPARAM(ID_RANGE_LAST + 1, 0), NULL, FALSE, ""},
        // The control with the id of a command: its notifications reach
        // only notification entries, never the command.
        {"editor EN_CHANGE", MAKEWPARAM(ID_EDITOR, EN_CHANGE), hEditor, FALSE, "EditorChange"},
        {"editor EN_SETFOCUS", MAKEWPARAM(ID_EDITOR, EN_SETFOCUS), hEditor, FALSE, ""},
        {"editor code 1", MAKEWPARAM(ID_EDITOR, 1), hEditor, FALSE, ""},
        {"the same id as a command", MAKEWPARAM(ID_EDITOR, 0), NULL, FALSE, "DeleteLine"},
        // BN_CLICKED is code 0.
        {"button click", MAKEWPARAM(ID_BUTTON, BN_CLICKED), hButton, FALSE, "ButtonClicked"},
        {"list range", MAKEWPARAM(ID_LIST + 2, LBN_DBLCLK), hButton, FALSE, "ListDblClk 402"},
        // _EX declining: the base class's handler runs too.
        {"EX declines", MAKEWPARAM(ID_CMD_C, 0), NULL, FALSE, "ExC 1003 | BaseC"},
        {"EX takes", MAKEWPARAM(ID_CMD_C, 0), NULL, TRUE, "ExC 1003"},
        {"derived wins", MAKEWPARAM(ID_CMD_D, 0), NULL, FALSE, "CmdD"},
        // Disabled by its update handler: neither menu nor accelerator runs it.
        {"disabled menu", MAKEWPARAM(ID_CMD_E, 0), NULL, FALSE, ""},
        {"disabled accelerator", MAKEWPARAM(ID_CMD_E, 1), NULL, FALSE, ""},
    };
    for (const Case& c : cases) {
        Log::Clear();
        m_wnd.m_bExResult = c.bExResult;
        m_wnd.SendMessage(WM_COMMAND, c.wParam, (LPARAM)c.hCtrl);
        EXPECT_EQ(c.log, Log::Joined()) << c.what;
    }

    Log::Clear();
    m_wnd.m_bEnableE = TRUE;
    m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_CMD_E, 0), 0);
    EXPECT_EQ("CmdE", Log::Joined());
}

TEST_F(MsgMapTest, RealEditNotificationReachesOnlyTheNotificationEntry)
{
    HWND hEditor = CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 80, 20, m_wnd.m_hWnd,
                                   (HMENU)(UINT_PTR)ID_EDITOR, NULL, NULL);
    ASSERT_TRUE(hEditor != NULL);
    Log::Clear();
    SendMessageA(hEditor, WM_CHAR, 'x', 1);
    EXPECT_TRUE(Log::Contains("EditorChange")) << Log::Joined();
    EXPECT_FALSE(Log::Contains("DeleteLine")) << Log::Joined();
}

TEST_F(MsgMapTest, NotificationsAndHandlerProbe)
{
    // The id is the sending window's.
    HWND hButton = CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 5, 5, m_wnd.m_hWnd, (HMENU)(UINT_PTR)ID_BUTTON,
                                   NULL, NULL);
    NMHDR nm = {hButton, ID_BUTTON, (UINT)NM_CLICK};
    m_wnd.m_lNotifyResult = 55;
    Log::Clear();
    EXPECT_EQ(55, m_wnd.SendMessage(WM_NOTIFY, ID_BUTTON, (LPARAM)&nm));
    EXPECT_EQ("Click 300", Log::Joined());

    HWND hList = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, m_wnd.m_hWnd, (HMENU)(UINT_PTR)(ID_LIST + 7),
                                 NULL, NULL);
    NMHDR nm2 = {hList, ID_LIST + 7, (UINT)NM_DBLCLK};
    Log::Clear();
    EXPECT_EQ(9, m_wnd.SendMessage(WM_NOTIFY, ID_LIST + 7, (LPARAM)&nm2));
    EXPECT_EQ("NotifyRange 407", Log::Joined());

    // A notification without an entry is not handled.
    NMHDR nm3 = {m_hChild, 77, (UINT)NM_RETURN};
    Log::Clear();
    EXPECT_EQ(0, m_wnd.SendMessage(WM_NOTIFY, 77, (LPARAM)&nm3));
    EXPECT_EQ("", Log::Joined());

    // Routing by code directly, as a bar notifying its site does.
    LRESULT lResult = -1;
    NMHDR nm4 = {NULL, ID_BUTTON, (UINT)NM_CLICK};
    AFX_NOTIFY notify = {&lResult, &nm4};
    m_wnd.m_lNotifyResult = 3;
    EXPECT_TRUE(m_wnd.OnCmdMsg(ID_BUTTON, MAKELONG(NM_CLICK, WM_NOTIFY), &notify, NULL));
    EXPECT_EQ(3, lResult);

    // The handler probe answers without calling.
    Log::Clear();
    AFX_CMDHANDLERINFO info = {NULL, NULL};
    EXPECT_TRUE(m_wnd.OnCmdMsg(ID_CMD_A, CN_COMMAND, NULL, &info));
    EXPECT_EQ(&m_wnd, info.pTarget);
    EXPECT_TRUE(info.pEntry != NULL);
    EXPECT_FALSE(m_wnd.OnCmdMsg(ID_CMD_A + 500, CN_COMMAND, NULL, &info));
    EXPECT_EQ("", Log::Joined());
}

// --- reflection ----------------------------------------------------------------

const UINT ID_CHILD_EDIT = 500;
const UINT ID_CHILD_TREE = 501;
const UINT ID_CHILD_BUTTON = 502;

class CReflectEdit : public CEdit {
public:
    BOOL m_bPassOn = FALSE; // _EX handler's answer
    HBRUSH m_hbr = NULL;

protected:
    afx_msg BOOL OnReflectChange()
    {
        Log::Add("ChildChange");
        return !m_bPassOn;
    }
    afx_msg HBRUSH CtlColor(CDC*, UINT nCtlColor)
    {
        Log::Add("ChildCtlColor %u", nCtlColor);
        return m_hbr;
    }
    afx_msg void OnUpdateSelf(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectEdit, CEdit)
    ON_CONTROL_REFLECT_EX(EN_CHANGE, OnReflectChange)
    ON_WM_CTLCOLOR_REFLECT()
    ON_UPDATE_COMMAND_UI_REFLECT(OnUpdateSelf)
END_MESSAGE_MAP()

class CReflectTree : public CTreeCtrl {
public:
    BOOL m_bPassOn = FALSE;

protected:
    afx_msg void OnDblClk(NMHDR*, LRESULT* pResult)
    {
        Log::Add("ChildDblClk");
        *pResult = 1;
    }
    afx_msg BOOL OnClickEx(NMHDR*, LRESULT*)
    {
        Log::Add("ChildClick");
        return !m_bPassOn;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectTree, CTreeCtrl)
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
    ON_NOTIFY_REFLECT_EX(NM_CLICK, OnClickEx)
END_MESSAGE_MAP()

class COwnerDrawButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override { Log::Add("DrawItem %u", lpDIS->CtlID); }
};

class CReflectParent : public CWnd {
protected:
    afx_msg void OnParentChange() { Log::Add("ParentChange"); }
    afx_msg void OnParentDblClk(NMHDR*, LRESULT*) { Log::Add("ParentDblClk"); }
    afx_msg void OnParentClick(NMHDR*, LRESULT*) { Log::Add("ParentClick"); }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        Log::Add("ParentCtlColor %u", nCtlColor);
        return CWnd::OnCtlColor(pDC, pWnd, nCtlColor); // the base reflects
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectParent, CWnd)
    ON_EN_CHANGE(ID_CHILD_EDIT, OnParentChange)
    ON_NOTIFY(NM_DBLCLK, ID_CHILD_TREE, OnParentDblClk)
    ON_NOTIFY(NM_CLICK, ID_CHILD_TREE, OnParentClick)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

class ReflectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Log::Clear();
        ASSERT_TRUE(m_parent.CreateEx(0, uitest::TestClass(), "parent", WS_POPUP, 0, 0, 300, 200, NULL, NULL));
        ASSERT_TRUE(m_edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), &m_parent, ID_CHILD_EDIT));
        ASSERT_TRUE(m_tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 30, 100, 130), &m_parent, ID_CHILD_TREE));
        ASSERT_TRUE(m_button.Create("b", WS_CHILD | BS_OWNERDRAW, CRect(0, 140, 50, 160), &m_parent, ID_CHILD_BUTTON));
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    CReflectParent m_parent;
    CReflectEdit m_edit;
    CReflectTree m_tree;
    COwnerDrawButton m_button;
};

TEST_F(ReflectTest, ControlNotificationGoesToTheControlFirst)
{
    // A real change of the edit's text sends EN_CHANGE to the parent.
    m_edit.m_bPassOn = FALSE;
    SendMessageA(m_edit.m_hWnd, WM_CHAR, 'q', 1);
    EXPECT_TRUE(Log::Contains("ChildChange")) << Log::Joined();
    EXPECT_FALSE(Log::Contains("ParentChange")) << Log::Joined();

    // The _EX handler passes it on: both see it, the control first.
    Log::Clear();
    m_edit.m_bPassOn = TRUE;
    SendMessageA(m_edit.m_hWnd, WM_CHAR, 'r', 1);
    EXPECT_EQ("ChildChange | ParentChange", Log::Joined());
}

TEST_F(ReflectTest, NotifyReflectionAndItsExForm)
{
    NMHDR nm = {m_tree.m_hWnd, ID_CHILD_TREE, (UINT)NM_DBLCLK};
    EXPECT_EQ(1, m_parent.SendMessage(WM_NOTIFY, ID_CHILD_TREE, (LPARAM)&nm));
    EXPECT_EQ("ChildDblClk", Log::Joined());

    Log::Clear();
    NMHDR nm2 = {m_tree.m_hWnd, ID_CHILD_TREE, (UINT)NM_CLICK};
    m_tree.m_bPassOn = TRUE;
    m_parent.SendMessage(WM_NOTIFY, ID_CHILD_TREE, (LPARAM)&nm2);
    EXPECT_EQ("ChildClick | ParentClick", Log::Joined());

    Log::Clear();
    m_tree.m_bPassOn = FALSE;
    m_parent.SendMessage(WM_NOTIFY, ID_CHILD_TREE, (LPARAM)&nm2);
    EXPECT_EQ("ChildClick", Log::Joined());
}

TEST_F(ReflectTest, ColourReflectionThroughTheBaseHandler)
{
    HDC hdc = GetDC(m_edit.m_hWnd);
    HBRUSH hbr = CreateSolidBrush(RGB(1, 2, 3));
    m_edit.m_hbr = hbr;
    EXPECT_EQ((LRESULT)hbr, m_parent.SendMessage(WM_CTLCOLOREDIT, (WPARAM)hdc, (LPARAM)m_edit.m_hWnd));
    EXPECT_EQ("ParentCtlColor 1 | ChildCtlColor 1", Log::Joined());

    // A control that returns no brush leaves the default answer.
    Log::Clear();
    m_edit.m_hbr = NULL;
    LRESULT r = m_parent.SendMessage(WM_CTLCOLOREDIT, (WPARAM)hdc, (LPARAM)m_edit.m_hWnd);
    EXPECT_NE((LRESULT)hbr, r);
    EXPECT_EQ("ParentCtlColor 1 | ChildCtlColor 1", Log::Joined());
    ReleaseDC(m_edit.m_hWnd, hdc);
    DeleteObject(hbr);
}

TEST_F(ReflectTest, OwnerDrawGoesToTheButtonObject)
{
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = ID_CHILD_BUTTON;
    dis.hwndItem = m_button.m_hWnd;
    dis.hDC = GetDC(m_button.m_hWnd);
    EXPECT_EQ(TRUE, m_parent.SendMessage(WM_DRAWITEM, ID_CHILD_BUTTON, (LPARAM)&dis));
    EXPECT_EQ("DrawItem 502", Log::Joined());
    ReleaseDC(m_button.m_hWnd, dis.hDC);
}

TEST_F(ReflectTest, DialogControlsUpdateThemselvesFirst)
{
    // The edit's reflected update handler disables it; the button has no
    // handler anywhere and, being a push button, is disabled for lack of one.
    m_parent.UpdateDialogControls(&m_parent, TRUE);
    EXPECT_FALSE(m_edit.IsWindowEnabled());
    EXPECT_FALSE(m_button.IsWindowEnabled());
    EXPECT_TRUE(m_tree.IsWindowEnabled());
}

// --- CCmdUI on a real menu ---------------------------------------------------

const UINT ID_M_ENABLED = 3001;
const UINT ID_M_DISABLED = 3002;
const UINT ID_M_CHECKED = 3003;
const UINT ID_M_RADIO = 3004;
const UINT ID_M_TEXT = 3005;
const UINT ID_M_HANDLERONLY = 3006;
const UINT ID_M_ORPHAN = 3007;
const UINT ID_M_SYSTEM = 0xF120;
const UINT ID_M_SUBFIRST = 3010;

class CMenuOwner : public CWnd {
public:
    int m_nInitPopups = 0;

protected:
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu)
    {
        ++m_nInitPopups;
        if (!bSysMenu)
            CCmdUI::UpdatePopupMenu(pPopupMenu, this, TRUE);
    }
    afx_msg void OnUpdateEnabled(CCmdUI* p) { p->Enable(TRUE); }
    afx_msg void OnUpdateDisabled(CCmdUI* p) { p->Enable(FALSE); }
    afx_msg void OnUpdateChecked(CCmdUI* p) { p->SetCheck(1); }
    afx_msg void OnUpdateRadio(CCmdUI* p) { p->SetRadio(TRUE); }
    afx_msg void OnUpdateText(CCmdUI* p) { p->SetText("Renamed"); }
    afx_msg void OnUpdateSubFirst(CCmdUI* p) { p->Enable(FALSE); }
    afx_msg void OnCommandOnly() {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuOwner, CWnd)
    ON_WM_INITMENUPOPUP()
    ON_UPDATE_COMMAND_UI(ID_M_ENABLED, OnUpdateEnabled)
    ON_UPDATE_COMMAND_UI(ID_M_DISABLED, OnUpdateDisabled)
    ON_UPDATE_COMMAND_UI(ID_M_CHECKED, OnUpdateChecked)
    ON_UPDATE_COMMAND_UI(ID_M_RADIO, OnUpdateRadio)
    ON_UPDATE_COMMAND_UI(ID_M_TEXT, OnUpdateText)
    ON_UPDATE_COMMAND_UI(ID_M_SUBFIRST, OnUpdateSubFirst)
    ON_COMMAND(ID_M_HANDLERONLY, OnCommandOnly)
END_MESSAGE_MAP()

void CALLBACK EndMenuTimer(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    KillTimer(NULL, idEvent);
    EndMenu();
}

TEST(CmdUITest, PopupMenuStatesAfterInitMenuPopup)
{
    CMenuOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, uitest::TestClass(), "owner", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100, NULL, NULL));
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_M_ENABLED, "Enabled");
    menu.AppendMenu(MF_STRING | MF_GRAYED, ID_M_DISABLED, "Disabled");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_M_CHECKED, "Checked");
    menu.AppendMenu(MF_STRING, ID_M_RADIO, "Radio");
    menu.AppendMenu(MF_STRING, ID_M_TEXT, "Text");
    menu.AppendMenu(MF_STRING | MF_GRAYED, ID_M_HANDLERONLY, "Handler only");
    menu.AppendMenu(MF_STRING, ID_M_ORPHAN, "Orphan");
    menu.AppendMenu(MF_STRING, ID_M_SYSTEM, "System range");
    CMenu sub;
    sub.CreatePopupMenu();
    sub.AppendMenu(MF_STRING, ID_M_SUBFIRST, "First");
    menu.AppendMenu(MF_POPUP, (UINT_PTR)sub.Detach(), "Sub");

    // The system sends WM_INITMENUPOPUP when the menu opens; a timer closes
    // it again.
    owner.SetForegroundWindow();
    SetTimer(NULL, 0, 200, &EndMenuTimer);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, 20, 20, &owner);
    ASSERT_GE(owner.m_nInitPopups, 1);

    auto state = [&](UINT nPos) { return menu.GetMenuState(nPos, MF_BYPOSITION); };
    EXPECT_FALSE(state(0) & MF_GRAYED); // enabled by its handler
    EXPECT_TRUE(state(1) & MF_GRAYED);  // disabled by its handler
    EXPECT_TRUE(state(3) & MF_CHECKED);
    EXPECT_TRUE(state(4) & MF_CHECKED);
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE;
    menu.GetMenuItemInfo(4, &mii, TRUE);
    EXPECT_TRUE(mii.fType & MFT_RADIOCHECK);
    CString strText;
    menu.GetMenuString(5, strText, MF_BYPOSITION);
    EXPECT_STREQ("Renamed", strText);
    EXPECT_EQ(ID_M_TEXT, menu.GetMenuItemID(5)); // the id stays
    EXPECT_FALSE(state(6) & MF_GRAYED);          // a command handler enables it
    EXPECT_TRUE(state(7) & MF_GRAYED);           // no handler at all
    EXPECT_FALSE(state(8) & MF_GRAYED);          // system commands are left alone
    EXPECT_TRUE(state(9) & MF_GRAYED);           // the popup follows its first item
    owner.DestroyWindow();
}

// --- pre-translation ------------------------------------------------------------

class CTranslateProbe : public CWnd {
public:
    explicit CTranslateProbe(const char* pszName, BOOL bTake = FALSE) : m_pszName(pszName), m_bTake(bTake) {}
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            Log::Add("Pre %s", m_pszName);
        return m_bTake;
    }
    const char* m_pszName;
    BOOL m_bTake;

protected:
    afx_msg void OnKeyDown(UINT, UINT, UINT) { Log::Add("KeyDown %s", m_pszName); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTranslateProbe, CWnd)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

TEST(PreTranslateTest, WalksFromTheMessageWindowUpToTheMainWindow)
{
    CWinApp app("FxUiTest");
    CTranslateProbe main("main"), panel("panel"), leaf("leaf");
    ASSERT_TRUE(main.CreateEx(0, uitest::TestClass(), "main", WS_POPUP, 0, 0, 200, 200, NULL, NULL));
    ASSERT_TRUE(panel.Create(NULL, "panel", WS_CHILD, CRect(0, 0, 100, 100), &main, 1));
    ASSERT_TRUE(leaf.Create(NULL, "leaf", WS_CHILD, CRect(0, 0, 50, 50), &panel, 2));
    app.m_pMainWnd = &main;
    EXPECT_EQ(&main, AfxGetMainWnd());

    Log::Clear();
    leaf.PostMessage(WM_KEYDOWN, 'A', 1);
    uitest::PumpUntil([] { return Log::Lines().size() >= 4; }, 2000);
    EXPECT_EQ("Pre leaf | Pre panel | Pre main | KeyDown leaf", Log::Joined());

    // A window that takes the message ends the walk, and the message is not
    // dispatched.
    Log::Clear();
    panel.m_bTake = TRUE;
    leaf.PostMessage(WM_KEYDOWN, 'A', 1);
    uitest::PumpUntil([] { return Log::Lines().size() >= 2; }, 2000);
    uitest::PumpFor(100);
    EXPECT_EQ("Pre leaf | Pre panel", Log::Joined());

    app.m_pMainWnd = NULL;
    main.DestroyWindow();
}

// --- handle maps ------------------------------------------------------------------

TEST(HandleMapTest, TemporaryObjectsGoAtIdlePermanentOnesStay)
{
    CWnd owned;
    ASSERT_TRUE(owned.CreateEx(0, uitest::TestClass(), "owned", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    HWND hForeign = CreateWindowExA(0, "STATIC", "foreign", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(hForeign != NULL);

    AfxInternalOnIdle(1);
    size_t nBefore = fx::TemporaryObjectCount();
    CWnd* pTemp = CWnd::FromHandle(hForeign);
    ASSERT_TRUE(pTemp != NULL);
    EXPECT_EQ(hForeign, pTemp->m_hWnd);
    EXPECT_EQ(pTemp, CWnd::FromHandle(hForeign)); // the same object until idle
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(hForeign));
    EXPECT_EQ(nBefore + 1, fx::TemporaryObjectCount());
    EXPECT_EQ(&owned, CWnd::FromHandle(owned.m_hWnd)); // attached: the object itself

    // Locked maps survive idle time.
    AfxLockTempMaps();
    AfxInternalOnIdle(1);
    EXPECT_EQ(nBefore + 1, fx::TemporaryObjectCount());
    AfxUnlockTempMaps(FALSE);
    AfxInternalOnIdle(1);
    EXPECT_EQ(0u, fx::TemporaryObjectCount());
    EXPECT_EQ(&owned, CWnd::FromHandle(owned.m_hWnd));
    EXPECT_EQ(&owned, CWnd::FromHandlePermanent(owned.m_hWnd));

    // Other threads have temporary objects of their own but find the
    // permanent ones.
    CWnd* pOtherTemp = NULL;
    CWnd* pOtherPerm = NULL;
    size_t nOtherCount = 99;
    CWnd* pHere = CWnd::FromHandle(hForeign);
    HANDLE hThread = CreateThread(
        NULL, 0,
        [](LPVOID p) -> DWORD {
            auto* args = static_cast<std::tuple<HWND, HWND, CWnd**, CWnd**, size_t*>*>(p);
            *std::get<2>(*args) = CWnd::FromHandle(std::get<0>(*args));
            *std::get<3>(*args) = CWnd::FromHandlePermanent(std::get<1>(*args));
            *std::get<4>(*args) = fx::TemporaryObjectCount();
            CWnd::DeleteTempMap();
            return 0;
        },
        new std::tuple<HWND, HWND, CWnd**, CWnd**, size_t*>(hForeign, owned.m_hWnd, &pOtherTemp, &pOtherPerm,
                                                            &nOtherCount),
        0, NULL);
    WaitForSingleObject(hThread, 10000);
    CloseHandle(hThread);
    EXPECT_TRUE(pOtherTemp != NULL);
    EXPECT_NE(pHere, pOtherTemp);
    EXPECT_EQ(&owned, pOtherPerm);
    EXPECT_EQ(1u, nOtherCount);

    // Attaching a window that another object owns fails.
    CWnd other;
    EXPECT_FALSE(other.Attach(owned.m_hWnd));
    EXPECT_TRUE(other.Attach(hForeign));
    EXPECT_EQ(&other, CWnd::FromHandle(hForeign));
    EXPECT_EQ(hForeign, other.Detach());
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(hForeign));

    DestroyWindow(hForeign);
    owned.DestroyWindow();
    AfxInternalOnIdle(1);
}

TEST(HandleMapTest, GdiAndDcObjects)
{
    HDC hScreen = GetDC(NULL);
    CDC* pTempDC = CDC::FromHandle(hScreen);
    EXPECT_EQ(hScreen, pTempDC->m_hDC);
    EXPECT_EQ(hScreen, pTempDC->m_hAttribDC);
    CDC attached;
    attached.Attach(hScreen);
    EXPECT_EQ(&attached, CDC::FromHandle(hScreen));
    attached.Detach();
    ReleaseDC(NULL, hScreen);

    CBrush brush(RGB(10, 20, 30));
    EXPECT_EQ(&brush, CBrush::FromHandle((HBRUSH)brush.m_hObject));
    HBRUSH hStock = (HBRUSH)GetStockObject(GRAY_BRUSH);
    CBrush* pStock = CBrush::FromHandle(hStock);
    EXPECT_EQ(hStock, (HBRUSH)*pStock);
    AfxInternalOnIdle(1);
    EXPECT_EQ(0u, fx::TemporaryObjectCount());
    // Deleting the temporary did not delete the stock object.
    LOGBRUSH lb;
    EXPECT_EQ((int)sizeof(lb), GetObjectA(hStock, sizeof(lb), &lb));
}

// --- window life ----------------------------------------------------------------

class CSelfDeleting : public CWnd {
public:
    explicit CSelfDeleting(bool* pbDeleted) : m_pbDeleted(pbDeleted) {}
    ~CSelfDeleting() override { *m_pbDeleted = true; }
    void PostNcDestroy() override { delete this; }

private:
    bool* m_pbDeleted;
};

TEST(WindowLifeTest, PostNcDestroyMayDeleteTheObject)
{
    bool bDeleted = false;
    CSelfDeleting* pWnd = new CSelfDeleting(&bDeleted);
    ASSERT_TRUE(pWnd->CreateEx(0, uitest::TestClass(), "self", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    HWND hWnd = pWnd->m_hWnd;
    DestroyWindow(hWnd);
    EXPECT_TRUE(bDeleted);
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(hWnd));
}

class CRefusingWnd : public CWnd {
protected:
    afx_msg int OnCreate(LPCREATESTRUCTA) { return -1; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRefusingWnd, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(WindowLifeTest, RefusedCreationLeavesTheObjectDetached)
{
    CRefusingWnd wnd;
    EXPECT_FALSE(wnd.CreateEx(0, uitest::TestClass(), "", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_EQ(NULL, wnd.m_hWnd);
    EXPECT_EQ(NULL, wnd.m_pfnSuper);
    // The object can try again.
    CWnd plain;
    EXPECT_TRUE(plain.CreateEx(0, uitest::TestClass(), "", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_FALSE(plain.CreateEx(0, uitest::TestClass(), "", WS_POPUP, 0, 0, 10, 10, NULL, NULL)); // has one
    plain.DestroyWindow();
}

TEST(WindowLifeTest, ForeignClassIsSubclassedAndRestored)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, uitest::TestClass(), "parent", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    HWND hEdit = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 50, 20, parent.m_hWnd, (HMENU)5, NULL, NULL);
    LONG_PTR pfnOriginal = GetWindowLongPtrA(hEdit, GWLP_WNDPROC);
    CEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(5, &parent));
    EXPECT_EQ((LONG_PTR)AfxGetAfxWndProc(), GetWindowLongPtrA(hEdit, GWLP_WNDPROC));
    edit.SetWindowText("through the object"); // the control's own procedure still works
    EXPECT_EQ("through the object", uitest::TextOf(hEdit));
    EXPECT_EQ(hEdit, edit.UnsubclassWindow());
    EXPECT_EQ(pfnOriginal, GetWindowLongPtrA(hEdit, GWLP_WNDPROC));
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(hEdit));

    // A foreign class created through the object.
    CEdit created;
    ASSERT_TRUE(created.Create(WS_CHILD, CRect(0, 0, 40, 20), &parent, 6));
    EXPECT_TRUE(created.m_pfnSuper != NULL);
    created.SetWindowText("abc");
    EXPECT_EQ(3, created.GetWindowTextLength());
    parent.DestroyWindow();
    EXPECT_EQ(NULL, created.m_hWnd);
}

class CCurrentMessageProbe : public CWnd {
public:
    UINT m_nSeenBefore = 0, m_nSeenAfter = 0;

protected:
    afx_msg LRESULT OnSetTextMsg(WPARAM, LPARAM lParam)
    {
        const MSG* pMsg = GetCurrentMessage();
        Log::Add("SetText %u %s", pMsg->message == WM_SETTEXT, (LPCSTR)pMsg->lParam);
        (void)lParam;
        return Default(); // the text is stored by the default procedure
    }
    afx_msg LRESULT OnOuter(WPARAM, LPARAM)
    {
        m_nSeenBefore = GetCurrentMessage()->message;
        SendMessage(WM_APP + 21);
        m_nSeenAfter = GetCurrentMessage()->message;
        return 0;
    }
    afx_msg LRESULT OnInner(WPARAM, LPARAM) { return 0; }
    afx_msg void OnCommandThrows() { AfxThrowFileException(CFileException::accessDenied, -1, "x.txt"); }
    afx_msg void OnCommandCancels() { AfxThrowUserException(); }
    afx_msg void OnCommandStdThrows() { throw std::runtime_error("boom"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCurrentMessageProbe, CWnd)
    ON_MESSAGE(WM_SETTEXT, OnSetTextMsg)
    ON_MESSAGE(WM_APP + 20, OnOuter)
    ON_MESSAGE(WM_APP + 21, OnInner)
    ON_COMMAND(100, OnCommandThrows)
    ON_COMMAND(101, OnCommandCancels)
    ON_COMMAND(102, OnCommandStdThrows)
END_MESSAGE_MAP()

TEST(WindowLifeTest, CurrentMessageDefaultAndNesting)
{
    CCurrentMessageProbe wnd;
    ASSERT_TRUE(wnd.CreateEx(0, uitest::TestClass(), "", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    Log::Clear();
    wnd.SetWindowText("hello");
    EXPECT_EQ("SetText 1 hello", Log::Joined());
    EXPECT_EQ("hello", uitest::TextOf(wnd.m_hWnd));

    wnd.SendMessage(WM_APP + 20);
    EXPECT_EQ((UINT)WM_APP + 20, wnd.m_nSeenBefore);
    EXPECT_EQ((UINT)WM_APP + 20, wnd.m_nSeenAfter); // restored after the nested message
    wnd.DestroyWindow();
}

TEST(WindowLifeTest, ExceptionsInHandlersDoNotEscapeTheWindowProcedure)
{
    CCurrentMessageProbe wnd;
    ASSERT_TRUE(wnd.CreateEx(0, uitest::TestClass(), "", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    qmtest::MessageBoxRecorder catcher;
    wnd.SendMessage(WM_COMMAND, 100, 0);
    EXPECT_EQ(1u, catcher.Texts().size()); // reported
    wnd.SendMessage(WM_COMMAND, 101, 0);
    EXPECT_EQ(1u, catcher.Texts().size()); // a user exception is silent
    wnd.SendMessage(WM_COMMAND, 102, 0);
    ASSERT_EQ(2u, catcher.Texts().size()); // standard exceptions are caught too
    EXPECT_EQ("boom", catcher.Texts()[1]);
    wnd.SetWindowText("still alive");
    EXPECT_EQ("still alive", uitest::TextOf(wnd.m_hWnd));
    wnd.DestroyWindow();
}

// --- modal loops --------------------------------------------------------------------

class CModalProbe : public CWnd {
public:
    DWORD m_dwHandlerThread = 0;
    int m_nWorkerCalls = 0;
    int m_nKickIdle = 0;

protected:
    afx_msg LRESULT OnWorker(WPARAM wParam, LPARAM)
    {
        m_dwHandlerThread = GetCurrentThreadId();
        ++m_nWorkerCalls;
        return wParam * 2;
    }
    afx_msg LRESULT OnFinish(WPARAM wParam, LPARAM)
    {
        EndModalLoop((int)wParam);
        return 0;
    }
    afx_msg LRESULT OnKickIdle(WPARAM, LPARAM)
    {
        ++m_nKickIdle;
        return FALSE; // no more idle work
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CModalProbe, CWnd)
    ON_MESSAGE(WM_APP + 30, OnWorker)
    ON_MESSAGE(WM_APP + 31, OnFinish)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

struct WorkerArgs {
    HWND hWnd;
    LRESULT results[3];
};

DWORD WINAPI SendingWorker(LPVOID p)
{
    WorkerArgs* args = static_cast<WorkerArgs*>(p);
    Sleep(100); // the loop is idle by then
    for (int i = 0; i < 3; ++i)
        args->results[i] = SendMessageA(args->hWnd, WM_APP + 30, (WPARAM)(i + 1), 0);
    SendMessageA(args->hWnd, WM_APP + 31, 42, 0);
    return 0;
}

TEST(ModalLoopTest, ServicesMessagesSentByAWorkerThread)
{
    CModalProbe wnd;
    ASSERT_TRUE(wnd.CreateEx(0, uitest::TestClass(), "modal", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    WorkerArgs args = {wnd.m_hWnd, {0, 0, 0}};
    HANDLE hThread = CreateThread(NULL, 0, &SendingWorker, &args, 0, NULL);
    int nResult = wnd.RunModalLoop(0);
    WaitForSingleObject(hThread, 10000);
    CloseHandle(hThread);
    EXPECT_EQ(42, nResult);
    EXPECT_EQ(3, wnd.m_nWorkerCalls);
    EXPECT_EQ(GetCurrentThreadId(), wnd.m_dwHandlerThread);
    EXPECT_EQ(2, args.results[0]);
    EXPECT_EQ(6, args.results[2]);
    EXPECT_GE(wnd.m_nKickIdle, 1);
    EXPECT_FALSE(wnd.m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL));
    wnd.DestroyWindow();
}

TEST(ModalLoopTest, QuitEndsTheLoopAndIsPostedAgain)
{
    CModalProbe wnd;
    ASSERT_TRUE(wnd.CreateEx(0, uitest::TestClass(), "modal", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    PostQuitMessage(7);
    EXPECT_EQ(-1, wnd.RunModalLoop(MLF_NOKICKIDLE));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
    wnd.DestroyWindow();
}

// --- typed characters beyond ASCII ----------------------------------------------

using qmtest::kTypedUtf16;
using qmtest::kTypedUtf8;

std::wstring WideTextOf(HWND hWnd)
{
    wchar_t buf[256] = L"";
    GetWindowTextW(hWnd, buf, 256);
    return buf;
}

// A framework window of its own class that logs the characters it gets.
class CCharProbe : public CWnd {
protected:
    afx_msg void OnChar(UINT nChar, UINT, UINT) { Log::Add("Char %u", nChar); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCharProbe, CWnd)
    ON_WM_CHAR()
END_MESSAGE_MAP()

class WideCharTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetACP(), (UINT)CP_UTF8) << "the test program's manifest sets the UTF-8 code page";
        ASSERT_TRUE(m_main.CreateEx(0, uitest::TestClass(), "typing", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, NULL,
                                    NULL));
        m_app.m_pMainWnd = &m_main;
    }
    void TearDown() override
    {
        m_app.m_pMainWnd = NULL;
        m_main.DestroyWindow();
    }

    // Each way a character reaches a window: typed (SendInput with Unicode
    // key strokes, through TranslateMessage), posted as WM_CHAR or
    // WM_IME_CHAR units (an input method), sent as WM_UNICHAR code points.
    enum How {
        kTyped,
        kPostedChar,
        kPostedImeChar,
        kSentUnichar
    };
    void Deliver(HWND hWnd, How how, const std::wstring& text)
    {
        switch (how) {
        case kTyped: {
            ASSERT_TRUE(qmtest::BringToForeground(m_main.m_hWnd));
            ::SetFocus(hWnd);
            ASSERT_EQ(hWnd, ::GetFocus());
            qmtest::TypeText(text);
            break;
        }
        case kPostedChar:
        case kPostedImeChar:
            for (wchar_t ch : text)
                PostMessageW(hWnd, how == kPostedChar ? WM_CHAR : WM_IME_CHAR, ch, 1);
            break;
        case kSentUnichar:
            for (size_t i = 0; i < text.size(); ++i) {
                UINT cp = text[i];
                if (IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size())
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00u);
                SendMessageA(hWnd, WM_UNICHAR, cp, 1);
            }
            break;
        }
    }

    CWinApp m_app{"FxUiTest"};
    CWnd m_main;
};

TEST_F(WideCharTest, EditControlsGetEachCharacterWhole)
{
    // A system edit with a framework object (ANSI, subclassed), one without
    // (ANSI, foreign) and one created as a Unicode window.
    CEdit framed;
    ASSERT_TRUE(framed.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 280, 20), &m_main, 1));
    HWND hForeign = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 30, 280, 20, m_main.m_hWnd, (HMENU)2,
                                    NULL, NULL);
    HWND hUnicode = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 60, 280, 20, m_main.m_hWnd,
                                    (HMENU)3, NULL, NULL);
    ASSERT_TRUE(hForeign != NULL && hUnicode != NULL);
    ASSERT_FALSE(IsWindowUnicode(framed.m_hWnd));
    ASSERT_FALSE(IsWindowUnicode(hForeign));
    ASSERT_TRUE(IsWindowUnicode(hUnicode));

    const struct {
        const char* what;
        HWND hWnd;
        How how;
    } cases[] = {
        {"typed into a framework edit", framed.m_hWnd, kTyped},
        {"typed into a foreign edit", hForeign, kTyped},
        {"typed into a Unicode edit", hUnicode, kTyped},
        {"posted WM_CHAR to a framework edit", framed.m_hWnd, kPostedChar},
        {"posted WM_CHAR to a foreign edit", hForeign, kPostedChar},
        {"posted WM_IME_CHAR to a framework edit", framed.m_hWnd, kPostedImeChar},
        {"posted WM_IME_CHAR to a foreign edit", hForeign, kPostedImeChar},
        {"sent WM_UNICHAR to a framework edit", framed.m_hWnd, kSentUnichar},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetWindowTextA(c.hWnd, "");
        Deliver(c.hWnd, c.how, kTypedUtf16);
        EXPECT_TRUE(uitest::PumpUntil([&] { return WideTextOf(c.hWnd) == kTypedUtf16; }, 3000));
        uitest::PumpFor(50);
        EXPECT_EQ(std::wstring(kTypedUtf16), WideTextOf(c.hWnd));
        EXPECT_EQ(kTypedUtf8, uitest::TextOf(c.hWnd)); // the A functions spell it in UTF-8
    }
    // ASCII still goes the usual way, through pre-translation.
    SetWindowTextA(framed.m_hWnd, "");
    Deliver(framed.m_hWnd, kTyped, L"ab");
    EXPECT_TRUE(uitest::PumpUntil([&] { return uitest::TextOf(framed.m_hWnd) == "ab"; }, 3000));
}

TEST_F(WideCharTest, FrameworkWindowsTakeUnicharAndOwnClassesGetWmChar)
{
    CCharProbe probe;
    ASSERT_TRUE(probe.Create(NULL, "probe", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &m_main, 4));
    CEdit framed;
    ASSERT_TRUE(framed.Create(WS_CHILD | WS_VISIBLE, CRect(0, 60, 280, 80), &m_main, 5));
    // Both say they take WM_UNICHAR.
    EXPECT_EQ(TRUE, probe.SendMessage(WM_UNICHAR, UNICODE_NOCHAR, 0));
    EXPECT_EQ(TRUE, framed.SendMessage(WM_UNICHAR, UNICODE_NOCHAR, 0));

    // A window of the framework's own classes takes characters as chars:
    // ASCII arrives as it is, a character beyond it as a WM_CHAR per unit.
    Log::Clear();
    Deliver(probe.m_hWnd, kPostedChar, L"a\u03b1\U0001F600");
    EXPECT_TRUE(uitest::PumpUntil([] { return Log::Lines().size() >= 4; }, 3000)) << Log::Joined();
    ASSERT_EQ(4u, Log::Lines().size()) << Log::Joined();
    EXPECT_EQ("Char 97", Log::Lines()[0]);

    // Half a surrogate pair is no character: a second half alone, a first
    // half followed by another first half. The next whole pair arrives.
    SetWindowTextA(framed.m_hWnd, "");
    PostMessageW(framed.m_hWnd, WM_CHAR, 0xDE00, 1); // a second half alone
    PostMessageW(framed.m_hWnd, WM_CHAR, 0xD83D, 1); // a first half ...
    PostMessageW(probe.m_hWnd, WM_CHAR, 'x', 1);     // ... then another window's key
    PostMessageW(framed.m_hWnd, WM_CHAR, 0xD83D, 1);
    PostMessageW(framed.m_hWnd, WM_CHAR, 0xDE00, 1);
    PostMessageW(framed.m_hWnd, WM_CHAR, L'.', 1);
    EXPECT_TRUE(uitest::PumpUntil([&] { return uitest::TextOf(framed.m_hWnd).size() >= 5; }, 3000));
    EXPECT_EQ("\xF0\x9F\x98\x80.", uitest::TextOf(framed.m_hWnd));
}

// --- layout and tool tips ----------------------------------------------------------

// A bar that takes nHeight from the top (or bottom) of the free space.
class CTestBar : public CWnd {
public:
    CTestBar(int nHeight, bool bTop) : m_nHeight(nHeight), m_bTop(bTop) {}

protected:
    afx_msg LRESULT OnSizeParent(WPARAM, LPARAM lParam)
    {
        AFX_SIZEPARENTPARAMS* p = (AFX_SIZEPARENTPARAMS*)lParam;
        CRect rect = p->rect;
        if (m_bTop) {
            rect.bottom = rect.top + m_nHeight;
            p->rect.top += m_nHeight;
        } else {
            rect.top = rect.bottom - m_nHeight;
            p->rect.bottom -= m_nHeight;
        }
        p->sizeTotal.cy += m_nHeight;
        if (p->hDWP != NULL)
            p->hDWP = ::DeferWindowPos(p->hDWP, m_hWnd, NULL, rect.left, rect.top, rect.Width(), rect.Height(),
                                       SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
    int m_nHeight;
    bool m_bTop;
};

BEGIN_MESSAGE_MAP(CTestBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

CRect ChildRect(CWnd& wnd)
{
    CRect rect;
    wnd.GetWindowRect(&rect);
    wnd.GetParent()->ScreenToClient(&rect);
    return rect;
}

TEST(LayoutTest, RepositionBarsGivesTheRestToTheLeftOverWindow)
{
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, uitest::TestClass(), "", WS_POPUP, 0, 0, 300, 200, NULL, NULL));
    CTestBar top(20, true), bottom(10, false);
    CWnd pane;
    ASSERT_TRUE(top.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &frame, AFX_IDW_TOOLBAR));
    ASSERT_TRUE(bottom.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &frame, AFX_IDW_STATUS_BAR));
    ASSERT_TRUE(pane.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &frame, AFX_IDW_PANE_FIRST));

    // A query moves nothing.
    CRect rectLeft;
    frame.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &rectLeft);
    EXPECT_EQ(CRect(0, 20, 300, 190), rectLeft);
    EXPECT_EQ(CRect(0, 0, 1, 1), ChildRect(pane));
    frame.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &rectLeft, NULL, FALSE);
    EXPECT_EQ(30, rectLeft.Height()); // the bars' total

    frame.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    EXPECT_EQ(CRect(0, 0, 300, 20), ChildRect(top));
    EXPECT_EQ(CRect(0, 190, 300, 200), ChildRect(bottom));
    EXPECT_EQ(CRect(0, 20, 300, 190), ChildRect(pane));

    // Extra borders around the left-over window.
    CRect rectBorder(5, 6, 7, 8);
    frame.RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposExtra, &rectBorder);
    EXPECT_EQ(CRect(5, 26, 293, 182), ChildRect(pane));
    frame.DestroyWindow();
}

class CTipWindow : public CWnd {
public:
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override
    {
        if (point.x >= 50)
            return -1;
        pTI->hwnd = m_hWnd;
        pTI->uId = 7;
        pTI->rect = CRect(0, 0, 50, 50);
        pTI->lpszText = _strdup("left half"); // freed by the framework
        return 7;
    }
};

TEST(ToolTipTest, ToolUnderTheMouseIsRegistered)
{
    CTipWindow wnd;
    ASSERT_TRUE(wnd.CreateEx(0, uitest::TestClass(), "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 50, NULL, NULL));
    wnd.EnableToolTips(TRUE);
    auto move = [&](int x) {
        MSG msg = {};
        msg.hwnd = wnd.m_hWnd;
        msg.message = WM_MOUSEMOVE;
        msg.lParam = MAKELPARAM(x, 10);
        msg.pt = CPoint(x, 10);
        wnd.ClientToScreen(&msg.pt);
        wnd.PreTranslateMessage(&msg);
    };
    move(10);
    HWND hTip = AfxGetThreadState()->m_hWndToolTip;
    ASSERT_TRUE(hTip != NULL);
    EXPECT_EQ(1, (int)SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0));
    TOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    char buf[64] = "";
    ti.hwnd = wnd.m_hWnd;
    ti.uId = 7;
    ti.lpszText = buf;
    SendMessageA(hTip, TTM_GETTEXTA, sizeof(buf), (LPARAM)&ti);
    EXPECT_STREQ("left half", buf);
    move(80); // no tool there
    EXPECT_EQ(0, (int)SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0));
    wnd.DestroyWindow();
}

} // namespace
