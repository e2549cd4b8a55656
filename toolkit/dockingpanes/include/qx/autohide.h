// qx/autohide.h - auto-hidden panes. The panel of one frame side holds the
// groups (tabbed containers) that were hidden as units and shows them as tabs
// on a thin strip (window class "QXPDockingPaneAutoHidePanel"); pointing at
// or clicking a tab slides the group out over the frame in a slide-out window
// that slides back in once the mouse has left it for a while.
#pragma once

#include <qx/panetree.h>
#include <qx/tabmanager.h>

class AutoHidePanel;
class CQXPDockingPane;
class CQXPDockingPaneTabbedContainer;
class CQXPTabPainter;

// The tabs of one group on a panel: one item per pane of the group, the
// group's selected pane selected; no scroll buttons.
class AutoHideGroupTabs : public CQXPTabManager {
public:
    AutoHideGroupTabs(AutoHidePanel* pPanel, CPaneBase* pGroup);

    CQXPTabPainter* GetPaintManager() const override;
    void RedrawControl(LPCRECT lpRect, BOOL bAnimate) override;
    void OnPropertyChanged() override {}
    DWORD_PTR GetItemImage(const CQXPTabManagerItem* pItem) const override;

    // Brings the items in step with the group's panes.
    void Sync();
    CQXPDockingPane* GetPane(const CQXPTabManagerItem* pItem) const;
    CPaneBase* GetGroup() const { return m_pGroup; }
    // The length the group's tabs take along the strip after the last layout.
    int GetLength() const { return m_nLength; }

    // The tab position of a panel side (left 3, right 1, top 2, bottom 0).
    static int AFXAPI PositionOfSide(int nSide);

protected:
    friend class AutoHidePanel;
    AutoHidePanel* m_pPanel;
    CPaneBase* m_pGroup;
    int m_nLength;
};

class CQXPDockingPaneAutoHideWnd;
class COleDropTarget;

class AutoHidePanel : public CWnd, public CPaneContainerBase {
public:
    explicit AutoHidePanel(DockingLayoutStore* pLayout);
    ~AutoHidePanel() override;

    int GetDirection() const { return m_nDirection; }
    void SetDirection(int nDirection) { m_nDirection = nDirection; }
    // Adds a group (a tabbed container, or a pane that the caller has put in
    // one) at the end.
    void AddGroup(CPaneBase* pGroup);
    void RemoveGroup(CPaneBase* pGroup) { RemovePane(pGroup); }
    void RemovePane(CPaneBase* pPane) override;
    BOOL IsEmpty() const override;
    // The groups that still hold panes.
    PaneObjectList GetVisibleGroups() const;
    // The strip the panel takes from the frame's rectangle (0 when empty).
    int GetStripSize() const;
    void OnSizeParent(HWND hParent, const RECT& rect, AFX_SIZEPARENTPARAMS* lpParams) override;
    CPaneBase* Clone(DockingLayoutStore* pLayout, PaneCloneMap* pMap, DWORD dwIgnoredOptions) override;
    BOOL DoPropExchange(CQXPPropExchange* pPX, PaneExchangeContext& ctx) override;
    HWND GetPaneHwnd() const override { return m_hWnd; }
    void Invalidate() override;

    // Slides a pane of this panel out (with the focus when asked).
    void ShowPane(CQXPDockingPane* pPane, BOOL bSetFocus);
    // Slides the open window back in; delayed: its window closes on a short
    // timer (the container is taken out of it at once).
    void CloseSlideOut(BOOL bDelayed = FALSE);
    // CloseSlideOut on every panel of the layout.
    void CloseAllSlideOuts();
    // The pane whose tab lies under a point of the panel window.
    CQXPDockingPane* HitTest(POINT pt) const;
    CQXPDockingPaneAutoHideWnd* GetSlideOut() const { return m_pSlideOut; }
    const std::vector<AutoHideGroupTabs*>& GetGroupTabs() const { return m_arrTabs; }
    AutoHideGroupTabs* FindTabs(const CPaneBase* pGroup) const;
    // Called by the slide-out window when it goes away.
    void ForgetSlideOut(CQXPDockingPaneAutoHideWnd* pWnd);
    // Data dragged over a tab slides that pane out (when the paint manager
    // allows it); nothing is ever dropped.
    COleDropTarget* GetDropTarget() const { return m_pDropTarget; }

protected:
    void PostNcDestroy() override {}
    void CreatePanelWindow();
    void SyncTabs();
    void LayoutTabs(const RECT& rcStrip);
    void DrawPanel(HDC hDC);

