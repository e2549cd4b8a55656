// hookwnd.cpp - the editor's hook objects: links of the toolkit's subclass
// chains, with mouse enter and leave tracking.
#include "ruler.h"

IMPLEMENT_DYNAMIC(COXHookWnd, CSubclassLink)

COXHookWnd::COXHookWnd() : m_nTrackTimer(0), m_bMouseInside(0) {}

COXHookWnd::~COXHookWnd()
{
    UnhookWindow();
}

COXHookWnd* PASCAL COXHookWnd::FindFirstHook(HWND hWnd)
{
    for (CSubclassLink* p = CQXWindowMap::Instance()->LookupLink(hWnd); p; p = p->m_pNext) {
        if (p->IsKindOf(RUNTIME_CLASS(COXHookWnd)))
            return static_cast<COXHookWnd*>(p);
    }
    return NULL;
}

BOOL COXHookWnd::HookWindow(HWND hWnd)
{
    if (hWnd == NULL || !::IsWindow(hWnd) || m_hWnd != NULL)
        return FALSE;
    StopMouseTracking();
    return JoinWindow(hWnd);
}

void COXHookWnd::UnhookWindow()
{
    if (m_hWnd == NULL)
        return;
    StopMouseTracking();
    LeaveWindow();
}

void COXHookWnd::OnLinkWindowDestroyed() { UnhookWindow(); }

LRESULT COXHookWnd::OnLinkMessage(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return WindowProc(nMessage, wParam, lParam);
}

void COXHookWnd::StartMouseTracking()
{
    if (m_hWnd != NULL && m_nTrackTimer == 0)
        m_nTrackTimer = ::SetTimer(m_hWnd, TRACK_TIMER_ID, 100, NULL);
}

void COXHookWnd::StopMouseTracking()
{
    if (m_nTrackTimer != 0 && m_hWnd != NULL)
        ::KillTimer(m_hWnd, m_nTrackTimer);
    m_nTrackTimer = 0;
    m_bMouseInside = 0;
}

LRESULT COXHookWnd::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    BOOL bTrackTick = nMsg == WM_TIMER && m_nTrackTimer != 0 && wParam == m_nTrackTimer;
    if (bTrackTick || (nMsg == WM_MOUSEMOVE && !m_bMouseInside)) {
        POINT pt;
        ::GetCursorPos(&pt);
        int bInside = ::WindowFromPoint(pt) == m_hWnd ? 1 : 0;
        if (bInside != m_bMouseInside) {
            m_bMouseInside = bInside;
            ::PostMessageA(m_hWnd, bInside ? WM_HOOK_MOUSEENTER : WM_HOOK_MOUSELEAVE, 0, 0);
        }
    }
    // Our own tracking ticks mean nothing to the window.
    if (bTrackTick)
        return 0;
    return Default(nMsg, wParam, lParam);
}

LRESULT COXHookWnd::Default(UINT nMsg, WPARAM wParam, LPARAM lParam) { return CallNextLink(nMsg, wParam, lParam); }
