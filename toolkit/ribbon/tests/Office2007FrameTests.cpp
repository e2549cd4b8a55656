// The Office 2007 look on real windows: the frame skin of a top-level window
// driven with the real mouse (its caption buttons act on release), its
// borders and region read back from the screen, and a command-bar test frame
// in themes 5 and 6 with its menu open and a status bar, captured for review
// and probed at known points.
#include <qx/frameskin.h>
#include <qx/office2007.h>
#include <qx/popup.h>
#include <qx/statusbar.h>

#include <gtest/gtest.h>
#include <qmtest/cbframe.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>
#include <qmtest/screenshot.h>

#include <algorithm>
#include <string>

#include "cbtest_ids.h"

namespace {

using qmtest::MouseAt;
using qmtest::PumpFor;
using qmtest::PumpUntil;

COLORREF ScreenPixel(int x, int y)
{
    HDC hdc = ::GetDC(NULL);
    COLORREF clr = ::GetPixel(hdc, x, y);
    ::ReleaseDC(NULL, hdc);
    return clr;
}

LRESULT CALLBACK PlainProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_ERASEBKGND) {
        RECT rc;
        ::GetClientRect(hWnd, &rc);
        ::SetBkColor((HDC)wParam, RGB(255, 255, 255));
        ::ExtTextOutA((HDC)wParam, 0, 0, ETO_OPAQUE, &rc, NULL, 0, NULL);
        return 1;
    }
    return ::DefWindowProcA(hWnd, msg, wParam, lParam);
}

class FrameSkinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.hCursor = ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
        wc.lpszClassName = "QxOffice2007SkinTest";
        ::RegisterClassA(&wc);
        hWnd = ::CreateWindowExA(0, wc.lpszClassName, "Skinned frame", WS_OVERLAPPEDWINDOW, 120, 100, 420, 300,
                                 NULL, NULL, wc.hInstance, NULL);
        ASSERT_TRUE(hWnd != NULL);
        theme = new COffice2007Theme;
        theme->RefreshMetrics();
        ASSERT_TRUE(skin.Attach(hWnd, theme));
        theme->InternalRelease(); // the skin holds it
        ::ShowWindow(hWnd, SW_SHOW);
        ::SetForegroundWindow(hWnd);
        PumpUntil([&] { return ::GetForegroundWindow() == hWnd; }, 2000);
        PumpFor(100);
    }
    void TearDown() override
    {
        if (::IsWindow(hWnd))
            ::DestroyWindow(hWnd);
        PumpFor(50);
    }
    // The centre of a caption button on the screen.
    POINT ButtonCentre(UINT nCommand)
    {
        QXPFrameSkin f = skin.GetFrame();
        CRect rcWindow;
        ::GetWindowRect(hWnd, &rcWindow);
        for (const auto& b : f.buttons)
            if (b.nCommand == nCommand)
                return CPoint(rcWindow.left + b.rc.CenterPoint().x, rcWindow.top + b.rc.CenterPoint().y);
        ADD_FAILURE() << "no caption button " << nCommand;
        return CPoint(0, 0);
    }
    BOOL Pressed(UINT nCommand)
    {
        for (const auto& b : skin.GetFrame().buttons)
            if (b.nCommand == nCommand)
                return b.bPressed;
        return FALSE;
    }

    HWND hWnd = NULL;
    COffice2007Theme* theme = NULL;
    COffice2007FrameSkin skin;
};

