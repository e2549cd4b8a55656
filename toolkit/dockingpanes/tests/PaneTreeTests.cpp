// Tree operations of the docking manager: docking, attaching, closing and
// reopening, finding, directions, cleaning, and the layout pass.
#include "DockTestSupport.h"

#include <qmtest/themetext.h>
#include <qx/colors.h>
#include <qx/panepaint.h>
#include <qx/tabpaint.h>

using docktest::Describe;
using docktest::Docking;

namespace {

struct DockStep {
    int id;
    int direction;
    int neighbour; // id of an existing pane, 0 none
};

struct DockCase {
    const char* name;
    std::vector<DockStep> steps;
    const char* expected;
};

class DockSequences : public ::testing::TestWithParam<DockCase> {};

TEST_P(DockSequences, BuildTheExpectedTree)
{
    Docking d;
    for (const DockStep& s : GetParam().steps) {
        CPaneBase* pNeighbour = s.neighbour ? d.manager.FindPane(s.neighbour) : NULL;
        ASSERT_NE(nullptr, d.Create(s.id, s.direction, pNeighbour));
    }
    EXPECT_EQ(GetParam().expected, d.Tree()) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DockSequences,
    ::testing::Values(
        DockCase{"left of the frame", {{1, dockLeftOf, 0}}, "S-[T{1*},C]"},
        DockCase{"right of the frame", {{1, dockRightOf, 0}}, "S-[C,T{1*}]"},
        DockCase{"bottom wraps the horizontal top", {{1, dockLeftOf, 0}, {2, dockBottomOf, 0}}, "S|[S-[T{1*},C],T{2*}]"},
        DockCase{"left of a vertical top wraps the whole layout",
                 {{1, dockTopOf, 0}, {2, dockBottomOf, 0}, {3, dockLeftOf, 0}},
                 "S-[T{3*},S|[T{1*},S-[C],T{2*}]]"},
        DockCase{"beside a pane means beside its tabbed container",
                 {{1, dockLeftOf, 0}, {2, dockBottomOf, 1}},
                 "S-[S|[T{1*},T{2*}],C]"},
        DockCase{"same direction inserts next to the neighbour",
                 {{1, dockLeftOf, 0}, {2, dockRightOf, 1}, {3, dockLeftOf, 2}},
                 "S-[T{1*},T{3*},T{2*},C]"},
        DockCase{"a closed neighbour means the frame", {{1, dockLeftOf, 0}, {2, dockRightOf, 99}}, "S-[T{1*},C,T{2*}]"}),
    [](const ::testing::TestParamInfo<DockCase>& info) { return "Case" + std::to_string(info.index); });

TEST(PaneTree, AttachedPanesShareAPlaceAsTabs)
{
    Docking d;
    CQXPDockingPane* p1 = d.Create(1, dockLeftOf);
    CQXPDockingPane* p2 = d.Create(2, dockBottomOf, p1);
    CQXPDockingPane* p3 = d.Create(3, dockLeftOf, p1);
    d.manager.AttachPane(p3, p1);
    d.manager.AttachPane(p2, p1);
    CQXPDockingPaneTabbedContainer* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p1->GetContainer());
    ASSERT_NE(nullptr, t);
    EXPECT_EQ(t, p2->GetContainer());
    EXPECT_EQ(t, p3->GetContainer());
    EXPECT_EQ("T{1,3,2*}", Describe(t));
    // The emptied containers stay as holders until the layout is cleaned.
    d.manager.GetLayout()->DropEmptyContainers();
    EXPECT_EQ("S-[S|[T{1,3,2*}],C]", d.Tree());
}

