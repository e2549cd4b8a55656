// qx/ribbonbar.h - the ribbon bar: a command bar in the menu bar's place
// with a row of tabs, the groups of the selected tab below it and a
// quick-access toolbar (QAT) in its caption band or below the groups.
//
// CQXPRibbonGroup - a captioned block of controls of one tab; its controls
//                   are also controls of the bar (the command-bar machinery
//                   finds, tracks and executes them there).
// CQXPRibbonTab   - one tab and its groups: an item of the tab control.
// CQXPRibbonControlTab - the tab row: a control of the bar that is also
//                   the tabs' tab manager (layout, hit tests, hot and
//                   pressed tab, clicks and scrolling through the ribbon
//                   theme's tab painter); it opens a minimised ribbon's
//                   tab popup.
// CQXPRibbonBar   - the bar: tabs, groups, QAT, minimised state, layout
//                   (qx/ribbonlayout.h), drawing through the ribbon theme
//                   (CRibbonStyleTheme) and its saved state.
//
// The program never makes one itself: the command bars make it by its
// run-time class "CQXPRibbonBar" (a saved layout naming it).
#pragma once

#include <qx/menubar.h>
#include <qx/popup.h>
#include <qx/ribbonlayout.h>
#include <qx/tabmanager.h>

#include <functional>
#include <vector>

class CQXPRibbonBar;
class CQXPRibbonTab;
class CQXPRibbonGroupCollection;
class CQXPRibbonGroup;
class CRibbonStyleTheme;
class CQXPRibbonGroupControlPopup;
class CQXPControlPopup;
class CQXPPopupBar;
class CQXPRibbonControlSystemButton;
class RibbonFrameHook;

// The tab row's notifications carry this id (the tab control's).
#define QXP_ID_RIBBON_TABS 9604
// The QAT's customise and more buttons.
#define QXP_ID_RIBBON_QAT_CUSTOMIZE 9603
#define QXP_ID_RIBBON_QAT_MORE 9611

// A control of a group on a tab that is not shown: the command bars' hide
// flag, under the ribbon's older name.
#define QXP_HIDE_RIBBON_TAB qxpHideRibbonTab
// To the site: show the window menu at the screen point in lParam (the
// right button released on the ribbon's caption).
#define QXP_WM_POPUPSYSTEMMENU 0x313
// To the site: a QAT menu's command that the site may carry out itself
// (wParam the id, 9607 "More Commands..."; lParam the chosen menu item, a
// CQXPControl, not a notification record); 0 leaves it to the ribbon. The
// number is the command bars' control notification's: a site that handles
// both tells them apart by wParam.
#define WM_COMMANDBARS_SPECIALCOMMAND 0x2862

// A group's option button (the dialog launcher in the caption's right
// corner): a control of the bar that shows the group, with the group's Id
// as its command, drawn by the ribbon theme.
class CQXPRibbonGroupOptionButton : public CQXPControlButton {
public:
    explicit CQXPRibbonGroupOptionButton(CQXPRibbonGroup* pGroup = NULL);
    CQXPRibbonGroup* GetGroup() const { return m_pGroup; }
    void Draw(CDC* pDC) override;

protected:
    friend class CQXPRibbonGroup;
    CQXPRibbonGroup* m_pGroup; // not owned: the group owns the button
};

class CQXPRibbonGroup : public CCmdTarget {
    DECLARE_DYNCREATE(CQXPRibbonGroup)
public:
    CQXPRibbonGroup();
    ~CQXPRibbonGroup() override;

    // Adds a control of a type and id at the end (nIndex -1) or before
    // nIndex; the control joins the bar's controls. NULL without a bar.
    CQXPControl* Add(int controlType, int nId, LPCSTR lpszCaption = NULL, int nIndex = -1);
    void RemoveAt(int nIndex);
    void RemoveAll();
    int GetCount() const { return (int)m_controls.size(); }
    CQXPControl* GetAt(int nIndex) const { return m_controls[(size_t)nIndex]; }
    int IndexOf(const CQXPControl* pControl) const;

    CString GetCaption() const { return m_strCaption; }
    void SetCaption(LPCSTR lpszCaption) { m_strCaption = lpszCaption; }
    int GetID() const { return m_nId; }
    BOOL IsVisible() const;
    CRect GetRect() const { return m_rcGroup; }
    BOOL IsCollapsed() const { return m_bCollapsed; }
    // The tab whose collection holds the group (NULL for a copy in a popup).
    CQXPRibbonTab* GetTab() const;
    CQXPRibbonGroupCollection* GetCollection() const { return m_pCollection; }
    // The group's place in its collection (-1 outside one).
    int GetIndex() const { return m_nIndex; }
    // The ribbon whose look the group takes, and the bar whose controls
    // hold the group's controls: the ribbon, or a popup showing a copy.
    CQXPRibbonBar* GetRibbonBar() const;
    CQXPCommandBar* GetParentBar() const;
    // The button that stands for the group while it is collapsed (a
    // control of the parent bar; NULL until the first layout).
    CQXPRibbonGroupControlPopup* GetPopupButton() const { return m_pPopupButton; }
    // The option button: shown while ShowOptionButton is set and the group
    // is not collapsed; a control of the parent bar while the group is in a
    // collection.
    CQXPRibbonGroupOptionButton* GetOptionButton() const { return m_pOptionButton; }
    BOOL IsOptionButtonVisible() const { return m_bShowOptionButton && !m_bCollapsed; }
    // Makes this group a copy of another one shown on pParentBar (NULL:
    // the group's own tab on its ribbon): its settings, and copies of its
    // controls in that bar's controls.
    void CopyFrom(CQXPRibbonGroup* pSource, CQXPCommandBar* pParentBar, CQXPRibbonBar* pRibbon);
    // Takes the collapsed group's button off its bar.
    void ReleasePopupButton();

    // Keys "Id", "IconId", "ShowOptionButton", "Caption",
    // "ControlsGrouping", "ControlsCentering", "Visible"; the section
    // "Controls" (one "Control" entry each: its class, then its exchange);
    // then the option button's exchange in the section "ControlGroupOption"
    // and the popup button's in "ControlGroupPopup". A layout stored without
    // those two sections (registry or INI) leaves the buttons as the group
    // made them. A control class that cannot be made throws the archive
    // exception badClass.
    virtual void DoPropExchange(CQXPPropExchange* pPX);

