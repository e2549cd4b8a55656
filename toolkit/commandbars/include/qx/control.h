// qx/control.h - one item of a command bar (button, menu item, submenu
// entry...) and the shared command record (action) it may be linked to.
//
// Controls are reference counted command targets: the collection that shows
// a control holds one reference; press tracking and execution hold an extra
// one while they run, so a control removed by its own command lives until
// the command has returned.
#pragma once

#include <qx/commandbardefs.h>
#include <qx/paintviews.h>

#include <map>
#include <vector>

class CQXPControlActions;
class CQXPIconImage;
class CQXPImageManager;
class CQXPThemePainter;

// ---------------------------------------------------------------------------
// The shared record of one command. Linked controls take their texts and
// their enabled, checked and visible state from it.
class CQXPControlAction : public CCmdTarget {
    DECLARE_DYNCREATE(CQXPControlAction)
public:
    CQXPControlAction();
    ~CQXPControlAction() override;

    int GetID() const { return m_nId; }
    int GetIconId() const { return m_nIconId; }
    void SetIconId(int nId) { m_nIconId = nId; }
    // TRUE while the owning command bars customize, else the own flag.
    BOOL GetEnabled() const;
    void SetEnabled(BOOL bEnabled);
    int GetChecked() const { return m_nChecked; }
    void SetChecked(int nChecked);
    BOOL IsVisible() const { return m_bVisible; }
    void SetVisible(BOOL bVisible);

    CString GetCaption() const { return m_strCaption; }
    // Cut at the first tab; linked controls are told and their bars laid out.
    void SetCaption(const CString& strCaption);
    CString GetTooltip() const { return m_strTooltipText; }
    void SetTooltip(const CString& str) { m_strTooltipText = str; }
    CString GetDescription() const { return m_strDescriptionText; }
    void SetDescription(const CString& str) { m_strDescriptionText = str; }
    CString GetShortcutText() const { return m_strShortcutText; }
    void SetShortcutText(const CString& str) { m_strShortcutText = str; }
    CString GetCategory() const { return m_strCategory; }
    void SetCategory(const CString& str) { m_strCategory = str; }
    CString GetKeyboardTip() const { return m_strKeyboardTip; }
    // A string resource "description\ntooltip[\n...\nkeytip]".
    void SetPrompt(const CString& strPrompt);

    // Links a control (its own texts are emptied so the action's show) or
    // unlinks it (it is left enabled and unchecked).
    void AddControl(CQXPControl* pControl);
    void RemoveControl(CQXPControl* pControl);
    int GetCount() const { return (int)m_controls.size(); }
    CQXPControl* GetControl(int nIndex) const;

    CQXPCommandBars* GetCommandBars() const;

    int m_nId;
    int m_nIconId;
    int m_nHelpId;
    BOOL m_bEnabled;
    int m_nChecked;
    BOOL m_bVisible;
    CString m_strCaption;
    CString m_strTooltipText;
    CString m_strDescriptionText;
    CString m_strShortcutText;
    CString m_strCategory;
    CString m_strKeyboardTip;
    std::vector<CQXPControl*> m_controls; // not owned
    CQXPControlActions* m_pActions;       // the owning collection

private:
    void RefreshLinkedBars();
};

// The actions of one command-bars manager, sorted by id; owns one reference
// of each.
class CQXPControlActions : public CCmdTarget {
public:
    explicit CQXPControlActions(CQXPCommandBars* pCommandBars = NULL);
    ~CQXPControlActions() override;

    // None for ids outside 1 to 0x0FFFFFFE.
    CQXPControlAction* FindAction(int nId) const;
    // The existing action of the id, else a new one.
    CQXPControlAction* Add(int nId);
    // Gives the action its id and the prompt string of the id, then inserts it.
    CQXPControlAction* AddAction(int nId, CQXPControlAction* pAction);
    void Insert(CQXPControlAction* pAction);
    void RemoveAll();
    int GetCount() const { return (int)m_actions.size(); }
    CQXPControlAction* GetAt(int nIndex) const;

    CQXPCommandBars* m_pCommandBars;

private:
    std::vector<CQXPControlAction*> m_actions;
};

// ---------------------------------------------------------------------------
// The control is also the paint manager's view of it (CQXPControlView), so
// the paint manager measures and draws it directly.
class CQXPControl : public CCmdTarget, public CQXPControlView {
    DECLARE_DYNCREATE(CQXPControl)
public:
    CQXPControl();
    ~CQXPControl() override;

