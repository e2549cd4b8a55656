// Encoding detection and decoding of the files a compare reads (the bytes
// only: compare_engine.cpp reads the files).
#include "compare_engine.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace pairview {

namespace {

bool StartsWith(const unsigned char* p, std::size_t n, std::initializer_list<unsigned char> mark)
{
    if (n < mark.size())
        return false;
    std::size_t i = 0;
    for (unsigned char c : mark)
        if (p[i++] != c)
            return false;
    return true;
}

bool IsByteEncoding(int code)
{
    return code != kUtf16LE && code != kUtf16BE && code != kUtf32LE && code != kUtf32BE;
}

bool IsContinuation(unsigned char c) { return c >= 0x80 && c <= 0xBF; }

// Appends one code point as UTF-8.
void PutUtf8(BudgetVector<char>& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

constexpr std::uint32_t kReplacement = 0xFFFD;

// Puts one decoded character; a line feed ends the current line.
void PutChar(TextLines& out, std::uint32_t cp)
{
    if (cp == 0)
        cp = '.';
    PutUtf8(out.text, cp);
    if (cp == '\n')
        out.starts.push_back(out.text.size());
}

void FinishLines(TextLines& out)
{
    if (out.text.size() > out.starts.back())
        out.starts.push_back(out.text.size()); // a last line without line end
}

// Splits out.text, which holds the bytes of the file, into lines.
void SplitByteLines(TextLines& out)
{
    const std::size_t n = out.text.size();
    char* t = out.text.data();
    // An empty vector may have no storage at all: memchr needs a pointer.
    for (char* z = n ? static_cast<char*>(std::memchr(t, 0, n)) : nullptr; z;
         z = static_cast<char*>(std::memchr(z + 1, 0, n - (z + 1 - t))))
        *z = '.';
    out.starts.clear();
    out.starts.reserve(n / 32 + 2);
    out.starts.push_back(0);
    for (std::size_t at = 0; at < n;) {
        const void* nl = std::memchr(t + at, '\n', n - at);
        if (!nl)
            break;
        at = static_cast<const char*>(nl) - t + 1;
        out.starts.push_back(at);
    }
    FinishLines(out);
}

void DecodeBytes(const unsigned char* p, std::size_t n, TextLines& out)
{
    out.text.resize(n);
    if (n)
        std::memcpy(out.text.data(), p, n);
    SplitByteLines(out);
}

void DecodeUtf16(const unsigned char* p, std::size_t n, bool bigEndian, TextLines& out)
{
    out.text.reserve(n / 2 + n / 8 + 4);
    out.starts.reserve(n / 64 + 2);
    out.starts.push_back(0);
    std::size_t i = 0;
    auto unit = [&](std::size_t at) -> std::uint32_t {
        return bigEndian ? (p[at] << 8) | p[at + 1] : p[at] | (p[at + 1] << 8);
    };
    while (i + 1 < n) {
        std::uint32_t u = unit(i);
        i += 2;
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 < n) {
                std::uint32_t low = unit(i);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    i += 2;
                    PutChar(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                    continue;
                }
            }
            u = kReplacement;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            u = kReplacement;
        }
        PutChar(out, u);
    }
    if (i < n)
        PutChar(out, kReplacement); // odd byte at the end
    FinishLines(out);
}

void DecodeUtf32(const unsigned char* p, std::size_t n, bool bigEndian, TextLines& out)
{
    out.text.reserve(n / 4 + n / 16 + 4);
    out.starts.reserve(n / 128 + 2);
    out.starts.push_back(0);
    std::size_t i = 0;
    for (; i + 3 < n; i += 4) {
        std::uint32_t u = bigEndian ? (std::uint32_t(p[i]) << 24) | (p[i + 1] << 16) | (p[i + 2] << 8) | p[i + 3]
                                    : p[i] | (p[i + 1] << 8) | (p[i + 2] << 16) | (std::uint32_t(p[i + 3]) << 24);
        if (u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF))
            u = kReplacement;
        PutChar(out, u);
    }
    if (i < n)
        PutChar(out, kReplacement);
    FinishLines(out);
}

} // namespace

