// The ribbon bar on a test frame under Wine, in the ribbon theme (6): tabs
// chosen with the real mouse (and refused by the site), the wheel, the
// minimised state, narrowing until groups collapse, the quick-access
// toolbar below, the groups' buttons on the command bars' actions, and the
// saved state through registry, INI file and archive (the groups' buttons
// in sections of their own, layouts from before them, the tab row's
// controls) with damaged classes and cut archives refused whole but for a
// system button of an unknown class, which alone is left out; copies of a
// ribbon, also into the docked one. Screenshots of each look.
#include <qx/gallery.h>
#include <qx/office2007.h>
#include <qx/propexchange.h>
#include <qx/ribbonbar.h>
#include <qx/ribbonpopups.h>
#include <qx/ribbonsystem.h>
#include <qmtest/archivebytes.h>
#include <qmtest/cbframe.h>
#include <qmtest/files.h>
#include <qmtest/mouse.h>
#include <qmtest/offscreen.h>
#include <qmtest/pump.h>
#include <qmtest/registry.h>
#include <qmtest/screenshot.h>
#include <qmtest/script.h>
#include <qx/tabpaint.h>

#include "ribbontestframe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

namespace {

using namespace ribbontest;

TEST_F(RibbonBarTest, ShowsTabsGroupsAndTheQuickAccessToolbar)
{
    const qxribbon::RibbonBarState s = Ribbon()->GetBarState();
    EXPECT_EQ(s.GetCaptionHeight() + s.GetTabsHeight() + s.CalcGroupsHeight(), RibbonHeight());
    EXPECT_EQ(0, Ribbon()->GetSelectedTabIndex());
    // The first tab's groups side by side inside the group band; the other
    // tabs' controls are hidden.
    CRect rcBand = Ribbon()->GetGroupsRect();
    CQXPRibbonTab* pHome = Ribbon()->GetTab(0);
    int xLast = 0;
    for (int i = 0; i < pHome->GetGroupCount(); i++) {
        CRect rc = pHome->GetGroup(i)->GetRect();
        EXPECT_GT(rc.left, xLast);
        EXPECT_TRUE(rcBand.PtInRect(rc.TopLeft()));
        xLast = rc.right;
        for (int k = 0; k < pHome->GetGroup(i)->GetCount(); k++) {
            EXPECT_TRUE(pHome->GetGroup(i)->GetAt(k)->IsVisible(0));
        }
    }
    CQXPControl* pPicture = Ribbon()->GetTab(1)->GetGroup(0)->GetAt(0);
    EXPECT_EQ(QXP_HIDE_RIBBON_TAB, pPicture->GetHideFlags() & QXP_HIDE_RIBBON_TAB);
    // The group band's face comes from the theme's image, the caption band
    // from the frame image.
    CPoint ptBand = ScreenPoint(CPoint(rcBand.right - 3, rcBand.bottom - 6));
    HDC hdc = ::GetDC(NULL);
    COLORREF clr = ::GetPixel(hdc, ptBand.x, ptBand.y);
    ::ReleaseDC(NULL, hdc);
    EXPECT_LT(GetRValue(clr), GetBValue(clr)) << "blue group band";
    EXPECT_TRUE(Ribbon()->GetQuickAccessControl(0)->IsVisible(0));
    EXPECT_TRUE(Ribbon()->GetQuickAccessCustomizeButton()->IsVisible(0));
    EXPECT_EQ(CSize(13, 22), Ribbon()->GetQuickAccessCustomizeButton()->GetRect().Size());
    Shot("ribbon-normal.png");

    // A command of a group runs from a real click.
    CPoint ptCut = ScreenPoint(pHome->GetGroup(0)->GetAt(1)->GetRect().CenterPoint());
    qmtest::ClickAt(ptCut);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    ASSERT_EQ(1u, frame.m_commands.size());
    EXPECT_EQ((UINT)ID_R_CUT, frame.m_commands[0]);
}

TEST_F(RibbonBarTest, TabsFollowTheMouseUnlessTheSiteRefuses)
{
    qmtest::ClickAt(TabCentre(1));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelectedTabIndex() == 1; }));
    ASSERT_EQ(2u, frame.m_tabNotes.size());
    EXPECT_EQ(TCN_SELCHANGING, frame.m_tabNotes[0]);
    EXPECT_EQ(TCN_SELCHANGE, frame.m_tabNotes[1]);
    CQXPControl* pPicture = Ribbon()->GetTab(1)->GetGroup(0)->GetAt(0);
    EXPECT_TRUE(pPicture->IsVisible(0));
    EXPECT_FALSE(Ribbon()->GetTab(0)->GetGroup(0)->GetAt(0)->IsVisible(0));

    frame.m_bVeto = TRUE;
    frame.m_tabNotes.clear();
    qmtest::ClickAt(TabCentre(2));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !frame.m_tabNotes.empty(); }));
    qmtest::PumpMessages();
    EXPECT_EQ(1, Ribbon()->GetSelectedTabIndex()) << "refused by the site";
    ASSERT_EQ(1u, frame.m_tabNotes.size());
    EXPECT_EQ(TCN_SELCHANGING, frame.m_tabNotes[0]);
    EXPECT_TRUE(pPicture->IsVisible(0));
}

// The tab row's scroll offset, copied by a timer for another thread.
CQXPRibbonControlTab* s_pTabs = NULL;
std::atomic<int> s_nTabOffset(0);
void CALLBACK MirrorTabOffset(HWND, UINT, UINT_PTR, DWORD) { s_nTabOffset = s_pTabs->GetScrollOffset(); }

TEST_F(RibbonBarTest, TheTabRowIsATabManagerThatScrollsTheTabsThatDoNotFit)
{
    // The tab painter places each tab as wide as its caption and 10 px on
    // either side, one after another.
    CQXPRibbonControlTab* pTabs = Ribbon()->GetTabControl();
    ASSERT_EQ(3, pTabs->GetItemCount());
    {
        CClientDC dc(Ribbon());
        const CRect rcHome = Ribbon()->GetTab(0)->GetRect(), rcInsert = Ribbon()->GetTab(1)->GetRect();
        EXPECT_EQ(Ribbon()->GetRibbonTheme()->GetRibbonTabWidth(&dc, "Insert"), rcInsert.Width());
        EXPECT_EQ(rcHome.right, rcInsert.left);
        EXPECT_EQ(Ribbon()->GetTabRowRect().bottom, rcInsert.bottom);
    }
    // The hot tab follows the real mouse.
    qmtest::MouseMoveTo(TabCentre(2));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return pTabs->GetHighlighted() == Ribbon()->GetTab(2); }));
    qmtest::MouseMoveTo(TabCentre(1));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return pTabs->GetHighlighted() == Ribbon()->GetTab(1); }));
    // On the screen too: the tab row redraws through the bar's copy, the
    // tab left behind no longer hot (once whatever the pointer left has
    // faded).
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetAnimationCache()->GetFadeCount() == 0; }));
    const CRect rcRow = Ribbon()->GetTabRowRect();
    EXPECT_EQ(qmtest::BarPictureOf(Ribbon(), rcRow), qmtest::ScreenPictureOf(Ribbon(), rcRow));
    // Off the row, into the empty part of the group band: no tab is hot,
    // on the screen either.
    const CRect rcBand = Ribbon()->GetGroupsRect();
    qmtest::MouseMoveTo(ScreenPoint(CPoint(rcBand.right - 20, rcBand.CenterPoint().y)));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return pTabs->GetHighlighted() == NULL; }));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetAnimationCache()->GetFadeCount() == 0; }));
    EXPECT_EQ(qmtest::BarPictureOf(Ribbon(), rcRow), qmtest::ScreenPictureOf(Ribbon(), rcRow));
    // Off the bar from a hot tab: the same.
    qmtest::MouseMoveTo(TabCentre(2));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return pTabs->GetHighlighted() == Ribbon()->GetTab(2); }));
    qmtest::ParkPointer();
    EXPECT_TRUE(qmtest::PumpUntil([&] { return pTabs->GetHighlighted() == NULL; }));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetAnimationCache()->GetFadeCount() == 0; }));
    EXPECT_EQ(qmtest::BarPictureOf(Ribbon(), rcRow), qmtest::ScreenPictureOf(Ribbon(), rcRow));

    // Tabs that do not fit a narrow frame: the scroll button shows at the
    // end of the row and, pressed with the real mouse, moves them left.
    for (int i = 0; i < 12; i++)
        Ribbon()->AddTab("Overflowing", 10 + i);
    frame.SetWindowPos(NULL, 0, 0, 420, 480, SWP_NOMOVE | SWP_NOZORDER);
    Relayout();
    CQXPTabManagerNavigateButton* pRight = pTabs->FindNavigateButton(CQXPTabManagerNavigateButton::idRight);
    ASSERT_TRUE(pRight != NULL);
    const CRect rcRight(pRight->m_rc);
    ASSERT_FALSE(rcRight.IsRectEmpty()) << "the scroll button shows";
    EXPECT_TRUE(Ribbon()->GetTabRowRect().PtInRect(rcRight.CenterPoint()));
    EXPECT_EQ(0, pTabs->GetScrollOffset());
    Shot("ribbon-tabs-overflow.png");
    const int xFirst = Ribbon()->GetTab(0)->GetRect().left;
    // Held: the button's loop runs inside this thread's handler of the
    // press and scrolls on its ticks; a timer of the bar (dispatched by the
    // loop) mirrors the offset for a second thread, which lets the button
    // go once the tabs moved.
    s_pTabs = pTabs;
    s_nTabOffset = 0;
    ::SetTimer(Ribbon()->GetSafeHwnd(), 1, 10, MirrorTabOffset);
    const CPoint ptRight = ScreenPoint(rcRight.CenterPoint());
    std::atomic<bool> bReleased(false);
    std::thread helper([&] {
        const DWORD dwStart = ::GetTickCount();
        while (s_nTabOffset >= 0 && ::GetTickCount() - dwStart < 10000)
            ::Sleep(10);
        qmtest::MouseEventAt(ptRight, MOUSEEVENTF_LEFTUP);
        bReleased = true;
    });
    qmtest::MouseEventAt(ptRight, MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return bReleased && ::GetCapture() == NULL; }, 15000));
    helper.join();
    ::KillTimer(Ribbon()->GetSafeHwnd(), 1);
    EXPECT_LT(pTabs->GetScrollOffset(), 0);
    Relayout();
    EXPECT_EQ(xFirst + pTabs->GetScrollOffset(), Ribbon()->GetTab(0)->GetRect().left);
    EXPECT_EQ(0, Ribbon()->GetSelectedTabIndex()) << "scrolling chooses no tab";

    // A tab chosen by the program is scrolled into view.
    ASSERT_TRUE(Ribbon()->SelectTab(14));
    Relayout();
    EXPECT_LE(Ribbon()->GetTab(14)->GetRect().right, pTabs->m_rcHeaderRect.right);
    EXPECT_GE(Ribbon()->GetTab(14)->GetRect().left, pTabs->m_rcHeaderRect.left);
    qmtest::ClickAt(ScreenPoint(Ribbon()->GetTab(14)->GetRect().CenterPoint()));
    qmtest::PumpMessages();
    EXPECT_EQ(14, Ribbon()->GetSelectedTabIndex());
}

TEST_F(RibbonBarTest, AHiddenTabGivesItsPlaceToTheFirstShownTab)
{
    // Hiding the selected tab selects the first visible, enabled tab.
    ASSERT_TRUE(Ribbon()->SelectTab(1));
    Ribbon()->GetTab(0)->SetEnabled(FALSE);
    Ribbon()->GetTab(1)->SetVisible(FALSE);
    EXPECT_EQ(2, Ribbon()->GetSelectedTabIndex());
    EXPECT_TRUE(Ribbon()->GetTab(2)->GetGroup(0)->GetAt(0)->IsVisible(0));
    Ribbon()->GetTab(0)->SetEnabled(TRUE);
    Ribbon()->GetTab(2)->SetVisible(FALSE);
    EXPECT_EQ(0, Ribbon()->GetSelectedTabIndex());
    // Minimising lets the tab go; restoring with no tab selected shows the
    // first tab that can take the focus, whichever was shown before.
    Ribbon()->GetTab(2)->SetVisible(TRUE);
    struct Case {
        const char* name;
        int nDisabled; // a tab disabled while minimised, or -1
        int nHidden;   // a tab hidden while minimised, or -1
        int nExpected;
    };
    const Case cases[] = {
        {"all tabs shown", -1, -1, 0},
        {"first tab disabled", 0, -1, 1},
        {"first tab hidden", -1, 0, 1},
        {"the tab shown before hidden", -1, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Ribbon()->SelectTab(2));
        Ribbon()->SetRibbonMinimized(TRUE);
        EXPECT_EQ(-1, Ribbon()->GetSelectedTabIndex());
        if (c.nDisabled >= 0)
            Ribbon()->GetTab(c.nDisabled)->SetEnabled(FALSE);
        if (c.nHidden >= 0)
            Ribbon()->GetTab(c.nHidden)->SetVisible(FALSE);
        Ribbon()->SetRibbonMinimized(FALSE);
        EXPECT_EQ(c.nExpected, Ribbon()->GetSelectedTabIndex());
        EXPECT_TRUE(Ribbon()->GetTab(c.nExpected)->GetGroup(0)->GetAt(0)->IsVisible(0));
        EXPECT_FALSE(Ribbon()->GetTab(2)->GetGroup(0)->GetAt(0)->IsVisible(0));
        for (int i = 0; i < Ribbon()->GetTabCount(); i++) {
            Ribbon()->GetTab(i)->SetEnabled(TRUE);
            Ribbon()->GetTab(i)->SetVisible(TRUE);
        }
    }
}

