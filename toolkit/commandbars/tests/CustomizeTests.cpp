// Customize mode: where a dragged control lands and the marker that shows it
// (arithmetic without windows), then real drags in a frame with two
// toolbars, driven by SendInput from a second thread while the drag loop
// runs: select without running, move, copy with Ctrl, remove by dropping
// off the bars, Esc, Alt+drag without customize mode, the width drag of an
// edit box and every way out of the two loops.
#include <qx/commandbars.h>
#include <qx/controledit.h>
#include <qx/customize.h>
#include <qx/listcontrols.h>
#include <qx/framehost.h>
#include <qx/resourcemgr.h>

#include <gtest/gtest.h>
#include <qmtest/cbframe.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>
#include <qmtest/qmatedriver.h>
#include <qmtest/screenshot.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "cbtest_ids.h"

namespace {

using qmtest::PumpMessages;
using qmtest::PumpUntil;

// ---------------------------------------------------------------------------
// Arithmetic

QXPDropCandidate Item(int l, int t, int r, int b, BOOL bGroup = FALSE, BOOL bWrap = FALSE, BOOL bDragged = FALSE)
{
    QXPDropCandidate item;
    item.rc.SetRect(l, t, r, b);
    item.bBeginGroup = bGroup;
    item.bWrap = bWrap;
    item.bDragged = bDragged;
    return item;
}

const CRect kClient(0, 0, 300, 26);

TEST(CustomizeDropPlace, HorizontalBarTakesTheNearestCentreAndMarksItsEdge)
{
    // Three buttons 23 wide from x 4, the third beginning a group.
    const std::vector<QXPDropCandidate> bar = {Item(4, 2, 27, 24), Item(27, 2, 50, 24), Item(56, 2, 79, 24, TRUE)};
    const struct {
        CPoint pt;
        int nItem;
        BOOL bAfter;
        CRect marker;
    } cases[] = {
        {CPoint(5, 10), 0, FALSE, CRect(4, 2, 10, 24)},   // left half of the first: before it
        {CPoint(20, 10), 0, TRUE, CRect(27, 2, 33, 24)},  // right half: after it, just beyond
        {CPoint(30, 10), 1, FALSE, CRect(27, 2, 33, 24)}, // before the second
        {CPoint(45, 10), 1, TRUE, CRect(44, 2, 50, 24)},  // after the second: a group follows, inside it
        {CPoint(51, 10), 1, TRUE, CRect(44, 2, 50, 24)},  // in the gap, nearer the second's centre
        {CPoint(78, 10), 2, TRUE, CRect(73, 2, 79, 24)},  // after the last: inside it
        {CPoint(250, 10), 2, TRUE, CRect(73, 2, 79, 24)}, // far right still goes after the last
        {CPoint(38, 10), 1, FALSE, CRect(27, 2, 33, 24)}, // on a centre: not after
        {CPoint(-5, 10), 0, FALSE, CRect(4, 2, 10, 24)},  // left of everything
    };
    for (const auto& c : cases) {
        QXPDropPlace place = QxpFindDropPlace(bar, c.pt, FALSE, FALSE, kClient);
        SCOPED_TRACE(testing::Message() << "at " << c.pt.x);
        EXPECT_TRUE(place.bAccepted);
        EXPECT_EQ(c.nItem, place.nItem);
        EXPECT_EQ(c.bAfter, place.bAfter);
        EXPECT_EQ(c.marker, place.rcMarker);
    }
}

TEST(CustomizeDropPlace, VerticalBarsAndPopupsGoByTheYCentre)
{
    const std::vector<QXPDropCandidate> bar = {Item(2, 4, 24, 26), Item(2, 26, 24, 48), Item(2, 54, 24, 76, TRUE)};
    const CRect client(0, 0, 26, 200);
    const struct {
        CPoint pt;
        int nItem;
        BOOL bAfter;
        CRect marker;
    } cases[] = {
        {CPoint(12, 5), 0, FALSE, CRect(2, 4, 24, 10)},
        {CPoint(12, 20), 0, TRUE, CRect(2, 26, 24, 32)},
        {CPoint(12, 44), 1, TRUE, CRect(2, 42, 24, 48)}, // a group follows: inside
        {CPoint(12, 70), 2, TRUE, CRect(2, 70, 24, 76)}, // the last: inside
        {CPoint(200, 60), 2, FALSE, CRect(2, 54, 24, 60)},
    };
    for (const auto& c : cases) {
        QXPDropPlace place = QxpFindDropPlace(bar, c.pt, TRUE, FALSE, client);
        SCOPED_TRACE(testing::Message() << "at " << c.pt.y);
        EXPECT_EQ(c.nItem, place.nItem);
        EXPECT_EQ(c.bAfter, place.bAfter);
        EXPECT_EQ(c.marker, place.rcMarker);
    }
}

TEST(CustomizeDropPlace, WrappedRowsAndColumnsSearchOnlyTheOneUnderThePointer)
{
    // A horizontal bar in two rows: the second row starts at the third button.
    const std::vector<QXPDropCandidate> rows = {Item(0, 0, 23, 22), Item(23, 0, 46, 22), Item(0, 22, 23, 44, FALSE, TRUE),
                                                Item(23, 22, 46, 44)};
    const CRect client(0, 0, 50, 46);
    const struct {
        CPoint pt;
        int nItem;
        BOOL bAfter;
        CRect marker;
    } rowCases[] = {
        {CPoint(40, 10), 1, TRUE, CRect(40, 0, 46, 22)}, // end of the first row: the next starts a row, inside
        {CPoint(2, 10), 0, FALSE, CRect(0, 0, 6, 22)},
        {CPoint(40, 30), 3, TRUE, CRect(40, 22, 46, 44)}, // second row
        {CPoint(2, 30), 2, FALSE, CRect(0, 22, 6, 44)},   // not the first row's first button
    };
    for (const auto& c : rowCases) {
        QXPDropPlace place = QxpFindDropPlace(rows, c.pt, FALSE, FALSE, client);
        SCOPED_TRACE(testing::Message() << "row case at " << c.pt.x << "," << c.pt.y);
        EXPECT_EQ(c.nItem, place.nItem);
        EXPECT_EQ(c.bAfter, place.bAfter);
        EXPECT_EQ(c.marker, place.rcMarker);
    }

    // A vertical bar in two columns, and a popup whose items run in two
    // columns: only the column under the pointer counts.
    const std::vector<QXPDropCandidate> cols = {Item(0, 0, 22, 23), Item(0, 23, 22, 46), Item(22, 0, 44, 23, FALSE, TRUE),
                                                Item(22, 23, 44, 46)};
    for (BOOL bColumnWrapped : {FALSE, TRUE}) {
        SCOPED_TRACE(bColumnWrapped ? "popup columns" : "docked columns");
        QXPDropPlace left = QxpFindDropPlace(cols, CPoint(10, 40), TRUE, bColumnWrapped, client);
        EXPECT_EQ(1, left.nItem);
        EXPECT_TRUE(left.bAfter);
        QXPDropPlace right = QxpFindDropPlace(cols, CPoint(30, 5), TRUE, bColumnWrapped, client);
        EXPECT_EQ(2, right.nItem);
        EXPECT_FALSE(right.bAfter);
    }
}

TEST(CustomizeDropPlace, EmptyBarsOntoItselfAndRibbons)
{
    const std::vector<QXPDropCandidate> none;
    QXPDropPlace empty = QxpFindDropPlace(none, CPoint(50, 10), FALSE, FALSE, kClient);
    EXPECT_TRUE(empty.bAccepted);
    EXPECT_EQ(-1, empty.nItem);
    EXPECT_EQ(CRect(2, 2, 8, 24), empty.rcMarker);

    QXPDropPlace ribbon = QxpFindDropPlace(none, CPoint(50, 10), FALSE, FALSE, kClient, TRUE);
    EXPECT_FALSE(ribbon.bAccepted);

    // Over the dragged control itself: the place is known, no marker shows.
    const std::vector<QXPDropCandidate> bar = {Item(4, 2, 27, 24), Item(27, 2, 50, 24, FALSE, FALSE, TRUE)};
    QXPDropPlace self = QxpFindDropPlace(bar, CPoint(45, 10), FALSE, FALSE, kClient);
    EXPECT_EQ(1, self.nItem);
    EXPECT_TRUE(self.bAfter);
    EXPECT_TRUE(self.rcMarker.IsRectEmpty());
}

TEST(CustomizeDropPlace, MarkerBandsAreTwoLinesAtEachEndAndAStem)
{
    CRect bands[5];
    // Standing in a horizontal bar: lines across the top and bottom.
    QxpDropMarkerBands(CRect(10, 2, 16, 24), FALSE, bands);
    const CRect horz[5] = {CRect(10, 2, 16, 3), CRect(11, 3, 15, 4), CRect(12, 4, 14, 22), CRect(10, 23, 16, 24),
                           CRect(11, 22, 15, 23)};
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(horz[i], bands[i]) << "band " << i;
    // Lying in a vertical bar: the same turned.
    QxpDropMarkerBands(CRect(2, 10, 24, 16), TRUE, bands);
    const CRect vert[5] = {CRect(2, 10, 3, 16), CRect(3, 11, 4, 15), CRect(4, 12, 22, 14), CRect(23, 10, 24, 16),
                           CRect(22, 11, 23, 15)};
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(vert[i], bands[i]) << "band " << i;
}

TEST(CustomizeResize, EdgesAndTheMinimumWidth)
{
    const CRect rc(100, 0, 200, 22);
    const struct {
        CPoint pt;
        int nEdge;
    } edges[] = {{CPoint(100, 5), 1}, {CPoint(102, 5), 1}, {CPoint(103, 5), 0}, {CPoint(150, 5), 0}, {CPoint(197, 5), 0}, {CPoint(198, 5), 2}, {CPoint(199, 5), 2}, {CPoint(200, 5), 0}, {CPoint(150, 30), 0}};
    for (const auto& e : edges)
        EXPECT_EQ(e.nEdge, QxpCustomizeResizeEdge(rc, e.pt)) << e.pt.x << "," << e.pt.y;

    EXPECT_EQ(CRect(100, 0, 240, 22), QxpCustomizeResizeRect(rc, FALSE, 40, 30));
    EXPECT_EQ(CRect(100, 0, 130, 22), QxpCustomizeResizeRect(rc, FALSE, -90, 30)); // stops at the minimum
    EXPECT_EQ(CRect(60, 0, 200, 22), QxpCustomizeResizeRect(rc, TRUE, -40, 30));
    EXPECT_EQ(CRect(170, 0, 200, 22), QxpCustomizeResizeRect(rc, TRUE, 95, 30));
    EXPECT_EQ(CRect(200, 0, 200, 22), QxpCustomizeResizeRect(rc, TRUE, 300, -5)); // no negative minimum
}

// ---------------------------------------------------------------------------
// Real drags in a frame

// Posted to the frame by the input thread; handled inside the drag loops
// (they hand on every message that is not theirs). The handler looks again
// (posting itself) until what it waits for holds, then acts and reports.
const UINT WM_TEST_INSPECT = WM_APP + 31;
enum InspectAction {
    inspectMarker = 1,     // wait for a drop marker on the Format bar, take a screenshot
    inspectQuit = 2,       // wait for a capture, then post WM_QUIT
    inspectRelease = 3,    // wait for a capture, then take it away
    inspectCursor = 4,     // wait for a capture, note the cursor
    inspectDragCursor = 5, // wait until the drag shows the cursor given in lParam
};

class CCustomizeFrame : public qmtest::CommandBarTestFrame {
public:
    CCustomizeFrame()
        : CommandBarTestFrame(0, NULL,
                              {{"Standard", &m_pStandard, IDR_TEST_TOOLBAR, {}},
                               {"Format", &m_pFormat, 0, {ID_TEST_UNDO, ID_TEST_ANSI, ID_TEST_UTF8}}})
    {
    }
    CQXPToolBar* m_pStandard = NULL;
    CQXPToolBar* m_pFormat = NULL;
    std::vector<UINT> commands;
    int nSelectionChanges = 0;
    std::atomic<bool> bInspected{false};
    CRect rcMarkerSeen;
    HCURSOR hCursorSeen = NULL;
    std::string strShot;

protected:
    afx_msg void OnOpen() { commands.push_back(ID_TEST_OPEN); }
    afx_msg void OnSave() { commands.push_back(ID_TEST_SAVE); }
    afx_msg void OnUndo() { commands.push_back(ID_TEST_UNDO); }
    afx_msg void OnCustomize() { commands.push_back(QXP_ID_CUSTOMIZE); }
    afx_msg LRESULT OnSelChanged(WPARAM, LPARAM)
    {
        nSelectionChanges++;
        return 0;
    }
    // Looks again once the input waiting now has been handled: a timer
    // message comes only when no input is left, where a posted message
    // would always come first and hold the input back.
    void LookAgain(WPARAM wParam, LPARAM lParam)
    {
        m_wPending = wParam;
        m_lPending = lParam;
        SetTimer(kInspectTimer, 10, NULL);
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        if (nIDEvent != kInspectTimer) {
            qmtest::CommandBarTestFrame::OnTimer(nIDEvent);
            return;
        }
        KillTimer(kInspectTimer);
        OnInspect(m_wPending, m_lPending);
    }
    static const UINT_PTR kInspectTimer = 7301;
    WPARAM m_wPending = 0;
    LPARAM m_lPending = 0;

