// The custom control: a child window hosted on a bar.

#include <qx/commandbars.h>
#include <qx/custom.h>
#include <qx/propexchange.h>

#include <windowsx.h>

IMPLEMENT_DYNCREATE(CQXPControlCustom, CQXPControlButton)

CQXPControlCustom::CQXPControlCustom()
    : m_sink(this), m_hWndChild(NULL), m_rcBorders(0, 0, 0, 0), m_bShowWindow(TRUE), m_szControl(0, 0),
      m_nVerticalOptions(qxpVerticalHide), m_nControlId(0), m_bOriginalCopy(FALSE), m_bTrackingLeave(FALSE)
{
    // A custom control measures and behaves as a button when it has no
    // window; it cannot be moved in customize mode.
    m_controlType = qxpControlButton;
    m_dwFlags = qxpFlagNoMovable;
}

CQXPControlCustom::~CQXPControlCustom()
{
    ReleaseHostedWindow();
    DetachSink();
}

CQXPControlCustom* AFXAPI CQXPControlCustom::CreateControlCustom(HWND hWnd)
{
    CQXPControlCustom* pControl = new CQXPControlCustom;
    pControl->SetControl(hWnd);
    if (hWnd && ::IsWindow(hWnd))
        pControl->m_nControlId = ::GetDlgCtrlID(hWnd);
    return pControl;
}

HWND AFXAPI CQXPControlCustom::FindWindowById(CQXPCommandBars* pCommandBars, int nId)
{
    if (!pCommandBars || nId == 0)
        return NULL;
    CWnd* pSite = pCommandBars->GetSite();
    HWND hWndSite = pSite ? pSite->GetSafeHwnd() : NULL;
    if (hWndSite && ::IsWindow(hWndSite)) {
        HWND hWnd = ::GetDlgItem(hWndSite, nId);
        if (hWnd)
            return hWnd;
    }
    for (int i = 0; i < pCommandBars->GetCount(); i++) {
        CQXPToolBar* pBar = pCommandBars->GetAt(i);
        HWND hWndBar = pBar ? pBar->GetSafeHwnd() : NULL;
        if (!hWndBar || !::IsWindow(hWndBar))
            continue;
        HWND hWnd = ::GetDlgItem(hWndBar, nId);
        if (hWnd)
            return hWnd;
    }
    return NULL;
}

void CQXPControlCustom::SetControl(HWND hWnd)
{
    if (hWnd != m_hWndChild)
        ReleaseHostedWindow();
    DetachSink();
    m_hWndChild = hWnd;
    AttachSink();
    if (HasWindow()) {
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        m_szControl = rc.Size();
    }
    DelayLayoutParent();
}

// ---------------------------------------------------------------------------
// The message sink

void CQXPControlCustom::AttachSink()
{
    if (m_sink.m_hWndHooked == m_hWndChild)
        return;
    DetachSink();
    if (!HasWindow() || IsOriginalCopy())
        return;
    CWindowHookManager::Instance()->SetHook(m_hWndChild, &m_sink);
    m_sink.m_hWndHooked = m_hWndChild;
}

void CQXPControlCustom::DetachSink()
{
    if (!m_sink.m_hWndHooked)
        return;
    CWindowHookManager::Instance()->RemoveHook(m_sink.m_hWndHooked, &m_sink);
    m_sink.m_hWndHooked = NULL;
    m_bTrackingLeave = FALSE;
}

int CQXPControlCustom::CMessageSink::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam,
                                                   LRESULT& lResult)
{
    (void)lResult;
    switch (nMessage) {
    case WM_MOUSEMOVE:
        m_pOwner->OnHostedMouseMove(hWnd, wParam, lParam);
        break;
    case WM_MOUSELEAVE:
        m_pOwner->OnHostedMouseLeave();
        break;
    case WM_DESTROY:
        // The application destroyed its window: the control forgets it
        // (the hook manager drops the hook itself when the window goes).
        if (m_pOwner->m_hWndChild == hWnd)
            m_pOwner->m_hWndChild = NULL;
        m_pOwner->m_bTrackingLeave = FALSE;
        m_hWndHooked = NULL;
        m_pOwner->DelayLayoutParent();
        break;
    default:
        break;
    }
    return kNotHandled;
}

