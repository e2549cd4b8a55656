// Auto-hidden panes in a real frame window under Wine: they move to the strip
// of their side, slide out over the frame and back in. The manager's timers
// are manual here: each test ticks them itself.
#include "DockTestSupport.h"

#include <qx/panepaint.h>
#include <qx/tabpaint.h>

#include <fx/oledrop.h>

#include <algorithm>
#include <memory>

using docktest::Docking;

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

struct Frame : Docking {
    Frame() : Docking(true)
    {
        manager.m_bManualTimers = TRUE;
        SetForegroundWindow(site.m_hWnd);
    }
    CQXPDockingPane* AddPane(int id, int dir, CPaneBase* neighbour = NULL)
    {
        CQXPDockingPane* p = Create(id, dir, neighbour);
        EXPECT_NE(nullptr, p);
        char title[32];
        snprintf(title, sizeof(title), "Pane %d", id);
        p->SetTitle(title);
        HWND h = CreateWindowExA(0, "EDIT", "text", WS_CHILD | ES_MULTILINE, 0, 0, 10, 10, site.m_hWnd, NULL,
                                 GetModuleHandle(NULL), NULL);
        p->Attach(h);
        return p;
    }
    void Relayout()
    {
        site.Layout();
        Pump();
    }
    AutoHidePanel* Panel(int side) { return manager.GetLayout()->GetPanel(side); }
    CQXPDockingPaneAutoHideWnd* SlideOut(int side) { return Panel(side) ? Panel(side)->GetSlideOut() : NULL; }
    RECT RectInSite(HWND h)
    {
        RECT rc;
        GetWindowRect(h, &rc);
        MapWindowPoints(HWND_DESKTOP, site.m_hWnd, (LPPOINT)&rc, 2);
        return rc;
    }
    // Puts the cursor well away from every docking window, the focus on the
    // site itself.
    void MouseAway()
    {
        RECT rc;
        GetWindowRect(site.m_hWnd, &rc);
        SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        SetFocus(site.m_hWnd);
    }
    void MouseOver(HWND h)
    {
        RECT rc;
        GetWindowRect(h, &rc);
        SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }
    void Tick(CQXPDockingPaneAutoHideWnd* w, UINT_PTR id, int n = 1)
    {
        for (int i = 0; i < n && w; ++i)
            w->OnTimer(id);
    }
    // Runs the slide out to the end.
    void SlideFullyOut(CQXPDockingPaneAutoHideWnd* w)
    {
        while (w && w->IsTimerRunning(CQXPDockingPaneAutoHideWnd::timerSlideOut))
            w->OnTimer(CQXPDockingPaneAutoHideWnd::timerSlideOut);
    }
};

TEST(AutoHide, HiddenPaneLeavesTheFrameForTheStripOfItsSide)
{
    Frame f;
    CQXPDockingPane* p1 = f.AddPane(1, dockLeftOf);
    CQXPDockingPane* p2 = f.AddPane(2, dockBottomOf);
    f.Relayout();
    RECT rcClientBefore = f.site.m_rcClient;
    f.manager.HidePane(p1);
    f.Relayout();
    AutoHidePanel* panel = f.Panel(dockLeftOf);
    ASSERT_NE(nullptr, panel);
    ASSERT_TRUE(IsWindow(panel->GetSafeHwnd()));
    char cls[64] = "";
    GetClassNameA(panel->GetSafeHwnd(), cls, sizeof(cls));
    EXPECT_STREQ("QXPDockingPaneAutoHidePanel", cls);
    EXPECT_TRUE(IsWindowVisible(panel->GetSafeHwnd()));
    // The strip lies along the left edge, the pane's window is hidden and
    // the docked area starts after the strip.
    RECT rcStrip = f.RectInSite(panel->GetSafeHwnd());
    int t = panel->GetStripSize();
    EXPECT_GT(t, 10);
    EXPECT_EQ(0, rcStrip.left);
    EXPECT_EQ(t, rcStrip.right);
    EXPECT_FALSE(IsWindowVisible(p1->GetChild()));
    EXPECT_TRUE(IsWindowVisible(p2->GetChild()));
    EXPECT_EQ(t, f.manager.GetLayout()->GetTopContainer()->GetPaneRect().left);
    EXPECT_NE(rcClientBefore.left, f.site.m_rcClient.left);
    // One tab stands for the pane; the strip answers hit tests with it.
    ASSERT_EQ(1u, panel->GetGroupTabs().size());
    AutoHideGroupTabs* tabs = panel->GetGroupTabs()[0];
    ASSERT_EQ(1, tabs->GetItemCount());
    EXPECT_EQ(p1, tabs->GetPane(tabs->GetItem(0)));
    RECT rcTab = tabs->GetItem(0)->GetRect();
    EXPECT_FALSE(IsRectEmpty(&rcTab));
    POINT pt = {(rcTab.left + rcTab.right) / 2, (rcTab.top + rcTab.bottom) / 2};
    EXPECT_EQ(p1, panel->HitTest(pt));
    // Tabs of side strips run down the strip.
    EXPECT_GT(rcTab.bottom - rcTab.top, rcTab.right - rcTab.left);
    EXPECT_EQ(tabPositionRight, AutoHideGroupTabs::PositionOfSide(dockLeftOf));

    // Hiding the bottom pane too: a strip at the bottom, tabs across it.
    f.manager.HidePane(p2);
    f.Relayout();
    AutoHidePanel* bottom = f.Panel(dockBottomOf);
    ASSERT_NE(nullptr, bottom);
    RECT rcBottom = f.RectInSite(bottom->GetSafeHwnd());
    RECT rcSite;
    GetClientRect(f.site.m_hWnd, &rcSite);
    EXPECT_EQ(rcSite.bottom, rcBottom.bottom);
    EXPECT_EQ(bottom->GetStripSize(), rcBottom.bottom - rcBottom.top);
}