    void OnPaint();
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnMouseLeave();
    void OnMouseHover(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    int m_nDirection;
    CQXPDockingPaneAutoHideWnd* m_pSlideOut;
    COleDropTarget* m_pDropTarget;
    std::vector<AutoHideGroupTabs*> m_arrTabs;
    RECT m_rcLast;
};

// The window a group slides out in: a child of the site laid over the frame,
// growing from the panel's side.
class CQXPDockingPaneAutoHideWnd : public CWnd {
public:
    enum {
        timerHoverCheck = 1,
        timerSlideOut = 2,
        timerSlideIn = 3,
        timerClose = 4,
    };
    enum {
        kSlideInterval = 16,
        kSlideDuration = 128,
        kHoverInterval = 100,
        kHoverCount = 6,
        kCloseDelay = 50,
        kEdge = 4
    };

    CQXPDockingPaneAutoHideWnd(AutoHidePanel* pPanel, CQXPDockingPaneTabbedContainer* pContainer);
    ~CQXPDockingPaneAutoHideWnd() override;

    // Computes the target rectangle, creates the window and starts sliding.
    BOOL Create();
    // One timer tick (what WM_TIMER does); tests call it directly when the
    // manager's timers are manual.
    void OnTimer(UINT_PTR nID);
    BOOL IsTimerRunning(UINT_PTR nID) const;
    // The hover check of timer 1: counts down while the mouse is away and
    // the group has no focus, turns a slide in back otherwise.
    void HoverCheck();
    // Hides the window, gives the container back to the site and lets the
    // panel forget it; then posts WM_CLOSE, or destroys the window at once.
    void CloseNow(BOOL bDestroy = FALSE);
    // The container's window leaves at once; the window closes on timer 4.
    void CloseDelayed();

    CQXPDockingPaneTabbedContainer* GetContainer() const { return m_pContainer; }
    CQXPDockingPane* GetShownPane() const;
    AutoHidePanel* GetPanel() const { return m_pPanel; }
    const RECT& GetTargetRect() const { return m_rcTarget; }
    int GetStep() const { return m_nStep; }
    int GetSteps() const { return m_nSteps; }
    BOOL IsCollapsing() const { return m_bCollapsing; }
    int GetHoverCountdown() const { return m_nHoverCountdown; }
    // The limits of the inner edge along the sliding direction, as distances
    // from the panel side; FALSE when the edge cannot move.
    BOOL GetResizeLimits(int& nMin, int& nMax) const;
    // Applies a new extent (distance of the inner edge from the panel side).
    void ApplyExtent(int nExtent);

protected:
    void PostNcDestroy() override;
    void StartTimer(UINT_PTR nID, UINT nElapse);
    void StopTimer(UINT_PTR nID);
    void PlaceForStep();
    void LayoutContainer();
    BOOL IsCursorInside() const;
    void DrawWindow(HDC hDC);
    void TrackResize(POINT ptClick);
    RECT GetDockedArea() const;
    // The group's limits from its panes (maximum 32000 when none is set).
    void GetTrackLimits(MINMAXINFO* pMinMax) const;

    AutoHidePanel* m_pPanel;
    CQXPDockingPaneTabbedContainer* m_pContainer;
    int m_nDirection;
    BOOL m_bVertStrip; // top and bottom panels
    RECT m_rcTarget;   // site client coordinates, fully out
    int m_nStep;
    int m_nSteps;
    BOOL m_bCollapsing;
    int m_nHoverCountdown;
    BOOL m_bResizing;
    BOOL m_bClosing;
    unsigned m_nTimers; // bit n: timer n runs

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnDestroy();
    void OnClose();
    DECLARE_MESSAGE_MAP()
};
