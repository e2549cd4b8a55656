// The paint manager base: colour table, factory and global paint manager,
// fonts and metrics, sizes, caption splitting, marks, glyphs, animations,
// expand buttons and status panes.
#include "PaintTestSupport.h"

#include <qx/drawing.h>

using namespace painttest;

namespace {

struct PaintManagerTest : ::testing::Test {
    FixedColors colors;
};

TEST_F(PaintManagerTest, ColorTableReturnsLiteralsAboveTheTableAndEntriesBelow)
{
    ThemeHolder theme(qxpThemeWindows2000);
    EXPECT_EQ((COLORREF)63, theme->GetColor(63));
    EXPECT_EQ((COLORREF)0x00123456, theme->GetColor(0x00123456));
    EXPECT_EQ(RGB(255, 255, 255), theme->GetColor(COLOR_WINDOW));  // window
    EXPECT_EQ(RGB(212, 208, 200), theme->GetColor(COLOR_BTNFACE)); // button face
    EXPECT_EQ(RGB(0, 0, 0), theme->GetColor(qxColorBlack));
    // An override wins over the standard colour.
    theme->GetColorTable()->GetAt(15)->Set(RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), theme->GetColor(COLOR_BTNFACE));
}

TEST_F(PaintManagerTest, FactoryMapsNumbersToThemes)
{
    struct Row {
        int nNumber;
        int nThemeId;
        const char* name;
    };
    const Row rows[] = {
        {0, qxpThemeWindows2000, "ToolkitPaintThemeD"},
        {1, qxpThemeOfficeXP, "ToolkitPaintThemeA"},
        {2, qxpThemeOffice2003, "ToolkitPaintThemeB"},
        {3, qxpThemeWindowsXP, "ToolkitPaintThemeE"},
        {4, qxpThemeWhidbey, "ToolkitPaintThemeC"},
        {5, qxpThemeOffice2003, "ToolkitPaintThemeB"},
        {6, qxpThemeOffice2003, "ToolkitPaintThemeB"},
        {7, qxpThemeWindows2000, "ToolkitPaintThemeD"},
        {-1, qxpThemeWindows2000, "ToolkitPaintThemeD"},
        {99, qxpThemeWindows2000, "ToolkitPaintThemeD"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.nNumber);
        CQXPThemePainter* p = CreateThemePainter(r.nNumber);
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(r.nThemeId, p->GetCurrentTheme()) << r.name;
        EXPECT_EQ(r.nNumber, p->m_nThemeNumber);
        p->InternalRelease();
    }
}

TEST_F(PaintManagerTest, ThemeCommandsMapBothWays)
{
    const int ids[] = {qxpThemeWindows2000, qxpThemeWindowsXP, qxpThemeWhidbey, qxpThemeOfficeXP, qxpThemeOffice2003};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(720 + i, ThemeCommandFromId(ids[i]));
        EXPECT_EQ(ids[i], ThemeIdFromCommand(720 + i));
    }
    EXPECT_EQ(-1, ThemeIdFromCommand(719));
    EXPECT_EQ(-1, ThemeIdFromCommand(725));
    EXPECT_EQ(-1, ThemeCommandFromId(qxpThemeRibbon));
}

// A theme that counts its destruction.
struct CountingTheme : ToolkitPaintThemeD {
    static int s_nDestroyed;
    ~CountingTheme() override { ++s_nDestroyed; }
};
int CountingTheme::s_nDestroyed = 0;

CQXPThemePainter* AFXAPI CreateCounting() { return new CountingTheme; }

