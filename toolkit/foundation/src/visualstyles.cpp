// The visual-styles wrapper: UXTHEME.DLL and dwmapi.dll bound by name.
#include <qx/visualstyles.h>
#include <qx/sysutil.h>

namespace {

// Slots of the module record. The library's documented function set has 52
// entries; the program binds only the first twelve below.
enum Slot {
    kOpenThemeData,
    kCloseThemeData,
    kDrawThemeBackground,
    kDrawThemeTextEx,
    kGetThemeColor,
    kGetThemePartSize,
    kGetThemeSysBool,
    kGetCurrentThemeName,
    kIsAppThemed,
    kIsThemeActive,
    kBeginBufferedPaint,
    kEndBufferedPaint,
    kBoundSlots,
    kSlotCount = 52
};

const char* const kSlotNames[kBoundSlots] = {
    "OpenThemeData",
    "CloseThemeData",
    "DrawThemeBackground",
    "DrawThemeTextEx",
    "GetThemeColor",
    "GetThemePartSize",
    "GetThemeSysBool",
    "GetCurrentThemeName",
    "IsAppThemed",
    "IsThemeActive",
    "BeginBufferedPaint",
    "EndBufferedPaint",
};

typedef HTHEME(WINAPI* PFNOPENTHEMEDATA)(HWND, LPCWSTR);
typedef HRESULT(WINAPI* PFNCLOSETHEMEDATA)(HTHEME);
typedef HRESULT(WINAPI* PFNDRAWTHEMEBACKGROUND)(HTHEME, HDC, int, int, LPCRECT, LPCRECT);
typedef HRESULT(WINAPI* PFNDRAWTHEMETEXTEX)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, LPRECT, const DTTOPTS*);
typedef HRESULT(WINAPI* PFNGETTHEMECOLOR)(HTHEME, int, int, int, COLORREF*);
typedef HRESULT(WINAPI* PFNGETTHEMEPARTSIZE)(HTHEME, HDC, int, int, LPCRECT, THEMESIZE, SIZE*);
typedef BOOL(WINAPI* PFNGETTHEMESYSBOOL)(HTHEME, int);
typedef HRESULT(WINAPI* PFNGETCURRENTTHEMENAME)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
typedef BOOL(WINAPI* PFNISAPPTHEMED)();
typedef BOOL(WINAPI* PFNISTHEMEACTIVE)();
typedef HPAINTBUFFER(WINAPI* PFNBEGINBUFFEREDPAINT)(HDC, LPCRECT, BP_BUFFERFORMAT, BP_PAINTPARAMS*, HDC*);
typedef HRESULT(WINAPI* PFNENDBUFFEREDPAINT)(HPAINTBUFFER, BOOL);

CStringA& LibraryName()
{
    static CStringA s_name("UXTHEME.DLL");
    return s_name;
}
DWORD g_dwComCtlOverride = 0;

} // namespace

struct CVisualStyleTheme::ModuleRecord {
    bool bCreated = false;
    void* slots[kSlotCount] = {};
    HMODULE hModule = NULL;
    DWORD dwComCtlVersion = 0;

    void Create()
    {
        bCreated = true;
        dwComCtlVersion = g_dwComCtlOverride ? g_dwComCtlOverride : GetComCtlVersion();
        if (!dwComCtlVersion) {
            bCreated = false; // try again next time
            return;
        }
        ClearSlots();
        hModule = ::LoadLibraryA(LibraryName());
    }
    void ClearSlots()
    {
        for (void*& p : slots)
            p = NULL;
    }
};

namespace {
CVisualStyleTheme::ModuleRecord g_records[2]; // [0] objects without the follow flag, [1] with it
} // namespace

void AFXAPI CVisualStyleTheme::SetLibrary(LPCSTR lpszName, DWORD dwComCtlVersion)
{
    LibraryName() = lpszName ? lpszName : "UXTHEME.DLL";
    g_dwComCtlOverride = dwComCtlVersion;
    // The records are rebuilt on next use; a library they loaded stays loaded
    // as the records never free it.
    for (ModuleRecord& r : g_records)
        r = ModuleRecord();
}

CVisualStyleTheme::CVisualStyleTheme(BOOL bFollowModule) : m_hTheme(NULL), m_bFollowModule(bFollowModule) {}

