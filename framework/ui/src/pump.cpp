// The thread's UI state, the message pump, idle processing and the
// temporary handle maps.
#include "fx/wnd.h"
#include "fx/app.h"
#include "fx/imagelist.h"
#include "handlemap.h"

AFX_THREAD_STATE* AFXAPI AfxGetThreadState()
{
    static thread_local AFX_THREAD_STATE s_state = {};
    return &s_state;
}

namespace fx {
namespace detail {
void DeleteAllTempMaps()
{
    CWnd::DeleteTempMap();
    CMenu::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    CImageList::DeleteTempMap();
}
} // namespace detail
} // namespace fx

size_t fx::TemporaryObjectCount()
{
    using namespace fx::detail;
    return WndTempCount() + MenuTempCount() + DCTempCount() + GdiTempCount() + ImageListTempCount();
}

void AFXAPI AfxLockTempMaps()
{
    ++AfxGetThreadState()->m_nTempMapLock;
}

BOOL AFXAPI AfxUnlockTempMaps(BOOL bDeleteTemps)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_nTempMapLock > 0)
        --pState->m_nTempMapLock;
    if (pState->m_nTempMapLock == 0 && bDeleteTemps) {
        fx::detail::DeleteAllTempMaps();
        return TRUE;
    }
    return FALSE;
}

CWnd* AFXAPI AfxGetMainWnd()
{
    CWinThread* pThread = AfxGetThread();
    return pThread != NULL ? pThread->GetMainWnd() : NULL;
}

// ---------------------------------------------------------------------------
// The pump. Each step goes to the thread object when there is one (so a
// program's overrides take part), else to the framework's own behaviour.

BOOL AFXAPI fx::detail::InternalPreTranslateMessage(MSG* pMsg)
{
    // Messages posted to the thread itself go to its map.
    if (pMsg->hwnd == NULL) {
        CWinThread* pThread = AfxGetThread();
        return pThread != NULL && pThread->DispatchThreadMessageEx(pMsg);
    }
    CWnd* pMainWnd = AfxGetMainWnd();
    if (CWnd::WalkPreTranslateTree(pMainWnd->GetSafeHwnd(), pMsg))
        return TRUE;
    // A message of a window outside the main window (a modeless pop-up)
    // still gets the main window's translation (its accelerators).
    if (pMainWnd != NULL && pMainWnd->m_hWnd != NULL) {
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        if (pWnd->GetTopLevelParent() != pMainWnd)
            return pMainWnd->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg)
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL)
        return pThread->PreTranslateMessage(pMsg);
    return fx::detail::InternalPreTranslateMessage(pMsg);
}

BOOL AFXAPI AfxDispatchWideChar(const MSG* pMsg)
{
    if ((pMsg->message != WM_CHAR && pMsg->message != WM_IME_CHAR) || pMsg->hwnd == NULL)
        return FALSE;
    const WCHAR ch = (WCHAR)pMsg->wParam;
    if (ch < 0x80)
        return FALSE; // the same in both forms
    const HWND hWnd = pMsg->hwnd;
    if (::IsWindowUnicode(hWnd)) {
        ::DispatchMessageW(pMsg);
        return TRUE;
    }
    if (pMsg->message == WM_IME_CHAR) {
        // An input method's character goes on as WM_CHAR, posted as the
        // default procedure does, so it keeps its place among the others.
        ::PostMessageW(hWnd, WM_CHAR, pMsg->wParam, pMsg->lParam);
        return TRUE;
    }
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    const WCHAR chHigh = pState->m_hWndHighSurrogate == hWnd ? pState->m_chHighSurrogate : 0;
    pState->m_chHighSurrogate = 0;
    pState->m_hWndHighSurrogate = NULL;
    if (IS_HIGH_SURROGATE(ch)) {
        pState->m_chHighSurrogate = ch;
        pState->m_hWndHighSurrogate = hWnd;
        return TRUE;
    }
    DWORD cp = ch;
    if (IS_LOW_SURROGATE(ch)) {
        if (chHigh == 0)
            return TRUE; // half a pair: no character
        cp = 0x10000 + (((DWORD)chHigh - 0xD800) << 10) + ((DWORD)ch - 0xDC00);
    }
    if (CWnd::FromHandlePermanent(hWnd) != NULL) {
        ::SendMessageA(hWnd, WM_UNICHAR, cp, pMsg->lParam);
    } else {
        WNDPROC pfnWide = (WNDPROC)::GetWindowLongPtrW(hWnd, GWLP_WNDPROC);
        if (chHigh != 0)
            ::CallWindowProcW(pfnWide, hWnd, WM_CHAR, chHigh, pMsg->lParam);
        ::CallWindowProcW(pfnWide, hWnd, WM_CHAR, ch, pMsg->lParam);
    }
    return TRUE;
}

BOOL AFXAPI fx::detail::InternalPumpMessage()
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (!::GetMessageW(&pState->m_msgCur, NULL, 0, 0))
        return FALSE;
    // Apart from characters beyond ASCII, a posted message is the same in
    // its wide and ANSI forms.
    if (AfxDispatchWideChar(&pState->m_msgCur))
        return TRUE;
    if (pState->m_msgCur.message != WM_KICKIDLE && !AfxPreTranslateMessage(&pState->m_msgCur)) {
        ::TranslateMessage(&pState->m_msgCur);
        ::DispatchMessageA(&pState->m_msgCur);
    }
    return TRUE;
}

BOOL AFXAPI AfxPumpMessage()
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL)
        return pThread->PumpMessage();
    return fx::detail::InternalPumpMessage();
}

BOOL AFXAPI fx::detail::InternalIsIdleMessage(MSG* pMsg)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        // Only a real move restarts idle work.
        if (pState->m_ptCursorLast == pMsg->pt && pMsg->message == pState->m_nMsgLast)
            return FALSE;
        pState->m_ptCursorLast = pMsg->pt;
        pState->m_nMsgLast = pMsg->message;
        return TRUE;
    }
    // WM_PAINT and the caret blink timer do not either.
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

BOOL AFXAPI AfxIsIdleMessage(MSG* pMsg)
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL)
        return pThread->IsIdleMessage(pMsg);
    return fx::detail::InternalIsIdleMessage(pMsg);
}

BOOL AFXAPI AfxInternalOnIdle(LONG lCount)
{
    if (lCount <= 0) {
        // Command states of the main window and its bars.
        CWnd* pMainWnd = AfxGetMainWnd();
        if (pMainWnd != NULL && pMainWnd->m_hWnd != NULL && pMainWnd->IsWindowVisible()) {
            AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0, TRUE, TRUE);
        }
    } else if (lCount == 1) {
        // Temporary handle-map objects are released.
        if (AfxGetThreadState()->m_nTempMapLock == 0)
            fx::detail::DeleteAllTempMaps();
    }
    return lCount < 1;
}
