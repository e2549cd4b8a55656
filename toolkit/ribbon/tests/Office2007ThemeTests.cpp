// Themes 5 and 6 without windows of their own: the factory, where every
// colour key of the theme text lands, the frame skin's glyphs, region and
// borders, the ribbon's metrics and tab colours, the state tables of the
// image-drawn controls, and which images the painters ask for (a recording
// image source), checked against the module this program carries.
#include "PaintTestSupport.h"

#include <qx/office2007.h>
#include <qx/ribbonbar.h>
#include <qx/tabpaint.h>
#include <qmtest/themetext.h>

#include <map>
#include <set>
#include <string>
#include <vector>

using namespace painttest;

namespace {

// A theme text of the given lines (CR LF), kept alive with its resources.
struct OwnText {
    explicit OwnText(const std::string& text) : bytes(qmtest::Utf16LE(text))
    {
        res.m_text.Set(bytes.data(), (DWORD)bytes.size());
    }
    std::vector<BYTE> bytes;
    ThemeResources res;
};

// The theme's image drawing, recorded (and still done).
template <class Base>
class Recording : public Base {
public:
    struct Call {
        std::string name;
        int nState, nStates;
        CRect rc, rcMargins;
        COLORREF clrKey;
    };
    std::vector<Call> calls;
    BOOL DrawThemeImage(CDC* pDC, LPCSTR lpszName, CRect rc, int nState, int nStates, CRect rcMargins,
                        COLORREF clrKey, int nGlassFlags) override
    {
        calls.push_back({lpszName, nState, nStates, rc, rcMargins, clrKey});
        return Base::DrawThemeImage(pDC, lpszName, rc, nState, nStates, rcMargins, clrKey, nGlassFlags);
    }
};

class Office2007 : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterOffice2007Themes(); }
    FixedColors m_colors{qxColorThemeBlue};
};

TEST_F(Office2007, TheFactoryMakesThemesFiveAndSix)
{
    for (int n : {qxpThemeOffice2007, qxpThemeRibbon}) {
        ThemeHolder t(n);
        EXPECT_EQ(n, t->GetCurrentTheme());
        EXPECT_TRUE(dynamic_cast<COffice2007Theme*>(t.p) != NULL);
    }
    ThemeHolder ribbon(qxpThemeRibbon);
    EXPECT_TRUE(dynamic_cast<CRibbonStyleTheme*>(ribbon.p) != NULL);
    EXPECT_EQ(qxpThemeOffice2003, ThemeHolder(qxpThemeOffice2003)->GetCurrentTheme());
}

// Every key of the colour table gets its own colour; each must come out
// where the table says.
TEST_F(Office2007, EachColourKeyLandsInItsSlot)
{
    int nKeys = 0;
    const QXPOffice2007ColorKey* keys = GetOffice2007ColorKeys(&nKeys);
    std::map<std::string, std::map<std::string, COLORREF>> given; // section -> key -> colour
    int i = 1;
    auto give = [&](const std::string& section, const std::string& key) {
        COLORREF& c = given[section][key];
        if (!c)
            c = RGB(i % 200 + 20, (i * 7) % 256, 99), ++i;
        return c;
    };
    for (int k = 0; k < nKeys; ++k) {
        if (keys[k].fFactor > 0) {
            give(keys[k].pszSection, std::string(keys[k].pszKey) + "Dark");
            give(keys[k].pszSection, std::string(keys[k].pszKey) + "Light");
        } else {
            give(keys[k].pszSection, keys[k].pszKey);
        }
    }
    std::string text = "; distinct colours\r\n";
    for (auto& s : given) {
        text += "[" + s.first + "]\r\n";
        for (auto& k : s.second) {
            char line[128];
            sprintf(line, "%s = %d %d %d\r\n", k.first.c_str(), GetRValue(k.second), GetGValue(k.second),
                    GetBValue(k.second));
            text += line;
        }
    }
    OwnText own(text);
    COffice2007Theme theme;
    theme.m_pResources = &own.res;
    theme.RefreshMetrics();
    for (int k = 0; k < nKeys; ++k) {
        const QXPOffice2007ColorKey& key = keys[k];
        SCOPED_TRACE(std::string(key.pszSection) + "/" + key.pszKey);
        if (key.fFactor > 0) {
            GradientColorValue* g = theme.FindGradientMember(key.pszMember);
            ASSERT_TRUE(g != NULL);
            EXPECT_EQ(given[key.pszSection][std::string(key.pszKey) + "Light"], g->GetStart());
            EXPECT_EQ(given[key.pszSection][std::string(key.pszKey) + "Dark"], g->GetEnd());
            EXPECT_FLOAT_EQ(key.fFactor, g->GetFactor());
            continue;
        }
        COLORREF want = given[key.pszSection][key.pszKey];
        if (key.nSlot >= 0)
            EXPECT_EQ(want, theme.GetColor(key.nSlot));
        else if (std::string(key.pszMember) == "StatusBarText")
            EXPECT_EQ(want, theme.m_clrStatusTextColor);
        else if (ColorValue* p = theme.FindColorMember(key.pszMember))
            EXPECT_EQ(want, p->GetColor());
        else if (GradientColorValue* g = theme.FindGradientMember(key.pszMember)) {
            EXPECT_EQ(want, g->GetStart());
            EXPECT_EQ(want, g->GetEnd());
        } else
            ADD_FAILURE() << "no member " << key.pszMember;
    }
    // The fixed slots.
    EXPECT_EQ(RGB(246, 246, 246), theme.GetColor(qxpSlotPopupFace));
    EXPECT_EQ(RGB(0, 0, 0), theme.GetColor(qxpSlotPopupText));
    EXPECT_EQ(RGB(0, 0, 0), theme.GetColor(qxpSlotHotText));
    EXPECT_EQ(RGB(0, 0, 0), theme.GetColor(qxpSlotBarText));
    EXPECT_EQ(RGB(141, 141, 141), theme.GetColor(qxpSlotDisabledText));
}

TEST_F(Office2007, MissingKeysLeaveTheBaseColours)
{
    OwnText own("[Window]\r\n");
    COffice2007Theme theme;
    theme.m_pResources = &own.res;
    theme.RefreshMetrics();
    ThemeHolder base(qxpThemeOffice2003);
    for (int slot : {31, 32, 33, 36, 37, 38, 39, 43})
        EXPECT_EQ(base->GetColor(slot), theme.GetColor(slot)) << slot;
}

TEST_F(Office2007, TheRibbonThemeTakesItsTextColoursFromTheRibbonSection)
{
    OwnText own("[Ribbon]\r\nMenuPopupText = 1 2 3\r\nControlHighlightText = 4 5 6\r\nGroupClientText = 7 8 9\r\n"
                "RibbonFace = 10 11 12\r\n[Toolbar]\r\nMenuPopupBorder = 200 0 0\r\n");
    CRibbonStyleTheme theme;
    theme.m_pResources = &own.res;
    theme.RefreshMetrics();
    EXPECT_EQ(RGB(1, 2, 3), theme.GetColor(qxpSlotPopupText));
    EXPECT_EQ(RGB(4, 5, 6), theme.GetColor(qxpSlotHotText));
    EXPECT_EQ(RGB(7, 8, 9), theme.GetColor(qxpSlotBarText));
    EXPECT_EQ(RGB(10, 11, 12), theme.m_clrRibbonFace.GetColor());
    EXPECT_EQ(RGB(134, 134, 134), theme.GetColor(qxpSlotPopupBorder));
    EXPECT_EQ(RGB(250, 250, 250), theme.GetColor(qxpSlotPopupFace));
    EXPECT_EQ(RGB(167, 167, 167), theme.GetColor(qxpSlotDisabledText));
    EXPECT_EQ(RGB(233, 238, 238), theme.m_grcToolBar.GetStart());
    EXPECT_EQ(RGB(233, 238, 238), theme.m_grcToolBar.GetEnd());
}

// ---------------------------------------------------------------------------
// Frame skin

TEST(FrameSkin, CaptionGlyphsFitTheirButtons)
{
    const struct {
        int cx, size;
    } sizes[] = {{10, 13}, {14, 13}, {15, 17}, {16, 17}, {26, 17}, {27, 23}, {40, 23}};
    for (const auto& s : sizes)
        EXPECT_EQ(s.size, COffice2007Theme::GetCaptionGlyphSize(s.cx)) << s.cx;
    EXPECT_STREQ("FRAMECAPTIONCLOSE17", COffice2007Theme::GetCaptionGlyphName(SC_CLOSE, 16));
    EXPECT_STREQ("FRAMECAPTIONMINIMIZE13", COffice2007Theme::GetCaptionGlyphName(SC_MINIMIZE, 14));
    EXPECT_STREQ("FRAMECAPTIONMAXIMIZE23", COffice2007Theme::GetCaptionGlyphName(SC_MAXIMIZE, 27));
    EXPECT_STREQ("FRAMECAPTIONRESTORE17", COffice2007Theme::GetCaptionGlyphName(SC_RESTORE, 20));
    EXPECT_STREQ("FRAMECAPTIONRESTORE17", COffice2007Theme::GetCaptionGlyphName(0x1234, 20));
    // States: inactive 3 whatever the pointer does.
    const struct {
        BOOL sel, pressed, active;
        int state;
    } states[] = {{0, 0, 1, 0}, {1, 0, 1, 1}, {0, 1, 1, 1}, {1, 1, 1, 2}, {1, 1, 0, 3}, {0, 0, 0, 3}};
    for (const auto& s : states)
        EXPECT_EQ(s.state, COffice2007Theme::GetCaptionGlyphState(s.sel, s.pressed, s.active));
}

