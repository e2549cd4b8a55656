// profile.cpp - profile operations of the core over the application object.
#include "profile.h"

#include "fx/app.h"

namespace qm {

int GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault)
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? (int)pApp->GetProfileInt(lpszSection, lpszEntry, nDefault) : nDefault;
}

BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue)
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->WriteProfileInt(lpszSection, lpszEntry, nValue) : FALSE;
}

CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->GetProfileString(lpszSection, lpszEntry, lpszDefault) : CString(lpszDefault);
}

BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    if (lpszEntry == NULL || lpszValue == NULL)
        return FALSE; // deletions go through the functions below
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->WriteProfileString(lpszSection, lpszEntry, lpszValue) : FALSE;
}

namespace {

// Opens a section of the application key, or the key itself for "".
HKEY OpenSection(LPCSTR lpszSection, REGSAM samDesired)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL || lpszSection == NULL)
        return NULL;
    HKEY hApp = pApp->GetAppRegistryKey();
    if (hApp == NULL)
        return NULL;
    HKEY hKey = NULL;
    LONG lResult = ::RegOpenKeyExA(hApp, lpszSection, 0, samDesired, &hKey);
    ::RegCloseKey(hApp);
    return lResult == ERROR_SUCCESS ? hKey : NULL;
}

LONG DeleteTree(HKEY hParent, LPCSTR lpszName)
{
    HKEY hKey = NULL;
    LONG lResult = ::RegOpenKeyExA(hParent, lpszName, 0, KEY_READ | KEY_WRITE, &hKey);
    if (lResult != ERROR_SUCCESS)
        return lResult;
    char szSub[256];
    for (;;) {
        DWORD cch = sizeof(szSub);
        if (::RegEnumKeyExA(hKey, 0, szSub, &cch, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        if (DeleteTree(hKey, szSub) != ERROR_SUCCESS)
            break;
    }
    ::RegCloseKey(hKey);
    return ::RegDeleteKeyA(hParent, lpszName);
}

} // namespace

BOOL DeleteProfileValue(LPCSTR lpszSection, LPCSTR lpszEntry)
{
    if (lpszEntry == NULL)
        return FALSE;
    HKEY hKey = OpenSection(lpszSection, KEY_SET_VALUE);
    if (hKey == NULL)
        return FALSE;
    LONG lResult = ::RegDeleteValueA(hKey, lpszEntry);
    ::RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

BOOL DeleteProfileSection(LPCSTR lpszSection)
{
    if (lpszSection == NULL || *lpszSection == '\0')
        return FALSE; // never the application key itself
    CWinApp* pApp = AfxGetApp();
    HKEY hApp = pApp ? pApp->GetAppRegistryKey() : NULL;
    if (hApp == NULL)
        return FALSE;
    LONG lResult = DeleteTree(hApp, lpszSection);
    ::RegCloseKey(hApp);
    return lResult == ERROR_SUCCESS;
}

std::vector<ProfileValue> EnumProfileValues(LPCSTR lpszSection)
{
    std::vector<ProfileValue> values;
    HKEY hKey = OpenSection(lpszSection, KEY_READ);
    if (hKey == NULL)
        return values;
    DWORD nMaxName = 0;
    if (::RegQueryInfoKeyA(hKey, NULL, NULL, NULL, NULL, NULL, NULL, NULL, &nMaxName, NULL, NULL, NULL) !=
        ERROR_SUCCESS)
        nMaxName = 512;
    std::vector<char> name((size_t)nMaxName + 2);
    for (DWORD i = 0;;) {
        DWORD cch = (DWORD)name.size();
        DWORD dwType = 0;
        LONG lResult = ::RegEnumValueA(hKey, i, name.data(), &cch, NULL, &dwType, NULL, NULL);
        if (lResult == ERROR_MORE_DATA && name.size() < 65536) {
            name.resize(name.size() * 2);
            continue;
        }
        if (lResult != ERROR_SUCCESS)
            break;
        ProfileValue v;
        v.name = CString(name.data(), (int)cch);
        v.type = dwType;
        values.push_back(v);
        ++i;
    }
    ::RegCloseKey(hKey);
    return values;
}

} // namespace qm
