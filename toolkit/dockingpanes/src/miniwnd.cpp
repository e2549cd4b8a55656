// The floating frame (its model part).
#include <qx/miniwnd.h>
#include <qx/panelayout.h>
#include <qx/panemanager.h>
#include <qx/propexchange.h>
#include <qx/splittercontainer.h>
#include <qx/tabbedcontainer.h>
#include <qx/panepaint.h>

CQXPDockingPaneMiniWnd::CQXPDockingPaneMiniWnd(DockingLayoutStore* pLayout)
    : CPaneBase(paneTypeMiniWnd, pLayout), m_bCollapsed(FALSE), m_nExpandedHeight(0), m_bClosable(TRUE),
      m_bRollUp(FALSE), m_bCollapsing(FALSE), m_bExpanded(FALSE), m_nSteps(8), m_nStep(8), m_nHoverCountdown(0),
      m_bActive(FALSE), m_bLayoutPending(FALSE), m_pTopContainer(NULL), m_bInRecalc(FALSE)
{
    SetRectEmpty(&m_rcScreen);
    for (int id : {QX_IDS_DOCKINGPANE_CLOSE, QX_IDS_DOCKINGPANE_AUTOHIDE, QX_IDS_DOCKINGPANE_MENU})
        m_arrCaptionButtons.push_back(new CaptionButton(id, this));
}

CQXPDockingPaneMiniWnd::~CQXPDockingPaneMiniWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

void CQXPDockingPaneMiniWnd::SetTopContainer(CPaneSplitterContainer* pTop)
{
    m_pTopContainer = pTop;
    if (pTop) {
        pTop->SetParentContainer(this);
        pTop->OnParentContainerChanged(this);
    }
}

void CQXPDockingPaneMiniWnd::Init(CPaneBase* pPane, const RECT& rcScreen)
{
    m_rcScreen = rcScreen;
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (IsLive())
        CreateFrame(rcScreen);
    if (pPane && pPane->GetType() == paneTypeDockingPane && pManager) {
        CQXPDockingPaneTabbedContainer* pTab = static_cast<CQXPDockingPaneTabbedContainer*>(
            pManager->CreatePaneObject(paneTypeTabbedContainer, m_pLayout));
        pTab->Init(static_cast<CQXPDockingPane*>(pPane), GetDockingSite());
        pPane = pTab;
    }
    CPaneSplitterContainer* pTop = dynamic_cast<CPaneSplitterContainer*>(pPane);
    if (!pTop && pManager && pPane) {
        pTop = static_cast<CPaneSplitterContainer*>(pManager->CreatePaneObject(paneTypeSplitterContainer, m_pLayout));
        pTop->Init(pPane, TRUE, GetDockingSite());
    }
    SetTopContainer(pTop);
    if (m_hWnd) {
        m_bLayoutPending = TRUE;
        m_nIdleFlags |= idleNotify | idleLayout;
        ::PostMessage(m_hWnd, WM_IDLEUPDATECMDUI, 0, 0);
        UpdatePanes(FALSE);
        OnFocusChanged();
    }
}

BOOL CQXPDockingPaneMiniWnd::IsLive() const
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    return pManager && m_pLayout && m_pLayout == pManager->GetLayout() && !m_pLayout->IsLoading() &&
           pManager->GetSite();
}

BOOL CQXPDockingPaneMiniWnd::ContainsPane(const CPaneBase* pPane) const
{
    return pPane == this || (m_pTopContainer && m_pTopContainer->ContainsPane(pPane));
}

void CQXPDockingPaneMiniWnd::FindPane(int nType, PaneObjectList& list)
{
    if (nType == paneTypeMiniWnd)
        list.push_back(this);
    else if (m_pTopContainer)
        m_pTopContainer->FindPane(nType, list);
}

BOOL CQXPDockingPaneMiniWnd::IsEmpty() const
{
    return !m_pTopContainer || m_pTopContainer->IsEmpty();
}

void CQXPDockingPaneMiniWnd::RemovePane(CPaneBase* pPane)
{
    if (pPane == m_pTopContainer) {
        m_pTopContainer->SetParentContainer(NULL);
        m_pTopContainer = NULL;
        if (m_hWnd)
            ::ShowWindow(m_hWnd, SW_HIDE);
        if (m_bRollUp)
            SetRollUp(FALSE);
    }
}

CPaneBase* CQXPDockingPaneMiniWnd::Clone(DockingLayoutStore* pLayout, PaneCloneMap* pMap, DWORD dwIgnoredOptions)
{
    CPaneBase* pBase = CPaneBase::Clone(pLayout, pMap, dwIgnoredOptions);
    CQXPDockingPaneMiniWnd* pClone = dynamic_cast<CQXPDockingPaneMiniWnd*>(pBase);
    if (!pClone)
        return pBase;
    pClone->m_rcScreen = m_rcScreen;
    if (m_hWnd)
        ::GetWindowRect(m_hWnd, &pClone->m_rcScreen);
    pClone->m_nExpandedHeight = m_nExpandedHeight;
    // A frame in roll-up mode comes back rolled up to its caption; it
    // expands to its full height when the mouse comes over it.
    if (m_bRollUp) {
        RECT& rc = pClone->m_rcScreen;
        if (pClone->m_nExpandedHeight <= 0)
            pClone->m_nExpandedHeight = rc.bottom - rc.top;
        rc.bottom = rc.top + CaptionHeight() + 8;
    }
    // Into the live layout the frame comes back as a window.
    if (pClone->IsLive())
        pClone->CreateFrame(pClone->m_rcScreen);
    if (m_pTopContainer)
        pClone->SetTopContainer(
            dynamic_cast<CPaneSplitterContainer*>(m_pTopContainer->Clone(pLayout, pMap, dwIgnoredOptions)));
    // The mode once the frame has its content (an empty frame leaves it).
    if (m_bRollUp) {
        pClone->m_bRollUp = pClone->m_bCollapsed = TRUE;
        pClone->m_bExpanded = pClone->m_bCollapsing = FALSE;
        pClone->m_nStep = 0;
    }
    if (pClone->m_hWnd) {
        pClone->m_bLayoutPending = TRUE;
        ::PostMessage(pClone->m_hWnd, WM_IDLEUPDATECMDUI, 0, 0);
    }
    return pClone;
}

BOOL CQXPDockingPaneMiniWnd::DoPropExchange(CQXPPropExchange* pPX, PaneExchangeContext& ctx)
{
    CPaneBase::DoPropExchange(pPX, ctx);
    ExchangeIntProp(pPX, "WindowRectTopPos", &m_rcScreen.top, 0L);
    ExchangeIntProp(pPX, "WindowRectBottomPos", &m_rcScreen.bottom, 0L);
    ExchangeIntProp(pPX, "WindowRectLeftPos", &m_rcScreen.left, 0L);
    ExchangeIntProp(pPX, "WindowRectRightPos", &m_rcScreen.right, 0L);
    // "Collapsed": the frame is in roll-up mode.
    ExchangeBoolProp(pPX, "Collapsed", &m_bRollUp, FALSE);
    ExchangeIntProp(pPX, "ExpandedHeight", &m_nExpandedHeight, 0);
    int nTop = ctx.IndexOf(m_pTopContainer);
    ExchangeIntProp(pPX, "TopContaner", &nTop, 0);
    if (pPX->IsStoring())
        return TRUE;
    CPaneBase* p = ctx.Lookup(nTop);
    if (!p || p->GetType() != paneTypeSplitterContainer || !ctx.CanAdopt(this, p))
        return FALSE;
    SetTopContainer(static_cast<CPaneSplitterContainer*>(p));
    return TRUE;
}
