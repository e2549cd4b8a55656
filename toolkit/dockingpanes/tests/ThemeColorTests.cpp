// The docking themes' colours per desktop colour scheme (blue, olive,
// silver, none), read from the paint manager a theme makes.
#include "DockTestSupport.h"

#include <qx/colors.h>
#include <qx/drawing.h>
#include <qx/panepaint.h>
#include <qx/tabpaint.h>

#include <qmtest/pump.h>
#include <qmtest/screenshot.h>
#include <qmtest/themetext.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

// The colour manager follows one scheme while a test runs.
struct SchemeScope {
    explicit SchemeScope(int nScheme)
    {
        ToolkitColorManager* p = ToolkitColorManager::Instance();
        m_nOld = p->GetChosenTheme();
        m_bOldDisabled = p->IsLunaColorsDisabled();
        p->DisableLunaColors(FALSE);
        p->SetCurrentTheme(nScheme);
        p->RefreshColors();
    }
    ~SchemeScope()
    {
        ToolkitColorManager* p = ToolkitColorManager::Instance();
        p->SetCurrentTheme(m_nOld);
        p->DisableLunaColors(m_bOldDisabled);
        p->RefreshColors();
    }
    int m_nOld;
    BOOL m_bOldDisabled;
};

std::unique_ptr<CDockingPanePaintManager> Theme(int nTheme)
{
    std::unique_ptr<CDockingPanePaintManager> p(CDockingPanePaintManager::CreateTheme(nTheme));
    p->RefreshMetrics();
    return p;
}

const COLORREF kAny = (COLORREF)-2;

} // namespace

TEST(DockingThemeColors, LunaThemesFollowTheDesktopScheme)
{
    struct Row {
        int theme, scheme;
        COLORREF inactive0, inactive1, face, c38, c32, c30;
        BOOL gradientButtons;
    } rows[] = {
        {2, qxColorThemeBlue, RGB(221, 236, 254), RGB(129, 169, 226), RGB(216, 231, 252), RGB(39, 65, 118),
         RGB(0, 0, 128), RGB(158, 190, 245), TRUE},
        {2, qxColorThemeOlive, RGB(244, 247, 222), RGB(183, 198, 145), RGB(226, 231, 191), RGB(81, 94, 51),
         RGB(63, 93, 56), RGB(217, 217, 167), TRUE},
        {2, qxColorThemeSilver, RGB(249, 249, 255), RGB(156, 155, 183), RGB(223, 223, 234), RGB(84, 84, 117),
         RGB(75, 75, 111), RGB(215, 215, 229), TRUE},
        // Royale and Aero take the blue scheme.
        {2, qxColorThemeRoyale, RGB(221, 236, 254), RGB(129, 169, 226), RGB(216, 231, 252), RGB(39, 65, 118),
         RGB(0, 0, 128), RGB(158, 190, 245), TRUE},
        {7, qxColorThemeOlive, kAny, kAny, RGB(226, 231, 191), RGB(81, 94, 51), RGB(63, 93, 56),
         RGB(217, 217, 167), TRUE},
        // Theme 10 keeps its own blue whatever the desktop shows.
        {10, qxColorThemeSilver, RGB(227, 239, 255), RGB(175, 210, 255), RGB(216, 231, 252), RGB(39, 65, 118),
         RGB(0, 0, 128), RGB(158, 190, 245), TRUE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "theme " << r.theme << " scheme " << r.scheme);
        SchemeScope scope(r.scheme);
        // Theme 10's fixed blue look: the program carries the Office 2007
        // theme module, so its text is taken away for this row.
        std::unique_ptr<qmtest::ScopedThemeText> noTheme;
        if (r.theme == 10)
            noTheme = std::make_unique<qmtest::ScopedThemeText>("");
        auto pm = Theme(r.theme);
        EXPECT_EQ(r.scheme == qxColorThemeSilver && r.theme == 10 ? qxColorThemeBlue : r.scheme,
                  pm->GetColorScheme());
        if (r.inactive0 != kAny) {
            EXPECT_EQ(r.inactive0, pm->m_clrInactiveCaption[0]);
            EXPECT_EQ(r.inactive1, pm->m_clrInactiveCaption[1]);
        }
        EXPECT_EQ(r.face, pm->m_clrFace);
        EXPECT_EQ(r.c38, pm->GetColor(qxColorGripper));
        EXPECT_EQ(r.c38, pm->m_clrBorder);
        EXPECT_EQ(r.c32, pm->GetColor(qxColorHotBorder));
        EXPECT_EQ(r.c32, pm->GetColor(qxColorPressedBorder));
        EXPECT_EQ(r.c32, pm->GetColor(qxColorCheckedBorder));
        EXPECT_EQ(r.c30, pm->GetColor(qxColorBarFace));
        EXPECT_EQ(RGB(255, 238, 194), pm->GetColor(qxColorHotFace));
        EXPECT_EQ(RGB(254, 128, 62), pm->GetColor(qxColorPressedFace));
        EXPECT_EQ(RGB(0, 0, 0), pm->GetColor(qxColorPressedText));
        EXPECT_EQ(r.gradientButtons, pm->m_bGradientButtons);
        if (r.theme == 10) {
            EXPECT_EQ(RGB(255, 231, 162), pm->m_clrActiveCaption[0]);
            EXPECT_EQ(RGB(101, 147, 207), pm->GetColor(qxColorWindowFrame));
            EXPECT_EQ(RGB(191, 219, 255), pm->GetColor(qxColorButtonFace));
            EXPECT_EQ(RGB(190, 218, 254), pm->m_clrBackground[0]);
            EXPECT_EQ(RGB(100, 143, 203), pm->m_clrBackground[1]);
        } else {
            EXPECT_EQ(RGB(255, 213, 140), pm->m_clrActiveCaption[0]);
            EXPECT_EQ(RGB(255, 166, 76), pm->m_clrActiveCaption[1]);
        }
        if (r.theme == 7) {
            // Its inactive captions take the colour manager's first gradient
            // with white text.
            const GradientColorValue* g = ToolkitColorManager::Instance()->GetGradientColor(0);
            EXPECT_EQ(g->m_start.GetColor(), pm->m_clrInactiveCaption[0]);
            EXPECT_EQ(g->m_end.GetColor(), pm->m_clrInactiveCaption[1]);
        }
    }
}

