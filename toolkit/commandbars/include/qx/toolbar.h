// qx/toolbar.h - a docked or floating toolbar.
#pragma once

#include <qx/popup.h>

class CQXPDockBar;
class CBarResizeTracker;

// The expand (overflow) button of docked toolbars.
#define QXP_ID_TOOLBAR_EXPAND 9148
// "Add or Remove Buttons" at the end of the expand popup.
#define QXP_ID_ADDREMOVE_BUTTONS 9122
// The width (height on vertical bars) kept for the expand button.
#define QXP_EXPAND_BUTTON_LENGTH 11
// The close button in the caption of a floating toolbar.
#define QXP_ID_TOOLBAR_CLOSE 9149
// "Reset Toolbar" at the end of a bar's "Add or Remove Buttons" list.
#define QXP_ID_RESET_TOOLBAR 9123
// Posted to a floating toolbar after its frame was deactivated: it hides
// when the frame is still inactive once the activation change is over.
#define WM_QXP_FLOATSYNCCHECK (WM_USER + 0x2F1)

// A check item of "Add or Remove Buttons": shows or hides one button of a
// bar; the menu stays open.
class CQXPControlToolbarVisibility : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlToolbarVisibility)
public:
    CQXPControlToolbarVisibility();
    ~CQXPControlToolbarVisibility() override;
    // The button the item stands for (one reference).
    void SetTarget(CQXPControl* pTarget);
    CQXPControl* GetTarget() const { return m_pTarget; }
    void OnExecute() override;

protected:
    CQXPControl* m_pTarget;
};

// Opens a popup with copies of the controls that did not fit the row.
class CQXPControlToolbarExpand : public CQXPControlPopup {
    DECLARE_DYNCREATE(CQXPControlToolbarExpand)
public:
    CQXPControlToolbarExpand();
    void Draw(CDC* pDC) override;
    // Refills the popup from the bar's row before it opens (through the
    // manager; a bar without one offers its own hidden controls).
    BOOL OnSetPopup(BOOL bPopup) override;

protected:
    // Appends "Add or Remove Buttons" (beginning a group after other
    // controls) and lets the manager fill its submenu.
    void AddAddRemoveButtons(CQXPCommandBars* pCommandBars, CQXPToolBar* pBar, CQXPCommandBar* pPopup);
    // The popup the site hands over for the bar's overflow
    // (WM_COMMANDBARS_CREATECOMMANDBAR, record flag 1); NULL when none.
    CQXPPopupBar* AskSiteForPopup(CQXPToolBar* pBar);
};

// The close button in the caption of a floating toolbar: hides the bar.
class CQXPControlToolbarClose : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlToolbarClose)
public:
    CQXPControlToolbarClose();
    void Draw(CDC* pDC) override;
    void OnExecute() override;
};

class CQXPToolBar;

// "Reset Toolbar": closes the menus and resets its bar after asking.
class CQXPControlToolbarReset : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlToolbarReset)
public:
    CQXPControlToolbarReset();
    ~CQXPControlToolbarReset() override;
    // The bar the item resets (one reference).
    void SetBar(CQXPToolBar* pBar);
    void OnExecute() override;

protected:
    CQXPToolBar* m_pBar;
};

// The sizing edge or corner (HTLEFT ... HTBOTTOMRIGHT) of a floating bar
// under a point beside the inner rectangle of its window; 0 inside it.
int AFXAPI FloatingEdgeHitTest(const CRect& rcInner, CPoint pt);

class CQXPToolBar : public CQXPCommandBar {
    DECLARE_DYNCREATE(CQXPToolBar)
public:
    CQXPToolBar();
    ~CQXPToolBar() override;

