// Steps of a test run from a thread timer, so that they go on inside the
// modal loops the program opens (a menu, a dialog, a tracked press), and the
// real mouse input they send.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <utility>

#include "pump.h"

namespace qmtest {

// Steps run one after another from a thread timer: each returns true when
// done (false: try again on the next tick). A step may open a modal loop;
// later steps run inside it.
class Script {
public:
    // pump: one round of message handling for about the given time (the
    // framework's translating pump, or plain PumpFor when none is given).
    explicit Script(std::function<void(DWORD)> pump = nullptr) : m_pump(std::move(pump)) {}

    void Add(std::function<bool()> step) { m_steps.push_back(std::move(step)); }
    void Then(std::function<void()> step)
    {
        m_steps.push_back([step] {
            step();
            return true;
        });
    }
    // Runs until every step is done or the time is up; true when done.
    // A body (a modal dialog's run) is called first: the steps run inside
    // its loop.
    bool Run(const std::function<void()>& body = nullptr, DWORD dwTimeout = 15000)
    {
        s_pCurrent = this;
        m_nTimer = ::SetTimer(NULL, 0, 60, OnTick);
        const DWORD dwStart = ::GetTickCount();
        if (body)
            body();
        while (!m_steps.empty() && ::GetTickCount() - dwStart < dwTimeout) {
            if (m_pump)
                m_pump(20);
            else
                PumpFor(20);
        }
        ::KillTimer(NULL, m_nTimer);
        s_pCurrent = nullptr;
        return m_steps.empty();
    }
    size_t Remaining() const { return m_steps.size(); }

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
    {
        Script* p = s_pCurrent;
        if (!p || p->m_steps.empty() || p->m_bBusy)
            return;
        p->m_bBusy = true;
        // A step may open a modal loop: take it off first so that later
        // ticks go on with the next step.
        std::function<bool()> step = p->m_steps.front();
        p->m_steps.pop_front();
        if (!step())
            p->m_steps.push_front(step);
        p->m_bBusy = false;
    }
    std::function<void(DWORD)> m_pump;
    std::deque<std::function<bool()>> m_steps;
    UINT_PTR m_nTimer = 0;
    bool m_bBusy = false;
    static Script* s_pCurrent;
};
inline Script* Script::s_pCurrent = nullptr;

// Real mouse input through SendInput: the pointer moves to a screen point
// (a move message follows), buttons go down or up where it is.
inline void MouseMoveTo(POINT pt)
{
    ::SetCursorPos(pt.x, pt.y);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = (LONG)(((LONGLONG)pt.x * 65536 + cx / 2) / cx);
    in.mi.dy = (LONG)(((LONGLONG)pt.y * 65536 + cy / 2) / cy);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof(INPUT));
}

// MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_RIGHTDOWN ...
inline void MouseButton(DWORD dwFlags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = dwFlags;
    ::SendInput(1, &in, sizeof(INPUT));
}

inline void KeyStroke(WORD vk)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
}

// A key pressed and released while a modifier (VK_SHIFT, VK_MENU ...) is held.
inline void KeyStrokeWith(WORD modifier, WORD vk)
{
    INPUT in[4] = {};
    for (INPUT& i : in)
        i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[3].ki.wVk = modifier;
    in[1].ki.wVk = in[2].ki.wVk = vk;
    in[2].ki.dwFlags = in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(4, in, sizeof(INPUT));
}

} // namespace qmtest
