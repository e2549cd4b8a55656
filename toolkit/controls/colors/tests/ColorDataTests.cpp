// The colour pickers' arithmetic without windows: hexadecimal text, RGB and
// HSL, the contrast colour, the selector's size, keys and recent colours,
// and the honeycomb's 144 cells.
#include <qx/colordata.h>
#include <qx/colors.h>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

TEST(ColorText, FormatHexColorWritesEachOfTheEightForms)
{
    const struct {
        COLORREF clr;
        const char* text;
    } rows[] = {
        {RGB(0xAB, 0xCD, 0xEF), "Hex=ABCDEF"},
        {RGB(0xAB, 0xCD, 0x0E), "Hex=ABCD0E"},
        {RGB(0xAB, 0x0C, 0xEF), "Hex=AB0CEF"},
        {RGB(0xAB, 0x0C, 0x0E), "Hex=AB0C0E"},
        {RGB(0x0A, 0xCD, 0xEF), "Hex= 0ACDEF"},
        {RGB(0x0A, 0xCD, 0x0E), "Hex= 0ACD0E"},
        {RGB(0x0A, 0x0C, 0xEF), "Hex= 0A0CEF"},
        {RGB(0x0A, 0x0C, 0x0E), "Hex= 0A0C0E"},
        {RGB(0, 0, 0), "Hex= 000000"},
        {RGB(16, 16, 16), "Hex=101010"},
        {RGB(255, 255, 255), "Hex=FFFFFF"},
    };
    for (const auto& r : rows)
        EXPECT_STREQ(r.text, FormatHexColor(r.clr).GetString());
}

TEST(ColorText, RgbToHslAndBack)
{
    const struct {
        COLORREF clr;
        int h, s, l;
    } rows[] = {
        // Greys have neither hue nor saturation.
        {RGB(0, 0, 0), 0, 0, 0},
        {RGB(128, 128, 128), 0, 0, 128},
        {RGB(255, 255, 255), 0, 0, 255},
        // Primaries and secondaries: the sixths of the hue circle.
        {RGB(255, 0, 0), 0, 255, 127},
        {RGB(255, 255, 0), 42, 255, 127},
        {RGB(0, 255, 0), 85, 255, 127},
        {RGB(0, 255, 255), 127, 255, 127},
        {RGB(0, 0, 255), 170, 255, 127},
        {RGB(255, 0, 255), 212, 255, 127},
        // Just below red again: the hue wraps instead of going negative.
        {RGB(255, 0, 1), 254, 255, 127},
        // Light and dark halves of the saturation formula.
        {RGB(255, 128, 128), 0, 255, 191},
        {RGB(128, 0, 0), 0, 255, 64},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(FormatHexColor(r.clr).GetString());
        const QxHsl hsl = RgbToHsl(r.clr);
        EXPECT_EQ(r.h, hsl.nHue);
        EXPECT_EQ(r.s, hsl.nSaturation);
        EXPECT_EQ(r.l, hsl.nLuminance);
        // Back through the editor's HSL conversion, within truncation.
        const COLORREF back = HslToRgb(hsl.nHue / 255.0, hsl.nSaturation / 255.0, hsl.nLuminance / 255.0);
        EXPECT_NEAR(GetRValue(r.clr), GetRValue(back), 6);
        EXPECT_NEAR(GetGValue(r.clr), GetGValue(back), 6);
        EXPECT_NEAR(GetBValue(r.clr), GetBValue(back), 6);
    }
}

TEST(ColorText, ContrastColorIsBlackOnBrightColoursOnly)
{
    const struct {
        COLORREF clr, contrast;
    } rows[] = {
        {RGB(255, 255, 255), RGB(0, 0, 0)},
        {RGB(0, 0, 0), RGB(255, 255, 255)},
        {RGB(255, 255, 0), RGB(0, 0, 0)},
        {RGB(0, 0, 255), RGB(255, 255, 255)},
        {RGB(128, 128, 128), RGB(255, 255, 255)}, // brightness 128 is not above 128
        {RGB(129, 129, 129), RGB(0, 0, 0)},
        {RGB(0, 255, 0), RGB(0, 0, 0)},
        {RGB(255, 0, 0), RGB(255, 255, 255)},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.contrast, QxContrastColor(r.clr)) << FormatHexColor(r.clr).GetString();
}

