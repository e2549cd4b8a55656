// Command bars seen by accessibility clients: a toolbar and a menu bar on a
// real frame, reached through AccessibleObjectFromWindow like a screen
// reader would, with names, roles, states and locations of their controls
// and the default action sending a control's command.
#include <qx/cbaccess.h>
#include <qx/commandbars.h>
#include <qx/toolbar.h>
#include <qx/menubar.h>

#include <gtest/gtest.h>
#include <qmtest/barsite.h>
#include <qmtest/accessible.h>
#include <qmtest/anylanguage.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cbtest_ids.h"
#include <qmtest/pump.h>

namespace {

class CAccFrame : public qmtest::CBarSiteWnd {
public:
    std::vector<UINT> commands;
    CQXPCommandBars* m_pCommandBars = NULL;
    CQXPToolBar* m_pRemoveOnExit = NULL;

    BOOL CreateFrame()
    {
        LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(NULL, IDC_ARROW));
        return CreateEx(0, lpszClass, "Accessibility test", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                        640, 400, NULL, NULL);
    }
    void PostNcDestroy() override {}

protected:
    afx_msg void OnOpen() { commands.push_back(ID_TEST_OPEN); }
    afx_msg void OnSave() { commands.push_back(ID_TEST_SAVE); }
    afx_msg void OnUndo() { commands.push_back(ID_TEST_UNDO); }
    afx_msg void OnExit()
    {
        commands.push_back(ID_TEST_EXIT);
        if (m_pRemoveOnExit && m_pCommandBars)
            m_pCommandBars->Remove(m_pRemoveOnExit);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CAccFrame, CWnd)
    ON_COMMAND(ID_TEST_OPEN, OnOpen)
    ON_COMMAND(ID_TEST_SAVE, OnSave)
    ON_COMMAND(ID_TEST_UNDO, OnUndo)
    ON_COMMAND(ID_TEST_EXIT, OnExit)
END_MESSAGE_MAP()

using qmtest::Narrow;

std::string R(const RECT& rc)
{
    char sz[64];
    wsprintfA(sz, "%ld,%ld,%ld,%ld", rc.left, rc.top, rc.right, rc.bottom);
    return sz;
}

// The child id of a control: its place among the bar's visible controls.
long ChildIdOf(CQXPCommandBar* pBar, CQXPControl* pControl)
{
    long nId = 0;
    for (int i = 0; i < pBar->GetControlCount(); i++) {
        CQXPControl* p = pBar->GetControl(i);
        if (p->IsVisible())
            nId++;
        if (p == pControl)
            return nId;
    }
    return -1;
}

VARIANT Child(long nChild) { return qmtest::AccChild(nChild); }

class AccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(NULL)));
        ASSERT_TRUE(frame.CreateFrame());
        pBars = CQXPCommandBars::CreateCommandBars(&frame);
        ASSERT_NE(nullptr, pBars);
        frame.m_pCommandBars = pBars;
        pToolBar = pBars->Add("Standard", qxpBarTop);
        ASSERT_NE(nullptr, pToolBar);
        CQXPControls* pControls = pToolBar->GetControls();
        pOpen = pControls->Add(qxpControlButton, ID_TEST_OPEN);
        pSave = pControls->Add(qxpControlButton, ID_TEST_SAVE);
        pHidden = pControls->Add(qxpControlButton, ID_TEST_UNDO);
        pExit = pControls->Add(qxpControlButton, ID_TEST_EXIT);
        ASSERT_TRUE(pOpen && pSave && pHidden && pExit);
        pOpen->SetCaption("&Open");
        pOpen->SetShortcutText("Ctrl+O");
        pSave->SetCaption("Save && Close");
        pHidden->SetCaption("&Undo");
        pHidden->SetVisible(FALSE);
        pExit->SetCaption("E&xit");
        pExit->SetBeginGroup(TRUE);
        pBars->RecalcFrameLayout();
        qmtest::PumpMessages();
    }
    void TearDown() override
    {
        frame.m_pCommandBars = NULL;
        if (pBars)
            pBars->InternalRelease();
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        qmtest::PumpMessages();
        ::CoUninitialize();
    }

    // The menu bar of the test menu, laid out on the frame.
    CQXPMenuBar* AddMenuBar()
    {
        CQXPMenuBar* pMenuBar = pBars->SetMenu("Menu Bar", IDR_TEST_MENU);
        pBars->RecalcFrameLayout();
        qmtest::PumpMessages();
        return pMenuBar;
    }
    IAccessible* FromBar(CQXPCommandBar* pBar)
    {
        IAccessible* pAcc = NULL;
        HRESULT hr = ::AccessibleObjectFromWindow(pBar->GetSafeHwnd(), (DWORD)OBJID_CLIENT, IID_IAccessible,
                                                  (void**)&pAcc);
        EXPECT_EQ(S_OK, hr);
        return pAcc;
    }

    CAccFrame frame;
    CQXPCommandBars* pBars = NULL;
    CQXPToolBar* pToolBar = NULL;
    CQXPControl* pOpen = NULL;
    CQXPControl* pSave = NULL;
    CQXPControl* pHidden = NULL;
    CQXPControl* pExit = NULL;
};

