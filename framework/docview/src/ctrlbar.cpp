// CControlBar and CDialogBar: the bars laid out along a frame's edges.
#include "dvimpl.h"

#include <algorithm>
#include <vector>

// ---------------------------------------------------------------------------
// CControlBar

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
END_MESSAGE_MAP()

CControlBar::CControlBar()
    : m_bAutoDelete(FALSE), m_cxLeftBorder(6), m_cxRightBorder(6), m_cyTopBorder(2), m_cyBottomBorder(2),
      m_cxDefaultGap(2), m_nMRUWidth(32767), m_dwStyle(0), m_pDockSite(NULL), m_bDockBar(FALSE), m_nStateFlags(0)
{
}

CControlBar::~CControlBar()
{
    if (m_pDockSite != NULL && fx::dv::IsLiveFrame(m_pDockSite))
        m_pDockSite->RemoveControlBar(this);
    m_pDockSite = NULL;
}

int PASCAL CControlBar::EdgeWidth()
{
    return 2 * ::GetSystemMetrics(SM_CXBORDER);
}

BOOL CControlBar::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CWnd::PreCreateWindow(cs))
        return FALSE;
    // Bars overlap nothing of their siblings.
    cs.style |= WS_CLIPSIBLINGS;
    // The bar style rides in the low word of the creation style.
    if (m_dwStyle == 0)
        m_dwStyle = (DWORD)(cs.style & CBRS_ALL);
    return TRUE;
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

