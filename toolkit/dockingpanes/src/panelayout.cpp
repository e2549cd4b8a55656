// A docking layout: its tree, pane records, copying, cleaning and its saved
// form in the profile.
#include <qx/panelayout.h>
#include <qx/autohide.h>
#include <qx/dockingpane.h>
#include <qx/miniwnd.h>
#include <qx/panepaint.h>
#include <qx/panemanager.h>
#include <qx/propexchange.h>
#include <qx/splittercontainer.h>
#include <qx/tabbedcontainer.h>

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

const char kLayoutsSection[] = "DockingPaneLayouts";

// A pane is held by containers only: a saved holder naming a pane holds
// nothing.
CPaneBase* LoadedHolder(CPaneBase* p)
{
    return p && p->GetType() != paneTypeDockingPane ? p : NULL;
}

CString SectionName(int nIndex)
{
    CString s;
    s.Format("Pane-%d", nIndex);
    return s;
}

} // namespace

// ---------------------------------------------------------------------------
// Margin windows.

BEGIN_MESSAGE_MAP(DockingMarginWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

DockingMarginWnd::DockingMarginWnd(CQXPDockingPaneManager* pManager, BOOL bHorizontal)
    : m_pManager(pManager), m_bHorizontal(bHorizontal)
{
}

BOOL DockingMarginWnd::Create(HWND hSite)
{
    RECT rc = {0, 0, 0, 0};
    return CreateEx(0, "QXPDockingPaneSplitter", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rc,
                    CWnd::FromHandle(hSite), 0);
}

void DockingMarginWnd::OnPaint()
{
    CPaintDC dc(this);
    RECT rc;
    GetClientRect(&rc);
    if (CDockingPanePaintManager* pPaint = m_pManager ? m_pManager->GetPaintManager() : NULL)
        pPaint->DrawMargin(dc.GetSafeHdc(), rc, m_bHorizontal);
}

BOOL DockingMarginWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

// ---------------------------------------------------------------------------

DockingLayoutStore::DockingLayoutStore(CQXPDockingPaneManager* pManager)
    : m_bUserLayout(TRUE), m_pTopContainer(NULL), m_pClient(NULL), m_pManager(pManager), m_bLoading(FALSE),
      m_bClearing(FALSE)
{
    m_pPanels[0] = m_pPanels[1] = m_pPanels[2] = m_pPanels[3] = NULL;
    m_pMargins[0] = m_pMargins[1] = m_pMargins[2] = m_pMargins[3] = NULL;
    if (!pManager)
        return;
    m_pClient = static_cast<CPaneClientContainer*>(pManager->CreatePaneObject(paneTypeClientContainer, this));
    m_pTopContainer =
        static_cast<CPaneSplitterContainer*>(pManager->CreatePaneObject(paneTypeSplitterContainer, this));
    m_pTopContainer->Init(m_pClient, TRUE, pManager->GetSite());
}

DockingLayoutStore::~DockingLayoutStore()
{
    Clear();
}

void DockingLayoutStore::Clear()
{
    m_bClearing = TRUE;
    // Open slide-out windows go first: they hold containers of this layout.
    for (int i = 0; i < 4; ++i)
        if (m_pPanels[i] && m_pPanels[i]->GetSlideOut())
            m_pPanels[i]->GetSlideOut()->CloseNow(TRUE);
    // The application's windows live on: hand them back to the site before
    // the containers' windows go.
    for (CPaneBase* p : m_lstObjects)
        if (p->GetType() == paneTypeDockingPane) {
            CQXPDockingPane* pPane = static_cast<CQXPDockingPane*>(p);
            if (pPane->m_hwndChild && ::IsWindow(pPane->m_hwndChild)) {
                ::ShowWindow(pPane->m_hwndChild, SW_HIDE);
                if (m_pManager && m_pManager->GetSite())
                    ::SetParent(pPane->m_hwndChild, m_pManager->GetSite());
            }
        }
    m_pTopContainer = NULL;
    m_pClient = NULL;
    PaneObjectList objects;
    objects.swap(m_lstObjects);
    for (auto it = objects.rbegin(); it != objects.rend(); ++it)
        (*it)->InternalRelease();
    m_lstRecords.clear();
    for (int i = 0; i < 4; ++i)
        m_pPanels[i] = NULL;
    DestroyMargins();
    m_bClearing = FALSE;
}

void DockingLayoutStore::DestroyMargins()
{
    for (DockingMarginWnd*& p : m_pMargins) {
        if (p && p->GetSafeHwnd())
            p->DestroyWindow();
        delete p;
        p = NULL;
    }
}

BOOL DockingLayoutStore::IsValid() const
{
    return m_pTopContainer && m_pClient && m_pClient->GetType() == paneTypeClientContainer && m_pManager;
}

void DockingLayoutStore::ForgetObject(CPaneBase* pObject)
{
    auto it = std::find(m_lstObjects.begin(), m_lstObjects.end(), pObject);
    if (it != m_lstObjects.end())
        m_lstObjects.erase(it);
    // No record may keep pointing at an object that leaves the layout.
    for (DockingPaneRecord& r : m_lstRecords) {
        if (r.pFloatingHolder == pObject)
            r.pFloatingHolder = NULL;
        if (r.pDockingHolder == pObject)
            r.pDockingHolder = NULL;
        if (r.pLastHolder == pObject)
            r.pLastHolder = NULL;
    }
    for (int i = 0; i < 4; ++i)
        if (m_pPanels[i] == pObject)
            m_pPanels[i] = NULL;
}

void DockingLayoutStore::SetPanel(int nSide, AutoHidePanel* pPanel)
{
    if (nSide >= 0 && nSide < 4)
        m_pPanels[nSide] = pPanel;
}

DockingPaneRecord* DockingLayoutStore::FindRecord(const CQXPDockingPane* pPane)
{
    for (DockingPaneRecord& r : m_lstRecords)
        if (r.pPane == pPane)
            return &r;
    return NULL;
}

std::vector<CQXPDockingPane*> DockingLayoutStore::GetPanes() const
{
    std::vector<CQXPDockingPane*> v;
    for (const DockingPaneRecord& r : m_lstRecords)
        v.push_back(r.pPane);
    return v;
}

void DockingLayoutStore::UpdateHolders()
{
    for (DockingPaneRecord& r : m_lstRecords) {
        CPaneBase* pContainer = r.pPane->GetContainer();
        if (!pContainer || pContainer->GetType() == paneTypeAutoHidePanel || pContainer->IsHidden())
            continue;
        r.pLastHolder = pContainer;
        if (GetPaneDirection(r.pPane) == 4)
            r.pFloatingHolder = pContainer;
        else
            r.pDockingHolder = pContainer;
    }
}

CPaneBase* DockingLayoutStore::GetHolder(const CQXPDockingPane* pPane, BOOL bFloating)
{
    DockingPaneRecord* rec = FindRecord(pPane);
    if (!rec)
        return NULL;
    return bFloating ? rec->pFloatingHolder : rec->pDockingHolder;
}

void DockingLayoutStore::RemovePane(CQXPDockingPane* pPane)
{
    if (!pPane)
        return;
    if (CPaneBase* pContainer = pPane->GetContainer())
        pContainer->RemovePane(pPane);
    for (auto it = m_lstRecords.begin(); it != m_lstRecords.end(); ++it)
        if (it->pPane == pPane) {
            m_lstRecords.erase(it);
            break;
        }
    auto it = std::find(m_lstObjects.begin(), m_lstObjects.end(), static_cast<CPaneBase*>(pPane));
    if (it != m_lstObjects.end()) {
        m_lstObjects.erase(it);
        pPane->InternalRelease();
    }
    DropEmptyContainers();
}

void DockingLayoutStore::CopyFrom(const DockingLayoutStore* pSource)
{
    Clear();
    if (!pSource)
        return;
    PaneCloneMap map;
    PaneObjectList roots;
    for (CPaneBase* p : pSource->m_lstObjects)
        if (!p->GetContainer())
            roots.push_back(p);
    for (CPaneBase* p : roots)
        p->Clone(this, &map, 0);
    m_pTopContainer = static_cast<CPaneSplitterContainer*>(map.Lookup(pSource->m_pTopContainer));
    m_pClient = static_cast<CPaneClientContainer*>(map.Lookup(pSource->m_pClient));
    for (int i = 0; i < 4; ++i)
        m_pPanels[i] = static_cast<AutoHidePanel*>(map.Lookup(pSource->m_pPanels[i]));
    for (const DockingPaneRecord& r : pSource->m_lstRecords) {
        DockingPaneRecord rec;
        rec.pPane = static_cast<CQXPDockingPane*>(map.Lookup(r.pPane));
        if (!rec.pPane)
            continue;
        rec.pFloatingHolder = map.Lookup(r.pFloatingHolder);
        rec.pDockingHolder = map.Lookup(r.pDockingHolder);
        rec.pLastHolder = map.Lookup(r.pLastHolder);
        m_lstRecords.push_back(rec);
    }
}

void DockingLayoutStore::DropEmptyContainers()
{
    std::set<CPaneBase*> inUse;
    for (const DockingPaneRecord& r : m_lstRecords) {
        if (r.pPane->GetContainer())
            inUse.insert(r.pPane->GetContainer());
        if (r.pFloatingHolder)
            inUse.insert(r.pFloatingHolder);
        if (r.pDockingHolder)
            inUse.insert(r.pDockingHolder);
    }
    auto drop = [this](CPaneBase* p) {
        if (CPaneBase* pParent = p->GetContainer())
            pParent->RemovePane(p);
        ForgetObject(p);
        p->InternalRelease();
    };
    bool changed = true;
    while (changed) {
        changed = false;
        PaneObjectList objects = m_lstObjects;
        for (CPaneBase* p : objects) {
            if (std::find(m_lstObjects.begin(), m_lstObjects.end(), p) == m_lstObjects.end())
                continue;
            int t = p->GetType();
            if (t == paneTypeTabbedContainer && !inUse.count(p) &&
                static_cast<CPaneContainerBase*>(p)->GetPaneCount() == 0) {
                drop(p);
                changed = true;
                break;
            }
            if (t == paneTypeSplitterContainer && p != m_pTopContainer) {
                CPaneSplitterContainer* s = static_cast<CPaneSplitterContainer*>(p);
                if (s->GetPaneCount() == 0) {
                    drop(p);
                    changed = true;
                    break;
                }
                CPaneSplitterContainer* pParent = dynamic_cast<CPaneSplitterContainer*>(s->GetContainer());
                if (s->GetPaneCount() == 1 && pParent && pParent->GetPaneCount() == 1) {
                    CPaneBase* pChild = s->GetFirstPane();
                    s->UnlinkPane(pChild);
                    pParent->ReplacePane(s, pChild);
                    ForgetObject(s);
                    s->InternalRelease();
                    changed = true;
                    break;
                }
            }
            // A floating frame with a window may be inside one of its own
            // handlers now: it only hides here and goes at DropEmptyFrames.
            if (t == paneTypeMiniWnd && static_cast<CQXPDockingPaneMiniWnd*>(p)->GetTopContainer() == NULL &&
                !p->GetPaneHwnd()) {
                drop(p);
                changed = true;
                break;
            }
        }
    }
}

void DockingLayoutStore::DropEmptyFrames()
{
    PaneObjectList objects = m_lstObjects;
    for (CPaneBase* p : objects)
        if (p->GetType() == paneTypeMiniWnd && static_cast<CQXPDockingPaneMiniWnd*>(p)->GetTopContainer() == NULL) {
            ForgetObject(p);
            p->InternalRelease();
        }
}

int DockingLayoutStore::GetPaneDirection(const CPaneBase* pObject) const
{
    const CPaneBase* p = pObject;
    while (p) {
        if (p->GetType() == paneTypeMiniWnd)
            return 4;
        if (p == m_pClient)
            return -1;
        CPaneBase* pParent = p->GetContainer();
        if (!pParent)
            return -1;
        if (pParent->GetType() == paneTypeAutoHidePanel)
            return static_cast<AutoHidePanel*>(pParent)->GetDirection();
        if (pParent->GetType() == paneTypeSplitterContainer && m_pClient && pParent->ContainsPane(m_pClient) &&
            !p->ContainsPane(m_pClient)) {
            CPaneSplitterContainer* s = static_cast<CPaneSplitterContainer*>(pParent);
            CPaneBase* pClientChild = NULL;
            for (CPaneBase* c : s->GetPanes())
                if (c->ContainsPane(m_pClient))
                    pClientChild = c;
            BOOL bBefore = s->IsChildBefore(p, pClientChild);
            if (s->IsHorizontal())
                return bBefore ? dockLeftOf : dockRightOf;
            return bBefore ? dockTopOf : dockBottomOf;
        }
        p = pParent;
    }
    return -1;
}

void DockingLayoutStore::AutoHidePane(CPaneBase* pObject)
{
    if (!pObject || !m_pManager)
        return;
    int nSide = GetPaneDirection(pObject);
    if (nSide < 0 || nSide > 3)
        nSide = 0;
    if (!m_pPanels[nSide]) {
        AutoHidePanel* pPanel =
            static_cast<AutoHidePanel*>(m_pManager->CreatePaneObject(paneTypeAutoHidePanel, this));
        pPanel->SetDirection(nSide);
        m_pPanels[nSide] = pPanel;
    }
    if (JoinAutoHideGroup(pObject, m_pPanels[nSide]))
        return;
    CPaneBase* pGroup = pObject;
    if (pObject->GetType() == paneTypeDockingPane) {
        if (CPaneBase* pContainer = pObject->GetContainer())
            pContainer->RemovePane(pObject);
        CQXPDockingPaneTabbedContainer* pTabbed = static_cast<CQXPDockingPaneTabbedContainer*>(
            m_pManager->CreatePaneObject(paneTypeTabbedContainer, this));
        pTabbed->Init(static_cast<CQXPDockingPane*>(pObject), m_pManager->GetSite());
        pGroup = pTabbed;
    } else if (CPaneBase* pParent = pObject->GetContainer()) {
        pParent->RemovePane(pObject);
    }
    m_pPanels[nSide]->AddGroup(pGroup);
}

BOOL DockingLayoutStore::JoinAutoHideGroup(CPaneBase* pObject, AutoHidePanel* pPanel)
{
    std::vector<CQXPDockingPane*> panes;
    if (pObject->GetType() == paneTypeDockingPane) {
        panes.push_back(static_cast<CQXPDockingPane*>(pObject));
    } else if (CPaneContainerBase* c = dynamic_cast<CPaneContainerBase*>(pObject)) {
        PaneObjectList list;
        c->FindPane(paneTypeDockingPane, list);
        for (CPaneBase* p : list)
            panes.push_back(static_cast<CQXPDockingPane*>(p));
    }
    // The group whose first pane was docked where these panes were: panes
    // tabbed together hide together.
    CQXPDockingPaneTabbedContainer* pGroup = NULL;
    for (CPaneBase* g : pPanel->GetPanes()) {
        CQXPDockingPaneTabbedContainer* pTabbed = dynamic_cast<CQXPDockingPaneTabbedContainer*>(g);
        CQXPDockingPane* pFirst = pTabbed ? dynamic_cast<CQXPDockingPane*>(pTabbed->GetFirstPane()) : NULL;
        CPaneBase* pHolder = pFirst ? GetHolder(pFirst, FALSE) : NULL;
        if (!pHolder)
            continue;
        for (CQXPDockingPane* p : panes)
            if (GetHolder(p, FALSE) == pHolder)
                pGroup = pTabbed;
        if (pGroup)
            break;
    }
    if (!pGroup)
        return FALSE;
    CQXPDockingPane* pSelected = pGroup->GetSelected();
    for (CQXPDockingPane* p : panes) {
        if (p->GetOptions() & paneNoHideable)
            continue;
        if (CPaneBase* pContainer = p->GetContainer())
            pContainer->RemovePane(p);
        pGroup->AddPane(p, FALSE);
    }
    if (pSelected && pSelected->GetContainer() == pGroup)
        pGroup->SelectPane(pSelected, FALSE, TRUE);
    if (pPanel->GetSafeHwnd())
        ::InvalidateRect(pPanel->GetSafeHwnd(), NULL, FALSE);
    return TRUE;
}

void DockingLayoutStore::RepositionInFrame(HWND hSite, RECT& rect, HDWP hDWP)
{
    AFX_SIZEPARENTPARAMS params = {};
    params.hDWP = hDWP;
    for (int i = 0; i < 4; ++i) {
        if (!m_pPanels[i])
            continue;
        m_pPanels[i]->OnSizeParent(hSite, rect, &params);
        int n = m_pPanels[i]->GetStripSize();
        switch (i) {
        case dockLeftOf: rect.left += n; break;
        case dockRightOf: rect.right -= n; break;
        case dockTopOf: rect.top += n; break;
        default: rect.bottom -= n; break;
        }
    }
    int m = m_pManager ? m_pManager->m_nClientMargin : 0;
    if (m <= 0) {
        DestroyMargins();
    } else if (hDWP && hSite) {
        // Left and right strips full height, top and bottom between them.
        const RECT places[4] = {{rect.left, rect.top, rect.left + m, rect.bottom},
                                {rect.right - m, rect.top, rect.right, rect.bottom},
                                {rect.left + m, rect.top, rect.right - m, rect.top + m},
                                {rect.left + m, rect.bottom - m, rect.right - m, rect.bottom}};
        for (int i = 0; i < 4; ++i) {
            if (!m_pMargins[i]) {
                m_pMargins[i] = new DockingMarginWnd(m_pManager, i >= 2);
                if (!m_pMargins[i]->Create(hSite)) {
                    delete m_pMargins[i];
                    m_pMargins[i] = NULL;
                    continue;
                }
            }
            const RECT& r = places[i];
            ::SetWindowPos(m_pMargins[i]->GetSafeHwnd(), NULL, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            ::InvalidateRect(m_pMargins[i]->GetSafeHwnd(), NULL, FALSE);
        }
    }
    ::InflateRect(&rect, -std::max(m, 0), -std::max(m, 0));
    params.rect = rect;
    if (m_pClient)
        m_pClient->OnSizeParent(hSite, rect, &params);
    if (m_pTopContainer)
        m_pTopContainer->OnSizeParent(hSite, rect, &params);
    rect = params.rect;
}

// ---------------------------------------------------------------------------
// Saved form.

BOOL DockingLayoutStore::LoadFromRegistry(LPCSTR lpszName)
{
    PropExchangeSectionPtr layouts;
    layouts.OpenProfile(TRUE, kLayoutsSection);
    if (!layouts.get() || !layouts->Prepare()) {
        Clear();
        return FALSE;
    }
    PropExchangeSectionPtr section(layouts.get(), lpszName);
    if (!section.get()) {
        Clear();
        return FALSE;
    }
    return LoadFrom(section.get());
}

void DockingLayoutStore::SaveToRegistry(LPCSTR lpszName)
{
    PropExchangeSectionPtr layouts;
    layouts.OpenProfile(FALSE, kLayoutsSection);
    if (!layouts.get() || !layouts->Prepare())
        return;
    PropExchangeSectionPtr section(layouts.get(), lpszName);
    if (section.get())
        SaveTo(section.get());
}

BOOL DockingLayoutStore::DoPropExchange(CQXPPropExchange* pPX)
{
    if (pPX->IsLoading())
        return LoadFrom(pPX);
    SaveTo(pPX);
    return TRUE;
}

void DockingLayoutStore::Serialize(CArchive& ar)
{
    CQXPPropExchangeArchive px(ar);
    if (ar.IsLoading()) {
        BOOL bOK = FALSE;
        try {
            bOK = LoadFrom(&px);
        } catch (CException*) {
            // A short or damaged archive: nothing half-read stays behind.
            m_bLoading = FALSE;
            Clear();
            throw;
        }
        if (!bOK)
            AfxThrowArchiveException(CArchiveException::badIndex);
    } else {
        SaveTo(&px);
    }
}

void DockingLayoutStore::SaveTo(CQXPPropExchange* pPX)
{
    pPX->ClearSection();
    PaneExchangeContext ctx;
    ctx.m_pLayout = this;
    // The panes of the records first (a pane without a record is not
    // saved), then the containers.
    for (const DockingPaneRecord& r : m_lstRecords)
        ctx.m_objects.push_back(r.pPane);
    for (CPaneBase* p : m_lstObjects)
        if (p->GetType() != paneTypeDockingPane)
            ctx.m_objects.push_back(p);

    int nCount = (int)ctx.m_objects.size();
    int nSchema = (int)CQXPPropExchange::kDefaultSchema;
    {
        PropExchangeSectionPtr summary(pPX, "Summary");
        ExchangeIntPropNoDefault(summary.get(), "Panes", &nCount);
        ExchangeIntPropNoDefault(summary.get(), "Schema", &nSchema);
    }
    pPX->m_nSchema = nSchema;
    for (int i = 1; i <= nCount; ++i) {
        PropExchangeSectionPtr sec(pPX, SectionName(i));
        int nType = ctx.m_objects[i - 1]->GetType();
        ExchangeIntPropNoDefault(sec.get(), "Type", &nType);
    }
    for (int i = 1; i <= nCount; ++i) {
        PropExchangeSectionPtr sec(pPX, SectionName(i));
        if (sec.get())
            ctx.m_objects[i - 1]->DoPropExchange(sec.get(), ctx);
    }
    PropExchangeSectionPtr summary(pPX, "Summary");
    int nTop = ctx.IndexOf(m_pTopContainer);
    int nClient = ctx.IndexOf(m_pClient);
    ExchangeIntPropNoDefault(summary.get(), "TopContainer", &nTop);
    ExchangeIntPropNoDefault(summary.get(), "Client", &nClient);
}

BOOL DockingLayoutStore::LoadFrom(CQXPPropExchange* pPX)
{
    Clear();
    if (!m_pManager || !pPX)
        return FALSE;
    m_bLoading = TRUE;
    BOOL bOK = LoadObjects(pPX);
    m_bLoading = FALSE;
    if (!bOK) {
        Clear();
        return FALSE;
    }
    return TRUE;
}

BOOL DockingLayoutStore::LoadObjects(CQXPPropExchange* pPX)
{
    int nCount = 0;
    int nSchema = (int)CQXPPropExchange::kDefaultSchema;
    {
        PropExchangeSectionPtr summary(pPX, "Summary");
        if (!summary.get())
            return FALSE;
        ExchangeIntProp(summary.get(), "Panes", &nCount, 0);
        ExchangeIntProp(summary.get(), "Schema", &nSchema, (int)CQXPPropExchange::kDefaultSchema);
    }
    if (nCount <= 1)
        return FALSE;
    pPX->m_nSchema = (UINT)nSchema;

    PaneExchangeContext ctx;
    ctx.m_pLayout = this;
    for (int i = 1; i <= nCount; ++i) {
        PropExchangeSectionPtr sec(pPX, SectionName(i));
        int nType = -1;
        if (!sec.get())
            return FALSE;
        ExchangeIntProp(sec.get(), "Type", &nType, -1);
        CPaneBase* p = m_pManager->CreatePaneObject(nType, this);
        if (!p)
            return FALSE;
        ctx.m_objects.push_back(p);
    }
    for (int i = 1; i <= nCount; ++i) {
        PropExchangeSectionPtr sec(pPX, SectionName(i));
        if (!sec.get() || !ctx.m_objects[i - 1]->DoPropExchange(sec.get(), ctx))
            return FALSE;
    }
    for (CPaneBase* p : ctx.m_objects) {
        if (p->GetType() != paneTypeDockingPane)
            continue;
        CQXPDockingPane* pPane = static_cast<CQXPDockingPane*>(p);
        DockingPaneRecord rec;
        rec.pPane = pPane;
        rec.pDockingHolder = LoadedHolder(ctx.Lookup(pPane->m_nLoadedHolders[0]));
        rec.pFloatingHolder = LoadedHolder(ctx.Lookup(pPane->m_nLoadedHolders[1]));
        rec.pLastHolder = LoadedHolder(ctx.Lookup(pPane->m_nLoadedHolders[2]));
        m_lstRecords.push_back(rec);
    }
    int nTop = 0, nClient = 0;
    {
        PropExchangeSectionPtr summary(pPX, "Summary");
        ExchangeIntProp(summary.get(), "TopContainer", &nTop, 0);
        ExchangeIntProp(summary.get(), "Client", &nClient, 0);
    }
    CPaneBase* pTop = ctx.Lookup(nTop);
    CPaneBase* pClient = ctx.Lookup(nClient);
    if (!pTop || pTop->GetType() != paneTypeSplitterContainer || pTop->GetContainer())
        return FALSE;
    if (!pClient || pClient->GetType() != paneTypeClientContainer)
        return FALSE;
    m_pTopContainer = static_cast<CPaneSplitterContainer*>(pTop);
    m_pClient = static_cast<CPaneClientContainer*>(pClient);
    return CheckLoadedTree();
}

// The links are all made: the client sits in the frame's tree and no
// splitter stands outside every root. What the saved form allows but no
// frame shows is mended: panes of a tabbed container outside every root are
// closed (the container stays their holder), and a second, unplaced client
// goes.
BOOL DockingLayoutStore::CheckLoadedTree()
{
    if (!m_pTopContainer->ContainsPane(m_pClient))
        return FALSE;
    PaneObjectList objects = m_lstObjects;
    for (CPaneBase* p : objects) {
        if (p->GetContainer())
            continue;
        switch (p->GetType()) {
        case paneTypeClientContainer:
            if (p != m_pClient) {
                ForgetObject(p);
                p->InternalRelease();
            }
            break;
        case paneTypeSplitterContainer:
            if (p != m_pTopContainer)
                return FALSE;
            break;
        case paneTypeTabbedContainer:
            while (CPaneBase* pPane = static_cast<CPaneContainerBase*>(p)->GetFirstPane()) {
                p->RemovePane(pPane);
                DockingPaneRecord* pRec = FindRecord(static_cast<CQXPDockingPane*>(pPane));
                if (pRec && !pRec->pLastHolder)
                    pRec->pLastHolder = p;
            }
            break;
        default:
            break;
        }
    }
    // Another client inside the tree would be a second document area.
    for (CPaneBase* p : m_lstObjects)
        if (p->GetType() == paneTypeClientContainer && p != m_pClient)
            return FALSE;
    return TRUE;
}
