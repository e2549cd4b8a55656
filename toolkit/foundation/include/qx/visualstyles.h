// qx/visualstyles.h - the visual-styles wrapper. One CVisualStyleTheme
// holds one theme handle and calls "UXTHEME.DLL" through entry points bound
// by name at run time (never through an import), so the program runs and
// draws without visual styles: every call then returns a fixed failure value
// and the caller falls back to classic drawing. A second small binding
// serves "dwmapi.dll" (desktop composition).
//
// Callers open their handles when they refresh their metrics and test
// IsAppThemed on the same object before drawing with it.
//
// Every call into a library is guarded: a fault raised inside it (an
// access violation in a damaged theme, say) is caught, the library's frames
// are unwound as for any handled exception, and the call gives its failure
// value, so the caller draws without visual styles.
#pragma once

#include <fx/fx.h>
#include <uxtheme.h>

class CVisualStyleTheme {
public:
    // bFollowModule: the object notices when the library is unloaded and
    // loaded again, and binds every function afresh (1 almost everywhere; 0
    // for short-lived local objects).
    explicit CVisualStyleTheme(BOOL bFollowModule = TRUE);
    virtual ~CVisualStyleTheme();
    CVisualStyleTheme(const CVisualStyleTheme&) = delete;
    CVisualStyleTheme& operator=(const CVisualStyleTheme&) = delete;

    HTHEME GetHandle() const { return m_hTheme; }
    BOOL IsOpen() const { return m_hTheme != NULL; }

    // Closes the held handle, then opens one for the class list; 0 when the
    // library or the function is missing (the object stays closed).
    HTHEME OpenThemeData(HWND hWnd, LPCWSTR pszClassList);
    // Closes the held handle (if any); the object is closed afterwards. 0
    // when no handle is held or the library cannot close it (missing
    // function, fault), else the library's answer.
    HRESULT CloseThemeHandle();
    HRESULT CloseThemeData() { return CloseThemeHandle(); }

    // E_FAIL when missing.
    HRESULT DrawThemeBackground(HDC hdc, int iPartId, int iStateId, LPCRECT pRect, LPCRECT pClipRect = NULL);
    HRESULT DrawThemeTextEx(HDC hdc, int iPartId, int iStateId, LPCWSTR pszText, int cchText, DWORD dwTextFlags,
                            LPRECT pRect, const DTTOPTS* pOptions);
    HRESULT GetThemeColor(int iPartId, int iStateId, int iPropId, COLORREF* pColor);
    HRESULT GetThemePartSize(HDC hdc, int iPartId, int iStateId, LPCRECT pRect, THEMESIZE eSize, SIZE* psz);
    // FALSE when missing.
    BOOL GetThemeSysBool(int iBoolId);
    // No handle is used. E_FAIL when missing.
    HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                                int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars);
    // FALSE at once when no handle is held, else the library's answer.
    BOOL IsAppThemed();
    // The library's answer (no handle needed); FALSE when missing.
    BOOL IsThemeActive();
    // NULL when missing.
    HPAINTBUFFER BeginBufferedPaint(HDC hdcTarget, LPCRECT prcTarget, BP_BUFFERFORMAT dwFormat,
                                    BP_PAINTPARAMS* pPaintParams, HDC* phdc);
    void EndBufferedPaint(HPAINTBUFFER hBufferedPaint, BOOL fUpdateTarget);
    // TRUE when visual styles are active and the common controls are above
    // version 5.
    BOOL IsNewThemeLibrary();

    // Desktop composition ("dwmapi.dll"). DwmDefWindowProc answers FALSE
    // (not handled) when composition is not available.
    static BOOL AFXAPI DwmDefWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult);
    static HRESULT AFXAPI DwmExtendFrameIntoClientArea(HWND hWnd, int cxLeft, int cyTop, int cxRight, int cyBottom);

    // The visual-styles library this process uses ("UXTHEME.DLL") and the
    // common-controls version the records assume (0: ask the system). Tests
    // point them elsewhere; the module records are rebuilt on their next use.
    static void AFXAPI SetLibrary(LPCSTR lpszName, DWORD dwComCtlVersion = 0);

    struct ModuleRecord;

private:
    ModuleRecord* GetModuleRecord();
    void* Bind(int nSlot, bool bFollowCheck);

    HTHEME m_hTheme;
    BOOL m_bFollowModule;
};