TEST_F(AccessibilityTest, ToolbarChildrenAreItsVisibleControls)
{
    // The states are set after layout so no update pass changes them.
    pSave->SetEnabled(FALSE);
    pExit->SetChecked(1);

    IAccessible* pAcc = FromBar(pToolBar);
    ASSERT_NE(nullptr, pAcc);

    // Every child names a visible control; the hidden one is not there.
    long nCount = -1;
    ASSERT_EQ(S_OK, pAcc->get_accChildCount(&nCount));
    std::vector<std::string> names;
    for (long i = 1; i <= nCount; i++) {
        BSTR bstrName = NULL;
        EXPECT_EQ(S_OK, pAcc->get_accName(Child(i), &bstrName));
        names.push_back(Narrow(bstrName));
    }
    for (const char* name : {"Open\tCtrl+O", "Save & Close", "Exit"})
        EXPECT_EQ(1, std::count(names.begin(), names.end(), name)) << name;
    EXPECT_EQ(0, std::count(names.begin(), names.end(), "Undo"));

    VARIANT self = Child(CHILDID_SELF);
    BSTR bstr = NULL;
    EXPECT_EQ(S_OK, pAcc->get_accName(self, &bstr));
    EXPECT_EQ("Standard", Narrow(bstr));
    VARIANT var;
    ASSERT_EQ(S_OK, pAcc->get_accRole(self, &var));
    EXPECT_EQ(VT_I4, var.vt);
    EXPECT_EQ(ROLE_SYSTEM_TOOLBAR, var.lVal);
    long x, y, cx, cy;
    ASSERT_EQ(S_OK, pAcc->accLocation(&x, &y, &cx, &cy, self));
    CRect rcBar;
    pToolBar->GetWindowRect(&rcBar);
    EXPECT_EQ(R(rcBar), R(CRect(x, y, x + cx, y + cy)));

    struct Row {
        CQXPControl* pControl;
        const char* name;
        long state;
    };
    const Row rows[] = {
        {pOpen, "Open\tCtrl+O", STATE_SYSTEM_FOCUSABLE},
        {pSave, "Save & Close", STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE},
        {pExit, "Exit", STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_CHECKED},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        long nChild = ChildIdOf(pToolBar, row.pControl);
        VARIANT child = Child(nChild);
        bstr = NULL;
        ASSERT_EQ(S_OK, pAcc->get_accName(child, &bstr));
        EXPECT_EQ(row.name, Narrow(bstr));
        ASSERT_EQ(S_OK, pAcc->get_accRole(child, &var));
        EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, var.lVal);
        ASSERT_EQ(S_OK, pAcc->get_accState(child, &var));
        EXPECT_EQ(row.state, var.lVal);
        bstr = NULL;
        ASSERT_EQ(S_OK, pAcc->get_accDefaultAction(child, &bstr));
        EXPECT_EQ("Click", Narrow(bstr));

        // The location is the control's rectangle on the screen, inside
        // the bar, and a hit test there finds the same child.
        ASSERT_EQ(S_OK, pAcc->accLocation(&x, &y, &cx, &cy, child));
        CRect rc = row.pControl->GetRect();
        pToolBar->ClientToScreen(&rc);
        EXPECT_EQ(R(rc), R(CRect(x, y, x + cx, y + cy)));
        EXPECT_GT(cx, 0);
        EXPECT_GT(cy, 0);
        CRect rcInside;
        EXPECT_TRUE(rcInside.IntersectRect(rc, rcBar) && rcInside == rc);
        ASSERT_EQ(S_OK, pAcc->accHitTest(x + cx / 2, y + cy / 2, &var));
        EXPECT_EQ(VT_I4, var.vt);
        EXPECT_EQ(nChild, var.lVal);
    }

    // Unknown children are refused, not answered for some other control.
    bstr = NULL;
    EXPECT_EQ(E_INVALIDARG, pAcc->get_accName(Child(nCount + 1), &bstr));
    EXPECT_EQ(E_INVALIDARG, pAcc->accDoDefaultAction(Child(-1)));
    // A point outside the bar hits nothing.
    EXPECT_EQ(S_FALSE, pAcc->accHitTest(rcBar.right + 50, rcBar.bottom + 50, &var));
    pAcc->Release();
}

