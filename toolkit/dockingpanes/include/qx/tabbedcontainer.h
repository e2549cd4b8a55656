// qx/tabbedcontainer.h - the tabbed container: one or more panes in one
// place, one shown, behind tabs when there are several (window class
// "QXPDockingPaneTabbedContainer").
#pragma once

#include <qx/panetree.h>
#include <qx/sysutil.h>

class COleDropTarget;
class CQXPDockingPane;
class CQXPTabManager;

// Caption button command ids; their strings in the toolkit's resources are
// their tooltips.
#include <qxresource.h>
#define QXP_IDS_DOCKINGPANE_AUTOHIDE QX_IDS_DOCKINGPANE_AUTOHIDE
#define QXP_IDS_DOCKINGPANE_CLOSE QX_IDS_DOCKINGPANE_CLOSE
#define QXP_IDS_DOCKINGPANE_MAXIMIZE QX_IDS_DOCKINGPANE_MAXIMIZE
#define QXP_IDS_DOCKINGPANE_RESTORE QX_IDS_DOCKINGPANE_RESTORE
#define QXP_IDS_DOCKINGPANE_MENU QX_IDS_DOCKINGPANE_MENU
// The tooltip of a caption button: its string, else the built-in text.
CString AFXAPI DockingCaptionButtonTip(int nID);

// Accessibility: a page tab list named "QXPDockingPaneTabbedContainer";
// child 1 is the selected pane's window, children 2 and up the panes of the
// tabs in order.
class CQXPDockingPaneTabbedContainer : public CWnd, public CPaneContainerBase, public CQXPAccessibleBase {
public:
    explicit CQXPDockingPaneTabbedContainer(DockingLayoutStore* pLayout);
    ~CQXPDockingPaneTabbedContainer() override;

    void Init(CQXPDockingPane* pPane, HWND hSite);
    void AddPane(CQXPDockingPane* pPane, BOOL bSetFocus = TRUE);
    void RemovePane(CPaneBase* pPane) override;
    void SelectPane(CQXPDockingPane* pPane, BOOL bSetFocus = TRUE, BOOL bDelayRedraw = TRUE);
    void ShowPane(CQXPDockingPane* pPane, BOOL bSetFocus = TRUE);
    CQXPDockingPane* GetSelected() const { return m_pSelectedPane; }
    CString GetTitle() const;
    void ShowCaption(BOOL bShow);
    BOOL IsCaptionVisible() const;
    BOOL IsTabsVisible() const;
    // Whether the caption runs down the left side (the manager's caption
    // direction).
    BOOL IsCaptionVertical() const;
    // -2 on the caption, else the tab index under the point, else -1.
    int HitTest(CPoint pt) const;
    void Copy(CQXPDockingPaneTabbedContainer* pSource, PaneCloneMap* pMap, DWORD dwIgnoredOptions);
    void UpdateTabs();
    void Maximize();
    void Restore();
    BOOL CanMaximize() const;
    BOOL IsMaximized() const { return m_bMaximized; }
    BOOL IsActive() const { return m_bActive; }
    // The tab rectangles of the last layout (client coordinates), one per pane.
    const std::vector<RECT>& GetTabRects() const { return m_arrTabRects; }
    // The strip's logic: one item per pane, in pane order.
    CQXPTabManager* GetTabManager() const { return m_pTabs; }
    // The area left for the selected pane's window after the last layout.
    const RECT& GetClientArea() const { return m_rcClient; }
    // The window's OLE drop target: data dragged over a tab selects its pane
    // (with the pane-tab painter's m_bActivateOnDragOver); it takes no drop.
    COleDropTarget* GetDropTarget() const { return m_pDropTarget; }
    // The strip's items changed (a scroll, a reorder, the hot tab): lays
    // the tabs out again and redraws, unless the tabs are being rebuilt.
    void OnTabsChanged();
    // The strip's own reorder loop moved its items: the panes take the
    // items' order.
    void OnTabsReordered();

    BOOL ContainsPane(const CPaneBase* pPane) const override { return CPaneContainerBase::ContainsPane(pPane); }
    BOOL IsHidden() const override;
    HWND GetPaneHwnd() const override { return m_hWnd; }
    void GetMinMaxInfo(MINMAXINFO* pMinMax) const override;
    void OnSizeParent(HWND hParent, const RECT& rect, AFX_SIZEPARENTPARAMS* lpParams) override;
    void SetDockingSite(HWND hSite) override;
    void OnParentContainerChanged(CPaneBase* pParent) override;
    void OnFocusChanged() override;
    void UpdatePanes(BOOL bRelayout) override;
    void Invalidate() override;
    CPaneBase* Clone(DockingLayoutStore* pLayout, PaneCloneMap* pMap, DWORD dwIgnoredOptions) override;
    BOOL DoPropExchange(CQXPPropExchange* pPX, PaneExchangeContext& ctx) override;
    BOOL IsCaptionButtonVisible(int nButton) const override;
    // The visible caption button under a client point (none without a
    // caption).
    CaptionButton* CaptionButtonAt(POINT pt) const;
    // The tooltip under a point: a caption button's string, else the tab's
    // tooltip.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
    HRESULT get_accChildCount(long* pcountChildren) override;
    HRESULT get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT get_accName(VARIANT varChild, BSTR* pszName) override;
    HRESULT get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT get_accState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
    HRESULT accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    // What a caption button does once it was pressed and released over.
    virtual void OnCaptionButtonClick(CaptionButton* pButton);
    // Drags the container from a screen point while the left button is down
    // (unless the owner refuses the drag).
    virtual void StartDrag(int x, int y);

protected:
    void PostNcDestroy() override {}
    void CreatePaneWindow();
    // Lays the tab strip out in the window's rectangle and keeps the tab
    // rectangles (none while the tabs do not show).
    void LayoutTabs();
    void DrawContainer(HDC hDC);
    // The caption buttons lose their hover look: the mouse left, a click
    // acted on one, or the window was hidden (no leave message comes then).
    void ClearHotCaptionButtons();
    void OnMouseMoveTabDrag(CPoint pt);
    void EndTabDrag();
    void NormalizeDockingSize();

    BOOL m_bActive;
    BOOL m_bTitleVisible;
    int m_nLockUpdate;
    BOOL m_bEnsureSelectedTab;
    CQXPDockingPane* m_pSelectedPane;
    CQXPDockingPane* m_pTrackingPane;
    std::vector<RECT> m_arrTabRects;      // of the last layout
    std::vector<RECT> m_arrSavedTabRects; // taken when a tab drag starts
    BOOL m_bMaximized;
    RECT m_rcClient;
    CQXPTabManager* m_pTabs;
    COleDropTarget* m_pDropTarget; // owned; registered on the window while it exists

    void OnPaint();
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnMouseLeave();
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    // A dragged tab left every tab: its pane is dragged on its own.
    void DetachDraggedTab(CPoint pt);
    void OnCaptureChanged(CWnd* pWnd);
    void OnSetFocus(CWnd* pOldWnd);
    void OnNcDestroy();
    void OnCancelMode();
    void OnRButtonDown(UINT nFlags, CPoint point);
    // The four-way arrow over the caption while the manager asks for it,
    // and over the theme's caption gripper always.
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    // Hands the current mouse message to the manager's tooltips.
    void RelayToToolTip();
    LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
