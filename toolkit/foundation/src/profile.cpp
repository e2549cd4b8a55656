// The profile store and the window placement.
#include <qx/profile.h>
#include <qx/sysutil.h>

#include "internal.h"

using qx::detail::QueryValue;

namespace {

const REGSAM kReadAccess = KEY_READ;              // 0x20019
const REGSAM kWriteAccess = KEY_READ | KEY_WRITE; // 0x2001F
const REGSAM kDeleteValueAccess = KEY_ALL_ACCESS; // 0xF003F

CString& IniPath()
{
    static CString s_path;
    return s_path;
}

// Closes a key handle when it goes out of scope.
struct KeyHolder {
    HKEY h;
    explicit KeyHolder(HKEY hKey) : h(hKey) {}
    ~KeyHolder()
    {
        if (h)
            ::RegCloseKey(h);
    }
    KeyHolder(const KeyHolder&) = delete;
    KeyHolder& operator=(const KeyHolder&) = delete;
};

// <root>\Software\<key>\<profile>[\<section>], made when missing. The whole
// path goes in one call: the registry makes the missing keys on the way (each
// key opened, made and closed on its own is a round trip to the server, and
// every value read opens its section).
HKEY CreateKeyPath(HKEY hRoot, LPCSTR lpszKey, LPCSTR lpszProfile, LPCSTR lpszSection, REGSAM samDesired,
                   LONG& lError)
{
    CString strPath("Software\\");
    strPath += lpszKey;
    strPath += '\\';
    strPath += lpszProfile;
    if (lpszSection && *lpszSection) {
        strPath += '\\';
        strPath += lpszSection;
    }
    HKEY hKey = NULL;
    lError = ::RegCreateKeyExA(hRoot, strPath, 0, NULL, REG_OPTION_NON_VOLATILE, samDesired, NULL, &hKey, NULL);
    return lError == ERROR_SUCCESS ? hKey : NULL;
}

} // namespace

// ---------------------------------------------------------------------------

CQXProfileStore::CQXProfileStore(HKEY hRootKey)
    : m_hRootKey(hRootKey), m_pszRegistryKey(NULL), m_pszProfileName(NULL), m_lLastError(ERROR_SUCCESS)
{
}

CQXProfileStore::~CQXProfileStore() {}

void AFXAPI CQXProfileStore::SetIniPath(LPCSTR lpszPath) { IniPath() = lpszPath; }
CString AFXAPI CQXProfileStore::GetIniPath() { return IniPath(); }

BOOL CQXProfileStore::UseIni() const { return !IniPath().IsEmpty(); }

BOOL CQXProfileStore::LoadNames()
{
    if (!m_pszRegistryKey || !m_pszProfileName) {
        CWinApp* pApp = AfxGetApp();
        if (pApp) {
            if (!m_pszRegistryKey)
                m_pszRegistryKey = pApp->m_pszRegistryKey;
            if (!m_pszProfileName)
                m_pszProfileName = pApp->m_pszProfileName;
        }
    }
    return m_pszRegistryKey != NULL && m_pszProfileName != NULL && *m_pszRegistryKey != 0;
}

HKEY CQXProfileStore::OpenProfileKey(REGSAM samDesired)
{
    if (!LoadNames())
        return NULL;
    return CreateKeyPath(m_hRootKey, m_pszRegistryKey, m_pszProfileName, NULL, samDesired, m_lLastError);
}

HKEY CQXProfileStore::OpenSectionKey(LPCSTR lpszSection, REGSAM samDesired)
{
    if (!lpszSection || !LoadNames())
        return NULL;
    return CreateKeyPath(m_hRootKey, m_pszRegistryKey, m_pszProfileName, lpszSection, samDesired, m_lLastError);
}

// --- integers ------------------------------------------------------------------

BOOL CQXProfileStore::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue)
{
    if (!lpszSection)
        return FALSE;
    if (UseIni()) {
        char sz[16];
        wsprintfA(sz, "%d", nValue);
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, sz, IniPath());
    }
    if (!lpszEntry)
        return FALSE;
    KeyHolder key(OpenSectionKey(lpszSection, kWriteAccess));
    if (!key.h)
        return FALSE;
    DWORD dw = (DWORD)nValue;
    m_lLastError = ::RegSetValueExA(key.h, lpszEntry, 0, REG_DWORD, (const BYTE*)&dw, sizeof(dw));
    return m_lLastError == ERROR_SUCCESS;
}