// Panes tabbed together hide into one group even one at a time (without
// the hide-whole-group option): the strip shows one group, and docked
// again they come back as one container. A pane that may not hide stays.
TEST(AutoHide, PanesTabbedTogetherHideIntoOneGroup)
{
    Frame f;
    f.manager.m_bHideGroup = FALSE;
    CQXPDockingPane* p1 = f.AddPane(1, dockLeftOf);
    CQXPDockingPane* p2 = f.AddPane(2, dockLeftOf);
    CQXPDockingPane* p3 = f.AddPane(3, dockLeftOf);
    f.manager.AttachPane(p2, p1);
    f.manager.AttachPane(p3, p1);
    p3->SetOptions(paneNoHideable);
    f.AddPane(4, dockBottomOf);
    f.Relayout();
    ASSERT_EQ("S|[S-[T{1,2,3*},C],T{4*}]", f.Tree());
    f.manager.HidePane(p1);
    f.Relayout();
    EXPECT_EQ("S|[S-[T{2,3*},C],T{4*}] A0(T{1*})", f.Tree());
    f.manager.HidePane(p2);
    f.Relayout();
    EXPECT_EQ("S|[S-[T{3*},C],T{4*}] A0(T{1*,2})", f.Tree());
    AutoHidePanel* panel = f.Panel(dockLeftOf);
    ASSERT_NE(nullptr, panel);
    ASSERT_EQ(1u, panel->GetGroupTabs().size());
    EXPECT_EQ(2, panel->GetGroupTabs()[0]->GetItemCount());
    // Not hideable: it stays docked, the group keeps its two panes.
    f.manager.HidePane(p3);
    f.Relayout();
    EXPECT_EQ("S|[S-[T{3*},C],T{4*}] A0(T{1*,2})", f.Tree());
    // Docked again, the group comes back whole.
    ASSERT_TRUE(f.manager.DockAutoHidden(p2));
    f.manager.GetLayout()->DropEmptyContainers();
    EXPECT_EQ(p1->GetContainer(), p2->GetContainer());
    EXPECT_EQ(nullptr, f.Panel(dockLeftOf) ? f.Panel(dockLeftOf)->GetFirstPane() : nullptr);
}

