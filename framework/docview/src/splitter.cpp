// CSplitterWnd: panes in rows and columns, split boxes and bars tracked
// with the mouse, and the scroll bars the panes share.
#include "dvimpl.h"

#include "fx/ctrls.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_CANCELMODE()
    ON_WM_CAPTURECHANGED()
    ON_WM_KEYDOWN()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CSplitterWnd::CSplitterWnd()
    : m_cxSplitter(6), m_cySplitter(6), m_cxSplitterGap(6), m_cySplitterGap(6), m_cxBorder(0), m_cyBorder(0),
      m_pDynamicViewClass(NULL), m_nMaxRows(1), m_nMaxCols(1), m_nRows(0), m_nCols(0), m_bHasHScroll(FALSE),
      m_bHasVScroll(FALSE), m_pColInfo(NULL), m_pRowInfo(NULL), m_bTracking(FALSE), m_bTracking2(FALSE),
      m_ptTrackOffset(0, 0), m_htTrack(noHit)
{
    m_rectLimit.SetRectEmpty();
    m_rectTracker.SetRectEmpty();
    m_rectTracker2.SetRectEmpty();
}

CSplitterWnd::~CSplitterWnd()
{
    delete[] m_pRowInfo;
    delete[] m_pColInfo;
    for (CScrollBar* p : m_hScrollBars)
        delete p;
    for (CScrollBar* p : m_vScrollBars)
        delete p;
}

BOOL CSplitterWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == NULL)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW),
                                           (HBRUSH)(COLOR_BTNFACE + 1));
    cs.style |= WS_CLIPCHILDREN;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Creation

