// The window hook manager and the per-thread keyboard hook.
#include <qx/hooks.h>

#include <fx/ui.h>

#include <algorithm>
#include <memory>

int CWindowHook::OnHookMessage(HWND, UINT, WPARAM&, LPARAM&, LRESULT&) { return kNotHandled; }

namespace {
bool Contains(const std::vector<CWindowHook*>& v, CWindowHook* p) { return std::find(v.begin(), v.end(), p) != v.end(); }
} // namespace

// ---------------------------------------------------------------------------
// Window hook manager

// The hooks of one window, and the manager's link on its chain.
class CWindowHookManager::HookList : public CSubclassLink {
public:
    HookList(CWindowHookManager* pManager, HWND hWnd) : m_pManager(pManager), m_hWndHooked(hWnd) {}
    ~HookList() override { LeaveWindow(); }
    BOOL Join() { return JoinWindow(m_hWndHooked); }
    void Leave() { LeaveWindow(); }
    LRESULT PassOn(UINT nMessage, WPARAM wParam, LPARAM lParam) { return CallNextLink(nMessage, wParam, lParam); }

    CWindowHookManager* m_pManager;
    HWND m_hWndHooked;
    std::vector<CWindowHook*> hooks;

protected:
    LRESULT OnLinkMessage(UINT nMessage, WPARAM wParam, LPARAM lParam) override
    {
        return m_pManager->Dispatch(this, nMessage, wParam, lParam);
    }
    // Every hook of the window goes (auto-delete ones are deleted).
    void OnLinkWindowDestroyed() override { m_pManager->RemoveHooks(m_hWndHooked); }
};

CWindowHookManager* AFXAPI CWindowHookManager::Instance()
{
    // The chains' map is made first so that it outlives the manager, whose
    // destruction takes its links off (statics end in reverse order).
    CQXWindowMap::Instance();
    static CWindowHookManager s_manager;
    return &s_manager;
}

CWindowHookManager::~CWindowHookManager()
{
    while (!m_lists.empty())
        DestroyList(m_lists.begin()->second);
}

void CWindowHookManager::SetHook(HWND hWnd, CWindowHook* pHook)
{
    if (!hWnd || !pHook || !::IsWindow(hWnd))
        return;
    HookList* pList;
    auto it = m_lists.find(hWnd);
    if (it != m_lists.end()) {
        pList = it->second;
    } else {
        pList = new HookList(this, hWnd);
        pList->Join();
        m_lists[hWnd] = pList;
    }
    if (!Contains(pList->hooks, pHook))
        pList->hooks.push_back(pHook);
}

void CWindowHookManager::DestroyList(HookList* pList)
{
    m_lists.erase(pList->m_hWndHooked);
    pList->Leave();
    for (size_t i = pList->hooks.size(); i-- > 0;) {
        CWindowHook* pHook = pList->hooks[i];
        // A hook still set on another window stays alive there.
        bool bElsewhere = std::any_of(m_lists.begin(), m_lists.end(), [&](const std::pair<const HWND, HookList*>& e) {
            return Contains(e.second->hooks, pHook);
        });
        if (pHook->m_bAutoDelete && !bElsewhere)
            delete pHook;
    }
    delete pList;
}

void CWindowHookManager::RemoveHook(HWND hWnd, CWindowHook* pHook)
{
    auto it = m_lists.find(hWnd);
    if (it == m_lists.end())
        return;
    HookList* pList = it->second;
    auto pos = std::find(pList->hooks.begin(), pList->hooks.end(), pHook);
    if (pos == pList->hooks.end())
        return;
    pList->hooks.erase(pos);
    if (pHook->m_bAutoDelete && !std::any_of(m_lists.begin(), m_lists.end(), [&](const std::pair<const HWND, HookList*>& e) {
            return Contains(e.second->hooks, pHook);
        }))
        delete pHook;
    if (pList->hooks.empty())
        DestroyList(pList);
}

void CWindowHookManager::RemoveHook(CWindowHook* pHook)
{
    std::vector<HWND> windows;
    for (const auto& e : m_lists) {
        if (Contains(e.second->hooks, pHook))
            windows.push_back(e.first);
    }
    for (HWND hWnd : windows)
        RemoveHook(hWnd, pHook);
}

void CWindowHookManager::RemoveHooks(HWND hWnd)
{
    auto it = m_lists.find(hWnd);
    if (it != m_lists.end())
        DestroyList(it->second);
}

BOOL CWindowHookManager::IsHooked(HWND hWnd) const { return m_lists.find(hWnd) != m_lists.end(); }

int CWindowHookManager::GetHookCount(HWND hWnd) const
{
    auto it = m_lists.find(hWnd);
    return it != m_lists.end() ? (int)it->second->hooks.size() : 0;
}

