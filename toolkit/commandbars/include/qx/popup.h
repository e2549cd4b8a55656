// qx/popup.h - controls that open a popup bar (menu-bar titles, submenu
// items, drop-down buttons) and the popup bar's placement against its owner
// and the monitor's work area.
#pragma once

#include <qx/commandbar.h>

#include <functional>
#include <vector>

class CQXPMultiMonitor;
class CQXPToolBar;

// Placement direction flags of a popup.
enum QXPPopupFlags {
    qxpPopupLeft = 1, // opens leftward
    qxpPopupDown = 2, // drops down below the owner
};

// Everything the placement needs, so it can run with any monitor layout.
struct QXP_POPUP_PLACEMENT {
    CSize size;              // in: the popup's size; out: maybe a smaller height
    CPoint pt;               // the popup point from the direction flags
    CRect rcExclude;         // the owner's rectangle (screen), empty at a point
    CRect rcExcludeVertical; // the owner's rectangle as a vertical parent gives it
    int nFlags = 0;          // in/out QXPPopupFlags
    BOOL bFlip = FALSE;      // may flip to the other side of the owner
    CRect rcWork;            // the work area of the monitor (not yet trimmed)
    // Out.
    BOOL bTooTall = FALSE;  // the popup needs scrolling
    BOOL bRelayout = FALSE; // a menu should lay out again with the work height
    CRect rcResult;
};

// The work area popups use at a point or owner rectangle: the monitor's work
// area, or the whole monitor when a point lies on the taskbar.
CRect AFXAPI QxpGetPopupWorkArea(CQXPMultiMonitor* pMonitors, CPoint pt, const CRect& rcExclude);
// Places the popup; fills rcResult, nFlags, bTooTall and bRelayout.
void AFXAPI QxpCalcPopupPosition(QXP_POPUP_PLACEMENT& place);

// A band at the top or bottom of a scrolling popup: while the mouse rests
// on it a timer scrolls the list one item at a time.
struct CQXPPopupScrollArea {
    CRect rc;
    UINT_PTR nTimer = 0; // the running timer, 0 when none
    HWND hWnd = NULL;    // the popup window that receives the timer
    UINT nID = 0;
    // Starts the timer when the point lies in the band (TRUE); outside it
    // stops a running timer (FALSE).
    BOOL Track(CPoint pt);
    void Stop();
};

// Timers of a popup bar.
#define QXP_TID_SCROLLDOWN 5001
#define QXP_TID_SCROLLUP 5002
#define QXP_TID_TEAROFFHOT 5003
#define QXP_TID_SHOWFULL 5004

// The command id of the expand button at the foot of a shortened menu.
#define QXP_ID_EXPANDPOPUP 9150

// A control that opens a popup bar (types 2, 3 and 4).
class CQXPControlPopup : public CQXPControlButton {
    DECLARE_DYNCREATE(CQXPControlPopup)
public:
    CQXPControlPopup();
    ~CQXPControlPopup() override;
    // A new popup control of a popup type (2, 3 or 4); one reference for
    // the caller.
    static CQXPControlPopup* AFXAPI CreateControlPopup(int nType);

