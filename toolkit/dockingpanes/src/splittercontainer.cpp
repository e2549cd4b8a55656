// The splitter container: its size passes, tree operations and splitter bars.
#include <qx/splittercontainer.h>
#include <qx/drawing.h>
#include <qx/panelayout.h>
#include <qx/panemanager.h>
#include <qx/panepaint.h>
#include <qx/propexchange.h>
#include <qx/toolkitres.h>

#include <algorithm>
#include <cstdio>

namespace {

int MulDivFloor(int a, int b, int c)
{
    // a * b / c in 64 bits, truncated towards zero like the int division.
    return (int)((long long)a * (long long)b / (long long)c);
}

} // namespace

SplitterSizeResult SplitterSizePass(std::vector<SplitterSizeItem>& items, int nExtent, int nSplitter)
{
    SplitterSizeResult res;
    const int n = (int)items.size();
    for (SplitterSizeItem& it : items) {
        it.bFixed = FALSE;
        it.nLength = std::max(it.nMin, std::min(it.nLength, it.nMax));
    }
    for (int i = 0; i < n; ++i)
        if (items[i].bClient) {
            res.nClient = i;
            items[i].nLength = 0;
            break;
        }
    long long total = 0;
    for (const SplitterSizeItem& it : items)
        total += it.nLength;
    int available = nExtent - (n > 0 ? n - 1 : 0) * nSplitter;
    if (res.nClient >= 0 && total < available) {
        items[res.nClient].nLength = (int)(available - total);
        total = available;
    }
    res.nTotal = (int)std::min<long long>(total, 0x7FFFFFFF);
    res.nAvailable = available;
    if (available <= 0)
        return res;

    // Fix the children whose share would break a limit; each fix changes
    // the shares of the others, so the scan starts over.
    bool restart = true;
    while (restart) {
        restart = false;
        int nFree = 0;
        for (const SplitterSizeItem& it : items)
            if (!it.bFixed)
                ++nFree;
        for (int i = 0; i < n; ++i) {
            SplitterSizeItem& it = items[i];
            if (it.bFixed)
                continue;
            int share = res.nTotal > 0 ? MulDivFloor(it.nLength, res.nAvailable, res.nTotal)
                                       : (nFree > 0 ? res.nAvailable / nFree : 0);
            int nFixed;
            if (share < it.nMin)
                nFixed = it.nMin;
            else if (share > it.nMax)
                nFixed = it.nMax;
            else
                continue;
            it.bFixed = TRUE;
            res.nAvailable -= nFixed;
            res.nTotal -= it.nLength;
            it.nLength = nFixed;
            if (res.nAvailable < 0) {
                it.nLength += res.nAvailable;
                res.nAvailable = 0;
                return res;
            }
            restart = true;
            break;
        }
    }
    return res;
}

std::vector<int> SplitterDistribute(const std::vector<SplitterSizeItem>& items, const SplitterSizeResult& res,
                                    int nExtent, int nSplitter)
{
    std::vector<int> out(items.size(), 0);
    int available = std::max(0, res.nAvailable);
    int total = res.nTotal;
    int nFree = 0;
    for (const SplitterSizeItem& it : items)
        if (!it.bFixed)
            ++nFree;
    int pos = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const SplitterSizeItem& it = items[i];
        int len;
        if (it.bFixed) {
            len = std::max(0, it.nLength);
        } else {
            len = total > 0 ? MulDivFloor(it.nLength, available, total) : (nFree > 0 ? available / nFree : 0);
            len = std::max(0, len);
            total -= it.nLength;
            available = std::max(0, available - len);
            --nFree;
        }
        if (i + 1 == items.size())
            len = std::max(0, nExtent - pos); // the last child reaches the far edge
        out[i] = len;
        pos += len + nSplitter;
    }
    return out;
}

// ---------------------------------------------------------------------------
CPaneSplitterContainer::CPaneSplitterContainer(DockingLayoutStore* pLayout)
    : CPaneContainerBase(paneTypeSplitterContainer, pLayout), m_bHoriz(FALSE), m_bRecalcLayout(FALSE)
{
}

