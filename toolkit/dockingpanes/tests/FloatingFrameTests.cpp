// Floating frames as windows under Wine: a pane floats into its own frame
// and back, the frame's style, system menu, title and close rules, its
// translucency, its themed non-client area, roll-up by injected timer ticks,
// a layout with floating frames applied again, and drags of captions and
// frames with the real mouse.
#include "DockTestSupport.h"
#include "../../foundation/tests/QxTestSupport.h"

#include <qx/dragcontext.h>
#include <qx/panepaint.h>

#include "PaintTestSupport.h"

#include <qmtest/mouse.h>
#include <qmtest/pump.h>
#include <qmtest/screenshot.h>
#include <qmtest/script.h>

#include <fx/dvdefs.h>

#include <cstdlib>
#include <string>

using docktest::Describe;
using docktest::Docking;
using qmtest::PumpFor;
using qmtest::PumpUntil;

namespace {

// A visible site in the foreground whose panes host edit windows.
struct FloatFrame : Docking {
    FloatFrame() : Docking(true)
    {
        ::SetForegroundWindow(site.m_hWnd);
        PumpFor(50);
    }
    CQXPDockingPane* Add(int id, int dir, CPaneBase* neighbour = NULL)
    {
        CQXPDockingPane* p = Create(id, dir, neighbour);
        char text[32];
        snprintf(text, sizeof(text), "pane %d", id);
        HWND h = ::CreateWindowExA(0, "EDIT", text, WS_CHILD | ES_MULTILINE, 0, 0, 10, 10, site.m_hWnd, NULL,
                                   ::GetModuleHandle(NULL), NULL);
        p->Attach(h);
        site.Layout();
        return p;
    }
    CQXPDockingPaneMiniWnd* FrameOf(CPaneBase* p) const
    {
        CPaneBase* root = p ? p->GetRoot() : NULL;
        return root && root->GetType() == paneTypeMiniWnd ? static_cast<CQXPDockingPaneMiniWnd*>(root) : NULL;
    }
    CQXPDockingPaneTabbedContainer* ContainerOf(CQXPDockingPane* p) const
    {
        return dynamic_cast<CQXPDockingPaneTabbedContainer*>(p->GetContainer());
    }
    std::string Title(HWND h) const
    {
        char s[128] = "";
        ::GetWindowTextA(h, s, sizeof(s));
        return s;
    }
    // A pane floated at a rectangle, its frame laid out.
    CQXPDockingPaneMiniWnd* Float(CQXPDockingPane* p, const RECT& rc)
    {
        CQXPDockingPaneMiniWnd* pFrame = manager.FloatPane(p, rc);
        Settle();
        return pFrame;
    }
    void Settle()
    {
        PumpFor(50);
        site.Layout();
        PumpFor(30);
    }
};

const RECT kFloatRect = {200, 150, 460, 390};

TEST(FloatingFrame, APaneFloatsIntoItsOwnFrameWindow)
{
    FloatFrame f;
    CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
    f.Add(2, dockBottomOf);
    p1->SetTitle("Functions");
    CQXPDockingPaneMiniWnd* pFrame = f.Float(p1, kFloatRect);
    ASSERT_NE(nullptr, pFrame);
    // The pane's docked place stays as an empty holder.
    EXPECT_EQ("S|[S-[T{},C],T{2*}] F(S-[T{1*}])", f.Tree());
    HWND h = pFrame->GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(h));
    EXPECT_TRUE(::IsWindowVisible(h));
    char cls[64] = "";
    ::GetClassNameA(h, cls, sizeof(cls));
    EXPECT_STREQ("QXPDockingPaneMiniWnd", cls);
    // Popup, caption, system menu, sizing frame, no system menu from the
    // caption's icon, active together with its owner.
    LONG style = ::GetWindowLongA(h, GWL_STYLE);
    EXPECT_EQ((LONG)(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | MFS_BLOCKSYSMENU | MFS_SYNCACTIVE),
              style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | MFS_BLOCKSYSMENU | MFS_SYNCACTIVE));
    EXPECT_TRUE(::GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(f.site.m_hWnd, ::GetWindow(h, GW_OWNER));
    RECT rc;
    ::GetWindowRect(h, &rc);
    EXPECT_EQ(kFloatRect.left, rc.left);
    EXPECT_EQ(kFloatRect.top, rc.top);
    // The frame's caption stands for its one container.
    EXPECT_EQ("Functions", f.Title(h));
    EXPECT_FALSE(f.ContainerOf(p1)->IsCaptionVisible());
    EXPECT_EQ(h, ::GetParent(f.ContainerOf(p1)->GetSafeHwnd()));
    EXPECT_TRUE(p1->IsFloating());
    // The system menu keeps Move, Size and Close only.
    HMENU hMenu = ::GetSystemMenu(h, FALSE);
    ASSERT_NE(nullptr, hMenu);
    EXPECT_EQ(-1, (int)::GetMenuState(hMenu, SC_MINIMIZE, MF_BYCOMMAND));
    EXPECT_EQ(-1, (int)::GetMenuState(hMenu, SC_MAXIMIZE, MF_BYCOMMAND));
    EXPECT_EQ(-1, (int)::GetMenuState(hMenu, SC_RESTORE, MF_BYCOMMAND));
    UINT closeState = ::GetMenuState(hMenu, SC_CLOSE, MF_BYCOMMAND);
    ASSERT_NE((UINT)-1, closeState);
    EXPECT_FALSE(closeState & MF_GRAYED);
}

TEST(FloatingFrame, TwoContainersShowTheirCaptionsUnderTheManagersTitle)
{
    FloatFrame f;
    f.manager.m_strFloatingFrameTitle = "Tools";
    CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
    CQXPDockingPane* p2 = f.Add(2, dockBottomOf);
    CQXPDockingPaneMiniWnd* pFrame = f.manager.FloatPane(p1, kFloatRect);
    ASSERT_NE(nullptr, pFrame);
    // Docking beside a floating container moves pane 2 into the frame.
    f.manager.MoveAndDockPane(p2, dockBottomOf, f.ContainerOf(p1));
    f.Settle();
    pFrame->UpdatePanes(FALSE);
    EXPECT_EQ(pFrame, f.FrameOf(p2));
    EXPECT_TRUE(f.ContainerOf(p1)->IsCaptionVisible());
    EXPECT_TRUE(f.ContainerOf(p2)->IsCaptionVisible());
    EXPECT_EQ("Tools", f.Title(pFrame->GetSafeHwnd()));
}

TEST(FloatingFrame, PanesThatMayNotCloseGreyTheCloseItem)
{
    FloatFrame f;
    CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
    p1->SetOptions(paneNoCloseable);
    CQXPDockingPaneMiniWnd* pFrame = f.Float(p1, kFloatRect);
    ASSERT_NE(nullptr, pFrame);
    EXPECT_FALSE(pFrame->m_bClosable);
    EXPECT_FALSE(pFrame->IsCaptionButtonVisible(QX_IDS_DOCKINGPANE_CLOSE));
    UINT state = ::GetMenuState(::GetSystemMenu(pFrame->GetSafeHwnd(), FALSE), SC_CLOSE, MF_BYCOMMAND);
    EXPECT_TRUE(state & MF_GRAYED);
    // Closing the frame closes nothing then.
    ::SendMessage(pFrame->GetSafeHwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(pFrame, f.FrameOf(p1));
}

TEST(FloatingFrame, ClosingTheFrameClosesItsPanesAndHidesIt)
{
    FloatFrame f;
    CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
    CQXPDockingPaneMiniWnd* pFrame = f.Float(p1, kFloatRect);
    ASSERT_NE(nullptr, pFrame);
    HWND h = pFrame->GetSafeHwnd();
    f.site.m_actions.clear();
    ::SendMessage(h, WM_CLOSE, 0, 0);
    EXPECT_EQ(nullptr, p1->GetContainer());
    EXPECT_EQ((std::vector<int>{paneActionClosing, paneActionClosed}), docktest::WithoutActivation(f.site.m_actions));
    // The frame hides and keeps the pane's place.
    EXPECT_FALSE(::IsWindowVisible(h));
    ::SendMessage(f.manager.GetSafeHwnd(), WM_IDLEUPDATECMDUI, 0, 0);
    ASSERT_TRUE(::IsWindow(h));
    // The pane comes back in its last place when selected again.
    f.manager.SelectPane(p1, FALSE);
    EXPECT_EQ(pFrame, f.FrameOf(p1));
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(h) != FALSE; }));
}

TEST(FloatingFrame, DoubleClickOnTheCaptionDocksThePanesBack)
{
    FloatFrame f;
    CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
    f.Add(2, dockBottomOf);
    const std::string docked = f.Tree();
    f.site.m_actions.clear();
    ASSERT_TRUE(f.manager.ToggleDocking(p1, NULL));
    EXPECT_EQ((std::vector<int>{paneActionFloating, paneActionFloated}), docktest::WithoutActivation(f.site.m_actions));
    f.Settle();
    CQXPDockingPaneMiniWnd* pFrame = f.FrameOf(p1);
    ASSERT_NE(nullptr, pFrame);
    HWND h = pFrame->GetSafeHwnd();
    RECT rc;
    ::GetWindowRect(h, &rc);
    f.site.m_actions.clear();
    ::SendMessage(h, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(rc.left + 30, rc.top + 8));
    f.Settle();
    ::SendMessage(f.manager.GetSafeHwnd(), WM_IDLEUPDATECMDUI, 0, 0);
    // The frame hides and keeps the pane's floating place.
    EXPECT_EQ(docked + " F(S-[T{}])", f.Tree());
    EXPECT_EQ((std::vector<int>{paneActionDocking, paneActionDocked}), docktest::WithoutActivation(f.site.m_actions));
    EXPECT_FALSE(::IsWindowVisible(h));
    EXPECT_FALSE(p1->IsFloating());
    // A second toggle floats it back into that frame, where it was.
    f.manager.ToggleDockingGroup(p1);
    EXPECT_EQ(pFrame, f.FrameOf(p1));
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(h) != FALSE; }));
    RECT again;
    ::GetWindowRect(h, &again);
    EXPECT_EQ(rc.left, again.left);
    EXPECT_EQ(rc.top, again.top);
}