    // The collection took the group in (it is in its collection, its bars
    // set): the group's buttons join the bar that shows it. With the command
    // bars' actions on, both take the action of the group's Id (made when
    // missing, its caption the group's when empty).
    virtual void OnGroupAdded();
    // The collection lets the group go: its controls and buttons leave the
    // bar, the ribbon forgets it as the group under the mouse.
    virtual void OnGroupRemoved();
    // A layout pass begins: the group's layout record (the controls that
    // count, their styles and sizes) is made.
    virtual void OnBeforeLayout(CDC* pDC);
    // The pass ended: the record's places, styles and the collapsed state
    // go to the controls and the group's buttons; the record is freed.
    virtual void OnAfterLayout();
    // The layout record between OnBeforeLayout and OnAfterLayout, else NULL.
    qxribbon::RibbonGroupLayout* GetLayout() const { return m_pLayout; }

    BOOL m_bControlsCentering;
    BOOL m_bControlsGrouping;
    BOOL m_bShowOptionButton;
    BOOL m_bVisible;
    int m_nId;
    int m_nIconId;
    CString m_strCaption;

protected:
    friend class CQXPRibbonBar;
    friend class CQXPRibbonTab;
    friend class CQXPRibbonGroupCollection;
    // Takes a control the group holds one reference on.
    void Attach(CQXPControl* pControl, int nIndex);
    // Makes the collapsed group's button on the parent bar when missing.
    void EnsurePopupButton();
    // Where a control of the group at nIndex goes among the parent bar's
    // controls: before the next control of the group, else before the
    // option button (-1: the end).
    int BarIndexFor(int nIndex) const;
    // Places (or hides) the option button after a layout.
    void PlaceOptionButton();
    // One of the group's buttons in its own section; loading leaves the
    // button alone when the section was never stored.
    void ExchangeButton(CQXPPropExchange* pPX, LPCSTR lpszSection, CQXPControl* pButton);

    CQXPRibbonGroupCollection* m_pCollection;    // the owning collection, or NULL
    int m_nIndex;                                // in the collection, renumbered on every insert
    CQXPRibbonBar* m_pRibbon;                    // a copy's ribbon (NULL: the tab's)
    CQXPCommandBar* m_pParentBar;                // a copy's popup (NULL: the ribbon)
    CQXPRibbonGroupControlPopup* m_pPopupButton; // one reference; a control of the parent bar
    CQXPRibbonGroupOptionButton* m_pOptionButton; // owned; a control of the parent bar while added
    std::vector<CQXPControl*> m_controls;        // display order; one reference each
    CRect m_rcGroup;                             // in the bar's client coordinates
    BOOL m_bCollapsed;                           // reduced to its popup button by the last layout
    qxribbon::RibbonGroupButtons m_buttons;      // option and popup button places
    qxribbon::RibbonGroupLayout* m_pLayout;      // during a layout pass only
};

// The groups of a tab (or the copies a popup shows), in order; the
// collection holds one reference on each and lays them out across a band,
// reducing the last groups first until they fit and scrolling what still
// does not.
class CQXPRibbonGroupCollection : public CCmdTarget {
public:
    // The groups of a tab, shown on the tab's ribbon.
    explicit CQXPRibbonGroupCollection(CQXPRibbonTab* pTab);
    // Copies shown on another bar (a popup) in the look of a ribbon.
    CQXPRibbonGroupCollection(CQXPCommandBar* pParentBar, CQXPRibbonBar* pRibbon);
    ~CQXPRibbonGroupCollection() override;

    int GetCount() const { return (int)m_groups.size(); }
    // NULL out of range.
    CQXPRibbonGroup* GetAt(int nIndex) const;
    std::vector<CQXPRibbonGroup*>::const_iterator begin() const { return m_groups.begin(); }
    std::vector<CQXPRibbonGroup*>::const_iterator end() const { return m_groups.end(); }
    CQXPRibbonTab* GetTab() const { return m_pTab; }
    // The ribbon whose look the groups take and the bar that shows them.
    CQXPRibbonBar* GetRibbonBar() const;
    CQXPCommandBar* GetParentBar() const;

    // Takes the caller's reference on the group and puts it at nIndex (-1:
    // the end); the group's indexes are renumbered and it hears
    // OnGroupAdded.
    CQXPRibbonGroup* InsertAt(int nIndex, CQXPRibbonGroup* pGroup);
    // Each group hears OnGroupRemoved and is released.
    void RemoveAll();
    // This collection's groups become copies of the other's: each a new
    // group of the same class (added, then copied).
    void Copy(CQXPRibbonGroupCollection* pSource);
    // "Groups": one "Group" entry per group, its class and its exchange.
    // Loading replaces the groups; a class that cannot be made throws the
    // archive exception badClass.
    void DoPropExchange(CQXPPropExchange* pPX);
    // The first visible group holding the point, else NULL.
    CQXPRibbonGroup* HitTest(CPoint point) const;
    CQXPRibbonGroup* FindGroup(int nId) const;
    // Lays the groups out in rcBand inside the margins (left, top, right)
    // from the present scroll offset, which is clamped; the bar's group
    // scroller shows its buttons where there is more to scroll to.
    qxribbon::RibbonGroupsResult Layout(CDC* pDC, const CRect& rcBand, const CRect& rcMargins);

    int m_nScrollOffset; // how far the groups are scrolled left

protected:
    void Renumber();
    // Inserts without telling the group (loading: the group's exchange does).
    BOOL Take(int nIndex, CQXPRibbonGroup* pGroup);
    std::vector<CQXPRibbonGroup*> m_groups; // one reference each
    CQXPRibbonTab* m_pTab;
    CQXPCommandBar* m_pParentBar; // copies: the popup (NULL: the tab's ribbon)
    CQXPRibbonBar* m_pRibbon;     // copies: the ribbon (NULL: the tab's)
};

class CQXPRibbonTab : public CQXPTabManagerItem {
    DECLARE_DYNCREATE(CQXPRibbonTab)
public:
    CQXPRibbonTab();
    ~CQXPRibbonTab() override;

