// qx/autohide.h - the auto-hide panel of one frame side: groups of
// auto-hidden panes (tabbed containers). The slide-out window and the panel's
// own strip window come with the panel's drawing.
#pragma once

#include <qx/panetree.h>

class AutoHidePanel : public CPaneContainerBase {
public:
    explicit AutoHidePanel(DockingLayoutStore* pLayout);

    int GetDirection() const { return m_nDirection; }
    void SetDirection(int nDirection) { m_nDirection = nDirection; }
    // Adds a group (a tabbed container, or a pane that the caller has put in
    // one) at the end.
    void AddGroup(CPaneBase* pGroup);
    void RemovePane(CPaneBase* pPane) override;
    BOOL IsEmpty() const override;
    // The strip the panel takes from the frame's rectangle (0 when empty).
    int GetStripSize() const;
    void OnSizeParent(HWND hParent, const RECT& rect, AFX_SIZEPARENTPARAMS* lpParams) override;
    CPaneBase* Clone(DockingLayoutStore* pLayout, PaneCloneMap* pMap, DWORD dwIgnoredOptions) override;
    BOOL DoPropExchange(CQXPPropExchange* pPX, PaneExchangeContext& ctx) override;

protected:
    int m_nDirection;
};
