// CWnd: handle maps, creation, subclassing and the window wrappers.
#include "fx/wnd.h"
#include "fx/app.h"
#include "fx/except.h"
#include "handlemap.h"
#include <shellapi.h>
#include <cstdio>
#include <mutex>
#include <new>
#include <stdexcept>
#include <set>
#include <string>

namespace {

void ClearWnd(CWnd* p) { p->m_hWnd = NULL; }

fx::detail::HandleMap<CWnd, HWND>& WndMap()
{
    // Never destroyed: window objects may outlive static destruction.
    static auto* map = new fx::detail::HandleMap<CWnd, HWND>(&ClearWnd);
    return *map;
}

} // namespace

size_t fx::detail::WndTempCount() { return WndMap().TemporaryCount(); }

namespace {

CWnd* NewTempWnd(HWND h)
{
    CWnd* p = new CWnd;
    p->m_hWnd = h;
    return p;
}

bool IsImeClass(HWND hWnd)
{
    char szClass[32];
    if (::GetClassNameA(hWnd, szClass, sizeof(szClass)) == 0)
        return false;
    return lstrcmpiA(szClass, "IME") == 0 || lstrcmpiA(szClass, "MSCTFIME UI") == 0;
}

LRESULT CALLBACK CbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (nCode != HCBT_CREATEWND)
        return ::CallNextHookEx(pState->m_hHookOldCbtFilter, nCode, wParam, lParam);

    HWND hWnd = (HWND)wParam;
    CWnd* pWndInit = pState->m_pWndInit;
    if (pWndInit != NULL && !IsImeClass(hWnd)) {
        pState->m_pWndInit = NULL;
        pWndInit->Attach(hWnd);
        pWndInit->PreSubclassWindow();
        WNDPROC oldWndProc = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)&AfxWndProc);
        if (oldWndProc != &AfxWndProc)
            pWndInit->m_pfnSuper = oldWndProc;
    }
    return ::CallNextHookEx(pState->m_hHookOldCbtFilter, nCode, wParam, lParam);
}

// Parent or owner of a window: the parent of a child, the owner of a pop-up.
HWND ParentOwnerOf(HWND hWnd)
{
    if (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD)
        return ::GetParent(hWnd);
    return ::GetWindow(hWnd, GW_OWNER);
}

} // namespace

LRESULT fx::detail::DefaultWndProcException(CException* e, const MSG* pMsg)
{
    if (pMsg->message == WM_CREATE)
        return -1; // the window is not created
    if (pMsg->message == WM_PAINT)
        ::ValidateRect(pMsg->hwnd, NULL); // or it would be painted again and again
    if (!e->IsKindOf(RUNTIME_CLASS(CUserException)))
        e->ReportError(MB_ICONEXCLAMATION);
    return 0;
}

// ---------------------------------------------------------------------------
// Message-map argument helpers

namespace fx {
namespace msg {
CWnd* Wnd(HWND hWnd) { return CWnd::FromHandle(hWnd); }
CDC* Dc(HDC hDC) { return CDC::FromHandle(hDC); }
CMenu* Menu(HMENU hMenu) { return CMenu::FromHandle(hMenu); }
HWND HwndOf(const CWnd* pWnd) { return pWnd->GetSafeHwnd(); }
} // namespace msg
} // namespace fx

// ---------------------------------------------------------------------------
// Window procedure and creation hook

LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    MSG oldState = pState->m_lastSentMsg;
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = nMsg;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;

    LRESULT lResult = 0;
    try {
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (CException* e) {
        // No exception may unwind through the system's frames.
        CWinThread* pThread = AfxGetThread();
        lResult = pThread != NULL ? pThread->ProcessWndProcException(e, &pState->m_lastSentMsg)
                                  : fx::detail::DefaultWndProcException(e, &pState->m_lastSentMsg);
        e->Delete();
    } catch (const std::bad_alloc&) {
        CMemoryException e(FALSE);
        lResult = fx::detail::DefaultWndProcException(&e, &pState->m_lastSentMsg);
    } catch (const std::exception& ex) {
        CSimpleException e(FALSE, ex.what());
        lResult = fx::detail::DefaultWndProcException(&e, &pState->m_lastSentMsg);
    }

    // The object is detached after WM_NCDESTROY even when a derived handler
    // did not call the base OnNcDestroy. (When it did, the object may be
    // gone: look it up again instead of touching pWnd.)
    if (nMsg == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd)
        pWnd->FinishNcDestroy();

    pState->m_lastSentMsg = oldState;
    return lResult;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_QUERYAFXWNDPROC)
        return 1;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL || pWnd->m_hWnd != hWnd)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

