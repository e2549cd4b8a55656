// CMemFile and CSharedFile.
#include "fx/file.h"
#include "fx/except.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)
IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

// ---------------------------------------------------------------------------
// CMemFile

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(NULL),
      m_bAutoDelete(TRUE)
{
}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : CMemFile(nGrowBytes)
{
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile()
{
    // Free() is virtual: derived classes release their memory themselves;
    // this only handles the plain heap block.
    if (m_lpBuffer && m_bAutoDelete)
        std::free(m_lpBuffer);
    m_lpBuffer = NULL;
}

BYTE* CMemFile::Alloc(SIZE_T nBytes) { return static_cast<BYTE*>(std::malloc(nBytes)); }
BYTE* CMemFile::Realloc(BYTE* lpMem, SIZE_T nBytes) { return static_cast<BYTE*>(std::realloc(lpMem, nBytes)); }
void CMemFile::Free(BYTE* lpMem) { std::free(lpMem); }

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
{
    if (m_lpBuffer && m_bAutoDelete)
        Free(m_lpBuffer);
    m_nGrowBytes = nGrowBytes;
    m_nPosition = 0;
    m_nBufferSize = lpBuffer ? nBufferSize : 0;
    m_nFileSize = nGrowBytes == 0 ? m_nBufferSize : 0;
    m_lpBuffer = lpBuffer;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach()
{
    BYTE* p = m_lpBuffer;
    m_lpBuffer = NULL;
    m_nFileSize = 0;
    m_nBufferSize = 0;
    m_nPosition = 0;
    m_bAutoDelete = TRUE;
    return p;
}

void CMemFile::GrowFile(SIZE_T dwNewLen)
{
    if (dwNewLen <= m_nBufferSize)
        return;
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException();
    // Grow by at least half the current size so that long runs of small
    // writes stay linear, in whole steps of the grow size.
    SIZE_T nNew = m_nBufferSize + m_nBufferSize / 2;
    if (nNew < dwNewLen)
        nNew = dwNewLen;
    nNew = (nNew + m_nGrowBytes - 1) / m_nGrowBytes * m_nGrowBytes;
    if (nNew < dwNewLen)
        AfxThrowMemoryException();

    BYTE* pNew;
    if (m_lpBuffer == NULL) {
        pNew = Alloc(nNew);
    } else if (!m_bAutoDelete) {
        // The caller's buffer is not ours to resize: move to our own block.
        pNew = Alloc(nNew);
        if (pNew)
            std::memcpy(pNew, m_lpBuffer, m_nFileSize);
    } else {
        pNew = Realloc(m_lpBuffer, nNew);
    }
    if (pNew == NULL)
        AfxThrowMemoryException();
    m_lpBuffer = pNew;
    m_nBufferSize = nNew;
    m_bAutoDelete = TRUE;
}

ULONGLONG CMemFile::GetPosition() const { return m_nPosition; }
ULONGLONG CMemFile::GetLength() const { return m_nFileSize; }

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LONGLONG base;
    switch (nFrom) {
    case begin: base = 0; break;
    case current: base = (LONGLONG)m_nPosition; break;
    case end: base = (LONGLONG)m_nFileSize; break;
    default: AfxThrowInvalidArgException();
    }
    LONGLONG lNew = base + lOff;
    if (lNew < 0)
        AfxThrowFileException(CFileException::badSeek);
    m_nPosition = (SIZE_T)lNew;
    return m_nPosition;
}

void CMemFile::SetLength(ULONGLONG dwNewLen)
{
    if (dwNewLen > m_nBufferSize)
        GrowFile((SIZE_T)dwNewLen);
    if (dwNewLen > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, (SIZE_T)dwNewLen - m_nFileSize);
    if (dwNewLen < m_nPosition)
        m_nPosition = (SIZE_T)dwNewLen;
    m_nFileSize = (SIZE_T)dwNewLen;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0 || m_nPosition >= m_nFileSize)
        return 0;
    if (lpBuf == NULL)
        AfxThrowInvalidArgException();
    SIZE_T nRead = m_nFileSize - m_nPosition;
    if (nRead > nCount)
        nRead = nCount;
    std::memcpy(lpBuf, m_lpBuffer + m_nPosition, nRead);
    m_nPosition += nRead;
    return (UINT)nRead;
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    if (lpBuf == NULL)
        AfxThrowInvalidArgException();
    SIZE_T nEnd = m_nPosition + nCount;
    if (nEnd > m_nBufferSize)
        GrowFile(nEnd);
    if (m_nPosition > m_nFileSize) // a gap after a seek past the end reads as zeros
        std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition = nEnd;
    if (m_nPosition > m_nFileSize)
        m_nFileSize = m_nPosition;
}

