// Value types, GDI objects and device contexts.
#include "UiTestSupport.h"

#include <gtest/gtest.h>
#include <qmtest/anylanguage.h>

namespace {

std::string RectText(const RECT& r)
{
    char buf[64];
    snprintf(buf, sizeof(buf), "%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
    return buf;
}

TEST(ValueTypesTest, RectArithmetic)
{
    struct Case {
        const char* what;
        CRect result;
        const char* expected;
    };
    const CRect a(10, 20, 110, 70);
    const CRect b(50, 40, 200, 100);
    CRect deflated = a;
    deflated.DeflateRect(5, 10);
    CRect inflated4 = a;
    inflated4.InflateRect(1, 2, 3, 4);
    CRect moved = a;
    moved.MoveToXY(0, 0);
    CRect normal(100, 80, 10, 20);
    normal.NormalizeRect();
    CRect emptyUnion;
    emptyUnion.UnionRect(CRect(0, 0, 0, 0), b);
    const Case cases[] = {
        {"intersection", a & b, "50,40,110,70"},
        {"union", a | b, "10,20,200,100"},
        {"disjoint intersection", a & CRect(500, 500, 600, 600), "0,0,0,0"},
        {"offset by point", a + CPoint(1, 2), "11,22,111,72"},
        {"offset back by size", a - CSize(10, 20), "0,0,100,50"},
        {"inflate by rect", a + CRect(1, 2, 3, 4), "9,18,113,74"},
        {"deflate", deflated, "15,30,105,60"},
        {"inflate four sides", inflated4, "9,18,113,74"},
        {"move to origin", moved, "0,0,100,50"},
        {"normalize", normal, "10,20,100,80"},
        {"union with empty", emptyUnion, "50,40,200,100"},
        {"from point and size", CRect(CPoint(3, 4), CSize(5, 6)), "3,4,8,10"},
        {"mul div", a.MulDiv(3, 2), "15,30,165,105"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, RectText(c.result)) << c.what;

    EXPECT_EQ(100, a.Width());
    EXPECT_EQ(50, a.Height());
    EXPECT_EQ(CSize(100, 50), a.Size());
    EXPECT_EQ(CPoint(60, 45), a.CenterPoint());
    EXPECT_EQ(CPoint(10, 20), a.TopLeft());
    EXPECT_EQ(CPoint(110, 70), a.BottomRight());
    EXPECT_TRUE(a.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(a.PtInRect(CPoint(110, 70))); // right and bottom are outside
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
    EXPECT_FALSE(CRect(5, 5, 5, 9).IsRectNull());
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_TRUE(a == CRect(10, 20, 110, 70));
    EXPECT_TRUE(a != b);
}

TEST(ValueTypesTest, PointAndSize)
{
    CPoint p(3, 4);
    EXPECT_EQ(CPoint(8, 10), p + CSize(5, 6));
    EXPECT_EQ(CSize(-2, -2), p - CPoint(5, 6));
    EXPECT_EQ(CPoint(-3, -4), -p);
    p += CSize(1, 1);
    EXPECT_EQ(CPoint(4, 5), p);
    p -= CPoint(4, 5);
    EXPECT_EQ(CPoint(0, 0), p);
    // Packed mouse coordinates are signed.
    EXPECT_EQ(CPoint(-2, 300), CPoint((LPARAM)MAKELPARAM((WORD)-2, 300)));
    EXPECT_EQ(CSize(-1, 7), CSize((DWORD)MAKELONG((WORD)-1, 7)));
    CSize s(10, 20);
    EXPECT_EQ(CSize(11, 22), s + CSize(1, 2));
    EXPECT_EQ(CPoint(12, 24), s + CPoint(2, 4));
    EXPECT_EQ(CSize(-10, -20), -s);
    EXPECT_EQ("11,22,21,42", RectText(s + CRect(1, 2, 11, 22)));
}

// A 32 x 32 memory DC with a bitmap.
class MemoryDCTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dc.CreateCompatibleDC(NULL));
        CClientDC screen(NULL);
        ASSERT_TRUE(m_bitmap.CreateCompatibleBitmap(&screen, 32, 32));
        m_pOld = m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, 32, 32, RGB(255, 255, 255));
    }
    void TearDown() override { m_dc.SelectObject(m_pOld); }
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOld = NULL;
};