// Captions in any language reach assistive programs whole (UTF-16).
TEST_F(AccessibilityTest, NamesInAnyLanguageAreGivenWhole)
{
    ASSERT_EQ(GetACP(), (UINT)CP_UTF8) << "the test program's manifest sets the UTF-8 code page";
    IAccessible* pAcc = FromBar(pToolBar);
    ASSERT_NE(nullptr, pAcc);
    const long nChild = ChildIdOf(pToolBar, pExit);
    for (const qmtest::TextInAnyLanguage& c : qmtest::kTextsInAnyLanguage) {
        SCOPED_TRACE(c.utf8);
        // With a mnemonic, which the name leaves out.
        pExit->SetCaption((std::string("&") + c.utf8).c_str());
        BSTR bstr = NULL;
        ASSERT_EQ(S_OK, pAcc->get_accName(Child(nChild), &bstr));
        EXPECT_STREQ(c.utf16, bstr);
        ::SysFreeString(bstr);
    }
    pAcc->Release();
}

TEST_F(AccessibilityTest, SelectedControlAndHiddenBarReportTheirState)
{
    IAccessible* pAcc = FromBar(pToolBar);
    ASSERT_NE(nullptr, pAcc);
    ASSERT_TRUE(pToolBar->SetSelected(pExit->GetIndex(), 1));
    VARIANT var;
    ASSERT_EQ(S_OK, pAcc->get_accState(Child(ChildIdOf(pToolBar, pExit)), &var));
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED,
              var.lVal);
    ASSERT_EQ(S_OK, pAcc->get_accState(Child(ChildIdOf(pToolBar, pOpen)), &var));
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE, var.lVal);

    // A hidden bar reports itself and its children invisible.
    pToolBar->SetVisible(FALSE);
    pBars->RecalcFrameLayout();
    ASSERT_EQ(S_OK, pAcc->get_accState(Child(CHILDID_SELF), &var));
    EXPECT_TRUE(var.lVal & STATE_SYSTEM_INVISIBLE);
    pAcc->Release();
}

