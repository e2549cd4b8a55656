// The tabbed container: panes sharing one place behind tabs.
#include <qx/tabbedcontainer.h>
#include <qx/dockingpane.h>
#include <qx/panelayout.h>
#include <qx/panemanager.h>
#include <qx/panepaint.h>
#include <qx/propexchange.h>
#include <qx/splittercontainer.h>
#include <qx/tabpaint.h>
#include <qx/toolkitres.h>
#include <qx/tooltips.h>
#include "dragovertarget.h"

#include <algorithm>
#include <cstdio>

namespace {

// The tabs of a container: items mirror the panes; drawing and layout come
// from the paint manager's pane-tab painter.
class PaneTabManager : public CQXPTabManager {
public:
    explicit PaneTabManager(CQXPDockingPaneTabbedContainer* pOwner) : m_pOwner(pOwner) {}
    // The container is active while the focus lies in it.
    BOOL IsFocused() const override { return m_pOwner->IsActive(); }
    CQXPTabPainter* GetPaintManager() const override
    {
        CDockingPanePaintManager* p = m_pOwner->GetPaintManager();
        return p ? p->GetTabPainter() : NULL;
    }
    void RedrawControl(LPCRECT lpRect, BOOL) override
    {
        if (m_pOwner->GetSafeHwnd())
            ::InvalidateRect(m_pOwner->GetSafeHwnd(), lpRect, FALSE);
    }
    // A scroll, a reorder or a changed item: the strip is laid out again.
    void OnPropertyChanged() override { m_pOwner->OnTabsChanged(); }
    // The tab manager's own reorder loop moved items: the panes follow.
    void OnItemsChanged() override
    {
        CQXPTabManager::OnItemsChanged();
        m_pOwner->OnTabsReordered();
    }
    // The pane's icon (drawn when the pane-tab painter shows icons).
    DWORD_PTR GetItemImage(const CQXPTabManagerItem* pItem) const override
    {
        CQXPDockingPaneManager* pManager = m_pOwner->GetDockingPaneManager();
        return pManager ? (DWORD_PTR)pManager->GetPaneIcon(reinterpret_cast<CQXPDockingPane*>(pItem->m_dwData)) : 0;
    }
    void OnItemClick(CQXPTabManagerItem* pItem) override
    {
        CQXPTabManager::OnItemClick(pItem);
        if (pItem)
            m_pOwner->SelectPane(reinterpret_cast<CQXPDockingPane*>(pItem->m_dwData), TRUE, FALSE);
    }

private:
    CQXPDockingPaneTabbedContainer* m_pOwner;
};

// Data dragged over a tab from anywhere brings that tab's pane to the front
// (with the pane-tab painter's option); nothing is ever dropped here.
class PaneTabDropTarget : public DragOverTarget {
public:
    explicit PaneTabDropTarget(CQXPDockingPaneTabbedContainer* pOwner) : m_pOwner(pOwner) {}
    DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint point) override
    {
        CDockingPanePaintManager* pPaint = m_pOwner->GetPaintManager();
        CQXPTabPainter* pTabs = pPaint ? pPaint->GetTabPainter() : NULL;
        const int nHit = m_pOwner->HitTest(point);
        if (pTabs && pTabs->m_bActivateOnDragOver && nHit >= 0 && nHit < (int)m_pOwner->GetPanes().size()) {
            CQXPDockingPane* pPane = static_cast<CQXPDockingPane*>(m_pOwner->GetPanes()[nHit]);
            if (pPane != m_pOwner->GetSelected())
                m_pOwner->SelectPane(pPane, FALSE, FALSE);
        }
        return DROPEFFECT_NONE;
    }

private:
    CQXPDockingPaneTabbedContainer* m_pOwner;
};

} // namespace

CQXPDockingPaneTabbedContainer::CQXPDockingPaneTabbedContainer(DockingLayoutStore* pLayout)
    : CPaneContainerBase(paneTypeTabbedContainer, pLayout), m_bActive(FALSE), m_bTitleVisible(TRUE),
      m_nLockUpdate(0), m_bEnsureSelectedTab(FALSE), m_pSelectedPane(NULL), m_pTrackingPane(NULL),
      m_bMaximized(FALSE), m_pTabs(NULL), m_pDropTarget(NULL)
{
    m_pTabs = new PaneTabManager(this);
    m_pDropTarget = new PaneTabDropTarget(this);
    SetRectEmpty(&m_rcClient);
    static const int ids[] = {QXP_IDS_DOCKINGPANE_CLOSE, QXP_IDS_DOCKINGPANE_MAXIMIZE, QXP_IDS_DOCKINGPANE_RESTORE,
                              QXP_IDS_DOCKINGPANE_AUTOHIDE, QXP_IDS_DOCKINGPANE_MENU};
    for (int id : ids)
        m_arrCaptionButtons.push_back(new CaptionButton(id, this));
}

CQXPDockingPaneTabbedContainer::~CQXPDockingPaneTabbedContainer()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
    m_pDropTarget->InternalRelease();
    delete m_pTabs;
}

void CQXPDockingPaneTabbedContainer::CreatePaneWindow()
{
    // Only the live layout has windows; copies and loaded layouts are data.
    if (m_hWnd || !m_pLayout || m_pLayout->IsLoading() || m_pLayout->m_bUserLayout)
        return;
    HWND hSite = GetDockingSite();
    if (!hSite || !::IsWindow(hSite))
        return;
    RECT rc = {0, 0, 0, 0};
    if (CreateEx(0, "QXPDockingPaneTabbedContainer", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rc,
                 CWnd::FromHandle(hSite), 0))
        m_pDropTarget->Register(this);
}

