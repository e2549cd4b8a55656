// Real mouse input for tests that need the system's own pointer handling
// (capture, non-client hit tests): the pointer is put on a screen point and
// one SendInput event follows, then the thread's messages are handled.
#pragma once

#include <windows.h>

#include <qmtest/pump.h>

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
