// qx/mditabs.h - document tabs over the MDI client: one tab per visible MDI
// child, kept in step with the children; a click activates the document. The
// client window of the frame is subclassed. Without tab groups the strip is
// a window of its own at the side the tab paint manager's position names.
// With tab groups the documents are split into several groups, side by side
// or one above another; the client draws each group's strip, the splitters
// between them and a frame around them itself, and the workspace commands
// move documents between groups.
#pragma once

#include <qx/dragcontext.h>
#include <qx/tabpaint.h>

#include <qxresource.h>

class CQXPToolTipContext;
class CQXPThemePainter;
class COleDropTarget;

class CMDIFrameWnd;
class CQXPTabClientWnd;

// Questions to MDI children and notifications to the frame.
#define WM_TABCLIENT_GETICON 0x2860
#define WM_TABCLIENT_MOUSENOTIFY 0x2868
#define WM_TABCLIENT_GETCAPTION 0x2869
#define WM_TABCLIENT_GETTOOLTIP 0x286B
#define WM_TABCLIENT_ITEMCREATED 0x286C
#define WM_TABCLIENT_GETCOLOR 0x28B9

// A frame skin learns of the tabs through two registered messages:
// "WM_SKINFRAMEWORK_UPDATESTATE" reaches the MDI client when the tabs are
// attached and when they are detached; "WM_SKINFRAMEWORK_QUERYSTATE" sent to
// it answers 1 while tab groups lie over it.

// Workspace commands (handled by the client while tab groups are on).
#define ID_WORKSPACE_MOVEPREVIOUS QX_ID_WORKSPACE_MOVEPREVIOUS
#define ID_WORKSPACE_MOVENEXT QX_ID_WORKSPACE_MOVENEXT
#define ID_WORKSPACE_NEWHORIZONTAL QX_ID_WORKSPACE_NEWHORIZONTAL
#define ID_WORKSPACE_NEWVERTICAL QX_ID_WORKSPACE_NEWVERTICAL

// One strip of document tabs (one tab group). The strip has no window of
// its own: its owner window draws it and hands it the mouse. With tab groups
// that is the MDI client itself, which draws every group's strip, the
// splitters between the groups and a frame around them; without groups the
// one strip lies in a CQXPTabWorkspaceWnd beside the client; a command bar
// may host it too (qx/tabbars.h).
class CQXPTabWorkspace : public CQXPTabManager {
public:
    explicit CQXPTabWorkspace(CQXPTabClientWnd* pClient);
    ~CQXPTabWorkspace() override;

    CQXPTabPainter* GetPaintManager() const override;
    // Invalidates the rectangle in the owner window (nothing while the
    // client holds its redraw back).
    void RedrawControl(LPCRECT lpRect, BOOL bAnimate) override;
    void OnPropertyChanged() override;
    COLORREF GetItemColor(const CQXPTabManagerItem* pItem) const override;
    void OnItemClick(CQXPTabManagerItem* pItem) override;
    // A close button closes its own tab's document, the strip's one the
    // selected document (WM_CLOSE to its window, after an idle update was
    // posted to the client); "Active Files" lists the tabs to choose from.
    void OnNavigateButtonClick(CQXPTabManagerNavigateButton* pButton) override;
    using CQXPTabManager::OnNavigateButtonClick;
    // The document's icon (the client's GetItemIcon).
    DWORD_PTR GetItemImage(const CQXPTabManagerItem* pItem) const override;
    CQXPTabManagerItem* FindItem(HWND hWnd) const;
    // The focus lies in the selected tab's document.
    BOOL IsFocused() const override;
    CString GetItemTooltip(const CQXPTabManagerItem* pItem) const override;
    // While a command bar tracks the mouse (a menu or popup is open) the
    // tabs neither light up nor show tooltips.
    BOOL IsMouseLocked() const override;
    // The paint manager's static frame, only without tab groups (the
    // client frames the groups itself).
    BOOL IsDrawStaticFrame() const override;
    // The tooltip of the tab or button under a point of the owner window
    // (by the client's tooltip mode), for that window's tooltips.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const;
    using CQXPTabManager::OnToolHitTest;
    // With tab groups a tab dragged off its strip goes to another group or
    // starts a new one; inside the strip it reorders as usual.
    void TrackReorder(HWND hWnd, POINT pt, CQXPTabManagerItem* pItem) override;

