// qx/commandbar.h - the window shared by toolbars, the menu bar and popup
// menus: it owns its control collection, hands mouse events to the control
// under the pointer, refreshes the controls' states through the site frame's
// command routing at idle time and draws them.
#pragma once

#include <qx/barcache.h>
#include <qx/barcontrols.h>
#include <qx/hooks.h>
#include <qx/paintmanager.h>

// The bar's timer that shows the full menu of an open, shortened popup.
#define QXP_TID_EXPANDPOPUP 112224

// The gripper bit of a bar's style.
#define QXP_CBRS_GRIPPER 0x00400000L

class CQXPToolTipContext;
class CQXPImageManager;
class CQXPControlPopup;

// Pending work of a bar, carried out at idle time.
enum QXPBarPending {
    qxpPendingLayout = 1,
    qxpPendingRedraw = 2,
};

// The bar is also the paint manager's view of it (CQXPBarView).
class CQXPCommandBarAccessible;
class CQXPKeyboardTips;
struct CQXPKeyboardTip;

// Timer of a bar: the manager's keyboard tips show again for the bar
// (posted, no period).
#define QXP_TID_SHOWKEYTIPS 52426

// The key a tracking bar is about to process; WM_QXP_PRETRANSLATEKEY carries
// a pointer to it (lParam: the bar). A site that answers non-zero has taken
// the key and the bar leaves it alone.
// Context help asks a window for the help id under a client point.
#ifndef WM_HELPHITTEST
#define WM_HELPHITTEST 0x0366
#endif
#ifndef HID_BASE_COMMAND
#define HID_BASE_COMMAND 0x00010000
#endif
#ifndef HID_BASE_CONTROL
#define HID_BASE_CONTROL 0x00050000
#endif

struct QXP_KEYRECORD {
    UINT nKey;
    LPARAM lKeyData;
};

class CQXPCommandBar : public CWnd, public CQXPBarView {
    DECLARE_DYNCREATE(CQXPCommandBar)
public:
    CQXPCommandBar();
    ~CQXPCommandBar() override;

    // --- identity --------------------------------------------------------------
    int GetType() const override { return m_barType; }
    int GetPosition() const override { return m_barPosition; }
    // Records the bar's Position without moving the bar (the dock bar and
    // the layout loader note where a bar now is).
    void SetBarPosition(int nPosition) { m_barPosition = nPosition; }
    // Moves the bar to a position: 0 to 3 docked on that side, 4 floating.
    // TRUE when done; the base moves nothing. A toolbar docks or floats
    // through its manager.
    virtual BOOL SetPosition(int nPosition)
    {
        (void)nPosition;
        return FALSE;
    }
    UINT GetBarID() const { return m_nBarID; }
    void SetBarID(UINT nID) { m_nBarID = nID; }
    CString GetTitle() const override { return m_strTitle; }
    HWND GetBarHwnd() const override { return m_hWnd; }
    void SetTitle(const CString& strTitle);
    DWORD GetFlags() const { return m_dwFlags; }
    DWORD GetBarFlags() const override { return m_dwFlags; }
    void SetFlags(DWORD dwAdd, DWORD dwRemove = 0);
    // Whether the bar shows: 0 in the base; a toolbar answers its own
    // visibility (cleared while hidden or removed), a popup whether its
    // window is on screen.
    virtual BOOL IsVisible() const { return FALSE; }
    HWND GetDockBarHwnd() const override;
    BOOL GetOpenerRect(CRect* pRect) const override;
    // The paint manager that draws the bar: its own, else the one of the
    // first bar of its popup chain (GetRootParent), else the process-wide
    // one. Never NULL.
    CQXPThemePainter* GetPaintManager() const;
    // The image manager that supplies the bar's icons, by the same rule,
    // ending in the process-wide image manager. Never NULL.
    CQXPImageManager* GetImageManager() const;
    // The bar takes the caller's reference to the manager and releases the
    // one it held; NULL goes back to the inherited one. The bar is redrawn.
    void SetPaintManager(CQXPThemePainter* pPaintManager);
    void SetImageManager(CQXPImageManager* pImageManager);
    // The bar's own managers (NULL when it inherits them).
    CQXPThemePainter* GetOwnPaintManager() const { return m_pPaintManager; }
    CQXPImageManager* GetOwnImageManager() const { return m_pImageManager; }
    virtual void SetVisible(BOOL bVisible);
    BOOL IsVerticalPosition() const { return m_barPosition == qxpBarLeft || m_barPosition == qxpBarRight; }

