// The five themes: state rectangles and text colours per state, bar
// backgrounds, the Office 2003 colour schemes and their fall-backs, and the
// "Windows XP" fall-back to "Windows 2000" where visual styles are off or
// the visual-styles library faults.
#include "PaintTestSupport.h"
#include "../../tests/QxTestSupport.h"

#include <cstring>

using namespace painttest;

namespace {

const COLORREF kBack = RGB(1, 2, 3);

enum {
    None = -1
};

struct StateRow {
    const char* name;
    int nSelected;
    BOOL bPressed, bEnabled;
    int nChecked;
    BOOL bPopped;
    int nBarType, nPosition;
    int nBorder, nFill; // colour numbers; None: the pixel is left alone
};

void CheckFilledRectangles(CQXPThemePainter* p, const StateRow* rows, size_t n)
{
    const CRect rc(4, 4, 40, 26);
    for (size_t i = 0; i < n; ++i) {
        const StateRow& r = rows[i];
        MemoryDC mem(44, 30, kBack);
        p->DrawRectangle(mem.dc(), rc, r.nSelected, r.bPressed, r.bEnabled, r.nChecked, r.bPopped, r.nBarType,
                         r.nPosition);
        COLORREF border = mem.Pixel(rc.left, rc.top + 5);
        COLORREF fill = mem.Pixel(rc.left + 6, rc.top + 5);
        EXPECT_EQ(r.nBorder == None ? kBack : p->GetColor(r.nBorder), border) << r.name;
        EXPECT_EQ(r.nFill == None ? kBack : p->GetColor(r.nFill), fill) << r.name;
    }
}

struct ThemeTest : ::testing::Test {
    FixedColors colors;
};

TEST_F(ThemeTest, OfficeXPStateRectangles)
{
    ThemeHolder theme(qxpThemeOfficeXP);
    const int T = qxpBarTypeNormal, P = qxpBarTypePopup;
    const StateRow rows[] = {
        {"normal", 0, FALSE, TRUE, 0, FALSE, T, qxpBarTop, None, None},
        {"hot", 1, FALSE, TRUE, 0, FALSE, T, qxpBarTop, 32, 31},
        {"pressed alone", 0, TRUE, TRUE, 0, FALSE, T, qxpBarTop, 32, 31},
        {"hot and pressed", 1, TRUE, TRUE, 0, FALSE, T, qxpBarTop, 50, 33},
        {"pressed from the keyboard", 0, 2, TRUE, 0, FALSE, T, qxpBarTop, 50, 33},
        {"popped", 1, FALSE, TRUE, 0, TRUE, T, qxpBarTop, 43, 30},
        {"checked", 0, FALSE, TRUE, 1, FALSE, T, qxpBarTop, 37, 36},
        {"indeterminate", 0, FALSE, TRUE, 2, FALSE, T, qxpBarTop, 37, 51},
        {"checked and hot", 1, FALSE, TRUE, 1, FALSE, T, qxpBarTop, 50, 33},
        {"checked and pressed", 0, TRUE, TRUE, 1, FALSE, T, qxpBarTop, 32, 31},
        {"disabled", 0, FALSE, FALSE, 0, FALSE, T, qxpBarTop, None, None},
        {"disabled, mouse over", 1, FALSE, FALSE, 0, FALSE, T, qxpBarTop, None, None},
        {"disabled, keyboard", 2, FALSE, FALSE, 0, FALSE, T, qxpBarTop, 32, 31},
        {"disabled, keyboard, checked", 3, FALSE, FALSE, 1, FALSE, T, qxpBarTop, 32, 33},
        {"disabled, keyboard, popup list", 2, FALSE, FALSE, 0, FALSE, P, qxpBarPopup, 32, 41},
        {"disabled, checked", 0, FALSE, FALSE, 1, FALSE, T, qxpBarTop, 58, 36},
        {"disabled, checked, popup list", 0, FALSE, FALSE, 1, FALSE, P, qxpBarPopup, 58, None},
        {"menu item", 1, FALSE, TRUE, 0, FALSE, P, qxpBarPopup, 32, 31},
    };
    CheckFilledRectangles(theme.p, rows, sizeof(rows) / sizeof(rows[0]));
}

TEST_F(ThemeTest, Office2003OnAClassicDesktopUsesTheOfficeXPRectangles)
{
    ThemeHolder office2003(qxpThemeOffice2003);
    ThemeHolder officeXP(qxpThemeOfficeXP);
    auto* b = static_cast<ToolkitPaintThemeB*>(office2003.p);
    EXPECT_FALSE(b->m_bLunaColors);
    const CRect rc(2, 2, 30, 20);
    for (int nSelected : {0, 1, 2})
        for (BOOL bPressed : {FALSE, TRUE})
            for (int nChecked : {0, 1, 2})
                for (BOOL bEnabled : {FALSE, TRUE}) {
                    MemoryDC m1(32, 22, kBack), m2(32, 22, kBack);
                    office2003->DrawRectangle(m1.dc(), rc, nSelected, bPressed, bEnabled, nChecked, FALSE,
                                              qxpBarTypeNormal, qxpBarTop);
                    officeXP->DrawRectangle(m2.dc(), rc, nSelected, bPressed, bEnabled, nChecked, FALSE,
                                            qxpBarTypeNormal, qxpBarTop);
                    for (CPoint pt : {CPoint(2, 8), CPoint(10, 10), CPoint(29, 19)})
                        EXPECT_EQ(m2.Pixel(pt.x, pt.y), m1.Pixel(pt.x, pt.y))
                            << nSelected << bPressed << nChecked << bEnabled;
                }
}

bool Between(COLORREF c, COLORREF a, COLORREF b)
{
    auto in = [](int v, int x, int y) { return v >= (x < y ? x : y) && v <= (x > y ? x : y); };
    return in(GetRValue(c), GetRValue(a), GetRValue(b)) && in(GetGValue(c), GetGValue(a), GetGValue(b)) &&
           in(GetBValue(c), GetBValue(a), GetBValue(b));
}

TEST(ThemeSchemes, Office2003BlueSchemeDrawsGradientsWithSchemeBorders)
{
    FixedColors colors(qxColorThemeBlue);
    ThemeHolder theme(qxpThemeOffice2003);
    auto* b = static_cast<ToolkitPaintThemeB*>(theme.p);
    ASSERT_TRUE(b->m_bLunaColors);
    EXPECT_EQ((COLORREF)0x00C2EEFF, theme->GetColor(qxColorHotFace));
    EXPECT_EQ((COLORREF)0x00800000, theme->GetColor(qxColorHotBorder));
    EXPECT_EQ((COLORREF)0x00800000, theme->GetColor(qxColorCheckedBorder));
    EXPECT_EQ((COLORREF)0x00F9DBC4, theme->GetColor(qxColorBarFace));
    EXPECT_EQ((COLORREF)0, theme->GetColor(qxColorPressedText));
    EXPECT_EQ((COLORREF)0x008D8D8D, theme->GetColor(qxColorDisabledBorder));
    EXPECT_EQ((COLORREF)0x008D8D8D, theme->GetColor(qxColorDisabledText));
    EXPECT_EQ((COLORREF)0x00C9662A, theme->GetColor(qxColorFloatingFrame));
    EXPECT_EQ((COLORREF)0x00FEECDD, b->m_grcToolBar.GetStart());
    EXPECT_EQ((COLORREF)0x00E2A981, b->m_grcToolBar.GetEnd());
    EXPECT_FLOAT_EQ(0.75f, b->m_grcToolBar.GetFactor());

    struct Row {
        const char* name;
        int nSelected;
        BOOL bPressed;
        int nChecked;
        GradientColorValue* pGrad;
        COLORREF border;
    };
    const Row rows[] = {
        {"hot", 1, FALSE, 0, &b->m_grcHot, 0x00800000},
        {"hot and pressed", 1, TRUE, 0, &b->m_grcPressed, 0x00800000},
        {"checked", 0, FALSE, 1, &b->m_grcChecked, 0x00800000},
        {"checked and hot", 1, FALSE, 1, &b->m_grcPressed, 0x00800000},
    };
    for (const Row& r : rows) {
        MemoryDC mem(44, 30, kBack);
        theme->DrawRectangle(mem.dc(), CRect(4, 4, 40, 26), r.nSelected, r.bPressed, TRUE, r.nChecked, FALSE,
                             qxpBarTypeNormal, qxpBarTop);
        EXPECT_EQ(r.border, mem.Pixel(4, 10)) << r.name;
        EXPECT_TRUE(Between(mem.Pixel(20, 15), r.pGrad->GetStart(), r.pGrad->GetEnd())) << r.name;
        EXPECT_NE(mem.Pixel(20, 6), mem.Pixel(20, 23)) << r.name << ": runs top to bottom";
    }
    // The indeterminate face is a flat rectangle, the popped face a gradient
    // in a colour-43 frame.
    MemoryDC mem(44, 30, kBack);
    theme->DrawRectangle(mem.dc(), CRect(4, 4, 40, 26), 0, FALSE, TRUE, 2, FALSE, qxpBarTypeNormal, qxpBarTop);
    EXPECT_EQ(theme->GetColor(qxColorCheckedBorder), mem.Pixel(4, 10));
    EXPECT_EQ(theme->GetColor(qxColorButtonFace), mem.Pixel(20, 15));
    MemoryDC popped(44, 30, kBack);
    theme->DrawRectangle(popped.dc(), CRect(4, 4, 40, 26), 1, FALSE, TRUE, 0, TRUE, qxpBarTypeNormal, qxpBarTop);
    EXPECT_EQ(theme->GetColor(qxColorMenuBorder), popped.Pixel(4, 10));
    EXPECT_TRUE(Between(popped.Pixel(20, 15), b->m_grcPopped.GetStart(), b->m_grcPopped.GetEnd()));
    // Vertical bars run the gradient across the bar, left to right.
    MemoryDC vert(44, 30, kBack);
    theme->DrawRectangle(vert.dc(), CRect(4, 4, 40, 26), 1, FALSE, TRUE, 0, FALSE, qxpBarTypeNormal, qxpBarLeft);
    EXPECT_NE(vert.Pixel(6, 15), vert.Pixel(37, 15));
    EXPECT_EQ(vert.Pixel(20, 6), vert.Pixel(20, 23));
}

TEST(ThemeSchemes, SchemesPerColourThemeForOffice2003AndWhidbey)
{
    struct Row {
        int nColorTheme;
        int nTheme;
        COLORREF toolbarStart, toolbarEnd;
        float factor;
        BOOL bLuna;
    };
    const Row rows[] = {
        {qxColorThemeBlue, qxpThemeOffice2003, 0x00FEECDD, 0x00E2A981, 0.75f, TRUE},
        {qxColorThemeRoyale, qxpThemeOffice2003, 0x00FEECDD, 0x00E2A981, 0.75f, TRUE},
        {qxColorThemeOlive, qxpThemeOffice2003, 0x00DEF7F4, 0x0091C6B7, 0.3f, TRUE},
        {qxColorThemeSilver, qxpThemeOffice2003, 0x00FFF9F9, 0x00B79B9C, 0.75f, TRUE},
        {qxColorThemeBlue, qxpThemeWhidbey, 0x00F5F9FA, 0x00A8C0C0, 0.75f, FALSE},
        {qxColorThemeOlive, qxpThemeWhidbey, 0x00F5F9FA, 0x00A8C0C0, 0.75f, FALSE},
        {qxColorThemeSilver, qxpThemeWhidbey, 0x00FAF4F3, 0x00B59799, 0.75f, FALSE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.nColorTheme * 10 + r.nTheme);
        FixedColors colors(r.nColorTheme);
        ThemeHolder theme(r.nTheme);
        auto* b = static_cast<ToolkitPaintThemeB*>(theme.p);
        EXPECT_EQ(r.toolbarStart, b->m_grcToolBar.GetStart());
        EXPECT_EQ(r.toolbarEnd, b->m_grcToolBar.GetEnd());
        EXPECT_FLOAT_EQ(r.factor, b->m_grcToolBar.GetFactor());
        EXPECT_EQ(r.bLuna, b->m_bLunaColors);
    }
    // The stored factors keep their exact bits.
    FixedColors olive(qxColorThemeOlive);
    ThemeHolder theme(qxpThemeOffice2003);
    float f = static_cast<ToolkitPaintThemeB*>(theme.p)->m_grcToolBar.GetFactor();
    DWORD bits;
    memcpy(&bits, &f, sizeof(bits));
    EXPECT_EQ(0x3E99999Au, bits);

    // Whidbey on silver takes its own list, olive its own colours.
    FixedColors silver(qxColorThemeSilver);
    ThemeHolder whidbey(qxpThemeWhidbey);
    EXPECT_EQ((COLORREF)0x008D8D8D, whidbey->GetColor(qxColorBarDisabledText));
    EXPECT_EQ((COLORREF)0x006F4B4B, whidbey->GetColor(qxColorHotBorder));
    EXPECT_EQ((COLORREF)0x00E4DADB, whidbey->GetColor(qxColorBarFace));
    EXPECT_EQ((COLORREF)0x0099797A, whidbey->GetColor(qxColorFloatingFrame));
}

TEST(ThemeSchemes, ClassicAndLowColourDesktops)
{
    {
        FixedColors classic(qxColorThemeClassic);
        ThemeHolder theme(qxpThemeOffice2003);
        auto* b = static_cast<ToolkitPaintThemeB*>(theme.p);
        auto C = [&](int n) { return theme->GetColor(n); };
        EXPECT_FALSE(b->m_bLunaColors);
        EXPECT_EQ(MixColors(C(15), C(5), 205), b->m_grcToolBar.GetStart());
        EXPECT_EQ(C(15), b->m_grcToolBar.GetEnd());
        EXPECT_EQ(C(15), b->m_grcDockBar.GetStart());
        EXPECT_EQ(MixColors(C(5), C(15), 205), b->m_grcDockBar.GetEnd());
        EXPECT_EQ(MixColors(C(15), C(5), 70), b->m_clrStatusPaneBorder.GetColor());
        EXPECT_EQ(ToolkitColorManager::Instance()->GetColor(COLOR_MENUTEXT), C(55));
        EXPECT_EQ(C(30), b->m_clrToolbarBottomLine.GetColor());

        ThemeHolder whidbey(qxpThemeWhidbey);
        auto* c = static_cast<ToolkitPaintThemeB*>(whidbey.p);
        EXPECT_EQ(MixColors(whidbey->GetColor(COLOR_WINDOW), whidbey->GetColor(COLOR_BTNFACE), 550), c->m_grcExpandButton.GetStart());
        EXPECT_EQ(whidbey->GetColor(COLOR_BTNSHADOW), c->m_grcExpandButton.GetEnd());
        EXPECT_TRUE(c->m_bSingleLineSeparators);
    }
    {
        FixedColors low(qxColorThemeClassic, TRUE);
        ThemeHolder theme(qxpThemeOffice2003);
        auto* b = static_cast<ToolkitPaintThemeB*>(theme.p);
        COLORREF face = theme->GetColor(COLOR_BTNFACE);
        for (GradientColorValue* g : {&b->m_grcToolBar, &b->m_grcDockBar, &b->m_grcPopped, &b->m_grcExpandButton}) {
            EXPECT_EQ(face, g->GetStart());
            EXPECT_EQ(face, g->GetEnd());
        }
        // A plain toolbar on such a display.
        TestBar bar;
        MemoryDC mem(300, 26, kBack);
        theme->FillCommandBar(mem.dc(), &bar);
        EXPECT_EQ(face, mem.Pixel(150, 5));
        EXPECT_EQ(face, mem.Pixel(150, 20));
    }
}

TEST_F(ThemeTest, Office2003ToolbarGradientEndsBelowTheLastVisibleControl)
{
    ThemeHolder theme(qxpThemeOffice2003);
    auto* b = static_cast<ToolkitPaintThemeB*>(theme.p);
    COLORREF end = b->m_grcToolBar.GetEnd();
    TestBar bar;
    bar.rcClient = CRect(0, 0, 200, 30);
    TestControl hidden(&bar), shown(&bar);
    hidden.rc = CRect(10, 2, 30, 28);
    hidden.bVisible = FALSE;
    shown.rc = CRect(40, 2, 60, 10);
    bar.controls = {&shown, &hidden};
    b->m_clrToolbarBottomLine.Set(RGB(255, 0, 255));
    {
        MemoryDC mem(200, 30, kBack);
        theme->FillCommandBar(mem.dc(), &bar);
        EXPECT_EQ(end, mem.Pixel(100, 14)) << "flat end colour below the control";
        EXPECT_EQ(end, mem.Pixel(100, 25));
        EXPECT_NE(end, mem.Pixel(100, 3)) << "gradient above";
        EXPECT_EQ(b->m_clrToolbarBottomLine.GetColor(), mem.Pixel(100, 28)) << "bottom line";
        EXPECT_NE(b->m_clrToolbarBottomLine.GetColor(), mem.Pixel(3, 28)) << "the line starts at x 5";
        EXPECT_NE(mem.Pixel(100, 3), mem.Pixel(1, 3)) << "three left columns show the dock gradient";
        EXPECT_NE(mem.Pixel(4, 2), mem.Pixel(3, 1)) << "the face's corner pixel is left out";
    }
    bar.controls.clear();
    {
        MemoryDC mem(200, 30, kBack);
        theme->FillCommandBar(mem.dc(), &bar);
        EXPECT_NE(end, mem.Pixel(100, 14)) << "without controls the gradient runs to the bottom";
        EXPECT_TRUE(Between(mem.Pixel(100, 14), b->m_grcToolBar.GetStart(), end));
    }
}

TEST_F(ThemeTest, Windows2000StateFrames)
{
    ThemeHolder theme(qxpThemeWindows2000);
    const CRect rc(4, 4, 40, 26);
    struct Row {
        const char* name;
        int nSelected;
        BOOL bPressed, bEnabled;
        int nChecked;
        BOOL bPopped;
        int nBarType;
        int nTopLeft, nBottomRight, nCentre; // None: untouched
    };
    const int T = qxpBarTypeNormal, P = qxpBarTypePopup;
    const Row rows[] = {
        {"normal", 0, FALSE, TRUE, 0, FALSE, T, None, None, None},
        {"hot: raised", 1, FALSE, TRUE, 0, FALSE, T, 20, 16, None},
        {"pressed alone: raised", 0, TRUE, TRUE, 0, FALSE, T, 20, 16, None},
        {"hot and pressed: sunken", 1, TRUE, TRUE, 0, FALSE, T, 16, 20, None},
        {"keyboard press: sunken", 0, 3, TRUE, 0, FALSE, T, 16, 20, None},
        {"popped: sunken", 0, FALSE, TRUE, 0, TRUE, T, 16, 20, None},
        {"checked, hot: sunken only", 1, FALSE, TRUE, 1, FALSE, T, 16, 20, None},
        {"disabled", 0, FALSE, FALSE, 0, FALSE, T, None, None, None},
        {"disabled checked: sunken", 0, FALSE, FALSE, 1, FALSE, T, 16, 20, None},
        {"disabled keyboard: sunken", 2, FALSE, FALSE, 0, FALSE, T, 16, 20, None},
        {"menu item hot", 1, FALSE, TRUE, 0, FALSE, P, 13, 13, 13},
        {"menu item", 0, FALSE, TRUE, 0, FALSE, P, None, None, None},
    };
    for (const Row& r : rows) {
        MemoryDC mem(44, 30, kBack);
        theme->DrawRectangle(mem.dc(), rc, r.nSelected, r.bPressed, r.bEnabled, r.nChecked, r.bPopped, r.nBarType,
                             qxpBarTop);
        auto expect = [&](int n) { return n == None ? kBack : theme->GetColor(n); };
        EXPECT_EQ(expect(r.nTopLeft), mem.Pixel(rc.left, rc.top + 5)) << r.name;
        EXPECT_EQ(expect(r.nBottomRight), mem.Pixel(rc.right - 1, rc.top + 5)) << r.name;
        EXPECT_EQ(expect(r.nCentre), mem.Pixel(rc.CenterPoint().x, rc.CenterPoint().y)) << r.name;
    }
    // Checked and idle: a checker of colours 15 and 20 inside a sunken frame.
    MemoryDC mem(44, 30, kBack);
    theme->DrawRectangle(mem.dc(), rc, 0, FALSE, TRUE, 1, FALSE, T, qxpBarTop);
    EXPECT_EQ(theme->GetColor(COLOR_BTNSHADOW), mem.Pixel(rc.left, rc.top + 5));
    COLORREF a = mem.Pixel(10, 10), b = mem.Pixel(11, 10);
    EXPECT_NE(a, b);
    EXPECT_TRUE((a == theme->GetColor(COLOR_BTNFACE) && b == theme->GetColor(COLOR_BTNHIGHLIGHT)) ||
                (a == theme->GetColor(COLOR_BTNHIGHLIGHT) && b == theme->GetColor(COLOR_BTNFACE)));
    EXPECT_EQ(a, mem.Pixel(11, 11)) << "alternating rows";
}

TEST_F(ThemeTest, RectangleTextColoursPerTheme)
{
    ThemeHolder officeXP(qxpThemeOfficeXP), office2003(qxpThemeOffice2003), win2000(qxpThemeWindows2000),
        winXP(qxpThemeWindowsXP);
    const int T = qxpBarTypeNormal, P = qxpBarTypePopup;
    struct Row {
        const char* name;
        int nSelected;
        BOOL bPressed, bEnabled;
        int nChecked;
        BOOL bPopped;
        int nBarType, nPosition;
        int nOffice, nWin2000, nWinXP;
    };
    const Row rows[] = {
        {"menu item", 0, FALSE, TRUE, 0, FALSE, P, qxpBarPopup, 44, 18, 7},
        {"menu item hot", 1, FALSE, TRUE, 0, FALSE, P, qxpBarPopup, 45, 14, 14},
        {"menu item disabled", 1, FALSE, FALSE, 0, FALSE, P, qxpBarPopup, 35, 17, 17},
        {"button", 0, FALSE, TRUE, 0, FALSE, T, qxpBarTop, 46, 18, 18},
        {"button in a list", 0, FALSE, TRUE, 0, FALSE, T, qxpBarPopup, 44, 18, 7},
        {"disabled", 0, FALSE, FALSE, 0, FALSE, T, qxpBarTop, 60, 17, 17},
        {"popped", 1, FALSE, TRUE, 0, TRUE, T, qxpBarTop, 46, 18, 18},
        {"checked", 0, FALSE, TRUE, 1, FALSE, T, qxpBarTop, 45, 18, 18},
        {"keyboard press", 0, 2, TRUE, 0, FALSE, T, qxpBarTop, 47, 18, 18},
        {"hot and pressed", 1, TRUE, TRUE, 0, FALSE, T, qxpBarTop, 47, 18, 18},
        {"hot and checked", 1, FALSE, TRUE, 1, FALSE, T, qxpBarTop, 47, 18, 18},
        {"hot", 1, FALSE, TRUE, 0, FALSE, T, qxpBarTop, 45, 18, 18},
        {"pressed alone", 0, TRUE, TRUE, 0, FALSE, T, qxpBarTop, 45, 18, 18},
    };
    for (const Row& r : rows) {
        auto ask = [&](CQXPThemePainter* p) {
            return p->GetRectangleTextColor(r.nSelected, r.bPressed, r.bEnabled, r.nChecked, r.bPopped, r.nBarType,
                                            r.nPosition);
        };
        EXPECT_EQ(officeXP->GetColor(r.nOffice), ask(officeXP.p)) << r.name;
        EXPECT_EQ(office2003->GetColor(r.nOffice), ask(office2003.p)) << r.name;
        EXPECT_EQ(win2000->GetColor(r.nWin2000), ask(win2000.p)) << r.name;
        EXPECT_EQ(winXP->GetColor(r.nWinXP), ask(winXP.p)) << r.name;
    }
}

// Draws the same thing with two themes and compares every pixel.
template <class F>
int DifferingPixels(CQXPThemePainter* a, CQXPThemePainter* b, int cx, int cy, F draw)
{
    MemoryDC ma(cx, cy, kBack), mb(cx, cy, kBack);
    draw(a, ma.dc());
    draw(b, mb.dc());
    int n = 0;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            if (ma.Pixel(x, y) != mb.Pixel(x, y))
                ++n;
    return n;
}

// Bars at the four positions: filled and with their grippers, pixel for
// pixel the same in both themes.
void ExpectBarsDrawnAlike(CQXPThemePainter* pA, CQXPThemePainter* pB)
{
    for (int nPosition : {qxpBarTop, qxpBarLeft, qxpBarFloating, qxpBarPopup}) {
        TestBar bar;
        bar.nPosition = nPosition;
        bar.nType = nPosition == qxpBarPopup ? qxpBarTypePopup : qxpBarTypeNormal;
        bar.rcClient = CRect(0, 0, 120, 60);
        EXPECT_EQ(0, DifferingPixels(pA, pB, 120, 60, [&](CQXPThemePainter* p, CDC* pDC) {
                      p->FillCommandBar(pDC, &bar);
                      p->DrawCommandBarGripper(pDC, &bar, TRUE);
                  }))
            << nPosition;
    }
}

TEST_F(ThemeTest, WindowsXPWithoutVisualStylesDrawsLikeWindows2000)
{
    NoVisualStyles off;
    ThemeHolder win2000(qxpThemeWindows2000), winXP(qxpThemeWindowsXP);
    auto* e = static_cast<ToolkitPaintThemeE*>(winXP.p);
    ASSERT_FALSE(e->IsThemed());
    EXPECT_EQ(7, e->m_nPopupTextColor);
    EXPECT_TRUE(e->m_iconsInfo.bUseFadedIcons);
    EXPECT_FALSE(win2000->m_iconsInfo.bUseFadedIcons);
    if (!e->m_bFlatMenus) {
        EXPECT_EQ(winXP->GetColor(COLOR_HIGHLIGHT), winXP->GetColor(COLOR_MENUHILIGHT)) << "classic menus: colour 29 follows colour 13";
    }

    ExpectBarsDrawnAlike(win2000.p, winXP.p);
    for (int nSelected : {0, 1})
        for (BOOL bPressed : {FALSE, TRUE})
            for (int nChecked : {0, 1})
                for (BOOL bEnabled : {FALSE, TRUE})
                    EXPECT_EQ(0, DifferingPixels(win2000.p, winXP.p, 40, 30, [&](CQXPThemePainter* p, CDC* pDC) {
                                  p->DrawRectangle(pDC, CRect(2, 2, 38, 28), nSelected, bPressed, bEnabled, nChecked,
                                                   FALSE, qxpBarTypeNormal, qxpBarTop);
                              }));
    // Floating caption buttons and separators too.
    TestBar floating;
    floating.nPosition = qxpBarFloating;
    TestControl close(&floating);
    close.rc = CRect(2, 2, 18, 18);
    close.nSelected = 1;
    EXPECT_EQ(0, DifferingPixels(win2000.p, winXP.p, 20, 20, [&](CQXPThemePainter* p, CDC* pDC) {
                  p->DrawExpandButton(pDC, qxpExpandFloatClose, &close, &floating, TRUE, 0, 0);
              }));
}

TEST_F(ThemeTest, WindowsXPOnAVisualStyleLibraryThatFaultsDrawsLikeWindows2000)
{
    // An active style whose library faults when asked whether the
    // application is themed: every bar is drawn the classic way, and the
    // faults stay inside the wrapper.
    qxtest::FakeUx fake;
    ASSERT_TRUE(fake.Loaded());
    fake.Set(L"luna.msstyles", L"NormalColor", true);
    qxtest::FakeUxInUse inUse(fake);
    {
        ThemeHolder healthy(qxpThemeWindowsXP);
        ASSERT_TRUE(static_cast<ToolkitPaintThemeE*>(healthy.p)->IsThemed()) << "the stand-in style is in use";
    }
    const LONG nFaults = fake.Fault("IsAppThemed");
    ThemeHolder win2000(qxpThemeWindows2000), winXP(qxpThemeWindowsXP);
    EXPECT_FALSE(static_cast<ToolkitPaintThemeE*>(winXP.p)->IsThemed());
    fake.ResetDraws();
    ExpectBarsDrawnAlike(win2000.p, winXP.p);
    EXPECT_TRUE(fake.Draws().empty()) << "nothing drawn through the style";
    EXPECT_GT(fake.Fault(NULL), nFaults) << "the library was asked, and faulted";
}

TEST_F(ThemeTest, WindowsXPWithVisualStylesDrawsThroughTheStyle)
{
    ThemeHolder win2000(qxpThemeWindows2000), winXP(qxpThemeWindowsXP);
    auto* e = static_cast<ToolkitPaintThemeE*>(winXP.p);
    if (!e->IsThemed())
        GTEST_SKIP() << "platform limit: no visual style on this desktop";
    // A hot toolbar button is the style's button part, not the classic
    // raised frame.
    EXPECT_GT(DifferingPixels(win2000.p, winXP.p, 40, 30, [&](CQXPThemePainter* p, CDC* pDC) {
                  p->DrawRectangle(pDC, CRect(2, 2, 38, 28), 1, FALSE, TRUE, 0, FALSE, qxpBarTypeNormal, qxpBarTop);
              }),
              0);
    // Menu items: a colour-13 face in a colour-29 frame.
    MemoryDC mem(40, 30, kBack);
    winXP->DrawRectangle(mem.dc(), CRect(2, 2, 38, 28), 1, FALSE, TRUE, 0, FALSE, qxpBarTypePopup, qxpBarPopup);
    EXPECT_EQ(winXP->GetColor(COLOR_MENUHILIGHT), mem.Pixel(2, 10));
    EXPECT_EQ(winXP->GetColor(COLOR_HIGHLIGHT), mem.Pixel(20, 15));
    // A disabled idle button draws nothing.
    MemoryDC idle(40, 30, kBack);
    winXP->DrawRectangle(idle.dc(), CRect(2, 2, 38, 28), 0, FALSE, FALSE, 0, FALSE, qxpBarTypeNormal, qxpBarTop);
    EXPECT_EQ(40 * 30, idle.Count(CRect(0, 0, 40, 30), kBack));
    // Floating bars get a caption at least 18 pixels tall (the text height
    // plus 3), reported as the text height but at least 15.
    TestBar floating;
    floating.nPosition = qxpBarFloating;
    floating.rcClient = CRect(0, 0, 150, 60);
    EXPECT_EQ(CSize(150, max(winXP->GetTextHeight(), 15)), winXP->DrawCommandBarGripper(NULL, &floating, FALSE));
}

// The style's size grip sits in the bottom-right corner box of a status bar,
// however wide the bar (the style centres the part in what it is given).
TEST_F(ThemeTest, StyledStatusGripperStaysInTheCorner)
{
    ThemeHolder winXP(qxpThemeWindowsXP);
    auto* e = static_cast<ToolkitPaintThemeE*>(winXP.p);
    if (!e->IsThemed())
        GTEST_SKIP() << "platform limit: no visual style on this desktop";
    const int cx = 400, cy = 22;
    MemoryDC mem(cx, cy, kBack);
    winXP->DrawStatusGripper(mem.dc(), CRect(0, 0, cx, cy));
    int cxCorner = ::GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ((cx - cxCorner) * cy, mem.Count(CRect(0, 0, cx - cxCorner, cy), kBack))
        << "nothing drawn outside the corner box";
    EXPECT_LT(mem.Count(CRect(cx - cxCorner, 0, cx, cy), kBack), cxCorner * cy) << "the grip is drawn";
}

TEST_F(ThemeTest, BarBackgroundsOfTheClassicAndOfficeXPThemes)
{
    ThemeHolder win2000(qxpThemeWindows2000), officeXP(qxpThemeOfficeXP);
    TestBar bar;
    bar.rcClient = CRect(0, 0, 100, 30);
    auto fill = [&](CQXPThemePainter* p, MemoryDC& mem) { p->FillCommandBar(mem.dc(), &bar); };
    {
        MemoryDC mem(100, 30, kBack);
        fill(win2000.p, mem);
        EXPECT_EQ(win2000->GetColor(COLOR_BTNSHADOW), mem.Pixel(0, 10));
        EXPECT_EQ(win2000->GetColor(COLOR_BTNHIGHLIGHT), mem.Pixel(99, 10));
        EXPECT_EQ(win2000->GetColor(COLOR_BTNFACE), mem.Pixel(50, 15));
        MemoryDC mo(100, 30, kBack);
        fill(officeXP.p, mo);
        EXPECT_EQ(officeXP->GetColor(COLOR_BTNFACE), mo.Pixel(0, 10));
        EXPECT_EQ(officeXP->GetColor(COLOR_BTNFACE), mo.Pixel(1, 1)) << "rounded corner";
        EXPECT_EQ(officeXP->GetColor(qxColorBarFace), mo.Pixel(2, 1));
        EXPECT_EQ(officeXP->GetColor(qxColorBarFace), mo.Pixel(50, 15));
    }
    bar.nPosition = qxpBarFloating;
    {
        MemoryDC mem(100, 30, kBack);
        fill(win2000.p, mem);
        EXPECT_EQ(win2000->GetColor(COLOR_3DDKSHADOW), mem.Pixel(0, 10));
        EXPECT_EQ(win2000->GetColor(COLOR_BTNFACE), mem.Pixel(99, 10));
        EXPECT_EQ(win2000->GetColor(COLOR_BTNSHADOW), mem.Pixel(1, 10));
        EXPECT_EQ(win2000->GetColor(COLOR_BTNHIGHLIGHT), mem.Pixel(98, 10));
        MemoryDC mo(100, 30, kBack);
        fill(officeXP.p, mo);
        EXPECT_EQ(officeXP->GetColor(qxColorFloatingFrame), mo.Pixel(0, 10));
        EXPECT_EQ(officeXP->GetColor(qxColorFloatingFrame), mo.Pixel(1, 10));
        EXPECT_EQ(officeXP->GetColor(qxColorFloatingFrame), mo.Pixel(2, 2));
        EXPECT_EQ(officeXP->GetColor(qxColorFloatingFrame), mo.Pixel(97, 27));
        EXPECT_EQ(officeXP->GetColor(qxColorBarFace), mo.Pixel(50, 15));
    }
    // A menu bar is flat in Office XP: button face only.
    bar.nPosition = qxpBarTop;
    bar.nType = qxpBarTypeMenuBar;
    {
        MemoryDC mo(100, 30, kBack);
        fill(officeXP.p, mo);
        EXPECT_EQ(officeXP->GetColor(COLOR_BTNFACE), mo.Pixel(0, 10));
        EXPECT_EQ(officeXP->GetColor(COLOR_BTNFACE), mo.Pixel(50, 15));
    }
    // A popup list paints the overlap with the control that opened it.
    TestBar popup;
    popup.nType = qxpBarTypePopup;
    popup.nPosition = qxpBarPopup;
    popup.rcClient = CRect(0, 0, 100, 60);
    popup.rcWindow = CRect(200, 122, 300, 182);
    popup.bHasOpener = TRUE;
    popup.rcOpener = CRect(200, 100, 240, 123);
    MemoryDC mp(100, 60, kBack);
    officeXP->FillCommandBar(mp.dc(), &popup);
    EXPECT_EQ(officeXP->GetColor(qxColorMenuBorder), mp.Pixel(60, 0));
    EXPECT_EQ(officeXP->GetColor(qxColorBarFace), mp.Pixel(10, 0)) << "the overlap with the opener";
    EXPECT_EQ(officeXP->GetColor(qxColorMenuBorder), mp.Pixel(0, 30));
    EXPECT_EQ(officeXP->GetColor(qxColorMenuFace), mp.Pixel(50, 30));
}

TEST_F(ThemeTest, NarrowTearOffStripsDrawNoLines)
{
    for (int nTheme : {qxpThemeOfficeXP, qxpThemeOffice2003}) {
        ThemeHolder theme(nTheme);
        for (int cx : {18, 20, 60}) {
            MemoryDC mem(cx, 9, kBack);
            CSize sz = theme->DrawTearOffGripper(mem.dc(), CRect(0, 0, cx, 9), FALSE, TRUE);
            EXPECT_EQ(CSize(0, 9), sz);
            int nLines = mem.Count(CRect(0, 0, cx, 9), theme->GetColor(qxColorGripper));
            if (cx <= 20) {
                EXPECT_EQ(0, nLines) << nTheme << " " << cx;
            } else {
                EXPECT_GT(nLines, 0) << nTheme << " " << cx;
            }
        }
    }
    ThemeHolder win2000(qxpThemeWindows2000);
    MemoryDC mem(60, 8, kBack);
    EXPECT_EQ(CSize(0, 8), win2000->DrawTearOffGripper(mem.dc(), CRect(0, 0, 60, 8), TRUE, TRUE));
    EXPECT_EQ(win2000->GetColor(COLOR_ACTIVECAPTION), mem.Pixel(30, 4));
}

TEST_F(ThemeTest, GripperSeparatorBorderAndExcludeMetrics)
{
    ThemeHolder a(qxpThemeOfficeXP), b(qxpThemeOffice2003), d(qxpThemeWindows2000);
    TestBar top, left, popup, floating;
    left.nPosition = qxpBarLeft;
    popup.nType = qxpBarTypePopup;
    popup.nPosition = qxpBarPopup;
    floating.nPosition = qxpBarFloating;

    EXPECT_EQ(CSize(6, 0), a->DrawCommandBarGripper(NULL, &top, FALSE));
    EXPECT_EQ(CSize(0, 8), a->DrawCommandBarGripper(NULL, &left, FALSE));
    EXPECT_EQ(CSize(9, 0), b->DrawCommandBarGripper(NULL, &top, FALSE));
    EXPECT_EQ(CSize(0, 9), b->DrawCommandBarGripper(NULL, &left, FALSE));
    MemoryDC mem(300, 30, kBack);
    EXPECT_EQ(CSize(0, 0), b->DrawCommandBarGripper(mem.dc(), &top, TRUE));
    EXPECT_EQ(b->GetColor(qxColorGripper), mem.Pixel(6, 5)) << "the first dot pair";
    EXPECT_EQ(b->GetColor(COLOR_WINDOW), mem.Pixel(8, 7));
    EXPECT_EQ(CSize(6, 0), d->DrawCommandBarGripper(NULL, &top, FALSE));
    EXPECT_EQ(CSize(0, 8), d->DrawCommandBarGripper(NULL, &left, FALSE));

    TestControl c(&top);
    EXPECT_EQ(CSize(6, 6), a->DrawCommandBarSeparator(NULL, &top, &c, FALSE));
    EXPECT_EQ(CSize(3, 3), a->DrawCommandBarSeparator(NULL, &popup, &c, FALSE));
    EXPECT_EQ(CSize(6, 0), b->DrawCommandBarSeparator(NULL, &floating, &c, FALSE));
    EXPECT_EQ(CSize(8, 8), d->DrawCommandBarSeparator(NULL, &popup, &c, FALSE));
    EXPECT_EQ(CSize(6, 6), d->DrawCommandBarSeparator(NULL, &top, &c, FALSE));

    EXPECT_EQ(CRect(4, 2, 2, 2), b->GetCommandBarBorders(&top));
    EXPECT_EQ(CRect(2, 2, 2, 2), b->GetCommandBarBorders(&left));
    EXPECT_EQ(CRect(2, 2, 2, 2), a->GetCommandBarBorders(&top));
    EXPECT_EQ(CRect(3, 3, 3, 3), d->GetCommandBarBorders(&popup));
    EXPECT_EQ(CRect(2, 2, 2, 2), d->GetCommandBarBorders(&top));

    struct Row {
        CQXPThemePainter* p;
        TestBar* pBar;
        BOOL bVertical;
        CRect expected;
    };
    TestBar tearOff;
    tearOff.nType = qxpBarTypePopup;
    tearOff.nPosition = qxpBarFloating;
    const Row rows[] = {
        {a.p, &popup, FALSE, CRect(10, 10, 50, 30)},
        {a.p, &tearOff, FALSE, CRect(9, 10, 51, 30)},
        {a.p, &top, FALSE, CRect(10, 11, 50, 29)},
        {a.p, &left, TRUE, CRect(11, 10, 49, 30)},
        {d.p, &popup, FALSE, CRect(11, 10, 49, 30)},
        {d.p, &top, FALSE, CRect(10, 9, 50, 31)},
        {d.p, &left, TRUE, CRect(9, 10, 51, 30)},
    };
    for (const Row& r : rows) {
        TestControl ctl(r.pBar);
        CRect rc(10, 10, 50, 30);
        r.p->AdjustExcludeRect(rc, &ctl, r.bVertical);
        EXPECT_EQ(r.expected, rc) << r.p->GetCurrentTheme() << " " << r.pBar->nPosition;
    }

    int th = a->GetTextHeight();
    EXPECT_EQ(CSize(6, max(th + 4, 22)), a->DrawDialogBarGripper(NULL, &top, FALSE));
    EXPECT_EQ(CSize(8, max(th + 6, 25)), b->DrawDialogBarGripper(NULL, &top, FALSE));
    EXPECT_EQ(CSize(6, th + 4 < 18 ? 22 : th + 4), d->DrawDialogBarGripper(NULL, &top, FALSE));
}

TEST_F(ThemeTest, OfficeMarksForCheckBoxesAndRadioButtons)
{
    ThemeHolder theme(qxpThemeOfficeXP);
    {
        MemoryDC mem(20, 20, kBack);
        EXPECT_EQ(CSize(13, 13), theme->DrawCheckBoxMark(mem.dc(), CRect(2, 2, 15, 15), TRUE, 0, FALSE, 1, TRUE));
        EXPECT_EQ(theme->GetColor(qxColorControlBorder), mem.Pixel(2, 2));
        EXPECT_EQ(theme->GetColor(qxColorControlBorder), mem.Pixel(14, 14));
        EXPECT_EQ(theme->GetColor(COLOR_BTNTEXT), mem.Pixel(2 + 5, 2 + 7)) << "the tick";
        EXPECT_EQ(theme->GetColor(COLOR_WINDOW), mem.Pixel(2 + 2, 2 + 10));
    }
    {
        MemoryDC mem(20, 20, kBack);
        theme->DrawCheckBoxMark(mem.dc(), CRect(2, 2, 15, 15), TRUE, 1, TRUE, 2, TRUE);
        EXPECT_EQ(theme->GetColor(qxColorHotBorder), mem.Pixel(2, 2));
        EXPECT_EQ(theme->GetColor(qxColorPressedFace), mem.Pixel(4, 12));
        EXPECT_EQ(theme->GetColor(qxColorDisabledText), mem.Pixel(2 + 5, 2 + 7)) << "indeterminate ticks are grey";
    }
    {
        MemoryDC mem(20, 20, kBack);
        theme->DrawCheckBoxMark(mem.dc(), CRect(2, 2, 15, 15), TRUE, 0, FALSE, 0, FALSE);
        EXPECT_EQ(theme->GetColor(qxColorDisabledText), mem.Pixel(2, 2));
        EXPECT_EQ(kBack, mem.Pixel(8, 8)) << "disabled: only a frame";
    }
    {
        MemoryDC mem(20, 20, kBack);
        EXPECT_EQ(CSize(13, 13), theme->DrawRadioButtonMark(mem.dc(), CRect(2, 2, 15, 15), TRUE, 0, FALSE, 1, TRUE));
        EXPECT_EQ(theme->GetColor(COLOR_BTNTEXT), mem.Pixel(8, 8)) << "the dot";
        EXPECT_EQ(theme->GetColor(qxColorControlBorder), mem.Pixel(8, 2)) << "the ring";
        EXPECT_EQ(theme->GetColor(COLOR_WINDOW), mem.Pixel(8, 4));
        EXPECT_EQ(kBack, mem.Pixel(2, 2)) << "round: the corner stays";
    }
}

TEST_F(ThemeTest, Office2003StatusPaneBorderAndExpandGlyph)
{
    ThemeHolder theme(qxpThemeOffice2003);
    auto* b = static_cast<ToolkitPaintThemeB*>(theme.p);
    TestPane pane;
    MemoryDC mem(60, 20, kBack);
    theme->DrawStatusPaneBorder(mem.dc(), CRect(0, 0, 60, 20), &pane, FALSE);
    EXPECT_EQ(MixColors(theme->GetColor(COLOR_BTNFACE), theme->GetColor(COLOR_WINDOW), 70), mem.Pixel(0, 10));
    EXPECT_EQ(MixColors(theme->GetColor(COLOR_BTNFACE), theme->GetColor(COLOR_WINDOW), 70), mem.Pixel(59, 10));

    ASSERT_NE(nullptr, b->m_hExpandGlyph);
    EXPECT_EQ(1, ImageList_GetImageCount(b->m_hExpandGlyph));
    MemoryDC glyph(16, 16, kBack);
    ImageList_Draw(b->m_hExpandGlyph, 0, glyph.dc()->GetSafeHdc(), 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(kBack, glyph.Pixel(0, 0)) << "shade 255 is transparent";
    EXPECT_EQ(kBack, glyph.Pixel(2, 1)) << "a cut corner";
    EXPECT_TRUE(Between(glyph.Pixel(5, 8), b->m_grcExpandGlyph.GetStart(), b->m_grcExpandGlyph.GetEnd()));
    EXPECT_NE(glyph.Pixel(5, 2), glyph.Pixel(5, 13)) << "the shade grows downwards";
    EXPECT_EQ(255, ToolkitPaintThemeB::ExpandGlyphShade(0));
    EXPECT_EQ(255, ToolkitPaintThemeB::ExpandGlyphShade(256));
}

} // namespace
