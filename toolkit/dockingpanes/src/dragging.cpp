// The drag context: follows a dragged caption, tab or floating frame, shows
// where the panes would go (halftone outline or translucent preview, with
// the docking guides) and carries the move out on release.
#include <qx/dragcontext.h>
#include <qx/dockingpane.h>
#include <qx/miniwnd.h>
#include <qx/panemanager.h>
#include <qx/panepaint.h>
#include <qx/splittercontainer.h>
#include <qx/sysutil.h>
#include <qx/tabbedcontainer.h>
#include <qx/tabpaint.h>

#include <cstdlib>

namespace {

int Width(const RECT& rc) { return rc.right - rc.left; }
int Height(const RECT& rc) { return rc.bottom - rc.top; }

BOOL SameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

// The panes under an object, in order.
std::vector<CQXPDockingPane*> PanesOf(CPaneBase* pObject)
{
    std::vector<CQXPDockingPane*> panes;
    if (!pObject)
        return panes;
    PaneObjectList list;
    pObject->FindPane(paneTypeDockingPane, list);
    for (CPaneBase* p : list)
        panes.push_back(static_cast<CQXPDockingPane*>(p));
    return panes;
}

// The rank of a top-level window in the z-order: higher is nearer the top.
int ZRank(HWND hWnd)
{
    HWND hTop = hWnd ? ::GetAncestor(hWnd, GA_ROOT) : NULL;
    int n = 0;
    for (HWND h = hTop; h; h = ::GetWindow(h, GW_HWNDNEXT))
        ++n;
    return n;
}

const char kPreviewClass[] = "QXPDockingPaneDragPreview";

LRESULT CALLBACK PreviewProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC hDC = ::BeginPaint(hWnd, &ps);
        RECT rc;
        ::GetClientRect(hWnd, &rc);
        ::FillRect(hDC, &rc, ::GetSysColorBrush(COLOR_HIGHLIGHT));
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    if (nMsg == WM_ERASEBKGND)
        return 1;
    if (nMsg == WM_NCHITTEST)
        return HTTRANSPARENT;
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

// The outline region of a shape: its 4-pixel border; an attach shape is
// the outline of a tabbed window (a body and a tab band below it).
HRGN OutlineRegion(const RECT& rc, BOOL bAttach)
{
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    if (::IsRectEmpty(&rc))
        return hRgn;
    auto addFrame = [&](const RECT& r) {
        HRGN hOuter = ::CreateRectRgnIndirect(&r);
        RECT in = r;
        ::InflateRect(&in, -4, -4);
        if (!::IsRectEmpty(&in)) {
            HRGN hInner = ::CreateRectRgnIndirect(&in);
            ::CombineRgn(hOuter, hOuter, hInner, RGN_DIFF);
            ::DeleteObject(hInner);
        }
        ::CombineRgn(hRgn, hRgn, hOuter, RGN_OR);
        ::DeleteObject(hOuter);
    };
    if (!bAttach) {
        addFrame(rc);
        return hRgn;
    }
    int nTab = std::min(Height(rc) / 2, 20);
    RECT body = rc;
    body.bottom -= nTab;
    int cxTab = Width(rc) < 55 + 5 ? Width(rc) : 55;
    int xTab = Width(rc) < 55 + 5 ? rc.left : rc.left + 5;
    RECT tab = {xTab, body.bottom - 4, xTab + cxTab, rc.bottom};
    addFrame(body);
    addFrame(tab);
    // The seam between the body and the tab stays open.
    RECT seam = {tab.left + 4, body.bottom - 4, tab.right - 4, body.bottom};
    if (!::IsRectEmpty(&seam)) {
        HRGN hSeam = ::CreateRectRgnIndirect(&seam);
        ::CombineRgn(hRgn, hRgn, hSeam, RGN_DIFF);
        ::DeleteObject(hSeam);
    }
    return hRgn;
}

} // namespace

// ---------------------------------------------------------------------------
CDockingDragContext::CDockingDragContext(CQXPDockingPaneManager* pManager)
    : m_pManager(pManager), m_hPreview(NULL), m_hTabPreview(NULL), m_bAlphaMode(FALSE), m_bGuideMode(FALSE),
      m_bKeyboard(FALSE), m_ptLast{0, 0}, m_ptStart{0, 0}, m_rcDrag{0, 0, 0, 0}, m_rcDragCopy{0, 0, 0, 0},
      m_pObject(NULL), m_bMayFloat(TRUE), m_bMayDock(TRUE), m_pTarget(NULL), m_rcPreview{0, 0, 0, 0},
      m_bAttach(FALSE), m_nDirection(-1), m_pGuideHost(NULL), m_rcGuideHost{0, 0, 0, 0}, m_bGuideHostSet(FALSE),
      m_pGuidesBuiltFor(NULL), m_bGuidesBuilt(FALSE), m_rcLastDrawn{0, 0, 0, 0}, m_bLastAttach(FALSE),
      m_bReleasedForFloat(FALSE), m_bAccepted(FALSE), m_bMoved(FALSE)
{
    HMODULE hUser = ::GetModuleHandleA("USER32");
    m_pfnSetLayeredWindowAttributes =
        hUser ? (SetLayeredWindowAttributesFn)(void*)::GetProcAddress(hUser, "SetLayeredWindowAttributes") : NULL;
}

CDockingDragContext::~CDockingDragContext()
{
    DestroyGuides();
    if (m_hPreview)
        ::DestroyWindow(m_hPreview);
    if (m_hTabPreview)
        ::DestroyWindow(m_hTabPreview);
    m_regions.Clear();
    m_desktop.Release();
}

int CDockingDragContext::GetGuideStyle() const { return m_pManager && m_pManager->m_nDockingGuideStyle == 1 ? 1 : 0; }

