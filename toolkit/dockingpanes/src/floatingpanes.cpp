// The manager's floating and drag-docking operations: float, dock an object
// that is placed already, bring to front, toggle between the two homes, and
// the rectangle a dock would give.
#include <qx/dragcontext.h>
#include <qx/miniwnd.h>
#include <qx/panemanager.h>
#include <qx/panepaint.h>
#include <qx/splittercontainer.h>
#include <qx/tabbedcontainer.h>

#include <algorithm>

namespace {

CQXPDockingPaneMiniWnd* FloatingFrameOf(const CPaneBase* pObject)
{
    CPaneBase* pRoot = pObject ? pObject->GetRoot() : NULL;
    return pRoot && pRoot->GetType() == paneTypeMiniWnd ? static_cast<CQXPDockingPaneMiniWnd*>(pRoot) : NULL;
}

} // namespace

BOOL CQXPDockingPaneManager::IsLayoutRTL() const
{
    return m_hSite && (::GetWindowLongA(m_hSite, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
}

int CQXPDockingPaneManager::MirrorDirection(int nDirection) const
{
    if (!IsLayoutRTL())
        return nDirection;
    return nDirection == dockLeftOf ? dockRightOf : nDirection == dockRightOf ? dockLeftOf
                                                                              : nDirection;
}

void CQXPDockingPaneManager::RaiseFloatingFrames()
{
    if (!m_pLayout || !m_hSite || !::IsWindowVisible(m_hSite))
        return;
    HWND hTop = ::GetAncestor(m_hSite, GA_ROOT);
    for (CPaneBase* p : m_pLayout->GetObjects()) {
        HWND hFrame = p->GetType() == paneTypeMiniWnd ? p->GetPaneHwnd() : NULL;
        if (!hFrame || !::IsWindowVisible(hFrame))
            continue;
        for (HWND h = ::GetWindow(hFrame, GW_HWNDPREV); h; h = ::GetWindow(h, GW_HWNDPREV))
            if (h == hTop) {
                ::SetWindowPos(hFrame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                break;
            }
    }
}

void CQXPDockingPaneManager::OnMoveContainer(CPaneBase* pContainer)
{
    if (m_pDragContext && pContainer)
        m_pDragContext->Drag(pContainer, -1, -1);
}

CQXPDockingPaneMiniWnd* CQXPDockingPaneManager::FloatPane(CPaneBase* pObject, const RECT& rcScreen)
{
    if (!m_pLayout || !pObject)
        return NULL;
    if (pObject->GetType() == paneTypeDockingPane) {
        MoveOut(pObject);
    } else {
        // A container leaves its place as a clone; the original empties.
        CPaneBase* pClone = pObject->Clone(m_pLayout, NULL, 0);
        if (!pClone)
            return NULL;
        MoveOut(pObject);
        pObject = pClone;
    }
    CQXPDockingPaneMiniWnd* pFrame =
        static_cast<CQXPDockingPaneMiniWnd*>(CreatePaneObject(paneTypeMiniWnd, m_pLayout));
    if (!pFrame)
        return NULL;
    pFrame->SetDockingSite(m_hSite);
    pFrame->Init(pObject, rcScreen);
    m_pLayout->DropEmptyContainers();
    m_pLayout->UpdateHolders();
    ForgetFocus();
    RecalcFrameLayout(NULL, TRUE);
    return pFrame;
}

void CQXPDockingPaneManager::MoveAndDockPane(CPaneBase* pObject, int nDirection, CPaneBase* pNeighbour)
{
    if (!m_pLayout || !pObject)
        return;
    if (pObject->GetType() == paneTypeSplitterContainer) {
        CPaneSplitterContainer* pSplitter = static_cast<CPaneSplitterContainer*>(pObject);
        PaneObjectList panes;
        pSplitter->FindPane(paneTypeDockingPane, panes);
        if (panes.size() == 1)
            pObject = panes[0];
    }
    if (pObject->GetType() == paneTypeDockingPane) {
        MoveOut(pObject);
    } else {
        CPaneBase* pClone = pObject->Clone(m_pLayout, NULL, 0);
        if (!pClone)
            return;
        MoveOut(pObject);
        pObject = pClone;
    }
    // Dropped beside a floating container it stays in that floating frame.
    DockBeside(pObject, nDirection, pNeighbour, TRUE);
    m_pLayout->DropEmptyContainers();
    m_pLayout->UpdateHolders();
    ForgetFocus();
}

void CQXPDockingPaneManager::BringPaneToFront(CPaneBase* pObject)
{
    if (!pObject)
        return;
    if (pObject->GetType() == paneTypeDockingPane) {
        CQXPDockingPane* pPane = static_cast<CQXPDockingPane*>(pObject);
        if (CQXPDockingPaneTabbedContainer* pTab = dynamic_cast<CQXPDockingPaneTabbedContainer*>(pPane->GetContainer())) {
            pTab->SelectPane(pPane, FALSE);
            pObject = pTab;
        }
    }
    if (CQXPDockingPaneTabbedContainer* pTab = dynamic_cast<CQXPDockingPaneTabbedContainer*>(pObject))
        if (pTab->GetSelected())
            pTab->ShowPane(pTab->GetSelected(), FALSE);
    if (CQXPDockingPaneMiniWnd* pFrame = FloatingFrameOf(pObject))
        if (pFrame->GetPaneHwnd())
            ::BringWindowToTop(pFrame->GetPaneHwnd());
}

BOOL CQXPDockingPaneManager::ToggleDocking(CQXPDockingPane* pPane, CPaneBase* pTarget)
{
    if (!m_pLayout || !pPane)
        return FALSE;
    BOOL bFloating = FloatingFrameOf(pPane) != NULL;
    BOOL bHidden = pPane->IsHidden();
    DWORD dwOptions = pPane->GetOptions();
    if (!bFloating && !bHidden && (dwOptions & paneNoFloatable))
        return FALSE;
    if (bFloating && (dwOptions & paneNoDockable))
        return FALSE;
    int nBefore = bHidden ? paneActionAttaching : bFloating ? paneActionDocking
                                                            : paneActionFloating;
    if (NotifyAction(nBefore, pPane, pTarget))
        return FALSE;
    if (pTarget) {
        m_bDockingInProgress = TRUE;
        AttachPane(pPane, pTarget);
        m_pLayout->UpdateHolders();
        m_bDockingInProgress = FALSE;
    } else {
        RECT rc;
        pPane->GetWindowRect(&rc);
        if (CPaneBase* pContainer = pPane->GetContainer()) {
            if (HWND hWnd = pContainer->GetPaneHwnd())
                ::GetWindowRect(hWnd, &rc);
        }
        FloatPane(pPane, rc);
    }
    int nAfter = bHidden ? paneActionAttached : bFloating ? paneActionDocked
                                                          : paneActionFloated;
    NotifyAction(nAfter, pPane);
    return TRUE;
}

void CQXPDockingPaneManager::ToggleDockingGroup(CPaneBase* pObject)
{
    if (!m_pLayout || !pObject)
        return;
    auto holderOf = [&](CQXPDockingPane* pPane) -> CPaneBase* {
        BOOL bFloating = FloatingFrameOf(pPane) != NULL;
        return m_pLayout->GetHolder(pPane, !(bFloating || pPane->IsHidden()));
    };
    // The holder must still be a live container of the layout.
    auto usable = [&](CPaneBase* pHolder) -> CPaneBase* {
        if (!pHolder)
            return NULL;
        const PaneObjectList& objects = m_pLayout->GetObjects();
        if (std::find(objects.begin(), objects.end(), pHolder) == objects.end())
            return NULL;
        CQXPDockingPaneTabbedContainer* pTab = dynamic_cast<CQXPDockingPaneTabbedContainer*>(pHolder);
        if (!pTab || !pTab->GetContainer())
            return NULL;
        return pHolder;
    };
    if (pObject->GetType() == paneTypeDockingPane) {
        CQXPDockingPane* pPane = static_cast<CQXPDockingPane*>(pObject);
        ToggleDocking(pPane, usable(holderOf(pPane)));
    } else {
        PaneObjectList list;
        pObject->FindPane(paneTypeDockingPane, list);
        CQXPDockingPane* pSelected = NULL;
        CQXPDockingPane* pFocused = NULL;
        HWND hFocus = ::GetFocus();
        for (CPaneBase* p : list) {
            CQXPDockingPane* pPane = static_cast<CQXPDockingPane*>(p);
            CQXPDockingPaneTabbedContainer* pTab = dynamic_cast<CQXPDockingPaneTabbedContainer*>(pPane->GetContainer());
            if (pTab && pTab->GetSelected() == pPane && !pSelected)
                pSelected = pPane;
            HWND hChild = pPane->GetChild();
            if (hFocus && hChild && (hFocus == hChild || ::IsChild(hChild, hFocus)))
                pFocused = pPane;
        }
        CPaneBase* pPrevious = NULL;
        BOOL bFirst = TRUE;
        for (CPaneBase* p : list) {
            CQXPDockingPane* pPane = static_cast<CQXPDockingPane*>(p);
            CPaneBase* pTarget = bFirst ? usable(holderOf(pPane)) : pPrevious;
            if (!ToggleDocking(pPane, pTarget)) {
                if (pPane == pSelected)
                    pSelected = NULL;
                if (pPane == pFocused)
                    pFocused = NULL;
                continue;
            }
            bFirst = FALSE;
            pPrevious = pPane->GetContainer();
        }
        if (pFocused)
            SelectPane(pFocused, TRUE);
        else if (pSelected)
            SelectPane(pSelected, TRUE);
    }
    m_pLayout->DropEmptyContainers();
    m_pLayout->UpdateHolders();
    ForgetFocus();
    RecalcFrameLayout(NULL, TRUE);
}

RECT CQXPDockingPaneManager::CalcDockingRect(CPaneBase* pObject, int nDirection, CPaneBase* pNeighbour)
{
    RECT rcEmpty = {0, 0, 0, 0};
    if (!m_pLayout || !m_pLayout->GetTopContainer())
        return rcEmpty;
    CPaneSplitterContainer* pTop = m_pLayout->GetTopContainer();
    if (!pNeighbour)
        pNeighbour = pTop;
    BOOL bHoriz = nDirection == dockLeftOf || nDirection == dockRightOf;
    int nSplitter = m_pPaintManager ? m_pPaintManager->GetSplitterSize() : 4;
    RECT rc;
    if (pNeighbour != pTop) {
        CPaneBase* pParent = pNeighbour->GetContainer();
        if (pParent && pParent->GetType() == paneTypeTabbedContainer) {
            pNeighbour = pParent;
            pParent = pParent->GetContainer();
        }
        if (!pParent)
            return rcEmpty;
        CPaneSplitterContainer* pSplitter = dynamic_cast<CPaneSplitterContainer*>(pParent);
        if (pSplitter && pSplitter->IsHorizontal() == bHoriz && pObject)
            return pSplitter->GetDockingRect(pObject, nDirection, pNeighbour);
    }
    if (!pObject)
        return rcEmpty;
    rc = CPaneSplitterContainer::CalcInsideRect(pNeighbour, pObject, nDirection, nSplitter);
    HWND hSite = pNeighbour->GetDockingSite();
    if (hSite && ::IsWindow(hSite))
        ::MapWindowPoints(hSite, HWND_DESKTOP, (LPPOINT)&rc, 2);
    return rc;
}
