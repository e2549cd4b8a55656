// qx/profile.h - the profile store (named settings under the application's
// registry key, or in an INI file) and the main window's placement.
//
// Registry layout: <root>\Software\<registry key>\<profile name>\<section>,
// value = entry; the two names are borrowed from the running application
// (CWinApp::m_pszRegistryKey and m_pszProfileName). A section of "" is the
// profile key itself. When a process-wide INI path is set, every Get and
// Write goes to that INI file instead (section = INI section, entry = key).
//
// Stored forms: integers REG_DWORD (4 bytes), strings REG_SZ, binaries
// REG_BINARY; in the INI file integers as decimal text and binaries as two
// capital letters per byte, 'A' + low four bits then 'A' + high four bits.
//
// Reads are strict: a value of the wrong registry type or size (a damaged
// value) reads as missing and gives the default.
#pragma once

#include <fx/fx.h>

class CQXProfileStore {
public:
    explicit CQXProfileStore(HKEY hRootKey = HKEY_CURRENT_USER);
    virtual ~CQXProfileStore();

    // The application key <root>\Software\<registry key>\<profile name>,
    // created when missing; NULL when the names are not available or the key
    // cannot be opened. The caller closes it.
    virtual HKEY OpenProfileKey(REGSAM samDesired);
    // A section key under the profile key (created when missing); NULL for a
    // NULL section.
    virtual HKEY OpenSectionKey(LPCSTR lpszSection, REGSAM samDesired);

    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
    // A NULL entry deletes the section key (it must have no sub-keys); a NULL
    // text deletes the value.
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
    // 0 for a NULL section or entry; the default for a missing, wrong-typed
    // or damaged value.
    int GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = NULL);

    BOOL WriteProfileDword(LPCSTR lpszSection, LPCSTR lpszEntry, const DWORD* pValue);
    // TRUE when a 4-byte value was read into *pValue; *pValue is untouched
    // otherwise.
    BOOL GetProfileDword(LPCSTR lpszSection, LPCSTR lpszEntry, DWORD* pValue);

    BOOL WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, const BYTE* pData, UINT nBytes);
    // *ppData receives a new[] block the caller deletes with delete[]; on
    // failure it stays NULL and *pBytes 0.
    BOOL GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, BYTE** ppData, UINT* pBytes);

    // Deletes a sub-key of a section with its whole tree; an empty sub-key
    // name deletes the section key itself.
    BOOL DeleteProfileKey(LPCSTR lpszSection, LPCSTR lpszSubKey);
    BOOL DeleteProfileValue(LPCSTR lpszSection, LPCSTR lpszEntry);

    // Registry only: the value names of a section in index order, into the
    // map (name -> registry type) and the array, either optional. Returns the
    // number of values (0 when the section cannot be opened).
    int EnumProfileValues(LPCSTR lpszSection, CMap<CString, LPCSTR, DWORD, DWORD>* pMap, CStringArray* pNames);

    // The result code of the last registry call.
    LONG GetLastError() const { return m_lLastError; }

    // The process-wide INI path ("" = registry, the default).
    static void AFXAPI SetIniPath(LPCSTR lpszPath);
    static CString AFXAPI GetIniPath();

protected:
    // Fills in the application's names; FALSE when either is missing.
    BOOL LoadNames();
    BOOL UseIni() const;

    HKEY m_hRootKey;
    LPCSTR m_pszRegistryKey;
    LPCSTR m_pszProfileName;
    LONG m_lLastError;
};

// ---------------------------------------------------------------------------
// The main window's placement, stored as the 44 bytes of a WINDOWPLACEMENT
// (REG_BINARY) in value "Window Position" of section "Settings" unless the
// caller names others.
class CQXWindowPlacement {
public:
    CQXWindowPlacement();

    // Reads the window's placement and stores it; a show command other than
    // SW_SHOWMAXIMIZED is stored as SW_SHOWNORMAL. FALSE when the window does
    // not exist or its placement cannot be read.
    BOOL SaveWindowPos(HWND hWnd, LPCSTR lpszValue = NULL, LPCSTR lpszSection = NULL);
    // TRUE when a stored value of exactly 44 bytes was copied into the record;
    // anything else leaves the record as it was.
    BOOL LoadWindowPos(LPCSTR lpszValue = NULL, LPCSTR lpszSection = NULL);
    // Load, then apply the placement to the window. A normal rectangle that
    // is not wholly on the work area of its nearest monitor, or smaller than
    // kMinUsableSize, is fitted onto it first (KeepOnScreen). The caller
    // shows the window afterwards with GetShowCmd().
    BOOL RestoreWindowPos(HWND hWnd, LPCSTR lpszValue = NULL, LPCSTR lpszSection = NULL);
    // Fits the record's normal rectangle onto the work area of the monitor
    // nearest to it (in the window's coordinates: workspace coordinates for
    // a top-level window without WS_EX_TOOLWINDOW). TRUE when it changed.
    BOOL KeepOnScreen(HWND hWnd);
    // Below this a restored frame is too small to use.
    static constexpr SIZE kMinUsableSize = {320, 200};

    // Window objects (anything with GetSafeHwnd()).
    template <class W>
    BOOL SaveWindowPos(W* pWnd, LPCSTR lpszValue = NULL, LPCSTR lpszSection = NULL)
    {
        return SaveWindowPos(pWnd ? pWnd->GetSafeHwnd() : (HWND)NULL, lpszValue, lpszSection);
    }
    template <class W>
    BOOL RestoreWindowPos(W* pWnd, LPCSTR lpszValue = NULL, LPCSTR lpszSection = NULL)
    {
        return RestoreWindowPos(pWnd ? pWnd->GetSafeHwnd() : (HWND)NULL, lpszValue, lpszSection);
    }

    UINT GetShowCmd() const { return m_wp.showCmd; }
    const WINDOWPLACEMENT& GetPlacement() const { return m_wp; }

    // The stored size: the placement record's own, 44 bytes on every target.
    static const UINT kStoredSize = 44;

    WINDOWPLACEMENT m_wp;
};
