// qx/customize.h - customize mode of the command bars: where a dragged
// control would land on a bar and the marker that shows it (arithmetic
// without windows), and CQXPCustomizeDropSource, the manager's modal drag
// loop that moves or copies controls between bars.
//
// The drag loop owns the mouse capture of its host window while it runs and
// nothing else; every way out (drop, Esc, right button, lost capture,
// WM_QUIT) leaves the target bar without a marker and restores the arrow.
#pragma once

#include <qx/commandbar.h>

#include <vector>

// The effect of a customize drag (DoDragDrop, OnCustomizeDrop).
enum QXPDropEffect {
    qxpDropNone = 0,   // dropped where no bar took it
    qxpDropCopy = 1,   // a copy went to the target (Ctrl held, or forced)
    qxpDropMove = 2,   // the control went to the target
    qxpDropCancel = 5, // Esc, right button, lost capture, or nothing moved
};

// ---------------------------------------------------------------------------
// Drop position and marker, without windows.

// One visible control of a bar that may take part in customization, in
// client coordinates and in the bar's order.
struct QXPDropCandidate {
    CRect rc;
    BOOL bBeginGroup = FALSE;
    BOOL bWrap = FALSE;    // begins a new row (a new column in a vertical bar)
    BOOL bDragged = FALSE; // the control being dragged
};

// Where a drop at a point goes.
struct QXPDropPlace {
    int nItem = -1;        // candidate before or after which it goes; -1: the bar is empty
    BOOL bAfter = FALSE;   // after nItem (else before it)
    BOOL bAccepted = TRUE; // FALSE: the bar takes no drop (an empty ribbon bar)
    CRect rcMarker;        // empty: no marker (onto the dragged control itself)
};

// Thickness of the drop marker.
const int QXP_DROPMARKER_SIZE = 6;

// The place of a drop at pt (client coordinates). bVertical: controls run
// top to bottom (docked left or right, or a popup); bColumnWrapped: a popup
// whose controls run in several columns; rcClient places the marker of an
// empty bar.
QXPDropPlace AFXAPI QxpFindDropPlace(const std::vector<QXPDropCandidate>& items, CPoint pt, BOOL bVertical,
                                     BOOL bColumnWrapped, const CRect& rcClient, BOOL bRibbon = FALSE);

// The five bands a marker is drawn with (inverted): for a vertical bar (the
// marker lies across it) two upright lines at each end and a two-pixel stem
// between them, for a horizontal bar the same turned by 90 degrees.
void AFXAPI QxpDropMarkerBands(const CRect& rcMarker, BOOL bVertical, CRect bands[5]);

// The width a resize drag gives a control: the moved edge follows the
// pointer (dx from where the drag began) but stays at least nMinWidth from
// the other edge. bLeftEdge: the left edge moves.
CRect AFXAPI QxpCustomizeResizeRect(const CRect& rcStart, BOOL bLeftEdge, int dx, int nMinWidth);

// Which edge of a resizable control a point grabs: 1 the left one (within
// 3 pixels inside it), 2 the right one (within 2 pixels), 0 neither.
int AFXAPI QxpCustomizeResizeEdge(const CRect& rcControl, CPoint pt);

// ---------------------------------------------------------------------------
// The drag loop.

class CQXPCustomizeContextMenu;

class CQXPCustomizeDropSource {
public:
    explicit CQXPCustomizeDropSource(CQXPCommandBars* pCommandBars);
    ~CQXPCustomizeDropSource();
    CQXPCustomizeDropSource(const CQXPCustomizeDropSource&) = delete;
    CQXPCustomizeDropSource& operator=(const CQXPCustomizeDropSource&) = delete;

    // Bars register when their window is made and unregister when it goes.
    void RegisterBar(CQXPCommandBar* pBar);
    void UnregisterBar(CQXPCommandBar* pBar);
    int GetBarCount() const { return (int)m_bars.size(); }

    // Runs the drag of a control (one on a bar, or one the caller made, as
    // the customize dialog's command list does) until a drop or a cancel;
    // the target bar inserts its own copy. bForceCopy: a copy whatever the
    // keys. Returns a QXPDropEffect (qxpDropNone without a host window).
    int DoDragDrop(CQXPControl* pControl, BOOL bForceCopy);
    BOOL IsDragging() const { return m_pControl != NULL; }
    CQXPControl* GetDraggedControl() const { return m_pControl; }
    CQXPCommandBar* GetTarget() const { return m_pTarget; }
    // The cursor the loop shows now (move, copy or no-drop), and what it
    // stands for: qxpDropMove, qxpDropCopy or qxpDropNone.
    HCURSOR GetCurrentCursor() const { return m_hCurrentCursor; }
    int GetCursorEffect() const
    {
        return m_hCurrentCursor == m_hCursorCopy ? qxpDropCopy
                                                 : (m_hCurrentCursor == m_hCursorMove ? qxpDropMove : qxpDropNone);
    }

    // The open customize dialog hosts the drag loop and shows the context
    // menu of a right click on a control (NULL when none is open).
    void SetCustomizeDialog(CWnd* pDialog) { m_pCustomizeDialog = pDialog; }
    CWnd* GetCustomizeDialog() const { return m_pCustomizeDialog; }
    void SetContextMenu(CQXPCustomizeContextMenu* pMenu) { m_pContextMenu = pMenu; }
    CQXPCustomizeContextMenu* GetContextMenu() const { return m_pContextMenu; }

private:
    int RunLoop(HWND hWndHost);
    // Finds the bar under a screen point and tells the bars concerned.
    void UpdateTarget(CPoint ptScreen);
    void SetTarget(CQXPCommandBar* pBar);
    void UpdateCursor();
    CQXPCommandBar* FindBarAt(CPoint ptScreen) const;

    HWND m_hWndCapture = NULL;
    CQXPControl* m_pControl = NULL; // the dragged control, while the loop runs
    BOOL m_bMove = FALSE;           // 1 move, 0 copy
    BOOL m_bForceCopy = FALSE;
    CQXPCommandBar* m_pTarget = NULL; // accepted the drag, under the cursor
    CWnd* m_pCustomizeDialog = NULL;
    CQXPCustomizeContextMenu* m_pContextMenu = NULL; // not owned
    CPoint m_ptStart;
    std::vector<CQXPCommandBar*> m_bars; // not owned; registration order
    CQXPCommandBars* m_pCommandBars;
    HCURSOR m_hCursorNoDrop = NULL;
    HCURSOR m_hCursorMove = NULL;
    HCURSOR m_hCursorCopy = NULL;
    HCURSOR m_hCurrentCursor = NULL;
};
