// Auto-hide panels, their group tabs and the slide-out window.
#include <qx/autohide.h>
#include <qx/dockingpane.h>
#include <qx/drawing.h>
#include <qx/panelayout.h>
#include <qx/panemanager.h>
#include <qx/panepaint.h>
#include <qx/propexchange.h>
#include <qx/splittercontainer.h>
#include <qx/tabbedcontainer.h>
#include <qx/tabpaint.h>
#include <qx/toolkitres.h>
#include "dragovertarget.h"

#include <fx/oledrop.h>

#include <algorithm>
#include <cstdio>

namespace {

const char kSlideOutClass[] = "QXPDockingPaneAutoHideWnd";
// Room between two groups on a strip, on top of the tab margins.
const int kGroupGap = 8;

void RegisterSlideOutClass()
{
    WNDCLASSA wc = {};
    if (::GetClassInfoA(AfxGetInstanceHandle(), kSlideOutClass, &wc))
        return;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = kSlideOutClass;
    AfxRegisterClass(&wc);
}

// The panes of a group in order (the group itself when it is a pane).
std::vector<CQXPDockingPane*> PanesOf(CPaneBase* pGroup)
{
    std::vector<CQXPDockingPane*> v;
    if (!pGroup)
        return v;
    if (pGroup->GetType() == paneTypeDockingPane) {
        v.push_back(static_cast<CQXPDockingPane*>(pGroup));
    } else if (CPaneContainerBase* c = dynamic_cast<CPaneContainerBase*>(pGroup)) {
        for (CPaneBase* p : c->GetPanes())
            if (p->GetType() == paneTypeDockingPane)
                v.push_back(static_cast<CQXPDockingPane*>(p));
    }
    return v;
}

class PanelDropTarget : public DragOverTarget {
public:
    explicit PanelDropTarget(AutoHidePanel* pPanel) : m_pPanel(pPanel) {}
    DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint point) override
    {
        CDockingPanePaintManager* pPaint = m_pPanel->GetPaintManager();
        CQXPDockingPane* pPane = m_pPanel->HitTest(point);
        CQXPDockingPaneAutoHideWnd* pOut = m_pPanel->GetSlideOut();
        if (pPane && pPaint && pPaint->m_bDragSlidesOut && (!pOut || pOut->GetShownPane() != pPane))
            m_pPanel->ShowPane(pPane, FALSE);
        return DROPEFFECT_NONE;
    }

private:
    AutoHidePanel* m_pPanel;
};

BOOL IsWindowOrChild(HWND hParent, HWND h)
{
    return hParent && h && (h == hParent || ::IsChild(hParent, h));
}

} // namespace

// ---------------------------------------------------------------------------
// Group tabs.

AutoHideGroupTabs::AutoHideGroupTabs(AutoHidePanel* pPanel, CPaneBase* pGroup)
    : m_pPanel(pPanel), m_pGroup(pGroup), m_nLength(0)
{
    for (CQXPTabManagerNavigateButton* b : m_arrNavigateButtons)
        b->m_nMode = 0;
    SetAllowReorder(FALSE);
}

int AFXAPI AutoHideGroupTabs::PositionOfSide(int nSide)
{
    switch (nSide) {
    case dockLeftOf: return tabPositionRight;
    case dockRightOf: return tabPositionLeft;
    case dockTopOf: return tabPositionBottom;
    default: return tabPositionTop;
    }
}

CQXPTabPainter* AutoHideGroupTabs::GetPaintManager() const
{
    CDockingPanePaintManager* p = m_pPanel ? m_pPanel->GetPaintManager() : NULL;
    return p ? p->GetPanelTabPainter() : NULL;
}

void AutoHideGroupTabs::RedrawControl(LPCRECT lpRect, BOOL /*bAnimate*/)
{
    if (m_pPanel && m_pPanel->GetSafeHwnd())
        ::InvalidateRect(m_pPanel->GetSafeHwnd(), lpRect, FALSE);
}

DWORD_PTR AutoHideGroupTabs::GetItemImage(const CQXPTabManagerItem* pItem) const
{
    CQXPDockingPane* pPane = GetPane(pItem);
    CQXPDockingPaneManager* pManager = m_pPanel ? m_pPanel->GetDockingPaneManager() : NULL;
    return pManager ? (DWORD_PTR)pManager->GetPaneIcon(pPane) : 0;
}

CQXPDockingPane* AutoHideGroupTabs::GetPane(const CQXPTabManagerItem* pItem) const
{
    return pItem ? reinterpret_cast<CQXPDockingPane*>(pItem->m_dwData) : NULL;
}

void AutoHideGroupTabs::Sync()
{
    std::vector<CQXPDockingPane*> panes = PanesOf(m_pGroup);
    while (GetItemCount() > (int)panes.size())
        DeleteItem(GetItemCount() - 1);
    while (GetItemCount() < (int)panes.size())
        AddItem(-1);
    CQXPDockingPane* pSelected = NULL;
    if (CQXPDockingPaneTabbedContainer* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(m_pGroup))
        pSelected = t->GetSelected();
    CQXPTabManagerItem* pSelItem = NULL;
    for (size_t i = 0; i < panes.size(); ++i) {
        CQXPTabManagerItem* pItem = GetItem((int)i);
        pItem->m_strCaption = panes[i]->GetTitle();
        pItem->m_strToolTip = panes[i]->GetTitle();
        pItem->m_bEnabled = (panes[i]->GetEnabled() & 1) != 0;
        pItem->m_dwData = reinterpret_cast<DWORD_PTR>(panes[i]);
        pItem->m_clrItem = panes[i]->GetTabColor();
        if (panes[i] == pSelected || (!pSelected && i == 0))
            pSelItem = pItem;
    }
    m_pSelected = pSelItem;
}