TEST(PaneTree, FindPaneListsInPreOrderAndSkipsEmptyContainers)
{
    Docking d;
    CQXPDockingPane* p1 = d.Create(1, dockLeftOf);
    CQXPDockingPane* p2 = d.Create(2, dockBottomOf, p1);
    d.Create(3, dockRightOf);
    DockingLayoutStore* pLayout = d.manager.GetLayout();

    PaneObjectList tabs;
    pLayout->GetTopContainer()->FindPane(paneTypeTabbedContainer, tabs);
    ASSERT_EQ(3u, tabs.size());
    EXPECT_EQ(p1->GetContainer(), tabs[0]);
    EXPECT_EQ(p2->GetContainer(), tabs[1]);

    // Closing empties the inner splitter's containers: code 2 skips it and
    // everything under it, code 1 still looks inside and finds nothing there.
    d.manager.ClosePane(p1);
    d.manager.ClosePane(p2);
    PaneObjectList splitters, tabs2;
    pLayout->GetTopContainer()->FindPane(paneTypeSplitterContainer, splitters);
    pLayout->GetTopContainer()->FindPane(paneTypeTabbedContainer, tabs2);
    EXPECT_EQ(1u, splitters.size()); // the top only
    EXPECT_EQ(1u, tabs2.size());     // pane 3's

    // A container asked for itself contains itself, children or not.
    CPaneBase* pEmpty = tabs[0];
    EXPECT_TRUE(pEmpty->ContainsPane(pEmpty));
    EXPECT_TRUE(pEmpty->IsEmpty());
}

TEST(PaneTree, HiddenClientIsEmptyAndHasNoMinimum)
{
    Docking d;
    CPaneClientContainer* pClient = d.manager.GetLayout()->GetClientContainer();
    MINMAXINFO mmi;
    pClient->GetMinMaxInfo(&mmi);
    EXPECT_EQ(60, mmi.ptMinTrackSize.x);
    EXPECT_FALSE(pClient->IsEmpty());
    d.manager.m_bHideClient = TRUE;
    pClient->GetMinMaxInfo(&mmi);
    EXPECT_EQ(0, mmi.ptMinTrackSize.x);
    EXPECT_EQ(32000, mmi.ptMaxTrackSize.x);
    EXPECT_TRUE(pClient->IsEmpty());
}

TEST(PaneTree, ClosedPaneReturnsToItsLastPlace)
{
    Docking d;
    CQXPDockingPane* p1 = d.Create(1, dockLeftOf);
    CQXPDockingPane* p2 = d.Create(2, dockRightOf);
    d.manager.AttachPane(d.Create(3, dockTopOf), p2);
    d.manager.GetLayout()->DropEmptyContainers();
    // The top stays vertical: only a one-child splitter inside a one-child
    // parent is folded.
    EXPECT_EQ("S|[S-[T{1*},C,T{2,3*}]]", d.Tree());

    d.manager.ClosePane(p2);
    EXPECT_TRUE(p2->IsClosed());
    EXPECT_EQ("S|[S-[T{1*},C,T{3*}]]", d.Tree());
    EXPECT_EQ(p2, d.manager.FindPane(2)); // closed panes stay in the layout

    d.manager.SelectPane(p2, FALSE);
    EXPECT_FALSE(p2->IsClosed());
    EXPECT_EQ("S|[S-[T{1*},C,T{3,2*}]]", d.Tree());
    EXPECT_TRUE(p2->IsSelected());
    (void)p1;
}

// DockPane beside a pane that is not docked in the frame (here floating)
// docks beside the whole layout; a drop beside a floating container
// (MoveAndDockPane, the drag's way) stays in that floating frame.
TEST(PaneTree, DockingBesideAFloatingPaneDocksInTheFrame)
{
    Docking d;
    CQXPDockingPane* p1 = d.Create(1, dockLeftOf);
    RECT rc = {100, 100, 300, 300};
    ASSERT_NE(nullptr, d.manager.FloatPane(p1, rc));
    ASSERT_EQ(4, d.manager.GetPaneDirection(p1));
    CQXPDockingPane* p2 = d.Create(2, dockLeftOf, p1);
    ASSERT_NE(nullptr, p2);
    EXPECT_EQ(dockLeftOf, d.manager.GetPaneDirection(p2));
    CQXPDockingPane* p3 = d.Create(3, dockBottomOf);
    d.manager.MoveAndDockPane(p3, dockBottomOf, p1);
    EXPECT_EQ(4, d.manager.GetPaneDirection(p3));
    d.manager.GetLayout()->DropEmptyContainers();
    EXPECT_EQ("S|[S-[T{2*},T{},C]] F(S-[S|[T{1*},T{3*}]])", d.Tree());
}

TEST(PaneTree, OwnerCanKeepAPaneOpen)
{
    Docking d;
    CQXPDockingPane* p1 = d.Create(1, dockLeftOf);
    d.site.m_nCloseAnswer = -1;
    d.manager.ClosePane(p1);
    EXPECT_FALSE(p1->IsClosed());
    d.site.m_nCloseAnswer = 0;
    d.manager.ClosePane(p1);
    EXPECT_TRUE(p1->IsClosed());
}