TEST(FrameSkin, TheRegionRoundsTheCorners)
{
    COffice2007Theme theme;
    QXPFrameSkin frame;
    const int w = 100, h = 80;
    HRGN hRgn = theme.CalcFrameRegion(frame, w, h);
    ASSERT_TRUE(hRgn != NULL);
    const struct {
        int x, y;
        BOOL in;
    } square[] = {{3, 0, 0}, {4, 0, 1}, {95, 0, 1}, {96, 0, 0}, {1, 1, 0}, {2, 1, 1}, {97, 1, 1}, {98, 1, 0}, {0, 2, 0}, {1, 2, 1}, {0, 3, 0}, {99, 3, 0}, {98, 3, 1}, {0, 4, 1}, {99, 4, 1}, {0, 79, 1}, {99, 79, 1}};
    for (const auto& p : square)
        EXPECT_EQ(p.in, PtInRegion(hRgn, p.x, p.y)) << p.x << "," << p.y;
    DeleteObject(hRgn);

    frame.bRoundedBottom = TRUE;
    hRgn = theme.CalcFrameRegion(frame, w, h);
    const struct {
        int x, y;
        BOOL in;
    } rounded[] = {{0, 75, 1}, {0, 76, 0}, {1, 76, 1}, {0, 77, 0}, {1, 78, 0}, {2, 78, 1}, {3, 79, 0}, {4, 79, 1}, {95, 79, 1}, {96, 79, 0}, {99, 76, 0}, {98, 77, 1}};
    for (const auto& p : rounded)
        EXPECT_EQ(p.in, PtInRegion(hRgn, p.x, p.y)) << p.x << "," << p.y;
    DeleteObject(hRgn);

    frame.bMaximized = TRUE;
    EXPECT_TRUE(theme.CalcFrameRegion(frame, w, h) == NULL);
}

class FrameBorders : public Office2007 {
protected:
    void SetUp() override { theme.RefreshMetrics(); }
    COLORREF Active(int i) { return theme.m_clrBorderActive[i].GetColor(); }
    COLORREF Inactive(int i) { return theme.m_clrBorderInactive[i].GetColor(); }
    COffice2007Theme theme;
};

TEST_F(FrameBorders, ColumnsFromTheOuterEdgeInward)
{
    const COLORREF clrClient = RGB(1, 2, 3);
    MemoryDC dc(120, 90, clrClient);
    QXPFrameSkin frame;
    frame.szWindow = CSize(120, 90);
    frame.nBorder = 5;
    frame.nCaption = 26;
    theme.DrawFrame(dc.dc(), frame);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Active(i), dc.Pixel(i, 50)) << "left column " << i;
        EXPECT_EQ(Active(i), dc.Pixel(119 - i, 50)) << "right column " << i;
    }
    EXPECT_EQ(Active(3), dc.Pixel(4, 50));
    EXPECT_EQ(clrClient, dc.Pixel(5, 50));
    EXPECT_EQ(clrClient, dc.Pixel(114, 50));
    EXPECT_EQ(Active(0), dc.Pixel(60, 89)) << "the last row";
    EXPECT_EQ(Active(3), dc.Pixel(60, 86));
    EXPECT_EQ(clrClient, dc.Pixel(60, 84));

    // Two pixels: only the two outer columns, nothing past them.
    MemoryDC thin(120, 90, clrClient);
    frame.nBorder = 2;
    theme.DrawFrame(thin.dc(), frame);
    EXPECT_EQ(Active(0), thin.Pixel(0, 50));
    EXPECT_EQ(Active(1), thin.Pixel(1, 50));
    EXPECT_EQ(clrClient, thin.Pixel(2, 50));
    EXPECT_EQ(clrClient, thin.Pixel(3, 50));
    EXPECT_EQ(Active(0), thin.Pixel(119, 50));
    EXPECT_EQ(Active(1), thin.Pixel(118, 50));
    EXPECT_EQ(clrClient, thin.Pixel(117, 50));
}

TEST_F(FrameBorders, AnInactiveFrameUsesItsOwnColoursAndSecondStates)
{
    MemoryDC active(120, 90), inactive(120, 90);
    QXPFrameSkin frame;
    frame.szWindow = CSize(120, 90);
    frame.nBorder = 4;
    frame.nCaption = 30;
    theme.DrawFrame(active.dc(), frame);
    frame.bActive = FALSE;
    theme.DrawFrame(inactive.dc(), frame);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Inactive(i), inactive.Pixel(i, 50)) << i;
    EXPECT_EQ(Inactive(0), inactive.Pixel(60, 89));
    // The caption band's centre shows state 1 of FRAMETOPCENTER (same height
    // as the band, so its rows are copied as they are).
    ThemeBitmap* p = theme.GetImage("FRAMETOPCENTER");
    ASSERT_TRUE(p != NULL);
    MemoryDC img(p->GetWidth(), p->GetHeight(), RGB(0, 0, 0));
    p->DrawImage(img.dc(), CRect(0, 0, p->GetWidth(), p->GetHeight()), p->GetSource(), CRect(0, 0, 0, 0));
    EXPECT_EQ(img.Pixel(2, 15), active.Pixel(60, 15));
    EXPECT_EQ(img.Pixel(2, 30 + 15), inactive.Pixel(60, 15));
    EXPECT_NE(active.Pixel(60, 15), inactive.Pixel(60, 15));
}

TEST_F(FrameBorders, CaptionTextSplitsOffTheApplicationTitle)
{
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Readme.txt - Quillmate", WS_OVERLAPPEDWINDOW | FWS_PREFIXTITLE,
                               CRect(0, 0, 400, 200)));
    pFrame->SetTitle("Quillmate");
    theme.m_clrCaptionTextActive.Set(RGB(255, 0, 0));
    theme.m_clrCaptionTextActiveTitle.Set(RGB(0, 0, 255));
    LOGFONTA lf;
    theme.m_fontCaption.GetLogFont(&lf);
    lf.lfQuality = NONANTIALIASED_QUALITY;
    lf.lfHeight = -14;
    theme.m_fontCaption.DeleteObject();
    theme.m_fontCaption.CreateFontIndirect(&lf);

    auto count = [&](COLORREF clr) {
        MemoryDC dc(300, 24, RGB(255, 255, 255));
        theme.DrawCaptionText(dc.dc(), CRect(0, 0, 300, 24), pFrame->GetSafeHwnd(), TRUE);
        return dc.Count(CRect(0, 0, 300, 24), clr);
    };
    EXPECT_GT(count(RGB(255, 0, 0)), 0);
    EXPECT_GT(count(RGB(0, 0, 255)), 0) << "the application title in its own colour";
    pFrame->ModifyStyle(FWS_PREFIXTITLE, 0);
    EXPECT_EQ(0, count(RGB(0, 0, 255)));
    pFrame->DestroyWindow();
}

TEST_F(FrameBorders, TheWorkspaceStartsWithItsImageThenTwoGradients)
{
    ThemeBitmap* p = theme.GetImage("WORKSPACETOPLEFT");
    ASSERT_TRUE(p != NULL);
    const COLORREF clrInner = RGB(1, 2, 3);
    MemoryDC dc(300, 200, clrInner);
    theme.FillWorkspace(dc.dc(), CRect(0, 0, 300, 200), CRect(100, 60, 200, 140));
    MemoryDC img(p->GetWidth(), p->GetHeight(), RGB(0, 0, 0));
    p->DrawImage(img.dc(), CRect(0, 0, p->GetWidth(), p->GetHeight()), p->GetSource(), CRect(0, 0, 0, 0));
    const int cxImage = p->GetWidth(), cyImage = p->GetHeight();
    EXPECT_EQ(img.Pixel(10, 5), dc.Pixel(10, 5));
    EXPECT_EQ(img.Pixel(cxImage - 1, 5), dc.Pixel(250, 5)) << "the last column stretches";
    EXPECT_EQ(theme.m_clrWorkspaceTop.GetColor(), dc.Pixel(20, cyImage));
    EXPECT_EQ(theme.m_clrWorkspaceMiddle.GetColor(), dc.Pixel(20, cyImage + (200 - cyImage) * 2 / 3));
    COLORREF clrLast = dc.Pixel(20, 199), clrBottom = theme.m_clrWorkspaceBottom.GetColor();
    EXPECT_NEAR(GetBValue(clrBottom), GetBValue(clrLast), 3);
    EXPECT_EQ(clrInner, dc.Pixel(150, 100)) << "the inner rectangle is left alone";
}

