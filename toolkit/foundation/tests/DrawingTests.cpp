// Drawing helpers: gradients, buffered DCs, the memory DC, selectors, text
// and font helpers, right-to-left support, the halftone pattern, the
// splitter tracker and the in-place mouse hook (real windows, real input).
#include <qx/drawing.h>

#include "QxTestSupport.h"

#include <gmock/gmock.h>
#include <qmtest/pump.h>

namespace {

DWORD Rgb(DWORD p) { return p & 0x00FFFFFF; }
DWORD Bgr(COLORREF c) { return (DWORD)GetRValue(c) << 16 | (DWORD)GetGValue(c) << 8 | GetBValue(c); }

class Canvas {
public:
    Canvas(int cx, int cy, DWORD fill = 0x00FFFFFF) : m_cx(cx)
    {
        m_hbm = qxtest::MakeDib32(cx, cy, &m_bits);
        for (int i = 0; i < cx * cy; ++i)
            m_bits[i] = fill;
        m_hdc = CreateCompatibleDC(NULL);
        m_old = SelectObject(m_hdc, m_hbm);
    }
    ~Canvas()
    {
        SelectObject(m_hdc, m_old);
        DeleteDC(m_hdc);
        DeleteObject(m_hbm);
    }
    HDC dc() const { return m_hdc; }
    DWORD At(int x, int y) const
    {
        GdiFlush();
        return Rgb(m_bits[y * m_cx + x]);
    }
    DWORD* m_bits = NULL;

private:
    int m_cx;
    HBITMAP m_hbm;
    HDC m_hdc;
    HGDIOBJ m_old;
};

// Runs f with the system gradient switched off (band fills) and on.
template <class F>
void WithBothGradientPaths(F f)
{
    DrawHelpers* h = DrawHelpers::Instance();
    DrawHelpers::PFNGRADIENTFILL saved = h->m_pfnGradientFill;
    h->m_pfnGradientFill = NULL;
    f("band fill");
    h->m_pfnGradientFill = saved;
    f("system gradient");
}

void Pump()
{
    qmtest::PumpMessages();
}

} // namespace

TEST(Gradients, PlainFillsEmptyRectanglesAndBandColours)
{
    WithBothGradientPaths([](const char* path) {
        SCOPED_TRACE(path);
        Canvas c(10, 4, 0x00ABCDEF);
        RECT empty = {3, 3, 3, 4};
        DrawHelpers::Instance()->FillGradient(c.dc(), &empty, RGB(1, 2, 3), RGB(4, 5, 6), TRUE);
        DrawHelpers::Instance()->FillGradient(c.dc(), NULL, RGB(1, 2, 3), RGB(4, 5, 6), TRUE);
        EXPECT_EQ(0x00ABCDEFu, c.At(3, 3)) << "an empty rectangle draws nothing";

        RECT rc = {0, 0, 10, 4};
        DrawHelpers::Instance()->FillGradient(c.dc(), &rc, RGB(10, 20, 30), RGB(10, 20, 30), TRUE);
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(0x000A141Eu, c.At(x, 2)) << "one colour: a plain fill";

        DrawHelpers::Instance()->FillGradient(c.dc(), &rc, RGB(0, 0, 0), RGB(200, 100, 0), TRUE);
        EXPECT_EQ(0u, c.At(0, 0));
        // Left to right, rising; the last column close to the end colour.
        for (int x = 1; x < 10; ++x)
            EXPECT_GE((c.At(x, 1) >> 16) & 0xFF, (c.At(x - 1, 1) >> 16) & 0xFF);
        EXPECT_NEAR(180, (int)((c.At(9, 1) >> 16) & 0xFF), 20);
        EXPECT_EQ(c.At(5, 0), c.At(5, 3)) << "columns are uniform";
    });

    // The band fill's exact colours.
    DrawHelpers* h = DrawHelpers::Instance();
    DrawHelpers::PFNGRADIENTFILL saved = h->m_pfnGradientFill;
    h->m_pfnGradientFill = NULL;
    Canvas c(4, 8);
    RECT rc = {0, 0, 4, 8};
    h->FillGradient(c.dc(), &rc, RGB(0, 0, 0), RGB(160, 80, 240), FALSE);
    for (int y = 0; y < 8; ++y)
        EXPECT_EQ(Bgr(BlendColors(RGB(0, 0, 0), RGB(160, 80, 240), 1.0 - y / 8.0)), c.At(2, y)) << y;
    h->m_pfnGradientFill = saved;
}

