// fx/wnd.h - CWnd, the C++ object of a window, with the framework's
// window procedure, handle maps, message dispatch and the thread's UI state.
//
// Life of a window
// ----------------
// Create/CreateEx arm a creation hook, so the object is attached to its
// window from the window's very first message (the window is subclassed to
// the framework's window procedure; the class's own procedure becomes
// m_pfnSuper). SubclassWindow attaches an existing window the same way;
// Attach only maps the handle without subclassing. After WM_NCDESTROY the
// object is detached and PostNcDestroy runs (objects that delete themselves
// do it there).
//
// Handle maps
// -----------
// FromHandlePermanent finds the object attached to a window (any thread);
// FromHandle also makes temporary objects for other windows, which belong to
// the calling thread and are deleted at its next idle time.
//
// Dispatch
// --------
// The window procedure records the message in the thread state (see
// GetCurrentMessage and Default), then calls WindowProc -> OnWndMsg, which
// sends WM_COMMAND to OnCommand, WM_NOTIFY to OnNotify, and everything else
// to the message map; unhandled messages reach DefWindowProc (the superclass
// procedure). Notifications from child controls are first reflected to the
// control's own object (OnChildNotify), which may handle them with the
// _REFLECT map entries; only unhandled ones reach the parent's map.
#pragma once

#include "fx/core.h"
#include "fx/string.h"
#include "fx/types.h"
#include "fx/cmdtarget.h"
#include "fx/gdi.h"
#include "fx/menu.h"
#include "fx/uidefs.h"
#include "fx/msgmap.h"
#include <commctrl.h>

// winuser.h defines GetNextWindow as a macro; CWnd has a member of that name.
#ifdef GetNextWindow
#undef GetNextWindow
#endif

class CWnd;
class CFrameWnd;
class CScrollBar;
class CToolTipCtrl;
class CListBox;
class CCmdUI;
class CDataExchange;
struct CCreateContext;

// ---------------------------------------------------------------------------
// Per-thread state of the window half of the framework.
struct AFX_THREAD_STATE {
    // The message the innermost framework window procedure call is handling
    // (window, message, wParam, lParam, time, point). Default() and
    // GetCurrentMessage read it; code that calls window procedures itself
    // may save and restore it.
    MSG m_lastSentMsg;
    // The message the thread's message pump fetched last (fetched in its
    // wide form; see AfxDispatchWideChar).
    MSG m_msgCur;
    // The first half of a surrogate pair typed into m_hWndHighSurrogate,
    // held until its second half arrives (0: none).
    WCHAR m_chHighSurrogate;
    HWND m_hWndHighSurrogate;
    // For IsIdleMessage: the last mouse-move position and message.
    CPoint m_ptCursorLast;
    UINT m_nMsgLast;

    // Creation hook: the object to attach to the next window created.
    CWnd* m_pWndInit;
    HHOOK m_hHookOldCbtFilter;

    // Temporary handle-map objects are kept while the lock count is above 0.
    int m_nTempMapLock;

    // Tool tips of windows with WF_TOOLTIPS: the thread's tool-tip window
    // and the tool shown last.
    HWND m_hWndToolTip;
    CWnd* m_pLastHit;
    INT_PTR m_nLastHit;
    TOOLINFOA m_lastInfo;

    // While UpdateData runs for this window, its controls' notifications
    // (EN_CHANGE from loading the texts ...) are not dispatched.
    HWND m_hLockoutNotifyWindow;

    // Count of the hourglass requests (see AfxDoWaitCursor).
    int m_nWaitCursorCount;
    HCURSOR m_hcurWaitCursorRestore;
};

AFX_THREAD_STATE* AFXAPI AfxGetThreadState();

// Temporary objects of FromHandle survive until the lock count drops to 0.
void AFXAPI AfxLockTempMaps();
// Decrements the lock; at zero (and bDeleteTemps) deletes the thread's
// temporary objects. TRUE when they were deleted.
BOOL AFXAPI AfxUnlockTempMaps(BOOL bDeleteTemps = TRUE);

namespace fx {
// The number of temporary handle-map objects (windows, menus, DCs, GDI
// objects, image lists) the calling thread holds.
size_t TemporaryObjectCount();
} // namespace fx