TEST_F(AccessibilityTest, DefaultActionSendsTheCommandToTheFrame)
{
    IAccessible* pAcc = FromBar(pToolBar);
    ASSERT_NE(nullptr, pAcc);
    ASSERT_EQ(S_OK, pAcc->accDoDefaultAction(Child(ChildIdOf(pToolBar, pOpen))));
    ASSERT_EQ(1u, frame.commands.size());
    EXPECT_EQ(ID_TEST_OPEN, frame.commands[0]);

    // A disabled control ignores the action.
    pSave->SetEnabled(FALSE);
    EXPECT_EQ(S_OK, pAcc->accDoDefaultAction(Child(ChildIdOf(pToolBar, pSave))));
    EXPECT_EQ(1u, frame.commands.size());
    pAcc->Release();
}

TEST_F(AccessibilityTest, ObjectHeldPastItsBarAnswersDisconnected)
{
    // The command removes the toolbar while the client still holds its
    // object: later calls must fail cleanly instead of touching the bar.
    frame.m_pRemoveOnExit = pToolBar;
    IAccessible* pAcc = FromBar(pToolBar);
    ASSERT_NE(nullptr, pAcc);
    EXPECT_EQ(S_OK, pAcc->accDoDefaultAction(Child(ChildIdOf(pToolBar, pExit))));
    qmtest::PumpMessages();
    ASSERT_EQ(1u, frame.commands.size());
    EXPECT_EQ(ID_TEST_EXIT, frame.commands[0]);
    long nCount = -1;
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, pAcc->get_accChildCount(&nCount));
    EXPECT_EQ(0, nCount);
    BSTR bstr = NULL;
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, pAcc->get_accName(Child(CHILDID_SELF), &bstr));
    EXPECT_EQ(nullptr, bstr);
    pAcc->Release();
}

TEST_F(AccessibilityTest, MenuBarItemsAreMenuItems)
{
    CQXPMenuBar* pMenuBar = AddMenuBar();
    ASSERT_NE(nullptr, pMenuBar);
    IAccessible* pAcc = FromBar(pMenuBar);
    ASSERT_NE(nullptr, pAcc);
    VARIANT var;
    ASSERT_EQ(S_OK, pAcc->get_accRole(Child(CHILDID_SELF), &var));
    EXPECT_EQ(ROLE_SYSTEM_MENUBAR, var.lVal);
    long nCount = 0;
    ASSERT_EQ(S_OK, pAcc->get_accChildCount(&nCount));
    ASSERT_GT(nCount, 0);
    ASSERT_EQ(S_OK, pAcc->get_accRole(Child(1), &var));
    EXPECT_EQ(ROLE_SYSTEM_MENUITEM, var.lVal);
    ASSERT_EQ(S_OK, pAcc->get_accState(Child(1), &var));
    EXPECT_TRUE(var.lVal & STATE_SYSTEM_HASPOPUP);
    pAcc->Release();
}

