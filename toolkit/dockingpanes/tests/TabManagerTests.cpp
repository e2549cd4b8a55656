// The tab manager and the tab paint manager: items, selection, keys,
// scrolling, layout; the click and drag loops with a tab removed meanwhile.
#include <qx/tabpaint.h>
#include <qx/themeres.h>
#include <qx/colors.h>

#include <gtest/gtest.h>
#include <qmtest/pump.h>
#include <qmtest/themetext.h>

#include "PaintTestSupport.h"
#include "TabTestSupport.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using tabtest::TestTabs;

struct DeleteCase {
    int count;
    int selected;
    int deleted;
    bool ok;
    const char* expected;
};

class TabDelete : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(TabDelete, SelectsTheNeighbour)
{
    const DeleteCase& c = GetParam();
    TestTabs t;
    t.Fill(c.count);
    t.SetCurSel(c.selected);
    EXPECT_EQ(c.ok, t.DeleteItem(c.deleted) != FALSE);
    EXPECT_EQ(c.expected, t.Sel());
    for (int i = 0; i < t.GetItemCount(); ++i)
        EXPECT_EQ(i, t.GetItem(i)->GetIndex());
}

INSTANTIATE_TEST_SUITE_P(Table, TabDelete,
                         ::testing::Values(DeleteCase{5, 2, 2, true, "Tab 3"}, DeleteCase{5, 4, 4, true, "Tab 3"},
                                           DeleteCase{5, 1, 3, true, "Tab 1"}, DeleteCase{1, 0, 0, true, "none"},
                                           DeleteCase{3, 1, 3, false, "Tab 1"}, DeleteCase{3, 1, -1, false, "Tab 1"}));

TEST(TabManager, ColoursRotateThroughEight)
{
    TestTabs t;
    t.Fill(9);
    EXPECT_EQ(t.GetItem(0)->GetColor(), t.GetItem(8)->GetColor());
    EXPECT_EQ(0xE4A88Au, t.GetItem(0)->GetColor());
    EXPECT_EQ(0xC0ABD8u, t.GetItem(7)->GetColor());
    t.GetItem(1)->SetColor(RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), t.GetItem(1)->GetColor());
    EXPECT_EQ(0x1000008u, QxpResolveTabColor(0x1000008));
}

TEST(TabManager, ScrollingStopsAtTheStart)
{
    TestTabs t;
    t.Scroll(FALSE);
    EXPECT_EQ(0, t.GetScrollOffset());
    t.Scroll(TRUE);
    t.Scroll(TRUE);
    EXPECT_EQ(-40, t.GetScrollOffset());
    t.Scroll(FALSE);
    EXPECT_EQ(-20, t.GetScrollOffset());
    t.SetScrollOffset(15);
    EXPECT_EQ(0, t.GetScrollOffset());
}

struct KeyCase {
    int position;
    bool rtl;
    int selected;
    UINT key;
    bool handled;
    const char* expected;
};

class TabKeys : public ::testing::TestWithParam<KeyCase> {};

