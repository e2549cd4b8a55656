// Panes in a real frame window under Wine: they show, hide, activate and
// share a place as tabs; splitter bars sit between neighbours.
#include "DockTestSupport.h"

#include <qx/colors.h>
#include <qx/panepaint.h>
#include <qx/tabpaint.h>

#include <map>
#include <thread>

using docktest::Docking;
using docktest::ToolkitCursorResource;

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

struct Frame : docktest::EditPaneFrame {
    // Panes 1 and 2 as two tabs of one container (pane 2 added last).
    CQXPDockingPaneTabbedContainer* TwoPanesAsTabs()
    {
        AddPane(1, dockLeftOf);
        AddPane(2, dockRightOf);
        CQXPDockingPane* p1 = manager.FindPane(1);
        manager.AttachPane(manager.FindPane(2), p1);
        manager.GetLayout()->DropEmptyContainers();
        return dynamic_cast<CQXPDockingPaneTabbedContainer*>(p1->GetContainer());
    }
    int CountChildren(const char* cls)
    {
        int n = 0;
        for (HWND h = GetWindow(site.m_hWnd, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            char name[64] = "";
            GetClassNameA(h, name, sizeof(name));
            if (strcmp(name, cls) == 0)
                ++n;
        }
        return n;
    }
};

TEST(DockingWindows, PanesShowInTheirContainers)
{
    Frame f;
    HWND e1 = f.AddPane(1, dockLeftOf);
    HWND e2 = f.AddPane(2, dockRightOf);
    f.Relayout();
    CQXPDockingPane* p1 = f.manager.FindPane(1);
    auto* t1 = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p1->GetContainer());
    ASSERT_NE(nullptr, t1);
    ASSERT_TRUE(IsWindow(t1->GetSafeHwnd()));
    EXPECT_EQ(f.site.m_hWnd, GetParent(t1->GetSafeHwnd()));
    EXPECT_EQ(t1->GetSafeHwnd(), GetParent(e1));
    EXPECT_TRUE(IsWindowVisible(e1));
    EXPECT_TRUE(IsWindowVisible(e2));
    // The edit fills the container below its caption.
    RECT rcEdit = f.RectIn(e1, t1->GetSafeHwnd());
    RECT rcArea = t1->GetClientArea();
    EXPECT_TRUE(EqualRect(&rcArea, &rcEdit));
    EXPECT_GT(rcEdit.top, 0); // the caption is above it
    // The container window is where the layout put it.
    RECT rcT = f.RectIn(t1->GetSafeHwnd(), f.site.m_hWnd);
    EXPECT_TRUE(EqualRect(&t1->GetPaneRect(), &rcT));
    // One bar between the left pane and the client, one between the client
    // and the right pane.
    EXPECT_EQ(2, f.CountChildren("QXPDockingPaneSplitter"));
    EXPECT_EQ(2, f.CountChildren("QXPDockingPaneTabbedContainer"));
}

// A change of a container's children pairs its bars anew: a bar window is
// made only where one is missing and destroyed only when left over.
TEST(DockingWindows, SplitterBarsAreKeptAndPairedAgain)
{
    Frame f;
    f.AddPane(1, dockLeftOf);
    f.Relayout();
    CPaneSplitterContainer* pTop = f.manager.GetLayout()->GetTopContainer();
    ASSERT_NE(nullptr, pTop);
    auto expectPaired = [&](size_t nBars) {
        PaneObjectList children = pTop->GetVisibleChildren();
        ASSERT_EQ(nBars + 1, children.size());
        ASSERT_EQ(nBars, pTop->GetSplitters().size());
        for (size_t i = 0; i < nBars; ++i) {
            const CDockingSplitterWnd* pBar = pTop->GetSplitters()[i];
            EXPECT_TRUE(IsWindow(pBar->GetSafeHwnd())) << i;
            EXPECT_EQ(children[i], pBar->m_pFirst) << i;
            EXPECT_EQ(children[i + 1], pBar->m_pSecond) << i;
        }
    };
    expectPaired(1);
    const HWND hFirst = pTop->GetSplitters()[0]->GetSafeHwnd();

    f.AddPane(2, dockRightOf);
    f.Relayout();
    expectPaired(2);
    EXPECT_EQ(hFirst, pTop->GetSplitters()[0]->GetSafeHwnd()) << "the bar that was there stays";

    f.manager.ClosePane(f.manager.FindPane(1));
    f.Relayout();
    expectPaired(1);
    EXPECT_EQ(hFirst, pTop->GetSplitters()[0]->GetSafeHwnd()) << "it now lies between the client and pane 2";
}