void CQXPDockingPaneTabbedContainer::LayoutTabs()
{
    m_arrTabRects.clear();
    CDockingPanePaintManager* pPaint = GetPaintManager();
    if (pPaint && IsTabsVisible()) {
        const RECT rc = {0, 0, m_rcWindow.right - m_rcWindow.left, m_rcWindow.bottom - m_rcWindow.top};
        m_pTabs->Reposition(NULL, pPaint->GetTabStripRect(this, rc));
        for (int i = 0; i < m_pTabs->GetItemCount(); ++i)
            m_arrTabRects.push_back(m_pTabs->GetItem(i)->GetRect());
    }
}

void CQXPDockingPaneTabbedContainer::OnTabsChanged()
{
    if (!m_nLockUpdate) {
        ++m_nLockUpdate;
        LayoutTabs();
        --m_nLockUpdate;
    }
    Invalidate();
}

void CQXPDockingPaneTabbedContainer::OnTabsReordered()
{
    if (m_nLockUpdate || m_pTabs->GetItemCount() != (int)m_lstPanes.size())
        return;
    PaneObjectList panes;
    for (int i = 0; i < m_pTabs->GetItemCount(); ++i) {
        CPaneBase* p = reinterpret_cast<CQXPDockingPane*>(m_pTabs->GetItem(i)->m_dwData);
        if (IndexOfChild(p) < 0)
            return;
        panes.push_back(p);
    }
    m_lstPanes = panes;
}

void CQXPDockingPaneTabbedContainer::Init(CQXPDockingPane* pPane, HWND hSite)
{
    m_hDockingSite = hSite;
    m_szDocking = pPane->m_szDocking;
    m_rcWindow = pPane->m_rcWindow;
    AddPane(pPane, FALSE);
    SelectPane(pPane, FALSE, TRUE);
}

void CQXPDockingPaneTabbedContainer::AddPane(CQXPDockingPane* pPane, BOOL bSetFocus)
{
    if (!pPane)
        return;
    // The window is made by the next layout (OnSizeParent): a container
    // that is emptied before that (a pane made and then attached elsewhere,
    // as at start-up) never costs a window.
    InsertChild(pPane, NULL, TRUE);
    pPane->SetDockingSite(GetDockingSite());
    pPane->SetParentContainer(this);
    m_bEnsureSelectedTab = TRUE;
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
        pManager->RecalcFrameLayout(this, TRUE);
    SelectPane(pPane, bSetFocus, TRUE);
    if (m_pParentContainer)
        m_pParentContainer->OnChildContainerChanged(this);
}

void CQXPDockingPaneTabbedContainer::RemovePane(CPaneBase* pPane)
{
    if (!UnlinkChild(pPane))
        return;
    if (m_pTrackingPane == pPane)
        EndTabDrag();
    UpdateTabs();
    pPane->SetParentContainer(NULL);
    if (m_pParentContainer)
        m_pParentContainer->OnChildContainerChanged(this);
    if (m_lstPanes.empty()) {
        if (m_bActive) {
            m_bActive = FALSE;
            if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
                pManager->SetActivePane(NULL, m_pSelectedPane);
        }
        if (m_hWnd && ::IsWindow(m_hWnd))
            DestroyWindow();
    }
    m_bEnsureSelectedTab = TRUE;
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
        pManager->RecalcFrameLayout(this, TRUE);
    if (m_pSelectedPane == pPane) {
        m_pSelectedPane = NULL;
        if (!m_lstPanes.empty())
            SelectPane(static_cast<CQXPDockingPane*>(m_lstPanes.back()), TRUE, TRUE);
    }
}

void CQXPDockingPaneTabbedContainer::SelectPane(CQXPDockingPane* pPane, BOOL bSetFocus, BOOL bDelayRedraw)
{
    if (!pPane || IndexOfChild(pPane) < 0)
        return;
    if (pPane != m_pSelectedPane) {
        m_pSelectedPane = pPane;
        if (bDelayRedraw) {
            m_bEnsureSelectedTab = TRUE;
            if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
                pManager->RecalcFrameLayout(this, TRUE);
            if (m_pParentContainer)
                m_pParentContainer->OnChildContainerChanged(this);
        } else {
            UpdatePanes(TRUE);
        }
    }
    UpdateTabs();
    if (bSetFocus) {
        CQXPDockingPaneManager* pManager = GetDockingPaneManager();
        if (m_bActive && pManager)
            pManager->SetActivePane(pPane->GetChild(), pPane);
        pPane->SetFocus();
    }
}

void CQXPDockingPaneTabbedContainer::ShowPane(CQXPDockingPane* pPane, BOOL bSetFocus)
{
    SelectPane(pPane, bSetFocus, TRUE);
}

CString CQXPDockingPaneTabbedContainer::GetTitle() const
{
    return m_pSelectedPane ? m_pSelectedPane->GetTitle() : CString();
}

void CQXPDockingPaneTabbedContainer::ShowCaption(BOOL bShow)
{
    m_bTitleVisible = bShow;
    m_bEnsureSelectedTab = TRUE;
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
        pManager->RecalcFrameLayout(this, TRUE);
}

BOOL CQXPDockingPaneTabbedContainer::IsCaptionVisible() const
{
    CDockingPanePaintManager* pPaint = GetPaintManager();
    return m_bTitleVisible && m_pSelectedPane && !(m_pSelectedPane->GetOptions() & paneNoCaption) &&
           (!pPaint || pPaint->IsShowCaption());
}

// Whether the client container lies in the object or below it.
static BOOL HoldsClient(const CPaneBase* p)
{
    if (p->GetType() == paneTypeClientContainer)
        return TRUE;
    if (const CPaneSplitterContainer* pSplitter = dynamic_cast<const CPaneSplitterContainer*>(p))
        for (const CPaneBase* c : pSplitter->GetPanes())
            if (HoldsClient(c))
                return TRUE;
    return FALSE;
}

