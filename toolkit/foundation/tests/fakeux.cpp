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
// The entry point that faults when called ("*": every one), and how many
// calls have faulted.
char g_faulting[32] = "";
LONG g_faults = 0;
int* volatile g_nowhere = NULL;

// Called first by each entry point: writes through a null pointer when that
// entry point is set to fault.
void MaybeFault(const char* name)
{
    if (!g_faulting[0] || (lstrcmpA(g_faulting, "*") != 0 && lstrcmpA(g_faulting, name) != 0))
        return;
    InterlockedIncrement(&g_faults);
    *g_nowhere = 1;
}

// The class each handle was opened for, and the parts drawn with them.
struct Handle {
    HANDLE h;
    wchar_t cls[32];
};
Handle g_handles[256];
LONG g_handleCount = 0;
struct Draw {
    wchar_t cls[32];
    int part, state;
    RECT rc;
};
Draw g_draws[512];
LONG g_drawCount = 0;
// Colours by part, state and property (GetThemeColor).
struct Color {
    int part, state, prop;
    COLORREF clr;
};
Color g_colors[16];
LONG g_colorCount = 0;

const wchar_t* ClassOf(HANDLE h)
{
    for (LONG i = 0; i < g_handleCount; ++i)
        if (g_handles[i].h == h)
            return g_handles[i].cls;
    return L"";
}
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

// Makes an entry point fault (NULL or "": none; "*": all); returns the
// number of faults raised so far.
FAKE_API LONG WINAPI FakeUxFault(const char* name)
{
    lstrcpynA(g_faulting, name ? name : "", sizeof(g_faulting));
    return g_faults;
}

// The parts drawn since the last reset, in order; the count.
FAKE_API LONG WINAPI FakeUxDrawn(LONG index, wchar_t* cls, int cch, int* part, int* state, RECT* rc)
{
    if (index >= 0 && index < g_drawCount && index < 512) {
        lstrcpynW(cls, g_draws[index].cls, cch);
        *part = g_draws[index].part;
        *state = g_draws[index].state;
        *rc = g_draws[index].rc;
    }
    return g_drawCount;
}

FAKE_API void WINAPI FakeUxResetDrawn() { g_drawCount = 0; }

// A colour GetThemeColor answers for a part, state and property.
FAKE_API void WINAPI FakeUxSetColor(int part, int state, int prop, COLORREF clr)
{
    if (g_colorCount < 16)
        g_colors[g_colorCount++] = {part, state, prop, clr};
}

// The colour a drawn part fills its rectangle with (its outer edge, the top
// row, is marked in FakeUxEdgeColor).
FAKE_API COLORREF WINAPI FakeUxPartColor(int part, int state) { return RGB(40 + part * 16, 40 + state * 24, 200); }
FAKE_API COLORREF WINAPI FakeUxEdgeColor() { return RGB(255, 0, 255); }

// The library's entry points.
FAKE_API HANDLE WINAPI OpenThemeData(HWND, LPCWSTR classList)
{
    MaybeFault("OpenThemeData");
    InterlockedIncrement(&g_opens);
    lstrcpynW(g_lastClass, classList ? classList : L"", 64);
    HANDLE h = (HANDLE)(INT_PTR)InterlockedIncrement(&g_nextHandle);
    if (g_handleCount < 256) {
        g_handles[g_handleCount].h = h;
        lstrcpynW(g_handles[g_handleCount].cls, classList ? classList : L"", 32);
        ++g_handleCount;
    }
    return h;
}

FAKE_API HRESULT WINAPI CloseThemeData(HANDLE)
{
    MaybeFault("CloseThemeData");
    InterlockedIncrement(&g_closes);
    return S_OK;
}

// Records the part and fills its rectangle (inside the clip rectangle) in
// the part's colour, the top row in the edge colour.
FAKE_API HRESULT WINAPI DrawThemeBackground(HANDLE h, HDC hdc, int part, int state, const RECT* rc, const RECT* clip)
{
    MaybeFault("DrawThemeBackground");
    if (!rc)
        return E_INVALIDARG;
    if (g_drawCount < 512) {
        Draw& d = g_draws[g_drawCount++];
        lstrcpynW(d.cls, ClassOf(h), 32);
        d.part = part;
        d.state = state;
        d.rc = *rc;
    }
    RECT r = *rc;
    if (clip && !IntersectRect(&r, rc, clip))
        return S_OK;
    HBRUSH fill = CreateSolidBrush(FakeUxPartColor(part, state));
    FillRect(hdc, &r, fill);
    DeleteObject(fill);
    if (rc->top >= r.top && rc->top < r.bottom) {
        RECT edge = {r.left, rc->top, r.right, rc->top + 1};
        HBRUSH mark = CreateSolidBrush(FakeUxEdgeColor());
        FillRect(hdc, &edge, mark);
        DeleteObject(mark);
    }
    return S_OK;
}

FAKE_API HRESULT WINAPI GetThemeColor(HANDLE, int part, int state, int prop, COLORREF* color)
{
    MaybeFault("GetThemeColor");
    for (LONG i = 0; i < g_colorCount && color; ++i)
        if (g_colors[i].part == part && g_colors[i].state == state && g_colors[i].prop == prop) {
            *color = g_colors[i].clr;
            return S_OK;
        }
    if (part == 0 && state == 0 && prop == 3801 && color) {
        *color = g_border;
        return S_OK;
    }
    return E_FAIL;
}

FAKE_API BOOL WINAPI GetThemeSysBool(HANDLE, int)
{
    MaybeFault("GetThemeSysBool");
    return TRUE;
}

FAKE_API HRESULT WINAPI GetCurrentThemeName(LPWSTR file, int cchFile, LPWSTR color, int cchColor, LPWSTR size,
                                            int cchSize)
{
    MaybeFault("GetCurrentThemeName");
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

FAKE_API BOOL WINAPI IsAppThemed()
{
    MaybeFault("IsAppThemed");
    return g_active;
}

FAKE_API BOOL WINAPI IsThemeActive()
{
    MaybeFault("IsThemeActive");
    return g_active;
}

// Entry points the stand-in has no drawing for: they answer as if the
// library did not have them, and fault when asked to.
FAKE_API HRESULT WINAPI DrawThemeTextEx(HANDLE, HDC, int, int, LPCWSTR, int, DWORD, LPRECT, const void*)
{
    MaybeFault("DrawThemeTextEx");
    return E_FAIL;
}

FAKE_API HRESULT WINAPI GetThemePartSize(HANDLE, HDC, int, int, const RECT*, int, SIZE*)
{
    MaybeFault("GetThemePartSize");
    return E_FAIL;
}

FAKE_API HANDLE WINAPI BeginBufferedPaint(HDC, const RECT*, int, void*, HDC*)
{
    MaybeFault("BeginBufferedPaint");
    return NULL;
}

FAKE_API HRESULT WINAPI EndBufferedPaint(HANDLE, BOOL)
{
    MaybeFault("EndBufferedPaint");
    return S_OK;
}
