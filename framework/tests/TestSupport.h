// Helpers shared by the framework tests.
#pragma once

#include <fx/fx.h>
#include <qmtest/archivebytes.h>

#include <cstdio>
#include <string>
#include <vector>

namespace fxtest {

using qmtest::Bytes;

using qmtest::StoreBytes;
using qmtest::LoadBytes;
using qmtest::Hex;

inline Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A folder of its own under the temporary folder, removed with its contents.
class TempDir {
public:
    TempDir()
    {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        for (int i = 0;; ++i) {
            char name[MAX_PATH * 2];
            snprintf(name, sizeof(name), "%sfxtest_%lu_%lu_%d", base, GetCurrentProcessId(), GetTickCount(), i);
            if (CreateDirectoryA(name, NULL)) {
                m_path = name;
                break;
            }
        }
    }
    ~TempDir() { RemoveTree(m_path); }
    std::string Path(const char* name) const { return m_path + "\\" + name; }
    const std::string& Root() const { return m_path; }

    static void RemoveTree(const std::string& dir)
    {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::string n = fd.cFileName;
                if (n == "." || n == "..")
                    continue;
                std::string p = dir + "\\" + n;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(p);
                } else {
                    SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileA(p.c_str());
                }
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(dir.c_str());
    }

private:
    std::string m_path;
};

inline void WriteRaw(const std::string& path, const std::string& data)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (f) {
        fwrite(data.data(), 1, data.size(), f);
        fclose(f);
    }
}

inline std::string ReadRaw(const std::string& path)
{
    std::string s;
    FILE* f = fopen(path.c_str(), "rb");
    if (f) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof(buf), f)) > 0)
            s.append(buf, n);
        fclose(f);
    }
    return s;
}

// Runs f and returns the cause of the CFileException / CArchiveException it
// throws (-1 when none, -2 for another exception type).
template <typename E, typename F> int CauseOf(F f)
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
template <typename E, typename F> bool Throws(F f)
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
