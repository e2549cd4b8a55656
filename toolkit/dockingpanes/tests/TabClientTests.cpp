// The client rectangle of a tab control by appearance, tab position and
// client-frame style: the header at the tab side, the client overlapping
// its last row by one pixel, the content inside the client frame; and the
// frame each appearance draws along that client, read back from a memory
// bitmap.
#include <qx/tabpaint.h>
#include <qx/colors.h>
#include <qx/themeres.h>

#include <gtest/gtest.h>

#include "PaintTestSupport.h"
#include "TabTestSupport.h"

#include <ostream>
#include <string>

namespace {

using tabtest::FrameColours;
using tabtest::FrameOf;
using tabtest::TestTabs;

std::string Str(const RECT& rc)
{
    return "{" + std::to_string(rc.left) + ", " + std::to_string(rc.top) + ", " + std::to_string(rc.right) + ", " +
           std::to_string(rc.bottom) + "}";
}

// The header margins each appearance starts with, at the tab side and at
// the client side.
struct AppearanceCase {
    int appearance;
    int marginTab, marginClient;
};

void PrintTo(const AppearanceCase& c, std::ostream* os)
{
    *os << "appearance " << c.appearance;
}

const AppearanceCase kAppearances[] = {{0, 3, 0}, {1, 3, 0}, {2, 2, 0}, {3, 3, 0}, {4, 2, 2}, {5, 2, 0}, {6, 2, 0}, {7, 2, 0}, {9, 3, 0}, {10, 1, 0}};

const RECT kArea = {10, 20, 410, 320};

// rc with amounts taken off its sides: the tab side first, then the side
// opposite, then the start and the end along the strip.
RECT Inset(RECT rc, int nPosition, int tab, int opposite, int start, int end)
{
    switch (nPosition) {
    case tabPositionTop: return {rc.left + start, rc.top + tab, rc.right - end, rc.bottom - opposite};
    case tabPositionBottom: return {rc.left + start, rc.top + opposite, rc.right - end, rc.bottom - tab};
    case tabPositionLeft: return {rc.left + tab, rc.top + start, rc.right - opposite, rc.bottom - end};
    default: return {rc.left + opposite, rc.top + start, rc.right - tab, rc.bottom - end};
    }
}

// The band of depth e at the tab side of rc.
RECT Band(const RECT& rc, int nPosition, int e)
{
    switch (nPosition) {
    case tabPositionTop: return {rc.left, rc.top, rc.right, rc.top + e};
    case tabPositionBottom: return {rc.left, rc.bottom - e, rc.right, rc.bottom};
    case tabPositionLeft: return {rc.left, rc.top, rc.left + e, rc.bottom};
    default: return {rc.right - e, rc.top, rc.right, rc.bottom};
    }
}

class TabClientRect : public ::testing::TestWithParam<AppearanceCase> {};

TEST_P(TabClientRect, HeaderClientAndContentByPositionAndFrame)
{
    const AppearanceCase& a = GetParam();
    for (int nPosition = tabPositionTop; nPosition <= tabPositionRight; ++nPosition)
        for (int nFrame = 0; nFrame <= 2; ++nFrame) {
            SCOPED_TRACE(testing::Message() << "position " << nPosition << " frame style " << nFrame);
            TestTabs t;
            t.Fill(3);
            t.painter.SetAppearance(a.appearance);
            t.painter.SetPosition(nPosition);
            t.painter.m_nClientFrame = nFrame;
            t.SetCurSel(1);
            t.Reposition(NULL, kArea);
            const int e = a.marginTab + a.marginClient + t.painter.RowHeight(&t);
            const RECT header = Band(kArea, nPosition, e);
            // The client shares the header's row next to it.
            const RECT client = Inset(kArea, nPosition, e - 1, 0, 0, 0);
            const int frame = nFrame == 2 ? 0 : 2;
            const RECT content =
                Inset(client, nPosition, frame, nFrame == 0 ? 2 : 0, nFrame == 0 ? 2 : 0, nFrame == 0 ? 2 : 0);
            EXPECT_EQ(Str(header), Str(t.painter.GetHeaderRect(&t, kArea)));
            EXPECT_EQ(Str(client), Str(t.painter.GetClientRect(&t, kArea)));
            RECT rc = kArea;
            t.painter.AdjustClientRect(&t, rc);
            EXPECT_EQ(Str(content), Str(rc));
            // The tab manager's own client is the same rectangle.
            EXPECT_EQ(Str(content), Str(t.m_rcClient));
            RECT overlap;
            ASSERT_TRUE(IntersectRect(&overlap, &header, &client));
            EXPECT_EQ(1, t.painter.IsHorizontal() ? overlap.bottom - overlap.top : overlap.right - overlap.left);
        }
}

INSTANTIATE_TEST_SUITE_P(Appearances, TabClientRect, ::testing::ValuesIn(kAppearances));

// The client margins and the static frame come off the control first,
// turned with the position like every amount at the tab side.
TEST(TabClientRect, ClientMarginsAndStaticFrameTurnWithThePosition)
{
    for (int nPosition = tabPositionTop; nPosition <= tabPositionRight; ++nPosition)
        for (BOOL bStatic : {FALSE, TRUE}) {
            SCOPED_TRACE(testing::Message() << "position " << nPosition << " static frame " << bStatic);
            TestTabs t;
            t.Fill(2);
            t.painter.SetPosition(nPosition);
            t.painter.m_nClientFrame = 2;
            t.painter.m_bStaticFrame = bStatic;
            // Along the strip at its start, at the tab side, at its end, at
            // the client side.
            SetRect(&t.painter.m_rcClientMargin, 1, 2, 3, 4);
            t.Reposition(NULL, kArea);
            RECT control = Inset(kArea, nPosition, 2, 4, 1, 3);
            if (bStatic)
                control = Inset(control, nPosition, 1, 2, 2, 2);
            const int e = 3 + t.painter.RowHeight(&t); // appearance 0
            const RECT content = Inset(control, nPosition, e - 1, 0, 0, 0);
            RECT rc = kArea;
            t.painter.AdjustClientRect(&t, rc);
            EXPECT_EQ(Str(content), Str(rc));
            EXPECT_EQ(Str(Band(control, nPosition, e)), Str(t.painter.GetHeaderRect(&t, control)));
        }
}

// An appearance's own client margin, given for a strip on top, comes off
// the client turned with the position, before the client frame.
class MarginAppearance : public CTabAppearancePainter {
public:
    MarginAppearance() : CTabAppearancePainter(6) {}
    RECT GetClientMargin(const CQXPTabManager*) const override { return {1, 2, 3, 4}; }
};

TEST(TabClientRect, TheAppearancesClientMarginTurnsWithThePosition)
{
    for (int nPosition = tabPositionTop; nPosition <= tabPositionRight; ++nPosition) {
        SCOPED_TRACE(testing::Message() << "position " << nPosition);
        TestTabs t;
        t.Fill(2);
        t.painter.SetAppearanceSet(new MarginAppearance());
        t.painter.SetPosition(nPosition);
        t.painter.m_nClientFrame = 1;
        t.Reposition(NULL, kArea);
        const RECT client = t.painter.GetClientRect(&t, kArea);
        RECT rc = kArea;
        t.painter.AdjustClientRect(&t, rc);
        EXPECT_EQ(Str(Inset(client, nPosition, 2 + 2, 4, 1, 3)), Str(rc));
    }
}

// ---------------------------------------------------------------------------
// The client frame as drawn.

const COLORREF kPaper = RGB(255, 0, 255);

// A point of rc in strip terms: u along the strip from its start, v across
// it from the tab side.
POINT At(const RECT& rc, int nPosition, int u, int v)
{
    switch (nPosition) {
    case tabPositionTop: return {rc.left + u, rc.top + v};
    case tabPositionBottom: return {rc.left + u, rc.bottom - 1 - v};
    case tabPositionLeft: return {rc.left + v, rc.top + u};
    default: return {rc.right - 1 - v, rc.top + u};
    }
}

class TabClientFrame : public ::testing::TestWithParam<int> {};

TEST_P(TabClientFrame, FramesTheClientByStyle)
{
    painttest::FixedColors colors;
    const int nAppearance = GetParam();
    for (int nPosition = tabPositionTop; nPosition <= tabPositionRight; ++nPosition)
        for (int nFrame = 0; nFrame <= 2; ++nFrame) {
            SCOPED_TRACE(testing::Message() << "position " << nPosition << " frame style " << nFrame);
            TestTabs t;
            t.Fill(3);
            t.painter.SetAppearance(nAppearance);
            t.painter.SetPosition(nPosition);
            t.painter.m_nClientFrame = nFrame;
            t.painter.m_bFillClient = FALSE;
            t.SetCurSel(1);
            t.Reposition(NULL, kArea);
            painttest::MemoryDC pic(kArea.right + 10, kArea.bottom + 10, kPaper);
            t.painter.DrawTabControl(&t, pic.dc()->GetSafeHdc(), kArea);
            const TabColorSet& c = t.painter.GetColors();
            const FrameColours f = FrameOf(nAppearance, c);
            ASSERT_NE(f.nearEdge, kPaper);
            const RECT client = t.painter.GetClientRect(&t, kArea);
            RECT content = kArea;
            t.painter.AdjustClientRect(&t, content);
            const BOOL bHorz = t.painter.IsHorizontal();
            const int L = bHorz ? client.right - client.left : client.bottom - client.top;
            const int D = bHorz ? client.bottom - client.top : client.right - client.left;
            const BOOL bFarTabSide = nPosition == tabPositionBottom || nPosition == tabPositionRight;
            // Past the tabs and short of the navigate buttons at the end.
            const int u = L * 3 / 4;
            auto px = [&](int uu, int vv) {
                POINT p = At(client, nPosition, uu, vv);
                return pic.Pixel(p.x, p.y);
            };
            // The client's fill: the selected tab's colour under a frame, and
            // under the tab-side line of the box-shaped tabs (2, 6, 7).
            const BOOL bFilled = nFrame == 0 || (nFrame == 1 && (nAppearance == 2 || nAppearance == 6 ||
                                                                 nAppearance == 7));
            const COLORREF fill = bFilled ? t.painter.GetItemFill(&t, t.GetSelectedItem()) : kPaper;
            const POINT mid = {(content.left + content.right) / 2, (content.top + content.bottom) / 2};
            EXPECT_EQ(fill, pic.Pixel(mid.x, mid.y)) << "inside";
            if (nFrame == 2) {
                // Header only: the content reaches the overlapping row.
                EXPECT_EQ(kPaper, px(u, 1)) << "below the header";
                EXPECT_EQ(kPaper, px(L / 2, D - 1)) << "opposite side";
                continue;
            }
            // The tab-side line, with the shadow inside a far one.
            const COLORREF tabSide = bFarTabSide ? f.farEdge : f.nearEdge;
            EXPECT_EQ(tabSide, px(u, 0)) << "tab side";
            if (bFarTabSide && f.farInner != (COLORREF)-1)
                EXPECT_EQ(f.farInner, px(u, 1)) << "inner shadow at the tab side";
            else
                EXPECT_EQ(fill, px(u, 1)) << "inside the tab-side line";
            if (nFrame == 1) {
                // Nothing on the other sides.
                EXPECT_EQ(fill, px(L / 2, D - 1)) << "opposite side";
                EXPECT_EQ(fill, px(0, D / 2)) << "start";
                EXPECT_EQ(fill, px(L - 1, D / 2)) << "end";
                continue;
            }
            // The whole frame: near colours top and left, far ones bottom
            // and right, and their inner shadow.
            const int cx = (client.left + client.right) / 2, cy = (client.top + client.bottom) / 2;
            if (nPosition != tabPositionLeft)
                EXPECT_EQ(f.nearEdge, pic.Pixel(client.left, cy)) << "left edge";
            if (nPosition != tabPositionTop)
                EXPECT_EQ(f.nearEdge, pic.Pixel(cx, client.top)) << "top edge";
            if (nPosition != tabPositionRight)
                EXPECT_EQ(f.farEdge, pic.Pixel(client.right - 1, cy)) << "right edge";
            if (nPosition != tabPositionBottom)
                EXPECT_EQ(f.farEdge, pic.Pixel(cx, client.bottom - 1)) << "bottom edge";
            const COLORREF inner = f.farInner != (COLORREF)-1 ? f.farInner : fill;
            if (nPosition != tabPositionRight)
                EXPECT_EQ(inner, pic.Pixel(client.right - 2, cy)) << "inside the right edge";
            if (nPosition != tabPositionBottom)
                EXPECT_EQ(inner, pic.Pixel(cx, client.bottom - 2)) << "inside the bottom edge";
            // The content starts inside the frame.
            EXPECT_EQ(client.left + 2, content.left);
            EXPECT_EQ(client.right - 2, content.right);
        }
}

INSTANTIATE_TEST_SUITE_P(Appearances, TabClientFrame, ::testing::Values(0, 1, 2, 3, 5, 6, 7, 9));

// Appearance 4 leaves header and client to the visual-style set: no frame
// and no fill of its own, whatever the frame style.
TEST(TabClientFrame, AppearanceFourDrawsNoClient)
{
    painttest::FixedColors colors;
    TestTabs t;
    t.Fill(3);
    t.painter.SetAppearance(4);
    t.painter.m_nClientFrame = 0;
    t.painter.m_bFillClient = FALSE;
    t.Reposition(NULL, kArea);
    painttest::MemoryDC pic(kArea.right, kArea.bottom, kPaper);
    t.painter.DrawTabControl(&t, pic.dc()->GetSafeHdc(), kArea);
    const RECT client = t.painter.GetClientRect(&t, kArea);
    const int cy = (client.top + client.bottom) / 2;
    EXPECT_EQ(kPaper, pic.Pixel(client.left, cy));
    EXPECT_EQ(kPaper, pic.Pixel(client.right - 1, cy));
    EXPECT_EQ(kPaper, pic.Pixel((client.left + client.right) / 2, client.bottom - 1));
}

// Appearance 10 fills a framed client with the Office 2007 theme's
// "RIBBONGROUPS" picture (one state, 8-pixel margins) and draws the tab-side
// line in the border colour under frame style 1.
TEST(TabClientFrame, AppearanceTenFillsAFramedClientWithTheGroupsPicture)
{
    ThemeBitmap* pImage = GetThemeResources()->LoadImage("RIBBONGROUPS");
    ASSERT_TRUE(pImage != NULL);
    for (int nFrame : {0, 1}) {
        SCOPED_TRACE(testing::Message() << "frame style " << nFrame);
        TestTabs t;
        t.Fill(3);
        t.painter.SetAppearance(10);
        t.painter.m_nClientFrame = nFrame;
        t.painter.m_bFillClient = FALSE;
        t.SetCurSel(1);
        t.Reposition(NULL, kArea);
        painttest::MemoryDC pic(kArea.right, kArea.bottom, kPaper);
        t.painter.DrawTabControl(&t, pic.dc()->GetSafeHdc(), kArea);
        const RECT client = t.painter.GetClientRect(&t, kArea);
        const int cx = client.right - client.left, cy = client.bottom - client.top;
        const POINT inside[] = {{cx / 2, cy / 2}, {3, cy - 3}, {cx - 3, cy / 2}, {cx / 3, cy - 1}};
        if (nFrame == 0) {
            painttest::MemoryDC want(cx, cy, kPaper);
            pImage->DrawImage(want.dc(), CRect(0, 0, cx, cy), pImage->GetSource(0, 1), CRect(8, 8, 8, 8));
            for (POINT pt : inside)
                EXPECT_EQ(want.Pixel(pt.x, pt.y), pic.Pixel(client.left + pt.x, client.top + pt.y))
                    << pt.x << "," << pt.y;
        } else {
            for (POINT pt : inside)
                EXPECT_EQ(kPaper, pic.Pixel(client.left + pt.x, client.top + pt.y)) << pt.x << "," << pt.y;
            EXPECT_EQ(t.painter.GetColors().clrBorder, pic.Pixel(client.left + cx * 3 / 4, client.top));
        }
    }
}

} // namespace