TEST_F(PaintManagerTest, GlobalPaintManagerIsReplacedAndReleased)
{
    ReleaseGlobalPaintManager();
    EXPECT_FALSE(HasGlobalPaintManager());
    CQXPThemePainter* pDefault = GetGlobalPaintManager();
    ASSERT_NE(nullptr, pDefault);
    EXPECT_EQ(qxpThemeWindows2000, pDefault->GetCurrentTheme());
    EXPECT_EQ(0, pDefault->m_nThemeNumber);
    EXPECT_GT(pDefault->GetTextHeight(), 0) << "installation refreshes the metrics";

    CountingTheme::s_nDestroyed = 0;
    CQXPThemePainter* pCustom = new CountingTheme;
    SetCustomPaintManager(pCustom);
    EXPECT_EQ(pCustom, GetGlobalPaintManager());
    EXPECT_EQ(qxpThemeCustom, pCustom->m_nThemeNumber);
    EXPECT_GT(pCustom->GetTextHeight(), 0);

    SetGlobalPaintManager(qxpThemeOffice2003);
    EXPECT_EQ(1, CountingTheme::s_nDestroyed) << "the previous paint manager is released";
    EXPECT_EQ(qxpThemeOffice2003, GetGlobalPaintManager()->GetCurrentTheme());
    EXPECT_EQ(qxpThemeOffice2003, GetGlobalPaintManager()->m_nThemeNumber);

    // The NULL form only creates a paint manager when there is none.
    CQXPThemePainter* pCurrent = GetGlobalPaintManager();
    SetGlobalPaintManager((CQXPThemePainter*)nullptr);
    EXPECT_EQ(pCurrent, GetGlobalPaintManager());
    ReleaseGlobalPaintManager();
    SetGlobalPaintManager((CQXPThemePainter*)nullptr);
    EXPECT_TRUE(HasGlobalPaintManager());

    // The ribbon subsystem's themes come from their registered creators.
    RegisterThemeCreator(qxpThemeOffice2007, CreateCounting);
    CQXPThemePainter* p = CreateThemePainter(qxpThemeOffice2007);
    EXPECT_NE(nullptr, dynamic_cast<CountingTheme*>(p));
    EXPECT_EQ(qxpThemeOffice2007, p->m_nThemeNumber);
    p->InternalRelease();
    RegisterThemeCreator(qxpThemeOffice2007, NULL);
    ReleaseGlobalPaintManager();
}

// Non-client metrics with a chosen menu font height.
static LONG s_nMenuHeight = -11;
static BOOL AFXAPI MetricsWithMenuHeight(NONCLIENTMETRICSA* pMetrics)
{
    ZeroMemory(pMetrics, sizeof(*pMetrics));
    pMetrics->cbSize = sizeof(*pMetrics);
    LOGFONTA lf;
    ZeroMemory(&lf, sizeof(lf));
    lf.lfHeight = -11;
    lf.lfWeight = FW_NORMAL;
    lstrcpyA(lf.lfFaceName, "Tahoma");
    pMetrics->lfCaptionFont = pMetrics->lfSmCaptionFont = pMetrics->lfStatusFont = pMetrics->lfMessageFont = lf;
    lf.lfHeight = s_nMenuHeight;
    pMetrics->lfMenuFont = lf;
    return TRUE;
}

TEST_F(PaintManagerTest, SmallMenuFontsAreRaisedTo11Pixels)
{
    struct Row {
        LONG nMenu;
        LONG nExpected;
    };
    const Row rows[] = {{-8, -11}, {-10, -11}, {-1, -11}, {-11, -11}, {-12, -12}, {14, 14}, {0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.nMenu);
        CQXPThemePainter* p = CreateThemePainter(qxpThemeWindows2000);
        p->m_pfnNonClientMetrics = MetricsWithMenuHeight;
        s_nMenuHeight = r.nMenu;
        p->RefreshFonts();
        LOGFONTA lf;
        ASSERT_TRUE(p->m_fontRegular.GetLogFont(&lf));
        EXPECT_EQ(r.nExpected, lf.lfHeight);
        ASSERT_TRUE(p->m_fontRegularBold.GetLogFont(&lf));
        EXPECT_EQ(r.nExpected, lf.lfHeight);
        EXPECT_EQ(FW_BOLD, lf.lfWeight);
        ASSERT_TRUE(p->m_fontVert.GetLogFont(&lf));
        EXPECT_EQ(2700, lf.lfEscapement);
        EXPECT_EQ(900, lf.lfOrientation);
        ASSERT_TRUE(p->m_fontVertBold.GetLogFont(&lf));
        EXPECT_EQ(FW_BOLD, lf.lfWeight);
        ASSERT_TRUE(p->m_fontIconBold.GetLogFont(&lf));
        EXPECT_EQ(FW_BOLD, lf.lfWeight);
        // The text height is a space's height in the regular font plus 6.
        EXPECT_EQ(TextExtent((HFONT)p->m_fontRegular.GetSafeHandle(), " ").cy + 6, p->GetTextHeight());
        p->InternalRelease();
    }
}

