// Dock bars: rows of docked toolbars along one edge of the frame.

#include <qx/commandbars.h>

#include <algorithm>

// ===========================================================================
// One row

int AFXAPI QxpLayoutDockRow(std::vector<CQXPDockBarRowItem>& items, int nLength,
                            const std::function<int(const CQXPDockBarRowItem&)>& minLength)
{
    if (items.empty())
        return -1;
    // A strict weak ordering: by left edge, ties by the index in the row.
    std::stable_sort(items.begin(), items.end(), [](const CQXPDockBarRowItem& a, const CQXPDockBarRowItem& b) {
        if (a.rc.left != b.rc.left)
            return a.rc.left < b.rc.left;
        return a.nIndex < b.nIndex;
    });
    for (CQXPDockBarRowItem& item : items)
        item.bMoved = FALSE;
    size_t n = items.size();

    // Forward: an item that starts inside its left neighbour moves right,
    // unless the neighbour stayed put and came later in the row.
    for (size_t k = 1; k < n; k++) {
        CQXPDockBarRowItem& prev = items[k - 1];
        CQXPDockBarRowItem& item = items[k];
        if (item.rc.left < prev.rc.right) {
            if (!prev.bMoved && prev.nIndex >= item.nIndex)
                continue;
            item.rc.OffsetRect(prev.rc.right - item.rc.left, 0);
            item.bMoved = TRUE;
        }
    }
    // Backward: items past the end move left.
    int nLimit = nLength;
    for (size_t k = n; k-- > 0;) {
        CQXPDockBarRowItem& item = items[k];
        if (item.rc.right - nLimit >= 1) {
            BOOL bStay = k + 1 < n && !items[k + 1].bMoved && items[k + 1].nIndex >= item.nIndex;
            if (!bStay) {
                item.rc.OffsetRect(nLimit - item.rc.right, 0);
                item.bMoved = TRUE;
            }
        }
        nLimit = item.rc.left;
    }
    // Final forward pass: no overlaps remain, and the backward pass never
    // leaves a bar before the start of the row.
    if (items[0].rc.left < 0)
        items[0].rc.OffsetRect(-items[0].rc.left, 0);
    for (size_t k = 1; k < n; k++) {
        if (items[k].rc.left < items[k - 1].rc.right)
            items[k].rc.OffsetRect(items[k - 1].rc.right - items[k].rc.left, 0);
    }
    if (items.back().rc.right <= nLength)
        return -1;

    // Too long: shrink from the right end.
    int nBefore = 0;
    for (CQXPDockBarRowItem& item : items) {
        item.nMinLength = item.bShrinkable ? minLength(item) : nLength;
        item.nLengthBefore = nBefore;
        nBefore += item.nMinLength;
    }
    int c = nLength;
    for (size_t k = n; k-- > 0;) {
        CQXPDockBarRowItem& item = items[k];
        int nLeft = std::max(std::min((int)item.rcWanted.left, (int)item.rc.left), c - item.rc.Width());
        nLeft = std::max(nLeft, item.nLengthBefore);
        nLeft = std::min(nLeft, c - item.nMinLength);
        if (nLeft < item.nLengthBefore && n > 1)
            return (int)n - 1;
        nLeft = std::max(nLeft, 0);
        item.rc.left = nLeft;
        item.rc.right = c;
        c = nLeft;
    }
    return -1;
}

// ===========================================================================
// CQXPDockBar

IMPLEMENT_DYNCREATE(CQXPDockBar, CWnd)

BEGIN_MESSAGE_MAP(CQXPDockBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_NCHITTEST()
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

CQXPDockBar::CQXPDockBar() : m_dwStyle(0), m_pCommandBars(NULL)
{
    m_arrBars.push_back(NULL);
    QxpRegisterWndClass("QXPDockBar", 0);
}

CQXPDockBar::~CQXPDockBar()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL CQXPDockBar::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= WS_CLIPSIBLINGS;
    return CWnd::PreCreateWindow(cs);
}

BOOL CQXPDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & 0x40FFFF;
    static const char* const s_names[] = {"qxpBarTop", "qxpBarBottom", "qxpBarLeft", "qxpBarRight"};
    DWORD dwWndStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    return CreateEx(0, "QXPDockBar", s_names[GetPosition()], dwWndStyle, 0, 0, 0, 0, pParentWnd->GetSafeHwnd(),
                    (HMENU)(UINT_PTR)nID);
}