    // --- resolved values (own field first, then the linked action) -----------
    CString GetCaption() const override;
    CString GetDescription() const override;
    virtual CString GetTooltip() const;
    CString GetShortcutText() const override;
    int GetEnabled() const override;
    int GetChecked() const override;
    // Visible when no hide flag outside dwSkipFlags is set (and the action,
    // if any, is visible).
    virtual BOOL IsVisible(DWORD dwSkipFlags) const;
    BOOL IsVisible() const override { return IsVisible(0); }
    int GetIconId() const override;
    int GetStyle() const override;
    // The style the control would show on a bar (GetStyle on its own bar).
    int GetStyleOnBar(const CQXPCommandBar* pBar) const;
    BOOL IsCaptionVisible() const override;

    // --- setters: each compares first, then marks the bar ---------------------
    virtual void SetBeginGroup(BOOL bBeginGroup);
    BOOL GetBeginGroup() const override { return m_bBeginGroup; }
    virtual void SetEnabled(BOOL bEnabled);
    void SetChecked(int nChecked);
    void SetVisible(BOOL bVisible);
    virtual void SetHideFlags(DWORD dwFlags) { m_dwHideFlags = dwFlags; }
    DWORD GetHideFlags() const { return m_dwHideFlags; }
    // Sets or clears bits; TRUE when the flags changed.
    BOOL SetHideFlag(DWORD dwFlag, BOOL bSet);
    void SetFlags(DWORD dwFlags) { m_dwFlags = dwFlags; }
    DWORD GetFlags() const { return m_dwFlags; }
    // "Caption\tShortcut": the part after the first tab is the automatic
    // shortcut text.
    void SetCaption(const CString& strCaption);
    void SetCaption(UINT nIDResource);
    void SetCustomCaption(const CString& str);
    void SetID(int nId);
    int GetID() const { return m_nId; }
    void SetPrompt(const CString& strPrompt);
    void SetTooltip(const CString& str) { m_strTooltipText = str; }
    void SetDescription(const CString& str) { m_strDescriptionText = str; }
    void SetShortcutText(const CString& str);
    void SetIconId(int nId);
    void SetStyle(int nStyle);
    virtual void SetWidth(int nWidth);
    virtual void SetHeight(int nHeight);
    int GetWidth() const override { return m_nWidth; }
    int GetHeight() const override { return m_nHeight; }
    void SetDefaultItem(BOOL bDefault);
    BOOL IsDefaultItem() const override { return m_bDefaultItem; }
    void SetParameter(const CString& str) { m_strParameter = str; }
    CString GetParameter() const { return m_strParameter; }
    void SetRarelyUsed(BOOL bRarelyUsed);
    BOOL IsTemporary() const { return m_bTemporary; }
    void SetTemporary(BOOL bTemporary) { m_bTemporary = bTemporary; }
    void ResetCustomization();
    void SetCloseSubMenuOnClick(BOOL bClose) { m_bCloseSubMenuOnClick = bClose; }
    BOOL GetCloseSubMenuOnClick() const { return m_bCloseSubMenuOnClick; }
    void SetExecuteOnPressInterval(int nMs) { m_nExecuteOnPressInterval = nMs; }

    int GetType() const override { return m_controlType; }
    void SetType(int nType) { m_controlType = nType; }
    int GetIndex() const { return m_nIndex; }
    CRect GetRect() const override { return m_rcControl; }
    void SetRect(const CRect& rc) override { m_rcControl = rc; }
    CRect GetRowRect() const { return m_rcRow; }
    void SetRowRect(const CRect& rc) { m_rcRow = rc; }
    BOOL GetWrap() const { return m_bWrap; }
    BOOL IsWrapped() const override { return m_bWrap; }
    BOOL IsRarelyUsed() const override { return m_bRarelyUsed; }
    void SetWrap(BOOL bWrap) { m_bWrap = bWrap; }
    int GetSelected() const override { return m_nSelected; }
    int GetPressed() const override { return m_nPressed; }
    void SetPressed(int nPressed) { m_nPressed = nPressed; }

