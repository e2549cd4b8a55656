// The tab paint manager's options as the drawing reads them: row height by
// the font, the items' own close buttons, focus rectangle, client fill,
// clipping, caption flags, ClearType fonts, turned images, plain colours,
// the order tabs are drawn in and rotated tabs. Strips are drawn into
// memory bitmaps and read back.
#include <qx/tabpaint.h>
#include <qx/colors.h>

#include <gtest/gtest.h>

#include "PaintTestSupport.h"
#include "TabTestSupport.h"

#include <string>
#include <vector>

namespace {

using tabtest::TestTabs;

// The bounding box of the pixels dark enough to be text (every channel
// below 60) inside an area; empty when none.
RECT InkBox(painttest::MemoryDC& pic, const RECT& area)
{
    RECT box = {0, 0, 0, 0};
    bool any = false;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = pic.Pixel(x, y);
            if (c == (COLORREF)-1 || GetRValue(c) >= 60 || GetGValue(c) >= 60 || GetBValue(c) >= 60)
                continue;
            if (!any) {
                box = {x, y, x + 1, y + 1};
                any = true;
            }
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box;
}

LOGFONTA Tahoma(LONG nHeight, LPCSTR lpszFace = "Tahoma")
{
    LOGFONTA lf = {};
    lf.lfHeight = nHeight;
    lf.lfWeight = FW_NORMAL;
    lstrcpyA(lf.lfFaceName, lpszFace);
    return lf;
}

int TextHeight(HFONT hFont)
{
    HDC hDC = ::GetDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    SIZE sz = {0, 0};
    ::GetTextExtentPoint32A(hDC, " ", 1, &sz);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(NULL, hDC);
    return sz.cy;
}

// A font whose space is exactly nText pixels high (the font mapper rounds
// a requested height, each face its own way); lfHeight 0 when there is none.
LOGFONTA FontOfTextHeight(int nText)
{
    for (LPCSTR face : {"Tahoma", "Arial", "Times New Roman", "Courier New"})
        for (int d = 0; d <= 6; ++d)
            for (LONG n : {(LONG)(nText + d), (LONG)(nText - d), (LONG) - (nText - d)}) {
                LOGFONTA lf = Tahoma(n, face);
                HFONT hFont = ::CreateFontIndirectA(&lf);
                const int h = TextHeight(hFont);
                ::DeleteObject(hFont);
                if (h == nText)
                    return lf;
            }
    return Tahoma(0);
}

struct RowHeightCase {
    LONG font; // text height of the tab font
    BOOL icons;
    SIZE icon;
    int marginTop, marginBottom; // button margins
    int button;                  // the text row: text height + 3, at least 18
    int row;                     // with the margins, and the image + 4 while images show
};

class TabRowHeight : public ::testing::TestWithParam<RowHeightCase> {};

TEST_P(TabRowHeight, FollowsTheTextTheMarginsAndTheImages)
{
    const RowHeightCase& c = GetParam();
    TestTabs t;
    t.Fill(3);
    t.painter.m_bShowIcons = c.icons;
    t.painter.m_szIcon = c.icon;
    t.painter.m_rcButtonMargin = {0, c.marginTop, 0, c.marginBottom};
    const LOGFONTA lf = FontOfTextHeight(c.font);
    ASSERT_NE(0, lf.lfHeight) << "no font of that text height";
    t.painter.SetFontIndirect(&lf, FALSE);
    ASSERT_EQ(c.font, TextHeight(t.painter.GetFont(FALSE, FALSE))) << "the font's text height";
    EXPECT_EQ(c.button, t.painter.GetAppearanceSet()->m_nButtonHeight);
    EXPECT_EQ(c.row, t.painter.GetButtonHeight());
    // The strip: every tab a row high, the header its margins around one row.
    t.painter.SetLayout(tabLayoutFixed);
    t.area = {0, 0, 400, 120};
    t.OnPropertyChanged();
    const RECT m = t.painter.GetHeaderMargin();
    for (int i = 0; i < 3; ++i) {
        const RECT& r = t.GetItem(i)->GetRect();
        EXPECT_EQ(m.top, r.top) << i;
        EXPECT_EQ(c.row, r.bottom - r.top) << i;
    }
    EXPECT_EQ(m.top + c.row + m.bottom, t.m_rcHeaderRect.bottom - t.m_rcHeaderRect.top);
    // Slanted tabs start a button height further in, rounded ones half of it.
    t.painter.SetAppearance(3);
    EXPECT_EQ(2 + c.button, t.painter.GetHeaderMargin().left);
    t.painter.SetAppearance(7);
    EXPECT_EQ(2 + c.button / 2, t.painter.GetHeaderMargin().left);
    EXPECT_EQ(4 + c.button / 2, t.painter.GetHeaderMargin().right);
}

INSTANTIATE_TEST_SUITE_P(Table, TabRowHeight,
                         ::testing::Values(RowHeightCase{14, FALSE, {16, 16}, 0, 0, 18, 18},
                                           RowHeightCase{15, FALSE, {16, 16}, 0, 0, 18, 18},
                                           RowHeightCase{16, FALSE, {16, 16}, 0, 0, 19, 19},
                                           RowHeightCase{20, FALSE, {16, 16}, 0, 0, 23, 23},
                                           RowHeightCase{8, FALSE, {16, 16}, 0, 0, 18, 18},
                                           RowHeightCase{14, TRUE, {16, 16}, 0, 0, 18, 20},
                                           RowHeightCase{20, TRUE, {16, 16}, 0, 0, 23, 23},
                                           RowHeightCase{14, TRUE, {24, 20}, 0, 0, 18, 28},
                                           RowHeightCase{16, FALSE, {16, 16}, 2, 1, 19, 22},
                                           RowHeightCase{14, TRUE, {16, 16}, 2, 1, 18, 23}));

TEST(TabPaintOptions, ClearTypeFonts)
{
    CQXPTabPainter p;
    for (BOOL bClearType : {FALSE, TRUE, FALSE}) {
        p.m_bClearType = bClearType;
        const LOGFONTA lf = Tahoma(-11);
        p.SetFontIndirect(&lf, FALSE);
        for (int n = 0; n < 4; ++n) {
            LOGFONTA made = {};
            ASSERT_TRUE(::GetObjectA(p.GetFont(n & 1, n >> 1), sizeof(made), &made));
            EXPECT_EQ(bClearType ? CLEARTYPE_QUALITY : DEFAULT_QUALITY, made.lfQuality) << bClearType << " " << n;
        }
    }
}

// The items' own close buttons: each visible one adds its width, and a tab
// with any adds 3 more, which the button leaves at the tab's end.
TEST(TabPaintOptions, CloseButtonsWidenTheirTabs)
{
    TestTabs t;
    t.Fill(3);
    t.area = {0, 0, 700, 40};
    t.SetCurSel(1);
    t.OnPropertyChanged();
    std::vector<int> plain;
    for (int i = 0; i < 3; ++i)
        plain.push_back(t.GetItem(i)->m_nButtonLength);
    struct {
        const char* what;
        int mode;
        int buttonWidth;
        int layout;
        int added[3];
    } cases[] = {
        {"always", 2, 14, tabLayoutAutoSize, {17, 17, 17}},
        {"on the selected tab", 1, 14, tabLayoutAutoSize, {0, 17, 0}},
        {"wider buttons", 2, 20, tabLayoutAutoSize, {23, 23, 23}},
        {"none", 0, 14, tabLayoutAutoSize, {0, 0, 0}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        t.painter.m_szNavigateButton.cx = c.buttonWidth;
        t.SetItemCloseMode(c.mode);
        t.painter.SetLayout(c.layout);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(plain[i] + c.added[i], t.GetItem(i)->m_nButtonLength) << i;
        painttest::MemoryDC pic(700, 40);
        t.painter.DrawTabControl(&t, pic.dc()->GetSafeHdc(), t.area);
        if (c.mode == 2 && c.buttonWidth == 14) {
            EXPECT_TRUE(pic.SavePng("tabs-close-buttons.png"));
        }
        for (int i = 0; i < 3; ++i) {
            if (!c.added[i])
                continue;
            const RECT& rcItem = t.GetItem(i)->GetRect();
            const RECT& rcButton = t.GetItem(i)->m_arrNavigateButtons.at(0)->m_rc;
            EXPECT_EQ(rcItem.right - 3, rcButton.right) << i;
            EXPECT_EQ(c.buttonWidth, rcButton.right - rcButton.left) << i;
        }
    }
    // Compressed tabs: the selected one as wide as the widest caption with
    // its buttons, the others their image and 8 pixels.
    t.painter.m_szNavigateButton.cx = 14;
    t.SetItemCloseMode(2);
    t.GetItem(0)->SetCaption("The widest caption of all");
    t.painter.SetLayout(tabLayoutCompressed);
    const int widest = t.GetItem(1)->m_nButtonLength;
    t.painter.SetLayout(tabLayoutAutoSize);
    EXPECT_EQ(t.GetItem(0)->m_nButtonLength, widest);
    t.painter.SetLayout(tabLayoutCompressed);
    EXPECT_EQ(8, t.GetItem(0)->m_nButtonLength);
    EXPECT_EQ(8, t.GetItem(2)->m_nButtonLength);
}

// The focus rectangle: only on the selected tab of a focused strip, only
// with the option, and nothing but a dotted frame 3 pixels inside the tab.
TEST(TabPaintOptions, FocusRectangleOnTheFocusedStripsSelectedTab)
{
    painttest::FixedColors colors;
    TestTabs t;
    t.Fill(3);
    t.area = {0, 0, 300, 40};
    t.SetCurSel(1);
    t.OnPropertyChanged();
    auto draw = [&](bool focused, BOOL bShowFocus) {
        t.focused = focused;
        t.painter.m_bShowFocus = bShowFocus;
        auto pic = std::make_unique<painttest::MemoryDC>(300, 40);
        t.painter.DrawTabControl(&t, pic->dc()->GetSafeHdc(), t.area);
        return pic;
    };
    auto shown = draw(true, TRUE), off = draw(true, FALSE), unfocused = draw(false, TRUE);
    RECT r = t.GetItem(1)->GetRect();
    ::InflateRect(&r, -3, -3);
    int changed = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 300; ++x) {
            EXPECT_EQ(off->Pixel(x, y), unfocused->Pixel(x, y)) << x << "," << y;
            if (shown->Pixel(x, y) == off->Pixel(x, y))
                continue;
            ++changed;
            const bool onFrame = x >= r.left && x < r.right && y >= r.top && y < r.bottom &&
                                 (x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1);
            EXPECT_TRUE(onFrame) << x << "," << y;
        }
    EXPECT_GT(changed, (int)(r.right - r.left));
    EXPECT_TRUE(shown->SavePng("tabs-focus-rectangle.png"));
}

// Fill client paints the control beside the header in the client face;
// clip to header keeps tabs inside the header.
TEST(TabPaintOptions, ClientFillAndHeaderClip)
{
    painttest::FixedColors colors;
    TestTabs t;
    t.Fill(3);
    t.painter.SetAppearance(6); // box tabs over the flat set
    // No client frame: a framed client is the colour set's to fill.
    t.painter.m_nClientFrame = 2;
    t.area = {0, 0, 300, 100};
    t.SetCurSel(1);
    t.OnPropertyChanged();
    const TabColorSet& c = t.painter.GetColors();
    const COLORREF white = RGB(255, 255, 255);
    ASSERT_NE(c.clrClient[0], white);
    ASSERT_NE(c.clrClient[0], c.clrSelectedFace);
    ASSERT_EQ(c.clrClient[0], c.clrClient[1]);
    const RECT rcHeader = t.m_rcHeaderRect;
    // The selected tab reaches 10 pixels into the client.
    RECT rcSel = t.GetItem(1)->GetRect();
    rcSel.bottom = rcHeader.bottom + 10;
    t.GetItem(1)->SetRect(rcSel);
    const POINT below = {(rcSel.left + rcSel.right) / 2, rcHeader.bottom + 5};
    const POINT client = {150, 80};
    struct {
        BOOL fill, clip;
        COLORREF below, client;
    } cases[] = {
        {TRUE, TRUE, c.clrClient[0], c.clrClient[0]},
        {FALSE, TRUE, white, white},
        {TRUE, FALSE, c.clrSelectedFace, c.clrClient[0]},
        {FALSE, FALSE, c.clrSelectedFace, white},
    };
    for (auto& k : cases) {
        SCOPED_TRACE(testing::Message() << "fill " << k.fill << " clip " << k.clip);
        t.painter.m_bFillClient = k.fill;
        t.painter.m_bClipToHeader = k.clip;
        painttest::MemoryDC pic(300, 100);
        t.painter.DrawTabControl(&t, pic.dc()->GetSafeHdc(), t.area);
        EXPECT_EQ(k.below, pic.Pixel(below.x, below.y));
        EXPECT_EQ(k.client, pic.Pixel(client.x, client.y));
        // The header keeps its own face either way.
        EXPECT_EQ(c.clrHeader[0], pic.Pixel(rcHeader.right - 3, rcHeader.top + 1));
    }
}

// A strip of one fixed-width tab, drawn on white: its caption's ink.
struct CaptionStrip {
    explicit CaptionStrip(const char* caption, int width = 200)
    {
        t.Fill(1);
        t.GetItem(0)->SetCaption(caption);
        t.painter.SetAppearance(6);
        t.painter.SetItemMetrics(width);
        t.painter.SetLayout(tabLayoutFixed);
        t.area = {0, 0, 500, 60};
        t.SetCurSel(0);
        t.OnPropertyChanged();
    }
    RECT Ink()
    {
        painttest::MemoryDC pic(500, 60);
        t.painter.DrawTabControl(&t, pic.dc()->GetSafeHdc(), t.area);
        RECT rcBand = t.GetItem(0)->GetRect();
        rcBand.left = 0;
        rcBand.right = t.m_rcHeaderRect.right;
        return InkBox(pic, rcBand);
    }
    painttest::FixedColors colors;
    TestTabs t;
};

TEST(TabPaintOptions, EndEllipsisKeepsTheCaptionInsideItsTab)
{
    CaptionStrip s("A caption far longer than the sixty pixels of its tab", 60);
    const RECT& rcItem = s.t.GetItem(0)->GetRect();
    s.t.painter.m_bEndEllipsis = TRUE;
    EXPECT_LE(s.Ink().right, rcItem.right);
    s.t.painter.m_bEndEllipsis = FALSE;
    EXPECT_GT(s.Ink().right, rcItem.right + 20) << "the caption runs on over the next tab";
}

TEST(TabPaintOptions, NoPrefixShowsTheAmpersand)
{
    CaptionStrip s("&Save");
    s.t.painter.m_bNoPrefix = TRUE;
    const RECT shown = s.Ink();
    s.t.painter.m_bNoPrefix = FALSE;
    const RECT mnemonic = s.Ink();
    EXPECT_GT(shown.right - shown.left, mnemonic.right - mnemonic.left) << "the ampersand takes room";
    EXPECT_GT(mnemonic.bottom, shown.bottom) << "the mnemonic is underlined";
    // The natural widths measure the same text.
    s.t.painter.SetLayout(tabLayoutAutoSize);
    s.t.painter.m_bNoPrefix = TRUE;
    s.t.OnPropertyChanged();
    const int withAmpersand = s.t.GetItem(0)->m_nButtonLength;
    s.t.painter.m_bNoPrefix = FALSE;
    s.t.OnPropertyChanged();
    EXPECT_GT(withAmpersand, s.t.GetItem(0)->m_nButtonLength);
}

TEST(TabPaintOptions, TextAlignmentPlacesTheCaption)
{
    CaptionStrip s("Middle");
    s.t.painter.m_rcButtonMargin = {0, 0, 0, 0};
    s.t.painter.m_szIcon = {30, 30}; // a deep row
    s.t.OnPropertyChanged();
    const RECT& rcItem = s.t.GetItem(0)->GetRect();
    ASSERT_GE(rcItem.bottom - rcItem.top, 34);
    s.t.painter.m_nTextAlignment = DT_TOP;
    const RECT top = s.Ink();
    s.t.painter.m_nTextAlignment = DT_VCENTER;
    const RECT centre = s.Ink();
    s.t.painter.m_nTextAlignment = DT_BOTTOM;
    const RECT bottom = s.Ink();
    EXPECT_LT(top.top, centre.top);
    EXPECT_LT(centre.top, bottom.top);
    EXPECT_LE(rcItem.top, top.top);
    EXPECT_LE(bottom.bottom, rcItem.bottom);
    // Centred: as much room above the caption's cell as below it.
    EXPECT_NEAR((rcItem.top + rcItem.bottom) / 2, (centre.top + centre.bottom) / 2, 3);
}

// A 16 by 16 icon with a red mark at (12, 2) and a blue one at (2, 12).
HICON MarkedIcon()
{
    painttest::MemoryDC colour(16, 16, RGB(255, 255, 255));
    colour.dc()->FillSolidRect(12, 2, 2, 2, RGB(255, 0, 0));
    colour.dc()->FillSolidRect(2, 12, 2, 2, RGB(0, 0, 255));
    HDC hScreen = ::GetDC(NULL);
    HBITMAP hColour = ::CreateCompatibleBitmap(hScreen, 16, 16);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = ::SelectObject(hMem, hColour);
    ::BitBlt(hMem, 0, 0, 16, 16, colour.dc()->GetSafeHdc(), 0, 0, SRCCOPY);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    ::ReleaseDC(NULL, hScreen);
    std::vector<BYTE> maskBits(16 * 2, 0); // everything opaque
    HBITMAP hMask = ::CreateBitmap(16, 16, 1, 1, maskBits.data());
    ICONINFO ii = {TRUE, 0, 0, hMask, hColour};
    HICON hIcon = ::CreateIconIndirect(&ii);
    ::DeleteObject(hMask);
    ::DeleteObject(hColour);
    return hIcon;
}

// The centre of the pixels of one colour.
POINT Centre(painttest::MemoryDC& pic, int cx, int cy, COLORREF clr)
{
    long sx = 0, sy = 0, n = 0;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            if (pic.Pixel(x, y) == clr) {
                sx += x;
                sy += y;
                ++n;
            }
    return n ? POINT{sx / n, sy / n} : POINT{-1, -1};
}

TEST(TabPaintOptions, RotatedImagesOnSideStrips)
{
    HICON hIcon = MarkedIcon();
    ASSERT_TRUE(hIcon != NULL);
    struct {
        int position;
        BOOL rotate;
        bool transposed;
    } cases[] = {
        {tabPositionLeft, FALSE, false},
        {tabPositionLeft, TRUE, true},
        {tabPositionRight, TRUE, true},
        {tabPositionTop, TRUE, false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.position << " rotate " << c.rotate);
        TestTabs t;
        t.Fill(2);
        t.GetItem(0)->m_nImage = (DWORD_PTR)hIcon;
        t.painter.m_bRotateImages = c.rotate;
        t.painter.SetPosition(c.position);
        t.area = {0, 0, 200, 200};
        t.OnPropertyChanged();
        painttest::MemoryDC pic(200, 200);
        t.painter.DrawTabControl(&t, pic.dc()->GetSafeHdc(), t.area);
        const POINT red = Centre(pic, 200, 200, RGB(255, 0, 0)), blue = Centre(pic, 200, 200, RGB(0, 0, 255));
        ASSERT_GE(red.x, 0);
        ASSERT_GE(blue.x, 0);
        if (c.transposed) {
            EXPECT_EQ(red.x - blue.x, -10);
            EXPECT_EQ(red.y - blue.y, 10);
        } else {
            EXPECT_EQ(red.x - blue.x, 10);
            EXPECT_EQ(red.y - blue.y, -10);
        }
        if (c.position == tabPositionLeft && c.rotate) {
            EXPECT_TRUE(pic.SavePng("tabs-rotated-image-left.png"));
        }
    }
    ::DestroyIcon(hIcon);
}

// Plain colours: no scheme colours, no blends and no shaded tabs, even on a
// desktop scheme that the Luna sets follow.
TEST(TabPaintOptions, PlainColoursTakeNoSchemeAndNoBlend)
{
    painttest::FixedColors colors(qxColorThemeBlue);
    ToolkitColorManager* cm = ToolkitColorManager::Instance();
    const COLORREF face = cm->GetColor(COLOR_3DFACE), window = cm->GetColor(COLOR_WINDOW);
    for (int set : {4, 16}) {
        SCOPED_TRACE(set);
        TestTabs t;
        t.Fill(2);
        t.painter.SetAppearance(2);
        t.painter.SetColor(set);
        ASSERT_TRUE(t.painter.GetColors().bLuna) << "the scheme's colours without the option";
        t.painter.m_bPlainColors = TRUE;
        t.painter.RefreshColors();
        const TabColorSet& c = t.painter.GetColors();
        EXPECT_FALSE(c.bLuna);
        EXPECT_FALSE(c.bItemGradient);
        EXPECT_EQ(face, c.clrHeader[0]);
        EXPECT_EQ(face, c.clrHeader[1]);
        EXPECT_EQ(face, c.clrClient[0]);
        EXPECT_EQ(face, c.clrClient[1]);
        EXPECT_EQ(face, c.clrNormalFace);
        if (set == 4) {
            // The checked face stands on the window colour without blends.
            EXPECT_EQ(window, c.clrSelectedFace);
            EXPECT_EQ(window, c.clrHotFace);
            EXPECT_EQ(cm->GetColor(COLOR_HIGHLIGHT), c.clrPressedFace);
        }
        // Tabs are filled flat.
        t.area = {0, 0, 300, 40};
        t.SetCurSel(0);
        t.OnPropertyChanged();
        painttest::MemoryDC pic(300, 40);
        const RECT& rc = t.GetItem(1)->GetRect();
        const COLORREF fill = t.painter.GetColorSet()->FillItem(pic.dc()->GetSafeHdc(), rc, &t, t.GetItem(1));
        EXPECT_EQ(fill, pic.Pixel((rc.left + rc.right) / 2, rc.top));
        EXPECT_EQ(fill, pic.Pixel((rc.left + rc.right) / 2, rc.bottom - 1));
    }
    // The scheme sets of the docking themes likewise.
    TestTabs t;
    t.painter.m_bPlainColors = TRUE;
    t.painter.SetDockingColorSet(tabDockingSetScheme, FALSE);
    EXPECT_EQ(face, t.painter.GetColors().clrHeader[0]);
    EXPECT_EQ(face, t.painter.GetColors().clrHeader[1]);
    EXPECT_FALSE(t.painter.GetColors().bItemGradient);
}

// Neighbouring rounded tabs overlap: the tabs before the selected one lie
// under their right-hand neighbours, those after it under their left-hand
// ones, and the selected tab lies over both.
TEST(TabPaintOptions, TabsOverlapTowardsTheSelectedTab)
{
    painttest::FixedColors colors;
    TestTabs t;
    t.Fill(5);
    t.painter.SetAppearance(7);
    t.painter.m_bUseItemColors = TRUE;
    t.area = {0, 0, 500, 40};
    t.SetCurSel(2);
    t.OnPropertyChanged();
    painttest::MemoryDC pic(500, 40);
    t.painter.DrawTabControl(&t, pic.dc()->GetSafeHdc(), t.area);
    EXPECT_TRUE(pic.SavePng("tabs-overlap-order.png"));
    const int on[4] = {1, 2, 2, 3}; // the tab on top between i and i + 1
    for (int i = 0; i < 4; ++i) {
        const RECT& rc = t.GetItem(i)->GetRect();
        EXPECT_EQ(t.GetItem(on[i])->GetColor(), pic.Pixel(rc.right, rc.bottom - 2)) << i;
    }
}

// Rotated tabs stand across the strip on the header's client side; the
// header is as deep as the longest of them.
TEST(TabPaintOptions, RotatedTabsStandOnTheClientSide)
{
    TestTabs t;
    t.Fill(3);
    t.GetItem(1)->SetCaption("A much longer caption");
    t.painter.SetLayout(tabLayoutRotated);
    t.area = {0, 0, 400, 300};
    struct {
        int position;
        LONG RECT::*clientSide;
        LONG RECT::*headerSide;
    } cases[] = {
        {tabPositionTop, &RECT::bottom, &RECT::bottom},
        {tabPositionBottom, &RECT::top, &RECT::top},
        {tabPositionLeft, &RECT::right, &RECT::right},
        {tabPositionRight, &RECT::left, &RECT::left},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.position);
        t.painter.SetPosition(c.position);
        const int h = t.painter.GetButtonHeight();
        const RECT m = t.painter.GetHeaderMargin();
        const BOOL horizontal = c.position == tabPositionTop || c.position == tabPositionBottom;
        int longest = 0;
        for (int i = 0; i < 3; ++i)
            longest = std::max(longest, t.GetItem(i)->m_nButtonLength);
        ASSERT_GT(longest, h);
        const RECT& rcHeader = t.m_rcHeaderRect;
        EXPECT_EQ(m.top + longest + m.bottom, horizontal ? rcHeader.bottom - rcHeader.top : rcHeader.right - rcHeader.left);
        EXPECT_EQ(3 * h, t.GetItemsLength());
        for (int i = 0; i < 3; ++i) {
            const RECT& r = t.GetItem(i)->GetRect();
            EXPECT_EQ(h, horizontal ? r.right - r.left : r.bottom - r.top) << i;
            EXPECT_EQ(t.GetItem(i)->m_nButtonLength, horizontal ? r.bottom - r.top : r.right - r.left) << i;
            EXPECT_EQ(rcHeader.*c.headerSide, r.*c.clientSide) << i;
        }
    }
}

