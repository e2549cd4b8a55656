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

BOOL AFXAPI fx::detail::InternalPumpMessage()
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (!::GetMessageA(&pState->m_msgCur, NULL, 0, 0))
        return FALSE;
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
