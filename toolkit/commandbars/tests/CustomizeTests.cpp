// Customize mode: where a dragged control lands and the marker that shows it
// (arithmetic without windows), then real drags in a frame with two
// toolbars, driven by SendInput from a second thread while the drag loop
// runs: select without running, move, copy with Ctrl, remove by dropping
// off the bars, Esc, Alt+drag without customize mode, the width drag of an
// edit box and every way out of the two loops.
#include <qx/buttoneditor.h>
#include <qx/commandbars.h>
#include <qx/controledit.h>
#include <qx/customize.h>
#include <qx/listcontrols.h>
#include <qx/framehost.h>
#include <qx/images.h>
#include <qx/popup.h>
#include <qx/resourcemgr.h>

#include <gtest/gtest.h>
#include <qmtest/cbframe.h>
#include <qmtest/mouse.h>
#include <qmtest/pump.h>
#include <qmtest/qmatedriver.h>
#include <qmtest/screenshot.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
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
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        return ::GetGUIThreadInfo(m_dwUiThread, &info) ? info.hwndCapture : NULL;
    }
    bool WaitFor(const std::function<bool()>& pred) const { return qmtest::WaitUntil(pred, 10000, 5); }
    // The UI thread is in menu mode (the frame's system menu key).
    bool MenuMode() const
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
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
        pBars = qmtest::ShowActiveFrame(frame, "Customize test", CRect(20, 20, 620, 380));
        ASSERT_NE(nullptr, pBars);
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

