// The command bars in a real MDI main frame: the maximised child's buttons
// on the menu bar, per-document menus, the expand button of a toolbar that
// does not fit, toolbar rows that wrap, large icons, the edit-box key rule
// and the look of the frame in each theme (screenshots in the build folder).
#include <qx/barstate.h>
#include <qx/controledit.h>
#include <qx/framehost.h>
#include <qx/listcontrols.h>
#include <qx/popup.h>
#include <qx/barshadow.h>
#include <qx/images.h>

#include <qxresource.h>

#include <fx/doctempl.h>
#include <fx/document.h>
#include <fx/view.h>

#include <gtest/gtest.h>
#include <qmtest/cbframe.h>
#include <qmtest/icons.h>
#include <qmtest/screenshot.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "cbtest_ids.h"
#include <qmtest/pump.h>

namespace {

using qmtest::PumpUntil;

void PumpPending()
{
    qmtest::PumpMessages();
}

class CMainTestFrame : public qmtest::CommandBarTestFrame {
public:
    CMainTestFrame()
        : CommandBarTestFrame(IDR_TEST_MENU, &m_pMenuBar, {{"Toolbar", &m_pToolBar, IDR_TEST_TOOLBAR, {}}})
    {
    }
    std::vector<UINT> commands;
    CQXPMenuBar* m_pMenuBar = NULL;
    CQXPToolBar* m_pToolBar = NULL;
    // The popup the frame hands over for a toolbar's expand button (NULL:
    // none); the records of the expand popups asked for.
    CQXPPopupBar* m_pExpandPopup = NULL;
    std::vector<QXP_CREATEBAR_RECORD> expandAsks;
    // A window the frame destroys when it hears that a popup is about to
    // open (NULL: none).
    HWND m_hWndCloseOnPopup = NULL;
    // Told that a popup is about to open, the frame asks it for a redraw
    // and notes whether the popup held its redraw lock (-1: not told).
    int nRedrawLockedOnOpen = -1;

protected:
    afx_msg LRESULT OnInitCommandsPopup(WPARAM, LPARAM lParam)
    {
        if (m_hWndCloseOnPopup && ::IsWindow(m_hWndCloseOnPopup))
            ::DestroyWindow(m_hWndCloseOnPopup);
        if (CQXPCommandBar* pPopup = (CQXPCommandBar*)lParam) {
            nRedrawLockedOnOpen = pPopup->IsRedrawLocked();
            pPopup->Redraw();
        }
        return 0;
    }
    afx_msg LRESULT OnCreateCommandBar(WPARAM, LPARAM lParam)
    {
        QXP_CREATEBAR_RECORD* pRec = (QXP_CREATEBAR_RECORD*)lParam;
        if (pRec->nID != QXP_ID_TOOLBAR_EXPAND)
            return 0;
        expandAsks.push_back(*pRec);
        if (!m_pExpandPopup)
            return 0;
        pRec->pCommandBar = m_pExpandPopup;
        return 1;
    }
    afx_msg void OnOpen() { commands.push_back(ID_TEST_OPEN); }
    afx_msg void OnSave() { commands.push_back(ID_TEST_SAVE); }
    afx_msg void OnExit() { commands.push_back(ID_TEST_EXIT); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMainTestFrame, qmtest::CommandBarTestFrame)
    ON_MESSAGE(WM_COMMANDBARS_CREATECOMMANDBAR, OnCreateCommandBar)
    ON_MESSAGE(WM_QXP_INITCOMMANDSPOPUP, OnInitCommandsPopup)
    ON_COMMAND(ID_TEST_OPEN, OnOpen)
    ON_COMMAND(ID_TEST_SAVE, OnSave)
    ON_COMMAND(ID_TEST_EXIT, OnExit)
END_MESSAGE_MAP()

class CTestChild : public CMDIChildWnd {
public:
    void PostNcDestroy() override { delete this; }
};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.Create(NULL, "Command bars frame test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 CRect(0, 0, 720, 480)));
        pBars = frame.GetCommandBars();
        ASSERT_NE(nullptr, pBars);
        frame.RecalcLayout();
        PumpPending();
    }
    void TearDown() override
    {
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        PumpPending();
        SetGlobalPaintManager(0);
    }
    HWND NewChild(DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW)
    {
        CTestChild* pChild = new CTestChild;
        if (!pChild->Create(NULL, "Document", dwStyle, CRect(10, 10, 300, 200), &frame)) {
            delete pChild;
            return NULL;
        }
        PumpPending();
        return pChild->GetSafeHwnd();
    }
    // A second bar (Undo, ANSI, UTF-8) docked in the toolbar's row, right of
    // it; both hide what does not fit rather than wrap.
    CQXPToolBar* DockSecondBarBeside()
    {
        frame.m_pToolBar->SetFlags(qxpFlagHideWrap);
        CQXPToolBar* pSecond = pBars->Add("Second", qxpBarTop);
        if (!pSecond)
            return NULL;
        const UINT ids[] = {ID_TEST_UNDO, ID_TEST_ANSI, ID_TEST_UTF8};
        pSecond->SetButtons(ids, 3);
        pSecond->SetFlags(qxpFlagHideWrap);
        frame.RecalcLayout();
        CRect rcFirst;
        ::GetWindowRect(frame.m_pToolBar->GetSafeHwnd(), &rcFirst);
        CRect rcDrop(rcFirst.right + 4, rcFirst.top, rcFirst.right + 80, rcFirst.bottom);
        pBars->GetDockBar(qxpBarTop)->DockCommandBar(pSecond, &rcDrop);
        frame.RecalcLayout();
        return pSecond;
    }
    std::vector<int> Ids(CQXPCommandBar* pBar)
    {
        std::vector<int> ids;
        for (int i = 0; i < pBar->GetControlCount(); i++)
            ids.push_back(pBar->GetControl(i)->GetID());
        return ids;
    }
    BOOL HasControl(CQXPCommandBar* pBar, int nId)
    {
        return pBar->GetControls()->FindControl(0, nId, FALSE, FALSE) != NULL;
    }

    CMainTestFrame frame;
    CQXPCommandBars* pBars = NULL;
};

// ---------------------------------------------------------------------------
// The maximised child on the menu bar

TEST_F(FrameTest, MaximisedChildLendsTheMenuBarItsSystemMenuAndCaptionButtons)
{
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    pMenuBar->SetFlags(qxpFlagShowMDISysMenu);
    EXPECT_EQ((HMENU)NULL, ::GetMenu(frame.GetSafeHwnd())) << "the bar replaces the Windows menu";
    HWND hChild = NewChild();
    ASSERT_NE((HWND)NULL, hChild);
    int nTitles = pMenuBar->GetControlCount();
    EXPECT_FALSE(HasControl(pMenuBar, QXP_ID_MDI_CLOSE)) << "a normal child lends nothing";

    frame.MDIMaximize(CWnd::FromHandle(hChild));
    ASSERT_TRUE(PumpUntil([&] { return HasControl(pMenuBar, QXP_ID_MDI_CLOSE); }));
    std::vector<int> ids = Ids(pMenuBar);
    ASSERT_EQ((size_t)nTitles + 4, ids.size());
    EXPECT_EQ(QXP_ID_MDI_SYSMENU, ids.front()) << "the system-menu icon comes first";
    std::vector<int> tail(ids.end() - 3, ids.end());
    EXPECT_EQ((std::vector<int>{QXP_ID_MDI_MINIMIZE, QXP_ID_MDI_RESTORE, QXP_ID_MDI_CLOSE}), tail);
    EXPECT_EQ(std::string("r"), std::string(pMenuBar->GetControls()->FindControl(QXP_ID_MDI_CLOSE)->GetParameter()));
    EXPECT_EQ((HMENU)NULL, ::GetMenu(frame.GetSafeHwnd())) << "maximising brings no Windows menu back";

    // The buttons sit at the right end of the bar, inside it.
    CRect rcBar;
    pMenuBar->GetClientRect(&rcBar);
    CRect rcClose = pMenuBar->GetControls()->FindControl(QXP_ID_MDI_CLOSE)->GetRect();
    EXPECT_GT(rcClose.left, rcBar.Width() / 2);
    EXPECT_LE(rcClose.right, rcBar.right);

    // The system-menu popup holds the child's system commands and sends
    // them to the child.
    CQXPControl* pSys = pMenuBar->GetControl(0);
    ASSERT_NE(nullptr, pSys->GetCommandBar());
    EXPECT_NE(nullptr, pSys->GetCommandBar()->GetControls()->FindControl(SC_CLOSE));

    // The restore button restores the child: the buttons go.
    CQXPControl* pRestore = pMenuBar->GetControls()->FindControl(QXP_ID_MDI_RESTORE);
    pRestore->OnExecute();
    ASSERT_TRUE(PumpUntil([&] { return !HasControl(pMenuBar, QXP_ID_MDI_CLOSE); }));
    EXPECT_FALSE(::IsZoomed(hChild));
    EXPECT_EQ(nTitles, pMenuBar->GetControlCount());
}

// The system menu opens below the icon with one pixel around the icon left
// uncovered, keeps the shortcut texts of the child's system menu although
// the frame's shortcut table has no key for those commands, and follows the
// active child.
TEST_F(FrameTest, SystemMenuPopupKeepsItsOwnShortcutTextsAndFollowsTheActiveChild)
{
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    pMenuBar->SetFlags(qxpFlagShowMDISysMenu);
    const ACCEL open = {FVIRTKEY | FCONTROL, 'O', ID_TEST_OPEN};
    pBars->GetKeyboardShortcuts()->SetAcceleratorTable(&open, 1);
    pBars->GetOptions()->m_bMenuShortcuts = TRUE;
    HWND hFirst = NewChild();
    ASSERT_NE((HWND)NULL, hFirst);
    frame.MDIMaximize(CWnd::FromHandle(hFirst));
    ASSERT_TRUE(PumpUntil([&] { return HasControl(pMenuBar, QXP_ID_MDI_SYSMENU); }));
    CQXPControl* pSys = pMenuBar->GetControls()->FindControl(0, QXP_ID_MDI_SYSMENU, FALSE, FALSE);
    CQXPPopupBar* pPopup = dynamic_cast<CQXPMDISysMenuPopupBar*>(pSys->GetCommandBar());
    ASSERT_NE(nullptr, pPopup) << "the system menu has a popup of its own kind";

    // What the system menu itself gives as the Close item's shortcut.
    CString strMenu;
    ::GetMenuStringA(::GetSystemMenu(hFirst, FALSE), SC_CLOSE, strMenu.GetBuffer(256), 256, MF_BYCOMMAND);
    strMenu.ReleaseBuffer();
    int nTab = strMenu.Find('\t');
    ASSERT_GE(nTab, 0) << "the child's Close item names its shortcut";
    CString strShortcut = strMenu.Mid(nTab + 1);

    ASSERT_TRUE(pMenuBar->SetPopuped(pSys->GetIndex()));
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(pPopup->GetSafeHwnd()); }));
    CQXPControl* pClose = pPopup->GetControls()->FindControl(SC_CLOSE);
    ASSERT_NE(nullptr, pClose);
    EXPECT_EQ(std::string(strShortcut), std::string(pClose->GetShortcutText()))
        << "the shortcut table has no key for Close; the system menu's text stays";
    EXPECT_EQ(std::string(strMenu.Left(nTab)), std::string(pClose->GetCaption()));

    // Placement: below the icon, one pixel off it on the left and below.
    CRect rcIcon = pSys->GetRect();
    pMenuBar->ClientToScreen(&rcIcon);
    CRect rcPopup;
    ::GetWindowRect(pPopup->GetSafeHwnd(), &rcPopup);
    EXPECT_EQ(rcIcon.bottom + 1, rcPopup.top);
    EXPECT_EQ(rcIcon.left - 1, rcPopup.left);
    pMenuBar->SetPopuped(-1);
    PumpPending();

    // A second child whose system menu has no Move item: the popup is
    // rebuilt from it, and its Close goes to that child.
    HWND hSecond = NewChild();
    ASSERT_NE((HWND)NULL, hSecond);
    ::DeleteMenu(::GetSystemMenu(hSecond, FALSE), SC_MOVE, MF_BYCOMMAND);
    frame.MDIActivate(CWnd::FromHandle(hSecond));
    frame.MDIMaximize(CWnd::FromHandle(hSecond));
    ASSERT_TRUE(PumpUntil([&] {
        CQXPControl* p = pMenuBar->GetControls()->FindControl(0, QXP_ID_MDI_SYSMENU, FALSE, FALSE);
        return p && p->GetCommandBar() && !p->GetCommandBar()->GetControls()->FindControl(SC_MOVE);
    }));
    pSys = pMenuBar->GetControls()->FindControl(0, QXP_ID_MDI_SYSMENU, FALSE, FALSE);
    pClose = pSys->GetCommandBar()->GetControls()->FindControl(SC_CLOSE);
    ASSERT_NE(nullptr, pClose);
    pClose->OnExecute();
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(hSecond); }));
    EXPECT_TRUE(::IsWindow(hFirst)) << "only the active child closes";
}