    // --- controls ------------------------------------------------------------------
    CQXPControls* GetControls() const { return m_pControls; }
    int GetControlCount() const override { return m_pControls->GetCount(); }
    CQXPControlView* GetControlAt(int nIndex) const override { return m_pControls->GetAt(nIndex); }
    CQXPControl* GetControl(int nIndex) const { return m_pControls->GetAt(nIndex); }
    // Empties the bar first when bRemove; converts the menu into controls.
    virtual BOOL LoadMenu(CMenu* pMenu, BOOL bRemove = TRUE);
    // Replaces the controls by the buttons of an RT_TOOLBAR resource
    // (version 1, width, height, count, ids; id 0 begins a group), each
    // offered to the site first (WM_COMMANDBARS_CREATECONTROL) and
    // announced to it afterwards. With bLoadImages the image manager gets
    // the resource's pictures, and a picture width other than 16 becomes
    // the bar's icon size. FALSE when the resource is missing or damaged,
    // or its pictures cannot be loaded.
    virtual BOOL LoadToolBar(UINT nIDResource, BOOL bLoadImages = TRUE);

    // --- links -----------------------------------------------------------------------
    // The manager: the first bar of the popup chain (this bar, then the bar
    // whose control opened it, and so on) that is linked to one; NULL when
    // none is.
    CQXPCommandBars* GetCommandBars() const;
    // Links the bar to a manager (not owned). A bar whose window exists
    // takes the manager's tooltip context at once.
    void SetCommandBars(CQXPCommandBars* pCommandBars);
    // The window the bar belongs to: the manager's site frame, else the
    // explicit site window of the first bar of the popup chain, else the
    // window's owner or parent, else the thread's main window. NULL only
    // when there is none of them.
    CWnd* GetSite() const;
    // The window that receives the commands of the controls: the first
    // command target along the popup chain, else the first explicit site
    // window along it, else GetSite.
    CWnd* GetOwnerSite() const;
    // The explicit site window (context menus shown for a window of their
    // own; NULL clears it).
    void SetOwnerSite(CWnd* pSite) { m_hWndSite = pSite ? pSite->GetSafeHwnd() : NULL; }
    // The window that takes the commands instead of the site (NULL: none).
    void SetCommandTarget(CWnd* pTarget) { m_hWndCommandTarget = pTarget ? pTarget->GetSafeHwnd() : NULL; }
    CWnd* GetCommandTarget() const;
    // The first bar of a chain of popups (this bar when it is no popup).
    virtual CQXPCommandBar* GetRootParent() { return this; }
    // The bar whose control opened this one; NULL for a bar of its own.
    virtual CQXPCommandBar* GetParentCommandBar() const;
    virtual BOOL IsPopupBar() const;
    virtual BOOL IsRibbonBar() const { return FALSE; }
    // A dialog bar (a bar hosting one window; its saved layout keeps its
    // client sizes).
    virtual BOOL IsDialogBar() const { return FALSE; }
    // The ribbon's tabs under the wheel: the next (bForward) or previous
    // tab. FALSE when nothing changed (every other bar).
    virtual BOOL ScrollTabs(BOOL bForward)
    {
        (void)bForward;
        return FALSE;
    }
    // The edges of an open popup the user may drag (0 for other bars).
    virtual int GetResizeFlags() const;
    // The manager offers a mnemonic key to the bar before its own search;
    // TRUE when the bar took it.
    virtual BOOL PreviewMnemonic(UINT nChar)
    {
        (void)nChar;
        return FALSE;
    }
    // The window has WS_EX_LAYOUTRTL or WS_EX_RTLREADING: Left and Right
    // swap their meaning.
    BOOL IsLayoutRTL() const;

    // --- copies ------------------------------------------------------------------------
    // Takes the other bar's type, position, id, flags, style, title, sizes,
    // manager and default button style, then copies of its controls
    // (bRecursive: the controls' popups are copied too).
    virtual void Copy(CQXPCommandBar* pOther, BOOL bRecursive = FALSE);
    // A new bar of the same class holding a copy of this one (one reference
    // for the caller).
    virtual CQXPCommandBar* Clone(BOOL bRecursive = FALSE);

