// Window subclass chains: links, the window map and the one procedure.
#include <qx/windowhook.h>

IMPLEMENT_DYNAMIC(CSubclassLink, CObject)
IMPLEMENT_DYNAMIC(CQXWndHook, CSubclassLink)
IMPLEMENT_DYNAMIC(CQXWindowMap, CMapPtrToPtr)

namespace {
WNDPROC CurrentWndProc(HWND hWnd) { return (WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC); }

// Saves the thread's record of the message being handled, sets it to the
// current message and puts the old one back at the end.
class CurrentMessageScope {
public:
    CurrentMessageScope(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
        : m_pState(AfxGetThreadState()), m_saved(m_pState->m_lastSentMsg)
    {
        m_pState->m_lastSentMsg.hwnd = hWnd;
        m_pState->m_lastSentMsg.message = nMessage;
        m_pState->m_lastSentMsg.wParam = wParam;
        m_pState->m_lastSentMsg.lParam = lParam;
    }
    ~CurrentMessageScope() { m_pState->m_lastSentMsg = m_saved; }
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

private:
    AFX_THREAD_STATE* m_pState;
    MSG m_saved;
};
} // namespace

// ---------------------------------------------------------------------------
// Links

CSubclassLink::CSubclassLink() : m_hWnd(NULL), m_pOldWndProc(NULL), m_pNext(NULL) {}

CSubclassLink::~CSubclassLink()
{
    // A window that is gone has already let every link go (WM_NCDESTROY).
    if (m_hWnd && ::IsWindow(m_hWnd))
        CQXWindowMap::Instance()->Unlink(this);
    m_hWnd = NULL;
}

void CSubclassLink::OnLinkWindowDestroyed() { LeaveWindow(); }

BOOL CSubclassLink::JoinWindow(HWND hWnd)
{
    if (!hWnd)
        return FALSE;
    LeaveWindow(); // one window at a time
    CQXWindowMap::Instance()->Insert(hWnd, this);
    m_hWnd = hWnd;
    return TRUE;
}

void CSubclassLink::LeaveWindow()
{
    if (!m_hWnd)
        return;
    CQXWindowMap::Instance()->Unlink(this);
    m_hWnd = NULL;
}

LRESULT CSubclassLink::CallNextLink(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (m_pNext)
        return m_pNext->OnLinkMessage(nMessage, wParam, lParam);
    // A link that left while handling the message still knows the window
    // from the message being handled.
    HWND hWnd = m_hWnd ? m_hWnd : AfxGetThreadState()->m_lastSentMsg.hwnd;
    if (m_pOldWndProc)
        return ::CallWindowProcA(m_pOldWndProc, hWnd, nMessage, wParam, lParam);
    return ::DefWindowProcA(hWnd, nMessage, wParam, lParam);
}

// ---------------------------------------------------------------------------
// CQXWndHook

CQXWndHook::CQXWndHook() {}

CQXWndHook::~CQXWndHook()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        LeaveWindow();
    m_hWnd = NULL;
}

BOOL CQXWndHook::IsWindowHooked() { return m_hWnd != NULL && ::IsWindow(m_hWnd); }

BOOL CQXWndHook::HookWindow(CWnd* pWnd) { return SetWindow(pWnd ? pWnd->GetSafeHwnd() : NULL); }

BOOL CQXWndHook::SetWindow(HWND hWnd)
{
    if (hWnd)
        JoinWindow(hWnd);
    else
        LeaveWindow();
    return TRUE;
}

LRESULT CQXWndHook::DefaultProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return CallNextLink(nMessage, wParam, lParam);
}

LRESULT CQXWndHook::OnLinkMessage(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return DefaultProc(nMessage, wParam, lParam);
}

void CQXWndHook::OnLinkWindowDestroyed() { SetWindow(NULL); }

// ---------------------------------------------------------------------------
// The window map

CQXWindowMap::CQXWindowMap() : CMapPtrToPtr(10) {}

CQXWindowMap::~CQXWindowMap() {}

CQXWindowMap* AFXAPI CQXWindowMap::Instance()
{
    static CQXWindowMap s_map;
    return &s_map;
}

CSubclassLink* CQXWindowMap::LookupLink(HWND hWnd) const
{
    void* p = NULL;
    if (!hWnd || !Lookup((void*)hWnd, p))
        return NULL;
    return static_cast<CSubclassLink*>(p);
}