WNDPROC AFXAPI AfxGetAfxWndProc() { return &AfxWndProc; }

void AFXAPI AfxHookWindowCreate(CWnd* pWnd)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_hHookOldCbtFilter == NULL) {
        pState->m_hHookOldCbtFilter = ::SetWindowsHookExA(WH_CBT, &CbtFilterHook, NULL, ::GetCurrentThreadId());
        if (pState->m_hHookOldCbtFilter == NULL)
            AfxThrowMemoryException();
    }
    pState->m_pWndInit = pWnd;
}

BOOL AFXAPI AfxUnhookWindowCreate()
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_hHookOldCbtFilter != NULL) {
        ::UnhookWindowsHookEx(pState->m_hHookOldCbtFilter);
        pState->m_hHookOldCbtFilter = NULL;
    }
    if (pState->m_pWndInit != NULL) {
        pState->m_pWndInit = NULL;
        return FALSE; // no window was created
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Window classes

LPCSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    static std::mutex s_lock;
    static auto* s_names = new std::set<std::string>;

    HINSTANCE hInst = AfxGetInstanceHandle();
    char szName[128];
    if (hCursor == NULL && hbrBackground == NULL && hIcon == NULL)
        snprintf(szName, sizeof(szName), "Fx:%p:%x", (void*)hInst, nClassStyle);
    else
        snprintf(szName, sizeof(szName), "Fx:%p:%x:%p:%p:%p", (void*)hInst, nClassStyle, (void*)hCursor,
                 (void*)hbrBackground, (void*)hIcon);

    std::lock_guard<std::mutex> guard(s_lock);
    const std::string& name = *s_names->insert(szName).first;
    WNDCLASSA wc;
    if (!::GetClassInfoA(hInst, name.c_str(), &wc)) {
        ZeroMemory(&wc, sizeof(wc));
        wc.style = nClassStyle;
        wc.lpfnWndProc = &::DefWindowProcA;
        wc.hInstance = hInst;
        wc.hIcon = hIcon;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.lpszClassName = name.c_str();
        if (!::RegisterClassA(&wc))
            AfxThrowResourceException();
    }
    return name.c_str();
}

BOOL AFXAPI AfxRegisterClass(WNDCLASSA* lpWndClass)
{
    WNDCLASSA wndcls;
    if (::GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &wndcls))
        return TRUE;
    return ::RegisterClassA(lpWndClass) != 0;
}

BOOL AFXAPI AfxDeferRegisterClass(LPCSTR lpszClassName)
{
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = &::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    if (lstrcmpA(lpszClassName, AFX_WND_CLASS) == 0) {
        wc.style = CS_DBLCLKS;
    } else if (lstrcmpA(lpszClassName, AFX_WNDFRAMEORVIEW_CLASS) == 0) {
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.hIcon = ::LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
    } else {
        return FALSE;
    }
    wc.lpszClassName = lpszClassName;
    return AfxRegisterClass(&wc);
}

// ---------------------------------------------------------------------------
// CWnd: construction and handle maps

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::CWnd() : m_hWnd(NULL), m_pfnSuper(NULL), m_nFlags(0), m_nModalResult(0), m_hWndOwner(NULL) {}

CWnd::CWnd(HWND hWnd) : m_hWnd(hWnd), m_pfnSuper(NULL), m_nFlags(0), m_nModalResult(0), m_hWndOwner(NULL) {}

CWnd::~CWnd()
{
    // A window still attached to this object is destroyed with it (its
    // messages would otherwise reach a deleted object).
    if (m_hWnd != NULL && ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    if (m_hWnd != NULL && FromHandlePermanent(m_hWnd) == this)
        Detach();
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd) { return WndMap().FromHandle(hWnd, &NewTempWnd); }
CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd) { return WndMap().LookupPermanent(hWnd); }
void PASCAL CWnd::DeleteTempMap() { WndMap().DeleteTemp(); }

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == NULL)
        return FALSE;
    CWnd* pOther = FromHandlePermanent(hWndNew);
    if (pOther != NULL && pOther != this)
        return FALSE; // already attached to another object
    WndMap().SetPermanent(hWndNew, this);
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != NULL)
        WndMap().RemovePermanent(hWnd, this);
    m_hWnd = NULL;
    return hWnd;
}

