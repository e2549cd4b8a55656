// System helpers: version tests, module holder, common-controls version,
// monitor areas and the accessibility base.
#include <qx/sysutil.h>

#include <algorithm>

#include <shlwapi.h>

// ---------------------------------------------------------------------------
// Version record

CQXPOSVersionInfo::CQXPOSVersionInfo()
{
    ZeroMemory(static_cast<OSVERSIONINFOA*>(this), sizeof(OSVERSIONINFOA));
    dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
}

CQXPOSVersionInfo::CQXPOSVersionInfo(DWORD dwPlatform, DWORD dwMajor, DWORD dwMinor) : CQXPOSVersionInfo()
{
    dwPlatformId = dwPlatform;
    dwMajorVersion = dwMajor;
    dwMinorVersion = dwMinor;
}

BOOL CQXPOSVersionInfo::IsWin95() const
{
    return dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && dwMajorVersion == 4 && dwMinorVersion < 10;
}
BOOL CQXPOSVersionInfo::IsWin98() const
{
    return dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && dwMajorVersion == 4 && dwMinorVersion == 10;
}
BOOL CQXPOSVersionInfo::IsWin9x() const { return dwPlatformId == VER_PLATFORM_WIN32_WINDOWS; }
BOOL CQXPOSVersionInfo::IsWinNT4() const
{
    return dwPlatformId == VER_PLATFORM_WIN32_NT && dwMajorVersion == 4 && dwMinorVersion == 0;
}
BOOL CQXPOSVersionInfo::IsWin2K() const
{
    return dwPlatformId == VER_PLATFORM_WIN32_NT && dwMajorVersion == 5 && dwMinorVersion == 0;
}
BOOL CQXPOSVersionInfo::IsWinXP() const
{
    return dwPlatformId == VER_PLATFORM_WIN32_NT && dwMajorVersion == 5 && dwMinorVersion == 1;
}
BOOL CQXPOSVersionInfo::IsWin2KOrGreater() const
{
    return dwPlatformId >= VER_PLATFORM_WIN32_NT && dwMajorVersion >= 5;
}
BOOL CQXPOSVersionInfo::IsWinXPOrGreater() const
{
    return dwPlatformId > VER_PLATFORM_WIN32_WINDOWS &&
           (dwMajorVersion > 5 || (dwMajorVersion == 5 && dwMinorVersion != 0));
}

CQXPOSVersionInfo* AFXAPI GetOSVersionInfo()
{
    static CQXPOSVersionInfo s_info;
    static bool s_filled = false;
    if (!s_filled) {
        s_filled = true;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        ::GetVersionExA(&s_info);
#pragma GCC diagnostic pop
    }
    return &s_info;
}

// ---------------------------------------------------------------------------
// Module holder

CQXPModuleHolder::CQXPModuleHolder() : m_dwReserved(0), m_hModule(NULL), m_nKind(kNone) {}

CQXPModuleHolder::CQXPModuleHolder(LPCSTR lpszModule) : CQXPModuleHolder()
{
    if (!Attach(lpszModule))
        Load(lpszModule);
}

CQXPModuleHolder::~CQXPModuleHolder() { Release(); }

void CQXPModuleHolder::Release()
{
    if (m_nKind == kLoaded && m_hModule)
        ::FreeLibrary(m_hModule);
    m_hModule = NULL;
    m_nKind = kNone;
    m_strName.Empty();
}

BOOL CQXPModuleHolder::Attach(LPCSTR lpszModule)
{
    Release();
    if (!lpszModule)
        return FALSE;
    m_hModule = ::GetModuleHandleA(lpszModule);
    if (!m_hModule)
        return FALSE;
    m_nKind = kAttached;
    m_strName = lpszModule;
    return TRUE;
}

BOOL CQXPModuleHolder::Load(LPCSTR lpszModule)
{
    Release();
    if (!lpszModule)
        return FALSE;
    m_hModule = ::LoadLibraryA(lpszModule);
    if (!m_hModule)
        return FALSE;
    m_nKind = kLoaded;
    m_strName = lpszModule;
    return TRUE;
}

FARPROC CQXPModuleHolder::GetProcAddress(LPCSTR lpszProc) const
{
    return m_hModule ? ::GetProcAddress(m_hModule, lpszProc) : NULL;
}