// ---------------------------------------------------------------------------
// Ribbon metrics and tab colours

BOOL AFXAPI MenuFont9(NONCLIENTMETRICSA* p)
{
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(*p), p, 0);
    p->lfMenuFont.lfHeight = -9;
    return TRUE;
}

TEST(RibbonMetrics, FromTheMenuFontOrTheOverride)
{
    const struct {
        int nOverride, nMenu;
        int font, control, row, tab, caption, split, large;
    } cases[] = {
        {0, -11, 13, 22, 22, 23, 17, 12, 27},
        {0, -9, 13, 22, 22, 23, 17, 12, 27},
        {0, 12, 13, 22, 22, 23, 17, 12, 27},
        {12, -20, 13, 22, 22, 23, 17, 12, 27},
        {16, -9, 20, 30, 32, 34, 24, 15, 43},
        {0, -16, 20, 30, 32, 34, 24, 15, 43},
    };
    for (const auto& c : cases) {
        QXPRibbonMetrics m = ComputeRibbonMetrics(c.nOverride, c.nMenu);
        SCOPED_TRACE(testing::Message() << c.nOverride << " " << c.nMenu);
        EXPECT_EQ(c.font, m.nFontHeight);
        EXPECT_EQ(c.control, m.nControlHeight);
        EXPECT_EQ(c.row, m.nRowHeight);
        EXPECT_EQ(c.tab, m.nTabStripHeight);
        EXPECT_EQ(c.caption, m.nGroupCaption);
        EXPECT_EQ(c.split, m.nSplitDropDown);
        EXPECT_EQ(c.large, m.nLargeDropDown);
    }
    // The theme reads the menu font through its seam; the override wins.
    CRibbonStyleTheme theme;
    theme.m_pfnNonClientMetrics = MenuFont9;
    theme.RefreshFonts();
    EXPECT_EQ(22, theme.m_metrics.nControlHeight);
    EXPECT_EQ(23, theme.m_metrics.nTabStripHeight);
    LOGFONTA lf;
    ASSERT_TRUE(theme.m_fontRibbon.GetLogFont(&lf));
    EXPECT_EQ(-13, lf.lfHeight);
    theme.m_nFontHeightOverride = 16;
    theme.m_bRecreateRibbonFont = TRUE;
    theme.RefreshFonts();
    EXPECT_EQ(30, theme.m_metrics.nControlHeight);
    EXPECT_EQ(15, theme.m_nSplitButtonDropDownWidth);
    theme.m_fontRibbon.GetLogFont(&lf);
    EXPECT_EQ(-20, lf.lfHeight);
}

BOOL AFXAPI StatusFont15(NONCLIENTMETRICSA* p)
{
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(*p), p, 0);
    p->lfStatusFont.lfHeight = -15;
    p->lfStatusFont.lfWeight = FW_BOLD;
    p->lfStatusFont.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(p->lfStatusFont.lfFaceName, "Courier New", LF_FACESIZE);
    return TRUE;
}

// The status font is the system's, in the overriding face when one is set,
// with natural ClearType quality; it follows the system's on each refresh.
TEST(RibbonMetrics, TheStatusFontIsTheSystemsInTheOverridingFace)
{
    const struct {
        BOOL bOverride;
        const char* face;
    } cases[] = {{TRUE, "Segoe UI"}, {FALSE, "Courier New"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.face);
        CRibbonStyleTheme theme;
        theme.m_pfnNonClientMetrics = StatusFont15;
        theme.m_bUseFaceOverride = c.bOverride;
        theme.m_bFollowStatusFont = TRUE;
        theme.RefreshFonts();
        LOGFONTA lf;
        ASSERT_TRUE(theme.GetStatusFont()->GetLogFont(&lf));
        EXPECT_EQ(-15, lf.lfHeight);
        EXPECT_EQ(FW_BOLD, lf.lfWeight);
        EXPECT_EQ(6, lf.lfQuality);
        EXPECT_STREQ(c.face, lf.lfFaceName);
    }
}

TEST(RibbonTabColours, LunaValuesPerColourTheme)
{
    QXPRibbonTabLuna olive = GetRibbonTabLunaColors(qxColorThemeOlive);
    EXPECT_EQ(RGB(96, 128, 88), olive.clrFrame[0]);
    EXPECT_EQ(RGB(63, 93, 56), olive.clrDarkText);
    EXPECT_EQ(RGB(242, 241, 228), olive.clrGradient2Dark);
    QXPRibbonTabLuna silver = GetRibbonTabLunaColors(qxColorThemeSilver);
    EXPECT_EQ(RGB(118, 116, 146), silver.clrFrame[1]);
    EXPECT_EQ(RGB(255, 238, 194), silver.clrValue[2]);
    for (int n : {qxColorThemeBlue, qxColorThemeRoyale, qxColorThemeAero}) {
        QXPRibbonTabLuna blue = GetRibbonTabLunaColors(n);
        EXPECT_EQ(RGB(0, 53, 154), blue.clrFrame[1]);
        EXPECT_EQ(RGB(0, 0, 128), blue.clrDarkText);
        EXPECT_EQ(RGB(196, 218, 250), blue.clrGradientLight);
        EXPECT_EQ(RGB(252, 253, 254), blue.clrGradientDark);
        EXPECT_EQ(RGB(158, 190, 245), blue.clrGradient2Light);
    }
}

TEST(RibbonTabColours, TheRibbonTabPainterTakesTheLunaValuesAndTheTabTexts)
{
    {
        FixedColors olive(qxColorThemeOlive);
        CRibbonStyleTheme theme;
        theme.RefreshMetrics();
        CQXPTabPainter* p = theme.GetRibbonTabPainter();
        ASSERT_TRUE(p != NULL);
        EXPECT_EQ(10, p->GetAppearance()) << "the theme's tab image";
        const TabColorSet& c = p->GetColors();
        EXPECT_EQ(RGB(96, 128, 88), c.clrBorder);
        EXPECT_EQ(RGB(96, 119, 107), c.clrShape[tabShapeOutline]);
        EXPECT_EQ(RGB(242, 241, 228), c.clrHeader[0]);
        EXPECT_EQ(RGB(255, 194, 115), c.clrSelectedFace);
        EXPECT_EQ(RGB(217, 217, 167), c.clrClient[0]);
        EXPECT_EQ(theme.m_clrTabNormalText.GetColor(), c.clrNormalText) << "TabNormalText of the theme text";
        EXPECT_EQ(theme.m_clrTabSelectedText.GetColor(), c.clrSelectedText);
    }
    {
        // The classic scheme: no Luna values, the button gradient from colour 15.
        FixedColors classic(qxColorThemeClassic);
        CRibbonStyleTheme theme;
        theme.RefreshMetrics();
        const TabColorSet& c = theme.GetRibbonTabPainter()->GetColors();
        EXPECT_EQ(theme.GetColor(COLOR_BTNFACE), c.clrHeader[0]);
        EXPECT_EQ(MixColors(theme.GetColor(COLOR_BTNFACE), theme.GetColor(COLOR_WINDOW), 205), c.clrHeader[1]);
        EXPECT_EQ(theme.GetColor(qxColorCheckedFace), c.clrBorder);
    }
}

// ---------------------------------------------------------------------------
// State tables

