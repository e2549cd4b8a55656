// Block scanning primitives over 8-bit and 16-bit text units (SSE2): find a
// unit, count units, and find candidate positions of a literal.
#ifndef QUILLMATE_FINDINFILES_SCAN_H
#define QUILLMATE_FINDINFILES_SCAN_H

#include <emmintrin.h>
#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace filescan {

namespace scan_detail {

// Lane helpers for the two unit widths.
template <class T>
struct Lanes;

template <>
struct Lanes<uint8_t> {
    enum {
        Count = 16,
        BitsPerLane = 1
    };
    static __m128i Splat(uint8_t v) { return _mm_set1_epi8(static_cast<char>(v)); }
    static __m128i Eq(__m128i a, __m128i b) { return _mm_cmpeq_epi8(a, b); }
    static unsigned Mask(__m128i m) { return static_cast<unsigned>(_mm_movemask_epi8(m)); }
};

template <>
struct Lanes<uint16_t> {
    enum {
        Count = 8,
        BitsPerLane = 2
    };
    static __m128i Splat(uint16_t v) { return _mm_set1_epi16(static_cast<short>(v)); }
    static __m128i Eq(__m128i a, __m128i b) { return _mm_cmpeq_epi16(a, b); }
    // One bit per lane (the low bit of each lane's pair).
    static unsigned Mask(__m128i m) { return static_cast<unsigned>(_mm_movemask_epi8(m)) & 0x5555u; }
};

inline __m128i Load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }

} // namespace scan_detail

// Index of the first unit equal to v in p[0..n), or n.
template <class T>
size_t FindUnit(const T* p, size_t n, T v)
{
    using L = scan_detail::Lanes<T>;
    const __m128i key = L::Splat(v);
    size_t i = 0;
    for (; i + L::Count <= n; i += L::Count) {
        const unsigned m = L::Mask(L::Eq(scan_detail::Load(p + i), key));
        if (m)
            return i + static_cast<size_t>(__builtin_ctz(m)) / L::BitsPerLane;
    }
    for (; i < n; ++i)
        if (p[i] == v)
            return i;
    return n;
}

// Index of the last unit equal to v in p[0..n), or n when there is none.
template <class T>
size_t FindLastUnit(const T* p, size_t n, T v)
{
    using L = scan_detail::Lanes<T>;
    const __m128i key = L::Splat(v);
    size_t i = n;
    while (i >= static_cast<size_t>(L::Count)) {
        i -= L::Count;
        const unsigned m = L::Mask(L::Eq(scan_detail::Load(p + i), key));
        if (m)
            return i + static_cast<size_t>(31 - __builtin_clz(m)) / L::BitsPerLane;
    }
    while (i > 0) {
        --i;
        if (p[i] == v)
            return i;
    }
    return n;
}

// Number of units equal to v in p[0..n); *last receives the index of the
// last of them (unchanged when there is none).
template <class T>
size_t CountUnit(const T* p, size_t n, T v, size_t* last)
{
    using L = scan_detail::Lanes<T>;
    const __m128i key = L::Splat(v);
    size_t count = 0;
    size_t i = 0;
    for (; i + L::Count <= n; i += L::Count) {
        const unsigned m = L::Mask(L::Eq(scan_detail::Load(p + i), key));
        if (m) {
            count += static_cast<size_t>(__builtin_popcount(m));
            *last = i + static_cast<size_t>(31 - __builtin_clz(m)) / L::BitsPerLane;
        }
    }
    for (; i < n; ++i) {
        if (p[i] == v) {
            ++count;
            *last = i;
        }
    }
    return count;
}

// True when every unit of p[0..n) is below 0x80.
inline bool IsAscii(const uint8_t* p, size_t n)
{
    size_t i = 0;
    __m128i acc = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16)
        acc = _mm_or_si128(acc, scan_detail::Load(p + i));
    if (_mm_movemask_epi8(acc))
        return false;
    uint8_t rest = 0;
    for (; i < n; ++i)
        rest = static_cast<uint8_t>(rest | p[i]);
    return rest < 0x80;
}

// Widens n ASCII bytes to wide characters.
inline void WidenAscii(const uint8_t* p, size_t n, wchar_t* out)
{
    size_t i = 0;
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i v = scan_detail::Load(p + i);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(v, zero));
    }
    for (; i < n; ++i)
        out[i] = static_cast<wchar_t>(p[i]);
}

// A literal in file units.  A unit marked fold is an ASCII lower-case letter
// that also matches its upper case (compared as unit | 0x20).
template <class T>
struct UnitLiteral {
    std::vector<T> units;
    std::vector<uint8_t> fold;
    // Offsets of the two units the scan looks for first (the rarest ones);
    // set by ChooseAnchors.
    size_t anchor1 = 0;
    size_t anchor2 = 0;

