// Helpers shared by the foundation tests: a private registry profile, a
// private temporary folder, raw registry access and small pixel helpers.
#pragma once

#include <fx/fx.h>
#include <qmtest/archivebytes.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace qxtest {

using qmtest::Bytes;

inline std::string UniqueName(const char* prefix)
{
    static LONG s_counter = 0;
    char name[96];
    snprintf(name, sizeof(name), "%s_%lu_%lu_%ld", prefix, GetCurrentProcessId(), GetTickCount(),
             InterlockedIncrement(&s_counter));
    return name;
}

// An application object with a registry key of its own under
// HKCU\Software, removed with everything below it afterwards.
class RegistryApp {
public:
    RegistryApp()
    {
        m_key = UniqueName("QxTest");
        m_app.reset(new CWinApp("QxApp"));
        m_app->SetRegistryKey(m_key.c_str());
    }
    ~RegistryApp()
    {
        m_app.reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_key).c_str());
    }
    CWinApp* App() const { return m_app.get(); }
    // "Software\<key>\QxApp[\section]"
    std::string Path(const char* section = NULL) const
    {
        std::string p = "Software\\" + m_key + "\\QxApp";
        if (section && *section)
            p += std::string("\\") + section;
        return p;
    }
    bool Query(const char* section, const char* entry, DWORD& type, Bytes& data) const
    {
        HKEY h;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, Path(section).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
            return false;
        DWORD cb = 0;
        LONG r = RegQueryValueExA(h, entry, NULL, &type, NULL, &cb);
        if (r == ERROR_SUCCESS) {
            data.resize(cb);
            r = RegQueryValueExA(h, entry, NULL, &type, cb ? data.data() : NULL, &cb);
        }
        RegCloseKey(h);
        return r == ERROR_SUCCESS;
    }
    bool KeyExists(const char* section) const
    {
        HKEY h;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, Path(section).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
            return false;
        RegCloseKey(h);
        return true;
    }
    void SetRaw(const char* section, const char* entry, DWORD type, const void* p, DWORD cb) const
    {
        HKEY h;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, Path(section).c_str(), 0, NULL, 0, KEY_WRITE,
                                                 NULL, &h, NULL));
        RegSetValueExA(h, entry, 0, type, static_cast<const BYTE*>(p), cb);
        RegCloseKey(h);
    }
    std::string m_key;

private:
    std::unique_ptr<CWinApp> m_app;
};

// A folder of its own under the temporary folder, removed afterwards.
class TempDir {
public:
    TempDir()
    {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        for (int i = 0;; ++i) {
            std::string name = std::string(base) + UniqueName("qxtest") + "_" + std::to_string(i);
            if (CreateDirectoryA(name.c_str(), NULL)) {
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
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(p);
                else
                    DeleteFileA(p.c_str());
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(dir.c_str());
    }

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

inline std::string ReadFileText(const std::string& path)
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

using qmtest::StoreBytes;
using qmtest::LoadBytes;
using qmtest::Hex;

// --- 32-bit pixels ------------------------------------------------------------

// A top-down 32-bit DIB section with its bits.
inline HBITMAP MakeDib32(int cx, int cy, DWORD** ppBits, bool bTopDown = true)
{
    BITMAPINFO bmi;
    ZeroMemory(&bmi, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = bTopDown ? -cy : cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pv = NULL;
    HBITMAP h = CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &pv, NULL, 0);
    if (ppBits)
        *ppBits = static_cast<DWORD*>(pv);
    return h;
}

// The pixels of any bitmap as top-down 0xAARRGGBB words.
inline std::vector<DWORD> Pixels(HBITMAP hbm, int* pcx = NULL, int* pcy = NULL)
{
    std::vector<DWORD> out;
    BITMAP bm;
    if (!GetObjectA(hbm, sizeof(bm), &bm))
        return out;
    BITMAPINFO bmi;
    ZeroMemory(&bmi, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = bm.bmWidth;
    bmi.bmiHeader.biHeight = -bm.bmHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    out.resize((size_t)bm.bmWidth * bm.bmHeight);
    HDC hdc = GetDC(NULL);
    GetDIBits(hdc, hbm, 0, bm.bmHeight, out.data(), &bmi, DIB_RGB_COLORS);
    ReleaseDC(NULL, hdc);
    if (pcx)
        *pcx = bm.bmWidth;
    if (pcy)
        *pcy = bm.bmHeight;
    return out;
}

} // namespace qxtest

namespace qxtest {

// The stand-in visual-styles library (qxfakeux.dll, built with the tests).
class FakeUx {
public:
    FakeUx()
    {
        m_h = LoadLibraryA("qxfakeux.dll");
        if (m_h) {
            m_configure = (Configure)(void*)GetProcAddress(m_h, "FakeUxConfigure");
            m_counters = (Counters)(void*)GetProcAddress(m_h, "FakeUxCounters");
        }
    }
    ~FakeUx()
    {
        if (m_h)
            FreeLibrary(m_h);
    }
    bool Loaded() const { return m_h && m_configure && m_counters; }
    void Set(const wchar_t* file, const wchar_t* scheme, bool active = true, bool nameFails = false,
             COLORREF border = 0x00112233)
    {
        m_configure(file, scheme, active, nameFails, border);
    }
    LONG Opens() const
    {
        LONG o = 0;
        m_counters(&o, NULL, NULL, 0);
        return o;
    }
    LONG Closes() const
    {
        LONG c = 0;
        m_counters(NULL, &c, NULL, 0);
        return c;
    }
    std::wstring LastClass() const
    {
        wchar_t buf[64] = L"";
        m_counters(NULL, NULL, buf, 64);
        return buf;
    }
    HMODULE Handle() const { return m_h; }

private:
    typedef void(WINAPI* Configure)(const wchar_t*, const wchar_t*, BOOL, BOOL, COLORREF);
    typedef void(WINAPI* Counters)(LONG*, LONG*, wchar_t*, int);
    HMODULE m_h = NULL;
    Configure m_configure = NULL;
    Counters m_counters = NULL;
};

} // namespace qxtest
