// Helpers of the colour picker tests: the framework's pump (so controls get
// their PreTranslateMessage, as in the program), a script of steps run from
// a timer (so they go on inside modal loops), real mouse and key input, a
// message-box recorder and screen pixels.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <gtest/gtest.h>

#include <qmtest/pump.h>
#include <qmtest/screenshot.h>
#include <qmtest/script.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace colortest {

// One message round through the framework's translation, as the program's
// loop and every modal loop do it.
inline void PumpFx(DWORD dwMilliseconds = 0)
{
    const DWORD dwStart = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            if (!AfxPreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        if (dwMilliseconds)
            ::MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
    } while (::GetTickCount() - dwStart < dwMilliseconds);
}

inline bool PumpFxUntil(const std::function<bool()>& pred, DWORD dwTimeout = 3000)
{
    const DWORD dwStart = ::GetTickCount();
    while (!pred()) {
        if (::GetTickCount() - dwStart > dwTimeout)
            return false;
        PumpFx(10);
    }
    return true;
}

// The test kit's script of timer-driven steps, pumped through the
// framework's translation.
class Script : public qmtest::Script {
public:
    Script() : qmtest::Script([](DWORD dwMilliseconds) { PumpFx(dwMilliseconds); }) {}
};

// A left click (or double click) at a screen point, through SendInput.
inline void ClickAt(POINT pt, bool bDouble = false)
{
    ::SetCursorPos(pt.x, pt.y);
    INPUT in[4] = {};
    for (INPUT& i : in)
        i.type = INPUT_MOUSE;
    in[0].mi.dwFlags = in[2].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = in[3].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(bDouble ? 4 : 2, in, sizeof(INPUT));
}

inline POINT ClientCentre(HWND hWnd, const RECT& rc)
{
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ::ClientToScreen(hWnd, &pt);
    return pt;
}

inline void PressKey(WORD vk)
{
    qmtest::KeyStroke(vk);
}

// What the display shows at a screen point.
inline COLORREF ScreenPixel(POINT pt)
{
    HDC hdc = ::GetDC(NULL);
    const COLORREF clr = ::GetPixel(hdc, pt.x, pt.y);
    ::ReleaseDC(NULL, hdc);
    return clr;
}

inline std::string WindowText(HWND hWnd)
{
    char sz[256] = "";
    ::GetWindowTextA(hWnd, sz, sizeof(sz));
    return sz;
}

// Records every framework message box and answers OK.
struct MessageBoxRecorder {
    std::vector<std::string> texts;
    MessageBoxRecorder() { fx::SetMessageBoxHook(Record, this); }
    ~MessageBoxRecorder() { fx::SetMessageBoxHook(NULL); }
    static int Record(LPCSTR lpszText, UINT, UINT, void* pContext)
    {
        static_cast<MessageBoxRecorder*>(pContext)->texts.push_back(lpszText ? lpszText : "");
        return IDOK;
    }
};

// A window's picture kept as a test artefact, with its path.
inline std::string SaveWindowPng(HWND hWnd, const char* name)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    ::InflateRect(&rc, 6, 6);
    std::string path = qmtest::ScreenshotDir(QM_BIN_DIR) + "/" + name + ".png";
    return qmtest::SaveScreenPng(rc, path) ? path : std::string();
}

} // namespace colortest