TEST(Gradients, ClippedGradientShowsThePartOfTheWhole)
{
    WithBothGradientPaths([](const char* path) {
        SCOPED_TRACE(path);
        RECT rc = {0, 0, 20, 2};
        Canvas full(20, 2), half(20, 2, 0x00000000);
        DrawHelpers::Instance()->FillGradient(full.dc(), &rc, RGB(255, 0, 0), RGB(0, 0, 255), TRUE);
        RECT clip = {10, 0, 20, 2};
        DrawHelpers::Instance()->FillGradientClipped(half.dc(), &rc, RGB(255, 0, 0), RGB(0, 0, 255), TRUE, &clip);
        for (int x = 0; x < 20; ++x) {
            if (x < 10)
                EXPECT_EQ(0u, half.At(x, 0)) << x;
            else
                EXPECT_EQ(full.At(x, 0), half.At(x, 0)) << x;
        }
        RECT away = {30, 0, 40, 2};
        Canvas none(20, 2, 0x00000000);
        DrawHelpers::Instance()->FillGradientClipped(none.dc(), &rc, RGB(255, 0, 0), RGB(0, 0, 255), TRUE, &away);
        EXPECT_EQ(0u, none.At(19, 1));
    });
}

TEST(Gradients, GradientValueWithAFactorMeetsInTheMiddle)
{
    DrawHelpers* h = DrawHelpers::Instance();
    DrawHelpers::PFNGRADIENTFILL saved = h->m_pfnGradientFill;
    h->m_pfnGradientFill = NULL;
    GradientColorValue value;
    value.Set(RGB(0, 0, 0), RGB(200, 200, 200), 0.25f);
    Canvas c(2, 10);
    RECT rc = {0, 0, 2, 10};
    h->FillGradientValue(c.dc(), &rc, value, FALSE);
    COLORREF middle = BlendColors(RGB(0, 0, 0), RGB(200, 200, 200), 0.25);
    EXPECT_EQ(0u, c.At(0, 0));
    EXPECT_EQ(Bgr(middle), c.At(0, 5)) << "the second half starts at the middle colour";
    EXPECT_EQ(Bgr(BlendColors(middle, RGB(200, 200, 200), 1.0 - 4 / 5.0)), c.At(0, 9));
    h->m_pfnGradientFill = saved;

    value.Set(RGB(0, 0, 0), RGB(200, 200, 200), 0.5f);
    Canvas one(2, 10), direct(2, 10);
    h->FillGradientValue(one.dc(), &rc, value, FALSE);
    h->FillGradient(direct.dc(), &rc, RGB(0, 0, 0), RGB(200, 200, 200), FALSE);
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(direct.At(1, y), one.At(1, y)) << y;
}

TEST(Gradients, BlurPairs)
{
    Canvas c(2, 1);
    c.m_bits[0] = 0x00000000;
    c.m_bits[1] = 0x00C8C8C8;
    const int pairs[] = {0, 0, 1, 0};
    DrawHelpers::Instance()->BlurPixelPairs(c.dc(), pairs, 1);
    EXPECT_EQ(0x00646464u, c.At(0, 0));
    EXPECT_EQ(0x00C8C8C8u, c.At(1, 0));
}

