// qx/barlayout.h - placing controls in rows (horizontal bars) or columns
// (vertical bars). The routines work on a list of layout items so they can
// run, and be checked, without windows; CQXPControls builds the items from
// its controls and commits the result back.
#pragma once

#include <qx/commandbardefs.h>

#include <vector>

// One control during one layout computation.
struct QXP_LAYOUT_ITEM {
    CRect rcControl;
    CRect rcRow;
    int nWidth = 0;
    int nHeight = 0;
    BOOL bVisible = TRUE;
    BOOL bWrap = FALSE;    // begins a new row (column)
    BOOL bHidden = FALSE;  // did not fit
    BOOL bBeginGroup = FALSE;
    DWORD dwFlags = 0;     // the control's Flags (right align, stretch, wrap)
    CQXPControl* pControl = NULL;
};

typedef std::vector<QXP_LAYOUT_ITEM> QXPLayoutItems;

// Separator gaps: cx inside a row, cy between rows.
namespace qxplayout {

// Breaks the items into rows of at most nLength; returns the number of rows.
// Sets qxpLayoutStretch in dwMode when controls had to wrap or be hidden.
int WrapRows(QXPLayoutItems& items, int nLength, DWORD& dwMode, CSize szSeparator);
// Places the items row after row (column after column when bVert); returns
// the bounding size.
CSize CalcRowRects(QXPLayoutItems& items, CSize szSeparator, BOOL bVert);
// Moves the items inside the margins, gives each row its row rectangle and
// centres the items across their row; returns the size with the margins.
CSize ApplyPositions(QXPLayoutItems& items, const CRect& rcBorder, CSize szContent, BOOL bVert);
// Pushes the trailing right-aligned controls of the last row to nEnd and
// shares each row's free length among its stretched controls.
void RightAlignAndStretch(QXPLayoutItems& items, int nEnd, BOOL bVert);
// Wraps at nLength and measures (rows only, no positions).
CSize WrapAndMeasure(QXPLayoutItems& items, int nLength, DWORD& dwMode, CSize szSeparator, BOOL bVert);
// The floating size: keeps the rows that nWidth gives and narrows the bar to
// the smallest width with that many rows; with bHeight, the narrowest width
// whose height fits nLength.
CSize CalcFloatingSize(QXPLayoutItems& items, int nLength, BOOL bLengthIsHeight, DWORD& dwMode,
                       CSize szSeparator);
// Wraps at a width close to a balanced shape (no taller than wide).
CSize CalcBalancedSize(QXPLayoutItems& items, DWORD& dwMode, CSize szSeparator);

// A popup list: controls one below the other, a new column when the next
// would pass nMaxHeight or has qxpFlagWrapRow. nMaxItemWidth caps a
// control's width (0: no cap). Returns the size with the margins.
CSize CalcPopupColumns(QXPLayoutItems& items, int nMaxHeight, const CRect& rcBorder, int nSeparatorHeight,
                       int nMaxItemWidth, BOOL* pbColumnWrapped);

}  // namespace qxplayout
