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

// ---------------------------------------------------------------------------
// The fault guard. A damaged theme or a broken visual-styles library must
// not take the program down with it: every call into the library runs in a
// frame whose exception filter takes the faults (an access violation, an
// illegal instruction, a division by zero ...) raised below it and not
// handled there. The system then unwinds the library's frames as for any
// handled exception, running the library's own clean-up, and the guarded
// call reports the fault; the wrapper answers with its failure value and
// the caller draws without visual styles. C++ exceptions, debugger events
// and a stack overflow pass on untouched.

} // namespace

extern "C" __attribute__((used)) LONG QxVisualStyleFaultFilter(EXCEPTION_POINTERS* pPointers, void*)
{
    const DWORD dwCode = pPointers->ExceptionRecord->ExceptionCode;
    const bool bError = (dwCode & 0xF0000000u) == 0xC0000000u; // error severity, not a customer code
    return bError && dwCode != (DWORD)STATUS_STACK_OVERFLOW ? EXCEPTION_EXECUTE_HANDLER : EXCEPTION_CONTINUE_SEARCH;
}

#if defined(__x86_64__)
// TRUE when pfn(pArg) returned, FALSE when a fault ended it. The frame's
// scope table sends faults of the call to QxVisualStyleFaultFilter and, when
// the filter takes them, resumes at .Lqxvs_fault.
extern "C" BOOL QxVisualStyleGuardedCall(void (*pfn)(void*), void* pArg);
asm(".text\n"
    ".globl QxVisualStyleGuardedCall\n"
    ".def QxVisualStyleGuardedCall; .scl 2; .type 32; .endef\n"
    ".seh_proc QxVisualStyleGuardedCall\n"
    "QxVisualStyleGuardedCall:\n"
    "    subq $40, %rsp\n"
    "    .seh_stackalloc 40\n"
    "    .seh_endprologue\n"
    "    .seh_handler __C_specific_handler, @except\n"
    "    .seh_handlerdata\n"
    "    .long 1\n"
    "    .rva .Lqxvs_begin, .Lqxvs_end, QxVisualStyleFaultFilter, .Lqxvs_fault\n"
    "    .text\n"
    "    movq %rcx, %rax\n"
    "    movq %rdx, %rcx\n"
    ".Lqxvs_begin:\n"
    "    call *%rax\n"
    "    nop\n"
    ".Lqxvs_end:\n"
    "    movl $1, %eax\n"
    "    addq $40, %rsp\n"
    "    ret\n"
    ".Lqxvs_fault:\n"
    "    xorl %eax, %eax\n"
    "    addq $40, %rsp\n"
    "    ret\n"
    ".seh_endproc\n");
#else
static BOOL QxVisualStyleGuardedCall(void (*pfn)(void*), void* pArg)
{
    pfn(pArg);
    return TRUE;
}
#endif

namespace {

// The call's result, or the failure value when the call faulted.
template <class R, class F>
R Guarded(R failure, const F& call)
{
    struct Frame {
        const F* pCall;
        R result;
    } frame = {&call, failure};
    auto run = [](void* p) {
        Frame* f = static_cast<Frame*>(p);
        f->result = (*f->pCall)();
    };
    return QxVisualStyleGuardedCall(run, &frame) ? frame.result : failure;
}

template <class F>
void GuardedVoid(const F& call)
{
    auto run = [](void* p) { (*static_cast<const F*>(p))(); };
    QxVisualStyleGuardedCall(run, const_cast<F*>(&call));
}

// A bound entry point called under the guard; the failure value when the
// library lacks it or the call faulted.
template <class R, class P, class... A>
R CallBound(P pfn, R failure, A... args)
{
    return pfn ? Guarded<R>(failure, [&] { return pfn(args...); }) : failure;
}

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
    m_hTheme = Guarded<HTHEME>(NULL, [&] { return pfn(hWnd, pszClassList); });
    return m_hTheme;
}

HRESULT CVisualStyleTheme::CloseThemeHandle()
{
    HRESULT hr = S_OK;
    if (m_hTheme) {
        PFNCLOSETHEMEDATA pfn = (PFNCLOSETHEMEDATA)Bind(kCloseThemeData, false);
        const HTHEME hTheme = m_hTheme;
        // A library that cannot close the handle answers 0, as one without it.
        hr = CallBound<HRESULT>(pfn, (HRESULT)0, hTheme);
    }
    m_hTheme = NULL;
    return hr;
}

HRESULT CVisualStyleTheme::DrawThemeBackground(HDC hdc, int iPartId, int iStateId, LPCRECT pRect, LPCRECT pClipRect)
{
    PFNDRAWTHEMEBACKGROUND pfn = (PFNDRAWTHEMEBACKGROUND)Bind(kDrawThemeBackground, false);
    return CallBound<HRESULT>(pfn, E_FAIL, m_hTheme, hdc, iPartId, iStateId, pRect, pClipRect);
}