CPaneSplitterContainer::~CPaneSplitterContainer()
{
    DestroySplitters();
}

int CPaneSplitterContainer::GetSplitterSize() const
{
    CDockingPanePaintManager* pPaint = GetPaintManager();
    return pPaint ? pPaint->GetSplitterSize() : 4;
}

void CPaneSplitterContainer::Init(CPaneBase* pFirst, BOOL bHoriz, HWND hSite)
{
    m_bHoriz = bHoriz;
    m_hDockingSite = hSite;
    InsertPane(pFirst, NULL, TRUE);
    m_szDocking = pFirst->m_szDocking;
}

void CPaneSplitterContainer::AfterChildrenChanged()
{
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
        pManager->RecalcFrameLayout(this, TRUE);
    RebuildSplitters();
}

void CPaneSplitterContainer::InsertPane(CPaneBase* pPane, CPaneBase* pNeighbour, BOOL bAfter)
{
    if (!pPane || pPane == this)
        return;
    InsertChild(pPane, pNeighbour, bAfter);
    pPane->SetParentContainer(this);
    pPane->SetDockingSite(GetDockingSite());
    AfterChildrenChanged();
    if (m_pParentContainer)
        m_pParentContainer->OnChildContainerChanged(this);
    pPane->OnParentContainerChanged(this);
}

void CPaneSplitterContainer::ReplacePane(CPaneBase* pOld, CPaneBase* pNew)
{
    int i = IndexOfChild(pOld);
    if (i < 0 || !pNew)
        return;
    m_lstPanes[i] = pNew;
    pOld->SetParentContainer(NULL);
    pNew->SetParentContainer(this);
    pNew->SetDockingSite(GetDockingSite());
    AfterChildrenChanged();
    if (m_pParentContainer)
        m_pParentContainer->OnChildContainerChanged(this);
    pNew->OnParentContainerChanged(this);
}

void CPaneSplitterContainer::RemovePane(CPaneBase* pPane)
{
    if (!UnlinkChild(pPane))
        return;
    pPane->SetParentContainer(NULL);
    AfterChildrenChanged();
    if (m_pParentContainer) {
        m_pParentContainer->OnChildContainerChanged(this);
        if (m_lstPanes.empty())
            m_pParentContainer->RemovePane(this);
    }
}

void CPaneSplitterContainer::OnChildContainerChanged(CPaneBase* /*pChild*/)
{
    if (m_pParentContainer)
        m_pParentContainer->OnChildContainerChanged(this);
    RebuildSplitters();
    if (CQXPDockingPaneManager* pManager = GetDockingPaneManager())
        pManager->RecalcFrameLayout(this, TRUE);
}

void CPaneSplitterContainer::OnParentContainerChanged(CPaneBase* pParent)
{
    if (pParent)
        SetDockingSite(pParent->GetDockingSite());
    RebuildSplitters();
    for (CPaneBase* p : m_lstPanes)
        p->OnParentContainerChanged(this);
}

void CPaneSplitterContainer::SetDockingSite(HWND hSite)
{
    CPaneBase::SetDockingSite(hSite);
    for (CPaneBase* p : m_lstPanes)
        p->SetDockingSite(hSite);
}

void CPaneSplitterContainer::GetChildren(int nType, PaneObjectList& list) const
{
    for (CPaneBase* p : m_lstPanes)
        if (p->GetType() == nType && !p->IsEmpty())
            list.push_back(p);
}

BOOL CPaneSplitterContainer::IsChildBefore(const CPaneBase* pPane, const CPaneBase* pStop) const
{
    for (CPaneBase* p : m_lstPanes) {
        if (p == pStop)
            return FALSE;
        if (p == pPane)
            return TRUE;
    }
    return FALSE;
}

