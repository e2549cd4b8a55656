// CWnd: message dispatch, reflection and the default message handlers.
#include "fx/wnd.h"
#include "fx/cmdui.h"
#include "fx/ctrls.h"

namespace {

bool IsCtlColorMessage(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

// Lookup cache for window messages: (most derived map, message) -> entry.
// Per thread, so no locking; a miss is cached too (entry NULL).
struct CacheSlot {
    const AFX_MSGMAP* pMap;
    UINT nMsg;
    const AFX_MSGMAP_ENTRY* pEntry;
};
const unsigned kCacheSize = 512;

CacheSlot& CacheSlotFor(const AFX_MSGMAP* pMap, UINT nMsg)
{
    static thread_local CacheSlot s_cache[kCacheSize];
    uintptr_t h = ((uintptr_t)pMap >> 4) ^ (nMsg * 2654435761u);
    return s_cache[(h ^ (h >> 9)) & (kCacheSize - 1)];
}

bool MatchesWindowMessage(const AFX_MSGMAP_ENTRY* e, UINT nMsg)
{
    if (e->nKind != fx::msg::kWindow)
        return false;
    if (e->nMessage == fx::msg::kRegistered)
        return e->pnRegMessage != NULL && *e->pnRegMessage == nMsg && nMsg != 0;
    return e->nMessage == nMsg;
}

const AFX_MSGMAP_ENTRY* FindWindowEntry(const AFX_MSGMAP* pMap, UINT nMsg)
{
    CacheSlot& slot = CacheSlotFor(pMap, nMsg);
    if (slot.pMap == pMap && slot.nMsg == nMsg)
        return slot.pEntry;
    const AFX_MSGMAP_ENTRY* pFound = NULL;
    for (const AFX_MSGMAP* p = pMap; p != NULL && pFound == NULL; p = p->pfnGetBaseMap ? p->pfnGetBaseMap() : NULL) {
        for (const AFX_MSGMAP_ENTRY* e = p->lpEntries; e->nMessage != 0; ++e) {
            if (MatchesWindowMessage(e, nMsg)) {
                pFound = e;
                break;
            }
        }
    }
    slot.pMap = pMap;
    slot.nMsg = nMsg;
    slot.pEntry = pFound;
    return pFound;
}

} // namespace

// ---------------------------------------------------------------------------
// Dispatch

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::DispatchMapMessage(UINT message, WPARAM wParam, LPARAM lParam, UINT nCode, LRESULT* pResult)
{
    const AFX_MSGMAP_ENTRY* pEntry = FindWindowEntry(GetMessageMap(), message);
    if (pEntry == NULL)
        return FALSE;
    fx::msg::Call call = {};
    call.message = message;
    call.wParam = wParam;
    call.lParam = lParam;
    call.nCode = nCode;
    if (!pEntry->pfnThunk(this, call))
        return FALSE;
    if (pResult != NULL)
        *pResult = call.lResult;
    return TRUE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            if (pResult != NULL)
                *pResult = 1;
            return TRUE;
        }
        // An ON_MESSAGE(WM_COMMAND) entry may still want it.
        return DispatchMapMessage(message, wParam, lParam, 0, pResult);
    }
    if (message == WM_NOTIFY) {
        if (OnNotify(wParam, lParam, &lResult)) {
            if (pResult != NULL)
                *pResult = lResult;
            return TRUE;
        }
        return DispatchMapMessage(message, wParam, lParam, 0, pResult);
    }
    if (IsCtlColorMessage(message)) {
        // A handler for the precise message first, then ON_WM_CTLCOLOR with
        // the control type.
        if (DispatchMapMessage(message, wParam, lParam, 0, pResult))
            return TRUE;
        return DispatchMapMessage(WM_CTLCOLOR, wParam, lParam, message - WM_CTLCOLORMSGBOX, pResult);
    }
    return DispatchMapMessage(message, wParam, lParam, 0, pResult);
}