BOOL CQXPDockingPaneTabbedContainer::IsCaptionVertical() const
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    const int nDirection = pManager ? pManager->m_nCaptionDirection : 0;
    switch (nDirection) {
    case 0: return FALSE;
    case 2: {
        // Docked at the top or bottom: the nearest splitter that also holds
        // the client stacks its children.
        const CPaneBase* pChild = this;
        for (const CPaneBase* p = GetContainer(); p; pChild = p, p = p->GetContainer()) {
            const CPaneSplitterContainer* pSplitter = dynamic_cast<const CPaneSplitterContainer*>(p);
            if (!pSplitter)
                continue;
            for (const CPaneBase* c : pSplitter->GetPanes())
                if (c != pChild && HoldsClient(c))
                    return !pSplitter->IsHorizontal();
        }
        return FALSE;
    }
    case 3: {
        const RECT& rc = GetPaneRect();
        return rc.right - rc.left > rc.bottom - rc.top;
    }
    default: return TRUE;
    }
}

BOOL CQXPDockingPaneTabbedContainer::IsTabsVisible() const
{
    if (IsHidden())
        return FALSE;
    CDockingPanePaintManager* pPaint = GetPaintManager();
    return m_lstPanes.size() >= 2 || (!m_lstPanes.empty() && pPaint && pPaint->IsAlwaysShowTabs());
}

BOOL CQXPDockingPaneTabbedContainer::IsHidden() const
{
    return m_pParentContainer && m_pParentContainer->GetType() == paneTypeAutoHidePanel;
}

int CQXPDockingPaneTabbedContainer::HitTest(CPoint pt) const
{
    RECT rc = {0, 0, m_rcWindow.right - m_rcWindow.left, m_rcWindow.bottom - m_rcWindow.top};
    if (IsCaptionVisible()) {
        RECT rcClient = rc;
        if (CDockingPanePaintManager* pPaint = GetPaintManager())
            rcClient = pPaint->GetCaptionRect(this, rc);
        if (::PtInRect(&rcClient, pt))
            return -2;
    }
    if (IsTabsVisible()) {
        for (size_t i = 0; i < m_arrTabRects.size(); ++i)
            if (::PtInRect(&m_arrTabRects[i], pt))
                return (int)i;
    }
    return -1;
}

void CQXPDockingPaneTabbedContainer::Copy(CQXPDockingPaneTabbedContainer* pSource, PaneCloneMap* pMap,
                                          DWORD dwIgnoredOptions)
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    m_hDockingSite = pManager ? pManager->GetSite() : NULL;
    m_szDocking = pSource->m_szDocking;
    m_rcWindow = pSource->m_rcWindow;
    m_pSelectedPane = NULL;
    m_pTrackingPane = NULL;
    m_bEnsureSelectedTab = TRUE;
    CQXPDockingPane* pSelected = NULL;
    PaneObjectList panes = pSource->m_lstPanes;
    for (CPaneBase* p : panes) {
        CQXPDockingPane* pPane = static_cast<CQXPDockingPane*>(p);
        CQXPDockingPane* pNew = NULL;
        if (pMap) {
            pNew = static_cast<CQXPDockingPane*>(pPane->Clone(m_pLayout, pMap, dwIgnoredOptions));
        } else if (!(pPane->GetOptions() & dwIgnoredOptions)) {
            pSource->RemovePane(pPane);
            pNew = pPane;
        }
        if (!pNew)
            continue;
        AddPane(pNew, FALSE);
        if (pSource->m_pSelectedPane == pPane || (!pMap && pSource->GetSelected() == NULL && pSelected == NULL))
            pSelected = pNew;
    }
    if (pSelected)
        SelectPane(pSelected, FALSE, TRUE);
}

void CQXPDockingPaneTabbedContainer::UpdateTabs()
{
    if (m_nLockUpdate)
        return;
    ++m_nLockUpdate;
    // Items in pane order, each standing for its pane.
    while (m_pTabs->GetItemCount() > (int)m_lstPanes.size())
        m_pTabs->DeleteItem(m_pTabs->GetItemCount() - 1);
    while (m_pTabs->GetItemCount() < (int)m_lstPanes.size())
        m_pTabs->AddItem(-1);
    CQXPTabManagerItem* pSelected = NULL;
    for (size_t i = 0; i < m_lstPanes.size(); ++i) {
        CQXPDockingPane* pPane = static_cast<CQXPDockingPane*>(m_lstPanes[i]);
        CQXPTabManagerItem* pItem = m_pTabs->GetItem((int)i);
        pItem->m_strCaption = pPane->GetTitle();
        pItem->m_strToolTip = pPane->GetTitle();
        pItem->m_bEnabled = (pPane->GetEnabled() & 1) != 0;
        pItem->m_dwData = reinterpret_cast<DWORD_PTR>(pPane);
        pItem->m_clrItem = pPane->GetTabColor();
        if (pPane == m_pSelectedPane)
            pSelected = pItem;
    }
    m_pTabs->SetSelectedItem(pSelected);
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::InvalidateRect(m_hWnd, NULL, FALSE);
    --m_nLockUpdate;
}

BOOL CQXPDockingPaneTabbedContainer::CanMaximize() const
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    CPaneSplitterContainer* pParent = dynamic_cast<CPaneSplitterContainer*>(m_pParentContainer);
    if (!pParent || !pManager || !pManager->m_bAllowMaximize)
        return FALSE;
    PaneObjectList list;
    pParent->GetChildren(paneTypeTabbedContainer, list);
    return list.size() > 1;
}

void CQXPDockingPaneTabbedContainer::Maximize()
{
    CPaneSplitterContainer* pParent = dynamic_cast<CPaneSplitterContainer*>(m_pParentContainer);
    if (!pParent)
        return;
    for (CPaneBase* p : pParent->GetPanes())
        if (CQXPDockingPaneTabbedContainer* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p))
            t->m_bMaximized = (t == this);
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
        pManager->RecalcFrameLayout(this, FALSE);
}

void CQXPDockingPaneTabbedContainer::Restore()
{
    m_bMaximized = FALSE;
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
        pManager->RecalcFrameLayout(this, FALSE);
}