    CQXPRibbonGroup* AddGroup(LPCSTR lpszCaption, int nId = -1);
    int GetGroupCount() const { return m_pGroups->GetCount(); }
    CQXPRibbonGroup* GetGroup(int nIndex) const { return m_pGroups->GetAt(nIndex); }
    CQXPRibbonGroup* FindGroup(int nId) const { return m_pGroups->FindGroup(nId); }
    CQXPRibbonGroupCollection* GetGroups() const { return m_pGroups; }
    void RemoveAllGroups() { m_pGroups->RemoveAll(); }

    // The caption as given ("&" marks the tab's key); the tab row shows it
    // without the marks.
    CString GetCaption() const { return m_strCaption; }
    void SetCaption(LPCSTR lpszCaption) { CQXPTabManagerItem::SetCaption(lpszCaption); }
    int GetID() const { return m_nId; }
    // The caption of the contextual header over the tab ("" for none).
    CString GetContextCaption() const { return m_strContextCaption; }
    // Hiding the selected tab selects the first visible one.
    void SetVisible(BOOL bVisible);
    // Placed by the tab row's layout; empty while the tab is not shown.
    CRect GetRect() const { return CRect(m_rcItem); }
    CQXPRibbonBar* GetRibbonBar() const { return m_pRibbonBar; }
    // Leaving the tab row: the groups go with it.
    void OnRemoved() override;
    // Takes the other tab's caption, tooltip, context, id and visibility
    // and copies of its groups (their controls join this tab's ribbon); the
    // copy of its row's selected tab is selected in this tab's row.
    virtual void Copy(CQXPRibbonTab* pOther);

    virtual void DoPropExchange(CQXPPropExchange* pPX);

    int m_nId;
    int m_nContextColor; // 0 none, 1..7 (qxribbon::ContextColorName)
    CString m_strContextCaption;

protected:
    friend class CQXPRibbonBar;
    friend class CQXPRibbonControlTab;
    friend class CQXPRibbonGroup;
    CQXPRibbonBar* m_pRibbonBar;
    CQXPRibbonGroupCollection* m_pGroups; // owned
    BOOL m_bStoredSelected;               // loading: the tab was stored as the selected one
};

// The tab row of a ribbon (id QXP_ID_RIBBON_TABS): the tabs are its tab
// manager's items, laid out, hit and drawn through the ribbon theme's tab
// painter. The bar draws it and hands it the presses on the tab row; the
// mouse machinery of the command bars leaves it alone (hidden to it), the
// keyboard stops on it between the bar's own controls and the groups'
// (CQXPRibbonBar::GetNextKeyboardStop). Opening it shows a minimised
// ribbon's selected tab in a popup; closing that popup lets the tab go.
class CQXPRibbonControlTab : public CQXPControlPopup, public CQXPTabManager {
    DECLARE_DYNCREATE(CQXPRibbonControlTab)
public:
    CQXPRibbonControlTab();
    CQXPRibbonBar* GetRibbonBar() const;
    CQXPRibbonTab* GetTab(int nIndex) const { return static_cast<CQXPRibbonTab*>(GetItem(nIndex)); }
    CQXPRibbonTab* GetSelectedTab() const { return static_cast<CQXPRibbonTab*>(GetSelectedItem()); }
    // The tab under a point of the bar (visible and enabled), or NULL.
    CQXPRibbonTab* HitTestTab(CPoint point) const { return static_cast<CQXPRibbonTab*>(HitTest(point)); }

    // The bar asks the site (TCN_SELCHANGING may refuse), shows the new
    // tab's groups, tells the site (TCN_SELCHANGE) and raises the focus
    // event of the tab's page tab. A selection the bar makes on its own
    // (a new ribbon, minimising) goes to CQXPTabManager::SetSelectedItem.
    void SetSelectedItem(CQXPTabManagerItem* pItem) override;
    CQXPTabPainter* GetPaintManager() const override;
    void RedrawControl(LPCRECT lpRect, BOOL bAnimate) override;
    // A change of the tabs re-lays out the bar (not while it lays out).
    void OnPropertyChanged() override;
    // Shown without the "&" marks.
    CString GetItemCaption(const CQXPTabManagerItem* pItem) const override;
    CString GetItemTooltip(const CQXPTabManagerItem* pItem) const override;
    // Lays the tabs out in rc through the tab painter.
    void LayoutTabs(CDC* pDC, const CRect& rc);

    // The keyboard is on the tab row (the bar selected it from the
    // keyboard): the selected tab shows it; gaining it with no tab selected
    // selects the first focusable one, in a minimised ribbon it lights the
    // tab whose popup was last open (or the first) instead.
    void SetKeyboardFocus(BOOL bFocus);
    BOOL IsKeyboardFocused() const { return m_bKeyboardFocus; }
    BOOL IsFocused() const override { return m_bKeyboardFocus; }
    // The tab the keyboard is on: the selected one, in a minimised ribbon
    // the lit one; NULL without the keyboard.
    CQXPRibbonTab* GetKeyboardTab() const;
    // A key while the row is the bar's selected control (each arrow first
    // hides the keytips): Left and Right (swapped right to left) step to
    // the previous or next focusable tab (none that way: 0, the bar steps
    // on to its neighbouring control); Up selects the bar's first control,
    // Down the next stop after the row (the shown groups' first control).
    // In a minimised ribbon Left and Right light the tabs and Down, Enter
    // or Space open the lit tab's popup from the keyboard.
    int OnHookKeyDown(UINT nKey, LPARAM lKeyData) override;
    // Selected from the keyboard (2, 3) the row takes the keyboard;
    // selected at all it raises the focus event of its tab; let go it
    // drops the keyboard and the hot tab. Being selected never opens or
    // closes its popup.
    BOOL OnSetSelected(int bSelected) override;