    afx_msg LRESULT OnInspect(WPARAM wParam, LPARAM lParam)
    {
        HWND hCapture = ::GetCapture();
        switch ((int)wParam) {
        case inspectDragCursor: {
            CQXPCustomizeDropSource* pSource = GetCommandBars()->GetDropSource();
            if (!pSource->IsDragging())
                return 0; // the drag is over: nothing more to wait for
            if (pSource->GetCursorEffect() != (int)lParam || ::GetCursor() != pSource->GetCurrentCursor()) {
                LookAgain(wParam, lParam);
                return 0;
            }
            break;
        }
        case inspectMarker:
            if (!GetCommandBars()->GetDropSource()->IsDragging())
                return 0;
            if (m_pFormat->GetDropMarker().IsRectEmpty()) {
                LookAgain(wParam, 0);
                return 0;
            }
            rcMarkerSeen = m_pFormat->GetDropMarker();
            m_pFormat->UpdateWindow();
            if (!strShot.empty()) {
                CRect rc;
                m_pFormat->GetWindowRect(&rc);
                rc.InflateRect(8, 8);
                qmtest::SaveScreenPng(rc, strShot);
            }
            break;
        default:
            if (!hCapture && !GetCommandBars()->GetDropSource()->IsDragging()) {
                LookAgain(wParam, 0);
                return 0;
            }
            if (wParam == inspectQuit)
                ::PostQuitMessage(0);
            else if (wParam == inspectRelease)
                ::ReleaseCapture();
            else
                hCursorSeen = ::GetCursor();
            break;
        }
        bInspected = true;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCustomizeFrame, qmtest::CommandBarTestFrame)
    ON_COMMAND(ID_TEST_OPEN, OnOpen)
    ON_COMMAND(ID_TEST_SAVE, OnSave)
    ON_COMMAND(ID_TEST_UNDO, OnUndo)
    ON_COMMAND(QXP_ID_CUSTOMIZE, OnCustomize)
    ON_MESSAGE(WM_QXP_CUSTOMIZESELCHANGED, OnSelChanged)
    ON_MESSAGE(WM_TEST_INSPECT, OnInspect)
    ON_WM_TIMER()
END_MESSAGE_MAP()

// Input sent from a second thread: the drag loops run modally in this one.
// Each step waits for the state it needs (the loop's capture, an
// inspection done) rather than for time.
class InputThread {
public:
    explicit InputThread(DWORD dwUiThread) : m_dwUiThread(dwUiThread) {}

