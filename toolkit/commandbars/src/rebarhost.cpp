// The rebar host: command bars as bands of a rebar control at the top of
// the frame.
#include <qx/rebarhost.h>

#include <qx/commandbars.h>

#include <algorithm>

namespace {

// A toolbar's size on one unbounded horizontal row.
const DWORD kBandLayoutMode = qxpLayoutCommit | qxpLayoutHorzDock | qxpLayoutHorz;

void InitBandInfo(REBARBANDINFOA& rbbi, UINT fMask)
{
    ZeroMemory(&rbbi, sizeof(rbbi));
    rbbi.cbSize = sizeof(rbbi);
    rbbi.fMask = fMask;
}

} // namespace

IMPLEMENT_DYNAMIC(CQXPReBar, CWnd)

BEGIN_MESSAGE_MAP(CQXPReBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

CQXPReBar::CQXPReBar() : m_bInLayout(FALSE) {}

CQXPReBar::~CQXPReBar()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL CQXPReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    if (!pParentWnd || !::IsWindow(pParentWnd->GetSafeHwnd()))
        return FALSE;
    INITCOMMONCONTROLSEX icc;
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_COOL_CLASSES | ICC_BAR_CLASSES;
    ::InitCommonControlsEx(&icc);
    // The frame's layout places the rebar: it neither sizes itself nor
    // sticks to the parent's edge.
    DWORD dwAll = dwStyle | dwCtrlStyle | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE;
    CRect rc;
    pParentWnd->GetClientRect(&rc);
    return CreateEx(0, REBARCLASSNAMEA, NULL, dwAll, 0, 0, rc.Width(), 0, pParentWnd->GetSafeHwnd(),
                    (HMENU)(UINT_PTR)nID, NULL);
}

BOOL CQXPReBar::AddCommandBar(CQXPToolBar* pBar, DWORD dwBandStyle)
{
    if (!m_hWnd || !pBar || !::IsWindow(pBar->GetSafeHwnd()))
        return FALSE;
    if (FindBand(pBar) != -1)
        return TRUE;
    if (pBar->GetDockBar())
        pBar->GetDockBar()->RemoveCommandBar(pBar);
    pBar->SetDockBar(NULL);
    pBar->SetFlags(0, qxpFlagAlignTop | qxpFlagAlignBottom | qxpFlagAlignLeft | qxpFlagAlignRight | qxpFlagFloating);
    // The band draws its own gripper.
    pBar->ShowGripper(FALSE);
    CSize sz = pBar->CalcDynamicLayout(32000, kBandLayoutMode);
    ::SetParent(pBar->GetSafeHwnd(), m_hWnd);
    ::SetWindowPos(pBar->GetSafeHwnd(), NULL, 0, 0, sz.cx, sz.cy, SWP_NOZORDER | SWP_NOACTIVATE);

    REBARBANDINFOA rbbi;
    InitBandInfo(rbbi, RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE);
    rbbi.fStyle = dwBandStyle;
    rbbi.hwndChild = pBar->GetSafeHwnd();
    rbbi.cxMinChild = sz.cx;
    rbbi.cyMinChild = sz.cy;
    rbbi.cx = sz.cx;
    if (!::SendMessageA(m_hWnd, RB_INSERTBANDA, (WPARAM)-1, (LPARAM)&rbbi))
        return FALSE;
    int nCount = GetBandCount();
    InitBandInfo(rbbi, RBBIM_ID);
    rbbi.wID = pBar->GetBarID();
    ::SendMessageA(m_hWnd, RB_SETBANDINFOA, (WPARAM)(nCount - 1), (LPARAM)&rbbi);
    return TRUE;
}

int CQXPReBar::GetBandCount() const
{
    return m_hWnd ? (int)::SendMessageA(m_hWnd, RB_GETBANDCOUNT, 0, 0) : 0;
}

int CQXPReBar::FindBand(CQXPToolBar* pBar) const
{
    if (!pBar || !m_hWnd)
        return -1;
    for (int i = GetBandCount() - 1; i >= 0; i--) {
        REBARBANDINFOA rbbi;
        InitBandInfo(rbbi, RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE);
        if (!::SendMessageA(m_hWnd, RB_GETBANDINFOA, (WPARAM)i, (LPARAM)&rbbi))
            continue;
        if (rbbi.hwndChild && rbbi.hwndChild == pBar->GetSafeHwnd())
            return i;
    }
    return -1;
}

