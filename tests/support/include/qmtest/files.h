// Temporary folders and raw file access for tests. Tests run in parallel, so
// every name is unique to the process and the moment.
#pragma once

#include <windows.h>

#include "filenames.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

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

// Deletes a folder with everything below it (read-only and hidden files too,
// paths past MAX_PATH too). A link to a folder (a junction or a symbolic link)
// is removed as a link: what it points to is never touched.
inline void RemoveTree(const std::wstring& dir)
{
    std::wstring base = dir;
    for (wchar_t& c : base)
        if (c == L'/')
            c = L'\\';
    while (base.size() > 3 && base.back() == L'\\')
        base.pop_back();
    if (base.size() < 4)
        return; // never a drive's root
    if (base[1] == L':')
        base = L"\\\\?\\" + base; // the long form: paths past MAX_PATH too
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((base + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring n = fd.cFileName;
            if (n == L"." || n == L"..")
                continue;
            std::wstring p = base + L"\\" + n;
            if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                RemoveTree(p);
            } else {
                SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveDirectoryW(p.c_str());
                else
                    DeleteFileW(p.c_str());
            }
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    SetFileAttributesW(base.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(base.c_str());
}

// The same for a path in the process's ANSI code page.
inline void RemoveTree(const std::string& dir)
{
    int n = MultiByteToWideChar(CP_ACP, 0, dir.c_str(), -1, NULL, 0);
    if (n <= 1)
        return;
    std::wstring w(n - 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, dir.c_str(), -1, &w[0], n);
    RemoveTree(w);
}

// The one temporary folder of the tests: a folder of its own under the
// temporary folder, removed with everything below it when the object goes.
// Path() is the folder, Path(name) a path inside it (name may hold
// subfolders); WidePath() the same for the wide functions.
class TempDir {
public:
    explicit TempDir(const char* prefix = "qmtest")
    {
        wchar_t base[MAX_PATH + 1] = L"";
        GetTempPathW(MAX_PATH + 1, base);
        std::wstring wbase(base);
        std::wstring wprefix = Widen(prefix);
        for (int i = 0;; ++i) {
            std::wstring name = wbase + wprefix + Widen(UniqueName("").c_str()) + L"_" + std::to_wstring(i);
            if (CreateDirectoryW(name.c_str(), NULL)) {
                m_wide = name;
                break;
            }
            if (GetLastError() != ERROR_ALREADY_EXISTS || i > 1000)
                throw std::runtime_error("cannot make a folder under the temporary folder " + Narrow(wbase));
        }
        m_path = Narrow(m_wide);
    }
    explicit TempDir(const std::string& prefix) : TempDir(prefix.c_str()) {}
    ~TempDir()
    {
        if (!m_path.empty())
            RemoveTree(m_path);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string Path(const std::string& name) const { return m_path + "\\" + name; }
    const std::wstring& WidePath() const { return m_wide; }
    std::wstring WidePath(const std::wstring& name) const { return m_wide + L"\\" + name; }
    // Writes a file inside the folder and returns its path.
    std::string WriteFile(const std::string& name, const std::string& bytes) const;
    // Names of the files (not folders) directly inside the folder, sorted.
    std::vector<std::string> Files() const { return FileNamesIn(m_path); }

private:
    // The process's ANSI code page (UTF-8 in the programs that declare it).
    static std::wstring Widen(const char* s)
    {
        int n = MultiByteToWideChar(CP_ACP, 0, s, -1, NULL, 0);
        std::wstring w(n > 0 ? n - 1 : 0, L'\0');
        if (n > 1)
            MultiByteToWideChar(CP_ACP, 0, s, -1, &w[0], n);
        return w;
    }
    static std::string Narrow(const std::wstring& w)
    {
        int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, NULL, 0, NULL, NULL);
        std::string s(n > 0 ? n - 1 : 0, '\0');
        if (n > 1)
            WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, &s[0], n, NULL, NULL);
        return s;
    }

    std::wstring m_wide;
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

inline std::string TempDir::WriteFile(const std::string& name, const std::string& bytes) const
{
    std::string path = Path(name);
    WriteFileBytes(path, bytes);
    return path;
}

} // namespace qmtest