    void Draw(CDC* pDC) override;
    // The popup spans the ribbon's width: the exclusion starts at the
    // ribbon's left edge (not left of the work area).
    void AdjustExcludeRect(CRect& rcExclude, BOOL bVertical) override;
    // A minimised ribbon's selected tab opens in a popup; closing it lets
    // the tab go.
    BOOL OnSetPopup(BOOL bPopup) override;
    // The keyboard leaves the tab popup for the row (Up from the popup's
    // top row): the popup ends, the bar tracks from the keyboard with the
    // row selected (nHow 2 or 3), lit on the tab the popup showed.
    void SelectFromPopup(int nHow);
    // The control's settings and, for another tab row, its tabs: each a
    // new tab of the same class copied from it, at the same place (the
    // tab popup is made when it opens, never copied).
    void Copy(CQXPControl* pControl, BOOL bRecursive = FALSE) override;

private:
    // Accessibility clients follow the keyboard's tab (EVENT_OBJECT_FOCUS).
    void NotifyTabFocus();
    friend class CQXPRibbonBar;
    // A minimised ribbon's row: the tab the keyboard lights.
    void SetKeyboardTab(CQXPTabManagerItem* pTab);
    BOOL m_bInLayout = FALSE;
    BOOL m_bKeyboardFocus = FALSE;
    // A minimised ribbon: the tab the keyboard lights (its popup was the
    // last open, or the arrows moved to it).
    int m_nKeyboardTab = -1;
};

// The ribbon's controls: a control taken out of them also leaves its group
// and the QAT, and the bar forgets it when it is the system button.
class CQXPRibbonControls : public CQXPControls {
    DECLARE_DYNCREATE(CQXPRibbonControls)
public:
    // The controls of the other collection that pass IsChangeable (and are
    // not temporary) take the place of this collection's changeable ones;
    // the ribbon's own controls (tab row, scroll and QAT buttons, system
    // button, the groups' controls and the QAT) stay as they are.
    void Copy(CQXPControls* pOther, BOOL bRecursive = FALSE) override;
    // The controls of a loaded collection (a ribbon's tab row as it was
    // stored) move into this one in place of its changeable ones.
    void TakeChangeable(CQXPControls* pLoaded);
    // FALSE for a run-time-only control, a control of a group, the system
    // button, a QAT command, the tab row and the group scroll buttons: TRUE
    // for the controls on the tab row the program or the user put there.
    virtual BOOL IsChangeable(CQXPControl* pControl) const;
    // TRUE for a group's option or popup button, the tab row, the QAT's
    // customise and more buttons and the group scroll buttons.
    virtual BOOL IsReserved(CQXPControl* pControl) const;
    // Controls the ribbon makes at run time and never keeps elsewhere: the
    // QAT's customise and more buttons, the tab row, the caption buttons of
    // a frame whose caption the ribbon draws.
    static BOOL AFXAPI IsRunTimeOnly(const CQXPControl* pControl);
    // A saved layout keeps the changeable controls (the tab row's) alone:
    // the groups' controls travel with their tabs, the QAT's in its own
    // section.
    BOOL ShouldSaveControl(CQXPControl* pControl) override;

    CQXPRibbonBar* m_pRibbon = NULL; // cleared when the ribbon goes

protected:
    void OnControlRemoved(CQXPControl* pControl) override;
    // Removes the changeable controls that are not temporary.
    void RemoveChangeable();
};

// The QAT's commands, in order. Every one is also a control of the ribbon
// bar, right after the system button and the commands before it; the QAT
// holds a reference of its own on each.
class CRibbonQuickAccessControls : public CQXPControls {
public:
    explicit CRibbonQuickAccessControls(CQXPRibbonBar* pRibbon);
    // Every member gets the bar as parent (the bar's controls keep their
    // places: the members' indexes are the bar's).
    void SetParent(CQXPRibbonBar* pRibbon);
    CQXPRibbonBar* GetRibbonBar() const { return m_pRibbon; }
    // By identity: the member leaves the QAT and the bar's controls. A
    // control the QAT does not hold is an invalid argument.
    void Remove(CQXPControl* pControl) override;
    // The first member with the control's id and type that is shown (a
    // command only overflowing into the more popup counts), or NULL.
    CQXPControl* FindEqual(const CQXPControl* pControl) const;
    int IndexOf(const CQXPControl* pControl) const;

protected:
    // A new member joins the bar's controls at its place among the QAT's.
    void OnControlAdded(CQXPControl* pControl) override;
    // A member that left goes from the bar's controls too.
    void OnControlRemoved(CQXPControl* pControl) override;
    CQXPRibbonBar* m_pRibbon;
};

// Horizontal scrolling of a band of groups (the ribbon's, a minimised tab's
// popup, a collapsed group's popup): the band's two scroll buttons
// (controls of the owner bar) and the group under the mouse. The offset is
// the group collection's own; the scroller keeps no copy of it. Each owner
// embeds one and says which groups it scrolls, how its band scrolls, where
// it lies and which group a point hits.
class CRibbonGroupScroller {
public:
    CRibbonGroupScroller();
    virtual ~CRibbonGroupScroller() {}

    // One step of 40 px towards the first group (bToLeft) or the last.
    virtual void Scroll(BOOL bToLeft) = 0;
    // The band of groups (client coordinates of the owner bar).
    virtual void GetGroupsRect(RECT* pRect) const = 0;
    // The group under a point of the owner bar, or NULL.
    virtual CQXPRibbonGroup* HitTestGroup(CPoint point) const = 0;
    // The groups whose offset the band shows; NULL while none are shown.
    virtual CQXPRibbonGroupCollection* GetScrolledGroups() const = 0;

    // Appends the right (direction 0) and then the left (direction 1)
    // scroll button to the bar's controls; the bar is the owner from then
    // on.
    void CreateScrollButtons(CQXPCommandBar* pBar);
    // Called by the layout of groups: a wanted button shows over its end of
    // the band (13 px wide, reaching 1 px past it), the other is hidden.
    void ShowScrollButtons(BOOL bLeft, BOOL bRight);
    BOOL IsScrollButtonShown(BOOL bLeft) const;
    CQXPControl* GetScrollButton(BOOL bLeft) const { return bLeft ? m_pScrollLeft : m_pScrollRight; }
    // Scrolls a control (left .. right, band coordinates) of the groups
    // into a band nVisibleWidth wide from their offset; a changed offset is
    // stored in the groups and the owner is laid out again. TRUE when it
    // changed.
    BOOL EnsureVisible(CQXPRibbonGroupCollection* pGroups, int nLeft, int nRight, int nVisibleWidth);
    // The group drawn lit; the old and the new one are redrawn.
    void SetHotGroup(CQXPRibbonGroup* pGroup);
    CQXPRibbonGroup* GetHotGroup() const { return m_pHotGroup; }
    // The shown groups' offset (as last laid out or asked for by Scroll);
    // 0 while none are shown.
    int GetScrollOffset() const;
    CQXPCommandBar* GetOwnerBar() const { return m_pBar; }