// ---------------------------------------------------------------------------
// Panel.

AutoHidePanel::AutoHidePanel(DockingLayoutStore* pLayout)
    : CPaneContainerBase(paneTypeAutoHidePanel, pLayout), m_nDirection(0), m_pSlideOut(NULL),
      m_pDropTarget(new PanelDropTarget(this))
{
    SetRectEmpty(&m_rcLast);
}

AutoHidePanel::~AutoHidePanel()
{
    if (m_pSlideOut)
        m_pSlideOut->CloseNow(TRUE);
    m_pSlideOut = NULL;
    for (AutoHideGroupTabs* t : m_arrTabs)
        delete t;
    m_arrTabs.clear();
    m_pDropTarget->Revoke();
    m_pDropTarget->InternalRelease();
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

void AutoHidePanel::AddGroup(CPaneBase* pGroup)
{
    if (!pGroup)
        return;
    HWND hFocus = ::GetFocus();
    BOOL bHadFocus = IsWindowOrChild(pGroup->GetPaneHwnd(), hFocus);
    InsertChild(pGroup, NULL, TRUE);
    pGroup->SetParentContainer(this);
    pGroup->SetDockingSite(GetDockingSite());
    pGroup->OnParentContainerChanged(this);
    if (bHadFocus && GetDockingSite())
        ::SetFocus(GetDockingSite());
    SyncTabs();
    Invalidate();
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
        pManager->RecalcFrameLayout(NULL, TRUE);
}

void AutoHidePanel::RemovePane(CPaneBase* pPane)
{
    if (m_pSlideOut && static_cast<CPaneBase*>(m_pSlideOut->GetContainer()) == pPane)
        m_pSlideOut->CloseNow(FALSE);
    if (!UnlinkChild(pPane))
        return;
    pPane->SetParentContainer(NULL);
    SyncTabs();
    Invalidate();
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
        pManager->RecalcFrameLayout(NULL, TRUE);
}

BOOL AutoHidePanel::IsEmpty() const
{
    return m_lstPanes.empty();
}

PaneObjectList AutoHidePanel::GetVisibleGroups() const
{
    PaneObjectList v;
    for (CPaneBase* p : m_lstPanes)
        if (!PanesOf(p).empty())
            v.push_back(p);
    return v;
}

int AutoHidePanel::GetStripSize() const
{
    if (GetVisibleGroups().empty())
        return 0;
    CDockingPanePaintManager* pPaint = GetPaintManager();
    CQXPTabPainter* pTabs = pPaint ? pPaint->GetPanelTabPainter() : NULL;
    if (!pTabs)
        return 24;
    RECT m = pTabs->GetHeaderMargin();
    return pTabs->GetButtonHeight() + m.top + m.bottom;
}

void AutoHidePanel::Invalidate()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::InvalidateRect(m_hWnd, NULL, FALSE);
}

void AutoHidePanel::CreatePanelWindow()
{
    if (m_hWnd || !m_pLayout || m_pLayout->IsLoading() || m_pLayout->m_bUserLayout)
        return;
    HWND hSite = GetDockingSite();
    if (!hSite || !::IsWindow(hSite))
        return;
    RECT rc = {0, 0, 0, 0};
    if (CreateEx(0, "QXPDockingPaneAutoHidePanel", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rc,
                 CWnd::FromHandle(hSite), 0))
        m_pDropTarget->Register(this);
}

AutoHideGroupTabs* AutoHidePanel::FindTabs(const CPaneBase* pGroup) const
{
    for (AutoHideGroupTabs* t : m_arrTabs)
        if (t->GetGroup() == pGroup)
            return t;
    return NULL;
}

void AutoHidePanel::SyncTabs()
{
    PaneObjectList groups = GetVisibleGroups();
    std::vector<AutoHideGroupTabs*> tabs;
    for (CPaneBase* g : groups) {
        AutoHideGroupTabs* t = FindTabs(g);
        if (!t)
            t = new AutoHideGroupTabs(this, g);
        else
            m_arrTabs.erase(std::find(m_arrTabs.begin(), m_arrTabs.end(), t));
        t->Sync();
        tabs.push_back(t);
    }
    for (AutoHideGroupTabs* t : m_arrTabs)
        delete t;
    m_arrTabs.swap(tabs);
}

void AutoHidePanel::LayoutTabs(const RECT& rcStrip)
{
    CDockingPanePaintManager* pPaint = GetPaintManager();
    CQXPTabPainter* pPainter = pPaint ? pPaint->GetPanelTabPainter() : NULL;
    if (!pPainter)
        return;
    pPainter->SetPosition(AutoHideGroupTabs::PositionOfSide(m_nDirection));
    RECT m = pPainter->GetHeaderMargin();
    BOOL bVert = m_nDirection == dockLeftOf || m_nDirection == dockRightOf;
    int pos = bVert ? rcStrip.top : rcStrip.left;
    // Side strips start below the top strip.
    if (bVert && m_pLayout)
        if (AutoHidePanel* pTop = m_pLayout->GetPanel(dockTopOf))
            pos += pTop->GetStripSize();
    HDC hDC = ::GetDC(m_hWnd);
    for (AutoHideGroupTabs* t : m_arrTabs) {
        RECT rc = rcStrip;
        if (bVert)
            rc.top = pos;
        else
            rc.left = pos;
        t->SetScrollOffset(0);
        t->Reposition(hDC, rc);
        int end = pos;
        for (CQXPTabManagerItem* p : t->m_arrItems)
            if (p->IsVisible())
                end = std::max<int>(end, bVert ? p->GetRect().bottom : p->GetRect().right);
        t->m_nLength = end - pos;
        pos = end + m.left + m.right + kGroupGap;
    }
    ::ReleaseDC(m_hWnd, hDC);
}

