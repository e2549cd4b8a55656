// qx/dragcontext.h - dragging docking panes: the drag context that follows
// the mouse while a caption, a tab or a floating frame is dragged (or the
// keyboard moves a container), decides where the panes would go, shows it
// and carries the move out; and the docking guides it shows in guide mode.
//
// The decisions are window-free where they can be: the edge picked by
// CanDock, the rules of FindTarget over a scene of candidates, snapping, the
// on-screen rule of Move and the guides' geometry are plain functions or
// virtuals over plain data, so tables test them without windows.
#pragma once

#include <qx/panetree.h>

#include <map>
#include <vector>

class CQXPDockingPaneTabbedContainer;
class CDockingDragContext;

// ---------------------------------------------------------------------------
// Docking guides.

// Flags of a guide window: the buttons it offers, and whether it is the
// compass over a container (else one of the four guides at the layout's
// edges).
enum DockingGuideFlags {
    guideLeft = 1,
    guideRight = 2,
    guideTop = 4,
    guideBottom = 8,
    guideCentre = 16,
    guideCross = 32,
};

// One picture of a guide: drawn from the bitmap's source rectangle with its
// top-left corner at the offset (green transparent).
struct DockingGuidePart {
    UINT nBitmap;
    POINT ptOffset;
    RECT rcSource;
};

namespace DockingGuides {
// The compass's side: 93 pixels in style 0, 89 in style 1.
int CrossSize(int nStyle);
// The compass centred on a host rectangle.
RECT CrossRect(const RECT& rcHost, int nStyle);
// An edge guide (one of guideLeft..guideBottom) inside the layout's top
// container rectangle.
RECT OuterRect(const RECT& rcTop, int nFlag, int nStyle);
// The part drawn for one button (guideLeft..guideCentre) of a compass
// (bCross) or an edge guide, normal or hot. nScheme picks the style 0
// bitmap (2 olive, 3 silver, others the default). FALSE for no part.
BOOL GetPart(int nStyle, BOOL bCross, int nFlag, BOOL bHot, int nScheme, DockingGuidePart* pPart);
// The compass's backdrop (style 1 has a hot one for the centre button).
BOOL GetBackground(int nStyle, BOOL bHot, DockingGuidePart* pPart);
// The size of a guide window.
SIZE GuideSize(int nFlags, int nStyle);
// Draws a guide (flags, highlighted button) at 0, 0 of the DC.
void Draw(HDC hDC, int nFlags, int nHot, int nStyle, int nScheme);
// The button (flag) under a point of the guide's client area, 0 for none:
// the parts are drawn one at a time into a black bitmap and the first that
// leaves a non-black pixel under the point wins.
int HitTest(int nFlags, int nStyle, POINT ptClient);
// The union of the non-black runs of the guide drawn on black, row by row.
HRGN BuildRegion(int nFlags, int nStyle, int nScheme);
} // namespace DockingGuides

// Regions of the guide windows, built once per flag combination until
// emptied (the end of every drag that showed guides).
class DockingGuideRegionCache {
public:
    ~DockingGuideRegionCache() { Clear(); }
    // The cached region of the flags, built by BuildRegion when missing.
    // The cache keeps it: callers copy it.
    HRGN Lookup(int nFlags, int nStyle, int nScheme);
    void Clear();
    int GetCount() const { return (int)m_regions.size(); }
    int m_nBuilt = 0; // regions built since construction

private:
    std::map<int, HRGN> m_regions;
};

// One guide popup window (a compass or an edge guide).
class CDockingGuideWnd : public CWnd {
public:
    CDockingGuideWnd(CDockingDragContext* pContext, int nFlags);

    // Creates and shows the window at the rectangle (no activation, no
    // z-order change); FALSE for flags 0 or only guideCross.
    BOOL Create(const RECT& rcScreen);
    int GetFlags() const { return m_nFlags; }
    int GetHot() const { return m_nHot; }
    // Highlights a button (0 none); TRUE when it changed (then redrawn).
    BOOL SetHot(int nHot);
    // The button under a screen point, 0 for none.
    int HitTest(POINT ptScreen) const;

    CDockingDragContext* m_pContext;
    int m_nFlags;
    int m_nHot;

protected:
    void PostNcDestroy() override { delete this; }
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------------------
// What FindTarget looks at: the tabbed containers that could take the
// panes, and the layout's client and top containers, in screen
// coordinates. Built from the windows by CollectScene; tests build it.
struct DockingDragCandidate {
    CPaneBase* pContainer = NULL;  // a tabbed container inside a splitter
    RECT rcWindow = {0, 0, 0, 0};  // its screen rectangle
    RECT rcCaption = {0, 0, 0, 0}; // the bands that attach as a tab: the
    RECT rcTabs = {0, 0, 0, 0};    // caption and the tab strip (screen)
    BOOL bFloating = FALSE;        // its site is a floating frame
    BOOL bNoDocking = FALSE;       // a pane of it forbids docking (option 0x20)
    int nZOrder = 0;               // higher is nearer the top
};

struct DockingDragScene {
    std::vector<DockingDragCandidate> candidates; // visible, not dragged
    CPaneBase* pClient = NULL;
    RECT rcClient = {0, 0, 0, 0};
    CPaneBase* pTop = NULL;
    RECT rcTop = {0, 0, 0, 0};
};

// ---------------------------------------------------------------------------
// The desktop held while a drag draws its halftone outline over every
// window: pending paints done, window updates locked, a DC on the desktop's
// window area. Whoever takes it gives it back on every way out of the drag.
struct DesktopLock {
    HDC hDC = NULL;
    BOOL bLocked = FALSE;
    void Take();
    void Release();
    // Inverts a region of the desktop with the halftone pattern (inverted
    // twice it is gone); nothing without the DC.
    void Invert(HRGN hRgn) const;
    // Paints what waits to be painted (before the desktop is locked, and
    // while it is: the outline is drawn over finished windows).
    static void DispatchPaint();
};

// ---------------------------------------------------------------------------
class CDockingDragContext {
public:
    explicit CDockingDragContext(CQXPDockingPaneManager* pManager);
    virtual ~CDockingDragContext();
    CDockingDragContext(const CDockingDragContext&) = delete;
    CDockingDragContext& operator=(const CDockingDragContext&) = delete;

