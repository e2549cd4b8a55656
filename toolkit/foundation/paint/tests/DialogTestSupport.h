// Helpers of the window tests: in-memory dialog templates, an application
// object with a registry key of its own, and message pumping.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <gtest/gtest.h>

#include "PrintSupport.h"

#include <qmtest/files.h>
#include <qmtest/pump.h>
#include <qmtest/registry.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace dlgtest {

// A DLGTEMPLATE with its items, built in memory (dialog units).
class DialogTemplate {
public:
    DialogTemplate(DWORD dwStyle, short x, short y, short cx, short cy, const char* title)
    {
        Align(2);
        Put32(dwStyle | DS_SETFONT);
        Put32(0); // extended style
        m_countAt = m_data.size();
        Put16(0); // item count
        Put16(x);
        Put16(y);
        Put16(cx);
        Put16(cy);
        Put16(0); // no menu
        Put16(0); // default class
        PutString(title);
        Put16(8);
        PutString("MS Shell Dlg");
    }
    // Predefined classes: 0x80 button, 0x81 edit, 0x82 static, 0x83 list
    // box, 0x84 scroll bar, 0x85 combo box.
    void Add(WORD wClassAtom, WORD id, DWORD dwStyle, short x, short y, short cx, short cy, const char* text = "",
             DWORD dwExStyle = 0)
    {
        Align(4);
        Put32(dwStyle | WS_CHILD | WS_VISIBLE);
        Put32(dwExStyle);
        Put16(x);
        Put16(y);
        Put16(cx);
        Put16(cy);
        Put16(id);
        Put16(0xFFFF);
        Put16(wClassAtom);
        PutString(text);
        Put16(0); // no creation data
        ++m_data[m_countAt];
    }
    LPCDLGTEMPLATEA Get()
    {
        m_copy.assign(m_data.begin(), m_data.end());
        return (LPCDLGTEMPLATEA)m_copy.data();
    }

private:
    void Put16(WORD w) { m_data.push_back(w); }
    void Put32(DWORD d)
    {
        Put16(LOWORD(d));
        Put16(HIWORD(d));
    }
    void PutString(const char* s)
    {
        for (; *s; ++s)
            Put16((WORD)(BYTE)*s);
        Put16(0);
    }
    void Align(size_t n)
    {
        while ((m_data.size() * 2) % n)
            Put16(0);
    }
    std::vector<WORD> m_data;
    std::vector<WORD> m_copy;
    size_t m_countAt = 0;
};

using qmtest::PumpFor;
using qmtest::PumpMessages;
using qmtest::UniqueName;

// An application object whose profile lives under a key of its own
// (HKCU\Software\<unique>\QxpApp), removed afterwards.
class RegistryApp : public qmtest::RegistryApp {
public:
    RegistryApp() : qmtest::RegistryApp("QxpTest", "QxpApp") {}
};

// A child's rectangle in its parent's client coordinates.
inline CRect ChildRect(HWND hParent, int nID)
{
    CRect rc;
    HWND h = ::GetDlgItem(hParent, nID);
    if (!h)
        return CRect(-1, -1, -1, -1);
    ::GetWindowRect(h, &rc);
    ::MapWindowPoints(NULL, hParent, (LPPOINT)&rc, 2);
    return rc;
}

// Resizes a window so that its client area grows by (dx, dy).
inline void GrowClient(HWND hWnd, int dx, int dy)
{
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    ::SetWindowPos(hWnd, NULL, 0, 0, rc.Width() + dx, rc.Height() + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

inline CSize ClientSize(HWND hWnd)
{
    CRect rc;
    ::GetClientRect(hWnd, &rc);
    return rc.Size();
}

} // namespace dlgtest
