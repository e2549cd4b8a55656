// The frame hook under Wine: the command bars' frame-theming switch (themes
// 5 and 6 on a top-level frame with a caption only, one hook, deleted once
// when the switch, the theme or the site goes), the frame's non-client area
// with and without a ribbon drawing the caption, a new title or icon, the
// region rules and what makes the region again, composition with
// an injected flag and a recording frame extension, the caption buttons and
// the caption of the ribbon under the real mouse. Screenshots of both looks.
#include <qx/commandbars.h>
#include <qx/office2007.h>
#include <qx/propexchange.h>
#include <qx/ribbonbar.h>
#include <qx/ribbonframehook.h>
#include <qx/ribbonsystem.h>
#include <qx/statusbar.h>
#include "ribboncommandframe.h"
#include <qmtest/archivebytes.h>
#include <qmtest/cbframe.h>
#include <qmtest/mouse.h>
#include <qmtest/offscreen.h>
#include <qmtest/pump.h>
#include <qmtest/screenshot.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

class CHookTestFrame : public qmtest::CommandBarTestFrame {
public:
    CHookTestFrame() : CommandBarTestFrame(0, NULL) {}
    std::vector<UINT> m_sysCommands; // WM_SYSCOMMAND as the frame got them
    std::vector<WPARAM> m_sysRaw;    // ... with their low bits
    BOOL m_bKeepSize = FALSE;        // SC_SIZE recorded only (no sizing loop)
    std::vector<UINT> m_cursorHits;  // the hit codes of WM_SETCURSOR
    std::vector<CPoint> m_windowMenus; // window-menu requests (their screen points), not shown
    std::function<void()> m_onLayout;  // called as each frame layout begins

    void RecalcLayout(BOOL bNotify = TRUE) override
    {
        if (m_onLayout)
            m_onLayout();
        CommandBarTestFrame::RecalcLayout(bNotify);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == QXP_WM_POPUPSYSTEMMENU) {
            m_windowMenus.push_back(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
            return 0;
        }
        if (message == WM_SYSCOMMAND) {
            m_sysCommands.push_back((UINT)(wParam & 0xFFF0));
            m_sysRaw.push_back(wParam);
            if (m_bKeepSize && (wParam & 0xFFF0) == SC_SIZE)
                return 0;
        }
        if (message == WM_SETCURSOR)
            m_cursorHits.push_back(LOWORD(lParam));
        return CommandBarTestFrame::WindowProc(message, wParam, lParam);
    }
};

// The recording frame extension and the injected composition flag.
BOOL g_bComposition = FALSE;
std::vector<int> g_extendCalls; // top margins asked for
BOOL FakeComposition() { return g_bComposition; }
HRESULT RecordExtend(HWND, int nTopMargin)
{
    g_extendCalls.push_back(nTopMargin);
    return S_OK;
}
// The system's caption buttons of a composited frame: a close button over
// this screen rectangle, nothing anywhere else.
CRect g_rcSystemClose;
BOOL FakeDwmDefWindowProc(HWND, UINT nMessage, WPARAM, LPARAM lParam, LRESULT* plResult)
{
    const CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
    if (nMessage != WM_NCHITTEST || !g_rcSystemClose.PtInRect(pt))
        return FALSE;
    *plResult = HTCLOSE;
    return TRUE;
}

COLORREF ScreenPixel(int x, int y)
{
    HDC hdc = ::GetDC(NULL);
    COLORREF clr = ::GetPixel(hdc, x, y);
    ::ReleaseDC(NULL, hdc);
    return clr;
}