    // Starts a drag of the object at a screen point; (-1, -1) is a drag by
    // the keyboard.
    virtual void Drag(CPaneBase* pObject, int x, int y);
    // A floating frame is being sized (WM_SIZING's edge code and rectangle).
    virtual void SnapSizingRect(HWND hFrame, int nEdge, RECT* pRect);
    virtual void Track();
    virtual void Move(int x, int y);
    virtual void BeginDrag();
    virtual void EndDrag();
    virtual void DrawDragRect(BOOL bRemove);
    virtual void FindTarget(int x, int y);
    virtual void SnapMovingRect(RECT* pRect);

    // --- the window-free rules --------------------------------------------
    // The edge of the rectangle that a point picks (0 left, 1 right, 2 top,
    // 3 bottom), -1 for none. Inside: the point lies in the rectangle and
    // the edge counts from the inner side; outside: up to 20 pixels outside
    // it. Without floating, an inside test always picks the nearest edge and
    // weighs the side edges by height / width.
    static int PickDockEdge(const RECT& rc, POINT pt, BOOL bInside, BOOL bMayFloat);
    // Move's rule: the unclamped copy follows the mouse and becomes the drag
    // rectangle while it still meets the work area; the drag rectangle then
    // keeps 10 pixels of itself on the work area.
    static void MoveDragRect(RECT* pDrag, RECT* pCopy, int dx, int dy, const RECT& rcWork);
    // A rectangle above the work area's top is moved down onto it.
    static void KeepBelowWorkAreaTop(RECT* pRect, const RECT& rcWork);
    // Snapping against the work area and other windows, d pixels.
    static void SnapMoving(RECT* pRect, const RECT* pWork, const std::vector<RECT>& others, int d);
    static void SnapSizing(RECT* pRect, int nEdge, const std::vector<RECT>& others, int d);

    // CanDock: the docking notification for the picked edge must pass; then
    // the target is the container and the preview its docking rectangle.
    BOOL CanDock(const RECT& rc, POINT pt, CPaneBase* pContainer, BOOL bInside);
    // The scene FindTarget works on.
    virtual void CollectScene(DockingDragScene& scene);
    // Whether the owner lets the action (4 docking in a direction, 6
    // attaching) happen for the dragged panes.
    virtual BOOL AllowAction(int nAction, CPaneBase* pTarget, int nDirection);
    // The rectangle the dragged object would take docked beside a target.
    virtual RECT CalcDockingRect(int nDirection, CPaneBase* pTarget);
    // The work area of the monitor of a rectangle.
    virtual RECT GetWorkArea(const RECT& rc) const;
    // The guides' style and the colour scheme of their pictures.
    int GetGuideStyle() const;
    int GetGuideScheme() const;

    // The guides: rebuilt for the guide host, hit-tested, destroyed.
    void UpdateGuides();
    int HitTestGuides(POINT pt, CDockingGuideWnd** ppGuide);
    void DestroyGuides();
    // The guide window of a flag combination, created from the cache's
    // region; NULL for flags 0 or only guideCross.
    CDockingGuideWnd* CreateGuide(int nFlags, const RECT& rc);

    CQXPDockingPaneManager* m_pManager;
    HWND m_hPreview;
    HWND m_hTabPreview;
    std::vector<CDockingGuideWnd*> m_guides;
    DockingGuideRegionCache m_regions;
    BOOL m_bAlphaMode;
    BOOL m_bGuideMode;
    BOOL m_bKeyboard;
    POINT m_ptLast;
    POINT m_ptStart;
    RECT m_rcDrag;
    RECT m_rcDragCopy;
    CPaneBase* m_pObject;
    BOOL m_bMayFloat;
    BOOL m_bMayDock;
    CPaneBase* m_pTarget;
    RECT m_rcPreview;
    BOOL m_bAttach;
    int m_nDirection;
    CPaneBase* m_pGuideHost;
    RECT m_rcGuideHost;
    BOOL m_bGuideHostSet; // a host rectangle without container (edges only)
    CPaneBase* m_pGuidesBuiltFor;
    BOOL m_bGuidesBuilt;
    RECT m_rcLastDrawn;
    BOOL m_bLastAttach;
    DesktopLock m_desktop;
    BOOL m_bReleasedForFloat;
    BOOL m_bAccepted;
    BOOL m_bMoved;
    typedef BOOL(WINAPI* SetLayeredWindowAttributesFn)(HWND, COLORREF, BYTE, DWORD);
    SetLayeredWindowAttributesFn m_pfnSetLayeredWindowAttributes;

protected:
    void CarryOut();
    // The windows a floating frame snaps to: the site (unless minimized or
    // maximized) and the visible floating frames but one.
    std::vector<RECT> SnapWindows(HWND hExcept) const;
    void ShowPreview(const RECT& rcShape, BOOL bAttach);
};