    // A press of a mouse button on the strip at pt (owner coordinates; a
    // double click's second press counts as a press): the frame may take it
    // (WM_TABCLIENT_MOUSENOTIFY); a left press marks the click pending,
    // brings an inactive group's own document forward, then selects or
    // drags.
    void OnStripMouse(UINT message, POINT pt);

    // A strip drawn by another host is told that its tabs changed: the
    // default does nothing.
    virtual void RepositionOwner() {}
    // The window the strip is drawn in (its items' coordinates are that
    // window's client coordinates): the MDI client.
    virtual HWND GetOwnerObject() const;
    // The client that hosted this strip is going away.
    virtual void OnClientDestroyed() { SetClient(NULL); }
    // Makes the strip a part of the client's tabs (the client's paint
    // manager lays it out); NULL unlinks it.
    void SetClient(CQXPTabClientWnd* pClient);

    CQXPTabClientWnd* m_pClient;
    // Whether the group was last drawn with its document focused.
    BOOL m_bFocusShown = FALSE;
    double m_dSize;    // the group's share of the split length
    RECT m_rcGroup;    // owner coordinates, the whole group of the last layout
    RECT m_rcStrip;    // owner coordinates, the band of the tabs
    RECT m_rcContent;  // MDI client coordinates, where its documents go
    RECT m_rcSplitter; // MDI client coordinates, the bar after it (empty for the last)
};

// The window of the one strip without tab groups: a child of the frame at
// the side the tab paint manager's position names. It draws its strip and
// hands it the mouse. The strip owns its window.
class CQXPTabWorkspaceWnd : public CWnd {
public:
    explicit CQXPTabWorkspaceWnd(CQXPTabWorkspace* pWorkspace) : m_pWorkspace(pWorkspace) {}
    CQXPTabWorkspace* GetWorkspace() const { return m_pWorkspace; }
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;

protected:
    void PostNcDestroy() override {}
    // Hands the current mouse message to the client's tooltips.
    void RelayToToolTip();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    // Presses and double clicks of any button on the strip.
    LRESULT OnStripMouse(WPARAM wParam, LPARAM lParam);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

    CQXPTabWorkspace* m_pWorkspace; // owns this window
};

// The look of the "Active Files" list. A host with command bars shows it as
// their popup bar (qx/tabbars.h); without one a plain popup menu lists the
// tabs.
class CQXPActiveFilesPopup {
public:
    struct Item {
        CString strCaption; // as the tab shows it
        HICON hIcon;        // the document's icon, not owned
    };
    virtual ~CQXPActiveFilesPopup() {}
    // Shows the items with the top-left corner at pt (screen), leaving
    // rcExclude uncovered; the index chosen, -1 for none.
    virtual int Track(CWnd* pOwner, const std::vector<Item>& items, POINT pt, const RECT& rcExclude) = 0;
};

// The look of the menu that a tab dropped among the documents offers: the
// workspace commands that apply, then "C&ancel". A host with command bars
// shows it as their popup bar (qx/tabbars.h); without one a popup menu does.
class CQXPTabGroupPopup {
public:
    virtual ~CQXPTabGroupPopup() {}
    // Shows the popup at pt (screen) for the owner frame; the command
    // chosen, 0 for none.
    virtual UINT Track(CWnd* pOwner, POINT pt) = 0;
};

class CQXPTabClientWnd : public CWnd, public CQXPTabManagerAtom {
public:
    // Also puts the pictures of the new-group commands (bitmap
    // QX_IDB_TAB_GROUPS) into the global image manager under 9157 and 9158.
    CQXPTabClientWnd();
    ~CQXPTabClientWnd() override;

