// qx/windowhook.h - window subclassing by chains of links: the one engine
// behind every subclassing hook of the toolkit and the editor.
//
// Any number of links (CSubclassLink) can sit on one window. The window's
// chain (its head link) is kept in the one CQXWindowMap of the process, and
// one shared procedure, HookedWindowProc, hands each message to the head
// link. A link handles what it wants and passes the rest on with
// CallNextLink; after the last link the procedure that was on the window
// before the first one gets it. While a link runs, the thread's record of
// the current message (AfxGetThreadState()->m_lastSentMsg) holds the
// message; the previous record comes back afterwards.
//
// When the last link leaves, the window gets that procedure back; when
// another subclasser was installed on top in the meantime it is left in
// place and HookedWindowProc keeps passing messages through (nothing is ever
// swallowed), until the subclasser leaves or a new link reuses it. When the
// window is destroyed (WM_NCDESTROY) every link leaves, head first, before
// the window's own procedure sees the message.
//
// Three faces stand on the engine: CQXWndHook (here: a link whose handler
// is DefaultProc), CWindowHookManager (qx/hooks.h: lists of hook objects
// with result codes) and the editor's COXHookWnd (ruler.h). The toolkit's
// memory DC, CQXMemDC, is in qx/drawing.h. UI thread only.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <map>

// One link of a window's chain.
class CSubclassLink : public CObject {
    DECLARE_DYNAMIC(CSubclassLink)
public:
    // Leaves the chain (a window that is gone has let go of it already).
    ~CSubclassLink() override;
    CSubclassLink(const CSubclassLink&) = delete;
    CSubclassLink& operator=(const CSubclassLink&) = delete;

    // The window, NULL while not linked.
    HWND m_hWnd;
    // The procedure the chain replaced: the same in every link of a chain.
    WNDPROC m_pOldWndProc;
    // The next link towards the window's procedure. Kept when this link
    // leaves, so a link that leaves while handling a message can still pass
    // it on.
    CSubclassLink* m_pNext;

protected:
    CSubclassLink();

    // A message of the window; pass it on with CallNextLink.
    virtual LRESULT OnLinkMessage(UINT nMessage, WPARAM wParam, LPARAM lParam) = 0;
    // The window is being destroyed: the link must leave (the default
    // leaves). Links are told head first.
    virtual void OnLinkWindowDestroyed();

    // Puts the link at the head of the window's chain; the first link of a
    // window saves its procedure and installs HookedWindowProc. FALSE for no
    // window.
    BOOL JoinWindow(HWND hWnd);
    // Takes the link out of its window's chain (nothing when not linked).
    void LeaveWindow();
    // Passes a message to the next link, after the last one to the saved
    // procedure of the window.
    LRESULT CallNextLink(UINT nMessage, WPARAM wParam, LPARAM lParam);

    friend class CQXWindowMap;
    friend LRESULT CALLBACK HookedWindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
};

// A link whose handler is DefaultProc; used by the standard controls and the
// edge-shadow windows.
class CQXWndHook : public CSubclassLink {
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
    // link, the last one to the window's saved procedure.
    virtual LRESULT DefaultProc(UINT nMessage, WPARAM wParam, LPARAM lParam);

protected:
    LRESULT OnLinkMessage(UINT nMessage, WPARAM wParam, LPARAM lParam) override;
    // Detaches through SetWindow(NULL).
    void OnLinkWindowDestroyed() override;
};

// The chains of all windows of the process.
class CQXWindowMap : public CMapPtrToPtr {
    DECLARE_DYNAMIC(CQXWindowMap)
public:
    CQXWindowMap();
    ~CQXWindowMap() override;

    // The process-wide map.
    static CQXWindowMap* AFXAPI Instance();

    // Puts the link at the head of the window's chain.
    void Insert(HWND hWnd, CSubclassLink* pLink);
    // Takes the link out of its window's chain (its own next pointer is
    // kept, so a link that leaves while handling a message can still pass
    // it on).
    void Unlink(CSubclassLink* pLink);
    // Tells every link of the window that it is being destroyed, head
    // first; a link that does not leave is taken out.
    void UnhookAll(HWND hWnd);
    // The head link of a window, NULL when it has none.
    CSubclassLink* LookupLink(HWND hWnd) const;
    // The first CQXWndHook of a window's chain, NULL when it has none.
    CQXWndHook* LookupHook(HWND hWnd) const;
    // Passes a message on from a point of the chain that may have gone
    // meanwhile: to the link when it is still on the window's chain, else
    // to the procedure (a link that left while handling the message).
    LRESULT CallFrom(HWND hWnd, CSubclassLink* pLink, WNDPROC pfnOld, UINT nMessage, WPARAM wParam, LPARAM lParam);

    // Windows whose links are gone but whose procedure could not be put back
    // (another subclasser sits on top): the procedure messages pass on to.
    std::map<HWND, WNDPROC> m_passThrough;
};

// The window procedure of every window with a chain.
LRESULT CALLBACK HookedWindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
