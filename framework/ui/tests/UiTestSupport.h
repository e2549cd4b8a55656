// Helpers shared by the window-half framework tests.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <qmtest/messageboxes.h>

#include <cstdarg>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace uitest {

// An event log the test windows write to.
class Log {
public:
    static std::vector<std::string>& Lines()
    {
        static std::vector<std::string> s_lines;
        return s_lines;
    }
    static void Clear() { Lines().clear(); }
    static void Add(const char* fmt, ...)
    {
        char buf[512];
        va_list args;
        va_start(args, fmt);
        vsnprintf(buf, sizeof(buf), fmt, args);
        va_end(args);
        Lines().push_back(buf);
    }
    static std::string Last() { return Lines().empty() ? std::string() : Lines().back(); }
    static std::string Joined()
    {
        std::string s;
        for (const std::string& l : Lines()) {
            if (!s.empty())
                s += " | ";
            s += l;
        }
        return s;
    }
    static bool Contains(const std::string& line)
    {
        for (const std::string& l : Lines())
            if (l == line)
                return true;
        return false;
    }
};

// Dispatches the thread's messages (through the framework's pump) until
// pred holds or the time runs out; TRUE when pred held.
inline bool PumpUntil(const std::function<bool()>& pred, DWORD dwTimeoutMs = 5000)
{
    DWORD dwStart = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - dwStart > dwTimeoutMs)
            return false;
        MSG msg;
        if (PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            if (msg.message == WM_QUIT) {
                PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE);
                continue;
            }
            AfxPumpMessage();
        } else {
            MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
        }
    }
    return true;
}

inline void PumpFor(DWORD dwMs)
{
    DWORD dwStart = GetTickCount();
    PumpUntil([&] { return GetTickCount() - dwStart >= dwMs; }, dwMs + 1000);
}

// A text of a window, read back.
inline std::string TextOf(HWND hWnd)
{
    char buf[1024] = "";
    GetWindowTextA(hWnd, buf, sizeof(buf));
    return buf;
}

// A top-level pop-up window class for tests (no frame, not shown).
inline LPCSTR TestClass() { return AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(NULL, IDC_ARROW)); }

} // namespace uitest
