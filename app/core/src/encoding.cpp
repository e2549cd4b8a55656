// encoding.cpp - file-head detection of encodings and binary content.
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
    case 0: return 3;
    case 1:
    case 2: return 2;
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
    Detect(pHead, nBytes, nFileSize);
    m_bBinary = 0;
    if (m_nCode == ENC_ANSI && pHead != NULL && nBytes > 0 && memchr(pHead, 0, (size_t)nBytes) != NULL)
        m_bBinary = 1;
}

namespace {

// Number of bytes that follow a lead byte in a UTF-8 style sequence.
int TrailingBytes(BYTE b)
{
    if (b < 0xC0) return 0;
    if (b < 0xE0) return 1;
    if (b < 0xF0) return 2;
    if (b < 0xF8) return 3;
    if (b < 0xFC) return 4;
    return 5;
}

// Whether the nLength bytes at p form one legal UTF-8 sequence.
bool IsLegalUtf8(const BYTE* p, int nLength)
{
    BYTE a;
    switch (nLength) {
    default:
        return false;
    case 4:
        if ((a = p[3]) < 0x80 || a > 0xBF) return false;
        // fall through
    case 3:
        if ((a = p[2]) < 0x80 || a > 0xBF) return false;
        // fall through
    case 2:
        a = p[1];
        if (a > 0xBF) return false;
        switch (p[0]) {
        case 0xE0: if (a < 0xA0) return false; break;
        case 0xED: if (a > 0x9F) return false; break;
        case 0xF0: if (a < 0x90) return false; break;
        case 0xF4: if (a > 0x8F) return false; break;
        default: if (a < 0x80) return false; break;
        }
        // fall through
    case 1:
        if (p[0] >= 0x80 && p[0] < 0xC2) return false;
    }
    return p[0] <= 0xF4;
}

// Whether the head starts with the whole mark.
bool StartsWith(const BYTE* p, int n, const BYTE* mark, int nMark)
{
    return n >= nMark && memcmp(p, mark, (size_t)nMark) == 0;
}

} // namespace

void FileHeadDetector::Detect(const BYTE* p, int n, LONGLONG nFileSize)
{
    static const BYTE kUtf8[] = {0xEF, 0xBB, 0xBF};
    static const BYTE kUtf16Le[] = {0xFF, 0xFE};
    static const BYTE kUtf16Be[] = {0xFE, 0xFF};
    static const BYTE kUtf32Le[] = {0xFF, 0xFE, 0x00, 0x00};
    static const BYTE kUtf32Be[] = {0x00, 0x00, 0xFE, 0xFF};
    static const BYTE kScsu[] = {0x0E, 0xFE, 0xFF};
    static const BYTE kBocu1[] = {0xFB, 0xEE, 0x28};
    static const BYTE kUtf7[] = {0x2B, 0x2F, 0x76};
    static const BYTE kUtfEbcdic[] = {0xDD, 0x73, 0x66, 0x73};

    m_nMarkLength = 0;
    if (p == NULL)
        n = 0;
    // UTF-16 text needs an even number of bytes: an odd-sized file taken as
    // UTF-16 would lose its last byte on the way through the editor. When
    // the size is unknown (a head cut at the head size) it is assumed even.
    const bool bEvenSize = nFileSize < 0 || (nFileSize % 2) == 0;

    // 1. Byte-order marks. A mark counts only when the head holds all of it,
    // so a short file is never stripped of bytes it does not have.
    if (StartsWith(p, n, kUtf8, 3)) {
        m_nCode = ENC_UTF8;
        m_nMarkLength = 3;
        return;
    }
    if (StartsWith(p, n, kUtf32Le, 4)) {
        m_nCode = ENC_UTF32LE;
        m_nMarkLength = 4;
        return;
    }
    if (StartsWith(p, n, kUtf16Le, 2)) {
        if (bEvenSize) {
            m_nCode = ENC_UTF16LE;
            m_nMarkLength = 2;
        } else {
            m_nCode = ENC_ANSI;
        }
        return;
    }
    if (StartsWith(p, n, kUtf16Be, 2)) {
        if (bEvenSize) {
            m_nCode = ENC_UTF16BE;
            m_nMarkLength = 2;
        } else {
            m_nCode = ENC_ANSI;
        }
        return;
    }
    if (StartsWith(p, n, kUtf32Be, 4)) {
        m_nCode = ENC_UTF32BE;
        m_nMarkLength = 4;
        return;
    }
    if (StartsWith(p, n, kScsu, 3)) {
        m_nCode = ENC_SCSU;
        m_nMarkLength = 3;
        return;
    }
    if (StartsWith(p, n, kBocu1, 3)) {
        m_nCode = ENC_BOCU1;
        m_nMarkLength = 3;
        return;
    }
    if (StartsWith(p, n, kUtf7, 3) && n >= 4 &&
        (p[3] == 0x38 || p[3] == 0x39 || p[3] == 0x2B || p[3] == 0x2F)) {
        m_nCode = ENC_UTF7;
        m_nMarkLength = (p[3] == 0x38 && n >= 5 && p[4] == 0x2D) ? 5 : 4;
        return;
    }
    if (StartsWith(p, n, kUtfEbcdic, 4)) {
        m_nCode = ENC_UTFEBCDIC;
        m_nMarkLength = 4;
        return;
    }

    // 2. UTF-16 guess: every other byte is zero. An empty or one-byte file
    // has nothing to count and stays ANSI. A unit of two zero bytes is a NUL
    // character: text may hold one now and then, but a head that is mostly
    // NUL characters (a run of NUL bytes, numbers in a binary record) is no
    // text at all, and goes on to the tests below.
    if (n >= 2 && bEvenSize) {
        int nOddZeros = 0, nEvenZeros = 0;
        int nNulUnits = 0;
        for (int i = 0; i < n; ++i) {
            if (p[i] == 0) {
                if (i & 1) {
                    ++nOddZeros;
                    if (p[i - 1] == 0)
                        ++nNulUnits;
                } else {
                    ++nEvenZeros;
                }
            }
        }
        const int nUnits = n / 2;
        const bool bMostlyNul = nNulUnits >= nUnits - nNulUnits;
        if (!bMostlyNul && nOddZeros == n / 2) {
            m_nCode = ENC_UTF16LE;
            return;
        }
        if (!bMostlyNul && nEvenZeros == n / 2) {
            m_nCode = ENC_UTF16BE;
            return;
        }
    }

    // 3. UTF-8 scan. The last five bytes of the head are left out: a
    // sequence there may be cut by the head's end.
    const int L = n - 1;
    if (L > 5) {
        int nPos = 0;
        bool bMulti = false;
        bool bFailed = false;
        for (;;) {
            const int nLen = 1 + TrailingBytes(p[nPos]);
            if (nPos + nLen > L || !IsLegalUtf8(p + nPos, nLen)) {
                bFailed = true;
                break;
            }
            if (nLen > 1)
                bMulti = true;
            nPos += nLen;
            if (5 + nPos >= L)
                break;
        }
        if (!bFailed && bMulti) {
            m_nCode = ENC_UTF8;
            return;
        }
    }

    // 4. Nothing found.
    m_nCode = ENC_ANSI;
}
