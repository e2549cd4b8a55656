// A stand-in for the visual-styles library, loaded by name by the tests: it
// answers the entry points the toolkit binds with configurable results and
// counts the calls, so theme detection and binding can be checked without a
// themed desktop.
#include <windows.h>

#include <cwchar>

#define FAKE_API extern "C" __declspec(dllexport)

namespace {
wchar_t g_file[260] = L"";
wchar_t g_scheme[260] = L"";
BOOL g_active = FALSE;
BOOL g_nameFails = FALSE;
COLORREF g_border = 0;
LONG g_opens = 0;
LONG g_closes = 0;
LONG g_nextHandle = 0x100;
wchar_t g_lastClass[64] = L"";
} // namespace

// Test control.
FAKE_API void WINAPI FakeUxConfigure(const wchar_t* file, const wchar_t* scheme, BOOL active, BOOL nameFails,
                                     COLORREF border)
{
    lstrcpynW(g_file, file ? file : L"", 260);
    lstrcpynW(g_scheme, scheme ? scheme : L"", 260);
    g_active = active;
    g_nameFails = nameFails;
    g_border = border;
}

FAKE_API void WINAPI FakeUxCounters(LONG* opens, LONG* closes, wchar_t* lastClass, int cch)
{
    if (opens)
        *opens = g_opens;
    if (closes)
        *closes = g_closes;
    if (lastClass)
        lstrcpynW(lastClass, g_lastClass, cch);
}

// The library's entry points.
FAKE_API HANDLE WINAPI OpenThemeData(HWND, LPCWSTR classList)
{
    InterlockedIncrement(&g_opens);
    lstrcpynW(g_lastClass, classList ? classList : L"", 64);
    return (HANDLE)(INT_PTR)InterlockedIncrement(&g_nextHandle);
}

FAKE_API HRESULT WINAPI CloseThemeData(HANDLE)
{
    InterlockedIncrement(&g_closes);
    return S_OK;
}

FAKE_API HRESULT WINAPI DrawThemeBackground(HANDLE, HDC, int, int, const RECT*, const RECT*) { return S_OK; }

FAKE_API HRESULT WINAPI GetThemeColor(HANDLE, int part, int state, int prop, COLORREF* color)
{
    if (part == 0 && state == 0 && prop == 3801 && color) {
        *color = g_border;
        return S_OK;
    }
    return E_FAIL;
}

FAKE_API BOOL WINAPI GetThemeSysBool(HANDLE, int) { return TRUE; }

FAKE_API HRESULT WINAPI GetCurrentThemeName(LPWSTR file, int cchFile, LPWSTR color, int cchColor, LPWSTR size,
                                            int cchSize)
{
    if (g_nameFails)
        return E_FAIL;
    if (file)
        lstrcpynW(file, g_file, cchFile);
    if (color)
        lstrcpynW(color, g_scheme, cchColor);
    if (size)
        lstrcpynW(size, L"NormalSize", cchSize);
    return S_OK;
}

FAKE_API BOOL WINAPI IsAppThemed() { return g_active; }

FAKE_API BOOL WINAPI IsThemeActive() { return g_active; }
