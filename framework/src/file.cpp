// CFile and CStdioFile.
#include "fx/file.h"
#include "fx/except.h"
#include "fx/handle.h"

#include <cstring>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CStdioFile, CFile)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

CString FullPath(LPCSTR lpszFileName)
{
    char buf[MAX_PATH * 2];
    char* pName = NULL;
    DWORD n = GetFullPathNameA(lpszFileName, sizeof(buf), buf, &pName);
    if (n == 0 || n >= sizeof(buf))
        return CString(lpszFileName);
    return CString(buf, (int)n);
}

void FillStatusFromFind(const WIN32_FIND_DATAA& fd, CFileStatus& rStatus)
{
    rStatus.m_size = ((ULONGLONG)fd.nFileSizeHigh << 32) | fd.nFileSizeLow;
    rStatus.m_attribute = (BYTE)fd.dwFileAttributes;
    rStatus.m_padding = 0;
    rStatus.m_ctime = CTime::IsValidFILETIME(fd.ftCreationTime) ? CTime(fd.ftCreationTime) : CTime();
    rStatus.m_atime = CTime::IsValidFILETIME(fd.ftLastAccessTime) ? CTime(fd.ftLastAccessTime) : CTime();
    rStatus.m_mtime = CTime::IsValidFILETIME(fd.ftLastWriteTime) ? CTime(fd.ftLastWriteTime) : CTime();
    if (rStatus.m_ctime.GetTime() == 0)
        rStatus.m_ctime = rStatus.m_mtime;
    if (rStatus.m_atime.GetTime() == 0)
        rStatus.m_atime = rStatus.m_mtime;
}

[[noreturn]] void ThrowLastError(const CString& strFileName)
{
    LONG err = (LONG)GetLastError();
    AfxThrowFileException(CFileException::OsErrorToException(err), err, strFileName);
}

} // namespace

// ---------------------------------------------------------------------------
// CFile

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE)
{
}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(TRUE)
{
}

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags) : m_hFile(hFileNull), m_bCloseOnDelete(FALSE)
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        Abort();
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (pError) {
        pError->m_cause = CFileException::none;
        pError->m_lOsError = 0;
        pError->m_strFileName = lpszFileName;
    }
    if (m_hFile != hFileNull)
        Abort();
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();

    if (lpszFileName == NULL || *lpszFileName == 0) {
        if (pError) {
            pError->m_cause = CFileException::badPath;
            pError->m_lOsError = ERROR_INVALID_NAME;
        }
        return FALSE;
    }
    CString strPath = FullPath(lpszFileName);

    DWORD dwAccess;
    switch (nOpenFlags & 3) {
    case modeRead: dwAccess = GENERIC_READ; break;
    case modeWrite: dwAccess = GENERIC_WRITE; break;
    case modeReadWrite: dwAccess = GENERIC_READ | GENERIC_WRITE; break;
    default:
        if (pError) {
            pError->m_cause = CFileException::genericException;
            pError->m_lOsError = ERROR_INVALID_PARAMETER;
        }
        return FALSE;
    }

    DWORD dwShare;
    switch (nOpenFlags & 0x70) {
    case shareDenyWrite: dwShare = FILE_SHARE_READ; break;
    case shareDenyRead: dwShare = FILE_SHARE_WRITE; break;
    case shareDenyNone: dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: dwShare = 0; break; // shareCompat and shareExclusive
    }

    SECURITY_ATTRIBUTES sa;
    sa.nLength = sizeof(sa);
    sa.lpSecurityDescriptor = NULL;
    sa.bInheritHandle = (nOpenFlags & modeNoInherit) == 0;

    DWORD dwCreate;
    if (nOpenFlags & modeCreate)
        dwCreate = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    else
        dwCreate = OPEN_EXISTING;

    DWORD dwFlags = FILE_ATTRIBUTE_NORMAL;
    if (nOpenFlags & osNoBuffer)
        dwFlags |= FILE_FLAG_NO_BUFFERING;
    if (nOpenFlags & osWriteThrough)
        dwFlags |= FILE_FLAG_WRITE_THROUGH;
    if (nOpenFlags & osRandomAccess)
        dwFlags |= FILE_FLAG_RANDOM_ACCESS;
    if (nOpenFlags & osSequentialScan)
        dwFlags |= FILE_FLAG_SEQUENTIAL_SCAN;

    HANDLE h = CreateFileA(strPath, dwAccess, dwShare, &sa, dwCreate, dwFlags, NULL);
    if (h == INVALID_HANDLE_VALUE) {
        if (pError) {
            LONG err = (LONG)GetLastError();
            pError->m_lOsError = err;
            pError->m_cause = CFileException::OsErrorToException(err);
            pError->m_strFileName = strPath;
        }
        return FALSE;
    }
    m_hFile = h;
    m_bCloseOnDelete = TRUE;
    m_strFileName = strPath;
    return TRUE;
}

