// Caption buttons under the real mouse: a press shows the button pressed
// while the mouse stays over it, and the button acts only when released over
// it. Leaving, Esc or the right button cancel the press.
#include "DockTestSupport.h"

#include <qx/panepaint.h>

#include <qmtest/mouse.h>
#include <qmtest/pump.h>
#include <qmtest/screenshot.h>
#include <qmtest/script.h>

#include <string>
#include <vector>

using docktest::Docking;

namespace {

// A visible site in the foreground with one pane docked on the left.
struct CaptionFrame : Docking {
    CaptionFrame() : Docking(true)
    {
        CQXPDockingPane* p = Create(1, dockLeftOf);
        HWND h = ::CreateWindowExA(0, "EDIT", "pane 1", WS_CHILD | ES_MULTILINE, 0, 0, 10, 10, site.m_hWnd, NULL,
                                   ::GetModuleHandle(NULL), NULL);
        p->Attach(h);
        pane = p;
        site.Layout();
        ::SetForegroundWindow(site.m_hWnd);
        qmtest::PumpFor(100);
        container = dynamic_cast<CQXPDockingPaneTabbedContainer*>(pane->GetContainer());
        ::UpdateWindow(container->GetSafeHwnd());
    }
    CaptionButton* Button(int nID) const
    {
        for (CaptionButton* b : container->m_arrCaptionButtons)
            if (b->m_nID == nID)
                return b;
        return nullptr;
    }
    // The middle of a button on the screen.
    POINT OnScreen(const CaptionButton* b) const
    {
        POINT pt = {(b->m_rc.left + b->m_rc.right) / 2, (b->m_rc.top + b->m_rc.bottom) / 2};
        ::ClientToScreen(container->GetSafeHwnd(), &pt);
        return pt;
    }
    // A point of the caption left of every button.
    POINT CaptionText() const
    {
        RECT rc;
        ::GetClientRect(container->GetSafeHwnd(), &rc);
        POINT pt = {rc.left + 20, Button(QXP_IDS_DOCKINGPANE_CLOSE)->m_rc.top + 4};
        ::ClientToScreen(container->GetSafeHwnd(), &pt);
        return pt;
    }
    CQXPDockingPane* pane = nullptr;
    CQXPDockingPaneTabbedContainer* container = nullptr;
};

// The first steps of a real press: the mouse goes over the button and its
// left button down; the next step runs inside the press's tracking loop.
void PressWithTheMouse(qmtest::Script& script, const CaptionButton* pButton, POINT over)
{
    script.Then([over] {
        qmtest::MouseMoveTo(over);
        qmtest::MouseButton(MOUSEEVENTF_LEFTDOWN);
    });
    script.Add([pButton] { return pButton->m_bPressed != FALSE; });
}

// What a press looked like from inside its tracking.
struct PressRecord {
    bool bPressedOver = false; // pressed look with the mouse over the button
    bool bPressedAway = true;  // pressed look after the mouse left it
    bool bCaptured = false;    // the container held the mouse meanwhile
};

// How a press ends once the mouse has been over the button and away.
enum class Ending {
    ReleaseBackOver,
    ReleaseAway,
    Escape,
    RightButton
};

// Presses Close with the real mouse, moves away, then ends the press.
PressRecord PressClose(CaptionFrame& f, Ending ending)
{
    PressRecord rec;
    CaptionButton* close = f.Button(QXP_IDS_DOCKINGPANE_CLOSE);
    const POINT over = f.OnScreen(close);
    const POINT away = f.CaptionText();
    const HWND hContainer = f.container->GetSafeHwnd();
    qmtest::Script script;
    PressWithTheMouse(script, close, over);
    script.Then([&] {
        rec.bPressedOver = close->m_bPressed != FALSE;
        rec.bCaptured = ::GetCapture() == hContainer;
        qmtest::MouseMoveTo(away);
    });
    script.Add([&] { return close->m_bPressed == FALSE; });
    script.Then([&] {
        rec.bPressedAway = close->m_bPressed != FALSE;
        switch (ending) {
        case Ending::ReleaseBackOver:
            qmtest::MouseMoveTo(over);
            break;
        case Ending::ReleaseAway:
            qmtest::MouseButton(MOUSEEVENTF_LEFTUP);
            break;
        case Ending::Escape:
            qmtest::MouseMoveTo(over);
            qmtest::KeyStroke(VK_ESCAPE);
            break;
        case Ending::RightButton:
            qmtest::MouseMoveTo(over);
            qmtest::MouseButton(MOUSEEVENTF_RIGHTDOWN);
            qmtest::MouseButton(MOUSEEVENTF_RIGHTUP);
            break;
        }
    });
    if (ending == Ending::ReleaseBackOver) {
        script.Add([&] { return close->m_bPressed != FALSE; });
        script.Then([&] { qmtest::MouseButton(MOUSEEVENTF_LEFTUP); });
    }
    if (ending == Ending::Escape || ending == Ending::RightButton) {
        // The press has ended: the button no longer looks pressed though
        // the mouse is over it; the left button comes up afterwards.
        script.Add([&] { return ::GetCapture() == NULL; });
        script.Then([&] { qmtest::MouseButton(MOUSEEVENTF_LEFTUP); });
    }
    EXPECT_TRUE(script.Run(nullptr, 10000)) << script.Remaining() << " steps left";
    EXPECT_TRUE(qmtest::PumpUntil([&] { return ::GetCapture() == NULL; }, 3000));
    qmtest::PumpFor(100);
    return rec;
}

} // namespace

