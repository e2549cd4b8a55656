// ribbonlayout.cpp - the ribbon's window-free arithmetic (qx/ribbonlayout.h).
#include <qx/listcontrols.h>
#include <qx/ribbonlayout.h>

#include <algorithm>

namespace qxribbon {

int AFXAPI CalcGroupsHeight(int nOverride, int nControlHeight, int nGroupCaptionHeight)
{
    return nOverride > 0 ? nOverride : 3 * nControlHeight + nGroupCaptionHeight + 10;
}

// ---------------------------------------------------------------------------
// Group layout

int AFXAPI RibbonGroupLayout::BandRows(const RibbonBandMetrics& m)
{
    return m.nButtonHeight > 0 ? (m.nGroupsHeight - m.nCaptionHeight - 2) / m.nButtonHeight : 0;
}

void RibbonGroupLayout::Begin(const RibbonMeasureFn& measure)
{
    bCollapsedAtStart = bCollapsed;
    if (items.empty())
        return;
    for (RibbonGroupLayoutItem& it : items) {
        it.nRibbonStyle = kRibbonStyleNone;
        if (!bControlsGrouping && it.Style() == kRibbonStyleNone && !it.bGallery)
            it.nRibbonStyle = it.bLargeImage ? kRibbonStyleLarge : kRibbonStyleSmall;
        it.nStyle = it.Style();
        CSize sz = measure(it, it.nStyle);
        it.cx = sz.cx;
        it.cy = sz.cy;
        it.bNewRun = it.bBeginGroup || it.bWrapFlag;
        it.bHidden = it.bNewRow = FALSE;
        it.nRunWidth = 0;
    }
    bCollapsed = FALSE;
    nGroupingRows = 2;
}

namespace {

// The grouping layout's rows (a row break is a run start that would pass
// the limit; with bMany every such run start breaks, else only the first).
int BreakRows(std::vector<RibbonGroupLayoutItem>& items, int nLimit, BOOL bMany)
{
    int r = 0, k = 0;
    for (size_t i = 0; i < items.size(); i++) {
        RibbonGroupLayoutItem& it = items[i];
        it.bNewRow = FALSE;
        if (it.bNewRun && i > 0 && (bMany || k == 0) && r + it.nRunWidth >= nLimit) {
            // The row width is not restarted: once a run start passes the
            // limit, every later run start that would pass it breaks too.
            it.bNewRow = TRUE;
            k++;
        } else {
            r += it.cx + (it.bBeginGroup && i > 0 ? 3 : 0);
        }
    }
    return k;
}

int PlaceRows(std::vector<RibbonGroupLayoutItem>& items)
{
    int y = 0, a = 0, b = 0, result = 4;
    for (size_t i = 0; i < items.size(); i++) {
        RibbonGroupLayoutItem& it = items[i];
        if (it.bNewRow) {
            y += b;
            a = 0;
        } else if (it.bBeginGroup && i > 0) {
            a += 3;
        }
        it.rc = CRect(a + 2, y, a + it.cx + 2, y + it.cy);
        result = std::max(result - 4, a + it.cx) + 4;
        a += it.cx;
        b = std::max(b, it.cy);
    }
    return result;
}

// The smallest width limit that breaks the runs into three rows.
BOOL FitThreeRows(std::vector<RibbonGroupLayoutItem>& items)
{
    int hi = PlaceRows(items);
    int n = BreakRows(items, 0, TRUE);
    if (n < 2)
        return FALSE;
    if (n == 2)
        return TRUE;
    int lo = 0;
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        if (BreakRows(items, mid, TRUE) <= 2) {
            hi = mid;
        } else if (lo == mid) {
            break;
        } else {
            lo = mid;
        }
    }
    BreakRows(items, hi, TRUE);
    return TRUE;
}

} // namespace