void CFile::Attach(HANDLE hFile, LPCSTR lpszFilePath)
{
    if (m_hFile != hFileNull)
        Abort();
    m_hFile = hFile;
    m_bCloseOnDelete = TRUE;
    m_strFileName = lpszFilePath;
}

HANDLE CFile::Detach()
{
    HANDLE h = m_hFile;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
    return h;
}

CString CFile::GetFileName() const { return fx::PathFileName(m_strFileName); }
CString CFile::GetFileTitle() const { return fx::PathFileTitle(m_strFileName); }
CString CFile::GetFilePath() const { return m_strFileName; }
void CFile::SetFilePath(LPCSTR lpszNewName) { m_strFileName = lpszNewName; }

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER zero, pos;
    zero.QuadPart = 0;
    if (!SetFilePointerEx(m_hFile, zero, &pos, FILE_CURRENT))
        ThrowLastError(m_strFileName);
    return (ULONGLONG)pos.QuadPart;
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    if (nFrom > end)
        AfxThrowInvalidArgException();
    LARGE_INTEGER off, pos;
    off.QuadPart = lOff;
    if (!SetFilePointerEx(m_hFile, off, &pos, nFrom == begin ? FILE_BEGIN : (nFrom == current ? FILE_CURRENT : FILE_END)))
        ThrowLastError(m_strFileName);
    return (ULONGLONG)pos.QuadPart;
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_hFile, &size))
        ThrowLastError(m_strFileName);
    return (ULONGLONG)size.QuadPart;
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    Seek((LONGLONG)dwNewLen, begin);
    if (!SetEndOfFile(m_hFile))
        ThrowLastError(m_strFileName);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    if (lpBuf == NULL)
        AfxThrowInvalidArgException();
    DWORD dwRead = 0;
    if (!ReadFile(m_hFile, lpBuf, nCount, &dwRead, NULL)) {
        if (GetLastError() == ERROR_HANDLE_EOF)
            return 0;
        ThrowLastError(m_strFileName);
    }
    return dwRead;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    if (lpBuf == NULL)
        AfxThrowInvalidArgException();
    DWORD dwWritten = 0;
    if (!WriteFile(m_hFile, lpBuf, nCount, &dwWritten, NULL))
        ThrowLastError(m_strFileName);
    if (dwWritten != nCount)
        AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

void CFile::LockRange(ULONGLONG dwPos, ULONGLONG dwCount)
{
    if (!LockFile(m_hFile, (DWORD)dwPos, (DWORD)(dwPos >> 32), (DWORD)dwCount, (DWORD)(dwCount >> 32)))
        ThrowLastError(m_strFileName);
}

void CFile::UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount)
{
    if (!UnlockFile(m_hFile, (DWORD)dwPos, (DWORD)(dwPos >> 32), (DWORD)dwCount, (DWORD)(dwCount >> 32)))
        ThrowLastError(m_strFileName);
}

void CFile::Flush()
{
    if (m_hFile == hFileNull)
        return;
    if (!FlushFileBuffers(m_hFile)) {
        // A handle opened for reading only has nothing to flush.
        DWORD err = GetLastError();
        if (err != ERROR_ACCESS_DENIED && err != ERROR_INVALID_HANDLE)
            ThrowLastError(m_strFileName);
    }
}

void CFile::Close()
{
    BOOL bError = FALSE;
    LONG err = 0;
    if (m_hFile != hFileNull) {
        if (!CloseHandle(m_hFile)) {
            bError = TRUE;
            err = (LONG)GetLastError();
        }
    }
    CString strName = m_strFileName;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
    if (bError)
        AfxThrowFileException(CFileException::OsErrorToException(err), err, strName);
}