TEST_F(MemoryDCTest, FillsAndFrames)
{
    COLORREF clrBk = m_dc.SetBkColor(RGB(1, 2, 3));
    m_dc.FillSolidRect(CRect(2, 2, 6, 6), RGB(255, 0, 0));
    EXPECT_EQ(RGB(255, 0, 0), m_dc.GetPixel(2, 2));
    EXPECT_EQ(RGB(255, 0, 0), m_dc.GetPixel(5, 5));
    EXPECT_EQ(RGB(255, 255, 255), m_dc.GetPixel(6, 6));
    EXPECT_EQ(RGB(1, 2, 3), m_dc.GetBkColor()); // put back
    m_dc.SetBkColor(clrBk);

    m_dc.Draw3dRect(10, 10, 10, 10, RGB(0, 255, 0), RGB(0, 0, 255));
    EXPECT_EQ(RGB(0, 255, 0), m_dc.GetPixel(10, 10)); // top-left corner
    EXPECT_EQ(RGB(0, 255, 0), m_dc.GetPixel(18, 10)); // top edge
    EXPECT_EQ(RGB(0, 255, 0), m_dc.GetPixel(10, 18)); // left edge
    EXPECT_EQ(RGB(0, 0, 255), m_dc.GetPixel(19, 10)); // right edge
    EXPECT_EQ(RGB(0, 0, 255), m_dc.GetPixel(10, 19)); // bottom edge
    EXPECT_EQ(RGB(255, 255, 255), m_dc.GetPixel(15, 15));
}

TEST_F(MemoryDCTest, SelectedObjectsComeBackAndStateIsRestored)
{
    CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
    CPen* pOldPen = m_dc.SelectObject(&pen);
    ASSERT_TRUE(pOldPen != NULL);
    EXPECT_EQ(&pen, m_dc.GetCurrentPen());
    m_dc.MoveTo(0, 30);
    m_dc.LineTo(10, 30);
    EXPECT_EQ(RGB(0, 0, 255), m_dc.GetPixel(5, 30));
    EXPECT_EQ(CPoint(10, 30), m_dc.GetCurrentPosition());
    m_dc.SelectObject(pOldPen);

    int nSaved = m_dc.SaveDC();
    m_dc.SetTextColor(RGB(9, 9, 9));
    m_dc.SetMapMode(MM_LOMETRIC);
    EXPECT_TRUE(m_dc.RestoreDC(nSaved));
    EXPECT_NE(RGB(9, 9, 9), m_dc.GetTextColor());
    EXPECT_EQ(MM_TEXT, m_dc.GetMapMode());
}

TEST_F(MemoryDCTest, DragFrameDrawnTwiceLeavesNothing)
{
    CRect rect(4, 4, 28, 28);
    m_dc.DrawDragRect(rect, CSize(2, 2), NULL, CSize(0, 0));
    int nChanged = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            nChanged += m_dc.GetPixel(x, y) != RGB(255, 255, 255);
    EXPECT_GT(nChanged, 0);
    EXPECT_EQ(RGB(255, 255, 255), m_dc.GetPixel(15, 15)); // inside stays
    // Moving the frame to the same place erases it.
    m_dc.DrawDragRect(rect, CSize(2, 2), rect, CSize(2, 2));
    m_dc.DrawDragRect(rect, CSize(2, 2), NULL, CSize(0, 0));
    nChanged = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            nChanged += m_dc.GetPixel(x, y) != RGB(255, 255, 255);
    EXPECT_EQ(0, nChanged);
}

TEST(DCTest, OutputAndAttributeDCs)
{
    // Settings go to both DCs; measuring uses the attribute DC.
    CDC out, attr;
    ASSERT_TRUE(out.CreateCompatibleDC(NULL));
    ASSERT_TRUE(attr.CreateCompatibleDC(NULL));
    CFont big, small;
    ASSERT_TRUE(big.CreatePointFont(480, "Arial"));
    ASSERT_TRUE(small.CreatePointFont(80, "Arial"));
    HGDIOBJ hOldOut = ::SelectObject(out.m_hDC, small.m_hObject);
    HGDIOBJ hOldAttr = ::SelectObject(attr.m_hDC, big.m_hObject);

    CDC dc;
    dc.SetOutputDC(out.m_hDC);
    dc.SetAttribDC(attr.m_hDC);
    dc.SetTextColor(RGB(7, 8, 9));
    EXPECT_EQ(RGB(7, 8, 9), ::GetTextColor(out.m_hDC));
    EXPECT_EQ(RGB(7, 8, 9), ::GetTextColor(attr.m_hDC));
    CSize sizeAttr = dc.GetTextExtent("Wide text", 9);
    CSize sizeOut = dc.GetOutputTextExtent("Wide text", 9);
    EXPECT_GT(sizeAttr.cx, sizeOut.cx * 3);

    ::SelectObject(out.m_hDC, hOldOut);
    ::SelectObject(attr.m_hDC, hOldAttr);
    dc.ReleaseOutputDC();
    dc.ReleaseAttribDC();
}

