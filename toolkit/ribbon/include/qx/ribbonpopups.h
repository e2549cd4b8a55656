// qx/ribbonpopups.h - the ribbon's popups and the controls that open them,
// all on the command bars' popup machinery (qx/popup.h):
//
// CQXPRibbonGroupControlPopup         - the button a collapsed group shrinks
//                                       to; opens the group in a popup.
// CQXPRibbonBarControlQuickAccessPopup - the QAT's customise button (9603);
// CRibbonQuickAccessMore               - its more button (9611), shown when
//                                       commands overflow.
// CQXPRibbonTabPopupToolBar   - a minimised ribbon's tab: copies of its
//                               groups laid out as on the ribbon.
// CQXPRibbonGroupPopupToolBar - one collapsed group, copied.
// CQXPRibbonBarMorePopupToolBar - the QAT's overflow.
//
// A popup's copies of groups keep their controls in the popup's own
// collection; they live exactly as long as the popup.
#pragma once

#include <qx/popup.h>
#include <qx/ribbonbar.h>

#include <vector>

// The ribbon a bar belongs to: the bar itself, or the ribbon a chain of
// popups was opened from. NULL for any other bar.
CQXPRibbonBar* AFXAPI QxpGetRibbonBar(CQXPCommandBar* pBar);

class CQXPRibbonGroupControlPopup : public CQXPControlPopup {
    DECLARE_DYNCREATE(CQXPRibbonGroupControlPopup)
public:
    CQXPRibbonGroupControlPopup();
    // The group the button opens: the group's own button its group; a
    // copy (on the QAT, loaded from a saved layout) the group with its id
    // in the ribbon of the bar it sits on, NULL when there is none.
    CQXPRibbonGroup* GetGroup() const;
    // The group makes (and, when it lets the button go, clears) its own
    // button's group.
    void SetGroup(CQXPRibbonGroup* pGroup);
    // The group's own button (not a copy of it on the QAT).
    BOOL IsStandIn() const;
    // Hidden also while the group it opens is made invisible.
    BOOL IsVisible(DWORD dwSkipFlags) const override;
    BOOL IsVisible() const override { return IsVisible(0); }
    // The group's IconId when set (unless a custom icon was chosen), else
    // the control's own.
    int GetIconId() const override;
    // The group's layout gives its size: the rectangle it has.
    CSize GetSize(CDC* pDC) override;
    // Standing in for its group: the theme's collapsed-group button with
    // the bar's large icon when the group has its own image at that size,
    // else the small one. A copy elsewhere (the QAT): the theme's face for
    // it, then the ordinary button.
    void Draw(CDC* pDC) override;
    // Opening makes a new popup with a copy of the group.
    BOOL OnSetPopup(BOOL bPopup) override;
    void Copy(CQXPControl* pControl, BOOL bRecursive = FALSE) override;

protected:
    CQXPRibbonGroup* m_pGroup; // the group whose own button this is (it owns the button), else NULL
};

// The QAT's customise and more buttons: control height × 13 / 22 wide,
// one control height high, drawn by the ribbon theme.
class CQXPRibbonBarControlQuickAccessPopup : public CQXPControlPopup {
    DECLARE_DYNCREATE(CQXPRibbonBarControlQuickAccessPopup)
public:
    CQXPRibbonBarControlQuickAccessPopup();
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    // Each opening asks the ribbon for a new popup.
    BOOL OnSetPopup(BOOL bPopup) override;
    virtual BOOL IsMoreButton() const { return FALSE; }
};

class CRibbonQuickAccessMore : public CQXPRibbonBarControlQuickAccessPopup {
    DECLARE_DYNCREATE(CRibbonQuickAccessMore)
public:
    BOOL IsMoreButton() const override { return TRUE; }
};