int CDockingDragContext::GetGuideScheme() const
{
    CDockingPanePaintManager* pPaint = m_pManager ? m_pManager->GetPaintManager() : NULL;
    return pPaint ? pPaint->GetColorScheme() : 0;
}

// ---------------------------------------------------------------------------
// The window-free rules.

int CDockingDragContext::PickDockEdge(const RECT& rc, POINT pt, BOOL bInside, BOOL bMayFloat)
{
    double dSensitivity = 20, dRatio = 1;
    int cx = Width(rc), cy = Height(rc);
    if (bInside && !bMayFloat) {
        dSensitivity = 32000;
        if (cx > 1 && cy > 1)
            dRatio = (double)cy / (double)cx;
    }
    if (cx <= 0 || cy <= 0)
        return -1;
    RECT rcTest = rc;
    if (!bInside)
        ::InflateRect(&rcTest, 20, 20);
    if (!::PtInRect(&rcTest, pt))
        return -1;
    struct Edge {
        double d;
        BOOL bInner;
        int nDir;
    } edges[4] = {
        {(double)std::abs(pt.y - rc.top), pt.y >= rc.top, dockTopOf},
        {(double)std::abs(rc.bottom - pt.y), pt.y < rc.bottom, dockBottomOf},
        {std::abs(pt.x - rc.left) * dRatio, pt.x >= rc.left, dockLeftOf},
        {std::abs(rc.right - pt.x) * dRatio, pt.x < rc.right, dockRightOf},
    };
    double dBest = dSensitivity;
    int nDir = -1;
    for (const Edge& e : edges) {
        BOOL bSide = bInside ? e.bInner : !e.bInner;
        if (bSide && e.d < dBest) {
            dBest = e.d;
            nDir = e.nDir;
        }
    }
    return nDir;
}

void CDockingDragContext::MoveDragRect(RECT* pDrag, RECT* pCopy, int dx, int dy, const RECT& rcWork)
{
    ::OffsetRect(pCopy, dx, dy);
    RECT rcMeet;
    if (::IntersectRect(&rcMeet, pCopy, &rcWork))
        *pDrag = *pCopy;
    // Keep 10 pixels of the rectangle on the work area.
    int cx = Width(*pDrag), cy = Height(*pDrag);
    if (pDrag->top > rcWork.bottom - 10)
        pDrag->top = rcWork.bottom - 10, pDrag->bottom = pDrag->top + cy;
    if (pDrag->bottom < rcWork.top + 10)
        pDrag->bottom = rcWork.top + 10, pDrag->top = pDrag->bottom - cy;
    if (pDrag->left > rcWork.right - 10)
        pDrag->left = rcWork.right - 10, pDrag->right = pDrag->left + cx;
    if (pDrag->right < rcWork.left + 10)
        pDrag->right = rcWork.left + 10, pDrag->left = pDrag->right - cx;
}

void CDockingDragContext::KeepBelowWorkAreaTop(RECT* pRect, const RECT& rcWork)
{
    if (pRect->top < rcWork.top)
        ::OffsetRect(pRect, 0, rcWork.top - pRect->top);
}

void CDockingDragContext::SnapMoving(RECT* pRect, const RECT* pWork, const std::vector<RECT>& others, int d)
{
    RECT& rc = *pRect;
    if (pWork) {
        const RECT& w = *pWork;
        if (std::abs(rc.top - w.top) < d)
            ::OffsetRect(&rc, 0, w.top - rc.top);
        if (std::abs(rc.bottom - w.bottom) < d)
            ::OffsetRect(&rc, 0, w.bottom - rc.bottom);
        if (std::abs(rc.right - w.right) < d)
            ::OffsetRect(&rc, w.right - rc.right, 0);
        if (std::abs(rc.left - w.left) < d)
            ::OffsetRect(&rc, w.left - rc.left, 0);
    }
    for (const RECT& o : others) {
        // Only a window the rectangle comes near.
        RECT rcNear = o, rcMeet;
        ::InflateRect(&rcNear, d, d);
        if (!::IntersectRect(&rcMeet, &rcNear, &rc))
            continue;
        if (std::abs(rc.top - o.bottom) < d)
            ::OffsetRect(&rc, 0, o.bottom - rc.top);
        if (std::abs(rc.bottom - o.top) < d)
            ::OffsetRect(&rc, 0, o.top - rc.bottom);
        if (std::abs(rc.right - o.left) < d)
            ::OffsetRect(&rc, o.left - rc.right, 0);
        if (std::abs(rc.left - o.right) < d)
            ::OffsetRect(&rc, o.right - rc.left, 0);
        if (std::abs(rc.left - o.left) < d)
            ::OffsetRect(&rc, o.left - rc.left, 0);
        if (std::abs(rc.right - o.right) < d)
            ::OffsetRect(&rc, o.right - rc.right, 0);
        if (std::abs(rc.bottom - o.bottom) < d)
            ::OffsetRect(&rc, 0, o.bottom - rc.bottom);
        if (std::abs(rc.top - o.top) < d)
            ::OffsetRect(&rc, 0, o.top - rc.top);
    }
}