TEST(AutoHide, SlidesOutInStepsAndBackInAfterTheMouseLeaves)
{
    Frame f;
    CQXPDockingPane* p1 = f.AddPane(1, dockLeftOf, NULL);
    f.AddPane(2, dockRightOf);
    f.Relayout();
    f.manager.HidePane(p1);
    f.Relayout();
    f.MouseAway();
    f.site.m_actions.clear();
    int shown = f.site.m_nShowRequests;

    // Asking for the pane slides it out from the left edge, one eighth first.
    f.manager.SelectPane(p1, FALSE);
    CQXPDockingPaneAutoHideWnd* w = f.SlideOut(dockLeftOf);
    ASSERT_NE(nullptr, w);
    EXPECT_EQ(shown + 1, f.site.m_nShowRequests);
    EXPECT_EQ(std::vector<int>{12}, f.site.m_actions);
    EXPECT_EQ(8, w->GetSteps());
    EXPECT_EQ(0, w->GetStep());
    EXPECT_TRUE(w->IsTimerRunning(CQXPDockingPaneAutoHideWnd::timerSlideOut));
    EXPECT_TRUE(w->IsTimerRunning(CQXPDockingPaneAutoHideWnd::timerHoverCheck));
    RECT target = w->GetTargetRect();
    int W = target.right - target.left;
    EXPECT_EQ(200 + CQXPDockingPaneAutoHideWnd::kEdge, W); // the docked width and the edge
    RECT rc = f.RectInSite(w->GetSafeHwnd());
    EXPECT_EQ(target.left, rc.left);
    EXPECT_EQ(W / 8, rc.right - rc.left);
    EXPECT_TRUE(IsWindowVisible(w->GetSafeHwnd()));
    // The group lives in the slide-out window, the pane's edit inside it.
    HWND hContainer = p1->GetContainer()->GetPaneHwnd();
    EXPECT_EQ(w->GetSafeHwnd(), GetParent(hContainer));
    EXPECT_TRUE(IsWindowVisible(p1->GetChild()));
    // Each tick a step further; at the end the owner hears it is fully out.
    f.Tick(w, CQXPDockingPaneAutoHideWnd::timerSlideOut, 3);
    rc = f.RectInSite(w->GetSafeHwnd());
    EXPECT_EQ(W * 4 / 8, rc.right - rc.left);
    f.SlideFullyOut(w);
    EXPECT_EQ(7, w->GetStep());
    rc = f.RectInSite(w->GetSafeHwnd());
    EXPECT_EQ(W, rc.right - rc.left);
    EXPECT_EQ((std::vector<int>{12, 13}), f.site.m_actions);

    // Five hover checks away from it keep it open; the sixth starts the
    // slide in.
    f.Tick(w, CQXPDockingPaneAutoHideWnd::timerHoverCheck, 5);
    EXPECT_FALSE(w->IsCollapsing());
    f.Tick(w, CQXPDockingPaneAutoHideWnd::timerHoverCheck);
    EXPECT_TRUE(w->IsCollapsing());
    EXPECT_TRUE(w->IsTimerRunning(CQXPDockingPaneAutoHideWnd::timerSlideIn));
    EXPECT_EQ((std::vector<int>{12, 13, 10}), f.site.m_actions);
    f.Tick(w, CQXPDockingPaneAutoHideWnd::timerSlideIn, 2);
    EXPECT_EQ(5, w->GetStep());

    // The mouse coming back turns it round from the step it had reached.
    f.MouseOver(w->GetSafeHwnd());
    f.Tick(w, CQXPDockingPaneAutoHideWnd::timerHoverCheck);
    EXPECT_FALSE(w->IsCollapsing());
    EXPECT_FALSE(w->IsTimerRunning(CQXPDockingPaneAutoHideWnd::timerSlideIn));
    EXPECT_TRUE(w->IsTimerRunning(CQXPDockingPaneAutoHideWnd::timerSlideOut));
    f.Tick(w, CQXPDockingPaneAutoHideWnd::timerSlideOut);
    EXPECT_EQ(6, w->GetStep());
    f.SlideFullyOut(w);

    // Away again: six checks, then the slide in runs to its end and the
    // window goes; the group waits hidden on the site.
    f.MouseAway();
    f.Tick(w, CQXPDockingPaneAutoHideWnd::timerHoverCheck, 6);
    ASSERT_TRUE(w->IsCollapsing());
    HWND hSlide = w->GetSafeHwnd();
    f.Tick(w, CQXPDockingPaneAutoHideWnd::timerSlideIn, 8);
    EXPECT_EQ(nullptr, f.SlideOut(dockLeftOf));
    Pump();
    EXPECT_FALSE(IsWindow(hSlide));
    EXPECT_EQ(f.site.m_hWnd, GetParent(hContainer));
    EXPECT_FALSE(IsWindowVisible(hContainer));
    EXPECT_FALSE(IsWindowVisible(p1->GetChild()));
    EXPECT_TRUE(p1->IsHidden());
    EXPECT_EQ(11, f.site.m_actions.back());
}