LRESULT CWindowHookManager::Dispatch(HookList* pList, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    const HWND hWnd = pList->m_hWndHooked;
    // Hooks may add or remove hooks while they run (even the last one, which
    // deletes the list): walk a copy and skip the ones that have left the
    // window meanwhile. The link's next step is taken before the hooks run.
    std::vector<CWindowHook*> hooks = pList->hooks;
    CSubclassLink* pNext = pList->m_pNext;
    const WNDPROC pfnOld = pList->m_pOldWndProc;
    for (size_t i = hooks.size(); i-- > 0;) {
        auto now = m_lists.find(hWnd);
        if (now == m_lists.end() || now->second != pList || !Contains(pList->hooks, hooks[i]))
            continue;
        LRESULT lResult = 0;
        int r = hooks[i]->OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
        if (r == CWindowHook::kHandled)
            return lResult;
        if (r == CWindowHook::kStopChain)
            break;
    }
    auto now = m_lists.find(hWnd);
    if (now != m_lists.end() && now->second == pList)
        return pList->PassOn(nMessage, wParam, lParam);
    // The list went while its hooks ran: pass the message on as its link
    // would have.
    return CQXWindowMap::Instance()->CallFrom(hWnd, pNext, pfnOld, nMessage, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Keyboard hook

namespace {
thread_local std::unique_ptr<CKeyboardHook> t_pKeyboardHook;
}

CKeyboardHook* AFXAPI CKeyboardHook::Instance()
{
    if (!t_pKeyboardHook)
        t_pKeyboardHook.reset(new CKeyboardHook);
    return t_pKeyboardHook.get();
}

CKeyboardHook::~CKeyboardHook() { RemoveSystemHooks(); }

void CKeyboardHook::RemoveSystemHooks()
{
    if (m_hCallWndHook) {
        ::UnhookWindowsHookEx(m_hCallWndHook);
        m_hCallWndHook = NULL;
    }
    if (m_hKeyboardHook) {
        ::UnhookWindowsHookEx(m_hKeyboardHook);
        m_hKeyboardHook = NULL;
    }
}

void CKeyboardHook::Install(CWindowHook* pHook)
{
    if (!pHook)
        return;
    if (!m_hKeyboardHook) {
        m_hKeyboardHook = ::SetWindowsHookExA(WH_KEYBOARD, KeyboardProc, NULL, ::GetCurrentThreadId());
        m_hCallWndHook = ::SetWindowsHookExA(WH_CALLWNDPROC, CallWndProc, NULL, ::GetCurrentThreadId());
    }
    if (!Contains(m_hooks, pHook))
        m_hooks.push_back(pHook);
}

void CKeyboardHook::Uninstall(CWindowHook* pHook)
{
    auto pos = std::find(m_hooks.begin(), m_hooks.end(), pHook);
    if (pos != m_hooks.end())
        m_hooks.erase(pos);
    if (m_hooks.empty())
        RemoveSystemHooks();
}

BOOL CKeyboardHook::NotifyHooks(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    std::vector<CWindowHook*> hooks = m_hooks;
    for (size_t i = hooks.size(); i-- > 0;) {
        if (!Contains(m_hooks, hooks[i]))
            continue;
        WPARAM wp = wParam;
        LPARAM lp = lParam;
        LRESULT lResult = 0;
        int r = hooks[i]->OnHookMessage(NULL, nMessage, wp, lp, lResult);
        if (r == CWindowHook::kHandled)
            return TRUE;
        if (r == CWindowHook::kStopChain)
            return FALSE;
    }
    return TRUE;
}

LRESULT CALLBACK CKeyboardHook::KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    CKeyboardHook* pThis = Instance();
    if (nCode != HC_ACTION || (lParam & 0x80000000) || pThis->m_hooks.empty())
        return ::CallNextHookEx(pThis->m_hKeyboardHook, nCode, wParam, lParam);
    if (lParam & 0x20000000) {
        int nLock = pThis->m_pTracking ? pThis->m_pTracking->GetTrackingLock() : 0;
        if (wParam == VK_MENU && nLock <= 0) {
            if (lParam & 0x40000000) // auto-repeat
                return ::CallNextHookEx(pThis->m_hKeyboardHook, nCode, wParam, lParam);
            if (pThis->m_pTracking)
                pThis->m_pTracking->SendTrackLost();
            return 1;
        }
    }
    if (pThis->NotifyHooks(WM_KEYDOWN, wParam, lParam))
        return 1;
    return ::CallNextHookEx(pThis->m_hKeyboardHook, nCode, wParam, lParam);
}

LRESULT CALLBACK CKeyboardHook::CallWndProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    CKeyboardHook* pThis = Instance();
    if (nCode == HC_ACTION && lParam) {
        const CWPSTRUCT* p = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (p->message == WM_ACTIVATEAPP && !p->wParam && pThis->m_pTracking)
            pThis->m_pTracking->SendTrackLost();
    }
    return ::CallNextHookEx(pThis->m_hCallWndHook, nCode, wParam, lParam);
}