void CDockingDragContext::SnapSizing(RECT* pRect, int nEdge, const std::vector<RECT>& others, int d)
{
    RECT& rc = *pRect;
    BOOL bTop = nEdge >= WMSZ_TOP && nEdge <= WMSZ_TOPRIGHT;
    BOOL bBottom = nEdge >= WMSZ_BOTTOM && nEdge <= WMSZ_BOTTOMRIGHT;
    BOOL bLeft = nEdge == WMSZ_LEFT || nEdge == WMSZ_TOPLEFT || nEdge == WMSZ_BOTTOMLEFT;
    BOOL bRight = nEdge == WMSZ_RIGHT || nEdge == WMSZ_TOPRIGHT || nEdge == WMSZ_BOTTOMRIGHT;
    for (const RECT& o : others) {
        RECT rcNear = o, rcMeet;
        ::InflateRect(&rcNear, d, d);
        if (!::IntersectRect(&rcMeet, &rcNear, &rc))
            continue;
        if (bTop && std::abs(rc.top - o.bottom) < d)
            rc.top = o.bottom;
        if (bBottom && std::abs(rc.bottom - o.top) < d)
            rc.bottom = o.top;
        if (bLeft && std::abs(rc.left - o.left) < d)
            rc.left = o.left;
        if (bLeft && std::abs(rc.left - o.right) < d)
            rc.left = o.right;
        if (bRight && std::abs(rc.right - o.left) < d)
            rc.right = o.left;
        if (bRight && std::abs(rc.right - o.right) < d)
            rc.right = o.right;
    }
}

// ---------------------------------------------------------------------------
// What the rules ask of the manager and the windows.

BOOL CDockingDragContext::AllowAction(int nAction, CPaneBase* pTarget, int nDirection)
{
    if (!m_pManager)
        return FALSE;
    for (CQXPDockingPane* pPane : PanesOf(m_pObject))
        if (m_pManager->NotifyAction(nAction, pPane, pTarget, NULL, nDirection))
            return FALSE;
    return TRUE;
}

RECT CDockingDragContext::CalcDockingRect(int nDirection, CPaneBase* pTarget)
{
    return m_pManager ? m_pManager->CalcDockingRect(m_pObject, nDirection, pTarget) : RECT{0, 0, 0, 0};
}

RECT CDockingDragContext::GetWorkArea(const RECT& rc) const
{
    CQXPMultiMonitor monitors;
    return monitors.GetWorkAreaNearestRect(&rc);
}

void CDockingDragContext::CollectScene(DockingDragScene& scene)
{
    DockingLayoutStore* pLayout = m_pManager ? m_pManager->GetLayout() : NULL;
    if (!pLayout)
        return;
    CDockingPanePaintManager* pPaint = m_pManager->GetPaintManager();
    for (CPaneBase* p : pLayout->GetObjects()) {
        if (p->GetType() != paneTypeTabbedContainer)
            continue;
        CQXPDockingPaneTabbedContainer* pTab = static_cast<CQXPDockingPaneTabbedContainer*>(p);
        if (!pTab->GetContainer() || pTab->GetContainer()->GetType() != paneTypeSplitterContainer)
            continue;
        if (!pTab->m_hWnd || !::IsWindowVisible(pTab->m_hWnd))
            continue;
        if (m_pObject && m_pObject->ContainsPane(pTab))
            continue;
        DockingDragCandidate c;
        c.pContainer = pTab;
        ::GetWindowRect(pTab->m_hWnd, &c.rcWindow);
        CPaneBase* pRoot = pTab->GetRoot();
        c.bFloating = pRoot && pRoot->GetType() == paneTypeMiniWnd;
        int nCaption = (pPaint ? pPaint->GetCaptionHeight() : 18) + 3;
        if (pTab->IsCaptionVisible()) {
            c.rcCaption = c.rcWindow;
            c.rcCaption.bottom = std::min(c.rcWindow.bottom, c.rcWindow.top + nCaption);
        } else {
            // The band from the top of the window it lives in down to the
            // container: a floating frame's own caption.
            RECT rcSite;
            HWND hSite = pTab->GetDockingSite();
            if (hSite && ::GetWindowRect(hSite, &rcSite) && rcSite.top < c.rcWindow.top)
                c.rcCaption = RECT{c.rcWindow.left, rcSite.top, c.rcWindow.right, c.rcWindow.top};
        }
        if (pTab->IsTabsVisible() && pPaint) {
            c.rcTabs = c.rcWindow;
            c.rcTabs.top = std::max(c.rcWindow.top, c.rcWindow.bottom - pPaint->GetTabStripHeight());
        }
        for (CPaneBase* pPane : pTab->GetPanes())
            if (static_cast<CQXPDockingPane*>(pPane)->GetOptions() & paneNoDockable)
                c.bNoDocking = TRUE;
        c.nZOrder = ZRank(pTab->m_hWnd);
        scene.candidates.push_back(c);
    }
    if (CPaneBase* pClient = pLayout->GetClientContainer()) {
        scene.pClient = pClient;
        pClient->GetWindowRect(&scene.rcClient);
    }
    if (CPaneBase* pTop = pLayout->GetTopContainer()) {
        scene.pTop = pTop;
        pTop->GetWindowRect(&scene.rcTop);
    }
}

BOOL CDockingDragContext::CanDock(const RECT& rc, POINT pt, CPaneBase* pContainer, BOOL bInside)
{
    int nDir = PickDockEdge(rc, pt, bInside, m_bMayFloat);
    if (nDir < 0 || !AllowAction(paneActionDocking, pContainer, nDir))
        return FALSE;
    m_rcPreview = CalcDockingRect(nDir, pContainer);
    m_pTarget = pContainer;
    m_nDirection = nDir;
    return TRUE;
}