// ---------------------------------------------------------------------------
// Creation and destruction

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == NULL) {
        AfxDeferRegisterClass(AFX_WND_CLASS);
        cs.lpszClass = AFX_WND_CLASS;
    }
    return TRUE;
}

void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}
void CWnd::OnFinalRelease()
{
    if (m_hWnd != NULL)
        DestroyWindow();
    else
        PostNcDestroy();
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, (LPVOID)pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd != NULL)
        return FALSE; // already has a window

    CREATESTRUCTA cs;
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = (LONG)dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;

    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }

    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    AfxUnhookWindowCreate();
    if (hWnd == NULL)
        return FALSE; // a window that was created and destroyed again has been detached already
    if (m_hWnd != hWnd && FromHandlePermanent(hWnd) == NULL)
        SubclassWindow(hWnd); // the hook missed it (should not happen)
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == NULL)
        return FALSE;
    HWND hWndOrig = m_hWnd;
    BOOL bAttached = FromHandlePermanent(hWndOrig) == this;
    BOOL bResult = ::DestroyWindow(hWndOrig);
    if (!bAttached) {
        m_hWnd = NULL; // a plain wrapper
    } else if (FromHandlePermanent(hWndOrig) == this) {
        // Still mapped: the window was attached without the framework's
        // procedure, so WM_NCDESTROY never reached this object (which was
        // therefore not deleted either).
        if (bResult || !::IsWindow(hWndOrig))
            Detach();
    }
    return bResult;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC oldWndProc = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)&AfxWndProc);
    if (oldWndProc != &AfxWndProc)
        m_pfnSuper = oldWndProc;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(pParent->GetSafeHwnd(), (int)nID);
    if (hWndControl == NULL)
        return FALSE;
    return SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper != NULL) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
        m_pfnSuper = NULL;
    }
    return Detach();
}

namespace {

// A pop-up dialog whose template leaves its place to the program: at 0, 0
// and not centred by the dialog manager (DS_CENTER). Reads both template
// forms (DLGTEMPLATE and the extended one with its 0xFFFF signature).
BOOL TemplateLeavesPlacement(LPCDLGTEMPLATEA lpTemplate)
{
    const WORD* p = reinterpret_cast<const WORD*>(lpTemplate);
    DWORD dwStyle;
    short x, y;
    if (p[0] == 1 && p[1] == 0xFFFF) {
        dwStyle = MAKELONG(p[6], p[7]);
        x = (short)p[9];
        y = (short)p[10];
    } else {
        dwStyle = lpTemplate->style;
        x = lpTemplate->x;
        y = lpTemplate->y;
    }
    return !(dwStyle & (WS_CHILD | DS_CENTER | DS_CENTERMOUSE)) && x == 0 && y == 0;
}

} // namespace

BOOL CWnd::CreateDlgIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst)
{
    if (lpDialogTemplate == NULL || m_hWnd != NULL)
        return FALSE;
    if (hInst == NULL)
        hInst = AfxGetResourceHandle();
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    if (TemplateLeavesPlacement(lpDialogTemplate))
        m_nFlags |= WF_CENTERONINIT;

    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpDialogTemplate, pParentWnd->GetSafeHwnd(), &AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    m_nFlags &= ~WF_CENTERONINIT;
    if (hWnd == NULL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        return FALSE;
    }
    if (m_hWnd != hWnd && FromHandlePermanent(hWnd) == NULL)
        SubclassWindow(hWnd);
    return TRUE;
}

void CWnd::OnNcDestroy()
{
    Default();
    FinishNcDestroy();
}

void CWnd::FinishNcDestroy()
{
    // The thread's main window is gone: the thread's loop ends.
    if (CWinThread* pThread = AfxGetThread()) {
        if (pThread->m_pMainWnd == this) {
            pThread->m_pMainWnd = NULL;
            ::PostQuitMessage(0);
        }
        if (pThread->m_pActiveWnd == this)
            pThread->m_pActiveWnd = NULL;
    }

    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pLastHit == this) {
        pState->m_pLastHit = NULL;
        pState->m_nLastHit = -1;
    }
    if (m_nFlags & WF_MODALLOOP)
        EndModalLoop(IDABORT);

    HWND hWnd = m_hWnd;
    if (m_pfnSuper != NULL && (WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == &AfxWndProc)
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = NULL;
    Detach();
    // May delete this.
    PostNcDestroy();
}

// ---------------------------------------------------------------------------
// Relations and wrappers