    // Runs the input on a thread while this thread handles its messages.
    // A WM_QUIT that a loop handed on is noted (bQuitSeen), not handled.
    void Run(const std::function<void(InputThread&)>& input)
    {
        std::atomic<bool> done(false);
        std::thread sender([&] {
            input(*this);
            done = true;
        });
        for (;;) {
            MSG msg;
            while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    bQuitSeen = true;
                    continue;
                }
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            if (done.load())
                break;
            ::MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
        }
        sender.join();
    }
    bool bQuitSeen = false;

    // The UI thread's capture window (NULL when none).
    HWND Capture() const
    {
        GUITHREADINFO info = {sizeof(info)};
        return ::GetGUIThreadInfo(m_dwUiThread, &info) ? info.hwndCapture : NULL;
    }
    bool WaitFor(const std::function<bool()>& pred) const { return qmtest::WaitUntil(pred, 10000, 5); }
    // The UI thread is in menu mode (the frame's system menu key).
    bool MenuMode() const
    {
        GUITHREADINFO info = {sizeof(info)};
        return ::GetGUIThreadInfo(m_dwUiThread, &info) && (info.flags & (GUI_INMENUMODE | GUI_SYSTEMMENUMODE));
    }
    bool WaitForCapture() const
    {
        return WaitFor([&] { return Capture() != NULL; });
    }
    bool WaitForNoCapture() const
    {
        return WaitFor([&] { return Capture() == NULL; });
    }