    bool Empty() const { return units.empty(); }

    // Picks the two units least likely to occur in source text and prose.
    void ChooseAnchors()
    {
        anchor1 = anchor2 = 0;
        if (units.size() < 2)
            return;
        auto rank = [&](size_t k) {
            const unsigned u = units[k];
            int r = UnitRank(u);
            if (fold[k])
                r = (r + UnitRank(u - 32)) / 2 + 8; // both cases count
            return r;
        };
        size_t best = 0;
        for (size_t k = 1; k < units.size(); ++k)
            if (rank(k) < rank(best))
                best = k;
        size_t second = best == 0 ? 1 : 0;
        for (size_t k = 0; k < units.size(); ++k)
            if (k != best && (rank(k) < rank(second) || (rank(k) == rank(second) && k > second)))
                second = k;
        anchor1 = best < second ? best : second;
        anchor2 = best < second ? second : best;
    }

    // How common a unit is in text (higher is more common).
    static int UnitRank(unsigned u)
    {
        static const char common[] = "etaoinsrhldcumfpgwybvkxjqz"; // most common first
        if (u == ' ')
            return 255;
        if (u == '\t')
            return 200;
        if (u >= 'a' && u <= 'z') {
            for (int i = 0; common[i]; ++i)
                if (static_cast<unsigned>(common[i]) == u)
                    return 250 - 5 * i;
        }
        if (u >= 'A' && u <= 'Z')
            return 90;
        if (u >= '0' && u <= '9')
            return 110;
        switch (u) {
        case '_': return 170;
        case '(':
        case ')': return 150;
        case ';':
        case ',':
        case '.':
        case '=': return 140;
        case '"':
        case '*':
        case '-':
        case '>': return 120;
        default: return 60;
        }
    }
    bool UnitMatches(size_t k, T u) const
    {
        return fold[k] ? static_cast<T>(u | 0x20) == units[k] : u == units[k];
    }
    bool MatchesAt(const T* p) const
    {
        for (size_t k = 0; k < units.size(); ++k)
            if (!UnitMatches(k, p[k]))
                return false;
        return true;
    }
};

// Index of the first place in p[0..n) where the whole literal occurs, or n.
template <class T>
size_t FindLiteral(const T* p, size_t n, const UnitLiteral<T>& lit)
{
    using L = scan_detail::Lanes<T>;
    const size_t m = lit.units.size();
    if (m == 0 || n < m)
        return n;
    const size_t o1 = lit.anchor1, o2 = lit.anchor2;
    const __m128i key1 = L::Splat(lit.units[o1]);
    const __m128i key2 = L::Splat(lit.units[o2]);
    const __m128i or1 = L::Splat(lit.fold[o1] ? 0x20 : 0);
    const __m128i or2 = L::Splat(lit.fold[o2] ? 0x20 : 0);
    const size_t last = n - m; // last possible start
    size_t i = 0;
    // Candidates where both anchor units agree, 32 (or 16) starts at a time.
    for (; i + 2 * L::Count <= last + 1; i += 2 * L::Count) {
        const T* q = p + i;
        const __m128i a0 = L::Eq(_mm_or_si128(scan_detail::Load(q + o1), or1), key1);
        const __m128i b0 = L::Eq(_mm_or_si128(scan_detail::Load(q + o2), or2), key2);
        const __m128i a1 = L::Eq(_mm_or_si128(scan_detail::Load(q + o1 + L::Count), or1), key1);
        const __m128i b1 = L::Eq(_mm_or_si128(scan_detail::Load(q + o2 + L::Count), or2), key2);
        const __m128i c0 = _mm_and_si128(a0, b0);
        const __m128i c1 = _mm_and_si128(a1, b1);
        if (!_mm_movemask_epi8(_mm_or_si128(c0, c1)))
            continue;
        const unsigned masks[2] = {L::Mask(c0), L::Mask(c1)};
        for (int h = 0; h < 2; ++h) {
            unsigned mask = masks[h];
            while (mask) {
                const size_t j = i + h * L::Count + static_cast<size_t>(__builtin_ctz(mask)) / L::BitsPerLane;
                if (lit.MatchesAt(p + j))
                    return j;
                mask &= mask - 1;
            }
        }
    }
    for (; i <= last; ++i)
        if (lit.MatchesAt(p + i))
            return i;
    return n;
}

// A set of units given as ranges of ASCII values, plus every unit of 0x80
// and above when high is set.
template <class T>
struct UnitSet {
    std::vector<std::pair<T, T>> ranges; // inclusive, below 0x80
    bool high = false;
    bool table[128] = {};