TEST_F(PaintManagerTest, ControlHeightAndAutomaticIconSizes)
{
    ThemeHolder theme(qxpThemeWindows2000);
    theme->m_nTextHeight = 10;
    EXPECT_EQ(22, theme->GetControlHeight());
    theme->m_nTextHeight = 30;
    EXPECT_EQ(30, theme->GetControlHeight());

    struct Row {
        BOOL bAuto;
        int nTextHeight;
        BOOL bLarge;
        int nExpected;
    };
    const Row rows[] = {
        {FALSE, 40, FALSE, 16},
        {FALSE, 40, TRUE, 32},
        {TRUE, 16, FALSE, 16},
        {TRUE, 16, TRUE, 32},
        {TRUE, 40, FALSE, 32},
        {TRUE, 40, TRUE, 72},
        {TRUE, 10, FALSE, 16},
        {TRUE, 24, FALSE, 16},
        {TRUE, 28, FALSE, 24},
    };
    for (const Row& r : rows) {
        theme->m_bAutoResizeIcons = r.bAuto;
        theme->m_nTextHeight = r.nTextHeight;
        CSize sz = theme->GetAutoIconSize(r.bLarge);
        EXPECT_EQ(CSize(r.nExpected, r.nExpected), sz) << r.bAuto << " " << r.nTextHeight << " " << r.bLarge;
    }
}

TEST(PaintManagerStatics, SplitCaptionBreaksAtTheSpaceNearestTheMiddle)
{
    struct Row {
        const char* caption;
        const char* first;
        const char* second;
    };
    const Row rows[] = {
        {"Save As", "Save", "As"},
        {"Print", "Print", ""},
        {"Print Preview", "Print", "Preview"},
        {"New Window Here", "New Window", "Here"},
        {"A B", "A B", ""},     // shorter than 4
        {" Lead", " Lead", ""}, // the only space is the first character
        {"", "", ""},
        {"Go To Line", "Go To", "Line"},
    };
    for (const Row& r : rows) {
        CString a, b;
        CQXPThemePainter::SplitCaption(r.caption, a, b);
        EXPECT_STREQ(r.first, a.GetString()) << r.caption;
        EXPECT_STREQ(r.second, b.GetString()) << r.caption;
    }
    CString s = "&File A&&B";
    CQXPThemePainter::StripAccelerator(s);
    EXPECT_STREQ("File A&B", s.GetString());
}

TEST_F(PaintManagerTest, PopupColumnAndSplitDropDownWidths)
{
    ThemeHolder theme(qxpThemeWindows2000);
    theme->m_nTextHeight = 19;
    EXPECT_EQ(CSize(23, 22), theme->GetPopupIconColumnSize(CSize(16, 16)));
    EXPECT_EQ(CSize(36, 38), theme->GetPopupIconColumnSize(CSize(32, 32)));
    theme->m_nTextHeight = 30;
    EXPECT_EQ(CSize(34, 30), theme->GetPopupIconColumnSize(CSize(16, 16)));

    TestBar popup;
    popup.nType = qxpBarTypePopup;
    popup.nPosition = qxpBarPopup;
    theme->m_nTextHeight = 19;
    EXPECT_EQ(24, theme->GetSplitDropDownWidth(&popup));
    popup.bDoubleColumn = TRUE;
    EXPECT_EQ(47, theme->GetSplitDropDownWidth(&popup));
    TestBar toolbar;
    EXPECT_EQ(0, theme->GetSplitDropDownWidth(&toolbar));
    EXPECT_EQ(0, theme->GetSplitDropDownWidth(NULL));
}

