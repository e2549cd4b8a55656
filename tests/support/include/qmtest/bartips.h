// The tooltip a command bar shows, read back from the tooltip window of the
// bar's tooltip context (the manager's: one window for all its bars).
#pragma once

#include <qx/commandbar.h>
#include <qx/tooltips.h>

#include <string>

namespace qmtest {

// The tooltip window of the bar's context while it is on screen, else NULL
// (also for a bar without a context).
inline HWND ShownBarTip(CQXPCommandBar* pBar)
{
    CQXPToolTipContext* pContext = pBar->GetToolTipContext();
    CWnd* pTip = pContext ? pContext->GetToolTip() : NULL;
    HWND hTip = pTip ? pTip->GetSafeHwnd() : NULL;
    return hTip && ::IsWindowVisible(hTip) ? hTip : NULL;
}

// The text the toolkit's own tooltip window of the bar's context shows now;
// "" while it shows none, or for another kind of tooltip window.
inline std::string ShownBarTipText(CQXPCommandBar* pBar)
{
    CQXPToolTipContext* pContext = pBar->GetToolTipContext();
    CQXPToolTipContextToolTip* pTip = pContext ? dynamic_cast<CQXPToolTipContextToolTip*>(pContext->GetToolTip()) : NULL;
    if (!pTip || !pTip->IsTool(pTip->m_toolShown))
        return std::string();
    return std::string(pTip->GetToolText(pTip->m_toolShown));
}

} // namespace qmtest