    // --- sizes -----------------------------------------------------------------------
    CSize GetButtonSize() const override;
    // The icon size: the bar's own, else 16 x 16; toolbars take the large
    // size while the manager's large-icons option is on.
    CSize GetIconSize() const override;
    void SetButtonSize(CSize sz) { m_szButtons = sz; }
    void SetIconSize(CSize sz) { m_szIcons = sz; }
    // The icon size; with bLarge the large one (its own, else the manager's,
    // else twice the normal size).
    void GetButtonSize(CSize* pSize, BOOL bLarge) const;
    CSize GetLargeIconSize() const override;
    void SetLargeIconSize(CSize sz) { m_szLargeIcons = sz; }
    // "ShowTextBelowIcons": 0, 1, or 2 for the manager's option.
    BOOL IsTextBelowIcons() const override;
    // The manager's keyboard cues (always shown without a manager).
    BOOL IsKeyboardCuesVisible() const override;
    void SetShowTextBelowIcons(int nShow) { m_nShowTextBelowIcons = nShow; }
    CSize m_szLargeIcons = CSize(0, 0);
    int m_nShowTextBelowIcons = 2;
    int GetDefaultButtonStyle() const { return m_buttonStyle; }
    void SetDefaultButtonStyle(int nStyle) { m_buttonStyle = nStyle; }
    // The inner margins the controls are laid out in (a docked toolbar adds
    // its gripper).
    virtual CRect GetBorders() const { return m_rcBorders; }
    void SetBorders(const CRect& rc) { m_rcBorders = rc; }
    // The control-bar style bits ("Style"); a docked bar with the gripper
    // bit shows a gripper to drag it by.
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    void ShowGripper(BOOL bShow);
    BOOL HasGripper() const { return (m_dwStyle & QXP_CBRS_GRIPPER) != 0; }