    void Add(unsigned lo, unsigned hi)
    {
        ranges.push_back(std::make_pair(static_cast<T>(lo), static_cast<T>(hi)));
        for (unsigned u = lo; u <= hi && u < 128; ++u)
            table[u] = true;
    }
    bool Contains(T u) const { return u >= 0x80 ? high : table[u]; }

    // How often text holds a member (higher is more often).
    int Score() const
    {
        int score = high ? 400 : 0;
        for (unsigned u = 0; u < 128; ++u)
            if (table[u])
                score += UnitLiteral<T>::UnitRank(u);
        return score;
    }
};

namespace scan_detail {

// Lanes of v inside [lo, hi], as a compare mask.
inline __m128i InRange(__m128i v, uint8_t lo, uint8_t hi, uint8_t)
{
    const __m128i d = _mm_sub_epi8(v, _mm_set1_epi8(static_cast<char>(lo)));
    const __m128i span = _mm_set1_epi8(static_cast<char>(hi - lo));
    return _mm_cmpeq_epi8(_mm_min_epu8(d, span), d);
}

inline __m128i InRange(__m128i v, uint16_t lo, uint16_t hi, uint16_t)
{
    // Unsigned compare through the signed one, with the sign bit flipped.
    const __m128i flip = _mm_set1_epi16(static_cast<short>(0x8000));
    const __m128i d = _mm_xor_si128(_mm_sub_epi16(v, _mm_set1_epi16(static_cast<short>(lo))), flip);
    const __m128i limit = _mm_set1_epi16(static_cast<short>((hi - lo + 1) ^ 0x8000));
    return _mm_cmplt_epi16(d, limit);
}

inline __m128i High(__m128i v, uint8_t)
{
    return _mm_cmplt_epi8(v, _mm_setzero_si128());
}

inline __m128i High(__m128i v, uint16_t)
{
    const __m128i masked = _mm_and_si128(v, _mm_set1_epi16(static_cast<short>(0xFF80)));
    return _mm_xor_si128(_mm_cmpeq_epi16(masked, _mm_setzero_si128()), _mm_set1_epi32(-1));
}

} // namespace scan_detail

// Up to two positions of a match, each with the set its unit must be in: a
// match can start at i only where p[i + offset1] is in set1 and
// p[i + offset2] in set2 (one position: both the same).
template <class T>
struct PositionFilter {
    size_t offset1 = 0, offset2 = 0;
    UnitSet<T> set1, set2;

    // Whether the vector tests apply (few ranges per set).
    bool Vectorised() const { return set1.ranges.size() <= 6 && set2.ranges.size() <= 6; }
};

namespace scan_detail {

template <class T>
inline __m128i SetMask(__m128i v, const UnitSet<T>& set)
{
    __m128i hit = set.high ? High(v, T()) : _mm_setzero_si128();
    for (const auto& r : set.ranges)
        hit = _mm_or_si128(hit, InRange(v, r.first, r.second, T()));
    return hit;
}

} // namespace scan_detail

// Index of the first start i in p[0..n) that passes the filter, or n.
template <class T>
size_t FindPositions(const T* p, size_t n, const PositionFilter<T>& f)
{
    using L = scan_detail::Lanes<T>;
    if (n <= f.offset2)
        return n;
    const size_t last = n - 1 - f.offset2; // last start with both positions inside
    size_t i = 0;
    if (f.Vectorised()) {
        for (; i + L::Count <= last + 1; i += L::Count) {
            const __m128i a = scan_detail::SetMask(scan_detail::Load(p + i + f.offset1), f.set1);
            const __m128i b = scan_detail::SetMask(scan_detail::Load(p + i + f.offset2), f.set2);
            const unsigned m = L::Mask(_mm_and_si128(a, b));
            if (m)
                return i + static_cast<size_t>(__builtin_ctz(m)) / L::BitsPerLane;
        }
    }
    for (; i <= last; ++i)
        if (f.set1.Contains(p[i + f.offset1]) && f.set2.Contains(p[i + f.offset2]))
            return i;
    return n;
}

// ---------------------------------------------------------------------------
// AVX2 versions of the byte scans, used when the processor has AVX2.