TEST(RibbonStates, ToolbarButtonsGroupedButtonsAndSplitParts)
{
    // selected, pressed, enabled, checked, popped -> state of 4 (-1 none)
    const struct {
        int s, p, e, c, o, state;
    } buttons[] = {{0, 0, 1, 0, 1, 2}, {1, 0, 1, 1, 0, 3}, {0, 0, 1, 1, 0, 2}, {1, 2, 1, 0, 0, 1}, {0, 3, 1, 0, 0, 1}, {1, 1, 1, 0, 0, 1}, {1, 0, 1, 0, 0, 0}, {0, 1, 1, 0, 0, 0}, {0, 0, 1, 0, 0, -1}, {2, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, -1}};
    for (const auto& b : buttons)
        EXPECT_EQ(b.state, CRibbonStyleTheme::GetButtonImageState(b.s, b.p, b.e, b.c, b.o))
            << b.s << b.p << b.e << b.c << b.o;
    const struct {
        int s, p, e, c, o, state;
    } grouped[] = {{3, 0, 0, 0, 0, 1}, {1, 0, 0, 0, 0, 0}, {0, 0, 1, 0, 1, 3}, {0, 2, 1, 0, 0, 2}, {1, 1, 1, 0, 0, 2}, {1, 0, 1, 0, 0, 1}, {0, 1, 1, 0, 0, 1}, {0, 0, 1, 0, 0, 0}, {1, 0, 1, 1, 0, 4}, {0, 0, 1, 1, 0, 3}};
    for (const auto& g : grouped)
        EXPECT_EQ(g.state, CRibbonStyleTheme::GetGroupedButtonState(g.s, g.p, g.e, g.c, g.o))
            << g.s << g.p << g.e << g.c << g.o;
    // Split parts: enabled value, selected, pressed, popped, checked ->
    // main state (of 6), drop state (of 5); -1 draws nothing.
    const struct {
        int e, s, p, o, c, main, drop;
    } splits[] = {
        {0, 1, 0, 0, 0, -1, -1}, // disabled, not keyboard-selected: neither part
        {0, 2, 0, 0, 0, 5, 4},
        {0, 3, 0, 0, 0, 5, 4},
        {1, 3, 0, 0, 0, 0, 4},
        {1, 1, 0, 0, 0, 5, 4},
        {1, 1, 1, 0, 0, 1, 0},
        {1, 0, 0, 1, 0, 5, 2},
        {1, 0, 0, 0, 0, -1, -1},
        {1, 0, 0, 0, 1, 2, 2},
        {1, 1, 0, 0, 1, 3, 4},
        {4, 1, 0, 0, 0, 4, 4},
        {3, 1, 0, 0, 0, 5, 3},
        {1, 4, 0, 0, 0, 5, 0},
        {1, 0, 2, 0, 0, 1, 0},
    };
    for (const auto& r : splits) {
        EXPECT_EQ(r.main, CRibbonStyleTheme::GetSplitMainState(r.e, r.s, r.p, r.o, r.c)) << r.e << r.s << r.p << r.o << r.c;
        EXPECT_EQ(r.drop, CRibbonStyleTheme::GetSplitDropState(r.e, r.s, r.p, r.o, r.c)) << r.e << r.s << r.p << r.o << r.c;
    }
}

// ---------------------------------------------------------------------------
// What the painters ask for

TEST_F(Office2007, PaintersAskForImagesTheModuleHolds)
{
    Recording<CRibbonStyleTheme> theme;
    theme.RefreshMetrics();
    MemoryDC dc(200, 120);
    TestBar popup;
    popup.nType = qxpBarTypePopup;
    popup.nPosition = qxpBarPopup;
    TestBar toolbar;
    // Menu items: checked, selected, selected disabled, tall.
    theme.DrawRectangle(dc.dc(), CRect(0, 0, 100, 22), 0, 0, 1, 1, 0, qxpBarTypePopup, qxpBarPopup);
    theme.DrawRectangle(dc.dc(), CRect(0, 0, 100, 22), 1, 0, 1, 0, 0, qxpBarTypePopup, qxpBarPopup);
    theme.DrawRectangle(dc.dc(), CRect(0, 0, 100, 22), 2, 0, 0, 0, 0, qxpBarTypePopup, qxpBarPopup);
    theme.DrawRectangle(dc.dc(), CRect(0, 0, 100, 40), 1, 0, 1, 0, 0, qxpBarTypePopup, qxpBarPopup);
    // Buttons, small and large.
    theme.DrawRectangle(dc.dc(), CRect(0, 0, 23, 22), 1, 0, 1, 0, 0, qxpBarTypeNormal, qxpBarTop);
    theme.DrawRectangle(dc.dc(), CRect(0, 0, 40, 50), 1, 1, 1, 0, 0, qxpBarTypeNormal, qxpBarTop);
    theme.DrawCheckBoxMark(dc.dc(), CRect(0, 0, 20, 20), TRUE, 1, 0, 2, 1);
    theme.DrawRadioButtonMark(dc.dc(), CRect(0, 0, 20, 20), TRUE, 0, 0, 1, 0);
    theme.FillCommandBar(dc.dc(), &popup);
    theme.FillCommandBar(dc.dc(), &toolbar);
    toolbar.nPosition = qxpBarLeft;
    theme.FillCommandBar(dc.dc(), &toolbar);
    TestPane pane;
    theme.DrawStatusPaneBorder(dc.dc(), CRect(0, 0, 50, 20), &pane, FALSE);
    QXPFrameSkin frame;
    frame.szWindow = CSize(200, 120);
    frame.nBorder = 4;
    frame.nCaption = 26;
    frame.nStatusBar = 22;
    frame.bCaption = FALSE;
    theme.DrawFrame(dc.dc(), frame);
    frame.bCaption = TRUE;
    frame.buttons.push_back({SC_CLOSE, CRect(170, 4, 195, 22), TRUE, FALSE, TRUE});
    theme.DrawFrame(dc.dc(), frame);

    const std::map<std::string, int> expected = {
        {"MENUCHECKEDITEM", 0},
        {"MENUSELECTEDITEM22", 0},
        {"MENUSELECTEDDISABLEDITEM22", 0},
        {"MENUSELECTEDITEM54", 0},
        {"TOOLBARBUTTONS22", 0},
        {"TOOLBARBUTTONS50", 1},
        {"TOOLBARBUTTONCHECKBOX", 9},
        {"TOOLBARBUTTONRADIOBUTTON", 7},
        {"POPUPBARFRAME", 0},
        {"TOOLBARFACEHORIZONTAL", 0},
        {"TOOLBARFACEVERTICAL", 0},
        {"STATUSBARSEPARATOR", 0},
        {"FRAMETOPLEFT", 0},
        {"FRAMETOPRIGHT", 0},
        {"STATUSBARLIGHT", 0},
        {"STATUSBARDARK", 0},
        {"FRAMEBOTTOMLEFT", 0},
        {"FRAMEBOTTOMRIGHT", 0},
        {"FRAMECAPTIONBUTTON", 0},
    };
    std::set<std::string> seen;
    for (const auto& c : theme.calls) {
        seen.insert(c.name);
        ThemeBitmap* p = theme.GetImage(c.name.c_str());
        ASSERT_TRUE(p != NULL) << c.name;
        EXPECT_EQ(0, p->GetHeight() % c.nStates) << c.name << " in " << c.nStates << " states";
        EXPECT_LT(c.nState, c.nStates) << c.name;
        auto it = expected.find(c.name);
        if (it != expected.end() && c.name != "FRAMETOPLEFT" && c.name != "FRAMETOPRIGHT") {
            EXPECT_EQ(it->second, c.nState) << c.name;
        }
    }
    for (const auto& e : expected)
        EXPECT_TRUE(seen.count(e.first)) << e.first << " was not asked for";
    // Keys: the check and radio marks and the frame corners are keyed.
    for (const auto& c : theme.calls) {
        if (c.name == "TOOLBARBUTTONCHECKBOX" || c.name == "FRAMEBOTTOMLEFT" || c.name == "FRAMECAPTIONBUTTON") {
            EXPECT_EQ(QX_THEME_KEY_COLOR, c.clrKey) << c.name;
        } else if (c.name == "TOOLBARBUTTONS22" || c.name == "MENUSELECTEDITEM22") {
            EXPECT_EQ(QX_COLOR_NONE, c.clrKey) << c.name;
        }
    }
    // Margins as drawn.
    for (const auto& c : theme.calls) {
        if (c.name == "TOOLBARBUTTONS22") {
            EXPECT_EQ(CRect(8, 8, 8, 8), c.rcMargins);
        }
        if (c.name == "FRAMECAPTIONBUTTON") {
            EXPECT_EQ(CRect(3, 3, 3, 3), c.rcMargins);
        }
    }
}

