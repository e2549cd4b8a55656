// The tab strip of a tabbed container under the real mouse and OLE: data
// dragged over a tab brings its pane forward, tabs light up under the mouse,
// the strip's scroll buttons take their presses, and a press on a tab whose
// drag the owner refuses is the strip's own click.
#include "DockTestSupport.h"

#include <qx/panepaint.h>

#include <qmtest/dropdata.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>
#include <qmtest/screenshot.h>
#include <qmtest/script.h>

#include <functional>
#include <string>

using docktest::EditPaneFrame;

namespace {

// Three panes behind tabs in one container docked on the left, the site in
// the foreground.
struct TabStripFrame : EditPaneFrame {
    explicit TabStripFrame(int cx = 260)
    {
        AfxOleInit(); // the drop target registers through OLE
        AddPane(1, dockLeftOf, NULL, cx, 300);
        CQXPDockingPane* p1 = manager.FindPane(1);
        for (int id : {2, 3}) {
            AddPane(id, dockLeftOf, NULL, cx, 300);
            manager.AttachPane(manager.FindPane(id), p1);
        }
        Relayout();
        ::SetForegroundWindow(site.m_hWnd);
        qmtest::PumpFor(100);
        container = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p1->GetContainer());
    }
    CQXPTabManager* Tabs() const { return container->GetTabManager(); }
    CQXPTabPainter* Painter() const { return manager.GetPaintManager()->GetTabPainter(); }
    // The pane whose tab is the i-th.
    CQXPDockingPane* PaneOfTab(int i) const
    {
        return reinterpret_cast<CQXPDockingPane*>(Tabs()->GetItem(i)->m_dwData);
    }
    // The middle of a rectangle of the container on the screen.
    POINT OnScreen(const RECT& r) const
    {
        POINT pt = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ::ClientToScreen(container->GetSafeHwnd(), &pt);
        return pt;
    }
    POINT TabOnScreen(int i) const { return OnScreen(container->GetTabRects()[i]); }
    // The ids of the panes in tab order.
    std::string Order() const
    {
        std::string s;
        for (CPaneBase* p : container->GetPanes())
            s += std::to_string(static_cast<CQXPDockingPane*>(p)->GetID());
        return s;
    }
    CQXPDockingPaneTabbedContainer* container = nullptr;
};

TEST(PaneTabStrip, DataDraggedOverAnUnselectedTabBringsItsPaneForwardAndIsRefused)
{
    TabStripFrame f;
    ASSERT_NE(nullptr, f.container);
    ASSERT_TRUE(f.container->IsTabsVisible());
    ASSERT_EQ(3u, f.container->GetTabRects().size());
    // The target is registered on the container's window.
    HWND hWnd = f.container->GetSafeHwnd();
    COleDropTarget* target = f.container->GetDropTarget();
    ASSERT_NE(nullptr, target);
    EXPECT_EQ(DRAGDROP_E_ALREADYREGISTERED, ::RegisterDragDrop(hWnd, target->GetDropTargetInterface()));
    ASSERT_TRUE(f.Painter()->m_bActivateOnDragOver); // on when the painter is made

    // A file from the shell over the first tab (the third pane is selected).
    CQXPDockingPane* pFirst = f.PaneOfTab(0);
    ASSERT_NE(pFirst, f.container->GetSelected());
    HWND hFocus = ::GetFocus();
    qmtest::DropData data({"C:\\notes.txt"}, true);
    IDropTarget* pDrop = target->GetDropTargetInterface();
    POINT pt = f.TabOnScreen(0);
    DWORD dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    ASSERT_EQ(S_OK, pDrop->DragEnter(&data, MK_LBUTTON, POINTL{pt.x, pt.y}, &dwEffect));
    EXPECT_EQ((DWORD)DROPEFFECT_NONE, dwEffect);
    EXPECT_EQ(pFirst, f.container->GetSelected());
    EXPECT_EQ(hFocus, ::GetFocus()); // brought forward without the focus
    EXPECT_TRUE(::IsWindowVisible(pFirst->GetChild()));

    // Over the second tab while the painter's option is off: nothing moves.
    f.Painter()->m_bActivateOnDragOver = FALSE;
    pt = f.TabOnScreen(1);
    dwEffect = DROPEFFECT_COPY;
    ASSERT_EQ(S_OK, pDrop->DragOver(MK_LBUTTON, POINTL{pt.x, pt.y}, &dwEffect));
    EXPECT_EQ((DWORD)DROPEFFECT_NONE, dwEffect);
    EXPECT_EQ(pFirst, f.container->GetSelected());
    // With it on again, and off every tab (the pane's area): nothing either.
    f.Painter()->m_bActivateOnDragOver = TRUE;
    RECT rcClient = f.container->GetClientArea();
    pt = f.OnScreen(rcClient);
    ASSERT_EQ(S_OK, pDrop->DragOver(MK_LBUTTON, POINTL{pt.x, pt.y}, &dwEffect));
    EXPECT_EQ((DWORD)DROPEFFECT_NONE, dwEffect);
    EXPECT_EQ(pFirst, f.container->GetSelected());
    pDrop->DragLeave();
    EXPECT_EQ(0, data.getDataCalls); // nothing was taken from the data
}