void AutoHidePanel::OnSizeParent(HWND hParent, const RECT& rect, AFX_SIZEPARENTPARAMS* lpParams)
{
    if (hParent)
        m_hDockingSite = hParent;
    PaneObjectList groups = GetVisibleGroups();
    BOOL bMove = lpParams && lpParams->hDWP;
    if (groups.empty()) {
        if (m_pSlideOut)
            m_pSlideOut->CloseNow(FALSE);
        if (bMove && m_hWnd && ::IsWindow(m_hWnd)) {
            m_pDropTarget->Revoke();
            DestroyWindow();
        }
        SetRectEmpty(&m_rcWindow);
        SyncTabs();
        if (lpParams)
            lpParams->rect = rect;
        return;
    }
    if (bMove)
        CreatePanelWindow();
    if (!::EqualRect(&rect, &m_rcLast)) {
        if (m_pSlideOut && bMove)
            m_pSlideOut->CloseNow(FALSE);
        m_rcLast = rect;
    }
    // A slide-out whose group lost its panes or left the panel goes.
    if (m_pSlideOut) {
        CPaneBase* c = m_pSlideOut->GetContainer();
        if (!c || c->GetContainer() != this || PanesOf(c).empty())
            m_pSlideOut->CloseNow(FALSE);
    }
    RECT rc = rect;
    int n = GetStripSize();
    switch (m_nDirection) {
    case dockLeftOf: rc.right = rc.left + n; break;
    case dockRightOf: rc.left = rc.right - n; break;
    case dockTopOf: rc.bottom = rc.top + n; break;
    default: rc.top = rc.bottom - n; break;
    }
    m_rcWindow = rc;
    SyncTabs();
    RECT rcLocal = {0, 0, rc.right - rc.left, rc.bottom - rc.top};
    // Left and right strips count from the frame rectangle's top.
    LayoutTabs(rcLocal);
    if (bMove && m_hWnd) {
        ::SetWindowPos(m_hWnd, NULL, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        ::InvalidateRect(m_hWnd, NULL, FALSE);
        // An open slide-out stays above everything the pass moved.
        if (m_pSlideOut && m_pSlideOut->GetSafeHwnd())
            ::SetWindowPos(m_pSlideOut->GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    if (lpParams)
        lpParams->rect = rect;
}

CQXPDockingPane* AutoHidePanel::HitTest(POINT pt) const
{
    for (AutoHideGroupTabs* t : m_arrTabs)
        if (CQXPTabManagerItem* p = t->CQXPTabManager::HitTest(pt))
            return t->GetPane(p);
    return NULL;
}

void AutoHidePanel::ForgetSlideOut(CQXPDockingPaneAutoHideWnd* pWnd)
{
    if (m_pSlideOut == pWnd) {
        m_pSlideOut = NULL;
        Invalidate();
    }
}

void AutoHidePanel::CloseAllSlideOuts()
{
    if (!m_pLayout) {
        CloseSlideOut(FALSE);
        return;
    }
    for (int i = 0; i < 4; ++i)
        if (AutoHidePanel* p = m_pLayout->GetPanel(i))
            p->CloseSlideOut(FALSE);
}

void AutoHidePanel::CloseSlideOut(BOOL bDelayed)
{
    if (!m_pSlideOut)
        return;
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    CQXPDockingPane* pPane = m_pSlideOut->GetShownPane();
    if (pManager && pManager->NotifyAction(10, pPane))
        return;
    if (pManager)
        pManager->NotifyAction(11, pPane);
    if (!m_pSlideOut)
        return;
    if (bDelayed)
        m_pSlideOut->CloseDelayed();
    else
        m_pSlideOut->CloseNow(FALSE);
    m_pSlideOut = NULL;
    Invalidate();
}

void AutoHidePanel::ShowPane(CQXPDockingPane* pPane, BOOL bSetFocus)
{
    CQXPDockingPaneTabbedContainer* pContainer =
        pPane ? dynamic_cast<CQXPDockingPaneTabbedContainer*>(pPane->GetContainer()) : NULL;
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (!pContainer || pContainer->GetContainer() != this || !pManager)
        return;
    if (m_pSlideOut && m_pSlideOut->GetContainer() == pContainer && m_pSlideOut->GetShownPane() == pPane) {
        if (bSetFocus)
            pContainer->SelectPane(pPane, TRUE, FALSE);
        if (m_pSlideOut->IsCollapsing())
            m_pSlideOut->HoverCheck();
        return;
    }
    CloseAllSlideOuts();
    if (m_pSlideOut)
        return; // the owner kept a window of this panel out
    if (pManager->NotifyAction(12, pPane))
        return;
    pContainer->SelectPane(pPane, FALSE, TRUE);
    CQXPDockingPaneAutoHideWnd* pWnd = new CQXPDockingPaneAutoHideWnd(this, pContainer);
    if (!pWnd->Create()) {
        delete pWnd;
        return;
    }
    m_pSlideOut = pWnd;
    if (bSetFocus)
        pContainer->SelectPane(pPane, TRUE, FALSE);
    SyncTabs();
    Invalidate();
    pManager->RecalcFrameLayout(NULL, FALSE);
}

void AutoHidePanel::DrawPanel(HDC hDC)
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    CDockingPanePaintManager* pPaint = GetPaintManager();
    COLORREF clrA = pPaint ? pPaint->m_clrPanelBack[0] : ::GetSysColor(COLOR_3DFACE);
    COLORREF clrB = pPaint ? pPaint->m_clrPanelBack[1] : clrA;
    if (clrA == (COLORREF)-1)
        clrA = clrB;
    if (clrB == (COLORREF)-1)
        clrB = clrA;
    if (clrA == clrB) {
        CDC::FromHandle(hDC)->FillSolidRect(&rc, clrA);
    } else {
        // Wide enough that strips on every side share one gradient.
        RECT rcGrad = rc;
        int half = ::GetSystemMetrics(SM_CXFULLSCREEN) / 2;
        if (rcGrad.right - rcGrad.left < half)
            rcGrad.right = rcGrad.left + half;
        DrawHelpers::Instance()->FillGradientClipped(hDC, &rcGrad, clrA, clrB, TRUE, &rc);
    }
    CQXPTabPainter* pPainter = pPaint ? pPaint->GetPanelTabPainter() : NULL;
    if (!pPainter)
        return;
    pPainter->SetPosition(AutoHideGroupTabs::PositionOfSide(m_nDirection));
    RECT rcClip;
    ::GetClipBox(hDC, &rcClip);
    for (AutoHideGroupTabs* t : m_arrTabs) {
        RECT rcGroup = t->m_rcControl, rcTest;
        if (::IntersectRect(&rcTest, &rcGroup, &rcClip))
            pPainter->DrawTabStrip(t, hDC, rcGroup);
    }
}

BEGIN_MESSAGE_MAP(AutoHidePanel, CWnd)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_MOUSEHOVER()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

void AutoHidePanel::OnPaint()
{
    CPaintDC dc(this);
    DrawPanel(dc.GetSafeHdc());
}

LRESULT AutoHidePanel::OnPrintClient(WPARAM wParam, LPARAM)
{
    DrawPanel((HDC)wParam);
    return 0;
}

BOOL AutoHidePanel::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void AutoHidePanel::OnMouseMove(UINT, CPoint point)
{
    for (AutoHideGroupTabs* t : m_arrTabs)
        t->TrackMouse(m_hWnd, point);
    if (HitTest(point)) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_HOVER | TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        ::TrackMouseEvent(&tme);
    }
}

void AutoHidePanel::OnMouseLeave()
{
    POINT pt = {-1, -1};
    for (AutoHideGroupTabs* t : m_arrTabs)
        t->TrackMouse(m_hWnd, pt);
}

void AutoHidePanel::OnMouseHover(UINT, CPoint point)
{
    CQXPDockingPane* pPane = HitTest(point);
    CQXPDockingPane* pShown = m_pSlideOut ? m_pSlideOut->GetShownPane() : NULL;
    if (pPane && pPane != pShown && ::GetActiveWindow())
        ShowPane(pPane, FALSE);
}

void AutoHidePanel::OnLButtonDown(UINT, CPoint point)
{
    CQXPDockingPane* pPane = HitTest(point);
    if (!pPane)
        return;
    if (m_pSlideOut && m_pSlideOut->GetShownPane() == pPane && !m_pSlideOut->IsCollapsing())
        pPane->SetFocus();
    else
        ShowPane(pPane, TRUE);
}

void AutoHidePanel::OnRButtonDown(UINT, CPoint point)
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (CQXPDockingPane* pPane = HitTest(point))
        if (pManager)
            pManager->Notify(DOCKINGPANE_AUTOHIDE_RCLICK, (LPARAM)pPane);
}

