// benchclock.h - the clock of the benchmark programs: seconds from the
// performance counter, for timing one step against its peer.
#pragma once

#include <windows.h>

namespace qmbench {

inline double Seconds()
{
    static const LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

} // namespace qmbench