void CDockingDragContext::FindTarget(int x, int y)
{
    POINT pt = {x, y};
    DockingDragScene scene;
    CollectScene(scene);

    // 1. The floating container under the point, highest in z-order.
    const DockingDragCandidate* pFloating = NULL;
    for (const DockingDragCandidate& c : scene.candidates)
        if (c.bFloating && ::PtInRect(&c.rcWindow, pt) && (!pFloating || c.nZOrder > pFloating->nZOrder))
            pFloating = &c;

    // 2. The containers: attach on the caption or tab strip, else a guide
    // host or an inside dock.
    int nHostZ = -1;
    for (const DockingDragCandidate& c : scene.candidates) {
        if (c.bNoDocking || (pFloating && &c != pFloating))
            continue;
        m_rcPreview = c.rcWindow;
        if ((::PtInRect(&c.rcCaption, pt) || ::PtInRect(&c.rcTabs, pt)) &&
            AllowAction(paneActionAttachingTab, c.pContainer, -1)) {
            m_pTarget = c.pContainer;
            m_bAttach = TRUE;
            return;
        }
        if (m_bGuideMode) {
            if (::PtInRect(&c.rcWindow, pt) && c.nZOrder > nHostZ) {
                m_pGuideHost = c.pContainer;
                m_rcGuideHost = c.rcWindow;
                nHostZ = c.nZOrder;
            }
        } else if (CanDock(c.rcWindow, pt, c.pContainer, TRUE)) {
            return;
        }
    }
    // 3. No docking at the edges of a floating frame.
    if (pFloating)
        return;
    // 4. The client area and the layout's outer edges.
    if (!m_bGuideMode) {
        if (scene.pClient && CanDock(scene.rcClient, pt, scene.pClient, TRUE))
            return;
        if (scene.pTop)
            CanDock(scene.rcTop, pt, scene.pTop, FALSE);
        return;
    }
    // 5. Guides over the client area, else only the outer guides.
    if (!m_pGuideHost) {
        if (scene.pClient && ::PtInRect(&scene.rcClient, pt)) {
            m_pGuideHost = scene.pClient;
            m_rcGuideHost = scene.rcClient;
        } else if (scene.pTop && ::PtInRect(&scene.rcTop, pt)) {
            m_rcGuideHost = scene.rcTop;
            m_bGuideHostSet = TRUE;
        }
    }
}

// ---------------------------------------------------------------------------
// The drag.

void CDockingDragContext::Drag(CPaneBase* pObject, int x, int y)
{
    if (!pObject || !m_pManager)
        return;
    m_pObject = pObject;
    RECT rcObject;
    pObject->GetWindowRect(&rcObject);
    if (HWND hWnd = pObject->GetPaneHwnd())
        ::GetWindowRect(hWnd, &rcObject);
    else if (pObject->GetType() == paneTypeDockingPane && pObject->GetContainer() &&
             pObject->GetContainer()->GetPaneHwnd())
        ::GetWindowRect(pObject->GetContainer()->GetPaneHwnd(), &rcObject);
    else if (pObject->GetType() == paneTypeSplitterContainer && pObject->GetContainer() &&
             pObject->GetContainer()->GetType() == paneTypeMiniWnd) {
        CQXPDockingPaneMiniWnd* pFrame = static_cast<CQXPDockingPaneMiniWnd*>(pObject->GetContainer());
        if (pFrame->GetPaneHwnd())
            ::GetWindowRect(pFrame->GetPaneHwnd(), &rcObject);
    }
    m_bKeyboard = x == -1 && y == -1;
    if (m_bKeyboard) {
        x = (rcObject.left + rcObject.right) / 2;
        y = rcObject.top + 15;
        ::SetCursorPos(x, y);
    }
    m_ptLast = m_ptStart = POINT{x, y};
    m_rcDrag = rcObject;
    if (x < m_rcDrag.left)
        ::OffsetRect(&m_rcDrag, x - m_rcDrag.left, 0);
    else if (x >= m_rcDrag.right)
        ::OffsetRect(&m_rcDrag, x - m_rcDrag.right + 1, 0);
    if (y < m_rcDrag.top)
        ::OffsetRect(&m_rcDrag, 0, y - m_rcDrag.top);
    else if (y >= m_rcDrag.bottom)
        ::OffsetRect(&m_rcDrag, 0, y - m_rcDrag.bottom + 1);
    m_rcDragCopy = m_rcDrag;

    m_pTarget = NULL;
    m_bAttach = m_bLastAttach = FALSE;
    m_bMayFloat = m_bMayDock = TRUE;
    m_nDirection = -1;
    m_pGuideHost = NULL;
    m_bGuideHostSet = FALSE;
    m_pGuidesBuiltFor = NULL;
    m_bGuidesBuilt = FALSE;
    SetRectEmpty(&m_rcGuideHost);
    m_bReleasedForFloat = FALSE;
    m_bAccepted = m_bMoved = FALSE;

    m_bAlphaMode = m_pManager->m_bAlphaDockingContext && m_pfnSetLayeredWindowAttributes != NULL;
    m_bGuideMode = m_pManager->m_bShowDockingGuides && m_bAlphaMode;

    for (CQXPDockingPane* pPane : PanesOf(pObject)) {
        DWORD dwOptions = pPane->GetOptions();
        if (m_pManager->NotifyAction(paneActionFloating, pPane, NULL) || (dwOptions & paneNoFloatable))
            m_bMayFloat = FALSE;
        if (dwOptions & paneNoDockable)
            m_bMayDock = FALSE;
    }
    if (m_pManager->m_bDragCursor)
        ::SetCursor(::LoadCursor(NULL, IDC_SIZEALL));

    BeginDrag();
    Track();
}

void DesktopLock::DispatchPaint()
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, WM_PAINT, WM_PAINT, PM_NOREMOVE)) {
        if (!::GetMessageA(&msg, NULL, WM_PAINT, WM_PAINT))
            return;
        ::DispatchMessageA(&msg);
    }
}

void DesktopLock::Take()
{
    if (hDC)
        return;
    DispatchPaint();
    HWND hDesktop = ::GetDesktopWindow();
    bLocked = ::LockWindowUpdate(hDesktop);
    hDC = ::GetDCEx(hDesktop, NULL, DCX_WINDOW | DCX_CACHE | (bLocked ? DCX_LOCKWINDOWUPDATE : 0));
}

