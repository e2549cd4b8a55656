// qx/colordata.h - the arithmetic of the colour pickers, without windows:
// the sentinels a picker stores, hexadecimal colour text, RGB and HSL, the
// contrast colour of a picker's caption, the named colour tables of the
// colour selector, its window size and arrow keys, the process-wide list of
// recently chosen colours, and the 144 cells of the colour dialog's
// honeycomb (their pixels, colours and neighbours).
//
// The window classes (qx/colorselector.h, qx/colorpicker.h,
// qx/colordialog.h) are thin faces over these.
#pragma once

#include <fx/fx.h>

#include <vector>

// A picker or selector with no colour set ("Automatic Color" with no default
// colour); never handed to GDI.
#define QX_COLOR_UNSET ((COLORREF)0xFF000000)
// "No Fill" (the same value as QX_COLOR_NONE); never handed to GDI.
#define QX_COLOR_NOFILL ((COLORREF)0xFFFFFFFF)

// TRUE for a colour GDI can draw (no sentinel, no flag bits).
inline BOOL QxIsDrawableColor(COLORREF clr) { return (clr & 0xFF000000) == 0; }

// "Hex=" followed by red, green and blue in upper-case hexadecimal, two
// digits each; a red below 16 is written " 0" and the digit, green and blue
// below 16 "0" and the digit ("Hex= 0A0B0C").
CString AFXAPI FormatHexColor(COLORREF clr);

// Hue, saturation and luminance (each 0..255, truncated) of a colour.
struct QxHsl {
    int nHue;
    int nSaturation;
    int nLuminance;
};
QxHsl AFXAPI RgbToHsl(COLORREF clr);

// Black when the colour's brightness (299 R + 587 G + 114 B) / 1000 is above
// 128, else white.
COLORREF AFXAPI QxContrastColor(COLORREF clr);

// ---------------------------------------------------------------------------
// The colour selector's tables: a string id (the colour's name) and a colour.
struct QxNamedColor {
    UINT nNameID;
    COLORREF clr;
};
// The 16 standard colours (two rows) and the 40 of the extended table.
enum {
    kQxStandardColorCount = 16,
    kQxExtendedColorCount = 40
};
extern const QxNamedColor g_qxStandardColors[kQxStandardColorCount];
extern const QxNamedColor g_qxExtendedColors[kQxExtendedColorCount];

// Style flags of the colour selector.
#define QXCS_NOFILL 0x01      // the top button is "No Fill", not "Automatic Color"
#define QXCS_EXTENDED 0x02    // the 40-colour (or the custom) table
#define QXCS_MORECOLORS 0x04  // recent colours and "More Colors..."
#define QXCS_DIALOGFLAGS 0x60 // handed on to the colour dialog
#define QXCS_POPUP 0x80000000 // a popup window, not a child

// Cell metrics of the selector.
enum {
    kQxColorColumns = 8,       // cells per row, and the most recent colours kept
    kQxColorCellSize = 18,     // a colour cell is 18 x 18
    kQxColorButtonRow = 27,    // the row of the top or "More Colors..." button
    kQxColorButtonHeight = 23, // the button inside it
    kQxColorCaptionRow = 22,   // the "Standard Colors" caption above the standard table
    kQxColorRecentGap = 4      // between the last table row and the recent row
};

// The selector's window size for its style flags, the cell count of its
// table (0: the built-in one), the number of recent colours and its margins
// (left, top, right, bottom).
CSize AFXAPI QxColorSelectorSize(DWORD dwStyle, int nTableCells, int nRecent, const CRect& rcMargins,
                                 int nColumns = kQxColorColumns, CSize szCell = CSize(kQxColorCellSize, kQxColorCellSize));

// The hot cell after an arrow key (VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN) from
// nHot (-1 none) among nCells cells (index 0 the top button; the last is
// "More Colors..." when bMoreColors), clamped to 0..nCells-1; nHot for any
// other key.
int AFXAPI QxColorSelectorKey(UINT nVirtKey, int nHot, int nCells, int nColumns, BOOL bMoreColors);

// ---------------------------------------------------------------------------
// The recently chosen custom colours, shared by every selector of the
// process: oldest first, at most a limit (the selector's column count).
class CQXRecentColors {
public:
    static CQXRecentColors* AFXAPI Instance();

    int GetCount() const { return (int)m_colors.size(); }
    COLORREF GetAt(int i) const { return m_colors[(size_t)i]; }
    BOOL Contains(COLORREF clr) const;
    // Appends a colour that is not yet known (bKnown FALSE); when the list
    // already holds nLimit colours the oldest goes first. A known colour
    // changes nothing. TRUE when the colour was appended.
    BOOL Add(COLORREF clr, BOOL bKnown, int nLimit);
    void RemoveAll() { m_colors.clear(); }

private:
    std::vector<COLORREF> m_colors;
};

// ---------------------------------------------------------------------------
// The honeycomb of the colour dialog's standard page.
struct QxHoneycombCell {
    int nLeft, nUp, nRight, nDown; // neighbour indexes; -1 none
    BOOL bSmall;                   // 14 pixels wide (168 pixels), else 29 (691 pixels)
    COLORREF clr;
    std::vector<POINT> pixels; // column by column from the cell's origin (its first pixel)
    POINT Origin() const { return pixels.front(); }
};
enum {
    kQxHoneycombCells = 144,
    kQxHoneycombWidth = 182,      // the honeycomb is centred in its control: a = (width - 182) / 2
    kQxHoneycombCentreWhite = 63, // the small white cell in the middle
    kQxHoneycombLargeWhite = 142,
    kQxHoneycombLargeBlack = 143
};

// The pixels of a cell whose first pixel is at ptOrigin, column by column.
std::vector<POINT> AFXAPI HoneycombCellPixels(POINT ptOrigin, BOOL bSmall);
// The 144 cells in table order for a control cxClient pixels wide.
std::vector<QxHoneycombCell> AFXAPI BuildHoneycomb(int cxClient);
// The first cell in list order that holds the pixel; -1 when none.
int AFXAPI HoneycombHitTest(const std::vector<QxHoneycombCell>& cells, int x, int y);
// TRUE when the colour is one of the 144 cell colours.
BOOL AFXAPI IsHoneycombColor(COLORREF clr);
