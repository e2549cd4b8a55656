// The thread's mouse manager and its WH_MOUSE hook.

#include <qx/commandbar.h>
#include <qx/mousemanager.h>

#include <algorithm>
#include <memory>

namespace {

thread_local std::unique_ptr<ToolkitMouseManager> t_pMouseManager;
// The last point the hook saw (filters repeated moves).
POINT g_ptLastMouse = {-32000, -32000};

BOOL PointOverBar(CQXPCommandBar* pBar, CPoint point)
{
    HWND hWnd = pBar->GetSafeHwnd();
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    if (::IsWindowVisible(hWnd) && rc.PtInRect(point))
        return TRUE;
    HWND hWndUnder = ::WindowFromPoint(point);
    return hWndUnder && ::IsChild(hWnd, hWndUnder);
}

} // namespace

ToolkitMouseManager* AFXAPI ToolkitMouseManager::GetInstance()
{
    if (!t_pMouseManager)
        t_pMouseManager.reset(new ToolkitMouseManager);
    return t_pMouseManager.get();
}

ToolkitMouseManager::ToolkitMouseManager()
    : m_nLock(0), m_hHook(NULL), m_pLastSelected(NULL), m_hWndLeave(NULL), m_bSwallow(FALSE)
{
    m_hHook = ::SetWindowsHookExA(WH_MOUSE, &ToolkitMouseManager::MouseProc, NULL, ::GetCurrentThreadId());
    CKeyboardHook::Instance()->SetPopupTracking(this);
}

ToolkitMouseManager::~ToolkitMouseManager()
{
    if (m_hHook)
        ::UnhookWindowsHookEx(m_hHook);
    if (m_hWndLeave && ::IsWindow(m_hWndLeave))
        ::KillTimer(m_hWndLeave, QXP_TID_MOUSELEAVE);
    // The keyboard hook of the thread is not touched here: both objects end
    // with the thread and the order of their destruction is not known.
}

void AFXAPI ToolkitMouseManager::ForgetBar(CQXPCommandBar* pBar)
{
    ToolkitMouseManager* pThis = t_pMouseManager.get();
    if (!pThis)
        return;
    if (pThis->m_pLastSelected == pBar)
        pThis->m_pLastSelected = NULL;
    auto it = std::find(pThis->m_arrTracked.begin(), pThis->m_arrTracked.end(), pBar);
    if (it != pThis->m_arrTracked.end())
        pThis->m_arrTracked.erase(it);
}

void ToolkitMouseManager::AddTrackedBar(CQXPCommandBar* pBar)
{
    if (m_arrTracked.empty() && m_pLastSelected && m_pLastSelected != pBar &&
        ::IsWindow(m_pLastSelected->GetSafeHwnd()))
        m_pLastSelected->SetSelected(-1, 0);
    if (std::find(m_arrTracked.begin(), m_arrTracked.end(), pBar) == m_arrTracked.end())
        m_arrTracked.push_back(pBar);
}

void ToolkitMouseManager::RemoveTrackedBar(CQXPCommandBar* pBar)
{
    auto it = std::find(m_arrTracked.begin(), m_arrTracked.end(), pBar);
    if (it != m_arrTracked.end())
        m_arrTracked.erase(it);
    if (m_pLastSelected == pBar)
        m_pLastSelected = NULL;
    if (m_arrTracked.empty()) {
        // The menu loop is over: the next one starts with shortened menus.
        m_bMenusExpanded = FALSE;
        m_bExpandedByUser = FALSE;
        // Windows under the cursor get a fresh mouse move.
        POINT pt;
        if (::GetCursorPos(&pt))
            ::SetCursorPos(pt.x, pt.y);
    }
    m_bSwallow = FALSE;
}