class RibbonFrameTest : public RibbonWindowTest {
protected:
    void SetUp() override
    {
        OpenFrame(frame, "Frame hook", CRect(40, 30, 740, 510));
    }
    void TearDown() override
    {
        CloseFrame(frame);
        g_bComposition = FALSE;
        g_extendCalls.clear();
        g_rcSystemClose.SetRectEmpty();
    }
    CQXPCommandBars* Bars() { return frame.GetCommandBars(); }
    RibbonFrameHook* Hook() { return dynamic_cast<RibbonFrameHook*>(Bars()->GetFrameHook()); }
    // Composition as the seams report it (Wine has none).
    void FakeGlass(RibbonFrameHook* pHook, BOOL bOn)
    {
        pHook->m_pfnIsCompositionEnabled = FakeComposition;
        pHook->m_pfnExtendFrameIntoClientArea = RecordExtend;
        pHook->m_pfnDwmDefWindowProc = FakeDwmDefWindowProc;
        g_bComposition = bOn;
        frame.SendMessage(WM_DWMCOMPOSITIONCHANGED);
        Relayout();
    }
    // Frame theming on, the ribbon drawing the caption.
    bool ThemeTheFrame(CQXPRibbonBar* pRibbon)
    {
        Bars()->EnableFrameTheme(TRUE);
        if (!qmtest::PumpUntil([&] { return ClientInWindow().top == 0; }))
            return false;
        Relayout();
        return pRibbon->HasFrameHook() != FALSE;
    }
    CQXPRibbonBar* AddRibbon()
    {
        CQXPRibbonBar* pRibbon = AddRibbonBar(Bars());
        if (!pRibbon)
            return NULL;
        CQXPRibbonTab* pHome = pRibbon->AddTab("&Home", 1);
        pHome->AddGroup("Clipboard", 100)->Add(qxpControlButton, 40001, "Paste");
        pRibbon->AddTab("&Insert", 2)->AddGroup("Illustrations", 200)->Add(qxpControlButton, 40002, "Picture");
        CQXPRibbonTab* pDesign = pRibbon->AddTab("Design", 3);
        pDesign->m_nContextColor = 1;
        pDesign->m_strContextCaption = "Table Tools";
        CQXPRibbonTab* pLayout = pRibbon->AddTab("Layout", 4);
        pLayout->m_nContextColor = 1;
        pLayout->m_strContextCaption = "Table Tools";
        CQXPRibbonTab* pFormat = pRibbon->AddTab("Format", 5);
        pFormat->m_nContextColor = 3;
        pFormat->m_strContextCaption = "Picture";
        pRibbon->AddQuickAccessControl(qxpControlButton, 40003)->SetCaption("Save");
        Relayout();
        return pRibbon;
    }
    void Relayout()
    {
        frame.RecalcLayout();
        ::RedrawWindow(frame.GetSafeHwnd(), NULL, NULL,
                       RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        qmtest::PumpMessages();
    }
    // The client area's offset inside the window rectangle.
    CRect ClientInWindow()
    {
        CRect rcWindow, rcClient;
        frame.GetWindowRect(&rcWindow);
        frame.GetClientRect(&rcClient);
        frame.ClientToScreen(&rcClient);
        return CRect(rcClient.left - rcWindow.left, rcClient.top - rcWindow.top, rcWindow.right - rcClient.right,
                     rcWindow.bottom - rcClient.bottom);
    }
    void Shot(const char* name)
    {
        ::RedrawWindow(frame.GetSafeHwnd(), NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        qmtest::PumpMessages();
        CRect rc;
        frame.GetWindowRect(&rc);
        // A maximized frame reaches past the screen's edges.
        rc.IntersectRect(rc, CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
        EXPECT_TRUE(qmtest::SaveScreenPng(rc, qmtest::ScreenshotDir(QM_BIN_DIR) + "/" + name));
    }
    CHookTestFrame frame;
};

TEST_F(RibbonFrameTest, TheSwitchMakesOneHookForThemesFiveAndSixOnly)
{
    EXPECT_FALSE(Bars()->IsFrameThemeEnabled()) << "off by default";
    EXPECT_TRUE(Bars()->GetFrameHook() == NULL);
    struct Case {
        int nTheme;
        bool bHook;
    };
    const Case cases[] = {{qxpThemeRibbon, true}, {qxpThemeOffice2003, false}, {qxpThemeOffice2007, true}, {qxpThemeWindows2000, false}, {qxpThemeRibbon, true}};
    Bars()->EnableFrameTheme(TRUE);
    for (const Case& c : cases) {
        SetGlobalPaintManager(c.nTheme);
        Bars()->RedrawCommandBars();
        qmtest::PumpMessages();
        EXPECT_EQ(c.bHook, Hook() != NULL) << "theme " << c.nTheme;
        if (c.bHook) {
            EXPECT_EQ(Hook()->GetFrameBorder(), ClientInWindow().left) << "theme " << c.nTheme;
            EXPECT_EQ(Hook()->GetCaptionHeight(), ClientInWindow().top) << "theme " << c.nTheme;
        }
    }
    // The same hook stays while the theme stays.
    RibbonFrameHook* pHook = Hook();
    Bars()->RedrawCommandBars();
    EXPECT_EQ(pHook, Hook());
    // Off: the hook goes and the system's frame comes back.
    Bars()->EnableFrameTheme(FALSE);
    EXPECT_TRUE(Bars()->GetFrameHook() == NULL);
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(ERROR, ::GetWindowRgn(frame.GetSafeHwnd(), hRgn)) << "no region left behind";
    ::DeleteObject(hRgn);
    CRect rcAdjust(0, 0, 0, 0);
    ::AdjustWindowRectEx(&rcAdjust, (DWORD)frame.GetStyle(), FALSE, (DWORD)frame.GetExStyle());
    EXPECT_EQ(-rcAdjust.top, ClientInWindow().top);

    // A frame without a caption gets none.
    frame.ModifyStyle(WS_CAPTION, 0, SWP_FRAMECHANGED);
    Bars()->EnableFrameTheme(TRUE);
    EXPECT_TRUE(Bars()->GetFrameHook() == NULL);
}

// A frame hook that counts how often hooks of its kind are made and
// deleted; the command bars make it through the factory.
int g_nHooksMade = 0;
int g_nHooksDeleted = 0;
class CCountingFrameHook : public RibbonFrameHook {
public:
    explicit CCountingFrameHook(CQXPCommandBars* pBars) : RibbonFrameHook(pBars->GetSite()->GetSafeHwnd(), pBars)
    {
        g_nHooksMade++;
    }
    ~CCountingFrameHook() override { g_nHooksDeleted++; }
};
CWindowHook* AFXAPI CreateCountingFrameHook(CQXPCommandBars* pBars)
{
    auto* pHook = new CCountingFrameHook(pBars);
    if (!pHook->Attach()) {
        delete pHook;
        return NULL;
    }
    return pHook;
}

TEST_F(RibbonFrameTest, EachFrameHookIsDeletedOnceWhenTheSwitchTheThemeOrTheSiteGoes)
{
    CQXPCommandBars::SetFrameHookFactory(CreateCountingFrameHook);
    struct RestoreFactory {
        ~RestoreFactory() { RegisterRibbonFrameHook(); }
    } restore;
    g_nHooksMade = g_nHooksDeleted = 0;
    auto counts = [] { return std::make_pair(g_nHooksMade, g_nHooksDeleted); };
    auto setTheme = [&](int nTheme) {
        SetGlobalPaintManager(nTheme);
        Bars()->RedrawCommandBars();
        qmtest::PumpMessages();
    };
    Bars()->EnableFrameTheme(TRUE);
    EXPECT_EQ(std::make_pair(1, 0), counts());
    EXPECT_TRUE(dynamic_cast<CCountingFrameHook*>(Bars()->GetFrameHook()) != NULL);
    // The theme goes and comes back; a refresh in the same theme keeps it.
    setTheme(qxpThemeOffice2003);
    EXPECT_EQ(std::make_pair(1, 1), counts());
    EXPECT_TRUE(Bars()->GetFrameHook() == NULL);
    setTheme(qxpThemeRibbon);
    setTheme(qxpThemeRibbon);
    EXPECT_EQ(std::make_pair(2, 1), counts());
    // The switch goes (twice: the second time there is nothing left).
    Bars()->EnableFrameTheme(FALSE);
    Bars()->EnableFrameTheme(FALSE);
    EXPECT_EQ(std::make_pair(2, 2), counts());
    EXPECT_TRUE(Bars()->GetFrameHook() == NULL);
    // The site goes with the hook on: deleted once, and the frame's last
    // messages reach no deleted hook.
    Bars()->EnableFrameTheme(TRUE);
    EXPECT_EQ(std::make_pair(3, 2), counts());
    frame.DestroyWindow();
    qmtest::PumpMessages();
    EXPECT_EQ(std::make_pair(3, 3), counts());
}

TEST_F(RibbonFrameTest, AChildFrameKeepsTheSystemsFrame)
{
    // The same kind of frame as a child window of the test frame.
    CHookTestFrame child;
    ASSERT_TRUE(child.Create(NULL, "Child", WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE,
                             CRect(20, 20, 420, 300), &frame));
    qmtest::PumpMessages();
    CRect rcBefore, rcAdjust(0, 0, 0, 0);
    child.GetClientRect(&rcBefore);
    ::AdjustWindowRectEx(&rcAdjust, (DWORD)child.GetStyle(), FALSE, (DWORD)child.GetExStyle());
    child.GetCommandBars()->EnableFrameTheme(TRUE);
    qmtest::PumpMessages();
    EXPECT_TRUE(child.GetCommandBars()->IsFrameThemeEnabled());
    EXPECT_TRUE(child.GetCommandBars()->GetFrameHook() == NULL) << "no hook on a child window";
    CRect rcWindow, rcClient;
    child.GetWindowRect(&rcWindow);
    child.GetClientRect(&rcClient);
    child.ClientToScreen(&rcClient);
    EXPECT_EQ(-rcAdjust.top, rcClient.top - rcWindow.top) << "the system's caption stays";
    EXPECT_EQ(-rcAdjust.left, rcClient.left - rcWindow.left) << "the system's border stays";
    // The top-level frame in the same theme takes one.
    Bars()->EnableFrameTheme(TRUE);
    EXPECT_TRUE(Hook() != NULL);
    child.DestroyWindow();
    qmtest::PumpMessages();
}

TEST_F(RibbonFrameTest, StyleSettingAndThemeChangesMakeTheFramesRegionAgain)
{
    Bars()->EnableFrameTheme(TRUE);
    ASSERT_TRUE(Hook() != NULL);
    const HWND hWnd = frame.GetSafeHwnd();
    struct Case {
        const char* name;
        std::function<void()> change;
        bool bRemade;
    };
    const Case cases[] = {
        {"WM_NULL", [&] { ::SendMessageA(hWnd, WM_NULL, 0, 0); }, false},
        {"style without a maximize box", [&] { frame.ModifyStyle(WS_MAXIMIZEBOX, 0); }, true},
        {"style with it again", [&] { frame.ModifyStyle(0, WS_MAXIMIZEBOX); }, true},
        {"WM_SETTINGCHANGE", [&] { ::SendMessageA(hWnd, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0); }, true},
        {"WM_THEMECHANGED", [&] { ::SendMessageA(hWnd, WM_THEMECHANGED, 0, 0); }, true},
    };
    for (const Case& c : cases) {
        // A square region of another size stands in for a stale one.
        ::SetWindowRgn(hWnd, ::CreateRectRgn(0, 0, 50, 50), FALSE);
        c.change();
        CRect rcWindow, rcBox;
        frame.GetWindowRect(&rcWindow);
        HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
        const int nKind = ::GetWindowRgn(hWnd, hRgn);
        ::GetRgnBox(hRgn, &rcBox);
        ::DeleteObject(hRgn);
        if (c.bRemade) {
            EXPECT_EQ(COMPLEXREGION, nKind) << c.name << ": the rounded region again";
            EXPECT_EQ(CRect(0, 0, rcWindow.Width(), rcWindow.Height()), rcBox) << c.name;
        } else {
            EXPECT_EQ(CRect(0, 0, 50, 50), rcBox) << c.name << ": left alone";
        }
        EXPECT_FALSE(Hook()->IsRegionUpdating()) << c.name;
    }
}

// A ribbon theme that calls back as it is about to draw a frame's caption
// text, while the screen still shows what was there before.
class CCaptionWatchTheme : public CRecordingRibbonTheme {
public:
    std::function<void()> m_onCaptionText;
    void DrawCaptionText(CDC* pDC, CRect rc, HWND hWnd, BOOL bActive) override
    {
        if (m_onCaptionText)
            m_onCaptionText();
        CRecordingRibbonTheme::DrawCaptionText(pDC, rc, hWnd, bActive);
    }
};

TEST_F(RibbonFrameTest, ANewTitleOrIconIsDrawnByTheSkinAtOnceAndTheFrameStaysShown)
{
    auto* pTheme = new CCaptionWatchTheme;
    pTheme->RefreshMetrics();
    Bars()->SetPaintManager(pTheme);
    Bars()->EnableFrameTheme(TRUE);
    RibbonFrameHook* pHook = Hook();
    ASSERT_TRUE(pHook != NULL);
    frame.SetWindowText("A");
    Relayout();
    // Points of the caption band away from the title: the caption buttons'
    // centres and the band just left of them.
    const QXPFrameSkin f = pHook->GetFrame();
    ASSERT_EQ(3u, f.buttons.size());
    CRect rcWindow;
    frame.GetWindowRect(&rcWindow);
    std::vector<CPoint> points;
    int xButtons = f.szWindow.cx;
    for (const QXPFrameCaptionButton& b : f.buttons) {
        points.push_back(rcWindow.TopLeft() + b.rc.CenterPoint());
        xButtons = std::min(xButtons, (int)b.rc.left);
    }
    for (int dx : {8, 20, 40})
        points.push_back(rcWindow.TopLeft() + CPoint(xButtons - dx, f.nCaption / 2));
    auto sample = [&] {
        std::vector<COLORREF> v;
        for (const CPoint& pt : points)
            v.push_back(ScreenPixel(pt.x, pt.y));
        return v;
    };
    const std::vector<COLORREF> skinned = sample();

    HICON hIcon = ::LoadIconA(NULL, MAKEINTRESOURCEA(32515)); // IDI_WARNING
    struct Case {
        const char* name;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"title", [&] {
             pTheme->Clear();
             frame.SetWindowText("B");
             ASSERT_FALSE(pTheme->texts.empty());
             EXPECT_EQ(CString("B"), pTheme->texts.back().strText) << "the skin writes the new title";
         }},
        {"big icon", [&] { frame.SendMessage(WM_SETICON, ICON_BIG, (LPARAM)hIcon); }},
        {"small icon", [&] { frame.SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)hIcon); }},
    };
    for (const Case& c : cases) {
        std::vector<COLORREF> seen;
        int nDrawn = 0;
        pTheme->m_onCaptionText = [&] {
            if (nDrawn++ == 0)
                seen = sample();
        };
        c.change();
        pTheme->m_onCaptionText = nullptr;
        EXPECT_GE(nDrawn, 1) << c.name << ": the skin drew the caption again at once";
        // Where the system paints its caption for these messages at once
        // (Wine leaves it to a later non-client paint, which the hook
        // takes), the screen would show it here.
        EXPECT_EQ(skinned, seen) << c.name << ": the system painted its own caption over the skin first";
        EXPECT_TRUE(frame.GetStyle() & WS_VISIBLE) << c.name;
        EXPECT_TRUE(::IsWindowVisible(frame.GetSafeHwnd())) << c.name;
    }
    CString strTitle;
    frame.GetWindowText(strTitle);
    EXPECT_EQ(CString("B"), strTitle);
    EXPECT_EQ((LRESULT)hIcon, frame.SendMessage(WM_GETICON, ICON_BIG));
    EXPECT_EQ((LRESULT)hIcon, frame.SendMessage(WM_GETICON, ICON_SMALL));
}

