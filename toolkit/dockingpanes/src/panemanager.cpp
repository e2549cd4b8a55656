// The docking-pane manager: factory, pane states, notifications and the
// frame layout pass.
#include <qx/panemanager.h>
#include <qx/dragcontext.h>
#include <qx/autohide.h>
#include <qx/miniwnd.h>
#include <qx/panepaint.h>
#include <qx/splittercontainer.h>
#include <qx/tabbedcontainer.h>
#include <qx/tooltips.h>

#include <fx/frame.h>

#include <algorithm>
#include <cstring>

namespace {

// The id of the manager window among the frame's bars: inside the control
// bar range, so the frame's layout pass offers it the space.
const UINT kManagerWindowID = 0xE8F0;

void RegisterDockingClasses()
{
    static bool s_done = false;
    if (s_done)
        return;
    s_done = true;
    struct {
        LPCSTR name;
        UINT style;
    } classes[] = {
        {"QXPDockingPaneSplitter", 0},
        {"QXPDockingPaneTabbedContainer", CS_DBLCLKS},
        {"QXPDockingPaneManager", 0},
        {"QXPDockingPaneAutoHidePanel", 0},
        {"QXPDockingPaneMiniWnd", CS_DBLCLKS},
    };
    for (auto& c : classes) {
        WNDCLASSA wc = {};
        if (::GetClassInfoA(AfxGetInstanceHandle(), c.name, &wc))
            continue;
        wc.style = c.style;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
        wc.lpszClassName = c.name;
        AfxRegisterClass(&wc);
    }
}

} // namespace

CQXPDockingPaneManager::CQXPDockingPaneManager()
    : m_bHideGroup(TRUE), m_dwDefaultPaneOptions(0), m_nClientMargin(0), m_bHideClient(FALSE),
      m_bLockSplitters(FALSE), m_bAllowMaximize(FALSE), m_bCloseGroupOnButtonClick(FALSE), m_bLayoutCreated(FALSE),
      m_nSplitterGap(22), m_hOwner(NULL), m_bTheme9(FALSE), m_bShowAutoHideButton(TRUE),
      m_bOutlineTracking(TRUE), m_bSplitterTracking(TRUE), m_bNoResize(FALSE), m_bManualTimers(FALSE), m_hSite(NULL), m_pLayout(NULL), m_pPaintManager(NULL), m_pActivePane(NULL)
{
    m_szClientMin.cx = m_szClientMin.cy = 60;
    m_bAlphaDockingContext = m_bShowDockingGuides = m_bShowContentsWhileDragging = m_bDragCursor = FALSE;
    m_nDockingGuideStyle = 0;
    m_bSnapFloatingFrames = m_bThemedFloatingFrames = m_bDockingInProgress = FALSE;
    m_nSnapDistance = 15;
    m_bSyncActiveFloatingFrames = TRUE;
    m_nFloatingFrameAlpha = 255;
    m_pDragContext = new CDockingDragContext(this);
    m_pPaintManager = new CDockingPanePaintManager();
    m_pToolTipContext = new CQXPToolTipContext();
    RegisterDockingClasses();
    // Drop targets and drag sources of the panes need OLE on this thread.
    m_bOleInitialized = SUCCEEDED(::OleInitialize(NULL));
}

CQXPDockingPaneManager::~CQXPDockingPaneManager()
{
    if (m_pActivePane) {
        m_pActivePane->InternalRelease();
        m_pActivePane = NULL;
    }
    delete m_pLayout;
    m_pLayout = NULL;
    delete m_pDragContext;
    m_pDragContext = NULL;
    delete m_pPaintManager;
    if (m_pToolTipContext)
        m_pToolTipContext->InternalRelease();
    for (auto& i : m_icons)
        ::DestroyIcon(i.second);
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
    if (m_bOleInitialized)
        ::OleUninitialize();
}

DockingLayoutStore* CQXPDockingPaneManager::CreateLayout()
{
    return new DockingLayoutStore(this);
}

CPaneBase* CQXPDockingPaneManager::CreatePaneObject(int nType, DockingLayoutStore* pLayout)
{
    switch (nType) {
    case paneTypeDockingPane: return new CQXPDockingPane(pLayout);
    case paneTypeTabbedContainer: return new CQXPDockingPaneTabbedContainer(pLayout);
    case paneTypeSplitterContainer: return new CPaneSplitterContainer(pLayout);
    case paneTypeMiniWnd: return new CQXPDockingPaneMiniWnd(pLayout);
    case paneTypeClientContainer: return new CPaneClientContainer(pLayout);
    case paneTypeAutoHidePanel: return new AutoHidePanel(pLayout);
    }
    return NULL;
}