BOOL ToolkitMouseManager::IsTrackedBarBlocked(CQXPCommandBar* pBar) const
{
    if (m_arrTracked.empty())
        return FALSE;
    if (!pBar || pBar->m_nLockTracking > 0)
        return TRUE;
    return std::find(m_arrTracked.begin(), m_arrTracked.end(), pBar) == m_arrTracked.end();
}

CQXPCommandBar* ToolkitMouseManager::GetTrackedBar(int nIndex) const
{
    return nIndex >= 0 && nIndex < (int)m_arrTracked.size() ? m_arrTracked[(size_t)nIndex] : NULL;
}

void ToolkitMouseManager::SendTrackLost()
{
    while (!m_arrTracked.empty()) {
        CQXPCommandBar* pBar = m_arrTracked.front();
        size_t nBefore = m_arrTracked.size();
        pBar->SetTrackingMode(FALSE, FALSE, FALSE);
        // A bar that did not leave the list is taken out here, so the loop ends.
        if (m_arrTracked.size() == nBefore && !m_arrTracked.empty() && m_arrTracked.front() == pBar)
            RemoveTrackedBar(pBar);
    }
}

void ToolkitMouseManager::SetMenusExpanded(BOOL bExpanded, BOOL bByUser)
{
    m_bMenusExpanded = bExpanded ? TRUE : FALSE;
    m_bExpandedByUser = (bExpanded && bByUser) ? TRUE : FALSE;
}

void ToolkitMouseManager::LockTrackedBars(BOOL bLock)
{
    m_nLock += bLock ? 1 : -1;
    for (CQXPCommandBar* pBar : m_arrTracked)
        pBar->m_nLockTracking += bLock ? 1 : -1;
}

void ToolkitMouseManager::CloseUnlockedBars()
{
    if (m_arrTracked.empty() || m_arrTracked.front()->m_nLockTracking == 0)
        return;
    std::vector<CQXPCommandBar*> bars = m_arrTracked;
    for (CQXPCommandBar* pBar : bars)
        if (pBar->m_nLockTracking == 0)
            pBar->SetTrackingMode(FALSE, FALSE, FALSE);
}

void ToolkitMouseManager::AddExcludedWindow(HWND hWnd)
{
    if (std::find(m_arrExcluded.begin(), m_arrExcluded.end(), hWnd) == m_arrExcluded.end())
        m_arrExcluded.push_back(hWnd);
}

void ToolkitMouseManager::RemoveExcludedWindow(HWND hWnd)
{
    auto it = std::find(m_arrExcluded.begin(), m_arrExcluded.end(), hWnd);
    if (it != m_arrExcluded.end())
        m_arrExcluded.erase(it);
}

void ToolkitMouseManager::TrackMouseLeave(HWND hWnd)
{
    if (hWnd == m_hWndLeave)
        return;
    HWND hWndOld = m_hWndLeave;
    m_hWndLeave = hWnd;
    if (hWndOld && ::IsWindow(hWndOld)) {
        ::KillTimer(hWndOld, QXP_TID_MOUSELEAVE);
        ::SendMessageA(hWndOld, WM_MOUSELEAVE, 0, 0);
    }
    // The timer runs our own procedure: the watched window's class need
    // not know the timer, and the leave message goes to that window.
    if (hWnd && ::IsWindow(hWnd))
        ::SetTimer(hWnd, QXP_TID_MOUSELEAVE, 50, &ToolkitMouseManager::LeaveTimerProc);
    else
        m_hWndLeave = NULL;
}

void CALLBACK ToolkitMouseManager::LeaveTimerProc(HWND hWnd, UINT uMsg, UINT_PTR idEvent, DWORD dwTime)
{
    (void)uMsg;
    (void)dwTime;
    if (idEvent != QXP_TID_MOUSELEAVE)
        return;
    GetInstance()->CheckMouseLeave(hWnd);
}