TEST_F(RibbonFrameTest, APlainFrameIsSkinnedAndItsButtonsActOnRelease)
{
    Bars()->EnableFrameTheme(TRUE);
    ASSERT_TRUE(Hook() != NULL);
    EXPECT_TRUE(Hook()->UsesSystemMetrics());
    QXPFrameSkin f = Hook()->GetFrame();
    ASSERT_EQ(3u, f.buttons.size());
    EXPECT_TRUE(f.bRoundedBottom) << "no status bar: rounded bottom corners";
    CRect rcWindow;
    frame.GetWindowRect(&rcWindow);
    // Hit tests of the frame's own parts.
    struct Hit {
        CPoint pt;
        LRESULT nCode;
    };
    const int b = f.nBorder;
    const Hit hits[] = {
        {f.buttons[0].rc.CenterPoint(), HTCLOSE},
        {f.buttons[1].rc.CenterPoint(), HTMAXBUTTON},
        {f.buttons[2].rc.CenterPoint(), HTMINBUTTON},
        {CPoint(rcWindow.Width() / 2, f.nCaption / 2), HTCAPTION},
        {CPoint(0, rcWindow.Height() / 2), HTLEFT},
        {CPoint(rcWindow.Width() - 1, rcWindow.Height() / 2), HTRIGHT},
        {CPoint(rcWindow.Width() / 2, rcWindow.Height() - 1), HTBOTTOM},
        {CPoint(rcWindow.Width() / 2, 0), HTTOP},
        {CPoint(rcWindow.Width() - 1, rcWindow.Height() - 1), HTBOTTOMRIGHT},
        {CPoint(rcWindow.Width() / 2, f.nCaption + 40), HTCLIENT},
    };
    for (const Hit& h : hits) {
        const CPoint pt(rcWindow.left + h.pt.x, rcWindow.top + h.pt.y);
        EXPECT_EQ(h.nCode, frame.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)))
            << "at " << h.pt.x << "," << h.pt.y << " (border " << b << ")";
    }
    Shot("ribbon-frame-plain.png");
    EXPECT_EQ(Bars()->GetPaintManager() ? static_cast<COffice2007Theme*>(Bars()->GetPaintManager())
                                              ->m_clrBorderActive[0]
                                              .GetColor()
                                        : 0,
              ScreenPixel(rcWindow.left, rcWindow.top + rcWindow.Height() / 2));

    // Maximize by a real click: nothing on the press, the command on release.
    CPoint pt(rcWindow.left + f.buttons[1].rc.CenterPoint().x, rcWindow.top + f.buttons[1].rc.CenterPoint().y);
    qmtest::MouseAt(pt, 0);
    qmtest::MouseAt(pt, MOUSEEVENTF_LEFTDOWN);
    EXPECT_FALSE(frame.IsZoomed());
    qmtest::MouseAt(pt, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return frame.IsZoomed() != FALSE; }));
    // Maximized: the hidden borders cut off by a rectangle region.
    frame.GetWindowRect(&rcWindow);
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(SIMPLEREGION, ::GetWindowRgn(frame.GetSafeHwnd(), hRgn));
    CRect rcBox;
    ::GetRgnBox(hRgn, &rcBox);
    ::DeleteObject(hRgn);
    const int bMax = Hook()->GetFrameBorder();
    EXPECT_EQ(CRect(bMax, bMax, rcWindow.Width() - bMax, rcWindow.Height() - bMax), rcBox);
    frame.SendMessage(WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !frame.IsZoomed(); }));
}