CPaneBase* AutoHidePanel::Clone(DockingLayoutStore* pLayout, PaneCloneMap* pMap, DWORD dwIgnoredOptions)
{
    CPaneBase* pBase = CPaneBase::Clone(pLayout, pMap, dwIgnoredOptions);
    AutoHidePanel* pClone = dynamic_cast<AutoHidePanel*>(pBase);
    if (!pClone)
        return pBase;
    pClone->m_nDirection = m_nDirection;
    for (CPaneBase* p : m_lstPanes)
        if (CPaneBase* c = p->Clone(pLayout, pMap, dwIgnoredOptions))
            pClone->AddGroup(c);
    return pClone;
}

BOOL AutoHidePanel::DoPropExchange(CQXPPropExchange* pPX, PaneExchangeContext& ctx)
{
    CPaneBase::DoPropExchange(pPX, ctx);
    ExchangeIntProp(pPX, "Direction", &m_nDirection, 0);
    int nCount = (int)m_lstPanes.size();
    ExchangeIntProp(pPX, "Panes", &nCount, 0);
    char szKey[32];
    if (pPX->IsStoring()) {
        for (int i = 0; i < nCount; ++i) {
            int nIndex = ctx.IndexOf(m_lstPanes[i]);
            snprintf(szKey, sizeof(szKey), "Pane-%d", i + 1);
            ExchangeIntProp(pPX, szKey, &nIndex, 0);
        }
        return TRUE;
    }
    // A side outside 0..3 names no slot of the layout: refused as damaged.
    if (m_nDirection < 0 || m_nDirection > 3 || !ctx.m_pLayout || ctx.m_pLayout->GetPanel(m_nDirection))
        return FALSE;
    if (nCount < 0 || nCount > (int)ctx.m_objects.size())
        return FALSE;
    for (int i = 0; i < nCount; ++i) {
        int nIndex = 0;
        snprintf(szKey, sizeof(szKey), "Pane-%d", i + 1);
        ExchangeIntProp(pPX, szKey, &nIndex, 0);
        CPaneBase* p = ctx.Lookup(nIndex);
        if (!p || !ctx.CanAdopt(this, p))
            return FALSE;
        if (p->GetType() != paneTypeTabbedContainer && p->GetType() != paneTypeDockingPane)
            return FALSE;
        AddGroup(p);
    }
    ctx.m_pLayout->SetPanel(m_nDirection, this);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Slide-out window.

CQXPDockingPaneAutoHideWnd::CQXPDockingPaneAutoHideWnd(AutoHidePanel* pPanel,
                                                       CQXPDockingPaneTabbedContainer* pContainer)
    : m_pPanel(pPanel), m_pContainer(pContainer), m_nDirection(pPanel ? pPanel->GetDirection() : 0),
      m_bVertStrip(FALSE), m_nStep(0), m_nSteps(1), m_bCollapsing(FALSE), m_nHoverCountdown(kHoverCount),
      m_bResizing(FALSE), m_bClosing(FALSE), m_nTimers(0)
{
    SetRectEmpty(&m_rcTarget);
    RegisterSlideOutClass();
}

CQXPDockingPaneAutoHideWnd::~CQXPDockingPaneAutoHideWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        // Deleted without its window closing first: nothing may call back.
        m_pPanel = NULL;
        m_pContainer = NULL;
        ::DestroyWindow(Detach());
    }
}

