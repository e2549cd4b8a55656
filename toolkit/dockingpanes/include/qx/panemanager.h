// qx/panemanager.h - the docking-pane manager: gives a frame dockable tool
// panes. It owns the live layout, creates every pane and container through
// one factory, moves panes between their states and reports each step to its
// owner with WM_DOCKINGPANE_NOTIFY.
#pragma once

#include <qx/dockingpane.h>
#include <qx/panelayout.h>

class CQXPDockingPaneTabbedContainer;
class CDockingPanePaintManager;
class CImageList;
class CQXPToolTipContext;
class CQXPDockingPaneMiniWnd;
class CDockingDragContext;

#define WM_DOCKINGPANE_NOTIFY 0x2AAD

// wParam values of WM_DOCKINGPANE_NOTIFY.
#define DOCKINGPANE_SHOWWINDOW 1
#define DOCKINGPANE_AUTOHIDE_RCLICK 2
#define DOCKINGPANE_PANECLOSING 3
#define DOCKINGPANE_ACTION 4
// The Menu caption button was pressed: lParam is a DockingPaneMenuRequest*.
#define DOCKINGPANE_CAPTIONMENU 5
// The right mouse button went down on a tabbed container: lParam is the
// container as a CPaneBase* (its pane under the mouse is selected first).
#define DOCKINGPANE_CONTAINER_RCLICK 6

// Action codes of the action record.
enum DockingPaneAction {
    paneActionFloating = 0,
    paneActionFloated = 1,
    paneActionClosing = 2,
    paneActionClosed = 3,
    paneActionDocking = 4,
    paneActionDocked = 5,
    paneActionAttachingTab = 6,
    paneActionAttachedTab = 7,
    paneActionAttaching = 8,
    paneActionAttached = 9,
    paneActionActivated = 14,
    paneActionDeactivated = 15,
    paneActionHiding = 18,
    paneActionHidden = 19,
    paneActionDetaching = 16,
    paneActionDragStart = 17,
};

// lParam of DOCKINGPANE_CAPTIONMENU: the selected pane and the bottom-left
// corner of the pressed button on the screen, where a menu goes.
struct DockingPaneMenuRequest {
    CQXPDockingPane* pPane;
    POINT ptScreen;
};

// lParam of DOCKINGPANE_ACTION; the owner may set bCancel.
struct DockingPaneAction_t {
    int action;
    BOOL bCancel;
    CQXPDockingPane* pPane;
    CPaneBase* pContainer;
    void* pExtra;
    int nDirection; // of a docking action, else -1
};

// Accessibility: one property page named "QXPDockingPaneManager" whose
// children are the panes of the live layout in layout order.
class CQXPDockingPaneManager : public CWnd, public CQXPAccessibleBase {
public:
    CQXPDockingPaneManager();
    ~CQXPDockingPaneManager() override;

    virtual DockingLayoutStore* CreateLayout();
    virtual LRESULT Notify(WPARAM wParam, LPARAM lParam);
    virtual CPaneBase* CreatePaneObject(int nType, DockingLayoutStore* pLayout);

