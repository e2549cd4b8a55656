// qx/miniwnd.h - the floating frame of panes: a top-level tool frame holding
// one splitter container (window class "QXPDockingPaneMiniWnd"). Its model
// part (content, screen rectangle, roll-up state) is saved with the layout;
// the window exists while the frame lives in the manager's live layout.
#pragma once

#include <qx/panetree.h>

#include <fx/frame.h>

class CPaneSplitterContainer;
class CaptionButton;
class CQXPDockingPane;

class CQXPDockingPaneMiniWnd : public CMiniFrameWnd, public CPaneBase {
public:
    explicit CQXPDockingPaneMiniWnd(DockingLayoutStore* pLayout);
    ~CQXPDockingPaneMiniWnd() override;

    // Takes the splitter as its content and becomes its parent.
    void SetTopContainer(CPaneSplitterContainer* pTop);
    CPaneSplitterContainer* GetTopContainer() const { return m_pTopContainer; }
    // Wraps an object (a pane, a tabbed container or a splitter) as the
    // content and, in the live layout, creates the window at the rectangle.
    void Init(CPaneBase* pPane, const RECT& rcScreen);
    // The window at a rectangle moved to lie at least 10 pixels inside its
    // monitor's work area.
    BOOL CreateFrame(const RECT& rcScreen);
    // The rectangle moved so that at least 10 pixels of it lie inside the
    // work area.
    static RECT KeepInWorkArea(const RECT& rc, const RECT& rcWork);
    // The frame belongs to the manager's live layout (it has a window).
    BOOL IsLive() const;

    BOOL ContainsPane(const CPaneBase* pPane) const override;
    void FindPane(int nType, PaneObjectList& list) override;
    BOOL IsEmpty() const override;
    void RemovePane(CPaneBase* pPane) override;
    CPaneBase* Clone(DockingLayoutStore* pLayout, PaneCloneMap* pMap, DWORD dwIgnoredOptions) override;
    BOOL DoPropExchange(CQXPPropExchange* pPX, PaneExchangeContext& ctx) override;
    HWND GetPaneHwnd() const override { return m_hWnd; }
    // The frame's window once it has one: its containers live in it.
    HWND GetDockingSite() const override;
    void UpdatePanes(BOOL bRelayout) override;
    void OnFocusChanged() override;
    void OnChildContainerChanged(CPaneBase* pChild) override;
    void Invalidate() override;
    BOOL IsCaptionButtonVisible(int nButton) const override;
    void RecalcLayout(BOOL bNotify = TRUE) override;

    // Roll-up: the frame shrinks to its caption when the mouse leaves it.
    void SetRollUp(BOOL bRollUp);
    BOOL IsRollUp() const { return m_bRollUp; }
    // The frame is drawn by the docking theme (the manager's option).
    BOOL IsThemed() const;
    // Layered and translucent while inactive, by the manager's alpha.
    void UpdateOpacity();
    // The manager's themed-frames option or its theme changed: the borders
    // follow the option (an unthemed frame leaves roll-up), and a rolled-up
    // frame takes the height of its current step again.
    void OnThemeChanged();
    // The pane a right click on the caption concerns: the selected pane of
    // the one container, else that of the container holding the focus.
    CQXPDockingPane* GetCaptionPane() const;
    // One tick of a roll-up timer (1 hover poll, 3 collapse step); the
    // timers run on their own unless the manager's timers are manual.
    void OnTimer(UINT_PTR nIDEvent);
    // A non-client mouse move over a rolled-up frame expands it.
    void CheckRollUpHover();
    // The visible caption button under a screen point (themed frames draw
    // them; their rectangles are in window coordinates).
    CaptionButton* CaptionButtonAt(POINT ptScreen) const;
    // A released button: Close closes the panes, the pin toggles roll-up.
    virtual void OnCaptionButtonClick(CaptionButton* pButton);
    // A pressed button that acts at once (Menu); FALSE: the press is
    // tracked until the release.
    virtual BOOL OnCaptionButtonDown(CaptionButton* pButton);
    // A caption button under the point (client coordinates) is a tool whose
    // tip is the button's string.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;

    RECT m_rcScreen;
    BOOL m_bCollapsed;
    int m_nExpandedHeight;
    BOOL m_bClosable;
    BOOL m_bRollUp;
    BOOL m_bCollapsing;
    BOOL m_bExpanded;
    int m_nSteps;
    int m_nStep;
    int m_nHoverCountdown;
    BOOL m_bActive;
    BOOL m_bLayoutPending;
    std::vector<UINT_PTR> m_timers; // started (manual timers: recorded)

protected:
    void PostNcDestroy() override {}
    // Every message passes the manager's tooltip context first.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void StartTimer(UINT_PTR nID, UINT nElapse);
    void StopTimer(UINT_PTR nID);
    int CaptionHeight() const;
    // Lights the caption button under the point and no other; TRUE when one
    // changed.
    BOOL TrackCaptionButtons(POINT ptScreen);
    void RedrawFrame();

    CPaneSplitterContainer* m_pTopContainer;
    BOOL m_bInRecalc;

    void OnClose();
    void OnDestroy();
    void OnSetFocus(CWnd* pOldWnd);
    void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnNcRButtonDown(UINT nHitTest, CPoint point);
    void OnNcMouseMove(UINT nHitTest, CPoint point);
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    LRESULT OnNcHitTest(CPoint point);
    void OnNcPaint();
    BOOL OnNcActivate(BOOL bActive);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    void OnSizing(UINT nSide, LPRECT lpRect);
    LRESULT OnIdleUpdate(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