    // The scroller of the ribbon bar, a tab popup or a group popup; NULL
    // for any other bar.
    static CRibbonGroupScroller* AFXAPI GetGroupScroller(CQXPCommandBar* pBar);

protected:
    // Scroll's common part: one step from the shown groups' offset; nothing
    // when the step leaves it as it is, else it is stored in the groups and
    // the owner laid out again.
    BOOL Step(BOOL bToLeft);
    // The owner bar lays its groups out again and redraws.
    void RelayoutOwner();

    CQXPCommandBar* m_pBar;
    CQXPControl* m_pScrollLeft; // controls of the owner bar
    CQXPControl* m_pScrollRight;
    CQXPRibbonGroup* m_pHotGroup;
};

class CQXPRibbonBar : public CQXPMenuBar {
    DECLARE_DYNCREATE(CQXPRibbonBar)
public:
    CQXPRibbonBar();
    ~CQXPRibbonBar() override;

    BOOL IsRibbonBar() const override { return TRUE; }

    // --- tabs --------------------------------------------------------------------------
    CQXPRibbonTab* AddTab(LPCSTR lpszCaption, int nId = 0);
    void RemoveAllTabs();
    int GetTabCount() const { return m_pTabControl->GetItemCount(); }
    CQXPRibbonTab* GetTab(int nIndex) const { return m_pTabControl->GetTab(nIndex); }
    CQXPRibbonTab* GetSelectedTab() const { return m_pTabControl->GetSelectedTab(); }
    int GetSelectedTabIndex() const { return m_pTabControl->GetCurSel(); }
    // The tab row (a control of the bar and the tabs' tab manager).
    CQXPRibbonControlTab* GetTabControl() const { return m_pTabControl; }
    // Asks the site first (TCN_SELCHANGING; non-zero vetoes), tells it after
    // (TCN_SELCHANGE). -1 deselects. FALSE when vetoed.
    BOOL SelectTab(int nIndex);
    // The wheel: the previous (bForward FALSE) or next visible tab.
    BOOL ScrollTabs(BOOL bForward) override;
    CQXPRibbonGroup* FindGroup(int nId) const;
    CQXPRibbonTab* HitTestTab(CPoint point) const;
    // The band of the selected tab's groups: its offset, scroll buttons and
    // the group under the mouse (drawn lit).
    CRibbonGroupScroller* GetGroupScroller() { return &m_groupScroller; }
    const CRibbonGroupScroller* GetGroupScroller() const { return &m_groupScroller; }

    // --- state ---------------------------------------------------------------------------
    virtual void SetRibbonMinimized(BOOL bMinimized);
    BOOL IsRibbonMinimized() const { return m_bMinimized; }
    void SetQuickAccessBelow(BOOL bBelow);
    BOOL IsQuickAccessBelow() const { return m_bQuickAccessBelow; }
    BOOL IsQuickAccessVisible() const { return m_bQuickAccessVisible; }
    // Hidden, the QAT shows none of its commands nor its buttons.
    void SetQuickAccessVisible(BOOL bVisible);
    BOOL IsGroupsVisible() const;
    BOOL IsShownBySize() const { return m_bShownBySize; }
    // The ribbon hides while its frame is lower or the width it is offered
    // narrower than this (250 px from construction).
    int GetMinimumSize() const { return m_nMinimumSize; }
    void SetMinimumSize(int nSize) { m_nMinimumSize = nSize; }
    // The QAT: copies of commands, also controls of the bar.
    CQXPControl* AddQuickAccessControl(int controlType, int nId);
    void RemoveQuickAccessControl(CQXPControl* pControl);
    int GetQuickAccessCount() const { return m_pQuickAccessControls->GetCount(); }
    CQXPControl* GetQuickAccessControl(int nIndex) const { return m_pQuickAccessControls->GetAt(nIndex); }
    CRibbonQuickAccessControls* GetQuickAccessControls() const { return m_pQuickAccessControls; }
    BOOL IsQuickAccessControl(const CQXPControl* pControl) const;
    // The shortcut texts and the active document's visibility reach every
    // control of a customizable ribbon, else only the QAT's commands (the
    // only controls a user changes there).
    CQXPControls* GetBroadcastControls() const override;
    CQXPControl* GetQuickAccessMoreButton() const { return m_pQatMore; }
    CQXPControl* GetQuickAccessCustomizeButton() const { return m_pQatCustomize; }
    // A control of a group (or a group's button) about to be selected from
    // the keyboard: its tab is selected first, and groups that scroll are
    // scrolled until it shows.
    void EnsureVisible(CQXPControl* pControl) override;