TEST_F(RibbonFrameTest, TheRibbonDrawsTheCaptionAndItsButtonsCommandTheFrame)
{
    CQXPRibbonBar* pRibbon = AddRibbon();
    ASSERT_TRUE(pRibbon != NULL);
    EXPECT_FALSE(pRibbon->HasFrameHook()) << "no frame theming yet";
    Bars()->EnableFrameTheme(TRUE);
    ASSERT_TRUE(Hook() != NULL);
    // The ribbon's layout asks the frame to measure itself again.
    EXPECT_TRUE(qmtest::PumpUntil([&] { return ClientInWindow().top == 0; })) << "the client reaches the top edge";
    Relayout();
    ASSERT_TRUE(pRibbon->HasFrameHook());
    EXPECT_FALSE(Hook()->UsesSystemMetrics());
    EXPECT_EQ(Hook(), pRibbon->GetFrameHook());
    const int b = Hook()->GetFrameBorder();
    EXPECT_EQ(b, ClientInWindow().left);
    EXPECT_EQ(b, ClientInWindow().bottom);
    EXPECT_EQ(pRibbon->GetBarState().GetCaptionHeight(), Hook()->GetCaptionHeight());
    EXPECT_EQ(b + pRibbon->GetBarState().nThemeCaptionHeight, pRibbon->GetCaptionRect().Height())
        << "the caption band starts with the frame's border";
    EXPECT_TRUE(Hook()->GetFrame().buttons.empty()) << "the ribbon has the caption buttons";

    // Caption buttons of the ribbon: close, maximize, minimize from the right.
    CQXPControl* pClose = pRibbon->GetControls()->FindControl(SC_CLOSE);
    CQXPControl* pMax = pRibbon->GetControls()->FindControl(SC_MAXIMIZE);
    CQXPControl* pMin = pRibbon->GetControls()->FindControl(SC_MINIMIZE);
    ASSERT_TRUE(pClose && pMax && pMin);
    EXPECT_GT(pClose->GetRect().left, pMax->GetRect().left);
    EXPECT_GT(pMax->GetRect().left, pMin->GetRect().left);
    EXPECT_TRUE(pRibbon->GetCaptionRect().PtInRect(pClose->GetRect().CenterPoint()));
    // The title lies between the QAT and the caption buttons.
    CRect rcTitle = pRibbon->GetTitleRect();
    EXPECT_FALSE(rcTitle.IsRectEmpty());
    EXPECT_GE(rcTitle.left, pRibbon->GetQuickAccessRect().right);
    EXPECT_LE(rcTitle.right, pMin->GetRect().left);
    // Contextual headers: one for the two "Table Tools" tabs, one for "Picture".
    ASSERT_EQ(2u, pRibbon->GetContextHeaders().size());
    EXPECT_EQ(2, pRibbon->GetContextHeaders()[0].nFirstTab);
    EXPECT_EQ(3, pRibbon->GetContextHeaders()[0].nLastTab);
    EXPECT_EQ(4, pRibbon->GetContextHeaders()[1].nFirstTab);
    Shot("ribbon-frame-caption.png");
    // The headers are drawn in their colours: blue, then green.
    for (size_t i = 0; i < 2; i++) {
        CPoint pt = pRibbon->GetContextHeaders()[i].rc.CenterPoint();
        pt.y = pRibbon->GetContextHeaders()[i].rc.top + 3;
        pRibbon->ClientToScreen(&pt);
        const COLORREF clr = ScreenPixel(pt.x, pt.y);
        if (i == 0)
            EXPECT_GT(GetBValue(clr), GetGValue(clr)) << "blue header";
        else
            EXPECT_GT(GetGValue(clr), GetRValue(clr)) << "green header";
    }
    // A new title of another width gets its place in the caption at once.
    frame.SetWindowText("A frame title much longer than the first one");
    EXPECT_GT(pRibbon->GetTitleRect().Width(), rcTitle.Width());
    EXPECT_GE(pRibbon->GetTitleRect().left, pRibbon->GetQuickAccessRect().right);
    EXPECT_LE(pRibbon->GetTitleRect().right, pMin->GetRect().left);
    // ... and reaches the screen through the ribbon's off-screen copy.
    EXPECT_TRUE(qmtest::PumpUntil([&] { return pRibbon->GetAnimationCache()->GetFadeCount() == 0; }));
    EXPECT_EQ(qmtest::BarPictureOf(pRibbon, pRibbon->GetCaptionRect()),
              qmtest::ScreenPictureOf(pRibbon, pRibbon->GetCaptionRect()))
        << "the new title shows";
    // A click on a header selects its first tab.
    CPoint ptHeader = pRibbon->GetContextHeaders()[1].rc.CenterPoint();
    pRibbon->ClientToScreen(&ptHeader);
    qmtest::ClickAt(ptHeader);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return pRibbon->GetSelectedTabIndex() == 4; }));

    // The ribbon's maximize button maximizes the frame on a real click.
    CPoint pt = pMax->GetRect().CenterPoint();
    pRibbon->ClientToScreen(&pt);
    qmtest::ClickAt(pt);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return frame.IsZoomed() != FALSE; }));
    Relayout();
    CQXPControl* pRestore = pRibbon->GetControls()->FindControl(SC_RESTORE);
    ASSERT_TRUE(pRestore != NULL) << "restore takes maximize's place";
    EXPECT_TRUE(pRibbon->GetControls()->FindControl(SC_MAXIMIZE) == NULL);
    // A double click on the free caption restores it.
    CPoint ptCaption(pRibbon->GetTitleRect().CenterPoint());
    if (pRibbon->HitTestCaption(ptCaption) != HTCAPTION)
        ptCaption = CPoint(pMin->GetRect().left - 8, pRibbon->GetCaptionRect().CenterPoint().y);
    ASSERT_EQ(HTCAPTION, pRibbon->HitTestCaption(ptCaption));
    pRibbon->ClientToScreen(&ptCaption);
    qmtest::DoubleClickAt(ptCaption);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !frame.IsZoomed(); }));
    // Nothing else reached the frame as a system command than the two.
    ASSERT_GE(frame.m_sysCommands.size(), 2u);
    EXPECT_EQ((UINT)SC_MAXIMIZE, frame.m_sysCommands.front());
    EXPECT_EQ((UINT)SC_RESTORE, frame.m_sysCommands.back());
}

TEST_F(RibbonFrameTest, TheCaptionButtonsStayWithTheFrameWhenTheRibbonIsSavedOrCopied)
{
    // The caption buttons the ribbon makes for the frame are controls of
    // the bar but neither of its tab row nor of its saved state: a stored
    // customizable ribbon brings back its tab-row control alone, and a copy
    // of it holds no caption button (a ribbon without the frame has none).
    CQXPRibbonBar* pRibbon = AddRibbon();
    ASSERT_TRUE(pRibbon != NULL);
    pRibbon->SetCustomizable(TRUE);
    CQXPControl* pFind = pRibbon->GetControls()->Add(qxpControlButton, 40004);
    pFind->SetCaption("Find");
    ASSERT_TRUE(ThemeTheFrame(pRibbon));
    const UINT captionIds[] = {SC_CLOSE, SC_MAXIMIZE, SC_MINIMIZE};
    for (UINT nId : captionIds) {
        CQXPControl* pButton = pRibbon->GetControls()->FindControl((int)nId);
        ASSERT_TRUE(pButton != NULL) << nId;
        EXPECT_TRUE(CQXPRibbonControls::IsRunTimeOnly(pButton));
        EXPECT_FALSE(pRibbon->IsTabRowControl(pButton));
    }
    auto holdsCaptionButton = [&](CQXPRibbonBar* p) {
        for (UINT nId : captionIds)
            if (p->GetControls()->FindControl((int)nId))
                return true;
        return false;
    };
    const qmtest::Bytes bytes = qmtest::StoreBytes([&](CArchive& ar) {
        CQXPPropExchangeArchive px(ar);
        pRibbon->DoPropExchange(&px);
    });
    CQXPRibbonBar back;
    qmtest::LoadBytes(bytes, [&](CArchive& ar) {
        CQXPPropExchangeArchive px(ar);
        back.DoPropExchange(&px);
    });
    EXPECT_FALSE(holdsCaptionButton(&back));
    ASSERT_TRUE(back.GetControls()->FindControl(40004) != NULL);
    EXPECT_TRUE(back.IsTabRowControl(back.GetControls()->FindControl(40004)));

    CQXPRibbonBar* pClone = DYNAMIC_DOWNCAST(CQXPRibbonBar, pRibbon->Clone());
    ASSERT_TRUE(pClone != NULL);
    EXPECT_FALSE(holdsCaptionButton(pClone));
    EXPECT_TRUE(pClone->GetControls()->FindControl(40004) != NULL);
    pClone->InternalRelease();
    EXPECT_TRUE(holdsCaptionButton(pRibbon)) << "the frame's ribbon keeps its own";
}

TEST_F(RibbonFrameTest, TheRightButtonOnTheRibbonsCaptionAsksTheFrameForItsWindowMenu)
{
    CQXPRibbonBar* pRibbon = AddRibbon();
    ASSERT_TRUE(pRibbon != NULL);
    ASSERT_TRUE(ThemeTheFrame(pRibbon));
    CQXPControl* pMin = pRibbon->GetControls()->FindControl(SC_MINIMIZE);
    ASSERT_TRUE(pMin != NULL);
    const CPoint ptCaption(pMin->GetRect().left - 8, pRibbon->GetCaptionRect().CenterPoint().y);
    ASSERT_EQ(HTCAPTION, pRibbon->HitTestCaption(ptCaption));
    CPoint ptScreen = ptCaption;
    pRibbon->ClientToScreen(&ptScreen);
    qmtest::ClickAt(ptScreen, true);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.m_windowMenus.empty(); }));
    EXPECT_EQ(ptScreen, frame.m_windowMenus[0]) << "at the pointer";
    EXPECT_EQ(1u, frame.m_windowMenus.size());
}