CVisualStyleTheme::~CVisualStyleTheme() { CloseThemeHandle(); }

CVisualStyleTheme::ModuleRecord* CVisualStyleTheme::GetModuleRecord()
{
    ModuleRecord& r = g_records[m_bFollowModule ? 1 : 0];
    if (!r.bCreated)
        r.Create();
    return &r;
}

void* CVisualStyleTheme::Bind(int nSlot, bool bFollowCheck)
{
    ModuleRecord* r = GetModuleRecord();
    if (bFollowCheck && m_bFollowModule) {
        HMODULE hNow = ::GetModuleHandleA(LibraryName());
        if (hNow != r->hModule) {
            r->hModule = hNow;
            r->ClearSlots();
        }
    }
    if (r->hModule && !r->slots[nSlot] && nSlot < kBoundSlots)
        r->slots[nSlot] = (void*)::GetProcAddress(r->hModule, kSlotNames[nSlot]);
    return r->slots[nSlot];
}

HTHEME CVisualStyleTheme::OpenThemeData(HWND hWnd, LPCWSTR pszClassList)
{
    CloseThemeHandle();
    PFNOPENTHEMEDATA pfn = (PFNOPENTHEMEDATA)Bind(kOpenThemeData, true);
    if (!pfn)
        return NULL;
    m_hTheme = pfn(hWnd, pszClassList);
    return m_hTheme;
}

HRESULT CVisualStyleTheme::CloseThemeHandle()
{
    HRESULT hr = S_OK;
    if (m_hTheme) {
        PFNCLOSETHEMEDATA pfn = (PFNCLOSETHEMEDATA)Bind(kCloseThemeData, false);
        hr = pfn ? pfn(m_hTheme) : E_FAIL;
    }
    m_hTheme = NULL;
    return hr;
}

HRESULT CVisualStyleTheme::DrawThemeBackground(HDC hdc, int iPartId, int iStateId, LPCRECT pRect, LPCRECT pClipRect)
{
    PFNDRAWTHEMEBACKGROUND pfn = (PFNDRAWTHEMEBACKGROUND)Bind(kDrawThemeBackground, false);
    return pfn ? pfn(m_hTheme, hdc, iPartId, iStateId, pRect, pClipRect) : E_FAIL;
}

HRESULT CVisualStyleTheme::DrawThemeTextEx(HDC hdc, int iPartId, int iStateId, LPCWSTR pszText, int cchText,
                                           DWORD dwTextFlags, LPRECT pRect, const DTTOPTS* pOptions)
{
    PFNDRAWTHEMETEXTEX pfn = (PFNDRAWTHEMETEXTEX)Bind(kDrawThemeTextEx, false);
    return pfn ? pfn(m_hTheme, hdc, iPartId, iStateId, pszText, cchText, dwTextFlags, pRect, pOptions) : E_FAIL;
}

HRESULT CVisualStyleTheme::GetThemeColor(int iPartId, int iStateId, int iPropId, COLORREF* pColor)
{
    PFNGETTHEMECOLOR pfn = (PFNGETTHEMECOLOR)Bind(kGetThemeColor, false);
    return pfn ? pfn(m_hTheme, iPartId, iStateId, iPropId, pColor) : E_FAIL;
}

HRESULT CVisualStyleTheme::GetThemePartSize(HDC hdc, int iPartId, int iStateId, LPCRECT pRect, THEMESIZE eSize,
                                            SIZE* psz)
{
    PFNGETTHEMEPARTSIZE pfn = (PFNGETTHEMEPARTSIZE)Bind(kGetThemePartSize, false);
    return pfn ? pfn(m_hTheme, hdc, iPartId, iStateId, pRect, eSize, psz) : E_FAIL;
}

BOOL CVisualStyleTheme::GetThemeSysBool(int iBoolId)
{
    PFNGETTHEMESYSBOOL pfn = (PFNGETTHEMESYSBOOL)Bind(kGetThemeSysBool, false);
    return pfn ? pfn(m_hTheme, iBoolId) : FALSE;
}