CWnd* CWnd::GetOwner() const
{
    return m_hWndOwner != NULL ? FromHandle(m_hWndOwner) : GetParent();
}

CWnd* CWnd::GetParentOwner() const
{
    HWND hWndParent = m_hWnd;
    HWND hWndT;
    while ((::GetWindowLongPtrA(hWndParent, GWL_STYLE) & WS_CHILD) && (hWndT = ::GetParent(hWndParent)) != NULL)
        hWndParent = hWndT;
    return FromHandle(hWndParent);
}

CWnd* CWnd::GetTopLevelParent() const
{
    if (m_hWnd == NULL)
        return NULL;
    HWND hWndParent = m_hWnd;
    HWND hWndT;
    while ((hWndT = ParentOwnerOf(hWndParent)) != NULL)
        hWndParent = hWndT;
    return FromHandle(hWndParent);
}

CWnd* CWnd::GetTopLevelOwner() const
{
    if (m_hWnd == NULL)
        return NULL;
    HWND hWndOwner = m_hWnd;
    HWND hWndT;
    while ((hWndT = ::GetWindow(hWndOwner, GW_OWNER)) != NULL)
        hWndOwner = hWndT;
    return FromHandle(hWndOwner);
}

HWND PASCAL CWnd::GetSafeOwner_(HWND hParent, HWND* pWndTop)
{
    HWND hWnd = hParent;
    if (hWnd == NULL) {
        CWnd* pMainWnd = AfxGetMainWnd();
        hWnd = pMainWnd->GetSafeHwnd();
    }
    // The top-level window above it; a disabled or hidden one is replaced by
    // its last active pop-up.
    while (hWnd != NULL && (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    HWND hWndTop = hWnd;
    HWND hWndT;
    while (hWndTop != NULL && (hWndT = ::GetParent(hWndTop)) != NULL)
        hWndTop = hWndT;
    if (hParent == NULL && hWnd != NULL)
        hWnd = ::GetLastActivePopup(hWnd);
    if (pWndTop != NULL) {
        if (hWndTop != NULL && ::IsWindowEnabled(hWndTop) && hWndTop != hWnd) {
            *pWndTop = hWndTop;
            ::EnableWindow(hWndTop, FALSE);
        } else {
            *pWndTop = NULL;
        }
    }
    return hWnd;
}

CFrameWnd* CWnd::GetParentFrame() const
{
    if (m_hWnd == NULL)
        return NULL;
    for (CWnd* pParentWnd = GetParent(); pParentWnd != NULL; pParentWnd = pParentWnd->GetParent()) {
        // CFrameWnd derives from CWnd alone, so the object address is the
        // same for both.
        if (pParentWnd->IsFrameWnd())
            return reinterpret_cast<CFrameWnd*>(pParentWnd);
    }
    return NULL;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    if (m_hWnd == NULL)
        return NULL;
    const CWnd* pFrame = IsFrameWnd() ? this : reinterpret_cast<const CWnd*>(GetParentFrame());
    while (pFrame != NULL) {
        const CWnd* pParent = reinterpret_cast<const CWnd*>(pFrame->GetParentFrame());
        if (pParent == NULL)
            break;
        pFrame = pParent;
    }
    return reinterpret_cast<CFrameWnd*>(const_cast<CWnd*>(pFrame));
}

CWnd* PASCAL CWnd::GetDescendantWindow(HWND hWnd, int nID, BOOL bOnlyPerm)
{
    // Direct children first, then deeper.
    HWND hWndChild = ::GetDlgItem(hWnd, nID);
    if (hWndChild != NULL) {
        if (::GetTopWindow(hWndChild) != NULL) {
            CWnd* pWnd = GetDescendantWindow(hWndChild, nID, bOnlyPerm);
            if (pWnd != NULL)
                return pWnd;
        }
        if (!bOnlyPerm)
            return FromHandle(hWndChild);
        if (CWnd* pWnd = FromHandlePermanent(hWndChild))
            return pWnd;
    }
    for (hWndChild = ::GetTopWindow(hWnd); hWndChild != NULL; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        if (::GetTopWindow(hWndChild) != NULL) {
            CWnd* pWnd = GetDescendantWindow(hWndChild, nID, bOnlyPerm);
            if (pWnd != NULL)
                return pWnd;
        }
    }
    return NULL;
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const
{
    return GetDescendantWindow(m_hWnd, nID, bOnlyPerm);
}

void CWnd::GetWindowText(CString& rString) const
{
    int nLen = ::GetWindowTextLengthA(m_hWnd);
    if (nLen <= 0) {
        rString.Empty();
        return;
    }
    int nGot = ::GetWindowTextA(m_hWnd, rString.GetBuffer(nLen + 1), nLen + 1);
    rString.ReleaseBuffer(nGot < 0 ? 0 : nGot);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    HWND hWnd = ::GetDlgItem(m_hWnd, nID);
    if (hWnd == NULL)
        return 0;
    int nLen = ::GetWindowTextLengthA(hWnd);
    if (nLen <= 0)
        return 0;
    int nGot = ::GetWindowTextA(hWnd, rString.GetBuffer(nLen + 1), nLen + 1);
    rString.ReleaseBuffer(nGot < 0 ? 0 : nGot);
    return rString.GetLength();
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton)
{
    for (int nID = nIDFirstButton; nID <= nIDLastButton; nID++) {
        if (::IsDlgButtonChecked(m_hWnd, nID))
            return nID;
    }
    return 0;
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    int nResult = 0;
    if (fx::RouteMessageBoxToHook(lpszText, nType, 0, &nResult))
        return nResult;
    if (lpszCaption == NULL)
        lpszCaption = AfxGetAppName();
    return ::MessageBoxA(m_hWnd, lpszText, lpszCaption, nType);
}

BOOL PASCAL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = (DWORD)::GetWindowLongPtrA(hWnd, GWL_STYLE);
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongPtrA(hWnd, GWL_STYLE, (LONG_PTR)dwNewStyle);
    if (nFlags != 0)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL PASCAL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = (DWORD)::GetWindowLongPtrA(hWnd, GWL_EXSTYLE);
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongPtrA(hWnd, GWL_EXSTYLE, (LONG_PTR)dwNewStyle);
    if (nFlags != 0)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    DWORD dwStyle = GetStyle();
    HWND hWndCenter = pAlternateOwner->GetSafeHwnd();
    if (hWndCenter == NULL)
        hWndCenter = (dwStyle & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);

    CRect rcDlg;
    GetWindowRect(&rcDlg);
    CRect rcArea;
    CRect rcCenter;
    if (!(dwStyle & WS_CHILD)) {
        // Inside the work area of the monitor of the window (or its owner);
        // an owner that is hidden or minimised is not centred on.
        if (hWndCenter != NULL && (!::IsWindowVisible(hWndCenter) || ::IsIconic(hWndCenter)))
            hWndCenter = NULL;
        HMONITOR hMonitor = ::MonitorFromWindow(hWndCenter ? hWndCenter : m_hWnd, MONITOR_DEFAULTTONEAREST);
        MONITORINFO mi;
        mi.cbSize = sizeof(mi);
        ::GetMonitorInfoA(hMonitor, &mi);
        rcArea = mi.rcWork;
        if (hWndCenter != NULL)
            ::GetWindowRect(hWndCenter, &rcCenter);
        else
            rcCenter = rcArea;
    } else {
        HWND hWndParent = ::GetParent(m_hWnd);
        ::GetClientRect(hWndParent, &rcArea);
        if (hWndCenter != NULL) {
            ::GetClientRect(hWndCenter, &rcCenter);
            ::MapWindowPoints(hWndCenter, hWndParent, (LPPOINT)&rcCenter, 2);
        } else {
            rcCenter = rcArea;
        }
    }

    int xLeft = (rcCenter.left + rcCenter.right) / 2 - rcDlg.Width() / 2;
    int yTop = (rcCenter.top + rcCenter.bottom) / 2 - rcDlg.Height() / 2;
    if (xLeft + rcDlg.Width() > rcArea.right)
        xLeft = rcArea.right - rcDlg.Width();
    if (xLeft < rcArea.left)
        xLeft = rcArea.left;
    if (yTop + rcDlg.Height() > rcArea.bottom)
        yTop = rcArea.bottom - rcDlg.Height();
    if (yTop < rcArea.top)
        yTop = rcArea.top;
    SetWindowPos(NULL, xLeft, yTop, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::DragAcceptFiles(BOOL bAccept)
{
    ::DragAcceptFiles(m_hWnd, bAccept);
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
    return TRUE;
}

int CWnd::GetScrollLimit(int nBar)
{
    SCROLLINFO info;
    if (!GetScrollInfo(nBar, &info, SIF_RANGE | SIF_PAGE))
        return 0;
    int nPage = info.nPage > 0 ? (int)info.nPage - 1 : 0;
    return info.nMax - nPage;
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
    DWORD dwExStyle = GetExStyle();
    if (nAdjustType == adjustBorder)
        dwExStyle &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, dwExStyle);
}

namespace {
fx::HelpHook g_pfnHelpHook = NULL;
void* g_pHelpContext = NULL;
} // namespace

namespace fx {
HelpHook SetHelpHook(HelpHook pfnHook, void* pContext)
{
    HelpHook pfnOld = g_pfnHelpHook;
    g_pfnHelpHook = pfnHook;
    g_pHelpContext = pContext;
    return pfnOld;
}
} // namespace fx

void CWnd::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL || pApp->m_pszHelpFilePath == NULL)
        return;
    if (pApp->m_eHelpType == CWinApp::afxHTMLHelp) {
        switch (nCmd) {
        case HELP_CONTEXT: nCmd = 0x000F; break; // HH_HELP_CONTEXT
        case HELP_CONTENTS:                      // also HELP_INDEX: the two share a number
        case HELP_FINDER: nCmd = 0x0001; break;  // HH_DISPLAY_TOC
        default: break;
        }
        HtmlHelp(dwData, nCmd);
        return;
    }
    CWnd* pWnd = GetTopLevelParent();
    ::WinHelpA(pWnd->GetSafeHwnd(), pApp->m_pszHelpFilePath, nCmd, dwData);
}

void CWnd::HtmlHelp(DWORD_PTR dwData, UINT nCmd)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL || pApp->m_pszHelpFilePath == NULL || *pApp->m_pszHelpFilePath == '\0')
        return;
    CWnd* pTop = GetTopLevelParent();
    HWND hWndOwner = pTop != NULL ? pTop->GetSafeHwnd() : m_hWnd;
    if (g_pfnHelpHook != NULL) {
        g_pfnHelpHook(hWndOwner, pApp->m_pszHelpFilePath, nCmd, dwData, g_pHelpContext);
        return;
    }
    // No help file installed: nothing to show.
    DWORD dwAttrs = ::GetFileAttributesA(pApp->m_pszHelpFilePath);
    if (dwAttrs == INVALID_FILE_ATTRIBUTES || (dwAttrs & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return;
    typedef HWND(WINAPI * HtmlHelpFn)(HWND, LPCSTR, UINT, DWORD_PTR);
    static HMODULE s_hHelp = ::LoadLibraryA("hhctrl.ocx");
    HtmlHelpFn pfnHelp = s_hHelp != NULL ? (HtmlHelpFn)(void*)::GetProcAddress(s_hHelp, "HtmlHelpA") : NULL;
    if (pfnHelp != NULL)
        pfnHelp(hWndOwner, pApp->m_pszHelpFilePath, nCmd, dwData);
}

void PASCAL CWnd::SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                           BOOL bOnlyPerm)
{
    for (HWND hWndChild = ::GetTopWindow(hWnd); hWndChild != NULL; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        if (bOnlyPerm) {
            if (CWnd* pWnd = FromHandlePermanent(hWndChild))
                AfxCallWndProc(pWnd, hWndChild, message, wParam, lParam);
        } else {
            ::SendMessageA(hWndChild, message, wParam, lParam);
        }
        if (bDeep && ::GetTopWindow(hWndChild) != NULL)
            SendMessageToDescendants(hWndChild, message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    SendMessageToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    CCmdUI state;
    CWnd wndTemp;
    state.m_pOther = &wndTemp;
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != NULL; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        wndTemp.m_hWnd = hWndChild;
        state.m_nID = (UINT)::GetDlgCtrlID(hWndChild);
        state.m_pOther = &wndTemp;

        // A control object may update itself (reflected update entry).
        if (CWnd* pChild = FromHandlePermanent(hWndChild)) {
            state.m_pOther = pChild;
            if (pChild->CCmdTarget::OnCmdMsg(0, (int)MAKELONG(0xFFFF, WM_REFLECT_BASE + WM_COMMAND), &state, NULL))
                continue;
        }

        // Only plain push buttons are disabled for lack of a handler; check
        // boxes and radio buttons (which work on their own) are not.
        BOOL bDisableTemp = bDisableIfNoHndler;
        if (bDisableTemp) {
            if ((::SendMessageA(hWndChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) == 0) {
                bDisableTemp = FALSE;
            } else {
                UINT nStyle = (UINT)(::GetWindowLongPtrA(hWndChild, GWL_STYLE) & 0x0F);
                if (nStyle == BS_AUTOCHECKBOX || nStyle == BS_AUTO3STATE || nStyle == BS_GROUPBOX ||
                    nStyle == BS_AUTORADIOBUTTON)
                    bDisableTemp = FALSE;
            }
        }
        state.DoUpdate(pTarget, bDisableTemp);
    }
    wndTemp.m_hWnd = NULL;
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch)
{
    AFX_SIZEPARENTPARAMS layout;
    HWND hWndLeftOver = NULL;

    layout.bStretch = bStretch;
    layout.sizeTotal.cx = layout.sizeTotal.cy = 0;
    if (lpRectClient != NULL)
        layout.rect = *lpRectClient;
    else
        ::GetClientRect(m_hWnd, &layout.rect);

    if ((nFlags & ~reposNoPosLeftOver) != reposQuery)
        layout.hDWP = ::BeginDeferWindowPos(8);
    else
        layout.hDWP = NULL;

    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != NULL; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        UINT nIDC = (UINT)::GetDlgCtrlID(hWndChild);
        CWnd* pWnd = FromHandlePermanent(hWndChild);
        if (nIDC == nIDLeftOver)
            hWndLeftOver = hWndChild;
        else if (nIDC >= nIDFirst && nIDC <= nIDLast && pWnd != NULL)
            ::SendMessageA(hWndChild, WM_SIZEPARENT, 0, (LPARAM)&layout);
    }

    if ((nFlags & ~reposNoPosLeftOver) == reposQuery) {
        // Only report the space left (or the total size with reposExtra
        // semantics left to the caller).
        if (bStretch)
            ::CopyRect(lpRectParam, &layout.rect);
        else {
            lpRectParam->left = lpRectParam->top = 0;
            lpRectParam->right = layout.sizeTotal.cx;
            lpRectParam->bottom = layout.sizeTotal.cy;
        }
        return;
    }

    if (nIDLeftOver != 0 && hWndLeftOver != NULL) {
        CWnd* pLeftOver = FromHandle(hWndLeftOver);
        if ((nFlags & ~reposNoPosLeftOver) == reposExtra && lpRectParam != NULL) {
            layout.rect.left += lpRectParam->left;
            layout.rect.top += lpRectParam->top;
            layout.rect.right -= lpRectParam->right;
            layout.rect.bottom -= lpRectParam->bottom;
        }
        if (!(nFlags & reposNoPosLeftOver)) {
            pLeftOver->CalcWindowRect(&layout.rect);
            if (layout.hDWP != NULL)
                layout.hDWP = ::DeferWindowPos(layout.hDWP, hWndLeftOver, NULL, layout.rect.left, layout.rect.top,
                                               layout.rect.right - layout.rect.left,
                                               layout.rect.bottom - layout.rect.top,
                                               SWP_NOACTIVATE | SWP_NOZORDER);
        }
    }
    if (layout.hDWP != NULL)
        ::EndDeferWindowPos(layout.hDWP);
}

// ---------------------------------------------------------------------------
// Tool tips

void CWnd::EnableToolTips(BOOL bEnable)
{
    if (bEnable)
        m_nFlags |= WF_TOOLTIPS;
    else
        m_nFlags &= ~WF_TOOLTIPS;
    if (!bEnable)
        CancelToolTips();
}

void CWnd::EnableTrackingToolTips(BOOL bEnable)
{
    if (bEnable)
        m_nFlags |= WF_TRACKINGTOOLTIPS;
    else
        m_nFlags &= ~WF_TRACKINGTOOLTIPS;
}

void PASCAL CWnd::CancelToolTips(BOOL)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_hWndToolTip != NULL && ::IsWindow(pState->m_hWndToolTip)) {
        ::SendMessageA(pState->m_hWndToolTip, TTM_ACTIVATE, FALSE, 0);
        ::SendMessageA(pState->m_hWndToolTip, TTM_ACTIVATE, TRUE, 0);
    }
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    // The visible child window under the point is the tool.
    HWND hWndChild = NULL;
    for (HWND h = ::GetTopWindow(m_hWnd); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (!(::GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE))
            continue;
        CRect rect;
        ::GetWindowRect(h, &rect);
        ScreenToClient(&rect);
        if (rect.PtInRect(point)) {
            hWndChild = h;
            break;
        }
    }
    if (hWndChild == NULL)
        return -1;
    INT_PTR nHit = ::GetDlgCtrlID(hWndChild);
    if (pTI != NULL) {
        pTI->hwnd = m_hWnd;
        pTI->uId = (UINT_PTR)hWndChild;
        pTI->uFlags |= TTF_IDISHWND;
        pTI->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return nHit;
}