// A pane places its window at a rectangle of any container window: mapped
// to the window that hosts it, recorded unless asked not to, enabled by the
// pane's enabled flags.
TEST(DockingWindows, APanePlacesItsWindowAtARectangleOfAContainerWindow)
{
    Frame f;
    HWND e1 = f.AddPane(1, dockLeftOf);
    f.Relayout();
    CQXPDockingPane* p1 = f.manager.FindPane(1);
    auto* t1 = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p1->GetContainer());
    ASSERT_NE(nullptr, t1);
    const HWND hHost = t1->GetSafeHwnd();
    const RECT rcArea = t1->GetClientArea();
    RECT rcInSite = rcArea;
    MapWindowPoints(hHost, f.site.m_hWnd, (LPPOINT)&rcInSite, 2);
    const RECT rcInner = {rcArea.left + 4, rcArea.top + 4, rcArea.right - 4, rcArea.bottom - 4};
    struct Case {
        const char* name;
        HWND hContainer;
        RECT rect;
        BOOL bRecord;
        DWORD dwEnabled;
        RECT expectedInHost;
    } cases[] = {{"site coordinates, recorded", f.site.m_hWnd, rcInSite, TRUE, 3, rcArea},
                 {"host coordinates, not recorded, disabled", hHost, rcInner, FALSE, 2, rcInner},
                 {"enabled again", hHost, rcArea, TRUE, 3, rcArea}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RECT rcBefore = p1->GetPaneRect();
        p1->SetEnabled(c.dwEnabled);
        p1->SetWindowRect(c.hContainer, c.rect, c.bRecord);
        RECT rcChild = f.RectIn(e1, hHost);
        EXPECT_TRUE(EqualRect(&c.expectedInHost, &rcChild));
        const RECT& rcRecorded = c.bRecord ? c.rect : rcBefore;
        EXPECT_TRUE(EqualRect(&rcRecorded, &p1->GetPaneRect()));
        EXPECT_EQ(c.dwEnabled & 1, (DWORD)IsWindowEnabled(e1));
    }
}

TEST(DockingWindows, PanesShareAPlaceAsTabs)
{
    Frame f;
    HWND e1 = f.AddPane(1, dockLeftOf);
    HWND e2 = f.AddPane(2, dockRightOf);
    CQXPDockingPane* p1 = f.manager.FindPane(1);
    CQXPDockingPane* p2 = f.manager.FindPane(2);
    f.manager.AttachPane(p2, p1);
    f.manager.GetLayout()->DropEmptyContainers();
    f.Relayout();
    auto* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p1->GetContainer());
    ASSERT_NE(nullptr, t);
    EXPECT_EQ(t, p2->GetContainer());
    EXPECT_EQ(t->GetSafeHwnd(), GetParent(e2));
    EXPECT_TRUE(t->IsTabsVisible());
    EXPECT_EQ(p2, t->GetSelected());
    EXPECT_TRUE(IsWindowVisible(e2));
    EXPECT_FALSE(IsWindowVisible(e1));
    EXPECT_EQ(0, f.CountChildren("QXPDockingPaneSplitter") - 1); // only beside the client

    // A click on the first tab brings pane 1 to the front.
    ASSERT_EQ(2u, t->GetTabRects().size());
    RECT tab = t->GetTabRects()[0];
    POINT pt = {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2};
    EXPECT_EQ(0, t->HitTest(pt));
    SendMessageA(t->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    SendMessageA(t->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    f.Relayout();
    EXPECT_EQ(p1, t->GetSelected());
    EXPECT_TRUE(IsWindowVisible(e1));
    EXPECT_FALSE(IsWindowVisible(e2));

    // Dragging the first tab over the second reorders the panes.
    RECT tab2 = t->GetTabRects()[1];
    SendMessageA(t->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    SendMessageA(t->GetSafeHwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(tab2.left + 3, pt.y));
    SendMessageA(t->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(tab2.left + 3, pt.y));
    EXPECT_EQ(p2, t->GetFirstPane());
    EXPECT_EQ(p1, t->GetLastPane());
}

TEST(DockingWindows, ClosingHidesAndSelectingShowsAgain)
{
    Frame f;
    HWND e1 = f.AddPane(1, dockLeftOf);
    f.Relayout();
    CQXPDockingPane* p1 = f.manager.FindPane(1);
    HWND hContainer = p1->GetContainer()->GetPaneHwnd();
    f.manager.ClosePane(p1);
    f.Relayout();
    EXPECT_TRUE(p1->IsClosed());
    EXPECT_FALSE(IsWindowVisible(e1));
    EXPECT_TRUE(IsWindow(e1)); // the application's window lives on
    EXPECT_FALSE(IsWindow(hContainer));
    // The client takes the whole frame.
    RECT rcClient;
    GetClientRect(f.site.m_hWnd, &rcClient);
    EXPECT_TRUE(EqualRect(&rcClient, &f.site.m_rcClient));

    int shown = f.site.m_nShowRequests;
    f.manager.SelectPane(p1, TRUE);
    f.Relayout();
    EXPECT_FALSE(p1->IsClosed());
    EXPECT_TRUE(IsWindowVisible(e1));
    EXPECT_EQ(shown + 1, f.site.m_nShowRequests);
}

TEST(DockingWindows, FocusMakesThePaneActive)
{
    Frame f;
    HWND e1 = f.AddPane(1, dockLeftOf);
    HWND e2 = f.AddPane(2, dockRightOf);
    f.Relayout();
    SetForegroundWindow(f.site.m_hWnd);
    SetFocus(e1);
    f.manager.UpdateFocus();
    EXPECT_EQ(f.manager.FindPane(1), f.manager.GetActivePane());
    auto* t1 = dynamic_cast<CQXPDockingPaneTabbedContainer*>(f.manager.FindPane(1)->GetContainer());
    EXPECT_TRUE(t1->IsActive());
    f.site.m_actions.clear();
    SetFocus(e2);
    SendMessageA(f.manager.GetSafeHwnd(), WM_IDLEUPDATECMDUI, 0, 0);
    EXPECT_EQ(f.manager.FindPane(2), f.manager.GetActivePane());
    EXPECT_FALSE(t1->IsActive());
    std::vector<int> expected = {paneActionDeactivated, paneActionActivated};
    EXPECT_EQ(expected, f.site.m_actions);
}

// The caption colours of the classic Windows 2000 scheme: light grey text
// on the grey of an inactive caption.
COLORREF AFXAPI ClassicSchemeColor(int nIndex)
{
    switch (nIndex) {
    case COLOR_ACTIVECAPTION: return RGB(10, 36, 106);
    case COLOR_GRADIENTACTIVECAPTION: return RGB(166, 202, 240);
    case COLOR_CAPTIONTEXT: return RGB(255, 255, 255);
    case COLOR_INACTIVECAPTION: return RGB(128, 128, 128);
    case COLOR_GRADIENTINACTIVECAPTION: return RGB(192, 192, 192);
    case COLOR_INACTIVECAPTIONTEXT: return RGB(212, 208, 200);
    default: return ::GetSysColor(nIndex);
    }
}

struct CaptionLook {
    COLORREF text = 0, back = 0;
    int pixels = 0; // text pixels found
};

// The caption's text colour and the colour under it: a container drawn with
// and without its title; the pixels that differ are the text.
CaptionLook LookOfCaption(CQXPDockingPaneTabbedContainer* t, CQXPDockingPane* p)
{
    RECT rc;
    GetClientRect(t->GetSafeHwnd(), &rc);
    rc.bottom = std::min<LONG>(rc.bottom, 40);
    auto render = [&](const char* title) {
        p->SetTitle(title);
        HDC hScreen = GetDC(NULL);
        HDC hdc = CreateCompatibleDC(hScreen);
        HBITMAP hbm = CreateCompatibleBitmap(hScreen, rc.right, rc.bottom);
        HGDIOBJ old = SelectObject(hdc, hbm);
        t->GetDockingPaneManager()->GetPaintManager()->DrawPane(hdc, t, rc);
        std::vector<COLORREF> px;
        for (int y = 0; y < rc.bottom; ++y)
            for (int x = 0; x < rc.right; ++x)
                px.push_back(GetPixel(hdc, x, y));
        SelectObject(hdc, old);
        DeleteObject(hbm);
        DeleteDC(hdc);
        ReleaseDC(NULL, hScreen);
        return px;
    };
    std::vector<COLORREF> with = render("Wide Caption Text"), without = render("");
    std::map<std::pair<COLORREF, COLORREF>, int> pairs;
    for (size_t i = 0; i < with.size(); ++i)
        if (with[i] != without[i])
            ++pairs[std::make_pair(with[i], without[i])];
    CaptionLook look;
    for (const auto& e : pairs) {
        look.pixels += e.second;
        if (e.second > pairs[std::make_pair(look.text, look.back)]) {
            look.text = e.first.first;
            look.back = e.first.second;
        }
    }
    return look;
}

// Pane captions can be read in every theme, active and inactive, also with
// a system scheme that pairs grey text with a grey caption.
TEST(DockingWindows, CaptionTextStandsOutInEveryTheme)
{
    Frame f;
    HWND e1 = f.AddPane(1, dockLeftOf);
    f.AddPane(2, dockRightOf);
    f.Relayout();
    SetForegroundWindow(f.site.m_hWnd);
    SetFocus(e1);
    f.manager.UpdateFocus();
    CQXPDockingPane* p1 = f.manager.FindPane(1);
    CQXPDockingPane* p2 = f.manager.FindPane(2);
    auto* active = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p1->GetContainer());
    auto* inactive = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p2->GetContainer());
    ASSERT_TRUE(active && inactive);
    ASSERT_TRUE(active->IsActive());
    ASSERT_FALSE(inactive->IsActive());

    for (bool classic : {false, true}) {
        ToolkitColorManager::Instance()->SetSystemColorQuery(classic ? &ClassicSchemeColor : NULL);
        ToolkitColorManager::Refresh();
        for (int theme = 0; theme <= 10; ++theme) {
            f.manager.SetTheme(theme);
            for (bool bActive : {true, false}) {
                CaptionLook look = bActive ? LookOfCaption(active, p1) : LookOfCaption(inactive, p2);
                std::string what = std::string(classic ? "classic scheme" : "system scheme") + ", theme " +
                                   std::to_string(theme) + (bActive ? ", active" : ", inactive");
                EXPECT_GT(look.pixels, 20) << what;
                EXPECT_GE(ContrastRatio(look.text, look.back), 4.5)
                    << what << ": text " << std::hex << look.text << " on " << look.back;
                if (theme == 0 && classic) // the caption keeps the scheme's colour
                    EXPECT_EQ(bActive ? RGB(10, 36, 106) : RGB(128, 128, 128), look.back) << what;
            }
        }
    }
    ToolkitColorManager::Instance()->SetSystemColorQuery(NULL);
    ToolkitColorManager::Refresh();
}

