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

} // namespace qmtest