int CQXProfileStore::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault)
{
    if (!lpszSection || !lpszEntry)
        return 0;
    if (UseIni())
        return (int)::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, IniPath());
    KeyHolder key(OpenSectionKey(lpszSection, kReadAccess));
    if (!key.h)
        return nDefault;
    DWORD dwType = 0;
    std::vector<BYTE> data;
    m_lLastError = QueryValue(key.h, lpszEntry, dwType, data);
    // Only a whole REG_DWORD is an integer; anything else is a damaged value.
    if (m_lLastError != ERROR_SUCCESS || dwType != REG_DWORD || data.size() != sizeof(DWORD))
        return nDefault;
    DWORD dw;
    memcpy(&dw, data.data(), sizeof(dw));
    return (int)dw;
}

BOOL CQXProfileStore::WriteProfileDword(LPCSTR lpszSection, LPCSTR lpszEntry, const DWORD* pValue)
{
    if (!pValue)
        return FALSE;
    return WriteProfileInt(lpszSection, lpszEntry, (int)*pValue);
}

BOOL CQXProfileStore::GetProfileDword(LPCSTR lpszSection, LPCSTR lpszEntry, DWORD* pValue)
{
    if (!lpszSection || !lpszEntry || !pValue)
        return FALSE;
    if (UseIni()) {
        char sz[64];
        ::GetPrivateProfileStringA(lpszSection, lpszEntry, "", sz, sizeof(sz), IniPath());
        if (!sz[0])
            return FALSE;
        *pValue = (DWORD)::GetPrivateProfileIntA(lpszSection, lpszEntry, 0, IniPath());
        return TRUE;
    }
    KeyHolder key(OpenSectionKey(lpszSection, kReadAccess));
    if (!key.h)
        return FALSE;
    DWORD dwType = 0;
    std::vector<BYTE> data;
    m_lLastError = QueryValue(key.h, lpszEntry, dwType, data);
    if (m_lLastError != ERROR_SUCCESS || data.size() != sizeof(DWORD) ||
        (dwType != REG_DWORD && dwType != REG_BINARY))
        return FALSE;
    memcpy(pValue, data.data(), sizeof(DWORD));
    return TRUE;
}

// --- strings ---------------------------------------------------------------------

BOOL CQXProfileStore::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    if (!lpszSection)
        return FALSE;
    if (UseIni())
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, IniPath());
    if (!lpszEntry) {
        // The whole section goes.
        KeyHolder app(OpenProfileKey(kWriteAccess));
        if (!app.h)
            return FALSE;
        m_lLastError = ::RegDeleteKeyA(app.h, lpszSection);
        return m_lLastError == ERROR_SUCCESS;
    }
    KeyHolder key(OpenSectionKey(lpszSection, kWriteAccess));
    if (!key.h)
        return FALSE;
    if (!lpszValue)
        m_lLastError = ::RegDeleteValueA(key.h, lpszEntry);
    else
        m_lLastError = ::RegSetValueExA(key.h, lpszEntry, 0, REG_SZ, (const BYTE*)lpszValue,
                                        (DWORD)strlen(lpszValue) + 1);
    return m_lLastError == ERROR_SUCCESS;
}

CString CQXProfileStore::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    if (!lpszSection)
        return CString(lpszDefault);
    if (UseIni()) {
        // The call cuts a value that does not fit (returning the size minus
        // one, or minus two for the null-separated key list): grow until it fits.
        std::vector<char> buf(4096);
        for (;;) {
            DWORD n = ::GetPrivateProfileStringA(lpszSection, lpszEntry, lpszDefault ? lpszDefault : "",
                                                 buf.data(), (DWORD)buf.size(), IniPath());
            if (n + 2 < buf.size() || buf.size() >= (1u << 26))
                break;
            buf.resize(buf.size() * 4);
        }
        return CString(buf.data());
    }
    if (!lpszEntry)
        return CString(lpszDefault);
    KeyHolder key(OpenSectionKey(lpszSection, kReadAccess));
    if (!key.h)
        return CString(lpszDefault);
    DWORD dwType = 0;
    std::vector<BYTE> data;
    m_lLastError = QueryValue(key.h, lpszEntry, dwType, data);
    if (m_lLastError != ERROR_SUCCESS || (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return CString(lpszDefault);
    return CString(qx::detail::RegText(data).c_str());
}

// --- binaries --------------------------------------------------------------------

BOOL CQXProfileStore::WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, const BYTE* pData, UINT nBytes)
{
    if (!lpszSection || (!pData && nBytes))
        return FALSE;
    if (UseIni()) {
        std::string text = qx::detail::EncodeLetters(pData, nBytes);
        return WriteProfileString(lpszSection, lpszEntry, text.c_str());
    }
    if (!lpszEntry)
        return FALSE;
    KeyHolder key(OpenSectionKey(lpszSection, kWriteAccess));
    if (!key.h)
        return FALSE;
    m_lLastError = ::RegSetValueExA(key.h, lpszEntry, 0, REG_BINARY, pData, nBytes);
    return m_lLastError == ERROR_SUCCESS;
}