TEST(DockingWindows, CloseButtonClosesTheSelectedPane)
{
    Frame f;
    HWND e1 = f.AddPane(1, dockLeftOf);
    f.Relayout();
    CQXPDockingPane* p1 = f.manager.FindPane(1);
    auto* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p1->GetContainer());
    UpdateWindow(t->GetSafeHwnd()); // paint: places the caption buttons
    RECT rcButton = {0, 0, 0, 0};
    for (CaptionButton* b : t->m_arrCaptionButtons)
        if (b->m_nID == QXP_IDS_DOCKINGPANE_CLOSE)
            rcButton = b->m_rc;
    ASSERT_FALSE(IsRectEmpty(&rcButton));
    POINT pt = {(rcButton.left + rcButton.right) / 2, (rcButton.top + rcButton.bottom) / 2};
    f.site.m_actions.clear();
    // Pressed and released over the button (the release waits in the queue
    // for the press's tracking).
    PostMessageA(t->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    SendMessageA(t->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    Pump();
    EXPECT_TRUE(p1->IsClosed());
    EXPECT_FALSE(IsWindowVisible(e1));
    std::vector<int> expected = {paneActionClosing, paneActionClosed};
    EXPECT_EQ(expected, docktest::WithoutActivation(f.site.m_actions));
}

// What each caption button does once pressed and released over it, by the
// manager's options and the owner's answers.
TEST(DockingWindows, CaptionButtonActions)
{
    struct Case {
        const char* name;
        int nButton;
        BOOL bCloseGroup;     // the manager's close-whole-group option
        DWORD dwFirstOptions; // options of pane 1 (pane 2 is selected)
        int nRefuse;          // action code the owner refuses
        std::vector<int> actions;
        bool bClosed1, bClosed2, bHidden;
    } cases[] = {
        {"close: the selected pane", QXP_IDS_DOCKINGPANE_CLOSE, FALSE, 0, -1, {paneActionClosing, paneActionClosed}, false, true, false},
        {"close: the whole group", QXP_IDS_DOCKINGPANE_CLOSE, TRUE, 0, -1, {paneActionClosing, paneActionClosed, paneActionClosing, paneActionClosed}, true, true, false},
        {"close: the group but a pane that may not close", QXP_IDS_DOCKINGPANE_CLOSE, TRUE, paneNoCloseable, -1, {paneActionClosing, paneActionClosed}, false, true, false},
        {"close refused", QXP_IDS_DOCKINGPANE_CLOSE, FALSE, 0, paneActionClosing, {paneActionClosing}, false, false, false},
        {"pin: hides the group", QXP_IDS_DOCKINGPANE_AUTOHIDE, FALSE, 0, -1, {paneActionHiding, paneActionHidden}, false, false, true},
        {"pin refused", QXP_IDS_DOCKINGPANE_AUTOHIDE, FALSE, 0, paneActionHiding, {paneActionHiding}, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Frame f;
        auto* t = f.TwoPanesAsTabs();
        ASSERT_NE(nullptr, t);
        CQXPDockingPane* p1 = f.manager.FindPane(1);
        CQXPDockingPane* p2 = f.manager.FindPane(2);
        f.manager.m_bCloseGroupOnButtonClick = c.bCloseGroup;
        p1->SetOptions(c.dwFirstOptions);
        f.Relayout();
        t->SelectPane(p2, FALSE, FALSE);
        UpdateWindow(t->GetSafeHwnd());
        RECT rc = {0, 0, 0, 0};
        for (CaptionButton* b : t->m_arrCaptionButtons)
            if (b->m_nID == c.nButton)
                rc = b->m_rc;
        ASSERT_FALSE(IsRectEmpty(&rc));
        const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        f.site.m_actions.clear();
        f.site.m_nRefuseAction = c.nRefuse;
        PostMessageA(t->GetSafeHwnd(), WM_LBUTTONUP, 0, at);
        SendMessageA(t->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        Pump();
        EXPECT_EQ(c.actions, docktest::WithoutActivation(f.site.m_actions));
        EXPECT_EQ(c.bClosed1, p1->IsClosed() != FALSE);
        EXPECT_EQ(c.bClosed2, p2->IsClosed() != FALSE);
        EXPECT_EQ(c.bHidden, p2->IsHidden() != FALSE);
        EXPECT_EQ(nullptr, GetCapture());
    }
}

// The Menu button asks the owner for its menu under the button, with the
// button pressed meanwhile; it needs no release.
TEST(DockingWindows, MenuButtonAsksTheOwnerForItsMenu)
{
    Frame f;
    f.AddPane(1, dockLeftOf);
    CQXPDockingPane* p1 = f.manager.FindPane(1);
    p1->SetOptions(paneHasMenuButton);
    f.Relayout();
    auto* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p1->GetContainer());
    UpdateWindow(t->GetSafeHwnd());
    CaptionButton* menu = NULL;
    for (CaptionButton* b : t->m_arrCaptionButtons)
        if (b->m_nID == QXP_IDS_DOCKINGPANE_MENU)
            menu = b;
    ASSERT_NE(nullptr, menu);
    ASSERT_FALSE(IsRectEmpty(&menu->m_rc));
    POINT corner = {menu->m_rc.left, menu->m_rc.bottom};
    ClientToScreen(t->GetSafeHwnd(), &corner);
    SendMessageA(t->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM((menu->m_rc.left + menu->m_rc.right) / 2, (menu->m_rc.top + menu->m_rc.bottom) / 2));
    ASSERT_EQ(1u, f.site.m_menuRequests.size());
    EXPECT_EQ(p1, f.site.m_menuRequests[0].pPane);
    EXPECT_EQ(corner.x, f.site.m_menuRequests[0].ptScreen.x);
    EXPECT_EQ(corner.y, f.site.m_menuRequests[0].ptScreen.y);
    EXPECT_FALSE(menu->m_bPressed);
    EXPECT_FALSE(p1->IsClosed());
}

// A client margin frames the docking area with four thin windows in the
// face colour; without a margin they go.
TEST(DockingWindows, ClientMarginWindowsFrameTheDockingArea)
{
    Frame f;
    f.AddPane(1, dockLeftOf);
    f.manager.m_nClientMargin = 6;
    f.Relayout();
    DockingLayoutStore* layout = f.manager.GetLayout();
    RECT rc;
    GetClientRect(f.site.m_hWnd, &rc);
    const int m = 6;
    const RECT expected[4] = {{rc.left, rc.top, rc.left + m, rc.bottom},
                              {rc.right - m, rc.top, rc.right, rc.bottom},
                              {rc.left + m, rc.top, rc.right - m, rc.top + m},
                              {rc.left + m, rc.bottom - m, rc.right - m, rc.bottom}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        DockingMarginWnd* w = layout->GetMarginWindow(i);
        ASSERT_NE(nullptr, w);
        EXPECT_EQ(i >= 2, w->m_bHorizontal != FALSE);
        RECT r = f.RectIn(w->GetSafeHwnd(), f.site.m_hWnd);
        EXPECT_TRUE(EqualRect(&expected[i], &r))
            << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        UpdateWindow(w->GetSafeHwnd());
        HDC hdc = GetDC(w->GetSafeHwnd());
        EXPECT_EQ(f.manager.GetPaintManager()->m_clrFace, GetPixel(hdc, 1, 1));
        ReleaseDC(w->GetSafeHwnd(), hdc);
    }
    // The panes keep clear of the margin.
    CQXPDockingPane* p1 = f.manager.FindPane(1);
    RECT rcPane = f.RectIn(p1->GetContainer()->GetPaneHwnd(), f.site.m_hWnd);
    EXPECT_GE(rcPane.left, m);
    EXPECT_GE(rcPane.top, m);
    const int nWindows = f.CountChildren("QXPDockingPaneSplitter");
    // Without a margin the windows go.
    f.manager.m_nClientMargin = 0;
    f.Relayout();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(nullptr, layout->GetMarginWindow(i));
    EXPECT_EQ(nWindows - 4, f.CountChildren("QXPDockingPaneSplitter"));
}

// The right button on a tab selects its pane and tells the owner which
// container was clicked; help, tooltips and accessibility name what is where.
TEST(DockingWindows, RightClickHelpTooltipsAndAccessibilityOfATabbedContainer)
{
    Frame f;
    auto* t = f.TwoPanesAsTabs();
    ASSERT_NE(nullptr, t);
    CQXPDockingPane* p1 = f.manager.FindPane(1);
    CQXPDockingPane* p2 = f.manager.FindPane(2);
    p2->m_nHelpID = 700;
    f.Relayout();
    t->SelectPane(p2, FALSE, FALSE);
    f.Relayout();
    ASSERT_EQ(2u, t->GetTabRects().size());
    RECT tab0 = t->GetTabRects()[0], tab1 = t->GetTabRects()[1];
    const LPARAM on0 = MAKELPARAM((tab0.left + tab0.right) / 2, (tab0.top + tab0.bottom) / 2);
    const LPARAM on1 = MAKELPARAM((tab1.left + tab1.right) / 2, (tab1.top + tab1.bottom) / 2);
    // Help: the pane's help id, else its id, with 0x20000 added.
    EXPECT_EQ(0x20000 + 1, SendMessageA(t->GetSafeHwnd(), WM_HELPHITTEST, 0, on0));
    EXPECT_EQ(0x20000 + 700, SendMessageA(t->GetSafeHwnd(), WM_HELPHITTEST, 0, on1));
    // Off the tabs: the selected pane.
    EXPECT_EQ(0x20000 + 700, SendMessageA(t->GetSafeHwnd(), WM_HELPHITTEST, 0, MAKELPARAM(5, 40)));
    // Tooltips: a caption button's string, a tab's title.
    p1->SetTitle("First");
    f.manager.GetPaintManager()->GetTabPainter()->m_nToolTipMode = 1;
    t->UpdateTabs();
    UpdateWindow(t->GetSafeHwnd());
    auto tip = [&](POINT pt) {
        TOOLINFOA ti = {};
        ti.cbSize = sizeof(ti);
        std::string text;
        if (t->OnToolHitTest(CPoint(pt), &ti) >= 0 && ti.lpszText && ti.lpszText != LPSTR_TEXTCALLBACKA) {
            text = ti.lpszText;
            free(ti.lpszText);
        }
        return text;
    };
    for (CaptionButton* b : t->m_arrCaptionButtons)
        if (b->m_nID == QXP_IDS_DOCKINGPANE_CLOSE) {
            POINT onClose = {(b->m_rc.left + b->m_rc.right) / 2, (b->m_rc.top + b->m_rc.bottom) / 2};
            EXPECT_EQ("Close", tip(onClose));
        }
    EXPECT_EQ("First", tip(POINT{(tab0.left + tab0.right) / 2, (tab0.top + tab0.bottom) / 2}));
    // Accessibility: a page tab list whose children are the selected pane's
    // window and then the panes of the tabs.
    EXPECT_NE(0, SendMessageA(t->GetSafeHwnd(), WM_GETOBJECT, 0, (LPARAM)OBJID_CLIENT));
    IAccessible* acc = t->GetAccessible();
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = NULL;
    ASSERT_EQ(S_OK, acc->get_accName(self, &name));
    EXPECT_STREQ(L"QXPDockingPaneTabbedContainer", name);
    SysFreeString(name);
    VARIANT role;
    ASSERT_EQ(S_OK, acc->get_accRole(self, &role));
    EXPECT_EQ(ROLE_SYSTEM_PAGETABLIST, role.lVal);
    long count = 0;
    ASSERT_EQ(S_OK, acc->get_accChildCount(&count));
    EXPECT_EQ(3, count);
    VARIANT second;
    second.vt = VT_I4;
    second.lVal = 2;
    IDispatch* child = NULL;
    ASSERT_EQ(S_OK, acc->get_accChild(second, &child));
    EXPECT_EQ(static_cast<IDispatch*>(p1->GetAccessible()), child);
    child->Release();
    POINT ptTab0 = {(tab0.left + tab0.right) / 2, (tab0.top + tab0.bottom) / 2};
    ClientToScreen(t->GetSafeHwnd(), &ptTab0);
    VARIANT hit;
    ASSERT_EQ(S_OK, acc->accHitTest(ptTab0.x, ptTab0.y, &hit));
    ASSERT_EQ(VT_DISPATCH, hit.vt);
    EXPECT_EQ(static_cast<IDispatch*>(p1->GetAccessible()), hit.pdispVal);
    hit.pdispVal->Release();
    // The right button on the first tab.
    SendMessageA(t->GetSafeHwnd(), WM_RBUTTONDOWN, MK_RBUTTON, on0);
    Pump();
    EXPECT_EQ(p1, t->GetSelected());
    ASSERT_EQ(1u, f.site.m_containerClicks.size());
    EXPECT_EQ(static_cast<CPaneBase*>(t), f.site.m_containerClicks[0]);
}

TEST(DockingWindows, SplitterDragLimitsAndLiveLayoutFromALoadedLayout)
{
    Frame f;
    f.AddPane(1, dockLeftOf);
    f.Relayout();
    // Resizing the frame keeps the pane's width; the client takes the rest.
    CQXPDockingPane* p1 = f.manager.FindPane(1);
    int w = p1->GetContainer()->GetPaneRect().right;
    SetWindowPos(f.site.m_hWnd, NULL, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    EXPECT_EQ(w, p1->GetContainer()->GetPaneRect().right);
    // Layout copies made for saving have no windows of their own.
    int before = f.CountChildren("QXPDockingPaneTabbedContainer");
    {
        DockingLayoutStore copy(&f.manager);
        f.manager.GetLayout(&copy);
        EXPECT_EQ(before, f.CountChildren("QXPDockingPaneTabbedContainer"));
        f.manager.SetLayout(&copy);
    }
    f.Relayout();
    EXPECT_EQ(before, f.CountChildren("QXPDockingPaneTabbedContainer"));
    EXPECT_EQ(1, f.CountChildren("QXPDockingPaneSplitter"));
}

} // namespace

namespace {

TEST(DockingWindows, PaneClosedDuringATabDragIsNotUsed)
{
    Frame f;
    f.AddPane(1, dockLeftOf);
    f.AddPane(2, dockRightOf);
    CQXPDockingPane* p1 = f.manager.FindPane(1);
    CQXPDockingPane* p2 = f.manager.FindPane(2);
    f.AddPane(3, dockRightOf);
    CQXPDockingPane* p3 = f.manager.FindPane(3);
    f.manager.AttachPane(p2, p1);
    f.manager.AttachPane(p3, p1);
    f.Relayout();
    auto* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p1->GetContainer());
    ASSERT_NE(nullptr, t);
    ASSERT_EQ(3u, t->GetTabRects().size());
    RECT tab0 = t->GetTabRects()[0], tab2 = t->GetTabRects()[2];
    HWND hWnd = t->GetSafeHwnd();
    SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab0.left + 3, tab0.top + 3));
    EXPECT_EQ(hWnd, GetCapture());
    f.manager.ClosePane(p1); // the dragged pane leaves while the drag runs
    EXPECT_NE(hWnd, GetCapture());
    SendMessageA(hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(tab2.left + 3, tab2.top + 3));
    SendMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(tab2.left + 3, tab2.top + 3));
    EXPECT_EQ(p2, t->GetFirstPane());
    EXPECT_EQ(p3, t->GetLastPane());
    EXPECT_TRUE(p1->IsClosed());
}

} // namespace