CPaneBase* CPaneSplitterContainer::Clone(DockingLayoutStore* pLayout, PaneCloneMap* pMap, DWORD dwIgnoredOptions)
{
    CPaneBase* pBase = CPaneBase::Clone(pLayout, pMap, dwIgnoredOptions);
    CPaneSplitterContainer* pClone = dynamic_cast<CPaneSplitterContainer*>(pBase);
    if (!pClone)
        return pBase;
    pClone->m_bHoriz = m_bHoriz;
    for (CPaneBase* p : m_lstPanes) {
        if (p->IsEmpty() && !pMap)
            continue;
        if (CPaneBase* pChild = p->Clone(pLayout, pMap, dwIgnoredOptions))
            pClone->InsertPane(pChild, NULL, TRUE);
    }
    pClone->m_szDocking = m_szDocking;
    pClone->m_rcWindow = m_rcWindow;
    return pClone;
}

PaneObjectList CPaneSplitterContainer::GetVisibleChildren() const
{
    PaneObjectList list;
    for (CPaneBase* p : m_lstPanes)
        if (!p->IsEmpty())
            list.push_back(p);
    return list;
}

void CPaneSplitterContainer::GetMinMaxInfo(MINMAXINFO* pMinMax) const
{
    CPaneBase::GetMinMaxInfo(pMinMax);
    PaneObjectList children = GetVisibleChildren();
    if (children.empty())
        return;
    LONG& minAlong = m_bHoriz ? pMinMax->ptMinTrackSize.x : pMinMax->ptMinTrackSize.y;
    LONG& maxAlong = m_bHoriz ? pMinMax->ptMaxTrackSize.x : pMinMax->ptMaxTrackSize.y;
    LONG& minAcross = m_bHoriz ? pMinMax->ptMinTrackSize.y : pMinMax->ptMinTrackSize.x;
    LONG& maxAcross = m_bHoriz ? pMinMax->ptMaxTrackSize.y : pMinMax->ptMaxTrackSize.x;
    minAlong = 0;
    maxAlong = 0;
    for (CPaneBase* p : children) {
        MINMAXINFO mmi;
        p->GetMinMaxInfo(&mmi);
        minAlong += m_bHoriz ? mmi.ptMinTrackSize.x : mmi.ptMinTrackSize.y;
        maxAlong += m_bHoriz ? mmi.ptMaxTrackSize.x : mmi.ptMaxTrackSize.y;
        minAcross = std::max<LONG>(minAcross, m_bHoriz ? mmi.ptMinTrackSize.y : mmi.ptMinTrackSize.x);
        maxAcross = std::min<LONG>(maxAcross, m_bHoriz ? mmi.ptMaxTrackSize.y : mmi.ptMaxTrackSize.x);
    }
    LONG gaps = (LONG)(children.size() - 1) * GetSplitterSize();
    minAlong += gaps;
    maxAlong += gaps;
}

void CPaneSplitterContainer::LayoutChildren(const PaneObjectList& children, const RECT& rect,
                                            std::vector<RECT>* pBands, BOOL bReset)
{
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    CPaneBase* pClient = m_pLayout ? (CPaneBase*)m_pLayout->GetClientContainer() : NULL;
    BOOL bHideClient = pManager && pManager->m_bHideClient;
    int nSplitter = GetSplitterSize();
    int nExtent = m_bHoriz ? rect.right - rect.left : rect.bottom - rect.top;

    std::vector<SplitterSizeItem> items(children.size());
    int nClientChild = -1;
    for (size_t i = 0; i < children.size(); ++i) {
        CPaneBase* p = children[i];
        MINMAXINFO mmi;
        p->GetMinMaxInfo(&mmi);
        items[i].nLength = m_bHoriz ? p->m_szDocking.cx : p->m_szDocking.cy;
        items[i].nMin = m_bHoriz ? mmi.ptMinTrackSize.x : mmi.ptMinTrackSize.y;
        items[i].nMax = m_bHoriz ? mmi.ptMaxTrackSize.x : mmi.ptMaxTrackSize.y;
        if (nClientChild < 0 && pClient && p->ContainsPane(pClient) &&
            (!bHideClient || (p->m_szDocking.cx == 0 && p->m_szDocking.cy == 0))) {
            items[i].bClient = TRUE;
            nClientChild = (int)i;
        }
    }
    SplitterSizeResult res = SplitterSizePass(items, nExtent, nSplitter);
    if (bReset && res.nClient >= 0) {
        CPaneBase* p = children[res.nClient];
        p->m_szDocking.cx = p->m_szDocking.cy = 0;
        if (m_bHoriz)
            p->m_szDocking.cx = items[res.nClient].nLength;
        else
            p->m_szDocking.cy = items[res.nClient].nLength;
    }
    std::vector<int> lengths = SplitterDistribute(items, res, nExtent, nSplitter);
    int pos = m_bHoriz ? rect.left : rect.top;
    pBands->clear();
    for (size_t i = 0; i < children.size(); ++i) {
        RECT band = rect;
        if (m_bHoriz) {
            band.left = pos;
            band.right = pos + lengths[i];
        } else {
            band.top = pos;
            band.bottom = pos + lengths[i];
        }
        pBands->push_back(band);
        pos += lengths[i] + nSplitter;
    }
}

