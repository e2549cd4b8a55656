// Control layout in rows and columns.

#include <qx/commandbars.h>
#include <qx/barlayout.h>

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

}  // namespace

int WrapRows(QXPLayoutItems& items, int nLength, DWORD& dwMode, CSize szSeparator)
{
    BOOL bVert = (dwMode & qxpLayoutVertDock) != 0;
    int nGap = bVert ? szSeparator.cy : szSeparator.cx;
    for (QXP_LAYOUT_ITEM& item : items) {
        item.bWrap = FALSE;
        item.bHidden = FALSE;
    }
    int nRows = 0;
    int nRowStart = -1;  // first visible item of the current row
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
            continue;  // handled as a forced row start
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
    int nAlong = 0;      // position along the row
    int nCross = 0;      // position of the row across
    int nThickness = 0;  // the row's thickness so far
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

CSize ApplyPositions(QXPLayoutItems& items, const CRect& rcBorder, CSize szContent, BOOL bVert)
{
    int dx = rcBorder.left + (bVert ? szContent.cx : 0);
    int dy = rcBorder.top;
    std::vector<size_t> row;
    auto finishRow = [&]() {
        if (row.empty())
            return;
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

}  // namespace qxplayout

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

// Separator gaps until the paint manager supplies them: 6 pixels inside a
// row, 6 between rows.
const CSize kSeparator(6, 6);

}  // namespace

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

    CSize sz;
    BOOL bVert = FALSE;
    if (dwMode & qxpLayoutWrapGroups) {
        int nMRU = m_pParent ? m_pParent->m_nMRUWidth : 0;
        sz = qxplayout::WrapAndMeasure(items, nMRU, dwMode, kSeparator, FALSE);
        if (sz.cy > 3 * sz.cx && nMRU < 1)
            sz = qxplayout::CalcBalancedSize(items, dwMode, kSeparator);
    } else if (bHorzDock) {
        qxplayout::WrapRows(items, nUsed - rcBorder.left - rcBorder.right, dwMode, kSeparator);
        sz = qxplayout::CalcRowRects(items, kSeparator, FALSE);
    } else if (bVertDock) {
        bVert = TRUE;
        qxplayout::WrapRows(items, nUsed - rcBorder.top - rcBorder.bottom, dwMode, kSeparator);
        sz = qxplayout::CalcRowRects(items, kSeparator, TRUE);
    } else {
        BOOL bHeight = (dwMode & qxpLayoutLengthIsHeight) != 0;
        int nLen = nUsed - (bHeight ? rcBorder.top + rcBorder.bottom : rcBorder.left + rcBorder.right);
        sz = qxplayout::CalcFloatingSize(items, nLen, bHeight, dwMode, kSeparator);
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

    CSize szBar = qxplayout::ApplyPositions(items, rcBorder, sz, bVert);
    if (dwMode & qxpLayoutCommit) {
        int nEnd = bVert ? szBar.cy - rcBorder.bottom : szBar.cx - rcBorder.right;
        qxplayout::RightAlignAndStretch(items, nEnd, bVert);
        CommitItems(items);
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

}  // namespace

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
    BOOL bWrapped = FALSE;
    CSize sz = qxplayout::CalcPopupColumns(items, nMaxHeight, rcBorder, kSeparator.cy, rcWork.right / 3, &bWrapped);
    for (QXP_LAYOUT_ITEM& item : items) {
        if (!item.bVisible)
            continue;
        item.pControl->SetRect(item.rcControl);
        item.pControl->SetRowRect(item.rcRow);
        item.pControl->SetWrap(item.bWrap);
    }
    return sz;
}