// The framework's window procedure, shared by every window it subclasses.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
WNDPROC AFXAPI AfxGetAfxWndProc();
// Calls pWnd's WindowProc with the thread's message record set.
LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// Attaches pWnd to the next window this thread creates (see CreateEx);
// the unhook ends the wait and reports whether the window was attached.
void AFXAPI AfxHookWindowCreate(CWnd* pWnd);
BOOL AFXAPI AfxUnhookWindowCreate();

// Registers (once) a window class with the framework's default procedure
// and the given look; returns its generated name. The name stays valid for
// the life of the process.
LPCSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = 0, HBRUSH hbrBackground = 0, HICON hIcon = 0);
// Registers lpWndClass unless a class of that name exists for its instance
// already (TRUE in both cases).
BOOL AFXAPI AfxRegisterClass(WNDCLASSA* lpWndClass);
// The framework's own classes: "FxWnd" (plain child windows) and
// "FxFrameOrView" (frames and views, double clicks, no background).
#define AFX_WND_CLASS "FxWnd"
#define AFX_WNDFRAMEORVIEW_CLASS "FxFrameOrView"
BOOL AFXAPI AfxDeferRegisterClass(LPCSTR lpszClassName);

// The application's main window (the thread's main window on other UI
// threads).
CWnd* AFXAPI AfxGetMainWnd();

// One step of the thread's message pump: fetches a message (waiting for
// one), offers it to PreTranslateMessage and dispatches it. FALSE on
// WM_QUIT (which is left for the caller).
BOOL AFXAPI AfxPumpMessage();
// Typed characters beyond ASCII. The pump fetches messages in their wide
// form. A character message (WM_CHAR, WM_IME_CHAR) beyond ASCII for a window
// whose procedure takes ANSI messages would reach it through the keyboard's
// code page, where a letter outside that page becomes '?'; it is delivered
// whole instead: to a framework window as WM_UNICHAR (one code point, the
// two halves of a surrogate pair joined), which CWnd::DefWindowProc hands
// to the control underneath as wide WM_CHAR; to any other window as wide
// WM_CHAR through its wide procedure. A Unicode window gets the message as
// it is. TRUE when pMsg was such a message and is dealt with (delivered, or
// the first half of a pair held); FALSE leaves it to the usual steps.
BOOL AFXAPI AfxDispatchWideChar(const MSG* pMsg);
// The pre-translation of the thread: the thread object's PreTranslateMessage
// when there is one, else the walk from the message's window up to the main
// window. TRUE when the message was translated (must not be dispatched).
BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg);
// FALSE for messages that should not start idle processing again: mouse
// moves that did not move, WM_PAINT, the system timer.
BOOL AFXAPI AfxIsIdleMessage(MSG* pMsg);
// The idle work of the calling thread's pump (the thread object's OnIdle
// when there is one): lCount counts the calls since the queue went empty.
// TRUE when more idle calls are wanted.
BOOL AFXAPI AfxInternalOnIdle(LONG lCount);

