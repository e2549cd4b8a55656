// The base of every layout object and the list-holding container base.
#include <qx/panetree.h>
#include <qx/panelayout.h>
#include <qx/panemanager.h>
#include <qx/panepaint.h>
#include <qx/propexchange.h>

#include <algorithm>

CPaneBase* PaneExchangeContext::Lookup(int nIndex) const
{
    if (nIndex < 1 || nIndex > (int)m_objects.size())
        return NULL;
    return m_objects[nIndex - 1];
}

int PaneExchangeContext::IndexOf(const CPaneBase* pObject) const
{
    if (!pObject)
        return 0;
    for (size_t i = 0; i < m_objects.size(); ++i)
        if (m_objects[i] == pObject)
            return (int)i + 1;
    return 0;
}

BOOL PaneExchangeContext::CanAdopt(const CPaneBase* pParent, const CPaneBase* pChild) const
{
    if (!pParent || !pChild || pParent == pChild)
        return FALSE;
    if (pChild->m_pParentContainer != NULL)
        return FALSE; // listed twice
    if (pChild->m_nType == paneTypeMiniWnd || pChild->m_nType == paneTypeAutoHidePanel)
        return FALSE;
    // A child that (through links already made) holds the parent would close
    // a loop.
    if (pChild->ContainsPane(pParent))
        return FALSE;
    for (const CPaneBase* p = pParent; p; p = p->m_pParentContainer)
        if (p == pChild)
            return FALSE;
    return TRUE;
}

// ---------------------------------------------------------------------------
CPaneBase::CPaneBase(int nType, DockingLayoutStore* pLayout)
    : m_pLayout(pLayout), m_pParentContainer(NULL), m_hDockingSite(NULL), m_nType(nType), m_nRef(1)
{
    m_szDocking.cx = m_szDocking.cy = 0;
    SetRectEmpty(&m_rcWindow);
    if (pLayout) {
        if (pLayout->GetManager())
            m_hDockingSite = pLayout->GetManager()->GetSite();
        pLayout->AddObject(this);
    }
}

CPaneBase::~CPaneBase()
{
    for (CaptionButton* p : m_arrCaptionButtons)
        delete p;
    m_arrCaptionButtons.clear();
}

void CPaneBase::InternalRelease()
{
    if (--m_nRef == 0)
        delete this;
}

void CPaneBase::Invalidate()
{
    HWND hWnd = GetPaneHwnd();
    if (hWnd && ::IsWindow(hWnd))
        ::InvalidateRect(hWnd, NULL, FALSE);
}

BOOL CPaneBase::ContainsPane(const CPaneBase* pPane) const
{
    return pPane == this;
}

void CPaneBase::FindPane(int nType, PaneObjectList& list)
{
    if (m_nType == nType)
        list.push_back(this);
}

void CPaneBase::GetMinMaxInfo(MINMAXINFO* pMinMax) const
{
    ZeroMemory(pMinMax, sizeof(MINMAXINFO));
    pMinMax->ptMaxTrackSize.x = pMinMax->ptMaxTrackSize.y = 32000;
}

BOOL CPaneBase::IsEmpty() const
{
    return FALSE;
}

void CPaneBase::OnSizeParent(HWND /*hParent*/, const RECT& rect, AFX_SIZEPARENTPARAMS* lpParams)
{
    m_rcWindow = rect;
    if (lpParams)
        lpParams->rect = rect;
}

void CPaneBase::UpdatePanes(BOOL bRelayout)
{
    if (m_pParentContainer)
        m_pParentContainer->UpdatePanes(bRelayout);
}

BOOL CPaneBase::DoPropExchange(CQXPPropExchange* pPX, PaneExchangeContext& /*ctx*/)
{
    ExchangeIntProp(pPX, "DockingCX", &m_szDocking.cx, 0);
    ExchangeIntProp(pPX, "DockingCY", &m_szDocking.cy, 0);
    return TRUE;
}

