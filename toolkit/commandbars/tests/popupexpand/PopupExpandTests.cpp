// Shortened menus on real windows: commands that were never used hide
// behind an expand button, the menu expands by the button, the keyboard and
// the timers, later menus of the same menu loop open in full, and a popup
// that holds a resizable control gets a gripper with its own modal loop.
#include <qx/commandbars.h>
#include <qx/keytips.h>
#include <qx/mousemanager.h>
#include <qx/popup.h>
#include <qx/profile.h>
#include <qx/themes.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cbtest_ids.h"
#include <qmtest/barsite.h>
#include <qmtest/archivebytes.h>
#include <qmtest/files.h>
#include <qmtest/pump.h>
#include <qmtest/screenshot.h>

namespace {

using qmtest::PumpMessages;

const UINT WM_TEST_RECORDLOOPS = WM_APP + 7;

class CExpandFrame : public qmtest::CBarSiteWnd {
public:
    std::vector<UINT> commands;
    CQXPCommandBars* m_pCommandBars = NULL;
    int m_nLoopsSeen = -1;

    BOOL CreateFrame()
    {
        LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(NULL, IDC_ARROW));
        return CreateEx(0, lpszClass, "Popup expand test", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                        640, 400, NULL, NULL);
    }
    void PostNcDestroy() override {}

protected:
    afx_msg void OnOpen() { commands.push_back(ID_TEST_OPEN); }
    afx_msg void OnSave() { commands.push_back(ID_TEST_SAVE); }
    afx_msg void OnExit() { commands.push_back(ID_TEST_EXIT); }
    afx_msg void OnUndo() { commands.push_back(ID_TEST_UNDO); }
    afx_msg void OnAnsi() { commands.push_back(ID_TEST_ANSI); }
    afx_msg void OnUtf8() { commands.push_back(ID_TEST_UTF8); }
    // Dispatched from inside a modal bar loop: what the mouse manager
    // counts at that moment.
    afx_msg LRESULT OnRecordLoops(WPARAM, LPARAM)
    {
        m_nLoopsSeen = ToolkitMouseManager::GetInstance()->GetBarLoopCount();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CExpandFrame, CWnd)
    ON_COMMAND(ID_TEST_OPEN, OnOpen)
    ON_COMMAND(ID_TEST_SAVE, OnSave)
    ON_COMMAND(ID_TEST_EXIT, OnExit)
    ON_COMMAND(ID_TEST_UNDO, OnUndo)
    ON_COMMAND(ID_TEST_ANSI, OnAnsi)
    ON_COMMAND(ID_TEST_UTF8, OnUtf8)
    ON_MESSAGE(WM_TEST_RECORDLOOPS, OnRecordLoops)
END_MESSAGE_MAP()

// A stand-in for a gallery: a type-10 control of a given size whose popup
// gripper changes the sizes its flags name.
class CTestResizable : public CQXPControl {
public:
    CTestResizable(int nFlags, int nMinWidth, int nMinHeight)
        : m_nFlags(nFlags), m_nMinW(nMinWidth), m_nMinH(nMinHeight)
    {
        m_controlType = qxpControlGallery;
        m_nWidth = 160;
        m_nHeight = 80;
    }
    int GetResizeFlags() const override { return m_nFlags; }
    int GetCustomizeMinWidth() const override { return m_nMinW; }
    int GetCustomizeMinHeight() const override { return m_nMinH; }
    CSize GetSize(CDC* pDC) override
    {
        (void)pDC;
        return CSize(m_nWidth, m_nHeight);
    }
    void Draw(CDC* pDC) override
    {
        CRect rc = GetRect();
        pDC->FillSolidRect(rc, RGB(200, 220, 255));
        pDC->Draw3dRect(rc, RGB(40, 60, 160), RGB(40, 60, 160));
    }

private:
    int m_nFlags, m_nMinW, m_nMinH;
};

class PopupExpandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Keep the real cursor away from the popups: only the messages the
        // tests send move "the mouse".
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        ASSERT_TRUE(frame.CreateFrame());
        pBars = CQXPCommandBars::CreateCommandBars(&frame);
        ASSERT_NE(nullptr, pBars);
        frame.m_pCommandBars = pBars;
        pBars->GetOptions()->m_nAnimation = CQXPPopupBar::kAnimationNone;
        pBars->GetOptions()->m_bAlwaysShowFullMenus = FALSE;
        pMenuBar = pBars->SetMenu("Menu Bar", IDR_TEST_MENU);
        ASSERT_NE(nullptr, pMenuBar);
        pBars->RecalcFrameLayout();
        PumpMessages();
    }
    void TearDown() override
    {
        if (pBars)
            pBars->ClosePopups();
        if (pPopup) {
            if (pPopup->IsTrackingMode())
                pPopup->SetTrackingMode(FALSE);
            if (::IsWindow(pPopup->GetSafeHwnd()))
                pPopup->DestroyWindow();
            pPopup->InternalRelease();
        }
        frame.m_pCommandBars = NULL;
        if (pBars)
            pBars->InternalRelease();
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        PumpMessages();
    }

    // Opens the menu of a menu-bar title as a click on the title would.
    CQXPPopupBar* OpenMenu(int nTitle)
    {
        pMenuBar->SetPopuped(nTitle);
        PumpMessages();
        return dynamic_cast<CQXPPopupBar*>(pMenuBar->GetControl(nTitle)->GetCommandBar());
    }
    // A popup at a point, not owned by a bar, with buttons of these ids.
    CQXPPopupBar* MakePopup(const std::vector<int>& ids)
    {
        pPopup = CQXPPopupBar::CreateForOwner(pBars);
        pPopup->SetOwnerSite(&frame);
        for (int nId : ids) {
            CQXPControl* pControl = pPopup->GetControls()->Add(qxpControlButton, nId);
            pControl->SetCaption(CString("Command ") + std::to_string(nId).c_str());
        }
        return pPopup;
    }
    static CQXPControl* Find(CQXPCommandBar* pBar, int nId)
    {
        for (int i = 0; i < pBar->GetControlCount(); i++)
            if (pBar->GetControl(i)->GetID() == nId)
                return pBar->GetControl(i);
        return NULL;
    }
    static BOOL Shown(CQXPControl* pControl) { return pControl && pControl->IsVisible(0); }
    // A drop-down of eight items under a button of a new toolbar at the top
    // (the Windows 2000 look), opened where the work area leaves too little
    // room above and below the button for the list. The flags are the
    // toolbar's and the drop-down's own flip flags.
    struct CrampedDropDown {
        CQXPToolBar* pToolBar = NULL;
        CQXPControlPopup* pOpener = NULL;
        CQXPPopupBar* pDrop = NULL;
        CRect rcControl; // the button (screen)
    };
    CrampedDropDown OpenCrampedDropDown(BOOL bOpenerFlip, BOOL bPopupFlip)
    {
        CrampedDropDown d;
        CQXPThemePainter* pTheme = CreateThemePainter(qxpThemeWindows2000);
        pTheme->RefreshMetrics();
        pBars->SetPaintManager(pTheme);
        d.pToolBar = pBars->Add("Tools", qxpBarTop);
        if (!d.pToolBar)
            return d;
        d.pToolBar->m_bPopupFlip = bOpenerFlip;
        d.pOpener =
            dynamic_cast<CQXPControlPopup*>(d.pToolBar->GetControls()->Add(qxpControlButtonPopup, ID_TEST_UNDO));
        if (!d.pOpener)
            return d;
        d.pDrop = CQXPPopupBar::CreateForOwner(pBars);
        d.pDrop->m_bPopupFlip = bPopupFlip;
        for (int i = 0; i < 8; i++)
            d.pDrop->GetControls()->Add(qxpControlButton, 300 + i)->SetCaption("Item");
        d.pOpener->SetCommandBar(d.pDrop);
        d.pDrop->InternalRelease();
        pBars->RecalcFrameLayout();
        PumpMessages();
        d.rcControl = d.pOpener->GetRect();
        d.pToolBar->ClientToScreen(&d.rcControl);
        d.pDrop->m_rcWorkArea = CRect(0, d.rcControl.top - 30, 1000, d.rcControl.bottom + 95);
        d.pToolBar->SetPopuped(d.pOpener->GetIndex());
        PumpMessages();
        return d;
    }
    static CRect WindowRect(CQXPCommandBar* pBar)
    {
        CRect rc;
        ::GetWindowRect(pBar->GetSafeHwnd(), &rc);
        return rc;
    }
    void HideFileCommands()
    {
        pBars->SetCommandHidden(ID_TEST_SAVE);
        pBars->SetCommandHidden(ID_TEST_EXIT);
    }
    // The ids of the controls a popup shows, the expand button left out.
    static std::set<int> ShownIds(CQXPPopupBar* pBar)
    {
        std::set<int> ids;
        for (int i = 0; i < pBar->GetControlCount(); i++) {
            CQXPControl* pControl = pBar->GetControl(i);
            if (pControl != pBar->GetExpandButton() && Shown(pControl))
                ids.insert(pControl->GetID());
        }
        return ids;
    }
    // A window's rectangle with a margin, kept on the screen (a blit from
    // outside the screen gives nothing).
    static CRect ShotRect(CQXPCommandBar* pBar)
    {
        CRect rc = WindowRect(pBar);
        rc.InflateRect(8, 8);
        rc.IntersectRect(rc, CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
        return rc;
    }
    static std::string ScreenshotPath(const char* pszName)
    {
        return qmtest::ScreenshotDir(QM_BIN_DIR) + "/" + pszName;
    }

    CExpandFrame frame;
    CQXPCommandBars* pBars = NULL;
    CQXPMenuBar* pMenuBar = NULL;
    CQXPPopupBar* pPopup = NULL;
};