TEST(BufferedDCs, CopyBackOnlyTheirRectangle)
{
    Canvas target(40, 40, 0x00111111);
    {
        RECT rc = {10, 10, 30, 30};
        BufferedDC buf(target.dc(), rc);
        ASSERT_TRUE(buf.GetSafeHdc() != NULL);
        RECT all = {0, 0, 40, 40};
        HBRUSH b = CreateSolidBrush(RGB(0, 0, 255));
        FillRect(buf, &all, b);
        DeleteObject(b);
        EXPECT_EQ(0x00111111u, target.At(15, 15)) << "nothing reaches the target before the end";
    }
    EXPECT_EQ(0x000000FFu, target.At(10, 10));
    EXPECT_EQ(0x000000FFu, target.At(29, 29));
    EXPECT_EQ(0x00111111u, target.At(9, 10));
    EXPECT_EQ(0x00111111u, target.At(30, 29));
    EXPECT_EQ(0x00111111u, target.At(20, 5));

    {
        RECT rc = {0, 0, 5, 5};
        BufferedDC buf(target.dc(), rc);
        PatBlt(buf, 0, 0, 5, 5, WHITENESS);
        buf.Discard();
    }
    EXPECT_EQ(0x00111111u, target.At(2, 2)) << "discarded";

    {
        RECT paint = {5, 5, 8, 8};
        PaintBufferDC buf(target.dc(), paint);
        PatBlt(buf, 0, 0, 40, 40, BLACKNESS); // clipped to the paint rectangle
    }
    EXPECT_EQ(0u, target.At(6, 6));
    EXPECT_EQ(0x00111111u, target.At(4, 4));
    EXPECT_EQ(0x00111111u, target.At(8, 8));
}

TEST(BufferedDCs, MemoryDCCoversItsRectangleFromItsCorner)
{
    Canvas target(30, 30, 0x00222222);
    {
        RECT rc = {5, 5, 15, 15};
        GradientColorValue bk(RGB(0, 255, 0));
        CQXMemDC mem(target.dc(), rc, bk);
        ASSERT_TRUE(mem.IsValid());
        SetPixel(mem, 0, 0, RGB(255, 0, 0)); // the rectangle's corner
    }
    EXPECT_EQ(0x00FF0000u, target.At(5, 5));
    EXPECT_EQ(0x0000FF00u, target.At(14, 14)) << "started with the background gradient";
    EXPECT_EQ(0x00222222u, target.At(15, 15));
    {
        CQXMemDC mem(target.dc()); // empty rectangle: the clip box
        EXPECT_EQ(30, mem.GetRect().right);
        mem.FromDC();
        SetPixel(mem, 29, 29, RGB(0, 0, 255));
    }
    EXPECT_EQ(0x000000FFu, target.At(29, 29));
    EXPECT_EQ(0x00FF0000u, target.At(5, 5)) << "FromDC kept what was there";
    {
        CQXMemDC mem(target.dc());
        PatBlt(mem, 0, 0, 30, 30, WHITENESS);
        mem.Discard();
    }
    EXPECT_EQ(0x00222222u, target.At(1, 1));
    CQXMemDC none(NULL);
    EXPECT_FALSE(none.IsValid());
}

