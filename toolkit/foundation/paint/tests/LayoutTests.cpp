// Control layout: what each kind of control measures on toolbars, vertical
// bars and popups, and where icons, marks and captions are drawn.
#include "PaintTestSupport.h"

using namespace painttest;

namespace {

// A font whose cell (the height of a space) is exactly n pixels.
bool CreateFontWithCell(CFont& font, int n)
{
    for (const char* face : {"Tahoma", "Arial", "Courier New", "System"})
        for (int h = n - 6; h <= n + 6; ++h)
            for (int sign : {1, -1}) {
                font.DeleteObject();
                font.CreateFont(sign * h, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
                if (TextExtent((HFONT)font.GetSafeHandle(), " ").cy == n)
                    return true;
            }
    return false;
}

struct LayoutTest : ::testing::Test {
    FixedColors colors;
    ThemeHolder theme{qxpThemeWindows2000};
    MemoryDC mem{200, 200};
    TestBar bar;
    CQXPIconImage* pImage = MakeSquareImage(1001, RGB(255, 0, 0));

    ~LayoutTest() override { pImage->InternalRelease(); }

    CSize Regular(const char* text) { return TextExtent((HFONT)theme->m_fontRegular.GetSafeHandle(), text); }
    CSize Vertical(const char* text) { return TextExtent((HFONT)theme->m_fontVert.GetSafeHandle(), text); }
    CSize Measure(TestControl& c) { return theme->DrawControl(mem.dc(), &c, FALSE); }
    TestControl Make(int nType, const char* caption, int nStyle, BOOL bIcon, BOOL bCaption = TRUE)
    {
        TestControl c(&bar, nType, caption);
        c.nStyle = nStyle;
        c.bCaptionVisible = bCaption;
        if (bIcon) {
            c.nIconId = 1001;
            c.pImage = pImage;
        }
        return c;
    }
};

TEST_F(LayoutTest, ToolbarControlsMeasureByTypeStyleAndCaption)
{
    const CSize t = Regular("Open");
    const int w = t.cx, h = t.cy;
    const int H = max(22, h + 6);
    struct Row {
        const char* name;
        int nType, nStyle;
        BOOL bIcon, bCaption;
        CSize expected;
    };
    const Row rows[] = {
        {"icon button, hidden caption", qxpControlButton, qxpButtonAutomatic, TRUE, FALSE, CSize(23, 22)},
        {"icon and caption", qxpControlButton, qxpButtonIconAndCaption, TRUE, TRUE, CSize(23 + w + 3, H)},
        {"caption only", qxpControlButton, qxpButtonCaption, TRUE, TRUE, CSize(w + 8, H)},
        {"no image", qxpControlButton, qxpButtonIconAndCaption, FALSE, TRUE, CSize(w + 8, H)},
        {"label", qxpControlLabel, qxpButtonAutomatic, FALSE, TRUE, CSize(w + 8, H)},
        {"popup without icon", qxpControlPopup, qxpButtonAutomatic, TRUE, TRUE, CSize(w + 10 + 6, h + 6)},
        {"popup icon and caption", qxpControlPopup, qxpButtonIconAndCaption, TRUE, TRUE,
         CSize(23 + w + 10 + 3, H)},
        {"icon-only popup", qxpControlPopup, qxpButtonIcon, TRUE, FALSE, CSize(29, 22)},
        {"split, no icon, hidden caption", qxpControlSplitButtonPopup, qxpButtonCaption, FALSE, FALSE,
         CSize(22 + 11, 22)},
        {"split, icon, hidden caption", qxpControlSplitButtonPopup, qxpButtonIcon, TRUE, FALSE, CSize(23 + 11, 22)},
        {"split, icon and caption", qxpControlSplitButtonPopup, qxpButtonIconAndCaption, TRUE, TRUE,
         CSize(23 + w + 3 + 11, H)},
        {"split, caption", qxpControlSplitButtonPopup, qxpButtonCaption, FALSE, TRUE, CSize(w + 8 + 11, H)},
        {"check box", qxpControlCheckBox, qxpButtonCaption, FALSE, TRUE, CSize(w + 8 + 13 + 5, H)},
        {"radio button", qxpControlRadioButton, qxpButtonCaption, FALSE, TRUE, CSize(w + 8 + 13 + 5, H)},
        {"custom control", qxpControlCustom, qxpButtonCaption, FALSE, TRUE, CSize(0, 0)},
    };
    for (const Row& r : rows) {
        TestControl c = Make(r.nType, "&Open", r.nStyle, r.bIcon, r.bCaption);
        EXPECT_EQ(r.expected, Measure(c)) << r.name;
    }
}

TEST_F(LayoutTest, MenuBarPopupsMeasureTheirArrowToo)
{
    bar.nType = qxpBarTypeMenuBar;
    TestControl c = Make(qxpControlPopup, "&File", qxpButtonAutomatic, FALSE);
    CSize t = Regular("File");
    EXPECT_EQ(CSize(t.cx + 10 + 6, t.cy + 6), Measure(c));
}

TEST_F(LayoutTest, TightCaptionSpacingNarrowsArrowsAndIconGaps)
{
    CSize t = Regular("Open");
    theme->m_bTightCaptionSpacing = TRUE;
    TestControl popup = Make(qxpControlPopup, "Open", qxpButtonAutomatic, FALSE);
    EXPECT_EQ(CSize(t.cx + 8 + 6, t.cy + 6), Measure(popup));
    TestControl button = Make(qxpControlButton, "Open", qxpButtonIconAndCaption, TRUE);
    EXPECT_EQ(CSize(23 + t.cx + 4, max(22, (int)t.cy + 6)), Measure(button));
    theme->m_bTightCaptionSpacing = FALSE;
    EXPECT_EQ(CSize(t.cx + 10 + 6, t.cy + 6), Measure(popup));
}

TEST_F(LayoutTest, VerticalBarsTurnCaptionsAndSizes)
{
    bar.nPosition = qxpBarLeft;
    CSize v = Vertical("Open");
    const int across = v.cy, along = v.cx;
    struct Row {
        const char* name;
        int nType, nStyle;
        BOOL bIcon;
        CSize expected;
    };
    const Row rows[] = {
        {"icon and caption", qxpControlButton, qxpButtonIconAndCaption, TRUE,
         CSize(max(23, across + 6), along + 23 + 3)},
        {"caption only", qxpControlButton, qxpButtonCaption, FALSE, CSize(max(22, across + 6), along + 8)},
        {"popup without icon", qxpControlPopup, qxpButtonAutomatic, FALSE, CSize(across + 6, along + 10 + 6)},
        {"check box", qxpControlCheckBox, qxpButtonCaption, FALSE, CSize(max(23, across + 6), along + 8 + 13 + 5)},
    };
    for (const Row& r : rows) {
        TestControl c = Make(r.nType, "Open", r.nStyle, r.bIcon);
        EXPECT_EQ(r.expected, Measure(c)) << r.name;
    }
}

TEST_F(LayoutTest, FixedSizesReplaceComputedOnesAndTurnOnVerticalBars)
{
    TestControl c = Make(qxpControlButton, "Open", qxpButtonIconAndCaption, TRUE);
    CSize natural = Measure(c);
    c.nWidth = 0;
    c.nHeight = 0;
    EXPECT_EQ(natural, Measure(c));
    c.nWidth = 100;
    EXPECT_EQ(CSize(100, natural.cy), Measure(c));
    c.nHeight = 30;
    EXPECT_EQ(CSize(100, 30), Measure(c));
    c.nWidth = -5;
    EXPECT_EQ(CSize(natural.cx, 30), Measure(c)) << "0 or less is automatic";

    bar.nPosition = qxpBarRight;
    TestControl v = Make(qxpControlButton, "Open", qxpButtonIconAndCaption, TRUE);
    CSize vNatural = Measure(v);
    v.nWidth = 100;
    EXPECT_EQ(CSize(vNatural.cx, 100), Measure(v)) << "the fixed width sets the height";
    v.nHeight = 40;
    EXPECT_EQ(CSize(40, 100), Measure(v)) << "the fixed height sets the width";
}

TEST_F(LayoutTest, TextBelowIcons)
{
    bar.bTextBelowIcons = TRUE;
    CSize t = Regular("Open");
    TestControl c = Make(qxpControlButton, "Open", qxpButtonAutomatic, TRUE);
    int height = 22 + t.cy;
    int width = max(max(23, (int)t.cx + 10), height);
    EXPECT_EQ(CSize(width, height), Measure(c));
    TestControl split = Make(qxpControlSplitButtonPopup, "Open", qxpButtonAutomatic, TRUE);
    EXPECT_EQ(CSize(max(max(23, (int)t.cx + 10) + 11, height), height), Measure(split));
    // Without an icon the normal layout applies.
    TestControl plain = Make(qxpControlButton, "Open", qxpButtonAutomatic, FALSE);
    EXPECT_EQ(CSize(t.cx + 8, max(22, (int)t.cy + 6)), Measure(plain));
}

TEST_F(LayoutTest, LargeButtonsAndTheirCaptionBand)
{
    struct Row {
        int nTextHeight, nFixed;
        int nBand;
    };
    const Row rows[] = {{16, 0, 27}, {20, 0, 29}, {30, 0, 49}, {16, 10, 15}, {20, 10, 23}};
    for (const Row& r : rows) {
        theme->m_nTextHeight = r.nTextHeight;
        theme->m_nFixedControlHeight = r.nFixed;
        EXPECT_EQ(r.nBand, theme->GetLargeCaptionHeight()) << r.nTextHeight << " " << r.nFixed;
    }

    theme->m_nTextHeight = 16;
    theme->m_nFixedControlHeight = 0;
    TestControl c = Make(qxpControlButton, "Save As", qxpButtonIconAndCaptionBelow, TRUE);
    int cw = max((int)Regular("Save").cx, (int)Regular("As").cx);
    // R = 22, S = 42, band 27: icon height (32) + 34.
    EXPECT_EQ(CSize(max(42, cw + 5), 32 + 34), Measure(c));
    c.strCaption = "Properties of the Document";
    CString a, b;
    CQXPThemePainter::SplitCaption(c.strCaption, a, b);
    int cw2 = max((int)Regular(a).cx, (int)Regular(b).cx);
    EXPECT_EQ(CSize(max(42, cw2 + 5), 66), Measure(c));

    theme->m_nFixedControlHeight = 10;
    EXPECT_EQ(30, Measure(c).cy) << "three times the fixed control height";

    theme->m_nFixedControlHeight = 0;
    theme->m_nTextHeight = 30; // R = 30, S = 57
    c.strCaption = "Go";
    EXPECT_EQ(57, Measure(c).cx);

    // Vertical bars: the band runs along the left side.
    theme->m_nTextHeight = 16;
    bar.nPosition = qxpBarLeft;
    TestControl v = Make(qxpControlButton, "Save As", qxpButtonIconAndCaptionBelow, TRUE);
    int vw = max((int)Vertical("Save").cx, (int)Vertical("As").cx);
    EXPECT_EQ(CSize(66, max(42, vw + 6)), Measure(v));
}

TEST_F(LayoutTest, TwoLineCaptionsAreAlways24High)
{
    TestControl c = Make(qxpControlButton, "Save All Files", qxpButtonIconAndCaptionBelow, TRUE);
    CSize sz = theme->DrawControlText2Lines(mem.dc(), &c, CRect(), FALSE, FALSE, FALSE);
    EXPECT_EQ(24, sz.cy);
    CFont big;
    big.CreateFont(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
    HGDIOBJ hOld = ::SelectObject(mem.dc()->GetSafeHdc(), big.GetSafeHandle());
    CSize szBig = theme->DrawControlText2Lines(mem.dc(), &c, CRect(), FALSE, FALSE, TRUE);
    ::SelectObject(mem.dc()->GetSafeHdc(), hOld);
    EXPECT_EQ(24, szBig.cy);
    CSize w1 = TextExtent((HFONT)big.GetSafeHandle(), "Save All");
    CSize w2 = TextExtent((HFONT)big.GetSafeHandle(), "Files");
    EXPECT_EQ(max((int)w1.cx, (int)w2.cx + 8), szBig.cx) << "the arrow widens the second line by 8";
    CSize szVert = theme->DrawControlText2Lines(mem.dc(), &c, CRect(), FALSE, TRUE, FALSE);
    EXPECT_EQ(24, szVert.cx);
}

TEST_F(LayoutTest, EditAndComboHeightsButtonsAndLabels)
{
    // Icon-title fonts of chosen cell heights.
    struct Row {
        int nCell;
        int nEdit, nCombo, nButton;
    };
    const Row rows[] = {{10, 17, 20, 15}, {11, 18, 20, 15}, {13, 20, 20, 15}, {16, 23, 23, 16}, {20, 27, 27, 18}, {30, 37, 37, 25}};
    for (const Row& r : rows) {
        ASSERT_TRUE(CreateFontWithCell(theme->m_fontIcon, r.nCell)) << r.nCell;
        ASSERT_EQ(r.nCell, TextExtent((HFONT)theme->m_fontIcon.GetSafeHandle(), " ").cy);
        TestControl edit = Make(qxpControlEdit, "", qxpButtonAutomatic, FALSE, FALSE);
        edit.nWidth = 120;
        EXPECT_EQ(CSize(120, r.nEdit), Measure(edit)) << r.nCell;
        TestControl combo = Make(qxpControlComboBox, "", qxpButtonAutomatic, FALSE, FALSE);
        combo.nWidth = 150;
        EXPECT_EQ(CSize(150, r.nCombo), Measure(combo)) << r.nCell;
        EXPECT_EQ(r.nButton, combo.layout.nButtonWidth) << r.nCell;
    }
    theme->m_nFixedControlHeight = 25;
    TestControl fixed = Make(qxpControlComboBox, "Find", qxpButtonAutomatic, FALSE, TRUE);
    EXPECT_EQ(25, Measure(fixed).cy);
    EXPECT_EQ(MulDiv(25, 9, 14) + 1, fixed.layout.nButtonWidth);
}

TEST_F(LayoutTest, EditLabelWidthAndTheLayoutChangedFlag)
{
    TestControl edit = Make(qxpControlEdit, "&Find:", qxpButtonAutomatic, TRUE, TRUE);
    edit.nWidth = 160;
    CSize sz = Measure(edit);
    int w = Regular("Find:").cx;
    EXPECT_EQ(160, sz.cx);
    EXPECT_EQ(16 + 4 + w + 5, edit.layout.nLabelWidth);
    EXPECT_GE(sz.cy, 22) << "an icon raises the height to the button height";
    EXPECT_TRUE(edit.layout.bLayoutChanged);

    edit.layout.bLayoutChanged = FALSE;
    Measure(edit);
    EXPECT_FALSE(edit.layout.bLayoutChanged) << "unchanged values leave the flag alone";

    edit.bCaptionVisible = FALSE;
    Measure(edit);
    EXPECT_EQ(20, edit.layout.nLabelWidth);
    EXPECT_TRUE(edit.layout.bLayoutChanged);

    // On popups the label starts after the icon column and the margin.
    TestBar popup;
    popup.nType = qxpBarTypePopup;
    popup.nPosition = qxpBarPopup;
    TestControl menuEdit(&popup, qxpControlEdit, "Find:");
    menuEdit.nWidth = 100;
    CSize szMenu = Measure(menuEdit);
    int nColumn = theme->GetSplitDropDownWidth(&popup);
    EXPECT_EQ(nColumn + 4 + w + 5, menuEdit.layout.nLabelWidth);
    EXPECT_EQ(nColumn + 100, szMenu.cx);
}

TEST_F(LayoutTest, PopupItemsMeasureMarginColumnCaptionAndShortcut)
{
    TestBar popup;
    popup.nType = qxpBarTypePopup;
    popup.nPosition = qxpBarPopup;
    CSize column = theme->GetPopupIconColumnSize(CSize(16, 16));
    CSize t = Regular("Open...");
    CSize s = Regular("Ctrl+O");

    TestControl item(&popup, qxpControlButton, "&Open...");
    item.strShortcut = "Ctrl+O";
    EXPECT_EQ(CSize(4 + column.cx + t.cx + s.cx + 32, column.cy), Measure(item));

    TestControl sub(&popup, qxpControlPopup, "&Open...");
    sub.strShortcut = "Ctrl+O";
    EXPECT_EQ(CSize(4 + column.cx + t.cx + 32, column.cy), Measure(sub)) << "only buttons show shortcuts";

    item.nWidth = 250;
    item.nHeight = 30;
    EXPECT_EQ(CSize(250, 30), Measure(item));

    TestControl label(&popup, qxpControlLabel, "Open...");
    EXPECT_EQ(4 + column.cx + t.cx + 32, Measure(label).cx);
    theme->m_bLabelIconColumn = FALSE;
    EXPECT_EQ(4 + t.cx + 32, Measure(label).cx) << "labels may give up the icon column";

    popup.bDoubleColumn = TRUE;
    TestControl wide(&popup, qxpControlButton, "Open...");
    EXPECT_EQ(4 + 2 * column.cx + t.cx + 32, Measure(wide).cx);

    // Office XP uses a wider margin.
    ThemeHolder office(qxpThemeOfficeXP);
    popup.bDoubleColumn = FALSE;
    TestControl officeItem(&popup, qxpControlButton, "Open...");
    CSize officeColumn = office->GetPopupIconColumnSize(CSize(16, 16));
    CSize ot = TextExtent((HFONT)office->m_fontRegular.GetSafeHandle(), "Open...");
    EXPECT_EQ(CSize(8 + officeColumn.cx + ot.cx + 32, officeColumn.cy), office->DrawControl(mem.dc(), &officeItem, FALSE));
}

TEST_F(LayoutTest, TwoPartPopupItemsWithDescriptions)
{
    TestBar popup;
    popup.nType = qxpBarTypePopup;
    popup.nPosition = qxpBarPopup;
    CSize column = theme->GetPopupIconColumnSize(CSize(16, 16));
    TestControl item(&popup, qxpControlButton, "Compare");
    item.nStyle = qxpButtonCaptionAndDescription;
    item.strDescription = "Compare two files and show the differences side by side";
    CSize sz = Measure(item);
    int wd = Regular(item.strDescription).cx;
    int rule5 = 4 + column.cx + Regular("Compare").cx + 32;
    EXPECT_EQ(max(4 + wd / 2 + column.cx + 32, rule5), sz.cx);
    EXPECT_GT(sz.cy, theme->GetTextHeight() + 10 + 39) << "caption band, description lines and padding";
    item.strDescription.Empty();
    EXPECT_EQ(CSize(rule5, column.cy), Measure(item)) << "without a description a plain item";
}

TEST_F(LayoutTest, SplitCommandRectangles)
{
    theme->m_nTextHeight = 16;
    TestBar popup;
    popup.nType = qxpBarTypePopup;
    popup.nPosition = qxpBarPopup;
    struct Row {
        TestBar* pBar;
        int nPosition;
        int nStyle;
        CRect expected;
    };
    const Row rows[] = {
        {&popup, qxpBarPopup, qxpButtonAutomatic, CRect(10, 10, 80, 50)},
        {&bar, qxpBarTop, qxpButtonAutomatic, CRect(10, 10, 88, 50)},
        {&bar, qxpBarTop, qxpButtonIconAndCaptionBelow, CRect(10, 10, 100, 23)},
        {&bar, qxpBarLeft, qxpButtonIconAndCaptionBelow, CRect(37, 10, 100, 50)},
    };
    for (const Row& r : rows) {
        r.pBar->nPosition = r.nPosition;
        TestControl c(r.pBar, qxpControlSplitButtonPopup, "Undo");
        c.nStyle = r.nStyle;
        c.rc = CRect(10, 10, 100, 50);
        EXPECT_EQ(r.expected, theme->GetSplitCommandRect(&c)) << r.nPosition << " " << r.nStyle;
    }
}

// --- drawing -----------------------------------------------------------------

TEST_F(LayoutTest, IconPlacementFollowsTypeCaptionAndBar)
{
    const COLORREF red = RGB(255, 0, 0);
    struct Row {
        const char* name;
        int nPosition, nType, nStyle;
        BOOL bCaption;
        CRect rc;
        CPoint icon; // where the 16 x 16 icon's top-left lands
    };
    const Row rows[] = {
        {"hidden caption: centred", qxpBarTop, qxpControlButton, qxpButtonAutomatic, FALSE, CRect(0, 0, 30, 30),
         CPoint(7, 7)},
        {"caption: left + 3", qxpBarTop, qxpControlButton, qxpButtonIconAndCaption, TRUE, CRect(0, 0, 80, 30),
         CPoint(3, 7)},
        {"vertical: top + 3", qxpBarLeft, qxpControlButton, qxpButtonIconAndCaption, TRUE, CRect(0, 0, 30, 80),
         CPoint(7, 3)},
        {"vertical icon popup: left + 3", qxpBarLeft, qxpControlPopup, qxpButtonIcon, FALSE, CRect(0, 0, 30, 40),
         CPoint(3, 3)},
        {"split: left + 3", qxpBarTop, qxpControlSplitButtonPopup, qxpButtonIcon, FALSE, CRect(0, 0, 40, 30),
         CPoint(3, 7)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        MemoryDC out(100, 100, theme->GetColor(COLOR_BTNFACE));
        bar.nPosition = r.nPosition;
        TestControl c = Make(r.nType, "Open", r.nStyle, TRUE, r.bCaption);
        c.rc = r.rc;
        theme->DrawControl(out.dc(), &c, TRUE);
        // The icon is red inside its two-pixel transparent border.
        EXPECT_EQ(red, out.Pixel(r.icon.x + 2, r.icon.y + 2));
        EXPECT_EQ(red, out.Pixel(r.icon.x + 13, r.icon.y + 13));
        EXPECT_NE(red, out.Pixel(r.icon.x + 1, r.icon.y + 2));
        EXPECT_NE(red, out.Pixel(r.icon.x + 14, r.icon.y + 13));
    }
}

TEST_F(LayoutTest, CheckBoxMarkSitsLeftAndCentredWithAFocusRectangleFromTheKeyboard)
{
    ThemeHolder office(qxpThemeOfficeXP);
    COLORREF border = office->GetColor(qxColorControlBorder);
    for (int nSelected : {0, 2}) {
        MemoryDC out(100, 30, RGB(255, 255, 255));
        TestControl c(&bar, qxpControlCheckBox, "Wrap");
        c.nStyle = qxpButtonCaption;
        c.rc = CRect(0, 0, 80, 22);
        c.nSelected = nSelected;
        office->DrawControl(out.dc(), &c, TRUE);
        // The mark: 13 x 13 at (3, 4).
        COLORREF expectedBorder = nSelected ? office->GetColor(qxColorHotBorder) : border;
        EXPECT_EQ(expectedBorder, out.Pixel(3, 4)) << nSelected;
        EXPECT_EQ(expectedBorder, out.Pixel(15, 16)) << nSelected;
        EXPECT_EQ(RGB(255, 255, 255), out.Pixel(2, 4));
        // The focus rectangle runs along the caption area's top edge.
        int nDotted = 0;
        for (int x = 21; x < 79; ++x)
            if (out.Pixel(x, 0) != RGB(255, 255, 255))
                ++nDotted;
        if (nSelected) {
            EXPECT_GT(nDotted, 10);
        } else {
            EXPECT_EQ(0, nDotted);
        }
    }
}

TEST_F(LayoutTest, DisabledCaptionsAreEmbossedOnlyWhereTheThemeSaysSo)
{
    ThemeHolder office(qxpThemeOfficeXP);
    struct Row {
        CQXPThemePainter* p;
        bool bEmbossed;
    };
    const Row rows[] = {{theme.p, true}, {office.p, false}};
    for (const Row& r : rows) {
        MemoryDC out(120, 30, r.p->GetColor(COLOR_BTNFACE));
        TestControl c(&bar, qxpControlButton, "Disabled");
        c.nStyle = qxpButtonCaption;
        c.nEnabled = 0;
        c.rc = CRect(0, 0, 100, 22);
        r.p->DrawControl(out.dc(), &c, TRUE);
        int nHighlight = out.Count(CRect(0, 0, 120, 30), r.p->GetColor(COLOR_BTNHIGHLIGHT));
        if (r.bEmbossed) {
            EXPECT_GT(nHighlight, 5) << r.p->GetCurrentTheme();
        } else {
            EXPECT_EQ(0, nHighlight) << r.p->GetCurrentTheme();
        }
    }
}

TEST_F(LayoutTest, DisabledIconsAreEmbossedInWindows2000)
{
    MemoryDC out(40, 40, theme->GetColor(COLOR_BTNFACE));
    theme->DrawImage(out.dc(), CPoint(10, 10), CSize(16, 16), pImage, FALSE, FALSE, FALSE, FALSE, FALSE);
    EXPECT_EQ(theme->GetColor(COLOR_BTNSHADOW), out.Pixel(12, 12)) << "the shape in the shadow colour";
    EXPECT_EQ(theme->GetColor(COLOR_BTNHIGHLIGHT), out.Pixel(24, 24)) << "its highlight one pixel down and right";
    EXPECT_EQ(theme->GetColor(COLOR_BTNFACE), out.Pixel(11, 11));
    EXPECT_EQ(0, out.Count(CRect(0, 0, 40, 40), RGB(255, 0, 0)));
}

// A picture like "Select All": a light square with a dark frame and two
// dark lines, a transparent pixel all around; as an alpha bitmap or an icon.
COLORREF SelectAllPixel(int x, int y, bool* pOpaque)
{
    *pOpaque = x > 0 && y > 0 && x < 15 && y < 15;
    if (x == 2 || x == 13 || y == 2 || y == 13)
        return RGB(0x20, 0x50, 0xB0);
    if ((y == 5 || y == 8) && x >= 4 && x <= 11)
        return RGB(0x50, 0x50, 0x50);
    return x > 2 && x < 13 && y > 2 && y < 13 ? RGB(0xC8, 0xE0, 0xF8) : RGB(255, 255, 255);
}

CQXPIconImage* MakePictureImage(UINT nID, bool bAlpha, COLORREF (*pixel)(int, int, bool*))
{
    CQXPIconHandle handle;
    if (bAlpha) {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = 16;
        bmi.bmiHeader.biHeight = -16;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        DWORD* bits = NULL;
        HBITMAP hbm = ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, (void**)&bits, NULL, 0);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                bool bOpaque = false;
                COLORREF c = pixel(x, y, &bOpaque);
                bits[y * 16 + x] = bOpaque ? 0xFF000000 | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c) : 0;
            }
        handle.SetBitmap(hbm);
    } else {
        HDC hdcScreen = ::GetDC(NULL);
        HBITMAP hColor = ::CreateCompatibleBitmap(hdcScreen, 16, 16);
        HBITMAP hMask = ::CreateBitmap(16, 16, 1, 1, NULL);
        HDC hdc = ::CreateCompatibleDC(hdcScreen);
        for (int pass = 0; pass < 2; ++pass) {
            ::SelectObject(hdc, pass == 0 ? hColor : hMask);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) {
                    bool bOpaque = false;
                    COLORREF c = pixel(x, y, &bOpaque);
                    ::SetPixel(hdc, x, y, pass == 0 ? (bOpaque ? c : 0) : (bOpaque ? 0 : RGB(255, 255, 255)));
                }
        }
        ::DeleteDC(hdc);
        ::ReleaseDC(NULL, hdcScreen);
        ICONINFO ii = {TRUE, 0, 0, hMask, hColor};
        handle.SetIcon(::CreateIconIndirect(&ii));
        ::DeleteObject(hColor);
        ::DeleteObject(hMask);
    }
    CQXPIconImage* pImage = new CQXPIconImage(nID, 16, 16);
    pImage->SetNormalIcon(handle);
    return pImage;
}