// Without a scheme (classic colours, or Luna colours switched off) the Luna
// themes keep the system face and the plain buttons.
TEST(DockingThemeColors, LunaThemesWithoutASchemeKeepTheSystemColours)
{
    for (int nTheme : {2, 7}) {
        for (bool bDisabled : {false, true}) {
            SCOPED_TRACE(testing::Message() << "theme " << nTheme << (bDisabled ? " Luna off" : " classic"));
            SchemeScope scope(bDisabled ? qxColorThemeOlive : qxColorThemeClassic);
            ToolkitColorManager::Instance()->DisableLunaColors(bDisabled);
            auto pm = Theme(nTheme);
            EXPECT_EQ(0, pm->GetColorScheme());
            EXPECT_FALSE(pm->m_bGradientButtons);
            EXPECT_EQ(pm->GetColor(COLOR_3DFACE), pm->m_clrFace);
            EXPECT_EQ(ToolkitColorManager::Instance()->GetColor(qxColorGripper), pm->GetColor(qxColorGripper));
            if (nTheme == 2)
                EXPECT_EQ(pm->GetColor(COLOR_3DFACE), pm->m_clrInactiveCaption[1]);
        }
    }
}

TEST(DockingThemeColors, SchemeThemesFollowTheDesktopScheme)
{
    const COLORREF black = RGB(0, 0, 0);
    struct Row {
        int theme, scheme;
        COLORREF inactive0, inactive1, active0, active1, back0, back1, inactiveText, border;
    } rows[] = {
        {6, qxColorThemeOlive, RGB(216, 215, 198), RGB(238, 239, 229), kAny, kAny, RGB(229, 229, 215),
         RGB(244, 241, 231), black, kAny},
        {6, qxColorThemeSilver, RGB(224, 224, 235), RGB(242, 242, 246), RGB(160, 158, 186), RGB(224, 225, 235),
         RGB(215, 215, 229), RGB(243, 243, 247), black, kAny},
        {9, qxColorThemeBlue, RGB(204, 199, 186), RGB(204, 199, 186), RGB(59, 128, 237), RGB(49, 106, 197), kAny,
         kAny, black, kAny},
        {9, qxColorThemeOlive, RGB(204, 199, 186), RGB(204, 199, 186), RGB(182, 195, 146), RGB(145, 160, 117),
         RGB(229, 229, 215), RGB(244, 241, 231), black, kAny},
        {9, qxColorThemeSilver, RGB(240, 240, 245), RGB(240, 240, 245), RGB(211, 212, 221), RGB(166, 165, 191),
         RGB(215, 215, 229), RGB(243, 243, 247), black, RGB(145, 155, 156)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "theme " << r.theme << " scheme " << r.scheme);
        SchemeScope scope(r.scheme);
        // Theme 10's fixed blue look: the program carries the Office 2007
        // theme module, so its text is taken away for this row.
        std::unique_ptr<qmtest::ScopedThemeText> noTheme;
        if (r.theme == 10)
            noTheme = std::make_unique<qmtest::ScopedThemeText>("");
        auto pm = Theme(r.theme);
        EXPECT_EQ(r.inactive0, pm->m_clrInactiveCaption[0]);
        EXPECT_EQ(r.inactive1, pm->m_clrInactiveCaption[1]);
        if (r.active0 != kAny) {
            EXPECT_EQ(r.active0, pm->m_clrActiveCaption[0]);
            EXPECT_EQ(r.active1, pm->m_clrActiveCaption[1]);
        }
        if (r.back0 != kAny) {
            EXPECT_EQ(r.back0, pm->m_clrBackground[0]);
            EXPECT_EQ(r.back1, pm->m_clrBackground[1]);
            // The auto-hide panels share the background.
            EXPECT_EQ(r.back0, pm->m_clrPanelBack[0]);
            EXPECT_EQ(r.back1, pm->m_clrPanelBack[1]);
        }
        EXPECT_EQ(r.inactiveText, pm->m_clrInactiveCaptionText);
        if (r.border != kAny)
            EXPECT_EQ(r.border, pm->m_clrBorder);
        EXPECT_TRUE(pm->m_bGradientCaptions);
        EXPECT_EQ(4, pm->m_nSplitterStyle);
    }
}