TEST_F(RibbonFrameTest, ContextualHeadersShowInTheCaptionBandAndGoWhenTheyCannotFit)
{
    // Without frame theming the ribbon draws its own caption band.
    CQXPRibbonBar* pRibbon = AddRibbon();
    ASSERT_TRUE(pRibbon != NULL);
    ASSERT_FALSE(pRibbon->HasFrameHook());
    const auto& headers = pRibbon->GetContextHeaders();
    ASSERT_EQ(2u, headers.size());
    // The merged header spans its two tabs; each header is at least 40 px.
    EXPECT_EQ(pRibbon->GetTab(2)->GetRect().left, headers[0].rc.left);
    EXPECT_EQ(pRibbon->GetTab(3)->GetRect().right, headers[0].rc.right);
    EXPECT_EQ(pRibbon->GetCaptionRect().bottom, headers[0].rc.bottom);
    for (const auto& h : headers)
        EXPECT_GE(h.rc.Width(), 40);
    EXPECT_EQ(1, headers[0].nColor);
    EXPECT_EQ(3, headers[1].nColor);
    Shot("ribbon-context-headers.png");
    CPoint pt(headers[1].rc.CenterPoint().x, headers[1].rc.top + 3);
    pRibbon->ClientToScreen(&pt);
    const COLORREF clr = ScreenPixel(pt.x, pt.y);
    EXPECT_GT(GetGValue(clr), GetRValue(clr)) << "the green header on screen";
    // A contextual tab with no caption gets no header; a hidden tab breaks the run.
    pRibbon->GetTab(4)->m_strContextCaption.Empty();
    pRibbon->GetTab(3)->SetVisible(FALSE);
    Relayout();
    ASSERT_EQ(1u, pRibbon->GetContextHeaders().size());
    EXPECT_EQ(2, pRibbon->GetContextHeaders()[0].nLastTab);
    // A narrow frame whose caption the QAT fills: the headers cannot keep
    // 40 px each in what is left and all go.
    pRibbon->GetTab(3)->SetVisible(TRUE);
    pRibbon->GetTab(4)->m_strContextCaption = "Picture";
    for (int i = 0; i < 12; i++)
        pRibbon->AddQuickAccessControl(qxpControlButton, 40010 + i)->SetCaption("Q");
    frame.SetWindowPos(NULL, 0, 0, 300, 480, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Relayout();
    ASSERT_TRUE(pRibbon->IsShownBySize());
    EXPECT_LT(pRibbon->GetCaptionRect().right - pRibbon->GetQuickAccessRect().right, 2 * 40 + 14);
    EXPECT_TRUE(pRibbon->GetContextHeaders().empty());
    Shot("ribbon-context-headers-narrow.png");
}

TEST_F(RibbonFrameTest, TheFrameTakesItsCaptionBackWhenTheRibbonGoes)
{
    CQXPRibbonBar* pRibbon = AddRibbon();
    ASSERT_TRUE(pRibbon != NULL);
    Bars()->EnableFrameTheme(TRUE);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return ClientInWindow().top == 0; }));
    RibbonFrameHook* pHook = Hook();
    // Hidden ribbon: the frame's own caption, at once (the hook was told)
    // and when asked again.
    pRibbon->SetVisible(FALSE);
    Relayout();
    EXPECT_TRUE(pHook->UsesSystemMetrics());
    EXPECT_TRUE(qmtest::PumpUntil([&] { return ClientInWindow().top == pHook->GetCaptionHeight(); }));
    pHook->RecalcFrame();
    EXPECT_EQ(pHook->GetCaptionHeight(), ClientInWindow().top);
    pRibbon->SetVisible(TRUE);
    Relayout();
    EXPECT_TRUE(qmtest::PumpUntil([&] { return ClientInWindow().top == 0; }));
    pHook->RecalcFrame();
    EXPECT_EQ(0, ClientInWindow().top);
    // The ribbon removed: the hook stays (one hook, deleted once, by the
    // manager) and the frame has its caption again.
    Bars()->Remove(pRibbon);
    qmtest::PumpMessages();
    EXPECT_EQ(pHook, Hook());
    EXPECT_TRUE(Hook()->GetRibbonBar() == NULL);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return ClientInWindow().top == Hook()->GetCaptionHeight(); }));
    EXPECT_FALSE(Hook()->IsUpdatePosted());
}

TEST_F(RibbonFrameTest, AroundAPreviewTheFrameKeepsACaptionAndTheRibbonMeasuresWhatItMissed)
{
    // A print preview hides all bars: the ribbon draws no caption then, so
    // the frame takes its own back while it lasts. Hidden bars are not laid
    // out: a frame sized across the ribbon's 250 px meanwhile is noticed
    // when the ribbon shows again (its WM_SHOWWINDOW, status 0: a child
    // window hears of its own showing, never of its frame's minimising),
    // before the frame lays out, and the frame hook is asked to refresh:
    // the ribbon takes the caption again, or leaves it to the frame. A
    // ribbon that stays too small asks for nothing.
    CQXPRibbonBar* pRibbon = AddRibbon();
    ASSERT_TRUE(pRibbon != NULL);
    ASSERT_TRUE(ThemeTheFrame(pRibbon));
    RibbonFrameHook* pHook = Hook();
    const struct Case {
        const char* name;
        int cyBefore, cyDuringPreview;
        bool bPostedOnShow;
    } cases[] = {
        {"sized below the minimum", 480, 240, true},
        {"sized back above it", 240, 480, true},
        {"sized, still shown", 480, 400, true},
        {"sized, still too small", 240, 200, false},
    };
    auto sizeFrame = [&](int cy) { frame.SetWindowPos(NULL, 0, 0, 700, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sizeFrame(c.cyBefore);
        Relayout();
        ASSERT_TRUE(qmtest::PumpUntil([&] { return !pHook->IsUpdatePosted(); }));
        const BOOL bShownBefore = c.cyBefore >= 250;
        ASSERT_EQ(bShownBefore, pRibbon->IsShownBySize());
        ASSERT_EQ(bShownBefore ? 0 : pHook->GetCaptionHeight(), ClientInWindow().top);

        // Hidden, a ribbon that held the caption gives it back.
        Bars()->OnSetPreviewMode(TRUE);
        EXPECT_EQ(bShownBefore, pHook->IsUpdatePosted());
        Relayout();
        ASSERT_FALSE(::IsWindowVisible(pRibbon->GetSafeHwnd()));
        EXPECT_TRUE(qmtest::PumpUntil([&] { return !pHook->IsUpdatePosted(); }));
        EXPECT_TRUE(pHook->UsesSystemMetrics());
        EXPECT_EQ(pHook->GetCaptionHeight(), ClientInWindow().top);
        if (c.cyBefore == 480 && c.cyDuringPreview == 400)
            Shot("ribbon-frame-in-preview.png");
        sizeFrame(c.cyDuringPreview);
        Relayout();
        EXPECT_EQ(bShownBefore, pRibbon->IsShownBySize()) << "a hidden ribbon is not laid out";
        EXPECT_FALSE(pHook->IsUpdatePosted());

        // The bars come back first and the frame lays out after: the
        // ribbon's showing told the hook already.
        struct {
            bool bSeen = false, bPosted = false;
            BOOL bShown = FALSE;
        } atLayout;
        frame.m_onLayout = [&] {
            if (!atLayout.bSeen)
                atLayout = {true, pHook->IsUpdatePosted() != FALSE, pRibbon->IsShownBySize()};
        };
        Bars()->OnSetPreviewMode(FALSE);
        frame.m_onLayout = nullptr;
        ASSERT_TRUE(::IsWindowVisible(pRibbon->GetSafeHwnd()));
        const BOOL bShownAfter = c.cyDuringPreview >= 250;
        ASSERT_TRUE(atLayout.bSeen);
        EXPECT_EQ(c.bPostedOnShow, atLayout.bPosted);
        EXPECT_EQ(bShownAfter, atLayout.bShown);
        EXPECT_EQ(bShownAfter, pRibbon->IsShownBySize());
        EXPECT_EQ(c.bPostedOnShow, pHook->IsUpdatePosted() != FALSE);
        EXPECT_EQ(bShownAfter, !pHook->UsesSystemMetrics());
        Relayout();
        EXPECT_TRUE(qmtest::PumpUntil([&] { return !pHook->IsUpdatePosted(); }));
        EXPECT_EQ(bShownAfter ? 0 : pHook->GetCaptionHeight(), ClientInWindow().top);
        CRect rcRibbon;
        pRibbon->GetWindowRect(&rcRibbon);
        EXPECT_EQ(bShownAfter, rcRibbon.Height() > 0);
        if (c.cyBefore == 480 && !bShownAfter)
            Shot("ribbon-frame-too-small-after-preview.png");
    }
    sizeFrame(480);
    Relayout();
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !pHook->IsUpdatePosted(); }));

    // Minimised and restored, the frame is not laid out and its ribbon not
    // hidden: nothing to measure, nothing asked of the hook, and the ribbon
    // keeps the caption.
    frame.ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return frame.IsIconic() != FALSE; }));
    EXPECT_TRUE(pRibbon->IsShownBySize());
    EXPECT_FALSE(pHook->IsUpdatePosted());
    EXPECT_TRUE(pRibbon->GetStyle() & WS_VISIBLE);
    frame.ShowWindow(SW_RESTORE);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return !frame.IsIconic(); }));
    qmtest::PumpMessages();
    EXPECT_FALSE(pHook->IsUpdatePosted());
    EXPECT_FALSE(pHook->UsesSystemMetrics());
    EXPECT_EQ(0, ClientInWindow().top);
}

