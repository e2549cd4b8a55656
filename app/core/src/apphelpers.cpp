// apphelpers.cpp - shared helpers of the editor.
#include "apphelpers.h"

#include <fx/clipboard.h>
#include "profile.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shellapi.h>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {
CString g_localAppDataOverride;
} // namespace

// ===========================================================================
// Per-user folders

void SetLocalAppDataOverride(LPCSTR lpszFolder)
{
    g_localAppDataOverride = lpszFolder ? lpszFolder : "";
}

CString GetLocalAppDataFolder()
{
    if (!g_localAppDataOverride.IsEmpty())
        return g_localAppDataOverride;
    char szPath[MAX_PATH + 1] = "";
    if (FAILED(::SHGetFolderPathA(NULL, CSIDL_LOCAL_APPDATA, NULL, SHGFP_TYPE_CURRENT, szPath)))
        szPath[0] = '\0';
    return CString(szPath);
}

CString GetAppDataFolder()
{
    CString folder;
    folder.Format("%s\\Fernbright\\%s", GetLocalAppDataFolder().GetString(), "Quillmate");
    return folder;
}

BOOL CreateFolder(LPCSTR lpszPath)
{
    if (lpszPath == NULL || *lpszPath == '\0')
        return FALSE;
    DWORD dwAttrs = ::GetFileAttributesA(lpszPath);
    if (dwAttrs != INVALID_FILE_ATTRIBUTES)
        return (dwAttrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
    CString path(lpszPath);
    path.TrimRight("\\/");
    // Create the parent first, then this level.
    int nSlash = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
    if (nSlash > 0) {
        CString parent = path.Left(nSlash);
        bool bRoot = parent.GetLength() == 2 && parent[1] == ':';
        bool bUncRoot = parent.Left(2) == "\\\\" && parent.Find('\\', 2) < 0;
        if (!bRoot && !bUncRoot && !CreateFolder(parent))
            return FALSE;
    }
    if (::CreateDirectoryA(path, NULL))
        return TRUE;
    dwAttrs = ::GetFileAttributesA(path);
    return dwAttrs != INVALID_FILE_ATTRIBUTES && (dwAttrs & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL EnsureAppDataFolders()
{
    const CString root = GetAppDataFolder();
    static const char* const kSubfolders[] = {"Config", "Templates", "Backup", "Tidy"};
    BOOL bOk = CreateFolder(root);
    for (const char* sub : kSubfolders)
        bOk = CreateFolder(root + "\\" + sub) && bOk;
    return bOk;
}

CString GetProgramFolder()
{
    char szPath[MAX_PATH + 1] = "";
    DWORD n = ::GetModuleFileNameA(NULL, szPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return CString();
    CPathParts parts(szPath);
    CString folder = parts.GetFolder();
    if (folder.GetLength() > 3 && folder[folder.GetLength() - 1] == '\\')
        folder.Truncate(folder.GetLength() - 1);
    return folder;
}

CString GetShippedFolder(LPCSTR lpszName)
{
    CString folder = GetProgramFolder();
    if (folder.IsEmpty())
        return folder;
    if (folder[folder.GetLength() - 1] != '\\')
        folder += '\\';
    return folder + lpszName;
}


CString GetShippedConfigFolder()
{
    return GetShippedFolder("Config");
}

CString GetShippedTidyFolder()
{
    return GetShippedFolder("Tidy");
}

int CopyMissingFiles(LPCSTR lpszSource, LPCSTR lpszTarget, LPCSTR lpszPattern)
{
    if (lpszSource == NULL || *lpszSource == '\0' || lpszTarget == NULL || *lpszTarget == '\0' ||
        lpszPattern == NULL)
        return 0;
    const CString source(lpszSource);
    const CString target(lpszTarget);
    // The names the target has already, read in one listing: trying each
    // copy would open every shipped file at every start.
    std::vector<CString> present;
    WIN32_FIND_DATAA fd;
    HANDLE hFind = ::FindFirstFileA(target + "\\" + lpszPattern, &fd);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            CString name(fd.cFileName);
            name.MakeLower();
            present.push_back(name);
        } while (::FindNextFileA(hFind, &fd));
        ::FindClose(hFind);
    }
    int nCopied = 0;
    hFind = ::FindFirstFileA(source + "\\" + lpszPattern, &fd);
    if (hFind == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        CString name(fd.cFileName);
        name.MakeLower();
        if (std::find(present.begin(), present.end(), name) != present.end())
            continue;
        // Fails when the target exists: the user's file stays as it is.
        if (::CopyFileA(source + "\\" + fd.cFileName, target + "\\" + fd.cFileName, TRUE))
            ++nCopied;
    } while (::FindNextFileA(hFind, &fd));
    ::FindClose(hFind);
    return nCopied;
}

int PrepareAppDataFolders(LPCSTR lpszShippedConfig)
{
    EnsureAppDataFolders();
    return CopyMissingFiles(lpszShippedConfig, GetAppDataFolder() + "\\Config", "*.config");
}

// ===========================================================================
// Colours and hexadecimal text

int HexToInt(LPCSTR lpszHex)
{
    if (lpszHex == NULL)
        return 0;
    CString hex(lpszHex);
    hex.MakeUpper();
    const char* p = hex.GetString();
    if (p[0] == '0' && p[1] == 'X')
        p += 2;
    unsigned value = 0;
    for (; *p; ++p) {
        if (*p >= '0' && *p <= '9')
            value = value * 16 + (unsigned)(*p - '0');
        else if (*p >= 'A' && *p <= 'F')
            value = value * 16 + (unsigned)(*p - 'A' + 10);
        else
            break;
    }
    return (int)value;
}

COLORREF GetDefaultHexColour()
{
    return ::GetSysColor(COLOR_WINDOW);
}

COLORREF HexToColour(LPCSTR lpszHex)
{
    CString hex(lpszHex);
    if (hex.IsEmpty())
        return GetDefaultHexColour();
    const int r = HexToInt(hex.Mid(1, 2)) & 0xFF;
    const int g = HexToInt(hex.Mid(3, 2)) & 0xFF;
    const int b = HexToInt(hex.Mid(5, 2)) & 0xFF;
    return RGB(r, g, b);
}

CString ColourToHex(COLORREF clr)
{
    CString text;
    text.Format("#%0.2X%0.2X%0.2X", GetRValue(clr), GetGValue(clr), GetBValue(clr));
    return text;
}

int ParseHexBytes(LPCSTR lpszHex, BYTE* pBuffer, int nBufferSize)
{
    if (pBuffer == NULL || nBufferSize <= 0)
        return 0;
    memset(pBuffer, 0, (size_t)nBufferSize);
    if (lpszHex == NULL)
        return 0;
    int nBytes = 0;
    int nDigits = 0; // digits of the current byte
    for (const char* p = lpszHex; *p && nBytes < nBufferSize; ++p) {
        const char c = *p;
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else if (c == ' ')
            continue;
        else
            break;
        pBuffer[nBytes] = (BYTE)(pBuffer[nBytes] * 16 + v);
        if (++nDigits == 2) {
            nDigits = 0;
            ++nBytes;
        }
    }
    return nBytes + (nDigits ? 1 : 0);
}

// ===========================================================================
// Strings and paths

CString GetNthField(LPCSTR lpszText, int nField, char chSep)
{
    if (lpszText == NULL || nField < 0)
        return CString();
    const char* p = lpszText;
    for (int i = 0; i < nField; ++i) {
        p = strchr(p, chSep);
        if (p == NULL)
            return CString();
        ++p;
    }
    const char* pEnd = strchr(p, chSep);
    return pEnd ? CString(p, (int)(pEnd - p)) : CString(p);
}

CPathParts::CPathParts(LPCSTR lpszPath)
{
    Split(lpszPath);
}

namespace {
void CopyBounded(char* pDest, size_t nSize, const char* pSrc, size_t nLength)
{
    if (nLength >= nSize)
        nLength = nSize - 1;
    memcpy(pDest, pSrc, nLength);
    pDest[nLength] = '\0';
}
} // namespace

void CPathParts::Split(LPCSTR lpszPath)
{
    memset(m_szDrive, 0, sizeof(m_szDrive));
    memset(m_szDir, 0, sizeof(m_szDir));
    memset(m_szName, 0, sizeof(m_szName));
    memset(m_szExt, 0, sizeof(m_szExt));
    if (lpszPath == NULL || *lpszPath == '\0')
        return;
    const char* p = lpszPath;
    if (p[0] && p[1] == ':') {
        CopyBounded(m_szDrive, sizeof(m_szDrive), p, 2);
        p += 2;
    }
    // The directory runs to the last separator, inclusive.
    const char* pLastSep = NULL;
    for (const char* q = p; *q; ++q)
        if (*q == '\\' || *q == '/')
            pLastSep = q;
    const char* pFile = p;
    if (pLastSep) {
        CopyBounded(m_szDir, sizeof(m_szDir), p, (size_t)(pLastSep + 1 - p));
        pFile = pLastSep + 1;
    }
    const char* pDot = strrchr(pFile, '.');
    if (pDot) {
        CopyBounded(m_szName, sizeof(m_szName), pFile, (size_t)(pDot - pFile));
        CopyBounded(m_szExt, sizeof(m_szExt), pDot, strlen(pDot));
    } else {
        CopyBounded(m_szName, sizeof(m_szName), pFile, strlen(pFile));
    }
}

CString CPathParts::GetFolder() const
{
    return CString(m_szDrive) + m_szDir;
}

CString CPathParts::GetFileName() const
{
    return CString(m_szName) + m_szExt;
}

BOOL IsFileReadOnly(LPCSTR lpszPath)
{
    WIN32_FIND_DATAA fd;
    HANDLE hFind = ::FindFirstFileA(lpszPath, &fd);
    if (hFind == INVALID_HANDLE_VALUE)
        return FALSE;
    ::FindClose(hFind);
    return (fd.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// ===========================================================================
// Settings helpers

CString GetDefaultExtension()
{
    return qm::GetProfileString("Settings", "DefExt", "txt");
}

BOOL SetDefaultExtension(LPCSTR lpszExt)
{
    return qm::WriteProfileString("Settings", "DefExt", lpszExt ? lpszExt : "");
}

int GetFindInFilesTypeIndex()
{
    return qm::GetProfileInt("Settings", "DefFInFExt", -2);
}

BOOL SetFindInFilesTypeIndex(int nIndex)
{
    return qm::WriteProfileInt("Settings", "DefFInFExt", nIndex);
}

std::vector<CFileFilterEntry> ReadFileFilters()
{
    std::vector<CFileFilterEntry> filters;
    for (const qm::ProfileValue& v : qm::EnumProfileValues("FileFilter")) {
        CString label = qm::GetProfileString("FileFilter", v.name, "");
        if (label.IsEmpty() || label.Find('|') >= 0 || v.name.Find('|') >= 0)
            continue;
        filters.push_back({v.name, label});
    }
    return filters;
}

FileFilterResult AddFileFilter(LPCSTR lpszPattern, LPCSTR lpszLabel)
{
    CString pattern(lpszPattern ? lpszPattern : ""), label(lpszLabel ? lpszLabel : "");
    if (pattern.IsEmpty() || label.IsEmpty())
        return FILTER_EMPTY;
    if (pattern.Find('|') >= 0 || label.Find('|') >= 0)
        return FILTER_HAS_BAR;
    return qm::WriteProfileString("FileFilter", pattern, label) ? FILTER_OK : FILTER_WRITE_FAILED;
}

BOOL DeleteFileFilter(LPCSTR lpszPattern)
{
    return qm::DeleteProfileValue("FileFilter", lpszPattern);
}

CString BuildFileFilter()
{
    CString filter;
    for (const CFileFilterEntry& f : ReadFileFilters())
        filter.AppendFormat("%s (%s)|%s|", f.label.GetString(), f.pattern.GetString(), f.pattern.GetString());
    filter += "All Files (*.*)|*.*||";
    return filter;
}

CString GetNthFileFilterName(int nIndex)
{
    std::vector<qm::ProfileValue> values = qm::EnumProfileValues("FileFilter");
    if (nIndex < 1 || nIndex > (int)values.size())
        return CString();
    return values[(size_t)nIndex - 1].name;
}

void FillFileFilterCombo(HWND hCombo)
{
    if (hCombo == NULL)
        return;
    ::SendMessageA(hCombo, CB_ADDSTRING, 0, (LPARAM) "*.*");
    for (const qm::ProfileValue& v : qm::EnumProfileValues("FileFilter")) {
        if (!qm::GetProfileString("FileFilter", v.name, "").IsEmpty())
            ::SendMessageA(hCombo, CB_ADDSTRING, 0, (LPARAM)v.name.GetString());
    }
}

DWORD GetOpenDialogFlags(BOOL bMultiSelect)
{
    DWORD dwFlags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_ENABLETEMPLATE | OFN_OVERWRITEPROMPT;
    if (bMultiSelect)
        dwFlags |= OFN_ALLOWMULTISELECT;
    return dwFlags;
}

void SaveComboHistory(HWND hCombo, LPCSTR lpszSection)
{
    if (hCombo == NULL || lpszSection == NULL)
        return;
    int nCount = (int)::SendMessageA(hCombo, CB_GETCOUNT, 0, 0);
    if (nCount > COMBO_HISTORY_MAX)
        nCount = COMBO_HISTORY_MAX;
    char szName[16];
    for (int i = 0; i < nCount; ++i) {
        int nLen = (int)::SendMessageA(hCombo, CB_GETLBTEXTLEN, (WPARAM)i, 0);
        wsprintfA(szName, "%d", i);
        if (nLen <= 0) {
            qm::DeleteProfileValue(lpszSection, szName);
            continue;
        }
        std::vector<char> text((size_t)nLen + 1);
        ::SendMessageA(hCombo, CB_GETLBTEXT, (WPARAM)i, (LPARAM)text.data());
        qm::WriteProfileString(lpszSection, szName, text.data());
    }
    // Items of an older, longer list must not come back on the next load.
    for (int i = nCount; i < COMBO_HISTORY_MAX; ++i) {
        wsprintfA(szName, "%d", i);
        qm::DeleteProfileValue(lpszSection, szName);
    }
    qm::WriteProfileInt(lpszSection, "Selected", (int)::SendMessageA(hCombo, CB_GETCURSEL, 0, 0));
}

void LoadComboHistory(HWND hCombo, LPCSTR lpszSection)
{
    if (hCombo == NULL || lpszSection == NULL)
        return;
    ::SendMessageA(hCombo, CB_RESETCONTENT, 0, 0);
    const int nValues = (int)qm::EnumProfileValues(lpszSection).size();
    char szName[16];
    for (int i = 0; i < nValues && i < COMBO_HISTORY_MAX; ++i) {
        wsprintfA(szName, "%d", i);
        CString text = qm::GetProfileString(lpszSection, szName, "");
        if (!text.IsEmpty())
            ::SendMessageA(hCombo, CB_ADDSTRING, 0, (LPARAM)text.GetString());
    }
    const int nSelected = qm::GetProfileInt(lpszSection, "Selected", 0);
    const int nCount = (int)::SendMessageA(hCombo, CB_GETCOUNT, 0, 0);
    if (nSelected == -1) {
        if (nCount > 0)
            ::SendMessageA(hCombo, CB_SETCURSEL, 0, 0);
    } else if (nSelected >= 0 && nSelected <= nCount) {
        ::SendMessageA(hCombo, CB_SETCURSEL, (WPARAM)nSelected, 0);
    }
}

BOOL CopyTextToClipboard(HWND hOwner, LPCSTR lpszText)
{
    return fx::SetClipboardText(hOwner, lpszText);
}


BOOL OpenContainingFolder(LPCSTR lpszPath)
{
    if (lpszPath == NULL || *lpszPath == '\0')
        return FALSE;
    // The folder part whatever the path's length (CPathParts keeps 255
    // characters of it).
    const char* pLast = NULL;
    for (const char* p = lpszPath; *p != '\0'; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            pLast = p;
    if (pLast == NULL)
        return FALSE;
    CString strFolder(lpszPath, (int)(pLast - lpszPath + 1));
    HINSTANCE hResult = ::ShellExecuteA(NULL, "open", strFolder, NULL, strFolder, SW_SHOW);
    return (INT_PTR)hResult > 32;
}