// A scroll button at one end of a band of groups (the ribbon's or a tab
// popup's): a press scrolls the groups 40 px; held down, it scrolls again
// and again (the first repeat after 4/5 of the double-click time, then
// every tenth of it) until the button is released, Escape is pressed, the
// bar loses the capture or the button goes (nothing left to scroll).
class CRibbonScrollButton : public CQXPControlButton {
public:
    explicit CRibbonScrollButton(BOOL bLeft);
    void Draw(CDC* pDC) override;
    void OnExecute() override;
    void OnClick(BOOL bKeyboard, CPoint pt) override;
    // The band's owner scrolls (its group scroller's Scroll).
    void ScrollOwner();
    static const UINT kRepeatTimer = 17821;
    BOOL m_bLeft; // towards the first group
};

// What the tab and group popups share: copies of groups, laid out and
// drawn by the ribbon, the hot group under the mouse.
class CQXPRibbonGroupsPopupToolBar : public CQXPPopupToolBar {
    DECLARE_DYNAMIC(CQXPRibbonGroupsPopupToolBar)
public:
    explicit CQXPRibbonGroupsPopupToolBar(CQXPRibbonBar* pRibbon = NULL);
    ~CQXPRibbonGroupsPopupToolBar() override;
    CQXPRibbonBar* GetRibbonBar() const { return m_pRibbon; }
    // The copies of groups the popup shows.
    CQXPRibbonGroupCollection* GetGroups() const { return m_pGroups; }
    CRect GetGroupsRect() const { return m_rcGroups; }
    // The popup's band: offset, scroll buttons, the group under the mouse.
    virtual CRibbonGroupScroller* GetGroupScroller() = 0;
    // The ribbon's sizes.
    CSize GetButtonSize() const override;
    CSize GetIconSize() const override;
    // The ribbon's group a copy of this popup was made from (NULL: none).
    virtual CQXPRibbonGroup* GetSourceOf(const CQXPRibbonGroup* pCopy) const
    {
        (void)pCopy;
        return NULL;
    }
    // The keytips of the copies' controls, placed as on the ribbon.
    void CreateKeyboardTips(CQXPKeyboardTips* pTips) override;
    // A tip of a control that a collapsed copy hides opens that copy's
    // group popup and runs the control there, as on the ribbon.
    void OnKeyboardTip(CQXPKeyboardTip* pTip) override;
    void DrawCommandBar(CDC* pDC, CRect rcClip) override;
    // The copy of a group that holds the control (NULL: none).
    CQXPRibbonGroup* FindControlGroup(const CQXPControl* pControl) const;

protected:
    // Under the groups: the ribbon's face (a collapsed group's popup).
    virtual void DrawBackground(CDC* pDC, CRibbonStyleTheme* pTheme, const CRect& rcClient);
    // Adds a copy of a group with copies of its controls.
    CQXPRibbonGroup* AddGroupCopy(CQXPRibbonGroup* pSource);
    int GetContextColor() const;
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    // The right button: the site may take it over a control, else the
    // ribbon shows the context menu of the control or of the group whose
    // caption band is under the point (a toolbar-style popup does not
    // hand the release to its root bar by itself).
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    // Lays the controls' rows out as the groups place them, so that Up and
    // Down step between rows.
    void SetControlRows();
    DECLARE_MESSAGE_MAP()

    CQXPRibbonBar* m_pRibbon;
    CQXPRibbonGroupCollection* m_pGroups; // copies, shown on this popup; owned
    CRect m_rcGroups;
    int m_nContextColor = 0;
};