    CQXPCommandBar* GetCommandBar() const override { return m_pCommandBar; }
    // Keeps one reference to the bar (the previous one is released).
    void SetCommandBar(CQXPCommandBar* pBar);
    void SetCommandBar(CMenu* pMenu);
    BOOL GetPopuped() const override { return m_bPopup; }
    BOOL OnSetPopup(BOOL bPopup) override;
    // The rectangle (screen) the popup must not cover, from the control's
    // own: the paint manager decides how far the popup may overlap the
    // control, by the kind of bar and whether the bar runs vertically.
    virtual void AdjustExcludeRect(CRect& rcExclude, BOOL bVertical);
    // A press on a split button's face runs its command (on release in a
    // menu); a press on its arrow, or on any other popup control, opens the
    // popup. A second click on an open title closes it.
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    // In a menu a split item runs its command when released on its face.
    void OnLButtonUp(CPoint pt) override;
    // A split button on a toolbar marks which part is hot: selected state 3
    // for the face, 4 for the arrow.
    void OnMouseMove(CPoint pt) override;
    // Resting on the control in a menu (or on a bar that has a popup open)
    // opens this control's popup.
    void OnMouseHover() override;
    // Keyboard selection moves an open popup of the bar to this control;
    // losing the selection closes a menu-bar title's open menu.
    BOOL OnSetSelected(int bSelected) override;
    // The mnemonic opens the popup as from the keyboard.
    void OnUnderlineActivate() override;
    // Split buttons: Enabled 3 means only the face works, 4 only the arrow.
    // The face runs the command (1, 3 or an enabled action).
    BOOL IsFaceEnabled() const;
    // The popup may open (1, 4 or an enabled action).
    BOOL IsDropDownEnabled() const;
    // Whether the control's popup bar is this control's popup bar or lies
    // anywhere in the tree of popups below it; FALSE when either has no
    // popup bar.
    BOOL IsPopupOf(CQXPControl* pControl) const;
    // While customizing, a control dragged over this one opens its popup
    // (so a submenu can take it), unless the popup lies inside the dragged
    // control's own tree.
    void OnCustomizeDragOver(CQXPControl* pSource, CPoint point, int& nEffect) override;
    // A click while customizing: the control is selected, its popup opens
    // (or closes when open) and the control is dragged.
    void OnCustomizeClickPopup(CPoint point);
    void Copy(CQXPControl* pControl, BOOL bRecursive = FALSE) override;
    // Also compares the popups' contents.
    BOOL Compare(CQXPControl* pOther) override;
    void SetParent(CQXPCommandBar* pParent) override;
    void DoPropExchange(CQXPPropExchange* pPX) override;
    void AddPopupToList(UINT& nCounter, CommandBarList* pList, const CommandBarsExchangeParam* pParam) override;
    void RestorePopupFromList(CommandBarList* pList) override;
    // The open menu of this control shows its rarely used commands (the
    // bar's delayed expansion); nothing for other kinds of popup.
    void ExpandPopup();
    // A double click opens the menu and runs its default item, or shows
    // its rarely used commands when it has no default item.
    BOOL OnLButtonDblClk(CPoint pt) override;

    // Adds the shadows that join this control to its open popup (toolbar
    // and menu-bar controls of types 2 to 4 whose popup shows shadows).
    virtual void UpdateShadow();

    CQXPCommandBar* m_pCommandBar;
    BOOL m_bPopup;
    // The control takes part in the drop shadows of its open popup.
    BOOL m_bShadow = TRUE;
    // The BarID of the popup bar read by a load, until the bar is connected.
    int m_nLoadedBarId = 0;
};

class CQXPPopupBar;

// The button at the foot of a menu that hides rarely used commands: it
// shows them (CQXPPopupBar::Expand). Made by the popup, temporary.
class CQXPControlExpandButton : public CQXPControlButton {
public:
    CQXPControlExpandButton();
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void OnExecute() override;
};

// A popup menu: a top-level window that shows a list of controls against
// its owner control or at a point.
class CQXPPopupBar : public CQXPCommandBar {
    DECLARE_DYNCREATE(CQXPPopupBar)
public:
    CQXPPopupBar();
    ~CQXPPopupBar() override;

    // A new empty popup bar of the manager (one reference for the caller).
    static CQXPPopupBar* AFXAPI CreateForOwner(CQXPCommandBars* pCommandBars);