// The navigate buttons' glyphs about the button's centre: triangles along
// the strip, the "Active Files" triangle pointing down with a bar above it
// while the tabs overflow.
TEST(TabPaintOptions, NavigateButtonGlyphs)
{
    painttest::FixedColors colors;
    const COLORREF glyph = ToolkitColorManager::Instance()->GetColor(COLOR_BTNTEXT);
    struct {
        const char* what;
        int position;
        UINT id;
        int tabs;
        RECT box; // left, top, right, bottom offsets from the centre, inclusive
    } cases[] = {
        {"scroll right", tabPositionTop, CQXPTabManagerNavigateButton::idRight, 12, {-2, -5, 2, 3}},
        {"scroll down", tabPositionLeft, CQXPTabManagerNavigateButton::idRight, 12, {-5, -2, 3, 2}},
        {"active files, tabs overflowing", tabPositionTop, CQXPTabManagerNavigateButton::idActiveFiles, 12, {-5, -5, 3, 2}},
        {"active files, tabs fitting", tabPositionTop, CQXPTabManagerNavigateButton::idActiveFiles, 1, {-5, -2, 3, 2}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestTabs t;
        t.m_arrNavigateButtons.push_back(
            new CQXPTabManagerNavigateButton(&t, CQXPTabManagerNavigateButton::idActiveFiles, 2));
        t.Fill(c.tabs);
        t.painter.SetPosition(c.position);
        t.area = {0, 0, 200, 200};
        t.OnPropertyChanged();
        CQXPTabManagerNavigateButton* b = t.FindNavigateButton(c.id);
        ASSERT_FALSE(IsRectEmpty(&b->m_rc));
        ASSERT_TRUE(b->m_bEnabled);
        painttest::MemoryDC pic(200, 200);
        t.painter.DrawTabControl(&t, pic.dc()->GetSafeHdc(), t.area);
        const RECT& rc = b->m_rc;
        const POINT centre = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        RECT box = {1000, 1000, -1000, -1000};
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                if (pic.Pixel(x, y) == glyph) {
                    box.left = std::min<LONG>(box.left, x - centre.x);
                    box.top = std::min<LONG>(box.top, y - centre.y);
                    box.right = std::max<LONG>(box.right, x - centre.x);
                    box.bottom = std::max<LONG>(box.bottom, y - centre.y);
                }
        EXPECT_EQ(CRect(c.box), CRect(box));
    }
}

// Flat box tabs (appearance 2): framed in the border colour and lit one
// pixel inside the start, the outer edge and the end.
TEST(TabPaintOptions, FlatBoxTabsAreLitInsideTheirFreeSides)
{
    painttest::FixedColors colors;
    TestTabs t;
    t.Fill(3);
    t.painter.SetAppearance(2);
    t.area = {0, 0, 300, 40};
    t.SetCurSel(1);
    t.OnPropertyChanged();
    painttest::MemoryDC pic(300, 40);
    t.painter.DrawTabControl(&t, pic.dc()->GetSafeHdc(), t.area);
    const TabColorSet& c = t.painter.GetColors();
    ASSERT_NE(c.clrButtonHighlight, c.clrNormalFace);
    const RECT& rc = t.GetItem(0)->GetRect();
    const int y = (rc.top + rc.bottom) / 2, x = (rc.left + rc.right) / 2;
    EXPECT_EQ(c.clrButtonHighlight, pic.Pixel(rc.left + 1, y)) << "start";
    EXPECT_EQ(c.clrButtonHighlight, pic.Pixel(x, rc.top + 1)) << "outer edge";
    EXPECT_EQ(c.clrButtonHighlight, pic.Pixel(rc.right - 1, y)) << "end";
    EXPECT_EQ(c.clrBorder, pic.Pixel(rc.left, y));
    EXPECT_EQ(c.clrBorder, pic.Pixel(rc.right, y));
}


// The flat box tabs' two flags, read back from the strip on top and at the
// bottom: the box (every tab framed and lit inside), the separator (only the
// selected tab a rounded box, short separators between the others) and
// neither (every tab a rounded box, the unselected ones on the client's line
// unless the client has no frame). Tab 0 is selected; u runs along a tab
// from its start, v from its outer edge towards the client.
TEST(TabPaintOptions, FlatBoxFlagsChooseTheTabShapes)
{
    painttest::FixedColors colors;
    const COLORREF header = RGB(200, 200, 255), normal = RGB(0, 160, 0), selected = RGB(255, 255, 0),
                   border = RGB(255, 0, 0), light = RGB(0, 0, 255);
    struct Case {
        const char* name;
        BOOL box, separator;
        int clientFrame;
        bool filled;         // unselected tabs filled
        bool separators;     // a line at the far end of an unselected tab, none after the last
        bool rounded;        // rounded corners (the corner pixel keeps the header)
        COLORREF clientLine; // under an unselected tab's client side
        const char* picture; // of the strip at the bottom, or none
    } cases[] = {
        {"box", TRUE, FALSE, 1, true, false, false, border, "tabs-flatbox-box.png"},
        {"box over separator", TRUE, TRUE, 1, true, false, false, border, NULL},
        {"separator", FALSE, TRUE, 1, false, true, true, border, "tabs-flatbox-separator.png"},
        {"separator, no client frame", FALSE, TRUE, 2, false, true, true, header, NULL},
        {"neither", FALSE, FALSE, 1, true, false, true, border, "tabs-flatbox-neither.png"},
        {"neither, no client frame", FALSE, FALSE, 2, true, false, true, normal, NULL},
    };
    for (const Case& k : cases)
        for (int nPosition : {tabPositionTop, tabPositionBottom}) {
            SCOPED_TRACE(testing::Message() << k.name << ", position " << nPosition);
            TestTabs t;
            t.Fill(4);
            t.painter.SetAppearanceSet(new CTabAppearanceFlatBox(k.box, k.separator));
            ASSERT_EQ(2, t.painter.GetAppearance());
            t.painter.SetPosition(nPosition);
            t.painter.m_nClientFrame = k.clientFrame;
            t.painter.m_bFillClient = FALSE;
            TabColorSet& c = t.painter.GetColors();
            c.clrHeader[0] = c.clrHeader[1] = header;
            c.clrNormalFace = c.clrHotFace = c.clrPressedFace = normal;
            c.clrSelectedFace = selected;
            c.clrBorder = border;
            c.clrButtonHighlight = light;
            c.bLuna = c.bItemGradient = FALSE;
            t.area = {0, 0, 400, 60};
            t.SetCurSel(0);
            t.OnPropertyChanged();
            painttest::MemoryDC pic(400, 60, RGB(128, 128, 128));
            t.painter.DrawTabControl(&t, pic.dc()->GetSafeHdc(), t.area);
            auto px = [&](int nItem, int u, int v) {
                const RECT& r = t.GetItem(nItem)->GetRect();
                return pic.Pixel(r.left + u, nPosition == tabPositionTop ? r.top + v : r.bottom - 1 - v);
            };
            const RECT& r0 = t.GetItem(0)->GetRect();
            const int D = r0.bottom - r0.top;
            auto len = [&](int nItem) {
                const RECT& r = t.GetItem(nItem)->GetRect();
                return (int)(r.right - r.left);
            };
            ASSERT_GT(D, 10);
            // The selected tab: filled, outlined at its outer edge, joined
            // to the client (no line on its client side).
            EXPECT_EQ(selected, px(0, 3, D / 2)) << "selected inside";
            EXPECT_EQ(border, px(0, len(0) / 2, 0)) << "selected outer edge";
            EXPECT_EQ(selected, px(0, len(0) / 2, D - 1)) << "selected client side";
            EXPECT_EQ(k.rounded ? header : border, px(0, 0, 0)) << "selected corner";
            // An unselected tab in the middle and the last one.
            EXPECT_EQ(k.filled ? normal : header, px(1, 3, D / 2)) << "unselected inside";
            EXPECT_EQ(k.clientLine, px(1, len(1) / 2, D - 1)) << "unselected client side";
            if (k.box) {
                EXPECT_EQ(light, px(1, 1, D / 2)) << "lit inside the start";
                EXPECT_EQ(light, px(1, len(1) / 2, 1)) << "lit inside the outer edge";
                EXPECT_EQ(border, px(1, len(1) / 2, 0)) << "framed";
            } else if (k.separators) {
                // One pixel past the tab: the start of the next one.
                EXPECT_EQ(border, px(1, len(1), D / 2)) << "separator";
                EXPECT_EQ(header, px(1, len(1), 1)) << "separator 3 pixels off the outer end";
                EXPECT_EQ(header, px(1, len(1) / 2, 0)) << "no outline";
                EXPECT_EQ(header, px(3, len(3), D / 2)) << "no separator after the last tab";
            } else {
                EXPECT_EQ(border, px(1, len(1) / 2, 0)) << "outlined";
                EXPECT_EQ(border, px(3, len(3), D / 2)) << "the last tab's far side";
                EXPECT_EQ(header, px(3, len(3), 0)) << "the last tab's far corner";
            }
            if (nPosition == tabPositionBottom && k.picture)
                EXPECT_TRUE(pic.SavePng(k.picture));
        }
}

} // namespace
