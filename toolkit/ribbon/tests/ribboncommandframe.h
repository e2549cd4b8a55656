// What the ribbon's window tests share: a command-bar test frame that
// records the commands of an id range (all enabled but the ones it is told
// to disable), and a fixture base that opens a frame in the ribbon theme in
// front with the pointer parked away, and closes it again.
#pragma once

#include <qx/office2007.h>
#include <qmtest/cbframe.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>

#include <gtest/gtest.h>

#include <set>
#include <vector>

class CRibbonCommandFrame : public qmtest::CommandBarTestFrame {
public:
    CRibbonCommandFrame(UINT nFirst = 0, UINT nLast = 0) : CommandBarTestFrame(0, NULL), m_nFirst(nFirst), m_nLast(nLast)
    {
    }
    std::vector<UINT> m_commands; // in the order they ran
    std::set<UINT> m_disabled;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nID >= m_nFirst && nID <= m_nLast && m_nFirst) {
            if (nCode == CN_COMMAND && pHandlerInfo == NULL)
                m_commands.push_back(nID);
            else if (nCode == (int)CN_UPDATE_COMMAND_UI)
                ((CCmdUI*)pExtra)->Enable(m_disabled.count(nID) == 0);
            return TRUE;
        }
        return CommandBarTestFrame::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

private:
    UINT m_nFirst, m_nLast;
};

class RibbonWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterOffice2007Themes(); }
    // The pointer parked, theme 6, the frame created visible and in front.
    static void OpenFrame(CFrameWnd& frame, LPCSTR lpszTitle, const CRect& rc)
    {
        qmtest::ParkPointer();
        SetGlobalPaintManager(qxpThemeRibbon);
        ASSERT_TRUE(frame.Create(NULL, lpszTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, rc));
        ::SetForegroundWindow(frame.GetSafeHwnd());
        qmtest::PumpUntil([&] { return ::GetForegroundWindow() == frame.GetSafeHwnd(); });
    }
    static void CloseFrame(CFrameWnd& frame)
    {
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        qmtest::PumpMessages();
        SetGlobalPaintManager(0);
    }
};
