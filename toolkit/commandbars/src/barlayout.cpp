// Control layout in rows and columns, and where a popup goes on the screen.

#include <qx/commandbars.h>
#include <qx/barlayout.h>
#include <qx/images.h>
#include <qx/popup.h>
#include <qx/sysutil.h>

#include <algorithm>

namespace qxplayout {

namespace {

int AlongLength(const QXP_LAYOUT_ITEM& item, BOOL bVert)
{
    return bVert ? item.nHeight : item.nWidth;
}

// Marks items from nStart on hidden until the next forced row start; returns
// that item's index, or -1 when there is none.
int HideUntilForcedRow(QXPLayoutItems& items, size_t nStart)
{
    for (size_t k = nStart; k < items.size(); k++) {
        if (k > nStart && (items[k].dwFlags & qxpFlagWrapRow))
            return (int)k;
        if (items[k].bVisible)
            items[k].bHidden = TRUE;
    }
    return -1;
}

} // namespace

int WrapRows(QXPLayoutItems& items, int nLength, DWORD& dwMode, CSize szSeparator)
{
    BOOL bVert = (dwMode & qxpLayoutVertDock) != 0;
    int nGap = bVert ? szSeparator.cy : szSeparator.cx;
    for (QXP_LAYOUT_ITEM& item : items) {
        item.bWrap = FALSE;
        item.bHidden = FALSE;
    }
    int nRows = 0;
    int nRowStart = -1; // first visible item of the current row
    int x = 0;
    size_t i = 0;
    while (i < items.size()) {
        QXP_LAYOUT_ITEM& item = items[i];
        if (!item.bVisible) {
            i++;
            continue;
        }
        int nLen = AlongLength(item, bVert);
        if (nRowStart < 0) {
            nRowStart = (int)i;
            nRows = 1;
            x = nLen;
            i++;
            continue;
        }
        if (item.dwFlags & qxpFlagWrapRow) {
            item.bWrap = TRUE;
            nRowStart = (int)i;
            nRows++;
            x = nLen;
            i++;
            continue;
        }
        x += nLen + (item.bBeginGroup ? nGap : 0);
        BOOL bOverflow = x > nLength || ((dwMode & qxpLayoutWrapGroups) && item.bBeginGroup);
        if (!bOverflow) {
            i++;
            continue;
        }
        dwMode |= qxpLayoutStretch;
        if (dwMode & qxpLayoutHideWrap) {
            int nNext = HideUntilForcedRow(items, i);
            if (nNext < 0)
                return nRows;
            i = (size_t)nNext;
            continue; // handled as a forced row start
        }
        // Break at the nearest group start of this row (not its first item),
        // else at the overflowing item itself.
        size_t nBreak = i;
        for (int k = (int)i; k > nRowStart; k--) {
            if (items[(size_t)k].bVisible && items[(size_t)k].bBeginGroup) {
                nBreak = (size_t)k;
                break;
            }
        }
        items[nBreak].bWrap = TRUE;
        nRowStart = (int)nBreak;
        nRows++;
        x = AlongLength(items[nBreak], bVert);
        i = nBreak + 1;
    }
    return nRows;
}

CSize CalcRowRects(QXPLayoutItems& items, CSize szSeparator, BOOL bVert)
{
    int nAlong = 0;     // position along the row
    int nCross = 0;     // position of the row across
    int nThickness = 0; // the row's thickness so far
    BOOL bFirst = TRUE;
    BOOL bFirstInRow = TRUE;
    int nMaxAlong = 0;
    int nMinCross = 0, nMaxCross = 0;
    for (QXP_LAYOUT_ITEM& item : items) {
        if (!item.bVisible || item.bHidden)
            continue;
        if (item.bWrap && !bFirst) {
            int nMove = nThickness + (item.bBeginGroup ? szSeparator.cy : 0);
            nCross += bVert ? -nMove : nMove;
            nAlong = 0;
            nThickness = 0;
            bFirstInRow = TRUE;
        }
        if (item.bBeginGroup && !bFirstInRow)
            nAlong += bVert ? szSeparator.cy : szSeparator.cx;
        if (bVert) {
            // Columns go leftwards from x 0 until positions are applied.
            item.rcControl = CRect(nCross - item.nWidth, nAlong, nCross, nAlong + item.nHeight);
            nAlong += item.nHeight;
            nThickness = std::max(nThickness, item.nWidth);
            nMinCross = std::min(nMinCross, nCross - nThickness);
        } else {
            item.rcControl = CRect(nAlong, nCross, nAlong + item.nWidth, nCross + item.nHeight);
            nAlong += item.nWidth;
            nThickness = std::max(nThickness, item.nHeight);
            nMaxCross = std::max(nMaxCross, nCross + nThickness);
        }
        nMaxAlong = std::max(nMaxAlong, nAlong);
        bFirst = FALSE;
        bFirstInRow = FALSE;
    }
    if (bVert) {
        // A vertical column keeps its right edge at nCross: re-anchor each
        // column to its own width so columns of different widths line up.
        return CSize(-nMinCross, nMaxAlong);
    }
    return CSize(nMaxAlong, nMaxCross);
}

CSize ApplyPositions(QXPLayoutItems& items, const CRect& rcBorder, CSize szContent, BOOL bVert, BOOL bCentre)
{
    int dx = rcBorder.left + (bVert ? szContent.cx : 0);
    int dy = rcBorder.top;
    std::vector<size_t> row;
    auto finishRow = [&]() {
        if (row.empty())
            return;
        if (!bCentre) {
            // Grouped columns: the items stay; the row is the column.
            int nLeft = INT_MAX, nRight = INT_MIN;
            for (size_t k : row) {
                nLeft = std::min(nLeft, (int)items[k].rcControl.left);
                nRight = std::max(nRight, (int)items[k].rcControl.right);
            }
            for (size_t k : row)
                items[k].rcRow = CRect(nLeft, 0, nRight, szContent.cy + rcBorder.top + rcBorder.bottom);
            row.clear();
            return;
        }
        int nLo = INT_MAX, nHi = INT_MIN;
        for (size_t k : row) {
            const CRect& rc = items[k].rcControl;
            nLo = std::min(nLo, bVert ? (int)rc.left : (int)rc.top);
            nHi = std::max(nHi, bVert ? (int)rc.right : (int)rc.bottom);
        }
        for (size_t k : row) {
            CRect& rc = items[k].rcControl;
            if (bVert) {
                int w = rc.Width();
                rc.left = nLo + (nHi - nLo - w) / 2;
                rc.right = rc.left + w;
                items[k].rcRow = CRect(nLo, 0, nHi, szContent.cy + rcBorder.top + rcBorder.bottom);
            } else {
                int h = rc.Height();
                rc.top = nLo + (nHi - nLo - h) / 2;
                rc.bottom = rc.top + h;
                items[k].rcRow = CRect(0, nLo, szContent.cx + rcBorder.left + rcBorder.right, nHi);
            }
        }
        row.clear();
    };
    for (size_t k = 0; k < items.size(); k++) {
        QXP_LAYOUT_ITEM& item = items[k];
        if (!item.bVisible || item.bHidden)
            continue;
        if (item.bWrap)
            finishRow();
        item.rcControl.OffsetRect(dx, dy);
        row.push_back(k);
    }
    finishRow();
    return CSize(szContent.cx + rcBorder.left + rcBorder.right, szContent.cy + rcBorder.top + rcBorder.bottom);
}

void RightAlignAndStretch(QXPLayoutItems& items, int nEnd, BOOL bVert)
{
    auto lo = [bVert](CRect& rc) -> LONG& { return bVert ? rc.top : rc.left; };
    auto hi = [bVert](CRect& rc) -> LONG& { return bVert ? rc.bottom : rc.right; };
    auto shift = [bVert](CRect& rc, int d) { bVert ? rc.OffsetRect(0, d) : rc.OffsetRect(d, 0); };

    // Rows as index lists.
    std::vector<std::vector<size_t>> rows;
    for (size_t k = 0; k < items.size(); k++) {
        if (!items[k].bVisible || items[k].bHidden)
            continue;
        if (rows.empty() || items[k].bWrap)
            rows.emplace_back();
        rows.back().push_back(k);
    }
    if (rows.empty())
        return;

    // Trailing right-aligned controls of the last row go to the far end.
    std::vector<size_t>& last = rows.back();
    size_t nRightStart = last.size();
    int nLimit = nEnd;
    for (size_t r = last.size(); r-- > 0;) {
        QXP_LAYOUT_ITEM& item = items[last[r]];
        if (!(item.dwFlags & qxpFlagRightAlign) || r == 0)
            break;
        int d = nLimit - hi(item.rcControl);
        if (d > 0)
            shift(item.rcControl, d);
        nLimit = lo(item.rcControl);
        nRightStart = r;
    }

    // Stretched controls share the free length of their row.
    for (size_t nRow = rows.size(); nRow-- > 0;) {
        std::vector<size_t>& row = rows[nRow];
        size_t nStop = (nRow == rows.size() - 1) ? nRightStart : row.size();
        if (nStop == 0)
            continue;
        int nRowEnd = (nStop < row.size()) ? (int)lo(items[row[nStop]].rcControl) : nEnd;
        int nFree = nRowEnd - (int)hi(items[row[nStop - 1]].rcControl);
        int nStretched = 0;
        for (size_t r = 0; r < nStop; r++)
            if (items[row[r]].dwFlags & qxpFlagControlStretched)
                nStretched++;
        if (nFree <= 0 || nStretched == 0)
            continue;
        int nGiven = 0;
        for (size_t r = 0; r < nStop; r++) {
            QXP_LAYOUT_ITEM& item = items[row[r]];
            shift(item.rcControl, nGiven);
            if (item.dwFlags & qxpFlagControlStretched) {
                int nGrow = (nFree - nGiven) / nStretched;
                nStretched--;
                hi(item.rcControl) += nGrow;
                nGiven += nGrow;
            }
        }
    }
}

CSize WrapAndMeasure(QXPLayoutItems& items, int nLength, DWORD& dwMode, CSize szSeparator, BOOL bVert)
{
    WrapRows(items, nLength, dwMode, szSeparator);
    return CalcRowRects(items, szSeparator, bVert);
}

CSize CalcFloatingSize(QXPLayoutItems& items, int nLength, BOOL bLengthIsHeight, DWORD& dwMode, CSize szSeparator)
{
    DWORD dwTry = dwMode & ~(DWORD)qxpLayoutStretch;
    if (bLengthIsHeight) {
        int nLo = 0, nHi = 32767;
        CSize szWide = WrapAndMeasure(items, nHi, dwTry, szSeparator, FALSE);
        if (szWide.cy >= nLength) {
            dwMode |= dwTry & qxpLayoutStretch;
            return szWide;
        }
        nHi = szWide.cx;
        while (nLo < nHi) {
            int nMid = (nLo + nHi) / 2;
            DWORD dw = dwTry;
            CSize sz = WrapAndMeasure(items, nMid, dw, szSeparator, FALSE);
            if (sz.cy <= nLength)
                nHi = nMid;
            else
                nLo = nMid + 1;
        }
        CSize sz = WrapAndMeasure(items, nHi, dwTry, szSeparator, FALSE);
        dwMode |= dwTry & qxpLayoutStretch;
        return sz;
    }
    DWORD dw = dwTry;
    int nRows = WrapRows(items, nLength, dw, szSeparator);
    int nLo = 0, nHi = std::max(nLength, 0);
    while (nLo < nHi) {
        int nMid = (nLo + nHi) / 2;
        DWORD dwMid = dwTry;
        if (WrapRows(items, nMid, dwMid, szSeparator) <= nRows)
            nHi = nMid;
        else
            nLo = nMid + 1;
    }
    DWORD dwFinal = dwTry;
    CSize sz = WrapAndMeasure(items, nHi, dwFinal, szSeparator, FALSE);
    // Once more at exactly the measured width: never wider than the widest row.
    dwFinal = dwTry;
    sz = WrapAndMeasure(items, sz.cx, dwFinal, szSeparator, FALSE);
    dwMode |= dwFinal & qxpLayoutStretch;
    return sz;
}

CSize CalcBalancedSize(QXPLayoutItems& items, DWORD& dwMode, CSize szSeparator)
{
    DWORD dwTry = dwMode;
    CSize szNarrow = WrapAndMeasure(items, 0, dwTry, szSeparator, FALSE);
    dwTry = dwMode;
    CSize szWide = WrapAndMeasure(items, 32767, dwTry, szSeparator, FALSE);
    int nLo = szNarrow.cx, nHi = szWide.cx;
    CSize sz = szNarrow;
    for (;;) {
        int nMid = (nLo + nHi) / 2;
        dwTry = dwMode;
        sz = WrapAndMeasure(items, nMid, dwTry, szSeparator, FALSE);
        int nNewLo = nLo, nNewHi = nHi;
        if (sz.cx < sz.cy)
            nNewLo = nMid;
        else
            nNewHi = nMid;
        if (nNewLo == nLo && nNewHi == nHi)
            break;
        nLo = nNewLo;
        nHi = nNewHi;
    }
    dwMode = dwTry;
    return sz;
}

CSize CalcGroupedColumns(QXPLayoutItems& items, int nColumnHeight)
{
    const int kGroupGap = 6;
    int nColumnLeft = 0, nColumnTop = 0, nColumnWidth = 0;
    BOOL bColumnOpen = FALSE; // the next control may stack in the column
    BOOL bFirst = TRUE;
    CSize sz(0, 0);
    for (QXP_LAYOUT_ITEM& item : items) {
        if (!item.bVisible || item.bHidden)
            continue;
        BOOL bLarge = item.nStyle == qxpButtonIconAndCaptionBelow;
        BOOL bNewColumn = !bColumnOpen || bLarge || item.bBeginGroup || nColumnTop + item.nHeight > nColumnHeight;
        if (bNewColumn) {
            int x = bFirst ? 0 : nColumnLeft + nColumnWidth;
            if (item.bBeginGroup && !bFirst)
                x += kGroupGap;
            nColumnLeft = x;
            nColumnTop = 0;
            nColumnWidth = 0;
        }
        item.bWrap = bNewColumn && !bFirst;
        item.rcControl = CRect(nColumnLeft, nColumnTop, nColumnLeft + item.nWidth, nColumnTop + item.nHeight);
        nColumnTop += item.nHeight;
        nColumnWidth = std::max(nColumnWidth, item.nWidth);
        // A large button keeps its column to itself.
        bColumnOpen = !bLarge;
        sz.cx = std::max((int)sz.cx, nColumnLeft + nColumnWidth);
        sz.cy = std::max((int)sz.cy, nColumnTop);
        bFirst = FALSE;
    }
    return sz;
}

namespace {

// One shrinking step of the grouped layout; FALSE when nothing can shrink.
BOOL ShrinkGroupedStep(QXPLayoutItems& items, const std::function<void(QXP_LAYOUT_ITEM&, int)>& setStyle)
{
    std::vector<size_t> shown;
    for (size_t k = 0; k < items.size(); k++)
        if (items[k].bVisible && !items[k].bHidden)
            shown.push_back(k);
    if (shown.size() < 3)
        return FALSE;
    // Three consecutive controls of one group: only the first may begin it.
    auto oneGroup = [&](size_t n) { return !items[shown[n + 1]].bBeginGroup && !items[shown[n + 2]].bBeginGroup; };
    auto styleAt = [&](size_t n, int j) { return items[shown[n + (size_t)j]].nStyle; };
    const int kLarge = qxpButtonIconAndCaptionBelow, kSmall = qxpButtonIconAndCaption;

    // 1. The last three large buttons of one group become small ones.
    for (size_t n = shown.size() - 2; n-- > 0;) {
        if (oneGroup(n) && styleAt(n, 0) == kLarge && styleAt(n, 1) == kLarge && styleAt(n, 2) == kLarge) {
            for (int j = 0; j < 3; j++)
                setStyle(items[shown[n + (size_t)j]], kSmall);
            return TRUE;
        }
    }
    // 2. The last triple of one group that still holds a large button.
    for (size_t n = shown.size() - 2; n-- > 0;) {
        if (oneGroup(n) && (styleAt(n, 0) == kLarge || styleAt(n, 1) == kLarge || styleAt(n, 2) == kLarge)) {
            for (int j = 0; j < 3; j++)
                if (styleAt(n, j) == kLarge)
                    setStyle(items[shown[n + (size_t)j]], kSmall);
            return TRUE;
        }
    }
    // 3. The last three small buttons stacked in one column lose their
    // captions.
    for (size_t n = shown.size() - 2; n-- > 0;) {
        const QXP_LAYOUT_ITEM& a = items[shown[n]];
        const QXP_LAYOUT_ITEM& b = items[shown[n + 1]];
        const QXP_LAYOUT_ITEM& c = items[shown[n + 2]];
        if (a.nStyle == kSmall && b.nStyle == kSmall && c.nStyle == kSmall && !b.bWrap && !c.bWrap) {
            for (int j = 0; j < 3; j++)
                setStyle(items[shown[n + (size_t)j]], qxpButtonIcon);
            return TRUE;
        }
    }
    return FALSE;
}

} // namespace

CSize CalcGroupedLayout(QXPLayoutItems& items, int nLength, DWORD& dwMode, int nColumnHeight,
                        const QXPMeasureStyleFn& measure)
{
    auto setStyle = [&measure](QXP_LAYOUT_ITEM& item, int nStyle) {
        item.nStyle = nStyle;
        CSize sz = measure(item, nStyle);
        item.nWidth = sz.cx;
        item.nHeight = sz.cy;
    };
    // Every layout starts again from the large styles.
    for (QXP_LAYOUT_ITEM& item : items) {
        item.bWrap = FALSE;
        item.bHidden = FALSE;
        if (item.bVisible)
            setStyle(item, item.bLargeImage ? qxpButtonIconAndCaptionBelow : qxpButtonIconAndCaption);
    }
    CSize sz = CalcGroupedColumns(items, nColumnHeight);
    BOOL bShrunk = sz.cx > nLength;
    while (sz.cx > nLength && ShrinkGroupedStep(items, setStyle))
        sz = CalcGroupedColumns(items, nColumnHeight);
    if (sz.cx > nLength && (dwMode & qxpLayoutHideWrap)) {
        BOOL bFirst = TRUE;
        for (QXP_LAYOUT_ITEM& item : items) {
            if (!item.bVisible)
                continue;
            if (!bFirst && item.rcControl.right > nLength) {
                setStyle(item, qxpButtonIcon);
                item.bHidden = TRUE;
            }
            bFirst = FALSE;
        }
        sz = CalcGroupedColumns(items, nColumnHeight);
    }
    if (bShrunk)
        dwMode |= qxpLayoutStretch;
    return sz;
}

CSize CalcPopupColumns(QXPLayoutItems& items, int nMaxHeight, const CRect& rcBorder, int nSeparatorHeight,
                       int nMaxItemWidth, BOOL* pbColumnWrapped)
{
    if (pbColumnWrapped)
        *pbColumnWrapped = FALSE;
    int x = rcBorder.left;
    int y = rcBorder.top;
    int nColumnWidth = 0;
    int nRight = 0, nBottom = 0;
    std::vector<size_t> column;
    auto finishColumn = [&]() {
        for (size_t k : column) {
            items[k].rcControl.right = items[k].rcControl.left + nColumnWidth;
        }
        if (!column.empty())
            nRight = std::max(nRight, x + nColumnWidth);
        column.clear();
    };
    BOOL bFirst = TRUE;
    for (size_t k = 0; k < items.size(); k++) {
        QXP_LAYOUT_ITEM& item = items[k];
        item.bWrap = FALSE;
        if (!item.bVisible)
            continue;
        int nWidth = item.nWidth;
        if (nMaxItemWidth > 0)
            nWidth = std::min(nWidth, nMaxItemWidth);
        int nGap = (item.bBeginGroup && !bFirst) ? nSeparatorHeight : 0;
        BOOL bNewColumn = !bFirst && ((item.dwFlags & qxpFlagWrapRow) ||
                                      (nMaxHeight > 0 && y + nGap + item.nHeight > nMaxHeight - rcBorder.bottom));
        if (bNewColumn) {
            finishColumn();
            x += nColumnWidth;
            nColumnWidth = 0;
            y = rcBorder.top;
            nGap = 0;
            item.bWrap = TRUE;
            if (pbColumnWrapped)
                *pbColumnWrapped = TRUE;
        }
        y += nGap;
        item.rcControl = CRect(x, y, x + nWidth, y + item.nHeight);
        y += item.nHeight;
        nBottom = std::max(nBottom, y);
        nColumnWidth = std::max(nColumnWidth, nWidth);
        column.push_back(k);
        bFirst = FALSE;
    }
    finishColumn();
    int cx = std::max(nRight + (int)rcBorder.right, 24);
    int cy = bFirst ? std::max((int)(rcBorder.top + rcBorder.bottom), 22) : nBottom + rcBorder.bottom;
    // Each control's row rectangle spans its column over the full height.
    for (QXP_LAYOUT_ITEM& item : items)
        if (item.bVisible)
            item.rcRow = CRect(item.rcControl.left, 0, item.rcControl.right, cy);
    return CSize(cx, cy);
}

} // namespace qxplayout

