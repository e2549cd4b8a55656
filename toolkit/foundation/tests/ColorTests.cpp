// Colour values, the colour manager (system colours, display depth and the
// visual style injected) and the paint manager's colour table.
#include <qx/colors.h>
#include <qx/visualstyles.h>

#include "QxTestSupport.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>

namespace {

// The classic Windows 2000 scheme.
const COLORREF kClassic[30] = {
    RGB(0xC8, 0xD0, 0xD4),
    RGB(0x3A, 0x6E, 0xA5),
    RGB(0x0A, 0x24, 0x6A),
    RGB(0x80, 0x80, 0x80),
    RGB(0xD4, 0xD0, 0xC8),
    RGB(0xFF, 0xFF, 0xFF),
    RGB(0x00, 0x00, 0x00),
    RGB(0x00, 0x00, 0x00),
    RGB(0x00, 0x00, 0x00),
    RGB(0xFF, 0xFF, 0xFF),
    RGB(0xD4, 0xD0, 0xC8),
    RGB(0xD4, 0xD0, 0xC8),
    RGB(0x80, 0x80, 0x80),
    RGB(0x0A, 0x24, 0x6A),
    RGB(0xFF, 0xFF, 0xFF),
    RGB(0xD4, 0xD0, 0xC8),
    RGB(0x80, 0x80, 0x80),
    RGB(0x80, 0x80, 0x80),
    RGB(0x00, 0x00, 0x00),
    RGB(0xD4, 0xD0, 0xC8),
    RGB(0xFF, 0xFF, 0xFF),
    RGB(0x40, 0x40, 0x40),
    RGB(0xD4, 0xD0, 0xC8),
    RGB(0x00, 0x00, 0x00),
    RGB(0xFF, 0xFF, 0xE1),
    RGB(0xB5, 0xB5, 0xB5),
    RGB(0x00, 0x00, 0x80),
    RGB(0xA6, 0xCA, 0xF0),
    RGB(0xC0, 0xC0, 0xC0),
    RGB(0x31, 0x6A, 0xC5),
};

// A palette where window, face and highlight are one grey: every contrast
// rule has to push.
COLORREF g_grey[30];

const COLORREF* g_palette = kClassic;
int g_bits = 32;

COLORREF AFXAPI TestSysColor(int n) { return n >= 0 && n < 30 ? g_palette[n] : 0; }
int AFXAPI TestBits(HDC) { return g_bits; }

ToolkitColorManager::SystemQueries Queries()
{
    ToolkitColorManager::SystemQueries q;
    q.pfnSysColor = TestSysColor;
    q.pfnBitsPerPixel = TestBits;
    return q;
}

class ColorManager : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_palette = kClassic;
        g_bits = 32;
        CVisualStyleTheme::SetLibrary("qx_no_such_uxtheme.dll");
    }
    void TearDown() override { CVisualStyleTheme::SetLibrary(NULL); }
};

COLORREF Scale(COLORREF c, double f)
{
    return RGB((int)(GetRValue(c) * f), (int)(GetGValue(c) * f), (int)(GetBValue(c) * f));
}

} // namespace

TEST(ColorMath, MixAndBlend)
{
    struct Mix {
        COLORREF a, b;
        int w;
        COLORREF expect;
    } mixes[] = {
        {RGB(200, 100, 0), RGB(0, 0, 100), 50, RGB(100, 50, 50)},
        {RGB(255, 255, 255), RGB(0, 0, 0), 30, RGB(77, 77, 77)},  // (255*30 + 50) / 100 = 77
        {RGB(255, 255, 255), RGB(0, 0, 0), 165, RGB(42, 42, 42)}, // thousandths: (255*165 + 500) / 1000
        {RGB(10, 20, 30), RGB(110, 120, 130), 100, RGB(100, 110, 120)},
        {RGB(10, 20, 30), RGB(110, 120, 130), 0, RGB(110, 120, 130)},
    };
    for (const Mix& m : mixes)
        EXPECT_EQ(m.expect, MixColors(m.a, m.b, m.w)) << m.w;
    EXPECT_EQ(RGB(255, 0, 0), BlendColors(RGB(255, 0, 0), RGB(0, 0, 255), 1.0));
    EXPECT_EQ(RGB(0, 0, 255), BlendColors(RGB(255, 0, 0), RGB(0, 0, 255), 0.0));
    EXPECT_EQ(RGB(127, 0, 127), BlendColors(RGB(255, 0, 0), RGB(0, 0, 255), 0.5));
    EXPECT_EQ(RGB(255, 255, 255), BlendColors(RGB(255, 255, 255), RGB(255, 255, 255), 1.2)) << "capped";
}