TEST(PaneTree, DestroyedPaneIsGoneAndItsPlaceCleaned)
{
    Docking d;
    d.Create(1, dockLeftOf);
    CQXPDockingPane* p2 = d.Create(2, dockBottomOf, d.manager.FindPane(1));
    d.manager.DestroyPane(p2);
    EXPECT_EQ(nullptr, d.manager.FindPane(2));
    EXPECT_EQ("S-[S|[T{1*}],C]", d.Tree());
    EXPECT_EQ(1u, d.manager.GetLayout()->GetRecords().size());
}

TEST(PaneTree, DirectionsOfPanes)
{
    Docking d;
    struct {
        int id;
        int dir;
    } cases[] = {{1, dockLeftOf}, {2, dockRightOf}, {3, dockTopOf}, {4, dockBottomOf}};
    for (auto& c : cases)
        d.Create(c.id, c.dir);
    for (auto& c : cases)
        EXPECT_EQ(c.dir, d.manager.GetPaneDirection(d.manager.FindPane(c.id))) << c.id;
    EXPECT_EQ(-1, d.manager.GetPaneDirection(d.manager.GetLayout()->GetClientContainer()));
}

TEST(PaneTree, CleaningCollapsesSingleChildSplitters)
{
    Docking d;
    CQXPDockingPane* p1 = d.Create(1, dockLeftOf);
    CQXPDockingPane* p2 = d.Create(2, dockBottomOf, p1);
    d.manager.DestroyPane(p2);
    // A vertical splitter with one child inside a parent with more children
    // stays; once the parent holds only it, the child moves up.
    EXPECT_EQ("S-[S|[T{1*}],C]", d.Tree());
    d.manager.DestroyPane(p1);
    EXPECT_EQ("S-[C]", d.Tree());
    EXPECT_EQ(2u, d.manager.GetLayout()->GetObjects().size());
}

TEST(PaneTree, TabColours)
{
    struct {
        int id;
        COLORREF expected;
    } cases[] = {{0, 0x1000000}, {1, 0x1000001}, {7, 0x1000007}, {8, 0x1000000}, {-1, 0x1000007}, {-7, 0x1000001}, {-8, 0x1000000}, {-9, 0x1000007}, {INT_MIN, 0x1000000}};
    for (auto& c : cases)
        EXPECT_EQ(c.expected, CQXPDockingPane::DefaultTabColor(c.id)) << c.id;

    Docking d;
    CQXPDockingPane* p = d.Create(-3, dockLeftOf);
    EXPECT_EQ(0x1000005u, p->GetTabColor());
    p->SetTabColor(RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), p->GetTabColor());
}

TEST(PaneTree, TitleAndShortTitle)
{
    Docking d;
    CQXPDockingPane* p = d.Create(1, dockLeftOf);
    p->SetTitle("Project Explorer\nProject");
    EXPECT_STREQ("Project Explorer", p->GetTitle());
    EXPECT_STREQ("Project", p->GetShortTitle());
    p->SetTitle("Output");
    EXPECT_STREQ("Output", p->GetTitle());
    EXPECT_STREQ("Output", p->GetShortTitle());
}

TEST(PaneTree, ActionsAreRefusedWithoutTheEnabledBit)
{
    Docking d;
    CQXPDockingPane* p = d.Create(1, dockLeftOf);
    EXPECT_EQ(0, d.manager.NotifyAction(paneActionFloating, p));
    p->SetEnabled(1);
    EXPECT_NE(0, d.manager.NotifyAction(paneActionFloating, p));
    d.site.m_nRefuseAction = paneActionDocking;
    p->SetEnabled(3);
    EXPECT_NE(0, d.manager.NotifyAction(paneActionDocking, p));
}

TEST(PaneTree, ActivePaneChangesAreReported)
{
    Docking d;
    CQXPDockingPane* p1 = d.Create(1, dockLeftOf);
    CQXPDockingPane* p2 = d.Create(2, dockRightOf);
    d.site.m_actions.clear();
    d.manager.SetActivePane(d.site.m_hWnd, p1);
    d.manager.SetActivePane(d.site.m_hWnd, p1);
    d.manager.SetActivePane(d.site.m_hWnd, p2);
    d.manager.SetActivePane(NULL, p1); // not the active one: nothing
    d.manager.SetActivePane(NULL, p2);
    std::vector<int> expected = {paneActionActivated, paneActionDeactivated, paneActionActivated,
                                 paneActionDeactivated};
    EXPECT_EQ(expected, d.site.m_actions);
    EXPECT_EQ(nullptr, d.manager.GetActivePane());
}

