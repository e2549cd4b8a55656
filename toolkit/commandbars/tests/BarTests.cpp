// Command bars on real windows: a frame with a menu bar and a toolbar,
// clicks that send commands, update handlers that grey buttons, popups and
// bars removed by their own commands.
#include <qx/commandbars.h>
#include <qx/controledit.h>
#include <qx/custom.h>
#include <qx/listcontrols.h>
#include <qx/images.h>
#include <qx/mousemanager.h>
#include <qx/popup.h>
#include <qx/tooltips.h>
#include <qx/themes.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "cbtest_ids.h"
#include <qmtest/barsite.h>
#include <qmtest/accessible.h>
#include <qmtest/bartips.h>
#include <qmtest/mouse.h>
#include <qmtest/offscreen.h>
#include <qmtest/pump.h>
#include <qmtest/screenshot.h>

namespace {

const UINT WM_TEST_CLICKPOPUP = WM_APP + 5;
// wParam: item index, lParam: the button-up message posted to the newest
// tracked bar at that item (then Esc, which ends a loop the item left open).
const UINT WM_TEST_CLICKNEWEST = WM_APP + 6;
// Closes all popups of the thread with no manager object at hand.
const UINT WM_TEST_CLOSEPOPUPS = WM_APP + 7;

using qmtest::PumpUntil;

void PumpPending()
{
    qmtest::PumpMessages();
}

class CTestFrame : public qmtest::CBarSiteWnd {
public:
    std::vector<UINT> commands;
    BOOL m_bSaveEnabled = TRUE;
    BOOL m_bExitChecked = FALSE;
    CQXPCommandBars* m_pCommandBars = NULL;
    CQXPToolBar* m_pRemoveOnExit = NULL;
    CQXPPopupBar* m_pPopupToClick = NULL;
    int m_nPopupItemToClick = 0;
    int m_nNotifications = 0;
    // The status line as the bars set it ("<idle>" for the idle text).
    std::vector<std::string> statusTexts;
    int m_nRButtonUps = 0;
    LRESULT m_lRButtonUpAnswer = 0;
    std::vector<UINT> keys;
    // Keys the bars showed before processing them, and what the site does
    // with each (the answer; it may also remove a bar).
    std::vector<QXP_KEYRECORD> preKeys;
    std::vector<CQXPCommandBar*> preKeyBars;
    std::function<LRESULT(QXP_KEYRECORD*, CQXPCommandBar*)> onPreKey;
    // Window-menu requests (SC_KEYMENU) that reached the frame itself.
    std::vector<LPARAM> keyMenus;

    BOOL CreateFrame()
    {
        LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(NULL, IDC_ARROW));
        return CreateEx(0, lpszClass, "Command bar test", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                        640, 400, NULL, NULL);
    }
    void PostNcDestroy() override {}

protected:
    afx_msg void OnOpen() { commands.push_back(ID_TEST_OPEN); }
    afx_msg void OnSave() { commands.push_back(ID_TEST_SAVE); }
    afx_msg void OnUndo() { commands.push_back(ID_TEST_UNDO); }
    afx_msg void OnUtf8() { commands.push_back(ID_TEST_UTF8); }
    afx_msg void OnExit()
    {
        commands.push_back(ID_TEST_EXIT);
        if (m_pRemoveOnExit && m_pCommandBars)
            m_pCommandBars->Remove(m_pRemoveOnExit);
    }
    afx_msg void OnUpdateSave(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bSaveEnabled); }
    afx_msg void OnUpdateExit(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bExitChecked); }
    afx_msg LRESULT OnControlNotify(WPARAM wParam, LPARAM lParam)
    {
        (void)wParam;
        (void)lParam;
        m_nNotifications++;
        return 0;
    }
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam)
    {
        if (lParam)
            statusTexts.push_back((LPCSTR)lParam);
        else
            statusTexts.push_back(wParam == AFX_IDS_IDLEMESSAGE ? "<idle>" : "<id " + std::to_string(wParam) + ">");
        return 0;
    }
    afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam)
    {
        return OnSetMessageString(wParam, lParam);
    }
    afx_msg LRESULT OnControlRButtonUp(WPARAM, LPARAM)
    {
        m_nRButtonUps++;
        return m_lRButtonUpAnswer;
    }
    afx_msg void OnKeyDown(UINT nChar, UINT, UINT) { keys.push_back(nChar); }
    afx_msg LRESULT OnPreTranslateKey(WPARAM wParam, LPARAM lParam)
    {
        QXP_KEYRECORD* pRecord = (QXP_KEYRECORD*)wParam;
        preKeys.push_back(*pRecord);
        preKeyBars.push_back((CQXPCommandBar*)lParam);
        return onPreKey ? onPreKey(pRecord, (CQXPCommandBar*)lParam) : 0;
    }
    afx_msg LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam)
    {
        // The window menu is only recorded: its modal loop would hold the test.
        if ((wParam & 0xFFF0) == SC_KEYMENU) {
            keyMenus.push_back(lParam);
            return 0;
        }
        return Default();
    }
    afx_msg LRESULT OnClickNewest(WPARAM wParam, LPARAM lParam)
    {
        ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
        CQXPCommandBar* pBar = pMouse->GetTrackedBar(pMouse->GetTrackedCount() - 1);
        CQXPControl* pControl = pBar ? pBar->GetControl((int)wParam) : NULL;
        if (pControl) {
            CPoint pt = pControl->GetRect().CenterPoint();
            ::PostMessageA(pBar->GetSafeHwnd(), (UINT)lParam, 0, MAKELPARAM(pt.x, pt.y));
        }
        PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        return 0;
    }
    afx_msg LRESULT OnClosePopups(WPARAM, LPARAM)
    {
        CQXPCommandBars::ClosePopups();
        return 0;
    }
    afx_msg LRESULT OnClickPopup(WPARAM, LPARAM)
    {
        CQXPPopupBar* pBar = m_pPopupToClick;
        CQXPControl* pControl = pBar ? pBar->GetControl(m_nPopupItemToClick) : NULL;
        if (pControl) {
            CPoint pt = pControl->GetRect().CenterPoint();
            ::PostMessageA(pBar->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        }
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CWnd)
    ON_COMMAND(ID_TEST_OPEN, OnOpen)
    ON_COMMAND(ID_TEST_SAVE, OnSave)
    ON_COMMAND(ID_TEST_UNDO, OnUndo)
    ON_COMMAND(ID_TEST_UTF8, OnUtf8)
    ON_COMMAND(ID_TEST_EXIT, OnExit)
    ON_UPDATE_COMMAND_UI(ID_TEST_SAVE, OnUpdateSave)
    ON_UPDATE_COMMAND_UI(ID_TEST_EXIT, OnUpdateExit)
    ON_MESSAGE(WM_COMMANDBARS_CONTROLNOTIFY, OnControlNotify)
    ON_MESSAGE(WM_TEST_CLICKPOPUP, OnClickPopup)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
    ON_MESSAGE(WM_QXP_CONTROLRBUTTONUP, OnControlRButtonUp)
    ON_MESSAGE(WM_TEST_CLICKNEWEST, OnClickNewest)
    ON_MESSAGE(WM_TEST_CLOSEPOPUPS, OnClosePopups)
    ON_WM_KEYDOWN()
    ON_MESSAGE(WM_QXP_PRETRANSLATEKEY, OnPreTranslateKey)
    ON_MESSAGE(WM_SYSCOMMAND, OnSysCommand)
END_MESSAGE_MAP()

class BarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.CreateFrame());
        pBars = CQXPCommandBars::CreateCommandBars(&frame);
        ASSERT_NE(nullptr, pBars);
        frame.m_pCommandBars = pBars;
        pMenuBar = pBars->SetMenu("Menu Bar", IDR_TEST_MENU);
        ASSERT_NE(nullptr, pMenuBar);
        pToolBar = pBars->Add("Toolbar", qxpBarTop);
        ASSERT_NE(nullptr, pToolBar);
        ASSERT_TRUE(pToolBar->LoadToolBar(IDR_TEST_TOOLBAR));
        pBars->RecalcFrameLayout();
        PumpPending();
    }
    void TearDown() override
    {
        frame.m_pCommandBars = NULL;
        if (pBars)
            pBars->InternalRelease();
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        PumpPending();
    }

    // A drop-down button of the toolbar (nType: a popup kind, id Undo) whose
    // list holds Save; the frame is laid out again.
    CQXPControlPopup* AddDropDown(int nType)
    {
        CQXPControlPopup* pDrop = dynamic_cast<CQXPControlPopup*>(pToolBar->GetControls()->Add(nType, ID_TEST_UNDO));
        if (!pDrop)
            return NULL;
        CQXPPopupBar* pList = CQXPPopupBar::CreateForOwner(pBars);
        pList->GetControls()->Add(qxpControlButton, ID_TEST_SAVE)->SetCaption("Save");
        pDrop->SetCommandBar(pList);
        pList->InternalRelease();
        pBars->RecalcFrameLayout();
        PumpPending();
        return pDrop;
    }

    // Presses and releases the mouse over a control of a bar.
    void Click(CQXPCommandBar* pBar, CQXPControl* pControl)
    {
        CPoint pt = pControl->GetRect().CenterPoint();
        CPoint ptScreen = pt;
        ::ClientToScreen(pBar->GetSafeHwnd(), &ptScreen);
        ::SetCursorPos(ptScreen.x, ptScreen.y);
        HWND hWnd = pBar->GetSafeHwnd();
        ::PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        ::PostMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }

    CTestFrame frame;
    CQXPCommandBars* pBars = NULL;
    CQXPMenuBar* pMenuBar = NULL;
    CQXPToolBar* pToolBar = NULL;
};

TEST_F(BarTest, MenuBarAndToolbarAreBuiltFromResources)
{
    ASSERT_EQ(2, pMenuBar->GetControlCount());
    EXPECT_EQ(1u, pMenuBar->GetBarID());
    EXPECT_EQ(qxpBarTypeMenuBar, pMenuBar->GetType());
    CQXPControl* pFile = pMenuBar->GetControl(0);
    EXPECT_EQ(qxpControlPopup, pFile->GetType());
    EXPECT_EQ(std::string("&File"), std::string(pFile->GetCaption()));
    CQXPCommandBar* pPopup = pFile->GetCommandBar();
    ASSERT_NE(nullptr, pPopup);
    ASSERT_EQ(3, pPopup->GetControlCount());
    EXPECT_EQ(ID_TEST_OPEN, (UINT)pPopup->GetControl(0)->GetID());
    EXPECT_EQ(std::string("Ctrl+O"), std::string(pPopup->GetControl(0)->GetShortcutText()));
    EXPECT_TRUE(pPopup->GetControl(2)->GetBeginGroup());

    // The three buttons of the resource, then the expand button the bar
    // keeps at its end while docked.
    ASSERT_EQ(4, pToolBar->GetControlCount());
    EXPECT_EQ(pToolBar->GetExpandButton(), pToolBar->GetControl(3));
    EXPECT_EQ(ID_TEST_SAVE, (UINT)pToolBar->GetControl(1)->GetID());
    EXPECT_TRUE(pToolBar->GetControl(1)->GetBeginGroup());
    EXPECT_EQ(std::string("Open"), std::string(pToolBar->GetControl(0)->GetTooltip()));
    EXPECT_NE(nullptr, GetGlobalImageManager()->GetImage(ID_TEST_OPEN, 16));
    EXPECT_NE(nullptr, pToolBar->GetControl(0)->GetImage(16));
    EXPECT_FALSE(pToolBar->GetControl(0)->IsCaptionVisible()) << "a button with an image shows no caption";
    EXPECT_TRUE(pFile->IsCaptionVisible());
    EXPECT_FALSE(pToolBar->GetControls()->IsChanged());

    // Both bars sit in the top dock bar: the menu bar first, the toolbar in
    // the row below; the dock bar is as tall as both rows.
    CRect rcMenu, rcTool, rcDock;
    ::GetWindowRect(pMenuBar->GetSafeHwnd(), &rcMenu);
    ::GetWindowRect(pToolBar->GetSafeHwnd(), &rcTool);
    ::GetWindowRect(pBars->GetDockBar(qxpBarTop)->GetSafeHwnd(), &rcDock);
    EXPECT_GT(rcMenu.Height(), 0);
    EXPECT_GT(rcTool.Height(), 0);
    EXPECT_EQ(rcMenu.bottom, rcTool.top);
    EXPECT_EQ(rcDock.Height(), rcMenu.Height() + rcTool.Height());
    CRect rcClient;
    frame.GetClientRect(&rcClient);
    EXPECT_EQ(rcClient.Width(), rcMenu.Width()) << "the menu bar stretches over its row";
    // Controls lie inside their bar.
    for (int i = 0; i < pToolBar->GetControlCount(); i++) {
        CRect rc = pToolBar->GetControl(i)->GetRect();
        EXPECT_GT(rc.Width(), 0);
        EXPECT_LE(rc.bottom, rcTool.Height());
    }
}

// Whether a control shows its picture: in a menu whenever it has one, on a
// toolbar by its style.
TEST_F(BarTest, ImagesShowInMenusWheneverThereIsOneAndOnToolbarsByStyle)
{
    CQXPPopupBar* pMenu = CQXPPopupBar::CreateForOwner(pBars);
    const UINT kNoImage = ID_TEST_ANSI;
    ASSERT_NE(nullptr, GetGlobalImageManager()->GetImage(ID_TEST_OPEN, 16));
    ASSERT_EQ(nullptr, GetGlobalImageManager()->GetImage(kNoImage, 16));
    struct Case {
        BOOL bMenu;
        int nType, nStyle;
        BOOL bImage, bExpected;
    } cases[] = {
        {TRUE, qxpControlButton, qxpButtonAutomatic, TRUE, TRUE},
        {TRUE, qxpControlButton, qxpButtonCaption, TRUE, TRUE},
        {TRUE, qxpControlPopup, qxpButtonAutomatic, TRUE, TRUE},
        {TRUE, qxpControlButton, qxpButtonAutomatic, FALSE, FALSE},
        {FALSE, qxpControlButton, qxpButtonAutomatic, TRUE, TRUE},
        {FALSE, qxpControlButton, qxpButtonCaption, TRUE, FALSE},
        {FALSE, qxpControlButton, qxpButtonIcon, TRUE, TRUE},
        {FALSE, qxpControlButton, qxpButtonIconAndCaption, TRUE, TRUE},
        {FALSE, qxpControlButton, qxpButtonIconAndCaptionBelow, TRUE, TRUE},
        {FALSE, qxpControlPopup, qxpButtonAutomatic, TRUE, FALSE},
        {FALSE, qxpControlPopup, qxpButtonIconAndCaption, TRUE, TRUE},
        {FALSE, qxpControlButton, qxpButtonIcon, FALSE, FALSE},
    };
    for (const Case& c : cases) {
        CQXPCommandBar* pBar = c.bMenu ? (CQXPCommandBar*)pMenu : (CQXPCommandBar*)pToolBar;
        CQXPControl* pControl = pBar->GetControls()->Add(c.nType, c.bImage ? ID_TEST_OPEN : kNoImage);
        pControl->SetTemporary(TRUE);
        pControl->m_buttonStyle = c.nStyle;
        EXPECT_EQ(c.bExpected, pControl->IsImageVisible())
            << (c.bMenu ? "menu" : "toolbar") << " type " << c.nType << " style " << c.nStyle;
        pBar->GetControls()->Remove(pControl);
    }
    pMenu->InternalRelease();
}

TEST_F(BarTest, ClickOnAToolbarButtonSendsItsCommand)
{
    Click(pToolBar, pToolBar->GetControl(0));
    ASSERT_TRUE(PumpUntil([&] { return !frame.commands.empty(); }));
    EXPECT_EQ(ID_TEST_OPEN, frame.commands[0]);
    EXPECT_EQ(1, frame.m_nNotifications) << "the site is asked first";
    EXPECT_EQ(0, pToolBar->GetControl(0)->GetPressed());
}

TEST_F(BarTest, UpdateHandlerGreysAndChecksButtons)
{
    frame.m_bSaveEnabled = FALSE;
    frame.m_bExitChecked = TRUE;
    ::SendMessageA(pToolBar->GetSafeHwnd(), WM_IDLEUPDATECMDUI, TRUE, 0);
    CQXPControl* pSave = pToolBar->GetControl(1);
    EXPECT_EQ(0, pSave->GetEnabled());
    EXPECT_EQ(1, pToolBar->GetControl(2)->GetChecked());

    // A greyed button ignores clicks.
    Click(pToolBar, pSave);
    PumpUntil([&] { return !frame.commands.empty(); }, 500);
    EXPECT_TRUE(frame.commands.empty());

    frame.m_bSaveEnabled = TRUE;
    pBars->UpdateCommandBars();
    EXPECT_EQ(1, pSave->GetEnabled());
    Click(pToolBar, pSave);
    ASSERT_TRUE(PumpUntil([&] { return !frame.commands.empty(); }));
    EXPECT_EQ(ID_TEST_SAVE, frame.commands[0]);
}

TEST_F(BarTest, CommandsWithoutHandlerAreDisabledOnRequest)
{
    CQXPControl* pOther = pToolBar->GetControls()->Add(qxpControlButton, 40000);
    ::SendMessageA(pToolBar->GetSafeHwnd(), WM_IDLEUPDATECMDUI, FALSE, 0);
    EXPECT_EQ(1, pOther->GetEnabled());
    ::SendMessageA(pToolBar->GetSafeHwnd(), WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ(0, pOther->GetEnabled());
    EXPECT_EQ(1, pToolBar->GetControl(0)->GetEnabled());
}

TEST_F(BarTest, ACommandThatRemovesItsOwnBarIsSafe)
{
    int nBefore = pBars->GetCount();
    HWND hWndBar = pToolBar->GetSafeHwnd();
    frame.m_pRemoveOnExit = pToolBar;
    Click(pToolBar, pToolBar->GetControl(2));
    ASSERT_TRUE(PumpUntil([&] { return !frame.commands.empty(); }));
    PumpPending();
    EXPECT_EQ(ID_TEST_EXIT, frame.commands[0]);
    EXPECT_EQ(nBefore - 1, pBars->GetCount());
    EXPECT_FALSE(::IsWindow(hWndBar));
    EXPECT_EQ(nullptr, pBars->GetToolBar(0xE801));
    pToolBar = NULL;
}

TEST_F(BarTest, RemovingAToolbarGivesItsHostedWindowBackToTheFrame)
{
    HWND hEdit = ::CreateWindowExA(0, "EDIT", "find", WS_CHILD | WS_VISIBLE, 0, 0, 120, 20, frame.GetSafeHwnd(),
                                   NULL, NULL, NULL);
    ASSERT_NE((HWND)NULL, hEdit);
    CQXPControlCustom* pCustom = new CQXPControlCustom;
    pToolBar->GetControls()->AddControl(pCustom, 35100);
    pCustom->SetControl(hEdit);
    pBars->RecalcFrameLayout();
    EXPECT_EQ(pToolBar->GetSafeHwnd(), ::GetParent(hEdit));
    EXPECT_EQ(pCustom->GetRect().left, [&] {
        CRect rc;
        ::GetWindowRect(hEdit, &rc);
        ::MapWindowPoints(NULL, pToolBar->GetSafeHwnd(), (LPPOINT)&rc, 2);
        return (int)rc.left;
    }());

    pBars->Remove(pToolBar);
    pToolBar = NULL;
    ASSERT_TRUE(::IsWindow(hEdit)) << "the hosted window is not destroyed";
    EXPECT_EQ(frame.GetSafeHwnd(), ::GetParent(hEdit));
    EXPECT_FALSE(::IsWindowVisible(hEdit));
    ::DestroyWindow(hEdit);
}

TEST_F(BarTest, MenuTitleOpensItsPopupAndAnItemSendsItsCommand)
{
    CQXPControl* pFile = pMenuBar->GetControl(0);
    Click(pMenuBar, pFile);
    CQXPCommandBar* pPopup = pFile->GetCommandBar();
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindow(pPopup->GetSafeHwnd()) && ::IsWindowVisible(pPopup->GetSafeHwnd()); }));
    EXPECT_TRUE(pFile->GetPopuped());
    EXPECT_EQ(0, pMenuBar->GetPopupedIndex());

    // The popup opens below its title, inside the work area; the default
    // ("Windows 2000") theme leaves one pixel between them.
    CRect rcTitle = pFile->GetRect();
    ::MapWindowPoints(pMenuBar->GetSafeHwnd(), NULL, (LPPOINT)&rcTitle, 2);
    CRect rcPopup;
    ::GetWindowRect(pPopup->GetSafeHwnd(), &rcPopup);
    EXPECT_EQ(rcTitle.bottom + 1, rcPopup.top);
    EXPECT_EQ(rcTitle.left, rcPopup.left);
    EXPECT_GT(rcPopup.Height(), 3 * 10);

    // Items run their command on the release.
    CQXPControl* pSave = pPopup->GetControl(1);
    CPoint pt = pSave->GetRect().CenterPoint();
    ::PostMessageA(pPopup->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    ASSERT_TRUE(PumpUntil([&] { return !frame.commands.empty(); }));
    EXPECT_EQ(ID_TEST_SAVE, frame.commands[0]);
    EXPECT_FALSE(::IsWindowVisible(pPopup->GetSafeHwnd())) << "executing closes the menus";
    EXPECT_FALSE(pFile->GetPopuped());
    EXPECT_EQ(-1, pMenuBar->GetPopupedIndex());
    EXPECT_TRUE(pBars->IsCommandUsed(ID_TEST_SAVE));
}