TEST_F(PaintManagerTest, FloatingCaptionOfTheBaseGripper)
{
    ThemeHolder theme(qxpThemeWindows2000);
    TestBar bar;
    bar.nPosition = qxpBarFloating;
    bar.rcClient = CRect(0, 0, 200, 60);
    MemoryDC mem(200, 60);
    CSize sz = theme->DrawCommandBarGripper(mem.dc(), &bar, TRUE);
    int nTextHeight = TextExtent((HFONT)theme->m_fontSmCaption.GetSafeHandle(), "X").cy;
    int nBottom = nTextHeight >= 15 ? nTextHeight + 3 : 18;
    EXPECT_EQ(CSize(194, nBottom - 3), sz);
    // "Windows 2000" paints the caption in colour 2.
    EXPECT_EQ(theme->GetColor(COLOR_ACTIVECAPTION), mem.Pixel(3, 3));
    EXPECT_EQ(theme->GetColor(COLOR_ACTIVECAPTION), mem.Pixel(196, nBottom - 1));
    EXPECT_EQ(RGB(255, 255, 255), mem.Pixel(2, 2));
    EXPECT_EQ(RGB(255, 255, 255), mem.Pixel(100, nBottom));

    // Docked bars have no caption in the base.
    bar.nPosition = qxpBarTop;
    CQXPThemePainter* pBase = theme.p;
    EXPECT_EQ(CSize(0, 0), pBase->CQXPThemePainter::DrawCommandBarGripper(NULL, &bar, FALSE));
}

// A bar gets a frame when it may dock or float and its kind's setting is 0.
TEST_F(PaintManagerTest, BarFrameByKindSettingAndDockingFlags)
{
    ThemeHolder theme(qxpThemeWindows2000);
    struct Case {
        const char* what;
        int nPosition;
        DWORD dwFlags;
        int nPopupSetting, nBarSetting;
        BOOL bDrawn;
    } cases[] = {
        {"docked toolbar that may dock", qxpBarTop, 0x3F, 0, 0, TRUE},
        {"one low flag is enough", qxpBarLeft, 0x08, 0, 0, TRUE},
        {"no docking or floating", qxpBarTop, 0x70, 0, 0, FALSE},
        {"bars set frameless", qxpBarTop, 0x3F, 0, 1, FALSE},
        {"the popup setting leaves toolbars alone", qxpBarFloating, 0x3F, 1, 0, TRUE},
        {"popup bar", qxpBarPopup, 0x01, 0, 1, TRUE},
        {"popups set frameless", qxpBarPopup, 0x01, 1, 0, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestBar bar;
        bar.nPosition = c.nPosition;
        bar.dwFlags = c.dwFlags;
        theme->m_nPopupBarFrame = c.nPopupSetting;
        theme->m_nBarFrame = c.nBarSetting;
        EXPECT_EQ(c.bDrawn, theme->IsBarFrameDrawn(&bar));
    }
    EXPECT_FALSE(theme->IsBarFrameDrawn(NULL));
}

// The workspace behind MDI documents: colour 12 around the inner rectangle,
// which keeps what it had.
TEST_F(PaintManagerTest, WorkspaceFillsAroundTheInnerRectangle)
{
    ThemeHolder theme(qxpThemeOffice2003);
    const COLORREF clrOld = RGB(1, 2, 3);
    MemoryDC mem(120, 80, clrOld);
    theme->FillWorkspace(mem.dc(), CRect(10, 10, 110, 70), CRect(40, 30, 80, 50));
    const COLORREF clr12 = theme->GetColor(COLOR_APPWORKSPACE);
    struct Probe {
        int x, y;
        COLORREF clr;
    } probes[] = {
        // Around the inner rectangle, in it, outside the client rectangle.
        {10, 10, clr12},
        {109, 69, clr12},
        {39, 40, clr12},
        {80, 40, clr12},
        {40, 30, clrOld},
        {79, 49, clrOld},
        {9, 9, clrOld},
        {110, 70, clrOld},
    };
    for (const Probe& p : probes) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(p.clr, mem.Pixel(p.x, p.y));
    }
    // An empty inner rectangle covers nothing.
    theme->FillWorkspace(mem.dc(), CRect(10, 10, 110, 70), CRect(0, 0, 0, 0));
    EXPECT_EQ(clr12, mem.Pixel(60, 40));
}