// A control asked for by its id answers for itself, as its child of the bar
// would; ids that name no visible control give nothing.
TEST_F(AccessibilityTest, AControlIdGivesThatControlsOwnObject)
{
    IAccessible* pAcc = NULL;
    ASSERT_EQ(S_OK, ::AccessibleObjectFromWindow(pToolBar->GetSafeHwnd(), (DWORD)ID_TEST_OPEN, IID_IAccessible,
                                                 (void**)&pAcc));
    ASSERT_NE(nullptr, pAcc);
    VARIANT self = Child(CHILDID_SELF);
    BSTR bstr = NULL;
    ASSERT_EQ(S_OK, pAcc->get_accName(self, &bstr));
    EXPECT_EQ("Open\tCtrl+O", Narrow(bstr));
    VARIANT var;
    ASSERT_EQ(S_OK, pAcc->get_accRole(self, &var));
    EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, var.lVal);
    long nCount = -1;
    ASSERT_EQ(S_OK, pAcc->get_accChildCount(&nCount));
    EXPECT_EQ(0, nCount);
    long x, y, cx, cy;
    ASSERT_EQ(S_OK, pAcc->accLocation(&x, &y, &cx, &cy, self));
    CRect rc = pOpen->GetRect();
    pToolBar->ClientToScreen(&rc);
    EXPECT_EQ(R(rc), R(CRect(x, y, x + cx, y + cy)));
    ASSERT_EQ(S_OK, pAcc->accHitTest(x + cx / 2, y + cy / 2, &var));
    EXPECT_EQ(CHILDID_SELF, var.lVal);
    EXPECT_EQ(S_FALSE, pAcc->accHitTest(x + cx + 40, y + cy + 40, &var));
    // Its parent is the bar.
    IDispatch* pParent = NULL;
    ASSERT_EQ(S_OK, pAcc->get_accParent(&pParent));
    ASSERT_NE(nullptr, pParent);
    IAccessible* pBarAcc = NULL;
    ASSERT_EQ(S_OK, pParent->QueryInterface(IID_IAccessible, (void**)&pBarAcc));
    ASSERT_EQ(S_OK, pBarAcc->get_accName(self, &bstr));
    EXPECT_EQ("Standard", Narrow(bstr));
    pBarAcc->Release();
    pParent->Release();
    // Its default action is the control's.
    ASSERT_EQ(S_OK, pAcc->accDoDefaultAction(self));
    ASSERT_EQ(1u, frame.commands.size());
    EXPECT_EQ(ID_TEST_OPEN, frame.commands[0]);

    // The hidden control and an id no control has are not answered.
    for (UINT nId : {(UINT)ID_TEST_UNDO, 47999u}) {
        SCOPED_TRACE(nId);
        EXPECT_EQ(0, ::SendMessageA(pToolBar->GetSafeHwnd(), WM_GETOBJECT, 0, (LPARAM)nId));
    }

    // Held past its control, the object says it is gone.
    pToolBar->GetControls()->Remove(pOpen);
    pOpen = NULL;
    bstr = NULL;
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, pAcc->get_accName(self, &bstr));
    EXPECT_EQ(nullptr, bstr);
    pAcc->Release();
}

// A menu title is an object of its own whose one child is its menu, so a
// client steps from the menu bar into the open menu and reads its items;
// a plain button stays a simple element without children.
TEST_F(AccessibilityTest, MenuTitleLeadsIntoItsMenu)
{
    CQXPMenuBar* pMenuBar = AddMenuBar();
    ASSERT_NE(nullptr, pMenuBar);
    IAccessible* pAcc = FromBar(pMenuBar);
    ASSERT_NE(nullptr, pAcc);
    // Child 2 is "&Edit" (after "&File").
    IAccessible* pTitle = qmtest::AccChildObject(pAcc, 2);
    ASSERT_NE(nullptr, pTitle);
    EXPECT_EQ("Edit", qmtest::AccName(pTitle, CHILDID_SELF));
    EXPECT_EQ(ROLE_SYSTEM_MENUITEM, qmtest::AccRole(pTitle, CHILDID_SELF));
    EXPECT_EQ(1, qmtest::AccChildCount(pTitle));
    IDispatch* pDispatch = NULL;
    EXPECT_EQ(E_INVALIDARG, pTitle->get_accChild(Child(2), &pDispatch));
    EXPECT_EQ(nullptr, pDispatch);

    // Opened, the menu answers through the title's child.
    ASSERT_EQ(S_OK, pTitle->accDoDefaultAction(Child(CHILDID_SELF)));
    CQXPControl* pEdit = pMenuBar->GetControl(1);
    ASSERT_NE(nullptr, pEdit);
    CQXPCommandBar* pPopup = pEdit->GetCommandBar();
    ASSERT_NE(nullptr, pPopup);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return ::IsWindowVisible(pPopup->GetSafeHwnd()) != FALSE; }));
    IAccessible* pMenu = qmtest::AccChildObject(pTitle, 1);
    ASSERT_NE(nullptr, pMenu);
    EXPECT_EQ(ROLE_SYSTEM_MENUPOPUP, qmtest::AccRole(pMenu, CHILDID_SELF));
    ASSERT_EQ(2, qmtest::AccChildCount(pMenu));
    EXPECT_EQ("Undo", qmtest::AccName(pMenu, 1));
    EXPECT_EQ("Encoding", qmtest::AccName(pMenu, 2));
    // One level further down: the submenu item leads into its own menu.
    IAccessible* pEncoding = qmtest::AccChildObject(pMenu, 2);
    ASSERT_NE(nullptr, pEncoding);
    EXPECT_EQ(1, qmtest::AccChildCount(pEncoding));
    EXPECT_TRUE(qmtest::AccState(pEncoding, CHILDID_SELF) & STATE_SYSTEM_HASPOPUP);
    // Its plain item is a simple element.
    EXPECT_EQ(nullptr, qmtest::AccChildObject(pMenu, 1));
    pEncoding->Release();
    pMenu->Release();
    pBars->ClosePopups();
    qmtest::PumpMessages();

    // A toolbar button has no child object and, asked on its own, none.
    IAccessible* pToolAcc = FromBar(pToolBar);
    ASSERT_NE(nullptr, pToolAcc);
    EXPECT_EQ(nullptr, qmtest::AccChildObject(pToolAcc, ChildIdOf(pToolBar, pOpen)));
    pToolAcc->Release();
    pTitle->Release();
    pAcc->Release();
}

