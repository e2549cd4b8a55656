// utf16text.cpp - UTF-16 to UTF-8 and back, chunk by chunk.
#include "utf16text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

#if defined(__SSE2__)
// Copies the ASCII units at the front of p[0..n) (n bytes) to out, eight at
// a time; returns the bytes of input used (always even). Stops at the first
// block holding a unit from 0x80 up, after copying the ASCII units before it.
inline size_t CopyAsciiUnits(const unsigned char* p, size_t n, bool bBigEndian, char*& out)
{
    const __m128i high = _mm_set1_epi16((short)0xFF80);
    const __m128i zero = _mm_setzero_si128();
    size_t i = 0;
    while (i + 16 <= n) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        if (bBigEndian)
            v = _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
        const unsigned ascii = (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, high), zero));
        // Eight bytes are stored either way; only the ASCII ones count.
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(v, v));
        if (ascii == 0xFFFF) {
            out += 8;
            i += 16;
            continue;
        }
        const unsigned units = (unsigned)__builtin_ctz(~ascii) / 2;
        out += units;
        i += 2 * units;
        break;
    }
    return i;
}
#endif

inline void PutUtf8(unsigned cp, char*& out)
{
    if (cp < 0x80) {
        *out++ = (char)cp;
    } else if (cp < 0x800) {
        *out++ = (char)(0xC0 | (cp >> 6));
        *out++ = (char)(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = (char)(0xE0 | (cp >> 12));
        *out++ = (char)(0x80 | ((cp >> 6) & 0x3F));
        *out++ = (char)(0x80 | (cp & 0x3F));
    } else {
        *out++ = (char)(0xF0 | (cp >> 18));
        *out++ = (char)(0x80 | ((cp >> 12) & 0x3F));
        *out++ = (char)(0x80 | ((cp >> 6) & 0x3F));
        *out++ = (char)(0x80 | (cp & 0x3F));
    }
}

} // namespace

size_t Utf16ToUtf8::Convert(const unsigned char* p, size_t n, bool bFinal, char* out)
{
    char* const start = out;
    size_t i = 0;
    for (;;) {
#if defined(__SSE2__)
        if (m_nPendingByte < 0 && m_nPendingHigh < 0 && i + 16 <= n)
            i += CopyAsciiUnits(p + i, n - i, m_bBigEndian, out);
#endif
        unsigned b0, b1;
        if (m_nPendingByte >= 0) {
            if (i >= n)
                break;
            b0 = (unsigned)m_nPendingByte;
            b1 = p[i++];
            m_nPendingByte = -1;
        } else if (i + 1 < n) {
            b0 = p[i];
            b1 = p[i + 1];
            i += 2;
        } else {
            if (i < n)
                m_nPendingByte = p[i++];
            break;
        }
        unsigned unit = m_bBigEndian ? ((b0 << 8) | b1) : (b0 | (b1 << 8));
        if (m_nPendingHigh >= 0) {
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                unsigned cp = 0x10000 + (((unsigned)m_nPendingHigh - 0xD800) << 10) + (unit - 0xDC00);
                m_nPendingHigh = -1;
                PutUtf8(cp, out);
                continue;
            }
            // A high half without its partner goes through alone.
            PutUtf8((unsigned)m_nPendingHigh, out);
            m_nPendingHigh = -1;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF)
            m_nPendingHigh = (int)unit;
        else
            PutUtf8(unit, out);
    }
    if (bFinal) {
        if (m_nPendingHigh >= 0) {
            PutUtf8((unsigned)m_nPendingHigh, out);
            m_nPendingHigh = -1;
        }
        if (m_nPendingByte >= 0) {
            ++m_nDropped;
            m_nPendingByte = -1;
        }
    }
    return (size_t)(out - start);
}

inline void Utf8ToUtf16::PutUnit(unsigned unit, unsigned char*& out) const
{
    if (m_bBigEndian) {
        *out++ = (unsigned char)(unit >> 8);
        *out++ = (unsigned char)unit;
    } else {
        *out++ = (unsigned char)unit;
        *out++ = (unsigned char)(unit >> 8);
    }
}

size_t Utf8ToUtf16::Convert(const unsigned char* in, size_t n, unsigned char* out)
{
    unsigned char* const start = out;
    for (size_t i = 0; i < n; ++i) {
        const unsigned char b = in[i];
        if (m_nCarry > 0) {
            if ((b & 0xC0) == 0x80) {
                m_carry[m_nCarry++] = b;
                const unsigned char lead = m_carry[0];
                const int nSeq = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3
                                                                 : 2;
                if (m_nCarry < nSeq)
                    continue;
                unsigned cp = lead & (nSeq == 4 ? 0x07 : nSeq == 3 ? 0x0F
                                                                   : 0x1F);
                for (int k = 1; k < nSeq; ++k)
                    cp = (cp << 6) | (m_carry[k] & 0x3F);
                if (cp >= 0x10000 && cp <= 0x10FFFF) {
                    cp -= 0x10000;
                    PutUnit(0xD800 + (cp >> 10), out);
                    PutUnit(0xDC00 + (cp & 0x3FF), out);
                } else if (cp < 0x10000) {
                    // Three-byte forms of surrogate halves come back as the
                    // same halves, so malformed UTF-16 survives unchanged.
                    PutUnit(cp, out);
                } else {
                    for (int k = 0; k < nSeq; ++k)
                        PutUnit(m_carry[k], out);
                }
                m_nCarry = 0;
                continue;
            }
            // A broken sequence: its bytes are units by themselves.
            for (int k = 0; k < m_nCarry; ++k)
                PutUnit(m_carry[k], out);
            m_nCarry = 0;
        }
        if (b >= 0xC0 && b < 0xF8) {
            m_carry[0] = b;
            m_nCarry = 1;
        } else {
            // ASCII, and stray bytes (continuations, F8-FF) as units by themselves.
            PutUnit(b, out);
        }
    }
    return (size_t)(out - start);
}

size_t Utf8ToUtf16::Finish(unsigned char* out)
{
    unsigned char* const start = out;
    for (int k = 0; k < m_nCarry; ++k)
        PutUnit(m_carry[k], out);
    m_nCarry = 0;
    return (size_t)(out - start);
}