// Closing all popups needs no manager object: the thread's mouse manager
// knows every bar that tracks, and each popup that leaves tracking clears
// its opener's open index and ends the opener's tracking.
TEST_F(BarTest, ClosePopupsWorksThroughTheMouseManagerAlone)
{
    CQXPControlPopup* pDrop = AddDropDown(qxpControlButtonPopup);
    ASSERT_NE(nullptr, pDrop);
    ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
    struct Case {
        const char* name;
        CQXPCommandBar* pOpener;
        CQXPControlPopup* pControl;
        BOOL bTracking; // the opener tracks as a menu does
    } cases[] = {
        {"menu bar in menu mode", pMenuBar, dynamic_cast<CQXPControlPopup*>(pMenuBar->GetControl(0)), TRUE},
        {"toolbar drop-down", pToolBar, pDrop, FALSE},
    };
    for (const Case& c : cases) {
        ASSERT_NE(nullptr, c.pControl) << c.name;
        if (c.bTracking) {
            ASSERT_TRUE(c.pOpener->SetTrackingMode(TRUE, FALSE, TRUE)) << c.name;
        }
        ASSERT_TRUE(c.pOpener->SetPopuped(c.pControl->GetIndex())) << c.name;
        CQXPCommandBar* pPopup = c.pControl->GetCommandBar();
        ASSERT_TRUE(::IsWindowVisible(pPopup->GetSafeHwnd())) << c.name;
        ASSERT_GT(pMouse->GetTrackedCount(), 0) << c.name;

        CQXPCommandBars::ClosePopups();
        EXPECT_EQ(0, pMouse->GetTrackedCount()) << c.name;
        EXPECT_FALSE(pPopup->IsTrackingMode()) << c.name;
        EXPECT_FALSE(::IsWindowVisible(pPopup->GetSafeHwnd())) << c.name;
        EXPECT_FALSE(c.pControl->GetPopuped()) << c.name;
        EXPECT_EQ(-1, c.pOpener->GetPopupedIndex()) << c.name;
        EXPECT_FALSE(c.pOpener->IsTrackingMode()) << c.name;
        PumpPending();
    }

    // A popup of no manager, in its own modal loop, ends with no command.
    CQXPPopupBar* pLoose = CQXPPopupBar::CreateForOwner(NULL);
    pLoose->GetControls()->Add(qxpControlButton, ID_TEST_SAVE)->SetCaption("Save");
    ASSERT_EQ(nullptr, pLoose->GetCommandBars());
    frame.PostMessage(WM_TEST_CLOSEPOPUPS);
    EXPECT_EQ(0, pLoose->TrackPopupReturnCmd(&frame, 100, 100));
    EXPECT_EQ(0, pMouse->GetTrackedCount());
    EXPECT_FALSE(::IsWindowVisible(pLoose->GetSafeHwnd()));
    EXPECT_TRUE(frame.commands.empty());
    pLoose->InternalRelease();
}

TEST_F(BarTest, PopupTrackedForAResultReturnsTheCommandAndSendsNothing)
{
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(NULL);
    CMenu menu;
    ASSERT_TRUE(menu.Attach(::LoadMenuA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_TEST_MENU))));
    CMenu sub;
    sub.Attach(::GetSubMenu(menu.GetSafeHmenu(), 0));
    ASSERT_TRUE(pPopup->LoadMenu(&sub));
    sub.Detach();

    frame.m_pPopupToClick = pPopup;
    frame.m_nPopupItemToClick = 2;
    frame.PostMessage(WM_TEST_CLICKPOPUP);
    int nResult = pPopup->TrackPopupReturnCmd(&frame, 100, 100);
    EXPECT_EQ((int)ID_TEST_EXIT, nResult);
    EXPECT_TRUE(frame.commands.empty()) << "a returned command is not sent";
    EXPECT_EQ(nullptr, pPopup->m_pReturnCmd) << "the result pointer ends with the tracking";
    EXPECT_FALSE(::IsWindowVisible(pPopup->GetSafeHwnd()));

    // Executed later (the caller's variable is gone), the item sends its
    // command instead of writing through a stale pointer.
    pPopup->GetControl(0)->OnExecute();
    PumpPending();
    ASSERT_EQ(1u, frame.commands.size());
    EXPECT_EQ(ID_TEST_OPEN, frame.commands[0]);

    // Escape ends the tracking with no command.
    frame.m_pPopupToClick = NULL;
    ::PostMessageA(frame.GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(0, pPopup->TrackPopupReturnCmd(&frame, 100, 100));
    EXPECT_EQ(nullptr, pPopup->m_pReturnCmd);

    frame.m_pPopupToClick = NULL;
    pPopup->InternalRelease();
    menu.DestroyMenu();
}

TEST_F(BarTest, HiddenToolbarGivesUpItsRowAndTellsTheSite)
{
    CRect rcDockBefore;
    ::GetWindowRect(pBars->GetDockBar(qxpBarTop)->GetSafeHwnd(), &rcDockBefore);
    pToolBar->SetVisible(FALSE);
    PumpPending();
    CRect rcDock, rcMenu;
    ::GetWindowRect(pBars->GetDockBar(qxpBarTop)->GetSafeHwnd(), &rcDock);
    ::GetWindowRect(pMenuBar->GetSafeHwnd(), &rcMenu);
    EXPECT_EQ(rcMenu.Height(), rcDock.Height());
    EXPECT_LT(rcDock.Height(), rcDockBefore.Height());
    pToolBar->SetVisible(TRUE);
    ::GetWindowRect(pBars->GetDockBar(qxpBarTop)->GetSafeHwnd(), &rcDock);
    EXPECT_EQ(rcDockBefore.Height(), rcDock.Height());
}

// Whether a bar shows, asked through the bar itself: a toolbar answers its
// own visibility (a temporary hide of its window leaves it visible), a
// popup whether its window is on screen, the plain bar never.
TEST_F(BarTest, EachKindOfBarAnswersIsVisibleItsOwnWay)
{
    CQXPCommandBar* pBar = pToolBar;
    EXPECT_TRUE(pBar->IsVisible());
    pToolBar->SetTemporarilyHidden(TRUE);
    EXPECT_FALSE(::IsWindowVisible(pToolBar->GetSafeHwnd()));
    EXPECT_TRUE(pBar->IsVisible()) << "hidden for a while, still a visible bar";
    pToolBar->SetTemporarilyHidden(FALSE);
    pToolBar->SetVisible(FALSE);
    EXPECT_FALSE(pBar->IsVisible());
    pToolBar->SetVisible(TRUE);
    EXPECT_TRUE(pBar->IsVisible());

    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    pPopup->GetControls()->Add(qxpControlButton, ID_TEST_OPEN)->SetCaption("Open");
    pBar = pPopup;
    EXPECT_FALSE(pBar->IsVisible()) << "no window yet";
    ASSERT_TRUE(pPopup->PopupAt(60, 60, NULL));
    EXPECT_TRUE(pBar->IsVisible());
    pPopup->SetTrackingMode(FALSE);
    EXPECT_FALSE(pBar->IsVisible()) << "closed";
    pPopup->InternalRelease();

    CQXPCommandBar* pPlain = new CQXPCommandBar;
    EXPECT_FALSE(pPlain->IsVisible());
    pPlain->InternalRelease();
    PumpPending();
}

// A delayed redraw waits for the bar's idle update; a popup, which has no
// idle time while it tracks, redraws at once (the redraw lock still holds
// it back until it is released).
TEST_F(BarTest, APopupRedrawsAtOnceWhereOtherBarsWaitForIdleTime)
{
    const HWND hBar = pToolBar->GetSafeHwnd();
    pToolBar->UpdateWindow();
    pToolBar->DelayRedraw();
    EXPECT_TRUE(pToolBar->GetPending() & qxpPendingRedraw);
    EXPECT_FALSE(::GetUpdateRect(hBar, NULL, FALSE)) << "waits";
    pToolBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(pToolBar->GetPending() & qxpPendingRedraw);
    EXPECT_TRUE(::GetUpdateRect(hBar, NULL, FALSE)) << "redrawn at idle time";
    pToolBar->UpdateWindow();

    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    pPopup->GetControls()->Add(qxpControlButton, ID_TEST_OPEN)->SetCaption("Open");
    ASSERT_TRUE(pPopup->PopupAt(60, 60, NULL));
    const HWND hPopup = pPopup->GetSafeHwnd();
    pPopup->UpdateWindow();
    ASSERT_FALSE(::GetUpdateRect(hPopup, NULL, FALSE));
    CQXPCommandBar* pBar = pPopup;
    pBar->DelayRedraw();
    EXPECT_FALSE(pPopup->GetPending() & qxpPendingRedraw);
    EXPECT_TRUE(::GetUpdateRect(hPopup, NULL, FALSE)) << "at once";
    pPopup->UpdateWindow();
    {
        CQXPBarRedrawLock lock(pPopup);
        pBar->DelayRedraw();
        EXPECT_TRUE(pPopup->GetPending() & qxpPendingRedraw);
        EXPECT_FALSE(::GetUpdateRect(hPopup, NULL, FALSE)) << "held back by the lock";
    }
    EXPECT_FALSE(pPopup->GetPending() & qxpPendingRedraw);
    EXPECT_TRUE(::GetUpdateRect(hPopup, NULL, FALSE)) << "done when the lock goes";
    pPopup->UpdateWindow();
    pPopup->SetTrackingMode(FALSE);
    pPopup->InternalRelease();
    PumpPending();
}

// A popup hidden for a while (as while its tear-off strip is dragged away)
// draws nothing meanwhile and, shown again, paints its present state, not
// the copy its paint cache held from before.
TEST_F(BarTest, APopupShownAgainPaintsItsPresentState)
{
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    CQXPControl* pOpen = pPopup->GetControls()->Add(qxpControlButton, ID_TEST_OPEN);
    pOpen->SetCaption("Open");
    pPopup->GetControls()->Add(qxpControlButton, ID_TEST_SAVE)->SetCaption("Save");
    pPopup->SetBuffered(TRUE);
    ASSERT_TRUE(pPopup->PopupAt(60, 60, NULL));
    pPopup->UpdateWindow();
    ASSERT_TRUE(pPopup->GetAnimationCache()->HasCache());
    const CRect rcOpen = pOpen->GetRect();
    const std::vector<COLORREF> before = qmtest::ScreenPictureOf(pPopup, rcOpen);
    ASSERT_EQ(qmtest::BarPictureOf(pPopup, rcOpen), before);

    pPopup->ShowWindow(SW_HIDE);
    EXPECT_FALSE(pPopup->IsVisible());
    pOpen->m_bChecked = TRUE;
    pPopup->Redraw(rcOpen);
    pPopup->DelayRedraw();
    EXPECT_FALSE(pPopup->GetAnimationCache()->HasCache()) << "the copy of before is dropped";
    const std::vector<COLORREF> now = qmtest::BarPictureOf(pPopup, rcOpen);
    ASSERT_NE(before, now) << "the check mark shows";

    pPopup->ShowWindow(SW_SHOWNA);
    pPopup->UpdateWindow();
    EXPECT_EQ(now, qmtest::ScreenPictureOf(pPopup, rcOpen));
    pPopup->SetTrackingMode(FALSE);
    pPopup->InternalRelease();
    PumpPending();
}

// Controls that change under a bar close its open popup and leave nothing
// selected, though the open control's index moved; the bar lays out again
// at idle time, a shown popup at once.
TEST_F(BarTest, ChangedControlsCloseTheOpenPopupAndClearTheSelection)
{
    CQXPControl* pFile = pMenuBar->GetControl(0);
    CQXPCommandBar* pFileMenu = pFile->GetCommandBar();
    ASSERT_NE(nullptr, pFileMenu);
    pMenuBar->SetTrackingMode(TRUE, FALSE, TRUE);
    ASSERT_TRUE(pMenuBar->SetPopuped(0));
    ASSERT_TRUE(::IsWindowVisible(pFileMenu->GetSafeHwnd()));
    ASSERT_EQ(0, pMenuBar->GetSelectedIndex());
    PumpPending();
    pMenuBar->m_nPending &= ~qxpPendingLayout;

    // A title inserted before the open one: File moves to index 1.
    CQXPControl* pFirst = pMenuBar->GetControls()->Add(qxpControlButton, ID_TEST_UNDO, CString(), 0);
    ASSERT_NE(nullptr, pFirst);
    EXPECT_EQ(1, pFile->GetIndex());
    EXPECT_EQ(-1, pMenuBar->GetPopupedIndex());
    EXPECT_EQ(-1, pMenuBar->GetSelectedIndex());
    EXPECT_FALSE(pFile->GetPopuped());
    EXPECT_FALSE(pFileMenu->IsTrackingMode());
    EXPECT_FALSE(::IsWindowVisible(pFileMenu->GetSafeHwnd()));
    EXPECT_EQ(qxpPendingLayout, pMenuBar->GetPending() & qxpPendingLayout) << "laid out at idle time";
    pMenuBar->SetTrackingMode(FALSE);
    pMenuBar->GetControls()->Remove(pFirst);

    // A shown popup that gets one more item grows at once.
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    pPopup->GetControls()->Add(qxpControlButton, ID_TEST_OPEN)->SetCaption("Open");
    ASSERT_TRUE(pPopup->PopupAt(60, 60, NULL));
    CRect rcBefore;
    ::GetWindowRect(pPopup->GetSafeHwnd(), &rcBefore);
    pPopup->GetControls()->Add(qxpControlButton, ID_TEST_SAVE);
    CRect rcAfter;
    ::GetWindowRect(pPopup->GetSafeHwnd(), &rcAfter);
    EXPECT_GT(rcAfter.Height(), rcBefore.Height());
    EXPECT_EQ(0, pPopup->GetPending() & qxpPendingLayout);
    pPopup->SetTrackingMode(FALSE);
    pPopup->DestroyWindow();
    pPopup->InternalRelease();
    PumpPending();
}

// A bar tracks with mode 2 while a popup of it is open. The hover timer
// over a plain control closes the open popup; a bar that tracked with the
// popup open (mode 2) then leaves menu mode, one whose mode was set back
// to 1 meanwhile, or a bar shown as a popup, keeps tracking.
TEST_F(BarTest, HoverClosingTheOpenPopupEndsTrackingOnlyFromModeTwo)
{
    CQXPControlPopup* pDrop = AddDropDown(qxpControlSplitButtonPopup);
    ASSERT_NE(nullptr, pDrop);
    CQXPCommandBar* pList = pDrop->GetCommandBar();
    CQXPControl* pOpen = pToolBar->GetControl(0);
    ASSERT_EQ((int)ID_TEST_OPEN, pOpen->GetID());

    const struct {
        const char* name;
        BOOL bBackToModeOne;
        int nPosition;
        int nTrackingAfter;
    } cases[] = {
        {"tracking for the popup", FALSE, qxpBarTop, 0},
        {"tracking set back to mode 1", TRUE, qxpBarTop, 1},
        {"a bar shown as a popup", FALSE, qxpBarPopup, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        pToolBar->SetBarPosition(c.nPosition);
        ASSERT_TRUE(pToolBar->SetPopuped(pDrop->GetIndex()));
        ASSERT_TRUE(::IsWindowVisible(pList->GetSafeHwnd()));
        EXPECT_EQ(2, pToolBar->IsTrackingMode());
        if (c.bBackToModeOne) {
            EXPECT_FALSE(pToolBar->SetTrackingMode(TRUE)) << "already tracking: only the mode is stored";
            EXPECT_EQ(1, pToolBar->IsTrackingMode());
        }
        pOpen->OnMouseHover();
        EXPECT_EQ(-1, pToolBar->GetPopupedIndex());
        EXPECT_FALSE(::IsWindowVisible(pList->GetSafeHwnd()));
        EXPECT_EQ(c.nTrackingAfter, pToolBar->IsTrackingMode());
        pToolBar->SetTrackingMode(FALSE);
        pToolBar->SetBarPosition(qxpBarTop);
    }
    // A list that does not open (the split button's drop-down half is
    // disabled) leaves the mode as it was.
    pToolBar->SetTrackingMode(TRUE, FALSE, TRUE);
    pDrop->SetEnabled(3);
    EXPECT_FALSE(pToolBar->SetPopuped(pDrop->GetIndex()));
    EXPECT_EQ(1, pToolBar->IsTrackingMode());
    EXPECT_EQ(-1, pToolBar->GetPopupedIndex());
    pToolBar->SetTrackingMode(FALSE);
    pDrop->SetEnabled(TRUE);
    PumpPending();
}

TEST_F(BarTest, ToolbarDockedLeftLaysOutInAColumn)
{
    CQXPToolBar* pLeft = pBars->Add("Left", qxpBarLeft);
    ASSERT_NE(nullptr, pLeft);
    const UINT ids[] = {ID_TEST_OPEN, ID_TEST_SAVE, 0, ID_TEST_EXIT};
    pLeft->SetButtons(ids, 4);
    pBars->RecalcFrameLayout();
    CRect rcLeft;
    ::GetWindowRect(pLeft->GetSafeHwnd(), &rcLeft);
    EXPECT_GT(rcLeft.Height(), rcLeft.Width());
    EXPECT_EQ(qxpBarLeft, pLeft->GetPosition());
    CRect rc0 = pLeft->GetControl(0)->GetRect();
    CRect rc1 = pLeft->GetControl(1)->GetRect();
    EXPECT_EQ(rc0.left, rc1.left);
    EXPECT_EQ(rc0.bottom, rc1.top);
    EXPECT_NE(pLeft->GetBarID(), pToolBar->GetBarID()) << "bar ids are unique";

    // Icon sizes and text below icons fall back to the manager.
    CSize sz;
    pLeft->GetButtonSize(&sz, TRUE);
    EXPECT_EQ(CSize(32, 32), sz);
    pBars->GetOptions()->m_szLargeIcons = CSize(24, 24);
    pLeft->GetButtonSize(&sz, TRUE);
    EXPECT_EQ(CSize(24, 24), sz);
    pLeft->GetButtonSize(&sz, FALSE);
    EXPECT_EQ(CSize(16, 16), sz);
    EXPECT_FALSE(pLeft->IsTextBelowIcons());
    pBars->GetOptions()->m_bShowTextBelowIcons = TRUE;
    EXPECT_TRUE(pLeft->IsTextBelowIcons());
    pLeft->SetShowTextBelowIcons(0);
    EXPECT_FALSE(pLeft->IsTextBelowIcons());
}

// ---------------------------------------------------------------------------
// The mouse manager

TEST_F(BarTest, ClickOutsideAnOpenMenuClosesIt)
{
    ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
    CQXPControl* pFile = pMenuBar->GetControl(0);
    CQXPCommandBar* pPopup = pFile->GetCommandBar();
    Click(pMenuBar, pFile);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(pPopup->GetSafeHwnd()); }));
    // The menu bar tracks with the menu it opened.
    ASSERT_EQ(2, pMouse->GetTrackedCount());
    EXPECT_EQ(pMenuBar, pMouse->GetTrackedBar(0));
    EXPECT_EQ(pPopup, pMouse->GetTrackedBar(1));

    CRect rcPopup;
    ::GetWindowRect(pPopup->GetSafeHwnd(), &rcPopup);
    // A click over the popup itself, or inside an excluded window, keeps it.
    pMouse->OnMouseHook(WM_LBUTTONDOWN, rcPopup.CenterPoint());
    EXPECT_EQ(2, pMouse->GetTrackedCount());
    CRect rcTool;
    ::GetWindowRect(pToolBar->GetSafeHwnd(), &rcTool);
    pMouse->AddExcludedWindow(pToolBar->GetSafeHwnd());
    pMouse->OnMouseHook(WM_LBUTTONDOWN, CPoint(rcTool.right - 2, rcTool.top + 2));
    EXPECT_EQ(2, pMouse->GetTrackedCount());
    pMouse->RemoveExcludedWindow(pToolBar->GetSafeHwnd());

    // A click anywhere else closes the menu.
    CRect rcFrame;
    frame.GetWindowRect(&rcFrame);
    pMouse->OnMouseHook(WM_NCLBUTTONDOWN, CPoint(rcFrame.right - 40, rcFrame.top + 5));
    EXPECT_EQ(0, pMouse->GetTrackedCount());
    EXPECT_FALSE(::IsWindowVisible(pPopup->GetSafeHwnd()));
    EXPECT_FALSE(pFile->GetPopuped());
    EXPECT_EQ(-1, pMenuBar->GetPopupedIndex());
    EXPECT_FALSE(pMenuBar->IsTrackingMode());
    EXPECT_TRUE(frame.commands.empty());
}

