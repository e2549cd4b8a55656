// qx/barlayout.h - placing controls in rows (horizontal bars) or columns
// (vertical bars). The routines work on a list of layout items so they can
// run, and be checked, without windows; CQXPControls builds the items from
// its controls and commits the result back.
#pragma once

#include <qx/commandbardefs.h>

#include <functional>
#include <vector>

// One control during one layout computation.
struct QXP_LAYOUT_ITEM {
    CRect rcControl;
    CRect rcRow;
    int nWidth = 0;
    int nHeight = 0;
    BOOL bVisible = TRUE;
    BOOL bWrap = FALSE;   // begins a new row (column)
    BOOL bHidden = FALSE; // did not fit
    BOOL bBeginGroup = FALSE;
    DWORD dwFlags = 0;        // the control's Flags (right align, stretch, wrap)
    int nStyle = 0;           // grouped layout: the button style given to the control
    BOOL bLargeImage = FALSE; // grouped layout: an image exists at the large icon size
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
// Without bCentre (grouped layouts) the items keep their places and each
// column's row rectangle spans the column over the full height.
CSize ApplyPositions(QXPLayoutItems& items, const CRect& rcBorder, CSize szContent, BOOL bVert,
                     BOOL bCentre = TRUE);
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

// Grouped layout (bars in the manner of ribbon groups). A large button
// (style 4) takes a column of its own; other controls are stacked while
// they fit nColumnHeight; a group start begins a new column 6 pixels
// further on. Returns the bounding size; column starts get bWrap.
CSize CalcGroupedColumns(QXPLayoutItems& items, int nColumnHeight);
// Measures an item at a button style (the item's size follows).
typedef std::function<CSize(QXP_LAYOUT_ITEM& item, int nStyle)> QXPMeasureStyleFn;
// Gives every visible item style 4 (large image) or 3, lays the columns out
// and, while they are longer than nLength, shrinks from the end: three
// large buttons of one group to style 3, then any last triple of a group
// still holding a large one, then three stacked style-3 controls to icons
// only (style 2). With qxpLayoutHideWrap what still does not fit is hidden
// (the first control always stays). Sets qxpLayoutStretch when the columns
// did not fit at first.
CSize CalcGroupedLayout(QXPLayoutItems& items, int nLength, DWORD& dwMode, int nColumnHeight,
                        const QXPMeasureStyleFn& measure);

// A popup list: controls one below the other, a new column when the next
// would pass nMaxHeight or has qxpFlagWrapRow. nMaxItemWidth caps a
// control's width (0: no cap). Returns the size with the margins.
CSize CalcPopupColumns(QXPLayoutItems& items, int nMaxHeight, const CRect& rcBorder, int nSeparatorHeight,
                       int nMaxItemWidth, BOOL* pbColumnWrapped);

} // namespace qxplayout