    static void Mouse(CPoint pt, DWORD dwFlags)
    {
        int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dx = (LONG)((pt.x * 65535LL + (cx - 1) / 2) / (cx - 1));
        in.mi.dy = (LONG)((pt.y * 65535LL + (cy - 1) / 2) / (cy - 1));
        in.mi.dwFlags = dwFlags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        ::SendInput(1, &in, sizeof(in));
    }
    // A button event where the pointer is (no move).
    static void Button(DWORD dwFlags)
    {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = dwFlags;
        ::SendInput(1, &in, sizeof(in));
    }
    static void Key(WORD vk, bool bUp)
    {
        INPUT in = qmtest::KeyInput(vk, bUp);
        ::SendInput(1, &in, sizeof(in));
    }
    // Moves in steps from one point to another with the button down.
    static void MoveTo(CPoint ptFrom, CPoint ptTo, int nSteps = 6)
    {
        for (int i = 1; i <= nSteps; i++) {
            CPoint pt(ptFrom.x + (ptTo.x - ptFrom.x) * i / nSteps, ptFrom.y + (ptTo.y - ptFrom.y) * i / nSteps);
            Mouse(pt, MOUSEEVENTF_MOVE);
            ::Sleep(10);
        }
    }

private:
    DWORD m_dwUiThread;
};

class CustomizeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.Create(NULL, "Customize test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 620, 380)));
        pBars = frame.GetCommandBars();
        ASSERT_NE(nullptr, pBars);
        frame.RecalcLayout();
        ::SetForegroundWindow(frame.GetSafeHwnd());
        ::SetActiveWindow(frame.GetSafeHwnd());
        PumpUntil([&] { return ::GetActiveWindow() == frame.GetSafeHwnd(); }, 2000);
        PumpMessages();
    }
    void TearDown() override
    {
        if (pBars) {
            pBars->SetCustomizeMode(FALSE);
            pBars->ClosePopups();
        }
        if (::IsWindow(frame.GetSafeHwnd()))
            frame.DestroyWindow();
        PumpMessages();
    }