void CPaneSplitterContainer::OnSizeParent(HWND hParent, const RECT& rect, AFX_SIZEPARENTPARAMS* lpParams)
{
    m_rcWindow = rect;
    PaneObjectList children = GetVisibleChildren();
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    if (pManager && pManager->m_bHideClient && m_pLayout && m_pLayout->GetClientContainer()) {
        CPaneBase* pClient = (CPaneBase*)m_pLayout->GetClientContainer();
        for (CPaneBase* p : m_lstPanes)
            if (p->ContainsPane(pClient)) {
                RECT rcEmpty = {0, 0, 0, 0};
                pClient->OnSizeParent(hParent, rcEmpty, NULL);
            }
    }
    if (children.empty())
        return;
    if (children.size() == 1) {
        children[0]->OnSizeParent(hParent, rect, lpParams);
        return;
    }
    if (m_bRecalcLayout)
        return;
    m_bRecalcLayout = TRUE;
    std::vector<RECT> bands;
    LayoutChildren(children, rect, &bands, TRUE);
    int nSplitter = GetSplitterSize();
    for (size_t i = 0; i < children.size(); ++i) {
        children[i]->OnSizeParent(hParent, bands[i], lpParams);
        if (i + 1 < children.size() && lpParams && lpParams->hDWP && i < m_lstSpliters.size()) {
            RECT bar = rect;
            if (m_bHoriz) {
                bar.left = bands[i].right;
                bar.right = std::min<LONG>(bar.left + nSplitter, rect.right);
            } else {
                bar.top = bands[i].bottom;
                bar.bottom = std::min<LONG>(bar.top + nSplitter, rect.bottom);
            }
            CDockingSplitterWnd* pBar = m_lstSpliters[i];
            if (!pBar->GetSafeHwnd())
                pBar->Create(this, pBar->m_pFirst, pBar->m_pSecond);
            if (pBar->GetSafeHwnd()) {
                // A bar already in its place is left alone: the layout runs
                // often and each move is a round trip to the server.
                RECT rcOld;
                ::GetWindowRect(pBar->m_hWnd, &rcOld);
                ::MapWindowPoints(HWND_DESKTOP, ::GetParent(pBar->m_hWnd), (LPPOINT)&rcOld, 2);
                if (!::EqualRect(&rcOld, &bar)) {
                    ::SetWindowPos(pBar->m_hWnd, HWND_BOTTOM, bar.left, bar.top, bar.right - bar.left,
                                   bar.bottom - bar.top, SWP_NOACTIVATE);
                    ::InvalidateRect(pBar->m_hWnd, NULL, FALSE);
                }
            }
        }
    }
    m_bRecalcLayout = FALSE;
}