namespace scan_detail {

inline bool HaveAvx2()
{
    static const bool have = __builtin_cpu_supports("avx2") != 0;
    return have;
}

__attribute__((target("avx2"))) inline size_t FindLiteralAvx2(const uint8_t* p, size_t n,
                                                              const UnitLiteral<uint8_t>& lit)
{
    const size_t m = lit.units.size();
    const size_t o1 = lit.anchor1, o2 = lit.anchor2;
    const __m256i key1 = _mm256_set1_epi8(static_cast<char>(lit.units[o1]));
    const __m256i key2 = _mm256_set1_epi8(static_cast<char>(lit.units[o2]));
    const __m256i or1 = _mm256_set1_epi8(lit.fold[o1] ? 0x20 : 0);
    const __m256i or2 = _mm256_set1_epi8(lit.fold[o2] ? 0x20 : 0);
    const size_t last = n - m;
    size_t i = 0;
    for (; i + 64 <= last + 1; i += 64) {
        const uint8_t* q = p + i;
        const __m256i a0 = _mm256_cmpeq_epi8(
            _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + o1)), or1), key1);
        const __m256i b0 = _mm256_cmpeq_epi8(
            _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + o2)), or2), key2);
        const __m256i a1 = _mm256_cmpeq_epi8(
            _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + o1 + 32)), or1), key1);
        const __m256i b1 = _mm256_cmpeq_epi8(
            _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + o2 + 32)), or2), key2);
        const __m256i c0 = _mm256_and_si256(a0, b0);
        const __m256i c1 = _mm256_and_si256(a1, b1);
        if (_mm256_testz_si256(_mm256_or_si256(c0, c1), _mm256_or_si256(c0, c1)))
            continue;
        const unsigned masks[2] = {static_cast<unsigned>(_mm256_movemask_epi8(c0)),
                                   static_cast<unsigned>(_mm256_movemask_epi8(c1))};
        for (int h = 0; h < 2; ++h) {
            unsigned mask = masks[h];
            while (mask) {
                const size_t j = i + h * 32 + static_cast<size_t>(__builtin_ctz(mask));
                if (lit.MatchesAt(p + j))
                    return j;
                mask &= mask - 1;
            }
        }
    }
    for (; i <= last; ++i)
        if (lit.MatchesAt(p + i))
            return i;
    return n;
}

__attribute__((target("avx2"))) inline __m256i SetMaskAvx2(__m256i v, const UnitSet<uint8_t>& set)
{
    __m256i hit = set.high ? _mm256_cmpgt_epi8(_mm256_setzero_si256(), v) : _mm256_setzero_si256();
    for (const auto& r : set.ranges) {
        const __m256i d = _mm256_sub_epi8(v, _mm256_set1_epi8(static_cast<char>(r.first)));
        const __m256i span = _mm256_set1_epi8(static_cast<char>(r.second - r.first));
        hit = _mm256_or_si256(hit, _mm256_cmpeq_epi8(_mm256_min_epu8(d, span), d));
    }
    return hit;
}

__attribute__((target("avx2"))) inline size_t FindPositionsAvx2(const uint8_t* p, size_t n,
                                                                const PositionFilter<uint8_t>& f)
{
    const size_t last = n - 1 - f.offset2;
    size_t i = 0;
    for (; i + 32 <= last + 1; i += 32) {
        const __m256i a = SetMaskAvx2(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + f.offset1)), f.set1);
        const __m256i b = SetMaskAvx2(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + f.offset2)), f.set2);
        const unsigned m = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_and_si256(a, b)));
        if (m)
            return i + static_cast<size_t>(__builtin_ctz(m));
    }
    for (; i <= last; ++i)
        if (f.set1.Contains(p[i + f.offset1]) && f.set2.Contains(p[i + f.offset2]))
            return i;
    return n;
}

__attribute__((target("avx2,popcnt"))) inline size_t CountByteAvx2(const uint8_t* p, size_t n, uint8_t v,
                                                                   size_t* last)
{
    const __m256i key = _mm256_set1_epi8(static_cast<char>(v));
    size_t count = 0;
    size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const unsigned m = static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i)), key)));
        if (m) {
            count += static_cast<size_t>(__builtin_popcount(m));
            *last = i + static_cast<size_t>(31 - __builtin_clz(m));
        }
    }
    for (; i < n; ++i) {
        if (p[i] == v) {
            ++count;
            *last = i;
        }
    }
    return count;
}

} // namespace scan_detail

inline size_t FindLiteral(const uint8_t* p, size_t n, const UnitLiteral<uint8_t>& lit)
{
    if (scan_detail::HaveAvx2() && !lit.units.empty() && n >= lit.units.size())
        return scan_detail::FindLiteralAvx2(p, n, lit);
    return FindLiteral<uint8_t>(p, n, lit);
}

inline size_t FindPositions(const uint8_t* p, size_t n, const PositionFilter<uint8_t>& f)
{
    if (scan_detail::HaveAvx2() && f.Vectorised() && n > f.offset2)
        return scan_detail::FindPositionsAvx2(p, n, f);
    return FindPositions<uint8_t>(p, n, f);
}

inline size_t CountUnit(const uint8_t* p, size_t n, uint8_t v, size_t* last)
{
    if (scan_detail::HaveAvx2())
        return scan_detail::CountByteAvx2(p, n, v, last);
    return CountUnit<uint8_t>(p, n, v, last);
}

} // namespace filescan


#endif
