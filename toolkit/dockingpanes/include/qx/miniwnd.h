// qx/miniwnd.h - the floating frame of panes: a top-level tool frame holding
// one splitter container. The model part: its content, its screen rectangle
// and its roll-up state. The window comes with dragging and floating.
#pragma once

#include <qx/panetree.h>

class CPaneSplitterContainer;

class CQXPDockingPaneMiniWnd : public CPaneBase {
public:
    explicit CQXPDockingPaneMiniWnd(DockingLayoutStore* pLayout);

    // Takes the splitter as its content and becomes its parent.
    void SetTopContainer(CPaneSplitterContainer* pTop);
    CPaneSplitterContainer* GetTopContainer() const { return m_pTopContainer; }
    // Wraps an object (a tabbed container or splitter) as the content.
    void Init(CPaneBase* pPane, const RECT& rcScreen);

    BOOL ContainsPane(const CPaneBase* pPane) const override;
    void FindPane(int nType, PaneObjectList& list) override;
    BOOL IsEmpty() const override;
    void RemovePane(CPaneBase* pPane) override;
    CPaneBase* Clone(DockingLayoutStore* pLayout, PaneCloneMap* pMap, DWORD dwIgnoredOptions) override;
    BOOL DoPropExchange(CQXPPropExchange* pPX, PaneExchangeContext& ctx) override;

    RECT m_rcScreen;
    BOOL m_bCollapsed;
    int m_nExpandedHeight;

protected:
    CPaneSplitterContainer* m_pTopContainer;
};