void CMemFile::LockRange(ULONGLONG, ULONGLONG) { AfxThrowNotSupportedException(); }
void CMemFile::UnlockRange(ULONGLONG, ULONGLONG) { AfxThrowNotSupportedException(); }
void CMemFile::Flush() {}

void CMemFile::Close()
{
    m_nPosition = 0;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    if (m_lpBuffer && m_bAutoDelete)
        Free(m_lpBuffer);
    m_lpBuffer = NULL;
    m_bAutoDelete = TRUE;
}

void CMemFile::Abort() { Close(); }

CFile* CMemFile::Duplicate() const { AfxThrowNotSupportedException(); }

BOOL CMemFile::GetStatus(CFileStatus& rStatus) const
{
    rStatus = CFileStatus();
    rStatus.m_size = m_nFileSize;
    return TRUE;
}

// ---------------------------------------------------------------------------
// CSharedFile

CSharedFile::CSharedFile(UINT nAllocFlags, UINT nGrowBytes)
    : CMemFile(nGrowBytes), m_nAllocFlags(nAllocFlags), m_hGlobalMemory(NULL), m_bAllowGrow(TRUE)
{
}

CSharedFile::~CSharedFile()
{
    if (m_lpBuffer && m_bAutoDelete)
        Free(m_lpBuffer);
    m_lpBuffer = NULL;
}

BYTE* CSharedFile::Alloc(SIZE_T nBytes)
{
    m_hGlobalMemory = GlobalAlloc(m_nAllocFlags, nBytes);
    if (!m_hGlobalMemory)
        return NULL;
    return static_cast<BYTE*>(GlobalLock(m_hGlobalMemory));
}

BYTE* CSharedFile::Realloc(BYTE* lpMem, SIZE_T nBytes)
{
    if (!m_bAllowGrow)
        return NULL;
    (void)lpMem;
    GlobalUnlock(m_hGlobalMemory);
    HGLOBAL hNew = GlobalReAlloc(m_hGlobalMemory, nBytes, GMEM_MOVEABLE);
    if (!hNew) {
        GlobalLock(m_hGlobalMemory);
        return NULL;
    }
    m_hGlobalMemory = hNew;
    return static_cast<BYTE*>(GlobalLock(m_hGlobalMemory));
}

void CSharedFile::Free(BYTE* lpMem)
{
    (void)lpMem;
    if (m_hGlobalMemory) {
        GlobalUnlock(m_hGlobalMemory);
        GlobalFree(m_hGlobalMemory);
        m_hGlobalMemory = NULL;
    }
}

HGLOBAL CSharedFile::Detach()
{
    HGLOBAL h = m_hGlobalMemory;
    if (h)
        GlobalUnlock(h);
    m_hGlobalMemory = NULL;
    m_lpBuffer = NULL;
    m_nFileSize = 0;
    m_nBufferSize = 0;
    m_nPosition = 0;
    m_bAutoDelete = TRUE;
    return h;
}

void CSharedFile::SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow)
{
    if (m_lpBuffer && m_bAutoDelete)
        Free(m_lpBuffer);
    m_hGlobalMemory = hGlobalMemory;
    m_lpBuffer = hGlobalMemory ? static_cast<BYTE*>(GlobalLock(hGlobalMemory)) : NULL;
    m_nBufferSize = m_lpBuffer ? GlobalSize(hGlobalMemory) : 0;
    m_nFileSize = m_nBufferSize;
    m_nPosition = 0;
    m_bAllowGrow = bAllowGrow;
    // The handle becomes the file's: it is freed with the file unless
    // detached first.
    m_bAutoDelete = TRUE;
}