namespace {

HWND FindChildOfClass(HWND parent, const char* cls)
{
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        char name[64] = "";
        GetClassNameA(h, name, sizeof(name));
        if (strcmp(name, cls) == 0)
            return h;
    }
    return NULL;
}

TEST(DockingWindows, DraggingTheSplitterResizesWithinItsLimits)
{
    Frame f;
    f.AddPane(1, dockLeftOf);
    f.Relayout();
    CPaneBase* t1 = f.manager.FindPane(1)->GetContainer();
    HWND hBar = FindChildOfClass(f.site.m_hWnd, "QXPDockingPaneSplitter");
    ASSERT_NE((HWND)NULL, hBar);
    RECT bar = f.RectIn(hBar, f.site.m_hWnd);
    EXPECT_EQ(t1->GetPaneRect().right, bar.left);

    struct {
        int target;   // bar position asked for (site x)
        int expected; // pane width reached
    } cases[] = {{300, 300}, {5, 22}, {2000, 0}};
    RECT client;
    GetClientRect(f.site.m_hWnd, &client);
    cases[2].expected = client.right - 64; // the client keeps its minimum
    // Dragged as an outline (the default) and live.
    for (BOOL bTracking : {TRUE, FALSE})
        for (auto& c : cases) {
            f.manager.m_bSplitterTracking = bTracking;
            bar = f.RectIn(hBar, f.site.m_hWnd);
            POINT grab = {bar.left + 1, (bar.top + bar.bottom) / 2};
            POINT to = {c.target + 1, grab.y};
            POINT inBar = {1, grab.y - bar.top};
            PostMessageA(hBar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x - bar.left, inBar.y));
            PostMessageA(hBar, WM_LBUTTONUP, 0, MAKELPARAM(to.x - bar.left, inBar.y));
            SendMessageA(hBar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inBar.x, inBar.y));
            f.Relayout();
            EXPECT_EQ(c.expected, t1->GetPaneRect().right - t1->GetPaneRect().left) << c.target << " " << bTracking;
            EXPECT_EQ(nullptr, GetCapture());
        }
}

