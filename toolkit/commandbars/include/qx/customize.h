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

// ---------------------------------------------------------------------------
// The context menu of a control while customizing.

class CQXPPopupBar;
class CQXPImageManager;

// What the context menu's states depend on: the selected control.
struct QXPCustomizeControlFacts {
    BOOL bSelected = FALSE; // a control is selected
    int nType = 0;          // its Type (1 button .. 11 radio button)
    int nIconId = 0;        // GetIconId
    int nCustomIconId = 0;
    BOOL bCustomCaption = FALSE; // CustomCaption is not empty
    int nCustomStyle = -1;
    int nStyle = 0; // GetStyle
    BOOL bBeginGroup = FALSE;
    int nIndex = 0;                // in its bar's controls
    BOOL bClipboardBitmap = FALSE; // the clipboard holds CF_BITMAP
};

struct QXPCustomizeCommandState {
    BOOL bEnabled;
    BOOL bChecked;
};

// The facts of a control (none selected for NULL).
QXPCustomizeControlFacts AFXAPI QxpCustomizeFactsOf(CQXPControl* pControl, BOOL bClipboardBitmap);
// The enabled and checked state of a context-menu command
// (QX_ID_CUSTOMIZE_RESET .. QX_ID_CUSTOMIZE_BEGINGROUP) for the selection.
QXPCustomizeCommandState AFXAPI QxpCustomizeCommandState(const QXPCustomizeControlFacts& facts, UINT nID);
// The width of the stock picture palette: the pictures in a square grid of
// buttons 23 pixels wide, plus 6.
int AFXAPI QxpStockPaletteWidth(int nPictures);

// Built from menu QX_IDR_CUSTOMIZE_MENU for the customize dialog, which
// owns it: the dialog hands it the right click of a bar (Show), its
// commands QX_ID_CUSTOMIZE_RESET .. QX_ID_CUSTOMIZE_BEGINGROUP (OnCmdMsg),
// WM_QXP_INITCOMMANDSPOPUP (OnBarAnnounced) and
// WM_COMMANDBARS_CONTROLNOTIFY (OnControlNotify). Every command works on
// the manager's customize selection and does nothing without one.
class CQXPCustomizeContextMenu {
public:
    // pSheet receives the menu's commands (the customize dialog).
    CQXPCustomizeContextMenu(CQXPCommandBars* pCommandBars, CWnd* pSheet);
    ~CQXPCustomizeContextMenu();
    CQXPCustomizeContextMenu(const CQXPCustomizeContextMenu&) = delete;
    CQXPCustomizeContextMenu& operator=(const CQXPCustomizeContextMenu&) = delete;

    // The popup bar of the menu (NULL when the menu resource is missing).
    CQXPPopupBar* GetContextBar() const { return m_pContextBar; }
    // The stock pictures (ids 1 to GetStockCount()).
    CQXPImageManager* GetStockImages() const { return m_pStockImages; }
    int GetStockCount() const { return m_nStockCount; }

    // Sets the states and the Name edit for the selection and shows the
    // menu at a screen point until it closes.
    void Show(CPoint ptScreen);
    // Refreshes the controls' states and the Name edit's text.
    void UpdateStates();
    // Commands of the menu; FALSE for other ids. CN_UPDATE_COMMAND_UI sets
    // the command's state.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    // A bar announced itself: the palette fills itself when it first opens.
    void OnBarAnnounced(CQXPCommandBar* pBar);
    // A control of the menu was executed: the Name edit and the palette's
    // pictures are handled here (TRUE, *pResult set).
    BOOL OnControlNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // The commands themselves, on the selected control.
    void Execute(UINT nID);
    void ApplyName(const CString& strName);
    void ApplyStockPicture(int nStockId);
    // Copy Button Image: a copy of the picture goes on the clipboard (the
    // image manager keeps its own bitmap). FALSE when nothing was copied.
    BOOL CopyImage();
    // Paste Button Image: the toolkit's own icon format, else a bitmap.
    BOOL PasteImage();
    // Edit Button Image: the button editor on the control's picture (or an
    // empty one of its image size); OK makes the result the control's
    // custom picture. TRUE when the picture changed.
    BOOL EditImage();

private:
    CQXPControl* GetSelected() const;
    void RecalcSelectedBar(CQXPControl* pControl) const;
    void FillPalette(CQXPCommandBar* pPalette);

    CQXPCommandBars* m_pCommandBars;
    CWnd* m_pSheet;
    CQXPPopupBar* m_pContextBar = NULL;      // one reference
    CQXPImageManager* m_pStockImages = NULL; // one reference
    CQXPCommandBar* m_pPalette = NULL;       // the popup of QX_ID_CUSTOMIZE_CHANGEIMAGE, held by its control
    int m_nStockCount = 0;
};

// ---------------------------------------------------------------------------
// What reaches the frame while the customize dialog runs (the dialog's
// thread hooks ask these; TRUE lets the message through).

// A mouse message for hTarget: moves always pass, and so do windows
// outside the site frame, inside the dialog, inside another foreground
// window or holding the capture; inside the frame only the manager's own
// bars (or their children) get the mouse, so a click on the editing window
// does nothing.
BOOL AFXAPI QxpCustomizeMousePasses(CQXPCommandBars* pCommandBars, HWND hSheet, UINT message, HWND hTarget);
// A key passes when the focus is in the dialog, in a bar's edit box (the
// Name edit of the context menu), in a foreground window other than the
// site frame, or while some window holds the mouse capture.
BOOL AFXAPI QxpCustomizeKeyPasses(CQXPCommandBars* pCommandBars, HWND hSheet);
