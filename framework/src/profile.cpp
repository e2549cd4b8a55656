// The application profile: registry or INI file.
#include "fx/app.h"
#include "fx/except.h"

#include <cstring>
#include <vector>

namespace {

// Opens HKCU\Software\<key>\<profile>[\<section>] for reading without
// creating anything; NULL when missing.
HKEY OpenForRead(LPCSTR pszRegistryKey, LPCSTR pszProfile, LPCSTR pszSection)
{
    if (!pszRegistryKey || !pszProfile || !pszSection)
        return NULL;
    CString strPath("Software\\");
    strPath += pszRegistryKey;
    strPath += '\\';
    strPath += pszProfile;
    strPath += '\\';
    strPath += pszSection;
    HKEY hKey = NULL;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, strPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return NULL;
    return hKey;
}

// Reads a value of any type; FALSE when missing.
BOOL QueryValue(HKEY hKey, LPCSTR pszEntry, DWORD& dwType, std::vector<BYTE>& data)
{
    DWORD cb = 0;
    if (RegQueryValueExA(hKey, pszEntry, NULL, &dwType, NULL, &cb) != ERROR_SUCCESS)
        return FALSE;
    for (int nTry = 0; nTry < 4; ++nTry) {
        data.resize(cb);
        DWORD cbRead = cb;
        LONG lResult = RegQueryValueExA(hKey, pszEntry, NULL, &dwType, cb ? data.data() : NULL, &cbRead);
        if (lResult == ERROR_SUCCESS) {
            data.resize(cbRead);
            return TRUE;
        }
        if (lResult != ERROR_MORE_DATA)
            return FALSE;
        cb = cbRead > cb ? cbRead : cb * 2 + 16; // the value grew meanwhile
    }
    return FALSE;
}

} // namespace

HKEY CWinApp::GetAppRegistryKey()
{
    if (m_pszRegistryKey == NULL || m_pszProfileName == NULL)
        return NULL;
    HKEY hSoftKey = NULL, hCompanyKey = NULL, hAppKey = NULL;
    DWORD dw;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_WRITE | KEY_READ, &hSoftKey) == ERROR_SUCCESS) {
        if (RegCreateKeyExA(hSoftKey, m_pszRegistryKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ, NULL,
                            &hCompanyKey, &dw) == ERROR_SUCCESS) {
            RegCreateKeyExA(hCompanyKey, m_pszProfileName, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ,
                            NULL, &hAppKey, &dw);
        }
    }
    if (hSoftKey)
        RegCloseKey(hSoftKey);
    if (hCompanyKey)
        RegCloseKey(hCompanyKey);
    return hAppKey;
}