int CQXPReBar::DeleteBand(CQXPToolBar* pBar)
{
    int nBand = FindBand(pBar);
    if (nBand == -1)
        return -1;
    return (int)::SendMessageA(m_hWnd, RB_DELETEBAND, (WPARAM)nBand, 0);
}

CRect CQXPReBar::GetBandRect(int nBand) const
{
    RECT rc = {0, 0, 0, 0};
    if (m_hWnd)
        ::SendMessageA(m_hWnd, RB_GETRECT, (WPARAM)nBand, (LPARAM)&rc);
    return CRect(rc);
}

void CQXPReBar::UpdateBandSizes()
{
    for (int i = 0; i < GetBandCount(); i++) {
        REBARBANDINFOA rbbi;
        InitBandInfo(rbbi, RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE);
        if (!::SendMessageA(m_hWnd, RB_GETBANDINFOA, (WPARAM)i, (LPARAM)&rbbi) || !rbbi.hwndChild)
            continue;
        CQXPToolBar* pBar = dynamic_cast<CQXPToolBar*>(CWnd::FromHandlePermanent(rbbi.hwndChild));
        if (!pBar)
            continue;
        CSize sz = pBar->CalcDynamicLayout(32000, kBandLayoutMode);
        if ((int)rbbi.cxMinChild == sz.cx && (int)rbbi.cyMinChild == sz.cy)
            continue;
        InitBandInfo(rbbi, RBBIM_CHILDSIZE | RBBIM_SIZE);
        rbbi.cxMinChild = sz.cx;
        rbbi.cyMinChild = sz.cy;
        rbbi.cx = sz.cx;
        ::SendMessageA(m_hWnd, RB_SETBANDINFOA, (WPARAM)i, (LPARAM)&rbbi);
    }
}

LRESULT CQXPReBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    AFX_SIZEPARENTPARAMS* pParams = (AFX_SIZEPARENTPARAMS*)lParam;
    if (!pParams || !(GetStyle() & WS_VISIBLE))
        return 0;
    CRect R = pParams->rect;
    // A bar measuring itself, or the rebar reporting a new height, may ask
    // the frame for a layout again while this one runs.
    BOOL bOuter = !m_bInLayout;
    m_bInLayout = TRUE;
    if (bOuter)
        UpdateBandSizes();
    // The bands wrap by the width: the rebar takes the frame's width first,
    // then its height follows from its rows.
    CRect rcNow;
    GetWindowRect(&rcNow);
    if (pParams->hDWP && rcNow.Width() != R.Width())
        ::SetWindowPos(m_hWnd, NULL, 0, 0, R.Width(), std::max(1, (int)rcNow.Height()),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    int cy = GetBandCount() > 0 ? (int)::SendMessageA(m_hWnd, RB_GETBARHEIGHT, 0, 0) : 0;
    cy = std::max(0, std::min(cy, (int)R.Height()));
    pParams->sizeTotal.cy += cy;
    pParams->sizeTotal.cx = std::max((int)pParams->sizeTotal.cx, (int)R.Width());
    pParams->rect.top += cy;
    if (pParams->hDWP)
        pParams->hDWP = ::DeferWindowPos(pParams->hDWP, m_hWnd, NULL, R.left, R.top, R.Width(), cy,
                                         SWP_NOZORDER | SWP_NOACTIVATE);
    if (bOuter)
        m_bInLayout = FALSE;
    return 0;
}

// ---------------------------------------------------------------------------
// The manager's side: the site's rebar, if it has one.

void CQXPCommandBars::OnReBarHeightChange()
{
    // Bands moved to other rows (a drag, a band style): the frame's client
    // area follows. A change made by the frame's own layout is already
    // counted.
    CQXPReBar* pReBar = GetReBar();
    if (pReBar && !pReBar->IsInLayout())
        RecalcFrameLayout();
}

CQXPReBar* CQXPCommandBars::GetReBar() const
{
    if (!m_pFrame || !::IsWindow(m_pFrame->GetSafeHwnd()))
        return NULL;
    HWND hWndReBar = ::GetDlgItem(m_pFrame->GetSafeHwnd(), AFX_IDW_REBAR);
    return hWndReBar ? dynamic_cast<CQXPReBar*>(CWnd::FromHandlePermanent(hWndReBar)) : NULL;
}