TEST_F(Office2007, SplitButtonsMenuPartsExpandButtonsAndGrippers)
{
    Recording<CRibbonStyleTheme> theme;
    theme.RefreshMetrics();
    MemoryDC dc(200, 120);
    TestBar toolbar;
    TestControl split(&toolbar, qxpControlSplitButtonPopup, "Paste");
    split.rc = CRect(10, 10, 50, 32);
    split.nSelected = 1;
    theme.DrawSplitButtonFrame(dc.dc(), &split, split.rc);
    ASSERT_EQ(3u, theme.calls.size());
    EXPECT_EQ("TOOLBARBUTTONSSPLIT22", theme.calls[0].name);
    EXPECT_EQ(5, theme.calls[0].nState);
    EXPECT_EQ(6, theme.calls[0].nStates);
    EXPECT_EQ(CRect(10, 10, 50 - theme.m_nSplitButtonDropDownWidth, 32), theme.calls[0].rc);
    EXPECT_EQ("TOOLBARBUTTONSSPLITDROPDOWN22", theme.calls[1].name);
    EXPECT_EQ(4, theme.calls[1].nState);
    EXPECT_EQ(5, theme.calls[1].nStates);
    EXPECT_EQ(CRect(2, 2, 2, 2), theme.calls[1].rcMargins);
    EXPECT_EQ("TOOLBARBUTTONDROPDOWNGLYPH", theme.calls[2].name);
    EXPECT_EQ(1, theme.calls[2].nState);
    // Disabled and not keyboard-selected: no parts, the arrow still drawn.
    theme.calls.clear();
    split.nEnabled = 0;
    theme.DrawSplitButtonFrame(dc.dc(), &split, split.rc);
    ASSERT_EQ(1u, theme.calls.size());
    EXPECT_EQ("TOOLBARBUTTONDROPDOWNGLYPH", theme.calls[0].name);
    EXPECT_EQ(3, theme.calls[0].nState);
    // Large: the "50" images, the drop part under the main one.
    theme.calls.clear();
    split.nEnabled = 1;
    split.nStyle = qxpButtonIconAndCaptionBelow;
    split.rc = CRect(0, 0, 40, 66);
    theme.DrawSplitButtonFrame(dc.dc(), &split, split.rc);
    ASSERT_EQ(2u, theme.calls.size());
    EXPECT_EQ("TOOLBARBUTTONSSPLIT50", theme.calls[0].name);
    EXPECT_EQ(CRect(0, 66 - theme.m_metrics.nLargeDropDown, 40, 66), theme.calls[1].rc);

    // Menu items: the split part and the submenu arrow.
    theme.calls.clear();
    TestBar popup;
    popup.nType = qxpBarTypePopup;
    popup.nPosition = qxpBarPopup;
    TestControl item(&popup, qxpControlSplitButtonPopup, "Recent");
    item.rc = CRect(0, 0, 150, 22);
    item.nSelected = 1;
    item.bPopped = TRUE;
    theme.DrawPopupSplitDivider(dc.dc(), &item, item.rc);
    theme.DrawPopupArrow(dc.dc(), &item, item.rc);
    ASSERT_EQ(2u, theme.calls.size());
    EXPECT_EQ("MENUSPLITDROPDOWN", theme.calls[0].name);
    EXPECT_EQ(2, theme.calls[0].nState);
    EXPECT_EQ(CRect(150 - theme.m_nSplitButtonPopupWidth, 0, 150, 22), theme.calls[0].rc);
    EXPECT_EQ("MENUPOPUPGLYPH", theme.calls[1].name);
    EXPECT_EQ(150 - 14, theme.calls[1].rc.left);

    // The chevron of a toolbar: the last 12 pixels, its hot state.
    theme.calls.clear();
    TestControl chevron(&toolbar, qxpControlButton);
    chevron.rc = CRect(0, 0, 300, 26);
    theme.DrawExpandButton(NULL, qxpExpandToolbar, &chevron, &toolbar, FALSE, 300, 26);
    EXPECT_EQ(CRect(288, 0, 300, 26), chevron.rc);
    chevron.nSelected = 1;
    theme.DrawExpandButton(dc.dc(), qxpExpandToolbar, &chevron, &toolbar, TRUE, 1, 0);
    ASSERT_EQ(1u, theme.calls.size());
    EXPECT_EQ("TOOLBAREXPANDBUTTONHORIZONTAL", theme.calls[0].name);
    EXPECT_EQ(1, theme.calls[0].nState);

    // Resize grippers.
    theme.calls.clear();
    theme.DrawPopupResizeGripper(dc.dc(), CRect(0, 100, 150, 110), 2);
    theme.DrawPopupResizeGripper(dc.dc(), CRect(0, 100, 150, 110), 1);
    ASSERT_EQ(4u, theme.calls.size());
    EXPECT_EQ("POPUPBARRESIZEGRIPPERFACE", theme.calls[0].name);
    EXPECT_EQ("POPUPBARRESIZEGRIPPERHEIGHT", theme.calls[1].name);
    EXPECT_EQ("POPUPBARRESIZEGRIPPERWIDTH", theme.calls[3].name);
    for (const auto& c : theme.calls) {
        ThemeBitmap* p = theme.GetImage(c.name.c_str());
        ASSERT_TRUE(p != NULL) << c.name;
        EXPECT_EQ(0, p->GetHeight() % c.nStates) << c.name;
    }
}

TEST_F(Office2007, PopupSeparatorsAndBands)
{
    CRibbonStyleTheme theme;
    theme.RefreshMetrics();
    MemoryDC dc(200, 100, RGB(255, 255, 255));
    TestBar popup;
    popup.nType = qxpBarTypePopup;
    popup.nPosition = qxpBarPopup;
    popup.rcClient = CRect(0, 0, 200, 100);
    TestControl item(&popup, qxpControlButton, "Save");
    item.rc = CRect(2, 40, 150, 62);
    EXPECT_EQ(CSize(2, 2), theme.DrawCommandBarSeparator(dc.dc(), &popup, &item, TRUE));
    const int x = 2 - 1 + theme.GetPopupIconColumnSize(popup.szIcon).cx + theme.m_nPopupMargin;
    EXPECT_EQ(RGB(197, 197, 197), dc.Pixel(x + 10, 38));
    EXPECT_EQ(RGB(245, 245, 245), dc.Pixel(x + 10, 39));
    EXPECT_EQ(RGB(255, 255, 255), dc.Pixel(x - 1, 38)) << "the icon column stays clear";
    // Before a control that starts a new column: a line down the column.
    TestControl wrapped(&popup, qxpControlButton, "Recent");
    wrapped.rc = CRect(152, 4, 198, 26);
    wrapped.bWrapped = TRUE;
    theme.DrawCommandBarSeparator(dc.dc(), &popup, &wrapped, TRUE);
    EXPECT_EQ(RGB(197, 197, 197), dc.Pixel(150, 80));
    // Label bands: colour 56 with a line at the bottom.
    theme.FillPopupLabel(dc.dc(), CRect(0, 70, 200, 90));
    EXPECT_EQ(theme.GetColor(qxColorLabelFace), dc.Pixel(100, 75));
    EXPECT_EQ(RGB(197, 197, 197), dc.Pixel(100, 89));
}

TEST_F(Office2007, EditAndComboFieldsFromTheImages)
{
    Recording<CRibbonStyleTheme> theme;
    theme.RefreshMetrics();
    TestBar toolbar;
    TestBar popup;
    popup.nType = qxpBarTypePopup;
    popup.nPosition = qxpBarPopup;
    // Field colours by state and bar.
    TestControl edit(&toolbar, qxpControlEdit, "");
    EXPECT_EQ(theme.m_clrControlEditNormal.GetColor(), theme.GetControlEditBackColor(&edit));
    edit.nSelected = 1;
    EXPECT_EQ(theme.GetColor(COLOR_WINDOW), theme.GetControlEditBackColor(&edit));
    edit.nSelected = 0;
    edit.nEnabled = 0;
    EXPECT_EQ(theme.GetColor(COLOR_BTNFACE), theme.GetControlEditBackColor(&edit));
    TestControl inPopup(&popup, qxpControlEdit, "");
    EXPECT_EQ(theme.GetColor(qxpSlotPopupFace), theme.GetControlEditBackColor(&inPopup));

    // A combo box: the field in its colour, the button image by state.
    MemoryDC dc(200, 40);
    TestControl combo(&toolbar, qxpControlComboBox, "");
    combo.rc = CRect(0, 0, 120, 22);
    combo.layout.nButtonWidth = 14;
    const struct {
        int nEnabled, nSelected;
        BOOL bDropped;
        int nPart;
    } combos[] = {{1, 0, FALSE, 0}, {1, 1, FALSE, 2}, {1, 1, TRUE, 3}, {0, 0, FALSE, 4}};
    for (const auto& c : combos) {
        combo.nEnabled = c.nEnabled;
        combo.nSelected = c.nSelected;
        combo.bDropped = c.bDropped;
        theme.calls.clear();
        theme.DrawControlComboBox(dc.dc(), &combo, TRUE);
        ASSERT_FALSE(theme.calls.empty());
        EXPECT_EQ("TOOLBARBUTTONSCOMBODROPDOWN", theme.calls[0].name);
        EXPECT_EQ(c.nPart, theme.calls[0].nState);
        EXPECT_EQ(5, theme.calls[0].nStates);
        EXPECT_EQ(CRect(106, 1, 120, 21), theme.calls[0].rc);
    }
    combo.nEnabled = 1;
    combo.nSelected = 0;
    combo.bDropped = FALSE;
    theme.DrawControlComboBox(dc.dc(), &combo, TRUE);
    EXPECT_EQ(theme.m_clrControlEditNormal.GetColor(), dc.Pixel(50, 11));
    EXPECT_EQ(theme.GetColor(qxColorEditFrame), dc.Pixel(50, 0)) << "the field's frame";

    // Spin buttons: up 0-4, down 5-9.
    const struct {
        BOOL bUp, bEnabled;
        int nSelected, nPressed, nState;
    } spins[] = {{TRUE, TRUE, 0, 0, 0}, {TRUE, TRUE, 1, 0, 1}, {TRUE, TRUE, 1, 1, 3}, {TRUE, FALSE, 0, 0, 4}, {FALSE, TRUE, 0, 0, 5}, {FALSE, TRUE, 1, 1, 6}, {FALSE, TRUE, 1, 2, 8}, {FALSE, FALSE, 1, 2, 9}};
    for (const auto& sp : spins)
        EXPECT_EQ(sp.nState, CRibbonStyleTheme::GetSpinImageState(sp.bUp, sp.bEnabled, sp.nSelected, sp.nPressed));
    TestControl spin(&toolbar, qxpControlEdit, "");
    spin.rc = CRect(0, 0, 100, 22);
    spin.bSpin = TRUE;
    theme.calls.clear();
    theme.DrawControlEdit(dc.dc(), &spin, TRUE);
    ASSERT_EQ(2u, theme.calls.size());
    EXPECT_EQ("TOOLBARBUTTONSPIN", theme.calls[0].name);
    EXPECT_EQ(CRect(82, 1, 99, 11), theme.calls[0].rc);
    EXPECT_EQ(5, theme.calls[1].nState);
    EXPECT_EQ(QX_THEME_KEY_COLOR, theme.calls[1].clrKey);
}

