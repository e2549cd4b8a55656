// qx/sysutil.h - small process-wide services of the toolkit: the cached
// operating-system version and its tests, a module holder, the common-controls
// version, a critical section with a scoped lock, the multi-monitor helper and
// the accessibility base of controls, bars and managers.
#pragma once

#include <fx/fx.h>
#include <oleacc.h>

// ---------------------------------------------------------------------------
// Operating-system version. The record is filled once (GetVersionExA) by
// GetOSVersionInfo; the tests read the platform id and the version numbers.
struct CQXPOSVersionInfo : public OSVERSIONINFOA {
    CQXPOSVersionInfo();
    // A record with the given values (tests and callers that know them).
    CQXPOSVersionInfo(DWORD dwPlatform, DWORD dwMajor, DWORD dwMinor);

    BOOL IsWin95() const;          // 9x, 4.0 - 4.9
    BOOL IsWin98() const;          // 9x, 4.10
    BOOL IsWin9x() const;          // 9x platform
    BOOL IsWinNT4() const;         // NT 4.0
    BOOL IsWin2K() const;          // NT 5.0
    BOOL IsWinXP() const;          // NT 5.1
    BOOL IsWin2KOrGreater() const; // NT platform, major 5 or above
    BOOL IsWinXPOrGreater() const; // NT platform, 5.1 or above
};

// The process-wide version record, read on first use.
CQXPOSVersionInfo* AFXAPI GetOSVersionInfo();

// ---------------------------------------------------------------------------
// Holds a module: attached when it was already loaded (not freed), or loaded
// by the holder (freed when released).
class CQXPModuleHolder {
public:
    enum Kind {
        kNone = 0,
        kAttached = 1,
        kLoaded = 2
    };

    CQXPModuleHolder();
    // Attaches to the module when it is loaded, else loads it.
    explicit CQXPModuleHolder(LPCSTR lpszModule);
    ~CQXPModuleHolder();
    CQXPModuleHolder(const CQXPModuleHolder&) = delete;
    CQXPModuleHolder& operator=(const CQXPModuleHolder&) = delete;

    // Each first releases what is held; FALSE when the module is not there.
    BOOL Attach(LPCSTR lpszModule);
    BOOL Load(LPCSTR lpszModule);
    void Release();

    HMODULE GetHandle() const { return m_hModule; }
    operator HMODULE() const { return m_hModule; }
    int GetKind() const { return m_nKind; }
    const CString& GetName() const { return m_strName; }
    // NULL when nothing is held or the entry point is missing.
    FARPROC GetProcAddress(LPCSTR lpszProc) const;

private:
    DWORD m_dwReserved;
    CString m_strName;
    HMODULE m_hModule;
    int m_nKind;
};

// ---------------------------------------------------------------------------
// Common-controls version: major << 16 | minor, 0x40000 (4.0) when the
// library does not say. Computed once.
DWORD AFXAPI GetComCtlVersion();
// The version a given module reports through DllGetVersion, with the same
// 4.0 fallback (the cached value above is this for "COMCTL32.DLL").
DWORD AFXAPI GetModuleDllVersion(HMODULE hModule);
// TRUE when the common controls are version 6.0 or later.
BOOL AFXAPI IsComCtlVersion6();

// ---------------------------------------------------------------------------
class CQXPCriticalSection {
public:
    CQXPCriticalSection() { ::InitializeCriticalSection(&m_cs); }
    ~CQXPCriticalSection() { ::DeleteCriticalSection(&m_cs); }
    CQXPCriticalSection(const CQXPCriticalSection&) = delete;
    CQXPCriticalSection& operator=(const CQXPCriticalSection&) = delete;
    void Enter() { ::EnterCriticalSection(&m_cs); }
    void Leave() { ::LeaveCriticalSection(&m_cs); }
    operator CRITICAL_SECTION*() { return &m_cs; }

private:
    CRITICAL_SECTION m_cs;
};

// Enters at construction, leaves at destruction.
class CQXPLockGuard {
public:
    explicit CQXPLockGuard(CQXPCriticalSection& cs) : m_pcs(cs) { ::EnterCriticalSection(m_pcs); }
    explicit CQXPLockGuard(CRITICAL_SECTION* pcs) : m_pcs(pcs) { ::EnterCriticalSection(m_pcs); }
    ~CQXPLockGuard() { ::LeaveCriticalSection(m_pcs); }
    CQXPLockGuard(const CQXPLockGuard&) = delete;
    CQXPLockGuard& operator=(const CQXPLockGuard&) = delete;

private:
    CRITICAL_SECTION* m_pcs;
};

// ---------------------------------------------------------------------------
// Monitor areas. The monitor functions are bound from "User32.dll" at run
// time; when any is missing every area falls back to the primary screen
// (SM_CXSCREEN x SM_CYSCREEN) or its work area (SPI_GETWORKAREA).
class CQXPMultiMonitor {
public:
    // bBind FALSE builds a helper without the monitor functions (the
    // fallbacks of systems that have none).
    explicit CQXPMultiMonitor(BOOL bBind = TRUE);
    ~CQXPMultiMonitor();

