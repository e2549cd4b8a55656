// Message pumping for tests that drive real windows.
#pragma once

#include <windows.h>

#include <functional>

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

// Handles messages until pred holds, giving each to preTranslate first (when
// given) as a program's message loop does (a frame's PreTranslateMessage):
// a message it takes is not dispatched. False when the time ran out first.
inline bool PumpUntilTranslated(const std::function<bool()>& pred, const std::function<bool(MSG*)>& preTranslate,
                                DWORD dwTimeoutMs = 5000)
{
    DWORD dwStart = ::GetTickCount();
    while (!pred()) {
        if (::GetTickCount() - dwStart > dwTimeoutMs)
            return false;
        MSG msg;
        if (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT || (preTranslate && preTranslate(&msg)))
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        } else {
            ::MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
        }
    }
    return true;
}

// Handles messages until pred holds; false when the time ran out first.
inline bool PumpUntil(const std::function<bool()>& pred, DWORD dwTimeoutMs = 5000)
{
    return PumpUntilTranslated(pred, nullptr, dwTimeoutMs);
}

} // namespace qmtest