// Every image the Office 2007 painters name, with its state count, and the
// cell sizes they draw at (0: any).
// A tab row of its own whose hot and pressed tabs a test sets.
class CTestTabRow : public CQXPRibbonControlTab {
public:
    void SetHot(CQXPTabManagerItem* p) { m_pHighlighted = p; }
    void SetPressedTab(CQXPTabManagerItem* p) { m_pPressed = p; }
};

// Each tab's face takes the part of its state; tabs squeezed below their
// caption's width are kept apart by a separator, and each run of
// contextual tabs (hidden tabs skipped) is closed at both ends.
TEST_F(Office2007, RibbonTabsDrawTheirStatePartsAndSeparators)
{
    Recording<CRibbonStyleTheme> theme;
    theme.RefreshMetrics();
    CRibbonTabAppearance appearance(&theme);
    CTestTabRow row;
    struct TabDef {
        const char* caption;
        int nColor;
        const char* context;
        BOOL bVisible;
        int nContent; // the caption's full width (the tabs are 60 wide)
    } defs[] = {
        {"Home", 0, "", TRUE, 50},
        {"Insert", 0, "", TRUE, 70},
        {"Design", 1, "Table Tools", TRUE, 50},
        {"Layout", 1, "Table Tools", TRUE, 50},
        {"Hidden", 1, "Table Tools", FALSE, 50},
        {"Format", 3, "Picture", TRUE, 50},
    };
    std::vector<CQXPRibbonTab*> tabs;
    for (int i = 0; i < (int)(sizeof(defs) / sizeof(defs[0])); i++) {
        CQXPRibbonTab* pTab = new CQXPRibbonTab;
        row.AddItem(i, pTab);
        pTab->SetCaption(defs[i].caption);
        pTab->m_nContextColor = defs[i].nColor;
        pTab->m_strContextCaption = defs[i].context;
        pTab->CQXPTabManagerItem::SetVisible(defs[i].bVisible); // no ribbon to tell
        pTab->SetRect(CRect(i * 60, 0, i * 60 + 60, 23));
        pTab->m_nContentLength = defs[i].nContent;
        tabs.push_back(pTab);
    }
    MemoryDC dc(400, 30);
    auto draw = [&](int nTab) {
        theme.calls.clear();
        appearance.DrawSingleButton(dc.dc()->GetSafeHdc(), &row, tabs[(size_t)nTab]);
    };
    auto find = [&](const std::string& name) -> const Recording<CRibbonStyleTheme>::Call* {
        for (const auto& c : theme.calls)
            if (c.name == name)
                return &c;
        return NULL;
    };
    const struct {
        int nTab;
        BOOL bSelected, bHot, bPressed;
        const char* face; // NULL: no face
        int nPart, nStates;
    } states[] = {
        {0, FALSE, FALSE, FALSE, NULL, 0, 0},
        {0, FALSE, TRUE, FALSE, "RIBBONTAB", 1, 6},
        {0, FALSE, TRUE, TRUE, "RIBBONTAB", 2, 6},
        {0, FALSE, FALSE, TRUE, "RIBBONTAB", 2, 6},
        {0, TRUE, FALSE, FALSE, "RIBBONTAB", 3, 6},
        {0, TRUE, TRUE, FALSE, "RIBBONTAB", 4, 6},
        {2, FALSE, FALSE, FALSE, NULL, 0, 0},
        {2, FALSE, TRUE, FALSE, "CONTEXTTABBLUE", 1, 5},
        {2, TRUE, FALSE, FALSE, "CONTEXTTABBLUE", 3, 5},
        {2, TRUE, TRUE, FALSE, "CONTEXTTABBLUE", 4, 5},
        {5, TRUE, FALSE, FALSE, "CONTEXTTABGREEN", 3, 5},
    };
    for (const auto& st : states) {
        SCOPED_TRACE(std::string(defs[st.nTab].caption) + (st.bSelected ? " selected" : "") + (st.bHot ? " hot" : "") +
                     (st.bPressed ? " pressed" : ""));
        row.CQXPTabManager::SetSelectedItem(st.bSelected ? tabs[(size_t)st.nTab] : tabs[1]);
        row.SetHot(st.bHot ? tabs[(size_t)st.nTab] : NULL);
        row.SetPressedTab(st.bPressed ? tabs[(size_t)st.nTab] : NULL);
        draw(st.nTab);
        const CRect rcTab(tabs[(size_t)st.nTab]->GetRect());
        const std::string prefix = st.nTab == 0 ? "RIBBONTAB" : "CONTEXTTAB";
        const Recording<CRibbonStyleTheme>::Call* pFace = NULL;
        for (const auto& c : theme.calls)
            if (c.name == prefix || c.name == std::string(st.face ? st.face : "-"))
                pFace = &c;
        if (!st.face) {
            EXPECT_TRUE(pFace == NULL) << "no face";
            continue;
        }
        ASSERT_TRUE(pFace != NULL);
        EXPECT_EQ(st.face, pFace->name);
        EXPECT_EQ(st.nPart, pFace->nState);
        EXPECT_EQ(st.nStates, pFace->nStates);
        EXPECT_EQ(CRect(rcTab.left, rcTab.top + 1, rcTab.right - 1, rcTab.bottom - 1), pFace->rc);
    }
    row.CQXPTabManager::SetSelectedItem(tabs[0]);
    row.SetHot(NULL);
    row.SetPressedTab(NULL);

    // Separators: Insert is squeezed; Design starts the blue run, Layout
    // ends it (the hidden tab after it does not count), Format is a run
    // of its own.
    const struct {
        int nTab;
        bool bTab, bLeft, bRight;
    } seps[] = {
        {0, false, false, false},
        {1, true, false, false},
        {2, false, true, false},
        {3, false, false, true},
        {5, false, true, true},
    };
    for (const auto& sp : seps) {
        SCOPED_TRACE(defs[sp.nTab].caption);
        draw(sp.nTab);
        const CRect rcTab(tabs[(size_t)sp.nTab]->GetRect());
        const CRect rc(rcTab.left, rcTab.top + 1, rcTab.right - 1, rcTab.bottom - 1);
        const auto* pTabSep = find("RIBBONTABSEPARATOR");
        EXPECT_EQ(sp.bTab, pTabSep != NULL);
        if (pTabSep)
            EXPECT_EQ(CRect(rc.right, rc.top, rc.right + 1, rc.bottom), pTabSep->rc);
        bool bLeft = false, bRight = false;
        for (const auto& c : theme.calls) {
            if (c.name != "CONTEXTTABSEPARATOR")
                continue;
            bLeft |= c.rc == CRect(rc.left, rc.top, rc.left + 1, rc.bottom - 1);
            bRight |= c.rc == CRect(rc.right, rc.top, rc.right + 1, rc.bottom - 1);
        }
        EXPECT_EQ(sp.bLeft, bLeft);
        EXPECT_EQ(sp.bRight, bRight);
    }
    // The separator is drawn: its line shows at the squeezed tab's edge.
    draw(1);
    const CRect rcInsert(tabs[1]->GetRect());
    EXPECT_NE(RGB(255, 255, 255), dc.Pixel(rcInsert.right - 1, 12));
    row.DeleteAllItems();
}