TEST_F(PaintManagerTest, ExpandButtonMeasuringPlacesTheButton)
{
    ThemeHolder theme(qxpThemeWindows2000);
    struct Row {
        int nPosition;
        CRect expected;
    };
    const Row rows[] = {
        {qxpBarTop, CRect(187, 2, 198, 24)},
        {qxpBarBottom, CRect(187, 2, 198, 24)},
        {qxpBarFloating, CRect(187, 2, 198, 24)},
        {qxpBarLeft, CRect(2, 13, 198, 24)},
        {qxpBarRight, CRect(2, 13, 198, 24)},
        {qxpBarPopup, CRect(2, 13, 198, 24)},
    };
    for (const Row& r : rows) {
        TestBar bar;
        bar.nPosition = r.nPosition;
        TestControl button(&bar);
        EXPECT_EQ(CSize(0, 0), theme->DrawExpandButton(NULL, qxpExpandToolbar, &button, &bar, FALSE, 200, 26));
        EXPECT_EQ(r.expected, button.rc) << r.nPosition;
    }
    TestBar popup;
    popup.nType = qxpBarTypePopup;
    TestControl more(&popup);
    more.rc = CRect(0, 0, 100, 12);
    EXPECT_EQ(CSize(0, 12), theme->DrawExpandButton(NULL, qxpExpandPopup, &more, &popup, FALSE, 0, 0));
    MemoryDC mem(100, 12);
    EXPECT_EQ(CSize(0, 12), theme->DrawExpandButton(mem.dc(), qxpExpandPopup, &more, &popup, TRUE, 0, 0));
    // Black chevrons centred on the button: a stroke from (cx - 2, 2).
    EXPECT_EQ(RGB(0, 0, 0), mem.Pixel(48, 2));
    EXPECT_EQ(RGB(0, 0, 0), mem.Pixel(50, 4));
    EXPECT_EQ(CSize(0, 0), theme->DrawExpandButton(NULL, qxpExpandFloatClose, &more, &popup, FALSE, 0, 0));
    CSize sz(-1, -1);
    theme->DrawSpecialControl(&sz, NULL, qxpExpandPopup, &more, &popup, TRUE);
    EXPECT_EQ(CSize(0, 12), sz) << "a NULL DC measures";
}

TEST_F(PaintManagerTest, ToolbarExpandButtonShowsHiddenControls)
{
    ThemeHolder theme(qxpThemeWindows2000);
    TestBar bar;
    TestControl button(&bar);
    button.rc = CRect(10, 2, 21, 24);
    COLORREF clrText = theme->GetColor(COLOR_BTNTEXT);
    {
        MemoryDC mem(40, 30, theme->GetColor(COLOR_BTNFACE));
        theme->DrawExpandButton(mem.dc(), qxpExpandToolbar, &button, &bar, TRUE, 0, 0);
        // The down triangle's tip row (cx, bottom - 6) and no chevron.
        EXPECT_EQ(clrText, mem.Pixel(15, 18));
        EXPECT_EQ(0, mem.Count(CRect(10, 2, 21, 12), clrText));
    }
    {
        MemoryDC mem(40, 30, theme->GetColor(COLOR_BTNFACE));
        theme->DrawExpandButton(mem.dc(), qxpExpandToolbar, &button, &bar, TRUE, 1, 0);
        EXPECT_GT(mem.Count(CRect(10, 2, 21, 12), clrText), 0) << "chevrons near the top-left corner";
        EXPECT_EQ(clrText, mem.Pixel(12, 6));
    }
}

TEST_F(PaintManagerTest, MixPixelTakesTheExistingPixelOrTheSecondColour)
{
    MemoryDC mem(4, 4, RGB(255, 255, 255));
    CQXPThemePainter::MixPixel(mem.dc(), 0, 0, RGB(0, 0, 0), RGB(0, 0, 0), 0.5);
    EXPECT_EQ(RGB(127, 127, 127), mem.Pixel(0, 0));
    CQXPThemePainter::MixPixel(mem.dc(), 1, 0, RGB(0, 0, 0), RGB(200, 100, 40), -0.25);
    EXPECT_EQ(RGB(50, 25, 10), mem.Pixel(1, 0));
    CQXPThemePainter::MixPixel(mem.dc(), 2, 0, RGB(10, 20, 30), RGB(0, 0, 0), 0.0);
    EXPECT_EQ(RGB(10, 20, 30), mem.Pixel(2, 0));
}

