// qx/bartracker.h - the modal mouse loop that moves a managed toolbar
// between its dock bars and floating, resizes a floating toolbar from an edge
// or a corner, and toggles a toolbar between docked and floating.
#pragma once

#include <qx/commandbardefs.h>

class CQXPToolBar;
class CQXPCommandBars;

// A dock bar catches a dragged bar's point this far outside its window.
#define QXP_DOCK_CATCH_MARGIN 20
// A floating frame keeps at least this much of itself on the work area.
#define QXP_FLOAT_KEEP_VISIBLE 10
// The tracker's move mode; the resize modes are the border hit-test codes
// HTLEFT (10) to HTBOTTOMRIGHT (17).
#define QXP_TRACK_MOVE 1

// --- arithmetic of the tracker (no windows involved) ----------------------

// The dock bar (0 top, 1 bottom, 2 left, 3 right) whose window rectangle,
// widened by QXP_DOCK_CATCH_MARGIN on every side, strictly contains the
// point: the preferred dock bar (-1: none) is tried first, then top, bottom,
// left, right. Dock bars with bPresent FALSE are skipped. -1 when none.
int AFXAPI QxpPickDockBar(const CRect rcDocks[4], const BOOL bPresent[4], CPoint pt, int nPreferred);
// The bar flag that allows docking at a dock position (0 for others).
DWORD AFXAPI QxpDockAllowFlag(int nPosition);
// The rectangle with the borders named by a sizing mode moved by a delta:
// left for HTLEFT/HTTOPLEFT/HTBOTTOMLEFT, right for HTRIGHT/HTTOPRIGHT/
// HTBOTTOMRIGHT, top for HTTOP/HTTOPLEFT/HTTOPRIGHT, bottom for HTBOTTOM/
// HTBOTTOMLEFT/HTBOTTOMRIGHT. A moved border stops where the size would fall
// below szMin (the opposite border never moves). Other modes: unchanged.
CRect AFXAPI QxpSizeByBorder(const CRect& rc, int nMode, CSize delta, CSize szMin);
// A new size for a rectangle resized with a sizing mode: the borders the
// mode does not move stay put (the right border for the left modes, the
// bottom border for the top modes).
CRect AFXAPI QxpPlaceResized(const CRect& rc, int nMode, CSize sz);
// The rectangle moved as little as needed so that the point lies inside.
CRect AFXAPI QxpMoveToContain(const CRect& rc, CPoint pt);
// The rectangle moved so that at least QXP_FLOAT_KEEP_VISIBLE pixels of it
// stay inside the work area on each side.
CRect AFXAPI QxpKeepOnWorkArea(const CRect& rc, const CRect& rcWork);

// --- the tracker ----------------------------------------------------------------

class CBarResizeTracker {
public:
    explicit CBarResizeTracker(CQXPToolBar* pBar);

    // Resizes the floating bar from a border (nMode HTLEFT .. HTBOTTOMRIGHT)
    // with the mouse pressed at a screen point, until the button is released
    // (Esc puts the bar back as it was).
    void TrackResize(int nMode, int x, int y);
    // Moves the bar with the mouse pressed at a screen point: over a dock bar
    // it may use it docks there, elsewhere it floats when it may (kept on
    // screen). Esc puts the bar back where the drag started.
    void TrackMove(int x, int y);
    // A floating bar docks back at its last docked place; a docked bar that
    // may float (and whose command bars allow it) floats at its last
    // floating position. FALSE when nothing could be done.
    BOOL ToggleDocking();

    // Remembers the bar's place in its dock bar (before it leaves it).
    void SaveDockedPlace();
    // A docked place was remembered.
    BOOL HasDockedPlace() const { return m_nDockIndex >= 0; }
    int GetMode() const { return m_nMode; }

    // The last docked place: dock-bar index (-1: none), its row there, the
    // row was the bar's alone, and the rectangle in that dock bar's client
    // coordinates.
    int m_nDockIndex;
    int m_nDockRow;
    BOOL m_bDockRowAlone;
    CRect m_rcDocked;

protected:
    // The mouse loop; returns FALSE when it ended with Esc.
    BOOL Track();
    void OnMove(CPoint pt);
    void OnResize(CPoint pt);
    // The bar's command bars (NULL when it has none).
    CQXPCommandBars* GetCommandBars() const;
    // The dock bar the point picks, -1 for none.
    int HitTestDockBar(CPoint pt) const;
    // Puts the bar back where a cancelled drag started.
    void RestoreStart();

    CQXPToolBar* m_pBar;
    int m_nMode;
    CPoint m_ptLast;
    CPoint m_ptStart;
    BOOL m_bStarted;    // the mouse left the drag threshold
    CRect m_rcTrack;    // the rectangle being moved (screen)
    CRect m_rcDockTest; // the rectangle offered to dock bars (screen)
    // Where the bar was when the drag began, for Esc.
    BOOL m_bStartFloating;
    CRect m_rcStartWindow;
    int m_nStartMRUWidth;
    int m_nStartDock;
    int m_nStartRow;
    BOOL m_bStartAlone;
    CRect m_rcStartDocked;
};