HKEY CWinApp::GetSectionKey(LPCSTR lpszSection)
{
    if (lpszSection == NULL)
        return NULL;
    HKEY hAppKey = GetAppRegistryKey();
    if (hAppKey == NULL)
        return NULL;
    HKEY hSectionKey = NULL;
    DWORD dw;
    RegCreateKeyExA(hAppKey, lpszSection, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ, NULL, &hSectionKey,
                    &dw);
    RegCloseKey(hAppKey);
    return hSectionKey;
}

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault)
{
    if (lpszSection == NULL || lpszEntry == NULL)
        return (UINT)nDefault;
    if (m_pszRegistryKey != NULL) {
        HKEY hKey = OpenForRead(m_pszRegistryKey, m_pszProfileName, lpszSection);
        if (hKey == NULL)
            return (UINT)nDefault;
        DWORD dwType = 0, dwValue = 0, cb = sizeof(dwValue);
        LONG lResult = RegQueryValueExA(hKey, lpszEntry, NULL, &dwType, reinterpret_cast<LPBYTE>(&dwValue), &cb);
        RegCloseKey(hKey);
        if (lResult == ERROR_SUCCESS && dwType == REG_DWORD && cb == sizeof(DWORD))
            return (UINT)dwValue;
        return (UINT)nDefault;
    }
    if (m_pszProfileName == NULL)
        return (UINT)nDefault;
    return GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_pszProfileName);
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue)
{
    if (lpszSection == NULL || lpszEntry == NULL)
        return FALSE;
    if (m_pszRegistryKey != NULL) {
        HKEY hKey = GetSectionKey(lpszSection);
        if (hKey == NULL)
            return FALSE;
        DWORD dwValue = (DWORD)nValue;
        LONG lResult =
            RegSetValueExA(hKey, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue));
        RegCloseKey(hKey);
        return lResult == ERROR_SUCCESS;
    }
    if (m_pszProfileName == NULL)
        return FALSE;
    char szT[16];
    _snprintf(szT, sizeof(szT), "%d", nValue);
    szT[sizeof(szT) - 1] = 0;
    return WritePrivateProfileStringA(lpszSection, lpszEntry, szT, m_pszProfileName);
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    if (lpszDefault == NULL)
        lpszDefault = "";
    if (lpszSection == NULL || lpszEntry == NULL)
        return CString(lpszDefault);
    if (m_pszRegistryKey != NULL) {
        HKEY hKey = OpenForRead(m_pszRegistryKey, m_pszProfileName, lpszSection);
        if (hKey == NULL)
            return CString(lpszDefault);
        DWORD dwType = 0;
        std::vector<BYTE> data;
        BOOL bOk = QueryValue(hKey, lpszEntry, dwType, data);
        RegCloseKey(hKey);
        if (!bOk || (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
            return CString(lpszDefault);
        // The stored text may lack its terminator.
        size_t n = 0;
        while (n < data.size() && data[n] != 0)
            ++n;
        return CString(reinterpret_cast<const char*>(data.data()), (int)n);
    }
    if (m_pszProfileName == NULL)
        return CString(lpszDefault);
    // Grow the buffer until the text fits.
    for (DWORD nSize = 4096; nSize <= 16u * 1024 * 1024; nSize *= 4) {
        std::vector<char> buf(nSize);
        DWORD n = GetPrivateProfileStringA(lpszSection, lpszEntry, lpszDefault, buf.data(), nSize, m_pszProfileName);
        if (n < nSize - 1)
            return CString(buf.data(), (int)n);
    }
    return CString(lpszDefault);
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    if (lpszSection == NULL)
        return FALSE;
    if (m_pszRegistryKey != NULL) {
        if (lpszEntry == NULL) {
            // Delete the whole section with everything below it.
            HKEY hAppKey = GetAppRegistryKey();
            if (hAppKey == NULL)
                return FALSE;
            LONG lResult = RegDeleteTreeA(hAppKey, lpszSection);
            RegCloseKey(hAppKey);
            return lResult == ERROR_SUCCESS;
        }
        if (lpszValue == NULL) {
            HKEY hKey = OpenForRead(m_pszRegistryKey, m_pszProfileName, lpszSection);
            if (hKey == NULL)
                return FALSE;
            RegCloseKey(hKey);
            hKey = GetSectionKey(lpszSection);
            if (hKey == NULL)
                return FALSE;
            LONG lResult = RegDeleteValueA(hKey, lpszEntry);
            RegCloseKey(hKey);
            return lResult == ERROR_SUCCESS;
        }
        HKEY hKey = GetSectionKey(lpszSection);
        if (hKey == NULL)
            return FALSE;
        LONG lResult = RegSetValueExA(hKey, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                                      (DWORD)std::strlen(lpszValue) + 1);
        RegCloseKey(hKey);
        return lResult == ERROR_SUCCESS;
    }
    if (m_pszProfileName == NULL)
        return FALSE;
    // NULL entry: the section goes; NULL value: the entry goes.
    return WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
}

BOOL CWinApp::GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE* ppData, UINT* pBytes)
{
    if (ppData == NULL || pBytes == NULL)
        return FALSE;
    *ppData = NULL;
    *pBytes = 0;
    if (lpszSection == NULL || lpszEntry == NULL)
        return FALSE;
    if (m_pszRegistryKey != NULL) {
        HKEY hKey = OpenForRead(m_pszRegistryKey, m_pszProfileName, lpszSection);
        if (hKey == NULL)
            return FALSE;
        DWORD dwType = 0;
        std::vector<BYTE> data;
        BOOL bOk = QueryValue(hKey, lpszEntry, dwType, data);
        RegCloseKey(hKey);
        if (!bOk || dwType != REG_BINARY)
            return FALSE;
        *ppData = new BYTE[data.size() ? data.size() : 1];
        if (!data.empty())
            std::memcpy(*ppData, data.data(), data.size());
        *pBytes = (UINT)data.size();
        return TRUE;
    }
    CString str = GetProfileString(lpszSection, lpszEntry, NULL);
    if (str.IsEmpty())
        return FALSE;
    // Two letters per byte: an odd length means the text was damaged, and a
    // shortened block must not pass for the stored one.
    if (str.GetLength() % 2 != 0)
        return FALSE;
    UINT nBytes = (UINT)str.GetLength() / 2;
    // Every character must be one of the sixteen letters.
    for (int i = 0; i < (int)nBytes * 2; ++i) {
        if (str[i] < 'A' || str[i] > 'P')
            return FALSE;
    }
    *ppData = new BYTE[nBytes ? nBytes : 1];
    for (UINT i = 0; i < nBytes; ++i)
        (*ppData)[i] = (BYTE)(((str[(int)(i * 2 + 1)] - 'A') << 4) + (str[(int)(i * 2)] - 'A'));
    *pBytes = nBytes;
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes)
{
    if (lpszSection == NULL || lpszEntry == NULL || (pData == NULL && nBytes != 0))
        return FALSE;
    if (m_pszRegistryKey != NULL) {
        HKEY hKey = GetSectionKey(lpszSection);
        if (hKey == NULL)
            return FALSE;
        LONG lResult = RegSetValueExA(hKey, lpszEntry, 0, REG_BINARY, pData, nBytes);
        RegCloseKey(hKey);
        return lResult == ERROR_SUCCESS;
    }
    CString str;
    char* p = str.GetBufferSetLength((int)nBytes * 2);
    for (UINT i = 0; i < nBytes; ++i) {
        p[i * 2] = (char)((pData[i] & 0x0F) + 'A');
        p[i * 2 + 1] = (char)(((pData[i] >> 4) & 0x0F) + 'A');
    }
    return WriteProfileString(lpszSection, lpszEntry, str);
}