TEST_F(PaintManagerTest, DotArrowAndCheckMarkPixels)
{
    ThemeHolder theme(qxpThemeWindows2000);
    const COLORREF red = RGB(255, 0, 0);
    {
        MemoryDC mem(12, 12);
        theme->DrawDot(mem.dc(), CRect(0, 0, 12, 12), red);
        // The 6 x 6 square centred at (6, 6): solid centre, untouched corners.
        EXPECT_EQ(red, mem.Pixel(5, 5));
        EXPECT_EQ(red, mem.Pixel(6, 6));
        EXPECT_EQ(RGB(255, 255, 255), mem.Pixel(3, 3));
        EXPECT_EQ(RGB(255, 255, 255), mem.Pixel(8, 8));
        EXPECT_EQ(RGB(255, 255, 255), mem.Pixel(2, 6));
        COLORREF edge = mem.Pixel(3, 5);
        EXPECT_EQ(255, GetRValue(edge));
        EXPECT_GT(GetGValue(edge), 0) << "the rim is mixed with the white underneath";
        EXPECT_LT(GetGValue(edge), 255);
    }
    {
        MemoryDC mem(20, 20);
        theme->DrawDownArrow(mem.dc(), CRect(0, 0, 20, 20), red);
        // k = 6: the triangle (4, 7), (16, 7), (10, 13).
        EXPECT_EQ(red, mem.Pixel(10, 7));
        EXPECT_EQ(red, mem.Pixel(5, 7));
        EXPECT_EQ(red, mem.Pixel(10, 12));
        EXPECT_EQ(RGB(255, 255, 255), mem.Pixel(10, 6));
        EXPECT_EQ(RGB(255, 255, 255), mem.Pixel(10, 15));
        EXPECT_EQ(RGB(255, 255, 255), mem.Pixel(3, 7));
    }
    {
        MemoryDC mem(8, 8);
        theme->DrawDownArrow(mem.dc(), CRect(0, 0, 8, 8), red);
        // k = 2 for narrow rectangles: (2, 3), (6, 3), (4, 5).
        EXPECT_EQ(red, mem.Pixel(4, 3));
        EXPECT_EQ(red, mem.Pixel(4, 4));
        EXPECT_EQ(RGB(255, 255, 255), mem.Pixel(4, 6));
    }
    for (BOOL bThick : {FALSE, TRUE}) {
        MemoryDC mem(16, 16);
        theme->m_bThickCheckMark = bThick;
        theme->DrawCheckMark(mem.dc(), CRect(0, 0, 16, 16), red);
        // Strokes (4,7)-(6,9)-(11,4) and (4,8)-(6,10)-(11,5).
        EXPECT_EQ(red, mem.Pixel(4, 7));
        EXPECT_EQ(red, mem.Pixel(6, 9));
        EXPECT_EQ(red, mem.Pixel(6, 10));
        EXPECT_EQ(red, mem.Pixel(9, 6));
        EXPECT_EQ(bThick ? red : RGB(255, 255, 255), mem.Pixel(6, 11)) << bThick;
        EXPECT_EQ(RGB(255, 255, 255), mem.Pixel(4, 5));
    }
}

TEST_F(PaintManagerTest, AnimationsCopyTheSourceAndStopAtZeroSteps)
{
    ThemeHolder theme(qxpThemeWindows2000);
    const COLORREF blue = RGB(0, 0, 255), white = RGB(255, 255, 255);
    for (int nKind : {qxpAnimateUnfold, qxpAnimateSlide, qxpAnimateFade}) {
        SCOPED_TRACE(nKind);
        MemoryDC src(40, 30, blue);
        {
            MemoryDC dest(40, 30, white);
            theme->m_nAnimationSteps = 0;
            theme->AnimatePopup(dest.dc(), src.dc(), CRect(0, 0, 40, 30), nKind);
            EXPECT_EQ(0, dest.Count(CRect(0, 0, 40, 30), blue)) << "zero steps draw nothing";
        }
        MemoryDC dest(40, 30, white);
        theme->m_nAnimationSteps = 2;
        theme->m_nAnimationDuration = 2;
        theme->AnimatePopup(dest.dc(), src.dc(), CRect(0, 0, 40, 30), nKind);
        if (nKind == qxpAnimateFade) {
            // One blended step half way: (255 * 127 + 0 * 128) >> 8 etc.
            COLORREF c = dest.Pixel(20, 15);
            EXPECT_EQ(RGB(127, 127, 254), c);
        } else {
            EXPECT_EQ(40 * 30, dest.Count(CRect(0, 0, 40, 30), blue)) << "the last step shows everything";
        }
    }
    MemoryDC dest(20, 20, white), src(20, 20, blue);
    theme->AnimatePopup(dest.dc(), src.dc(), CRect(0, 0, 20, 20), 7);
    EXPECT_EQ(0, dest.Count(CRect(0, 0, 20, 20), blue)) << "unknown kinds do nothing";
}