TEST_F(RibbonBarTest, TheGroupUnderTheMouseLightsUp)
{
    CQXPRibbonTab* pHome = Ribbon()->GetTab(0);
    // On a group's caption band (no control there) the group is hot.
    auto captionOf = [&](CQXPRibbonGroup* pGroup) {
        const CRect rc = pGroup->GetRect();
        return ScreenPoint(CPoint(rc.left + 6, rc.bottom - 4));
    };
    qmtest::MouseMoveTo(captionOf(pHome->GetGroup(0)));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetGroupScroller()->GetHotGroup() == pHome->GetGroup(0); }));
    qmtest::MouseMoveTo(captionOf(pHome->GetGroup(2)));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetGroupScroller()->GetHotGroup() == pHome->GetGroup(2); }));
    // On the screen, once the fades have run: the first group cold again,
    // the third lit, as the bar paints them now.
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetAnimationCache()->GetFadeCount() == 0; }));
    for (int i : {0, 2}) {
        const CRect rc = pHome->GetGroup(i)->GetRect();
        EXPECT_EQ(qmtest::BarPictureOf(Ribbon(), rc), qmtest::ScreenPictureOf(Ribbon(), rc)) << "group " << i;
    }
    Shot("ribbon-hot-group.png");
    // Leaving the ribbon lets it go; another tab's groups start cold.
    CRect rcFrame;
    frame.GetWindowRect(&rcFrame);
    qmtest::MouseMoveTo(CPoint(rcFrame.CenterPoint().x, rcFrame.bottom - 40));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetGroupScroller()->GetHotGroup() == NULL; }));
    qmtest::MouseMoveTo(captionOf(pHome->GetGroup(1)));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetGroupScroller()->GetHotGroup() == pHome->GetGroup(1); }));
    ASSERT_TRUE(Ribbon()->SelectTab(1));
    EXPECT_TRUE(Ribbon()->GetGroupScroller()->GetHotGroup() == NULL);
}

TEST_F(RibbonBarTest, AThemeThatDoesNotLightGroupsLeavesThemCold)
{
    CQXPRibbonTab* pHome = Ribbon()->GetTab(0);
    auto captionOf = [&](CQXPRibbonGroup* pGroup) {
        const CRect rc = pGroup->GetRect();
        return ScreenPoint(CPoint(rc.left + 6, rc.bottom - 4));
    };
    // Start cold: the mouse off the ribbon.
    CRect rcFrame;
    frame.GetWindowRect(&rcFrame);
    qmtest::MouseMoveTo(CPoint(rcFrame.CenterPoint().x, rcFrame.bottom - 40));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetGroupScroller()->GetHotGroup() == NULL; }));
    Ribbon()->GetRibbonTheme()->m_bHotGroups = FALSE;
    // The tab row still follows the mouse: its hot tab shows each move
    // arrived.
    CQXPRibbonControlTab* pTabs = Ribbon()->GetTabControl();
    for (int i = 0; i < 2; i++) {
        qmtest::MouseMoveTo(TabCentre(1));
        EXPECT_TRUE(qmtest::PumpUntil([&] { return pTabs->GetHighlighted() == Ribbon()->GetTab(1); }));
        qmtest::MouseMoveTo(captionOf(pHome->GetGroup(i)));
        EXPECT_TRUE(qmtest::PumpUntil([&] { return pTabs->GetHighlighted() == NULL; }));
        EXPECT_TRUE(Ribbon()->GetGroupScroller()->GetHotGroup() == NULL) << i;
    }
    // Switched back on, the next move lights the group.
    Ribbon()->GetRibbonTheme()->m_bHotGroups = TRUE;
    qmtest::MouseMoveTo(captionOf(pHome->GetGroup(0)));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetGroupScroller()->GetHotGroup() == pHome->GetGroup(0); }));
}

TEST_F(RibbonBarTest, WheelOverTheRibbonStepsTheTabs)
{
    CPoint pt = TabCentre(0);
    ::SetCursorPos(pt.x, pt.y);
    auto wheel = [&](int nDelta) {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = MOUSEEVENTF_WHEEL;
        in.mi.mouseData = (DWORD)nDelta;
        ::SendInput(1, &in, sizeof(in));
    };
    wheel(-WHEEL_DELTA);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelectedTabIndex() == 1; }));
    wheel(-WHEEL_DELTA);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelectedTabIndex() == 2; }));
    wheel(WHEEL_DELTA); // forwards: the previous tab
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->GetSelectedTabIndex() == 1; }));
    // Not over the ribbon: nothing.
    CRect rcFrame;
    frame.GetWindowRect(&rcFrame);
    ::SetCursorPos(rcFrame.CenterPoint().x, rcFrame.bottom - 40);
    wheel(-WHEEL_DELTA);
    qmtest::PumpFor(100);
    EXPECT_EQ(1, Ribbon()->GetSelectedTabIndex());
}

TEST_F(RibbonBarTest, DoubleClickOnTheSelectedTabMinimisesAndRestores)
{
    const int nFull = RibbonHeight();
    qmtest::DoubleClickAt(TabCentre(0));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return Ribbon()->IsRibbonMinimized() && RibbonHeight() < nFull; }));
    const qxribbon::RibbonBarState s = Ribbon()->GetBarState();
    EXPECT_EQ(s.GetCaptionHeight() + s.GetTabsHeight() + 2, RibbonHeight());
    EXPECT_EQ(-1, Ribbon()->GetSelectedTabIndex());
    EXPECT_FALSE(Ribbon()->GetTab(0)->GetGroup(0)->GetAt(0)->IsVisible(0));
    Shot("ribbon-minimised.png");

    // A double click on another tab restores the ribbon on that tab.
    qmtest::DoubleClickAt(TabCentre(1));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !Ribbon()->IsRibbonMinimized() && RibbonHeight() == nFull; }));
    EXPECT_EQ(1, Ribbon()->GetSelectedTabIndex());
    EXPECT_TRUE(Ribbon()->GetTab(1)->GetGroup(0)->GetAt(0)->IsVisible(0));
}

// The system as the ribbon theme of the next test sees it: its menu font
// height and its button text colour, both changed by the test.
int s_nMenuFontHeight = -9;
COLORREF s_clrButtonText = RGB(0, 0, 0);
BOOL AFXAPI TestMenuFont(NONCLIENTMETRICSA* p)
{
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(*p), p, 0);
    p->lfMenuFont.lfHeight = s_nMenuFontHeight;
    return TRUE;
}
COLORREF AFXAPI TestSysColor(int nIndex) { return nIndex == COLOR_BTNTEXT ? s_clrButtonText : ::GetSysColor(nIndex); }

TEST_F(RibbonBarTest, ASystemColourChangeRefreshesTheThemeAndRedrawsTheRibbonInItsNewMetrics)
{
    // A ribbon theme of the bar's own that reads the system through seams.
    s_nMenuFontHeight = -9;
    s_clrButtonText = RGB(0, 0, 0);
    ToolkitColorManager::Instance()->SetSystemColorQuery(TestSysColor);
    CRibbonStyleTheme* pTheme = new CRibbonStyleTheme;
    pTheme->m_pfnNonClientMetrics = TestMenuFont;
    pTheme->RefreshMetrics();
    Ribbon()->SetPaintManager(pTheme); // the bar's reference
    Relayout();
    ASSERT_EQ(pTheme, Ribbon()->GetRibbonTheme());
    ASSERT_EQ(22, pTheme->m_metrics.nControlHeight);
    const int nSmall = RibbonHeight();
    const int cxHome = Ribbon()->GetTab(0)->GetRect().Width();

    // The system's look changes; the ribbon hears of it.
    s_nMenuFontHeight = -16;
    s_clrButtonText = RGB(40, 80, 120);
    Ribbon()->SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_TRUE(::GetUpdateRect(Ribbon()->GetSafeHwnd(), NULL, FALSE)) << "a redraw is on its way";
    EXPECT_EQ(30, pTheme->m_metrics.nControlHeight) << "the theme read its metrics again";
    EXPECT_EQ(RGB(40, 80, 120), pTheme->GetColor(COLOR_BTNTEXT)) << "and its colours";
    // The tabs are laid out in the new font, the bar in the new heights,
    // and drawn.
    const qxribbon::RibbonBarState s = Ribbon()->GetBarState();
    const int nLarge = s.GetCaptionHeight() + s.GetTabsHeight() + s.CalcGroupsHeight();
    EXPECT_GT(nLarge, nSmall);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return RibbonHeight() == nLarge; })) << RibbonHeight() << " " << nLarge;
    EXPECT_GT(Ribbon()->GetTab(0)->GetRect().Width(), cxHome) << "the tab painter's font is the new one";
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !::GetUpdateRect(Ribbon()->GetSafeHwnd(), NULL, FALSE); }));
    Shot("ribbon-syscolor-large.png");

    ToolkitColorManager::Instance()->SetSystemColorQuery(NULL);
    ToolkitColorManager::Refresh();
}

TEST_F(RibbonBarTest, NarrowingCollapsesTheLastGroupsFirst)
{
    // Five groups of six controls (two columns each): more than the
    // narrowest ribbon holds even with icons only.
    CQXPRibbonTab* pHome = Ribbon()->GetTab(0);
    pHome->AddGroup("Paragraph", 103)->Add(qxpControlButton, ID_R_FIND, "Centre");
    pHome->AddGroup("Styles", 104)->Add(qxpControlButton, ID_R_FIND, "Heading");
    for (int i = 0; i < pHome->GetGroupCount(); i++)
        while (pHome->GetGroup(i)->GetCount() < 6)
            for (UINT id : {ID_R_BOLD})
                pHome->GetGroup(i)->Add(qxpControlButton, id, "More text");
    Relayout();
    int nWidth = 700;
    bool bShot = false;
    while (nWidth > 260 && !pHome->GetGroup(0)->IsCollapsed()) {
        nWidth -= 40;
        frame.SetWindowPos(NULL, 0, 0, nWidth, 480, SWP_NOMOVE | SWP_NOZORDER);
        Relayout();
        // Reduction works from the last group: a group never collapses
        // while a later one is still open.
        for (int i = 0; i + 1 < pHome->GetGroupCount(); i++) {
            if (pHome->GetGroup(i)->IsCollapsed()) {
                EXPECT_TRUE(pHome->GetGroup(i + 1)->IsCollapsed()) << nWidth;
            }
        }
        if (pHome->GetGroup(4)->IsCollapsed() && !bShot) {
            Shot("ribbon-narrow.png");
            bShot = true;
        }
    }
    EXPECT_TRUE(pHome->GetGroup(4)->IsCollapsed());
    EXPECT_TRUE(bShot);
    // A collapsed group's controls are not shown.
    EXPECT_FALSE(pHome->GetGroup(4)->GetAt(0)->IsVisible(0));
    // Too narrow for the ribbon: hidden.
    frame.SetWindowPos(NULL, 0, 0, 240, 480, SWP_NOMOVE | SWP_NOZORDER);
    Relayout();
    EXPECT_FALSE(Ribbon()->IsShownBySize());
}

// The least frame height and bar width that show the ribbon are the bar's
// minimum size, 250 px from construction.
TEST_F(RibbonBarTest, TheMinimumSizeDecidesWhetherTheRibbonShows)
{
    EXPECT_EQ(250, Ribbon()->GetMinimumSize());
    struct Case {
        int nMinimum;
        int cx, cy; // the frame window
        BOOL bShown;
    };
    const Case cases[] = {
        {250, 600, 480, TRUE},
        {500, 600, 480, FALSE},
        {480, 600, 480, TRUE},
        {500, 700, 520, TRUE},
        {250, 600, 249, FALSE},
        {200, 600, 249, TRUE},
        // The width offered is the frame's client width, less than the
        // window's own.
        {560, 560, 600, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nMinimum << " in " << c.cx << " x " << c.cy);
        Ribbon()->SetMinimumSize(c.nMinimum);
        frame.SetWindowPos(NULL, 0, 0, c.cx, c.cy, SWP_NOMOVE | SWP_NOZORDER);
        Relayout();
        EXPECT_EQ(c.bShown, Ribbon()->IsShownBySize());
        if (c.bShown) {
            EXPECT_GT(RibbonHeight(), 0);
        } else {
            EXPECT_EQ(0, RibbonHeight());
        }
    }
}