// Menus opening leftward: a title marked so, or any title of a frame laid
// out right to left, right-aligns its menu under it, and a submenu of a menu
// that went leftward goes on leftward though there is room on the right.
TEST_F(FrameTest, MenusThatOpenLeftwardKeepGoingLeftward)
{
    frame.SetWindowPos(NULL, 360, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpPending();
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    CQXPControl* pEditTitle = pMenuBar->GetControl(1);
    pEditTitle->SetFlags(pEditTitle->GetFlags() | qxpFlagLeftPopup);
    CQXPCommandBar* pEdit = pEditTitle->GetCommandBar();
    ASSERT_NE(nullptr, pEdit);
    auto screenRect = [](CQXPCommandBar* pBar, CQXPControl* pControl) {
        CRect rc = pControl->GetRect();
        pBar->ClientToScreen(&rc);
        return rc;
    };
    auto windowRect = [](CQXPCommandBar* pBar) {
        CRect rc;
        ::GetWindowRect(pBar->GetSafeHwnd(), &rc);
        return rc;
    };

    ASSERT_TRUE(pMenuBar->SetPopuped(1));
    CRect rcTitle = screenRect(pMenuBar, pEditTitle);
    CRect rcEdit = windowRect(pEdit);
    // The default theme keeps a pixel between a title and its menu and lets
    // a submenu overlap its menu's edge by one.
    EXPECT_EQ(rcTitle.right, rcEdit.right) << "right-aligned under its title";
    EXPECT_EQ(rcTitle.bottom + 1, rcEdit.top);

    CQXPControl* pEncoding = pEdit->GetControl(1);
    ASSERT_NE(nullptr, pEncoding->GetCommandBar());
    ASSERT_TRUE(pEdit->SetPopuped(1));
    CRect rcItem = screenRect(pEdit, pEncoding);
    CRect rcSub = windowRect(pEncoding->GetCommandBar());
    EXPECT_EQ(rcItem.left + 1, rcSub.right) << "the submenu opens left of its item";
    EXPECT_EQ(rcItem.top, rcSub.top);
    pMenuBar->SetPopuped(-1);
    PumpPending();

    // A right-to-left frame: every title's menu opens leftward.
    frame.ModifyStyleEx(0, WS_EX_LAYOUTRTL);
    CQXPControl* pFileTitle = pMenuBar->GetControl(0);
    CQXPCommandBar* pFile = pFileTitle->GetCommandBar();
    if (::IsWindow(pFile->GetSafeHwnd()))
        pFile->DestroyWindow();
    ASSERT_TRUE(pMenuBar->SetPopuped(0));
    EXPECT_EQ(screenRect(pMenuBar, pFileTitle).right, windowRect(pFile).right);
    pMenuBar->SetPopuped(-1);
    PumpPending();
    frame.ModifyStyleEx(WS_EX_LAYOUTRTL, 0);
}

// The frame closes a toolbar while a drop-down of it prepares to open: the
// drop-down does not open, leaves no window behind and the button is up.
TEST_F(FrameTest, ADropDownWhoseBarClosesWhileItOpensDoesNotOpen)
{
    CQXPToolBar* pBar = pBars->Add("Closing", qxpBarTop);
    ASSERT_NE(nullptr, pBar);
    CQXPControlPopup* pDrop = dynamic_cast<CQXPControlPopup*>(pBar->GetControls()->Add(qxpControlButtonPopup, ID_TEST_SAVE));
    ASSERT_NE(nullptr, pDrop);
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    pPopup->GetControls()->Add(qxpControlButton, ID_TEST_OPEN);
    pDrop->SetCommandBar(pPopup);
    pPopup->InternalRelease();
    frame.RecalcLayout();
    PumpPending();

    frame.m_hWndCloseOnPopup = pBar->GetSafeHwnd();
    EXPECT_FALSE(pDrop->OnSetPopup(TRUE));
    frame.m_hWndCloseOnPopup = NULL;
    EXPECT_FALSE(::IsWindow(pBar->GetSafeHwnd()));
    EXPECT_FALSE(::IsWindow(pPopup->GetSafeHwnd())) << "no popup window stays behind";
    EXPECT_FALSE(pPopup->IsTrackingMode());
    EXPECT_FALSE(pDrop->GetPopuped());
    pBars->Remove(pBar);
}

// A bar under its redraw lock is only marked for a redraw; the last
// release carries one redraw out. A popup holds the lock while it opens:
// what the site asks for then is drawn once it shows.
TEST_F(FrameTest, RedrawLockMarksTheBarAndItsLastReleaseRedraws)
{
    CQXPToolBar* pBar = frame.m_pToolBar;
    HWND hWnd = pBar->GetSafeHwnd();
    auto invalid = [&] {
        RECT rc;
        return ::GetUpdateRect(hWnd, &rc, FALSE) != FALSE;
    };
    ::ValidateRect(hWnd, NULL);
    pBar->LockRedraw();
    pBar->LockRedraw();
    EXPECT_TRUE(pBar->IsRedrawLocked());
    pBar->Redraw();
    CRect rcPart(0, 0, 4, 4);
    pBar->Redraw(&rcPart);
    EXPECT_FALSE(invalid()) << "only marked";
    EXPECT_EQ(qxpPendingRedraw, pBar->GetPending() & qxpPendingRedraw);
    pBar->UnlockRedraw();
    EXPECT_FALSE(invalid()) << "one hold left";
    pBar->UnlockRedraw();
    EXPECT_FALSE(pBar->IsRedrawLocked());
    EXPECT_TRUE(invalid()) << "the marked redraw happens now";
    EXPECT_EQ(0, pBar->GetPending() & qxpPendingRedraw);

    // Nothing marked, nothing drawn; a release too many changes nothing.
    ::ValidateRect(hWnd, NULL);
    pBar->LockRedraw();
    pBar->UnlockRedraw();
    pBar->UnlockRedraw();
    EXPECT_FALSE(invalid());
    EXPECT_FALSE(pBar->IsRedrawLocked());
    // A whole-bar redraw settles a delayed one; a part of the bar does not.
    pBar->DelayRedraw();
    pBar->Redraw(&rcPart);
    EXPECT_EQ(qxpPendingRedraw, pBar->GetPending() & qxpPendingRedraw);
    pBar->Redraw();
    EXPECT_EQ(0, pBar->GetPending() & qxpPendingRedraw);

    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    pPopup->GetControls()->Add(qxpControlButton, ID_TEST_OPEN)->SetCaption("Open");
    ASSERT_TRUE(pPopup->PopupAt(80, 80, NULL));
    EXPECT_EQ(1, frame.nRedrawLockedOnOpen) << "locked while it opens";
    EXPECT_FALSE(pPopup->IsRedrawLocked());
    EXPECT_EQ(0, pPopup->GetPending() & qxpPendingRedraw) << "the site's redraw was carried out";
    pPopup->SetTrackingMode(FALSE);
    pPopup->DestroyWindow();
    pPopup->InternalRelease();
    frame.nRedrawLockedOnOpen = -1;
}

// Loading a menu into a bar asks the bar's frame for a delayed menu and
// layout update (idle flags 4 and 8), which the frame's idle update then
// carries out; a bar without a window has no frame to ask.
TEST_F(FrameTest, LoadingAMenuAsksTheFrameForItsDelayedUpdate)
{
    const UINT nAsked = CFrameWnd::idleNotify | CFrameWnd::idleLayout;
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    frame.m_nIdleFlags = 0;
    EXPECT_TRUE(frame.m_pMenuBar->LoadMenu(&menu, TRUE));
    EXPECT_EQ(nAsked, frame.m_nIdleFlags & nAsked);
    frame.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ(0u, frame.m_nIdleFlags & nAsked) << "done at the frame's idle time";

    frame.m_nIdleFlags = 0;
    CMenu none;
    EXPECT_FALSE(frame.m_pMenuBar->LoadMenu(&none, TRUE));
    EXPECT_EQ(0u, frame.m_nIdleFlags) << "no menu, nothing asked";
    CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(pBars);
    CMenu* pFile = menu.GetSubMenu(0);
    ASSERT_NE(nullptr, pFile);
    EXPECT_TRUE(pPopup->LoadMenu(pFile, TRUE));
    EXPECT_GT(pPopup->GetControlCount(), 0);
    EXPECT_EQ(0u, frame.m_nIdleFlags) << "a popup without a window";
    pPopup->InternalRelease();
    menu.DestroyMenu();
}

TEST_F(FrameTest, ButtonsFollowTheChildsStyleAndTheBarFlags)
{
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    HWND hChild = NewChild(WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX);
    ASSERT_NE((HWND)NULL, hChild);
    frame.MDIMaximize(CWnd::FromHandle(hChild));
    ASSERT_TRUE(PumpUntil([&] { return HasControl(pMenuBar, QXP_ID_MDI_CLOSE); }));
    EXPECT_FALSE(HasControl(pMenuBar, QXP_ID_MDI_MINIMIZE)) << "no minimize box, no minimize button";
    EXPECT_TRUE(HasControl(pMenuBar, QXP_ID_MDI_RESTORE));
    EXPECT_FALSE(HasControl(pMenuBar, QXP_ID_MDI_SYSMENU)) << "the icon is off unless the bar asks for it";

    // Document tabs hide the buttons (flags 0x1300), and taking the flags
    // away brings them back.
    pMenuBar->SetFlags(qxpFlagHideMDIButtons);
    pMenuBar->RefreshMdiButtons();
    EXPECT_FALSE(HasControl(pMenuBar, QXP_ID_MDI_RESTORE));
    EXPECT_FALSE(HasControl(pMenuBar, QXP_ID_MDI_CLOSE));
    pMenuBar->SetFlags(0, qxpFlagHideMDIButtons);
    pMenuBar->RefreshMdiButtons();
    EXPECT_TRUE(HasControl(pMenuBar, QXP_ID_MDI_CLOSE));

    // Closing the maximised child takes the buttons away.
    ::SendMessageA(frame.m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)hChild, 0);
    ASSERT_TRUE(PumpUntil([&] { return !HasControl(pMenuBar, QXP_ID_MDI_CLOSE); }));
}