TEST_F(Office2007, EveryNamedImageHasItsStates)
{
    const struct {
        const char* name;
        int nStates, cx, cyState;
    } images[] = {
        {"FRAMETOPLEFT", 2, 0, 0},
        {"FRAMETOPCENTER", 2, 0, 0},
        {"FRAMETOPRIGHT", 2, 0, 0},
        {"FRAMEBOTTOMLEFT", 2, 0, 0},
        {"FRAMEBOTTOMRIGHT", 2, 0, 0},
        {"FRAMECAPTIONBUTTON", 2, 0, 0},
        {"FRAMESYSTEMBUTTON", 3, 0, 0},
        {"FRAMESYSTEMBUTTON52", 3, 0, 52},
        {"WORKSPACETOPLEFT", 1, 0, 0},
        {"STATUSBARLIGHT", 1, 0, 0},
        {"STATUSBARDARK", 1, 0, 0},
        {"STATUSBARDEVIDER", 1, 0, 0},
        {"STATUSBARSEPARATOR", 1, 0, 0},
        {"STATUSBARGRIPPER", 1, 0, 0},
        {"POPUPBARFRAME", 1, 0, 0},
        {"MOREPOPUPBARFRAME", 1, 0, 0},
        {"POPUPBARRESIZEGRIPPERFACE", 1, 0, 0},
        {"POPUPBARRESIZEGRIPPERHEIGHT", 1, 0, 0},
        {"POPUPBARRESIZEGRIPPERWIDTH", 1, 0, 0},
        {"MENUCHECKEDITEM", 2, 0, 0},
        {"MENUSELECTEDITEM22", 1, 0, 22},
        {"MENUSELECTEDITEM54", 1, 0, 54},
        {"MENUSELECTEDDISABLEDITEM22", 1, 0, 22},
        {"MENUSELECTEDDISABLEDITEM54", 1, 0, 54},
        {"MENUSPLITDROPDOWN", 3, 0, 0},
        {"MENUPOPUPGLYPH", 2, 0, 0},
        {"TOOLBARFACEHORIZONTAL", 1, 0, 0},
        {"TOOLBARFACEVERTICAL", 1, 0, 0},
        {"TOOLBARBUTTONS22", 4, 0, 22},
        {"TOOLBARBUTTONS50", 4, 0, 50},
        {"TOOLBARBUTTONSSPLIT22", 6, 0, 22},
        {"TOOLBARBUTTONSSPLITDROPDOWN22", 5, 0, 22},
        {"TOOLBARBUTTONSSPLIT50", 6, 0, 50},
        {"TOOLBARBUTTONSSPLITDROPDOWN50", 5, 0, 50},
        {"TOOLBARBUTTONSSPECIALSPLITLEFT", 7, 0, 22},
        {"TOOLBARBUTTONSSPECIALSPLITCENTER", 7, 0, 22},
        {"TOOLBARBUTTONSSPECIALSPLITDROPDOWNRIGHT", 6, 0, 22},
        {"TOOLBARBUTTONSSPECIALSPLITDROPDOWNCENTER", 6, 0, 22},
        {"TOOLBARBUTTONSSPECIALSINGLE", 5, 22, 22},
        {"TOOLBARBUTTONSSPECIALLEFT", 5, 22, 22},
        {"TOOLBARBUTTONSSPECIALRIGHT", 5, 22, 22},
        {"TOOLBARBUTTONSSPECIALCENTER", 5, 22, 22},
        {"TOOLBARBUTTONCHECKBOX", 12, 13, 13},
        {"TOOLBARBUTTONRADIOBUTTON", 8, 13, 13},
        {"TOOLBARBUTTONDROPDOWNGLYPH", 4, 0, 0},
        {"TOOLBARBUTTONSCOMBODROPDOWN", 5, 0, 0},
        {"TOOLBARBUTTONSPIN", 10, 0, 0},
        {"TOOLBAREXPANDBUTTONHORIZONTAL", 3, 0, 0},
        {"TOOLBAREXPANDBUTTONVERTICAL", 3, 0, 0},
        {"RIBBONGROUPS", 1, 0, 0},
        {"RIBBONGROUPCLIENT", 2, 0, 0},
        {"RIBBONGROUPCAPTION", 2, 0, 0},
        {"RIBBONGROUPBUTTON", 3, 0, 0},
        {"RIBBONGROUPBUTTONICON", 1, 0, 0},
        {"RIBBONGROUPQUICKACCESS", 3, 0, 0},
        {"RIBBONOPTIONBUTTON", 4, 0, 0},
        {"RIBBONTAB", 6, 0, 0},
        {"RIBBONTABSEPARATOR", 1, 0, 0},
        {"RIBBONQUICKACCESSAREA", 1, 0, 0},
        {"RIBBONQUICKACCESSAREADWM", 1, 0, 0},
        {"RIBBONQUICKACCESSFRAME", 1, 0, 0},
        {"RIBBONQUICKACCESSBUTTON", 4, 0, 0},
        {"RIBBONQUICKACCESSMORE", 4, 0, 0},
        {"RIBBONGROUPSSCROLLLEFT", 3, 0, 0},
        {"RIBBONGROUPSSCROLLRIGHT", 3, 0, 0},
        {"RIBBONGROUPSSCROLLLEFTGLYPH", 3, 0, 0},
        {"RIBBONGROUPSSCROLLRIGHTGLYPH", 3, 0, 0},
        {"RIBBONSYSTEMMENU", 1, 0, 0},
        {"RIBBONSYSTEMMENUBUTTON", 2, 0, 0},
        {"CONTEXTTABGROUPCLIENT", 2, 0, 0},
        {"CONTEXTTABGROUPCAPTION", 2, 0, 0},
        {"CONTEXTTABSEPARATOR", 1, 0, 0},
        {"CONTROLGALLERYUP", 5, 15, 21},
        {"CONTROLGALLERYDOWN", 5, 15, 19},
        {"CONTROLGALLERYPOPUP", 5, 15, 0},
        {"CONTROLGALLERYSCROLLARROWGLYPHS", 16, 9, 9},
    };
    ThemeResources* r = GetThemeResources();
    auto check = [r](const std::string& name, int nStates, int cx, int cyState) {
        ThemeBitmap* p = r->LoadImage(name.c_str());
        ASSERT_TRUE(p != NULL) << name;
        EXPECT_EQ(0, p->GetHeight() % nStates) << name << " in " << nStates << " states";
        if (cx)
            EXPECT_EQ(cx, p->GetWidth()) << name;
        if (cyState)
            EXPECT_EQ(cyState, p->GetHeight() / nStates) << name;
    };
    for (const auto& i : images)
        check(i.name, i.nStates, i.cx, i.cyState);
    for (const char* colour : {"BLUE", "YELLOW", "GREEN", "RED", "PURPLE", "CYAN", "ORANGE"}) {
        check(std::string("CONTEXTTAB") + colour, 5, 0, 0);
        check(std::string("CONTEXTTAB") + colour + "CLIENT", 1, 0, 0);
        check(std::string("CONTEXTTAB") + colour + "GROUPBUTTON", 3, 0, 0);
        check(std::string("ContextTab") + colour + "Header", 1, 0, 0);
    }
    for (const char* dir : {"VERTICAL", "HORIZONTAL"}) {
        for (const char* shade : {"LIGHT", "DARK"}) {
            check(std::string("CONTROLGALLERYSCROLL") + dir + shade, 2, 0, 0);
            check(std::string("CONTROLGALLERYSCROLLARROWS") + dir + shade, 4, 0, 0);
        }
        check(std::string("CONTROLGALLERYSCROLLTHUMB") + dir, 3, 0, 0);
        check(std::string("CONTROLGALLERYSCROLLTHUMBGRIPPER") + dir, 1, 0, 0);
    }
}

TEST_F(Office2007, EveryCaptionGlyphAndThemeKeyExists)
{
    ThemeResources* r = GetThemeResources();
    for (UINT cmd : {SC_CLOSE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE})
        for (int cx : {14, 16, 27}) {
            CString name = COffice2007Theme::GetCaptionGlyphName(cmd, cx);
            ThemeBitmap* p = r->LoadImage(name);
            ASSERT_TRUE(p != NULL) << (LPCSTR)name;
            EXPECT_EQ(0, p->GetHeight() % 5) << (LPCSTR)name;
            EXPECT_LE(p->GetWidth(), cx) << (LPCSTR)name << " fits its button";
        }
    int nKeys = 0;
    const QXPOffice2007ColorKey* keys = GetOffice2007ColorKeys(&nKeys);
    for (int k = 0; k < nKeys; ++k) {
        if (keys[k].fFactor > 0) {
            EXPECT_NE(QX_COLOR_NONE, r->GetColor(keys[k].pszSection, CString(keys[k].pszKey) + "Dark")) << keys[k].pszKey;
            EXPECT_NE(QX_COLOR_NONE, r->GetColor(keys[k].pszSection, CString(keys[k].pszKey) + "Light")) << keys[k].pszKey;
        } else {
            EXPECT_NE(QX_COLOR_NONE, r->GetColor(keys[k].pszSection, keys[k].pszKey)) << keys[k].pszKey;
        }
    }
    for (const char* key : {"RibbonFace", "TabNormalText", "TabSelectedText", "GroupCaptionText", "GroupClientText",
                            "MenuPopupText", "ControlHighlightText", "RibbonText", "ControlEditNormal",
                            "MinimizedFrameEdgeHighLight", "MinimizedFrameEdgeShadow"})
        EXPECT_NE(QX_COLOR_NONE, r->GetColor("Ribbon", key)) << key;
}

// ---------------------------------------------------------------------------
// Gallery painter and shadows