CQXWndHook* CQXWindowMap::LookupHook(HWND hWnd) const
{
    for (CSubclassLink* p = LookupLink(hWnd); p; p = p->m_pNext) {
        if (p->IsKindOf(RUNTIME_CLASS(CQXWndHook)))
            return static_cast<CQXWndHook*>(p);
    }
    return NULL;
}

LRESULT CQXWindowMap::CallFrom(HWND hWnd, CSubclassLink* pLink, WNDPROC pfnOld, UINT nMessage, WPARAM wParam,
                               LPARAM lParam)
{
    for (CSubclassLink* p = pLink ? LookupLink(hWnd) : NULL; p; p = p->m_pNext) {
        if (p == pLink)
            return p->OnLinkMessage(nMessage, wParam, lParam);
    }
    if (pfnOld)
        return ::CallWindowProcA(pfnOld, hWnd, nMessage, wParam, lParam);
    return ::DefWindowProcA(hWnd, nMessage, wParam, lParam);
}

void CQXWindowMap::Insert(HWND hWnd, CSubclassLink* pLink)
{
    if (!hWnd || !pLink)
        return;
    CSubclassLink* pHead = LookupLink(hWnd);
    pLink->m_pNext = pHead;
    if (pHead) {
        pLink->m_pOldWndProc = pHead->m_pOldWndProc;
    } else {
        auto pass = m_passThrough.find(hWnd);
        if (pass != m_passThrough.end()) {
            // Our procedure is still in the chain below another subclasser.
            pLink->m_pOldWndProc = pass->second;
            m_passThrough.erase(pass);
        } else {
            pLink->m_pOldWndProc = CurrentWndProc(hWnd);
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)HookedWindowProc);
        }
    }
    SetAt((void*)hWnd, pLink);
}

void CQXWindowMap::Unlink(CSubclassLink* pLink)
{
    if (!pLink || !pLink->m_hWnd)
        return;
    HWND hWnd = pLink->m_hWnd;
    CSubclassLink* pHead = LookupLink(hWnd);
    if (!pHead)
        return;
    if (pHead == pLink) {
        if (pLink->m_pNext) {
            SetAt((void*)hWnd, pLink->m_pNext);
        } else {
            RemoveKey((void*)hWnd);
            if (::IsWindow(hWnd)) {
                if (CurrentWndProc(hWnd) == HookedWindowProc)
                    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)pLink->m_pOldWndProc);
                else
                    m_passThrough[hWnd] = pLink->m_pOldWndProc; // never cut out the later subclasser
            }
        }
        return;
    }
    for (CSubclassLink* p = pHead; p; p = p->m_pNext) {
        if (p->m_pNext == pLink) {
            p->m_pNext = pLink->m_pNext;
            return;
        }
    }
}

void CQXWindowMap::UnhookAll(HWND hWnd)
{
    for (int guard = 0; guard < 10000; ++guard) {
        CSubclassLink* pHead = LookupLink(hWnd);
        if (!pHead)
            return;
        pHead->OnLinkWindowDestroyed();
        if (LookupLink(hWnd) == pHead) {
            Unlink(pHead); // an override that did not leave
            pHead->m_hWnd = NULL;
        }
    }
}

LRESULT CALLBACK HookedWindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CurrentMessageScope scope(hWnd, nMessage, wParam, lParam);
    CQXWindowMap* pMap = CQXWindowMap::Instance();
    CSubclassLink* pHead = pMap->LookupLink(hWnd);
    if (!pHead) {
        auto pass = pMap->m_passThrough.find(hWnd);
        if (pass == pMap->m_passThrough.end())
            return ::DefWindowProcA(hWnd, nMessage, wParam, lParam);
        WNDPROC pfnOld = pass->second;
        if (nMessage == WM_NCDESTROY) {
            pMap->m_passThrough.erase(pass);
        } else if (CurrentWndProc(hWnd) == HookedWindowProc) {
            // The subclasser above us has left: step out of the way too.
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)pfnOld);
            pMap->m_passThrough.erase(pass);
        }
        return ::CallWindowProcA(pfnOld, hWnd, nMessage, wParam, lParam);
    }
    if (nMessage == WM_NCDESTROY) {
        WNDPROC pfnOld = pHead->m_pOldWndProc;
        pMap->UnhookAll(hWnd);
        return ::CallWindowProcA(pfnOld, hWnd, nMessage, wParam, lParam);
    }
    return pHead->OnLinkMessage(nMessage, wParam, lParam);
}