bool LooksLikeUtf8(const unsigned char* b, std::size_t n)
{
    if (n < 7)
        return false;
    bool multi = false;
    std::size_t i = 0;
    while (n - i > 6) {
        unsigned char lead = b[i];
        std::size_t len = lead < 0xC0 ? 1 : lead < 0xE0 ? 2
                                        : lead < 0xF0   ? 3
                                        : lead < 0xF8   ? 4
                                        : lead < 0xFC   ? 5
                                                        : 6;
        if ((lead >= 0x80 && lead <= 0xC1) || lead >= 0xF5)
            return false;
        if (i + len - 1 >= n - 1)
            return false; // the sequence would reach the last byte read
        if (len > 1) {
            unsigned char second = b[i + 1];
            unsigned char lo = 0x80, hi = 0xBF;
            if (lead == 0xE0)
                lo = 0xA0;
            else if (lead == 0xED)
                hi = 0x9F;
            else if (lead == 0xF0)
                lo = 0x90;
            else if (lead == 0xF4)
                hi = 0x8F;
            if (second < lo || second > hi)
                return false;
            for (std::size_t k = 2; k < len; ++k)
                if (!IsContinuation(b[i + k]))
                    return false;
            multi = true;
        }
        i += len;
    }
    return multi;
}

Encoding DetectEncoding(const unsigned char* p, std::size_t n)
{
    if (n > kDetectBytes)
        n = kDetectBytes;
    if (StartsWith(p, n, {0xFE, 0xFF}))
        return {kUtf16BE, 2};
    if (StartsWith(p, n, {0xFF, 0xFE}))
        return StartsWith(p, n, {0xFF, 0xFE, 0x00, 0x00}) ? Encoding{kUtf32LE, 4} : Encoding{kUtf16LE, 2};
    if (StartsWith(p, n, {0xEF, 0xBB, 0xBF}))
        return {kUtf8, 3};
    if (StartsWith(p, n, {0x00, 0x00, 0xFE, 0xFF}))
        return {kUtf32BE, 4};
    if (StartsWith(p, n, {0x0E, 0xFE, 0xFF}))
        return {kScsu, 3};
    if (StartsWith(p, n, {0xFB, 0xEE, 0x28}))
        return {kBocu1, 3};
    if (StartsWith(p, n, {0x2B, 0x2F, 0x76})) {
        if (StartsWith(p, n, {0x2B, 0x2F, 0x76, 0x38, 0x2D}))
            return {kUtf7, 5};
        if (n >= 4 && (p[3] == 0x38 || p[3] == 0x39 || p[3] == 0x2B || p[3] == 0x2F))
            return {kUtf7, 4};
    }
    if (StartsWith(p, n, {0xDD, 0x73, 0x66, 0x73}))
        return {kUtfEbcdic, 4};

    // A single byte cannot be 16-bit text.
    if (n >= 2) {
        bool oddZero = true, evenZero = true;
        for (std::size_t i = 0; i < n; ++i) {
            if (p[i] != 0)
                (i & 1 ? oddZero : evenZero) = false;
        }
        if (oddZero)
            return {kUtf16LE, 0};
        if (evenZero)
            return {kUtf16BE, 0};
    }
    if (LooksLikeUtf8(p, n))
        return {kUtf8, 0};
    return {kAnsi, 0};
}

void DecodeLines(const unsigned char* data, std::size_t n, Encoding enc, TextLines& out)
{
    out.text.clear();
    out.starts.clear();
    out.encoding = enc;
    std::size_t skip = static_cast<std::size_t>(enc.markLength) < n ? enc.markLength : n;
    data += skip;
    n -= skip;
    if (IsByteEncoding(enc.code)) {
        // UTF-8 and ANSI, and the rare encodings with marks this library does
        // not decode (SCSU, BOCU-1, UTF-7, UTF-EBCDIC): compared as bytes.
        DecodeBytes(data, n, out);
    } else if (enc.code == kUtf16LE || enc.code == kUtf16BE) {
        DecodeUtf16(data, n, enc.code == kUtf16BE, out);
    } else {
        DecodeUtf32(data, n, enc.code == kUtf32BE, out);
    }
}

void DecodeLines(const unsigned char* data, std::size_t n, TextLines& out)
{
    DecodeLines(data, n, DetectEncoding(data, n), out);
}

void DecodeFileBytes(BudgetVector<char>&& raw, TextLines& out)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(raw.data());
    Encoding enc = DetectEncoding(bytes, raw.size());
    if (IsByteEncoding(enc.code)) {
        // Byte files are split where they lie, without a copy.
        out.encoding = enc;
        out.text = std::move(raw);
        out.text.erase(out.text.begin(), out.text.begin() + std::min<std::size_t>(enc.markLength, out.text.size()));
        SplitByteLines(out);
    } else {
        DecodeLines(bytes, raw.size(), enc, out);
    }
}

} // namespace pairview