TEST(ColorMath, HslToRgbTable)
{
    struct Row {
        double h, s, l;
        COLORREF expected;
    };
    const Row rows[] = {
        {0, 0, 0.5, RGB(127, 127, 127)},
        {0, 0, 1, RGB(255, 255, 255)},
        {0, 1, 0.5, RGB(255, 0, 0)},
        {1.0 / 3, 1, 0.5, RGB(0, 255, 0)},
        {2.0 / 3, 1, 0.5, RGB(0, 0, 255)},
        {0, 1, 0.25, RGB(127, 0, 0)},
    };
    for (const Row& r : rows) {
        COLORREF c = HslToRgb(r.h, r.s, r.l);
        EXPECT_EQ(r.expected, c) << r.h << " " << r.s << " " << r.l << " -> " << (int)GetRValue(c) << ","
                                 << (int)GetGValue(c) << "," << (int)GetBValue(c);
    }
    EXPECT_DOUBLE_EQ(0.25, HueToChannel(0.25, 0.75, 0.9));
    EXPECT_DOUBLE_EQ(0.75, HueToChannel(0.25, 0.75, 1.3)) << "brought into 0..1 first";
}

TEST(ColorMath, ReadableText)
{
    EXPECT_NEAR(21.0, ContrastRatio(RGB(0, 0, 0), RGB(255, 255, 255)), 0.01);
    EXPECT_NEAR(1.0, ContrastRatio(RGB(90, 30, 200), RGB(90, 30, 200)), 0.01);
    EXPECT_NEAR(ContrastRatio(RGB(12, 34, 56), RGB(200, 150, 100)), ContrastRatio(RGB(200, 150, 100), RGB(12, 34, 56)),
                1e-9);
    struct Case {
        COLORREF text, back, expect;
        const char* what;
    } cases[] = {
        {RGB(255, 255, 255), RGB(10, 36, 106), RGB(255, 255, 255), "white on navy is kept"},
        {RGB(0, 0, 0), RGB(50, 150, 250), RGB(0, 0, 0), "black on light blue is kept"},
        {RGB(200, 200, 200), RGB(128, 128, 128), RGB(0, 0, 0), "light grey on grey: black stands out more"},
        {RGB(212, 208, 200), RGB(128, 128, 128), RGB(0, 0, 0), "the classic inactive caption"},
        {RGB(90, 90, 90), RGB(60, 60, 60), RGB(255, 255, 255), "dark grey on darker grey: white"},
        {RGB(255, 255, 0), RGB(255, 255, 255), RGB(0, 0, 0), "yellow on white"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expect, ReadableTextColor(c.text, c.back)) << c.what;
        EXPECT_GE(ContrastRatio(ReadableTextColor(c.text, c.back), c.back), 4.5) << c.what;
    }
}

TEST(ColorValues, OverridesGradientsAndArchiveForms)
{
    ColorValue v(RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), v.GetColor());
    v.Set(0);
    EXPECT_EQ(0u, v.GetColor()) << "black is a real override";
    v.Set(QX_COLOR_NONE);
    EXPECT_EQ(RGB(1, 2, 3), v.GetColor());

    GradientColorValue g(RGB(9, 9, 9));
    g.m_end.Set(RGB(8, 8, 8));
    g.Set(RGB(1, 1, 1), RGB(2, 2, 2), 0.75f);
    EXPECT_EQ(RGB(1, 1, 1), g.GetStart());
    EXPECT_EQ(RGB(8, 8, 8), g.GetEnd()) << "the override stays";
    g.SetStandard(RGB(5, 5, 5));
    EXPECT_EQ(0.5f, g.GetFactor());
    GradientColorValue h;
    h.SetStandardValue(g);
    EXPECT_EQ(RGB(5, 5, 5), h.m_start.GetStandard());
    EXPECT_EQ(RGB(8, 8, 8), h.m_end.GetStandard());

    qxtest::Bytes bytes = qxtest::StoreBytes([&](CArchive& ar) { ar << v << g; });
    qxtest::Bytes expect = {0x01, 0x02, 0x03, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, // value: standard, override
                            0x05, 0x05, 0x05, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, // start
                            0x05, 0x05, 0x05, 0x00, 0x08, 0x08, 0x08, 0x00, // end
                            0x00, 0x00, 0x00, 0x3F};                        // factor 0.5
    EXPECT_EQ(qxtest::Hex(expect), qxtest::Hex(bytes));
    ColorValue v2;
    GradientColorValue g2;
    qxtest::LoadBytes(bytes, [&](CArchive& ar) { ar >> v2 >> g2; });
    EXPECT_EQ(v.GetColor(), v2.GetColor());
    EXPECT_EQ(RGB(8, 8, 8), g2.GetEnd());
}