void CQXPDockingPaneAutoHideWnd::PostNcDestroy()
{
    delete this;
}

CQXPDockingPane* CQXPDockingPaneAutoHideWnd::GetShownPane() const
{
    return m_pContainer ? m_pContainer->GetSelected() : NULL;
}

RECT CQXPDockingPaneAutoHideWnd::GetDockedArea() const
{
    RECT rc = {0, 0, 0, 0};
    DockingLayoutStore* pLayout = m_pPanel ? m_pPanel->GetLayout() : NULL;
    if (pLayout && pLayout->GetTopContainer())
        rc = pLayout->GetTopContainer()->GetPaneRect();
    return rc;
}

BOOL CQXPDockingPaneAutoHideWnd::Create()
{
    CQXPDockingPane* pPane = GetShownPane();
    CQXPDockingPaneManager* pManager = m_pPanel ? m_pPanel->GetDockingPaneManager() : NULL;
    if (!pPane || !pManager || !pManager->GetSite())
        return FALSE;
    HWND hSite = pManager->GetSite();
    BOOL bRTL = (::GetWindowLongPtr(hSite, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    int nSide = m_nDirection;
    if (bRTL && (nSide == dockLeftOf || nSide == dockRightOf))
        nSide = nSide == dockLeftOf ? dockRightOf : dockLeftOf;
    m_bVertStrip = m_nDirection == dockTopOf || m_nDirection == dockBottomOf;

    // The fully-out size: the pane's docked size within the group's limits
    // (the minimum wins), the inner edge on top.
    MINMAXINFO mmi;
    GetTrackLimits(&mmi);
    if (m_bVertStrip) {
        mmi.ptMinTrackSize.y += kEdge;
        mmi.ptMaxTrackSize.y += kEdge;
    } else {
        mmi.ptMinTrackSize.x += kEdge;
        mmi.ptMaxTrackSize.x += kEdge;
    }
    int cx = pPane->m_szDocking.cx + kEdge;
    int cy = pPane->m_szDocking.cy + kEdge;
    cx = std::max<int>(std::min<int>(cx, mmi.ptMaxTrackSize.x), mmi.ptMinTrackSize.x);
    cy = std::max<int>(std::min<int>(cy, mmi.ptMaxTrackSize.y), mmi.ptMinTrackSize.y);

    RECT rc = GetDockedArea();
    switch (nSide) {
    case dockLeftOf: rc.right = rc.left + cx; break;
    case dockRightOf: rc.left = rc.right - cx; break;
    case dockTopOf: rc.bottom = rc.top + cy; break;
    default: rc.top = rc.bottom - cy; break;
    }
    m_rcTarget = rc;
    DWORD dwExStyle = (DWORD)(::GetWindowLongPtr(hSite, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    if (!CreateEx(dwExStyle, kSlideOutClass, "", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, rc,
                  CWnd::FromHandle(hSite), 0))
        return FALSE;
    m_nStep = 0;
    m_nSteps = std::max(1, (int)kSlideDuration / (int)kSlideInterval);
    if (m_nSteps > 1)
        StartTimer(timerSlideOut, kSlideInterval);
    PlaceForStep();
    LayoutContainer();
    if (m_pContainer->GetSafeHwnd())
        ::ShowWindow(m_pContainer->GetSafeHwnd(), SW_SHOWNA);
    StartTimer(timerHoverCheck, kHoverInterval);
    m_nHoverCountdown = kHoverCount;
    return TRUE;
}

void CQXPDockingPaneAutoHideWnd::StartTimer(UINT_PTR nID, UINT nElapse)
{
    m_nTimers |= 1u << nID;
    CQXPDockingPaneManager* pManager = m_pPanel ? m_pPanel->GetDockingPaneManager() : NULL;
    if (m_hWnd && !(pManager && pManager->m_bManualTimers))
        ::SetTimer(m_hWnd, nID, nElapse, NULL);
}

void CQXPDockingPaneAutoHideWnd::StopTimer(UINT_PTR nID)
{
    m_nTimers &= ~(1u << nID);
    if (m_hWnd)
        ::KillTimer(m_hWnd, nID);
}

BOOL CQXPDockingPaneAutoHideWnd::IsTimerRunning(UINT_PTR nID) const
{
    return nID < 32 && (m_nTimers & (1u << nID)) != 0;
}

void CQXPDockingPaneAutoHideWnd::PlaceForStep()
{
    if (!m_hWnd)
        return;
    RECT rc = m_rcTarget;
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    int n = m_nStep + 1;
    switch (m_nDirection) {
    case dockLeftOf: rc.right = rc.left + w * n / m_nSteps; break;
    case dockRightOf: rc.left = rc.right - w * n / m_nSteps; break;
    case dockTopOf: rc.bottom = rc.top + h * n / m_nSteps; break;
    default: rc.top = rc.bottom - h * n / m_nSteps; break;
    }
    ::SetWindowPos(m_hWnd, HWND_TOP, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    LayoutContainer();
    ::InvalidateRect(m_hWnd, NULL, FALSE);
}

void CQXPDockingPaneAutoHideWnd::LayoutContainer()
{
    if (!m_hWnd || !m_pContainer)
        return;
    RECT rcWnd;
    ::GetClientRect(m_hWnd, &rcWnd);
    int W = m_rcTarget.right - m_rcTarget.left, H = m_rcTarget.bottom - m_rcTarget.top;
    int ws = rcWnd.right, hs = rcWnd.bottom;
    RECT rc;
    // The group keeps its full size and stays anchored to the panel side;
    // the edge faces the frame's interior.
    switch (m_nDirection) {
    case dockLeftOf: SetRect(&rc, ws - W, 0, ws - kEdge, H); break;
    case dockRightOf: SetRect(&rc, kEdge, 0, W, H); break;
    case dockTopOf: SetRect(&rc, 0, hs - H, W, hs - kEdge); break;
    default: SetRect(&rc, 0, kEdge, W, H); break;
    }
    AFX_SIZEPARENTPARAMS params = {};
    params.hDWP = (HDWP)1;
    m_pContainer->OnSizeParent(m_hWnd, rc, &params);
}

void CQXPDockingPaneAutoHideWnd::OnTimer(UINT_PTR nID)
{
    CQXPDockingPaneManager* pManager = m_pPanel ? m_pPanel->GetDockingPaneManager() : NULL;
    switch (nID) {
    case timerSlideOut:
        if (m_bCollapsing)
            return;
        if (++m_nStep >= m_nSteps) {
            m_nStep = m_nSteps - 1;
            StopTimer(timerSlideOut);
            if (pManager)
                pManager->NotifyAction(13, GetShownPane());
        } else {
            PlaceForStep();
        }
        break;
    case timerHoverCheck:
        HoverCheck();
        break;
    case timerSlideIn:
        if (--m_nStep < 0) {
            m_nStep = 0;
            m_bCollapsing = FALSE;
            StopTimer(timerSlideIn);
            if (pManager)
                pManager->NotifyAction(11, GetShownPane());
            CloseNow(FALSE);
        } else {
            PlaceForStep();
        }
        break;
    case timerClose:
        StopTimer(timerClose);
        CloseNow(FALSE);
        break;
    }
}

BOOL CQXPDockingPaneAutoHideWnd::IsCursorInside() const
{
    POINT pt;
    if (!::GetCursorPos(&pt))
        return FALSE;
    RECT rc;
    if (m_hWnd && ::IsWindowVisible(m_hWnd)) {
        ::GetWindowRect(m_hWnd, &rc);
        if (::PtInRect(&rc, pt))
            return TRUE;
    }
    HWND hPanel = m_pPanel ? m_pPanel->GetSafeHwnd() : NULL;
    if (hPanel) {
        ::GetWindowRect(hPanel, &rc);
        if (::PtInRect(&rc, pt))
            return TRUE;
    }
    return FALSE;
}

void CQXPDockingPaneAutoHideWnd::HoverCheck()
{
    if (m_bResizing || m_bClosing)
        return;
    HWND hFocus = ::GetFocus();
    BOOL bActive = m_pContainer && IsWindowOrChild(m_pContainer->GetSafeHwnd(), hFocus);
    if (!bActive && !IsCursorInside()) {
        if (m_bCollapsing)
            return;
        if (--m_nHoverCountdown > 0)
            return;
        m_nHoverCountdown = kHoverCount;
        CQXPDockingPaneManager* pManager = m_pPanel ? m_pPanel->GetDockingPaneManager() : NULL;
        if (pManager && pManager->NotifyAction(10, GetShownPane()))
            return;
        m_bCollapsing = TRUE;
        StopTimer(timerSlideOut);
        StartTimer(timerSlideIn, kSlideInterval);
        return;
    }
    m_nHoverCountdown = kHoverCount;
    if (m_bCollapsing) {
        m_bCollapsing = FALSE;
        StopTimer(timerSlideIn);
        StartTimer(timerSlideOut, kSlideInterval);
    }
}

void CQXPDockingPaneAutoHideWnd::CloseNow(BOOL bDestroy)
{
    if (m_bClosing && !bDestroy)
        return;
    m_bClosing = TRUE;
    for (UINT_PTR id = timerHoverCheck; id <= timerClose; ++id)
        StopTimer(id);
    if (m_hWnd)
        ::ShowWindow(m_hWnd, SW_HIDE);
    if (m_pContainer) {
        HWND hContainer = m_pContainer->GetSafeHwnd();
        CQXPDockingPaneManager* pManager = m_pPanel ? m_pPanel->GetDockingPaneManager() : NULL;
        if (hContainer && ::GetParent(hContainer) == m_hWnd) {
            ::ShowWindow(hContainer, SW_HIDE);
            if (pManager && pManager->GetSite())
                m_pContainer->SetDockingSite(pManager->GetSite());
        }
    }
    m_pContainer = NULL;
    AutoHidePanel* pPanel = m_pPanel;
    m_pPanel = NULL;
    if (pPanel)
        pPanel->ForgetSlideOut(this);
    if (!m_hWnd) {
        delete this;
        return;
    }
    if (bDestroy)
        DestroyWindow();
    else
        ::PostMessage(m_hWnd, WM_CLOSE, 0, 0);
}

void CQXPDockingPaneAutoHideWnd::CloseDelayed()
{
    if (m_pContainer) {
        HWND hContainer = m_pContainer->GetSafeHwnd();
        CQXPDockingPaneManager* pManager = m_pPanel ? m_pPanel->GetDockingPaneManager() : NULL;
        if (hContainer && ::GetParent(hContainer) == m_hWnd) {
            ::ShowWindow(hContainer, SW_HIDE);
            if (pManager && pManager->GetSite())
                m_pContainer->SetDockingSite(pManager->GetSite());
        }
    }
    m_pContainer = NULL;
    if (m_pPanel)
        m_pPanel->ForgetSlideOut(this);
    StartTimer(timerClose, kCloseDelay);
}

void CQXPDockingPaneAutoHideWnd::GetTrackLimits(MINMAXINFO* pMinMax) const
{
    ZeroMemory(pMinMax, sizeof(*pMinMax));
    pMinMax->ptMaxTrackSize.x = pMinMax->ptMaxTrackSize.y = 32000;
    for (CQXPDockingPane* p : PanesOf(m_pContainer)) {
        MINMAXINFO mmi;
        p->GetMinMaxInfo(&mmi);
        pMinMax->ptMinTrackSize.x = std::max(pMinMax->ptMinTrackSize.x, mmi.ptMinTrackSize.x);
        pMinMax->ptMinTrackSize.y = std::max(pMinMax->ptMinTrackSize.y, mmi.ptMinTrackSize.y);
        pMinMax->ptMaxTrackSize.x = std::min(pMinMax->ptMaxTrackSize.x, mmi.ptMaxTrackSize.x);
        pMinMax->ptMaxTrackSize.y = std::min(pMinMax->ptMaxTrackSize.y, mmi.ptMaxTrackSize.y);
    }
}

BOOL CQXPDockingPaneAutoHideWnd::GetResizeLimits(int& nMin, int& nMax) const
{
    CQXPDockingPaneManager* pManager = m_pPanel ? m_pPanel->GetDockingPaneManager() : NULL;
    if (!pManager || pManager->m_bNoResize || !m_pContainer)
        return FALSE;
    RECT rcArea = GetDockedArea();
    int nArea = m_bVertStrip ? rcArea.bottom - rcArea.top : rcArea.right - rcArea.left;
    MINMAXINFO mmi;
    GetTrackLimits(&mmi);
    int nMinSize = pManager->m_nSplitterGap + kEdge;
    nMin = std::max<int>(nMinSize, (m_bVertStrip ? mmi.ptMinTrackSize.y : mmi.ptMinTrackSize.x) + kEdge);
    nMax = std::min<int>(nArea - nMinSize, (m_bVertStrip ? mmi.ptMaxTrackSize.y : mmi.ptMaxTrackSize.x) + kEdge);
    return nMax > nMin;
}

void CQXPDockingPaneAutoHideWnd::ApplyExtent(int nExtent)
{
    CQXPDockingPane* pPane = GetShownPane();
    if (!pPane)
        return;
    RECT rc = m_rcTarget;
    switch (m_nDirection) {
    case dockLeftOf: rc.right = rc.left + nExtent; break;
    case dockRightOf: rc.left = rc.right - nExtent; break;
    case dockTopOf: rc.bottom = rc.top + nExtent; break;
    default: rc.top = rc.bottom - nExtent; break;
    }
    if (m_bVertStrip)
        pPane->m_szDocking.cy = nExtent - kEdge;
    else
        pPane->m_szDocking.cx = nExtent - kEdge;
    m_rcTarget = rc;
    m_nStep = m_nSteps - 1;
    PlaceForStep();
}

void CQXPDockingPaneAutoHideWnd::TrackResize(POINT ptClick)
{
    int nMin, nMax;
    if (!GetResizeLimits(nMin, nMax))
        return;
    CQXPDockingPaneManager* pManager = m_pPanel->GetDockingPaneManager();
    HWND hSite = pManager->GetSite();
    m_bResizing = TRUE;
    // Positions along the sliding axis in site coordinates: the panel side
    // and the sign towards the interior.
    int nBase, nSign;
    switch (m_nDirection) {
    case dockLeftOf:
        nBase = m_rcTarget.left;
        nSign = 1;
        break;
    case dockRightOf:
        nBase = m_rcTarget.right;
        nSign = -1;
        break;
    case dockTopOf:
        nBase = m_rcTarget.top;
        nSign = 1;
        break;
    default:
        nBase = m_rcTarget.bottom;
        nSign = -1;
        break;
    }
    int nExtent = m_bVertStrip ? m_rcTarget.bottom - m_rcTarget.top : m_rcTarget.right - m_rcTarget.left;
    if (pManager->m_bOutlineTracking) {
        // The outline of the edge, dragged between the limits.
        RECT rcEdge = m_rcTarget;
        int nEdgeStart = nSign > 0 ? nBase + nExtent - kEdge : nBase - nExtent;
        if (m_bVertStrip) {
            rcEdge.top = nEdgeStart;
            rcEdge.bottom = nEdgeStart + kEdge;
        } else {
            rcEdge.left = nEdgeStart;
            rcEdge.right = nEdgeStart + kEdge;
        }
        ::MapWindowPoints(hSite, HWND_DESKTOP, (LPPOINT)&rcEdge, 2);
        POINT ptOrigin = {0, 0};
        ::ClientToScreen(hSite, &ptOrigin);
        int o = m_bVertStrip ? ptOrigin.y : ptOrigin.x;
        int lo = nSign > 0 ? nBase + nMin - kEdge : nBase - nMax;
        int hi = nSign > 0 ? nBase + nMax - kEdge : nBase - nMin;
        RECT rcLimits = rcEdge;
        if (m_bVertStrip) {
            rcLimits.top = lo + o;
            rcLimits.bottom = hi + o + kEdge;
        } else {
            rcLimits.left = lo + o;
            rcLimits.right = hi + o + kEdge;
        }
        POINT ptStart = ptClick;
        ::ClientToScreen(m_hWnd, &ptStart);
        SplitterTracker tracker(m_hWnd);
        if (tracker.Track(rcLimits, rcEdge, ptStart, !m_bVertStrip)) {
            int nNewStart = (m_bVertStrip ? rcEdge.top : rcEdge.left) - o;
            int nNew = nSign > 0 ? nNewStart + kEdge - nBase : nBase - nNewStart;
            ApplyExtent(std::max(nMin, std::min(nMax, nNew)));
        }
    } else {
        POINT ptStart = ptClick;
        ::MapWindowPoints(m_hWnd, hSite, &ptStart, 1);
        const int nStartPos = m_bVertStrip ? ptStart.y : ptStart.x;
        const int nExtentStart = nExtent;
        ::SetCapture(m_hWnd);
        BOOL bDone = FALSE;
        while (!bDone && ::GetCapture() == m_hWnd) {
            MSG msg;
            while (::PeekMessage(&msg, NULL, WM_PAINT, WM_PAINT, PM_REMOVE))
                ::DispatchMessage(&msg);
            if (!::GetMessage(&msg, NULL, 0, 0)) {
                ::PostQuitMessage((int)msg.wParam);
                break;
            }
            switch (msg.message) {
            case WM_MOUSEMOVE: {
                // The edge follows the mouse by as much as it moved.
                POINT pt = {(short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam)};
                ::MapWindowPoints(msg.hwnd, hSite, &pt, 1);
                int nNew = nExtentStart + nSign * ((m_bVertStrip ? pt.y : pt.x) - nStartPos);
                nNew = std::max(nMin, std::min(nMax, nNew));
                if (nNew != nExtent) {
                    nExtent = nNew;
                    ApplyExtent(nNew);
                }
                break;
            }
            case WM_LBUTTONUP:
                bDone = TRUE;
                break;
            case WM_KEYDOWN:
                if (msg.wParam == VK_ESCAPE)
                    bDone = TRUE;
                break;
            default:
                ::DispatchMessage(&msg);
            }
        }
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
    m_bResizing = FALSE;
}

void CQXPDockingPaneAutoHideWnd::DrawWindow(HDC hDC)
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    CDockingPanePaintManager* pPaint = m_pPanel ? m_pPanel->GetPaintManager() : NULL;
    auto color = [&](int n) { return pPaint ? pPaint->GetColor(n) : ::GetSysColor(n); };
    CDC& dc = *CDC::FromHandle(hDC);
    auto line = [&](int x1, int y1, int x2, int y2, int n) {
        RECT r = {x1, y1, x2, y2};
        dc.FillSolidRect(&r, color(n));
    };
    dc.FillSolidRect(&rc, color(51));
    switch (m_nDirection) {
    case dockLeftOf:
        line(rc.right - 1, rc.top, rc.right, rc.bottom, 18);
        line(rc.right - 2, rc.top, rc.right - 1, rc.bottom, 16);
        break;
    case dockRightOf:
        line(rc.left + 1, rc.top, rc.left + 2, rc.bottom, 20);
        break;
    case dockTopOf:
        line(rc.left, rc.bottom - 1, rc.right, rc.bottom, 18);
        line(rc.left, rc.bottom - 2, rc.right, rc.bottom - 1, 16);
        break;
    default:
        line(rc.left, rc.top + 1, rc.right, rc.top + 2, 20);
        break;
    }
}

BEGIN_MESSAGE_MAP(CQXPDockingPaneAutoHideWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

void CQXPDockingPaneAutoHideWnd::OnPaint()
{
    CPaintDC dc(this);
    DrawWindow(dc.GetSafeHdc());
}

BOOL CQXPDockingPaneAutoHideWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

BOOL CQXPDockingPaneAutoHideWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    int nMin, nMax;
    if (nHitTest == HTCLIENT && GetResizeLimits(nMin, nMax)) {
        ::SetCursor(m_bVertStrip ? ToolkitCursor(QX_IDC_SPLIT_UPDOWN, IDC_SIZENS)
                                 : ToolkitCursor(QX_IDC_SPLIT_LEFTRIGHT, IDC_SIZEWE));
        return TRUE;
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CQXPDockingPaneAutoHideWnd::OnLButtonDown(UINT, CPoint point)
{
    TrackResize(point);
}

void CQXPDockingPaneAutoHideWnd::OnMouseMove(UINT, CPoint)
{
    if (m_bCollapsing)
        HoverCheck();
    Default();
}

void CQXPDockingPaneAutoHideWnd::OnDestroy()
{
    // Destroyed with its frame: the panel and the group must not use it.
    if (!m_bClosing) {
        m_bClosing = TRUE;
        m_nTimers = 0;
        AutoHidePanel* pPanel = m_pPanel;
        m_pPanel = NULL;
        m_pContainer = NULL;
        if (pPanel)
            pPanel->ForgetSlideOut(this);
    }
    Default();
}

void CQXPDockingPaneAutoHideWnd::OnClose()
{
    if (!m_bClosing)
        CloseNow(TRUE); // destroys the window (and this object)
    else
        DestroyWindow();
}