void CQXPDockingPaneTabbedContainer::GetMinMaxInfo(MINMAXINFO* pMinMax) const
{
    CPaneBase::GetMinMaxInfo(pMinMax);
    if (IsEmpty())
        return;
    CPaneSplitterContainer* pParent = dynamic_cast<CPaneSplitterContainer*>(m_pParentContainer);
    BOOL bSiblingMax = FALSE;
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (pParent && !m_bMaximized && pManager && pManager->m_bAllowMaximize)
        for (CPaneBase* p : pParent->GetPanes())
            if (CQXPDockingPaneTabbedContainer* t = dynamic_cast<CQXPDockingPaneTabbedContainer*>(p))
                if (t != this && t->m_bMaximized)
                    bSiblingMax = TRUE;
    if (bSiblingMax) {
        if (pParent->IsHorizontal())
            pMinMax->ptMaxTrackSize.x = 0;
        else
            pMinMax->ptMaxTrackSize.y = 0;
    } else {
        for (CPaneBase* p : m_lstPanes) {
            MINMAXINFO mmi;
            p->GetMinMaxInfo(&mmi);
            pMinMax->ptMinTrackSize.x = std::max(pMinMax->ptMinTrackSize.x, mmi.ptMinTrackSize.x);
            pMinMax->ptMinTrackSize.y = std::max(pMinMax->ptMinTrackSize.y, mmi.ptMinTrackSize.y);
            pMinMax->ptMaxTrackSize.x = std::min(pMinMax->ptMaxTrackSize.x, mmi.ptMaxTrackSize.x);
            pMinMax->ptMaxTrackSize.y = std::min(pMinMax->ptMaxTrackSize.y, mmi.ptMaxTrackSize.y);
        }
    }
    // The caption, tab strip and borders come on top of the panes' limits.
    if (CDockingPanePaintManager* pPaint = GetPaintManager()) {
        RECT rc = {0, 0, 1000, 1000};
        pPaint->AdjustClientRect(this, rc);
        int dx = 1000 - (rc.right - rc.left), dy = 1000 - (rc.bottom - rc.top);
        pMinMax->ptMinTrackSize.x += dx;
        pMinMax->ptMinTrackSize.y += dy;
        pMinMax->ptMaxTrackSize.x += dx;
        pMinMax->ptMaxTrackSize.y += dy;
    }
}

void CQXPDockingPaneTabbedContainer::OnSizeParent(HWND hParent, const RECT& rect, AFX_SIZEPARENTPARAMS* lpParams)
{
    SetDockingSite(hParent);
    m_rcWindow = rect;
    if (!lpParams || !lpParams->hDWP)
        return;
    CreatePaneWindow();
    if (m_hWnd) {
        RECT rcOld;
        ::GetWindowRect(m_hWnd, &rcOld);
        ::MapWindowPoints(HWND_DESKTOP, ::GetParent(m_hWnd), (LPPOINT)&rcOld, 2);
        BOOL bShown = (::GetWindowLongPtr(m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
        if (!::EqualRect(&rcOld, &rect) || m_bEnsureSelectedTab || !bShown)
            ::SetWindowPos(m_hWnd, HWND_BOTTOM, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                           SWP_NOACTIVATE | SWP_SHOWWINDOW);
        m_bEnsureSelectedTab = FALSE;
    }
    // UpdatePanes invalidates the window (through UpdateTabs).
    UpdatePanes(TRUE);
}

void CQXPDockingPaneTabbedContainer::UpdatePanes(BOOL bRelayout)
{
    if (m_nLockUpdate)
        return;
    ++m_nLockUpdate;
    RECT rc = {0, 0, m_rcWindow.right - m_rcWindow.left, m_rcWindow.bottom - m_rcWindow.top};
    CDockingPanePaintManager* pPaint = GetPaintManager();
    m_rcClient = rc;
    m_arrTabRects.clear();
    --m_nLockUpdate;
    UpdateTabs();
    ++m_nLockUpdate;
    if (pPaint) {
        pPaint->AdjustClientRect(this, m_rcClient);
        LayoutTabs();
    }
    if (bRelayout && m_hWnd) {
        AFX_SIZEPARENTPARAMS params = {};
        params.hDWP = (HDWP)1; // move the windows
        for (CPaneBase* p : m_lstPanes) {
            CQXPDockingPane* pPane = static_cast<CQXPDockingPane*>(p);
            if (pPane == m_pSelectedPane) {
                pPane->OnSizeParent(m_hWnd, m_rcClient, &params);
                pPane->ShowChild(TRUE);
            } else {
                pPane->ShowChild(FALSE);
            }
        }
    }
    // The window was invalidated by UpdateTabs above: each invalidation is a
    // round trip to the server.
    --m_nLockUpdate;
    CPaneBase::UpdatePanes(bRelayout);
}

void CQXPDockingPaneTabbedContainer::Invalidate()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::InvalidateRect(m_hWnd, NULL, FALSE);
}

void CQXPDockingPaneTabbedContainer::SetDockingSite(HWND hSite)
{
    if (m_hWnd && hSite && ::GetParent(m_hWnd) != hSite)
        ::SetParent(m_hWnd, hSite);
    m_hDockingSite = hSite;
    for (CPaneBase* p : m_lstPanes)
        p->SetDockingSite(hSite);
}

void CQXPDockingPaneTabbedContainer::OnParentContainerChanged(CPaneBase* pParent)
{
    if (pParent)
        SetDockingSite(pParent->GetDockingSite());
    m_bTitleVisible = TRUE;
    if (IsHidden() && m_hWnd)
        ::ShowWindow(m_hWnd, SW_HIDE);
}

void CQXPDockingPaneTabbedContainer::OnFocusChanged()
{
    HWND hFocus = ::GetFocus();
    BOOL bActive = m_hWnd && hFocus && (hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus));
    if (!bActive && m_hWnd && hFocus) {
        for (HWND h = ::GetWindow(hFocus, GW_OWNER); h; h = ::GetWindow(h, GW_OWNER))
            if (h == m_hWnd || ::IsChild(m_hWnd, h))
                bActive = TRUE;
    }
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (bActive != m_bActive) {
        m_bActive = bActive;
        if (pManager)
            pManager->SetActivePane(bActive ? (m_pSelectedPane ? m_pSelectedPane->GetChild() : m_hWnd) : NULL,
                                    m_pSelectedPane);
        Invalidate();
    } else if (bActive && pManager && pManager->GetActivePane() != m_pSelectedPane && m_pSelectedPane) {
        pManager->SetActivePane(m_pSelectedPane->GetChild() ? m_pSelectedPane->GetChild() : m_hWnd,
                                m_pSelectedPane);
    }
}