TEST_F(ColorManager, NumbersOutsideTheTableAreLiteralsAndNeverIndexes)
{
    ToolkitColorManager m(Queries());
    EXPECT_EQ(63u, m.GetColor(63));
    EXPECT_EQ(0x00123456u, m.GetColor(0x00123456));
    EXPECT_EQ(QX_COLOR_NONE, m.GetColor(-1));
    EXPECT_EQ((COLORREF)-5, m.GetColorEx(-5));
    EXPECT_FALSE(m.SetColor(-1, 0));
    EXPECT_FALSE(m.SetColor(63, 0));
    EXPECT_FALSE(m.SetCustomColor(29, 0));
    EXPECT_FALSE(m.SetCustomColor(63, 0));
    EXPECT_EQ(nullptr, m.GetGradientColor(-1));
    EXPECT_EQ(nullptr, m.GetGradientColor(10));
    EXPECT_EQ(QX_COLOR_NONE, m.GetComputedColor(-3));

    CQXPColorTable table;
    EXPECT_EQ(99u, table.GetColor(99));
    EXPECT_EQ((COLORREF)-2, table.GetColor(-2));
    EXPECT_EQ(nullptr, table.GetAt(63));
    int idx[] = {-1, 5, 63};
    COLORREF clr[] = {1, 2, 3};
    table.SetColors(3, idx, clr);
    EXPECT_EQ(2u, table.GetColor(5));
}

TEST_F(ColorManager, OverridesCountAndComeBack)
{
    ToolkitColorManager m(Queries());
    EXPECT_EQ(kClassic[COLOR_WINDOW], m.GetColor(COLOR_WINDOW));
    EXPECT_TRUE(m.SetColor(COLOR_WINDOW, 0));
    EXPECT_EQ(0u, m.GetColor(COLOR_WINDOW));
    EXPECT_TRUE(m.SetColor(COLOR_BTNFACE, RGB(1, 2, 3)));
    m.RefreshColors();
    EXPECT_EQ(RGB(1, 2, 3), m.GetColor(51)) << "defaults read system colours through the overrides";
    EXPECT_EQ(kClassic[COLOR_BTNFACE], m.GetComputedColor(COLOR_BTNFACE));
    EXPECT_TRUE(m.SetColor(COLOR_WINDOW, QX_COLOR_NONE));
    EXPECT_EQ(kClassic[COLOR_WINDOW], m.GetColor(COLOR_WINDOW));
    EXPECT_TRUE(m.SetCustomColor(30, RGB(200, 10, 10)));
    EXPECT_EQ(RGB(200, 10, 10), m.GetColorEx(30));
    EXPECT_NE(RGB(200, 10, 10), m.GetColor(30));
}

TEST(GlobalThemeStateTests, ThemeTwoTakesTheCustomShadowColour)
{
    ToolkitColorManager* pColors = ToolkitColorManager::Instance();
    GlobalThemeState* pState = GlobalThemeState::Instance();
    EXPECT_EQ(pState, GlobalThemeState::Instance()) << "one object for the process";
    const int nOldTheme = pState->GetTheme();
    ASSERT_TRUE(pColors->SetCustomColor(qxColorShadow, RGB(9, 8, 7)));
    struct {
        int theme;
        bool custom;
    } cases[] = {{0, false}, {1, false}, {2, true}, {3, false}};
    for (auto& c : cases) {
        pState->SetTheme(c.theme);
        EXPECT_EQ(c.theme, pState->GetTheme());
        EXPECT_EQ(c.custom ? RGB(9, 8, 7) : pColors->GetColor(qxColorShadow), pState->GetShadowColor()) << c.theme;
    }
    pColors->SetCustomColor(qxColorShadow, QX_COLOR_NONE);
    pState->SetTheme(2);
    EXPECT_EQ(pColors->GetColor(qxColorShadow), pState->GetShadowColor()) << "no custom colour: the computed one";
    pState->SetTheme(nOldTheme);
}