    // Subclasses the frame's MDI client and shows the tabs. FALSE for no
    // frame, a second attach or a client that cannot be subclassed.
    BOOL Attach(CMDIFrameWnd* pFrame, BOOL bEnableGroups = FALSE);
    BOOL Detach();
    BOOL IsAttached() const { return m_hWnd != NULL; }
    // Brings the tabs in step with the children and lays the frame out.
    void Refresh(BOOL bRecalcLayout = TRUE);
    // Brings the tabs in step with the children: nothing while updates are
    // suspended.
    void UpdateContents();
    // A press on a strip (a strip window's, or a bar's tab control): until
    // the next idle update (WM_IDLEUPDATECMDUI) the tabs are not brought in
    // step with the documents, so the strip under the pointer keeps its
    // tabs, captions and places while the click and a double click's
    // second press are handled. Moving a tab between groups suspends the
    // updates until then too.
    void SetClickPending();
    BOOL IsClickPending() const { return m_bClickPending; }
    BOOL IsUpdateSuspended() const { return m_bUpdatesSuspended; }
    CQXPTabPainter* GetPaintManager() { return &m_paintManager; }
    void SetToolTipMode(int nMode) { m_paintManager.m_nToolTipMode = nMode; }
    // The first strip (the only one without groups).
    CQXPTabWorkspace* GetWorkspace() const { return m_arrWorkspaces.empty() ? NULL : m_arrWorkspaces[0]; }
    int GetWorkspaceCount() const { return (int)m_arrWorkspaces.size(); }
    CQXPTabWorkspace* GetWorkspace(int nIndex) const
    {
        return nIndex >= 0 && nIndex < (int)m_arrWorkspaces.size() ? m_arrWorkspaces[nIndex] : NULL;
    }
    CQXPTabWorkspace* GetActiveWorkspace() const { return m_pActiveWorkspace; }
    BOOL IsGroupsEnabled() const { return m_bGroups; }
    CQXPTabManagerItem* FindItem(HWND hWnd) const;
    CQXPTabWorkspace* FindWorkspace(const CQXPTabManagerItem* pItem) const;
    // The tab under a point of the MDI client, over every group's strip
    // (NULL while the tabs are hidden).
    CQXPTabManagerItem* HitTest(POINT ptClient) const;
    // Workspace commands 9155-9158: whether one applies now, and running it.
    BOOL IsWorkspaceCommandEnabled(UINT nID) const;
    void OnWorkspaceCommand(UINT nID);
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Moves a tab into a group (kind 2), or into a new group after the
    // target below it (3) or beside it (4).
    void MoveItem(CQXPTabManagerItem* pItem, CQXPTabWorkspace* pTarget, int nKind);
    // The bar between groups under a point of the client (the index of the
    // group before it), or -1; dragging it shares the two groups' room anew.
    int HitTestSplitter(POINT pt) const;
    void TrackSplitter(int nGroup, POINT pt);
    // Where a tab dropped at a point of the client would go: 0 outside the
    // client, 1 nowhere in particular (the group menu), 2 into *ppTarget,
    // 3 a new group below *ppTarget, 4 a new group beside it.
    int FindDropTarget(POINT ptClient, const CQXPTabManagerItem* pDragged, CQXPTabWorkspace** ppTarget) const;
    // The menu of the workspace commands at a screen point; runs the choice.
    void ShowGroupMenu(POINT ptScreen);
    // The menu in a host's own look instead (not owned; NULL: the menu).
    void SetGroupPopup(CQXPTabGroupPopup* pPopup) { m_pGroupPopup = pPopup; }
    // The area a drop of that kind would fill, outlined while a tab is
    // dragged (screen coordinates): the target's strip (2), the lower (3)
    // or right (4) half of its group; empty for the others.
    RECT GetDropOutline(int nKind, const CQXPTabWorkspace* pTarget) const;
    // A tab dragged out of its strip: the desktop is locked and the drop
    // area outlined in halftone until EndTabDrag takes the outline off and
    // gives the desktop back.
    void BeginTabDrag();
    void ShowDropOutline(const RECT& rcScreen);
    void EndTabDrag();
    DesktopLock m_dragDesktop;
    RECT m_rcDropOutline = {0, 0, 0, 0}; // drawn now (screen), empty for none
    void ShowWorkspace(BOOL bShow);
    // Shows the tabs in a windowless strip another host draws (the command
    // bars' tab workspace control) instead of a strip window of the
    // client's own; the client then makes no strip window any more, also
    // when the strip is unlinked (NULL). The strip is not owned. Tab groups
    // keep to that one strip: no new group is made.
    void SetHostedWorkspace(CQXPTabWorkspace* pWorkspace);
    CQXPTabWorkspace* GetHostedWorkspace() const { return m_pHostedWorkspace; }
    BOOL IsHostedByControl() const { return m_bHostedByControl; }