void CFile::Abort()
{
    if (m_hFile != hFileNull)
        CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

CFile* CFile::Duplicate() const
{
    if (m_hFile == hFileNull)
        return NULL;
    HANDLE h;
    if (!DuplicateHandle(GetCurrentProcess(), m_hFile, GetCurrentProcess(), &h, 0, FALSE, DUPLICATE_SAME_ACCESS))
        ThrowLastError(m_strFileName);
    CFile* pFile = new CFile(h);
    pFile->m_strFileName = m_strFileName;
    return pFile;
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const
{
    rStatus = CFileStatus();
    lstrcpynA(rStatus.m_szFullName, m_strFileName, MAX_PATH);
    if (m_hFile == hFileNull)
        return FALSE;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(m_hFile, &info))
        return FALSE;
    WIN32_FIND_DATAA fd;
    std::memset(&fd, 0, sizeof(fd));
    fd.dwFileAttributes = info.dwFileAttributes;
    fd.ftCreationTime = info.ftCreationTime;
    fd.ftLastAccessTime = info.ftLastAccessTime;
    fd.ftLastWriteTime = info.ftLastWriteTime;
    fd.nFileSizeHigh = info.nFileSizeHigh;
    fd.nFileSizeLow = info.nFileSizeLow;
    FillStatusFromFind(fd, rStatus);
    return TRUE;
}

void PASCAL CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName)
{
    if (!MoveFileA(lpszOldName, lpszNewName))
        ThrowLastError(lpszOldName);
}

void PASCAL CFile::Remove(LPCSTR lpszFileName)
{
    if (!DeleteFileA(lpszFileName))
        ThrowLastError(lpszFileName);
}

BOOL PASCAL CFile::GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus)
{
    rStatus = CFileStatus();
    if (lpszFileName == NULL || *lpszFileName == 0)
        return FALSE;
    CString strPath = FullPath(lpszFileName);
    lstrcpynA(rStatus.m_szFullName, strPath, MAX_PATH);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(strPath, GetFileExInfoStandard, &data))
        return FALSE;
    WIN32_FIND_DATAA fd;
    std::memset(&fd, 0, sizeof(fd));
    fd.dwFileAttributes = data.dwFileAttributes;
    fd.ftCreationTime = data.ftCreationTime;
    fd.ftLastAccessTime = data.ftLastAccessTime;
    fd.ftLastWriteTime = data.ftLastWriteTime;
    fd.nFileSizeHigh = data.nFileSizeHigh;
    fd.nFileSizeLow = data.nFileSizeLow;
    FillStatusFromFind(fd, rStatus);
    return TRUE;
}

void PASCAL CFile::SetStatus(LPCSTR lpszFileName, const CFileStatus& status)
{
    DWORD dwAttr = GetFileAttributesA(lpszFileName);
    if (dwAttr == INVALID_FILE_ATTRIBUTES)
        ThrowLastError(lpszFileName);

    if (status.m_mtime.GetTime() != 0 || status.m_atime.GetTime() != 0 || status.m_ctime.GetTime() != 0) {
        // A read-only file cannot take new times: clear the bit first.
        if (dwAttr & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesA(lpszFileName, dwAttr & ~FILE_ATTRIBUTE_READONLY);
        HANDLE h = CreateFileA(lpszFileName, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
        if (h == INVALID_HANDLE_VALUE)
            ThrowLastError(lpszFileName);
        FILETIME c, a, m;
        status.m_ctime.GetAsFileTime(c);
        status.m_atime.GetAsFileTime(a);
        status.m_mtime.GetAsFileTime(m);
        BOOL ok = SetFileTime(h, status.m_ctime.GetTime() ? &c : NULL, status.m_atime.GetTime() ? &a : NULL,
                              status.m_mtime.GetTime() ? &m : NULL);
        DWORD err = GetLastError();
        CloseHandle(h);
        if (!ok) {
            SetLastError(err);
            ThrowLastError(lpszFileName);
        }
    }
    DWORD dwNew = (dwAttr & ~(DWORD)0xFF) | status.m_attribute;
    if (dwNew != GetFileAttributesA(lpszFileName) && !SetFileAttributesA(lpszFileName, dwNew))
        ThrowLastError(lpszFileName);
}

// ---------------------------------------------------------------------------
// CStdioFile

namespace {
const size_t kStdioBufSize = 64 * 1024;
}

CStdioFile::CStdioFile()
    : m_bText(TRUE), m_pBuf(NULL), m_nBufSize(0), m_nReadPos(0), m_nReadLen(0), m_nWriteLen(0)
{
}

CStdioFile::CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags) : CStdioFile()
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CStdioFile::~CStdioFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete) {
        try {
            FlushWrite();
        } catch (CException* e) {
            e->Delete();
        }
    }
    CFile::Abort();
    std::free(m_pBuf);
}