TEST(DCTest, PointFontsAndMappedSizes)
{
    CClientDC screen(NULL);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, "Arial", &screen));
    LOGFONTA lf;
    ASSERT_GT(font.GetLogFont(&lf), 0);
    EXPECT_EQ(-MulDiv(12, screen.GetDeviceCaps(LOGPIXELSY), 72), lf.lfHeight);
    EXPECT_STREQ("Arial", lf.lfFaceName);

    // Sizes convert by the extents only (no origin).
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
    dc.SetMapMode(MM_LOMETRIC);
    dc.SetViewportOrg(50, 50);
    CSize size(100, 100);
    dc.DPtoLP(&size);
    POINT pts[2] = {{0, 0}, {100, 100}};
    dc.DPtoLP(pts, 2);
    EXPECT_NEAR(abs(pts[1].x - pts[0].x), size.cx, 1);
    EXPECT_NEAR(abs(pts[1].y - pts[0].y), size.cy, 1);
    EXPECT_GT(size.cx, 200); // 0.1 mm units: more than the pixels
    dc.LPtoDP(&size);
    EXPECT_NEAR(100, size.cx, 1);
}

TEST(GdiObjectTest, Regions)
{
    CRgn a, b, result;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
    ASSERT_TRUE(b.CreateRectRgn(5, 5, 20, 20));
    ASSERT_TRUE(result.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(COMPLEXREGION, result.CombineRgn(&a, &b, RGN_OR));
    CRect box;
    result.GetRgnBox(&box);
    EXPECT_EQ("0,0,20,20", RectText(box));
    EXPECT_TRUE(result.PtInRegion(15, 15));
    EXPECT_FALSE(result.PtInRegion(15, 2));
    result.CombineRgn(&a, &b, RGN_DIFF);
    EXPECT_TRUE(result.PtInRegion(2, 2));
    EXPECT_FALSE(result.PtInRegion(7, 7));

    // Data round trip.
    int nSize = result.GetRegionData(NULL, 0);
    ASSERT_GT(nSize, 0);
    std::vector<char> data((size_t)nSize);
    ASSERT_EQ(nSize, result.GetRegionData((LPRGNDATA)data.data(), nSize));
    CRgn copy;
    ASSERT_TRUE(copy.CreateFromData(NULL, nSize, (const RGNDATA*)data.data()));
    EXPECT_TRUE(copy.EqualRgn(&result));
    copy.OffsetRgn(100, 0);
    EXPECT_FALSE(copy.EqualRgn(&result));
}

TEST(GdiObjectTest, OwnershipAndAttach)
{
    HBRUSH hBrush = CreateSolidBrush(RGB(1, 1, 1));
    {
        CBrush brush;
        brush.Attach(hBrush);
        EXPECT_EQ(hBrush, (HBRUSH)brush);
    }
    // The object deleted its brush.
    LOGBRUSH lb;
    EXPECT_EQ(0, GetObjectA(hBrush, sizeof(lb), &lb));

    HPEN hPen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    {
        CPen pen;
        pen.Attach(hPen);
        EXPECT_EQ(hPen, pen.Detach());
    }
    LOGPEN lp;
    EXPECT_EQ((int)sizeof(lp), GetObjectA(hPen, sizeof(lp), &lp));
    DeleteObject(hPen);

    CBitmap bmp;
    EXPECT_FALSE(bmp.LoadBitmap(31999)); // no such resource
    CClientDC screen(NULL);
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&screen, 7, 3));
    BITMAP bm;
    ASSERT_GT(bmp.GetBitmap(&bm), 0);
    EXPECT_EQ(7, bm.bmWidth);
    EXPECT_EQ(3, bm.bmHeight);

    // The safe accessors accept a null object.
    CGdiObject* pNone = NULL;
    EXPECT_EQ(NULL, pNone->GetSafeHandle());
    CDC* pNoDC = NULL;
    EXPECT_EQ(NULL, pNoDC->GetSafeHdc());
    CWnd* pNoWnd = NULL;
    EXPECT_EQ(NULL, pNoWnd->GetSafeHwnd());
}