void CQXPControlCustom::OnHostedMouseMove(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    if (!m_pParent)
        return;
    HWND hWndBar = m_pParent->GetSafeHwnd();
    if (!hWndBar || !::IsWindow(hWndBar) || ::GetParent(hWnd) != hWndBar)
        return;
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::MapWindowPoints(hWnd, hWndBar, &pt, 1);
    // The hosted window reports when the mouse leaves it; meanwhile the bar
    // must not take the pointer's move onto its child for a leave.
    if (!m_bTrackingLeave) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, hWnd, 0};
        m_bTrackingLeave = ::TrackMouseEvent(&tme);
    }
    if (m_bTrackingLeave)
        m_pParent->m_bMouseTracked = TRUE;
    ::SendMessageA(hWndBar, WM_MOUSEMOVE, wParam, MAKELPARAM(pt.x, pt.y));
}

void CQXPControlCustom::OnHostedMouseLeave()
{
    if (!m_bTrackingLeave)
        return;
    m_bTrackingLeave = FALSE;
    if (!m_pParent)
        return;
    HWND hWndBar = m_pParent->GetSafeHwnd();
    if (hWndBar && ::IsWindow(hWndBar))
        ::SendMessageA(hWndBar, WM_MOUSELEAVE, 0, 0);
}

// ---------------------------------------------------------------------------
// Placing and showing the window