// A popup bar made without a manager of its own follows the customize mode
// of the manager of the bar whose control opens it, so a click on its items
// selects instead of running them.
TEST_F(CustomizeTest, ItemsOfAPopupWithoutAManagerFollowTheOpeningBarsCustomizeMode)
{
    CQXPControlPopup* pMenu =
        dynamic_cast<CQXPControlPopup*>(frame.m_pStandard->GetControls()->Add(qxpControlPopup, 0));
    ASSERT_NE(nullptr, pMenu);
    CQXPPopupBar* pPopup = new CQXPPopupBar;
    pMenu->SetCommandBar(pPopup);
    pPopup->InternalRelease();
    CQXPControl* pItem = pPopup->GetControls()->Add(qxpControlButton, ID_TEST_UNDO);
    ASSERT_NE(nullptr, pItem);
    ASSERT_EQ(pPopup, pItem->GetParent());
    ASSERT_EQ(pBars, pPopup->GetCommandBars()) << "the manager is found up the chain";

    EXPECT_FALSE(pItem->IsCustomizeMode());
    EXPECT_FALSE(pPopup->IsCustomizeMode());
    pBars->SetCustomizeMode(TRUE);
    EXPECT_TRUE(pItem->IsCustomizeMode());
    EXPECT_TRUE(pMenu->IsCustomizeMode());
    EXPECT_TRUE(pPopup->IsCustomizeMode()) << "the popup bar itself asks up the chain";
    pBars->SetCustomizeMode(FALSE);
    EXPECT_FALSE(pItem->IsCustomizeMode());
    EXPECT_FALSE(pPopup->IsCustomizeMode());

    // A popup opened by nothing has no manager and is never in customize mode.
    pBars->SetCustomizeMode(TRUE);
    CQXPPopupBar* pOrphan = new CQXPPopupBar;
    EXPECT_FALSE(pOrphan->IsCustomizeMode());
    pOrphan->InternalRelease();
    pBars->SetCustomizeMode(FALSE);

    // A control on no bar is never in customize mode.
    pBars->SetCustomizeMode(TRUE);
    CQXPControls* pLoose = new CQXPControls;
    pLoose->SetCommandBars(pBars);
    CQXPControl* pOnNoBar = pLoose->Add(qxpControlButton, ID_TEST_UNDO);
    ASSERT_NE(nullptr, pOnNoBar);
    EXPECT_FALSE(pOnNoBar->IsCustomizeMode());
    pLoose->InternalRelease();
    pBars->SetCustomizeMode(FALSE);
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
    pBars->GetOptions()->m_bAltDragCustomization = FALSE;
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

// ---------------------------------------------------------------------------
// The context menu

namespace {

QXPCustomizeControlFacts Facts(int nType, int nIconId, int nStyle = 0, int nIndex = 1)
{
    QXPCustomizeControlFacts f;
    f.bSelected = TRUE;
    f.nType = nType;
    f.nIconId = nIconId;
    f.nStyle = nStyle;
    f.nIndex = nIndex;
    return f;
}

// "ec": enabled and checked, "e-", "-c", "--".
std::string States(const QXPCustomizeControlFacts& f)
{
    std::string out;
    for (UINT nID = QX_ID_CUSTOMIZE_RESET; nID <= QX_ID_CUSTOMIZE_BEGINGROUP; nID++) {
        QXPCustomizeCommandState s = QxpCustomizeCommandState(f, nID);
        out += s.bEnabled ? 'e' : '-';
        out += s.bChecked ? 'c' : '-';
        out += nID < QX_ID_CUSTOMIZE_BEGINGROUP ? " " : "";
    }
    return out;
}

} // namespace

TEST(CustomizeMenuStates, EachControlKindEnablesAndChecksItsCommands)
{
    // Columns: Reset, Delete, Name, Copy, Paste, Reset image, Edit, Change,
    // Default style, Image and text, Text only, Begin a group.
    QXPCustomizeControlFacts none;
    QXPCustomizeControlFacts customIcon = Facts(qxpControlButton, 7);
    customIcon.nCustomIconId = 7;
    QXPCustomizeControlFacts customCaption = Facts(qxpControlButton, 5);
    customCaption.bCustomCaption = TRUE;
    QXPCustomizeControlFacts customStyle = Facts(qxpControlButton, 5, 1);
    customStyle.nCustomStyle = 1;
    QXPCustomizeControlFacts first = Facts(qxpControlButton, 5, 0, 0);
    first.bBeginGroup = TRUE;
    QXPCustomizeControlFacts grouped = Facts(qxpControlButton, 5);
    grouped.bBeginGroup = TRUE;
    QXPCustomizeControlFacts popupClip = Facts(qxpControlPopup, 0);
    popupClip.bClipboardBitmap = TRUE;
    QXPCustomizeControlFacts editClip = Facts(qxpControlEdit, 5);
    editClip.bClipboardBitmap = TRUE;
    const struct {
        const char* name;
        QXPCustomizeControlFacts facts;
        const char* states;
    } cases[] = {
        {"nothing selected", none, "-- e- e- -- -- -- -- -- -c -- -- --"},
        {"button with a picture", Facts(qxpControlButton, 5), "-- e- e- e- -- -- e- e- ec e- e- e-"},
        {"button without a picture", Facts(qxpControlButton, 0), "-- e- e- -- -- -- -- -- -c -- -- e-"},
        {"icon style counts as default", Facts(qxpControlButton, 5, 2), "-- e- e- e- -- -- e- e- ec e- e- e-"},
        {"text only", customStyle, "e- e- e- e- -- -- e- e- e- e- ec e-"},
        {"image and text", Facts(qxpControlButton, 5, 3), "-- e- e- e- -- -- e- e- e- ec e- e-"},
        {"custom icon", customIcon, "e- e- e- e- -- e- e- e- ec e- e- e-"},
        {"custom caption", customCaption, "e- e- e- e- -- -- e- e- ec e- e- e-"},
        {"first control", first, "-- e- e- e- -- -- e- e- ec e- e- -c"},
        {"group start", grouped, "-- e- e- e- -- -- e- e- ec e- e- ec"},
        {"popup, bitmap on the clipboard", popupClip, "-- e- e- -- e- -- -- -- -c -- -- e-"},
        {"edit box, bitmap on the clipboard", editClip, "-- e- e- -- -- -- -- -- -c -- -- e-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.states, States(c.facts)) << c.name;
}

TEST(CustomizeMenuStates, ThePaletteIsASquareOfPictures)
{
    EXPECT_EQ(236, QxpStockPaletteWidth(100));
    EXPECT_EQ(29, QxpStockPaletteWidth(1));
    EXPECT_EQ(144, QxpStockPaletteWidth(36));
    EXPECT_EQ(121, QxpStockPaletteWidth(35)); // five full columns
}

// The customize dialog as the menu sees it: a window that hands the menu's
// commands and notifications to it.
class CSheetStandIn : public CWnd {
public:
    CQXPCustomizeContextMenu* m_pMenu = NULL;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (m_pMenu && m_pMenu->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (m_pMenu && message == WM_QXP_INITCOMMANDSPOPUP)
            m_pMenu->OnBarAnnounced(reinterpret_cast<CQXPCommandBar*>(lParam));
        LRESULT lResult = 0;
        if (m_pMenu && message == WM_COMMANDBARS_CONTROLNOTIFY && m_pMenu->OnControlNotify(wParam, lParam, &lResult))
            return lResult;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class CustomizeMenuTest : public CustomizeTest {
protected:
    void SetUp() override
    {
        CustomizeTest::SetUp();
        ASSERT_TRUE(pBars->GetImageManager()->SetIcons(IDR_TEST_TOOLBAR));
        ASSERT_TRUE(sheet.CreateEx(WS_EX_TOOLWINDOW, "Static", "Customize", WS_POPUP, CRect(0, 0, 10, 10), &frame, 0));
        pMenu.reset(new CQXPCustomizeContextMenu(pBars, &sheet));
        sheet.m_pMenu = pMenu.get();
        pBars->SetCustomizeMode(TRUE);
        pBars->GetDropSource()->SetCustomizeDialog(&sheet);
        pBars->GetDropSource()->SetContextMenu(pMenu.get());
        pOpen = Find(frame.m_pStandard, ID_TEST_OPEN);
        pSave = Find(frame.m_pStandard, ID_TEST_SAVE);
    }
    void TearDown() override
    {
        pBars->GetDropSource()->SetCustomizeDialog(NULL);
        pBars->GetDropSource()->SetContextMenu(NULL);
        sheet.m_pMenu = NULL;
        pMenu.reset();
        if (::IsWindow(sheet.GetSafeHwnd()))
            sheet.DestroyWindow();
        CustomizeTest::TearDown();
    }
    static bool PutOnClipboard(UINT nFormat, const std::string& bytes)
    {
        if (!::OpenClipboard(NULL))
            return false;
        ::EmptyClipboard();
        HGLOBAL hg = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size() ? bytes.size() : 1);
        memcpy(::GlobalLock(hg), bytes.data(), bytes.size());
        ::GlobalUnlock(hg);
        bool ok = ::SetClipboardData(nFormat, hg) != NULL;
        ::CloseClipboard();
        return ok;
    }
    // A right click on a control, sent from the input thread; the menu's
    // window once it shows (NULL when it does not).
    HWND RightClickForMenu(InputThread& in, CQXPControl* pControl)
    {
        const CPoint pt = On(pControl);
        in.Mouse(pt, MOUSEEVENTF_RIGHTDOWN);
        in.Mouse(pt, MOUSEEVENTF_RIGHTUP);
        HWND hPopup = NULL;
        CQXPPopupBar* pBar = pMenu->GetContextBar();
        in.WaitFor([&] {
            hPopup = pBar->GetSafeHwnd();
            return hPopup && ::IsWindowVisible(hPopup);
        });
        return hPopup && ::IsWindowVisible(hPopup) ? hPopup : NULL;
    }
    // A click on a control of an open popup, sent from the input thread.
    static void ClickOn(InputThread& in, CQXPControl* pControl)
    {
        const CPoint pt = On(pControl);
        in.Mouse(pt, MOUSEEVENTF_MOVE);
        in.Mouse(pt, MOUSEEVENTF_LEFTDOWN);
        in.Mouse(pt, MOUSEEVENTF_LEFTUP);
    }
    CSheetStandIn sheet;
    std::unique_ptr<CQXPCustomizeContextMenu> pMenu;
    CQXPControl* pOpen = NULL;
    CQXPControl* pSave = NULL;
};

TEST_F(CustomizeMenuTest, TheMenuHoldsTheResourceItemsAndThePaletteTheStockPictures)
{
    CQXPPopupBar* pBar = pMenu->GetContextBar();
    ASSERT_NE(nullptr, pBar);
    std::vector<int> ids;
    for (int i = 0; i < pBar->GetControlCount(); i++)
        ids.push_back(pBar->GetControl(i)->GetID());
    EXPECT_EQ((std::vector<int>{QX_ID_CUSTOMIZE_RESET, QX_ID_CUSTOMIZE_DELETE, QX_ID_CUSTOMIZE_NAME,
                                QX_ID_CUSTOMIZE_COPYIMAGE, QX_ID_CUSTOMIZE_PASTEIMAGE, QX_ID_CUSTOMIZE_RESETIMAGE,
                                QX_ID_CUSTOMIZE_EDITIMAGE, QX_ID_CUSTOMIZE_CHANGEIMAGE, QX_ID_CUSTOMIZE_DEFAULTSTYLE,
                                QX_ID_CUSTOMIZE_TEXTONLY, QX_ID_CUSTOMIZE_IMAGEANDTEXT, QX_ID_CUSTOMIZE_BEGINGROUP}),
              ids);
    // Separators become group starts; the Name item is an edit box.
    EXPECT_TRUE(pBar->GetControl(3)->GetBeginGroup());
    EXPECT_TRUE(pBar->GetControl(8)->GetBeginGroup());
    EXPECT_TRUE(pBar->GetControl(11)->GetBeginGroup());
    EXPECT_FALSE(pBar->GetControl(1)->GetBeginGroup());
    EXPECT_EQ(qxpControlEdit, pBar->GetControl(2)->GetType());
    EXPECT_EQ("Begin a &Group", std::string(pBar->GetControl(11)->GetCaption()));

    EXPECT_EQ(36, pMenu->GetStockCount());
    CQXPCommandBar* pPalette = pBar->GetControl(7)->GetCommandBar();
    ASSERT_NE(nullptr, pPalette);
    EXPECT_EQ(0, pPalette->GetControlCount());
    pMenu->OnBarAnnounced(pPalette);
    ASSERT_EQ(36, pPalette->GetControlCount());
    EXPECT_EQ(36, pPalette->GetControl(35)->GetIconId());
    EXPECT_EQ(QX_ID_CUSTOMIZE_CHANGEIMAGE, pPalette->GetControl(0)->GetID());
    EXPECT_EQ(144, pPalette->GetMRUWidth());
    pMenu->OnBarAnnounced(pPalette); // filled once
    EXPECT_EQ(36, pPalette->GetControlCount());
}

TEST_F(CustomizeMenuTest, CommandsChangeTheSelectedControl)
{
    // Nothing selected: nothing happens.
    pMenu->Execute(QX_ID_CUSTOMIZE_DELETE);
    EXPECT_EQ((std::vector<int>{ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT}), Ids(frame.m_pStandard));

    pBars->SetDragControl(pSave);
    pMenu->Execute(QX_ID_CUSTOMIZE_TEXTONLY);
    EXPECT_EQ(1, pSave->GetStyle());
    pMenu->Execute(QX_ID_CUSTOMIZE_IMAGEANDTEXT);
    EXPECT_EQ(3, pSave->GetStyle());
    pMenu->Execute(QX_ID_CUSTOMIZE_BEGINGROUP);
    EXPECT_EQ(FALSE, pSave->GetBeginGroup()) << "Save began a group after the separator";
    pMenu->ApplyName("Keep");
    EXPECT_EQ("Keep", std::string(pSave->GetCaption()));
    pMenu->ApplyStockPicture(3);
    EXPECT_GT(pSave->m_nCustomIconId, 0);
    EXPECT_NE(nullptr, pBars->GetImageManager()->GetImage((UINT)pSave->m_nCustomIconId, 16));
    pMenu->Execute(QX_ID_CUSTOMIZE_RESETIMAGE);
    EXPECT_EQ(0, pSave->m_nCustomIconId);
    pMenu->Execute(QX_ID_CUSTOMIZE_RESET);
    EXPECT_EQ(-1, pSave->m_buttonCustomStyle);
    EXPECT_TRUE(pSave->m_strCustomCaption.IsEmpty());

    pMenu->Execute(QX_ID_CUSTOMIZE_DELETE);
    EXPECT_EQ((std::vector<int>{ID_TEST_OPEN, ID_TEST_EXIT}), Ids(frame.m_pStandard));
    EXPECT_EQ(nullptr, pBars->GetDragControl());
}

TEST_F(CustomizeMenuTest, CopyPutsACopyOfThePictureOnTheClipboard)
{
    // An alpha picture: the clipboard gets a bitmap of its own and the
    // marker; emptying the clipboard leaves the image manager's intact.
    HBITMAP hAlpha = Create32BitDIBSection(NULL, 16, 16, NULL);
    ASSERT_NE(nullptr, hAlpha);
    CQXPIconHandle alpha;
    alpha.SetBitmap(hAlpha);
    UINT nAlphaId = pBars->GetImageManager()->AddCustomIcon(alpha, TRUE);
    pOpen->m_nCustomIconId = (int)nAlphaId;
    pBars->SetDragControl(pOpen);
    ASSERT_TRUE(pMenu->CopyImage());
    HBITMAP hOwn = pBars->GetImageManager()->GetImage(nAlphaId, 16)->GetNormalIcon().GetBitmap();
    ASSERT_NE(nullptr, hOwn);
    ASSERT_TRUE(::OpenClipboard(NULL));
    HBITMAP hOnClipboard = (HBITMAP)::GetClipboardData(CF_BITMAP);
    EXPECT_NE(nullptr, hOnClipboard);
    EXPECT_NE(hOwn, hOnClipboard);
    EXPECT_TRUE(::IsClipboardFormatAvailable(::RegisterClipboardFormatA("Alpha Bitmap Image")));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CQXPImageManager::GetClipboardFormat()));
    ::EmptyClipboard();
    ::CloseClipboard();
    BITMAP bm = {};
    EXPECT_EQ((int)sizeof(bm), ::GetObjectA(hOwn, sizeof(bm), &bm)) << "the image manager's bitmap was freed";

    // Pasted onto Save, then a plain picture of the toolbar copied as well.
    ASSERT_TRUE(pMenu->CopyImage());
    pBars->SetDragControl(pSave);
    ASSERT_TRUE(pMenu->PasteImage());
    EXPECT_GT(pSave->m_nCustomIconId, 0);
    EXPECT_NE((int)nAlphaId, pSave->m_nCustomIconId) << "a new icon of its own";
    pSave->m_nCustomIconId = 0;
    ASSERT_TRUE(pMenu->CopyImage());
    ASSERT_TRUE(::OpenClipboard(NULL));
    EXPECT_NE(nullptr, ::GetClipboardData(CF_BITMAP));
    EXPECT_FALSE(::IsClipboardFormatAvailable(::RegisterClipboardFormatA("Alpha Bitmap Image")));
    ::CloseClipboard();
}

TEST_F(CustomizeMenuTest, ADamagedIconSetOnTheClipboardChangesNothing)
{
    pBars->SetDragControl(pSave);
    const std::string cases[] = {std::string(), std::string("\x01\x00\x00", 3), std::string(64, '\xff')};
    for (const std::string& bytes : cases) {
        ASSERT_TRUE(PutOnClipboard(CQXPImageManager::GetClipboardFormat(), bytes));
        EXPECT_FALSE(pMenu->PasteImage()) << bytes.size() << " bytes";
        EXPECT_EQ(0, pSave->m_nCustomIconId);
    }
    // A truncated copy of a real set.
    pBars->SetDragControl(pOpen);
    ASSERT_TRUE(pMenu->CopyImage());
    std::string whole;
    ASSERT_TRUE(::OpenClipboard(NULL));
    if (HGLOBAL hg = ::GetClipboardData(CQXPImageManager::GetClipboardFormat())) {
        whole.assign((const char*)::GlobalLock(hg), ::GlobalSize(hg));
        ::GlobalUnlock(hg);
    }
    ::CloseClipboard();
    ASSERT_GT(whole.size(), 8u);
    pBars->SetDragControl(pSave);
    ASSERT_TRUE(PutOnClipboard(CQXPImageManager::GetClipboardFormat(), whole.substr(0, whole.size() / 2)));
    EXPECT_FALSE(pMenu->PasteImage());
    EXPECT_EQ(0, pSave->m_nCustomIconId);
}

TEST_F(CustomizeMenuTest, ARightClickOpensTheMenuWhoseItemsWorkOnTheControl)
{
    CQXPPopupBar* pBar = pMenu->GetContextBar();
    ASSERT_NE(nullptr, pBar);
    CQXPControl* pGroup = pBar->GetControl(11);
    std::string shot = qmtest::ScreenshotDir(QM_BIN_DIR) + "/customize-context-menu.png";
    bool bShown = false;
    InputThread input(::GetCurrentThreadId());
    input.Run([&](InputThread& in) {
        HWND hPopup = RightClickForMenu(in, pSave);
        bShown = hPopup != NULL;
        if (!bShown)
            return;
        in.WaitFor([&] { return !::GetUpdateRect(hPopup, NULL, FALSE); }); // painted
        CRect rc;
        ::GetWindowRect(hPopup, &rc);
        qmtest::SaveScreenPng(rc, shot);
        ClickOn(in, pGroup);
        in.WaitFor([&] { return !::IsWindowVisible(hPopup); });
    });
    printf("screenshot: %s\n", shot.c_str());
    ASSERT_TRUE(bShown);
    EXPECT_EQ(pSave, pBars->GetDragControl());
    EXPECT_FALSE(pSave->GetBeginGroup()) << "Begin a Group was chosen for Save";
    EXPECT_TRUE(frame.commands.empty());
}

// The screen pixels of a rectangle, row by row.
std::vector<COLORREF> ScreenPixels(const CRect& rc)
{
    std::vector<COLORREF> pixels;
    HDC hdc = ::GetDC(NULL);
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++)
            pixels.push_back(::GetPixel(hdc, x, y));
    ::ReleaseDC(NULL, hdc);
    return pixels;
}

COLORREF ScreenPixel(CPoint pt) { return ScreenPixels(CRect(pt, CSize(1, 1)))[0]; }

const COLORREF kRed = RGB(255, 0, 0);

// The visible "Button Editor" of a thread.
HWND FindButtonEditor(DWORD dwThread)
{
    HWND hFound = NULL;
    ::EnumThreadWindows(
        dwThread,
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            char szTitle[64] = "";
            ::GetWindowTextA(hWnd, szTitle, (int)sizeof(szTitle));
            if (::IsWindowVisible(hWnd) && strcmp(szTitle, "Button Editor") == 0) {
                *reinterpret_cast<HWND*>(lParam) = hWnd;
                return FALSE;
            }
            return TRUE;
        },
        (LPARAM)&hFound);
    return hFound;
}