TEST(DockingWindows, SplittersShowTheToolkitsCursors)
{
    struct {
        int dir;
        UINT cursor; // the toolkit's splitter cursor for that bar
    } cases[] = {{dockLeftOf, QX_IDC_SPLIT_LEFTRIGHT}, {dockTopOf, QX_IDC_SPLIT_UPDOWN}};
    for (auto& c : cases) {
        Frame f;
        f.AddPane(1, c.dir);
        f.Relayout();
        HWND hBar = FindChildOfClass(f.site.m_hWnd, "QXPDockingPaneSplitter");
        ASSERT_NE((HWND)NULL, hBar);
        ASSERT_NE((HCURSOR)NULL, ToolkitCursorResource(c.cursor)) << c.cursor;
        SetCursor(LoadCursor(NULL, IDC_ARROW));
        EXPECT_TRUE(SendMessageA(hBar, WM_SETCURSOR, (WPARAM)hBar, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(ToolkitCursorResource(c.cursor), GetCursor()) << c.dir;
        // Locked splitters keep the cursor they find.
        f.manager.m_bLockSplitters = TRUE;
        SetCursor(LoadCursor(NULL, IDC_ARROW));
        SendMessageA(hBar, WM_SETCURSOR, (WPARAM)hBar, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_NE(ToolkitCursorResource(c.cursor), GetCursor()) << c.dir;
    }
}

TEST(DockingWindows, CaptionButtonsLightUpUnderTheMouse)
{
    Frame f;
    f.AddPane(1, dockLeftOf);
    f.Relayout();
    CQXPDockingPane* p1 = f.manager.FindPane(1);
    auto* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p1->GetContainer());
    UpdateWindow(t->GetSafeHwnd());
    CaptionButton* close = NULL;
    for (CaptionButton* b : t->m_arrCaptionButtons)
        if (b->m_nID == QXP_IDS_DOCKINGPANE_CLOSE)
            close = b;
    ASSERT_NE(nullptr, close);
    POINT on = {(close->m_rc.left + close->m_rc.right) / 2, (close->m_rc.top + close->m_rc.bottom) / 2};
    SendMessageA(t->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(on.x, on.y));
    EXPECT_TRUE(close->m_bHot);
    SendMessageA(t->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 60));
    EXPECT_FALSE(close->m_bHot);
    SendMessageA(t->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(on.x, on.y));
    SendMessageA(t->GetSafeHwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(close->m_bHot);
    // A pane whose actions are off keeps its buttons dark.
    p1->SetEnabled(1);
    SendMessageA(t->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(on.x, on.y));
    EXPECT_FALSE(close->m_bHot);
}

// A caption button that closed its pane, or a caption hidden under the
// mouse, gets no leave message: the pane shows again without a hot button.
TEST(DockingWindows, CaptionButtonsAreNotHotWhenTheirPaneShowsAgain)
{
    Frame f;
    f.AddPane(1, dockLeftOf);
    f.AddPane(2, dockRightOf);
    f.Relayout();
    CQXPDockingPane* p1 = f.manager.FindPane(1);
    auto hotButtons = [&] {
        auto* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p1->GetContainer());
        int n = 0;
        for (CaptionButton* b : t->m_arrCaptionButtons)
            n += b->m_bHot ? 1 : 0;
        return n;
    };
    auto hoverClose = [&]() -> POINT {
        auto* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p1->GetContainer());
        UpdateWindow(t->GetSafeHwnd());
        for (CaptionButton* b : t->m_arrCaptionButtons)
            if (b->m_nID == QXP_IDS_DOCKINGPANE_CLOSE) {
                POINT on = {(b->m_rc.left + b->m_rc.right) / 2, (b->m_rc.top + b->m_rc.bottom) / 2};
                SendMessageA(t->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(on.x, on.y));
                EXPECT_TRUE(b->m_bHot);
                return on;
            }
        ADD_FAILURE() << "no close button";
        return POINT{0, 0};
    };

    // Closed with its close button, then shown again.
    POINT on = hoverClose();
    HWND hContainer = p1->GetContainer()->GetPaneHwnd();
    PostMessageA(hContainer, WM_LBUTTONUP, 0, MAKELPARAM(on.x, on.y));
    SendMessageA(hContainer, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(on.x, on.y));
    Pump();
    ASSERT_TRUE(p1->IsClosed());
    f.manager.ShowPane(p1);
    f.Relayout();
    ASSERT_FALSE(p1->IsClosed());
    EXPECT_EQ(0, hotButtons()) << "after the close button closed the pane";

    // Hidden while the mouse was over a button.
    hoverClose();
    ShowWindow(p1->GetContainer()->GetPaneHwnd(), SW_HIDE);
    EXPECT_EQ(0, hotButtons()) << "after the caption was hidden";
    ShowWindow(p1->GetContainer()->GetPaneHwnd(), SW_SHOW);

    // And the plain case: the mouse leaves.
    hoverClose();
    SendMessageA(p1->GetContainer()->GetPaneHwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(0, hotButtons()) << "after WM_MOUSELEAVE";
}

// A manager that notes every activation change, also those its own
// containers report.
class ActivationNotingManager : public CQXPDockingPaneManager {
public:
    void SetActivePane(HWND hWnd, CQXPDockingPane* pPane) override
    {
        m_calls.push_back(std::make_pair(hWnd != NULL, pPane ? pPane->GetID() : 0));
        CQXPDockingPaneManager::SetActivePane(hWnd, pPane);
    }
    std::vector<std::pair<bool, int>> m_calls; // (with a window, pane id)
};

// The idle focus check follows the focus window: it runs when the focus
// moved (or the manager forgot what it saw), not on every idle pass.
TEST(DockingWindows, TheIdleFocusCheckRunsWhenTheFocusMoved)
{
    docktest::SiteWindow site(true);
    ActivationNotingManager manager;
    ASSERT_TRUE(manager.InstallDockingPanes(site.m_hWnd));
    site.m_pManager = &manager;
    auto addPane = [&](int id, int dir) {
        RECT rc = {0, 0, 200, 120};
        CQXPDockingPane* p = manager.CreatePane(id, rc, dir);
        HWND h = CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_MULTILINE, 0, 0, 10, 10, site.m_hWnd, NULL,
                                 GetModuleHandle(NULL), NULL);
        p->Attach(h);
        return h;
    };
    HWND e1 = addPane(1, dockLeftOf);
    HWND e2 = addPane(2, dockRightOf);
    site.Layout();
    Pump();
    SetForegroundWindow(site.m_hWnd);
    auto idle = [&] { SendMessageA(manager.GetSafeHwnd(), WM_IDLEUPDATECMDUI, 0, 0); };
    SetFocus(e1);
    idle();
    ASSERT_EQ(manager.FindPane(1), manager.GetActivePane());
    EXPECT_EQ(std::make_pair(true, 1), manager.m_calls.back()) << "the container's report reaches the override";
    // Taken back by hand: idle passes with the focus where it was change nothing.
    manager.SetActivePane(NULL, manager.FindPane(1));
    manager.m_calls.clear();
    idle();
    idle();
    EXPECT_EQ(nullptr, manager.GetActivePane());
    EXPECT_TRUE(manager.m_calls.empty());
    // The focus moves: the check runs.
    SetFocus(e2);
    idle();
    EXPECT_EQ(manager.FindPane(2), manager.GetActivePane());
    // Forgotten, the last focus is looked at again.
    manager.SetActivePane(NULL, manager.FindPane(2));
    idle();
    EXPECT_EQ(nullptr, manager.GetActivePane());
    manager.ForgetFocus();
    idle();
    EXPECT_EQ(manager.FindPane(2), manager.GetActivePane());
    site.m_pManager = NULL;
}