TEST_F(BarTest, RealClickOutsideReachesTheHookAndTheWindow)
{
    ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
    CQXPControl* pFile = pMenuBar->GetControl(0);
    CQXPCommandBar* pPopup = pFile->GetCommandBar();
    Click(pMenuBar, pFile);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(pPopup->GetSafeHwnd()); }));
    PumpPending();

    // Press and release over the frame's client area, below the bars and
    // away from the popup.
    CRect rcClient;
    frame.GetClientRect(&rcClient);
    CPoint pt(rcClient.right - 20, rcClient.bottom - 20);
    frame.ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(2u, ::SendInput(2, inputs, sizeof(INPUT)));
    EXPECT_TRUE(PumpUntil([&] { return pMouse->GetTrackedCount() == 0; }));
    EXPECT_FALSE(::IsWindowVisible(pPopup->GetSafeHwnd()));
}

class CLeaveProbe : public CWnd {
public:
    int m_nLeaves = 0;
    void PostNcDestroy() override {}

protected:
    afx_msg void OnMouseLeave() { m_nLeaves++; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLeaveProbe, CWnd)
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

TEST_F(BarTest, MouseLeaveEmulationReachesTheWatchedWindow)
{
    // The probes know nothing of the leave timer: the check must run
    // anyway and the message must reach the probe.
    CLeaveProbe a, b;
    ASSERT_TRUE(a.CreateEx(0, AfxRegisterWndClass(0), "a", WS_CHILD | WS_VISIBLE, 300, 200, 50, 50,
                           frame.GetSafeHwnd(), NULL));
    ASSERT_TRUE(b.CreateEx(0, AfxRegisterWndClass(0), "b", WS_CHILD | WS_VISIBLE, 400, 200, 50, 50,
                           frame.GetSafeHwnd(), NULL));
    ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
    CPoint ptIn(25, 25);
    a.ClientToScreen(&ptIn);
    ::SetCursorPos(ptIn.x, ptIn.y);
    pMouse->TrackMouseLeave(a.GetSafeHwnd());
    PumpUntil([&] { return a.m_nLeaves > 0; }, 300);
    EXPECT_EQ(0, a.m_nLeaves) << "the cursor is still inside";
    EXPECT_EQ(a.GetSafeHwnd(), pMouse->GetMouseLeaveWindow());

    // Watching another window tells the first one at once.
    pMouse->TrackMouseLeave(b.GetSafeHwnd());
    EXPECT_EQ(1, a.m_nLeaves);

    // The cursor leaves b: b hears of it on the next tick.
    CPoint ptOut(5, 5);
    frame.ClientToScreen(&ptOut);
    ::SetCursorPos(ptOut.x, ptOut.y);
    ASSERT_TRUE(PumpUntil([&] { return b.m_nLeaves > 0; }, 2000));
    EXPECT_EQ(1, b.m_nLeaves);
    EXPECT_EQ((HWND)NULL, pMouse->GetMouseLeaveWindow());
    EXPECT_EQ(1, a.m_nLeaves);
    a.DestroyWindow();
    b.DestroyWindow();
}

// ---------------------------------------------------------------------------
// The window list

TEST(ListControls, FormatItemTextTable)
{
    struct Case {
        const char* text;
        int n;
        const char* out;
    } cases[] = {{"a.txt", 0, "a.txt"}, {"a.txt", 1, "&1 a.txt"}, {"R&D", 9, "&9 R&&D"}, {"x", 10, "1&0 x"}, {"x", 11, "11 x"}};
    for (const Case& c : cases)
        EXPECT_EQ(std::string(c.out), std::string(QxpFormatItemText(c.text, c.n))) << c.text << " " << c.n;
}

TEST_F(BarTest, WindowListRebuildsItsEntriesAndKeepsRealMenuItems)
{
    CLIENTCREATESTRUCT ccs = {NULL, 0xFF00};
    CRect rcClient;
    frame.GetClientRect(&rcClient);
    HWND hClient = ::CreateWindowExA(0, "MDICLIENT", NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 80, 400, 200,
                                     frame.GetSafeHwnd(), (HMENU)(UINT_PTR)0xE900, NULL, &ccs);
    ASSERT_NE((HWND)NULL, hClient);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefMDIChildProcA;
    wc.hInstance = ::GetModuleHandleA(NULL);
    wc.lpszClassName = "QxCbTestMdiChild";
    ::RegisterClassA(&wc);
    const char* const titles[] = {"Doc&1", "Notes", "Hidden", "Last"};
    HWND hChildren[4];
    for (int i = 0; i < 4; i++) {
        MDICREATESTRUCTA mcs = {};
        mcs.szClass = "QxCbTestMdiChild";
        mcs.szTitle = titles[i];
        mcs.hOwner = ::GetModuleHandleA(NULL);
        mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
        mcs.style = i == 2 ? 0 : WS_VISIBLE;
        hChildren[i] = (HWND)::SendMessageA(hClient, WM_MDICREATE, 0, (LPARAM)&mcs);
        ASSERT_NE((HWND)NULL, hChildren[i]);
    }
    ::ShowWindow(hChildren[2], SW_HIDE);
    ::SendMessageA(hClient, WM_MDIACTIVATE, (WPARAM)hChildren[1], 0);

    // A menu: the placeholder, then a real item whose id lies in the range
    // of the window ids.
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    pPopup->SetOwnerSite(&frame);
    CQXPControls* pControls = pPopup->GetControls();
    CQXPControl* pList = pControls->Add(qxpControlButton, QXP_ID_WINDOWLIST);
    ASSERT_NE(nullptr, dynamic_cast<CQXPControlWindowList*>(pList));
    CQXPControl* pReal = pControls->Add(qxpControlButton, 0xFF10);
    pReal->SetCaption("More windows");

    for (int nRun = 0; nRun < 2; nRun++) {
        pPopup->CalcDynamicLayout(0, 0);
        ASSERT_EQ(5, pControls->GetCount()) << "run " << nRun;
        EXPECT_FALSE(pList->IsVisible());
        std::vector<std::string> captions;
        for (int i = 1; i <= 3; i++) {
            CQXPControl* pItem = pControls->GetAt(i);
            EXPECT_TRUE(pItem->IsTemporary());
            captions.push_back(std::string(pItem->GetCaption()));
            EXPECT_EQ(pItem->GetID() == ::GetDlgCtrlID(hChildren[1]) ? 1 : 0, pItem->GetChecked());
        }
        EXPECT_EQ((std::vector<std::string>{"&1 Doc&&1", "&2 Notes", "&3 Last"}), captions);
        EXPECT_TRUE(pControls->GetAt(1)->GetBeginGroup());
        EXPECT_EQ(pReal, pControls->GetAt(4)) << "the real item survives every rebuild";
    }
    // Closing a child shortens the list at the next layout.
    ::SendMessageA(hClient, WM_MDIDESTROY, (WPARAM)hChildren[3], 0);
    pPopup->CalcDynamicLayout(0, 0);
    EXPECT_EQ(4, pControls->GetCount());
    EXPECT_EQ(pReal, pControls->GetAt(3));
    pPopup->InternalRelease();
    ::DestroyWindow(hClient);
}

// ---------------------------------------------------------------------------
// Context menus

TEST_F(BarTest, TrackPopupMenuFromTheKeyboard)
{
    CMenu menu;
    ASSERT_TRUE(menu.Attach(::LoadMenuA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_TEST_MENU))));
    CMenu sub;
    sub.Attach(::GetSubMenu(menu.GetSafeHmenu(), 0));

    // Down, down, Enter: the second item, returned and not sent.
    for (UINT key : {VK_DOWN, VK_DOWN, VK_RETURN})
        frame.PostMessage(WM_KEYDOWN, key, 0);
    EXPECT_EQ((int)ID_TEST_SAVE, pBars->TrackPopupMenu(&sub, TPM_RETURNCMD, 200, 200));
    EXPECT_TRUE(frame.commands.empty());

    // Up from nothing wraps to the last item; without TPM_RETURNCMD the
    // command is sent.
    for (UINT key : {VK_UP, VK_RETURN})
        frame.PostMessage(WM_KEYDOWN, key, 0);
    EXPECT_EQ(TRUE, pBars->TrackPopupMenu(&sub, 0, 200, 200));
    PumpPending();
    ASSERT_EQ(1u, frame.commands.size());
    EXPECT_EQ(ID_TEST_EXIT, frame.commands[0]);

    // Escape: nothing chosen, nothing tracked afterwards.
    frame.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(0, pBars->TrackPopupMenu(&sub, TPM_RETURNCMD, 200, 200));
    EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackedCount());
    sub.Detach();
    menu.DestroyMenu();
}

TEST_F(BarTest, OpenMenuFollowsTheMouseAcrossTitlesAndASecondClickClosesIt)
{
    ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
    CQXPControl* pFile = pMenuBar->GetControl(0);
    CQXPControl* pEdit = pMenuBar->GetControl(1);
    Click(pMenuBar, pFile);
    ASSERT_TRUE(PumpUntil([&] { return pFile->GetPopuped() != FALSE; }));
    EXPECT_TRUE(pMenuBar->IsTrackingMode());

    CPoint ptEdit = pEdit->GetRect().CenterPoint();
    ::PostMessageA(pMenuBar->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(ptEdit.x, ptEdit.y));
    ASSERT_TRUE(PumpUntil([&] { return pEdit->GetPopuped() != FALSE; }));
    EXPECT_FALSE(pFile->GetPopuped());
    EXPECT_FALSE(::IsWindowVisible(pFile->GetCommandBar()->GetSafeHwnd()));
    EXPECT_TRUE(::IsWindowVisible(pEdit->GetCommandBar()->GetSafeHwnd()));
    EXPECT_EQ(1, pMenuBar->GetPopupedIndex());

    // A press on the menu bar is not a click outside the menu.
    CPoint ptScreen = ptEdit;
    ::ClientToScreen(pMenuBar->GetSafeHwnd(), &ptScreen);
    pMouse->OnMouseHook(WM_LBUTTONDOWN, ptScreen);
    EXPECT_TRUE(pEdit->GetPopuped());
    // The press reaches the title, which closes its menu.
    Click(pMenuBar, pEdit);
    ASSERT_TRUE(PumpUntil([&] { return !pEdit->GetPopuped(); }));
    PumpPending();
    EXPECT_EQ(-1, pMenuBar->GetPopupedIndex());
    EXPECT_FALSE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(0, pMouse->GetTrackedCount());
}

// ---------------------------------------------------------------------------
// Keyboard menu mode

TEST_F(BarTest, AltAloneEntersMenuModeAndArrowsWalkTheMenus)
{
    CQXPControl* pFile = pMenuBar->GetControl(0);
    CQXPControl* pEdit = pMenuBar->GetControl(1);
    frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
    ASSERT_TRUE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(0, pMenuBar->GetSelectedIndex());
    EXPECT_EQ(2, pFile->GetSelected()) << "selected from the keyboard";

    EXPECT_EQ(1, pMenuBar->ProcessHookKeyDown(VK_RIGHT));
    EXPECT_EQ(1, pMenuBar->GetSelectedIndex());
    EXPECT_EQ(1, pMenuBar->ProcessHookKeyDown(VK_RIGHT));
    EXPECT_EQ(0, pMenuBar->GetSelectedIndex()) << "wraps around";
    pMenuBar->ProcessHookKeyDown(VK_LEFT);
    EXPECT_EQ(1, pMenuBar->GetSelectedIndex());

    // Down opens the menu with its first item selected; Esc in the menu
    // goes back to the title.
    pMenuBar->ProcessHookKeyDown(VK_DOWN);
    ASSERT_TRUE(pEdit->GetPopuped());
    CQXPCommandBar* pEditMenu = pEdit->GetCommandBar();
    EXPECT_EQ(0, pEditMenu->GetSelectedIndex());
    EXPECT_EQ(1, pEditMenu->ProcessHookKeyDown(VK_ESCAPE));
    EXPECT_FALSE(pEdit->GetPopuped());
    EXPECT_TRUE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(1, pMenuBar->GetSelectedIndex());

    // Left then Enter opens File; Down and Enter run Save.
    pMenuBar->ProcessHookKeyDown(VK_LEFT);
    pMenuBar->ProcessHookKeyDown(VK_RETURN);
    ASSERT_TRUE(pFile->GetPopuped());
    CQXPCommandBar* pFileMenu = pFile->GetCommandBar();
    // In an open menu, Right moves the menu bar to the next menu.
    EXPECT_EQ(0, pFileMenu->ProcessHookKeyDown(VK_RIGHT)) << "the menu lets the menu bar have it";
    pFileMenu->ProcessHookKeyDown(VK_DOWN);
    EXPECT_EQ(1, pFileMenu->GetSelectedIndex());
    pFileMenu->ProcessHookKeyDown(VK_RETURN);
    PumpPending();
    ASSERT_EQ(1u, frame.commands.size());
    EXPECT_EQ(ID_TEST_SAVE, frame.commands[0]);
    EXPECT_FALSE(pFile->GetPopuped());
    EXPECT_FALSE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackedCount());
}

TEST_F(BarTest, AltLetterOpensTheMenuOfThatMnemonicAndEscLeaves)
{
    CQXPControl* pEdit = pMenuBar->GetControl(1);
    frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 'e');
    ASSERT_TRUE(pEdit->GetPopuped());
    EXPECT_TRUE(pMenuBar->IsTrackingMode());
    // A letter inside the menu runs the item of that mnemonic.
    CQXPCommandBar* pEditMenu = pEdit->GetCommandBar();
    EXPECT_EQ(1, pEditMenu->ProcessHookKeyDown('U'));
    PumpPending();
    ASSERT_EQ(1u, frame.commands.size());
    EXPECT_EQ(ID_TEST_UNDO, frame.commands[0]);

    frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
    ASSERT_TRUE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(1, pMenuBar->ProcessHookKeyDown(VK_ESCAPE));
    EXPECT_FALSE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(-1, pMenuBar->GetSelectedIndex());
}

TEST_F(BarTest, RealKeysReachTheNewestTrackingBarThroughTheKeyboardHook)
{
    ::SetForegroundWindow(frame.GetSafeHwnd());
    ::SetActiveWindow(frame.GetSafeHwnd());
    ::SetFocus(frame.GetSafeHwnd());
    PumpPending();
    auto press = [](WORD vk) {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wVk = in[1].ki.wVk = vk;
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, in, sizeof(INPUT));
    };
    CQXPControl* pFile = pMenuBar->GetControl(0);
    CQXPControl* pEdit = pMenuBar->GetControl(1);
    frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
    ASSERT_TRUE(pMenuBar->IsTrackingMode());
    press(VK_DOWN);
    ASSERT_TRUE(PumpUntil([&] { return pFile->GetPopuped() != FALSE; }));
    // Right in the open File menu is passed to the menu bar: Edit opens.
    press(VK_RIGHT);
    ASSERT_TRUE(PumpUntil([&] { return pEdit->GetPopuped() != FALSE; }));
    EXPECT_FALSE(pFile->GetPopuped());
    press(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return !frame.commands.empty(); }));
    EXPECT_EQ(ID_TEST_UNDO, frame.commands[0]);
    EXPECT_FALSE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(0, CKeyboardHook::Instance()->GetCount()) << "no bar listens any more";
}

TEST_F(BarTest, RestingOnASubmenuItemOpensItBesideTheMenu)
{
    CQXPControl* pEdit = pMenuBar->GetControl(1);
    Click(pMenuBar, pEdit);
    CQXPCommandBar* pEditMenu = pEdit->GetCommandBar();
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(pEditMenu->GetSafeHwnd()) != FALSE; }));
    ASSERT_EQ(2, pEditMenu->GetControlCount());
    CQXPControl* pEncoding = pEditMenu->GetControl(1);
    ASSERT_EQ(qxpControlPopup, pEncoding->GetType());
    CQXPCommandBar* pSub = pEncoding->GetCommandBar();
    ASSERT_NE(nullptr, pSub);

    CPoint pt = pEncoding->GetRect().CenterPoint();
    ::PostMessageA(pEditMenu->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindow(pSub->GetSafeHwnd()) && ::IsWindowVisible(pSub->GetSafeHwnd()); }));
    EXPECT_TRUE(pEdit->GetPopuped()) << "the parent menu stays open";
    CRect rcItem = pEncoding->GetRect();
    ::MapWindowPoints(pEditMenu->GetSafeHwnd(), NULL, (LPPOINT)&rcItem, 2);
    CRect rcSub;
    ::GetWindowRect(pSub->GetSafeHwnd(), &rcSub);
    EXPECT_EQ(rcItem.top, rcSub.top);
    // Beside its item, overlapping the menu's one-pixel edge as the
    // default theme has it.
    EXPECT_TRUE(rcSub.left == rcItem.right - 1 || rcSub.right == rcItem.left + 1) << "beside its item";
    EXPECT_EQ(3, ToolkitMouseManager::GetInstance()->GetTrackedCount());

    // Resting on a plain item closes the submenu again.
    CPoint ptUndo = pEditMenu->GetControl(0)->GetRect().CenterPoint();
    ::PostMessageA(pEditMenu->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(ptUndo.x, ptUndo.y));
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(pSub->GetSafeHwnd()); }));
    EXPECT_TRUE(::IsWindowVisible(pEditMenu->GetSafeHwnd()));

    // Back on the submenu item, then a click in the submenu runs the command
    // and closes every menu.
    ::PostMessageA(pEditMenu->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(pSub->GetSafeHwnd()) != FALSE; }));
    CPoint ptUtf8 = pSub->GetControl(1)->GetRect().CenterPoint();
    ::PostMessageA(pSub->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(ptUtf8.x, ptUtf8.y));
    ASSERT_TRUE(PumpUntil([&] { return !frame.commands.empty(); }));
    EXPECT_EQ(ID_TEST_UTF8, frame.commands[0]);
    PumpPending();
    EXPECT_FALSE(::IsWindowVisible(pSub->GetSafeHwnd()));
    EXPECT_FALSE(::IsWindowVisible(pEditMenu->GetSafeHwnd()));
    EXPECT_FALSE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackedCount());
}

} // namespace

