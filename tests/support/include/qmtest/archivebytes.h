// Test helpers for stored formats: store through an archive into bytes, load
// from bytes, and print bytes for failure messages.
#pragma once

#include <fx/fx.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace qmtest {

typedef std::vector<BYTE> Bytes;

// Stores through an archive on a memory file and returns the bytes.
template <typename F>
Bytes StoreBytes(F f)
{
    CMemFile mf;
    {
        CArchive ar(&mf, CArchive::store);
        f(ar);
        ar.Close();
    }
    ULONGLONG n = mf.GetLength();
    BYTE* p = mf.Detach();
    Bytes out(p, p + n);
    free(p);
    return out;
}

// Loads from the given bytes through an archive.
template <typename F>
void LoadBytes(const Bytes& bytes, F f)
{
    Bytes copy(bytes);
    CMemFile mf(copy.empty() ? NULL : copy.data(), (UINT)copy.size());
    CArchive ar(&mf, CArchive::load);
    f(ar);
}

inline std::string Hex(const Bytes& b)
{
    std::string s;
    char buf[4];
    for (BYTE x : b) {
        snprintf(buf, sizeof(buf), "%02X ", x);
        s += buf;
    }
    return s;
}

} // namespace qmtest