// The menu bar's client area printed into a bitmap of its size; the
// colour at a point of it.
struct BarPrint {
    explicit BarPrint(CWnd* pBar)
    {
        CRect rc;
        pBar->GetClientRect(&rc);
        CClientDC dcWindow(pBar);
        dc.CreateCompatibleDC(&dcWindow);
        bmp.CreateCompatibleBitmap(&dcWindow, rc.Width(), rc.Height());
        pOld = dc.SelectObject(&bmp);
        ::SendMessageA(pBar->GetSafeHwnd(), WM_PRINTCLIENT, (WPARAM)dc.GetSafeHdc(), PRF_CLIENT);
    }
    ~BarPrint() { dc.SelectObject(pOld); }
    COLORREF At(CPoint pt) { return dc.GetPixel(pt); }
    CDC dc;
    CBitmap bmp;
    CBitmap* pOld = NULL;
};

// The caption buttons of a maximised child draw their glyphs of the Marlett
// font ("0" minimize, "2" restore, "r" close) in the text colour over the
// button background; a picture the image manager keeps under a system
// command does not replace them. The bar is captured for review.
TEST_F(FrameTest, CaptionButtonsDrawMarlettGlyphs)
{
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    CQXPImageManager* pImages = pMenuBar->GetImageManager();
    ASSERT_NE(nullptr, pImages);
    // The pictures of the caption commands are still there for others.
    for (UINT nCommand : {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE})
        EXPECT_TRUE(pImages->HasOwnImage(nCommand, 16)) << "system command " << std::hex << nCommand;

    HWND hChild = NewChild();
    ASSERT_NE((HWND)NULL, hChild);
    frame.MDIMaximize(CWnd::FromHandle(hChild));
    ASSERT_TRUE(PumpUntil([&] { return HasControl(pMenuBar, QXP_ID_MDI_CLOSE); }));
    PumpPending();
    struct Button {
        int nId;
        const char* pszGlyph;
    } buttons[] = {{QXP_ID_MDI_MINIMIZE, "0"}, {QXP_ID_MDI_RESTORE, "2"}, {QXP_ID_MDI_CLOSE, "r"}};
    for (const Button& b : buttons) {
        CQXPControl* pButton = pMenuBar->GetControls()->FindControl(b.nId);
        ASSERT_NE(nullptr, pButton) << b.nId;
        EXPECT_EQ(std::string(b.pszGlyph), std::string(pButton->GetParameter())) << b.nId;
        EXPECT_EQ(16, pButton->GetRect().Width()) << b.nId;
    }

    // A green close picture under SC_CLOSE: the glyphs stay.
    HICON hGreen = qmtest::SolidIcon(RGB(0, 160, 0));
    ASSERT_TRUE(pImages->SetIcon(hGreen, SC_CLOSE, 16, 16));
    ::DestroyIcon(hGreen);
    const COLORREF clrText = pMenuBar->GetPaintManager()->GetControlTextColor(
        pMenuBar->GetControls()->FindControl(QXP_ID_MDI_CLOSE));
    // Glyphs are smoothed: ink is what stands out from the button's
    // background (its corner); the darkest ink of all is the text colour (a
    // thin stroke may only reach grey).
    auto Distance = [](COLORREF a, COLORREF b) {
        return abs(GetRValue(a) - GetRValue(b)) + abs(GetGValue(a) - GetGValue(b)) + abs(GetBValue(a) - GetBValue(b));
    };
    std::vector<std::vector<bool>> shapes;
    COLORREF clrDarkest = CLR_INVALID;
    {
        BarPrint print(pMenuBar);
        for (const Button& b : buttons) {
            SCOPED_TRACE(b.pszGlyph);
            const CRect rc = pMenuBar->GetControls()->FindControl(b.nId)->GetRect();
            const COLORREF clrBack = print.At(rc.TopLeft());
            std::vector<bool> inked;
            int nInk = 0, nGreen = 0;
            for (int y = rc.top; y < rc.bottom; y++)
                for (int x = rc.left; x < rc.right; x++) {
                    const COLORREF clr = print.At(CPoint(x, y));
                    const bool bInk = Distance(clr, clrBack) > 90;
                    inked.push_back(bInk);
                    nInk += bInk ? 1 : 0;
                    if (clrDarkest == CLR_INVALID || Distance(clr, clrText) < Distance(clrDarkest, clrText))
                        clrDarkest = clr;
                    if (GetGValue(clr) > GetRValue(clr) + 60 && GetGValue(clr) > GetBValue(clr) + 60)
                        nGreen++;
                }
            // A glyph inks a handful of pixels, not the whole button.
            EXPECT_GT(nInk, 4);
            EXPECT_LT(nInk, rc.Width() * rc.Height() / 2);
            EXPECT_EQ(0, nGreen) << "no picture drawn";
            shapes.push_back(inked);
        }
    }
    EXPECT_LT(Distance(clrDarkest, clrText), 60) << std::hex << clrDarkest;
    EXPECT_NE(shapes[0], shapes[1]) << "minimize and restore differ";
    EXPECT_NE(shapes[1], shapes[2]) << "restore and close differ";

    // The bar with the maximised document's buttons, for review.
    std::string strDir = QM_BIN_DIR;
    strDir += "/../screenshots";
    ::CreateDirectoryA(strDir.c_str(), NULL);
    ::RedrawWindow(pMenuBar->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpPending();
    CRect rcBar;
    pMenuBar->GetWindowRect(&rcBar);
    EXPECT_TRUE(qmtest::SaveScreenPng(rcBar, strDir + "/menubar-mdi-buttons.png"));

    // The toolkit's pictures back for the tests that follow.
    const UINT commands[] = {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE};
    EXPECT_TRUE(pImages->SetIconsFromResource(QX_IDB_MDI_BUTTONS, commands, 4, 16, 16));
}

TEST_F(FrameTest, DocumentMenusSwitchAndKeepTheirCustomisation)
{
    // Each document menu keeps its own controls only where they can be
    // customised.
    frame.m_bCustomizeAllowed = TRUE;
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    HMENU hFrameMenu = pMenuBar->GetFrameMenu();
    // A document menu: "&Document" then "&Tools".
    HMENU hDocMenu = ::CreateMenu();
    HMENU hPopup = ::CreatePopupMenu();
    ::AppendMenuA(hPopup, MF_STRING, ID_TEST_SAVE, "&Save");
    ::AppendMenuA(hDocMenu, MF_POPUP, (UINT_PTR)hPopup, "&Document");
    ::AppendMenuA(hDocMenu, MF_POPUP, (UINT_PTR)::CreatePopupMenu(), "&Tools");

    ::SendMessageA(frame.m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hDocMenu, 0);
    EXPECT_EQ((HMENU)NULL, ::GetMenu(frame.GetSafeHwnd()));
    ASSERT_EQ(2, pMenuBar->GetControlCount());
    EXPECT_EQ(std::string("&Document"), std::string(pMenuBar->GetControl(0)->GetCaption()));
    pMenuBar->GetControl(1)->SetCaption("&Extras");

    // Back to the frame's menu (the default resource), then to the
    // document menu again: its renamed title is still there.
    ::SendMessageA(frame.m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hFrameMenu, 0);
    EXPECT_EQ(IDR_TEST_MENU, pMenuBar->GetCurrentMenuId());
    EXPECT_EQ(std::string("&File"), std::string(pMenuBar->GetControl(0)->GetCaption()));
    ::SendMessageA(frame.m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hDocMenu, 0);
    ASSERT_EQ(2, pMenuBar->GetControlCount());
    EXPECT_EQ(std::string("&Extras"), std::string(pMenuBar->GetControl(1)->GetCaption()));
    ::SendMessageA(frame.m_hWndMDIClient, WM_MDISETMENU, 0, 0);
    EXPECT_EQ(IDR_TEST_MENU, pMenuBar->GetCurrentMenuId()) << "no menu means the frame's own";
    ::DestroyMenu(hDocMenu);
}

// The program's document manager with one template, the note document of
// menu IDR_TEST_DOCMENU, for the life of the object.
struct NoteTemplate {
    NoteTemplate()
    {
        fx::SetDocManager(&docManager, NULL);
        pTemplate = new CMultiDocTemplate(IDR_TEST_DOCMENU, RUNTIME_CLASS(CDocument), RUNTIME_CLASS(CMDIChildWnd),
                                          RUNTIME_CLASS(CView));
        docManager.AddDocTemplate(pTemplate);
    }
    ~NoteTemplate() { fx::SetDocManager(NULL, NULL); }
    CDocManager docManager;
    CMultiDocTemplate* pTemplate = NULL;
};

// Each document menu the bar keeps is a record with its template's names,
// its resource's icon and whether the user changed it.
TEST_F(FrameTest, DocumentMenuRecordsCarryTheTemplatesNamesIconAndChangedFlag)
{
    // Each document menu keeps its own controls only where they can be
    // customised.
    frame.m_bCustomizeAllowed = TRUE;
    NoteTemplate notes;
    CMultiDocTemplate* pTemplate = notes.pTemplate;
    ASSERT_NE((HMENU)NULL, pTemplate->m_hMenuShared);

    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    pMenuBar->SwitchMenu(IDR_TEST_DOCMENU, pTemplate->m_hMenuShared);
    ASSERT_EQ((UINT)IDR_TEST_DOCMENU, pMenuBar->GetCurrentMenuId());
    CQXPMenuBarMDIMenuInfo* pDoc = pMenuBar->FindMDIMenu(IDR_TEST_DOCMENU);
    CQXPMenuBarMDIMenuInfo* pDefault = pMenuBar->FindMDIMenu(IDR_TEST_MENU);
    ASSERT_NE(nullptr, pDoc);
    ASSERT_NE(nullptr, pDefault);
    EXPECT_EQ((UINT)IDR_TEST_DOCMENU, pDoc->m_nIDResource);
    EXPECT_EQ(CString("Note"), pDoc->m_strTitle);
    EXPECT_EQ(CString("Test Note File"), pDoc->m_strDescription);
    ASSERT_NE((HICON)NULL, pDoc->m_hIcon);
    ICONINFO ii = {};
    ASSERT_TRUE(::GetIconInfo(pDoc->m_hIcon, &ii));
    BITMAP bm = {};
    ::GetObjectA(ii.hbmColor ? ii.hbmColor : ii.hbmMask, sizeof(bm), &bm);
    EXPECT_GT(bm.bmWidth, 0);
    if (ii.hbmColor)
        ::DeleteObject(ii.hbmColor);
    ::DeleteObject(ii.hbmMask);
    // The frame's own menu has no template: no names, no icon.
    EXPECT_TRUE(pDefault->m_strTitle.IsEmpty());
    EXPECT_EQ((HICON)NULL, pDefault->m_hIcon);
    // The menu shown shares its controls with the bar.
    EXPECT_EQ(pMenuBar->GetControls(), pDoc->GetControls());
    EXPECT_EQ(std::string("&Notes"), std::string(pMenuBar->GetControl(0)->GetCaption()));

    // A change to the document menu marks its record, and only its record,
    // once the frame's menu is shown again.
    EXPECT_FALSE(pDoc->UpdateChanged());
    pMenuBar->GetControl(1)->SetCaption("&Extras");
    pMenuBar->SwitchMenu(IDR_TEST_MENU, pMenuBar->GetFrameMenu());
    EXPECT_EQ(std::string("&File"), std::string(pMenuBar->GetControl(0)->GetCaption()));
    EXPECT_TRUE(pMenuBar->CanReset()) << "a document menu not shown was changed";
    EXPECT_TRUE(pDoc->m_bChanged);
    EXPECT_FALSE(pDefault->UpdateChanged());
    EXPECT_EQ(std::string("&Extras"), std::string(pDoc->GetControls()->GetAt(1)->GetCaption()));
}

// A copy of the menu bar keeps a record of each document menu sharing that
// menu's controls; either bar can go without taking the other's menus along.
TEST_F(FrameTest, MenuBarCopiesShareDocumentMenusAndOutliveEachOther)
{
    // Each document menu keeps its own controls only where they can be
    // customised.
    frame.m_bCustomizeAllowed = TRUE;
    NoteTemplate notes;
    CMultiDocTemplate* pTemplate = notes.pTemplate;
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    pMenuBar->SwitchMenu(IDR_TEST_DOCMENU, pTemplate->m_hMenuShared);
    pMenuBar->GetControl(1)->SetCaption("&Extras");
    pMenuBar->SwitchMenu(IDR_TEST_MENU, pMenuBar->GetFrameMenu());
    CQXPMenuBarMDIMenuInfo* pDoc = pMenuBar->FindMDIMenu(IDR_TEST_DOCMENU);
    ASSERT_NE(nullptr, pDoc);
    CQXPControls* pDocControls = pDoc->GetControls();
    const int nDocControls = pDocControls->GetCount();
    auto refs = [](CCmdTarget* p) {
        DWORD n = p->InternalAddRef();
        p->InternalRelease();
        return n - 1;
    };
    const DWORD nRefsBefore = refs(pDocControls);

    CQXPMenuBar* pCopy = static_cast<CQXPMenuBar*>(pMenuBar->Clone(FALSE));
    ASSERT_NE(nullptr, pCopy);
    EXPECT_EQ(pMenuBar->m_nIDResource, pCopy->m_nIDResource);
    EXPECT_EQ((UINT)IDR_TEST_MENU, pCopy->GetCurrentMenuId());
    CQXPMenuBarMDIMenuInfo* pCopied = pCopy->FindMDIMenu(IDR_TEST_DOCMENU);
    ASSERT_NE(nullptr, pCopied);
    EXPECT_NE(pDoc, pCopied) << "a record of its own";
    EXPECT_EQ(pDocControls, pCopied->GetControls()) << "the document menu's controls are shared";
    EXPECT_EQ(nRefsBefore + 1, refs(pDocControls));
    EXPECT_EQ(pDoc->m_strTitle, pCopied->m_strTitle);
    EXPECT_EQ(pDoc->m_strDescription, pCopied->m_strDescription);
    ASSERT_NE((HICON)NULL, pCopied->m_hIcon);
    EXPECT_NE(pDoc->m_hIcon, pCopied->m_hIcon) << "each record destroys its own icon";
    if (CQXPMenuBarMDIMenuInfo* pShown = pCopy->FindMDIMenu(IDR_TEST_MENU))
        EXPECT_EQ(pCopy->GetControls(), pShown->GetControls()) << "the menu shown is the copy's own";
    EXPECT_NE(pMenuBar->GetControls(), pCopy->GetControls());

    // A copy of the copy; the first copy shows the document menu and goes.
    CQXPMenuBar* pSecond = static_cast<CQXPMenuBar*>(pCopy->Clone(FALSE));
    ASSERT_NE(nullptr, pSecond);
    pCopy->SwitchMenu(IDR_TEST_DOCMENU, NULL);
    ASSERT_EQ(pDocControls, pCopy->GetControls());
    pCopy->InternalRelease();
    ASSERT_EQ(nDocControls, pDocControls->GetCount()) << "the bar's end left the shared menu whole";
    EXPECT_EQ(std::string("&Extras"), std::string(pDocControls->GetAt(1)->GetCaption()));
    EXPECT_EQ(pDocControls, pSecond->FindMDIMenu(IDR_TEST_DOCMENU)->GetControls());
    pSecond->InternalRelease();
    EXPECT_EQ(nRefsBefore, refs(pDocControls)) << "every copy gave its references back";

    // The bar itself still shows its document menu as it was.
    pMenuBar->SwitchMenu(IDR_TEST_DOCMENU, pTemplate->m_hMenuShared);
    EXPECT_EQ(pDocControls, pMenuBar->GetControls());
    ASSERT_EQ(nDocControls, pMenuBar->GetControlCount());
    EXPECT_EQ(std::string("&Extras"), std::string(pMenuBar->GetControl(1)->GetCaption()));
    EXPECT_EQ(pMenuBar, pMenuBar->GetControl(1)->GetParent());
    pMenuBar->SwitchMenu(IDR_TEST_MENU, pMenuBar->GetFrameMenu());
}

// A stored document menu whose controls came without the program's originals
// (a layout saved without them) gets them from the menu when it is shown,
// so it counts as changed only when it differs from the menu.
TEST_F(FrameTest, ADocumentMenuWithoutOriginalsTakesThemFromItsMenu)
{
    frame.m_bCustomizeAllowed = TRUE;
    NoteTemplate notes;
    CMultiDocTemplate* pTemplate = notes.pTemplate;
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    pMenuBar->SwitchMenu(IDR_TEST_DOCMENU, pTemplate->m_hMenuShared);
    pMenuBar->SwitchMenu(IDR_TEST_MENU, pMenuBar->GetFrameMenu());
    CQXPMenuBarMDIMenuInfo* pDoc = pMenuBar->FindMDIMenu(IDR_TEST_DOCMENU);
    ASSERT_NE(nullptr, pDoc);
    CQXPControls* pDocControls = pDoc->GetControls();
    pDocControls->SetOriginalControls(NULL);
    ASSERT_TRUE(pDoc->UpdateChanged()) << "without originals a menu reads as changed";

    // Shown without a menu handed along, nothing can be built.
    pMenuBar->SwitchMenu(IDR_TEST_DOCMENU, NULL);
    ASSERT_EQ(pDocControls, pMenuBar->GetControls());
    EXPECT_EQ(nullptr, pDocControls->GetOriginalControls());
    pMenuBar->SwitchMenu(IDR_TEST_MENU, pMenuBar->GetFrameMenu());

    // With its menu the originals are built from it.
    pMenuBar->SwitchMenu(IDR_TEST_DOCMENU, pTemplate->m_hMenuShared);
    ASSERT_EQ(pDocControls, pMenuBar->GetControls());
    CQXPOriginalControls* pOriginal = pDocControls->GetOriginalControls();
    ASSERT_NE(nullptr, pOriginal);
    ASSERT_EQ(2, pOriginal->GetCount());
    EXPECT_EQ(std::string("&Notes"), std::string(pOriginal->GetAt(0)->GetCaption()));
    EXPECT_EQ(std::string("&Tools"), std::string(pOriginal->GetAt(1)->GetCaption()));
    EXPECT_FALSE(pDocControls->IsChanged());
    EXPECT_FALSE(pMenuBar->CanReset());
    // A change the user makes shows against them.
    pMenuBar->GetControl(1)->SetCaption("&Extras");
    EXPECT_TRUE(pDocControls->IsChanged());
    pMenuBar->SwitchMenu(IDR_TEST_MENU, pMenuBar->GetFrameMenu());
    EXPECT_TRUE(pDoc->UpdateChanged());
}

// Where nobody can customise, a document menu is simply converted into the
// bar's controls: no record is kept for either menu, and the bar's controls
// are the program's own after each switch.
TEST_F(FrameTest, WithoutCustomizingMenusAreConvertedWithoutRecords)
{
    ASSERT_FALSE(pBars->IsCustomizeAllowed());
    NoteTemplate notes;
    CMultiDocTemplate* pTemplate = notes.pTemplate;
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    CQXPControls* pControls = pMenuBar->GetControls();
    pMenuBar->SwitchMenu(IDR_TEST_DOCMENU, pTemplate->m_hMenuShared);
    EXPECT_EQ((UINT)IDR_TEST_DOCMENU, pMenuBar->GetCurrentMenuId());
    EXPECT_EQ(pControls, pMenuBar->GetControls()) << "the bar keeps its one collection";
    ASSERT_EQ(2, pMenuBar->GetControlCount());
    EXPECT_EQ(std::string("&Notes"), std::string(pMenuBar->GetControl(0)->GetCaption()));
    EXPECT_EQ(pMenuBar, pMenuBar->GetControl(0)->GetParent());
    EXPECT_TRUE(pMenuBar->m_mapDocMenus.empty());
    EXPECT_FALSE(pControls->IsChanged());

    pMenuBar->SwitchMenu(IDR_TEST_MENU, pMenuBar->GetFrameMenu());
    EXPECT_EQ((UINT)IDR_TEST_MENU, pMenuBar->GetCurrentMenuId());
    EXPECT_EQ(std::string("&File"), std::string(pMenuBar->GetControl(0)->GetCaption()));
    EXPECT_TRUE(pMenuBar->m_mapDocMenus.empty());
    EXPECT_FALSE(pControls->IsChanged());
    EXPECT_FALSE(pMenuBar->CanReset());
}

// Menus without a document template are known by their handles: each live
// menu gets an id of its own, so two such menus never share controls, and a
// menu destroyed since gives its id and controls up, so a new menu whose
// handle differs from the old one only in the bits a handle-derived id would
// drop (a reused slot) still shows its own controls.
TEST_F(FrameTest, MenusWithoutATemplateEachKeepTheirOwnControls)
{
    frame.m_bCustomizeAllowed = TRUE;
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    auto MakeMenu = [](const char* pszTitle) {
        HMENU hMenu = ::CreateMenu();
        ::AppendMenuA(hMenu, MF_POPUP, (UINT_PTR)::CreatePopupMenu(), pszTitle);
        return hMenu;
    };
    auto Title = [&] { return std::string(pMenuBar->GetControl(0)->GetCaption()); };
    std::vector<HMENU> menus;
    std::vector<std::string> titles;
    for (int i = 0; i < 8; i++) {
        titles.push_back("Menu" + std::to_string(i));
        menus.push_back(MakeMenu(titles.back().c_str()));
    }
    // Each shows its own controls under an id of its own; a handle keeps
    // its id.
    std::vector<UINT> ids;
    for (size_t i = 0; i < menus.size(); i++) {
        pMenuBar->SwitchMDIMenu(menus[i]);
        EXPECT_EQ(titles[i], Title());
        EXPECT_GE(pMenuBar->GetCurrentMenuId(), QXP_ID_FIRST_HANDLE_MENU);
        ids.push_back(pMenuBar->GetCurrentMenuId());
    }
    std::vector<UINT> sorted = ids;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted.end(), std::adjacent_find(sorted.begin(), sorted.end()));
    pMenuBar->SwitchMDIMenu(menus[2]);
    EXPECT_EQ(ids[2], pMenuBar->GetCurrentMenuId());
    EXPECT_EQ(titles[2], Title());
    pMenuBar->SwitchMDIMenu(pMenuBar->GetFrameMenu());
    EXPECT_EQ(std::string("&File"), Title());

    // One goes; menus are made (and dropped) until one of them takes a handle
    // that differs from the old one only in those bits, as the system's
    // reuse of a freed slot gives within a few tries.
    const HMENU hOld = menus[5];
    const UINT nOld = ids[5];
    ASSERT_NE(nullptr, pMenuBar->FindMDIMenu(nOld));
    ::DestroyMenu(hOld);
    auto DroppedBits = [](HMENU h) { return ((UINT_PTR)h >> 2) & 0xFFFF; };
    HMENU hNew = NULL;
    for (int i = 0; i < 32 && !hNew; i++) {
        HMENU h = MakeMenu("Fresh");
        if (h != hOld && DroppedBits(h) == DroppedBits(hOld))
            hNew = h;
        else
            ::DestroyMenu(h);
    }
    ASSERT_NE((HMENU)NULL, hNew) << "no handle came back in the old one's slot";
    pMenuBar->SwitchMDIMenu(hNew);
    EXPECT_EQ(std::string("Fresh"), Title()) << "not the controls of the menu destroyed";
    EXPECT_NE(nOld, pMenuBar->GetCurrentMenuId());
    EXPECT_EQ(nullptr, pMenuBar->FindMDIMenu(nOld)) << "the old menu's record went with it";
    pMenuBar->SwitchMDIMenu(pMenuBar->GetFrameMenu());
    EXPECT_EQ(std::string("&File"), Title());
    ::DestroyMenu(hNew);
    for (size_t i = 0; i < menus.size(); i++)
        if (menus[i] != hOld)
            ::DestroyMenu(menus[i]);
}