// On screen: an inactive caption of the Luna theme starts with its scheme's
// colour at the top of the strip; pictures of each scheme are kept.
TEST(DockingThemeColors, CaptionsShowTheSchemeOnScreen)
{
    struct Row {
        int scheme;
        const char* name;
        COLORREF top; // the inactive strip's first row
    } rows[] = {
        {qxColorThemeBlue, "blue", RGB(221, 236, 254)},
        {qxColorThemeOlive, "olive", RGB(244, 247, 222)},
        {qxColorThemeSilver, "silver", RGB(249, 249, 255)},
    };
    COLORREF seen[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const Row& r = rows[i];
        SCOPED_TRACE(r.name);
        SchemeScope scope(r.scheme);
        docktest::Docking d(true);
        d.manager.SetTheme(2);
        d.Create(1, dockLeftOf);
        d.site.Layout();
        qmtest::PumpFor(50);
        CQXPDockingPane* pane = d.manager.FindPane(1);
        auto* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(pane->GetContainer());
        ASSERT_NE(nullptr, t);
        ASSERT_FALSE(t->IsActive());
        HWND h = t->GetSafeHwnd();
        ::RedrawWindow(h, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        RECT rc;
        ::GetClientRect(h, &rc);
        HDC hdc = ::GetDC(h);
        // The strip starts at the caption's top.
        seen[i] = ::GetPixel(hdc, rc.right - 50, rc.top);
        ::ReleaseDC(h, hdc);
        EXPECT_EQ(r.top, seen[i]);
        EXPECT_EQ(r.top, d.manager.GetPaintManager()->m_clrInactiveCaption[0]);
        qmtest::SaveWindowShot(h, QM_BIN_DIR, std::string("dock-theme2-") + r.name + ".png");
    }
    // Three schemes, three looks.
    EXPECT_NE(seen[0], seen[1]);
    EXPECT_NE(seen[1], seen[2]);
}

// Theme 10 on screen, with the Office 2007 theme text and without it: the
// caption band's top line is WindowFrame (colour 54) and the inactive
// gradient runs NormalCaptionLight to NormalCaptionDark, else fixed blues.
TEST(DockingThemeColors, ThemeTenTakesTheOffice2007CaptionsOnScreen)
{
    struct Row {
        const char* text; // NULL: the program's own theme text
        const char* name;
        COLORREF top;
        bool bGreen; // the caption's middle is green rather than blue
    } rows[] = {
        {NULL, "office2007", RGB(101, 147, 207), false},
        {"[Window]\r\nWindowFrame = 10 120 10\r\n[DockingPane]\r\nNormalCaptionLight = 200 240 200\r\n"
         "NormalCaptionDark = 120 180 120\r\n",
         "green", RGB(10, 120, 10), true},
        {"", "without-theme", RGB(101, 147, 207), false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::unique_ptr<qmtest::ScopedThemeText> text;
        if (r.text)
            text = std::make_unique<qmtest::ScopedThemeText>(r.text);
        docktest::Docking d(true);
        d.manager.SetTheme(10);
        d.Create(1, dockLeftOf);
        d.site.Layout();
        qmtest::PumpFor(50);
        auto* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(d.manager.FindPane(1)->GetContainer());
        ASSERT_NE(nullptr, t);
        HWND h = t->GetSafeHwnd();
        ::RedrawWindow(h, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        RECT rc;
        ::GetClientRect(h, &rc);
        HDC hdc = ::GetDC(h);
        // The frame line lies along the band's top, a row or two down.
        bool bFrameLine = false;
        for (int y = rc.top; y < rc.top + 5; ++y)
            bFrameLine |= ::GetPixel(hdc, rc.right - 50, y) == r.top;
        COLORREF clrMiddle = ::GetPixel(hdc, rc.right - 50, rc.top + 8);
        ::ReleaseDC(h, hdc);
        EXPECT_TRUE(bFrameLine) << "no WindowFrame line " << std::hex << r.top;
        EXPECT_EQ(r.bGreen, GetGValue(clrMiddle) > GetBValue(clrMiddle) + 20) << std::hex << clrMiddle;
        qmtest::SaveWindowShot(h, QM_BIN_DIR, std::string("dock-theme10-") + r.name + ".png");
    }
}

// Splitter bars by the style bits, read back from a memory bitmap: rows of a
// horizontal bar from its top edge.
TEST(DockingThemeColors, SplitterStyles)
{
    auto pm = Theme(0);
    pm->m_nSplitterSize = 6;
    const int cx = 60, cy = 6;
    HDC hScreen = ::GetDC(NULL);
    CBitmap bitmap; // outlives the DC that selects it
    bitmap.Attach(::CreateCompatibleBitmap(hScreen, cx, cy));
    ::ReleaseDC(NULL, hScreen);
    GdiObjectDC memory(NULL, bitmap.m_hObject);
    HDC hdc = memory;
    const RECT rc = {0, 0, cx, cy};
    const COLORREF face = pm->m_clrFace, c20 = pm->GetColor(COLOR_BTNHIGHLIGHT), c52 = pm->GetColor(qxColorControlBorder),
                   c18 = pm->GetColor(COLOR_BTNTEXT), c21 = pm->GetColor(COLOR_3DDKSHADOW),
                   c5 = pm->GetColor(COLOR_WINDOW);
    struct Row {
        int style;
        int x;
        COLORREF rows[6];
    } rows[] = {
        {0, 10, {face, face, face, face, face, face}},
        {1, 10, {c20, face, face, face, c52, c18}},
        {3, 10, {c20, face, face, face, c52, c18}}, // bit 0 wins over bit 1
        {2, 10, {c21, c5, c5, face, face, c21}},
        // The centre mark: lines 2 and 4 about the middle, none near the ends.
        {0x100, cx / 2, {face, face, pm->m_clrBorder, face, pm->m_clrBorder, face}},
        {0x100, 5, {face, face, face, face, face, face}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "style " << r.style << " x " << r.x);
        pm->m_nSplitterStyle = r.style;
        pm->DrawSplitter(hdc, rc, TRUE);
        for (int y = 0; y < cy; ++y)
            EXPECT_EQ(r.rows[y], ::GetPixel(hdc, r.x, y)) << "row " << y;
    }
    // The dotted grip: a dot every 4 pixels about the middle, the border
    // colour above and left of the highlight.
    pm->m_nSplitterStyle = 0x200;
    pm->DrawSplitter(hdc, rc, TRUE);
    const int middle = cx / 2, across = cy / 2 - 1;
    EXPECT_EQ(pm->m_clrBorder, ::GetPixel(hdc, middle, across));
    EXPECT_EQ(c20, ::GetPixel(hdc, middle + 2, across + 2));
    EXPECT_EQ(pm->m_clrBorder, ::GetPixel(hdc, middle + 4, across));
    EXPECT_EQ(face, ::GetPixel(hdc, middle + 3, across - 1));
    // A vertical bar turns the same rows into columns.
    pm->m_nSplitterStyle = 1;
    const RECT rcV = {0, 0, 6, cy};
    pm->DrawSplitter(hdc, rcV, FALSE);
    EXPECT_EQ(c20, ::GetPixel(hdc, 0, 3));
    EXPECT_EQ(c52, ::GetPixel(hdc, 4, 3));
    EXPECT_EQ(c18, ::GetPixel(hdc, 5, 3));
}

// Channels within a few steps of each other (gradients round).
bool Alike(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= 3 && std::abs(GetGValue(a) - GetGValue(b)) <= 3 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 3;
}

// The colour at pos of a gradient from a (at 0) to b (at span).
COLORREF Along(COLORREF a, COLORREF b, int pos, int span)
{
    auto mix = [&](int x, int y) { return x + (y - x) * pos / span; };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

// On screen, gradient splitters and theme 6's tab headers show their slices
// of one gradient over the frame window, so that neighbours join.
TEST(DockingThemeColors, GradientsSpanTheFrameOnScreen)
{
    SchemeScope scope(qxColorThemeOlive);
    docktest::Docking d(true);
    d.manager.SetTheme(6);
    CQXPDockingPane* a = d.Create(1, dockLeftOf);
    d.manager.AttachPane(d.Create(2, dockLeftOf), a);
    d.site.Layout();
    qmtest::PumpFor(50);
    auto* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(a->GetContainer());
    ASSERT_NE(nullptr, t);
    ASSERT_EQ(2, t->GetTabManager()->GetItemCount());
    CDockingPanePaintManager* pm = d.manager.GetPaintManager();
    const TabColorSet& c = pm->GetTabPainter()->GetColors();
    ASSERT_EQ(RGB(229, 229, 215), c.clrHeader[0]);
    HWND h = t->GetSafeHwnd();
    ::RedrawWindow(h, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    // A point of the header beside the last tab, and where it lies in the
    // frame's client area.
    const RECT& rcHeader = t->GetTabManager()->m_rcHeaderRect;
    const RECT& rcLast = t->GetTabManager()->GetItem(1)->GetRect();
    ASSERT_LT(rcLast.right + 12, rcHeader.right);
    POINT pt = {rcLast.right + 8, (rcHeader.top + rcHeader.bottom) / 2};
    HDC hdc = ::GetDC(h);
    const COLORREF seen = ::GetPixel(hdc, pt.x, pt.y);
    ::ReleaseDC(h, hdc);
    POINT inFrame = pt;
    ::MapWindowPoints(h, d.site.m_hWnd, &inFrame, 1);
    RECT rcFrame;
    ::GetClientRect(d.site.m_hWnd, &rcFrame);
    // Tabs at the bottom: the header's second colour at the frame's top,
    // its first at the bottom.
    const COLORREF expected = Along(c.clrHeader[1], c.clrHeader[0], inFrame.y, rcFrame.bottom);
    EXPECT_PRED2(Alike, expected, seen) << "frame row " << inFrame.y;
    qmtest::SaveWindowShot(d.site.m_hWnd, QM_BIN_DIR, "dock-theme6-olive-frame.png");

    // A splitter of horizontal gradient style in a child window: its slice
    // of the gradient over the frame's width.
    ASSERT_EQ(4, pm->m_nSplitterStyle);
    HWND hBar = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 300, 40, 6, 100, d.site.m_hWnd, NULL,
                                  ::GetModuleHandle(NULL), NULL);
    ASSERT_TRUE(hBar != NULL);
    hdc = ::GetDC(hBar);
    const RECT rcBar = {0, 0, 6, 100};
    pm->DrawSplitter(hdc, rcBar, FALSE);
    const COLORREF bar = ::GetPixel(hdc, 3, 50);
    ::ReleaseDC(hBar, hdc);
    ::DestroyWindow(hBar);
    const int span = std::max<int>(rcFrame.right, ::GetSystemMetrics(SM_CXFULLSCREEN) / 2);
    EXPECT_PRED2(Alike, Along(pm->m_clrBackground[0], pm->m_clrBackground[1], 303, span), bar);
    EXPECT_NE(pm->m_clrBackground[0], bar) << "not a gradient of its own from its left edge";
}

// The caption's height: its margins (none in theme 6 and theme 9, built on
// it, nor in theme 8), the text band (the font's height, at least 13
// pixels) and the theme's extra height.
TEST(DockingThemeColors, CaptionHeights)
{
    struct Row {
        int theme;
        int extra;
        int marginTop, marginBottom;
    } rows[] = {{0, 5, 2, 1}, {2, 7, 2, 1}, {5, 2, 2, 1}, {6, 5, 0, 0}, {7, 3, 2, 1}, {8, 9, 0, 0}, {9, 5, 0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.theme);
        auto pm = Theme(r.theme);
        EXPECT_EQ(r.marginTop, pm->m_rcCaptionMargin.top);
        EXPECT_EQ(r.marginBottom, pm->m_rcCaptionMargin.bottom);
        // A small font still gives a 13-pixel text band.
        LOGFONTA lf = {};
        lf.lfHeight = -8;
        lstrcpyA(lf.lfFaceName, "Tahoma");
        pm->SetCaptionFont(&lf);
        EXPECT_EQ(13 + r.extra, pm->GetCaptionTextHeight());
        EXPECT_EQ(r.marginTop + r.marginBottom + 13 + r.extra, pm->GetCaptionHeight());
        // A large one gives its own height.
        lf.lfHeight = -24;
        pm->SetCaptionFont(&lf);
        HDC hdc = ::GetDC(NULL);
        HGDIOBJ hOld = ::SelectObject(hdc, ::CreateFontIndirectA(&lf));
        SIZE sz = {0, 0};
        ::GetTextExtentPoint32A(hdc, " ", 1, &sz);
        ::DeleteObject(::SelectObject(hdc, hOld));
        ::ReleaseDC(NULL, hdc);
        ASSERT_GT(sz.cy, 12);
        EXPECT_EQ(sz.cy + r.extra, pm->GetCaptionTextHeight());
        EXPECT_EQ(r.marginTop + r.marginBottom + sz.cy + r.extra, pm->GetCaptionHeight());
    }
}

// Theme 7 writes its captions in Arial at the icon titles' size; the others
// in the system's small caption font.
TEST(DockingThemeColors, ThemeSevenCaptionFont)
{
    LOGFONTA lfIconTitle = {};
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lfIconTitle), &lfIconTitle, 0));
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
    for (int nTheme : {7, 2}) {
        SCOPED_TRACE(nTheme);
        auto pm = Theme(nTheme);
        LOGFONTA lf = {};
        ASSERT_NE(0, ::GetObjectA(pm->m_hFont, sizeof(lf), &lf));
        if (nTheme == 7) {
            EXPECT_STREQ("Arial", lf.lfFaceName);
            EXPECT_EQ(lfIconTitle.lfHeight, lf.lfHeight);
        } else {
            EXPECT_STREQ(ncm.lfSmCaptionFont.lfFaceName, lf.lfFaceName);
            EXPECT_EQ(ncm.lfSmCaptionFont.lfHeight, lf.lfHeight);
        }
    }
}

// A system caption font of a Western character set is written in the
// caption face (Tahoma unless the program names another) when the paint
// manager prefers it; a font the program chose keeps its face and stays
// through refreshes, a system font is taken again.
TEST(DockingThemeColors, CaptionFontFaceAndTheTahomaPreference)
{
    const bool bTahoma = IsFontInstalled("Tahoma") != FALSE;
    EXPECT_STREQ("Tahoma", Theme(0)->m_strCaptionFaceName);
    // An installed face other than the one given and Tahoma.
    const char* other = NULL;
    for (const char* face : {"Arial", "Times New Roman", "Marlett", "Symbol"})
        if (!other && IsFontInstalled(face))
            other = face;
    ASSERT_NE(nullptr, other) << "no second font face on this system";
    struct Row {
        const char* what;
        BOOL prefer, useSystem;
        BYTE charSet;
        const char* captionFace; // NULL: the default
        const char* face;        // expected; NULL: the given face
    } rows[] = {
        {"preferred, system font", TRUE, TRUE, ANSI_CHARSET, NULL, bTahoma ? "Tahoma" : NULL},
        {"preferred, symbol set", TRUE, TRUE, SYMBOL_CHARSET, NULL, bTahoma ? "Tahoma" : NULL},
        {"preferred, program's font", TRUE, FALSE, ANSI_CHARSET, NULL, NULL},
        {"preferred, Japanese set", TRUE, TRUE, SHIFTJIS_CHARSET, NULL, NULL},
        {"not preferred", FALSE, TRUE, ANSI_CHARSET, NULL, NULL},
        {"preferred, another caption face", TRUE, TRUE, ANSI_CHARSET, other, other},
        {"another caption face, program's font", TRUE, FALSE, ANSI_CHARSET, other, NULL},
        {"another caption face, not preferred", FALSE, TRUE, ANSI_CHARSET, other, NULL},
        {"preferred, caption face not installed", TRUE, TRUE, ANSI_CHARSET, "Qx No Such Face", NULL},
        {"preferred, empty caption face", TRUE, TRUE, ANSI_CHARSET, "", NULL},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        auto pm = Theme(0);
        pm->m_bPreferTahoma = r.prefer;
        if (r.captionFace)
            pm->m_strCaptionFaceName = r.captionFace;
        LOGFONTA lf = {};
        lf.lfHeight = -13;
        lf.lfCharSet = r.charSet;
        lstrcpyA(lf.lfFaceName, "Courier New");
        pm->SetCaptionFont(&lf, r.useSystem);
        EXPECT_EQ(r.useSystem, pm->IsUseSystemFont());
        LOGFONTA got = {};
        ASSERT_NE(0, ::GetObjectA(pm->m_hFont, sizeof(got), &got));
        EXPECT_STREQ(r.face ? r.face : "Courier New", got.lfFaceName);
        EXPECT_EQ(-13, got.lfHeight);
        // The vertical face follows the preference too.
        const char* vertical = r.prefer && bTahoma        ? "Tahoma"
                               : IsFontInstalled("Arial") ? "Arial"
                               : r.face                   ? r.face
                                                          : "Courier New";
        EXPECT_STREQ(vertical, pm->GetVerticalCaptionFont().lfFaceName);
    }

    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
    auto pm = Theme(0);
    ASSERT_TRUE(pm->IsUseSystemFont()) << "the system's font by default";
    LOGFONTA lf = {};
    lf.lfHeight = -20;
    lstrcpyA(lf.lfFaceName, "Courier New");
    pm->SetCaptionFont(&lf);
    const int nTall = pm->GetCaptionTextHeight();
    pm->RefreshMetrics();
    LOGFONTA got = {};
    ASSERT_NE(0, ::GetObjectA(pm->m_hFont, sizeof(got), &got));
    EXPECT_STREQ("Courier New", got.lfFaceName) << "the program's font survives a refresh";
    EXPECT_EQ(-20, got.lfHeight);
    EXPECT_EQ(nTall, pm->GetCaptionTextHeight());
    pm->SetCaptionFont(&lf, TRUE);
    pm->RefreshMetrics();
    ASSERT_NE(0, ::GetObjectA(pm->m_hFont, sizeof(got), &got));
    EXPECT_STREQ(ncm.lfSmCaptionFont.lfFaceName, got.lfFaceName) << "a system font is read again";
    EXPECT_EQ(ncm.lfSmCaptionFont.lfHeight, got.lfHeight);
}

// Themes 2, 7, 10 and 3 make both tab painters themed, the others not
// (theme 8 while its rebar style draws): a themed painter's Luna set takes
// the desktop scheme's colours, an unthemed one's keeps the system's.
TEST(DockingThemeColors, ThemedTabPainters)
{
    SchemeScope scope(qxColorThemeBlue);
    for (int nTheme = 0; nTheme <= 10; ++nTheme) {
        SCOPED_TRACE(testing::Message() << "theme " << nTheme);
        auto p = Theme(nTheme);
        BOOL bThemed = nTheme == 2 || nTheme == 7 || nTheme == 10 || nTheme == 3;
        if (nTheme == 8)
            bThemed = p->IsVisualStyleActive(CDockingPanePaintManager::vsRebar);
        for (CQXPTabPainter* pTabs : {p->GetTabPainter(), p->GetPanelTabPainter()}) {
            EXPECT_EQ(bThemed, pTabs->m_bThemed) << (pTabs == p->GetTabPainter() ? "pane tabs" : "auto-hide tabs");
            pTabs->SetColor(4);
            const TabColorSet& c = pTabs->GetColors();
            EXPECT_EQ(bThemed, c.bLuna);
            if (bThemed) {
                EXPECT_EQ(RGB(196, 218, 250), c.clrHeader[0]) << "the blue scheme's header";
                EXPECT_EQ(RGB(162, 192, 246), c.clrNormalFace);
            } else {
                EXPECT_NE(RGB(196, 218, 250), c.clrHeader[0]) << "not the blue scheme's header";
                EXPECT_NE(RGB(162, 192, 246), c.clrNormalFace);
                EXPECT_NE(RGB(255, 192, 111), c.clrStateFill[0]) << "not the scheme's orange";
            }
        }
    }
}

// The docking themes' own tab colour sets: theme 6's and theme 9's for the
// tabbed containers and the auto-hide panels, by the desktop scheme, and
// theme 1's auto-hide set.
TEST(DockingThemeColors, DockingTabColorSets)
{
    const COLORREF white = RGB(255, 255, 255), grey = RGB(113, 111, 100);
    struct Row {
        int theme, scheme;
        bool autoHide;
        COLORREF header0, header1, normalText, selectedText, normalFace, shapeD;
        BOOL itemGradient;
    } rows[] = {
        {6, qxColorThemeOlive, false, RGB(229, 229, 215), RGB(244, 241, 231), kAny, kAny, kAny, white, TRUE},
        {6, qxColorThemeOlive, true, RGB(229, 229, 215), RGB(244, 241, 231), kAny, kAny, kAny, white, TRUE},
        {6, qxColorThemeSilver, false, RGB(215, 215, 229), RGB(243, 243, 247), kAny, kAny, RGB(242, 242, 247), white,
         TRUE},
        {9, qxColorThemeBlue, false, RGB(229, 229, 215), RGB(244, 241, 231), grey, kAny, kAny, white, FALSE},
        {9, qxColorThemeBlue, true, RGB(229, 229, 215), RGB(244, 241, 231), grey, grey, kAny, white, FALSE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "theme " << r.theme << " scheme " << r.scheme
                                        << (r.autoHide ? " auto-hide" : " tabbed"));
        SchemeScope scope(r.scheme);
        auto pm = Theme(r.theme);
        CQXPTabPainter* painter = r.autoHide ? pm->GetPanelTabPainter() : pm->GetTabPainter();
        const TabColorSet& c = painter->GetColors();
        EXPECT_EQ(r.theme, painter->GetDockingColorSet());
        EXPECT_EQ(r.header0, c.clrHeader[0]);
        EXPECT_EQ(r.header1, c.clrHeader[1]);
        EXPECT_EQ(c.clrHeader[0], c.clrClient[0]);
        EXPECT_EQ(r.normalText != kAny ? r.normalText : pm->GetColor(COLOR_3DDKSHADOW), c.clrNormalText);
        if (r.autoHide)
            EXPECT_EQ(r.selectedText != kAny ? r.selectedText : pm->GetColor(COLOR_3DDKSHADOW), c.clrSelectedText);
        else {
            EXPECT_EQ(pm->GetColor(COLOR_WINDOW), c.clrSelectedFace);
            EXPECT_EQ(pm->GetColor(COLOR_WINDOWTEXT), c.clrSelectedText);
        }
        if (r.normalFace != kAny)
            EXPECT_EQ(r.normalFace, c.clrNormalFace);
        EXPECT_EQ(r.shapeD, c.clrShape[tabShapeInnerLight]);
        EXPECT_EQ(r.itemGradient, c.bItemGradient);
    }
    // Without a scheme the header runs from the face to its light mix.
    {
        SchemeScope scope(qxColorThemeClassic);
        auto pm = Theme(6);
        const TabColorSet& c = pm->GetTabPainter()->GetColors();
        EXPECT_EQ(pm->GetColor(COLOR_3DFACE), c.clrHeader[0]);
        EXPECT_EQ(MixColors(pm->GetColor(COLOR_3DFACE), pm->GetColor(COLOR_WINDOW), 205), c.clrHeader[1]);
        EXPECT_FALSE(c.bItemGradient);
    }
    // Theme 1's auto-hide tabs (appearance 6): the flat set with dark text.
    {
        auto pm = Theme(1);
        CQXPTabPainter* panel = pm->GetPanelTabPainter();
        EXPECT_EQ(tabDockingSetGradient, panel->GetDockingColorSet());
        EXPECT_EQ(6, panel->GetAppearance());
        EXPECT_EQ(2, panel->GetColor());
        EXPECT_EQ(pm->GetColor(COLOR_3DDKSHADOW), panel->GetColors().clrNormalText);
        EXPECT_EQ(pm->GetColor(COLOR_3DDKSHADOW), panel->GetColors().clrSelectedText);
        EXPECT_EQ(tabDockingSetNone, pm->GetTabPainter()->GetDockingColorSet());
    }
}

// The whole colour table of theme 6's and theme 9's tab sets, built as
// those themes build it: the base set's colours (not colour set 1's: no
// checker state button, no set-1 outlines), then the theme's own.
static TabColorSet SchemeSetColors(int nTheme, int nScheme, bool bAutoHide)
{
    auto C = [](int n) { return ToolkitColorManager::Instance()->GetColor(n); };
    const COLORREF unset = (COLORREF)-1;
    TabColorSet c;
    // The base set.
    c.clrHeader[0] = c.clrHeader[1] = C(COLOR_3DFACE);
    c.clrBorder = C(COLOR_3DSHADOW);
    c.clrControlFace = C(COLOR_3DFACE);
    c.clrButtonHighlight = C(COLOR_3DHIGHLIGHT);
    c.clrSelectedFace = c.clrHotFace = c.clrPressedFace = c.clrNormalFace = C(COLOR_3DFACE);
    c.clrNormalText = c.clrInactiveText = c.clrSelectedText = C(COLOR_BTNTEXT);
    c.clrHotText = RGB(0, 0, 128);
    c.clrDisabledText = C(COLOR_GRAYTEXT);
    c.clrStateFill[0] = c.clrStateFill[1] = C(COLOR_WINDOW);
    c.clrStateFrame[0] = c.clrStateFrame[1] = C(COLOR_HIGHLIGHT);
    c.clrHighlight3D = C(COLOR_3DHIGHLIGHT);
    c.clrShadow3D = C(COLOR_3DSHADOW);
    c.clrDarkShadow3D = C(COLOR_3DDKSHADOW);
    c.clrShape[tabShapeOutline] = c.clrShape[tabShapeSelectedOutline] = C(COLOR_3DSHADOW);
    c.clrShape[tabShapeInner] = c.clrShape[tabShapeInnerLight] = C(COLOR_3DFACE);
    for (COLORREF& o : c.clrOutline)
        o = unset;
    c.clrOutline[1] = c.clrOutline[3] = c.clrOutline[7] = c.clrOutline[9] = C(COLOR_BTNTEXT);
    c.clrOutline[2] = c.clrOutline[8] = C(COLOR_3DSHADOW);
    c.clrOutline[10] = C(COLOR_WINDOW);
    c.clrOutline[11] = C(COLOR_3DSHADOW);
    c.bLuna = FALSE;
    c.bItemGradient = FALSE;
    // Theme 6.
    if (bAutoHide) {
        c.clrSelectedText = C(COLOR_3DDKSHADOW);
    } else {
        c.clrSelectedFace = C(COLOR_WINDOW);
        c.clrSelectedText = C(COLOR_WINDOWTEXT);
    }
    c.clrHeader[1] = MixColors(C(COLOR_3DFACE), C(COLOR_WINDOW), 205);
    c.clrNormalText = C(COLOR_3DDKSHADOW);
    if (nScheme == qxColorThemeBlue || nScheme == qxColorThemeOlive) {
        c.clrHeader[0] = RGB(229, 229, 215);
        c.clrHeader[1] = RGB(244, 241, 231);
    } else if (nScheme == qxColorThemeSilver) {
        c.clrNormalFace = RGB(242, 242, 247);
        c.clrShape[tabShapeOutline] = c.clrShape[tabShapeSelectedOutline] = RGB(145, 155, 156);
        c.clrShape[tabShapeInner] = RGB(190, 190, 216);
        c.clrHeader[0] = RGB(215, 215, 229);
        c.clrHeader[1] = RGB(243, 243, 247);
    }
    const bool bScheme = nScheme >= qxColorThemeBlue && nScheme <= qxColorThemeSilver;
    if (bScheme) {
        c.clrShape[tabShapeInnerLight] = RGB(255, 255, 255);
        c.bItemGradient = TRUE;
    }
    // Theme 9 on top: no shaded tabs, grey text on the three schemes.
    if (nTheme == 9) {
        c.bItemGradient = FALSE;
        if (bScheme) {
            c.clrNormalText = RGB(113, 111, 100);
            if (bAutoHide)
                c.clrSelectedText = c.clrNormalText;
        }
    }
    c.clrClient[0] = c.clrHeader[0];
    c.clrClient[1] = c.clrHeader[1];
    return c;
}

TEST(DockingThemeColors, SchemeAndBorderedSetsStartFromTheBaseColours)
{
    for (int nTheme : {6, 9})
        for (int nScheme : {qxColorThemeClassic, qxColorThemeBlue, qxColorThemeOlive, qxColorThemeSilver})
            for (bool bAutoHide : {false, true}) {
                SCOPED_TRACE(testing::Message() << "theme " << nTheme << " scheme " << nScheme
                                                << (bAutoHide ? " auto-hide" : " tabbed"));
                SchemeScope scope(nScheme);
                auto pm = Theme(nTheme);
                CQXPTabPainter* painter = bAutoHide ? pm->GetPanelTabPainter() : pm->GetTabPainter();
                const TabColorSet& c = painter->GetColors();
                const TabColorSet want = SchemeSetColors(nTheme, nScheme, bAutoHide);
                for (int i = 0; i < 2; ++i) {
                    EXPECT_EQ(want.clrHeader[i], c.clrHeader[i]) << "header " << i;
                    EXPECT_EQ(want.clrClient[i], c.clrClient[i]) << "client " << i;
                    EXPECT_EQ(want.clrStateFill[i], c.clrStateFill[i]) << "state-button fill " << i;
                    EXPECT_EQ(want.clrStateFrame[i], c.clrStateFrame[i]) << "state-button frame " << i;
                }
                EXPECT_EQ(want.clrBorder, c.clrBorder);
                EXPECT_EQ(want.clrControlFace, c.clrControlFace);
                EXPECT_EQ(want.clrButtonHighlight, c.clrButtonHighlight);
                EXPECT_EQ(want.clrSelectedFace, c.clrSelectedFace);
                EXPECT_EQ(want.clrHotFace, c.clrHotFace);
                EXPECT_EQ(want.clrPressedFace, c.clrPressedFace);
                EXPECT_EQ(want.clrNormalFace, c.clrNormalFace);
                EXPECT_EQ(want.clrNormalText, c.clrNormalText);
                EXPECT_EQ(want.clrInactiveText, c.clrInactiveText);
                EXPECT_EQ(want.clrSelectedText, c.clrSelectedText);
                EXPECT_EQ(want.clrHotText, c.clrHotText);
                EXPECT_EQ(want.clrDisabledText, c.clrDisabledText);
                EXPECT_EQ(want.clrHighlight3D, c.clrHighlight3D);
                EXPECT_EQ(want.clrShadow3D, c.clrShadow3D);
                EXPECT_EQ(want.clrDarkShadow3D, c.clrDarkShadow3D);
                for (int i = 0; i < tabShapeCount; ++i)
                    EXPECT_EQ(want.clrShape[i], c.clrShape[i]) << "shape colour " << i;
                for (int i = 1; i < tabOutlineCount; ++i)
                    EXPECT_EQ(want.clrOutline[i], c.clrOutline[i]) << "outline colour " << i;
                EXPECT_EQ(want.bLuna, c.bLuna);
                EXPECT_EQ(want.bItemGradient, c.bItemGradient);
            }
}

// Theme 5 stripes its captions: the pane on colour 30 (inactive), a face
// line on top, four stripes in colour 38 between the title and the buttons.
TEST(DockingThemeColors, StripedCaptionsOnScreen)
{
    docktest::Docking d(true);
    d.manager.SetTheme(5);
    CQXPDockingPane* pane = d.Create(1, dockLeftOf);
    pane->SetTitle("S");
    d.site.Layout();
    qmtest::PumpFor(50);
    auto* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(pane->GetContainer());
    ASSERT_NE(nullptr, t);
    ASSERT_FALSE(t->IsActive());
    CDockingPanePaintManager* pm = d.manager.GetPaintManager();
    HWND h = t->GetSafeHwnd();
    ::RedrawWindow(h, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT rc;
    ::GetClientRect(h, &rc);
    const int top = pm->m_rcCaptionMargin.top, bottom = pm->GetCaptionHeight() - pm->m_rcCaptionMargin.bottom;
    const int mid = (top + bottom) / 2, x = rc.right - 45;
    HDC hdc = ::GetDC(h);
    EXPECT_EQ(pm->m_clrFace, ::GetPixel(hdc, x, 0));
    EXPECT_EQ(pm->GetColor(qxColorBarFace), ::GetPixel(hdc, x, 1));
    for (int dy : {-3, -1, 1, 3})
        EXPECT_EQ(pm->GetColor(qxColorGripper), ::GetPixel(hdc, x, mid + dy)) << dy;
    EXPECT_EQ(pm->GetColor(qxColorBarFace), ::GetPixel(hdc, x, mid - 2));
    // Below the caption, the pane's own background.
    EXPECT_EQ(pm->GetColor(qxColorBarFace), ::GetPixel(hdc, x, pm->GetCaptionHeight() + 1));
    ::ReleaseDC(h, hdc);
    qmtest::SaveWindowShot(h, QM_BIN_DIR, "dock-theme5-striped.png");
}

// With the caption-icon option the selected pane's icon stands before the
// title, greyed when the pane is disabled; without it the caption has none.
TEST(DockingThemeColors, CaptionIcon)
{
    // A red 16 x 16 icon.
    HDC hScreen = ::GetDC(NULL);
    CBitmap color;
    color.Attach(::CreateCompatibleBitmap(hScreen, 16, 16));
    ::ReleaseDC(NULL, hScreen);
    {
        GdiObjectDC memory(NULL, color.m_hObject);
        CDC::FromHandle(memory)->FillSolidRect(0, 0, 16, 16, RGB(255, 0, 0));
    }
    std::vector<BYTE> bits(16 * 2, 0);
    CBitmap mask;
    mask.Attach(::CreateBitmap(16, 16, 1, 1, bits.data()));
    ICONINFO ii = {TRUE, 0, 0, (HBITMAP)mask.m_hObject, (HBITMAP)color.m_hObject};
    HICON hRed = ::CreateIconIndirect(&ii);
    ASSERT_NE((HICON)NULL, hRed);

    docktest::Docking d(true);
    CQXPDockingPane* pane = d.Create(1, dockLeftOf);
    pane->SetTitle("Icon");
    d.manager.SetIcon(1, hRed);
    CDockingPanePaintManager* pm = d.manager.GetPaintManager();
    d.site.Layout();
    qmtest::PumpFor(50);
    auto* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(pane->GetContainer());
    ASSERT_NE(nullptr, t);
    HWND h = t->GetSafeHwnd();
    const int top = pm->m_rcCaptionMargin.top, bottom = pm->GetCaptionHeight() - pm->m_rcCaptionMargin.bottom;
    const POINT probe = {4 + 8, (top + bottom) / 2};
    auto pixel = [&] {
        ::RedrawWindow(h, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        HDC hdc = ::GetDC(h);
        COLORREF clr = ::GetPixel(hdc, probe.x, probe.y);
        ::ReleaseDC(h, hdc);
        return clr;
    };
    EXPECT_NE(RGB(255, 0, 0), pixel());
    pm->m_bShowCaptionIcon = TRUE;
    EXPECT_EQ(RGB(255, 0, 0), pixel());
    ::SetForegroundWindow(d.site.m_hWnd);
    qmtest::PumpFor(200);
    qmtest::SaveWindowShot(h, QM_BIN_DIR, "dock-caption-icon.png");
    EXPECT_EQ(RGB(255, 0, 0), pixel());
    pane->SetEnabled(2); // disabled: the icon is greyed
    EXPECT_NE(RGB(255, 0, 0), pixel());
}