TEST(AutoHide, FocusedWindowNeverSlidesInAndRefusalsAreKept)
{
    Frame f;
    CQXPDockingPane* p1 = f.AddPane(1, dockLeftOf);
    f.Relayout();
    f.manager.HidePane(p1);
    f.Relayout();
    f.MouseAway();

    // Refused by the owner, the pane does not slide out.
    f.site.m_nRefuseAction = 12;
    f.manager.SelectPane(p1, FALSE);
    EXPECT_EQ(nullptr, f.SlideOut(dockLeftOf));
    f.site.m_nRefuseAction = -1;

    // With the focus inside, the window stays out however long the mouse is
    // away.
    f.manager.SelectPane(p1, TRUE);
    CQXPDockingPaneAutoHideWnd* w = f.SlideOut(dockLeftOf);
    ASSERT_NE(nullptr, w);
    f.SlideFullyOut(w);
    SetFocus(p1->GetChild());
    RECT rc;
    GetWindowRect(f.site.m_hWnd, &rc);
    SetCursorPos(rc.right - 20, rc.bottom - 20);
    f.Tick(w, CQXPDockingPaneAutoHideWnd::timerHoverCheck, 20);
    EXPECT_FALSE(w->IsCollapsing());

    // A refused slide in keeps it out and counts again from six.
    f.site.m_nRefuseAction = 10;
    SetFocus(f.site.m_hWnd);
    f.Tick(w, CQXPDockingPaneAutoHideWnd::timerHoverCheck, 6);
    EXPECT_FALSE(w->IsCollapsing());
    EXPECT_EQ(6, w->GetHoverCountdown());
    EXPECT_EQ(w, f.SlideOut(dockLeftOf));
    f.site.m_nRefuseAction = -1;
}

TEST(AutoHide, ShowingAnotherPaneClosesTheOpenWindowFirst)
{
    Frame f;
    CQXPDockingPane* p1 = f.AddPane(1, dockLeftOf);
    CQXPDockingPane* p2 = f.AddPane(2, dockBottomOf);
    f.Relayout();
    f.manager.HidePane(p1);
    f.manager.HidePane(p2);
    f.Relayout();
    f.MouseAway();
    f.manager.SelectPane(p2, FALSE);
    CQXPDockingPaneAutoHideWnd* wBottom = f.SlideOut(dockBottomOf);
    ASSERT_NE(nullptr, wBottom);
    // The bottom window grows upwards from the bottom edge.
    RECT target = wBottom->GetTargetRect();
    EXPECT_EQ(f.manager.GetLayout()->GetTopContainer()->GetPaneRect().bottom, target.bottom);
    EXPECT_EQ(120 + CQXPDockingPaneAutoHideWnd::kEdge, target.bottom - target.top);
    f.site.m_actions.clear();
    f.manager.SelectPane(p1, FALSE);
    EXPECT_EQ(nullptr, f.SlideOut(dockBottomOf));
    EXPECT_NE(nullptr, f.SlideOut(dockLeftOf));
    EXPECT_EQ((std::vector<int>{10, 11, 12}), f.site.m_actions);
    Pump();
    // Hiding the shown pane again slides its window in at once.
    f.manager.HidePane(p1);
    EXPECT_EQ(nullptr, f.SlideOut(dockLeftOf));
}