int CQXPDockBar::FindBar(CQXPToolBar* pBar, int nSkipIndex) const
{
    for (size_t i = 0; i < m_arrBars.size(); i++)
        if ((int)i != nSkipIndex && m_arrBars[i] == pBar)
            return (int)i;
    return -1;
}

int CQXPDockBar::GetInsertPosition(CPoint ptCenter, BOOL* pbNewRow) const
{
    BOOL bHorz = IsHorizontal();
    int nCross = bHorz ? ptCenter.y : ptCenter.x;
    int nBandStart = 0;
    size_t nRowStart = 1;
    *pbNewRow = FALSE;
    while (nRowStart < m_arrBars.size()) {
        size_t nRowEnd = nRowStart;
        int nBandEnd = nBandStart;
        BOOL bAny = FALSE;
        while (nRowEnd < m_arrBars.size() && m_arrBars[nRowEnd]) {
            CQXPToolBar* pBar = m_arrBars[nRowEnd];
            if (pBar->IsVisible() && ::IsWindow(pBar->GetSafeHwnd())) {
                CRect rc;
                ::GetWindowRect(pBar->GetSafeHwnd(), &rc);
                ::MapWindowPoints(NULL, m_hWnd, (LPPOINT)&rc, 2);
                nBandEnd = std::max(nBandEnd, bHorz ? (int)rc.bottom : (int)rc.right);
                bAny = TRUE;
            }
            nRowEnd++;
        }
        if (bAny && nBandEnd > nCross) {
            if (nCross == nBandStart) {
                *pbNewRow = TRUE;
                return (int)nRowStart;
            }
            return (int)nRowStart;
        }
        if (bAny)
            nBandStart = nBandEnd;
        nRowStart = nRowEnd + 1;
    }
    *pbNewRow = TRUE;
    return (int)m_arrBars.size();
}

void CQXPDockBar::NormalizeFullRowBars()
{
    for (size_t i = 1; i < m_arrBars.size(); i++) {
        CQXPToolBar* pBar = m_arrBars[i];
        if (!pBar || !(pBar->GetFlags() & qxpFlagStretched))
            continue;
        if (m_arrBars[i - 1] != NULL) {
            m_arrBars.insert(m_arrBars.begin() + (long)i, (CQXPToolBar*)NULL);
            i++;
        }
        if (i + 1 < m_arrBars.size() && m_arrBars[i + 1] != NULL)
            m_arrBars.insert(m_arrBars.begin() + (long)i + 1, (CQXPToolBar*)NULL);
    }
    if (m_arrBars.back() != NULL)
        m_arrBars.push_back(NULL);
}

void CQXPDockBar::DockCommandBar(CQXPToolBar* pBar, LPCRECT lpRect)
{
    if (pBar->GetDockBar() == this && lpRect == NULL)
        return;
    if (lpRect && ::IsWindow(pBar->GetSafeHwnd())) {
        CRect rcWindow;
        ::GetWindowRect(pBar->GetSafeHwnd(), &rcWindow);
        if (rcWindow == CRect(*lpRect) && pBar->GetDockBar() == this)
            return;
    }
    int nNewIndex;
    if (lpRect) {
        CRect rc(*lpRect);
        ::MapWindowPoints(NULL, m_hWnd, (LPPOINT)&rc, 2);
        BOOL bNewRow = FALSE;
        int nPos = GetInsertPosition(rc.CenterPoint(), &bNewRow);
        if (nPos >= (int)m_arrBars.size()) {
            m_arrBars.push_back(pBar);
            m_arrBars.push_back(NULL);
            nNewIndex = (int)m_arrBars.size() - 2;
        } else if (bNewRow) {
            m_arrBars.insert(m_arrBars.begin() + nPos, (CQXPToolBar*)NULL);
            m_arrBars.insert(m_arrBars.begin() + nPos, pBar);
            nNewIndex = nPos;
        } else {
            m_arrBars.insert(m_arrBars.begin() + nPos, pBar);
            nNewIndex = nPos;
        }
        pBar->m_rcDocked = rc;
    } else {
        m_arrBars.push_back(pBar);
        m_arrBars.push_back(NULL);
        nNewIndex = (int)m_arrBars.size() - 2;
        pBar->m_rcDocked = CRect(0, 0, 0, 0);
    }
    FinishDocking(pBar, nNewIndex);
}