// The dialog procedure of the framework's dialogs (calls OnInitDialog).
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------------------
class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    explicit CWnd(HWND hWnd); // a plain wrapper of a foreign window (no map entry)
    ~CWnd() override;

    HWND m_hWnd;
    WNDPROC m_pfnSuper; // the procedure under the framework's (NULL: DefWindowProc)
    UINT m_nFlags;      // WF_*
    int m_nModalResult; // result of RunModalLoop
    HWND m_hWndOwner;   // owner of a child window (SetOwner)

    operator HWND() const { return !::fx::NotNull(this) ? NULL : m_hWnd; }
    HWND GetSafeHwnd() const { return !::fx::NotNull(this) ? NULL : m_hWnd; }
    bool operator==(const CWnd& wnd) const { return wnd.m_hWnd == m_hWnd; }
    bool operator!=(const CWnd& wnd) const { return wnd.m_hWnd != m_hWnd; }

    // Insert-after values of SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    // --- handle maps ----------------------------------------------------------
    static CWnd* PASCAL FromHandle(HWND hWnd);
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HWND hWndNew);
    HWND Detach();

    // --- creation ---------------------------------------------------------------
    // A child window (WS_CHILD is added) of pParentWnd with id nID.
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = NULL);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x,
                          int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = NULL);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                          const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = NULL);
    virtual BOOL DestroyWindow();

    // Attach an existing window and route its messages through this object.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // --- framework virtuals -----------------------------------------------------
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    virtual void PreSubclassWindow();
    virtual void PostNcDestroy();
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The superclass procedure (DefWindowProc without one). WM_UNICHAR goes
    // to the control underneath as wide WM_CHAR, so its text gets the whole
    // character; a window of the framework's own classes gets it as WM_CHAR.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder);
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const;
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);
    virtual BOOL IsFrameWnd() const { return FALSE; }
    virtual void OnFinalRelease() override;
    // Help on the application's help file for the top-level window. While
    // the application's help type is HTML Help the request goes to HtmlHelp
    // (HELP_CONTEXT as HH_HELP_CONTEXT; HELP_CONTENTS, which is also
    // HELP_INDEX, and HELP_FINDER as HH_DISPLAY_TOC).
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
    // HTML Help (hhctrl.ocx, bound at run time) on the application's help
    // file with the top-level window as owner: nCmd is an HH_ command
    // (1 table of contents, 2 index, 3 search, 0x0F context). A help file
    // that does not exist shows nothing and is no error.
    virtual void HtmlHelp(DWORD_PTR dwData, UINT nCmd = 0x000F);

    enum AdjustType {
        adjustBorder = 0,
        adjustOutside = 1
    };
    enum RepositionFlags {
        reposDefault = 0,
        reposQuery = 1,
        reposExtra = 2,
        reposNoPosLeftOver = 0x8000
    };

    // The message the current window procedure call handles.
    static const MSG* PASCAL GetCurrentMessage();
    // Hands the current message to DefWindowProc.
    LRESULT Default();

    // Offers pMsg to PreTranslateMessage of its window and then of each
    // parent, up to and including hWndStop; TRUE when one took it.
    static BOOL PASCAL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    // --- reflection ---------------------------------------------------------------
    // The default OnChildNotify: reflects WM_COMMAND and WM_NOTIFY through
    // this object's OnCmdMsg (reflect entries), and the owner-draw, scroll
    // and colour messages through OnWndMsg as WM_REFLECT_BASE + message.
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Reflects the thread's current message to the child window's object.
    static BOOL PASCAL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = NULL);
    BOOL SendChildNotifyLastMsg(LRESULT* pResult = NULL);

    // --- dialog data ------------------------------------------------------------
    // Moves data between the controls and the members (DoDataExchange):
    // bSaveAndValidate TRUE reads and validates the controls. FALSE when a
    // validation failed (the user has been told; the focus is on the
    // control).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);
    // Dialog keyboard handling for this window (Tab, Enter, Esc, mnemonics).
    BOOL IsDialogMessage(LPMSG lpMsg) { return ::IsDialogMessageA(m_hWnd, lpMsg); }
    // IsDialogMessage for keyboard and mouse messages only.
    BOOL PreTranslateInput(LPMSG lpMsg);

    // --- modal loops ------------------------------------------------------------
    // Pumps messages (pre-translated, idle-aware, WM_KICKIDLE sent to this
    // window while idle) until EndModalLoop; returns its result. Messages
    // other threads send to this thread's windows keep being handled.
    int RunModalLoop(DWORD dwFlags = 0);

    // --- command helpers --------------------------------------------------------
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                  BOOL bOnlyPerm = FALSE);
    static void PASCAL SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                                BOOL bOnlyPerm);
    // Updates the state of child controls (buttons...) through CCmdUI
    // handlers of pTarget.
    void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
    // Lays out the control bars (ids nIDFirst..nIDLast) of this window with
    // WM_SIZEPARENT and puts the child nIDLeftOver in the space left.
    void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = reposDefault,
                        LPRECT lpRectParam = NULL, LPCRECT lpRectClient = NULL, BOOL bStretch = TRUE);

    void EnableToolTips(BOOL bEnable = TRUE);
    void EnableTrackingToolTips(BOOL bEnable = TRUE);
    // Shows tool tips for windows with WF_TOOLTIPS (called by
    // PreTranslateMessage): OnToolHitTest names the tool under the mouse.
    // Its lpszText is LPSTR_TEXTCALLBACK (the text is asked with
    // TTN_NEEDTEXT) or a malloc'ed string the framework frees.
    void FilterToolTipMessage(MSG* pMsg);
    static void PASCAL CancelToolTips(BOOL bKeys = FALSE);

    // --- styles -----------------------------------------------------------------
    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE); }
    // nFlags (SWP_*) other than 0 also calls SetWindowPos so the frame is
    // redrawn. TRUE when the style changed.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) { return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags); }
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) { return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags); }
    static BOOL PASCAL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    static BOOL PASCAL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);

    // --- relations --------------------------------------------------------------
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetParent(CWnd* pWndNewParent) { return FromHandle(::SetParent(m_hWnd, pWndNewParent->GetSafeHwnd())); }
    // The owner: m_hWndOwner when set, else the parent (or the system owner
    // of a pop-up).
    CWnd* GetOwner() const;
    void SetOwner(CWnd* pOwnerWnd) { m_hWndOwner = pOwnerWnd->GetSafeHwnd(); }
    CWnd* GetParentOwner() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetTopLevelOwner() const;
    // The window to own a modal dialog or message box: pParent's top-level
    // window, else the main window's; *pWndTop receives the top-level window
    // to disable.
    static CWnd* PASCAL GetSafeOwner(CWnd* pParent = NULL, HWND* pWndTop = NULL)
    {
        return FromHandle(GetSafeOwner_(pParent->GetSafeHwnd(), pWndTop));
    }
    static HWND PASCAL GetSafeOwner_(HWND hWndParent, HWND* pWndTop);
    // The nearest frame window among the parents (the top-level one).
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    CWnd* GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    void GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int nID) { return (int)::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID); }
    CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
    static CWnd* PASCAL GetDescendantWindow(HWND hWnd, int nID, BOOL bOnlyPerm);
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const
    {
        return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
    }
    CWnd* GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const
    {
        return FromHandle(::GetNextDlgGroupItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
    }
    CWnd* GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
    CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const { return FromHandle(::GetWindow(m_hWnd, nFlag)); }
    CWnd* GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
    BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, pWnd->GetSafeHwnd()); }
    CWnd* ChildWindowFromPoint(POINT point) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, point)); }
    CWnd* ChildWindowFromPoint(POINT point, UINT nFlags) const
    {
        return FromHandle(::ChildWindowFromPointEx(m_hWnd, point, nFlags));
    }
    static CWnd* PASCAL WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
    static CWnd* PASCAL FindWindow(LPCSTR lpszClassName, LPCSTR lpszWindowName)
    {
        return FromHandle(::FindWindowA(lpszClassName, lpszWindowName));
    }
    static CWnd* PASCAL GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
    static CWnd* PASCAL GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    static CWnd* PASCAL GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    static CWnd* PASCAL GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* PASCAL GetCapture() { return FromHandle(::GetCapture()); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* PASCAL GetOpenClipboardWindow() { return FromHandle(::GetOpenClipboardWindow()); }
    BOOL OpenClipboard() { return ::OpenClipboard(m_hWnd); }

    // --- text and fonts -----------------------------------------------------------
    void SetWindowText(LPCSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
    int GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const { return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount); }
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE)
    {
        ::SendMessageA(m_hWnd, WM_SETFONT, (WPARAM)pFont->GetSafeHandle(), bRedraw);
    }
    CFont* GetFont() const { return CFont::FromHandle((HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)); }

    // --- dialog items ---------------------------------------------------------------
    void SetDlgItemText(int nID, LPCSTR lpszString) { ::SetDlgItemTextA(m_hWnd, nID, lpszString); }
    int GetDlgItemText(int nID, LPSTR lpStr, int nMaxCount) const { return ::GetDlgItemTextA(m_hWnd, nID, lpStr, nMaxCount); }
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = NULL, BOOL bSigned = TRUE) const
    {
        return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
    }
    void CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
    UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
    {
        ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton);
    }
    // The id of the checked button of the range, 0 for none.
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton);
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
    }

    // --- messages -------------------------------------------------------------------
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL SendNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam) const
    {
        return ::SendNotifyMessageA(m_hWnd, message, wParam, lParam);
    }
    // A message box owned by this window (caption: the application name when
    // NULL).
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = NULL, UINT nType = MB_OK);

    // --- geometry -------------------------------------------------------------------
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
    }
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
    {
        return ::SetWindowPos(m_hWnd, pWndInsertAfter->GetSafeHwnd(), x, y, cx, cy, nFlags);
    }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
    void ClientToScreen(LPRECT lpRect) const { ::MapWindowPoints(m_hWnd, NULL, (LPPOINT)lpRect, 2); }
    void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
    void ScreenToClient(LPRECT lpRect) const { ::MapWindowPoints(NULL, m_hWnd, (LPPOINT)lpRect, 2); }
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const
    {
        ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), lpPoint, nCount);
    }
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const
    {
        ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), (LPPOINT)lpRect, 2);
    }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const
    {
        lpwndpl->length = sizeof(WINDOWPLACEMENT);
        return ::GetWindowPlacement(m_hWnd, lpwndpl);
    }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl)
    {
        WINDOWPLACEMENT wp = *lpwndpl;
        wp.length = sizeof(WINDOWPLACEMENT);
        return ::SetWindowPlacement(m_hWnd, &wp);
    }
    // Centres over pAlternateOwner, else the owner, else the work area.
    void CenterWindow(CWnd* pAlternateOwner = NULL);
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    int SetWindowRgn(HRGN hRgn, BOOL bRedraw) { return ::SetWindowRgn(m_hWnd, hRgn, bRedraw); }
    int GetWindowRgn(HRGN hRgn) const { return ::GetWindowRgn(m_hWnd, hRgn); }

    // --- state ----------------------------------------------------------------------
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL FlashWindow(BOOL bInvert) { return ::FlashWindow(m_hWnd, bInvert); }
    void DragAcceptFiles(BOOL bAccept = TRUE);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon)
    {
        return (HICON)::SendMessageA(m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon);
    }
    HICON GetIcon(BOOL bBigIcon) const { return (HICON)::SendMessageA(m_hWnd, WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL, 0); }
    CMenu* GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
    BOOL SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu->GetSafeHmenu()); }
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
    CMenu* GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }
    BOOL HiliteMenuItem(CMenu* pMenu, UINT nIDHiliteItem, UINT nHilite)
    {
        return ::HiliteMenuItem(m_hWnd, pMenu->GetSafeHmenu(), nIDHiliteItem, nHilite);
    }

    // --- painting -------------------------------------------------------------------
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, NULL, bErase); }
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE) { ::InvalidateRgn(m_hWnd, (HRGN)pRgn->GetSafeHandle(), bErase); }
    void ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
    void ValidateRgn(CRgn* pRgn) { ::ValidateRgn(m_hWnd, (HRGN)pRgn->GetSafeHandle()); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT lpRectUpdate = NULL, CRgn* prgnUpdate = NULL,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, lpRectUpdate, (HRGN)prgnUpdate->GetSafeHandle(), flags);
    }
    void SetRedraw(BOOL bRedraw = TRUE) { ::SendMessageA(m_hWnd, WM_SETREDRAW, bRedraw, 0); }
    BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE) { return ::GetUpdateRect(m_hWnd, lpRect, bErase); }
    int GetUpdateRgn(CRgn* pRgn, BOOL bErase = FALSE) { return ::GetUpdateRgn(m_hWnd, (HRGN)pRgn->GetSafeHandle(), bErase); }
    CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
    CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
    CDC* GetDCEx(CRgn* prgnClip, DWORD flags) { return CDC::FromHandle(::GetDCEx(m_hWnd, (HRGN)prgnClip->GetSafeHandle(), flags)); }
    int ReleaseDC(CDC* pDC) { return ::ReleaseDC(m_hWnd, pDC->GetSafeHdc()); }
    CDC* BeginPaint(LPPAINTSTRUCT lpPaint) { return CDC::FromHandle(::BeginPaint(m_hWnd, lpPaint)); }
    void EndPaint(LPPAINTSTRUCT lpPaint) { ::EndPaint(m_hWnd, lpPaint); }
    BOOL LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
    void UnlockWindowUpdate() { ::LockWindowUpdate(NULL); }
    void Print(CDC* pDC, DWORD dwFlags) const { ::SendMessageA(m_hWnd, WM_PRINT, (WPARAM)pDC->GetSafeHdc(), dwFlags); }
    void PrintClient(CDC* pDC, DWORD dwFlags) const { ::SendMessageA(m_hWnd, WM_PRINTCLIENT, (WPARAM)pDC->GetSafeHdc(), dwFlags); }

    // --- scrolling ------------------------------------------------------------------
    int GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const { ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos); }
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE)
    {
        ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
    }
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    int GetScrollLimit(int nBar);
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, (int)nBar, bShow); }
    BOOL EnableScrollBar(int nSBFlags, UINT nArrowFlags = ESB_ENABLE_BOTH)
    {
        return ::EnableScrollBar(m_hWnd, (UINT)nSBFlags, nArrowFlags);
    }
    void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = NULL, LPCRECT lpClipRect = NULL)
    {
        ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
    }
    int ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate, LPRECT lpRectUpdate,
                       UINT flags)
    {
        return ::ScrollWindowEx(m_hWnd, dx, dy, lpRectScroll, lpRectClip, (HRGN)prgnUpdate->GetSafeHandle(),
                                lpRectUpdate, flags);
    }

    // --- timers ---------------------------------------------------------------------
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD) = NULL)
    {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

    // --- default handlers (they pass the current message on) --------------------
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg void OnCancelMode();
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg int OnCharToItem(UINT nChar, CListBox* pListBox, UINT nIndex);
    afx_msg void OnClose();
    afx_msg int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDeadChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct);
    afx_msg void OnDestroy();
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnEndSession(BOOL bEnding);
    afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
    afx_msg void OnEnterMenuLoop(BOOL bIsTrackPopupMenu);
    afx_msg void OnEnterSizeMove();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnExitMenuLoop(BOOL bIsTrackPopupMenu);
    afx_msg void OnExitSizeMove();
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg BOOL OnHelpInfo(HELPINFO* lpHelpInfo);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnInitMenu(CMenu* pMenu);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseHover(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnMoving(UINT fwSide, LPRECT pRect);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnNcDestroy();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcMButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcMButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnNcPaint();
    afx_msg void OnNcRButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnPaint();
    afx_msg void OnParentNotify(UINT message, LPARAM lParam);
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg BOOL OnQueryEndSession();
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSizing(UINT fwSide, LPRECT pRect);
    afx_msg void OnStyleChanged(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
    afx_msg void OnStyleChanging(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
    afx_msg void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysColorChange();
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg int OnVKeyToItem(UINT nKey, CListBox* pListBox, UINT nIndex);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWinIniChange(LPCSTR lpszSection);

protected:
    // Creates a dialog from a template, attached to this object.
    BOOL CreateDlgIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst);

    DECLARE_MESSAGE_MAP()

    friend LRESULT AFXAPI AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
    friend class CCmdUI;

private:
    // Window-message dispatch through the map chain (with a lookup cache).
    BOOL DispatchMapMessage(UINT message, WPARAM wParam, LPARAM lParam, UINT nCode, LRESULT* pResult);
    BOOL IsReflectionTarget(HWND hWndSender) const;
    void FinishNcDestroy();
};

// The lParam of a reflected WM_CTLCOLOR (WM_REFLECT_BASE + WM_CTLCOLOR).
typedef fx::msg::CtlColorArgs AFX_CTLCOLOR;

// The lParam of WM_SIZEPARENT: bar layout in a frame.
struct AFX_SIZEPARENTPARAMS {
    HDWP hDWP;      // NULL: query only, nothing moves
    RECT rect;      // the space still free, shrunk by each bar
    SIZE sizeTotal; // total size of the bars (query)
    BOOL bStretch;  // bars take the whole width or height
};

// Hourglass for the lifetime of the object.
class CWaitCursor {
public:
    CWaitCursor() { AfxDoWaitCursor(1); }
    ~CWaitCursor() { AfxDoWaitCursor(-1); }
    void Restore() { AfxDoWaitCursor(0); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// What CDocTemplate hands to the frames and views it creates (filled in by
// the document/view part of the framework).
class CDocument;
class CView;
class CDocTemplate;
struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = NULL;
    CDocument* m_pCurrentDoc = NULL;
    CDocTemplate* m_pNewDocTemplate = NULL;
    CView* m_pLastView = NULL;
    CFrameWnd* m_pCurrentFrame = NULL;
};

#include "fx/cmdui.h"