BOOL CStdioFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    m_nReadPos = m_nReadLen = m_nWriteLen = 0;
    m_bText = (nOpenFlags & typeBinary) == 0;
    if (!m_pBuf) {
        m_pBuf = static_cast<char*>(std::malloc(kStdioBufSize));
        if (!m_pBuf)
            AfxThrowMemoryException();
        m_nBufSize = kStdioBufSize;
    }
    return CFile::Open(lpszFileName, nOpenFlags & ~(UINT)(typeText | typeBinary), pError);
}

bool CStdioFile::FillBuffer()
{
    FlushWrite();
    if (m_nReadPos < m_nReadLen)
        return true;
    m_nReadPos = m_nReadLen = 0;
    if (!m_pBuf) {
        m_pBuf = static_cast<char*>(std::malloc(kStdioBufSize));
        if (!m_pBuf)
            AfxThrowMemoryException();
        m_nBufSize = kStdioBufSize;
    }
    m_nReadLen = CFile::Read(m_pBuf, (UINT)m_nBufSize);
    return m_nReadLen > 0;
}

int CStdioFile::GetByte()
{
    if (m_nReadPos >= m_nReadLen && !FillBuffer())
        return -1;
    return (unsigned char)m_pBuf[m_nReadPos++];
}

int CStdioFile::PeekByte()
{
    if (m_nReadPos >= m_nReadLen && !FillBuffer())
        return -1;
    return (unsigned char)m_pBuf[m_nReadPos];
}

int CStdioFile::GetChar()
{
    int c = GetByte();
    if (c == '\r' && m_bText && PeekByte() == '\n')
        c = GetByte();
    return c;
}

void CStdioFile::DropReadBuffer()
{
    if (m_nReadPos < m_nReadLen) {
        // Move the file position back to the first byte not yet consumed.
        CFile::Seek(-(LONGLONG)(m_nReadLen - m_nReadPos), current);
    }
    m_nReadPos = m_nReadLen = 0;
}

void CStdioFile::FlushWrite()
{
    if (m_nWriteLen) {
        size_t n = m_nWriteLen;
        m_nWriteLen = 0;
        CFile::Write(m_pBuf, (UINT)n);
    }
}

void CStdioFile::PutBytes(const char* p, size_t n)
{
    if (m_nReadLen)
        DropReadBuffer();
    if (!m_pBuf) {
        m_pBuf = static_cast<char*>(std::malloc(kStdioBufSize));
        if (!m_pBuf)
            AfxThrowMemoryException();
        m_nBufSize = kStdioBufSize;
    }
    while (n > 0) {
        size_t nRoom = m_nBufSize - m_nWriteLen;
        if (nRoom == 0) {
            FlushWrite();
            nRoom = m_nBufSize;
        }
        size_t nChunk = n < nRoom ? n : nRoom;
        std::memcpy(m_pBuf + m_nWriteLen, p, nChunk);
        m_nWriteLen += nChunk;
        p += nChunk;
        n -= nChunk;
    }
}

void CStdioFile::WriteString(LPCSTR lpsz)
{
    if (lpsz == NULL)
        AfxThrowInvalidArgException();
    Write(lpsz, (UINT)std::strlen(lpsz));
}

LPSTR CStdioFile::ReadString(LPSTR lpsz, UINT nMax)
{
    if (lpsz == NULL || nMax == 0)
        AfxThrowInvalidArgException();
    UINT n = 0;
    while (n + 1 < nMax) {
        int c = GetChar();
        if (c < 0)
            break;
        lpsz[n++] = (char)c;
        if (c == '\n')
            break;
    }
    lpsz[n] = 0;
    return n == 0 ? NULL : lpsz;
}

BOOL CStdioFile::ReadString(CString& rString)
{
    std::string& s = rString.str();
    s.clear();
    bool bAny = false;
    for (;;) {
        // Take whole runs from the buffer where possible.
        if (m_nReadPos >= m_nReadLen && !FillBuffer())
            break;
        bAny = true;
        const char* pStart = m_pBuf + m_nReadPos;
        const char* pEnd = m_pBuf + m_nReadLen;
        const char* p = pStart;
        while (p < pEnd && *p != '\n' && *p != '\r')
            ++p;
        s.append(pStart, (size_t)(p - pStart));
        m_nReadPos += (size_t)(p - pStart);
        if (p == pEnd)
            continue;
        int c = GetChar();
        if (c == '\n')
            return TRUE;
        s.push_back((char)c); // a lone '\r', or any '\r' in binary mode
    }
    return bAny ? TRUE : FALSE;
}