    // Shows the popup against the owning control (or at the point) and
    // starts tracking, from the keyboard with the first control selected;
    // FALSE when the window could not be made.
    BOOL Popup(CQXPControlPopup* pControlPopup, BOOL bKeyboard = FALSE) override;
    BOOL PopupAt(int x, int y, LPCRECT rcExclude);
    // A popup shows while its window is on screen.
    BOOL IsVisible() const override { return m_hWnd && ::IsWindow(m_hWnd) && ::IsWindowVisible(m_hWnd); }
    // A popup is on screen only while it tracks, which has no idle time to
    // wait for: it redraws at once (under the redraw lock, when the lock
    // is released).
    void DelayRedraw() override { Redraw(); }
    // The rectangle (screen) the popup opens against, from its owning
    // control's rectangle; bVertical: the control's bar runs vertically (a
    // side-docked bar or a menu). The owning control decides
    // (CQXPControlPopup::AdjustExcludeRect).
    virtual void AdjustExcludeRect(CRect& rcExclude, BOOL bVertical);
    // As the bar's, but a shown popup is laid out again at once.
    void ResetSelection() override;
    // Leaving tracking raises the menu-popup-end event, takes the window
    // down (DismissWindow), closes the opener's open-popup state, sends
    // WM_QXP_UNINITCOMMANDSPOPUP to the site, yields once and forgets the
    // owning control; it also ends the return-command link.
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    // Windows hosted on the popup are hidden and handed to the site window
    // first, so that they outlive the popup's window.
    BOOL DestroyWindow() override;
    CQXPCommandBar* GetRootParent() override;
    // The popup's size: a menu's columns (shortened, with its expand
    // button, gripper and tear-off strip), or a popup toolbar's rows within
    // its MRUWidth. A menu starts a new column where a control would pass
    // nLength (a height; 0 or less: no limit). With qxpLayoutKeepState in
    // dwMode a menu keeps its present state: which commands are hidden as
    // rarely used, and the shortcut texts; otherwise both are worked out
    // afresh.
    CSize CalcLayout(int nLength, DWORD dwMode) override;
    // The inner margins: a popup toolbar's own Borders, a menu's as the
    // paint manager gives them.
    CRect GetBorders() const override;
    // The size the popup is placed with (CalcLayout; popups of the ribbon
    // and the combo boxes measure themselves here).
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    // Places a popup of that size from the request (point, exclusion
    // rectangle, flags) inside the work area; the screen rectangle.
    CRect CalcPosition(CSize sz);
    // The popup may flip to the other side of its owner: the manager's
    // PopupFlip option, the popup's own m_bPopupFlip or that of the bar
    // holding its owning control.
    BOOL IsFlipAllowed() const;
    // Lays the shown popup out, places it and moves its window there; the
    // screen rectangle.
    CRect UpdateLocation();

    // Shows the popup at a screen point and runs a message loop until it
    // closes; returns the chosen command id (0 when none). The command is
    // not sent.
    int TrackPopupReturnCmd(CWnd* pSite, int x, int y);
    // The same loop; with bReturnCmd FALSE the chosen item sends its command
    // and the result is TRUE when an enabled item was chosen. Arrow keys
    // move the selection, Enter chooses, Esc closes. nDirection: the
    // placement flags (qxpPopupLeft: the popup's right edge at x).
    int TrackPopup(CWnd* pSite, int x, int y, BOOL bReturnCmd, int nDirection = 0, LPCRECT lpExclude = NULL);
    // A key while the popup tracks; FALSE when the key closed it.
    BOOL OnTrackKey(UINT nKey);
    void DoPropExchange(CQXPPropExchange* pPX) override;

    BOOL SetSelected(int nSelected, int nHow = 1) override;
    void DrawCommandBar(CDC* pDC, CRect rcClip) override;
    // Lays a shown popup out again and moves it to its new place (an
    // expansion animates when the animation kind allows).
    void OnRecalcLayout() override;
    // Down expands a shortened menu when Ctrl is held or when the
    // selection would wrap around.
    int ProcessHookKeyDown(UINT nKey) override;
    // Stepping through a shortened menu skips the hidden commands.
    int ProcessSpecialKey(int nAction) override;

    // --- rarely used commands -----------------------------------------------
    // Shows the hidden commands of a shortened menu; the menus opened later
    // in the same menu loop open expanded.
    void Expand();
    BOOL IsExpanded() const { return m_bExpanded; }
    BOOL HasHiddenItems() const { return m_bHasHiddenItems; }
    // The expand button (NULL when the popup has none).
    CQXPControl* GetExpandButton() const;
    // The first shown control marked as the default item: its index
    // (bByPosition) or its id; -1 when there is none.
    int GetDefaultItem(BOOL bByPosition) const;
    // The delay before resting on the expand button expands (ms).
    static int s_nShowFullDelay;