class CQXPRibbonTabPopupToolBar : public CQXPRibbonGroupsPopupToolBar {
    DECLARE_DYNAMIC(CQXPRibbonTabPopupToolBar)
public:
    CQXPRibbonTabPopupToolBar(CQXPRibbonBar* pRibbon, CQXPRibbonTab* pTab);
    CQXPRibbonTab* GetSourceTab() const { return m_pSourceTab; }
    // The tab's group at the copy's place.
    CQXPRibbonGroup* GetSourceOf(const CQXPRibbonGroup* pCopy) const override;
    // The ribbon's width (kept inside the work area), the band's height;
    // groups that do not fit even reduced scroll with the popup's own
    // scroll buttons.
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    CRibbonGroupScroller* GetGroupScroller() override { return &m_groupScroller; }
    // A control of a group (or a collapsed group's button) chosen from the
    // keyboard first scrolls the groups until it is in view.
    void EnsureVisible(CQXPControl* pControl) override;
    void DrawCommandBar(CDC* pDC, CRect rcClip) override;
    // The ribbon's face, then the band's background of a minimised tab.
    void DrawBackground(CDC* pDC, CRibbonStyleTheme* pTheme, const CRect& rcClient) override;
    // However the popup ends (Escape, a command, a click elsewhere) the
    // minimised ribbon lets its tab go; Escape then takes the keyboard
    // back to the tab row on that tab.
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    // Up from a control of the top row (nothing open) goes back to the
    // ribbon's tab row, lit on this popup's tab.
    int ProcessSpecialKey(int nAction) override;
    // No control of the popup lies above the control.
    BOOL IsInTopRow(const CQXPControl* pControl) const;

protected:
    // Lays the copies out at the present offset and places the buttons.
    void LayoutPopupGroups(CDC* pDC);
    CQXPRibbonTab* m_pSourceTab;

    // A step leaves the selection and the keytips, then scrolls the copies
    // 40 px; the band is the popup's groups rectangle.
    class CGroupScroller : public CRibbonGroupScroller {
    public:
        void Scroll(BOOL bToLeft) override;
        void GetGroupsRect(RECT* pRect) const override;
        CQXPRibbonGroup* HitTestGroup(CPoint point) const override;
        // The popup's copies of the tab's groups.
        CQXPRibbonGroupCollection* GetScrolledGroups() const override;
        CQXPRibbonTabPopupToolBar* GetPopup() const { return (CQXPRibbonTabPopupToolBar*)m_pBar; }
    };
    CGroupScroller m_groupScroller;
};

class CQXPRibbonGroupPopupToolBar : public CQXPRibbonGroupsPopupToolBar {
    DECLARE_DYNCREATE(CQXPRibbonGroupPopupToolBar)
public:
    explicit CQXPRibbonGroupPopupToolBar(CQXPRibbonGroup* pGroup = NULL);
    CQXPRibbonGroup* GetSourceGroup() const { return m_pSourceGroup; }
    CQXPRibbonGroup* GetGroupCopy() const { return m_pGroups->GetAt(0); }
    CQXPRibbonGroup* GetSourceOf(const CQXPRibbonGroup* pCopy) const override
    {
        return pCopy && pCopy == GetGroupCopy() ? m_pSourceGroup : NULL;
    }
    // The group at its full size: 5 px wider, the band's height less 7.
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    CRibbonGroupScroller* GetGroupScroller() override { return &m_groupScroller; }
    // The keys of every group of the source's tab, so that each keeps the
    // text it has on the ribbon; only the copy's show.
    void CreateKeyboardTips(CQXPKeyboardTips* pTips) override;

protected:
    CQXPRibbonGroup* m_pSourceGroup;

    // The copy never scrolls; the band is the popup's client area.
    class CGroupScroller : public CRibbonGroupScroller {
    public:
        explicit CGroupScroller(CQXPRibbonGroupPopupToolBar* pPopup) { m_pBar = pPopup; }
        void Scroll(BOOL bToLeft) override { (void)bToLeft; }
        void GetGroupsRect(RECT* pRect) const override;
        CQXPRibbonGroup* HitTestGroup(CPoint point) const override;
        CQXPRibbonGroupCollection* GetScrolledGroups() const override { return NULL; }
    };
    CGroupScroller m_groupScroller{this};
};

class CQXPRibbonBarMorePopupToolBar : public CQXPPopupToolBar {
    DECLARE_DYNAMIC(CQXPRibbonBarMorePopupToolBar)
public:
    explicit CQXPRibbonBarMorePopupToolBar(CQXPRibbonBar* pRibbon);
    CQXPRibbonBar* GetRibbonBar() const { return m_pRibbon; }
    CSize GetButtonSize() const override;
    CSize GetIconSize() const override;
    void DrawCommandBar(CDC* pDC, CRect rcClip) override;

protected:
    CQXPRibbonBar* m_pRibbon;
};