    BOOL HasMonitorFunctions() const { return m_pfnGetMonitorInfo != NULL; }

    RECT GetWorkArea(HMONITOR hMonitor) const;
    RECT GetScreenArea(HMONITOR hMonitor) const;
    RECT GetScreenAreaFromPoint(POINT pt) const;
    RECT GetScreenAreaFromRect(LPCRECT lpRect) const;
    RECT GetWorkAreaFromPoint(POINT pt) const;
    RECT GetWorkAreaFromRect(LPCRECT lpRect) const;
    RECT GetWorkAreaFromWindow(HWND hWnd) const;
    RECT GetWorkAreaAtCursor() const;
    // The work area of the monitor nearest to a rectangle (screen
    // coordinates): the one it overlaps most, or the closest when it lies
    // off every screen. An empty rectangle counts as its top-left pixel.
    RECT GetWorkAreaNearestRect(LPCRECT lpRect) const;

private:
    typedef int(WINAPI* PFNGETSYSTEMMETRICS)(int);
    typedef HMONITOR(WINAPI* PFNMONITORFROMWINDOW)(HWND, DWORD);
    typedef HMONITOR(WINAPI* PFNMONITORFROMRECT)(LPCRECT, DWORD);
    typedef HMONITOR(WINAPI* PFNMONITORFROMPOINT)(POINT, DWORD);
    typedef BOOL(WINAPI* PFNGETMONITORINFOA)(HMONITOR, LPMONITORINFO);

    PFNGETSYSTEMMETRICS m_pfnGetSystemMetrics;
    PFNMONITORFROMWINDOW m_pfnMonitorFromWindow;
    PFNMONITORFROMRECT m_pfnMonitorFromRect;
    PFNMONITORFROMPOINT m_pfnMonitorFromPoint;
    PFNGETMONITORINFOA m_pfnGetMonitorInfo;
    CQXPModuleHolder m_user32;
};

// The process-wide helper, built on first use.
CQXPMultiMonitor* AFXAPI GetMultiMonitorHelper();

// Fits a window rectangle onto a work area: a size below szMin grows to it,
// a size beyond the work area shrinks to it (szMin gives way to a smaller
// work area), and the rectangle then moves the least that puts it wholly
// on the work area. An inverted rectangle (right < left, bottom < top)
// counts as size 0. TRUE when rc changed.
BOOL AFXAPI QxFitRectToWorkArea(RECT& rc, const RECT& rcWork, SIZE szMin);

// The registered message "QXPRefreshTabClient": the command bars send it to
// their frame's MDI client when they were redrawn for a new theme or
// setting; a tab client there refreshes its strips and lays the frame out.
UINT AFXAPI QxGetTabClientRefreshMessage();

// The paint manager of a frame's command bars when they have one of their
// own (NULL: they draw with the global one), kept on the frame window for
// the windows that follow the bars' look, such as the document tabs. The
// command bars set it (NULL takes it away); the pointer is not owned.
class CQXPThemePainter;
void AFXAPI QxSetFramePaintManager(HWND hFrame, CQXPThemePainter* pPaintManager);
CQXPThemePainter* AFXAPI QxGetFramePaintManager(HWND hFrame);

// ---------------------------------------------------------------------------
// Accessibility base of controls, bars and managers. A class derives from it
// (beside CCmdTarget), calls Init with its command target and overrides the
// IAccessible operations it supports; the others answer E_NOTIMPL. The
// IAccessible interface handed to clients (GetAccessible) counts its
// references on the owner (CCmdTarget::ExternalAddRef / ExternalRelease).
class CQXPAccessibleBase {
public:
    CQXPAccessibleBase();
    virtual ~CQXPAccessibleBase();
    CQXPAccessibleBase(const CQXPAccessibleBase&) = delete;
    CQXPAccessibleBase& operator=(const CQXPAccessibleBase&) = delete;

    // The command target whose reference count the interface uses (NULL:
    // AddRef and Release only count on this object and never delete it).
    void Init(CCmdTarget* pOwner) { m_pOwner = pOwner; }
    CCmdTarget* GetOwner() const { return m_pOwner; }

    // The embedded IAccessible (no reference is added).
    IAccessible* GetAccessible() { return &m_xAccessible; }

