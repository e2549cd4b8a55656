// Temporary folders and raw file access for tests. Tests run in parallel, so
// every name is unique to the process and the moment.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "filenames.h"

namespace qmtest {

inline std::string UniqueName(const char* prefix)
{
    static LONG s_counter = 0;
    char name[96];
    snprintf(name, sizeof(name), "%s_%lu_%lu_%ld", prefix, GetCurrentProcessId(), GetTickCount(),
             InterlockedIncrement(&s_counter));
    return name;
}

// A path written with forward slashes, in the Windows form.
inline std::string WindowsPath(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

// Calls each(name, path, isFolder) for every entry of a folder but "." and "..".
template <class Each>
void ForEachEntry(const std::string& dir, Each each)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = fd.cFileName;
        if (name != "." && name != "..")
            each(name, dir + "\\" + name, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

// Deletes a folder with everything below it (read-only files too).
inline void RemoveTree(const std::string& dir)
{
    ForEachEntry(dir, [](const std::string&, const std::string& path, bool isFolder) {
        if (isFolder) {
            RemoveTree(path);
        } else {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    });
    SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(dir.c_str());
}

// A folder of its own under the temporary folder, removed with its contents.
class TempDir {
public:
    explicit TempDir(const char* prefix = "qmtest")
    {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        for (int i = 0;; ++i) {
            std::string name = std::string(base) + UniqueName(prefix) + "_" + std::to_string(i);
            if (CreateDirectoryA(name.c_str(), NULL)) {
                m_path = name;
                break;
            }
        }
    }
    ~TempDir() { RemoveTree(m_path); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string Path(const char* name) const { return m_path + "\\" + name; }
    const std::string& Root() const { return m_path; }

private:
    std::string m_path;
};

inline void WriteFileBytes(const std::string& path, const void* p, size_t n)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (f) {
        if (n)
            fwrite(p, 1, n, f);
        fclose(f);
    }
}

inline void WriteFileBytes(const std::string& path, const std::string& data)
{
    WriteFileBytes(path, data.data(), data.size());
}

// The whole file as bytes; empty when it cannot be read.
inline std::string ReadFileBytes(const std::string& path)
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

} // namespace qmtest
