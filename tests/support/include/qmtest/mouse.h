// Real mouse input for tests that need the system's own pointer handling
// (capture, non-client hit tests, drags, double clicks, popup menus).
// MouseAt puts the pointer on a screen point, sends one event and handles
// the thread's messages. The others send events that carry their point
// (absolute coordinates, so none lands where the pointer was before) and
// handle no messages: a test that owns the windows sends them from a second
// thread while it handles its messages (a drag or a menu runs a modal loop
// of its own), one that drives another program just sends them.
#pragma once

#include <windows.h>

#include <qmtest/pump.h>

#include <functional>

namespace qmtest {

// dwFlags: MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_MOVE ...
// (0: only moves the pointer).
inline void MouseAt(POINT ptScreen, DWORD dwFlags, DWORD dwPumpMs = 60)
{
    ::SetCursorPos(ptScreen.x, ptScreen.y);
    if (dwFlags) {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = dwFlags;
        ::SendInput(1, &in, sizeof(in));
    }
    PumpFor(dwPumpMs);
}

// One mouse event at a screen point, the point carried by the event.
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

// Moves the pointer to the screen's bottom-right corner, away from the
// windows tests make: a test whose bars light up under the pointer starts
// with nothing hot, whatever the test before it clicked last.
inline void ParkPointer()
{
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
}

// Sets or clears the left button in this thread's key state, as controls
// read it with GetKeyState while posted mouse messages drive them.
inline void SetLeftButtonState(bool bDown)
{
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_LBUTTON] = bDown ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

} // namespace qmtest