// ---------------------------------------------------------------------------
// CQXPControls: building the items from the controls and committing them.

namespace {

void CalcDynamicSizes(CQXPControls* pControls, DWORD dwMode);

QXPLayoutItems BuildItems(const CQXPControls* pControls, CDC* pDC)
{
    QXPLayoutItems items;
    items.reserve((size_t)pControls->GetCount());
    for (int i = 0; i < pControls->GetCount(); i++) {
        CQXPControl* pControl = pControls->GetAt(i);
        QXP_LAYOUT_ITEM item;
        item.pControl = pControl;
        item.rcControl = pControl->GetRect();
        item.bVisible = pControl->IsVisible(qxpHideWrap);
        item.bBeginGroup = pControl->GetBeginGroup();
        item.dwFlags = pControl->GetFlags();
        if (item.bVisible) {
            CSize sz = pControl->GetSize(pDC);
            item.nWidth = sz.cx;
            item.nHeight = sz.cy;
        }
        items.push_back(item);
    }
    return items;
}

void CommitItems(QXPLayoutItems& items)
{
    for (QXP_LAYOUT_ITEM& item : items) {
        CQXPControl* pControl = item.pControl;
        pControl->SetHideFlag(qxpHideWrap, item.bHidden);
        pControl->SetRowRect(item.rcRow);
        if (!item.bHidden)
            pControl->SetRect(item.rcControl);
        pControl->SetWrap(item.bWrap);
    }
}

// Separator gaps: cx inside a row, cy between rows, as the bar's paint
// manager measures its separators.
CSize GetSeparatorSize(CQXPCommandBar* pBar, CDC* pDC)
{
    if (!pBar)
        return CSize(6, 6);
    return pBar->GetPaintManager()->DrawCommandBarSeparator(pDC, pBar, NULL, FALSE);
}

} // namespace