CPaneBase* CQXPDockingPaneTabbedContainer::Clone(DockingLayoutStore* pLayout, PaneCloneMap* pMap,
                                                 DWORD dwIgnoredOptions)
{
    CQXPDockingPaneManager* pManager = pLayout ? pLayout->GetManager() : NULL;
    CPaneBase* pBase = pManager ? pManager->CreatePaneObject(paneTypeTabbedContainer, pLayout) : NULL;
    if (CQXPDockingPaneTabbedContainer* pClone = dynamic_cast<CQXPDockingPaneTabbedContainer*>(pBase)) {
        if (pMap)
            pMap->Add(this, pClone);
        pClone->Copy(this, pMap, dwIgnoredOptions);
    }
    return pBase;
}

BOOL CQXPDockingPaneTabbedContainer::IsCaptionButtonVisible(int nButton) const
{
    DWORD dwOptions = m_pSelectedPane ? m_pSelectedPane->GetOptions() : 0;
    switch (nButton) {
    case QXP_IDS_DOCKINGPANE_AUTOHIDE:
        if (!GetDockingPaneManager() || !GetDockingPaneManager()->m_bShowAutoHideButton)
            return FALSE;
        return m_pSelectedPane && !(dwOptions & paneNoHideable) && GetDockingSite() &&
               (m_pLayout == NULL || m_pLayout->GetPaneDirection(this) != 4);
    case QXP_IDS_DOCKINGPANE_CLOSE:
        return m_pSelectedPane && !(dwOptions & paneNoCloseable);
    case QXP_IDS_DOCKINGPANE_MAXIMIZE:
        return CanMaximize() && !m_bMaximized;
    case QXP_IDS_DOCKINGPANE_RESTORE:
        return CanMaximize() && m_bMaximized;
    case QXP_IDS_DOCKINGPANE_MENU:
        return m_pSelectedPane && (dwOptions & paneHasMenuButton);
    }
    return TRUE;
}

BOOL CQXPDockingPaneTabbedContainer::DoPropExchange(CQXPPropExchange* pPX, PaneExchangeContext& ctx)
{
    CPaneBase::DoPropExchange(pPX, ctx);
    int nCount = (int)m_lstPanes.size();
    int nSelected = ctx.IndexOf(m_pSelectedPane);
    ExchangeIntProp(pPX, "Panes", &nCount, 0);
    ExchangeIntProp(pPX, "Selected", &nSelected, 0);
    char szKey[32];
    if (pPX->IsStoring()) {
        for (int i = 0; i < nCount; ++i) {
            int nIndex = ctx.IndexOf(m_lstPanes[i]);
            snprintf(szKey, sizeof(szKey), "Pane-%d", i + 1);
            ExchangeIntProp(pPX, szKey, &nIndex, 0);
        }
        return TRUE;
    }
    if (nCount < 0 || nCount > (int)ctx.m_objects.size())
        return FALSE;
    CQXPDockingPane* pSelect = NULL;
    for (int i = 0; i < nCount; ++i) {
        int nIndex = 0;
        snprintf(szKey, sizeof(szKey), "Pane-%d", i + 1);
        ExchangeIntProp(pPX, szKey, &nIndex, 0);
        CPaneBase* p = ctx.Lookup(nIndex);
        if (!p || p->GetType() != paneTypeDockingPane || !ctx.CanAdopt(this, p))
            return FALSE;
        AddPane(static_cast<CQXPDockingPane*>(p), FALSE);
        if (nIndex == nSelected)
            pSelect = static_cast<CQXPDockingPane*>(p);
    }
    if (pSelect)
        SelectPane(pSelect, FALSE, TRUE);
    return TRUE;
}

// ---------------------------------------------------------------------------
// The window.