// Six tabs: 0 hidden, 3 disabled, 5 disabled.
TEST_P(TabKeys, StepOverHiddenAndDisabledTabs)
{
    const KeyCase& c = GetParam();
    TestTabs t;
    t.Fill(6);
    t.GetItem(0)->SetVisible(FALSE);
    t.GetItem(3)->SetEnabled(FALSE);
    t.GetItem(5)->SetEnabled(FALSE);
    t.painter.SetPosition(c.position);
    if (c.selected >= 0)
        t.SetCurSel(c.selected);
    HWND h = CreateWindowExA(c.rtl ? WS_EX_LAYOUTRTL : 0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    EXPECT_EQ(c.handled, t.OnKeyDown(h, c.key) != FALSE);
    EXPECT_EQ(c.expected, t.Sel());
    DestroyWindow(h);
}

INSTANTIATE_TEST_SUITE_P(Table, TabKeys,
                         ::testing::Values(KeyCase{0, false, 4, VK_HOME, true, "Tab 1"},
                                           KeyCase{0, false, 1, VK_END, true, "Tab 4"},
                                           KeyCase{0, false, 2, VK_RIGHT, true, "Tab 4"},
                                           KeyCase{0, false, 4, VK_LEFT, true, "Tab 2"},
                                           KeyCase{0, false, 1, VK_LEFT, true, "Tab 1"},
                                           KeyCase{0, false, 2, VK_DOWN, true, "Tab 2"},
                                           KeyCase{0, true, 2, VK_LEFT, true, "Tab 4"},
                                           KeyCase{0, true, 2, VK_HOME, true, "Tab 1"},
                                           KeyCase{1, false, 2, VK_DOWN, true, "Tab 4"},
                                           KeyCase{3, false, 2, VK_RIGHT, true, "Tab 2"},
                                           KeyCase{0, false, -1, VK_RIGHT, true, "none"},
                                           KeyCase{0, false, 2, VK_SPACE, false, "Tab 2"}));

TEST(TabManager, HiddenAndDisabledTabsAreNeverHit)
{
    TestTabs t;
    t.Fill(3);
    t.painter.SetLayout(tabLayoutFixed);
    t.area = {0, 0, 400, 100};
    t.OnPropertyChanged();
    t.GetItem(1)->SetEnabled(FALSE);
    RECT r1 = t.GetItem(1)->GetRect();
    POINT p1 = {(r1.left + r1.right) / 2, (r1.top + r1.bottom) / 2};
    EXPECT_EQ(nullptr, t.HitTest(p1));
    t.GetItem(0)->SetVisible(FALSE);
    EXPECT_EQ(0, t.GetItem(0)->m_nButtonLength);
    RECT r2 = t.GetItem(2)->GetRect();
    POINT p2 = {(r2.left + r2.right) / 2, (r2.top + r2.bottom) / 2};
    EXPECT_EQ(t.GetItem(2), t.HitTest(p2));
    POINT outside = {p2.x, 99};
    EXPECT_EQ(nullptr, t.HitTest(outside));
}

TEST(TabManager, TooltipsByMode)
{
    TestTabs t;
    t.Fill(2);
    t.GetItem(0)->m_strToolTip = "C:\\docs\\Tab 0.txt";
    t.GetItem(1)->m_strToolTip = "C:\\docs\\Tab 1.txt";
    t.painter.SetLayout(tabLayoutFixed);
    t.area = {0, 0, 400, 60};
    t.OnPropertyChanged();
    RECT r = t.GetItem(0)->GetRect();
    POINT pt = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    CString text, title;
    RECT rc;
    struct {
        int mode;
        int shown;  // width given
        int needed; // width the caption needs
        INT_PTR expected;
    } cases[] = {{0, 70, 200, -1}, {1, 70, 20, 0}, {2, 70, 20, -1}, {2, 70, 200, 0}};
    for (auto& c : cases) {
        t.painter.m_nToolTipMode = c.mode;
        t.GetItem(0)->m_nButtonLength = c.shown;
        t.GetItem(0)->m_nContentLength = c.needed;
        text.Empty();
        EXPECT_EQ(c.expected, t.OnToolHitTest(pt, &text, &rc, &title)) << c.mode << " " << c.needed;
        if (c.expected >= 0) {
            EXPECT_STREQ("C:\\docs\\Tab 0.txt", text);
            EXPECT_STREQ("Tab 0", title);
        }
    }
    // The scroll buttons name themselves.
    t.Fill(10);
    t.OnPropertyChanged();
    const RECT& b = t.FindNavigateButton(1)->m_rc;
    ASSERT_FALSE(IsRectEmpty(&b));
    POINT pb = {(b.left + b.right) / 2, (b.top + b.bottom) / 2};
    EXPECT_EQ(1, t.OnToolHitTest(pb, &text, &rc));
    EXPECT_STREQ("Scroll Right", text);
}

struct ShrinkCase {
    std::vector<int> widths;
    int available;
    std::vector<int> expected;
};

class TabShrink : public ::testing::TestWithParam<ShrinkCase> {};

TEST_P(TabShrink, KeepsNarrowItemsAndSharesTheRest)
{
    std::vector<int> w = GetParam().widths;
    CQXPTabPainter::ShrinkItems(w, GetParam().available);
    EXPECT_EQ(GetParam().expected, w);
}

INSTANTIATE_TEST_SUITE_P(Table, TabShrink,
                         ::testing::Values(ShrinkCase{{30, 80, 90}, 150, {30, 60, 60}},
                                           ShrinkCase{{90, 30, 80}, 150, {60, 30, 60}},
                                           ShrinkCase{{30, 80, 90}, 300, {30, 80, 90}},
                                           ShrinkCase{{500}, 120, {120}},
                                           ShrinkCase{{50, 50, 50}, 100, {33, 33, 34}},
                                           ShrinkCase{{50, 50}, 0, {0, 0}},
                                           ShrinkCase{{}, 10, {}}));

TEST(TabPainter, FixedLayoutPlacesItemsFromTheMargin)
{
    TestTabs t;
    t.Fill(3);
    t.painter.SetLayout(tabLayoutFixed);
    t.area = {10, 20, 600, 200};
    t.OnPropertyChanged();
    RECT m = t.painter.GetHeaderMargin();
    for (int i = 0; i < 3; ++i) {
        const RECT& r = t.GetItem(i)->GetRect();
        EXPECT_EQ(10 + m.left + 70 * i, r.left) << i;
        EXPECT_EQ(70, r.right - r.left);
        EXPECT_EQ(20 + m.top, r.top);
        EXPECT_EQ(t.painter.GetButtonHeight(), r.bottom - r.top);
    }
    // The content lies below the header: the client takes the header's
    // last row, the 3-D client frame two pixels more.
    EXPECT_EQ(t.m_rcHeaderRect.bottom - 1 + 2, t.m_rcClient.top);
    // Bottom strips put the header at the bottom.
    t.painter.SetPosition(tabPositionBottom);
    EXPECT_EQ(200 - m.top, t.GetItem(0)->GetRect().bottom);
    EXPECT_EQ(t.m_rcHeaderRect.top + 1 - 2, t.m_rcClient.bottom);
    // Vertical strips run down the side.
    t.painter.SetPosition(tabPositionLeft);
    EXPECT_EQ(20 + m.left + 70, t.GetItem(1)->GetRect().top);
}

struct TurnCase {
    int position;
    RECT expected; // {10, 20, 110, 60} grown by 1 along the start, 2 at the
                   // tab side, 3 along the end and 4 at the client side
};

class TabTurn : public ::testing::TestWithParam<TurnCase> {};

TEST_P(TabTurn, AmountsFollowTheTabSide)
{
    RECT rc = {10, 20, 110, 60};
    CTabAppearancePainter::AdjustRectByPosition(rc, 1, 2, 3, 4, GetParam().position);
    EXPECT_EQ(CRect(GetParam().expected), CRect(rc));
    // Negated amounts take the same room off again.
    CTabAppearancePainter::AdjustRectByPosition(rc, -1, -2, -3, -4, GetParam().position);
    EXPECT_EQ(CRect(10, 20, 110, 60), CRect(rc));
}

INSTANTIATE_TEST_SUITE_P(Table, TabTurn,
                         ::testing::Values(TurnCase{tabPositionTop, {9, 18, 113, 64}},
                                           TurnCase{tabPositionBottom, {9, 16, 113, 62}},
                                           TurnCase{tabPositionLeft, {8, 19, 114, 63}},
                                           TurnCase{tabPositionRight, {6, 19, 112, 63}}));

TEST(TabPainter, StaticFrameLeavesOnePixelAtTheTabSide)
{
    TestTabs t;
    t.Fill(2);
    t.painter.SetLayout(tabLayoutFixed);
    t.painter.m_bStaticFrame = TRUE;
    EXPECT_TRUE(t.IsDrawStaticFrame());
    t.area = {0, 0, 300, 200};
    const RECT m = t.painter.GetHeaderMargin();
    struct {
        int position;
        LONG RECT::*tabSide;
        LONG expected;
        LONG RECT::*start;
        LONG expectedStart;
    } cases[] = {
        {tabPositionTop, &RECT::top, 1 + m.top, &RECT::left, 2 + m.left},
        {tabPositionBottom, &RECT::bottom, 200 - 1 - m.top, &RECT::left, 2 + m.left},
        {tabPositionLeft, &RECT::left, 1 + m.top, &RECT::top, 2 + m.left},
        {tabPositionRight, &RECT::right, 300 - 1 - m.top, &RECT::top, 2 + m.left},
    };
    for (auto& c : cases) {
        t.painter.SetPosition(c.position);
        const RECT& r = t.GetItem(0)->GetRect();
        EXPECT_EQ(c.expected, r.*c.tabSide) << c.position;
        EXPECT_EQ(c.expectedStart, r.*c.start) << c.position;
    }
    t.painter.m_bStaticFrame = FALSE;
    EXPECT_FALSE(t.IsDrawStaticFrame());
}

// The static frame: outside the colour set's frame colours (dark at the top
// and left, light at the bottom and right), which a host may override; inside
// its 3-D dark shadow and control face.
TEST(TabPainter, StaticFrameTakesItsColoursFromTheColourSet)
{
    TestTabs t;
    t.Fill(2);
    t.painter.SetLayout(tabLayoutFixed);
    t.painter.m_bStaticFrame = TRUE;
    const RECT kArea = {0, 0, 200, 80};
    ToolkitColorManager* pColors = ToolkitColorManager::Instance();
    struct {
        const char* name;
        COLORREF dark, light; // -1: the standard
        int colorSet;
    } cases[] = {
        {"default set, standard colours", (COLORREF)-1, (COLORREF)-1, 1},
        {"default set, host's colours", RGB(200, 0, 0), RGB(0, 0, 200), 1},
        {"flat set, host's colours", RGB(0, 150, 0), RGB(150, 150, 0), 2},
        {"back to the standard", (COLORREF)-1, (COLORREF)-1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        t.painter.SetColor(c.colorSet);
        TabColorSet& colors = t.painter.GetColors();
        if (c.dark == (COLORREF)-1) {
            colors.clrFrameDark.SetDefault();
            colors.clrFrameLight.SetDefault();
        } else {
            colors.clrFrameDark = c.dark;
            colors.clrFrameLight = c.light;
        }
        t.painter.RefreshMetrics(); // a host's colours stay over a refresh
        const COLORREF dark = c.dark == (COLORREF)-1 ? pColors->GetColor(COLOR_3DSHADOW) : c.dark;
        const COLORREF light = c.light == (COLORREF)-1 ? pColors->GetColor(COLOR_3DHIGHLIGHT) : c.light;
        EXPECT_EQ(dark, colors.clrFrameDark.GetColor());
        EXPECT_EQ(light, colors.clrFrameLight.GetColor());
        t.Reposition(NULL, kArea);
        painttest::MemoryDC pic(kArea.right, kArea.bottom, RGB(1, 2, 3));
        t.painter.DrawTabControl(&t, pic.dc()->GetSafeHdc(), kArea);
        EXPECT_EQ(dark, pic.Pixel(0, 40)) << "left";
        EXPECT_EQ(dark, pic.Pixel(100, 0)) << "top";
        EXPECT_EQ(light, pic.Pixel(199, 40)) << "right";
        EXPECT_EQ(light, pic.Pixel(100, 79)) << "bottom";
        EXPECT_EQ(colors.clrDarkShadow3D, pic.Pixel(1, 40)) << "inner left";
        EXPECT_EQ(colors.clrControlFace, pic.Pixel(198, 40)) << "inner right";
    }
}

// Only a new selection and EnsureVisible scroll the strip: a resize or a
// longer caption keeps the offset the user left.
TEST(TabPainter, OnlyANewSelectionOrEnsureVisibleScrollsTheStrip)
{
    TestTabs t;
    t.Fill(12);
    t.area = {0, 0, 300, 60};
    t.OnPropertyChanged();
    t.SetCurSel(11);
    t.OnPropertyChanged();
    ASSERT_LT(t.GetScrollOffset(), 0);
    t.SetScrollOffset(0); // the user scrolled back to the start
    ASSERT_EQ(0, t.GetScrollOffset());
    CQXPTabManagerItem* pLast = t.GetItem(11);
    t.area = {0, 0, 260, 60};
    t.OnPropertyChanged();
    EXPECT_EQ(0, t.GetScrollOffset()) << "after a resize";
    pLast->SetCaption("Tab 11 with a much longer caption");
    EXPECT_EQ(0, t.GetScrollOffset()) << "after a caption grew";
    EXPECT_GT(pLast->GetRect().right, t.m_rcHeaderRect.right);
    t.EnsureVisible(pLast);
    EXPECT_LT(t.GetScrollOffset(), 0);
    EXPECT_LE(pLast->GetRect().right, t.m_rcHeaderRect.right);
    EXPECT_GE(pLast->GetRect().left, t.m_rcHeaderRect.left);
}

// An item moved to another strip (as between tab groups) keeps one close
// button, which serves the new strip in its mode; the old strip can go.
TEST(TabManager, AnItemMovedBetweenStripsKeepsOneCloseButton)
{
    for (int nTargetMode : {2, 1, 0}) {
        SCOPED_TRACE("target mode " + std::to_string(nTargetMode));
        auto pSource = std::make_unique<TestTabs>();
        pSource->SetItemCloseMode(2);
        pSource->Fill(2);
        TestTabs target;
        target.SetItemCloseMode(nTargetMode);
        target.Fill(1);
        CQXPTabManagerItem* pItem = pSource->GetItem(1);
        pItem->InternalAddRef(); // held while it moves; the target takes it over
        ASSERT_TRUE(pSource->DeleteItem(1));
        target.AddItem(-1, pItem);
        pSource.reset(); // the source strip is gone (its group was removed)
        ASSERT_EQ(1u, pItem->m_arrNavigateButtons.size());
        CQXPTabManagerNavigateButton* pClose = pItem->m_arrNavigateButtons[0];
        EXPECT_EQ(&target, pClose->m_pManager);
        EXPECT_EQ(nTargetMode, pClose->m_nMode);
        // Laid out and drawn through the new strip.
        target.painter.SetLayout(tabLayoutAutoSize);
        target.SetCurSel(1);
        target.Reposition(NULL, RECT{0, 0, 400, 40});
        painttest::MemoryDC pic(400, 40);
        target.painter.DrawTabControl(&target, pic.dc()->GetSafeHdc(), RECT{0, 0, 400, 40});
        EXPECT_EQ(nTargetMode != 0, !IsRectEmpty(&pClose->m_rc));
    }
}

TEST(TabManager, ItemMetricsComeFromThePaintManager)
{
    TestTabs t;
    SIZE fixed = {-1, -1}, minimum = {-1, -1}, maximum = {-1, -1};
    t.GetItemMetrics(&fixed, &minimum, &maximum);
    EXPECT_EQ(CSize(70, 0), CSize(fixed));
    EXPECT_EQ(CSize(0, 0), CSize(minimum));
    EXPECT_EQ(CSize(0, 0), CSize(maximum));
    t.painter.SetItemMetrics(90, 40, 150);
    t.GetItemMetrics(&fixed, NULL, &maximum);
    EXPECT_EQ(CSize(90, 0), CSize(fixed));
    EXPECT_EQ(CSize(150, 0), CSize(maximum));
    t.GetItemMetrics(NULL, &minimum, NULL);
    EXPECT_EQ(CSize(40, 0), CSize(minimum));
    // The widths the layout gives stay within them.
    t.Fill(3);
    t.GetItem(1)->SetCaption("A caption far longer than the widest tab may be");
    t.GetItem(2)->SetCaption("i");
    t.area = {0, 0, 900, 60};
    t.OnPropertyChanged();
    EXPECT_EQ(150, t.GetItem(1)->GetRect().right - t.GetItem(1)->GetRect().left);
    EXPECT_EQ(40, t.GetItem(2)->GetRect().right - t.GetItem(2)->GetRect().left);
}

// A host that names its scroll buttons itself.
class NamedButtonTabs : public TestTabs {
public:
    CString GetNavigateButtonTooltip(const CQXPTabManagerNavigateButton* pButton) const override
    {
        return pButton->m_nID == CQXPTabManagerNavigateButton::idRight
                   ? CString("Next documents")
                   : TestTabs::GetNavigateButtonTooltip(pButton);
    }
};

TEST(TabManager, NavigateButtonTooltipsComeFromTheManager)
{
    NamedButtonTabs t;
    t.Fill(12);
    t.area = {0, 0, 200, 40};
    t.OnPropertyChanged();
    CString text;
    RECT rc;
    const RECT& right = t.FindNavigateButton(CQXPTabManagerNavigateButton::idRight)->m_rc;
    ASSERT_FALSE(IsRectEmpty(&right));
    EXPECT_EQ(1, t.OnToolHitTest(POINT{(right.left + right.right) / 2, (right.top + right.bottom) / 2}, &text, &rc));
    EXPECT_STREQ("Next documents", text);
    EXPECT_EQ(CRect(right), CRect(rc));
    const RECT& left = t.FindNavigateButton(CQXPTabManagerNavigateButton::idLeft)->m_rc;
    EXPECT_EQ(0, t.OnToolHitTest(POINT{(left.left + left.right) / 2, (left.top + left.bottom) / 2}, &text, &rc));
    EXPECT_STREQ("Scroll Left", text);
}

TEST(TabPainter, SelectingAHiddenTabScrollsItIntoView)
{
    TestTabs t;
    t.Fill(12);
    t.painter.SetLayout(tabLayoutFixed);
    t.area = {0, 0, 300, 60};
    t.OnPropertyChanged();
    EXPECT_FALSE(IsRectEmpty(&t.FindNavigateButton(1)->m_rc)); // scroll right shows
    t.SetCurSel(11);
    t.OnPropertyChanged();
    EXPECT_LT(t.GetScrollOffset(), 0);
    EXPECT_LE(t.GetItem(11)->GetRect().right, t.m_rcHeaderRect.right);
    t.SetCurSel(0);
    t.OnPropertyChanged();
    EXPECT_GE(t.GetItem(0)->GetRect().left, t.m_rcHeaderRect.left);
}

TEST(TabPainter, AppearancesAndColourSets)
{
    CQXPTabPainter p;
    struct {
        int appearance;
        int colors;
        RECT margins;
    } cases[] = {{0, 1, {2, 3, 6, 0}}, {4, 2, {2, 2, 4, 2}}, {8, 1, {0, 0, 0, 0}}, {10, 32, {4, 1, 0, 0}}, {42, 1, {2, 3, 6, 0}}, {-1, 1, {2, 3, 6, 0}}};
    for (auto& c : cases) {
        p.SetAppearance(c.appearance);
        EXPECT_EQ(c.colors, p.GetColor()) << c.appearance;
        RECT m = p.GetHeaderMargin();
        EXPECT_TRUE(EqualRect(&c.margins, &m)) << c.appearance;
    }
    p.SetColor(3);
    EXPECT_EQ(1, p.GetColor());
    // Slanted tabs start a button height further in; rounded ones half of it
    // at both ends.
    const int h = p.GetAppearanceSet()->m_nButtonHeight;
    p.SetAppearance(3);
    EXPECT_EQ(2 + h, p.GetHeaderMargin().left);
    p.SetAppearance(7);
    EXPECT_EQ(2 + h / 2, p.GetHeaderMargin().left);
    EXPECT_EQ(4 + h / 2, p.GetHeaderMargin().right);
    EXPECT_EQ(0x15, CQXPTabPainter::GetSupportedColorSets(9));
}

// A strip of three tabs, the second selected, at a side, drawn on white.
std::unique_ptr<painttest::MemoryDC> DrawStrip(int nAppearance, int nPosition, int cx, int cy, RECT* prcSelected)
{
    TestTabs t;
    t.Fill(3);
    t.painter.SetAppearance(nAppearance);
    t.painter.SetPosition(nPosition);
    t.area = {0, 0, cx, cy};
    t.OnPropertyChanged();
    t.SetCurSel(1);
    auto pic = std::make_unique<painttest::MemoryDC>(cx, cy);
    t.painter.DrawTabControl(&t, pic->dc()->GetSafeHdc(), t.area);
    *prcSelected = t.GetItem(1)->GetRect();
    return pic;
}

TEST(TabPainter, AppearanceTenDrawsTheThemesTabImageOnEverySide)
{
    ThemeBitmap* pImage = GetThemeResources()->LoadImage("RIBBONTAB");
    ASSERT_TRUE(pImage != NULL);
    // The image's outer edge (its top row) in the middle of the tab.
    painttest::MemoryDC img(pImage->GetWidth(), 23);
    pImage->DrawImage(img.dc(), CRect(0, 0, pImage->GetWidth(), 23), pImage->GetSource(3, 6), CRect(5, 5, 5, 5));
    const COLORREF clrEdge = img.Pixel(pImage->GetWidth() / 2, 0);

    const struct {
        int pos;
        const char* name;
    } sides[] = {{tabPositionTop, "tabs-appearance10-top.png"},
                 {tabPositionLeft, "tabs-appearance10-left.png"},
                 {tabPositionBottom, "tabs-appearance10-bottom.png"},
                 {tabPositionRight, "tabs-appearance10-right.png"}};
    for (const auto& side : sides) {
        SCOPED_TRACE(side.name);
        CRect rc;
        auto pic = DrawStrip(10, side.pos, 300, 200, &rc);
        POINT pt;
        switch (side.pos) {
        case tabPositionTop: pt = {rc.CenterPoint().x, rc.top}; break;
        case tabPositionBottom: pt = {rc.CenterPoint().x, rc.bottom - 1}; break;
        case tabPositionLeft: pt = {rc.left, rc.CenterPoint().y}; break;
        default: pt = {rc.right - 1, rc.CenterPoint().y}; break;
        }
        EXPECT_EQ(clrEdge, pic->Pixel(pt.x, pt.y)) << "the image's outer edge on the tab's outer side";
        EXPECT_TRUE(pic->SavePng(side.name));
    }
    // Without the theme's images: the plain look of the colour set.
    ThemeResources* pTheme = GetThemeResources();
    pTheme->LoadTextResource(GetModuleHandleA("kernel32.dll"), NULL, FALSE);
    CRect rc;
    auto pic = DrawStrip(10, tabPositionTop, 300, 60, &rc);
    TabColorSet plain;
    {
        TestTabs t;
        t.painter.SetAppearance(10);
        plain = t.painter.GetColors();
    }
    EXPECT_EQ(plain.clrBorder, pic->Pixel(rc.CenterPoint().x, rc.top));
    EXPECT_TRUE(pic->SavePng("tabs-appearance10-without-theme.png"));
    pTheme->LoadTextResource(NULL, NULL, FALSE);
    EXPECT_TRUE(pTheme->IsLoaded());
}

TEST(TabPainter, VerticalFontHeights)
{
    CQXPTabPainter p;
    struct {
        LONG height;
        LONG vertical;
    } cases[] = {{-8, -11}, {-1, -11}, {-10, -11}, {-12, -12}, {0, 0}, {14, 14}};
    for (auto& c : cases) {
        LOGFONTA lf = {};
        lf.lfHeight = c.height;
        lstrcpyA(lf.lfFaceName, "Tahoma");
        p.SetFontIndirect(&lf, FALSE);
        EXPECT_EQ(c.vertical, p.GetVerticalFontHeight()) << c.height;
        EXPECT_NE((HFONT)NULL, p.GetFont(TRUE, TRUE));
    }
}

TEST(TabPainter, PositionChangesReachTheStrips)
{
    TestTabs t;
    int before = t.changes;
    t.painter.SetPosition(tabPositionRight);
    EXPECT_GT(t.changes, before);
    EXPECT_EQ(tabPositionRight, t.GetPosition());
    t.painter.SetPosition(9);
    EXPECT_EQ(tabPositionTop, t.GetPosition());
}

// --- the mouse loops, with a window of their own -------------------------

const UINT WM_REMOVE_TAB = WM_APP + 1;

struct LoopHost {
    LoopHost()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandle(NULL);
        wc.lpszClassName = "QxTabLoopHost";
        RegisterClassA(&wc);
        hWnd = CreateWindowExA(0, "QxTabLoopHost", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 200, NULL, NULL,
                               GetModuleHandle(NULL), NULL);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, (LONG_PTR)this);
        tabs.Fill(4);
        tabs.painter.SetLayout(tabLayoutFixed);
        tabs.area = {0, 0, 480, 60};
        tabs.OnPropertyChanged();
        tabs.SetCurSel(0);
    }
    ~LoopHost() { DestroyWindow(hWnd); }
    POINT Centre(int i) const
    {
        RECT r = tabs.GetItem(i)->GetRect();
        POINT pt = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        return pt;
    }
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        LoopHost* self = (LoopHost*)GetWindowLongPtrA(h, GWLP_USERDATA);
        if (self && m == WM_REMOVE_TAB) {
            self->tabs.DeleteItem((int)w);
            return 0;
        }
        if (self && m == WM_TIMER && self->onTimer) {
            self->onTimer();
            return 0;
        }
        return DefWindowProcA(h, m, w, l);
    }
    // The middle of a navigate button.
    static POINT Centre(const CQXPTabManagerNavigateButton* b)
    {
        return POINT{(b->m_rc.left + b->m_rc.right) / 2, (b->m_rc.top + b->m_rc.bottom) / 2};
    }
    HWND hWnd;
    TestTabs tabs;
    std::function<void()> onTimer; // the window's timers, while a loop runs
};