    // --- links -------------------------------------------------------------
    CQXPCommandBar* GetParent() const { return m_pParent; }
    CQXPBarView* GetParentBar() const override;
    virtual void SetParent(CQXPCommandBar* pParent) { m_pParent = pParent; }
    CQXPControls* GetControls() const { return m_pControls; }
    CQXPControlAction* GetAction() const { return m_pAction; }
    virtual void SetAction(CQXPControlAction* pAction);
    CQXPCommandBars* GetCommandBars() const;
    // The manager's customize flag, from the first bar up the popup chain
    // that is linked to a manager (FALSE without a parent bar or manager).
    BOOL IsCustomizeMode() const;
    // The managers that measure and draw the control: the parent bar's;
    // without a parent bar those of the manager its collection belongs to;
    // else the global ones. Never NULL.
    CQXPThemePainter* GetPaintManager() const;
    CQXPImageManager* GetImageManager() const;
    // The popup bar of popup controls, none for the others.
    virtual CQXPCommandBar* GetCommandBar() const { return NULL; }
    virtual BOOL GetPopuped() const { return FALSE; }
    BOOL GetPopped() const override { return GetPopuped(); }
    virtual BOOL OnSetPopup(BOOL bPopup)
    {
        (void)bPopup;
        return FALSE;
    }

    // --- parent bar ----------------------------------------------------------
    void RedrawParent(BOOL bAnimate = TRUE);
    void DelayLayoutParent();

    // --- events (the bar forwards them) ----------------------------------------
    virtual void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0));
    virtual void OnLButtonUp(CPoint pt) { (void)pt; }
    virtual BOOL OnLButtonDblClk(CPoint pt)
    {
        OnClick(FALSE, pt);
        return TRUE;
    }
    virtual void OnMouseMove(CPoint pt) { (void)pt; }
    // A key reaches the tracking bar while this control is selected, before
    // the bar handles it: 0 lets the bar go on, 1 eats the key, 2 passes it
    // on to the focused window.
    virtual int OnHookKeyDown(UINT nKey, LPARAM lKeyData)
    {
        (void)nKey;
        (void)lKeyData;
        return 0;
    }
    // The wheel turned while the bar tracks with this control selected;
    // TRUE when the control used it.
    virtual BOOL OnHookMouseWheel(UINT nFlags, short zDelta, CPoint pt)
    {
        (void)nFlags;
        (void)zDelta;
        (void)pt;
        return FALSE;
    }
    // The bar's hover timer fired while this control was selected: an open
    // popup of another control closes (a bar that tracked only for that
    // popup leaves tracking). Popup controls open their own popup instead.
    virtual void OnMouseHover();
    // A right-button press over the control; TRUE when the control took it
    // (the bar then does nothing more with it).
    virtual BOOL OnRButtonDown(CPoint pt)
    {
        (void)pt;
        return FALSE;
    }
    // A right-button release over the control that the site let pass;
    // TRUE when the control took it (the bar shows no menu of its own).
    virtual BOOL OnRButtonUp(CPoint pt)
    {
        (void)pt;
        return FALSE;
    }
    // 0 none, 1 hot by the mouse, 2/3 by the keyboard; FALSE when unchanged.
    virtual BOOL OnSetSelected(int bSelected);
    virtual void OnExecute();
    virtual void OnUnderlineActivate() { OnExecute(); }
    virtual void OnCalcDynamicSize(DWORD dwMode) { (void)dwMode; }
    // The image of the control's icon at a width; NULL when none.
    CQXPIconImage* GetImage(int nWidth) const override;
    int GetIconSizeForImage() const;
    // The size of the control as the bar draws it.
    virtual CSize GetSize(CDC* pDC);
    virtual void Draw(CDC* pDC);
    virtual void OnRemoved() { SetAction(NULL); }
    virtual void OnCommandBarsLoaded(CQXPCommandBars* pCommandBars) { (void)pCommandBars; }
    virtual void OnActionChanged(int nProperty) { (void)nProperty; }
    virtual void OnActionChanging(int nProperty) { (void)nProperty; }
    virtual void RefreshMetrics() {}
    // The control's bar (and the bar's window) is going away.
    virtual void OnParentDestroying() {}

    // --- resizable controls (a gallery in a popup with a resize gripper) ---
    // Which sizes the popup's gripper changes: 0 none, bit 1 the width,
    // bit 2 the height. The width and height are GetWidth/GetHeight and
    // SetWidth/SetHeight; the gripper never goes below the minimum sizes.
    virtual int GetResizeFlags() const { return 0; }
    // The control may be resized in customize mode and by a resizable popup.
    virtual BOOL IsCustomizeResizeAllow() const { return FALSE; }
    // The tip of the part under a point (a gallery's items): its text, the
    // rectangle it covers and its tool id; empty for the control's own tip.
    virtual CString GetTooltipAt(CPoint pt, CRect* prcTip, INT_PTR* pnTool)
    {
        (void)pt;
        (void)prcTip;
        (void)pnTool;
        return CString();
    }
    virtual int GetCustomizeMinWidth() const { return 0; }
    virtual int GetCustomizeMinHeight() const { return 0; }

    // --- customize mode (custommode.cpp) -----------------------------------------
    // A click while the manager customizes: the control becomes the
    // customize selection and is dragged (moved, copied, or removed when
    // dropped off the bars); a press on an edge of a selected resizable
    // control changes its width instead.
    virtual void OnCustomizeClick(CPoint point);
    // The width drag of an edit, combo box or gallery; FALSE when the point
    // is on neither edge.
    virtual BOOL OnCustomizeResize(CPoint point);
    // The dragged control passes over this one (nEffect may become 0).
    virtual void OnCustomizeDragOver(CQXPControl* pSource, CPoint point, int& nEffect);
    // The control may be dropped on the bar.
    virtual BOOL IsCustomizeDragOverAvail(CQXPCommandBar* pBar, CPoint point, int& nEffect);
    // The control may be moved or removed while customizing.
    virtual BOOL IsCustomizeMovable() const;

    // Sends WM_COMMANDBARS_CONTROLNOTIFY, then offers the notification to the
    // window's command routing; the answer, 0 when nobody took it.
    LRESULT NotifySite(UINT nCode);
    LRESULT NotifySite(CWnd* pSite, UINT nCode, NMQXPCONTROL* pNM);
    // The same to the parent bar's owner site with the caller's record.
    LRESULT NotifySiteData(UINT nCode, NMQXPCONTROL* pNM) { return NotifySite(NULL, nCode, pNM); }

    // --- persistence ---------------------------------------------------------------
    // The control's values (the class name goes before, written by the
    // collection).
    virtual void DoPropExchange(CQXPPropExchange* pPX);
    // A control with a popup bar puts that bar (and what it reaches) on the
    // list of bars to save.
    virtual void AddPopupToList(UINT& nCounter, CommandBarList* pList, const CommandBarsExchangeParam* pParam)
    {
        (void)nCounter;
        (void)pList;
        (void)pParam;
    }
    // After a load: a popup control takes the loaded popup bar it names.
    virtual void RestorePopupFromList(CommandBarList* pList) { (void)pList; }

    // --- comparison and copy ---------------------------------------------------
    virtual BOOL Compare(CQXPControl* pOther);
    virtual void Copy(CQXPControl* pControl, BOOL bRecursive = FALSE);
    CQXPControl* Clone(BOOL bRecursive = FALSE);

    static BOOL AFXAPI IsPopupControlType(int nType)
    {
        return nType == qxpControlPopup || nType == qxpControlButtonPopup;
    }

