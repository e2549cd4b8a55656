// qx/rebarhost.h - a rebar in which command bars live as bands instead of
// in dock bars. The frame keeps it as its child AFX_IDW_REBAR; the manager
// then adds every new bar to it as a band of its own row.
#pragma once

#include <qx/toolbar.h>

#include <commctrl.h>

class CQXPReBar : public CWnd {
    DECLARE_DYNAMIC(CQXPReBar)
public:
    CQXPReBar();
    ~CQXPReBar() override;

    // The rebar control along the top of the parent frame.
    BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS | RBS_VARHEIGHT,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, UINT nID = AFX_IDW_REBAR);

    // Moves a bar into a new band (the last): the bar leaves its dock bar
    // and loses its alignment and floating flags; the band's id is the
    // bar's BarID. FALSE when the band cannot be added.
    BOOL AddCommandBar(CQXPToolBar* pBar, DWORD dwBandStyle = RBBS_GRIPPERALWAYS | RBBS_BREAK);
    // The index of the band that holds the bar, -1 when none does.
    int FindBand(CQXPToolBar* pBar) const;
    // Deletes the bar's band (the bar window stays); -1 when it has none.
    int DeleteBand(CQXPToolBar* pBar);
    int GetBandCount() const;
    // The band's rectangle in the rebar's client coordinates.
    CRect GetBandRect(int nBand) const;
    // Every band takes its bar's present size (after the bar's controls
    // changed).
    void UpdateBandSizes();
    // TRUE while the frame's layout places the rebar.
    BOOL IsInLayout() const { return m_bInLayout; }

protected:
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    BOOL m_bInLayout;
};