BOOL CQXProfileStore::GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, BYTE** ppData, UINT* pBytes)
{
    if (!ppData || !pBytes)
        return FALSE;
    *ppData = NULL;
    *pBytes = 0;
    if (!lpszSection || !lpszEntry)
        return FALSE;
    std::vector<BYTE> data;
    if (UseIni()) {
        CString text = GetProfileString(lpszSection, lpszEntry, NULL);
        if (text.IsEmpty())
            return FALSE;
        // An odd number of letters cannot be a whole byte sequence.
        if (!qx::detail::DecodeLetters(text.GetString(), (size_t)text.GetLength(), data))
            return FALSE;
    } else {
        KeyHolder key(OpenSectionKey(lpszSection, kReadAccess));
        if (!key.h)
            return FALSE;
        DWORD dwType = 0;
        m_lLastError = QueryValue(key.h, lpszEntry, dwType, data);
        if (m_lLastError != ERROR_SUCCESS || dwType != REG_BINARY)
            return FALSE;
    }
    *ppData = new BYTE[data.size() ? data.size() : 1];
    if (!data.empty())
        memcpy(*ppData, data.data(), data.size());
    *pBytes = (UINT)data.size();
    return TRUE;
}

// --- deletion and enumeration -------------------------------------------------------

BOOL CQXProfileStore::DeleteProfileKey(LPCSTR lpszSection, LPCSTR lpszSubKey)
{
    if (!lpszSection || !lpszSubKey)
        return FALSE;
    if (!*lpszSubKey) {
        KeyHolder app(OpenProfileKey(kWriteAccess));
        if (!app.h)
            return FALSE;
        m_lLastError = qx::detail::DeleteKeyTree(app.h, lpszSection);
        return m_lLastError == ERROR_SUCCESS;
    }
    KeyHolder key(OpenSectionKey(lpszSection, kWriteAccess));
    if (!key.h)
        return FALSE;
    m_lLastError = qx::detail::DeleteKeyTree(key.h, lpszSubKey);
    return m_lLastError == ERROR_SUCCESS;
}

BOOL CQXProfileStore::DeleteProfileValue(LPCSTR lpszSection, LPCSTR lpszEntry)
{
    if (!lpszSection || !lpszEntry)
        return FALSE;
    KeyHolder key(OpenSectionKey(lpszSection, kDeleteValueAccess));
    if (!key.h)
        return FALSE;
    m_lLastError = ::RegDeleteValueA(key.h, lpszEntry);
    return m_lLastError == ERROR_SUCCESS;
}

int CQXProfileStore::EnumProfileValues(LPCSTR lpszSection, CMap<CString, LPCSTR, DWORD, DWORD>* pMap,
                                       CStringArray* pNames)
{
    KeyHolder key(OpenSectionKey(lpszSection, kReadAccess));
    if (!key.h)
        return 0;
    int n = 0;
    for (DWORD i = 0;; ++i) {
        char szName[513];
        DWORD cch = sizeof(szName);
        DWORD dwType = 0;
        LONG r = ::RegEnumValueA(key.h, i, szName, &cch, NULL, &dwType, NULL, NULL);
        if (r == ERROR_MORE_DATA)
            continue; // a name longer than 512 characters is skipped
        if (r != ERROR_SUCCESS)
            break;
        if (pMap)
            pMap->SetAt(szName, dwType);
        if (pNames)
            pNames->Add(szName);
        ++n;
    }
    return n;
}