// A disabled command shows its picture's shape: the dark frame and lines,
// not a block where the light fill was; a picture with nothing opaque, or
// none at all, shows nothing, enabled or not.
TEST_F(LayoutTest, DisabledPicturesShowTheirShapeAndMissingOnesNothing)
{
    ThemeHolder office(qxpThemeOfficeXP);
    for (CQXPThemePainter* p : {theme.p, office.p}) {
        const bool bClassic = p == theme.p;
        const COLORREF back = p->GetColor(COLOR_BTNFACE), shape = p->GetColor(bClassic ? COLOR_BTNSHADOW : qxColorDisabledIcon);
        for (bool bAlpha : {true, false}) {
            std::string what = std::string(bClassic ? "Windows 2000" : "Office XP") + (bAlpha ? ", alpha" : ", icon");
            CQXPIconImage* pPicture = MakePictureImage(2001, bAlpha, SelectAllPixel);
            MemoryDC out(40, 40, back);
            p->DrawImage(out.dc(), CPoint(10, 10), CSize(16, 16), pPicture, FALSE, FALSE, FALSE, FALSE, FALSE);
            EXPECT_EQ(shape, out.Pixel(12, 12)) << what << ": the frame";
            EXPECT_EQ(shape, out.Pixel(17, 15)) << what << ": a line";
            EXPECT_EQ(back, out.Pixel(17, 17)) << what << ": the light fill is not shape";
            EXPECT_EQ(back, out.Pixel(20, 21)) << what;
            EXPECT_EQ(back, out.Pixel(10, 10)) << what << ": the transparent edge";
            EXPECT_LT(out.Count(CRect(10, 10, 26, 26), shape), 16 * 16 / 2) << what << ": no block";
            EXPECT_EQ(0, out.Count(CRect(0, 0, 40, 40), RGB(0xC8, 0xE0, 0xF8))) << what << ": no colour";
            pPicture->InternalRelease();

            // Nothing opaque in the picture.
            CQXPIconImage* pBlank = MakePictureImage(2002, bAlpha, [](int, int, bool* pOpaque) {
                *pOpaque = false;
                return RGB(0, 0, 0);
            });
            CQXPIconImage* pNone = new CQXPIconImage(2003, 16, 16);
            for (CQXPIconImage* pMissing : {pBlank, pNone})
                for (BOOL bEnabled : {TRUE, FALSE}) {
                    MemoryDC blank(40, 40, back);
                    p->DrawImage(blank.dc(), CPoint(10, 10), CSize(16, 16), pMissing, FALSE, FALSE, bEnabled, FALSE,
                                 FALSE);
                    EXPECT_EQ(40 * 40, blank.Count(CRect(0, 0, 40, 40), back))
                        << what << (pMissing == pNone ? ": no picture" : ": a blank picture")
                        << (bEnabled ? ", enabled" : ", disabled");
                }
            pBlank->InternalRelease();
            pNone->InternalRelease();
        }
    }
}

TEST_F(LayoutTest, OfficeXPHotIconsCastAShadow)
{
    ThemeHolder office(qxpThemeOfficeXP);
    MemoryDC out(40, 40, RGB(255, 255, 255));
    office->DrawImage(out.dc(), CPoint(10, 10), CSize(16, 16), pImage, TRUE, FALSE, TRUE, FALSE, FALSE);
    EXPECT_EQ(RGB(255, 0, 0), out.Pixel(11, 11)) << "the hot icon one pixel up and left";
    EXPECT_EQ(RGB(255, 0, 0), out.Pixel(22, 22));
    COLORREF shadow = out.Pixel(24, 24);
    EXPECT_NE(RGB(255, 0, 0), shadow);
    EXPECT_NE(RGB(255, 255, 255), shadow) << "the shadow one pixel down and right";
}

} // namespace
