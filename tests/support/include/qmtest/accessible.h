// Reading accessible objects back the way a screen reader would: child ids
// as VARIANTs, names as narrow strings, roles, states, counts, locations and
// child objects. A failed call gives a marker value the test can compare.
#pragma once

#include <windows.h>

#include <oleacc.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace qmtest {

// The narrow text of a BSTR, which is freed.
inline std::string Narrow(BSTR bstr)
{
    std::string s;
    if (!bstr)
        return s;
    const int n = ::WideCharToMultiByte(CP_ACP, 0, bstr, (int)::SysStringLen(bstr), NULL, 0, NULL, NULL);
    s.resize((size_t)n);
    if (n > 0)
        ::WideCharToMultiByte(CP_ACP, 0, bstr, (int)::SysStringLen(bstr), &s[0], n, NULL, NULL);
    ::SysFreeString(bstr);
    return s;
}

// A child id (CHILDID_SELF for the object itself).
inline VARIANT AccChild(long nChild)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = nChild;
    return v;
}

// "<none>" when the call fails or gives no name.
inline std::string AccName(IAccessible* p, long nChild)
{
    BSTR b = NULL;
    if (FAILED(p->get_accName(AccChild(nChild), &b)) || !b)
        return "<none>";
    return Narrow(b);
}

// -1 when the call fails or answers no number.
inline long AccRole(IAccessible* p, long nChild)
{
    VARIANT v;
    return SUCCEEDED(p->get_accRole(AccChild(nChild), &v)) && v.vt == VT_I4 ? v.lVal : -1;
}
inline long AccState(IAccessible* p, long nChild)
{
    VARIANT v;
    return SUCCEEDED(p->get_accState(AccChild(nChild), &v)) && v.vt == VT_I4 ? v.lVal : -1;
}
inline long AccChildCount(IAccessible* p)
{
    long n = -1;
    return SUCCEEDED(p->get_accChildCount(&n)) ? n : -1;
}

// Screen coordinates; empty when the call fails.
inline RECT AccLocation(IAccessible* p, long nChild)
{
    long x = 0, y = 0, cx = 0, cy = 0;
    RECT rc = {0, 0, 0, 0};
    if (SUCCEEDED(p->accLocation(&x, &y, &cx, &cy, AccChild(nChild))))
        rc = {x, y, x + cx, y + cy};
    return rc;
}

// The child's own object with one reference for the caller; NULL when the
// child is a simple element or the call fails.
inline IAccessible* AccChildObject(IAccessible* p, long nChild)
{
    IDispatch* pDispatch = NULL;
    if (p->get_accChild(AccChild(nChild), &pDispatch) != S_OK || !pDispatch)
        return NULL;
    IAccessible* pAcc = NULL;
    pDispatch->QueryInterface(IID_IAccessible, (void**)&pAcc);
    pDispatch->Release();
    return pAcc;
}

// The focus events (EVENT_OBJECT_FOCUS) this process raises while the
// recorder lives; Seen asks for one of a window, object and child.
class FocusEventRecorder {
public:
    struct Event {
        HWND hWnd;
        LONG idObject;
        LONG idChild;
    };
    FocusEventRecorder()
    {
        Events().clear();
        m_hHook = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, NULL, OnEvent, ::GetCurrentProcessId(), 0,
                                    WINEVENT_OUTOFCONTEXT);
    }
    ~FocusEventRecorder()
    {
        if (m_hHook)
            ::UnhookWinEvent(m_hHook);
    }
    FocusEventRecorder(const FocusEventRecorder&) = delete;
    FocusEventRecorder& operator=(const FocusEventRecorder&) = delete;
    bool Hooked() const { return m_hHook != NULL; }
    void Clear() { Events().clear(); }
    bool Seen(HWND hWnd, LONG idObject, LONG idChild) const
    {
        for (const Event& e : Events())
            if (e.hWnd == hWnd && e.idObject == idObject && e.idChild == idChild)
                return true;
        return false;
    }

private:
    static std::vector<Event>& Events()
    {
        static std::vector<Event> s_events;
        return s_events;
    }
    static void CALLBACK OnEvent(HWINEVENTHOOK, DWORD dwEvent, HWND hWnd, LONG idObject, LONG idChild, DWORD, DWORD)
    {
        if (dwEvent == EVENT_OBJECT_FOCUS)
            Events().push_back(Event{hWnd, idObject, idChild});
    }
    HWINEVENTHOOK m_hHook = NULL;
};

} // namespace qmtest