BOOL CSplitterWnd::CreateCommon(CWnd* pParentWnd, SIZE sizeMin, DWORD dwStyle, UINT nID)
{
    if (pParentWnd == NULL || m_nMaxRows < 1 || m_nMaxCols < 1 || m_nMaxRows > 16 || m_nMaxCols > 16)
        return FALSE;
    m_bHasHScroll = (dwStyle & WS_HSCROLL) != 0;
    m_bHasVScroll = (dwStyle & WS_VSCROLL) != 0;

    delete[] m_pRowInfo;
    delete[] m_pColInfo;
    m_pRowInfo = new CRowColInfo[m_nMaxRows];
    m_pColInfo = new CRowColInfo[m_nMaxCols];
    for (int i = 0; i < m_nMaxRows; i++) {
        m_pRowInfo[i].nMinSize = sizeMin.cy;
        m_pRowInfo[i].nIdealSize = 0;
        m_pRowInfo[i].nCurSize = 0;
    }
    for (int i = 0; i < m_nMaxCols; i++) {
        m_pColInfo[i].nMinSize = sizeMin.cx;
        m_pColInfo[i].nIdealSize = 0;
        m_pColInfo[i].nCurSize = 0;
    }

    // The scroll-bar styles name the shared bars; the window itself has none.
    DWORD dwCreateStyle = (dwStyle & ~(WS_HSCROLL | WS_VSCROLL)) | WS_CHILD | WS_CLIPCHILDREN;
    if (!CWnd::CreateEx(0, NULL, NULL, dwCreateStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;

    if (m_bHasHScroll) {
        for (int col = 0; col < m_nMaxCols; col++) {
            CScrollBar* pBar = new CScrollBar;
            if (!pBar->Create(SBS_HORZ | WS_CHILD | (col < m_nCols ? WS_VISIBLE : 0), CRect(0, 0, 0, 0), this,
                              AFX_IDW_HSCROLL_FIRST + col)) {
                delete pBar;
                return FALSE;
            }
            m_hScrollBars.push_back(pBar);
        }
    }
    if (m_bHasVScroll) {
        for (int row = 0; row < m_nMaxRows; row++) {
            CScrollBar* pBar = new CScrollBar;
            if (!pBar->Create(SBS_VERT | WS_CHILD | (row < m_nRows ? WS_VISIBLE : 0), CRect(0, 0, 0, 0), this,
                              AFX_IDW_VSCROLL_FIRST + row)) {
                delete pBar;
                return FALSE;
            }
            m_vScrollBars.push_back(pBar);
        }
    }
    return TRUE;
}

BOOL CSplitterWnd::Create(CWnd* pParentWnd, int nMaxRows, int nMaxCols, SIZE sizeMin, CCreateContext* pContext,
                          DWORD dwStyle, UINT nID)
{
    if (pContext == NULL || pContext->m_pNewViewClass == NULL)
        return FALSE;
    m_nMaxRows = nMaxRows;
    m_nMaxCols = nMaxCols;
    m_nRows = m_nCols = 1;
    m_pDynamicViewClass = pContext->m_pNewViewClass;
    if (!CreateCommon(pParentWnd, sizeMin, dwStyle | SPLS_DYNAMIC_SPLIT, nID))
        return FALSE;
    if (!CreateView(0, 0, m_pDynamicViewClass, CSize(0, 0), pContext)) {
        DestroyWindow();
        return FALSE;
    }
    RecalcLayout();
    return TRUE;
}

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID)
{
    m_nMaxRows = m_nRows = nRows;
    m_nMaxCols = m_nCols = nCols;
    m_pDynamicViewClass = NULL;
    return CreateCommon(pParentWnd, CSize(0, 0), dwStyle & ~SPLS_DYNAMIC_SPLIT, nID);
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext)
{
    if (row < 0 || row >= m_nRows || col < 0 || col >= m_nCols || pViewClass == NULL)
        return FALSE;
    if (GetPane(row, col) != NULL)
        return FALSE; // the place is taken
    if (sizeInit.cx > 0)
        m_pColInfo[col].nIdealSize = sizeInit.cx;
    if (sizeInit.cy > 0)
        m_pRowInfo[row].nIdealSize = sizeInit.cy;

    CObject* pObject = pViewClass->CreateObject();
    CWnd* pWnd = DYNAMIC_DOWNCAST(CWnd, pObject);
    if (pWnd == NULL) {
        delete pObject;
        return FALSE;
    }
    // Panes have no border and no scroll bars of their own when the
    // splitter shares its bars.
    DWORD dwStyle = AFX_WS_DEFAULT_VIEW & ~WS_BORDER;
    if (!pWnd->Create(NULL, NULL, dwStyle, CRect(0, 0, sizeInit.cx, sizeInit.cy), this, (UINT)IdFromRowCol(row, col),
                      pContext))
        return FALSE; // a view that got a window deleted itself
    return TRUE;
}

BOOL CSplitterWnd::CreateDynamicPanes(BOOL bRow, int nNew)
{
    // New panes show the document of the pane beside them.
    int nCount = bRow ? m_nCols : m_nRows;
    for (int i = 0; i < nCount; i++) {
        int rowSrc = bRow ? nNew - 1 : i, colSrc = bRow ? i : nNew - 1;
        int row = bRow ? nNew : i, col = bRow ? i : nNew;
        CWnd* pSource = GetPane(rowSrc, colSrc);
        CView* pSourceView = pSource != NULL && pSource->IsKindOf(RUNTIME_CLASS(CView)) ? static_cast<CView*>(pSource)
                                                                                        : NULL;
        CCreateContext context;
        context.m_pNewViewClass = m_pDynamicViewClass;
        context.m_pCurrentDoc = pSourceView != NULL ? pSourceView->GetDocument() : NULL;
        context.m_pLastView = pSourceView;
        context.m_pCurrentFrame = GetParentFrame();
        if (!CreateView(row, col, m_pDynamicViewClass, CSize(0, 0), &context))
            return FALSE;
        CWnd* pNew = GetPane(row, col);
        if (pNew != NULL)
            pNew->SendMessage(WM_INITIALUPDATE);
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Panes

CWnd* CSplitterWnd::GetPane(int row, int col) const
{
    if (m_hWnd == NULL || row < 0 || col < 0 || row >= m_nRows || col >= m_nCols)
        return NULL;
    return CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, IdFromRowCol(row, col)));
}

BOOL CSplitterWnd::IsChildPane(CWnd* pWnd, int* pRow, int* pCol)
{
    if (pWnd == NULL || pWnd->m_hWnd == NULL || ::GetParent(pWnd->m_hWnd) != m_hWnd)
        return FALSE;
    int nID = ::GetDlgCtrlID(pWnd->m_hWnd);
    int nOffset = nID - AFX_IDW_PANE_FIRST;
    if (nOffset < 0 || nOffset > AFX_IDW_PANE_LAST - AFX_IDW_PANE_FIRST)
        return FALSE;
    int row = nOffset / 16, col = nOffset % 16;
    if (row >= m_nRows || col >= m_nCols)
        return FALSE;
    if (pRow != NULL)
        *pRow = row;
    if (pCol != NULL)
        *pCol = col;
    return TRUE;
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol)
{
    CWnd* pView = NULL;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL)
        pView = pFrame->GetActiveView();
    if (pView == NULL || !IsChildPane(pView, pRow, pCol)) {
        CWnd* pFocus = CWnd::FromHandlePermanent(::GetFocus());
        if (pFocus != NULL && IsChildPane(pFocus, pRow, pCol))
            return pFocus;
        return NULL;
    }
    return pView;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd* pWnd)
{
    CWnd* pPane = pWnd != NULL ? pWnd : GetPane(row, col);
    if (pPane == NULL)
        return;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL && pPane->IsKindOf(RUNTIME_CLASS(CView)))
        pFrame->SetActiveView(static_cast<CView*>(pPane));
    else
        pPane->SetFocus();
}