LRESULT CQXPDockingPaneManager::Notify(WPARAM wParam, LPARAM lParam)
{
    HWND hTarget = m_hOwner ? m_hOwner : m_hSite;
    if (!hTarget || !::IsWindow(hTarget))
        return 0;
    return ::SendMessage(hTarget, WM_DOCKINGPANE_NOTIFY, wParam, lParam);
}

int CQXPDockingPaneManager::NotifyAction(int nAction, CQXPDockingPane* pPane, CPaneBase* pContainer, void* pExtra,
                                         int nDirection)
{
    DockingPaneAction_t rec;
    rec.action = nAction;
    rec.bCancel = (pPane && !(pPane->GetEnabled() & 2)) ? TRUE : FALSE;
    rec.pPane = pPane;
    rec.pContainer = pContainer;
    rec.pExtra = pExtra;
    rec.nDirection = nDirection;
    Notify(DOCKINGPANE_ACTION, (LPARAM)&rec);
    return rec.bCancel;
}

BOOL CQXPDockingPaneManager::InstallDockingPanes(CWnd* pSite, BOOL bClipChildren)
{
    return InstallDockingPanes(pSite ? pSite->GetSafeHwnd() : (HWND)NULL, bClipChildren);
}

BOOL CQXPDockingPaneManager::InstallDockingPanes(HWND hSite, BOOL bClipChildren)
{
    if (!hSite || !::IsWindow(hSite) || m_hSite)
        return FALSE;
    LONG_PTR style = ::GetWindowLongPtr(hSite, GWL_STYLE);
    if (bClipChildren && (style & (WS_CLIPCHILDREN | WS_CLIPSIBLINGS)) != (WS_CLIPCHILDREN | WS_CLIPSIBLINGS))
        ::SetWindowLongPtr(hSite, GWL_STYLE, style | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    // The frame's own children (the MDI client among them) must not paint
    // over the panes and slide-out windows laid above them.
    if (bClipChildren)
        for (HWND h = ::GetWindow(hSite, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
            LONG_PTR s = ::GetWindowLongPtr(h, GWL_STYLE);
            if ((s & (WS_CLIPCHILDREN | WS_CLIPSIBLINGS)) != (WS_CLIPCHILDREN | WS_CLIPSIBLINGS))
                ::SetWindowLongPtr(h, GWL_STYLE, s | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
        }
    RECT rc = {0, 0, 0, 0};
    if (!CreateEx(0, "QXPDockingPaneManager", "", WS_CHILD, rc, CWnd::FromHandle(hSite), kManagerWindowID))
        return FALSE;
    ::SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_hSite = hSite;
    m_pLayout = CreateLayout();
    m_pLayout->m_bUserLayout = FALSE;
    // The Move text as the site's system menu names it.
    m_strMove = "&Move";
    if (HMENU hSys = ::GetSystemMenu(hSite, FALSE)) {
        char sz[128] = "";
        if (::GetMenuStringA(hSys, SC_MOVE, sz, sizeof(sz), MF_BYCOMMAND) > 0) {
            // Without its shortcut text.
            if (char* tab = strchr(sz, '\t'))
                *tab = 0;
            m_strMove = sz;
        }
    }
    return TRUE;
}

CQXPDockingPane* CQXPDockingPaneManager::CreatePane(int nID, const RECT& rc, int nDirection, CPaneBase* pNeighbour)
{
    if (!m_pLayout)
        return NULL;
    CQXPDockingPane* pPane = static_cast<CQXPDockingPane*>(CreatePaneObject(paneTypeDockingPane, m_pLayout));
    if (!pPane)
        return NULL;
    pPane->SetID(nID);
    pPane->m_rcWindow = rc;
    pPane->m_szDocking.cx = rc.right - rc.left;
    pPane->m_szDocking.cy = rc.bottom - rc.top;
    DockingPaneRecord rec;
    rec.pPane = pPane;
    m_pLayout->AddRecord(rec);
    DockPane(pPane, nDirection, pNeighbour);
    m_pLayout->UpdateHolders();
    return pPane;
}

CQXPDockingPane* CQXPDockingPaneManager::FindPane(int nID) const
{
    if (!m_pLayout)
        return NULL;
    for (const DockingPaneRecord& r : m_pLayout->GetRecords())
        if (r.pPane->GetID() == nID)
            return r.pPane;
    return NULL;
}

std::vector<CQXPDockingPane*> CQXPDockingPaneManager::GetPaneList() const
{
    return m_pLayout ? m_pLayout->GetPanes() : std::vector<CQXPDockingPane*>();
}

void CQXPDockingPaneManager::InsertBeside(CPaneBase* pObject, BOOL bHoriz, BOOL bAfter, CPaneBase* pNeighbour)
{
    CPaneSplitterContainer* pTop = m_pLayout->GetTopContainer();
    if (pNeighbour != pTop) {
        CPaneBase* pParent = pNeighbour->GetContainer();
        if (pParent && pParent->GetType() == paneTypeTabbedContainer) {
            pNeighbour = pParent;
            pParent = pParent->GetContainer();
        }
        CPaneSplitterContainer* pSplitter = dynamic_cast<CPaneSplitterContainer*>(pParent);
        if (!pSplitter)
            pNeighbour = pTop;
        else if (pSplitter->IsHorizontal() == bHoriz) {
            pSplitter->InsertPane(pObject, pNeighbour, bAfter);
            return;
        } else {
            CPaneSplitterContainer* pNew =
                static_cast<CPaneSplitterContainer*>(CreatePaneObject(paneTypeSplitterContainer, m_pLayout));
            pNew->SetHorizontal(bHoriz);
            pNew->m_szDocking = pNeighbour->m_szDocking;
            pSplitter->ReplacePane(pNeighbour, pNew);
            pNew->InsertPane(pNeighbour, NULL, TRUE);
            pNew->InsertPane(pObject, pNeighbour, bAfter);
            return;
        }
    }
    if (pTop->IsHorizontal() == bHoriz) {
        pTop->InsertPane(pObject, NULL, bAfter);
        return;
    }
    CPaneSplitterContainer* pNew =
        static_cast<CPaneSplitterContainer*>(CreatePaneObject(paneTypeSplitterContainer, m_pLayout));
    pNew->Init(pTop, bHoriz, m_hSite);
    pNew->InsertPane(pObject, pTop, bAfter);
    m_pLayout->SetTopContainer(pNew);
}

void CQXPDockingPaneManager::DockPane(CPaneBase* pObject, int nDirection, CPaneBase* pNeighbour)
{
    // A neighbour that is not docked in the frame (closed, auto-hidden,
    // floating) gives way to the whole layout.
    DockBeside(pObject, nDirection, pNeighbour, FALSE);
}

void CQXPDockingPaneManager::DockBeside(CPaneBase* pObject, int nDirection, CPaneBase* pNeighbour,
                                        BOOL bInFloatingFrame)
{
    if (!m_pLayout || !m_pLayout->GetTopContainer() || !pObject)
        return;
    CPaneBase* pRoot = pNeighbour ? pNeighbour->GetRoot() : NULL;
    BOOL bFloatingNeighbour = bInFloatingFrame && pRoot && pRoot->GetType() == paneTypeMiniWnd &&
                              pNeighbour->GetContainer() && pNeighbour != pRoot && pNeighbour->GetContainer() != pRoot;
    if (!bFloatingNeighbour &&
        (!pNeighbour || !pNeighbour->GetContainer() || pNeighbour->IsHidden() ||
         m_pLayout->GetPaneDirection(pNeighbour) == 4 || pRoot != m_pLayout->GetTopContainer()))
        pNeighbour = m_pLayout->GetTopContainer();
    BOOL bHoriz = nDirection == dockLeftOf || nDirection == dockRightOf;
    BOOL bAfter = nDirection == dockRightOf || nDirection == dockBottomOf;
    if (pObject->GetType() == paneTypeDockingPane) {
        CQXPDockingPaneTabbedContainer* pTabbed =
            static_cast<CQXPDockingPaneTabbedContainer*>(CreatePaneObject(paneTypeTabbedContainer, m_pLayout));
        pTabbed->Init(static_cast<CQXPDockingPane*>(pObject), m_hSite);
        pObject = pTabbed;
    }
    InsertBeside(pObject, bHoriz, bAfter, pNeighbour);
    RecalcFrameLayout(pNeighbour, TRUE);
}

void CQXPDockingPaneManager::MoveOut(CPaneBase* pObject)
{
    if (CPaneBase* pContainer = pObject ? pObject->GetContainer() : NULL)
        pContainer->RemovePane(pObject);
}

void CQXPDockingPaneManager::AttachPane(CPaneBase* pObject, CPaneBase* pNeighbour)
{
    if (!m_pLayout || !pObject || !pNeighbour || pObject == pNeighbour)
        return;
    CQXPDockingPaneTabbedContainer* pTarget = dynamic_cast<CQXPDockingPaneTabbedContainer*>(pNeighbour);
    if (!pTarget)
        pTarget = dynamic_cast<CQXPDockingPaneTabbedContainer*>(pNeighbour->GetContainer());
    if (!pTarget || pTarget == pObject)
        return;
    std::vector<CQXPDockingPane*> panes;
    if (pObject->GetType() == paneTypeDockingPane)
        panes.push_back(static_cast<CQXPDockingPane*>(pObject));
    else if (CPaneContainerBase* c = dynamic_cast<CPaneContainerBase*>(pObject)) {
        PaneObjectList list;
        c->FindPane(paneTypeDockingPane, list);
        for (CPaneBase* p : list)
            panes.push_back(static_cast<CQXPDockingPane*>(p));
    }
    for (CQXPDockingPane* p : panes) {
        MoveOut(p);
        pTarget->AddPane(p, FALSE);
    }
    m_pLayout->UpdateHolders();
    // The places the panes left stay only while they hold closed panes.
    m_pLayout->DropEmptyContainers();
    RecalcFrameLayout(pTarget, TRUE);
}

void CQXPDockingPaneManager::ClosePane(CQXPDockingPane* pPane)
{
    if (!pPane || !pPane->GetContainer())
        return;
    pPane->InternalAddRef();
    if (Notify(DOCKINGPANE_PANECLOSING, (LPARAM)pPane) != -1) {
        if (m_pActivePane == pPane)
            SetActivePane(NULL, pPane);
        MoveOut(pPane);
        RecalcFrameLayout(NULL, TRUE);
    }
    pPane->InternalRelease();
}

void CQXPDockingPaneManager::DestroyPane(CQXPDockingPane* pPane)
{
    if (!pPane || !m_pLayout || !m_pLayout->FindRecord(pPane))
        return;
    if (m_pActivePane == pPane) {
        m_pActivePane->InternalRelease();
        m_pActivePane = NULL;
    }
    pPane->Detach();
    m_pLayout->RemovePane(pPane);
    RecalcFrameLayout(NULL, TRUE);
}

void CQXPDockingPaneManager::SelectPane(CQXPDockingPane* pPane, BOOL bSetFocus)
{
    if (!pPane || !m_pLayout)
        return;
    CPaneBase* pContainer = pPane->GetContainer();
    if (!pContainer) {
        // A closed pane goes back where it was last held; without a holder
        // it docks at the left of the whole layout.
        if (!ReturnToLastHolder(pPane))
            DockPane(pPane, dockLeftOf, NULL);
        m_pLayout->UpdateHolders();
        pContainer = pPane->GetContainer();
    }
    if (pContainer && pContainer->IsHidden()) {
        AutoHidePanel* pPanel = static_cast<AutoHidePanel*>(pContainer->GetContainer());
        if (m_bLayoutCreated && pPanel->GetSafeHwnd()) {
            // An auto-hidden pane asked for slides out of its panel.
            if (CQXPDockingPaneTabbedContainer* pTabbed = dynamic_cast<CQXPDockingPaneTabbedContainer*>(pContainer))
                pTabbed->SelectPane(pPane, FALSE, TRUE);
            Notify(DOCKINGPANE_SHOWWINDOW, (LPARAM)pPane);
            pPanel->ShowPane(pPane, bSetFocus);
            return;
        }
        // Before the frame has its panels laid out it comes back docked.
        DockAutoHidden(pContainer);
    }
    if (CQXPDockingPaneTabbedContainer* pTabbed = dynamic_cast<CQXPDockingPaneTabbedContainer*>(pContainer))
        pTabbed->SelectPane(pPane, FALSE, TRUE);
    if (m_bLayoutCreated) {
        Notify(DOCKINGPANE_SHOWWINDOW, (LPARAM)pPane);
        RecalcFrameLayout(NULL, FALSE);
        pPane->ShowChild(TRUE);
    }
    if (bSetFocus)
        pPane->SetFocus();
}

BOOL CQXPDockingPaneManager::ReturnToLastHolder(CQXPDockingPane* pPane)
{
    DockingPaneRecord* pRec = m_pLayout->FindRecord(pPane);
    CPaneBase* pHolder = pRec ? pRec->pLastHolder : NULL;
    if (!pHolder)
        return FALSE;
    if (CQXPDockingPaneTabbedContainer* pTabbed = dynamic_cast<CQXPDockingPaneTabbedContainer*>(pHolder)) {
        pTabbed->AddPane(pPane, FALSE);
        // A holder left outside the tree docks again with its pane.
        if (!pTabbed->GetContainer())
            DockPane(pTabbed, dockLeftOf, NULL);
        return TRUE;
    }
    CPaneSplitterContainer* pSplitter = dynamic_cast<CPaneSplitterContainer*>(pHolder);
    if (CQXPDockingPaneMiniWnd* pFrame = dynamic_cast<CQXPDockingPaneMiniWnd*>(pHolder))
        pSplitter = pFrame->GetTopContainer();
    AutoHidePanel* pPanel = dynamic_cast<AutoHidePanel*>(pHolder);
    // Only a place that is part of the layout takes the pane back.
    if (pSplitter && pSplitter != m_pLayout->GetTopContainer() && !pSplitter->GetContainer())
        pSplitter = NULL;
    if (!pSplitter && !pPanel)
        return FALSE;
    CQXPDockingPaneTabbedContainer* pTabbed =
        static_cast<CQXPDockingPaneTabbedContainer*>(CreatePaneObject(paneTypeTabbedContainer, m_pLayout));
    pTabbed->Init(pPane, m_hSite);
    if (pPanel)
        pPanel->AddGroup(pTabbed);
    else
        pSplitter->InsertPane(pTabbed, NULL, TRUE);
    RecalcFrameLayout(pTabbed, TRUE);
    return TRUE;
}

void CQXPDockingPaneManager::HidePane(CQXPDockingPane* pPane)
{
    if (!pPane || !m_pLayout)
        return;
    CPaneBase* pObject = pPane;
    if (m_bHideGroup && pPane->GetContainer() && pPane->GetContainer()->GetType() == paneTypeTabbedContainer)
        pObject = pPane->GetContainer();
    CPaneBase* pContainer = pObject->GetContainer();
    if (!pContainer)
        return;
    if (pContainer->GetType() == paneTypeAutoHidePanel) {
        static_cast<AutoHidePanel*>(pContainer)->CloseSlideOut(FALSE);
        return;
    }
    m_pLayout->AutoHidePane(pObject);
    m_pLayout->DropEmptyContainers();
    RecalcFrameLayout(NULL, TRUE);
}

BOOL CQXPDockingPaneManager::DockAutoHidden(CPaneBase* pObject)
{
    if (!m_pLayout || !pObject)
        return FALSE;
    // A pane stands for its group.
    if (pObject->GetType() == paneTypeDockingPane && pObject->GetContainer())
        pObject = pObject->GetContainer();
    AutoHidePanel* pPanel = dynamic_cast<AutoHidePanel*>(pObject->GetContainer());
    if (!pPanel)
        return FALSE;
    CQXPDockingPaneTabbedContainer* pTabbed = dynamic_cast<CQXPDockingPaneTabbedContainer*>(pObject);
    CQXPDockingPane* pPane = pTabbed ? pTabbed->GetSelected() : dynamic_cast<CQXPDockingPane*>(pObject);
    if (NotifyAction(paneActionAttaching, pPane, pObject))
        return FALSE;
    int nSide = pPanel->GetDirection();
    pPanel->RemovePane(pObject);
    DockPane(pObject, nSide, NULL);
    m_pLayout->UpdateHolders();
    NotifyAction(paneActionAttached, pPane);
    return TRUE;
}

void CQXPDockingPaneManager::SetActivePane(HWND hWnd, CQXPDockingPane* pPane)
{
    if (hWnd) {
        if (pPane == m_pActivePane)
            return;
        if (m_pActivePane) {
            CQXPDockingPane* pOld = m_pActivePane;
            m_pActivePane = NULL;
            NotifyAction(paneActionDeactivated, pOld);
            pOld->InternalRelease();
        }
        if (pPane) {
            pPane->InternalAddRef();
            m_pActivePane = pPane;
            NotifyAction(paneActionActivated, pPane);
        }
    } else if (pPane && pPane == m_pActivePane) {
        m_pActivePane = NULL;
        NotifyAction(paneActionDeactivated, pPane);
        pPane->InternalRelease();
    }
}

void CQXPDockingPaneManager::RecalcFrameLayout(CPaneBase* pPane, BOOL bDelay)
{
    // Nothing to lay out until the layout exists (its own construction adds
    // the first containers) or while one is being loaded.
    if (!m_hSite || !::IsWindow(m_hSite) || !m_pLayout || m_pLayout->IsLoading())
        return;
    // A pane in a floating frame: that frame lays out.
    CPaneBase* pRoot = pPane ? pPane->GetRoot() : NULL;
    if (pRoot && pRoot->GetType() == paneTypeMiniWnd) {
        CQXPDockingPaneMiniWnd* pFrame = static_cast<CQXPDockingPaneMiniWnd*>(pRoot);
        if (pFrame->GetSafeHwnd()) {
            if (bDelay) {
                BOOL bPending = (pFrame->m_nIdleFlags & CFrameWnd::idleLayout) != 0;
                pFrame->DelayRecalcLayout();
                if (!bPending)
                    ::PostMessage(pFrame->GetSafeHwnd(), WM_IDLEUPDATECMDUI, 0, 0);
            } else
                pFrame->RecalcLayout();
        }
        return;
    }
    CWnd* pSite = CWnd::FromHandlePermanent(m_hSite);
    if (CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(pSite)) {
        if (bDelay)
            pFrame->DelayRecalcLayout();
        else
            pFrame->RecalcLayout();
        return;
    }
    RECT rc;
    ::GetClientRect(m_hSite, &rc);
    LPARAM lp = MAKELPARAM(rc.right, rc.bottom);
    if (!bDelay) {
        ::SendMessage(m_hSite, WM_SIZE, SIZE_RESTORED, lp);
        return;
    }
    MSG msg;
    if (!::PeekMessage(&msg, m_hSite, WM_SIZE, WM_SIZE, PM_NOREMOVE))
        ::PostMessage(m_hSite, WM_SIZE, SIZE_RESTORED, lp);
}

void CQXPDockingPaneManager::RedrawPanes()
{
    if (!m_pLayout || !m_hWnd)
        return;
    // Floating frames follow the theme and the themed-frames option: their
    // borders and caption height change at once.
    PaneObjectList objects = m_pLayout->GetObjects();
    for (CPaneBase* p : objects)
        if (p->GetType() == paneTypeMiniWnd)
            static_cast<CQXPDockingPaneMiniWnd*>(p)->OnThemeChanged();
    // Every pane's window (the site, or the floating frame holding it) lays
    // out again at idle time with the new metrics.
    for (CQXPDockingPane* p : m_pLayout->GetPanes()) {
        RecalcFrameLayout(p, TRUE);
        if (p->GetContainer())
            p->GetContainer()->Invalidate();
    }
    RecalcFrameLayout(NULL, TRUE);
}

CQXPDockingPane* CQXPDockingPaneManager::CyclePanes(BOOL bNext)
{
    std::vector<CQXPDockingPane*> panes = GetPaneList();
    if (panes.empty())
        return NULL;
    if (!bNext)
        std::reverse(panes.begin(), panes.end());
    size_t n = panes.size();
    size_t start = 0;
    auto it = std::find(panes.begin(), panes.end(), m_pActivePane);
    if (it != panes.end())
        start = (size_t)(it - panes.begin()) + 1; // the active pane comes last
    for (size_t k = 0; k < n; ++k) {
        CQXPDockingPane* p = panes[(start + k) % n];
        if (p->GetEnabled() & 1) {
            SelectPane(p, TRUE);
            return p;
        }
    }
    return NULL;
}

void CQXPDockingPaneManager::CheckFocus()
{
    HWND hFocus = ::GetFocus();
    if (hFocus == m_hLastFocus)
        return;
    m_hLastFocus = hFocus;
    UpdateFocus();
}

void CQXPDockingPaneManager::UpdateFocus()
{
    if (!m_pLayout)
        return;
    PaneObjectList objects = m_pLayout->GetObjects();
    for (CPaneBase* p : objects)
        if (p->GetType() == paneTypeTabbedContainer || p->GetType() == paneTypeMiniWnd)
            p->OnFocusChanged();
}

void CQXPDockingPaneManager::LayoutInRect(RECT& rect, HDWP hDWP)
{
    if (!m_pLayout || !m_pLayout->GetTopContainer())
        return;
    m_pLayout->RepositionInFrame(m_hSite, rect, hDWP);
    m_pLayout->UpdateHolders();
    if (hDWP)
        m_bLayoutCreated = TRUE;
}

void CQXPDockingPaneManager::SetTheme(int nTheme)
{
    delete m_pPaintManager;
    m_pPaintManager = CDockingPanePaintManager::CreateTheme(nTheme);
    m_bTheme9 = nTheme == 9;
    RedrawPanes();
}

UINT CQXPDockingPaneManager::ShowMovePopup(CQXPDockingPane* pPane)
{
    CQXPDockingPaneTabbedContainer* pContainer =
        pPane ? dynamic_cast<CQXPDockingPaneTabbedContainer*>(pPane->GetContainer()) : NULL;
    if (!pContainer || !pContainer->GetSafeHwnd() || !m_hSite || !m_pPaintManager)
        return 0;
    RECT rc;
    ::GetClientRect(pContainer->GetSafeHwnd(), &rc);
    RECT rcCaption = m_pPaintManager->GetCaptionRect(pContainer, rc);
    POINT pt = {rcCaption.left, rcCaption.top};
    ::ClientToScreen(pContainer->GetSafeHwnd(), &pt);
    HMENU hMenu = ::CreatePopupMenu();
    if (!hMenu)
        return 0;
    ::AppendMenuA(hMenu, MF_STRING, SC_MOVE, m_strMove);
    UINT nCmd = (UINT)::TrackPopupMenu(hMenu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, pt.x,
                                       pt.y, 0, m_hSite, NULL);
    ::DestroyMenu(hMenu);
    if (nCmd == SC_MOVE)
        OnMoveContainer(pContainer);
    return nCmd;
}

int CQXPDockingPaneManager::GetCurrentTheme() const
{
    return m_pPaintManager ? m_pPaintManager->m_nTheme : 0;
}

void CQXPDockingPaneManager::SetIcon(int nID, HICON hIcon)
{
    for (auto& i : m_icons)
        if (i.first == nID) {
            ::DestroyIcon(i.second);
            i.second = hIcon;
            return;
        }
    m_icons.push_back(std::make_pair(nID, hIcon));
}

HICON CQXPDockingPaneManager::GetIcon(int nID) const
{
    for (auto& i : m_icons)
        if (i.first == nID)
            return i.second;
    return NULL;
}

BOOL CQXPDockingPaneManager::SetIcons(UINT nIDBitmap, const int* pIDs, int nCount, COLORREF clrMask)
{
    if (!pIDs || nCount <= 0)
        return FALSE;
    HIMAGELIST hList = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, nCount, 1);
    if (!hList)
        return FALSE;
    HBITMAP hBmp = ::LoadBitmap(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDBitmap));
    if (hBmp) {
        ImageList_AddMasked(hList, hBmp, clrMask);
        ::DeleteObject(hBmp);
    }
    BOOL bOK = ImageList_GetImageCount(hList) == nCount;
    if (bOK)
        for (int n = 0; n < nCount; ++n)
            if (pIDs[n] > 0)
                SetIcon(pIDs[n], ImageList_GetIcon(hList, n, ILD_NORMAL));
    ImageList_Destroy(hList);
    return bOK;
}

void CQXPDockingPaneManager::GetLayout(DockingLayoutStore* pLayout) const
{
    if (m_pLayout)
        m_pLayout->DropEmptyFrames();
    if (pLayout && m_pLayout)
        pLayout->CopyFrom(m_pLayout);
}

void CQXPDockingPaneManager::SetLayout(const DockingLayoutStore* pLayout)
{
    if (!pLayout || !pLayout->IsValid() || !m_pLayout)
        return;
    if (m_pActivePane) {
        m_pActivePane->InternalRelease();
        m_pActivePane = NULL;
    }
    for (CQXPDockingPane* p : m_pLayout->GetPanes())
        p->Detach();
    m_pLayout->CopyFrom(pLayout);
    ForgetFocus();
    // The copies get their windows now that the layout is live.
    for (CPaneBase* p : m_pLayout->GetObjects())
        if (CPaneSplitterContainer* s = dynamic_cast<CPaneSplitterContainer*>(p)) {
            s->SetDockingSite(m_hSite);
            s->RebuildSplitters();
        }
    RecalcFrameLayout(NULL, FALSE);
    RedrawPanes();
}

int CQXPDockingPaneManager::GetPaneDirection(const CPaneBase* pPane) const
{
    if (!m_pLayout)
        return dockTopOf;
    int n = m_pLayout->GetPaneDirection(pPane);
    return n;
}

BEGIN_MESSAGE_MAP(CQXPDockingPaneManager, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdate)
    ON_MESSAGE(WM_GETOBJECT, OnGetObject)
    ON_WM_SYSCOMMAND()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

LRESULT CQXPDockingPaneManager::OnSizeParent(WPARAM, LPARAM lParam)
{
    AFX_SIZEPARENTPARAMS* lp = (AFX_SIZEPARENTPARAMS*)lParam;
    if (lp)
        LayoutInRect(lp->rect, lp->hDWP);
    return 0;
}

LRESULT CQXPDockingPaneManager::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (m_pLayout) {
        m_pLayout->DropEmptyFrames();
        RaiseFloatingFrames();
    }
    CheckFocus();
    return Default();
}

