// qx/hooks.h - the hook manager. Command bars, popups and the ribbon see the
// messages of windows they do not own through CWindowHookManager, which puts
// one link on a window's subclass chain (qx/windowhook.h) and hands each of
// its messages to a list of hook objects (the latest added first).
// CKeyboardHook, one per thread, installs a thread keyboard hook and a
// call-window-procedure hook while keyboard hook objects are registered, so
// an open menu sees every key.
//
// Removing the last hook of a window takes the manager's link off; the
// chain's rules apply (the window gets its procedure back, a later
// subclasser is never cut out and nothing is ever swallowed).
#pragma once

#include <fx/fx.h>

#include <qx/windowhook.h>

#include <map>
#include <vector>

// A hook object: sees the messages of the windows it is set on (or, as a
// keyboard hook object, the thread's key presses with no window).
class CWindowHook {
public:
    enum Result {
        kNotHandled = 0, // the next hook (or the window) gets the message
        kHandled = 1,    // no further hook, no window procedure; lResult is the result
        kStopChain = 2   // no further hook, the window procedure runs
    };

    CWindowHook() : m_bAutoDelete(FALSE) {}
    virtual ~CWindowHook() {}

    virtual int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult);

    // Deleted by the manager when it removes the hook.
    BOOL m_bAutoDelete;
};

class CWindowHookManager {
public:
    static CWindowHookManager* AFXAPI Instance();

    // Links the window on its first hook; a hook already in the window's
    // list is not added twice.
    void SetHook(HWND hWnd, CWindowHook* pHook);
    // Removes the hook from one window (or from every window); an empty list
    // gives the window its procedure back.
    void RemoveHook(HWND hWnd, CWindowHook* pHook);
    void RemoveHook(CWindowHook* pHook);
    void RemoveHooks(CWindowHook* pHook) { RemoveHook(pHook); }
    // Removes every hook of a window: the procedure goes back, then
    // auto-delete hooks are deleted, the last added first.
    void RemoveHooks(HWND hWnd);

    BOOL IsHooked(HWND hWnd) const;
    int GetHookCount(HWND hWnd) const;

    // The window procedure installed on hooked windows: the chains' one.
    static constexpr WNDPROC HookWindowProc = HookedWindowProc;

    ~CWindowHookManager();

private:
    CWindowHookManager() = default;
    class HookList;
    // Takes the window's link off and deletes the list (and the auto-delete
    // hooks that are set on no other window).
    void DestroyList(HookList* pList);
    // Runs the window's hooks on a message, then passes it on.
    LRESULT Dispatch(HookList* pList, UINT nMessage, WPARAM wParam, LPARAM lParam);

    std::map<HWND, HookList*> m_lists;
};

// The popup tracking of the command bars, as the keyboard hooks and the
// windows of other libraries (the document tabs) call on it (the command
// bars' mouse manager registers itself for its thread).
class IToolkitPopupTracking {
public:
    virtual ~IToolkitPopupTracking() {}
    // Ends the tracking of every popup bar.
    virtual void SendTrackLost() = 0;
    // Above 0 while popups must not be closed by Alt.
    virtual int GetTrackingLock() const = 0;
    // TRUE while a bar tracks the mouse (a menu or popup is open): other
    // windows then keep their hover and tooltips off.
    virtual BOOL IsMouseLocked() const { return FALSE; }
};

class CKeyboardHook {
public:
    // The calling thread's object, made on first use.
    static CKeyboardHook* AFXAPI Instance();
    ~CKeyboardHook();

    // Registers a keyboard hook object; the first one installs the thread's
    // WH_KEYBOARD and WH_CALLWNDPROC hooks.
    void Install(CWindowHook* pHook);
    // Removes it; the last one removes both hooks.
    void Uninstall(CWindowHook* pHook);
    // Offers a message to the objects, the latest added first: the first
    // answer other than 0 ends the walk, 1 giving TRUE and 2 FALSE; TRUE when
    // none answers.
    BOOL NotifyHooks(UINT nMessage, WPARAM wParam, LPARAM lParam);
    int GetCount() const { return (int)m_hooks.size(); }
    BOOL IsInstalled() const { return m_hKeyboardHook != NULL; }

    void SetPopupTracking(IToolkitPopupTracking* pTracking) { m_pTracking = pTracking; }
    IToolkitPopupTracking* GetPopupTracking() const { return m_pTracking; }

private:
    CKeyboardHook() = default;
    static LRESULT CALLBACK KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CallWndProc(int nCode, WPARAM wParam, LPARAM lParam);
    void RemoveSystemHooks();

    HHOOK m_hKeyboardHook = NULL;
    HHOOK m_hCallWndHook = NULL;
    std::vector<CWindowHook*> m_hooks;
    IToolkitPopupTracking* m_pTracking = NULL;
};