// ---------------------------------------------------------------------------
// Expand button and rows

TEST_F(FrameTest, TooNarrowToolbarOffersExactlyItsHiddenButtonsInTheExpandPopup)
{
    CQXPToolBar* pToolBar = frame.m_pToolBar;
    CQXPToolBar* pSecond = DockSecondBarBeside();
    ASSERT_NE(nullptr, pSecond);
    CRect rcFirst;
    frame.RecalcLayout();
    CRect rcSecond;
    ::GetWindowRect(pSecond->GetSafeHwnd(), &rcSecond);
    ::GetWindowRect(pToolBar->GetSafeHwnd(), &rcFirst);
    ASSERT_EQ(rcFirst.top, rcSecond.top) << "both bars share one row";
    EXPECT_FALSE(pToolBar->HasHiddenControls());
    ASSERT_NE(nullptr, pToolBar->GetExpandButton()) << "the expand button is always there";

    // Narrow the frame until the row cannot hold every button.
    for (int cx = 400; cx > 60 && !(pToolBar->HasHiddenControls() || pSecond->HasHiddenControls()); cx -= 10) {
        frame.SetWindowPos(NULL, 0, 0, cx, 400, SWP_NOZORDER | SWP_NOMOVE);
        frame.RecalcLayout();
    }
    ASSERT_TRUE(pToolBar->HasHiddenControls() || pSecond->HasHiddenControls());
    std::vector<int> hidden;
    for (CQXPToolBar* pBar : {pToolBar, pSecond}) {
        for (int i = 0; i < pBar->GetControlCount(); i++) {
            CQXPControl* pControl = pBar->GetControl(i);
            if (pControl->GetHideFlags() == qxpHideWrap) {
                hidden.push_back(pControl->GetID());
            } else if (pControl->IsVisible()) {
                EXPECT_FALSE(pControl->GetRect().IsRectEmpty());
            }
        }
    }
    ASSERT_FALSE(hidden.empty());

    // The expand popup of the first bar lists exactly the hidden buttons of
    // the row, in row order, as plain entries.
    CQXPControl* pExpand = pToolBar->GetExpandButton();
    ASSERT_NE(nullptr, pExpand);
    EXPECT_EQ(QXP_ID_TOOLBAR_EXPAND, pExpand->GetID());
    ASSERT_TRUE(pExpand->OnSetPopup(TRUE));
    CQXPCommandBar* pPopup = pExpand->GetCommandBar();
    ASSERT_NE(nullptr, pPopup);
    EXPECT_TRUE(::IsWindowVisible(pPopup->GetSafeHwnd()));
    std::vector<int> listed = Ids(pPopup);
    ASSERT_FALSE(listed.empty());
    EXPECT_EQ(QXP_ID_ADDREMOVE_BUTTONS, listed.back()) << "Add or Remove Buttons ends the popup";
    listed.pop_back();
    EXPECT_EQ(hidden, listed);
    for (int i = 0; i + 1 < pPopup->GetControlCount(); i++)
        EXPECT_FALSE(pPopup->GetControl(i)->GetBeginGroup());
    EXPECT_TRUE(pPopup->GetControl(pPopup->GetControlCount() - 1)->GetBeginGroup());
    pExpand->OnSetPopup(FALSE);

    // Choosing an entry sends its command to the frame.
    ASSERT_TRUE(pExpand->OnSetPopup(TRUE));
    UINT nFirst = (UINT)pPopup->GetControl(0)->GetID();
    pPopup->GetControl(0)->OnExecute();
    PumpPending();
    if (nFirst == ID_TEST_OPEN || nFirst == ID_TEST_SAVE || nFirst == ID_TEST_EXIT) {
        ASSERT_FALSE(frame.commands.empty());
        EXPECT_EQ(nFirst, frame.commands.back());
    }

    // Wide again: nothing hidden, the popup would be empty.
    frame.SetWindowPos(NULL, 0, 0, 900, 400, SWP_NOZORDER | SWP_NOMOVE);
    frame.RecalcLayout();
    EXPECT_FALSE(pToolBar->HasHiddenControls());
    EXPECT_FALSE(pSecond->HasHiddenControls());
}