CWnd* CSplitterWnd::FirstOtherPane(CWnd* pExcept)
{
    for (int row = 0; row < m_nRows; row++)
        for (int col = 0; col < m_nCols; col++) {
            CWnd* pPane = GetPane(row, col);
            if (pPane != NULL && pPane != pExcept)
                return pPane;
        }
    return NULL;
}

void CSplitterWnd::DeleteView(int row, int col)
{
    CWnd* pPane = GetPane(row, col);
    if (pPane == NULL)
        return;
    // The frame's active view moves to another pane first.
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL && pFrame->GetActiveView() == pPane) {
        CWnd* pOther = FirstOtherPane(pPane);
        if (pOther != NULL && pOther->IsKindOf(RUNTIME_CLASS(CView)))
            pFrame->SetActiveView(static_cast<CView*>(pOther));
        else
            pFrame->SetActiveView(NULL);
    }
    pPane->DestroyWindow();
}

CScrollBar* CSplitterWnd::GetScrollBarCtrl(CWnd* pPane, int nBar) const
{
    int row = 0, col = 0;
    if (!const_cast<CSplitterWnd*>(this)->IsChildPane(pPane, &row, &col))
        return NULL;
    if (nBar == SB_HORZ && m_bHasHScroll && col < (int)m_hScrollBars.size())
        return m_hScrollBars[col];
    if (nBar == SB_VERT && m_bHasVScroll && row < (int)m_vScrollBars.size())
        return m_vScrollBars[row];
    return NULL;
}

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const
{
    cyCur = cyMin = 0;
    if (row < 0 || row >= m_nMaxRows)
        return;
    cyCur = m_pRowInfo[row].nCurSize;
    cyMin = m_pRowInfo[row].nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin)
{
    if (row < 0 || row >= m_nMaxRows)
        return;
    m_pRowInfo[row].nIdealSize = cyIdeal;
    m_pRowInfo[row].nMinSize = cyMin;
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const
{
    cxCur = cxMin = 0;
    if (col < 0 || col >= m_nMaxCols)
        return;
    cxCur = m_pColInfo[col].nCurSize;
    cxMin = m_pColInfo[col].nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin)
{
    if (col < 0 || col >= m_nMaxCols)
        return;
    m_pColInfo[col].nIdealSize = cxIdeal;
    m_pColInfo[col].nMinSize = cxMin;
}

// ---------------------------------------------------------------------------
// Splitting and joining

BOOL CSplitterWnd::SplitRow(int cyBefore)
{
    if (m_nRows >= m_nMaxRows || m_pDynamicViewClass == NULL)
        return FALSE;
    int rowNew = m_nRows;
    int cyTotal = m_pRowInfo[rowNew - 1].nCurSize;
    if (cyTotal <= 0)
        cyTotal = InsideRect().Height();
    int cyAfter = cyTotal - cyBefore - m_cySplitterGap;
    // No room for two panes of the minimum size: nothing happens.
    if (cyBefore < std::max(1, m_pRowInfo[rowNew - 1].nMinSize) || cyAfter < std::max(1, m_pRowInfo[rowNew].nMinSize))
        return FALSE;
    m_pRowInfo[rowNew - 1].nIdealSize = cyBefore;
    m_pRowInfo[rowNew].nIdealSize = cyAfter;
    m_nRows++;
    if (!CreateDynamicPanes(TRUE, rowNew)) {
        for (int col = 0; col < m_nCols; col++)
            DeleteView(rowNew, col);
        m_nRows--;
        RecalcLayout();
        return FALSE;
    }
    RecalcLayout();
    return TRUE;
}

BOOL CSplitterWnd::SplitColumn(int cxBefore)
{
    if (m_nCols >= m_nMaxCols || m_pDynamicViewClass == NULL)
        return FALSE;
    int colNew = m_nCols;
    int cxTotal = m_pColInfo[colNew - 1].nCurSize;
    if (cxTotal <= 0)
        cxTotal = InsideRect().Width();
    int cxAfter = cxTotal - cxBefore - m_cxSplitterGap;
    if (cxBefore < std::max(1, m_pColInfo[colNew - 1].nMinSize) || cxAfter < std::max(1, m_pColInfo[colNew].nMinSize))
        return FALSE;
    m_pColInfo[colNew - 1].nIdealSize = cxBefore;
    m_pColInfo[colNew].nIdealSize = cxAfter;
    m_nCols++;
    if (!CreateDynamicPanes(FALSE, colNew)) {
        for (int row = 0; row < m_nRows; row++)
            DeleteView(row, colNew);
        m_nCols--;
        RecalcLayout();
        return FALSE;
    }
    RecalcLayout();
    return TRUE;
}

void CSplitterWnd::DeleteRow(int rowDelete)
{
    if (m_nRows <= 1 || rowDelete < 0 || rowDelete >= m_nRows)
        return;
    for (int col = 0; col < m_nCols; col++)
        DeleteView(rowDelete, col);
    // The rows below move up (their panes take the new ids).
    for (int row = rowDelete + 1; row < m_nRows; row++) {
        for (int col = 0; col < m_nCols; col++) {
            HWND hWnd = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col));
            if (hWnd != NULL)
                ::SetWindowLongPtrA(hWnd, GWLP_ID, IdFromRowCol(row - 1, col));
        }
        m_pRowInfo[row - 1] = m_pRowInfo[row];
    }
    m_nRows--;
    m_pRowInfo[m_nRows].nIdealSize = 0;
    m_pRowInfo[m_nRows].nCurSize = 0;
    if (m_nRows == 1)
        m_pRowInfo[0].nIdealSize = 0;
    RecalcLayout();
}