TEST_F(RibbonFrameTest, RegionUpdatesSkipRepeatsAndNeverFreeze)
{
    Bars()->EnableFrameTheme(TRUE);
    RibbonFrameHook* pHook = Hook();
    ASSERT_TRUE(pHook != NULL);
    CRect rc;
    frame.GetWindowRect(&rc);
    EXPECT_NE(0, pHook->UpdateFrameRegion(rc.Width(), rc.Height(), TRUE));
    EXPECT_EQ(0, pHook->UpdateFrameRegion(rc.Width(), rc.Height(), FALSE)) << "same size: nothing";
    EXPECT_FALSE(pHook->IsRegionUpdating()) << "the repeat left the guard down";
    // A new size makes a new region: the rounded one of that size.
    frame.SetWindowPos(NULL, 0, 0, rc.Width() - 60, rc.Height() - 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    qmtest::PumpMessages();
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(COMPLEXREGION, ::GetWindowRgn(frame.GetSafeHwnd(), hRgn));
    CRect rcBox;
    ::GetRgnBox(hRgn, &rcBox);
    ::DeleteObject(hRgn);
    EXPECT_EQ(CRect(0, 0, rc.Width() - 60, rc.Height() - 40), rcBox);
    EXPECT_FALSE(pHook->IsRegionUpdating());

    // A status bar the theme skins: square bottom corners.
    CQXPStatusBar status;
    ASSERT_TRUE(status.Create(&frame));
    static const UINT panes[] = {0};
    status.SetIndicators(panes, 1);
    frame.RecalcLayout();
    qmtest::PumpMessages();
    int cy = 0;
    ASSERT_TRUE(pHook->GetStatusBarHeight(&cy));
    EXPECT_GT(cy, 0);
    EXPECT_FALSE(pHook->GetFrame().bRoundedBottom);
    EXPECT_EQ(cy, pHook->GetFrame().nStatusBar);
    status.DestroyWindow();
    EXPECT_FALSE(pHook->GetStatusBarHeight(&cy));

    // Idle update after PostUpdate: the frame is recalculated once.
    pHook->PostUpdate();
    EXPECT_TRUE(pHook->IsUpdatePosted());
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !pHook->IsUpdatePosted(); }));

    // Maximized, the frame covers the work area with its borders beyond.
    MINMAXINFO mmi = {};
    frame.SendMessage(WM_GETMINMAXINFO, 0, (LPARAM)&mmi);
    MONITORINFO mi;
    ZeroMemory(&mi, sizeof(mi));
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoA(::MonitorFromWindow(frame.GetSafeHwnd(), MONITOR_DEFAULTTONEAREST), &mi);
    const int b = pHook->GetFrameBorder();
    EXPECT_EQ(CRect(mi.rcWork).Width() + 2 * b, mmi.ptMaxSize.x);
    EXPECT_EQ(CRect(mi.rcWork).Height() + 2 * b, mmi.ptMaxSize.y);
    EXPECT_EQ(mi.rcWork.left - mi.rcMonitor.left - b, mmi.ptMaxPosition.x);
}

TEST_F(RibbonFrameTest, CompositionExtendsTheFrameByTheRibbonsCaption)
{
    CQXPRibbonBar* pRibbon = AddRibbon();
    ASSERT_TRUE(pRibbon != NULL);
    Bars()->EnableFrameTheme(TRUE);
    RibbonFrameHook* pHook = Hook();
    ASSERT_TRUE(pHook != NULL);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return ClientInWindow().top == 0; }));
    EXPECT_FALSE(pHook->IsDwmEnabled()) << "Wine has no composition";
    pHook->m_pfnIsCompositionEnabled = FakeComposition;
    pHook->m_pfnExtendFrameIntoClientArea = RecordExtend;
    g_bComposition = TRUE;
    frame.SendMessage(WM_DWMCOMPOSITIONCHANGED);
    Relayout();
    EXPECT_TRUE(pHook->IsDwmEnabled());
    EXPECT_EQ(4, pHook->GetFrameBorder()) << "a frame that is not maximized keeps 4 pixels";
    ASSERT_FALSE(g_extendCalls.empty());
    EXPECT_EQ(pHook->GetCaptionHeight(), g_extendCalls.back()) << "extended by the ribbon's caption";
    EXPECT_EQ(pRibbon->GetBarState().GetCaptionHeight(), g_extendCalls.back());
    // With composition the system draws the caption buttons.
    EXPECT_TRUE(pRibbon->GetControls()->FindControl(SC_CLOSE) == NULL);
    // The QAT moved below and back: the glass follows the caption at once.
    for (BOOL bBelow : {TRUE, FALSE}) {
        g_extendCalls.clear();
        pRibbon->SetQuickAccessBelow(bBelow);
        ASSERT_FALSE(g_extendCalls.empty()) << "below " << bBelow;
        EXPECT_EQ(pRibbon->GetBarState().GetCaptionHeight(), g_extendCalls.back()) << "below " << bBelow;
    }
    // The ribbon hidden: no top margin.
    pRibbon->SetVisible(FALSE);
    Relayout();
    pHook->RefreshFrameRegion();
    EXPECT_EQ(0, g_extendCalls.back());
    g_bComposition = FALSE;
    frame.SendMessage(WM_DWMCOMPOSITIONCHANGED);
    EXPECT_FALSE(pHook->IsDwmEnabled());
}