namespace {

TEST_F(BarTest, EscapeWalksBackFromASubmenuOneLevelAtATime)
{
    ::SetForegroundWindow(frame.GetSafeHwnd());
    ::SetActiveWindow(frame.GetSafeHwnd());
    ::SetFocus(frame.GetSafeHwnd());
    PumpPending();
    auto press = [](WORD vk) {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wVk = in[1].ki.wVk = vk;
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, in, sizeof(INPUT));
    };
    CQXPControl* pEdit = pMenuBar->GetControl(1);
    Click(pMenuBar, pEdit);
    CQXPCommandBar* pEditMenu = pEdit->GetCommandBar();
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(pEditMenu->GetSafeHwnd()) != FALSE; }));
    CQXPControl* pEncoding = pEditMenu->GetControl(1);
    CQXPCommandBar* pSub = pEncoding->GetCommandBar();
    CPoint pt = pEncoding->GetRect().CenterPoint();
    ::PostMessageA(pEditMenu->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindow(pSub->GetSafeHwnd()) && ::IsWindowVisible(pSub->GetSafeHwnd()); }));

    // The first Esc closes the submenu only.
    press(VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(pSub->GetSafeHwnd()); }));
    PumpPending();
    EXPECT_TRUE(::IsWindowVisible(pEditMenu->GetSafeHwnd()));
    EXPECT_TRUE(pEdit->GetPopuped());
    // The next closes the Edit menu; the bar stays in menu mode on Edit.
    press(VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(pEditMenu->GetSafeHwnd()); }));
    PumpPending();
    EXPECT_TRUE(frame.commands.empty()) << "Esc runs no command";
    ASSERT_TRUE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(1, pMenuBar->GetSelectedIndex());
    // The last leaves menu mode.
    press(VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return !pMenuBar->IsTrackingMode(); }));
    EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackedCount());
}

} // namespace

// ---------------------------------------------------------------------------
// Status line, tooltips, the right button, hot tracking and bar lifetime

namespace {

// The frame in front, so that its bars count as active.
void Activate(CWnd* pFrame)
{
    ::SetForegroundWindow(pFrame->GetSafeHwnd());
    ::SetActiveWindow(pFrame->GetSafeHwnd());
    ::SetFocus(pFrame->GetSafeHwnd());
    PumpPending();
}

void PressKey(WORD vk)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
}

void MoveOver(CQXPCommandBar* pBar, CQXPControl* pControl)
{
    CPoint pt = pControl->GetRect().CenterPoint();
    CPoint ptScreen = pt;
    ::ClientToScreen(pBar->GetSafeHwnd(), &ptScreen);
    ::SetCursorPos(ptScreen.x, ptScreen.y);
    ::PostMessageA(pBar->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
}

TEST_F(BarTest, HotItemDescriptionGoesToTheStatusLineAndTheIdleTextComesBack)
{
    CQXPControl* pFile = pMenuBar->GetControl(0);
    CQXPCommandBar* pPopup = pFile->GetCommandBar();
    Click(pMenuBar, pFile);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(pPopup->GetSafeHwnd()) != FALSE; }));
    PumpPending();

    // Each hot item puts its prompt on the status line and its help id
    // where F1 finds it.
    struct Case {
        int nItem;
        const char* text;
        UINT nHelpId;
    } cases[] = {{0, "Opens an existing document", ID_TEST_OPEN},
                 {1, "Saves the document", ID_TEST_SAVE},
                 {2, "Quits the program", ID_TEST_EXIT}};
    for (const Case& c : cases) {
        frame.statusTexts.clear();
        MoveOver(pPopup, pPopup->GetControl(c.nItem));
        ASSERT_TRUE(PumpUntil([&] { return pPopup->GetSelectedIndex() == c.nItem; })) << c.text;
        ASSERT_FALSE(frame.statusTexts.empty()) << c.text;
        EXPECT_EQ(std::string(c.text), frame.statusTexts.back());
        EXPECT_EQ((int)c.nHelpId, pPopup->GetHotHelpId());
    }

    // Closing the menu brings the idle text back and forgets the help id.
    frame.statusTexts.clear();
    pBars->ClosePopups();
    PumpPending();
    ASSERT_FALSE(frame.statusTexts.empty());
    EXPECT_EQ(std::string("<idle>"), frame.statusTexts.back());
    EXPECT_EQ(0, pPopup->GetHotHelpId());
}

using qmtest::ShownBarTip;
using qmtest::ShownBarTipText;

// The window classes of the toolkit's own tooltip window (style 2): with
// the system's drop shadow, or plain where there is none.
bool IsToolkitTipClass(HWND hWnd)
{
    char szClass[64] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    return std::string(szClass) == "QXPToolTipShadow" || std::string(szClass) == "QXPToolTip";
}

TEST_F(BarTest, HoveringAToolbarButtonShowsItsTooltip)
{
    ACCEL accel = {FVIRTKEY | FCONTROL, 'O', ID_TEST_OPEN};
    pBars->GetKeyboardShortcuts()->SetAcceleratorTable(&accel, 1);
    struct Case {
        BOOL bScreenTips;
        BOOL bAccelTips;
        const char* expected; // NULL: no tip
    } cases[] = {{TRUE, FALSE, "Open"}, {TRUE, TRUE, "Open (Ctrl+O)"}, {FALSE, TRUE, NULL}};
    CQXPControl* pOpen = pToolBar->GetControl(0);
    ASSERT_NE(nullptr, pToolBar->GetToolTipContext()) << "a bar of a manager shows its tips through the manager";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected ? c.expected : "tips off");
        pBars->GetOptions()->m_bToolBarScreenTips = c.bScreenTips;
        pBars->GetOptions()->m_bToolBarAccelTips = c.bAccelTips;
        pToolBar->GetToolTipContext()->DestroyToolTip();
        Activate(&frame);
        MoveOver(pToolBar, pOpen);
        if (!c.expected) {
            PumpUntil([&] { return ShownBarTip(pToolBar) != NULL; }, 1500);
            EXPECT_EQ((HWND)NULL, ShownBarTip(pToolBar));
            continue;
        }
        ASSERT_TRUE(PumpUntil([&] { return ShownBarTip(pToolBar) != NULL; }, 4000)) << "no tooltip window appeared";
        HWND hTip = ShownBarTip(pToolBar);
        // The manager's tooltip window: the toolkit's own, owned by the frame.
        EXPECT_TRUE(IsToolkitTipClass(hTip));
        EXPECT_EQ(frame.GetSafeHwnd(), ::GetWindow(hTip, GW_OWNER));
        EXPECT_EQ(std::string(c.expected), ShownBarTipText(pToolBar));
    }
    // Away from the buttons the tip goes.
    CPoint ptAway(5, 300);
    ::PostMessageA(frame.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(ptAway.x, ptAway.y));
    pToolBar->GetToolTipContext()->DestroyToolTip();
}

// The screen point at the centre of a control.
CPoint ScreenCenterOf(CQXPCommandBar* pBar, CQXPControl* pControl)
{
    CPoint pt = pControl->GetRect().CenterPoint();
    ::ClientToScreen(pBar->GetSafeHwnd(), &pt);
    return pt;
}

// The toolkit tooltip windows of this thread (shown or not).
std::vector<HWND> ThreadTipWindows()
{
    std::vector<HWND> tips;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            if (IsToolkitTipClass(hWnd))
                ((std::vector<HWND>*)lParam)->push_back(hWnd);
            return TRUE;
        },
        (LPARAM)&tips);
    return tips;
}

// Every bar of a manager shows its tips in the one window of the manager's
// tooltip context: the real pointer resting on a button of one toolbar and
// then of another brings up the same window with the other text.
TEST_F(BarTest, TwoToolbarsShowTheirTipsInTheManagersOneWindow)
{
    CQXPToolBar* pSecond = pBars->Add("Second", qxpBarTop);
    ASSERT_NE(nullptr, pSecond);
    const UINT ids[] = {ID_TEST_SAVE, ID_TEST_EXIT};
    ASSERT_TRUE(pSecond->SetButtons(ids, 2));
    pBars->RecalcFrameLayout();
    PumpPending();

    CQXPToolTipContext* pContext = pBars->GetToolTipContext();
    ASSERT_NE(nullptr, pContext);
    EXPECT_EQ(2, pContext->GetStyle()) << "the toolkit's own tooltip window";
    for (CQXPCommandBar* pBar : {(CQXPCommandBar*)pMenuBar, (CQXPCommandBar*)pToolBar, (CQXPCommandBar*)pSecond})
        EXPECT_EQ(pContext, pBar->GetToolTipContext()) << pBar->GetTitle();

    pBars->GetOptions()->m_bToolBarScreenTips = TRUE;
    pBars->GetOptions()->m_bToolBarAccelTips = FALSE;
    Activate(&frame);
    struct Step {
        CQXPCommandBar* pBar;
        int nId;
        const char* text;
    } steps[] = {{pToolBar, ID_TEST_OPEN, "Open"}, {pSecond, ID_TEST_SAVE, "Save"}, {pToolBar, ID_TEST_OPEN, "Open"}};
    HWND hFirst = NULL;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.text);
        CQXPControl* pButton = step.pBar->GetControls()->FindControl(step.nId);
        ASSERT_NE(nullptr, pButton);
        // Off the buttons first, then resting on this one.
        qmtest::MouseEventAt(CPoint(ScreenCenterOf(step.pBar, pButton).x, 380), MOUSEEVENTF_MOVE);
        PumpUntil([&] { return ShownBarTip(step.pBar) == NULL; }, 1500);
        qmtest::MouseEventAt(ScreenCenterOf(step.pBar, pButton), MOUSEEVENTF_MOVE);
        ASSERT_TRUE(PumpUntil([&] { return ShownBarTipText(step.pBar) == step.text; }, 5000))
            << "shown: \"" << ShownBarTipText(step.pBar) << "\"";
        HWND hTip = ShownBarTip(step.pBar);
        ASSERT_NE((HWND)NULL, hTip);
        if (!hFirst)
            hFirst = hTip;
        EXPECT_EQ(hFirst, hTip) << "one window for all bars";
        EXPECT_EQ(frame.GetSafeHwnd(), ::GetWindow(hTip, GW_OWNER));
        EXPECT_EQ(std::vector<HWND>{hTip}, ThreadTipWindows()) << "no tooltip window of a bar's own";
    }
    qmtest::ParkPointer();
    PumpPending();
}

// A bar without a manager has no tooltip context: a toolbar shows the
// framework's tooltips of its own window, a popup none.
TEST(BarWithoutManager, ShowsTheTooltipsOfItsOwnWindowUnlessItIsAPopup)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "Host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, NULL, NULL));
    CQXPToolBar* pBar = new CQXPToolBar;
    ASSERT_TRUE(pBar->CreateToolBar(WS_CHILD | WS_VISIBLE, &host, AFX_IDW_TOOLBAR)) << "made without CBRS_TOOLTIPS";
    EXPECT_EQ(nullptr, pBar->GetToolTipContext());
    EXPECT_NE(0u, pBar->m_nFlags & WF_TOOLTIPS);

    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(NULL);
    const UINT ids[] = {ID_TEST_OPEN};
    pPopup->GetControls()->Add(qxpControlButton, (int)ids[0]);
    ASSERT_TRUE(pPopup->PopupAt(50, 50, NULL));
    EXPECT_EQ(nullptr, pPopup->GetToolTipContext());
    EXPECT_EQ(0u, pPopup->m_nFlags & WF_TOOLTIPS);
    pPopup->SetTrackingMode(FALSE);
    pPopup->DestroyWindow();
    pPopup->InternalRelease();

    pBar->DestroyWindow();
    pBar->InternalRelease();
    host.DestroyWindow();
    PumpPending();
}

TEST_F(BarTest, OpeningADropDownTakesDownItsButtonsTooltip)
{
    CQXPControlPopup* pDrop = AddDropDown(qxpControlButtonPopup);
    ASSERT_NE(nullptr, pDrop);
    pDrop->SetCaption("Undo");
    pDrop->SetTooltip("Undo the last change");
    CQXPCommandBar* pList = pDrop->GetCommandBar();
    pBars->RecalcFrameLayout();
    PumpPending();
    pBars->GetOptions()->m_bToolBarScreenTips = TRUE;
    pToolBar->GetToolTipContext()->DestroyToolTip();
    Activate(&frame);
    MoveOver(pToolBar, pDrop);
    auto tip = [&] { return ShownBarTip(pToolBar); };
    ASSERT_TRUE(PumpUntil([&] { return tip() != NULL; }, 4000)) << "no tooltip window appeared";
    pToolBar->SetPopuped(pDrop->GetIndex());
    EXPECT_TRUE(::IsWindowVisible(pList->GetSafeHwnd()));
    EXPECT_EQ((HWND)NULL, tip()) << "the tip does not stay over the open list";
    pBars->ClosePopups();
    PumpPending();
    pToolBar->GetToolTipContext()->DestroyToolTip();
}

TEST_F(BarTest, ToolbarHitTestOffersNoTipWhileAMenuIsOpen)
{
    CQXPControl* pOpen = pToolBar->GetControl(0);
    CPoint pt = pOpen->GetRect().CenterPoint();
    EXPECT_EQ(1, pToolBar->OnToolHitTest(pt, NULL));
    Click(pMenuBar, pMenuBar->GetControl(0));
    ASSERT_TRUE(PumpUntil([&] { return pMenuBar->GetControl(0)->GetPopuped() != FALSE; }));
    EXPECT_EQ(-1, pToolBar->OnToolHitTest(pt, NULL)) << "another bar tracks";
    EXPECT_EQ(-1, pMenuBar->OnToolHitTest(pMenuBar->GetControl(1)->GetRect().CenterPoint(), NULL))
        << "the bar with the open menu";
    pBars->ClosePopups();
    EXPECT_EQ(1, pToolBar->OnToolHitTest(pt, NULL));
}

TEST_F(BarTest, RightButtonReleaseRunsTheItemOnlyInARightButtonPopup)
{
    CMenu menu;
    ASSERT_TRUE(menu.Attach(::LoadMenuA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_TEST_MENU))));
    CMenu sub;
    sub.Attach(::GetSubMenu(menu.GetSafeHmenu(), 0));
    struct Case {
        UINT nFlags;
        LRESULT lSiteAnswer;
        BOOL bRuns;
    } cases[] = {{TPM_RIGHTBUTTON, 0, TRUE}, {0, 0, FALSE}, {TPM_RIGHTBUTTON, 1, FALSE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.nFlags << " site answer " << c.lSiteAnswer);
        frame.commands.clear();
        frame.m_nRButtonUps = 0;
        frame.m_lRButtonUpAnswer = c.lSiteAnswer;
        frame.PostMessage(WM_TEST_CLICKNEWEST, 1, WM_RBUTTONUP);
        int nResult = pBars->TrackPopupMenu(&sub, c.nFlags, 200, 200);
        PumpPending();
        EXPECT_EQ(1, frame.m_nRButtonUps) << "the site hears of the release first";
        if (c.bRuns) {
            ASSERT_EQ(1u, frame.commands.size());
            EXPECT_EQ(ID_TEST_SAVE, frame.commands[0]);
            EXPECT_TRUE(nResult) << "an item was chosen";
        } else {
            EXPECT_TRUE(frame.commands.empty());
            EXPECT_EQ(0, nResult);
        }
        EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackedCount());
    }
    sub.Detach();
    menu.DestroyMenu();
}

TEST_F(BarTest, ToolbarIsNotHotWhileAMenuOfTheMenuBarIsOpen)
{
    Activate(&frame);
    CQXPControl* pOpen = pToolBar->GetControl(0);
    Click(pMenuBar, pMenuBar->GetControl(0));
    ASSERT_TRUE(PumpUntil([&] { return pMenuBar->GetControl(0)->GetPopuped() != FALSE; }));
    MoveOver(pToolBar, pOpen);
    PumpPending();
    EXPECT_EQ(-1, pToolBar->GetSelectedIndex()) << "another bar's menu is open";
    EXPECT_TRUE(pMenuBar->GetControl(0)->GetPopuped());

    // Locked by the mouse manager: no hot control either.
    pBars->ClosePopups();
    PumpPending();
    Activate(&frame);
    CPoint ptAway(20, 300);
    frame.ClientToScreen(&ptAway);
    ::SetCursorPos(ptAway.x, ptAway.y);
    PumpPending();
    pToolBar->SetSelected(-1, 0);
    ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
    pMouse->LockTrackedBars(TRUE);
    MoveOver(pToolBar, pOpen);
    PumpPending();
    EXPECT_EQ(-1, pToolBar->GetSelectedIndex()) << "the mouse manager is locked";
    pToolBar->m_bIgnoreMouseLock = TRUE;
    MoveOver(pToolBar, pToolBar->GetControl(1));
    PumpPending();
    EXPECT_EQ(1, pToolBar->GetSelectedIndex()) << "a bar that ignores the lock";
    pToolBar->m_bIgnoreMouseLock = FALSE;
    pMouse->LockTrackedBars(FALSE);

    // Free again, the button under the mouse becomes hot.
    MoveOver(pToolBar, pOpen);
    ASSERT_TRUE(PumpUntil([&] { return pToolBar->GetSelectedIndex() == 0; }));
    EXPECT_EQ(pToolBar, pMouse->GetLastSelectedBar());
}

TEST_F(BarTest, DisabledMenuTitleIsNotOpenedByArrowKeys)
{
    CQXPControl* pFile = pMenuBar->GetControl(0);
    CQXPControl* pEdit = pMenuBar->GetControl(1);
    pEdit->SetEnabled(FALSE);
    frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
    ASSERT_TRUE(pMenuBar->IsTrackingMode());
    pMenuBar->ProcessHookKeyDown(VK_DOWN);
    ASSERT_TRUE(pFile->GetPopuped());

    // Right with File open moves to Edit, whose menu stays shut.
    pMenuBar->ProcessHookKeyDown(VK_RIGHT);
    EXPECT_EQ(1, pMenuBar->GetSelectedIndex());
    EXPECT_FALSE(pEdit->GetPopuped());
    EXPECT_FALSE(::IsWindowVisible(pEdit->GetCommandBar()->GetSafeHwnd()));
    EXPECT_EQ(-1, pMenuBar->GetPopupedIndex());
    EXPECT_FALSE(pMenuBar->SetPopuped(1)) << "a disabled control opens nothing";
    EXPECT_FALSE(pEdit->GetPopuped());

    // Enabled again it opens.
    pEdit->SetEnabled(TRUE);
    EXPECT_TRUE(pMenuBar->SetPopuped(1));
    EXPECT_TRUE(pEdit->GetPopuped());
    pBars->ClosePopups();
}