TEST(AutoHide, SizeOfTheSlideOutFollowsThePaneLimits)
{
    Frame f;
    CQXPDockingPane* p1 = f.AddPane(1, dockLeftOf);
    f.Relayout();
    f.manager.HidePane(p1);
    f.Relayout();
    f.MouseAway();
    struct {
        int dockingCX, minX, maxX;
        int width;
    } cases[] = {
        {40, 100, 32000, 100 + 4}, // the minimum wins
        {300, 0, 150, 150 + 4},    // held at the maximum
        {180, 0, 32000, 180 + 4},  // the docked width
        {40, 100, 60, 100 + 4},    // minimum over maximum: the minimum
    };
    for (auto& c : cases) {
        p1->m_szDocking.cx = c.dockingCX;
        p1->m_ptMinTrackSize.x = c.minX;
        p1->m_ptMaxTrackSize.x = c.maxX;
        f.manager.SelectPane(p1, FALSE);
        CQXPDockingPaneAutoHideWnd* w = f.SlideOut(dockLeftOf);
        ASSERT_NE(nullptr, w);
        EXPECT_EQ(c.width, w->GetTargetRect().right - w->GetTargetRect().left) << c.dockingCX;
        f.manager.HidePane(p1); // closes it at once
        Pump();
    }
    p1->m_ptMinTrackSize.x = 0;
    p1->m_ptMaxTrackSize.x = 32000;
    // Applying a new extent to the edge changes the pane's docked width.
    p1->m_szDocking.cx = 200;
    f.manager.SelectPane(p1, FALSE);
    CQXPDockingPaneAutoHideWnd* w = f.SlideOut(dockLeftOf);
    ASSERT_NE(nullptr, w);
    int lo = 0, hi = 0;
    ASSERT_TRUE(w->GetResizeLimits(lo, hi));
    EXPECT_EQ(f.manager.m_nSplitterGap + 4, lo);
    w->ApplyExtent(260);
    EXPECT_EQ(256, p1->m_szDocking.cx);
    EXPECT_EQ(260, f.RectInSite(w->GetSafeHwnd()).right - f.RectInSite(w->GetSafeHwnd()).left);
    // Dragging the inner edge with the mouse, as an outline and live: the
    // edge moves as far as the mouse did, within the limits.
    for (BOOL bOutline : {TRUE, FALSE}) {
        f.manager.m_bOutlineTracking = bOutline;
        struct {
            int dx;
            int extent;
        } drags[] = {{40, 300}, {-1000, lo}, {5000, hi}};
        for (auto& d : drags) {
            w->ApplyExtent(260);
            HWND h = w->GetSafeHwnd();
            POINT grab = {258, 50};
            PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grab.x + d.dx, grab.y));
            PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(grab.x + d.dx, grab.y));
            SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
            EXPECT_EQ(d.extent, w->GetTargetRect().right - w->GetTargetRect().left) << d.dx << " " << bOutline;
            EXPECT_EQ(d.extent - 4, p1->m_szDocking.cx);
            EXPECT_EQ(nullptr, GetCapture());
        }
    }
    // Over the window the cursor is the toolkit's left-right splitter (the
    // test program carries the toolkit's resources, as the program does).
    HCURSOR hSplit = docktest::ToolkitCursorResource(QX_IDC_SPLIT_LEFTRIGHT);
    ASSERT_NE((HCURSOR)NULL, hSplit);
    HWND h = w->GetSafeHwnd();
    EXPECT_TRUE(SendMessageA(h, WM_SETCURSOR, (WPARAM)h, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(hSplit, GetCursor());
    f.manager.m_bNoResize = TRUE;
    EXPECT_FALSE(w->GetResizeLimits(lo, hi));
}

TEST(AutoHide, PinDocksTheGroupAgainAndClosedPanesLeaveTheStrip)
{
    Frame f;
    CQXPDockingPane* p1 = f.AddPane(1, dockLeftOf);
    CQXPDockingPane* p2 = f.AddPane(2, dockLeftOf);
    f.manager.AttachPane(p2, p1);
    f.manager.GetLayout()->DropEmptyContainers();
    f.Relayout();
    EXPECT_EQ("S-[T{1,2*},C]", f.Tree());
    // The whole tabbed group hides as one, with one tab per pane.
    f.manager.HidePane(p1);
    f.Relayout();
    EXPECT_EQ("S-[C] A0(T{1,2*})", f.Tree());
    AutoHidePanel* panel = f.Panel(dockLeftOf);
    ASSERT_EQ(1u, panel->GetGroupTabs().size());
    EXPECT_EQ(2, panel->GetGroupTabs()[0]->GetItemCount());

    // A click on the first tab slides pane 1 out with the focus.
    f.MouseAway();
    AutoHideGroupTabs* tabs = panel->GetGroupTabs()[0];
    RECT rcTab = tabs->GetItem(0)->GetRect();
    SendMessageA(panel->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM((rcTab.left + rcTab.right) / 2, (rcTab.top + rcTab.bottom) / 2));
    CQXPDockingPaneAutoHideWnd* w = f.SlideOut(dockLeftOf);
    ASSERT_NE(nullptr, w);
    EXPECT_EQ(p1, w->GetShownPane());
    EXPECT_EQ(p1->GetChild(), GetFocus());
    f.SlideFullyOut(w);

    // The pin in the slid-out caption docks the group on its side again.
    auto* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p1->GetContainer());
    ASSERT_NE(nullptr, t);
    UpdateWindow(t->GetSafeHwnd());
    RECT rcPin = {0, 0, 0, 0};
    for (CaptionButton* b : t->m_arrCaptionButtons)
        if (b->m_nID == QXP_IDS_DOCKINGPANE_AUTOHIDE)
            rcPin = b->m_rc;
    ASSERT_FALSE(IsRectEmpty(&rcPin));
    f.site.m_actions.clear();
    PostMessageA(t->GetSafeHwnd(), WM_LBUTTONUP, 0,
                 MAKELPARAM((rcPin.left + rcPin.right) / 2, (rcPin.top + rcPin.bottom) / 2));
    SendMessageA(t->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM((rcPin.left + rcPin.right) / 2, (rcPin.top + rcPin.bottom) / 2));
    Pump();
    f.Relayout();
    EXPECT_EQ((std::vector<int>{paneActionAttaching, paneActionAttached}), docktest::WithoutActivation(f.site.m_actions));
    EXPECT_EQ(nullptr, f.SlideOut(dockLeftOf));
    EXPECT_FALSE(p1->IsHidden());
    EXPECT_EQ(f.site.m_hWnd, GetParent(t->GetSafeHwnd()));
    EXPECT_TRUE(IsWindowVisible(t->GetSafeHwnd()));
    EXPECT_EQ(dockLeftOf, f.manager.GetPaneDirection(p1));
    EXPECT_FALSE(IsWindow(panel->GetSafeHwnd())); // an empty strip has no window

    // Hidden again and both panes closed: the strip goes.
    f.manager.HidePane(p1);
    f.Relayout();
    ASSERT_TRUE(IsWindow(f.Panel(dockLeftOf)->GetSafeHwnd()));
    f.manager.ClosePane(p1);
    f.manager.ClosePane(p2);
    f.manager.GetLayout()->DropEmptyContainers();
    f.Relayout();
    AutoHidePanel* left = f.Panel(dockLeftOf);
    EXPECT_TRUE(left == nullptr || !IsWindow(left->GetSafeHwnd()));
    EXPECT_EQ(0, f.manager.GetLayout()->GetTopContainer()->GetPaneRect().left);
}