// A child window of the program (a CWnd, as views are) that counts the
// WM_INITIALUPDATE it gets.
class InitialUpdateNote : public CWnd {
public:
    BOOL Create(HWND hParent)
    {
        RECT rc = {0, 0, 10, 10};
        return CreateEx(0, "STATIC", "", WS_CHILD, rc, CWnd::FromHandle(hParent), 0);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_INITIALUPDATE)
            ++m_nInitialUpdates;
        return CWnd::WindowProc(message, wParam, lParam);
    }
    int m_nInitialUpdates = 0;
};

// The frame's initial update reaches the windows of its floating frames
// (which are no children of the frame) through the manager, once, and a
// floating frame waiting for its layout is laid out first.
TEST(DockingWindows, FloatingFramesGetTheInitialUpdateOfTheirSite)
{
    Frame f;
    f.AddPane(1, dockLeftOf);
    f.AddPane(2, dockRightOf);
    InitialUpdateNote docked, floating;
    ASSERT_TRUE(docked.Create(f.site.m_hWnd) && floating.Create(f.site.m_hWnd));
    const HWND hFloating = floating.GetSafeHwnd();
    f.manager.FindPane(1)->Attach(docked.GetSafeHwnd());
    f.manager.FindPane(2)->Attach(hFloating);
    RECT rc = {200, 200, 400, 400};
    CQXPDockingPaneMiniWnd* pFrame = f.manager.FloatPane(f.manager.FindPane(2), rc);
    ASSERT_NE(nullptr, pFrame);
    f.Relayout();
    f.manager.SelectPane(f.manager.FindPane(2), FALSE);
    Pump();
    ASSERT_TRUE(pFrame->GetSafeHwnd());
    ASSERT_TRUE(IsChild(pFrame->GetSafeHwnd(), hFloating));
    ASSERT_FALSE(IsChild(f.site.m_hWnd, hFloating));
    pFrame->DelayRecalcLayout();
    ASSERT_NE(0u, pFrame->m_nIdleFlags & CFrameWnd::idleLayout);
    EXPECT_FALSE(f.manager.IsInitialUpdateDone());
    // What a frame's InitialUpdateFrame sends.
    CWnd::SendMessageToDescendants(f.site.m_hWnd, WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    EXPECT_EQ(1, docked.m_nInitialUpdates);
    EXPECT_EQ(1, floating.m_nInitialUpdates);
    EXPECT_EQ(0u, pFrame->m_nIdleFlags & CFrameWnd::idleLayout);
    EXPECT_TRUE(f.manager.IsInitialUpdateDone());
}

// The manager holds OLE on its thread for its life: drop targets and drag
// sources work even where the program did not start OLE itself.
TEST(DockingWindows, TheManagerHoldsOleForItsLife)
{
    HRESULT hrWhileAlive = S_OK, hrAfter = E_FAIL;
    std::thread worker([&] {
        {
            CQXPDockingPaneManager manager;
            // A thread in OLE's apartment cannot join the multithreaded one.
            hrWhileAlive = CoInitializeEx(NULL, COINIT_MULTITHREADED);
            if (SUCCEEDED(hrWhileAlive))
                CoUninitialize();
        }
        hrAfter = CoInitializeEx(NULL, COINIT_MULTITHREADED);
        if (SUCCEEDED(hrAfter))
            CoUninitialize();
    });
    worker.join();
    EXPECT_EQ(RPC_E_CHANGED_MODE, hrWhileAlive);
    EXPECT_EQ(S_OK, hrAfter) << "OLE is released with the manager";
}

} // namespace