// Selecting a control, through the bar's object or the control's own, puts
// the bar into tracking with that control selected, as the keyboard would.
TEST_F(AccessibilityTest, SelectingAControlTracksTheBarOnIt)
{
    CQXPMenuBar* pMenuBar = AddMenuBar();
    ASSERT_NE(nullptr, pMenuBar);
    IAccessible* pAcc = FromBar(pMenuBar);
    ASSERT_NE(nullptr, pAcc);
    ASSERT_FALSE(pMenuBar->IsTrackingMode());
    ASSERT_EQ(S_OK, pAcc->accSelect(SELFLAG_TAKEFOCUS, Child(2)));
    EXPECT_TRUE(pMenuBar->IsTrackingMode());
    ASSERT_NE(nullptr, pMenuBar->GetSelected());
    EXPECT_EQ(pMenuBar->GetControl(1), pMenuBar->GetSelected());
    EXPECT_TRUE(qmtest::AccState(pAcc, 2) & STATE_SYSTEM_SELECTED);
    EXPECT_FALSE(qmtest::AccState(pAcc, 1) & STATE_SYSTEM_SELECTED);
    // The bar itself is not something to select; unknown children fail.
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, pAcc->accSelect(SELFLAG_TAKEFOCUS, Child(CHILDID_SELF)));
    EXPECT_EQ(E_INVALIDARG, pAcc->accSelect(SELFLAG_TAKEFOCUS, Child(99)));
    pMenuBar->SetTrackingMode(FALSE);
    pAcc->Release();

    // A toolbar control's own object selects it on its bar.
    IAccessible* pOwn = NULL;
    ASSERT_EQ(S_OK, ::AccessibleObjectFromWindow(pToolBar->GetSafeHwnd(), (DWORD)ID_TEST_EXIT, IID_IAccessible,
                                                 (void**)&pOwn));
    ASSERT_NE(nullptr, pOwn);
    ASSERT_EQ(S_OK, pOwn->accSelect(SELFLAG_TAKEFOCUS, Child(CHILDID_SELF)));
    EXPECT_TRUE(pToolBar->IsTrackingMode());
    EXPECT_EQ(pExit, pToolBar->GetSelected());
    EXPECT_EQ(E_INVALIDARG, pOwn->accSelect(SELFLAG_TAKEFOCUS, Child(1)));
    pToolBar->SetTrackingMode(FALSE);
    pOwn->Release();
}

} // namespace