void CQXPDockingPaneTabbedContainer::EndTabDrag()
{
    m_pTrackingPane = NULL;
    m_arrSavedTabRects.clear();
    if (m_hWnd && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

BOOL CQXPDockingPaneTabbedContainer::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    CDockingPanePaintManager* pPaint = GetPaintManager();
    if (nHitTest == HTCLIENT && pPaint) {
        POINT pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWnd, &pt);
        if (HitTest(pt) == -2 && !CaptionButtonAt(pt)) {
            CQXPDockingPaneManager* pManager = GetDockingPaneManager();
            const RECT rc = {0, 0, m_rcWindow.right - m_rcWindow.left, m_rcWindow.bottom - m_rcWindow.top};
            const RECT rcGripper = pPaint->GetCaptionGripperRect(this, rc);
            if ((pManager && pManager->m_bDragCursor) || ::PtInRect(&rcGripper, pt)) {
                ::SetCursor(::LoadCursor(NULL, IDC_SIZEALL));
                return TRUE;
            }
        }
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CQXPDockingPaneTabbedContainer::OnLButtonDown(UINT, CPoint pt)
{
    RelayToToolTip();
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (CaptionButton* b = CaptionButtonAt(pt)) {
        if (m_pSelectedPane)
            m_pSelectedPane->SetFocus();
        else
            ::SetFocus(m_hWnd);
        if (pManager)
            pManager->UpdateFocus();
        if (b->m_nID == QXP_IDS_DOCKINGPANE_MENU) {
            // The owner shows its menu under the button, pressed meanwhile.
            DockingPaneMenuRequest request = {m_pSelectedPane, {b->m_rc.left, b->m_rc.bottom}};
            ::ClientToScreen(m_hWnd, &request.ptScreen);
            b->m_bPressed = TRUE;
            Invalidate();
            ::UpdateWindow(m_hWnd);
            if (pManager)
                pManager->Notify(DOCKINGPANE_CAPTIONMENU, (LPARAM)&request);
            if (::IsWindow(m_hWnd)) {
                b->m_bPressed = FALSE;
                Invalidate();
            }
            return;
        }
        // Inert buttons of a pane whose actions are off take no press.
        if (m_pSelectedPane && !(m_pSelectedPane->GetEnabled() & 2))
            return;
        if (b->Click(m_hWnd, pt)) {
            // The action may hide this caption (close, pin): it shows again
            // without the hover look; the next mouse move lights it anew.
            ClearHotCaptionButtons();
            OnCaptionButtonClick(b);
        }
        return;
    }
    // The strip's scroll and close buttons take their own presses.
    if (IsTabsVisible() && m_pTabs->PerformClick(m_hWnd, pt, TRUE))
        return;
    int nHit = HitTest(pt);
    if (nHit >= 0 && nHit < (int)m_lstPanes.size()) {
        CQXPDockingPane* pPane = static_cast<CQXPDockingPane*>(m_lstPanes[nHit]);
        SelectPane(pPane, TRUE, FALSE);
        if (pManager && !pManager->NotifyAction(paneActionDragStart, pPane, this)) {
            m_arrSavedTabRects = m_arrTabRects;
            m_pTrackingPane = pPane;
            ::SetCapture(m_hWnd);
        } else if (::IsWindow(m_hWnd) && IndexOfChild(pPane) >= 0) {
            // No drag: the strip handles the press as a plain tab click.
            m_pTabs->PerformClick(m_hWnd, pt);
        }
        return;
    }
    if (nHit == -2 && !(GetContainer() && GetContainer()->GetType() == paneTypeAutoHidePanel)) {
        POINT ptScreen = pt;
        ::ClientToScreen(m_hWnd, &ptScreen);
        StartDrag(ptScreen.x, ptScreen.y);
        return;
    }
    if (m_pSelectedPane)
        m_pSelectedPane->SetFocus();
    else
        ::SetFocus(m_hWnd);
}

CaptionButton* CQXPDockingPaneTabbedContainer::CaptionButtonAt(POINT pt) const
{
    if (!IsCaptionVisible())
        return NULL;
    for (CaptionButton* b : m_arrCaptionButtons)
        if (IsCaptionButtonVisible(b->m_nID) && ::PtInRect(&b->m_rc, pt))
            return b;
    return NULL;
}

void CQXPDockingPaneTabbedContainer::OnCaptionButtonClick(CaptionButton* pButton)
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    switch (pButton->m_nID) {
    case QXP_IDS_DOCKINGPANE_CLOSE: {
        if (!pManager || !m_pSelectedPane)
            break;
        // The whole group by the manager's option (panes that may not close
        // stay), else the selected pane; each held while it closes.
        std::vector<CQXPDockingPane*> closing;
        if (pManager->m_bCloseGroupOnButtonClick) {
            for (CPaneBase* p : m_lstPanes)
                if (p->GetType() == paneTypeDockingPane &&
                    !(static_cast<CQXPDockingPane*>(p)->GetOptions() & paneNoCloseable))
                    closing.push_back(static_cast<CQXPDockingPane*>(p));
        } else {
            closing.push_back(m_pSelectedPane);
        }
        for (CQXPDockingPane* pPane : closing)
            pPane->InternalAddRef();
        for (CQXPDockingPane* pPane : closing) {
            if (!pManager->NotifyAction(paneActionClosing, pPane, this)) {
                pManager->ClosePane(pPane);
                pManager->NotifyAction(paneActionClosed, pPane, NULL);
            }
        }
        for (CQXPDockingPane* pPane : closing)
            pPane->InternalRelease();
        break;
    }
    case QXP_IDS_DOCKINGPANE_MAXIMIZE:
        Maximize();
        break;
    case QXP_IDS_DOCKINGPANE_RESTORE:
        Restore();
        break;
    case QXP_IDS_DOCKINGPANE_AUTOHIDE:
        if (!pManager || !m_pSelectedPane)
            break;
        if (IsHidden()) {
            // The pin of a slid-out group docks it again.
            pManager->DockAutoHidden(pManager->m_bHideGroup ? static_cast<CPaneBase*>(this) : m_pSelectedPane);
        } else if (!pManager->NotifyAction(paneActionHiding, m_pSelectedPane, this)) {
            CQXPDockingPane* pPane = m_pSelectedPane;
            pPane->InternalAddRef();
            if (HWND hSite = GetDockingSite())
                ::SetFocus(hSite);
            NormalizeDockingSize();
            pManager->HidePane(pPane);
            pManager->NotifyAction(paneActionHidden, pPane, NULL);
            pPane->InternalRelease();
        }
        break;
    }
}

// Before the group hides: the size it had docked is the size it slides out
// with, for the container and each of its panes.
void CQXPDockingPaneTabbedContainer::NormalizeDockingSize()
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (!m_hWnd || !pManager)
        return;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    int nDirection = pManager->GetPaneDirection(this);
    BOOL bSide = nDirection == dockLeftOf || nDirection == dockRightOf;
    auto apply = [&](CPaneBase* p) {
        if (bSide)
            p->m_szDocking.cx = rc.right - rc.left;
        else
            p->m_szDocking.cy = rc.bottom - rc.top;
    };
    apply(this);
    for (CPaneBase* p : m_lstPanes)
        if (!p->IsEmpty())
            apply(p);
}

