// CFileFind.
#include "fx/file.h"
#include "fx/except.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CFileFind, CObject)

CFileFind::CFileFind() : m_bFound(FALSE), m_bHaveNext(FALSE), m_hContext(NULL), m_chDirSeparator('\\')
{
    std::memset(&m_found, 0, sizeof(m_found));
    std::memset(&m_next, 0, sizeof(m_next));
}

CFileFind::~CFileFind()
{
    Close();
}

void CFileFind::Close()
{
    if (m_hContext != NULL && m_hContext != INVALID_HANDLE_VALUE)
        ::FindClose(m_hContext);
    m_hContext = NULL;
    m_bFound = FALSE;
    m_bHaveNext = FALSE;
}

BOOL CFileFind::FindFile(LPCSTR pstrName, DWORD dwUnused)
{
    (void)dwUnused;
    Close();
    if (pstrName == NULL)
        pstrName = "*.*";
    if (std::strlen(pstrName) >= MAX_PATH) {
        SetLastError(ERROR_BAD_ARGUMENTS);
        return FALSE;
    }

    HANDLE h = ::FindFirstFileA(pstrName, &m_next);
    if (h == INVALID_HANDLE_VALUE)
        return FALSE;
    m_hContext = h;
    m_bHaveNext = TRUE;

    // The root is the folder part of the full search path.
    char szFull[MAX_PATH * 2];
    char* pFilePart = NULL;
    DWORD n = GetFullPathNameA(pstrName, sizeof(szFull), szFull, &pFilePart);
    if (n == 0 || n >= sizeof(szFull)) {
        Close();
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    char* pBack = std::strrchr(szFull, '\\');
    char* pFront = std::strrchr(szFull, '/');
    char* pSep = pBack > pFront ? pBack : pFront;
    if (pSep) {
        m_chDirSeparator = *pSep;
        // Keep the separator of a drive root ("C:\").
        if (pSep == szFull + 2 && szFull[1] == ':')
            pSep[1] = 0;
        else
            *pSep = 0;
    }
    m_strRoot = szFull;
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (m_hContext == NULL || !m_bHaveNext)
        return FALSE;
    m_found = m_next;
    m_bFound = TRUE;
    m_bHaveNext = ::FindNextFileA(m_hContext, &m_next);
    return m_bHaveNext;
}

ULONGLONG CFileFind::GetLength() const
{
    if (!m_bFound)
        return 0;
    return ((ULONGLONG)m_found.nFileSizeHigh << 32) | m_found.nFileSizeLow;
}

CString CFileFind::GetFileName() const
{
    return m_bFound ? CString(m_found.cFileName) : CString();
}

CString CFileFind::GetFilePath() const
{
    CString s = m_strRoot;
    if (!s.IsEmpty() && s[s.GetLength() - 1] != '\\' && s[s.GetLength() - 1] != '/')
        s += m_chDirSeparator;
    s += GetFileName();
    return s;
}

CString CFileFind::GetFileTitle() const
{
    return fx::PathFileTitle(GetFileName());
}

CString CFileFind::GetFileURL() const
{
    CString s("file://");
    s += GetFilePath();
    return s;
}

CString CFileFind::GetRoot() const
{
    return m_strRoot;
}

BOOL CFileFind::GetLastWriteTime(FILETIME* pTimeStamp) const
{
    if (!m_bFound || !pTimeStamp)
        return FALSE;
    *pTimeStamp = m_found.ftLastWriteTime;
    return TRUE;
}

BOOL CFileFind::GetLastAccessTime(FILETIME* pTimeStamp) const
{
    if (!m_bFound || !pTimeStamp)
        return FALSE;
    *pTimeStamp = m_found.ftLastAccessTime;
    return TRUE;
}

BOOL CFileFind::GetCreationTime(FILETIME* pTimeStamp) const
{
    if (!m_bFound || !pTimeStamp)
        return FALSE;
    *pTimeStamp = m_found.ftCreationTime;
    return TRUE;
}

namespace {
BOOL ToCTime(const FILETIME& ft, CTime& refTime)
{
    if (!CTime::IsValidFILETIME(ft))
        return FALSE;
    try {
        refTime = CTime(ft);
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}
} // namespace

BOOL CFileFind::GetLastWriteTime(CTime& refTime) const
{
    return m_bFound && ToCTime(m_found.ftLastWriteTime, refTime);
}

BOOL CFileFind::GetLastAccessTime(CTime& refTime) const
{
    return m_bFound && ToCTime(m_found.ftLastAccessTime, refTime);
}

BOOL CFileFind::GetCreationTime(CTime& refTime) const
{
    return m_bFound && ToCTime(m_found.ftCreationTime, refTime);
}

BOOL CFileFind::MatchesMask(DWORD dwMask) const
{
    return m_bFound && (m_found.dwFileAttributes & dwMask) != 0;
}

BOOL CFileFind::IsDots() const
{
    if (!m_bFound || !IsDirectory())
        return FALSE;
    const char* p = m_found.cFileName;
    return (p[0] == '.' && p[1] == 0) || (p[0] == '.' && p[1] == '.' && p[2] == 0);
}