// The bar's two per-control notifications, the shortcut texts and the
// active document's visibility, reach the QAT's commands only, unless the
// ribbon is customizable: then every control of the bar.
TEST_F(RibbonBarTest, ShortcutsAndDocumentVisibilityReachTheQuickAccessCommands)
{
    CQXPControl* pQatBold = Ribbon()->AddQuickAccessControl(qxpControlButton, ID_R_BOLD);
    ASSERT_TRUE(pQatBold != NULL);
    CQXPControl* pBold = Ribbon()->GetTab(0)->GetGroup(1)->GetAt(0);
    CQXPControl* pFind = Ribbon()->GetTab(0)->GetGroup(2)->GetAt(0);
    ASSERT_EQ(ID_R_BOLD, pBold->GetID());
    ASSERT_EQ(ID_R_FIND, pFind->GetID());
    ACCEL table[] = {{FVIRTKEY | FCONTROL, 'B', ID_R_BOLD}, {FVIRTKEY | FCONTROL, 'F', ID_R_FIND}};
    frame.GetCommandBars()->GetKeyboardShortcuts()->SetAcceleratorTable(table, 2);
    // Shown only for a document menu that is not the active one.
    const UINT nOtherMenu = frame.GetCommandBars()->GetActiveMenuId() + 1;

    for (BOOL bCustomizable : {FALSE, TRUE}) {
        SCOPED_TRACE(bCustomizable ? "customizable" : "not customizable");
        Ribbon()->SetCustomizable(bCustomizable);
        for (CQXPControl* c : {pQatBold, pBold, pFind}) {
            c->m_strShortcutTextAuto = "old";
            c->m_mapDocTemplatesAssigned.clear();
            c->m_mapDocTemplatesAssigned[nOtherMenu] = TRUE;
            c->SetHideFlag(qxpHideDocTemplate, FALSE);
        }

        Ribbon()->UpdateShortcuts();
        EXPECT_EQ(CString("Ctrl+B"), pQatBold->m_strShortcutTextAuto) << "the QAT's copy";
        EXPECT_EQ(CString(bCustomizable ? "Ctrl+B" : "old"), pBold->m_strShortcutTextAuto) << "the group's Bold";
        EXPECT_EQ(CString(bCustomizable ? "Ctrl+F" : "old"), pFind->m_strShortcutTextAuto) << "the group's Find";

        Ribbon()->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
        EXPECT_EQ((DWORD)qxpHideDocTemplate, pQatBold->GetHideFlags() & qxpHideDocTemplate) << "the QAT's copy";
        EXPECT_EQ(bCustomizable ? (DWORD)qxpHideDocTemplate : 0u, pBold->GetHideFlags() & qxpHideDocTemplate)
            << "the group's Bold";
        EXPECT_EQ(bCustomizable ? (DWORD)qxpHideDocTemplate : 0u, pFind->GetHideFlags() & qxpHideDocTemplate)
            << "the group's Find";
    }
    for (CQXPControl* c : {pQatBold, pBold, pFind}) {
        c->m_mapDocTemplatesAssigned.clear();
        c->SetHideFlag(qxpHideDocTemplate, FALSE);
    }
}

// A gallery of 24-px items, 80 px wide and 60 high, in a group of its own
// on the first tab, on its own action of the frame's command bars.
CQXPControlGallery* AddGalleryGroup(CRibbonTestFrame& frame, LPCSTR lpszCaption, int nGroupId, int nId,
                                    BOOL bResizable)
{
    CQXPRibbonGroup* pGroup = frame.m_pRibbon->GetTab(0)->AddGroup(lpszCaption, nGroupId);
    CQXPControlGallery* pGallery = dynamic_cast<CQXPControlGallery*>(pGroup->Add(qxpControlGallery, nId));
    if (!pGallery)
        return NULL;
    CQXPControlGalleryAction* pAction = new CQXPControlGalleryAction;
    frame.GetCommandBars()->GetActions()->AddAction(nId, pAction);
    pGallery->SetAction(pAction);
    pAction->GetItems()->SetItemSize(24, 24);
    for (int i = 1; i <= 20; ++i)
        pAction->GetItems()->AddItem(i, "Style");
    pGallery->m_bResizable = bResizable;
    pGallery->SetWidth(80);
    pGallery->SetHeight(60);
    return pGallery;
}

TEST_F(RibbonBarTest, AResizableGalleryTakesTheSpareWidthInWholeItems)
{
    // The resizable gallery's group comes before one whose gallery is
    // fixed: the widening passes over the last group to the one that can
    // take it.
    CQXPControlGallery* pStyles = AddGalleryGroup(frame, "Styles", 103, ID_R_STYLES, TRUE);
    CQXPControlGallery* pFixed = AddGalleryGroup(frame, "Fixed", 104, ID_R_PARAGRAPH, FALSE);
    ASSERT_TRUE(pStyles && pFixed);
    CQXPRibbonGroupCollection* pGroups = Ribbon()->GetTab(0)->GetGroups();
    int nPrevious = 0;
    for (int cx : {900, 913, 937, 961, 1030, 1200}) {
        frame.SetWindowPos(NULL, 0, 0, cx, 480, SWP_NOMOVE | SWP_NOZORDER);
        Relayout();
        ASSERT_EQ(0, pGroups->m_nScrollOffset) << cx;
        ASSERT_FALSE(pStyles->IsButtonStyle()) << cx << ": shown in place, not as a button";
        const int w = pStyles->GetRect().Width();
        EXPECT_EQ(0, (w - 80) % 24) << cx << ": grown by whole items, to " << w;
        EXPECT_GE(w, nPrevious) << cx;
        // What is left over in the band (inside its right margin of 6; a
        // group's frame reaches 5 px past its width) is less than one item.
        const int nContentRight = pGroups->GetAt(pGroups->GetCount() - 1)->GetRect().right - 5;
        const int nSpare = Ribbon()->GetGroupsRect().right - 6 - nContentRight;
        EXPECT_GE(nSpare, 0) << cx;
        EXPECT_LT(nSpare, 24) << cx;
        EXPECT_EQ(80, pFixed->GetRect().Width()) << cx << ": a gallery that is not resizable keeps its width";
        nPrevious = w;
    }
    EXPECT_GE(nPrevious, 80 + 10 * 24) << "widened from 900 to 1200 px the gallery grew by at least ten items";
    Shot("ribbon-gallery-widened.png");
    // Narrowed again, it gives the room back.
    frame.SetWindowPos(NULL, 0, 0, 900, 480, SWP_NOMOVE | SWP_NOZORDER);
    Relayout();
    EXPECT_LT(pStyles->GetRect().Width(), nPrevious - 10 * 24);
}

TEST_F(RibbonBarTest, AGroupThatOpensAgainAsksTheBarForAnotherLayout)
{
    CQXPRibbonGroup* pStyles = CollapseStylesGroup();
    ASSERT_TRUE(pStyles != NULL);
    // A layout that leaves the group collapsed asks for nothing more.
    Ribbon()->OnRecalcLayout();
    EXPECT_TRUE(pStyles->IsCollapsed());
    EXPECT_FALSE(Ribbon()->GetPending() & qxpPendingLayout);
    // Widened, the group opens in the frame's own layout and the bar is
    // due another pass, which the idle update serves.
    frame.SetWindowPos(NULL, 0, 0, 900, 480, SWP_NOMOVE | SWP_NOZORDER);
    frame.RecalcLayout();
    EXPECT_FALSE(pStyles->IsCollapsed());
    EXPECT_TRUE(Ribbon()->GetPending() & qxpPendingLayout);
    Ribbon()->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_FALSE(Ribbon()->GetPending() & qxpPendingLayout);
    EXPECT_FALSE(pStyles->IsCollapsed());
    EXPECT_TRUE(pStyles->GetAt(0)->IsVisible(0));
}

// The scrolled ribbon's offset, copied by a timer for another thread.
CQXPRibbonBar* s_pScrolled = NULL;
std::atomic<int> s_nOffset(0);
void CALLBACK MirrorOffset(HWND, UINT, UINT_PTR, DWORD) { s_nOffset = s_pScrolled->GetGroupScroller()->GetScrollOffset(); }

TEST_F(RibbonBarTest, AHeldScrollButtonRepeatsUntilReleasedOrEscape)
{
    NarrowIntoScrolling();
    ASSERT_TRUE(Ribbon()->GetGroupScroller()->IsScrollButtonShown(FALSE));
    ASSERT_EQ(0, Ribbon()->GetGroupScroller()->GetScrollOffset());
    CQXPControl* pRight = Ribbon()->GetGroupScroller()->GetScrollButton(FALSE);
    const CPoint pt = ScreenPoint(pRight->GetRect().CenterPoint());
    const HWND hWndRibbon = Ribbon()->GetSafeHwnd();

    // Held: the press loop runs inside this thread's handler of the press;
    // a timer of the bar (dispatched by that loop) mirrors the offset for a
    // second thread, which waits for three steps (one at once, two
    // repeats), then presses Escape and lets the button go.
    s_pScrolled = Ribbon();
    s_nOffset = 0;
    ::SetTimer(hWndRibbon, 1, 10, MirrorOffset);
    std::atomic<bool> bStepped(false);
    std::thread helper([&] {
        const DWORD dwStart = ::GetTickCount();
        while (s_nOffset < 120 && ::GetTickCount() - dwStart < 10000)
            ::Sleep(10);
        bStepped = s_nOffset >= 120;
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wVk = in[1].ki.wVk = VK_ESCAPE;
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, in, sizeof(INPUT));
        ::Sleep(50);
        qmtest::MouseEventAt(pt, MOUSEEVENTF_LEFTUP);
    });
    qmtest::MouseEventAt(pt, MOUSEEVENTF_LEFTDOWN);
    const bool bEnded = qmtest::PumpUntil([&] { return bStepped && ::GetCapture() != hWndRibbon; }, 15000);
    helper.join();
    ::KillTimer(hWndRibbon, 1);
    EXPECT_TRUE(bEnded);
    EXPECT_TRUE(bStepped) << "the held button scrolled to " << Ribbon()->GetGroupScroller()->GetScrollOffset();
    EXPECT_NE(hWndRibbon, ::GetCapture());
    const int nAfter = Ribbon()->GetGroupScroller()->GetScrollOffset();
    EXPECT_GE(nAfter, 120);
    qmtest::PumpFor(600);
    EXPECT_EQ(nAfter, Ribbon()->GetGroupScroller()->GetScrollOffset()) << "no repeat after Escape";
}

// The held scroll button's end, asked for once it has stepped three times:
// run on the ribbon's thread by a timer that the press loop dispatches.
std::function<void()> s_endHeldScroll;
bool s_bEndAsked = false;
int s_nEndAskedAt = 0; // the offset then
void CALLBACK WatchHeldScroll(HWND, UINT, UINT_PTR, DWORD)
{
    s_nOffset = s_pScrolled->GetGroupScroller()->GetScrollOffset();
    if (!s_bEndAsked && s_nOffset >= 120) {
        s_bEndAsked = true;
        s_nEndAskedAt = s_nOffset;
        s_endHeldScroll();
    }
}

TEST_F(RibbonBarTest, AHeldScrollButtonStopsOnEscapeAloneAndOnLostCaptureAlone)
{
    // Far more groups than the band shows: a loop that went on would run
    // to the band's end, where the right button goes.
    CQXPRibbonTab* pHome = Ribbon()->GetTab(0);
    for (int i = 0; i < 12; i++)
        pHome->AddGroup("Far", 120 + i)->Add(qxpControlButton, ID_R_ZOOM, "Zoom");
    NarrowIntoScrolling();
    ASSERT_TRUE(Ribbon()->GetGroupScroller()->IsScrollButtonShown(FALSE));
    CQXPControl* pRight = Ribbon()->GetGroupScroller()->GetScrollButton(FALSE);
    const CPoint pt = ScreenPoint(pRight->GetRect().CenterPoint());
    const HWND hWndRibbon = Ribbon()->GetSafeHwnd();
    const HWND hWndFrame = frame.GetSafeHwnd();
    struct Case {
        const char* name;
        std::function<void()> end; // the one thing that ends the loop; the button stays down
    };
    const Case cases[] = {
        {"Escape",
         [] {
             INPUT in[2] = {};
             in[0].type = in[1].type = INPUT_KEYBOARD;
             in[0].ki.wVk = in[1].ki.wVk = VK_ESCAPE;
             in[1].ki.dwFlags = KEYEVENTF_KEYUP;
             ::SendInput(2, in, sizeof(INPUT));
         }},
        {"another window takes the capture", [hWndFrame] { ::SetCapture(hWndFrame); }},
    };
    for (const Case& c : cases) {
        pHome->GetGroups()->m_nScrollOffset = 0;
        Relayout();
        ASSERT_EQ(0, Ribbon()->GetGroupScroller()->GetScrollOffset()) << c.name;
        s_pScrolled = Ribbon();
        s_nOffset = 0;
        s_bEndAsked = false;
        s_endHeldScroll = c.end;
        ::SetTimer(hWndRibbon, 1, 10, WatchHeldScroll);
        // Should the loop not end, a helper lets the button go after a while
        // so that the test goes on, and says so.
        std::atomic<bool> bLoopOver(false), bRescued(false);
        std::thread rescue([&] {
            const DWORD dwStart = ::GetTickCount();
            while (!bLoopOver && ::GetTickCount() - dwStart < 10000)
                ::Sleep(10);
            if (!bLoopOver) {
                bRescued = true;
                qmtest::MouseEventAt(pt, MOUSEEVENTF_LEFTUP);
            }
        });
        qmtest::MouseEventAt(pt, MOUSEEVENTF_LEFTDOWN);
        const bool bEnded =
            qmtest::PumpUntil([&] { return s_bEndAsked && ::GetCapture() != hWndRibbon; }, 15000);
        bLoopOver = true;
        rescue.join();
        EXPECT_TRUE(bEnded) << c.name;
        EXPECT_FALSE(bRescued) << c.name << ": the loop went on until the button was let go";
        const int nAfter = Ribbon()->GetGroupScroller()->GetScrollOffset();
        EXPECT_GE(nAfter, 120) << c.name;
        // A step already on its way may still land, no more.
        EXPECT_LE(nAfter, s_nEndAskedAt + 2 * 40) << c.name << ": it went on to " << nAfter;
        EXPECT_TRUE(Ribbon()->GetGroupScroller()->IsScrollButtonShown(FALSE)) << c.name << ": the band's end";
        qmtest::PumpFor(600);
        EXPECT_EQ(nAfter, Ribbon()->GetGroupScroller()->GetScrollOffset()) << c.name << ": no repeat after";
        EXPECT_FALSE(pRight->GetPressed()) << c.name;
        ::KillTimer(hWndRibbon, 1);
        if (::GetCapture() == hWndFrame)
            ::ReleaseCapture();
        qmtest::MouseEventAt(pt, MOUSEEVENTF_LEFTUP);
        qmtest::PumpMessages();
    }
    s_endHeldScroll = nullptr;
}