    // Navigate-button flags: 1 scroll buttons automatic (1|8 hidden; else
    // always shown), 2 close button hidden (else automatic), 4 "Active
    // Files" shown (else hidden), 0x10 a close button on every tab, always
    // shown, 0x20 the same shown on the selected and the hot tab (wins
    // over 0x10).
    void SetFlags(DWORD dwFlags);
    DWORD GetFlags() const { return m_dwFlags; }
    virtual void ApplyFlags(CQXPTabWorkspace* pWorkspace);

    // The paint manager of the frame's command bars: their own one when
    // they have it, else the toolkit's global one. The tabs take its theme
    // and the documents' background.
    CQXPThemePainter* GetCommandBarsPaintManager() const;
    // Follows the command bars' paint-manager theme: the tab appearance,
    // colour set and options of that theme (when it changed since the last
    // call and following is on).
    virtual void SyncTheme();
    BOOL m_bFollowTheme;

    // Where a new document's tab goes: 0 at the end, 1 first, 2 after the
    // selected tab.
    int m_nNewTabPosition;
    // The documents' background filled by the command bars' paint manager
    // (COLOR_APPWORKSPACE without one), else the MDI client's own.
    BOOL m_bCustomBackground;
    // FALSE: closing the active document activates the tab to its right
    // (else to its left) instead of what the MDI client picks.
    BOOL m_bKeepActivationOnClose;
    // Strips are laid out right to left (as they are anyway when the frame
    // is); read when a strip is made.
    BOOL m_bRightToLeft = FALSE;

    // A document's caption: its answer to WM_TABCLIENT_GETCAPTION, else the
    // title of its active document, else its window text.
    virtual CString GetItemText(HWND hWnd) const;
    // The document's icon: its answer to WM_TABCLIENT_GETICON, else its small
    // then big window icon, its class's small then big icon, else the
    // system's window logo.
    virtual HICON GetItemIcon(const CQXPTabManagerItem* pItem) const;
    // The list of a strip's tabs under its "Active Files" button: the chosen
    // tab's document comes forward.
    virtual void ShowActiveFiles(CQXPTabWorkspace* pWorkspace, CQXPTabManagerNavigateButton* pButton);
    // Picks a tab of the list (index into the strip's items, -1 none); the
    // default tracks a popup menu at the point, leaving rcExclude (screen)
    // uncovered.
    virtual int TrackActiveFilesMenu(HMENU hMenu, POINT ptScreen, const RECT& rcExclude);
    // The list in a host's own look instead (not owned; NULL: the menu).
    void SetActiveFilesPopup(CQXPActiveFilesPopup* pPopup) { m_pActiveFilesPopup = pPopup; }
    CQXPActiveFilesPopup* GetActiveFilesPopup() const { return m_pActiveFilesPopup; }
    // The item's own tooltip, else the document's answer to
    // WM_TABCLIENT_GETTOOLTIP, else the full path of its active document,
    // else the caption.
    virtual CString GetItemTooltip(const CQXPTabManagerItem* pItem) const;
    CQXPToolTipContext* GetToolTipContext() const { return m_pToolTipContext; }
    virtual COLORREF GetItemColor(const CQXPTabManagerItem* pItem) const;

    void OnPropertyChanged() override;
    // The frame's layout: the strip takes its band, the MDI client the rest.
    void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;
    // The tooltip of the tab under a point of the client (tab groups): none
    // while a command bar tracks, the tabs are hidden or there are no
    // groups; else the group whose strip holds the point answers.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
    // While data is dragged over a tab, that tab's document comes forward.
    // One target: on the client with groups, else on the strip's window.
    COleDropTarget* GetDropTarget() const { return m_pDropTarget; }
    // The strips neither invalidate nor lay out while the client rebuilds
    // its tabs.
    BOOL IsRedrawLocked() const { return m_bLockRedraw; }
    // The group whose strip band holds a point of the client, or NULL.
    CQXPTabWorkspace* HitTestWorkspace(POINT ptClient) const;