    // --- resize gripper -------------------------------------------------------
    // From the first gallery-like control (type 10): bit 1 width, bit 2
    // height; 0 when the popup has no gripper.
    int GetResizeFlags() const { return m_nResizeFlags; }
    CRect GetResizeGripperRect() const { return m_rcResizeGripper; }
    // The part of the gripper that starts a resize (client coordinates).
    CRect GetResizeHitRect() const;
    // The modal resize loop (the button went down on the gripper): moves
    // resize the control and the popup until the button is released;
    // Escape restores the size. FALSE when no loop could start.
    BOOL TrackResize(CPoint ptClient);

    // --- copies ------------------------------------------------------------
    // The bar's controls and title, and the popup's own settings.
    void Copy(CQXPCommandBar* pOther, BOOL bRecursive = FALSE) override;
    // A new bar of the same class with a copy of this one (one reference).
    CQXPPopupBar* Clone(BOOL bRecursive);
    BOOL m_bDoubleGripper = FALSE;

    // --- scrolling a list taller than the work area ---------------------
    BOOL IsScrolling() const { return m_bScrolling; }
    int GetFirstVisibleIndex() const { return m_nFirstVisible; }
    int GetEndVisibleIndex() const { return m_nEndVisible; }
    const CRect& GetScrollAreaRect(BOOL bTop) const { return bTop ? m_scrollTop.rc : m_scrollBottom.rc; }
    // Places the controls of a scrolling popup of this client size: from
    // the first visible index downward, or (bFromBottom) from the end
    // visible index upward. Controls cut off get qxpHideScroll.
    void LayoutScroll(CSize sz, BOOL bFromBottom, BOOL bRedraw);
    // Scrolls by whole items (positive: toward the end); FALSE at the end.
    BOOL ScrollItems(int nItems);
    // The work area the placement uses; empty means the monitor's.
    CRect m_rcWorkArea;

    // --- tear-off ---------------------------------------------------------
    BOOL m_bTearOffPopup = FALSE;
    CString m_strTearOffCaption;
    int m_nTearOffId = 0;
    int m_nTearOffWidth = 0;
    CRect GetTearOffRect() const { return m_rcTearOff; }
    // Drags the popup off by its strip (the button went down at a client
    // point of the strip) until the button is released; the toolbar made
    // by the drag, NULL when the popup stayed.
    CQXPToolBar* TrackTearOff(CPoint ptClient);

    BOOL m_bContextMenu = FALSE; // one of the manager's context menus
    // The show animation this popup would play now: qxpAnimateUnfold,
    // qxpAnimateSlide, qxpAnimateFade or kAnimationNone.
    enum {
        kAnimationNone = 5
    };
    int GetAnimationType() const;
    BOOL m_bShowShadow = TRUE;

