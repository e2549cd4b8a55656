// The ribbon's arithmetic without windows: group layout and reduction,
// heights, the quick-access toolbar, contextual headers, keyboard tips, the
// quick-access menus, the system menu, scrolling, popups and frame regions.
#include <qx/ribbonlayout.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qxribbon;

// Rectangles print as their corners in failure messages.
void PrintTo(const CRect& rc, std::ostream* os)
{
    *os << "(" << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom << ")";
}

namespace {

// Controls from a compact description, one word per control:
// 'L' a button with a large image, 'S' one without, 'G' a resizable
// in-place gallery, 'C' a grouped-layout control 22 wide; a leading '|'
// marks BeginGroup, '/' the wrap flag (a new run without separator).
std::vector<RibbonGroupLayoutItem> Items(const char* desc)
{
    std::vector<RibbonGroupLayoutItem> items;
    for (const char* p = desc; *p; p++) {
        RibbonGroupLayoutItem it;
        for (; *p == '|' || *p == '/'; p++)
            (*p == '|' ? it.bBeginGroup : it.bWrapFlag) = TRUE;
        it.bLargeImage = *p == 'L';
        it.bGallery = it.bResizableGallery = *p == 'G';
        it.nGalleryItemWidth = it.bGallery ? 30 : 0;
        it.pControl = (void*)(intptr_t)*p;
        items.push_back(it);
        while (p[1] == ' ')
            p++;
    }
    return items;
}

// Sizes per style: large 40 × 66, small 60 × 22, icon 22 × 22; galleries
// 100 × 66 in place and 50 × 66 as a button; grouped controls 22 × 22.
CSize Measure(const RibbonGroupLayoutItem& it, int nStyle)
{
    if ((char)(intptr_t)it.pControl == 'C')
        return CSize(22, 22);
    if (it.bGallery)
        return nStyle == kRibbonStyleLarge ? CSize(50, 66) : CSize(100, 66);
    switch (nStyle) {
    case kRibbonStyleLarge:
        return CSize(40, 66);
    case kRibbonStyleSmall:
        return CSize(60, 22);
    default:
        return CSize(22, 22);
    }
}

// The ribbon styles of a group's items: "4 4 3 3 3".
std::string Styles(const RibbonGroupLayout& g)
{
    std::string s;
    for (const RibbonGroupLayoutItem& it : g.items)
        s += (s.empty() ? "" : " ") + std::to_string(it.Style());
    return s;
}

RibbonGroupLayout Group(const char* desc, int nCaptionWidth = 30)
{
    RibbonGroupLayout g;
    g.items = Items(desc);
    g.nCaptionWidth = nCaptionWidth;
    g.nPopupButtonWidth = 47;
    return g;
}

const RibbonBandMetrics kBand; // 93 high, caption 17, rows and buttons 22

} // namespace

TEST(RibbonGroups, GroupBandHeightFollowsTheControlHeightUnlessOverridden)
{
    EXPECT_EQ(93, CalcGroupsHeight(0, 22, 17));
    EXPECT_EQ(30 * 3 + 24 + 10, CalcGroupsHeight(0, 30, 24));
    EXPECT_EQ(120, CalcGroupsHeight(120, 22, 17));
}