void DesktopLock::Release()
{
    if (bLocked) {
        ::LockWindowUpdate(NULL);
        bLocked = FALSE;
    }
    if (hDC) {
        ::ReleaseDC(::GetDesktopWindow(), hDC);
        hDC = NULL;
    }
}

void DesktopLock::Invert(HRGN hRgn) const
{
    if (!hDC)
        return;
    ::SelectClipRgn(hDC, hRgn);
    RECT rcBox;
    ::GetClipBox(hDC, &rcBox);
    CBrush* pBrush = CDC::GetHalftoneBrush();
    HGDIOBJ hOldBrush = ::SelectObject(hDC, pBrush ? pBrush->GetSafeHandle() : ::GetStockObject(GRAY_BRUSH));
    ::PatBlt(hDC, rcBox.left, rcBox.top, Width(rcBox), Height(rcBox), PATINVERT);
    ::SelectObject(hDC, hOldBrush);
    ::SelectClipRgn(hDC, NULL);
}

void CDockingDragContext::BeginDrag()
{
    SetRectEmpty(&m_rcLastDrawn);
    m_bLastAttach = FALSE;
    m_pTarget = NULL;
    if (m_bAlphaMode)
        return;
    m_desktop.Take();
}

void CDockingDragContext::Track()
{
    HWND hSite = m_pManager ? m_pManager->GetSite() : NULL;
    // Every way out of the loop ends in EndDrag, which gives the desktop
    // back; a capture held elsewhere ends the drag before it starts.
    if (::GetCapture() != NULL || !hSite) {
        EndDrag();
        m_pObject = NULL;
        return;
    }
    ::SetCapture(hSite);
    while (::GetCapture() == hSite) {
        DesktopLock::DispatchPaint();
        MSG msg;
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (!m_pObject || (m_pObject->GetPaneHwnd() == NULL && m_pObject->GetType() == paneTypeTabbedContainer))
            break; // the dragged container went away
        BOOL bDone = FALSE;
        switch (msg.message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (msg.wParam == VK_ESCAPE) {
                bDone = TRUE;
                break;
            }
            if (msg.wParam == VK_CONTROL) {
                Move(m_ptLast.x, m_ptLast.y);
                break;
            }
            if (m_bKeyboard && msg.message == WM_KEYDOWN) {
                if (msg.wParam == VK_RETURN) {
                    m_bAccepted = TRUE;
                    bDone = TRUE;
                    break;
                }
                int dx = msg.wParam == VK_LEFT ? -10 : msg.wParam == VK_RIGHT ? 10
                                                                              : 0;
                int dy = msg.wParam == VK_UP ? -10 : msg.wParam == VK_DOWN ? 10
                                                                           : 0;
                if (dx || dy) {
                    POINT pt = {m_ptLast.x + dx, m_ptLast.y + dy};
                    RECT rcAt = {m_ptLast.x, m_ptLast.y, m_ptLast.x + 1, m_ptLast.y + 1};
                    RECT rcWork = GetWorkArea(rcAt);
                    pt.x = std::max(rcWork.left, std::min(pt.x, rcWork.right - 1));
                    pt.y = std::max(rcWork.top, std::min(pt.y, rcWork.bottom - 1));
                    ::SetCursorPos(pt.x, pt.y);
                    m_bMoved = TRUE;
                    Move(pt.x, pt.y);
                }
            }
            break;
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_CHAR:
            break;
        case WM_MOUSEMOVE: {
            POINT pt;
            ::GetCursorPos(&pt);
            if (m_bMoved || std::abs(pt.x - m_ptStart.x) > 4 || std::abs(pt.y - m_ptStart.y) > 4) {
                m_bMoved = TRUE;
                m_ptStart = POINT{0, 0};
                Move(pt.x, pt.y);
            }
            break;
        }
        case WM_LBUTTONUP:
            m_bAccepted = TRUE;
            bDone = TRUE;
            break;
        default:
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            break;
        }
        if (bDone)
            break;
    }
    if (::GetCapture() == hSite)
        ::ReleaseCapture();
    EndDrag();
    if (m_bAccepted && m_bMoved)
        CarryOut();
    m_pObject = NULL;
}

void CDockingDragContext::Move(int x, int y)
{
    RECT rcWork = GetWorkArea(m_rcDrag);
    MoveDragRect(&m_rcDrag, &m_rcDragCopy, x - m_ptLast.x, y - m_ptLast.y, rcWork);
    if (m_pManager && m_pManager->m_bSnapFloatingFrames && !::IsRectEmpty(&m_rcDrag))
        SnapMovingRect(&m_rcDrag);
    m_pTarget = NULL;
    m_bAttach = FALSE;
    m_nDirection = -1;
    m_pGuideHost = NULL;
    m_bGuideHostSet = FALSE;
    SetRectEmpty(&m_rcGuideHost);
    if (!(::GetKeyState(VK_CONTROL) & 0x8000) && m_bMayDock)
        FindTarget(x, y);
    m_ptLast = POINT{x, y};
    if (m_bGuideMode) {
        UpdateGuides();
        CDockingGuideWnd* pHit = NULL;
        int nHit = HitTestGuides(m_ptLast, &pHit);
        for (CDockingGuideWnd* g : m_guides)
            g->SetHot(g == pHit ? nHit : 0);
        if (pHit && nHit) {
            BOOL bCross = (pHit->GetFlags() & guideCross) != 0;
            CPaneBase* pTarget = bCross ? m_pGuideHost : (m_pManager->GetLayout() ? m_pManager->GetLayout()->GetTopContainer() : NULL);
            RECT rcTarget = m_rcGuideHost;
            if (!bCross && pTarget)
                pTarget->GetWindowRect(&rcTarget);
            m_pTarget = NULL;
            m_bAttach = FALSE;
            if (nHit == guideCentre) {
                if (pTarget && AllowAction(paneActionAttachingTab, pTarget, -1)) {
                    m_pTarget = pTarget;
                    m_bAttach = TRUE;
                    m_rcPreview = rcTarget;
                }
            } else {
                int nDir = nHit == guideLeft ? dockLeftOf : nHit == guideRight ? dockRightOf
                                                        : nHit == guideTop     ? dockTopOf
                                                                               : dockBottomOf;
                if (AllowAction(paneActionDocking, pTarget, nDir)) {
                    m_pTarget = pTarget ? pTarget : (m_pManager->GetLayout() ? m_pManager->GetLayout()->GetTopContainer() : NULL);
                    m_nDirection = nDir;
                    m_rcPreview = CalcDockingRect(nDir, pTarget);
                }
            }
        }
    }
    DrawDragRect(FALSE);
}