    // The ids of a bar's controls, in order.
    static std::vector<int> Ids(CQXPCommandBar* pBar)
    {
        std::vector<int> ids;
        for (int i = 0; i < pBar->GetControlCount(); i++)
            if (!pBar->GetControl(i)->IsTemporary()) // not the expand button
                ids.push_back(pBar->GetControl(i)->GetID());
        return ids;
    }
    static CQXPControl* Find(CQXPCommandBar* pBar, int nId) { return pBar->GetControls()->FindControl(nId); }
    // A point of a control in screen coordinates: its centre moved by dx.
    static CPoint On(CQXPControl* pControl, int dx = 0)
    {
        CRect rc = pControl->GetRect();
        CPoint pt(rc.CenterPoint().x + dx, rc.CenterPoint().y);
        pControl->GetParent()->ClientToScreen(&pt);
        return pt;
    }
    // A press on one point, moves to another and the release there.
    void Drag(CPoint ptFrom, CPoint ptTo)
    {
        InputThread input(::GetCurrentThreadId());
        input.Run([&](InputThread& in) {
            in.Mouse(ptFrom, MOUSEEVENTF_LEFTDOWN);
            if (in.WaitForCapture())
                in.MoveTo(ptFrom, ptTo);
            in.Mouse(ptTo, MOUSEEVENTF_LEFTUP);
            in.WaitForNoCapture();
        });
    }
    // The same with Alt held, outside customize mode. The pointer rests on
    // the control first until the bar has seen it (the control is hot), so
    // Alt goes down after the pointer entered the frame: under Wine the
    // pointer entering a window takes the keyboard state of the display.
    // bMenuAfter: the release of Alt is expected to put the frame into menu
    // mode (Alt pressed and released alone); Esc then leaves it.
    void AltDrag(CQXPControl* pControl, CPoint ptTo, bool bMenuAfter = false)
    {
        CPoint ptFrom = On(pControl);
        ::SetCursorPos(ptFrom.x, ptFrom.y);
        CQXPCommandBar* pBar = pControl->GetParent();
        ASSERT_TRUE(PumpUntil([&] { return pBar->GetSelected() == pControl; }));
        InputThread input(::GetCurrentThreadId());
        input.Run([&](InputThread& in) {
            in.Key(VK_MENU, false);
            in.Button(MOUSEEVENTF_LEFTDOWN);
            if (in.WaitForCapture())
                in.MoveTo(ptFrom, ptTo);
            in.Button(MOUSEEVENTF_LEFTUP);
            in.WaitForNoCapture();
            in.Key(VK_MENU, true);
            if (bMenuAfter) {
                menuEntered = in.WaitFor([&] { return in.MenuMode(); });
                in.Key(VK_ESCAPE, false);
                in.Key(VK_ESCAPE, true);
                in.WaitFor([&] { return !in.MenuMode(); });
            }
        });
    }

    CCustomizeFrame frame;
    CQXPCommandBars* pBars = NULL;
    bool menuEntered = false;
};

TEST_F(CustomizeTest, AClickSelectsTheControlInsteadOfRunningIt)
{
    pBars->SetCustomizeMode(TRUE);
    CQXPControl* pSave = Find(frame.m_pStandard, ID_TEST_SAVE);
    ASSERT_NE(nullptr, pSave);
    int nChangesBefore = frame.nSelectionChanges;
    InputThread input(::GetCurrentThreadId());
    input.Run([&](InputThread& in) {
        in.Mouse(On(pSave), MOUSEEVENTF_LEFTDOWN);
        in.WaitForCapture();
        in.Mouse(On(pSave), MOUSEEVENTF_LEFTUP);
        in.WaitForNoCapture();
    });
    EXPECT_EQ(pSave, pBars->GetDragControl());
    EXPECT_GT(frame.nSelectionChanges, nChangesBefore);
    EXPECT_TRUE(frame.commands.empty()) << "the command ran";
    EXPECT_EQ((std::vector<int>{ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT}), Ids(frame.m_pStandard));

    // The same click outside customize mode runs the command.
    pBars->SetCustomizeMode(FALSE);
    EXPECT_EQ(nullptr, pBars->GetDragControl());
    input.Run([&](InputThread&) { qmtest::ClickAt(On(pSave)); });
    PumpUntil([&] { return !frame.commands.empty(); }, 3000);
    EXPECT_EQ(std::vector<UINT>{ID_TEST_SAVE}, frame.commands);
}