TEST_F(ColorManager, ClassicRecomputationFollowsItsRules)
{
    struct Palette {
        const char* name;
        const COLORREF* colors;
    } palettes[] = {{"classic", kClassic}, {"flat grey", g_grey}};
    for (int i = 0; i < 30; ++i)
        g_grey[i] = RGB(0x80, 0x80, 0x80);
    g_grey[COLOR_WINDOWTEXT] = g_grey[COLOR_MENUTEXT] = g_grey[COLOR_BTNTEXT] = g_grey[COLOR_HIGHLIGHTTEXT] = 0;

    for (const Palette& p : palettes) {
        SCOPED_TRACE(p.name);
        g_palette = p.colors;
        ToolkitColorManager m(Queries());
        auto C = [&](int n) { return m.GetColor(n); };
        const COLORREF face = p.colors[COLOR_BTNFACE], window = p.colors[COLOR_WINDOW],
                       shadow = p.colors[COLOR_BTNSHADOW], highlight = p.colors[COLOR_HIGHLIGHT];
        EXPECT_EQ(0, m.GetCurrentSystemTheme());
        EXPECT_EQ(0u, C(0));
        for (int n = 1; n < 30; ++n) {
            if (n != COLOR_3DLIGHT) {
                EXPECT_EQ(p.colors[n], C(n)) << n;
            }
        }
        EXPECT_EQ(0u, C(59));
        EXPECT_EQ(0u, C(62));

        // Contrast rows: afterwards each target stands out from its first colour.
        struct Contrast {
            int target, first, threshold;
        } rows[] = {{31, 30, 50}, {32, 30, 100}, {33, 30, 30}, {35, 41, 80}, {37, 33, 100}, {38, 30, 85}, {39, 30, 50}, {43, 41, 100}, {61, 30, 100}, {40, 30, 80}, {44, 41, 180}, {45, 31, 180}, {46, 30, 180}, {47, 33, 180}};
        for (const Contrast& r : rows)
            EXPECT_TRUE(ToolkitColorManager::IsDistinct(C(r.first), C(r.target), r.threshold)) << r.target;
        EXPECT_FALSE(ToolkitColorManager::IsDistinct(face, C(30), 35)) << "30 stays near the face colour";
        EXPECT_FALSE(ToolkitColorManager::IsDistinct(C(41), C(35), 145));

        // Derived colours.
        auto part = [](int w, int h, int c) { return (int)(w * 0.4) + (int)(h * 0.1) + (int)(c * 0.5); };
        EXPECT_EQ(RGB(part(GetRValue(window), GetRValue(highlight), GetRValue(C(30))),
                      part(GetGValue(window), GetGValue(highlight), GetGValue(C(30))),
                      part(GetBValue(window), GetBValue(highlight), GetBValue(C(30)))),
                  C(36));
        int mf = std::max({GetRValue(face), GetGValue(face), GetBValue(face)});
        EXPECT_EQ(Scale(face, mf > 219 ? 255.0 / mf : (mf + 35.0) / mf), C(48));
        int ms = std::max({GetRValue(shadow), GetGValue(shadow), GetBValue(shadow)});
        EXPECT_EQ(Scale(shadow, (ms - 43.0) / ms), C(49));
        EXPECT_EQ(Scale(C(31), 0.75), C(34));
        EXPECT_EQ(RGB(std::min(255, GetRValue(face) + 15), std::min(255, GetGValue(face) + 15),
                      std::min(255, GetBValue(face) + 15)),
                  C(COLOR_3DLIGHT));
        EXPECT_EQ(C(30), C(53));
        EXPECT_EQ(C(40), C(58));
        EXPECT_EQ(C(40), C(60));

        // Classic gradients.
        struct Gradient {
            int n;
            COLORREF start, end;
        } gradients[] = {{0, shadow, shadow},
                         {1, face, MixColors(face, window, 215)},
                         {2, face, shadow},
                         {3, MixColors(face, window, 205), face},
                         {4, MixColors(face, window, 145), MixColors(face, window, 93)},
                         {5, MixColors(face, window, 40), MixColors(face, shadow, 95)},
                         {6, MixColors(face, window, 165), MixColors(face, window, 42)},
                         {7, 0x008CD5FF, 0x0055ADFF},
                         {8, 0x004B8EFE, 0x008BCFFF},
                         {9, 0x00C8F2FF, 0x0097D4FF}};
        for (const Gradient& g : gradients) {
            EXPECT_EQ(g.start, m.GetGradientColor(g.n)->GetStart()) << g.n;
            EXPECT_EQ(g.end, m.GetGradientColor(g.n)->GetEnd()) << g.n;
            EXPECT_EQ(0.5f, m.GetGradientColor(g.n)->GetFactor()) << g.n;
        }
    }
}