TEST_F(FrameTest, TheExpandPopupIsAToolbarOfTheHiddenButtonsOrTheSitesOwnPopup)
{
    // Two bars share the top row; the frame narrows until two buttons hide.
    CQXPToolBar* pToolBar = frame.m_pToolBar;
    CQXPToolBar* pSecond = DockSecondBarBeside();
    ASSERT_NE(nullptr, pSecond);
    auto hiddenCount = [&] {
        int n = 0;
        for (CQXPToolBar* pBar : {pToolBar, pSecond})
            for (int i = 0; i < pBar->GetControlCount(); i++)
                n += pBar->GetControl(i)->GetHideFlags() == qxpHideWrap ? 1 : 0;
        return n;
    };
    for (int cx = 400; cx > 40 && hiddenCount() < 2; cx -= 10) {
        frame.SetWindowPos(NULL, 0, 0, cx, 400, SWP_NOZORDER | SWP_NOMOVE);
        frame.RecalcLayout();
    }
    ASSERT_GE(hiddenCount(), 2);
    CQXPControl* pExpand = pToolBar->GetExpandButton();
    ASSERT_NE(nullptr, pExpand);

    // The site is asked first (a record with flag 1); it has none to give:
    // the popup is a toolbar, its hidden buttons side by side in a row.
    ASSERT_TRUE(pExpand->OnSetPopup(TRUE));
    ASSERT_EQ(1u, frame.expandAsks.size());
    EXPECT_EQ(1, frame.expandAsks[0].nReserved[0]);
    EXPECT_TRUE(frame.expandAsks[0].bPopup);
    CQXPPopupToolBar* pPopup = dynamic_cast<CQXPPopupToolBar*>(pExpand->GetCommandBar());
    ASSERT_NE(nullptr, pPopup) << "a wrapped toolbar, not a menu";
    EXPECT_EQ(qxpBarTypeNormal, pPopup->GetType());
    EXPECT_TRUE(::IsWindowVisible(pPopup->GetSafeHwnd()));
    CRect rcOne = pPopup->GetControl(0)->GetRect(), rcTwo = pPopup->GetControl(1)->GetRect();
    EXPECT_EQ(rcOne.top, rcTwo.top) << "one row";
    EXPECT_GE(rcTwo.left, rcOne.right);
    EXPECT_EQ(2, rcOne.left) << "the popup toolbar's left margin";
    pExpand->OnSetPopup(FALSE);

    // A bar whose expand button opens for the first time takes the popup the
    // site gives.
    CQXPToolBar* pOther = pBars->Add("Other", qxpBarTop);
    ASSERT_NE(nullptr, pOther);
    const UINT others[] = {ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT};
    pOther->SetButtons(others, 3);
    frame.RecalcLayout();
    ASSERT_NE(nullptr, pOther->GetExpandButton());
    CQXPPopupBar* pOwn = CQXPPopupBar::CreateForOwner(pBars);
    frame.m_pExpandPopup = pOwn;
    ASSERT_TRUE(pOther->GetExpandButton()->OnSetPopup(TRUE));
    EXPECT_EQ(pOwn, pOther->GetExpandButton()->GetCommandBar());
    pOther->GetExpandButton()->OnSetPopup(FALSE);
    frame.m_pExpandPopup = NULL;
}

