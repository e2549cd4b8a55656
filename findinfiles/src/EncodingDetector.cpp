#include "EncodingDetector.h"

namespace filescan {

namespace {

bool StartsWith(const unsigned char* head, size_t n, const unsigned char* mark, size_t m)
{
    if (n < m)
        return false;
    for (size_t i = 0; i < m; ++i)
        if (head[i] != mark[i])
            return false;
    return true;
}

} // namespace

int CEncodingDetector::Detect(const unsigned char* head, size_t n, bool wholeFile, int* markLength)
{
    int dummy = 0;
    int& mark = markLength ? *markLength : dummy;
    mark = 0;
    static const unsigned char feff[] = {0xFE, 0xFF};
    static const unsigned char fffe[] = {0xFF, 0xFE};
    static const unsigned char fffe0000[] = {0xFF, 0xFE, 0x00, 0x00};
    static const unsigned char utf8[] = {0xEF, 0xBB, 0xBF};
    static const unsigned char utf32be[] = {0x00, 0x00, 0xFE, 0xFF};
    static const unsigned char scsu[] = {0x0E, 0xFE, 0xFF};
    static const unsigned char bocu[] = {0xFB, 0xEE, 0x28};
    static const unsigned char utf7[] = {0x2B, 0x2F, 0x76};
    static const unsigned char utf7long[] = {0x2B, 0x2F, 0x76, 0x38, 0x2D};
    static const unsigned char ebcdic[] = {0xDD, 0x73, 0x66, 0x73};

    if (StartsWith(head, n, feff, 2)) {
        mark = 2;
        return EncodingUtf16Be;
    }
    if (StartsWith(head, n, fffe, 2)) {
        if (StartsWith(head, n, fffe0000, 4)) {
            mark = 4;
            return EncodingUtf32Le;
        }
        mark = 2;
        return EncodingUtf16Le;
    }
    if (StartsWith(head, n, utf8, 3)) {
        mark = 3;
        return EncodingUtf8;
    }
    if (StartsWith(head, n, utf32be, 4)) {
        mark = 4;
        return EncodingUtf32Be;
    }
    if (StartsWith(head, n, scsu, 3)) {
        mark = 3;
        return EncodingScsu;
    }
    if (StartsWith(head, n, bocu, 3)) {
        mark = 3;
        return EncodingBocu1;
    }
    if (StartsWith(head, n, utf7, 3) && n >= 4) {
        if (StartsWith(head, n, utf7long, 5)) {
            mark = 5;
            return EncodingUtf7;
        }
        const unsigned char b = head[3];
        if (b == 0x38 || b == 0x39 || b == 0x2B || b == 0x2F) {
            mark = 4;
            return EncodingUtf7;
        }
    }
    if (StartsWith(head, n, ebcdic, 4)) {
        mark = 4;
        return EncodingUtfEbcdic;
    }

    // No mark: a lone byte is plain text; otherwise look for 16-bit text
    // (ASCII-range UTF-16 has all zero bytes on one side).
    const size_t len = n < ContentTestBytes ? n : static_cast<size_t>(ContentTestBytes);
    if (len < 2)
        return EncodingAnsi;
    bool oddNonZero = false;
    bool evenNonZero = false;
    for (size_t i = 0; i < len; ++i) {
        if (head[i]) {
            if (i & 1)
                oddNonZero = true;
            else
                evenNonZero = true;
        }
    }
    if (!oddNonZero)
        return EncodingUtf16Le;
    if (!evenNonZero)
        return EncodingUtf16Be;
    return LooksLikeUtf8(head, len, wholeFile && len == n) ? EncodingUtf8 : EncodingAnsi;
}

bool CEncodingDetector::LooksLikeUtf8(const unsigned char* p, size_t n, bool wholeFile)
{
    bool multiByte = false;
    size_t i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        size_t len;
        unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            if (b == 0xE0)
                lo = 0xA0;
            else if (b == 0xED)
                hi = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            if (b == 0xF0)
                lo = 0x90;
            else if (b == 0xF4)
                hi = 0x8F;
        } else {
            return false; // 80-C1 and F5-FF never lead a sequence
        }
        for (size_t k = 1; k < len; ++k) {
            if (i + k >= n)
                return !wholeFile && multiByte; // cut off by the end of the test window
            const unsigned char c = p[i + k];
            const unsigned char l = k == 1 ? lo : 0x80;
            const unsigned char h = k == 1 ? hi : 0xBF;
            if (c < l || c > h)
                return false;
        }
        multiByte = true;
        i += len;
    }
    return multiByte;
}

const wchar_t* CEncodingDetector::Name(int code)
{
    switch (code) {
    case EncodingAnsi: return L"ANSI";
    case EncodingUtf7: return L"UTF7";
    case EncodingUtf8: return L"UTF-8";
    case EncodingUtf16Le: return L"UTF-16LE";
    case EncodingUtf16Be: return L"UTF-16BE";
    default: return L"";
    }
}

const wchar_t* CEncodingDetector::DisplayName(int code)
{
    switch (code) {
    case EncodingScsu: return L"SCSU";
    case EncodingBocu1: return L"BOCU-1";
    case EncodingUtfEbcdic: return L"UTF-EBCDIC";
    case EncodingUtf32Le: return L"UTF-32LE";
    case EncodingUtf32Be: return L"UTF-32BE";
    default: return Name(code);
    }
}

} // namespace filescan