TEST_F(RibbonBarTest, UnderAnotherThemeTheRibbonDrawsWithARibbonThemeOfItsOwnUntilTheFramesIsOne)
{
    const int nRibbonHeight = RibbonHeight();
    CRibbonStyleTheme* pOwn = NULL;
    struct Case {
        int nTheme;
        bool bOwn; // the ribbon holds a ribbon theme of its own as its bar paint manager
    };
    const Case cases[] = {
        {qxpThemeOffice2003, true}, {qxpThemeOffice2007, true}, {qxpThemeRibbon, false}, {qxpThemeWindows2000, true}};
    for (const Case& c : cases) {
        SetGlobalPaintManager(c.nTheme);
        frame.GetCommandBars()->RedrawCommandBars();
        Relayout();
        CQXPThemePainter* pFrames = frame.GetCommandBars()->GetPaintManager();
        ASSERT_TRUE(pFrames != NULL) << c.nTheme;
        EXPECT_EQ(c.nTheme, pFrames->GetCurrentTheme());
        auto* pRibbons = dynamic_cast<CRibbonStyleTheme*>(Ribbon()->GetPaintManager());
        ASSERT_TRUE(pRibbons != NULL) << "theme " << c.nTheme << ": the ribbon draws with a ribbon theme";
        EXPECT_EQ(pRibbons, Ribbon()->GetRibbonTheme()) << c.nTheme;
        if (c.bOwn) {
            EXPECT_TRUE(dynamic_cast<CRibbonStyleTheme*>(pFrames) == NULL) << c.nTheme;
            EXPECT_EQ(pRibbons, Ribbon()->GetOwnPaintManager()) << "theme " << c.nTheme << ": the bar's own";
            if (pOwn && c.nTheme == qxpThemeOffice2007) {
                EXPECT_EQ(pOwn, pRibbons) << "kept from one theme that is no ribbon theme to the next";
            }
            pOwn = pRibbons;
        } else {
            EXPECT_EQ(pFrames, (CQXPThemePainter*)pRibbons) << "the frame's ribbon theme draws the ribbon again";
            EXPECT_TRUE(Ribbon()->GetOwnPaintManager() == NULL);
        }
        // The ribbon keeps the ribbon's shape whatever the frame's theme.
        EXPECT_EQ(nRibbonHeight, RibbonHeight()) << c.nTheme;
        EXPECT_FALSE(Ribbon()->GetTab(0)->GetGroup(0)->GetRect().IsRectEmpty()) << c.nTheme;
        if (c.nTheme == qxpThemeOffice2003)
            Shot("ribbon-in-office2003-frame.png");
    }
}

TEST_F(RibbonBarTest, QuickAccessToolbarBelowTheRibbon)
{
    const int nFull = RibbonHeight();
    Ribbon()->SetQuickAccessBelow(TRUE);
    Relayout();
    const qxribbon::RibbonBarState s = Ribbon()->GetBarState();
    EXPECT_EQ(nFull + s.GetQuickAccessHeight() + 1 - (nFull - s.GetCaptionHeight() - s.GetTabsHeight() - s.CalcGroupsHeight()),
              RibbonHeight());
    CRect rcSave = Ribbon()->GetQuickAccessControl(0)->GetRect();
    EXPECT_GE(rcSave.top, Ribbon()->GetGroupsRect().bottom);
    Shot("ribbon-qat-below.png");
}

TEST_F(RibbonBarTest, WithoutAFrameHookTheQuickAccessToolbarSitsBesideTheCaptionBandsCorner)
{
    // The caption band the ribbon draws itself: the QAT leaves the corner
    // (tab row + QAT height) free, from 2 px above the band.
    ASSERT_FALSE(Ribbon()->HasFrameHook());
    ASSERT_TRUE(Ribbon()->IsCaptionVisible());
    const int t = Ribbon()->GetTabsHeight(), q = Ribbon()->GetQuickAccessHeight();
    CRect rcSave = Ribbon()->GetQuickAccessControl(0)->GetRect();
    EXPECT_EQ(t + q, rcSave.left);
    EXPECT_EQ(-2 + (q - 1 - rcSave.Height()) / 2 + 2, rcSave.top);
    EXPECT_EQ(t + q, Ribbon()->GetQuickAccessRect().left);
    EXPECT_EQ(-2, Ribbon()->GetQuickAccessRect().top);
    EXPECT_EQ(q - 3, Ribbon()->GetQuickAccessRect().bottom);
    Shot("ribbon-qat-caption-band.png");

    // Without tabs the system button keeps its own size in the caption and
    // the QAT starts 15 px after it.
    Ribbon()->AddSystemButton(ID_R_SAVE);
    Ribbon()->m_bTabsVisible = FALSE;
    Relayout();
    const CRect rcButton = Ribbon()->GetSystemButton()->GetRect();
    EXPECT_EQ(0, rcButton.left);
    EXPECT_EQ(rcButton.Width() + 15, Ribbon()->GetQuickAccessRect().left);
    EXPECT_EQ(rcButton.Width() + 15, Ribbon()->GetQuickAccessControl(0)->GetRect().left);
}

TEST_F(RibbonBarTest, AHiddenQuickAccessToolbarShowsNoneOfItsControls)
{
    CQXPControl* pSave = Ribbon()->GetQuickAccessControl(0);
    const int nCaption = Ribbon()->GetCaptionHeight();
    Ribbon()->SetQuickAccessVisible(FALSE);
    Relayout();
    EXPECT_FALSE(Ribbon()->IsQuickAccessVisible());
    EXPECT_FALSE(pSave->IsVisible(0));
    EXPECT_FALSE(Ribbon()->GetQuickAccessCustomizeButton()->IsVisible(0));
    EXPECT_FALSE(Ribbon()->GetQuickAccessMoreButton()->IsVisible(0));
    EXPECT_LE(Ribbon()->GetCaptionHeight(), nCaption);
    Ribbon()->SetQuickAccessVisible(TRUE);
    Relayout();
    EXPECT_TRUE(pSave->IsVisible(0));
    EXPECT_TRUE(Ribbon()->GetQuickAccessCustomizeButton()->IsVisible(0));
    EXPECT_EQ(nCaption, Ribbon()->GetCaptionHeight());
}

TEST_F(RibbonBarTest, TakenOutOfItsCommandBarsTheRibbonLetsItsTabsAndQuickAccessToolbarGo)
{
    CQXPRibbonBar* pRibbon = Ribbon();
    pRibbon->InternalAddRef(); // kept to look at
    CQXPControl* pSave = pRibbon->GetQuickAccessControl(0);
    CQXPControl* pPaste = pRibbon->GetTab(0)->GetGroup(0)->GetAt(0);
    pSave->InternalAddRef();
    pPaste->InternalAddRef();
    frame.GetCommandBars()->Remove(pRibbon);
    frame.m_pRibbon = NULL;
    EXPECT_EQ(0, pRibbon->GetTabCount());
    EXPECT_EQ(0, pRibbon->GetQuickAccessCount());
    EXPECT_EQ(nullptr, pSave->GetControls()) << "out of the bar's controls";
    EXPECT_EQ(nullptr, pPaste->GetControls());
    pSave->InternalRelease();
    pPaste->InternalRelease();
    pRibbon->InternalRelease();
}

// A ribbon whose tab row and groups band are of its own heights.
class CTallRibbon : public CQXPRibbonBar {
public:
    int GetTabsHeight() const override { return 30; }
    int CalcGroupsHeight() const override { return 120; }
};

TEST(RibbonHeights, ADerivedBarAnswersItsOwnHeights)
{
    CTallRibbon ribbon;
    FillRibbon(&ribbon);
    const int nCaption = ribbon.GetCaptionHeight();
    EXPECT_EQ(120, ribbon.GetGroupsHeight());
    EXPECT_EQ(120, ribbon.GetBandMetrics().nGroupsHeight);
    EXPECT_EQ(nCaption + 30 + 120, ribbon.CalcDockingLayout(600, 0).cy);
    ribbon.SetRibbonMinimized(TRUE);
    EXPECT_EQ(0, ribbon.GetGroupsHeight());
    EXPECT_EQ(nCaption + 30 + 2, ribbon.CalcDockingLayout(600, 0).cy);
    // The bar's own answers are the theme's unless a bar answers otherwise.
    CQXPRibbonBar plain;
    FillRibbon(&plain);
    EXPECT_EQ(plain.GetBarState().CalcGroupsHeight(), plain.CalcGroupsHeight());
    plain.m_nGroupsHeightOverride = 99;
    EXPECT_EQ(99, plain.GetGroupsHeight());
}

// --- the tab row's other controls ---------------------------------------------------

// Pixels darker than the light ribbon face (text, glyphs) in a client
// rectangle of the ribbon, as the screen shows it.
int DarkPixelsIn(CQXPRibbonBar* pRibbon, CRect rc)
{
    pRibbon->ClientToScreen(&rc);
    HDC hdc = ::GetDC(NULL);
    int n = 0;
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++) {
            const COLORREF c = ::GetPixel(hdc, x, y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 300)
                n++;
        }
    ::ReleaseDC(NULL, hdc);
    return n;
}

TEST_F(RibbonBarTest, ControlsOfTheBarOutsideGroupsShareTheTabRow)
{
    // A button of the bar itself (in no group, not on the QAT) and a
    // right-aligned one.
    CQXPControl* pFind = Ribbon()->GetControls()->Add(qxpControlButton, ID_R_FIND);
    pFind->SetCaption("Find");
    pFind->SetStyle(qxpButtonCaption);
    CQXPControl* pZoom = Ribbon()->GetControls()->Add(qxpControlButton, ID_R_ZOOM);
    pZoom->SetCaption("Zoom");
    pZoom->SetStyle(qxpButtonCaption);
    pZoom->SetFlags(pZoom->GetFlags() | qxpFlagRightAlign);
    pZoom->SetBeginGroup(TRUE);
    Relayout();
    EXPECT_TRUE(Ribbon()->IsTabRowControl(pFind));
    EXPECT_FALSE(Ribbon()->IsTabRowControl(Ribbon()->GetQuickAccessControl(0)));
    EXPECT_FALSE(Ribbon()->IsTabRowControl(Ribbon()->GetTab(0)->GetGroup(0)->GetAt(0)));

    const CRect rcRow = Ribbon()->GetTabRowRect();
    CRect rcClient;
    Ribbon()->GetClientRect(&rcClient);
    const CRect rcFind = pFind->GetRect(), rcZoom = pZoom->GetRect();
    ASSERT_FALSE(rcFind.IsRectEmpty());
    ASSERT_FALSE(rcZoom.IsRectEmpty());
    // Left-aligned from x 2 (no system button), right-aligned at the right
    // end with its group line cleared; both centred in the tab row.
    EXPECT_EQ(2, rcFind.left);
    EXPECT_EQ(rcClient.right, rcZoom.right);
    EXPECT_FALSE(pZoom->GetBeginGroup());
    for (const CRect& rc : {rcFind, rcZoom}) {
        EXPECT_EQ(rcRow.top + (rcRow.Height() - rc.Height()) / 2, rc.top);
    }
    // The tabs lie between them.
    const CRect rcFirstTab = Ribbon()->GetTab(0)->GetRect();
    const CRect rcLastTab = Ribbon()->GetTab(2)->GetRect();
    EXPECT_GE(rcFirstTab.left, rcFind.right);
    EXPECT_LE(rcLastTab.right, rcZoom.left);
    // Drawn: their captions show in the tab row.
    Shot("ribbon-tab-row-controls.png");
    EXPECT_GT(DarkPixelsIn(Ribbon(), rcFind), 5);
    EXPECT_GT(DarkPixelsIn(Ribbon(), rcZoom), 5);

    // Real clicks run them.
    qmtest::ClickAt(ScreenPoint(rcFind.CenterPoint()));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return frame.m_commands.size() == 1; }));
    EXPECT_EQ((UINT)ID_R_FIND, frame.m_commands[0]);
    qmtest::PumpFor(::GetDoubleClickTime() + 100);
    qmtest::ClickAt(ScreenPoint(rcZoom.CenterPoint()));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return frame.m_commands.size() == 2; }));
    EXPECT_EQ((UINT)ID_R_ZOOM, frame.m_commands[1]);
}