TEST(RibbonGroups, ColumnLayoutStacksSmallControlsAndGivesLargeOnesAColumn)
{
    struct Case {
        const char* desc;
        const char* styles;
        int nWidth;
        std::vector<CRect> rects;
    };
    const Case cases[] = {
        {"L L", "4 4", 84, {CRect(2, 0, 42, 66), CRect(42, 0, 82, 66)}},
        {"S S S S", "3 3 3 3", 124, {CRect(2, 0, 62, 22), CRect(2, 22, 62, 44), CRect(2, 44, 62, 66), CRect(62, 0, 122, 22)}},
        // A group start moves 6 px on and begins a column.
        {"S |S", "3 3", 130, {CRect(2, 0, 62, 22), CRect(68, 0, 128, 22)}},
        // A large button after small ones takes a column of its own.
        {"S L", "3 4", 104, {CRect(2, 0, 62, 22), CRect(62, 0, 102, 66)}},
        // The wrap flag starts a column without the separator's gap.
        {"S /S", "3 3", 124, {CRect(2, 0, 62, 22), CRect(62, 0, 122, 22)}},
        // Galleries keep their own style (0).
        {"G S", "0 3", 164, {CRect(2, 0, 102, 66), CRect(102, 0, 162, 22)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desc);
        RibbonGroupLayout g = Group(c.desc);
        g.Begin(Measure);
        int w = g.CalcWidth(kBand, Measure);
        EXPECT_EQ(c.styles, Styles(g));
        ASSERT_EQ(c.rects.size(), g.items.size());
        for (size_t i = 0; i < c.rects.size(); i++) {
            EXPECT_EQ(c.rects[i], g.items[i].rc) << i;
        }
        EXPECT_EQ(c.nWidth, w);
    }
}

TEST(RibbonGroups, ExplicitStylesAndCaptionWidthWin)
{
    RibbonGroupLayout g = Group("L S", 200);
    g.items[0].nExplicitStyle = kRibbonStyleIcon;
    g.Begin(Measure);
    EXPECT_EQ(kRibbonStyleNone, g.items[0].nRibbonStyle);
    EXPECT_EQ(kRibbonStyleIcon, g.items[0].Style());
    EXPECT_EQ(200, g.CalcWidth(kBand, Measure)); // the caption is wider than the stacked pair
    EXPECT_EQ(2 + 60 + 2, g.nContentWidth);
}

TEST(RibbonGroups, ReductionStepsByLevel)
{
    struct Case {
        const char* name;
        const char* desc;
        std::vector<int> levels; // one Reduce per entry
        std::vector<bool> changed;
        const char* styles;
        bool bCollapsed;
    };
    const Case cases[] = {
        // Level 0 stacks the last three large buttons; the next needs three more.
        {"five large", "L L L L L", {0, 0}, {true, false}, "4 4 3 3 3", false},
        {"six large", "L L L L L L", {0, 0}, {true, true}, "3 3 3 3 3 3", false},
        // A group start inside the three stops level 0 there.
        {"run break", "L L |L L", {0}, {false}, "4 4 4 4", false},
        {"run starts the three", "L |L L L", {0}, {true}, "4 3 3 3", false},
        // Level 1 takes three in a row when one of them is large.
        {"mixed", "S L S S", {0, 1}, {false, true}, "3 3 3 3", false},
        // Level 2 turns a stacked column of three into icons.
        {"column to icons", "L S S S", {2}, {true}, "4 2 2 2", false},
        // ... but not when the column is all the group has.
        {"only a column", "S S S", {2}, {false}, "3 3 3", false},
        // Level 2 without a column shows a gallery as a button.
        {"gallery to button", "G L", {2, 2}, {true, false}, "4 4", false},
        // Galleries are never stacked.
        {"gallery in the way", "L G L L", {0, 1}, {false, false}, "4 0 4 4", false},
        // Level 3 collapses a group of more than one control.
        {"collapse", "L L", {3, 3}, {true, false}, "4 4", true},
        // One large button is never collapsed.
        {"single large", "L", {0, 1, 2, 3}, {false, false, false, false}, "4", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RibbonGroupLayout g = Group(c.desc, 0);
        g.Begin(Measure);
        g.CalcWidth(kBand, Measure);
        for (size_t i = 0; i < c.levels.size(); i++) {
            EXPECT_EQ(c.changed[i], (bool)g.Reduce(c.levels[i], 50, kBand)) << "step " << i;
            g.CalcWidth(kBand, Measure);
        }
        EXPECT_EQ(c.styles, Styles(g));
        EXPECT_EQ(c.bCollapsed, (bool)g.bCollapsed);
        for (const RibbonGroupLayoutItem& it : g.items) {
            EXPECT_EQ(c.bCollapsed, (bool)it.bHidden);
        }
    }
}

TEST(RibbonGroups, ReductionScansStopAtTheBandsRowCount)
{
    // Four rows fit a band 107 high: (107 - 17 - 2) / 22. Three large
    // buttons cannot form a column of four, and the scan must not look
    // before the first of them; four can.
    RibbonBandMetrics tall = kBand;
    tall.nGroupsHeight = 107;
    ASSERT_EQ(4, RibbonGroupLayout::BandRows(tall));
    RibbonGroupLayout three = Group("L L L", 0);
    three.Begin(Measure);
    three.CalcWidth(tall, Measure);
    EXPECT_FALSE(three.Reduce(0, 10, tall));
    EXPECT_FALSE(three.Reduce(1, 10, tall));
    EXPECT_EQ("4 4 4", Styles(three));
    RibbonGroupLayout four = Group("L L L L", 0);
    four.Begin(Measure);
    four.CalcWidth(tall, Measure);
    EXPECT_TRUE(four.Reduce(0, 10, tall));
    EXPECT_EQ("3 3 3 3", Styles(four));
}

TEST(RibbonGroups, AWideCaptionOnlyShrinksAtLevelTwo)
{
    RibbonGroupLayout g = Group("L", 120); // content 44
    g.Begin(Measure);
    EXPECT_EQ(120, g.CalcWidth(kBand, Measure));
    EXPECT_FALSE(g.Reduce(0, 30, kBand));
    EXPECT_FALSE(g.Reduce(1, 30, kBand));
    EXPECT_FALSE(g.Reduce(3, 30, kBand));
    EXPECT_TRUE(g.Reduce(2, 30, kBand));
    EXPECT_EQ(90, g.nCaptionWidth);
    EXPECT_TRUE(g.Reduce(2, 100, kBand));
    EXPECT_EQ(44, g.nCaptionWidth); // never below the content
    EXPECT_EQ(44, g.CalcWidth(kBand, Measure));
    EXPECT_FALSE(g.Reduce(3, 30, kBand));
}

TEST(RibbonGroups, BeginRestartsFromTheFullLayout)
{
    RibbonGroupLayout g = Group("L L L", 0);
    g.Begin(Measure);
    g.CalcWidth(kBand, Measure);
    ASSERT_TRUE(g.Reduce(3, 10, kBand));
    g.Begin(Measure); // the next pass
    EXPECT_TRUE(g.bCollapsedAtStart);
    EXPECT_FALSE(g.bCollapsed);
    EXPECT_EQ("4 4 4", Styles(g));
    EXPECT_TRUE(g.NeedsAnotherLayout());
    EXPECT_EQ(2, g.nGroupingRows);
}

TEST(RibbonGroups, CollapsedGroupIsItsPopupButtonWide)
{
    RibbonGroupLayout g = Group("L L", 0);
    g.Begin(Measure);
    g.CalcWidth(kBand, Measure);
    g.Reduce(3, 10, kBand);
    EXPECT_EQ(42, g.CalcWidth(kBand, Measure)); // popup button 47 - 5
    g.Position(42, 10, 3, kBand);
    EXPECT_EQ(CRect(10, 3, 57, 89), g.rc);
}

TEST(RibbonGroups, GroupingLayoutRowsAndTheThreeRowFit)
{
    // Three runs of two 22-px controls.
    RibbonGroupLayout g = Group("C C |C C |C C", 0);
    g.bControlsGrouping = TRUE;
    g.Begin(Measure);
    EXPECT_EQ("0 0 0 0 0 0", Styles(g));
    // Two rows: the break falls at the first run passing half the one-row width.
    int w = g.CalcWidth(kBand, Measure);
    std::string rows;
    for (const RibbonGroupLayoutItem& it : g.items)
        rows += it.bNewRow ? "|" : ".";
    EXPECT_EQ("..|...", rows);
    EXPECT_EQ(2 + 22 + 22 + 3 + 22 + 22 + 2, w);
    // Level 1 asks for three rows: one run per row, the rows spread over
    // the band (free 67 - 66 = 1).
    EXPECT_FALSE(g.Reduce(0, 10, kBand));
    EXPECT_TRUE(g.Reduce(1, 10, kBand));
    EXPECT_FALSE(g.Reduce(1, 10, kBand));
    w = g.CalcWidth(kBand, Measure);
    rows.clear();
    for (const RibbonGroupLayoutItem& it : g.items)
        rows += it.bNewRow ? "|" : ".";
    EXPECT_EQ("..|.|.", rows);
    EXPECT_EQ(48, w);
    EXPECT_EQ(0, g.items[0].rc.top);
    EXPECT_EQ(22, g.items[2].rc.top);
    EXPECT_EQ(44, g.items[4].rc.top);
}

TEST(RibbonGroups, ThreeRowFitOfManyRunsKeepsTheRowWidthAtABreak)
{
    // A break does not restart the row: once a run start passes the limit,
    // every later one that would pass it breaks as well. The bisection
    // finds the smallest limit with at most two breaks ('|' starts a row).
    struct Case {
        const char* desc;
        const char* rows;
        int nWidth;
    };
    const Case cases[] = {
        // Three runs: two breaks at once, one run per row.
        {"C C |C C |C C", "..|.|.", 48},
        // Six runs of one: four stay on the first row (limit 95).
        {"C |C |C |C |C |C", "....||", 2 + 4 * 22 + 3 * 3 + 2},
        // A wide first run: the next run still fits beside it (limit 67).
        {"C C |C |C |C", "...||", 2 + 3 * 22 + 3 + 2},
        // A wide last run breaks on its own (limit 45).
        {"C |C |C |C C C", "..||..", 2 + 3 * 22 + 2},
        // Wide and narrow runs: after the break at the third run the
        // fourth, narrow one breaks too (limit 89; a restarted row would
        // have kept it beside the third).
        {"C C C |C |C C C |C", "....|..|", 2 + 4 * 22 + 3 + 2},
    };
    for (const Case& c : cases) {
        RibbonGroupLayout g = Group(c.desc, 0);
        g.bControlsGrouping = TRUE;
        g.Begin(Measure);
        g.CalcWidth(kBand, Measure);
        ASSERT_TRUE(g.Reduce(1, 10, kBand)) << c.desc;
        const int w = g.CalcWidth(kBand, Measure);
        std::string rows;
        for (const RibbonGroupLayoutItem& it : g.items)
            rows += it.bNewRow ? "|" : ".";
        EXPECT_EQ(c.rows, rows) << c.desc;
        EXPECT_EQ(c.nWidth, w) << c.desc;
    }
}

TEST(RibbonGroups, ExpandGrowsAGalleryByWholeItems)
{
    struct Case {
        int nSpare;
        bool bChanged;
        int cx;
    };
    for (const Case& c : {Case{29, false, 100}, Case{30, true, 130}, Case{95, true, 190}}) {
        RibbonGroupLayout g = Group("L G", 0);
        g.Begin(Measure);
        g.CalcWidth(kBand, Measure);
        EXPECT_EQ(c.bChanged, (bool)g.Expand(c.nSpare)) << c.nSpare;
        g.CalcWidth(kBand, Measure);
        EXPECT_EQ(c.cx, g.items[1].cx) << c.nSpare;
    }
    RibbonGroupLayout button = Group("G", 0);
    button.items[0].nExplicitStyle = kRibbonStyleLarge; // not in place
    button.Begin(Measure);
    EXPECT_FALSE(button.Expand(300));
}

TEST(RibbonGroups, PositionCentresColumnsAndTheContent)
{
    // A band 133 high leaves a column of three small controls 40 px spare:
    // they move down 10, 20 and 30.
    RibbonBandMetrics band = kBand;
    band.nGroupsHeight = 133;
    RibbonGroupLayout g = Group("S S S", 0);
    g.bControlsCentering = TRUE;
    g.Begin(Measure);
    const int w = g.CalcWidth(band, Measure);
    g.Position(w, 100, 3, band);
    EXPECT_EQ(3 + 2 + 0 + 10, g.items[0].rc.top);
    EXPECT_EQ(3 + 2 + 22 + 20, g.items[1].rc.top);
    EXPECT_EQ(3 + 2 + 44 + 30, g.items[2].rc.top);
    EXPECT_EQ(100 + 2 + 2, g.items[0].rc.left);
    EXPECT_EQ(CRect(100, 3, 100 + w, 3 + 126 - 17), g.items[0].rcClient);
    EXPECT_EQ(CRect(100, 3, 100 + w + 5, 3 + 126), g.rc);

    // A caption wider than the content centres the content under it.
    RibbonGroupLayout c = Group("L", 84); // content 44
    c.bControlsCentering = TRUE;
    c.Begin(Measure);
    c.Position(c.CalcWidth(kBand, Measure), 0, 0, kBand);
    EXPECT_EQ(2 + (84 - 44) / 2 + 2, c.items[0].rc.left);
}

TEST(RibbonGroups, CollectionReducesTheLastGroupsFirstAndClampsTheOffset)
{
    struct Case {
        const char* name;
        int nWidth;
        int nOffset;
        const char* styles1;
        const char* styles2;
        int nOffsetOut;
        bool bLeft, bRight;
    };
    // Two groups of five large buttons: 204 each, 415 with the gap; the
    // margins take 4 + 6.
    const Case cases[] = {
        {"fits", 425, 80, "4 4 4 4 4", "4 4 4 4 4", 0, false, false},
        {"last group first", 420, 0, "4 4 4 4 4", "4 4 3 3 3", 0, false, false},
        // Level 1 stacks any three holding a large button, even where
        // that widens the group for a step.
        {"both stacked", 300, 0, "4 4 3 3 3", "3 3 3 3 3", 0, false, false},
        {"collapsed", 60, 0, NULL, NULL, 0, false, true},
        {"scrolled", 60, 500, NULL, NULL, 42 + 7 + 42 - 50, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RibbonGroupLayout g1 = Group("L L L L L", 0), g2 = Group("L L L L L", 0);
        std::vector<RibbonGroupLayout*> groups = {&g1, &g2};
        RibbonGroupsResult r = LayoutGroups(groups, c.nWidth, CRect(4, 3, 6, 3), c.nOffset, kBand, Measure);
        if (c.styles1) {
            EXPECT_EQ(c.styles1, Styles(g1));
            EXPECT_EQ(c.styles2, Styles(g2));
        } else {
            EXPECT_TRUE(g1.bCollapsed && g2.bCollapsed);
        }
        EXPECT_EQ(c.nOffsetOut, r.nOffset);
        EXPECT_EQ(c.bLeft, (bool)r.bScrollLeft);
        EXPECT_EQ(c.bRight, (bool)r.bScrollRight);
        EXPECT_LE(r.nOffset, std::max(0, r.nContentWidth - (c.nWidth - 10)));
        EXPECT_EQ(4 - r.nOffset, g1.rc.left);
        EXPECT_EQ(g1.rc.right - 5 + 7, g2.rc.left);
    }
}

TEST(RibbonGroups, InvisibleGroupsTakeNoRoom)
{
    RibbonGroupLayout g1 = Group("L", 0), g2 = Group("L L", 0), g3 = Group("L", 0);
    g2.bVisible = FALSE;
    std::vector<RibbonGroupLayout*> groups = {&g1, &g2, &g3};
    RibbonGroupsResult r = LayoutGroups(groups, 500, CRect(4, 3, 6, 3), 0, kBand, Measure);
    EXPECT_EQ(44 + 7 + 44, r.nContentWidth);
    EXPECT_EQ(4 + 44 + 7, g3.rc.left);
    std::vector<RibbonGroupLayout*> none;
    EXPECT_FALSE(LayoutGroups(none, 500, CRect(4, 3, 6, 3), 10, kBand, Measure).bScrollRight);
}

TEST(RibbonGroups, OptionAndPopupButtons)
{
    const CRect rc(10, 3, 110, 89);
    struct Case {
        BOOL bCollapsed, bShow;
        bool bPopup;
        int nOptionHide;
    };
    for (const Case& c : {Case{FALSE, TRUE, false, 0}, Case{FALSE, FALSE, false, 1}, Case{TRUE, TRUE, true, 2},
                          Case{TRUE, FALSE, true, 1}}) {
        RibbonGroupButtons b = PlaceGroupButtons(rc, c.bCollapsed, c.bShow, 17);
        EXPECT_EQ(c.bPopup, (bool)b.bPopupShown);
        EXPECT_EQ(c.nOptionHide, b.nOptionHide);
        if (b.bPopupShown) {
            EXPECT_EQ(rc, b.rcPopup);
        }
        if (!b.nOptionHide) {
            EXPECT_EQ(CRect(110 - 18, 89 - 17, 107, 86), b.rcOption);
        }
    }
}

TEST(RibbonBar, HeightsByState)
{
    struct Case {
        const char* name;
        std::function<void(RibbonBarState&)> set;
        int nWidth, nFrameHeight;
        int nHeight;
    };
    // Caption band 26 (no hook), tabs 23, groups 93, QAT 26.
    const Case cases[] = {
        {"normal", [](RibbonBarState&) {}, 800, 600, 26 + 23 + 93},
        {"frame 249 high", [](RibbonBarState&) {}, 800, 249, 0},
        {"frame 250 high", [](RibbonBarState&) {}, 800, 250, 26 + 23 + 93},
        {"bar 249 wide", [](RibbonBarState&) {}, 249, 600, 0},
        {"bar 250 wide", [](RibbonBarState&) {}, 250, 600, 26 + 23 + 93},
        // The bar's own minimum size, the same both ways.
        {"minimum 400, frame 399 high", [](RibbonBarState& s) { s.nMinimumSize = 400; }, 800, 399, 0},
        {"minimum 400, frame 400 high", [](RibbonBarState& s) { s.nMinimumSize = 400; }, 800, 400, 26 + 23 + 93},
        {"minimum 400, bar 399 wide", [](RibbonBarState& s) { s.nMinimumSize = 400; }, 399, 600, 0},
        {"minimum 400, bar 400 wide", [](RibbonBarState& s) { s.nMinimumSize = 400; }, 400, 600, 26 + 23 + 93},
        {"minimum 100, frame 249 high", [](RibbonBarState& s) { s.nMinimumSize = 100; }, 800, 249, 26 + 23 + 93},
        {"minimum 100, bar 99 wide", [](RibbonBarState& s) { s.nMinimumSize = 100; }, 99, 600, 0},
        {"minimum 100, minimised, frame 150 high",
         [](RibbonBarState& s) {
             s.nMinimumSize = 100;
             s.bMinimized = TRUE;
         },
         800, 150, 26 + 23 + 2},
        {"minimised, QAT above", [](RibbonBarState& s) { s.bMinimized = TRUE; }, 800, 600, 26 + 23 + 2},
        {"minimised, QAT below",
         [](RibbonBarState& s) {
             s.bMinimized = TRUE;
             s.bQatBelow = TRUE;
         },
         800, 600, 26 + 23 + 26 + 1},
        {"QAT below", [](RibbonBarState& s) { s.bQatBelow = TRUE; }, 800, 600, 26 + 23 + 93 + 27},
        {"no tab selected", [](RibbonBarState& s) { s.bTabSelected = FALSE; }, 800, 600, 26 + 23 + 2},
        {"no tabs", [](RibbonBarState& s) { s.bTabsVisible = FALSE; }, 800, 600, 26 + 2 + 93},
        {"no caption",
         [](RibbonBarState& s) {
             s.bCaptionBar = FALSE;
         },
         800, 600, 23 + 93},
        {"hooked frame", [](RibbonBarState& s) {
             s.bFrameHook = TRUE;
             s.nHookTopBorder = 4;
         },
         800, 600, 4 + 26 + 23 + 93},
        {"tall QAT control", [](RibbonBarState& s) { s.qatControlHeights = {22, 30}; }, 800, 600, 34 + 23 + 93},
        {"groups override", [](RibbonBarState& s) { s.nGroupsOverride = 120; }, 800, 600, 26 + 23 + 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RibbonBarState s;
        s.nThemeCaptionHeight = 26;
        c.set(s);
        EXPECT_EQ(c.nHeight, s.CalcDockedHeight(c.nWidth, c.nFrameHeight));
    }
}

TEST(RibbonBar, QuickAccessButtonAndBandHeights)
{
    EXPECT_EQ(CSize(13, 22), QuickAccessButtonSize(22));
    EXPECT_EQ(CSize(17, 30), QuickAccessButtonSize(30));
    RibbonBarState s;
    EXPECT_EQ(26, s.GetQuickAccessHeight());
    s.nCustomButtonHeight = 40;
    EXPECT_EQ(44, s.GetQuickAccessHeight());
    // A low theme caption grows to hold the QAT above the ribbon.
    RibbonBarState low;
    low.nThemeCaptionHeight = 10;
    EXPECT_EQ(26, low.GetCaptionHeight());
    low.bQatBelow = TRUE;
    EXPECT_EQ(10, low.GetCaptionHeight());
    low.bCaptionBar = FALSE;
    EXPECT_EQ(0, low.GetCaptionHeight());
}

TEST(RibbonBar, QuickAccessOverflowsIntoTheMoreButton)
{
    struct Case {
        const char* name;
        int nCommands;
        int nLimit;
        BOOL bBelow, bInTabRow, bVisible;
        const char* overflow; // per command
        bool bMore, bCustomize;
        int xCustomize;
    };
    const Case cases[] = {
        {"fits above", 3, 200, FALSE, FALSE, TRUE, "...", false, true, 10 + 66 + 12},
        {"fits below", 3, 200, TRUE, FALSE, TRUE, "...", false, true, 10 + 66},
        {"overflow", 5, 10 + 70, FALSE, FALSE, TRUE, "...xx", true, false, 0},
        {"hidden QAT", 2, 200, FALSE, FALSE, FALSE, "xx", false, false, 0},
        {"in the tab row", 2, 200, FALSE, TRUE, TRUE, "..", false, true, 10 + 44},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<QuickAccessItem> items(c.nCommands);
        for (QuickAccessItem& it : items)
            it.size = CSize(22, 22);
        QuickAccessPlacement p;
        p.rcQat = CRect(10, 0, 300, 26);
        p.x = 10;
        p.nRightLimit = c.nLimit;
        p.bBelow = c.bBelow;
        p.bInTabRow = c.bInTabRow;
        p.bVisible = c.bVisible;
        p.szCustomize = p.szMore = QuickAccessButtonSize(22);
        PlaceQuickAccess(items, p);
        std::string overflow;
        for (const QuickAccessItem& it : items)
            overflow += it.bOverflow ? "x" : ".";
        EXPECT_EQ(c.overflow, overflow);
        EXPECT_EQ(c.bMore, (bool)p.bMoreShown);
        EXPECT_EQ(c.bCustomize, (bool)p.bCustomizeShown);
        if (c.bCustomize) {
            EXPECT_EQ(c.xCustomize, p.rcCustomize.left);
        }
        for (const QuickAccessItem& it : items) {
            if (!it.bOverflow) {
                EXPECT_LE(it.rc.right, c.nLimit);
            }
        }
        // Commands above the ribbon sit 2 px lower than the band's centre.
        if (c.bVisible) {
            EXPECT_EQ(2 + (c.bBelow || c.bInTabRow ? 0 : 2), items[0].rc.top);
        }
    }
    EXPECT_EQ(785, QuickAccessRightLimit(800, TRUE, FALSE, 26));
    EXPECT_EQ(685, QuickAccessRightLimit(800, FALSE, TRUE, 26));
    EXPECT_EQ(800 - 78, QuickAccessRightLimit(800, FALSE, FALSE, 26));
}

TEST(RibbonBar, TabRowControlsFlankTheTabStrip)
{
    // Controls from a word each: 'L' left-aligned 20 wide, 'R' right-aligned
    // 16 wide, a leading '|' BeginGroup; all 14 high in the row (0, 30) ..
    // (600, 53).
    struct Case {
        const char* desc;
        std::vector<int> lefts; // each control's left edge
        int xLeftEnd, xRightStart;
        bool bLeftPlaced;
    };
    const Case cases[] = {
        {"", {}, 40, 600, false},
        {"L L", {40, 60}, 80, 600, true},
        {"L |L", {40, 66}, 86, 600, true},
        // Right-aligned ones keep their order (the last rightmost) and take
        // no group gap.
        {"R |R R", {552, 568, 584}, 40, 552, false},
        // A maximised MDI child: its system-menu icon on the left, its
        // three buttons on the right.
        {"L R R R", {40, 552, 568, 584}, 60, 552, true},
    };
    const CRect rcRow(2, 30, 598, 53);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desc);
        std::vector<TabRowItem> items;
        for (const char* p = c.desc; *p; p++) {
            if (*p == ' ')
                continue;
            TabRowItem it;
            it.bBeginGroup = *p == '|';
            if (*p == '|')
                p++;
            it.bRightAligned = *p == 'R';
            it.size = CSize(it.bRightAligned ? 16 : 20, 14);
            items.push_back(it);
        }
        const TabRowSpan span = PlaceTabRowControls(items, rcRow, 40, 600);
        ASSERT_EQ(c.lefts.size(), items.size());
        for (size_t i = 0; i < items.size(); i++) {
            EXPECT_EQ(c.lefts[i], items[i].rc.left) << i;
            EXPECT_EQ(CRect(c.lefts[i], 34, c.lefts[i] + items[i].size.cx, 48), items[i].rc) << "centred in the row";
        }
        EXPECT_EQ(c.xLeftEnd, span.xLeftEnd);
        EXPECT_EQ(c.xRightStart, span.xRightStart);
        EXPECT_EQ(c.bLeftPlaced, (bool)span.bLeftPlaced);
    }
}

namespace {

RibbonTabInfo Tab(int left, int right, int color = 0, const char* caption = "", BOOL bVisible = TRUE)
{
    RibbonTabInfo t;
    t.left = left;
    t.right = right;
    t.nContextColor = color;
    t.strContextCaption = caption;
    t.bVisible = bVisible;
    return t;
}

} // namespace

TEST(RibbonHeaders, RunsOfContextTabsShareAHeader)
{
    struct Case {
        const char* name;
        std::vector<RibbonTabInfo> tabs;
        int L, R;
        std::vector<CRect> rects;
        std::vector<int> first;
    };
    const Case cases[] = {
        {"same caption and colour", {Tab(0, 50), Tab(50, 110, 1, "Table"), Tab(110, 170, 1, "Table")}, 0, 800, {CRect(50, 4, 170, 30)}, {1}},
        {"same caption, other colour", {Tab(50, 110, 1, "Table"), Tab(110, 170, 2, "Table")}, 0, 800, {CRect(50, 4, 110, 30), CRect(110, 4, 170, 30)}, {0, 1}},
        {"no caption, no header", {Tab(50, 110, 3, ""), Tab(110, 170)}, 0, 800, {}, {}},
        {"a plain tab breaks the run", {Tab(0, 50, 1, "A"), Tab(50, 60), Tab(60, 120, 1, "A")}, 0, 800, {CRect(0, 4, 50, 30), CRect(60, 4, 120, 30)}, {0, 2}},
        {"hidden tabs do not break it", {Tab(0, 50, 1, "A"), Tab(50, 60, 0, "", FALSE), Tab(60, 120, 1, "A")}, 0, 800, {CRect(0, 4, 120, 30)}, {0}},
        // Moved right of the QAT, widened to 40.
        {"moved and widened", {Tab(10, 30, 4, "X"), Tab(30, 100, 5, "Y")}, 50, 800, {CRect(50, 4, 90, 30), CRect(90, 4, 160, 30)}, {0, 1}},
        // Cut back at the right, keeping 40.
        {"cut at the right", {Tab(600, 700, 4, "X"), Tab(700, 900, 5, "Y")}, 0, 760, {CRect(600, 4, 700, 30), CRect(700, 4, 760, 30)}, {0, 1}},
        {"cut, keeping 40", {Tab(600, 700, 4, "X"), Tab(700, 780, 5, "Y")}, 0, 730, {CRect(600, 4, 690, 30), CRect(690, 4, 730, 30)}, {0, 1}},
        {"no room for 40 each", {Tab(0, 30, 4, "X"), Tab(30, 60, 5, "Y")}, 10, 70, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto headers = BuildContextHeaders(c.tabs, 0, 30, c.L, c.R);
        ASSERT_EQ(c.rects.size(), headers.size());
        for (size_t i = 0; i < headers.size(); i++) {
            EXPECT_EQ(c.rects[i], headers[i].rc) << i;
            EXPECT_EQ(c.first[i], headers[i].nFirstTab) << i;
        }
    }
}

TEST(RibbonHeaders, TitleMovesAsideOfTheHeaders)
{
    auto headers = BuildContextHeaders({Tab(300, 400, 1, "Table")}, 0, 30, 0, 800);
    // Headers left of the title's centre push it right; right of it, left.
    EXPECT_EQ(CRect(400, 2, 500, 30), KeepTitleClearOfHeaders(headers, CRect(320, 2, 500, 30), 100, 0, 800));
    EXPECT_EQ(CRect(200, 2, 300, 30), KeepTitleClearOfHeaders(headers, CRect(250, 2, 380, 30), 100, 0, 800));
    EXPECT_EQ(CRect(250, 2, 300, 30), KeepTitleClearOfHeaders(headers, CRect(250, 2, 380, 30), 100, 250, 800));
    EXPECT_EQ(CRect(420, 2, 780, 30), KeepTitleClearOfHeaders(headers, CRect(420, 2, 780, 30), 100, 0, 800));
    EXPECT_STREQ("BLUE", ContextColorName(1));
    EXPECT_STREQ("ORANGE", ContextColorName(7));
    EXPECT_STREQ("", ContextColorName(8));
    EXPECT_STREQ("", ContextColorName(-1));
}

TEST(RibbonKeyTips, QuickAccessNumbers)
{
    const char* expected[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "01", "02", "03", "04", "05", "06", "07",
                              "08", "09", "", ""};
    for (int i = 0; i < 20; i++) {
        EXPECT_STREQ(expected[i], QuickAccessTipText(i)) << i;
    }
}

TEST(RibbonKeyTips, Anchors)
{
    const CRect rcGroup(100, 30, 300, 116); // caption band 99..116
    struct Case {
        const char* name;
        CRect rc;
        int nType, nStyle;
        CPoint pt;
        int nAlign;
    };
    const Case cases[] = {
        {"large button", CRect(104, 32, 144, 98), qxpControlButton, 4, CPoint(124, 99), kTipCenter},
        {"upper third", CRect(150, 32, 210, 54), qxpControlButton, 3, CPoint(161, 32), kTipCenterY},
        {"middle third", CRect(150, 54, 210, 76), qxpControlButton, 3, CPoint(161, 63), kTipCenterY},
        {"lower third", CRect(150, 76, 210, 98), qxpControlButton, 3, CPoint(161, 99), kTipCenterY},
        {"gallery", CRect(150, 32, 250, 98), qxpControlGallery, 0, CPoint(250, 99), kTipCenter},
        {"check box", CRect(150, 32, 210, 54), qxpControlCheckBox, 3, CPoint(156, 32), kTipCenterY},
        {"combo box", CRect(150, 54, 250, 76), qxpControlComboBox, 0, CPoint(200, 63), kTipCenter},
        {"caption band", CRect(283, 101, 298, 114), qxpControlButton, 0, CPoint(290, 124), kTipCenterX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeyTipAnchor a = GroupControlTipAnchor(rcGroup, 17, 130, c.rc, c.nType, c.nStyle);
        EXPECT_EQ(c.pt, a.pt);
        EXPECT_EQ(c.nAlign, a.nAlign);
    }
    EXPECT_EQ(CPoint(20, 11), QuickAccessTipAnchor(CRect(10, 0, 30, 22)).pt);
    EXPECT_EQ(CPoint(40, 14), TabTipAnchor(CRect(10, 0, 70, 23)).pt);
    KeyTipAnchor sys = SystemButtonTipAnchor(CRect(0, 0, 40, 40));
    EXPECT_EQ(CPoint(20, 20), sys.pt);
    EXPECT_EQ(kTipCenter, sys.nAlign);
}

TEST(RibbonMenus, QuickAccessMenuItemsPerCase)
{
    struct Case {
        const char* name;
        int nId;
        std::function<void(QuickAccessMenuState&)> set;
        int nOutId;
        bool bVisible, bEnabled, bChecked;
    };
    auto none = [](QuickAccessMenuState&) {};
    const Case cases[] = {
        {"remove, on the QAT", 9605, [](QuickAccessMenuState& s) { s.bInQat = TRUE; }, 9605, true, true, false},
        {"remove, not on it", 9605, none, 9605, false, true, false},
        {"remove, locked", 9605,
         [](QuickAccessMenuState& s) {
             s.bInQat = TRUE;
             s.bLocked = TRUE;
         },
         9605, false, true, false},
        {"add", 9606, none, 9606, true, true, false},
        {"add, not allowed", 9606, [](QuickAccessMenuState& s) { s.bAllowed = FALSE; }, 9606, true, false, false},
        {"add, not customizable", 9606, [](QuickAccessMenuState& s) { s.bCustomizable = FALSE; }, 9606, false, true,
         false},
        {"add, on the QAT", 9606, [](QuickAccessMenuState& s) { s.bInQat = TRUE; }, 9606, false, true, false},
        {"below, QAT above", 9608, none, 9608, true, true, false},
        {"below, QAT below", 9608, [](QuickAccessMenuState& s) { s.bQatBelow = TRUE; }, 9608, false, true, false},
        {"above, QAT below", 9610, [](QuickAccessMenuState& s) { s.bQatBelow = TRUE; }, 9610, true, true, false},
        {"above, QAT hidden", 9610,
         [](QuickAccessMenuState& s) {
             s.bQatBelow = TRUE;
             s.bQatVisible = FALSE;
         },
         9610, false, true, false},
        {"minimize", 9612, [](QuickAccessMenuState& s) { s.bMinimized = TRUE; }, 9612, true, true, true},
        {"minimize not allowed", 9612, [](QuickAccessMenuState& s) { s.bAllowMinimize = FALSE; }, 9612, false, true,
         false},
        {"commands placeholder", 9613, none, 9613, false, true, false},
        {"heading without defaults", 9614, none, 9614, false, true, false},
        {"heading", 9614, [](QuickAccessMenuState& s) { s.bHasDefaultList = TRUE; }, 9614, true, true, false},
        {"more commands", 9616, none, 9607, true, true, false},
        {"show below", 9617, none, 9608, true, true, false},
        {"show above", 9618, [](QuickAccessMenuState& s) { s.bQatBelow = TRUE; }, 9610, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QuickAccessMenuState s;
        c.set(s);
        QuickAccessMenuItem it = QuickAccessMenuRule(c.nId, s);
        EXPECT_EQ(c.nOutId, it.nId);
        EXPECT_EQ(c.bVisible, (bool)it.bVisible);
        EXPECT_EQ(c.bEnabled, (bool)it.bEnabled);
        EXPECT_EQ(c.bChecked, (bool)it.bChecked);
    }
    QuickAccessMenuState fixed;
    fixed.bCustomizable = FALSE;
    EXPECT_TRUE(QuickAccessMenuRule(9607, fixed).bCustomizeCaption);
    EXPECT_FALSE(QuickAccessMenuRule(9607, QuickAccessMenuState()).bCustomizeCaption);
    EXPECT_TRUE(QuickAccessMenuRule(9614, QuickAccessMenuState()).bHeading);
}

TEST(RibbonSystemMenu, BottomBandButtons)
{
    auto rects = PlaceSystemMenuButtons({60, 50, 40}, 400, 300);
    ASSERT_EQ(3u, rects.size());
    EXPECT_EQ(CRect(233, 275, 293, 297), rects[0]);
    EXPECT_EQ(CRect(299, 275, 349, 297), rects[1]);
    EXPECT_EQ(CRect(355, 275, 395, 297), rects[2]);
    EXPECT_TRUE(PlaceSystemMenuButtons({}, 400, 300).empty());
    EXPECT_EQ(351, SystemMenuPageMinHeight(400));
}

TEST(RibbonSystemMenu, TheCornerButtonAndWhereItsMenuOpens)
{
    // Tab row 23, QAT 26: 46 wide, 45 high, from the frame's top border
    // plus the caption's top, less one.
    struct Case {
        int y0, nCaptionTop;
        CRect rc;
    };
    const Case cases[] = {{0, 0, CRect(0, -1, 46, 44)}, {8, 0, CRect(0, 7, 46, 52)}, {4, 0, CRect(0, 3, 46, 48)}, {8, 2, CRect(0, 9, 46, 54)}};
    for (const Case& c : cases)
        EXPECT_EQ(c.rc, SystemButtonCornerRect(23, 26, c.y0, c.nCaptionTop)) << c.y0 << "," << c.nCaptionTop;
    // The menu's 18-pixel top border over the button's lower part only on a
    // frame whose caption the ribbon draws.
    const CRect rcButton(100, 200, 146, 245);
    EXPECT_EQ(CRect(100, 200, 146, 227), SystemMenuAnchor(rcButton, TRUE));
    EXPECT_EQ(rcButton, SystemMenuAnchor(rcButton, FALSE));
}

TEST(RibbonSystemMenu, RecentFiles)
{
    std::vector<CString> paths;
    for (int i = 1; i <= 11; i++) {
        CString s;
        s.Format("C:\\docs\\file%d.txt", i);
        paths.push_back(s);
    }
    paths[2] = "C:\\docs\\R&D notes.txt";
    auto captions = RecentFileCaptions(paths);
    ASSERT_EQ(11u, captions.size());
    EXPECT_STREQ("&1 file1.txt", captions[0]);
    EXPECT_STREQ("&3 R&&D notes.txt", captions[2]);
    EXPECT_STREQ("&9 file9.txt", captions[8]);
    EXPECT_STREQ("1&0 file10.txt", captions[9]);
    EXPECT_STREQ("11 file11.txt", captions[10]);
    // The list ends at the first empty entry.
    paths[4].Empty();
    EXPECT_EQ(4u, RecentFileCaptions(paths).size());
    EXPECT_STREQ("name.txt", PathTitle("D:/a/b/name.txt"));
    EXPECT_STREQ("name", PathTitle("name"));

    // Removing the previous items: the ids of the list, not the one after it.
    const UINT first = 0xE110;
    EXPECT_TRUE(IsRecentFileItemId(first, first, 4));
    EXPECT_TRUE(IsRecentFileItemId(first + 3, first, 4));
    EXPECT_FALSE(IsRecentFileItemId(first + 4, first, 4));
    EXPECT_FALSE(IsRecentFileItemId(first - 1, first, 4));
    EXPECT_FALSE(IsRecentFileItemId(first, first, 0));
}

TEST(RibbonScrolling, StepsRepeatsAndEnsureVisible)
{
    EXPECT_EQ(0, ScrollGroupsOffset(30, TRUE));
    EXPECT_EQ(10, ScrollGroupsOffset(50, TRUE));
    EXPECT_EQ(70, ScrollGroupsOffset(30, FALSE));
    RepeatDelays d = ScrollRepeatDelays(500);
    EXPECT_EQ(400u, d.nFirst);
    EXPECT_EQ(50u, d.nNext);

    struct Case {
        int nOffset, left, right, width;
        BOOL bLeft, bRight;
        int nOut;
    };
    const Case cases[] = {
        {80, 5, 60, 400, TRUE, TRUE, 73},    // under the left button
        {5, -40, 20, 400, TRUE, TRUE, 0},    // never below 0
        {80, 5, 60, 400, FALSE, TRUE, 80},   // no left button: nothing
        {0, 350, 420, 400, FALSE, TRUE, 32}, // past the right edge
        {0, 350, 420, 400, FALSE, FALSE, 0}, // no right button
        {40, 100, 200, 400, TRUE, TRUE, 40}, // already visible
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nOut, EnsureVisibleOffset(c.nOffset, c.left, c.right, c.width, c.bLeft, c.bRight))
            << c.left << ".." << c.right;
}

TEST(RibbonPopups, TabPopupStaysOnTheMonitor)
{
    const CRect work(0, 0, 1280, 1000);
    // A ribbon past the right edge: the popup ends 4 px inside.
    EXPECT_EQ(CRect(100, 80, 1276, 173), PlaceTabPopup(CRect(100, 30, 1400, 200), work, CRect(100, 57, 1400, 80), 93));
    // A ribbon left of the work area starts at its left edge.
    EXPECT_EQ(CRect(0, 80, 700, 173), PlaceTabPopup(CRect(-50, 30, 700, 200), work, CRect(-50, 57, 700, 80), 93));
    // Near the bottom it opens above the tab strip.
    EXPECT_EQ(CRect(0, 857, 700, 950), PlaceTabPopup(CRect(0, 920, 700, 990), work, CRect(0, 950, 700, 973), 93));
    EXPECT_EQ(CSize(125, 86), GroupPopupSize(120, 93));
}

TEST(RibbonFrame, RegionDecisions)
{
    struct Case {
        const char* name;
        FrameRegionRequest r;
        FrameRegionAction action;
        CRect rc;
        int nTop, nBorder;
    };
    auto req = [](int cx, int cy, int border, BOOL dwm, BOOL max, BOOL mdi, BOOL sys) {
        FrameRegionRequest r;
        r.cx = cx;
        r.cy = cy;
        r.nBorder = border;
        r.bComposition = dwm;
        r.bMaximized = max;
        r.bMaximizedMdiChild = mdi;
        r.bUsesSystemMetrics = sys;
        r.nCaptionHeight = 30;
        return r;
    };
    const Case cases[] = {
        {"maximised", req(1032, 776, 8, FALSE, TRUE, FALSE, FALSE), kFrameRegionRect, CRect(8, 8, 1024, 768), 0, 8},
        {"maximised MDI child", req(600, 400, 4, FALSE, TRUE, TRUE, FALSE), kFrameRegionRemove, CRect(), 0, 4},
        {"normal", req(600, 400, 4, FALSE, FALSE, FALSE, FALSE), kFrameRegionTheme, CRect(), 0, 4},
        {"glass", req(600, 400, 8, TRUE, FALSE, FALSE, FALSE), kFrameRegionExtend, CRect(), 30, 4},
        {"glass maximised", req(600, 400, 8, TRUE, TRUE, FALSE, FALSE), kFrameRegionExtend, CRect(), 30, 8},
        {"glass, system caption", req(600, 400, 8, TRUE, FALSE, FALSE, TRUE), kFrameRegionExtend, CRect(), 0, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrameRegionDecision d = FrameRegionTracker::Decide(c.r);
        EXPECT_EQ(c.action, d.action);
        EXPECT_EQ(c.rc, d.rc);
        EXPECT_EQ(c.nTop, d.nTopMargin);
        EXPECT_EQ(c.nBorder, d.nBorder);
    }
}

TEST(RibbonFrame, RegionUpdatesOnceAndNeverStaysLocked)
{
    FrameRegionTracker t;
    int nApplied = 0, nNested = -1;
    FrameRegionRequest r;
    r.cx = 800;
    r.cy = 600;
    auto apply = [&](const FrameRegionDecision&) {
        nApplied++;
        EXPECT_TRUE(t.IsUpdating());
        // A size message sent while the region is set is not served again.
        FrameRegionRequest inner = r;
        inner.cx = 900;
        nNested = t.Update(inner, [&](const FrameRegionDecision&) { return 7; });
        return 1;
    };
    EXPECT_EQ(1, t.Update(r, apply));
    EXPECT_EQ(0, nNested);
    EXPECT_EQ(1, nApplied);
    // The same size again: nothing, and the guard is down afterwards.
    EXPECT_EQ(0, t.Update(r, apply));
    EXPECT_EQ(1, nApplied);
    EXPECT_FALSE(t.IsUpdating());
    r.cx = 820;
    EXPECT_EQ(1, t.Update(r, apply));
    EXPECT_EQ(2, nApplied);
    r.bForce = TRUE;
    EXPECT_EQ(1, t.Update(r, apply));
    EXPECT_EQ(3, nApplied);
    r.bForce = FALSE;
    t.Forget();
    EXPECT_EQ(1, t.Update(r, apply));
    EXPECT_EQ(4, nApplied);
}
