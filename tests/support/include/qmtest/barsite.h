// A plain window that hosts command bars without being a frame. The command
// bars manager lays such a site out by sending it WM_SIZE with its client
// size; like any window that holds dock bars, it answers by giving the bars
// their bands again (RepositionBars), as a frame's RecalcLayout would. A
// test host derives from it (its message map may keep CWnd as the base) and
// must not itself ask the manager for a layout on WM_SIZE.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

namespace qmtest {

class CBarSiteWnd : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
        if (message == WM_SIZE && ::IsWindow(m_hWnd))
            RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
        return lResult;
    }
};

} // namespace qmtest