void CSplitterWnd::DeleteColumn(int colDelete)
{
    if (m_nCols <= 1 || colDelete < 0 || colDelete >= m_nCols)
        return;
    for (int row = 0; row < m_nRows; row++)
        DeleteView(row, colDelete);
    for (int col = colDelete + 1; col < m_nCols; col++) {
        for (int row = 0; row < m_nRows; row++) {
            HWND hWnd = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col));
            if (hWnd != NULL)
                ::SetWindowLongPtrA(hWnd, GWLP_ID, IdFromRowCol(row, col - 1));
        }
        m_pColInfo[col - 1] = m_pColInfo[col];
    }
    m_nCols--;
    m_pColInfo[m_nCols].nIdealSize = 0;
    m_pColInfo[m_nCols].nCurSize = 0;
    if (m_nCols == 1)
        m_pColInfo[0].nIdealSize = 0;
    RecalcLayout();
}

// ---------------------------------------------------------------------------
// Layout

CRect CSplitterWnd::InsideRect() const
{
    CRect rect;
    ::GetClientRect(m_hWnd, &rect);
    if (m_bHasVScroll)
        rect.right -= ::GetSystemMetrics(SM_CXVSCROLL);
    if (m_bHasHScroll)
        rect.bottom -= ::GetSystemMetrics(SM_CYHSCROLL);
    if (rect.right < rect.left)
        rect.right = rect.left;
    if (rect.bottom < rect.top)
        rect.bottom = rect.top;
    return rect;
}

CRect CSplitterWnd::SplitBoxRect(BOOL bRows) const
{
    CRect rectInside = InsideRect();
    if (bRows) {
        // Above the first vertical scroll bar.
        if (!m_bHasVScroll || m_nMaxRows < 2 || m_nRows >= m_nMaxRows || !IsDynamic())
            return CRect(0, 0, 0, 0);
        return CRect(rectInside.right, rectInside.top, rectInside.right + ::GetSystemMetrics(SM_CXVSCROLL),
                     rectInside.top + m_cySplitter);
    }
    // Left of the first horizontal scroll bar.
    if (!m_bHasHScroll || m_nMaxCols < 2 || m_nCols >= m_nMaxCols || !IsDynamic())
        return CRect(0, 0, 0, 0);
    return CRect(rectInside.left, rectInside.bottom, rectInside.left + m_cxSplitter,
                 rectInside.bottom + ::GetSystemMetrics(SM_CYHSCROLL));
}