int RibbonGroupLayout::CalcWidth(const RibbonBandMetrics& m, const RibbonMeasureFn& measure)
{
    if (bCollapsed) {
        nContentWidth = nPopupButtonWidth - kGroupPopupExtra;
        return nContentWidth;
    }
    for (RibbonGroupLayoutItem& it : items) {
        if (it.Style() != it.nStyle) {
            it.nStyle = it.Style();
            CSize sz = measure(it, it.nStyle);
            it.cx = sz.cx;
            it.cy = sz.cy;
        }
    }
    const int H = m.nGroupsHeight - m.nCaptionHeight - 9;
    if (!bControlsGrouping) {
        int x = 2, w = 0, t = 0, right = 0;
        for (size_t i = 0; i < items.size(); i++) {
            RibbonGroupLayoutItem& it = items[i];
            if (i > 0 && it.bBeginGroup)
                x += 6;
            if (i == 0 || it.bNewRun || it.nStyle == kRibbonStyleLarge || t + it.cy > H) {
                x += w;
                it.rc = CRect(x, 0, x + it.cx, it.cy);
                w = it.cx;
            } else {
                it.rc = CRect(x, t, x + it.cx, t + it.cy);
                w = std::max(w, it.cx);
            }
            right = std::max(right, (int)it.rc.right);
            t = it.rc.bottom;
        }
        nContentWidth = right + 2;
        return std::max(nCaptionWidth, nContentWidth);
    }

    // Grouping layout: runs of controls in one to three rows.
    const int R = m.nRowHeight;
    int s = 0;
    for (size_t i = items.size(); i-- > 0;) {
        s += items[i].cx;
        items[i].nRunWidth = s;
        if (items[i].bNewRun)
            s = 0;
    }
    BreakRows(items, 32000, FALSE);
    const int e = PlaceRows(items);
    int f;
    if (H < 2 * R) {
        BreakRows(items, 32000, FALSE);
        f = 1;
    } else if (H >= 3 * R && nGroupingRows == 3 && FitThreeRows(items)) {
        f = 3;
    } else {
        f = BreakRows(items, e / 2, FALSE) + 1;
    }
    nContentWidth = PlaceRows(items);
    const int F = H - R * f;
    int d = (F + 1) / (f + 1), h = f;
    for (size_t i = 0; i < items.size(); i++) {
        if (i > 0 && items[i].bNewRow && h > 0) {
            d += (F - d) / h;
            h--;
        }
        items[i].rc.OffsetRect(0, d);
    }
    return std::max(nCaptionWidth, nContentWidth);
}