void CQXPDockingPaneTabbedContainer::OnCancelMode()
{
    for (CaptionButton* b : m_arrCaptionButtons)
        b->CancelClick();
    if (m_pTrackingPane)
        EndTabDrag();
    Default();
}

void CQXPDockingPaneTabbedContainer::ClearHotCaptionButtons()
{
    BOOL bChanged = FALSE;
    for (CaptionButton* b : m_arrCaptionButtons)
        if (b->m_bHot) {
            b->m_bHot = FALSE;
            bChanged = TRUE;
        }
    if (bChanged && m_hWnd)
        ::InvalidateRect(m_hWnd, NULL, FALSE);
}

void CQXPDockingPaneTabbedContainer::OnMouseMoveTabDrag(CPoint pt)
{
    CQXPDockingPane* pDragged = m_pTrackingPane;
    int nFrom = IndexOfChild(pDragged);
    if (nFrom < 0) {
        EndTabDrag();
        return;
    }
    for (size_t i = 0; i < m_arrSavedTabRects.size() && i < m_lstPanes.size(); ++i) {
        if ((int)i == nFrom || !::PtInRect(&m_arrSavedTabRects[i], pt))
            continue;
        std::swap(m_lstPanes[i], m_lstPanes[nFrom]);
        UpdatePanes(FALSE);
        return;
    }
    DetachDraggedTab(pt);
}

BEGIN_MESSAGE_MAP(CQXPDockingPaneTabbedContainer, CWnd)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_SHOWWINDOW()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
    ON_WM_SETFOCUS()
    ON_WM_NCDESTROY()
    ON_WM_CANCELMODE()
    ON_WM_RBUTTONDOWN()
    ON_WM_SETCURSOR()
    ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
    ON_MESSAGE(WM_GETOBJECT, OnGetObject)
END_MESSAGE_MAP()

// ---------------------------------------------------------------------------
// Accessibility.

LRESULT CQXPDockingPaneTabbedContainer::OnGetObject(WPARAM wParam, LPARAM lParam)
{
    if ((LONG)lParam == (LONG)OBJID_CLIENT)
        return LresultFromObject(IID_IAccessible, wParam, GetAccessible());
    return Default();
}

HRESULT CQXPDockingPaneTabbedContainer::get_accChildCount(long* pcountChildren)
{
    if (!pcountChildren)
        return E_POINTER;
    *pcountChildren = m_pTabs->GetItemCount() + 1;
    return S_OK;
}

HRESULT CQXPDockingPaneTabbedContainer::get_accChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_POINTER;
    *ppdispChild = NULL;
    long n = GetChildIndex(&varChild);
    if (n == 1) {
        HWND hChild = m_pSelectedPane ? m_pSelectedPane->GetChild() : NULL;
        if (!hChild)
            return S_FALSE;
        return AccessibleObjectFromWindow(hChild, (DWORD)OBJID_WINDOW, IID_IDispatch, (void**)ppdispChild);
    }
    CQXPTabManagerItem* pItem = m_pTabs->GetItem((int)n - 2);
    if (!pItem)
        return E_INVALIDARG;
    IAccessible* pAcc = reinterpret_cast<CQXPDockingPane*>(pItem->m_dwData)->GetAccessible();
    pAcc->AddRef();
    *ppdispChild = pAcc;
    return S_OK;
}

HRESULT CQXPDockingPaneTabbedContainer::get_accName(VARIANT varChild, BSTR* pszName)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF)
        return E_INVALIDARG;
    *pszName = ::SysAllocString(L"QXPDockingPaneTabbedContainer");
    return S_OK;
}

HRESULT CQXPDockingPaneTabbedContainer::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF)
        return E_INVALIDARG;
    pvarRole->vt = VT_I4;
    pvarRole->lVal = ROLE_SYSTEM_PAGETABLIST;
    return S_OK;
}

HRESULT CQXPDockingPaneTabbedContainer::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF)
        return E_INVALIDARG;
    pvarState->vt = VT_I4;
    pvarState->lVal = 0;
    return S_OK;
}

HRESULT CQXPDockingPaneTabbedContainer::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                                    VARIANT varChild)
{
    if (GetChildIndex(&varChild) != CHILDID_SELF || !m_hWnd)
        return E_INVALIDARG;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.right - rc.left;
    *pcyHeight = rc.bottom - rc.top;
    return S_OK;
}

// The container itself on the caption, the pane of a tab, else the selected
// pane's window.
HRESULT CQXPDockingPaneTabbedContainer::accHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    if (!pvarChild || !m_hWnd)
        return E_INVALIDARG;
    POINT pt = {xLeft, yTop};
    ::ScreenToClient(m_hWnd, &pt);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (!::PtInRect(&rc, pt)) {
        pvarChild->vt = VT_EMPTY;
        return S_FALSE;
    }
    int nHit = HitTest(pt);
    if (nHit >= 0 && nHit < m_pTabs->GetItemCount()) {
        pvarChild->vt = VT_DISPATCH;
        pvarChild->pdispVal = reinterpret_cast<CQXPDockingPane*>(m_pTabs->GetItem(nHit)->m_dwData)->GetAccessible();
        pvarChild->pdispVal->AddRef();
        return S_OK;
    }
    if (nHit == -2 || !m_pSelectedPane || !m_pSelectedPane->GetChild()) {
        pvarChild->vt = VT_I4;
        pvarChild->lVal = CHILDID_SELF;
        return S_OK;
    }
    pvarChild->vt = VT_I4;
    pvarChild->lVal = 1;
    return S_OK;
}