    // Creates the bar window as a child of pParent. A bar of a manager goes
    // into a dock bar. A bar without a manager stands alone in any window:
    // it keeps the bar style bits of dwStyle (dwStyle & 0x40FFFF: gripper,
    // CBRS_TOOLTIPS ...), its window takes the window style bits (dwStyle &
    // 0xFFBF0000, always a child), it has no tracker and may neither dock
    // nor float (the six low bar flags are cleared), its parent lays it out
    // along its top through WM_SIZEPARENT, and with CBRS_TOOLTIPS (0x10) it
    // shows the framework's tooltips itself.
    virtual BOOL CreateToolBar(DWORD dwStyle, CWnd* pParentWnd, UINT nID = 0);
    // The window of a bar of a manager. A missing window is made, class
    // "QXPToolBar" with the bar's Title as its text, at the last floating
    // point (100, 100 before the bar ever floated) with an empty size, right
    // to left with the manager, and shown without activation: a popup owned
    // by pOwner and synchronised with its frame when bFloating, else a child
    // of pOwner. An existing window turns into the one asked for. FALSE when
    // the window cannot be made.
    virtual BOOL CreateBarWindow(CWnd* pOwner, BOOL bFloating);
    // A bar made by CreateToolBar without a manager.
    BOOL IsStandalone() const { return m_pCommandBars == NULL && m_pTracker == NULL; }
    // The window that lays a bar without a manager out (sent WM_SIZE when
    // the bar's size changes, or it hides): the window it stands in, which
    // need not be the site its commands go to.
    CWnd* GetLayoutHost() const;
    // The buttons of an RT_TOOLBAR resource (CQXPCommandBar::LoadToolBar);
    // the bar remembers the resource for Reset.
    BOOL LoadToolBar(UINT nIDResource, BOOL bLoadImages = TRUE) override;
    // The same from button ids (0 begins a group).
    BOOL SetButtons(const UINT* pIds, int nCount);

    CQXPDockBar* GetDockBar() const { return m_pDockBar; }
    void SetDockBar(CQXPDockBar* pDockBar) { m_pDockBar = pDockBar; }
    // Docked size for a length; lays the controls out with qxpLayoutCommit.
    virtual CSize CalcDockingLayout(int nLength, DWORD dwMode, int nWidth = 0);
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    // Lays a shown bar out again: a docked one through its frame, a
    // floating one in its own window; a standalone one asks the window it
    // stands in (GetLayoutHost) for its band with WM_SIZE and that window's
    // client size, once. Then redraws it. Nothing for a hidden bar (its
    // layout waits until it shows) or while a re-layout of the bar runs
    // (the frame or site it asks may ask back).
    void OnRecalcLayout() override;
    void SetVisible(BOOL bVisible) override;
    // The bar's own visibility (SetVisible; cleared when the manager
    // removes it), whatever its window shows meanwhile (a temporary hide).
    BOOL IsVisible() const override { return m_bVisible; }
    // 0 to 3 docks the bar on that side, 4 floats it, through the manager
    // (DockCommandBar, FloatCommandBar). FALSE without a manager, for other
    // positions and where the bar may not go.
    BOOL SetPosition(int nPosition) override;

    // The last docked rectangle in dock-bar client coordinates.
    CRect m_rcDocked;

    // --- the expand (overflow) button ----------------------------------------
    void SetShowExpandButton(BOOL bShow);
    BOOL IsShowExpandButton() const { return m_bShowExpandButton; }
    // The button while the bar shows it, else NULL.
    CQXPControl* GetExpandButton() const;
    // TRUE when the last committed layout hid controls for lack of room.
    BOOL HasHiddenControls() const;
    // The check items of this bar's Add or Remove Buttons list. The bar
    // first drops the buttons the user hid that the program never gave it
    // and takes back, hidden (0x10), every button of the program's that it
    // lacks, at its original place: those can be checked to show again.
    // Only the program's own buttons can be checked.
    void FillAddRemoveList(CQXPControls* pItems);
    // The bars of this bar's dock row in row order (this bar alone when it
    // is not docked).
    std::vector<CQXPToolBar*> GetRowBars();
    BOOL m_bShowExpandButton;