protected:
    // Presses the control while the mouse is held over it; executes on a
    // release over it.
    void TrackPress(CRect rcTrack);
    // Sends the command once: notification 100, then WM_COMMAND.
    void FireCommand(CWnd* pTarget);

public:
    DWORD_PTR m_nTag;
    int m_nIndex;
    int m_nId;
    int m_nIconId;
    int m_nHelpId;
    int m_nCustomIconId;
    BOOL m_bWrap;
    BOOL m_bBeginGroup;
    int m_bEnabled;
    int m_bChecked;
    int m_nSelected;
    int m_nPressed;
    BOOL m_bTemporary;
    CRect m_rcRow;
    CRect m_rcControl;
    DWORD m_dwHideFlags;
    DWORD m_dwFlags;
    CString m_strCaption;
    CString m_strCustomCaption;
    CString m_strShortcutText;
    CString m_strShortcutTextAuto;
    CString m_strTooltipText;
    CString m_strDescriptionText;
    CString m_strParameter;
    CString m_strKeyboardTip;
    CQXPControls* m_pControls;
    int m_controlType;
    CQXPCommandBar* m_pParent;
    BOOL m_bRarelyUsed;
    CString m_strCategory;
    BOOL m_bDefaultItem;
    std::map<UINT, BOOL> m_mapDocTemplatesAssigned;
    std::map<UINT, BOOL> m_mapDocTemplatesExcluded;
    int m_buttonStyle;
    int m_buttonCustomStyle;
    int m_buttonRibbonStyle; // imposed by the bar's layout
    BOOL m_bCloseSubMenuOnClick;
    CQXPControlAction* m_pAction;
    int m_nWidth;
    int m_nHeight;
    int m_nExecuteOnPressInterval;
};

// The plain push button.
class CQXPControlButton : public CQXPControl {
    DECLARE_DYNCREATE(CQXPControlButton)
public:
    CQXPControlButton();

    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnLButtonUp(CPoint pt) override;
};
