// hookwnd.cpp - chains of hook objects on a window.
#include "ruler.h"

IMPLEMENT_DYNAMIC(COXHookWnd, CObject)

namespace {

typedef CMap<HWND, HWND, COXHookWnd*, COXHookWnd*> HookMap;

// Window handle -> first hook of that window. Hooks live on the UI thread.
HookMap& Hooks()
{
    static HookMap* s_pMap = [] {
        static HookMap map;
        map.InitHashTable(10);
        return &map;
    }();
    return *s_pMap;
}

} // namespace

COXHookWnd::COXHookWnd() : m_hWnd(NULL), m_pfnPrevProc(NULL), m_pNext(NULL), m_nTrackTimer(0), m_bMouseInside(0) {}

COXHookWnd::~COXHookWnd()
{
    UnhookWindow();
}

COXHookWnd* PASCAL COXHookWnd::FindFirstHook(HWND hWnd)
{
    COXHookWnd* pHook = NULL;
    if (hWnd == NULL || !Hooks().Lookup(hWnd, pHook))
        return NULL;
    return pHook;
}

BOOL COXHookWnd::HookWindow(HWND hWnd)
{
    if (hWnd == NULL || !::IsWindow(hWnd) || m_hWnd != NULL)
        return FALSE;
    StopMouseTracking();
    COXHookWnd* pFirst = FindFirstHook(hWnd);
    if (pFirst != NULL) {
        m_pNext = pFirst;
        m_pfnPrevProc = pFirst->m_pfnPrevProc;
    } else {
        m_pNext = NULL;
        m_pfnPrevProc = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)&COXHookWnd::HookProc);
        if (m_pfnPrevProc == NULL)
            return FALSE;
    }
    m_hWnd = hWnd;
    Hooks().SetAt(hWnd, this);
    return TRUE;
}

void COXHookWnd::UnhookWindow()
{
    if (m_hWnd == NULL)
        return;
    StopMouseTracking();
    COXHookWnd* pFirst = FindFirstHook(m_hWnd);
    if (pFirst == this) {
        if (m_pNext != NULL) {
            Hooks().SetAt(m_hWnd, m_pNext);
        } else {
            Hooks().RemoveKey(m_hWnd);
            if (::IsWindow(m_hWnd))
                ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnPrevProc);
        }
    } else {
        for (COXHookWnd* p = pFirst; p != NULL; p = p->m_pNext) {
            if (p->m_pNext == this) {
                p->m_pNext = m_pNext;
                break;
            }
        }
    }
    m_hWnd = NULL;
    m_pfnPrevProc = NULL;
    m_pNext = NULL;
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

LRESULT COXHookWnd::Default(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_pNext != NULL)
        return m_pNext->WindowProc(nMsg, wParam, lParam);
    if (m_pfnPrevProc != NULL)
        return ::CallWindowProcA(m_pfnPrevProc, m_hWnd, nMsg, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
}

LRESULT CALLBACK COXHookWnd::HookProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    MSG saved = pState->m_lastSentMsg;
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = nMsg;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;

    LRESULT lResult = 0;
    COXHookWnd* pFirst = FindFirstHook(hWnd);
    if (pFirst == NULL) {
        lResult = ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    } else if (nMsg == WM_NCDESTROY) {
        // Every hook lets go, and the window's own procedure is back in place
        // before it sees its last message.
        WNDPROC pfnOwn = pFirst->m_pfnPrevProc;
        for (COXHookWnd* p = pFirst; p != NULL; p = FindFirstHook(hWnd))
            p->UnhookWindow();
        lResult = ::CallWindowProcA(pfnOwn, hWnd, nMsg, wParam, lParam);
    } else {
        lResult = pFirst->WindowProc(nMsg, wParam, lParam);
    }

    pState->m_lastSentMsg = saved;
    return lResult;
}
