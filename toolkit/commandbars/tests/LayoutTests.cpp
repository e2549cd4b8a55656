// Row and column layout, popup placement against injected work areas and
// the dock-bar row arithmetic, all without windows.
#include <qx/commandbars.h>
#include <qx/barlayout.h>
#include <qx/popup.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

} // namespace

// Rectangles print as their corners in failure messages.
void PrintTo(const CRect& rc, std::ostream* os)
{
    *os << "(" << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom << ")";
}

namespace {

// Builds items from a compact description: width per item, 'g' marks a
// group start, 'w' a forced row start, 'r' right-aligned, 's' stretched,
// 'h' invisible. Height 22 throughout.
QXPLayoutItems Items(const std::vector<std::pair<int, const char*>>& desc)
{
    QXPLayoutItems items;
    for (const auto& s : desc) {
        QXP_LAYOUT_ITEM item;
        item.nWidth = s.first;
        item.nHeight = 22;
        std::string f = s.second;
        item.bBeginGroup = f.find('g') != std::string::npos;
        if (f.find('w') != std::string::npos)
            item.dwFlags |= qxpFlagWrapRow;
        if (f.find('r') != std::string::npos)
            item.dwFlags |= qxpFlagRightAlign;
        if (f.find('s') != std::string::npos)
            item.dwFlags |= qxpFlagControlStretched;
        item.bVisible = f.find('h') == std::string::npos;
        items.push_back(item);
    }
    return items;
}

std::string Rows(const QXPLayoutItems& items)
{
    // "0 1 | 2" style: bars separate rows, '-' marks hidden items.
    std::string s;
    for (size_t i = 0; i < items.size(); i++) {
        if (!items[i].bVisible)
            continue;
        if (items[i].bWrap)
            s += "| ";
        s += std::to_string(i);
        if (items[i].bHidden)
            s += "-";
        s += " ";
    }
    return s;
}

const CSize kSep(6, 6);

struct WrapCase {
    const char* name;
    std::vector<std::pair<int, const char*>> desc;
    int nLength;
    DWORD dwMode;
    const char* rows;
    bool bStretchSet;
};

TEST(RowLayout, WrapTable)
{
    const WrapCase cases[] = {
        {"fits", {{20, ""}, {20, ""}, {20, ""}}, 100, qxpLayoutHorzDock, "0 1 2 ", false},
        {"first alone when too narrow", {{50, ""}, {20, ""}}, 10, qxpLayoutHorzDock, "0 | 1 ", true},
        {"break at the group start", {{20, ""}, {20, "g"}, {20, ""}, {20, ""}}, 70, qxpLayoutHorzDock, "0 | 1 2 3 ", true},
        {"group wider than the bar wraps control by control", {{20, ""}, {20, ""}, {20, ""}}, 45, qxpLayoutHorzDock, "0 1 | 2 ", true},
        {"forced row start", {{20, ""}, {20, "w"}}, 500, qxpLayoutHorzDock, "0 | 1 ", false},
        {"separator gap counts", {{20, ""}, {20, ""}, {20, "g"}}, 62, qxpLayoutHorzDock, "0 1 | 2 ", true},
        {"invisible items are skipped", {{20, ""}, {90, "h"}, {20, ""}}, 45, qxpLayoutHorzDock, "0 2 ", false},
        {"hide instead of wrap", {{20, ""}, {20, ""}, {20, ""}}, 45, qxpLayoutHorzDock | qxpLayoutHideWrap, "0 1 2- ", true},
        {"hide until a forced row", {{20, ""}, {30, ""}, {20, "w"}, {10, ""}}, 30, qxpLayoutHorzDock | qxpLayoutHideWrap, "0 1- | 2 3 ", true},
        {"wrap at every group", {{20, ""}, {20, "g"}, {20, ""}, {20, "g"}}, 500, qxpLayoutHorzDock | qxpLayoutWrapGroups, "0 | 1 2 | 3 ", true},
    };
    for (const WrapCase& c : cases) {
        QXPLayoutItems items = Items(c.desc);
        DWORD dwMode = c.dwMode;
        qxplayout::WrapRows(items, c.nLength, dwMode, kSep);
        EXPECT_EQ(c.rows, Rows(items)) << c.name;
        EXPECT_EQ(c.bStretchSet, (dwMode & qxpLayoutStretch) != 0) << c.name;
    }
}

TEST(RowLayout, RectsPositionsAndRowRects)
{
    QXPLayoutItems items = Items({{20, ""}, {30, "g"}, {40, "w"}});
    items[2].nHeight = 30;
    DWORD dwMode = qxpLayoutHorzDock;
    qxplayout::WrapRows(items, 200, dwMode, kSep);
    CSize sz = qxplayout::CalcRowRects(items, kSep, FALSE);
    EXPECT_EQ(CSize(56, 52), sz);
    EXPECT_EQ(CRect(0, 0, 20, 22), items[0].rcControl);
    EXPECT_EQ(CRect(26, 0, 56, 22), items[1].rcControl);
    EXPECT_EQ(CRect(0, 22, 40, 52), items[2].rcControl);
    CSize szBar = qxplayout::ApplyPositions(items, CRect(2, 3, 4, 5), sz, FALSE);
    EXPECT_EQ(CSize(62, 60), szBar);
    EXPECT_EQ(CRect(2, 3, 22, 25), items[0].rcControl);
    EXPECT_EQ(CRect(0, 3, 62, 25), items[0].rcRow) << "the row spans the bar";
    EXPECT_EQ(CRect(2, 25, 42, 55), items[2].rcControl);
}

TEST(RowLayout, ItemsAreCentredAcrossTheirRow)
{
    QXPLayoutItems items = Items({{20, ""}, {20, ""}});
    items[1].nHeight = 30;
    DWORD dwMode = qxpLayoutHorzDock;
    qxplayout::WrapRows(items, 200, dwMode, kSep);
    CSize sz = qxplayout::CalcRowRects(items, kSep, FALSE);
    qxplayout::ApplyPositions(items, CRect(0, 0, 0, 0), sz, FALSE);
    EXPECT_EQ(4, items[0].rcControl.top);
    EXPECT_EQ(0, items[1].rcControl.top);
}

TEST(RowLayout, VerticalColumnsEndAtPositiveX)
{
    QXPLayoutItems items = Items({{20, ""}, {20, ""}, {24, ""}});
    DWORD dwMode = qxpLayoutVertDock;
    qxplayout::WrapRows(items, 50, dwMode, kSep); // two per column
    EXPECT_EQ("0 1 | 2 ", Rows(items));
    CSize sz = qxplayout::CalcRowRects(items, kSep, TRUE);
    EXPECT_EQ(CSize(44, 44), sz);
    qxplayout::ApplyPositions(items, CRect(2, 2, 2, 2), sz, TRUE);
    for (const QXP_LAYOUT_ITEM& item : items) {
        EXPECT_GE(item.rcControl.left, 2);
        EXPECT_LE(item.rcControl.right, 46);
    }
    EXPECT_EQ(items[0].rcControl.left, items[1].rcControl.left);
    EXPECT_NE(items[0].rcControl.left, items[2].rcControl.left);
}

TEST(RowLayout, RightAlignAndStretch)
{
    // Row 1: a stretched control between two plain ones; row 2: two
    // stretched controls and a right-aligned one at the end.
    QXPLayoutItems items = Items({{20, ""}, {20, "s"}, {20, ""}, {10, "ws"}, {10, "s"}, {15, "r"}});
    DWORD dwMode = qxpLayoutHorzDock;
    qxplayout::WrapRows(items, 200, dwMode, kSep);
    CSize sz = qxplayout::CalcRowRects(items, kSep, FALSE);
    qxplayout::ApplyPositions(items, CRect(0, 0, 0, 0), sz, FALSE);
    qxplayout::RightAlignAndStretch(items, 100, FALSE);
    EXPECT_EQ(CRect(85, 22, 100, 44), items[5].rcControl) << "pushed to the far end";
    // Free length of row 2: 85 - 20 = 65, shared 32 then 33.
    EXPECT_EQ(CRect(0, 22, 42, 44), items[3].rcControl);
    EXPECT_EQ(CRect(42, 22, 85, 44), items[4].rcControl);
    // Row 1: 100 - 60 = 40 to the one stretched control, the next moves.
    EXPECT_EQ(CRect(20, 0, 80, 22), items[1].rcControl);
    EXPECT_EQ(CRect(80, 0, 100, 22), items[2].rcControl);
}

TEST(RowLayout, FloatingBarSnapsToItsWidestRow)
{
    QXPLayoutItems items = Items({{30, ""}, {30, ""}, {30, ""}, {30, ""}, {30, ""}});
    DWORD dwMode = 0;
    // 100 wide gives three per row (two rows): the bar narrows to 90.
    CSize sz = qxplayout::CalcFloatingSize(items, 100, FALSE, dwMode, kSep);
    EXPECT_EQ(CSize(90, 44), sz);
    // Sized by height: 22 high means one row.
    dwMode = 0;
    sz = qxplayout::CalcFloatingSize(items, 22, TRUE, dwMode, kSep);
    EXPECT_EQ(CSize(150, 22), sz);
    dwMode = 0;
    sz = qxplayout::CalcFloatingSize(items, 50, TRUE, dwMode, kSep);
    EXPECT_EQ(44, sz.cy);
    EXPECT_EQ(90, sz.cx);
}

TEST(RowLayout, BalancedShapeIsNotTallerThanWide)
{
    QXPLayoutItems items;
    for (int i = 0; i < 16; i++)
        items.push_back(Items({{22, ""}})[0]);
    DWORD dwMode = qxpLayoutWrapGroups;
    CSize sz = qxplayout::CalcBalancedSize(items, dwMode, kSep);
    EXPECT_GE(sz.cx * 2, sz.cy);
    EXPECT_LE(sz.cx, 22 * 16);
}

TEST(PopupColumns, TallMenusContinueInAnotherColumn)
{
    QXPLayoutItems items = Items({{50, ""}, {80, ""}, {60, "g"}, {40, ""}, {30, "w"}});
    BOOL bWrapped = FALSE;
    CSize sz = qxplayout::CalcPopupColumns(items, 80, CRect(2, 2, 2, 2), 7, 0, &bWrapped);
    EXPECT_TRUE(bWrapped);
    // Column 1 holds 0, 1 and 2 (the group gap included, 2 ends at 75,
    // inside 80 - 2); 3 would end at 97 and starts column 2.
    EXPECT_EQ(CRect(2, 2, 82, 24), items[0].rcControl) << "common column width";
    EXPECT_EQ(CRect(2, 53, 82, 75), items[2].rcControl);
    EXPECT_TRUE(items[3].bWrap);
    EXPECT_EQ(CRect(82, 2, 122, 24), items[3].rcControl);
    EXPECT_TRUE(items[4].bWrap) << "forced column";
    EXPECT_EQ(CRect(122, 2, 152, 24), items[4].rcControl);
    EXPECT_EQ(CSize(154, 77), sz);
    EXPECT_EQ(0, items[0].rcRow.top);
    EXPECT_EQ(77, items[0].rcRow.bottom);
}

TEST(PopupColumns, WidthCapAndEmptyPopup)
{
    QXPLayoutItems items = Items({{500, ""}});
    CSize sz = qxplayout::CalcPopupColumns(items, 0, CRect(3, 3, 3, 3), 7, 200, NULL);
    EXPECT_EQ(200, items[0].rcControl.Width());
    EXPECT_EQ(CSize(206, 28), sz);
    QXPLayoutItems none;
    EXPECT_EQ(CSize(24, 22), qxplayout::CalcPopupColumns(none, 0, CRect(3, 3, 3, 3), 7, 0, NULL));
}

// ---------------------------------------------------------------------------
// Grouped layout (bars laid out in the manner of ribbon groups)

namespace {

// Sizes by style: a large button 40 x 66, icon and caption 60 x 22, icon
// only 23 x 22. Columns are 66 high, so three small buttons stack in one.
CSize GroupedSize(QXP_LAYOUT_ITEM& item, int nStyle)
{
    (void)item;
    switch (nStyle) {
    case qxpButtonIconAndCaptionBelow:
        return CSize(40, 66);
    case qxpButtonIconAndCaption:
        return CSize(60, 22);
    default:
        return CSize(23, 22);
    }
}

// 'L' an item with a large image, 'S' one without; 'g' after the letter
// begins a group, 'h' makes it invisible.
QXPLayoutItems GroupedItems(const char* desc)
{
    QXPLayoutItems items;
    for (const char* p = desc; *p; p++) {
        if (*p == ' ')
            continue;
        if (*p == 'g') {
            items.back().bBeginGroup = TRUE;
            continue;
        }
        if (*p == 'h') {
            items.back().bVisible = FALSE;
            continue;
        }
        QXP_LAYOUT_ITEM item;
        item.bLargeImage = *p == 'L';
        items.push_back(item);
    }
    return items;
}

std::string Styles(const QXPLayoutItems& items)
{
    std::string s;
    for (const QXP_LAYOUT_ITEM& item : items) {
        if (!item.bVisible)
            continue;
        s += std::to_string(item.nStyle);
        if (item.bHidden)
            s += "-";
    }
    return s;
}

} // namespace

TEST(GroupedLayout, ColumnsOfLargeAndStackedButtons)
{
    // Three large buttons, then a group of four small ones: three stack in
    // one column, the fourth opens the next.
    QXPLayoutItems items = GroupedItems("L L L Sg S S S");
    DWORD dwMode = qxpLayoutHorzDock;
    CSize sz = qxplayout::CalcGroupedLayout(items, 1000, dwMode, 66, GroupedSize);
    EXPECT_EQ("4443333", Styles(items));
    EXPECT_EQ(CRect(0, 0, 40, 66), items[0].rcControl);
    EXPECT_EQ(CRect(80, 0, 120, 66), items[2].rcControl);
    EXPECT_EQ(CRect(126, 0, 186, 22), items[3].rcControl) << "6 pixels before a group's column";
    EXPECT_EQ(CRect(126, 44, 186, 66), items[5].rcControl);
    EXPECT_EQ(CRect(186, 0, 246, 22), items[6].rcControl);
    EXPECT_TRUE(items[1].bWrap && items[3].bWrap && items[6].bWrap);
    EXPECT_FALSE(items[4].bWrap || items[5].bWrap);
    EXPECT_EQ(CSize(246, 66), sz);
    EXPECT_EQ(0u, dwMode & qxpLayoutStretch) << "nothing had to shrink";

    // The row rectangle of a grouped item is its column over the full
    // height; the items are not centred.
    CSize szBar = qxplayout::ApplyPositions(items, CRect(2, 3, 2, 3), sz, FALSE, FALSE);
    EXPECT_EQ(CSize(250, 72), szBar);
    EXPECT_EQ(CRect(128, 3, 188, 25), items[3].rcControl);
    EXPECT_EQ(CRect(128, 0, 188, 72), items[4].rcRow);
}

struct GroupedCase {
    const char* name;
    const char* items;
    int nLength;
    DWORD dwMode;
    const char* styles; // visible items; '-' marks hidden ones
    int cx;
    bool bStretch;
};

TEST(GroupedLayout, ShrinkTable)
{
    const GroupedCase cases[] = {
        {"room enough", "L L L Sg S S", 1000, 0, "444333", 186, false},
        // 186 > 150: three large buttons become small before any small
        // button loses its caption.
        {"large triple first", "L L L Sg S S", 150, 0, "333333", 126, true},
        // Still 126 > 100: the last three stacked small buttons lose their
        // captions.
        {"then captions go", "L L L Sg S S", 100, 0, "333222", 89, true},
        {"everything small", "L L L Sg S S", 60, 0, "222222", 52, true},
        // Nothing shrinks any more: with mode 0x80 what lies beyond the
        // length is hidden (icon only), the first control always stays.
        {"hidden beyond the length", "L L L Sg S S", 30, qxpLayoutHideWrap, "2222-2-2-", 23, true},
        {"never the first control", "L Lg", 10, qxpLayoutHideWrap, "42-", 40, true},
        // A triple with one small button: the large ones still shrink.
        {"mixed triple", "L L S", 100, 0, "333", 60, true},
        // A group start may only be the earliest of the three: two groups
        // of two large buttons cannot shrink.
        {"groups of two stay large", "L L Lg L", 100, 0, "4444", 166, true},
        {"invisible items are skipped", "L Lh L L", 100, 0, "333", 60, true},
    };
    for (const GroupedCase& c : cases) {
        QXPLayoutItems items = GroupedItems(c.items);
        DWORD dwMode = qxpLayoutHorzDock | c.dwMode;
        CSize sz = qxplayout::CalcGroupedLayout(items, c.nLength, dwMode, 66, GroupedSize);
        EXPECT_EQ(c.styles, Styles(items)) << c.name;
        EXPECT_EQ(c.cx, sz.cx) << c.name;
        EXPECT_EQ(c.bStretch, (dwMode & qxpLayoutStretch) != 0) << c.name;
    }
}

TEST(GroupedLayout, MoreRoomStartsAgainFromTheLargeStyles)
{
    QXPLayoutItems items = GroupedItems("L L L Sg S S");
    DWORD dwMode = qxpLayoutHorzDock | qxpLayoutHideWrap;
    qxplayout::CalcGroupedLayout(items, 30, dwMode, 66, GroupedSize);
    ASSERT_EQ("2222-2-2-", Styles(items));
    dwMode = qxpLayoutHorzDock | qxpLayoutHideWrap;
    CSize sz = qxplayout::CalcGroupedLayout(items, 1000, dwMode, 66, GroupedSize);
    EXPECT_EQ("444333", Styles(items));
    EXPECT_EQ(186, sz.cx);
}

// ---------------------------------------------------------------------------
// The layouts of real control collections: separator gaps as the paint
// manager measures them, the popup's column-wrapped flag, grouped bars.

namespace {

// The process-wide paint manager of one theme for the life of a test.
class ThemeScope {
public:
    explicit ThemeScope(int nTheme) { SetGlobalPaintManager(nTheme); }
    ~ThemeScope() { ReleaseGlobalPaintManager(); }
};

} // namespace

TEST(ControlsLayout, PopupSeparatorGapComesFromThePaintManager)
{
    // Popup separators: 8 pixels in the Windows 2000 look, 3 in Office XP.
    const struct {
        int nTheme;
        int nGap;
    } themes[] = {{0, 8}, {1, 3}};
    for (const auto& t : themes) {
        ThemeScope theme(t.nTheme);
        CQXPPopupBar* pPopup = CQXPPopupBar::CreateForOwner(NULL);
        CQXPControl* pFirst = pPopup->GetControls()->Add(qxpControlButton, 1);
        CQXPControl* pSecond = pPopup->GetControls()->Add(qxpControlButton, 2);
        pFirst->SetCaption("First");
        pSecond->SetCaption("Second");
        pSecond->SetBeginGroup(TRUE);
        CClientDC dc(NULL);
        pPopup->GetControls()->CalcPopupSize(&dc, 0, CRect(0, 0, 0, 0));
        EXPECT_EQ(t.nGap, pSecond->GetRect().top - pFirst->GetRect().bottom) << t.nTheme;
        EXPECT_FALSE(pPopup->m_bColumnWrapped);

        // Too low for both: the second continues in a column of its own,
        // and the bar remembers it until a layout fits in one column.
        pPopup->GetControls()->CalcPopupSize(&dc, pFirst->GetRect().Height() + 1, CRect(0, 0, 0, 0));
        EXPECT_TRUE(pPopup->m_bColumnWrapped) << t.nTheme;
        EXPECT_EQ(pFirst->GetRect().right, pSecond->GetRect().left);
        pPopup->GetControls()->CalcPopupSize(&dc, 0, CRect(0, 0, 0, 0));
        EXPECT_FALSE(pPopup->m_bColumnWrapped) << t.nTheme;
        pPopup->InternalRelease();
    }
}

TEST(ControlsLayout, RowGapOfFloatingToolbarsComesFromThePaintManager)
{
    // A floating Office 2003 bar measures its separators 6 x 0: a group
    // that starts a new row adds nothing between the rows; the Windows 2000
    // look adds 6.
    const struct {
        int nTheme;
        int nRowGap;
    } themes[] = {{2, 0}, {0, 6}};
    for (const auto& t : themes) {
        ThemeScope theme(t.nTheme);
        CQXPToolBar* pBar = new CQXPToolBar;
        pBar->SetBarPosition(qxpBarFloating);
        CQXPControl* pFirst = pBar->GetControls()->Add(qxpControlButton, 1);
        CQXPControl* pSecond = pBar->GetControls()->Add(qxpControlButton, 2);
        pSecond->SetBeginGroup(TRUE);
        pSecond->SetFlags(qxpFlagWrapRow);
        CClientDC dc(NULL);
        pBar->GetControls()->CalcDynamicSize(&dc, 500, qxpLayoutCommit, CRect(0, 0, 0, 0));
        EXPECT_EQ(t.nRowGap, pSecond->GetRect().top - pFirst->GetRect().bottom) << t.nTheme;
        pBar->InternalRelease();
    }
}

TEST(ControlsLayout, GroupedBarStacksSmallButtonsAndStartsOverEachTime)
{
    ThemeScope theme(1);
    CQXPToolBar* pBar = new CQXPToolBar;
    pBar->SetFlags(qxpFlagGroupedLayout);
    std::vector<CQXPControl*> controls;
    for (int nId = 1; nId <= 3; nId++) {
        controls.push_back(pBar->GetControls()->Add(qxpControlButton, nId));
        controls.back()->SetCaption("Button");
    }
    CClientDC dc(NULL);
    // Measuring alone leaves the controls' styles as they were.
    pBar->GetControls()->CalcDynamicSize(&dc, 1000, qxpLayoutHorzDock, CRect(0, 0, 0, 0));
    for (CQXPControl* pControl : controls)
        EXPECT_EQ(0, pControl->m_buttonRibbonStyle);

    // Without large images every button gets icon and caption; three stack
    // in one column, neither centred nor stretched.
    CSize sz = pBar->GetControls()->CalcDynamicSize(&dc, 1000, qxpLayoutHorzDock | qxpLayoutCommit,
                                                    CRect(2, 2, 2, 2));
    for (CQXPControl* pControl : controls)
        EXPECT_EQ(qxpButtonIconAndCaption, pControl->GetStyle());
    EXPECT_EQ(controls[0]->GetRect().left, controls[2]->GetRect().left);
    EXPECT_EQ(controls[0]->GetRect().bottom, controls[1]->GetRect().top);
    EXPECT_EQ(controls[1]->GetRect().bottom, controls[2]->GetRect().top);
    EXPECT_EQ(CPoint(2, 2), controls[0]->GetRect().TopLeft());
    EXPECT_EQ(controls[0]->GetRect().Width() + 4, sz.cx);

    // Too short: they lose their captions; with room again they get them
    // back.
    pBar->GetControls()->CalcDynamicSize(&dc, controls[0]->GetRect().Width() / 2,
                                         qxpLayoutHorzDock | qxpLayoutCommit, CRect(0, 0, 0, 0));
    for (CQXPControl* pControl : controls)
        EXPECT_EQ(qxpButtonIcon, pControl->GetStyle());
    pBar->GetControls()->CalcDynamicSize(&dc, 1000, qxpLayoutHorzDock | qxpLayoutCommit, CRect(0, 0, 0, 0));
    for (CQXPControl* pControl : controls)
        EXPECT_EQ(qxpButtonIconAndCaption, pControl->GetStyle());
    pBar->InternalRelease();
}

// ---------------------------------------------------------------------------
// Popup placement

struct PlaceCase {
    const char* name;
    CRect rcWork;
    CSize size;
    CPoint pt;
    CRect rcExclude;
    int nFlags;
    BOOL bFlip;
    CRect rcExpected;
    int nFlagsExpected;
    BOOL bTooTall;
};

TEST(PopupPlacement, Table)
{
    const CRect primary(0, 0, 1280, 1000);     // bottom usable: 995
    const CRect second(1280, 200, 2560, 1200); // a monitor right of and below the first
    const PlaceCase cases[] = {
        {"drop-down fits", primary, CSize(100, 200), CPoint(10, 30), CRect(10, 10, 60, 30), qxpPopupDown, FALSE,
         CRect(10, 30, 110, 230), qxpPopupDown, FALSE},
        {"context menu near the bottom-right opens up and left", primary, CSize(100, 200), CPoint(1250, 900),
         CRect(), 0, FALSE, CRect(1180, 700, 1280, 900), qxpPopupLeft, FALSE},
        {"point in the upper half slides up to the bottom", primary, CSize(100, 900), CPoint(50, 400), CRect(), 0,
         FALSE, CRect(50, 95, 150, 995), 0, FALSE},
        {"point below the work area opens upward", primary, CSize(100, 200), CPoint(50, 998), CRect(), 0, FALSE,
         CRect(50, 798, 150, 998), 0, FALSE},
        {"drop-down opens above its owner", primary, CSize(100, 300), CPoint(10, 900), CRect(10, 880, 60, 900),
         qxpPopupDown, FALSE, CRect(10, 580, 110, 880), qxpPopupDown, FALSE},
        {"submenu flips left of its owner", primary, CSize(150, 100), CPoint(1200, 100), CRect(1100, 100, 1200, 120),
         0, FALSE, CRect(950, 100, 1100, 200), qxpPopupLeft, FALSE},
        {"too tall without flipping takes the larger side", primary, CSize(100, 2000), CPoint(10, 300),
         CRect(10, 280, 60, 300), qxpPopupDown, FALSE, CRect(10, 300, 110, 995), qxpPopupDown, TRUE},
        // The same situations on a monitor whose work area starts at (1280, 200).
        {"second monitor: upper half", second, CSize(100, 900), CPoint(1300, 600), CRect(), 0, FALSE,
         CRect(1300, 295, 1400, 1195), 0, FALSE},
        {"second monitor: lower half", second, CSize(100, 300), CPoint(1300, 1000), CRect(), 0, FALSE,
         CRect(1300, 700, 1400, 1000), 0, FALSE},
        {"second monitor: too tall takes the lower side", second, CSize(100, 2000), CPoint(1300, 500),
         CRect(1300, 480, 1350, 500), qxpPopupDown, FALSE, CRect(1300, 500, 1400, 1195), qxpPopupDown, TRUE},
        {"second monitor: too tall takes the upper side", second, CSize(100, 2000), CPoint(1300, 1000),
         CRect(1300, 980, 1350, 1000), qxpPopupDown, FALSE, CRect(1300, 200, 1400, 980), qxpPopupDown, TRUE},
        {"second monitor: past the left edge", second, CSize(100, 100), CPoint(1250, 300), CRect(), qxpPopupLeft,
         FALSE, CRect(1280, 300, 1380, 400), 0, FALSE},
        {"second monitor: past the right edge", second, CSize(200, 100), CPoint(2500, 300), CRect(), 0, FALSE,
         CRect(2360, 300, 2560, 400), qxpPopupLeft, FALSE},
    };
    for (const PlaceCase& c : cases) {
        QXP_POPUP_PLACEMENT place;
        place.rcWork = c.rcWork;
        place.size = c.size;
        place.pt = c.pt;
        place.rcExclude = c.rcExclude;
        place.nFlags = c.nFlags;
        place.bFlip = c.bFlip;
        QxpCalcPopupPosition(place);
        EXPECT_EQ(c.rcExpected, place.rcResult) << c.name;
        EXPECT_EQ(c.nFlagsExpected, place.nFlags) << c.name;
        EXPECT_EQ(c.bTooTall, place.bTooTall) << c.name;
    }
}

TEST(PopupPlacement, FlippingOpensBesideTheOwner)
{
    QXP_POPUP_PLACEMENT place;
    place.rcWork = CRect(0, 0, 1280, 1000);
    place.size = CSize(100, 950);
    place.pt = CPoint(10, 300);
    place.rcExclude = CRect(10, 280, 60, 300);
    place.nFlags = qxpPopupDown;
    place.bFlip = TRUE;
    QxpCalcPopupPosition(place);
    EXPECT_EQ(0, place.nFlags & qxpPopupDown);
    EXPECT_EQ(CRect(60, 45, 160, 995), place.rcResult);
    EXPECT_FALSE(place.bTooTall);

    // Beside its owner the popup opens against the rectangle a vertical bar
    // gives the owner.
    place.size = CSize(100, 950);
    place.nFlags = qxpPopupDown;
    place.rcExcludeVertical = CRect(9, 280, 61, 300);
    QxpCalcPopupPosition(place);
    EXPECT_EQ(CRect(61, 45, 161, 995), place.rcResult);
    // Opening leftward it ends at that rectangle's left edge.
    place.pt = CPoint(1250, 300);
    place.rcExclude = CRect(1200, 280, 1250, 300);
    place.rcExcludeVertical = CRect(1199, 280, 1251, 300);
    place.nFlags = qxpPopupDown | qxpPopupLeft;
    QxpCalcPopupPosition(place);
    EXPECT_EQ(CRect(1099, 45, 1199, 995), place.rcResult);
    EXPECT_EQ(qxpPopupLeft, place.nFlags);
}

// ---------------------------------------------------------------------------
// Dock-bar rows

struct RowBar {
    int nWanted, nWidth;
    BOOL bShrink;
    int nMin;
};

std::vector<CQXPDockBarRowItem> RowItems(const std::vector<RowBar>& bars)
{
    std::vector<CQXPDockBarRowItem> items;
    for (size_t i = 0; i < bars.size(); i++) {
        CQXPDockBarRowItem item;
        item.nIndex = (int)i;
        item.rc = CRect(bars[i].nWanted, 0, bars[i].nWanted + bars[i].nWidth, 26);
        item.rcWanted = item.rc;
        item.bShrinkable = bars[i].bShrink;
        item.pBar = (void*)(INT_PTR)(bars[i].nMin);
        items.push_back(item);
    }
    return items;
}

int MinOf(const CQXPDockBarRowItem& item)
{
    return (int)(INT_PTR)item.pBar;
}

std::string Spans(const std::vector<CQXPDockBarRowItem>& items)
{
    std::string s;
    for (const CQXPDockBarRowItem& item : items)
        s += std::to_string(item.nIndex) + ":" + std::to_string(item.rc.left) + "-" + std::to_string(item.rc.right) +
             " ";
    return s;
}

TEST(DockRow, Table)
{
    struct Case {
        const char* name;
        std::vector<RowBar> bars;
        int nLength;
        const char* spans;
        int nWrap;
    } cases[] = {
        {"apart bars stay", {{0, 100, FALSE, 0}, {200, 100, FALSE, 0}}, 1000, "0:0-100 1:200-300 ", -1},
        {"overlap pushes the later one", {{0, 100, FALSE, 0}, {50, 100, FALSE, 0}}, 1000, "0:0-100 1:100-200 ", -1},
        {"same offsets sort by row index", {{0, 100, FALSE, 0}, {0, 80, FALSE, 0}, {0, 50, FALSE, 0}}, 1000, "0:0-100 1:100-180 2:180-230 ", -1},
        {"past the end moves left", {{0, 100, FALSE, 0}, {950, 100, FALSE, 0}}, 1000, "0:0-100 1:900-1000 ", -1},
        {"shrinkable bars shrink from the right end", {{0, 300, TRUE, 100}, {300, 300, TRUE, 100}}, 500, "0:0-300 1:300-500 ", -1},
        {"pushed back never starts before 0; the later bar keeps its wanted place",
         {{0, 300, TRUE, 100}, {250, 300, TRUE, 100}},
         500,
         "0:0-250 1:250-500 ",
         -1},
        {"shrink to the minimum exactly", {{0, 300, TRUE, 250}, {300, 300, TRUE, 250}}, 500, "0:0-250 1:250-500 ", -1},
        {"cannot shrink enough: the last bar wraps", {{0, 300, TRUE, 260}, {300, 300, TRUE, 260}}, 500, nullptr, 1},
        {"a bar that cannot shrink makes the row wrap", {{0, 300, FALSE, 0}, {300, 300, TRUE, 100}}, 500, nullptr, 1},
        {"a single bar never wraps", {{0, 800, FALSE, 0}}, 500, "0:0-500 ", -1},
    };
    for (const auto& c : cases) {
        std::vector<CQXPDockBarRowItem> items = RowItems(c.bars);
        int nWrap = QxpLayoutDockRow(items, c.nLength, MinOf);
        EXPECT_EQ(c.nWrap, nWrap) << c.name;
        if (c.spans) {
            EXPECT_EQ(c.spans, Spans(items)) << c.name;
        }
        if (nWrap < 0) {
            for (size_t k = 1; k < items.size(); k++)
                EXPECT_LE(items[k - 1].rc.right, items[k].rc.left) << c.name << ": no overlap";
        }
    }
}

TEST(DockRow, SortIsAStrictOrderingForManyEqualOffsets)
{
    // Many bars at one offset: a comparison that is not a strict ordering
    // makes std::sort read past the range; this one keeps row order.
    std::vector<RowBar> bars(40, RowBar{0, 10, FALSE, 0});
    std::vector<CQXPDockBarRowItem> items = RowItems(bars);
    std::reverse(items.begin(), items.end());
    EXPECT_EQ(-1, QxpLayoutDockRow(items, 1000, MinOf));
    for (size_t k = 0; k < items.size(); k++) {
        EXPECT_EQ((int)k, items[k].nIndex);
        EXPECT_EQ((int)k * 10, items[k].rc.left);
    }
}

} // namespace