HRESULT CVisualStyleTheme::GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                                               int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars)
{
    PFNGETCURRENTTHEMENAME pfn = (PFNGETCURRENTTHEMENAME)Bind(kGetCurrentThemeName, true);
    return pfn ? pfn(pszThemeFileName, cchMaxNameChars, pszColorBuff, cchMaxColorChars, pszSizeBuff, cchMaxSizeChars)
               : E_FAIL;
}

BOOL CVisualStyleTheme::IsAppThemed()
{
    if (!m_hTheme)
        return FALSE;
    PFNISAPPTHEMED pfn = (PFNISAPPTHEMED)Bind(kIsAppThemed, false);
    return pfn ? pfn() : FALSE;
}

BOOL CVisualStyleTheme::IsThemeActive()
{
    PFNISTHEMEACTIVE pfn = (PFNISTHEMEACTIVE)Bind(kIsThemeActive, m_hTheme == NULL);
    return pfn ? pfn() : FALSE;
}

HPAINTBUFFER CVisualStyleTheme::BeginBufferedPaint(HDC hdcTarget, LPCRECT prcTarget, BP_BUFFERFORMAT dwFormat,
                                                   BP_PAINTPARAMS* pPaintParams, HDC* phdc)
{
    PFNBEGINBUFFEREDPAINT pfn = (PFNBEGINBUFFEREDPAINT)Bind(kBeginBufferedPaint, false);
    return pfn ? pfn(hdcTarget, prcTarget, dwFormat, pPaintParams, phdc) : NULL;
}

void CVisualStyleTheme::EndBufferedPaint(HPAINTBUFFER hBufferedPaint, BOOL fUpdateTarget)
{
    PFNENDBUFFEREDPAINT pfn = (PFNENDBUFFEREDPAINT)Bind(kEndBufferedPaint, false);
    if (pfn && hBufferedPaint)
        pfn(hBufferedPaint, fUpdateTarget);
}

BOOL CVisualStyleTheme::IsNewThemeLibrary()
{
    return IsThemeActive() && HIWORD(GetModuleRecord()->dwComCtlVersion) > 5;
}

// ---------------------------------------------------------------------------
// Desktop composition

namespace {

struct DwmRecord {
    bool bCreated = false;
    void* pfnDefWindowProc = NULL;
    void* pfnIsCompositionEnabled = NULL; // kept for the record's layout; never bound
    void* pfnExtendFrame = NULL;
    HMODULE hModule = NULL;
};

DwmRecord& Dwm()
{
    static DwmRecord s_record;
    if (!s_record.bCreated) {
        s_record.bCreated = true;
        s_record.hModule = ::LoadLibraryA("dwmapi.dll");
    }
    return s_record;
}

typedef BOOL(WINAPI* PFNDWMDEFWINDOWPROC)(HWND, UINT, WPARAM, LPARAM, LRESULT*);
struct QxMargins {
    int cxLeftWidth;
    int cxRightWidth;
    int cyTopHeight;
    int cyBottomHeight;
};
typedef HRESULT(WINAPI* PFNDWMEXTENDFRAME)(HWND, const QxMargins*);

} // namespace

BOOL AFXAPI CVisualStyleTheme::DwmDefWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    DwmRecord& r = Dwm();
    if (r.hModule && !r.pfnDefWindowProc)
        r.pfnDefWindowProc = (void*)::GetProcAddress(r.hModule, "DwmDefWindowProc");
    if (!r.pfnDefWindowProc)
        return FALSE;
    return ((PFNDWMDEFWINDOWPROC)r.pfnDefWindowProc)(hWnd, msg, wParam, lParam, plResult);
}

HRESULT AFXAPI CVisualStyleTheme::DwmExtendFrameIntoClientArea(HWND hWnd, int cxLeft, int cyTop, int cxRight,
                                                               int cyBottom)
{
    DwmRecord& r = Dwm();
    if (r.hModule && !r.pfnExtendFrame)
        r.pfnExtendFrame = (void*)::GetProcAddress(r.hModule, "DwmExtendFrameIntoClientArea");
    if (!r.pfnExtendFrame)
        return E_FAIL;
    QxMargins margins = {cxLeft, cxRight, cyTop, cyBottom};
    return ((PFNDWMEXTENDFRAME)r.pfnExtendFrame)(hWnd, &margins);
}