TEST_F(Office2007, GalleryButtonsScrollBarsAndBackgrounds)
{
    Recording<COffice2007Theme> theme;
    theme.RefreshMetrics();
    auto* paint = theme.GetOffice2007GalleryPainter();
    ASSERT_TRUE(dynamic_cast<COffice2007GalleryPaint*>(theme.GetGalleryPainter()) != NULL);

    // Nothing to scroll up: the up button is disabled, the down one normal.
    QXPGalleryView g;
    g.rc = CRect(0, 0, 120, 64);
    g.bCanScrollUp = FALSE;
    EXPECT_EQ(4, COffice2007GalleryPaint::GetButtonState(g, qxpGalleryHitUp));
    EXPECT_EQ(0, COffice2007GalleryPaint::GetButtonState(g, qxpGalleryHitDown));
    g.nHotPart = qxpGalleryHitPopup;
    EXPECT_EQ(2, COffice2007GalleryPaint::GetButtonState(g, qxpGalleryHitPopup));
    EXPECT_EQ(1, COffice2007GalleryPaint::GetButtonState(g, qxpGalleryHitDown));
    g.nPressedPart = qxpGalleryHitDown;
    EXPECT_EQ(3, COffice2007GalleryPaint::GetButtonState(g, qxpGalleryHitDown));
    MemoryDC dc(200, 100);
    paint->DrawScrollButtons(dc.dc(), g);
    ASSERT_EQ(3u, theme.calls.size());
    EXPECT_EQ("CONTROLGALLERYUP", theme.calls[0].name);
    EXPECT_EQ(CRect(105, 0, 120, 21), theme.calls[0].rc);
    EXPECT_EQ(4, theme.calls[0].nState);
    EXPECT_EQ(CRect(105, 21, 120, 40), theme.calls[1].rc);
    EXPECT_EQ("CONTROLGALLERYPOPUP", theme.calls[2].name);
    EXPECT_EQ(CRect(105, 40, 120, 64), theme.calls[2].rc);
    for (const auto& c : theme.calls) {
        EXPECT_EQ(5, c.nStates);
        EXPECT_EQ(QX_THEME_KEY_COLOR, c.clrKey);
    }

    // Thumbs of 10 pixels have no gripper, of 11 they have one.
    for (int nLength : {10, 11}) {
        theme.calls.clear();
        QXPGalleryScrollBarView bar;
        bar.rc = CRect(0, 0, 17, 100);
        bar.rcArrowBefore = CRect(0, 0, 17, 17);
        bar.rcArrowAfter = CRect(0, 83, 17, 100);
        bar.rcThumb = CRect(0, 30, 17, 30 + nLength);
        paint->DrawScrollBar(dc.dc(), bar);
        bool bGripper = false;
        for (const auto& c : theme.calls)
            bGripper |= c.name == "CONTROLGALLERYSCROLLTHUMBGRIPPERVERTICAL";
        EXPECT_EQ(nLength > 10, bGripper) << nLength;
        EXPECT_EQ("CONTROLGALLERYSCROLLVERTICALLIGHT", theme.calls[0].name);
    }
    // A disabled dark bar: track only, no thumb; another type draws nothing.
    theme.calls.clear();
    QXPGalleryScrollBarView dark;
    dark.nType = 6;
    dark.bEnabled = FALSE;
    dark.bVertical = FALSE;
    dark.rc = CRect(0, 0, 100, 17);
    dark.rcThumb = CRect(30, 0, 60, 17);
    paint->DrawScrollBar(dc.dc(), dark);
    ASSERT_EQ(1u, theme.calls.size());
    EXPECT_EQ("CONTROLGALLERYSCROLLHORIZONTALDARK", theme.calls[0].name);
    theme.calls.clear();
    dark.nType = 4;
    paint->DrawScrollBar(dc.dc(), dark);
    EXPECT_TRUE(theme.calls.empty());
    // Arrow glyph cells: up 1/2/4, down 5/6/8, left 9, right 13.
    EXPECT_EQ(1, COffice2007GalleryPaint::GetArrowGlyph(TRUE, TRUE, TRUE, FALSE));
    EXPECT_EQ(2, COffice2007GalleryPaint::GetArrowGlyph(TRUE, TRUE, TRUE, TRUE));
    EXPECT_EQ(4, COffice2007GalleryPaint::GetArrowGlyph(TRUE, TRUE, FALSE, FALSE));
    EXPECT_EQ(6, COffice2007GalleryPaint::GetArrowGlyph(TRUE, FALSE, TRUE, TRUE));
    EXPECT_EQ(8, COffice2007GalleryPaint::GetArrowGlyph(TRUE, FALSE, FALSE, TRUE));
    EXPECT_EQ(9, COffice2007GalleryPaint::GetArrowGlyph(FALSE, TRUE, TRUE, FALSE));
    EXPECT_EQ(16, COffice2007GalleryPaint::GetArrowGlyph(FALSE, FALSE, FALSE, FALSE));

    // Backgrounds: popup galleries take colour 41, a selected one its colour,
    // with a border and a divider two pixels above the bottom.
    MemoryDC bg(100, 50);
    QXPGalleryView back;
    back.bInPopupGallery = TRUE;
    paint->FillBackground(bg.dc(), back, CRect(0, 0, 100, 50));
    EXPECT_EQ(theme.GetColor(qxColorMenuFace), bg.Pixel(50, 25));
    back.bInPopupGallery = FALSE;
    back.bSelected = TRUE;
    back.bBorders = TRUE;
    back.bBottomDivider = TRUE;
    paint->FillBackground(bg.dc(), back, CRect(0, 0, 100, 50));
    EXPECT_EQ(paint->m_clrSelected.GetColor(), bg.Pixel(50, 25));
    EXPECT_EQ(paint->m_clrBorder.GetColor(), bg.Pixel(0, 25));
    EXPECT_EQ(RGB(197, 197, 197), bg.Pixel(50, 48));
    paint->DrawGroupCaption(bg.dc(), "Recent", CRect(0, 0, 100, 20));
    EXPECT_EQ(theme.GetColor(qxColorLabelFace), bg.Pixel(98, 2));
    EXPECT_EQ(RGB(197, 197, 197), bg.Pixel(50, 19));
}

TEST_F(Office2007, BothThemesShadowTheirPopups)
{
    for (int n : {qxpThemeOffice2007, qxpThemeRibbon}) {
        ThemeHolder t(n);
        EXPECT_TRUE(t->m_bForceShadows);
        EXPECT_FALSE(t->m_bShadowsOff);
        EXPECT_EQ(CQXPThemePainter::qxpShadowLight | CQXPThemePainter::qxpShadowClipExclude, t->m_nShadowOptions);
    }
}

} // namespace

// A tooltip window in the ribbon's look: its shape on request, else the
// module's gradient and border with the window's text over them.
TEST_F(Office2007, TooltipsTakeTheRibbonsShapeAndFace)
{
    ThemeResources* pRes = GetThemeResources();
    const COLORREF clrLight = pRes->GetColor("Window", "TooltipLight");
    const COLORREF clrDark = pRes->GetColor("Window", "TooltipDark");
    const COLORREF clrBorder = pRes->GetColor("Window", "TooltipBorder");
    ASSERT_NE(QX_COLOR_NONE, clrLight);
    ASSERT_NE(QX_COLOR_NONE, clrDark);
    ASSERT_NE(QX_COLOR_NONE, clrBorder);
    CRibbonStyleTheme theme;
    theme.RefreshMetrics();
    HWND hTip = ::CreateWindowExA(0, "STATIC", "Paste", WS_POPUP, 0, 0, 80, 20, NULL, NULL,
                                  ::GetModuleHandle(NULL), NULL);
    ASSERT_TRUE(hTip != NULL);

    theme.DrawToolTip(NULL, hTip, TRUE);
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(hTip, hRgn));
    const struct {
        int x, y;
        BOOL in;
    } points[] = {{0, 0, 0}, {79, 0, 0}, {0, 19, 0}, {79, 19, 0}, {1, 0, 1}, {0, 1, 1}, {78, 19, 1}, {40, 10, 1}};
    for (const auto& p : points)
        EXPECT_EQ(p.in, ::PtInRegion(hRgn, p.x, p.y)) << p.x << "," << p.y;
    ::DeleteObject(hRgn);

    MemoryDC dc(80, 20, RGB(255, 0, 255));
    theme.DrawToolTip(dc.dc(), hTip, FALSE);
    EXPECT_EQ(clrBorder, dc.Pixel(2, 0));
    EXPECT_EQ(clrBorder, dc.Pixel(0, 10));
    EXPECT_EQ(clrBorder, dc.Pixel(79, 10));
    auto Near = [](COLORREF a, COLORREF b) {
        return abs(GetRValue(a) - GetRValue(b)) <= 4 && abs(GetGValue(a) - GetGValue(b)) <= 4 &&
               abs(GetBValue(a) - GetBValue(b)) <= 4;
    };
    EXPECT_TRUE(Near(clrLight, dc.Pixel(2, 1))) << "the gradient starts light at the top";
    EXPECT_TRUE(Near(clrDark, dc.Pixel(2, 18))) << "and ends dark at the bottom";
    int nText = 0;
    for (int x = 20; x < 60; ++x)
        for (int y = 4; y < 16; ++y)
            nText += dc.Pixel(x, y) == theme.GetColor(COLOR_BTNTEXT);
    EXPECT_GT(nText, 10) << "the text in button text colour";
    ::DestroyWindow(hTip);
}