TEST_F(FrameSkinTest, BordersRegionAndCaptionAreTheThemes)
{
    QXPFrameSkin f = skin.GetFrame();
    ASSERT_GE(f.nBorder, 3);
    ASSERT_EQ(3u, f.buttons.size());
    EXPECT_EQ((UINT)SC_CLOSE, f.buttons[0].nCommand);
    EXPECT_EQ((UINT)SC_MAXIMIZE, f.buttons[1].nCommand);
    EXPECT_EQ((UINT)SC_MINIMIZE, f.buttons[2].nCommand);
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    // The region cuts the top corners, and without a status-bar strip the
    // bottom ones; beside a status-bar strip the bottom stays square.
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(hWnd, hRgn));
    EXPECT_FALSE(::PtInRegion(hRgn, 0, 0));
    EXPECT_TRUE(::PtInRegion(hRgn, 4, 0));
    EXPECT_FALSE(::PtInRegion(hRgn, 0, rc.Height() - 1));
    EXPECT_TRUE(::PtInRegion(hRgn, 4, rc.Height() - 1));
    skin.SetStatusBarHeight(20);
    ASSERT_NE(ERROR, ::GetWindowRgn(hWnd, hRgn));
    EXPECT_TRUE(::PtInRegion(hRgn, 0, rc.Height() - 1));
    EXPECT_FALSE(::PtInRegion(hRgn, 0, 0));
    skin.SetStatusBarHeight(0);
    ::DeleteObject(hRgn);
    // The side borders, column by column, on the screen.
    skin.Redraw();
    const int y = rc.top + rc.Height() / 2;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(theme->m_clrBorderActive[i].GetColor(), ScreenPixel(rc.left + i, y)) << "left column " << i;
        EXPECT_EQ(theme->m_clrBorderActive[i].GetColor(), ScreenPixel(rc.right - 1 - i, y)) << "right column " << i;
    }
    EXPECT_EQ(theme->m_clrBorderActive[0].GetColor(), ScreenPixel(rc.left + rc.Width() / 2, rc.bottom - 1));
    EXPECT_TRUE(qmtest::SaveWindowShot(hWnd, QM_BIN_DIR, "office2007-frameskin.png"));
    // Inactive: the inactive border colours.
    HWND hOther = ::CreateWindowExA(0, "QxOffice2007SkinTest", "Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 500,
                                    200, 150, NULL, NULL, ::GetModuleHandleA(NULL), NULL);
    ::SetForegroundWindow(hOther);
    PumpUntil([&] { return ::GetForegroundWindow() == hOther; }, 2000);
    PumpFor(100);
    EXPECT_FALSE(skin.GetFrame().bActive);
    EXPECT_EQ(theme->m_clrBorderInactive[0].GetColor(), ScreenPixel(rc.left, y));
    EXPECT_TRUE(qmtest::SaveWindowShot(hWnd, QM_BIN_DIR, "office2007-frameskin-inactive.png"));
    ::DestroyWindow(hOther);
}

TEST_F(FrameSkinTest, CaptionButtonsActOnReleaseOverThemselves)
{
    // Maximize: pressed, nothing yet; released, the window is maximized.
    POINT pt = ButtonCentre(SC_MAXIMIZE);
    MouseAt(pt, 0);
    EXPECT_EQ((LRESULT)HTMAXBUTTON, ::SendMessageA(hWnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
    MouseAt(pt, MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(Pressed(SC_MAXIMIZE));
    EXPECT_FALSE(::IsZoomed(hWnd)) << "nothing happens on the press";
    MouseAt(pt, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return ::IsZoomed(hWnd) != FALSE; }, 2000)) << "maximized on release";
    EXPECT_FALSE(Pressed(SC_MAXIMIZE));
    EXPECT_EQ((UINT)SC_RESTORE, skin.GetFrame().buttons[1].nCommand);
    // Maximized: no rounded corners; the region is the window less its
    // hidden borders.
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(SIMPLEREGION, ::GetWindowRgn(hWnd, hRgn)) << "no rounded region while maximized";
    CRect rcMax, rcBox;
    ::GetWindowRect(hWnd, &rcMax);
    ::GetRgnBox(hRgn, &rcBox);
    const int b = skin.GetFrame().nBorder;
    EXPECT_EQ(CRect(b, b, rcMax.Width() - b, rcMax.Height() - b), rcBox);
    ::DeleteObject(hRgn);

    // Restore from the same place.
    pt = ButtonCentre(SC_RESTORE);
    MouseAt(pt, MOUSEEVENTF_LEFTDOWN);
    MouseAt(pt, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return !::IsZoomed(hWnd); }, 2000));

    // A press moved off the button before the release does nothing.
    pt = ButtonCentre(SC_MINIMIZE);
    MouseAt(pt, MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(Pressed(SC_MINIMIZE));
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    POINT ptAway = {rc.left + rc.Width() / 2, rc.top + rc.Height() / 2};
    MouseAt(ptAway, MOUSEEVENTF_MOVE);
    EXPECT_FALSE(Pressed(SC_MINIMIZE)) << "disarmed off the button";
    MouseAt(ptAway, MOUSEEVENTF_LEFTUP);
    PumpFor(100);
    EXPECT_FALSE(::IsIconic(hWnd));

    // Minimize.
    pt = ButtonCentre(SC_MINIMIZE);
    MouseAt(pt, MOUSEEVENTF_LEFTDOWN);
    MouseAt(pt, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return ::IsIconic(hWnd) != FALSE; }, 2000));
    ::ShowWindow(hWnd, SW_RESTORE);
    ::SetForegroundWindow(hWnd);
    PumpFor(150);

    // Close: the press leaves the window, the release closes it.
    pt = ButtonCentre(SC_CLOSE);
    MouseAt(pt, MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(::IsWindow(hWnd));
    MouseAt(pt, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(hWnd); }, 2000)) << "closed on release";
}

// ---------------------------------------------------------------------------
// A command-bar test frame in themes 5 and 6