void CQXPDockBar::FinishDocking(CQXPToolBar* pBar, int nNewIndex)
{
    if (::IsWindow(pBar->GetSafeHwnd()) && ::GetParent(pBar->GetSafeHwnd()) != m_hWnd)
        ::SetParent(pBar->GetSafeHwnd(), m_hWnd);
    if (pBar->GetDockBar() == this)
        RemoveCommandBar(pBar, nNewIndex);
    else if (pBar->GetDockBar())
        pBar->GetDockBar()->RemoveCommandBar(pBar, -1);
    pBar->SetDockBar(this);
    pBar->SetBarPosition(GetPosition());
    NormalizeFullRowBars();
    if (m_pCommandBars)
        m_pCommandBars->RecalcFrameLayout(TRUE);
}

int CQXPDockBar::GetBarRow(CQXPToolBar* pBar, BOOL* pbAlone) const
{
    int nIndex = FindBar(pBar);
    if (nIndex <= 0)
        return -1;
    int nRow = 0;
    for (int i = 1; i < nIndex; i++)
        if (!m_arrBars[(size_t)i])
            nRow++;
    if (pbAlone)
        *pbAlone = m_arrBars[(size_t)nIndex - 1] == NULL &&
                   ((size_t)nIndex + 1 >= m_arrBars.size() || m_arrBars[(size_t)nIndex + 1] == NULL);
    return nRow;
}

void CQXPDockBar::DockCommandBarAtRow(CQXPToolBar* pBar, int nRow, BOOL bNewRow, const CRect& rcClient)
{
    // Row numbers count the rows without the bar itself.
    if (pBar->GetDockBar() == this)
        RemoveCommandBar(pBar, -1);
    size_t nStart = 1;
    for (int r = 0; r < nRow && nStart < m_arrBars.size(); r++) {
        while (nStart < m_arrBars.size() && m_arrBars[nStart])
            nStart++;
        nStart++; // past the row's end
    }
    int nNewIndex;
    if (nStart >= m_arrBars.size()) {
        m_arrBars.push_back(pBar);
        m_arrBars.push_back(NULL);
        nNewIndex = (int)m_arrBars.size() - 2;
    } else if (bNewRow) {
        m_arrBars.insert(m_arrBars.begin() + (long)nStart, (CQXPToolBar*)NULL);
        m_arrBars.insert(m_arrBars.begin() + (long)nStart, pBar);
        nNewIndex = (int)nStart;
    } else {
        m_arrBars.insert(m_arrBars.begin() + (long)nStart, pBar);
        nNewIndex = (int)nStart;
    }
    pBar->m_rcDocked = rcClient;
    FinishDocking(pBar, nNewIndex);
}

BOOL CQXPDockBar::RemoveCommandBar(CQXPToolBar* pBar, int nSkipIndex)
{
    int nIndex = FindBar(pBar, nSkipIndex);
    if (nIndex <= 0)
        return FALSE;
    m_arrBars.erase(m_arrBars.begin() + nIndex);
    if (nIndex < (int)m_arrBars.size() && m_arrBars[(size_t)nIndex] == NULL && m_arrBars[(size_t)nIndex - 1] == NULL)
        m_arrBars.erase(m_arrBars.begin() + nIndex);
    if (nSkipIndex < 0 || pBar->GetDockBar() != this)
        pBar->SetDockBar(NULL);
    if (nSkipIndex < 0 && m_pCommandBars)
        m_pCommandBars->RecalcFrameLayout(TRUE);
    return TRUE;
}