    CMDIFrameWnd* m_pFrame;
    CQXPActiveFilesPopup* m_pActiveFilesPopup = NULL; // not owned
    CQXPTabGroupPopup* m_pGroupPopup = NULL;          // not owned
    BOOL m_bShowTabs;

protected:
    void PostNcDestroy() override {}
    void RecalcFrame();

    CQXPTabWorkspace* AddWorkspace(int nIndex);
    // A new strip: the hosted one when a control hosts the tabs (none while
    // it has none), a windowless one with tab groups, else one in a
    // CQXPTabWorkspaceWnd.
    virtual CQXPTabWorkspace* CreateWorkspace();
    // The documents' background (the command bars' workspace fill with the
    // custom background, COLOR_APPWORKSPACE without command bars).
    virtual void DrawBackground(CDC* pDC, const RECT& rc);
    // The client's face: without groups its background; with groups every
    // group's strip the clip box meets, then the splitters between them.
    virtual void DrawWorkspaces(CDC* pDC, const RECT& rc);
    // The frame drawn around the groups in the client's non-client area,
    // inside rcWindow (window coordinates); bDraw FALSE only deflates it.
    void DrawClientFrame(CDC* pDC, RECT& rcWindow, BOOL bDraw) const;
    void RemoveWorkspace(CQXPTabWorkspace* pWorkspace);
    void LayoutGroups(const RECT& rc);
    // Registers the drop target on the client (groups) or the strip window.
    void RegisterDropTarget();
    void SetActiveWorkspace(CQXPTabWorkspace* pWorkspace);

    CQXPTabPainter m_paintManager;
    std::vector<CQXPTabWorkspace*> m_arrWorkspaces;
    CQXPTabWorkspace* m_pActiveWorkspace;
    BOOL m_bGroups;
    CQXPTabWorkspace* m_pHostedWorkspace = NULL; // not owned
    BOOL m_bHostedByControl = FALSE;

public:
    BOOL m_bGroupsStacked; // groups one above another (else side by side)
    int m_nSplitterWidth;
    BOOL m_bTrackerMode; // group splitters dragged as an outline (else live)

protected:
    BOOL m_bClickPending = FALSE;
    BOOL m_bUpdatesSuspended = FALSE;
    BOOL m_bUpdating;
    BOOL m_bRefreshing;
    BOOL m_bLockRedraw;
    BOOL m_bInLayout;
    DWORD m_dwFlags;
    int m_nAppliedTheme;
    CQXPToolTipContext* m_pToolTipContext;

    LRESULT OnMDIChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnMDICreate(WPARAM wParam, LPARAM lParam);
    // Takes caption, sizing frame, boxes and client edge off a document.
    static void StripChildFrame(HWND hChild);
    // Without groups the documents switch with the client's drawing off,
    // then the client is drawn once, whole.
    LRESULT OnMDIActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnMDIDestroy(WPARAM wParam, LPARAM lParam);
    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnSysColorChange();
    BOOL OnEraseBkgnd(CDC* pDC);
    LRESULT OnMDIArrange(WPARAM wParam, LPARAM lParam);
    // The command bars were redrawn (a new theme or setting): Refresh(TRUE).
    LRESULT OnRefreshTabClient(WPARAM wParam, LPARAM lParam);
    // A frame skin asks whether tab groups lie over the MDI client: 1 while
    // they do.
    LRESULT OnQuerySkinState(WPARAM wParam, LPARAM lParam);
    // With tab groups the client draws the strips and takes their mouse.
    void OnPaint();
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    void OnNcPaint();
    BOOL OnNcActivate(BOOL bActive);
    LRESULT OnGroupMouse(WPARAM wParam, LPARAM lParam);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnMouseLeave();
    // Hands the current mouse message to the tooltips (with groups).
    void RelayToToolTip();
    // Each group hovers at a point of the client ((-1, -1): none).
    void TrackMouseAll(POINT pt);
    // The client's size changed or the groups changed: every group in its
    // place inside the client area.
    void LayoutGroups();
    COleDropTarget* m_pDropTarget;
    DECLARE_MESSAGE_MAP()
};