TEST_F(BarTest, CaretIsHiddenWhileTheMenuBarTracksAndShownAfter)
{
    HWND hEdit = ::CreateWindowExA(0, "EDIT", "text", WS_CHILD | WS_VISIBLE | WS_BORDER, 300, 250, 150, 24,
                                   frame.GetSafeHwnd(), NULL, NULL, NULL);
    ASSERT_NE((HWND)NULL, hEdit);
    Activate(&frame);
    ::SetFocus(hEdit);
    PumpPending();
    ASSERT_EQ(hEdit, ::GetFocus());

    frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
    ASSERT_TRUE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(hEdit, pMenuBar->GetHiddenCaretWindow()) << "the focused window's caret is hidden";
    // Opening a menu hides nothing more (the popup tracks without a caret).
    pMenuBar->ProcessHookKeyDown(VK_DOWN);
    CQXPCommandBar* pPopup = pMenuBar->GetControl(0)->GetCommandBar();
    ASSERT_TRUE(pMenuBar->GetControl(0)->GetPopuped());
    EXPECT_EQ(hEdit, pPopup->GetHiddenCaretWindow());

    pBars->ClosePopups();
    PumpPending();
    EXPECT_FALSE(pMenuBar->IsTrackingMode());
    EXPECT_EQ((HWND)NULL, pMenuBar->GetHiddenCaretWindow()) << "shown again";
    EXPECT_EQ((HWND)NULL, pPopup->GetHiddenCaretWindow());
    EXPECT_EQ(hEdit, ::GetFocus()) << "the focus stays where it was";
    ::DestroyWindow(hEdit);
}

TEST_F(BarTest, BarDestroyedWhileTrackingLeavesNoKeyboardSink)
{
    Activate(&frame);
    frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
    ASSERT_TRUE(pMenuBar->IsTrackingMode());
    ASSERT_GE(CKeyboardHook::Instance()->GetCount(), 1);

    pMenuBar->DestroyWindow();
    EXPECT_FALSE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(-1, pMenuBar->GetSelectedIndex());
    EXPECT_EQ(0, CKeyboardHook::Instance()->GetCount());
    EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackedCount());

    // A later key reaches the frame.
    Activate(&frame);
    frame.keys.clear();
    PressKey(VK_DOWN);
    ASSERT_TRUE(PumpUntil([&] { return !frame.keys.empty(); }));
    EXPECT_EQ((UINT)VK_DOWN, frame.keys[0]);
}

TEST_F(BarTest, RemovedToolbarIsForgottenByTheThread)
{
    ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
    HWND hWndBar = pToolBar->GetSafeHwnd();
    ASSERT_TRUE(pToolBar->SetTrackingMode(TRUE, TRUE, TRUE));
    ASSERT_EQ(0, pToolBar->GetSelectedIndex());
    ASSERT_EQ(pToolBar, pMouse->GetLastSelectedBar());
    ASSERT_EQ(1, CKeyboardHook::Instance()->GetCount());

    pBars->Remove(pToolBar);
    pToolBar = NULL;
    EXPECT_FALSE(::IsWindow(hWndBar));
    EXPECT_EQ(0, CKeyboardHook::Instance()->GetCount());
    EXPECT_EQ(0, pMouse->GetTrackedCount());
    EXPECT_EQ(nullptr, pMouse->GetLastSelectedBar());

    // The next menu starts tracking without touching the removed bar.
    Click(pMenuBar, pMenuBar->GetControl(0));
    ASSERT_TRUE(PumpUntil([&] { return pMenuBar->GetControl(0)->GetPopuped() != FALSE; }));
    pBars->ClosePopups();
    EXPECT_EQ(0, pMouse->GetTrackedCount());
}

TEST_F(BarTest, ActionLinkedControlGreysThroughItsUpdateHandler)
{
    CQXPControlAction* pAction = pBars->GetActions()->Add(ID_TEST_SAVE);
    ASSERT_NE(nullptr, pAction);
    CQXPControl* pSave = pToolBar->GetControl(1);
    pSave->SetAction(pAction);

    frame.m_bSaveEnabled = FALSE;
    ::SendMessageA(pToolBar->GetSafeHwnd(), WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ(0, pSave->GetEnabled());
    Click(pToolBar, pSave);
    PumpUntil([&] { return !frame.commands.empty(); }, 500);
    EXPECT_TRUE(frame.commands.empty()) << "a greyed button ignores clicks";

    // Enabled again, the control follows its action.
    frame.m_bSaveEnabled = TRUE;
    ::SendMessageA(pToolBar->GetSafeHwnd(), WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ(-1, pSave->m_bEnabled);
    EXPECT_EQ(1, pSave->GetEnabled());
    pAction->SetEnabled(FALSE);
    EXPECT_EQ(0, pSave->GetEnabled());
    pAction->SetEnabled(TRUE);
    Click(pToolBar, pSave);
    ASSERT_TRUE(PumpUntil([&] { return !frame.commands.empty(); }));
    EXPECT_EQ(ID_TEST_SAVE, frame.commands[0]);
}

// A window other than the frame that receives the commands of a menu.
class CCommandSink : public CWnd {
public:
    std::vector<UINT> commands;
    int m_nTrackedAtCommand = -1;
    void PostNcDestroy() override {}

protected:
    // A handler, so the item is enabled by the menu's update.
    afx_msg void OnExit()
    {
        commands.push_back(ID_TEST_EXIT);
        m_nTrackedAtCommand = ToolkitMouseManager::GetInstance()->GetTrackedCount();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommandSink, CWnd)
    ON_COMMAND(ID_TEST_EXIT, OnExit)
END_MESSAGE_MAP()

TEST_F(BarTest, MenuShownForAnotherWindowClosesAfterItsItemRuns)
{
    CCommandSink sink;
    ASSERT_TRUE(sink.CreateEx(0, AfxRegisterWndClass(0), "sink", WS_CHILD, 0, 0, 10, 10, frame.GetSafeHwnd(), NULL));
    CMenu menu;
    ASSERT_TRUE(menu.Attach(::LoadMenuA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_TEST_MENU))));
    CMenu sub;
    sub.Attach(::GetSubMenu(menu.GetSafeHmenu(), 0));

    frame.PostMessage(WM_TEST_CLICKNEWEST, 2, WM_LBUTTONUP);
    int nResult = pBars->TrackPopupMenu(&sub, 0, 200, 200, &sink);
    PumpPending();
    ASSERT_EQ(1u, sink.commands.size());
    EXPECT_EQ(ID_TEST_EXIT, sink.commands[0]);
    EXPECT_EQ(0, sink.m_nTrackedAtCommand) << "the menu closed before its command ran";
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_EQ(TRUE, nResult);
    EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackedCount());
    sub.Detach();
    menu.DestroyMenu();
    sink.DestroyWindow();
}


// A command target takes the commands of a menu while the owner stays its
// site: the popup keeps its manager (the frame's look, options and tooltips)
// and its commands still reach the target alone.
TEST_F(BarTest, CommandTargetTakesTheCommandsOfAMenuThatKeepsItsManager)
{
    CCommandSink sink;
    ASSERT_TRUE(sink.CreateEx(0, AfxRegisterWndClass(0), "sink", WS_CHILD, 0, 0, 10, 10, frame.GetSafeHwnd(), NULL));
    CMenu menu;
    ASSERT_TRUE(menu.Attach(::LoadMenuA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_TEST_MENU))));
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    ASSERT_TRUE(pPopup->LoadMenu(CMenu::FromHandle(::GetSubMenu(menu.GetSafeHmenu(), 0))));

    frame.PostMessage(WM_TEST_CLICKNEWEST, 2, WM_LBUTTONUP);
    int nResult = CQXPCommandBars::TrackPopupMenu(pPopup, 0, 200, 200, &frame, NULL, &sink);
    PumpPending();
    EXPECT_EQ(TRUE, nResult);
    EXPECT_EQ(std::vector<UINT>{ID_TEST_EXIT}, sink.commands);
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_EQ(pBars, pPopup->GetCommandBars());
    EXPECT_EQ(frame.GetSafeHwnd(), pPopup->GetSite()->GetSafeHwnd());
    EXPECT_EQ(sink.GetSafeHwnd(), pPopup->GetOwnerSite()->GetSafeHwnd());
    EXPECT_EQ(pBars->GetToolTipContext(), pPopup->GetToolTipContext());

    // Shown again without a target, the owner takes the commands.
    frame.PostMessage(WM_TEST_CLICKNEWEST, 2, WM_LBUTTONUP);
    nResult = CQXPCommandBars::TrackPopupMenu(pPopup, 0, 200, 200, &sink);
    PumpPending();
    EXPECT_EQ(TRUE, nResult);
    EXPECT_EQ((std::vector<UINT>{ID_TEST_EXIT, ID_TEST_EXIT}), sink.commands);
    EXPECT_TRUE(frame.commands.empty());

    if (::IsWindow(pPopup->GetSafeHwnd()))
        pPopup->DestroyWindow();
    pPopup->InternalRelease();
    menu.DestroyMenu();
    sink.DestroyWindow();
}

// Where a bar's notifications (its site) and commands (its owner site) go,
// along the chain of open popups: the manager's frame first for the site; a
// command target anywhere up the chain, else an explicit site window, for
// the commands. A bar without a manager belongs to its explicit site
// window, else to its parent.
TEST_F(BarTest, SiteAndOwnerSiteFollowThePopupChain)
{
    CCommandSink sink;
    ASSERT_TRUE(sink.CreateEx(0, AfxRegisterWndClass(0), "sink", WS_CHILD, 0, 0, 10, 10, frame.GetSafeHwnd(), NULL));
    HWND hFrame = frame.GetSafeHwnd(), hSink = sink.GetSafeHwnd();
    auto hwndOf = [](CWnd* pWnd) { return pWnd ? pWnd->GetSafeHwnd() : (HWND)NULL; };

    CQXPControl* pFile = pMenuBar->GetControl(0);
    CQXPCommandBar* pFileMenu = pFile->GetCommandBar();
    Click(pMenuBar, pFile);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(pFileMenu->GetSafeHwnd()) != FALSE; }));
    PumpPending(); // the rest of the click
    EXPECT_EQ(pMenuBar, pFileMenu->GetParentCommandBar());
    EXPECT_EQ(hFrame, hwndOf(pFileMenu->GetSite()));
    EXPECT_EQ(hFrame, hwndOf(pFileMenu->GetOwnerSite()));
    // A command target of the menu bar routes its open menu's commands too.
    pMenuBar->SetCommandTarget(&sink);
    EXPECT_EQ(hSink, hwndOf(pFileMenu->GetOwnerSite()));
    EXPECT_EQ(hFrame, hwndOf(pFileMenu->GetSite()));
    pMenuBar->SetCommandTarget(NULL);
    // The open menu finds the manager through the bar that opened it.
    pFileMenu->SetCommandBars(NULL);
    EXPECT_EQ(pBars, pFileMenu->GetCommandBars());
    EXPECT_EQ(pBars->GetToolTipContext(), pFileMenu->GetToolTipContext());
    pFileMenu->SetCommandBars(pBars);
    pBars->ClosePopups();
    qmtest::ParkPointer();
    PumpPending();

    struct Case {
        const char* name;
        BOOL bManager;
        BOOL bExplicitSite;
        HWND hSite;
        HWND hOwnerSite;
    } cases[] = {{"of the manager", TRUE, FALSE, hFrame, hFrame},
                 {"of the manager, shown for a window", TRUE, TRUE, hFrame, hSink},
                 {"without a manager, shown for a window", FALSE, TRUE, hSink, hSink}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(c.bManager ? pBars : NULL);
        if (c.bExplicitSite)
            pPopup->SetOwnerSite(&sink);
        EXPECT_EQ(c.hSite, hwndOf(pPopup->GetSite()));
        EXPECT_EQ(c.hOwnerSite, hwndOf(pPopup->GetOwnerSite()));
        pPopup->InternalRelease();
    }

    // A toolbar standing alone belongs to its parent window.
    CQXPToolBar* pAlone = new CQXPToolBar;
    ASSERT_TRUE(pAlone->CreateToolBar(WS_CHILD | WS_VISIBLE, &sink, AFX_IDW_TOOLBAR));
    EXPECT_EQ(hSink, hwndOf(pAlone->GetSite()));
    EXPECT_EQ(hSink, hwndOf(pAlone->GetOwnerSite()));
    pAlone->DestroyWindow();
    pAlone->InternalRelease();
    sink.DestroyWindow();
}

// Only a popup bar opens as the popup of a control; opened from the
// keyboard its first item is selected, opened by the mouse none is.
TEST_F(BarTest, OnlyAPopupBarOpensForAControlAndTheKeyboardSelectsItsFirstItem)
{
    CQXPControl* pFile = pMenuBar->GetControl(0);
    CQXPControlPopup* pFilePopup = dynamic_cast<CQXPControlPopup*>(pFile);
    ASSERT_NE(nullptr, pFilePopup);
    EXPECT_FALSE(pToolBar->Popup(pFilePopup, TRUE)) << "a toolbar is no popup";

    CQXPCommandBar* pFileMenu = pFile->GetCommandBar();
    for (BOOL bKeyboard : {FALSE, TRUE}) {
        SCOPED_TRACE(bKeyboard ? "keyboard" : "mouse");
        pMenuBar->SetTrackingMode(TRUE, FALSE, bKeyboard);
        pMenuBar->SetSelected(pFile->GetIndex(), bKeyboard ? 2 : 1);
        ASSERT_TRUE(pMenuBar->SetPopuped(pFile->GetIndex(), bKeyboard));
        ASSERT_TRUE(::IsWindowVisible(pFileMenu->GetSafeHwnd()));
        EXPECT_EQ(bKeyboard ? 0 : -1, pFileMenu->GetSelectedIndex());
        pBars->ClosePopups();
        PumpPending();
    }
}

// A bar of any kind loads a toolbar resource: its buttons with their group
// starts, the pictures only when asked for.
TEST_F(BarTest, AnyBarLoadsAToolbarResource)
{
    CQXPPopupToolBar* pPopup = CQXPPopupToolBar::CreatePopupToolBar(pBars);
    ASSERT_NE(nullptr, pPopup);
    pPopup->SetIconSize(CSize(0, 0));
    ASSERT_TRUE(pPopup->LoadToolBar(IDR_TEST_TOOLBAR, FALSE));
    ASSERT_EQ(3, pPopup->GetControlCount());
    const UINT ids[] = {ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT};
    for (int i = 0; i < 3; i++)
        EXPECT_EQ((int)ids[i], pPopup->GetControl(i)->GetID());
    EXPECT_TRUE(pPopup->GetControl(1)->GetBeginGroup());
    EXPECT_FALSE(pPopup->LoadToolBar(59999, FALSE)) << "no such resource";
    pPopup->InternalRelease();
}

// A theme that notes before which controls it draws separators.
class CSeparatorSpyTheme : public ToolkitPaintThemeD {
public:
    std::vector<int> separatorsBefore;
    CSize DrawCommandBarSeparator(CDC* pDC, CQXPBarView* pBar, CQXPControlView* pControl, BOOL bDraw) override
    {
        if (bDraw)
            separatorsBefore.push_back(static_cast<CQXPControl*>(pControl)->GetID());
        return ToolkitPaintThemeD::DrawCommandBarSeparator(pDC, pBar, pControl, bDraw);
    }
};

TEST_F(BarTest, NoSeparatorIsDrawnBeforeTheFirstShownControl)
{
    CSeparatorSpyTheme* pSpy = new CSeparatorSpyTheme;
    SetCustomPaintManager(pSpy);
    CClientDC dcWindow(pToolBar);
    CDC dc;
    dc.CreateCompatibleDC(&dcWindow);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(&dcWindow, 400, 100);
    CBitmap* pOld = dc.SelectObject(&bmp);
    CRect rcAll(-1000, -1000, 1000, 1000);

    // Open, then Save starting a group: the separator stands before Save.
    pToolBar->DrawCommandBar(&dc, rcAll);
    EXPECT_EQ(std::vector<int>{(int)ID_TEST_SAVE}, pSpy->separatorsBefore);

    // With Open hidden, Save is the first control shown: no separator.
    pSpy->separatorsBefore.clear();
    pToolBar->GetControl(0)->SetHideFlags(qxpHideGeneric);
    pToolBar->DrawCommandBar(&dc, rcAll);
    EXPECT_TRUE(pSpy->separatorsBefore.empty());

    dc.SelectObject(pOld);
    pToolBar->GetControl(0)->SetHideFlags(0);
    ReleaseGlobalPaintManager();
}

TEST_F(BarTest, ControlsFollowTheActiveDocumentMenu)
{
    // IDR_TEST_MENU is the menu bar's current menu.
    CQXPControl* pOpen = pToolBar->GetControl(0);
    CQXPControl* pSave = pToolBar->GetControl(1);
    CQXPControl* pExit = pToolBar->GetControl(2);
    pOpen->m_mapDocTemplatesAssigned[IDR_TEST_MENU] = TRUE;
    pSave->m_mapDocTemplatesAssigned[IDR_TEST_MENU + 1] = TRUE;
    pExit->m_mapDocTemplatesExcluded[IDR_TEST_MENU] = TRUE;
    ::SendMessageA(pToolBar->GetSafeHwnd(), WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_TRUE(pOpen->IsVisible()) << "shown for the active menu";
    EXPECT_FALSE(pSave->IsVisible()) << "shown only for another menu";
    EXPECT_FALSE(pExit->IsVisible()) << "hidden for the active menu";
    EXPECT_EQ((DWORD)qxpHideDocTemplate, pSave->GetHideFlags());

    pSave->m_mapDocTemplatesAssigned.clear();
    pExit->m_mapDocTemplatesExcluded.clear();
    pExit->m_mapDocTemplatesExcluded[IDR_TEST_MENU + 1] = TRUE;
    ::SendMessageA(pToolBar->GetSafeHwnd(), WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_TRUE(pSave->IsVisible()) << "no list: always shown";
    EXPECT_TRUE(pExit->IsVisible());
}


TEST_F(BarTest, KeyboardSelectionWhileTrackingRaisesFocusEvents)
{
    qmtest::FocusEventRecorder events;
    ASSERT_TRUE(events.Hooked());
    frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
    ASSERT_TRUE(pMenuBar->IsTrackingMode());
    pMenuBar->ProcessHookKeyDown(VK_RIGHT);
    ASSERT_EQ(1, pMenuBar->GetSelectedIndex());
    auto seen = [&](LONG idChild) { return events.Seen(pMenuBar->GetSafeHwnd(), OBJID_MENU, idChild); };
    EXPECT_TRUE(PumpUntil([&] { return seen(1) && seen(2); }, 2000)) << "titles 1 and 2 of the menu bar";
    pMenuBar->ProcessHookKeyDown(VK_ESCAPE);
}


TEST_F(BarTest, ToolbarOfAnInactiveWindowIsNotHot)
{
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 500, 200,
                               150, NULL, NULL));
    Activate(&other);
    ASSERT_EQ(other.GetSafeHwnd(), ::GetForegroundWindow());
    pToolBar->SetSelected(-1, 0);
    MoveOver(pToolBar, pToolBar->GetControl(0));
    PumpPending();
    EXPECT_EQ(-1, pToolBar->GetSelectedIndex()) << "the frame is not the active window";

    // The frame active again: the button under the mouse is hot.
    Activate(&frame);
    MoveOver(pToolBar, pToolBar->GetControl(0));
    EXPECT_TRUE(PumpUntil([&] { return pToolBar->GetSelectedIndex() == 0; }));
    other.DestroyWindow();
}

} // namespace

