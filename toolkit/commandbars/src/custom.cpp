// The custom control: a child window hosted on a bar.

#include <qx/commandbar.h>
#include <qx/custom.h>

IMPLEMENT_DYNCREATE(CQXPControlCustom, CQXPControlButton)

CQXPControlCustom::CQXPControlCustom() : m_hWndChild(NULL), m_szControl(0, 0)
{
    m_controlType = qxpControlCustom;
}

CQXPControlCustom::~CQXPControlCustom()
{
    ReleaseHostedWindow();
}

void CQXPControlCustom::SetControl(HWND hWnd)
{
    m_hWndChild = hWnd;
    if (hWnd && ::IsWindow(hWnd)) {
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        if (m_szControl.cx <= 0)
            m_szControl = rc.Size();
        if (m_pParent && ::IsWindow(m_pParent->GetSafeHwnd()) && ::GetParent(hWnd) != m_pParent->GetSafeHwnd())
            ::SetParent(hWnd, m_pParent->GetSafeHwnd());
    }
    DelayLayoutParent();
}

CSize CQXPControlCustom::GetSize(CDC* pDC)
{
    (void)pDC;
    return m_szControl;
}

void CQXPControlCustom::SetRect(const CRect& rc)
{
    CQXPControl::SetRect(rc);
    if (!m_hWndChild || !::IsWindow(m_hWndChild))
        return;
    if (m_pParent && ::IsWindow(m_pParent->GetSafeHwnd()) && ::GetParent(m_hWndChild) != m_pParent->GetSafeHwnd())
        ::SetParent(m_hWndChild, m_pParent->GetSafeHwnd());
    ::SetWindowPos(m_hWndChild, NULL, rc.left, rc.top, rc.Width(), rc.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | (IsVisible(0) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void CQXPControlCustom::SetParent(CQXPCommandBar* pParent)
{
    if (pParent == m_pParent)
        return;
    if (!pParent)
        ReleaseHostedWindow();
    CQXPControl::SetParent(pParent);
    if (pParent && m_hWndChild && ::IsWindow(m_hWndChild) && ::IsWindow(pParent->GetSafeHwnd()))
        ::SetParent(m_hWndChild, pParent->GetSafeHwnd());
}

void CQXPControlCustom::SetHideFlags(DWORD dwFlags)
{
    CQXPControl::SetHideFlags(dwFlags);
    if (m_hWndChild && ::IsWindow(m_hWndChild) && dwFlags != 0)
        ::ShowWindow(m_hWndChild, SW_HIDE);
}

void CQXPControlCustom::ReleaseHostedWindow()
{
    if (!m_hWndChild || !::IsWindow(m_hWndChild) || !m_pParent)
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
    ReleaseHostedWindow();
    CQXPControl::OnRemoved();
}