TEST_F(CustomizeTest, ADragMovesAControlToAnotherBarAndCtrlCopiesIt)
{
    pBars->SetCustomizeMode(TRUE);
    // Open goes after UTF-8 on the Format bar.
    Drag(On(Find(frame.m_pStandard, ID_TEST_OPEN)), On(Find(frame.m_pFormat, ID_TEST_UTF8), 8));
    EXPECT_EQ((std::vector<int>{ID_TEST_SAVE, ID_TEST_EXIT}), Ids(frame.m_pStandard));
    EXPECT_EQ((std::vector<int>{ID_TEST_UNDO, ID_TEST_ANSI, ID_TEST_UTF8, ID_TEST_OPEN}), Ids(frame.m_pFormat));
    EXPECT_EQ(Find(frame.m_pFormat, ID_TEST_OPEN), pBars->GetDragControl()) << "the copy is the selection";
    EXPECT_TRUE(frame.m_pFormat->GetDropMarker().IsRectEmpty());

    // Ctrl pressed and released during the drag, without moving the mouse,
    // switches between copying and moving; released with Ctrl down, Undo is
    // copied before Save. (The keys go after the last move: under Wine a
    // pointer that enters another window takes the keyboard state of the
    // display again.)
    CPoint ptFrom = On(Find(frame.m_pFormat, ID_TEST_UNDO));
    CPoint ptTo = On(Find(frame.m_pStandard, ID_TEST_SAVE), -8);
    std::vector<bool> seen;
    InputThread input(::GetCurrentThreadId());
    input.Run([&](InputThread& in) {
        auto waitCursor = [&](int nEffect) {
            frame.bInspected = false;
            ::PostMessageA(frame.GetSafeHwnd(), WM_TEST_INSPECT, inspectDragCursor, nEffect);
            seen.push_back(in.WaitFor([&] { return frame.bInspected.load(); }));
        };
        in.Mouse(ptFrom, MOUSEEVENTF_LEFTDOWN);
        if (in.WaitForCapture())
            in.MoveTo(ptFrom, ptTo);
        waitCursor(qxpDropMove);
        in.Key(VK_CONTROL, false);
        waitCursor(qxpDropCopy);
        in.Key(VK_CONTROL, true);
        waitCursor(qxpDropMove);
        in.Key(VK_CONTROL, false);
        waitCursor(qxpDropCopy);
        in.Button(MOUSEEVENTF_LEFTUP);
        in.WaitForNoCapture();
        in.Key(VK_CONTROL, true);
    });
    EXPECT_EQ(std::vector<bool>(4, true), seen) << "move, copy, move, copy cursors";
    EXPECT_EQ((std::vector<int>{ID_TEST_UNDO, ID_TEST_SAVE, ID_TEST_EXIT}), Ids(frame.m_pStandard));
    EXPECT_EQ((std::vector<int>{ID_TEST_UNDO, ID_TEST_ANSI, ID_TEST_UTF8, ID_TEST_OPEN}), Ids(frame.m_pFormat));
    EXPECT_TRUE(frame.commands.empty());
}

TEST_F(CustomizeTest, DroppedOffTheBarsAControlIsRemovedAndEscKeepsIt)
{
    pBars->SetCustomizeMode(TRUE);
    CRect rcClient;
    frame.GetClientRect(&rcClient);
    CPoint ptOff(rcClient.CenterPoint().x, rcClient.bottom - 40);
    frame.ClientToScreen(&ptOff);

    // Esc on the way: nothing changes.
    CPoint ptAnsi = On(Find(frame.m_pFormat, ID_TEST_ANSI));
    InputThread input(::GetCurrentThreadId());
    input.Run([&](InputThread& in) {
        in.Mouse(ptAnsi, MOUSEEVENTF_LEFTDOWN);
        if (in.WaitForCapture())
            in.MoveTo(ptAnsi, ptOff);
        in.Key(VK_ESCAPE, false);
        in.Key(VK_ESCAPE, true);
        in.WaitForNoCapture();
        in.Mouse(ptOff, MOUSEEVENTF_LEFTUP);
    });
    EXPECT_EQ((std::vector<int>{ID_TEST_UNDO, ID_TEST_ANSI, ID_TEST_UTF8}), Ids(frame.m_pFormat));

    // Released there: ANSI leaves the bar; the group it began passes on.
    Find(frame.m_pFormat, ID_TEST_ANSI)->SetBeginGroup(TRUE);
    Drag(ptAnsi, ptOff);
    EXPECT_EQ((std::vector<int>{ID_TEST_UNDO, ID_TEST_UTF8}), Ids(frame.m_pFormat));
    EXPECT_TRUE(Find(frame.m_pFormat, ID_TEST_UTF8)->GetBeginGroup());
    EXPECT_EQ(nullptr, pBars->GetDragControl());
}

TEST_F(CustomizeTest, TheDropMarkerShowsWhereTheControlWouldGo)
{
    pBars->SetCustomizeMode(TRUE);
    frame.strShot = qmtest::ScreenshotDir(QM_BIN_DIR) + "/customize-drop-marker.png";
    CQXPControl* pAnsi = Find(frame.m_pFormat, ID_TEST_ANSI);
    CPoint ptFrom = On(Find(frame.m_pStandard, ID_TEST_EXIT));
    CPoint ptTo = On(pAnsi, -6); // the left half of ANSI: before it
    InputThread input(::GetCurrentThreadId());
    input.Run([&](InputThread& in) {
        in.Mouse(ptFrom, MOUSEEVENTF_LEFTDOWN);
        if (in.WaitForCapture()) {
            in.MoveTo(ptFrom, ptTo);
            ::PostMessageA(frame.GetSafeHwnd(), WM_TEST_INSPECT, inspectMarker, 0);
            in.WaitFor([&] { return frame.bInspected.load(); });
        }
        in.Key(VK_ESCAPE, false);
        in.Key(VK_ESCAPE, true);
        in.WaitForNoCapture();
        in.Mouse(ptTo, MOUSEEVENTF_LEFTUP);
    });
    ASSERT_TRUE(frame.bInspected.load());
    CRect rcAnsi = pAnsi->GetRect();
    EXPECT_EQ(CRect(rcAnsi.left, rcAnsi.top, rcAnsi.left + QXP_DROPMARKER_SIZE, rcAnsi.bottom), frame.rcMarkerSeen);
    EXPECT_TRUE(frame.m_pFormat->GetDropMarker().IsRectEmpty()) << "the marker goes with the drag";
    printf("screenshot: %s\n", frame.strShot.c_str());
}