TEST(PaneTabStrip, TabsLightUpUnderTheMouse)
{
    TabStripFrame f;
    ASSERT_NE(nullptr, f.container);
    f.Painter()->m_bHotTracking = TRUE;
    CQXPTabManager* tabs = f.Tabs();
    // Over the first tab, then the second: the hot tab follows.
    for (int i : {0, 1}) {
        qmtest::MouseAt(f.TabOnScreen(i), 0);
        EXPECT_TRUE(qmtest::PumpUntil([&] { return tabs->GetHighlighted() == tabs->GetItem(i); }, 3000))
            << "tab " << i;
    }
    // Off the strip onto the pane's window: nothing is hot.
    qmtest::MouseAt(f.OnScreen(f.container->GetClientArea()), 0);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return tabs->GetHighlighted() == nullptr; }, 3000));
    // Off the site altogether after lighting a tab again.
    qmtest::MouseAt(f.TabOnScreen(2), 0);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return tabs->GetHighlighted() == tabs->GetItem(2); }, 3000));
    RECT rcSite;
    ::GetWindowRect(f.site.m_hWnd, &rcSite);
    qmtest::MouseAt(POINT{rcSite.right + 40, rcSite.bottom + 40}, 0);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return tabs->GetHighlighted() == nullptr; }, 3000));
}