    CQXPControlPopup* m_pControlPopup; // the opener, not owned
    CPoint m_ptPopup;
    int m_popupFlags;

protected:
    // Height of a scroll band.
    enum {
        kScrollBand = 16
    };
    // What a closing popup does with its window: destroys it (a later
    // Popup makes a new one). A popup whose window holds its content
    // hides it instead.
    virtual void DismissWindow();
    // Height of the tear-off strip above the first control, as the paint
    // manager measures it (0 without the strip).
    int GetTearOffHeight() const;
    // Where the popup was asked to open (the point, the flags before the
    // placement changed them): a re-layout places it again from there.
    CPoint m_ptRequest;
    int m_nRequestFlags = 0;
    // PopupAt's work, while the popup holds a reference to itself; FALSE
    // when the window cannot be made or the opening control's bar lost its
    // window while the site prepared the popup (the popup's window goes).
    BOOL ShowAt(int x, int y, LPCRECT rcExclude);
    // Moves the window to a screen rectangle and shows it: a popup that was
    // not on screen yet comes above all top-most windows, a shown one keeps
    // its place in the z-order.
    void PlaceWindow(const CRect& rc);
    // The opening direction flags from the owning control and its bar, the
    // rectangle (screen) the popup must not cover; the point it opens at.
    CPoint UpdateFlags(CRect& rcExclude);
    // Marks the rarely used controls and hides them (hide flag 0x20) while
    // the popup is shortened.
    void UpdateHiddenItems();
    CQXPControl* GetResizableControl() const;
    int GetGripperHeight() const { return m_nResizeFlags ? (m_nResizeFlags == 2 ? 8 : 11) : 0; }
    // Re-sizes the popup in place after the resizable control changed.
    void ResizeInPlace();
    BOOL IsExpandButton(const CQXPControl* pControl) const;
    BOOL m_bInLayout = FALSE;
    // The window's client size: what a layout asked for from inside the
    // layout answers (it changes nothing).
    CSize GetPresentSize() const;
    // Takes down a tooltip shown by this popup or by the bar of the control
    // that opens it, before the popup covers the control or changes shape.
    void HideToolTips();
    // A popup toolbar's size: rows within the MRUWidth, no gripper.
    CSize CalcToolBarLayout();
    // The opening control's rectangle on screen as the popup opens against
    // it (AdjustExcludeRect) for a bar that runs vertically or not.
    CRect GetOwnerExcludeRect(BOOL bVertical);
    BOOL m_bHasHiddenItems = FALSE;
    BOOL m_bExpanded = FALSE;
    BOOL m_bAnimateExpand = FALSE;
    int m_nExpandHeight = 0;
    int m_nResizeFlags = 0;
    CRect m_rcResizeGripper;
    BOOL m_bResizeTracking = FALSE;
    // The controls' own heights and the gaps above them from the last
    // single-column layout, by control index (0 for others).
    std::vector<int> m_scrollHeights;
    std::vector<int> m_scrollGaps;
    BOOL m_bScrolling = FALSE;
    int m_nFirstVisible = 0;
    int m_nEndVisible = 0;
    CQXPPopupScrollArea m_scrollBottom;
    CQXPPopupScrollArea m_scrollTop;
    CRect m_rcTearOff;
    BOOL m_bTearOffHot = FALSE;
    BOOL m_bTearOffTracking = FALSE;
    int m_nWheelRemainder = 0;
    CRect InnerBorders() const;
    // The popup's drop shadows: removed, (re)made against the exclusion
    // rectangle, or moved along after the popup grew by dx, dy.
    // Draws the bar into a buffer of the window's size and lets animate
    // play it onto the window DC (then, with bFinish, puts the finished
    // picture in place).
    void AnimateFromBuffer(HDC hdcWindow, CSize sz, BOOL bFinish, const std::function<void(CDC*, CDC*)>& animate);
    void RemovePopupShadows();
    void SetPopupShadows();
    void OffsetPopupShadows(int dx, int dy);
    CRect m_rcExclude; // the opening control (screen), empty at a point
    // Shows the placed popup: plays the show animation when one is due,
    // otherwise the popup simply appears. hbmUnder holds the screen under
    // the popup from before it was shown (may be NULL).
    void ShowAnimated(HBITMAP hbmUnder);
    CQXPToolBar* MakeTornOffBar(CQXPCommandBars* pBars, CPoint ptScreen);

    // The popup window: class "QXPPopupBar", activation synchronised with
    // the frame, right to left with the manager.
    BOOL CreatePopupWindow();
    afx_msg BOOL OnNcCreate(LPCREATESTRUCTA lpcs);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};

// A popup whose controls wrap in rows like a toolbar's, within the bar's
// MRUWidth, inside margins of 2, 4, 2, 4: the toolbars' overflow popup.
class CQXPPopupToolBar : public CQXPPopupBar {
    DECLARE_DYNCREATE(CQXPPopupToolBar)
public:
    CQXPPopupToolBar();
    // Always rows as a toolbar's, worked out afresh (shortcut texts too):
    // the length and qxpLayoutKeepState are not used.
    CSize CalcLayout(int nLength, DWORD dwMode) override;
    // A new empty popup toolbar of the manager (one reference for the caller).
    static CQXPPopupToolBar* AFXAPI CreatePopupToolBar(CQXPCommandBars* pCommandBars);
};