namespace {

// A button that wants the keys (and the wheel) while it is selected.
class CKeyTakingButton : public CQXPControlButton {
public:
    int m_nAnswer = 0;
    std::vector<UINT> m_keys;
    std::vector<short> m_wheel;
    int OnHookKeyDown(UINT nKey, LPARAM lKeyData) override
    {
        (void)lKeyData;
        m_keys.push_back(nKey);
        return m_nAnswer;
    }
    BOOL OnHookMouseWheel(UINT nFlags, short zDelta, CPoint pt) override
    {
        (void)nFlags;
        (void)pt;
        m_wheel.push_back(zDelta);
        return TRUE;
    }
};

// Starts keyboard tracking on a bar with one control selected.
void TrackWithSelection(CQXPCommandBar* pBar, int nSelected)
{
    if (!pBar->IsTrackingMode())
        pBar->SetTrackingMode(TRUE, FALSE, TRUE);
    pBar->SetSelected(nSelected, 2);
}

TEST_F(BarTest, SiteSeesEachKeyFirstAndMayTakeItOrRemoveTheBar)
{
    struct Case {
        const char* name;
        LRESULT lAnswer;
        bool bRemoveBar;
        int nResult;
        int nSelectedAfter; // -2: not checked (the bar is gone)
    } cases[] = {
        {"site lets the key pass", 0, false, 1, 2},
        {"site takes the key", 1, false, 1, 1},
        {"site removes the bar", 0, true, 1, -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQXPToolBar* pBar = pBars->Add("Keys", qxpBarTop);
        ASSERT_NE(nullptr, pBar);
        const UINT ids[] = {ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT};
        pBar->SetButtons(ids, 3);
        pBars->RecalcFrameLayout();
        TrackWithSelection(pBar, 1);
        frame.preKeys.clear();
        frame.preKeyBars.clear();
        frame.onPreKey = [&](QXP_KEYRECORD*, CQXPCommandBar* pFrom) -> LRESULT {
            if (c.bRemoveBar)
                pBars->Remove(static_cast<CQXPToolBar*>(pFrom));
            return c.lAnswer;
        };
        pBar->m_lHookKeyData = 0x4D0001;
        EXPECT_EQ(c.nResult, pBar->ProcessHookKeyDown(VK_RIGHT));
        frame.onPreKey = nullptr;
        ASSERT_EQ(1u, frame.preKeys.size());
        EXPECT_EQ((UINT)VK_RIGHT, frame.preKeys[0].nKey);
        EXPECT_EQ((LPARAM)0x4D0001, frame.preKeys[0].lKeyData);
        EXPECT_EQ(pBar, frame.preKeyBars[0]);
        if (c.nSelectedAfter == -2) {
            EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackedCount()) << "the removed bar tracks no more";
            continue;
        }
        EXPECT_EQ(c.nSelectedAfter, pBar->GetSelectedIndex());
        pBar->SetTrackingMode(FALSE);
        pBars->Remove(pBar);
    }
    EXPECT_EQ(0, CKeyboardHook::Instance()->GetCount());
}

TEST_F(BarTest, SelectedControlTakesKeysAndTheWheelBeforeTheBar)
{
    struct Case {
        const char* name;
        int nAnswer;
        int nResult;
        int nSelectedAfter; // -1: the next control, else the key taker
    } cases[] = {
        {"control lets the bar move on", 0, 1, -1},
        {"control eats the key", 1, 1, 0},
        {"control passes the key to the window", 2, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CKeyTakingButton* pButton = new CKeyTakingButton;
        pToolBar->GetControls()->AddControl(pButton, ID_TEST_UNDO);
        pBars->RecalcFrameLayout();
        const int nButton = pButton->GetIndex();
        // -1: the control the bar steps to next; 0: the key taker stays.
        const int nExpected = c.nSelectedAfter == -1 ? pToolBar->GetControls()->GetNext(nButton, +1) : nButton;
        ASSERT_NE(nButton, pToolBar->GetControls()->GetNext(nButton, +1));
        pButton->m_nAnswer = c.nAnswer;
        TrackWithSelection(pToolBar, nButton);
        frame.preKeys.clear();
        EXPECT_EQ(c.nResult, pToolBar->ProcessHookKeyDown(VK_RIGHT));
        ASSERT_EQ(1u, pButton->m_keys.size());
        EXPECT_EQ((UINT)VK_RIGHT, pButton->m_keys[0]);
        EXPECT_EQ(1u, frame.preKeys.size()) << "the site still saw the key first";
        EXPECT_EQ(nExpected, pToolBar->GetSelectedIndex());

        // While the bar tracks, the wheel goes to the selected control.
        pToolBar->SetSelected(nButton, 2);
        CKeyboardHook::Instance()->NotifyHooks(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-120), MAKELPARAM(5, 5));
        ASSERT_EQ(1u, pButton->m_wheel.size());
        EXPECT_EQ(-120, pButton->m_wheel[0]);
        pToolBar->SetTrackingMode(FALSE);
        pToolBar->GetControls()->Remove(pButton);
    }
}

TEST_F(BarTest, SpaceOnTheMenuBarClosesTheMenusAndOpensTheWindowMenu)
{
    struct Case {
        const char* name;
        bool bMenuBar;
        size_t nKeyMenus;
    } cases[] = {
        {"menu bar", true, 1},
        {"toolbar", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frame.keyMenus.clear();
        if (c.bMenuBar) {
            frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
            ASSERT_TRUE(pMenuBar->IsTrackingMode());
            pMenuBar->ProcessHookKeyDown(VK_DOWN);
            ASSERT_TRUE(pMenuBar->GetControl(0)->GetPopuped());
            EXPECT_EQ(1, pMenuBar->ProcessHookKeyDown(VK_SPACE));
            EXPECT_FALSE(pMenuBar->GetControl(0)->GetPopuped());
            EXPECT_FALSE(pMenuBar->IsTrackingMode());
            EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackedCount());
        } else {
            TrackWithSelection(pToolBar, 0);
            EXPECT_EQ(1, pToolBar->ProcessHookKeyDown(VK_SPACE));
            pToolBar->SetTrackingMode(FALSE);
        }
        PumpPending();
        ASSERT_EQ(c.nKeyMenus, frame.keyMenus.size());
        if (c.nKeyMenus) {
            EXPECT_EQ((LPARAM)' ', frame.keyMenus[0]);
        }
    }
}

TEST_F(BarTest, RightToLeftLayoutSwapsLeftAndRight)
{
    // Toolbar buttons: Open, Save, Exit; Save selected. The Edit menu:
    // Undo, Encoding (a submenu); Encoding selected.
    struct Case {
        const char* name;
        bool bVertical;
        bool bRTL;
        UINT nKey;
        int nResult;
        int nSelectedAfter; // horizontal bar
        bool bSubmenuOpen;  // vertical bar
    } cases[] = {
        {"horizontal, Right goes on", false, false, VK_RIGHT, 1, 2, false},
        {"horizontal, Left goes back", false, false, VK_LEFT, 1, 0, false},
        {"horizontal RTL, Right goes back", false, true, VK_RIGHT, 1, 0, false},
        {"horizontal RTL, Left goes on", false, true, VK_LEFT, 1, 2, false},
        {"vertical, Right opens", true, false, VK_RIGHT, 1, 1, true},
        {"vertical, Left is left to the menu bar", true, false, VK_LEFT, 0, 1, false},
        {"vertical RTL, Left opens", true, true, VK_LEFT, 1, 1, true},
        {"vertical RTL, Right is left to the menu bar", true, true, VK_RIGHT, 0, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQXPCommandBar* pBar = pToolBar;
        CQXPControl* pEncoding = NULL;
        if (c.bVertical) {
            frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
            pMenuBar->ProcessHookKeyDown(VK_RIGHT);
            pMenuBar->ProcessHookKeyDown(VK_DOWN);
            pBar = pMenuBar->GetControl(1)->GetCommandBar();
            ASSERT_TRUE(pMenuBar->GetControl(1)->GetPopuped());
            pBar->SetSelected(1, 2);
            pEncoding = pBar->GetControl(1);
        } else {
            TrackWithSelection(pToolBar, 1);
        }
        HWND hWnd = pBar->GetSafeHwnd();
        LONG_PTR nExStyle = ::GetWindowLongPtrA(hWnd, GWL_EXSTYLE);
        if (c.bRTL)
            ::SetWindowLongPtrA(hWnd, GWL_EXSTYLE, nExStyle | WS_EX_LAYOUTRTL);
        EXPECT_EQ(c.bRTL, pBar->IsLayoutRTL() != FALSE);
        EXPECT_EQ(c.nResult, pBar->ProcessHookKeyDown(c.nKey));
        EXPECT_EQ(c.nSelectedAfter, pBar->GetSelectedIndex());
        if (pEncoding) {
            EXPECT_EQ(c.bSubmenuOpen, pEncoding->GetPopuped() != FALSE);
        }
        ::SetWindowLongPtrA(hWnd, GWL_EXSTYLE, nExStyle);
        pBars->ClosePopups();
        pToolBar->SetTrackingMode(FALSE);
    }
}

TEST_F(BarTest, UpAndDownMoveBetweenTheRowsOfAFloatingToolbar)
{
    // Seven buttons, three to a row; the group that begins at index 4
    // starts a row of its own, so Undo (3) is alone in the middle row.
    CQXPToolBar* pRows = pBars->Add("Rows", qxpBarTop);
    ASSERT_NE(nullptr, pRows);
    const UINT ids[] = {ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT, ID_TEST_UNDO, 0,
                        ID_TEST_EXIT, ID_TEST_SAVE, ID_TEST_OPEN};
    pRows->SetButtons(ids, 8);
    int nButton = pRows->GetButtonSize().cx;
    pRows->m_nMRUWidth = 3 * nButton + 12;
    ASSERT_TRUE(pRows->SetFloating(CPoint(200, 200)));
    PumpPending();
    ASSERT_GE(pRows->GetControlCount(), 7);
    for (int i = 0; i < 7; i++)
        ASSERT_FALSE(pRows->GetControl(i)->m_bTemporary) << "the buttons come first";
    auto top = [&](int i) { return pRows->GetControl(i)->GetRowRect().top; };
    auto left = [&](int i) { return pRows->GetControl(i)->GetRect().left; };
    ASSERT_TRUE(top(0) == top(1) && top(1) == top(2)) << "row 1: 0 1 2";
    ASSERT_TRUE(top(3) > top(2) && top(4) > top(3)) << "row 2: 3";
    ASSERT_TRUE(top(4) == top(5) && top(5) == top(6)) << "row 3: 4 5 6";
    ASSERT_TRUE(left(0) == left(3) && left(3) == left(4) && left(1) == left(5) && left(2) == left(6));

    struct Case {
        int nFrom;
        UINT nKey;
        int nTo;
    } cases[] = {
        {0, VK_DOWN, 3}, // straight down
        {2, VK_DOWN, 3}, // the row's only control, left of Exit
        {3, VK_DOWN, 4},
        {6, VK_DOWN, 2}, // wraps to the first row, under the same column
        {5, VK_DOWN, 1},
        {1, VK_UP, 5}, // wraps to the last row: the control not right of Save
        {6, VK_UP, 3},
        {3, VK_UP, 0},
        {-1, VK_DOWN, 0}, // nothing selected: the first button
        {-1, VK_UP, 6},   // ... or the last, never a caption button
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.nFrom << (c.nKey == VK_DOWN ? " down" : " up"));
        pRows->SetTrackingMode(TRUE, FALSE, TRUE);
        pRows->SetSelected(c.nFrom, 2);
        EXPECT_EQ(1, pRows->ProcessHookKeyDown(c.nKey));
        EXPECT_EQ(c.nTo, pRows->GetSelectedIndex());
        pRows->SetTrackingMode(FALSE);
    }
}

TEST_F(BarTest, ToolbarStylePopupMapsTheKeysOfItsOpenControl)
{
    // A toolbar shown as a drop-down (position popup, type toolbar): Open,
    // a menu button, Save.
    CQXPToolBar* pDrop = pBars->Add("Drop", qxpBarTop);
    ASSERT_NE(nullptr, pDrop);
    pDrop->GetControls()->Add(qxpControlButton, ID_TEST_OPEN);
    CQXPControlPopup* pMenu =
        static_cast<CQXPControlPopup*>(pDrop->GetControls()->Add(qxpControlButtonPopup, 0, "Menu"));
    ASSERT_NE(nullptr, pMenu);
    CQXPControl* pSave = pDrop->GetControls()->Add(qxpControlButton, ID_TEST_SAVE);
    CQXPPopupBar* pItems = CQXPPopupBar::CreateForOwner(pBars);
    pItems->GetControls()->Add(qxpControlButton, ID_TEST_UNDO);
    pMenu->SetCommandBar(pItems);
    pItems->InternalRelease();
    pBars->RecalcFrameLayout();
    PumpPending();
    const int nMenu = pMenu->GetIndex();
    const int nSave = pSave->GetIndex();
    ASSERT_EQ(nMenu + 1, nSave);

    struct Case {
        const char* name;
        int nPosition;
        BOOL bMenuEnabled;
        BOOL bOpen;
        int nAction;
        int nResult;
        int nSelectedAfter;
        bool bOpenAfter;
    } cases[] = {
        {"next stays on the open control", qxpBarPopup, TRUE, TRUE, 0, 0, nMenu, true},
        {"previous closes the open control", qxpBarPopup, TRUE, TRUE, 1, 1, nMenu, false},
        {"close on a closed menu button opens it", qxpBarPopup, TRUE, FALSE, 2, 1, nMenu, true},
        {"a disabled menu button does not open", qxpBarPopup, FALSE, FALSE, 2, 1, nMenu, false},
        {"docked: next moves on while a control is open", qxpBarTop, TRUE, TRUE, 0, 1, nSave, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pMenu->SetEnabled(c.bMenuEnabled);
        TrackWithSelection(pDrop, nMenu);
        if (c.bOpen) {
            pDrop->SetPopuped(nMenu);
            ASSERT_TRUE(pMenu->GetPopuped());
        }
        pDrop->SetBarPosition(c.nPosition);
        EXPECT_EQ(c.nResult, pDrop->ProcessSpecialKey(c.nAction));
        EXPECT_EQ(c.nSelectedAfter, pDrop->GetSelectedIndex());
        EXPECT_EQ(c.bOpenAfter, pMenu->GetPopuped() != FALSE);
        EXPECT_EQ(c.bOpenAfter ? nMenu : -1, pDrop->GetPopupedIndex());
        pDrop->SetBarPosition(qxpBarTop);
        pDrop->SetTrackingMode(FALSE);
        pBars->ClosePopups();
    }
    pMenu->SetEnabled(TRUE);
}

TEST_F(BarTest, ButtonSizeIsTheIconSizePlusSixEachWay)
{
    struct Case {
        CSize szIcons;
        CSize szButtons;
        CSize expected;
    } cases[] = {
        {CSize(0, 0), CSize(0, 0), CSize(22, 22)},
        {CSize(24, 24), CSize(0, 0), CSize(30, 30)},
        {CSize(20, 16), CSize(0, 0), CSize(26, 22)},
        {CSize(24, 24), CSize(40, 30), CSize(40, 30)},
    };
    for (const Case& c : cases) {
        pToolBar->SetIconSize(c.szIcons);
        pToolBar->SetButtonSize(c.szButtons);
        EXPECT_EQ(c.expected, pToolBar->GetButtonSize()) << c.szIcons.cx << "x" << c.szIcons.cy;
    }
    pToolBar->SetIconSize(CSize(0, 0));
    pToolBar->SetButtonSize(CSize(0, 0));
    pBars->RecalcFrameLayout();
    PumpPending();
    EXPECT_EQ(22, pToolBar->GetControl(0)->GetRect().Width()) << "a laid-out icon button";
}

TEST_F(BarTest, PrintClientDrawsWhatPaintShows)
{
    Activate(&frame);
    ::SetCursorPos(630, 390);
    pToolBar->SetSelected(-1, 0);
    HWND hWnd = pToolBar->GetSafeHwnd();
    ::RedrawWindow(hWnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpPending();
    CRect rc;
    ::GetClientRect(hWnd, &rc);
    ASSERT_FALSE(rc.IsRectEmpty());
    HDC hdcWnd = ::GetDC(hWnd);
    HDC hdcPaint = ::CreateCompatibleDC(hdcWnd);
    HDC hdcPrint = ::CreateCompatibleDC(hdcWnd);
    HBITMAP hbmPaint = ::CreateCompatibleBitmap(hdcWnd, rc.Width(), rc.Height());
    HBITMAP hbmPrint = ::CreateCompatibleBitmap(hdcWnd, rc.Width(), rc.Height());
    HGDIOBJ hOldPaint = ::SelectObject(hdcPaint, hbmPaint);
    HGDIOBJ hOldPrint = ::SelectObject(hdcPrint, hbmPrint);
    ::BitBlt(hdcPaint, 0, 0, rc.Width(), rc.Height(), hdcWnd, 0, 0, SRCCOPY);
    // Magenta shows any place WM_PRINTCLIENT leaves undrawn.
    HBRUSH hbr = ::CreateSolidBrush(RGB(255, 0, 255));
    ::FillRect(hdcPrint, &rc, hbr);
    ::DeleteObject(hbr);
    ::SendMessageA(hWnd, WM_PRINTCLIENT, (WPARAM)hdcPrint, PRF_CLIENT);
    int nDiffer = 0;
    for (int y = 0; y < rc.Height(); y++)
        for (int x = 0; x < rc.Width(); x++)
            if (::GetPixel(hdcPaint, x, y) != ::GetPixel(hdcPrint, x, y))
                nDiffer++;
    EXPECT_EQ(0, nDiffer) << "of " << rc.Width() * rc.Height() << " pixels";
    ::SelectObject(hdcPaint, hOldPaint);
    ::SelectObject(hdcPrint, hOldPrint);
    ::DeleteObject(hbmPaint);
    ::DeleteObject(hbmPrint);
    ::DeleteDC(hdcPaint);
    ::DeleteDC(hdcPrint);
    ::ReleaseDC(hWnd, hdcWnd);
}

TEST_F(BarTest, HelpHitTestGivesTheHelpIdUnderThePoint)
{
    CQXPControl* pSave = pToolBar->GetControl(1);
    HWND hWnd = pToolBar->GetSafeHwnd();
    auto hit = [&](CPoint pt) { return ::SendMessageA(hWnd, WM_HELPHITTEST, 0, MAKELPARAM(pt.x, pt.y)); };
    CPoint ptOpen = pToolBar->GetControl(0)->GetRect().CenterPoint();
    CPoint ptSave = pSave->GetRect().CenterPoint();
    CPoint ptNone(-20, -20);
    struct Case {
        const char* name;
        CPoint pt;
        int nHelpId;
        int nWindowId;
        LRESULT expected;
    } cases[] = {
        {"a control's command id", ptOpen, 0, 0, HID_BASE_COMMAND + ID_TEST_OPEN},
        {"a control's own help id", ptSave, 77, 0, HID_BASE_COMMAND + 77},
        {"no control, the bar's window id", ptNone, 0, 0xE81B, HID_BASE_CONTROL + 0xE81B},
        {"no control and no window id", ptNone, 0, 0, 0},
    };
    LONG_PTR nOldId = ::GetWindowLongPtrA(hWnd, GWLP_ID);
    for (const Case& c : cases) {
        pSave->m_nHelpId = c.nHelpId;
        ::SetWindowLongPtrA(hWnd, GWLP_ID, c.nWindowId);
        EXPECT_EQ(c.expected, hit(c.pt)) << c.name;
    }
    ::SetWindowLongPtrA(hWnd, GWLP_ID, nOldId);
    pSave->m_nHelpId = 0;
}

TEST_F(BarTest, CloneCopiesTheBarAndItsControls)
{
    pToolBar->SetFlags(qxpFlagHideWrap);
    pToolBar->SetTitle("Standard");
    pToolBar->SetIconSize(CSize(20, 20));
    pToolBar->SetButtonSize(CSize(28, 26));
    pToolBar->SetDefaultButtonStyle(3);
    pToolBar->m_nMRUWidth = 123;
    pToolBar->m_bCustomizable = FALSE;
    CQXPCommandBar* pClone = pToolBar->Clone(TRUE);
    ASSERT_NE(nullptr, pClone);
    EXPECT_EQ(pToolBar->GetRuntimeClass(), pClone->GetRuntimeClass());
    EXPECT_EQ(pToolBar->GetType(), pClone->GetType());
    EXPECT_EQ(pToolBar->GetPosition(), pClone->GetPosition());
    EXPECT_EQ(pToolBar->GetBarID(), pClone->GetBarID());
    EXPECT_EQ(pToolBar->GetFlags(), pClone->GetFlags());
    EXPECT_EQ(std::string("Standard"), std::string(pClone->GetTitle()));
    EXPECT_EQ(CSize(20, 20), pClone->m_szIcons);
    EXPECT_EQ(CSize(28, 26), pClone->GetButtonSize());
    EXPECT_EQ(3, pClone->GetDefaultButtonStyle());
    EXPECT_EQ(123, pClone->m_nMRUWidth);
    EXPECT_FALSE(pClone->IsCustomizable());
    EXPECT_EQ(pBars, pClone->GetCommandBars());
    // The bar's own controls are copied; temporary ones (the expand
    // button) belong to the window and are not.
    std::vector<CQXPControl*> own;
    for (int i = 0; i < pToolBar->GetControlCount(); i++)
        if (!pToolBar->GetControl(i)->m_bTemporary)
            own.push_back(pToolBar->GetControl(i));
    ASSERT_EQ((int)own.size(), pClone->GetControlCount());
    for (int i = 0; i < pClone->GetControlCount(); i++) {
        EXPECT_EQ(own[i]->GetID(), pClone->GetControl(i)->GetID());
        EXPECT_NE(own[i], pClone->GetControl(i)) << "copies, not shared controls";
        EXPECT_EQ(pClone, pClone->GetControl(i)->GetParent());
    }

    // Copying over a bar replaces its controls rather than adding to them.
    pClone->Copy(pToolBar, FALSE);
    EXPECT_EQ((int)own.size(), pClone->GetControlCount());
    pClone->InternalRelease();

    // A popup's clone stays a popup of the same menu.
    CQXPCommandBar* pFileMenu = pMenuBar->GetControl(0)->GetCommandBar();
    CQXPCommandBar* pMenuClone = pFileMenu->Clone(TRUE);
    ASSERT_NE(nullptr, pMenuClone);
    EXPECT_TRUE(pMenuClone->IsPopupBar());
    EXPECT_EQ(pFileMenu->GetControlCount(), pMenuClone->GetControlCount());
    pMenuClone->InternalRelease();
}

TEST_F(BarTest, PopupChainQueries)
{
    CQXPCommandBar* pFileMenu = pMenuBar->GetControl(0)->GetCommandBar();
    ASSERT_NE(nullptr, pFileMenu);
    EXPECT_EQ(pMenuBar, pFileMenu->GetParentCommandBar());
    EXPECT_EQ(nullptr, pMenuBar->GetParentCommandBar());
    EXPECT_TRUE(pFileMenu->IsPopupBar());
    EXPECT_FALSE(pMenuBar->IsPopupBar());
    EXPECT_FALSE(pToolBar->IsPopupBar());
    EXPECT_FALSE(pFileMenu->IsRibbonBar());
    EXPECT_EQ(0, pToolBar->GetResizeFlags());
    EXPECT_FALSE(pMenuBar->PreviewMnemonic('F'));
}

TEST_F(BarTest, KeysGoToAWindowOfTheBarThatHasTheFocus)
{
    Activate(&frame);
    CWnd edit;
    ASSERT_TRUE(edit.CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20, pToolBar->GetSafeHwnd(), NULL));
    TrackWithSelection(pToolBar, 0);
    ::SetFocus(edit.GetSafeHwnd());
    ASSERT_EQ(edit.GetSafeHwnd(), ::GetFocus());
    EXPECT_EQ(2, pToolBar->ProcessHookKeyDown('A'));
    EXPECT_EQ(2, pToolBar->ProcessHookKeyDown(VK_RIGHT));
    EXPECT_EQ(0, pToolBar->GetSelectedIndex());
    EXPECT_EQ(1, pToolBar->ProcessHookKeyDown(VK_TAB)) << "Tab still steps through the bar";
    EXPECT_EQ(1, pToolBar->GetSelectedIndex());
    pToolBar->SetTrackingMode(FALSE);
    edit.DestroyWindow();
}

TEST_F(BarTest, TabOntoAnEditBoxGivesItTheFocus)
{
    Activate(&frame);
    CQXPControlEdit* pBox = new CQXPControlEdit;
    pBox->SetWidth(100);
    pToolBar->GetControls()->AddControl(pBox, ID_TEST_UNDO, CString(), 1);
    pBars->RecalcFrameLayout();
    PumpPending();
    ASSERT_EQ(1, pBox->GetIndex());
    ASSERT_NE(nullptr, pBox->GetEditCtrl());
    TrackWithSelection(pToolBar, 0);
    EXPECT_EQ(1, pToolBar->ProcessHookKeyDown(VK_TAB));
    EXPECT_EQ(1, pToolBar->GetSelectedIndex());
    EXPECT_TRUE(pBox->IsFocused());
    EXPECT_EQ(pBox->GetEditCtrl()->GetSafeHwnd(), ::GetFocus());
    pBox->SetFocused(FALSE);
    EXPECT_FALSE(pToolBar->IsTrackingMode());

    // An arrow key only selects the box; the focus stays where it was.
    TrackWithSelection(pToolBar, 0);
    HWND hWndFocus = ::GetFocus();
    EXPECT_EQ(1, pToolBar->ProcessHookKeyDown(VK_RIGHT));
    EXPECT_EQ(1, pToolBar->GetSelectedIndex());
    EXPECT_EQ(hWndFocus, ::GetFocus());
    EXPECT_FALSE(pBox->IsFocused());
    pToolBar->SetTrackingMode(FALSE);
}

TEST_F(BarTest, TabLeavesAStandaloneBarForTheNextTabStop)
{
    Activate(&frame);
    CWnd before, after;
    ASSERT_TRUE(before.CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 300, 60, 20, frame.GetSafeHwnd(),
                                NULL));
    CQXPToolBar* pAlone = new CQXPToolBar;
    ASSERT_TRUE(pAlone->CreateToolBar(WS_VISIBLE, &frame, 0x1234));
    ASSERT_TRUE(after.CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 200, 300, 60, 20, frame.GetSafeHwnd(),
                               NULL));
    const UINT ids[] = {ID_TEST_OPEN, ID_TEST_SAVE};
    pAlone->SetButtons(ids, 2);
    ::SetWindowPos(pAlone->GetSafeHwnd(), NULL, 80, 300, 100, 24, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(nullptr, pAlone->GetCommandBars());

    struct Case {
        const char* name;
        bool bShift;
        HWND hExpected;
    } cases[] = {
        {"Tab", false, after.GetSafeHwnd()},
        {"Shift+Tab", true, before.GetSafeHwnd()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::SetFocus(pAlone->GetSafeHwnd());
        pAlone->SetTrackingMode(TRUE, TRUE, TRUE);
        BYTE state[256];
        ::GetKeyboardState(state);
        BYTE oldShift = state[VK_SHIFT];
        state[VK_SHIFT] = c.bShift ? 0x80 : 0;
        ::SetKeyboardState(state);
        EXPECT_EQ(1, pAlone->ProcessHookKeyDown(VK_TAB));
        state[VK_SHIFT] = oldShift;
        ::SetKeyboardState(state);
        EXPECT_EQ(c.hExpected, ::GetFocus());
        EXPECT_FALSE(pAlone->IsTrackingMode());
    }
    pAlone->DestroyWindow();
    pAlone->InternalRelease();
    before.DestroyWindow();
    after.DestroyWindow();
}

} // namespace

// --- popup controls ---

namespace {

// A toolbar that answers some of its controls' updates itself: its own
// update entry for Save, and (when asked) a reflected entry that checks
// every control before the site is asked.
class CSelfUpdatingBar : public CQXPToolBar {
    DECLARE_DYNCREATE(CSelfUpdatingBar)
public:
    BOOL m_bReflectAll = FALSE;
    int m_nReflected = 0;

protected:
    afx_msg void OnUpdateSaveHere(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnUpdateReflected(CCmdUI* pCmdUI)
    {
        if (!m_bReflectAll) {
            pCmdUI->ContinueRouting();
            return;
        }
        m_nReflected++;
        pCmdUI->SetCheck(1);
    }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CSelfUpdatingBar, CQXPToolBar)

BEGIN_MESSAGE_MAP(CSelfUpdatingBar, CQXPToolBar)
    ON_UPDATE_COMMAND_UI_REFLECT(OnUpdateReflected)
    ON_UPDATE_COMMAND_UI(ID_TEST_SAVE, OnUpdateSaveHere)
END_MESSAGE_MAP()

// A menu item that counts the bar's hover notifications.
class CHoverCountingButton : public CQXPControlButton {
public:
    int m_nHovers = 0;
    void OnMouseHover() override
    {
        m_nHovers++;
        CQXPControlButton::OnMouseHover();
    }
};

// The toolbar of the fixture with a split button (Open on its face, the
// File menu on its arrow) before the expand button.
class SplitButtonTest : public BarTest {
protected:
    void SetUp() override
    {
        BarTest::SetUp();
        if (HasFatalFailure())
            return;
        int nBefore = pToolBar->GetControlCount() - 1;
        pSplit = dynamic_cast<CQXPControlPopup*>(
            pToolBar->GetControls()->Add(qxpControlSplitButtonPopup, ID_TEST_OPEN, CString(), nBefore));
        ASSERT_NE(nullptr, pSplit);
        ASSERT_EQ(qxpControlSplitButtonPopup, pSplit->GetType());
        CMenu menu;
        ASSERT_TRUE(menu.Attach(::LoadMenuA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_TEST_MENU))));
        CMenu sub;
        sub.Attach(::GetSubMenu(menu.GetSafeHmenu(), 0));
        pSplit->SetCommandBar(&sub);
        sub.Detach();
        menu.DestroyMenu();
        ASSERT_NE(nullptr, pSplit->GetCommandBar());
        pBars->RecalcFrameLayout();
        PumpPending();
        ASSERT_GT(pSplit->GetRect().Width(), 12);
    }
    void TearDown() override
    {
        if (pToolBar && pToolBar->IsTrackingMode())
            pToolBar->SetTrackingMode(FALSE);
        BarTest::TearDown();
    }
    CPoint FacePoint() const
    {
        return pToolBar->GetPaintManager()->GetSplitCommandRect(pSplit).CenterPoint();
    }
    CPoint ArrowPoint() const
    {
        CRect rc = pSplit->GetRect();
        return CPoint(rc.right - 3, rc.CenterPoint().y);
    }
    void PressAt(CPoint pt)
    {
        CPoint ptScreen = pt;
        ::ClientToScreen(pToolBar->GetSafeHwnd(), &ptScreen);
        ::SetCursorPos(ptScreen.x, ptScreen.y);
        ::PostMessageA(pToolBar->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        ::PostMessageA(pToolBar->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }
    BOOL PopupShown() const
    {
        HWND hWnd = pSplit->GetCommandBar()->GetSafeHwnd();
        return ::IsWindow(hWnd) && ::IsWindowVisible(hWnd);
    }

    CQXPControlPopup* pSplit = NULL;
};

TEST_F(SplitButtonTest, FaceRunsTheCommandAndTheArrowOpensThePopup)
{
    struct Case {
        int nEnabled;
        bool bFace;
        bool bRuns;
        bool bOpens;
    } cases[] = {
        {1, true, true, false}, {1, false, false, true}, // both parts work
        {3, true, true, false},
        {3, false, false, false}, // the drop-down is disabled
        {4, true, false, false},
        {4, false, false, true}, // only the drop-down works
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Enabled " << c.nEnabled << (c.bFace ? " face" : " arrow"));
        frame.commands.clear();
        pSplit->m_bEnabled = c.nEnabled;
        PressAt(c.bFace ? FacePoint() : ArrowPoint());
        if (c.bRuns) {
            ASSERT_TRUE(PumpUntil([&] { return !frame.commands.empty(); }));
            EXPECT_EQ(ID_TEST_OPEN, frame.commands[0]);
        } else if (c.bOpens) {
            ASSERT_TRUE(PumpUntil([&] { return PopupShown() != FALSE; }));
            EXPECT_TRUE(pSplit->GetPopuped());
            EXPECT_EQ(pSplit->GetIndex(), pToolBar->GetPopupedIndex());
        } else {
            qmtest::PumpFor(300);
        }
        if (!c.bRuns) {
            EXPECT_TRUE(frame.commands.empty()) << "the command did not run";
        }
        if (!c.bOpens) {
            EXPECT_FALSE(PopupShown()) << "the popup stayed closed";
            EXPECT_FALSE(pSplit->GetPopuped());
        }
        pToolBar->SetTrackingMode(FALSE);
        PumpPending();
        EXPECT_FALSE(PopupShown());
    }
}

TEST_F(SplitButtonTest, KeyboardRunsTheFaceUnlessOnlyTheDropDownWorks)
{
    pSplit->m_bEnabled = 1;
    pSplit->OnClick(TRUE, CPoint(0, 0));
    PumpPending();
    ASSERT_EQ(1u, frame.commands.size());
    EXPECT_FALSE(PopupShown());

    frame.commands.clear();
    pSplit->m_bEnabled = 4;
    pSplit->OnClick(TRUE, CPoint(0, 0));
    EXPECT_TRUE(PumpUntil([&] { return PopupShown() != FALSE; }));
    EXPECT_TRUE(frame.commands.empty());
    pToolBar->SetTrackingMode(FALSE);

    // With the drop-down disabled no way opens it.
    pSplit->m_bEnabled = 3;
    EXPECT_FALSE(pSplit->OnSetPopup(TRUE));
    pToolBar->SetPopuped(pSplit->GetIndex());
    EXPECT_EQ(-1, pToolBar->GetPopupedIndex());
    EXPECT_FALSE(pSplit->GetPopuped());
    EXPECT_FALSE(PopupShown());
}

TEST_F(SplitButtonTest, MouseOverTheSplitButtonMarksTheHotPart)
{
    pToolBar->SetSelected(pSplit->GetIndex(), 1);
    CPoint ptFace = FacePoint(), ptArrow = ArrowPoint();
    pSplit->OnMouseMove(ptArrow);
    EXPECT_EQ(4, pSplit->GetSelected()) << "the arrow is hot";
    pSplit->OnMouseMove(ptFace);
    EXPECT_EQ(3, pSplit->GetSelected()) << "the face is hot";
    pToolBar->SetSelected(-1, 0);
    EXPECT_EQ(0, pSplit->GetSelected());
}

TEST_F(BarTest, HoverTimerWaitsWhileTheMenuIsLockedAndAsksTheSelectedControl)
{
    CQXPControl* pEdit = pMenuBar->GetControl(1);
    CQXPCommandBar* pEditMenu = pEdit->GetCommandBar();
    CHoverCountingButton* pCounting = new CHoverCountingButton;
    pEditMenu->GetControls()->AddControl(pCounting, ID_TEST_ANSI);
    pCounting->SetCaption("Counting");

    Click(pMenuBar, pEdit);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(pEditMenu->GetSafeHwnd()) != FALSE; }));
    CQXPControl* pEncoding = pEditMenu->GetControl(1);
    CQXPCommandBar* pSub = pEncoding->GetCommandBar();
    ASSERT_NE(nullptr, pSub);

