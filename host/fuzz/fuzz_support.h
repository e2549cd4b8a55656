// Helpers of the fuzz targets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace fuzz {

// A broken promise ends the run; libFuzzer keeps the input that broke it.
inline void Require(bool ok)
{
    if (!ok)
        abort();
}

// Strict UTF-8: no surrogates, nothing overlong or past U+10FFFF, no
// sequence cut short.
inline bool WellFormedUtf8(const void* bytes, size_t n)
{
    const auto* p = static_cast<const uint8_t*>(bytes);
    for (size_t i = 0; i < n;) {
        const uint8_t b = p[i];
        const size_t len = b < 0x80 ? 1 : b >= 0xC2 && b <= 0xDF ? 2
                                      : b >= 0xE0 && b <= 0xEF   ? 3
                                      : b >= 0xF0 && b <= 0xF4   ? 4
                                                                 : 0;
        if (len == 0 || i + len > n)
            return false;
        const uint8_t lo = b == 0xE0 ? 0xA0 : b == 0xF0 ? 0x90
                                                        : 0x80;
        const uint8_t hi = b == 0xED ? 0x9F : b == 0xF4 ? 0x8F
                                                        : 0xBF;
        for (size_t k = 1; k < len; ++k)
            if (p[i + k] < (k == 1 ? lo : 0x80) || p[i + k] > (k == 1 ? hi : 0xBF))
                return false;
        i += len;
    }
    return true;
}

} // namespace fuzz