struct CycleCase {
    int active;   // 0 none
    int disabled; // pane left out of cycling, 0 none
    bool next;
    int expected;
};

class PaneCycling : public ::testing::TestWithParam<CycleCase> {};

TEST_P(PaneCycling, StartsAfterTheActivePaneAndWraps)
{
    const CycleCase& c = GetParam();
    Docking d;
    for (int id = 1; id <= 3; ++id)
        d.Create(id, dockLeftOf);
    if (c.disabled)
        d.manager.FindPane(c.disabled)->SetEnabled(2);
    if (c.active)
        d.manager.SetActivePane(d.site.m_hWnd, d.manager.FindPane(c.active));
    CQXPDockingPane* p = d.manager.CyclePanes(c.next);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(c.expected, p->GetID());
}

INSTANTIATE_TEST_SUITE_P(Table, PaneCycling,
                         ::testing::Values(CycleCase{0, 0, true, 1}, CycleCase{1, 0, true, 2},
                                           CycleCase{3, 0, true, 1}, CycleCase{1, 0, false, 3},
                                           CycleCase{1, 2, true, 3}, CycleCase{3, 2, false, 1},
                                           CycleCase{0, 0, false, 3}));

TEST(PaneTree, CyclingWithOneEligiblePaneSelectsItAgain)
{
    Docking d;
    CQXPDockingPane* p1 = d.Create(1, dockLeftOf);
    d.Create(2, dockLeftOf)->SetEnabled(2);
    d.manager.SetActivePane(d.site.m_hWnd, p1);
    EXPECT_EQ(p1, d.manager.CyclePanes(TRUE));
    Docking empty;
    EXPECT_EQ(nullptr, empty.manager.CyclePanes(TRUE));
}

TEST(PaneTree, LayoutPassPlacesContainersAndClient)
{
    Docking d;
    CQXPDockingPane* p1 = d.Create(1, dockLeftOf, NULL, 200, 100);
    CQXPDockingPane* p2 = d.Create(2, dockRightOf, NULL, 150, 100);
    RECT rc = {0, 0, 804, 500};
    d.manager.LayoutInRect(rc, NULL);
    const RECT& r1 = p1->GetContainer()->GetPaneRect();
    const RECT& r2 = p2->GetContainer()->GetPaneRect();
    EXPECT_EQ(0, r1.left);
    EXPECT_EQ(200, r1.right);
    EXPECT_EQ(654, r2.left);
    EXPECT_EQ(804, r2.right);
    EXPECT_EQ(500, r2.bottom);
    // What is left is the client's, and the frame's remaining rectangle.
    RECT expected = {204, 0, 650, 500};
    EXPECT_TRUE(EqualRect(&expected, &d.manager.GetLayout()->GetClientContainer()->GetPaneRect()));
    EXPECT_TRUE(EqualRect(&expected, &rc));

    // A pane with a large minimum keeps it; the client shrinks to its own.
    p1->m_ptMinTrackSize.x = 700;
    RECT rc2 = {0, 0, 804, 500};
    d.manager.LayoutInRect(rc2, NULL);
    EXPECT_GE(p1->GetContainer()->GetPaneRect().right - p1->GetContainer()->GetPaneRect().left, 700);
    EXPECT_LE(p2->GetContainer()->GetPaneRect().right, 804);
}

TEST(PaneTree, SplitterLimitsAndApplyingAPosition)
{
    Docking d;
    CQXPDockingPane* p1 = d.Create(1, dockLeftOf, NULL, 200, 100);
    RECT rc = {0, 0, 804, 500};
    d.manager.LayoutInRect(rc, NULL);
    CPaneSplitterContainer* top = d.manager.GetLayout()->GetTopContainer();
    CPaneBase* t1 = p1->GetContainer();
    CPaneBase* client = d.manager.GetLayout()->GetClientContainer();
    int lo = 0, hi = 0;
    ASSERT_TRUE(top->GetSplitterLimits(t1, client, lo, hi));
    EXPECT_EQ(22, lo);       // the smallest pane size
    EXPECT_EQ(804 - 64, hi); // the client's minimum 60 + splitter 4
    p1->m_ptMinTrackSize.x = 50;
    ASSERT_TRUE(top->GetSplitterLimits(t1, client, lo, hi));
    EXPECT_GE(lo, 50);

    top->NormalizeDockingSize();
    top->ApplySplitterPosition(t1, client, 400, 0, 804, FALSE);
    EXPECT_EQ(400, t1->m_szDocking.cx);
    // Two neighbours with nothing to give cannot move the bar.
    p1->m_ptMinTrackSize.x = 790;
    EXPECT_FALSE(top->GetSplitterLimits(t1, client, lo, hi));
    EXPECT_FALSE(top->GetSplitterLimits(t1, NULL, lo, hi));
    top->ApplySplitterPosition(t1, client, 10, 0, 0, FALSE); // no extent: nothing, no fault
}