class CDocumentChild : public CMDIChildWnd {
public:
    void PostNcDestroy() override { delete this; }
};

TEST_F(RibbonBarTest, AMaximisedDocumentsButtonsShowOnTheTabRowAndWork)
{
    Ribbon()->SetFlags(qxpFlagShowMDISysMenu);
    CDocumentChild* pChild = new CDocumentChild;
    ASSERT_TRUE(pChild->Create(NULL, "Document", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(10, 10, 300, 200),
                               &frame));
    const HWND hChild = pChild->GetSafeHwnd();
    frame.MDIMaximize(pChild);
    auto find = [&](int nId) { return Ribbon()->GetControls()->FindControl(0, nId, FALSE, FALSE); };
    ASSERT_TRUE(qmtest::PumpUntil([&] { return find(QXP_ID_MDI_CLOSE) != NULL; }));
    Relayout();

    // The system-menu icon after the corner, the three buttons at the right
    // end in their order, all in the tab row; the tabs between them.
    CQXPControl* pSys = find(QXP_ID_MDI_SYSMENU);
    CQXPControl* pMin = find(QXP_ID_MDI_MINIMIZE);
    CQXPControl* pRestore = find(QXP_ID_MDI_RESTORE);
    CQXPControl* pClose = find(QXP_ID_MDI_CLOSE);
    ASSERT_TRUE(pSys && pMin && pRestore && pClose);
    CRect rcClient;
    Ribbon()->GetClientRect(&rcClient);
    const CRect rcRow = Ribbon()->GetTabRowRect();
    EXPECT_EQ(2, pSys->GetRect().left);
    EXPECT_EQ(rcClient.right, pClose->GetRect().right);
    EXPECT_EQ(pRestore->GetRect().right, pClose->GetRect().left);
    EXPECT_EQ(pMin->GetRect().right, pRestore->GetRect().left);
    for (CQXPControl* c : {pSys, pMin, pRestore, pClose}) {
        EXPECT_TRUE(c->IsVisible());
        EXPECT_FALSE(c->GetRect().IsRectEmpty());
        EXPECT_GE(c->GetRect().top, rcRow.top);
        EXPECT_LE(c->GetRect().bottom, rcRow.bottom);
    }
    EXPECT_GE(Ribbon()->GetTab(0)->GetRect().left, pSys->GetRect().right);
    EXPECT_LE(Ribbon()->GetTab(2)->GetRect().right, pMin->GetRect().left);
    Shot("ribbon-mdi-buttons.png");
    EXPECT_GT(DarkPixelsIn(Ribbon(), pClose->GetRect()), 3) << "the close glyph is drawn";

    // The restore button, clicked, restores the document: its buttons go.
    qmtest::ClickAt(ScreenPoint(pRestore->GetRect().CenterPoint()));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !::IsZoomed(hChild); }));
    EXPECT_TRUE(qmtest::PumpUntil([&] { return find(QXP_ID_MDI_CLOSE) == NULL; }));
    ::DestroyWindow(hChild);
    qmtest::PumpMessages();
}

TEST_F(RibbonBarTest, WithActionsOnAGroupsButtonsShowTheGroupsAction)
{
    // Actions on: a new group's option and popup buttons take the action of
    // the group's id, made when missing (captioned as the group) or the one
    // the program made (its caption kept); the program enables, hides and
    // describes the buttons through it. Actions off, no action is made.
    CQXPCommandBars* pBars = frame.GetCommandBars();
    CQXPRibbonTab* pView = Ribbon()->GetTab(2);
    CQXPRibbonGroup* pBefore = pView->AddGroup("Before", 301);
    pBefore->Add(qxpControlButton, ID_R_TABLE, "Table");
    EXPECT_TRUE(pBars->FindAction(301) == NULL);
    EXPECT_TRUE(pBefore->GetOptionButton()->GetAction() == NULL);

    pBars->EnableActions(TRUE);
    CQXPControlAction* pMade = pBars->GetActions()->Add(ID_R_PARAGRAPH);
    pMade->SetCaption("Paragraph settings");
    pMade->SetTooltip("Show the paragraph dialog");
    const struct Case {
        const char* caption;
        int nId;
        const char* actionCaption;
        const char* tooltip;
    } cases[] = {
        {"Styles", ID_R_STYLES, "Styles", ""},
        {"Paragraph", ID_R_PARAGRAPH, "Paragraph settings", "Show the paragraph dialog"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        CQXPRibbonGroup* pGroup = pView->AddGroup(c.caption, c.nId);
        pGroup->Add(qxpControlButton, ID_R_PICTURE, "Picture");
        pGroup->m_bShowOptionButton = TRUE;
        CQXPControlAction* pAction = pBars->FindAction(c.nId);
        ASSERT_TRUE(pAction != NULL);
        EXPECT_EQ(c.actionCaption, std::string(pAction->GetCaption()));
        EXPECT_EQ(pAction, pGroup->GetOptionButton()->GetAction());
        ASSERT_TRUE(pGroup->GetPopupButton() != NULL);
        EXPECT_EQ(pAction, pGroup->GetPopupButton()->GetAction());
        EXPECT_EQ(c.tooltip, std::string(pGroup->GetOptionButton()->GetTooltip()));
    }
    EXPECT_TRUE(pMade == pBars->FindAction(ID_R_PARAGRAPH)) << "the program's action is kept";
    ASSERT_TRUE(Ribbon()->SelectTab(2));
    Relayout();

    // The option buttons under the real mouse: the enabled action's runs
    // its command, the disabled one's does not.
    CQXPRibbonGroup* pStyles = Ribbon()->FindGroup(ID_R_STYLES);
    CQXPRibbonGroup* pParagraph = Ribbon()->FindGroup(ID_R_PARAGRAPH);
    pBars->FindAction(ID_R_PARAGRAPH)->SetEnabled(FALSE);
    Relayout();
    ASSERT_TRUE(pStyles->GetOptionButton()->IsVisible());
    ASSERT_TRUE(pParagraph->GetOptionButton()->IsVisible());
    EXPECT_FALSE(pParagraph->GetOptionButton()->GetEnabled());
    Shot("ribbon-group-actions.png");
    frame.m_commands.clear();
    qmtest::ClickAt(ScreenPoint(pParagraph->GetOptionButton()->GetRect().CenterPoint()));
    qmtest::ClickAt(ScreenPoint(pStyles->GetOptionButton()->GetRect().CenterPoint()));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_commands.empty(); }));
    qmtest::PumpMessages();
    EXPECT_EQ(std::vector<UINT>{ID_R_STYLES}, frame.m_commands);

    // Hiding the action hides both buttons of its group.
    pBars->FindAction(ID_R_STYLES)->SetVisible(FALSE);
    EXPECT_FALSE(pStyles->GetOptionButton()->IsVisible());
    EXPECT_FALSE(pStyles->GetPopupButton()->IsVisible(qxpHideWrap));
}

TEST_F(RibbonBarTest, ASavedLayoutNamingTheRibbonBringsItIntoAnotherFrame)
{
    // The frame's layout, saved with the ribbon under an id of its own, is
    // loaded into a frame that has no ribbon: the ribbon joins its bars
    // with its tabs, groups and QAT, on the tab that was selected.
    qmtest::RegistryApp reg;
    ASSERT_TRUE(Ribbon()->SelectTab(1));
    SaveRibbonLayoutAndClose();

    CRibbonTestFrame other;
    CQXPRibbonBar* pLoaded = ReloadRibbonLayout(other);
    ASSERT_TRUE(pLoaded != NULL);
    EXPECT_EQ(0x7E00u, pLoaded->GetBarID());
    EXPECT_EQ(3, pLoaded->GetTabCount());
    EXPECT_EQ(1, pLoaded->GetSelectedTabIndex());
    EXPECT_EQ(1, pLoaded->GetQuickAccessCount());
    EXPECT_TRUE(::IsWindowVisible(pLoaded->GetSafeHwnd()));
    CRect rc;
    pLoaded->GetWindowRect(&rc);
    const qxribbon::RibbonBarState s = pLoaded->GetBarState();
    EXPECT_EQ(s.GetCaptionHeight() + s.GetTabsHeight() + s.CalcGroupsHeight(), rc.Height());
    CQXPControl* pPicture = pLoaded->GetTab(1)->GetGroup(0)->GetAt(0);
    EXPECT_TRUE(pPicture->IsVisible(0));
    EXPECT_EQ(pLoaded, pPicture->GetParent());
    other.DestroyWindow();
    qmtest::PumpMessages();
}

// Every control a ribbon's groups and QAT name is one of its own controls.
bool OwnsItsControls(CQXPRibbonBar* p)
{
    CQXPControls* pControls = p->GetControls();
    for (int i = 0; i < p->GetTabCount(); i++)
        for (CQXPRibbonGroup* g : *p->GetTab(i)->GetGroups())
            for (int c = 0; c < g->GetCount(); c++)
                if (g->GetAt(c)->GetControls() != pControls)
                    return false;
    for (int i = 0; i < p->GetQuickAccessCount(); i++)
        if (p->GetQuickAccessControl(i)->GetControls() != pControls)
            return false;
    return true;
}

TEST_F(RibbonBarTest, ARibbonCopiedFromOneNoFrameHoldsStaysInItsFrameAndDrawsItsQuickAccessToolbar)
{
    // A new ribbon without a window or command bars, copied into the docked
    // one: the docked ribbon stays its frame's command bars' under its own
    // id (the new one has the menu bar's), lays out at once and draws its
    // QAT commands, tabs and groups.
    Ribbon()->SetBarID(0x7E01);
    for (BOOL bCustomizable : {TRUE, FALSE}) {
        SCOPED_TRACE(bCustomizable ? "customizable" : "fixed");
        CQXPRibbonBar fresh;
        FillRibbon(&fresh);
        fresh.SetCustomizable(bCustomizable);
        fresh.AddQuickAccessControl(qxpControlButton, ID_R_CUT)->SetCaption("Cut");
        Ribbon()->Copy(&fresh);
        qmtest::PumpMessages();
        EXPECT_EQ(frame.GetCommandBars(), Ribbon()->GetCommandBars());
        EXPECT_EQ(0x7E01u, Ribbon()->GetBarID());
        EXPECT_EQ(qxpBarTop, Ribbon()->GetPosition());
        ASSERT_EQ(2, Ribbon()->GetQuickAccessCount());
        const CRect rcQat = Ribbon()->GetQuickAccessRect();
        for (int i = 0; i < 2; i++) {
            CQXPControl* c = Ribbon()->GetQuickAccessControl(i);
            SCOPED_TRACE(std::string(c->GetCaption()));
            EXPECT_TRUE(c->IsVisible());
            const CRect rc = c->GetRect();
            ASSERT_FALSE(rc.IsRectEmpty());
            EXPECT_GE(rc.left, rcQat.left);
            EXPECT_LE(rc.right, rcQat.right);
        }
        EXPECT_FALSE(Ribbon()->GetTab(0)->GetRect().IsRectEmpty());
        EXPECT_FALSE(Ribbon()->GetTab(0)->GetGroup(0)->GetAt(0)->GetRect().IsRectEmpty());
        Shot(bCustomizable ? "ribbon-copied-customizable.png" : "ribbon-copied-fixed.png");
        for (int i = 0; i < 2; i++)
            EXPECT_GT(DarkPixelsIn(Ribbon(), Ribbon()->GetQuickAccessControl(i)->GetRect()), 5) << "QAT command " << i;
    }
}