    // Installs the manager on its frame (adds WS_CLIPCHILDREN|WS_CLIPSIBLINGS
    // with bClipChildren). FALSE when already installed or no window.
    BOOL InstallDockingPanes(CWnd* pSite, BOOL bClipChildren = TRUE);
    BOOL InstallDockingPanes(HWND hSite, BOOL bClipChildren = TRUE);
    CQXPDockingPane* CreatePane(int nID, const RECT& rc, int nDirection, CPaneBase* pNeighbour = NULL);
    CQXPDockingPane* FindPane(int nID) const;
    void DockPane(CPaneBase* pPane, int nDirection, CPaneBase* pNeighbour = NULL);
    void AttachPane(CPaneBase* pPane, CPaneBase* pNeighbour);
    void ClosePane(CQXPDockingPane* pPane);
    void DestroyPane(CQXPDockingPane* pPane);
    void SelectPane(CQXPDockingPane* pPane, BOOL bSetFocus = TRUE);
    void ShowPane(CQXPDockingPane* pPane, BOOL bSetFocus = TRUE) { SelectPane(pPane, bSetFocus); }
    // Auto-hides the pane (with the hide-group flag its whole tabbed
    // container); on a pane already hidden, slides its window back in.
    void HidePane(CQXPDockingPane* pPane);
    // Docks an auto-hidden group (or a pane's group) again on the side of its
    // panel, unless the owner refuses; TRUE when it moved.
    BOOL DockAutoHidden(CPaneBase* pObject);
    // A derived manager may follow activation here.
    virtual void SetActivePane(HWND hWnd, CQXPDockingPane* pPane);
    CQXPDockingPane* GetActivePane() const { return m_pActivePane; }
    int NotifyAction(int nAction, CQXPDockingPane* pPane, CPaneBase* pContainer = NULL, void* pExtra = NULL,
                     int nDirection = -1);
    void RecalcFrameLayout(CPaneBase* pPane = NULL, BOOL bDelay = FALSE);
    void RedrawPanes();
    // Containers and floating frames follow the focus window (active
    // caption, active pane).
    void UpdateFocus();
    // The focus check of idle time: UpdateFocus when the focus window is
    // another than at the last check.
    void CheckFocus();
    // The next focus check redraws the captions whatever the focus is.
    void ForgetFocus() { m_hLastFocus = FocusUnknown(); }
    // Set once the frame's WM_INITIALUPDATE reached the manager.
    BOOL IsInitialUpdateDone() const { return m_bInitialUpdateDone; }
    // Keyboard cycling (SC_NEXTWINDOW / SC_PREVWINDOW): selects, with the
    // focus, the next pane after the active one that takes part in cycling;
    // returns it (NULL when there is none).
    CQXPDockingPane* CyclePanes(BOOL bNext);
    // The keyboard's Move popup of a pane (Alt+minus): one "Move" item at the
    // top-left corner of the pane's caption. Returns the command chosen (0
    // when the popup was dismissed); SC_MOVE hands the container to
    // OnMoveContainer.
    UINT ShowMovePopup(CQXPDockingPane* pPane);
    // Moving a container with the keyboard: a drag that the arrow keys move
    // and Enter ends.
    virtual void OnMoveContainer(CPaneBase* pContainer);
    CString m_strMove; // the Move text of the site's system menu
    void SetTheme(int nTheme);
    int GetCurrentTheme() const;
    BOOL SetIcons(UINT nIDBitmap, const int* pIDs, int nCount, COLORREF clrMask);
    void SetIcon(int nID, HICON hIcon);
    HICON GetIcon(int nID) const;
    // A pane's icon: by its icon id when it has one, else by its id.
    HICON GetPaneIcon(const CQXPDockingPane* pPane) const
    {
        return pPane ? GetIcon(pPane->GetIconID() > 0 ? pPane->GetIconID() : pPane->GetID()) : NULL;
    }
    // Floating and drag docking.
    CQXPDockingPaneMiniWnd* FloatPane(CPaneBase* pObject, const RECT& rcScreen);
    // Docks an object that is placed already (taken out of its place first).
    void MoveAndDockPane(CPaneBase* pObject, int nDirection, CPaneBase* pNeighbour);
    void BringPaneToFront(CPaneBase* pObject);
    // A pane between its floating and docked homes (into the target when
    // given); FALSE when refused.
    BOOL ToggleDocking(CQXPDockingPane* pPane, CPaneBase* pTarget);
    // Every pane of an object between its homes, groups kept together.
    void ToggleDockingGroup(CPaneBase* pObject);
    // The screen rectangle an object would take docked beside a neighbour
    // (the top container when NULL).
    RECT CalcDockingRect(CPaneBase* pObject, int nDirection, CPaneBase* pNeighbour);
    BOOL IsLayoutRTL() const;
    // Visible floating frames that lie below the site (a frame made before
    // its site was shown) come above it.
    void RaiseFloatingFrames();
    int MirrorDirection(int nDirection) const;
    CDockingDragContext* GetDragContext() const { return m_pDragContext; }
    void GetLayout(DockingLayoutStore* pLayout) const;
    void SetLayout(const DockingLayoutStore* pLayout);
    int GetPaneDirection(const CPaneBase* pPane) const;
    // Lays the live layout out in the rectangle (site client coordinates);
    // what the frame's WM_SIZEPARENT pass does.
    void LayoutInRect(RECT& rect, HDWP hDWP);

    DockingLayoutStore* GetLayout() const { return m_pLayout; }
    CDockingPanePaintManager* GetPaintManager() const { return m_pPaintManager; }
    // The tooltips of the caption buttons and tabs of every container.
    CQXPToolTipContext* GetToolTipContext() const { return m_pToolTipContext; }
    HWND GetSite() const { return m_hSite; }
    std::vector<CQXPDockingPane*> GetPaneList() const;