namespace {

// The UTF-16 units of a code point (0 when it is none).
int Utf16Units(DWORD cp, WCHAR units[2])
{
    if (cp >= 0x10000 && cp <= 0x10FFFF) {
        cp -= 0x10000;
        units[0] = (WCHAR)(0xD800 + (cp >> 10));
        units[1] = (WCHAR)(0xDC00 + (cp & 0x3FF));
        return 2;
    }
    if (cp > 0xFFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    units[0] = (WCHAR)cp;
    return 1;
}

} // namespace

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_UNICHAR) {
        if (wParam == UNICODE_NOCHAR)
            return TRUE; // this window takes WM_UNICHAR
        WCHAR units[2];
        const int nUnits = Utf16Units((DWORD)wParam, units);
        // The framework's own classes have the default procedure underneath.
        if (m_pfnSuper != NULL && m_pfnSuper != &::DefWindowProcA) {
            // The procedure underneath in its wide form: the ANSI form of a
            // system class's procedure would take the character through the
            // keyboard's code page again.
            WNDPROC pfnWide = m_pfnSuper;
            if (m_pfnSuper == (WNDPROC)::GetClassLongPtrA(m_hWnd, GCLP_WNDPROC))
                pfnWide = (WNDPROC)::GetClassLongPtrW(m_hWnd, GCLP_WNDPROC);
            for (int i = 0; i < nUnits; ++i)
                ::CallWindowProcW(pfnWide, m_hWnd, WM_CHAR, units[i], lParam);
        } else {
            // A window of the framework's own classes takes characters as
            // chars; it gets what the ANSI form can carry.
            for (int i = 0; i < nUnits; ++i)
                ::SendMessageW(m_hWnd, WM_CHAR, units[i], lParam);
        }
        return FALSE;
    }
    if (m_pfnSuper != NULL)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

const MSG* PASCAL CWnd::GetCurrentMessage()
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    pState->m_lastSentMsg.time = ::GetMessageTime();
    DWORD dwPos = ::GetMessagePos();
    pState->m_lastSentMsg.pt.x = (short)LOWORD(dwPos);
    pState->m_lastSentMsg.pt.y = (short)HIWORD(dwPos);
    return &pState->m_lastSentMsg;
}

LRESULT CWnd::Default()
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = (HWND)lParam;
    int nCode = HIWORD(wParam);

    if (hWndCtrl == NULL) {
        // A menu item (code 0) or an accelerator (code 1).
        if (nID == 0)
            return FALSE;
        // A command whose update handler disables it is not run (the
        // accelerator of a greyed menu item does nothing).
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    } else {
        // While UpdateData loads the controls, their notifications are not
        // user actions.
        if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd)
            return TRUE;
        // A control notification goes to the control first.
        CWnd* pChild = FromHandlePermanent(hWndCtrl);
        if (pChild != NULL && IsReflectionTarget(hWndCtrl) &&
            pChild->OnChildNotify(WM_COMMAND, wParam, lParam, NULL))
            return TRUE;
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, nCode, NULL, NULL);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = (NMHDR*)lParam;
    if (pNMHDR == NULL)
        return FALSE;
    HWND hWndCtrl = pNMHDR->hwndFrom;
    CWnd* pChild = FromHandlePermanent(hWndCtrl);
    if (pChild != NULL && IsReflectionTarget(hWndCtrl) && pChild->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult))
        return TRUE;
    // The id of the sending window (a tool tip window's is 0), else the id
    // in the header.
    UINT nID = hWndCtrl != NULL ? (UINT)::GetDlgCtrlID(hWndCtrl) : (UINT)pNMHDR->idFrom;
    AFX_NOTIFY notify;
    notify.pResult = pResult;
    notify.pNMHDR = pNMHDR;
    return OnCmdMsg(nID, (int)MAKELONG(pNMHDR->code, WM_NOTIFY), &notify, NULL);
}