CSize CQXPControls::CalcDynamicSize(CDC* pDC, int nLength, DWORD dwMode, const CRect& rcBorder, int nWidth)
{
    CalcDynamicSizes(this, dwMode);

    BOOL bHorzDock = (dwMode & qxpLayoutHorzDock) != 0;
    BOOL bVertDock = (dwMode & qxpLayoutVertDock) != 0;
    if (GetVisibleCount(FALSE) == 0) {
        CSize sz(rcBorder.left + rcBorder.right + 23, rcBorder.top + rcBorder.bottom + 22);
        if (bHorzDock) {
            if (sz.cy < nWidth)
                sz.cy = nWidth;
        } else if (sz.cx < nWidth) {
            sz.cx = nWidth;
        }
        return sz;
    }

    QXPLayoutItems items = BuildItems(this, pDC);
    int nUsed = nLength;
    if ((dwMode & qxpLayoutMRUWidth) && m_pParent)
        nUsed = m_pParent->m_nMRUWidth;

    CSize szSeparator = GetSeparatorSize(m_pParent, pDC);
    BOOL bGrouped = m_pParent && (m_pParent->GetFlags() & qxpFlagGroupedLayout);
    std::vector<int> savedStyles; // grouped measuring without commit leaves the styles as they were
    CSize sz;
    BOOL bVert = FALSE;
    if (bGrouped) {
        for (const QXP_LAYOUT_ITEM& item : items)
            savedStyles.push_back(item.pControl->m_buttonRibbonStyle);
        CQXPThemePainter* pPaintManager = m_pParent->GetPaintManager();
        CSize szLarge = m_pParent->GetLargeIconSize();
        int nColumnHeight = pPaintManager->GetLargeCaptionHeight() + szLarge.cy + 7;
        for (QXP_LAYOUT_ITEM& item : items) {
            int nIconId = item.pControl->GetIconId();
            item.bLargeImage = nIconId > 0 && GetGlobalImageManager()->HasOwnImage((UINT)nIconId, szLarge.cx);
        }
        int nLen = nUsed - (bVertDock ? rcBorder.top + rcBorder.bottom : rcBorder.left + rcBorder.right);
        sz = qxplayout::CalcGroupedLayout(items, nLen, dwMode, nColumnHeight,
                                          [pDC](QXP_LAYOUT_ITEM& item, int nStyle) {
                                              item.pControl->m_buttonRibbonStyle = nStyle;
                                              return item.pControl->GetSize(pDC);
                                          });
    } else if (dwMode & qxpLayoutWrapGroups) {
        int nMRU = m_pParent ? m_pParent->m_nMRUWidth : 0;
        sz = qxplayout::WrapAndMeasure(items, nMRU, dwMode, szSeparator, FALSE);
        if (sz.cy > 3 * sz.cx && nMRU < 1)
            sz = qxplayout::CalcBalancedSize(items, dwMode, szSeparator);
    } else if (bHorzDock) {
        qxplayout::WrapRows(items, nUsed - rcBorder.left - rcBorder.right, dwMode, szSeparator);
        sz = qxplayout::CalcRowRects(items, szSeparator, FALSE);
    } else if (bVertDock) {
        bVert = TRUE;
        qxplayout::WrapRows(items, nUsed - rcBorder.top - rcBorder.bottom, dwMode, szSeparator);
        sz = qxplayout::CalcRowRects(items, szSeparator, TRUE);
    } else {
        BOOL bHeight = (dwMode & qxpLayoutLengthIsHeight) != 0;
        int nLen = nUsed - (bHeight ? rcBorder.top + rcBorder.bottom : rcBorder.left + rcBorder.right);
        sz = qxplayout::CalcFloatingSize(items, nLen, bHeight, dwMode, szSeparator);
        if (bHeight)
            dwMode &= ~(DWORD)qxpLayoutStretch; // the length was a height, not a width to fill
    }

    if (nWidth > 0) {
        if (bHorzDock)
            sz.cy = std::max((int)sz.cy, nWidth - (int)rcBorder.top - (int)rcBorder.bottom);
        else
            sz.cx = std::max((int)sz.cx, nWidth - (int)rcBorder.left - (int)rcBorder.right);
    }
    if (dwMode & qxpLayoutStretch) {
        if (bVert)
            sz.cy = std::max((int)sz.cy, nUsed - (int)rcBorder.top - (int)rcBorder.bottom);
        else
            sz.cx = std::max((int)sz.cx, nUsed - (int)rcBorder.left - (int)rcBorder.right);
    }

    CSize szBar = qxplayout::ApplyPositions(items, rcBorder, sz, bVert, !bGrouped);
    if (dwMode & qxpLayoutCommit) {
        int nEnd = bVert ? szBar.cy - rcBorder.bottom : szBar.cx - rcBorder.right;
        if (!bGrouped)
            qxplayout::RightAlignAndStretch(items, nEnd, bVert);
        CommitItems(items);
    } else if (bGrouped) {
        for (size_t k = 0; k < items.size(); k++)
            items[k].pControl->m_buttonRibbonStyle = savedStyles[k];
    }
    return szBar;
}