// The centre of a child of the editor, or of a toolbar button, on the screen.
CPoint ChildCentre(HWND hDlg, int nID)
{
    CRect rc;
    ::GetWindowRect(::GetDlgItem(hDlg, nID), &rc);
    return rc.CenterPoint();
}

CPoint ToolButtonCentre(HWND hDlg, UINT nCommand)
{
    HWND hBar = ::GetDlgItem(hDlg, QX_CID_EDITOR_TOOLS + 1000);
    int nIndex = (int)::SendMessageA(hBar, TB_COMMANDTOINDEX, nCommand, 0);
    CRect rc;
    ::SendMessageA(hBar, TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)&rc);
    CPoint pt = rc.CenterPoint();
    ::ClientToScreen(hBar, &pt);
    return pt;
}

class ButtonEditorTest : public CustomizeMenuTest {
protected:
    // Opens the editor on Save through the menu command, paints three
    // cells of the top row red with the pencil, undoes the last one, takes
    // a screenshot and ends with the button nEnd (IDOK or IDCANCEL).
    void EditSave(int nEnd, const std::string& strShot)
    {
        pBars->SetDragControl(pSave);
        bFound = bPainted = bUndone = false;
        const DWORD dwThread = ::GetCurrentThreadId();
        InputThread input(dwThread);
        input.Run([&](InputThread& in) {
            ::PostMessageA(sheet.GetSafeHwnd(), WM_COMMAND, QX_ID_CUSTOMIZE_EDITIMAGE, 0);
            HWND hDlg = NULL;
            bFound = in.WaitFor([&] { return (hDlg = FindButtonEditor(dwThread)) != NULL; });
            if (!bFound)
                return;
            HWND hCanvas = ::GetDlgItem(hDlg, QX_CID_EDITOR_CANVAS);
            in.WaitFor([&] { return !::GetUpdateRect(hCanvas, NULL, FALSE); });
            CRect rcCanvas;
            ::GetWindowRect(hCanvas, &rcCanvas);
            const int nCell = (rcCanvas.Width() - 1) / 16;
            auto cell = [&](int x, int y) {
                return CPoint(rcCanvas.left + x * nCell + nCell / 2, rcCanvas.top + y * nCell + nCell / 2);
            };
            // The red swatch, then three strokes, each seen on the screen
            // (a cell that was red is erased).
            CPoint ptRed = ChildCentre(hDlg, 9916);
            in.Mouse(ptRed, MOUSEEVENTF_LEFTDOWN);
            in.Mouse(ptRed, MOUSEEVENTF_LEFTUP);
            COLORREF clrBefore[3] = {}, clrAfter[3] = {};
            bPainted = true;
            for (int x = 0; x < 3 && bPainted; x++) {
                clrBefore[x] = ScreenPixel(cell(x, 0));
                in.Mouse(cell(x, 0), MOUSEEVENTF_LEFTDOWN);
                in.Mouse(cell(x, 0), MOUSEEVENTF_LEFTUP);
                bPainted = in.WaitFor([&] { return (clrAfter[x] = ScreenPixel(cell(x, 0))) != clrBefore[x]; });
            }
            // Undo takes the third away.
            CPoint ptUndo = ToolButtonCentre(hDlg, QX_IDS_EDITOR_UNDO);
            in.Mouse(ptUndo, MOUSEEVENTF_LEFTDOWN);
            in.Mouse(ptUndo, MOUSEEVENTF_LEFTUP);
            bUndone = bPainted && in.WaitFor([&] { return ScreenPixel(cell(2, 0)) == clrBefore[2]; }) &&
                      ScreenPixel(cell(1, 0)) == clrAfter[1];
            if (!strShot.empty()) {
                in.WaitFor([&] { return !::GetUpdateRect(hDlg, NULL, FALSE); });
                CRect rc;
                ::GetWindowRect(hDlg, &rc);
                qmtest::SaveScreenPng(rc, strShot);
            }
            CPoint ptEnd = ChildCentre(hDlg, nEnd);
            in.Mouse(ptEnd, MOUSEEVENTF_LEFTDOWN);
            in.Mouse(ptEnd, MOUSEEVENTF_LEFTUP);
            in.WaitFor([&] { return !::IsWindow(hDlg); });
        });
    }
    static QXPEditorPicture PictureOf(CQXPImageManager* pImages, UINT nID)
    {
        QXPEditorPicture picture;
        CQXPIconImage* pImage = pImages->GetImage(nID, 16);
        if (pImage)
            QxpPictureFromIcon(pImage->GetNormalIcon(), picture);
        return picture;
    }
    bool bFound = false, bPainted = false, bUndone = false;
};

