// Window hook chains and the window map.
#include <qx/windowhook.h>

IMPLEMENT_DYNAMIC(CQXWndHook, CObject)
IMPLEMENT_DYNAMIC(CQXWindowMap, CMapPtrToPtr)

namespace {
WNDPROC CurrentWndProc(HWND hWnd) { return (WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC); }
} // namespace

// ---------------------------------------------------------------------------

CQXWndHook::CQXWndHook() : m_hWnd(NULL), m_pOldWndProc(NULL), m_pNext(NULL) {}

CQXWndHook::~CQXWndHook()
{
    // A window that is gone has already unhooked everything (WM_NCDESTROY).
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        CQXWindowMap::Instance()->Unlink(this);
        m_pOldWndProc = NULL;
    }
    m_hWnd = NULL;
}

BOOL CQXWndHook::IsWindowHooked() { return m_hWnd != NULL && ::IsWindow(m_hWnd); }

BOOL CQXWndHook::HookWindow(CWnd* pWnd) { return SetWindow(pWnd ? pWnd->GetSafeHwnd() : NULL); }

BOOL CQXWndHook::SetWindow(HWND hWnd)
{
    if (hWnd) {
        CQXWindowMap::Instance()->Insert(hWnd, this);
    } else if (m_hWnd) {
        CQXWindowMap::Instance()->Unlink(this);
        m_pOldWndProc = NULL;
    }
    m_hWnd = hWnd;
    return TRUE;
}

LRESULT CQXWndHook::DefaultProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (m_pNext)
        return m_pNext->DefaultProc(nMessage, wParam, lParam);
    if (m_pOldWndProc)
        return ::CallWindowProcA(m_pOldWndProc, m_hWnd, nMessage, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, nMessage, wParam, lParam);
}

// ---------------------------------------------------------------------------

CQXWindowMap::CQXWindowMap() : CMapPtrToPtr(10) {}

CQXWindowMap::~CQXWindowMap() {}

CQXWindowMap* AFXAPI CQXWindowMap::Instance()
{
    static CQXWindowMap s_map;
    return &s_map;
}

CQXWndHook* CQXWindowMap::LookupHook(HWND hWnd) const
{
    void* p = NULL;
    if (!Lookup((void*)hWnd, p))
        return NULL;
    return static_cast<CQXWndHook*>(p);
}

void CQXWindowMap::Insert(HWND hWnd, CQXWndHook* pHook)
{
    if (!hWnd || !pHook)
        return;
    CQXWndHook* pHead = LookupHook(hWnd);
    pHook->m_pNext = pHead;
    if (pHead) {
        pHook->m_pOldWndProc = pHead->m_pOldWndProc;
    } else {
        auto pass = m_passThrough.find(hWnd);
        if (pass != m_passThrough.end()) {
            // Our procedure is still in the chain below another subclasser.
            pHook->m_pOldWndProc = pass->second;
            m_passThrough.erase(pass);
        } else {
            pHook->m_pOldWndProc = CurrentWndProc(hWnd);
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)HookedWindowProc);
        }
    }
    SetAt((void*)hWnd, pHook);
}

void CQXWindowMap::Unlink(CQXWndHook* pHook)
{
    if (!pHook || !pHook->m_hWnd)
        return;
    HWND hWnd = pHook->m_hWnd;
    CQXWndHook* pHead = LookupHook(hWnd);
    if (!pHead)
        return;
    if (pHead == pHook) {
        if (pHook->m_pNext) {
            SetAt((void*)hWnd, pHook->m_pNext);
        } else {
            RemoveKey((void*)hWnd);
            if (::IsWindow(hWnd)) {
                if (CurrentWndProc(hWnd) == HookedWindowProc)
                    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)pHook->m_pOldWndProc);
                else
                    m_passThrough[hWnd] = pHook->m_pOldWndProc;  // never cut out the later subclasser
            }
        }
        return;
    }
    for (CQXWndHook* p = pHead; p; p = p->m_pNext) {
        if (p->m_pNext == pHook) {
            p->m_pNext = pHook->m_pNext;
            return;
        }
    }
}

void CQXWindowMap::UnhookAll(HWND hWnd)
{
    for (int guard = 0; guard < 10000; ++guard) {
        CQXWndHook* pHead = LookupHook(hWnd);
        if (!pHead)
            return;
        pHead->SetWindow(NULL);
        if (LookupHook(hWnd) == pHead)
            Unlink(pHead);  // an override that did not detach
    }
}

LRESULT CALLBACK HookedWindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    const MSG saved = pState->m_lastSentMsg;
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = nMessage;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;

    LRESULT lResult;
    CQXWindowMap* pMap = CQXWindowMap::Instance();
    CQXWndHook* pHead = pMap->LookupHook(hWnd);
    if (!pHead) {
        auto pass = pMap->m_passThrough.find(hWnd);
        if (pass == pMap->m_passThrough.end()) {
            lResult = ::DefWindowProcA(hWnd, nMessage, wParam, lParam);
        } else {
            WNDPROC pfnOld = pass->second;
            if (nMessage == WM_NCDESTROY) {
                pMap->m_passThrough.erase(pass);
            } else if (CurrentWndProc(hWnd) == HookedWindowProc) {
                ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)pfnOld);
                pMap->m_passThrough.erase(pass);
            }
            lResult = ::CallWindowProcA(pfnOld, hWnd, nMessage, wParam, lParam);
        }
    } else if (nMessage == WM_NCDESTROY) {
        WNDPROC pfnOld = pHead->m_pOldWndProc;
        pMap->UnhookAll(hWnd);
        lResult = ::CallWindowProcA(pfnOld, hWnd, nMessage, wParam, lParam);
    } else {
        lResult = pHead->DefaultProc(nMessage, wParam, lParam);
    }
    pState->m_lastSentMsg = saved;
    return lResult;
}