void ToolkitMouseManager::CheckMouseLeave(HWND hWnd)
{
    if (hWnd != m_hWndLeave) {
        // A timer left on a window no longer watched.
        ::KillTimer(hWnd, QXP_TID_MOUSELEAVE);
        return;
    }
    if (!::IsWindow(hWnd)) {
        m_hWndLeave = NULL;
        return;
    }
    POINT pt;
    ::GetCursorPos(&pt);
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    if (rc.PtInRect(pt)) {
        HWND hWndTop = ::GetAncestor(hWnd, GA_ROOT);
        BOOL bTopLevel = hWndTop == hWnd || (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_POPUP);
        if (bTopLevel || hWndTop == ::GetActiveWindow() || hWndTop == ::GetForegroundWindow())
            return;
    }
    ::KillTimer(hWnd, QXP_TID_MOUSELEAVE);
    m_hWndLeave = NULL;
    ::PostMessageA(hWnd, WM_MOUSELEAVE, 0, 0);
}

LRESULT CALLBACK ToolkitMouseManager::MouseProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    ToolkitMouseManager* pThis = t_pMouseManager.get();
    HHOOK hHook = pThis ? pThis->m_hHook : NULL;
    if (nCode != HC_ACTION || !pThis)
        return ::CallNextHookEx(hHook, nCode, wParam, lParam);
    UINT nMessage = (UINT)wParam;
    const MOUSEHOOKSTRUCT* pInfo = (const MOUSEHOOKSTRUCT*)lParam;
    if (nMessage == WM_LBUTTONDOWN || nMessage == WM_RBUTTONDOWN)
        pThis->m_bSwallow = FALSE;
    if ((nMessage == WM_LBUTTONUP || nMessage == WM_NCLBUTTONUP) && pThis->m_bSwallow) {
        pThis->m_bSwallow = FALSE;
        return 1;
    }
    if ((nMessage == WM_MOUSEMOVE || nMessage == WM_NCMOUSEMOVE) && !pThis->m_arrTracked.empty() &&
        pInfo->pt.x == g_ptLastMouse.x && pInfo->pt.y == g_ptLastMouse.y)
        return 1;
    g_ptLastMouse = pInfo->pt;
    if (!pThis->m_arrTracked.empty())
        pThis->OnMouseHook(nMessage, CPoint(pInfo->pt));
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}

void ToolkitMouseManager::OnMouseHook(UINT nMessage, CPoint point)
{
    if (m_nBarLoops > 0)
        return;
    BOOL bMove = nMessage == WM_MOUSEMOVE || nMessage == WM_NCMOUSEMOVE;
    for (size_t i = m_arrTracked.size(); i-- > 0;) {
        CQXPCommandBar* pBar = m_arrTracked[i];
        if (!::IsWindow(pBar->GetSafeHwnd()))
            continue;
        if (PointOverBar(pBar, point)) {
            if (pBar->m_nLockTracking > 0 && !bMove && !m_bSwallow) {
                CloseUnlockedBars();
                g_ptLastMouse = POINT{-32000, -32000};
            }
            return;
        }
    }
    for (HWND hWnd : m_arrExcluded) {
        CRect rc;
        if (::IsWindowVisible(hWnd) && ::GetWindowRect(hWnd, &rc) && rc.PtInRect(point))
            return;
    }
    HWND hWndUnder = ::WindowFromPoint(point);
    if (hWndUnder && (::GetClassLongPtrA(hWndUnder, GCL_STYLE) & CS_IME))
        return;

    switch (nMessage) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
        std::vector<CQXPCommandBar*> bars = m_arrTracked;
        for (CQXPCommandBar* pBar : bars) {
            if (pBar->m_nLockTracking > 0 || !::IsWindow(pBar->GetSafeHwnd()))
                continue;
            CPoint ptClient = point;
            ::ScreenToClient(pBar->GetSafeHwnd(), &ptClient);
            pBar->OnMouseMoveOutside(ptClient);
        }
        break;
    }
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
        if (m_nLock <= 0)
            SendTrackLost();
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        SendTrackLost();
        break;
    default:
        break;
    }
}
