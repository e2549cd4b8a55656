// filehead.cpp - the file-head detector's decision over bytes in memory.
#include "filehead.h"

#include <cstring>

namespace {

// Number of bytes that follow a lead byte in a UTF-8 style sequence.
int TrailingBytes(unsigned char b)
{
    if (b < 0xC0) return 0;
    if (b < 0xE0) return 1;
    if (b < 0xF0) return 2;
    if (b < 0xF8) return 3;
    if (b < 0xFC) return 4;
    return 5;
}

// Whether the nLength bytes at p form one legal UTF-8 sequence.
bool IsLegalUtf8(const unsigned char* p, int nLength)
{
    unsigned char a;
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
        case 0xE0:
            if (a < 0xA0) return false;
            break;
        case 0xED:
            if (a > 0x9F) return false;
            break;
        case 0xF0:
            if (a < 0x90) return false;
            break;
        case 0xF4:
            if (a > 0x8F) return false;
            break;
        default:
            if (a < 0x80) return false;
            break;
        }
        // fall through
    case 1:
        if (p[0] >= 0x80 && p[0] < 0xC2) return false;
    }
    return p[0] <= 0xF4;
}

// Whether the head starts with the whole mark.
bool StartsWith(const unsigned char* p, int n, const unsigned char* mark, int nMark)
{
    return n >= nMark && memcmp(p, mark, (size_t)nMark) == 0;
}

int DetectCode(const unsigned char* p, int n, long long nFileSize, int& nMarkLength)
{
    static const unsigned char kUtf8[] = {0xEF, 0xBB, 0xBF};
    static const unsigned char kUtf16Le[] = {0xFF, 0xFE};
    static const unsigned char kUtf16Be[] = {0xFE, 0xFF};
    static const unsigned char kUtf32Le[] = {0xFF, 0xFE, 0x00, 0x00};
    static const unsigned char kUtf32Be[] = {0x00, 0x00, 0xFE, 0xFF};
    static const unsigned char kScsu[] = {0x0E, 0xFE, 0xFF};
    static const unsigned char kBocu1[] = {0xFB, 0xEE, 0x28};
    static const unsigned char kUtf7[] = {0x2B, 0x2F, 0x76};
    static const unsigned char kUtfEbcdic[] = {0xDD, 0x73, 0x66, 0x73};

    // UTF-16 text needs an even number of bytes: an odd-sized file taken as
    // UTF-16 would lose its last byte on the way through the editor. When
    // the size is unknown (a head cut at the head size) it is assumed even.
    const bool bEvenSize = nFileSize < 0 || (nFileSize % 2) == 0;

    // 1. Byte-order marks. A mark counts only when the head holds all of it,
    // so a short file is never stripped of bytes it does not have.
    if (StartsWith(p, n, kUtf8, 3)) {
        nMarkLength = 3;
        return ENC_UTF8;
    }
    if (StartsWith(p, n, kUtf32Le, 4)) {
        nMarkLength = 4;
        return ENC_UTF32LE;
    }
    if (StartsWith(p, n, kUtf16Le, 2)) {
        if (!bEvenSize)
            return ENC_ANSI;
        nMarkLength = 2;
        return ENC_UTF16LE;
    }
    if (StartsWith(p, n, kUtf16Be, 2)) {
        if (!bEvenSize)
            return ENC_ANSI;
        nMarkLength = 2;
        return ENC_UTF16BE;
    }
    if (StartsWith(p, n, kUtf32Be, 4)) {
        nMarkLength = 4;
        return ENC_UTF32BE;
    }
    if (StartsWith(p, n, kScsu, 3)) {
        nMarkLength = 3;
        return ENC_SCSU;
    }
    if (StartsWith(p, n, kBocu1, 3)) {
        nMarkLength = 3;
        return ENC_BOCU1;
    }
    if (StartsWith(p, n, kUtf7, 3) && n >= 4 &&
        (p[3] == 0x38 || p[3] == 0x39 || p[3] == 0x2B || p[3] == 0x2F)) {
        nMarkLength = (p[3] == 0x38 && n >= 5 && p[4] == 0x2D) ? 5 : 4;
        return ENC_UTF7;
    }
    if (StartsWith(p, n, kUtfEbcdic, 4)) {
        nMarkLength = 4;
        return ENC_UTFEBCDIC;
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
        if (!bMostlyNul && nOddZeros == n / 2)
            return ENC_UTF16LE;
        if (!bMostlyNul && nEvenZeros == n / 2)
            return ENC_UTF16BE;
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
        if (!bFailed && bMulti)
            return ENC_UTF8;
    }

    // 4. Nothing found.
    return ENC_ANSI;
}

} // namespace

bool DetectFileHead(const unsigned char* p, int n, long long nFileSize, int& nCode, int& nMarkLength)
{
    nMarkLength = 0;
    if (p == nullptr || n < 0)
        n = 0;
    nCode = DetectCode(p, n, nFileSize, nMarkLength);
    return nCode == ENC_ANSI && n > 0 && memchr(p, 0, (size_t)n) != nullptr;
}