LRESULT CQXPDockingPaneManager::OnInitialUpdate(WPARAM, LPARAM)
{
    if (CFrameWnd* pSite = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(m_hSite)))
        if (pSite->m_nIdleFlags & CFrameWnd::idleLayout)
            pSite->RecalcLayout();
    CheckFocus();
    // Floating frames are no children of the site: their windows hear of
    // the initial update from here.
    if (m_pLayout) {
        PaneObjectList objects = m_pLayout->GetObjects();
        for (CPaneBase* p : objects) {
            if (p->GetType() != paneTypeMiniWnd)
                continue;
            CQXPDockingPaneMiniWnd* pFrame = static_cast<CQXPDockingPaneMiniWnd*>(p);
            if (!pFrame->GetSafeHwnd())
                continue;
            if (pFrame->m_nIdleFlags & CFrameWnd::idleLayout)
                pFrame->RecalcLayout();
            pFrame->SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        }
    }
    m_bInitialUpdateDone = TRUE;
    return 0;
}

LRESULT CQXPDockingPaneManager::OnGetObject(WPARAM wParam, LPARAM lParam)
{
    if ((LONG)lParam == (LONG)OBJID_CLIENT)
        return LresultFromObject(IID_IAccessible, wParam, GetAccessible());
    return Default();
}