TEST_F(ButtonEditorTest, PixelsDrawnInTheEditorBecomeTheButtonsPictureOnOk)
{
    const QXPEditorPicture original = PictureOf(pBars->GetImageManager(), ID_TEST_SAVE);
    ASSERT_EQ(16, original.nWidth);
    ASSERT_NE(kRed, original.Get(0, 0));
    ASSERT_NE(kRed, original.Get(1, 0));
    CRect rcButton = pSave->GetRect();
    pSave->GetParent()->ClientToScreen(&rcButton);
    const std::vector<COLORREF> before = ScreenPixels(rcButton);

    // Cancel changes nothing.
    EditSave(IDCANCEL, std::string());
    ASSERT_TRUE(bFound);
    EXPECT_TRUE(bPainted);
    EXPECT_TRUE(bUndone);
    EXPECT_EQ(0, pSave->m_nCustomIconId);

    std::string shot = qmtest::ScreenshotDir(QM_BIN_DIR) + "/button-editor.png";
    EditSave(IDOK, shot);
    printf("screenshot: %s\n", shot.c_str());
    ASSERT_TRUE(bFound);
    EXPECT_TRUE(bPainted);
    EXPECT_TRUE(bUndone);
    ASSERT_GT(pSave->m_nCustomIconId, 0);
    QXPEditorPicture edited = PictureOf(pBars->GetImageManager(), (UINT)pSave->m_nCustomIconId);
    ASSERT_EQ(16, edited.nWidth);
    EXPECT_EQ(kRed, edited.Get(0, 0));
    EXPECT_EQ(kRed, edited.Get(1, 0));
    EXPECT_EQ(original.Get(2, 0), edited.Get(2, 0)) << "the third stroke was undone";
    EXPECT_EQ(original.Get(8, 8), edited.Get(8, 8));
    EXPECT_TRUE(frame.commands.empty());
    // The button on the screen shows it.
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixels(rcButton) != before; }));

    // Edited again: the custom picture is changed in place.
    const int nCustom = pSave->m_nCustomIconId;
    EditSave(IDOK, std::string());
    EXPECT_EQ(nCustom, pSave->m_nCustomIconId);
    edited = PictureOf(pBars->GetImageManager(), (UINT)nCustom);
    EXPECT_NE(kRed, edited.Get(0, 0)) << "the pencil on red erases";
}