TEST_F(CustomizeTest, AltDragMovesAButtonWithoutTheCustomizeDialog)
{
    ASSERT_TRUE(pBars->IsCustomizeAllowed());
    ASSERT_FALSE(pBars->IsCustomizeMode());
    // Open goes after Exit on its own bar.
    AltDrag(Find(frame.m_pStandard, ID_TEST_OPEN), On(Find(frame.m_pStandard, ID_TEST_EXIT), 8));
    EXPECT_EQ((std::vector<int>{ID_TEST_SAVE, ID_TEST_EXIT, ID_TEST_OPEN}), Ids(frame.m_pStandard));
    EXPECT_FALSE(pBars->IsCustomizeMode());
    EXPECT_FALSE(pBars->IsQuickCustomizeMode());
    EXPECT_EQ(nullptr, pBars->GetDragControl());
    EXPECT_TRUE(frame.commands.empty());

    // With the option off the press is an ordinary click (the button runs
    // when released over it), and releasing Alt is the menu key again.
    pBars->m_bAltDragCustomization = FALSE;
    AltDrag(Find(frame.m_pStandard, ID_TEST_SAVE), On(Find(frame.m_pStandard, ID_TEST_SAVE), 2), true);
    EXPECT_EQ((std::vector<int>{ID_TEST_SAVE, ID_TEST_EXIT, ID_TEST_OPEN}), Ids(frame.m_pStandard));
    EXPECT_EQ(std::vector<UINT>{ID_TEST_SAVE}, frame.commands);
    EXPECT_TRUE(menuEntered);
}

// The width drag of an edit box: accepted, cancelled with Esc, ended by a
// lost capture or by WM_QUIT. Every way out leaves the desktop unlocked.
class CustomizeWidthTest : public CustomizeTest {
protected:
    void SetUp() override
    {
        CustomizeTest::SetUp();
        pEdit = frame.m_pFormat->GetControls()->Add(qxpControlEdit, ID_TEST_ANSI + 50);
        ASSERT_NE(nullptr, pEdit);
        pEdit->SetWidth(100);
        frame.m_pFormat->OnRecalcLayout();
        frame.RecalcLayout();
        PumpMessages();
        pBars->SetCustomizeMode(TRUE);
        pBars->SetDragControl(pEdit);
    }
    // The press on the right edge and a move 40 pixels right; then what
    // ends the loop.
    // TRUE when a WM_QUIT came out of the loop.
    bool WidthDrag(const std::function<void(InputThread&, CPoint)>& end)
    {
        CRect rc = pEdit->GetRect();
        CPoint ptEdge(rc.right - 1, rc.CenterPoint().y);
        frame.m_pFormat->ClientToScreen(&ptEdge);
        InputThread input(::GetCurrentThreadId());
        input.Run([&](InputThread& in) {
            in.Mouse(ptEdge, MOUSEEVENTF_LEFTDOWN);
            if (in.WaitForCapture())
                in.MoveTo(ptEdge, CPoint(ptEdge.x + 40, ptEdge.y));
            end(in, CPoint(ptEdge.x + 40, ptEdge.y));
            in.WaitForNoCapture();
            in.Mouse(CPoint(ptEdge.x + 40, ptEdge.y), MOUSEEVENTF_LEFTUP);
        });
        return input.bQuitSeen;
    }
    // The desktop is not locked: another window can be.
    bool DesktopUnlocked()
    {
        BOOL bLocked = ::LockWindowUpdate(frame.GetSafeHwnd());
        if (bLocked)
            ::LockWindowUpdate(NULL);
        return bLocked != FALSE;
    }
    CQXPControl* pEdit = NULL;
};

TEST_F(CustomizeWidthTest, ADragOnTheEdgeOfTheSelectedEditChangesItsWidthWithItsCursor)
{
    WidthDrag([&](InputThread& in, CPoint pt) {
        ::PostMessageA(frame.GetSafeHwnd(), WM_TEST_INSPECT, inspectCursor, 0);
        in.WaitFor([&] { return frame.bInspected.load(); });
        in.Mouse(pt, MOUSEEVENTF_LEFTUP);
    });
    EXPECT_EQ(140, pEdit->GetWidth());
    EXPECT_EQ(ToolkitResourceManager::Instance()->LoadCursor(QX_IDC_CUSTOMIZE_RESIZE), frame.hCursorSeen);
    EXPECT_NE(nullptr, frame.hCursorSeen);
    EXPECT_EQ(pEdit, pBars->GetDragControl());
    EXPECT_TRUE(DesktopUnlocked());
}