int CQXPDockBar::LayoutRow(std::vector<CQXPToolBar*>& row, int nOffset, int nLength, BOOL bCommit, HDWP* phDWP)
{
    BOOL bHorz = IsHorizontal();
    BOOL bCustomize = m_pCommandBars && m_pCommandBars->IsCustomizeMode();
    std::vector<CQXPToolBar*> pending = row;
    int nTotal = 0;
    while (!pending.empty()) {
        std::vector<CQXPToolBar*> overflow;
        std::vector<CQXPDockBarRowItem> items;
        for (;;) {
            items.clear();
            for (size_t i = 0; i < pending.size(); i++) {
                CQXPToolBar* pBar = pending[i];
                DWORD dwMode = bHorz ? (qxpLayoutHorz | qxpLayoutHorzDock) : qxpLayoutVertDock;
                if (pBar->GetFlags() & qxpFlagStretched)
                    dwMode |= qxpLayoutStretch;
                BOOL bShrink = (pBar->GetFlags() & qxpFlagHideWrap) && !bCustomize;
                if (bShrink)
                    dwMode |= qxpLayoutHideWrap;
                CSize sz = pBar->CalcDockingLayout(nLength, dwMode);
                CQXPDockBarRowItem item;
                item.nIndex = (int)i;
                item.pBar = pBar;
                item.bShrinkable = bShrink;
                int nWanted = bHorz ? pBar->m_rcDocked.left : pBar->m_rcDocked.top;
                item.rc = CRect(nWanted, 0, nWanted + (bHorz ? sz.cx : sz.cy), bHorz ? sz.cy : sz.cx);
                item.rcWanted = item.rc;
                items.push_back(item);
            }
            int nWrap = QxpLayoutDockRow(items, nLength, [&](const CQXPDockBarRowItem& it) {
                CQXPToolBar* pBar = (CQXPToolBar*)it.pBar;
                DWORD dwMode = (bHorz ? (qxpLayoutHorz | qxpLayoutHorzDock) : qxpLayoutVertDock) | qxpLayoutHideWrap;
                CSize sz = pBar->CalcDockingLayout(1, dwMode);
                return (int)(bHorz ? sz.cx : sz.cy);
            });
            if (nWrap < 0)
                break;
            CQXPToolBar* pWrapped = (CQXPToolBar*)items[(size_t)nWrap].pBar;
            overflow.insert(overflow.begin(), pWrapped);
            pending.erase(std::find(pending.begin(), pending.end(), pWrapped));
        }
        int nThickness = 0;
        for (size_t k = 0; k < items.size(); k++) {
            CQXPDockBarRowItem& item = items[k];
            CQXPToolBar* pBar = (CQXPToolBar*)item.pBar;
            DWORD dwMode = bHorz ? (qxpLayoutHorz | qxpLayoutHorzDock) : qxpLayoutVertDock;
            if (pBar->GetFlags() & qxpFlagStretched)
                dwMode |= qxpLayoutStretch;
            if ((pBar->GetFlags() & qxpFlagHideWrap) && !bCustomize)
                dwMode |= qxpLayoutHideWrap;
            if (pBar->GetFlags() & qxpFlagStretchedShared) {
                item.rc.right = k + 1 < items.size() ? items[k + 1].rc.left : nLength;
                int nPrevRight = k > 0 ? (int)items[k - 1].rc.right : 0;
                if (nPrevRight < item.rc.left)
                    item.rc.left = nPrevRight;
                dwMode |= qxpLayoutStretch;
            }
            CSize sz = pBar->CalcDockingLayout(item.rc.Width(), dwMode | (bCommit ? qxpLayoutCommit : 0));
            nThickness = std::max(nThickness, bHorz ? (int)sz.cy : (int)sz.cx);
            if (bCommit) {
                CRect rcBar = bHorz ? CRect(item.rc.left, nOffset + nTotal, item.rc.left + sz.cx, nOffset + nTotal + sz.cy)
                                    : CRect(nOffset + nTotal, item.rc.left, nOffset + nTotal + sz.cx, item.rc.left + sz.cy);
                pBar->SetBarPosition(GetPosition());
                CRect rcOld;
                ::GetWindowRect(pBar->GetSafeHwnd(), &rcOld);
                ::MapWindowPoints(NULL, m_hWnd, (LPPOINT)&rcOld, 2);
                if (rcOld != rcBar && ::IsWindow(pBar->GetSafeHwnd())) {
                    // The deferred move is begun with the first bar that moves.
                    if (phDWP && !*phDWP)
                        *phDWP = ::BeginDeferWindowPos((int)row.size());
                    if (phDWP && *phDWP)
                        *phDWP = ::DeferWindowPos(*phDWP, pBar->GetSafeHwnd(), NULL, rcBar.left, rcBar.top,
                                                  rcBar.Width(), rcBar.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
                    else
                        ::SetWindowPos(pBar->GetSafeHwnd(), NULL, rcBar.left, rcBar.top, rcBar.Width(),
                                       rcBar.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
                    ::InvalidateRect(pBar->GetSafeHwnd(), NULL, FALSE);
                }
            }
        }
        nTotal += nThickness;
        pending = overflow;
    }
    return nTotal;
}

CSize CQXPDockBar::CalcDockBarLayout(int nLength, DWORD dwMode, BOOL bCommit)
{
    BOOL bHorz = IsHorizontal();
    CSize sz(0, 0);
    if ((dwMode & qxpLayoutStretch) && (dwMode & qxpLayoutHorz))
        sz.cx = 32767;
    else if ((dwMode & qxpLayoutStretch) && !(dwMode & qxpLayoutHorz))
        sz.cy = 32767;
    // Begun only when a bar moves: each deferred move (even an empty one)
    // costs server round trips, and most layouts move nothing.
    HDWP hDWP = NULL;
    int nOffset = 0;
    std::vector<CQXPToolBar*> row;
    for (size_t i = 0; i <= m_arrBars.size(); i++) {
        CQXPToolBar* pBar = i < m_arrBars.size() ? m_arrBars[i] : NULL;
        if (pBar) {
            if (pBar->IsVisible())
                row.push_back(pBar);
            continue;
        }
        if (!row.empty()) {
            nOffset += LayoutRow(row, nOffset, nLength, bCommit, bCommit ? &hDWP : NULL);
            row.clear();
        }
    }
    if (hDWP)
        ::EndDeferWindowPos(hDWP);
    if (bHorz)
        sz.cy = std::max((int)sz.cy, nOffset);
    else
        sz.cx = std::max((int)sz.cx, nOffset);
    return sz;
}

LRESULT CQXPDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    AFX_SIZEPARENTPARAMS* pParams = (AFX_SIZEPARENTPARAMS*)lParam;
    if (!::IsWindowVisible(m_hWnd) && !(GetStyle() & WS_VISIBLE))
        return 0;
    BOOL bHorz = IsHorizontal();
    CRect R = pParams->rect;
    DWORD dwMode = bHorz ? (qxpLayoutHorz | qxpLayoutHorzDock) : qxpLayoutVertDock;
    if (pParams->bStretch)
        dwMode |= qxpLayoutStretch;
    int nLength = bHorz ? R.Width() : R.Height();
    CSize sz = CalcDockBarLayout(nLength, dwMode, pParams->hDWP != NULL);
    sz.cx = std::min((int)sz.cx, R.Width());
    sz.cy = std::min((int)sz.cy, R.Height());
    CRect rcBar;
    if (bHorz) {
        sz.cx = R.Width();
        pParams->sizeTotal.cy += sz.cy;
        pParams->sizeTotal.cx = std::max((int)pParams->sizeTotal.cx, (int)sz.cx);
        if (GetPosition() == qxpBarTop) {
            rcBar = CRect(R.left, R.top, R.right, R.top + sz.cy);
            pParams->rect.top += sz.cy;
        } else {
            rcBar = CRect(R.left, R.bottom - sz.cy, R.right, R.bottom);
            pParams->rect.bottom -= sz.cy;
        }
    } else {
        sz.cy = R.Height();
        pParams->sizeTotal.cx += sz.cx;
        pParams->sizeTotal.cy = std::max((int)pParams->sizeTotal.cy, (int)sz.cy);
        if (GetPosition() == qxpBarLeft) {
            rcBar = CRect(R.left, R.top, R.left + sz.cx, R.bottom);
            pParams->rect.left += sz.cx;
        } else {
            rcBar = CRect(R.right - sz.cx, R.top, R.right, R.bottom);
            pParams->rect.right -= sz.cx;
        }
    }
    if (pParams->hDWP)
        pParams->hDWP = ::DeferWindowPos(pParams->hDWP, m_hWnd, NULL, rcBar.left, rcBar.top, rcBar.Width(),
                                         rcBar.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_hWnd, NULL, FALSE);
    return 0;
}

void CQXPDockBar::OnPaint()
{
    CPaintDC dc(this);
    GetGlobalPaintManager()->FillDockBar(&dc, this);
}

LRESULT CQXPDockBar::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    HDC hDC = (HDC)wParam;
    if (hDC) {
        CDC dc;
        dc.Attach(hDC);
        GetGlobalPaintManager()->FillDockBar(&dc, this);
        dc.Detach();
    }
    return 0;
}

LRESULT CQXPDockBar::OnNcHitTest(CPoint point)
{
    // Over a ribbon docked on top the clicks go to the frame below.
    if (GetPosition() == qxpBarTop && m_pCommandBars) {
        CQXPToolBar* pMain = m_pCommandBars->GetToolBar(1);
        if (pMain && pMain->GetType() == qxpBarTypeRibbon && pMain->GetDockBar() == this)
            return HTTRANSPARENT;
    }
    return CWnd::OnNcHitTest(point);
}

void CQXPDockBar::OnRButtonDown(UINT nFlags, CPoint point)
{
    (void)nFlags;
    // The free part of a dock row offers the toolbars menu too.
    if (!m_pCommandBars)
        return;
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    m_pCommandBars->ContextMenu(ptScreen);
}