TEST(BufferedDCs, ScreenCaptureCopiesTheRectangleAndWritesBackUnlessCleared)
{
    Canvas source(30, 20, 0x00222222);
    for (int x = 0; x < 30; ++x)
        SetPixel(source.dc(), x, 12, RGB(0, 0, 200)); // a blue row
    const RECT rc = {4, 10, 24, 16};
    {
        // Captured, changed and written back over the rectangle.
        ScreenCaptureDC capture(source.dc(), rc);
        ASSERT_TRUE(capture.IsValid());
        EXPECT_EQ(20, capture.Width());
        EXPECT_EQ(6, capture.Height());
        ASSERT_TRUE(capture.Capture());
        ::GdiFlush();
        // Bottom-up rows: the blue source row 12 is bitmap row 2 from the top.
        EXPECT_EQ(0x000000C8u, Rgb(capture.GetBits()[(6 - 1 - 2) * 20 + 5]));
        EXPECT_EQ(0x00222222u, Rgb(capture.GetBits()[(6 - 1 - 0) * 20]));
        SetPixel(capture, 0, 0, RGB(255, 0, 0)); // the rectangle's corner
    }
    EXPECT_EQ(0x00FF0000u, source.At(4, 10));
    EXPECT_EQ(0x000000C8u, source.At(10, 12)) << "the captured pixels went back unchanged";
    EXPECT_EQ(0x00222222u, source.At(3, 10)) << "nothing outside the rectangle";
    {
        // The write-back cleared: the source keeps what it shows.
        ScreenCaptureDC capture(source.dc(), rc);
        capture.SetWriteBack(FALSE);
        PatBlt(capture, 0, 0, 20, 6, WHITENESS);
    }
    EXPECT_EQ(0x00FF0000u, source.At(4, 10));
    HBITMAP hTaken = NULL;
    {
        // A bitmap taken by the caller outlives the DC and is not written back.
        ScreenCaptureDC capture(source.dc(), rc);
        capture.Capture();
        PatBlt(capture, 0, 0, 20, 6, BLACKNESS);
        hTaken = capture.DetachBitmap();
        EXPECT_EQ(nullptr, capture.GetBits());
    }
    ASSERT_TRUE(hTaken != NULL);
    BITMAP bm = {};
    ASSERT_TRUE(GetObject(hTaken, sizeof(bm), &bm));
    EXPECT_EQ(20, bm.bmWidth);
    EXPECT_EQ(6, bm.bmHeight);
    EXPECT_EQ(0x00FF0000u, source.At(4, 10));
    DeleteObject(hTaken);
    // Nothing to copy: no source or an empty rectangle.
    EXPECT_FALSE(ScreenCaptureDC(NULL, rc).IsValid());
    ScreenCaptureDC empty(source.dc(), RECT{5, 5, 5, 9});
    EXPECT_FALSE(empty.IsValid());
    EXPECT_FALSE(empty.Capture());
}

TEST(Selectors, RestoreWhatTheyReplaced)
{
    Canvas c(4, 4);
    HGDIOBJ pen0 = GetCurrentObject(c.dc(), OBJ_PEN), brush0 = GetCurrentObject(c.dc(), OBJ_BRUSH),
            font0 = GetCurrentObject(c.dc(), OBJ_FONT);
    HFONT f1 = (HFONT)GetStockObject(ANSI_FIXED_FONT), f2 = (HFONT)GetStockObject(ANSI_VAR_FONT);
    COLORREF text0 = GetTextColor(c.dc());
    {
        PenSelector pen(c.dc(), RGB(1, 2, 3));
        BrushSelector brush(c.dc(), RGB(4, 5, 6));
        FontSelector font(c.dc(), f1, RGB(7, 8, 9));
        font.SetFont(f2);
        EXPECT_NE(pen0, GetCurrentObject(c.dc(), OBJ_PEN));
        EXPECT_EQ((HGDIOBJ)f2, GetCurrentObject(c.dc(), OBJ_FONT));
        EXPECT_EQ(RGB(7, 8, 9), GetTextColor(c.dc()));
        GdiObjectSelector sel(c.dc(), GetStockObject(NULL_BRUSH));
        EXPECT_EQ(GetStockObject(NULL_BRUSH), GetCurrentObject(c.dc(), OBJ_BRUSH));
    }
    EXPECT_EQ(pen0, GetCurrentObject(c.dc(), OBJ_PEN));
    EXPECT_EQ(brush0, GetCurrentObject(c.dc(), OBJ_BRUSH));
    EXPECT_EQ(font0, GetCurrentObject(c.dc(), OBJ_FONT));
    EXPECT_EQ(text0, GetTextColor(c.dc()));

    HBITMAP hbm = qxtest::MakeDib32(2, 2, NULL);
    {
        GdiObjectDC mem(c.dc(), hbm);
        EXPECT_EQ((HGDIOBJ)hbm, GetCurrentObject(mem, OBJ_BITMAP));
    }
    EXPECT_TRUE(DeleteObject(hbm)) << "the bitmap was selected out again";
}

