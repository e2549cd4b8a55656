// The edge shadows of popups: strip geometry, corner joining, the cut
// around the opening control and the pixels, as tables; then real strips
// that follow, leave with and are reused after their owner. Xvfb has no
// compositor, so layered strips show opaque: their pixels are read from
// the picture, not from the screen.
#include "ColorTestSupport.h"

#include <qx/wndshadow.h>

using namespace colortest;

namespace {

TEST(EdgeShadowGeometry, StripsBesideTheOwner)
{
    const CRect owner(100, 50, 300, 250);
    EXPECT_EQ(CRect(104, 250, 304, 254), QxpShadowStripRect(owner, TRUE, 4)) << "bottom";
    EXPECT_EQ(CRect(300, 54, 304, 250), QxpShadowStripRect(owner, FALSE, 4)) << "right";
    EXPECT_TRUE(QxpShadowStripRect(CRect(5, 5, 5, 5), TRUE, 4).IsRectEmpty());
}

TEST(EdgeShadowGeometry, CornersJoinOnlyWhereStripsMeet)
{
    const CRect bottom(104, 250, 304, 254), right(300, 54, 304, 250);
    const struct {
        const char* name;
        CRect strip;
        int side;
        CRect other;
        CRect joined;
    } rows[] = {
        {"bottom meets a right strip at its left end", bottom, kShadowBottom, CRect(101, 200, 105, 260),
         CRect(95, 250, 304, 254)},
        {"bottom, right strip one pixel off", bottom, kShadowBottom, CRect(100, 200, 104, 260), bottom},
        {"bottom, right strip too short", bottom, kShadowBottom, CRect(101, 251, 105, 260), bottom},
        {"right meets a bottom strip at its top", right, kShadowRight, CRect(290, 51, 310, 55),
         CRect(300, 46, 304, 250)},
        {"right, bottom strip too narrow", right, kShadowRight, CRect(301, 51, 310, 55), right},
        {"right, bottom strip elsewhere", right, kShadowRight, CRect(290, 80, 310, 84), right},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.joined, WndShadowJoinCorner(r.strip, r.side, r.other, 4)) << r.name;
}

TEST(EdgeShadowGeometry, ExclusionCutsOnlyWhereItMeetsTheStrip)
{
    const CRect bottom(104, 250, 304, 254);
    EXPECT_EQ(CRect(0, 0, 46, 4), WndShadowExcludedPart(bottom, CRect(80, 230, 150, 262)));
    EXPECT_EQ(CRect(96, 2, 196, 4), WndShadowExcludedPart(bottom, CRect(200, 252, 300, 300)));
    EXPECT_TRUE(WndShadowExcludedPart(bottom, CRect(0, 0, 50, 50)).IsRectEmpty());
    EXPECT_TRUE(WndShadowExcludedPart(bottom, CRect(0, 0, 0, 0)).IsRectEmpty());
}

TEST(EdgeShadowPixels, RampCornersAndPremultipliedColour)
{
    // Bottom strip 20 x 4: rows from the owner's edge out.
    const struct {
        int x, y, alpha;
    } rows[] = {
        {10, 0, 60},
        {10, 1, 45},
        {10, 2, 30},
        {10, 3, 15},
        // Ends: i counted from the end inward, j from the outer edge inward.
        {3, 0, 48},
        {0, 0, 12},
        {0, 3, 3},
        {19, 0, 12},
        {16, 0, 48},
        {16, 3, 12},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(r.alpha, WndShadowSnapshotAmount(r.x, r.y, 20, 4, kShadowBottom)) << r.x << "," << r.y;
        const DWORD px = QxpShadowPixel(r.x, r.y, 20, 4, TRUE, RGB(0, 0, 0), TRUE);
        EXPECT_EQ((DWORD)r.alpha, px >> 24);
    }
    // The right strip fades at its top end only.
    EXPECT_EQ(12, WndShadowSnapshotAmount(0, 0, 4, 30, kShadowRight));
    EXPECT_EQ(60, WndShadowSnapshotAmount(0, 29, 4, 30, kShadowRight));
    // Whatever the shadow colour, no channel exceeds alpha: a light colour
    // still darkens what lies below.
    for (COLORREF clr : {RGB(255, 255, 255), RGB(128, 128, 128), RGB(255, 0, 0), RGB(0, 0, 0)}) {
        for (int y = 0; y < 4; y++)
            for (int x = 0; x < 20; x++) {
                const DWORD px = QxpShadowPixel(x, y, 20, 4, TRUE, clr, TRUE);
                const DWORD a = px >> 24;
                EXPECT_LE((px >> 16) & 0xFF, a);
                EXPECT_LE((px >> 8) & 0xFF, a);
                EXPECT_LE(px & 0xFF, a);
            }
    }
    // Black scales to nothing: pure alpha.
    EXPECT_EQ(0x3C000000u, QxpShadowPixel(10, 0, 20, 4, TRUE, RGB(0, 0, 0), TRUE));
}

struct EdgeShadowWindows : ::testing::Test {
    CWnd owner;
    void SetUp() override
    {
        LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
        ASSERT_TRUE(owner.CreateEx(WS_EX_TOOLWINDOW, cls, "", WS_POPUP | WS_BORDER | WS_VISIBLE, 200, 150, 120, 90,
                                   NULL, NULL));
        PumpFx(50);
    }
    void TearDown() override
    {
        if (owner.GetSafeHwnd())
            owner.DestroyWindow();
        PumpFx(50);
    }
    static std::vector<WndShadowWindow*> StripsOf(HWND hWnd)
    {
        std::vector<WndShadowWindow*> out;
        for (WndShadowWindow* p : GetWndShadowManager()->GetActive())
            if (p->GetOwnerWindow() == hWnd)
                out.push_back(p);
        return out;
    }
    static CRect RectOf(CWnd* p)
    {
        CRect rc;
        p->GetWindowRect(&rc);
        return rc;
    }
};

TEST_F(EdgeShadowWindows, StripsFollowTheOwnerAndAreParkedAndReused)
{
    WndShadowManager* m = GetWndShadowManager();
    m->SetShadow(&owner, CRect(0, 0, 0, 0));
    auto strips = StripsOf(owner.GetSafeHwnd());
    ASSERT_EQ(2u, strips.size());
    EXPECT_EQ(kShadowBottom, strips[0]->GetSide());
    EXPECT_EQ(kShadowRight, strips[1]->GetSide());
    EXPECT_EQ(CRect(204, 240, 324, 244), RectOf(strips[0]));
    EXPECT_EQ(CRect(320, 154, 324, 240), RectOf(strips[1]));
    EXPECT_TRUE(strips[0]->IsWindowVisible());
    EXPECT_EQ((BOOL)(m->m_pfnUpdateLayeredWindow != NULL), strips[0]->IsLayeredStrip());

    // Moving the owner moves both strips (after the owner's change).
    owner.SetWindowPos(NULL, 250, 170, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpFx(50);
    EXPECT_EQ(CRect(254, 260, 374, 264), RectOf(strips[0]));
    EXPECT_EQ(CRect(370, 174, 374, 260), RectOf(strips[1]));
    // A change with neither move nor size leaves them.
    strips[0]->SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    owner.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    PumpFx(50);
    EXPECT_EQ(CPoint(0, 0), RectOf(strips[0]).TopLeft());

    // Destroying the owner hides and parks both; the next owner reuses them.
    const size_t nParked = m->GetRecycled().size();
    owner.DestroyWindow();
    PumpFx(50);
    EXPECT_EQ(nParked + 2, m->GetRecycled().size());
    EXPECT_FALSE(strips[0]->IsWindowVisible());
    EXPECT_FALSE(strips[0]->IsFollowing());

    CWnd second;
    LPCSTR cls = AfxRegisterWndClass(0);
    ASSERT_TRUE(second.CreateEx(WS_EX_TOOLWINDOW, cls, "", WS_POPUP | WS_VISIBLE, 10, 10, 50, 40, NULL, NULL));
    m->SetShadow(&second, CRect(0, 0, 0, 0));
    auto again = StripsOf(second.GetSafeHwnd());
    ASSERT_EQ(2u, again.size());
    EXPECT_TRUE(again[0] == strips[0] || again[0] == strips[1]) << "a parked strip came back";
    EXPECT_EQ(nParked, m->GetRecycled().size());
    second.DestroyWindow();
    PumpFx(50);
}

TEST_F(EdgeShadowWindows, OpeningControlIsCutOutOfTheStrip)
{
    // The opening control overlaps the bottom strip's left part.
    GetWndShadowManager()->SetShadow(&owner, CRect(150, 230, 260, 300));
    auto strips = StripsOf(owner.GetSafeHwnd());
    ASSERT_EQ(2u, strips.size());
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(strips[0]->GetSafeHwnd(), hRgn));
    // Bottom strip (204, 240)-(324, 244): columns 0..55 cut, the rest kept.
    EXPECT_FALSE(::PtInRegion(hRgn, 10, 1));
    EXPECT_FALSE(::PtInRegion(hRgn, 55, 1));
    EXPECT_TRUE(::PtInRegion(hRgn, 56, 1));
    EXPECT_TRUE(::PtInRegion(hRgn, 110, 3));
    ::DeleteObject(hRgn);
    // The right strip does not meet it: no region.
    HRGN hRight = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(ERROR, ::GetWindowRgn(strips[1]->GetSafeHwnd(), hRight));
    ::DeleteObject(hRight);
}

TEST_F(EdgeShadowWindows, SnapshotStripsShowTheDarkenedScreen)
{
    WndShadowManager* m = GetWndShadowManager();
    m->SetLayered(FALSE);
    m->SetShadow(&owner, CRect(0, 0, 0, 0));
    m->SetLayered(TRUE);
    auto strips = StripsOf(owner.GetSafeHwnd());
    ASSERT_EQ(2u, strips.size());
    EXPECT_FALSE(strips[0]->IsLayeredStrip());
    // Shown after its timer, then painted from its copy of the screen.
    ASSERT_TRUE(PumpFxUntil([&] { return strips[0]->IsWindowVisible() != FALSE; }));
    PumpFx(100);
    const CRect rc = RectOf(strips[0]);
    const COLORREF outer = ScreenPixel(CPoint(rc.left + 40, rc.top + 3));
    const COLORREF inner = ScreenPixel(CPoint(rc.left + 40, rc.top));
    EXPECT_LE(GetRValue(inner), GetRValue(outer)) << "darker next to the owner";
}

} // namespace