TEST(TabLoops, ClickEndsOnRelease)
{
    LoopHost host;
    host.tabs.SetAllowReorder(FALSE);
    POINT pt = host.Centre(2);
    PostMessageA(host.hWnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_TRUE(host.tabs.PerformClick(host.hWnd, pt));
    EXPECT_EQ("Tab 2", host.tabs.Sel());
    EXPECT_EQ(nullptr, host.tabs.GetPressed());
}

TEST(TabLoops, TabRemovedDuringTheClickIsNotUsed)
{
    LoopHost host;
    host.tabs.SetAllowReorder(FALSE);
    POINT pt = host.Centre(2);
    CQXPTabManagerItem* removed = host.tabs.GetItem(2);
    PostMessageA(host.hWnd, WM_REMOVE_TAB, 2, 0);
    PostMessageA(host.hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    PostMessageA(host.hWnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    host.tabs.PerformClick(host.hWnd, pt);
    EXPECT_EQ(3, host.tabs.GetItemCount());
    EXPECT_TRUE(host.tabs.clicked.empty());
    EXPECT_EQ("Tab 0", host.tabs.Sel());
    EXPECT_EQ(nullptr, host.tabs.GetPressed());
    EXPECT_NE(removed, host.tabs.GetSelectedItem());
    EXPECT_EQ(nullptr, GetCapture());
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

TEST(TabLoops, DragReordersTabs)
{
    LoopHost host;
    POINT from = host.Centre(0), to = host.Centre(2);
    PostMessageA(host.hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    PostMessageA(host.hWnd, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    host.tabs.PerformClick(host.hWnd, from);
    EXPECT_STREQ("Tab 2", host.tabs.GetItem(0)->GetCaption());
    EXPECT_STREQ("Tab 0", host.tabs.GetItem(2)->GetCaption());
    EXPECT_EQ("Tab 0", host.tabs.Sel());
}

TEST(TabLoops, TabRemovedDuringTheDragIsNotUsed)
{
    LoopHost host;
    host.tabs.SetCurSel(3);
    POINT from = host.Centre(1), to = host.Centre(2);
    CQXPTabManagerItem* dragged = host.tabs.GetItem(1);
    PostMessageA(host.hWnd, WM_REMOVE_TAB, 1, 0);
    PostMessageA(host.hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    PostMessageA(host.hWnd, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    host.tabs.PerformClick(host.hWnd, from);
    EXPECT_EQ(3, host.tabs.GetItemCount());
    EXPECT_NE(dragged, host.tabs.GetSelectedItem());
    EXPECT_EQ("Tab 3", host.tabs.Sel()); // the selection of the start
    for (CQXPTabManagerItem* p : host.tabs.clicked)
        EXPECT_NE(dragged, p);
    EXPECT_EQ(nullptr, GetCapture());
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// When a loop ends, the hot tab and the hot navigate button are what lies
// under the last point, not what the press held or what was hot before it.
TEST(TabLoops, HoverIsTakenAgainWhereALoopEnds)
{
    enum Loop {
        clickLoop,
        reorderLoop,
        buttonLoop
    };
    struct {
        const char* name;
        Loop loop;
        int pressed;  // the tab pressed (buttonLoop: the scroll-right button)
        int released; // the tab under the release, -1 off the strip
    } cases[] = {
        {"a click released over another tab", clickLoop, 1, 3},
        {"a click released off the strip", clickLoop, 1, -1},
        {"a reorder released off the strip", reorderLoop, 0, -1},
        {"a scroll button released over a tab", buttonLoop, -1, 0},
        {"a scroll button released off the strip", buttonLoop, -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoopHost host;
        host.tabs.painter.m_bHotTracking = TRUE;
        if (c.loop == buttonLoop) {
            host.tabs.Fill(8); // longer than the strip: the scroll buttons show
            host.tabs.OnPropertyChanged();
        }
        host.tabs.SetAllowReorder(c.loop == reorderLoop);
        SetForegroundWindow(host.hWnd);
        qmtest::PumpFor(30);
        ASSERT_EQ(host.hWnd, GetForegroundWindow()); // hover is taken only then
        CQXPTabManagerNavigateButton* pRight = host.tabs.FindNavigateButton(CQXPTabManagerNavigateButton::idRight);
        const POINT press = c.loop == buttonLoop ? LoopHost::Centre(pRight) : host.Centre(c.pressed);
        ASSERT_FALSE(c.loop == buttonLoop && IsRectEmpty(&pRight->m_rc));
        host.tabs.TrackMouse(host.hWnd, press); // hot before the press
        CQXPTabManagerItem* pExpected = c.released >= 0 ? host.tabs.GetItem(c.released) : nullptr;
        const POINT release = c.released >= 0 ? host.Centre(c.released) : POINT{250, 150};
        PostMessageA(host.hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(release.x, release.y));
        PostMessageA(host.hWnd, WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
        host.tabs.PerformClick(host.hWnd, press);
        EXPECT_EQ(nullptr, GetCapture());
        EXPECT_EQ(pExpected, host.tabs.GetHighlighted());
        EXPECT_EQ(nullptr, host.tabs.GetHighlightedNavigateButton());
        EXPECT_EQ(nullptr, host.tabs.GetPressed());
        EXPECT_FALSE(pRight->m_bPressed);
    }
}

// A held scroll button goes on scrolling every 20 ms also while the mouse
// is off it (shown unpressed then); released off it, it does not act.
TEST(TabLoops, ScrollingRepeatsWhileHeldAlsoOffTheButton)
{
    LoopHost host;
    host.tabs.Fill(26); // far longer than the strip
    host.tabs.OnPropertyChanged();
    CQXPTabManagerNavigateButton* pRight = host.tabs.FindNavigateButton(CQXPTabManagerNavigateButton::idRight);
    ASSERT_FALSE(IsRectEmpty(&pRight->m_rc));
    ASSERT_TRUE(pRight->m_bEnabled);
    // The mouse leaves the button at once; the window's timer looks on from
    // inside the loop and lets the button go once the strip has scrolled
    // three more steps (or, failing that, after 5 seconds).
    const POINT off = {250, 150};
    PostMessageA(host.hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(off.x, off.y));
    int nOffsetOff = 1; // the offset when the move off the button was taken
    bool bShownPressedOff = true;
    const DWORD dwStart = GetTickCount();
    host.onTimer = [&] {
        if (nOffsetOff > 0) {
            nOffsetOff = host.tabs.GetScrollOffset();
            bShownPressedOff = pRight->m_bPressed != FALSE;
            return;
        }
        if (host.tabs.GetScrollOffset() <= nOffsetOff - 3 * host.tabs.m_nScrollStep || GetTickCount() - dwStart > 5000) {
            KillTimer(host.hWnd, 1);
            PostMessageA(host.hWnd, WM_LBUTTONUP, 0, MAKELPARAM(off.x, off.y));
        }
    };
    SetTimer(host.hWnd, 1, 10, NULL);
    host.tabs.PerformClick(host.hWnd, LoopHost::Centre(pRight));
    KillTimer(host.hWnd, 1);
    host.onTimer = nullptr;
    ASSERT_LE(nOffsetOff, 0);
    EXPECT_FALSE(bShownPressedOff);
    EXPECT_LE(host.tabs.GetScrollOffset(), nOffsetOff - 3 * host.tabs.m_nScrollStep);
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_FALSE(pRight->m_bPressed);
}

} // namespace

namespace {

struct RowCase {
    const char* name;
    std::vector<int> widths;
    int length;
    BOOL balance;
    std::vector<int> starts; // first item of each row
};

class TabRows : public ::testing::TestWithParam<RowCase> {};

TEST_P(TabRows, SplitIntoRows)
{
    const RowCase& c = GetParam();
    EXPECT_EQ(c.starts, CQXPTabPainter::SplitRows(c.widths, c.length, c.balance)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TabRows,
    ::testing::Values(
        RowCase{"all fit in one row", {50, 50, 50}, 200, TRUE, {0}},
        RowCase{"greedy rows leave the last one short", {60, 60, 60, 60, 60}, 200, FALSE, {0, 3}},
        RowCase{"balanced rows share the items", {60, 60, 60, 60, 60}, 200, TRUE, {0, 2}},
        RowCase{"balanced rows of unequal widths", {100, 20, 20, 20, 100, 20}, 190, TRUE, {0, 3}},
        RowCase{"an item wider than the strip has a row of its own", {300, 50, 50}, 200, TRUE, {0, 1}},
        RowCase{"as many rows as the greedy pass, shared evenly", {40, 40, 40, 40, 40, 40, 40}, 100, TRUE, {0, 1, 3, 5}},
        RowCase{"no items", {}, 100, TRUE, {}},
        RowCase{"a zero length still places every item", {10, 10}, 0, TRUE, {0, 1}}),
    [](const ::testing::TestParamInfo<RowCase>& info) { return "Case" + std::to_string(info.index); });

TEST(TabPainter, MultiRowStripKeepsTheSelectedRowNextToTheClient)
{
    TestTabs t;
    t.Fill(6);
    t.painter.SetLayout(tabLayoutMultiRow);
    t.painter.SetItemMetrics(80);
    t.painter.SetLayout(tabLayoutMultiRow);
    t.area = {0, 0, 260, 200};
    // Fixed widths through the minimum: every tab 80 wide.
    t.painter.m_nMinTabWidth = 80;
    t.painter.m_nMaxTabWidth = 80;
    t.SetCurSel(0);
    t.OnPropertyChanged();
    ASSERT_EQ(2u, t.m_arrRows.size());
    int h = t.painter.GetButtonHeight();
    RECT m = t.painter.GetHeaderMargin();
    // Two rows in the header, overlapping by 2 pixels; the client starts
    // below both (in the header's last row, inside its 3-D frame).
    EXPECT_EQ(-2, t.painter.GetAppearanceSet()->m_nRowSpacing);
    EXPECT_EQ(t.m_rcHeaderRect.bottom - 1 + 2, t.m_rcClient.top);
    EXPECT_EQ(m.top + 2 * h - 2 + m.bottom, t.m_rcHeaderRect.bottom - t.m_rcHeaderRect.top);
    // The selected row lies next to the client, the other above it.
    EXPECT_EQ(0, t.GetItem(0)->m_nItemRow);
    EXPECT_EQ(t.GetItem(0)->GetRect().top, t.GetItem(5)->GetRect().top + h - 2);
    EXPECT_EQ(t.m_rcHeaderRect.bottom - m.bottom, t.GetItem(0)->GetRect().bottom);
    // Balanced: three tabs a row, stretched to the whole length.
    EXPECT_EQ(260 - m.right, t.GetItem(2)->GetRect().right);
    EXPECT_EQ(260 - m.right, t.GetItem(5)->GetRect().right);
    // Selecting a tab of the far row brings that row to the client.
    t.SetCurSel(4);
    t.OnPropertyChanged();
    EXPECT_EQ(0, t.GetItem(4)->m_nItemRow);
    EXPECT_GT(t.GetItem(4)->GetRect().top, t.GetItem(0)->GetRect().top);
    // A bottom strip stacks its rows downwards from the client.
    t.painter.SetPosition(tabPositionBottom);
    EXPECT_EQ(t.m_rcHeaderRect.top + 1 - 2, t.m_rcClient.bottom);
    EXPECT_LT(t.GetItem(4)->GetRect().top, t.GetItem(0)->GetRect().top);
}

TEST(TabPainter, ColourSetsGiveTheirColours)
{
    CQXPTabPainter p;
    ToolkitColorManager* cm = ToolkitColorManager::Instance();
    p.SetAppearance(0);                                     // colour set 1
    EXPECT_EQ((COLORREF)-2, p.GetColors().clrStateFill[0]); // the checker pattern
    EXPECT_EQ(cm->GetColor(COLOR_3DFACE), p.GetColors().clrSelectedFace);
    p.SetAppearance(5); // flat: its header face is colour 48
    EXPECT_EQ(2, p.GetColor());
    EXPECT_EQ(cm->GetColor(qxColorTabFace), p.GetColors().clrHeader[0]);
    EXPECT_EQ(cm->GetColor(qxColorTabText), p.GetColors().clrNormalText);
    p.m_bThemed = FALSE;
    p.SetAppearance(2);
    p.SetColor(4); // Luna without a Luna scheme
    EXPECT_EQ(cm->GetColor(qxColorCheckedFace), p.GetColors().clrSelectedFace);
    EXPECT_EQ(cm->GetColor(qxColorPressedFace), p.GetColors().clrPressedFace);
    EXPECT_FALSE(p.GetColors().bLuna);
    p.SetColor(32); // the resource set: fixed blues, or the theme's where it has them
    EXPECT_EQ(RGB(59, 97, 156), p.GetColors().clrBorder);
    EXPECT_TRUE(p.GetColors().bLuna);
    {
        // A theme text of other colours: the set takes them.
        qmtest::ScopedThemeText text("[TabManager]\r\nFrameBorder = 1 2 3\r\n[Ribbon]\r\nRibbonFace = 4 5 6\r\n"
                                     "TabSelectedText = 7 8 9\r\n[Window]\r\nHighlightSelected = 10 11 12\r\n");
        p.SetColor(32);
        EXPECT_EQ(RGB(1, 2, 3), p.GetColors().clrBorder);
        EXPECT_EQ(RGB(1, 2, 3), p.GetColors().clrShape[tabShapeSelectedOutline]);
        EXPECT_EQ(RGB(4, 5, 6), p.GetColors().clrHeader[0]);
        EXPECT_EQ(RGB(4, 5, 6), p.GetColors().clrClient[1]);
        EXPECT_EQ(RGB(7, 8, 9), p.GetColors().clrSelectedText);
        EXPECT_EQ(RGB(10, 11, 12), p.GetColors().clrHotFace);
        EXPECT_EQ(RGB(0, 53, 154), p.GetColors().clrDarkShadow3D) << "a key the text lacks keeps its blue";
    }
    {
        // Without a theme text: the fixed blues.
        qmtest::ScopedThemeText none("");
        p.SetColor(32);
        EXPECT_EQ(RGB(59, 97, 156), p.GetColors().clrBorder);
        EXPECT_EQ(RGB(196, 218, 250), p.GetColors().clrHeader[0]);
        EXPECT_EQ(RGB(158, 190, 245), p.GetColors().clrClient[0]);
        EXPECT_EQ(RGB(196, 218, 250), p.GetColors().clrClient[1]);
    }
    // Item colours only when the painter uses them.
    TestTabs t;
    t.Fill(2);
    t.GetItem(1)->SetColor(RGB(1, 2, 3));
    t.SetCurSel(0);
    EXPECT_EQ(t.painter.GetColors().clrNormalFace, t.painter.GetItemFill(&t, t.GetItem(1)));
    t.painter.m_bUseItemColors = TRUE;
    EXPECT_EQ(RGB(1, 2, 3), t.painter.GetItemFill(&t, t.GetItem(1)));
    // The text colours by state.
    t.GetItem(1)->SetEnabled(FALSE);
    EXPECT_EQ(t.painter.GetColors().clrDisabledText, t.painter.GetItemTextColor(&t, t.GetItem(1)));
    EXPECT_EQ(t.painter.GetColors().clrSelectedText, t.painter.GetItemTextColor(&t, t.GetItem(0)));
}

// The second Luna set (16) by the colour manager's scheme, with and without
// the painter allowing the Luna colours. Allowed, it takes the Luna set's
// colours whole (the base set's texts, the Luna faces, on a scheme the
// scheme's colours); else its own light headers on the blue, olive and
// silver schemes.
TEST(TabPainter, SecondLunaSetByScheme)
{
    const COLORREF kFace = (COLORREF)-3, kStyleBorder = (COLORREF)-4, kMix = (COLORREF)-5, kShadow = (COLORREF)-6,
                   kChecked = (COLORREF)-7, kWindow = (COLORREF)-8, kText = (COLORREF)-9, kWindowText = (COLORREF)-10,
                   kLunaSelected = RGB(255, 194, 115);
    struct Row {
        int scheme;
        BOOL allowLuna;
        COLORREF header0, header1, normal, client0, client1, border, selected, selectedText;
        BOOL luna, gradient;
    } rows[] = {
        {qxColorThemeBlue, TRUE, RGB(196, 218, 250), RGB(252, 253, 254), RGB(162, 192, 246), RGB(158, 190, 245),
         RGB(196, 218, 250), RGB(59, 97, 156), kLunaSelected, kText, TRUE, FALSE},
        {qxColorThemeOlive, TRUE, RGB(242, 241, 228), RGB(252, 254, 254), RGB(208, 222, 170), RGB(217, 217, 167),
         RGB(242, 241, 228), RGB(96, 128, 88), kLunaSelected, kText, TRUE, FALSE},
        {qxColorThemeClassic, TRUE, kFace, kMix, kFace, kFace, kMix, kShadow, kChecked, kText, FALSE, FALSE},
        {qxColorThemeBlue, FALSE, RGB(228, 226, 213), RGB(228, 226, 213), kFace, kFace, kFace, kStyleBorder, kWindow,
         kWindowText, FALSE, TRUE},
        {qxColorThemeOlive, FALSE, RGB(228, 226, 213), RGB(228, 226, 213), kFace, kFace, kFace, kStyleBorder, kWindow,
         kWindowText, FALSE, TRUE},
        {qxColorThemeSilver, FALSE, RGB(238, 238, 238), RGB(238, 238, 238), RGB(245, 245, 248), kFace, kFace,
         kStyleBorder, kWindow, kWindowText, FALSE, TRUE},
        {qxColorThemeClassic, FALSE, kFace, kFace, kFace, kFace, kFace, kStyleBorder, kWindow, kWindowText, FALSE,
         FALSE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "scheme " << r.scheme << (r.allowLuna ? " Luna allowed" : ""));
        painttest::FixedColors colors(r.scheme);
        ToolkitColorManager* cm = ToolkitColorManager::Instance();
        auto col = [&](COLORREF c) {
            return c == kFace          ? cm->GetColor(COLOR_3DFACE)
                   : c == kStyleBorder ? cm->GetColor(qxColorStyleBorder)
                   : c == kMix         ? MixColors(cm->GetColor(COLOR_3DFACE), cm->GetColor(COLOR_WINDOW), 205)
                   : c == kShadow      ? cm->GetColor(COLOR_3DSHADOW)
                   : c == kChecked     ? cm->GetColor(qxColorCheckedFace)
                   : c == kWindow      ? cm->GetColor(COLOR_WINDOW)
                   : c == kText        ? cm->GetColor(COLOR_BTNTEXT)
                   : c == kWindowText  ? cm->GetColor(COLOR_WINDOWTEXT)
                                       : c;
        };
        CQXPTabPainter p;
        p.m_bThemed = r.allowLuna;
        p.SetAppearance(2);
        p.SetColor(16);
        ASSERT_TRUE(dynamic_cast<CTabColorSetLuna2*>(p.GetColorSet()) != nullptr);
        const TabColorSet& c = p.GetColors();
        EXPECT_EQ(col(r.header0), c.clrHeader[0]);
        EXPECT_EQ(col(r.header1), c.clrHeader[1]);
        EXPECT_EQ(col(r.normal), c.clrNormalFace);
        EXPECT_EQ(col(r.client0), c.clrClient[0]);
        EXPECT_EQ(col(r.client1), c.clrClient[1]);
        EXPECT_EQ(col(r.border), c.clrBorder);
        EXPECT_EQ(col(r.border), c.clrShape[tabShapeSelectedOutline]);
        EXPECT_EQ(col(r.selected), c.clrSelectedFace);
        EXPECT_EQ(col(r.selectedText), c.clrSelectedText);
        EXPECT_EQ(r.luna, c.bLuna);
        EXPECT_EQ(r.gradient, c.bItemGradient);
        if (!r.luna) {
            EXPECT_EQ(cm->GetColor(qxColorCheckedFace), c.clrHotFace);
            EXPECT_EQ(cm->GetColor(qxColorPressedFace), c.clrPressedFace);
        }
    }
}

// The Luna sets' tabs by state: the first three tabs selected, hot and
// pressed. The Luna set shades every tab from white and gives the pressed
// tab its own face; the second Luna set shades only on the blue, olive and
// silver schemes and has no pressed face.
TEST(TabPainter, LunaSetsFillTabsByState)
{
    enum Face {
        selected,
        hotFace,
        pressedFace,
        normalFace
    };
    struct Row {
        const char* what;
        int colors, scheme;
        BOOL shaded;
        Face faces[3];
    } rows[] = {
        {"Luna set without the Luna colours", 4, qxColorThemeClassic, TRUE, {selected, hotFace, pressedFace}},
        {"second Luna set on the silver scheme", 16, qxColorThemeSilver, TRUE, {selected, hotFace, normalFace}},
        {"second Luna set without a scheme", 16, qxColorThemeClassic, FALSE, {selected, hotFace, normalFace}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        painttest::FixedColors colors(r.scheme);
        TestTabs t;
        t.Fill(3);
        t.painter.m_bThemed = FALSE;
        t.painter.SetAppearance(6); // box tabs: each filled whole
        t.painter.SetColor(r.colors);
        t.area = {0, 0, 300, 60};
        t.OnPropertyChanged();
        t.SetCurSel(0);
        t.SetHot(1);
        t.SetPressed(2);
        const TabColorSet& c = t.painter.GetColors();
        const COLORREF faces[] = {c.clrSelectedFace, c.clrHotFace, c.clrPressedFace, c.clrNormalFace};
        for (int i = 0; i < 3; ++i) {
            const COLORREF face = faces[r.faces[i]];
            painttest::MemoryDC pic(300, 60);
            const RECT& rc = t.GetItem(i)->GetRect();
            EXPECT_EQ(face, t.painter.GetColorSet()->FillItem(pic.dc()->GetSafeHdc(), rc, &t, t.GetItem(i))) << i;
            const int x = (rc.left + rc.right) / 2;
            const COLORREF top = pic.Pixel(x, rc.top), bottom = pic.Pixel(x, rc.bottom - 1);
            if (!r.shaded) {
                EXPECT_EQ(face, top) << i;
                EXPECT_EQ(face, bottom) << i;
                continue;
            }
            // From the face's mix with white at the outer edge to the face
            // at the client side.
            auto alike = [](COLORREF a, COLORREF b) {
                return std::abs(GetRValue(a) - GetRValue(b)) <= 4 && std::abs(GetGValue(a) - GetGValue(b)) <= 4 &&
                       std::abs(GetBValue(a) - GetBValue(b)) <= 4;
            };
            EXPECT_PRED2(alike, MixColors(face, RGB(255, 255, 255), 300), top) << i;
            EXPECT_PRED2(alike, face, bottom) << i;
        }
    }
}

// The face of a scroll button by colour set and state: its frame's top-left
// and bottom-right colours and the fill just inside the frame.
TEST(TabPainter, NavigateButtonFacesByColourSet)
{
    enum State {
        normal,
        hot,
        pressed
    };
    const COLORREF kNone = (COLORREF)-3, kLunaBorder = RGB(0, 0, 128);
    struct Row {
        const char* what;
        int scheme, appearance, colors;
        BOOL allowLuna;
        State state;
        int topLeft, bottomRight, fill; // colour numbers; -1: no frame or fill of its own
        COLORREF fixedFrame;            // a fixed frame colour instead
    } rows[] = {
        {"default set, hot", qxColorThemeClassic, 0, 1, TRUE, hot, COLOR_3DHIGHLIGHT, COLOR_3DSHADOW, -1, kNone},
        {"default set, pressed", qxColorThemeClassic, 0, 1, TRUE, pressed, COLOR_3DSHADOW, COLOR_3DHIGHLIGHT, -1,
         kNone},
        {"default set, normal", qxColorThemeClassic, 0, 1, TRUE, normal, -1, -1, -1, kNone},
        {"flat set, hot", qxColorThemeClassic, 5, 2, TRUE, hot, COLOR_3DFACE, COLOR_BTNTEXT, -1, kNone},
        {"flat set, pressed", qxColorThemeClassic, 5, 2, TRUE, pressed, COLOR_BTNTEXT, COLOR_3DFACE, -1, kNone},
        {"Luna set without Luna, hot", qxColorThemeClassic, 2, 4, FALSE, hot, qxColorHotBorder, qxColorHotBorder,
         qxColorHotFace, kNone},
        {"Luna set without Luna, pressed", qxColorThemeClassic, 2, 4, FALSE, pressed, qxColorCheckedBorder,
         qxColorCheckedBorder, qxColorPressedFace, kNone},
        {"second Luna set without Luna, hot", qxColorThemeClassic, 2, 16, FALSE, hot, qxColorHotBorder,
         qxColorHotBorder, qxColorHotFace, kNone},
        {"Luna set on the blue scheme, hot", qxColorThemeBlue, 2, 4, TRUE, hot, -1, -1, -1, kLunaBorder},
        {"Luna set on the blue scheme, pressed", qxColorThemeBlue, 2, 4, TRUE, pressed, -1, -1, -1, kLunaBorder},
        {"Luna set on the blue scheme, normal", qxColorThemeBlue, 2, 4, TRUE, normal, -1, -1, -1, kNone},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        painttest::FixedColors colors(r.scheme);
        ToolkitColorManager* cm = ToolkitColorManager::Instance();
        TestTabs t;
        t.Fill(12);
        t.painter.m_bThemed = r.allowLuna;
        t.painter.SetAppearance(r.appearance);
        t.painter.SetColor(r.colors);
        t.area = {0, 0, 200, 40};
        t.OnPropertyChanged();
        CQXPTabManagerNavigateButton* b = t.FindNavigateButton(CQXPTabManagerNavigateButton::idRight);
        ASSERT_FALSE(IsRectEmpty(&b->m_rc));
        b->m_bPressed = r.state == pressed;
        t.SetHotButton(r.state == normal ? NULL : b);
        painttest::MemoryDC pic(200, 40);
        t.painter.DrawTabControl(&t, pic.dc()->GetSafeHdc(), t.area);
        const RECT rc = b->m_rc;
        // What lies under the button when it has no face: the header.
        painttest::MemoryDC plain(200, 40);
        b->m_bPressed = FALSE;
        t.SetHotButton(NULL);
        t.painter.DrawTabControl(&t, plain.dc()->GetSafeHdc(), t.area);
        const COLORREF under = plain.Pixel(rc.left + 1, rc.top);
        if (r.fixedFrame != kNone) {
            EXPECT_EQ(r.fixedFrame, pic.Pixel(rc.left + 1, rc.top));
            EXPECT_EQ(r.fixedFrame, pic.Pixel(rc.right - 1, rc.bottom - 2));
            EXPECT_NE(under, pic.Pixel(rc.left + 1, rc.top + 1)) << "a gradient inside";
        } else if (r.topLeft < 0) {
            EXPECT_EQ(under, pic.Pixel(rc.left + 1, rc.top)) << "no face";
        } else {
            EXPECT_EQ(cm->GetColor(r.topLeft), pic.Pixel(rc.left + 1, rc.top));
            EXPECT_EQ(cm->GetColor(r.bottomRight), pic.Pixel(rc.right - 1, rc.bottom - 2));
        }
        if (r.fill >= 0)
            EXPECT_EQ(cm->GetColor(r.fill), pic.Pixel(rc.left + 1, rc.top + 1));
    }
}

// The resource set's scroll buttons with the Office 2007 theme loaded: the
// theme's button picture when hot (state 0) or pressed (state 1), nothing
// otherwise.
TEST(TabPainter, ResourceSetNavigateButtonsShowTheThemesPicture)
{
    qmtest::ScopedThemeText text("[Ribbon]\r\nTabNormalText = 1 2 3\r\n");
    ThemeBitmap* pImage = GetThemeResources()->LoadImage("TOOLBARBUTTONS22");
    ASSERT_TRUE(pImage != NULL);
    TestTabs t;
    t.Fill(12);
    t.painter.SetAppearance(10);
    ASSERT_EQ(32, t.painter.GetColor());
    t.area = {0, 0, 200, 40};
    t.OnPropertyChanged();
    CQXPTabManagerNavigateButton* b = t.FindNavigateButton(CQXPTabManagerNavigateButton::idRight);
    ASSERT_FALSE(IsRectEmpty(&b->m_rc));
    const RECT rc = b->m_rc;
    struct {
        const char* what;
        BOOL pressed, hot;
        int state; // -1: no picture
    } cases[] = {{"normal", FALSE, FALSE, -1}, {"hot", FALSE, TRUE, 0}, {"pressed", TRUE, TRUE, 1}};
    for (auto& k : cases) {
        SCOPED_TRACE(k.what);
        b->m_bPressed = k.pressed;
        t.SetHotButton(k.hot ? b : NULL);
        painttest::MemoryDC alone(200, 40);
        RECT rcFace = rc;
        EXPECT_EQ(RGB(1, 2, 3), t.painter.GetColorSet()->FillNavigateButton(alone.dc()->GetSafeHdc(), &t, b, rcFace))
            << "the normal text colour";
        painttest::MemoryDC strip(200, 40);
        t.painter.DrawTabControl(&t, strip.dc()->GetSafeHdc(), t.area);
        if (k.state < 0) {
            // As without the theme: no face of its own.
            painttest::MemoryDC bare(200, 40);
            {
                qmtest::ScopedThemeText none("");
                t.painter.DrawTabControl(&t, bare.dc()->GetSafeHdc(), t.area);
            }
            EXPECT_EQ(bare.Pixel(rc.left + 1, rc.top + 1), strip.Pixel(rc.left + 1, rc.top + 1));
            EXPECT_EQ(bare.Pixel(rc.right - 2, rc.bottom - 2), strip.Pixel(rc.right - 2, rc.bottom - 2));
            continue;
        }
        // The picture drawn over the plain strip.
        painttest::MemoryDC ref(200, 40);
        b->m_bPressed = FALSE;
        t.SetHotButton(NULL);
        t.painter.DrawTabControl(&t, ref.dc()->GetSafeHdc(), t.area);
        pImage->DrawImage(ref.dc(), CRect(rc), pImage->GetSource(k.state, 4), CRect(8, 8, 8, 8));
        EXPECT_EQ(ref.Pixel(rc.left + 1, rc.top + 1), strip.Pixel(rc.left + 1, rc.top + 1));
        EXPECT_EQ(ref.Pixel(rc.right - 2, rc.bottom - 2), strip.Pixel(rc.right - 2, rc.bottom - 2));
    }
    b->m_bPressed = FALSE;
}

} // namespace