    BOOL m_bHideGroup;
    DWORD m_dwDefaultPaneOptions;
    int m_nClientMargin;
    BOOL m_bHideClient;
    BOOL m_bLockSplitters;
    BOOL m_bAllowMaximize;
    BOOL m_bCloseGroupOnButtonClick;
    BOOL m_bLayoutCreated;
    SIZE m_szClientMin;
    int m_nSplitterGap; // smallest pane size beside a dragged splitter
    HWND m_hOwner;      // receives notifications instead of the site
    BOOL m_bTheme9;     // set while theme 9 is chosen
    // Whether captions offer the Auto Hide button (on by default).
    BOOL m_bShowAutoHideButton;
    // Slide-out windows: the inner edge is dragged as an outline (else the
    // window follows live); no-resize keeps the edge fixed; manual timers
    // are only recorded, never started (tests tick them).
    BOOL m_bOutlineTracking;
    // Splitter bars are dragged as an outline (else the panes follow live).
    BOOL m_bSplitterTracking;
    BOOL m_bNoResize;
    BOOL m_bManualTimers;
    // Which captions run down the container's left side: 0 none, 2 those
    // of containers docked at the top or bottom, 3 those of containers
    // wider than high, any other value all.
    int m_nCaptionDirection = 0;
    // Dragging: a translucent preview (when the system has layered windows)
    // and the docking guides with it (style 0 or 1); the panes float at
    // once while dragged; the size-all cursor while dragging.
    BOOL m_bAlphaDockingContext;
    BOOL m_bShowDockingGuides;
    int m_nDockingGuideStyle;
    BOOL m_bShowContentsWhileDragging;
    BOOL m_bDragCursor;
    // Floating frames: snapping (distance in pixels), drawn by the theme,
    // active together with the site, translucency when inactive (255:
    // opaque), the title of a frame that holds several containers.
    BOOL m_bSnapFloatingFrames;
    int m_nSnapDistance;
    BOOL m_bThemedFloatingFrames;
    BOOL m_bSyncActiveFloatingFrames;
    int m_nFloatingFrameAlpha;
    CString m_strFloatingFrameTitle;
    BOOL m_bDockingInProgress; // ToggleDocking moves a pane into a container

    HRESULT get_accChildCount(long* pcountChildren) override;
    HRESULT get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT get_accName(VARIANT varChild, BSTR* pszName) override;
    HRESULT get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT get_accState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;

protected:
    void PostNcDestroy() override {}
    void InsertBeside(CPaneBase* pObject, BOOL bHoriz, BOOL bAfter, CPaneBase* pNeighbour);
    // DockPane's work; a neighbour inside a floating frame keeps the object
    // in that frame only with bInFloatingFrame (a drop beside a floating
    // container).
    void DockBeside(CPaneBase* pObject, int nDirection, CPaneBase* pNeighbour, BOOL bInFloatingFrame);
    // A closed pane goes back into its last holder: a tabbed container takes
    // it as a tab; a splitter, a floating frame's splitter or an auto-hide
    // panel takes it in a new tabbed container. FALSE when it has no such
    // holder.
    BOOL ReturnToLastHolder(CQXPDockingPane* pPane);
    // Takes a pane or container out of its place.
    void MoveOut(CPaneBase* pObject);

    HWND m_hSite;
    DockingLayoutStore* m_pLayout;
    CDockingPanePaintManager* m_pPaintManager;
    CQXPDockingPane* m_pActivePane;
    std::vector<std::pair<int, HICON>> m_icons;
    CQXPToolTipContext* m_pToolTipContext;
    CDockingDragContext* m_pDragContext;
    // The focus window at the last focus check (FocusUnknown(): none seen).
    static HWND FocusUnknown() { return (HWND)(LONG_PTR)-1; }
    HWND m_hLastFocus = FocusUnknown();
    BOOL m_bInitialUpdateDone = FALSE;
    // OleInitialize succeeded in the constructor: the destructor balances it.
    BOOL m_bOleInitialized = FALSE;

    // The paint manager's metrics again and every pane redrawn (system
    // colours or settings changed).
    void RefreshLook();
    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    LRESULT OnInitialUpdate(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnSysColorChange();
    void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    DECLARE_MESSAGE_MAP()
};