TEST(FloatingFrame, APaneThatMayNotFloatStays)
{
    FloatFrame f;
    CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
    const std::string docked = f.Tree();
    p1->SetOptions(paneNoFloatable);
    EXPECT_FALSE(f.manager.ToggleDocking(p1, NULL));
    EXPECT_EQ(docked, f.Tree());
    p1->SetOptions(0);
    f.site.m_nRefuseAction = paneActionFloating;
    EXPECT_FALSE(f.manager.ToggleDocking(p1, NULL));
    EXPECT_EQ(docked, f.Tree());
}

TEST(FloatingFrame, InactiveFramesTakeTheManagersAlpha)
{
    FloatFrame f;
    if (!f.manager.GetDragContext()->m_pfnSetLayeredWindowAttributes)
        GTEST_SKIP() << "platform limit: no layered windows";
    f.manager.m_nFloatingFrameAlpha = 128;
    CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
    CQXPDockingPaneMiniWnd* pFrame = f.Float(p1, kFloatRect);
    ASSERT_NE(nullptr, pFrame);
    HWND h = pFrame->GetSafeHwnd();
    ::SetFocus(f.site.m_hWnd);
    pFrame->OnFocusChanged();
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_LAYERED);
    ASSERT_TRUE(::GetLayeredWindowAttributes(h, NULL, &alpha, &flags));
    EXPECT_EQ(128, alpha);
    EXPECT_TRUE(flags & LWA_ALPHA);
    // Active (the focus inside): opaque.
    ::SetFocus(p1->GetChild());
    pFrame->OnFocusChanged();
    ASSERT_TRUE(::GetLayeredWindowAttributes(h, NULL, &alpha, &flags));
    EXPECT_EQ(255, alpha);
    // Alpha 255: no layered style at all.
    f.manager.m_nFloatingFrameAlpha = 255;
    pFrame->UpdateOpacity();
    EXPECT_FALSE(::GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST(FloatingFrame, ThemedFramesAnswerTheirOwnHitTests)
{
    FloatFrame f;
    f.manager.m_bThemedFloatingFrames = TRUE;
    CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
    CQXPDockingPaneMiniWnd* pFrame = f.Float(p1, kFloatRect);
    ASSERT_NE(nullptr, pFrame);
    HWND h = pFrame->GetSafeHwnd();
    EXPECT_FALSE(::GetWindowLongA(h, GWL_STYLE) & (WS_BORDER | WS_THICKFRAME));
    RECT rc, rcClient;
    ::GetWindowRect(h, &rc);
    ::GetClientRect(h, &rcClient);
    // The client area: 3 pixels in, below the caption band.
    int nCaption = f.manager.GetPaintManager()->GetCaptionHeight();
    EXPECT_EQ(rc.right - rc.left - 6, rcClient.right);
    EXPECT_EQ(rc.bottom - rc.top - 6 - nCaption - 2, rcClient.bottom);
    struct Row {
        int x, y;
        LRESULT hit;
    } rows[] = {
        {rc.left, rc.top, HTTOPLEFT},
        {(rc.left + rc.right) / 2, rc.top + 1, HTTOP},
        {rc.right - 1, rc.top, HTTOPRIGHT},
        {rc.left + 1, (rc.top + rc.bottom) / 2, HTLEFT},
        {rc.right - 2, (rc.top + rc.bottom) / 2, HTRIGHT},
        {rc.left, rc.bottom - 1, HTBOTTOMLEFT},
        {(rc.left + rc.right) / 2, rc.bottom - 2, HTBOTTOM},
        {rc.right - 1, rc.bottom - 1, HTBOTTOMRIGHT},
        {(rc.left + rc.right) / 2, rc.top + 3 + nCaption / 2, HTCAPTION},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.hit, ::SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(r.x, r.y))) << r.x << "," << r.y;
}

CaptionButton* ButtonOf(CPaneBase* pOwner, int nID)
{
    for (CaptionButton* b : pOwner->m_arrCaptionButtons)
        if (b->m_nID == nID)
            return b;
    return nullptr;
}

// A caption button's middle on the screen (its rectangle is in the frame
// window's coordinates).
POINT ButtonOnScreen(HWND hFrame, const CaptionButton* b)
{
    RECT rc;
    ::GetWindowRect(hFrame, &rc);
    return POINT{rc.left + (b->m_rc.left + b->m_rc.right) / 2, rc.top + (b->m_rc.top + b->m_rc.bottom) / 2};
}

// The first steps of a real press on a frame's caption button: the mouse
// over it and its left button down; the next step runs inside the press's
// tracking.
void PressOn(qmtest::Script& script, HWND hFrame, const CaptionButton* b)
{
    script.Then([hFrame, b] {
        qmtest::MouseMoveTo(ButtonOnScreen(hFrame, b));
        qmtest::MouseButton(MOUSEEVENTF_LEFTDOWN);
    });
    script.Add([b] { return b->m_bPressed != FALSE; });
}

// The frame as its theme draws it, into a picture of the window's size.
std::unique_ptr<painttest::MemoryDC> FramePicture(CQXPDockingPaneManager& manager, CQXPDockingPaneMiniWnd* pFrame)
{
    RECT rc;
    ::GetWindowRect(pFrame->GetSafeHwnd(), &rc);
    ::OffsetRect(&rc, -rc.left, -rc.top);
    std::unique_ptr<painttest::MemoryDC> pic(new painttest::MemoryDC(rc.right, rc.bottom, RGB(255, 0, 255)));
    manager.GetPaintManager()->DrawFloatingFrame(pic->dc()->GetSafeHdc(), pFrame, rc);
    return pic;
}

std::vector<COLORREF> PixelsOf(painttest::MemoryDC& pic, const RECT& rc)
{
    std::vector<COLORREF> v;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            v.push_back(pic.Pixel(x, y));
    return v;
}