    // --- floating and moving --------------------------------------------------------
    // Takes the bar out of its dock bar into a small window of its own
    // (owned by the site frame) with its top-left corner at a screen point.
    BOOL SetFloating(CPoint ptScreen);
    BOOL IsFloating() const { return m_barPosition == qxpBarFloating; }
    // Docks the bar on a side (0 top, 1 bottom, 2 left, 3 right): into the
    // row under the rectangle (screen coordinates), else as a new row.
    BOOL DockTo(int nPosition, LPCRECT lpRect = NULL);
    // The floating window's size (caption included) for a width, or a
    // height with qxpLayoutLengthIsHeight; with qxpLayoutMRUWidth the length
    // is the bar's MRUWidth (unlimited when it has none). Lays the controls
    // out with qxpLayoutCommit.
    CSize CalcLayout(int nLength, DWORD dwMode) override;
    // The mode a floating bar is laid out again with: committed, at its
    // MRUWidth, horizontally.
    enum {
        kFloatingRelayoutMode = qxpLayoutCommit | qxpLayoutMRUWidth | qxpLayoutHorz
    };
    // Moves the bar with the mouse, pressed at a point of the bar (client
    // coordinates), until the button is released (the tracker's move loop);
    // pressed on the border of a floating bar, the drag resizes it instead.
    void TrackMove(CPoint ptStart);
    // The border of a floating bar under a point: HTLEFT, HTRIGHT, HTTOP,
    // HTBOTTOM, or a corner code where two borders meet; 0 elsewhere.
    int HitTestFloatingEdge(CPoint point) const;
    // The drag, dock and resize tracker of a managed bar (NULL only for a
    // standalone bar); it keeps the last docked place.
    CBarResizeTracker* GetTracker() const { return m_pTracker; }
    CPoint m_ptFloating; // the last floating position (screen)
    // A floating bar also draws its caption and frame.
    void DrawCommandBar(CDC* pDC, CRect rcClip) override;
    // Docked with the gripper bit: the gripper's room on the left (top when
    // docked at a side) is added to the margins.
    CRect GetBorders() const override;
    // The gripper's size in the current position (0, 0 without one).
    CSize GetGripperSize() const;

    // --- floating frame behaviour ---------------------------------------------------
    // Print preview and the like: the window hides without the bar's own
    // visibility changing; undoing it shows the window again when the bar
    // is visible (the menu bar then asks the frame for its menu).
    void SetTemporarilyHidden(BOOL bHidden);
    BOOL IsTemporarilyHidden() const { return m_bTemporarilyHidden; }
    // The close button of the floating caption (NULL while not floating).
    CQXPControl* GetCloseButton() const;
    // Double click off the buttons: a floating bar docks back where it was
    // docked last; a docked one floats when it may and the manager allows it
    // (DblClickFloat). FALSE when nothing could be done (the tracker's
    // toggle).
    BOOL ToggleDocking();

    // --- reset ------------------------------------------------------------------------
    // Puts the program's own controls back (after asking, with bAsk): the
    // saved original controls, else the toolbar resource again.
    virtual void Reset(BOOL bAsk);
    // The bar is customizable and differs from its original controls (or
    // has none to compare with).
    virtual BOOL CanReset() const;
    UINT GetResourceId() const { return m_nResourceId; }
    UINT m_nResourceId;

    // --- layout persistence --------------------------------------------------------
    void DoPropExchange(CQXPPropExchange* pPX) override;
    // Takes over the controls of the same bar loaded from a saved layout,
    // unless the program's own bar changed since (then, without bSilent and
    // with a customised saved bar, the user is asked).
    virtual void MergeLoadedBar(CQXPToolBar* pLoaded, BOOL bSilent);
    BOOL m_bBuiltIn; // made by the program, not by the user
    BOOL m_bCloseable;
    BOOL m_bTearOff;
    BOOL m_bContextMenuPresent;
    BOOL m_bCustomizeDialogPresent;

protected:
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFloatSyncCheck(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    // A standalone bar's place in its parent: a band along the top.
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
    // The expand control of the bar, created when bCreate.
    CQXPControlToolbarExpand* FindExpandControl(BOOL bCreate);
    // Asks whether the bar's changes may go ("Are you sure..."): TRUE for OK.
    BOOL ConfirmReset();
    // The caption close button, created when bCreate.
    CQXPControlToolbarClose* FindCloseControl(BOOL bCreate);
    // Turns the floating window into a child of the dock bar.
    void AttachToDockBar(CQXPDockBar* pDock);
    // The floating bar's top-level frame is the active window (or one of
    // its floating windows that keeps it active).
    BOOL IsFrameActive() const;

    friend class CBarResizeTracker;
    CQXPDockBar* m_pDockBar;
    CBarResizeTracker* m_pTracker;
    BOOL m_bInSizeParent = FALSE; // a layout for the parent's WM_SIZEPARENT runs
    BOOL m_bInRecalcLayout = FALSE; // OnRecalcLayout runs
    BOOL m_bTemporarilyHidden;
    HWND m_hWndFocusBefore; // the window that had the focus before the bar
};

// A toolbar whose controls are laid out like a menu's while it floats.
class CQXPFloatingPopupBar : public CQXPToolBar {
    DECLARE_DYNCREATE(CQXPFloatingPopupBar)
public:
    CQXPFloatingPopupBar();
};