    // --- layout -------------------------------------------------------------------------
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    // The docked size for the offered width: caption, tabs, groups and a
    // QAT below; (width, 0) while the frame or the bar is too small.
    CSize CalcDockingLayout(int nLength, DWORD dwMode, int nWidth = 0) override;
    // Measures again whether the ribbon shows at this width in its site
    // frame (at least the minimum size each way) and keeps the answer; TRUE
    // when it changed.
    BOOL UpdateShownBySize(int nWidth);
    // The site frame's window height (32767 without a site window).
    int FrameHeight() const;
    // Shown or hidden as a bar: the frame hook refreshes (the frame takes
    // its caption back from a hidden ribbon).
    void SetVisible(BOOL bVisible) override;
    void RecalcRibbonLayout(int cx, int cy);
    // A control of a group, its option button or the button it collapses to.
    BOOL IsGroupControl(const CQXPControl* pControl) const;
    // A visible control of the bar on the tab row: in no group, not on the
    // QAT, not the system button, the tab row itself, a group scroll
    // button or a caption button of the frame (a maximised MDI child's
    // buttons, controls dropped there in customize mode).
    BOOL IsTabRowControl(const CQXPControl* pControl) const;
    // One of the caption buttons the ribbon makes for a frame whose caption
    // it draws (ribboncaption.cpp).
    static BOOL AFXAPI IsCaptionButton(const CQXPControl* pControl);
    CRect GetTabRowRect() const { return m_rcTabRow; }
    CRect GetGroupsRect() const { return m_rcGroups; }
    CRect GetCaptionRect() const { return m_rcCaption; }
    // The frame's title changed (its frame hook hears WM_SETTEXT): a new
    // title gets its place in the caption again.
    void OnFrameTitleChanged();
    CRect GetQuickAccessRect() const { return m_rcQuickAccess; }
    // The heights' inputs: the theme, the bar's state and the bar's own
    // height answers below.
    qxribbon::RibbonBarState GetBarState() const;
    // The tab row: the theme's tab strip height, 2 while tabs are hidden.
    virtual int GetTabsHeight() const;
    // The groups band as shown: CalcGroupsHeight while groups show, else 0.
    virtual int GetGroupsHeight() const;
    // The groups band: m_nGroupsHeightOverride when above 0, else three
    // control heights, the group caption and 10.
    virtual int CalcGroupsHeight() const;
    // A frame hook draws the caption, or the bar draws its own band.
    BOOL IsCaptionVisible() const;
    int GetCaptionHeight() const;
    int GetQuickAccessHeight() const;
    // The ribbon theme that draws the bar: the paint manager when it is
    // one, else a ribbon theme of the bar's own (its bar paint manager),
    // given up again once the frame's paint manager is a ribbon theme.
    CRibbonStyleTheme* GetRibbonTheme();
    // The band's metrics for a layout of groups.
    qxribbon::RibbonBandMetrics GetBandMetrics();
    // Draws the visible groups that meet rcClip (pHot lit up).
    void DrawGroupsIn(CDC* pDC, const CQXPRibbonGroupCollection* pGroups, const CRect& rcClip, CQXPRibbonGroup* pHot,
                      int nContextColor);

    // --- the system button (qx/ribbonsystem.h) ------------------------------------------------
    // Puts a system button in the corner (the first control of the bar);
    // the program gives it its menu (a CQXPRibbonSystemPopupBar).
    CQXPRibbonControlSystemButton* AddSystemButton(int nId = 0);
    CQXPRibbonControlSystemButton* GetSystemButton() const { return m_pSystemButton; }

    // --- popups ---------------------------------------------------------------------------
    // A minimised ribbon shows a tab's groups in a popup under the tab row
    // (bKeyboard: tracked from the keyboard). FALSE unless minimised.
    BOOL OpenTabPopup(int nTab, BOOL bKeyboard = FALSE);
    // The same from the keyboard: the popup's first control selected.
    CQXPPopupBar* OpenTabPopupFromKeyboard(int nTab);
    // The open (or last) tab popup; NULL when none was made.
    CQXPPopupBar* GetTabPopup() const;
    // The QAT's overflow popup: copies of the commands that did not fit,
    // then the customise button (one reference for the caller).
    virtual CQXPPopupBar* CreateMorePopup();
    // The QAT's customise menu (for the customise button) or a control's
    // context menu; NULL when the menu resource is missing. The site may
    // change it first: WM_QXP_TOOLBARCONTEXTMENU with this bar in wParam
    // and the popup in lParam.
    virtual CQXPPopupBar* CreateQuickAccessPopup(CQXPControl* pControl);
    // A tab is about to be selected: the site hears TCN_SELCHANGING and
    // may refuse it (TRUE: refused).
    virtual BOOL OnTabChanging(CQXPRibbonTab* pTab);
    // A tab was selected: the site hears TCN_SELCHANGE.
    virtual void OnTabChanged(CQXPRibbonTab* pTab);
    // The tab popup of a minimised ribbon closed: the tab it showed is
    // deselected (not another tab selected meanwhile).
    void OnTabPopupClosed(CQXPRibbonTab* pShown);

    // --- drawing ------------------------------------------------------------------------
    void DrawCommandBar(CDC* pDC, CRect rcClip) override;
    // WM_GETOBJECT for the tab control's id (QXP_ID_RIBBON_TABS) answers the
    // tab list, whose child ids are the tabs (index + 1): a selected tab
    // raises EVENT_OBJECT_FOCUS for it.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // --- quick-access menus (ribbonqatmenu.cpp) --------------------------------------------
    // Whether a copy of the control may go onto the QAT: not a second one
    // of a command already there (unless duplicates are allowed), not a
    // control that may not move (Flags 0x10), a collapsed group's button
    // only with an id.
    virtual BOOL IsAllowQuickAccessControl(CQXPControl* pControl) const;
    // Adds a copy of the control at the end of the QAT (shown, no group
    // line before it); NULL when it may not go there.
    CQXPControl* AddQuickAccessCopy(CQXPControl* pControl);
    // Keeps the QAT's present commands as its default commands: the
    // customise menu lists them, checked while they are on the QAT.
    void SetQuickAccessDefaults();
    CQXPControls* GetQuickAccessDefaults() const { return m_pQatDefaults; }
    // A command of the QAT menus (pItem: the chosen item, which names the
    // control its menu was made for); FALSE for any other id.
    BOOL ExecuteQuickAccessCommand(int nId, CQXPControl* pItem);
    // The context menu of a control (client point of the control's bar).
    void ShowContextMenu(CPoint point, CQXPControl* pControl);
    void OnPopupRButtonUp(CQXPCommandBar* pPopup, CPoint point) override;
    BOOL m_bAllowQuickAccessDuplicates;
    BOOL m_bQuickAccessCustomizable;

    // --- customize mode ---------------------------------------------------------------------
    // A control dropped onto the ribbon goes into the group (or the QAT)
    // of the control it lands by; dropped onto itself after a push of more
    // than 4 px it only starts or ends a group line.
    void OnCustomizeDrop(CQXPControl* pDragged, int& nEffect, CPoint point, CPoint ptStart) override;
    // The drop place among the controls of the band under the point (the
    // QAT, the tab row or the groups): the one it lands by and its side.
    BOOL FindDropPlace(CQXPControl* pDragged, CPoint point, CQXPControl** ppControl, BOOL* pbAfter,
                       CRect* prcMarker) const override;
    // "Customizable": the ribbon takes drops and keeps its tabs in its state.
    void SetCustomizable(BOOL bCustomizable) { m_bCustomizable = bCustomizable; }
    // The control leaves the group or the QAT that lists it.
    void ForgetControl(CQXPControl* pControl);