class CThemeTestFrame : public qmtest::CommandBarTestFrame {
public:
    CThemeTestFrame()
        : CommandBarTestFrame(IDR_TEST_MENU, &m_pMenuBar, {{"Toolbar", &m_pToolBar, IDR_TEST_TOOLBAR, {}}})
    {
    }
    CQXPMenuBar* m_pMenuBar = NULL;
    CQXPToolBar* m_pToolBar = NULL;
};

class ThemeFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterOffice2007Themes(); }
    void SetUp() override
    {
        ASSERT_TRUE(frame.Create(NULL, "Office 2007 look", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 420)));
        ASSERT_TRUE(status.Create(&frame));
        static const UINT panes[] = {0, ID_TEST_OPEN};
        status.SetIndicators(panes, 2);
        frame.RecalcLayout();
        qmtest::PumpMessages();
    }
    void TearDown() override
    {
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        qmtest::PumpMessages();
        SetGlobalPaintManager(0);
    }
    CThemeTestFrame frame;
    CQXPStatusBar status;
};

TEST_F(ThemeFrameTest, MenusToolbarsAndStatusBarInThemesFiveAndSix)
{
    struct Case {
        int nTheme;
        const char* pszName;
    } cases[] = {{qxpThemeOffice2007, "office2007"}, {qxpThemeRibbon, "office2007-ribbon"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        SetGlobalPaintManager(c.nTheme);
        auto* pTheme = dynamic_cast<COffice2007Theme*>(GetGlobalPaintManager());
        ASSERT_TRUE(pTheme != NULL);
        frame.GetCommandBars()->RedrawCommandBars();
        ::RedrawWindow(frame.GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpFor(100);

        EXPECT_EQ((LRESULT)c.nTheme, status.SendMessage(QXP_WM_GETTHEMEVALUE)) << "the status bar is skinned";
        // The status bar: its top line is the theme's shadow (theme 5) or
        // its light image (theme 6).
        CRect rcStatus;
        status.GetWindowRect(&rcStatus);
        COLORREF clrTop = ScreenPixel(rcStatus.left + 20, rcStatus.top);
        if (c.nTheme == qxpThemeOffice2007)
            EXPECT_EQ(pTheme->m_clrStatusBarShadow.GetColor(), clrTop);
        else
            EXPECT_EQ(RGB(0x86, 0xA6, 0xD3), clrTop) << "the first row of STATUSBARLIGHT";
        // The toolbar face: theme 6 draws TOOLBARFACEHORIZONTAL.
        CRect rcBar;
        frame.m_pToolBar->GetWindowRect(&rcBar);
        COLORREF clrBar = ScreenPixel(rcBar.right - 3, rcBar.top + rcBar.Height() / 2);
        if (c.nTheme == qxpThemeRibbon) {
            EXPECT_LT(GetRValue(clrBar), GetBValue(clrBar)) << "blue face from the image";
        }
        // The frame itself skinned by the same theme, its status strip beside
        // the status bar.
        COffice2007FrameSkin skin;
        ASSERT_TRUE(skin.Attach(frame.GetSafeHwnd(), pTheme));
        skin.SetStatusBarHeight(rcStatus.Height());
        ::RedrawWindow(frame.GetSafeHwnd(), NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpFor(100);
        CRect rcFrame;
        frame.GetWindowRect(&rcFrame);
        EXPECT_EQ(pTheme->m_clrBorderActive[0].GetColor(), ScreenPixel(rcFrame.left, rcFrame.top + 60));
        EXPECT_TRUE(qmtest::SaveWindowShot(frame.GetSafeHwnd(), QM_BIN_DIR, std::string(c.pszName) + "-frame.png"));
        skin.Detach();

        // The File menu open: its face is the popup face.
        ASSERT_TRUE(frame.m_pMenuBar->SetPopuped(0));
        CQXPCommandBar* pPopup = frame.m_pMenuBar->GetControl(0)->GetCommandBar();
        ASSERT_TRUE(pPopup != NULL);
        ::UpdateWindow(pPopup->GetSafeHwnd());
        PumpFor(100);
        CRect rcPopup;
        ::GetWindowRect(pPopup->GetSafeHwnd(), &rcPopup);
        COLORREF clrFace = ScreenPixel(rcPopup.right - 6, rcPopup.bottom - 4);
        EXPECT_EQ(c.nTheme == qxpThemeRibbon ? RGB(250, 250, 250) : RGB(246, 246, 246), clrFace);
        RECT rcShot = {std::max(0L, rcPopup.left - 40), std::max(0L, rcPopup.top - 40), rcPopup.right + 20,
                       rcPopup.bottom + 20};
        std::string path = qmtest::ScreenshotDir(QM_BIN_DIR) + "/" + c.pszName + "-menu.png";
        EXPECT_TRUE(qmtest::SaveScreenPng(rcShot, path));
        printf("screenshot: %s\n", path.c_str());
        frame.m_pMenuBar->SetPopuped(-1);
        qmtest::PumpMessages();
    }
}

} // namespace