TEST(CaptionButtons, CloseActsOnlyWhenReleasedOverIt)
{
    struct Case {
        const char* name;
        Ending ending;
        bool bCloses;
    } cases[] = {
        {"released back over the button", Ending::ReleaseBackOver, true},
        {"released away from the button", Ending::ReleaseAway, false},
        {"Esc while pressed", Ending::Escape, false},
        {"right button while pressed", Ending::RightButton, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CaptionFrame f;
        ASSERT_NE(nullptr, f.Button(QXP_IDS_DOCKINGPANE_CLOSE));
        ASSERT_FALSE(::IsRectEmpty(&f.Button(QXP_IDS_DOCKINGPANE_CLOSE)->m_rc));
        f.site.m_actions.clear();
        PressRecord rec = PressClose(f, c.ending);
        EXPECT_TRUE(rec.bPressedOver);
        EXPECT_TRUE(rec.bCaptured);
        EXPECT_FALSE(rec.bPressedAway);
        EXPECT_EQ(c.bCloses, f.pane->IsClosed() != FALSE);
        std::vector<int> expected;
        if (c.bCloses)
            expected = {paneActionClosing, paneActionClosed};
        EXPECT_EQ(expected, docktest::WithoutActivation(f.site.m_actions));
        // The press gave the pane the focus: it became the active pane.
        ASSERT_FALSE(f.site.m_actions.empty());
        EXPECT_EQ(paneActionActivated, f.site.m_actions.front());
        if (!c.bCloses) {
            EXPECT_TRUE(::IsWindowVisible(f.container->GetSafeHwnd()));
            EXPECT_FALSE(f.Button(QXP_IDS_DOCKINGPANE_CLOSE)->m_bPressed);
        }
    }
}

// The pressed look differs from the resting one at the button's edge, and
// goes when the press ends.
TEST(CaptionButtons, PressedButtonLooksPressed)
{
    CaptionFrame f;
    CaptionButton* close = f.Button(QXP_IDS_DOCKINGPANE_CLOSE);
    ASSERT_NE(nullptr, close);
    const HWND hContainer = f.container->GetSafeHwnd();
    auto edgePixel = [&] {
        ::UpdateWindow(hContainer);
        HDC hdc = ::GetDC(hContainer);
        COLORREF clr = ::GetPixel(hdc, close->m_rc.left, close->m_rc.top);
        ::ReleaseDC(hContainer, hdc);
        return clr;
    };
    const COLORREF clrResting = edgePixel();
    COLORREF clrPressed = clrResting;
    const POINT over = f.OnScreen(close);
    qmtest::Script script;
    PressWithTheMouse(script, close, over);
    script.Then([&] {
        clrPressed = edgePixel();
        qmtest::SaveWindowShot(hContainer, QM_BIN_DIR, "dock-caption-close-pressed.png");
        qmtest::MouseMoveTo(f.CaptionText());
        qmtest::MouseButton(MOUSEEVENTF_LEFTUP);
    });
    ASSERT_TRUE(script.Run(nullptr, 10000));
    ASSERT_TRUE(qmtest::PumpUntil([&] { return ::GetCapture() == NULL; }, 3000));
    EXPECT_NE(clrResting, clrPressed);
    EXPECT_EQ(clrResting, edgePixel());
    EXPECT_FALSE(f.pane->IsClosed());
}

// Another window holding the mouse: the press is not tracked and nothing
// happens.
TEST(CaptionButtons, NoTrackingWhileAnotherWindowHoldsTheMouse)
{
    CaptionFrame f;
    CaptionButton* close = f.Button(QXP_IDS_DOCKINGPANE_CLOSE);
    ASSERT_NE(nullptr, close);
    ::SetCapture(f.site.m_hWnd);
    POINT pt = {(close->m_rc.left + close->m_rc.right) / 2, (close->m_rc.top + close->m_rc.bottom) / 2};
    EXPECT_FALSE(close->Click(f.container->GetSafeHwnd(), pt));
    EXPECT_EQ(f.site.m_hWnd, ::GetCapture());
    ::ReleaseCapture();
    EXPECT_FALSE(f.pane->IsClosed());
}

// Over the gripper dots at the start of a caption (themes 2 and 10) the
// pointer shows the four-way arrow; with the manager's drag-cursor option
// the whole caption does; never a caption button nor the pane below.
TEST(CaptionButtons, TheCaptionGripperShowsTheFourWayArrow)
{
    const HCURSOR hSizeAll = ::LoadCursor(NULL, IDC_SIZEALL);
    const struct {
        int nTheme;
        BOOL bDragCursor;
        bool bAtGripper, bMidCaption; // the four-way arrow there
    } cases[] = {{2, FALSE, true, false}, {10, FALSE, true, false}, {7, FALSE, false, false}, {0, FALSE, false, false}, {0, TRUE, true, true}, {2, TRUE, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "theme " << c.nTheme << (c.bDragCursor ? ", drag cursor" : ""));
        CaptionFrame f;
        f.manager.SetTheme(c.nTheme);
        f.manager.m_bDragCursor = c.bDragCursor;
        f.site.Layout();
        qmtest::PumpMessages();
        const HWND h = f.container->GetSafeHwnd();
        auto cursorAt = [h](POINT pt) {
            ::ClientToScreen(h, &pt);
            ::SetCursorPos(pt.x, pt.y);
            ::SetCursor(NULL);
            ::SendMessageA(h, WM_SETCURSOR, (WPARAM)h, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            return ::GetCursor();
        };
        CaptionButton* close = f.Button(QXP_IDS_DOCKINGPANE_CLOSE);
        ASSERT_NE(nullptr, close);
        const RECT rcClose = close->m_rc;
        const int y = (rcClose.top + rcClose.bottom) / 2;
        RECT rcClient;
        ::GetClientRect(h, &rcClient);
        EXPECT_EQ(c.bAtGripper, cursorAt(POINT{5, y}) == hSizeAll);
        EXPECT_EQ(c.bMidCaption, cursorAt(POINT{40, y}) == hSizeAll);
        EXPECT_NE(hSizeAll, cursorAt(POINT{(rcClose.left + rcClose.right) / 2, y}));
        EXPECT_NE(hSizeAll, cursorAt(POINT{40, rcClient.bottom - 10}));
    }
    qmtest::ParkPointer();
}