TEST(PaneTree, MaximizeCollapsesTheSiblings)
{
    Docking d;
    CQXPDockingPane* p1 = d.Create(1, dockLeftOf, NULL, 200, 150);
    CQXPDockingPane* p2 = d.Create(2, dockBottomOf, p1, 200, 150);
    auto* t1 = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p1->GetContainer());
    auto* t2 = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p2->GetContainer());
    ASSERT_TRUE(t1 && t2);
    EXPECT_FALSE(t1->CanMaximize()); // off unless the manager allows it
    d.manager.m_bAllowMaximize = TRUE;
    EXPECT_TRUE(t1->CanMaximize());
    EXPECT_TRUE(t1->IsCaptionButtonVisible(QXP_IDS_DOCKINGPANE_MAXIMIZE));
    EXPECT_FALSE(t1->IsCaptionButtonVisible(QXP_IDS_DOCKINGPANE_RESTORE));
    t1->Maximize();
    EXPECT_TRUE(t1->IsMaximized());
    EXPECT_TRUE(t1->IsCaptionButtonVisible(QXP_IDS_DOCKINGPANE_RESTORE));
    RECT rc = {0, 0, 800, 604};
    d.manager.LayoutInRect(rc, NULL);
    MINMAXINFO mmi;
    t2->GetMinMaxInfo(&mmi);
    int h2 = t2->GetPaneRect().bottom - t2->GetPaneRect().top;
    EXPECT_EQ(mmi.ptMaxTrackSize.y, h2); // only its caption and borders
    EXPECT_EQ(604 - 4 - h2, t1->GetPaneRect().bottom - t1->GetPaneRect().top);
    t1->Restore();
    d.manager.LayoutInRect(rc, NULL);
    EXPECT_EQ(t1->GetPaneRect().bottom - t1->GetPaneRect().top, t2->GetPaneRect().bottom - t2->GetPaneRect().top);
}

TEST(PaneTree, CaptionButtonsFollowThePaneOptions)
{
    Docking d;
    CQXPDockingPane* p = d.Create(1, dockLeftOf);
    auto* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p->GetContainer());
    // The application can take the Auto Hide button away.
    EXPECT_TRUE(t->IsCaptionButtonVisible(QXP_IDS_DOCKINGPANE_AUTOHIDE));
    d.manager.m_bShowAutoHideButton = FALSE;
    EXPECT_FALSE(t->IsCaptionButtonVisible(QXP_IDS_DOCKINGPANE_AUTOHIDE));
    d.manager.m_bShowAutoHideButton = TRUE;
    struct {
        DWORD options;
        bool close, autohide, menu;
    } cases[] = {{0, true, true, false},
                 {paneNoCloseable, false, true, false},
                 {paneNoHideable, true, false, false},
                 {paneHasMenuButton, true, true, true}};
    for (auto& c : cases) {
        p->SetOptions(c.options);
        EXPECT_EQ(c.close, t->IsCaptionButtonVisible(QXP_IDS_DOCKINGPANE_CLOSE) != FALSE) << c.options;
        EXPECT_EQ(c.autohide, t->IsCaptionButtonVisible(QXP_IDS_DOCKINGPANE_AUTOHIDE) != FALSE) << c.options;
        EXPECT_EQ(c.menu, t->IsCaptionButtonVisible(QXP_IDS_DOCKINGPANE_MENU) != FALSE) << c.options;
    }
    // The manager's default options count for every pane.
    p->SetOptions(0);
    d.manager.m_dwDefaultPaneOptions = paneNoCloseable;
    EXPECT_FALSE(t->IsCaptionButtonVisible(QXP_IDS_DOCKINGPANE_CLOSE));
    // Without a caption option the caption shows; with it, not.
    d.manager.m_dwDefaultPaneOptions = 0;
    EXPECT_TRUE(t->IsCaptionVisible());
    p->SetOptions(paneNoCaption);
    EXPECT_FALSE(t->IsCaptionVisible());
}