    // The plain item hears the hover itself.
    CPoint ptCounting = pCounting->GetRect().CenterPoint();
    ::PostMessageA(pEditMenu->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(ptCounting.x, ptCounting.y));
    EXPECT_TRUE(PumpUntil([&] { return pCounting->m_nHovers > 0; }, 2000));

    // Locked (a modal popup on top) while the mouse rests on the submenu
    // item: nothing opens until the lock ends.
    CPoint pt = pEncoding->GetRect().CenterPoint();
    ::PostMessageA(pEditMenu->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    ASSERT_TRUE(PumpUntil([&] { return pEditMenu->GetSelectedIndex() == pEncoding->GetIndex(); }, 2000));
    pEditMenu->m_nLockTracking = 1;
    qmtest::PumpFor(800);
    EXPECT_EQ(pEncoding->GetIndex(), pEditMenu->GetSelectedIndex());
    EXPECT_FALSE(::IsWindow(pSub->GetSafeHwnd()) && ::IsWindowVisible(pSub->GetSafeHwnd()));
    pEditMenu->m_nLockTracking = 0;
    EXPECT_TRUE(
        PumpUntil([&] { return ::IsWindow(pSub->GetSafeHwnd()) && ::IsWindowVisible(pSub->GetSafeHwnd()); }, 2000));

    pMenuBar->SetTrackingMode(FALSE);
    PumpPending();
    EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackedCount());
}

TEST_F(BarTest, IdleUpdateReachesWindowsOnTheBarAndTheBarsOwnHandlers)
{
    // A push button hosted on the toolbar follows the Save command.
    HWND hButton = ::CreateWindowExA(0, "BUTTON", "Save", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 200, 0, 50, 20,
                                     pToolBar->GetSafeHwnd(), (HMENU)(UINT_PTR)ID_TEST_SAVE, NULL, NULL);
    ASSERT_NE((HWND)NULL, hButton);
    frame.m_bSaveEnabled = FALSE;
    ::SendMessageA(pToolBar->GetSafeHwnd(), WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_FALSE(::IsWindowEnabled(hButton));
    frame.m_bSaveEnabled = TRUE;
    ::SendMessageA(pToolBar->GetSafeHwnd(), WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_TRUE(::IsWindowEnabled(hButton));
    ::DestroyWindow(hButton);

    // The first update (WM_INITIALUPDATE) refreshes the controls as well.
    frame.m_bSaveEnabled = FALSE;
    ::SendMessageA(pToolBar->GetSafeHwnd(), WM_INITIALUPDATE, 0, 0);
    EXPECT_EQ(0, pToolBar->GetControl(1)->GetEnabled());

    // A bar's own update entries answer before the site.
    frame.m_bSaveEnabled = TRUE;
    CQXPToolBar* pOwn = pBars->Add("Own", qxpBarTop, RUNTIME_CLASS(CSelfUpdatingBar));
    ASSERT_NE(nullptr, pOwn);
    ASSERT_TRUE(pOwn->LoadToolBar(IDR_TEST_TOOLBAR));
    pBars->RecalcFrameLayout();
    CSelfUpdatingBar* pSelf = static_cast<CSelfUpdatingBar*>(pOwn);
    CQXPControl* pOwnSave = pOwn->GetControls()->FindControl(ID_TEST_SAVE);
    CQXPControl* pOwnOpen = pOwn->GetControls()->FindControl(ID_TEST_OPEN);
    ASSERT_NE(nullptr, pOwnSave);
    ASSERT_NE(nullptr, pOwnOpen);
    ::SendMessageA(pOwn->GetSafeHwnd(), WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ(0, pOwnSave->GetEnabled()) << "the bar's entry wins over the frame's";
    EXPECT_EQ(1, pOwnOpen->GetEnabled());
    EXPECT_EQ(0, pOwnOpen->GetChecked());

    pSelf->m_bReflectAll = TRUE;
    ::SendMessageA(pOwn->GetSafeHwnd(), WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_GE(pSelf->m_nReflected, 3);
    EXPECT_EQ(1, pOwnOpen->GetChecked()) << "the reflected entry took every control";
}

TEST_F(SplitButtonTest, KeyboardSelectionMovesTheOpenDropDown)
{
    // A drop-down button (the whole button opens) right after the split one.
    CQXPControlPopup* pDrop = dynamic_cast<CQXPControlPopup*>(
        pToolBar->GetControls()->Add(qxpControlButtonPopup, 0, CString(), pSplit->GetIndex() + 1));
    ASSERT_NE(nullptr, pDrop);
    pDrop->SetCaption("More");
    pDrop->SetCommandBar(pSplit->GetCommandBar());
    CQXPPopupBar* pOwnBar = CQXPPopupBar::CreateForOwner(pBars);
    pOwnBar->GetControls()->Add(qxpControlButton, ID_TEST_SAVE);
    pDrop->SetCommandBar(pOwnBar);
    pOwnBar->InternalRelease();
    pBars->RecalcFrameLayout();
    PumpPending();

    ASSERT_TRUE(pToolBar->SetPopuped(pSplit->GetIndex()));
    ASSERT_TRUE(pSplit->GetPopuped());
    // The mouse passing over the other button leaves the open popup alone.
    pToolBar->SetSelected(pDrop->GetIndex(), 1);
    EXPECT_TRUE(pSplit->GetPopuped());
    EXPECT_FALSE(pDrop->GetPopuped());
    // The keyboard moves it.
    pToolBar->SetSelected(pSplit->GetIndex(), 2);
    pToolBar->SetSelected(pDrop->GetIndex(), 2);
    EXPECT_FALSE(pSplit->GetPopuped());
    EXPECT_TRUE(pDrop->GetPopuped());
    EXPECT_EQ(pDrop->GetIndex(), pToolBar->GetPopupedIndex());
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(pOwnBar->GetSafeHwnd()) != FALSE; }));
    pToolBar->SetTrackingMode(FALSE);
    PumpPending();
    EXPECT_FALSE(pDrop->GetPopuped());
}

TEST_F(BarTest, MenuTitleLosingTheSelectionClosesItsMenu)
{
    CQXPControl* pFile = pMenuBar->GetControl(0);
    Click(pMenuBar, pFile);
    ASSERT_TRUE(PumpUntil([&] { return pFile->GetPopuped() != FALSE; }));
    ASSERT_TRUE(pMenuBar->IsTrackingMode());
    pMenuBar->SetSelected(-1, 0);
    EXPECT_FALSE(pFile->GetPopuped());
    EXPECT_EQ(-1, pMenuBar->GetPopupedIndex());
    PumpPending();
    EXPECT_FALSE(::IsWindowVisible(pFile->GetCommandBar()->GetSafeHwnd()));
    pMenuBar->SetTrackingMode(FALSE);
    PumpPending();
    EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackedCount());
}

