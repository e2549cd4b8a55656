// colordata.cpp - the colour pickers' arithmetic: hexadecimal text, RGB and
// HSL, the selector's tables, size and keys, the recent colours and the
// honeycomb cells.
#include <qx/colordata.h>

#include <qxresource.h>

// ---------------------------------------------------------------------------
// Text and conversions.

CString AFXAPI FormatHexColor(COLORREF clr)
{
    const int r = GetRValue(clr), g = GetGValue(clr), b = GetBValue(clr);
    CString str;
    str.Format("Hex=%s%X%s%X%s%X", r < 16 ? " 0" : "", r, g < 16 ? "0" : "", g, b < 16 ? "0" : "", b);
    return str;
}

QxHsl AFXAPI RgbToHsl(COLORREF clr)
{
    const double r = GetRValue(clr) * (1.0 / 255), g = GetGValue(clr) * (1.0 / 255), b = GetBValue(clr) * (1.0 / 255);
    const double dMax = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const double dMin = r < g ? (r < b ? r : b) : (g < b ? g : b);
    const double l = (dMax + dMin) / 2;
    double h = 0, s = 0;
    if (dMax != dMin) {
        const double d = dMax - dMin;
        s = l < 0.5 ? d / (dMax + dMin) : d / (2 - dMax - dMin);
        if (r == dMax)
            h = (g - b) / d;
        else if (g == dMax)
            h = (b - r) / d + 2;
        else
            h = (r - g) / d + 4;
        h /= 6;
        if (h < 0)
            h += 1;
    }
    QxHsl hsl = {(int)(h * 255), (int)(s * 255), (int)(l * 255)};
    return hsl;
}