TEST(Patterns, PatternRectAlternatesTwoColoursAndRestoresTheDC)
{
    Canvas c(16, 16, 0x00010203);
    CDC dc;
    dc.Attach(c.dc());
    SetTextColor(c.dc(), RGB(9, 9, 9));
    SetBkColor(c.dc(), RGB(8, 8, 8));
    DrawPatternRect(&dc, CRect(2, 2, 12, 12));
    const COLORREF face = ToolkitColorManager::Instance()->GetColor(COLOR_BTNFACE);
    const COLORREF light = ToolkitColorManager::Instance()->GetColor(COLOR_BTNHIGHLIGHT);
    const DWORD a = c.At(4, 4), b = c.At(5, 4);
    EXPECT_TRUE((a == Bgr(face) && b == Bgr(light)) || (a == Bgr(light) && b == Bgr(face)));
    EXPECT_EQ(a, c.At(5, 5));
    EXPECT_EQ(0x00010203u, c.At(1, 1)) << "nothing outside the rectangle";
    EXPECT_EQ(RGB(9, 9, 9), GetTextColor(c.dc()));
    EXPECT_EQ(RGB(8, 8, 8), GetBkColor(c.dc()));
    dc.Detach();
}

TEST(Shapes, TrianglesOpaqueRectsCornersAndAnimation)
{
    Canvas c(10, 10);
    DrawFilledTriangle(c.dc(), POINT{0, 0}, POINT{9, 0}, POINT{0, 9}, RGB(255, 0, 0));
    EXPECT_EQ(0x00FF0000u, c.At(1, 1));
    EXPECT_EQ(0x00FFFFFFu, c.At(9, 9));

    Canvas a(4, 4, 0x00102030);
    RECT rc = {1, 1, 3, 3};
    MakeRectOpaque(a.dc(), &rc);
    GdiFlush();
    EXPECT_EQ(0xFF102030u, a.m_bits[1 * 4 + 1]);
    EXPECT_EQ(0x00102030u, a.m_bits[0]);

    Canvas e(4, 4, 0);
    RECT all = {0, 0, 4, 4};
    ExcludeRectCorners(e.dc(), &all);
    PatBlt(e.dc(), 0, 0, 4, 4, WHITENESS);
    EXPECT_EQ(0u, e.At(0, 0));
    EXPECT_EQ(0u, e.At(3, 3));
    EXPECT_EQ(0x00FFFFFFu, e.At(1, 0));

    Canvas src(4, 4, 0x00445566), dst(4, 4, 0);
    DWORD start = GetTickCount();
    AnimateStretch(dst.dc(), all, src.dc(), all, 0, 100000);
    EXPECT_LT(GetTickCount() - start, 5000u) << "zero steps return at once";
    EXPECT_EQ(0x00445566u, dst.At(3, 3)) << "with the final picture drawn";
    Canvas dst2(4, 4, 0);
    AnimateStretch(dst2.dc(), all, src.dc(), all, 3, 0);
    EXPECT_EQ(0x00445566u, dst2.At(3, 3));
    EXPECT_TRUE(StretchBltDC(dst2.dc(), 0, 0, 2, 2, src.dc(), 0, 0, 4, 4));
}

TEST(Text, AcceleratorsAreStripped)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {{"&File", "File"}, {"&&", "&"}, {"Save &As", "Save As"}, {"trailing&", "trailing"}, {"A && B", "A & B"}, {"&&&x", "&x"}, {"", ""}, {"plain", "plain"}};
    for (const Case& c : cases) {
        CString s(c.in);
        StripAccelerator(s);
        EXPECT_STREQ(c.out, s) << c.in;
        char buf[32];
        strcpy(buf, c.in);
        StripAccelerator(buf);
        EXPECT_STREQ(c.out, buf) << c.in;
    }
    StripAccelerator((LPSTR)NULL);
    StripAccelerator((LPSTR)(INT_PTR)-1);
}