// ---------------------------------------------------------------------------
// Common-controls version

DWORD AFXAPI GetModuleDllVersion(HMODULE hModule)
{
    DWORD dwVersion = 0;
    if (hModule) {
        DLLGETVERSIONPROC pfn = (DLLGETVERSIONPROC)(void*)::GetProcAddress(hModule, "DllGetVersion");
        if (pfn) {
            DLLVERSIONINFO dvi;
            ZeroMemory(&dvi, sizeof(dvi));
            dvi.cbSize = sizeof(dvi);
            if (SUCCEEDED(pfn(&dvi)))
                dwVersion = MAKELONG(dvi.dwMinorVersion, dvi.dwMajorVersion);
        }
    }
    return dwVersion ? dwVersion : 0x40000;
}

DWORD AFXAPI GetComCtlVersion()
{
    static DWORD s_dwVersion = 0;
    if (s_dwVersion == 0) {
        CQXPModuleHolder comctl("COMCTL32.DLL");
        s_dwVersion = GetModuleDllVersion(comctl);
    }
    return s_dwVersion;
}

BOOL AFXAPI IsComCtlVersion6() { return GetComCtlVersion() >= 0x60000; }

// ---------------------------------------------------------------------------
// Monitor helper

CQXPMultiMonitor::CQXPMultiMonitor(BOOL bBind)
    : m_pfnGetSystemMetrics(NULL),
      m_pfnMonitorFromWindow(NULL),
      m_pfnMonitorFromRect(NULL),
      m_pfnMonitorFromPoint(NULL),
      m_pfnGetMonitorInfo(NULL)
{
    if (!bBind)
        return;
    m_user32.Attach("User32.dll") || m_user32.Load("User32.dll");
    m_pfnGetSystemMetrics = (PFNGETSYSTEMMETRICS)(void*)m_user32.GetProcAddress("GetSystemMetrics");
    m_pfnMonitorFromWindow = (PFNMONITORFROMWINDOW)(void*)m_user32.GetProcAddress("MonitorFromWindow");
    m_pfnMonitorFromRect = (PFNMONITORFROMRECT)(void*)m_user32.GetProcAddress("MonitorFromRect");
    m_pfnMonitorFromPoint = (PFNMONITORFROMPOINT)(void*)m_user32.GetProcAddress("MonitorFromPoint");
    m_pfnGetMonitorInfo = (PFNGETMONITORINFOA)(void*)m_user32.GetProcAddress("GetMonitorInfoA");
    if (!m_pfnGetSystemMetrics || !m_pfnMonitorFromWindow || !m_pfnMonitorFromRect || !m_pfnMonitorFromPoint ||
        !m_pfnGetMonitorInfo) {
        m_pfnGetSystemMetrics = NULL;
        m_pfnMonitorFromWindow = NULL;
        m_pfnMonitorFromRect = NULL;
        m_pfnMonitorFromPoint = NULL;
        m_pfnGetMonitorInfo = NULL;
    }
}

CQXPMultiMonitor::~CQXPMultiMonitor() {}