    // Platform calls, bound at run time. NotifyWinEvent does nothing when
    // the system has no such function; the other two give E_FAIL.
    void NotifyWinEvent(DWORD event, HWND hwnd, LONG idObject, LONG idChild);
    HRESULT AccessibleObjectFromWindow(HWND hwnd, DWORD dwId, REFIID riid, void** ppvObject);
    LRESULT LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN punk);

    // The child index of an accessibility VARIANT: VT_EMPTY 0, VT_I2/VT_I4
    // the value, by-reference forms the referenced value (VT_BYREF|VT_VARIANT
    // followed); -1 for anything else.
    static long AFXAPI GetChildIndex(const VARIANT* pVar);

    // IAccessible operations, in the interface's order.
    virtual HRESULT get_accParent(IDispatch** ppdispParent);
    virtual HRESULT get_accChildCount(long* pcountChildren);
    virtual HRESULT get_accChild(VARIANT varChild, IDispatch** ppdispChild);
    virtual HRESULT get_accName(VARIANT varChild, BSTR* pszName);
    virtual HRESULT get_accValue(VARIANT varChild, BSTR* pszValue);
    virtual HRESULT get_accDescription(VARIANT varChild, BSTR* pszDescription);
    virtual HRESULT get_accRole(VARIANT varChild, VARIANT* pvarRole);
    virtual HRESULT get_accState(VARIANT varChild, VARIANT* pvarState);
    virtual HRESULT get_accHelp(VARIANT varChild, BSTR* pszHelp);
    virtual HRESULT get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic);
    virtual HRESULT get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut);
    virtual HRESULT get_accFocus(VARIANT* pvarChild);
    virtual HRESULT get_accSelection(VARIANT* pvarChildren);
    virtual HRESULT get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction);
    virtual HRESULT accSelect(long flagsSelect, VARIANT varChild);
    virtual HRESULT accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild);
    virtual HRESULT accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt);
    virtual HRESULT accHitTest(long xLeft, long yTop, VARIANT* pvarChild);
    virtual HRESULT accDoDefaultAction(VARIANT varChild);
    virtual HRESULT put_accName(VARIANT varChild, BSTR szName);
    virtual HRESULT put_accValue(VARIANT varChild, BSTR szValue);

private:
    class XAccessible : public IAccessible {
    public:
        CQXPAccessibleBase* m_pThis = nullptr;
        LONG m_cRef = 0; // used only without an owner
        // IUnknown
        STDMETHOD(QueryInterface)
        (REFIID riid, void** ppv) override;
        STDMETHOD_(ULONG, AddRef)
        () override;
        STDMETHOD_(ULONG, Release)
        () override;
        // IDispatch
        STDMETHOD(GetTypeInfoCount)
        (UINT* pctinfo) override;
        STDMETHOD(GetTypeInfo)
        (UINT, LCID, ITypeInfo**) override;
        STDMETHOD(GetIDsOfNames)
        (REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
        STDMETHOD(Invoke)
        (DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
        // IAccessible
        STDMETHOD(get_accParent)
        (IDispatch** ppdispParent) override;
        STDMETHOD(get_accChildCount)
        (long* pcountChildren) override;
        STDMETHOD(get_accChild)
        (VARIANT varChild, IDispatch** ppdispChild) override;
        STDMETHOD(get_accName)
        (VARIANT varChild, BSTR* pszName) override;
        STDMETHOD(get_accValue)
        (VARIANT varChild, BSTR* pszValue) override;
        STDMETHOD(get_accDescription)
        (VARIANT varChild, BSTR* pszDescription) override;
        STDMETHOD(get_accRole)
        (VARIANT varChild, VARIANT* pvarRole) override;
        STDMETHOD(get_accState)
        (VARIANT varChild, VARIANT* pvarState) override;
        STDMETHOD(get_accHelp)
        (VARIANT varChild, BSTR* pszHelp) override;
        STDMETHOD(get_accHelpTopic)
        (BSTR* pszHelpFile, VARIANT varChild, long* pidTopic) override;
        STDMETHOD(get_accKeyboardShortcut)
        (VARIANT varChild, BSTR* pszKeyboardShortcut) override;
        STDMETHOD(get_accFocus)
        (VARIANT* pvarChild) override;
        STDMETHOD(get_accSelection)
        (VARIANT* pvarChildren) override;
        STDMETHOD(get_accDefaultAction)
        (VARIANT varChild, BSTR* pszDefaultAction) override;
        STDMETHOD(accSelect)
        (long flagsSelect, VARIANT varChild) override;
        STDMETHOD(accLocation)
        (long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
        STDMETHOD(accNavigate)
        (long navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override;
        STDMETHOD(accHitTest)
        (long xLeft, long yTop, VARIANT* pvarChild) override;
        STDMETHOD(accDoDefaultAction)
        (VARIANT varChild) override;
        STDMETHOD(put_accName)
        (VARIANT varChild, BSTR szName) override;
        STDMETHOD(put_accValue)
        (VARIANT varChild, BSTR szValue) override;
    };

    typedef void(WINAPI* PFNNOTIFYWINEVENT)(DWORD, HWND, LONG, LONG);
    typedef HRESULT(WINAPI* PFNACCESSIBLEOBJECTFROMWINDOW)(HWND, DWORD, REFIID, void**);
    typedef LRESULT(WINAPI* PFNLRESULTFROMOBJECT)(REFIID, WPARAM, LPUNKNOWN);

    BOOL BindOleAcc();

    XAccessible m_xAccessible;
    CCmdTarget* m_pOwner;
    PFNNOTIFYWINEVENT m_pfnNotifyWinEvent;
    CQXPModuleHolder m_user32;
    CQXPModuleHolder m_oleacc;
    PFNACCESSIBLEOBJECTFROMWINDOW m_pfnAccessibleObjectFromWindow;
    PFNLRESULTFROMOBJECT m_pfnLresultFromObject;
};