// Every docking theme draws the themed frame with its caption strip and
// buttons: Close at the right end, the roll-up pin before it (the Menu
// button only for panes that ask for it), inside the caption band, where
// the frame hit-tests them; the pin turns on its side while rolled up.
TEST(FloatingFrame, EachThemeDrawsItsFrameWithCaptionButtons)
{
    for (int nTheme = 0; nTheme <= 10; ++nTheme) {
        SCOPED_TRACE("theme " + std::to_string(nTheme));
        FloatFrame f;
        f.manager.m_bThemedFloatingFrames = TRUE;
        f.manager.m_bManualTimers = TRUE;
        f.manager.SetTheme(nTheme);
        CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
        p1->SetTitle("Function List");
        CQXPDockingPaneMiniWnd* pFrame = f.Float(p1, kFloatRect);
        ASSERT_NE(nullptr, pFrame);
        HWND h = pFrame->GetSafeHwnd();
        ::RedrawWindow(h, NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT rc;
        ::GetWindowRect(h, &rc);
        const int nCaption = f.manager.GetPaintManager()->GetCaptionHeight();
        CaptionButton* close = ButtonOf(pFrame, QX_IDS_DOCKINGPANE_CLOSE);
        CaptionButton* pin = ButtonOf(pFrame, QX_IDS_DOCKINGPANE_AUTOHIDE);
        CaptionButton* menu = ButtonOf(pFrame, QX_IDS_DOCKINGPANE_MENU);
        ASSERT_TRUE(close && pin && menu);
        std::unique_ptr<painttest::MemoryDC> pic = FramePicture(f.manager, pFrame);
        ASSERT_FALSE(::IsRectEmpty(&close->m_rc));
        ASSERT_FALSE(::IsRectEmpty(&pin->m_rc));
        EXPECT_TRUE(::IsRectEmpty(&menu->m_rc)) << "no pane asks for the menu";
        EXPECT_LE(pin->m_rc.right, close->m_rc.left);
        EXPECT_LE(close->m_rc.right, rc.right - rc.left - 3);
        EXPECT_GE(pin->m_rc.top, 0);
        EXPECT_LE(close->m_rc.bottom, 3 + nCaption + 2) << "the buttons stay in the caption band";
        for (CaptionButton* b : {close, pin}) {
            POINT pt = ButtonOnScreen(h, b);
            EXPECT_EQ(HTCAPTION, ::SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
            EXPECT_EQ(b, pFrame->CaptionButtonAt(pt));
            // Something is drawn on the button: its glyph or its face.
            std::vector<COLORREF> px = PixelsOf(*pic, b->m_rc);
            EXPECT_NE(std::count(px.begin(), px.end(), px.front()), (long)px.size()) << b->m_nID;
        }
        // Between the buttons and the caption's start no button answers.
        EXPECT_EQ(nullptr, pFrame->CaptionButtonAt(POINT{rc.left + 12, rc.top + 3 + nCaption / 2}));
        // The pin's picture changes while the frame rolls up.
        std::vector<COLORREF> pinUp = PixelsOf(*pic, pin->m_rc);
        pFrame->SetRollUp(TRUE);
        ASSERT_TRUE(pFrame->IsRollUp());
        std::unique_ptr<painttest::MemoryDC> rolled = FramePicture(f.manager, pFrame);
        EXPECT_EQ(2u, pin->m_dwState);
        EXPECT_NE(pinUp, PixelsOf(*rolled, pin->m_rc));
        pFrame->SetRollUp(FALSE);
        ::RedrawWindow(h, NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        qmtest::PumpFor(30);
        char name[64];
        snprintf(name, sizeof(name), "floating-frame-theme%d.png", nTheme);
        qmtest::SaveScreenPng(rc, qmtest::ScreenshotDir(QM_BIN_DIR) + "/" + name);
    }
}

// What a frame window shows: its window DC read back after a full repaint
// of its non-client area.
std::unique_ptr<painttest::MemoryDC> WindowPicture(HWND h)
{
    ::RedrawWindow(h, NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT rc;
    ::GetWindowRect(h, &rc);
    std::unique_ptr<painttest::MemoryDC> pic(new painttest::MemoryDC(rc.right - rc.left, rc.bottom - rc.top));
    HDC hdc = ::GetWindowDC(h);
    ::BitBlt(pic->dc()->GetSafeHdc(), 0, 0, rc.right - rc.left, rc.bottom - rc.top, hdc, 0, 0, SRCCOPY);
    ::ReleaseDC(h, hdc);
    return pic;
}

// How far below the window's top edge its client area starts.
int ClientTopOf(HWND h)
{
    RECT rcWindow, rcClient;
    ::GetWindowRect(h, &rcWindow);
    ::GetClientRect(h, &rcClient);
    ::MapWindowPoints(h, NULL, (POINT*)&rcClient, 2);
    return rcClient.top - rcWindow.top;
}

// Within tol of clr in every channel (a gradient's ends).
::testing::AssertionResult Near(COLORREF clr, COLORREF expected, int tol = 12)
{
    for (int shift : {0, 8, 16})
        if (std::abs((int)((clr >> shift) & 0xFF) - (int)((expected >> shift) & 0xFF)) > tol)
            return ::testing::AssertionFailure()
                   << std::hex << "0x" << clr << " is not near 0x" << expected;
    return ::testing::AssertionSuccess();
}

// One 1-pixel ring of a frame, n pixels in from the window's edges: its
// top and left sides (with the top-left corner) in one colour, its right
// and bottom sides (with the other three corners) in the other.
void ExpectRing(painttest::MemoryDC& pic, int cx, int cy, int n, COLORREF tl, COLORREF br)
{
    SCOPED_TRACE("ring " + std::to_string(n));
    const int r = cx - 1 - n, b = cy - 1 - n;
    EXPECT_EQ(tl, pic.Pixel(n, n));
    EXPECT_EQ(tl, pic.Pixel(cx / 2, n));
    EXPECT_EQ(tl, pic.Pixel(n, cy / 2));
    EXPECT_EQ(br, pic.Pixel(r, n));
    EXPECT_EQ(br, pic.Pixel(r, cy / 2));
    EXPECT_EQ(br, pic.Pixel(n, b));
    EXPECT_EQ(br, pic.Pixel(cx / 2, b));
    EXPECT_EQ(br, pic.Pixel(r, b));
}

// Each docking theme's frame read back from a real themed floating frame,
// inactive and active, in the classic colours and in the Luna blue scheme:
// the frame rings and their corners, the caption strip's edges and the
// first pixels of the theme's bar in it.
TEST(FloatingFrame, EachThemeDrawsItsFrameRingsAndCaptionStrip)
{
    painttest::NoVisualStyles noStyles;
    const struct {
        int nTheme;
        int nColors;
    } rows[] = {{0, qxColorThemeClassic}, {1, qxColorThemeClassic}, {2, qxColorThemeClassic}, {3, qxColorThemeClassic}, {4, qxColorThemeClassic}, {5, qxColorThemeClassic}, {6, qxColorThemeClassic}, {7, qxColorThemeClassic}, {8, qxColorThemeClassic}, {9, qxColorThemeClassic}, {10, qxColorThemeClassic}, {2, qxColorThemeBlue}, {9, qxColorThemeBlue}, {6, qxColorThemeSilver}};
    for (const auto& row : rows) {
        painttest::FixedColors colors(row.nColors);
        FloatFrame f;
        f.manager.m_bThemedFloatingFrames = TRUE;
        f.manager.SetTheme(row.nTheme);
        CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
        p1->SetTitle("Function List");
        CQXPDockingPaneMiniWnd* pFrame = f.Float(p1, kFloatRect);
        ASSERT_NE(nullptr, pFrame);
        HWND h = pFrame->GetSafeHwnd();
        CDockingPanePaintManager* pm = f.manager.GetPaintManager();
        const int th = pm->GetCaptionTextHeight();
        for (bool bActive : {false, true}) {
            SCOPED_TRACE("theme " + std::to_string(row.nTheme) + " colours " + std::to_string(row.nColors) +
                         (bActive ? " active" : " inactive"));
            ::SetFocus(bActive ? p1->GetChild() : f.site.m_hWnd);
            pFrame->OnFocusChanged();
            ASSERT_TRUE(PumpUntil([&] { return (pFrame->m_bActive != FALSE) == bActive; }));
            std::unique_ptr<painttest::MemoryDC> pic = WindowPicture(h);
            RECT rcWindow;
            ::GetWindowRect(h, &rcWindow);
            const int cx = rcWindow.right - rcWindow.left, cy = rcWindow.bottom - rcWindow.top;
            const int clientTop = ClientTopOf(h);
            EXPECT_EQ(3 + pm->GetCaptionHeight() + 2, clientTop);
            const COLORREF* g = bActive ? pm->m_clrActiveCaption : pm->m_clrInactiveCaption;
            const int mid = cx / 2;
            // The Close glyph in the bar's glyph colour: the caption text
            // colours in themes 2, 7, 9, 10; black in theme 5; colour 9 when
            // active, else colour 18, in the gradient family; colour 18 in
            // themes 0, 4, 8.
            COLORREF clrGlyph = pm->GetColor(COLOR_BTNTEXT);
            switch (row.nTheme) {
            case 2:
            case 7:
            case 9:
            case 10:
                clrGlyph = bActive ? pm->m_clrActiveCaptionText : pm->m_clrInactiveCaptionText;
                break;
            case 5:
                clrGlyph = RGB(0, 0, 0);
                break;
            case 1:
            case 3:
            case 6:
                if (bActive)
                    clrGlyph = pm->GetColor(COLOR_CAPTIONTEXT);
                break;
            }
            EXPECT_GE(pic->Count(CRect(ButtonOf(pFrame, QX_IDS_DOCKINGPANE_CLOSE)->m_rc), clrGlyph), 8);
            if (row.nTheme == 2 || row.nTheme == 7 || row.nTheme == 10) {
                // Three rings in colour 43, a fourth in the inactive
                // gradient's second colour with its corners in colour 43;
                // the strip below them across the caption's depth, its
                // bottom corners in that second colour.
                const COLORREF c43 = pm->GetColor(43), inner = pm->m_clrInactiveCaption[1];
                for (int n = 0; n < 3; ++n)
                    ExpectRing(*pic, cx, cy, n, c43, c43);
                // (Below the caption the client area covers the fourth ring.)
                for (POINT pt : {POINT{3, 3}, POINT{cx - 4, 3}})
                    EXPECT_EQ(c43, pic->Pixel(pt.x, pt.y)) << pt.x << "," << pt.y;
                for (POINT pt : {POINT{mid, 3}, POINT{3, 4}, POINT{3, clientTop - 1}, POINT{cx - 4, clientTop - 1}})
                    EXPECT_EQ(inner, pic->Pixel(pt.x, pt.y)) << pt.x << "," << pt.y;
                const int top = 4, bottom = 4 + th + 3;
                EXPECT_TRUE(Near(pic->Pixel(mid, top), g[0]));
                EXPECT_TRUE(Near(pic->Pixel(mid, bottom - 1), g[1]));
                EXPECT_EQ(inner, pic->Pixel(4, bottom - 1));
                EXPECT_EQ(inner, pic->Pixel(cx - 5, bottom - 1));
                // The bar lies in the strip less a pixel on each side.
                EXPECT_EQ(cx - 5 - 2, ButtonOf(pFrame, QX_IDS_DOCKINGPANE_CLOSE)->m_rc.right);
                continue;
            }
            // Themes 0, 1, 3, 4, 6, 8, 9 on colour 15, theme 5 on its stripe
            // colour: the 3-D rings, then the strip deflated to the bar.
            const COLORREF face = row.nTheme == 5 ? pm->GetColor(bActive ? 31 : 30) : pm->GetColor(COLOR_3DFACE);
            ExpectRing(*pic, cx, cy, 0, face, RGB(0, 0, 0));
            ExpectRing(*pic, cx, cy, 1, pm->GetColor(COLOR_3DHIGHLIGHT), pm->GetColor(COLOR_3DSHADOW));
            ExpectRing(*pic, cx, cy, 2, face, face);
            const int top = 3, bottom = 3 + th + 3;
            for (POINT pt : {POINT{3, top}, POINT{mid, top}, POINT{mid, top + 1}, POINT{3, (top + bottom) / 2},
                             POINT{cx - 4, (top + bottom) / 2}, POINT{mid, bottom - 2}, POINT{mid, bottom - 1},
                             POINT{mid, clientTop - 1}})
                EXPECT_EQ(face, pic->Pixel(pt.x, pt.y)) << pt.x << "," << pt.y;
            // The bar: (4, 5) to (cx - 4, bottom - 2).
            const int bl = 4, bt = top + 2, br = cx - 4, bb = bottom - 2;
            EXPECT_EQ(br - 2, ButtonOf(pFrame, QX_IDS_DOCKINGPANE_CLOSE)->m_rc.right);
            switch (row.nTheme) {
            case 0:
                EXPECT_EQ(pm->GetColor(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION), pic->Pixel(bl, bt));
                break;
            case 1:
                if (bActive) {
                    EXPECT_EQ(g[0], pic->Pixel(bl, bt));
                } else {
                    EXPECT_EQ(face, pic->Pixel(bl, bt)) << "the outline's corner is left out";
                    EXPECT_EQ(pm->GetColor(52), pic->Pixel(bl + 1, bt));
                    EXPECT_EQ(pm->GetColor(52), pic->Pixel(bl, bt + 1));
                    EXPECT_EQ(face, pic->Pixel(bl + 1, bt + 1));
                }
                break;
            case 3:
            case 6:
                // A gradient along the caption.
                EXPECT_TRUE(Near(pic->Pixel(bl, bt), g[0]));
                EXPECT_TRUE(Near(pic->Pixel(br - 1, bt), g[1]));
                EXPECT_EQ(pic->Pixel(mid, bt), pic->Pixel(mid, bb - 1));
                break;
            case 9:
                // Border lines on the left, top and right; the gradient
                // across the caption's depth.
                EXPECT_EQ(pm->m_clrBorder, pic->Pixel(bl, bt));
                EXPECT_EQ(pm->m_clrBorder, pic->Pixel(mid, bt));
                EXPECT_EQ(pm->m_clrBorder, pic->Pixel(bl, bb - 1));
                EXPECT_EQ(pm->m_clrBorder, pic->Pixel(br - 1, bb - 1));
                EXPECT_TRUE(Near(pic->Pixel(mid, bt + 1), g[0]));
                EXPECT_TRUE(Near(pic->Pixel(mid, bb - 1), g[1]));
                break;
            default:
                // 4, 5, 8: the bar on the strip's own colour (theme 5 with
                // no face line at its top).
                EXPECT_EQ(face, pic->Pixel(bl, bt));
                EXPECT_EQ(face, pic->Pixel(bl + 1, bt + 1));
                break;
            }
        }
    }
}

// The caption buttons of a themed frame under the real mouse: hovering
// lights one until the mouse leaves the caption, the pin rolls the frame
// up, Menu asks the owner for the pane's menu, Close closes the panes.
TEST(FloatingFrame, ThemedCaptionButtonsActUnderTheRealMouse)
{
    FloatFrame f;
    f.manager.m_bThemedFloatingFrames = TRUE;
    f.manager.m_bManualTimers = TRUE;
    f.manager.SetTheme(2);
    CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
    p1->SetOptions(p1->GetOptions() | paneHasMenuButton);
    CQXPDockingPaneMiniWnd* pFrame = f.Float(p1, kFloatRect);
    ASSERT_NE(nullptr, pFrame);
    HWND h = pFrame->GetSafeHwnd();
    ::SetForegroundWindow(h);
    ::RedrawWindow(h, NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    CaptionButton* close = ButtonOf(pFrame, QX_IDS_DOCKINGPANE_CLOSE);
    CaptionButton* pin = ButtonOf(pFrame, QX_IDS_DOCKINGPANE_AUTOHIDE);
    CaptionButton* menu = ButtonOf(pFrame, QX_IDS_DOCKINGPANE_MENU);
    ASSERT_FALSE(::IsRectEmpty(&menu->m_rc)) << "the pane asks for its menu button";
    auto hasTimer = [&](UINT_PTR id) {
        return std::find(pFrame->m_timers.begin(), pFrame->m_timers.end(), id) != pFrame->m_timers.end();
    };
    RECT rcFrame;
    ::GetWindowRect(h, &rcFrame);
    const POINT outside = {rcFrame.right + 40, rcFrame.bottom + 40};

    // Hover: the pin lights, and the caption's timer watches for the way out.
    qmtest::Script hover;
    hover.Then([&] { qmtest::MouseMoveTo(ButtonOnScreen(h, pin)); });
    hover.Add([&] { return pin->m_bHot != FALSE; });
    ASSERT_TRUE(hover.Run(nullptr, 5000));
    EXPECT_FALSE(close->m_bHot);
    EXPECT_TRUE(hasTimer(2345));
    qmtest::MouseMoveTo(outside);
    qmtest::PumpFor(30);
    pFrame->OnTimer(2345);
    EXPECT_FALSE(pin->m_bHot) << "the mouse left the caption";
    EXPECT_FALSE(hasTimer(2345));

    // A click on the pin rolls the frame up; another rolls it out again
    // (quick enough to be a double click: still two clicks on the button).
    for (BOOL bRolled : {TRUE, FALSE}) {
        qmtest::Script click;
        PressOn(click, h, pin);
        click.Then([] { qmtest::MouseButton(MOUSEEVENTF_LEFTUP); });
        click.Add([&] { return pFrame->IsRollUp() == bRolled; });
        ASSERT_TRUE(click.Run(nullptr, 5000)) << "roll-up " << bRolled;
        EXPECT_FALSE(pin->m_bPressed);
        EXPECT_EQ(nullptr, ::GetCapture());
    }

    // Menu: the owner is asked for the pane's menu under the button.
    qmtest::Script menuPress;
    menuPress.Then([&] {
        qmtest::MouseMoveTo(ButtonOnScreen(h, menu));
        qmtest::MouseButton(MOUSEEVENTF_LEFTDOWN);
        qmtest::MouseButton(MOUSEEVENTF_LEFTUP);
    });
    menuPress.Add([&] { return !f.site.m_menuRequests.empty(); });
    ASSERT_TRUE(menuPress.Run(nullptr, 5000));
    ASSERT_EQ(1u, f.site.m_menuRequests.size());
    EXPECT_EQ(p1, f.site.m_menuRequests[0].pPane);
    EXPECT_EQ(rcFrame.left + menu->m_rc.left, f.site.m_menuRequests[0].ptScreen.x);
    EXPECT_EQ(rcFrame.top + menu->m_rc.bottom, f.site.m_menuRequests[0].ptScreen.y);
    EXPECT_FALSE(menu->m_bPressed);

    // Pressed on Close but released away: nothing closes; released over it:
    // the pane closes and the frame hides.
    qmtest::Script away;
    PressOn(away, h, close);
    away.Then([&] { qmtest::MouseMoveTo(outside); });
    away.Add([&] { return close->m_bPressed == FALSE; });
    away.Then([] { qmtest::MouseButton(MOUSEEVENTF_LEFTUP); });
    away.Add([] { return ::GetCapture() == NULL; });
    ASSERT_TRUE(away.Run(nullptr, 5000));
    qmtest::PumpFor(30);
    EXPECT_TRUE(::IsWindowVisible(h));
    EXPECT_FALSE(p1->IsClosed());
    qmtest::Script closing;
    PressOn(closing, h, close);
    closing.Then([] { qmtest::MouseButton(MOUSEEVENTF_LEFTUP); });
    closing.Add([&] { return !::IsWindowVisible(h); });
    ASSERT_TRUE(closing.Run(nullptr, 5000));
    EXPECT_TRUE(p1->IsClosed());
}

// The themed frame's caption buttons are its tools: a point over one gives
// the button's id and its string as the tip, with the button's rectangle in
// client coordinates; the caption beside the buttons gives none.
TEST(FloatingFrame, CaptionButtonsAreTooltipTools)
{
    FloatFrame f;
    f.manager.m_bThemedFloatingFrames = TRUE;
    f.manager.SetTheme(2);
    CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
    p1->SetOptions(p1->GetOptions() | paneHasMenuButton);
    CQXPDockingPaneMiniWnd* pFrame = f.Float(p1, kFloatRect);
    ASSERT_NE(nullptr, pFrame);
    HWND h = pFrame->GetSafeHwnd();
    ::RedrawWindow(h, NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const struct {
        int nID;
        const char* pszTip;
    } rows[] = {{QX_IDS_DOCKINGPANE_CLOSE, "Close"}, {QX_IDS_DOCKINGPANE_AUTOHIDE, "Auto Hide"},
                {QX_IDS_DOCKINGPANE_MENU, "Menu"}};
    for (const auto& r : rows) {
        CaptionButton* b = ButtonOf(pFrame, r.nID);
        ASSERT_NE(nullptr, b);
        ASSERT_FALSE(::IsRectEmpty(&b->m_rc)) << r.pszTip;
        POINT pt = ButtonOnScreen(h, b);
        ::ScreenToClient(h, &pt);
        TOOLINFOA ti = {};
        ti.cbSize = sizeof(ti);
        EXPECT_EQ(r.nID, pFrame->OnToolHitTest(CPoint(pt), &ti)) << r.pszTip;
        ASSERT_NE(nullptr, ti.lpszText) << r.pszTip;
        EXPECT_STREQ(r.pszTip, ti.lpszText);
        EXPECT_EQ(h, ti.hwnd);
        EXPECT_TRUE(::PtInRect(&ti.rect, pt)) << r.pszTip;
        EXPECT_LT(ti.rect.top, 0) << "the caption lies above the client area";
        free(ti.lpszText);
    }
    // The caption's left end, away from the buttons, and the client area.
    RECT rcWindow;
    ::GetWindowRect(h, &rcWindow);
    POINT ptCaption = {rcWindow.left + 12, ButtonOnScreen(h, ButtonOf(pFrame, QX_IDS_DOCKINGPANE_CLOSE)).y};
    ::ScreenToClient(h, &ptCaption);
    EXPECT_EQ(-1, pFrame->OnToolHitTest(CPoint(ptCaption), NULL));
    EXPECT_EQ(-1, pFrame->OnToolHitTest(CPoint(5, 5), NULL));
}

TEST(FloatingFrame, RollsUpAfterSixPollsAndExpandsOnANonClientMove)
{
    FloatFrame f;
    f.manager.m_bManualTimers = TRUE;
    CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
    CQXPDockingPaneMiniWnd* pFrame = f.Float(p1, kFloatRect);
    ASSERT_NE(nullptr, pFrame);
    HWND h = pFrame->GetSafeHwnd();
    ::SetFocus(f.site.m_hWnd);
    RECT rc;
    ::GetWindowRect(h, &rc);
    const int height = rc.bottom - rc.top;
    f.site.m_actions.clear();
    pFrame->SetRollUp(TRUE);
    EXPECT_TRUE(pFrame->IsRollUp());
    EXPECT_EQ((std::vector<int>{paneActionHiding, paneActionHidden}), docktest::WithoutActivation(f.site.m_actions));
    // The pointer is put away from the frame: the polls count down.
    ::SetCursorPos(rc.right + 80, rc.bottom + 80);
    for (int i = 0; i < 5; ++i)
        pFrame->OnTimer(1);
    EXPECT_FALSE(pFrame->m_bCollapsing) << "five polls are not enough";
    pFrame->OnTimer(1);
    EXPECT_TRUE(pFrame->m_bCollapsing);
    for (int i = 0; i < 9 && pFrame->m_bCollapsing; ++i)
        pFrame->OnTimer(3);
    EXPECT_TRUE(pFrame->m_bCollapsed);
    ::GetWindowRect(h, &rc);
    EXPECT_EQ(f.manager.GetPaintManager()->GetCaptionHeight() + 8, rc.bottom - rc.top);
    // A move over its non-client area brings the full height back at once.
    ::SendMessage(h, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(rc.left + 10, rc.top + 5));
    ::GetWindowRect(h, &rc);
    EXPECT_EQ(height, rc.bottom - rc.top);
    EXPECT_FALSE(pFrame->m_bCollapsed);
    EXPECT_EQ(8, pFrame->m_nHoverCountdown);
    // Leaving roll-up keeps the height.
    pFrame->SetRollUp(FALSE);
    EXPECT_FALSE(pFrame->IsRollUp());
}

// The themed-frames option switched while frames float: the borders follow
// it; a collapsed frame takes the new caption's height after a theme
// change, and leaves roll-up (at its full height) when the option goes off.
TEST(FloatingFrame, FramesFollowTheThemedOptionAndTheTheme)
{
    FloatFrame f;
    f.manager.m_bManualTimers = TRUE;
    CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
    CQXPDockingPaneMiniWnd* pFrame = f.Float(p1, kFloatRect);
    ASSERT_NE(nullptr, pFrame);
    HWND h = pFrame->GetSafeHwnd();
    auto borders = [&] { return ::GetWindowLongA(h, GWL_STYLE) & (WS_BORDER | WS_THICKFRAME); };
    auto height = [&] {
        RECT rc;
        ::GetWindowRect(h, &rc);
        return (int)(rc.bottom - rc.top);
    };
    EXPECT_EQ(WS_BORDER | WS_THICKFRAME, borders());
    f.manager.m_bThemedFloatingFrames = TRUE;
    f.manager.SetTheme(0);
    EXPECT_EQ(0, borders());
    EXPECT_EQ(3 + f.manager.GetPaintManager()->GetCaptionHeight() + 2, ClientTopOf(h)) << "the themed non-client area";
    const int full = height();

    // Rolled up and collapsed under theme 0, then theme 7 (a lower caption).
    ::SetFocus(f.site.m_hWnd);
    pFrame->SetRollUp(TRUE);
    RECT rc;
    ::GetWindowRect(h, &rc);
    ::SetCursorPos(rc.right + 80, rc.bottom + 80);
    for (int i = 0; i < 6; ++i)
        pFrame->OnTimer(1);
    for (int i = 0; i < 9 && pFrame->m_bCollapsing; ++i)
        pFrame->OnTimer(3);
    ASSERT_TRUE(pFrame->m_bCollapsed);
    const int nCaption0 = f.manager.GetPaintManager()->GetCaptionHeight();
    EXPECT_EQ(nCaption0 + 8, height());
    f.manager.SetTheme(7);
    const int nCaption7 = f.manager.GetPaintManager()->GetCaptionHeight();
    ASSERT_NE(nCaption0, nCaption7);
    EXPECT_EQ(nCaption7 + 8, height());
    EXPECT_TRUE(pFrame->IsRollUp());

    // The option off: the frame's own borders, out of roll-up, full height.
    f.manager.m_bThemedFloatingFrames = FALSE;
    f.manager.RedrawPanes();
    EXPECT_EQ(WS_BORDER | WS_THICKFRAME, borders());
    EXPECT_FALSE(pFrame->IsRollUp());
    EXPECT_EQ(full, height());
}

// A theme change while a themed frame floats expanded: its non-client area
// takes the new caption's height at once, without a resize, and the pane's
// container is laid out again into the new client area.
TEST(FloatingFrame, AThemeChangeGivesAFloatingFrameTheNewCaptionHeightAtOnce)
{
    FloatFrame f;
    CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
    f.manager.m_bThemedFloatingFrames = TRUE;
    f.manager.SetTheme(0);
    CQXPDockingPaneMiniWnd* pFrame = f.Float(p1, kFloatRect);
    ASSERT_NE(nullptr, pFrame);
    HWND h = pFrame->GetSafeHwnd();
    HWND hContainer = f.ContainerOf(p1)->GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(hContainer));
    RECT rcBefore;
    ::GetWindowRect(h, &rcBefore);
    int nLast = f.manager.GetPaintManager()->GetCaptionHeight();
    // Theme 7 has a lower caption than theme 0 (and 8 and 2 others again).
    for (int nTheme : {7, 0, 8, 2}) {
        SCOPED_TRACE("theme " + std::to_string(nTheme));
        f.manager.SetTheme(nTheme);
        const int nCaption = f.manager.GetPaintManager()->GetCaptionHeight();
        if (nTheme == 7)
            ASSERT_NE(nLast, nCaption);
        EXPECT_EQ(3 + nCaption + 2, ClientTopOf(h)) << "caption " << nLast << " -> " << nCaption;
        RECT rc;
        ::GetWindowRect(h, &rc);
        EXPECT_TRUE(::EqualRect(&rc, &rcBefore)) << "the frame keeps its size and place";
        // The delayed layout puts the container at the new client top.
        auto containerTop = [&] {
            RECT rcC;
            ::GetWindowRect(hContainer, &rcC);
            return (int)(rcC.top - rc.top);
        };
        EXPECT_TRUE(PumpUntil([&] { return containerTop() == 3 + nCaption + 2; }, 2000))
            << "container top " << containerTop();
        nLast = nCaption;
    }
}

// A right click on the caption: the pane concerned takes the focus and the
// owner is asked for its context menu at the point; a shown menu ends the
// click there.
TEST(FloatingFrame, ARightClickOnTheCaptionAsksForThePanesMenu)
{
    FloatFrame f;
    f.site.m_nMenuAnswer = 1;
    CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
    CQXPDockingPane* p2 = f.Add(2, dockBottomOf);
    CQXPDockingPane* p3 = f.Add(3, dockBottomOf);
    CQXPDockingPaneMiniWnd* pFrame = f.Float(p1, kFloatRect);
    ASSERT_NE(nullptr, pFrame);
    HWND h = pFrame->GetSafeHwnd();
    RECT rc;
    ::GetWindowRect(h, &rc);
    const POINT pt = {rc.left + 30, rc.top + 8};
    // One container: its selected pane.
    ::SetFocus(f.site.m_hWnd);
    ::SendMessage(h, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
    ASSERT_EQ(1u, f.site.m_menuRequests.size());
    EXPECT_EQ(p1, f.site.m_menuRequests[0].pPane);
    EXPECT_EQ(pt.x, f.site.m_menuRequests[0].ptScreen.x);
    EXPECT_EQ(pt.y, f.site.m_menuRequests[0].ptScreen.y);
    EXPECT_EQ(p1->GetChild(), ::GetFocus());
    // Two containers: the one holding the focus.
    f.manager.MoveAndDockPane(p2, dockBottomOf, f.ContainerOf(p1));
    f.manager.MoveAndDockPane(p3, dockTopOf, f.ContainerOf(p1));
    f.Settle();
    pFrame->UpdatePanes(FALSE);
    ASSERT_EQ(pFrame, f.FrameOf(p2));
    ASSERT_EQ(pFrame, f.FrameOf(p3));
    ::SetFocus(p2->GetChild());
    ::SendMessage(h, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
    ASSERT_EQ(2u, f.site.m_menuRequests.size());
    EXPECT_EQ(p2, f.site.m_menuRequests[1].pPane);
    EXPECT_EQ(p2->GetChild(), ::GetFocus());
    // Elsewhere than on the caption: no question.
    ::SendMessage(h, WM_NCRBUTTONDOWN, HTBOTTOM, MAKELPARAM(pt.x, rc.bottom - 1));
    EXPECT_EQ(2u, f.site.m_menuRequests.size());
}

TEST(FloatingFrame, ALayoutWithFloatingFramesComesBackAsWindows)
{
    FloatFrame f;
    CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
    f.Add(2, dockBottomOf);
    CQXPDockingPaneMiniWnd* pFrame = f.Float(p1, kFloatRect);
    ASSERT_NE(nullptr, pFrame);
    RECT before;
    ::GetWindowRect(pFrame->GetSafeHwnd(), &before);
    const std::string tree = f.Tree();
    DockingLayoutStore saved(&f.manager);
    f.manager.GetLayout(&saved);
    // Elsewhere meanwhile: the pane docks again, then the saved layout is
    // applied.
    ::SendMessage(pFrame->GetSafeHwnd(), WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(before.left + 30, before.top + 8));
    f.Settle();
    EXPECT_FALSE(p1->IsFloating());
    f.manager.SetLayout(&saved);
    f.Settle();
    EXPECT_EQ(tree, f.Tree());
    CQXPDockingPaneMiniWnd* pBack = f.FrameOf(f.manager.FindPane(1));
    ASSERT_NE(nullptr, pBack);
    ASSERT_TRUE(::IsWindow(pBack->GetSafeHwnd()));
    PumpUntil([&] { return ::IsWindowVisible(pBack->GetSafeHwnd()) != FALSE; });
    RECT after;
    ::GetWindowRect(pBack->GetSafeHwnd(), &after);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);
    EXPECT_EQ(before.right, after.right);
    EXPECT_EQ(before.bottom, after.bottom);
}

// A frame in roll-up mode is saved with its mode and full height and comes
// back rolled up to its caption; the mouse over it brings the full height.
TEST(FloatingFrame, ARolledUpFrameComesBackRolledUp)
{
    FloatFrame f;
    f.manager.m_bThemedFloatingFrames = TRUE;
    f.manager.m_bManualTimers = TRUE;
    CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
    f.Add(2, dockBottomOf);
    CQXPDockingPaneMiniWnd* pFrame = f.Float(p1, kFloatRect);
    ASSERT_NE(nullptr, pFrame);
    RECT before;
    ::GetWindowRect(pFrame->GetSafeHwnd(), &before);
    const int full = before.bottom - before.top;
    const int rolled = f.manager.GetPaintManager()->GetCaptionHeight() + 8;
    ::SetFocus(f.site.m_hWnd);
    pFrame->SetRollUp(TRUE);
    ASSERT_TRUE(pFrame->IsRollUp());
    DockingLayoutStore saved(&f.manager);
    f.manager.GetLayout(&saved);
    // Out of roll-up and docked meanwhile; then the saved layout again.
    pFrame->SetRollUp(FALSE);
    ::SendMessage(pFrame->GetSafeHwnd(), WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(before.left + 30, before.top + 8));
    f.Settle();
    ASSERT_FALSE(p1->IsFloating());
    f.manager.SetLayout(&saved);
    f.Settle();
    CQXPDockingPaneMiniWnd* pBack = f.FrameOf(f.manager.FindPane(1));
    ASSERT_NE(nullptr, pBack);
    HWND h = pBack->GetSafeHwnd();
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(h) != FALSE; }));
    EXPECT_TRUE(pBack->IsRollUp());
    EXPECT_EQ(full, pBack->m_nExpandedHeight);
    RECT rc;
    ::GetWindowRect(h, &rc);
    EXPECT_EQ(before.left, rc.left);
    EXPECT_EQ(before.top, rc.top);
    EXPECT_EQ(rolled, rc.bottom - rc.top);
    ::SendMessage(h, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(rc.left + 10, rc.top + 5));
    ::GetWindowRect(h, &rc);
    EXPECT_EQ(full, rc.bottom - rc.top);
    EXPECT_TRUE(pBack->IsRollUp());
}

TEST(FloatingFrame, AFrameReadBackFromTheRegistryDocksItsPanesBack)
{
    qxtest::RegistryApp app;
    std::string docked;
    {
        FloatFrame f;
        CQXPDockingPane* p1 = f.Add(1, dockRightOf);
        f.Add(2, dockBottomOf);
        docked = f.Tree();
        f.manager.ToggleDockingGroup(f.ContainerOf(p1));
        f.Settle();
        ASSERT_NE(nullptr, f.FrameOf(p1));
        DockingLayoutStore layout(&f.manager);
        f.manager.GetLayout(&layout);
        layout.SaveToRegistry("NormalLayout");
    }
    FloatFrame f;
    f.Add(1, dockRightOf);
    f.Add(2, dockBottomOf);
    DockingLayoutStore layout(&f.manager);
    ASSERT_TRUE(layout.LoadFromRegistry("NormalLayout"));
    f.manager.SetLayout(&layout);
    f.Settle();
    CQXPDockingPane* p1 = f.manager.FindPane(1);
    CQXPDockingPaneMiniWnd* pFrame = f.FrameOf(p1);
    ASSERT_NE(nullptr, pFrame) << f.Tree();
    ::SendMessage(pFrame->GetSafeHwnd(), WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    f.Settle();
    EXPECT_FALSE(p1->IsFloating()) << f.Tree();
    EXPECT_EQ(docked + " F(S-[T{}])", f.Tree());
}

TEST(FloatingFrame, FramesSnapToEachOtherWhileSizedAndMoved)
{
    FloatFrame f;
    f.manager.m_bSnapFloatingFrames = TRUE;
    CQXPDockingPane* p1 = f.Add(1, dockLeftOf);
    CQXPDockingPane* p2 = f.Add(2, dockBottomOf);
    const RECT rcA = {300, 200, 500, 400}, rcB = {560, 200, 760, 400};
    CQXPDockingPaneMiniWnd* a = f.manager.FloatPane(p1, rcA);
    CQXPDockingPaneMiniWnd* b = f.manager.FloatPane(p2, rcB);
    ASSERT_TRUE(a && b);
    f.Settle();
    // B's left edge dragged to 10 pixels right of A's right edge meets it.
    RECT rc = {510, 200, 760, 400};
    ::SendMessage(b->GetSafeHwnd(), WM_SIZING, WMSZ_LEFT, (LPARAM)&rc);
    EXPECT_EQ(500, rc.left);
    EXPECT_EQ(760, rc.right);
    // Moving B: its left edge comes onto A's right edge, its top onto A's.
    CDockingDragContext* drag = f.manager.GetDragContext();
    drag->m_pObject = b->GetTopContainer();
    RECT moving = {508, 207, 708, 407};
    drag->SnapMovingRect(&moving);
    drag->m_pObject = NULL;
    EXPECT_EQ(500, moving.left);
    EXPECT_EQ(200, moving.top);
}

// ---------------------------------------------------------------------------
// Drags with the real mouse and keyboard. The steps run from a thread timer,
// inside the drag's own loop; each waits for the drag's state.

POINT Mid(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

// A step that waits for a state inside the drag's loop; after 5 seconds it
// gives up (counted in *pMissed) and lets the script go on, so that a drag
// that went wrong ends instead of holding the test in its loop.
std::function<bool()> WaitFor(std::function<bool()> pred, int* pMissed)
{
    DWORD* pStart = new DWORD(0);
    return [pred, pMissed, pStart] {
        if (pred()) {
            delete pStart;
            return true;
        }
        if (!*pStart)
            *pStart = ::GetTickCount();
        if (::GetTickCount() - *pStart < 5000)
            return false;
        ++*pMissed;
        delete pStart;
        return true;
    };
}

bool Near(POINT a, POINT b) { return std::abs(a.x - b.x) <= 2 && std::abs(a.y - b.y) <= 2; }

struct DragFrame : FloatFrame {
    DragFrame()
    {
        p1 = Add(1, dockLeftOf);
        p2 = Add(2, dockBottomOf);
        Settle();
        drag = manager.GetDragContext();
    }
    ~DragFrame()
    {
        // A failed step leaves no button down for the next test.
        if (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) {
            POINT pt;
            ::GetCursorPos(&pt);
            qmtest::MouseEventAt(pt, MOUSEEVENTF_LEFTUP);
            PumpFor(30);
        }
    }
    // A point of a container's caption, left of its buttons.
    POINT CaptionOf(CQXPDockingPane* p) const
    {
        HWND h = ContainerOf(p)->GetSafeHwnd();
        POINT pt = {30, 6};
        ::ClientToScreen(h, &pt);
        return pt;
    }
    RECT ScreenRect(CPaneBase* p) const
    {
        RECT rc;
        p->GetWindowRect(&rc);
        return rc;
    }
    RECT ClientScreen() const { return ScreenRect(manager.GetLayout()->GetClientContainer()); }
    // Presses at from, moves to each point in turn (waiting for the drag
    // to have seen it), then runs the ending (a release by default).
    bool Drag(POINT from, const std::vector<POINT>& path, std::function<void()> ending = nullptr,
              std::function<void()> atEnd = nullptr)
    {
        qmtest::Script script;
        int missed = 0;
        script.Then([from] { qmtest::MouseEventAt(from, MOUSEEVENTF_LEFTDOWN); });
        script.Add(WaitFor([this] { return drag->m_pObject != nullptr; }, &missed));
        for (POINT pt : path) {
            script.Then([pt] { qmtest::MouseEventAt(pt, MOUSEEVENTF_MOVE); });
            script.Add(WaitFor([this, pt] { return Near(drag->m_ptLast, pt); }, &missed));
        }
        if (atEnd)
            script.Then(atEnd);
        POINT last = path.empty() ? from : path.back();
        if (ending)
            script.Then(ending);
        else
            script.Then([last] { qmtest::MouseEventAt(last, MOUSEEVENTF_LEFTUP); });
        script.Add([this] { return drag->m_pObject == nullptr; });
        bool ok = script.Run();
        PumpFor(60);
        EXPECT_EQ(0, missed) << "a step of the drag never came";
        return ok && missed == 0;
    }
    CQXPDockingPane* p1 = nullptr;
    CQXPDockingPane* p2 = nullptr;
    CDockingDragContext* drag = nullptr;
};


// A key reaches the drag's loop through the window that holds the mouse;
// Ctrl also goes into this thread's key state, where the drag reads it.
void DragKey(UINT vk, bool bDown = true)
{
    if (vk == VK_CONTROL) {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = bDown ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }
    ::PostMessageA(::GetCapture(), bDown ? WM_KEYDOWN : WM_KEYUP, vk, 0);
}

TEST(PaneDrag, ACaptionDroppedOverTheClientFloatsThere)
{
    DragFrame f;
    POINT from = f.CaptionOf(f.p2);
    RECT rcBefore = f.ScreenRect(f.ContainerOf(f.p2));
    POINT to = Mid(f.ClientScreen());
    ASSERT_TRUE(f.Drag(from, {{from.x + 30, from.y - 30}, to}));
    CQXPDockingPaneMiniWnd* pFrame = f.FrameOf(f.p2);
    ASSERT_NE(nullptr, pFrame);
    EXPECT_FALSE(f.drag->m_desktop.hDC) << "the desktop's DC is given back";
    EXPECT_FALSE(f.drag->m_desktop.bLocked);
    RECT rc;
    ::GetWindowRect(pFrame->GetSafeHwnd(), &rc);
    EXPECT_EQ(rcBefore.left + (to.x - from.x), rc.left);
    EXPECT_EQ(rcBefore.top + (to.y - from.y), rc.top);
    EXPECT_EQ((std::vector<int>{paneActionFloated}), [&] {
        std::vector<int> v;
        for (int a : docktest::WithoutActivation(f.site.m_actions))
            if (a == paneActionFloated)
                v.push_back(a);
        return v;
    }());
}

TEST(PaneDrag, ACaptureHeldElsewhereEndsTheDragAndGivesTheDesktopBack)
{
    DragFrame f;
    const std::string tree = f.Tree();
    HWND other = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    ::SetCapture(other);
    POINT from = f.CaptionOf(f.p2);
    f.drag->Drag(f.ContainerOf(f.p2), from.x, from.y);
    EXPECT_EQ(other, ::GetCapture());
    EXPECT_FALSE(f.drag->m_desktop.hDC);
    EXPECT_FALSE(f.drag->m_desktop.bLocked);
    EXPECT_EQ(nullptr, f.drag->m_pObject);
    EXPECT_EQ(tree, f.Tree());
    ::ReleaseCapture();
    ::DestroyWindow(other);
}

TEST(PaneDrag, EscapeRestoresAndFourPixelsChangeNothing)
{
    DragFrame f;
    const std::string tree = f.Tree();
    POINT from = f.CaptionOf(f.p2);
    // Escape after a long way ends the drag where it began.
    POINT to = Mid(f.ClientScreen());
    ASSERT_TRUE(f.Drag(from, {to}, [] { DragKey(VK_ESCAPE); }));
    qmtest::MouseEventAt(to, MOUSEEVENTF_LEFTUP);
    PumpFor(30);
    EXPECT_EQ(tree, f.Tree());
    EXPECT_EQ(nullptr, f.FrameOf(f.p2));
    EXPECT_FALSE(f.drag->m_desktop.hDC);
    EXPECT_FALSE(f.drag->m_desktop.bLocked);
    EXPECT_EQ(nullptr, ::GetCapture());
    // Four pixels each way are no drag yet (pressed elsewhere on the
    // caption: the same place again would be a double click).
    from.x += 30;
    qmtest::Script small;
    int missed = 0;
    small.Then([from] { qmtest::MouseEventAt(from, MOUSEEVENTF_LEFTDOWN); });
    small.Add(WaitFor([&] { return f.drag->m_pObject != nullptr; }, &missed));
    small.Then([from] { qmtest::MouseEventAt(POINT{from.x + 4, from.y - 4}, MOUSEEVENTF_MOVE); });
    small.Then([from] { qmtest::MouseEventAt(POINT{from.x + 4, from.y - 4}, MOUSEEVENTF_LEFTUP); });
    small.Add([&] { return f.drag->m_pObject == nullptr; });
    ASSERT_TRUE(small.Run());
    EXPECT_EQ(0, missed);
    EXPECT_FALSE(f.drag->m_bMoved);
    EXPECT_EQ(tree, f.Tree());
    EXPECT_FALSE(f.drag->m_desktop.hDC);
}

TEST(PaneDrag, WithoutGuidesTheEdgesDock)
{
    DragFrame f;
    // Near the client's top edge: docks above the client.
    RECT client = f.ClientScreen();
    POINT nearTop = {(client.left + client.right) / 2, client.top + 6};
    POINT from = f.CaptionOf(f.p2);
    ASSERT_TRUE(f.Drag(from, {Mid(client), nearTop}));
    EXPECT_EQ(nullptr, f.FrameOf(f.p2));
    EXPECT_EQ(dockTopOf, f.manager.GetPaneDirection(f.p2));
    f.Settle();
    // Up to 20 pixels left of the whole layout: docks at its left edge,
    // outside pane 1.
    RECT top = f.ScreenRect(f.manager.GetLayout()->GetTopContainer());
    POINT outside = {top.left - 12, (top.top + top.bottom) / 2};
    from = f.CaptionOf(f.p2);
    ASSERT_TRUE(f.Drag(from, {Mid(f.ClientScreen()), outside}));
    EXPECT_EQ(dockLeftOf, f.manager.GetPaneDirection(f.p2));
    CPaneSplitterContainer* pTop = f.manager.GetLayout()->GetTopContainer();
    ASSERT_TRUE(pTop->IsHorizontal());
    EXPECT_EQ(f.p2->GetContainer(), pTop->GetFirstPane()) << f.Tree();
}

TEST(PaneDrag, CtrlFloatsEvenWhereItWouldDock)
{
    DragFrame f;
    RECT client = f.ClientScreen();
    POINT nearTop = {(client.left + client.right) / 2, client.top + 6};
    POINT from = f.CaptionOf(f.p2);
    bool bTargetBefore = false, bTargetWithCtrl = true;
    qmtest::Script script;
    int missed = 0;
    script.Then([from] { qmtest::MouseEventAt(from, MOUSEEVENTF_LEFTDOWN); });
    script.Add(WaitFor([&] { return f.drag->m_pObject != nullptr; }, &missed));
    for (POINT pt : {Mid(client), nearTop}) {
        script.Then([pt] { qmtest::MouseEventAt(pt, MOUSEEVENTF_MOVE); });
        script.Add(WaitFor([&f, pt] { return Near(f.drag->m_ptLast, pt); }, &missed));
    }
    script.Then([&] {
        bTargetBefore = f.drag->m_pTarget != nullptr;
        // Pressing Ctrl takes effect without a mouse move.
        DragKey(VK_CONTROL);
    });
    script.Add(WaitFor([&] { return f.drag->m_pTarget == nullptr; }, &missed));
    script.Then([&] {
        bTargetWithCtrl = f.drag->m_pTarget != nullptr;
        qmtest::MouseEventAt(nearTop, MOUSEEVENTF_LEFTUP);
    });
    script.Add([&] { return f.drag->m_pObject == nullptr; });
    bool ok = script.Run();
    DragKey(VK_CONTROL, false);
    PumpFor(60);
    ASSERT_TRUE(ok);
    EXPECT_EQ(0, missed);
    EXPECT_TRUE(bTargetBefore) << "near the client's top it would dock";
    EXPECT_FALSE(bTargetWithCtrl);
    EXPECT_NE(nullptr, f.FrameOf(f.p2)) << f.Tree();
}

TEST(PaneDrag, APaneThatMayNotFloatStaysWhereNothingTakesIt)
{
    DragFrame f;
    f.p2->SetOptions(paneNoFloatable);
    const std::string tree = f.Tree();
    POINT from = f.CaptionOf(f.p2);
    // Far outside the layout nothing takes it.
    RECT top = f.ScreenRect(f.manager.GetLayout()->GetTopContainer());
    POINT away = {top.right + 60, top.top + 40};
    ASSERT_TRUE(f.Drag(from, {Mid(f.ClientScreen()), away}));
    EXPECT_EQ(tree, f.Tree());
}

TEST(PaneDrag, TheKeyboardMovesTenPixelsAStep)
{
    DragFrame f;
    CQXPDockingPaneTabbedContainer* pContainer = f.ContainerOf(f.p2);
    RECT before = f.ScreenRect(pContainer);
    qmtest::Script script;
    int missed = 0;
    script.Add(WaitFor([&] { return f.drag->m_pObject != nullptr; }, &missed));
    script.Then([&] {
        // The pointer sits at the caption's middle, 15 pixels down.
        POINT pt;
        ::GetCursorPos(&pt);
        EXPECT_EQ((before.left + before.right) / 2, pt.x);
        EXPECT_EQ(before.top + 15, pt.y);
        DragKey(VK_UP);
    });
    for (int i = 0; i < 6; ++i) {
        script.Add(WaitFor([&, i] { return f.drag->m_ptLast.y == before.top + 15 - 10 * (i + 1); }, &missed));
        script.Then([i] { DragKey(i < 5 ? VK_UP : VK_RETURN); });
    }
    script.Add([&] { return f.drag->m_pObject == nullptr; });
    ASSERT_TRUE(script.Run([&] { f.manager.OnMoveContainer(pContainer); }));
    PumpFor(60);
    EXPECT_EQ(0, missed);
    CQXPDockingPaneMiniWnd* pFrame = f.FrameOf(f.p2);
    ASSERT_NE(nullptr, pFrame) << f.Tree();
    RECT rc;
    ::GetWindowRect(pFrame->GetSafeHwnd(), &rc);
    EXPECT_EQ(before.left, rc.left);
    EXPECT_EQ(before.top - 60, rc.top);
}

TEST(PaneDrag, AFloatingFrameMovesByItsCaptionAndDocksBack)
{
    DragFrame f;
    CQXPDockingPaneMiniWnd* pFrame = f.manager.FloatPane(f.p2, kFloatRect);
    ASSERT_NE(nullptr, pFrame);
    f.Settle();
    HWND h = pFrame->GetSafeHwnd();
    RECT rc;
    ::GetWindowRect(h, &rc);
    // The frame's own caption (above its client area).
    POINT client = {0, 0};
    ::ClientToScreen(h, &client);
    POINT from = {rc.left + 40, (rc.top + client.y) / 2};
    ASSERT_EQ(HTCAPTION, ::SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(from.x, from.y)));
    POINT to = {from.x + 40, from.y + 30};
    ASSERT_TRUE(f.Drag(from, {POINT{from.x + 20, from.y + 10}, to}));
    EXPECT_EQ(pFrame, f.FrameOf(f.p2));
    RECT moved;
    ::GetWindowRect(h, &moved);
    EXPECT_EQ(rc.left + 40, moved.left);
    EXPECT_EQ(rc.top + 30, moved.top);
    // Dragged onto pane 1's caption it joins pane 1 as a tab.
    ::GetWindowRect(h, &rc);
    from = POINT{rc.left + 40, (rc.top + client.y + 30) / 2};
    ASSERT_TRUE(f.Drag(from, {Mid(f.ClientScreen()), f.CaptionOf(f.p1)}));
    EXPECT_EQ(f.ContainerOf(f.p1), f.ContainerOf(f.p2)) << f.Tree();
    EXPECT_FALSE(::IsWindowVisible(h));
}

struct GuideFrame : DragFrame {
    explicit GuideFrame(int nStyle = 0)
    {
        manager.m_bAlphaDockingContext = TRUE;
        manager.m_bShowDockingGuides = TRUE;
        manager.m_nDockingGuideStyle = nStyle;
    }
    const CDockingGuideWnd* Guide(int flags) const
    {
        for (CDockingGuideWnd* g : drag->m_guides)
            if (g->GetFlags() == flags)
                return g;
        return nullptr;
    }
};

TEST(PaneDrag, GuidesDockOnEachSideAndTheCentreJoins)
{
    GuideFrame f;
    if (!f.drag->m_pfnSetLayeredWindowAttributes)
        GTEST_SKIP() << "platform limit: no layered windows";
    RECT client = f.ClientScreen();
    RECT cross = DockingGuides::CrossRect(client, 0);
    // Over the client the compass offers four arms and no centre; the four
    // edge guides stand around the layout.
    POINT from = f.CaptionOf(f.p2);
    int clientFlags = 0, edges = 0;
    BOOL bPreviewLayered = FALSE;
    ASSERT_TRUE(f.Drag(from, {Mid(client), POINT{cross.left + 15, cross.top + 46}}, nullptr, [&] {
        for (CDockingGuideWnd* g : f.drag->m_guides) {
            if (g->GetFlags() & guideCross)
                clientFlags = g->GetFlags();
            else
                ++edges;
        }
        BYTE alpha = 0;
        DWORD flags = 0;
        bPreviewLayered = f.drag->m_hPreview && ::GetLayeredWindowAttributes(f.drag->m_hPreview, NULL, &alpha, &flags) &&
                          alpha == 100;
        qmtest::SaveWindowShot(f.site.m_hWnd, QM_BIN_DIR, "dock-guides-style0.png");
    }));
    EXPECT_EQ(guideLeft | guideRight | guideTop | guideBottom | guideCross, clientFlags);
    EXPECT_EQ(4, edges);
    EXPECT_TRUE(bPreviewLayered) << "the preview is translucent";
    EXPECT_TRUE(f.drag->m_guides.empty()) << "the guides go with the drag";
    EXPECT_EQ(0, f.drag->m_regions.GetCount());
    EXPECT_EQ(dockLeftOf, f.manager.GetPaneDirection(f.p2)) << f.Tree();
    EXPECT_EQ(nullptr, f.FrameOf(f.p2));
    f.Settle();

    // Over pane 1 the compass has a centre: pane 2 joins pane 1 as a tab.
    RECT r1 = f.ScreenRect(f.ContainerOf(f.p1));
    RECT c1 = DockingGuides::CrossRect(r1, 0);
    from = f.CaptionOf(f.p2);
    int paneFlags = 0;
    ASSERT_TRUE(f.Drag(from, {POINT{Mid(r1).x, Mid(r1).y + 60}, Mid(c1)}, nullptr, [&] {
        if (const CDockingGuideWnd* g = f.Guide(guideLeft | guideRight | guideTop | guideBottom | guideCentre | guideCross))
            paneFlags = g->GetFlags();
    }));
    EXPECT_NE(0, paneFlags);
    EXPECT_EQ(f.ContainerOf(f.p1), f.ContainerOf(f.p2)) << f.Tree();
}

TEST(PaneDrag, ACaptionDroppedOnTheLeftEdgeGuideDocksThere)
{
    GuideFrame f(1);
    if (!f.drag->m_pfnSetLayeredWindowAttributes)
        GTEST_SKIP() << "platform limit: no layered windows";
    RECT top = f.ScreenRect(f.manager.GetLayout()->GetTopContainer());
    RECT left = DockingGuides::OuterRect(top, guideLeft, 1);
    POINT from = f.CaptionOf(f.p2);
    ASSERT_TRUE(f.Drag(from, {Mid(f.ClientScreen()), Mid(left)}, nullptr, [&] {
        qmtest::SaveWindowShot(f.site.m_hWnd, QM_BIN_DIR, "dock-guides-style1.png");
    }));
    EXPECT_EQ(dockLeftOf, f.manager.GetPaneDirection(f.p2));
    CPaneSplitterContainer* pTop = f.manager.GetLayout()->GetTopContainer();
    EXPECT_EQ(f.p2->GetContainer(), pTop->GetFirstPane()) << f.Tree();
}

} // namespace

// The preview a drag shows for an outer edge is the place the panes take
// once dropped there: the side holding the documents keeps the rest.
TEST(FloatingFrame, TheOuterDockingRectangleIsWhereThePaneLands)
{
    const int dirs[] = {dockLeftOf, dockRightOf, dockTopOf, dockBottomOf};
    for (int dir : dirs) {
        SCOPED_TRACE(dir);
        FloatFrame f;
        f.Add(1, dockLeftOf);
        CQXPDockingPane* p2 = f.Add(2, dockBottomOf);
        CQXPDockingPaneMiniWnd* pFrame = f.Float(p2, kFloatRect);
        ASSERT_NE(nullptr, pFrame);
        CPaneBase* pObject = f.ContainerOf(p2);
        RECT preview = f.manager.CalcDockingRect(pObject, dir, NULL);
        RECT client;
        ::GetClientRect(f.site.m_hWnd, &client);
        bool bHoriz = dir == dockLeftOf || dir == dockRightOf;
        int extent = bHoriz ? client.right - client.left : client.bottom - client.top;
        int length = bHoriz ? preview.right - preview.left : preview.bottom - preview.top;
        EXPECT_GT(length, 0);
        EXPECT_LT(length, extent / 2) << "the documents' side keeps the rest";
        f.manager.MoveAndDockPane(pObject, dir, NULL);
        f.Settle();
        RECT docked;
        ::GetWindowRect(f.ContainerOf(p2)->GetSafeHwnd(), &docked);
        EXPECT_EQ(preview.left, docked.left);
        EXPECT_EQ(preview.top, docked.top);
        EXPECT_EQ(preview.right, docked.right);
        EXPECT_EQ(preview.bottom, docked.bottom);
    }
}