RECT CQXPMultiMonitor::GetWorkArea(HMONITOR hMonitor) const
{
    RECT rc = {0, 0, 0, 0};
    if (hMonitor && m_pfnGetMonitorInfo) {
        MONITORINFO mi;
        mi.cbSize = sizeof(mi);
        if (m_pfnGetMonitorInfo(hMonitor, &mi))
            return mi.rcWork;
    }
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

RECT CQXPMultiMonitor::GetScreenArea(HMONITOR hMonitor) const
{
    if (hMonitor && m_pfnGetMonitorInfo) {
        MONITORINFO mi;
        mi.cbSize = sizeof(mi);
        if (m_pfnGetMonitorInfo(hMonitor, &mi))
            return mi.rcMonitor;
    }
    RECT rc = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return rc;
}

RECT CQXPMultiMonitor::GetScreenAreaFromPoint(POINT pt) const
{
    return GetScreenArea(m_pfnMonitorFromPoint ? m_pfnMonitorFromPoint(pt, MONITOR_DEFAULTTONULL) : NULL);
}

RECT CQXPMultiMonitor::GetScreenAreaFromRect(LPCRECT lpRect) const
{
    return GetScreenArea(m_pfnMonitorFromRect && lpRect ? m_pfnMonitorFromRect(lpRect, MONITOR_DEFAULTTONULL) : NULL);
}

RECT CQXPMultiMonitor::GetWorkAreaFromPoint(POINT pt) const
{
    return GetWorkArea(m_pfnMonitorFromPoint ? m_pfnMonitorFromPoint(pt, MONITOR_DEFAULTTONULL) : NULL);
}

RECT CQXPMultiMonitor::GetWorkAreaFromRect(LPCRECT lpRect) const
{
    return GetWorkArea(m_pfnMonitorFromRect && lpRect ? m_pfnMonitorFromRect(lpRect, MONITOR_DEFAULTTONULL) : NULL);
}

RECT CQXPMultiMonitor::GetWorkAreaFromWindow(HWND hWnd) const
{
    return GetWorkArea(m_pfnMonitorFromWindow ? m_pfnMonitorFromWindow(hWnd, MONITOR_DEFAULTTONULL) : NULL);
}

RECT CQXPMultiMonitor::GetWorkAreaAtCursor() const
{
    POINT pt = {0, 0};
    ::GetCursorPos(&pt);
    return GetWorkAreaFromPoint(pt);
}

RECT CQXPMultiMonitor::GetWorkAreaNearestRect(LPCRECT lpRect) const
{
    RECT rcProbe = {0, 0, 1, 1};
    if (lpRect != NULL) {
        rcProbe = *lpRect;
        if (rcProbe.right <= rcProbe.left)
            rcProbe.right = rcProbe.left + 1;
        if (rcProbe.bottom <= rcProbe.top)
            rcProbe.bottom = rcProbe.top + 1;
    }
    return GetWorkArea(m_pfnMonitorFromRect ? m_pfnMonitorFromRect(&rcProbe, MONITOR_DEFAULTTONEAREST) : NULL);
}

BOOL AFXAPI QxFitRectToWorkArea(RECT& rc, const RECT& rcWork, SIZE szMin)
{
    const RECT rcOld = rc;
    // Coordinates are widened so that damaged values near the limits of
    // the type cannot overflow.
    const LONGLONG workW = std::max<LONGLONG>(0, (LONGLONG)rcWork.right - rcWork.left);
    const LONGLONG workH = std::max<LONGLONG>(0, (LONGLONG)rcWork.bottom - rcWork.top);
    LONGLONG w = std::max<LONGLONG>(0, (LONGLONG)rc.right - rc.left);
    LONGLONG h = std::max<LONGLONG>(0, (LONGLONG)rc.bottom - rc.top);
    w = std::min(std::max(w, std::min<LONGLONG>(szMin.cx, workW)), workW);
    h = std::min(std::max(h, std::min<LONGLONG>(szMin.cy, workH)), workH);
    LONGLONG x = std::min(std::max<LONGLONG>(rc.left, rcWork.left), rcWork.right - w);
    LONGLONG y = std::min(std::max<LONGLONG>(rc.top, rcWork.top), rcWork.bottom - h);
    rc.left = (LONG)x;
    rc.top = (LONG)y;
    rc.right = (LONG)(x + w);
    rc.bottom = (LONG)(y + h);
    return !::EqualRect(&rc, &rcOld);
}

CQXPMultiMonitor* AFXAPI GetMultiMonitorHelper()
{
    static CQXPMultiMonitor s_helper;
    return &s_helper;
}

// ---------------------------------------------------------------------------
// Accessibility base

CQXPAccessibleBase::CQXPAccessibleBase()
    : m_pOwner(NULL),
      m_pfnNotifyWinEvent(NULL),
      m_pfnAccessibleObjectFromWindow(NULL),
      m_pfnLresultFromObject(NULL)
{
    m_xAccessible.m_pThis = this;
    if (m_user32.Attach("user32.dll") || m_user32.Load("user32.dll"))
        m_pfnNotifyWinEvent = (PFNNOTIFYWINEVENT)(void*)m_user32.GetProcAddress("NotifyWinEvent");
}

CQXPAccessibleBase::~CQXPAccessibleBase()
{
    m_oleacc.Release();
    m_user32.Release();
}

void CQXPAccessibleBase::NotifyWinEvent(DWORD event, HWND hwnd, LONG idObject, LONG idChild)
{
    if (m_pfnNotifyWinEvent)
        m_pfnNotifyWinEvent(event, hwnd, idObject, idChild);
}

BOOL CQXPAccessibleBase::BindOleAcc()
{
    if (!m_oleacc.GetHandle()) {
        if (!m_oleacc.Load("oleacc.dll"))
            return FALSE;
        m_pfnAccessibleObjectFromWindow =
            (PFNACCESSIBLEOBJECTFROMWINDOW)(void*)m_oleacc.GetProcAddress("AccessibleObjectFromWindow");
        m_pfnLresultFromObject = (PFNLRESULTFROMOBJECT)(void*)m_oleacc.GetProcAddress("LresultFromObject");
    }
    return TRUE;
}

HRESULT CQXPAccessibleBase::AccessibleObjectFromWindow(HWND hwnd, DWORD dwId, REFIID riid, void** ppvObject)
{
    if (!BindOleAcc() || !m_pfnAccessibleObjectFromWindow)
        return E_FAIL;
    return m_pfnAccessibleObjectFromWindow(hwnd, dwId, riid, ppvObject);
}

LRESULT CQXPAccessibleBase::LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN punk)
{
    if (!BindOleAcc() || !m_pfnLresultFromObject)
        return E_FAIL;
    return m_pfnLresultFromObject(riid, wParam, punk);
}