void CSplitterWnd::LayoutRowCol(CRowColInfo* pInfo, int nMax, int nSize, int nSizeSplitter)
{
    if (nMax <= 0)
        return;
    if (nSize < 0)
        nSize = 0;
    for (int i = 0; i < nMax - 1; i++) {
        int nCur = pInfo[i].nIdealSize;
        int nLeft = nSize - nSizeSplitter;
        nCur = std::max(0, std::min(nCur, nLeft));
        pInfo[i].nCurSize = nCur;
        nSize -= nCur + nSizeSplitter;
    }
    pInfo[nMax - 1].nCurSize = std::max(0, nSize);
}

int CSplitterWnd::RowTop(int row) const
{
    int y = InsideRect().top;
    for (int i = 0; i < row && i < m_nRows; i++)
        y += m_pRowInfo[i].nCurSize + m_cySplitterGap;
    return y;
}

int CSplitterWnd::ColLeft(int col) const
{
    int x = InsideRect().left;
    for (int i = 0; i < col && i < m_nCols; i++)
        x += m_pColInfo[i].nCurSize + m_cxSplitterGap;
    return x;
}

void CSplitterWnd::RecalcLayout()
{
    if (m_hWnd == NULL || m_pRowInfo == NULL || m_pColInfo == NULL)
        return;
    CRect rectInside = InsideRect();
    LayoutRowCol(m_pRowInfo, m_nRows, rectInside.Height(), m_cySplitterGap);
    LayoutRowCol(m_pColInfo, m_nCols, rectInside.Width(), m_cxSplitterGap);

    HDWP hDWP = ::BeginDeferWindowPos(m_nRows * m_nCols + m_nRows + m_nCols);
    for (int row = 0; row < m_nRows; row++) {
        int y = RowTop(row);
        for (int col = 0; col < m_nCols; col++) {
            CWnd* pPane = GetPane(row, col);
            if (pPane == NULL)
                continue;
            hDWP = ::DeferWindowPos(hDWP, pPane->m_hWnd, NULL, ColLeft(col), y, m_pColInfo[col].nCurSize,
                                    m_pRowInfo[row].nCurSize, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    CRect rectRowBox = SplitBoxRect(TRUE);
    CRect rectColBox = SplitBoxRect(FALSE);
    int cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
    int cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
    for (int row = 0; row < (int)m_vScrollBars.size(); row++) {
        CScrollBar* pBar = m_vScrollBars[row];
        if (row >= m_nRows) {
            hDWP = ::DeferWindowPos(hDWP, pBar->m_hWnd, NULL, 0, 0, 0, 0,
                                    SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
            continue;
        }
        int y = RowTop(row), cy = m_pRowInfo[row].nCurSize;
        if (row == 0 && !rectRowBox.IsRectEmpty()) {
            y += rectRowBox.Height();
            cy -= rectRowBox.Height();
        }
        hDWP = ::DeferWindowPos(hDWP, pBar->m_hWnd, NULL, rectInside.right, y, cxVScroll, std::max(0, cy),
                                SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (int col = 0; col < (int)m_hScrollBars.size(); col++) {
        CScrollBar* pBar = m_hScrollBars[col];
        if (col >= m_nCols) {
            hDWP = ::DeferWindowPos(hDWP, pBar->m_hWnd, NULL, 0, 0, 0, 0,
                                    SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
            continue;
        }
        int x = ColLeft(col), cx = m_pColInfo[col].nCurSize;
        if (col == 0 && !rectColBox.IsRectEmpty()) {
            x += rectColBox.Width();
            cx -= rectColBox.Width();
        }
        hDWP = ::DeferWindowPos(hDWP, pBar->m_hWnd, NULL, x, rectInside.bottom, std::max(0, cx), cyHScroll,
                                SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::EndDeferWindowPos(hDWP);
    Invalidate(TRUE);
}

void CSplitterWnd::OnSize(UINT nType, int, int)
{
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

BOOL CSplitterWnd::OnEraseBkgnd(CDC*)
{
    return TRUE; // OnPaint fills what the panes leave
}

void CSplitterWnd::OnPaint()
{
    CPaintDC dc(this);
    HDC hDC = dc.GetSafeHdc();
    CRect rectClient;
    GetClientRect(&rectClient);
    ::FillRect(hDC, &rectClient, ::GetSysColorBrush(COLOR_BTNFACE));
    // The bars between the panes and the split boxes look raised.
    CRect rectInside = InsideRect();
    for (int row = 0; row < m_nRows - 1; row++) {
        int y = RowTop(row) + m_pRowInfo[row].nCurSize;
        CRect r(rectInside.left, y, rectInside.right, y + m_cySplitterGap);
        ::DrawEdge(hDC, &r, EDGE_RAISED, BF_RECT);
    }
    for (int col = 0; col < m_nCols - 1; col++) {
        int x = ColLeft(col) + m_pColInfo[col].nCurSize;
        CRect r(x, rectInside.top, x + m_cxSplitterGap, rectInside.bottom);
        ::DrawEdge(hDC, &r, EDGE_RAISED, BF_RECT);
    }
    for (int i = 0; i < 2; i++) {
        CRect r = SplitBoxRect(i == 0);
        if (!r.IsRectEmpty())
            ::DrawEdge(hDC, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    }
}

// ---------------------------------------------------------------------------
// Hit testing and tracking

int CSplitterWnd::HitTest(CPoint pt) const
{
    if (SplitBoxRect(TRUE).PtInRect(pt))
        return vSplitterBox;
    if (SplitBoxRect(FALSE).PtInRect(pt))
        return hSplitterBox;
    CRect rectInside = InsideRect();
    if (!rectInside.PtInRect(pt))
        return noHit;
    int nRowBar = -1, nColBar = -1;
    for (int row = 0; row < m_nRows - 1; row++) {
        int y = RowTop(row) + m_pRowInfo[row].nCurSize;
        if (pt.y >= y && pt.y < y + m_cySplitterGap)
            nRowBar = row;
    }
    for (int col = 0; col < m_nCols - 1; col++) {
        int x = ColLeft(col) + m_pColInfo[col].nCurSize;
        if (pt.x >= x && pt.x < x + m_cxSplitterGap)
            nColBar = col;
    }
    if (nRowBar >= 0 && nColBar >= 0)
        return splitterIntersection1 + nRowBar * 15 + nColBar;
    if (nRowBar >= 0)
        return vSplitterBar1 + nRowBar;
    if (nColBar >= 0)
        return hSplitterBar1 + nColBar;
    return noHit;
}

void CSplitterWnd::GetHitRect(int ht, CRect& rect) const
{
    CRect rectInside = InsideRect();
    rect.SetRectEmpty();
    if (ht == vSplitterBox) {
        CRect box = SplitBoxRect(TRUE);
        rect.SetRect(rectInside.left, box.top, rectInside.right, box.top + m_cySplitter);
    } else if (ht == hSplitterBox) {
        CRect box = SplitBoxRect(FALSE);
        rect.SetRect(box.left, rectInside.top, box.left + m_cxSplitter, rectInside.bottom);
    } else if (ht >= vSplitterBar1 && ht < vSplitterBar1 + 15) {
        int row = ht - vSplitterBar1;
        int y = RowTop(row) + m_pRowInfo[row].nCurSize;
        rect.SetRect(rectInside.left, y, rectInside.right, y + m_cySplitterGap);
    } else if (ht >= hSplitterBar1 && ht < hSplitterBar1 + 15) {
        int col = ht - hSplitterBar1;
        int x = ColLeft(col) + m_pColInfo[col].nCurSize;
        rect.SetRect(x, rectInside.top, x + m_cxSplitterGap, rectInside.bottom);
    }
}

void CSplitterWnd::OnInvertTracker(const CRect& rect)
{
    if (rect.IsRectEmpty())
        return;
    // A halftone pattern drawn with XOR: drawing it twice removes it.
    static HBRUSH s_hbrHalftone = NULL;
    if (s_hbrHalftone == NULL) {
        WORD grayPattern[8];
        for (int i = 0; i < 8; i++)
            grayPattern[i] = (WORD)(0x5555 << (i & 1));
        HBITMAP hBitmap = ::CreateBitmap(8, 8, 1, 1, grayPattern);
        if (hBitmap != NULL) {
            s_hbrHalftone = ::CreatePatternBrush(hBitmap);
            ::DeleteObject(hBitmap);
        }
    }
    HDC hDC = ::GetDCEx(m_hWnd, NULL, DCX_CACHE | DCX_PARENTCLIP);
    if (hDC == NULL)
        return;
    HGDIOBJ hOld = ::SelectObject(hDC, s_hbrHalftone != NULL ? (HGDIOBJ)s_hbrHalftone : ::GetStockObject(GRAY_BRUSH));
    ::PatBlt(hDC, rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(m_hWnd, hDC);
}

void CSplitterWnd::StartTracking(int ht)
{
    if (ht == noHit || m_bTracking)
        return;
    if (ht >= splitterIntersection1)
        ht = vSplitterBar1 + (ht - splitterIntersection1) / 15; // the row bar leads
    GetHitRect(ht, m_rectTracker);
    if (m_rectTracker.IsRectEmpty())
        return;
    m_htTrack = ht;
    m_rectLimit = InsideRect();
    m_bTracking = TRUE;
    ::SetCapture(m_hWnd);
    ::SetFocus(m_hWnd); // Escape cancels
    OnInvertTracker(m_rectTracker);
}

void CSplitterWnd::StopTracking(BOOL bAccept)
{
    if (!m_bTracking)
        return;
    m_bTracking = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    OnInvertTracker(m_rectTracker);
    int ht = m_htTrack;
    m_htTrack = noHit;
    // The focus goes back to the active pane.
    CWnd* pActive = GetActivePane();
    if (pActive != NULL)
        pActive->SetFocus();
    if (!bAccept)
        return;

    CRect rectInside = InsideRect();
    if (ht == vSplitterBox) {
        SplitRow(m_rectTracker.top - rectInside.top);
    } else if (ht == hSplitterBox) {
        SplitColumn(m_rectTracker.left - rectInside.left);
    } else if (ht >= vSplitterBar1 && ht < vSplitterBar1 + 15) {
        TrackRowSize(m_rectTracker.top, ht - vSplitterBar1);
    } else if (ht >= hSplitterBar1 && ht < hSplitterBar1 + 15) {
        TrackColumnSize(m_rectTracker.left, ht - hSplitterBar1);
    }
}

void CSplitterWnd::TrackRowSize(int y, int row)
{
    int cyAbove = y - RowTop(row);
    int cyBelow = m_pRowInfo[row].nCurSize + m_pRowInfo[row + 1].nCurSize - cyAbove;
    // A pane dragged below its minimum goes; the other one stays.
    if (IsDynamic() && cyAbove < std::max(1, m_pRowInfo[row].nMinSize)) {
        DeleteRow(row);
        return;
    }
    if (IsDynamic() && cyBelow < std::max(1, m_pRowInfo[row + 1].nMinSize)) {
        DeleteRow(row + 1);
        return;
    }
    m_pRowInfo[row].nIdealSize = std::max(0, cyAbove);
    m_pRowInfo[row + 1].nIdealSize = std::max(0, cyBelow);
    RecalcLayout();
}

void CSplitterWnd::TrackColumnSize(int x, int col)
{
    int cxLeft = x - ColLeft(col);
    int cxRight = m_pColInfo[col].nCurSize + m_pColInfo[col + 1].nCurSize - cxLeft;
    if (IsDynamic() && cxLeft < std::max(1, m_pColInfo[col].nMinSize)) {
        DeleteColumn(col);
        return;
    }
    if (IsDynamic() && cxRight < std::max(1, m_pColInfo[col + 1].nMinSize)) {
        DeleteColumn(col + 1);
        return;
    }
    m_pColInfo[col].nIdealSize = std::max(0, cxLeft);
    m_pColInfo[col + 1].nIdealSize = std::max(0, cxRight);
    RecalcLayout();
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint pt)
{
    if (m_bTracking)
        return;
    int ht = HitTest(pt);
    if (ht == noHit)
        return;
    StartTracking(ht);
    // The tracker follows the point that was grabbed.
    if (m_bTracking)
        m_ptTrackOffset = CPoint(pt.x - m_rectTracker.left, pt.y - m_rectTracker.top);
}

void CSplitterWnd::OnMouseMove(UINT, CPoint pt)
{
    if (!m_bTracking)
        return;
    CRect rectNew = m_rectTracker;
    BOOL bRows = m_htTrack == vSplitterBox || (m_htTrack >= vSplitterBar1 && m_htTrack < vSplitterBar1 + 15);
    if (bRows) {
        int y = pt.y - m_ptTrackOffset.y;
        y = std::max((int)m_rectLimit.top, std::min(y, (int)m_rectLimit.bottom - m_cySplitter));
        rectNew.OffsetRect(0, y - rectNew.top);
    } else {
        int x = pt.x - m_ptTrackOffset.x;
        x = std::max((int)m_rectLimit.left, std::min(x, (int)m_rectLimit.right - m_cxSplitter));
        rectNew.OffsetRect(x - rectNew.left, 0);
    }
    if (rectNew != m_rectTracker) {
        OnInvertTracker(m_rectTracker);
        m_rectTracker = rectNew;
        OnInvertTracker(m_rectTracker);
    }
}

void CSplitterWnd::OnLButtonUp(UINT, CPoint)
{
    StopTracking(TRUE);
}

void CSplitterWnd::OnLButtonDblClk(UINT, CPoint pt)
{
    int ht = HitTest(pt);
    CRect rectInside = InsideRect();
    if (ht == vSplitterBox)
        SplitRow(rectInside.Height() / 2 - m_cySplitterGap / 2);
    else if (ht == hSplitterBox)
        SplitColumn(rectInside.Width() / 2 - m_cxSplitterGap / 2);
    else if (ht >= vSplitterBar1 && ht < vSplitterBar1 + 15 && IsDynamic())
        DeleteRow(ht - vSplitterBar1 + 1); // the pane below goes
    else if (ht >= hSplitterBar1 && ht < hSplitterBar1 + 15 && IsDynamic())
        DeleteColumn(ht - hSplitterBar1 + 1);
}

void CSplitterWnd::OnCancelMode()
{
    StopTracking(FALSE);
    Default();
}

void CSplitterWnd::OnCaptureChanged(CWnd* pWnd)
{
    if (m_bTracking && (pWnd == NULL || pWnd->m_hWnd != m_hWnd))
        StopTracking(FALSE);
}

void CSplitterWnd::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (m_bTracking && nChar == VK_ESCAPE) {
        StopTracking(FALSE);
        return;
    }
    if (m_bTracking && nChar == VK_RETURN) {
        StopTracking(TRUE);
        return;
    }
    Default();
}

BOOL CSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT)
{
    if (nHitTest == HTCLIENT && pWnd != NULL && pWnd->m_hWnd == m_hWnd) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        int ht = m_bTracking ? m_htTrack : HitTest(pt);
        LPCSTR idc = NULL;
        if (ht == vSplitterBox || (ht >= vSplitterBar1 && ht < vSplitterBar1 + 15))
            idc = (LPCSTR)IDC_SIZENS;
        else if (ht == hSplitterBox || (ht >= hSplitterBar1 && ht < hSplitterBar1 + 15))
            idc = (LPCSTR)IDC_SIZEWE;
        else if (ht >= splitterIntersection1)
            idc = (LPCSTR)IDC_SIZEALL;
        if (idc != NULL) {
            ::SetCursor(::LoadCursorA(NULL, idc));
            return TRUE;
        }
    }
    return (BOOL)Default();
}

// ---------------------------------------------------------------------------
// Scroll bars and messages of the panes

void CSplitterWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    HWND hWndBar = pScrollBar->GetSafeHwnd();
    int col = hWndBar != NULL ? ::GetDlgCtrlID(hWndBar) - AFX_IDW_HSCROLL_FIRST : -1;
    if (col < 0 || col >= m_nCols)
        return;
    // Every pane of the column scrolls with its bar.
    for (int row = 0; row < m_nRows; row++) {
        CWnd* pPane = GetPane(row, col);
        if (pPane != NULL)
            pPane->SendMessage(WM_HSCROLL, MAKEWPARAM(nSBCode, nPos), (LPARAM)hWndBar);
    }
}

void CSplitterWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    HWND hWndBar = pScrollBar->GetSafeHwnd();
    int row = hWndBar != NULL ? ::GetDlgCtrlID(hWndBar) - AFX_IDW_VSCROLL_FIRST : -1;
    if (row < 0 || row >= m_nRows)
        return;
    for (int col = 0; col < m_nCols; col++) {
        CWnd* pPane = GetPane(row, col);
        if (pPane != NULL)
            pPane->SendMessage(WM_VSCROLL, MAKEWPARAM(nSBCode, nPos), (LPARAM)hWndBar);
    }
}

BOOL CSplitterWnd::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    // The wheel scrolls the active pane.
    CWnd* pActive = GetActivePane();
    if (pActive != NULL)
        return (BOOL)pActive->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(nFlags, (WORD)zDelta), MAKELPARAM(pt.x, pt.y));
    return FALSE;
}

BOOL CSplitterWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    // The panes' commands go on to the frame.
    CWnd* pParent = GetParent();
    return pParent != NULL && pParent->SendMessage(WM_COMMAND, wParam, lParam) != 0;
}

BOOL CSplitterWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CWnd::OnNotify(wParam, lParam, pResult))
        return TRUE;
    CWnd* pParent = GetParent();
    if (pParent == NULL)
        return FALSE;
    LRESULT lResult = pParent->SendMessage(WM_NOTIFY, wParam, lParam);
    if (pResult != NULL)
        *pResult = lResult;
    return TRUE;
}