void CWnd::FilterToolTipMessage(MSG* pMsg)
{
    if (!(m_nFlags & WF_TOOLTIPS))
        return;
    UINT message = pMsg->message;
    if (message != WM_MOUSEMOVE && message != WM_NCMOUSEMOVE && message != WM_LBUTTONDOWN &&
        message != WM_RBUTTONDOWN && message != WM_MBUTTONDOWN && message != WM_LBUTTONUP &&
        message != WM_RBUTTONUP && message != WM_MBUTTONUP)
        return;

    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_hWndToolTip == NULL || !::IsWindow(pState->m_hWndToolTip)) {
        pState->m_hWndToolTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, NULL, WS_POPUP | TTS_ALWAYSTIP,
                                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd,
                                                  NULL, AfxGetInstanceHandle(), NULL);
        if (pState->m_hWndToolTip == NULL)
            return;
        ::SendMessageA(pState->m_hWndToolTip, TTM_ACTIVATE, TRUE, 0);
        pState->m_pLastHit = NULL;
        pState->m_nLastHit = -1;
    }
    HWND hWndTip = pState->m_hWndToolTip;

    CPoint point = pMsg->pt;
    ScreenToClient(&point);
    TOOLINFOA ti;
    ZeroMemory(&ti, sizeof(ti));
    ti.cbSize = sizeof(ti);
    INT_PTR nHit = OnToolHitTest(point, &ti);
    if (nHit != pState->m_nLastHit || this != pState->m_pLastHit) {
        if (pState->m_pLastHit != NULL)
            ::SendMessageA(hWndTip, TTM_DELTOOLA, 0, (LPARAM)&pState->m_lastInfo);
        pState->m_pLastHit = NULL;
        pState->m_nLastHit = -1;
        if (nHit != -1) {
            ti.cbSize = sizeof(ti);
            if (ti.hwnd == NULL)
                ti.hwnd = m_hWnd;
            if (!(ti.uFlags & TTF_IDISHWND) && ::IsRectEmpty(&ti.rect))
                ::GetClientRect(m_hWnd, &ti.rect);
            ::SendMessageA(hWndTip, TTM_ADDTOOLA, 0, (LPARAM)&ti);
            pState->m_lastInfo = ti;
            pState->m_lastInfo.lpszText = LPSTR_TEXTCALLBACKA;
            pState->m_pLastHit = this;
            pState->m_nLastHit = nHit;
        }
    }
    if (ti.lpszText != NULL && ti.lpszText != LPSTR_TEXTCALLBACKA)
        free(ti.lpszText);
    MSG msg = *pMsg;
    ::SendMessageA(hWndTip, TTM_RELAYEVENT, 0, (LPARAM)&msg);
}

