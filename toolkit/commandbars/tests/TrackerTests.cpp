// The toolbar tracker: the arithmetic of its dock choice and borders without
// windows, then real drags with posted mouse messages in a frame (docking,
// floating, Esc and cancelling, the dock permissions, the docking toggle and corner
// resizing), and the menu bar's reset and frame take-over.
#include <qx/bartracker.h>
#include <qx/framehost.h>

#include <gtest/gtest.h>
#include <qmtest/cbframe.h>

#include <vector>

#include "cbtest_ids.h"
#include <qmtest/pump.h>

namespace {

using qmtest::PumpUntil;

// ---------------------------------------------------------------------------
// Arithmetic

TEST(TrackerArithmetic, APointPicksTheDockBarWithinTwentyPixelsPreferredFirst)
{
    // Top and bottom bands, an empty left strip and a right column.
    const CRect docks[4] = {CRect(0, 0, 700, 50), CRect(0, 400, 700, 430), CRect(0, 50, 0, 400),
                            CRect(680, 50, 700, 400)};
    const BOOL all[4] = {TRUE, TRUE, TRUE, TRUE};
    const BOOL noLeft[4] = {TRUE, TRUE, FALSE, TRUE};
    const struct {
        CPoint pt;
        int nPreferred;
        const BOOL* pPresent;
        int nExpected;
    } cases[] = {
        {CPoint(300, 25), -1, all, 0},     // on the top band
        {CPoint(300, 69), -1, all, 0},     // 19 pixels below it
        {CPoint(300, 70), -1, all, -1},    // 20 below: on the widened border, not inside
        {CPoint(300, 381), -1, all, 1},    // 19 above the bottom band
        {CPoint(300, 200), -1, all, -1},   // the middle of the frame
        {CPoint(19, 200), -1, all, 2},     // near the empty left strip
        {CPoint(20, 200), -1, all, -1},    // just too far from it
        {CPoint(19, 200), -1, noLeft, -1}, // a hidden dock bar catches nothing
        {CPoint(661, 200), -1, all, 3},    // near the right column
        {CPoint(10, 60), -1, all, 0},      // top and left both: top comes first
        {CPoint(10, 60), 2, all, 2},       // ... unless left is the bar's own
        {CPoint(300, 200), 1, all, -1},    // a preferred dock bar still needs the point
        {CPoint(10, 410), 3, all, 1},      // a preferred one that misses is skipped
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nExpected, QxpPickDockBar(docks, c.pPresent, c.pt, c.nPreferred))
            << c.pt.x << "," << c.pt.y << " preferred " << c.nPreferred;
}

TEST(TrackerArithmetic, EachSideHasItsOwnPermission)
{
    EXPECT_EQ((DWORD)qxpFlagAlignTop, QxpDockAllowFlag(qxpBarTop));
    EXPECT_EQ((DWORD)qxpFlagAlignBottom, QxpDockAllowFlag(qxpBarBottom));
    EXPECT_EQ((DWORD)qxpFlagAlignLeft, QxpDockAllowFlag(qxpBarLeft));
    EXPECT_EQ((DWORD)qxpFlagAlignRight, QxpDockAllowFlag(qxpBarRight));
    EXPECT_EQ(0u, QxpDockAllowFlag(qxpBarFloating));
}

TEST(TrackerArithmetic, EachSizingCodeMovesItsBordersAndStopsAtTheMinimum)
{
    const CRect rc(100, 100, 200, 160);
    const CSize delta(10, 20);
    const CSize none(0, 0);
    const struct {
        int nMode;
        CSize delta;
        CSize szMin;
        CRect expected;
    } cases[] = {
        {HTLEFT, delta, none, CRect(110, 100, 200, 160)},
        {HTRIGHT, delta, none, CRect(100, 100, 210, 160)},
        {HTTOP, delta, none, CRect(100, 120, 200, 160)},
        {HTBOTTOM, delta, none, CRect(100, 100, 200, 180)},
        {HTTOPLEFT, delta, none, CRect(110, 120, 200, 160)},
        {HTTOPRIGHT, delta, none, CRect(100, 120, 210, 160)},
        {HTBOTTOMLEFT, delta, none, CRect(110, 100, 200, 180)},
        {HTBOTTOMRIGHT, delta, none, CRect(100, 100, 210, 180)},
        // Borders pushed past the minimum stop there; the opposite one stays.
        {HTLEFT, CSize(300, 0), CSize(30, 20), CRect(170, 100, 200, 160)},
        {HTRIGHT, CSize(-300, 0), CSize(30, 20), CRect(100, 100, 130, 160)},
        {HTTOPLEFT, CSize(300, 300), CSize(30, 20), CRect(170, 140, 200, 160)},
        {HTBOTTOMRIGHT, CSize(-300, -300), none, CRect(100, 100, 100, 100)},
        // Not a border: nothing moves.
        {HTCLIENT, delta, none, rc},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, QxpSizeByBorder(rc, c.nMode, c.delta, c.szMin)) << "mode " << c.nMode;
}

TEST(TrackerArithmetic, ANewSizeKeepsTheBordersTheCodeDoesNotMove)
{
    const CRect rc(100, 100, 200, 160);
    const CSize sz(50, 90);
    const struct {
        int nMode;
        CRect expected;
    } cases[] = {
        {HTLEFT, CRect(150, 100, 200, 190)},
        {HTRIGHT, CRect(100, 100, 150, 190)},
        {HTTOP, CRect(100, 70, 150, 160)},
        {HTBOTTOM, CRect(100, 100, 150, 190)},
        {HTTOPLEFT, CRect(150, 70, 200, 160)},
        {HTTOPRIGHT, CRect(100, 70, 150, 160)},
        {HTBOTTOMLEFT, CRect(150, 100, 200, 190)},
        {HTBOTTOMRIGHT, CRect(100, 100, 150, 190)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, QxpPlaceResized(rc, c.nMode, sz)) << "mode " << c.nMode;
}

TEST(TrackerArithmetic, AFloatingFrameStaysUnderTheCursorAndOnScreen)
{
    const CRect rc(100, 100, 200, 150);
    EXPECT_EQ(rc, QxpMoveToContain(rc, CPoint(150, 120)));
    EXPECT_EQ(CRect(90, 100, 190, 150), QxpMoveToContain(rc, CPoint(90, 120)));
    EXPECT_EQ(CRect(101, 101, 201, 151), QxpMoveToContain(rc, CPoint(200, 150)));

    // Work areas of a primary monitor and of one left of it.
    const CRect works[] = {CRect(0, 0, 1024, 740), CRect(-1280, 0, 0, 1024)};
    for (const CRect& w : works) {
        const struct {
            CRect rc;
            CRect expected;
        } cases[] = {
            {CRect(w.left + 50, w.top + 50, w.left + 150, w.top + 100), CRect(w.left + 50, w.top + 50, w.left + 150, w.top + 100)},
            {CRect(w.left - 500, w.top + 50, w.left - 400, w.top + 100), CRect(w.left - 90, w.top + 50, w.left + 10, w.top + 100)},
            {CRect(w.right + 10, w.top + 50, w.right + 110, w.top + 100), CRect(w.right - 10, w.top + 50, w.right + 90, w.top + 100)},
            {CRect(w.left + 50, w.top - 300, w.left + 150, w.top - 250), CRect(w.left + 50, w.top - 40, w.left + 150, w.top + 10)},
            {CRect(w.left + 50, w.bottom, w.left + 150, w.bottom + 50), CRect(w.left + 50, w.bottom - 10, w.left + 150, w.bottom + 40)},
        };
        for (const auto& c : cases)
            EXPECT_EQ(c.expected, QxpKeepOnWorkArea(c.rc, w)) << c.rc.left << "," << c.rc.top;
    }
}

// ---------------------------------------------------------------------------
// Real drags in a frame

class CTrackerFrame : public qmtest::CommandBarTestFrame {
public:
    CTrackerFrame()
        : CommandBarTestFrame(IDR_TEST_MENU, &m_pMenuBar,
                              {{"Standard", &m_pStandard, IDR_TEST_TOOLBAR, {}},
                               {"Format", &m_pFormat, 0, {ID_TEST_UNDO, 0, ID_TEST_ANSI, ID_TEST_UTF8}}})
    {
    }
    CQXPMenuBar* m_pMenuBar = NULL;
    CQXPToolBar* m_pStandard = NULL;
    CQXPToolBar* m_pFormat = NULL;
    int nResets = 0;

protected:
    afx_msg LRESULT OnBarReset(WPARAM, LPARAM)
    {
        nResets++;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTrackerFrame, qmtest::CommandBarTestFrame)
    ON_MESSAGE(WM_QXP_BARRESET, OnBarReset)
END_MESSAGE_MAP()

class TrackerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.Create(NULL, "Toolbar tracker test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 720, 480)));
        pBars = frame.GetCommandBars();
        ASSERT_NE(nullptr, pBars);
        pTop = pBars->GetDockBar(qxpBarTop);
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
    // A point of a docked bar off its buttons (client coordinates).
    static CPoint GripPoint(CQXPToolBar* pBar)
    {
        CRect rc;
        ::GetClientRect(pBar->GetSafeHwnd(), &rc);
        for (int x = 0; x < rc.Width(); x++)
            if (!pBar->GetControls()->HitTest(CPoint(x, rc.Height() / 2)))
                return CPoint(x, rc.Height() / 2);
        return CPoint(-1, -1);
    }
    static LPARAM ClientParam(HWND hWnd, CPoint ptScreen)
    {
        ::ScreenToClient(hWnd, &ptScreen);
        return MAKELPARAM((WORD)(short)ptScreen.x, (WORD)(short)ptScreen.y);
    }
    // Presses the mouse at a client point of the bar, moves it to a screen
    // point and ends the drag there: the button goes up, Esc is pressed, or
    // the system cancels the mouse mode.
    enum DragEnd {
        kRelease,
        kEscape,
        kCancelMode
    };
    static bool Drag(CQXPToolBar* pBar, CPoint ptFrom, CPoint ptToScreen, DragEnd end = kRelease)
    {
        HWND hWnd = pBar->GetSafeHwnd();
        ::PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptFrom.x, ptFrom.y));
        ::PostMessageA(hWnd, WM_MOUSEMOVE, MK_LBUTTON, ClientParam(hWnd, ptToScreen));
        if (end == kEscape)
            ::PostMessageA(hWnd, WM_KEYDOWN, VK_ESCAPE, 1);
        else if (end == kCancelMode)
            ::PostMessageA(hWnd, WM_CANCELMODE, 0, 0);
        else
            ::PostMessageA(hWnd, WM_LBUTTONUP, 0, ClientParam(hWnd, ptToScreen));
        bool bEnded = PumpUntil([] { return ::GetCapture() == NULL; }) &&
                      PumpUntil([&] { return !::GetQueueStatus(QS_POSTMESSAGE); }, 1000);
        qmtest::PumpMessages();
        return bEnded;
    }
    static CRect WindowRect(CWnd* pWnd)
    {
        CRect rc;
        ::GetWindowRect(pWnd->GetSafeHwnd(), &rc);
        return rc;
    }
    // A screen point in the middle of the frame's client area.
    CPoint FrameMiddle()
    {
        CRect rc;
        frame.GetClientRect(&rc);
        CPoint pt = rc.CenterPoint();
        frame.ClientToScreen(&pt);
        return pt;
    }

    CTrackerFrame frame;
    CQXPCommandBars* pBars = NULL;
    CQXPDockBar* pTop = NULL;
};

TEST_F(TrackerTest, BarsMayMoveEverywhereAndTheMenuBarKeepsARowOfItsOwn)
{
    EXPECT_EQ(0x1Fu, frame.m_pStandard->GetFlags() & 0x7F);
    EXPECT_EQ(0x5Fu, frame.m_pMenuBar->GetFlags() & 0x7F);
    EXPECT_NE(nullptr, frame.m_pStandard->GetTracker());
}

TEST_F(TrackerTest, DraggedOutABarFloatsAndDraggedBackItDocksInItsRow)
{
    CQXPToolBar* pBar = frame.m_pStandard;
    BOOL bAlone = FALSE;
    int nRow = pTop->GetBarRow(pBar, &bAlone);
    ASSERT_EQ(1, nRow);
    CRect rcDocked = WindowRect(pBar);
    CPoint ptGrip = GripPoint(pBar);
    ASSERT_GE(ptGrip.x, 0);

    ASSERT_TRUE(Drag(pBar, ptGrip, FrameMiddle()));
    ASSERT_TRUE(pBar->IsFloating());
    CRect rcFloat = WindowRect(pBar);
    CPoint ptMiddle = FrameMiddle();
    EXPECT_TRUE(rcFloat.PtInRect(ptMiddle)) << "the floating frame stays under the cursor";
    EXPECT_EQ(rcFloat.TopLeft(), pBar->m_ptFloating);

    // The caption dragged onto the row the bar had: it docks there again.
    CPoint ptTarget(rcDocked.left + 30, rcDocked.CenterPoint().y);
    ASSERT_TRUE(Drag(pBar, CPoint(10, 6), ptTarget));
    ASSERT_FALSE(pBar->IsFloating());
    EXPECT_EQ(pTop, pBar->GetDockBar());
    EXPECT_EQ(nRow, pTop->GetBarRow(pBar, NULL));
    EXPECT_EQ(0, pTop->GetBarRow(frame.m_pMenuBar, NULL)) << "the menu bar keeps the first row";
    EXPECT_TRUE(::GetWindowLongPtrA(pBar->GetSafeHwnd(), GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(pBars->m_bLayoutChanged);
}

TEST_F(TrackerTest, EscEndsTheDragWhereTheBarIs)
{
    CQXPToolBar* pBar = frame.m_pStandard;
    ASSERT_TRUE(Drag(pBar, GripPoint(pBar), FrameMiddle(), kEscape));
    EXPECT_TRUE(pBar->IsFloating());
    EXPECT_EQ((HWND)NULL, ::GetCapture());
    EXPECT_EQ(-1, pTop->FindBar(pBar));
}

TEST_F(TrackerTest, ACancelledDragPutsTheBarBackWhereItStarted)
{
    CQXPToolBar* pBar = frame.m_pStandard;
    CQXPToolBar* pFormat = frame.m_pFormat;
    // Docked: out into the frame, then the mouse mode is cancelled.
    int nRow = pTop->GetBarRow(pBar, NULL);
    int nFormatRow = pTop->GetBarRow(pFormat, NULL);
    CRect rcDocked = WindowRect(pBar);
    ASSERT_TRUE(Drag(pBar, GripPoint(pBar), FrameMiddle(), kCancelMode));
    EXPECT_FALSE(pBar->IsFloating());
    EXPECT_EQ(pTop, pBar->GetDockBar());
    EXPECT_EQ(nRow, pTop->GetBarRow(pBar, NULL));
    EXPECT_EQ(nFormatRow, pTop->GetBarRow(pFormat, NULL));
    EXPECT_EQ(rcDocked, WindowRect(pBar));

    // Floating: moved onto the top dock bar, then cancelled.
    CRect rcFrame = WindowRect(&frame);
    ASSERT_TRUE(pBar->SetFloating(CPoint(rcFrame.left + 250, rcFrame.top + 250)));
    qmtest::PumpMessages();
    CRect rcFloat = WindowRect(pBar);
    ASSERT_TRUE(Drag(pBar, CPoint(10, 6), CPoint(rcDocked.left + 30, rcDocked.CenterPoint().y), kCancelMode));
    EXPECT_TRUE(pBar->IsFloating());
    EXPECT_EQ(rcFloat, WindowRect(pBar));
    EXPECT_EQ(rcFloat.TopLeft(), pBar->m_ptFloating);
    EXPECT_EQ(-1, pTop->FindBar(pBar));

    // Resizing: a cancel gives back the size and the rows.
    int nMRUWidth = pBar->m_nMRUWidth;
    CPoint ptRight(rcFloat.Width() - 1, rcFloat.Height() / 2);
    ASSERT_EQ(HTRIGHT, pBar->HitTestFloatingEdge(ptRight));
    ASSERT_TRUE(Drag(pBar, ptRight, CPoint(rcFloat.left + 30, rcFloat.CenterPoint().y), kCancelMode));
    EXPECT_EQ(rcFloat, WindowRect(pBar));
    EXPECT_EQ(nMRUWidth, pBar->m_nMRUWidth);
}

TEST_F(TrackerTest, ABarDocksOnlyOnTheSidesItMayUseAndFloatsOnlyWhenAllowed)
{
    CQXPToolBar* pBar = frame.m_pStandard;
    CRect rcDocked = WindowRect(pBar);
    CPoint ptGrip = GripPoint(pBar);

    // Not allowed to float: a drag into the frame leaves it docked.
    pBar->SetFlags(0, qxpFlagFloating);
    ASSERT_TRUE(Drag(pBar, ptGrip, FrameMiddle()));
    EXPECT_FALSE(pBar->IsFloating());
    EXPECT_EQ(pTop, pBar->GetDockBar());

    // Not allowed on the left: over the left dock bar it floats instead.
    pBar->SetFlags(qxpFlagFloating, qxpFlagAlignLeft);
    CRect rcLeft = WindowRect(pBars->GetDockBar(qxpBarLeft));
    CPoint ptLeft(rcLeft.left + 5, FrameMiddle().y);
    ASSERT_TRUE(Drag(pBar, GripPoint(pBar), ptLeft));
    EXPECT_TRUE(pBar->IsFloating());
    EXPECT_EQ(-1, pBars->GetDockBar(qxpBarLeft)->FindBar(pBar));

    // Not allowed on top either: dragged onto its old row it stays floating.
    pBar->SetFlags(0, qxpFlagAlignTop);
    ASSERT_TRUE(Drag(pBar, CPoint(10, 6), CPoint(rcDocked.left + 30, rcDocked.CenterPoint().y)));
    EXPECT_TRUE(pBar->IsFloating());
    EXPECT_EQ(-1, pTop->FindBar(pBar));

    // Allowed on the left again: there it docks, standing in a column.
    pBar->SetFlags(qxpFlagAlignLeft);
    ASSERT_TRUE(Drag(pBar, CPoint(10, 6), ptLeft));
    EXPECT_EQ(pBars->GetDockBar(qxpBarLeft), pBar->GetDockBar());
    CRect rc = WindowRect(pBar);
    EXPECT_GT(rc.Height(), rc.Width());

    // With no permission at all the bar does not move.
    pBar->SetFlags(0, 0x1F);
    CRect rcBefore = WindowRect(pBar);
    ASSERT_TRUE(Drag(pBar, GripPoint(pBar), FrameMiddle()));
    EXPECT_EQ(rcBefore, WindowRect(pBar));
    EXPECT_FALSE(pBar->GetTracker()->ToggleDocking() && pBar->IsFloating());
}

TEST_F(TrackerTest, ToggleDockingTwiceReturnsToTheSameRowAndPosition)
{
    CQXPToolBar* pBar = frame.m_pStandard;
    CQXPToolBar* pFormat = frame.m_pFormat;
    // Share a row with Format, a little to the right of the row's start.
    CRect rc = WindowRect(pBar);
    CRect rcDrop(rc.right + 20, rc.top + 2, rc.right + 120, rc.bottom - 2);
    ASSERT_TRUE(pFormat->DockTo(qxpBarTop, &rcDrop));
    qmtest::PumpMessages();
    BOOL bAlone = TRUE;
    int nRow = pTop->GetBarRow(pBar, &bAlone);
    ASSERT_FALSE(bAlone);
    CRect rcDocked = WindowRect(pBar);
    CRect rcFormat = WindowRect(pFormat);

    CBarResizeTracker* pTracker = pBar->GetTracker();
    EXPECT_FALSE(pTracker->ToggleDocking()) << "floating on a double click is off by default";
    pBars->GetOptions()->m_bDblClickFloat = TRUE;
    ASSERT_TRUE(pTracker->ToggleDocking());
    ASSERT_TRUE(pBar->IsFloating());
    CRect rcFloat = WindowRect(pBar);
    EXPECT_EQ(rcDocked.TopLeft(), rcFloat.TopLeft()) << "first floats where it was docked";

    ASSERT_TRUE(pTracker->ToggleDocking());
    qmtest::PumpMessages();
    EXPECT_EQ(pTop, pBar->GetDockBar());
    EXPECT_EQ(nRow, pTop->GetBarRow(pBar, &bAlone));
    EXPECT_FALSE(bAlone);
    EXPECT_EQ(rcDocked, WindowRect(pBar));
    EXPECT_EQ(rcFormat, WindowRect(pFormat));

    // Moved elsewhere while floating, the toggle brings it back there.
    ASSERT_TRUE(pTracker->ToggleDocking());
    ::SetWindowPos(pBar->GetSafeHwnd(), NULL, rcFloat.left + 40, rcFloat.top + 60, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(pTracker->ToggleDocking());
    ASSERT_TRUE(pTracker->ToggleDocking());
    EXPECT_EQ(CPoint(rcFloat.left + 40, rcFloat.top + 60), WindowRect(pBar).TopLeft());
    // The double click goes through the same toggle.
    ::SendMessageA(pBar->GetSafeHwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 6));
    EXPECT_FALSE(pBar->IsFloating());
    EXPECT_EQ(nRow, pTop->GetBarRow(pBar, NULL));
}

TEST_F(TrackerTest, ACornerResizesAndTheOppositeCornerStays)
{
    CQXPToolBar* pBar = frame.m_pStandard;
    CRect rcFrame = WindowRect(&frame);
    ASSERT_TRUE(pBar->SetFloating(CPoint(rcFrame.left + 200, rcFrame.top + 200)));
    qmtest::PumpMessages();
    CRect rcWide = WindowRect(pBar);
    HWND hWnd = pBar->GetSafeHwnd();
    // The non-client hit test names only edges: a corner answers the band
    // above or below it. The corners are reached from the client area and
    // from a non-client press with a corner code, as below.
    EXPECT_EQ(HTBOTTOM, (int)::SendMessageA(hWnd, WM_NCHITTEST, 0, MAKELPARAM(rcWide.left + 1, rcWide.bottom - 1)));
    EXPECT_EQ(HTTOP, (int)::SendMessageA(hWnd, WM_NCHITTEST, 0, MAKELPARAM(rcWide.right - 1, rcWide.top + 1)));

    // The bottom-left corner pulled right (and a little down): narrower,
    // more rows; the top-right corner stays.
    CPoint ptCorner(1, rcWide.Height() - 1);
    ASSERT_EQ(HTBOTTOMLEFT, pBar->HitTestFloatingEdge(ptCorner));
    ASSERT_TRUE(Drag(pBar, ptCorner, CPoint(rcWide.right - 40, rcWide.bottom + 8)));
    CRect rcNarrow = WindowRect(pBar);
    EXPECT_LT(rcNarrow.Width(), rcWide.Width());
    EXPECT_GT(rcNarrow.Height(), rcWide.Height());
    EXPECT_EQ(rcWide.right, rcNarrow.right);
    EXPECT_EQ(rcWide.top, rcNarrow.top);
    EXPECT_EQ(rcNarrow.Width(), pBar->m_nMRUWidth);
    EXPECT_EQ(rcNarrow.TopLeft(), pBar->m_ptFloating);

    // The top-right corner pulled back out, through the non-client press:
    // wider again, the bottom-left corner stays.
    ::PostMessageA(hWnd, WM_NCLBUTTONDOWN, HTTOPRIGHT, MAKELPARAM(rcNarrow.right - 1, rcNarrow.top + 1));
    CPoint ptTo(rcNarrow.right + rcWide.Width(), rcNarrow.top - 5);
    ::PostMessageA(hWnd, WM_MOUSEMOVE, MK_LBUTTON, ClientParam(hWnd, ptTo));
    ::PostMessageA(hWnd, WM_LBUTTONUP, 0, ClientParam(hWnd, ptTo));
    ASSERT_TRUE(PumpUntil([] { return ::GetCapture() == NULL; }));
    ASSERT_TRUE(PumpUntil([&] { return !::GetQueueStatus(QS_POSTMESSAGE); }, 1000));
    CRect rcBack = WindowRect(pBar);
    EXPECT_GT(rcBack.Width(), rcNarrow.Width());
    EXPECT_LT(rcBack.Height(), rcNarrow.Height());
    EXPECT_EQ(rcNarrow.left, rcBack.left);
    EXPECT_EQ(rcNarrow.bottom, rcBack.bottom);
    EXPECT_TRUE(pBar->IsFloating());
}

TEST_F(TrackerTest, TheBottomBorderAddsRowsAndTheTopBorderTakesThemAway)
{
    CQXPToolBar* pBar = frame.m_pStandard;
    CRect rcFrame = WindowRect(&frame);
    ASSERT_TRUE(pBar->SetFloating(CPoint(rcFrame.left + 200, rcFrame.top + 150)));
    qmtest::PumpMessages();
    CRect rcOneRow = WindowRect(pBar);
    CPoint ptBottom(rcOneRow.Width() / 2, rcOneRow.Height() - 1);
    ASSERT_EQ(HTBOTTOM, pBar->HitTestFloatingEdge(ptBottom));
    ASSERT_TRUE(Drag(pBar, ptBottom, CPoint(rcOneRow.CenterPoint().x, rcOneRow.bottom + 80)));
    CRect rcTall = WindowRect(pBar);
    EXPECT_GT(rcTall.Height(), rcOneRow.Height());
    EXPECT_LE(rcTall.Width(), rcOneRow.Width()) << "a taller bar is never wider";
    EXPECT_EQ(rcOneRow.TopLeft(), rcTall.TopLeft());

    // The top border pulled down again: one row, the bottom edge stays.
    CPoint ptTop(rcTall.Width() / 2, 0);
    ASSERT_EQ(HTTOP, pBar->HitTestFloatingEdge(ptTop));
    ASSERT_TRUE(Drag(pBar, ptTop, CPoint(rcTall.CenterPoint().x, rcTall.bottom - 10)));
    CRect rcBack = WindowRect(pBar);
    EXPECT_EQ(rcOneRow.Size(), rcBack.Size());
    EXPECT_EQ(rcTall.bottom, rcBack.bottom);
}

// ---------------------------------------------------------------------------
// The menu bar

std::vector<int> Ids(CQXPCommandBar* pBar)
{
    std::vector<int> ids;
    for (int i = 0; i < pBar->GetControlCount(); i++)
        ids.push_back(pBar->GetControl(i)->GetID());
    return ids;
}

TEST_F(TrackerTest, ResetGivesTheMenuBarBackTheItemsOfItsMenu)
{
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    std::vector<int> original = Ids(pMenuBar);
    std::vector<CString> captions;
    for (int i = 0; i < pMenuBar->GetControlCount(); i++)
        captions.push_back(pMenuBar->GetControl(i)->GetCaption());
    ASSERT_GE(original.size(), 2u);
    EXPECT_FALSE(pMenuBar->CanReset());

    // Customised: a title removed, a button added, a caption changed.
    pMenuBar->GetControls()->Remove(pMenuBar->GetControl(0));
    pMenuBar->GetControls()->Add(qxpControlButton, ID_TEST_SAVE);
    pMenuBar->GetControl(0)->SetCaption("Changed");
    EXPECT_TRUE(pMenuBar->CanReset());

    pMenuBar->Reset(FALSE);
    EXPECT_EQ(original, Ids(pMenuBar));
    for (int i = 0; i < pMenuBar->GetControlCount(); i++)
        EXPECT_EQ(captions[(size_t)i], pMenuBar->GetControl(i)->GetCaption()) << i;
    EXPECT_FALSE(pMenuBar->CanReset());
    EXPECT_EQ(1, frame.nResets);

    // Without the program's controls to compare with, the menu is read
    // again from its resource.
    pMenuBar->GetControls()->Remove(pMenuBar->GetControl(0));
    pMenuBar->GetControls()->SetOriginalControls(NULL);
    EXPECT_TRUE(pMenuBar->CanReset());
    pMenuBar->Reset(FALSE);
    EXPECT_EQ(original, Ids(pMenuBar));
    EXPECT_EQ(2, frame.nResets);
    EXPECT_FALSE(pMenuBar->CanReset());
}

TEST_F(TrackerTest, LoadingMenuBarZeroOnlyTakesOverTheFrame)
{
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    std::vector<int> ids = Ids(pMenuBar);
    EXPECT_EQ((HMENU)NULL, ::GetMenu(frame.GetSafeHwnd()));
    // The frame got a Windows menu back (print preview ends, say).
    HMENU hMenu = ::CreateMenu();
    ::AppendMenuA(hMenu, MF_STRING, ID_TEST_OPEN, "&Open");
    ::SetMenu(frame.GetSafeHwnd(), hMenu);

    EXPECT_TRUE(pMenuBar->LoadMenuBar(0));
    EXPECT_EQ((HMENU)NULL, ::GetMenu(frame.GetSafeHwnd())) << "the bar takes the menu away";
    EXPECT_EQ(ids, Ids(pMenuBar)) << "the controls stay";
    EXPECT_EQ((UINT)IDR_TEST_MENU, pMenuBar->GetCurrentMenuId());
    EXPECT_EQ(hMenu, pMenuBar->GetFrameMenu());

    // A missing resource fails and changes nothing.
    EXPECT_FALSE(pMenuBar->LoadMenuBar(4711));
    EXPECT_EQ(ids, Ids(pMenuBar));
    EXPECT_EQ((UINT)IDR_TEST_MENU, pMenuBar->GetCurrentMenuId());
    ::SetMenu(frame.GetSafeHwnd(), NULL);
}

TEST_F(TrackerTest, RestoreActiveMenuShowsTheFramesMenuAgainWithoutADocument)
{
    CQXPMenuBar* pMenuBar = frame.m_pMenuBar;
    std::vector<int> ids = Ids(pMenuBar);
    // Another menu shown (as after switching to save a layout).
    HMENU hOther = ::CreateMenu();
    ::AppendMenuA(hOther, MF_STRING, ID_TEST_UNDO, "&Undo");
    pMenuBar->SwitchMDIMenu(hOther);
    ASSERT_NE((UINT)IDR_TEST_MENU, pMenuBar->GetCurrentMenuId());
    ASSERT_EQ((std::vector<int>{ID_TEST_UNDO}), Ids(pMenuBar));

    pMenuBar->RestoreActiveMenu();
    qmtest::PumpMessages();
    EXPECT_EQ((UINT)IDR_TEST_MENU, pMenuBar->GetCurrentMenuId());
    EXPECT_EQ(ids, Ids(pMenuBar));
    EXPECT_EQ((HMENU)NULL, ::GetMenu(frame.GetSafeHwnd())) << "the frame shows no Windows menu";
    ::DestroyMenu(hOther);
}

} // namespace