TEST(PaneTabStrip, ScrollButtonsTakeTheirPressesAndTheTabsFollow)
{
    TabStripFrame f(200);
    ASSERT_NE(nullptr, f.container);
    // Fixed-width tabs longer than the strip: the scroll buttons show.
    f.Painter()->SetItemMetrics(120);
    f.Painter()->SetLayout(tabLayoutFixed);
    f.manager.RedrawPanes();
    f.Relayout();
    qmtest::PumpFor(50);
    CQXPTabManager* tabs = f.Tabs();
    CQXPTabManagerNavigateButton* pRight = tabs->FindNavigateButton(CQXPTabManagerNavigateButton::idRight);
    CQXPTabManagerNavigateButton* pLeft = tabs->FindNavigateButton(CQXPTabManagerNavigateButton::idLeft);
    // The selected pane is the last one: its tab was scrolled into view.
    ASSERT_LT(tabs->GetScrollOffset(), 0);
    ASSERT_FALSE(::IsRectEmpty(&pLeft->m_rc));
    ASSERT_TRUE(pLeft->m_bEnabled);
    const std::string tree = f.Tree();
    CQXPDockingPane* pSelected = f.container->GetSelected();
    // Where the first tab starts at offset 0.
    const LONG nFirstLeft = f.container->GetTabRects()[0].left - tabs->GetScrollOffset();

    // A held button scrolls until it is let go (or the strip ends).
    auto hold = [&](CQXPTabManagerNavigateButton* pButton, std::function<bool()> until) {
        qmtest::Script script;
        script.Then([&] {
            qmtest::MouseMoveTo(f.OnScreen(pButton->m_rc));
            qmtest::MouseButton(MOUSEEVENTF_LEFTDOWN);
        });
        script.Add(until);
        script.Then([] { qmtest::MouseButton(MOUSEEVENTF_LEFTUP); });
        const bool bDone = script.Run();
        qmtest::PumpFor(50);
        return bDone;
    };
    // Left: back to the start and no further.
    ASSERT_TRUE(hold(pLeft, [&] { return tabs->GetScrollOffset() == 0; })) << "offset " << tabs->GetScrollOffset();
    EXPECT_EQ(0, tabs->GetScrollOffset());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(nFirstLeft, f.container->GetTabRects()[0].left);
    // Right: on by steps while held.
    ASSERT_TRUE(pRight->m_bEnabled);
    ASSERT_TRUE(hold(pRight, [&] { return tabs->GetScrollOffset() <= -2 * tabs->m_nScrollStep; }))
        << "the strip did not scroll while the button was held";
    const int nOffset = tabs->GetScrollOffset();
    EXPECT_LT(nOffset, 0);
    EXPECT_EQ(nullptr, ::GetCapture());
    // The tabs (and the container's hit test) moved with the offset.
    EXPECT_EQ(nFirstLeft + nOffset, f.container->GetTabRects()[0].left);
    EXPECT_EQ(nFirstLeft + nOffset, tabs->GetItem(0)->GetRect().left);
    // Neither a pane drag nor a new selection came of the presses.
    EXPECT_EQ(tree, f.Tree());
    EXPECT_EQ(pSelected, f.container->GetSelected());
}

TEST(PaneTabStrip, APressWhoseDragIsRefusedIsTheStripsClick)
{
    TabStripFrame f;
    ASSERT_NE(nullptr, f.container);
    f.site.m_nRefuseAction = paneActionDragStart;
    const std::string tree = f.Tree();
    ASSERT_EQ("123", f.Order());

    // A plain click selects the tab's pane.
    qmtest::ClickAt(f.TabOnScreen(1));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return f.container->GetSelected() == f.manager.FindPane(2); }, 3000));
    EXPECT_EQ(nullptr, ::GetCapture());

    // Pressed on the first tab and moved over the third: the strip's own
    // loop reorders the tabs and the panes follow; dragged off the strip
    // nothing undocks.
    const POINT from = f.TabOnScreen(0), over = f.TabOnScreen(2);
    RECT rcSite;
    ::GetWindowRect(f.site.m_hWnd, &rcSite);
    const POINT away = {rcSite.right - 30, rcSite.bottom - 30};
    qmtest::Script script;
    script.Then([&] {
        qmtest::MouseMoveTo(from);
        qmtest::MouseButton(MOUSEEVENTF_LEFTDOWN);
    });
    script.Add([&] { return ::GetCapture() == f.container->GetSafeHwnd(); });
    script.Then([&] { qmtest::MouseMoveTo(over); });
    script.Add([&] { return f.Order() == "321"; });
    script.Then([&] { qmtest::MouseMoveTo(away); });
    script.Then([] { qmtest::MouseButton(MOUSEEVENTF_LEFTUP); });
    script.Add([] { return ::GetCapture() == NULL; });
    ASSERT_TRUE(script.Run()) << "order " << f.Order();
    qmtest::PumpFor(50);
    EXPECT_EQ("321", f.Order());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(f.container->GetPanes()[i], f.PaneOfTab(i)) << "tab " << i;
    EXPECT_EQ(f.manager.FindPane(1), f.container->GetSelected());
    EXPECT_EQ(f.container, f.manager.FindPane(1)->GetContainer()); // still docked here
    // Only the refused drag starts were asked; no detach, no float.
    for (int a : f.site.m_actions)
        EXPECT_TRUE(a == paneActionDragStart || a == paneActionActivated || a == paneActionDeactivated) << a;
    EXPECT_EQ(tree.size(), f.Tree().size());
}

} // namespace