TEST(ColorSelectorLayout, SizeByStyleRecentColoursAndMargins)
{
    const CRect none(0, 0, 0, 0), flatPopup(4, 4, 6, 6), popup(4, 4, 10, 10);
    const struct {
        const char* name;
        DWORD dwStyle;
        int nTable, nRecent;
        CRect margins;
        int cx, cy;
    } rows[] = {
        {"standard", 0, 0, 0, none, 144, 27 + 36 + 22},
        {"standard, no fill", QXCS_NOFILL, 0, 0, none, 144, 85},
        {"extended", QXCS_EXTENDED, 0, 0, none, 144, 27 + 5 * 18},
        {"more colours, none recent", QXCS_MORECOLORS, 0, 0, none, 144, 85 + 27},
        {"more colours, recent", QXCS_MORECOLORS, 0, 3, none, 144, 85 + 18 + 31},
        {"the options pages' 0x26", 0x26, 0, 0, none, 144, 117 + 27},
        {"the options pages' 0x26, recent", 0x26, 0, 8, none, 144, 117 + 49},
        {"custom table of 10", QXCS_EXTENDED, 10, 0, none, 144, 27 + 2 * 18},
        {"flat popup", 0x26, 0, 0, flatPopup, 154, 144 + 10},
        {"default popup", 0x26, 0, 0, popup, 158, 144 + 14},
        {"default popup, recent", 0x26, 0, 1, popup, 158, 166 + 14},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const CSize sz = QxColorSelectorSize(r.dwStyle, r.nTable, r.nRecent, r.margins);
        EXPECT_EQ(r.cx, sz.cx);
        EXPECT_EQ(r.cy, sz.cy);
    }
    // The recent row makes a popup 22 pixels taller.
    EXPECT_EQ(22, QxColorSelectorSize(0x26, 0, 1, popup).cy - QxColorSelectorSize(0x26, 0, 0, popup).cy);
}

TEST(ColorSelectorLayout, ArrowKeysMoveTheHotCell)
{
    // 42 cells: the top button, 40 colours, "More Colors...".
    const int n = 42, last = 41;
    const struct {
        UINT vk;
        int from, to;
        BOOL bMore;
    } rows[] = {
        {VK_LEFT, 5, 4, TRUE},
        {VK_LEFT, 0, last, TRUE},
        {VK_LEFT, -1, last, TRUE},
        {VK_RIGHT, 5, 6, TRUE},
        {VK_RIGHT, last, 0, TRUE},
        {VK_RIGHT, -1, 0, TRUE},
        {VK_UP, -1, last, TRUE},
        {VK_UP, 0, last, TRUE},
        {VK_UP, last, last - 1, TRUE},
        {VK_UP, 20, 12, TRUE},
        {VK_UP, 3, 0, TRUE},
        {VK_UP, last, last - 8, FALSE},
        {VK_DOWN, -1, 0, TRUE},
        {VK_DOWN, 0, 1, TRUE},
        {VK_DOWN, last, 0, TRUE},
        {VK_DOWN, 12, 20, TRUE},
        {VK_DOWN, 38, last, TRUE},
        {VK_HOME, 7, 7, TRUE},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.to, QxColorSelectorKey(r.vk, r.from, n, 8, r.bMore)) << "key " << r.vk << " from " << r.from;
    EXPECT_EQ(-1, QxColorSelectorKey(VK_DOWN, -1, 0, 8, TRUE)) << "no cells";
}

TEST(ColorSelectorLayout, TablesHoldTheNamedColours)
{
    EXPECT_EQ(RGB(0x80, 0x80, 0x80), g_qxStandardColors[1].clr);
    EXPECT_EQ(RGB(0xFF, 0x00, 0xFF), g_qxStandardColors[15].clr);
    EXPECT_EQ(RGB(0x99, 0x33, 0x00), g_qxExtendedColors[1].clr);
    EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), g_qxExtendedColors[39].clr);
    std::set<COLORREF> ext;
    for (const QxNamedColor& c : g_qxExtendedColors)
        ext.insert(c.clr);
    EXPECT_EQ(40u, ext.size()) << "no colour twice in the extended table";
}

TEST(RecentColors, AppendsNewColoursAndDropsTheOldestOnlyWhenAppending)
{
    CQXRecentColors recent;
    for (int i = 0; i < 8; i++)
        EXPECT_TRUE(recent.Add(RGB(i, 1, 2), FALSE, 8));
    ASSERT_EQ(8, recent.GetCount());
    // A known colour (in the table or the list) changes nothing, even full.
    EXPECT_FALSE(recent.Add(RGB(3, 1, 2), TRUE, 8));
    EXPECT_EQ(8, recent.GetCount());
    EXPECT_EQ(RGB(0, 1, 2), recent.GetAt(0)) << "the oldest stays";
    // The ninth new colour drops the oldest.
    EXPECT_TRUE(recent.Add(RGB(9, 9, 9), FALSE, 8));
    EXPECT_EQ(8, recent.GetCount());
    EXPECT_EQ(RGB(1, 1, 2), recent.GetAt(0));
    EXPECT_EQ(RGB(9, 9, 9), recent.GetAt(7));
    EXPECT_TRUE(recent.Contains(RGB(9, 9, 9)));
    EXPECT_FALSE(recent.Contains(RGB(0, 1, 2)));
    // A smaller limit trims down to it.
    EXPECT_TRUE(recent.Add(RGB(10, 10, 10), FALSE, 4));
    EXPECT_EQ(4, recent.GetCount());
    EXPECT_EQ(RGB(10, 10, 10), recent.GetAt(3));
}