namespace {

// Lets every control (list placeholders above all) rebuild itself before a
// layout, last to first; the controls are held while they run.
void CalcDynamicSizes(CQXPControls* pControls, DWORD dwMode)
{
    std::vector<CQXPControl*> controls;
    for (int i = 0; i < pControls->GetCount(); i++) {
        controls.push_back(pControls->GetAt(i));
        controls.back()->InternalAddRef();
    }
    for (size_t i = controls.size(); i-- > 0;) {
        if (controls[i]->GetControls() == pControls)
            controls[i]->OnCalcDynamicSize(dwMode);
    }
    for (CQXPControl* pControl : controls)
        pControl->InternalRelease();
}

} // namespace

CSize CQXPControls::CalcPopupSize(CDC* pDC, int nMaxHeight, const CRect& rcBorder)
{
    CalcDynamicSizes(this, 0);
    RECT rcWork;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    QXPLayoutItems items;
    for (int i = 0; i < GetCount(); i++) {
        CQXPControl* pControl = GetAt(i);
        if (pControl->GetParent() != m_pParent)
            continue;
        pControl->SetHideFlag(qxpHideScroll, FALSE);
        QXP_LAYOUT_ITEM item;
        item.pControl = pControl;
        item.bVisible = pControl->IsVisible(0);
        item.bBeginGroup = pControl->GetBeginGroup();
        item.dwFlags = pControl->GetFlags();
        if (item.bVisible) {
            CSize sz = pControl->GetSize(pDC);
            item.nWidth = sz.cx;
            item.nHeight = sz.cy;
        }
        items.push_back(item);
    }
    if (m_pParent)
        m_pParent->m_bColumnWrapped = FALSE;
    BOOL bWrapped = FALSE;
    CSize szSeparator = GetSeparatorSize(m_pParent, pDC);
    CSize sz = qxplayout::CalcPopupColumns(items, nMaxHeight, rcBorder, szSeparator.cy, rcWork.right / 3, &bWrapped);
    if (m_pParent)
        m_pParent->m_bColumnWrapped = bWrapped;
    for (QXP_LAYOUT_ITEM& item : items) {
        if (!item.bVisible)
            continue;
        item.pControl->SetRect(item.rcControl);
        item.pControl->SetRowRect(item.rcRow);
        item.pControl->SetWrap(item.bWrap);
    }
    return sz;
}