void CQXPControlCustom::UpdateWindowVisibility()
{
    if (IsOriginalCopy() || !m_pParent || !HasWindow())
        return;
    HWND hWndBar = m_pParent->GetSafeHwnd();
    if (!hWndBar || ::GetParent(m_hWndChild) != hWndBar)
        return;
    BOOL bShow = m_bShowWindow && IsVisible(0) && ::IsWindow(hWndBar);
    // Every layout of the bar comes here: a window already shown or hidden
    // is left alone (each SetWindowPos is a round trip to the server).
    const BOOL bShown = (::GetWindowLongPtrA(m_hWndChild, GWL_STYLE) & WS_VISIBLE) != 0;
    if (bShown == bShow)
        return;
    ::SetWindowPos(m_hWndChild, NULL, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                       (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void CQXPControlCustom::SetRect(const CRect& rc)
{
    HWND hWndBar = m_pParent ? m_pParent->GetSafeHwnd() : NULL;
    if (rc == m_rcControl && HasWindow() && hWndBar && ::GetParent(m_hWndChild) == hWndBar)
        return;
    m_rcControl = rc;
    if (!HasWindow() || IsOriginalCopy() || !hWndBar || !::IsWindow(hWndBar))
        return;
    if (::GetParent(m_hWndChild) != hWndBar) {
        LONG_PTR nStyle = ::GetWindowLongPtrA(m_hWndChild, GWL_STYLE);
        ::SetWindowLongPtrA(m_hWndChild, GWL_STYLE, (nStyle & ~(LONG_PTR)WS_POPUP) | WS_CHILD);
        ::SetParent(m_hWndChild, hWndBar);
    }
    ::MoveWindow(m_hWndChild, rc.left + m_rcBorders.left, rc.top + m_rcBorders.top,
                 rc.Width() - m_rcBorders.left - m_rcBorders.right,
                 rc.Height() - m_rcBorders.top - m_rcBorders.bottom, TRUE);
    UpdateWindowVisibility();
}

void CQXPControlCustom::SetHideFlags(DWORD dwFlags)
{
    CQXPControl::SetHideFlags(dwFlags);
    UpdateWindowVisibility();
    DelayLayoutParent();
}

void CQXPControlCustom::SetEnabled(BOOL bEnabled)
{
    m_bEnabled = bEnabled;
    if (HasWindow() && !IsOriginalCopy())
        ::EnableWindow(m_hWndChild, bEnabled ? TRUE : FALSE);
    RedrawParent(TRUE);
}

CSize CQXPControlCustom::GetSize(CDC* pDC)
{
    if (HasWindow() && m_bShowWindow)
        return CSize(m_szControl.cx + m_rcBorders.left + m_rcBorders.right,
                     m_szControl.cy + m_rcBorders.top + m_rcBorders.bottom);
    return CQXPControlButton::GetSize(pDC);
}

void CQXPControlCustom::Draw(CDC* pDC)
{
    // A visible window paints itself.
    if (HasWindow() && ::IsWindowVisible(m_hWndChild))
        return;
    CQXPControlButton::Draw(pDC);
}

void CQXPControlCustom::OnClick(BOOL bKeyboard, CPoint pt)
{
    // Clicks on a visible window belong to it.
    if (HasWindow() && ::IsWindowVisible(m_hWndChild) && !IsCustomizeMode())
        return;
    CQXPControlButton::OnClick(bKeyboard, pt);
}

void CQXPControlCustom::OnCalcDynamicSize(DWORD dwMode)
{
    BOOL bVert = (dwMode & qxpLayoutVertDock) != 0;
    if (m_nVerticalOptions == qxpVerticalHide) {
        SetHideFlag(qxpHideDockingPosition, bVert);
    } else if (m_nVerticalOptions == qxpVerticalButton) {
        m_bShowWindow = !bVert;
    }
    // Also catches changes of the linked action's visibility.
    UpdateWindowVisibility();
}

void CQXPControlCustom::OnActionChanged(int nProperty)
{
    if (nProperty == 2 && HasWindow())
        UpdateWindowVisibility();
}

// ---------------------------------------------------------------------------
// Life cycle

void CQXPControlCustom::SetParent(CQXPCommandBar* pParent)
{
    // The collection is linked before the parent is set: that is when the
    // control learns whether it is a bar's original-controls record.
    if (m_pControls)
        m_bOriginalCopy = m_pControls->m_bOriginalControls;
    if (IsOriginalCopy())
        DetachSink();
    else
        AttachSink();
    if (pParent == m_pParent)
        return;
    // Leaving a bar: the window must not stay a child of a bar that may be
    // destroyed without the control.
    ReleaseHostedWindow();
    CQXPControl::SetParent(pParent);
    // A control put on a bar again (after a removal) shows its window again.
    if (pParent)
        m_bShowWindow = TRUE;
    DelayLayoutParent();
}

void CQXPControlCustom::ReleaseHostedWindow()
{
    if (IsOriginalCopy() || !HasWindow() || !m_pParent)
        return;
    HWND hWndBar = m_pParent->GetSafeHwnd();
    if (!hWndBar || ::GetParent(m_hWndChild) != hWndBar)
        return;
    CWnd* pSite = m_pParent->GetOwnerSite();
    HWND hWndSite = pSite ? pSite->GetSafeHwnd() : NULL;
    if (hWndSite == hWndBar)
        hWndSite = NULL;
    ::ShowWindow(m_hWndChild, SW_HIDE);
    ::SetParent(m_hWndChild, hWndSite);
}

void CQXPControlCustom::OnParentDestroying()
{
    ReleaseHostedWindow();
}

void CQXPControlCustom::OnRemoved()
{
    m_bShowWindow = FALSE;
    UpdateWindowVisibility();
    ReleaseHostedWindow();
    CQXPControlButton::OnRemoved();
}

void CQXPControlCustom::Copy(CQXPControl* pControl, BOOL bRecursive)
{
    CQXPControlCustom* pCustom = dynamic_cast<CQXPControlCustom*>(pControl);
    if (pCustom) {
        m_rcBorders = pCustom->m_rcBorders;
        m_nVerticalOptions = pCustom->m_nVerticalOptions;
        m_szControl = pCustom->m_szControl;
        m_nControlId = pCustom->m_nControlId;
        DetachSink();
        m_hWndChild = pCustom->m_hWndChild;
        AttachSink();
    }
    CQXPControlButton::Copy(pControl, bRecursive);
}

void CQXPControlCustom::DoPropExchange(CQXPPropExchange* pPX)
{
    // The stored type is the button's; layouts written when custom controls
    // carried type 7 load as buttons too.
    m_controlType = qxpControlButton;
    CQXPControlButton::DoPropExchange(pPX);
    m_controlType = qxpControlButton;
    ExchangeRectProp(pPX, "Borders", &m_rcBorders, CRect(0, 0, 0, 0));
    ExchangeSizeProp(pPX, "ControlSize", &m_szControl, CSize(0, 0));
    ExchangeIntProp(pPX, "VerticalOptions", &m_nVerticalOptions, 0);
    if (pPX->GetSchema() > 5)
        ExchangeIntProp(pPX, "ControlId", &m_nControlId, 0);
    if (pPX->IsLoading() && m_nControlId != 0) {
        const CommandBarsExchangeParam* pParam = (const CommandBarsExchangeParam*)pPX->m_dwData;
        CQXPCommandBars* pCommandBars = pParam && pParam->pCommandBars ? pParam->pCommandBars : GetCommandBars();
        HWND hWnd = FindWindowById(pCommandBars, m_nControlId);
        if (hWnd) {
            // The stored size wins over the window's size of the moment.
            CSize szStored = m_szControl;
            SetControl(hWnd);
            if (szStored.cx > 0 && szStored.cy > 0)
                m_szControl = szStored;
        }
    }
}