TEST_F(RibbonFrameTest, TheSystemMenuOpensOverItsButtonOnTheFramesCaption)
{
    CQXPRibbonBar* pRibbon = AddRibbon();
    ASSERT_TRUE(pRibbon != NULL);
    CQXPRibbonControlSystemButton* pButton = pRibbon->AddSystemButton();
    CQXPRibbonSystemPopupBar* pMenu = CQXPRibbonSystemPopupBar::CreateSystemPopupBar(Bars());
    pMenu->GetControls()->Add(qxpControlButton, 40011)->SetCaption("&New");
    pMenu->GetControls()->Add(qxpControlButton, 40012)->SetCaption("&Open...");
    pButton->SetCommandBar(pMenu);
    pMenu->InternalRelease();
    Relayout();
    auto openMenu = [&]() -> CRect {
        CPoint pt = pButton->GetRect().CenterPoint();
        pRibbon->ClientToScreen(&pt);
        qmtest::ClickAt(pt);
        if (!qmtest::PumpUntil([&] { return pMenu->IsTrackingMode() && ::IsWindowVisible(pMenu->GetSafeHwnd()); }))
            return CRect();
        CRect rc;
        pMenu->GetWindowRect(&rc);
        return rc;
    };
    auto closeMenu = [&] {
        Bars()->ClosePopups();
        qmtest::PumpUntil([&] { return !::IsWindowVisible(pMenu->GetSafeHwnd()); });
    };
    const int nCorner = pRibbon->GetBarState().GetTabsHeight() + pRibbon->GetBarState().GetQuickAccessHeight();

    // The ribbon's own caption band: the menu opens under the button.
    ASSERT_FALSE(pRibbon->HasFrameHook());
    EXPECT_EQ(-1, pButton->GetRect().top) << "the caption's top less one";
    EXPECT_EQ(nCorner - 4, pButton->GetRect().Height());
    CRect rcButton = pButton->GetRect();
    pRibbon->ClientToScreen(&rcButton);
    CRect rcMenu = openMenu();
    ASSERT_FALSE(rcMenu.IsRectEmpty());
    EXPECT_EQ(rcButton.bottom, rcMenu.top);
    EXPECT_EQ(rcButton.left, rcMenu.left);
    closeMenu();

    // The frame's caption: the button starts one pixel above the bottom of
    // the frame's top border, and the menu's 18-pixel top border lies over
    // the button's lower part.
    ASSERT_TRUE(ThemeTheFrame(pRibbon));
    const int b = Hook()->GetFrameBorder();
    EXPECT_EQ(b - 1, pButton->GetRect().top);
    EXPECT_EQ(nCorner - 4, pButton->GetRect().Height());
    EXPECT_EQ(0, pButton->GetRect().left);
    EXPECT_EQ(nCorner - 3, pButton->GetRect().right);
    rcButton = pButton->GetRect();
    pRibbon->ClientToScreen(&rcButton);
    rcMenu = openMenu();
    ASSERT_FALSE(rcMenu.IsRectEmpty());
    EXPECT_EQ(rcButton.bottom - 18, rcMenu.top);
    EXPECT_EQ(rcButton.left, rcMenu.left);
    // Over the covered part of the button the menu lets the pointer through.
    const CPoint ptCovered(rcButton.CenterPoint().x, rcButton.bottom - 6);
    EXPECT_EQ(HTTRANSPARENT, (int)pMenu->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptCovered.x, ptCovered.y)));
    ::RedrawWindow(pMenu->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    qmtest::PumpMessages();
    CRect rcShot;
    frame.GetWindowRect(&rcShot);
    rcShot.UnionRect(rcShot, rcMenu);
    EXPECT_TRUE(qmtest::SaveScreenPng(rcShot, qmtest::ScreenshotDir(QM_BIN_DIR) + "/ribbon-frame-system-menu.png"));
    closeMenu();
}

// The round system button belongs to the frame's caption that the ribbon
// draws; on the ribbon's own caption band it is an ordinary button.
TEST_F(RibbonFrameTest, TheRoundSystemButtonShowsOnlyOnTheFramesCaption)
{
    CRecordingRibbonTheme* pTheme = RecordDrawing(Bars());
    CQXPRibbonBar* pRibbon = AddRibbon();
    ASSERT_TRUE(pRibbon != NULL);
    pRibbon->AddSystemButton();
    Relayout();
    // Painted anew, not from the bar's copy: every image it asks for is seen.
    auto redraw = [&] {
        pTheme->Clear();
        pRibbon->Redraw();
        ::RedrawWindow(pRibbon->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        qmtest::PumpMessages();
    };
    ASSERT_FALSE(pRibbon->HasFrameHook());
    ASSERT_TRUE(pRibbon->GetBarState().IsCaptionVisible()) << "the ribbon's own caption band";
    redraw();
    EXPECT_FALSE(pTheme->Drew("FRAMESYSTEMBUTTON"));
    EXPECT_FALSE(pTheme->Drew("FRAMESYSTEMBUTTON52"));
    Shot("ribbon-frame-system-button-band.png");
    ASSERT_TRUE(ThemeTheFrame(pRibbon));
    redraw();
    EXPECT_TRUE(pTheme->Drew("FRAMESYSTEMBUTTON") || pTheme->Drew("FRAMESYSTEMBUTTON52"));
    Shot("ribbon-frame-system-button.png");
}

// A status bar joins the frame's skin (square bottom corners) only while the
// frame's theme draws it.
TEST_F(RibbonFrameTest, OnlyAStatusBarTheThemeDrawsJoinsTheFrame)
{
    // The frame's bars keep a theme of their own.
    auto* pTheme = new CRibbonStyleTheme;
    pTheme->RefreshMetrics();
    Bars()->SetPaintManager(pTheme); // the manager takes the reference
    Bars()->EnableFrameTheme(TRUE);
    RibbonFrameHook* pHook = Hook();
    ASSERT_TRUE(pHook != NULL);
    CQXPStatusBar status;
    ASSERT_TRUE(status.Create(&frame));
    static const UINT panes[] = {0};
    status.SetIndicators(panes, 1);
    status.SetCommandBars(Bars());
    frame.RecalcLayout();
    qmtest::PumpMessages();
    int cy = 0;
    EXPECT_TRUE(pHook->GetStatusBarHeight(&cy));
    EXPECT_FALSE(pHook->GetFrame().bRoundedBottom);
    // Drawn by another theme (the one every bar without command bars uses).
    SetGlobalPaintManager(qxpThemeOffice2003);
    status.SetCommandBars(NULL);
    ASSERT_EQ(pHook, Hook());
    ASSERT_EQ((LRESULT)qxpThemeOffice2003, status.SendMessage(QXP_WM_GETTHEMEVALUE));
    EXPECT_FALSE(pHook->GetStatusBarHeight(&cy));
    EXPECT_TRUE(pHook->GetFrame().bRoundedBottom) << "the frame's own bottom corners";
    // Not drawn through the themes at all.
    status.SetCommandBars(Bars());
    EXPECT_TRUE(pHook->GetStatusBarHeight(&cy));
    status.SetDrawThemed(FALSE);
    EXPECT_FALSE(pHook->GetStatusBarHeight(&cy));
    status.DestroyWindow();
}

TEST_F(RibbonFrameTest, TheTopEdgeOfTheRibbonsCaptionSizesTheFrame)
{
    CQXPRibbonBar* pRibbon = AddRibbon();
    ASSERT_TRUE(pRibbon != NULL);
    ASSERT_TRUE(ThemeTheFrame(pRibbon));
    frame.m_bKeepSize = TRUE;
    // A free spot of the caption, left of the caption buttons.
    CQXPControl* pMin = pRibbon->GetControls()->FindControl(SC_MINIMIZE);
    ASSERT_TRUE(pMin != NULL);
    const int x = pMin->GetRect().left - 8;
    const CPoint ptEdge(x, pRibbon->GetCaptionRect().top + 2);
    const CPoint ptCaption(x, pRibbon->GetCaptionRect().CenterPoint().y);
    struct Hit {
        CPoint pt;
        int nCode;
    };
    const Hit hits[] = {{CPoint(x, pRibbon->GetCaptionRect().top), HTTOP},
                        {ptEdge, HTTOP},
                        {CPoint(x, pRibbon->GetCaptionRect().top + 4), HTTOP},
                        {CPoint(x, pRibbon->GetCaptionRect().top + 5), HTCAPTION},
                        {ptCaption, HTCAPTION}};
    for (const Hit& h : hits) {
        EXPECT_EQ(h.nCode, pRibbon->HitTestCaption(h.pt)) << "at y " << h.pt.y;
        // The frame answers the same for its sizing edge.
        CPoint ptScreen = h.pt;
        pRibbon->ClientToScreen(&ptScreen);
        EXPECT_EQ(h.nCode == HTTOP ? HTTOP : HTCLIENT,
                  (int)frame.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y)))
            << "the frame at y " << h.pt.y;
    }

    // The pointer over the edge: the frame is asked for the cursor of its
    // top border and shows the sizing cursor; over the caption the arrow.
    const HCURSOR hSize = ::LoadCursorA(NULL, (LPCSTR)IDC_SIZENS);
    const HCURSOR hArrow = ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    CPoint pt = ptEdge;
    pRibbon->ClientToScreen(&pt);
    qmtest::MouseEventAt(pt, 0);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return ::GetCursor() == hSize; })) << "the sizing cursor";
    EXPECT_TRUE(std::find(frame.m_cursorHits.begin(), frame.m_cursorHits.end(), (UINT)HTTOP) !=
                frame.m_cursorHits.end());
    CPoint ptMid = ptCaption;
    pRibbon->ClientToScreen(&ptMid);
    qmtest::MouseEventAt(ptMid, 0);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return ::GetCursor() == hArrow; })) << "the arrow over the caption";

    // A press on the edge sizes the frame from its top.
    frame.m_sysRaw.clear();
    qmtest::ClickAt(pt);
    EXPECT_TRUE(qmtest::PumpUntil([&] {
        return std::find(frame.m_sysRaw.begin(), frame.m_sysRaw.end(), (WPARAM)(SC_SIZE | WMSZ_TOP)) !=
               frame.m_sysRaw.end();
    }));

    // Maximized there is nothing to size: the whole band is caption.
    frame.SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return frame.IsZoomed() != FALSE; }));
    Relayout();
    CQXPControl* pRestore = pRibbon->GetControls()->FindControl(SC_RESTORE);
    ASSERT_TRUE(pRestore != NULL);
    EXPECT_EQ(HTCAPTION, pRibbon->HitTestCaption(CPoint(pRestore->GetRect().left - 8, pRibbon->GetCaptionRect().top + 2)));
    frame.SendMessage(WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !frame.IsZoomed(); }));
}