void CQXPDockingPaneManager::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == SC_NEXTWINDOW || (nID & 0xFFF0) == SC_PREVWINDOW) {
        if (CyclePanes((nID & 0xFFF0) == SC_NEXTWINDOW))
            return;
    }
    if ((nID & 0xFFF0) == SC_KEYMENU && lParam == '-' && m_pActivePane && m_pActivePane->GetContainer() &&
        !m_pActivePane->IsHidden()) {
        ShowMovePopup(m_pActivePane);
        return;
    }
    Default();
}

void CQXPDockingPaneManager::OnSysColorChange()
{
    RefreshLook();
    Default();
}

void CQXPDockingPaneManager::OnSettingChange(UINT, LPCSTR)
{
    RefreshLook();
    Default();
}

void CQXPDockingPaneManager::RefreshLook()
{
    if (m_pPaintManager)
        m_pPaintManager->RefreshMetrics();
    RedrawPanes();
}

// ---------------------------------------------------------------------------
// Accessibility.

HRESULT CQXPDockingPaneManager::get_accChildCount(long* pcountChildren)
{
    if (!pcountChildren)
        return E_POINTER;
    *pcountChildren = (long)GetPaneList().size();
    return S_OK;
}

HRESULT CQXPDockingPaneManager::get_accChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_POINTER;
    *ppdispChild = NULL;
    std::vector<CQXPDockingPane*> panes = GetPaneList();
    long n = GetChildIndex(&varChild);
    if (n < 1 || n > (long)panes.size())
        return E_INVALIDARG;
    IAccessible* pAcc = panes[n - 1]->GetAccessible();
    pAcc->AddRef();
    *ppdispChild = pAcc;
    return S_OK;
}

HRESULT CQXPDockingPaneManager::get_accName(VARIANT varChild, BSTR* pszName)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF)
        return E_INVALIDARG;
    *pszName = ::SysAllocString(L"QXPDockingPaneManager");
    return S_OK;
}

HRESULT CQXPDockingPaneManager::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF)
        return E_INVALIDARG;
    pvarRole->vt = VT_I4;
    pvarRole->lVal = ROLE_SYSTEM_PROPERTYPAGE;
    return S_OK;
}

HRESULT CQXPDockingPaneManager::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF)
        return E_INVALIDARG;
    pvarState->vt = VT_I4;
    pvarState->lVal = 0;
    return S_OK;
}

HRESULT CQXPDockingPaneManager::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                            VARIANT varChild)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF)
        return E_INVALIDARG;
    *pxLeft = 0;
    *pyTop = 0;
    *pcxWidth = 10;
    *pcyHeight = 10;
    return S_OK;
}