ULONGLONG CStdioFile::GetPosition() const
{
    ULONGLONG pos = CFile::GetPosition();
    return pos - (m_nReadLen - m_nReadPos) + m_nWriteLen;
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom)
{
    FlushWrite();
    if (nFrom == current)
        lOff -= (LONGLONG)(m_nReadLen - m_nReadPos);
    m_nReadPos = m_nReadLen = 0;
    return CFile::Seek(lOff, nFrom);
}

ULONGLONG CStdioFile::GetLength() const
{
    const_cast<CStdioFile*>(this)->FlushWrite();
    return CFile::GetLength();
}

void CStdioFile::SetLength(ULONGLONG dwNewLen)
{
    FlushWrite();
    m_nReadPos = m_nReadLen = 0;
    CFile::SetLength(dwNewLen);
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    if (lpBuf == NULL)
        AfxThrowInvalidArgException();
    char* p = static_cast<char*>(lpBuf);
    UINT n = 0;
    if (!m_bText) {
        while (n < nCount) {
            if (m_nReadPos >= m_nReadLen && !FillBuffer())
                break;
            size_t nAvail = m_nReadLen - m_nReadPos;
            size_t nChunk = nCount - n < nAvail ? nCount - n : nAvail;
            std::memcpy(p + n, m_pBuf + m_nReadPos, nChunk);
            m_nReadPos += nChunk;
            n += (UINT)nChunk;
        }
        return n;
    }
    while (n < nCount) {
        int c = GetChar();
        if (c < 0)
            break;
        p[n++] = (char)c;
    }
    return n;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    if (lpBuf == NULL)
        AfxThrowInvalidArgException();
    const char* p = static_cast<const char*>(lpBuf);
    if (!m_bText) {
        PutBytes(p, nCount);
        return;
    }
    const char* pEnd = p + nCount;
    while (p < pEnd) {
        const char* q = static_cast<const char*>(std::memchr(p, '\n', (size_t)(pEnd - p)));
        if (!q) {
            PutBytes(p, (size_t)(pEnd - p));
            break;
        }
        PutBytes(p, (size_t)(q - p));
        PutBytes("\r\n", 2);
        p = q + 1;
    }
}

void CStdioFile::Flush()
{
    FlushWrite();
    CFile::Flush();
}

void CStdioFile::Close()
{
    try {
        FlushWrite();
    } catch (...) {
        m_nReadPos = m_nReadLen = 0;
        CFile::Abort();
        throw;
    }
    m_nReadPos = m_nReadLen = 0;
    CFile::Close();
}

void CStdioFile::Abort()
{
    m_nReadPos = m_nReadLen = m_nWriteLen = 0;
    CFile::Abort();
}

CFile* CStdioFile::Duplicate() const
{
    AfxThrowNotSupportedException();
}

// ---------------------------------------------------------------------------
// Whole files

namespace {

template <class Buffer>
bool ReadWholeFileInto(LPCSTR lpszPath, Buffer& data, size_t nMax)
{
    data.clear();
    if (lpszPath == NULL)
        return false;
    fx::OwnedHandle file(::CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    if (!file.IsValid())
        return false;
    LARGE_INTEGER size;
    if (::GetFileSizeEx(file.Get(), &size)) {
        if ((ULONGLONG)size.QuadPart > nMax)
            return false;
        data.reserve((size_t)size.QuadPart);
    }
    // Read to the end rather than to the size: the file may change meanwhile.
    char buf[65536];
    for (;;) {
        DWORD nRead = 0;
        if (!::ReadFile(file.Get(), buf, sizeof(buf), &nRead, NULL)) {
            data.clear();
            return false;
        }
        if (nRead == 0)
            return true;
        if (nRead > nMax - data.size()) {
            data.clear();
            return false;
        }
        data.insert(data.end(), buf, buf + nRead);
    }
}

} // namespace

bool fx::ReadWholeFile(LPCSTR lpszPath, std::string& data, size_t nMax)
{
    return ReadWholeFileInto(lpszPath, data, nMax);
}

bool fx::ReadWholeFile(LPCSTR lpszPath, std::vector<BYTE>& data, size_t nMax)
{
    return ReadWholeFileInto(lpszPath, data, nMax);
}