RECT CPaneSplitterContainer::GetDockingRect(CPaneBase* pPane, int nDirection, CPaneBase* pNeighbour)
{
    PaneObjectList children;
    for (CPaneBase* p : GetVisibleChildren())
        if (p != pPane)
            children.push_back(p);
    BOOL bAfter = nDirection == dockRightOf || nDirection == dockBottomOf;
    auto it = std::find(children.begin(), children.end(), pNeighbour);
    if (it == children.end())
        children.insert(bAfter ? children.end() : children.begin(), pPane);
    else
        children.insert(bAfter ? it + 1 : it, pPane);
    // Measure on copies of the sizes: nothing of the layout changes.
    std::vector<SIZE> saved;
    for (CPaneBase* p : children)
        saved.push_back(p->m_szDocking);
    std::vector<RECT> bands;
    LayoutChildren(children, m_rcWindow, &bands, FALSE);
    for (size_t i = 0; i < children.size(); ++i)
        children[i]->m_szDocking = saved[i];
    RECT rc = {0, 0, 0, 0};
    for (size_t i = 0; i < children.size(); ++i)
        if (children[i] == pPane)
            rc = bands[i];
    HWND hSite = GetDockingSite();
    if (hSite && ::IsWindow(hSite))
        ::MapWindowPoints(hSite, HWND_DESKTOP, (LPPOINT)&rc, 2);
    return rc;
}

RECT CPaneSplitterContainer::CalcInsideRect(CPaneBase* pContainer, CPaneBase* pPane, int nDirection, int nSplitter)
{
    RECT rc = pContainer->m_rcWindow;
    BOOL bHoriz = nDirection == dockLeftOf || nDirection == dockRightOf;
    BOOL bAfter = nDirection == dockRightOf || nDirection == dockBottomOf;
    std::vector<SplitterSizeItem> items(2);
    CPaneBase* order[2] = {bAfter ? pContainer : pPane, bAfter ? pPane : pContainer};
    // As in the layout pass, the side that holds the client area takes the
    // rest of the space, so the rectangle is the one the docked pane gets.
    DockingLayoutStore* pLayout = pContainer->GetLayout();
    CPaneBase* pClient = pLayout ? (CPaneBase*)pLayout->GetClientContainer() : NULL;
    CQXPDockingPaneManager* pManager = pContainer->GetDockingPaneManager();
    BOOL bHideClient = pManager && pManager->m_bHideClient;
    for (int i = 0; i < 2; ++i) {
        MINMAXINFO mmi;
        order[i]->GetMinMaxInfo(&mmi);
        items[i].nLength = bHoriz ? order[i]->m_szDocking.cx : order[i]->m_szDocking.cy;
        items[i].nMin = bHoriz ? mmi.ptMinTrackSize.x : mmi.ptMinTrackSize.y;
        items[i].nMax = bHoriz ? mmi.ptMaxTrackSize.x : mmi.ptMaxTrackSize.y;
        if (pClient && order[i]->ContainsPane(pClient) &&
            (!bHideClient || (order[i]->m_szDocking.cx == 0 && order[i]->m_szDocking.cy == 0)) &&
            !(i == 1 && items[0].bClient))
            items[i].bClient = TRUE;
    }
    int nExtent = bHoriz ? rc.right - rc.left : rc.bottom - rc.top;
    SplitterSizeResult res = SplitterSizePass(items, nExtent, nSplitter);
    std::vector<int> len = SplitterDistribute(items, res, nExtent, nSplitter);
    int idx = bAfter ? 1 : 0;
    int start = (bHoriz ? rc.left : rc.top) + (idx == 1 ? len[0] + nSplitter : 0);
    if (bHoriz) {
        rc.left = start;
        rc.right = start + len[idx];
    } else {
        rc.top = start;
        rc.bottom = start + len[idx];
    }
    return rc;
}

void CPaneSplitterContainer::NormalizeDockingSize()
{
    if (m_bHoriz)
        m_szDocking.cx = m_rcWindow.right - m_rcWindow.left;
    else
        m_szDocking.cy = m_rcWindow.bottom - m_rcWindow.top;
    for (CPaneBase* p : GetVisibleChildren()) {
        if (m_bHoriz)
            p->m_szDocking.cx = p->m_rcWindow.right - p->m_rcWindow.left;
        else
            p->m_szDocking.cy = p->m_rcWindow.bottom - p->m_rcWindow.top;
    }
}