TEST_F(CustomizeWidthTest, EscLostCaptureAndQuitEndTheDragWithoutAChange)
{
    WidthDrag([&](InputThread& in, CPoint) {
        in.Key(VK_ESCAPE, false);
        in.Key(VK_ESCAPE, true);
    });
    EXPECT_EQ(100, pEdit->GetWidth());
    EXPECT_TRUE(DesktopUnlocked());

    pBars->SetDragControl(pEdit);
    WidthDrag([&](InputThread& in, CPoint) {
        ::PostMessageA(frame.GetSafeHwnd(), WM_TEST_INSPECT, inspectRelease, 0);
        in.WaitFor([&] { return frame.bInspected.load(); });
    });
    EXPECT_EQ(100, pEdit->GetWidth());
    EXPECT_TRUE(DesktopUnlocked());

    frame.bInspected = false;
    pBars->SetDragControl(pEdit);
    bool bQuit = WidthDrag([&](InputThread& in, CPoint) {
        ::PostMessageA(frame.GetSafeHwnd(), WM_TEST_INSPECT, inspectQuit, 0);
        in.WaitFor([&] { return frame.bInspected.load(); });
    });
    EXPECT_EQ(100, pEdit->GetWidth());
    EXPECT_TRUE(DesktopUnlocked());
    EXPECT_TRUE(bQuit) << "WM_QUIT is handed on";
}

TEST_F(CustomizeTest, QuitDuringADragCancelsItAndIsHandedOn)
{
    pBars->SetCustomizeMode(TRUE);
    CPoint ptFrom = On(Find(frame.m_pStandard, ID_TEST_SAVE));
    CPoint ptTo = On(Find(frame.m_pFormat, ID_TEST_ANSI));
    InputThread input(::GetCurrentThreadId());
    input.Run([&](InputThread& in) {
        in.Mouse(ptFrom, MOUSEEVENTF_LEFTDOWN);
        if (in.WaitForCapture()) {
            in.MoveTo(ptFrom, ptTo);
            ::PostMessageA(frame.GetSafeHwnd(), WM_TEST_INSPECT, inspectQuit, 0);
            in.WaitFor([&] { return frame.bInspected.load(); });
        }
        in.WaitForNoCapture();
        in.Mouse(ptTo, MOUSEEVENTF_LEFTUP);
    });
    EXPECT_EQ((std::vector<int>{ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT}), Ids(frame.m_pStandard));
    EXPECT_EQ((std::vector<int>{ID_TEST_UNDO, ID_TEST_ANSI, ID_TEST_UTF8}), Ids(frame.m_pFormat));
    EXPECT_TRUE(frame.m_pFormat->GetDropMarker().IsRectEmpty());
    EXPECT_TRUE(input.bQuitSeen) << "WM_QUIT is handed on";
}

// The customize dialog's command list starts drags of controls that are on
// no bar; they always copy.
TEST_F(CustomizeTest, AControlFromOutsideTheBarsIsCopiedWhereItIsDropped)
{
    pBars->SetCustomizeMode(TRUE);
    CQXPControl* pNew = CQXPControls::CreateControlOfType(qxpControlButton, ID_TEST_OPEN, FALSE, CString());
    ASSERT_NE(nullptr, pNew);
    pNew->SetID(ID_TEST_OPEN);
    CRect rcClient;
    frame.GetClientRect(&rcClient);
    CPoint ptFrom(rcClient.CenterPoint());
    frame.ClientToScreen(&ptFrom);
    CPoint ptTo = On(Find(frame.m_pFormat, ID_TEST_UNDO), -6);
    int nEffect = -1;
    std::atomic<bool> bPressed(false);
    std::thread sender([&] {
        InputThread in(0);
        in.Mouse(ptFrom, MOUSEEVENTF_LEFTDOWN);
        bPressed = true;
        qmtest::WaitUntil([&] { return ::GetAsyncKeyState(VK_LBUTTON) < 0; }, 5000, 5);
    });
    PumpUntil([&] { return bPressed.load() && ::GetAsyncKeyState(VK_LBUTTON) < 0; }, 5000);
    sender.join();
    InputThread input(::GetCurrentThreadId());
    std::thread mover([&] {
        if (input.WaitForCapture())
            InputThread::MoveTo(ptFrom, ptTo);
        InputThread::Mouse(ptTo, MOUSEEVENTF_LEFTUP);
    });
    nEffect = pBars->GetDropSource()->DoDragDrop(pNew, TRUE);
    mover.join();
    PumpMessages();
    EXPECT_EQ(qxpDropCopy, nEffect);
    EXPECT_EQ((std::vector<int>{ID_TEST_OPEN, ID_TEST_UNDO, ID_TEST_ANSI, ID_TEST_UTF8}), Ids(frame.m_pFormat));
    EXPECT_NE(pNew, frame.m_pFormat->GetControl(0)) << "the bar holds its own copy";
    pNew->InternalRelease();
}

} // namespace