    // --- selection and tracking ------------------------------------------------------
    int GetSelectedIndex() const { return m_nSelected; }
    CQXPControl* GetSelected() const { return m_pControls->GetAt(m_nSelected); }
    // nHow: 0 none, 1 mouse, 2/3 keyboard. -1 clears the selection.
    virtual BOOL SetSelected(int nSelected, int nHow = 1);
    // Closes the open popup and opens the popup of the control at nPopuped
    // (-1: none); FALSE when nothing changed. bKeyboard: the popup opens as
    // from the keyboard, its first control selected.
    virtual BOOL SetPopuped(int nPopuped, BOOL bKeyboard = FALSE);
    // TRUE while SetPopuped opens a popup from the keyboard (the opening
    // control passes it on to the popup bar's Popup).
    BOOL IsPopupingByKeyboard() const { return m_bPopupingByKeyboard; }
    // Shows this bar as the popup of a control (bKeyboard: opened from the
    // keyboard, its first control selected); TRUE when it is shown. Only
    // popup bars open; the base refuses.
    virtual BOOL Popup(CQXPControlPopup* pControlPopup, BOOL bKeyboard = FALSE)
    {
        (void)pControlPopup;
        (void)bKeyboard;
        return FALSE;
    }
    int GetPopupedIndex() const { return m_nPopuped; }
    virtual void OnControlSelected(int nSelected, CQXPControl* pControl);
    // The controls changed under the bar: the open popup closes, nothing
    // stays selected and the bar is laid out again at idle time (a popup
    // at once).
    virtual void ResetSelection();
    // Enters (bMode non-zero) or leaves menu mode. Tracking is 1, or 2
    // while a popup of the bar is open (SetPopuped). Asked for a non-zero
    // mode while it tracks, or for the mode it has, the bar only stores the
    // value and answers FALSE.
    virtual BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE);
    // 0 not tracking, 1 tracking, 2 tracking with a popup of the bar open.
    int IsTrackingMode() const { return m_bTracking; }
    // A key while the bar tracks: 0 not handled (an older tracking bar may
    // take it), 1 eaten, 2 passed on to the window. The site sees the key
    // first (WM_QXP_PRETRANSLATEKEY), then the selected control.
    virtual int ProcessHookKeyDown(UINT nKey);
    // The key data (lParam of the key message) of the key being processed.
    LPARAM m_lHookKeyData = 0;
    // Keyboard actions: 0 next, 1 previous, 2 close popup, 3 open popup,
    // 4 Esc, 5 Enter, 6 first, 7 last. 0 when nothing was done.
    virtual int ProcessSpecialKey(int nAction);
    // The control the keyboard steps to from nIndex (-1: from the start or
    // the end) in nDirection (+1, -1): the collection's next selectable
    // control; a bar with a stop of its own among its controls adds it.
    virtual int GetNextKeyboardStop(int nIndex, int nDirection) const { return m_pControls->GetNext(nIndex, nDirection); }
    // Before the keyboard selects a control the bar brings it into view (a
    // bar that scrolls or pages its controls); nothing in the base.
    virtual void EnsureVisible(CQXPControl* pControl) { (void)pControl; }
    // The mouse moved outside the bar while it tracks (client coordinates).
    virtual void OnMouseMoveOutside(CPoint point);
    // Above 0 while a modal popup runs on top of this one.
    int m_nLockTracking = 0;
    // How the selection last moved while tracking: 0 by the mouse, 2 or 3
    // by the keyboard (tracking entered from the keyboard counts as 2).
    int m_nKeyboardEntry = 0;
    // Tracking began from the keyboard: keys, or a popup opened from a bar
    // whose selection the keyboard had moved. A mouse move that merely
    // finds the new popup under the pointer does not undo it.
    BOOL m_bKeyboardTracking = FALSE;
    BOOL IsKeyboardEntered() const { return m_bKeyboardTracking || m_nKeyboardEntry != 0; }
    // The next popup this bar opens plays the show animation; set where the
    // user explicitly opens one, cleared once that popup was shown.
    BOOL m_bAnimateNextPopup = FALSE;

    // --- keyboard tips ---------------------------------------------------------------
    // Adds one tip record per visible captioned control (and, for a bar
    // without a parent bar, one per other visible bar of the manager).
    virtual void CreateKeyboardTips(CQXPKeyboardTips* pTips);
    // The key(s) of a tip were typed: a control's tip activates it as its
    // mnemonic would, a bar's tip moves keyboard tracking to that bar.
    virtual void OnKeyboardTip(CQXPKeyboardTip* pTip);
    // The level of the keyboard tips shown for this bar, 0 when none.
    int GetKeyboardTipsMode() const;
    BOOL IsShowingKeyboardTips() const { return GetKeyboardTipsMode() > 0; }
    // The level this bar's tips show at: 1 for a bar without a parent bar,
    // one more for each popup between it and that bar.
    int GetKeyboardTipsDepth() const;
    void HideKeyboardTips();

    // A popup shown to return the chosen command writes it here (Execute
    // then sends nothing). Cleared when the popup ends tracking, so the
    // pointer never outlives the caller's variable.
    int* m_pReturnCmd;
    BOOL m_bRecursePopup;

    // --- layout and drawing --------------------------------------------------------
    void DelayLayout() { m_nPending |= qxpPendingLayout; }
    // The remembered width rows wrap at; a change lays the bar out again
    // at the next idle time.
    void SetMRUWidth(int nWidth);
    int GetMRUWidth() const { return m_nMRUWidth; }
    // Marks the bar for a redraw at the next idle time (qxpPendingRedraw);
    // a popup redraws at once instead.
    virtual void DelayRedraw() { m_nPending |= qxpPendingRedraw; }
    // While the redraw lock is held (above 0) a redraw request only marks
    // the bar (qxpPendingRedraw); releasing the last hold carries a marked
    // redraw out. CQXPBarRedrawLock holds it for a scope.
    void LockRedraw() { m_nLockRedraw++; }
    void UnlockRedraw();
    BOOL IsRedrawLocked() const { return m_nLockRedraw > 0; }
    int GetPending() const { return m_nPending; }
    virtual void OnRecalcLayout();
    // Invalidates a rectangle of the bar (the whole bar for NULL, which
    // also settles a pending redraw), only while the bar shows (IsVisible
    // and its window on screen); a bar off screen only drops its paint
    // cache's copy, so that it paints its state of then when it shows
    // again. Under the redraw lock the bar is only marked for a redraw.
    // Virtual: a bar that draws more than its controls may widen the area.
    virtual void Redraw(LPCRECT lpRect = NULL, BOOL bAnimate = TRUE);
    // The bar's size for a length and mode (and, with commit, its layout).
    virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
    // The size of the bar in its own window (floating toolbar, popup) for a
    // length and layout mode; 0, 0 for bars that have none.
    virtual CSize CalcLayout(int nLength, DWORD dwMode)
    {
        (void)nLength;
        (void)dwMode;
        return CSize(0, 0);
    }
    // The items' shortcut texts from the manager's keyboard shortcuts (menu
    // layouts run it first while the manager's menu-shortcuts option is on).
    virtual void UpdateShortcuts();
    // The controls that the bar's two per-control notifications reach (the
    // shortcut texts and the active document's visibility): every control
    // of the bar here; a bar may narrow them.
    virtual CQXPControls* GetBroadcastControls() const { return m_pControls; }
    // Draws the bar and its controls.
    virtual void DrawCommandBar(CDC* pDC, CRect rcClip);
    // Fills the bar's background: the paint manager's FillCommandBarEntry
    // for this bar.
    virtual void FillCommandBarEntry(CDC* pDC);
    // The font the controls are measured and drawn with.
    virtual CFont* GetControlFont();
    // Changed areas cross-fade ("EnableAnimation"); the bar then paints from
    // an off-screen copy.
    void EnableAnimation(BOOL bEnable);
    BOOL IsAnimationEnabled() const { return m_pAnimationCache->m_bAnimation; }
    // Keeps the off-screen copy without animation.
    void SetBuffered(BOOL bBuffered);
    CQXPBarAnimationCache* GetAnimationCache() const { return m_pAnimationCache; }

    // Refreshes the controls' states through the site's command routing and
    // carries out pending layout and redraw.
    virtual void OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    void UpdateControlsState(CWnd* pTarget, BOOL bDisableIfNoHandler);

    // The bar leaves its manager: tracking ends, the keyboard sink goes,
    // the thread forgets it as its last selected bar, the controls are
    // emptied (hosted windows go back first) and the window is destroyed.
    virtual void OnRemoved();

    // --- mouse, status text and tooltips -------------------------------------------
    // TRUE when a screen point lies over the bar's window (and, for a popup
    // with a window region, inside that region).
    virtual BOOL HitTestBar(CPoint point) const;
    // A right-button release in a popup of this bar (the popup chain's root).
    virtual void OnPopupRButtonUp(CQXPCommandBar* pPopup, CPoint point)
    {
        (void)pPopup;
        (void)point;
    }
    // The tooltip of a control: its tooltip text (else its caption without
    // the mnemonic marker), with " (shortcut)" while the manager's
    // ToolBarAccelTips option is on and a shortcut is known.
    CString GetControlToolTipText(CQXPControl* pControl) const;
    // Tooltips are offered: no popup of this bar is open, the mouse manager
    // is not locked, no other bar's tracking blocks this one and the
    // manager's ToolBarScreenTips option is on.
    BOOL IsToolTipAllowed() const;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
    // The tooltip context the bar's messages pass through: its manager's
    // (all bars of a manager share one tooltip window); NULL for a bar
    // without a manager, which shows the framework's tooltips of its own
    // window instead (popups show none).
    CQXPToolTipContext* GetToolTipContext() const { return m_pToolTipContext; }
    // The help id of a control (HelpId, else the action's help id or id,
    // else the control id).
    static int AFXAPI GetControlHelpId(CQXPControl* pControl);
    // The help id of the hot control, 0 when none is hot (for F1).
    int GetHotHelpId() const { return m_nHotHelpId; }
    // The window whose caret was hidden when tracking began (NULL: none).
    HWND GetHiddenCaretWindow() const { return m_hWndCaret; }
    // Whether the mouse may change the hot control now (mouse moves).
    BOOL IsMouseMoveAllowed() const;

    // The bar reacts to the mouse while the mouse manager is locked.
    BOOL m_bIgnoreMouseLock = FALSE;
    // Selecting with the mouse starts the hover-open timer; moves are
    // followed while a popup of this bar is open.
    BOOL m_bHoverOpen = TRUE;
    // Entering tracking hides the focused window's caret until it ends.
    BOOL m_bHideCaret = TRUE;
    // A popup shown for the right button: a right-button release runs the
    // item under it.
    BOOL m_bRightButton = FALSE;
    // Popups of this bar may flip to the other side of their owner, as
    // the manager's PopupFlip option lets every popup: a popup with it set,
    // or opened from a bar with it set. A menu with its own flag keeps its
    // size where there is no room for it (no further columns). Not stored.
    BOOL m_bPopupFlip = FALSE;
    // A popup shown without command notifications (TPM_NONOTIFY): the idle
    // update leaves the states of its controls, and of its submenus', alone.
    BOOL m_bNoNotify = FALSE;

    BOOL IsCustomizeMode() const;
    BOOL IsCustomizable() const { return m_bCustomizable; }

    // --- customize mode (custommode.cpp) ------------------------------------------
    // A control dragged by the customize drag loop (qx/customize.h) enters,
    // moves over, leaves or is dropped on the bar (client coordinates).
    // Enter and Over answer whether the bar takes the drop; Drop inserts a
    // copy of the control and may change the effect (5: nothing moved).
    virtual BOOL OnCustomizeDragEnter(CQXPControl* pDragged, CPoint point);
    virtual void OnCustomizeDragLeave();
    virtual BOOL OnCustomizeDragOver(CQXPControl* pDragged, CPoint point);
    virtual void OnCustomizeDrop(CQXPControl* pDragged, int& nEffect, CPoint point, CPoint ptStart);
    // Controls run top to bottom: docked left or right, or a popup.
    BOOL IsVerticalArrangement() const;
    // The control a drop at the point goes before or after (NULL: the bar is
    // empty), with the marker rectangle (empty: none). FALSE when the bar
    // takes no drop there.
    virtual BOOL FindDropPlace(CQXPControl* pDragged, CPoint point, CQXPControl** ppControl, BOOL* pbAfter,
                               CRect* prcMarker) const;
    // The insertion marker shown while a control is dragged over the bar.
    CRect GetDropMarker() const { return m_rcDropMarker; }
    CRect m_rcDropMarker;
    // The selection frame of the customized control and the drop marker.
    void DrawCustomizeMarks(CDC* pDC);
    // The left button went down on a control: Alt+drag outside customize
    // mode, or a control that may not move in customize mode. TRUE when the
    // press was taken here (the control's click handler is not called).
    BOOL OnCustomizeLButtonDown(CQXPControl* pControl, CPoint point);
    // The right button went down while customizing: the control becomes
    // the selection and the customize dialog shows its context menu. TRUE
    // when taken.
    BOOL OnCustomizeRButtonDown(CQXPControl* pControl, CPoint point);
    // The mouse moved while customizing: the width cursor over the edge of
    // the selected resizable control. TRUE (nothing else happens then).
    BOOL OnCustomizeMouseMove(CPoint point);

    // --- layout persistence ---------------------------------------------------------
    // The bar's values, its control collection last.
    virtual void DoPropExchange(CQXPPropExchange* pPX);
    // Puts the bar and the popups it reaches on a save list; bars that are
    // not toolbars get ids from the counter when they have none.
    virtual void AddToCommandBarList(UINT& nCounter, CommandBarList* pList, const CommandBarsExchangeParam* pParam);
    // Lets the controls take the loaded popup bars they name.
    virtual void RestorePopups(CommandBarList* pList);

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override {}
    // The last reference deletes the bar; while one of its messages is
    // being handled the delete waits until that handler has returned.
    void OnFinalRelease() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int m_nInWindowProc = 0;
    int m_nLockRedraw = 0; // holds of the redraw lock (0: redraws go through)
    CWindowHook* m_pKeyboardSink = NULL;
    // Hides the caret of the focused window (or the site) on entering
    // tracking; shows it again on leaving.
    void HideFocusCaret();
    void RestoreFocusCaret();
    // Tracking ends, the keyboard sink goes and the thread forgets the bar.
    void DetachFromThread();
    // The controls hear that the bar's window is going away.
    void NotifyControlsDestroying();
    // Hide flag 0x40 from the manager's active document menu.
    void UpdateDocTemplateVisibility();
    HWND m_hWndCaret = NULL;
    int m_nHotHelpId = 0;
    // One counted reference to the manager's tooltip context (NULL without
    // a manager); a new manager link or a new window takes it again.
    CQXPToolTipContext* m_pToolTipContext = NULL;
    void TakeManagerToolTipContext();
    HWND m_hWndCommandTarget = NULL;
    BOOL m_bPopupingByKeyboard = FALSE;
    CQXPThemePainter* m_pPaintManager = NULL; // one reference, NULL: inherited
    CQXPImageManager* m_pImageManager = NULL; // one reference, NULL: inherited
    // The popup bar this one opened (keys go to the newest tracking bar).
    CQXPCommandBar* GetOpenPopupBar() const;
    BOOL m_bDeletePending = FALSE;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    // The pointer left the bar's controls: a bar that does not track clears
    // its selection, unless the mouse manager or the bar is locked.
    void ClearSelectionOnLeave();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnIdleUpdateCmdUIMsg(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    // While the site frame is in context-help mode (Shift+F1) a click picks
    // a command for help: popup titles without a command answer HTMENU,
    // the rest HTCLIENT, and a non-client click is a client one.
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    BOOL IsSiteInHelpMode() const;
    DECLARE_MESSAGE_MAP()
    // Up and Down in a floating bar or a toolbar-style popup: the control of
    // the next (nDirection +1) or previous row nearest to the selected one.
    int ProcessRowKey(int nAction);
    // An edit or combo box reached with Tab takes the focus.
    void FocusSelectedBox();

public:
    UINT m_nBarID;
    CString m_strTitle;
    int m_barType;
    int m_barPosition;
    DWORD m_dwFlags;
    BOOL m_bVisible;
    BOOL m_bCustomizable;
    CQXPControls* m_pControls; // one counted reference
    CQXPCommandBars* m_pCommandBars;
    HWND m_hWndSite;
    CSize m_szButtons;
    CSize m_szIcons;
    int m_buttonStyle;
    CRect m_rcBorders;
    int m_nSelected;
    int m_nPopuped;
    int m_bTracking;
    int m_nPending;
    int m_nMRUWidth;
    DWORD m_dwStyle = QXP_CBRS_GRIPPER;
    BOOL m_bColumnWrapped = FALSE; // a popup's controls run in more than one column
    BOOL m_bMouseTracked;
    int m_nLastStatusIndex;
    CQXPBarAnimationCache* m_pAnimationCache; // owned
    // The accessible object answered for WM_GETOBJECT (one counted reference,
    // made on first request, detached when the bar goes away).
    CQXPCommandBarAccessible* GetAccessibleObject();
    CQXPCommandBarAccessible* m_pAccessible = NULL;
};

