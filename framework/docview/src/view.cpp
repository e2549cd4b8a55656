// CView: joining the document, painting, activation, command routing and
// the scroll bars shared with a splitter.
#include "dvimpl.h"

#include "fx/ctrls.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMsg)
END_MESSAGE_MAP()

CView::CView() : m_pDocument(NULL) {}

CView::~CView()
{
    if (m_pDocument != NULL)
        m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == NULL) {
        AfxDeferRegisterClass(AFX_WNDFRAMEORVIEW_CLASS);
        cs.lpszClass = AFX_WNDFRAMEORVIEW_CLASS;
    }
    // A sunken client edge instead of a flat border.
    if (cs.style & WS_BORDER) {
        cs.style &= ~WS_BORDER;
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
    }
    cs.style |= WS_CLIPSIBLINGS;
    return TRUE;
}

void CView::PostNcDestroy()
{
    // Views are made with new and go with their window.
    delete this;
}

int CView::OnCreate(LPCREATESTRUCTA lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    CCreateContext* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (pContext != NULL && pContext->m_pCurrentDoc != NULL)
        pContext->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy()
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL && pFrame->GetActiveView() == this)
        pFrame->SetActiveView(NULL);
    Default();
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

LRESULT CView::OnInitialUpdateMsg(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

void CView::OnInitialUpdate()
{
    OnUpdate(NULL, 0, NULL);
}

void CView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    (void)pSender;
    (void)lHint;
    (void)pHint;
    Invalidate(TRUE);
}

BOOL CView::IsSelected(const CObject*) const
{
    return FALSE;
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*)
{
    if (!bActivate || pActivateView != this || m_hWnd == NULL)
        return;
    // The focus follows the active view while its window is active.
    CWnd* pTop = GetTopLevelParent();
    HWND hWndActive = ::GetActiveWindow();
    if (pTop != NULL && hWndActive != NULL &&
        (hWndActive == pTop->m_hWnd || fx::dv::IsOwnedBy(hWndActive, pTop->m_hWnd))) {
        HWND hWndFocus = ::GetFocus();
        if (hWndFocus != m_hWnd && !::IsChild(m_hWnd, hWndFocus))
            SetFocus();
    }
}

void CView::OnActivateFrame(UINT, CFrameWnd*) {}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    (void)pDesktopWnd;
    (void)nHitTest;
    (void)message;
    int nResult = (int)Default();
    if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT)
        return nResult;
    // A click makes this the frame's active view (or gives it the focus
    // back when it is already).
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL) {
        CView* pActive = pFrame->GetActiveView();
        HWND hWndFocus = ::GetFocus();
        if (pActive == this) {
            if (m_hWnd != hWndFocus && !::IsChild(m_hWnd, hWndFocus))
                OnActivateView(TRUE, this, this);
        } else {
            pFrame->SetActiveView(this);
        }
    }
    return nResult;
}

void CView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    (void)pDC;
    // With an unknown page count only the first page is printed.
    if (pInfo != NULL && pInfo->GetMaxPage() == 0xFFFF)
        pInfo->m_bContinuePrinting = pInfo->m_nCurPage == 1;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument != NULL && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// --- scroll bars --------------------------------------------------------------------

CSplitterWnd* PASCAL CView::GetParentSplitter(const CWnd* pWnd, BOOL)
{
    if (pWnd == NULL || pWnd->m_hWnd == NULL)
        return NULL;
    CWnd* pParent = CWnd::FromHandlePermanent(::GetParent(pWnd->m_hWnd));
    if (pParent == NULL || !pParent->IsKindOf(RUNTIME_CLASS(CSplitterWnd)))
        return NULL;
    return static_cast<CSplitterWnd*>(pParent);
}

CScrollBar* CView::GetScrollBarCtrl(int nBar) const
{
    // A bar of the view's own wins.
    DWORD dwStyle = GetStyle();
    if ((nBar == SB_HORZ && (dwStyle & WS_HSCROLL)) || (nBar == SB_VERT && (dwStyle & WS_VSCROLL)))
        return NULL;
    CSplitterWnd* pSplitter = GetParentSplitter();
    if (pSplitter == NULL)
        return NULL;
    return pSplitter->GetScrollBarCtrl(const_cast<CView*>(this), nBar);
}

BOOL CView::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    CScrollBar* pBar = GetScrollBarCtrl(nBar);
    if (pBar != NULL)
        return pBar->GetScrollInfo(lpScrollInfo, nMask);
    return CWnd::GetScrollInfo(nBar, lpScrollInfo, nMask);
}

BOOL CView::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    CScrollBar* pBar = GetScrollBarCtrl(nBar);
    if (pBar != NULL)
        return pBar->SetScrollInfo(lpScrollInfo, bRedraw);
    return CWnd::SetScrollInfo(nBar, lpScrollInfo, bRedraw);
}

int CView::GetScrollPos(int nBar) const
{
    CScrollBar* pBar = GetScrollBarCtrl(nBar);
    return pBar != NULL ? pBar->GetScrollPos() : CWnd::GetScrollPos(nBar);
}

int CView::SetScrollPos(int nBar, int nPos, BOOL bRedraw)
{
    CScrollBar* pBar = GetScrollBarCtrl(nBar);
    return pBar != NULL ? pBar->SetScrollPos(nPos, bRedraw) : CWnd::SetScrollPos(nBar, nPos, bRedraw);
}

void CView::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const
{
    CScrollBar* pBar = GetScrollBarCtrl(nBar);
    if (pBar != NULL)
        pBar->GetScrollRange(lpMinPos, lpMaxPos);
    else
        CWnd::GetScrollRange(nBar, lpMinPos, lpMaxPos);
}

void CView::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    CScrollBar* pBar = GetScrollBarCtrl(nBar);
    if (pBar != NULL)
        pBar->SetScrollRange(nMinPos, nMaxPos, bRedraw);
    else
        CWnd::SetScrollRange(nBar, nMinPos, nMaxPos, bRedraw);
}

int CView::GetScrollLimit(int nBar)
{
    CScrollBar* pBar = GetScrollBarCtrl(nBar);
    return pBar != NULL ? pBar->GetScrollLimit() : CWnd::GetScrollLimit(nBar);
}