TEST(Text, FontsFacesAndMnemonics)
{
    // A face the system has: the first family it lists.
    std::string first;
    LOGFONTA all = {};
    all.lfCharSet = DEFAULT_CHARSET;
    HDC screen = GetDC(NULL);
    EnumFontFamiliesExA(
        screen, &all,
        [](const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM l) -> int {
            *reinterpret_cast<std::string*>(l) = lf->lfFaceName;
            return 0;
        },
        (LPARAM)&first, 0);
    ReleaseDC(NULL, screen);
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(IsFontInstalled(first.c_str())) << first;
    std::string upper = first;
    for (char& ch : upper)
        ch = (char)toupper((unsigned char)ch);
    EXPECT_TRUE(IsFontInstalled(upper.c_str())) << "faces compare without case";
    EXPECT_FALSE(IsFontInstalled("No Such Face Qx 1234"));
    EXPECT_FALSE(IsFontInstalled(""));
    CString face = DefaultGuiFontFace(FALSE);
    EXPECT_FALSE(face.IsEmpty());
    if (IsFontInstalled("Tahoma")) {
        EXPECT_STREQ("Tahoma", DefaultGuiFontFace(TRUE));
    }

    EXPECT_TRUE(MatchesMnemonicKey('a', 'A'));
    EXPECT_TRUE(MatchesMnemonicKey('A', 'A'));
    EXPECT_TRUE(MatchesMnemonicKey('1', '1'));
    EXPECT_FALSE(MatchesMnemonicKey('b', 'A'));
    EXPECT_FALSE(MatchesMnemonicKey('a', VK_F1)) << "a key without a character";
}

namespace {

// The pitch of a face as the system reports it for a font of that face.
bool IsFixedPitchFace(const CString& face)
{
    LOGFONTA lf = {};
    lf.lfHeight = -13;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    HFONT hFont = CreateFontIndirectA(&lf);
    HDC hdc = GetDC(NULL);
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    TEXTMETRICA tm = {};
    GetTextMetricsA(hdc, &tm);
    char szUsed[LF_FACESIZE] = "";
    GetTextFaceA(hdc, sizeof(szUsed), szUsed);
    SelectObject(hdc, hOld);
    ReleaseDC(NULL, hdc);
    DeleteObject(hFont);
    // TMPF_FIXED_PITCH set means variable pitch (the name is the wrong way round).
    return lstrcmpiA(szUsed, face) == 0 && !(tm.tmPitchAndFamily & TMPF_FIXED_PITCH);
}

} // namespace

// Code is drawn with a fixed-pitch face: a missing one (Wine has no
// "Courier New") gives way to an installed fixed-pitch face; an installed
// one is kept, also when it is proportional (the user chose it).
TEST(Fonts, FixedPitchFaceFallsBackToAnInstalledOne)
{
    CString fallback = FixedPitchFontFace("No Such Face Qx 1234");
    ASSERT_FALSE(fallback.IsEmpty());
    EXPECT_TRUE(IsFontInstalled(fallback)) << (LPCSTR)fallback;
    EXPECT_TRUE(IsFixedPitchFace(fallback)) << (LPCSTR)fallback << " draws proportionally";
    EXPECT_STREQ(fallback, FixedPitchFontFace(NULL));
    if (!IsFontInstalled("Courier New"))
        EXPECT_STREQ(fallback, FixedPitchFontFace("Courier New"));
    if (IsFontInstalled("Tahoma"))
        EXPECT_STREQ("Tahoma", FixedPitchFontFace("Tahoma")) << "an installed face is the user's choice";
    EXPECT_STREQ(fallback, FixedPitchFontFace(fallback)) << "the fallback is stable";
}