TEST(PaneTree, HiddenPanesMoveToThePanelOfTheirSide)
{
    Docking d;
    CQXPDockingPane* p1 = d.Create(1, dockRightOf);
    CQXPDockingPane* p2 = d.Create(2, dockTopOf);
    d.manager.HidePane(p1);
    d.manager.HidePane(p2);
    DockingLayoutStore* l = d.manager.GetLayout();
    ASSERT_NE(nullptr, l->GetPanel(dockRightOf));
    ASSERT_NE(nullptr, l->GetPanel(dockTopOf));
    EXPECT_EQ(dockRightOf, d.manager.GetPaneDirection(p1));
    EXPECT_TRUE(p1->IsHidden());
    EXPECT_TRUE(p1->GetContainer()->IsHidden());
    EXPECT_FALSE(dynamic_cast<CQXPDockingPaneTabbedContainer*>(p1->GetContainer())->IsTabsVisible());
    // Hiding again does nothing; the whole containers moved, so the docked
    // tree keeps only the client.
    d.manager.HidePane(p1);
    l->DropEmptyContainers();
    EXPECT_EQ("S|[C] A1(T{1*}) A2(T{2*})", d.Tree());
    // Asking for a hidden pane docks it again on its side.
    d.site.m_actions.clear();
    d.manager.SelectPane(p1, FALSE);
    EXPECT_FALSE(p1->IsHidden());
    EXPECT_EQ(dockRightOf, d.manager.GetPaneDirection(p1));
    std::vector<int> expected = {paneActionAttaching, paneActionAttached};
    EXPECT_EQ(expected, d.site.m_actions);
    // Refused by the owner, it stays hidden.
    d.site.m_nRefuseAction = paneActionAttaching;
    d.manager.SelectPane(p2, FALSE);
    EXPECT_TRUE(p2->IsHidden());
}

