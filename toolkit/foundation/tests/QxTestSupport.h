// Helpers shared by the foundation tests: a private registry profile, a
// private temporary folder, raw registry access and small pixel helpers.
#pragma once

#include <fx/fx.h>
#include <qmtest/archivebytes.h>
#include <qmtest/files.h>
#include <qmtest/registry.h>
#include <qx/visualstyles.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace qxtest {

using qmtest::Bytes;

using qmtest::TempDir;
using qmtest::UniqueName;
using qmtest::WriteFileBytes;

// An application object with a registry key of its own under
// HKCU\Software, removed with everything below it afterwards.
class RegistryApp : public qmtest::RegistryApp {
public:
    RegistryApp() : qmtest::RegistryApp("QxTest", "QxApp") {}
    void SetRaw(const char* section, const char* entry, DWORD type, const void* p, DWORD cb) const
    {
        ASSERT_TRUE(qmtest::RegistryApp::SetRaw(section, entry, type, p, cb));
    }
};

inline std::string ReadFileText(const std::string& path) { return qmtest::ReadFileBytes(path); }

using qmtest::Hex;
using qmtest::LoadBytes;
using qmtest::StoreBytes;

// --- 32-bit pixels ------------------------------------------------------------

// A top-down 32-bit DIB section with its bits.
inline HBITMAP MakeDib32(int cx, int cy, DWORD** ppBits, bool bTopDown = true)
{
    BITMAPINFO bmi;
    ZeroMemory(&bmi, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = bTopDown ? -cy : cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pv = NULL;
    HBITMAP h = CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &pv, NULL, 0);
    if (ppBits)
        *ppBits = static_cast<DWORD*>(pv);
    return h;
}

// The pixels of any bitmap as top-down 0xAARRGGBB words.
inline std::vector<DWORD> Pixels(HBITMAP hbm, int* pcx = NULL, int* pcy = NULL)
{
    std::vector<DWORD> out;
    BITMAP bm;
    if (!GetObjectA(hbm, sizeof(bm), &bm))
        return out;
    BITMAPINFO bmi;
    ZeroMemory(&bmi, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = bm.bmWidth;
    bmi.bmiHeader.biHeight = -bm.bmHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    out.resize((size_t)bm.bmWidth * bm.bmHeight);
    HDC hdc = GetDC(NULL);
    GetDIBits(hdc, hbm, 0, bm.bmHeight, out.data(), &bmi, DIB_RGB_COLORS);
    ReleaseDC(NULL, hdc);
    if (pcx)
        *pcx = bm.bmWidth;
    if (pcy)
        *pcy = bm.bmHeight;
    return out;
}

} // namespace qxtest

namespace qxtest {

// The stand-in visual-styles library (qxfakeux.dll, built with the tests).
class FakeUx {
public:
    FakeUx()
    {
        m_h = LoadLibraryA("qxfakeux.dll");
        if (m_h) {
            m_configure = (Configure)(void*)GetProcAddress(m_h, "FakeUxConfigure");
            m_counters = (Counters)(void*)GetProcAddress(m_h, "FakeUxCounters");
        }
    }
    ~FakeUx()
    {
        if (m_h)
            FreeLibrary(m_h);
    }
    bool Loaded() const { return m_h && m_configure && m_counters; }
    void Set(const wchar_t* file, const wchar_t* scheme, bool active = true, bool nameFails = false,
             COLORREF border = 0x00112233)
    {
        m_configure(file, scheme, active, nameFails, border);
    }
    LONG Opens() const
    {
        LONG o = 0;
        m_counters(&o, NULL, NULL, 0);
        return o;
    }
    LONG Closes() const
    {
        LONG c = 0;
        m_counters(NULL, &c, NULL, 0);
        return c;
    }
    std::wstring LastClass() const
    {
        wchar_t buf[64] = L"";
        m_counters(NULL, NULL, buf, 64);
        return buf;
    }
    HMODULE Handle() const { return m_h; }

    // One part drawn through the library (DrawThemeBackground fills its
    // rectangle in PartColor, the top row in EdgeColor).
    struct Drawn {
        std::wstring cls;
        int part = 0, state = 0;
        RECT rc = {0, 0, 0, 0};
    };
    std::vector<Drawn> Draws() const
    {
        typedef LONG(WINAPI * Fn)(LONG, wchar_t*, int, int*, int*, RECT*);
        Fn fn = (Fn)(void*)GetProcAddress(m_h, "FakeUxDrawn");
        std::vector<Drawn> out;
        wchar_t cls[32];
        Drawn d;
        for (LONG i = 0, n = fn(-1, cls, 32, &d.part, &d.state, &d.rc); i < n; ++i) {
            fn(i, cls, 32, &d.part, &d.state, &d.rc);
            d.cls = cls;
            out.push_back(d);
        }
        return out;
    }
    void ResetDraws() const { ((void(WINAPI*)())(void*)GetProcAddress(m_h, "FakeUxResetDrawn"))(); }
    void SetColor(int part, int state, int prop, COLORREF clr) const
    {
        ((void(WINAPI*)(int, int, int, COLORREF))(void*)GetProcAddress(m_h, "FakeUxSetColor"))(part, state, prop, clr);
    }
    COLORREF PartColor(int part, int state) const
    {
        return ((COLORREF(WINAPI*)(int, int))(void*)GetProcAddress(m_h, "FakeUxPartColor"))(part, state);
    }
    COLORREF EdgeColor() const { return ((COLORREF(WINAPI*)())(void*)GetProcAddress(m_h, "FakeUxEdgeColor"))(); }
    // Makes the named entry point fault when called (NULL: none, "*": all);
    // returns the number of faults raised so far.
    LONG Fault(const char* name) const
    {
        return ((LONG(WINAPI*)(const char*))(void*)GetProcAddress(m_h, "FakeUxFault"))(name);
    }

private:
    typedef void(WINAPI* Configure)(const wchar_t*, const wchar_t*, BOOL, BOOL, COLORREF);
    typedef void(WINAPI* Counters)(LONG*, LONG*, wchar_t*, int);
    HMODULE m_h = NULL;
    Configure m_configure = NULL;
    Counters m_counters = NULL;
};

// Points the visual-styles wrapper at the stand-in library for a scope;
// afterwards no entry point faults and the wrapper uses the real library.
struct FakeUxInUse {
    explicit FakeUxInUse(const FakeUx& fake) : f(fake) { CVisualStyleTheme::SetLibrary("qxfakeux.dll"); }
    ~FakeUxInUse()
    {
        f.Fault(NULL);
        CVisualStyleTheme::SetLibrary(NULL);
    }
    FakeUxInUse(const FakeUxInUse&) = delete;
    FakeUxInUse& operator=(const FakeUxInUse&) = delete;
    const FakeUx& f;
};

} // namespace qxtest
