// qx/mousemanager.h - the per-thread watcher of the bars that track the
// mouse (open menus and popups): a click outside them closes them, mouse
// moves outside reach them so they drop their hot control, and windows may
// ask for an emulated WM_MOUSELEAVE.
#pragma once

#include <qx/commandbardefs.h>
#include <qx/drawing.h>
#include <qx/hooks.h>

#include <vector>

#define QXP_TID_MOUSELEAVE 113341

class ToolkitMouseManager : public IToolkitPopupTracking {
public:
    // The calling thread's object (made on first use, with its WH_MOUSE hook).
    static ToolkitMouseManager* AFXAPI GetInstance();
    ~ToolkitMouseManager() override;

    void AddTrackedBar(CQXPCommandBar* pBar);
    void RemoveTrackedBar(CQXPCommandBar* pBar);
    BOOL IsTrackedBarBlocked(CQXPCommandBar* pBar) const;
    int GetTrackedCount() const { return (int)m_arrTracked.size(); }
    CQXPCommandBar* GetTrackedBar(int nIndex) const;
    // Every tracked bar leaves tracking (which closes it).
    void SendTrackLost() override;
    int GetTrackingLock() const override { return m_nLock; }
    // Any bar tracks: IsTrackedBarBlocked asked for no bar.
    BOOL IsMouseLocked() const override { return IsTrackedBarBlocked(NULL); }
    void LockTrackedBars(BOOL bLock);
    void CloseUnlockedBars();
    void AddExcludedWindow(HWND hWnd);
    void RemoveExcludedWindow(HWND hWnd);
    // Emulates WM_MOUSELEAVE for a window of any class: the check runs on a
    // timer procedure of our own, and the message goes to that window.
    void TrackMouseLeave(HWND hWnd);
    HWND GetMouseLeaveWindow() const { return m_hWndLeave; }
    void SetLastSelectedBar(CQXPCommandBar* pBar) { m_pLastSelected = pBar; }
    CQXPCommandBar* GetLastSelectedBar() const { return m_pLastSelected; }
    // A bar going away leaves the calling thread's lists (nothing when the
    // thread has no manager).
    static void AFXAPI ForgetBar(CQXPCommandBar* pBar);
    void SetSwallowButtonUp(BOOL bSwallow) { m_bSwallow = bSwallow; }

    // Menus of the running menu loop open with their rarely used commands
    // shown once the user expanded one of them; both flags are cleared when
    // the loop ends (the last tracked bar leaves).
    void SetMenusExpanded(BOOL bExpanded, BOOL bByUser);
    BOOL IsMenusExpanded() const { return m_bMenusExpanded; }
    BOOL IsExpandedByUser() const { return m_bExpandedByUser; }

    // Modal loops of bars (a popup's resize gripper or tear-off drag): while
    // one runs, the hook leaves the tracked bars alone, so neither moves
    // over other bars nor the button release that ends the loop reach them.
    void EnterBarLoop() { m_nBarLoops++; }
    void LeaveBarLoop()
    {
        if (m_nBarLoops > 0)
            m_nBarLoops--;
    }
    int GetBarLoopCount() const { return m_nBarLoops; }

    // A mouse message of the thread at a screen point, while bars track.
    void OnMouseHook(UINT nMessage, CPoint point);

private:
    ToolkitMouseManager();
    static LRESULT CALLBACK MouseProc(int nCode, WPARAM wParam, LPARAM lParam);
    static void CALLBACK LeaveTimerProc(HWND hWnd, UINT uMsg, UINT_PTR idEvent, DWORD dwTime);
    void CheckMouseLeave(HWND hWnd);

    int m_nLock;
    std::vector<CQXPCommandBar*> m_arrTracked;
    HHOOK m_hHook;
    CQXPCommandBar* m_pLastSelected;
    HWND m_hWndLeave;
    std::vector<HWND> m_arrExcluded;
    BOOL m_bSwallow;
    BOOL m_bMenusExpanded = FALSE;
    BOOL m_bExpandedByUser = FALSE;
    int m_nBarLoops = 0;
};

// The modal loops of the bars paint what is pending before each message:
// QxpDispatchPendingPaint, in qx/drawing.h.
