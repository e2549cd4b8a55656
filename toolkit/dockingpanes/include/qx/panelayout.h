// qx/panelayout.h - one complete arrangement of docking panes: the tree of
// containers, the panes with their holders, the four auto-hide panels. Saved
// in the profile section "DockingPaneLayouts", child section = layout name.
#pragma once

#include <qx/panetree.h>

class CQXPDockingPane;
class CPaneSplitterContainer;
class CPaneClientContainer;
class AutoHidePanel;

// Where a pane was last floating, last docked and last held at all.
struct DockingPaneRecord {
    CQXPDockingPane* pPane = NULL;
    CPaneBase* pFloatingHolder = NULL;
    CPaneBase* pDockingHolder = NULL;
    CPaneBase* pLastHolder = NULL;
};

// A thin window on one edge of the docking area while the manager keeps a
// client margin, drawn by the paint manager (window class
// "QXPDockingPaneSplitter").
class DockingMarginWnd : public CWnd {
public:
    DockingMarginWnd(CQXPDockingPaneManager* pManager, BOOL bHorizontal);
    BOOL Create(HWND hSite);

    CQXPDockingPaneManager* m_pManager;
    BOOL m_bHorizontal; // the top and bottom strips

protected:
    void PostNcDestroy() override {} // owned by the layout
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};

class DockingLayoutStore {
public:
    explicit DockingLayoutStore(CQXPDockingPaneManager* pManager);
    virtual ~DockingLayoutStore();
    DockingLayoutStore(const DockingLayoutStore&) = delete;
    DockingLayoutStore& operator=(const DockingLayoutStore&) = delete;

    void Clear();
    BOOL IsValid() const;
    void CopyFrom(const DockingLayoutStore* pSource);
    void DropEmptyContainers();
    // Floating frames left empty go with their windows (never called from
    // inside a frame's own handler).
    void DropEmptyFrames();
    // Takes the pane out of the layout for good.
    void RemovePane(CQXPDockingPane* pPane);
    void AutoHidePane(CPaneBase* pObject);
    // Moves the object's panes into the group of the panel whose first pane
    // has their docking holder (those that may hide); FALSE when no group
    // of the panel was docked there.
    BOOL JoinAutoHideGroup(CPaneBase* pObject, AutoHidePanel* pPanel);
    // 0..3 the side, 4 floating, -1 none (the client or no splitter above).
    int GetPaneDirection(const CPaneBase* pObject) const;
    void RepositionInFrame(HWND hSite, RECT& rect, HDWP hDWP);

    // TRUE only when the whole layout was read and checked; on FALSE the
    // layout is empty and must not be applied.
    BOOL LoadFromRegistry(LPCSTR lpszName);
    void SaveToRegistry(LPCSTR lpszName);
    // The same on an exchange opened at the layout's own section.
    BOOL LoadFrom(CQXPPropExchange* pPX);
    void SaveTo(CQXPPropExchange* pPX);
    BOOL DoPropExchange(CQXPPropExchange* pPX);
    // The same keys in an archive (loading or storing by the archive's
    // direction). Loading damaged data leaves the layout empty and throws
    // the framework's archive exception.
    void Serialize(CArchive& ar);

    // Called by every object's construction and destruction.
    void AddObject(CPaneBase* pObject) { m_lstObjects.push_back(pObject); }
    void ForgetObject(CPaneBase* pObject);

    DockingPaneRecord* FindRecord(const CQXPDockingPane* pPane);
    void AddRecord(const DockingPaneRecord& rec) { m_lstRecords.push_back(rec); }
    // Refreshes the holders of every placed pane.
    void UpdateHolders();
    // The last container that held the pane while floating (bFloating) or
    // docked; NULL without one or for a pane the layout does not list.
    CPaneBase* GetHolder(const CQXPDockingPane* pPane, BOOL bFloating);

    CPaneSplitterContainer* GetTopContainer() const { return m_pTopContainer; }
    void SetTopContainer(CPaneSplitterContainer* pTop) { m_pTopContainer = pTop; }
    CPaneClientContainer* GetClientContainer() const { return m_pClient; }
    CQXPDockingPaneManager* GetManager() const { return m_pManager; }
    const std::vector<DockingPaneRecord>& GetRecords() const { return m_lstRecords; }
    const PaneObjectList& GetObjects() const { return m_lstObjects; }
    AutoHidePanel* GetPanel(int nSide) const { return nSide >= 0 && nSide < 4 ? m_pPanels[nSide] : NULL; }
    void SetPanel(int nSide, AutoHidePanel* pPanel);
    // The margin window of a side (0 left, 1 right, 2 top, 3 bottom), none
    // while the manager keeps no client margin.
    DockingMarginWnd* GetMarginWindow(int nSide) const { return nSide >= 0 && nSide < 4 ? m_pMargins[nSide] : NULL; }
    BOOL IsLoading() const { return m_bLoading; }
    // The panes in record order.
    std::vector<CQXPDockingPane*> GetPanes() const;

    BOOL m_bUserLayout; // made by the application (cleared for the live one)

protected:
    BOOL LoadObjects(CQXPPropExchange* pPX);
    BOOL CheckLoadedTree();

    CPaneSplitterContainer* m_pTopContainer;
    CPaneClientContainer* m_pClient;
    std::vector<DockingPaneRecord> m_lstRecords;
    PaneObjectList m_lstObjects;
    AutoHidePanel* m_pPanels[4];
    DockingMarginWnd* m_pMargins[4];
    void DestroyMargins();
    CQXPDockingPaneManager* m_pManager;
    BOOL m_bLoading;
    BOOL m_bClearing;
};