TEST(PaneTree, ThemesChooseTheirTabsAndCaptions)
{
    Docking d;
    // Pane tabs size to fit; auto-hide tabs show only the selected tab's
    // caption (compressed), except in themes 6 and 9, where every tab shows
    // its caption (layout 0).
    const int fit = tabLayoutSizeToFit, compressed = tabLayoutCompressed, natural = tabLayoutAutoSize;
    struct {
        int id;
        int theme;
        int tabAppearance;
        int tabColors;
        int panelAppearance;
        int captionExtra;
        int tabLayout, panelLayout;
    } cases[] = {{0, 0, 0, 1, 0, 5, fit, compressed}, {1, 1, 5, 2, 6, 5, fit, compressed}, {2, 2, 2, 4, 2, 7, fit, compressed}, {3, 3, 0, 8, 0, 7, fit, compressed}, {4, 4, 0, 1, 0, 5, fit, compressed}, {5, 5, 8, 1, 6, 2, fit, compressed}, {6, 6, 2, 1, 2, 5, fit, natural}, {7, 7, 2, 4, 2, 3, fit, compressed}, {9, 9, 2, 1, 2, 5, fit, natural}, {10, 10, 10, 32, 10, 7, fit, compressed}, {11, 0, 0, 1, 0, 5, fit, compressed}, {-3, 0, 0, 1, 0, 5, fit, compressed}};
    for (auto& c : cases) {
        d.manager.SetTheme(c.id);
        CDockingPanePaintManager* p = d.manager.GetPaintManager();
        EXPECT_EQ(c.theme, d.manager.GetCurrentTheme()) << c.id;
        EXPECT_EQ(c.tabAppearance, p->GetTabPainter()->GetAppearance()) << c.id;
        EXPECT_EQ(c.tabColors, p->GetTabPainter()->GetColor()) << c.id;
        EXPECT_EQ(c.panelAppearance, p->GetPanelTabPainter()->GetAppearance()) << c.id;
        EXPECT_EQ(c.captionExtra, p->GetCaptionExtraHeight()) << c.id;
        EXPECT_EQ(c.tabLayout, p->GetTabPainter()->GetLayout()) << c.id;
        EXPECT_EQ(c.panelLayout, p->GetPanelTabPainter()->GetLayout()) << c.id;
    }
    // Theme 8's tabs follow the rebar style; their layouts are the defaults.
    d.manager.SetTheme(8);
    EXPECT_EQ(fit, d.manager.GetPaintManager()->GetTabPainter()->GetLayout());
    EXPECT_EQ(compressed, d.manager.GetPaintManager()->GetPanelTabPainter()->GetLayout());
    // The flat box tabs' flags: the box by default (themes 2, 6 and 7);
    // theme 9 separators between its pane tabs and rounded auto-hide tabs.
    struct {
        int theme;
        bool autoHide;
        BOOL box, separator;
    } flags[] = {{2, false, TRUE, FALSE}, {2, true, TRUE, FALSE}, {6, false, TRUE, FALSE}, {6, true, TRUE, FALSE}, {7, true, TRUE, FALSE}, {9, false, FALSE, TRUE}, {9, true, FALSE, FALSE}};
    for (auto& f : flags) {
        SCOPED_TRACE(testing::Message() << "theme " << f.theme << (f.autoHide ? " auto-hide" : " tabbed"));
        d.manager.SetTheme(f.theme);
        CDockingPanePaintManager* p = d.manager.GetPaintManager();
        CQXPTabPainter* tabs = f.autoHide ? p->GetPanelTabPainter() : p->GetTabPainter();
        auto* flat = dynamic_cast<CTabAppearanceFlatBox*>(tabs->GetAppearanceSet());
        ASSERT_TRUE(flat != NULL);
        EXPECT_EQ(f.box, flat->m_bBox);
        EXPECT_EQ(f.separator, flat->m_bSeparator);
    }
    // Theme 9's pane tabs frame their client with a line on the tab side;
    // theme 6's have none.
    d.manager.SetTheme(9);
    EXPECT_EQ(1, d.manager.GetPaintManager()->GetTabPainter()->m_nClientFrame);
    d.manager.SetTheme(6);
    EXPECT_EQ(2, d.manager.GetPaintManager()->GetTabPainter()->m_nClientFrame);
    // Theme 10's resource tabs: header margins 2, 1, 2, 1 on both strips.
    d.manager.SetTheme(10);
    for (CQXPTabPainter* tabs :
         {d.manager.GetPaintManager()->GetTabPainter(), d.manager.GetPaintManager()->GetPanelTabPainter()}) {
        const RECT m = tabs->GetHeaderMargin();
        EXPECT_EQ(2, m.left);
        EXPECT_EQ(1, m.top);
        EXPECT_EQ(2, m.right);
        EXPECT_EQ(1, m.bottom);
    }
    {
        // Theme 10 takes its captions from the Office 2007 theme text.
        qmtest::ScopedThemeText text("[DockingPane]\r\nNormalCaptionLight = 1 2 3\r\nNormalCaptionDark = 4 5 6\r\n"
                                     "ActiveCaptionLight = 250 240 200\r\nSplitterDark = 7 8 9\r\n"
                                     "Splitter = 20 21 22\r\n[Window]\r\nWindowFrame = 30 31 32\r\n");
        d.manager.SetTheme(10);
        CDockingPanePaintManager* p = d.manager.GetPaintManager();
        EXPECT_EQ(RGB(1, 2, 3), p->m_clrInactiveCaption[0]);
        EXPECT_EQ(RGB(4, 5, 6), p->m_clrInactiveCaption[1]);
        EXPECT_EQ(RGB(250, 240, 200), p->m_clrActiveCaption[0]);
        EXPECT_EQ(RGB(255, 166, 76), p->m_clrActiveCaption[1]) << "a key the text lacks keeps its fixed colour";
        EXPECT_EQ(RGB(7, 8, 9), p->m_clrBackground[1]);
        EXPECT_EQ(RGB(20, 21, 22), p->m_clrFace);
        EXPECT_EQ(RGB(30, 31, 32), p->m_clrBorder);
        EXPECT_EQ(RGB(30, 31, 32), p->GetColor(qxColorWindowFrame));
    }
    {
        qmtest::ScopedThemeText none("");
        d.manager.SetTheme(10);
        EXPECT_EQ(RGB(227, 239, 255), d.manager.GetPaintManager()->m_clrInactiveCaption[0])
            << "without the theme: the fixed blues";
    }
    d.manager.SetTheme(9);
    EXPECT_TRUE(d.manager.m_bTheme9);
    d.manager.SetTheme(2);
    EXPECT_FALSE(d.manager.m_bTheme9);
    // A pane laid out under the new theme has its caption height.
    CQXPDockingPane* p1 = d.Create(1, dockLeftOf);
    RECT rc = {0, 0, 800, 600};
    d.manager.LayoutInRect(rc, NULL);
    MINMAXINFO mmi;
    p1->GetContainer()->GetMinMaxInfo(&mmi);
    EXPECT_EQ(d.manager.GetPaintManager()->GetCaptionHeight() + 2, mmi.ptMinTrackSize.y);
}