long AFXAPI CQXPAccessibleBase::GetChildIndex(const VARIANT* pVar)
{
    // By-reference variants may nest; a damaged chain must not loop forever.
    for (int depth = 0; pVar && depth < 8; ++depth) {
        switch (pVar->vt) {
        case VT_EMPTY:
            return 0;
        case VT_I2:
            return pVar->iVal;
        case VT_I4:
            return pVar->lVal;
        case VT_BYREF | VT_I2:
            return pVar->piVal ? *pVar->piVal : -1;
        case VT_BYREF | VT_I4:
            return pVar->plVal ? *pVar->plVal : -1;
        case VT_BYREF | VT_VARIANT:
            pVar = pVar->pvarVal;
            continue;
        default:
            return -1;
        }
    }
    return -1;
}

HRESULT CQXPAccessibleBase::get_accParent(IDispatch**) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::get_accChildCount(long*) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::get_accChild(VARIANT, IDispatch**) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::get_accName(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::get_accValue(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::get_accDescription(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::get_accRole(VARIANT, VARIANT*) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::get_accState(VARIANT, VARIANT*) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::get_accHelp(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::get_accHelpTopic(BSTR*, VARIANT, long*) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::get_accKeyboardShortcut(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::get_accFocus(VARIANT*) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::get_accSelection(VARIANT*) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::get_accDefaultAction(VARIANT, BSTR*) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::accSelect(long, VARIANT) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::accLocation(long*, long*, long*, long*, VARIANT) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::accNavigate(long, VARIANT, VARIANT*) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::accHitTest(long, long, VARIANT*) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::accDoDefaultAction(VARIANT) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }
HRESULT CQXPAccessibleBase::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

// --- the embedded interface ---------------------------------------------------

STDMETHODIMP CQXPAccessibleBase::XAccessible::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IAccessible)) {
        *ppv = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = NULL;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG)
CQXPAccessibleBase::XAccessible::AddRef()
{
    if (m_pThis->m_pOwner)
        return m_pThis->m_pOwner->ExternalAddRef();
    return (ULONG)InterlockedIncrement(&m_cRef);
}

STDMETHODIMP_(ULONG)
CQXPAccessibleBase::XAccessible::Release()
{
    if (m_pThis->m_pOwner)
        return m_pThis->m_pOwner->ExternalRelease();
    LONG n = InterlockedDecrement(&m_cRef);
    return (ULONG)(n < 0 ? 0 : n);
}

STDMETHODIMP CQXPAccessibleBase::XAccessible::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
STDMETHODIMP CQXPAccessibleBase::XAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP CQXPAccessibleBase::XAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}
STDMETHODIMP CQXPAccessibleBase::XAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                                     UINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CQXPAccessibleBase::XAccessible::get_accParent(IDispatch** p) { return m_pThis->get_accParent(p); }
STDMETHODIMP CQXPAccessibleBase::XAccessible::get_accChildCount(long* p) { return m_pThis->get_accChildCount(p); }
STDMETHODIMP CQXPAccessibleBase::XAccessible::get_accChild(VARIANT v, IDispatch** p)
{
    return m_pThis->get_accChild(v, p);
}
STDMETHODIMP CQXPAccessibleBase::XAccessible::get_accName(VARIANT v, BSTR* p) { return m_pThis->get_accName(v, p); }
STDMETHODIMP CQXPAccessibleBase::XAccessible::get_accValue(VARIANT v, BSTR* p) { return m_pThis->get_accValue(v, p); }
STDMETHODIMP CQXPAccessibleBase::XAccessible::get_accDescription(VARIANT v, BSTR* p)
{
    return m_pThis->get_accDescription(v, p);
}
STDMETHODIMP CQXPAccessibleBase::XAccessible::get_accRole(VARIANT v, VARIANT* p) { return m_pThis->get_accRole(v, p); }
STDMETHODIMP CQXPAccessibleBase::XAccessible::get_accState(VARIANT v, VARIANT* p)
{
    return m_pThis->get_accState(v, p);
}
STDMETHODIMP CQXPAccessibleBase::XAccessible::get_accHelp(VARIANT v, BSTR* p) { return m_pThis->get_accHelp(v, p); }
STDMETHODIMP CQXPAccessibleBase::XAccessible::get_accHelpTopic(BSTR* f, VARIANT v, long* p)
{
    return m_pThis->get_accHelpTopic(f, v, p);
}
STDMETHODIMP CQXPAccessibleBase::XAccessible::get_accKeyboardShortcut(VARIANT v, BSTR* p)
{
    return m_pThis->get_accKeyboardShortcut(v, p);
}
STDMETHODIMP CQXPAccessibleBase::XAccessible::get_accFocus(VARIANT* p) { return m_pThis->get_accFocus(p); }
STDMETHODIMP CQXPAccessibleBase::XAccessible::get_accSelection(VARIANT* p) { return m_pThis->get_accSelection(p); }
STDMETHODIMP CQXPAccessibleBase::XAccessible::get_accDefaultAction(VARIANT v, BSTR* p)
{
    return m_pThis->get_accDefaultAction(v, p);
}
STDMETHODIMP CQXPAccessibleBase::XAccessible::accSelect(long f, VARIANT v) { return m_pThis->accSelect(f, v); }
STDMETHODIMP CQXPAccessibleBase::XAccessible::accLocation(long* x, long* y, long* cx, long* cy, VARIANT v)
{
    return m_pThis->accLocation(x, y, cx, cy, v);
}
STDMETHODIMP CQXPAccessibleBase::XAccessible::accNavigate(long d, VARIANT v, VARIANT* p)
{
    return m_pThis->accNavigate(d, v, p);
}
STDMETHODIMP CQXPAccessibleBase::XAccessible::accHitTest(long x, long y, VARIANT* p)
{
    return m_pThis->accHitTest(x, y, p);
}
STDMETHODIMP CQXPAccessibleBase::XAccessible::accDoDefaultAction(VARIANT v) { return m_pThis->accDoDefaultAction(v); }
STDMETHODIMP CQXPAccessibleBase::XAccessible::put_accName(VARIANT v, BSTR s) { return m_pThis->put_accName(v, s); }
STDMETHODIMP CQXPAccessibleBase::XAccessible::put_accValue(VARIANT v, BSTR s) { return m_pThis->put_accValue(v, s); }

UINT AFXAPI QxGetTabClientRefreshMessage()
{
    static const UINT s_nMessage = ::RegisterWindowMessageA("QXPRefreshTabClient");
    return s_nMessage;
}

static const char kFramePaintManagerProp[] = "QXPFramePaintManager";

void AFXAPI QxSetFramePaintManager(HWND hFrame, CQXPThemePainter* pPaintManager)
{
    if (!hFrame || !::IsWindow(hFrame))
        return;
    if (pPaintManager)
        ::SetPropA(hFrame, kFramePaintManagerProp, (HANDLE)pPaintManager);
    else
        ::RemovePropA(hFrame, kFramePaintManagerProp);
}

CQXPThemePainter* AFXAPI QxGetFramePaintManager(HWND hFrame)
{
    return hFrame && ::IsWindow(hFrame) ? (CQXPThemePainter*)::GetPropA(hFrame, kFramePaintManagerProp) : NULL;
}
