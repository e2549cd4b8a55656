// The floating frame (its model part).
#include <qx/miniwnd.h>
#include <qx/panelayout.h>
#include <qx/panemanager.h>
#include <qx/propexchange.h>
#include <qx/splittercontainer.h>

CQXPDockingPaneMiniWnd::CQXPDockingPaneMiniWnd(DockingLayoutStore* pLayout)
    : CPaneBase(paneTypeMiniWnd, pLayout), m_bCollapsed(FALSE), m_nExpandedHeight(0), m_pTopContainer(NULL)
{
    SetRectEmpty(&m_rcScreen);
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
    CPaneSplitterContainer* pTop = dynamic_cast<CPaneSplitterContainer*>(pPane);
    if (!pTop && pManager) {
        pTop = static_cast<CPaneSplitterContainer*>(pManager->CreatePaneObject(paneTypeSplitterContainer, m_pLayout));
        pTop->Init(pPane, TRUE, m_hDockingSite);
    }
    SetTopContainer(pTop);
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
    }
}

CPaneBase* CQXPDockingPaneMiniWnd::Clone(DockingLayoutStore* pLayout, PaneCloneMap* pMap, DWORD dwIgnoredOptions)
{
    CPaneBase* pBase = CPaneBase::Clone(pLayout, pMap, dwIgnoredOptions);
    CQXPDockingPaneMiniWnd* pClone = dynamic_cast<CQXPDockingPaneMiniWnd*>(pBase);
    if (!pClone)
        return pBase;
    pClone->m_rcScreen = m_rcScreen;
    pClone->m_bCollapsed = m_bCollapsed;
    pClone->m_nExpandedHeight = m_nExpandedHeight;
    if (m_pTopContainer)
        pClone->SetTopContainer(
            dynamic_cast<CPaneSplitterContainer*>(m_pTopContainer->Clone(pLayout, pMap, dwIgnoredOptions)));
    return pClone;
}

BOOL CQXPDockingPaneMiniWnd::DoPropExchange(CQXPPropExchange* pPX, PaneExchangeContext& ctx)
{
    CPaneBase::DoPropExchange(pPX, ctx);
    ExchangeIntProp(pPX, "WindowRectTopPos", &m_rcScreen.top, 0L);
    ExchangeIntProp(pPX, "WindowRectBottomPos", &m_rcScreen.bottom, 0L);
    ExchangeIntProp(pPX, "WindowRectLeftPos", &m_rcScreen.left, 0L);
    ExchangeIntProp(pPX, "WindowRectRightPos", &m_rcScreen.right, 0L);
    ExchangeBoolProp(pPX, "Collapsed", &m_bCollapsed, FALSE);
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