std::vector<RECT> CDockingDragContext::SnapWindows(HWND hExcept) const
{
    std::vector<RECT> others;
    HWND hSite = m_pManager ? m_pManager->GetSite() : NULL;
    if (hSite && !(::GetWindowLongA(hSite, GWL_STYLE) & (WS_MINIMIZE | WS_MAXIMIZE))) {
        RECT rc;
        ::GetWindowRect(hSite, &rc);
        others.push_back(rc);
    }
    if (DockingLayoutStore* pLayout = m_pManager ? m_pManager->GetLayout() : NULL)
        for (CPaneBase* p : pLayout->GetObjects()) {
            HWND hFrame = p->GetType() == paneTypeMiniWnd ? p->GetPaneHwnd() : NULL;
            if (hFrame && hFrame != hExcept && ::IsWindowVisible(hFrame)) {
                RECT rc;
                ::GetWindowRect(hFrame, &rc);
                others.push_back(rc);
            }
        }
    return others;
}

void CDockingDragContext::SnapMovingRect(RECT* pRect)
{
    if (!m_pManager || !pRect)
        return;
    CPaneBase* pOwnFrame = m_pObject ? m_pObject->GetRoot() : NULL;
    HWND hOwn = pOwnFrame && pOwnFrame->GetType() == paneTypeMiniWnd ? pOwnFrame->GetPaneHwnd() : NULL;
    RECT rcWork = GetWorkArea(*pRect);
    SnapMoving(pRect, &rcWork, SnapWindows(hOwn), m_pManager->m_nSnapDistance);
}

void CDockingDragContext::SnapSizingRect(HWND hFrame, int nEdge, RECT* pRect)
{
    if (!m_pManager || !pRect)
        return;
    SnapSizing(pRect, nEdge, SnapWindows(hFrame), m_pManager->m_nSnapDistance);
}

// ---------------------------------------------------------------------------
// Showing the target.

