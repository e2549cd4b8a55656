// Message pumping for tests that drive real windows.
#pragma once

#include <windows.h>

namespace qmtest {

// Handles every message waiting for this thread.
inline void PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Handles messages for a while, so timers and posted work get their turn.
inline void PumpFor(DWORD dwMilliseconds)
{
    DWORD dwStart = ::GetTickCount();
    while (::GetTickCount() - dwStart < dwMilliseconds) {
        PumpMessages();
        ::Sleep(5);
    }
    PumpMessages();
}

} // namespace qmtest
