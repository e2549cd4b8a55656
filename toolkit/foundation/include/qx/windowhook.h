// qx/windowhook.h - window subclassing by chains of hook objects, used by the
// standard controls and the edge-shadow windows. Any number of CQXWndHook
// objects can sit on one window; the window's chain (its head hook) is kept
// in the one CQXWindowMap of the process, and one shared procedure,
// HookedWindowProc, hands each message to the head hook. A hook handles what
// it wants and passes the rest on with the base DefaultProc; after the last
// hook the procedure that was on the window before the first one gets it.
//
// When the last hook leaves, the window gets that procedure back; when
// another subclasser was installed on top in the meantime it is left in
// place and HookedWindowProc keeps passing messages through (nothing is ever
// swallowed). The toolkit's memory DC, CQXMemDC, is in qx/drawing.h.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <map>

class CQXWndHook : public CObject {
    DECLARE_DYNAMIC(CQXWndHook)
public:
    CQXWndHook();
    ~CQXWndHook() override;

    // TRUE while attached to a window that still exists.
    virtual BOOL IsWindowHooked();
    // SetWindow with the object's window (NULL detaches).
    virtual BOOL HookWindow(CWnd* pWnd);
    // Attaches to a window (to the head of its chain), or with NULL detaches.
    // A hook is attached to at most one window at a time: detach first.
    virtual BOOL SetWindow(HWND hWnd);
    // The hook's message handler: the base passes the message to the next
    // hook, the last one to the window's saved procedure.
    virtual LRESULT DefaultProc(UINT nMessage, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd;
    WNDPROC m_pOldWndProc;
    CQXWndHook* m_pNext;
};

class CQXWindowMap : public CMapPtrToPtr {
    DECLARE_DYNAMIC(CQXWindowMap)
public:
    CQXWindowMap();
    ~CQXWindowMap() override;

    // The process-wide map.
    static CQXWindowMap* AFXAPI Instance();

    // Puts the hook at the head of the window's chain; the first hook of a
    // window saves its procedure and installs HookedWindowProc.
    void Insert(HWND hWnd, CQXWndHook* pHook);
    // Takes the hook out of its window's chain (its own next pointer is kept,
    // so a hook that detaches itself while handling a message can still pass
    // it on).
    void Unlink(CQXWndHook* pHook);
    // Detaches every hook of the window through its own SetWindow(NULL).
    void UnhookAll(HWND hWnd);
    // The head hook of a window, NULL when it has none.
    CQXWndHook* LookupHook(HWND hWnd) const;

    // Windows whose hooks are gone but whose procedure could not be put back
    // (another subclasser sits on top): the procedure messages pass on to.
    std::map<HWND, WNDPROC> m_passThrough;
};

// The window procedure of every hooked window.
LRESULT CALLBACK HookedWindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