TEST_F(FrameTest, AddOrRemoveButtonsHidesAndShowsAButton)
{
    // Adding and removing buttons is customizing: the frame allows it.
    frame.m_bCustomizeAllowed = TRUE;
    CQXPToolBar* pToolBar = frame.m_pToolBar;
    CQXPControl* pExpand = pToolBar->GetExpandButton();
    ASSERT_NE(nullptr, pExpand);
    ASSERT_TRUE(pExpand->OnSetPopup(TRUE));
    CQXPCommandBar* pPopup = pExpand->GetCommandBar();
    ASSERT_EQ(1, pPopup->GetControlCount()) << "nothing hidden: only the list";
    CQXPCommandBar* pList = pPopup->GetControl(0)->GetCommandBar();
    ASSERT_NE(nullptr, pList);
    ASSERT_EQ(2, pList->GetControlCount()) << "one entry per bar of the row, then the customize command";
    EXPECT_EQ(std::string("Toolbar"), std::string(pList->GetControl(0)->GetCaption()));
    EXPECT_EQ(QXP_ID_CUSTOMIZE, pList->GetControl(1)->GetID());
    CQXPCommandBar* pItems = pList->GetControl(0)->GetCommandBar();
    ASSERT_NE(nullptr, pItems);
    ASSERT_EQ((std::vector<int>{ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT, QXP_ID_RESET_TOOLBAR}), Ids(pItems))
        << "the buttons, then Reset Toolbar";
    CQXPControl* pSaveItem = pItems->GetControl(1);
    EXPECT_EQ(1, pSaveItem->GetChecked());
    pExpand->OnSetPopup(FALSE);

    // Unchecking Save takes the button off the bar; the bar counts as
    // changed (so a saved layout keeps it off).
    CRect rcBefore;
    ::GetWindowRect(pToolBar->GetSafeHwnd(), &rcBefore);
    pSaveItem->OnExecute();
    CQXPControl* pSave = pToolBar->GetControls()->FindControl(ID_TEST_SAVE);
    EXPECT_FALSE(pSave->IsVisible());
    EXPECT_EQ(0, pSaveItem->GetChecked());
    EXPECT_TRUE(pToolBar->GetControls()->IsChanged());
    CRect rcAfter;
    ::GetWindowRect(pToolBar->GetSafeHwnd(), &rcAfter);
    EXPECT_LT(rcAfter.Width(), rcBefore.Width());
    pSaveItem->OnExecute();
    EXPECT_TRUE(pSave->IsVisible());
    EXPECT_FALSE(pToolBar->GetControls()->IsChanged());
}

TEST_F(FrameTest, WithoutTheAlwaysOptionTheExpandButtonComesOnlyWhenButtonsHide)
{
    CQXPToolBar* pToolBar = frame.m_pToolBar;
    // A long bar, so the frame can be narrower than the bar.
    std::vector<UINT> ids;
    for (int i = 0; i < 4; i++)
        ids.insert(ids.end(), {ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT, 0});
    pToolBar->SetButtons(ids.data(), (int)ids.size());
    pToolBar->SetFlags(qxpFlagHideWrap);
    frame.RecalcLayout();
    CRect rcWith;
    ::GetWindowRect(pToolBar->GetSafeHwnd(), &rcWith);
    pBars->GetOptions()->m_bShowExpandButtonAlways = FALSE;
    frame.RecalcLayout();
    EXPECT_EQ(nullptr, pToolBar->GetExpandButton()) << "everything fits: no expand button";
    CRect rcWithout;
    ::GetWindowRect(pToolBar->GetSafeHwnd(), &rcWithout);
    EXPECT_EQ(rcWith.Width() - QXP_EXPAND_BUTTON_LENGTH, rcWithout.Width()) << "and no room kept for it";

    // Too narrow: buttons hide and the button comes back.
    int nNeeded = rcWithout.Width();
    CRect rcWindow, rcClient;
    frame.GetWindowRect(&rcWindow);
    frame.GetClientRect(&rcClient);
    frame.SetWindowPos(NULL, 0, 0, nNeeded - 20 + rcWindow.Width() - rcClient.Width(), 400,
                       SWP_NOZORDER | SWP_NOMOVE);
    frame.RecalcLayout();
    EXPECT_TRUE(pToolBar->HasHiddenControls());
    CQXPControl* pExpand = pToolBar->GetExpandButton();
    ASSERT_NE(nullptr, pExpand);
    CRect rcBar;
    pToolBar->GetClientRect(&rcBar);
    EXPECT_LE(pExpand->GetRect().right, rcBar.right);
    EXPECT_EQ(QXP_EXPAND_BUTTON_LENGTH, pExpand->GetRect().Width());
}

TEST_F(FrameTest, ToolbarsDockInRowsAndWrapWhenTheFrameNarrows)
{
    CQXPToolBar* pFirst = frame.m_pToolBar;
    CQXPToolBar* pSecond = pBars->Add("Second", qxpBarTop);
    ASSERT_NE(nullptr, pSecond);
    const UINT ids[] = {ID_TEST_UNDO, 0, ID_TEST_ANSI, ID_TEST_UTF8};
    pSecond->SetButtons(ids, 4);
    frame.RecalcLayout();
    CRect rcFirst, rcSecond;
    ::GetWindowRect(pFirst->GetSafeHwnd(), &rcFirst);
    ::GetWindowRect(pSecond->GetSafeHwnd(), &rcSecond);
    EXPECT_EQ(rcFirst.bottom, rcSecond.top) << "a bar added on its own starts a new row";

    // Dropped right of the first bar it joins that row.
    CRect rcDrop(rcFirst.right + 10, rcFirst.top, rcFirst.right + 100, rcFirst.bottom);
    pBars->GetDockBar(qxpBarTop)->DockCommandBar(pSecond, &rcDrop);
    frame.RecalcLayout();
    ::GetWindowRect(pFirst->GetSafeHwnd(), &rcFirst);
    ::GetWindowRect(pSecond->GetSafeHwnd(), &rcSecond);
    EXPECT_EQ(rcFirst.top, rcSecond.top);
    EXPECT_GE(rcSecond.left, rcFirst.right) << "bars of a row never overlap";
    CRect rcDock;
    ::GetWindowRect(pBars->GetDockBar(qxpBarTop)->GetSafeHwnd(), &rcDock);
    int nTwoRows = rcDock.Height();

    // Narrower than both bars: the second wraps onto a line of its own and
    // the dock bar grows.
    int nNeeded = rcFirst.Width() + rcSecond.Width();
    CRect rcWindow, rcClient;
    frame.GetWindowRect(&rcWindow);
    frame.GetClientRect(&rcClient);
    int nFrameExtra = rcWindow.Width() - rcClient.Width();
    frame.SetWindowPos(NULL, 0, 0, nNeeded - 10 + nFrameExtra, 400, SWP_NOZORDER | SWP_NOMOVE);
    frame.RecalcLayout();
    ::GetWindowRect(pFirst->GetSafeHwnd(), &rcFirst);
    ::GetWindowRect(pSecond->GetSafeHwnd(), &rcSecond);
    EXPECT_EQ(rcFirst.bottom, rcSecond.top);
    ::GetWindowRect(pBars->GetDockBar(qxpBarTop)->GetSafeHwnd(), &rcDock);
    EXPECT_GT(rcDock.Height(), nTwoRows);
    frame.GetClientRect(&rcClient);
    EXPECT_LE(rcSecond.right - rcDock.left, rcClient.Width());

    // Wide again: one row as before.
    frame.SetWindowPos(NULL, 0, 0, 900, 400, SWP_NOZORDER | SWP_NOMOVE);
    frame.RecalcLayout();
    ::GetWindowRect(pFirst->GetSafeHwnd(), &rcFirst);
    ::GetWindowRect(pSecond->GetSafeHwnd(), &rcSecond);
    EXPECT_EQ(rcFirst.top, rcSecond.top);
}

