// The MDI frame base: command bars created with the frame, laid out by the
// frame's own layout above its MDI client, updated at idle time; the frame's
// accelerators step aside for a shortcut table of the bars' own.
#include <qx/framehost.h>

#include <gtest/gtest.h>
#include <qmtest/cbframe.h>

#include <vector>

#include "cbtest_ids.h"

namespace {

class CTestMainFrame : public qmtest::CommandBarTestFrame {
public:
    CTestMainFrame() : CommandBarTestFrame(IDR_TEST_MENU, NULL, {{"Toolbar", &m_pToolBar, IDR_TEST_TOOLBAR, {}}}) {}
    BOOL m_bSaveEnabled = TRUE;
    std::vector<UINT> commands;
    CQXPToolBar* m_pToolBar = NULL;

protected:
    afx_msg void OnSave() { commands.push_back(ID_TEST_SAVE); }
    afx_msg void OnUpdateSave(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bSaveEnabled); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestMainFrame, qmtest::CommandBarTestFrame)
    ON_COMMAND(ID_TEST_SAVE, OnSave)
    ON_UPDATE_COMMAND_UI(ID_TEST_SAVE, OnUpdateSave)
END_MESSAGE_MAP()

TEST(FrameHost, BarsSitAboveTheMdiClientAndFollowTheFrame)
{
    CTestMainFrame frame;
    ASSERT_TRUE(frame.Create(NULL, "Frame host test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 400)));
    CQXPCommandBars* pBars = frame.GetCommandBars();
    ASSERT_NE(nullptr, pBars);
    ASSERT_NE((HWND)NULL, frame.m_hWndMDIClient);
    frame.RecalcLayout();

    CRect rcDock, rcClient;
    ::GetWindowRect(pBars->GetDockBar(qxpBarTop)->GetSafeHwnd(), &rcDock);
    ::GetWindowRect(frame.m_hWndMDIClient, &rcClient);
    EXPECT_GT(rcDock.Height(), 20);
    EXPECT_EQ(rcDock.bottom, rcClient.top) << "the MDI client takes the space left";

    // A taller frame keeps the bars and gives the client the rest.
    frame.SetWindowPos(NULL, 0, 0, 700, 500, SWP_NOZORDER | SWP_NOMOVE);
    ::GetWindowRect(frame.m_hWndMDIClient, &rcClient);
    CRect rcFrameClient;
    frame.GetClientRect(&rcFrameClient);
    EXPECT_EQ(rcFrameClient.Height() - rcDock.Height(), rcClient.Height());

    // The bars refresh their controls through the frame's update handlers.
    frame.m_bSaveEnabled = FALSE;
    frame.SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    CQXPControl* pSave = frame.m_pToolBar->GetControls()->FindControl(ID_TEST_SAVE);
    ASSERT_NE(nullptr, pSave);
    EXPECT_EQ(0, pSave->GetEnabled());

    frame.DestroyWindow();
    EXPECT_EQ(nullptr, frame.GetCommandBars()) << "the manager goes with the frame";
}

// A frame loaded from resources whose bars may take a shortcut table of
// their own while the frame is created.
class CAccelFrame : public CQXPMDIFrameWnd {
public:
    BOOL m_bOwnTable = FALSE;
    void PostNcDestroy() override {}

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpcs)
    {
        if (CQXPMDIFrameWnd::OnCreate(lpcs) == -1 || !InitCommandBars())
            return -1;
        if (m_bOwnTable && !GetCommandBars()->GetKeyboardShortcuts()->LoadAccelerators(IDR_TEST_MENU))
            return -1;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CAccelFrame, CQXPMDIFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(FrameHost, LoadedFramesKeepTheirAcceleratorsOnlyWhileTheBarsHaveNoShortcutTable)
{
    struct Case {
        BOOL bOwnTable;
        bool bFrameTable;
    } cases[] = {{FALSE, true}, {TRUE, false}};
    for (const Case& c : cases) {
        CAccelFrame frame;
        frame.m_bOwnTable = c.bOwnTable;
        ASSERT_TRUE(frame.LoadFrame(IDR_TEST_MENU, WS_OVERLAPPEDWINDOW)) << c.bOwnTable;
        EXPECT_EQ(c.bFrameTable, frame.m_hAccelTable != NULL) << c.bOwnTable;
        frame.DestroyWindow();
    }
}

} // namespace