COLORREF AFXAPI QxContrastColor(COLORREF clr)
{
    const double y = (299.0 * GetRValue(clr) + 587.0 * GetGValue(clr) + 114.0 * GetBValue(clr)) * 0.001;
    return y > 128 ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

// ---------------------------------------------------------------------------
// The selector's tables.

const QxNamedColor g_qxStandardColors[kQxStandardColorCount] = {
    {QX_IDS_CLR_BLACK, RGB(0x00, 0x00, 0x00)},
    {QX_IDS_CLR_GRAY, RGB(0x80, 0x80, 0x80)},
    {QX_IDS_CLR_MAROON, RGB(0x80, 0x00, 0x00)},
    {QX_IDS_CLR_OLIVE, RGB(0x80, 0x80, 0x00)},
    {QX_IDS_CLR_GREEN, RGB(0x00, 0x80, 0x00)},
    {QX_IDS_CLR_TEAL, RGB(0x00, 0x80, 0x80)},
    {QX_IDS_CLR_NAVY, RGB(0x00, 0x00, 0x80)},
    {QX_IDS_CLR_PURPLE, RGB(0x80, 0x00, 0x80)},
    {QX_IDS_CLR_WHITE, RGB(0xFF, 0xFF, 0xFF)},
    {QX_IDS_CLR_SILVER, RGB(0xC0, 0xC0, 0xC0)},
    {QX_IDS_CLR_RED, RGB(0xFF, 0x00, 0x00)},
    {QX_IDS_CLR_YELLOW, RGB(0xFF, 0xFF, 0x00)},
    {QX_IDS_CLR_LIME, RGB(0x00, 0xFF, 0x00)},
    {QX_IDS_CLR_AQUA, RGB(0x00, 0xFF, 0xFF)},
    {QX_IDS_CLR_BLUE, RGB(0x00, 0x00, 0xFF)},
    {QX_IDS_CLR_FUCHSIA, RGB(0xFF, 0x00, 0xFF)},
};

const QxNamedColor g_qxExtendedColors[kQxExtendedColorCount] = {
    {QX_IDS_CLR_BLACK, RGB(0x00, 0x00, 0x00)},
    {QX_IDS_CLR_BROWN, RGB(0x99, 0x33, 0x00)},
    {QX_IDS_CLR_OLIVE_GREEN, RGB(0x33, 0x33, 0x00)},
    {QX_IDS_CLR_DARK_GREEN, RGB(0x00, 0x33, 0x00)},
    {QX_IDS_CLR_DARK_TEAL, RGB(0x00, 0x33, 0x66)},
    {QX_IDS_CLR_DARK_BLUE, RGB(0x00, 0x00, 0x80)},
    {QX_IDS_CLR_INDIGO, RGB(0x33, 0x33, 0x99)},
    {QX_IDS_CLR_GRAY80, RGB(0x33, 0x33, 0x33)},
    {QX_IDS_CLR_DARK_RED, RGB(0x80, 0x00, 0x00)},
    {QX_IDS_CLR_ORANGE, RGB(0xFF, 0x66, 0x00)},
    {QX_IDS_CLR_DARK_YELLOW, RGB(0x80, 0x80, 0x00)},
    {QX_IDS_CLR_GREEN, RGB(0x00, 0x80, 0x00)},
    {QX_IDS_CLR_TEAL, RGB(0x00, 0x80, 0x80)},
    {QX_IDS_CLR_BLUE, RGB(0x00, 0x00, 0xFF)},
    {QX_IDS_CLR_BLUE_GRAY, RGB(0x66, 0x66, 0x99)},
    {QX_IDS_CLR_GRAY50, RGB(0x80, 0x80, 0x80)},
    {QX_IDS_CLR_RED, RGB(0xFF, 0x00, 0x00)},
    {QX_IDS_CLR_LIGHT_ORANGE, RGB(0xFF, 0x99, 0x00)},
    {QX_IDS_CLR_LIME, RGB(0x99, 0xCC, 0x00)},
    {QX_IDS_CLR_SEA_GREEN, RGB(0x33, 0x99, 0x66)},
    {QX_IDS_CLR_AQUA, RGB(0x33, 0xCC, 0xCC)},
    {QX_IDS_CLR_LIGHT_BLUE, RGB(0x33, 0x66, 0xFF)},
    {QX_IDS_CLR_VIOLET, RGB(0x80, 0x00, 0x80)},
    {QX_IDS_CLR_GRAY40, RGB(0x99, 0x99, 0x99)},
    {QX_IDS_CLR_PINK, RGB(0xFF, 0x00, 0xFF)},
    {QX_IDS_CLR_GOLD, RGB(0xFF, 0xCC, 0x00)},
    {QX_IDS_CLR_YELLOW, RGB(0xFF, 0xFF, 0x00)},
    {QX_IDS_CLR_BRIGHT_GREEN, RGB(0x00, 0xFF, 0x00)},
    {QX_IDS_CLR_TURQUOISE, RGB(0x00, 0xFF, 0xFF)},
    {QX_IDS_CLR_SKY_BLUE, RGB(0x00, 0xCC, 0xFF)},
    {QX_IDS_CLR_PLUM, RGB(0x99, 0x33, 0x66)},
    {QX_IDS_CLR_GRAY25, RGB(0xC0, 0xC0, 0xC0)},
    {QX_IDS_CLR_ROSE, RGB(0xFF, 0x99, 0xCC)},
    {QX_IDS_CLR_TAN, RGB(0xFF, 0xCC, 0x99)},
    {QX_IDS_CLR_LIGHT_YELLOW, RGB(0xFF, 0xFF, 0x99)},
    {QX_IDS_CLR_LIGHT_GREEN, RGB(0xCC, 0xFF, 0xCC)},
    {QX_IDS_CLR_LIGHT_TURQUOISE, RGB(0xCC, 0xFF, 0xFF)},
    {QX_IDS_CLR_PALE_BLUE, RGB(0x99, 0xCC, 0xFF)},
    {QX_IDS_CLR_LAVENDER, RGB(0xCC, 0x99, 0xFF)},
    {QX_IDS_CLR_WHITE, RGB(0xFF, 0xFF, 0xFF)},
};

// ---------------------------------------------------------------------------
// The selector's size and keys.

CSize AFXAPI QxColorSelectorSize(DWORD dwStyle, int nTableCells, int nRecent, const CRect& rcMargins, int nColumns,
                                 CSize szCell)
{
    if (nColumns < 1)
        nColumns = 1;
    int cy = rcMargins.top + rcMargins.bottom + kQxColorButtonRow;
    if (dwStyle & QXCS_EXTENDED) {
        int nCells = nTableCells > 0 ? nTableCells : kQxExtendedColorCount;
        cy += (nCells + nColumns - 1) / nColumns * szCell.cy;
    } else {
        cy += 2 * szCell.cy + kQxColorCaptionRow;
    }
    if (dwStyle & QXCS_MORECOLORS)
        cy += nRecent > 0 ? szCell.cy + kQxColorButtonRow + kQxColorRecentGap : kQxColorButtonRow;
    return CSize(rcMargins.left + nColumns * szCell.cx + rcMargins.right, cy);
}

int AFXAPI QxColorSelectorKey(UINT nVirtKey, int nHot, int nCells, int nColumns, BOOL bMoreColors)
{
    const int nLast = nCells - 1;
    if (nCells <= 0)
        return -1;
    int n = nHot;
    switch (nVirtKey) {
    case VK_LEFT:
        n = nHot <= 0 ? nLast : nHot - 1;
        break;
    case VK_RIGHT:
        n = nHot >= nLast ? 0 : nHot + 1;
        break;
    case VK_UP:
        if (nHot <= 0)
            n = nLast;
        else if (nHot == nLast && bMoreColors)
            n = nLast - 1;
        else
            n = nHot - nColumns;
        break;
    case VK_DOWN:
        if (nHot < 0)
            n = 0;
        else if (nHot == 0)
            n = 1;
        else if (nHot == nLast)
            n = 0;
        else
            n = nHot + nColumns;
        break;
    default:
        return nHot;
    }
    return n < 0 ? 0 : (n > nLast ? nLast : n);
}

// ---------------------------------------------------------------------------
// Recent colours.

CQXRecentColors* AFXAPI CQXRecentColors::Instance()
{
    static CQXRecentColors s_recent;
    return &s_recent;
}

BOOL CQXRecentColors::Contains(COLORREF clr) const
{
    for (COLORREF c : m_colors)
        if (c == clr)
            return TRUE;
    return FALSE;
}

BOOL CQXRecentColors::Add(COLORREF clr, BOOL bKnown, int nLimit)
{
    if (bKnown || nLimit <= 0)
        return FALSE;
    while ((int)m_colors.size() >= nLimit)
        m_colors.erase(m_colors.begin());
    m_colors.push_back(clr);
    return TRUE;
}

// ---------------------------------------------------------------------------
// The honeycomb.

namespace {

struct HoneycombEntry {
    COLORREF clr;
    int x, y; // origin, x from the honeycomb's left edge a
    BOOL bSmall;
    int nLeft, nUp, nRight, nDown;
};

// Thirteen rows of small cells in a hexagon, two grey rows, then the large
// white and black cells at the ends of the first grey row.
const HoneycombEntry kHoneycomb[kQxHoneycombCells] = {
    {0x663300, 42, 3, TRUE, -1, -1, 1, 8},          // 0
    {0x996633, 56, 3, TRUE, 0, -1, 2, 9},           // 1
    {0xCC6633, 70, 3, TRUE, 1, -1, 3, 10},          // 2
    {0x993300, 84, 3, TRUE, 2, -1, 4, 11},          // 3
    {0x990000, 98, 3, TRUE, 3, -1, 5, 12},          // 4
    {0xCC0000, 112, 3, TRUE, 4, -1, 6, 13},         // 5
    {0x660000, 126, 3, TRUE, 5, -1, 7, 14},         // 6
    {0x666600, 35, 15, TRUE, 6, -1, 8, 16},         // 7
    {0x996600, 49, 15, TRUE, 7, 0, 9, 17},          // 8
    {0xCC9900, 63, 15, TRUE, 8, 1, 10, 18},         // 9
    {0xCC6600, 77, 15, TRUE, 9, 2, 11, 19},         // 10
    {0xCC3300, 91, 15, TRUE, 10, 3, 12, 20},        // 11
    {0xFF0000, 105, 15, TRUE, 11, 4, 13, 21},       // 12
    {0xFF3333, 119, 15, TRUE, 12, 5, 14, 22},       // 13
    {0x993333, 133, 15, TRUE, 13, 6, 15, 23},       // 14
    {0x808000, 28, 27, TRUE, 14, 6, 16, 25},        // 15
    {0x999900, 42, 27, TRUE, 15, 7, 17, 26},        // 16
    {0xCCCC33, 56, 27, TRUE, 16, 8, 18, 27},        // 17
    {0xFFCC00, 70, 27, TRUE, 17, 9, 19, 28},        // 18
    {0xFF9900, 84, 27, TRUE, 18, 10, 20, 29},       // 19
    {0xFF6600, 98, 27, TRUE, 19, 11, 21, 30},       // 20
    {0xFF6633, 112, 27, TRUE, 20, 12, 22, 31},      // 21
    {0xCC3333, 126, 27, TRUE, 21, 13, 23, 32},      // 22
    {0x996666, 140, 27, TRUE, 22, 14, 24, 33},      // 23
    {0x669933, 21, 39, TRUE, 23, 14, 25, 35},       // 24
    {0x99CC00, 35, 39, TRUE, 24, 15, 26, 36},       // 25
    {0xCCFF00, 49, 39, TRUE, 25, 16, 27, 37},       // 26
    {0xFFFF00, 63, 39, TRUE, 26, 17, 28, 38},       // 27
    {0xFFCC33, 77, 39, TRUE, 27, 18, 29, 39},       // 28
    {0xFF9933, 91, 39, TRUE, 28, 19, 30, 40},       // 29
    {0xFF9966, 105, 39, TRUE, 29, 20, 31, 41},      // 30
    {0xFF6666, 119, 39, TRUE, 30, 21, 32, 42},      // 31
    {0xFF0066, 133, 39, TRUE, 31, 22, 33, 43},      // 32
    {0xCC0066, 147, 39, TRUE, 32, 23, 34, 44},      // 33
    {0x339933, 14, 51, TRUE, 33, 23, 35, 46},       // 34
    {0x66CC00, 28, 51, TRUE, 34, 24, 36, 47},       // 35
    {0x99FF00, 42, 51, TRUE, 35, 25, 37, 48},       // 36
    {0xCCFF66, 56, 51, TRUE, 36, 26, 38, 49},       // 37
    {0xFFFF66, 70, 51, TRUE, 37, 27, 39, 50},       // 38
    {0xFFCC66, 84, 51, TRUE, 38, 28, 40, 51},       // 39
    {0xFFCC99, 98, 51, TRUE, 39, 29, 41, 52},       // 40
    {0xFF9999, 112, 51, TRUE, 40, 30, 42, 53},      // 41
    {0xFF6699, 126, 51, TRUE, 41, 31, 43, 54},      // 42
    {0xFF3399, 140, 51, TRUE, 42, 32, 44, 55},      // 43
    {0xFF0099, 154, 51, TRUE, 43, 33, 45, 56},      // 44
    {0x006600, 7, 63, TRUE, 44, 33, 46, 58},        // 45
    {0x00CC00, 21, 63, TRUE, 45, 34, 47, 59},       // 46
    {0x00FF00, 35, 63, TRUE, 46, 35, 48, 60},       // 47
    {0x99FF66, 49, 63, TRUE, 47, 36, 49, 61},       // 48
    {0xCCFF99, 63, 63, TRUE, 48, 37, 50, 62},       // 49
    {0xFFFFCC, 77, 63, TRUE, 49, 38, 51, 63},       // 50
    {0xFFECCC, 91, 63, TRUE, 50, 39, 52, 64},       // 51
    {0xFFCCCC, 105, 63, TRUE, 51, 40, 53, 65},      // 52
    {0xFF99CC, 119, 63, TRUE, 52, 41, 54, 66},      // 53
    {0xFF66CC, 133, 63, TRUE, 53, 42, 55, 67},      // 54
    {0xFF00CC, 147, 63, TRUE, 54, 43, 56, 68},      // 55
    {0xCC0099, 161, 63, TRUE, 55, 44, 57, 69},      // 56
    {0x003300, 0, 75, TRUE, 56, 44, 58, 70},        // 57
    {0x008000, 14, 75, TRUE, 57, 45, 59, 71},       // 58
    {0x33CC33, 28, 75, TRUE, 58, 46, 60, 72},       // 59
    {0x66FF66, 42, 75, TRUE, 59, 47, 61, 73},       // 60
    {0x99FF99, 56, 75, TRUE, 60, 48, 62, 74},       // 61
    {0xCCFFCC, 70, 75, TRUE, 61, 49, 63, 75},       // 62
    {0xFFFFFF, 84, 75, TRUE, 62, 50, 64, 76},       // 63
    {0xFFCCFF, 98, 75, TRUE, 63, 51, 65, 77},       // 64
    {0xFF99FF, 112, 75, TRUE, 64, 52, 66, 78},      // 65
    {0xFF66FF, 126, 75, TRUE, 65, 53, 67, 79},      // 66
    {0xFF00FF, 140, 75, TRUE, 66, 54, 68, 80},      // 67
    {0xCC00CC, 154, 75, TRUE, 67, 55, 69, 81},      // 68
    {0x660066, 168, 75, TRUE, 68, 56, 70, 82},      // 69
    {0x006633, 7, 87, TRUE, 69, 57, 71, 82},        // 70
    {0x009900, 21, 87, TRUE, 70, 58, 72, 83},       // 71
    {0x33FF66, 35, 87, TRUE, 71, 59, 73, 84},       // 72
    {0x66FF99, 49, 87, TRUE, 72, 60, 74, 85},       // 73
    {0x99FFCC, 63, 87, TRUE, 73, 61, 75, 86},       // 74
    {0xCCFFFF, 77, 87, TRUE, 74, 62, 76, 87},       // 75
    {0xCCCCFF, 91, 87, TRUE, 75, 63, 77, 88},       // 76
    {0xCC99FF, 105, 87, TRUE, 76, 64, 78, 89},      // 77
    {0xCC66FF, 119, 87, TRUE, 77, 65, 79, 90},      // 78
    {0xCC33FF, 133, 87, TRUE, 78, 66, 80, 91},      // 79
    {0x9900CC, 147, 87, TRUE, 79, 67, 81, 92},      // 80
    {0x800080, 161, 87, TRUE, 80, 68, 82, 93},      // 81
    {0x003333, 14, 99, TRUE, 81, 70, 83, 93},       // 82
    {0x009966, 28, 99, TRUE, 82, 71, 84, 94},       // 83
    {0x33FF99, 42, 99, TRUE, 83, 72, 85, 95},       // 84
    {0x66FFCC, 56, 99, TRUE, 84, 73, 86, 96},       // 85
    {0x99FFFF, 70, 99, TRUE, 85, 74, 87, 97},       // 86
    {0x99CCFF, 84, 99, TRUE, 86, 75, 88, 98},       // 87
    {0x9999FF, 98, 99, TRUE, 87, 76, 89, 99},       // 88
    {0x9966FF, 112, 99, TRUE, 88, 77, 90, 100},     // 89
    {0x9933FF, 126, 99, TRUE, 89, 78, 91, 101},     // 90
    {0x9933CC, 140, 99, TRUE, 90, 79, 92, 102},     // 91
    {0x990099, 154, 99, TRUE, 91, 80, 93, 103},     // 92
    {0x336666, 21, 111, TRUE, 92, 82, 94, 103},     // 93
    {0x00CC99, 35, 111, TRUE, 93, 83, 95, 104},     // 94
    {0x33FFCC, 49, 111, TRUE, 94, 84, 96, 105},     // 95
    {0x66FFFF, 63, 111, TRUE, 95, 85, 97, 106},     // 96
    {0x66CCFF, 77, 111, TRUE, 96, 86, 98, 107},     // 97
    {0x6699FF, 91, 111, TRUE, 97, 87, 99, 108},     // 98
    {0x807CFF, 105, 111, TRUE, 98, 88, 100, 109},   // 99
    {0x6600FF, 119, 111, TRUE, 99, 89, 101, 110},   // 100
    {0x9300D6, 133, 111, TRUE, 100, 90, 102, 111},  // 101
    {0x663399, 147, 111, TRUE, 101, 91, 103, 112},  // 102
    {0x008080, 28, 123, TRUE, 102, 93, 104, 112},   // 103
    {0x00CCCC, 42, 123, TRUE, 103, 94, 105, 113},   // 104
    {0x00FFFF, 56, 123, TRUE, 104, 95, 106, 114},   // 105
    {0x00CCFF, 70, 123, TRUE, 105, 96, 107, 115},   // 106
    {0x3399FF, 84, 123, TRUE, 106, 97, 108, 116},   // 107
    {0x0066FF, 98, 123, TRUE, 107, 98, 109, 117},   // 108
    {0x5050FF, 112, 123, TRUE, 108, 99, 110, 118},  // 109
    {0x6600CC, 126, 123, TRUE, 109, 100, 111, 119}, // 110
    {0x330066, 140, 123, TRUE, 110, 101, 112, 120}, // 111
    {0x336699, 35, 135, TRUE, 111, 103, 113, 120},  // 112
    {0x0099CC, 49, 135, TRUE, 112, 104, 114, 121},  // 113
    {0x0099FF, 63, 135, TRUE, 113, 105, 115, 122},  // 114
    {0x0066CC, 77, 135, TRUE, 114, 106, 116, 123},  // 115
    {0x0033FF, 91, 135, TRUE, 115, 107, 117, 124},  // 116
    {0x0000FF, 105, 135, TRUE, 116, 108, 118, 125}, // 117
    {0x0000CC, 119, 135, TRUE, 117, 109, 119, 126}, // 118
    {0x330099, 133, 135, TRUE, 118, 110, 120, 142}, // 119
    {0x003366, 42, 147, TRUE, 119, 112, 121, 121},  // 120
    {0x006699, 56, 147, TRUE, 120, 113, 122, 122},  // 121
    {0x0033CC, 70, 147, TRUE, 121, 114, 123, 123},  // 122
    {0x003399, 84, 147, TRUE, 122, 115, 124, 124},  // 123
    {0x000099, 98, 147, TRUE, 123, 116, 125, 125},  // 124
    {0x000080, 112, 147, TRUE, 124, 117, 126, 126}, // 125
    {0x2100A5, 126, 147, TRUE, 125, 118, 142, 142}, // 126
    {0xF8F8F8, 35, 172, TRUE, 142, 142, 135, 135},  // 127
    {0xDDDDDD, 49, 172, TRUE, 135, 135, 136, 136},  // 128
    {0xB2B2B2, 63, 172, TRUE, 136, 136, 137, 137},  // 129
    {0x808080, 77, 172, TRUE, 137, 137, 138, 138},  // 130
    {0x5F5F5F, 91, 172, TRUE, 138, 138, 139, 139},  // 131
    {0x333333, 105, 172, TRUE, 139, 139, 140, 140}, // 132
    {0x1C1C1C, 119, 172, TRUE, 140, 140, 141, 141}, // 133
    {0x080808, 133, 172, TRUE, 141, 141, 143, 143}, // 134
    {0xEAEAEA, 42, 184, TRUE, 127, 127, 128, 128},  // 135
    {0xC0C0C0, 56, 184, TRUE, 128, 128, 129, 129},  // 136
    {0x969696, 70, 184, TRUE, 129, 129, 130, 130},  // 137
    {0x777777, 84, 184, TRUE, 130, 130, 131, 131},  // 138
    {0x4D4D4D, 98, 184, TRUE, 131, 131, 132, 132},  // 139
    {0x292929, 112, 184, TRUE, 132, 132, 133, 133}, // 140
    {0x111111, 126, 184, TRUE, 133, 133, 134, 134}, // 141
    {0xFFFFFF, 0, 172, FALSE, 126, 126, 127, 127},  // 142
    {0x000000, 153, 172, FALSE, 134, 134, -1, -1},  // 143
};

// Column extents of a cell: for each column, how far it reaches above the
// origin row (and the same below the cell's base height).
const int kSmallReach[14] = {0, 0, 1, 1, 2, 2, 3, 3, 3, 2, 2, 1, 1, 0};
const int kLargeReach[29] = {0, 0, 1, 1, 2, 2, 3, 4, 4, 5, 5, 6, 6, 7, 7, 7, 6, 6, 5, 5, 4, 4, 3, 2, 2, 1, 1, 0, 0};
const int kSmallBase = 8;  // column 0 covers y..y+8
const int kLargeBase = 16; // column 0 covers y..y+16

} // namespace

std::vector<POINT> AFXAPI HoneycombCellPixels(POINT ptOrigin, BOOL bSmall)
{
    const int* pReach = bSmall ? kSmallReach : kLargeReach;
    const int nColumns = bSmall ? 14 : 29, nBase = bSmall ? kSmallBase : kLargeBase;
    std::vector<POINT> pixels;
    pixels.reserve(bSmall ? 168 : 691);
    for (int col = 0; col < nColumns; col++)
        for (int y = ptOrigin.y - pReach[col]; y <= ptOrigin.y + nBase + pReach[col]; y++)
            pixels.push_back(POINT{ptOrigin.x + col, y});
    return pixels;
}

std::vector<QxHoneycombCell> AFXAPI BuildHoneycomb(int cxClient)
{
    const int a = (cxClient - kQxHoneycombWidth) / 2;
    std::vector<QxHoneycombCell> cells(kQxHoneycombCells);
    for (int i = 0; i < kQxHoneycombCells; i++) {
        const HoneycombEntry& e = kHoneycomb[i];
        QxHoneycombCell& c = cells[(size_t)i];
        c.nLeft = e.nLeft;
        c.nUp = e.nUp;
        c.nRight = e.nRight;
        c.nDown = e.nDown;
        c.bSmall = e.bSmall;
        c.clr = e.clr;
        c.pixels = HoneycombCellPixels(POINT{a + e.x, e.y}, e.bSmall);
    }
    return cells;
}

int AFXAPI HoneycombHitTest(const std::vector<QxHoneycombCell>& cells, int x, int y)
{
    for (size_t i = 0; i < cells.size(); i++) {
        const QxHoneycombCell& c = cells[i];
        // Only cells whose columns span x can hold the pixel.
        const int x0 = c.pixels.front().x, x1 = c.pixels.back().x;
        if (x < x0 || x > x1)
            continue;
        for (const POINT& pt : c.pixels)
            if (pt.x == x && pt.y == y)
                return (int)i;
    }
    return -1;
}

BOOL AFXAPI IsHoneycombColor(COLORREF clr)
{
    for (const HoneycombEntry& e : kHoneycomb)
        if (e.clr == clr)
            return TRUE;
    return FALSE;
}
