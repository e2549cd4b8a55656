// What the ribbon's window tests share: a command-bar test frame that
// records the commands of an id range (all enabled but the ones it is told
// to disable), and a fixture base that opens a frame in the ribbon theme in
// front with the pointer parked away, and closes it again.
#pragma once

#include <qx/office2007.h>
#include <qx/ribbonbar.h>
#include <qmtest/cbframe.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
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

// The ribbon theme that records every image it draws and the caption texts
// it writes (plain or glowing on glass).
class CRecordingRibbonTheme : public CRibbonStyleTheme {
public:
    struct Draw {
        std::string name;
        CRect rc;
        int nState, nStates;
        int nGlassFlags;
    };
    struct Text {
        CString strText; // the window's text for the plain caption text
        CRect rc;
        BOOL bGlow;
    };
    std::vector<Draw> draws;
    std::vector<Text> texts;
    BOOL DrawThemeImage(CDC* pDC, LPCSTR lpszName, CRect rc, int nState, int nStates, CRect rcMargins,
                        COLORREF clrKey, int nGlassFlags) override
    {
        draws.push_back({lpszName, rc, nState, nStates, nGlassFlags});
        return CRibbonStyleTheme::DrawThemeImage(pDC, lpszName, rc, nState, nStates, rcMargins, clrKey, nGlassFlags);
    }
    void DrawCaptionText(CDC* pDC, CRect rc, HWND hWnd, BOOL bActive) override
    {
        CString str;
        CWnd::FromHandle(hWnd)->GetWindowText(str);
        texts.push_back({str, rc, FALSE});
        CRibbonStyleTheme::DrawCaptionText(pDC, rc, hWnd, bActive);
    }
    void DrawGlowCaptionText(CDC* pDC, CRect rc, const CString& strText, HWND hWndFrame, BOOL bActive) override
    {
        texts.push_back({strText, rc, TRUE});
        CRibbonStyleTheme::DrawGlowCaptionText(pDC, rc, strText, hWndFrame, bActive);
    }
    // The last image drawn over a rectangle whose name starts with a prefix.
    const Draw* Last(const CRect& rc, const std::string& prefix) const
    {
        for (size_t i = draws.size(); i-- > 0;)
            if (draws[i].name.compare(0, prefix.size(), prefix) == 0 && draws[i].rc == rc)
                return &draws[i];
        return NULL;
    }
    // Whether an image of that name was drawn (anywhere) since the last Clear.
    bool Drew(const std::string& name) const
    {
        for (const Draw& d : draws)
            if (d.name == name)
                return true;
        return false;
    }
    void Clear()
    {
        draws.clear();
        texts.clear();
    }
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
    // A recording ribbon theme for the frame's bars (they take the reference).
    static CRecordingRibbonTheme* RecordDrawing(CQXPCommandBars* pBars)
    {
        auto* pTheme = new CRecordingRibbonTheme;
        pTheme->RefreshMetrics();
        pBars->SetPaintManager(pTheme);
        return pTheme;
    }
    // A ribbon (bar id 1) at the top of the bars; NULL when none was made.
    static CQXPRibbonBar* AddRibbonBar(CQXPCommandBars* pBars)
    {
        auto* pRibbon = DYNAMIC_DOWNCAST(CQXPRibbonBar, pBars->Add("Ribbon", qxpBarTop, RUNTIME_CLASS(CQXPRibbonBar)));
        if (pRibbon)
            pRibbon->SetBarID(1);
        return pRibbon;
    }
    static void CloseFrame(CFrameWnd& frame)
    {
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        qmtest::PumpMessages();
        SetGlobalPaintManager(0);
    }
};