TEST(Windows, RectanglesLayoutsAndClasses)
{
    EXPECT_TRUE(RectIsNull(GetWindowRectOf((HWND)NULL)));
    EXPECT_TRUE(RectIsNull(GetClientRectOf((HWND)(INT_PTR)0x12345)));
    RECT r = {1, 1, 1, 1};
    GetWindowRectOfHwnd(&r, NULL);
    EXPECT_TRUE(RectIsNull(r));

    ASSERT_TRUE(RegisterToolkitWndClass("QxTestToolkitClass", CS_DBLCLKS));
    EXPECT_TRUE(RegisterToolkitWndClass("QxTestToolkitClass", CS_DBLCLKS)) << "twice is fine";
    HWND ltr = CreateWindowExA(0, "QxTestToolkitClass", "", WS_POPUP, 100, 50, 200, 100, NULL, NULL,
                               GetModuleHandleA(NULL), NULL);
    HWND rtl = CreateWindowExA(WS_EX_LAYOUTRTL, "QxTestToolkitClass", "", WS_POPUP, 100, 50, 200, 100, NULL, NULL,
                               GetModuleHandleA(NULL), NULL);
    ASSERT_TRUE(ltr && rtl);
    RECT wr = GetWindowRectOf(ltr);
    EXPECT_EQ(200, wr.right - wr.left);
    EXPECT_EQ(100, GetClientRectOf(ltr).bottom);
    POINT pt = {110, 60};
    POINT a = ScreenToWindowPoint(ltr, pt), b = ScreenToWindowPoint(rtl, pt);
    EXPECT_EQ(10, a.x);
    EXPECT_EQ(10, a.y);
    EXPECT_EQ(190, b.x) << "measured from the right edge";
    UINT key = VK_LEFT;
    AdjustArrowKeyForRTL(ltr, key);
    EXPECT_EQ((UINT)VK_LEFT, key);
    AdjustArrowKeyForRTL(rtl, key);
    EXPECT_EQ((UINT)VK_RIGHT, key);
    key = VK_UP;
    MirrorKeyForRtl(rtl, key);
    EXPECT_EQ((UINT)VK_UP, key);
    DestroyWindow(ltr);
    DestroyWindow(rtl);

    Canvas c(2, 2);
    EXPECT_FALSE(IsLayoutRTL(c.dc()));
    SetDCLayout(c.dc(), LAYOUT_RTL);
    EXPECT_TRUE(IsLayoutRTL(c.dc()));
    EXPECT_FALSE(IsLayoutRTL(NULL));
}

TEST(Windows, MaskedBitmapMakesAnIcon)
{
    HBITMAP hbm = qxtest::MakeDib32(3, 2, NULL);
    Canvas tmp(1, 1);
    HGDIOBJ old = SelectObject(tmp.dc(), hbm);
    PatBlt(tmp.dc(), 0, 0, 3, 2, BLACKNESS);
    SetPixel(tmp.dc(), 0, 0, RGB(255, 0, 255));
    SetPixel(tmp.dc(), 2, 1, RGB(255, 0, 255));
    SetPixel(tmp.dc(), 1, 1, RGB(0, 0, 200));
    SelectObject(tmp.dc(), old);
    MaskedBitmap mb(hbm);
    HICON icon = mb.CreateIcon();
    ASSERT_TRUE(icon != NULL);
    Canvas c(3, 2, 0x00FFFFFF);
    DrawIconEx(c.dc(), 0, 0, icon, 3, 2, 0, NULL, DI_NORMAL);
    EXPECT_EQ(0x00FFFFFFu, c.At(0, 0)) << "the top-left colour is transparent";
    EXPECT_EQ(0x00FFFFFFu, c.At(2, 1));
    EXPECT_EQ(0x000000C8u, c.At(1, 1));
    DestroyIcon(icon);
    DeleteObject(hbm);
    EXPECT_EQ(nullptr, MaskedBitmap().CreateIcon());
}

// ---------------------------------------------------------------------------
// Modal and input-driven helpers on real windows.