TEST_F(CustomizeMenuTest, ThePaletteShowsTheStockPicturesAndAPickedOneBecomesThePicture)
{
    CQXPPopupBar* pBar = pMenu->GetContextBar();
    ASSERT_NE(nullptr, pBar);
    CQXPControl* pChange = pBar->GetControl(7);
    ASSERT_EQ(QX_ID_CUSTOMIZE_CHANGEIMAGE, pChange->GetID());
    CQXPCommandBar* pPalette = pChange->GetCommandBar();
    ASSERT_NE(nullptr, pPalette);
    std::string shot = qmtest::ScreenshotDir(QM_BIN_DIR) + "/customize-palette.png";
    bool bShown = false, bPalette = false;
    InputThread input(::GetCurrentThreadId());
    input.Run([&](InputThread& in) {
        HWND hPopup = RightClickForMenu(in, pSave);
        bShown = hPopup != NULL;
        if (!bShown)
            return;
        ClickOn(in, pChange);
        HWND hPalette = NULL;
        bPalette = in.WaitFor([&] {
            hPalette = pPalette->GetSafeHwnd();
            return hPalette && ::IsWindowVisible(hPalette) && pPalette->GetControlCount() == pMenu->GetStockCount() &&
                   !::GetUpdateRect(hPalette, NULL, FALSE);
        });
        if (!bPalette)
            return;
        CRect rc;
        ::GetWindowRect(hPalette, &rc);
        qmtest::SaveScreenPng(rc, shot);
        ClickOn(in, pPalette->GetControl(2));
        in.WaitFor([&] { return !::IsWindowVisible(hPopup); });
    });
    printf("screenshot: %s\n", shot.c_str());
    ASSERT_TRUE(bShown);
    ASSERT_TRUE(bPalette);
    ASSERT_GT(pSave->m_nCustomIconId, 0);
    QXPEditorPicture picked, stock;
    ASSERT_TRUE(QxpPictureFromIcon(
        pBars->GetImageManager()->GetImage((UINT)pSave->m_nCustomIconId, 16)->GetNormalIcon(), picked));
    ASSERT_TRUE(QxpPictureFromIcon(pMenu->GetStockImages()->GetImage(3, 16)->GetNormalIcon(), stock));
    EXPECT_EQ(stock, picked) << "the third stock picture";
    EXPECT_TRUE(frame.commands.empty());
}