BOOL RibbonGroupLayout::Reduce(int nLevel, int nExcess, const RibbonBandMetrics& m)
{
    if (nContentWidth < nCaptionWidth) {
        if (nLevel != 2 || nContentWidth <= 16)
            return FALSE;
        nCaptionWidth = std::max(nContentWidth, nCaptionWidth - nExcess);
        return TRUE;
    }
    const int count = (int)items.size();
    const int n = BandRows(m);
    // n consecutive items ending at j (scanned from the last item down to
    // the first that has n − 1 items before it) that pass the test.
    auto scan = [&](const std::function<BOOL(int first, int last)>& ok) -> int {
        if (n < 1)
            return -1;
        for (int j = count - 1; j >= n - 1; j--) {
            const int first = j - n + 1;
            BOOL bRuns = FALSE, bGallery = FALSE;
            for (int i = first; i <= j; i++) {
                bGallery |= items[(size_t)i].bGallery;
                bRuns |= i > first && items[(size_t)i].bNewRun;
            }
            if (!bGallery && !bRuns && ok(first, j))
                return first;
        }
        return -1;
    };
    auto setStyle = [&](int first, int style) {
        for (int i = first; i < first + n; i++)
            items[(size_t)i].nRibbonStyle = style;
    };
    switch (nLevel) {
    case 0:
    case 1: {
        if (bControlsGrouping) {
            if (nLevel == 1 && nGroupingRows == 2) {
                nGroupingRows = 3;
                return TRUE;
            }
            return FALSE;
        }
        if (n <= 1)
            return FALSE;
        int first = scan([&](int a, int b) {
            int nLarge = 0;
            for (int i = a; i <= b; i++)
                nLarge += items[(size_t)i].nRibbonStyle == kRibbonStyleLarge;
            return nLevel == 0 ? nLarge == n : nLarge > 0;
        });
        if (first < 0)
            return FALSE;
        setStyle(first, kRibbonStyleSmall);
        return TRUE;
    }
    case 2: {
        if (bControlsGrouping || n <= 1)
            return FALSE;
        int first = n < count ? scan([&](int a, int b) {
            for (int i = a; i <= b; i++) {
                const RibbonGroupLayoutItem& it = items[(size_t)i];
                if (it.nRibbonStyle != kRibbonStyleSmall || it.rc.left != items[(size_t)a].rc.left)
                    return FALSE;
            }
            return TRUE;
        })
                              : -1;
        if (first >= 0) {
            setStyle(first, kRibbonStyleIcon);
            return TRUE;
        }
        for (int i = count - 1; i >= 0; i--) {
            RibbonGroupLayoutItem& it = items[(size_t)i];
            if (it.bGallery && it.nRibbonStyle != kRibbonStyleLarge) {
                it.nRibbonStyle = kRibbonStyleLarge;
                return TRUE;
            }
        }
        return FALSE;
    }
    case 3:
        if (count > 1 && !bCollapsed) {
            bCollapsed = TRUE;
            for (RibbonGroupLayoutItem& it : items)
                it.bHidden = TRUE;
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

BOOL RibbonGroupLayout::Expand(int nSpare)
{
    for (size_t i = items.size(); i-- > 0;) {
        RibbonGroupLayoutItem& it = items[i];
        if (!it.bGallery || it.Style() != kRibbonStyleNone || !it.bResizableGallery)
            continue;
        const int g = it.nGalleryItemWidth;
        if (g <= 0 || nSpare < g)
            return FALSE;
        it.cx += g * (nSpare / g);
        return TRUE;
    }
    return FALSE;
}

void RibbonGroupLayout::Position(int nWidth, int x, int y, const RibbonBandMetrics& m)
{
    const int E = m.nGroupsHeight - 7, K = m.nCaptionHeight;
    int h = 2;
    if (bControlsCentering && nContentWidth < nCaptionWidth && nCaptionWidth == nWidth)
        h = (nCaptionWidth - nContentWidth) / 2 + 2;
    for (RibbonGroupLayoutItem& it : items) {
        it.rcClient = CRect(x, y, x + nWidth, y + E - K);
        if (!it.bHidden)
            it.rc.OffsetRect(x + h, y + 2);
    }
    if (bControlsCentering && !bControlsGrouping) {
        const int band = E - K - 3;
        for (size_t a = 0; a < items.size();) {
            size_t b = a;
            int heights = 0, count = 0;
            while (b < items.size() && items[b].rc.left == items[a].rc.left) {
                if (!items[b].bHidden) {
                    heights += items[b].rc.Height();
                    count++;
                }
                b++;
            }
            const int free = band - heights;
            if (free > 0 && count > 0) {
                const int g = free / (count + 1);
                int k = 0;
                for (size_t i = a; i < b; i++)
                    if (!items[i].bHidden)
                        items[i].rc.OffsetRect(0, ++k * g);
            }
            a = b;
        }
    }
    rc = CRect(x, y, x + nWidth + 5, y + E);
}

RibbonGroupsResult AFXAPI LayoutGroups(std::vector<RibbonGroupLayout*>& groups, int nWidth, const CRect& rcMargins,
                                       int nOffset, const RibbonBandMetrics& m, const RibbonMeasureFn& measure)
{
    RibbonGroupsResult res;
    if (groups.empty())
        return res;
    const size_t count = groups.size();
    std::vector<int> width(count, 0);
    for (RibbonGroupLayout* g : groups)
        if (g->bVisible)
            g->Begin(measure);
    for (size_t i = 0; i < count; i++)
        width[i] = groups[i]->bVisible ? groups[i]->CalcWidth(m, measure) : 0;

    const int A = nWidth - rcMargins.left - rcMargins.right;
    auto total = [&]() {
        int T = 0;
        for (size_t i = 0; i < count; i++)
            T += width[i] + (width[i] > 0 && i + 1 < count ? kGroupGap : 0);
        return T;
    };
    int T = total();
    while (T > A) {
        BOOL bChanged = FALSE;
        for (int level = 0; level <= 3 && !bChanged; level++) {
            for (size_t i = count; i-- > 0;) {
                if (!groups[i]->bVisible || !groups[i]->Reduce(level, T - A, m))
                    continue;
                width[i] = groups[i]->CalcWidth(m, measure);
                T = total();
                bChanged = TRUE;
                break;
            }
        }
        if (!bChanged)
            break;
    }
    if (T < A) {
        for (size_t i = count; i-- > 0;) {
            if (groups[i]->bVisible && groups[i]->Expand(A - T)) {
                width[i] = groups[i]->CalcWidth(m, measure);
                break;
            }
        }
    }

    int G = -kGroupGap;
    for (size_t i = 0; i < count; i++)
        if (groups[i]->bVisible)
            G += width[i] + kGroupGap;
    res.nContentWidth = G;
    res.nOffset = A < G ? std::max(0, std::min(nOffset, G - A)) : 0;
    res.bScrollLeft = res.nOffset > 0;
    res.bScrollRight = G - res.nOffset - A > 0;

    int x = rcMargins.left - res.nOffset;
    for (size_t i = 0; i < count; i++) {
        if (!groups[i]->bVisible)
            continue;
        groups[i]->Position(width[i], x, rcMargins.top, m);
        x += width[i] + kGroupGap;
    }
    return res;
}

RibbonGroupButtons AFXAPI PlaceGroupButtons(const CRect& rcGroup, BOOL bCollapsed, BOOL bShowOption,
                                            int nCaptionHeight)
{
    RibbonGroupButtons b;
    if (bCollapsed) {
        b.bPopupShown = TRUE;
        b.rcPopup = rcGroup;
    }
    if (bShowOption && !bCollapsed) {
        const int K = nCaptionHeight;
        b.rcOption = CRect(rcGroup.right - K - 1, rcGroup.bottom - K, rcGroup.right - 3, rcGroup.bottom - 3);
    } else {
        b.nOptionHide = bShowOption ? 2 : 1;
    }
    return b;
}

// ---------------------------------------------------------------------------
// Bar heights and the quick-access toolbar

int RibbonBarState::GetTabsHeight() const
{
    if (nTabsHeight > 0)
        return nTabsHeight;
    return bTabsVisible ? nTabRowHeight : 2;
}

int RibbonBarState::CalcGroupsHeight() const
{
    return qxribbon::CalcGroupsHeight(nGroupsOverride, nControlHeight, nGroupCaptionHeight);
}

int RibbonBarState::GetGroupsHeight() const
{
    if (nGroupsHeight >= 0)
        return nGroupsHeight;
    return IsGroupsShown() ? CalcGroupsHeight() : 0;
}

int RibbonBarState::GetQuickAccessHeight() const
{
    int h = (nCustomButtonHeight > 0 ? nCustomButtonHeight : nControlHeight) + 4;
    for (int cy : qatControlHeights)
        h = std::max(h, cy + 4);
    return h;
}

int RibbonBarState::GetCaptionHeight() const
{
    if (!IsCaptionVisible())
        return 0;
    const int b = bFrameHook ? nHookTopBorder : 0;
    int h = b + nThemeCaptionHeight;
    if (bQatVisible && !bQatBelow)
        h = std::max(h, b + std::max(GetQuickAccessHeight(), nTabRowHeight - 2));
    return h;
}

BOOL RibbonBarState::IsShownBySize(int nWidth, int nFrameHeight) const
{
    return nFrameHeight >= nMinimumSize && nWidth >= nMinimumSize;
}

int RibbonBarState::CalcDockedHeight(int nWidth, int nFrameHeight) const
{
    if (!IsShownBySize(nWidth, nFrameHeight))
        return 0;
    int h = GetCaptionHeight() + GetGroupsHeight() + GetTabsHeight();
    if (bQatBelow)
        h += GetQuickAccessHeight() + 1;
    else if (!IsGroupsShown())
        h += 2;
    return h;
}

CSize AFXAPI QuickAccessButtonSize(int nControlHeight) { return CSize(nControlHeight * 13 / 22, nControlHeight); }

int AFXAPI QuickAccessRightLimit(int cx, BOOL bBelow, BOOL bComposition, int nCaptionHeight)
{
    if (bBelow)
        return cx - 15;
    return bComposition ? cx - 115 : cx - 3 * nCaptionHeight;
}

void AFXAPI PlaceQuickAccess(std::vector<QuickAccessItem>& items, QuickAccessPlacement& p)
{
    int x = p.x;
    const BOOL bAboveOutside = !p.bBelow && !p.bInTabRow;
    auto centre = [&](CSize sz, int xLeft) {
        int top = p.rcQat.top + (p.rcQat.Height() - sz.cy) / 2 + (bAboveOutside ? 2 : 0);
        return CRect(xLeft, top, xLeft + sz.cx, top + sz.cy);
    };
    BOOL bOverflow = FALSE;
    int nPlaced = 0;
    for (QuickAccessItem& it : items) {
        it.bOverflow = !p.bVisible || !p.bCaptionOrTabs || bOverflow;
        if (it.bOverflow || !it.bVisible)
            continue;
        if (x + it.size.cx > p.nRightLimit) {
            bOverflow = it.bOverflow = TRUE;
            continue;
        }
        it.rc = centre(it.size, x);
        x += it.size.cx;
        nPlaced++;
    }
    p.bMoreShown = bOverflow;
    p.bCustomizeShown = p.bVisible && p.bCaptionOrTabs && !bOverflow && p.szCustomize.cx > 0;
    if (nPlaced > 0 && bAboveOutside)
        x += 12;
    if (p.bCustomizeShown) {
        p.rcCustomize = centre(p.szCustomize, x);
        if (p.bInTabRow)
            x += p.szCustomize.cx;
    }
    if (p.bMoreShown) {
        p.rcMore = centre(p.szMore, x);
        if (p.bInTabRow)
            x += p.szMore.cx;
    }
    p.xEnd = x;
    if (!p.bBelow)
        p.rcQat.right = x;
}

TabRowSpan AFXAPI PlaceTabRowControls(std::vector<TabRowItem>& items, const CRect& rcRow, int xLeft, int xRight)
{
    TabRowSpan span;
    auto centre = [&](CSize sz, int x) {
        const int top = rcRow.top + (rcRow.Height() - sz.cy) / 2;
        return CRect(x, top, x + sz.cx, top + sz.cy);
    };
    int x = xLeft;
    for (TabRowItem& it : items) {
        if (it.bRightAligned)
            continue;
        if (it.bBeginGroup)
            x += 6;
        it.rc = centre(it.size, x);
        x += it.size.cx;
        span.bLeftPlaced = TRUE;
    }
    span.xLeftEnd = x;
    x = xRight;
    for (size_t i = items.size(); i-- > 0;) {
        TabRowItem& it = items[i];
        if (!it.bRightAligned)
            continue;
        x -= it.size.cx;
        it.rc = centre(it.size, x);
    }
    span.xRightStart = x;
    return span;
}

// ---------------------------------------------------------------------------
// Contextual tab headers

LPCSTR AFXAPI ContextColorName(int nColor)
{
    static const LPCSTR kNames[] = {"", "BLUE", "YELLOW", "GREEN", "RED", "PURPLE", "CYAN", "ORANGE"};
    return nColor >= 0 && nColor < (int)(sizeof(kNames) / sizeof(kNames[0])) ? kNames[nColor] : "";
}

CRibbonContextHeaders AFXAPI BuildContextHeaders(const std::vector<RibbonTabInfo>& tabs,
                                                 int nCaptionTop, int nCaptionBottom, int L, int R)
{
    CRibbonContextHeaders headers;
    CRibbonContextHeader* pRun = NULL; // the header of the previous visible tab
    for (size_t i = 0; i < tabs.size(); i++) {
        const RibbonTabInfo& t = tabs[i];
        if (!t.bVisible)
            continue;
        if (t.nContextColor == 0 || t.strContextCaption.IsEmpty()) {
            pRun = NULL;
            continue;
        }
        if (pRun && pRun->nColor == t.nContextColor && pRun->strCaption == t.strContextCaption) {
            pRun->nLastTab = (int)i;
            pRun->rc.right = t.right;
            continue;
        }
        CRibbonContextHeader h;
        h.nFirstTab = h.nLastTab = (int)i;
        h.strCaption = t.strContextCaption;
        h.nColor = t.nContextColor;
        h.rc = CRect(t.left, nCaptionTop + 4, t.right, nCaptionBottom);
        headers.push_back(h);
        pRun = &headers.back();
    }

    int x = L;
    for (CRibbonContextHeader& h : headers) {
        if (h.rc.left >= x)
            break;
        const int w = std::max((int)h.rc.Width(), (int)kHeaderMinWidth);
        h.rc.left = x;
        h.rc.right = x + w;
        x = h.rc.right;
    }
    int limit = R;
    for (size_t i = headers.size(); i-- > 0;) {
        CRect& rc = headers[i].rc;
        if (rc.right > limit) {
            rc.right = limit;
            if (rc.Width() < kHeaderMinWidth)
                rc.left = rc.right - kHeaderMinWidth;
        }
        limit = rc.left;
        if (limit < L) {
            headers.clear();
            break;
        }
    }
    return headers;
}

CRect AFXAPI KeepTitleClearOfHeaders(const CRibbonContextHeaders& headers, const CRect& rcTitle,
                                     int w, int L, int R)
{
    if (headers.empty())
        return rcTitle;
    CRect rcSpan(headers.front().rc.left, headers.front().rc.top + 2, headers.back().rc.right,
                 headers.front().rc.bottom);
    CRect rcMeet;
    if (!rcMeet.IntersectRect(&rcSpan, &rcTitle))
        return rcTitle;
    CRect rc = rcTitle;
    if (rcSpan.CenterPoint().x < rcTitle.CenterPoint().x) {
        rc.left = rcSpan.right;
        rc.right = std::min((int)rc.left + w, R);
    } else {
        rc.right = rcSpan.left;
        rc.left = rcSpan.left - L < w ? L : rcSpan.left - w;
    }
    return rc;
}

// ---------------------------------------------------------------------------
// Keyboard tips

CString AFXAPI QuickAccessTipText(int nIndex)
{
    CString s;
    if (nIndex >= 0 && nIndex < 9)
        s.Format("%i", nIndex + 1);
    else if (nIndex >= 9 && nIndex < 18)
        s.Format("0%i", nIndex - 8);
    return s;
}

KeyTipAnchor AFXAPI QuickAccessTipAnchor(const CRect& rc)
{
    return {CPoint(rc.CenterPoint().x, rc.bottom - 11), kTipCenterX};
}

KeyTipAnchor AFXAPI TabTipAnchor(const CRect& rc) { return {CPoint(rc.CenterPoint().x, rc.bottom - 9), kTipCenterX}; }

KeyTipAnchor AFXAPI SystemButtonTipAnchor(const CRect& rc) { return {rc.CenterPoint(), kTipCenter}; }

KeyTipAnchor AFXAPI GroupControlTipAnchor(const CRect& rcGroup, int K, int nGroupsBottom, const CRect& rcControl,
                                          int nType, int nStyle)
{
    KeyTipAnchor a;
    const int cxCentre = (rcControl.left + rcControl.right) / 2;
    if (rcControl.top >= rcGroup.bottom - K + 2 && rcControl.bottom <= rcGroup.bottom) {
        a.pt = CPoint(cxCentre, nGroupsBottom - kGroupCaptionBandTip);
        a.nAlign = kTipCenterX;
        return a;
    }
    const int clientTop = rcGroup.top, clientBottom = rcGroup.bottom - K;
    const int clientHeight = clientBottom - clientTop;
    a.pt.y = clientBottom;
    if (nStyle == kRibbonStyleLarge && rcControl.Height() > clientHeight / 2 + 1) {
        a.pt.x = cxCentre;
        a.nAlign = kTipCenter;
    } else if (nType == qxpControlGallery) {
        a.pt.x = rcControl.right;
        a.nAlign = kTipCenter;
    } else {
        a.pt.x = rcControl.left + 11;
        a.nAlign = kTipCenterY;
        const int cy = (rcControl.top + rcControl.bottom) / 2;
        if (cy < clientTop + clientHeight / 3)
            a.pt.y = rcGroup.top + 2;
        else if (cy < clientTop + 2 * clientHeight / 3)
            a.pt.y = (clientTop + clientBottom) / 2 - 1;
    }
    if (nType == qxpControlCheckBox || nType == qxpControlRadioButton)
        a.pt.x = rcControl.left + 6;
    if ((nType == qxpControlComboBox || nType == qxpControlEdit) && nStyle == 0) {
        a.pt.x = cxCentre;
        a.nAlign |= kTipCenterX;
    }
    return a;
}

// ---------------------------------------------------------------------------
// Quick-access menus

QuickAccessMenuItem AFXAPI QuickAccessMenuRule(int nId, const QuickAccessMenuState& s)
{
    QuickAccessMenuItem it;
    switch (nId) {
    case 9616:
        nId = 9607;
        break;
    case 9617:
        nId = 9608;
        break;
    case 9618:
        nId = 9610;
        break;
    }
    it.nId = nId;
    switch (nId) {
    case 9605:
        it.bVisible = s.bInQat && !s.bLocked && s.bCustomizable;
        it.bTargetsControl = TRUE;
        break;
    case 9606:
        it.bVisible = !s.bInQat && !s.bLocked && s.bCustomizable;
        it.bEnabled = s.bAllowed;
        it.bTargetsControl = TRUE;
        break;
    case 9607:
        it.bCustomizeCaption = !s.bCustomizable;
        break;
    case 9608:
        it.bVisible = s.bQatVisible && !s.bQatBelow;
        break;
    case 9610:
        it.bVisible = s.bQatVisible && s.bQatBelow;
        break;
    case 9612:
        it.bVisible = s.bAllowMinimize;
        it.bChecked = s.bMinimized;
        break;
    case 9613:
        it.bVisible = FALSE;
        break;
    case 9614:
        it.bHeading = TRUE;
        it.bVisible = s.bCustomizable && s.bHasDefaultList;
        break;
    }
    return it;
}

// ---------------------------------------------------------------------------
// System menu

std::vector<CRect> AFXAPI PlaceSystemMenuButtons(const std::vector<int>& widths, int cx, int cy)
{
    std::vector<CRect> rects(widths.size());
    int x = cx - kSystemMenuSide + 1;
    for (size_t i = widths.size(); i-- > 0;) {
        rects[i] = CRect(x - widths[i], cy - kSystemMenuBottom + 4, x, cy - 3);
        x -= widths[i] + 6;
    }
    return rects;
}

int AFXAPI SystemMenuPageMinHeight(int nMenuClientHeight)
{
    return nMenuClientHeight - (kSystemMenuBottom + kSystemMenuTop + 2);
}

CRect AFXAPI SystemButtonCornerRect(int nTabsHeight, int nQatHeight, int y0, int nCaptionTop)
{
    const int y = y0 + nCaptionTop - 1;
    return CRect(0, y, nTabsHeight + nQatHeight - 3, y + nTabsHeight + nQatHeight - 4);
}

CRect AFXAPI SystemMenuAnchor(const CRect& rcButton, BOOL bFrameCaption)
{
    CRect rc = rcButton;
    if (bFrameCaption)
        rc.bottom -= kSystemMenuTop;
    return rc;
}

BOOL AFXAPI IsRecentFileItemId(UINT nId, UINT nFirstId, int nSize)
{
    return nSize > 0 && nId >= nFirstId && nId < nFirstId + (UINT)nSize;
}

CString AFXAPI PathTitle(const CString& strPath)
{
    int n = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
    return strPath.Mid(n + 1);
}

std::vector<CString> AFXAPI RecentFileCaptions(const std::vector<CString>& paths)
{
    std::vector<CString> captions;
    for (size_t i = 0; i < paths.size() && !paths[i].IsEmpty(); i++)
        captions.push_back(QxpFormatItemText(PathTitle(paths[i]), (int)i + 1));
    return captions;
}

// ---------------------------------------------------------------------------
// Scrolling and popups

int AFXAPI ScrollGroupsOffset(int nOffset, BOOL bToLeft)
{
    return bToLeft ? std::max(0, nOffset - kGroupScrollStep) : nOffset + kGroupScrollStep;
}

int AFXAPI EnsureVisibleOffset(int nOffset, int nLeft, int nRight, int nVisibleWidth, BOOL bLeftButton,
                               BOOL bRightButton)
{
    if (nLeft < kScrollButtonWidth && bLeftButton)
        return std::max(0, nOffset + nLeft - kScrollButtonWidth);
    if (nRight > nVisibleWidth && bRightButton)
        return std::max(0, nOffset + nRight - nVisibleWidth + kScrollButtonWidth);
    return nOffset;
}

RepeatDelays AFXAPI ScrollRepeatDelays(UINT nDoubleClickTime)
{
    RepeatDelays d;
    d.nFirst = nDoubleClickTime * 4 / 5;
    d.nNext = nDoubleClickTime / 10;
    return d;
}

CRect AFXAPI PlaceTabPopup(const CRect& rcRibbon, const CRect& rcWork, const CRect& rcTabStrip, int nHeight)
{
    const int x = std::max(rcRibbon.left, rcWork.left);
    int w = rcRibbon.right - x;
    if (x + w > rcWork.right)
        w = rcWork.right - x - 4;
    int y = rcTabStrip.bottom;
    if (y + nHeight > rcWork.bottom)
        y = rcTabStrip.top - nHeight;
    return CRect(x, y, x + w, y + nHeight);
}

CSize AFXAPI GroupPopupSize(int nGroupWidth, int nGroupsHeight)
{
    return CSize(nGroupWidth + kGroupPopupExtra, nGroupsHeight - 7);
}

// ---------------------------------------------------------------------------
// Frame region

FrameRegionDecision AFXAPI FrameRegionTracker::Decide(const FrameRegionRequest& r)
{
    FrameRegionDecision d;
    d.nBorder = r.nBorder;
    if (r.bComposition) {
        if (!r.bMaximized)
            d.nBorder = 4;
        d.action = kFrameRegionExtend;
        d.nTopMargin = r.bUsesSystemMetrics ? 0 : r.nCaptionHeight;
    } else if (r.bMaximizedMdiChild) {
        d.action = kFrameRegionRemove;
    } else if (r.bMaximized) {
        const int b = r.nBorder;
        d.action = kFrameRegionRect;
        d.rc = CRect(b, b, r.cx - b, r.cy - b);
    } else {
        d.action = kFrameRegionTheme;
    }
    return d;
}

int FrameRegionTracker::Update(const FrameRegionRequest& r, const ApplyFn& apply)
{
    if (m_bUpdating)
        return 0;
    if (r.cx == m_cx && r.cy == m_cy && !r.bForce)
        return 0; // the guard was never raised: nothing to take down
    m_bUpdating = TRUE;
    const int nResult = apply(Decide(r));
    m_cx = r.cx;
    m_cy = r.cy;
    m_bUpdating = FALSE;
    return nResult;
}

} // namespace qxribbon