// ---------------------------------------------------------------------------
// Modal loops

BOOL CWnd::ContinueModal()
{
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        // Wake the loop (it may be waiting for a message).
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    }
}

int CWnd::RunModalLoop(DWORD dwFlags)
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWndParent = ::GetParent(m_hWnd);
    m_nFlags |= (WF_MODALLOOP | WF_CONTINUEMODAL);
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    MSG* pMsg = &pState->m_msgCur;
    HWND hWnd = m_hWnd;

    for (;;) {
        // Idle: nothing waiting.
        while (bIdle && !::PeekMessageA(pMsg, NULL, 0, 0, PM_NOREMOVE)) {
            if (bShowIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != NULL && lIdleCount == 0)
                ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)hWnd);
            if ((dwFlags & MLF_NOKICKIDLE) || !::SendMessageA(hWnd, WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++))
                bIdle = FALSE;
            if (!ContinueModal())
                goto ExitModal;
        }

        // Pump while messages are waiting.
        do {
            if (!AfxPumpMessage()) {
                // WM_QUIT ends the modal loop and is posted again for the
                // loop outside.
                ::PostQuitMessage((int)pMsg->wParam);
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            if (bShowIdle && (pMsg->message == 0x118 || pMsg->message == WM_SYSKEYDOWN)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!ContinueModal())
                goto ExitModal;
            if (AfxIsIdleMessage(pMsg)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(pMsg, NULL, 0, 0, PM_NOREMOVE));
    }

ExitModal:
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}
