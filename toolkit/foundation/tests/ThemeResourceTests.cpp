// The theme module of the Office 2007 look: the text parser on whole and
// damaged texts, the nine-part geometry, the pixels of nine-part drawing
// (plain, alpha, keyed, glass) and the resource object's image cache over
// the module this program carries (toolkit.rc).
#include "QxTestSupport.h"

#include <qx/colors.h>
#include <qx/themeres.h>
#include <qmtest/themetext.h>

#include <string>
#include <vector>

namespace {

using qmtest::Utf16LE;

struct Lookup {
    const char* text;
    const char* section;
    const char* key;
    const char* value; // expected, upper-cased; "" = not found
};

TEST(ThemeText, LooksUpValuesLineByLine)
{
    const std::string big(100000, 'A');
    const std::string bigText = "[S]\r\nK=" + big + "\r\n";
    const Lookup cases[] = {
        {"[Ribbon]\r\nRibbonFace = 191 219 255\r\n", "Ribbon", "RibbonFace", "191 219 255"},
        {"[Ribbon]\r\nribbonface=1 2 3\r\n", "RIBBON", "RIBBONFACE", "1 2 3"},
        {"[Ribbon]\rA=1\rB=2\r", "Ribbon", "B", "2"}, // CR alone ends lines
        {"   [Window]\r\n\t  Key = value ; a note\r\n", "Window", "Key", "VALUE"},
        {"[Window]\r\n; Key = 1\r\n", "Window", "Key", ""},
        {"[Window]\r\n;Key=1\r\nKey=2\r\n", "Window", "Key", "2"},
        {"[Window]\r\n=5\r\nKey\r\n", "Window", "", ""},
        {"[Window]\r\nKey\r\nKey = 7\r\n", "Window", "Key", "7"}, // a line without '=' is ignored
        {"[Images]\r\nA=X\r\n[Other]\r\n[Images]\r\nB=Y\r\n", "Images", "B", ""},
        {"[Images]\r\nA=X\r\n[Other]\r\n[Images]\r\nA=Y\r\n", "Images", "A", "X"},
        {"[Toolbar] ; the bars\r\nK=1\r\n", "Toolbar", "K", "1"},
        {"[A]\r\nK=1\r\n[B]\r\nK=2\r\n", "B", "K", "2"},
        {"K=1\r\n[A]\r\n", "A", "K", ""}, // keys before any section belong to none
        {"[A]\r\nK=1", "A", "K", ""},     // the last line has no CR
        {"[A]\r\nK = a = b\r\n", "A", "K", "A = B"},
        {"", "A", "K", ""},
    };
    for (const Lookup& c : cases) {
        std::vector<BYTE> bytes = Utf16LE(c.text);
        ThemeText text;
        text.Set(bytes.data(), (DWORD)bytes.size());
        EXPECT_STREQ(c.value, (LPCSTR)text.GetValue(c.section, c.key)) << c.text;
    }
    std::vector<BYTE> bytes = Utf16LE(bigText);
    ThemeText text;
    text.Set(bytes.data(), (DWORD)bytes.size());
    EXPECT_EQ(big, text.GetValue("S", "K").str()) << "a line of 100000 characters";
}

TEST(ThemeText, ColoursAreThreeIntegersWithMissingPartsZero)
{
    const struct {
        const char* value;
        COLORREF clr;
    } cases[] = {
        {"0x80 100 1", RGB(128, 100, 1)},
        {"1 2 3", RGB(1, 2, 3)},
        {"010 0 0", RGB(8, 0, 0)}, // octal, as "%i" reads it
        {"5 6", RGB(5, 6, 0)},
        {"300 0 0", RGB(44, 0, 0)}, // low 8 bits
        {"-1 0 0", RGB(255, 0, 0)},
        {"junk", RGB(0, 0, 0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.clr, ThemeText::ParseColor(c.value)) << c.value;

    std::string t = "[Toolbar]\r\nMenuPopupBorder = 0x80 100 1";
    std::vector<BYTE> noCR = Utf16LE(t), withCR = Utf16LE(t + "\r");
    ThemeText text;
    text.Set(noCR.data(), (DWORD)noCR.size());
    EXPECT_EQ(QX_COLOR_NONE, text.GetColor("Toolbar", "MenuPopupBorder"));
    text.Set(withCR.data(), (DWORD)withCR.size());
    EXPECT_EQ(RGB(128, 100, 1), text.GetColor("Toolbar", "MenuPopupBorder"));
    EXPECT_EQ(QX_COLOR_NONE, text.GetColor("Toolbar", "Missing"));
}

TEST(ThemeText, DamagedTextsAnswerNothingOrWhatIsWhole)
{
    std::vector<BYTE> bytes = Utf16LE("[A]\r\nK=1\r\n");
    bytes.push_back('X'); // an odd byte count: the half character is dropped
    ThemeText text;
    text.Set(bytes.data(), (DWORD)bytes.size());
    EXPECT_STREQ("1", text.GetValue("A", "K"));
    text.Set(bytes.data(), 1);
    EXPECT_FALSE(text.IsLoaded());
    EXPECT_STREQ("", text.GetValue("A", "K"));
    text.Set(NULL, 10);
    EXPECT_FALSE(text.IsLoaded());
    EXPECT_EQ(QX_COLOR_NONE, text.GetColor("A", "K"));
}

// ---------------------------------------------------------------------------
// Geometry

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

TEST(NineParts, CornersKeepTheirMarginsAndEdgesStretch)
{
    ThemeImagePart p[9];
    // Equal sizes: one piece, margins dropped.
    ASSERT_EQ(1, ComputeNineParts(CRect(5, 5, 15, 15), CRect(0, 10, 10, 20), CRect(3, 3, 3, 3), p));
    EXPECT_EQ(CRect(5, 5, 15, 15), CRect(p[0].rcDest));
    EXPECT_EQ(CRect(0, 10, 10, 20), CRect(p[0].rcSrc));
    // Lower than its margins: nothing.
    EXPECT_EQ(0, ComputeNineParts(CRect(0, 0, 40, 5), CRect(0, 0, 10, 10), CRect(3, 3, 3, 3), p));
    // Stretched: nine parts in order.
    ASSERT_EQ(9, ComputeNineParts(CRect(0, 0, 40, 30), CRect(0, 0, 10, 10), CRect(3, 2, 4, 1), p));
    const CRect dest[9] = {{0, 0, 3, 2}, {3, 0, 36, 2}, {36, 0, 40, 2}, {0, 2, 3, 29}, {3, 2, 36, 29}, {36, 2, 40, 29}, {0, 29, 3, 30}, {3, 29, 36, 30}, {36, 29, 40, 30}};
    const CRect src[9] = {{0, 0, 3, 2}, {3, 0, 6, 2}, {6, 0, 10, 2}, {0, 2, 3, 9}, {3, 2, 6, 9}, {6, 2, 10, 9}, {0, 9, 3, 10}, {3, 9, 6, 10}, {6, 9, 10, 10}};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(dest[i], CRect(p[i].rcDest)) << i;
        EXPECT_EQ(src[i], CRect(p[i].rcSrc)) << i;
    }
    // Margins larger than the source are rescaled: 8 + 8 over 10 pixels
    // leave the edges and the centre no source, so only the corners remain.
    ASSERT_EQ(4, ComputeNineParts(CRect(0, 0, 40, 40), CRect(0, 0, 10, 10), CRect(8, 8, 8, 8), p));
    EXPECT_EQ(CRect(0, 0, 5, 5), CRect(p[0].rcSrc));
    EXPECT_EQ(CRect(0, 0, 8, 8), CRect(p[0].rcDest));
    EXPECT_EQ(CRect(5, 4, 10, 10), CRect(p[3].rcSrc)) << "bottom: the rest (5) plus 1 for the parity of 8";
    EXPECT_EQ(CRect(32, 32, 40, 40), CRect(p[3].rcDest));
}

TEST(NineParts, EverySourcePartStaysInsideItsState)
{
    // A top margin of 0 once let the bottom part start above its strip.
    ThemeImagePart p[9];
    const CRect strip(0, 4, 6, 8); // state 1 of a 6 x 8 image with 2 states
    int n = ComputeNineParts(CRect(0, 0, 6, 3), strip, CRect(0, 0, 0, 3), p);
    ASSERT_GT(n, 0);
    for (int i = 0; i < n; ++i)
        EXPECT_TRUE(Inside(p[i].rcSrc, strip)) << i;
    for (int cy = 0; cy < 30; ++cy)
        for (int top = 0; top < 6; ++top)
            for (int bottom = 0; bottom < 6; ++bottom) {
                CRect src(0, 20, 7, 25);
                n = ComputeNineParts(CRect(0, 0, 12, cy), src, CRect(2, top, 3, bottom), p);
                for (int i = 0; i < n; ++i)
                    ASSERT_TRUE(Inside(p[i].rcSrc, src)) << cy << " " << top << " " << bottom;
            }
}

// ---------------------------------------------------------------------------
// Pixels

// A 32-bit target filled with one colour, selected into a memory DC.
class Target {
public:
    Target(int cx, int cy, DWORD fill) : m_cx(cx)
    {
        m_hbm = qxtest::MakeDib32(cx, cy, &m_pBits);
        for (int i = 0; i < cx * cy; ++i)
            m_pBits[i] = fill;
        m_hdc = CreateCompatibleDC(NULL);
        m_hOld = SelectObject(m_hdc, m_hbm);
        m_dc.Attach(m_hdc);
    }
    ~Target()
    {
        m_dc.Detach();
        SelectObject(m_hdc, m_hOld);
        DeleteDC(m_hdc);
        DeleteObject(m_hbm);
    }
    CDC* DC() { return &m_dc; }
    DWORD At(int x, int y)
    {
        GdiFlush();
        return m_pBits[y * m_cx + x] & 0xFFFFFF;
    }

private:
    int m_cx;
    DWORD* m_pBits = NULL;
    HBITMAP m_hbm;
    HDC m_hdc;
    HGDIOBJ m_hOld;
    CDC m_dc;
};

// An image of w x h whose pixels come from a function (0xAARRGGBB).
template <class F>
HBITMAP MakeImage(int w, int h, F pixel)
{
    DWORD* p = NULL;
    HBITMAP hbm = qxtest::MakeDib32(w, h, &p);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p[y * w + x] = pixel(x, y);
    return hbm;
}

// The nine regions of a 9 x 9 image, each 3 x 3 of its own colour.
const DWORD kRegion[9] = {0x110000, 0x220000, 0x330000, 0x004400, 0x005500, 0x006600, 0x000077, 0x000088, 0x000099};

class ThemeBitmapPixels : public ::testing::Test {
protected:
    CQXPCriticalSection m_lock;
    ThemeBitmap* Make(HBITMAP hbm, BOOL bAlpha)
    {
        auto* p = new ThemeBitmap;
        p->Attach(hbm, bAlpha);
        p->SetLock(m_lock);
        m_owned.push_back(p);
        return p;
    }
    void TearDown() override
    {
        for (ThemeBitmap* p : m_owned)
            p->InternalRelease();
    }
    std::vector<ThemeBitmap*> m_owned;
};

TEST_F(ThemeBitmapPixels, StretchesEdgesAndCentreKeepsCorners)
{
    ThemeBitmap* b = Make(MakeImage(9, 9, [](int x, int y) { return kRegion[(y / 3) * 3 + x / 3]; }), FALSE);
    Target t(40, 30, 0xFFFFFF);
    b->DrawImage(t.DC(), CRect(0, 0, 40, 30), b->GetSource(0, 1), CRect(3, 3, 3, 3));
    const struct {
        int x, y, region;
    } probes[] = {{0, 0, 0}, {2, 2, 0}, {20, 1, 1}, {38, 0, 2}, {1, 15, 3}, {20, 15, 4}, {39, 15, 5}, {0, 29, 6}, {20, 28, 7}, {39, 29, 8}};
    for (const auto& p : probes)
        EXPECT_EQ(kRegion[p.region], t.At(p.x, p.y)) << p.x << "," << p.y;
    // Below its margins nothing is drawn.
    Target low(40, 5, 0xFFFFFF);
    b->DrawImage(low.DC(), CRect(0, 0, 40, 5), b->GetSource(0, 1), CRect(3, 3, 3, 3));
    EXPECT_EQ(0xFFFFFFu, low.At(20, 2));
}

TEST_F(ThemeBitmapPixels, StatesAreEqualStripsAndEqualSizesCopyOnePiece)
{
    // Two states: red above, blue below.
    ThemeBitmap* b = Make(MakeImage(4, 8, [](int, int y) { return y < 4 ? 0xFF0000u : 0x0000FFu; }), FALSE);
    EXPECT_EQ(CRect(0, 4, 4, 8), b->GetSource(1, 2));
    EXPECT_EQ(CRect(0, 0, 0, 0), b->GetSource(0, 0));
    Target t(4, 4, 0);
    b->DrawImage(t.DC(), CRect(0, 0, 4, 4), b->GetSource(1, 2), CRect(2, 2, 2, 2));
    EXPECT_EQ(0x0000FFu, t.At(0, 0));
    EXPECT_EQ(0x0000FFu, t.At(3, 3));
}

TEST_F(ThemeBitmapPixels, AlphaKeyAndGlass)
{
    // Alpha: left half opaque green, right half half-transparent white.
    ThemeBitmap* a = Make(MakeImage(4, 4, [](int x, int) { return x < 2 ? 0xFF00FF00u : 0x80FFFFFFu; }), TRUE);
    ASSERT_TRUE(a->IsAlpha());
    Target ta(4, 4, 0x000000);
    a->DrawImage(ta.DC(), CRect(0, 0, 4, 4), a->GetSource(), CRect(0, 0, 0, 0));
    EXPECT_EQ(0x00FF00u, ta.At(0, 0));
    DWORD half = ta.At(3, 0);
    EXPECT_NEAR(0x80, (int)(half & 0xFF), 2) << std::hex << half;

    // Keyed: magenta leaves the background.
    auto keyed = [](int x, int) { return x < 2 ? 0x00FF00FFu : 0x000000FFu; };
    ThemeBitmap* k = Make(MakeImage(4, 4, keyed), FALSE);
    Target tk(8, 4, 0x123456);
    k->DrawImageOnColor(tk.DC(), CRect(0, 0, 8, 4), k->GetSource(), CRect(0, 0, 0, 0), QX_THEME_KEY_COLOR);
    EXPECT_EQ(0x123456u, tk.At(1, 1));
    EXPECT_EQ(0x0000FFu, tk.At(6, 1));
    // Without a key the magenta is drawn.
    k->DrawImageOnColor(tk.DC(), CRect(0, 0, 8, 4), k->GetSource(), CRect(0, 0, 0, 0), QX_COLOR_NONE);
    EXPECT_EQ(0xFF00FFu, tk.At(1, 1));

    // Glass: the key becomes transparent, the rest opaque.
    Target tg(4, 4, 0x654321);
    k->DrawImageGlassAware(tg.DC(), CRect(0, 0, 4, 4), k->GetSource(), CRect(0, 0, 0, 0), QX_THEME_KEY_COLOR, 1);
    EXPECT_EQ(0x654321u, tg.At(0, 2));
    EXPECT_EQ(0x0000FFu, tg.At(3, 2));
    // Without the glass flag it is the keyed drawing.
    Target tn(4, 4, 0x654321);
    k->DrawImageGlassAware(tn.DC(), CRect(0, 0, 4, 4), k->GetSource(), CRect(0, 0, 0, 0), QX_THEME_KEY_COLOR, 0);
    EXPECT_EQ(0x654321u, tn.At(0, 2));
    EXPECT_EQ(0x0000FFu, tn.At(3, 2));
}

TEST_F(ThemeBitmapPixels, RightToLeftTargetsMirrorAlphaImagesThatAskForIt)
{
    // Red on the left, blue on the right, both half transparent.
    ThemeBitmap* b = Make(MakeImage(4, 2, [](int x, int) { return x < 2 ? 0x80FF0000u : 0x800000FFu; }), TRUE);
    ASSERT_TRUE(b->IsAlpha());
    b->m_bMirror = TRUE;
    Target rtl(4, 2, 0);
    SetLayout(rtl.DC()->GetSafeHdc(), LAYOUT_RTL);
    b->DrawImage(rtl.DC(), CRect(0, 0, 4, 2), b->GetSource(), CRect(0, 0, 0, 0));
    EXPECT_TRUE(b->m_bMirrored) << "held mirrored for the right-to-left target";
    Target ltr(4, 2, 0);
    b->DrawImage(ltr.DC(), CRect(0, 0, 4, 2), b->GetSource(), CRect(0, 0, 0, 0));
    EXPECT_FALSE(b->m_bMirrored) << "back for a left-to-right one";
    EXPECT_NEAR(0x80, (int)(ltr.At(0, 0) >> 16), 2) << "red stays on the left";
    EXPECT_NEAR(0x80, (int)(ltr.At(3, 0) & 0xFF), 2) << "blue on the right";
    // Without the mirror flag it is never flipped.
    b->m_bMirror = FALSE;
    b->DrawImage(rtl.DC(), CRect(0, 0, 4, 2), b->GetSource(), CRect(0, 0, 0, 0));
    EXPECT_FALSE(b->m_bMirrored);
}

TEST_F(ThemeBitmapPixels, NothingWithoutLockOrBitmap)
{
    ThemeBitmap* b = Make(MakeImage(4, 4, [](int, int) { return 0x00FF0000u; }), FALSE);
    b->SetLock(NULL);
    Target t(4, 4, 0x000000);
    b->DrawImage(t.DC(), CRect(0, 0, 4, 4), b->GetSource(), CRect(0, 0, 0, 0));
    EXPECT_EQ(0u, t.At(1, 1));
    ThemeBitmap* empty = Make(NULL, FALSE);
    EXPECT_EQ(0, empty->GetWidth());
    empty->DrawImage(t.DC(), CRect(0, 0, 4, 4), CRect(0, 0, 4, 4), CRect(0, 0, 0, 0));
    EXPECT_EQ(0u, t.At(1, 1));
}

// ---------------------------------------------------------------------------
// The resource object over this program's module.

TEST(ThemeResourcesModule, TheProgramsThemeLoadsWithColoursAndImages)
{
    ThemeResources* r = GetThemeResources();
    ASSERT_TRUE(r->IsLoaded());
    EXPECT_EQ(RGB(191, 219, 255), r->GetColor("Ribbon", "RibbonFace"));
    EXPECT_EQ(RGB(59, 90, 130), r->GetColor("window", "borderactive0"));
    EXPECT_EQ(QX_COLOR_NONE, r->GetColor("Window", "NoSuchKey"));

    ThemeResources own;
    ASSERT_TRUE(own.LoadTextResource(NULL, NULL, FALSE));
    ThemeBitmap* p = own.LoadImage("FRAMETOPLEFT");
    ASSERT_TRUE(p != NULL);
    EXPECT_EQ(p, own.LoadImage("FRAMETOPLEFT")) << "cached";
    EXPECT_EQ(1, own.GetCachedCount());
    EXPECT_TRUE(p->IsAlpha()) << "a PNG with alpha";
    EXPECT_EQ(0, p->GetHeight() % 2);

    // The Images rule: an entry's value names the resource.
    EXPECT_STREQ("STATUSBARDEVIDER", own.GetImageResourceName("StatusBarDivider"));
    EXPECT_TRUE(own.LoadImage("StatusBarDivider") != NULL);
    EXPECT_STREQ("Frame_Top_png", own.GetImageResourceName("Frame\\Top.png"));

    // A failed load is not cached, so a later call tries again.
    int n = own.GetCachedCount();
    EXPECT_TRUE(own.LoadImage("NOSUCHIMAGE") == NULL);
    EXPECT_EQ(n, own.GetCachedCount());
    EXPECT_TRUE(own.LoadImage("") == NULL);

    // A new theme empties the cache.
    ASSERT_TRUE(own.LoadTextResource(NULL, "OFFICE2007BLUE.INI", FALSE));
    EXPECT_EQ(0, own.GetCachedCount());
}

TEST(ThemeResourcesModule, WithoutTheTextImagesStillLoadByTheirPlainNames)
{
    ThemeResources own;
    EXPECT_FALSE(own.LoadTextResource(NULL, "NO_SUCH_THEME", FALSE));
    EXPECT_FALSE(own.IsLoaded());
    EXPECT_EQ(QX_COLOR_NONE, own.GetColor("Ribbon", "RibbonFace"));
    EXPECT_STREQ("", own.GetValue("Ribbon", "RibbonFace"));
    EXPECT_TRUE(own.LoadImage("FRAMETOPLEFT") != NULL);
    EXPECT_TRUE(own.LoadImage("StatusBarDivider") == NULL) << "no Images section without the text";

    // A module with no TEXTFILE at all.
    EXPECT_FALSE(own.LoadTextResource(GetModuleHandleA("kernel32.dll"), NULL, FALSE));
    EXPECT_FALSE(own.IsLoaded());
}

TEST(ThemeResourcesModule, LoadingTheSameModuleAgainKeepsItLoaded)
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, MAX_PATH);
    HMODULE h = LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(h != NULL);
    {
        ThemeResources own;
        ASSERT_TRUE(own.LoadTextResource(h, NULL, TRUE));
        ASSERT_TRUE(own.LoadTextResource(h, NULL, TRUE));
        // The text lives in the module: it must still be mapped.
        EXPECT_EQ(RGB(191, 219, 255), own.GetColor("Ribbon", "RibbonFace"));
        EXPECT_TRUE(own.LoadImage("FRAMECAPTIONCLOSE17") != NULL);
    }
}

TEST(ThemeResourcesModule, EveryImageOfTheModuleLoadsWithWholeStates)
{
    // Each named picture of the theme loads through the cache.
    std::vector<std::string> names;
    auto collect = [](HMODULE, LPCSTR, LPSTR name, LONG_PTR l) -> BOOL {
        if (!IS_INTRESOURCE(name))
            reinterpret_cast<std::vector<std::string>*>(l)->push_back(name);
        return TRUE;
    };
    EnumResourceNamesA(NULL, "PNG", collect, (LONG_PTR)&names);
    EnumResourceNamesA(NULL, RT_BITMAP, collect, (LONG_PTR)&names);
    ThemeResources own;
    own.LoadTextResource(NULL, NULL, FALSE);
    int nTheme = 0;
    for (const std::string& name : names) {
        ThemeBitmap* p = own.LoadImage(name.c_str());
        ASSERT_TRUE(p != NULL) << name;
        EXPECT_GT(p->GetWidth(), 0) << name;
        ++nTheme;
    }
    EXPECT_GE(nTheme, 125);
}

} // namespace