TEST_F(PaintManagerTest, StatusPanesFillFrameAndButtons)
{
    ThemeHolder theme(qxpThemeWindows2000);
    const COLORREF face = theme->GetColor(COLOR_BTNFACE);
    const COLORREF shadow = theme->GetColor(COLOR_BTNSHADOW), light = theme->GetColor(COLOR_BTNHIGHLIGHT);
    TestPane pane;
    pane.strText = "";
    pane.clrBack = RGB(0, 200, 0);
    {
        MemoryDC mem(50, 20, face);
        CRect rc(0, 0, 50, 20);
        theme->DrawStatusBarPane(mem.dc(), rc, &pane);
        EXPECT_EQ(face, mem.Pixel(0, 0)) << "inset by one pixel";
        EXPECT_EQ(RGB(0, 200, 0), mem.Pixel(1, 1));
        EXPECT_EQ(RGB(0, 200, 0), mem.Pixel(48, 18));
        EXPECT_EQ(face, mem.Pixel(49, 19));
    }
    pane.nStyle = CQXPStatusPaneView::styleNoBorders;
    {
        MemoryDC mem(50, 20, face);
        CRect rc(0, 0, 50, 20);
        theme->DrawStatusBarPane(mem.dc(), rc, &pane);
        EXPECT_EQ(RGB(0, 200, 0), mem.Pixel(0, 0)) << "no inset with 0x100";
        theme->DrawStatusPaneBorder(mem.dc(), rc, &pane, FALSE);
        EXPECT_EQ(RGB(0, 200, 0), mem.Pixel(0, 0)) << "no border with 0x100";
    }
    pane.nStyle = 0;
    {
        MemoryDC mem(50, 20, face);
        theme->DrawStatusPaneBorder(mem.dc(), CRect(0, 0, 50, 20), &pane, FALSE);
        EXPECT_EQ(shadow, mem.Pixel(0, 5));
        EXPECT_EQ(shadow, mem.Pixel(5, 0));
        EXPECT_EQ(light, mem.Pixel(49, 5));
        EXPECT_EQ(light, mem.Pixel(5, 19));
    }
    // A button pane shows its face only when current, pressed or flagged.
    struct Row {
        BOOL bCurrent, bPressed;
        UINT nStyle;
        bool bDrawn;
    };
    const Row rows[] = {{FALSE, FALSE, 0, false}, {TRUE, FALSE, 0, true}, {FALSE, TRUE, 0, true}};
    for (const Row& r : rows) {
        TestPane button;
        button.strText = "";
        button.bButton = TRUE;
        button.bCurrent = r.bCurrent;
        button.bPressed = r.bPressed;
        button.nStyle = r.nStyle;
        MemoryDC mem(50, 20, face);
        CRect rc(0, 0, 50, 20);
        theme->DrawStatusBarPane(mem.dc(), rc, &button);
        EXPECT_EQ(r.bDrawn, mem.Count(rc, face) != 50 * 20) << r.bCurrent << r.bPressed << r.nStyle;
    }
}