TEST_F(BarTest, SplitItemInAMenuRunsOnItsFaceAndOpensFromItsArrow)
{
    CQXPControl* pEdit = pMenuBar->GetControl(1);
    CQXPCommandBar* pEditMenu = pEdit->GetCommandBar();
    CQXPControlPopup* pSplitItem = dynamic_cast<CQXPControlPopup*>(
        pEditMenu->GetControls()->Add(qxpControlSplitButtonPopup, ID_TEST_SAVE));
    ASSERT_NE(nullptr, pSplitItem);
    pSplitItem->SetCaption("Save as");
    // Its state is set here, not by the frame's update handler for Save.
    pSplitItem->SetFlags(qxpFlagManualUpdate);
    CQXPPopupBar* pSub = CQXPPopupBar::CreateForOwner(pBars);
    pSub->GetControls()->Add(qxpControlButton, ID_TEST_UTF8);
    pSplitItem->SetCommandBar(pSub);
    pSub->InternalRelease();

    struct Case {
        int nEnabled;
        bool bFace;
        bool bRuns;
        bool bOpens;
    } cases[] = {
        {1, true, true, false},
        {1, false, false, true},
        {4, true, false, false},
        {3, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Enabled " << c.nEnabled << (c.bFace ? " face" : " arrow"));
        frame.commands.clear();
        pSplitItem->m_bEnabled = c.nEnabled;
        Click(pMenuBar, pEdit);
        ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(pEditMenu->GetSafeHwnd()) != FALSE; }));
        CRect rc = pSplitItem->GetRect();
        CPoint pt(c.bFace ? rc.left + 8 : rc.right - 4, rc.CenterPoint().y);
        HWND hWndMenu = pEditMenu->GetSafeHwnd();
        ::PostMessageA(hWndMenu, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        ::PostMessageA(hWndMenu, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        if (c.bRuns) {
            ASSERT_TRUE(PumpUntil([&] { return !frame.commands.empty(); }));
            EXPECT_EQ(ID_TEST_SAVE, frame.commands[0]);
            PumpPending();
            EXPECT_FALSE(::IsWindowVisible(hWndMenu)) << "running the item closes the menus";
        } else if (c.bOpens) {
            EXPECT_TRUE(PumpUntil([&] { return ::IsWindow(pSub->GetSafeHwnd()) && ::IsWindowVisible(pSub->GetSafeHwnd()); }));
        } else {
            qmtest::PumpFor(400);
        }
        if (!c.bRuns) {
            EXPECT_TRUE(frame.commands.empty());
        }
        if (!c.bOpens) {
            EXPECT_FALSE(pSplitItem->GetPopuped());
        }
        pMenuBar->SetTrackingMode(FALSE);
        PumpPending();
        EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetTrackedCount());
    }
}

} // namespace

// --- a toolbar standing alone in a frame ---

namespace {

class CStandaloneFrame : public CFrameWnd {
public:
    std::vector<UINT> commands;
    void PostNcDestroy() override {}

protected:
    afx_msg void OnOpen() { commands.push_back(ID_TEST_OPEN); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CStandaloneFrame, CFrameWnd)
    ON_COMMAND(ID_TEST_OPEN, OnOpen)
END_MESSAGE_MAP()

CRect ChildRect(CWnd& parent, HWND hChild)
{
    CRect rc;
    ::GetWindowRect(hChild, &rc);
    parent.ScreenToClient(&rc);
    return rc;
}

} // namespace

// A toolbar without a manager stands alone in a window: it keeps the bar
// style it was made with, has no tracker, can neither dock nor float, takes
// a band along the top of its frame through WM_SIZEPARENT (the whole width
// when stretched, none while hidden), sends its commands to its site and
// shows tooltips of its own.
TEST(StandaloneToolBar, LaysOutAlongItsFrameAndNeitherDocksNorFloats)
{
    CStandaloneFrame frame;
    ASSERT_TRUE(frame.Create(NULL, "Standalone bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 560, 360)));
    CWnd pane;
    ASSERT_TRUE(pane.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, frame.GetSafeHwnd(),
                              (HMENU)(UINT_PTR)AFX_IDW_PANE_FIRST));
    CQXPToolBar* pBar = new CQXPToolBar;
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOOLTIPS | CBRS_TOP;
    ASSERT_TRUE(pBar->CreateToolBar(dwStyle, &frame, AFX_IDW_TOOLBAR));
    EXPECT_TRUE(pBar->IsStandalone());
    EXPECT_EQ(nullptr, pBar->GetTracker());
    EXPECT_EQ(0u, pBar->GetFlags() & 0x3Fu) << "no docking, no floating";
    EXPECT_EQ(dwStyle & 0x40FFFFu, pBar->GetBarStyle());
    EXPECT_FALSE(pBar->HasGripper());
    EXPECT_EQ(qxpBarTop, pBar->GetPosition());
    EXPECT_NE(0u, pBar->GetStyle() & WS_CHILD);
    EXPECT_NE(0u, pBar->m_nFlags & WF_TOOLTIPS);
    const UINT ids[] = {ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT};
    ASSERT_TRUE(pBar->SetButtons(ids, 3));

    frame.RecalcLayout();
    PumpPending();
    CRect rcClient;
    frame.GetClientRect(&rcClient);
    CRect rcBar = ChildRect(frame, pBar->GetSafeHwnd());
    CRect rcPane = ChildRect(frame, pane.GetSafeHwnd());
    EXPECT_EQ(CPoint(0, 0), rcBar.TopLeft());
    EXPECT_GT(rcBar.Height(), 16);
    EXPECT_LT(rcBar.Width(), rcClient.Width()) << "as wide as its buttons";
    EXPECT_EQ(rcBar.bottom, rcPane.top) << "the pane below the bar";
    EXPECT_EQ(rcClient.bottom, rcPane.bottom);
    CQXPControl* pOpen = pBar->GetControls()->FindControl(ID_TEST_OPEN);
    ASSERT_NE(nullptr, pOpen);
    EXPECT_FALSE(pOpen->GetRect().IsRectEmpty());

    // Stretched, it spans the frame.
    pBar->SetFlags(qxpFlagStretched);
    frame.RecalcLayout();
    rcBar = ChildRect(frame, pBar->GetSafeHwnd());
    EXPECT_EQ(rcClient.Width(), rcBar.Width());

    // Hidden, it takes no room; shown, it takes its band again.
    pBar->SetVisible(FALSE);
    frame.RecalcLayout();
    EXPECT_EQ(0, ChildRect(frame, pane.GetSafeHwnd()).top);
    pBar->SetVisible(TRUE);
    frame.RecalcLayout();
    EXPECT_EQ(rcBar.Height(), ChildRect(frame, pane.GetSafeHwnd()).top);

    // Neither a double click off the buttons nor a drag moves it anywhere.
    EXPECT_FALSE(pBar->ToggleDocking());
    CPoint ptEmpty(rcBar.Width() - 3, rcBar.Height() / 2);
    pBar->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(ptEmpty.x, ptEmpty.y));
    pBar->TrackMove(ptEmpty);
    PumpPending();
    EXPECT_FALSE(pBar->IsFloating());
    EXPECT_EQ(frame.GetSafeHwnd(), ::GetParent(pBar->GetSafeHwnd()));
    EXPECT_EQ(CPoint(0, 0), ChildRect(frame, pBar->GetSafeHwnd()).TopLeft());

    // Its own tooltips: the button under the mouse names itself.
    TOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    EXPECT_GE(pBar->OnToolHitTest(pOpen->GetRect().CenterPoint(), &ti), 0);
    EXPECT_EQ(pBar->GetSafeHwnd(), ti.hwnd);
    if (ti.lpszText != NULL && ti.lpszText != LPSTR_TEXTCALLBACKA)
        free(ti.lpszText);

    // Its commands go to its site, the frame.
    pOpen->OnExecute();
    PumpPending();
    EXPECT_EQ(std::vector<UINT>{ID_TEST_OPEN}, frame.commands);

    pBar->DestroyWindow();
    pBar->InternalRelease();
    pane.DestroyWindow();
    frame.DestroyWindow();
}

namespace {

// A window that stands a toolbar in it without being a frame, and counts
// the WM_SIZE it gets: the client size each carried and how deeply they
// nested. With m_pAskAgain set it asks that bar for a re-layout from inside
// its own WM_SIZE, as a careless host would.
class CCountingBarSite : public qmtest::CBarSiteWnd {
public:
    std::vector<CSize> sizes;
    int m_nDepth = 0;
    int m_nMaxDepth = 0;
    CQXPToolBar* m_pAskAgain = NULL;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_SIZE)
            return CBarSiteWnd::WindowProc(message, wParam, lParam);
        sizes.push_back(CSize(LOWORD(lParam), HIWORD(lParam)));
        m_nMaxDepth = std::max(m_nMaxDepth, ++m_nDepth);
        LRESULT lResult = CBarSiteWnd::WindowProc(message, wParam, lParam);
        if (m_pAskAgain)
            m_pAskAgain->OnRecalcLayout();
        m_nDepth--;
        return lResult;
    }
};

} // namespace

// A toolbar without a manager whose controls change width asks the window it
// stands in for its band again: one WM_SIZE with that window's client size
// per re-layout, never nested, even when the window asks the bar back. The
// same goes to that window, not to the site of the bar's commands, when the
// bar hides.
TEST(StandaloneToolBar, ARelayoutSendsItsHostOneWmSizeWithTheClientSize)
{
    CCountingBarSite host, commands;
    LPCSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
    ASSERT_TRUE(host.CreateEx(0, lpszClass, "Standalone host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 520, 240,
                              NULL, NULL));
    ASSERT_TRUE(commands.CreateEx(0, lpszClass, "Command site", WS_OVERLAPPEDWINDOW, 60, 320, 200, 100, NULL, NULL));
    CQXPToolBar* pBar = new CQXPToolBar;
    pBar->SetOwnerSite(&commands);
    ASSERT_TRUE(pBar->CreateToolBar(WS_CHILD | WS_VISIBLE, &host, AFX_IDW_TOOLBAR));
    ASSERT_TRUE(pBar->IsStandalone());
    EXPECT_EQ(host.GetSafeHwnd(), pBar->GetLayoutHost()->GetSafeHwnd());
    const UINT ids[] = {ID_TEST_OPEN, ID_TEST_SAVE};
    ASSERT_TRUE(pBar->SetButtons(ids, 2));
    CQXPControl* pBox = pBar->GetControls()->Add(qxpControlEdit, ID_TEST_UNDO);
    ASSERT_NE(nullptr, pBox);
    pBox->SetWidth(80);
    CRect rcClient;
    host.GetClientRect(&rcClient);
    host.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rcClient.Width(), rcClient.Height()));
    PumpPending();
    const int nNarrow = ChildRect(host, pBar->GetSafeHwnd()).Width();
    ASSERT_GT(nNarrow, 80) << "the host gave the bar its band";

    struct Case {
        const char* name;
        int nWidth;
        BOOL bHostAsksAgain;
    } cases[] = {{"wider", 200, FALSE}, {"narrower", 120, FALSE}, {"wider, the host asking back", 160, TRUE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.sizes.clear();
        host.m_nMaxDepth = 0;
        commands.sizes.clear();
        host.m_pAskAgain = c.bHostAsksAgain ? pBar : NULL;
        pBox->SetWidth(c.nWidth);
        // The bar's idle update carries its pending layout out.
        pBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
        EXPECT_EQ(std::vector<CSize>{rcClient.Size()}, host.sizes) << "one WM_SIZE with the host's client size";
        EXPECT_EQ(1, host.m_nMaxDepth) << "no nesting";
        EXPECT_TRUE(commands.sizes.empty()) << "the commands' site lays nothing out";
        EXPECT_EQ(nNarrow + c.nWidth - 80, ChildRect(host, pBar->GetSafeHwnd()).Width())
            << "the band follows the control";
    }
    host.m_pAskAgain = NULL;

    // Hiding gives the band back through the host as well.
    host.sizes.clear();
    pBar->SetVisible(FALSE);
    EXPECT_EQ(std::vector<CSize>{rcClient.Size()}, host.sizes);
    EXPECT_TRUE(commands.sizes.empty());
    // A hidden bar is not laid out.
    host.sizes.clear();
    pBar->OnRecalcLayout();
    EXPECT_TRUE(host.sizes.empty());

    pBar->DestroyWindow();
    pBar->InternalRelease();
    commands.DestroyWindow();
    host.DestroyWindow();
}

// A standalone toolbar too long for its frame wraps into further rows; with
// the hide-wrap flag it keeps one row instead, hides what does not fit and
// shows the expand button, whose popup offers the hidden controls. With
// room enough both keep one row and hide nothing.
TEST(StandaloneToolBar, WithTheHideWrapFlagANarrowFrameHidesInsteadOfWrapping)
{
    const UINT ids[] = {ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT, ID_TEST_UNDO, ID_TEST_ANSI, ID_TEST_UTF8};
    struct Case {
        const char* name;
        BOOL bHideWrap;
        int cxFrame;
        bool bWraps, bHides;
    } cases[] = {
        {"wide", FALSE, 900, false, false},
        {"wide, hide-wrap", TRUE, 900, false, false},
        {"narrow", FALSE, 360, true, false},
        {"narrow, hide-wrap", TRUE, 360, false, true},
    };
    int nOneRow = 0; // the height of the bar in one row
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CStandaloneFrame frame;
        ASSERT_TRUE(frame.Create(NULL, "Standalone bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 40 + c.cxFrame, 360)));
        CWnd pane;
        ASSERT_TRUE(pane.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, frame.GetSafeHwnd(),
                                  (HMENU)(UINT_PTR)AFX_IDW_PANE_FIRST));
        CQXPToolBar* pBar = new CQXPToolBar;
        ASSERT_TRUE(pBar->CreateToolBar(WS_CHILD | WS_VISIBLE | CBRS_TOP, &frame, AFX_IDW_TOOLBAR));
        // Six boxes of 100 pixels: three fit beside each other in the
        // narrow frame, all of them in the wide one.
        for (UINT nID : ids) {
            CQXPControl* pBox = pBar->GetControls()->Add(qxpControlEdit, nID);
            ASSERT_NE(nullptr, pBox);
            pBox->SetWidth(100);
        }
        if (c.bHideWrap)
            pBar->SetFlags(qxpFlagHideWrap);
        frame.RecalcLayout();
        PumpPending();

        CRect rcClient;
        frame.GetClientRect(&rcClient);
        const CRect rcBar = ChildRect(frame, pBar->GetSafeHwnd());
        EXPECT_LE(rcBar.right, rcClient.right);
        EXPECT_EQ(rcBar.bottom, ChildRect(frame, pane.GetSafeHwnd()).top) << "the pane below the bar";
        // Rows in order: a control that starts below the row so far starts
        // the next (controls of one row may differ in height).
        int nRows = 0;
        LONG nRowBottom = LONG_MIN;
        std::vector<UINT> hidden;
        for (UINT nID : ids) {
            CQXPControl* pBox = pBar->GetControls()->FindControl(nID);
            if (pBox->GetHideFlags() == qxpHideWrap) {
                hidden.push_back(nID);
                continue;
            }
            EXPECT_EQ(0u, pBox->GetHideFlags()) << nID;
            EXPECT_LE(pBox->GetRect().right, rcBar.Width()) << nID << " lies inside the bar";
            const CRect rc = pBox->GetRect();
            if (rc.top >= nRowBottom)
                nRows++;
            nRowBottom = rc.top >= nRowBottom ? rc.bottom : std::max(nRowBottom, rc.bottom);
        }
        EXPECT_EQ(c.bWraps ? 2 : 1, nRows) << "rows";
        if (nOneRow == 0)
            nOneRow = rcBar.Height();
        if (c.bWraps)
            EXPECT_GT(rcBar.Height(), nOneRow) << "wrapped rows make the band deeper";
        else
            EXPECT_EQ(nOneRow, rcBar.Height());
        CQXPControl* pExpand = pBar->GetExpandButton();
        const bool bExpandShown = pExpand && pExpand->IsVisible() && !pExpand->GetRect().IsRectEmpty();
        if (!c.bHides) {
            EXPECT_TRUE(hidden.empty());
            EXPECT_FALSE(bExpandShown) << "nothing hidden, nothing to expand";
        } else {
            // The first three fit; the rest wait behind the expand button.
            EXPECT_EQ((std::vector<UINT>{ID_TEST_UNDO, ID_TEST_ANSI, ID_TEST_UTF8}), hidden);
            ASSERT_TRUE(bExpandShown);
            EXPECT_LE(pExpand->GetRect().right, rcBar.Width());
            pBar->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
            qmtest::SaveWindowShot(pBar->GetSafeHwnd(), QM_BIN_DIR, "standalone-hide-wrap-bar.png");
            ASSERT_TRUE(pExpand->OnSetPopup(TRUE));
            CQXPCommandBar* pPopup = pExpand->GetCommandBar();
            ASSERT_NE(nullptr, pPopup);
            EXPECT_TRUE(::IsWindowVisible(pPopup->GetSafeHwnd()));
            std::vector<UINT> offered;
            for (int i = 0; i < pPopup->GetControlCount(); i++)
                offered.push_back((UINT)pPopup->GetControl(i)->GetID());
            EXPECT_EQ(hidden, offered) << "the popup offers the hidden controls";
            pExpand->OnSetPopup(FALSE);
        }

        pBar->DestroyWindow();
        pBar->InternalRelease();
        pane.DestroyWindow();
        frame.DestroyWindow();
        PumpPending();
    }
}