// ---------------------------------------------------------------------------
// Clicks while customizing, through a thread mouse hook as the customize
// dialog installs one.

namespace {

CQXPCommandBars* s_pHookBars = NULL;
HHOOK s_hMouseHook = NULL;

LRESULT CALLBACK CustomizeMouseHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode >= 0) {
        const MOUSEHOOKSTRUCT* pInfo = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        if (!QxpCustomizeMousePasses(s_pHookBars, NULL, (UINT)wParam, pInfo->hwnd))
            return 1;
    }
    return ::CallNextHookEx(s_hMouseHook, nCode, wParam, lParam);
}

} // namespace

TEST_F(CustomizeTest, ClicksOnTheEditingWindowAreSwallowedAndBarsStillSelect)
{
    // The editing window: a child of the frame beside the bars.
    CRect rcClient;
    frame.GetClientRect(&rcClient);
    HWND hEdit = ::CreateWindowExA(0, "Edit", "text", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, rcClient.bottom - 80, 200,
                                   40, frame.GetSafeHwnd(), NULL, NULL, NULL);
    ASSERT_NE(nullptr, hEdit);
    ::SetFocus(frame.GetSafeHwnd());
    pBars->SetCustomizeMode(TRUE);
    s_pHookBars = pBars;
    s_hMouseHook = ::SetWindowsHookExA(WH_MOUSE, CustomizeMouseHook, NULL, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, s_hMouseHook);

    EXPECT_FALSE(QxpCustomizeMousePasses(pBars, NULL, WM_LBUTTONDOWN, hEdit));
    EXPECT_TRUE(QxpCustomizeMousePasses(pBars, NULL, WM_MOUSEMOVE, hEdit));
    EXPECT_TRUE(QxpCustomizeMousePasses(pBars, NULL, WM_LBUTTONDOWN, frame.m_pStandard->GetSafeHwnd()));
    EXPECT_TRUE(QxpCustomizeMousePasses(pBars, NULL, WM_LBUTTONDOWN, ::GetDesktopWindow()));

    CRect rcEdit;
    ::GetWindowRect(hEdit, &rcEdit);
    CQXPControl* pSave = Find(frame.m_pStandard, ID_TEST_SAVE);
    InputThread input(::GetCurrentThreadId());
    input.Run([&](InputThread& in) {
        in.Mouse(rcEdit.CenterPoint(), MOUSEEVENTF_LEFTDOWN);
        in.Mouse(rcEdit.CenterPoint(), MOUSEEVENTF_LEFTUP);
        // The toolbar still takes its click (a drag loop that ends at once).
        in.Mouse(On(pSave), MOUSEEVENTF_LEFTDOWN);
        in.WaitForCapture();
        in.Mouse(On(pSave), MOUSEEVENTF_LEFTUP);
        in.WaitForNoCapture();
    });
    ::UnhookWindowsHookEx(s_hMouseHook);
    s_hMouseHook = NULL;
    EXPECT_NE(hEdit, ::GetFocus()) << "the click reached the editing window";
    EXPECT_EQ(pSave, pBars->GetDragControl());
    ::DestroyWindow(hEdit);
}
