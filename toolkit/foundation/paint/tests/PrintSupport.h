// Readable test output for the framework's geometry types.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

#include <ostream>

inline void PrintTo(const CRect& rc, std::ostream* os)
{
    *os << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}
inline void PrintTo(const CSize& sz, std::ostream* os) { *os << sz.cx << " x " << sz.cy; }
inline void PrintTo(const CPoint& pt, std::ostream* os) { *os << "(" << pt.x << ", " << pt.y << ")"; }