TEST(PaneTree, IconsFromABitmapStrip)
{
    Docking d;
    // Four ids for a strip of five images: nothing is stored.
    const int four[] = {1, 2, 3, 4};
    EXPECT_FALSE(d.manager.SetIcons(150, four, 4, RGB(0xC0, 0xC0, 0xC0)));
    EXPECT_EQ((HICON)NULL, d.manager.GetIcon(1));
    // Five ids: every id above 0 gets its image.
    const int five[] = {1, 0, 3, 4, 5};
    EXPECT_TRUE(d.manager.SetIcons(150, five, 5, RGB(0xC0, 0xC0, 0xC0)));
    EXPECT_NE((HICON)NULL, d.manager.GetIcon(1));
    EXPECT_EQ((HICON)NULL, d.manager.GetIcon(2));
    EXPECT_NE((HICON)NULL, d.manager.GetIcon(5));
    EXPECT_FALSE(d.manager.SetIcons(9999, five, 5, 0)); // no such bitmap
}

// The tabs of a container show each pane's icon: by its icon id when it
// has one, else by its id.
TEST(PaneTree, ContainerTabsShowThePaneIcons)
{
    Docking d;
    const int five[] = {1, 0, 3, 4, 5};
    ASSERT_TRUE(d.manager.SetIcons(150, five, 5, RGB(0xC0, 0xC0, 0xC0)));
    CQXPDockingPane* p1 = d.Create(1, dockLeftOf);
    CQXPDockingPane* p2 = d.Create(2, dockLeftOf);
    CQXPDockingPane* p3 = d.Create(3, dockLeftOf);
    p2->SetIconID(4);
    d.manager.AttachPane(p2, p1);
    d.manager.AttachPane(p3, p1);
    d.manager.GetLayout()->DropEmptyContainers();
    RECT rc = {0, 0, 800, 600};
    d.manager.LayoutInRect(rc, (HDWP)1);
    auto* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p1->GetContainer());
    ASSERT_NE(nullptr, t);
    t->UpdateTabs();
    CQXPTabManager* tabs = t->GetTabManager();
    ASSERT_EQ(3, tabs->GetItemCount());
    for (int i = 0; i < 3; ++i) {
        auto* pane = reinterpret_cast<CQXPDockingPane*>(tabs->GetItem(i)->m_dwData);
        SCOPED_TRACE(pane->GetID());
        const int nIcon = pane == p2 ? 4 : pane->GetID();
        EXPECT_EQ((DWORD_PTR)d.manager.GetIcon(nIcon), tabs->GetItemImage(tabs->GetItem(i)));
        EXPECT_NE((DWORD_PTR)0, tabs->GetItemImage(tabs->GetItem(i)));
    }
}

TEST(PaneTree, TitleComesFromTheStringOfTheId)
{
    Docking d;
    CQXPDockingPane* p = d.Create(1000, dockLeftOf);
    EXPECT_STREQ("Function List", p->GetTitle());
    EXPECT_STREQ("Functions", p->GetShortTitle());
    EXPECT_STREQ("", d.Create(1001, dockLeftOf)->GetTitle());
}

TEST(PaneTree, WindowRectOfAnObjectNeverLaidOut)
{
    Docking d;
    CPaneBase* p = d.manager.CreatePaneObject(paneTypeTabbedContainer, d.manager.GetLayout());
    RECT rc;
    p->GetWindowRect(&rc);
    POINT origin = {0, 0};
    ClientToScreen(d.site.m_hWnd, &origin);
    EXPECT_EQ(origin.x, rc.left);
    EXPECT_EQ(origin.y, rc.top);
    EXPECT_EQ(rc.left, rc.right);
}

} // namespace