// ---------------------------------------------------------------------------
// The honeycomb.

TEST(Honeycomb, CellsHaveTheirSizesAndNeverOverlap)
{
    const int cx = 220;
    const auto cells = BuildHoneycomb(cx);
    ASSERT_EQ(144u, cells.size());
    std::map<std::pair<int, int>, int> owner;
    for (size_t i = 0; i < cells.size(); i++) {
        const auto& c = cells[i];
        EXPECT_EQ(c.bSmall ? 168u : 691u, c.pixels.size()) << "cell " << i;
        EXPECT_EQ(i >= 142 ? FALSE : TRUE, c.bSmall) << "cell " << i;
        for (const POINT& p : c.pixels) {
            auto ins = owner.emplace(std::make_pair(p.x, p.y), (int)i);
            EXPECT_TRUE(ins.second) << "cells " << ins.first->second << " and " << i << " share (" << p.x << ","
                                    << p.y << ")";
            EXPECT_GE(p.x, 0);
            EXPECT_LT(p.x, cx);
        }
    }
    // Centred: a = (220 - 182) / 2 = 19; the large white cell starts at a,
    // its first pixel in row 172; the large black one at a + 153.
    EXPECT_EQ(19, cells[142].Origin().x);
    EXPECT_EQ(172, cells[142].Origin().y);
    EXPECT_EQ(19 + 153, cells[143].Origin().x);
    EXPECT_EQ(19 + 84, cells[63].Origin().x) << "the centre white cell";
    EXPECT_EQ(75, cells[63].Origin().y);
}

TEST(Honeycomb, ColoursAreUniqueButForTheTwoWhites)
{
    const auto cells = BuildHoneycomb(182);
    std::map<COLORREF, std::vector<int>> byColour;
    for (size_t i = 0; i < cells.size(); i++)
        byColour[cells[i].clr].push_back((int)i);
    for (const auto& e : byColour) {
        if (e.first == RGB(255, 255, 255))
            EXPECT_EQ((std::vector<int>{63, 142}), e.second);
        else
            EXPECT_EQ(1u, e.second.size()) << FormatHexColor(e.first).GetString();
        EXPECT_TRUE(IsHoneycombColor(e.first));
    }
    EXPECT_EQ(143u, byColour.size());
    EXPECT_FALSE(IsHoneycombColor(RGB(1, 2, 3)));
    EXPECT_EQ((COLORREF)0x663300, cells[0].clr) << "stored as COLORREF values";
}

TEST(Honeycomb, HitTestFindsEachCellAtItsFirstPixel)
{
    const auto cells = BuildHoneycomb(200);
    for (size_t i = 0; i < cells.size(); i++) {
        const POINT pt = cells[i].Origin();
        EXPECT_EQ((int)i, HoneycombHitTest(cells, pt.x, pt.y));
        const POINT last = cells[i].pixels.back();
        EXPECT_EQ((int)i, HoneycombHitTest(cells, last.x, last.y));
    }
    EXPECT_EQ(-1, HoneycombHitTest(cells, 0, 0)) << "a corner outside the hexagon";
    EXPECT_EQ(-1, HoneycombHitTest(cells, 100, 300));
}

TEST(Honeycomb, ArrowNeighboursFollowTheTableWithEdges)
{
    const auto cells = BuildHoneycomb(182);
    const struct {
        int cell, left, up, right, down;
    } rows[] = {
        {0, -1, -1, 1, 8},
        {6, 5, -1, 7, 14},
        {63, 62, 50, 64, 76},
        {126, 125, 118, 142, 142},
        {127, 142, 142, 135, 135},
        {141, 133, 133, 134, 134},
        {142, 126, 126, 127, 127},
        {143, 134, 134, -1, -1},
    };
    for (const auto& r : rows) {
        const auto& c = cells[(size_t)r.cell];
        EXPECT_EQ(r.left, c.nLeft) << r.cell;
        EXPECT_EQ(r.up, c.nUp) << r.cell;
        EXPECT_EQ(r.right, c.nRight) << r.cell;
        EXPECT_EQ(r.down, c.nDown) << r.cell;
    }
    // Every neighbour is a cell or -1, and walking right along the first
    // row ends at its edge.
    for (const auto& c : cells)
        for (int n : {c.nLeft, c.nUp, c.nRight, c.nDown})
            EXPECT_TRUE(n >= -1 && n < 144);
    int n = 0, steps = 0;
    while (cells[(size_t)n].nRight != -1 && cells[(size_t)n].nRight != 7 && steps++ < 200)
        n = cells[(size_t)n].nRight;
    EXPECT_EQ(6, n);
}

} // namespace
