// qmtest/mouse.h - real mouse input (SendInput) at screen points: clicks,
// double clicks and drags. The window under the point must be able to take
// the input (foreground, not covered). Between the steps of a drag the
// caller's wait runs: a test that owns the windows pumps its messages there,
// one that drives another program just sleeps.
#pragma once

#include <windows.h>

#include <functional>

namespace qmtest {

// One mouse event at a screen point: the event carries the point itself
// (absolute coordinates), so it cannot land where the cursor was before.
inline void MouseEventAt(POINT ptScreen, DWORD dwFlags)
{
    ::SetCursorPos(ptScreen.x, ptScreen.y);
    int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = cx > 1 ? (LONG)((ptScreen.x * 65535LL + (cx - 1) / 2) / (cx - 1)) : 0;
    in.mi.dy = cy > 1 ? (LONG)((ptScreen.y * 65535LL + (cy - 1) / 2) / (cy - 1)) : 0;
    in.mi.dwFlags = dwFlags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof(in));
}

// A click of the left button (bRight: the right one) at a screen point.
inline void ClickAt(POINT ptScreen, bool bRight = false)
{
    MouseEventAt(ptScreen, bRight ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    MouseEventAt(ptScreen, bRight ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

// Two clicks a moment apart, well within the double-click time.
inline void DoubleClickAt(POINT ptScreen)
{
    ClickAt(ptScreen);
    ::Sleep(40);
    ClickAt(ptScreen);
}

// Presses the left button at one point, moves in nSteps steps to another
// (waiting between them) and releases it there.
inline void DragFromTo(POINT ptFrom, POINT ptTo, const std::function<void(DWORD)>& wait, int nSteps = 12)
{
    MouseEventAt(ptFrom, MOUSEEVENTF_LEFTDOWN);
    wait(50);
    for (int i = 1; i <= nSteps; ++i) {
        POINT pt = {ptFrom.x + (ptTo.x - ptFrom.x) * i / nSteps, ptFrom.y + (ptTo.y - ptFrom.y) * i / nSteps};
        MouseEventAt(pt, MOUSEEVENTF_MOVE);
        wait(30);
    }
    wait(100);
    MouseEventAt(ptTo, MOUSEEVENTF_LEFTUP);
    wait(100);
}

} // namespace qmtest