class CPaintProbe : public CWnd {
public:
    bool m_bPainted = false;
    bool m_bSameObject = false;
    RECT m_rcPaint = {};

protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        m_bPainted = true;
        m_bSameObject = CDC::FromHandle(dc.m_hDC) == &dc;
        m_rcPaint = dc.m_ps.rcPaint;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintProbe, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

// The program's strings are UTF-8: text beyond ASCII is drawn and measured
// as the wide functions draw and measure its characters, whatever the
// character set of the selected font.
TEST(DCTest, TextInAnyLanguageIsDrawnAndMeasuredAsItsCharacters)
{
    ASSERT_EQ(GetACP(), (UINT)CP_UTF8) << "the test program's manifest sets the UTF-8 code page";
    const int cx = 240, cy = 24;
    CClientDC screen(NULL);
    CDC dcNarrow, dcWide;
    CBitmap bmNarrow, bmWide;
    ASSERT_TRUE(dcNarrow.CreateCompatibleDC(&screen) && dcWide.CreateCompatibleDC(&screen));
    ASSERT_TRUE(bmNarrow.CreateCompatibleBitmap(&screen, cx, cy) && bmWide.CreateCompatibleBitmap(&screen, cx, cy));
    CBitmap* pOldNarrow = dcNarrow.SelectObject(&bmNarrow);
    CBitmap* pOldWide = dcWide.SelectObject(&bmWide);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, "Tahoma"));
    CFont* pOldNarrowFont = dcNarrow.SelectObject(&font);
    CFont* pOldWideFont = dcWide.SelectObject(&font);
    auto samePixels = [&] {
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x)
                if (dcNarrow.GetPixel(x, y) != dcWide.GetPixel(x, y))
                    return false;
        return true;
    };
    auto clear = [&] {
        dcNarrow.FillSolidRect(0, 0, cx, cy, RGB(255, 255, 255));
        dcWide.FillSolidRect(0, 0, cx, cy, RGB(255, 255, 255));
    };

    // Plain ASCII and a tab besides the kit's texts.
    std::vector<qmtest::TextInAnyLanguage> cases = {{"plain", L"plain"},
                                                    {"\xCE\xB1\xCE\xB2\tx", L"\u03b1\u03b2\tx"}};
    cases.insert(cases.end(), std::begin(qmtest::kTextsInAnyLanguage), std::end(qmtest::kTextsInAnyLanguage));
    for (const qmtest::TextInAnyLanguage& c : cases) {
        SCOPED_TRACE(c.utf8);
        const int n = (int)wcslen(c.utf16);
        SIZE wide = {};
        ASSERT_TRUE(GetTextExtentPoint32W(dcWide.m_hDC, c.utf16, n, &wide));
        EXPECT_EQ(CSize(wide), dcNarrow.GetTextExtent(c.utf8, -1));
        EXPECT_EQ(CSize(wide), dcNarrow.GetOutputTextExtent(c.utf8, -1));
        const DWORD tabbed = GetTabbedTextExtentW(dcWide.m_hDC, c.utf16, n, 0, NULL);
        EXPECT_EQ(CSize(LOWORD(tabbed), HIWORD(tabbed)), dcNarrow.GetTabbedTextExtent(c.utf8, -1, 0, NULL));
        CRect rcNarrow(0, 0, cx, cy), rcWide(0, 0, cx, cy);
        dcNarrow.DrawText(c.utf8, -1, &rcNarrow, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        DrawTextW(dcWide.m_hDC, c.utf16, n, &rcWide, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        EXPECT_EQ(rcWide, rcNarrow);

        clear();
        dcNarrow.TextOut(2, 2, c.utf8, -1);
        TextOutW(dcWide.m_hDC, 2, 2, c.utf16, n);
        EXPECT_TRUE(samePixels()) << "TextOut";
        clear();
        CRect rc(0, 0, cx, cy);
        dcNarrow.ExtTextOut(2, 2, ETO_CLIPPED, &rc, c.utf8, (UINT)strlen(c.utf8), NULL);
        ExtTextOutW(dcWide.m_hDC, 2, 2, ETO_CLIPPED, &rc, c.utf16, (UINT)n, NULL);
        EXPECT_TRUE(samePixels()) << "ExtTextOut";
        clear();
        dcNarrow.TabbedTextOut(2, 2, c.utf8, -1, 0, NULL, 0);
        TabbedTextOutW(dcWide.m_hDC, 2, 2, c.utf16, n, 0, NULL, 0);
        EXPECT_TRUE(samePixels()) << "TabbedTextOut";
        clear();
        dcNarrow.DrawText(c.utf8, -1, &rc, DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
        DrawTextW(dcWide.m_hDC, c.utf16, n, &rc, DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
        EXPECT_TRUE(samePixels()) << "DrawText";
    }
    dcNarrow.SelectObject(pOldNarrowFont);
    dcWide.SelectObject(pOldWideFont);
    dcNarrow.SelectObject(pOldNarrow);
    dcWide.SelectObject(pOldWide);
}

TEST(DCTest, PaintDCIsThePermanentObjectOfItsHandle)
{
    CPaintProbe wnd;
    ASSERT_TRUE(wnd.CreateEx(0, uitest::TestClass(), "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, NULL, NULL));
    wnd.InvalidateRect(CRect(1, 2, 11, 12), FALSE);
    wnd.UpdateWindow();
    EXPECT_TRUE(wnd.m_bPainted);
    EXPECT_TRUE(wnd.m_bSameObject);
    EXPECT_TRUE(CRect(wnd.m_rcPaint).PtInRect(CPoint(5, 5)));
    wnd.DestroyWindow();
}

} // namespace