void CControlBar::SetBarStyle(DWORD dwStyle)
{
    dwStyle &= CBRS_ALL;
    if (m_dwStyle == dwStyle)
        return;
    DWORD dwOld = m_dwStyle;
    m_dwStyle = dwStyle;
    if (m_hWnd != NULL && ((dwOld ^ dwStyle) & CBRS_BORDER_ANY))
        SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

CFrameWnd* CControlBar::GetDockingFrame() const
{
    if (m_pDockSite != NULL)
        return m_pDockSite;
    return GetParentFrame();
}

BOOL CControlBar::IsVisible() const
{
    if (m_nStateFlags & delayHide)
        return FALSE;
    if (m_nStateFlags & delayShow)
        return TRUE;
    return m_hWnd != NULL && (GetStyle() & WS_VISIBLE) != 0;
}

void CControlBar::DelayShow(BOOL bShow)
{
    m_nStateFlags &= ~(delayHide | delayShow);
    if (m_hWnd == NULL)
        return;
    BOOL bVisible = (GetStyle() & WS_VISIBLE) != 0;
    if (bShow && !bVisible)
        m_nStateFlags |= delayShow;
    else if (!bShow && bVisible)
        m_nStateFlags |= delayHide;
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CRect rect(0, 0, 0, 0);
    CalcInsideRect(rect, bHorz);
    // An empty inside leaves -thickness of the edges and margins.
    CSize size(-rect.Width(), -rect.Height());
    if (bStretch) {
        if (bHorz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD nMode)
{
    return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    int cxEdge = EdgeWidth();
    if (m_dwStyle & CBRS_BORDER_LEFT)
        rect.left += cxEdge;
    if (m_dwStyle & CBRS_BORDER_TOP)
        rect.top += cxEdge;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        rect.right -= cxEdge;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        rect.bottom -= cxEdge;

    const int cxGripper = 7;
    BOOL bGripper = (m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) == CBRS_GRIPPER;
    if (bHorz) {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
        if (bGripper)
            rect.left += cxGripper;
    } else {
        // A vertical bar turns its margins with it.
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
        if (bGripper)
            rect.top += cxGripper;
    }
}

int CControlBar::OnCreate(LPCREATESTRUCTA lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    if (m_dwStyle & CBRS_TOOLTIPS)
        EnableToolTips(TRUE);
    // Bars whose parent is a frame register with it (layout, preview,
    // GetControlBar).
    CWnd* pParent = GetParent();
    if (pParent != NULL && pParent->IsFrameWnd()) {
        m_pDockSite = static_cast<CFrameWnd*>(pParent);
        m_pDockSite->AddControlBar(this);
    }
    return 0;
}

void CControlBar::OnDestroy()
{
    if (m_pDockSite != NULL && fx::dv::IsLiveFrame(m_pDockSite))
        m_pDockSite->RemoveControlBar(this);
    m_pDockSite = NULL;
    Default();
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    AFX_SIZEPARENTPARAMS* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (pLayout != NULL)
        OnSizeParentLayout(pLayout);
    return 0;
}

void CControlBar::OnSizeParentLayout(AFX_SIZEPARENTPARAMS* pLayout)
{
    // A pending show or hide takes effect with a real layout.
    UINT nShowFlag = 0;
    if (pLayout->hDWP != NULL) {
        if (m_nStateFlags & delayShow)
            nShowFlag = SWP_SHOWWINDOW;
        else if (m_nStateFlags & delayHide)
            nShowFlag = SWP_HIDEWINDOW;
        m_nStateFlags &= ~(delayShow | delayHide);
    }
    BOOL bVisible = nShowFlag == SWP_SHOWWINDOW || (nShowFlag == 0 && IsVisible());
    if (!bVisible || !(m_dwStyle & CBRS_ALIGN_ANY) || IsFloating()) {
        if (nShowFlag == SWP_HIDEWINDOW)
            pLayout->hDWP = ::DeferWindowPos(pLayout->hDWP, m_hWnd, NULL, 0, 0, 0, 0,
                                             SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }

    CRect rectFree = pLayout->rect;
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    DWORD nMode = bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
    if (pLayout->bStretch)
        nMode |= LM_STRETCH;
    if (pLayout->hDWP != NULL)
        nMode |= LM_COMMIT;
    CSize size = CalcDynamicLayout(bHorz ? rectFree.Width() : rectFree.Height(), nMode);
    size.cx = std::max(0L, std::min(size.cx, (LONG)rectFree.Width()));
    size.cy = std::max(0L, std::min(size.cy, (LONG)rectFree.Height()));

    CRect rectBar = rectFree;
    if (m_dwStyle & CBRS_ALIGN_TOP) {
        rectBar.bottom = rectBar.top + size.cy;
        rectBar.right = rectBar.left + size.cx;
        pLayout->rect.top += size.cy;
    } else if (m_dwStyle & CBRS_ALIGN_BOTTOM) {
        rectBar.top = rectBar.bottom - size.cy;
        rectBar.right = rectBar.left + size.cx;
        pLayout->rect.bottom -= size.cy;
    } else if (m_dwStyle & CBRS_ALIGN_LEFT) {
        rectBar.right = rectBar.left + size.cx;
        rectBar.bottom = rectBar.top + size.cy;
        pLayout->rect.left += size.cx;
    } else { // CBRS_ALIGN_RIGHT
        rectBar.left = rectBar.right - size.cx;
        rectBar.bottom = rectBar.top + size.cy;
        pLayout->rect.right -= size.cx;
    }
    if (bHorz) {
        pLayout->sizeTotal.cy += size.cy;
        pLayout->sizeTotal.cx = std::max(pLayout->sizeTotal.cx, size.cx);
    } else {
        pLayout->sizeTotal.cx += size.cx;
        pLayout->sizeTotal.cy = std::max(pLayout->sizeTotal.cy, size.cy);
    }

    if (pLayout->hDWP != NULL) {
        // Only windows that move or change are touched.
        CRect rectOld;
        ::GetWindowRect(m_hWnd, &rectOld);
        ::MapWindowPoints(NULL, ::GetParent(m_hWnd), (LPPOINT)&rectOld, 2);
        UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE | nShowFlag;
        if (rectOld == rectBar)
            nFlags |= SWP_NOMOVE | SWP_NOSIZE;
        if (nFlags != (SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE))
            pLayout->hDWP = ::DeferWindowPos(pLayout->hDWP, m_hWnd, NULL, rectBar.left, rectBar.top,
                                             rectBar.Width(), rectBar.Height(), nFlags);
    }
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    // A pending show or hide that no layout applied yet.
    if (m_nStateFlags & (delayHide | delayShow)) {
        UINT nFlag = (m_nStateFlags & delayShow) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
        m_nStateFlags &= ~(delayHide | delayShow);
        SetWindowPos(NULL, 0, 0, 0, 0, nFlag | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_hWnd == NULL || !(GetStyle() & WS_VISIBLE))
        return 0;
    CWnd* pOwner = GetOwner();
    CFrameWnd* pTarget = NULL;
    if (pOwner != NULL && pOwner->IsFrameWnd())
        pTarget = static_cast<CFrameWnd*>(pOwner);
    else
        pTarget = GetParentFrame();
    if (pTarget != NULL)
        OnUpdateCmdUI(pTarget, (BOOL)wParam);
    return 0;
}

LRESULT CControlBar::OnHelpHitTest(WPARAM, LPARAM lParam)
{
    INT_PTR nID = OnToolHitTest(CPoint(lParam), NULL);
    if (nID != -1 && nID != 0)
        return (LRESULT)(HID_BASE_COMMAND + (DWORD)nID);
    int nOwnID = ::GetDlgCtrlID(m_hWnd);
    return nOwnID != 0 ? (LRESULT)(HID_BASE_CONTROL + (DWORD)nOwnID) : 0;
}

INT_PTR CControlBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    return CWnd::OnToolHitTest(point, pTI);
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND || message == WM_NOTIFY) {
        // The bar (or the control itself) first; then the owner decides.
        LRESULT lResult = 0;
        if (OnWndMsg(message, wParam, lParam, &lResult))
            return lResult;
        CWnd* pOwner = GetOwner();
        if (pOwner != NULL && pOwner->m_hWnd != NULL && pOwner->m_hWnd != m_hWnd)
            return pOwner->SendMessage(message, wParam, lParam);
        return DefWindowProc(message, wParam, lParam);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CControlBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    // The border edges are the non-client area.
    int cxEdge = EdgeWidth();
    RECT& rc = lpncsp->rgrc[0];
    if (m_dwStyle & CBRS_BORDER_LEFT)
        rc.left += cxEdge;
    if (m_dwStyle & CBRS_BORDER_TOP)
        rc.top += cxEdge;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        rc.right -= cxEdge;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        rc.bottom -= cxEdge;
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
}

void CControlBar::OnNcPaint()
{
    EraseNonClient();
}

void CControlBar::EraseNonClient()
{
    if (m_hWnd == NULL)
        return;
    HDC hDC = ::GetWindowDC(m_hWnd);
    if (hDC == NULL)
        return;
    CDC* pDC = CDC::FromHandle(hDC);
    CRect rectClient;
    ::GetClientRect(m_hWnd, &rectClient);
    CRect rectWindow;
    ::GetWindowRect(m_hWnd, &rectWindow);
    ::MapWindowPoints(m_hWnd, NULL, (LPPOINT)&rectClient, 2);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    // Only the edges are drawn; the client area paints itself.
    ::ExcludeClipRect(hDC, rectClient.left, rectClient.top, rectClient.right, rectClient.bottom);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    DrawBorders(pDC, rectWindow);
    ::ReleaseDC(m_hWnd, hDC);
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect)
{
    HDC hDC = pDC->GetSafeHdc();
    ::FillRect(hDC, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
    int cxEdge = EdgeWidth();
    HBRUSH hbrHilite = ::GetSysColorBrush(COLOR_BTNHIGHLIGHT);
    HBRUSH hbrShadow = ::GetSysColorBrush(COLOR_BTNSHADOW);
    RECT r;
    if (m_dwStyle & CBRS_BORDER_TOP) {
        ::SetRect(&r, rect.left, rect.top, rect.right, rect.top + cxEdge / 2);
        ::FillRect(hDC, &r, hbrShadow);
        ::SetRect(&r, rect.left, rect.top + cxEdge / 2, rect.right, rect.top + cxEdge);
        ::FillRect(hDC, &r, hbrHilite);
    }
    if (m_dwStyle & CBRS_BORDER_BOTTOM) {
        ::SetRect(&r, rect.left, rect.bottom - cxEdge, rect.right, rect.bottom - cxEdge / 2);
        ::FillRect(hDC, &r, hbrShadow);
        ::SetRect(&r, rect.left, rect.bottom - cxEdge / 2, rect.right, rect.bottom);
        ::FillRect(hDC, &r, hbrHilite);
    }
    if (m_dwStyle & CBRS_BORDER_LEFT) {
        ::SetRect(&r, rect.left, rect.top, rect.left + cxEdge / 2, rect.bottom);
        ::FillRect(hDC, &r, hbrShadow);
        ::SetRect(&r, rect.left + cxEdge / 2, rect.top, rect.left + cxEdge, rect.bottom);
        ::FillRect(hDC, &r, hbrHilite);
    }
    if (m_dwStyle & CBRS_BORDER_RIGHT) {
        ::SetRect(&r, rect.right - cxEdge, rect.top, rect.right - cxEdge / 2, rect.bottom);
        ::FillRect(hDC, &r, hbrShadow);
        ::SetRect(&r, rect.right - cxEdge / 2, rect.top, rect.right, rect.bottom);
        ::FillRect(hDC, &r, hbrHilite);
    }
}

void CControlBar::DrawGripper(CDC* pDC, const CRect& rect)
{
    if ((m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) != CBRS_GRIPPER)
        return;
    CRect r = rect;
    if (m_dwStyle & CBRS_ORIENT_HORZ) {
        r.left += m_cxLeftBorder;
        r.right = r.left + 3;
        r.top += m_cyTopBorder;
        r.bottom -= m_cyBottomBorder;
    } else {
        r.top += m_cyTopBorder;
        r.bottom = r.top + 3;
        r.left += m_cxLeftBorder;
        r.right -= m_cxRightBorder;
    }
    ::DrawEdge(pDC->GetSafeHdc(), &r, BDR_RAISEDINNER, BF_RECT);
}

void CControlBar::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
    Default();
    if (lpWndPos->flags & SWP_NOSIZE)
        return;
    // The edges are drawn for the size: a new size redraws them.
    if (m_dwStyle & CBRS_BORDER_ANY)
        lpWndPos->flags |= SWP_FRAMECHANGED;
}

void CControlBar::OnLButtonDown(UINT, CPoint)
{
    Default();
}

// ---------------------------------------------------------------------------
// CDialogBar

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

CDialogBar::CDialogBar()
{
    m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

BOOL CDialogBar::PreCreateWindow(CREATESTRUCTA& cs)
{
    return CControlBar::PreCreateWindow(cs);
}

BOOL CDialogBar::Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, UINT nStyle, UINT nID)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, (LPCSTR)RT_DIALOG);
    HRSRC hRes = ::FindResourceA(hInst, lpszTemplateName, (LPCSTR)RT_DIALOG);
    if (hRes == NULL)
        return FALSE;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRes);
    DWORD cb = ::SizeofResource(hInst, hRes);
    const void* pRes = hGlobal != NULL ? ::LockResource(hGlobal) : NULL;
    if (pRes == NULL || cb < sizeof(DLGTEMPLATE))
        return FALSE;

    // A copy with the style of a child window (a bar lives inside its frame).
    std::vector<BYTE> copy((const BYTE*)pRes, (const BYTE*)pRes + cb);
    const WORD* pw = reinterpret_cast<const WORD*>(copy.data());
    BOOL bEx = pw[0] == 1 && pw[1] == 0xFFFF;
    size_t nStyleOffset = bEx ? 12 : 0;
    if (copy.size() < nStyleOffset + sizeof(DWORD))
        return FALSE;
    DWORD dwStyle;
    memcpy(&dwStyle, copy.data() + nStyleOffset, sizeof(dwStyle));
    dwStyle &= ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | WS_VISIBLE | WS_DISABLED);
    dwStyle |= WS_CHILD | (nStyle & WS_VISIBLE);
    memcpy(copy.data() + nStyleOffset, &dwStyle, sizeof(dwStyle));

    m_dwStyle = nStyle & CBRS_ALL;
    if (!CreateDlgIndirect(reinterpret_cast<LPCDLGTEMPLATEA>(copy.data()), pParentWnd, hInst))
        return FALSE;
    // The dialog does not run a modal loop of its own.
    m_nFlags &= ~WF_CONTINUEMODAL;
    SetDlgCtrlID((int)nID);

    CRect rect;
    GetWindowRect(&rect);
    m_sizeDefault = rect.Size();

    // A dialog window is not created through the framework's WM_CREATE of
    // a bar: register with the frame here.
    if (pParentWnd != NULL && pParentWnd->IsFrameWnd() && m_pDockSite == NULL) {
        m_pDockSite = static_cast<CFrameWnd*>(pParentWnd);
        m_pDockSite->AddControlBar(this);
    }
    if (m_dwStyle & CBRS_TOOLTIPS)
        EnableToolTips(TRUE);
    SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | ((nStyle & WS_VISIBLE) ? SWP_SHOWWINDOW : 0));
    return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    if (bStretch) {
        if (bHorz)
            return CSize(32767, m_sizeDefault.cy);
        return CSize(m_sizeDefault.cx, 32767);
    }
    return m_sizeDefault;
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}