CPaneBase* CPaneBase::Clone(DockingLayoutStore* pLayout, PaneCloneMap* pMap, DWORD /*dwIgnoredOptions*/)
{
    CQXPDockingPaneManager* pManager = pLayout ? pLayout->GetManager() : NULL;
    CPaneBase* pClone = pManager ? pManager->CreatePaneObject(m_nType, pLayout) : NULL;
    if (pClone) {
        pClone->m_szDocking = m_szDocking;
        pClone->m_rcWindow = m_rcWindow;
        if (pMap)
            pMap->Add(this, pClone);
    }
    return pClone;
}

CQXPDockingPaneManager* CPaneBase::GetDockingPaneManager() const
{
    return m_pLayout ? m_pLayout->GetManager() : NULL;
}

CDockingPanePaintManager* CPaneBase::GetPaintManager() const
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    return pManager ? pManager->GetPaintManager() : NULL;
}

void CPaneBase::GetWindowRect(LPRECT lpRect) const
{
    *lpRect = m_rcWindow;
    HWND hSite = GetDockingSite();
    if (hSite && ::IsWindow(hSite))
        ::MapWindowPoints(hSite, HWND_DESKTOP, (LPPOINT)lpRect, 2);
}

CPaneBase* CPaneBase::GetRoot() const
{
    const CPaneBase* p = this;
    while (p->m_pParentContainer)
        p = p->m_pParentContainer;
    return const_cast<CPaneBase*>(p);
}

// ---------------------------------------------------------------------------
BOOL CPaneContainerBase::ContainsPane(const CPaneBase* pPane) const
{
    if (pPane == this)
        return TRUE;
    for (CPaneBase* p : m_lstPanes)
        if (p->ContainsPane(pPane))
            return TRUE;
    return FALSE;
}

void CPaneContainerBase::FindPane(int nType, PaneObjectList& list)
{
    if (m_nType == nType) {
        if (IsEmpty())
            return;
        list.push_back(this);
    }
    for (CPaneBase* p : m_lstPanes)
        p->FindPane(nType, list);
}

BOOL CPaneContainerBase::IsEmpty() const
{
    for (CPaneBase* p : m_lstPanes)
        if (!p->IsEmpty())
            return FALSE;
    return TRUE;
}

int CPaneContainerBase::IndexOfChild(const CPaneBase* pPane) const
{
    for (size_t i = 0; i < m_lstPanes.size(); ++i)
        if (m_lstPanes[i] == pPane)
            return (int)i;
    return -1;
}

void CPaneContainerBase::InsertChild(CPaneBase* pPane, CPaneBase* pNeighbour, BOOL bAfter)
{
    int i = pNeighbour ? IndexOfChild(pNeighbour) : -1;
    if (i < 0)
        m_lstPanes.insert(bAfter ? m_lstPanes.end() : m_lstPanes.begin(), pPane);
    else
        m_lstPanes.insert(m_lstPanes.begin() + (bAfter ? i + 1 : i), pPane);
}

BOOL CPaneContainerBase::UnlinkChild(CPaneBase* pPane)
{
    int i = IndexOfChild(pPane);
    if (i < 0)
        return FALSE;
    m_lstPanes.erase(m_lstPanes.begin() + i);
    return TRUE;
}

// ---------------------------------------------------------------------------
void CPaneClientContainer::GetMinMaxInfo(MINMAXINFO* pMinMax) const
{
    CPaneBase::GetMinMaxInfo(pMinMax);
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (pManager && !pManager->m_bHideClient) {
        pMinMax->ptMinTrackSize.x = pManager->m_szClientMin.cx;
        pMinMax->ptMinTrackSize.y = pManager->m_szClientMin.cy;
    }
}

BOOL CPaneClientContainer::IsEmpty() const
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    return pManager && pManager->m_bHideClient;
}