// ---------------------------------------------------------------------------
// Window placement

namespace {
const char kDefaultPlacementValue[] = "Window Position";
const char kDefaultPlacementSection[] = "Settings";
} // namespace

CQXWindowPlacement::CQXWindowPlacement()
{
    static_assert(sizeof(WINDOWPLACEMENT) == 44, "the stored placement is 44 bytes");
    ZeroMemory(&m_wp, sizeof(m_wp));
    m_wp.length = sizeof(m_wp);
    m_wp.showCmd = SW_SHOW;
}

BOOL CQXWindowPlacement::SaveWindowPos(HWND hWnd, LPCSTR lpszValue, LPCSTR lpszSection)
{
    if (!hWnd || !::IsWindow(hWnd))
        return FALSE;
    WINDOWPLACEMENT wp;
    wp.length = sizeof(wp);
    if (!::GetWindowPlacement(hWnd, &wp))
        return FALSE;
    m_wp = wp;
    if (m_wp.showCmd != SW_SHOWMAXIMIZED)
        m_wp.showCmd = SW_SHOWNORMAL;
    CQXProfileStore store(HKEY_CURRENT_USER);
    store.WriteProfileBinary(lpszSection ? lpszSection : kDefaultPlacementSection,
                             lpszValue ? lpszValue : kDefaultPlacementValue, (const BYTE*)&m_wp, sizeof(m_wp));
    return TRUE;
}

BOOL CQXWindowPlacement::LoadWindowPos(LPCSTR lpszValue, LPCSTR lpszSection)
{
    CQXProfileStore store(HKEY_CURRENT_USER);
    BYTE* pData = NULL;
    UINT nBytes = 0;
    BOOL bOk = FALSE;
    if (store.GetProfileBinary(lpszSection ? lpszSection : kDefaultPlacementSection,
                               lpszValue ? lpszValue : kDefaultPlacementValue, &pData, &nBytes) &&
        nBytes == sizeof(m_wp)) {
        WINDOWPLACEMENT wp;
        memcpy(&wp, pData, sizeof(wp));
        // The record keeps its own length field whatever was stored.
        wp.length = sizeof(wp);
        m_wp = wp;
        bOk = TRUE;
    }
    delete[] pData;
    return bOk;
}

BOOL CQXWindowPlacement::KeepOnScreen(HWND hWnd)
{
    // The normal rectangle of a top-level window that is no tool window is
    // in workspace coordinates: relative to the primary monitor's work area.
    POINT ptOrigin = {0, 0};
    LONG_PTR exStyle = hWnd != NULL ? ::GetWindowLongPtrA(hWnd, GWL_EXSTYLE) : 0;
    BOOL bWorkspace = hWnd == NULL || ((exStyle & WS_EX_TOOLWINDOW) == 0 && ::GetParent(hWnd) == NULL);
    if (bWorkspace) {
        RECT rcPrimary = {0, 0, 0, 0};
        if (::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcPrimary, 0)) {
            ptOrigin.x = rcPrimary.left;
            ptOrigin.y = rcPrimary.top;
        }
    }
    RECT rc = m_wp.rcNormalPosition;
    ::OffsetRect(&rc, ptOrigin.x, ptOrigin.y);
    RECT rcWork = GetMultiMonitorHelper()->GetWorkAreaNearestRect(&rc);
    if (!QxFitRectToWorkArea(rc, rcWork, kMinUsableSize))
        return FALSE;
    ::OffsetRect(&rc, -ptOrigin.x, -ptOrigin.y);
    m_wp.rcNormalPosition = rc;
    return TRUE;
}

BOOL CQXWindowPlacement::RestoreWindowPos(HWND hWnd, LPCSTR lpszValue, LPCSTR lpszSection)
{
    if (!hWnd || !::IsWindow(hWnd))
        return FALSE;
    if (!LoadWindowPos(lpszValue, lpszSection))
        return FALSE;
    // A stored place off every screen (a monitor that is gone, a damaged
    // value) comes back on the nearest monitor with a usable size.
    KeepOnScreen(hWnd);
    // The placement is applied without showing; the caller shows the window
    // with the stored show command.
    WINDOWPLACEMENT wp = m_wp;
    if (!::IsWindowVisible(hWnd))
        wp.showCmd = SW_HIDE;
    ::SetWindowPlacement(hWnd, &wp);
    return TRUE;
}