// Holds a bar's redraw lock while it lives: redraws asked for meanwhile
// happen once, when it goes.
class CQXPBarRedrawLock {
public:
    explicit CQXPBarRedrawLock(CQXPCommandBar* pBar) : m_pBar(pBar) { m_pBar->LockRedraw(); }
    ~CQXPBarRedrawLock() { m_pBar->UnlockRedraw(); }
    CQXPBarRedrawLock(const CQXPBarRedrawLock&) = delete;
    CQXPBarRedrawLock& operator=(const CQXPBarRedrawLock&) = delete;

private:
    CQXPCommandBar* m_pBar;
};

// The bars of one layout save or load; one reference each.
class CommandBarList {
public:
    CommandBarList() = default;
    ~CommandBarList();
    CommandBarList(const CommandBarList&) = delete;
    CommandBarList& operator=(const CommandBarList&) = delete;

    BOOL Contains(const CQXPCommandBar* pBar) const;
    void Add(CQXPCommandBar* pBar);
    int GetCount() const { return (int)m_bars.size(); }
    CQXPCommandBar* GetAt(int nIndex) const { return m_bars[(size_t)nIndex]; }
    CQXPCommandBar* FindBar(UINT nBarID) const;

private:
    std::vector<CQXPCommandBar*> m_bars;
};

// Registers a toolkit window class with DefWindowProc once per process.
BOOL AFXAPI QxpRegisterWndClass(LPCSTR lpszClassName, UINT nClassStyle);