BOOL CPaneSplitterContainer::GetSplitterLimits(CPaneBase* pBefore, CPaneBase* pAfter, int& nLow, int& nHigh) const
{
    if (!pBefore || !pAfter)
        return FALSE;
    CQXPDockingPaneManager* pManager = GetDockingPaneManager();
    int nGap = pManager ? pManager->m_nSplitterGap : 22;
    int nSplitter = GetSplitterSize();
    const RECT& a = pBefore->m_rcWindow;
    const RECT& b = pAfter->m_rcWindow;
    int start = m_bHoriz ? std::min(a.left, b.left) : std::min(a.top, b.top);
    int end = m_bHoriz ? std::max(a.right, b.right) : std::max(a.bottom, b.bottom);
    int extent = end - start;
    MINMAXINFO mb, ma;
    pBefore->GetMinMaxInfo(&mb);
    pAfter->GetMinMaxInfo(&ma);
    int minB = m_bHoriz ? mb.ptMinTrackSize.x : mb.ptMinTrackSize.y;
    int maxB = m_bHoriz ? mb.ptMaxTrackSize.x : mb.ptMaxTrackSize.y;
    int minA = m_bHoriz ? ma.ptMinTrackSize.x : ma.ptMinTrackSize.y;
    int maxA = m_bHoriz ? ma.ptMaxTrackSize.x : ma.ptMaxTrackSize.y;
    nLow = start + std::max(nGap, minB);
    nHigh = end - std::max(nGap, nSplitter + minA);
    if (maxB < extent)
        nHigh = std::min(nHigh, start + maxB);
    if (maxA < extent)
        nLow = std::max(nLow, end - (maxA + nSplitter));
    return nLow < nHigh;
}

void CPaneSplitterContainer::ApplySplitterPosition(CPaneBase* pBefore, CPaneBase* pAfter, int nBarStart,
                                                   int nUnionStart, int nUnionExtent, BOOL bRTL)
{
    if (!pBefore || !pAfter || nUnionExtent <= 0)
        return;
    LONG& wb = m_bHoriz ? pBefore->m_szDocking.cx : pBefore->m_szDocking.cy;
    LONG& wa = m_bHoriz ? pAfter->m_szDocking.cx : pAfter->m_szDocking.cy;
    int s = wb + wa;
    int w = GetSplitterSize();
    int before = (int)((double)(s + w) * (double)(nBarStart - nUnionStart) / (double)nUnionExtent);
    if (bRTL)
        before = s - before;
    wb = before;
    wa = s - before;
}

// ---------------------------------------------------------------------------
// Splitter bars.

CDockingSplitterWnd* CPaneSplitterContainer::CreateSplitterWnd()
{
    return new CDockingSplitterWnd();
}

void CPaneSplitterContainer::DestroySplitters()
{
    for (CDockingSplitterWnd* p : m_lstSpliters) {
        if (p->GetSafeHwnd())
            p->DestroyWindow();
        delete p;
    }
    m_lstSpliters.clear();
}

void CPaneSplitterContainer::RebuildSplitters()
{
    if (m_bRecalcLayout || !m_pLayout || m_pLayout->IsLoading())
        return;
    HWND hSite = GetDockingSite();
    if (m_pLayout->m_bUserLayout || !hSite || !::IsWindow(hSite)) {
        DestroySplitters();
        return;
    }
    // The bars already there are paired again; only the missing ones are
    // added and only those left over destroyed. A new bar gets its window
    // from the next layout (OnSizeParent), so a bar that goes again before
    // that never costs one. Creating and destroying windows costs server
    // round trips, and the bars are rebuilt at every change of the children.
    std::vector<CDockingSplitterWnd*> reuse;
    for (CDockingSplitterWnd* p : m_lstSpliters) {
        if (!p->GetSafeHwnd() || ::GetParent(p->m_hWnd) == hSite) {
            reuse.push_back(p);
        } else {
            if (p->GetSafeHwnd())
                p->DestroyWindow();
            delete p;
        }
    }
    m_lstSpliters.clear();
    PaneObjectList children = GetVisibleChildren();
    size_t nNext = 0;
    for (size_t i = 0; i + 1 < children.size(); ++i) {
        if (nNext < reuse.size()) {
            CDockingSplitterWnd* pBar = reuse[nNext++];
            pBar->SetPair(this, children[i], children[i + 1]);
            m_lstSpliters.push_back(pBar);
            continue;
        }
        CDockingSplitterWnd* pBar = CreateSplitterWnd();
        pBar->SetPair(this, children[i], children[i + 1]);
        m_lstSpliters.push_back(pBar);
    }
    for (; nNext < reuse.size(); ++nNext) {
        if (reuse[nNext]->GetSafeHwnd())
            reuse[nNext]->DestroyWindow();
        delete reuse[nNext];
    }
}