// ---------------------------------------------------------------------------
// Which commands a menu shows

TEST_F(PopupExpandTest, ShortenedMenuShowsTheOrdinaryCommandsAndAnExpandButtonBelowThem)
{
    HideFileCommands();
    CQXPPopupBar* pFile = OpenMenu(0);
    ASSERT_NE(nullptr, pFile);
    ASSERT_TRUE(::IsWindowVisible(pFile->GetSafeHwnd()));
    EXPECT_TRUE(pFile->HasHiddenItems());
    EXPECT_FALSE(pFile->IsExpanded());
    EXPECT_EQ(std::set<int>{ID_TEST_OPEN}, ShownIds(pFile));
    for (int nId : {ID_TEST_SAVE, ID_TEST_EXIT}) {
        CQXPControl* pHidden = Find(pFile, nId);
        EXPECT_TRUE(pHidden->IsRarelyUsed()) << nId;
        EXPECT_EQ((DWORD)qxpHideExpand, pHidden->GetHideFlags()) << nId;
    }
    CQXPControl* pExpand = pFile->GetExpandButton();
    ASSERT_NE(nullptr, pExpand);
    EXPECT_EQ(QXP_ID_EXPANDPOPUP, pExpand->GetID());
    EXPECT_EQ(qxpControlButton, pExpand->GetType());
    EXPECT_EQ(0x5Au, pExpand->GetFlags());
    EXPECT_TRUE(pExpand->IsTemporary());
    EXPECT_TRUE(Shown(pExpand));

    // The button lies directly below the list, across the whole inner
    // width, as tall as the paint manager measures it; the popup ends
    // right under it.
    CRect rcOpen = Find(pFile, ID_TEST_OPEN)->GetRect();
    CRect rcExpand = pExpand->GetRect();
    CRect rcClient;
    pFile->GetClientRect(&rcClient);
    CRect rcBorders = pFile->GetBorders();
    EXPECT_EQ(rcOpen.bottom, rcExpand.top);
    EXPECT_EQ(12, rcExpand.Height());
    EXPECT_EQ(rcBorders.left, rcExpand.left);
    EXPECT_EQ(rcClient.right - rcBorders.right, rcExpand.right);
    EXPECT_EQ(rcClient.bottom - rcBorders.bottom, rcExpand.bottom);
    EXPECT_EQ(pExpand, pFile->GetControls()->HitTest(rcExpand.CenterPoint()));
    CQXPControl* pSave = Find(pFile, ID_TEST_SAVE);
    EXPECT_NE(pSave, pFile->GetControls()->HitTest(pSave->GetRect().CenterPoint())) << "a hidden command is never hit";

    // Keyboard stepping stays on what is shown.
    pFile->SetSelected(Find(pFile, ID_TEST_OPEN)->GetIndex(), 2);
    pFile->ProcessSpecialKey(1);
    EXPECT_EQ(Find(pFile, ID_TEST_OPEN)->GetIndex(), pFile->GetSelectedIndex());
    pFile->ProcessSpecialKey(7);
    EXPECT_EQ(Find(pFile, ID_TEST_OPEN)->GetIndex(), pFile->GetSelectedIndex());

    ::RedrawWindow(pFile->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    qmtest::PumpFor(300);
    CRect rcShot = ShotRect(pFile);
    EXPECT_TRUE(qmtest::SaveScreenPng(rcShot, ScreenshotPath("popup_shortened.png")));
}

struct HiddenCase {
    const char* pszName;
    std::vector<int> hidden; // HiddenCommands
    std::vector<int> used;   // UsedCommands
    BOOL bAlwaysShowFull;
    std::set<int> shown; // what the popup shows
    BOOL bExpandButton;
};

class HiddenItemsTable : public PopupExpandTest, public ::testing::WithParamInterface<HiddenCase> {};

TEST_P(HiddenItemsTable, PopupShowsExactlyTheseCommands)
{
    const HiddenCase& c = GetParam();
    for (int nId : c.hidden)
        pBars->SetCommandHidden(nId);
    for (int nId : c.used)
        pBars->SetCommandUsed(nId);
    pBars->GetOptions()->m_bAlwaysShowFullMenus = c.bAlwaysShowFull;
    MakePopup({100, 101, 102, 103});
    ASSERT_TRUE(pPopup->PopupAt(60, 40, NULL));
    EXPECT_EQ(c.shown, ShownIds(pPopup));
    EXPECT_EQ(c.bExpandButton, pPopup->HasHiddenItems());
    EXPECT_EQ(c.bExpandButton, Shown(pPopup->GetExpandButton()));
    EXPECT_EQ(c.bAlwaysShowFull, pPopup->IsExpanded()) << "only the option makes a menu count as expanded";
    // The shown commands stack without gaps where hidden ones would be.
    int nBottom = -1;
    for (int i = 0; i < pPopup->GetControlCount(); i++) {
        CQXPControl* pControl = pPopup->GetControl(i);
        if (!Shown(pControl))
            continue;
        if (nBottom >= 0) {
            EXPECT_EQ(nBottom, pControl->GetRect().top) << "control " << i;
        }
        nBottom = pControl->GetRect().bottom;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HiddenItemsTable,
    ::testing::Values(HiddenCase{"SomeHidden", {101, 103}, {}, FALSE, {100, 102}, TRUE},
                      HiddenCase{"AllHiddenShowsAll", {100, 101, 102, 103}, {}, FALSE, {100, 101, 102, 103}, FALSE},
                      HiddenCase{"AlwaysShowFullMenus", {101, 103}, {}, TRUE, {100, 101, 102, 103}, FALSE},
                      HiddenCase{"UsedCommandsShow", {101, 103}, {101, 103}, FALSE, {100, 101, 102, 103}, FALSE},
                      HiddenCase{"PartlyUsed", {101, 103}, {103}, FALSE, {100, 102, 103}, TRUE},
                      HiddenCase{"NothingHidden", {}, {}, FALSE, {100, 101, 102, 103}, FALSE}),
    [](const ::testing::TestParamInfo<HiddenCase>& info) { return std::string(info.param.pszName); });

TEST_F(PopupExpandTest, SubmenuOfOnlyHiddenCommandsHidesItsPopupControlWithAutoHide)
{
    pBars->SetCommandHidden(ID_TEST_ANSI);
    pBars->SetCommandHidden(ID_TEST_UTF8);
    CQXPPopupBar* pEdit = OpenMenu(1);
    ASSERT_NE(nullptr, pEdit);
    CQXPControl* pEncoding = pEdit->GetControl(1);
    ASSERT_TRUE(pEncoding->GetCommandBar());
    EXPECT_TRUE(pBars->IsControlHidden(pEncoding));
    EXPECT_FALSE(Shown(pEncoding));
    EXPECT_TRUE(pEdit->HasHiddenItems());
    pBars->ClosePopups();

    pBars->GetOptions()->m_bAutoHideUnusedPopups = FALSE;
    EXPECT_FALSE(pBars->IsControlHidden(pEncoding));
    pEdit = OpenMenu(1);
    EXPECT_TRUE(Shown(pEncoding));
    EXPECT_FALSE(pEdit->HasHiddenItems());
    // The submenu itself holds nothing else, so it shows both.
    pEdit->SetPopuped(pEncoding->GetIndex());
    CQXPPopupBar* pSub = dynamic_cast<CQXPPopupBar*>(pEncoding->GetCommandBar());
    ASSERT_NE(nullptr, pSub);
    EXPECT_EQ((std::set<int>{ID_TEST_ANSI, ID_TEST_UTF8}), ShownIds(pSub));
    EXPECT_FALSE(pSub->HasHiddenItems());
}

// ---------------------------------------------------------------------------
// Expanding

enum ExpandWay {
    kButtonClick,
    kCtrlDown,
    kDownOnLast,
    kHoverTimer,
    kBarTimer,
    kButtonClickAnimated
};

class ExpandWays : public PopupExpandTest, public ::testing::WithParamInterface<ExpandWay> {};

TEST_P(ExpandWays, ShortenedMenuShowsEverythingAndGrows)
{
    HideFileCommands();
    if (GetParam() == kButtonClickAnimated)
        pBars->GetOptions()->m_nAnimation = qxpAnimateSlide;
    CQXPPopupBar* pFile = OpenMenu(0);
    ASSERT_NE(nullptr, pFile);
    ASSERT_TRUE(pFile->HasHiddenItems());
    CRect rcBefore = WindowRect(pFile);
    CQXPControl* pExpand = pFile->GetExpandButton();
    ASSERT_NE(nullptr, pExpand);
    // Keyboard tips shown for the popup go while it changes shape and are
    // asked back afterwards.
    pBars->EnableKeyboardTips(TRUE);
    BOOL bTips = pBars->ShowKeyboardTips(pFile, 1);
    EXPECT_TRUE(bTips);
    HWND hWnd = pFile->GetSafeHwnd();

    switch (GetParam()) {
    case kButtonClick:
    case kButtonClickAnimated: {
        CPoint pt = pExpand->GetRect().CenterPoint();
        ::SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        ::SendMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        break;
    }
    case kCtrlDown: {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        BYTE bOld = keys[VK_CONTROL];
        keys[VK_CONTROL] = 0x80;
        ::SetKeyboardState(keys);
        EXPECT_EQ(1, pFile->ProcessHookKeyDown(VK_DOWN));
        keys[VK_CONTROL] = bOld;
        ::SetKeyboardState(keys);
        break;
    }
    case kDownOnLast: {
        // Down from the only shown command would wrap onto itself.
        pFile->SetSelected(Find(pFile, ID_TEST_OPEN)->GetIndex(), 2);
        EXPECT_EQ(1, pFile->ProcessHookKeyDown(VK_DOWN));
        break;
    }
    case kHoverTimer:
        pFile->SetSelected(pExpand->GetIndex(), 1);
        EXPECT_FALSE(pFile->IsExpanded()) << "resting on the button waits for the timer";
        ::SendMessageA(hWnd, WM_TIMER, QXP_TID_SHOWFULL, 0);
        break;
    case kBarTimer:
        ::SendMessageA(pMenuBar->GetSafeHwnd(), WM_TIMER, QXP_TID_EXPANDPOPUP, 0);
        break;
    }

    EXPECT_TRUE(pFile->IsExpanded());
    EXPECT_FALSE(pFile->HasHiddenItems());
    EXPECT_EQ((std::set<int>{ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT}), ShownIds(pFile));
    EXPECT_FALSE(Shown(pFile->GetExpandButton()));
    EXPECT_TRUE(Find(pFile, ID_TEST_SAVE)->IsRarelyUsed()) << "still marked, drawn as rarely used";
    EXPECT_EQ(-1, pFile->GetSelectedIndex());
    CRect rcAfter = WindowRect(pFile);
    EXPECT_EQ(rcBefore.TopLeft(), rcAfter.TopLeft());
    EXPECT_GT(rcAfter.Height(), rcBefore.Height());
    EXPECT_TRUE(::IsWindowVisible(hWnd));
    CRect rcClient;
    pFile->GetClientRect(&rcClient);
    EXPECT_LE(Find(pFile, ID_TEST_EXIT)->GetRect().bottom, rcClient.bottom);
    EXPECT_TRUE(ToolkitMouseManager::GetInstance()->IsMenusExpanded());
    EXPECT_TRUE(ToolkitMouseManager::GetInstance()->IsExpandedByUser());
    if (bTips) {
        ASSERT_NE(nullptr, pBars->GetKeyboardTips());
        EXPECT_FALSE(pBars->GetKeyboardTips()->IsShown());
        MSG msg;
        BOOL bPosted = FALSE;
        while (::PeekMessageA(&msg, hWnd, WM_TIMER, WM_TIMER, PM_REMOVE))
            bPosted = bPosted || msg.wParam == QXP_TID_SHOWKEYTIPS;
        // A click ends the keyboard tips for good; the keyboard and the
        // timers keep them and ask the bar to show them again.
        BOOL bClick = GetParam() == kButtonClick || GetParam() == kButtonClickAnimated;
        EXPECT_EQ(!bClick, bPosted) << "the bar is asked to show its tips again";
    }
    PumpMessages();
    EXPECT_TRUE(pFile->IsTrackingMode());
    if (GetParam() == kButtonClickAnimated) {
        qmtest::PumpFor(200);
        EXPECT_TRUE(qmtest::SaveScreenPng(ShotRect(pFile), ScreenshotPath("popup_expanded.png")));
    }
}

std::string ExpandWayName(const ::testing::TestParamInfo<ExpandWay>& info)
{
    static const char* const names[] = {"ButtonClick", "CtrlDown", "DownOnLast",
                                        "HoverTimer", "BarTimer", "ButtonClickAnimated"};
    return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(Ways, ExpandWays,
                         ::testing::Values(kButtonClick, kCtrlDown, kDownOnLast, kHoverTimer, kBarTimer,
                                           kButtonClickAnimated),
                         ExpandWayName);

TEST_F(PopupExpandTest, DoubleClickOnATitleExpandsItsMenuOrRunsTheDefaultItem)
{
    HideFileCommands();
    CQXPControl* pTitle = pMenuBar->GetControl(0);
    CQXPPopupBar* pFile = dynamic_cast<CQXPPopupBar*>(pTitle->GetCommandBar());
    ASSERT_NE(nullptr, pFile);
    HWND hBar = pMenuBar->GetSafeHwnd();
    CPoint pt = pTitle->GetRect().CenterPoint();
    auto doubleClick = [&] {
        ::SendMessageA(hBar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        ::SendMessageA(hBar, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        ::SendMessageA(hBar, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        PumpMessages();
    };
    doubleClick();
    ASSERT_TRUE(pFile->IsTrackingMode());
    EXPECT_TRUE(pFile->IsExpanded());
    EXPECT_TRUE(Shown(Find(pFile, ID_TEST_EXIT)));
    EXPECT_TRUE(frame.commands.empty());
    pBars->ClosePopups();

    // With a default item the double click runs it instead.
    Find(pFile, ID_TEST_OPEN)->SetDefaultItem(TRUE);
    doubleClick();
    EXPECT_EQ(std::vector<UINT>{ID_TEST_OPEN}, frame.commands);
    EXPECT_FALSE(pFile->IsExpanded() && pFile->IsTrackingMode());
}

TEST_F(PopupExpandTest, KeysThatDoNotWrapAndDisabledDelayDoNotExpand)
{
    pBars->SetCommandHidden(ID_TEST_EXIT);
    CQXPPopupBar* pFile = OpenMenu(0);
    ASSERT_TRUE(pFile->HasHiddenItems());
    EXPECT_TRUE(::KillTimer(pMenuBar->GetSafeHwnd(), QXP_TID_EXPANDPOPUP)) << "opening starts the bar's timer";
    // Open -> Save moves on; only Down from Save (the last shown) wraps.
    pFile->SetSelected(Find(pFile, ID_TEST_OPEN)->GetIndex(), 2);
    pFile->ProcessHookKeyDown(VK_DOWN);
    EXPECT_FALSE(pFile->IsExpanded());
    EXPECT_EQ(Find(pFile, ID_TEST_SAVE)->GetIndex(), pFile->GetSelectedIndex());
    pFile->ProcessHookKeyDown(VK_UP);
    EXPECT_FALSE(pFile->IsExpanded());
    EXPECT_EQ(Find(pFile, ID_TEST_OPEN)->GetIndex(), pFile->GetSelectedIndex());

    // Without ShowFullAfterDelay the hover timer is not started; the
    // keyboard choosing the button does not start it either.
    pBars->GetOptions()->m_bShowFullAfterDelay = FALSE;
    pFile->SetSelected(pFile->GetExpandButton()->GetIndex(), 1);
    EXPECT_FALSE(::KillTimer(pFile->GetSafeHwnd(), QXP_TID_SHOWFULL));
    pBars->GetOptions()->m_bShowFullAfterDelay = TRUE;
    pFile->SetSelected(-1, 0);
    pFile->SetSelected(pFile->GetExpandButton()->GetIndex(), 2);
    EXPECT_FALSE(::KillTimer(pFile->GetSafeHwnd(), QXP_TID_SHOWFULL));
    pFile->SetSelected(-1, 0);
    pFile->SetSelected(pFile->GetExpandButton()->GetIndex(), 1);
    EXPECT_TRUE(::KillTimer(pFile->GetSafeHwnd(), QXP_TID_SHOWFULL)) << "the mouse resting on it starts it";
    EXPECT_FALSE(pFile->IsExpanded());

    // Without the option no menu starts the bar's timer.
    pBars->GetOptions()->m_bShowFullAfterDelay = FALSE;
    OpenMenu(1);
    EXPECT_FALSE(::KillTimer(pMenuBar->GetSafeHwnd(), QXP_TID_EXPANDPOPUP));
}

TEST_F(PopupExpandTest, KeyboardNeverSelectsAHiddenCommand)
{
    pBars->SetCommandHidden(ID_TEST_OPEN);
    CQXPPopupBar* pFile = OpenMenu(0);
    ASSERT_TRUE(pFile->HasHiddenItems());
    // The menu opened from the keyboard selects its first shown command.
    pFile->SetSelected(-1, 0);
    pFile->SetSelected(pFile->GetControls()->GetNext(-1, +1), 2);
    EXPECT_EQ(Find(pFile, ID_TEST_SAVE)->GetIndex(), pFile->GetSelectedIndex());
    pFile->ProcessSpecialKey(6); // Home
    EXPECT_EQ(Find(pFile, ID_TEST_SAVE)->GetIndex(), pFile->GetSelectedIndex());
    pFile->ProcessSpecialKey(1); // Up wraps to the last shown command
    EXPECT_EQ(Find(pFile, ID_TEST_EXIT)->GetIndex(), pFile->GetSelectedIndex());
    pFile->Expand();
    pFile->SetSelected(Find(pFile, ID_TEST_OPEN)->GetIndex(), 2);
    EXPECT_EQ(Find(pFile, ID_TEST_OPEN)->GetIndex(), pFile->GetSelectedIndex()) << "shown once expanded";
}

TEST_F(PopupExpandTest, ScrollingShortenedMenuKeepsItsExpandButtonAtTheFoot)
{
    std::vector<int> ids;
    for (int i = 0; i < 40; i++) {
        ids.push_back(100 + i);
        if (i % 3 == 1)
            pBars->SetCommandHidden(100 + i);
    }
    MakePopup(ids);
    pPopup->m_rcWorkArea = CRect(0, 0, 600, 300);
    ASSERT_TRUE(pPopup->PopupAt(50, 20, NULL));
    ASSERT_TRUE(pPopup->IsScrolling());
    ASSERT_TRUE(pPopup->HasHiddenItems());
    CQXPControl* pExpand = pPopup->GetExpandButton();
    ASSERT_TRUE(Shown(pExpand));
    CRect rcClient;
    pPopup->GetClientRect(&rcClient);
    EXPECT_EQ(rcClient.bottom - pPopup->GetBorders().bottom, pExpand->GetRect().bottom);
    const CRect& rcBand = pPopup->GetScrollAreaRect(FALSE);
    ASSERT_FALSE(rcBand.IsRectEmpty());
    EXPECT_LE(rcBand.bottom, pExpand->GetRect().top) << "the scroll band sits above the button";
    for (int i = 0; i < pPopup->GetControlCount(); i++) {
        CQXPControl* pControl = pPopup->GetControl(i);
        if (Shown(pControl) && pControl != pExpand) {
            EXPECT_LE(pControl->GetRect().bottom, rcBand.top) << "control " << i;
        }
    }
    // Expanding lays the list out again, still scrolling, without the button.
    pPopup->Expand();
    EXPECT_TRUE(pPopup->IsScrolling());
    EXPECT_FALSE(Shown(pPopup->GetExpandButton()));
    EXPECT_TRUE(Shown(pPopup->GetControl(1)));
}

TEST_F(PopupExpandTest, LaterMenusOfTheSameLoopOpenExpandedAndANewLoopStartsShortened)
{
    HideFileCommands();
    pBars->SetCommandHidden(ID_TEST_UNDO);
    CQXPPopupBar* pFile = OpenMenu(0);
    ASSERT_TRUE(pFile->HasHiddenItems());
    pFile->Expand();
    ASSERT_TRUE(pFile->IsExpanded());

    // Moving to the next title within the same menu loop.
    CQXPPopupBar* pEdit = OpenMenu(1);
    ASSERT_NE(nullptr, pEdit);
    EXPECT_FALSE(::IsWindowVisible(pFile->GetSafeHwnd()));
    EXPECT_TRUE(pEdit->IsExpanded());
    EXPECT_FALSE(pEdit->HasHiddenItems());
    EXPECT_TRUE(Shown(Find(pEdit, ID_TEST_UNDO)));
    // And back: the File menu now opens in full too.
    pFile = OpenMenu(0);
    EXPECT_TRUE(pFile->IsExpanded());
    EXPECT_TRUE(Shown(Find(pFile, ID_TEST_SAVE)));

    // The loop ends: a new one starts with shortened menus.
    pBars->ClosePopups();
    EXPECT_FALSE(pMenuBar->IsTrackingMode());
    EXPECT_FALSE(ToolkitMouseManager::GetInstance()->IsMenusExpanded());
    pFile = OpenMenu(0);
    EXPECT_FALSE(pFile->IsExpanded());
    EXPECT_TRUE(pFile->HasHiddenItems());
    EXPECT_FALSE(Shown(Find(pFile, ID_TEST_SAVE)));
}

TEST_F(PopupExpandTest, UsingAHiddenCommandShowsItNextTimeAndTheUsageSurvivesSaveAndLoad)
{
    qmtest::TempDir folder;
    CQXProfileStore::SetIniPath(folder.Path("options.ini").c_str());
    HideFileCommands();
    CQXPPopupBar* pFile = OpenMenu(0);
    pFile->Expand();
    CQXPControl* pSave = Find(pFile, ID_TEST_SAVE);
    ASSERT_TRUE(Shown(pSave));
    EXPECT_FALSE(pBars->GetOptions()->m_bChanged);
    CPoint pt = pSave->GetRect().CenterPoint();
    ::SendMessageA(pFile->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    PumpMessages();
    ASSERT_EQ(std::vector<UINT>{ID_TEST_SAVE}, frame.commands);
    EXPECT_TRUE(pBars->IsCommandUsed(ID_TEST_SAVE));
    EXPECT_FALSE(pBars->IsCommandHidden(ID_TEST_SAVE));
    EXPECT_TRUE(pBars->IsCommandHidden(ID_TEST_EXIT));
    EXPECT_TRUE(pBars->GetOptions()->m_bChanged);
    EXPECT_FALSE(::IsWindowVisible(pFile->GetSafeHwnd())) << "the command closed the menus";

    pFile = OpenMenu(0);
    EXPECT_EQ((std::set<int>{ID_TEST_OPEN, ID_TEST_SAVE}), ShownIds(pFile));
    EXPECT_TRUE(pFile->HasHiddenItems());
    pBars->ClosePopups();

    // The usage goes through the options' own store and comes back.
    pBars->SaveOptions("ExpandTest");
    pBars->ResetUsageData();
    EXPECT_TRUE(pBars->IsCommandHidden(ID_TEST_SAVE)) << "reset: hidden again";
    pFile = OpenMenu(0);
    EXPECT_FALSE(Shown(Find(pFile, ID_TEST_SAVE)));
    pBars->ClosePopups();
    pBars->GetOptions()->m_bChanged = FALSE;
    pBars->LoadOptions("ExpandTest");
    EXPECT_TRUE(pBars->IsCommandUsed(ID_TEST_SAVE));
    EXPECT_FALSE(pBars->GetOptions()->m_bChanged) << "loading is no change";
    EXPECT_FALSE(pBars->GetOptions()->m_bAlwaysShowFullMenus);
    pFile = OpenMenu(0);
    EXPECT_TRUE(Shown(Find(pFile, ID_TEST_SAVE)));
    pBars->ClosePopups();
    CQXProfileStore::SetIniPath("");
}

TEST_F(PopupExpandTest, HiddenCommandsTravelInTheOptionsArchiveButNotInTheProfile)
{
    HideFileCommands();
    pBars->SetCommandUsed(ID_TEST_SAVE);
    pBars->GetOptions()->m_bAutoHideUnusedPopups = FALSE;
    pBars->GetOptions()->m_bSyncFloatingBars = FALSE;
    pBars->GetOptions()->m_bDblClickFloat = TRUE;
    qmtest::Bytes bytes = qmtest::StoreBytes([&](CArchive& ar) { pBars->GetOptions()->Serialize(ar); });
    pBars->GetOptions()->m_hiddenCommands.clear();
    pBars->ResetUsageData();
    pBars->GetOptions()->m_bAutoHideUnusedPopups = TRUE;
    pBars->GetOptions()->m_bSyncFloatingBars = TRUE;
    pBars->GetOptions()->m_bDblClickFloat = FALSE;
    pBars->GetOptions()->m_bAlwaysShowFullMenus = TRUE;
    qmtest::LoadBytes(bytes, [&](CArchive& ar) { pBars->GetOptions()->Serialize(ar); });
    EXPECT_EQ((std::vector<int>{ID_TEST_SAVE, ID_TEST_EXIT}), pBars->GetOptions()->m_hiddenCommands);
    EXPECT_EQ(std::vector<int>{ID_TEST_SAVE}, pBars->GetOptions()->m_usedCommands);
    EXPECT_FALSE(pBars->GetOptions()->m_bAutoHideUnusedPopups);
    EXPECT_FALSE(pBars->GetOptions()->m_bAlwaysShowFullMenus);
    EXPECT_FALSE(pBars->GetOptions()->m_bSyncFloatingBars);
    EXPECT_TRUE(pBars->GetOptions()->m_bDblClickFloat);
    EXPECT_TRUE(pBars->IsCommandHidden(ID_TEST_EXIT));
    EXPECT_FALSE(pBars->IsCommandHidden(ID_TEST_SAVE));

    // The profile keeps the usage only: the hidden list is the program's.
    qmtest::TempDir folder;
    CQXProfileStore::SetIniPath(folder.Path("options.ini").c_str());
    pBars->SaveOptions("ExpandTest");
    pBars->GetOptions()->m_hiddenCommands.clear();
    pBars->LoadOptions("ExpandTest");
    EXPECT_TRUE(pBars->GetOptions()->m_hiddenCommands.empty());
    EXPECT_TRUE(pBars->IsCommandUsed(ID_TEST_SAVE));
    CQXProfileStore::SetIniPath("");
}

TEST_F(PopupExpandTest, ExpandButtonAndTimersOfAClosedMenuDoNothing)
{
    HideFileCommands();
    CQXPPopupBar* pFile = OpenMenu(0);
    CQXPControl* pExpand = pFile->GetExpandButton();
    ASSERT_NE(nullptr, pExpand);
    pExpand->InternalAddRef();
    HWND hWnd = pFile->GetSafeHwnd();
    pFile->SetSelected(pExpand->GetIndex(), 1);
    pBars->ClosePopups();
    ASSERT_FALSE(pFile->IsTrackingMode());

    // Late timers of the popup and of the menu bar.
    if (::IsWindow(hWnd))
        ::SendMessageA(hWnd, WM_TIMER, QXP_TID_SHOWFULL, 0);
    ::SendMessageA(pMenuBar->GetSafeHwnd(), WM_TIMER, QXP_TID_EXPANDPOPUP, 0);
    EXPECT_FALSE(pFile->IsExpanded());
    EXPECT_FALSE(ToolkitMouseManager::GetInstance()->IsMenusExpanded());

    // The button executed after its menu closed, then after it left the
    // menu altogether.
    pExpand->OnExecute();
    EXPECT_FALSE(pFile->IsExpanded());
    pFile->GetControls()->RemoveAll();
    EXPECT_EQ(nullptr, pExpand->GetParent());
    pExpand->OnExecute();
    pExpand->InternalRelease();
    EXPECT_FALSE(ToolkitMouseManager::GetInstance()->IsMenusExpanded());
}

TEST_F(PopupExpandTest, TornOffToolbarAndClonesLeaveTheExpandButtonOut)
{
    HideFileCommands();
    CQXPPopupBar* pFile = OpenMenu(0);
    ASSERT_NE(nullptr, pFile->GetExpandButton());
    pFile->m_bShowShadow = FALSE;
    pFile->m_rcBorders = CRect(1, 2, 3, 4);
    pFile->m_bDoubleGripper = TRUE;
    pFile->m_bContextMenu = TRUE;
    pFile->m_bTearOffPopup = TRUE;
    pFile->m_strTearOffCaption = "File tools";
    pFile->m_nTearOffId = 4711;
    pFile->m_nTearOffWidth = 120;
    CQXPPopupBar* pClone = pFile->Clone(TRUE);
    ASSERT_NE(nullptr, pClone);
    EXPECT_EQ(3, pClone->GetControlCount()) << "no expand button in the copy";
    EXPECT_EQ(nullptr, pClone->GetExpandButton());
    EXPECT_FALSE(pClone->m_bShowShadow);
    EXPECT_EQ(CRect(1, 2, 3, 4), pClone->m_rcBorders);
    EXPECT_TRUE(pClone->m_bDoubleGripper);
    EXPECT_TRUE(pClone->m_bContextMenu);
    EXPECT_TRUE(pClone->m_bTearOffPopup);
    EXPECT_EQ(std::string("File tools"), std::string(pClone->m_strTearOffCaption));
    EXPECT_EQ(4711, pClone->m_nTearOffId);
    EXPECT_EQ(120, pClone->m_nTearOffWidth);
    pClone->InternalRelease();

    // A popup control copied with its bar gets such a clone.
    CQXPControlPopup copy;
    copy.Copy(pMenuBar->GetControl(0), TRUE);
    CQXPPopupBar* pCopied = dynamic_cast<CQXPPopupBar*>(copy.GetCommandBar());
    ASSERT_NE(nullptr, pCopied);
    EXPECT_NE(pFile, pCopied);
    EXPECT_TRUE(pCopied->m_bDoubleGripper);
    EXPECT_EQ(3, pCopied->GetControlCount());
    copy.SetCommandBar((CQXPCommandBar*)NULL);
}

TEST_F(PopupExpandTest, WhileABarLoopRunsClicksOutsideLeaveTheMenusOpen)
{
    CQXPPopupBar* pFile = OpenMenu(0);
    ASSERT_TRUE(pFile->IsTrackingMode());
    ToolkitMouseManager* pMouse = ToolkitMouseManager::GetInstance();
    CPoint ptFar(::GetSystemMetrics(SM_CXSCREEN) - 5, ::GetSystemMetrics(SM_CYSCREEN) - 5);
    pMouse->EnterBarLoop();
    pMouse->OnMouseHook(WM_LBUTTONUP, ptFar);
    pMouse->OnMouseHook(WM_LBUTTONDOWN, ptFar);
    EXPECT_TRUE(pFile->IsTrackingMode()) << "the release that ends a drag is not a click outside";
    pMouse->LeaveBarLoop();
    pMouse->LeaveBarLoop(); // unbalanced calls do not go below zero
    EXPECT_EQ(0, pMouse->GetBarLoopCount());
    pMouse->OnMouseHook(WM_LBUTTONDOWN, ptFar);
    EXPECT_FALSE(pFile->IsTrackingMode());
}

TEST_F(PopupExpandTest, TearOffLoopIsCountedAsABarLoop)
{
    MakePopup({100, 101});
    pPopup->m_bTearOffPopup = TRUE;
    ASSERT_TRUE(pPopup->PopupAt(60, 40, NULL));
    CPoint pt = pPopup->GetTearOffRect().CenterPoint();
    ::PostMessageA(frame.GetSafeHwnd(), WM_TEST_RECORDLOOPS, 0, 0);
    ::PostMessageA(pPopup->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(nullptr, pPopup->TrackTearOff(pt));
    EXPECT_EQ(1, frame.m_nLoopsSeen);
    EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetBarLoopCount());
}

// ---------------------------------------------------------------------------
// Resize gripper

class GripperTest : public PopupExpandTest {
protected:
    CTestResizable* MakeResizablePopup(int nFlags, int nMinW, int nMinH)
    {
        MakePopup({});
        CTestResizable* pControl = new CTestResizable(nFlags, nMinW, nMinH);
        pPopup->GetControls()->AddControl(pControl, 0);
        return pControl;
    }
    // Posts the moves (relative to the start) and the ending message, then
    // runs the loop from a press at the gripper's hot spot.
    void Drag(const std::vector<CPoint>& moves, UINT nEnd)
    {
        HWND hWnd = pPopup->GetSafeHwnd();
        CPoint ptStart = pPopup->GetResizeHitRect().CenterPoint();
        for (const CPoint& d : moves)
            ::PostMessageA(hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptStart.x + d.x, ptStart.y + d.y));
        ::PostMessageA(frame.GetSafeHwnd(), WM_TEST_RECORDLOOPS, 0, 0);
        if (nEnd == WM_KEYDOWN)
            ::PostMessageA(hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        else
            ::PostMessageA(hWnd, nEnd, 0, MAKELPARAM(ptStart.x, ptStart.y));
        ::SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptStart.x, ptStart.y));
    }
};

TEST_F(GripperTest, GripperSitsAtTheBottomWithItsHeightAndCursor)
{
    struct {
        int nFlags;
        int nHeight;
        LPCSTR lpszCursor;
    } cases[] = {{1, 11, IDC_SIZENWSE}, {2, 8, IDC_SIZENS}, {3, 11, IDC_SIZENWSE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nFlags);
        MakeResizablePopup(c.nFlags, 0, 0);
        ASSERT_TRUE(pPopup->PopupAt(60, 40, NULL));
        EXPECT_EQ(c.nFlags, pPopup->GetResizeFlags());
        CRect rcClient;
        pPopup->GetClientRect(&rcClient);
        CRect rcGripper = pPopup->GetResizeGripperRect();
        CRect rcBorders = pPopup->GetBorders();
        EXPECT_EQ(c.nHeight, rcGripper.Height());
        EXPECT_EQ(rcClient.bottom - rcBorders.bottom, rcGripper.bottom);
        EXPECT_EQ(rcBorders.left, rcGripper.left);
        EXPECT_EQ(rcClient.right - rcBorders.right, rcGripper.right);
        EXPECT_LE(pPopup->GetControl(0)->GetRect().bottom, rcGripper.top) << "below the control";
        CRect rcHit = pPopup->GetResizeHitRect();
        if (c.nFlags == 2)
            EXPECT_EQ(rcGripper, rcHit);
        else
            EXPECT_EQ(CRect(rcGripper.right - c.nHeight, rcGripper.top, rcGripper.right, rcGripper.bottom), rcHit);

        CPoint pt = rcHit.CenterPoint();
        ::ClientToScreen(pPopup->GetSafeHwnd(), &pt);
        ::SetCursorPos(pt.x, pt.y);
        ::SendMessageA(pPopup->GetSafeHwnd(), WM_SETCURSOR, (WPARAM)pPopup->GetSafeHwnd(),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(::LoadCursor(NULL, c.lpszCursor), ::GetCursor());
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);

        if (c.nFlags == 3) {
            ::RedrawWindow(pPopup->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
            qmtest::PumpFor(300);
            CRect rcShot = ShotRect(pPopup);
            EXPECT_TRUE(qmtest::SaveScreenPng(rcShot, ScreenshotPath("popup_gripper.png")));
        }
        pPopup->SetTrackingMode(FALSE);
        pPopup->DestroyWindow();
        pPopup->InternalRelease();
        pPopup = NULL;
    }
}

struct GripCase {
    const char* pszName;
    int nFlags, nMinW, nMinH;
    std::vector<CPoint> moves;
    UINT nEnd;           // WM_LBUTTONUP or WM_KEYDOWN (Escape)
    int nWidth, nHeight; // the control's size after the loop
};

class GripperTable : public GripperTest, public ::testing::WithParamInterface<GripCase> {};

TEST_P(GripperTable, LoopResizesTheControlAndThePopup)
{
    const GripCase& c = GetParam();
    CTestResizable* pControl = MakeResizablePopup(c.nFlags, c.nMinW, c.nMinH);
    ASSERT_TRUE(pPopup->PopupAt(60, 40, NULL));
    CRect rcBefore = WindowRect(pPopup);
    Drag(c.moves, c.nEnd);
    EXPECT_EQ(c.nWidth, pControl->GetWidth());
    EXPECT_EQ(c.nHeight, pControl->GetHeight());
    EXPECT_EQ(1, frame.m_nLoopsSeen) << "the loop is counted while it runs";
    EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetBarLoopCount());
    EXPECT_EQ((HWND)NULL, ::GetCapture());
    // The popup follows the control, its top-left corner fixed.
    CRect rcAfter = WindowRect(pPopup);
    EXPECT_EQ(rcBefore.TopLeft(), rcAfter.TopLeft());
    EXPECT_EQ(rcBefore.Width() + (c.nWidth - 160), rcAfter.Width());
    EXPECT_EQ(rcBefore.Height() + (c.nHeight - 80), rcAfter.Height());
    EXPECT_EQ(pControl->GetRect().Height(), c.nHeight);
    EXPECT_TRUE(pPopup->IsTrackingMode()) << "resizing does not close the popup";
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, GripperTable,
    ::testing::Values(GripCase{"BothGrow", 3, 0, 0, {CPoint(10, 5), CPoint(30, 20)}, WM_LBUTTONUP, 190, 100},
                      GripCase{"WidthOnly", 1, 0, 0, {CPoint(25, 40)}, WM_LBUTTONUP, 185, 80},
                      GripCase{"HeightOnly", 2, 0, 0, {CPoint(25, 40)}, WM_LBUTTONUP, 160, 120},
                      GripCase{"ShrinkStopsAtMinimum", 3, 120, 50, {CPoint(-100, -100)}, WM_LBUTTONUP, 120, 50},
                      GripCase{"BackAboveMinimum", 3, 120, 50, {CPoint(-100, -100), CPoint(-20, -10)}, WM_LBUTTONUP, 140, 70},
                      GripCase{"EscapeRestores", 3, 0, 0, {CPoint(30, 30), CPoint(50, 60)}, WM_KEYDOWN, 160, 80},
                      GripCase{"SamePointChangesNothing", 3, 0, 0, {CPoint(0, 0)}, WM_LBUTTONUP, 160, 80}),
    [](const ::testing::TestParamInfo<GripCase>& info) { return std::string(info.param.pszName); });

TEST_F(GripperTest, QuitEndsTheLoopAndIsPostedAgainAndNoLoopStartsWithoutAGripper)
{
    CTestResizable* pControl = MakeResizablePopup(3, 0, 0);
    ASSERT_TRUE(pPopup->PopupAt(60, 40, NULL));
    HWND hWnd = pPopup->GetSafeHwnd();
    CPoint pt = pPopup->GetResizeHitRect().CenterPoint();
    ::PostQuitMessage(7);
    EXPECT_TRUE(pPopup->TrackResize(pt));
    EXPECT_EQ(160, pControl->GetWidth());
    EXPECT_TRUE(::IsWindow(hWnd));
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
    EXPECT_EQ((HWND)NULL, ::GetCapture());
    EXPECT_EQ(0, ToolkitMouseManager::GetInstance()->GetBarLoopCount());

    // Another window holding the capture keeps the loop from starting.
    ::SetCapture(frame.GetSafeHwnd());
    EXPECT_FALSE(pPopup->TrackResize(pt));
    ::ReleaseCapture();

    // A popup without a resizable control has no gripper.
    pPopup->SetTrackingMode(FALSE);
    pPopup->DestroyWindow();
    pPopup->InternalRelease();
    MakePopup({100, 101});
    ASSERT_TRUE(pPopup->PopupAt(60, 40, NULL));
    EXPECT_EQ(0, pPopup->GetResizeFlags());
    EXPECT_TRUE(pPopup->GetResizeGripperRect().IsRectEmpty());
    EXPECT_FALSE(pPopup->TrackResize(CPoint(5, 5)));
}

// ---------------------------------------------------------------------------
// Laying a popup out again: in its present state, in columns, as a toolbar

TEST_F(PopupExpandTest, LayoutInThePresentStateKeepsHiddenCommandsAndShortcutTexts)
{
    HideFileCommands();
    pBars->GetOptions()->m_bMenuShortcuts = TRUE;
    MakePopup({ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT});
    ASSERT_TRUE(pPopup->PopupAt(60, 40, NULL));
    CQXPControl* pOpen = Find(pPopup, ID_TEST_OPEN);
    CQXPControl* pSave = Find(pPopup, ID_TEST_SAVE);
    ASSERT_FALSE(Shown(pSave));
    ASSERT_TRUE(pPopup->HasHiddenItems());
    CSize szShort = pPopup->CalcLayout(0, 0);

    // Meanwhile Save is used and Open gets a key.
    pBars->SetCommandUsed(ID_TEST_SAVE);
    ACCEL accel = {FVIRTKEY | FCONTROL, 'O', ID_TEST_OPEN};
    pBars->GetKeyboardShortcuts()->SetAcceleratorTable(&accel, 1);
    pOpen->m_strShortcutTextAuto = "";

    EXPECT_EQ(szShort, pPopup->CalcLayout(0, qxpLayoutKeepState));
    EXPECT_FALSE(Shown(pSave)) << "the present state still hides it";
    EXPECT_TRUE(pPopup->HasHiddenItems());
    EXPECT_TRUE(Shown(pPopup->GetExpandButton()));
    EXPECT_EQ(std::string(), std::string(pOpen->m_strShortcutTextAuto));

    CSize szFresh = pPopup->CalcLayout(0, 0);
    EXPECT_TRUE(Shown(pSave));
    EXPECT_GT(szFresh.cy, szShort.cy);
    EXPECT_TRUE(pPopup->HasHiddenItems()) << "Exit was never used";
    EXPECT_EQ(std::string("Ctrl+O"), std::string(pOpen->m_strShortcutTextAuto));
}

TEST_F(PopupExpandTest, PopupToolbarLaysOutInRowsAfreshAndHidesNoRarelyUsedCommand)
{
    HideFileCommands();
    pBars->GetOptions()->m_bMenuShortcuts = TRUE;
    CQXPPopupToolBar* pBar = CQXPPopupToolBar::CreatePopupToolBar(pBars);
    pPopup = pBar;
    pBar->SetOwnerSite(&frame);
    // Three groups of two: a popup toolbar starts a row at each group.
    const int ids[] = {ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT, ID_TEST_UNDO, ID_TEST_ANSI, ID_TEST_UTF8};
    for (int i = 0; i < 6; i++) {
        CQXPControl* pControl = pBar->GetControls()->Add(qxpControlButton, ids[i]);
        pControl->SetCaption("Tool");
        pControl->SetBeginGroup(i == 2 || i == 4);
    }
    ACCEL accel = {FVIRTKEY | FCONTROL, 'S', ID_TEST_SAVE};
    pBars->GetKeyboardShortcuts()->SetAcceleratorTable(&accel, 1);
    ASSERT_TRUE(pBar->PopupAt(60, 40, NULL));
    EXPECT_EQ(qxpBarTypeNormal, pBar->GetType());
    EXPECT_FALSE(pBar->HasHiddenItems());
    EXPECT_EQ(nullptr, pBar->GetExpandButton());
    for (int nId : ids)
        EXPECT_TRUE(Shown(Find(pBar, nId))) << nId;
    auto top = [&](int i) { return Find(pBar, ids[i])->GetRect().top; };
    auto left = [&](int i) { return Find(pBar, ids[i])->GetRect().left; };
    EXPECT_EQ(top(0), top(1));
    EXPECT_LT(left(0), left(1));
    EXPECT_GT(top(2), top(1));
    EXPECT_EQ(top(2), top(3));
    EXPECT_GT(top(4), top(3));
    EXPECT_EQ(left(0), left(2));
    EXPECT_EQ(CPoint(2, 4), Find(pBar, ids[0])->GetRect().TopLeft()) << "inside margins of 2 and 4";
    CRect rcClient;
    pBar->GetClientRect(&rcClient);
    EXPECT_EQ(rcClient.Size(), pBar->CalcLayout(0, 0));

    // The present state is never kept: the new key shows at once.
    Find(pBar, ID_TEST_SAVE)->m_strShortcutTextAuto = "";
    EXPECT_EQ(rcClient.Size(), pBar->CalcLayout(0, qxpLayoutKeepState));
    EXPECT_EQ(std::string("Ctrl+S"), std::string(Find(pBar, ID_TEST_SAVE)->m_strShortcutTextAuto));

    // A copy is a popup toolbar again and lays out the same way.
    CQXPPopupBar* pClone = pBar->Clone(TRUE);
    ASSERT_NE(nullptr, dynamic_cast<CQXPPopupToolBar*>(pClone));
    EXPECT_EQ(qxpBarTypeNormal, pClone->GetType());
    EXPECT_EQ(rcClient.Size(), pClone->CalcLayout(0, 0));
    pClone->InternalRelease();
}

struct ColumnCase {
    const char* pszName;
    BOOL bFlip;
    BOOL bScrolls; // else further columns
};

class TallMenuTable : public PopupExpandTest, public ::testing::WithParamInterface<ColumnCase> {};

TEST_P(TallMenuTable, MenuTallerThanTheWorkAreaScrollsOrContinuesInColumns)
{
    const ColumnCase& c = GetParam();
    pBars->GetOptions()->m_bPopupFlip = c.bFlip;
    std::vector<int> ids;
    for (int i = 0; i < 40; i++)
        ids.push_back(200 + i);
    MakePopup(ids);
    const CRect rcWork(0, 0, 1000, 305); // 300 usable
    pPopup->m_rcWorkArea = rcWork;
    ASSERT_TRUE(pPopup->PopupAt(60, 40, NULL));
    CRect rc = WindowRect(pPopup);
    EXPECT_GE(rc.top, rcWork.top);
    EXPECT_LE(rc.bottom, rcWork.bottom - 5);
    EXPECT_EQ(c.bScrolls, pPopup->IsScrolling());
    int nWraps = 0, nScrolledOut = 0;
    for (int nId : ids) {
        CQXPControl* pControl = Find(pPopup, nId);
        nWraps += pControl->GetWrap() ? 1 : 0;
        nScrolledOut += (pControl->GetHideFlags() & qxpHideScroll) ? 1 : 0;
    }
    if (c.bScrolls) {
        EXPECT_EQ(0, nWraps);
        EXPECT_GT(nScrolledOut, 0);
        EXPECT_FALSE(pPopup->GetScrollAreaRect(FALSE).IsRectEmpty());
    } else {
        // Every command shows, in columns side by side; none runs past the
        // bottom.
        EXPECT_GT(nWraps, 0);
        EXPECT_EQ(0, nScrolledOut);
        CRect rcClient;
        pPopup->GetClientRect(&rcClient);
        CRect rcFirst = Find(pPopup, ids.front())->GetRect();
        CRect rcLast = Find(pPopup, ids.back())->GetRect();
        EXPECT_GE(rcLast.left, rcFirst.right);
        for (int nId : ids) {
            EXPECT_TRUE(Shown(Find(pPopup, nId))) << nId;
            EXPECT_LE(Find(pPopup, nId)->GetRect().bottom, rcClient.bottom) << nId;
        }
        EXPECT_LE(rcClient.right, rcWork.Width());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TallMenuTable,
                         ::testing::Values(ColumnCase{"WithoutFlipping", FALSE, TRUE},
                                           ColumnCase{"FlippingAllowed", TRUE, FALSE}),
                         [](const ::testing::TestParamInfo<ColumnCase>& info) {
                             return std::string(info.param.pszName);
                         });

// ---------------------------------------------------------------------------
// How far a popup overlaps the control that opens it

struct ExcludeCase {
    const char* pszName;
    int nTheme;     // qxpThemeWindows2000 or qxpThemeOfficeXP
    int nPosition;  // the opening control's bar: top, left, or a menu (popup)
    CPoint ptDelta; // the popup's top-left from the control's corner it opens at
};

class ExcludeTable : public PopupExpandTest, public ::testing::WithParamInterface<ExcludeCase> {};

TEST_P(ExcludeTable, PopupOpensAgainstTheControlAsTheThemeAdjustsIt)
{
    const ExcludeCase& c = GetParam();
    CQXPThemePainter* pTheme = CreateThemePainter(c.nTheme);
    ASSERT_NE(nullptr, pTheme);
    pTheme->RefreshMetrics();
    pBars->SetPaintManager(pTheme);
    CQXPControlPopup* pOpener = NULL;
    CQXPCommandBar* pParent = NULL;
    CQXPPopupBar* pMenu = NULL;
    if (c.nPosition == qxpBarPopup) {
        // An item of a menu opened at a point.
        pMenu = MakePopup({ID_TEST_OPEN});
        pOpener = CQXPControlPopup::CreateControlPopup(qxpControlPopup);
        pMenu->GetControls()->AddControl(pOpener, ID_TEST_UNDO);
        pOpener->SetCaption("More");
        pParent = pMenu;
    } else {
        CQXPToolBar* pToolBar = pBars->Add("Tools", c.nPosition);
        ASSERT_NE(nullptr, pToolBar);
        pToolBar->GetControls()->Add(qxpControlButton, ID_TEST_OPEN);
        pOpener = dynamic_cast<CQXPControlPopup*>(pToolBar->GetControls()->Add(qxpControlButtonPopup, ID_TEST_UNDO));
        pParent = pToolBar;
        pBars->RecalcFrameLayout();
    }
    ASSERT_NE(nullptr, pOpener);
    CQXPPopupBar* pDrop = CQXPPopupBar::CreateForOwner(pBars);
    pDrop->GetControls()->Add(qxpControlButton, ID_TEST_SAVE)->SetCaption("Save");
    pOpener->SetCommandBar(pDrop);
    pDrop->InternalRelease();
    if (pMenu)
        ASSERT_TRUE(pMenu->PopupAt(60, 40, NULL));
    PumpMessages();
    pParent->SetPopuped(pOpener->GetIndex());
    PumpMessages();
    ASSERT_TRUE(::IsWindowVisible(pDrop->GetSafeHwnd()));

    CRect rcControl = pOpener->GetRect();
    pParent->ClientToScreen(&rcControl);
    // A drop-down opens at the control's bottom-left corner, a popup
    // beside a vertical bar or a menu at its top-right corner.
    CPoint ptCorner = c.nPosition == qxpBarTop ? CPoint(rcControl.left, rcControl.bottom)
                                               : CPoint(rcControl.right, rcControl.top);
    EXPECT_EQ(ptCorner + c.ptDelta, WindowRect(pDrop).TopLeft());
    pParent->SetPopuped(-1);
    PumpMessages();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExcludeTable,
    ::testing::Values(ExcludeCase{"ClassicTopBarOneBelow", qxpThemeWindows2000, qxpBarTop, CPoint(0, 1)},
                      ExcludeCase{"ClassicLeftBarOneRight", qxpThemeWindows2000, qxpBarLeft, CPoint(1, 0)},
                      ExcludeCase{"ClassicMenuOneInside", qxpThemeWindows2000, qxpBarPopup, CPoint(-1, 0)},
                      ExcludeCase{"OfficeXPTopBarOverlapsOne", qxpThemeOfficeXP, qxpBarTop, CPoint(0, -1)},
                      ExcludeCase{"OfficeXPLeftBarOverlapsOne", qxpThemeOfficeXP, qxpBarLeft, CPoint(-1, 0)},
                      ExcludeCase{"OfficeXPMenuAtTheEdge", qxpThemeOfficeXP, qxpBarPopup, CPoint(0, 0)}),
    [](const ::testing::TestParamInfo<ExcludeCase>& info) { return std::string(info.param.pszName); });

TEST_F(PopupExpandTest, DropDownWithoutRoomAboveOrBelowFlipsBesideItsButton)
{
    pBars->GetOptions()->m_bPopupFlip = TRUE;
    // Too little room above the button and below it for the list.
    CrampedDropDown d = OpenCrampedDropDown(FALSE, FALSE);
    ASSERT_NE(nullptr, d.pDrop);
    CQXPToolBar* pToolBar = d.pToolBar;
    CQXPPopupBar* pDrop = d.pDrop;
    const CRect rcControl = d.rcControl;
    ASSERT_TRUE(::IsWindowVisible(pDrop->GetSafeHwnd()));
    CRect rc = WindowRect(pDrop);
    ASSERT_GT(rc.Height(), 30 + 5) << "the list is taller than either side";
    EXPECT_EQ(0, pDrop->m_popupFlags & qxpPopupDown);
    // Beside the button as from a vertical bar: one pixel clear of its
    // right edge, with its foot at the work area's usable bottom.
    EXPECT_EQ(rcControl.right + 1, rc.left);
    EXPECT_EQ(rcControl.bottom + 95 - 5, rc.bottom);
    pToolBar->SetPopuped(-1);
    PumpMessages();
}

// Who lets a drop-down flip beside its button when it has no room above or
// below: the manager's option, the bar that opens it, or the drop-down
// itself. Flipped, the list is still taller than the work area: it lays out
// again in the room there is, unless it flips by its own flag (then it keeps
// its size from the top of the work area). Without any flag it takes the
// larger side and scrolls.
struct FlipCase {
    const char* pszName;
    BOOL bManager; // the manager's PopupFlip option
    BOOL bOpener;  // the toolbar's own flag
    BOOL bPopup;   // the drop-down's own flag
    BOOL bFlips;
};

class FlipTable : public PopupExpandTest, public ::testing::WithParamInterface<FlipCase> {};

TEST_P(FlipTable, DropDownWithoutRoomFlipsOnlyWhereAFlagAllowsIt)
{
    const FlipCase& c = GetParam();
    CQXPToolBar* pNew = new CQXPToolBar;
    EXPECT_FALSE(pNew->m_bPopupFlip) << "off unless set";
    pNew->InternalRelease();
    pBars->GetOptions()->m_bPopupFlip = c.bManager;
    CrampedDropDown d = OpenCrampedDropDown(c.bOpener, c.bPopup);
    ASSERT_NE(nullptr, d.pDrop);
    CQXPToolBar* pToolBar = d.pToolBar;
    CQXPPopupBar* pDrop = d.pDrop;
    const CRect rcControl = d.rcControl;
    EXPECT_EQ(c.bFlips, pDrop->IsFlipAllowed());
    ASSERT_TRUE(::IsWindowVisible(pDrop->GetSafeHwnd()));
    CRect rc = WindowRect(pDrop);
    const int nUsableBottom = rcControl.bottom + 95 - 5;
    if (c.bFlips) {
        // Beside the button as from a vertical bar.
        EXPECT_EQ(0, pDrop->m_popupFlags & qxpPopupDown);
        EXPECT_EQ(rcControl.right + 1, rc.left);
        EXPECT_FALSE(pDrop->IsScrolling());
        if (c.bPopup) {
            EXPECT_EQ(rcControl.top - 30, rc.top);
            EXPECT_GT(rc.bottom, nUsableBottom) << "as tall as its one column";
        } else {
            // Its foot at the usable bottom, in columns that fit.
            EXPECT_EQ(nUsableBottom, rc.bottom);
            EXPECT_GE(rc.top, rcControl.top - 30);
        }
    } else {
        // Below the button, where there is more room, cut to it.
        EXPECT_EQ(qxpPopupDown, pDrop->m_popupFlags & qxpPopupDown);
        EXPECT_GE(rc.top, rcControl.bottom - 1);
        EXPECT_LE(rc.bottom, nUsableBottom);
        EXPECT_TRUE(pDrop->IsScrolling());
    }
    pToolBar->SetPopuped(-1);
    PumpMessages();
    pBars->GetOptions()->m_bPopupFlip = FALSE;
}

INSTANTIATE_TEST_SUITE_P(Cases, FlipTable,
                         ::testing::Values(FlipCase{"ManagersOption", TRUE, FALSE, FALSE, TRUE},
                                           FlipCase{"OpeningBarsFlag", FALSE, TRUE, FALSE, TRUE},
                                           FlipCase{"DropDownsOwnFlag", FALSE, FALSE, TRUE, TRUE},
                                           FlipCase{"Neither", FALSE, FALSE, FALSE, FALSE}),
                         [](const ::testing::TestParamInfo<FlipCase>& info) {
                             return std::string(info.param.pszName);
                         });

// A menu taller than the work area that flips by its own flag keeps its
// size (no further columns, no scrolling), whatever the manager's option.
TEST_F(PopupExpandTest, TallMenuFlippingByItsOwnFlagKeepsItsSize)
{
    for (BOOL bManager : {FALSE, TRUE}) {
        SCOPED_TRACE(bManager ? "with the manager's option too" : "its own flag alone");
        pBars->GetOptions()->m_bPopupFlip = bManager;
        std::vector<int> ids;
        for (int i = 0; i < 40; i++)
            ids.push_back(200 + i);
        if (pPopup) {
            pPopup->SetTrackingMode(FALSE);
            pPopup->DestroyWindow();
            pPopup->InternalRelease();
            pPopup = NULL;
        }
        MakePopup(ids);
        pPopup->m_bPopupFlip = TRUE;
        const CRect rcWork(0, 0, 1000, 305); // 300 usable
        pPopup->m_rcWorkArea = rcWork;
        ASSERT_TRUE(pPopup->PopupAt(60, 40, NULL));
        CRect rc = WindowRect(pPopup);
        EXPECT_FALSE(pPopup->IsScrolling());
        int nWraps = 0;
        for (int nId : ids)
            nWraps += Find(pPopup, nId)->GetWrap() ? 1 : 0;
        EXPECT_EQ(0, nWraps) << "one column";
        EXPECT_EQ(rcWork.top, rc.top);
        EXPECT_GT(rc.Height(), rcWork.Height()) << "as tall as its list";
    }
    pBars->GetOptions()->m_bPopupFlip = FALSE;
}

TEST_F(PopupExpandTest, MenuMarginsComeFromTheThemeAndAPopupToolbarKeepsItsOwn)
{
    const struct {
        int nTheme;
        int nMargin;
    } themes[] = {{qxpThemeWindows2000, 3}, {qxpThemeOfficeXP, 2}, {qxpThemeOffice2003, 2}};
    for (const auto& t : themes) {
        SCOPED_TRACE(t.nTheme);
        CQXPThemePainter* pTheme = CreateThemePainter(t.nTheme);
        pTheme->RefreshMetrics();
        pBars->SetPaintManager(pTheme);
        if (pPopup) {
            pPopup->SetTrackingMode(FALSE);
            pPopup->DestroyWindow();
            pPopup->InternalRelease();
            pPopup = NULL;
        }
        MakePopup({ID_TEST_OPEN, ID_TEST_SAVE});
        ASSERT_TRUE(pPopup->PopupAt(60, 40, NULL));
        EXPECT_EQ(CRect(t.nMargin, t.nMargin, t.nMargin, t.nMargin), pPopup->GetBorders());
        CRect rcClient;
        pPopup->GetClientRect(&rcClient);
        CRect rcFirst = Find(pPopup, ID_TEST_OPEN)->GetRect();
        CRect rcLast = Find(pPopup, ID_TEST_SAVE)->GetRect();
        EXPECT_EQ(CPoint(t.nMargin, t.nMargin), rcFirst.TopLeft());
        EXPECT_EQ(rcClient.right - t.nMargin, rcFirst.right);
        EXPECT_EQ(rcClient.bottom - t.nMargin, rcLast.bottom);
    }
    // A popup toolbar's margins are its own stored Borders.
    CQXPPopupToolBar* pBar = CQXPPopupToolBar::CreatePopupToolBar(pBars);
    EXPECT_EQ(CRect(2, 4, 2, 4), pBar->GetBorders());
    pBar->m_rcBorders = CRect(5, 6, 7, 8);
    EXPECT_EQ(CRect(5, 6, 7, 8), pBar->GetBorders());
    pBar->InternalRelease();
}

TEST_F(PopupExpandTest, ShownDropDownFollowsItsButtonWhenItLaysOutAgain)
{
    CQXPToolBar* pToolBar = pBars->Add("Tools", qxpBarTop);
    ASSERT_NE(nullptr, pToolBar);
    CQXPControl* pWide = pToolBar->GetControls()->Add(qxpControlButton, ID_TEST_OPEN);
    pWide->SetCaption("A");
    pWide->SetStyle(qxpButtonCaption);
    CQXPControlPopup* pOpener =
        dynamic_cast<CQXPControlPopup*>(pToolBar->GetControls()->Add(qxpControlButtonPopup, ID_TEST_UNDO));
    ASSERT_NE(nullptr, pOpener);
    pOpener->SetCaption("Undo");
    CQXPPopupBar* pDrop = CQXPPopupBar::CreateForOwner(pBars);
    pDrop->GetControls()->Add(qxpControlButton, ID_TEST_SAVE)->SetCaption("Save");
    pOpener->SetCommandBar(pDrop);
    pDrop->InternalRelease();
    pBars->RecalcFrameLayout();
    PumpMessages();
    pToolBar->SetPopuped(pOpener->GetIndex());
    PumpMessages();
    ASSERT_TRUE(::IsWindowVisible(pDrop->GetSafeHwnd()));
    const int nLeftBefore = WindowRect(pDrop).left;

    // The button before the opener grows wide: the open drop-down moves
    // along with it when it lays out again. (A control coming in or going
    // closes the drop-down instead.)
    pWide->SetCaption("A rather wide button");
    pToolBar->DelayLayout();
    pToolBar->OnRecalcLayout();
    ASSERT_TRUE(pDrop->IsTrackingMode());
    CRect rcOpener = pOpener->GetRect();
    pToolBar->ClientToScreen(&rcOpener);
    ASSERT_GT(rcOpener.left, nLeftBefore);
    pDrop->OnRecalcLayout();
    EXPECT_EQ(rcOpener.left, WindowRect(pDrop).left);
    pToolBar->SetPopuped(-1);
    PumpMessages();
}

} // namespace