TEST_F(FrameTest, LargeIconsGrowToolbarsButNotMenus)
{
    CQXPToolBar* pToolBar = frame.m_pToolBar;
    CRect rcBefore;
    ::GetWindowRect(pToolBar->GetSafeHwnd(), &rcBefore);
    CSize szSmall = pToolBar->GetIconSize();
    EXPECT_EQ(CSize(16, 16), szSmall) << "a 16-pixel strip leaves the size to the options";
    pBars->GetOptions()->m_szLargeIcons = CSize(24, 24);
    pBars->SetLargeIcons(TRUE);
    EXPECT_EQ(CSize(24, 24), pToolBar->GetIconSize());
    CRect rcAfter;
    ::GetWindowRect(pToolBar->GetSafeHwnd(), &rcAfter);
    EXPECT_GE(rcAfter.Height(), rcBefore.Height() + 8);
    CQXPCommandBar* pPopup = frame.m_pMenuBar->GetControl(0)->GetCommandBar();
    ASSERT_NE(nullptr, pPopup);
    EXPECT_EQ(CSize(16, 16), pPopup->GetIconSize()) << "menus keep small icons";
    pBars->SetLargeIcons(FALSE);
    ::GetWindowRect(pToolBar->GetSafeHwnd(), &rcAfter);
    EXPECT_EQ(rcBefore.Height(), rcAfter.Height());
}

// ---------------------------------------------------------------------------
// Floating and moving

TEST_F(FrameTest, ToolbarFloatsInItsOwnWindowAndDocksAgain)
{
    CQXPToolBar* pToolBar = frame.m_pToolBar;
    CQXPDockBar* pTop = pBars->GetDockBar(qxpBarTop);
    ASSERT_TRUE(pToolBar->SetFloating(CPoint(200, 220)));
    HWND hWnd = pToolBar->GetSafeHwnd();
    EXPECT_TRUE(pToolBar->IsFloating());
    EXPECT_EQ(nullptr, pToolBar->GetDockBar());
    EXPECT_EQ(-1, pTop->FindBar(pToolBar)) << "the bar left its row";
    EXPECT_TRUE(::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_POPUP);
    EXPECT_EQ(frame.GetSafeHwnd(), ::GetWindow(hWnd, GW_OWNER)) << "the frame owns the floating bar";
    EXPECT_TRUE(::IsWindowVisible(hWnd));
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    EXPECT_EQ(CPoint(200, 220), rc.TopLeft());
    // The buttons lie below the caption, inside the window; the expand
    // button is the caption's drop-down, left of its close button.
    CQXPControl* pExpand = pToolBar->GetExpandButton();
    ASSERT_NE(nullptr, pExpand);
    ASSERT_NE(nullptr, pToolBar->GetCloseButton());
    EXPECT_EQ(pToolBar->GetCloseButton()->GetRect().left, pExpand->GetRect().right);
    for (int i = 0; i < pToolBar->GetControlCount(); i++) {
        if (pToolBar->GetControl(i)->IsTemporary())
            continue; // the caption's own buttons
        CRect rcControl = pToolBar->GetControl(i)->GetRect();
        EXPECT_GT(rcControl.top, 10);
        EXPECT_LE(rcControl.right, rc.Width());
        EXPECT_LE(rcControl.bottom, rc.Height());
    }
    // A click on a floating button still reaches the frame.
    CQXPControl* pOpen = pToolBar->GetControls()->FindControl(ID_TEST_OPEN);
    pOpen->OnExecute();
    ASSERT_FALSE(frame.commands.empty());
    EXPECT_EQ((UINT)ID_TEST_OPEN, frame.commands.back());

    // Docked on the left it stands in a column.
    ASSERT_TRUE(pToolBar->DockTo(qxpBarLeft));
    EXPECT_FALSE(pToolBar->IsFloating());
    EXPECT_EQ(pBars->GetDockBar(qxpBarLeft), pToolBar->GetDockBar());
    EXPECT_TRUE(::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(pBars->GetDockBar(qxpBarLeft)->GetSafeHwnd(), ::GetParent(hWnd));
    ::GetWindowRect(hWnd, &rc);
    EXPECT_GT(rc.Height(), rc.Width());
    ASSERT_TRUE(pToolBar->DockTo(qxpBarTop));
    EXPECT_EQ(pTop, pToolBar->GetDockBar());
}

TEST_F(FrameTest, DraggingABarFloatsItAndDraggingItBackDocksIt)
{
    CQXPToolBar* pToolBar = frame.m_pToolBar;
    HWND hWnd = pToolBar->GetSafeHwnd();
    // A point of the bar between or beside its buttons.
    CRect rcClient;
    ::GetClientRect(hWnd, &rcClient);
    CPoint ptGrip(-1, rcClient.Height() / 2);
    for (int x = 0; x < rcClient.Width(); x++) {
        if (!pToolBar->GetControls()->HitTest(CPoint(x, ptGrip.y))) {
            ptGrip.x = x;
            break;
        }
    }
    ASSERT_GE(ptGrip.x, 0);
    // Drag it 200 pixels down, into the middle of the frame.
    CPoint ptDrop(ptGrip.x + 150, ptGrip.y + 200);
    ::PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptGrip.x, ptGrip.y));
    ::PostMessageA(hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptDrop.x, ptDrop.y));
    ::PostMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(ptDrop.x, ptDrop.y));
    ASSERT_TRUE(PumpUntil([&] { return pToolBar->IsFloating(); }));
    CRect rcFloat;
    ::GetWindowRect(hWnd, &rcFloat);
    CRect rcFrame;
    frame.GetWindowRect(&rcFrame);
    EXPECT_GT(rcFloat.top, rcFrame.top + 100);

    // Back up over the top dock bar: it docks there again.
    CRect rcTop;
    ::GetWindowRect(pBars->GetDockBar(qxpBarTop)->GetSafeHwnd(), &rcTop);
    CPoint ptCaption(10, 6);
    // The bar's centre goes onto the middle of the top dock bar.
    int dy = rcTop.CenterPoint().y - rcFloat.CenterPoint().y;
    int dx = rcTop.left + 40 - rcFloat.left;
    CPoint ptBack(ptCaption.x + dx, ptCaption.y + dy);
    ::PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptCaption.x, ptCaption.y));
    ::PostMessageA(hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((WORD)(short)ptBack.x, (WORD)(short)ptBack.y));
    ::PostMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM((WORD)(short)ptBack.x, (WORD)(short)ptBack.y));
    ASSERT_TRUE(PumpUntil([&] { return !pToolBar->IsFloating(); }));
    EXPECT_EQ(pBars->GetDockBar(qxpBarTop), pToolBar->GetDockBar());

    // Esc ends a drag where the bar is at that moment.
    ::PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptGrip.x, ptGrip.y));
    ::PostMessageA(hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptDrop.x, ptDrop.y));
    ::PostMessageA(hWnd, WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(PumpUntil([&] { return pToolBar->IsFloating() && ::GetCapture() == NULL; }));
    EXPECT_EQ((HWND)NULL, ::GetCapture());

    // A floating bar dragged far off the screen keeps 10 pixels on it.
    ::PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 6));
    ::PostMessageA(hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((WORD)(short)-3000, 6));
    ::PostMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM((WORD)(short)-3000, 6));
    PumpUntil([&] { return ::GetCapture() == NULL; });
    PumpPending();
    CRect rcOff;
    ::GetWindowRect(hWnd, &rcOff);
    CRect rcWork = QxpWorkAreaFor(rcOff);
    EXPECT_EQ(rcWork.left + 10, rcOff.right);
}

TEST_F(FrameTest, DraggingTheEdgeOfAFloatingBarChangesItsRows)
{
    CQXPToolBar* pToolBar = frame.m_pToolBar;
    ASSERT_TRUE(pToolBar->SetFloating(CPoint(150, 150)));
    HWND hWnd = pToolBar->GetSafeHwnd();
    CRect rcWide;
    ::GetWindowRect(hWnd, &rcWide);
    CRect rcClient;
    ::GetClientRect(hWnd, &rcClient);
    CPoint ptEdge(rcClient.right - 1, rcClient.Height() / 2);
    ASSERT_EQ(HTRIGHT, pToolBar->HitTestFloatingEdge(ptEdge));
    // Narrower than two buttons: the buttons stack in more rows.
    CPoint ptTo(ptEdge.x - rcWide.Width() + 30, ptEdge.y);
    ::PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptEdge.x, ptEdge.y));
    ::PostMessageA(hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptTo.x, ptTo.y));
    ::PostMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(ptTo.x, ptTo.y));
    PumpUntil([&] { return ::GetCapture() == NULL; });
    PumpPending();
    CRect rcNarrow;
    ::GetWindowRect(hWnd, &rcNarrow);
    EXPECT_LT(rcNarrow.Width(), rcWide.Width());
    EXPECT_GT(rcNarrow.Height(), rcWide.Height());
    EXPECT_EQ(rcWide.left, rcNarrow.left) << "the left edge stays";
    EXPECT_EQ(rcNarrow.Width(), pToolBar->m_nMRUWidth) << "the width is remembered";
    EXPECT_TRUE(pToolBar->IsFloating());
}

// ---------------------------------------------------------------------------
// Popup shadows

