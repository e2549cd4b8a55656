// Helpers shared by the framework tests.
#pragma once

#include <fx/fx.h>
#include <qmtest/archivebytes.h>
#include <qmtest/files.h>

#include <cstdio>
#include <string>
#include <vector>

namespace fxtest {

using qmtest::Bytes;

using qmtest::Hex;
using qmtest::LoadBytes;
using qmtest::StoreBytes;

inline Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

using qmtest::TempDir;

inline void WriteRaw(const std::string& path, const std::string& data) { qmtest::WriteFileBytes(path, data); }
inline std::string ReadRaw(const std::string& path) { return qmtest::ReadFileBytes(path); }

// Runs f and returns the cause of the CFileException / CArchiveException it
// throws (-1 when none, -2 for another exception type).
template <typename E, typename F>
int CauseOf(F f)
{
    try {
        f();
    } catch (E* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    } catch (CException* e) {
        e->Delete();
        return -2;
    }
    return -1;
}

// TRUE when f throws an exception of class E (which is deleted).
template <typename E, typename F>
bool Throws(F f)
{
    try {
        f();
    } catch (E* e) {
        e->Delete();
        return true;
    } catch (CException* e) {
        e->Delete();
        return false;
    }
    return false;
}

} // namespace fxtest