    // --- keyboard (ribbonkeytips.cpp) ----------------------------------------------------
    // Alt alone shows the keytips of the QAT, the tabs and the system
    // button (level 1); Alt with 1-9 runs that QAT command; Alt with a
    // tab's mnemonic selects the tab and shows its groups' keytips
    // (level 2). Nothing while Ctrl is down.
    BOOL OnKeyMenu(UINT nChar) override;
    // Alt with a key before the bars look for a mnemonic: the same keys.
    BOOL PreviewMnemonic(UINT nKey) override;
    void CreateKeyboardTips(CQXPKeyboardTips* pTips) override;
    // A tab's tip selects it (a minimised ribbon opens its popup), else
    // the control's tip acts as its mnemonic would.
    void OnKeyboardTip(CQXPKeyboardTip* pTip) override;
    // Escape at level 2 goes back to level 1; Up from a control of the
    // groups goes to the tab row.
    int ProcessSpecialKey(int nAction) override;
    // The tab row is a stop of its own at its place among the controls
    // (before the groups' controls) while it shows a tab to go to.
    int GetNextKeyboardStop(int nIndex, int nDirection) const override;
    BOOL IsTabRowKeyboardStop() const;
    // Shift+F10 or the menu key while the ribbon tracks: the context menu
    // of the selected control (ShowSelectedControlMenu).
    int ProcessHookKeyDown(UINT nKey) override;
    // The site frame's WM_CONTEXTMENU: from the keyboard (lParam -1) the
    // selected control's menu; from the mouse over the ribbon nothing (the
    // ribbon shows its own on the button's release).
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    // The context menu of the selected control at its top-left corner;
    // FALSE when no control is selected.
    BOOL ShowSelectedControlMenu();
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    int GetKeyTipLevel() const { return m_nKeyTipLevel; }
    // The level-2 keytips of groups shown on a bar (the ribbon or a popup).
    void AddGroupKeyTips(CQXPKeyboardTips* pTips, CQXPCommandBar* pBar, const CQXPRibbonGroupCollection* pGroups,
                         const CRect& rcGroups);
    // One group's: bShown FALSE gives its keys no windows (a group not on
    // the bar that shows the tips).
    void AddGroupKeyTips(CQXPKeyboardTips* pTips, CQXPCommandBar* pBar, CQXPRibbonGroup* pGroup,
                         const CRect& rcGroups, BOOL bShown);
    // --- the caption band and the frame (ribboncaption.cpp) ----------------------------
    // The command bars' frame hook while it leaves the frame's caption to
    // this ribbon (frame theming on, the ribbon shown at the top); NULL
    // otherwise.
    RibbonFrameHook* GetFrameHook() const;
    BOOL HasFrameHook() const { return GetFrameHook() != NULL; }
    // The caption's hit test: 0 without a frame hook, in customize mode,
    // outside the caption, over a control or a contextual header; HTTOP in
    // the top 5 px of a sizable frame that is not maximised; else HTCAPTION.
    int HitTestCaption(CPoint point) const;
    // The rectangle (client coordinates) meets the caption on glass: the bar
    // is visible and its frame hook composited.
    BOOL IsRectInCaption(const CRect& rc) const;
    // The group of the ribbon's tabs that holds the control (NULL: none).
    CQXPRibbonGroup* FindControlGroup(const CQXPControl* pControl) const;
    // One header per run of contextual tabs, placed by the last layout.
    const qxribbon::CRibbonContextHeaders& GetContextHeaders() const { return m_contextHeaders; }
    const qxribbon::CRibbonContextHeader* HitTestContextHeader(CPoint point) const;
    CRect GetTitleRect() const { return m_rcTitle; }
    void OnRemoved() override;

    // --- saved state --------------------------------------------------------------------
    // The bar's own values with, for a customizable ribbon, the controls on
    // its tab row in the bar's "Controls" section; keys
    // "ShowQuickAccessBelow", "Minimized", "Customizable"; then, only for a
    // customizable ribbon, "SystemButton" (whether there is one, its class
    // and state) and "Tabs" (each tab with its class, its groups with their
    // classes, their controls with theirs); then "QuickAccessControls".
    // A ribbon that is not customizable keeps the tabs, tab-row controls
    // and system button the program made. A system button whose class
    // cannot be made is not loaded (the bar keeps its own); any other
    // stored class that cannot be made refuses the whole ribbon: the bar
    // keeps what it had.
    void DoPropExchange(CQXPPropExchange* pPX) override;
    // Takes the other ribbon's QAT place and minimised state; from a
    // customizable ribbon also the bar's settings, copies of its tabs, its
    // tab-row controls and its system button; then copies of its QAT
    // commands in order. Anything but a ribbon leaves this bar as it is.
    void Copy(CQXPCommandBar* pOther, BOOL bRecursive = FALSE) override;
    // The same ribbon loaded from a saved layout: copied into this one (its
    // tabs, tab-row controls and system button when it was customizable,
    // its QAT always), not only the controls a plain toolbar takes over.
    void MergeLoadedBar(CQXPToolBar* pLoaded, BOOL bSilent) override;

    BOOL m_bAllowMinimize;
    BOOL m_bGroupsVisible;
    BOOL m_bTabsVisible;
    BOOL m_bCaptionBarVisible; // the bar draws its own caption band
    int m_nGroupsHeightOverride;

protected:
    friend class CQXPRibbonGroup;
    friend class CQXPRibbonTab;
    friend class CQXPRibbonControlTab;
    // Controls of groups of tabs that are not shown get QXP_HIDE_RIBBON_TAB.
    void UpdateGroupsVisibility();
    // The heights' inputs from the theme and the bar's state alone.
    qxribbon::RibbonBarState GetThemeBarState() const;
    // The tabs in order.
    std::vector<CQXPRibbonTab*> Tabs() const;
    // Runs a step of the plain bar's machinery (state exchange, copying)
    // with another control collection in place of this bar's (and of
    // pOther's): the ribbon keeps its controls in its tabs, groups and QAT.
    // The stand-in is pAside (the caller's) or, when NULL, an empty one.
    void WithControlsAside(CQXPRibbonBar* pOther, const std::function<void()>& step, CQXPControls* pAside = NULL);
    void LayoutGroups(CDC* pDC);