TEST_F(RibbonFrameTest, OnGlassTheSystemsCaptionButtonsTakeThePointer)
{
    CQXPRibbonBar* pRibbon = AddRibbon();
    ASSERT_TRUE(pRibbon != NULL);
    ASSERT_TRUE(ThemeTheFrame(pRibbon));
    // Without composition the ribbon is an ordinary window under the pointer.
    CRect rcCaption = pRibbon->GetCaptionRect();
    pRibbon->ClientToScreen(&rcCaption);
    const CPoint ptRight(rcCaption.right - 30, rcCaption.CenterPoint().y);
    g_rcSystemClose = CRect(rcCaption.right - 50, rcCaption.top, rcCaption.right, rcCaption.bottom);
    EXPECT_EQ(HTCLIENT, (int)pRibbon->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptRight.x, ptRight.y)));
    // With it, over the system's close button the ribbon steps aside and
    // the frame answers what the system says; elsewhere nothing changes.
    FakeGlass(Hook(), TRUE);
    ASSERT_TRUE(Hook()->IsDwmEnabled());
    EXPECT_EQ(HTTRANSPARENT, (int)pRibbon->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptRight.x, ptRight.y)));
    EXPECT_EQ(HTCLOSE, (int)frame.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptRight.x, ptRight.y)));
    const CPoint ptLeft(rcCaption.CenterPoint().x, rcCaption.CenterPoint().y);
    EXPECT_EQ(HTCLIENT, (int)pRibbon->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptLeft.x, ptLeft.y)));
    FakeGlass(Hook(), FALSE);
}

TEST_F(RibbonFrameTest, TheCaptionTextIsPlainWithoutCompositionAndGlowsOnGlass)
{
    CRecordingRibbonTheme* pTheme = RecordDrawing(Bars());
    CQXPRibbonBar* pRibbon = AddRibbon();
    ASSERT_TRUE(pRibbon != NULL);
    ASSERT_TRUE(ThemeTheFrame(pRibbon));
    frame.SetWindowText("Glass test");
    auto redraw = [&] {
        pTheme->Clear();
        Relayout();
        ::RedrawWindow(pRibbon->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        qmtest::PumpMessages();
    };
    auto titleText = [&]() -> const CRecordingRibbonTheme::Text* {
        for (const auto& t : pTheme->texts)
            if (t.strText == "Glass test")
                return &t;
        return NULL;
    };

    // Wine has no composition: the frame's caption images and the plain
    // caption text.
    ASSERT_FALSE(Hook()->IsDwmEnabled()) << "no composition here";
    redraw();
    EXPECT_TRUE(pTheme->Drew("FRAMETOPCENTER"));
    EXPECT_TRUE(pTheme->Drew("RIBBONQUICKACCESSAREA"));
    EXPECT_FALSE(pTheme->Drew("RIBBONQUICKACCESSAREADWM"));
    ASSERT_TRUE(titleText() != NULL);
    EXPECT_FALSE(titleText()->bGlow);
    EXPECT_EQ(pRibbon->GetTitleRect(), titleText()->rc);
    // The quick-access controls: not on glass, in the ribbon's text colour.
    CQXPControl* pSave = pRibbon->GetControls()->FindControl(40003);
    ASSERT_TRUE(pSave != NULL);
    auto customiseGlass = [&]() -> int {
        for (const auto& d : pTheme->draws)
            if (d.name == "RIBBONQUICKACCESSBUTTON")
                return d.nGlassFlags;
        return -1;
    };
    EXPECT_EQ(0, customiseGlass());
    EXPECT_FALSE(pRibbon->IsRectInCaption(pSave->GetRect()));
    EXPECT_EQ(pTheme->m_clrRibbonText.GetColor(), pTheme->GetControlTextColor(pSave));
    Shot("ribbon-frame-caption-plain.png");

    // Glass (injected): the band black, the QAT area's glass image drawn
    // glass-aware, the title and the contextual headers glowing.
    FakeGlass(Hook(), TRUE);
    redraw();
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(ERROR, ::GetWindowRgn(frame.GetSafeHwnd(), hRgn)) << "no region of the frame before composition";
    ::DeleteObject(hRgn);
    EXPECT_FALSE(pTheme->Drew("FRAMETOPCENTER"));
    EXPECT_FALSE(pTheme->Drew("FRAMETOPLEFT"));
    bool bQatOnGlass = false;
    for (const auto& d : pTheme->draws)
        if (d.name == "RIBBONQUICKACCESSAREADWM")
            bQatOnGlass = d.nGlassFlags == CRibbonStyleTheme::kThemeImageOnGlass;
    EXPECT_TRUE(bQatOnGlass);
    EXPECT_EQ(CRibbonStyleTheme::kThemeImageOnGlass, customiseGlass()) << "the customise button on glass";
    EXPECT_TRUE(pRibbon->IsRectInCaption(pSave->GetRect()));
    EXPECT_FALSE(pRibbon->IsRectInCaption(pRibbon->GetGroupsRect()));
    EXPECT_EQ(RGB(0, 0, 0), pTheme->GetControlTextColor(pSave)) << "black on glass";
    ASSERT_TRUE(titleText() != NULL);
    EXPECT_TRUE(titleText()->bGlow);
    EXPECT_EQ(pRibbon->GetTitleRect(), titleText()->rc);
    std::set<std::string> glowing, plain; // the headers' captions as drawn
    for (const auto& t : pTheme->texts)
        if (t.strText != "Glass test")
            (t.bGlow ? glowing : plain).insert(std::string(t.strText));
    EXPECT_EQ((std::set<std::string>{"Picture", "Table Tools"}), glowing);
    EXPECT_TRUE(plain.empty());
    // The ribbon drawn off the screen (no other window in the way): the
    // band's right end, where the system's own buttons go, is black (glass).
    qmtest::DrawBarOffscreen(pRibbon, [&](CDC& dc) {
        EXPECT_EQ(RGB(0, 0, 0), dc.GetPixel(pRibbon->GetCaptionRect().right - 20, pRibbon->GetCaptionRect().top + 3));
    });
    Shot("ribbon-frame-caption-glass.png");

    // Maximized on glass the title is white.
    frame.SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE);
    ASSERT_TRUE(qmtest::PumpUntil([&] { return frame.IsZoomed() != FALSE; }));
    redraw();
    const CRect rcTitle = pRibbon->GetTitleRect();
    int nWhite = 0, nBlack = 0;
    qmtest::DrawBarOffscreen(pRibbon, [&](CDC& dc) {
        for (int y = rcTitle.top; y < rcTitle.bottom; y++)
            for (int x = rcTitle.left; x < rcTitle.right; x++) {
                const COLORREF c = dc.GetPixel(x, y);
                nWhite += GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200;
                nBlack += c == RGB(0, 0, 0);
            }
    });
    EXPECT_GT(nWhite, 10) << "white title text";
    EXPECT_GT(nBlack, nWhite) << "on the black band";
    EXPECT_EQ(RGB(255, 255, 255), pTheme->GetControlTextColor(pSave)) << "white on a maximized frame's glass";
    Shot("ribbon-frame-caption-glass-maximized.png");
    frame.SendMessage(WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_TRUE(qmtest::PumpUntil([&] { return !frame.IsZoomed(); }));
    // Composition gone: the rounded region again.
    FakeGlass(Hook(), FALSE);
    hRgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(COMPLEXREGION, ::GetWindowRgn(frame.GetSafeHwnd(), hRgn));
    ::DeleteObject(hRgn);
}

} // namespace