TEST(AutoHide, HiddenLayoutSurvivesCopyAndApply)
{
    Frame f;
    CQXPDockingPane* p1 = f.AddPane(1, dockLeftOf);
    f.AddPane(2, dockBottomOf);
    f.Relayout();
    f.manager.HidePane(p1);
    f.Relayout();
    f.manager.SelectPane(p1, FALSE);
    ASSERT_NE(nullptr, f.SlideOut(dockLeftOf));
    // Copying the live layout and applying it while a window is out.
    DockingLayoutStore copy(&f.manager);
    f.manager.GetLayout(&copy);
    EXPECT_EQ(f.Tree(), docktest::Describe(&copy));
    f.manager.SetLayout(&copy);
    Pump();
    f.Relayout();
    EXPECT_EQ(docktest::Describe(&copy), f.Tree());
    AutoHidePanel* panel = f.Panel(dockLeftOf);
    ASSERT_NE(nullptr, panel);
    EXPECT_TRUE(IsWindow(panel->GetSafeHwnd()));
    EXPECT_EQ(nullptr, panel->GetSlideOut());
    // The new copy of the pane slides out as before.
    f.manager.SelectPane(f.manager.FindPane(1), FALSE);
    EXPECT_NE(nullptr, f.SlideOut(dockLeftOf));
}

TEST(AutoHide, FrameClosedWithAWindowOut)
{
    // The frame goes first, the manager after it, as when the program ends.
    std::unique_ptr<Frame> f(new Frame());
    CQXPDockingPane* p1 = f->AddPane(1, dockLeftOf);
    f->Relayout();
    f->manager.HidePane(p1);
    f->Relayout();
    f->manager.SelectPane(p1, FALSE);
    ASSERT_NE(nullptr, f->SlideOut(dockLeftOf));
    DestroyWindow(f->site.m_hWnd);
    Pump();
    EXPECT_EQ(nullptr, f->SlideOut(dockLeftOf));
    f.reset();
    SUCCEED();
}