// ===========================================================================
// Popup placement: the work area a popup may use and its position there

CRect AFXAPI QxpGetPopupWorkArea(CQXPMultiMonitor* pMonitors, CPoint pt, const CRect& rcExclude)
{
    if (!rcExclude.IsRectEmpty())
        return CRect(pMonitors->GetWorkAreaFromRect(&rcExclude));
    CRect rcWork(pMonitors->GetWorkAreaFromPoint(pt));
    CRect rcScreen(pMonitors->GetScreenAreaFromPoint(pt));
    // A point on the monitor but outside its work area lies over the
    // taskbar: the popup may use the whole monitor there.
    if (rcScreen.PtInRect(pt) && !rcWork.PtInRect(pt))
        return rcScreen;
    return rcWork;
}

void AFXAPI QxpCalcPopupPosition(QXP_POPUP_PLACEMENT& place)
{
    CRect W = place.rcWork;
    W.bottom -= 5;
    int w = place.size.cx;
    int h = place.size.cy;
    int x = place.pt.x;
    int y = place.pt.y;
    CRect R = place.rcExclude;
    int& F = place.nFlags;
    BOOL bFlip = place.bFlip;
    place.bTooTall = FALSE;
    place.bRelayout = FALSE;
    // Every comparison is made in screen coordinates: a monitor's work area
    // need not start at 0 (a second monitor, a taskbar at the top or left).
    int nMiddleY = (W.top + W.bottom) / 2;

    if (R.Height() == 0 && y > W.bottom) {
        y -= h;
    } else if (y + h > W.bottom) {
        if (R.Height() == 0) {
            y = (y < nMiddleY) ? W.bottom - h : y - h;
        } else if (F & qxpPopupDown) {
            y = R.top - h;
            if (y < W.top) {
                if (bFlip) {
                    F &= ~qxpPopupDown;
                    R = place.rcExcludeVertical.IsRectNull() ? place.rcExclude : place.rcExcludeVertical;
                    if (!(F & qxpPopupLeft))
                        x = R.right;
                    y = W.bottom - h;
                } else {
                    place.bTooTall = TRUE;
                    if (nMiddleY < (R.top + R.bottom) / 2) {
                        y = W.top;
                        h = R.top - W.top;
                    } else {
                        y = R.bottom;
                        h = W.bottom - R.bottom;
                    }
                }
            }
        } else {
            y = W.bottom - h;
        }
        y = std::max(y, (int)W.top);
        if (y + h > W.bottom) {
            if (!bFlip) {
                h = W.bottom - y;
                place.bTooTall = TRUE;
            } else {
                place.bRelayout = TRUE;
            }
        }
    }

    if (F == (qxpPopupLeft | qxpPopupDown) && R.Width() > 0)
        x = R.right - w;
    else if (F & qxpPopupLeft)
        x = R.Width() > 0 ? R.left - w : x - w;

    if (x + w > W.right) {
        if (R.Width() == 0 && x > W.right)
            x -= w;
        else {
            x = ((!(F & qxpPopupDown) && R.Width() > 0) ? (int)R.left : (int)W.right) - w;
            F |= qxpPopupLeft;
        }
        x = std::max(x, (int)W.left);
    } else if (x < W.left) {
        if (R.Width() > 0) {
            x = !(F & qxpPopupDown) ? (int)R.right : (int)W.left;
            F &= ~qxpPopupLeft;
        } else if (F & qxpPopupLeft) {
            x = W.left;
            F &= ~qxpPopupLeft;
        }
    }
    place.size = CSize(w, h);
    place.rcResult = CRect(x, y, x + w, y + h);
}
