// encoding.cpp - the encoding maps and reading the head of a file for the
// detector (filehead.cpp decides).
#include "encoding.h"

#include <cstring>

void NormalizeLoadEncoding(int& nEncoding, int& nMarkLength)
{
    switch (nEncoding) {
    case ENC_UTF8:
        if (nMarkLength != 0 && nMarkLength != 3)
            nMarkLength = 0;
        break;
    case ENC_UTF16LE:
    case ENC_UTF16BE:
        if (nMarkLength != 0 && nMarkLength != 2)
            nMarkLength = 0;
        break;
    default:
        // ANSI, and every encoding the converters cannot turn into UTF-8:
        // the bytes go to the editor as they are, the mark included.
        nEncoding = ENC_ANSI;
        nMarkLength = 0;
        break;
    }
}

int DetectModeForOpenEncoding(int nEncoding)
{
    switch (nEncoding) {
    case ENC_UTF8: return 3;
    case ENC_UTF16LE:
    case ENC_UTF16BE: return 2;
    default: return 0;
    }
}

FileHeadDetector::FileHeadDetector()
    : m_nCode(ENC_ANSI), m_nMarkLength(0), m_nBytesRead(0), m_bBinary(0)
{
    m_szPath[0] = '\0';
}

FileHeadDetector::~FileHeadDetector() = default;

int FileHeadDetector::ReadFile(LPCSTR lpszPath)
{
    if (lpszPath == NULL)
        return 0;
    // The stored copy is bounded; the file itself is opened by its full path.
    lstrcpynA(m_szPath, lpszPath, (int)sizeof(m_szPath));

    // Binary reading: the head is looked at as the bytes on disk, so a CR LF
    // pair or a 0x1A byte cannot hide what follows it.
    HANDLE hFile = ::CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return 0;
    LARGE_INTEGER size;
    LONGLONG nFileSize = ::GetFileSizeEx(hFile, &size) ? size.QuadPart : -1;
    BYTE head[HEAD_SIZE + 1];
    DWORD nRead = 0;
    DWORD nTotal = 0;
    // A read may return less than asked for (pipes, network shares): fill
    // the head as far as the file goes.
    while (nTotal < HEAD_SIZE) {
        if (!::ReadFile(hFile, head + nTotal, HEAD_SIZE - nTotal, &nRead, NULL) || nRead == 0)
            break;
        nTotal += nRead;
    }
    ::CloseHandle(hFile);
    head[nTotal] = 0;
    if (nFileSize < 0)
        nFileSize = nTotal < HEAD_SIZE ? (LONGLONG)nTotal : -1;
    DetectBuffer(head, (int)nTotal, nFileSize);
    return 1;
}

void FileHeadDetector::DetectBuffer(const BYTE* pHead, int nBytes, LONGLONG nFileSize)
{
    if (nBytes < 0)
        nBytes = 0;
    if (nFileSize < 0 && nBytes < HEAD_SIZE)
        nFileSize = nBytes;
    m_nBytesRead = nBytes;
    m_bBinary = DetectFileHead(pHead, nBytes, nFileSize, m_nCode, m_nMarkLength) ? 1 : 0;
}