void CDockingDragContext::ShowPreview(const RECT& rcShape, BOOL bAttach)
{
    static BOOL s_registered = FALSE;
    if (!s_registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = PreviewProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
        wc.lpszClassName = kPreviewClass;
        ::RegisterClassA(&wc);
        s_registered = TRUE;
    }
    auto place = [&](HWND& hWnd, const RECT& rc) {
        if (::IsRectEmpty(&rc)) {
            if (hWnd)
                ::ShowWindow(hWnd, SW_HIDE);
            return;
        }
        RECT rcOld = {0, 0, 0, 0};
        if (hWnd)
            ::GetWindowRect(hWnd, &rcOld);
        if (hWnd && (Width(rcOld) != Width(rc) || Height(rcOld) != Height(rc))) {
            ::DestroyWindow(hWnd);
            hWnd = NULL;
        }
        if (!hWnd) {
            hWnd = ::CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kPreviewClass, "", WS_POPUP,
                                     rc.left, rc.top, Width(rc), Height(rc), NULL, NULL, ::GetModuleHandleA(NULL), NULL);
            if (hWnd && m_pfnSetLayeredWindowAttributes)
                m_pfnSetLayeredWindowAttributes(hWnd, 0, 100, LWA_ALPHA);
            // The guides stay above the new preview.
            for (CDockingGuideWnd* g : m_guides)
                if (g->m_hWnd)
                    ::SetWindowPos(g->m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        if (hWnd)
            ::SetWindowPos(hWnd, NULL, rc.left, rc.top, Width(rc), Height(rc),
                           SWP_NOACTIVATE | SWP_NOZORDER | SWP_SHOWWINDOW);
    };
    RECT rcBody = rcShape, rcTab = {0, 0, 0, 0};
    if (bAttach && !::IsRectEmpty(&rcShape)) {
        int cyTab = std::min(Height(rcShape) / 2, 20), cxTab = std::min(Width(rcShape) - 5, 50);
        CDockingPanePaintManager* pPaint = m_pManager ? m_pManager->GetPaintManager() : NULL;
        CQXPDockingPaneTabbedContainer* pTabbed = dynamic_cast<CQXPDockingPaneTabbedContainer*>(m_pTarget);
        if (pPaint && pTabbed && pPaint->GetTabPainter() && pPaint->GetTabPainter()->GetPosition() == tabPositionTop) {
            int yTab = rcShape.top;
            if (pTabbed->IsCaptionVisible())
                yTab += pPaint->GetCaptionHeight() + 3;
            rcTab = RECT{rcShape.left + 5, yTab, rcShape.left + 5 + cxTab, yTab + cyTab};
            rcBody.top = rcTab.bottom;
        } else {
            rcTab = RECT{rcShape.left + 5, rcShape.bottom - cyTab, rcShape.left + 5 + cxTab, rcShape.bottom};
            rcBody.bottom = rcTab.top;
        }
    }
    place(m_hPreview, rcBody);
    place(m_hTabPreview, rcTab);
}

void CDockingDragContext::DrawDragRect(BOOL bRemove)
{
    if (!m_pManager)
        return;
    // Live float: the panes float at once and follow the mouse.
    if (!bRemove && m_pManager->m_bShowContentsWhileDragging && !m_pTarget && !m_bAttach && m_bMayFloat && m_pObject) {
        if (!m_bAlphaMode && !::IsRectEmpty(&m_rcLastDrawn)) {
            HRGN hOld = OutlineRegion(m_rcLastDrawn, m_bLastAttach);
            m_desktop.Invert(hOld);
            ::DeleteObject(hOld);
        }
        SetRectEmpty(&m_rcLastDrawn);
        if (m_bAlphaMode)
            ShowPreview(RECT{0, 0, 0, 0}, FALSE);
        m_desktop.Release();
        m_bReleasedForFloat = TRUE;
        CPaneBase* pParent = m_pObject->GetContainer();
        if (m_pObject->GetType() == paneTypeSplitterContainer && pParent && pParent->GetType() == paneTypeMiniWnd) {
            CQXPDockingPaneMiniWnd* pFrame = static_cast<CQXPDockingPaneMiniWnd*>(pParent);
            RECT rcNow;
            if (pFrame->GetPaneHwnd() && ::GetWindowRect(pFrame->GetPaneHwnd(), &rcNow) && !SameRect(rcNow, m_rcDrag))
                ::SetWindowPos(pFrame->GetPaneHwnd(), NULL, m_rcDrag.left, m_rcDrag.top, Width(m_rcDrag),
                               Height(m_rcDrag), SWP_NOACTIVATE | SWP_NOZORDER);
            return;
        }
        RECT rc = m_rcDrag;
        KeepBelowWorkAreaTop(&rc, GetWorkArea(rc));
        std::vector<CQXPDockingPane*> panes = PanesOf(m_pObject);
        CQXPDockingPaneMiniWnd* pFrame = m_pManager->FloatPane(m_pObject, rc);
        if (pFrame) {
            m_pManager->RecalcFrameLayout(pFrame, FALSE);
            m_pObject = pFrame->GetTopContainer();
            for (CQXPDockingPane* pPane : panes)
                m_pManager->NotifyAction(paneActionFloated, pPane, NULL);
        }
        if (CWinApp* pApp = AfxGetApp())
            pApp->OnIdle(0);
        return;
    }
    if (m_bReleasedForFloat && !m_bAlphaMode) {
        m_bReleasedForFloat = FALSE;
        m_desktop.Take();
    }
    RECT rcShape = {0, 0, 0, 0};
    BOOL bAttach = FALSE;
    if (!bRemove) {
        if (m_pTarget) {
            rcShape = m_rcPreview;
            bAttach = m_bAttach;
        } else if (m_bMayFloat) {
            rcShape = m_rcDrag;
        }
    }
    if (m_bAlphaMode) {
        ShowPreview(rcShape, bAttach);
        m_rcLastDrawn = rcShape;
        m_bLastAttach = bAttach;
        return;
    }
    if (SameRect(rcShape, m_rcLastDrawn) && bAttach == m_bLastAttach)
        return;
    if (m_desktop.hDC) {
        HRGN hOld = OutlineRegion(m_rcLastDrawn, m_bLastAttach);
        HRGN hNew = OutlineRegion(rcShape, bAttach);
        ::CombineRgn(hNew, hNew, hOld, RGN_XOR);
        m_desktop.Invert(hNew);
        ::DeleteObject(hOld);
        ::DeleteObject(hNew);
    }
    m_rcLastDrawn = rcShape;
    m_bLastAttach = bAttach;
}

void CDockingDragContext::EndDrag()
{
    if (::GetCapture() && m_pManager && ::GetCapture() == m_pManager->GetSite())
        ::ReleaseCapture();
    if (m_bAlphaMode) {
        if (m_hPreview)
            ::DestroyWindow(m_hPreview);
        if (m_hTabPreview)
            ::DestroyWindow(m_hTabPreview);
        m_hPreview = m_hTabPreview = NULL;
        DestroyGuides();
        m_regions.Clear();
    } else {
        DrawDragRect(TRUE);
    }
    m_desktop.Release();
}

void CDockingDragContext::CarryOut()
{
    CQXPDockingPaneManager* pManager = m_pManager;
    CPaneBase* pObject = m_pObject;
    if (!pManager || !pObject)
        return;
    std::vector<CQXPDockingPane*> panes = PanesOf(pObject);
    int nAction;
    if (m_bAttach && m_pTarget) {
        pManager->AttachPane(pObject, m_pTarget);
        nAction = paneActionAttachedTab;
    } else if (m_pTarget) {
        pManager->MoveAndDockPane(pObject, pManager->MirrorDirection(m_nDirection), m_pTarget);
        pManager->BringPaneToFront(m_pTarget);
        nAction = paneActionDocked;
    } else {
        if (!m_bMayFloat)
            return;
        RECT rc = m_rcDrag;
        KeepBelowWorkAreaTop(&rc, GetWorkArea(rc));
        CPaneBase* pParent = pObject->GetContainer();
        if (pObject->GetType() == paneTypeSplitterContainer && pParent && pParent->GetType() == paneTypeMiniWnd) {
            CQXPDockingPaneMiniWnd* pFrame = static_cast<CQXPDockingPaneMiniWnd*>(pParent);
            if (pFrame->GetPaneHwnd())
                ::SetWindowPos(pFrame->GetPaneHwnd(), NULL, rc.left, rc.top, Width(rc), Height(rc),
                               SWP_NOACTIVATE | SWP_NOZORDER);
        } else {
            pManager->FloatPane(pObject, rc);
        }
        nAction = paneActionFloated;
    }
    for (CQXPDockingPane* pPane : panes)
        pManager->NotifyAction(nAction, pPane, m_pTarget, NULL, m_nDirection);
    pManager->RecalcFrameLayout(NULL, TRUE);
}

// ---------------------------------------------------------------------------
// The guides of the drag.

void CDockingDragContext::UpdateGuides()
{
    if (::IsRectEmpty(&m_rcGuideHost)) {
        DestroyGuides();
        m_bGuidesBuilt = FALSE;
        m_pGuidesBuiltFor = NULL;
        return;
    }
    int nStyle = GetGuideStyle();
    RECT rcCross = DockingGuides::CrossRect(m_rcGuideHost, nStyle);
    if (m_bGuidesBuilt && m_pGuidesBuiltFor == m_pGuideHost && !m_guides.empty())
        return;
    DestroyGuides();
    DockingLayoutStore* pLayout = m_pManager ? m_pManager->GetLayout() : NULL;
    if (m_pGuideHost) {
        int nFlags = 0;
        const int kDirs[4][2] = {{guideLeft, dockLeftOf}, {guideRight, dockRightOf}, {guideTop, dockTopOf}, {guideBottom, dockBottomOf}};
        for (const auto& d : kDirs)
            if (AllowAction(paneActionDocking, m_pGuideHost, d[1]))
                nFlags |= d[0];
        nFlags |= guideCross;
        if (pLayout && m_pGuideHost != pLayout->GetClientContainer() &&
            AllowAction(paneActionAttachingTab, m_pGuideHost, -1))
            nFlags |= guideCentre;
        CreateGuide(nFlags, rcCross);
    }
    if (CPaneBase* pTop = pLayout ? pLayout->GetTopContainer() : NULL) {
        RECT rcTop;
        pTop->GetWindowRect(&rcTop);
        const int kOuter[4][2] = {{guideTop, dockTopOf}, {guideLeft, dockLeftOf}, {guideBottom, dockBottomOf}, {guideRight, dockRightOf}};
        for (const auto& d : kOuter)
            if (AllowAction(paneActionDocking, pTop, d[1]))
                CreateGuide(d[0], DockingGuides::OuterRect(rcTop, d[0], nStyle));
    }
    m_pGuidesBuiltFor = m_pGuideHost;
    m_bGuidesBuilt = TRUE;
}

CDockingGuideWnd* CDockingDragContext::CreateGuide(int nFlags, const RECT& rc)
{
    if (nFlags == 0 || nFlags == guideCross)
        return NULL;
    CDockingGuideWnd* pGuide = new CDockingGuideWnd(this, nFlags);
    if (!pGuide->Create(rc)) {
        delete pGuide;
        return NULL;
    }
    m_guides.push_back(pGuide);
    return pGuide;
}

int CDockingDragContext::HitTestGuides(POINT pt, CDockingGuideWnd** ppGuide)
{
    if (ppGuide)
        *ppGuide = NULL;
    for (auto it = m_guides.rbegin(); it != m_guides.rend(); ++it) {
        int nHit = (*it)->HitTest(pt);
        if (nHit) {
            if (ppGuide)
                *ppGuide = *it;
            return nHit;
        }
    }
    return 0;
}

void CDockingDragContext::DestroyGuides()
{
    std::vector<CDockingGuideWnd*> guides;
    guides.swap(m_guides);
    for (CDockingGuideWnd* g : guides)
        if (g->m_hWnd)
            g->DestroyWindow(); // deletes itself
        else
            delete g;
}

// ---------------------------------------------------------------------------
// Where a tabbed container starts drags and toggles docking.

void CQXPDockingPaneTabbedContainer::StartDrag(int x, int y)
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (m_pSelectedPane)
        m_pSelectedPane->SetFocus();
    else
        ::SetFocus(m_hWnd);
    if (!pManager)
        return;
    pManager->UpdateFocus();
    if (!(::GetAsyncKeyState(::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) & 0x8000))
        return;
    if (m_pSelectedPane && pManager->NotifyAction(paneActionDragStart, m_pSelectedPane, this))
        return;
    if (CDockingDragContext* pDrag = pManager->GetDragContext())
        pDrag->Drag(this, x, y);
}