CDockingSplitterWnd::CDockingSplitterWnd()
    : m_pContainer(NULL), m_pFirst(NULL), m_pSecond(NULL), m_bHoriz(FALSE), m_hCursor(NULL)
{
}

CDockingSplitterWnd::~CDockingSplitterWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

void CDockingSplitterWnd::SetPair(CPaneSplitterContainer* pContainer, CPaneBase* pFirst, CPaneBase* pSecond)
{
    const BOOL bHoriz = !pContainer->IsHorizontal();
    m_pContainer = pContainer;
    m_pFirst = pFirst;
    m_pSecond = pSecond;
    if (m_hCursor && bHoriz == m_bHoriz)
        return;
    m_bHoriz = bHoriz;
    m_hCursor = pContainer->IsHorizontal() ? ToolkitCursor(QX_IDC_SPLIT_LEFTRIGHT, IDC_SIZEWE)
                                           : ToolkitCursor(QX_IDC_SPLIT_UPDOWN, IDC_SIZENS);
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, NULL, FALSE);
}

BOOL CDockingSplitterWnd::Create(CPaneSplitterContainer* pContainer, CPaneBase* pFirst, CPaneBase* pSecond)
{
    SetPair(pContainer, pFirst, pSecond);
    RECT rc = {0, 0, 0, 0};
    return CreateEx(0, "QXPDockingPaneSplitter", "Splitter", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                    rc, CWnd::FromHandle(pContainer->GetDockingSite()), 0);
}

BEGIN_MESSAGE_MAP(CDockingSplitterWnd, CWnd)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void CDockingSplitterWnd::DrawBar(HDC hDC)
{
    CQXPDockingPaneManager* pManager = m_pContainer ? m_pContainer->GetDockingPaneManager() : NULL;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (pManager && pManager->GetPaintManager())
        pManager->GetPaintManager()->DrawSplitter(hDC, rc, m_bHoriz);
}

void CDockingSplitterWnd::OnPaint()
{
    CPaintDC dc(this);
    DrawBar(dc.GetSafeHdc());
}

LRESULT CDockingSplitterWnd::OnPrintClient(WPARAM wParam, LPARAM)
{
    DrawBar((HDC)wParam);
    return 0;
}

BOOL CDockingSplitterWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

