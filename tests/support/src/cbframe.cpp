// The main frame of the command-bar tests (qmtest/cbframe.h).
#include <qmtest/cbframe.h>

#include <qx/listcontrols.h>

#include <qmtest/pump.h>

namespace qmtest {

BEGIN_MESSAGE_MAP(CommandBarTestFrame, CQXPMDIFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

int CommandBarTestFrame::OnCreate(LPCREATESTRUCTA lpcs)
{
    if (CQXPMDIFrameWnd::OnCreate(lpcs) == -1 || !OnCreateBeforeBars() || !InitCommandBars())
        return -1;
    CQXPCommandBars* pBars = GetCommandBars();
    if (m_nMenu != 0) {
        CQXPMenuBar* pMenuBar = pBars->SetMenu("Menu Bar", m_nMenu);
        if (m_ppMenuBar)
            *m_ppMenuBar = pMenuBar;
        if (!pMenuBar)
            return -1;
    }
    for (const ToolBar& t : m_toolBars) {
        CQXPToolBar* pBar = pBars->Add(t.pszName, qxpBarTop);
        if (t.ppBar)
            *t.ppBar = pBar;
        if (!pBar)
            return -1;
        BOOL bMade = t.nResource != 0 ? pBar->LoadToolBar(t.nResource)
                                      : pBar->SetButtons(t.ids.data(), static_cast<int>(t.ids.size()));
        if (!bMade)
            return -1;
    }
    return 0;
}

BOOL CommandBarTestFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nID == QXP_ID_CUSTOMIZE && nCode == (int)CN_COMMAND && m_bCustomizeAllowed) {
        if (!pHandlerInfo)
            m_nCustomizeCommands++;
        return TRUE;
    }
    return CQXPMDIFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

CQXPCommandBars* ShowActiveFrame(CommandBarTestFrame& frame, LPCSTR lpszTitle, const CRect& rc)
{
    if (!frame.Create(NULL, lpszTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, rc))
        return NULL;
    frame.RecalcLayout();
    ::SetForegroundWindow(frame.GetSafeHwnd());
    ::SetActiveWindow(frame.GetSafeHwnd());
    PumpUntil([&] { return ::GetActiveWindow() == frame.GetSafeHwnd(); }, 2000);
    PumpMessages();
    return frame.GetCommandBars();
}

void CloseFrame(CommandBarTestFrame& frame)
{
    if (CQXPCommandBars* pBars = ::IsWindow(frame.GetSafeHwnd()) ? frame.GetCommandBars() : NULL)
        pBars->ClosePopups();
    if (::IsWindow(frame.GetSafeHwnd()))
        frame.DestroyWindow();
    PumpMessages();
}

} // namespace qmtest