TEST_F(FrameTest, OfficeThemesGiveOpenMenusAShadowThatGoesWithThem)
{
    CLayeredShadowManager* pShadows = GetLayeredShadowManager();
    if (!pShadows->IsLayered())
        GTEST_SKIP() << "platform limit: no layered windows on this system (no compositor)";
    // The system's drop-shadow setting is off, so only a theme that forces
    // shadows gives them.
    pShadows->SetDropShadowQuery([]() -> BOOL { return FALSE; });
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    CQXPCommandBar* pFile = pMenuBar->GetControl(0)->GetCommandBar();
    ASSERT_NE(nullptr, pFile);

    SetGlobalPaintManager(2); // Office 2003
    ASSERT_TRUE(pMenuBar->SetPopuped(0));
    HWND hPopup = pFile->GetSafeHwnd();
    ASSERT_TRUE(::IsWindowVisible(hPopup));
    std::vector<CLayeredShadowWnd*> shadows = pShadows->GetShadows(hPopup);
    ASSERT_EQ(2u, shadows.size());
    ASSERT_TRUE(shadows[0]->IsBottomShadow());
    HWND hBottom = shadows[0]->GetSafeHwnd(), hRight = shadows[1]->GetSafeHwnd();
    CRect rcPopup, rcRight, rcBottom;
    ::GetWindowRect(hPopup, &rcPopup);
    ::GetWindowRect(hRight, &rcRight);
    ::GetWindowRect(hBottom, &rcBottom);
    EXPECT_EQ(rcPopup.right, rcRight.left) << "one strip along the right edge";
    EXPECT_EQ(QXP_SHADOW_THICKNESS, rcRight.Width());
    EXPECT_EQ(rcPopup.bottom, rcBottom.top) << "one under the bottom edge";
    EXPECT_EQ(QXP_SHADOW_THICKNESS, rcBottom.Height());
    EXPECT_TRUE(::IsWindowVisible(hRight));
    EXPECT_TRUE(::GetWindowLongPtrA(hRight, GWL_EXSTYLE) & WS_EX_TRANSPARENT) << "clicks pass through";

    // Closing the menu hides the shadows; they go when the menu opens again.
    pMenuBar->SetPopuped(-1);
    PumpPending();
    EXPECT_FALSE(::IsWindowVisible(hRight));
    EXPECT_FALSE(::IsWindowVisible(hBottom));

    // The Windows 2000 look follows the system's setting: none.
    SetGlobalPaintManager(0);
    ASSERT_TRUE(pMenuBar->SetPopuped(0));
    EXPECT_EQ(0, pShadows->GetShadowCount(pFile->GetSafeHwnd()));
    EXPECT_FALSE(::IsWindow(hRight));
    pMenuBar->SetPopuped(-1);
    pShadows->SetDropShadowQuery(NULL);
}

// ---------------------------------------------------------------------------
// Keys while a command-bar edit box has the focus

TEST_F(FrameTest, AcceleratorsWaitWhileACommandBarEditHasTheFocus)
{
    ACCEL accel[] = {{FVIRTKEY, VK_F5, ID_TEST_SAVE}, {FVIRTKEY, VK_ESCAPE, ID_TEST_EXIT}};
    frame.m_hAccelTable = ::CreateAcceleratorTableA(accel, 2);
    CQXPEdit edit;
    ASSERT_TRUE(edit.CreateEdit(WS_CHILD | WS_VISIBLE, &frame));
    EXPECT_TRUE(CQXPMDIFrameWnd::IsCommandBarEdit(edit.GetSafeHwnd()));
    EXPECT_FALSE(CQXPMDIFrameWnd::IsCommandBarEdit(frame.m_hWndMDIClient));

    auto press = [&](HWND hWnd, UINT vk) {
        MSG msg = {};
        msg.hwnd = hWnd;
        msg.message = WM_KEYDOWN;
        msg.wParam = vk;
        msg.lParam = 1;
        return frame.PreTranslateMessage(&msg);
    };
    edit.SetFocus();
    ASSERT_EQ(edit.GetSafeHwnd(), ::GetFocus());
    EXPECT_FALSE(press(edit.GetSafeHwnd(), VK_F5)) << "the key stays with the edit box";
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_TRUE(press(edit.GetSafeHwnd(), VK_ESCAPE)) << "Esc still reaches the frame";
    ASSERT_EQ(1u, frame.commands.size());
    EXPECT_EQ((UINT)ID_TEST_EXIT, frame.commands[0]);

    ::SetFocus(frame.m_hWndMDIClient);
    EXPECT_TRUE(press(frame.m_hWndMDIClient, VK_F5));
    ASSERT_EQ(2u, frame.commands.size());
    EXPECT_EQ((UINT)ID_TEST_SAVE, frame.commands[1]);
    edit.DestroyWindow();
    ::DestroyAcceleratorTable(frame.m_hAccelTable);
    frame.m_hAccelTable = NULL;
}

// ---------------------------------------------------------------------------
// Themes

// Writes the window's image (what the display shows) as a PNG file.
bool SaveWindowPng(HWND hWnd, const std::string& strPath)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    return qmtest::SaveScreenPng(rc, strPath);
}

TEST_F(FrameTest, EachThemeRepaintsTheBarsAndIsCapturedForReview)
{
    // The five themes of the editor's options: paint-manager numbers of
    // Windows 2000, Windows XP, Whidbey, Office XP and Office 2003.
    struct ThemeCase {
        int nTheme;
        const char* pszName;
    } cases[] = {{0, "win2000"}, {3, "winxp"}, {4, "whidbey"}, {1, "officexp"}, {2, "office2003"}};
    HWND hChild = NewChild();
    ASSERT_NE((HWND)NULL, hChild);
    frame.m_pMenuBar->SetFlags(qxpFlagShowMDISysMenu);
    frame.MDIMaximize(CWnd::FromHandle(hChild));
    ASSERT_TRUE(PumpUntil([&] { return HasControl(frame.m_pMenuBar, QXP_ID_MDI_CLOSE); }));
    // A second toolbar floats over the frame.
    CQXPToolBar* pFloating = pBars->Add("Floating", qxpBarTop);
    ASSERT_NE(nullptr, pFloating);
    const UINT ids[] = {ID_TEST_OPEN, 0, ID_TEST_SAVE, ID_TEST_EXIT};
    pFloating->SetButtons(ids, 4);
    CRect rcFrame;
    frame.GetWindowRect(&rcFrame);
    ASSERT_TRUE(pFloating->SetFloating(CPoint(rcFrame.left + 300, rcFrame.top + 200)));
    EXPECT_TRUE(::IsWindowVisible(pFloating->GetSafeHwnd()));
    std::string strDir = QM_BIN_DIR;
    strDir += "/../screenshots";
    ::CreateDirectoryA(strDir.c_str(), NULL);
    COLORREF clrPrevious = CLR_INVALID;
    int nDifferent = 0;
    for (const ThemeCase& tc : cases) {
        SetGlobalPaintManager(tc.nTheme);
        EXPECT_EQ(tc.nTheme, GetGlobalPaintManager()->GetCurrentTheme()) << tc.pszName;
        pBars->RedrawCommandBars();
        ::SetWindowPos(frame.GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        ::RedrawWindow(frame.GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ::SetWindowPos(pFloating->GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ::RedrawWindow(pFloating->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        PumpPending();
        ::Sleep(50);
        PumpPending();
        // The toolbar's background is the theme's own.
        HDC hdc = ::GetDC(frame.m_pToolBar->GetSafeHwnd());
        CRect rc;
        frame.m_pToolBar->GetClientRect(&rc);
        COLORREF clr = ::GetPixel(hdc, rc.right - 2, rc.bottom / 2);
        ::ReleaseDC(frame.m_pToolBar->GetSafeHwnd(), hdc);
        if (clrPrevious != CLR_INVALID && clr != clrPrevious)
            nDifferent++;
        clrPrevious = clr;
        std::string strPath = strDir + "/commandbars-" + tc.pszName + ".png";
        EXPECT_TRUE(SaveWindowPng(frame.GetSafeHwnd(), strPath)) << strPath;
        // The same with the File menu open.
        int nFile = HasControl(frame.m_pMenuBar, QXP_ID_MDI_SYSMENU) ? 1 : 0;
        ASSERT_EQ(std::string("&File"), std::string(frame.m_pMenuBar->GetControl(nFile)->GetCaption()));
        ASSERT_TRUE(frame.m_pMenuBar->SetPopuped(nFile));
        PumpPending();
        ::UpdateWindow(frame.m_pMenuBar->GetControl(nFile)->GetCommandBar()->GetSafeHwnd());
        ::Sleep(50);
        PumpPending();
        strPath = strDir + "/commandbars-" + tc.pszName + "-menu.png";
        EXPECT_TRUE(SaveWindowPng(frame.GetSafeHwnd(), strPath)) << strPath;
        frame.m_pMenuBar->SetPopuped(-1);
        PumpPending();
    }
    EXPECT_GT(nDifferent, 0) << "switching themes changes the bars' look";
}

// ---------------------------------------------------------------------------
// Context help

TEST_F(FrameTest, InContextHelpModeBarsAnswerHitTestsForHelpAndLeaveKeysToTheFrame)
{
    CQXPControl* pFile = frame.m_pMenuBar->GetControl(0);
    ASSERT_NE(nullptr, dynamic_cast<CQXPControlPopup*>(pFile));
    ASSERT_LE(pFile->GetID(), 0) << "a menu title has no command";
    CQXPControl* pSave = frame.m_pToolBar->GetControls()->FindControl(ID_TEST_SAVE);
    ASSERT_NE(nullptr, pSave);
    auto screenPoint = [](CQXPCommandBar* pBar, CQXPControl* pControl) {
        CPoint pt = pControl->GetRect().CenterPoint();
        ::ClientToScreen(pBar->GetSafeHwnd(), &pt);
        return MAKELPARAM(pt.x, pt.y);
    };
    struct Case {
        BOOL bHelpMode;
        LRESULT nFile;
        LRESULT nSave;
    } cases[] = {{FALSE, HTCLIENT, HTCLIENT}, {TRUE, HTMENU, HTCLIENT}};
    for (const Case& c : cases) {
        frame.m_bHelpMode = c.bHelpMode;
        EXPECT_EQ(c.nFile, ::SendMessageA(frame.m_pMenuBar->GetSafeHwnd(), WM_NCHITTEST, 0,
                                          screenPoint(frame.m_pMenuBar, pFile)))
            << c.bHelpMode;
        EXPECT_EQ(c.nSave, ::SendMessageA(frame.m_pToolBar->GetSafeHwnd(), WM_NCHITTEST, 0,
                                          screenPoint(frame.m_pToolBar, pSave)))
            << c.bHelpMode;
    }

    // Still in help mode: a non-client click on the title opens its menu as
    // a click does, and the bar leaves the keys to the frame.
    ::SendMessageA(frame.m_pMenuBar->GetSafeHwnd(), WM_NCLBUTTONDOWN, HTMENU, screenPoint(frame.m_pMenuBar, pFile));
    EXPECT_TRUE(PumpUntil([&] { return pFile->GetPopuped() != FALSE; }, 2000));
    int nSelected = frame.m_pMenuBar->GetSelectedIndex();
    EXPECT_EQ(2, frame.m_pMenuBar->ProcessHookKeyDown(VK_RIGHT));
    EXPECT_EQ(nSelected, frame.m_pMenuBar->GetSelectedIndex());
    frame.m_bHelpMode = FALSE;
    frame.m_pMenuBar->SetPopuped(-1);
    frame.m_pMenuBar->SetTrackingMode(FALSE);
    PumpPending();
}

} // namespace