BOOL CWnd::IsReflectionTarget(HWND hWndSender) const
{
    // Notifications are reflected to the window that sent them, unless that
    // is this window or one that contains it (a property sheet telling its
    // page, a file dialog telling its child template).
    return hWndSender != NULL && hWndSender != m_hWnd && !::IsChild(hWndSender, m_hWnd);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);

    case WM_COMMAND: {
        int nCode = HIWORD(wParam);
        if (CCmdTarget::OnCmdMsg(0, (int)MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), NULL, NULL)) {
            if (pResult != NULL)
                *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }

    case WM_NOTIFY: {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        AFX_NOTIFY notify;
        notify.pResult = pResult;
        notify.pNMHDR = pNMHDR;
        return CCmdTarget::OnCmdMsg(0, (int)MAKELONG(pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, NULL);
    }

    default:
        if (IsCtlColorMessage(message)) {
            AFX_CTLCOLOR ctl;
            ctl.hDC = (HDC)wParam;
            ctl.hWnd = (HWND)lParam;
            ctl.nCtlType = message - WM_CTLCOLORMSGBOX;
            return OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, (LPARAM)&ctl, pResult);
        }
        return FALSE;
    }
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    if (pWnd == NULL)
        return FALSE;
    return pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    FilterToolTipMessage(pMsg);
    return FALSE;
}

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != NULL && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// The base map: the messages whose default handling reflects them to the
// child control that sent them, and the end of the window's life.

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_COMPAREITEM()
    ON_WM_DELETEITEM()
    ON_WM_CHARTOITEM()
    ON_WM_VKEYTOITEM()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_PARENTNOTIFY()
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT lResult = 0;
    if (pWnd != NULL && pWnd->m_hWnd != NULL && ReflectLastMsg(pWnd->m_hWnd, &lResult))
        return (HBRUSH)lResult;
    return (HBRUSH)Default();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType == ODT_MENU) {
        // Owner-drawn menu items of a permanent CMenu.
        CMenu* pMenu = CMenu::FromHandlePermanent((HMENU)lpDrawItemStruct->hwndItem);
        if (pMenu != NULL) {
            pMenu->DrawItem(lpDrawItemStruct);
            return;
        }
    } else if (ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
        return;
    }
    Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct->CtlType != ODT_MENU) {
        HWND hWndChild = ::GetDlgItem(m_hWnd, nIDCtl);
        if (hWndChild != NULL && ReflectLastMsg(hWndChild))
            return;
    }
    Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct)
{
    LRESULT lResult = 0;
    if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &lResult))
        return (int)lResult;
    return (int)Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    if (ReflectLastMsg(lpDeleteItemStruct->hwndItem))
        return;
    Default();
}

int CWnd::OnCharToItem(UINT, CListBox* pListBox, UINT)
{
    LRESULT lResult = 0;
    HWND hWnd = pListBox->GetSafeHwnd();
    if (hWnd != NULL && ReflectLastMsg(hWnd, &lResult))
        return (int)lResult;
    return (int)Default();
}

int CWnd::OnVKeyToItem(UINT, CListBox* pListBox, UINT)
{
    LRESULT lResult = 0;
    HWND hWnd = pListBox->GetSafeHwnd();
    if (hWnd != NULL && ReflectLastMsg(hWnd, &lResult))
        return (int)lResult;
    return (int)Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    HWND hWnd = pScrollBar->GetSafeHwnd();
    if (hWnd != NULL && ReflectLastMsg(hWnd))
        return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    HWND hWnd = pScrollBar->GetSafeHwnd();
    if (hWnd != NULL && ReflectLastMsg(hWnd))
        return;
    Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam)
{
    if ((LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY) && ReflectLastMsg((HWND)lParam))
        return;
    Default();
}

// ---------------------------------------------------------------------------
// Default handlers: pass the current message on.

void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
BOOL CWnd::OnCopyData(CWnd*, COPYDATASTRUCT*) { return (BOOL)Default(); }
int CWnd::OnCreate(LPCREATESTRUCTA) { return (int)Default(); }
void CWnd::OnDeadChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnDropFiles(HDROP) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnEndSession(BOOL) { Default(); }
void CWnd::OnEnterIdle(UINT, CWnd*) { Default(); }
void CWnd::OnEnterMenuLoop(BOOL) { Default(); }
void CWnd::OnEnterSizeMove() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
void CWnd::OnExitMenuLoop(BOOL) { Default(); }
void CWnd::OnExitSizeMove() { Default(); }
UINT CWnd::OnGetDlgCode() { return (UINT)Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
BOOL CWnd::OnHelpInfo(HELPINFO*) { return (BOOL)Default(); }
void CWnd::OnInitMenu(CMenu*) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMDIActivate(BOOL, CWnd*, CWnd*) { Default(); }
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) { return Default(); }
void CWnd::OnMenuSelect(UINT, UINT, HMENU) { Default(); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return (int)Default(); }
void CWnd::OnMouseHover(UINT, CPoint) { Default(); }
void CWnd::OnMouseLeave() { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnMoving(UINT, LPRECT) { Default(); }
BOOL CWnd::OnNcActivate(BOOL) { return (BOOL)Default(); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
BOOL CWnd::OnNcCreate(LPCREATESTRUCTA) { return (BOOL)Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnNcPaint() { Default(); }
void CWnd::OnNcRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnPaint() { Default(); }
HCURSOR CWnd::OnQueryDragIcon() { return (HCURSOR)Default(); }
BOOL CWnd::OnQueryEndSession() { return (BOOL)Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnSettingChange(UINT, LPCSTR) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnSizing(UINT, LPRECT) { Default(); }
void CWnd::OnStyleChanged(int, LPSTYLESTRUCT) { Default(); }
void CWnd::OnStyleChanging(int, LPSTYLESTRUCT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWinIniChange(LPCSTR) { Default(); }