BOOL CDockingSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    CQXPDockingPaneManager* pManager = m_pContainer ? m_pContainer->GetDockingPaneManager() : NULL;
    int lo, hi;
    if (pManager && !pManager->m_bLockSplitters && m_pContainer->GetSplitterLimits(m_pFirst, m_pSecond, lo, hi)) {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CDockingSplitterWnd::OnLButtonDown(UINT, CPoint point)
{
    TrackDrag(point);
}

// Live drag: the bar follows the mouse within its limits and the frame is laid
// out again at each move; Escape or the button going up ends it.
void CDockingSplitterWnd::TrackDrag(CPoint pt)
{
    CQXPDockingPaneManager* pManager = m_pContainer ? m_pContainer->GetDockingPaneManager() : NULL;
    if (!pManager || pManager->m_bLockSplitters)
        return;
    int lo, hi;
    if (!m_pContainer->GetSplitterLimits(m_pFirst, m_pSecond, lo, hi))
        return;
    HWND hSite = m_pContainer->GetDockingSite();
    m_pContainer->NormalizeDockingSize();
    BOOL bHorizContainer = m_pContainer->IsHorizontal();
    POINT ptSite = pt;
    ::MapWindowPoints(m_hWnd, hSite, &ptSite, 1);
    RECT rcBar;
    ::GetWindowRect(m_hWnd, &rcBar);
    ::MapWindowPoints(HWND_DESKTOP, hSite, (LPPOINT)&rcBar, 2);
    int nGrab = bHorizContainer ? ptSite.x - rcBar.left : ptSite.y - rcBar.top;
    CPaneBase* pFirst = m_pFirst;
    CPaneBase* pSecond = m_pSecond;
    CPaneSplitterContainer* pContainer = m_pContainer;
    HWND hSelf = m_hWnd;
    BOOL bRTL = (::GetWindowLong(hSite, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    auto apply = [&](int pos) {
        const RECT& a = pFirst->m_rcWindow;
        const RECT& b = pSecond->m_rcWindow;
        int start = bHorizContainer ? std::min(a.left, b.left) : std::min(a.top, b.top);
        int end = bHorizContainer ? std::max(a.right, b.right) : std::max(a.bottom, b.bottom);
        pContainer->ApplySplitterPosition(pFirst, pSecond, pos, start, end - start, bRTL);
    };
    if (pManager->m_bSplitterTracking) {
        // An outline follows the mouse; the panes change once, on release.
        POINT origin = {0, 0};
        ::ClientToScreen(hSite, &origin);
        int o = bHorizContainer ? origin.x : origin.y;
        int barLength = bHorizContainer ? rcBar.right - rcBar.left : rcBar.bottom - rcBar.top;
        RECT rcTrack = rcBar;
        ::OffsetRect(&rcTrack, origin.x, origin.y);
        RECT rcLimits = rcTrack;
        if (bHorizContainer) {
            rcLimits.left = lo + o;
            rcLimits.right = hi + o + barLength;
        } else {
            rcLimits.top = lo + o;
            rcLimits.bottom = hi + o + barLength;
        }
        POINT ptStart = pt;
        ::ClientToScreen(hSelf, &ptStart);
        SplitterTracker tracker(hSelf);
        if (tracker.Track(rcLimits, rcTrack, ptStart, bHorizContainer)) {
            int pos = (bHorizContainer ? rcTrack.left : rcTrack.top) - o;
            apply(std::max(lo, std::min(hi, pos)));
            pManager->RecalcFrameLayout(pContainer, TRUE);
        }
        return;
    }
    ::SetCapture(hSelf);
    for (;;) {
        MSG msg;
        if (!::GetMessage(&msg, NULL, 0, 0))
            break;
        if (::GetCapture() != hSelf)
            break;
        if (msg.message == WM_LBUTTONUP || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
            break;
        if (msg.message == WM_MOUSEMOVE) {
            // With the capture the bar gets the moves, in its own coordinates.
            POINT p = msg.pt;
            if (msg.hwnd == hSelf) {
                p.x = (short)LOWORD(msg.lParam);
                p.y = (short)HIWORD(msg.lParam);
                ::MapWindowPoints(hSelf, hSite, &p, 1);
            } else {
                ::ScreenToClient(hSite, &p);
            }
            int pos = (bHorizContainer ? p.x : p.y) - nGrab;
            apply(std::max(lo, std::min(hi, pos)));
            pManager->RecalcFrameLayout(pContainer, FALSE);
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
    if (::GetCapture() == hSelf)
        ::ReleaseCapture();
}

BOOL CPaneSplitterContainer::DoPropExchange(CQXPPropExchange* pPX, PaneExchangeContext& ctx)
{
    CPaneBase::DoPropExchange(pPX, ctx);
    ExchangeBoolProp(pPX, "Horiz", &m_bHoriz, FALSE);
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
    if (nCount < 0 || nCount > (int)ctx.m_objects.size())
        return FALSE;
    for (int i = 0; i < nCount; ++i) {
        int nIndex = 0;
        snprintf(szKey, sizeof(szKey), "Pane-%d", i + 1);
        ExchangeIntProp(pPX, szKey, &nIndex, 0);
        CPaneBase* pChild = ctx.Lookup(nIndex);
        if (!pChild || !ctx.CanAdopt(this, pChild))
            return FALSE;
        int t = pChild->GetType();
        if (t != paneTypeTabbedContainer && t != paneTypeSplitterContainer && t != paneTypeClientContainer)
            return FALSE;
        InsertPane(pChild, NULL, TRUE);
    }
    return TRUE;
}