TEST(AutoHide, ShownPaneDestroyedOrClosed)
{
    Frame f;
    CQXPDockingPane* p1 = f.AddPane(1, dockLeftOf);
    CQXPDockingPane* p2 = f.AddPane(2, dockLeftOf);
    f.manager.AttachPane(p2, p1);
    f.Relayout();
    f.manager.HidePane(p1);
    f.Relayout();
    f.MouseAway();
    // Closing the shown pane: its group stays hidden with the other pane.
    f.manager.SelectPane(p1, FALSE);
    ASSERT_NE(nullptr, f.SlideOut(dockLeftOf));
    f.manager.ClosePane(p1);
    f.Relayout();
    Pump();
    EXPECT_TRUE(p1->IsClosed());
    EXPECT_EQ("S-[C] A0(T{2*})", f.Tree());
    // Destroying the pane that is out: the window goes, nothing is left.
    f.manager.SelectPane(p2, FALSE);
    ASSERT_NE(nullptr, f.SlideOut(dockLeftOf));
    f.manager.DestroyPane(p2);
    f.manager.DestroyPane(p1);
    f.Relayout();
    Pump();
    EXPECT_EQ(nullptr, f.SlideOut(dockLeftOf));
    AutoHidePanel* panel = f.Panel(dockLeftOf);
    EXPECT_TRUE(panel == nullptr || !IsWindow(panel->GetSafeHwnd()));
    EXPECT_EQ(0, f.manager.GetLayout()->GetTopContainer()->GetPaneRect().left);
}

TEST(AutoHide, DataDraggedOverATabSlidesItsPaneOut)
{
    Frame f;
    CQXPDockingPane* p1 = f.AddPane(1, dockLeftOf);
    CQXPDockingPane* p2 = f.AddPane(2, dockLeftOf);
    f.manager.AttachPane(p2, p1);
    f.Relayout();
    f.manager.HidePane(p1);
    f.Relayout();
    f.MouseAway();
    AutoHidePanel* panel = f.Panel(dockLeftOf);
    ASSERT_NE(nullptr, panel);
    COleDropTarget* target = panel->GetDropTarget();
    ASSERT_NE(nullptr, target);
    AutoHideGroupTabs* tabs = panel->GetGroupTabs()[0];
    RECT r = tabs->GetItem(0)->GetRect();
    CPoint pt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    // Nothing is ever dropped; the pane under the data slides out.
    EXPECT_EQ((DROPEFFECT)DROPEFFECT_NONE, target->OnDragOver(panel, NULL, 0, pt));
    ASSERT_NE(nullptr, f.SlideOut(dockLeftOf));
    EXPECT_EQ(p1, f.SlideOut(dockLeftOf)->GetShownPane());
    EXPECT_NE(p1->GetChild(), GetFocus()); // without the focus
    // Off in the paint manager: nothing slides.
    f.manager.HidePane(p1);
    Pump();
    f.manager.GetPaintManager()->m_bDragSlidesOut = FALSE;
    target->OnDragOver(panel, NULL, 0, pt);
    EXPECT_EQ(nullptr, f.SlideOut(dockLeftOf));
}

// The layout of auto-hide tabs by theme: only the selected tab of a group
// shows its caption (compressed), except in themes 6 and 9, where every tab
// is as wide as its caption.
TEST(AutoHide, TabsShowTheirCaptionsByTheme)
{
    struct {
        int theme;
        bool everyCaption;
    } cases[] = {{0, false}, {1, false}, {2, false}, {5, false}, {6, true}, {9, true}, {10, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "theme " << c.theme);
        Frame f;
        CQXPDockingPane* p1 = f.AddPane(1, dockBottomOf);
        CQXPDockingPane* p2 = f.AddPane(2, dockRightOf);
        p1->SetTitle("Output Window");
        p2->SetTitle("Find Results");
        f.manager.AttachPane(p2, p1);
        f.manager.GetLayout()->DropEmptyContainers();
        f.manager.SetTheme(c.theme);
        f.manager.HidePane(p1);
        f.Relayout();
        AutoHidePanel* panel = f.Panel(dockBottomOf);
        ASSERT_TRUE(panel && panel->GetGroupTabs().size() == 1);
        AutoHideGroupTabs* tabs = panel->GetGroupTabs()[0];
        ASSERT_EQ(2, tabs->GetItemCount());
        CQXPTabPainter* painter = f.manager.GetPaintManager()->GetPanelTabPainter();
        int captioned = 0;
        for (int i = 0; i < 2; ++i) {
            const RECT& r = tabs->GetItem(i)->GetRect();
            if (r.right - r.left >= docktest::CaptionWidth(painter, tabs->GetItem(i)->GetCaption()))
                ++captioned;
        }
        EXPECT_EQ(c.everyCaption ? 2 : 1, captioned);
    }
}

} // namespace