TEST_F(PaintManagerTest, StateAndTextColoursOfControls)
{
    ThemeHolder theme(qxpThemeWindows2000);
    TestBar bar;
    TestControl button(&bar, qxpControlButton, "Go");
    EXPECT_EQ(theme->GetColor(COLOR_WINDOW), theme->GetControlStateColor(&button));
    button.nEnabled = 0;
    EXPECT_EQ(theme->GetColor(COLOR_BTNFACE), theme->GetControlStateColor(&button));
    button.nEnabled = 4;
    EXPECT_EQ(theme->GetColor(COLOR_WINDOW), theme->GetControlStateColor(&button)) << "4 is enabled for buttons";
    TestControl split(&bar, qxpControlSplitButtonPopup, "Go");
    split.nEnabled = 4;
    EXPECT_EQ(theme->GetColor(COLOR_BTNFACE), theme->GetControlStateColor(&split)) << "4 is disabled for split popups";

    // Check boxes on toolbars take the plain state's colour.
    struct SpyColors : ToolkitPaintThemeA {
        int nSelected = -1, nChecked = -1;
        BOOL bPressed = -1, bPopped = -1;
        COLORREF GetRectangleTextColor(int s, BOOL p, BOOL, int c, BOOL o, int, int) override
        {
            nSelected = s, bPressed = p, nChecked = c, bPopped = o;
            return 0;
        }
    } spy;
    TestControl check(&bar, qxpControlCheckBox, "Wrap");
    check.nSelected = 1;
    check.bPressed = TRUE;
    check.nChecked = 1;
    check.bPopped = TRUE;
    spy.GetControlTextColor(&check);
    EXPECT_EQ(0, spy.nSelected);
    EXPECT_FALSE(spy.bPressed);
    EXPECT_EQ(0, spy.nChecked);
    EXPECT_FALSE(spy.bPopped);
    TestControl same(&bar, qxpControlButton, "Wrap");
    same.nSelected = 1;
    same.bPressed = TRUE;
    same.nChecked = 1;
    spy.GetControlTextColor(&same);
    EXPECT_EQ(1, spy.nSelected);
    EXPECT_TRUE(spy.bPressed);
    EXPECT_EQ(1, spy.nChecked);
    TestBar popup;
    popup.nType = qxpBarTypePopup;
    TestControl menuCheck(&popup, qxpControlCheckBox, "Wrap");
    menuCheck.nSelected = 1;
    spy.GetControlTextColor(&menuCheck);
    EXPECT_EQ(1, spy.nSelected) << "popups keep the real state";
}

// A theme that records which control routine DrawControl chose.
struct SpyTheme : ToolkitPaintThemeD {
    std::string last;
    CSize DrawControlEdit(CDC*, CQXPControlView*, BOOL) override { return last = "edit", CSize(); }
    CSize DrawControlComboBox(CDC*, CQXPControlView*, BOOL) override { return last = "combo", CSize(); }
    CSize DrawControlPopupParent(CDC*, CQXPControlView*, BOOL) override { return last = "popup", CSize(); }
    CSize DrawControlToolBarParent(CDC*, CQXPControlView*, BOOL) override { return last = "toolbar", CSize(); }
};

TEST_F(PaintManagerTest, DrawControlDispatchesByTypeAndBar)
{
    SpyTheme spy;
    TestBar toolbar, popup;
    popup.nType = qxpBarTypePopup;
    popup.nPosition = qxpBarPopup;
    TestBar leftBar;
    leftBar.nPosition = qxpBarLeft;
    struct Row {
        TestBar* pBar;
        int nType;
        const char* expected;
    };
    const Row rows[] = {
        {&toolbar, qxpControlEdit, "edit"},
        {&popup, qxpControlEdit, "edit"},
        {&toolbar, qxpControlComboBox, "combo"},
        {&popup, qxpControlComboBox, "combo"},
        {&toolbar, qxpControlButton, "toolbar"},
        {&leftBar, qxpControlPopup, "toolbar"},
        {&popup, qxpControlButton, "popup"},
        {&popup, qxpControlCheckBox, "popup"},
    };
    MemoryDC mem(10, 10);
    for (const Row& r : rows) {
        TestControl c(r.pBar, r.nType, "x");
        spy.last.clear();
        spy.DrawControl(mem.dc(), &c, FALSE);
        EXPECT_EQ(r.expected, spy.last) << r.nType;
    }
    EXPECT_EQ(CSize(0, 0), spy.DrawControl(mem.dc(), NULL, TRUE));
}

} // namespace