void CQXPDockingPaneTabbedContainer::OnRButtonDown(UINT, CPoint point)
{
    RelayToToolTip();
    int nHit = HitTest(point);
    if (nHit >= 0 && nHit < (int)m_lstPanes.size())
        SelectPane(static_cast<CQXPDockingPane*>(m_lstPanes[nHit]), TRUE, FALSE);
    if (m_pSelectedPane)
        m_pSelectedPane->SetFocus();
    else
        ::SetFocus(m_hWnd);
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager()) {
        pManager->UpdateFocus();
        pManager->Notify(DOCKINGPANE_CONTAINER_RCLICK, (LPARAM) static_cast<CPaneBase*>(this));
    }
}

void CQXPDockingPaneTabbedContainer::RelayToToolTip()
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (pManager && pManager->GetToolTipContext()) {
        const MSG* pMsg = GetCurrentMessage();
        pManager->GetToolTipContext()->FilterMessage(this, pMsg->message, pMsg->wParam, pMsg->lParam);
    }
}

CString AFXAPI DockingCaptionButtonTip(int nID)
{
    static const char* const kTexts[] = {"Auto Hide", "Close", "Maximize", "Restore", "Menu"};
    const int nIndex = nID - QXP_IDS_DOCKINGPANE_AUTOHIDE;
    return ToolkitString(nID, nIndex >= 0 && nIndex < 5 ? kTexts[nIndex] : "");
}

INT_PTR CQXPDockingPaneTabbedContainer::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    if (CaptionButton* b = CaptionButtonAt(point)) {
        CString strText = DockingCaptionButtonTip(b->m_nID);
        return pTI ? FillToolHitInfo(pTI, m_hWnd, b->m_rc, b->m_nID, strText) : b->m_nID;
    }
    if (!IsTabsVisible())
        return -1;
    CString strText;
    RECT rc = {0, 0, 0, 0};
    INT_PTR nHit = m_pTabs->OnToolHitTest(point, &strText, &rc, NULL);
    if (nHit < 0 || strText.IsEmpty())
        return -1;
    return pTI ? FillToolHitInfo(pTI, m_hWnd, rc, nHit + 1, strText) : nHit + 1;
}

// Help at a point: 0x20000 plus the help id (else the id) of the pane whose
// tab is there, else of the selected pane; 0 without a pane.
LRESULT CQXPDockingPaneTabbedContainer::OnHelpHitTest(WPARAM, LPARAM lParam)
{
    CPoint point(lParam);
    int nHit = HitTest(point);
    CQXPDockingPane* pPane = nHit >= 0 && nHit < (int)m_lstPanes.size()
                                 ? static_cast<CQXPDockingPane*>(m_lstPanes[nHit])
                                 : m_pSelectedPane;
    if (!pPane)
        return 0;
    return 0x20000 + (pPane->m_nHelpID ? pPane->m_nHelpID : pPane->GetID());
}

void CQXPDockingPaneTabbedContainer::OnPaint()
{
    CPaintDC dc(this);
    DrawContainer(dc.GetSafeHdc());
}

LRESULT CQXPDockingPaneTabbedContainer::OnPrintClient(WPARAM wParam, LPARAM)
{
    DrawContainer((HDC)wParam);
    return 0;
}

BOOL CQXPDockingPaneTabbedContainer::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CQXPDockingPaneTabbedContainer::OnMouseMove(UINT, CPoint point)
{
    RelayToToolTip();
    // The tab (or strip button) under the mouse is hot.
    m_pTabs->TrackMouse(m_hWnd, IsTabsVisible() ? point : CPoint(-1, -1));
    if (m_pTrackingPane) {
        OnMouseMoveTabDrag(point);
        return;
    }
    // Caption buttons light up under the mouse (not while the pane's
    // actions are off).
    BOOL bActive = m_pSelectedPane && (m_pSelectedPane->GetEnabled() & 2);
    BOOL bChanged = FALSE, bAny = FALSE;
    for (CaptionButton* b : m_arrCaptionButtons) {
        BOOL bHot = bActive && IsCaptionVisible() && IsCaptionButtonVisible(b->m_nID) && ::PtInRect(&b->m_rc, point);
        bAny = bAny || bHot;
        if (bHot != b->m_bHot) {
            b->m_bHot = bHot;
            bChanged = TRUE;
        }
    }
    if (bChanged) {
        ::InvalidateRect(m_hWnd, NULL, FALSE);
        if (bAny) {
            TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&tme);
        }
    }
}

void CQXPDockingPaneTabbedContainer::OnMouseLeave()
{
    RelayToToolTip();
    m_pTabs->TrackMouse(m_hWnd, CPoint(-1, -1));
    ClearHotCaptionButtons();
}

void CQXPDockingPaneTabbedContainer::OnShowWindow(BOOL bShow, UINT)
{
    if (!bShow)
        ClearHotCaptionButtons();
    Default();
}

void CQXPDockingPaneTabbedContainer::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    if (lpwndpos->flags & SWP_HIDEWINDOW)
        ClearHotCaptionButtons();
    Default();
}

void CQXPDockingPaneTabbedContainer::OnLButtonUp(UINT, CPoint)
{
    if (m_pTrackingPane)
        EndTabDrag();
    Default();
}

void CQXPDockingPaneTabbedContainer::OnCaptureChanged(CWnd*)
{
    if (m_pTrackingPane)
        EndTabDrag();
    Default();
}

void CQXPDockingPaneTabbedContainer::OnSetFocus(CWnd*)
{
    if (m_pSelectedPane && m_pSelectedPane->GetChild())
        m_pSelectedPane->SetFocus();
}

void CQXPDockingPaneTabbedContainer::OnNcDestroy()
{
    m_pTrackingPane = NULL;
    m_pDropTarget->Revoke(); // registered again with the next window

    CWnd::OnNcDestroy();
}

void CQXPDockingPaneTabbedContainer::DrawContainer(HDC hDC)
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (CDockingPanePaintManager* pPaint = GetPaintManager())
        pPaint->DrawPane(hDC, this, rc);
}