TEST_F(ColorManager, BlackFaceGivesTheFixedDerivedColours)
{
    COLORREF black[30];
    std::copy(kClassic, kClassic + 30, black);
    black[COLOR_BTNFACE] = 0;
    g_palette = black;
    ToolkitColorManager m(Queries());
    EXPECT_EQ(0x00232323u, m.GetColor(48));
    EXPECT_EQ(0x007F7F7Fu, m.GetColor(49));
}

TEST_F(ColorManager, LowColourDisplayKeepsThePlainDefaults)
{
    g_bits = 8;
    ToolkitColorManager m(Queries());
    EXPECT_TRUE(m.IsLowColor());
    struct Default {
        int n, from;
    } defaults[] = {{30, COLOR_BTNFACE}, {31, COLOR_WINDOW}, {32, COLOR_HIGHLIGHT}, {33, COLOR_HIGHLIGHT}, {34, COLOR_BTNSHADOW}, {35, COLOR_GRAYTEXT}, {36, COLOR_WINDOW}, {38, COLOR_BTNSHADOW}, {41, COLOR_WINDOW}, {44, COLOR_WINDOWTEXT}, {46, COLOR_BTNTEXT}, {47, COLOR_HIGHLIGHTTEXT}, {48, COLOR_BTNSHADOW}, {49, COLOR_HIGHLIGHTTEXT}, {53, COLOR_BTNFACE}, {58, COLOR_GRAYTEXT}, {61, COLOR_BTNSHADOW}};
    for (const Default& d : defaults)
        EXPECT_EQ(kClassic[d.from], m.GetColor(d.n)) << d.n;
    EXPECT_EQ(kClassic[COLOR_3DLIGHT], m.GetColor(COLOR_3DLIGHT)) << "no brightening";
    EXPECT_EQ(kClassic[COLOR_BTNFACE], m.GetGradientColor(1)->GetEnd());
    EXPECT_EQ(kClassic[COLOR_BTNFACE], m.GetGradientColor(3)->GetStart());
    EXPECT_EQ(kClassic[COLOR_BTNFACE], m.GetGradientColor(3)->GetEnd());
    g_bits = 16;
    EXPECT_FALSE(m.IsLowColor());
}