void CQXPDockingPaneTabbedContainer::DetachDraggedTab(CPoint pt)
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    CQXPDockingPane* pPane = m_pTrackingPane;
    if (!pManager || !pPane || pManager->NotifyAction(paneActionDetaching, pPane, this))
        return;
    EndTabDrag();
    POINT ptScreen = pt;
    ::ClientToScreen(m_hWnd, &ptScreen);
    if (CDockingDragContext* pDrag = pManager->GetDragContext())
        pDrag->Drag(m_pSelectedPane ? m_pSelectedPane : pPane, ptScreen.x, ptScreen.y);
}

void CQXPDockingPaneTabbedContainer::OnLButtonDblClk(UINT, CPoint pt)
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (!pManager || CaptionButtonAt(pt) || (IsTabsVisible() && GetTabManager()->HitTestNavigateButton(pt, FALSE)))
        return;
    int nHit = HitTest(pt);
    if (nHit == -2) {
        BOOL bAutoHide = GetContainer() && GetContainer()->GetType() == paneTypeAutoHidePanel;
        if (bAutoHide && m_pSelectedPane && (m_pSelectedPane->GetOptions() & paneNoHideable))
            return;
        pManager->ToggleDockingGroup(this);
    } else if (nHit >= 0 && nHit < (int)m_lstPanes.size()) {
        pManager->ToggleDockingGroup(m_lstPanes[nHit]);
    }
}