    // Creation ends by hooking the site frame (the wheel, the menu keys).
    afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
    // Shown or hidden (by the bar's visibility, or with all bars around a
    // print preview): a hidden bar is not laid out, so the frame may have
    // been sized across the ribbon's minimum meanwhile. When the ribbon's
    // shown-by-size state changed, or its showing moves the caption between
    // it and the frame (hidden, it draws none), the frame hook is told to
    // refresh.
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    // The command bars' frame hook, when there is one, recalculates the
    // frame at its next idle update (once: nothing while one is pending).
    void PostFrameUpdate();
    // The system's colours (or its look) changed: the bar's paint manager
    // reads its colours, fonts and metrics again and the tab row lays its
    // tabs out anew, which re-lays out and redraws the bar.
    afx_msg void OnSysColorChange();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    // The pointer moved away from the tracking ribbon: a selection the
    // keyboard made stays (a re-layout on a tab change makes the system
    // send a move where the pointer rests).
    void OnMouseMoveOutside(CPoint point) override;
    // With a composition frame hook the system's caption buttons under the
    // ribbon's caption take the pointer (HTTRANSPARENT); else the toolbar's.
    afx_msg LRESULT OnNcHitTest(CPoint point);
    // Over a sizing edge of the caption (HTTOP in its top 5 px) the frame
    // sets its sizing cursor.
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    // kContextMenuTimer (posted, never set): the selected control's menu.
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    // WM_COMMANDBARS_SPECIALCOMMAND sent to the ribbon: the QAT menus'
    // command wParam for the item in lParam (ExecuteQuickAccessCommand);
    // 0 for an id it does not know.
    afx_msg LRESULT OnSpecialCommand(WPARAM wParam, LPARAM lParam);
    // WM_COMMAND 9608 to 9610 sent to the ribbon: popups close, the QAT goes
    // below the ribbon (9608) or above it.
    afx_msg void OnQuickAccessPlace(UINT nId);
    static const UINT_PTR kContextMenuTimer = 0x5246;
    DECLARE_MESSAGE_MAP()

    // A control of the bar, with one reference of the bar's own; holds the
    // tabs (none selected while minimised).
    CQXPRibbonControlTab* m_pTabControl;
    BOOL m_bSelectedTabClicked; // the last press hit the tab already selected
    BOOL m_bMinimized;
    BOOL m_bQuickAccessBelow;
    BOOL m_bQuickAccessVisible;
    BOOL m_bShownBySize;
    int m_nMinimumSize;                                 // px: the least frame height and offered width that show the ribbon
    CRibbonQuickAccessControls* m_pQuickAccessControls; // owned; its members are also controls of the bar
    CQXPControl* m_pQatCustomize;    // controls of the bar
    CQXPControl* m_pQatMore;
    int m_nKeyTipLevel;                             // 1: QAT, tabs, system button; 2: the selected tab's groups
    CQXPControls* m_pQatDefaults;                   // the QAT's default commands (copies), owned; NULL: none
    CQXPRibbonControlSystemButton* m_pSystemButton; // a control of the bar, or NULL
    CQXPControl* m_pMenuTarget;                     // one reference: the control the last QAT menu was made for
    // Shows the keytips of a level while the bar tracks from the keyboard.
    void ShowKeyTips(int nLevel);
    // A QAT command's digit or a tab's mnemonic; FALSE for any other key.
    BOOL HandleEntryKey(UINT nChar);
    // A control that only its group's reduction hides: the group's popup
    // opens and the control's copy there runs. FALSE for any other control.
    BOOL OpenCollapsedControl(CQXPControl* pControl);

public:
    // The same for a control of pGroup on pBar (the ribbon, or a popup
    // showing copies of groups).
    BOOL OpenCollapsedControlIn(CQXPCommandBar* pBar, CQXPRibbonGroup* pGroup, CQXPControl* pControl);

protected:
    CRect m_rcTabRow, m_rcGroups, m_rcCaption, m_rcQuickAccess;
    int m_nQuickAccessHeight;
    CRibbonStyleTheme* m_pOwnTheme; // when the paint manager is no ribbon theme

    // The caption band: caption buttons, title and contextual headers.
    void LayoutCaption(CDC* pDC);
    void DrawCaption(CDC* pDC);
    // A press (or double click) on the caption or a contextual header:
    // TRUE when the caption took it.
    BOOL OnCaptionButtonDown(CPoint point, BOOL bDouble);
    qxribbon::CRibbonContextHeaders m_contextHeaders;
    CRect m_rcTitle;
    CString m_strCachedTitle;     // the frame title the caption was laid out for
    BOOL m_bFrameCaption;         // the frame hook left the caption to the ribbon at the last layout

    // The band of the selected tab's groups: a step scrolls the selected
    // tab's groups; the hot group is one of them (cleared when the groups
    // shown change).
    class CGroupScroller : public CRibbonGroupScroller {
    public:
        void Scroll(BOOL bToLeft) override;
        void GetGroupsRect(RECT* pRect) const override;
        // Nothing while the groups are hidden or the ribbon is minimised,
        // outside the band or over a shown scroll button.
        CQXPRibbonGroup* HitTestGroup(CPoint point) const override;
        // The selected tab's groups while the groups are shown.
        CQXPRibbonGroupCollection* GetScrolledGroups() const override;
        CQXPRibbonBar* GetRibbon() const { return (CQXPRibbonBar*)m_pBar; }
        void ForgetHotGroup() { m_pHotGroup = NULL; }
    };
    CGroupScroller m_groupScroller;
};

// Keeps the ribbon's classes in a program that only meets them in a saved
// layout (call it at start-up); TRUE when the run-time class list finds
// "CQXPRibbonBar", "CQXPRibbonTab" and "CQXPRibbonGroup".
BOOL AFXAPI RegisterRibbonBarClasses();
