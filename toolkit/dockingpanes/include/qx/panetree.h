// qx/panetree.h - the objects of a docking layout and the tree they form.
//
// Every object of a layout (the panes and every container that arranges them)
// derives from CPaneBase. The frame's tree: a splitter container at the root,
// splitter containers nested below it with alternating direction, tabbed
// containers and (once in the whole tree) the client container as leaves.
// Floating frames and auto-hide panels are roots of their own.
//
// Ownership: the layout object (DockingLayoutStore) that an object was made
// for keeps it in its objects list from birth and releases it when the layout
// is emptied. Containers never delete their children; removing a child only
// unlinks it.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <vector>

class DockingLayoutStore;
class CQXPDockingPaneManager;
class CDockingPanePaintManager;
class CQXPPropExchange;
class CPaneBase;
class CaptionButton;

// Type codes of the layout objects (the factory's and the saved "Type").
enum PaneObjectType {
    paneTypeDockingPane = 0,
    paneTypeTabbedContainer = 1,
    paneTypeSplitterContainer = 2,
    paneTypeMiniWnd = 3,
    paneTypeClientContainer = 4,
    paneTypeAutoHidePanel = 5,
};

// Directions of docking: 0 left, 1 right, 2 top, 3 bottom.
enum DockingDirection {
    dockLeftOf = 0,
    dockRightOf = 1,
    dockTopOf = 2,
    dockBottomOf = 3,
};

typedef std::vector<CPaneBase*> PaneObjectList;

// Old object -> its clone, filled by Clone when given.
class PaneCloneMap {
public:
    void Add(CPaneBase* pSource, CPaneBase* pClone) { m_pairs.push_back(Pair(pSource, pClone)); }
    CPaneBase* Lookup(const CPaneBase* pSource) const
    {
        for (const Pair& p : m_pairs)
            if (p.first == pSource)
                return p.second;
        return NULL;
    }

private:
    typedef std::pair<CPaneBase*, CPaneBase*> Pair;
    std::vector<Pair> m_pairs;
};

// What one object's exchange needs while a layout is saved or loaded: the
// object numbering both ways. Loading also checks every link it makes.
class PaneExchangeContext {
public:
    // Index 1..N -> object, NULL for 0 or an index that names nothing.
    CPaneBase* Lookup(int nIndex) const;
    // Object -> index, 0 for none or an object outside the numbering.
    int IndexOf(const CPaneBase* pObject) const;
    // Whether pChild may be linked under pParent while loading: it exists, is
    // not yet linked anywhere, is not a root kind (floating frame, auto-hide
    // panel) and does not hold pParent (no cycles).
    BOOL CanAdopt(const CPaneBase* pParent, const CPaneBase* pChild) const;

    std::vector<CPaneBase*> m_objects; // by index - 1
    DockingLayoutStore* m_pLayout = NULL;
};

// ---------------------------------------------------------------------------
class CPaneBase {
public:
    CPaneBase(int nType, DockingLayoutStore* pLayout);
    virtual ~CPaneBase();
    CPaneBase(const CPaneBase&) = delete;
    CPaneBase& operator=(const CPaneBase&) = delete;

    virtual void Invalidate();
    virtual BOOL ContainsPane(const CPaneBase* pPane) const;
    virtual void FindPane(int nType, PaneObjectList& list);
    virtual void GetMinMaxInfo(MINMAXINFO* pMinMax) const;
    virtual BOOL IsEmpty() const;
    virtual HWND GetDockingSite() const { return m_hDockingSite; }
    virtual BOOL IsHidden() const { return FALSE; }
    virtual HWND GetPaneHwnd() const { return NULL; }
    // One layout pass: the object takes the rectangle (docking site client
    // coordinates). Windows move only when lpParams carries a position handle.
    virtual void OnSizeParent(HWND hParent, const RECT& rect, AFX_SIZEPARENTPARAMS* lpParams);
    virtual void OnFocusChanged() {}
    virtual void SetDockingSite(HWND hSite) { m_hDockingSite = hSite; }
    virtual void SetParentContainer(CPaneBase* pContainer) { m_pParentContainer = pContainer; }
    virtual void OnChildContainerChanged(CPaneBase* /*pChild*/) {}
    virtual void UpdatePanes(BOOL bRelayout);
    virtual void OnParentContainerChanged(CPaneBase* /*pParent*/) {}
    // The object's keys in its saved section. Loading FALSE means damaged data.
    virtual BOOL DoPropExchange(CQXPPropExchange* pPX, PaneExchangeContext& ctx);
    // A new object of the same type in pLayout (recorded in pMap when given).
    virtual CPaneBase* Clone(DockingLayoutStore* pLayout, PaneCloneMap* pMap, DWORD dwIgnoredOptions);
    virtual void RemovePane(CPaneBase* /*pPane*/) {}
    virtual BOOL IsCaptionButtonVisible(int /*nButton*/) const { return TRUE; }

    // Reference counting: the layout holds the first reference.
    void InternalAddRef() { ++m_nRef; }
    void InternalRelease();

    int GetType() const { return m_nType; }
    CPaneBase* GetContainer() const { return m_pParentContainer; }
    DockingLayoutStore* GetLayout() const { return m_pLayout; }
    CQXPDockingPaneManager* GetDockingPaneManager() const;
    CDockingPanePaintManager* GetPaintManager() const;
    const RECT& GetPaneRect() const { return m_rcWindow; }
    // The stored rectangle in screen coordinates (unchanged without a site).
    void GetWindowRect(LPRECT lpRect) const;
    // The outermost object above this one (this one at a root).
    CPaneBase* GetRoot() const;

    SIZE m_szDocking;              // preferred size; a weight inside a splitter
    DockingLayoutStore* m_pLayout; // the layout that made the object
    CPaneBase* m_pParentContainer; // NULL for roots and closed panes
    HWND m_hDockingSite;           // window of m_rcWindow's coordinates
    int m_nType;
    RECT m_rcWindow;                                 // set by the last layout pass
    std::vector<CaptionButton*> m_arrCaptionButtons; // owned

protected:
    int m_nRef;
};

// ---------------------------------------------------------------------------
// The base of the containers that hold an ordered list of children.
class CPaneContainerBase : public CPaneBase {
public:
    CPaneContainerBase(int nType, DockingLayoutStore* pLayout) : CPaneBase(nType, pLayout) {}

    BOOL ContainsPane(const CPaneBase* pPane) const override;
    void FindPane(int nType, PaneObjectList& list) override;
    BOOL IsEmpty() const override;

    CPaneBase* GetFirstPane() const { return m_lstPanes.empty() ? NULL : m_lstPanes.front(); }
    CPaneBase* GetLastPane() const { return m_lstPanes.empty() ? NULL : m_lstPanes.back(); }
    const PaneObjectList& GetPanes() const { return m_lstPanes; }
    int GetPaneCount() const { return (int)m_lstPanes.size(); }
    int IndexOfChild(const CPaneBase* pPane) const;

protected:
    // List primitives; the caller keeps the links of the child right.
    void InsertChild(CPaneBase* pPane, CPaneBase* pNeighbour, BOOL bAfter);
    BOOL UnlinkChild(CPaneBase* pPane);

    PaneObjectList m_lstPanes;
};

// ---------------------------------------------------------------------------
// Stands for the frame's MDI client area inside the tree.
class CPaneClientContainer : public CPaneBase {
public:
    explicit CPaneClientContainer(DockingLayoutStore* pLayout) : CPaneBase(paneTypeClientContainer, pLayout) {}

    void GetMinMaxInfo(MINMAXINFO* pMinMax) const override;
    BOOL IsEmpty() const override;
};