TEST_F(ColorManager, DetectsTheDesktopStyle)
{
    qxtest::FakeUx fake;
    ASSERT_TRUE(fake.Loaded());
    CVisualStyleTheme::SetLibrary("qxfakeux.dll");
    struct Case {
        const char* name;
        const wchar_t* file;
        const wchar_t* scheme;
        bool active;
        bool nameFails;
        bool royale, aero;
        int bits;
        int expect;
    } cases[] = {
        {"luna blue", L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", L"NormalColor", true, false, true, true, 32, 1},
        {"luna olive", L"C:\\themes\\LUNA.MSSTYLES", L"HomeStead", true, false, true, true, 32, 2},
        {"luna silver", L"luna.msstyles", L"Metallic", true, false, true, true, 32, 3},
        {"own luna skin", L"D:\\x\\WinXP.Luna.SkinPack", L"normalcolor", true, false, true, true, 32, 1},
        {"luna other scheme", L"luna.msstyles", L"Zune", true, false, true, true, 32, 0},
        {"royale", L"Royale.msstyles", L"NormalColor", true, false, true, true, 32, 4},
        {"royale off", L"Royale.msstyles", L"NormalColor", true, false, false, true, 32, 0},
        {"aero", L"C:\\Windows\\Resources\\Themes\\Aero\\aero.msstyles", L"NormalColor", true, false, true, true, 32, 5},
        {"aero off", L"aero.msstyles", L"NormalColor", true, false, true, false, 32, 0},
        {"other style", L"Zune.msstyles", L"x", true, false, true, true, 32, 0},
        {"inactive", L"luna.msstyles", L"NormalColor", false, false, true, true, 32, 0},
        {"name fails", L"luna.msstyles", L"NormalColor", true, true, true, true, 32, 0},
        {"8-bit display", L"luna.msstyles", L"NormalColor", true, false, true, true, 8, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.Set(c.file, c.scheme, c.active, c.nameFails, RGB(1, 2, 3));
        g_bits = c.bits;
        ToolkitColorManager m(Queries());
        m.EnableRoyaleDetection(c.royale);
        m.EnableAeroDetection(c.aero);
        m.RefreshColors();
        EXPECT_EQ(c.expect, m.GetCurrentSystemTheme());
        EXPECT_EQ(c.expect, m.GetCurrentTheme()) << "6 follows the system";
        m.SetCurrentTheme(qxColorThemeAuto);
        EXPECT_EQ(c.expect, m.GetCurrentTheme());
        EXPECT_EQ(c.expect, m.ResolveColorTheme(qxColorThemeAuto));
        m.DisableLunaColors(TRUE);
        EXPECT_EQ(0, m.ResolveColorTheme(qxColorThemeAuto));
        EXPECT_EQ(c.expect, m.ResolveColorTheme(qxColorThemeSystem));
        EXPECT_EQ(3, m.ResolveColorTheme(3));
        if (c.active && !c.nameFails && c.bits > 8) {
            EXPECT_EQ(RGB(1, 2, 3), m.GetColor(57)) << "the tree-view border of the style";
        }
    }
    // A library that faults while naming the style: the classic colours,
    // and the program goes on.
    g_bits = 32;
    fake.Set(L"luna.msstyles", L"NormalColor", true);
    const LONG nFaults = fake.Fault("GetCurrentThemeName");
    ToolkitColorManager m(Queries());
    m.RefreshColors();
    EXPECT_EQ(0, m.GetCurrentSystemTheme());
    EXPECT_GT(fake.Fault(NULL), nFaults);
}

TEST_F(ColorManager, ThemePalettesAndGradients)
{
    qxtest::FakeUx fake;
    ASSERT_TRUE(fake.Loaded());
    CVisualStyleTheme::SetLibrary("qxfakeux.dll");
    struct Case {
        const wchar_t* scheme;
        COLORREF c30, c38, c59, c54;
        COLORREF g0start, g3end;
        float g3factor;
    } cases[] = {
        {L"NormalColor", 0x00F5BE9E, 0x00764127, 0x00361E16, 0x00962D00, 0x00D68759, 0x00E2A981, 0.75f},
        {L"HomeStead", 0x00A7D9D9, 0x00335E51, 0x0019221F, 0x00588060, 0x0082C0AF, 0x0091C6B7, 0.3f},
        {L"Metallic", 0x00E5D7D7, 0x00755454, 0x00292024, 0x00947C7C, 0x00BFA7A8, 0x00B79B9C, 0.75f},
    };
    for (const Case& c : cases) {
        fake.Set(L"luna.msstyles", c.scheme, true);
        ToolkitColorManager m(Queries());
        EXPECT_EQ(c.c30, m.GetColorEx(30));
        EXPECT_EQ(c.c38, m.GetColorEx(38));
        EXPECT_EQ(c.c59, m.GetColorEx(59));
        EXPECT_EQ(0x00C2EEFFu, m.GetColorEx(31));
        EXPECT_EQ(m.GetColorEx(32), m.GetColorEx(50));
        EXPECT_EQ(m.GetColor(42), m.GetColorEx(42)) << "42 has no custom colour";
        EXPECT_EQ(c.c54, m.GetColor(54));
        EXPECT_EQ(c.g0start, m.GetGradientColor(0)->GetStart());
        EXPECT_EQ(c.g3end, m.GetGradientColor(3)->GetEnd());
        EXPECT_EQ(c.g3factor, m.GetGradientColor(3)->GetFactor());
        m.DisableLunaColors(TRUE);
        m.RefreshColors();
        EXPECT_EQ(QX_COLOR_NONE, m.GetCustomColor(30)) << "classic colours forced";
    }
}

TEST(ColorManagerGlobal, InstanceAndTableRefresh)
{
    ToolkitColorManager* m = ToolkitColorManager::Instance();
    EXPECT_EQ(m, ToolkitColorManager::Instance());
    ToolkitColorManager::Refresh();
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), m->GetColor(COLOR_WINDOW));
    CQXPColorTable table;
    table.RefreshFrom(*m);
    for (int i = 0; i < QX_COLOR_COUNT; ++i)
        EXPECT_EQ(m->GetColor(i), table.GetColor(i)) << i;
    table.GetAt(5)->Set(RGB(9, 9, 9));
    EXPECT_EQ(RGB(9, 9, 9), table.GetColor(5));
}