HRESULT CVisualStyleTheme::DrawThemeTextEx(HDC hdc, int iPartId, int iStateId, LPCWSTR pszText, int cchText,
                                           DWORD dwTextFlags, LPRECT pRect, const DTTOPTS* pOptions)
{
    PFNDRAWTHEMETEXTEX pfn = (PFNDRAWTHEMETEXTEX)Bind(kDrawThemeTextEx, false);
    return CallBound<HRESULT>(pfn, E_FAIL, m_hTheme, hdc, iPartId, iStateId, pszText, cchText, dwTextFlags, pRect, pOptions);
}

HRESULT CVisualStyleTheme::GetThemeColor(int iPartId, int iStateId, int iPropId, COLORREF* pColor)
{
    PFNGETTHEMECOLOR pfn = (PFNGETTHEMECOLOR)Bind(kGetThemeColor, false);
    return CallBound<HRESULT>(pfn, E_FAIL, m_hTheme, iPartId, iStateId, iPropId, pColor);
}

HRESULT CVisualStyleTheme::GetThemePartSize(HDC hdc, int iPartId, int iStateId, LPCRECT pRect, THEMESIZE eSize,
                                            SIZE* psz)
{
    PFNGETTHEMEPARTSIZE pfn = (PFNGETTHEMEPARTSIZE)Bind(kGetThemePartSize, false);
    return CallBound<HRESULT>(pfn, E_FAIL, m_hTheme, hdc, iPartId, iStateId, pRect, eSize, psz);
}

BOOL CVisualStyleTheme::GetThemeSysBool(int iBoolId)
{
    PFNGETTHEMESYSBOOL pfn = (PFNGETTHEMESYSBOOL)Bind(kGetThemeSysBool, false);
    return CallBound<BOOL>(pfn, FALSE, m_hTheme, iBoolId);
}

HRESULT CVisualStyleTheme::GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                                               int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars)
{
    PFNGETCURRENTTHEMENAME pfn = (PFNGETCURRENTTHEMENAME)Bind(kGetCurrentThemeName, true);
    return CallBound<HRESULT>(pfn, E_FAIL, pszThemeFileName, cchMaxNameChars, pszColorBuff, cchMaxColorChars, pszSizeBuff, cchMaxSizeChars);
}

BOOL CVisualStyleTheme::IsAppThemed()
{
    if (!m_hTheme)
        return FALSE;
    PFNISAPPTHEMED pfn = (PFNISAPPTHEMED)Bind(kIsAppThemed, false);
    return CallBound<BOOL>(pfn, FALSE);
}

BOOL CVisualStyleTheme::IsThemeActive()
{
    PFNISTHEMEACTIVE pfn = (PFNISTHEMEACTIVE)Bind(kIsThemeActive, m_hTheme == NULL);
    return CallBound<BOOL>(pfn, FALSE);
}

HPAINTBUFFER CVisualStyleTheme::BeginBufferedPaint(HDC hdcTarget, LPCRECT prcTarget, BP_BUFFERFORMAT dwFormat,
                                                   BP_PAINTPARAMS* pPaintParams, HDC* phdc)
{
    PFNBEGINBUFFEREDPAINT pfn = (PFNBEGINBUFFEREDPAINT)Bind(kBeginBufferedPaint, false);
    return CallBound<HPAINTBUFFER>(pfn, NULL, hdcTarget, prcTarget, dwFormat, pPaintParams, phdc);
}

void CVisualStyleTheme::EndBufferedPaint(HPAINTBUFFER hBufferedPaint, BOOL fUpdateTarget)
{
    PFNENDBUFFEREDPAINT pfn = (PFNENDBUFFEREDPAINT)Bind(kEndBufferedPaint, false);
    if (pfn && hBufferedPaint)
        GuardedVoid([&] { pfn(hBufferedPaint, fUpdateTarget); });
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
    // The answer is "handled or not": without composition nothing is
    // handled (a non-zero failure code would read as handled, with the
    // result left unset).
    if (!r.pfnDefWindowProc)
        return FALSE;
    PFNDWMDEFWINDOWPROC pfn = (PFNDWMDEFWINDOWPROC)r.pfnDefWindowProc;
    return Guarded<BOOL>(FALSE, [&] { return pfn(hWnd, msg, wParam, lParam, plResult); });
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
    PFNDWMEXTENDFRAME pfn = (PFNDWMEXTENDFRAME)r.pfnExtendFrame;
    return Guarded<HRESULT>(E_FAIL, [&] { return pfn(hWnd, &margins); });
}