TEST(Interactive, SplitterTrackerFollowsTheMouseWithinItsLimits)
{
    ASSERT_TRUE(RegisterToolkitWndClass("QxTestTrackOwner", 0));
    HWND owner = CreateWindowExA(0, "QxTestTrackOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, NULL, NULL,
                                 GetModuleHandleA(NULL), NULL);
    ASSERT_TRUE(owner != NULL);
    Pump();
    struct Case {
        const char* name;
        int moveTo;      // client x of the mouse move
        UINT endMessage; // WM_LBUTTONUP accepts, Escape cancels
        BOOL accepted;
        int expectLeft;
    } cases[] = {{"accepted move", 120, WM_LBUTTONUP, TRUE, 120},
                 {"clamped to the maximum", 290, WM_LBUTTONUP, TRUE, 200},
                 {"clamped to the minimum", 2, WM_LBUTTONUP, TRUE, 20},
                 {"escape cancels", 120, WM_KEYDOWN, FALSE, 50}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RECT rc = {50, 10, 54, 190};
        RECT limits = {20, 0, 204, 200}; // left edge from 20 to 200
        POINT start = {50, 100};         // screen = client for the window at 0, 0
        PostMessageA(owner, WM_MOUSEMOVE, 0, MAKELPARAM(c.moveTo, 100));
        if (c.endMessage == WM_KEYDOWN)
            PostMessageA(owner, WM_KEYDOWN, VK_ESCAPE, 0);
        else
            PostMessageA(owner, WM_LBUTTONUP, 0, MAKELPARAM(c.moveTo, 100));
        SplitterTracker tracker(owner);
        EXPECT_EQ(c.accepted, tracker.Track(limits, rc, start, TRUE));
        EXPECT_EQ(c.expectLeft, rc.left);
        EXPECT_EQ(4, rc.right - rc.left);
        EXPECT_EQ(nullptr, GetCapture()) << "the capture is released";
    }
    DestroyWindow(owner);
}

namespace {
int g_clicks = 0;
LRESULT CALLBACK CountClicks(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_LBUTTONDOWN)
        ++g_clicks;
    return DefWindowProcA(h, m, w, l);
}
} // namespace

TEST(Interactive, MouseHookMovesFocusOnClicksOutsideTheTarget)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountClicks;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "QxTestClickCounter";
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    RegisterClassA(&wc);
    HWND frame = CreateWindowExA(0, "QxTestClickCounter", "", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, NULL, NULL,
                                 GetModuleHandleA(NULL), NULL);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 100, 24, frame, NULL, NULL,
                                NULL);
    HWND other = CreateWindowExA(0, "QxTestClickCounter", "", WS_CHILD | WS_VISIBLE, 150, 100, 100, 60, frame, NULL,
                                 NULL, NULL);
    ASSERT_TRUE(frame && edit && other);
    SetForegroundWindow(frame);
    SetFocus(edit);
    Pump();

    auto click = [](int x, int y) {
        SetCursorPos(x, y);
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_MOUSE;
        in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, in, sizeof(INPUT));
        for (int i = 0; i < 20; ++i) {
            Sleep(10);
            Pump();
        }
    };

    g_clicks = 0;
    click(100 + 200, 100 + 130);
    int clicksWithoutHook = g_clicks;
    if (clicksWithoutHook == 0)
        GTEST_SKIP() << "platform limit: the display does not deliver synthesized clicks";

    SetFocus(edit);
    SetMouseHookTarget(edit);
    EXPECT_TRUE(IsMouseHookActive());
    g_clicks = 0;
    click(100 + 200, 100 + 130);
    EXPECT_EQ(0, g_clicks) << "the click outside the target is swallowed";
    EXPECT_EQ(frame, GetFocus()) << "the focus went to the target's parent";

    SetFocus(edit);
    click(100 + 20, 100 + 20); // inside the target
    EXPECT_EQ(edit, GetFocus());

    SetMouseHookTarget(NULL);
    EXPECT_FALSE(IsMouseHookActive());
    g_clicks = 0;
    click(100 + 200, 100 + 130);
    EXPECT_EQ(1, g_clicks);
    DestroyWindow(frame);
}

TEST(Interactive, TopLevelActivity)
{
    HWND top = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top, NULL, NULL, NULL);
    SetForegroundWindow(top);
    Pump();
    if (GetForegroundWindow() != top)
        GTEST_SKIP() << "platform limit: no foreground window on this display";
    EXPECT_TRUE(IsTopLevelActive(child));
    EXPECT_TRUE(IsTopLevelActive(top));
    EXPECT_FALSE(IsTopLevelActive(NULL));
    POINT pt = CursorPosInClient(top);
    POINT screen;
    GetCursorPos(&screen);
    EXPECT_EQ(screen.x, pt.x);
    DestroyWindow(top);
}