TEST_F(RibbonBarTest, ATabRowControlComesBackWithTheSavedLayout)
{
    // A control on the tab row of the customizable ribbon, saved with the
    // frame's layout: loaded into another frame it is on the tab row there,
    // laid out between the tabs' left end and drawn.
    qmtest::RegistryApp reg;
    AddTabRowControl(Ribbon(), ID_R_FIND, "Find");
    Relayout();
    SaveRibbonLayoutAndClose();

    CRibbonTestFrame other;
    CQXPRibbonBar* pLoaded = ReloadRibbonLayout(other);
    ASSERT_TRUE(pLoaded != NULL);
    EXPECT_EQ("Find", TabRow(pLoaded));
    CQXPControl* pBack = TabRowControl(pLoaded, "Find");
    ASSERT_TRUE(pBack != NULL);
    EXPECT_EQ(ID_R_FIND, pBack->GetID());
    EXPECT_EQ(qxpButtonCaption, pBack->GetStyle());
    const CRect rc = pBack->GetRect(), rcRow = pLoaded->GetTabRowRect();
    ASSERT_FALSE(rc.IsRectEmpty());
    EXPECT_EQ(2, rc.left);
    EXPECT_GE(rc.top, rcRow.top);
    EXPECT_LE(rc.bottom, rcRow.bottom);
    EXPECT_GE(pLoaded->GetTab(0)->GetRect().left, rc.right);
    ::RedrawWindow(other.GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    qmtest::PumpMessages();
    EXPECT_TRUE(qmtest::SaveWindowShot(other.GetSafeHwnd(), QM_BIN_DIR, "ribbon-tab-row-reloaded.png"));
    EXPECT_GT(DarkPixelsIn(pLoaded, rc), 5);
    other.DestroyWindow();
    qmtest::PumpMessages();
}

TEST_F(RibbonBarTest, ASavedLayoutComesIntoTheProgramsOwnRibbon)
{
    // The layout saved with the customizable ribbon, loaded into a frame
    // whose program made a ribbon of the same id with other tabs: that
    // ribbon (no second one) takes the saved tabs, tab-row control and QAT,
    // on the tab that was selected, laid out in its frame.
    qmtest::RegistryApp reg;
    ASSERT_TRUE(Ribbon()->SelectTab(1));
    Ribbon()->AddQuickAccessControl(qxpControlButton, ID_R_CUT)->SetCaption("Cut");
    AddTabRowControl(Ribbon(), ID_R_FIND, "Find");
    SaveRibbonLayoutAndClose();

    CRibbonTestFrame other;
    ASSERT_TRUE(other.Create(NULL, "Ribbon again", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                             CRect(0, 0, 700, 480)));
    CQXPRibbonBar* pOwn =
        DYNAMIC_DOWNCAST(CQXPRibbonBar, other.GetCommandBars()->Add("Ribbon", qxpBarTop, RUNTIME_CLASS(CQXPRibbonBar)));
    ASSERT_TRUE(pOwn != NULL);
    pOwn->SetBarID(0x7E00);
    pOwn->AddTab("Mine")->AddGroup("Kept", 900)->Add(qxpControlButton, ID_R_ZOOM, "Zoom");
    other.RecalcLayout();
    qmtest::PumpMessages();
    CQXPRibbonBar* pLoaded = ReloadRibbonLayout(other, FALSE);
    EXPECT_EQ(pOwn, pLoaded);
    int nRibbons = 0;
    for (int i = 0; i < other.GetCommandBars()->GetCount(); i++)
        if (DYNAMIC_DOWNCAST(CQXPRibbonBar, other.GetCommandBars()->GetAt(i)))
            nRibbons++;
    EXPECT_EQ(1, nRibbons);
    EXPECT_EQ(3, pOwn->GetTabCount());
    EXPECT_EQ(CString("&Home"), pOwn->GetTab(0)->GetCaption());
    EXPECT_EQ(1, pOwn->GetSelectedTabIndex());
    ASSERT_EQ(2, pOwn->GetQuickAccessCount());
    EXPECT_EQ(ID_R_CUT, pOwn->GetQuickAccessControl(1)->GetID());
    EXPECT_EQ(other.GetCommandBars(), pOwn->GetCommandBars());
    EXPECT_EQ("Find", TabRow(pOwn));
    CQXPControl* pRow = TabRowControl(pOwn, "Find");
    ASSERT_TRUE(pRow != NULL);
    EXPECT_FALSE(pRow->GetRect().IsRectEmpty());
    for (int i = 0; i < pOwn->GetQuickAccessCount(); i++)
        EXPECT_FALSE(pOwn->GetQuickAccessControl(i)->GetRect().IsRectEmpty()) << "QAT command " << i;
    EXPECT_FALSE(pOwn->GetTab(1)->GetGroup(0)->GetAt(0)->GetRect().IsRectEmpty());
    ::RedrawWindow(other.GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    qmtest::PumpMessages();
    EXPECT_TRUE(qmtest::SaveWindowShot(other.GetSafeHwnd(), QM_BIN_DIR, "ribbon-layout-into-own-ribbon.png"));
    EXPECT_GT(DarkPixelsIn(pOwn, pRow->GetRect()), 5);
    other.DestroyWindow();
    qmtest::PumpMessages();
}

// --- saved state -------------------------------------------------------------------

std::string Captions(CQXPRibbonBar* p)
{
    std::string s;
    for (int i = 0; i < p->GetTabCount(); i++) {
        CQXPRibbonTab* t = p->GetTab(i);
        s += (const char*)t->GetCaption();
        s += "[";
        for (int g = 0; g < t->GetGroupCount(); g++) {
            s += (const char*)t->GetGroup(g)->GetCaption();
            s += ":" + std::to_string(t->GetGroup(g)->GetCount()) + " ";
        }
        s += "]";
    }
    s += " qat " + std::to_string(p->GetQuickAccessCount());
    return s;
}

TEST(RibbonState, ClassesAreFoundByName)
{
    EXPECT_TRUE(RegisterRibbonBarClasses());
}

// A ribbon's state in an archive, and a load from one: TRUE when the load
// was refused (the archive exception).
qmtest::Bytes StoreArchive(CQXPRibbonBar& ribbon)
{
    return qmtest::StoreBytes([&](CArchive& ar) {
        CQXPPropExchangeArchive px(ar);
        ribbon.DoPropExchange(&px);
    });
}

bool ArchiveLoadRefused(CQXPRibbonBar& ribbon, const qmtest::Bytes& bytes)
{
    try {
        qmtest::LoadBytes(bytes, [&](CArchive& ar) {
            CQXPPropExchangeArchive px(ar);
            ribbon.DoPropExchange(&px);
        });
    } catch (CArchiveException* e) {
        e->Delete();
        return true;
    }
    return false;
}

// The three stores a ribbon's state goes through: each stores a ribbon and
// loads another from what it stored (the registry under the test's own
// application key, an INI file in a folder of the test's own).
struct RibbonStore {
    const char* name;
    std::function<void(CQXPRibbonBar&)> store;
    std::function<void(CQXPRibbonBar&)> load;
};

std::vector<RibbonStore> RibbonStores(const std::string& ini, qmtest::Bytes& bytes)
{
    return {
        {"registry",
         [](CQXPRibbonBar& r) {
             CQXPPropExchangeRegistry px(FALSE, NULL, "Ribbon");
             r.DoPropExchange(&px);
         },
         [](CQXPRibbonBar& r) {
             CQXPPropExchangeRegistry px(TRUE, NULL, "Ribbon");
             r.DoPropExchange(&px);
         }},
        {"INI file",
         [ini](CQXPRibbonBar& r) {
             CQXPPropExchangeIniFile px(FALSE, NULL, "Ribbon");
             px.AssignFile(ini.c_str());
             r.DoPropExchange(&px);
         },
         [ini](CQXPRibbonBar& r) {
             CQXPPropExchangeIniFile px(TRUE, NULL, "Ribbon");
             px.AssignFile(ini.c_str());
             r.DoPropExchange(&px);
         }},
        {"archive", [&bytes](CQXPRibbonBar& r) { bytes = StoreArchive(r); },
         [&bytes](CQXPRibbonBar& r) { EXPECT_FALSE(ArchiveLoadRefused(r, bytes)); }},
    };
}

TEST(RibbonState, RoundTripsThroughRegistryIniAndArchive)
{
    qmtest::RegistryApp reg;
    CQXPRibbonBar source;
    FillRibbon(&source);
    source.SetCustomizable(TRUE); // its tabs and system button are stored
    source.GetTab(1)->GetGroup(0)->m_bShowOptionButton = TRUE;
    source.SetQuickAccessBelow(TRUE);
    const std::string expected = Captions(&source);
    ASSERT_EQ("&Home[Clipboard:3 Font:3 Editing:3 ]&Insert[Illustrations:2 ]&View[Zoom:1 ] qat 1", expected);

    auto check = [&](CQXPRibbonBar& back) {
        EXPECT_EQ(expected, Captions(&back));
        EXPECT_TRUE(back.IsQuickAccessBelow());
        EXPECT_TRUE(back.GetTab(1)->GetGroup(0)->m_bShowOptionButton);
        EXPECT_EQ(ID_R_PICTURE, back.GetTab(1)->GetGroup(0)->GetAt(0)->GetID());
        EXPECT_EQ(ID_R_SAVE, back.GetQuickAccessControl(0)->GetID());
        EXPECT_EQ(200, back.GetTab(1)->GetGroup(0)->GetID());
        EXPECT_EQ(0, back.GetSelectedTabIndex());
    };
    qmtest::TempDir dir;
    qmtest::Bytes bytes;
    for (const RibbonStore& st : RibbonStores(dir.Path("ribbon.ini"), bytes)) {
        SCOPED_TRACE(st.name);
        st.store(source);
        CQXPRibbonBar back;
        st.load(back);
        check(back);
    }
}

TEST(RibbonState, ACustomizableRibbonsTabRowControlsTravelWithIt)
{
    // Controls on the tab row (as dropped there in customize mode) are
    // stored with a customizable ribbon and take the place of the tab-row
    // controls of the bar that loads them. A maximised document's buttons
    // (temporary) are neither stored nor replaced, and no control of a
    // group or of the QAT comes twice.
    qmtest::RegistryApp reg;
    qmtest::TempDir dir;
    qmtest::Bytes bytes;
    CQXPRibbonBar source;
    FillRibbon(&source);
    source.SetCustomizable(TRUE);
    AddTabRowControl(&source, ID_R_FIND, "Find");
    AddTabRowControl(&source, ID_R_ZOOM, "Zoom", TRUE);
    AddTabRowControl(&source, ID_R_REPLACE, "Document", FALSE, TRUE);
    ASSERT_EQ("Find Zoom>| Document~", TabRow(&source));
    const std::string expected = Captions(&source);
    for (const RibbonStore& st : RibbonStores(dir.Path("row.ini"), bytes)) {
        SCOPED_TRACE(st.name);
        st.store(source);
        CQXPRibbonBar back;
        AddTabRowControl(&back, ID_R_GOTO, "Go To");
        AddTabRowControl(&back, ID_R_COPY, "Mine", FALSE, TRUE);
        st.load(back);
        EXPECT_EQ(expected, Captions(&back));
        EXPECT_EQ("Mine~ Find Zoom>|", TabRow(&back));
        EXPECT_EQ(source.GetControls()->GetCount(), back.GetControls()->GetCount());
        CQXPControl* pFind = TabRowControl(&back, "Find");
        ASSERT_TRUE(pFind != NULL);
        EXPECT_EQ(&back, pFind->GetParent());
        EXPECT_EQ(back.GetControls(), pFind->GetControls());
        EXPECT_EQ(qxpButtonCaption, pFind->GetStyle());
        EXPECT_TRUE(OwnsItsControls(&back));
    }
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST(RibbonState, AFixedRibbonKeepsItsTabsAndSystemButtonAndStoresOnlyItsQuickAccessToolbar)
{
    // A ribbon that is not customizable: the program's tabs and system
    // button are not stored, and loading leaves those of the bar alone.
    qmtest::RegistryApp reg;
    qmtest::TempDir dir;
    const std::string ini = dir.Path("fixed.ini");
    qmtest::Bytes bytes;
    CQXPRibbonBar source;
    FillRibbon(&source);
    source.AddSystemButton(ID_R_SAVE);
    source.AddQuickAccessControl(qxpControlButton, ID_R_CUT);
    AddTabRowControl(&source, ID_R_FIND, "Find");
    for (const RibbonStore& st : RibbonStores(ini, bytes)) {
        SCOPED_TRACE(st.name);
        st.store(source);
        CQXPRibbonBar back;
        back.AddTab("Mine")->AddGroup("Kept", 900)->Add(qxpControlButton, ID_R_ZOOM, "Zoom");
        AddTabRowControl(&back, ID_R_GOTO, "Go To");
        st.load(back);
        EXPECT_EQ("Mine[Kept:1 ] qat 2", Captions(&back));
        EXPECT_EQ("Go To", TabRow(&back));
        EXPECT_EQ(0, back.GetSelectedTabIndex());
        EXPECT_EQ(nullptr, back.GetSystemButton());
        EXPECT_EQ(ID_R_CUT, back.GetQuickAccessControl(1)->GetID());
    }
    const std::string text = ReadText(ini);
    EXPECT_EQ(std::string::npos, text.find("[Ribbon\\Tabs")) << text;
    EXPECT_EQ(std::string::npos, text.find("SystemButton")) << text;
    EXPECT_NE(std::string::npos, text.find("[Ribbon\\QuickAccessControls")) << text;
}

// The Font group (option button shown) with a described option button and
// a popup button with an icon and a key of its own.
CQXPRibbonGroup* DescribeFontGroupButtons(CQXPRibbonBar* pRibbon)
{
    CQXPRibbonGroup* pFont = pRibbon->FindGroup(101);
    pFont->GetOptionButton()->SetPrompt("Opens the font dialog\nFont settings\n\nFN");
    pFont->GetPopupButton()->SetIconId(77);
    pFont->GetPopupButton()->SetPrompt("Shows the whole group\nFont\n\nZF");
    return pFont;
}

TEST(RibbonState, TheGroupsButtonsTravelInSectionsOfTheirOwn)
{
    qmtest::RegistryApp reg;
    qmtest::TempDir dir;
    const std::string ini = dir.Path("buttons.ini");
    qmtest::Bytes bytes;
    CQXPRibbonBar source;
    FillRibbon(&source);
    source.SetCustomizable(TRUE); // its tabs and system button are stored
    DescribeFontGroupButtons(&source);
    for (const RibbonStore& st : RibbonStores(ini, bytes)) {
        SCOPED_TRACE(st.name);
        st.store(source);
        CQXPRibbonBar back;
        st.load(back);
        CQXPRibbonGroup* pFont = back.FindGroup(101);
        ASSERT_TRUE(pFont != NULL);
        CQXPControl* pOption = pFont->GetOptionButton();
        EXPECT_EQ(101, pOption->GetID());
        EXPECT_EQ("Font settings", std::string(pOption->GetTooltip()));
        EXPECT_EQ("Opens the font dialog", std::string(pOption->GetDescription()));
        EXPECT_EQ("FN", std::string(pOption->m_strKeyboardTip));
        EXPECT_TRUE(pOption->GetFlags() & qxpFlagManualUpdate);
        CQXPControl* pPopup = pFont->GetPopupButton();
        ASSERT_TRUE(pPopup != NULL);
        EXPECT_EQ(101, pPopup->GetID());
        EXPECT_EQ(qxpControlButtonPopup, pPopup->GetType());
        EXPECT_EQ(77, pPopup->GetIconId());
        EXPECT_EQ("ZF", std::string(pPopup->m_strKeyboardTip));
        EXPECT_EQ("Shows the whole group", std::string(pPopup->GetDescription()));
        // The buttons of the other groups are their groups' as before.
        CQXPRibbonGroup* pClip = back.FindGroup(100);
        EXPECT_EQ(100, pClip->GetOptionButton()->GetID());
        EXPECT_EQ("", std::string(pClip->GetOptionButton()->GetTooltip()));
        EXPECT_EQ("", std::string(pClip->GetPopupButton()->m_strKeyboardTip));
        EXPECT_EQ(back.GetControls(), pOption->GetControls());
        EXPECT_EQ(pOption->GetIndex() + 1, pPopup->GetIndex()) << "the popup button right after the option button";
    }
    // In the INI file: after the group's controls, the option button's
    // section, then the popup button's.
    const std::string text = ReadText(ini);
    const std::string group = "[Ribbon\\Tabs\\Tab0\\Groups\\Group1\\";
    const size_t nControls = text.find(group + "Controls");
    const size_t nOption = text.find(group + "ControlGroupOption]");
    const size_t nPopup = text.find(group + "ControlGroupPopup]");
    ASSERT_NE(std::string::npos, nControls) << text;
    ASSERT_NE(std::string::npos, nOption) << text;
    ASSERT_NE(std::string::npos, nPopup) << text;
    EXPECT_LT(nControls, nOption);
    EXPECT_LT(nOption, nPopup);
    EXPECT_NE(std::string::npos, text.find("TooltipText=Font settings", nOption));
    EXPECT_LT(text.find("TooltipText=Font settings", nOption), nPopup);
    EXPECT_NE(std::string::npos, text.find("IconId=77", nPopup));
}

// Deletes every key of that name below a registry key.
void DeleteRegistryKeysNamed(HKEY hParent, const char* name)
{
    for (const std::string& child : qmtest::RegistrySubkeys(hParent)) {
        if (child == name) {
            ::RegDeleteTreeA(hParent, child.c_str());
            continue;
        }
        HKEY hChild;
        if (::RegOpenKeyExA(hParent, child.c_str(), 0, KEY_ALL_ACCESS, &hChild) == ERROR_SUCCESS) {
            DeleteRegistryKeysNamed(hChild, name);
            ::RegCloseKey(hChild);
        }
    }
}

TEST(RibbonState, ALayoutStoredBeforeTheButtonsSectionsStillLoads)
{
    // A registry or INI layout of the time before the group buttons had
    // sections of their own: the groups load with their controls, and
    // their buttons stay as the groups made them (the group's command, no
    // command-UI updates, the group's caption on the popup button).
    qmtest::RegistryApp reg;
    qmtest::TempDir dir;
    const std::string ini = dir.Path("older.ini");
    qmtest::Bytes bytes;
    CQXPRibbonBar source;
    FillRibbon(&source);
    source.SetCustomizable(TRUE); // its tabs and system button are stored
    DescribeFontGroupButtons(&source);
    const std::string expected = Captions(&source);
    std::vector<RibbonStore> stores = RibbonStores(ini, bytes);
    stores.pop_back(); // the archive has no names: nothing to leave out
    for (const RibbonStore& st : stores) {
        SCOPED_TRACE(st.name);
        st.store(source);
        // The sections go.
        if (std::string(st.name) == "registry") {
            HKEY hRibbon;
            ASSERT_EQ(ERROR_SUCCESS,
                      ::RegOpenKeyExA(HKEY_CURRENT_USER, reg.Path("Ribbon").c_str(), 0, KEY_ALL_ACCESS, &hRibbon));
            DeleteRegistryKeysNamed(hRibbon, "ControlGroupOption");
            DeleteRegistryKeysNamed(hRibbon, "ControlGroupPopup");
            ::RegCloseKey(hRibbon);
        } else {
            // Their values go to sections no one reads.
            std::string text = ReadText(ini);
            for (const char* name : {"ControlGroupOption]", "ControlGroupPopup]"})
                for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
                    const size_t begin = text.rfind('[', at);
                    text.replace(begin, at + strlen(name) - begin, "[Unrelated" + std::to_string(begin) + "]");
                }
            ASSERT_EQ(std::string::npos, text.find("ControlGroup"));
            std::ofstream(ini, std::ios::binary | std::ios::trunc) << text;
        }

        CQXPRibbonBar back;
        st.load(back);
        EXPECT_EQ(expected, Captions(&back));
        for (int t = 0; t < back.GetTabCount(); t++)
            for (CQXPRibbonGroup* g : *back.GetTab(t)->GetGroups()) {
                SCOPED_TRACE(std::string(g->GetCaption()));
                CQXPControl* pOption = g->GetOptionButton();
                EXPECT_EQ(g->GetID(), pOption->GetID());
                EXPECT_TRUE(pOption->GetFlags() & qxpFlagManualUpdate);
                EXPECT_EQ("", std::string(pOption->GetTooltip()));
                CQXPControl* pPopup = g->GetPopupButton();
                ASSERT_TRUE(pPopup != NULL);
                EXPECT_EQ(g->GetID(), pPopup->GetID());
                EXPECT_EQ(qxpControlButtonPopup, pPopup->GetType());
                EXPECT_EQ(std::string(g->GetCaption()), std::string(pPopup->GetCaption()));
                EXPECT_TRUE(pPopup->GetFlags() & qxpFlagManualUpdate);
            }
        EXPECT_TRUE(back.FindGroup(101)->m_bShowOptionButton);
    }
}

TEST(RibbonState, AnArchiveCutAnywhereIsRefusedWhole)
{
    // Cut at every length, the stored ribbon (its groups' button sections
    // last in each group) cannot load: the bar keeps its own tab, group and
    // controls, and nothing of the refused load stays among them.
    CQXPRibbonBar source;
    FillRibbon(&source);
    source.SetCustomizable(TRUE); // its tabs and system button are stored
    DescribeFontGroupButtons(&source);
    const qmtest::Bytes good = StoreArchive(source);
    CQXPRibbonBar target;
    target.AddTab("Mine")->AddGroup("Kept", 900)->Add(qxpControlButton, ID_R_ZOOM, "Zoom");
    const std::string before = Captions(&target);
    const int nControls = target.GetControls()->GetCount();
    int nLoaded = 0;
    for (size_t cut = 0; cut < good.size(); cut++) {
        if (!ArchiveLoadRefused(target, qmtest::Bytes(good.begin(), good.begin() + (long)cut)))
            nLoaded++;
        if (Captions(&target) != before || target.GetControls()->GetCount() != nControls) {
            ADD_FAILURE() << "cut at " << cut << " of " << good.size();
            break;
        }
    }
    EXPECT_EQ(0, nLoaded);
    EXPECT_EQ(900, target.FindGroup(900)->GetOptionButton()->GetID());
    // Whole, it loads.
    EXPECT_FALSE(ArchiveLoadRefused(target, good));
    EXPECT_EQ(Captions(&source), Captions(&target));
    EXPECT_EQ("Font settings", std::string(target.FindGroup(101)->GetOptionButton()->GetTooltip()));
}

// Replaces every occurrence of a class name by one of the same length that
// no run-time class has.
template <class Text>
void Damage(Text& text, const std::string& name)
{
    std::string bad = name;
    bad.back() = 'X';
    for (size_t i = 0; i + name.size() <= text.size(); i++)
        if (std::equal(name.begin(), name.end(), text.begin() + (long)i))
            std::copy(bad.begin(), bad.end(), text.begin() + (long)i);
}

TEST(RibbonState, DamagedClassesAreRefusedWhole)
{
    qmtest::RegistryApp reg;
    CQXPRibbonBar source;
    FillRibbon(&source);
    source.SetCustomizable(TRUE); // its tabs and system button are stored
    source.AddSystemButton();
    qmtest::Bytes good = StoreArchive(source);
    qmtest::TempDir dir;
    std::string ini = dir.Path("ribbon.ini");
    {
        CQXPPropExchangeIniFile px(FALSE, NULL, "Ribbon");
        px.AssignFile(ini.c_str());
        source.DoPropExchange(&px);
    }
    std::string iniText;
    {
        std::ifstream in(ini, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        iniText = ss.str();
    }
    // (A system button of a class that cannot be made is left out alone:
    // ASystemButtonOfAnUnknownClassIsLeftOutAndTheRestLoads.)
    for (const char* name : {"CQXPRibbonTab", "CQXPRibbonGroup", "CQXPControlButton"}) {
        SCOPED_TRACE(name);
        // The bar to load into holds one tab of its own, which stays.
        CQXPRibbonBar target;
        target.AddTab("Mine")->AddGroup("Kept")->Add(qxpControlButton, ID_R_ZOOM, "Zoom");
        const std::string before = Captions(&target);
        const int nControls = target.GetControls()->GetCount();

        qmtest::Bytes bytes = good;
        Damage(bytes, name);
        EXPECT_TRUE(ArchiveLoadRefused(target, bytes)) << "archive";
        EXPECT_EQ(before, Captions(&target));
        EXPECT_EQ(nControls, target.GetControls()->GetCount()) << "no control of the refused load stays";

        // A load through an exchange that throws the archive exception.
        auto refused = [&](CQXPPropExchange& px) {
            try {
                target.DoPropExchange(&px);
            } catch (CArchiveException* e) {
                e->Delete();
                return true;
            }
            return false;
        };
        std::string text = iniText;
        Damage(text, name);
        std::string damaged = dir.Path(std::string("damaged-") + name + ".ini");
        std::ofstream(damaged, std::ios::binary) << text;
        CQXPPropExchangeIniFile fromIni(TRUE, NULL, "Ribbon");
        fromIni.AssignFile(damaged.c_str());
        EXPECT_TRUE(refused(fromIni)) << "INI file";
        EXPECT_EQ(before, Captions(&target));
        EXPECT_EQ(nControls, target.GetControls()->GetCount());

        {
            CQXPPropExchangeRegistry px(FALSE, NULL, "Ribbon");
            source.DoPropExchange(&px);
        }
        std::string bad = name;
        Damage(bad, name);
        EXPECT_GT(reg.ReplaceStrings("Ribbon", name, bad), 0) << "the registry holds the class by name";
        CQXPPropExchangeRegistry fromRegistry(TRUE, NULL, "Ribbon");
        EXPECT_TRUE(refused(fromRegistry)) << "registry";
        EXPECT_EQ(before, Captions(&target));
        EXPECT_EQ(nControls, target.GetControls()->GetCount());
    }
    // Undamaged, the registry's copy loads.
    {
        CQXPPropExchangeRegistry px(FALSE, NULL, "Ribbon");
        source.DoPropExchange(&px);
    }
    CQXPRibbonBar back;
    CQXPPropExchangeRegistry px(TRUE, NULL, "Ribbon");
    back.DoPropExchange(&px);
    EXPECT_EQ(Captions(&source), Captions(&back));
}

TEST(RibbonState, ASystemButtonOfAnUnknownClassIsLeftOutAndTheRestLoads)
{
    // A stored system button whose class this program lacks stops the
    // exchange of that button alone: the tabs, their groups, the QAT and
    // the tab row load, and the bar keeps the system button it had (or
    // stays without one). Each store is damaged where it keeps the class.
    qmtest::RegistryApp reg;
    qmtest::TempDir dir;
    const std::string ini = dir.Path("button.ini");
    qmtest::Bytes bytes;
    CQXPRibbonBar source;
    FillRibbon(&source);
    source.SetCustomizable(TRUE);
    source.AddSystemButton(ID_R_SAVE);
    AddTabRowControl(&source, ID_R_FIND, "Find");
    const std::string expected = Captions(&source);
    const std::string name = "CQXPRibbonControlSystemButton";
    std::string bad = name;
    Damage(bad, name);
    const std::vector<std::function<void()>> damage = {
        [&] {
            DWORD type = 0;
            std::vector<BYTE> data;
            ASSERT_TRUE(reg.Query("Ribbon\\SystemButton", "Class", type, data));
            ASSERT_EQ(name, std::string((const char*)data.data()));
            ASSERT_TRUE(reg.SetRaw("Ribbon\\SystemButton", "Class", REG_SZ, bad.c_str(), (DWORD)bad.size() + 1));
        },
        [&] {
            std::string text = ReadText(ini);
            ASSERT_NE(std::string::npos, text.find("Class=" + name));
            Damage(text, name);
            std::ofstream(ini, std::ios::binary | std::ios::trunc) << text;
        },
        [&] {
            const qmtest::Bytes good = bytes;
            Damage(bytes, name);
            ASSERT_NE(good, bytes);
        },
    };
    const std::vector<RibbonStore> stores = RibbonStores(ini, bytes);
    ASSERT_EQ(damage.size(), stores.size());
    for (size_t i = 0; i < stores.size(); i++) {
        SCOPED_TRACE(stores[i].name);
        stores[i].store(source);
        damage[i]();
        for (bool bOwnButton : {true, false}) {
            SCOPED_TRACE(bOwnButton ? "the bar has a system button" : "the bar has none");
            CQXPRibbonBar back;
            back.AddTab("Mine")->AddGroup("Kept", 900)->Add(qxpControlButton, ID_R_ZOOM, "Zoom");
            CQXPControl* pOwn = bOwnButton ? back.AddSystemButton(ID_R_ZOOM) : NULL;
            stores[i].load(back);
            EXPECT_EQ(expected, Captions(&back));
            EXPECT_EQ("Find", TabRow(&back));
            EXPECT_EQ(ID_R_SAVE, back.GetQuickAccessControl(0)->GetID());
            EXPECT_EQ(pOwn, back.GetSystemButton());
            if (pOwn)
                EXPECT_EQ(0, pOwn->GetIndex());
            EXPECT_EQ(source.GetControls()->GetCount() - (bOwnButton ? 0 : 1), back.GetControls()->GetCount());
            EXPECT_TRUE(OwnsItsControls(&back));
        }
    }
}

// --- copying ---------------------------------------------------------------------------

TEST(RibbonCopy, ACloneHoldsCopiesOfTheTabsGroupsSystemButtonAndQuickAccessToolbar)
{
    struct Case {
        const char* name;
        BOOL bCustomizable;
        BOOL bMinimized;
        const char* expected; // Captions of the clone
        int nSelected;
        bool bSystemButton;
    };
    const Case cases[] = {
        {"customizable", TRUE, FALSE, "&Home[Clipboard:3 Font:3 Editing:3 ]&Insert[Pics:2 ]&View[Zoom:1 ] qat 1", 1, true},
        {"customizable, minimised", TRUE, TRUE, "&Home[Clipboard:3 Font:3 Editing:3 ]&Insert[Pics:2 ]&View[Zoom:1 ] qat 1", -1,
         true},
        // A ribbon that is not customizable keeps the clone's own tabs.
        {"fixed", FALSE, FALSE, " qat 1", -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQXPRibbonBar* pSource = new CQXPRibbonBar;
        FillRibbon(pSource);
        pSource->SetCustomizable(c.bCustomizable);
        pSource->AddSystemButton(ID_R_SAVE);
        pSource->SetQuickAccessBelow(TRUE);
        CQXPRibbonTab* pInsert = pSource->GetTab(1);
        pInsert->GetGroup(0)->SetCaption("Pics");
        pInsert->GetGroup(0)->m_bShowOptionButton = TRUE;
        pInsert->m_nContextColor = 3;
        pInsert->m_strContextCaption = "Picture Tools";
        pInsert->m_strToolTip = "Insert things";
        pSource->GetTab(2)->SetVisible(FALSE);
        ASSERT_TRUE(pSource->SelectTab(1));
        pSource->SetRibbonMinimized(c.bMinimized);
        DescribeFontGroupButtons(pSource);

        CQXPRibbonBar* pClone = DYNAMIC_DOWNCAST(CQXPRibbonBar, pSource->Clone());
        ASSERT_NE(nullptr, pClone);
        // The clone stands alone once the source has gone.
        pSource->InternalRelease();

        EXPECT_EQ(c.expected, Captions(pClone));
        EXPECT_TRUE(pClone->IsQuickAccessBelow());
        EXPECT_EQ(c.bMinimized, pClone->IsRibbonMinimized());
        EXPECT_EQ(c.nSelected, pClone->GetSelectedTabIndex());
        EXPECT_TRUE(OwnsItsControls(pClone));
        EXPECT_EQ(ID_R_SAVE, pClone->GetQuickAccessControl(0)->GetID());
        EXPECT_EQ(c.bSystemButton, pClone->GetSystemButton() != nullptr);
        if (c.bSystemButton) {
            EXPECT_EQ(0, pClone->GetSystemButton()->GetIndex()) << "the corner's control comes first";
            EXPECT_EQ(ID_R_SAVE, pClone->GetSystemButton()->GetID());
        }
        if (c.bCustomizable) {
            CQXPRibbonTab* pTab = pClone->GetTab(1);
            EXPECT_EQ(pClone, pTab->GetRibbonBar());
            EXPECT_EQ(pClone->GetTabControl(), pTab->GetTabManager());
            EXPECT_EQ(2, pTab->GetID());
            EXPECT_EQ(3, pTab->m_nContextColor);
            EXPECT_EQ(CString("Picture Tools"), pTab->m_strContextCaption);
            EXPECT_EQ(CString("Insert things"), pTab->m_strToolTip);
            EXPECT_FALSE(pClone->GetTab(2)->IsVisible());
            CQXPRibbonGroup* pGroup = pTab->GetGroup(0);
            EXPECT_EQ(pTab, pGroup->GetTab());
            EXPECT_EQ(200, pGroup->GetID());
            EXPECT_TRUE(pGroup->m_bShowOptionButton);
            EXPECT_EQ(ID_R_TABLE, pGroup->GetAt(1)->GetID());
            // The group's buttons as the source's.
            CQXPRibbonGroup* pFont = pClone->FindGroup(101);
            EXPECT_EQ(101, pFont->GetOptionButton()->GetID());
            EXPECT_EQ("Font settings", std::string(pFont->GetOptionButton()->GetTooltip()));
            EXPECT_EQ("FN", std::string(pFont->GetOptionButton()->m_strKeyboardTip));
            ASSERT_TRUE(pFont->GetPopupButton() != NULL);
            EXPECT_EQ(pFont, pFont->GetPopupButton()->GetGroup());
            EXPECT_EQ(77, pFont->GetPopupButton()->GetIconId());
            EXPECT_EQ("ZF", std::string(pFont->GetPopupButton()->m_strKeyboardTip));
            EXPECT_EQ("Shows the whole group", std::string(pFont->GetPopupButton()->GetDescription()));
            // Only the selected tab's controls show.
            const BOOL bInsertShown = !c.bMinimized;
            EXPECT_EQ(bInsertShown, !(pGroup->GetAt(0)->GetHideFlags() & QXP_HIDE_RIBBON_TAB));
            EXPECT_TRUE(pClone->GetTab(0)->GetGroup(0)->GetAt(0)->GetHideFlags() & QXP_HIDE_RIBBON_TAB);
            // Restoring keeps the selected tab; a minimised clone has none
            // and shows the first.
            pClone->SetRibbonMinimized(FALSE);
            EXPECT_EQ(c.bMinimized ? 0 : 1, pClone->GetSelectedTabIndex());
            // Removing a copied control from the clone's group leaves it the
            // clone's business: its controls lose it too.
            const int nControls = pClone->GetControls()->GetCount();
            pGroup->RemoveAt(0);
            EXPECT_EQ(nControls - 1, pClone->GetControls()->GetCount());
        }
        pClone->InternalRelease();
    }
}

TEST(RibbonCopy, ACustomizableRibbonsTabRowControlsComeAsCopies)
{
    // From a customizable ribbon copies of its tab-row controls take the
    // place of the bar's own; from a fixed one the bar keeps its own. The
    // other bar's maximised-document buttons stay with it, and the bar's
    // own stay with the bar.
    for (BOOL bCustomizable : {TRUE, FALSE}) {
        SCOPED_TRACE(bCustomizable ? "customizable" : "fixed");
        CQXPRibbonBar source;
        FillRibbon(&source);
        source.SetCustomizable(bCustomizable);
        CQXPControl* pFind = AddTabRowControl(&source, ID_R_FIND, "Find");
        AddTabRowControl(&source, ID_R_ZOOM, "Zoom", TRUE);
        AddTabRowControl(&source, ID_R_REPLACE, "Document", FALSE, TRUE);
        CQXPRibbonBar target;
        AddTabRowControl(&target, ID_R_GOTO, "Go To");
        AddTabRowControl(&target, ID_R_COPY, "Mine", FALSE, TRUE);
        target.Copy(&source);
        EXPECT_EQ(bCustomizable ? "Mine~ Find Zoom>|" : "Go To Mine~", TabRow(&target));
        EXPECT_EQ("Find Zoom>| Document~", TabRow(&source));
        CQXPControl* pCopy = TabRowControl(&target, "Find");
        if (bCustomizable) {
            ASSERT_TRUE(pCopy != NULL);
            EXPECT_NE(pFind, pCopy);
            EXPECT_EQ(&target, pCopy->GetParent());
            EXPECT_EQ(&source, pFind->GetParent());
        }
        EXPECT_TRUE(OwnsItsControls(&target));
    }
}

TEST(RibbonCopy, CopyingReplacesTheTabsAndLeavesOtherBarsAlone)
{
    CQXPRibbonBar source;
    FillRibbon(&source);
    source.SetCustomizable(TRUE);
    CQXPRibbonBar target;
    target.AddTab("Mine")->AddGroup("Old")->Add(qxpControlButton, ID_R_ZOOM, "Zoom");
    target.AddQuickAccessControl(qxpControlButton, ID_R_CUT);
    target.AddSystemButton();
    const int nOwnControls = CQXPRibbonBar().GetControls()->GetCount();

    // A bar that is no ribbon leaves the ribbon as it is.
    CQXPToolBar* pToolBar = new CQXPToolBar;
    pToolBar->GetControls()->Add(qxpControlButton, ID_R_FIND);
    const std::string before = Captions(&target);
    const int nBefore = target.GetControls()->GetCount();
    target.Copy(pToolBar);
    pToolBar->InternalRelease();
    EXPECT_EQ(before, Captions(&target));
    EXPECT_EQ(nBefore, target.GetControls()->GetCount());

    // A ribbon copied onto itself stays as it is.
    target.Copy(&target);
    EXPECT_EQ(before, Captions(&target));

    // The old tabs, groups, QAT commands and system button go; 12 group
    // controls, the five groups' option and popup buttons and one QAT
    // command come.
    target.Copy(&source);
    EXPECT_EQ(Captions(&source), Captions(&target));
    EXPECT_EQ(nOwnControls + 12 + 1 + 2 * 5, target.GetControls()->GetCount());
    EXPECT_EQ(nullptr, target.GetSystemButton());
    EXPECT_TRUE(OwnsItsControls(&target));
    EXPECT_EQ(0, target.GetSelectedTabIndex());
    // The source keeps its own.
    EXPECT_EQ(nOwnControls + 12 + 1 + 2 * 5, source.GetControls()->GetCount());
    EXPECT_TRUE(OwnsItsControls(&source));

    // The tab row alone: a clone of the row holds copies of the tabs.
    CQXPRibbonControlTab* pRow = DYNAMIC_DOWNCAST(CQXPRibbonControlTab, source.GetTabControl()->Clone());
    ASSERT_NE(nullptr, pRow);
    ASSERT_EQ(3, pRow->GetItemCount());
    EXPECT_EQ(CString("&View"), pRow->GetTab(2)->GetCaption());
    EXPECT_EQ(1, pRow->GetTab(2)->GetGroupCount());
    EXPECT_EQ(pRow->GetTab(0), pRow->GetSelectedTab());
    pRow->InternalRelease();
}

} // namespace
