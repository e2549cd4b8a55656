// The auto-hide panel of one frame side (its model part).
#include <qx/autohide.h>
#include <qx/dockingpane.h>
#include <qx/layout.h>
#include <qx/panemanager.h>
#include <qx/propexchange.h>

#include <cstdio>

AutoHidePanel::AutoHidePanel(DockingLayoutStore* pLayout)
    : CPaneContainerBase(paneTypeAutoHidePanel, pLayout), m_nDirection(0)
{
}

void AutoHidePanel::AddGroup(CPaneBase* pGroup)
{
    if (!pGroup)
        return;
    InsertChild(pGroup, NULL, TRUE);
    pGroup->SetParentContainer(this);
    pGroup->SetDockingSite(GetDockingSite());
    pGroup->OnParentContainerChanged(this);
}

void AutoHidePanel::RemovePane(CPaneBase* pPane)
{
    if (UnlinkChild(pPane))
        pPane->SetParentContainer(NULL);
}

BOOL AutoHidePanel::IsEmpty() const
{
    return m_lstPanes.empty();
}

int AutoHidePanel::GetStripSize() const
{
    return IsEmpty() ? 0 : 24;
}

void AutoHidePanel::OnSizeParent(HWND /*hParent*/, const RECT& rect, AFX_SIZEPARENTPARAMS* lpParams)
{
    RECT rc = rect;
    int n = GetStripSize();
    switch (m_nDirection) {
    case dockLeftOf: rc.right = rc.left + n; break;
    case dockRightOf: rc.left = rc.right - n; break;
    case dockTopOf: rc.bottom = rc.top + n; break;
    default: rc.top = rc.bottom - n; break;
    }
    m_rcWindow = rc;
    if (lpParams)
        lpParams->rect = rect;
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
